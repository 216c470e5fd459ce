#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QStaticText>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "plexaro/display/canvas.h"

namespace plexaro {

// The board area's screen: an RGB image that a QPainter draws into with aliasing off, in the
// conventions of the board renderer (right and bottom edges exclusive, text on an opaque
// background of the brush colour). The window shows the image as it stands.
class QtCanvas final : public Canvas {
 public:
  static constexpr int kInitialFontPoints = 7;

  QtCanvas(int width, int height);
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
  void beginPainting();
  // Puts the pen, brush and raster mode in force for a figure outlined with the pen.
  void preparePenFigure();
  // Plain copy without a pen, for fills, frames and text.
  void prepareFill();

  QImage image_;
  QPainter painter_;
  QColor penColour_{Qt::black};
  int penWidth_ = 1;
  PenStyle penStyle_ = PenStyle::Solid;
  PenMode penMode_ = PenMode::Copy;
  std::optional<QColor> brush_{QColor{Qt::white}};
  QColor fontColour_{Qt::black};
  int fontPoints_ = kInitialFontPoints;
  QFont font_;
  QFontMetrics metrics_;
  bool penDirty_ = true;
  bool brushDirty_ = true;
  enum class Applied { None, PenFigure, Fill } applied_ = Applied::None;
  std::vector<QPoint> points_;

  // Laid-out labels of the current font: a redraw shows the same names and numbers again.
  struct Label {
    QStaticText text;
    int advance;
  };
  static constexpr std::size_t kLabelCacheCapacity = 40000;
  const Label& label(std::string_view text);
  std::unordered_map<std::string, Label> labels_;
};

}  // namespace plexaro
