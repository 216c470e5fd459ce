#include "dravon/platform/script/script_line.h"

#include <charconv>

namespace dravon {
namespace {

bool isBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

}  // namespace

bool isSkippedScriptLine(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && isBlank(line[i])) ++i;
  return i == line.size() || line[i] == '#';
}

bool splitScriptLine(std::string_view line, std::vector<std::string>& words, std::string& error) {
  words.clear();
  std::size_t i = 0;
  for (;;) {
    while (i < line.size() && isBlank(line[i])) ++i;
    if (i == line.size()) return true;
    std::string word;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        const char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
          word += line[i++];
        } else {
          word += c;
        }
      }
      if (!closed) {
        error = "unterminated quoted argument";
        return false;
      }
    } else {
      while (i < line.size() && !isBlank(line[i])) word += line[i++];
    }
    words.push_back(std::move(word));
  }
}

bool parseScriptInt(std::string_view word, int& value) {
  if (word.starts_with('+')) word.remove_prefix(1);
  if (word.empty()) return false;
  const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
  return ec == std::errc() && end == word.data() + word.size();
}

}  // namespace dravon
