#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "dravon/render/painter.h"
#include "dravon/render/surface.h"

namespace dravon {
namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 128, 0};
constexpr Rgb kBlue{0, 0, 255};

// Pictures: one string per row, one character per pixel.
char symbolOf(Rgb c) {
  if (c == kWhite) return '.';
  if (c == kBlack) return '#';
  if (c == kRed) return 'r';
  if (c == kGreen) return 'g';
  if (c == kBlue) return 'b';
  return '?';
}

Rgb colourOf(char s) {
  switch (s) {
    case '#':
      return kBlack;
    case 'r':
      return kRed;
    case 'g':
      return kGreen;
    case 'b':
      return kBlue;
    default:
      return kWhite;
  }
}

std::vector<std::string> pictureOf(const Surface& s) {
  std::vector<std::string> rows;
  for (int y = 0; y < s.height(); ++y) {
    std::string row;
    for (int x = 0; x < s.width(); ++x) row += symbolOf(*s.pixel(x, y));
    rows.push_back(row);
  }
  return rows;
}

Surface surfaceOf(const std::vector<std::string>& rows) {
  Surface s(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) s.setPixel(x, y, colourOf(rows[y][x]));
  }
  return s;
}

Surface whiteSurface(int w, int h) {
  Surface s(w, h);
  Painter(s).fillRect(s.bounds(), kWhiteBrush);
  return s;
}

// Draws on a white w x h surface and returns the picture.
std::vector<std::string> draw(int w, int h, const std::function<void(Painter&)>& paint) {
  Surface s = whiteSurface(w, h);
  Painter p(s);
  paint(p);
  return pictureOf(s);
}

using Picture = std::vector<std::string>;

