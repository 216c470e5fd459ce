#include "plexaro/board/board_file.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>

#include "plexaro/board/default_size_file.h"
#include "plexaro/board/scan_stream.h"

namespace plexaro {

int32_t boardChecksum(int32_t extentX, int32_t extentY, int32_t pointCount, OutlinePoint first) {
  const auto u = [](int32_t v) { return static_cast<uint32_t>(v); };
  const uint32_t sum = u(extentX) * 86u + u(extentY) * 85u + u(pointCount) * 75u +
                       (u(first.x) + u(first.y)) * (69u + 65u);
  return static_cast<int32_t>(sum);
}

void resetForOpen(BoardTables& tables, ViewTransform& view, ViewerState& state) {
  state.showAllPartNames = false;
  state.showAllNailNumbers = false;
  tables.loaded = false;
  state.searchMode = 1;
  tables.checksum = 0;
  view.rotationStep = 0;
  view.rotationAngle = 0.0f;
  view.currentSide = 1;
}

namespace {

std::optional<std::string> readWholeFile(std::string_view path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return std::nullopt;
  std::ifstream in{std::string(path), std::ios::binary};
  if (!in) return std::nullopt;
  std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  if (in.bad()) return std::nullopt;
  return bytes;
}

// Counts from the file are cut to what the table holds; zero or below reads nothing.
int32_t capCount(int32_t count, int32_t capacity) {
  return std::clamp(count, 0, capacity);
}

// Reads the ints of one record in order; a failed conversion leaves it and every later field
// unchanged, as formatted input does.
template <typename... Fields>
void readInts(ScanStream& in, Fields&... fields) {
  (void)(in.readInt(fields) && ...);
}

}  // namespace

bool BoardFileLoader::open(std::string_view path, BoardTables& tables, ViewTransform& view,
                           BoardOpenHost& host) {
  std::optional<std::string> bytes = readWholeFile(path);
  if (!bytes) {
    host.addMessageLine(kCannotOpenBoard);
    return false;
  }
  ScanStream in{std::move(*bytes)};

  std::string line{kLoadFilePrefix};
  line.append(path).append(kLoadFileSuffix);
  host.addMessageLine(line);
  host.setCaption(std::string{kCaptionPrefix}.append(path));

  in.readInt(tables.checksum);

  // Reads words until `keyword` or the end. A word read that fails at the end leaves the buffer
  // as it was, and that stale word is compared once more.
  const auto search = [&](std::string_view keyword) {
    while (!in.eof()) {
      in.readWord(word_.text, kWordCapacity);
      if (word_ == keyword) return true;
    }
    return false;
  };

  // The checksum is computed from the header as read, before its count is cut to capacity.
  int32_t pointCount = tables.outlineCount;
  if (search(kOutlineKeyword)) {
    readInts(in, pointCount, tables.fileExtentX, tables.fileExtentY);
    tables.outlineCount = capCount(pointCount, kOutlineCapacity);
    view.extentX = tables.fileExtentX;
    view.extentY = tables.fileExtentY;
    for (int32_t i = 0; i < tables.outlineCount; ++i) {
      OutlinePoint& p = tables.outline[i];
      readInts(in, p.x, p.y);
    }
  }
  if (boardChecksum(view.extentX, view.extentY, pointCount, tables.outline[0]) != tables.checksum) {
    line.assign(kNotBoardFilePrefix).append(path).append(kNotBoardFileSuffix);
    host.addMessageLine(line);
    return false;
  }

  in.rewind();
  if (search(kNetsKeyword)) {
    int32_t count = tables.netCount;
    in.readInt(count);
    tables.netCount = capCount(count, kNetCapacity - 1);
    for (int32_t i = 1; i <= tables.netCount; ++i) {
      int32_t ignored = 0;
      if (!in.readInt(ignored)) continue;
      in.readWord(tables.nets[i].name.text, Name::kMaxLength);
    }
  }

  in.rewind();
  if (search(kPinsKeyword)) {
    in.readInt(tables.pinCount);
    tables.pinCount = capCount(tables.pinCount, kPinCapacity);
    for (int32_t i = 0; i < tables.pinCount; ++i) {
      PinEntry& pin = tables.pins[i];
      readInts(in, pin.x, pin.y, pin.net, pin.side);
      pin.marked = false;
    }
  }

  in.rewind();
  if (search(kPartsKeyword)) {
    in.readInt(tables.partCount);
    tables.partCount = capCount(tables.partCount, kPartCapacity);
    for (int32_t i = 0; i < tables.partCount; ++i) {
      PartEntry& part = tables.parts[i];
      if (in.readWord(part.name.text, Name::kMaxLength)) {
        readInts(in, part.x1, part.y1, part.x2, part.y2, part.firstPin, part.side);
      }
      part.marked = false;
    }
  }

  // The nails follow the parts: this search goes on from where the part search stopped.
  if (search(kNailsKeyword)) {
    in.readInt(tables.nailCount);
    tables.nailCount = capCount(tables.nailCount, kNailCapacity);
    for (int32_t i = 0; i < tables.nailCount; ++i) {
      NailEntry& nail = tables.nails[i];
      readInts(in, nail.number, nail.x, nail.y, nail.net, nail.side);
      nail.marked = false;
    }
  }

  indexPinOwners(tables);
  tables.loaded = true;
  host.enableBoardCommands();

  readDefaultSize(path, view);
  host.setDefaultSizeText(std::to_string(view.defaultSize));
  host.showLoadedBoard();
  host.addMessageLine(kLoadOk);
  return true;
}

}  // namespace plexaro
