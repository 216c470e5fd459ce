#pragma once

#include <deque>
#include <iosfwd>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "plexaro/platform/main_window.h"
#include "plexaro/platform/message_area.h"
#include "plexaro/platform/qt/qt_canvas.h"
#include "plexaro/platform/status_bar.h"

namespace plexaro {

// How a queued answer closes a modal dialog.
enum class DialogClose { Ok, Enter, Cancel };

struct DialogAnswer {
  DialogClose close = DialogClose::Cancel;
  std::vector<std::string> texts;
};

// The main window without a screen: it keeps what a window would show (messages, panels,
// caption, menu states, the board area's pixels) and answers dialogs from a queue.
class ScriptHost final : public MainWindow,
                         public MessageArea,
                         public StatusBar,
                         public BoardSurface,
                         public Dialogs {
 public:
  static constexpr int kInitialWidth = 800;
  static constexpr int kInitialHeight = 600;

  explicit ScriptHost(std::ostream& out);

  // MainWindow
  void setCaption(std::string_view caption) override { caption_ = caption; }
  void setMenuEnabled(MenuItem, bool) override {}
  void setMenuChecked(MenuItem, bool) override {}
  void setCursor(CursorShape shape) override { cursor_ = shape; }
  void setBoardDragMode(bool automatic) override { dragMode_ = automatic; }
  void close() override { closed_ = true; }

  // MessageArea
  void addMessageLine(std::string_view line) override { messages_.emplace_back(line); }
  void clearMessages() override { messages_.clear(); }

  // StatusBar
  void setPanelText(int panel, std::string_view text) override;

  // BoardSurface
  [[nodiscard]] int width() const override { return canvas_.image().width(); }
  [[nodiscard]] int height() const override { return canvas_.image().height(); }
  Canvas& canvas() override { return canvas_; }
  void movePointer(int x, int y) override {
    pointer_ = Pixel{x, y};
    pointerMoved_ = true;
  }

  // Dialogs
  std::optional<std::string> chooseBoardFile(std::string_view filter) override;
  void editDefaultSize(std::string& text) override;
  void showHelp() override {}
  void showAbout() override {}
  void showMessageBox(std::string_view text) override;
  void showSearchDialog(SearchDialog& dialog) override;

  // The next answer for a modal dialog; a dialog shown with none queued is cancelled.
  void queueAnswer(DialogAnswer answer) { answers_.push_back(std::move(answer)); }
  [[nodiscard]] DialogAnswer takeAnswer();

  // The board area gets a new size: a new black screen.
  void resize(int width, int height) { canvas_.resize(width, height); }

  [[nodiscard]] const std::vector<std::string>& messages() const { return messages_; }
  [[nodiscard]] const std::string& panel(int index) const { return panels_[index]; }
  [[nodiscard]] const std::string& caption() const { return caption_; }
  [[nodiscard]] bool dragMode() const { return dragMode_; }
  [[nodiscard]] bool closed() const { return closed_; }
  [[nodiscard]] std::optional<Pixel> pointer() const { return pointer_; }
  // Whether the program moved the pointer since the last call: the window system then reports
  // a pointer movement to the board area, as it does for a pointer moved by hand.
  bool takePointerMoved() { return std::exchange(pointerMoved_, false); }
  [[nodiscard]] const QImage& image() const { return canvas_.image(); }

 private:
  std::ostream& out_;
  QtCanvas canvas_;
  std::vector<std::string> messages_;
  std::string panels_[4];
  std::string caption_;
  CursorShape cursor_ = CursorShape::Default;
  bool dragMode_ = false;
  bool closed_ = false;
  std::optional<Pixel> pointer_;
  bool pointerMoved_ = false;
  std::deque<DialogAnswer> answers_;
};

}  // namespace plexaro
