#include "plexaro/platform/qt/search_dialog_qt.h"

#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "plexaro/ui/search_dialog.h"

namespace plexaro {

namespace {

struct Geometry {
  int left, top, width, height;
};
struct Layout {
  QSize client;
  Geometry bevel;
  std::array<Geometry, 3> labels;
  std::array<Geometry, 3> edits;
  Geometry ok, cancel;
  QColor okColour, cancelColour;
};

const Layout kSignalLayout = {{273, 226},
                              {8, 16, 249, 153},
                              {{{32, 42, 52, 16}, {32, 80, 52, 16}, {32, 120, 52, 16}}},
                              {{{112, 40, 121, 21}, {112, 78, 121, 21}, {110, 118, 121, 21}}},
                              {32, 184, 75, 25},
                              {168, 184, 75, 25},
                              QColor(Qt::black),
                              QColor(Qt::black)};

const Layout kDeviceLayout = {{275, 226},
                              {8, 16, 257, 153},
                              {{{24, 42, 75, 16}, {24, 82, 75, 16}, {24, 122, 75, 16}}},
                              {{{128, 40, 121, 21}, {128, 80, 121, 21}, {128, 120, 121, 21}}},
                              {32, 184, 75, 25},
                              {160, 184, 75, 25},
                              QColor(0, 128, 128),
                              QColor(255, 0, 0)};

// The labels' colours are the mark colours of the inputs: white, red, aqua.
const std::array<QColor, 3> kLabelColours = {QColor(255, 255, 255), QColor(255, 0, 0),
                                             QColor(0, 255, 255)};

QRect toRect(Geometry g) {
  return QRect(g.left, g.top, g.width, g.height);
}

QFont boldItalic(int pixels) {
  QFont font;
  if (pixels > 0) font.setPixelSize(pixels);
  font.setBold(true);
  font.setItalic(true);
  return font;
}

constexpr int kEnterKey = 13;
constexpr int kEscapeKey = 27;

}  // namespace

QtSearchDialog::QtSearchDialog(SearchDialog& dialog, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint), dialog_(dialog) {
  const bool signal = dialog.kind == SearchDialog::Kind::Signal;
  const Layout& layout = signal ? kSignalLayout : kDeviceLayout;
  const auto& labels = signal ? kSignalLabels : kDeviceLabels;
  setFixedSize(layout.client);
  setAutoFillBackground(true);
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, Qt::black);
  setPalette(palette);

  auto* bevel = new QFrame(this);
  bevel->setFrameShape(QFrame::Box);
  bevel->setFrameShadow(QFrame::Sunken);
  bevel->setGeometry(toRect(layout.bevel));

  for (int i = 0; i < 3; ++i) {
    auto* label = new QLabel(QString::fromLatin1(labels[i].data(), int(labels[i].size())), this);
    label->setGeometry(toRect(layout.labels[i]));
    label->setFont(boldItalic(13));
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, kLabelColours[i]);
    label->setPalette(p);

    auto* edit = new QLineEdit(this);
    edit->setGeometry(toRect(layout.edits[i]));
    // The signal dialog tabs between its inputs; the device dialog has no tab stops at all.
    edit->setFocusPolicy(signal ? Qt::StrongFocus : Qt::ClickFocus);
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this,
            [this, i](const QString& text) { dialog_.inputs[i] = text.toStdString(); });
    edits_[i] = edit;
  }
  if (signal) {
    setTabOrder(edits_[0], edits_[1]);
    setTabOrder(edits_[1], edits_[2]);
  }

  const auto button = [&](std::string_view caption, Geometry g, QColor colour) {
    auto* b = new QPushButton(QString::fromLatin1(caption.data(), int(caption.size())), this);
    b->setGeometry(toRect(g));
    b->setFont(boldItalic(0));
    b->setFocusPolicy(Qt::ClickFocus);
    b->setAutoDefault(false);
    b->setDefault(false);
    QPalette p = b->palette();
    p.setColor(QPalette::ButtonText, colour);
    b->setPalette(p);
    return b;
  };
  connect(button(kOkCaption, layout.ok, layout.okColour), &QPushButton::clicked, this, [this] {
    dialog_.Button1Click();
    afterHandler();
  });
  connect(button(kCancelCaption, layout.cancel, layout.cancelColour), &QPushButton::clicked, this,
          [this] {
            dialog_.Button2Click();
            afterHandler();
          });
}

void QtSearchDialog::run() {
  setWindowTitle(QString::fromStdString(dialog_.caption));
  for (int i = 0; i < 3; ++i) edits_[i]->setText(QString::fromStdString(dialog_.inputs[i]));
  dialog_.FormShow();
  edits_[dialog_.focus]->setFocus();
  exec();
}

void QtSearchDialog::afterHandler() {
  if (dialog_.closeRequested) {
    done(dialog_.confirmed ? Accepted : Rejected);
    return;
  }
  edits_[dialog_.focus]->setFocus();
}

bool QtSearchDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  const int key = static_cast<QKeyEvent*>(event)->key();
  int code = 0;
  if (key == Qt::Key_Return || key == Qt::Key_Enter) code = kEnterKey;
  if (key == Qt::Key_Escape) code = kEscapeKey;
  if (code == 0) return QDialog::eventFilter(watched, event);
  if (watched == edits_[0]) dialog_.Edit1KeyDown(code);
  if (watched == edits_[1]) dialog_.Edit2KeyDown(code);
  if (watched == edits_[2]) dialog_.Edit3KeyDown(code);
  afterHandler();
  return true;
}

}  // namespace plexaro
