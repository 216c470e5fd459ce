#pragma once

// Small helpers shared by the board tests: a folder of temporary files and a host that
// records what the loader reports.

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "plexaro/board/board_file.h"
#include "plexaro/platform/message_area.h"

namespace plexaro::testing {

class TempFolder {
 public:
  TempFolder() {
    path_ = std::filesystem::temp_directory_path() /
            ("plexaro-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter_++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() { std::filesystem::remove_all(path_); }

  std::string file(std::string_view name) const { return (path_ / name).string(); }
  std::string write(std::string_view name, std::string_view content) const {
    const std::string p = file(name);
    std::ofstream{p, std::ios::binary} << content;
    return p;
  }
  static std::string read(const std::string& p) {
    std::ifstream in{p, std::ios::binary};
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  static inline int counter_ = 0;
  std::filesystem::path path_;
};

class RecordingMessages : public MessageArea {
 public:
  void addMessageLine(std::string_view line) override { lines.emplace_back(line); }
  void clearMessages() override { lines.clear(); }
  std::vector<std::string> lines;
};

class RecordingOpenHost : public BoardOpenHost {
 public:
  void addMessageLine(std::string_view line) override { lines.emplace_back(line); }
  void setCaption(std::string_view text) override { caption = text; }
  void enableBoardCommands() override { commandsEnabled = true; }
  void setDefaultSizeText(std::string_view text) override { defaultSizeText = text; }
  void showLoadedBoard() override { shown = true; }

  std::vector<std::string> lines;
  std::string caption;
  std::string defaultSizeText;
  bool commandsEnabled = false;
  bool shown = false;
};

// The board model as the program holds it, zero at start.
struct Board {
  std::unique_ptr<BoardTables> tables = std::make_unique<BoardTables>();
  ViewTransform view{};
  ViewerState state{};
  BoardFileLoader loader;

  bool open(const std::string& path, RecordingOpenHost& host) {
    resetForOpen(*tables, view, state);
    return loader.open(path, *tables, view, host);
  }
};

}  // namespace plexaro::testing
