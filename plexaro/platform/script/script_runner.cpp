#include "plexaro/platform/script/script_runner.h"

#include <charconv>
#include <cstdio>
#include <exception>
#include <istream>
#include <map>
#include <optional>
#include <ostream>
#include <string_view>

#include "plexaro/platform/script/script_host.h"
#include "plexaro/ui/main_form.h"

namespace plexaro {

bool splitScriptLine(const std::string& line, std::vector<std::string>& words) {
  words.clear();
  std::size_t i = 0;
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (true) {
    while (i < line.size() && blank(line[i])) ++i;
    if (i == line.size()) return true;
    std::string word;
    if (line[i] == '"') {
      ++i;
      while (true) {
        if (i == line.size()) return false;
        const char c = line[i++];
        if (c == '"') break;
        if (c == '\\' && i < line.size() && (line[i] == '"' || line[i] == '\\')) {
          word += line[i++];
        } else {
          word += c;
        }
      }
    } else {
      while (i < line.size() && !blank(line[i])) word += line[i++];
    }
    words.push_back(std::move(word));
  }
}

namespace {

struct MenuName {
  const char* name;
  MenuItem item;
};
// The menu items a script can click, in the order `print menus` lists them.
constexpr MenuName kMenuNames[] = {
    {"Open1", MenuItem::Open1},
    {"Close1", MenuItem::Close1},
    {"Exit1", MenuItem::Exit1},
    {"Pan2", MenuItem::Pan2},
    {"Redraw1", MenuItem::Redraw1},
    {"ShowAllPartsName1", MenuItem::ShowAllPartsName1},
    {"ShowAllNailNumber1", MenuItem::ShowAllNailNumber1},
    {"SetDefaultSize1", MenuItem::SetDefaultSize1},
    {"Open2", MenuItem::Open2},
    {"Short1", MenuItem::Short1},
    {"Comp1", MenuItem::Comp1},
    {"Net1", MenuItem::Net1},
    {"Part1", MenuItem::Part1},
    {"Content1", MenuItem::Content1},
    {"About1", MenuItem::About1},
};

const std::map<std::string_view, int> kKeyNames = {
    {"Enter", vk::kReturn},      {"Esc", vk::kEscape},        {"Space", vk::kSpace},
    {"Home", vk::kHome},         {"Left", vk::kLeft},         {"Up", vk::kUp},
    {"Right", vk::kRight},       {"Down", vk::kDown},         {"Delete", vk::kDelete},
    {"Add", vk::kAdd},           {"Subtract", vk::kSubtract}, {"OemPlus", vk::kOemPlus},
    {"OemMinus", vk::kOemMinus},
};

std::optional<int> parseNumber(std::string_view text) {
  int value = 0;
  const char* end = text.data() + text.size();
  auto [ptr, ec] = std::from_chars(text.data(), end, value);
  if (ec != std::errc{} || ptr != end) return std::nullopt;
  return value;
}

std::optional<int> parseKey(std::string_view text) {
  if (auto it = kKeyNames.find(text); it != kKeyNames.end()) return it->second;
  if (text.size() == 1 && text[0] >= 'A' && text[0] <= 'Z') return text[0];
  return parseNumber(text);
}

constexpr int kDragSteps = 8;

// One session: the host, the form on it, and the pointer's button state as the window's event
// order gives it (a double click arrives as a click on its first release, then the double
// click; a press in automatic drag mode is a drag, never a press or a click).
class Session {
 public:
  Session(std::ostream& out, std::ostream& err)
      : out_(out), err_(err), host_(out), form_(platform()) {
    form_.FormCreate();
  }

  // Runs one command line; returns false with `why` set when the line is not a valid command.
  bool run(const std::vector<std::string>& w, std::string& why);
  [[nodiscard]] bool finished() const { return host_.closed(); }
  // Delivers the movement event of a pointer the program moved, once the command is done, as
  // the window system queues it behind the running handler.
  void deliverPointerMove() {
    if (!host_.takePointerMoved()) return;
    const Pixel p = *host_.pointer();
    if (p.x >= 0 && p.y >= 0 && p.x < host_.width() && p.y < host_.height()) move(p.x, p.y);
  }

 private:
  FormPlatform platform() { return {host_, host_, host_, host_, host_}; }

  void move(int x, int y) {
    if (dragging_) {
      form_.PaintBox1DragOver(x, y);
    } else {
      form_.PaintBox1MouseMove(x, y);
    }
  }
  void leftPress(int x, int y, bool secondOfDouble) {
    if (host_.dragMode()) {
      dragging_ = true;
      form_.PaintBox1StartDrag();
      return;
    }
    if (secondOfDouble) form_.PaintBox1DblClick();
    form_.PaintBox1MouseDown(MouseButton::Left, x, y);
    clickPending_ = !secondOfDouble;
  }
  void leftRelease(int x, int y) {
    if (dragging_) {
      dragging_ = false;
      form_.PaintBox1EndDrag(x, y);
      return;
    }
    if (clickPending_) {
      clickPending_ = false;
      form_.PaintBox1Click();
    }
  }

