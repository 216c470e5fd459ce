#include "dravon/card/cad_export_reader.h"

#include <algorithm>
#include <climits>
#include <unordered_map>

#include "dravon/card/text_fields.h"
#include "dravon/render/shape_extent.h"

namespace dravon {
namespace {

// The lines of the export; ends are CR LF or LF and are not part of a line.
class LineSource {
 public:
  explicit LineSource(std::string_view text) : text_(text) {}

  bool next(std::string_view& line) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    return true;
  }

 private:
  std::string_view text_;
  std::size_t pos_ = 0;
};

// The fields of one record. A field is read up to the comma (or other stop) that ends it; a
// field with no stop after it reads as empty, and so does everything after it.
class FieldCursor {
 public:
  explicit FieldCursor(std::string_view text) : rest_(text) {}

  std::string_view next(char stop = ',') {
    const std::size_t at = rest_.find(stop);
    if (at == std::string_view::npos) {
      rest_ = {};
      return {};
    }
    const std::string_view field = rest_.substr(0, at);
    rest_.remove_prefix(at + 1);
    return field;
  }
  int32_t number(char stop = ',') { return parseDecimal(next(stop)); }
  void skip(int count) {
    for (int i = 0; i < count; ++i) next();
  }
  // Moves just past the next `c`; false, with nothing left, when there is none.
  bool seekPast(char c) {
    const std::size_t at = rest_.find(c);
    if (at == std::string_view::npos) {
      rest_ = {};
      return false;
    }
    rest_.remove_prefix(at + 1);
    return true;
  }
  [[nodiscard]] std::string_view rest() const { return rest_; }

 private:
  std::string_view rest_;
};

int16_t cut16(int32_t v) {
  return static_cast<int16_t>(v);
}
int8_t cut8(int32_t v) {
  return static_cast<int8_t>(v);
}

std::string withName(std::string_view format, std::string_view name) {
  const std::size_t at = format.find("%s");
  if (at == std::string_view::npos) return std::string(format);
  std::string text(format.substr(0, at));
  return text.append(name).append(format.substr(at + 2));
}

class CadReader {
 public:
  CadReader(CDravonDoc& doc, std::string_view text) : doc_(doc), source_(text) {}

  bool read() {
    doc_.showStatus(kReadingTestPoints);
    if (!findFieldList(kTestPointFields)) return endsEarly();
    std::string_view line;
    for (;;) {
      if (!source_.next(line)) return endsEarly();
      if (line.starts_with(kSectionMark)) break;
      if (line.starts_with(kTestPointPrefix)) readTestPoint(line);
    }
    held_ = line;

    doc_.showStatus(kReadingPads);
    if (!readSection(kPadFields, kPadsEnd, &CadReader::readPad)) return endsEarly();
    if (tooLarge_) return tooLarge();
    doc_.showStatus(kReadingDevices);
    if (!readSection(kDeviceFields, kDevicesEnd, &CadReader::readDevice)) {
      return failed_ ? false : endsEarly();
    }
    if (failed_) return false;
    if (doc_.devices.size() > static_cast<std::size_t>(INT16_MAX) + 1) return tooLarge();
    setLayerCount();
    doc_.showStatus(kReadingVias);
    if (!readSection(kViaFields, kViasEnd, &CadReader::readVia)) return endsEarly();
    doc_.showStatus(kReadingLines);
    if (!readSection(kLineFields, kLinesEnd, &CadReader::readLine)) return endsEarly();
    doc_.showStatus(kReadingShapes);
    if (!readShapes()) return endsEarly();
    postProcess();
    return true;
  }

 private:
  bool endsEarly() {
    doc_.showStatus(kCadEndsEarly);
    return false;
  }
  bool tooLarge() {
    doc_.showStatus(kCadTooLarge);
    return false;
  }

  // The line that ended the previous section is looked at again.
  bool findFieldList(std::string_view fields) {
    if (held_ && *held_ == fields) {
      held_.reset();
      return true;
    }
    held_.reset();
    std::string_view line;
    while (source_.next(line)) {
      if (line == fields) return true;
    }
    return false;
  }

  using RecordReader = void (CadReader::*)(std::string_view);
  bool readSection(std::string_view fields, std::string_view end, RecordReader readRecord) {
    if (!findFieldList(fields)) return false;
    std::string_view line;
    while (source_.next(line)) {
      if (line == end) {
        held_ = line;
        return true;
      }
      (this->*readRecord)(line);
      if (failed_) return false;
    }
    return false;
  }

  void readTestPoint(std::string_view line) {
    FieldCursor f(line);
    CTp tp;
    tp.name = padName(f.next(), 7);
    f.skip(1);  // SIGNAL
    tp.x = cut16(f.number());
    tp.y = cut16(f.number());
    tp.layer = cut8(f.number());
    doc_.testPoints.push_back(std::move(tp));
  }

