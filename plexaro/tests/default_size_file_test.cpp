#include "plexaro/board/default_size_file.h"

#include <gtest/gtest.h>

#include "plexaro/tests/board_test_support.h"

namespace plexaro {
namespace {

using testing::TempFolder;

TEST(DefaultSizePath, ReplacesTheLastThreeCharactersByPosition) {
  struct Case {
    const char* board;
    const char* expected;
  };
  for (const Case& c : {Case{"D:/x/PANEL.BRD", "D:/x/PANEL.con"}, Case{"a.brdx", "a.bcon"},
                        Case{"/b/board.brd", "/b/board.con"}, Case{"ab", "con"}}) {
    SCOPED_TRACE(c.board);
    EXPECT_EQ(defaultSizePath(c.board), c.expected);
  }
}

TEST(ReadDefaultSize, ANewBoardGetsAFileHoldingJustTwo) {
  TempFolder folder;
  ViewTransform view{};
  readDefaultSize(folder.file("new.brd"), view);
  EXPECT_EQ(view.defaultSize, 2);
  EXPECT_EQ(TempFolder::read(folder.file("new.con")), "2");
}

TEST(ReadDefaultSize, UsesTheStoredSizeWithinTwoToTen) {
  struct Case {
    const char* why;
    const char* content;
    int32_t expected;
  };
  const Case cases[] = {
      {"a plain size", "7", 7},
      {"blanks and a line end around it", "  5\r\n", 5},
      {"above ten is used as ten", "50", 10},
      {"no number: the new-board size", "abc", 2},
      {"an empty file: the new-board size", "", 2},
      {"below two: the new-board size", "1", 2},
      {"zero would give a zero scale", "0", 2},
      {"negative", "-3", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    TempFolder folder;
    const std::string con = folder.write("b.con", c.content);
    ViewTransform view{};
    view.defaultSize = 99;
    readDefaultSize(folder.file("b.brd"), view);
    EXPECT_EQ(view.defaultSize, c.expected);
    EXPECT_EQ(TempFolder::read(con), c.content);  // reading never changes the file
  }
}

TEST(ReadDefaultSize, AFolderThatCannotBeWrittenStillGivesSizeTwo) {
  ViewTransform view{};
  readDefaultSize("/nonexistent-folder/x/board.brd", view);
  EXPECT_EQ(view.defaultSize, 2);
}

TEST(WriteDefaultSize, ReplacesTheFileWholeOrNotAtAll) {
  TempFolder folder;
  const std::string con = folder.write("b.con", "7");
  ASSERT_TRUE(writeDefaultSize(folder.file("b.brd"), 100));
  EXPECT_EQ(TempFolder::read(con), "100");
  ASSERT_TRUE(writeDefaultSize(folder.file("b.brd"), 2));
  EXPECT_EQ(TempFolder::read(con), "2");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator{folder.path()}, {}), 1)
      << "no temporary file is left behind";

  EXPECT_FALSE(writeDefaultSize("/nonexistent-folder/x/board.brd", 5));
}

}  // namespace
}  // namespace plexaro
