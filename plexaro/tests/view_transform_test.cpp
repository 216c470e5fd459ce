#include "plexaro/display/view_transform.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <memory>
#include <string>

#include "plexaro/tests/recording_canvas.h"

namespace plexaro {
namespace {

using testing::FakeBoardArea;

// A loaded 1000 x 800 board on the top view at the default size 2, in an 800 x 600 area.
class ViewTransformTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tables->fileExtentX = 1000;
    tables->fileExtentY = 800;
    view.extentX = 1000;
    view.extentY = 800;
    view.currentSide = 1;
    view.defaultSize = 2;
    viewAll(view, area);
    area.redraws = 0;
    area.pointerMoves.clear();
  }

  void pointAt(int x, int y) {
    state.mouseX = x;
    state.mouseY = y;
  }

  std::unique_ptr<BoardTables> tables = std::make_unique<BoardTables>();
  ViewTransform view{};
  ViewerState state{};
  FakeBoardArea area{800, 600};
};

TEST_F(ViewTransformTest, QuarterTurnsTurnTheExtentsOneUnitShort) {
  struct Step {
    float angle;
    int32_t extentX, extentY;
  };
  // The single-precision angles lie just off the quarter turns, so the turned extents truncate
  // to one unit less than the exact ones.
  const Step steps[] = {
      {1.5707964f, 799, -1000},
      {3.1415927f, -1000, -799},
      {4.712389f, -799, 1000},
      {0.0f, 1000, 800},  // the fourth turn is back at the start, exactly
  };
  int expectedStep = 0;
  for (const Step& s : steps) {
    expectedStep = (expectedStep + 1) % 4;
    SCOPED_TRACE(expectedStep);
    view.zoomLevel = 7;
    rotateQuarter(view, *tables, area);
    EXPECT_EQ(view.rotationStep, expectedStep);
    EXPECT_EQ(view.rotationAngle, s.angle);
    EXPECT_EQ(view.extentX, s.extentX);
    EXPECT_EQ(view.extentY, s.extentY);
    // Every turn ends with view all on the turned extents.
    EXPECT_EQ(view.zoomLevel, 2);
    EXPECT_EQ(view.offsetX, truncToInt((s.extentX / 2) * static_cast<double>(0.02f) - 400));
    EXPECT_EQ(view.offsetY, truncToInt((s.extentY / 2) * static_cast<double>(0.02f) - 300));
  }
  EXPECT_EQ(area.redraws, 4);
}

TEST_F(ViewTransformTest, AStrayRotationStepTurnsToTheFirstAngle) {
  view.rotationStep = -3;  // no valid step; must not index outside the angles
  rotateQuarter(view, *tables, area);
  EXPECT_EQ(view.rotationStep, 0);
  EXPECT_EQ(view.rotationAngle, 0.0f);
}

TEST_F(ViewTransformTest, ViewAllCentresTheBoardAndThePointer) {
  view.viewCentreX = 11;
  view.viewCentreY = 12;
  view.zoomLevel = 9;
  view.scale = 0.7f;
  viewAll(view, area);

  EXPECT_EQ(view.scale, 0.02f);
  EXPECT_EQ(view.offsetX, -390);  // 500 x 0.02 - 400
  EXPECT_EQ(view.offsetY, -292);
  EXPECT_EQ(view.zoomLevel, 2);
  EXPECT_EQ(view.viewCentreX, 11);
  EXPECT_EQ(view.viewCentreY, 12);
  ASSERT_EQ(area.pointerMoves.size(), 1u);
  EXPECT_EQ(area.pointerMoves[0], (Pixel{400, 300}));
  EXPECT_EQ(area.redraws, 1);

  // The board's middle lands on the area's middle, give or take the truncations.
  refreshAngles(view);
  const Pixel middle = mapPoint(view, ItemKind::Part, 1, 500, 400);
  EXPECT_NEAR(middle.x, 400, 1);
  EXPECT_NEAR(middle.y, 300, 1);
}

TEST_F(ViewTransformTest, ZoomInStepsByOneAndAHalfUntilTheScaleReachesOne) {
  const float expected[] = {0.03f, 0.045f, 0.0675f, 0.10125f, 0.151875f};
  for (float e : expected) {
    const float before = view.scale;
    ASSERT_TRUE(zoomStep(view, state, ZoomDirection::In, area));
    // The product is taken in double and stored in single precision.
    EXPECT_EQ(view.scale, static_cast<float>(static_cast<double>(before) * 1.5));
    EXPECT_NEAR(view.scale, e, 1e-6);
  }
  int ins = static_cast<int>(std::size(expected));
  while (zoomStep(view, state, ZoomDirection::In, area)) ++ins;
  // 0.02 x 1.5^9 is about 0.77, 1.5^10 about 1.15: the tenth step is the last.
  EXPECT_EQ(ins, 10);
  EXPECT_GE(view.scale, 1.0f);
  EXPECT_EQ(view.zoomLevel, 12);
  EXPECT_EQ(area.redraws, 10);
}

