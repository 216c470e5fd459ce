#include "dravon/render/markup.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "dravon/card/cad_export_reader.h"

namespace dravon {
namespace {

Rgb rgbOf(MarkColour c) {
  return Rgb{c.red, c.green, c.blue};
}

// The net's own colour when several nets are marked, else `fallback`.
Rgb markColour(const CDravonDoc& doc, int32_t net, Rgb fallback) {
  const std::optional<MarkColour> own = doc.netMarkColor(net);
  return own ? rgbOf(*own) : fallback;
}

bool startsWith(std::string_view text, std::string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

int topSideOf(const ShownView& view) {
  return view.showFront != 0 ? 1 : 0;
}

void note(DrawnAreas* drawn, Rect r) {
  if (drawn != nullptr && !r.isEmpty()) drawn->push_back(r);
}

// A line's pixels lie within width / 2 of the segment and, rounded, within a pixel of it. A long
// line is noted in pieces, so that its areas stay close to it.
void noteLine(DrawnAreas* drawn, Point from, Point to, int width) {
  if (drawn == nullptr || from == to) return;
  constexpr int64_t kPiece = 64;
  const int64_t margin = std::max(width, 1) / 2 + 3;
  const int64_t dx = int64_t{to.x} - from.x;
  const int64_t dy = int64_t{to.y} - from.y;
  const int64_t pieces = std::max<int64_t>(1, std::max(std::llabs(dx), std::llabs(dy)) / kPiece);
  const auto clamp = [](int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
  };
  int64_t x0 = from.x;
  int64_t y0 = from.y;
  for (int64_t k = 1; k <= pieces; ++k) {
    const int64_t x1 = from.x + dx * k / pieces;
    const int64_t y1 = from.y + dy * k / pieces;
    drawn->push_back(Rect{clamp(std::min(x0, x1) - margin), clamp(std::min(y0, y1) - margin),
                          clamp(std::max(x0, x1) + margin + 1),
                          clamp(std::max(y0, y1) + margin + 1)});
    x0 = x1;
    y0 = y1;
  }
}

}  // namespace

void drawNetMarkup(const CDravonDoc& doc, Painter& composite, const ShapePainter& shapes,
                   const ShownView& view, DrawnAreas* drawn) {
  SelectionScope restore(composite);
  const int topSide = topSideOf(view);
  const ImageMapping m = imageMapping(doc, topSide);

  // The far side's pad shapes first, so a pad that is larger there shows a yellow rim.
  for (const CPad& p : doc.pads) {
    if (doc.isNetMarked(p.net) == 0) continue;
    note(drawn, shapes.drawShape(composite, m.x16(p.x), m.y16(p.y), p.shape, 1 - topSide,
                                 markColour(doc, p.net, doc.markColorB)));
  }

  // Shrunk pictures lose thin lines, so in fit mode marked lines are at least one window pixel.
  int minimum = 0;
  if (view.zoomPercent == 0) {
    const double w = view.viewScale + 1.0;
    minimum = w > 1.0e6 ? 1000000 : static_cast<int>(w);
  }
  const int32_t shownLayer = topSide != 0 ? 1 : doc.layerCount;
  bool havePen = false;
  Pen pen;
  for (const CLine& l : doc.lines) {
    if (doc.isNetMarked(l.net) == 0 || l.layer > doc.layerCount) continue;
    const int width = std::max<int>(l.width, minimum);
    const Rgb colour =
        markColour(doc, l.net, l.layer == shownLayer ? doc.markColorA : doc.markColorB);
    if (!havePen || pen.width != width || pen.colour != colour) {
      pen = insideFramePen(width, colour);
      composite.selectPen(pen);
      havePen = true;
    }
    const Point from{m.x(l.x1), m.y(l.y1)};
    const Point to{m.x(l.x2), m.y(l.y2)};
    composite.line(from, to);
    noteLine(drawn, from, to, width);
  }

  composite.selectBrush(solidBrush(kViaHoleColour));
  composite.selectPen(insideFramePen(1, kViaHoleColour));
  for (const CVia& v : doc.vias) {
    if (doc.isNetMarked(v.net) == 0) continue;
    const int16_t x = m.x16(v.x);
    const int16_t y = m.y16(v.y);
    const int16_t hole = static_cast<int16_t>(v.hole / 2);
    note(drawn, shapes.drawShape(composite, x, y, v.shape, topSide,
                                 markColour(doc, v.net, doc.markColorA)));
    const Rect drill{x - hole, y - hole, x + hole, y + hole};
    composite.ellipse(drill);
    note(drawn, normalized(drill));
  }

  for (const CPad& p : doc.pads) {
    if (doc.isNetMarked(p.net) == 0) continue;
    note(drawn, shapes.drawShape(composite, m.x16(p.x), m.y16(p.y), p.shape, topSide,
                                 markColour(doc, p.net, doc.markColorA)));
  }
}

void drawLayerHighlight(const CDravonDoc& doc, Painter& composite, const ShownView& view,
                        int32_t layer, DrawnAreas* drawn) {
  SelectionScope restore(composite);
  const ImageMapping m = imageMapping(doc, topSideOf(view));
  for (const CLine& l : doc.lines) {
    if (l.layer != layer) continue;
    composite.selectPen(insideFramePen(l.width, kHighlightColour));
    const Point from{m.x(l.x1), m.y(l.y1)};
    const Point to{m.x(l.x2), m.y(l.y2)};
    composite.line(from, to);
    noteLine(drawn, from, to, l.width);
  }
}

void drawFoundMarker(CDravonDoc& doc, Painter& composite, const ShownView& view,
                     DrawnAreas* drawn) {
  const bool front = view.showFront != 0;
  const std::string_view name = doc.foundName;
  const auto shown = [front](int32_t layer) { return front ? layer == 1 : layer != 1; };
  int32_t x = 0;
  int32_t y = 0;
  if (startsWith(name, kTestPointPrefix) || startsWith(name, kGroundMark)) {
    if (doc.foundIndex < 0 || static_cast<std::size_t>(doc.foundIndex) >= doc.testPoints.size()) {
      return;
    }
    const CTp& tp = doc.testPoints[doc.foundIndex];
    if (!shown(tp.layer)) return;
    x = tp.x;
    y = tp.y;
  } else if (startsWith(name, " ")) {
    return;  // a net name: no marker
  } else {
    if (doc.foundIndex < 0 || static_cast<std::size_t>(doc.foundIndex) >= doc.devices.size()) {
      return;
    }
    const CDev& device = doc.devices[doc.foundIndex];
    if (doc.foundPin == -1) {
      x = device.x;
      y = device.y;
      doc.currentNet = -1;
    } else {
      const CPad* found = nullptr;
      for (const CPad& p : doc.pads) {
        if (p.device == doc.foundIndex && p.pin == doc.foundPin) {
          found = &p;
          break;
        }
      }
      if (found == nullptr) return;
      x = found->x;
      y = found->y;
      doc.currentNet = found->net;
    }
    if (!shown(device.layer) || doc.markedNetCount() > 1) return;
  }
  drawPointerTriangle(doc, composite, view, x, y, kFoundMarkerColour, drawn);
}

void drawPointerTriangle(const CDravonDoc& doc, Painter& surface, const ShownView& view, int32_t x,
                         int32_t y, Rgb colour, DrawnAreas* drawn) {
  const ImageMapping m = imageMapping(doc, topSideOf(view));
  const int32_t tx = m.x16(x);
  const int32_t ty = m.y16(y);
  const bool lower = ty >= m.height / 2;
  const bool left = tx < m.width / 2;
  const int32_t dx = left ? 1 : -1;
  const int32_t dy = lower ? -1 : 1;
  const Point vertices[] = {{tx, ty},
                            {tx + dx * kTriangleLong, ty + dy * kTriangleShort},
                            {tx + dx * kTriangleShort, ty + dy * kTriangleLong}};
  SelectionScope restore(surface);
  const RasterMode mode = surface.setRasterMode(RasterMode::Xor);
  surface.selectPen(insideFramePen(1, colour));
  surface.selectBrush(solidBrush(colour));
  surface.polygon(vertices);
  surface.setRasterMode(mode);
  note(drawn,
       Rect{std::min(tx, tx + dx * kTriangleLong) - 1, std::min(ty, ty + dy * kTriangleLong) - 1,
            std::max(tx, tx + dx * kTriangleLong) + 2, std::max(ty, ty + dy * kTriangleLong) + 2});
}

}  // namespace dravon
