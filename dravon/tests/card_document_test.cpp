#include "dravon/card/card_document.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "dravon/card/card_cache.h"
#include "dravon/card/text_fields.h"
#include "dravon/tests/card_test_support.h"

namespace dravon {
namespace {

using testing::CadFixture;
using testing::partLine;
using testing::partsList;
using testing::RecordingFrame;
using testing::TempFolder;

TEST(PartsList, HeaderFieldsAndPartLines) {
  struct Case {
    const char* why;
    std::string line;
    bool entry;
    CListEntry expected;
  };
  const std::vector<Case> cases = {
      {"123 characters give no entry", partLine(' ', "R1", "1001-47", "RES", 123), false, {}},
      {"124 characters give an entry with pNumber 0",
       partLine(' ', "R1", "1001-47", "RES 4K7", 124),
       true,
       {0, "R1   ", "1001-47", "RES 4K7                  ", 0}},
      {"144 characters: columns 145-146 do not exist yet",
       partLine(' ', "R1", "1001-47", "RES", 144),
       true,
       {0, "R1   ", "1001-47", "RES                      ", 0}},
      {"146 characters take pNumber from columns 145 and 146",
       partLine(' ', "R1", "1001-47", "RES", 146, "42"),
       true,
       {0, "R1   ", "1001-47", "RES                      ", 42}},
      {"pNumber is cut to 8 bits only after parsing two columns",
       partLine(' ', "R1", "1001-47", "RES", 150, "-7"),
       true,
       {0, "R1   ", "1001-47", "RES                      ", -7}},
      {"$ in column 1 is not assembled",
       partLine('$', "C3", "1012-33", "CAP", 124),
       true,
       {1, "C3   ", "1012-33", "CAP                      ", 0}},
      {"NO_ASM in columns 8-13 whatever column 14 holds",
       partLine(' ', "C3", "NO_ASMX", "CAP", 124),
       true,
       {1, "C3   ", "NO_ASMX", "CAP                      ", 0}},
      {"PADONLY in columns 8-14",
       partLine(' ', "C3", "PADONLY", "CAP", 124),
       true,
       {1, "C3   ", "PADONLY", "CAP                      ", 0}},
      {"PADONL alone is assembled",
       partLine(' ', "C3", "PADONL", "CAP", 124),
       true,
       {0, "C3   ", "PADONL ", "CAP                      ", 0}},
      {"a blank column 16 gives 7 blanks whatever follows",
       partLine(' ', "U1", "3310-08", " IC MCU", 124),
       true,
       {0, "U1   ", "3310-08", "       ", 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CDravonDoc doc;
    CardHost host;
    readPartsList(doc, partsList({c.line}), host);
    ASSERT_EQ(doc.listEntries.size(), c.entry ? 1u : 0u);
    if (!c.entry) continue;
    const CListEntry& e = doc.listEntries[0];
    EXPECT_EQ(e.notAssembled, c.expected.notAssembled);
    EXPECT_EQ(e.refDes, c.expected.refDes);
    EXPECT_EQ(e.partNumber, c.expected.partNumber);
    EXPECT_EQ(e.description, c.expected.description);
    EXPECT_EQ(e.pNumber, c.expected.pNumber);
  }
}

TEST(PartsList, HeaderLinesCrRuleAndTheComponentList) {
  CDravonDoc doc;
  doc.foundIndex = 3;
  doc.devices.resize(2);  // the previous card's model goes
  RecordingFrame frame;
  const std::string text = partsList(
      {partLine(' ', "R1", "1001-47", "RES", 124), partLine(' ', "C1", "1012-33", "CAP", 146, "9")},
      std::string(120, 'N'), "PN-12345", "E7");
  readPartsList(doc, text, frame);
  EXPECT_EQ(doc.cardName, std::string(100, 'N')) << "columns 16 to 115";
  EXPECT_EQ(doc.cardPartNumber, "PN-1234");
  EXPECT_EQ(doc.ecLevel, "E7");
  EXPECT_TRUE(doc.devices.empty());
  EXPECT_EQ(doc.foundIndex, -1);
  EXPECT_EQ(frame.componentLines,
            (std::vector<std::string>{"R1    RES                       1001-47 p0",
                                      "C1    CAP                       1012-33 p9"}));

  // A CR drops the character after it even when that is not a LF.
  readPartsList(doc, "1\rXP/N:   ABCDEFG\r\nEC:    CR-RULE\n", frame);
  EXPECT_EQ(doc.cardPartNumber, "ABCDEFG");
  EXPECT_EQ(doc.ecLevel, "CR-RULE");

  readPartsList(doc, "short\nP/N:   ABC\n", frame);
  EXPECT_EQ(doc.cardPartNumber, "ABC");
  EXPECT_EQ(doc.cardName, "") << "fewer than 5 lines";
  EXPECT_TRUE(doc.listEntries.empty());
  EXPECT_TRUE(frame.componentLines.empty());
}

TEST(SiblingFiles, NamesAndFolders) {
  struct Case {
    const char* why;
    std::string path;
    std::string cache;
    std::string folder;
  };
  for (const Case& c : {
           Case{"ordinary card", "/cards/x.lst", "/cards/x.QDX", "/cards/"},
           Case{"only the last dot counts", "/cards/x.y.lst", "/cards/x.y.QDX", "/cards/"},
           Case{"a dot only in a folder name lands in its parent", "/cards/v1.2/x", "/cards/v1.QDX",
                "/cards/"},
           Case{"no dot at all gets one", "/cards/x", "/cards/x.QDX", "/cards/"},
       }) {
    SCOPED_TRACE(c.why);
    const std::string cache = siblingPath(c.path, kCardCacheExtension);
    EXPECT_EQ(cache, c.cache);
    EXPECT_EQ(folderOf(cache), c.folder);
  }
}

TEST(SiblingFiles, CardFoldersFromTheEnvironment) {
  ::unsetenv("DRAVON_CARD_FOLDERS");
  EXPECT_EQ(cardFolders(),
            (std::vector<std::string>{"/mnt/d/Ulvane/dravon/", "/mnt/c/Ulvane/dravon/"}));
  ::setenv("DRAVON_CARD_FOLDERS", "/a/:/b::/c", 1);
  EXPECT_EQ(cardFolders(), (std::vector<std::string>{"/a/", "/b/", "/c/"}));
  ::setenv("DRAVON_CARD_FOLDERS", "", 1);
  EXPECT_TRUE(cardFolders().empty()) << "set but empty: nowhere";
  ::unsetenv("DRAVON_CARD_FOLDERS");
}

// A card folder with its parts list and CAD export, and a document to open it with.
class OpenCard : public ::testing::Test {
 protected:
  void SetUp() override {
    frame.attach(doc);
    doc.resolution = 1;
    list = cards.write("x.lst", partsList({partLine(' ', "U1", "3310-08", "IC", 124),
                                           partLine('$', "R1", "1001-47", "RES", 124)},
                                          "CARD A", "PN-B", "EC-C"));
    cards.write("x.DCA", CadFixture{}.text());
  }
  bool open(const std::string& path) { return openCard(doc, path, frame, {cards.folder()}); }

  TempFolder cards;
  std::string list;
  CDravonDoc doc;
  RecordingFrame frame;
};

TEST_F(OpenCard, ConvertsOnceThenOpensTheCache) {
  EXPECT_FALSE(open(list)) << "the converting open fails";
  EXPECT_TRUE(std::filesystem::exists(cards.file("x.QDX")));
  EXPECT_FALSE(std::filesystem::exists(cards.file("x.QDX.tmp")));
  EXPECT_EQ(doc.title, "Untitled");
  EXPECT_EQ(doc.devices.size(), 2u) << "the converted model stays in memory";

  doc.foundName = "U1";
  doc.foundPin = doc.currentNet = doc.highlightLayer = 3;
  doc.multiNetMarkup = true;
  EXPECT_TRUE(open(list));
  EXPECT_EQ(frame.opened, 1);
  EXPECT_EQ(doc.title, "CARD A  P/N:PN-B  EC:EC-C");
  EXPECT_EQ(doc.pathName, list);
  EXPECT_EQ(doc.cardFolder, cards.folder());
  EXPECT_EQ(doc.pdlPath, cards.file("x.PDL"));
  EXPECT_EQ(doc.devices.size(), 2u);
  EXPECT_EQ(doc.devices[1].notAssembled, 1) << "R1 is marked with $";
  EXPECT_EQ(doc.foundName, "");
  EXPECT_EQ(doc.foundPin, -1);
  EXPECT_EQ(doc.currentNet, -1);
  EXPECT_EQ(doc.highlightLayer, -1);
  EXPECT_FALSE(doc.multiNetMarkup);
  EXPECT_TRUE(frame.messages.empty());
}

TEST_F(OpenCard, OutsideTheCardFoldersNothingIsConverted) {
  EXPECT_FALSE(openCard(doc, list, frame, {"/mnt/d/Ulvane/dravon/"}));
  EXPECT_FALSE(std::filesystem::exists(cards.file("x.QDX")));
  EXPECT_EQ(doc.listEntries.size(), 2u) << "the parts list was read";
  EXPECT_TRUE(doc.devices.empty());
  EXPECT_TRUE(frame.messages.empty());

  std::string upper = cards.folder();
  for (char& ch : upper) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  EXPECT_FALSE(openCard(doc, list, frame, {upper})) << "folders compare case-sensitively";
  EXPECT_FALSE(std::filesystem::exists(cards.file("x.QDX")));
}

TEST_F(OpenCard, AMissingPartsListShowsTheFileErrorAndKeepsTheCard) {
  ASSERT_FALSE(open(list));
  ASSERT_TRUE(open(list));
  EXPECT_FALSE(open(cards.file("gone.lst")));
  EXPECT_EQ(
      frame.messages,
      (std::vector<std::string>{cards.file("gone.lst") +
                                "\nCannot find this file.\nPlease verify that the correct path "
                                "and file name are given."}));
  EXPECT_EQ(doc.devices.size(), 2u);
  EXPECT_EQ(doc.title, "CARD A  P/N:PN-B  EC:EC-C");
  EXPECT_FALSE(open(cards.folder())) << "a folder is no parts list";
}

TEST_F(OpenCard, FailuresOfTheConversionClearTheModel) {
  cards.write("x.DCA", "$H cut short\r\n");
  EXPECT_FALSE(open(list));
  EXPECT_TRUE(doc.listEntries.empty());
  EXPECT_FALSE(std::filesystem::exists(cards.file("x.QDX")));

  std::filesystem::remove(cards.file("x.DCA"));
  EXPECT_FALSE(open(list)) << "no CAD export at all";
  EXPECT_TRUE(doc.listEntries.empty());
}

TEST_F(OpenCard, ABrokenCacheFailsWithItsMessage) {
  cards.write("x.QDX", std::string("\x01\x00\xff\xff", 4));
  EXPECT_FALSE(open(list));
  EXPECT_EQ(frame.messages, (std::vector<std::string>{"An attempt was made to access " +
                                                      cards.file("x.QDX") + " past its end."}));
  EXPECT_TRUE(doc.listEntries.empty());
  EXPECT_EQ(frame.opened, 0);
}

TEST_F(OpenCard, TitleRules) {
  ASSERT_FALSE(open(list));
  cards.write("noname.lst", partsList({}, "", "PN-B", "EC-C"));
  std::filesystem::copy_file(cards.file("x.QDX"), cards.file("noname.QDX"));
  EXPECT_TRUE(open(cards.file("noname.lst")));
  EXPECT_EQ(doc.title, "noname.lst") << "an empty card name keeps the file name";
  newDocument(doc);
  EXPECT_EQ(doc.title, "Untitled");
  EXPECT_EQ(doc.devices.size(), 2u) << "New clears nothing";
}

TEST_F(OpenCard, AnEmptyPartsListIsReadAsOneWithoutEntries) {
  ASSERT_FALSE(open(list));
  ASSERT_TRUE(open(list));
  cards.write("empty.lst", "");
  std::filesystem::copy_file(cards.file("x.QDX"), cards.file("empty.QDX"));
  EXPECT_TRUE(open(cards.file("empty.lst")));
  EXPECT_TRUE(doc.listEntries.empty()) << "no entries of the previous card remain";
  EXPECT_EQ(doc.cardName, "");
  ASSERT_EQ(doc.devices.size(), 2u);
  EXPECT_EQ(doc.devices[0].notAssembled, 0) << "no entry 0 to take a flag from";
}

TEST_F(OpenCard, ARelativePathNamesTheSameCard) {
  ASSERT_FALSE(open(list));
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(cards.folder());
  const bool opened = open("x.lst");
  std::filesystem::current_path(before);
  EXPECT_TRUE(opened);
  EXPECT_EQ(doc.pathName, list);
}

TEST_F(OpenCard, ThePartsListIsNeverWritten) {
  const auto before = std::filesystem::last_write_time(list);
  const std::string bytes = [&] {
    std::string b;
    EXPECT_TRUE(readWholeFile(list, b));
    return b;
  }();
  ASSERT_FALSE(open(list));
  ASSERT_TRUE(open(list));
  std::string after;
  ASSERT_TRUE(readWholeFile(list, after));
  EXPECT_EQ(after, bytes);
  EXPECT_EQ(std::filesystem::last_write_time(list), before);
}

}  // namespace
}  // namespace dravon
