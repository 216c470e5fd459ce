#pragma once

#include <array>
#include <string>
#include <string_view>

namespace plexaro {

inline constexpr std::string_view kSignalDialogCaption = "Search Signal";
inline constexpr std::string_view kDeviceDialogCaption = "Search Device";
inline constexpr std::array<std::string_view, 3> kSignalLabels = {"Pin (1)", "Pin (2)", "Pin (3)"};
inline constexpr std::array<std::string_view, 3> kDeviceLabels = {"Device(1)", "Device(2)",
                                                                  "Device(3)"};
inline constexpr std::string_view kOkCaption = "OK";
inline constexpr std::string_view kCancelCaption = "Cancel";

// The logic of a search dialog: three inputs, OK and Cancel. Enter moves from input to input
// and confirms in the third; Escape closes without confirming. The window shows it modally
// and routes its events here; it closes once `closeRequested` is set.
class SearchDialog {
 public:
  enum class Kind { Signal, Device };
  static constexpr int kInputs = 3;

  explicit SearchDialog(Kind kind)
      : kind(kind), caption(kind == Kind::Signal ? kSignalDialogCaption : kDeviceDialogCaption) {}
  virtual ~SearchDialog() = default;

  void FormCreate() { confirmed = false; }
  // Shown: the focus goes to the first input and the dialog stays open until closed.
  void FormShow() {
    focus = 0;
    closeRequested = false;
  }
  void Edit1KeyDown(int key) { editKeyDown(0, key); }
  void Edit2KeyDown(int key) { editKeyDown(1, key); }
  void Edit3KeyDown(int key) { editKeyDown(2, key); }
  void Button1Click() {
    confirmed = true;
    closeRequested = true;
  }
  void Button2Click() { closeRequested = true; }

  // Empties the three inputs.
  void clearInputs() { inputs = {}; }

  const Kind kind;
  std::string caption;
  std::array<std::string, kInputs> inputs;
  int focus = 0;  // the input that has the keyboard focus
  bool confirmed = false;
  bool closeRequested = false;

 private:
  static constexpr int kEnter = 13;
  static constexpr int kEscape = 27;

  void editKeyDown(int input, int key) {
    if (key == kEscape) {
      closeRequested = true;
    } else if (key == kEnter) {
      if (input + 1 < kInputs) {
        focus = input + 1;
      } else {
        confirmed = true;
        closeRequested = true;
      }
    }
  }
};

// The Open, Short, component pin and net searches' dialog; each search sets its caption.
class TFormSignal final : public SearchDialog {
 public:
  TFormSignal() : SearchDialog(Kind::Signal) {}
};

// The device search's dialog.
class TFormDevice final : public SearchDialog {
 public:
  TFormDevice() : SearchDialog(Kind::Device) {}
};

}  // namespace plexaro
