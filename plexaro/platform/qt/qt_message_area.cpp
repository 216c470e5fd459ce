#include "plexaro/platform/qt/qt_message_area.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>

#include "plexaro/platform/qt/qt_text.h"

namespace plexaro {

QtMessageArea::QtMessageArea(std::function<void(QKeyEvent*)> keySink, QWidget* parent)
    : QPlainTextEdit(parent), keySink_(std::move(keySink)) {
  setReadOnly(true);
  setUndoRedoEnabled(false);
  setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTabChangesFocus(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Base, Qt::black);
  palette.setColor(QPalette::Text, QColor(255, 0, 255));
  setPalette(palette);
  QFont font = QApplication::font();
  font.setPixelSize(kFontPixels);
  setFont(font);
  setGeometry(kLeft, kTop, kWidth, kHeight);
}

void QtMessageArea::addMessageLine(std::string_view line) {
  appendPlainText(toQString(line));
  verticalScrollBar()->setValue(verticalScrollBar()->maximum());
}

void QtMessageArea::clearMessages() {
  clear();
}

void QtMessageArea::keyPressEvent(QKeyEvent* event) {
  keySink_(event);
  QPlainTextEdit::keyPressEvent(event);
  // The window has seen the key already; passing it on would run its command twice.
  event->accept();
}

}  // namespace plexaro
