#include "plexaro/platform/script/script_host.h"

#include <ostream>

#include "plexaro/ui/search_dialog.h"

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

namespace plexaro {

// The queued texts fill the inputs in order; OK clicks the button, Enter goes through the
// three inputs with the Enter key and confirms in the third, Cancel clicks Cancel.
void ScriptHost::showSearchDialog(SearchDialog& dialog) {
  dialog.FormShow();
  DialogAnswer answer = takeAnswer();
  for (std::size_t i = 0; i < answer.texts.size() && i < dialog.inputs.size(); ++i) {
    dialog.inputs[i] = answer.texts[i];
  }
  switch (answer.close) {
    case DialogClose::Ok:
      dialog.Button1Click();
      break;
    case DialogClose::Enter:
      dialog.Edit1KeyDown(13);
      dialog.Edit2KeyDown(13);
      dialog.Edit3KeyDown(13);
      break;
    case DialogClose::Cancel:
      dialog.Button2Click();
      break;
  }
}

}  // namespace plexaro
