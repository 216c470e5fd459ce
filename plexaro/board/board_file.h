#pragma once

#include <cstdint>
#include <string_view>

#include "plexaro/board/board_tables.h"
#include "plexaro/board/fixed_text.h"

namespace plexaro {

inline constexpr std::string_view kCannotOpenBoard = "Can not open board file !!";
inline constexpr std::string_view kLoadFilePrefix = "Load file ";
inline constexpr std::string_view kLoadFileSuffix = " .........";
inline constexpr std::string_view kCaptionPrefix = "NORVALE ZR800            ";
inline constexpr std::string_view kNotBoardFilePrefix = "Specified file ";
inline constexpr std::string_view kNotBoardFileSuffix = " is not a Plexaro Brd File.";
inline constexpr std::string_view kLoadOk = "OK.";
inline constexpr std::string_view kBoardFileFilter = "BoardFile[*.brd]|*.brd";

inline constexpr std::string_view kOutlineKeyword = "BRDOUT:";
inline constexpr std::string_view kNetsKeyword = "NETS:";
inline constexpr std::string_view kPinsKeyword = "PINS:";
inline constexpr std::string_view kPartsKeyword = "PARTS:";
inline constexpr std::string_view kNailsKeyword = "NAILS:";

// The number that ties a board file to its outline: the header of "BRDOUT:" and the first
// outline point weighted by the letters of "VUKEA", in wrapping 32-bit arithmetic.
[[nodiscard]] int32_t boardChecksum(int32_t extentX, int32_t extentY, int32_t pointCount,
                                    OutlinePoint first);

// What Open needs of the main window once a file has been chosen.
class BoardOpenHost {
 public:
  virtual ~BoardOpenHost() = default;
  virtual void addMessageLine(std::string_view line) = 0;
  virtual void setCaption(std::string_view caption) = 0;
  // The board commands become available: Close, View and the five searches on, Open off.
  virtual void enableBoardCommands() = 0;
  // The Set Default Size dialog's edit box shows the board's size.
  virtual void setDefaultSizeText(std::string_view text) = 0;
  // Set up the initial view of the loaded board and redraw it.
  virtual void showLoadedBoard() = 0;
};

// The state Open resets before it shows its file dialog.
void resetForOpen(BoardTables& tables, ViewTransform& view, ViewerState& state);

// Reads board files into the tables. One instance lives as long as the tables do: like the
// loader it stands for, it keeps its word buffer from one load to the next.
class BoardFileLoader {
 public:
  // Open from the chosen file on: reads `path`, checks it, fills the tables, reads its
  // default-size file and reports every step through `host`. Returns whether it loaded.
  bool open(std::string_view path, BoardTables& tables, ViewTransform& view, BoardOpenHost& host);

 private:
  static constexpr std::size_t kWordCapacity = 79;
  FixedText<kWordCapacity + 1> word_;
};

}  // namespace plexaro
