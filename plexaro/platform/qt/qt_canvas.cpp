#include "plexaro/platform/qt/qt_canvas.h"

#include <QPen>
#include <QString>
#include <algorithm>

namespace plexaro {

namespace {

constexpr QRgb kBlackScreen = 0xff000000;

QColor toQColor(Rgb c) {
  return QColor(c.red, c.green, c.blue);
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

}  // namespace

QtCanvas::QtCanvas(int width, int height) : font_(labelFont(kInitialFontPoints)), metrics_(font_) {
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
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setRenderHint(QPainter::TextAntialiasing, false);
  painter_.setFont(font_);
  applied_ = Applied::None;
  penDirty_ = brushDirty_ = true;
}

void QtCanvas::setPenColour(Rgb colour) {
  penColour_ = toQColor(colour);
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
  brush_ = toQColor(colour);
  brushDirty_ = true;
}

void QtCanvas::setBrushHollow() {
  brush_.reset();
  brushDirty_ = true;
}

void QtCanvas::setFontColour(Rgb colour) {
  fontColour_ = toQColor(colour);
}

void QtCanvas::setFontSize(int points) {
  if (points == fontPoints_) return;
  fontPoints_ = points;
  font_ = labelFont(points);
  metrics_ = QFontMetrics(font_);
  painter_.setFont(font_);
  labels_.clear();
}

int QtCanvas::fontHeight() const {
  return fontHeightForPoints(fontPoints_);
}

void QtCanvas::preparePenFigure() {
  if (applied_ == Applied::PenFigure && !penDirty_ && !brushDirty_) return;
  QPen pen(penColour_);
  pen.setWidth(std::max(penWidth_, 1));
  pen.setCosmetic(true);
  pen.setStyle(penStyle_ == PenStyle::Dash ? Qt::DashLine : Qt::SolidLine);
  pen.setCapStyle(Qt::FlatCap);
  pen.setJoinStyle(Qt::MiterJoin);
  painter_.setPen(pen);
  painter_.setBrush(brush_ ? QBrush(*brush_) : QBrush(Qt::NoBrush));
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

void QtCanvas::fillRect(PixelRect rect) {
  if (!brush_ || isEmpty(rect)) return;
  prepareFill();
  painter_.fillRect(fillArea(rect), *brush_);
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
  prepareFill();
  const QRect r = fillArea(rect);
  painter_.fillRect(QRect(r.left(), r.top(), r.width(), 1), *brush_);
  painter_.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), *brush_);
  painter_.fillRect(QRect(r.left(), r.top(), 1, r.height()), *brush_);
  painter_.fillRect(QRect(r.right(), r.top(), 1, r.height()), *brush_);
}

void QtCanvas::ellipse(PixelRect rect) {
  if (isEmpty(rect)) return;
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

const QtCanvas::Label& QtCanvas::label(std::string_view text) {
  const std::string key(text);
  if (auto found = labels_.find(key); found != labels_.end()) return found->second;
  if (labels_.size() >= kLabelCacheCapacity) labels_.clear();
  const QString s = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  QStaticText laidOut(s);
  laidOut.setTextFormat(Qt::PlainText);
  laidOut.prepare(QTransform(), font_);
  return labels_.emplace(key, Label{laidOut, metrics_.horizontalAdvance(s)}).first->second;
}

void QtCanvas::textOut(int32_t x, int32_t y, std::string_view text) {
  const Label& l = label(text);
  prepareFill();
  if (brush_) painter_.fillRect(QRect(x, y, l.advance, metrics_.height()), *brush_);
  painter_.setPen(fontColour_);
  painter_.drawStaticText(QPoint(x, y), l.text);
}

}  // namespace plexaro
