#include "dravon/platform/script/png_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <filesystem>

namespace dravon {
namespace {

constexpr std::size_t kStoredBlockLimit = 65535;

std::array<uint32_t, 256> makeCrcTable() {
  std::array<uint32_t, 256> table{};
  for (uint32_t n = 0; n < 256; ++n) {
    uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1u) != 0 ? 0xedb88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}

uint32_t crc32(std::string_view bytes) {
  static const std::array<uint32_t, 256> table = makeCrcTable();
  uint32_t c = 0xffffffffu;
  for (char b : bytes) c = table[(c ^ static_cast<uint8_t>(b)) & 0xffu] ^ (c >> 8);
  return c ^ 0xffffffffu;
}

void putBigEndian(std::string& out, uint32_t v) {
  out += static_cast<char>(v >> 24);
  out += static_cast<char>(v >> 16);
  out += static_cast<char>(v >> 8);
  out += static_cast<char>(v);
}

void putChunk(std::string& out, std::string_view type, std::string_view data) {
  putBigEndian(out, static_cast<uint32_t>(data.size()));
  std::string body(type);
  body.append(data);
  out.append(body);
  putBigEndian(out, crc32(body));
}

// A zlib stream of stored deflate blocks.
std::string zlibStored(std::string_view raw) {
  std::string z = "\x78\x01";
  uint32_t a = 1;
  uint32_t b = 0;
  for (char c : raw) {
    a = (a + static_cast<uint8_t>(c)) % 65521u;
    b = (b + a) % 65521u;
  }
  std::size_t at = 0;
  do {
    const std::size_t n = std::min(kStoredBlockLimit, raw.size() - at);
    const bool last = at + n == raw.size();
    z += static_cast<char>(last ? 1 : 0);
    z += static_cast<char>(n & 0xffu);
    z += static_cast<char>(n >> 8);
    z += static_cast<char>(~n & 0xffu);
    z += static_cast<char>((~n >> 8) & 0xffu);
    z.append(raw.substr(at, n));
    at += n;
  } while (at < raw.size());
  putBigEndian(z, (b << 16) | a);
  return z;
}

}  // namespace

std::string encodePng(const Surface& image) {
  const int w = image.width();
  const int h = image.height();
  std::string raw;
  raw.reserve(static_cast<std::size_t>(h) * (static_cast<std::size_t>(w) * 3 + 1));
  for (int y = 0; y < h; ++y) {
    raw += '\0';  // no filter
    const uint32_t* row = image.row(y);
    for (int x = 0; x < w; ++x) {
      const Rgb c = unpackPixel(row[x]);
      raw += static_cast<char>(c.red);
      raw += static_cast<char>(c.green);
      raw += static_cast<char>(c.blue);
    }
  }
  std::string png = "\x89PNG\r\n\x1a\n";
  std::string header;
  putBigEndian(header, static_cast<uint32_t>(w));
  putBigEndian(header, static_cast<uint32_t>(h));
  header += '\x08';  // 8 bits per sample
  header += '\x02';  // RGB
  header.append(3, '\0');
  putChunk(png, "IHDR", header);
  putChunk(png, "IDAT", zlibStored(raw));
  putChunk(png, "IEND", "");
  return png;
}

bool writePng(const std::string& path, const Surface& image) {
  if (image.isEmpty()) return false;
  const std::string bytes = encodePng(image);
  const std::string temporary = path + ".tmp";
  std::FILE* f = std::fopen(temporary.c_str(), "wb");
  if (f == nullptr) return false;
  const bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (std::fclose(f) != 0 || !written) {
    std::remove(temporary.c_str());
    return false;
  }
  std::error_code error;
  std::filesystem::rename(temporary, path, error);
  if (error) {
    std::remove(temporary.c_str());
    return false;
  }
  return true;
}

}  // namespace dravon
