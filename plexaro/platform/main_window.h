#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace plexaro {

class Canvas;
class SearchDialog;

// The main window's menu items, by their component names. View1 is the View menu itself:
// disabling it disables every item under it.
enum class MenuItem {
  Open1,
  Close1,
  Exit1,
  View1,
  Pan2,
  Redraw1,
  ShowAllPartsName1,
  ShowAllNailNumber1,
  SetDefaultSize1,
  Open2,
  Short1,
  Comp1,
  Net1,
  Part1,
  Content1,
  About1,
};
inline constexpr int kMenuItemCount = static_cast<int>(MenuItem::About1) + 1;

enum class CursorShape { Default, Cross };

// What the form needs of the main window itself.
class MainWindow {
 public:
  virtual ~MainWindow() = default;
  virtual void setCaption(std::string_view caption) = 0;
  virtual void setMenuEnabled(MenuItem item, bool enabled) = 0;
  virtual void setMenuChecked(MenuItem item, bool checked) = 0;
  virtual void setCursor(CursorShape shape) = 0;
  // Automatic drag mode: a left press on the board area starts a drag at once, reported as
  // drag start, drag moves and drag end instead of press and click.
  virtual void setBoardDragMode(bool automatic) = 0;
  // Closes the main window, which ends the program.
  virtual void close() = 0;
};

// The board area (the paint box): its size, its canvas, and the mouse pointer over it.
class BoardSurface {
 public:
  virtual ~BoardSurface() = default;
  [[nodiscard]] virtual int width() const = 0;
  [[nodiscard]] virtual int height() const = 0;
  virtual Canvas& canvas() = 0;
  // Moves the mouse pointer to the board-area pixel (x, y).
  virtual void movePointer(int x, int y) = 0;
};

// The modal dialogs and message boxes.
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The file-open dialog with its filter, starting in the current folder with an empty name.
  // Returns the chosen path, or nothing when the user cancels.
  virtual std::optional<std::string> chooseBoardFile(std::string_view filter) = 0;
  // The Set Default Size dialog, editing the text of its edit box; however it is closed, the
  // text stays as the user left it.
  virtual void editDefaultSize(std::string& text) = 0;
  virtual void showHelp() = 0;
  virtual void showAbout() = 0;
  virtual void showMessageBox(std::string_view text) = 0;
  // Shows a search dialog modally: its inputs edit dialog.inputs, its keys and buttons call
  // the dialog's handlers, and it closes once the dialog asks to.
  virtual void showSearchDialog(SearchDialog& dialog) = 0;
};

}  // namespace plexaro
