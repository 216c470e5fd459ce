#pragma once

#include <string>
#include <string_view>

#include "plexaro/board/board_tables.h"

namespace plexaro {

inline constexpr int kNewBoardDefaultSize = 2;
inline constexpr int kMaxReadDefaultSize = 10;

// The board file's path with its last three characters replaced by "con", by position:
// "b/PANEL.BRD" gives "b/PANEL.con", "a.brdx" gives "a.bcon".
[[nodiscard]] std::string defaultSizePath(std::string_view boardPath);

// Sets view.defaultSize from the board's default-size file. A board without one gets a new
// file holding "2". A size above 10 is used as 10; the file keeps its value.
void readDefaultSize(std::string_view boardPath, ViewTransform& view);

// Replaces the default-size file with `value` written as "%d". The old file stays whole when
// the write fails. Returns whether it was written.
[[nodiscard]] bool writeDefaultSize(std::string_view boardPath, int value);

}  // namespace plexaro
