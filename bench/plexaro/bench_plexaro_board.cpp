// Loading a board at full capacity, and marking a net that holds every pin.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "plexaro/board/board_file.h"
#include "plexaro/platform/message_area.h"
#include "tools/plexaro/board_generator.h"

namespace plexaro {
namespace {

class QuietHost final : public BoardOpenHost, public MessageArea {
 public:
  void addMessageLine(std::string_view) override {}
  void clearMessages() override {}
  void setCaption(std::string_view) override {}
  void enableBoardCommands() override {}
  void setDefaultSizeText(std::string_view) override {}
  void showLoadedBoard() override {}
};

std::string fullBoardPath() {
  static const std::string path = [] {
    const auto p = std::filesystem::temp_directory_path() / "plexaro-bench-full.brd";
    std::ofstream{p, std::ios::binary} << generateBoard(BoardShape::fullCapacity());
    return p.string();
  }();
  return path;
}

struct Model {
  std::unique_ptr<BoardTables> tables = std::make_unique<BoardTables>();
  ViewTransform view{};
  ViewerState state{};
  BoardFileLoader loader;
  QuietHost host;
};

void BM_LoadFullCapacityBoard(benchmark::State& s) {
  const std::string path = fullBoardPath();
  Model m;
  for (auto _ : s) {
    resetForOpen(*m.tables, m.view, m.state);
    if (!m.loader.open(path, *m.tables, m.view, m.host)) s.SkipWithError("board did not load");
  }
  s.counters["pins"] = m.tables->pinCount;
  s.counters["parts"] = m.tables->partCount;
}
BENCHMARK(BM_LoadFullCapacityBoard)->Unit(benchmark::kMillisecond);

void BM_MarkNetHoldingEveryPin(benchmark::State& s) {
  Model m;
  resetForOpen(*m.tables, m.view, m.state);
  if (!m.loader.open(fullBoardPath(), *m.tables, m.view, m.host)) s.SkipWithError("no board");
  for (int32_t p = 0; p < m.tables->pinCount; ++p) m.tables->pins[p].net = 1;
  m.state.listNet = 1;
  m.state.currentMarkSlot = 1;
  for (auto _ : s) {
    m.state.messageLine.assign("$1 ,Net #1 GND ");
    markNet(*m.tables, m.state, m.host);
    benchmark::DoNotOptimize(m.tables->parts[0].marked);
  }
}
BENCHMARK(BM_MarkNetHoldingEveryPin)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace plexaro
