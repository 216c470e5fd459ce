#include "tools/dravon/card_generator.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string_view>
#include <vector>

namespace dravon::tools {
namespace {

constexpr int kLayers = 4;

// A small fixed generator, so that the same shape always gives the same card.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed * 2654435761u + 1u) {}
  uint32_t next() {
    state_ = state_ * 1664525u + 1013904223u;
    return state_ >> 8;
  }
  int below(int n) { return n <= 0 ? 0 : static_cast<int>(next() % static_cast<uint32_t>(n)); }

 private:
  uint32_t state_;
};

struct Device {
  std::string name;
  int x, y, layer, shape, firstPad, padCount;
  std::string partNumber, description;
};

struct Kind {
  char prefix;
  std::string_view partNumber;
  std::string_view description;
  int shape;  // body shape
  int pad;    // pad shape
};
// Body and pad shapes of each kind of part (shape keys of makeCadExport).
constexpr std::array<Kind, 4> kKinds = {{
    {'C', "1012-33", "CAP CER 100NF 50V X7R", 10, 1},
    {'J', "2204-10", "CONN HEADER 2X5 2.54MM", 11, 5},
    {'R', "1001-47", "RES 4K7 1% 0603", 10, 1},
    {'U', "3310-08", "IC MCU 32BIT QFP", 12, 6},
}};

std::string fit(std::string_view text, std::size_t width) {
  std::string out(text.substr(0, width));
  out.resize(width, ' ');
  return out;
}

std::vector<Device> layoutDevices(const CardShape& shape, Random& random) {
  std::vector<Device> devices;
  const int columns = std::max(1, static_cast<int>(std::sqrt(shape.devices * 1.5)));
  const int rows = std::max(1, (shape.devices + columns - 1) / columns);
  const int cellW = std::max(1, shape.width / columns);
  const int cellH = std::max(1, shape.height / rows);
  std::array<int, 4> counts{};
  int pad = 0;
  for (int i = 0; i < shape.devices; ++i) {
    const Kind& kind = kKinds[i % 7 == 3 ? 3 : (i % 11 == 5 ? 1 : (i % 2 == 0 ? 0 : 2))];
    const int k = static_cast<int>(&kind - kKinds.data());
    Device d;
    d.name.assign(1, kind.prefix).append(std::to_string(++counts[k]));
    d.x = 100 + (i % columns) * cellW + cellW / 2;
    d.y = 100 + (i / columns) * cellH + cellH / 2;
    d.layer = random.below(5) == 0 ? kLayers : 1;  // a fifth of the parts on the back
    d.shape = kind.shape;
    d.partNumber = std::string(kind.partNumber);
    d.description = std::string(kind.description);
    const int share = shape.pads / std::max(1, shape.devices);
    d.padCount = std::max(2, kind.prefix == 'U' ? share * 2 : share - 1);
    if (i == shape.devices - 1) d.padCount = std::max(2, shape.pads - pad);
    d.firstPad = pad;
    pad += d.padCount;
    devices.push_back(std::move(d));
  }
  return devices;
}

std::string netName(int n, int nets) {
  if (n == 0) return "GND";
  if (n == 1) return "VCC_3V3";
  if (n == nets - 1) return "U1.NC.7";
  return std::string("N").append(std::to_string(1000 + n));
}

}  // namespace

CardShape demoCard() {
  return CardShape{};
}

CardShape largeCard() {
  CardShape shape;
  shape.cardName = "LARGE BACKPLANE TEST CARD";
  shape.devices = 10000;
  shape.pads = 100000;
  shape.nets = 20000;
  shape.lines = 300000;
  shape.vias = 20000;
  shape.testPoints = 5000;
  shape.width = 30000;
  shape.height = 20000;
  return shape;
}

std::string makePartsList(const CardShape& shape) {
  Random random(shape.seed);
  const std::vector<Device> devices = layoutDevices(shape, random);
  std::string out;
  out += "PARTS LIST                                  DRAVON\r\n";
  out += "P/N:   " + fit(shape.partNumber, 7) + "\r\n";
  out += "EC:    " + fit(shape.ecLevel, 7) + "\r\n";
  out += "\r\n";
  out += "CARD NAME:     " + shape.cardName + "\r\n";
  out += "\r\n";
  out += " REF   PART NO DESCRIPTION\r\n";
  out += std::string(60, '-') + "\r\n";
  for (std::size_t i = 0; i < devices.size(); ++i) {
    const Device& d = devices[i];
    const bool marked = i % 17 == 9;    // "$" in column 1
    const bool padOnly = i % 23 == 11;  // fitted later by hand
    std::string line = marked ? "$" : " ";
    line += fit(d.name, 5) + " ";
    line += fit(padOnly ? "PADONLY" : d.partNumber, 7) + " ";
    line += fit(d.description, 25);
    line += fit("  QTY 1  EA  REV A", 144 - line.size());
    line += std::to_string(10 + static_cast<int>(i % 80));
    out += line + "\r\n";
  }
  return out;
}

