#include "plexaro/board/default_size_file.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>

#include "plexaro/board/scan_stream.h"

namespace plexaro {

std::string defaultSizePath(std::string_view boardPath) {
  const std::size_t keep = boardPath.size() >= 3 ? boardPath.size() - 3 : 0;
  return std::string{boardPath.substr(0, keep)}.append("con");
}

namespace {

bool writeWhole(const std::string& path, int value) {
  // Written beside the target and renamed over it, so a failed write never leaves half a file.
  const std::string temporary = path + ".tmp" + std::to_string(::getpid());
  std::FILE* out = std::fopen(temporary.c_str(), "w");
  if (out == nullptr) return false;
  const bool written = std::fprintf(out, "%d", value) > 0;
  const bool closed = std::fclose(out) == 0;
  if (!written || !closed || std::rename(temporary.c_str(), path.c_str()) != 0) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace

void readDefaultSize(std::string_view boardPath, ViewTransform& view) {
  const std::string path = defaultSizePath(boardPath);
  std::ifstream in{path, std::ios::binary};
  if (!in) {
    view.defaultSize = kNewBoardDefaultSize;
    // A board in a folder we cannot write to still opens at the new-board size.
    (void)writeWhole(path, kNewBoardDefaultSize);
    return;
  }
  ScanStream scan{
      std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()}};
  int32_t size = 0;
  // A file without a number, or with a size the view cannot use, counts as a new board's.
  if (!scan.readInt(size) || size < kNewBoardDefaultSize) size = kNewBoardDefaultSize;
  view.defaultSize = std::min(size, kMaxReadDefaultSize);
}

bool writeDefaultSize(std::string_view boardPath, int value) {
  return writeWhole(defaultSizePath(boardPath), value);
}

}  // namespace plexaro
