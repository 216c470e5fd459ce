#pragma once

namespace plexaro {

// The main window's board area as the view operations see it: its size in pixels, the mouse
// pointer over it, and the full redraw that ends every view change.
class BoardArea {
 public:
  virtual ~BoardArea() = default;
  [[nodiscard]] virtual int width() const = 0;
  [[nodiscard]] virtual int height() const = 0;
  // Moves the mouse pointer to the board-area pixel (x, y).
  virtual void movePointer(int x, int y) = 0;
  // Applies the label font size of the current scale and redraws the whole board.
  virtual void redraw() = 0;
};

}  // namespace plexaro
