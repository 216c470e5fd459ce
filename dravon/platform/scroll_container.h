#pragma once

namespace dravon {

// The scrolling window that holds the card view's picture.
class ScrollContainer {
 public:
  virtual ~ScrollContainer() = default;
  // The offset of the client area's top-left corner in the picture, in window pixels.
  virtual int scrollX() const = 0;
  virtual int scrollY() const = 0;
  // The scroll extent: the size of the picture as drawn.
  virtual void setDisplaySize(int width, int height) = 0;
  // Scrolls to (x, y), each clamped to 0 ... extent - client size (0 when the picture fits).
  virtual void scrollTo(int x, int y) = 0;
  // Repaints the whole client area without erasing the background.
  virtual void repaint() = 0;
};

}  // namespace dravon
