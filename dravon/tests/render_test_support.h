#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "dravon/card/card_document.h"
#include "dravon/render/side_images.h"
#include "dravon/tests/card_test_support.h"

namespace dravon::testing {

// A frame whose open sequence builds the side images, as the program's does.
struct ImageFrame : RecordingFrame {
  void buildSideImages(CDravonDoc& doc) override { dravon::buildSideImages(doc, true); }
};

// Counts the beeps and wait cursors of the refresh.
struct CountingFeedback : Feedback {
  int beeps = 0;
  int waits = 0;
  bool waiting = false;
  void setWaitCursor(bool wait) override {
    waits += wait ? 1 : 0;
    waiting = wait;
  }
  void beep() override { ++beeps; }
};

// The demo card of samples/, converted in a folder of its own and opened with its images.
inline void openSampleCard(CDravonDoc& doc, const TempFolder& folder, ImageFrame& frame) {
  for (const char* name : {"demo.lst", "demo.DCA"}) {
    std::filesystem::copy_file(std::string(DRAVON_SAMPLES_DIR) + "/" + name, folder.file(name));
  }
  frame.attach(doc);
  const std::vector<std::string> folders{folder.folder()};
  EXPECT_FALSE(openCard(doc, folder.file("demo.lst"), frame, folders)) << "the first converts";
  ASSERT_TRUE(openCard(doc, folder.file("demo.lst"), frame, folders));
}

inline Rgb at(const Surface& s, int x, int y) {
  return s.pixel(x, y).value_or(Rgb{1, 2, 3});
}

inline Rgb inverted(Rgb c) {
  return Rgb{static_cast<uint8_t>(255 - c.red), static_cast<uint8_t>(255 - c.green),
             static_cast<uint8_t>(255 - c.blue)};
}

}  // namespace dravon::testing
