#include "dravon/card/card_doc.h"

#include <cstdio>

namespace dravon {

std::string padName(std::string_view name, std::size_t width) {
  std::string out(name.substr(0, width));
  out.resize(width, ' ');
  return out;
}

int CDravonDoc::findShape(int32_t shapeIndex) const {
  for (std::size_t i = 0; i < shapes.size(); ++i) {
    if (shapes[i].index == shapeIndex) return static_cast<int>(i);
  }
  return -1;
}

int CDravonDoc::findDevice(std::string_view name) const {
  if (name.empty()) return -1;
  const std::string key = padName(name, 5);
  for (std::size_t i = 0; i < devices.size(); ++i) {
    if (devices[i].name == key) return static_cast<int>(i);
  }
  return -1;
}

int CDravonDoc::findListEntry(std::string_view name) const {
  if (name.empty()) return -1;
  const std::string key = padName(name, 5);
  for (std::size_t i = 0; i < listEntries.size(); ++i) {
    if (listEntries[i].refDes == key) return static_cast<int>(i);
  }
  return 0;
}

int CDravonDoc::findNet(std::string_view name) const {
  if (name.empty()) return -1;
  for (std::size_t i = 0; i < netNames.size(); ++i) {
    if (netNames[i] == name) return static_cast<int>(i);
  }
  return -1;
}

int CDravonDoc::findPadNet(std::string_view componentName, int32_t pin) const {
  const int device = findDevice(componentName);
  if (device == -1) return -1;
  for (const CPad& pad : pads) {
    if (pad.device == device && pad.pin == pin) return pad.net;
  }
  return -1;
}

int32_t CDravonDoc::notAssembledOf(std::string_view name) const {
  const int entry = findListEntry(name);
  if (entry < 0 || static_cast<std::size_t>(entry) >= listEntries.size()) return 0;
  return listEntries[entry].notAssembled;
}

template <typename Find>
void CDravonDoc::markShapes(int32_t shapeIndex, std::vector<bool>& used, const Find& find) const {
  used.resize(shapes.size(), false);
  // Front members are followed through a work list rather than by recursion, so a long chain
  // of padstacks cannot exhaust the stack; the marked set does not depend on the order.
  std::vector<int32_t> pending{shapeIndex};
  while (!pending.empty()) {
    int32_t s = pending.back();
    pending.pop_back();
    for (;;) {
      const int p = find(s);
      if (p < 0 || used[p]) break;
      used[p] = true;
      const CShape& shape = shapes[p];
      if (shape.type != kShapeComposite || shape.values.empty()) break;
      if (shape.values[0].val2 != 0) pending.push_back(shape.values[0].val2);
      if (layerCount < 1 || shape.values.size() < static_cast<std::size_t>(layerCount)) break;
      s = shape.values[layerCount - 1].val2;
      if (s == 0) break;
    }
  }
}

void CDravonDoc::markShapeUsed(int32_t shapeIndex, std::vector<bool>& used) const {
  markShapes(shapeIndex, used, [this](int32_t key) { return findShape(key); });
}

void CDravonDoc::markShapeUsed(int32_t shapeIndex, std::vector<bool>& used,
                               const ShapeIndex& index) const {
  markShapes(shapeIndex, used, [&index](int32_t key) { return index.find(key); });
}

std::string_view CDravonDoc::netName(int32_t net) const {
  if (net < 0 || static_cast<std::size_t>(net) >= netNames.size()) return {};
  return netNames[net];
}

std::size_t CDravonDoc::markedNetCount() const {
  std::size_t count = 0;
  for (const NetMark& mark : markedNets) count += mark.net >= 0 ? 1 : 0;
  return count;
}

int CDravonDoc::isNetMarked(int32_t net) const {
  if (net < 0) return 0;
  for (const NetMark& mark : markedNets) {
    if (mark.net != net) continue;
    if (markedNetCount() > 1 && netName(net).find(kNoConnectMark) != std::string_view::npos) {
      return 0;
    }
    return 1;
  }
  return 0;
}

std::optional<MarkColour> CDravonDoc::netMarkColor(int32_t net) const {
  if (markedNetCount() <= 1) return std::nullopt;
  const std::string_view name = netName(net);
  if (name.find(kGroundMark) != std::string_view::npos) return kGroundColour;
  if (name.find(kSupplyMark) != std::string_view::npos) return kSupplyColour;
  return std::nullopt;
}

void CDravonDoc::clearMarkedNets() {
  markedNets.clear();
}

void CDravonDoc::clearModel() {
  listEntries.clear();
  pads.clear();
  devices.clear();
  vias.clear();
  lines.clear();
  outlineLines.clear();
  shapes.clear();
  testPoints.clear();
  pdfLinks.clear();
  clearMarkedNets();
  netNames.clear();
  frontImage = Surface();
  backImage = Surface();
  compositeImage = Surface();
  compositeContent = CompositeContent();
}

std::string CDravonDoc::componentText(int entry) const {
  if (entry < 0 || static_cast<std::size_t>(entry) >= listEntries.size()) return {};
  const CListEntry& e = listEntries[entry];
  // "%s %s %s p%d"
  std::string text;
  text.append(e.refDes).append(" ").append(e.description).append(" ").append(e.partNumber);
  return text.append(" p").append(std::to_string(e.pNumber));
}

std::string CDravonDoc::pinText(int pad) const {
  if (pad < 0 || static_cast<std::size_t>(pad) >= pads.size()) return {};
  // "%s.%3d %s"
  char pin[16];
  std::snprintf(pin, sizeof pin, "%3d", pads[pad].pin);
  std::string text;
  text.append(foundName).append(".").append(pin).append(" ");
  return text.append(netName(pads[pad].net));
}

void CDravonDoc::showStatus(std::string_view text) const {
  if (statusBar != nullptr) statusBar->setPaneText(kStatusPane, text);
}

void CDravonDoc::showMessageBox(std::string_view text, MessageIcon icon) const {
  if (messageBoxes != nullptr) messageBoxes->showMessage(text, icon);
}

}  // namespace dravon
