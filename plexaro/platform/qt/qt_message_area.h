#pragma once

#include <QPlainTextEdit>
#include <functional>

#include "plexaro/platform/message_area.h"

class QKeyEvent;

namespace plexaro {

// Memo1: the read-only message area, fuchsia on black, newest line last and in view. It
// usually has the keyboard focus, so it hands every key press to the window's key handler
// before it scrolls as a text box does.
class QtMessageArea final : public QPlainTextEdit, public MessageArea {
 public:
  static constexpr int kLeft = 16;
  static constexpr int kTop = 8;
  static constexpr int kWidth = 769;
  static constexpr int kHeight = 41;
  static constexpr int kFontPixels = 12;

  QtMessageArea(std::function<void(QKeyEvent*)> keySink, QWidget* parent);

  void addMessageLine(std::string_view line) override;
  void clearMessages() override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  std::function<void(QKeyEvent*)> keySink_;
};

}  // namespace plexaro
