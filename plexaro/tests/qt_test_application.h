#pragma once

// The QApplication of a Qt test program: made before the first test and deleted after the
// last, before the program's static objects go. Include it in one file of the test program.

#include <gtest/gtest.h>

#include <QApplication>

namespace plexaro::testing {

class QtApplicationEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "plexaro_qt_tests";
    static char* argv[] = {name, nullptr};
    app_ = new QApplication(argc, argv);
  }
  void TearDown() override { delete app_; }

 private:
  QApplication* app_ = nullptr;
};

[[maybe_unused]] inline const auto* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

}  // namespace plexaro::testing
