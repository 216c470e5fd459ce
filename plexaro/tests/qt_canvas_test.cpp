#include "plexaro/platform/qt/qt_canvas.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "plexaro/display/board_renderer.h"
#include "plexaro/display/view_transform.h"
#include "plexaro/tests/recording_canvas.h"

namespace plexaro {
namespace {

using testing::FakeBoardArea;
using testing::RecordingStatusBar;

// Text needs the GUI application's font database.
void ensureApplication() {
  static int argc = 1;
  static char name[] = "plexaro_qt_canvas_tests";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);
}

Rgb pixelAt(const QImage& image, int x, int y) {
  const QRgb p = image.pixel(x, y);
  return {static_cast<uint8_t>(qRed(p)), static_cast<uint8_t>(qGreen(p)),
          static_cast<uint8_t>(qBlue(p))};
}

// Scenes drawn alike into two canvases whose images must agree pixel for pixel.

constexpr Rgb kMarks[] = {kWhite, kRed, kAqua};
// The last ones have glyphs that reach outside their background at some sizes.
constexpr std::string_view kLabels[] = {"1",   "7",    "88", "20000", "$4711", "U12",
                                        "Wj_", "A#gy", "W",  "j",     "f_"};

// Many small marked pins with their numbers, as a search on a crowded board leaves them, in
// several font sizes, stepping over all four edges and overlapping their neighbours; under
// them fills, frames and an outline, and over them larger, hollow, thin, wide and dashed
// figures.
void drawBusyScene(Canvas& c, int width, int height) {
  c.setBrushColour(kBlack);
  c.fillRect({0, 0, width, height});
  c.setBrushColour(kTeal);
  c.fillRect({-5, 20, 12, 40});
  c.fillRect({width - 10, -3, width + 10, 8});
  c.frameRect({-10, -10, 30, 25});
  c.frameRect({width - 20, height - 20, width + 15, height + 10});
  c.frameRect({40, 30, 41, 90});  // one pixel wide
  c.setPenColour(kRed);
  c.setPenWidth(1);
  c.setPenStyle(PenStyle::Solid);
  const Pixel outline[] = {
      {-20, height / 2}, {width / 2, -15}, {width + 20, height / 2}, {width / 2, height + 15}};
  c.polyline(outline);

  int n = 0;
  for (int points : {7, 10, 14, 21}) {
    c.setFontSize(points);
    const int rise = c.fontHeight();
    for (int y = -12 + points % 5; y < height + 15; y += 13) {
      for (int x = -15 + points; x < width + 15; x += 19) {
        ++n;
        const Rgb colour = kMarks[n % 3];
        const int32_t r = 1 + n % 5;
        c.setBrushColour(kBlack);
        c.setFontColour(colour);
        c.textOut(x, y + rise, kLabels[static_cast<std::size_t>(n) % std::size(kLabels)]);
        c.setPenColour(colour);
        c.setBrushColour(colour);
        c.ellipse({x - r, y - r, x + r, y + r});
        c.setPenColour(kBlue);
        c.setBrushColour(kBlack);
        c.ellipse({x + 6 - r, y + 4 - r, x + 6 + r, y + 4 + r});  // an unmarked neighbour
      }
    }
  }

  // Labels without a background, nails of radius 0 and unmarked nails.
  c.setFontSize(10);
  c.setBrushHollow();
  c.setFontColour(kLime);
  c.textOut(-3, 50, "$123");
  c.textOut(width - 12, 70, "$99");
  c.setPenColour(kFuchsia);
  c.setBrushColour(kBlack);
  c.ellipse({60, 60, 60, 60});
  c.ellipse({70, 20, 90, 40});
  c.ellipse({width - 8, 50, width + 12, 70});
  // Larger, thin, hollow, wide and dashed figures over the pins.
  c.setPenColour(kYellow);
  c.setBrushColour(kGreen);
  c.ellipse({-30, height - 40, 50, height + 25});
  c.ellipse({100, 5, 101, 30});
  c.ellipse({110, 40, 140, 41});
  c.setBrushHollow();
  c.ellipse({20, 70, 45, 88});
  c.ellipse({width - 14, -6, width + 3, 9});
  c.setPenWidth(3);
  c.setBrushColour(kGrey);
  c.ellipse({75, 75, 95, 95});
  c.rectangle({5, 95, 35, 110});
  c.setPenWidth(1);
  c.setPenStyle(PenStyle::Dash);
  c.ellipse({120, 80, 150, 105});
  c.setPenStyle(PenStyle::Solid);
}

// A long run of drawing calls with sizes, positions, colours and states drawn from a fixed
// seed, weighted towards the small figures and labels of a crowded board.
void drawRandomScene(Canvas& c, int width, int height, uint32_t seed, int calls) {
  uint32_t state = seed;
  auto next = [&state](int32_t below) {
    state = state * 1664525u + 1013904223u;
    return static_cast<int32_t>((state >> 8) % static_cast<uint32_t>(below));
  };
  constexpr Rgb kColours[] = {kBlack, kRed,  kTeal, kWhite,   kYellow, kBlue,
                              kGreen, kGrey, kAqua, kFuchsia, kLime,   Rgb{1, 2, 3}};
  auto colour = [&] { return kColours[static_cast<std::size_t>(next(std::size(kColours)))]; };
  auto corner = [&](int32_t extent) { return next(extent + 80) - 40; };
  auto extent = [&] { return next(8) == 0 ? next(120) : next(36); };
  constexpr int kSizes[] = {7, 8, 10, 12, 14, 17, 20, 25, 33};
  c.setBrushColour(kBlack);
  c.fillRect({0, 0, width, height});
  for (int i = 0; i < calls; ++i) {
    const int32_t x = corner(width);
    const int32_t y = corner(height);
    switch (next(16)) {
      case 0:
        c.setPenColour(colour());
        break;
      case 1:
        c.setBrushColour(colour());
        break;
      case 2:
        next(4) == 0 ? c.setBrushHollow() : c.setBrushColour(colour());
        break;
      case 3:
        c.setFontColour(colour());
        break;
      case 4:
        c.setFontSize(kSizes[static_cast<std::size_t>(next(std::size(kSizes)))]);
        break;
      case 5:
        c.setPenWidth(next(5) == 0 ? 2 + next(3) : 1);
        break;
      case 6:
        c.setPenStyle(next(4) == 0 ? PenStyle::Dash : PenStyle::Solid);
        break;
      case 7:
        c.setPenMode(next(6) == 0 ? PenMode::NotXor : PenMode::Copy);
        break;
      case 8:
        c.fillRect({x, y, x + extent(), y + extent()});
        break;
      case 9:
        c.frameRect({x, y, x + extent(), y + extent()});
        break;
      case 10:
        c.rectangle({x, y, x + extent() - 10, y + extent() - 10});
        break;
      case 11: {
        const Pixel line[] = {{x, y}, {corner(width), corner(height)}, {corner(width), y}};
        c.polyline(line);
        break;
      }
      case 12:
      case 13: {
        const int32_t r = next(4) == 0 ? next(20) : 1 + next(3);
        c.ellipse({x - r, y - r, x + r, y + r});
        break;
      }
      case 14:
        c.ellipse({x, y, x + extent(), y + extent()});
        break;
      default: {
        const std::string text =
            next(3) == 0 ? std::string(kLabels[static_cast<std::size_t>(next(std::size(kLabels)))])
                         : std::to_string(next(3) == 0 ? next(20000) : next(64));
        c.textOut(x, y, text);
        break;
      }
    }
  }
}

// The drag rectangle of a band zoom: dashed, hollow, in not-xor over whatever is drawn.
void drawBand(Canvas& c, int width, int height) {
  c.setBrushHollow();
  c.setPenStyle(PenStyle::Dash);
  c.setPenColour(kRed);
  c.setPenWidth(1);
  c.setPenMode(PenMode::NotXor);
  c.rectangle({width - 7, height - 9, 8, 6});
  c.setPenMode(PenMode::Copy);
  c.setPenStyle(PenStyle::Solid);
}

class QtCanvasTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ensureApplication(); }
  Rgb at(int x, int y) const { return pixelAt(canvas.image(), x, y); }
  // Pixels of a colour along the band's left edge below the teal strip; the pen is dashed.
  int countOnLeftEdge(Rgb colour) const {
    int n = 0;
    for (int y = 16; y < 25; ++y) {
      for (int x = 4; x <= 6; ++x) n += at(x, y) == colour;
    }
    return n;
  }
  QtCanvas canvas{40, 30};
};

