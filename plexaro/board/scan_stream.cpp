#include "plexaro/board/scan_stream.h"

#include <cstring>

namespace plexaro {

namespace {

bool isBlank(int c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}
bool isDigit(int c) {
  return c >= '0' && c <= '9';
}

constexpr int kEnd = -1;
// Files written on DOS may end in Ctrl-Z, which text-mode reading takes as the end.
constexpr char kDosEnd = '\x1a';

}  // namespace

ScanStream::ScanStream(std::string bytes) : bytes_(std::move(bytes)) {
  if (const std::size_t end = bytes_.find(kDosEnd); end != std::string::npos) bytes_.resize(end);
}

int ScanStream::get() {
  if (pos_ >= bytes_.size()) {
    eof_ = true;
    return kEnd;
  }
  return static_cast<unsigned char>(bytes_[pos_++]);
}

// Puts back the character last read; never called after a read that hit the end.
void ScanStream::unget() {
  --pos_;
}

void ScanStream::rewind() {
  pos_ = 0;
  eof_ = false;
}

void ScanStream::skipBlanks() {
  int c;
  while (isBlank(c = get())) {
  }
  if (c != kEnd) unget();
}

bool ScanStream::readInt(int32_t& out) {
  skipBlanks();
  int c = get();
  bool negative = false;
  if (c == '+' || c == '-') {
    negative = c == '-';
    c = get();
  }
  if (!isDigit(c)) {
    if (c != kEnd) unget();
    return false;
  }
  uint32_t value = 0;
  while (isDigit(c)) {
    value = value * 10u + static_cast<uint32_t>(c - '0');
    c = get();
  }
  if (c != kEnd) unget();
  out = static_cast<int32_t>(negative ? 0u - value : value);
  return true;
}

bool ScanStream::readWord(char* out, std::size_t capacity) {
  skipBlanks();
  int c = get();
  if (c == kEnd) return false;
  std::size_t n = 0;
  while (c != kEnd && !isBlank(c)) {
    if (n < capacity) out[n++] = static_cast<char>(c);
    c = get();
  }
  if (c != kEnd) unget();
  out[n] = '\0';
  return true;
}

}  // namespace plexaro
