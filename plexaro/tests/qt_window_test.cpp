// Smoke tests of the real main window under the offscreen platform: the Qt layer must turn
// menus, keys and mouse events into the form's handlers and show what the form sets.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <string>

#include "plexaro/board/board_file.h"
#include "plexaro/display/view_transform.h"
#include "plexaro/platform/qt/qt_keys.h"
#include "plexaro/platform/qt/qt_main_window.h"
#include "plexaro/platform/qt/qt_message_area.h"
#include "plexaro/platform/qt/qt_status_bar.h"
#include "plexaro/tests/qt_test_application.h"
#include "plexaro/ui/main_form.h"

namespace plexaro {
namespace {

constexpr QRgb kOutlineRed = 0xffff0000;

// The demo board copied into a folder of the test's own, with a default size of 10 so that
// nails are large enough to hit, and the window shown at the screen's size.
class QtWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folder_.isValid());
    boardPath_ = folder_.filePath(QStringLiteral("demo.brd"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(TEST_SOURCE_DIR "/../../samples/demo.brd"), boardPath_));
    QFile size(folder_.filePath(QStringLiteral("demo.con")));
    ASSERT_TRUE(size.open(QIODevice::WriteOnly));
    size.write("10");
    size.close();
  }

  void show(const std::optional<std::string>& boardPath = std::nullopt) {
    window_.start(boardPath);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window_));
  }

  void open() {
    if (!window_.isVisible()) show();
    window_.dialogs().answerNextFileDialog(boardPath_.toStdString());
    window_.action(MenuItem::Open1)->trigger();
    ASSERT_TRUE(window_.form().tables().loaded);
  }

  // The board-area pixel of the first nail on the viewed side.
  QPoint firstNailPixel(int32_t* index) {
    const BoardTables& t = window_.form().tables();
    ViewTransform view = window_.form().view();
    refreshAngles(view);
    for (int32_t n = 0; n < t.nailCount; ++n) {
      if (t.nails[n].side != view.currentSide) continue;
      const Pixel p = mapPoint(view, ItemKind::Nail, t.nails[n].side, t.nails[n].x, t.nails[n].y);
      *index = n;
      return {p.x, p.y};
    }
    ADD_FAILURE() << "the demo board has no nail on its viewed side";
    return {};
  }

  QWidget* board() { return window_.boardArea(); }

  // The board is fitted into the area as shown: its outline lies centred left to right.
  void expectOutlineCentred() {
    const QImage& image = window_.boardArea()->canvas().image();
    ASSERT_EQ(image.size(), board()->size());
    const int row = image.height() / 2;
    int left = -1, right = -1;
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, row) != kOutlineRed) continue;
      if (left < 0) left = x;
      right = x;
    }
    ASSERT_GE(left, 0) << "no outline across the middle of the board area";
    EXPECT_NEAR(left, image.width() - 1 - right, 2);
  }

  QTemporaryDir folder_;
  QString boardPath_;
  QtMainWindow window_;
};

