#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dravon {

// The ordinary decimal rule of the card's text files: leading blanks, an optional sign, the
// digits up to the first other character; no digits gives 0. The value wraps in 32 bits, so a
// caller that cuts it to a narrower field keeps its low bits.
[[nodiscard]] int32_t parseDecimal(std::string_view text);

// Splits text into lines the way the parts list and the PDF link file are read: a line ends
// at LF, or at CR, and then the one character after the CR is dropped as well. A last line
// without an end counts; line ends are not part of the lines.
[[nodiscard]] std::vector<std::string_view> splitListLines(std::string_view text);

// Columns `first` to `last` (counted from 1) of `line`, as far as they exist.
[[nodiscard]] std::string_view columns(std::string_view line, std::size_t first, std::size_t last);

// Reads a whole file; false when it cannot be opened or read (a folder counts as unreadable).
[[nodiscard]] bool readWholeFile(const std::string& path, std::string& bytes);

}  // namespace dravon