  void readPad(std::string_view line) {
    FieldCursor f(line);
    CPad pad;
    padOwners_.emplace_back(f.next());
    f.skip(1);  // SYMDES
    const std::string_view signal = f.next();
    int net = findNet(signal);
    if (net == -1) {
      net = static_cast<int>(doc_.netNames.size());
      if (net > INT16_MAX) tooLarge_ = true;
      doc_.netNames.emplace_back(signal);
      if (!signal.empty()) nets_.emplace(std::string(signal), net);
    }
    pad.net = cut16(net);
    f.skip(1);  // PNOD
    pad.pin = cut16(f.number());
    pad.x = cut16(f.number());
    pad.y = cut16(f.number());
    f.skip(2);  // PSTAT, PFHS
    pad.shape = f.number();
    doc_.pads.push_back(pad);
  }

  void readDevice(std::string_view line) {
    if (line.starts_with(kTestPointPrefix) || line.starts_with(kShotPrefix)) return;
    FieldCursor f(line);
    CDev dev;
    dev.name = padName(f.next(), 5);
    dev.x = cut16(f.number());
    dev.y = cut16(f.number());
    dev.layer = cut8(f.number());
    f.skip(3);  // COMPROT, DSTAT, CFSFSTAT
    dev.shape = f.number();
    if (dev.shape == 0) {
      const std::string text = withName(kDeviceShapeNotFound, dev.name);
      doc_.showStatus(text);
      doc_.showMessageBox(text, MessageIcon::kExclamation);
      failed_ = true;
      return;
    }
    doc_.devices.push_back(std::move(dev));
  }

  void setLayerCount() {
    // A card without devices has no back layer of its own; it is read as a one-sided card.
    if (doc_.devices.empty()) {
      doc_.layerCount = 1;
      return;
    }
    int8_t highest = INT8_MIN;
    for (const CDev& dev : doc_.devices) highest = std::max(highest, dev.layer);
    // Layers are signed 8-bit values: a layer written as 200 counts as -56.
    doc_.layerCount = highest;  // NOLINT(bugprone-signed-char-misuse)
  }

  void readVia(std::string_view line) {
    FieldCursor f(line);
    CVia via;
    via.net = findNet(f.next());
    f.skip(1);  // CFSFSTAT
    via.hole = f.number();
    f.skip(1);  // "<(" with VSTAT
    via.x = cut16(f.number());
    via.y = cut16(f.number());
    f.skip(2);  // LAYER1, LAYER2
    via.shape = f.number(')');
    doc_.vias.push_back(via);
  }

  void readLine(std::string_view line) {
    FieldCursor f(line);
    CLine seg;
    seg.net = cut16(findNet(f.next()));
    seg.layer = cut8(f.number());
    seg.width = cut8(f.number());
    const bool outline = f.rest().starts_with(kOutlineMark);
    f.seekPast('(');
    seg.x1 = cut16(f.number());
    seg.y1 = cut16(f.number());
    seg.x2 = cut16(f.number());
    seg.y2 = cut16(f.number(')'));
    if (outline) {
      doc_.outlineLines.push_back(seg);
    } else if (seg.layer <= doc_.layerCount) {
      doc_.lines.push_back(seg);
    }
  }

  // Shape records run over lines until their text ends with ";". An empty line between records
  // would only be joined to the next one, so it is passed over; a record still open at the end
  // of the file is a file that ends early.
  bool readShapes() {
    if (!findFieldList(kShapeFields)) return false;
    std::string record;
    bool open = false;
    std::string_view line;
    while (source_.next(line)) {
      if (!open && line.empty()) continue;
      record.append(line);
      open = true;
      if (record.ends_with(';')) {
        readShape(record);
        record.clear();
        open = false;
      }
    }
    return !open;
  }

  void readShape(std::string_view record) {
    FieldCursor f(record);
    CShape shape;
    shape.index = f.number();
    f.skip(2);  // NAM, APT
    shape.type = cut8(f.number());
    while (f.seekPast('(')) {
      ShapePair pair;
      pair.val1 = f.number();
      pair.val2 = f.number(')');
      shape.values.push_back(pair);
      if (shape.type == kShapeRectangle || shape.type == kShapeEllipse) break;
    }
    doc_.shapes.push_back(std::move(shape));
  }

  int findNet(std::string_view name) const {
    if (name.empty()) return -1;
    const auto it = nets_.find(std::string(name));
    return it == nets_.end() ? -1 : it->second;
  }