TEST_F(QtCanvasTest, FillsAndFramesLeaveOutTheRightAndBottomEdges) {
  canvas.setBrushColour(kWhite);
  canvas.fillRect({2, 3, 6, 8});
  EXPECT_EQ(at(2, 3), kWhite);
  EXPECT_EQ(at(5, 7), kWhite);
  EXPECT_EQ(at(6, 7), kBlack);
  EXPECT_EQ(at(5, 8), kBlack);
  EXPECT_EQ(at(1, 3), kBlack);

  canvas.setBrushColour(kTeal);
  canvas.frameRect({10, 10, 20, 16});
  for (Pixel p : {Pixel{10, 10}, Pixel{19, 10}, Pixel{10, 15}, Pixel{19, 15}, Pixel{15, 10}}) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    EXPECT_EQ(at(p.x, p.y), kTeal);
  }
  EXPECT_EQ(at(15, 12), kBlack) << "only the border";
  EXPECT_EQ(at(20, 12), kBlack);
  EXPECT_EQ(at(15, 16), kBlack);
}

TEST_F(QtCanvasTest, AnEllipseStaysInsideItsRectangle) {
  canvas.setPenColour(kBlue);
  canvas.setPenWidth(1);
  canvas.setBrushColour(kRed);
  canvas.ellipse({10, 10, 20, 20});  // a circle of radius 5 about (15, 15)
  EXPECT_EQ(at(10, 15), kBlue);
  EXPECT_EQ(at(19, 15), kBlue) << "the last column inside";
  EXPECT_EQ(at(20, 15), kBlack) << "right is exclusive";
  EXPECT_EQ(at(15, 19), kBlue);
  EXPECT_EQ(at(15, 20), kBlack) << "bottom is exclusive";
  EXPECT_EQ(at(15, 15), kRed);
  EXPECT_EQ(at(9, 15), kBlack);

  canvas.ellipse({30, 5, 30, 5});  // radius 0: an empty rectangle covers no pixel
  EXPECT_EQ(at(30, 5), kBlack);
}

