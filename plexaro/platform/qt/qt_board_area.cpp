#include "plexaro/platform/qt/qt_board_area.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "plexaro/ui/main_form.h"

namespace plexaro {

namespace {

std::optional<MouseButton> formButton(Qt::MouseButton button) {
  switch (button) {
    case Qt::LeftButton:
      return MouseButton::Left;
    case Qt::RightButton:
      return MouseButton::Right;
    case Qt::MiddleButton:
      return MouseButton::Middle;
    default:
      return std::nullopt;
  }
}

}  // namespace

QtBoardArea::QtBoardArea(FormRunner run, QWidget* parent)
    : QWidget(parent), run_(std::move(run)), canvas_(1, 1) {
  // Every pixel comes from the canvas, so nothing needs erasing before a paint.
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
  setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

void QtBoardArea::Surface::movePointer(int x, int y) {
  area_.movedPointer_ = QPoint(x, y);
  QCursor::setPos(area_.mapToGlobal(QPoint(x, y)));
}

void QtBoardArea::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect exposed = event->rect();
  painter.drawImage(exposed, canvas_.image(), exposed);
  // Beyond the image (only while a resize is on its way) the area is black.
  const QRegion rest = QRegion(exposed) - QRegion(canvas_.image().rect());
  for (const QRect& r : rest) painter.fillRect(r, Qt::black);
}

void QtBoardArea::resizeEvent(QResizeEvent*) {
  canvas_.resize(width(), height());
  run_([](TForm1& form) { form.PaintBox1Paint(); });
}

void QtBoardArea::catchUpPointer(QPoint at) {
  if (lastMove_ == at) return;
  lastMove_ = at;
  run_([at](TForm1& form) { form.PaintBox1MouseMove(at.x(), at.y()); });
}

void QtBoardArea::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = event->position().toPoint();
  if (dragging_) {
    // The band follows the pointer only over the board area, where the drag is accepted.
    if (!rect().contains(at)) return;
    lastDragPoint_ = at;
    run_([at](TForm1& form) { form.PaintBox1DragOver(at.x(), at.y()); });
    return;
  }
  lastMove_ = at;
  run_([at](TForm1& form) { form.PaintBox1MouseMove(at.x(), at.y()); });
}

void QtBoardArea::press(Qt::MouseButton button, QPoint at, bool secondOfDouble) {
  if (dragging_) return;
  const std::optional<MouseButton> which = formButton(button);
  if (!which) return;
  catchUpPointer(at);
  if (*which == MouseButton::Left && dragMode_) {
    dragging_ = true;
    clickPending_ = false;
    lastDragPoint_ = at;
    setCursor(Qt::CrossCursor);
    run_([](TForm1& form) { form.PaintBox1StartDrag(); });
    return;
  }
  if (*which == MouseButton::Left) {
    if (secondOfDouble) run_([](TForm1& form) { form.PaintBox1DblClick(); });
    clickPending_ = !secondOfDouble;
  }
  run_([which, at](TForm1& form) { form.PaintBox1MouseDown(*which, at.x(), at.y()); });
}

void QtBoardArea::mousePressEvent(QMouseEvent* event) {
  press(event->button(), event->position().toPoint(), false);
}

void QtBoardArea::mouseDoubleClickEvent(QMouseEvent* event) {
  press(event->button(), event->position().toPoint(), true);
}

void QtBoardArea::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  const QPoint at = event->position().toPoint();
  if (dragging_) {
    // Released outside the board area, the drag ends where the band was drawn last.
    endDrag(rect().contains(at) ? at : lastDragPoint_);
    return;
  }
  if (!clickPending_) return;
  clickPending_ = false;
  // A press that leaves the area before its release is no click.
  if (rect().contains(at)) run_([](TForm1& form) { form.PaintBox1Click(); });
}

void QtBoardArea::endDrag(QPoint at) {
  dragging_ = false;
  unsetCursor();
  run_([at](TForm1& form) { form.PaintBox1EndDrag(at.x(), at.y()); });
}

void QtBoardArea::cancelDrag() {
  clickPending_ = false;
  if (dragging_) endDrag(lastDragPoint_);
}

}  // namespace plexaro
