#include <gtest/gtest.h>

#include "dravon/card/card_settings.h"
#include "dravon/card/text_fields.h"
#include "dravon/platform/script/ini_settings.h"
#include "dravon/platform/script/png_file.h"
#include "dravon/platform/script/script_line.h"
#include "dravon/tests/card_test_support.h"

namespace dravon {
namespace {

TEST(ScriptLine, WordsAndQuotes) {
  struct Case {
    const char* why;
    std::string line;
    std::vector<std::string> words;
  };
  for (const Case& c : {
           Case{"blanks separate", "  open   /a/b.lst ", {"open", "/a/b.lst"}},
           Case{"quotes keep blanks", "open \"/my cards/x.lst\"", {"open", "/my cards/x.lst"}},
           Case{"an empty quoted word", "type net \"\"", {"type", "net", ""}},
           Case{"escapes inside quotes", R"(type net "a\"b\\c\d")", {"type", "net", R"(a"b\c\d)"}},
           Case{"backslashes outside quotes stay", R"(open a\b)", {"open", R"(a\b)"}},
       }) {
    SCOPED_TRACE(c.why);
    std::vector<std::string> words;
    std::string error;
    ASSERT_TRUE(splitScriptLine(c.line, words, error));
    EXPECT_EQ(words, c.words);
  }
  std::vector<std::string> words;
  std::string error;
  EXPECT_FALSE(splitScriptLine("open \"unclosed", words, error));
  EXPECT_TRUE(isSkippedScriptLine("   # comment"));
  EXPECT_TRUE(isSkippedScriptLine(" \t "));
  EXPECT_FALSE(isSkippedScriptLine(" print title # not a comment"));
  int value = 0;
  EXPECT_TRUE(parseScriptInt("32789", value));
  EXPECT_EQ(value, 32789);
  EXPECT_FALSE(parseScriptInt("12x", value));
  EXPECT_FALSE(parseScriptInt("", value));
}

TEST(Settings, ResolutionDefaultsAndIsWrittenBack) {
  testing::TempFolder folder;
  const std::string path = folder.file("org/Dravon.conf");
  struct Case {
    const char* why;
    std::string stored;
    int32_t expected;
    std::string after;
  };
  for (const Case& c : {
           Case{"first start: 3, written at once", "", 3, "[config]\nresolution=3\n"},
           Case{"a stored 0 is replaced by 3", "[config]\nresolution=0\n", 3,
                "[config]\nresolution=3\n"},
           Case{"a negative value too", "[config]\nresolution=-6\n", 3, "[config]\nresolution=3\n"},
           Case{"5 is used unchanged", "[config]\nresolution=5\n", 5, "[config]\nresolution=5\n"},
           Case{"other sections and values are kept",
                "[General]\nx=1\n\n[config]\nother=2\n\n[Recent%20File%20List]\nFile1=/a.lst\n", 3,
                "[General]\nx=1\n\n[config]\nother=2\nresolution=3\n\n[Recent%20File%20List]\n"
                "File1=/a.lst\n"},
       }) {
    SCOPED_TRACE(c.why);
    std::filesystem::remove(path);
    if (!c.stored.empty()) folder.write("org/Dravon.conf", c.stored);
    IniSettings settings(path);
    EXPECT_EQ(loadResolution(settings), c.expected);
    std::string text;
    ASSERT_TRUE(readWholeFile(path, text));
    EXPECT_EQ(text, c.after);
  }
  IniSettings settings(path);
  storeResolution(settings, 12);
  EXPECT_EQ(IniSettings(path).readInt("config", "resolution"), 12);
}

// A big-endian 32-bit number of the PNG bytes at `at`.
uint32_t word(const std::string& png, std::size_t at) {
  uint32_t v = 0;
  for (std::size_t k = 0; k < 4; ++k) v = (v << 8) | static_cast<uint8_t>(png.at(at + k));
  return v;
}

TEST(PngFile, HeaderAndRowsHoldThePixels) {
  Surface image(70000, 1);  // one row longer than a stored block: two blocks
  image.setPixel(0, 0, Rgb{1, 2, 3});
  image.setPixel(69999, 0, Rgb{250, 251, 252});
  const std::string png = encodePng(image);
  EXPECT_EQ(png.substr(0, 8), "\x89PNG\r\n\x1a\n");
  EXPECT_EQ(png.substr(12, 4), "IHDR");
  EXPECT_EQ(word(png, 16), 70000u);
  EXPECT_EQ(word(png, 20), 1u);
  EXPECT_EQ(png.substr(24, 2), std::string("\x08\x02", 2)) << "8-bit RGB";
  EXPECT_EQ(png.substr(png.size() - 12, 8), std::string("\0\0\0\0IEND", 8));
  // The first stored block begins with the row's filter byte 0 and the first pixel.
  const std::size_t data = png.find("IDAT") + 4;
  EXPECT_EQ(png.substr(data + 2 + 5, 4), std::string("\0\x01\x02\x03", 4));
  EXPECT_NE(png.find(std::string("\xfa\xfb\xfc", 3)), std::string::npos);
}

TEST(PngFile, WritesReplaceWholeOrNotAtAll) {
  testing::TempFolder folder;
  const std::string path = folder.write("picture.png", "old");
  Surface image(3, 2);
  EXPECT_FALSE(writePng(path, Surface())) << "an empty image is not written";
  EXPECT_FALSE(writePng(folder.file("missing/picture.png"), image));
  std::string bytes;
  ASSERT_TRUE(readWholeFile(path, bytes));
  EXPECT_EQ(bytes, "old");
  ASSERT_TRUE(writePng(path, image));
  ASSERT_TRUE(readWholeFile(path, bytes));
  EXPECT_EQ(bytes, encodePng(image));
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

}  // namespace
}  // namespace dravon
