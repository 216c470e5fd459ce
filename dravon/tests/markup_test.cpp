// Net markup, layer highlight and the found-item marker drawn into the composite.
#include <gtest/gtest.h>

#include <cstring>

#include "dravon/render/markup.h"
#include "dravon/tests/render_test_support.h"

namespace dravon {
namespace {

using testing::at;
using testing::CountingFeedback;
using testing::ImageFrame;
using testing::inverted;
using testing::TempFolder;

const Rgb kBlue = Rgb{kGroundColour.red, kGroundColour.green, kGroundColour.blue};
const Rgb kOrange = Rgb{kSupplyColour.red, kSupplyColour.green, kSupplyColour.blue};

// A four-layer card of 200 x 200 plane units at resolution 1. Plane y is image 200 - y.
class MarkupTest : public ::testing::Test {
 protected:
  enum Net { kSig = 0, kGnd = 1, kVcc = 2, kSig1 = 3, kNoConnect = 4 };

  MarkupTest() {
    doc.cardName = "T";
    doc.imageRect = {0, 0, 200, 200};
    doc.layerCount = 4;
    doc.resolution = 1;
    doc.netNames = {"N$12", "GND", "VCC", "SIG1", ".NC.5"};
    doc.shapes = {CShape{1, kShapeRectangle, {{6, 6}}}, CShape{2, kShapeEllipse, {{12, 12}}},
                  CShape{3, kShapeRectangle, {{10, 10}}},
                  CShape{5, kShapeComposite, {{0, 1}, {0, 0}, {0, 0}, {0, 3}}}};
    CDev u1;
    u1.name = "U1   ";
    u1.x = 100;
    u1.y = 100;
    u1.layer = 1;
    u1.shape = 99;  // no body: the markup is what shows
    doc.devices = {u1};
    // Pads: a through-hole pad of net N$12 (6 on the front, 10 on the back), one per other net.
    doc.pads = {pad(0, 1, kSig, 40, 160, 5), pad(0, 2, kGnd, 60, 160, 1),
                pad(0, 3, kVcc, 80, 160, 1), pad(0, 4, kSig1, 100, 160, 1),
                pad(0, 5, kNoConnect, 120, 160, 1)};
    for (int8_t layer = 1; layer <= 4; ++layer) {  // N$12 at y 100, 110, 120, 130 by layer
      const int16_t y = static_cast<int16_t>(90 + 10 * layer);
      doc.lines.push_back(CLine{kSig, layer, 2, 10, y, 60, y});
    }
    doc.lines.push_back(CLine{kSig, 5, 2, 10, 140, 60, 140});  // beyond layerCount
    doc.lines.push_back(CLine{kGnd, 1, 2, 110, 100, 160, 100});
    doc.lines.push_back(CLine{kSig1, 3, 2, 110, 120, 160, 120});
    doc.lines.push_back(CLine{-1, 1, 2, 110, 40, 160, 40});  // a line of no net
    doc.vias = {CVia{kSig, 4, 150, 170, 2}, CVia{-1, 4, 170, 170, 2}};
    buildSideImages(doc, true);
  }

  static CPad pad(int16_t device, int16_t pin, int16_t net, int16_t x, int16_t y, int32_t shape) {
    CPad p;
    p.device = device;
    p.pin = pin;
    p.net = net;
    p.x = x;
    p.y = y;
    p.shape = shape;
    return p;
  }

  void mark(std::initializer_list<int32_t> nets) {
    doc.markedNets.clear();
    for (int32_t n : nets) doc.markedNets.push_back(NetMark{n});
  }
  void refresh(int32_t front = 1, int32_t zoom = 100, double scale = 1.0) {
    refreshComposite(doc, ShownView{front, zoom, scale}, &feedback);
  }
  [[nodiscard]] Rgb plane(int x, int y, int32_t front = 1) const {
    return at(doc.compositeImage, front != 0 ? x : 200 - x, 200 - y);
  }
  [[nodiscard]] bool compositeIsSide(int32_t front) const {
    const Surface& side = front != 0 ? doc.frontImage : doc.backImage;
    return std::memcmp(doc.compositeImage.bits(), side.bits(),
                       static_cast<size_t>(side.bytesPerLine()) * side.height()) == 0;
  }

