#include "plexaro/ui/main_form.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "plexaro/board/default_size_file.h"
#include "plexaro/display/canvas.h"
#include "plexaro/display/view_transform.h"
#include "plexaro/platform/message_area.h"
#include "plexaro/platform/status_bar.h"
#include "plexaro/ui/integer_text.h"

namespace plexaro {

namespace {

constexpr MenuItem kSearchMenus[] = {MenuItem::Open2, MenuItem::Short1, MenuItem::Comp1,
                                     MenuItem::Net1, MenuItem::Part1};
constexpr MenuItem kViewMenuItems[] = {MenuItem::Pan2, MenuItem::Redraw1,
                                       MenuItem::ShowAllPartsName1, MenuItem::ShowAllNailNumber1,
                                       MenuItem::SetDefaultSize1};

constexpr int index(MenuItem item) {
  return static_cast<int>(item);
}

bool underViewMenu(MenuItem item) {
  for (MenuItem m : kViewMenuItems) {
    if (m == item) return true;
  }
  return false;
}

constexpr std::string_view kDefaultSizeNotWritten = "Can not write default size file ";

}  // namespace

TForm1::TForm1(FormPlatform platform)
    : platform_(platform),
      tables_(std::make_unique<BoardTables>()),
      renderer_(platform.board.canvas(), *this, platform.status) {
  enabled_.fill(true);
}

TForm1::~TForm1() = default;

void TForm1::FormCreate() {
  signalForm_.FormCreate();
  deviceForm_.FormCreate();
  tables_->loaded = false;
  setBoardCommandsEnabled(false);
  platform_.window.setCaption(kMainCaption);
}

// ---- BoardArea and BoardOpenHost --------------------------------------------------------

int TForm1::width() const {
  return platform_.board.width();
}
int TForm1::height() const {
  return platform_.board.height();
}
void TForm1::movePointer(int x, int y) {
  platform_.board.movePointer(x, y);
}
void TForm1::redraw() {
  PaintBox1Paint();
}

void TForm1::addMessageLine(std::string_view line) {
  platform_.messages.addMessageLine(line);
}
void TForm1::setCaption(std::string_view caption) {
  platform_.window.setCaption(caption);
}
void TForm1::enableBoardCommands() {
  setBoardCommandsEnabled(true);
}
void TForm1::setDefaultSizeText(std::string_view text) {
  defaultSizeText_ = text;
}
void TForm1::showLoadedBoard() {
  viewAll(view_, *this);
}

// ---- menus --------------------------------------------------------------------------------

void TForm1::setEnabled(MenuItem item, bool enabled) {
  enabled_[index(item)] = enabled;
  platform_.window.setMenuEnabled(item, enabled);
}

void TForm1::setChecked(MenuItem item, bool checked) {
  checked_[index(item)] = checked;
  platform_.window.setMenuChecked(item, checked);
}

bool TForm1::menuEnabled(MenuItem item) const {
  if (underViewMenu(item) && !enabled_[index(MenuItem::View1)]) return false;
  return enabled_[index(item)];
}

bool TForm1::menuChecked(MenuItem item) const {
  return checked_[index(item)];
}

void TForm1::setBoardCommandsEnabled(bool enabled) {
  setEnabled(MenuItem::Close1, enabled);
  setEnabled(MenuItem::View1, enabled);
  for (MenuItem m : kSearchMenus) setEnabled(m, enabled);
  setEnabled(MenuItem::Open1, !enabled);
}

void TForm1::clickMenu(MenuItem item) {
  if (!menuEnabled(item)) return;
  switch (item) {
    case MenuItem::Open1:
      return Open1Click();
    case MenuItem::Close1:
      return Close1Click();
    case MenuItem::Exit1:
      return Exit1Click();
    case MenuItem::View1:
      return;
    case MenuItem::Pan2:
      return Pan2Click();
    case MenuItem::Redraw1:
      return Redraw1Click();
    case MenuItem::ShowAllPartsName1:
      return ShowAllPartsName1Click();
    case MenuItem::ShowAllNailNumber1:
      return ShowAllNailNumber1Click();
    case MenuItem::SetDefaultSize1:
      return SetDefaultSize1Click();
    case MenuItem::Open2:
      return Open2Click();
    case MenuItem::Short1:
      return Short1Click();
    case MenuItem::Comp1:
      return Comp1Click();
    case MenuItem::Net1:
      return Net1Click();
    case MenuItem::Part1:
      return Part1Click();
    case MenuItem::Content1:
      return Content1Click();
    case MenuItem::About1:
      return About1Click();
  }
}

void TForm1::fillBoardAreaBlack() {
  Canvas& canvas = platform_.board.canvas();
  canvas.setBrushColour(kBlack);
  canvas.fillRect({0, 0, width(), height()});
}

void TForm1::setAllPanels(std::string_view text) {
  for (int panel = 0; panel < kStatusPanelCount; ++panel)
    platform_.status.setPanelText(panel, text);
}

void TForm1::Open1Click() {
  fillBoardAreaBlack();
  state_.showAllPartNames = state_.showAllNailNumbers = false;
  setChecked(MenuItem::ShowAllPartsName1, false);
  setChecked(MenuItem::ShowAllNailNumber1, false);
  setAllPanels(kBlankPanel);
  resetForOpen(*tables_, view_, state_);
  openDialogFileName_.clear();
  std::error_code ignored;  // the dialog then starts wherever the current folder is
  std::filesystem::current_path(std::filesystem::path{std::string{kBoardFolder}}, ignored);
  std::optional<std::string> path = platform_.dialogs.chooseBoardFile(kBoardFileFilter);
  if (!path) {
    addMessageLine(kCannotOpenBoard);
    return;
  }
  openDialogFileName_ = *path;
  loader_.open(openDialogFileName_, *tables_, view_, *this);
}

void TForm1::Close1Click() {
  tables_->loaded = false;
  setBoardCommandsEnabled(false);
  fillBoardAreaBlack();
  setAllPanels(kBlankPanel);
  platform_.window.setCaption(kMainCaption);
  platform_.messages.clearMessages();
}

void TForm1::Exit1Click() {
  platform_.window.close();
}

void TForm1::Pan2Click() {
  if (!tables_->loaded) return;
  platform_.status.setPanelText(kPointerPanel, kSelectViewCenter);
  platform_.window.setCursor(CursorShape::Cross);
  state_.selectViewCenter = true;
}

void TForm1::Redraw1Click() {
  if (!tables_->loaded) return;
  state_.showAllPartNames = state_.showAllNailNumbers = false;
  setChecked(MenuItem::ShowAllPartsName1, false);
  setChecked(MenuItem::ShowAllNailNumber1, false);
  platform_.messages.clearMessages();
  addMessageLine(kClearAllSelected);
  clearAllMarks(*tables_);
  redraw();
}

void TForm1::toggleShowAllPartNames() {
  if (!tables_->loaded) return;
  state_.showAllPartNames = !state_.showAllPartNames;
  setChecked(MenuItem::ShowAllPartsName1, state_.showAllPartNames);
  redraw();
}

void TForm1::toggleShowAllNailNumbers() {
  if (!tables_->loaded) return;
  state_.showAllNailNumbers = !state_.showAllNailNumbers;
  setChecked(MenuItem::ShowAllNailNumber1, state_.showAllNailNumbers);
  redraw();
}

void TForm1::ShowAllPartsName1Click() {
  toggleShowAllPartNames();
}
void TForm1::ShowAllNailNumber1Click() {
  toggleShowAllNailNumbers();
}

void TForm1::SetDefaultSize1Click() {
  platform_.dialogs.editDefaultSize(defaultSizeText_);
  std::optional<int32_t> value = convertInteger(defaultSizeText_);
  if (!value) {
    platform_.dialogs.showMessageBox(notAnIntegerMessage(defaultSizeText_));
    return;
  }
  if (*value > kMaxDefaultSize || *value < kMinDefaultSize) {
    value = kMinDefaultSize;
    defaultSizeText_ = std::to_string(kMinDefaultSize);
  }
  view_.defaultSize = *value;
  if (!writeDefaultSize(openDialogFileName_, *value)) {
    // The size still applies now; the user learns it will not be there next time.
    addMessageLine(
        std::string{kDefaultSizeNotWritten}.append(defaultSizePath(openDialogFileName_)));
  }
  viewAll(view_, *this);
}

void TForm1::runSearch(int8_t mode) {
  state_.searchMode = mode;
  switch (mode) {
    case 1:
      return searchOpen();
    case 2:
      return searchShort();
    case 3:
      return searchComponentPin();
    case 4:
      return searchNet();
    case 5:
      return searchDevice();
    default:
      return;
  }
}

void TForm1::Open2Click() {
  runSearch(1);
}
void TForm1::Short1Click() {
  runSearch(2);
}
void TForm1::Comp1Click() {
  runSearch(3);
}
void TForm1::Net1Click() {
  runSearch(4);
}
void TForm1::Part1Click() {
  runSearch(5);
}

void TForm1::Content1Click() {
  platform_.dialogs.showHelp();
}
void TForm1::About1Click() {
  platform_.dialogs.showAbout();
}

// ---- keyboard -------------------------------------------------------------------------------

void TForm1::cancelViewCenterPick() {
  platform_.window.setCursor(CursorShape::Default);
  state_.selectViewCenter = false;
}

void TForm1::onKeyDown(int key) {
  if (!tables_->loaded) return;
  const auto pan = [&](PanDirection direction) {
    platform_.messages.clearMessages();
    panQuarter(view_, direction, *this);
  };
  switch (key) {
    case vk::kReturn:
      return runSearch(state_.searchMode);
    case vk::kEscape:
      if (state_.selectViewCenter) cancelViewCenterPick();
      return;
    case vk::kSpace:
      return flipSide(view_, *this);
    case vk::kHome:
      return viewAll(view_, *this);
    case vk::kLeft:
      return pan(PanDirection::Left);
    case vk::kUp:
      return pan(PanDirection::Up);
    case vk::kRight:
      return pan(PanDirection::Right);
    case vk::kDown:
      return pan(PanDirection::Down);
    case vk::kDelete:
      return Redraw1Click();
    case 'A':
      return Pan2Click();
    case 'C':
      return runSearch(3);
    case 'D':
      return runSearch(5);
    case 'L':
      return toggleShowAllNailNumbers();
    case 'N':
      return runSearch(4);
    case 'O':
      return runSearch(1);
    case 'R':
      return rotateQuarter(view_, *tables_, *this);
    case 'S':
      return runSearch(2);
    case 'U':
      return toggleShowAllPartNames();
    case 'W':
      state_.dragZoom = true;
      platform_.window.setBoardDragMode(true);
      return;
    case vk::kAdd:
    case vk::kOemPlus:
      zoomStep(view_, state_, ZoomDirection::In, *this);
      return;
    case vk::kSubtract:
    case vk::kOemMinus:
      zoomStep(view_, state_, ZoomDirection::Out, *this);
      return;
    default:
      return;
  }
}

// ---- pointer --------------------------------------------------------------------------------

void TForm1::PaintBox1MouseMove(int x, int y) {
  state_.mouseX = x;
  state_.mouseY = y;
}

void TForm1::PaintBox1MouseDown(MouseButton button, int x, int y) {
  if (!tables_->loaded) return;
  if (button == MouseButton::Left) {
    state_.pressX = x;
    state_.pressY = y;
  } else if (button == MouseButton::Right) {
    if (state_.selectViewCenter) {
      cancelViewCenterPick();
    } else {
      zoomStep(view_, state_, ZoomDirection::Out, *this);
    }
  }
}

void TForm1::PaintBox1Click() {
  if (!tables_->loaded) return;
  if (state_.selectViewCenter) {
    pickViewCenter();
  } else {
    askPoint();
  }
}

void TForm1::PaintBox1DblClick() {
  if (!tables_->loaded) return;
  zoomStep(view_, state_, ZoomDirection::In, *this);
}

void TForm1::PaintBox1StartDrag() {
  bandStart();
}
void TForm1::PaintBox1DragOver(int x, int y) {
  bandMove(x, y);
}
void TForm1::PaintBox1EndDrag(int x, int y) {
  zoomToBand(x, y);
}

void TForm1::PaintBox1Paint() {
  if (!tables_->loaded) return;
  platform_.board.canvas().setFontSize(labelFontSize(view_.scale));
  renderer_.drawBoard(*tables_, view_, state_);
}

void TForm1::askPoint() {
  refreshAngles(view_);
  state_.messageLine.clear();
  const int32_t r = renderer_.markerRadius();
  const auto hit = [&](Pixel at) {
    return at.x - r < state_.pressX && state_.pressX < at.x + r && at.y - r < state_.pressY &&
           state_.pressY < at.y + r;
  };
  const BoardTables& t = *tables_;
  char line[kMessageLineCapacity];
  bool found = false;
  for (int32_t n = 0; n < t.nailCount && !found; ++n) {
    NailEntry& nail = tables_->nails[n];
    if (nail.side != view_.currentSide) continue;
    if (!hit(mapPoint(view_, ItemKind::Nail, nail.side, nail.x, nail.y))) continue;
    found = true;
    state_.listNet = nail.net;
    nail.marked = !nail.marked;
    std::snprintf(line, sizeof line, " $%d , Net #%d  %s ", static_cast<int>(nail.number),
                  static_cast<int>(nail.net), std::string{netName(t, nail.net)}.c_str());
    state_.messageLine.assign(line);
  }
  for (int32_t p = 0; p < t.pinCount && !found; ++p) {
    PinEntry& pin = tables_->pins[p];
    if (pin.side != view_.currentSide && pin.side != 0) continue;
    if (!hit(mapPoint(view_, ItemKind::Pin, pin.side, pin.x, pin.y))) continue;
    found = true;
    state_.listNet = pin.net;
    int32_t nailNo = kNoNailNumber;
    for (int32_t n = 0; n < t.nailCount; ++n) {
      if (t.nails[n].net == state_.listNet) {
        nailNo = t.nails[n].number;
        break;
      }
    }
    if (const PinOwner owner = findFirstPinPart(t, p); owner.part >= 0) {
      std::snprintf(line, sizeof line, " %s.%d , #%d %s , $%d", t.parts[owner.part].name.text,
                    static_cast<int>(owner.pinNumber), static_cast<int>(state_.listNet),
                    std::string{netName(t, state_.listNet)}.c_str(), static_cast<int>(nailNo));
      state_.messageLine.assign(line);
    }
    pin.marked = !pin.marked;
  }
  if (!found) return;
  platform_.status.setPanelText(kPointerPanel, state_.messageLine.view());
  redraw();
}

void TForm1::pickViewCenter() {
  view_.offsetX += state_.mouseX - width() / 2;
  view_.offsetY += state_.mouseY - height() / 2;
  redraw();
  cancelViewCenterPick();
  centrePointer(*this);
}

// ---- band zoom ------------------------------------------------------------------------------

void TForm1::drawBand() {
  platform_.board.canvas().rectangle({bandOriginX_, bandOriginY_, bandCornerX_, bandCornerY_});
}

void TForm1::bandStart() {
  Canvas& canvas = platform_.board.canvas();
  canvas.setBrushHollow();
  canvas.setPenStyle(PenStyle::Dash);
  canvas.setPenColour(kRed);
  canvas.setPenWidth(2);
  bandOriginX_ = state_.mouseX;
  bandOriginY_ = state_.mouseY;
  bandCornerX_ = kNoBand;
  state_.pressX = state_.mouseX;
  state_.pressY = state_.mouseY;
}

void TForm1::bandMove(int x, int y) {
  platform_.board.canvas().setPenMode(PenMode::NotXor);
  if (bandCornerX_ != kNoBand) drawBand();  // erases the band drawn last
  bandCornerX_ = x;
  bandCornerY_ = y;
  drawBand();
}

void TForm1::zoomToBand(int x, int y) {
  if (!state_.dragZoom) return;
  state_.dragZoom = false;
  platform_.window.setBoardDragMode(false);
  bandCornerX_ = x;
  bandCornerY_ = y;
  platform_.board.canvas().setPenMode(PenMode::Copy);
  drawBand();
  if (view_.scale >= 1.0f) {
    redraw();
    return;
  }
  const int32_t w = width(), h = height();
  state_.mouseX = state_.pressX + (x - state_.pressX) / 2;
  state_.mouseY = state_.pressY + (y - state_.pressY) / 2;
  view_.viewCentreX = truncToInt((state_.mouseX + view_.offsetX) / double{view_.scale});
  view_.viewCentreY = truncToInt((state_.mouseY + view_.offsetY) / double{view_.scale});
  const int32_t ex = truncToInt((x + view_.offsetX) / double{view_.scale});
  const int32_t ey = truncToInt((y + view_.offsetY) / double{view_.scale});
  const int32_t halfW = w / 2, halfH = h / 2;  // integer halves, as the view centres
  const auto centreOffsets = [&] {
    view_.offsetX = truncToInt(view_.viewCentreX * double{view_.scale} - halfW);
    view_.offsetY = truncToInt(view_.viewCentreY * double{view_.scale} - halfH);
  };
  do {
    ++view_.zoomLevel;
    view_.scale = static_cast<float>(view_.scale * kZoomInFactor);
    centreOffsets();
  } while (view_.scale < 1.0f && ex * double{view_.scale} - view_.offsetX < w &&
           ey * double{view_.scale} - view_.offsetY < h);
  --view_.zoomLevel;
  view_.scale = static_cast<float>(view_.scale * kZoomOutFactor);
  centreOffsets();
  redraw();
  centrePointer(*this);
}

}  // namespace plexaro
