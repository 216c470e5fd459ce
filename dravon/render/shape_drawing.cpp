#include "dravon/render/shape_drawing.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

namespace dravon {
namespace {

// Shape values come from files unchecked: sums are made in 64 bits and held to 32.
int32_t clamp32(int64_t v) {
  if (v > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
  if (v < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(v);
}

int64_t truncate(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 9.0e18) return std::numeric_limits<int64_t>::max() / 4;
  if (v <= -9.0e18) return std::numeric_limits<int64_t>::min() / 4;
  return static_cast<int64_t>(v);
}

Rect box(int64_t left, int64_t top, int64_t right, int64_t bottom) {
  return Rect{clamp32(left), clamp32(top), clamp32(right), clamp32(bottom)};
}

Point vertex(int64_t x, int64_t y) {
  return Point{clamp32(x), clamp32(y)};
}

}  // namespace

int ShapePainter::resolve(int32_t shapeIndex, int topSide) const {
  int32_t key = shapeIndex;
  // Each step passes one padstack; more steps than there are shapes means a cycle.
  for (std::size_t step = 0; step <= doc_.shapes.size(); ++step) {
    const int i = index_.find(key);
    if (i < 0) return -1;
    const CShape& shape = doc_.shapes[i];
    if (shape.type != kShapeComposite) return i;
    const std::vector<ShapePair>& p = shape.values;
    if (topSide != 0) {
      if (p.empty() || p[0].val2 == 0) return -1;
      key = p[0].val2;
    } else {
      const int32_t layers = doc_.layerCount;
      if (layers < 1 || p.size() < static_cast<std::size_t>(layers) || p[layers - 1].val2 == 0) {
        return -1;
      }
      key = p[layers - 1].val2;
    }
  }
  return -1;
}

Rect ShapePainter::drawShape(Painter& painter, int16_t x, int16_t y, int32_t shapeIndex,
                             int topSide, Rgb colour) const {
  const int i = resolve(shapeIndex, topSide);
  if (i < 0) return {};
  const CShape& shape = doc_.shapes[i];
  const std::vector<ShapePair>& p = shape.values;
  const int64_t c = resolution();
  const int64_t side = topSide != 0 ? 1 : -1;  // x offsets are mirrored on the back

  SelectionScope restore(painter);
  painter.selectBrush(solidBrush(colour));
  painter.selectPen(insideFramePen(1, colour));
  switch (shape.type) {
    case kShapeRectangle:
    case kShapeEllipse: {
      if (p.empty()) return {};
      const int64_t w = p[0].val1 / c;
      const int64_t h = p[0].val2 / c;
      const Rect r = box(x - w / 2, y - h / 2, x + w / 2, y + h / 2);
      if (shape.type == kShapeRectangle) {
        painter.fillRect(r);
      } else {
        painter.ellipse(r);
      }
      return normalized(r);
    }
    case kShapeOffsetRectangle: {
      if (p.size() < 2) return {};
      const Rect r = normalized(box(x + side * (p[1].val1 / c), y - p[1].val2 / c,
                                    x + side * (p[0].val1 / c), y - p[0].val2 / c));
      painter.fillRect(r);
      return r;
    }
    case kShapePolygon: {
      // Every vertex is drawn, however many the shape has; pair 1 is not a vertex.
      std::vector<Point> vertices;
      vertices.reserve(p.size());
      Rect r{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
      for (std::size_t k = 0; k < p.size(); ++k) {
        if (k == 1) continue;
        const Point v = vertex(x + side * (p[k].val1 / c), y - p[k].val2 / c);
        vertices.push_back(v);
        r = Rect{std::min(r.left, v.x), std::min(r.top, v.y), std::max(r.right, v.x),
                 std::max(r.bottom, v.y)};
      }
      painter.polygon(vertices);
      if (vertices.size() < 2) return {};
      return box(r.left, r.top, int64_t{r.right} + 1, int64_t{r.bottom} + 1);
    }
    default:
      return {};
  }
}

void ShapePainter::drawShapeScaled(Painter& painter, int x, int y, int32_t shapeIndex, int topSide,
                                   Rgb colour, double s) const {
  if (!(s > 0.0)) return;
  const int i = resolve(shapeIndex, topSide);
  if (i < 0) return;
  const CShape& shape = doc_.shapes[i];
  const std::vector<ShapePair>& p = shape.values;
  const int64_t c = resolution();
  const double d = s * static_cast<double>(c);

  SelectionScope restore(painter);
  painter.selectBrush(solidBrush(colour));
  painter.selectPen(insideFramePen(1, kBlack));
  switch (shape.type) {
    case kShapeOffsetRectangle:
      if (p.size() < 2) return;
      painter.rectangle(normalized(box(x + truncate(p[1].val1 / d), y - truncate(p[1].val2 / d),
                                       x + truncate(p[0].val1 / d), y - truncate(p[0].val2 / d))));
      return;
    case kShapePolygon: {
      std::vector<Point> vertices;
      vertices.reserve(p.size());
      for (std::size_t k = 0; k < p.size(); ++k) {
        if (k == 1) continue;
        vertices.push_back(vertex(x + truncate(p[k].val1 / d), y - truncate(p[k].val2 / d)));
      }
      painter.polygon(vertices);
      return;
    }
    case kShapeRectangle:
    case kShapeEllipse: {
      if (p.empty()) return;
      const int64_t halfWidth = (p[0].val1 / 2) / c;  // card units to plane units, truncated
      const int64_t halfHeight = (p[0].val2 / 2) / c;
      const int64_t hw = truncate(static_cast<double>(halfWidth) / s);
      const int64_t hh = truncate(static_cast<double>(halfHeight) / s);
      const Rect r = box(x - hw, y - hh, x + hw, y + hh);
      if (shape.type == kShapeRectangle) {
        painter.rectangle(r);
      } else {
        painter.ellipse(r);
      }
      return;
    }
    default:
      return;
  }
}

}  // namespace dravon
