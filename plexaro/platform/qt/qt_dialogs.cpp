#include "plexaro/platform/qt/qt_dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

#include "plexaro/platform/qt/qt_text.h"
#include "plexaro/platform/qt/search_dialog_qt.h"

namespace plexaro {

namespace {

QString qs(std::string_view text) {
  return toQString(text);
}

// An OK button that closes the dialog, centred below its content.
void addOkButton(QDialog* dialog, QVBoxLayout* layout) {
  auto* ok = new QPushButton(qs(kOkButton), dialog);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(ok);
  row->addStretch();
  layout->addLayout(row);
}

struct HelpRow {
  std::string_view action;
  std::string_view key;
  std::string_view mouse;
};

constexpr std::string_view kHelpHeadings[] = {"ACTION", "KEYBOARD", "MOUSE"};
constexpr HelpRow kHelpRows[] = {
    {"Zoom In", "+", "Double - Left"},
    {"Zoom Out", "-", "Single - Right"},
    {"View All", "Home", ""},
    {"Ask Point", "", "Single - Left"},
    {"Change Side", "Space", ""},
    {"Show All Part Name", "U", ""},
    {"Show All Nail Number", "L", ""},
    {"Open", "O", ""},
    {"Short", "S", ""},
    {"Net", "N", ""},
    {"Component Pin", "C", ""},
    {"Device", "D", ""},
    {"Pan", "A", ""},
};

constexpr QRgb kOlive = 0x808000;
constexpr QRgb kRed = 0xff0000;
constexpr QRgb kFuchsia = 0xff00ff;

QLabel* helpLabel(QWidget* parent, std::string_view text, std::optional<QRgb> colour,
                  bool underline) {
  auto* label = new QLabel(qs(text), parent);
  QFont font = label->font();
  font.setBold(true);
  font.setUnderline(underline);
  label->setFont(font);
  if (colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, QColor::fromRgb(*colour));
    label->setPalette(palette);
  }
  return label;
}

}  // namespace

QString qtFileFilter(std::string_view filter) {
  QStringList entries;
  const QStringList parts = qs(filter).split(QLatin1Char('|'));
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    QString name = parts[i];
    // The Windows filter repeats its pattern in brackets; Qt's dialog adds it in parentheses.
    if (const qsizetype bracket = name.indexOf(QLatin1Char('[')); bracket >= 0) {
      name.truncate(bracket);
    }
    QString patterns = parts[i + 1];
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    entries.append(name.trimmed() + QStringLiteral(" (") + patterns.trimmed() + QLatin1Char(')'));
  }
  return entries.join(QStringLiteral(";;"));
}

SetDefaultSizeDialog::SetDefaultSizeDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(qs(kSetDefaultSizeCaption));
  auto* layout = new QVBoxLayout(this);
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(qs(kDefaultSizeLabel), this));
  edit_ = new QLineEdit(this);
  row->addWidget(edit_);
  layout->addLayout(row);
  addOkButton(this, layout);
}

HelpDialog::HelpDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(qs(kHelpCaption));
  auto* layout = new QVBoxLayout(this);
  auto* table = new QGridLayout;
  table->setHorizontalSpacing(24);
  for (int column = 0; column < 3; ++column) {
    table->addWidget(helpLabel(this, kHelpHeadings[column], kOlive, true), 0, column);
  }
  int row = 1;
  for (const HelpRow& r : kHelpRows) {
    table->addWidget(helpLabel(this, r.action, std::nullopt, false), row, 0);
    table->addWidget(helpLabel(this, r.key, kRed, false), row, 1);
    table->addWidget(helpLabel(this, r.mouse, kFuchsia, false), row, 2);
    ++row;
  }
  layout->addLayout(table);
  addOkButton(this, layout);
  setFixedSize(sizeHint());
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(qs(kAboutCaption));
  auto* layout = new QVBoxLayout(this);
  auto* picture = new QLabel(this);
  picture->setFixedSize(kAboutPictureWidth, kAboutPictureHeight);
  picture->setPixmap(QPixmap(QStringLiteral(":/plexaro/about.png")));
  auto* icon = new QLabel(picture);
  icon->setGeometry(16, 16, kAboutIconSize, kAboutIconSize);
  icon->setPixmap(QPixmap(QStringLiteral(":/plexaro/icon33.png")));
  auto* version = new QLabel(qs(kVersionText), picture);
  QFont font = version->font();
  font.setBold(true);
  version->setFont(font);
  QPalette palette = version->palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  version->setPalette(palette);
  version->adjustSize();
  version->move(16 + kAboutIconSize + 12, 16 + (kAboutIconSize - version->height()) / 2);
  layout->addWidget(picture);
  addOkButton(this, layout);
  setFixedSize(sizeHint());
}

QtDialogs::QtDialogs(QWidget* parent)
    : parent_(parent),
      help_(new HelpDialog(parent)),
      about_(new AboutDialog(parent)),
      setDefaultSize_(new SetDefaultSizeDialog(parent)) {}

std::optional<std::string> QtDialogs::chooseBoardFile(std::string_view filter) {
  if (std::optional<std::string> answer = std::exchange(nextFile_, std::nullopt)) return answer;
  // The name starts empty; the form has already made the folder to start in current.
  const QString path = QFileDialog::getOpenFileName(parent_, qs(kOpenDialogTitle),
                                                    QDir::currentPath(), qtFileFilter(filter));
  if (path.isEmpty()) return std::nullopt;
  return toLocalPath(path);
}

void QtDialogs::editDefaultSize(std::string& text) {
  setDefaultSize_->edit()->setText(qs(text));
  setDefaultSize_->edit()->selectAll();
  setDefaultSize_->edit()->setFocus();
  setDefaultSize_->exec();
  text = setDefaultSize_->edit()->text().toStdString();
}

void QtDialogs::showHelp() {
  help_->exec();
}
void QtDialogs::showAbout() {
  about_->exec();
}

void QtDialogs::showMessageBox(std::string_view text) {
  QMessageBox::critical(parent_, qs(kMessageBoxTitle), qs(text));
}

void QtDialogs::showSearchDialog(SearchDialog& dialog) {
  QtSearchDialog window{dialog, parent_};
  window.run();
}

}  // namespace plexaro
