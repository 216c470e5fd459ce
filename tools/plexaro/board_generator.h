#pragma once

#include <cstdint>
#include <string>

namespace plexaro {

// The size of a generated board.
struct BoardShape {
  int32_t width = 8000;
  int32_t height = 6000;
  int outlinePoints = 41;  // closed: the last point repeats the first
  int nets = 400;
  int parts = 150;
  int pins = 1500;
  int nails = 400;
  uint32_t seed = 1;
  bool allPinsOnOneNet = false;  // every pin on net 1 (GND): the heaviest net marking

  // A realistic demo board: ICs, passives, transistors and through-hole connectors on both
  // sides, named nets such as GND, VCC and +3V3, fixture nails mostly on the bottom.
  static BoardShape demo() { return {}; }
  // Every table at its capacity: 1000 outline points, 9999 nets, 20000 pins, 5000 parts and
  // 5000 nails.
  static BoardShape fullCapacity() {
    return {8000, 6000, 1000, 9999, 5000, 20000, 5000, 7};
  }
};

// The text of a board file for `shape`, with a valid checksum. Deterministic for a seed.
[[nodiscard]] std::string generateBoard(const BoardShape& shape);

}  // namespace plexaro
