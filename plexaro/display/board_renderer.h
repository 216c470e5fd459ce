#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "plexaro/board/board_tables.h"
#include "plexaro/display/canvas.h"

namespace plexaro {

class BoardArea;
class StatusBar;

inline constexpr Rgb kBlack{0, 0, 0};
inline constexpr Rgb kRed{255, 0, 0};
inline constexpr Rgb kTeal{0, 128, 128};
inline constexpr Rgb kWhite{255, 255, 255};
inline constexpr Rgb kYellow{255, 255, 0};
inline constexpr Rgb kBlue{0, 0, 255};
inline constexpr Rgb kGreen{0, 128, 0};
inline constexpr Rgb kGrey{128, 128, 128};
inline constexpr Rgb kAqua{0, 255, 255};
inline constexpr Rgb kFuchsia{255, 0, 255};
inline constexpr Rgb kLime{0, 255, 0};

inline constexpr std::string_view kTopSideText = "TOP";
inline constexpr std::string_view kBottomSideText = "BOTTOM";
inline constexpr int kSidePanel = 0;
inline constexpr std::string_view kNailPrefix = "$";

// The renderer draws at most this many outline points; the rest of a longer outline is left out.
inline constexpr int kOutlineDrawCapacity = 500;

// The colour of a marked pin or nail: slot 2 red, slot 3 aqua, anything else white.
[[nodiscard]] Rgb markColour(int32_t markSlot);

// The pen of the pin circles for the viewed side; nullptr (pen unchanged) for an unknown side.
[[nodiscard]] const Rgb* pinPenColour(int32_t currentSide);

// Draws the whole board into the board area. Between redraws it keeps only the two sizes it
// last used: the part margin and the marker radius, which after a full redraw is the nail
// radius and serves the pointer's hit test.
class BoardRenderer {
 public:
  BoardRenderer(Canvas& canvas, const BoardArea& area, StatusBar& status)
      : canvas_(canvas), area_(area), status_(status) {}

  // Background, outline, the viewed side's parts, pins and nails with their marks and labels.
  // Does nothing unless a board is loaded. Refreshes the view's angles.
  void drawBoard(const BoardTables& tables, ViewTransform& view, const ViewerState& state);

  [[nodiscard]] int32_t partMargin() const { return partMargin_; }
  [[nodiscard]] int32_t markerRadius() const { return markerRadius_; }

 private:
  void drawOutline(const BoardTables& tables, const ViewTransform& view);
  void drawParts(const BoardTables& tables, const ViewTransform& view, const ViewerState& state);
  void drawPins(const BoardTables& tables, const ViewTransform& view);
  void drawNails(const BoardTables& tables, const ViewTransform& view, const ViewerState& state);

  Canvas& canvas_;
  const BoardArea& area_;
  StatusBar& status_;
  int32_t partMargin_ = 0;
  int32_t markerRadius_ = 0;
  int fontHeight_ = 0;
  std::array<Pixel, kOutlineDrawCapacity> outlinePoints_{};
};

}  // namespace plexaro
