#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace plexaro {

// Formatted input over a file's bytes with the rules of the C library's "%d" and "%s"
// conversions, which the board files were written for: a conversion that fails stops at the
// offending character and leaves it for the next read; the end-of-file condition is set only
// by a read that runs into the end, and a rewind clears it.
class ScanStream {
 public:
  explicit ScanStream(std::string bytes);

  // "%d": blanks, an optional sign, decimal digits, wrapping as 32-bit arithmetic does.
  // On failure `out` is unchanged.
  bool readInt(int32_t& out);

  // "%s": the next run of non-blank characters. Only its first `capacity` characters are
  // stored (the rest of the word is consumed). On failure `out` is unchanged.
  bool readWord(char* out, std::size_t capacity);

  // A blank in a format: skips any blanks.
  void skipBlanks();

  void rewind();
  [[nodiscard]] bool eof() const { return eof_; }

 private:
  int get();
  void unget();

  std::string bytes_;
  std::size_t pos_ = 0;
  bool eof_ = false;
};

}  // namespace plexaro
