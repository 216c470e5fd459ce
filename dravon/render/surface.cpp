#include "dravon/render/surface.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <new>
#include <utility>

namespace dravon {

namespace {

constexpr uint32_t kWhitePixel = packPixel(kWhite);

// Rows start on 16-byte boundaries so that row loops vectorize well.
constexpr int kPitchAlignment = 4;

}  // namespace

Rect intersected(Rect a, Rect b) {
  Rect r{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
         std::min(a.bottom, b.bottom)};
  if (r.isEmpty()) return Rect{};
  return r;
}

Surface::Surface(int width, int height, Rgb fill) {
  // A refused size leaves the surface empty; callers test isEmpty() where that matters.
  static_cast<void>(reset(width, height, fill));
}

Surface::Surface(const Surface& other)
    : width_(other.width_), height_(other.height_), pitch_(other.pitch_), count_(other.count_) {
  if (count_ == 0) return;
  // new[] of a plain integer type does not initialize, so each pixel is written once, by the copy.
  pixels_.reset(new uint32_t[count_]);
  std::memcpy(pixels_.get(), other.pixels_.get(), count_ * sizeof(uint32_t));
}

Surface::Surface(Surface&& other) noexcept
    : width_(std::exchange(other.width_, 0)),
      height_(std::exchange(other.height_, 0)),
      pitch_(std::exchange(other.pitch_, 0)),
      count_(std::exchange(other.count_, 0)),
      pixels_(std::move(other.pixels_)) {}

Surface& Surface::operator=(const Surface& other) {
  if (this == &other) return *this;
  if (pixels_ && count_ == other.count_) {
    // Same amount of memory: the copy goes into the pixels already held.
    std::memcpy(pixels_.get(), other.pixels_.get(), count_ * sizeof(uint32_t));
    width_ = other.width_;
    height_ = other.height_;
    pitch_ = other.pitch_;
    return *this;
  }
  // The old pixels go before the new are had, so the two are never held at once. A failed
  // allocation throws with this surface left empty.
  *this = Surface();
  *this = Surface(other);
  return *this;
}

Surface& Surface::operator=(Surface&& other) noexcept {
  if (this != &other) {
    width_ = std::exchange(other.width_, 0);
    height_ = std::exchange(other.height_, 0);
    pitch_ = std::exchange(other.pitch_, 0);
    count_ = std::exchange(other.count_, 0);
    pixels_ = std::move(other.pixels_);
  }
  return *this;
}

bool Surface::reset(int width, int height, Rgb fill) {
  width_ = height_ = pitch_ = 0;
  const int64_t pitch = (int64_t{width} + kPitchAlignment - 1) / kPitchAlignment * kPitchAlignment;
  if (width <= 0 || height <= 0 || pitch * height > kMaxPixels) {
    count_ = 0;
    pixels_.reset();
    return false;
  }
  const size_t count = static_cast<size_t>(pitch * height);
  // Memory of the same amount is kept: it is written over anyway, and fresh pages of a large image
  // cost the system more to hand out than the fill.
  if (!pixels_ || count_ != count) {
    count_ = 0;
    pixels_.reset();
    pixels_.reset(new (std::nothrow) uint32_t[count]);
    if (!pixels_) return false;
  }
  std::fill(pixels_.get(), pixels_.get() + count, packPixel(fill));
  count_ = count;
  width_ = width;
  height_ = height;
  pitch_ = static_cast<int>(pitch);
  return true;
}

std::optional<Rgb> Surface::pixel(int x, int y) const {
  if (!contains(x, y)) return std::nullopt;
  return unpackPixel(row(y)[x]);
}

void Surface::setPixel(int x, int y, Rgb colour) {
  if (contains(x, y)) row(y)[x] = packPixel(colour);
}

void copyBlock(Surface& dst, int dstX, int dstY, const Surface& src, int srcX, int srcY, int w,
               int h) {
  if (w <= 0 || h <= 0 || dst.isEmpty() || src.isEmpty()) return;
  // Clip in source coordinates against both surfaces; 64 bits because offsets come from callers
  // that may hold anything.
  const int64_t dx = int64_t{dstX} - srcX;
  const int64_t dy = int64_t{dstY} - srcY;
  const int64_t left = std::max({int64_t{srcX}, int64_t{0}, -dx});
  const int64_t top = std::max({int64_t{srcY}, int64_t{0}, -dy});
  const int64_t right =
      std::min({int64_t{srcX} + w, int64_t{src.width()}, int64_t{dst.width()} - dx});
  const int64_t bottom =
      std::min({int64_t{srcY} + h, int64_t{src.height()}, int64_t{dst.height()} - dy});
  if (right <= left || bottom <= top) return;
  const size_t bytes = static_cast<size_t>(right - left) * sizeof(uint32_t);
  const auto copyRow = [&](int64_t y) {
    std::memmove(dst.row(static_cast<int>(y + dy)) + (left + dx),
                 src.row(static_cast<int>(y)) + left, bytes);
  };
  // Within one surface, walk away from the destination so no row is overwritten before it is read.
  if (&dst == &src && dy > 0) {
    for (int64_t y = bottom - 1; y >= top; --y) copyRow(y);
  } else {
    for (int64_t y = top; y < bottom; ++y) copyRow(y);
  }
}

namespace {

// The source range [first, last) of each destination pixel along one axis, clipped to the source
// surface; an empty range stands for a white pixel.
struct AxisMap {
  std::vector<int> first;
  std::vector<int> last;
};

AxisMap mapAxis(int visibleFrom, int visibleTo, int dstStart, int dstSize, int srcStart,
                int srcSize, int srcLimit) {
  AxisMap map;
  const size_t n = static_cast<size_t>(visibleTo - visibleFrom);
  map.first.resize(n);
  map.last.resize(n);
  for (size_t i = 0; i < n; ++i) {
    const int64_t u = int64_t{visibleFrom} + static_cast<int64_t>(i) - dstStart;
    int64_t s0 = u * srcSize / dstSize;
    int64_t s1 = (u + 1) * srcSize / dstSize;
    if (s1 <= s0) s1 = s0 + 1;  // growing: the pixel repeats its one source pixel
    s0 = std::clamp<int64_t>(srcStart + s0, 0, srcLimit);
    s1 = std::clamp<int64_t>(srcStart + s1, 0, srcLimit);
    map.first[i] = static_cast<int>(s0);
    map.last[i] = static_cast<int>(std::max(s0, s1));
  }
  return map;
}

// acc = the AND of source rows [r0, r1) over n columns from `first`, up to four rows per pass so
// that the running result is written once per group instead of once per row.
void andRows(uint32_t* __restrict acc, const Surface& src, int r0, int r1, int first, size_t n) {
  const uint32_t* a = src.row(r0) + first;
  int r = r0 + 1;
  if (r1 - r0 >= 4) {
    const uint32_t* b = src.row(r0 + 1) + first;
    const uint32_t* c = src.row(r0 + 2) + first;
    const uint32_t* d = src.row(r0 + 3) + first;
    for (size_t k = 0; k < n; ++k) acc[k] = a[k] & b[k] & c[k] & d[k];
    r = r0 + 4;
  } else if (r1 - r0 >= 2) {
    const uint32_t* b = src.row(r0 + 1) + first;
    for (size_t k = 0; k < n; ++k) acc[k] = a[k] & b[k];
    r = r0 + 2;
  } else {
    std::memcpy(acc, a, n * sizeof(uint32_t));
  }
  for (; r < r1; ++r) {
    const uint32_t* in = src.row(r) + first;
    for (size_t k = 0; k < n; ++k) acc[k] &= in[k];
  }
}

}  // namespace

void stretchBlock(Surface& dst, Rect dstRect, const Surface& src, Rect srcRect, Rect clip) {
  const int64_t dw = int64_t{dstRect.right} - dstRect.left;
  const int64_t dh = int64_t{dstRect.bottom} - dstRect.top;
  const int64_t sw = int64_t{srcRect.right} - srcRect.left;
  const int64_t sh = int64_t{srcRect.bottom} - srcRect.top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0 || src.isEmpty()) return;
  if (dw > INT32_MAX || dh > INT32_MAX || sw > INT32_MAX || sh > INT32_MAX) return;
  const Rect area = intersected(intersected(dstRect, dst.bounds()), clip);
  if (area.isEmpty()) return;

