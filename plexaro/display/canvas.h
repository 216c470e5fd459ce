#pragma once

#include <cmath>
#include <cstdint>
#include <span>
#include <string_view>

namespace plexaro {

struct Rgb {
  uint8_t red;
  uint8_t green;
  uint8_t blue;
  friend bool operator==(Rgb, Rgb) = default;
};

// A board-area pixel: x to the right, y downward, from the area's top-left corner.
struct Pixel {
  int32_t x;
  int32_t y;
  friend bool operator==(Pixel, Pixel) = default;
};

// A pixel rectangle whose right and bottom edges lie outside it.
struct PixelRect {
  int32_t left;
  int32_t top;
  int32_t right;
  int32_t bottom;
  friend bool operator==(PixelRect, PixelRect) = default;
};

enum class PenStyle { Solid, Dash };

// Copy paints the pen colour; NotXor paints the inverse of (pen XOR screen), so drawing the
// same figure twice restores the screen.
enum class PenMode { Copy, NotXor };

inline constexpr int kScreenPixelsPerInch = 96;

// The height the platform reports for a point-sized font: a negative number of pixels (the
// character height without leading), so adding it to a y coordinate moves up.
[[nodiscard]] inline int fontHeightForPoints(int points) {
  return -static_cast<int>(std::lround(points * static_cast<double>(kScreenPixelsPerInch) / 72.0));
}

// The drawing operations of the board area, in board-area pixels, straight onto what the user
// sees. Pen, brush and font are state: each call draws with the ones last set.
class Canvas {
 public:
  virtual ~Canvas() = default;

  virtual void setPenColour(Rgb colour) = 0;
  virtual void setPenWidth(int width) = 0;
  virtual void setPenStyle(PenStyle style) = 0;
  virtual void setPenMode(PenMode mode) = 0;
  // A solid brush of that colour.
  virtual void setBrushColour(Rgb colour) = 0;
  // No brush: figures are outlined only.
  virtual void setBrushHollow() = 0;
  virtual void setFontColour(Rgb colour) = 0;
  virtual void setFontSize(int points) = 0;
  [[nodiscard]] virtual int fontHeight() const = 0;

  // Fills the rectangle with the brush colour.
  virtual void fillRect(PixelRect rect) = 0;
  // Joins the points in order with the pen; fewer than two points draw nothing.
  virtual void polyline(std::span<const Pixel> points) = 0;
  // A one-pixel border just inside the rectangle, in the brush colour.
  virtual void frameRect(PixelRect rect) = 0;
  // The ellipse inside the rectangle: outlined with the pen, filled with the brush.
  virtual void ellipse(PixelRect rect) = 0;
  // The rectangle outlined with the pen and filled with the brush (nothing when hollow).
  virtual void rectangle(PixelRect rect) = 0;
  // Text with its top-left corner at (x, y) in the font colour, on the brush colour.
  virtual void textOut(int32_t x, int32_t y, std::string_view text) = 0;
};

}  // namespace plexaro