TEST_F(ViewTransformTest, AsManyZoomOutsAreAcceptedAsZoomIns) {
  EXPECT_FALSE(zoomStep(view, state, ZoomDirection::Out, area)) << "at the default size";
  EXPECT_EQ(area.redraws, 0);
  for (int k : {1, 3, 10}) {
    SCOPED_TRACE(k);
    viewAll(view, area);
    for (int i = 0; i < k; ++i) ASSERT_TRUE(zoomStep(view, state, ZoomDirection::In, area));
    for (int i = 0; i < k; ++i) ASSERT_TRUE(zoomStep(view, state, ZoomDirection::Out, area));
    EXPECT_FALSE(zoomStep(view, state, ZoomDirection::Out, area));
    EXPECT_EQ(view.zoomLevel, 2);
    EXPECT_NEAR(view.scale, 0.02f, 1e-7);
  }
}

TEST_F(ViewTransformTest, ZoomOutMultipliesByTwoThirds) {
  view.scale = 0.0675f;
  view.zoomLevel = 5;
  ASSERT_TRUE(zoomStep(view, state, ZoomDirection::Out, area));
  EXPECT_EQ(view.scale, static_cast<float>(0.0675f * 0.6666666666666666667L));
  EXPECT_EQ(view.zoomLevel, 4);
}

TEST_F(ViewTransformTest, ZoomBringsThePointToTheMiddleAndThePointerWithIt) {
  pointAt(100, 50);
  const int32_t oldOffsetX = view.offsetX;
  const int32_t oldOffsetY = view.offsetY;
  ASSERT_TRUE(zoomStep(view, state, ZoomDirection::In, area));
  EXPECT_EQ(view.viewCentreX, truncToInt((100.0 + oldOffsetX) / 0.02f));
  EXPECT_EQ(view.viewCentreY, truncToInt((50.0 + oldOffsetY) / 0.02f));
  EXPECT_EQ(view.offsetX, truncToInt(view.viewCentreX * static_cast<double>(view.scale) - 400));
  EXPECT_EQ(view.offsetY, truncToInt(view.viewCentreY * static_cast<double>(view.scale) - 300));
  ASSERT_EQ(area.pointerMoves.size(), 1u);
  EXPECT_EQ(area.pointerMoves[0], (Pixel{400, 300}));
  EXPECT_EQ(area.redraws, 1);
}

TEST_F(ViewTransformTest, ZoomWithThePointerInTheMiddleKeepsTheViewCentre) {
  pointAt(400, 300);
  ASSERT_TRUE(zoomStep(view, state, ZoomDirection::In, area));
  EXPECT_EQ(view.viewCentreX, 500);
  EXPECT_EQ(view.viewCentreY, 400);
  // Offsets are whole pixels truncated toward zero, so later steps may move the centre, but by
  // less than one pixel of the scale they were taken at.
  for (ZoomDirection d : {ZoomDirection::In, ZoomDirection::In, ZoomDirection::Out,
                          ZoomDirection::In, ZoomDirection::Out}) {
    const double onePixel = 1.0 / static_cast<double>(view.scale);
    const int32_t cx = view.viewCentreX;
    const int32_t cy = view.viewCentreY;
    ASSERT_TRUE(zoomStep(view, state, d, area));
    EXPECT_LE(std::abs(view.viewCentreX - cx), onePixel);
    EXPECT_LE(std::abs(view.viewCentreY - cy), onePixel);
  }
}

TEST_F(ViewTransformTest, FlipSideSwapsTopAndBottomOnly) {
  struct Case {
    int32_t from, to;
  };
  const Case cases[] = {{1, 2}, {2, 1}, {0, 1}, {7, 1}};  // anything but the top goes to the top
  view.scale = 0.3f;
  view.offsetX = 17;
  view.offsetY = -4;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.from);
    view.currentSide = c.from;
    flipSide(view, area);
    EXPECT_EQ(view.currentSide, c.to);
    EXPECT_EQ(view.scale, 0.3f);
    EXPECT_EQ(view.offsetX, 17);
    EXPECT_EQ(view.offsetY, -4);
  }
  EXPECT_EQ(area.redraws, 4);
  EXPECT_TRUE(area.pointerMoves.empty());
}

