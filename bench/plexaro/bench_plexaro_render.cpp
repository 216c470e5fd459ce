// Full redraws of a board at full capacity into a 1920 x 1080 Qt canvas: at the default size,
// where everything is on screen, and zoomed in until most items are culled.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "bench/plexaro/bench_support.h"
#include "plexaro/board/board_file.h"
#include "plexaro/display/board_renderer.h"
#include "plexaro/display/view_transform.h"
#include "plexaro/platform/board_area.h"
#include "plexaro/platform/qt/qt_canvas.h"
#include "plexaro/platform/status_bar.h"
#include "tools/plexaro/board_generator.h"

namespace plexaro {
namespace {

using bench::ensureApplication;
using bench::NullCanvas;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;

class QuietHost final : public BoardOpenHost, public BoardArea, public StatusBar {
 public:
  void addMessageLine(std::string_view) override {}
  void setCaption(std::string_view) override {}
  void enableBoardCommands() override {}
  void setDefaultSizeText(std::string_view) override {}
  void showLoadedBoard() override {}
  int width() const override { return kWidth; }
  int height() const override { return kHeight; }
  void movePointer(int, int) override {}
  void redraw() override {}
  void setPanelText(int, std::string_view) override {}
};

struct Board {
  std::unique_ptr<BoardTables> tables = std::make_unique<BoardTables>();
  ViewTransform view{};
  ViewerState state{};
  QuietHost host;
};

// The full-capacity board as Open leaves it: loaded, at its default size, viewed all.
std::unique_ptr<Board> loadFullBoard() {
  static const std::string path = [] {
    const auto p = std::filesystem::temp_directory_path() / "plexaro-bench-render-full.brd";
    std::ofstream{p, std::ios::binary} << generateBoard(BoardShape::fullCapacity());
    return p.string();
  }();
  auto board = std::make_unique<Board>();
  BoardFileLoader loader;
  resetForOpen(*board->tables, board->view, board->state);
  if (!loader.open(path, *board->tables, board->view, board->host)) return nullptr;
  viewAll(board->view, board->host);
  return board;
}

void zoomInFully(Board& board) {
  board.state.mouseX = kWidth / 2;
  board.state.mouseY = kHeight / 2;
  while (zoomStep(board.view, board.state, ZoomDirection::In, board.host)) {
  }
}

template <typename CanvasType>
void drawRepeatedly(benchmark::State& s, Board& board, CanvasType& canvas) {
  canvas.setFontSize(labelFontSize(board.view.scale));
  BoardRenderer renderer(canvas, board.host, board.host);
  for (auto _ : s) renderer.drawBoard(*board.tables, board.view, board.state);
  s.counters["scale"] = board.view.scale;
}

void BM_DrawFullBoard_DefaultSize(benchmark::State& s) {
  ensureApplication();
  auto board = loadFullBoard();
  if (!board) return s.SkipWithError("board did not load");
  QtCanvas canvas(kWidth, kHeight);
  drawRepeatedly(s, *board, canvas);
}
BENCHMARK(BM_DrawFullBoard_DefaultSize)->Unit(benchmark::kMillisecond);

void BM_DrawFullBoard_ZoomedIn(benchmark::State& s) {
  ensureApplication();
  auto board = loadFullBoard();
  if (!board) return s.SkipWithError("board did not load");
  zoomInFully(*board);
  QtCanvas canvas(kWidth, kHeight);
  drawRepeatedly(s, *board, canvas);
}
BENCHMARK(BM_DrawFullBoard_ZoomedIn)->Unit(benchmark::kMillisecond);

// Every part name and nail number shown, every item marked: the most text a redraw draws.
void BM_DrawFullBoard_AllLabels(benchmark::State& s) {
  ensureApplication();
  auto board = loadFullBoard();
  if (!board) return s.SkipWithError("board did not load");
  board->state.showAllPartNames = board->state.showAllNailNumbers = true;
  for (int32_t p = 0; p < board->tables->pinCount; p += 2) board->tables->pins[p].marked = true;
  QtCanvas canvas(kWidth, kHeight);
  drawRepeatedly(s, *board, canvas);
}
BENCHMARK(BM_DrawFullBoard_AllLabels)->Unit(benchmark::kMillisecond);

void BM_DrawFullBoard_RendererOnly(benchmark::State& s) {
  auto board = loadFullBoard();
  if (!board) return s.SkipWithError("board did not load");
  NullCanvas canvas;
  drawRepeatedly(s, *board, canvas);
  s.counters["calls"] =
      benchmark::Counter(static_cast<double>(canvas.calls) / static_cast<double>(s.iterations()));
}
BENCHMARK(BM_DrawFullBoard_RendererOnly)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace plexaro
