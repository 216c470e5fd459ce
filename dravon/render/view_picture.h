#pragma once

#include "dravon/render/surface.h"
#include "dravon/render/view_geometry.h"

namespace dravon {

// The window colour around the picture when it is smaller than the client area.
inline constexpr Rgb kViewBackground{255, 255, 255};

// The client area as the view shows it: the composite copied at 100 %, stretched to the zoomed
// or fitted size otherwise (shrinking combines pixels by AND), scrolled by (scrollX, scrollY),
// on the window colour. Only the visible part is stretched. Without a composite the client area
// shows the window colour alone.
void drawViewPicture(Surface& client, const Surface& composite, const ViewGeometry& view,
                     int scrollX, int scrollY);

// The view's picture with the shrunk picture kept: a picture drawn smaller than the composite
// costs a pass over the whole composite, so it is made once per composite version and size,
// and repaints and scrolls then only copy from it. Grown and 100 % pictures are drawn directly.
class ViewPicture {
 public:
  // Kept pictures are at most this many pixels; larger shrunk pictures are drawn directly.
  static constexpr int64_t kMaxKeptPixels = int64_t{1} << 24;

  // The same pixels as drawViewPicture. `version` is the composite's compositeContent.version.
  void draw(Surface& client, const Surface& composite, uint64_t version, const ViewGeometry& view,
            int scrollX, int scrollY);

 private:
  Surface kept_;
  uint64_t version_ = 0;
};

}  // namespace dravon
