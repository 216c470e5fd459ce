#include "dravon/render/shape_extent.h"

#include <algorithm>
#include <vector>

namespace dravon {
namespace {

// Sums in 64 bits, kept to the 32 bits of the rectangle: values come from files unchecked.
int32_t at(int64_t base, int64_t offset) {
  return static_cast<int32_t>(base + offset);
}

template <typename Find>
CardRect extentOf(const CDravonDoc& doc, const Find& find, int32_t x, int32_t y,
                  int32_t shapeIndex) {
  const int64_t c = doc.resolution == 0 ? 1 : doc.resolution;
  int32_t key = shapeIndex;
  // A padstack stands for one of its members; more steps than there are shapes means the
  // members lead back to a padstack already passed.
  for (std::size_t step = 0; step <= doc.shapes.size(); ++step) {
    const int i = find(key);
    if (i < 0) return {};
    const CShape& shape = doc.shapes[i];
    const std::vector<ShapePair>& p = shape.values;
    switch (shape.type) {
      case kShapeRectangle:
      case kShapeEllipse: {
        if (p.empty()) return {};
        const int64_t hw = (p[0].val1 / 2) / c;
        const int64_t hh = (p[0].val2 / 2) / c;
        return {at(x, -hw), at(y, -hh), at(x, hw), at(y, hh)};
      }
      case kShapeOffsetRectangle:
        if (p.size() < 2) return {};
        return {at(x, p[1].val1 / c), at(y, p[1].val2 / c), at(x, p[0].val1 / c),
                at(y, p[0].val2 / c)};
      case kShapeComposite:
        if (!p.empty() && p[0].val2 != 0) {
          key = p[0].val2;
        } else if (doc.layerCount >= 1 && p.size() >= static_cast<std::size_t>(doc.layerCount) &&
                   p[doc.layerCount - 1].val2 != 0) {
          key = p[doc.layerCount - 1].val2;
        } else {
          return {};
        }
        continue;
      case kShapePolygon: {
        if (p.empty()) return {};
        int64_t minX = INT64_MAX, minY = INT64_MAX, maxX = INT64_MIN, maxY = INT64_MIN;
        for (std::size_t k = 0; k < p.size(); ++k) {
          if (k == 1) continue;  // pair 1 is not a vertex
          const int64_t vx = int64_t{x} + p[k].val1 / c;
          const int64_t vy = int64_t{y} + p[k].val2 / c;
          minX = std::min(minX, vx);
          minY = std::min(minY, vy);
          maxX = std::max(maxX, vx);
          maxY = std::max(maxY, vy);
        }
        return {at(minX, 0), at(minY, 0), at(maxX, 1), at(maxY, 1)};
      }
      default:
        return {};
    }
  }
  return {};
}

}  // namespace

CardRect shapeExtent(const CDravonDoc& doc, int32_t x, int32_t y, int32_t shapeIndex) {
  const auto find = [&doc](int32_t key) {
    for (std::size_t i = 0; i < doc.shapes.size(); ++i) {
      if (doc.shapes[i].index == key) return static_cast<int>(i);
    }
    return -1;
  };
  return extentOf(doc, find, x, y, shapeIndex);
}

CardRect shapeExtent(const CDravonDoc& doc, const ShapeIndex& index, int32_t x, int32_t y,
                     int32_t shapeIndex) {
  return extentOf(
      doc, [&index](int32_t key) { return index.find(key); }, x, y, shapeIndex);
}

}  // namespace dravon
