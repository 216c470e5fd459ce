#include <gtest/gtest.h>

#include "dravon/card/card_doc.h"
#include "dravon/tests/card_test_support.h"

namespace dravon {
namespace {

CDev device(const std::string& name, int32_t shape = 1) {
  CDev d;
  d.name = padName(name, 5);
  d.shape = shape;
  return d;
}

CShape shape(int32_t index, int8_t type, std::vector<ShapePair> values = {}) {
  return CShape{index, type, std::move(values)};
}

TEST(CardLookups, FindDeviceComparesFivePaddedCharacters) {
  CDravonDoc doc;
  doc.devices = {device("U3"), device("U1234"), device("U3")};
  struct Case {
    const char* why;
    std::string name;
    int expected;
  };
  for (const Case& c : {
           Case{"short names are padded with blanks", "U3", 0},
           Case{"the first of equal names wins", "U3   ", 0},
           Case{"longer names are cut to five", "U1234567", 1},
           Case{"no blanks are trimmed from the query", " U3", -1},
           Case{"names compare case-sensitively", "u3", -1},
           Case{"an empty name finds nothing", "", -1},
       }) {
    SCOPED_TRACE(c.why);
    EXPECT_EQ(doc.findDevice(c.name), c.expected);
  }
}

TEST(CardLookups, FindListEntryFallsBackToTheFirstEntry) {
  CDravonDoc doc;
  doc.listEntries = {{1, "R1   ", "", "", 0}, {0, "C7   ", "", "", 0}};
  EXPECT_EQ(doc.findListEntry("C7"), 1);
  EXPECT_EQ(doc.findListEntry("X9"), 0);
  EXPECT_EQ(doc.findListEntry(""), -1);
  EXPECT_EQ(doc.notAssembledOf("X9"), 1) << "a missing name takes entry 0's flag";
  doc.listEntries.clear();
  EXPECT_EQ(doc.notAssembledOf("X9"), 0) << "no entries: no entry 0 to read";
}

TEST(CardLookups, FindNetAndFindPadNet) {
  CDravonDoc doc;
  doc.netNames = {"", "GND", "VCC", "GND"};
  EXPECT_EQ(doc.findNet("GND"), 1);
  EXPECT_EQ(doc.findNet(""), -1) << "even though net 0 has the empty name";
  EXPECT_EQ(doc.findNet("GND "), -1) << "no blanks are added to net names";

  doc.devices = {device("U1"), device("R2")};
  CPad a;
  a.device = 1, a.pin = 2, a.net = 2;
  CPad b;
  b.device = 1, b.pin = 2, b.net = 3;
  CPad orphan;
  orphan.device = -1, orphan.pin = 2, orphan.net = 1;
  doc.pads = {orphan, a, b};
  EXPECT_EQ(doc.findPadNet("R2", 2), 2) << "first pad of the device with that pin";
  EXPECT_EQ(doc.findPadNet("R2", 3), -1);
  EXPECT_EQ(doc.findPadNet("Q9", 2), -1) << "an unknown device is not the pads' -1";
  EXPECT_EQ(doc.findShape(5), -1);
}

TEST(MarkShapeUsed, KeepsTheFrontAndBackMembersOfPadstacks) {
  struct Case {
    const char* why;
    std::vector<CShape> shapes;
    int32_t layerCount;
    int32_t start;
    std::vector<bool> used;
  };
  const std::vector<Case> cases = {
      {"a plain shape marks itself", {shape(1, 1), shape(2, 1)}, 4, 2, {false, true}},
      {"a padstack marks layer 1 and layer layerCount, not inner layers",
       {shape(5, -2, {{0, 1}, {0, 2}, {0, 3}}), shape(1, 1), shape(2, 1), shape(3, 1)},
       3,
       5,
       {true, true, false, true}},
      {"fewer pairs than layerCount: only the front member",
       {shape(5, -2, {{0, 1}, {0, 2}}), shape(1, 1), shape(2, 1)},
       3,
       5,
       {true, true, false}},
      {"a back member of 0 means none",
       {shape(5, -2, {{0, 1}, {0, 0}}), shape(1, 1)},
       2,
       5,
       {true, true}},
      {"padstacks inside padstacks are followed",
       {shape(5, -2, {{0, 6}, {0, 0}}), shape(6, -2, {{0, 1}, {0, 2}}), shape(1, 1), shape(2, 1)},
       2,
       5,
       {true, true, true, true}},
      {"a padstack naming itself ends",
       {shape(5, -2, {{0, 5}, {0, 5}}), shape(1, 1)},
       2,
       5,
       {true, false}},
      {"two padstacks naming each other end",
       {shape(5, -2, {{0, 6}, {0, 6}}), shape(6, -2, {{0, 5}, {0, 5}})},
       2,
       5,
       {true, true}},
      {"a padstack without pairs marks only itself",
       {shape(5, -2), shape(1, 1)},
       2,
       5,
       {true, false}},
      {"an unknown index marks nothing", {shape(1, 1)}, 2, 9, {false}},
      {"the first of two equal keys is marked", {shape(1, 1), shape(1, 2)}, 2, 1, {true, false}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    CDravonDoc doc;
    doc.shapes = c.shapes;
    doc.layerCount = c.layerCount;
    std::vector<bool> used(doc.shapes.size(), false);
    doc.markShapeUsed(c.start, used);
    EXPECT_EQ(used, c.used);
    std::vector<bool> indexed(doc.shapes.size(), false);
    doc.markShapeUsed(c.start, indexed, ShapeIndex(doc.shapes));
    EXPECT_EQ(indexed, c.used) << "the indexed lookup must agree";
  }
}

TEST(NetMarkup, NoConnectNetsAndSupplyColours) {
  CDravonDoc doc;
  doc.netNames = {"SIG.NC.1", "GND_VCC", "VCC5", "DATA"};
  doc.markedNets = {{0}};
  EXPECT_EQ(doc.isNetMarked(0), 1) << "alone, a no-connect net is marked";
  EXPECT_EQ(doc.netMarkColor(0), std::nullopt);
  EXPECT_EQ(doc.isNetMarked(3), 0);

  doc.markedNets = {{0}, {1}, {2}, {3}};
  EXPECT_EQ(doc.isNetMarked(0), 0) << "with several marked nets it is not";
  EXPECT_EQ(doc.isNetMarked(3), 1);
  EXPECT_EQ(doc.netMarkColor(1), kGroundColour) << "GND is tested before VCC";
  EXPECT_EQ(doc.netMarkColor(2), kSupplyColour);
  EXPECT_EQ(doc.netMarkColor(3), std::nullopt);
  EXPECT_EQ(doc.isNetMarked(-1), 0);
  EXPECT_EQ(doc.netMarkColor(99), std::nullopt) << "an index outside the names has no name";

  doc.clearMarkedNets();
  EXPECT_TRUE(doc.markedNets.empty());
}

TEST(CardTexts, ComponentAndPinLines) {
  CDravonDoc doc;
  doc.listEntries = {{0, "U12  ", "3310-08", "IC MCU 32BIT QFP         ", 7}};
  EXPECT_EQ(doc.componentText(0), "U12   IC MCU 32BIT QFP          3310-08 p7");
  EXPECT_EQ(doc.componentText(1), "");

  doc.netNames = {"GND", "CLK"};
  CPad pad;
  pad.pin = 5, pad.net = 1;
  CPad wide;
  wide.pin = -1234, wide.net = 0;
  CPad loose;
  loose.pin = 1, loose.net = -1;
  doc.pads = {pad, wide, loose};
  doc.foundName = "U12  ";
  EXPECT_EQ(doc.pinText(0), "U12  .  5 CLK");
  EXPECT_EQ(doc.pinText(1), "U12  .-1234 GND") << "%3d widens, never cuts";
  EXPECT_EQ(doc.pinText(2), "U12  .  1 ") << "a net index -1 names no net";
}

TEST(CardModel, ClearModelKeepsNameSelectionAndFrame) {
  CDravonDoc doc;
  doc.cardName = "CARD";
  doc.foundIndex = 4;
  doc.imageRect = {0, 0, 10, 20};
  doc.layerCount = 4;
  doc.listEntries.resize(2);
  doc.devices.resize(1);
  doc.pads.resize(1);
  doc.vias.resize(1);
  doc.lines.resize(1);
  doc.outlineLines.resize(1);
  doc.shapes.resize(1);
  doc.testPoints.resize(1);
  doc.pdfLinks.resize(1);
  doc.netNames.resize(1);
  doc.markedNets.resize(1);
  doc.clearModel();
  EXPECT_TRUE(doc.listEntries.empty() && doc.devices.empty() && doc.pads.empty() &&
              doc.vias.empty() && doc.lines.empty() && doc.outlineLines.empty() &&
              doc.shapes.empty() && doc.testPoints.empty() && doc.pdfLinks.empty() &&
              doc.netNames.empty() && doc.markedNets.empty());
  EXPECT_EQ(doc.cardName, "CARD");
  EXPECT_EQ(doc.foundIndex, 4);
  EXPECT_EQ(doc.imageRect, (CardRect{0, 0, 10, 20}));
  EXPECT_EQ(doc.layerCount, 4);
}

}  // namespace
}  // namespace dravon
