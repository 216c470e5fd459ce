#include "dravon/card/card_cache.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <unordered_map>

#include "dravon/card/shape_index.h"
#include "dravon/card/text_fields.h"
#include "dravon/render/shape_extent.h"

namespace dravon {
namespace {

constexpr uint16_t kNewClassTag = 0xFFFF;
constexpr uint16_t kBigObjectTag = 0x7FFF;
constexpr uint16_t kClassTagBit = 0x8000;
constexpr uint32_t kBigClassTagBit = 0x80000000u;
constexpr uint16_t kCountEscape = 0xFFFF;
constexpr uint8_t kLengthEscape8 = 0xFF;
constexpr uint16_t kLengthEscape16 = 0xFFFF;
constexpr uint16_t kUnicodeMarker = 0xFFFE;  // the archive's mark for wide strings, never written
constexpr uint16_t kSchema = 0;

enum ClassId : uint8_t { kDev, kTp, kVia, kPad, kLine, kShape, kClassCount };
constexpr std::array<std::string_view, kClassCount> kClassNames = {
    kClassDevice, kClassTestPoint, kClassVia, kClassPad, kClassLine, kClassShape};

class ByteWriter {
 public:
  void u8(uint8_t v) { out_.push_back(static_cast<char>(v)); }
  void u16(uint16_t v) { u8(static_cast<uint8_t>(v)), u8(static_cast<uint8_t>(v >> 8)); }
  void u32(uint32_t v) { u16(static_cast<uint16_t>(v)), u16(static_cast<uint16_t>(v >> 16)); }
  void i8(int8_t v) { u8(static_cast<uint8_t>(v)); }
  void i16(int16_t v) { u16(static_cast<uint16_t>(v)); }
  void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
  void bytes(std::string_view s) { out_.append(s); }

  void count(std::size_t n) {
    if (n < kCountEscape) {
      u16(static_cast<uint16_t>(n));
    } else {
      u16(kCountEscape);
      u32(static_cast<uint32_t>(n));
    }
  }
  void string(std::string_view s) {
    const std::size_t n = s.size();
    if (n < kLengthEscape8) {
      u8(static_cast<uint8_t>(n));
    } else if (n < kUnicodeMarker) {
      u8(kLengthEscape8);
      u16(static_cast<uint16_t>(n));
    } else {
      u8(kLengthEscape8);
      u16(kLengthEscape16);
      u32(static_cast<uint32_t>(n));
    }
    bytes(s);
  }

  // One running index over the classes and objects of the file, starting at 1.
  void tag(ClassId cls) {
    if (classIndex_[cls] == 0) {
      classIndex_[cls] = ++next_;
      u16(kNewClassTag);
      u16(kSchema);
      u16(static_cast<uint16_t>(kClassNames[cls].size()));
      bytes(kClassNames[cls]);
    } else if (classIndex_[cls] < kBigObjectTag) {
      u16(static_cast<uint16_t>(kClassTagBit | classIndex_[cls]));
    } else {
      u16(kBigObjectTag);
      u32(kBigClassTagBit | classIndex_[cls]);
    }
    ++next_;
  }

  std::string take() { return std::move(out_); }

 private:
  std::string out_;
  std::array<uint32_t, kClassCount> classIndex_{};
  uint32_t next_ = 0;
};

void writeLine(ByteWriter& w, const CLine& l) {
  w.tag(kLine);
  w.i16(l.net), w.i8(l.layer), w.i8(l.width);
  w.i16(l.x1), w.i16(l.y1), w.i16(l.x2), w.i16(l.y2);
}

// A bounds-checked read position that keeps the first error: after it every read gives zero
// and moves nothing, so a record is read whole and checked once.
class ByteReader {
 public:
  explicit ByteReader(std::string_view bytes) : bytes_(bytes) {}

  [[nodiscard]] CacheError error() const { return error_; }
  [[nodiscard]] bool ok() const { return error_ == CacheError::kNone; }
  [[nodiscard]] std::size_t remaining() const { return bytes_.size() - pos_; }
  void fail(CacheError e) {
    if (ok()) error_ = e;
  }

  uint8_t u8() { return static_cast<uint8_t>(take(1)); }
  uint16_t u16() { return static_cast<uint16_t>(take(2)); }
  uint32_t u32() { return static_cast<uint32_t>(take(4)); }
  int8_t i8() { return static_cast<int8_t>(u8()); }
  int16_t i16() { return static_cast<int16_t>(u16()); }
  int32_t i32() { return static_cast<int32_t>(u32()); }