TEST_F(QtCanvasTest, TextIsOpaqueOnTheBrushColour) {
  canvas.setFontSize(10);
  EXPECT_EQ(canvas.fontHeight(), -13);
  canvas.setFontColour(kYellow);
  canvas.setBrushColour(kTeal);
  canvas.textOut(2, 4, "88");
  EXPECT_EQ(at(2, 4), kTeal) << "the background starts at the top-left corner";
  EXPECT_EQ(at(1, 4), kBlack);
  EXPECT_EQ(at(2, 3), kBlack);
  int yellow = 0;
  for (int y = 4; y < 4 + 13; ++y) {
    for (int x = 2; x < 20; ++x) yellow += at(x, y) == kYellow;
  }
  EXPECT_GT(yellow, 10);
}

TEST_F(QtCanvasTest, ALabelFollowsAFontSizeChange) {
  // The same text again after a size change is measured and drawn in the new size: its
  // background grows in both directions.
  auto backgroundExtent = [this] {
    Pixel extent{0, 0};
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 40; ++x) {
        if (at(x, y) == kTeal) extent = {std::max(extent.x, x + 1), std::max(extent.y, y + 1)};
      }
    }
    return extent;
  };
  canvas.setFontColour(kYellow);
  canvas.setBrushColour(kTeal);
  canvas.setFontSize(7);
  canvas.textOut(0, 0, "88");
  const Pixel small = backgroundExtent();
  canvas.setBrushColour(kBlack);
  canvas.fillRect({0, 0, 40, 30});
  canvas.setBrushColour(kTeal);
  canvas.setFontSize(14);
  canvas.textOut(0, 0, "88");
  const Pixel large = backgroundExtent();
  EXPECT_GT(large.x, small.x + 4);
  EXPECT_GT(large.y, small.y + 4);
}

