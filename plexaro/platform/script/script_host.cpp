#include "plexaro/platform/script/script_host.h"

#include <ostream>

namespace plexaro {

ScriptHost::ScriptHost(std::ostream& out) : out_(out), canvas_(kInitialWidth, kInitialHeight) {}

void ScriptHost::setPanelText(int panel, std::string_view text) {
  if (panel >= 0 && panel < 4) panels_[panel] = text;
}

DialogAnswer ScriptHost::takeAnswer() {
  if (answers_.empty()) return {};
  DialogAnswer answer = std::move(answers_.front());
  answers_.pop_front();
  return answer;
}

std::optional<std::string> ScriptHost::chooseBoardFile(std::string_view) {
  DialogAnswer answer = takeAnswer();
  if (answer.close == DialogClose::Cancel || answer.texts.empty()) return std::nullopt;
  return answer.texts.front();
}

void ScriptHost::editDefaultSize(std::string& text) {
  DialogAnswer answer = takeAnswer();
  if (answer.close != DialogClose::Cancel && !answer.texts.empty()) text = answer.texts.front();
}

void ScriptHost::showMessageBox(std::string_view text) {
  out_ << "messagebox: " << text << '\n';
  out_.flush();
}

}  // namespace plexaro