  std::string_view bytes(std::size_t n) {
    if (!ok()) return {};
    if (n > remaining()) {
      fail(CacheError::kPastEnd);
      return {};
    }
    const std::string_view s = bytes_.substr(pos_, n);
    pos_ += n;
    return s;
  }

  uint32_t count() {
    const uint16_t n = u16();
    return n == kCountEscape ? u32() : n;
  }

  std::string string() {
    uint32_t n = u8();
    if (n == kLengthEscape8) {
      n = u16();
      if (n == kUnicodeMarker) fail(CacheError::kBadFormat);
      if (n == kLengthEscape16) n = u32();
    }
    return std::string(bytes(n));
  }

 private:
  uint64_t take(std::size_t n) {
    const std::string_view b = bytes(n);
    uint64_t v = 0;
    for (std::size_t i = b.size(); i-- > 0;) v = (v << 8) | static_cast<uint8_t>(b[i]);
    return v;
  }

  std::string_view bytes_;
  std::size_t pos_ = 0;
  CacheError error_ = CacheError::kNone;
};

class CacheDecoder {
 public:
  CacheDecoder(CDravonDoc& doc, std::string_view bytes)
      : doc_(doc), in_(bytes), c_(doc.resolution == 0 ? 1 : doc.resolution) {}

  CacheError decode() {
    readArray(doc_.devices, kDev, 11, [&](CDev& d) {
      d.name = in_.string();
      d.x = div16(in_.i16());
      d.y = div16(in_.i16());
      d.layer = in_.i8();
      d.shape = in_.i32();
    });
    const uint32_t nets = in_.count();
    doc_.netNames.reserve(std::min<std::size_t>(nets, in_.remaining()));
    for (uint32_t i = 0; i < nets && in_.ok(); ++i) doc_.netNames.push_back(in_.string());
    readArray(doc_.testPoints, kTp, 8, [&](CTp& t) {
      t.name = in_.string();
      t.layer = in_.i8();
      t.x = div16(in_.i16());
      t.y = div16(in_.i16());
    });
    readArray(doc_.vias, kVia, 18, [&](CVia& v) {
      v.net = in_.i32();
      v.hole = in_.i32() / c_;
      v.x = div16(in_.i16());
      v.y = div16(in_.i16());
      v.shape = in_.i32();
    });
    readArray(doc_.pads, kPad, 16, [&](CPad& p) {
      p.device = in_.i16();
      p.pin = in_.i16();
      p.net = in_.i16();
      p.x = div16(in_.i16());
      p.y = div16(in_.i16());
      p.shape = in_.i32();
    });
    const auto readLine = [&](CLine& l) {
      l.net = in_.i16();
      l.layer = in_.i8();
      l.width = static_cast<int8_t>(in_.i8() / c_);
      l.x1 = div16(in_.i16());
      l.y1 = div16(in_.i16());
      l.x2 = div16(in_.i16());
      l.y2 = div16(in_.i16());
    };
    readArray(doc_.lines, kLine, 14, readLine);
    readArray(doc_.outlineLines, kLine, 14, readLine);
    readArray(doc_.shapes, kShape, 9, [&](CShape& s) {
      s.index = in_.i32();
      s.type = in_.i8();
      const uint32_t n = in_.count();
      if (n > in_.remaining() / 8) {
        in_.fail(CacheError::kPastEnd);
        return;
      }
      s.values.resize(n);
      for (ShapePair& p : s.values) p.val1 = in_.i32(), p.val2 = in_.i32();
    });
    CardRect r;
    r.left = in_.i32() / c_;
    r.top = in_.i32() / c_;
    r.right = in_.i32() / c_;
    r.bottom = in_.i32() / c_;
    const int32_t layerCount = in_.i32();
    const int16_t originX = in_.i16();
    const int16_t originY = in_.i16();
    if (!in_.ok()) return in_.error();
    if (!referencesHold()) return CacheError::kBadFormat;
    doc_.imageRect = r;
    doc_.layerCount = layerCount;
    doc_.originX = originX;
    doc_.originY = originY;
    return CacheError::kNone;
  }