TEST_F(QtCanvasTest, TheNotXorBandDrawnTwiceRestoresTheScreen) {
  canvas.setBrushColour(kTeal);
  canvas.fillRect({0, 0, 40, 15});
  const QImage before = canvas.image().copy();
  canvas.setBrushHollow();
  canvas.setPenStyle(PenStyle::Dash);
  canvas.setPenColour(kRed);
  canvas.setPenWidth(2);
  canvas.setPenMode(PenMode::NotXor);
  canvas.rectangle({30, 25, 5, 5});  // dragged up and to the left
  EXPECT_NE(canvas.image(), before);
  // Inverse of red XOR black is aqua; the middle stays untouched under the hollow brush.
  EXPECT_GT(countOnLeftEdge(kAqua), 0);
  EXPECT_EQ(at(17, 20), kBlack);
  canvas.rectangle({30, 25, 5, 5});
  EXPECT_EQ(canvas.image(), before);

  canvas.setPenMode(PenMode::Copy);
  canvas.rectangle({30, 25, 5, 5});
  EXPECT_GT(countOnLeftEdge(kRed), 0);
  EXPECT_EQ(countOnLeftEdge(kAqua), 0);
}

TEST_F(QtCanvasTest, FarOffFiguresAreClippedWithoutHarm) {
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  canvas.setBrushColour(kTeal);
  canvas.frameRect({kMin, 5, kMax, 10});
  EXPECT_EQ(at(20, 5), kTeal);
  EXPECT_EQ(at(20, 7), kBlack);
  canvas.setPenColour(kRed);
  const Pixel line[] = {{kMin, 20}, {kMax, 20}};
  canvas.polyline(line);
  EXPECT_EQ(at(20, 20), kRed);
}

// A small board drawn by the renderer through the Qt canvas, at scale 1 without offsets.
class QtBoardTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ensureApplication(); }
  void SetUp() override {
    BoardTables& t = *tables;
    t.loaded = true;
    view.scale = 1.0f;
    view.currentSide = 1;
    view.extentX = 200;
    view.extentY = 150;  // the top view mirrors the outline about y = 75
    t.outline[0] = {10, 140};
    t.outline[1] = {190, 140};
    t.outlineCount = 2;
    t.parts[0].name.assign("U1");
    t.parts[0] = {t.parts[0].name, 40, 60, 50, 70, 0, 1, false};  // grown by 20: (20,40)-(70,90)
    t.partCount = 1;
    t.pins[0] = {100, 75, 1, 0, 0, false};  // through-hole, on the mirror line
    t.pinCount = 1;
    t.nails[0] = {12, 1, 3, 150, 100, 1, true};
    t.nails[1] = {13, 1, 0, 150, 100, 2, false};
    t.nailCount = 2;
    indexPinOwners(t);
    canvas.setFontSize(labelFontSize(view.scale));
  }
  Rgb at(int x, int y) const { return pixelAt(canvas.image(), x, y); }

  std::unique_ptr<BoardTables> tables = std::make_unique<BoardTables>();
  ViewTransform view{};
  ViewerState state{};
  QtCanvas canvas{200, 150};
  FakeBoardArea area{200, 150};
  RecordingStatusBar status;
  BoardRenderer renderer{canvas, area, status};
};

TEST_F(QtBoardTest, TopViewPixels) {
  canvas.setBrushColour(kWhite);
  canvas.fillRect({0, 0, 200, 150});  // whatever was there before is painted over
  renderer.drawBoard(*tables, view, state);
  EXPECT_EQ(at(5, 5), kBlack) << "background";
  EXPECT_EQ(at(100, 10), kRed) << "outline, mirrored from y 140 to 10";
  EXPECT_EQ(at(20, 65), kTeal) << "left edge of the part frame";
  EXPECT_EQ(at(69, 65), kTeal) << "right edge";
  EXPECT_EQ(at(45, 65), kBlack) << "inside the frame";
  EXPECT_EQ(at(90, 75), kBlue) << "pin circle, radius 10 about (100, 75)";
  EXPECT_EQ(at(100, 75), kBlack) << "unmarked pins are filled black";
  EXPECT_EQ(at(150, 100), kAqua) << "the nail marked with slot 3 is filled";
  EXPECT_EQ(at(145, 95), kAqua);
}

