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

}  // namespace dravon