  const AxisMap cols = mapAxis(area.left, area.right, dstRect.left, static_cast<int>(dw),
                               srcRect.left, static_cast<int>(sw), src.width());
  const AxisMap rows = mapAxis(area.top, area.bottom, dstRect.top, static_cast<int>(dh),
                               srcRect.top, static_cast<int>(sh), src.height());
  const int width = area.right - area.left;

  // The source columns any visible destination pixel reads; rows are ANDed over this span only.
  int spanFirst = src.width();
  int spanLast = 0;
  for (int i = 0; i < width; ++i) {
    if (cols.first[i] == cols.last[i]) continue;
    spanFirst = std::min(spanFirst, cols.first[i]);
    spanLast = std::max(spanLast, cols.last[i]);
  }
  const bool oneToOne = sw == dw && spanLast - spanFirst == width && cols.first[0] == spanFirst &&
                        cols.last[width - 1] == spanLast;

  const size_t n = static_cast<size_t>(std::max(spanLast - spanFirst, 0));

  // Each row is first ANDed down its source rows into level 0 of a table; level j holds the AND of
  // 2^j neighbours, so any column range is the AND of two overlapping entries of one level, and
  // the horizontal pass has no inner loop. Entry n of every level is white, for empty ranges.
  int longest = 1;
  for (int k = 0; k < width; ++k) longest = std::max(longest, cols.last[k] - cols.first[k]);
  const int levels = std::bit_width(static_cast<unsigned>(longest));
  const size_t stride = n + 1;
  std::vector<uint32_t> table(stride * static_cast<size_t>(levels), kWhitePixel);
  std::vector<size_t> pickA(static_cast<size_t>(width));
  std::vector<size_t> pickB(static_cast<size_t>(width));
  for (int k = 0; k < width; ++k) {
    const int length = cols.last[k] - cols.first[k];
    if (length == 0) {
      pickA[k] = pickB[k] = n;
      continue;
    }
    const int level = std::bit_width(static_cast<unsigned>(length)) - 1;
    const size_t base = stride * static_cast<size_t>(level);
    pickA[k] = base + static_cast<size_t>(cols.first[k] - spanFirst);
    pickB[k] = base + static_cast<size_t>(cols.last[k] - spanFirst - (1 << level));
  }

