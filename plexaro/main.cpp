// Until the main window exists, Plexaro loads the board named on the command line and prints
// the lines its message area would show.
#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "plexaro/board/board_file.h"

namespace {

class PrintingHost final : public plexaro::BoardOpenHost {
 public:
  void addMessageLine(std::string_view line) override {
    std::printf("%.*s\n", static_cast<int>(line.size()), line.data());
  }
  void setCaption(std::string_view) override {}
  void enableBoardCommands() override {}
  void setDefaultSizeText(std::string_view) override {}
  void showLoadedBoard() override {}
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: plexaro BOARD.brd\n");
    return 2;
  }
  auto tables = std::make_unique<plexaro::BoardTables>();
  plexaro::ViewTransform view{};
  plexaro::ViewerState state{};
  plexaro::BoardFileLoader loader;
  PrintingHost host;
  plexaro::resetForOpen(*tables, view, state);
  return loader.open(argv[1], *tables, view, host) ? 0 : 1;
}
