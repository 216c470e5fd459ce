// Plexaro: the window, or with --script FILE a scripted session without a display.
#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>

#include "plexaro/platform/qt/qt_main_window.h"
#include "plexaro/platform/script/script_runner.h"

namespace {

int runScriptFile(const char* file, int argc, char** argv) {
  // Scripted sessions never need a display.
  if (std::getenv("QT_QPA_PLATFORM") == nullptr) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QGuiApplication app{argc, argv};
  if (std::strcmp(file, "-") == 0) return plexaro::runScript(std::cin, std::cout, std::cerr);
  std::ifstream script{file};
  if (!script) {
    std::cerr << "plexaro: cannot read " << file << '\n';
    return 2;
  }
  return plexaro::runScript(script, std::cout, std::cerr);
}

// The main window; a board named on the command line is opened as if chosen in Open.
int runWindow(int argc, char** argv) {
  QApplication app{argc, argv};  // takes Qt's own options out of argv
  if (argc > 2) {
    std::cerr << "usage: plexaro [BOARD.brd] | plexaro --script FILE\n";
    return 2;
  }
  plexaro::QtMainWindow window;
  window.start(argc == 2 ? std::optional<std::string>{argv[1]} : std::nullopt);
  return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 2 && std::strcmp(argv[1], "--script") == 0) {
    if (argc != 3) {
      std::cerr << "usage: plexaro --script FILE\n";
      return 2;
    }
    return runScriptFile(argv[2], argc, argv);
  }
  return runWindow(argc, argv);
}
