#pragma once

#include <cstdint>

#include "dravon/card/card_doc.h"
#include "dravon/card/shape_index.h"

namespace dravon {

// The rectangle (left, top, right, bottom) that the shape with index `shapeIndex` covers when
// placed at the plane position (x, y): plane coordinates, y upward, no mirroring. Shape values
// are divided by the document's resolution. A missing shape, a shape without extent and a
// padstack whose members lead back to itself give (0, 0, 0, 0).
CardRect shapeExtent(const CDravonDoc& doc, int32_t x, int32_t y, int32_t shapeIndex);
// The same, finding shapes through `index` (built from doc.shapes as they are now).
CardRect shapeExtent(const CDravonDoc& doc, const ShapeIndex& index, int32_t x, int32_t y,
                     int32_t shapeIndex);

}  // namespace dravon
