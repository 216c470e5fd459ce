#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace dravon {

// Splits a script line into its words: blanks separate them; a word in double quotes may hold
// blanks or be empty, and inside quotes \" is a quote and \\ a backslash. False, with the
// reason in `error`, for a quote that is not closed.
[[nodiscard]] bool splitScriptLine(std::string_view line, std::vector<std::string>& words,
                                   std::string& error);

// True for the lines a script skips: blank ones and those whose first non-blank is "#".
[[nodiscard]] bool isSkippedScriptLine(std::string_view line);

// A whole decimal integer, optionally signed; false for anything else.
[[nodiscard]] bool parseScriptInt(std::string_view word, int& value);

}  // namespace dravon
