#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "dravon/render/surface.h"

namespace dravon {
namespace {

constexpr Rgb kRed{255, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kGrey{192, 192, 192};

using Picture = std::vector<std::string>;

// '.' white, '#' black, 'r' red, 'g' green, 's' silver grey; others show as '?'.
Surface surfaceOf(const Picture& rows) {
  Surface s(static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
  for (int y = 0; y < s.height(); ++y) {
    for (int x = 0; x < s.width(); ++x) {
      const char c = rows[y][x];
      s.setPixel(x, y,
                 c == '#'   ? kBlack
                 : c == 'r' ? kRed
                 : c == 'g' ? kGreen
                 : c == 's' ? kGrey
                            : kWhite);
    }
  }
  return s;
}

Picture pictureOf(const Surface& s) {
  Picture rows;
  for (int y = 0; y < s.height(); ++y) {
    std::string row;
    for (int x = 0; x < s.width(); ++x) {
      const Rgb c = *s.pixel(x, y);
      row += c == kWhite   ? '.'
             : c == kBlack ? '#'
             : c == kRed   ? 'r'
             : c == kGreen ? 'g'
             : c == kGrey  ? 's'
                           : '?';
    }
    rows.push_back(row);
  }
  return rows;
}

TEST(RasterSurface, RefusesSizesItCannotHold) {
  struct Case {
    const char* why;
    int w, h;
    bool ok;
  };
  const Case cases[] = {
      {"an ordinary size", 7, 3, true},
      {"zero width", 0, 5, false},
      {"negative height", 5, -1, false},
      {"more pixels than allowed", 32767, 32767, false},
      {"both at the int limit, whose product overflows 32 bits", INT_MAX, INT_MAX, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    Surface s(3, 3);
    EXPECT_EQ(s.reset(c.w, c.h), c.ok);
    EXPECT_EQ(s.isEmpty(), !c.ok);
    EXPECT_EQ(s.width(), c.ok ? c.w : 0);
    EXPECT_FALSE(s.pixel(0, 0).has_value() && !c.ok);
  }
}

// A reset that keeps the memory of the same size must still leave no pixel of the old picture.
TEST(RasterSurface, ResetFillsEveryPixelAlsoWhereItKeepsTheMemory) {
  struct Case {
    const char* why;
    int w, h;
    Rgb fill;
  };
  const Case cases[] = {
      {"same size: the memory is kept and written over", 5, 3, kWhite},
      {"same pixel count in another shape", 3, 5, kGreen},
      {"another size: new memory", 9, 2, kRed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    Surface s = surfaceOf({"#r.g#", "sgr.#", "r#g.s"});
    ASSERT_TRUE(s.reset(c.w, c.h, c.fill));
    EXPECT_EQ(s.width(), c.w);
    EXPECT_EQ(s.height(), c.h);
    const Picture expected(c.h, std::string(c.w, pictureOf(Surface(1, 1, c.fill))[0][0]));
    EXPECT_EQ(pictureOf(s), expected);
  }
  Surface s(4, 4, kRed);
  EXPECT_FALSE(s.reset(4, 0, kRed));
  EXPECT_TRUE(s.isEmpty()) << "a refused size releases the old picture";
  EXPECT_EQ(s.memoryBytes(), 0u);
}

TEST(RasterSurface, CopiesAreWholeAndIndependent) {
  const Surface source = surfaceOf({"#r.", "gs#"});
  struct Case {
    const char* why;
    Surface target;
  };
  Case cases[] = {
      {"empty target", Surface()},
      {"target of the same size holding another picture", surfaceOf({"ggg", "rrr"})},
      {"target of another size", Surface(7, 5, kRed)},
  };
  for (Case& c : cases) {
    SCOPED_TRACE(c.why);
    c.target = source;
    EXPECT_EQ(pictureOf(c.target), pictureOf(source));
    c.target.setPixel(0, 0, kWhite);
    EXPECT_EQ(source.pixel(0, 0), kBlack) << "the copy has pixels of its own";
  }
  Surface copy(source);
  EXPECT_EQ(pictureOf(copy), pictureOf(source));
  Surface moved(std::move(copy));
  EXPECT_EQ(pictureOf(moved), pictureOf(source));
  EXPECT_TRUE(copy.isEmpty());  // NOLINT(bugprone-use-after-move): moved-from is empty
  EXPECT_FALSE(copy.pixel(0, 0).has_value());
  copy = std::move(moved);
  EXPECT_EQ(pictureOf(copy), pictureOf(source));
  EXPECT_TRUE(moved.isEmpty());  // NOLINT(bugprone-use-after-move)
  copy = Surface();
  EXPECT_TRUE(copy.isEmpty());
}

TEST(RasterSurface, PixelsAreRgb32RowsAPitchApart) {
  Surface s(5, 2);
  ASSERT_GE(s.pitch(), 5);
  EXPECT_EQ(s.bytesPerLine(), s.pitch() * 4);
  EXPECT_EQ(s.pixel(4, 1), kBlack);  // a new surface is black
  s.setPixel(4, 1, Rgb{0x12, 0x34, 0x56});
  s.setPixel(5, 1, kRed);   // outside: ignored
  s.setPixel(-1, 0, kRed);  // outside: ignored
  EXPECT_EQ(s.row(1)[4], 0xff123456u);
  uint32_t stored = 0;
  std::memcpy(&stored, s.bits() + s.bytesPerLine() + 4 * 4, 4);
  EXPECT_EQ(stored, 0xff123456u);
  EXPECT_EQ(s.pixel(4, 1), (Rgb{0x12, 0x34, 0x56}));
  EXPECT_FALSE(s.pixel(5, 0).has_value());
  EXPECT_FALSE(s.pixel(0, 2).has_value());
  EXPECT_FALSE(s.pixel(-1, 0).has_value());
  EXPECT_EQ(s.row(0)[0], 0xff000000u);
}

TEST(RasterCopyBlock, CopiesOnlyWhatBothSurfacesHold) {
  const Picture source{"rg#", "s.r"};
  struct Case {
    const char* why;
    int dstX, dstY, srcX, srcY, w, h;
    Picture expected;
  };
  const Case cases[] = {
      {"whole block", 1, 1, 0, 0, 3, 2, {"....", ".rg#", ".s.r"}},
      {"clipped at the destination's right and bottom", 2, 2, 0, 0, 3, 2, {"....", "....", "..rg"}},
      {"clipped at the destination's left and top", -1, -1, 0, 0, 3, 2, {".r..", "....", "...."}},
      {"a source block partly outside the source", 0, 0, 1, -1, 5, 5, {"....", "g#..", ".r.."}},
      {"no size copies nothing", 0, 0, 0, 0, 0, 2, {"....", "....", "...."}},
      {"extreme offsets copy nothing",
       INT_MAX,
       0,
       INT_MIN,
       0,
       INT_MAX,
       2,
       {"....", "....", "...."}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const Surface src = surfaceOf(source);
    Surface dst = surfaceOf({"....", "....", "...."});
    copyBlock(dst, c.dstX, c.dstY, src, c.srcX, c.srcY, c.w, c.h);
    EXPECT_EQ(pictureOf(dst), c.expected);
  }
}

TEST(RasterCopyBlock, OverlappingCopyWithinOneSurface) {
  const Picture start{"rg#.", "s.r.", "#gs.", "...."};
  Surface down = surfaceOf(start);
  copyBlock(down, 1, 1, down, 0, 0, 3, 3);
  EXPECT_EQ(pictureOf(down), (Picture{"rg#.", "srg#", "#s.r", ".#gs"}));
  Surface up = surfaceOf(start);
  copyBlock(up, 0, 0, up, 1, 1, 3, 3);
  EXPECT_EQ(pictureOf(up), (Picture{".r..", "gs..", "....", "...."}));
}

TEST(RasterStretch, ShrinkingAndsTheSourcePixelsOfEachDestinationPixel) {
  struct Case {
    const char* why;
    Picture source;
    Rect dst;
    Picture expected;
  };
  const Case cases[] = {
      {"a thin black line survives halving",
       {"..#.", "..#.", "..#.", "..#."},
       Rect{0, 0, 2, 2},
       {".#", ".#"}},
      {"red AND green is black", {"rg", "rr"}, Rect{0, 0, 1, 1}, {"#"}},
      {"silver AND white stays silver", {"s.", ".."}, Rect{0, 0, 1, 1}, {"s"}},
      {"3 to 2 columns: the second pixel takes two source columns",
       {"rgr"},
       Rect{0, 0, 2, 1},
       {"r#"}},
      {"growing repeats each pixel",
       {"r#", ".g"},
       Rect{0, 0, 4, 4},
       {"rr##", "rr##", "..gg", "..gg"}},
      {"growing in x while shrinking in y", {"r.", "g."}, Rect{0, 0, 4, 1}, {"##.."}},
      {"the same size copies", {"rg", "#s"}, Rect{0, 0, 2, 2}, {"rg", "#s"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    const Surface src = surfaceOf(c.source);
    Surface dst(c.dst.right, c.dst.bottom);
    stretchBlock(dst, c.dst, src, src.bounds());
    EXPECT_EQ(pictureOf(dst), c.expected);
  }
}

// The plain definition: destination pixel d of an axis reads source pixels
// [d * s / dw, max((d + 1) * s / dw, d * s / dw + 1)), ANDed.
Rgb referenceStretchPixel(const Surface& src, Rect srcRect, int dw, int dh, int dx, int dy) {
  const int sw = srcRect.right - srcRect.left;
  const int sh = srcRect.bottom - srcRect.top;
  const int x0 = dx * sw / dw;
  const int x1 = std::max((dx + 1) * sw / dw, x0 + 1);
  const int y0 = dy * sh / dh;
  const int y1 = std::max((dy + 1) * sh / dh, y0 + 1);
  uint32_t v = 0xffffffffu;
  for (int y = y0; y < y1; ++y) {
    for (int x = x0; x < x1; ++x) {
      const auto p = src.pixel(srcRect.left + x, srcRect.top + y);
      v &= p ? packPixel(*p) : 0xffffffffu;
    }
  }
  return unpackPixel(v);
}

TEST(RasterStretch, AgreesWithThePlainDefinitionAtManyScales) {
  std::mt19937 random(5);
  Surface src(61, 47);
  for (int y = 0; y < src.height(); ++y) {
    for (int x = 0; x < src.width(); ++x) {
      const uint32_t bits = random();
      src.setPixel(x, y, unpackPixel(bits | 0x00a5a5a5u));  // dense enough to survive some ANDs
    }
  }
  struct Case {
    const char* why;
    Rect srcRect;
    int dw, dh;
  };
  const Case cases[] = {
      {"shrink by about 3.7, as a large card at fit", Rect{0, 0, 61, 47}, 16, 13},
      {"shrink by 9 and more: several table levels", Rect{0, 0, 61, 47}, 6, 5},
      {"shrink to one pixel", Rect{0, 0, 61, 47}, 1, 1},
      {"grow by an odd factor", Rect{3, 5, 10, 9}, 23, 29},
      {"shrink in x, grow in y", Rect{0, 0, 61, 4}, 7, 19},
      {"a source part overhanging the source", Rect{50, 40, 70, 52}, 9, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    Surface dst(c.dw, c.dh);
    stretchBlock(dst, Rect{0, 0, c.dw, c.dh}, src, c.srcRect);
    for (int y = 0; y < c.dh; ++y) {
      for (int x = 0; x < c.dw; ++x) {
        ASSERT_EQ(dst.pixel(x, y), referenceStretchPixel(src, c.srcRect, c.dw, c.dh, x, y))
            << x << "," << y;
      }
    }
  }
}

TEST(RasterStretch, OnlyTheVisiblePartIsDrawnAndItMatchesTheWholePicture) {
  // A 37 x 23 source stretched to 101 x 61 and shrunk to 13 x 9: a viewport into the middle of
  // the stretched picture must show exactly the pixels of the whole stretched picture there.
  Surface src(37, 23);
  for (int y = 0; y < 23; ++y) {
    for (int x = 0; x < 37; ++x) {
      src.setPixel(x, y,
                   Rgb{static_cast<uint8_t>(x * 7 + y), static_cast<uint8_t>(y * 11),
                       static_cast<uint8_t>(x ^ y)});
    }
  }
  for (const Rect picture : {Rect{0, 0, 101, 61}, Rect{0, 0, 13, 9}}) {
    SCOPED_TRACE(picture.right);
    Surface whole(picture.right, picture.bottom);
    stretchBlock(whole, picture, src, src.bounds());
    // The viewport shows the picture scrolled by (5, 3).
    Surface view(8, 5);
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 8; ++x) view.setPixel(x, y, kGreen);
    }
    const Rect scrolled{-5, -3, picture.right - 5, picture.bottom - 3};
    stretchBlock(view, scrolled, src, src.bounds(), Rect{1, 1, 7, 5});
    for (int y = 0; y < 5; ++y) {
      for (int x = 0; x < 8; ++x) {
        const bool clipped = x < 1 || x >= 7 || y < 1;
        ASSERT_EQ(view.pixel(x, y), clipped ? kGreen : whole.pixel(x + 5, y + 3)) << x << "," << y;
      }
    }
  }
}

TEST(RasterStretch, SourceOutsideTheSurfaceIsWhiteAndBadRectanglesDrawNothing) {
  const Surface src = surfaceOf({"#r", "g#"});
  Surface dst = surfaceOf({"ss", "ss"});
  stretchBlock(dst, Rect{0, 0, 2, 2}, src, Rect{1, 1, 3, 3});
  EXPECT_EQ(pictureOf(dst), (Picture{"#.", ".."}));

  for (const auto& [dstRect, srcRect] :
       {std::pair{Rect{0, 0, 0, 2}, Rect{0, 0, 2, 2}},
        std::pair{Rect{2, 2, 0, 0}, Rect{0, 0, 2, 2}},
        std::pair{Rect{0, 0, 2, 2}, Rect{0, 0, 2, 0}},
        std::pair{Rect{INT32_MIN, 0, INT32_MAX, 2}, Rect{0, 0, 2, 2}}}) {
    Surface untouched = surfaceOf({"ss", "ss"});
    stretchBlock(untouched, dstRect, src, srcRect);
    EXPECT_EQ(pictureOf(untouched), (Picture{"ss", "ss"}));
  }
}

}  // namespace
}  // namespace dravon
