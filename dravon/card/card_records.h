#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace dravon {

// A rectangle of the card model: left, top, right, bottom as they were computed, not normalized.
struct CardRect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;

  friend constexpr bool operator==(CardRect, CardRect) = default;
};

// A placed component.
struct CDev {
  int32_t notAssembled = 0;  // copied from the parts list at every load, not cached
  std::string name;          // reference designator, exactly 5 characters
  int16_t x = 0;
  int16_t y = 0;
  CardRect bounds;  // shapeExtent of `shape` at (x, y), computed at every load, not cached
  int8_t layer = 0;
  int32_t shape = 0;  // `index` of the body's shape
};

struct CTp {
  std::string name;  // exactly 7 characters, beginning with "TP"
  int16_t x = 0;
  int16_t y = 0;
  int8_t layer = 0;
};

struct CVia {
  int32_t net = -1;  // index into netNames, -1 when no pad names the via's signal
  int32_t hole = 0;
  int16_t x = 0;
  int16_t y = 0;
  int32_t shape = 0;
};

struct CPad {
  int16_t device = -1;  // position in devices, -1 when the pad belongs to no device
  int16_t pin = 0;
  int16_t net = 0;  // index into netNames, always valid
  int16_t x = 0;
  int16_t y = 0;
  int32_t shape = 0;
};

// A signal line or a segment of the card outline.
struct CLine {
  int16_t net = -1;
  int8_t layer = 0;
  int8_t width = 0;
  int16_t x1 = 0;
  int16_t y1 = 0;
  int16_t x2 = 0;
  int16_t y2 = 0;
};

struct ShapePair {
  int32_t val1 = 0;
  int32_t val2 = 0;

  friend constexpr bool operator==(ShapePair, ShapePair) = default;
};

// Shape type codes; every other value is a shape without extent.
inline constexpr int8_t kShapeRectangle = 1;
inline constexpr int8_t kShapeEllipse = 2;
inline constexpr int8_t kShapeOffsetRectangle = -4;
inline constexpr int8_t kShapePolygon = -1;
inline constexpr int8_t kShapeComposite = -2;  // a padstack: pair k names the shape of layer k+1

// An aperture. Its values are card units; they are never divided by the resolution in the model.
struct CShape {
  int32_t index = 0;  // the key by which devices, vias, pads and padstacks refer to the shape
  int8_t type = 0;
  std::vector<ShapePair> values;
};

struct CPdfTable {
  std::string part;  // exactly 5 characters
  std::string pdfFile;
};

struct CListEntry {
  int32_t notAssembled = 0;
  std::string refDes;       // 5 characters
  std::string partNumber;   // 7 characters
  std::string description;  // 25 characters, or 7 blanks
  int8_t pNumber = 0;
};

struct NetMark {
  int32_t net = 0;
};

}  // namespace dravon
