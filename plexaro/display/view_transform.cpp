#include "plexaro/display/view_transform.h"

#include <cmath>
#include <limits>

#include "plexaro/platform/board_area.h"

namespace plexaro {

int32_t truncToInt(long double value) {
  if (std::isnan(value)) return 0;
  constexpr auto kLow = static_cast<long double>(std::numeric_limits<int32_t>::min());
  constexpr auto kHigh = static_cast<long double>(std::numeric_limits<int32_t>::max());
  if (value <= kLow) return std::numeric_limits<int32_t>::min();
  if (value >= kHigh) return std::numeric_limits<int32_t>::max();
  return static_cast<int32_t>(value);
}

void refreshAngles(ViewTransform& view) {
  const double a = view.rotationAngle;
  view.cosA = static_cast<float>(std::cos(a));
  view.sinA = static_cast<float>(std::sin(a));
  view.cosB = static_cast<float>(std::cos(a + kTurnedAngleOffset));
  view.sinB = static_cast<float>(std::sin(a + kTurnedAngleOffset));
}

namespace {

enum class Mapping { Plain, Mirrored, Turned };

Mapping mappingFor(const ViewTransform& view, ItemKind kind, int32_t side) {
  if (view.currentSide != 1) return Mapping::Plain;
  if (kind == ItemKind::Outline || (kind == ItemKind::Pin && side == 0)) return Mapping::Mirrored;
  const bool quarterTurned = view.rotationStep == 1 || view.rotationStep == 3;
  return quarterTurned ? Mapping::Turned : Mapping::Plain;
}

}  // namespace

Pixel mapPoint(const ViewTransform& view, ItemKind kind, int32_t side, int32_t x, int32_t y) {
  const double bx = x;
  const double by = y;
  const double scale = view.scale;
  const Mapping mapping = mappingFor(view, kind, side);
  if (mapping == Mapping::Turned) {
    const double qx = bx * view.cosB + by * view.sinB;
    const double qy = -bx * view.sinB + by * view.cosB;
    return {truncToInt(qx * scale - view.offsetX + view.extentX * scale),
            truncToInt(qy * scale - view.offsetY + view.extentY * scale)};
  }
  const double rx = bx * view.cosA + by * view.sinA;
  const double ry = -bx * view.sinA + by * view.cosA;
  const int32_t px = truncToInt(rx * scale - view.offsetX);
  if (mapping == Mapping::Plain) return {px, truncToInt(ry * scale - view.offsetY)};
  // Mirrored about the middle line of the turned board, from the truncated turned y.
  const double t = truncToInt(ry);
  const double h = view.extentY / 2;
  return {px, truncToInt((2.0 * h - t) * scale - view.offsetY)};
}

void centrePointer(BoardArea& area) {
  area.movePointer(area.width() / 2, area.height() / 2);
}

int labelFontSize(float scale) {
  const double v = static_cast<double>(scale) * 30;
  if (!(v >= 10)) return kSmallLabelPoints;
  return truncToInt(v);
}

void viewAll(ViewTransform& view, BoardArea& area) {
  view.scale = static_cast<float>(view.defaultSize * kDefaultSizeScale);
  const double scale = view.scale;
  view.offsetX = truncToInt((view.extentX / 2) * scale - (area.width() / 2));
  view.offsetY = truncToInt((view.extentY / 2) * scale - (area.height() / 2));
  centrePointer(area);
  view.zoomLevel = view.defaultSize;
  area.redraw();
}

void rotateQuarter(ViewTransform& view, const BoardTables& tables, BoardArea& area) {
  const int step = view.rotationStep;
  view.rotationStep = static_cast<int8_t>(step < 0 || step >= 3 ? 0 : step + 1);
  view.rotationAngle = kRotationAngles[static_cast<std::size_t>(view.rotationStep)];
  const double s = std::sin(static_cast<double>(view.rotationAngle));
  const double c = std::cos(static_cast<double>(view.rotationAngle));
  const double fx = tables.fileExtentX;
  const double fy = tables.fileExtentY;
  view.extentY = truncToInt(s * -fx + c * fy);
  view.extentX = truncToInt(c * fx + s * fy);
  viewAll(view, area);
}

void flipSide(ViewTransform& view, BoardArea& area) {
  view.currentSide = view.currentSide == 1 ? 2 : 1;
  area.redraw();
}

bool zoomStep(ViewTransform& view, const ViewerState& state, ZoomDirection direction,
              BoardArea& area) {
  const bool zoomIn = direction == ZoomDirection::In;
  if (zoomIn ? !(view.scale < 1.0f) : !(view.zoomLevel > view.defaultSize)) return false;
  view.zoomLevel += zoomIn ? 1 : -1;

  const double oldScale = view.scale;
  view.viewCentreX = truncToInt((static_cast<double>(state.mouseX) + view.offsetX) / oldScale);
  view.viewCentreY = truncToInt((static_cast<double>(state.mouseY) + view.offsetY) / oldScale);
  view.scale = zoomIn ? static_cast<float>(oldScale * kZoomInFactor)
                      : static_cast<float>(static_cast<long double>(oldScale) * kZoomOutFactor);

  const double scale = view.scale;
  view.offsetX = truncToInt(view.viewCentreX * scale - (area.width() / 2));
  view.offsetY = truncToInt(view.viewCentreY * scale - (area.height() / 2));
  area.redraw();
  centrePointer(area);
  return true;
}

void panQuarter(ViewTransform& view, PanDirection direction, BoardArea& area) {
  const double scale = view.scale;
  const double stepX = (view.extentX / 4) * scale;
  const double stepY = (view.extentY / 4) * scale;
  switch (direction) {
    case PanDirection::Left:
      view.offsetX = truncToInt(view.offsetX - stepX);
      break;
    case PanDirection::Right:
      view.offsetX = truncToInt(view.offsetX + stepX);
      break;
    case PanDirection::Up:
      view.offsetY = truncToInt(view.offsetY - stepY);
      break;
    case PanDirection::Down:
      view.offsetY = truncToInt(view.offsetY + stepY);
      break;
  }
  area.redraw();
}

}  // namespace plexaro