TEST_F(ViewTransformTest, PanMovesByAQuarterOfTheTurnedExtent) {
  struct Case {
    const char* why;
    int32_t extentX, extentY;
    PanDirection direction;
    int32_t offsetX, offsetY;
  };
  // Offsets start at (100, 100), scale 0.5; a quarter extent is extent div 4.
  const Case cases[] = {
      {"left moves toward smaller x", 1000, 800, PanDirection::Left, -25, 100},
      {"right", 1000, 800, PanDirection::Right, 225, 100},
      {"up", 1000, 800, PanDirection::Up, 100, 0},
      {"down", 1000, 800, PanDirection::Down, 100, 200},
      {"negative extent reverses left", -1000, 800, PanDirection::Left, 225, 100},
      {"negative extent reverses down", 1000, -800, PanDirection::Down, 100, 0},
      {"div truncates toward zero: -7 div 4 is -1", -7, 7, PanDirection::Right, 99, 100},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    view.extentX = c.extentX;
    view.extentY = c.extentY;
    view.scale = 0.5f;
    view.offsetX = view.offsetY = 100;
    panQuarter(view, c.direction, area);
    EXPECT_EQ(view.offsetX, c.offsetX);
    EXPECT_EQ(view.offsetY, c.offsetY);
  }
  EXPECT_EQ(area.redraws, static_cast<int>(std::size(cases)));
}

TEST(LabelFontSize, SevenPointsUpToAThirdThenThirtyTimesTheScale) {
  struct Case {
    float scale;
    int points;
  };
  const Case cases[] = {
      {0.0f, 7},       {0.02f, 7}, {0.3f, 7},  // 0.3 x 30 is 9.0000004
      {0.3333333f, 7},                         // just below 10
      {1.0f / 3, 10},                          // 10.0000002: the jump from 7 to 10
      {0.4f, 12},      {0.5f, 15}, {1.0f, 30}, {1.1390625f, 34},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale);
    EXPECT_EQ(labelFontSize(c.scale), c.points);
  }
}

// Mapping tests: a top view at scale 0.5 with offsets, unturned unless a case turns it.
class MapPointTest : public ::testing::Test {
 protected:
  void SetUp() override {
    view.scale = 0.5f;
    view.offsetX = 10;
    view.offsetY = 20;
    view.extentX = 1000;
    view.extentY = 800;
    view.currentSide = 1;
    refreshAngles(view);
  }
  void turn(int step) {
    view.rotationStep = static_cast<int8_t>(step);
    view.rotationAngle = kRotationAngles[static_cast<std::size_t>(step)];
    refreshAngles(view);
  }
  ViewTransform view{};
};

TEST_F(MapPointTest, PlainScalesAndSubtractsTheOffsets) {
  EXPECT_EQ(mapPoint(view, ItemKind::Part, 1, 300, 100), (Pixel{140, 30}));
  EXPECT_EQ(mapPoint(view, ItemKind::Nail, 1, 0, 0), (Pixel{-10, -20}));
  // Truncation toward zero, not down: -0.5 x 0.5 - 10 is -10.25.
  EXPECT_EQ(mapPoint(view, ItemKind::Nail, 1, -1, -1), (Pixel{-10, -20}));
  EXPECT_EQ(mapPoint(view, ItemKind::Nail, 1, 21, 41), (Pixel{0, 0}));
}

TEST_F(MapPointTest, TheTopOutlineIsMirroredAgainstThePlainParts) {
  const Pixel points[] = {{0, 0}, {300, 100}, {999, 799}, {-50, 1200}, {1, 401}};
  for (Pixel p : points) {
    SCOPED_TRACE(std::to_string(p.x) + "," + std::to_string(p.y));
    const Pixel plainMirror = mapPoint(view, ItemKind::Part, 1, p.x, 800 - p.y);
    EXPECT_EQ(mapPoint(view, ItemKind::Outline, 1, p.x, p.y), plainMirror);
    // Through-hole pins are mirrored like the outline; top pins are plain like the parts.
    EXPECT_EQ(mapPoint(view, ItemKind::Pin, 0, p.x, p.y), plainMirror);
    EXPECT_EQ(mapPoint(view, ItemKind::Pin, 1, p.x, 800 - p.y), plainMirror);
  }
}

TEST_F(MapPointTest, APointOnTheMirrorLineStaysOnIt) {
  for (int32_t extentY : {800, 801, -801}) {
    SCOPED_TRACE(extentY);
    view.extentY = extentY;
    const int32_t line = extentY / 2;
    const Pixel plain = mapPoint(view, ItemKind::Part, 1, 123, line);
    EXPECT_EQ(mapPoint(view, ItemKind::Outline, 1, 123, line), plain);
  }
}

