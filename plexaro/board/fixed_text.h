#pragma once

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <string_view>

namespace plexaro {

// A NUL-terminated text in a fixed field of N characters, so it holds at most N - 1 of them.
// Every write is cut to fit: a name or a line from a file can never run past its field.
template <std::size_t N>
struct FixedText {
  static_assert(N > 1);
  static constexpr std::size_t kMaxLength = N - 1;

  char text[N] = {};

  void assign(std::string_view s) {
    const std::size_t n = std::min(s.size(), kMaxLength);
    std::memcpy(text, s.data(), n);
    text[n] = '\0';
  }

  // Appends as much of s as still fits.
  void append(std::string_view s) {
    const std::size_t used = size();
    const std::size_t n = std::min(s.size(), kMaxLength - used);
    std::memcpy(text + used, s.data(), n);
    text[used + n] = '\0';
  }

  void clear() { text[0] = '\0'; }
  [[nodiscard]] std::size_t size() const { return std::strlen(text); }
  [[nodiscard]] bool empty() const { return text[0] == '\0'; }
  [[nodiscard]] std::string_view view() const { return {text, size()}; }
  bool operator==(std::string_view s) const { return view() == s; }
};

}  // namespace plexaro
