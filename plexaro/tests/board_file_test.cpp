#include "plexaro/board/board_file.h"

#include <gtest/gtest.h>

#include <string>

#include "plexaro/board/scan_stream.h"
#include "plexaro/tests/board_test_support.h"

namespace plexaro {
namespace {

using testing::Board;
using testing::RecordingOpenHost;
using testing::TempFolder;

TEST(BoardChecksum, WeighsTheOutlineHeaderAndFirstPoint) {
  struct Case {
    const char* why;
    int32_t extentX, extentY, count;
    OutlinePoint first;
    int32_t expected;
  };
  const Case cases[] = {
      {"the worked example: 86000 + 68000 + 375 + 4020", 1000, 800, 5, {10, 20}, 158395},
      {"swapping the first point's coordinates keeps it", 1000, 800, 5, {20, 10}, 158395},
      {"the count weighs 75", 1000, 800, 6, {10, 20}, 158470},
      {"only the sum of the first point counts", 1000, 800, 5, {0, 30}, 158395},
      {"32-bit wrap on overflow", 2147483647, -5, 1000, {2147483647, 1}, 74489},
      {"all zero", 0, 0, 0, {0, 0}, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(boardChecksum(c.extentX, c.extentY, c.count, c.first), c.expected);
  }
}

TEST(ScanStream, FormattedInputRules) {
  ScanStream in{"  -12\t+7 0x9 abc\r\n 4294967297 99999999999 - 5 word"};
  int32_t v = 0;
  ASSERT_TRUE(in.readInt(v));
  EXPECT_EQ(v, -12);
  ASSERT_TRUE(in.readInt(v));
  EXPECT_EQ(v, 7);
  ASSERT_TRUE(in.readInt(v));  // "0x9": the digits stop at the x
  EXPECT_EQ(v, 0);
  v = 55;
  EXPECT_FALSE(in.readInt(v));  // the x is left for the next read
  EXPECT_EQ(v, 55);
  char word[80];
  ASSERT_TRUE(in.readWord(word, 79));
  EXPECT_STREQ(word, "x9");
  ASSERT_TRUE(in.readWord(word, 2));  // cut to the buffer, the whole word consumed
  EXPECT_STREQ(word, "ab");
  ASSERT_TRUE(in.readInt(v));
  EXPECT_EQ(v, 1);  // 2^32 + 1 wraps
  ASSERT_TRUE(in.readInt(v));
  EXPECT_EQ(v, static_cast<int32_t>(99999999999LL & 0xffffffff));
  EXPECT_FALSE(in.readInt(v));  // a sign without digits
  ASSERT_TRUE(in.readInt(v));
  EXPECT_EQ(v, 5);
  ASSERT_TRUE(in.readWord(word, 79));
  EXPECT_STREQ(word, "word");
  EXPECT_TRUE(in.eof());  // the word ran into the end
  EXPECT_FALSE(in.readWord(word, 79));
  EXPECT_STREQ(word, "word");  // a failed read leaves the buffer
  in.rewind();
  EXPECT_FALSE(in.eof());
  ASSERT_TRUE(in.readInt(v));
  EXPECT_EQ(v, -12);
}

TEST(ScanStream, EndOfFileIsSetOnlyByAReadIntoTheEnd) {
  ScanStream in{"5\n"};
  int32_t v = 0;
  ASSERT_TRUE(in.readInt(v));
  EXPECT_FALSE(in.eof());  // stopped at the line end
  EXPECT_FALSE(in.readInt(v));
  EXPECT_TRUE(in.eof());
  ScanStream dos{"7 8\x1a 9"};  // Ctrl-Z ends a file written on DOS
  ASSERT_TRUE(dos.readInt(v));
  ASSERT_TRUE(dos.readInt(v));
  EXPECT_EQ(v, 8);
  EXPECT_FALSE(dos.readInt(v));
}

// A small board: a 5-point outline with extents 1000 x 800 whose first point is (10, 20).
const char* const kSmallBoard =
    "158395\n"
    "BRDOUT: 5 1000 800\n10 20  990 20  990 780  10 780  10 20\n"
    "NETS: 3\n7 GND\n2 VCC\n9 A0\n"
    "PINS: 4\n100 100 1 1\n200 100 2 1\n300 300 3 0\n400 300 1 2\n"
    "PARTS: 2\nU1 50 50 250 150 0 1\nR7 420 320 280 280 2 2\n"
    "NAILS: 2\n12 100 110 1 2\n18 400 310 3 1\n";

class BoardFileTest : public ::testing::Test {
 protected:
  bool open(std::string_view content, std::string_view name = "board.brd") {
    path = folder.write(name, content);
    host = RecordingOpenHost{};
    return board.open(path, host);
  }

  TempFolder folder;
  Board board;
  RecordingOpenHost host;
  std::string path;
};

TEST_F(BoardFileTest, LoadsEverySectionAndReportsEachStep) {
  ASSERT_TRUE(open(kSmallBoard));
  const BoardTables& t = *board.tables;
  EXPECT_TRUE(t.loaded);
  EXPECT_EQ(host.lines, (std::vector<std::string>{"Load file " + path + " .........", "OK."}));
  EXPECT_EQ(host.caption, "NORVALE ZR800            " + path);
  EXPECT_TRUE(host.commandsEnabled);
  EXPECT_TRUE(host.shown);
  EXPECT_EQ(host.defaultSizeText, "2");

  EXPECT_EQ(t.checksum, 158395);
  EXPECT_EQ(t.outlineCount, 5);
  EXPECT_EQ(t.outline[2].x, 990);
  EXPECT_EQ(t.outline[2].y, 780);
  EXPECT_EQ(board.view.extentX, 1000);
  EXPECT_EQ(board.view.extentY, 800);
  // The record's own numbers (7, 2, 9) play no part: the position is the net number.
  EXPECT_EQ(t.netCount, 3);
  EXPECT_EQ(t.nets[1].name, "GND");
  EXPECT_EQ(t.nets[2].name, "VCC");
  EXPECT_EQ(t.nets[3].name, "A0");
  EXPECT_EQ(t.pinCount, 4);
  EXPECT_EQ(t.pins[2].x, 300);
  EXPECT_EQ(t.pins[2].net, 3);
  EXPECT_EQ(t.pins[2].side, 0);
  EXPECT_EQ(t.partCount, 2);
  EXPECT_EQ(t.parts[1].name, "R7");
  EXPECT_EQ(t.parts[1].x1, 420);
  EXPECT_EQ(t.parts[1].y2, 280);
  EXPECT_EQ(t.parts[1].firstPin, 2);
  EXPECT_EQ(t.parts[1].side, 2);
  // The file's order is number, x, y, net, side.
  EXPECT_EQ(t.nailCount, 2);
  EXPECT_EQ(t.nails[1].number, 18);
  EXPECT_EQ(t.nails[1].x, 400);
  EXPECT_EQ(t.nails[1].y, 310);
  EXPECT_EQ(t.nails[1].net, 3);
  EXPECT_EQ(t.nails[1].side, 1);
  EXPECT_EQ(findPinPart(t, 3).part, 1);  // the ownership index is built
}

TEST_F(BoardFileTest, AWrongChecksumStopsAfterTheOutline) {
  std::string content = kSmallBoard;
  content.replace(0, 6, "158396");
  EXPECT_FALSE(open(content));
  EXPECT_FALSE(board.tables->loaded);
  EXPECT_EQ(host.lines,
            (std::vector<std::string>{"Load file " + path + " .........",
                                      "Specified file " + path + " is not a Plexaro Brd File."}));
  EXPECT_FALSE(host.commandsEnabled);
  EXPECT_EQ(board.tables->outlineCount, 5);  // the outline already holds the new file's values
  EXPECT_EQ(board.tables->pinCount, 0);
  EXPECT_FALSE(std::filesystem::exists(folder.file("board.con")));
}

TEST_F(BoardFileTest, KeywordsMatchWholeTokensOnly) {
  struct Case {
    const char* why;
    const char* content;
    bool loads;
    int32_t netCount;
  };
  const Case cases[] = {
      {"lower case is not a keyword: no outline, checksum 0 needed",
       "0 brdout: 5 1000 800 NETS: 1 1 A", true, 1},
      {"without the colon neither", "158395 BRDOUT 5 1000 800 10 20", false, 0},
      {"a keyword inside a longer token is no keyword", "0 XNETS: 1 1 A NETS:X", true, 0},
      {"text between sections is skipped", "0 hello world NETS: 1 1 A trailing", true, 1},
      {"a keyword as the last token, without a line end", "0 NETS:", true, 0},
      {"a word longer than 79 characters before the keyword",
       "0 "
       "NETS:"
       "xxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx "
       "NETS: 1 1 A",
       true, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    board = Board{};
    EXPECT_EQ(open(c.content), c.loads);
    EXPECT_EQ(board.tables->netCount, c.netCount);
  }
}

TEST_F(BoardFileTest, SectionsStandInAnyOrderButNailsFollowParts) {
  const std::string outline = "158395 BRDOUT: 5 1000 800 10 20 0 0 0 0 0 0 0 0\n";
  ASSERT_TRUE(open(outline + "NAILS: 1 5 1 1 1 1\nPARTS: 1 U1 0 0 1 1 0 1\nPINS: 1 1 2 1 1\n"));
  EXPECT_EQ(board.tables->pinCount, 1);
  EXPECT_EQ(board.tables->partCount, 1);
  EXPECT_EQ(board.tables->nailCount, 0);  // the nail search starts after the parts

  ASSERT_TRUE(open(outline + "PARTS: 1 U1 0 0 1 1 0 1\nNAILS: 1 5 1 1 1 1\n"));
  EXPECT_EQ(board.tables->nailCount, 1);
  // Only the first occurrence of a section is read.
  ASSERT_TRUE(open(outline + "PINS: 1 1 1 1 1\nPINS: 2 2 2 2 2 2 2 2 2\n"));
  EXPECT_EQ(board.tables->pinCount, 1);
}

TEST_F(BoardFileTest, AMismatchedRecordLeavesTheRestOfTheSectionUnread) {
  // Second pin: x and y read, then "x" stops the section. Third pin: never reached.
  board.tables->pins[1] = {-1, -1, -1, -1, 3, true};
  board.tables->pins[2] = {-2, -2, -2, -2, 3, true};
  ASSERT_TRUE(open("0 PINS: 3 1 2 3 1 4 5 x 6 7 8 9 1"));
  const BoardTables& t = *board.tables;
  EXPECT_EQ(t.pinCount, 3);
  EXPECT_EQ(t.pins[0].side, 1);
  EXPECT_EQ(t.pins[1].x, 4);
  EXPECT_EQ(t.pins[1].y, 5);
  EXPECT_EQ(t.pins[1].net, -1);
  EXPECT_EQ(t.pins[2].x, -2);
  EXPECT_FALSE(t.pins[2].marked);  // every entry in the count is cleared all the same
  EXPECT_EQ(t.pins[2].markSlot, 3);

  // A part's name read takes the offending word as the next part's name.
  ASSERT_TRUE(open("0 PARTS: 2 U1 1 2 oops 4 5 6 R2 1 1 1 1 0 1"));
  EXPECT_EQ(board.tables->parts[0].x2, 0);
  EXPECT_EQ(board.tables->parts[1].name, "oops");
  EXPECT_EQ(board.tables->parts[1].x1, 4);
}

TEST_F(BoardFileTest, CountsNamesAndWordsNeverOverrunTheirFields) {
  const std::string longName(40, 'N');
  ASSERT_TRUE(open("0 NETS: 20000 1 " + longName + " 2 B\nPINS: -4\nPARTS: 1 " + longName +
                   " 1 2 3 4 0 1\nNAILS: 99999 1 2 3 4 5"));
  const BoardTables& t = *board.tables;
  EXPECT_EQ(t.netCount, kNetCapacity - 1);
  EXPECT_EQ(t.nets[1].name, longName.substr(0, 19));
  EXPECT_EQ(t.nets[2].name, "B");
  EXPECT_EQ(t.pinCount, 0);  // a count below zero reads nothing
  EXPECT_EQ(t.parts[0].name, longName.substr(0, 19));
  EXPECT_EQ(t.parts[0].y2, 4);
  EXPECT_EQ(t.nailCount, kNailCapacity);
  EXPECT_EQ(t.nails[0].side, 5);

  // A capped part count still reads that many records: here they swallow the nail section.
  ASSERT_TRUE(open("0 PARTS: 7000 A 1 1 1 1 0 1 NAILS: 1 1 1 1 1 1"));
  EXPECT_EQ(t.partCount, kPartCapacity);
  EXPECT_EQ(t.parts[1].name, "NAILS:");
  EXPECT_EQ(t.nailCount, kNailCapacity);  // unchanged: the nail search found nothing
}

TEST_F(BoardFileTest, ASmallerBoardLeavesTheLargerBoardsEntriesBeyondItsCounts) {
  ASSERT_TRUE(open(kSmallBoard));
  // No outline section: the checksum is checked against the outline still in the tables.
  ASSERT_TRUE(open("158395 PINS: 1 9 9 9 9 NETS: 1 1 Z"));
  const BoardTables& t = *board.tables;
  EXPECT_EQ(t.pinCount, 1);
  EXPECT_EQ(t.pins[1].x, 200);
  EXPECT_EQ(t.netCount, 1);
  EXPECT_EQ(t.nets[2].name, "VCC");
  EXPECT_EQ(t.partCount, 2);  // a missing section keeps its table and count
  EXPECT_EQ(t.outlineCount, 5);
}

TEST_F(BoardFileTest, AFileThatCannotBeReadIsReportedNotLoaded) {
  for (const std::string& p : {folder.file("missing.brd"), folder.path().string()}) {
    SCOPED_TRACE(p);
    RecordingOpenHost h;
    EXPECT_FALSE(board.open(p, h));
    EXPECT_EQ(h.lines, (std::vector<std::string>{"Can not open board file !!"}));
    EXPECT_EQ(h.caption, "");
  }
}

TEST(ResetForOpen, ClearsWhatOpenStartsFrom) {
  Board board;
  board.tables->loaded = true;
  board.tables->checksum = 9;
  board.state.searchMode = 4;
  board.state.showAllPartNames = board.state.showAllNailNumbers = true;
  board.view.rotationStep = 3;
  board.view.rotationAngle = 4.712389f;
  board.view.currentSide = 2;
  resetForOpen(*board.tables, board.view, board.state);
  EXPECT_FALSE(board.tables->loaded);
  EXPECT_EQ(board.tables->checksum, 0);
  EXPECT_EQ(board.state.searchMode, 1);
  EXPECT_FALSE(board.state.showAllPartNames || board.state.showAllNailNumbers);
  EXPECT_EQ(board.view.rotationStep, 0);
  EXPECT_EQ(board.view.rotationAngle, 0.0f);
  EXPECT_EQ(board.view.currentSide, 1);
}

}  // namespace
}  // namespace plexaro
