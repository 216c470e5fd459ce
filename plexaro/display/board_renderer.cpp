#include "plexaro/display/board_renderer.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <limits>

#include "plexaro/display/view_transform.h"
#include "plexaro/platform/board_area.h"
#include "plexaro/platform/status_bar.h"

namespace plexaro {

Rgb markColour(int32_t markSlot) {
  switch (markSlot) {
    case 2:
      return kRed;
    case 3:
      return kAqua;
    default:
      return kWhite;
  }
}

const Rgb* pinPenColour(int32_t currentSide) {
  switch (currentSide) {
    case 0:
      return &kGrey;
    case 1:
      return &kBlue;
    case 2:
      return &kGreen;
    default:
      return nullptr;
  }
}

namespace {

// Sums of a pixel and a margin can leave the 32-bit range for far-off items; they end at its
// limits instead of wrapping.
int32_t clampedSum(int64_t a, int64_t b) {
  return static_cast<int32_t>(std::clamp<int64_t>(a + b, std::numeric_limits<int32_t>::min(),
                                                  std::numeric_limits<int32_t>::max()));
}

PixelRect grownRect(Pixel a, Pixel b, int32_t by) {
  return {clampedSum(a.x, -int64_t{by}), clampedSum(a.y, -int64_t{by}), clampedSum(b.x, by),
          clampedSum(b.y, by)};
}

// A name field whose terminator a careless writer lost still ends at the field.
std::string_view nameText(const Name& name) {
  return {name.text, strnlen(name.text, sizeof name.text)};
}

// The decimal text of n after `prefix`, held in place: labels cost no allocation.
struct NumberText {
  std::array<char, 16> buffer;
  std::size_t size;
  NumberText(std::string_view prefix, int32_t n) {
    std::memcpy(buffer.data(), prefix.data(), prefix.size());
    auto result = std::to_chars(buffer.data() + prefix.size(), buffer.data() + buffer.size(), n);
    size = static_cast<std::size_t>(result.ptr - buffer.data());
  }
  [[nodiscard]] std::string_view view() const { return {buffer.data(), size}; }
};

bool strictlyInside(Pixel p, int64_t width, int64_t height) {
  return 0 < p.x && p.x < width && 0 < p.y && p.y < height;
}

void applyPinPen(Canvas& canvas, int32_t currentSide) {
  if (const Rgb* colour = pinPenColour(currentSide)) canvas.setPenColour(*colour);
}

}  // namespace

void BoardRenderer::drawBoard(const BoardTables& tables, ViewTransform& view,
                              const ViewerState& state) {
  if (!tables.loaded) return;
  canvas_.setBrushColour(kBlack);
  canvas_.fillRect({0, 0, area_.width(), area_.height()});
  canvas_.setPenColour(kRed);
  canvas_.setPenWidth(1);
  canvas_.setPenStyle(PenStyle::Solid);
  refreshAngles(view);
  status_.setPanelText(kSidePanel, view.currentSide == 1 ? kTopSideText : kBottomSideText);
  fontHeight_ = canvas_.fontHeight();

  drawOutline(tables, view);
  drawParts(tables, view, state);
  drawPins(tables, view);
  drawNails(tables, view, state);
}

void BoardRenderer::drawOutline(const BoardTables& tables, const ViewTransform& view) {
  const int count = std::clamp(tables.outlineCount, 0, kOutlineDrawCapacity);
  for (int i = 0; i < count; ++i) {
    const OutlinePoint& p = tables.outline[static_cast<std::size_t>(i)];
    outlinePoints_[static_cast<std::size_t>(i)] =
        mapPoint(view, ItemKind::Outline, view.currentSide, p.x, p.y);
  }
  if (count >= 2) canvas_.polyline({outlinePoints_.data(), static_cast<std::size_t>(count)});
}

void BoardRenderer::drawParts(const BoardTables& tables, const ViewTransform& view,
                              const ViewerState& state) {
  canvas_.setBrushColour(kTeal);
  partMargin_ = std::max(truncToInt(static_cast<double>(view.scale) * 20), 2);
  const int32_t m = partMargin_;
  // Parts are tested against twice the board area, so a part reaching in from the right or
  // bottom still shows its frame.
  const int64_t width2 = 2 * int64_t{area_.width()};
  const int64_t height2 = 2 * int64_t{area_.height()};
  const int count = std::clamp(tables.partCount, 0, kPartCapacity);
  for (int q = 0; q < count; ++q) {
    const PartEntry& part = tables.parts[static_cast<std::size_t>(q)];
    if (part.side != view.currentSide) continue;
    const Pixel a = mapPoint(view, ItemKind::Part, part.side, part.x1, part.y1);
    const Pixel b = mapPoint(view, ItemKind::Part, part.side, part.x2, part.y2);
    const Pixel low{std::min(a.x, b.x), std::min(a.y, b.y)};
    const Pixel high{std::max(a.x, b.x), std::max(a.y, b.y)};
    if (!strictlyInside(low, width2, height2) && !strictlyInside(high, width2, height2)) continue;

    const PixelRect rect = grownRect(low, high, m);
    if (part.marked || state.showAllPartNames) {
      canvas_.setBrushColour(kBlack);
      canvas_.setFontColour(kYellow);
      canvas_.textOut(rect.left, clampedSum(low.y, 2 * int64_t{fontHeight_}), nameText(part.name));
      canvas_.setBrushColour(part.marked ? kWhite : kTeal);
      canvas_.frameRect(rect);
      if (part.marked) canvas_.setBrushColour(kTeal);
    } else {
      canvas_.frameRect(rect);
    }
  }
}

void BoardRenderer::drawPins(const BoardTables& tables, const ViewTransform& view) {
  canvas_.setBrushColour(kBlack);
  markerRadius_ = std::max(truncToInt(static_cast<double>(view.scale) * 10), 1);
  const int32_t r = markerRadius_;
  const int32_t width = area_.width();
  const int32_t height = area_.height();
  // The side pen stays in force between pins: a marked pin puts it back after its own colour.
  applyPinPen(canvas_, view.currentSide);
  const int count = std::clamp(tables.pinCount, 0, kPinCapacity);
  for (int p = 0; p < count; ++p) {
    const PinEntry& pin = tables.pins[static_cast<std::size_t>(p)];
    if (pin.side != view.currentSide && pin.side != 0) continue;
    const Pixel at = mapPoint(view, ItemKind::Pin, pin.side, pin.x, pin.y);
    if (!strictlyInside(at, width, height)) continue;
    const PixelRect circle = grownRect(at, at, r);
    if (!pin.marked) {
      canvas_.ellipse(circle);
      continue;
    }
    const Rgb colour = markColour(pin.markSlot);
    canvas_.setBrushColour(kBlack);
    canvas_.setFontColour(colour);
    // A pin that no part's range holds has no number to show: it is drawn marked, unlabelled.
    const PinOwner owner = findPinPart(tables, p);
    if (owner.part >= 0) {
      canvas_.textOut(at.x, clampedSum(at.y, fontHeight_), NumberText("", owner.pinNumber).view());
    }
    canvas_.setPenColour(colour);
    canvas_.setBrushColour(colour);
    canvas_.ellipse(circle);
    applyPinPen(canvas_, view.currentSide);
    canvas_.setBrushColour(kBlack);
  }
}

void BoardRenderer::drawNails(const BoardTables& tables, const ViewTransform& view,
                              const ViewerState& state) {
  markerRadius_ = truncToInt(static_cast<double>(view.scale) * 20);
  const int32_t n = markerRadius_;
  canvas_.setPenColour(kFuchsia);
  canvas_.setBrushColour(kBlack);
  const int32_t width = area_.width();
  const int32_t height = area_.height();
  const int count = std::clamp(tables.nailCount, 0, kNailCapacity);
  for (int i = 0; i < count; ++i) {
    const NailEntry& nail = tables.nails[static_cast<std::size_t>(i)];
    if (nail.side != view.currentSide) continue;
    const Pixel at = mapPoint(view, ItemKind::Nail, nail.side, nail.x, nail.y);
    if (!strictlyInside(at, width, height)) continue;
    const PixelRect circle = grownRect(at, at, n);
    const int32_t labelY = clampedSum(at.y, 2 * int64_t{fontHeight_});
    if (nail.marked) {
      const Rgb colour = markColour(nail.markSlot);
      canvas_.setBrushColour(kBlack);
      canvas_.setFontColour(colour);
      canvas_.textOut(at.x, labelY, NumberText(kNailPrefix, nail.number).view());
      canvas_.setPenColour(colour);
      canvas_.setBrushColour(colour);
      canvas_.ellipse(circle);
      canvas_.setPenColour(kFuchsia);
      canvas_.setBrushColour(kBlack);
    } else if (state.showAllNailNumbers) {
      canvas_.setBrushColour(kBlack);
      canvas_.setFontColour(kLime);
      canvas_.textOut(at.x, labelY, NumberText(kNailPrefix, nail.number).view());
      canvas_.ellipse(circle);
    } else {
      canvas_.ellipse(circle);
    }
  }
}

}  // namespace plexaro