TEST_F(QtBoardTest, BottomViewPixels) {
  view.currentSide = 2;
  renderer.drawBoard(*tables, view, state);
  EXPECT_EQ(status.panels[0], "BOTTOM");
  EXPECT_EQ(at(100, 140), kRed) << "outline, plain on the bottom view";
  EXPECT_EQ(at(90, 75), kGreen) << "through-hole pin on the bottom view";
  EXPECT_EQ(at(20, 65), kBlack) << "the top part is not drawn";
  EXPECT_EQ(at(130, 100), kFuchsia) << "the unmarked bottom nail";
  EXPECT_EQ(at(150, 100), kBlack);
}

// The canvas writes fills, small ellipses and labels into the image itself; the painter-only
// canvas draws the same calls the way the screen has always been drawn. Their images must
// agree pixel for pixel.
class QtCanvasPixelsTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ensureApplication(); }
  static void expectSameImage(const QImage& actual, const QImage& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    if (actual == expected) return;
    int differing = 0;
    QPoint first;
    for (int y = 0; y < actual.height(); ++y) {
      for (int x = 0; x < actual.width(); ++x) {
        if (actual.pixel(x, y) != expected.pixel(x, y) && differing++ == 0) first = {x, y};
      }
    }
    ADD_FAILURE() << differing << " pixels differ, the first at (" << first.x() << ", " << first.y()
                  << "): " << std::hex << actual.pixel(first) << " for " << expected.pixel(first);
  }
  void expectSame() const { expectSameImage(direct.image(), painted.image()); }
  // Both canvases, the same call.
  template <typename Draw>
  void both(Draw draw) {
    draw(direct);
    draw(painted);
  }

  QtCanvas direct{30, 20};
  QtCanvas painted{30, 20, QtCanvas::Drawing::PainterOnly};
};

TEST_F(QtCanvasPixelsTest, ABusySceneAndTheBandOverIt) {
  // Drawn on after a resize, which puts the pixels in a new image.
  both([](QtCanvas& c) {
    c.setBrushColour(kTeal);
    c.fillRect({0, 0, 30, 20});
    c.resize(160, 120);
  });
  both([](QtCanvas& c) { drawBusyScene(c, 160, 120); });
  {
    SCOPED_TRACE("the scene");
    expectSame();
  }
  const QImage scene = direct.image().copy();
  both([](QtCanvas& c) { drawBand(c, 160, 120); });
  {
    SCOPED_TRACE("with the band");
    expectSame();
    EXPECT_NE(direct.image(), scene);
  }
  both([](QtCanvas& c) { drawBand(c, 160, 120); });
  SCOPED_TRACE("the band erased");
  expectSame();
  expectSameImage(direct.image(), scene);
}

