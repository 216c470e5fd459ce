#pragma once

#include <cstdint>
#include <vector>

#include "dravon/card/card_doc.h"
#include "dravon/render/painter.h"
#include "dravon/render/shape_drawing.h"
#include "dravon/render/side_images.h"

namespace dravon {

inline constexpr Rgb kHighlightColour{255, 255, 0};
inline constexpr Rgb kFoundMarkerColour{255, 255, 255};
// The marker triangle's two far vertices, from its tip toward the image's centre.
inline constexpr int kTriangleLong = 150;
inline constexpr int kTriangleShort = 120;

// Where an overlay drew: rectangles that together hold every pixel it changed. Each drawing
// below appends to `drawn` when it is given.
using DrawnAreas = std::vector<Rect>;

// The marked nets' pads, lines and vias over the shown side: red on the shown side's layer,
// yellow on the others, blue and orange for ground and supply nets when several are marked.
void drawNetMarkup(const CDravonDoc& doc, Painter& composite, const ShapePainter& shapes,
                   const ShownView& view, DrawnAreas* drawn = nullptr);

// Every signal line of `layer` in yellow, at its own width.
void drawLayerHighlight(const CDravonDoc& doc, Painter& composite, const ShownView& view,
                        int32_t layer, DrawnAreas* drawn = nullptr);

// The inverting triangle at the found component, pin or test point, when it is on the shown
// side. Sets currentNet for a found component (-1) or pin (its pad's net).
void drawFoundMarker(CDravonDoc& doc, Painter& composite, const ShownView& view,
                     DrawnAreas* drawn = nullptr);

// The triangle with its tip at the plane point (x, y), drawn in exclusive-or toward the image's
// centre.
void drawPointerTriangle(const CDravonDoc& doc, Painter& surface, const ShownView& view, int32_t x,
                         int32_t y, Rgb colour, DrawnAreas* drawn = nullptr);

}  // namespace dravon
