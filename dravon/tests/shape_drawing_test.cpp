// Shapes placed on small surfaces, checked pixel by pixel where the sizes are fixed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dravon/render/shape_drawing.h"

namespace dravon {
namespace {

constexpr Rgb kInk{200, 10, 10};

// The bounding box of the pixels that are not white, as [left, right) x [top, bottom).
Rect inkedBox(const Surface& s) {
  Rect box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      if (*s.pixel(x, y) == kWhite) continue;
      box.left = std::min(box.left, x);
      box.top = std::min(box.top, y);
      box.right = std::max(box.right, x + 1);
      box.bottom = std::max(box.bottom, y + 1);
    }
  }
  return box.right < box.left ? Rect{} : box;
}

int inkedCount(const Surface& s, Rgb colour) {
  int n = 0;
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) n += *s.pixel(x, y) == colour ? 1 : 0;
  }
  return n;
}

class ShapeDrawingTest : public ::testing::Test {
 protected:
  ShapeDrawingTest() {
    doc.resolution = 1;
    doc.layerCount = 3;
    EXPECT_TRUE(surface.reset(400, 300));
  }
  void add(int32_t index, int8_t type, std::vector<ShapePair> values) {
    doc.shapes.push_back(CShape{index, type, std::move(values)});
  }
  Rect draw(int16_t x, int16_t y, int32_t shape, int topSide) {
    painter.fillRect(surface.bounds(), kWhiteBrush);
    ShapePainter(doc).drawShape(painter, x, y, shape, topSide, kInk);
    return inkedBox(surface);
  }

  CDravonDoc doc;
  Surface surface;
  Painter painter{surface};
};

TEST_F(ShapeDrawingTest, RectangleHalvesAfterDividing) {
  doc.resolution = 3;
  add(1, kShapeRectangle, {{25, 10}});
  EXPECT_EQ(draw(100, 50, 1, 1), (Rect{96, 49, 104, 51}));
  EXPECT_EQ(inkedCount(surface, kInk), 8 * 2) << "filled, no outline of another colour";
}

TEST_F(ShapeDrawingTest, OffsetRectangleFollowsTheSide) {
  struct Case {
    const char* why;
    ShapePair p1;
    int topSide;
    Rect expected;
  };
  for (const Case& c : {Case{"symmetric, front", {-30, -10}, 1, {170, 180, 230, 210}},
                        Case{"symmetric, back", {-30, -10}, 0, {170, 180, 230, 210}},
                        Case{"one-sided, front", {0, -10}, 1, {200, 180, 230, 210}},
                        Case{"one-sided, back: mirrored", {0, -10}, 0, {170, 180, 200, 210}}}) {
    SCOPED_TRACE(c.why);
    doc.shapes.clear();
    add(4, kShapeOffsetRectangle, {{30, 20}, c.p1});
    EXPECT_EQ(draw(200, 200, 4, c.topSide), c.expected);
  }
}

TEST_F(ShapeDrawingTest, PadstackDrawsTheMemberOfEachSide) {
  add(7, kShapeRectangle, {{10, 10}});
  add(9, kShapeRectangle, {{20, 20}});
  add(5, kShapeComposite, {{0, 7}, {0, 0}, {0, 9}});
  struct Case {
    const char* why;
    int32_t layers;
    int topSide;
    Rect expected;
  };
  for (const Case& c : {Case{"front: layer 1's shape 7", 3, 1, {95, 95, 105, 105}},
                        Case{"back with 3 layers: shape 9", 3, 0, {90, 90, 110, 110}},
                        Case{"back with 4 layers: fewer pairs, nothing", 4, 0, {}},
                        Case{"front with 4 layers: still shape 7", 4, 1, {95, 95, 105, 105}}}) {
    SCOPED_TRACE(c.why);
    doc.layerCount = c.layers;
    EXPECT_EQ(draw(100, 100, 5, c.topSide), c.expected);
  }
}

TEST_F(ShapeDrawingTest, PadstackChainsAreFollowedAndCyclesDrawNothing) {
  add(7, kShapeRectangle, {{10, 10}});
  add(5, kShapeComposite, {{0, 6}, {0, 0}, {0, 0}});
  add(6, kShapeComposite, {{0, 7}, {0, 0}, {0, 0}});
  add(8, kShapeComposite, {{0, 8}, {0, 0}, {0, 8}});  // itself
  add(10, kShapeComposite, {{0, 11}, {0, 0}, {0, 0}});
  add(11, kShapeComposite, {{0, 10}, {0, 0}, {0, 0}});  // through another
  EXPECT_EQ(draw(100, 100, 5, 1), (Rect{95, 95, 105, 105}));
  EXPECT_EQ(draw(100, 100, 8, 1), Rect{});
  EXPECT_EQ(draw(100, 100, 8, 0), Rect{});
  EXPECT_EQ(draw(100, 100, 10, 1), Rect{});
}