  void postProcess() {
    dropUnusedShapes();
    setCardRectangle();

    std::unordered_map<std::string, int> deviceAt;
    deviceAt.reserve(doc_.devices.size());
    for (std::size_t i = 0; i < doc_.devices.size(); ++i) {
      deviceAt.emplace(doc_.devices[i].name, static_cast<int>(i));
    }
    for (std::size_t i = 0; i < doc_.pads.size(); ++i) {
      const std::string& owner = padOwners_[i];
      if (owner.empty()) continue;
      const auto it = deviceAt.find(padName(owner, 5));
      doc_.pads[i].device = it == deviceAt.end() ? int16_t{-1} : cut16(it->second);
    }

    std::unordered_map<std::string, int> entryAt;
    for (std::size_t i = 0; i < doc_.listEntries.size(); ++i) {
      entryAt.emplace(doc_.listEntries[i].refDes, static_cast<int>(i));
    }
    for (CDev& dev : doc_.devices) {
      // A name missing from the parts list takes the first entry's flag; no entries, no flag.
      const auto it = entryAt.find(dev.name);
      const std::size_t entry = it == entryAt.end() ? 0 : static_cast<std::size_t>(it->second);
      dev.notAssembled = entry < doc_.listEntries.size() ? doc_.listEntries[entry].notAssembled : 0;
    }

    doc_.originX = cut16(doc_.imageRect.left);
    doc_.originY = cut16(doc_.imageRect.top);
    const int32_t ox = doc_.originX;
    const int32_t oy = doc_.originY;
    const auto shift = [](int16_t& v, int32_t by) { v = cut16(v - by); };
    for (CDev& d : doc_.devices) shift(d.x, ox), shift(d.y, oy);
    for (CTp& t : doc_.testPoints) shift(t.x, ox), shift(t.y, oy);
    for (CPad& p : doc_.pads) shift(p.x, ox), shift(p.y, oy);
    for (CVia& v : doc_.vias) shift(v.x, ox), shift(v.y, oy);
    for (auto* segments : {&doc_.lines, &doc_.outlineLines}) {
      for (CLine& l : *segments) {
        shift(l.x1, ox), shift(l.x2, ox), shift(l.y1, oy), shift(l.y2, oy);
      }
    }
    const CardRect r = doc_.imageRect;
    doc_.imageRect = {0, 0, r.right - r.left, r.bottom - r.top};

    const ShapeIndex index(doc_.shapes);
    for (CDev& d : doc_.devices) d.bounds = shapeExtent(doc_, index, d.x, d.y, d.shape);
  }

  void dropUnusedShapes() {
    const ShapeIndex index(doc_.shapes);
    std::vector<bool> used(doc_.shapes.size(), false);
    for (const CDev& d : doc_.devices) doc_.markShapeUsed(d.shape, used, index);
    for (const CVia& v : doc_.vias) doc_.markShapeUsed(v.shape, used, index);
    for (const CPad& p : doc_.pads) doc_.markShapeUsed(p.shape, used, index);
    std::size_t kept = 0;
    for (std::size_t i = 0; i < doc_.shapes.size(); ++i) {
      if (!used[i]) continue;
      if (kept != i) doc_.shapes[kept] = std::move(doc_.shapes[i]);
      ++kept;
    }
    doc_.shapes.resize(kept);
  }

  // The outline's first ends with margins. A card without outline segments takes the same
  // rule over every position it holds, so that its rectangle still covers the card.
  void setCardRectangle() {
    int32_t minX = INT32_MAX, minY = INT32_MAX, maxX = INT32_MIN, maxY = INT32_MIN;
    const auto take = [&](int32_t x, int32_t y) {
      minX = std::min(minX, x), minY = std::min(minY, y);
      maxX = std::max(maxX, x), maxY = std::max(maxY, y);
    };
    for (const CLine& l : doc_.outlineLines) take(l.x1, l.y1);
    if (doc_.outlineLines.empty()) {
      for (const CDev& d : doc_.devices) take(d.x, d.y);
      for (const CTp& t : doc_.testPoints) take(t.x, t.y);
      for (const CPad& p : doc_.pads) take(p.x, p.y);
      for (const CVia& v : doc_.vias) take(v.x, v.y);
      for (const CLine& l : doc_.lines) take(l.x1, l.y1);
      if (minX > maxX) minX = minY = maxX = maxY = 0;
    }
    doc_.imageRect = {minX - kMarginBefore, minY - kMarginBefore, maxX + kMarginAfter,
                      maxY + kMarginAfter};
  }

  CDravonDoc& doc_;
  LineSource source_;
  std::optional<std::string_view> held_;
  std::vector<std::string> padOwners_;
  std::unordered_map<std::string, int> nets_;
  bool failed_ = false;
  bool tooLarge_ = false;
};

}  // namespace

bool readCadExportText(CDravonDoc& doc, std::string_view text) {
  return CadReader(doc, text).read();
}

bool readCadExport(CDravonDoc& doc, const std::string& path) {
  std::string text;
  if (!readWholeFile(path, text)) return false;
  return readCadExportText(doc, text);
}

}  // namespace dravon
