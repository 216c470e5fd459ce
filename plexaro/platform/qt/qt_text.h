#pragma once

#include <QString>
#include <string>
#include <string_view>

namespace plexaro {

// A text of the form's as Qt shows it: UTF-8 when it is valid UTF-8 (paths the user chose),
// otherwise Latin-1, so that names read from a board file never turn into replacement marks.
[[nodiscard]] QString toQString(std::string_view text);

// A path from a Qt dialog or the command line as the file functions take it.
[[nodiscard]] std::string toLocalPath(const QString& path);

}  // namespace plexaro
