#include "dravon/card/text_fields.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace dravon {

int32_t parseDecimal(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  uint32_t value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
    value = value * 10u + static_cast<uint32_t>(text[i] - '0');
  }
  if (negative) value = 0u - value;
  return static_cast<int32_t>(value);
}

std::vector<std::string_view> splitListLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      start = i = i + 1;
    } else if (text[i] == '\r') {
      lines.push_back(text.substr(start, i - start));
      start = i = std::min(i + 2, text.size());
    } else {
      ++i;
    }
  }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

std::string_view columns(std::string_view line, std::size_t first, std::size_t last) {
  if (first < 1 || first > line.size() || last < first) return {};
  return line.substr(first - 1, last - first + 1);
}

bool readWholeFile(const std::string& path, std::string& bytes) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace dravon
