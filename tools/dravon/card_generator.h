#pragma once

#include <cstdint>
#include <string>

namespace dravon::tools {

// The size of a generated card. Devices sit in a grid over the card, their pads around them,
// signal lines run between pads of one net on four layers.
struct CardShape {
  std::string cardName = "DEMO CONTROLLER CARD";
  std::string partNumber = "4711-02";
  std::string ecLevel = "E03";
  int devices = 24;
  int pads = 120;
  int nets = 40;
  int lines = 300;
  int vias = 30;
  int testPoints = 12;
  int width = 3000;  // card units, outline from (100, 100)
  int height = 2000;
  uint32_t seed = 1;
};

// The demo card of samples/ and the large card of the benchmarks.
CardShape demoCard();
CardShape largeCard();

// The parts list (header lines, then one part line per device in the column layout) and the
// CAD export (test points, pads, devices on front and back, vias, lines, outline, shapes).
std::string makePartsList(const CardShape& shape);
std::string makeCadExport(const CardShape& shape);

}  // namespace dravon::tools
