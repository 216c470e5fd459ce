#pragma once

#include <cstdint>
#include <string_view>

#include "dravon/card/card_doc.h"
#include "dravon/platform/feedback.h"
#include "dravon/render/painter.h"
#include "dravon/render/shape_drawing.h"
#include "dravon/render/surface.h"

namespace dravon {

inline constexpr std::string_view kCreatingFrontImage = "creating front side image";
inline constexpr std::string_view kCreatingBackImage = "creating back side image";

// The side images' colours. Picking reads them back, so they are exact.
inline constexpr Rgb kOutlineColour{0, 0, 0};
inline constexpr Rgb kCardFillColour{0, 128, 0};
inline constexpr Rgb kSignalLineColour{0, 255, 0};
inline constexpr Rgb kCapacitorColour{0, 0, 128};   // devices named C...
inline constexpr Rgb kConnectorColour{64, 64, 64};  // devices named J...
inline constexpr Rgb kDeviceColour{0, 0, 0};
inline constexpr Rgb kViaColour{192, 192, 192};
inline constexpr Rgb kViaHoleColour{0, 0, 0};
inline constexpr Rgb kPadColour{128, 128, 128};
inline constexpr Rgb kMarkRed{255, 0, 0};
inline constexpr Rgb kMarkYellow{255, 255, 0};
inline constexpr Rgb kOutlineBodyColour{240, 240, 240};

inline constexpr int kOutlinePenWidth = 5;
inline constexpr int kSignalPenWidth = 3;
inline constexpr int kOutlineImagePenWidth = 2;
inline constexpr int kOutlineImageMargin = 2;
inline constexpr int kOutlineImageSize = 200;  // the clipboard's mono picture

// What the view shows, as the drawing needs it.
struct ShownView {
  int32_t showFront = 1;
  int32_t zoomPercent = 0;
  double viewScale = 1.0;
};

// The image point of a plane point on one side: the back is the front mirrored left to right.
// Positions of devices, pads and vias are handed on as 16-bit values.
struct ImageMapping {
  int32_t width = 0;   // right of imageRect
  int32_t height = 0;  // bottom of imageRect
  int topSide = 1;

  [[nodiscard]] int32_t x(int32_t px) const { return topSide != 0 ? px : width - px; }
  [[nodiscard]] int32_t y(int32_t py) const { return height - py; }
  [[nodiscard]] int16_t x16(int32_t px) const { return static_cast<int16_t>(x(px)); }
  [[nodiscard]] int16_t y16(int32_t py) const { return static_cast<int16_t>(y(py)); }
};

ImageMapping imageMapping(const CDravonDoc& doc, int topSide);

// Draws one side image (`topSide` 1 the front, 0 the back) into `image`, made W x H anew:
// white ground, outline, green card area, that side's signal lines, devices, vias and pads.
// Fails, leaving `image` empty, when the image cannot be had.
bool drawSideImage(const CDravonDoc& doc, const ShapePainter& shapes, Surface& image, int topSide);

// Draws both side images and makes the composite, once per card. Nothing is built for a
// document without a card, or while the view is not visible; the images of a previous card are
// released either way.
void buildSideImages(CDravonDoc& doc, bool viewVisible);

// Rebuilds the composite for the shown side: the side image, then net markup, layer highlight
// and the found-item marker, then the beep. Without built images the composite stays empty and
// nothing is sounded. The caller repaints. When the composite already holds the shown side, only
// the areas the last refresh drew over are put back (compositeContent); code that draws into the
// composite in any other way sets compositeContent.side to -1.
void refreshComposite(CDravonDoc& doc, const ShownView& view, Feedback* feedback);

// The small outline picture of one side: `size` x `size` pixels, white, with the outline and the
// device bodies in light grey, scaled so that the card fills about 91 % of it.
bool drawOutlineImage(const CDravonDoc& doc, Surface& image, int topSide, int size);

}  // namespace dravon