TEST_F(MapPointTest, TheMirrorUsesTheTruncatedTurnedY) {
  // ry 400.36 truncates to 400 before mirroring, so the point stays on the line; mirroring the
  // real value would give 399.64 and draw it a pixel higher.
  view.extentY = 800;
  view.scale = 1.0f;
  view.offsetX = view.offsetY = 0;
  view.sinA = 0.0f;
  view.cosA = 1.0009f;  // 400.36 after turning y = 400
  EXPECT_EQ(mapPoint(view, ItemKind::Outline, 1, 0, 400).y, 400);
}

TEST_F(MapPointTest, ATurnedTopViewReflectsPartsPinsAndNailsThroughTheMiddle) {
  turn(1);
  view.extentX = 799;
  view.extentY = -1000;
  const Pixel points[] = {{0, 0}, {300, 100}, {999, 799}};
  for (ItemKind kind : {ItemKind::Part, ItemKind::Pin, ItemKind::Nail}) {
    for (Pixel p : points) {
      SCOPED_TRACE(static_cast<int>(kind));
      // Turned is, up to rounding, the plain pixel of (extentX - rx, extentY - ry).
      const double rx = p.x * static_cast<double>(view.cosA) + p.y * static_cast<double>(view.sinA);
      const double ry =
          -p.x * static_cast<double>(view.sinA) + p.y * static_cast<double>(view.cosA);
      const double ex = (view.extentX - rx) * 0.5 - 10;
      const double ey = (view.extentY - ry) * 0.5 - 20;
      const Pixel got = mapPoint(view, kind, 1, p.x, p.y);
      EXPECT_NEAR(got.x, ex, 1.0);
      EXPECT_NEAR(got.y, ey, 1.0);
    }
  }
  // The outline and through-hole pins stay mirrored while turned.
  ViewTransform unturnedMapping = view;
  unturnedMapping.rotationStep = 0;
  EXPECT_EQ(mapPoint(view, ItemKind::Outline, 1, 300, 100),
            mapPoint(unturnedMapping, ItemKind::Outline, 1, 300, 100));
  EXPECT_EQ(mapPoint(view, ItemKind::Pin, 0, 300, 100),
            mapPoint(unturnedMapping, ItemKind::Pin, 0, 300, 100));
}

TEST_F(MapPointTest, HalfTurnsAndTheBottomViewMapPlain) {
  struct Case {
    const char* why;
    int32_t side;
    int step;
  };
  const Case cases[] = {
      {"top view turned half: plain", 1, 2},
      {"bottom view: plain", 2, 0},
      {"bottom view turned a quarter: still plain", 2, 1},
      {"bottom view turned three quarters", 2, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    view.currentSide = c.side;
    turn(c.step);
    const double rx = 300 * static_cast<double>(view.cosA) + 100 * static_cast<double>(view.sinA);
    const double ry = -300 * static_cast<double>(view.sinA) + 100 * static_cast<double>(view.cosA);
    const Pixel plain{truncToInt(rx * 0.5 - 10), truncToInt(ry * 0.5 - 20)};
    EXPECT_EQ(mapPoint(view, ItemKind::Part, c.side, 300, 100), plain);
    EXPECT_EQ(mapPoint(view, ItemKind::Nail, c.side, 300, 100), plain);
    EXPECT_EQ(mapPoint(view, ItemKind::Pin, c.side, 300, 100), plain);
    if (c.side != 1) {
      EXPECT_EQ(mapPoint(view, ItemKind::Outline, c.side, 300, 100), plain);
      EXPECT_EQ(mapPoint(view, ItemKind::Pin, 0, 300, 100), plain);
    }
  }
}

TEST(TruncToInt, TruncatesTowardZeroAndSaturates) {
  struct Case {
    long double value;
    int32_t result;
  };
  const Case cases[] = {
      {2.9L, 2},
      {-2.9L, -2},
      {-0.5L, 0},
      {2147483647.5L, std::numeric_limits<int32_t>::max()},
      {1e30L, std::numeric_limits<int32_t>::max()},
      {-1e30L, std::numeric_limits<int32_t>::min()},
      {std::numeric_limits<long double>::infinity(), std::numeric_limits<int32_t>::max()},
      {std::numeric_limits<long double>::quiet_NaN(), 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<double>(c.value));
    EXPECT_EQ(truncToInt(c.value), c.result);
  }
}

TEST_F(MapPointTest, FarOffBoardNumbersSaturateInsteadOfWrapping) {
  view.scale = 100.0f;
  EXPECT_EQ(mapPoint(view, ItemKind::Nail, 1, std::numeric_limits<int32_t>::max(), 0).x,
            std::numeric_limits<int32_t>::max());
  EXPECT_EQ(mapPoint(view, ItemKind::Outline, 1, 0, std::numeric_limits<int32_t>::min()).y,
            std::numeric_limits<int32_t>::max());
}

}  // namespace
}  // namespace plexaro