 private:
  int16_t div16(int16_t v) const { return static_cast<int16_t>(v / c_); }

  // Every other part of the program indexes devices and net names with these without a test.
  bool referencesHold() const {
    const auto devices = static_cast<int32_t>(doc_.devices.size());
    const auto nets = static_cast<int32_t>(doc_.netNames.size());
    const auto netOrNone = [nets](int32_t n) { return n >= -1 && n < nets; };
    for (const CPad& p : doc_.pads) {
      if (p.device < -1 || p.device >= devices || p.net < 0 || p.net >= nets) return false;
    }
    for (const CVia& v : doc_.vias) {
      if (!netOrNone(v.net)) return false;
    }
    for (const auto* segments : {&doc_.lines, &doc_.outlineLines}) {
      for (const CLine& l : *segments) {
        if (!netOrNone(l.net)) return false;
      }
    }
    return true;
  }

  // Checks an object entry's tag: the class must be the array's own.
  bool readTag(ClassId expected) {
    const uint16_t tag = in_.u16();
    if (!in_.ok()) return false;
    uint32_t classIndex = 0;
    if (tag == kNewClassTag) {
      const uint16_t schema = in_.u16();
      const uint16_t length = in_.u16();
      const std::string_view name = in_.bytes(length);
      if (!in_.ok()) return false;
      std::size_t cls = 0;
      while (cls < kClassCount && kClassNames[cls] != name) ++cls;
      if (cls == kClassCount) return fail(CacheError::kUnexpectedObject);
      if (schema != kSchema) return fail(CacheError::kBadSchema);
      classIndex = ++next_;
      classes_.emplace(classIndex, static_cast<ClassId>(cls));
    } else if (tag == kBigObjectTag) {
      const uint32_t big = in_.u32();
      if (!in_.ok()) return false;
      // Without the class bit this is a reference to an object read before, which the writer
      // never produces: two arrays would share one record.
      if ((big & kBigClassTagBit) == 0) return fail(CacheError::kBadFormat);
      classIndex = big & ~kBigClassTagBit;
    } else if ((tag & kClassTagBit) != 0) {
      classIndex = tag & ~kClassTagBit;
    } else {
      return fail(CacheError::kBadFormat);  // an empty object or a back-reference
    }
    const auto it = classes_.find(classIndex);
    if (it == classes_.end()) return fail(CacheError::kBadFormat);
    if (it->second != expected) return fail(CacheError::kUnexpectedObject);
    ++next_;
    return true;
  }

  bool fail(CacheError e) {
    in_.fail(e);
    return false;
  }

  // `minimum` is the least number of bytes an entry takes, so that a count larger than the
  // file can hold reserves no more than the file could fill.
  template <typename Record, typename ReadFields>
  void readArray(std::vector<Record>& out, ClassId cls, std::size_t minimum,
                 const ReadFields& readFields) {
    const uint32_t n = in_.count();
    if (!in_.ok()) return;
    out.reserve(std::min<std::size_t>(n, in_.remaining() / minimum));
    for (uint32_t i = 0; i < n; ++i) {
      if (!readTag(cls)) return;
      Record record;
      readFields(record);
      if (!in_.ok()) return;
      out.push_back(std::move(record));
    }
  }

