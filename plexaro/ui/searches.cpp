// The five searches of the fixture tester's failure report: Open and Short by nail number,
// component pin, net name and device.
#include <cstdio>
#include <string>

#include "plexaro/display/view_transform.h"
#include "plexaro/platform/message_area.h"
#include "plexaro/ui/integer_text.h"
#include "plexaro/ui/main_form.h"

namespace plexaro {

namespace {

constexpr std::string_view kNailNotFoundPrefix = "Search $";
constexpr std::string_view kPinNotFoundPrefix = "Search pin ";
constexpr std::string_view kNetNotFoundPrefix = "Search Net ";
constexpr std::string_view kDeviceNotFoundPrefix = "Search device ";
constexpr std::string_view kNotFoundSuffix = " not found !";
constexpr std::string_view kDeviceFoundPrefix = "Device ";
constexpr std::string_view kDeviceFoundSuffix = " .";

std::string notFound(std::string_view prefix, std::string_view text) {
  return std::string{prefix}.append(text).append(kNotFoundSuffix);
}

int32_t otherSide(int32_t side) {
  return side == 1 ? 2 : side == 2 ? 1 : side;
}

}  // namespace

std::optional<int32_t> TForm1::convertOrReport(const std::string& text) {
  std::optional<int32_t> value = convertInteger(text);
  if (!value) platform_.dialogs.showMessageBox(notAnIntegerMessage(text));
  return value;
}

template <typename Step>
void TForm1::runSignalSearch(std::string_view caption, Step step) {
  if (!tables_->loaded) return;
  signalForm_.caption = caption;
  signalForm_.clearInputs();
  signalForm_.confirmed = false;
  platform_.dialogs.showSearchDialog(signalForm_);
  if (!signalForm_.confirmed) return;
  clearAllMarks(*tables_);
  state_.currentMarkSlot = 0;
  platform_.messages.clearMessages();
  for (int32_t slot = 1; slot <= SearchDialog::kInputs; ++slot) {
    std::string& text = signalForm_.inputs[slot - 1];
    if (text.empty()) continue;
    // A number that does not convert stops the search where it stands, without the view.
    if (!step(text, slot)) return;
  }
  viewAll(view_, *this);
}

bool TForm1::nailStep(const std::string& text, int32_t slot) {
  const std::optional<int32_t> number = convertOrReport(text);
  if (!number) return false;
  bool found = false;
  for (int32_t i = 0; i < tables_->nailCount; ++i) {
    NailEntry& nail = tables_->nails[i];
    if (nail.number != *number) continue;
    found = true;
    nail.marked = true;
    nail.markSlot = slot;
    state_.currentMarkSlot = slot;
    state_.listNet = nail.net;
    if (slot == 1) view_.currentSide = nail.side;
  }
  if (!found) {
    addMessageLine(notFound(kNailNotFoundPrefix, text));
    return true;
  }
  char line[kMessageLineCapacity];
  std::snprintf(line, sizeof line, "$%s ,Net #%d %s ", text.c_str(),
                static_cast<int>(state_.listNet),
                std::string{netName(*tables_, state_.listNet)}.c_str());
  state_.messageLine.assign(line);
  markNet(*tables_, state_, platform_.messages);
  return true;
}

bool TForm1::componentPinStep(std::string& text, int32_t slot) {
  text = upperCaseAscii(text);
  // Without a ".", the whole text stands for the part name and for the pin number.
  const std::size_t dot = text.find('.');
  const std::string partName = dot == std::string::npos ? text : text.substr(0, dot);
  const std::string pinText = dot == std::string::npos ? text : text.substr(dot + 1);
  const std::optional<int32_t> pinNo = convertOrReport(pinText);
  if (!pinNo) return false;

  BoardTables& t = *tables_;
  bool found = false;
  for (int32_t q = 0; q < t.partCount; ++q) {
    const PartEntry& part = t.parts[q];
    if (part.name.view() != partName) continue;
    if (slot == 1) view_.currentSide = part.side;
    const PinRange range = partPinRange(t, q);
    // A pin number of 0 or below would reach before the part's first pin: not found, like a
    // number beyond its last pin.
    const int64_t p = int64_t{part.firstPin} + *pinNo - 1;
    if (*pinNo >= 1 && p < range.end && p >= 0 && p < t.pinCount) {
      PinEntry& pin = t.pins[p];
      found = true;
      pin.marked = true;
      pin.markSlot = slot;
      state_.currentMarkSlot = slot;
      state_.listNet = pin.net;
      if (slot == 1 && pin.side == 0) view_.currentSide = otherSide(view_.currentSide);
    }
    break;
  }
  if (!found) {
    addMessageLine(notFound(kPinNotFoundPrefix, text));
    return true;
  }
  int32_t nailNo = kNoNailNumber;
  for (int32_t i = 0; i < t.nailCount; ++i) {
    if (t.nails[i].net == state_.listNet) nailNo = t.nails[i].number;
  }
  char line[kMessageLineCapacity];
  std::snprintf(line, sizeof line, "%s ,Net #%d %s ,$%d ", text.c_str(),
                static_cast<int>(state_.listNet), std::string{netName(t, state_.listNet)}.c_str(),
                static_cast<int>(nailNo));
  state_.messageLine.assign(line);
  markNet(t, state_, platform_.messages);
  return true;
}

void TForm1::netStep(std::string& text, int32_t slot) {
  text = upperCaseAscii(text);
  BoardTables& t = *tables_;
  int32_t net = 0;
  for (int32_t n = 1; n <= t.netCount && n < kNetCapacity; ++n) {
    if (t.nets[n].name.view() == text) {
      net = n;
      break;
    }
  }
  if (net == 0) {
    addMessageLine(notFound(kNetNotFoundPrefix, text));
    return;
  }
  state_.listNet = net;
  state_.currentMarkSlot = slot;
  int32_t nailNo = kNoNailNumber;
  for (int32_t i = 0; i < t.nailCount; ++i) {
    NailEntry& nail = t.nails[i];
    if (nail.net != net) continue;
    nail.marked = true;
    nail.markSlot = slot;
    nailNo = nail.number;
    break;
  }
  char line[kMessageLineCapacity];
  std::snprintf(line, sizeof line, "Net #%d %s ,$%d", static_cast<int>(net), t.nets[net].name.text,
                static_cast<int>(nailNo));
  state_.messageLine.assign(line);
  markNet(t, state_, platform_.messages);
}

void TForm1::searchOpen() {
  runSignalSearch(kOpenCaption, [&](std::string& t, int32_t k) { return nailStep(t, k); });
}

void TForm1::searchShort() {
  runSignalSearch(kShortCaption, [&](std::string& t, int32_t k) { return nailStep(t, k); });
}

void TForm1::searchComponentPin() {
  runSignalSearch(kComponentPinCaption,
                  [&](std::string& t, int32_t k) { return componentPinStep(t, k); });
}

void TForm1::searchNet() {
  runSignalSearch(kNetNameCaption, [&](std::string& t, int32_t k) {
    netStep(t, k);
    return true;
  });
}

void TForm1::searchDevice() {
  if (!tables_->loaded) return;
  deviceForm_.clearInputs();
  platform_.dialogs.showSearchDialog(deviceForm_);
  if (!deviceForm_.confirmed) return;
  deviceForm_.confirmed = false;
  Redraw1Click();
  platform_.messages.clearMessages();
  BoardTables& t = *tables_;
  for (std::string& text : deviceForm_.inputs) {
    if (text.empty()) continue;
    text = upperCaseAscii(text);
    bool found = false;
    for (int32_t q = 0; q < t.partCount; ++q) {
      PartEntry& part = t.parts[q];
      if (part.name.view() != text) continue;
      part.marked = true;
      view_.currentSide = part.side;
      found = true;
      break;
    }
    addMessageLine(found ? std::string{kDeviceFoundPrefix}.append(text).append(kDeviceFoundSuffix)
                         : notFound(kDeviceNotFoundPrefix, text));
  }
  viewAll(view_, *this);
}

}  // namespace plexaro
