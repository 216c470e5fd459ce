#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace dravon {

struct Rgb {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;

  friend constexpr bool operator==(Rgb, Rgb) = default;
};

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kWhite{255, 255, 255};

struct Point {
  int32_t x = 0;
  int32_t y = 0;

  friend constexpr bool operator==(Point, Point) = default;
};

// Left and top belong to the rectangle, right and bottom do not.
struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  constexpr bool isEmpty() const { return right <= left || bottom <= top; }
  friend constexpr bool operator==(Rect, Rect) = default;
};

// Same rectangle with left <= right and top <= bottom.
constexpr Rect normalized(Rect r) {
  if (r.left > r.right) std::swap(r.left, r.right);
  if (r.top > r.bottom) std::swap(r.top, r.bottom);
  return r;
}

Rect intersected(Rect a, Rect b);

// A pixel as it is stored: 0xffRRGGBB, the layout of a QImage of Format_RGB32, so the Qt host can
// show a surface without converting it. The top byte stays 0xff under every raster operation;
// code that writes through row() stores packPixel values so that it does too.
constexpr uint32_t packPixel(Rgb c) {
  return 0xff000000u | (uint32_t{c.red} << 16) | (uint32_t{c.green} << 8) | uint32_t{c.blue};
}
constexpr Rgb unpackPixel(uint32_t p) {
  return Rgb{static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8), static_cast<uint8_t>(p)};
}

// A 32-bit RGB image in memory. Rows are `pitch()` pixels apart, which may be more than the width,
// so code that walks rows always steps by the pitch.
class Surface {
 public:
  // Larger images are refused: three of them must fit in memory beside everything else.
  static constexpr int64_t kMaxPixels = int64_t{1} << 28;

  Surface() = default;
  // A width x height surface filled with `fill`; an empty one when the size is refused.
  Surface(int width, int height, Rgb fill = kBlack);
  Surface(const Surface& other);
  Surface(Surface&& other) noexcept;
  Surface& operator=(const Surface& other);
  Surface& operator=(Surface&& other) noexcept;
  ~Surface() = default;

  // Replaces the content by a width x height image filled with `fill`, every pixel written once.
  // Fails, leaving the surface empty, for a size of zero or less, one above kMaxPixels, or when the
  // memory cannot be had.
  [[nodiscard]] bool reset(int width, int height, Rgb fill = kBlack);

  bool isEmpty() const { return width_ == 0; }
  int width() const { return width_; }
  int height() const { return height_; }
  int pitch() const { return pitch_; }
  int bytesPerLine() const { return pitch_ * 4; }
  Rect bounds() const { return Rect{0, 0, width_, height_}; }
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }
  size_t memoryBytes() const { return count_ * sizeof(uint32_t); }

  uint32_t* row(int y) { return pixels_.get() + static_cast<size_t>(y) * pitch_; }
  const uint32_t* row(int y) const { return pixels_.get() + static_cast<size_t>(y) * pitch_; }
  const uint8_t* bits() const { return reinterpret_cast<const uint8_t*>(pixels_.get()); }

  // The colour at (x, y), or nothing outside the surface.
  std::optional<Rgb> pixel(int x, int y) const;
  void setPixel(int x, int y, Rgb colour);

 private:
  int width_ = 0;
  int height_ = 0;
  int pitch_ = 0;
  // Left uninitialized by the allocation: reset writes every pixel, so nothing is cleared twice.
  size_t count_ = 0;
  std::unique_ptr<uint32_t[]> pixels_;
};

// Copies the w x h block at (srcX, srcY) of src to (dstX, dstY) of dst, unchanged. Only the part
// inside both surfaces is copied. src and dst may be the same surface, also overlapping.
void copyBlock(Surface& dst, int dstX, int dstY, const Surface& src, int srcX, int srcY, int w,
               int h);

// Draws the srcRect part of src scaled onto dstRect of dst. Along an axis that shrinks, a
// destination pixel is the bitwise AND of all source pixels that fall on it, so thin dark lines
// survive on a light ground; along an axis that grows, source pixels are repeated. Only the
// destination pixels inside dst and clip are computed, so a huge dstRect costs no more than the
// visible part. Source pixels outside src count as white. Empty or inverted rectangles, and
// rectangles wider or taller than 2^31 - 1, draw nothing.
void stretchBlock(Surface& dst, Rect dstRect, const Surface& src, Rect srcRect, Rect clip);
void stretchBlock(Surface& dst, Rect dstRect, const Surface& src, Rect srcRect);

}  // namespace dravon
