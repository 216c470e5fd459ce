#include "dravon/render/view_picture.h"

#include "dravon/render/painter.h"

namespace dravon {

void drawViewPicture(Surface& client, const Surface& composite, const ViewGeometry& view,
                     int scrollX, int scrollY) {
  Painter painter(client);
  painter.fillRect(client.bounds(), solidBrush(kViewBackground));
  if (composite.isEmpty()) return;
  const int w = composite.width();
  const int h = composite.height();
  if (view.zoomPercent == 100) {
    copyBlock(client, -scrollX, -scrollY, composite, 0, 0, w, h);
    return;
  }
  int64_t dw = view.fitWidth;
  int64_t dh = view.fitHeight;
  if (view.zoomPercent != 0) {
    dw = int64_t{view.zoomPercent} * w / 100;
    dh = int64_t{view.zoomPercent} * h / 100;
  }
  const int64_t left = -int64_t{scrollX};
  const int64_t top = -int64_t{scrollY};
  if (dw <= 0 || dh <= 0 || left + dw > INT32_MAX || top + dh > INT32_MAX) return;
  stretchBlock(client,
               Rect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                    static_cast<int32_t>(left + dw), static_cast<int32_t>(top + dh)},
               composite, composite.bounds(), client.bounds());
}

}  // namespace dravon