  CDravonDoc& doc_;
  ByteReader in_;
  const int32_t c_;
  std::unordered_map<uint32_t, ClassId> classes_;
  uint32_t next_ = 0;
};

void finishLoad(CDravonDoc& doc) {
  std::unordered_map<std::string, int> entryAt;
  for (std::size_t i = 0; i < doc.listEntries.size(); ++i) {
    entryAt.emplace(doc.listEntries[i].refDes, static_cast<int>(i));
  }
  const ShapeIndex index(doc.shapes);
  for (CDev& d : doc.devices) {
    // A name missing from the parts list takes the first entry's flag; no entries, no flag.
    const auto it = entryAt.find(d.name);
    const std::size_t entry = it == entryAt.end() ? 0 : static_cast<std::size_t>(it->second);
    d.notAssembled = entry < doc.listEntries.size() ? doc.listEntries[entry].notAssembled : 0;
    d.bounds = shapeExtent(doc, index, d.x, d.y, d.shape);
  }
  doc.layerPresent.fill(false);
  for (const CLine& l : doc.lines) {
    if (l.layer >= 1 && l.layer <= kLayerSlots) doc.layerPresent[l.layer - 1] = true;
  }
}

}  // namespace

std::string archiveText(std::string_view format, std::string_view path) {
  const std::size_t at = format.find("%1");
  if (at == std::string_view::npos) return std::string(format);
  std::string text(format.substr(0, at));
  return text.append(path).append(format.substr(at + 2));
}

std::string encodeCardCache(const CDravonDoc& doc) {
  ByteWriter w;
  w.count(doc.devices.size());
  for (const CDev& d : doc.devices) {
    w.tag(kDev);
    w.string(d.name), w.i16(d.x), w.i16(d.y), w.i8(d.layer), w.i32(d.shape);
  }
  w.count(doc.netNames.size());
  for (const std::string& name : doc.netNames) w.string(name);
  w.count(doc.testPoints.size());
  for (const CTp& t : doc.testPoints) {
    w.tag(kTp);
    w.string(t.name), w.i8(t.layer), w.i16(t.x), w.i16(t.y);
  }
  w.count(doc.vias.size());
  for (const CVia& v : doc.vias) {
    w.tag(kVia);
    w.i32(v.net), w.i32(v.hole), w.i16(v.x), w.i16(v.y), w.i32(v.shape);
  }
  w.count(doc.pads.size());
  for (const CPad& p : doc.pads) {
    w.tag(kPad);
    w.i16(p.device), w.i16(p.pin), w.i16(p.net), w.i16(p.x), w.i16(p.y), w.i32(p.shape);
  }
  w.count(doc.lines.size());
  for (const CLine& l : doc.lines) writeLine(w, l);
  w.count(doc.outlineLines.size());
  for (const CLine& l : doc.outlineLines) writeLine(w, l);
  w.count(doc.shapes.size());
  for (const CShape& s : doc.shapes) {
    w.tag(kShape);
    w.i32(s.index), w.i8(s.type);
    w.count(s.values.size());
    for (const ShapePair& p : s.values) w.i32(p.val1), w.i32(p.val2);
  }
  w.i32(doc.imageRect.left), w.i32(doc.imageRect.top);
  w.i32(doc.imageRect.right), w.i32(doc.imageRect.bottom);
  w.i32(doc.layerCount);
  w.i16(doc.originX), w.i16(doc.originY);
  return w.take();
}

bool writeCardCache(const CDravonDoc& doc, const std::string& path) {
  const std::string bytes = encodeCardCache(doc);
  const std::string temporary = path + ".tmp";
  std::FILE* file = std::fopen(temporary.c_str(), "wb");
  if (file == nullptr) return false;
  errno = 0;
  bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
  written = std::fflush(file) == 0 && written;
  const int writeErrno = errno;
  written = std::fclose(file) == 0 && written;
  std::error_code error;
  if (written) std::filesystem::rename(temporary, path, error);
  if (!written || error) {
    std::filesystem::remove(temporary, error);
    const bool full = !written && writeErrno == ENOSPC;
    doc.showMessageBox(full ? std::string(kDiskFull) : archiveText(kWriteFailed, path),
                       MessageIcon::kExclamation);
    return false;
  }
  return true;
}

CacheError decodeCardCache(CDravonDoc& doc, std::string_view bytes) {
  const CacheError error = CacheDecoder(doc, bytes).decode();
  if (error != CacheError::kNone) {
    doc.clearModel();
    return error;
  }
  finishLoad(doc);
  return CacheError::kNone;
}

bool readCardCache(CDravonDoc& doc, const std::string& path) {
  doc.showStatus(kReadingCardCache);
  std::string bytes;
  if (!readWholeFile(path, bytes)) return false;
  const CacheError error = decodeCardCache(doc, bytes);
  std::string_view format;
  switch (error) {
    case CacheError::kNone:
      return true;
    case CacheError::kCannotOpen:
      return false;
    case CacheError::kPastEnd:
      format = kArchivePastEnd;
      break;
    case CacheError::kBadFormat:
      format = kArchiveBadFormat;
      break;
    case CacheError::kUnexpectedObject:
      format = kArchiveUnexpectedObject;
      break;
    case CacheError::kBadSchema:
      format = kArchiveBadSchema;
      break;
  }
  doc.showMessageBox(archiveText(format, path), MessageIcon::kExclamation);
  return false;
}

}  // namespace dravon