  CDravonDoc doc;
  CountingFeedback feedback;
};

TEST_F(MarkupTest, OneNetIsRedOnTheShownLayerAndYellowElsewhere) {
  struct Case {
    const char* why;
    int32_t front;
    Rgb layer1, layer2, layer3, layer4;
  };
  for (const Case& c : {Case{"front", 1, kMarkRed, kMarkYellow, kMarkYellow, kMarkYellow},
                        Case{"back", 0, kMarkYellow, kMarkYellow, kMarkYellow, kMarkRed}}) {
    SCOPED_TRACE(c.why);
    mark({kSig});
    refresh(c.front);
    EXPECT_EQ(plane(30, 100, c.front), c.layer1);
    EXPECT_EQ(plane(30, 110, c.front), c.layer2);
    EXPECT_EQ(plane(30, 120, c.front), c.layer3);
    EXPECT_EQ(plane(30, 130, c.front), c.layer4);
    EXPECT_EQ(plane(30, 140, c.front), kCardFillColour) << "layer 5 of a 4-layer card";
    EXPECT_EQ(plane(150, 170, c.front), kViaHoleColour) << "the via's drill";
    EXPECT_EQ(plane(154, 170, c.front), kMarkRed) << "the via's ring";
    EXPECT_EQ(plane(40, 160, c.front), kMarkRed) << "the pad, on top";
    EXPECT_EQ(plane(130, 100, c.front), c.front ? kSignalLineColour : kCardFillColour)
        << "other nets stay as they are";
  }
  EXPECT_EQ(doc.markColorA, kMarkRed);
  EXPECT_EQ(doc.markColorB, kMarkYellow);
}

TEST_F(MarkupTest, TheFarSideOfAThroughHolePadShowsAsAYellowRim) {
  mark({kSig});
  refresh(1);
  EXPECT_EQ(plane(40, 160), kMarkRed) << "the front's 6 x 6 shape";
  EXPECT_EQ(plane(36, 160), kMarkYellow) << "the back's 10 x 10 shape around it";
  refresh(0);
  EXPECT_EQ(plane(36, 160, 0), kMarkRed) << "seen from the back the larger shape is on top";
}

TEST_F(MarkupTest, ItemsWithoutANetAreNeverMarked) {
  struct Case {
    const char* why;
    std::initializer_list<int32_t> nets;
    Rgb sigLayer2;
  };
  for (const Case& c : {Case{"a mark of no net alone draws nothing", {-1}, kCardFillColour},
                        Case{"beside one net it does not make several", {-1, kSig}, kMarkYellow}}) {
    SCOPED_TRACE(c.why);
    mark(c.nets);
    refresh(1);
    EXPECT_EQ(plane(130, 40), kSignalLineColour) << "the line of no net";
    EXPECT_EQ(plane(174, 170), kViaColour) << "the via of no net";
    EXPECT_EQ(plane(30, 110), c.sigLayer2);
  }
  mark({-1});
  refresh(1);
  EXPECT_TRUE(compositeIsSide(1));
}

TEST_F(MarkupTest, SeveralNetsUseGroundAndSupplyColours) {
  mark({kGnd, kVcc, kSig1, kNoConnect});
  refresh(1);
  EXPECT_EQ(plane(60, 160), kBlue);
  EXPECT_EQ(plane(130, 100), kBlue) << "the ground line";
  EXPECT_EQ(plane(80, 160), kOrange);
  EXPECT_EQ(plane(100, 160), kMarkRed) << "other nets as in single mode";
  EXPECT_EQ(plane(130, 120), kMarkYellow);
  EXPECT_EQ(plane(120, 160), kPadColour) << ".NC. nets are left out among several";

  mark({kNoConnect});
  refresh(1);
  EXPECT_EQ(plane(120, 160), kMarkRed) << "alone it is drawn";

  mark({kGnd, kGnd});
  refresh(1);
  EXPECT_EQ(plane(60, 160), kBlue) << "the same net twice counts as several";
  doc.netNames[kGnd] = "GND_VCC";
  refresh(1);
  EXPECT_EQ(plane(60, 160), kBlue) << "ground is tested first";
}

// Rows of the marked layer-1 line at x = 30 (plane y 100, image row 100).
int lineRows(const Surface& s) {
  int rows = 0;
  for (int y = 90; y < 110; ++y) rows += at(s, 30, y) == kMarkRed ? 1 : 0;
  return rows;
}

TEST_F(MarkupTest, FitModeWidensMarkedLines) {
  Surface reference;
  ASSERT_TRUE(reference.reset(200, 200));
  Painter p(reference);
  const auto referenceRows = [&](int width) {
    p.fillRect(reference.bounds(), kWhiteBrush);
    p.selectPen(insideFramePen(width, kMarkRed));
    p.line({10, 100}, {60, 100});
    return lineRows(reference);
  };
  mark({kSig});
  struct Case {
    const char* why;
    int32_t zoom;
    double scale;
    int width;
  };
  for (const Case& c : {Case{"fit at 3.4: trunc(4.4)", 0, 3.4, 4}, Case{"at 100 %", 100, 1.0, 2},
                        Case{"at 25 %", 25, 4.0, 2}, Case{"fit at 0.5 keeps 2", 0, 0.5, 2}}) {
    SCOPED_TRACE(c.why);
    refresh(1, c.zoom, c.scale);
    EXPECT_EQ(lineRows(doc.compositeImage), referenceRows(c.width));
  }
}

TEST_F(MarkupTest, LayerHighlightIsYellowWhateverTheNet) {
  doc.highlightLayer = 3;
  refresh(1);
  EXPECT_EQ(plane(30, 120), kHighlightColour);
  EXPECT_EQ(plane(130, 120), kHighlightColour);
  EXPECT_EQ(plane(30, 110), kCardFillColour);
  doc.highlightLayer = -1;
  refresh(1);
  EXPECT_EQ(plane(30, 120), kCardFillColour);
}

TEST_F(MarkupTest, TriangleVerticesByQuadrant) {
  doc.imageRect = {0, 0, 1000, 1000};
  ASSERT_TRUE(doc.compositeImage.reset(1000, 1000));
  Painter painter(doc.compositeImage);
  struct Case {
    const char* why;
    int32_t x, y;  // plane
    int32_t front;
    Rect box;  // of the inverted pixels
  };
  for (const Case& c : {
           Case{"left, lower: (100,900) (250,780) (220,750)", 100, 100, 1, {100, 750, 251, 901}},
           Case{"right, upper", 900, 900, 1, {750, 100, 901, 251}},
           Case{"back mirrors: image x 900, right half", 100, 100, 0, {750, 750, 901, 901}},
       }) {
    SCOPED_TRACE(c.why);
    painter.fillRect(doc.compositeImage.bounds(), solidBrush(kBlack));
    drawPointerTriangle(doc, painter, ShownView{c.front, 0, 1.0}, c.x, c.y, kWhite);
    Rect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (int y = 0; y < 1000; ++y) {
      for (int x = 0; x < 1000; ++x) {
        if (at(doc.compositeImage, x, y) != kWhite) continue;
        box = {std::min(box.left, x), std::min(box.top, y), std::max(box.right, x + 1),
               std::max(box.bottom, y + 1)};
      }
    }
    EXPECT_EQ(box, c.box);
    EXPECT_EQ(painter.rasterMode(), RasterMode::Copy);
  }
}

TEST_F(MarkupTest, FoundMarkerRules) {
  doc.testPoints = {CTp{"TP1    ", 20, 20, 1}, CTp{"TP2    ", 20, 20, 4}};
  struct Case {
    const char* why;
    std::string name;
    int32_t index, pin, front;
    std::initializer_list<int32_t> nets;
    bool drawn;
    int32_t currentNet;  // after the refresh; 7 = untouched
  };
  for (const Case& c : {
           Case{"the component", "U1   ", 0, -1, 1, {}, true, -1},
           Case{"the component from the back", "U1   ", 0, -1, 0, {}, false, -1},
           Case{"a pin: its pad's net", "U1   ", 0, 3, 1, {kVcc}, true, kVcc},
           Case{"a pin without a pad", "U1   ", 0, 9, 1, {}, false, 7},
           Case{"two nets marked", "U1   ", 0, -1, 1, {kGnd, kVcc}, false, -1},
           Case{"a front test point", "TP1    ", 0, -1, 1, {}, true, 7},
           Case{"a back test point on the front", "TP2    ", 1, -1, 1, {}, false, 7},
           Case{"a back test point on the back", "TP2    ", 1, -1, 0, {}, true, 7},
           Case{"GND names a test point", "GND    ", 0, -1, 1, {}, true, 7},
           Case{"a net name", " N$12", 0, -1, 1, {}, false, 7},
           Case{"an index out of range", "U1   ", 5, -1, 1, {}, false, 7},
       }) {
    SCOPED_TRACE(c.why);
    doc.foundName = c.name;
    doc.foundIndex = c.index;
    doc.foundPin = c.pin;
    doc.currentNet = 7;
    mark(c.nets);
    refresh(c.front);
    Surface withMarker = doc.compositeImage;
    doc.foundName.clear();
    refresh(c.front);
    const bool drawn =
        std::memcmp(withMarker.bits(), doc.compositeImage.bits(),
                    static_cast<size_t>(withMarker.bytesPerLine()) * withMarker.height()) != 0;
    EXPECT_EQ(drawn, c.drawn);
    EXPECT_EQ(doc.currentNet, c.currentNet);
  }
}

TEST_F(MarkupTest, TheMarkerInvertsWhatLiesUnderIt) {
  doc.foundName = "U1   ";
  doc.foundIndex = 0;
  refresh(1);
  const Surface& side = doc.frontImage;
  const Surface& comp = doc.compositeImage;
  // Tip at image (100, 100), which counts as right and lower half: it points up and left.
  for (const Point p : {Point{100, 100}, Point{90, 90}, Point{70, 70}}) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    EXPECT_EQ(at(comp, p.x, p.y), inverted(at(side, p.x, p.y)));
  }
  EXPECT_EQ(at(comp, 110, 110), at(side, 110, 110)) << "outside the triangle";
}

// The demo card with its marked nets.
TEST(SampleCardMarkup, MarkedNetsAndMarkerOnTheDemoCard) {
  TempFolder folder;
  CDravonDoc doc;
  ImageFrame frame;
  testing::openSampleCard(doc, folder, frame);
  const auto centre = [&doc](const CPad& p) {
    const ImageMapping m = imageMapping(doc, 1);
    return at(doc.compositeImage, m.x(p.x), m.y(p.y));
  };
  const auto plainPad = [&doc](const CPad& p) {
    const int i = doc.findShape(p.shape);
    return i >= 0 && doc.shapes[i].type != kShapeComposite;
  };

  const int net = doc.findNet("N1038");
  ASSERT_GE(net, 0);
  doc.markedNets = {NetMark{net}};
  refreshComposite(doc, ShownView{1, 100, 1.0}, nullptr);
  int pads = 0, yellow = 0;
  for (const CPad& p : doc.pads) {
    if (p.net != net || !plainPad(p)) continue;
    EXPECT_EQ(centre(p), kMarkRed);
    ++pads;
  }
  const ImageMapping m = imageMapping(doc, 1);
  for (const CLine& l : doc.lines) {
    if (l.net != net || l.layer == 1) continue;
    const Rgb mid = at(doc.compositeImage, m.x((l.x1 + l.x2) / 2), m.y((l.y1 + l.y2) / 2));
    EXPECT_TRUE(mid == kMarkYellow || mid == kMarkRed) << "covered only by the net's own items";
    yellow += mid == kMarkYellow ? 1 : 0;
  }
  EXPECT_GT(pads, 2);
  EXPECT_GT(yellow, 0);

  int ground = -1, supply = -1;
  for (std::size_t i = 0; i < doc.netNames.size(); ++i) {
    if (ground < 0 && doc.netNames[i].find("GND") != std::string::npos) ground = int(i);
    if (supply < 0 && doc.netNames[i].find("VCC") != std::string::npos) supply = int(i);
  }
  ASSERT_GE(ground, 0);
  ASSERT_GE(supply, 0);
  doc.markedNets = {NetMark{ground}, NetMark{supply}};
  refreshComposite(doc, ShownView{1, 100, 1.0}, nullptr);
  int coloured = 0;
  for (const CPad& p : doc.pads) {
    if (!plainPad(p) || (p.net != ground && p.net != supply)) continue;
    EXPECT_EQ(centre(p), p.net == ground ? kBlue : kOrange);
    ++coloured;
  }
  EXPECT_GT(coloured, 1);

  // The first front device found: the triangle inverts the side image under it.
  doc.markedNets.clear();
  int found = -1;
  for (std::size_t i = 0; i < doc.devices.size() && found < 0; ++i) {
    if (doc.devices[i].layer == 1) found = int(i);
  }
  ASSERT_GE(found, 0);
  doc.foundName = doc.devices[found].name;
  doc.foundIndex = found;
  doc.foundPin = -1;
  refreshComposite(doc, ShownView{1, 100, 1.0}, nullptr);
  const CDev& d = doc.devices[found];
  const Point tip{m.x(d.x), m.y(d.y)};
  EXPECT_EQ(at(doc.compositeImage, tip.x, tip.y), inverted(at(doc.frontImage, tip.x, tip.y)));
  int changed = 0;
  for (int y = 0; y < doc.compositeImage.height(); ++y) {
    for (int x = 0; x < doc.compositeImage.width(); ++x) {
      const Rgb c = at(doc.compositeImage, x, y);
      const Rgb s = at(doc.frontImage, x, y);
      if (c == s) continue;
      ASSERT_EQ(c, inverted(s));
      ASSERT_LE(std::abs(x - tip.x), 150);
      ASSERT_LE(std::abs(y - tip.y), 150);
      ++changed;
    }
  }
  EXPECT_GT(changed, (150 * 150 - 120 * 120) / 2) << "the triangle's area";
}

}  // namespace
}  // namespace dravon
