#pragma once

#include <cstdint>

#include "dravon/card/card_doc.h"
#include "dravon/card/shape_index.h"
#include "dravon/render/painter.h"

namespace dravon {

// Places the card's shapes: device bodies, pads and vias. Shape values are card units and are
// divided by the document's resolution. Built for one card; it keeps a lookup of the shapes as
// they are when it is made. Every call puts the painter's pen and brush back as they were.
class ShapePainter {
 public:
  explicit ShapePainter(const CDravonDoc& doc) : doc_(doc), index_(doc.shapes) {}

  // The shape at image point (x, y) in `colour`: rectangles and offset rectangles filled without
  // outline, ellipses and polygons with a one-pixel outline of the same colour. `topSide` 1 draws
  // as the front shows it, 0 as the back shows it (x offsets mirrored). A padstack draws its
  // member for that side. Returns a rectangle that holds every pixel drawn (empty for none).
  Rect drawShape(Painter& painter, int16_t x, int16_t y, int32_t shapeIndex, int topSide,
                 Rgb colour) const;

  // The shape at a reduced scale, s plane units per pixel, filled with `colour` and outlined in
  // black. Offset rectangles and polygons are not mirrored.
  void drawShapeScaled(Painter& painter, int x, int y, int32_t shapeIndex, int topSide, Rgb colour,
                       double s) const;

 private:
  // The shape a padstack chain ends in for that side: its position, or -1 for none. A chain
  // that leads back to a padstack already passed ends in none.
  [[nodiscard]] int resolve(int32_t shapeIndex, int topSide) const;
  [[nodiscard]] int64_t resolution() const { return doc_.resolution == 0 ? 1 : doc_.resolution; }

  const CDravonDoc& doc_;
  ShapeIndex index_;
};

}  // namespace dravon
