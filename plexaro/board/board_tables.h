#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "plexaro/board/fixed_text.h"

namespace plexaro {

class MessageArea;

inline constexpr int kOutlineCapacity = 1000;
inline constexpr int kNetCapacity = 10000;  // entry 0 is never used: at most 9999 nets
inline constexpr int kPinCapacity = 20000;
inline constexpr int kPartCapacity = 5000;
inline constexpr int kNailCapacity = 5000;

using Name = FixedText<20>;

struct OutlinePoint {
  int32_t x;
  int32_t y;
};

struct NetEntry {
  Name name;
};

struct PinEntry {
  int32_t x;
  int32_t y;
  int32_t net;
  int32_t side;  // 0 through-hole (both sides), 1 top, 2 bottom
  int32_t markSlot;
  bool marked;
};

struct PartEntry {
  Name name;
  int32_t x1, y1, x2, y2;  // opposite corners of the body, in any order
  int32_t firstPin;
  int32_t side;
  bool marked;
};

struct NailEntry {
  int32_t number;
  int32_t net;
  int32_t markSlot;
  int32_t x;
  int32_t y;
  int32_t side;
  bool marked;
};

// For each pin, the parts whose pin range holds it, in part order. The net marking asks this
// for every pin of a net; a plain scan would be pins x parts. Built whenever the tables are
// filled (see indexPinOwners); ranges that overlap more than the owner table holds fall back
// to the scan, which gives the same answers.
struct PinOwnerIndex {
  static constexpr int kOwnerCapacity = 2 * kPinCapacity;
  bool valid;
  std::array<int32_t, kPinCapacity + 1> start;  // owners of pin p: owners[start[p] .. start[p+1])
  std::array<int16_t, kOwnerCapacity> owners;
};

struct BoardTables {
  std::array<OutlinePoint, kOutlineCapacity> outline;
  std::array<NetEntry, kNetCapacity> nets;
  std::array<PinEntry, kPinCapacity> pins;
  std::array<PartEntry, kPartCapacity> parts;
  std::array<NailEntry, kNailCapacity> nails;
  int32_t outlineCount;
  int32_t netCount;
  int32_t pinCount;
  int32_t partCount;
  int32_t nailCount;
  bool loaded;
  int32_t checksum;
  int32_t fileExtentX;
  int32_t fileExtentY;
  PinOwnerIndex pinOwners;
};

struct ViewTransform {
  float scale;
  int32_t offsetX;
  int32_t offsetY;
  int8_t rotationStep;
  float rotationAngle;
  float cosA, sinA;
  float cosB, sinB;
  int32_t extentX;
  int32_t extentY;
  int32_t currentSide;  // 1 top; anything else is the bottom
  int32_t defaultSize;
  int32_t zoomLevel;
  int32_t viewCentreX;
  int32_t viewCentreY;
};

inline constexpr int kMessageLineCapacity = 400;

struct ViewerState {
  int8_t searchMode;  // search repeated by Enter: 1 Open, 2 Short, 3 pin, 4 net, 5 device
  int32_t currentMarkSlot;
  bool showAllPartNames;
  bool showAllNailNumbers;
  bool selectViewCenter;
  bool dragZoom;
  int32_t mouseX, mouseY;
  int32_t pressX, pressY;
  int32_t listNet;
  int32_t listCount;
  FixedText<kMessageLineCapacity> messageLine;
};

// The name of net `net`, or an empty text for a number outside the loaded nets. Net numbers
// come unchecked from the board file.
[[nodiscard]] std::string_view netName(const BoardTables& tables, int32_t net);

// Pin p of the tables, or nullptr for an index outside the loaded pins.
[[nodiscard]] const PinEntry* pinAt(const BoardTables& tables, int32_t p);

void clearAllMarks(BoardTables& tables);

// The pin range [first, end) of part q. The last part's range ends at pinCount: no board file
// writes the entry after it.
struct PinRange {
  int32_t first;
  int32_t end;
  [[nodiscard]] bool holds(int32_t p) const { return first <= p && p < end; }
};
[[nodiscard]] PinRange partPinRange(const BoardTables& tables, int32_t q);
// The number of pin p within `part`, 1 for its first pin.
[[nodiscard]] int32_t pinNumberIn(const PartEntry& part, int32_t p);

struct PinOwner {
  int32_t part = -1;      // -1: no part holds the pin
  int32_t pinNumber = 0;  // 1 for the part's first pin
};
// The last part whose range holds pin p, as a scan over all parts in order would find.
[[nodiscard]] PinOwner findPinPart(const BoardTables& tables, int32_t p);
// The first part whose range holds pin p.
[[nodiscard]] PinOwner findFirstPinPart(const BoardTables& tables, int32_t p);

// Rebuilds tables.pinOwners from the current parts and pins. The loader calls it; so must
// anything else that fills the part or pin tables.
void indexPinOwners(BoardTables& tables);

inline constexpr int kMaxListedPartPins = 21;
inline constexpr std::string_view kListMarker = " %";
inline constexpr std::string_view kListMore = "........";

// Marks net state.listNet with state.currentMarkSlot (pins, their parts, nails), appends its
// part-pin list to state.messageLine and adds that line to the message area. The caller puts
// the line's prefix into messageLine first. Does nothing without a loaded board.
void markNet(BoardTables& tables, ViewerState& state, MessageArea& messages);

}  // namespace plexaro
