#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <utility>

#include "dravon/render/surface.h"

namespace dravon {

// Solid and InsideFrame pens draw lines alike; on rectangles and ellipses an InsideFrame pen keeps
// its whole width inside the box while a Solid one is centred on the box edge. Dash is 18 pixels
// on, 6 off, and like the platform's dashed pens only exists at width 1: wider it draws solid.
enum class PenStyle { Solid, InsideFrame, Dash };

struct Pen {
  PenStyle style = PenStyle::Solid;
  int width = 1;  // 0 and below draw as 1
  Rgb colour = kBlack;

  friend constexpr bool operator==(const Pen&, const Pen&) = default;
};

enum class BrushStyle { Solid, Hollow };

struct Brush {
  BrushStyle style = BrushStyle::Solid;
  Rgb colour = kWhite;

  friend constexpr bool operator==(const Brush&, const Brush&) = default;
};

inline constexpr Brush kWhiteBrush{BrushStyle::Solid, kWhite};
inline constexpr Brush kHollowBrush{BrushStyle::Hollow, kBlack};

constexpr Pen solidPen(int width, Rgb colour) {
  return Pen{PenStyle::Solid, width, colour};
}
constexpr Pen insideFramePen(int width, Rgb colour) {
  return Pen{PenStyle::InsideFrame, width, colour};
}
constexpr Pen dashedPen(Rgb colour) {
  return Pen{PenStyle::Dash, 1, colour};
}
constexpr Brush solidBrush(Rgb colour) {
  return Brush{BrushStyle::Solid, colour};
}

// Pixels [x0, x1) of row y.
struct RowRun {
  int y = 0;
  int x0 = 0;
  int x1 = 0;
};

// Copy writes the pen or brush colour; Xor combines it with the pixel, so drawing the same figure
// twice restores what was there, and white inverts.
enum class RasterMode { Copy, Xor };

// Draws onto a surface with a selected pen and brush and a raster mode. Every primitive clips to
// the surface first, so coordinates far outside cost nothing and never touch memory outside it.
// Within one call each pixel is written at most once, so figures in Xor mode invert cleanly even
// where outline and interior or two edges meet.
class Painter {
 public:
  // Starts with a black solid pen of width 1, the white brush and Copy mode.
  explicit Painter(Surface& surface) : surface_(surface) {}

  Surface& surface() { return surface_; }

  // Each returns the previous selection so a caller can put it back.
  // Taken by value and kept inline: shapes select a pen and a brush for each of the thousands of
  // figures on a card.
  Pen selectPen(Pen pen) { return std::exchange(pen_, pen); }
  Brush selectBrush(Brush brush) { return std::exchange(brush_, brush); }
  RasterMode setRasterMode(RasterMode mode) { return std::exchange(mode_, mode); }
  const Pen& pen() const { return pen_; }
  const Brush& brush() const { return brush_; }
  RasterMode rasterMode() const { return mode_; }

  // Fills left/top inclusive, right/bottom exclusive; an inverted rectangle fills nothing.
  void fillRect(Rect r, const Brush& brush);
  void fillRect(Rect r) { fillRect(r, brush_); }

  // A pen of width 1 draws every pixel from `from` up to but not including `to`; a wider pen draws
  // the set of pixels within half its width of the segment, with round ends that close outlines
  // built from several lines. A line of no length draws nothing.
  void line(Point from, Point to);
  // The pixels of line(from, to) that lie in rows [rowBegin, rowEnd). Drawing a picture in bands
  // of rows this way gives the same pixels as whole lines.
  void lineInRows(Point from, Point to, int rowBegin, int rowEnd);

  // Rectangle and ellipse take the (normalized) box [left, right) x [top, bottom): the outline with
  // the pen, the interior with the brush.
  void rectangle(Rect box);
  void ellipse(Rect box);

  // Closed polygon: interior by the even-odd rule with the brush (pixels whose centre is inside),
  // then the outline through every vertex with the pen. Fewer than two vertices draw nothing.
  void polygon(std::span<const Point> vertices);

  // Fills, with the brush, the 4-connected area around seed that is bounded by pixels of border
  // colour. Nothing happens when the seed is outside the surface or is itself border-coloured.
  void floodFill(Point seed, Rgb border);
  // The pixels floodFill(seed, border) would fill, whatever the brush, handed to `take` as runs in
  // no particular row order, each pixel in exactly one; nothing is painted. A caller can paint them
  // with fillRuns later, or interleaved with other drawing of the same rows, with the same result.
  void floodFillRuns(Point seed, Rgb border, const std::function<void(const RowRun&)>& take) const;
  // Paints runs inside the surface with the brush, in the raster mode.
  void fillRuns(std::span<const RowRun> runs);

  std::optional<Rgb> pixel(Point p) const { return surface_.pixel(p.x, p.y); }

 private:
  Surface& surface_;
  Pen pen_{};
  Brush brush_{};
  RasterMode mode_ = RasterMode::Copy;
};

// Puts the painter's pen and brush back as they were when the scope began.
class SelectionScope {
 public:
  explicit SelectionScope(Painter& painter)
      : painter_(painter), pen_(painter.pen()), brush_(painter.brush()) {}
  ~SelectionScope() {
    painter_.selectPen(pen_);
    painter_.selectBrush(brush_);
  }
  SelectionScope(const SelectionScope&) = delete;
  SelectionScope& operator=(const SelectionScope&) = delete;

 private:
  Painter& painter_;
  Pen pen_;
  Brush brush_;
};

}  // namespace dravon
