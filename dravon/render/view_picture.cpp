#include "dravon/render/view_picture.h"

#include "dravon/render/painter.h"

namespace dravon {

namespace {

// The size of the picture as drawn: the zoomed size, or the fit size in fit mode.
void pictureSize(const Surface& composite, const ViewGeometry& view, int64_t& dw, int64_t& dh) {
  dw = view.fitWidth;
  dh = view.fitHeight;
  if (view.zoomPercent != 0) {
    dw = int64_t{view.zoomPercent} * composite.width() / 100;
    dh = int64_t{view.zoomPercent} * composite.height() / 100;
  }
}

}  // namespace

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
  int64_t dw = 0;
  int64_t dh = 0;
  pictureSize(composite, view, dw, dh);
  const int64_t left = -int64_t{scrollX};
  const int64_t top = -int64_t{scrollY};
  if (dw <= 0 || dh <= 0 || left + dw > INT32_MAX || top + dh > INT32_MAX) return;
  stretchBlock(client,
               Rect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                    static_cast<int32_t>(left + dw), static_cast<int32_t>(top + dh)},
               composite, composite.bounds(), client.bounds());
}

void ViewPicture::draw(Surface& client, const Surface& composite, uint64_t version,
                       const ViewGeometry& view, int scrollX, int scrollY) {
  int64_t dw = 0;
  int64_t dh = 0;
  if (!composite.isEmpty()) pictureSize(composite, view, dw, dh);
  const bool shrunk = view.zoomPercent != 100 && dw > 0 && dh > 0 && dw <= composite.width() &&
                      dh <= composite.height() && dw * dh <= kMaxKeptPixels;
  if (version == 0 || !shrunk) {
    drawViewPicture(client, composite, view, scrollX, scrollY);
    return;
  }
  if (version != version_ || kept_.width() != dw || kept_.height() != dh) {
    version_ = 0;
    if ((kept_.width() != dw || kept_.height() != dh) &&
        !kept_.reset(static_cast<int>(dw), static_cast<int>(dh))) {
      drawViewPicture(client, composite, view, scrollX, scrollY);
      return;
    }
    stretchBlock(kept_, kept_.bounds(), composite, composite.bounds());
    version_ = version;
  }
  Painter painter(client);
  painter.fillRect(client.bounds(), solidBrush(kViewBackground));
  copyBlock(client, -scrollX, -scrollY, kept_, 0, 0, kept_.width(), kept_.height());
}

}  // namespace dravon
