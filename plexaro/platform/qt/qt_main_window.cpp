#include "plexaro/platform/qt/qt_main_window.h"

#include <QAction>
#include <QEvent>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <QWindow>
#include <exception>

#include "plexaro/platform/qt/qt_keys.h"
#include "plexaro/platform/qt/qt_message_area.h"
#include "plexaro/platform/qt/qt_status_bar.h"
#include "plexaro/platform/qt/qt_text.h"
#include "plexaro/ui/main_form.h"

// The pictures are compiled into a static library, so the program has to ask for them.
static void initPictures() {
  Q_INIT_RESOURCE(plexaro);
}

namespace plexaro {

namespace {

constexpr std::string_view kUnknownError = "Unknown error";

int index(MenuItem item) {
  return static_cast<int>(item);
}

// The menu bar: each menu with its items, or a command of its own on the bar.
struct MenuEntry {
  MenuItem item;
  std::string_view caption;
};

constexpr MenuEntry kFileMenu[] = {
    {MenuItem::Open1, "Open"}, {MenuItem::Close1, "Close"}, {MenuItem::Exit1, "Exit"}};
constexpr MenuEntry kViewMenu[] = {{MenuItem::Pan2, "Pan"},
                                   {MenuItem::Redraw1, "Clear all Selected"},
                                   {MenuItem::ShowAllPartsName1, "All Parts Name"},
                                   {MenuItem::ShowAllNailNumber1, "All Nail Number"},
                                   {MenuItem::SetDefaultSize1, "Set Default Size"}};
constexpr MenuEntry kBarCommands[] = {{MenuItem::Open2, "Open"},
                                      {MenuItem::Short1, "Short"},
                                      {MenuItem::Comp1, "Comp"},
                                      {MenuItem::Net1, "Net"},
                                      {MenuItem::Part1, "Device"}};
constexpr MenuEntry kHelpMenu[] = {{MenuItem::Content1, "Content"}, {MenuItem::About1, "About"}};
constexpr std::string_view kFileCaption = "File";
constexpr std::string_view kViewCaption = "View";
constexpr std::string_view kHelpMenuCaption = "Help";

bool checkable(MenuItem item) {
  return item == MenuItem::ShowAllPartsName1 || item == MenuItem::ShowAllNailNumber1;
}

}  // namespace

QtMainWindow::QtMainWindow()
    : messages_(nullptr), board_(nullptr), status_(nullptr), dialogs_((initPictures(), this)) {
  setWindowIcon(QIcon(QStringLiteral(":/plexaro/icon128.png")));
  auto* central = new QWidget(this);
  central->setAutoFillBackground(true);
  QPalette black = central->palette();
  black.setColor(QPalette::Window, Qt::black);
  central->setPalette(black);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  auto* top = new QWidget(central);
  top->setFixedHeight(kTopPanelHeight);
  top->setAutoFillBackground(true);
  QPalette face = top->palette();
  face.setColor(QPalette::Window, face.color(QPalette::Button));
  top->setPalette(face);
  messages_ = new QtMessageArea([this](QKeyEvent* event) { deliverKey(event); }, top);
  layout->addWidget(top);

  board_ = new QtBoardArea([this](const FormCall& call) { run(call); }, central);
  layout->addWidget(board_, 1);
  setCentralWidget(central);

  status_ = new QtStatusBar(this);
  setStatusBar(status_);
  createMenus();

  form_ = std::make_unique<TForm1>(
      FormPlatform{port_, *messages_, *status_, board_->surface(), dialogs_});
  run([](TForm1& form) { form.FormCreate(); });
  resize(kNormalWidth, kNormalHeight);
}

QtMainWindow::~QtMainWindow() = default;

void QtMainWindow::createMenus() {
  const auto addItem = [this](auto* owner, const MenuEntry& entry) {
    QAction* action = owner->addAction(toQString(entry.caption));
    const MenuItem item = entry.item;
    if (checkable(item)) action->setCheckable(true);
    connect(action, &QAction::triggered, this, [this, action, item] {
      // Qt flips a check mark by itself; only the form decides it.
      if (action->isCheckable()) action->setChecked(form_->menuChecked(item));
      run([item](TForm1& form) { form.clickMenu(item); });
    });
    actions_[index(item)] = action;
  };

  QMenu* file = menuBar()->addMenu(toQString(kFileCaption));
  addItem(file, kFileMenu[0]);
  addItem(file, kFileMenu[1]);
  file->addSeparator();
  addItem(file, kFileMenu[2]);

  viewMenu_ = menuBar()->addMenu(toQString(kViewCaption));
  actions_[index(MenuItem::View1)] = viewMenu_->menuAction();
  for (const MenuEntry& entry : kViewMenu) addItem(viewMenu_, entry);

  for (const MenuEntry& entry : kBarCommands) addItem(menuBar(), entry);

  QMenu* help = menuBar()->addMenu(toQString(kHelpMenuCaption));
  for (const MenuEntry& entry : kHelpMenu) addItem(help, entry);
}

QAction* QtMainWindow::action(MenuItem item) const {
  return actions_[index(item)];
}

void QtMainWindow::start(const std::optional<std::string>& boardPath) {
  // Taking the screen's size first also maximizes where no window manager does it.
  if (const QScreen* screen = this->screen()) setGeometry(screen->availableGeometry());
  showMaximized();
  messages_->setFocus();
  if (!boardPath) return;
  dialogs_.answerNextFileDialog(*boardPath);
  // The board is fitted into the board area, so it opens once the window is on the screen
  // with its final size, as when the user opens it.
  openWhenExposed_ = true;
  if (QWindow* window = windowHandle()) window->installEventFilter(this);
}

bool QtMainWindow::eventFilter(QObject* watched, QEvent* event) {
  QWindow* window = windowHandle();
  if (openWhenExposed_ && watched == window && event->type() == QEvent::Expose &&
      window->isExposed()) {
    openWhenExposed_ = false;
    window->removeEventFilter(this);
    QTimer::singleShot(0, this,
                       [this] { run([](TForm1& form) { form.clickMenu(MenuItem::Open1); }); });
  }
  return QMainWindow::eventFilter(watched, event);
}

void QtMainWindow::run(const FormCall& call) {
  if (!form_) return;  // events of the widgets' construction, before the form exists
  try {
    call(*form_);
  } catch (const std::exception& e) {
    dialogs_.showMessageBox(e.what());
  } catch (...) {
    dialogs_.showMessageBox(kUnknownError);
  }
  board_->update();
}

void QtMainWindow::deliverKey(QKeyEvent* event) {
  const std::optional<int> key = virtualKeyFor(event->key(), event->modifiers());
  if (!key) return;
  run([code = *key](TForm1& form) { form.onKeyDown(code); });
}

void QtMainWindow::keyPressEvent(QKeyEvent* event) {
  deliverKey(event);
  QMainWindow::keyPressEvent(event);
}

void QtMainWindow::changeEvent(QEvent* event) {
  // A drag whose window loses the pointer is over; the form still sees its end.
  if (event->type() == QEvent::ActivationChange && !isActiveWindow()) board_->cancelDrag();
  QMainWindow::changeEvent(event);
}

void QtMainWindow::Port::setCaption(std::string_view caption) {
  window_.setWindowTitle(toQString(caption));
}

void QtMainWindow::Port::setMenuEnabled(MenuItem item, bool enabled) {
  if (QAction* action = window_.action(item)) action->setEnabled(enabled);
}

void QtMainWindow::Port::setMenuChecked(MenuItem item, bool checked) {
  if (QAction* action = window_.action(item)) action->setChecked(checked);
}

void QtMainWindow::Port::setCursor(CursorShape shape) {
  if (shape == CursorShape::Cross) {
    window_.setCursor(Qt::CrossCursor);
  } else {
    window_.unsetCursor();
  }
}

void QtMainWindow::Port::setBoardDragMode(bool automatic) {
  window_.board_->setDragMode(automatic);
}

void QtMainWindow::Port::close() {
  window_.close();
}

}  // namespace plexaro