std::string makeCadExport(const CardShape& shape) {
  Random random(shape.seed);
  const std::vector<Device> devices = layoutDevices(shape, random);
  const int nets = std::max(1, shape.nets);
  std::string out;
  out.reserve((static_cast<std::size_t>(shape.pads) + static_cast<std::size_t>(shape.lines)) * 40);
  const auto add = [&out](const std::string& line) { out += line + "\r\n"; };
  const auto num = [](int v) { return std::to_string(v); };

  // Pad positions first: test points, vias and lines are placed on them.
  struct Pad {
    int x, y, net;
  };
  // The first pads take every net once, so the card has exactly `nets` nets.
  std::vector<Pad> pads;
  for (const Device& d : devices) {
    for (int p = 0; p < d.padCount; ++p) {
      const int side = p % 2 == 0 ? -1 : 1;
      const int n = static_cast<int>(pads.size());
      pads.push_back(
          {d.x + side * 40, d.y - 60 + (p / 2) * 25 % 120, n < nets ? n : random.below(nets)});
    }
  }

  add("$H DRAVON DEMO EXPORT 2.1");
  add("$D PCTESTPT");
  add("$F TSTDES,SIGNAL,X,Y,LAYER,SHAPE,TSTTYP,TSTPIN,TSTDEV,CFSFSTAT;");
  for (int t = 0; t < shape.testPoints; ++t) {
    const Pad& p = pads[static_cast<std::size_t>(random.below(static_cast<int>(pads.size())))];
    add("TP" + num(t + 1) + "," + netName(p.net, nets) + "," + num(p.x + 15) + "," + num(p.y + 15) +
        "," + num(kLayers) + ",3,1,1,0,0;");
  }
  add("$D PCPAD");
  add("$F COMPDES,SYMDES,SIGNAL,PNOD,PNUM,PX,PY,PSTAT,PFHS,PADSHP,BRKSHP,CFSFSTAT;");
  for (const Device& d : devices) {
    const int padShape = d.name[0] == 'J' ? 5 : (d.name[0] == 'U' ? 6 : 1);
    for (int p = 0; p < d.padCount; ++p) {
      const Pad& pad = pads.at(static_cast<std::size_t>(d.firstPad) + static_cast<std::size_t>(p));
      add(d.name + ",SYM" + d.name.substr(0, 1) + "," + netName(pad.net, nets) + ",0," +
          num(p + 1) + "," + num(pad.x) + "," + num(pad.y) + ",0,0," + num(padShape) + ",0,0;");
    }
  }
  add("$D PCDEVICE");
  add("$F COMPDES,X,Y,LAYER,COMPROT,DSTAT,CFSFSTAT,DEVSHP,RESSHP,VIASHP;");
  for (const Device& d : devices) {
    add(d.name + "," + num(d.x) + "," + num(d.y) + "," + num(d.layer) + ",0,0,0," + num(d.shape) +
        ",0,0;");
  }
  add("TP1," + num(devices.empty() ? 0 : devices[0].x) + ",100,1,0,0,0,3,0,0;");  // skipped
  add("$D PCVIA");
  add("$F SIGNAL,CFSFSTAT,VHOLE,<(VSTAT,X,Y,LAYER1,LAYER2,VIASHP)>;");
  for (int v = 0; v < shape.vias; ++v) {
    const Pad& p = pads[static_cast<std::size_t>(random.below(static_cast<int>(pads.size())))];
    add(netName(p.net, nets) + ",0,12,<(0," + num(p.x + 20) + "," + num(p.y - 20) + ",1," +
        num(kLayers) + ",4)>;");
  }
  add("$D PCLINE");
  add("$F SIGNAL,LAYER,SWID,SSTAT,CFSFSTAT,<(X1,Y1,X2,Y2)>;");
  const int x0 = 100, y0 = 100, x1 = 100 + shape.width, y1 = 100 + shape.height;
  add("OUTLINE,1,10,3,1,<(" + num(x0) + "," + num(y0) + "," + num(x1) + "," + num(y0) + ")>;");
  add("OUTLINE,1,10,3,1,<(" + num(x1) + "," + num(y0) + "," + num(x1) + "," + num(y1) + ")>;");
  add("OUTLINE,1,10,3,1,<(" + num(x1) + "," + num(y1) + "," + num(x0) + "," + num(y1) + ")>;");
  add("OUTLINE,1,10,3,1,<(" + num(x0) + "," + num(y1) + "," + num(x0) + "," + num(y0) + ")>;");
  for (int l = 0; l < shape.lines; ++l) {
    const Pad& a = pads[static_cast<std::size_t>(random.below(static_cast<int>(pads.size())))];
    const int dx = random.below(400) - 200;
    const int dy = random.below(400) - 200;
    const int bx = std::clamp(a.x + dx, x0, x1);
    const int by = std::clamp(a.y + dy, y0, y1);
    add(netName(a.net, nets) + "," + num(1 + l % kLayers) + "," + num(l % 3 == 0 ? 12 : 6) +
        ",0,0,<(" + num(a.x) + "," + num(a.y) + "," + num(bx) + "," + num(by) + ")>;");
  }
  add("$D PCAPERT");
  add("$F SHPNDX,NAM,APT,TYPE,MAXFHS,<VAL1,VAL2)>;");
  add("1,PAD_RECT_30X20,A1,1,0,<(30,20)>;");
  add("2,PAD_ROUND_24,A2,2,0,<(24,24)>;");
  add("3,TP_ROUND_20,A3,2,0,<(20,20)>;");
  add("4,VIA_PAD_24,A4,2,0,<(24,24)>;");
  add("5,PADSTACK_J,A5,-2,4,<(0,1),");  // a padstack spread over lines
  add("(0,0),(0,0),");
  add("(0,2)>;");
  add("6,PADSTACK_U,A6,-2,4,<(0,7),(0,0),(0,0),(0,7)>;");
  add("7,PAD_OFFSET,A7,-4,0,<(12,8),(-12,-8)>;");
  add("10,BODY_CHIP,B1,-4,0,<(30,20),(-30,-20)>;");
  add("11,BODY_HEADER,B2,-1,0,<(-60,-80),(0,0),(60,-80),(60,80),(-60,80)>;");
  add("12,BODY_QFP,B3,-1,0,<(-70,-70),(0,0),(70,-70),(70,70),(-70,70)>;");
  add("20,UNUSED_RECT,U1,1,0,<(50,50)>;");
  return out;
}

}  // namespace dravon::tools
