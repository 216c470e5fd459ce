#include "plexaro/platform/qt/qt_canvas.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <memory>

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

}  // namespace
}  // namespace plexaro
