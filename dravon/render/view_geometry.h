#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "dravon/card/card_doc.h"
#include "dravon/platform/scroll_container.h"

namespace dravon {

inline constexpr std::string_view kReadoutFormat = "x=%d y=%d";
// Zoom to a rectangle never goes beyond 400 %.
inline constexpr double kSmallestViewScale = 0.25;
// computeFit ignores client areas this narrow or low.
inline constexpr int kSmallestFitClient = 4;

struct PlanePoint {
  int32_t x = 0;
  int32_t y = 0;

  friend constexpr bool operator==(PlanePoint, PlanePoint) = default;
};

// The card view's view state and its arithmetic: window pixels to plane units, fit to the
// client area, zoom by percentage or to a dragged rectangle, and the change of side. Images are
// W x H pixels with W and H the right and bottom of the document's imageRect.
class ViewGeometry {
 public:
  // `refresh` rebuilds the composite image; the side change and leaving fit mode need it.
  ViewGeometry(const CDravonDoc& doc, ScrollContainer& container, std::function<void()> refresh)
      : doc_(doc), container_(container), refresh_(std::move(refresh)) {}

  int32_t showFront = 1;
  int32_t zoomPercent = 0;  // 0 = fit to window
  double viewScale = 1.0;   // image pixels per window pixel
  int32_t fitWidth = 0;
  int32_t fitHeight = 0;
  int32_t clientWidth = 0;
  int32_t clientHeight = 0;
  int32_t lastPointX = 0;
  int32_t lastPointY = 0;

  [[nodiscard]] PlanePoint windowToPlane(int wx, int wy) const;
  void computeFit(int cx, int cy);
  void applyZoom();
  void zoomToRectangle(int x0, int y0, int x1, int y1);
  void upsideDown();
  [[nodiscard]] std::string formatReadout(int32_t px, int32_t py) const;

  // The view's update for a new card: fit to a client area of cx x cy, front side, fit mode.
  // The caller refreshes the composite and repaints.
  void showNewCard(int cx, int cy);
  // A size change of the client area: in fit mode the fit follows it.
  void resize(int cx, int cy);

  // The picture's size as drawn: the scroll extent.
  [[nodiscard]] int displayWidth() const { return displayWidth_; }
  [[nodiscard]] int displayHeight() const { return displayHeight_; }

 private:
  [[nodiscard]] int32_t imageWidth() const { return doc_.imageRect.right - doc_.imageRect.left; }
  [[nodiscard]] int32_t imageHeight() const { return doc_.imageRect.bottom - doc_.imageRect.top; }
  [[nodiscard]] double fitScale(int cx, int cy) const;
  void setDisplaySize(int64_t width, int64_t height);

  const CDravonDoc& doc_;
  ScrollContainer& container_;
  std::function<void()> refresh_;
  int displayWidth_ = 0;
  int displayHeight_ = 0;
};

}  // namespace dravon
