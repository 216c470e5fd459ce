#include "dravon/render/markup.h"

#include <algorithm>
#include <cmath>
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

}  // namespace

void drawNetMarkup(const CDravonDoc& doc, Painter& composite, const ShapePainter& shapes,
                   const ShownView& view) {
  SelectionScope restore(composite);
  const int topSide = topSideOf(view);
  const ImageMapping m = imageMapping(doc, topSide);

  // The far side's pad shapes first, so a pad that is larger there shows a yellow rim.
  for (const CPad& p : doc.pads) {
    if (doc.isNetMarked(p.net) == 0) continue;
    shapes.drawShape(composite, m.x16(p.x), m.y16(p.y), p.shape, 1 - topSide,
                     markColour(doc, p.net, doc.markColorB));
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
    composite.line({m.x(l.x1), m.y(l.y1)}, {m.x(l.x2), m.y(l.y2)});
  }

  composite.selectBrush(solidBrush(kViaHoleColour));
  composite.selectPen(insideFramePen(1, kViaHoleColour));
  for (const CVia& v : doc.vias) {
    if (doc.isNetMarked(v.net) == 0) continue;
    const int16_t x = m.x16(v.x);
    const int16_t y = m.y16(v.y);
    const int16_t hole = static_cast<int16_t>(v.hole / 2);
    shapes.drawShape(composite, x, y, v.shape, topSide, markColour(doc, v.net, doc.markColorA));
    composite.ellipse(Rect{x - hole, y - hole, x + hole, y + hole});
  }

  for (const CPad& p : doc.pads) {
    if (doc.isNetMarked(p.net) == 0) continue;
    shapes.drawShape(composite, m.x16(p.x), m.y16(p.y), p.shape, topSide,
                     markColour(doc, p.net, doc.markColorA));
  }
}

void drawLayerHighlight(const CDravonDoc& doc, Painter& composite, const ShownView& view,
                        int32_t layer) {
  SelectionScope restore(composite);
  const ImageMapping m = imageMapping(doc, topSideOf(view));
  for (const CLine& l : doc.lines) {
    if (l.layer != layer) continue;
    composite.selectPen(insideFramePen(l.width, kHighlightColour));
    composite.line({m.x(l.x1), m.y(l.y1)}, {m.x(l.x2), m.y(l.y2)});
  }
}

void drawFoundMarker(CDravonDoc& doc, Painter& composite, const ShownView& view) {
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
  drawPointerTriangle(doc, composite, view, x, y, kFoundMarkerColour);
}

void drawPointerTriangle(const CDravonDoc& doc, Painter& surface, const ShownView& view, int32_t x,
                         int32_t y, Rgb colour) {
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
}

}  // namespace dravon