  void printMarks();
  // Extra topic: a search dialog's caption and the texts left in its inputs.
  void printDialog(const std::string& which);
  void printView();
  void printState();
  bool print(const std::string& topic, std::string& why);

  std::ostream& out_;
  std::ostream& err_;
  ScriptHost host_;
  TForm1 form_;
  bool dragging_ = false;
  bool clickPending_ = false;
};

bool Session::run(const std::vector<std::string>& w, std::string& why) {
  const std::string& command = w[0];
  const std::size_t args = w.size() - 1;
  const auto numbers = [&](std::size_t from, std::size_t count, int* out) {
    if (args != from - 1 + count) {
      why = "'" + command + "' takes " + std::to_string(from - 1 + count) + " arguments";
      return false;
    }
    for (std::size_t i = 0; i < count; ++i) {
      std::optional<int> v = parseNumber(w[from + i]);
      if (!v) {
        why = "'" + w[from + i] + "' is not a number";
        return false;
      }
      out[i] = *v;
    }
    return true;
  };
  int n[4];

  if (command == "size") {
    if (!numbers(1, 2, n)) return false;
    if (n[0] <= 0 || n[1] <= 0) {
      why = "a size must be positive";
      return false;
    }
    host_.resize(n[0], n[1]);
    form_.PaintBox1Paint();
  } else if (command == "open") {
    if (args != 1) {
      why = "'open' takes a path";
      return false;
    }
    host_.queueAnswer({DialogClose::Ok, {w[1]}});
    form_.clickMenu(MenuItem::Open1);
  } else if (command == "menu") {
    if (args != 1) {
      why = "'menu' takes a menu item name";
      return false;
    }
    for (const MenuName& m : kMenuNames) {
      if (w[1] == m.name) {
        form_.clickMenu(m.item);
        return true;
      }
    }
    why = "no menu item '" + w[1] + "'";
    return false;
  } else if (command == "key") {
    std::optional<int> key = args == 1 ? parseKey(w[1]) : std::nullopt;
    if (!key) {
      why = "'key' takes a key name or a virtual-key code";
      return false;
    }
    form_.onKeyDown(*key);
  } else if (command == "move") {
    if (!numbers(1, 2, n)) return false;
    move(n[0], n[1]);
  } else if (command == "press") {
    if (args != 3 || (w[1] != "left" && w[1] != "right" && w[1] != "middle")) {
      why = "'press' takes left, right or middle and a point";
      return false;
    }
    if (!numbers(2, 2, n)) return false;
    move(n[0], n[1]);
    if (w[1] == "left") {
      leftPress(n[0], n[1], false);
    } else {
      form_.PaintBox1MouseDown(w[1] == "right" ? MouseButton::Right : MouseButton::Middle, n[0],
                               n[1]);
    }
  } else if (command == "click") {
    if (!numbers(1, 2, n)) return false;
    move(n[0], n[1]);
    leftPress(n[0], n[1], false);
    leftRelease(n[0], n[1]);
  } else if (command == "dblclick") {
    if (!numbers(1, 2, n)) return false;
    move(n[0], n[1]);
    leftPress(n[0], n[1], false);
    leftRelease(n[0], n[1]);
    leftPress(n[0], n[1], true);
    leftRelease(n[0], n[1]);
  } else if (command == "drag") {
    if (!numbers(1, 4, n)) return false;
    move(n[0], n[1]);
    leftPress(n[0], n[1], false);
    for (int step = 1; step <= kDragSteps; ++step) {
      move(n[0] + (n[2] - n[0]) * step / kDragSteps, n[1] + (n[3] - n[1]) * step / kDragSteps);
    }
    leftRelease(n[2], n[3]);
  } else if (command == "dialog") {
    if (args < 1 || (w[1] != "ok" && w[1] != "enter" && w[1] != "cancel")) {
      why = "'dialog' takes ok, enter or cancel";
      return false;
    }
    DialogAnswer answer;
    answer.close = w[1] == "ok"      ? DialogClose::Ok
                   : w[1] == "enter" ? DialogClose::Enter
                                     : DialogClose::Cancel;
    answer.texts.assign(w.begin() + 2, w.end());
    host_.queueAnswer(std::move(answer));
  } else if (command == "print") {
    if (args == 2 && w[1] == "dialog" && (w[2] == "signal" || w[2] == "device")) {
      printDialog(w[2]);
      return true;
    }
    if (args != 1) {
      why = "'print' takes a topic";
      return false;
    }
    return print(w[1], why);
  } else if (command == "save") {
    if (args != 1) {
      why = "'save' takes a path";
      return false;
    }
    if (!host_.image()
             .convertToFormat(QImage::Format_RGB888)
             .save(QString::fromStdString(w[1]), "PNG")) {
      err_ << "cannot write " << w[1] << '\n';
    }
  } else {
    why = "unknown command '" + command + "'";
    return false;
  }
  return true;
}

void Session::printMarks() {
  const BoardTables& t = form_.tables();
  for (int32_t p = 0; p < t.pinCount; ++p) {
    if (t.pins[p].marked) out_ << "pin " << p << " slot=" << t.pins[p].markSlot << '\n';
  }
  for (int32_t q = 0; q < t.partCount; ++q) {
    if (t.parts[q].marked) out_ << "part " << q << ' ' << t.parts[q].name.view() << '\n';
  }
  for (int32_t i = 0; i < t.nailCount; ++i) {
    const NailEntry& nail = t.nails[i];
    if (nail.marked)
      out_ << "nail " << i << " number=" << nail.number << " slot=" << nail.markSlot << '\n';
  }
}

void Session::printDialog(const std::string& which) {
  const SearchDialog& dialog =
      which == "signal" ? static_cast<const SearchDialog&>(form_.signalForm()) : form_.deviceForm();
  out_ << "dialog " << which << ": " << dialog.caption << '\n';
  for (int i = 0; i < SearchDialog::kInputs; ++i) {
    out_ << "input" << i + 1 << ": " << dialog.inputs[i] << '\n';
  }
}

void Session::printView() {
  const ViewTransform& v = form_.view();
  char scale[32];
  std::snprintf(scale, sizeof scale, "%.9g", static_cast<double>(v.scale));
  out_ << "view: scale=" << scale << " offsetX=" << v.offsetX << " offsetY=" << v.offsetY
       << " rotationStep=" << int{v.rotationStep} << " extentX=" << v.extentX
       << " extentY=" << v.extentY << " currentSide=" << v.currentSide
       << " defaultSize=" << v.defaultSize << " zoomLevel=" << v.zoomLevel
       << " viewCentreX=" << v.viewCentreX << " viewCentreY=" << v.viewCentreY << '\n';
}

void Session::printState() {
  const ViewerState& s = form_.state();
  out_ << "state: loaded=" << int{form_.tables().loaded} << " searchMode=" << int{s.searchMode}
       << " currentMarkSlot=" << s.currentMarkSlot
       << " showAllPartNames=" << int{s.showAllPartNames}
       << " showAllNailNumbers=" << int{s.showAllNailNumbers}
       << " selectViewCenter=" << int{s.selectViewCenter} << " dragZoom=" << int{s.dragZoom}
       << " listNet=" << s.listNet << '\n';
}

bool Session::print(const std::string& topic, std::string& why) {
  if (topic == "messages") {
    for (const std::string& line : host_.messages()) out_ << "message: " << line << '\n';
  } else if (topic == "status") {
    for (int i = 0; i < 4; ++i) out_ << "status" << i << ": " << host_.panel(i) << '\n';
  } else if (topic == "caption") {
    out_ << "caption: " << host_.caption() << '\n';
  } else if (topic == "menus") {
    for (const MenuName& m : kMenuNames) {
      out_ << "menu " << m.name << (form_.menuEnabled(m.item) ? " enabled" : " disabled")
           << (form_.menuChecked(m.item) ? " checked" : "") << '\n';
    }
  } else if (topic == "view") {
    printView();
  } else if (topic == "state") {
    printState();
  } else if (topic == "marks") {
    printMarks();
  } else if (topic == "pointer") {
    if (const std::optional<Pixel> p = host_.pointer()) {
      out_ << "pointer: " << p->x << ' ' << p->y << '\n';
    } else {
      out_ << "pointer: none\n";
    }
  } else if (topic == "defaultsize") {
    out_ << "defaultsize: " << form_.defaultSizeText() << '\n';
  } else {
    why = "unknown print topic '" + topic + "'";
    return false;
  }
  return true;
}

}  // namespace

int runScript(std::istream& script, std::ostream& out, std::ostream& err) {
  Session session{out, err};
  std::string line;
  std::vector<std::string> words;
  for (int number = 1; std::getline(script, line); ++number) {
    const std::size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos || line[first] == '#') continue;
    std::string why;
    if (!splitScriptLine(line, words)) {
      why = "unterminated quote";
    } else {
      try {
        if (session.run(words, why)) why.clear();
        session.deliverPointerMove();
      } catch (const std::exception& e) {
        // An error that escapes a command is shown in a message box; the session goes on.
        out << "messagebox: " << e.what() << '\n';
      }
    }
    if (!why.empty()) {
      out.flush();
      err << "line " << number << ": " << why << '\n';
      return 2;
    }
    if (session.finished()) break;
  }
  out.flush();
  return 0;
}

}  // namespace plexaro
