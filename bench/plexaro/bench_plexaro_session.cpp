// A scripted session on a full-capacity board as a whole process: start, open, 20 zoom, pan
// and turn keys, 50 ask points. The time per command is the time divided by the commands.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/plexaro/board_generator.h"

namespace plexaro {
namespace {

constexpr int kKeys = 20;
constexpr int kClicks = 50;

std::filesystem::path prepareSession() {
  const auto folder = std::filesystem::temp_directory_path() / "plexaro-bench-session";
  std::filesystem::create_directories(folder);
  std::ofstream{folder / "full.brd", std::ios::binary} << generateBoard(BoardShape::fullCapacity());
  std::ofstream{folder / "full.con", std::ios::binary} << "10";
  std::ofstream script{folder / "session.txt"};
  script << "size 1920 1080\nopen full.brd\n";
  const char* keys[] = {"Add",   "Left", "Up",    "R",        "Add",
                        "Right", "Down", "Space", "Subtract", "Home"};
  for (int i = 0; i < kKeys; ++i) script << "key " << keys[i % 10] << '\n';
  for (int i = 0; i < kClicks; ++i)
    script << "click " << 100 + 31 * i << ' ' << 100 + 17 * i << '\n';
  return folder;
}

void BM_ScriptedSessionProcess(benchmark::State& s) {
  const std::filesystem::path folder = prepareSession();
  const std::string command = "cd '" + folder.string() + "' && QT_QPA_PLATFORM=offscreen '" +
                              PLEXARO_PROGRAM + "' --script session.txt >/dev/null 2>&1";
  for (auto _ : s) {
    if (std::system(command.c_str()) != 0) s.SkipWithError("the session failed");
  }
  s.counters["commands"] = 2 + kKeys + kClicks;
}
BENCHMARK(BM_ScriptedSessionProcess)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
}  // namespace plexaro
