#include "dravon/platform/script/script_host.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iostream>

#include "dravon/card/card_document.h"
#include "dravon/card/card_settings.h"
#include "dravon/platform/script/ini_settings.h"
#include "dravon/platform/script/png_file.h"
#include "dravon/platform/script/script_line.h"
#include "dravon/render/side_images.h"
#include "dravon/render/view_picture.h"

namespace dravon {
namespace {

std::string quoted(std::string_view text) {
  std::string q = "\"";
  return q.append(text).append("\"");
}

// A message box shows its lines one under the other; the transcript keeps one line per box,
// with each line break written as the two characters \n.
std::string oneLine(std::string_view text) {
  std::string line;
  for (char c : text) {
    if (c == '\n') {
      line += "\\n";
    } else {
      line += c;
    }
  }
  return line;
}

}  // namespace

ScriptSession::ScriptSession(std::FILE* out, std::FILE* err, SettingsStore& settings)
    : out_(out), err_(err), settings_(settings), view_(doc_, *this, [this] { refresh(); }) {
  panes_ = {std::string(kIdlePrompt), std::string(kMousePointPane), std::string(kCapsPane), "", ""};
  doc_.statusBar = this;
  doc_.messageBoxes = this;
  doc_.resolution = loadResolution(settings_);
}

// The document stores its resolution when the program ends.
ScriptSession::~ScriptSession() {
  storeResolution(settings_, doc_.resolution);
}

void ScriptSession::setPaneText(int pane, std::string_view text) {
  if (pane >= 0 && pane < static_cast<int>(panes_.size())) panes_[pane] = std::string(text);
}

void ScriptSession::showMessage(std::string_view text, MessageIcon) {
  printLine("messagebox: " + oneLine(text));
}

void ScriptSession::buildSideImages(CDravonDoc& doc) {
  dravon::buildSideImages(doc, viewVisible());
}

// The view's update for the new card: fit to the client area, front side, then the composite.
void ScriptSession::cardOpened(CDravonDoc&) {
  if (!viewVisible()) return;
  view_.showNewCard(clientWidth_, clientHeight_);
  refresh();
}

void ScriptSession::refresh() {
  refreshComposite(doc_, ShownView{view_.showFront, view_.zoomPercent, view_.viewScale}, this);
}

void ScriptSession::setDisplaySize(int width, int height) {
  displayWidth_ = std::max(width, 0);
  displayHeight_ = std::max(height, 0);
  scrollTo(scrollX_, scrollY_);
}

void ScriptSession::scrollTo(int x, int y) {
  const auto clamp = [](int v, int extent, int client) {
    return std::clamp(v, 0, std::max(extent - client, 0));
  };
  scrollX_ = clamp(x, displayWidth_, clientWidth_);
  scrollY_ = clamp(y, displayHeight_, clientHeight_);
}

bool ScriptSession::save(const std::vector<std::string>& words, std::string& error) {
  if (words.size() != 3) {
    error = "save needs an image and a path";
    return false;
  }
  const std::string& image = words[1];
  const std::string& path = words[2];
  Surface picture;
  const Surface* source = nullptr;
  if (image == kSaveFront) {
    source = &doc_.frontImage;
  } else if (image == kSaveBack) {
    source = &doc_.backImage;
  } else if (image == kSaveComposite) {
    source = &doc_.compositeImage;
  } else if (image == kSaveView) {
    if (viewVisible() && picture.reset(clientWidth_, clientHeight_)) {
      viewPicture_.draw(picture, doc_.compositeImage, doc_.compositeContent.version, view_,
                        scrollX_, scrollY_);
    }
    source = &picture;
  } else {
    error = "save " + image + " is not available in this build";
    return false;
  }
  // A missing image or a failed write is the program's failure, not the script's: it is told
  // on standard error and the session goes on.
  if (source->isEmpty()) {
    std::fprintf(err_, "save %s: there is no %s image\n", image.c_str(), image.c_str());
  } else if (!writePng(path, *source)) {
    std::fprintf(err_, "save %s: cannot write %s\n", image.c_str(), path.c_str());
  }
  return true;
}

void ScriptSession::printLine(std::string_view text) {
  std::fwrite(text.data(), 1, text.size(), out_);
  std::fputc('\n', out_);
}

int ScriptSession::run(std::istream& script) {
  std::string line;
  std::vector<std::string> words;
  std::string error;
  for (int number = 1; std::getline(script, line); ++number) {
    if (isSkippedScriptLine(line)) continue;
    if (!splitScriptLine(line, words, error) || !runCommand(words, error)) {
      std::fflush(out_);
      std::fprintf(err_, "line %d: %s\n", number, error.c_str());
      return kScriptExitBadLine;
    }
  }
  std::fflush(out_);
  return kScriptExitOk;
}

bool ScriptSession::runCommand(const std::vector<std::string>& words, std::string& error) {
  const std::string& name = words.at(0);
  const std::size_t args = words.size() - 1;
  if (name == "size") {
    int w = 0;
    int h = 0;
    if (args != 2 || !parseScriptInt(words[1], w) || !parseScriptInt(words[2], h) || w < 0 ||
        h < 0) {
      error = "size needs a width and a height";
      return false;
    }
    clientWidth_ = w;
    clientHeight_ = h;
    view_.resize(w, h);
    scrollTo(scrollX_, scrollY_);
    return true;
  }
  if (name == "scroll") {
    int x = 0;
    int y = 0;
    if (args != 2 || !parseScriptInt(words[1], x) || !parseScriptInt(words[2], y)) {
      error = "scroll needs a position";
      return false;
    }
    scrollTo(x, y);
    return true;
  }
  if (name == "open") {
    if (args != 1) {
      error = "open needs one path";
      return false;
    }
    (void)openCard(doc_, words[1], *this, cardFolders());
    return true;
  }
  if (name == "command") {
    int id = 0;
    if (args != 1 || !parseScriptInt(words[1], id)) {
      error = "command needs a command id";
      return false;
    }
    if (id == kNewCommand) {
      newDocument(doc_);
      return true;
    }
    for (const ResolutionCommand& c : kResolutionCommands) {
      if (c.id == id) {
        doc_.resolution = c.resolution;
        return true;
      }
    }
    error = "command " + words[1] + " is not available in this build";
    return false;
  }
  if (name == "key") {
    if (args == 1 && words[1] == kNewKey) {
      newDocument(doc_);
      return true;
    }
    if (args == 1 && words[1] == kSaveKey) return true;
    error = "key " + (args == 1 ? words[1] : std::string()) + " is not available in this build";
    return false;
  }
  if (name == "print") return print(words, error);
  if (name == "save") return save(words, error);
  error = "unknown or unavailable command: " + name;
  return false;
}

bool ScriptSession::print(const std::vector<std::string>& words, std::string& error) {
  const std::string topic = words.size() == 2 ? words[1] : std::string();
  if (topic == "title") {
    printLine("title: " + doc_.title);
  } else if (topic == "status") {
    for (std::size_t i = 0; i < panes_.size(); ++i) {
      printLine("status" + std::to_string(i) + ": " + panes_[i]);
    }
  } else if (topic == "model") {
    const CardRect& r = doc_.imageRect;
    printLine("model: cardName=" + quoted(doc_.cardName) + " devices=" +
              std::to_string(doc_.devices.size()) + " pads=" + std::to_string(doc_.pads.size()) +
              " testPoints=" + std::to_string(doc_.testPoints.size()) + " vias=" +
              std::to_string(doc_.vias.size()) + " lines=" + std::to_string(doc_.lines.size()) +
              " outlineLines=" + std::to_string(doc_.outlineLines.size()) + " shapes=" +
              std::to_string(doc_.shapes.size()) + " nets=" + std::to_string(doc_.netNames.size()) +
              " listEntries=" + std::to_string(doc_.listEntries.size()) + " pdfLinks=" +
              std::to_string(doc_.pdfLinks.size()) + " imageRect=" + std::to_string(r.left) + "," +
              std::to_string(r.top) + "," + std::to_string(r.right) + "," +
              std::to_string(r.bottom) + " origin=" + std::to_string(doc_.originX) + "," +
              std::to_string(doc_.originY) + " layerCount=" + std::to_string(doc_.layerCount) +
              " resolution=" + std::to_string(doc_.resolution));
  } else if (topic == "view") {
    char scale[32];
    std::snprintf(scale, sizeof scale, "%.9g", view_.viewScale);
    printLine("view: showFront=" + std::to_string(view_.showFront) +
              " zoomPercent=" + std::to_string(view_.zoomPercent) + " viewScale=" + scale +
              " fitWidth=" + std::to_string(view_.fitWidth) +
              " fitHeight=" + std::to_string(view_.fitHeight) +
              " clientWidth=" + std::to_string(view_.clientWidth) +
              " clientHeight=" + std::to_string(view_.clientHeight) +
              " scrollX=" + std::to_string(scrollX_) + " scrollY=" + std::to_string(scrollY_) +
              " displayWidth=" + std::to_string(displayWidth_) +
              " displayHeight=" + std::to_string(displayHeight_));
  } else {
    error = "unknown or unavailable print topic";
    return false;
  }
  return true;
}

int runScriptFile(const std::string& file) {
  IniSettings settings(IniSettings::defaultPath());
  ScriptSession session(stdout, stderr, settings);
  if (file == "-") return session.run(std::cin);
  std::ifstream script(file);
  if (!script) {
    std::fprintf(stderr, "dravon: cannot read script %s\n", file.c_str());
    return kScriptExitBadLine;
  }
  return session.run(script);
}

}  // namespace dravon
