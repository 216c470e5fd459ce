#include "dravon/card/cad_export_reader.h"

#include <gtest/gtest.h>

#include <set>

#include "dravon/card/card_document.h"
#include "dravon/card/text_fields.h"
#include "dravon/tests/card_test_support.h"

namespace dravon {
namespace {

using testing::CadFixture;
using testing::RecordingFrame;

struct Converted {
  CDravonDoc doc;
  RecordingFrame frame;
  bool ok = false;
};

std::unique_ptr<Converted> convert(const std::string& text, std::vector<CListEntry> entries = {}) {
  auto c = std::make_unique<Converted>();
  c->frame.attach(c->doc);
  c->doc.resolution = 1;
  c->doc.listEntries = std::move(entries);
  c->ok = readCadExportText(c->doc, text);
  return c;
}

TEST(CadExportReader, ReadsAndShiftsTheFixtureCard) {
  auto c = convert(CadFixture{}.text(), {{0, "R1   ", "", "", 0}, {1, "U1   ", "", "", 0}});
  ASSERT_TRUE(c->ok);
  const CDravonDoc& doc = c->doc;
  EXPECT_EQ(
      c->frame.statusTexts,
      (std::vector<std::string>{"reading TP data", "reading PAD data", "reading DEVICE data",
                                "reading VIA data", "reading LINE data", "reading SHAPE data"}));
  // Outline first ends span x 50..1000, y 60..800: margins 20 before, 40 after.
  EXPECT_EQ(doc.originX, 30);
  EXPECT_EQ(doc.originY, 40);
  EXPECT_EQ(doc.imageRect, (CardRect{0, 0, 1040 - 30, 840 - 40}));
  EXPECT_EQ(doc.layerCount, 2);

  ASSERT_EQ(doc.testPoints.size(), 1u);
  EXPECT_EQ(doc.testPoints[0].name, "TP1    ");
  EXPECT_EQ(doc.testPoints[0].x, 70);
  EXPECT_EQ(doc.testPoints[0].y, 160);

  EXPECT_EQ(doc.netNames, (std::vector<std::string>{"GND", "VCC"}));
  ASSERT_EQ(doc.pads.size(), 3u);
  EXPECT_EQ(doc.pads[0].device, 0);
  EXPECT_EQ(doc.pads[2].device, 1);
  EXPECT_EQ(doc.pads[2].net, 0) << "the second GND pad finds the first one's net";
  EXPECT_EQ(doc.pads[1].pin, 2);
  EXPECT_EQ(doc.pads[1].x, 100);

  ASSERT_EQ(doc.devices.size(), 2u);
  EXPECT_EQ(doc.devices[0].name, "U1   ");
  EXPECT_EQ(doc.devices[0].notAssembled, 1);
  EXPECT_EQ(doc.devices[1].notAssembled, 0);
  EXPECT_EQ(doc.devices[1].x, 270);
  EXPECT_EQ(doc.devices[1].bounds, (CardRect{240, 340, 300, 380}));

  ASSERT_EQ(doc.vias.size(), 1u);
  EXPECT_EQ(doc.vias[0].net, 1);
  EXPECT_EQ(doc.vias[0].hole, 12);
  EXPECT_EQ(doc.vias[0].shape, 4);
  EXPECT_EQ(doc.vias[0].x, 120);

  ASSERT_EQ(doc.outlineLines.size(), 3u);
  EXPECT_EQ(doc.outlineLines[1].x1, 970);
  EXPECT_EQ(doc.outlineLines[1].y2, 760);
  ASSERT_EQ(doc.lines.size(), 1u);
  EXPECT_EQ(doc.lines[0].width, 8);
  EXPECT_EQ(doc.lines[0].x2, 270);

  ASSERT_EQ(doc.shapes.size(), 3u) << "all three are in use";
}

TEST(CadExportReader, RecordRules) {
  struct Case {
    const char* why;
    void (*edit)(CadFixture&);
    void (*check)(const CDravonDoc&);
  };
  const std::vector<Case> cases = {
      {"test point lines without the TP prefix are skipped; names are cut to 7",
       [](CadFixture& f) {
         f.testPoints = {"XP1,GND,1,1,1,0;", "TP123456789,GND,1,1,1,0;"};
       },
       [](const CDravonDoc& d) {
         ASSERT_EQ(d.testPoints.size(), 1u);
         EXPECT_EQ(d.testPoints[0].name, "TP12345");
       }},
      {"two pads with empty signals add two nets with empty names",
       [](CadFixture& f) {
         f.pads.push_back("U1,S,,0,3,1,1,0,0,1,0,0;");
         f.pads.push_back("U1,S,,0,4,1,1,0,0,1,0,0;");
       },
       [](const CDravonDoc& d) {
         EXPECT_EQ(d.netNames, (std::vector<std::string>{"GND", "VCC", "", ""}));
         EXPECT_EQ(d.pads[3].net, 2);
         EXPECT_EQ(d.pads[4].net, 3);
       }},
      {"vias and lines never add nets",
       [](CadFixture& f) {
         f.vias = {"NEWNET,0,12,<(0,1,1,1,2,4)>;"};
         f.lines.push_back("NEWNET,1,5,0,0,<(1,1,2,2)>;");
       },
       [](const CDravonDoc& d) {
         EXPECT_EQ(d.vias[0].net, -1);
         EXPECT_EQ(d.lines.back().net, -1);
         EXPECT_EQ(d.netNames.size(), 2u);
       }},
      {"TP and SHOT devices are skipped and their pads own nothing",
       [](CadFixture& f) {
         f.devices.push_back("TP12,1,1,1,0,0,0,10,0,0;");
         f.devices.push_back("SHOT3,1,1,1,0,0,0,0,0,0;");
         f.pads.push_back("TP12,S,GND,0,1,1,1,0,0,1,0,0;");
         f.pads.push_back(",S,GND,0,1,1,1,0,0,1,0,0;");
       },
       [](const CDravonDoc& d) {
         EXPECT_EQ(d.devices.size(), 2u);
         EXPECT_EQ(d.pads[3].device, -1);
         EXPECT_EQ(d.pads[4].device, -1);
       }},
      {"device names are cut to five, so the first of two alike owns the pads",
       [](CadFixture& f) {
         f.devices.push_back("CONN12,1,1,1,0,0,0,10,0,0;");
         f.devices.push_back("CONN19,1,1,1,0,0,0,10,0,0;");
         f.pads.push_back("CONN19,S,GND,0,1,1,1,0,0,1,0,0;");
       },
       [](const CDravonDoc& d) {
         EXPECT_EQ(d.devices[3].name, "CONN1");
         EXPECT_EQ(d.pads[3].device, 2);
       }},
      {"3,1,<( makes an outline segment on any layer; a blank between does not",
       [](CadFixture& f) {
         f.lines.push_back("X,9,10,3,1,<(0,0,1,1)>;");
         f.lines.push_back("X,1,10,3, 1,<(0,0,1,1)>;");
       },
       [](const CDravonDoc& d) {
         EXPECT_EQ(d.outlineLines.size(), 4u);
         EXPECT_EQ(d.lines.size(), 2u);
       }},
      {"signal lines above layerCount are dropped",
       [](CadFixture& f) {
         f.lines.push_back("GND,2,5,0,0,<(0,0,1,1)>;");
         f.lines.push_back("GND,3,5,0,0,<(0,0,1,1)>;");
       },
       [](const CDravonDoc& d) {
         ASSERT_EQ(d.lines.size(), 2u);
         EXPECT_EQ(d.lines[1].layer, 2);
       }},
      {"numbers are cut to their field: 70000 in 16 bits, 300 in 8 bits",
       [](CadFixture& f) { f.testPoints = {"TP1,GND,70000,-5x,300,0;"}; },
       [](const CDravonDoc& d) {
         EXPECT_EQ(d.testPoints[0].x, static_cast<int16_t>(70000 - 30));
         EXPECT_EQ(d.testPoints[0].y, -5 - 40);
         EXPECT_EQ(d.testPoints[0].layer, static_cast<int8_t>(300));
       }},
      {"a field with no comma after it reads as 0, and so do the rest",
       [](CadFixture& f) { f.testPoints = {"TP1,GND,100,200"}; },
       [](const CDravonDoc& d) {
         EXPECT_EQ(d.testPoints[0].x, 100 - 30);
         EXPECT_EQ(d.testPoints[0].y, 0 - 40);
       }},
      {"a shape record over three lines is joined; type 1 keeps its first pair",
       [](CadFixture& f) {
         f.shapes = {"1,P,A,1,0,<(30,", "20),(99,", "99)>;", "10,B,A,1,0,<(8,6)>;",
                     "4,V,A,-1,0,<(1,2),(3,4),(5,6)>;"};
       },
       [](const CDravonDoc& d) {
         ASSERT_EQ(d.shapes.size(), 3u);
         EXPECT_EQ(d.shapes[0].values, (std::vector<ShapePair>{{30, 20}}));
         EXPECT_EQ(d.shapes[2].values, (std::vector<ShapePair>{{1, 2}, {3, 4}, {5, 6}}));
       }},
      {"a padstack keeps its layer-1 and layer-layerCount members, not inner ones",
       [](CadFixture& f) {
         f.devices[0] = "U1,120,210,1,0,0,0,50,0,0;";
         f.devices.push_back("U9,1,1,3,0,0,0,10,0,0;");  // layerCount 3
         f.shapes.push_back("50,PS,A,-2,3,<(0,51),(0,52),(0,53)>;");
         f.shapes.push_back("51,F,A,1,0,<(4,4)>;");
         f.shapes.push_back("52,I,A,1,0,<(4,4)>;");
         f.shapes.push_back("53,B,A,1,0,<(4,4)>;");
         f.shapes.push_back("60,UNUSED,A,1,0,<(4,4)>;");
       },
       [](const CDravonDoc& d) {
         std::vector<int32_t> kept;
         for (const CShape& s : d.shapes) kept.push_back(s.index);
         EXPECT_EQ(kept, (std::vector<int32_t>{1, 4, 10, 50, 51, 53}));
       }},
      {"a card without outline takes its rectangle from the positions it holds",
       [](CadFixture& f) { f.lines = {"GND,1,8,0,0,<(110,210,300,400)>;"}; },
       [](const CDravonDoc& d) {
         EXPECT_TRUE(d.outlineLines.empty());
         EXPECT_EQ(d.originX, 100 - 20);  // the test point at x 100 is the leftmost
         EXPECT_EQ(d.imageRect, (CardRect{0, 0, 300 + 40 - 80, 400 + 40 - 180}));
       }},
      {"a card without devices is read as one-sided",
       [](CadFixture& f) {
         f.devices.clear();
         f.lines.push_back("GND,2,5,0,0,<(0,0,1,1)>;");
       },
       [](const CDravonDoc& d) {
         EXPECT_EQ(d.layerCount, 1);
         EXPECT_EQ(d.lines.size(), 1u);
         EXPECT_EQ(d.pads[0].device, -1);
       }},
      {"blank lines between shape records and at the end are passed over",
       [](CadFixture& f) {
         f.shapes = {"1,P,A,1,0,<(30,20)>;", "", "10,B,A,1,0,<(8,6)>;", ""};
       },
       [](const CDravonDoc& d) { EXPECT_EQ(d.shapes.size(), 2u); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CadFixture fixture;
    c.edit(fixture);
    auto converted = convert(fixture.text());
    ASSERT_TRUE(converted->ok);
    c.check(converted->doc);
  }
}

TEST(CadExportReader, DeviceShapeZeroStopsWithTheNotFoundMessage) {
  CadFixture fixture;
  fixture.devices.insert(fixture.devices.begin() + 1, "U12,5,5,1,0,0,0,0,0,0;");
  auto c = convert(fixture.text());
  EXPECT_FALSE(c->ok);
  EXPECT_EQ(c->frame.messages, (std::vector<std::string>{"[U12  ] Not Found "}));
  EXPECT_EQ(c->frame.statusTexts.back(), "[U12  ] Not Found ");
  EXPECT_EQ(c->doc.devices.size(), 1u) << "nothing after the failing device is read";
  EXPECT_TRUE(c->doc.vias.empty());
}

TEST(CadExportReader, AFileThatEndsEarlyFails) {
  const std::string whole = CadFixture{}.text();
  struct Case {
    const char* why;
    std::string text;
  };
  std::vector<Case> cases = {
      {"empty file", ""},
      {"no field-list lines at all", "$H nothing here\r\n"},
      {"inside the test points", whole.substr(0, whole.find("$D PCPAD"))},
      {"before the device end line", whole.substr(0, whole.find("$D PCVIA"))},
      {"inside a shape record", whole.substr(0, whole.rfind(';')) + "\r\n"},
      {"an end line with a trailing blank does not end the section",
       [&] {
         std::string t = whole;
         t.replace(t.find("$D PCDEVICE"), 11, "$D PCDEVICE ");
         return t;
       }()},
  };
  // Every cut of the file before its last record ends in failure, never in a hang or a crash.
  const std::size_t lastFieldList = whole.find(kShapeFields) + kShapeFields.size();
  for (std::size_t cut = 0; cut < lastFieldList; cut += 7) {
    cases.push_back({"cut", whole.substr(0, cut)});
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why + std::string(" / ") + std::to_string(c.text.size()));
    auto converted = convert(c.text);
    EXPECT_FALSE(converted->ok);
    // A cut inside a device record leaves its DEVSHP empty, which is the one message.
    if (std::string_view(c.why) != "cut") {
      EXPECT_TRUE(converted->frame.messages.empty());
      EXPECT_EQ(converted->frame.statusTexts.back(), kCadEndsEarly);
    }
  }
  EXPECT_TRUE(convert(whole)->ok) << "the whole file is fine";
}

TEST(CadExportReader, MoreNetsThanAPadCanNameFail) {
  // A pad keeps its net in 16 bits: net 32768 would wrap to a negative index.
  CadFixture fixture;
  for (int n = 0; n < 32767; ++n) {  // with GND and VCC: 32769 nets
    fixture.pads.push_back("U1,S,N" + std::to_string(n) + ",0,1,1,1,0,0,1,0,0;");
  }
  auto c = convert(fixture.text());
  EXPECT_FALSE(c->ok);
  EXPECT_EQ(c->frame.statusTexts.back(), kCadTooLarge);
  fixture.pads.pop_back();
  EXPECT_TRUE(convert(fixture.text())->ok) << "32768 nets, the last one 32767, still fit";
}

TEST(CadExportReader, LinesBeforeAFieldListAreSkippedUnread) {
  std::string text = CadFixture{}.text();
  text.insert(text.find("$D PCVIA\r\n") + 10, "junk\r\nGND,0,1,<(0,1,1,1,2,4)>;\r\n");
  auto c = convert(text);
  ASSERT_TRUE(c->ok);
  EXPECT_EQ(c->doc.vias.size(), 1u);
}

TEST(CadExportReader, LfOnlyLineEndsReadTheSame) {
  std::string text = CadFixture{}.text();
  std::erase(text, '\r');
  auto c = convert(text);
  ASSERT_TRUE(c->ok);
  EXPECT_EQ(c->doc.outlineLines.size(), 3u);
}

TEST(CadExportReader, AMissingFileFailsWithoutAMessage) {
  CDravonDoc doc;
  RecordingFrame frame;
  frame.attach(doc);
  EXPECT_FALSE(readCadExport(doc, "/nonexistent/dravon/card.DCA"));
  EXPECT_TRUE(frame.messages.empty());
}

}  // namespace
}  // namespace dravon

namespace dravon {
namespace {

// The committed demo card must convert, with every section and every kind of shape in use.
TEST(SampleCard, TheDemoCardConverts) {
  const std::string samples = std::string(TEST_SOURCE_DIR) + "/../../samples/";
  std::string list;
  ASSERT_TRUE(readWholeFile(samples + "demo.lst", list));
  CDravonDoc doc;
  CardHost host;
  readPartsList(doc, list, host);
  ASSERT_TRUE(readCadExport(doc, samples + "demo.DCA"));
  EXPECT_EQ(doc.cardName, "DEMO CONTROLLER CARD");
  EXPECT_EQ(doc.listEntries.size(), doc.devices.size());
  EXPECT_EQ(doc.layerCount, 4);
  EXPECT_EQ(doc.outlineLines.size(), 4u);
  EXPECT_FALSE(doc.testPoints.empty() || doc.pads.empty() || doc.vias.empty());
  std::set<int> layers;
  for (const CLine& l : doc.lines) layers.insert(l.layer);
  EXPECT_EQ(layers, (std::set<int>{1, 2, 3, 4}));
  std::set<int> types;
  for (const CShape& s : doc.shapes) types.insert(s.type);
  EXPECT_EQ(types, (std::set<int>{-4, -2, -1, 1, 2}));
  std::set<char> kinds;
  std::set<int> sides;
  for (const CDev& d : doc.devices) kinds.insert(d.name[0]), sides.insert(d.layer);
  EXPECT_EQ(kinds, (std::set<char>{'C', 'J', 'R', 'U'}));
  EXPECT_EQ(sides, (std::set<int>{1, 4}));
  int notAssembled = 0;
  for (const CDev& d : doc.devices) notAssembled += d.notAssembled;
  EXPECT_GT(notAssembled, 0);
  for (const CPad& p : doc.pads) EXPECT_GE(p.device, 0);
}

}  // namespace
}  // namespace dravon
