#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "dravon/card/cad_export_reader.h"
#include "dravon/card/card_doc.h"
#include "dravon/card/card_host.h"
#include "dravon/platform/message_box.h"
#include "dravon/platform/status_bar.h"

namespace dravon::testing {

// Keeps what the document showed: every status text and every message box.
struct RecordingFrame : StatusBar, MessageBoxes, CardHost {
  std::vector<std::string> statusTexts;
  std::vector<std::string> messages;
  std::vector<std::string> componentLines;
  int opened = 0;

  void setPaneText(int pane, std::string_view text) override {
    if (pane == kStatusPane) statusTexts.emplace_back(text);
  }
  void showMessage(std::string_view text, MessageIcon) override { messages.emplace_back(text); }
  void refillComponentList(const std::vector<std::string>& lines) override {
    componentLines = lines;
  }
  void cardOpened(CDravonDoc&) override { ++opened; }

  void attach(CDravonDoc& doc) {
    doc.statusBar = this;
    doc.messageBoxes = this;
  }
};

// A folder of its own under the system's temporary folder, removed afterwards.
class TempFolder {
 public:
  TempFolder() {
    std::random_device seed;
    path_ = std::filesystem::temp_directory_path() /
            ("dravon_test_" + std::to_string(seed()) + std::to_string(seed()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code error;
    std::filesystem::remove_all(path_, error);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path with a final "/".
  [[nodiscard]] std::string folder() const { return path_.string() + "/"; }
  [[nodiscard]] std::string file(const std::string& name) const { return folder() + name; }
  std::string write(const std::string& name, const std::string& bytes) const {
    std::string path = file(name);
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << bytes;
    return path;
  }

 private:
  std::filesystem::path path_;
};

// A CAD export assembled from the record lines of its six sections.
struct CadFixture {
  std::vector<std::string> testPoints{"TP1,GND,100,200,1,3,0,0,0,0;"};
  std::vector<std::string> pads{"U1,S,GND,0,1,110,210,0,0,1,0,0;",
                                "U1,S,VCC,0,2,130,210,0,0,1,0,0;",
                                "R1,S,GND,0,1,300,400,0,0,1,0,0;"};
  std::vector<std::string> devices{"U1,120,210,1,0,0,0,10,0,0;", "R1,300,400,2,0,0,0,10,0,0;"};
  std::vector<std::string> vias{"VCC,0,12,<(0,150,250,1,2,4)>;"};
  std::vector<std::string> lines{
      "OUTLINE,1,10,3,1,<(50,60,1000,60)>;", "OUTLINE,1,10,3,1,<(1000,60,1000,800)>;",
      "OUTLINE,1,10,3,1,<(1000,800,50,800)>;", "GND,1,8,0,0,<(110,210,300,400)>;"};
  std::vector<std::string> shapes{"1,P,A,1,0,<(30,20)>;", "4,V,A,2,0,<(24,24)>;",
                                  "10,B,A,-4,0,<(30,20),(-30,-20)>;"};

  [[nodiscard]] std::string text() const {
    std::string out = "$H EXPORT\r\n";
    const auto section = [&out](const char* head, std::string_view fields,
                                const std::vector<std::string>& records) {
      out += std::string(head) + "\r\n" + std::string(fields) + "\r\n";
      for (const std::string& r : records) out += r + "\r\n";
    };
    section("$D PCTESTPT", kTestPointFields, testPoints);
    section("$D PCPAD", kPadFields, pads);
    section("$D PCDEVICE", kDeviceFields, devices);
    section("$D PCVIA", kViaFields, vias);
    section("$D PCLINE", kLineFields, lines);
    section("$D PCAPERT", kShapeFields, shapes);
    return out;
  }
};

// A part line in the parts list's columns: flag, reference, part number, description, then
// filler up to `length` characters; `pNumber` goes to columns 145 and 146 when they exist.
inline std::string partLine(char flag, const std::string& ref, const std::string& partNumber,
                            const std::string& description, std::size_t length = 124,
                            const std::string& pNumber = "") {
  const auto fit = [](std::string s, std::size_t w) {
    s.resize(w, ' ');
    return s;
  };
  std::string line =
      std::string(1, flag) + fit(ref, 5) + " " + fit(partNumber, 7) + " " + fit(description, 25);
  line.resize(std::min<std::size_t>(length, 144), '.');
  if (length > 144) line += fit(pNumber, 2);
  line.resize(length, '.');
  return line;
}

// A parts list of eight header lines and the given part lines.
inline std::string partsList(const std::vector<std::string>& parts,
                             const std::string& name = "TEST CARD",
                             const std::string& pn = "PN-0001", const std::string& ec = "EC7") {
  std::string out = "HEADER\r\n";
  out += "P/N:   " + pn + "\r\n";
  out += "EC:    " + ec + "\r\n";
  out += "\r\n";
  out += "CARD NAME:     " + name + "\r\n";
  out += "\r\n\r\n\r\n";
  for (const std::string& p : parts) out += p + "\r\n";
  return out;
}

}  // namespace dravon::testing
