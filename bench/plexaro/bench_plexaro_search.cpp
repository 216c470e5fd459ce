// Each search on a full-capacity board whose searched net holds every pin (the pins x parts
// marking), through the main form as a user runs it: with a canvas that draws nothing (the
// search's own work and the renderer's walk) and with the 1920 x 1080 Qt canvas (the closing
// redraw's pixels included).
#include <benchmark/benchmark.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>

#include "bench/plexaro/bench_support.h"
#include "plexaro/platform/message_area.h"
#include "plexaro/platform/qt/qt_canvas.h"
#include "plexaro/platform/status_bar.h"
#include "plexaro/ui/main_form.h"
#include "tools/plexaro/board_generator.h"

namespace plexaro {
namespace {

using bench::ensureApplication;
using bench::NullCanvas;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

// A window that answers every dialog at once: the file dialog with the board, the search
// dialogs with the inputs set for the run.
class BenchHost final : public MainWindow,
                        public MessageArea,
                        public StatusBar,
                        public BoardSurface,
                        public Dialogs {
 public:
  BenchHost(Canvas& canvas, std::string board) : canvas_(canvas), board_(std::move(board)) {}
  void setCaption(std::string_view) override {}
  void setMenuEnabled(MenuItem, bool) override {}
  void setMenuChecked(MenuItem, bool) override {}
  void setCursor(CursorShape) override {}
  void setBoardDragMode(bool) override {}
  void close() override {}
  void addMessageLine(std::string_view) override { ++lines; }
  void clearMessages() override {}
  void setPanelText(int, std::string_view) override {}
  int width() const override { return kWidth; }
  int height() const override { return kHeight; }
  Canvas& canvas() override { return canvas_; }
  void movePointer(int, int) override {}
  std::optional<std::string> chooseBoardFile(std::string_view) override { return board_; }
  void editDefaultSize(std::string&) override {}
  void showHelp() override {}
  void showAbout() override {}
  void showMessageBox(std::string_view) override {}
  void showSearchDialog(SearchDialog& dialog) override {
    dialog.FormShow();
    dialog.inputs = inputs;
    dialog.Button1Click();
  }
  std::array<std::string, 3> inputs;
  long lines = 0;

 private:
  Canvas& canvas_;
  std::string board_;
};

const std::string& boardPath() {
  static const std::string path = [] {
    BoardShape shape = BoardShape::fullCapacity();
    shape.allPinsOnOneNet = true;
    const auto p = std::filesystem::temp_directory_path() / "plexaro-bench-one-net.brd";
    std::ofstream{p, std::ios::binary} << generateBoard(shape);
    return p.string();
  }();
  return path;
}

enum class Search { Open, ComponentPin, Net, Device };

void runSearch(benchmark::State& s, Canvas& canvas, Search search) {
  BenchHost host{canvas, boardPath()};
  TForm1 form{{host, host, host, host, host}};
  form.FormCreate();
  form.Open1Click();
  if (!form.tables().loaded) s.SkipWithError("board did not load");
  // Nail 1 and pin U1.1 lie on net 1, which holds every pin.
  switch (search) {
    case Search::Open:
      host.inputs = {"1", "", ""};
      break;
    case Search::ComponentPin:
      host.inputs = {"U1.1", "", ""};
      break;
    case Search::Net:
      host.inputs = {"GND", "", ""};
      break;
    case Search::Device:
      host.inputs = {"U1", "R1", "C1"};
      break;
  }
  for (auto _ : s) {
    switch (search) {
      case Search::Open:
        form.Open2Click();
        break;
      case Search::ComponentPin:
        form.Comp1Click();
        break;
      case Search::Net:
        form.Net1Click();
        break;
      case Search::Device:
        form.Part1Click();
        break;
    }
  }
  s.counters["lines"] =
      benchmark::Counter(static_cast<double>(host.lines), benchmark::Counter::kAvgIterations);
}

void BM_SearchWithoutPixels(benchmark::State& s) {
  NullCanvas canvas;
  runSearch(s, canvas, static_cast<Search>(s.range(0)));
}
void BM_SearchWithRedraw(benchmark::State& s) {
  ensureApplication();
  QtCanvas canvas{kWidth, kHeight};
  runSearch(s, canvas, static_cast<Search>(s.range(0)));
}
BENCHMARK(BM_SearchWithoutPixels)
    ->ArgName("search")
    ->DenseRange(0, 3)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SearchWithRedraw)->ArgName("search")->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plexaro