TEST(RasterFillRect, CoversLeftAndTopButNotRightAndBottom) {
  struct Case {
    const char* why;
    Rect rect;
    Picture expected;
  };
  const Case cases[] = {
      {"right and bottom edges are not filled",
       Rect{1, 1, 4, 3},
       {".....", ".###.", ".###.", ".....", "....."}},
      {"an inverted rectangle fills nothing",
       Rect{4, 3, 1, 1},
       {".....", ".....", ".....", ".....", "....."}},
      {"a rectangle of no width fills nothing",
       Rect{2, 0, 2, 5},
       {".....", ".....", ".....", ".....", "....."}},
      {"parts outside the surface are clipped",
       Rect{-3, 3, 2, 99},
       {".....", ".....", ".....", "##...", "##..."}},
      {"extreme coordinates fill the whole surface",
       Rect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX},
       {"#####", "#####", "#####", "#####", "#####"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(draw(5, 5, [&](Painter& p) { p.fillRect(c.rect, solidBrush(kBlack)); }), c.expected);
  }
}

TEST(RasterFillRect, UsesTheSelectedBrushAndHollowFillsNothing) {
  EXPECT_EQ(draw(3, 2,
                 [](Painter& p) {
                   p.selectBrush(solidBrush(kRed));
                   p.fillRect(Rect{0, 0, 2, 1});
                   p.selectBrush(kHollowBrush);
                   p.fillRect(Rect{0, 0, 3, 2});
                 }),
            (Picture{"rr.", "..."}));
}

TEST(RasterLine, WidthOneDrawsUpToButNotIncludingTheEndPoint) {
  struct Case {
    const char* why;
    Point from, to;
    Picture expected;
  };
  const Case cases[] = {
      {"level line", {0, 1}, {4, 1}, {".....", "####.", ".....", ".....", "....."}},
      {"level line drawn right to left",
       {4, 1},
       {0, 1},
       {".....", ".####", ".....", ".....", "....."}},
      {"upright line", {2, 0}, {2, 3}, {"..#..", "..#..", "..#..", ".....", "....."}},
      {"diagonal", {0, 0}, {4, 4}, {"#....", ".#...", "..#..", "...#.", "....."}},
      {"shallow slope rounds to the nearest row",
       {0, 0},
       {4, 2},
       {"#....", ".##..", "...#.", ".....", "....."}},
      {"steep slope: one pixel per row, halves rounded away from the start",
       {0, 4},
       {2, 0},
       {".....", "..#..", ".#...", ".#...", "#...."}},
      {"a line of no length draws nothing",
       {2, 2},
       {2, 2},
       {".....", ".....", ".....", ".....", "....."}},
      {"only the part inside the surface",
       {-10, 2},
       {10, 2},
       {".....", ".....", "#####", ".....", "....."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(draw(5, 5, [&](Painter& p) { p.line(c.from, c.to); }), c.expected);
  }
}

TEST(RasterLine, ClippingDoesNotMoveThePixelsOfALineThatStartsFarOutside) {
  // The same line on a large surface and on a small window of it must agree pixel for pixel.
  const Point from{-700, -300};
  const Point to{923, 517};
  Surface big = whiteSurface(1700, 900);
  {
    Painter p(big);
    p.line(Point{from.x + 800, from.y + 400}, Point{to.x + 800, to.y + 400});
  }
  Surface small = whiteSurface(200, 120);
  {
    Painter p(small);
    p.line(from, to);
  }
  for (int y = 0; y < small.height(); ++y) {
    for (int x = 0; x < small.width(); ++x) {
      ASSERT_EQ(small.pixel(x, y), big.pixel(x + 800, y + 400)) << x << "," << y;
    }
  }
}

// Coordinates and widths from a damaged card must neither overflow nor reach outside the surface
// (the sanitizer build turns either into a failure) and must still draw what is visible.
TEST(RasterPainter, ExtremeCoordinatesAndWidthsAreSafe) {
  constexpr Point kFar{INT32_MAX, INT32_MAX};
  constexpr Point kNear{INT32_MIN, INT32_MIN};
  for (const Pen& pen : {solidPen(1, kBlack), solidPen(9, kBlack), solidPen(INT32_MAX, kBlack),
                         insideFramePen(INT32_MAX, kBlack), dashedPen(kBlack)}) {
    SCOPED_TRACE(pen.width);
    Surface s = whiteSurface(16, 16);
    Painter p(s);
    p.selectPen(pen);
    p.selectBrush(solidBrush(kRed));
    p.line(kNear, kFar);
    p.line(Point{INT32_MAX, INT32_MIN}, Point{INT32_MIN, 8});
    p.line(Point{INT32_MIN, 5}, Point{INT32_MAX, 5});
    EXPECT_EQ(s.pixel(0, 5), kBlack);  // the dash pattern, counted from INT32_MIN, is on here
    if (pen.style != PenStyle::Dash) {
      EXPECT_EQ(s.pixel(15, 5), kBlack);
    }
    for (const Rect box :
         {Rect{kNear.x, kNear.y, kFar.x, kFar.y}, Rect{-5, INT32_MIN, 3, INT32_MAX}}) {
      s = whiteSurface(16, 16);
      p.rectangle(box);
      EXPECT_NE(s.pixel(1, 8), kWhite);
      s = whiteSurface(16, 16);
      p.ellipse(box);
      EXPECT_NE(s.pixel(1, 8), kWhite);
    }
    const std::vector<Point> polygon{kNear, Point{INT32_MAX, INT32_MIN}, kFar, Point{0, 7}};
    p.polygon(polygon);
    p.floodFill(Point{8, 8}, kBlue);
  }
}

TEST(RasterLine, WidePensCoverTheirWidthWithRoundEnds) {
  struct Case {
    const char* why;
    Pen pen;
    Point from, to;
    Picture expected;
  };
  const Case cases[] = {
      {"odd width is centred on the line; the caps reach half the width past both ends",
       solidPen(3, kBlack),
       {2, 3},
       {6, 3},
       {".........", ".........", ".#######.", ".#######.", ".#######.", ".........", "........."}},
      {"even width covers the rows above and at the line",
       solidPen(2, kBlack),
       {2, 3},
       {6, 3},
       {".........", ".........", ".######..", ".######..", ".........", ".........", "........."}},
      {"width 5 has round caps",
       solidPen(5, kBlack),
       {4, 3},
       {5, 3},
       {".........", "...####..", "..######.", "..######.", "..######.", "...####..", "........."}},
      {"inside-frame pens draw lines like solid ones",
       insideFramePen(3, kBlack),
       {2, 3},
       {6, 3},
       {".........", ".........", ".#######.", ".#######.", ".#######.", ".........", "........."}},
      {"width 0 is the thinnest pen",
       solidPen(0, kBlack),
       {2, 3},
       {6, 3},
       {".........", ".........", ".........", "..####...", ".........", ".........", "........."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(draw(9, 7,
                   [&](Painter& p) {
                     p.selectPen(c.pen);
                     p.line(c.from, c.to);
                   }),
              c.expected);
  }
}

TEST(RasterLine, WideLinesCoverThePixelsWithinHalfTheirWidthOfTheSegment) {
  // Reference by distance: pixel centres against the segment between the named pixels' centres
  // (odd widths) or their top-left corners (even widths).
  std::mt19937 random(9);
  for (int round = 0; round < 60; ++round) {
    const int width = 2 + static_cast<int>(random() % 8);
    const Point a{static_cast<int>(random() % 40) - 5, static_cast<int>(random() % 40) - 5};
    const Point b{static_cast<int>(random() % 40) - 5, static_cast<int>(random() % 40) - 5};
    if (a == b) continue;
    SCOPED_TRACE(testing::Message() << "width " << width << " from " << a.x << "," << a.y << " to "
                                    << b.x << "," << b.y);
    Surface s = whiteSurface(30, 30);
    Painter p(s);
    p.selectPen(solidPen(width, kBlack));
    p.line(a, b);
    const double shift = width % 2 == 1 ? 0.5 : 0.0;
    const double ax = a.x + shift, ay = a.y + shift, bx = b.x + shift, by = b.y + shift;
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 30; ++x) {
        const double px = x + 0.5, py = y + 0.5;
        const double dx = bx - ax, dy = by - ay;
        const double t =
            std::clamp(((px - ax) * dx + (py - ay) * dy) / (dx * dx + dy * dy), 0.0, 1.0);
        const double distance = std::hypot(px - (ax + t * dx), py - (ay + t * dy));
        if (std::fabs(distance - width / 2.0) < 1e-6) continue;  // on the edge: either is fine
        ASSERT_EQ(s.pixel(x, y) == kBlack, distance < width / 2.0) << x << "," << y;
      }
    }
  }
}

// A picture drawn in bands of rows, each line only within the band, is the picture of whole lines:
// for every width, dashed and in Xor mode, on lines running off the surface too.
TEST(RasterLine, LinesDrawnBandByBandGiveTheWholeLinesPixels) {
  std::mt19937 random(11);
  struct Case {
    const char* why;
    Pen pen;
    RasterMode mode;
  };
  const Case cases[] = {
      {"thin", solidPen(1, kBlue), RasterMode::Copy},
      {"dashed: the pattern keeps its phase across bands", dashedPen(kBlue), RasterMode::Copy},
      {"even width", insideFramePen(2, kBlue), RasterMode::Copy},
      {"odd width", solidPen(3, kBlue), RasterMode::Copy},
      {"wide", insideFramePen(6, kBlue), RasterMode::Copy},
      {"xor: each pixel once", solidPen(4, kBlue), RasterMode::Xor},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    for (int round = 0; round < 30; ++round) {
      SCOPED_TRACE(round);
      const auto coordinate = [&] { return static_cast<int>(random() % 44) - 6; };
      const Point from{coordinate(), coordinate()};
      const Point to = round % 5 == 0   ? Point{from.x, coordinate()}  // upright
                       : round % 5 == 1 ? Point{coordinate(), from.y}  // level
                                        : Point{coordinate(), coordinate()};
      const int band = 1 + round % 5;
      Surface whole = whiteSurface(32, 32);
      Surface banded = whiteSurface(32, 32);
      Painter w(whole);
      Painter b(banded);
      for (Painter* p : {&w, &b}) {
        p->selectPen(c.pen);
        p->setRasterMode(c.mode);
      }
      w.line(from, to);
      for (int row = -band; row < 32 + band; row += band) b.lineInRows(from, to, row, row + band);
      ASSERT_EQ(pictureOf(banded), pictureOf(whole));
    }
  }
}

TEST(RasterLine, WideOutlineClosesSoAFloodFillStaysInside) {
  // A diamond of width-5 segments, as the card outline is drawn; the fill must not leak out.
  Surface s = whiteSurface(60, 60);
  Painter p(s);
  p.selectPen(insideFramePen(5, kBlack));
  const std::array<Point, 4> corners{Point{30, 5}, Point{55, 30}, Point{30, 55}, Point{5, 30}};
  for (size_t i = 0; i < corners.size(); ++i) p.line(corners[i], corners[(i + 1) % 4]);
  p.selectBrush(solidBrush(kGreen));
  p.floodFill(Point{30, 30}, kBlack);
  EXPECT_EQ(s.pixel(30, 30), kGreen);
  EXPECT_EQ(s.pixel(0, 0), kWhite);
  EXPECT_EQ(s.pixel(59, 59), kWhite);
  EXPECT_EQ(s.pixel(30, 1), kWhite);
}

TEST(RasterLine, DashedPenDrawsEighteenOnAndSixOff) {
  Surface s = whiteSurface(50, 1);
  Painter p(s);
  p.selectPen(dashedPen(kBlack));
  p.line(Point{0, 0}, Point{50, 0});
  EXPECT_EQ(pictureOf(s)[0], std::string(18, '#') + std::string(6, '.') + std::string(18, '#') +
                                 std::string(6, '.') + "##");
}

TEST(RasterRectangle, PenOutlineAndBrushInterior) {
  struct Case {
    const char* why;
    Pen pen;
    Brush brush;
    Rect box;
    Picture expected;
  };
  const Case cases[] = {
      {"a width-1 outline stays inside the box",
       solidPen(1, kBlack),
       solidBrush(kRed),
       Rect{1, 1, 6, 5},
       {"........", ".#####..", ".#rrr#..", ".#rrr#..", ".#####..", "........"}},
      {"an inverted box is normalized",
       solidPen(1, kBlack),
       solidBrush(kRed),
       Rect{6, 5, 1, 1},
       {"........", ".#####..", ".#rrr#..", ".#rrr#..", ".#####..", "........"}},
      {"an inside-frame pen keeps its width inside the box",
       insideFramePen(2, kBlack),
       solidBrush(kRed),
       Rect{1, 0, 7, 6},
       {".######.", ".######.", ".##rr##.", ".##rr##.", ".######.", ".######."}},
      {"a wide solid pen straddles the box edge",
       solidPen(2, kBlack),
       solidBrush(kRed),
       Rect{2, 2, 7, 6},
       {"........", ".######.", ".######.", ".##rr##.", ".######.", ".######."}},
      {"a hollow brush leaves the interior",
       solidPen(1, kBlack),
       kHollowBrush,
       Rect{0, 0, 4, 4},
       {"####....", "#..#....", "#..#....", "####....", "........", "........"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(draw(8, 6,
                   [&](Painter& p) {
                     p.selectPen(c.pen);
                     p.selectBrush(c.brush);
                     p.rectangle(c.box);
                   }),
              c.expected);
  }
}

TEST(RasterRectangle, DashedOutlineKeepsItsPatternAroundTheCorners) {
  // 10 x 10 box: 36 outline pixels clockwise from the top-left, 18 on, 6 off, 12 on: the gap
  // takes the right edge's last pixel and the first five of the bottom edge.
  Surface s = whiteSurface(10, 10);
  Painter p(s);
  p.selectPen(dashedPen(kBlack));
  p.selectBrush(kHollowBrush);
  p.rectangle(Rect{0, 0, 10, 10});
  EXPECT_EQ(pictureOf(s),
            (Picture{"##########", "#........#", "#........#", "#........#", "#........#",
                     "#........#", "#........#", "#........#", "#........#", "####......"}));
}

TEST(RasterEllipse, PixelsWhoseCentresLieInsideTheBox) {
  struct Case {
    const char* why;
    Pen pen;
    Rect box;
    Picture expected;
  };
  const Case cases[] = {
      {"a 6 x 6 drill hole spans exactly 6 x 6 pixels",
       solidPen(1, kBlack),
       Rect{1, 1, 7, 7},
       {"........", "..####..", ".#rrrr#.", ".#rrrr#.", ".#rrrr#.", ".#rrrr#.", "..####..",
        "........"}},
      {"an inside-frame pen of width 2 stays inside the box",
       insideFramePen(2, kBlack),
       Rect{0, 0, 8, 8},
       {"..####..", ".######.", "###rr###", "##rrrr##", "##rrrr##", "###rr###", ".######.",
        "..####.."}},
      {"a one-pixel box is one pixel",
       solidPen(1, kBlack),
       Rect{3, 3, 4, 4},
       {"........", "........", "........", "...#....", "........", "........", "........",
        "........"}},
      {"a box of no height draws nothing",
       solidPen(1, kBlack),
       Rect{0, 3, 8, 3},
       {"........", "........", "........", "........", "........", "........", "........",
        "........"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(draw(8, 8,
                   [&](Painter& p) {
                     p.selectPen(c.pen);
                     p.selectBrush(solidBrush(kRed));
                     p.ellipse(c.box);
                   }),
              c.expected);
  }
}

TEST(RasterPolygon, EvenOddInteriorAndOutlineThroughTheVertices) {
  struct Case {
    const char* why;
    std::vector<Point> vertices;
    Picture expected;
  };
  const Case cases[] = {
      {"a square polygon's outline includes its right and bottom edges",
       {{1, 1}, {5, 1}, {5, 4}, {1, 4}},
       {".......", ".#####.", ".#rrr#.", ".#rrr#.", ".#####.", ".......", "......."}},
      {"a triangle: every vertex pixel is drawn",
       {{0, 0}, {6, 0}, {6, 6}},
       {"#######", ".#rrrr#", "..#rrr#", "...#rr#", "....#r#", ".....##", "......#"}},
      {"a square inside a square, same direction: the hole stays by the even-odd rule",
       {{0, 0}, {6, 0}, {6, 6}, {0, 6}, {0, 0}, {2, 2}, {4, 2}, {4, 4}, {2, 4}, {2, 2}},
       {"#######", "##rrrr#", "#r###r#", "#r#.#r#", "#r###r#", "#rrrrr#", "#######"}},
      {"two vertices draw the outline only",
       {{1, 3}, {5, 3}},
       {".......", ".......", ".......", ".#####.", ".......", ".......", "......."}},
      {"a single vertex draws nothing",
       {{3, 3}},
       {".......", ".......", ".......", ".......", ".......", ".......", "......."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(draw(7, 7,
                   [&](Painter& p) {
                     p.selectBrush(solidBrush(kRed));
                     p.polygon(c.vertices);
                   }),
              c.expected);
  }
}

TEST(RasterPolygon, AgreesWithTheEvenOddRuleAndItsEdgesOnRandomPolygons) {
  std::mt19937 random(21);
  for (int round = 0; round < 60; ++round) {
    SCOPED_TRACE(round);
    std::vector<Point> vertices(3 + random() % 10);
    for (Point& v : vertices) {
      v = Point{static_cast<int>(random() % 40) - 5, static_cast<int>(random() % 40) - 5};
    }
    Surface s = whiteSurface(30, 30);
    {
      Painter p(s);
      p.selectBrush(solidBrush(kRed));
      p.polygon(vertices);
    }
    // The outline must be exactly the edges drawn as lines.
    Surface edges = whiteSurface(30, 30);
    {
      Painter p(edges);
      for (size_t i = 0; i < vertices.size(); ++i) {
        p.line(vertices[i], vertices[(i + 1) % vertices.size()]);
      }
    }
    for (int y = 0; y < 30; ++y) {
      for (int x = 0; x < 30; ++x) {
        const bool onEdge = edges.pixel(x, y) == kBlack;
        // Even-odd: crossings of the ray from the pixel centre to the right.
        const double px = x + 0.5, py = y + 0.5;
        int crossings = 0;
        for (size_t i = 0; i < vertices.size(); ++i) {
          const Point a = vertices[i];
          const Point b = vertices[(i + 1) % vertices.size()];
          if ((a.y <= py) == (b.y <= py)) continue;
          const double cx = a.x + (py - a.y) * (static_cast<double>(b.x) - a.x) /
                                      (static_cast<double>(b.y) - a.y);
          crossings += cx > px;
        }
        const Rgb expected = onEdge ? kBlack : crossings % 2 == 1 ? kRed : kWhite;
        ASSERT_EQ(s.pixel(x, y), expected) << x << "," << y;
      }
    }
  }
}

TEST(RasterPolygon, AHugeVertexCountFillsTheInsideOnly) {
  // A circle of 200000 vertices; the fill must still cover its inside and nothing outside.
  std::vector<Point> circle;
  for (int i = 0; i < 200000; ++i) {
    const double angle = i * 2.0 * 3.14159265358979 / 200000;
    circle.push_back(Point{static_cast<int>(1000 + 900 * std::cos(angle)),
                           static_cast<int>(1000 + 900 * std::sin(angle))});
  }
  Surface s = whiteSurface(2000, 2000);
  Painter p(s);
  p.selectPen(solidPen(1, kRed));
  p.selectBrush(solidBrush(kRed));
  p.polygon(circle);
  EXPECT_EQ(s.pixel(1000, 1000), kRed);
  EXPECT_EQ(s.pixel(1000, 150), kRed);
  EXPECT_EQ(s.pixel(1000, 50), kWhite);
  EXPECT_EQ(s.pixel(50, 50), kWhite);
}

TEST(RasterFloodFill, FillsUpToTheBorderColour) {
  const Picture start{
      "..#....", ".#.#.b.", "#...#..", ".#.#...", "..#..#.",
  };
  struct Case {
    const char* why;
    Point seed;
    Brush brush;
    Picture expected;
  };
  const Case cases[] = {
      {"the diamond's inside; diagonal border pixels hold a 4-connected fill",
       {2, 2},
       solidBrush(kRed),
       {"..#....", ".#r#.b.", "#rrr#..", ".#r#...", "..#..#."}},
      {"outside: other colours are filled over; corners cut off diagonally stay",
       {6, 0},
       solidBrush(kRed),
       {"..#rrrr", ".#.#rrr", "#...#rr", ".#.#rrr", "..#rr#r"}},
      {"a seed on the border fills nothing", {2, 0}, solidBrush(kRed), start},
      {"a seed outside the surface fills nothing", {-1, 2}, solidBrush(kRed), start},
      {"a hollow brush fills nothing", {2, 2}, kHollowBrush, start},
      {"a brush of the border colour still fills the whole area",
       {2, 2},
       solidBrush(kBlack),
       {"..#....", ".###.b.", "#####..", ".###...", "..#..#."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    Surface s = surfaceOf(start);
    Painter p(s);
    p.selectBrush(c.brush);
    p.floodFill(c.seed, kBlack);
    EXPECT_EQ(pictureOf(s), c.expected);
  }
}

TEST(RasterFloodFill, XorModeInvertsTheAreaOnceEvenWhereItTurnsIntoTheBorderColour) {
  // White inverted is black, the border colour: the fill must neither stop at pixels it has
  // just inverted nor invert any pixel twice.
  Surface s = surfaceOf({"#####", "#...#", "#.r.#", "#...#", "##.##"});
  Painter p(s);
  p.selectBrush(kWhiteBrush);
  p.setRasterMode(RasterMode::Xor);
  p.floodFill(Point{1, 1}, kBlack);
  const Rgb cyan{0, 255, 255};  // inverted red
  EXPECT_EQ(s.pixel(2, 2), cyan);
  s.setPixel(2, 2, kBlack);
  EXPECT_EQ(pictureOf(s), (Picture{"#####", "#####", "#####", "#####", "#####"}));
}

TEST(RasterFloodFill, AgreesWithAPlainFourWayFillOnRandomMazes) {
  std::mt19937 random(3);
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    const int w = 5 + static_cast<int>(random() % 40);
    const int h = 5 + static_cast<int>(random() % 30);
    Surface s = whiteSurface(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const unsigned r = random() % 100;
        if (r < 35)
          s.setPixel(x, y, kBlack);
        else if (r < 45)
          s.setPixel(x, y, kRed);
      }
    }
    const Point seed{static_cast<int>(random() % w), static_cast<int>(random() % h)};
    // Reference: breadth-first over 4-neighbours that are not black.
    std::vector<bool> reached(static_cast<size_t>(w * h), false);
    if (s.pixel(seed.x, seed.y) != kBlack) {
      std::vector<Point> queue{seed};
      reached[seed.y * w + seed.x] = true;
      for (size_t i = 0; i < queue.size(); ++i) {
        const Point p = queue[i];
        for (const Point n :
             {Point{p.x - 1, p.y}, Point{p.x + 1, p.y}, Point{p.x, p.y - 1}, Point{p.x, p.y + 1}}) {
          if (!s.contains(n.x, n.y) || reached[n.y * w + n.x] || s.pixel(n.x, n.y) == kBlack) {
            continue;
          }
          reached[n.y * w + n.x] = true;
          queue.push_back(n);
        }
      }
    }
    Surface expected = s;
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        if (reached[y * w + x]) expected.setPixel(x, y, kBlue);
      }
    }
    Painter p(s);
    // The runs alone: exactly the reached pixels, each once, and nothing painted.
    const std::vector<std::string> before = pictureOf(s);
    std::vector<int> covered(static_cast<size_t>(w * h), 0);
    p.floodFillRuns(seed, kBlack, [&](const RowRun& run) {
      for (int x = run.x0; x < run.x1; ++x) ++covered[run.y * w + x];
    });
    for (size_t i = 0; i < covered.size(); ++i) ASSERT_EQ(covered[i], reached[i] ? 1 : 0) << i;
    ASSERT_EQ(pictureOf(s), before);
    p.selectBrush(solidBrush(kBlue));
    p.floodFill(seed, kBlack);
    ASSERT_EQ(pictureOf(s), pictureOf(expected));
  }
}

// Runs are scanned in blocks of pixels: the border must stop the fill at every place in a block.
TEST(RasterFloodFill, StopsAtTheBorderWhereverItLiesInARow) {
  constexpr int kWidth = 70;
  for (int border = 1; border < kWidth; ++border) {
    SCOPED_TRACE(border);
    Surface s = whiteSurface(kWidth, 1);
    s.setPixel(border, 0, kBlack);
    Painter p(s);
    p.selectBrush(solidBrush(kBlue));
    p.floodFill(Point{0, 0}, kBlack);
    const std::string expected =
        std::string(border, 'b') + '#' + std::string(kWidth - border - 1, '.');
    ASSERT_EQ(pictureOf(s)[0], expected);
  }
}

TEST(RasterFloodFill, LargeWindingAreaNeedsNoDeepRecursion) {
  // A comb of walls makes the fill snake through every row of a large surface.
  Surface s = whiteSurface(2000, 2000);
  Painter p(s);
  p.selectBrush(solidBrush(kBlack));
  for (int y = 1; y < 2000; y += 2) {
    const int gap = (y / 2) % 2 == 0 ? 1999 : 0;
    p.fillRect(Rect{0, y, 2000, y + 1});
    s.setPixel(gap, y, kWhite);
  }
  p.selectBrush(solidBrush(kRed));
  p.floodFill(Point{0, 0}, kBlack);
  EXPECT_EQ(s.pixel(1000, 1998), kRed);
  EXPECT_EQ(s.pixel(0, 1), kBlack);
}

// In Xor mode every pixel a figure covers must be inverted exactly once, even where outline and
// interior, two edges or two wide segments overlap; drawing it twice restores the surface.
TEST(RasterXorMode, EachCoveredPixelIsInvertedOnce) {
  struct Case {
    const char* why;
    Pen pen;
    Brush brush;
    std::function<void(Painter&)> figure;
  };
  const std::vector<Point> triangle{{10, 30}, {40, 6}, {34, 0}};  // the marker's narrow tip
  const std::vector<Point> star{{20, 0}, {32, 38}, {0, 14}, {40, 14}, {8, 38}};
  const Case cases[] = {
      {"rubber band: dashed pen and white brush", dashedPen(kWhite), kWhiteBrush,
       [](Painter& p) {
         p.rectangle(Rect{3, 4, 37, 33});
       }},
      {"triangle whose edges meet at a sharp tip", insideFramePen(1, kWhite), kWhiteBrush,
       [&](Painter& p) { p.polygon(triangle); }},
      {"self-crossing polygon with a wide outline", solidPen(4, kWhite), kWhiteBrush,
       [&](Painter& p) { p.polygon(star); }},
      {"ellipse with a wide inside-frame outline", insideFramePen(3, kWhite), kWhiteBrush,
       [](Painter& p) {
         p.ellipse(Rect{2, 3, 35, 30});
       }},
      {"thin line", solidPen(1, kWhite), kWhiteBrush,
       [](Painter& p) {
         p.line(Point{1, 38}, Point{40, 3});
       }},
      {"wide line", solidPen(7, kWhite), kWhiteBrush,
       [](Painter& p) {
         p.line(Point{3, 35}, Point{37, 2});
       }},
      {"fill rectangle", solidPen(1, kWhite), kWhiteBrush,
       [](Painter& p) {
         p.fillRect(Rect{5, 5, 20, 9});
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    // Which pixels the figure covers, from a copy-mode drawing in white on black.
    Surface coverage(42, 40);
    {
      Painter p(coverage);
      p.selectPen(c.pen);
      p.selectBrush(c.brush);
      c.figure(p);
    }
    // A patterned ground, so that a pixel inverted twice or not at all shows.
    Surface ground(42, 40);
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 42; ++x) {
        ground.setPixel(x, y, Rgb{static_cast<uint8_t>(x * 6), static_cast<uint8_t>(y * 6), 77});
      }
    }
    Surface s = ground;
    Painter p(s);
    p.selectPen(c.pen);
    p.selectBrush(c.brush);
    EXPECT_EQ(p.setRasterMode(RasterMode::Xor), RasterMode::Copy);
    c.figure(p);
    int covered = 0;
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 42; ++x) {
        const Rgb g = *ground.pixel(x, y);
        const Rgb inverted{static_cast<uint8_t>(~g.red), static_cast<uint8_t>(~g.green),
                           static_cast<uint8_t>(~g.blue)};
        const bool isCovered = coverage.pixel(x, y) == kWhite;
        covered += isCovered;
        ASSERT_EQ(s.pixel(x, y), isCovered ? inverted : g) << x << "," << y;
      }
    }
    EXPECT_GT(covered, 20);
    c.figure(p);
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 42; ++x) ASSERT_EQ(s.pixel(x, y), ground.pixel(x, y)) << x << "," << y;
    }
  }
}

TEST(RasterSelection, SelectReturnsThePreviousAndTheScopeRestoresIt) {
  Surface s(4, 4);
  Painter p(s);
  EXPECT_EQ(p.pen(), solidPen(1, kBlack));
  EXPECT_EQ(p.brush(), kWhiteBrush);
  {
    SelectionScope scope(p);
    EXPECT_EQ(p.selectPen(insideFramePen(5, kBlack)), solidPen(1, kBlack));
    EXPECT_EQ(p.selectBrush(solidBrush(kGreen)), kWhiteBrush);
    p.selectPen(dashedPen(kRed));
    EXPECT_EQ(p.pen(), dashedPen(kRed));
  }
  EXPECT_EQ(p.pen(), solidPen(1, kBlack));
  EXPECT_EQ(p.brush(), kWhiteBrush);
}

TEST(RasterPainter, FiguresOnAnEmptySurfaceDoNothing) {
  Surface empty;
  Painter p(empty);
  p.fillRect(Rect{0, 0, 10, 10});
  p.line(Point{0, 0}, Point{5, 5});
  p.rectangle(Rect{0, 0, 5, 5});
  p.ellipse(Rect{0, 0, 5, 5});
  const std::vector<Point> tri{{0, 0}, {5, 0}, {5, 5}};
  p.polygon(tri);
  p.floodFill(Point{0, 0}, kBlack);
  EXPECT_FALSE(p.pixel(Point{0, 0}).has_value());
}

}  // namespace
}  // namespace dravon