TEST(QtKeysTest, MapsQtKeysToTheVirtualKeyCodes) {
  struct Case {
    int key;
    Qt::KeyboardModifiers modifiers;
    std::optional<int> code;
    const char* why;
  };
  const Case cases[] = {
      {Qt::Key_U, Qt::NoModifier, 'U', "a letter is its capital"},
      {Qt::Key_U, Qt::ShiftModifier, 'U', "the shift state is not looked at"},
      {Qt::Key_W, Qt::ControlModifier, 'W', "nor the control state"},
      {Qt::Key_Plus, Qt::KeypadModifier, vk::kAdd, "+ on the numeric pad"},
      {Qt::Key_Minus, Qt::KeypadModifier, vk::kSubtract, "- on the numeric pad"},
      {Qt::Key_Plus, Qt::ShiftModifier, vk::kOemPlus, "shifted = on the main keyboard"},
      {Qt::Key_Equal, Qt::NoModifier, vk::kOemPlus, "= on the main keyboard"},
      {Qt::Key_Minus, Qt::NoModifier, vk::kOemMinus, "- on the main keyboard"},
      {Qt::Key_Underscore, Qt::ShiftModifier, vk::kOemMinus, "shifted - on the main keyboard"},
      {Qt::Key_Enter, Qt::KeypadModifier, vk::kReturn, "Enter on the numeric pad"},
      {Qt::Key_Return, Qt::NoModifier, vk::kReturn, "Return"},
      {Qt::Key_Escape, Qt::NoModifier, vk::kEscape, "Esc"},
      {Qt::Key_Space, Qt::NoModifier, vk::kSpace, "Space"},
      {Qt::Key_Home, Qt::NoModifier, vk::kHome, "Home"},
      {Qt::Key_Left, Qt::KeypadModifier, vk::kLeft, "an arrow on the pad is still the arrow"},
      {Qt::Key_Down, Qt::NoModifier, vk::kDown, "Down"},
      {Qt::Key_Delete, Qt::NoModifier, vk::kDelete, "Delete"},
      {Qt::Key_F1, Qt::NoModifier, std::nullopt, "a key without a code reaches no handler"},
      {Qt::Key_Shift, Qt::ShiftModifier, std::nullopt, "a modifier alone is no command"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(virtualKeyFor(c.key, c.modifiers), c.code);
  }
}

TEST_F(QtWindowTest, MenuStatesFollowTheLoadedBoard) {
  struct Case {
    MenuItem item;
    bool withoutBoard;
    bool withBoard;
  };
  const Case cases[] = {
      {MenuItem::Open1, true, false}, {MenuItem::Close1, false, true},
      {MenuItem::Exit1, true, true},  {MenuItem::View1, false, true},
      {MenuItem::Open2, false, true}, {MenuItem::Short1, false, true},
      {MenuItem::Comp1, false, true}, {MenuItem::Net1, false, true},
      {MenuItem::Part1, false, true}, {MenuItem::Content1, true, true},
      {MenuItem::About1, true, true},
  };
  const auto expectStates = [&](bool loaded) {
    for (const Case& c : cases) {
      SCOPED_TRACE(window_.action(c.item)->text().toStdString());
      EXPECT_EQ(window_.action(c.item)->isEnabled(), loaded ? c.withBoard : c.withoutBoard);
    }
  };
  show();
  EXPECT_EQ(window_.windowTitle().toStdString(), kMainCaption);
  expectStates(false);

  open();
  expectStates(true);
  EXPECT_EQ(window_.windowTitle().toStdString(),
            std::string{kCaptionPrefix} + boardPath_.toStdString());
  expectOutlineCentred();

  window_.action(MenuItem::Close1)->trigger();
  expectStates(false);
  EXPECT_EQ(window_.windowTitle().toStdString(), kMainCaption);
}

TEST_F(QtWindowTest, BoardNamedAtStartOpensInTheShownWindow) {
  show(boardPath_.toStdString());
  for (int i = 0; i < 50 && !window_.form().tables().loaded; ++i) QTest::qWait(10);
  ASSERT_TRUE(window_.form().tables().loaded);
  EXPECT_FALSE(window_.action(MenuItem::Open1)->isEnabled());
  expectOutlineCentred();
}

TEST_F(QtWindowTest, KeysReachTheFormFromTheMessageAreaAndTheWindow) {
  open();
  QAction* partNames = window_.action(MenuItem::ShowAllPartsName1);
  QTest::keyClick(window_.messageArea(), Qt::Key_U);
  EXPECT_TRUE(partNames->isChecked());
  EXPECT_TRUE(window_.form().state().showAllPartNames);
  // Lower case on the window itself: the same key, and delivered once.
  QTest::keyClick(&window_, 'u');
  EXPECT_FALSE(partNames->isChecked());
  EXPECT_FALSE(window_.form().state().showAllPartNames);

  const int32_t level = window_.form().view().zoomLevel;
  QTest::keyClick(window_.messageArea(), Qt::Key_Plus, Qt::KeypadModifier);
  EXPECT_EQ(window_.form().view().zoomLevel, level + 1);
}

TEST_F(QtWindowTest, CheckMarksAreTheFormsAlone) {
  show();
  QAction* nailNumbers = window_.action(MenuItem::ShowAllNailNumber1);
  // Without a board the command does nothing, so Qt must not tick the item by itself.
  nailNumbers->trigger();
  EXPECT_FALSE(nailNumbers->isChecked());
  open();
  nailNumbers->trigger();
  EXPECT_TRUE(nailNumbers->isChecked());
  EXPECT_TRUE(window_.form().state().showAllNailNumbers);
}

TEST_F(QtWindowTest, ClickOnTheBoardAsksThePoint) {
  open();
  int32_t nail = -1;
  const QPoint at = firstNailPixel(&nail);
  QTest::mouseClick(board(), Qt::LeftButton, Qt::NoModifier, at);
  const NailEntry& entry = window_.form().tables().nails[nail];
  EXPECT_TRUE(entry.marked);
  EXPECT_TRUE(window_.panels()
                  ->panelText(kPointerPanel)
                  .startsWith(QStringLiteral(" $%1 , Net #").arg(entry.number)));
}

TEST_F(QtWindowTest, DoubleClickAsksOnceThenZooms) {
  open();
  int32_t nail = -1;
  const QPoint at = firstNailPixel(&nail);
  const int32_t level = window_.form().view().zoomLevel;
  // Qt's order: press, release, double click, release. Only the first release is a click.
  QTest::mouseClick(board(), Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseDClick(board(), Qt::LeftButton, Qt::NoModifier, at);
  QTest::mouseRelease(board(), Qt::LeftButton, Qt::NoModifier, at);
  EXPECT_TRUE(window_.form().tables().nails[nail].marked);
  EXPECT_EQ(window_.form().view().zoomLevel, level + 1);
}

TEST_F(QtWindowTest, PanShowsTheCrossUntilARightPressCancelsIt) {
  open();
  const int32_t level = window_.form().view().zoomLevel;
  QTest::keyClick(window_.messageArea(), Qt::Key_A);
  EXPECT_EQ(window_.cursor().shape(), Qt::CrossCursor);
  EXPECT_EQ(window_.panels()->panelText(kPointerPanel).toStdString(), kSelectViewCenter);
  QTest::mousePress(board(), Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
  QTest::mouseRelease(board(), Qt::RightButton, Qt::NoModifier, QPoint(10, 10));
  EXPECT_EQ(window_.cursor().shape(), Qt::ArrowCursor);
  EXPECT_FALSE(window_.form().state().selectViewCenter);
  EXPECT_EQ(window_.form().view().zoomLevel, level);
}

TEST_F(QtWindowTest, DragAfterWZoomsToTheBandWithoutAClick) {
  open();
  const int32_t level = window_.form().view().zoomLevel;
  QTest::keyClick(window_.messageArea(), Qt::Key_W);
  EXPECT_TRUE(window_.boardArea()->dragMode());
  const QPoint middle(board()->width() / 2, board()->height() / 2);
  QTest::mousePress(board(), Qt::LeftButton, Qt::NoModifier, middle - QPoint(40, 30));
  QTest::mouseMove(board(), middle + QPoint(40, 30));
  QTest::mouseRelease(board(), Qt::LeftButton, Qt::NoModifier, middle + QPoint(40, 30));
  EXPECT_FALSE(window_.form().state().dragZoom);
  EXPECT_FALSE(window_.boardArea()->dragMode());
  EXPECT_GT(window_.form().view().zoomLevel, level);
  EXPECT_EQ(window_.panels()->panelText(kPointerPanel), QStringLiteral(" "));
}

}  // namespace
}  // namespace plexaro
