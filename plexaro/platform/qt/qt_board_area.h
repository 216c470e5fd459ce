#pragma once

#include <QPoint>
#include <QWidget>
#include <functional>
#include <optional>

#include "plexaro/platform/main_window.h"
#include "plexaro/platform/qt/qt_canvas.h"

namespace plexaro {

class TForm1;

// Runs one of the form's handlers for an event, as the main window does for all of them.
using FormCall = std::function<void(TForm1&)>;
using FormRunner = std::function<void(const FormCall&)>;

// PaintBox1: the black board area. It shows its canvas image as it stands and turns Qt's
// mouse events into the form's pointer handlers in the order of the original component
// library: a double click is a press, a click on the first release, then the double click and
// a press for the second press, with no second click; in automatic drag mode a left press
// starts a drag at once and is neither a press nor a click.
class QtBoardArea final : public QWidget {
 public:
  QtBoardArea(FormRunner run, QWidget* parent);

  BoardSurface& surface() { return surface_; }
  QtCanvas& canvas() { return canvas_; }
  void setDragMode(bool automatic) { dragMode_ = automatic; }
  [[nodiscard]] bool dragMode() const { return dragMode_; }
  [[nodiscard]] bool dragging() const { return dragging_; }
  // Where the program last moved the pointer, in board-area pixels.
  [[nodiscard]] std::optional<QPoint> movedPointer() const { return movedPointer_; }
  // Ends a drag the platform took away (the window lost the pointer) where the band was last.
  void cancelDrag();

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  class Surface final : public BoardSurface {
   public:
    explicit Surface(QtBoardArea& area) : area_(area) {}
    [[nodiscard]] int width() const override { return area_.canvas_.image().width(); }
    [[nodiscard]] int height() const override { return area_.canvas_.image().height(); }
    Canvas& canvas() override { return area_.canvas_; }
    void movePointer(int x, int y) override;

   private:
    QtBoardArea& area_;
  };

  // Reports a movement to the press position first when Qt did not (a synthetic press).
  void catchUpPointer(QPoint at);
  void press(Qt::MouseButton button, QPoint at, bool secondOfDouble);
  void endDrag(QPoint at);

  FormRunner run_;
  QtCanvas canvas_;
  Surface surface_{*this};
  bool dragMode_ = false;
  bool dragging_ = false;
  bool clickPending_ = false;
  std::optional<QPoint> lastMove_;
  QPoint lastDragPoint_;
  std::optional<QPoint> movedPointer_;
};

}  // namespace plexaro
