#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "plexaro/board/board_file.h"
#include "plexaro/board/board_tables.h"
#include "plexaro/display/board_renderer.h"
#include "plexaro/platform/board_area.h"
#include "plexaro/platform/main_window.h"
#include "plexaro/ui/search_dialog.h"

namespace plexaro {

class MessageArea;
class StatusBar;

inline constexpr std::string_view kMainCaption = "NORVALE ZR800";
inline constexpr std::string_view kBlankPanel = " ";
inline constexpr std::string_view kSelectViewCenter = "Select view center";
inline constexpr std::string_view kClearAllSelected = "Clear all selected.";
inline constexpr std::string_view kInitialDefaultSizeText = "2";
// Where the file-open dialog starts: the board folder of a shared Windows drive C:.
inline constexpr std::string_view kBoardFolder = "/mnt/c/Plexaro/brd";
inline constexpr int kStatusPanelCount = 4;
inline constexpr int kPointerPanel = 3;
inline constexpr int kMinDefaultSize = 2;
inline constexpr int kMaxDefaultSize = 100;
inline constexpr int32_t kNoBand = -32000;
inline constexpr int32_t kNoNailNumber = 9999;

inline constexpr std::string_view kOpenCaption = "OPEN";
inline constexpr std::string_view kShortCaption = "SHORT";
inline constexpr std::string_view kComponentPinCaption = "COMPONENT PIN";
inline constexpr std::string_view kNetNameCaption = "NET NAME";

// Windows virtual-key codes of the keys the main window acts on.
namespace vk {
inline constexpr int kReturn = 13;
inline constexpr int kEscape = 27;
inline constexpr int kSpace = 32;
inline constexpr int kHome = 36;
inline constexpr int kLeft = 37;
inline constexpr int kUp = 38;
inline constexpr int kRight = 39;
inline constexpr int kDown = 40;
inline constexpr int kDelete = 46;
inline constexpr int kAdd = 107;
inline constexpr int kSubtract = 109;
inline constexpr int kOemPlus = 187;
inline constexpr int kOemMinus = 189;
}  // namespace vk

enum class MouseButton { Left, Right, Middle };

// The platform pieces the main form works through.
struct FormPlatform {
  MainWindow& window;
  MessageArea& messages;
  StatusBar& status;
  BoardSurface& board;
  Dialogs& dialogs;
};

// The main window's logic: start-up, the menu commands, the keys and the pointer over the
// board area. The Qt window and the script host turn their events into these handler calls.
// It owns the board tables and the view and interaction state for the program's life.
class TForm1 : private BoardArea, private BoardOpenHost {
 public:
  explicit TForm1(FormPlatform platform);
  ~TForm1() override;

  // Start-up: no board, every board command disabled.
  void FormCreate();

  // Menu commands.
  void Open1Click();
  void Close1Click();
  void Exit1Click();
  void Pan2Click();
  void Redraw1Click();
  void ShowAllPartsName1Click();
  void ShowAllNailNumber1Click();
  void SetDefaultSize1Click();
  void Open2Click();
  void Short1Click();
  void Comp1Click();
  void Net1Click();
  void Part1Click();
  void Content1Click();
  void About1Click();
  // The click of a menu item by name, as the menu bar would send it; a disabled item does
  // nothing.
  void clickMenu(MenuItem item);

  // A key-down in the main window or the message area, as a virtual-key code.
  void onKeyDown(int key);

  // Pointer over the board area, in board-area pixels.
  void PaintBox1MouseMove(int x, int y);
  void PaintBox1MouseDown(MouseButton button, int x, int y);
  void PaintBox1Click();
  void PaintBox1DblClick();
  void PaintBox1StartDrag();
  void PaintBox1DragOver(int x, int y);
  void PaintBox1EndDrag(int x, int y);
  // The board area needs repainting (shown, uncovered, resized).
  void PaintBox1Paint();

  // The searches; each shows its dialog and marks what it finds.
  void searchOpen();
  void searchShort();
  void searchComponentPin();
  void searchNet();
  void searchDevice();

  // State the hosts show.
  [[nodiscard]] const BoardTables& tables() const { return *tables_; }
  [[nodiscard]] const ViewTransform& view() const { return view_; }
  [[nodiscard]] const ViewerState& state() const { return state_; }
  [[nodiscard]] const std::string& defaultSizeText() const { return defaultSizeText_; }
  [[nodiscard]] const TFormSignal& signalForm() const { return signalForm_; }
  [[nodiscard]] const TFormDevice& deviceForm() const { return deviceForm_; }
  // Whether the item can be clicked: its own state and, under View, the View menu's.
  [[nodiscard]] bool menuEnabled(MenuItem item) const;
  [[nodiscard]] bool menuChecked(MenuItem item) const;

 private:
  // BoardArea, for the view operations.
  [[nodiscard]] int width() const override;
  [[nodiscard]] int height() const override;
  void movePointer(int x, int y) override;
  void redraw() override;

  // BoardOpenHost, for the loader.
  void addMessageLine(std::string_view line) override;
  void setCaption(std::string_view caption) override;
  void enableBoardCommands() override;
  void setDefaultSizeText(std::string_view text) override;
  void showLoadedBoard() override;

  void setEnabled(MenuItem item, bool enabled);
  void setChecked(MenuItem item, bool checked);
  void setBoardCommandsEnabled(bool enabled);
  void fillBoardAreaBlack();
  void setAllPanels(std::string_view text);
  void toggleShowAllPartNames();
  void toggleShowAllNailNumbers();
  void cancelViewCenterPick();
  void runSearch(int8_t mode);

  // The searches' common frame: shows the signal dialog with `caption`; when confirmed clears
  // the marks and messages, runs `step` for each non-empty input k (1 to 3) until one returns
  // false, and then shows the whole board.
  template <typename Step>
  void runSignalSearch(std::string_view caption, Step step);
  bool nailStep(const std::string& text, int32_t slot);
  bool componentPinStep(std::string& text, int32_t slot);
  void netStep(std::string& text, int32_t slot);
  // The integer in `text`, or nothing after telling the user it is none.
  std::optional<int32_t> convertOrReport(const std::string& text);

  void askPoint();
  void pickViewCenter();
  void bandStart();
  void bandMove(int x, int y);
  void zoomToBand(int x, int y);
  void drawBand();

  FormPlatform platform_;
  std::unique_ptr<BoardTables> tables_;
  ViewTransform view_{};
  ViewerState state_{};
  BoardFileLoader loader_;
  BoardRenderer renderer_;
  TFormSignal signalForm_;
  TFormDevice deviceForm_;
  std::string defaultSizeText_{kInitialDefaultSizeText};
  std::string openDialogFileName_;
  std::array<bool, kMenuItemCount> enabled_{};
  std::array<bool, kMenuItemCount> checked_{};
  int32_t bandOriginX_ = 0;
  int32_t bandOriginY_ = 0;
  int32_t bandCornerX_ = 0;
  int32_t bandCornerY_ = 0;
};

}  // namespace plexaro