TEST_F(QtCanvasPixelsTest, LongRunsOfRandomCalls) {
  struct Case {
    uint32_t seed;
    int width;
    int height;
    int calls;
    const char* why;
  };
  const Case cases[] = {
      {1, 640, 480, 4000, "a screenful of every call"},
      {2, 640, 480, 4000, "another mix"},
      {3, 640, 480, 4000, "and another"},
      {4, 37, 23, 3000, "a screen smaller than most figures: nearly everything is cut"},
      {5, 1, 1, 500, "the smallest screen"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    both([&c](QtCanvas& canvas) {
      canvas.resize(c.width, c.height);
      drawRandomScene(canvas, c.width, c.height, c.seed, c.calls);
    });
    expectSame();
  }
}

TEST_F(QtCanvasPixelsTest, EveryEllipseSizeUpToLargeOnes) {
  // Past the largest stamped size, so the hand-over to the painter is covered too; each size
  // inside the screen at an offset of its own and cut by each edge in turn.
  constexpr int kScreen = 100;
  both([](QtCanvas& c) { c.resize(kScreen, kScreen); });
  for (bool hollow : {false, true}) {
    for (int32_t w = 1; w <= 70; ++w) {
      for (int32_t h = 1; h <= 70; ++h) {
        const int32_t x = (w * 7 + h) % 23;
        const int32_t y = (h * 5 + w) % 19;
        both([&](QtCanvas& c) {
          c.setBrushColour(kBlack);
          c.fillRect({0, 0, kScreen, kScreen});
          c.setPenColour(kBlue);
          hollow ? c.setBrushHollow() : c.setBrushColour(kRed);
          c.ellipse({x, y, x + w, y + h});
          c.ellipse({-w / 2, 40, w - w / 2, 40 + h});
          c.ellipse({kScreen - w / 2, 40, kScreen - w / 2 + w, 40 + h});
          c.ellipse({40, -h / 2, 40 + w, h - h / 2});
          c.ellipse({40, kScreen - h / 2, 40 + w, kScreen - h / 2 + h});
        });
        if (direct.image() != painted.image()) {
          SCOPED_TRACE(std::to_string(w) + " x " + std::to_string(h) + (hollow ? " hollow" : ""));
          return expectSame();
        }
      }
    }
  }
}

TEST_F(QtCanvasPixelsTest, LabelsInManySizesAndColourPairs) {
  // More colour pairs than a label keeps pictures of, so its pictures are dropped and made
  // again; hollow labels show only their glyphs; every label cut by each edge.
  constexpr Rgb kPairs[][2] = {{kRed, kBlack},  {kAqua, kBlack},    {kWhite, kBlack},
                               {kLime, kBlack}, {kYellow, kTeal},   {kBlack, kWhite},
                               {kBlue, kGrey},  {kGreen, kFuchsia}, {kTeal, kYellow},
                               {kGrey, kBlue},  {kFuchsia, kGreen}};
  both([](QtCanvas& c) { c.resize(90, 70); });
  for (int points : {1, 7, 8, 9, 10, 12, 14, 18, 21, 30, 45}) {
    SCOPED_TRACE(std::to_string(points) + " points");
    int n = 0;
    for (std::string_view text : kLabels) {
      for (int round = 0; round < 2; ++round) {
        for (const auto& pair : kPairs) {
          ++n;
          const int32_t x = n % 97 - 20;
          const int32_t y = (n * 13) % 83 - 15;
          both([&](QtCanvas& c) {
            c.setFontSize(points);
            c.setFontColour(pair[0]);
            n % 5 == 0 ? c.setBrushHollow() : c.setBrushColour(pair[1]);
            c.textOut(x, y, text);
          });
        }
      }
    }
    expectSame();
  }
}

TEST_F(QtCanvasPixelsTest, FarOffLabelsAndFiguresLeaveTheScreenAlone) {
  // The label's background is measured in 64 bits: at the far right or bottom its edge must
  // not wrap round and paint the screen.
  constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
  constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
  const int32_t far[] = {kMin, kMin + 10, -(1 << 26), (1 << 26), kMax - 30, kMax - 2, kMax};
  for (QtCanvas* canvas : {&direct, &painted}) {
    SCOPED_TRACE(canvas == &direct ? "direct" : "painter only");
    QtCanvas& c = *canvas;
    const QImage before = c.image().copy();
    c.setFontColour(kYellow);
    c.setPenColour(kRed);
    for (int32_t a : far) {
      for (int32_t b : {kMin, 10, kMax - 5, kMax}) {
        c.setBrushColour(kTeal);
        c.textOut(a, b, "U1234");
        c.textOut(b, a, "U1234");
        const int32_t left = std::min(a, kMax - 2);
        const int32_t top = std::min(b, kMax - 2);
        c.ellipse({left, top, left + 2, top + 2});
        c.setBrushHollow();
        c.textOut(a, b, "Wj_");
      }
    }
    expectSameImage(c.image(), before);
  }
}

}  // namespace
}  // namespace plexaro
