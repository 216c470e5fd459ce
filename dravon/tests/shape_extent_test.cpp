#include "dravon/render/shape_extent.h"

#include <gtest/gtest.h>

namespace dravon {
namespace {

TEST(ShapeExtent, EveryKindAtPlanePositions) {
  struct Case {
    const char* why;
    std::vector<CShape> shapes;
    int32_t resolution;
    int32_t layerCount;
    int32_t x, y, shape;
    CardRect expected;
  };
  const std::vector<Case> cases = {
      {"rectangle halves before dividing: (25/2)/3 = 4, (10/2)/3 = 1",
       {{1, 1, {{25, 10}}}},
       3,
       2,
       100,
       50,
       1,
       {96, 49, 104, 51}},
      {"ellipse like rectangle", {{2, 2, {{24, 12}}}}, 1, 2, 0, 0, 2, {-12, -6, 12, 6}},
      {"offset rectangle is not normalized",
       {{3, -4, {{30, 20}, {-30, -10}}}},
       1,
       2,
       200,
       200,
       3,
       {170, 190, 230, 220}},
      {"offset rectangle divides toward zero",
       {{3, -4, {{-7, 7}, {7, -7}}}},
       3,
       2,
       0,
       0,
       3,
       {2, -2, -2, 2}},
      {"polygon skips pair 1 and adds one unit right and bottom",
       {{4, -1, {{0, 0}, {99, 99}, {10, 0}, {10, 10}}}},
       1,
       2,
       5,
       5,
       4,
       {5, 5, 16, 16}},
      {"padstack takes its front member",
       {{5, -2, {{0, 1}, {0, 2}}}, {1, 1, {{10, 10}}}, {2, 1, {{40, 40}}}},
       1,
       2,
       0,
       0,
       5,
       {-5, -5, 5, 5}},
      {"padstack without a front member takes the back one",
       {{5, -2, {{0, 0}, {0, 0}, {0, 2}}}, {2, 1, {{40, 40}}}},
       1,
       3,
       0,
       0,
       5,
       {-20, -20, 20, 20}},
      {"padstack with fewer pairs than layers and no front member is empty",
       {{5, -2, {{0, 0}, {0, 2}}}, {2, 1, {{40, 40}}}},
       1,
       3,
       0,
       0,
       5,
       {}},
      {"padstack naming itself is empty, not endless", {{5, -2, {{0, 5}}}}, 1, 1, 3, 3, 5, {}},
      {"padstacks naming each other are empty",
       {{5, -2, {{0, 6}}}, {6, -2, {{0, 5}}}},
       1,
       1,
       3,
       3,
       5,
       {}},
      {"padstack without pairs is empty", {{5, -2, {}}}, 1, 2, 3, 3, 5, {}},
      {"rectangle without a pair is empty", {{1, 1, {}}}, 1, 2, 3, 3, 1, {}},
      {"offset rectangle with one pair is empty", {{3, -4, {{1, 1}}}}, 1, 2, 3, 3, 3, {}},
      {"unknown kind has no extent", {{7, 9, {{10, 10}}}}, 1, 2, 3, 3, 7, {}},
      {"a missing shape has no extent", {{1, 1, {{10, 10}}}}, 1, 2, 3, 3, 8, {}},
      {"the first of equal keys counts",
       {{1, 1, {{10, 10}}}, {1, 1, {{90, 90}}}},
       1,
       2,
       0,
       0,
       1,
       {-5, -5, 5, 5}},
      {"huge offsets stay defined",
       {{3, -4, {{INT32_MAX, 0}, {0, 0}}}},
       1,
       2,
       10,
       0,
       3,
       {10, 0, static_cast<int32_t>(int64_t{INT32_MAX} + 10 - (int64_t{1} << 32)), 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CDravonDoc doc;
    doc.shapes = c.shapes;
    doc.resolution = c.resolution;
    doc.layerCount = c.layerCount;
    EXPECT_EQ(shapeExtent(doc, c.x, c.y, c.shape), c.expected);
    EXPECT_EQ(shapeExtent(doc, ShapeIndex(doc.shapes), c.x, c.y, c.shape), c.expected);
  }
}

}  // namespace
}  // namespace dravon
