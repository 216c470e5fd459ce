#include "dravon/render/view_geometry.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace dravon {
namespace {

// Truncation toward zero, held to the 32-bit range so that absurd scroll or zoom values from a
// hostile card cannot overflow.
int32_t truncate(double v) {
  if (std::isnan(v)) return 0;
  constexpr double kMax = std::numeric_limits<int32_t>::max();
  constexpr double kMin = std::numeric_limits<int32_t>::min();
  if (v >= kMax) return std::numeric_limits<int32_t>::max();
  if (v <= kMin) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

int clampToInt(int64_t v) {
  if (v > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (v < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(v);
}

}  // namespace

PlanePoint ViewGeometry::windowToPlane(int wx, int wy) const {
  int64_t ix = 0;
  int64_t iy = 0;
  if (zoomPercent != 0) {
    ix = truncate((double{1} * container_.scrollX() + wx) * 100.0 / zoomPercent);
    iy = truncate((double{1} * container_.scrollY() + wy) * 100.0 / zoomPercent);
  } else {
    ix = truncate(wx * viewScale);
    iy = truncate(wy * viewScale);
  }
  const int64_t px = showFront != 0 ? ix : int64_t{doc_.imageRect.right} - ix;
  return {static_cast<int32_t>(px), static_cast<int32_t>(int64_t{doc_.imageRect.bottom} - iy)};
}

double ViewGeometry::fitScale(int cx, int cy) const {
  const double a = static_cast<double>(imageWidth()) / cx;
  const double b = static_cast<double>(imageHeight()) / cy;
  return a > b ? a : b;
}

void ViewGeometry::computeFit(int cx, int cy) {
  const CardRect& r = doc_.imageRect;
  if (r.right <= r.left || r.bottom <= r.top || cx <= kSmallestFitClient ||
      cy <= kSmallestFitClient) {
    return;
  }
  clientWidth = cx;
  clientHeight = cy;
  viewScale = fitScale(cx, cy);
  fitWidth = truncate(imageWidth() / viewScale);
  fitHeight = truncate(imageHeight() / viewScale);
}

void ViewGeometry::setDisplaySize(int64_t width, int64_t height) {
  displayWidth_ = clampToInt(width);
  displayHeight_ = clampToInt(height);
  container_.setDisplaySize(displayWidth_, displayHeight_);
}

void ViewGeometry::applyZoom() {
  const double sx = container_.scrollX();
  const double sy = container_.scrollY();
  const int32_t ax = truncate((sx + lastPointX) * viewScale);
  const int32_t ay = truncate((sy + lastPointY) * viewScale);
  if (zoomPercent != 0) {
    setDisplaySize(int64_t{zoomPercent} * imageWidth() / 100,
                   int64_t{zoomPercent} * imageHeight() / 100);
    viewScale = 100.0 / zoomPercent;
    container_.scrollTo(truncate(ax / viewScale - lastPointX),
                        truncate(ay / viewScale - lastPointY));
  } else if (clientWidth > 0 && clientHeight > 0 && imageWidth() > 0 && imageHeight() > 0) {
    // Back to fit mode: the fit of the last computeFit. Without one there is nothing to fit.
    viewScale = fitScale(clientWidth, clientHeight);
    setDisplaySize(fitWidth, fitHeight);
  }
  container_.repaint();
}

void ViewGeometry::zoomToRectangle(int x0, int y0, int x1, int y1) {
  if (clientWidth <= 0 || clientHeight <= 0) return;  // no fit yet: nothing to zoom into
  const double sx = container_.scrollX();
  const double sy = container_.scrollY();
  const int64_t middleX = (int64_t{x0} + x1) / 2;
  const int64_t middleY = (int64_t{y0} + y1) / 2;
  const int32_t cx = truncate((sx + static_cast<double>(middleX)) * viewScale);
  const int32_t cy = truncate((sy + static_cast<double>(middleY)) * viewScale);
  const int32_t dw = truncate(std::abs(double{1} * x1 - x0) * viewScale);
  const int32_t dh = truncate(std::abs(double{1} * y1 - y0) * viewScale);
  const double a = static_cast<double>(dw) / clientWidth;
  const double b = static_cast<double>(dh) / clientHeight;
  double s = a > b ? a : b;
  if (s < kSmallestViewScale) s = kSmallestViewScale;
  viewScale = s;
  const int32_t oldZoom = zoomPercent;
  zoomPercent = truncate(100.0 / s);
  setDisplaySize(truncate(imageWidth() / s), truncate(imageHeight() / s));
  const int32_t halfClientWidth = clientWidth / 2;
  const int32_t halfClientHeight = clientHeight / 2;
  container_.scrollTo(truncate(cx / s - halfClientWidth), truncate(cy / s - halfClientHeight));
  // Marked lines are drawn wider in fit mode, so leaving it redraws the markup.
  if (oldZoom == 0 && refresh_) refresh_();
  container_.repaint();
}

void ViewGeometry::upsideDown() {
  if (zoomPercent != 0) {
    const int32_t w = doc_.imageRect.right;
    int32_t nx = truncate(w / viewScale - container_.scrollX() - clientWidth);
    if (w < clientWidth) nx = 0;
    container_.scrollTo(nx, container_.scrollY());
  }
  showFront = 1 - showFront;
  if (refresh_) refresh_();
  container_.repaint();
}

std::string ViewGeometry::formatReadout(int32_t px, int32_t py) const {
  // Card units wrap in 32 bits as the stored numbers do.
  const auto card = [this](int32_t p, int32_t origin) {
    return static_cast<int32_t>(static_cast<uint32_t>(p) * static_cast<uint32_t>(doc_.resolution) +
                                static_cast<uint32_t>(origin));
  };
  char text[40];
  std::snprintf(text, sizeof text, kReadoutFormat.data(), card(px, doc_.originX),
                card(py, doc_.originY));
  return text;
}

void ViewGeometry::showNewCard(int cx, int cy) {
  computeFit(cx, cy);
  showFront = 1;
  zoomPercent = 0;
  applyZoom();
  setDisplaySize(fitWidth, fitHeight);
}

void ViewGeometry::resize(int cx, int cy) {
  if (cx == 0 || cy == 0 || fitWidth <= 0 || fitHeight <= 0 || zoomPercent != 0) return;
  computeFit(cx, cy);
  setDisplaySize(fitWidth, fitHeight);
  if (refresh_) refresh_();
}

}  // namespace dravon
