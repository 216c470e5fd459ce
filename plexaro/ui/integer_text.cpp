#include "plexaro/ui/integer_text.h"

namespace plexaro {

std::optional<int32_t> convertInteger(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  bool hex = false;
  if (i < text.size() && (text[i] == '$' || text[i] == 'x' || text[i] == 'X')) {
    hex = true;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    hex = true;
    i += 2;
  }
  if (i == text.size()) return std::nullopt;
  uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') {
      digit = c - '0';
    } else if (hex && c >= 'a' && c <= 'f') {
      digit = c - 'a' + 10;
    } else if (hex && c >= 'A' && c <= 'F') {
      digit = c - 'A' + 10;
    } else {
      return std::nullopt;
    }
    value = value * (hex ? 16 : 10) + static_cast<uint64_t>(digit);
    if (value > (hex ? 0xffffffffull : 0x80000000ull)) return std::nullopt;
  }
  if (hex) {
    const auto bits = static_cast<uint32_t>(value);
    return static_cast<int32_t>(negative ? 0u - bits : bits);
  }
  if (!negative && value > 0x7fffffffull) return std::nullopt;
  return static_cast<int32_t>(negative ? -static_cast<int64_t>(value)
                                       : static_cast<int64_t>(value));
}

std::string notAnIntegerMessage(std::string_view text) {
  constexpr std::size_t at = kNotAnIntegerFormat.find("%s");
  return std::string{kNotAnIntegerFormat.substr(0, at)}.append(text).append(
      kNotAnIntegerFormat.substr(at + 2));
}

std::string upperCaseAscii(std::string_view text) {
  std::string out{text};
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

}  // namespace plexaro
