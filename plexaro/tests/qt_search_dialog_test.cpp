// The search dialogs in the window: keys and buttons reach the dialog's logic, and the window
// closes when the logic says so.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <functional>

#include "plexaro/platform/qt/search_dialog_qt.h"
#include "plexaro/tests/qt_test_application.h"
#include "plexaro/ui/search_dialog.h"

namespace plexaro {
namespace {

// Runs the dialog modally while `user` acts on it, as soon as it is shown.
void runWhile(SearchDialog& dialog, std::function<void(QtSearchDialog&)> user) {
  QtSearchDialog window{dialog, nullptr};
  QTimer::singleShot(0, &window, [&] {
    user(window);
    // A dialog the user left open is closed as the window's close box would.
    if (window.isVisible()) window.reject();
  });
  window.run();
}

// The input that has the focus by the dialog's logic (the offscreen platform gives no window
// the keyboard, so keys go to it directly).
QLineEdit* focusedEdit(QtSearchDialog& window, const SearchDialog& dialog) {
  QList<QLineEdit*> edits = window.findChildren<QLineEdit*>();
  std::sort(edits.begin(), edits.end(), [](QLineEdit* a, QLineEdit* b) { return a->y() < b->y(); });
  return edits.at(dialog.focus);
}

TEST(QtSearchDialog, EnterMovesThroughTheInputsAndConfirmsInTheThird) {
  TFormSignal dialog;
  dialog.caption = "OPEN";
  runWhile(dialog, [&](QtSearchDialog& window) {
    EXPECT_EQ(window.windowTitle(), "OPEN");
    QTest::keyClicks(focusedEdit(window, dialog), "12");
    QTest::keyClick(focusedEdit(window, dialog), Qt::Key_Return);
    EXPECT_EQ(dialog.focus, 1);
    QTest::keyClicks(focusedEdit(window, dialog), "$12");
    QTest::keyClick(focusedEdit(window, dialog), Qt::Key_Return);
    EXPECT_TRUE(window.isVisible()) << "Enter in the second input only moves on";
    QTest::keyClick(focusedEdit(window, dialog), Qt::Key_Enter);
    EXPECT_FALSE(window.isVisible());
  });
  EXPECT_TRUE(dialog.confirmed);
  EXPECT_EQ(dialog.inputs[0], "12");
  EXPECT_EQ(dialog.inputs[1], "$12");
  EXPECT_EQ(dialog.inputs[2], "");
}

TEST(QtSearchDialog, EscapeAndCancelCloseWithoutConfirming) {
  TFormDevice device;
  runWhile(device, [&](QtSearchDialog& window) {
    QTest::keyClicks(focusedEdit(window, device), "u1");
    QTest::keyClick(focusedEdit(window, device), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
  });
  EXPECT_FALSE(device.confirmed);
  EXPECT_EQ(device.inputs[0], "u1");

  TFormSignal signal;
  runWhile(signal, [](QtSearchDialog& window) {
    for (QPushButton* b : window.findChildren<QPushButton*>()) {
      if (b->text() == "Cancel") QTest::mouseClick(b, Qt::LeftButton);
    }
  });
  EXPECT_FALSE(signal.confirmed);
}

TEST(QtSearchDialog, OkConfirmsTheInputs) {
  TFormDevice device;
  runWhile(device, [&](QtSearchDialog& window) {
    EXPECT_EQ(window.windowTitle(), "Search Device");
    QTest::keyClicks(focusedEdit(window, device), "R1");
    for (QPushButton* b : window.findChildren<QPushButton*>()) {
      if (b->text() == "OK") QTest::mouseClick(b, Qt::LeftButton);
    }
  });
  EXPECT_TRUE(device.confirmed);
  EXPECT_EQ(device.inputs[0], "R1");
}

}  // namespace
}  // namespace plexaro