  int previousFirst = -1;
  int previousLast = -1;
  uint32_t* previousRow = nullptr;
  for (int i = 0; i < area.bottom - area.top; ++i) {
    uint32_t* out = dst.row(area.top + i) + area.left;
    const int r0 = rows.first[i];
    const int r1 = rows.last[i];
    if (r0 == r1 || n == 0) {
      std::fill(out, out + width, kWhitePixel);
      continue;
    }
    if (previousRow != nullptr && r0 == previousFirst && r1 == previousLast) {
      std::memcpy(out, previousRow, static_cast<size_t>(width) * sizeof(uint32_t));
      continue;
    }
    uint32_t* acc = table.data();
    andRows(acc, src, r0, r1, spanFirst, n);
    if (oneToOne) {
      std::memcpy(out, acc, static_cast<size_t>(width) * sizeof(uint32_t));
    } else {
      for (int level = 1; level < levels; ++level) {
        const uint32_t* below = table.data() + stride * static_cast<size_t>(level - 1);
        uint32_t* here = table.data() + stride * static_cast<size_t>(level);
        const size_t half = size_t{1} << (level - 1);
        const size_t count = n + 1 > 2 * half ? n + 1 - 2 * half : 0;
        for (size_t k = 0; k < count; ++k) here[k] = below[k] & below[k + half];
      }
      const uint32_t* t = table.data();
      for (int k = 0; k < width; ++k) out[k] = t[pickA[k]] & t[pickB[k]];
    }
    previousFirst = r0;
    previousLast = r1;
    previousRow = out;
  }
}

void stretchBlock(Surface& dst, Rect dstRect, const Surface& src, Rect srcRect) {
  stretchBlock(dst, dstRect, src, srcRect, dst.bounds());
}

}  // namespace dravon
