#include "plexaro/platform/qt/qt_canvas.h"

#include <QPen>
#include <QString>
#include <algorithm>
#include <limits>

namespace plexaro {

namespace {

constexpr QRgb kBlackScreen = 0xff000000;

QRgb toQRgb(Rgb c) {
  return qRgb(c.red, c.green, c.blue);
}

QFont labelFont(int points) {
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(std::max(1, -fontHeightForPoints(points)));
  font.setStyleStrategy(QFont::NoAntialias);
  return font;
}

bool isEmpty(PixelRect r) {
  return r.right <= r.left || r.bottom <= r.top;
}

// Far beyond any screen, so cutting a rectangle's edges there changes no pixel, and near
// enough that a width cannot overflow.
constexpr int32_t kFarEdge = 1 << 29;

PixelRect nearRect(PixelRect r) {
  auto near = [](int32_t v) { return std::clamp(v, -kFarEdge, kFarEdge); };
  return {near(r.left), near(r.top), near(r.right), near(r.bottom)};
}

int32_t saturated(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

// The pixels a fill covers: right and bottom edges excluded.
QRect fillArea(PixelRect r) {
  r = nearRect(r);
  return QRect(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

// The box Qt strokes an outline on covers one pixel more than its size in each direction.
QRect strokeBox(PixelRect r) {
  r = nearRect(r);
  return QRect(r.left, r.top, r.right - r.left - 1, r.bottom - r.top - 1);
}

QPen figurePen(const QColor& colour, int width, PenStyle style) {
  QPen pen(colour);
  pen.setWidth(std::max(width, 1));
  pen.setCosmetic(true);
  pen.setStyle(style == PenStyle::Dash ? Qt::DashLine : Qt::SolidLine);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  return pen;
}

void setUpPainter(QPainter& painter) {
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setRenderHint(QPainter::TextAntialiasing, false);
}

// Stamps are taken in three colours that tell pen, brush and untouched pixels apart.
constexpr QRgb kScratchBackground = 0xff000000;
constexpr QRgb kScratchPen = 0xffffffff;
constexpr QRgb kScratchBrush = 0xff808080;
// Runs hold 16-bit offsets; a larger scratch image is left to the painter.
constexpr int kMaxScratchSide = 16000;

}  // namespace

QtCanvas::QtCanvas(int width, int height, Drawing drawing)
    : drawing_(drawing),
      font_(labelFont(kInitialFontPoints)),
      metrics_(font_),
      lineHeight_(metrics_.height()) {
  points_.reserve(1000);
  resize(width, height);
}

QtCanvas::~QtCanvas() {
  if (painter_.isActive()) painter_.end();
}

void QtCanvas::resize(int width, int height) {
  if (painter_.isActive()) painter_.end();
  image_ = QImage(std::max(width, 1), std::max(height, 1), QImage::Format_RGB32);
  image_.fill(kBlackScreen);
  beginPainting();
}

void QtCanvas::beginPainting() {
  painter_.begin(&image_);
  setUpPainter(painter_);
  painter_.setFont(font_);
  applied_ = Applied::None;
  penDirty_ = brushDirty_ = true;
  // The image is never shared while the painter is on it (a copy taken meanwhile is deep),
  // so its pixels stay where they are until the next resize.
  bits_ = image_.bits();
  bytesPerLine_ = image_.bytesPerLine();
  width_ = image_.width();
  height_ = image_.height();
}

void QtCanvas::setPenColour(Rgb colour) {
  penColour_ = toQRgb(colour);
  penDirty_ = true;
}

void QtCanvas::setPenWidth(int width) {
  penWidth_ = width;
  penDirty_ = true;
}

void QtCanvas::setPenStyle(PenStyle style) {
  penStyle_ = style;
  penDirty_ = true;
}

void QtCanvas::setPenMode(PenMode mode) {
  penMode_ = mode;
  penDirty_ = true;
}

void QtCanvas::setBrushColour(Rgb colour) {
  brush_ = toQRgb(colour);
  brushDirty_ = true;
}

void QtCanvas::setBrushHollow() {
  brush_.reset();
  brushDirty_ = true;
}

void QtCanvas::setFontColour(Rgb colour) {
  fontColour_ = toQRgb(colour);
}

void QtCanvas::setFontSize(int points) {
  if (points == fontPoints_) return;
  fontPoints_ = points;
  font_ = labelFont(points);
  metrics_ = QFontMetrics(font_);
  lineHeight_ = metrics_.height();
  painter_.setFont(font_);
  labels_.clear();
}

int QtCanvas::fontHeight() const {
  return fontHeightForPoints(fontPoints_);
}

void QtCanvas::preparePenFigure() {
  if (applied_ == Applied::PenFigure && !penDirty_ && !brushDirty_) return;
  painter_.setPen(figurePen(QColor::fromRgb(penColour_), penWidth_, penStyle_));
  painter_.setBrush(brush_ ? QBrush(QColor::fromRgb(*brush_)) : QBrush(Qt::NoBrush));
  painter_.setCompositionMode(penMode_ == PenMode::NotXor
                                  ? QPainter::RasterOp_NotSourceXorDestination
                                  : QPainter::CompositionMode_SourceOver);
  applied_ = Applied::PenFigure;
  penDirty_ = brushDirty_ = false;
}

void QtCanvas::prepareFill() {
  if (applied_ == Applied::Fill) return;
  painter_.setCompositionMode(QPainter::CompositionMode_SourceOver);
  applied_ = Applied::Fill;
  penDirty_ = true;
}

void QtCanvas::fillPixels(int64_t left, int64_t top, int64_t right, int64_t bottom, QRgb colour) {
  left = std::max<int64_t>(left, 0);
  top = std::max<int64_t>(top, 0);
  right = std::min<int64_t>(right, width_);
  bottom = std::min<int64_t>(bottom, height_);
  if (left >= right) return;
  for (int64_t y = top; y < bottom; ++y) {
    QRgb* row = reinterpret_cast<QRgb*>(bits_ + y * bytesPerLine_);
    std::fill(row + left, row + right, colour);
  }
}

void QtCanvas::fillRuns(std::span<const Run> runs, int64_t x, int64_t y, QRgb colour) {
  for (const Run& run : runs) {
    const int64_t row = y + run.dy;
    if (row < 0 || row >= height_) continue;
    const int64_t from = std::max<int64_t>(x + run.dx, 0);
    const int64_t to = std::min<int64_t>(x + run.dx + run.length, width_);
    if (from >= to) continue;
    QRgb* pixels = reinterpret_cast<QRgb*>(bits_ + row * bytesPerLine_);
    std::fill(pixels + from, pixels + to, colour);
  }
}

void QtCanvas::copyPixels(const QRgb* pixels, int width, int height, int64_t x, int64_t y) {
  const int64_t left = std::max<int64_t>(x, 0);
  const int64_t top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(x + width, width_);
  const int64_t bottom = std::min<int64_t>(y + height, height_);
  if (left >= right) return;
  const auto count = static_cast<std::size_t>(right - left);
  for (int64_t row = top; row < bottom; ++row) {
    const QRgb* from = pixels + (row - y) * width + (left - x);
    std::copy_n(from, count, reinterpret_cast<QRgb*>(bits_ + row * bytesPerLine_) + left);
  }
}

// The runs of pen and brush pixels a painter left in the scratch image, from the anchor. Any
// other colour (blending) or a pixel on the border (a figure larger than was allowed for)
// makes the stamp unusable.
QtCanvas::Stamp QtCanvas::stampOf(const QImage& scratch, int anchorX, int anchorY,
                                  std::optional<QRgb> brush) {
  Stamp stamp;
  const int width = scratch.width();
  const int height = scratch.height();
  for (int y = 0; y < height; ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(scratch.constScanLine(y));
    for (int x = 0; x < width;) {
      const QRgb colour = row[x];
      int end = x + 1;
      while (end < width && row[end] == colour) ++end;
      if (colour != kScratchBackground) {
        const bool onBorder = y == 0 || y == height - 1 || x == 0 || end == width;
        const bool known = colour == kScratchPen || (brush && colour == *brush);
        if (onBorder || !known) return {};
        const Run run{static_cast<int16_t>(y - anchorY), static_cast<int16_t>(x - anchorX),
                      static_cast<int16_t>(end - x)};
        (colour == kScratchPen ? stamp.pen : stamp.brush).push_back(run);
      }
      x = end;
    }
  }
  stamp.usable = true;
  return stamp;
}

bool QtCanvas::stampsEllipses() const {
  return direct() && penMode_ == PenMode::Copy && penStyle_ == PenStyle::Solid &&
         std::max(penWidth_, 1) == 1;
}

const QtCanvas::Stamp& QtCanvas::ellipseStamp(int width, int height) {
  const bool hollow = !brush_;
  const uint32_t key = static_cast<uint32_t>(width) | static_cast<uint32_t>(height) << 8 |
                       static_cast<uint32_t>(hollow) << 16;
  // A redraw draws runs of circles of one size.
  if (lastEllipse_ && key == lastEllipseKey_) return *lastEllipse_;
  auto [entry, added] = ellipses_.try_emplace(key);
  if (added) {
    // Flat ellipses can spill past their rectangle; those that reach the margin's edge are
    // left to the painter.
    const int margin = std::max(width, height) / 2 + 2;
    QImage scratch(width + 2 * margin, height + 2 * margin, QImage::Format_RGB32);
    scratch.fill(kScratchBackground);
    QPainter painter(&scratch);
    setUpPainter(painter);
    painter.setPen(figurePen(QColor::fromRgb(kScratchPen), 1, PenStyle::Solid));
    painter.setBrush(hollow ? QBrush(Qt::NoBrush) : QBrush(QColor::fromRgb(kScratchBrush)));
    painter.drawEllipse(strokeBox({margin, margin, margin + width, margin + height}));
    painter.end();
    entry->second = stampOf(scratch, margin, margin, kScratchBrush);
  }
  lastEllipseKey_ = key;
  lastEllipse_ = &entry->second;
  return entry->second;
}

void QtCanvas::fillRect(PixelRect rect) {
  if (!brush_ || isEmpty(rect)) return;
  if (direct()) return fillPixels(rect.left, rect.top, rect.right, rect.bottom, *brush_);
  prepareFill();
  painter_.fillRect(fillArea(rect), QColor::fromRgb(*brush_));
}

void QtCanvas::polyline(std::span<const Pixel> points) {
  if (points.size() < 2) return;
  points_.clear();
  for (Pixel p : points) points_.emplace_back(p.x, p.y);
  preparePenFigure();
  painter_.drawPolyline(points_.data(), static_cast<int>(points_.size()));
}

void QtCanvas::frameRect(PixelRect rect) {
  if (!brush_ || isEmpty(rect)) return;
  if (direct()) {
    const int64_t left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
    fillPixels(left, top, right, top + 1, *brush_);
    fillPixels(left, bottom - 1, right, bottom, *brush_);
    fillPixels(left, top, left + 1, bottom, *brush_);
    fillPixels(right - 1, top, right, bottom, *brush_);
    return;
  }
  prepareFill();
  const QRect r = fillArea(rect);
  const QColor brush = QColor::fromRgb(*brush_);
  painter_.fillRect(QRect(r.left(), r.top(), r.width(), 1), brush);
  painter_.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), brush);
  painter_.fillRect(QRect(r.left(), r.top(), 1, r.height()), brush);
  painter_.fillRect(QRect(r.right(), r.top(), 1, r.height()), brush);
}

void QtCanvas::ellipse(PixelRect rect) {
  if (isEmpty(rect)) return;
  const int64_t width = int64_t{rect.right} - rect.left;
  const int64_t height = int64_t{rect.bottom} - rect.top;
  if (stampsEllipses() && width <= kMaxStampedEllipse && height <= kMaxStampedEllipse) {
    const Stamp& stamp = ellipseStamp(static_cast<int>(width), static_cast<int>(height));
    if (stamp.usable) {
      if (brush_) fillRuns(stamp.brush, rect.left, rect.top, *brush_);
      fillRuns(stamp.pen, rect.left, rect.top, penColour_);
      return;
    }
  }
  preparePenFigure();
  painter_.drawEllipse(strokeBox(rect));
}

void QtCanvas::rectangle(PixelRect rect) {
  // The band's corners come in either order.
  PixelRect r{std::min(rect.left, rect.right), std::min(rect.top, rect.bottom),
              std::max(rect.left, rect.right), std::max(rect.top, rect.bottom)};
  if (isEmpty(r)) return;
  preparePenFigure();
  painter_.drawRect(strokeBox(r));
}

QtCanvas::Stamp QtCanvas::glyphStamp(const QStaticText& text, int advance) const {
  // Room for glyphs that reach beyond their advance or the line.
  const int margin = lineHeight_;
  const int width = advance + 2 * margin;
  const int height = lineHeight_ + 2 * margin;
  if (width > kMaxScratchSide || height > kMaxScratchSide) return {};
  QImage scratch(width, height, QImage::Format_RGB32);
  scratch.fill(kScratchBackground);
  QPainter painter(&scratch);
  setUpPainter(painter);
  painter.setFont(font_);
  painter.setPen(QColor::fromRgb(kScratchPen));
  painter.drawStaticText(QPoint(margin, margin), text);
  painter.end();
  return stampOf(scratch, margin, margin, std::nullopt);
}

QtCanvas::Label& QtCanvas::label(std::string_view text) {
  if (auto found = labels_.find(text); found != labels_.end()) return *found->second;
  if (labels_.size() >= kLabelCacheCapacity) labels_.clear();
  const QString s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  QStaticText laidOut(s);
  laidOut.setTextFormat(Qt::PlainText);
  laidOut.prepare(QTransform(), font_);
  auto made = std::make_unique<Label>(Label{laidOut, metrics_.horizontalAdvance(s), {}, {}, {}});
  Label& l = *made;
  if (direct()) l.glyphs = glyphStamp(laidOut, l.advance);
  // The parts of glyph runs beyond the background's rows or columns.
  for (const Run& run : l.glyphs.pen) {
    const int end = run.dx + run.length;
    if (run.dy < 0 || run.dy >= lineHeight_) {
      l.overhang.push_back(run);
      continue;
    }
    if (run.dx < 0) {
      l.overhang.push_back({run.dy, run.dx, static_cast<int16_t>(std::min(end, 0) - run.dx)});
    }
    if (end > l.advance) {
      const int from = std::max<int>(run.dx, l.advance);
      l.overhang.push_back({run.dy, static_cast<int16_t>(from), static_cast<int16_t>(end - from)});
    }
  }
  labels_.emplace(std::string(text), std::move(made));
  return l;
}

const QtCanvas::Picture& QtCanvas::picture(Label& l, QRgb font, QRgb brush) const {
  for (const Picture& p : l.pictures) {
    if (p.font == font && p.brush == brush) return p;
  }
  if (l.pictures.size() >= kPicturesPerLabel) l.pictures.clear();
  const int width = l.advance;
  const int height = lineHeight_;
  Picture& p = l.pictures.emplace_back(Picture{font, brush, {}});
  p.pixels.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), brush);
  for (const Run& run : l.glyphs.pen) {
    if (run.dy < 0 || run.dy >= height) continue;
    const int from = std::max<int>(run.dx, 0);
    const int to = std::min<int>(run.dx + run.length, width);
    QRgb* row = p.pixels.data() + static_cast<std::ptrdiff_t>(run.dy) * width;
    if (from < to) std::fill(row + from, row + to, font);
  }
  return p;
}

void QtCanvas::textOut(int32_t x, int32_t y, std::string_view text) {
  Label& l = label(text);
  if (l.glyphs.usable) {
    if (brush_ && int64_t{l.advance} * lineHeight_ <= kMaxPicturePixels) {
      const Picture& p = picture(l, fontColour_, *brush_);
      copyPixels(p.pixels.data(), l.advance, lineHeight_, x, y);
      fillRuns(l.overhang, x, y, fontColour_);
      return;
    }
    if (brush_) fillPixels(x, y, int64_t{x} + l.advance, int64_t{y} + lineHeight_, *brush_);
    fillRuns(l.glyphs.pen, x, y, fontColour_);
    return;
  }
  prepareFill();
  if (brush_) {
    // The far edges in 64 bits: a label off to the right or bottom must not wrap round
    // onto the screen.
    const PixelRect box{x, y, saturated(int64_t{x} + l.advance),
                        saturated(int64_t{y} + lineHeight_)};
    if (!isEmpty(box)) painter_.fillRect(fillArea(box), QColor::fromRgb(*brush_));
  }
  painter_.setPen(QColor::fromRgb(fontColour_));
  painter_.drawStaticText(QPoint(x, y), l.text);
}

}  // namespace plexaro
