#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QString>
#include <optional>
#include <string>
#include <string_view>

#include "plexaro/platform/main_window.h"

class QWidget;

namespace plexaro {

inline constexpr std::string_view kSetDefaultSizeCaption = "Set Default Size";
inline constexpr std::string_view kDefaultSizeLabel = "Default Size";
inline constexpr std::string_view kHelpCaption = "HELP";
inline constexpr std::string_view kAboutCaption = "About";
inline constexpr std::string_view kVersionText = "Version 3.0";
inline constexpr std::string_view kOkButton = "OK";
inline constexpr std::string_view kOpenDialogTitle = "Open";
inline constexpr std::string_view kMessageBoxTitle = "Plexaro";
inline constexpr int kAboutPictureWidth = 377;
inline constexpr int kAboutPictureHeight = 257;
inline constexpr int kAboutIconSize = 33;

// "Name[*.a]|*.a|Other|*.b;*.c" as Qt's file dialog takes it: "Name (*.a);;Other (*.b *.c)".
[[nodiscard]] QString qtFileFilter(std::string_view filter);

// TFormSetDefaultSize: a label, the edit box that holds the size as text, and OK.
class SetDefaultSizeDialog final : public QDialog {
 public:
  explicit SetDefaultSizeDialog(QWidget* parent);
  QLineEdit* edit() { return edit_; }

 private:
  QLineEdit* edit_;
};

// TFormHelp: the fixed table of commands with their keys and mouse actions.
class HelpDialog final : public QDialog {
 public:
  explicit HelpDialog(QWidget* parent);
};

// TAboutBox: the program's picture with its icon and version over it.
class AboutDialog final : public QDialog {
 public:
  explicit AboutDialog(QWidget* parent);
};

// The modal dialogs and message boxes of the main window, all created with it.
class QtDialogs final : public Dialogs {
 public:
  explicit QtDialogs(QWidget* parent);

  std::optional<std::string> chooseBoardFile(std::string_view filter) override;
  void editDefaultSize(std::string& text) override;
  void showHelp() override;
  void showAbout() override;
  void showMessageBox(std::string_view text) override;
  void showSearchDialog(SearchDialog& dialog) override;

  // The next file-open dialog is not shown: it answers with this path, as if the user chose
  // it (a board named on the command line).
  void answerNextFileDialog(std::string path) { nextFile_ = std::move(path); }

 private:
  QWidget* parent_;
  HelpDialog* help_;
  AboutDialog* about_;
  SetDefaultSizeDialog* setDefaultSize_;
  std::optional<std::string> nextFile_;
};

}  // namespace plexaro
