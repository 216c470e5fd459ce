#pragma once

#include <QMainWindow>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "plexaro/platform/main_window.h"
#include "plexaro/platform/qt/qt_board_area.h"
#include "plexaro/platform/qt/qt_dialogs.h"

class QAction;
class QKeyEvent;
class QMenu;

namespace plexaro {

class QtMessageArea;
class QtStatusBar;
class TForm1;

// TForm1's window: menu bar, message area, board area and status bar. Every event becomes a
// call of the form's handlers; menu states, caption, cursor and texts are only what the form
// sets.
class QtMainWindow final : public QMainWindow {
 public:
  static constexpr int kNormalWidth = 704;
  static constexpr int kNormalHeight = 436;
  static constexpr int kTopPanelHeight = 57;

  QtMainWindow();
  ~QtMainWindow() override;

  // Shows the window maximized; a board path opens that board as if chosen in the Open
  // dialog.
  void start(const std::optional<std::string>& boardPath);

  // Runs a handler of the form. An error that escapes it is shown in a message box and the
  // program goes on; the board area then shows what the handler drew.
  void run(const FormCall& call);

  [[nodiscard]] TForm1& form() { return *form_; }
  [[nodiscard]] QtDialogs& dialogs() { return dialogs_; }
  // The menu item's action; for View1, the View menu's own.
  [[nodiscard]] QAction* action(MenuItem item) const;
  [[nodiscard]] QtBoardArea* boardArea() const { return board_; }
  [[nodiscard]] QtMessageArea* messageArea() const { return messages_; }
  [[nodiscard]] QtStatusBar* panels() const { return status_; }

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The form's view of the window itself.
  class Port final : public MainWindow {
   public:
    explicit Port(QtMainWindow& window) : window_(window) {}
    void setCaption(std::string_view caption) override;
    void setMenuEnabled(MenuItem item, bool enabled) override;
    void setMenuChecked(MenuItem item, bool checked) override;
    void setCursor(CursorShape shape) override;
    void setBoardDragMode(bool automatic) override;
    void close() override;

   private:
    QtMainWindow& window_;
  };

  void createMenus();
  void deliverKey(QKeyEvent* event);

  QtMessageArea* messages_;
  QtBoardArea* board_;
  QtStatusBar* status_;
  QMenu* viewMenu_ = nullptr;
  std::array<QAction*, kMenuItemCount> actions_{};
  QtDialogs dialogs_;
  Port port_{*this};
  std::unique_ptr<TForm1> form_;
  bool openWhenExposed_ = false;
};

}  // namespace plexaro
