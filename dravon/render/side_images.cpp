#include "dravon/render/side_images.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "dravon/render/markup.h"

namespace dravon {
namespace {

// Signal lines are drawn in bands of 2^kLineBandShift image rows.
constexpr int kLineBandShift = 5;

Rgb deviceColour(const std::string& name) {
  if (name.empty()) return kDeviceColour;
  if (name[0] == 'C') return kCapacitorColour;
  if (name[0] == 'J') return kConnectorColour;
  return kDeviceColour;
}

// Devices and signal lines belong to the front on layer 1 and to the back on the last layer.
bool onSide(int32_t layer, const CDravonDoc& doc, int topSide) {
  return topSide != 0 ? layer == 1 : layer == doc.layerCount;
}

// Puts back from `side` every tile of the composite that one of `drawn` touches. Tiles merge the
// many small overlapping areas of a net's items into a few row-wise copies.
void restoreDrawn(Surface& composite, const Surface& side, const std::vector<Rect>& drawn) {
  constexpr int kTile = 16;
  const int columns = (composite.width() + kTile - 1) / kTile;
  const int rows = (composite.height() + kTile - 1) / kTile;
  std::vector<uint8_t> dirty(static_cast<std::size_t>(columns) * rows, 0);
  for (const Rect& d : drawn) {
    const Rect r = intersected(normalized(d), composite.bounds());
    if (r.isEmpty()) continue;
    for (int ty = r.top / kTile; ty <= (r.bottom - 1) / kTile; ++ty) {
      for (int tx = r.left / kTile; tx <= (r.right - 1) / kTile; ++tx) {
        dirty[static_cast<std::size_t>(ty) * columns + tx] = 1;
      }
    }
  }
  for (int ty = 0; ty < rows; ++ty) {
    for (int tx = 0; tx < columns;) {
      if (dirty[static_cast<std::size_t>(ty) * columns + tx] == 0) {
        ++tx;
        continue;
      }
      const int first = tx;
      while (tx < columns && dirty[static_cast<std::size_t>(ty) * columns + tx] != 0) ++tx;
      copyBlock(composite, first * kTile, ty * kTile, side, first * kTile, ty * kTile,
                (tx - first) * kTile, kTile);
    }
  }
}

// Composite versions are unique across documents and cards, so a kept picture can never be
// taken for one of another composite.
uint64_t nextCompositeVersion() {
  static uint64_t last = 0;
  return ++last;
}

int32_t truncated(double v) {
  if (!(v > -2.0e9 && v < 2.0e9)) return 0;
  return static_cast<int32_t>(v);
}

}  // namespace

ImageMapping imageMapping(const CDravonDoc& doc, int topSide) {
  return ImageMapping{doc.imageRect.right, doc.imageRect.bottom, topSide};
}

bool drawSideImage(const CDravonDoc& doc, const ShapePainter& shapes, Surface& image, int topSide) {
  const CardRect& r = doc.imageRect;
  // The white ground usually covers the whole image, which is then made white at once; a card
  // area starting right or below the origin leaves the strips before it black.
  const bool groundCoversImage = r.left <= 0 && r.top <= 0;
  if (!image.reset(r.right, r.bottom, groundCoversImage ? kWhite : kBlack)) return false;
  const ImageMapping m = imageMapping(doc, topSide);
  Painter painter(image);
  SelectionScope restore(painter);
  if (!groundCoversImage) painter.fillRect(Rect{r.left, r.top, r.right, r.bottom}, kWhiteBrush);

  painter.selectPen(insideFramePen(kOutlinePenWidth, kOutlineColour));
  for (const CLine& l : doc.outlineLines) {
    painter.line({m.x(l.x1), m.y(l.y1)}, {m.x(l.x2), m.y(l.y2)});
  }

  // A card without devices has nothing to seed the card area: it stays white.
  if (!doc.devices.empty()) {
    const CDev& seed = doc.devices.front();
    painter.selectBrush(solidBrush(kCardFillColour));
    painter.floodFill({m.x16(seed.x), m.y16(seed.y)}, kOutlineColour);
  }

  // Every signal line writes the same colour in copy mode, so the order they are drawn in cannot
  // change a pixel. Drawn band by band down the image, neighbouring lines share rows that are
  // still cached instead of each line landing somewhere else in a picture of hundreds of megabytes.
  struct Placed {
    int32_t band;
    int32_t left;
    const CLine* line;
  };
  std::vector<Placed> sideLines;
  for (const CLine& l : doc.lines) {
    if (!onSide(l.layer, doc, topSide)) continue;
    sideLines.push_back(
        {std::min(m.y(l.y1), m.y(l.y2)) >> kLineBandShift, std::min(m.x(l.x1), m.x(l.x2)), &l});
  }
  std::sort(sideLines.begin(), sideLines.end(), [](const Placed& a, const Placed& b) {
    return a.band != b.band ? a.band < b.band : a.left < b.left;
  });
  int current = kSignalPenWidth;
  painter.selectPen(insideFramePen(current, kSignalLineColour));
  for (const Placed& placed : sideLines) {
    const CLine& l = *placed.line;
    const int width = l.width;  // NOLINT(bugprone-signed-char-misuse): widths are signed
    if (width != current) {
      current = width;
      painter.selectPen(insideFramePen(current, kSignalLineColour));
    }
    painter.line({m.x(l.x1), m.y(l.y1)}, {m.x(l.x2), m.y(l.y2)});
  }

  for (const CDev& d : doc.devices) {
    if (d.notAssembled != 0 || !onSide(d.layer, doc, topSide)) continue;
    shapes.drawShape(painter, m.x16(d.x), m.y16(d.y), d.shape, topSide, deviceColour(d.name));
  }

  painter.selectBrush(solidBrush(kViaHoleColour));
  painter.selectPen(insideFramePen(1, kViaHoleColour));
  for (const CVia& v : doc.vias) {
    const int16_t x = m.x16(v.x);
    const int16_t y = m.y16(v.y);
    const int16_t hole = static_cast<int16_t>(v.hole / 2);
    shapes.drawShape(painter, x, y, v.shape, topSide, kViaColour);
    painter.ellipse(Rect{x - hole, y - hole, x + hole, y + hole});
  }

  for (const CPad& p : doc.pads) {
    shapes.drawShape(painter, m.x16(p.x), m.y16(p.y), p.shape, topSide, kPadColour);
  }
  return true;
}

void buildSideImages(CDravonDoc& doc, bool viewVisible) {
  const auto releaseAll = [&doc] {
    doc.frontImage = Surface();
    doc.backImage = Surface();
    doc.compositeImage = Surface();
  };
  doc.compositeContent = CompositeContent();
  const bool building = !doc.cardName.empty() && viewVisible;
  // Images of the size about to be drawn keep their memory and are drawn over: fresh pages of a
  // picture this large cost the system more to hand out than the drawing itself. Others go first,
  // so no more than three images are ever held.
  const bool sameSize = doc.frontImage.width() == doc.imageRect.right &&
                        doc.frontImage.height() == doc.imageRect.bottom;
  if (!building || !sameSize) releaseAll();
  if (!building) return;
  const ShapePainter shapes(doc);
  doc.showStatus(kCreatingFrontImage);
  if (!drawSideImage(doc, shapes, doc.frontImage, 1)) {
    releaseAll();
    return;
  }
  doc.showStatus(kCreatingBackImage);
  if (!drawSideImage(doc, shapes, doc.backImage, 0)) {
    releaseAll();
    return;
  }
  // The composite starts as a copy of the front, which the view shows first: its first refresh
  // then has nothing to put back.
  try {
    doc.compositeImage = doc.frontImage;
  } catch (const std::bad_alloc&) {
    releaseAll();
    return;
  }
  doc.compositeContent = CompositeContent{1, {}, nextCompositeVersion()};
}

void refreshComposite(CDravonDoc& doc, const ShownView& view, Feedback* feedback) {
  const Surface& side = view.showFront != 0 ? doc.frontImage : doc.backImage;
  Surface& composite = doc.compositeImage;
  if (side.isEmpty() || composite.isEmpty() || side.width() != composite.width() ||
      side.height() != composite.height()) {
    return;
  }
  if (feedback != nullptr) feedback->setWaitCursor(true);
  doc.markColorA = kMarkRed;
  doc.markColorB = kMarkYellow;
  // The composite already holds this side under the last overlays: only their areas go back.
  CompositeContent& content = doc.compositeContent;
  const int shownSide = view.showFront != 0 ? 1 : 0;
  if (content.side == shownSide) {
    restoreDrawn(composite, side, content.drawn);
  } else {
    copyBlock(composite, 0, 0, side, 0, 0, side.width(), side.height());
    content.side = shownSide;
  }
  content.drawn.clear();
  Painter painter(composite);
  if (doc.markedNetCount() > 0) {
    const ShapePainter shapes(doc);
    drawNetMarkup(doc, painter, shapes, view, &content.drawn);
  }
  if (doc.highlightLayer != -1) {
    drawLayerHighlight(doc, painter, view, doc.highlightLayer, &content.drawn);
  }
  if (!doc.foundName.empty()) drawFoundMarker(doc, painter, view, &content.drawn);
  content.version = nextCompositeVersion();
  if (feedback != nullptr) {
    feedback->beep();
    feedback->setWaitCursor(false);
  }
}

bool drawOutlineImage(const CDravonDoc& doc, Surface& image, int topSide, int size) {
  // The whole picture starts white, also where a small card does not reach.
  if (!image.reset(size, size, kWhite)) return false;
  Painter painter(image);
  SelectionScope restore(painter);
  const CardRect& r = doc.imageRect;
  const double a = static_cast<double>(r.right - r.left) / size;
  const double b = static_cast<double>(r.bottom - r.top) / size;
  const double s = (a > b ? a : b) * 1.1;
  if (!(s > 0.0)) return true;  // no card area: a white picture
  const ImageMapping m = imageMapping(doc, topSide);
  const auto at = [s](int32_t v) { return truncated(v / s) + kOutlineImageMargin; };

  painter.selectPen(solidPen(kOutlineImagePenWidth, kOutlineColour));
  for (const CLine& l : doc.outlineLines) {
    painter.line({at(m.x(l.x1)), at(m.y(l.y1))}, {at(m.x(l.x2)), at(m.y(l.y2))});
  }
  const ShapePainter shapes(doc);
  for (const CDev& d : doc.devices) {
    if (d.notAssembled != 0 || !onSide(d.layer, doc, topSide)) continue;
    shapes.drawShapeScaled(painter, at(m.x16(d.x)), at(m.y16(d.y)), d.shape, topSide,
                           kOutlineBodyColour, s);
  }
  return true;
}

}  // namespace dravon
