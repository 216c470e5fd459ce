#include "dravon/card/card_cache.h"

#include <gtest/gtest.h>

#include "dravon/card/cad_export_reader.h"
#include "dravon/card/text_fields.h"
#include "dravon/tests/card_test_support.h"

namespace dravon {
namespace {

using testing::CadFixture;
using testing::RecordingFrame;
using testing::TempFolder;

// Little-endian bytes, written out field by field.
struct Bytes {
  std::string b;
  Bytes& u8(unsigned v) { return b.push_back(static_cast<char>(v)), *this; }
  Bytes& u16(unsigned v) { return u8(v & 0xff).u8((v >> 8) & 0xff); }
  Bytes& u32(uint32_t v) { return u16(v & 0xffff).u16(v >> 16); }
  Bytes& text(std::string_view s) { return b.append(s), *this; }
  Bytes& str(std::string_view s) { return u8(static_cast<unsigned>(s.size())).text(s); }
  Bytes& newClass(std::string_view name) { return u16(0xffff).u16(0).u16(name.size()).text(name); }
};

CDev dev(const char* name, int16_t x, int16_t y, int8_t layer, int32_t shape) {
  CDev d;
  d.name = name, d.x = x, d.y = y, d.layer = layer, d.shape = shape;
  return d;
}

// A small converted card: three devices, two nets, one test point and one of everything else.
CDravonDoc smallCard() {
  CDravonDoc doc;
  doc.devices = {dev("U1   ", 100, -100, 1, 7), dev("R1   ", 5, 6, 4, 7),
                 dev("C1   ", -7, 8, 1, 7)};
  doc.netNames = {"GND", "VCC"};
  doc.testPoints = {CTp{"TP1    ", 30, 40, 4}};
  doc.vias = {CVia{1, 12, 50, 60, 7}};
  CPad pad;
  pad.device = 2, pad.pin = 3, pad.net = 1, pad.x = -2, pad.y = 9, pad.shape = 7;
  doc.pads = {pad};
  doc.lines = {CLine{0, 4, 5, 1, 2, 3, 4}};
  doc.outlineLines = {CLine{-1, 1, 10, 0, 0, 900, 0}};
  doc.shapes = {CShape{7, -4, {{30, 20}, {-30, -10}}}};
  doc.imageRect = {0, 0, 960, 640};
  doc.layerCount = 4;
  doc.originX = -20;
  doc.originY = 35;
  return doc;
}

TEST(CardCacheWriter, ExactBytesOfASmallCard) {
  Bytes e;
  e.u16(3).newClass("CDev").str("U1   ").u16(100).u16(0xff9c).u8(1).u32(7);     // class 1, object 2
  e.u16(0x8001).str("R1   ").u16(5).u16(6).u8(4).u32(7);                        // object 3
  e.u16(0x8001).str("C1   ").u16(0xfff9).u16(8).u8(1).u32(7);                   // object 4
  e.u16(2).str("GND").str("VCC");                                               // no indices
  e.u16(1).newClass("CTp").str("TP1    ").u8(4).u16(30).u16(40);                // class 5, object 6
  e.u16(1).newClass("CVia").u32(1).u32(12).u16(50).u16(60).u32(7);              // 7, 8
  e.u16(1).newClass("CPad").u16(2).u16(3).u16(1).u16(0xfffe).u16(9).u32(7);     // 9, 10
  e.u16(1).newClass("CLine").u16(0).u8(4).u8(5).u16(1).u16(2).u16(3).u16(4);    // 11, 12
  e.u16(1).u16(0x800b).u16(0xffff).u8(1).u8(10).u16(0).u16(0).u16(900).u16(0);  // CLine again
  e.u16(1)
      .newClass("CShape")
      .u32(7)
      .u8(0xfc)
      .u16(2)
      .u32(30)
      .u32(20)
      .u32(0xffffffe2)
      .u32(0xfffffff6);
  e.u32(0).u32(0).u32(960).u32(640).u32(4).u16(0xffec).u16(35);
  EXPECT_EQ(encodeCardCache(smallCard()), e.b);

  CDravonDoc second = smallCard();
  second.testPoints.push_back(second.testPoints[0]);
  const std::string bytes = encodeCardCache(second);
  const std::size_t tp = bytes.find("TP1    ") + 7 + 5;  // past the first test point's fields
  EXPECT_EQ(bytes.substr(tp, 2), std::string("\x05\x80", 2)) << "tag 32773: class index 5";
}

TEST(CardCacheWriter, LengthAndCountEscapes) {
  CDravonDoc doc;
  doc.netNames = {std::string(300, 'n')};
  const std::string bytes = encodeCardCache(doc);
  EXPECT_EQ(bytes.substr(0, 2 + 2 + 3), Bytes{}.u16(0).u16(1).u8(255).u16(300).b);

  doc.netNames = {std::string(65534, 'n')};
  EXPECT_EQ(encodeCardCache(doc).substr(4, 7), Bytes{}.u8(255).u16(65535).u32(65534).b)
      << "65534 would read as the wide-string mark, so it takes the long form";

  doc.netNames.clear();
  doc.testPoints.assign(70000, CTp{"TP1    ", 1, 2, 1});
  const std::string many = encodeCardCache(doc);
  EXPECT_EQ(many.substr(4, 6), Bytes{}.u16(65535).u32(70000).b);
  // 32766 objects later the class index no longer fits 15 bits.
  doc.testPoints.clear();
  doc.devices.assign(40000, dev("U1   ", 0, 0, 1, 7));
  doc.testPoints.assign(2, CTp{"TP1    ", 1, 2, 1});
  const std::string big = encodeCardCache(doc);
  const std::size_t second = big.rfind("TP1    ") - 1 - 6;
  EXPECT_EQ(big.substr(second, 6), Bytes{}.u16(0x7fff).u32(0x80000000u + 40002).b);
  CDravonDoc back;
  back.resolution = 1;
  ASSERT_EQ(decodeCardCache(back, big), CacheError::kNone);
  EXPECT_EQ(back.testPoints.size(), 2u);
  EXPECT_EQ(back.devices.size(), 40000u);
}

TEST(CardCacheReader, RoundTripsDividingByTheResolution) {
  for (int32_t resolution : {1, 3, 12}) {
    SCOPED_TRACE(resolution);
    const CDravonDoc original = smallCard();
    CDravonDoc doc;
    doc.resolution = resolution;
    doc.listEntries = {{1, "U1   ", "", "", 0}, {0, "R1   ", "", "", 0}};
    ASSERT_EQ(decodeCardCache(doc, encodeCardCache(original)), CacheError::kNone);
    const auto div = [resolution](int v) { return v / resolution; };  // toward zero
    ASSERT_EQ(doc.devices.size(), 3u);
    EXPECT_EQ(doc.devices[0].x, div(100));
    EXPECT_EQ(doc.devices[0].y, div(-100)) << "-100 / 3 is -33";
    EXPECT_EQ(doc.devices[0].notAssembled, 1);
    EXPECT_EQ(doc.devices[1].notAssembled, 0);
    EXPECT_EQ(doc.devices[2].notAssembled, 1) << "C1 is missing: entry 0's flag";
    EXPECT_EQ(doc.devices[1].bounds,
              (CardRect{div(5) + (-30) / resolution, div(6) + (-10) / resolution,
                        div(5) + 30 / resolution, div(6) + 20 / resolution}));
    EXPECT_EQ(doc.netNames, original.netNames);
    EXPECT_EQ(doc.testPoints[0].name, "TP1    ");
    EXPECT_EQ(doc.testPoints[0].y, div(40));
    EXPECT_EQ(doc.vias[0].hole, div(12));
    EXPECT_EQ(doc.vias[0].net, 1);
    EXPECT_EQ(doc.pads[0].x, div(-2));
    EXPECT_EQ(doc.pads[0].device, 2);
    EXPECT_EQ(doc.lines[0].width, div(5)) << "5 / 3 is 1";
    EXPECT_EQ(doc.outlineLines[0].x2, div(900));
    EXPECT_EQ(doc.shapes[0].values, original.shapes[0].values) << "shapes are never divided";
    EXPECT_EQ(doc.imageRect, (CardRect{0, 0, div(960), div(640)}));
    EXPECT_EQ(doc.layerCount, 4);
    EXPECT_EQ(doc.originX, -20) << "the origin is taken as stored";
    EXPECT_EQ(doc.originY, 35);
  }
}

TEST(CardCacheReader, LayerFlagsComeFromTheSignalLines) {
  CDravonDoc card = smallCard();
  card.lines = {CLine{0, 1, 5, 0, 0, 1, 1}, CLine{0, 4, 5, 0, 0, 1, 1}, CLine{0, 13, 5, 0, 0, 1, 1},
                CLine{0, -1, 5, 0, 0, 1, 1}};
  CDravonDoc doc;
  doc.layerPresent[10] = doc.layerPresent[11] = true;  // left from the previous card
  ASSERT_EQ(decodeCardCache(doc, encodeCardCache(card)), CacheError::kNone);
  std::array<bool, kLayerSlots> expected{};
  expected[0] = expected[3] = true;
  EXPECT_EQ(doc.layerPresent, expected);
}

TEST(CardCacheReader, FormatErrorsAndTheirTexts) {
  const std::string good = encodeCardCache(smallCard());
  const std::size_t firstTag = 2;
  const std::size_t secondDevice = good.find("R1   ") - 1 - 2;
  struct Case {
    const char* why;
    std::string bytes;
    CacheError expected;
  };
  const auto patched = [&good](std::size_t at, std::string_view with) {
    std::string b = good;
    b.replace(at, with.size(), with);
    return b;
  };
  const std::vector<Case> cases = {
      {"empty file", "", CacheError::kPastEnd},
      {"a count the file cannot hold", Bytes{}.u16(0xffff).u32(4000000000u).b,
       CacheError::kPastEnd},
      {"a string longer than the file", Bytes{}.u16(0).u16(1).u8(255).u16(60000).text("ab").b,
       CacheError::kPastEnd},
      {"a 32-bit string length beyond the file",
       Bytes{}.u16(0).u16(1).u8(255).u16(65535).u32(0xfffffff0u).b, CacheError::kPastEnd},
      {"the wide-string mark", Bytes{}.u16(0).u16(1).u8(255).u16(65534).b, CacheError::kBadFormat},
      {"a shape claiming more pairs than the file holds",
       patched(good.find("CShape") + 6 + 5, Bytes{}.u16(0xffff).u32(0x7fffffff).b),
       CacheError::kPastEnd},
      {"schema 1", patched(firstTag + 2, Bytes{}.u16(1).b), CacheError::kBadSchema},
      {"an unknown class name", patched(firstTag + 6, "CDEV"), CacheError::kUnexpectedObject},
      {"a class index not introduced yet", patched(secondDevice, Bytes{}.u16(0x8005).b),
       CacheError::kBadFormat},
      {"a class index that is an object's", patched(secondDevice, Bytes{}.u16(0x8002).b),
       CacheError::kBadFormat},
      {"a reference to an object read before", patched(secondDevice, Bytes{}.u16(2).b),
       CacheError::kBadFormat},
      {"the empty object", patched(secondDevice, Bytes{}.u16(0).b), CacheError::kBadFormat},
      {"a big tag without the class bit",
       Bytes{}.u16(2).newClass("CDev").str("U1   ").u16(0).u16(0).u8(1).u32(7).u16(0x7fff).u32(1).b,
       CacheError::kBadFormat},
      // References the rest of the program relies on without a test.
      {"a pad owned by a device that does not exist",
       [] {
         CDravonDoc d = smallCard();
         d.pads[0].device = 3;
         return encodeCardCache(d);
       }(),
       CacheError::kBadFormat},
      {"a pad without a net",
       [] {
         CDravonDoc d = smallCard();
         d.pads[0].net = -1;
         return encodeCardCache(d);
       }(),
       CacheError::kBadFormat},
      {"a via net beyond the names",
       [] {
         CDravonDoc d = smallCard();
         d.vias[0].net = 2;
         return encodeCardCache(d);
       }(),
       CacheError::kBadFormat},
      {"an outline segment net below -1",
       [] {
         CDravonDoc d = smallCard();
         d.outlineLines[0].net = -2;
         return encodeCardCache(d);
       }(),
       CacheError::kBadFormat},
      {"test points in the device array", patched(firstTag + 4, Bytes{}.u16(3).text("CTp").b),
       CacheError::kUnexpectedObject},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CDravonDoc doc;
    doc.listEntries.resize(1);
    EXPECT_EQ(decodeCardCache(doc, c.bytes), c.expected);
    EXPECT_TRUE(doc.devices.empty() && doc.listEntries.empty()) << "the model is cleared";
  }
  // Every cut of a good file fails as one that ends early.
  for (std::size_t cut = 0; cut < good.size(); ++cut) {
    CDravonDoc doc;
    ASSERT_EQ(decodeCardCache(doc, good.substr(0, cut)), CacheError::kPastEnd) << cut;
  }
}

TEST(CardCacheReader, MessagesNameTheFile) {
  TempFolder folder;
  RecordingFrame frame;
  CDravonDoc doc;
  frame.attach(doc);
  const std::string good = encodeCardCache(smallCard());
  struct Case {
    std::string bytes;
    std::string message;
  };
  const std::string path = folder.file("card.QDX");
  for (const Case& c : {
           Case{good.substr(0, 10), "An attempt was made to access " + path + " past its end."},
           Case{Bytes{}.u16(1).u16(5).b, path + " has a bad format."},
           Case{Bytes{}.u16(1).newClass("CNet").b, path + " contained an unexpected object."},
           Case{Bytes{}.u16(1).u16(0xffff).u16(2).u16(4).text("CDev").b,
                path + " contains an incorrect schema."},
       }) {
    SCOPED_TRACE(c.message);
    folder.write("card.QDX", c.bytes);
    frame.messages.clear();
    EXPECT_FALSE(readCardCache(doc, path));
    EXPECT_EQ(frame.messages, std::vector<std::string>{c.message});
    EXPECT_EQ(frame.statusTexts.back(), "Reading QDX file");
  }
  frame.messages.clear();
  EXPECT_FALSE(readCardCache(doc, folder.file("none.QDX")));
  EXPECT_TRUE(frame.messages.empty()) << "a file that cannot be opened fails silently";
}

TEST(CardCacheWriter, ReplacesTheFileWholeOrNotAtAll) {
  TempFolder folder;
  RecordingFrame frame;
  CDravonDoc doc = smallCard();
  frame.attach(doc);
  const std::string path = folder.write("card.QDX", "old");
  ASSERT_TRUE(writeCardCache(doc, path));
  std::string bytes;
  ASSERT_TRUE(readWholeFile(path, bytes));
  EXPECT_EQ(bytes, encodeCardCache(doc));
  EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

  EXPECT_FALSE(writeCardCache(doc, folder.file("missing/card.QDX")));
  EXPECT_TRUE(frame.messages.empty()) << "a file that cannot be created fails silently";
}

TEST(CardCache, ConvertedFixtureSurvivesTheRoundTrip) {
  CDravonDoc converted;
  converted.resolution = 1;
  ASSERT_TRUE(readCadExportText(converted, CadFixture{}.text()));
  CDravonDoc loaded;
  loaded.resolution = 1;
  ASSERT_EQ(decodeCardCache(loaded, encodeCardCache(converted)), CacheError::kNone);
  EXPECT_EQ(encodeCardCache(loaded), encodeCardCache(converted));
  ASSERT_EQ(loaded.devices.size(), converted.devices.size());
  for (std::size_t i = 0; i < loaded.devices.size(); ++i) {
    EXPECT_EQ(loaded.devices[i].bounds, converted.devices[i].bounds) << i;
  }
}

}  // namespace
}  // namespace dravon
