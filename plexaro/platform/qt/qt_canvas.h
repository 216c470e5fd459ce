#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QStaticText>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "plexaro/display/canvas.h"

namespace plexaro {

// The board area's screen: an RGB image that a QPainter draws into with aliasing off, in the
// conventions of the board renderer (right and bottom edges exclusive, text on an opaque
// background of the brush colour). The window shows the image as it stands.
//
// A crowded board's redraw is thousands of fills, small filled circles and labels, for which
// the painter's per-call cost dwarfs the pixels. Those are written straight into the image:
// each circle size and each label is drawn once by a painter into a scratch image, kept as
// the runs of pixels it covered, and copied from then on. Everything else (lines, large or
// wide or dashed figures, not-xor) and any shape that does not come out as plain pen, brush
// or glyph pixels is left to the painter.
class QtCanvas final : public Canvas {
 public:
  static constexpr int kInitialFontPoints = 7;

  // Direct writes the fast figures into the image itself; PainterOnly draws everything with
  // the painter, the reference the direct pixels are compared against.
  enum class Drawing { Direct, PainterOnly };

  QtCanvas(int width, int height, Drawing drawing = Drawing::Direct);
  ~QtCanvas() override;
  QtCanvas(const QtCanvas&) = delete;
  QtCanvas& operator=(const QtCanvas&) = delete;

  // A new black screen of that size; pen, brush and font stay as they were set.
  void resize(int width, int height);
  // The screen as it stands; the painter stays active on it (a QImage copied meanwhile is a
  // deep copy, so a picture taken from it keeps).
  [[nodiscard]] const QImage& image() const { return image_; }

  void setPenColour(Rgb colour) override;
  void setPenWidth(int width) override;
  void setPenStyle(PenStyle style) override;
  void setPenMode(PenMode mode) override;
  void setBrushColour(Rgb colour) override;
  void setBrushHollow() override;
  void setFontColour(Rgb colour) override;
  void setFontSize(int points) override;
  [[nodiscard]] int fontHeight() const override;

  void fillRect(PixelRect rect) override;
  void polyline(std::span<const Pixel> points) override;
  void frameRect(PixelRect rect) override;
  void ellipse(PixelRect rect) override;
  void rectangle(PixelRect rect) override;
  void textOut(int32_t x, int32_t y, std::string_view text) override;

 private:
  // A horizontal run of pixels of a stamp, from its anchor.
  struct Run {
    int16_t dy;
    int16_t dx;
    int16_t length;
  };
  // What a painter drew for one figure, as runs of pen (or glyph) and brush pixels. A figure
  // that came out in other colours, or reached the scratch image's border, is not stamped.
  struct Stamp {
    bool usable = false;
    std::vector<Run> pen;
    std::vector<Run> brush;
  };

  void beginPainting();
  // Puts the pen, brush and raster mode in force for a figure outlined with the pen.
  void preparePenFigure();
  // Plain copy without a pen, for fills, frames and text.
  void prepareFill();

  // The pixels x in [left, right), y in [top, bottom) cut to the screen, in one colour.
  void fillPixels(int64_t left, int64_t top, int64_t right, int64_t bottom, QRgb colour);
  void fillRuns(std::span<const Run> runs, int64_t x, int64_t y, QRgb colour);
  // A width x height block of pixels, row after row, with its top-left corner at (x, y).
  void copyPixels(const QRgb* pixels, int width, int height, int64_t x, int64_t y);
  [[nodiscard]] bool direct() const { return drawing_ == Drawing::Direct; }
  [[nodiscard]] bool stampsEllipses() const;
  const Stamp& ellipseStamp(int width, int height);
  static Stamp stampOf(const QImage& scratch, int anchorX, int anchorY, std::optional<QRgb> brush);

  Drawing drawing_;
  QImage image_;
  QPainter painter_;
  uchar* bits_ = nullptr;
  qsizetype bytesPerLine_ = 0;
  int width_ = 0;
  int height_ = 0;
  QRgb penColour_ = 0xff000000;
  int penWidth_ = 1;
  PenStyle penStyle_ = PenStyle::Solid;
  PenMode penMode_ = PenMode::Copy;
  std::optional<QRgb> brush_ = 0xffffffff;
  QRgb fontColour_ = 0xff000000;
  int fontPoints_ = kInitialFontPoints;
  QFont font_;
  QFontMetrics metrics_;
  int lineHeight_;
  bool penDirty_ = true;
  bool brushDirty_ = true;
  enum class Applied { None, PenFigure, Fill } applied_ = Applied::None;
  std::vector<QPoint> points_;

  // Ellipses up to this size in each direction are stamped; their stamps are kept by size
  // and brush (filled or hollow).
  static constexpr int kMaxStampedEllipse = 64;
  std::unordered_map<uint32_t, Stamp> ellipses_;
  uint32_t lastEllipseKey_ = 0;
  const Stamp* lastEllipse_ = nullptr;

  // Laid-out labels of the current font: a redraw shows the same names and numbers again.
  // The glyph pixels do not depend on the colours, so one stamp serves every colour pair;
  // on its opaque background a label is copied as a picture of that background in the
  // colours it is shown in, plus any glyph pixels that stick out of it.
  struct Picture {
    QRgb font;
    QRgb brush;
    std::vector<QRgb> pixels;
  };
  struct Label {
    QStaticText text;
    int advance;
    Stamp glyphs;
    std::vector<Run> overhang;
    std::vector<Picture> pictures;
  };
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const {
      uint64_t h = 14695981039346656037u;  // FNV-1a: labels are a few characters
      for (char c : s) h = (h ^ static_cast<unsigned char>(c)) * 1099511628211u;
      return static_cast<std::size_t>(h);
    }
  };
  static constexpr std::size_t kLabelCacheCapacity = 40000;
  // The renderer shows a label in at most a few colour pairs; labels in very large fonts are
  // not worth the memory a picture would take.
  static constexpr std::size_t kPicturesPerLabel = 8;
  static constexpr int64_t kMaxPicturePixels = 1 << 14;
  Label& label(std::string_view text);
  [[nodiscard]] Stamp glyphStamp(const QStaticText& text, int advance) const;
  const Picture& picture(Label& label, QRgb font, QRgb brush) const;
  // Held apart from the table, so that a lookup walks nodes of a cache line each.
  std::unordered_map<std::string, std::unique_ptr<Label>, TextHash, std::equal_to<>> labels_;
};

}  // namespace plexaro
