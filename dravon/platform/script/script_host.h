#pragma once

#include <array>
#include <cstdio>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "dravon/card/card_doc.h"
#include "dravon/card/card_host.h"
#include "dravon/platform/feedback.h"
#include "dravon/platform/message_box.h"
#include "dravon/platform/scroll_container.h"
#include "dravon/platform/settings_store.h"
#include "dravon/platform/status_bar.h"
#include "dravon/render/view_geometry.h"
#include "dravon/render/view_picture.h"

namespace dravon {

// Texts the status bar shows before anything writes into it.
inline constexpr std::string_view kIdlePrompt = "f5:zoom In  f6:zoom Out F9:Multi line mark up";
inline constexpr std::string_view kMousePointPane = "Mouse Point";
inline constexpr std::string_view kCapsPane = "CAP";

inline constexpr int kScriptExitOk = 0;
inline constexpr int kScriptExitBadLine = 2;
inline constexpr int kDefaultClientWidth = 800;
inline constexpr int kDefaultClientHeight = 600;

// Config > Resolution: command ids and the resolution each sets.
struct ResolutionCommand {
  int id;
  int32_t resolution;
};
inline constexpr std::array<ResolutionCommand, 5> kResolutionCommands = {
    {{32789, 1}, {32790, 3}, {32791, 6}, {32792, 9}, {32793, 12}}};

// The framework's New (57600, Ctrl+N) and Save (Ctrl+S, which this program leaves unbound so
// that the parts list can never be written).
inline constexpr int kNewCommand = 57600;
inline constexpr std::string_view kNewKey = "Ctrl+N";
inline constexpr std::string_view kSaveKey = "Ctrl+S";

// The images `save` writes.
inline constexpr std::string_view kSaveFront = "front";
inline constexpr std::string_view kSaveBack = "back";
inline constexpr std::string_view kSaveComposite = "composite";
inline constexpr std::string_view kSaveView = "view";

// A scripted session without a display: the document with a status bar and message boxes that
// write what they show, and a view of the client area's size, driven line by line.
class ScriptSession final : public StatusBar,
                            public MessageBoxes,
                            public CardHost,
                            public Feedback,
                            public ScrollContainer {
 public:
  ScriptSession(std::FILE* out, std::FILE* err, SettingsStore& settings);
  ~ScriptSession() override;

  // Runs every line of `script`; the exit status of the program.
  int run(std::istream& script);

  void setPaneText(int pane, std::string_view text) override;
  void showMessage(std::string_view text, MessageIcon icon) override;

  void buildSideImages(CDravonDoc& doc) override;
  void cardOpened(CDravonDoc& doc) override;
  void setWaitCursor(bool) override {}
  void beep() override {}

  int scrollX() const override { return scrollX_; }
  int scrollY() const override { return scrollY_; }
  void setDisplaySize(int width, int height) override;
  void scrollTo(int x, int y) override;
  void repaint() override {}

 private:
  // False with the reason for a line that is not a valid command.
  bool runCommand(const std::vector<std::string>& words, std::string& error);
  bool print(const std::vector<std::string>& words, std::string& error);
  void printLine(std::string_view text);
  bool save(const std::vector<std::string>& words, std::string& error);
  void refresh();
  [[nodiscard]] bool viewVisible() const { return clientWidth_ > 0 && clientHeight_ > 0; }

  std::FILE* out_;
  std::FILE* err_;
  SettingsStore& settings_;
  CDravonDoc doc_;
  std::array<std::string, 5> panes_;
  int clientWidth_ = kDefaultClientWidth;
  int clientHeight_ = kDefaultClientHeight;
  ViewGeometry view_;
  ViewPicture viewPicture_;
  int scrollX_ = 0;
  int scrollY_ = 0;
  int displayWidth_ = 0;
  int displayHeight_ = 0;
};

// `dravon --script FILE`: FILE "-" reads standard input. Settings come from the user's
// configuration folder.
int runScriptFile(const std::string& file);

}  // namespace dravon
