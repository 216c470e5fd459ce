#include "dravon/render/side_images.h"

#include <algorithm>
#include <cmath>
#include <new>
#include <span>
#include <vector>

#include "dravon/render/markup.h"

namespace dravon {
namespace {

// The card area and the signal lines are drawn in bands of this many image rows: a megabyte or two
// of a large image, which stays in the cache while the band is drawn.
constexpr int kBandRows = 32;
// Runs of the card area held before painting; far more than any real outline leaves.
constexpr std::size_t kMaxHeldRuns = std::size_t{1} << 20;

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

// The green card area, then that side's signal lines over it. Both are drawn band by band down the
// image: a band's share of the area brings its rows into the cache, where the lines of the band
// then land, instead of each line missing the cache somewhere in hundreds of megabytes. Every
// signal line writes the same colour in copy mode, so neither their order nor drawing them in
// pieces can change a pixel; the area's runs are found before anything of them is painted.
void drawCardAreaAndSignalLines(const CDravonDoc& doc, Painter& painter, const ImageMapping& m,
                                int topSide) {
  const Surface& image = painter.surface();
  const int bands = (image.height() + kBandRows - 1) / kBandRows;

  std::vector<RowRun> area;
  bool areaPainted = false;
  // A card without devices has nothing to seed the card area: it stays white.
  if (!doc.devices.empty()) {
    const CDev& seed = doc.devices.front();
    painter.selectBrush(solidBrush(kCardFillColour));
    painter.floodFillRuns({m.x16(seed.x), m.y16(seed.y)}, kOutlineColour, [&](const RowRun& run) {
      if (run.x0 >= run.x1) return;
      if (areaPainted) {
        painter.fillRuns({&run, 1});
        return;
      }
      area.push_back(run);
      // An outline of very many pieces: paint as found, not held.
      if (area.size() >= kMaxHeldRuns) {
        painter.fillRuns(area);
        area.clear();
        areaPainted = true;
      }
    });
    std::sort(area.begin(), area.end(), [](const RowRun& a, const RowRun& b) { return a.y < b.y; });
  }

  struct Placed {
    int width;
    int32_t left;
    int firstBand;
    int lastBand;
    Point from;
    Point to;
  };
  std::vector<Placed> lines;
  for (const CLine& l : doc.lines) {
    if (!onSide(l.layer, doc, topSide)) continue;
    const int width = l.width;  // NOLINT(bugprone-signed-char-misuse): widths are signed
    const Point from{m.x(l.x1), m.y(l.y1)};
    const Point to{m.x(l.x2), m.y(l.y2)};
    // The rows a pen of this width can reach, with a row to spare.
    const int64_t reach = std::max(width, 1) + 1;
    const int64_t top = int64_t{std::min(from.y, to.y)} - reach;
    const int64_t bottom = int64_t{std::max(from.y, to.y)} + reach;
    if (bottom < 0 || top >= image.height()) continue;
    lines.push_back({width, std::min(from.x, to.x),
                     static_cast<int>(std::max<int64_t>(top, 0) / kBandRows),
                     static_cast<int>(std::min<int64_t>(bottom / kBandRows, bands - 1)), from, to});
  }
  // By pen width, then left to right, and so within each band: the pen changes a few times per
  // band and neighbouring lines share the cached part of its rows.
  std::sort(lines.begin(), lines.end(), [](const Placed& a, const Placed& b) {
    return a.width != b.width ? a.width < b.width : a.left < b.left;
  });
  // Each band's lines, copied in drawing order so the band pass reads them in sequence.
  struct Piece {
    int width;
    Point from;
    Point to;
  };
  std::vector<std::size_t> bandStart(static_cast<std::size_t>(bands) + 1, 0);
  for (const Placed& p : lines) {
    for (int band = p.firstBand; band <= p.lastBand; ++band) ++bandStart[band + 1];
  }
  for (int band = 0; band < bands; ++band) bandStart[band + 1] += bandStart[band];
  std::vector<Piece> byBand(bandStart.back());
  std::vector<std::size_t> fillAt(bandStart.begin(), bandStart.end() - 1);
  for (const Placed& p : lines) {
    for (int band = p.firstBand; band <= p.lastBand; ++band) {
      byBand[fillAt[band]++] = {p.width, p.from, p.to};
    }
  }

  int current = kSignalPenWidth;
  painter.selectPen(insideFramePen(current, kSignalLineColour));
  std::size_t run = 0;
  for (int band = 0; band < bands; ++band) {
    const int rowBegin = band * kBandRows;
    const int rowEnd = rowBegin + kBandRows;
    const std::size_t runFrom = run;
    while (run < area.size() && area[run].y < rowEnd) ++run;
    painter.fillRuns(std::span<const RowRun>(area).subspan(runFrom, run - runFrom));
    for (std::size_t k = bandStart[band]; k < bandStart[band + 1]; ++k) {
      const Piece& piece = byBand[k];
      if (piece.width != current) {
        current = piece.width;
        painter.selectPen(insideFramePen(current, kSignalLineColour));
      }
      painter.lineInRows(piece.from, piece.to, rowBegin, rowEnd);
    }
  }
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

  drawCardAreaAndSignalLines(doc, painter, m, topSide);

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
