#include "tools/plexaro/board_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "plexaro/board/board_file.h"

namespace plexaro {

namespace {

struct Pin {
  int32_t x, y, net, side;
};
struct Part {
  std::string name;
  int32_t x1, y1, x2, y2, firstPin, side;
};
struct Nail {
  int32_t number, x, y, net, side;
};

class Random {
 public:
  explicit Random(uint32_t seed) : engine_(seed) {}
  // Uniform in [lo, hi]; by modulo so that every platform generates the same board.
  int32_t between(int32_t lo, int32_t hi) {
    return lo + static_cast<int32_t>(engine_() % static_cast<uint32_t>(hi - lo + 1));
  }
  bool chance(int percent) { return between(0, 99) < percent; }

 private:
  std::mt19937 engine_;
};

std::vector<std::string> netNames(int count) {
  static const char* const kNamed[] = {
      "GND",      "VCC",      "+3V3",    "+5V",      "+1V8", "+12V", "VBAT",   "AGND",
      "RESET_N",  "CLK_25M",  "SDA",     "SCL",      "TXD0", "RXD0", "USB_DP", "USB_DM",
      "SPI_MOSI", "SPI_MISO", "SPI_SCK", "SPI_CS_N", "LED1", "LED2"};
  std::vector<std::string> names;
  for (int i = 0; i < count; ++i) {
    if (i < static_cast<int>(std::size(kNamed))) {
      names.emplace_back(kNamed[i]);
    } else {
      names.push_back("N$" + std::to_string(i + 100));
    }
  }
  return names;
}

// A rounded rectangle inset from the board edge, traced counter-clockwise and closed.
std::vector<OutlinePoint> outline(const BoardShape& shape) {
  const int n = std::max(shape.outlinePoints, 2);
  const double cx = shape.width / 2.0, cy = shape.height / 2.0;
  const double ax = shape.width / 2.0 - 40, ay = shape.height / 2.0 - 40;
  std::vector<OutlinePoint> points;
  for (int i = 0; i < n - 1; ++i) {
    // A superellipse gives straight-looking edges with rounded corners.
    const double t = 2 * M_PI * i / (n - 1);
    const double c = std::cos(t), s = std::sin(t);
    const double px = std::copysign(std::pow(std::fabs(c), 0.2), c);
    const double py = std::copysign(std::pow(std::fabs(s), 0.2), s);
    points.push_back({static_cast<int32_t>(std::lround(cx + ax * px)),
                      static_cast<int32_t>(std::lround(cy + ay * py))});
  }
  points.push_back(points.front());
  return points;
}

enum class Kind { Resistor, Capacitor, Transistor, Chip, Connector };

}  // namespace

std::string generateBoard(const BoardShape& shape) {
  Random random{shape.seed};
  const std::vector<OutlinePoint> points = outline(shape);

  // Parts on a grid of cells inside the outline; each picks a kind and its pins.
  std::vector<Part> parts;
  std::vector<Pin> pins;
  const int columns = std::max(
      1, static_cast<int>(std::ceil(std::sqrt(shape.parts * double(shape.width) / shape.height))));
  const int rows = (shape.parts + columns - 1) / columns;
  const int32_t cellW = (shape.width - 600) / columns, cellH = (shape.height - 600) / rows;
  int counters[5] = {};
  const char* const prefixes[5] = {"R", "C", "Q", "U", "J"};
  for (int q = 0; q < shape.parts; ++q) {
    const int pinsLeft = shape.pins - static_cast<int>(pins.size());
    const int partsLeft = shape.parts - q;
    const int roll = random.between(0, 99);
    const Kind kind = roll < 30   ? Kind::Resistor
                      : roll < 55 ? Kind::Capacitor
                      : roll < 65 ? Kind::Transistor
                      : roll < 90 ? Kind::Chip
                                  : Kind::Connector;
    int count = kind == Kind::Resistor || kind == Kind::Capacitor ? 2
                : kind == Kind::Transistor                        ? 3
                : kind == Kind::Chip                              ? 8 * random.between(1, 8)
                                                                  : random.between(4, 20);
    // Keep enough pins for the parts still to come, and use them all on the last part.
    count = std::clamp(count, 1, std::max(1, pinsLeft - 2 * (partsLeft - 1)));
    if (partsLeft == 1) count = std::max(1, pinsLeft);
    const int k = static_cast<int>(kind);
    Part part;
    part.name = prefixes[k] + std::to_string(++counters[k]);
    part.side = kind == Kind::Connector || random.chance(70) ? 1 : 2;
    const bool throughHole = kind == Kind::Connector || (kind == Kind::Chip && random.chance(15));

    const int32_t cx = 300 + (q % columns) * cellW + cellW / 2;
    const int32_t cy = 300 + (q / columns) * cellH + cellH / 2;
    const int perRow = kind == Kind::Connector ? count : (count + 1) / 2;
    const int32_t pitch =
        std::max<int32_t>(4, std::min<int32_t>(50, (cellW * 3 / 4) / std::max(perRow, 1)));
    const int32_t halfW = std::max<int32_t>(pitch * perRow / 2, 20);
    const int32_t halfH =
        kind == Kind::Connector ? 40 : std::min<int32_t>(cellH / 3, 30 + 10 * perRow);
    part.x1 = cx - halfW;
    part.y1 = cy - halfH;
    part.x2 = cx + halfW;
    part.y2 = cy + halfH;
    if (random.chance(50)) std::swap(part.x1, part.x2);  // corners come in either order
    part.firstPin = static_cast<int32_t>(pins.size());
    for (int i = 0; i < count; ++i) {
      Pin pin{};
      const int row = kind == Kind::Connector ? 0 : i / perRow;
      const int col = kind == Kind::Connector ? i : (row == 0 ? i : count - 1 - i);
      pin.x = cx - halfW + pitch / 2 + col * pitch;
      pin.y = kind == Kind::Connector ? cy : (row == 0 ? cy - halfH + 8 : cy + halfH - 8);
      pin.side = throughHole ? 0 : part.side;
      pins.push_back(pin);
    }
    parts.push_back(std::move(part));
  }

  // Every net gets two pins first, the rest go mostly to the supplies.
  const int netCount = shape.nets;
  std::vector<int> order(pins.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::shuffle(order.begin(), order.end(), std::mt19937{shape.seed + 1});
  for (std::size_t i = 0; i < order.size(); ++i) {
    Pin& pin = pins[order[i]];
    if (static_cast<int>(i) < 2 * netCount) {
      pin.net = static_cast<int32_t>(i / 2 + 1);
    } else {
      const int roll = random.between(0, 99);
      pin.net = roll < 30 ? 1 : roll < 40 ? 2 : roll < 48 ? 3 : random.between(1, netCount);
    }
  }

  if (shape.allPinsOnOneNet) {
    for (Pin& pin : pins) pin.net = 1;
  }

  // One nail per net, on a pin of it, mostly probing from the bottom.
  std::vector<int> pinOfNet(netCount + 1, -1);
  for (std::size_t p = 0; p < pins.size(); ++p) {
    if (pinOfNet[pins[p].net] < 0) pinOfNet[pins[p].net] = static_cast<int>(p);
  }
  std::vector<Nail> nails;
  for (int i = 0; i < shape.nails; ++i) {
    const int32_t net = i % netCount + 1;
    const Pin& at = pins[std::max(pinOfNet[net], 0) % pins.size()];
    nails.push_back({i + 1 + (i / 100) * 20, at.x + 15, at.y + 15, net, random.chance(80) ? 2 : 1});
  }

  // The file holds the top side's parts, pins and nails mirrored about the board's middle line:
  // the top view mirrors the outline and through-hole pins to meet them.
  const int32_t mirror = 2 * (shape.height / 2);
  for (Part& p : parts) {
    if (p.side != 1) continue;
    p.y1 = mirror - p.y1;
    p.y2 = mirror - p.y2;
  }
  for (Pin& p : pins) {
    if (p.side == 1) p.y = mirror - p.y;
  }
  for (Nail& n : nails) {
    if (n.side == 1) n.y = mirror - n.y;
  }

  const int32_t pointCount = static_cast<int32_t>(points.size());
  std::string out;
  out.reserve(64 * (pins.size() + parts.size() + nails.size() + netCount + points.size()));
  char line[160];
  const auto put = [&](const char* format, auto... values) {
    std::snprintf(line, sizeof line, format, values...);
    out += line;
  };
  put("%d\n", boardChecksum(shape.width, shape.height, pointCount, points.front()));
  put("BRDOUT: %d %d %d\n", pointCount, shape.width, shape.height);
  for (const OutlinePoint& p : points) put("%d %d\n", p.x, p.y);
  const std::vector<std::string> names = netNames(netCount);
  put("\nNETS: %d\n", netCount);
  for (int i = 0; i < netCount; ++i) put("%d %s\n", i + 1, names[i].c_str());
  put("\nPINS: %d\n", static_cast<int>(pins.size()));
  for (const Pin& p : pins) put("%d %d %d %d\n", p.x, p.y, p.net, p.side);
  put("\nPARTS: %d\n", static_cast<int>(parts.size()));
  for (const Part& p : parts) {
    put("%s %d %d %d %d %d %d\n", p.name.c_str(), p.x1, p.y1, p.x2, p.y2, p.firstPin, p.side);
  }
  put("\nNAILS: %d\n", static_cast<int>(nails.size()));
  for (const Nail& n : nails) put("%d %d %d %d %d\n", n.number, n.x, n.y, n.net, n.side);
  return out;
}

}  // namespace plexaro
