#include "plexaro/board/board_tables.h"

#include <algorithm>
#include <cstdio>

#include "plexaro/platform/message_area.h"

namespace plexaro {

std::string_view netName(const BoardTables& tables, int32_t net) {
  if (net < 1 || net > tables.netCount || net >= kNetCapacity) return {};
  return tables.nets[net].name.view();
}

const PinEntry* pinAt(const BoardTables& tables, int32_t p) {
  if (p < 0 || p >= tables.pinCount) return nullptr;
  return &tables.pins[p];
}

void clearAllMarks(BoardTables& tables) {
  for (int32_t i = 0; i < tables.pinCount; ++i) {
    tables.pins[i].marked = false;
    tables.pins[i].markSlot = 0;
  }
  for (int32_t i = 0; i < tables.partCount; ++i) tables.parts[i].marked = false;
  for (int32_t i = 0; i < tables.nailCount; ++i) {
    tables.nails[i].marked = false;
    tables.nails[i].markSlot = 0;
  }
}

PinRange partPinRange(const BoardTables& tables, int32_t q) {
  const int32_t first = tables.parts[q].firstPin;
  const int32_t end = q + 1 < tables.partCount ? tables.parts[q + 1].firstPin : tables.pinCount;
  return {first, end};
}

int32_t pinNumberIn(const PartEntry& part, int32_t p) {
  // Wrapping, as the numbers come unchecked from the file (a first pin of -2^31 must not
  // overflow).
  return static_cast<int32_t>(static_cast<uint32_t>(p) - static_cast<uint32_t>(part.firstPin) + 1u);
}

namespace {

// Calls visit(q) for every part q whose range holds pin p, in part order.
template <typename Visit>
void forEachOwner(const BoardTables& tables, int32_t p, Visit visit) {
  const PinOwnerIndex& index = tables.pinOwners;
  if (index.valid && p >= 0 && p < tables.pinCount) {
    for (int32_t k = index.start[p]; k < index.start[p + 1]; ++k) visit(index.owners[k]);
    return;
  }
  const int32_t partCount = std::min(tables.partCount, kPartCapacity);
  for (int32_t q = 0; q < partCount; ++q) {
    if (partPinRange(tables, q).holds(p)) visit(q);
  }
}

}  // namespace

PinOwner findPinPart(const BoardTables& tables, int32_t p) {
  PinOwner owner;
  forEachOwner(tables, p, [&](int32_t q) {
    owner.part = q;
    owner.pinNumber = pinNumberIn(tables.parts[q], p);
  });
  return owner;
}

PinOwner findFirstPinPart(const BoardTables& tables, int32_t p) {
  PinOwner owner;
  forEachOwner(tables, p, [&](int32_t q) {
    if (owner.part >= 0) return;
    owner.part = q;
    owner.pinNumber = pinNumberIn(tables.parts[q], p);
  });
  return owner;
}

void indexPinOwners(BoardTables& tables) {
  PinOwnerIndex& index = tables.pinOwners;
  index.valid = false;
  const int32_t pinCount = std::clamp(tables.pinCount, 0, kPinCapacity);
  const int32_t partCount = std::clamp(tables.partCount, 0, kPartCapacity);

  // Count the owners of each pin with a difference array over the clipped ranges.
  auto& count = index.start;
  std::fill(count.begin(), count.begin() + pinCount + 1, 0);
  int64_t total = 0;
  for (int32_t q = 0; q < partCount; ++q) {
    const PinRange r = partPinRange(tables, q);
    const int32_t first = std::max(r.first, 0);
    const int32_t end = std::min(r.end, pinCount);
    if (first >= end) continue;
    ++count[first];
    --count[end];
    total += end - first;
  }
  if (total > PinOwnerIndex::kOwnerCapacity) return;  // the scan takes over

  // Running sums turn counts into start offsets; then fill in part order.
  int32_t running = 0;
  int32_t offset = 0;
  for (int32_t p = 0; p < pinCount; ++p) {
    running += count[p];
    count[p] = offset;
    offset += running;
  }
  count[pinCount] = offset;
  std::array<int32_t, kPinCapacity> fill;
  std::copy(count.begin(), count.begin() + pinCount, fill.begin());
  for (int32_t q = 0; q < partCount; ++q) {
    const PinRange r = partPinRange(tables, q);
    const int32_t end = std::min(r.end, pinCount);
    for (int32_t p = std::max(r.first, 0); p < end; ++p) {
      index.owners[fill[p]++] = static_cast<int16_t>(q);
    }
  }
  index.valid = true;
}

void markNet(BoardTables& tables, ViewerState& state, MessageArea& messages) {
  if (!tables.loaded) return;
  const int32_t net = state.listNet;
  if (net != 0) {
    state.messageLine.append(kListMarker);
    state.listCount = 0;
    for (int32_t p = 0; p < tables.pinCount; ++p) {
      PinEntry& pin = tables.pins[p];
      if (pin.net != net) continue;
      pin.marked = true;
      pin.markSlot = state.currentMarkSlot;
      forEachOwner(tables, p, [&](int32_t q) {
        PartEntry& part = tables.parts[q];
        part.marked = true;
        if (state.listCount <= kMaxListedPartPins - 1) {
          char entry[48];
          std::snprintf(entry, sizeof entry, "%s.%d,", part.name.text,
                        static_cast<int>(pinNumberIn(part, p)));
          // A line too long for the 400-character field is cut there.
          state.messageLine.append(entry);
          ++state.listCount;
        }
      });
    }
    if (state.listCount > kMaxListedPartPins - 1) state.messageLine.append(kListMore);
    for (int32_t n = 0; n < tables.nailCount; ++n) {
      NailEntry& nail = tables.nails[n];
      if (nail.net != net) continue;
      nail.marked = true;
      nail.markSlot = state.currentMarkSlot;
    }
  }
  messages.addMessageLine(state.messageLine.view());
}

}  // namespace plexaro