TEST_F(ShapeDrawingTest, PolygonSkipsPairOneAndMirrorsOnTheBack) {
  add(3, kShapePolygon, {{0, 0}, {99, 99}, {10, 0}, {10, 10}});
  EXPECT_EQ(draw(100, 100, 3, 1), (Rect{100, 90, 111, 101}));
  EXPECT_EQ(*surface.pixel(109, 99), kInk) << "inside the triangle (0,0) (10,0) (10,10)";
  EXPECT_EQ(*surface.pixel(101, 91), kWhite) << "the other half of the box";
  EXPECT_EQ(draw(100, 100, 3, 0), (Rect{90, 90, 101, 101}));
}

TEST_F(ShapeDrawingTest, PolygonsBeyondAThousandVerticesAreDrawnWhole) {
  // A comb of 1500 vertices whose last teeth lie far right: cut at 1000 they would be lost.
  std::vector<ShapePair> values{{0, 0}, {0, 0}};
  for (int k = 0; k < 1200; ++k) {
    values.push_back({k / 4, k % 2 == 0 ? 20 : 10});
  }
  values.push_back({300, 20});
  values.push_back({300, 0});
  add(2, kShapePolygon, values);
  ASSERT_GT(values.size(), 1000u);
  EXPECT_EQ(draw(50, 200, 2, 1).right, 351);
}

TEST_F(ShapeDrawingTest, EllipseHasAnOutlineOfItsOwnColour) {
  add(2, kShapeEllipse, {{24, 24}});
  EXPECT_EQ(draw(100, 100, 2, 1), (Rect{88, 88, 112, 112}));
  EXPECT_EQ(*surface.pixel(100, 88), kInk);
  EXPECT_EQ(*surface.pixel(88, 88), kWhite);
}

TEST_F(ShapeDrawingTest, UnknownShapesAndKindsDrawNothingAndKeepTheSelection) {
  add(1, 9, {{30, 30}});
  add(2, kShapeRectangle, {});
  add(3, kShapeOffsetRectangle, {{1, 1}});
  painter.selectPen(dashedPen(kBlack));
  painter.selectBrush(kHollowBrush);
  for (int32_t shape : {1, 2, 3, 42}) {
    SCOPED_TRACE(shape);
    EXPECT_EQ(draw(100, 100, shape, 1), Rect{});
  }
  add(4, kShapeRectangle, {{10, 10}});
  draw(100, 100, 4, 1);
  EXPECT_EQ(painter.pen(), dashedPen(kBlack));
  EXPECT_EQ(painter.brush(), kHollowBrush);
}

TEST_F(ShapeDrawingTest, ScaledShapesAreOutlinedInBlack) {
  doc.resolution = 3;
  add(1, kShapeRectangle, {{200, 100}});
  painter.fillRect(surface.bounds(), kWhiteBrush);
  ShapePainter(doc).drawShapeScaled(painter, 100, 100, 1, 1, kInk, 2.0);
  // hw = trunc((100 div 3) / 2.0) = 16, hh = trunc((50 div 3) / 2.0) = 8
  EXPECT_EQ(inkedBox(surface), (Rect{84, 92, 116, 108}));
  EXPECT_EQ(*surface.pixel(84, 100), kBlack);
  EXPECT_EQ(*surface.pixel(100, 92), kBlack);
  EXPECT_EQ(*surface.pixel(100, 100), kInk);
}

TEST_F(ShapeDrawingTest, ScaledOffsetRectangleIsNotMirrored) {
  add(4, kShapeOffsetRectangle, {{30, 20}, {0, -10}});
  for (int topSide : {1, 0}) {
    SCOPED_TRACE(topSide);
    painter.fillRect(surface.bounds(), kWhiteBrush);
    ShapePainter(doc).drawShapeScaled(painter, 100, 100, 4, topSide, kInk, 2.0);
    EXPECT_EQ(inkedBox(surface), (Rect{100, 90, 115, 105}));
  }
}

}  // namespace
}  // namespace dravon
