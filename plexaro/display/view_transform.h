#pragma once

#include <array>
#include <cstdint>

#include "plexaro/board/board_tables.h"
#include "plexaro/display/canvas.h"

namespace plexaro {

class BoardArea;

// The angle of each quarter-turn step, as the single-precision values the view stores. They
// are slightly off the exact multiples of pi/2, which is why turned extents can come out one
// unit short.
inline constexpr std::array<float, 4> kRotationAngles = {0.0f, 1.5707964f, 3.1415927f, 4.712389f};
// The turned mapping rotates by the view angle plus this.
inline constexpr double kTurnedAngleOffset = 3.14159265358979;

inline constexpr double kZoomInFactor = 1.5;
inline constexpr long double kZoomOutFactor = 0.6666666666666666667L;

inline constexpr double kDefaultSizeScale = 0.01;
inline constexpr int kSmallLabelPoints = 7;

// Truncates toward zero. Values beyond the 32-bit range give its nearest end and NaN gives 0,
// so numbers from a hostile board file cannot make the conversion undefined.
[[nodiscard]] int32_t truncToInt(long double value);

enum class ItemKind { Outline, Part, Pin, Nail };

// Refreshes cosA, sinA, cosB and sinB from rotationAngle.
void refreshAngles(ViewTransform& view);

// The pixel of board point (x, y) of an item of `kind` on `side`. The top view draws the
// outline and through-hole pins (side 0) mirrored about the middle of the board and, while the
// board is turned a quarter, its parts, pins and nails turned through the middle; every other
// case, and every item on the bottom view, is mapped plain. Uses the angles as last refreshed.
[[nodiscard]] Pixel mapPoint(const ViewTransform& view, ItemKind kind, int32_t side, int32_t x,
                             int32_t y);

// The default scale, centred on the board; pointer to the middle; redraw.
void viewAll(ViewTransform& view, BoardArea& area);

// The next quarter turn, with the board's extents turned along, then view all.
void rotateQuarter(ViewTransform& view, const BoardTables& tables, BoardArea& area);

// Top to bottom or back; scale and offsets stay.
void flipSide(ViewTransform& view, BoardArea& area);

enum class ZoomDirection { In, Out };

// One zoom step about the pointer (state.mouseX, mouseY), which comes to the middle of the
// board area. Zooming in stops once the scale reaches 1; zooming out stops at the default size.
// Returns false, changing nothing, when the step is not allowed.
bool zoomStep(ViewTransform& view, const ViewerState& state, ZoomDirection direction,
              BoardArea& area);

enum class PanDirection { Left, Right, Up, Down };

// Moves the view by a quarter of the turned board's extent. Left and Up move the view toward
// smaller coordinates, so the board moves right or down on screen.
void panQuarter(ViewTransform& view, PanDirection direction, BoardArea& area);

// The board area's font size in points for a scale.
[[nodiscard]] int labelFontSize(float scale);

void centrePointer(BoardArea& area);

}  // namespace plexaro
