#include "plexaro/board/board_tables.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "plexaro/tests/board_test_support.h"

namespace plexaro {
namespace {

using testing::RecordingMessages;

// Tables filled by hand: pins with their nets, parts with their first pins.
std::unique_ptr<BoardTables> makeTables(const std::vector<int32_t>& pinNets,
                                        const std::vector<std::pair<std::string, int32_t>>& parts,
                                        const std::vector<int32_t>& nailNets = {}) {
  auto t = std::make_unique<BoardTables>();
  t->loaded = true;
  t->netCount = 9;
  for (int i = 1; i <= 9; ++i) t->nets[i].name.assign("NET" + std::to_string(i));
  t->pinCount = static_cast<int32_t>(pinNets.size());
  for (std::size_t p = 0; p < pinNets.size(); ++p) t->pins[p].net = pinNets[p];
  t->partCount = static_cast<int32_t>(parts.size());
  for (std::size_t q = 0; q < parts.size(); ++q) {
    t->parts[q].name.assign(parts[q].first);
    t->parts[q].firstPin = parts[q].second;
  }
  t->nailCount = static_cast<int32_t>(nailNets.size());
  for (std::size_t n = 0; n < nailNets.size(); ++n) t->nails[n].net = nailNets[n];
  indexPinOwners(*t);
  return t;
}

TEST(NetName, OutsideTheLoadedNetsIsEmpty) {
  auto t = makeTables({}, {});
  t->netCount = 2;
  EXPECT_EQ(netName(*t, 1), "NET1");
  EXPECT_EQ(netName(*t, 2), "NET2");
  for (int32_t net : {0, 3, 9999, 10000, -7, INT32_MIN}) {
    SCOPED_TRACE(net);
    EXPECT_EQ(netName(*t, net), "");
  }
}

TEST(ClearAllMarks, ClearsEntriesBelowTheCountsOnly) {
  auto t = makeTables({1, 1, 1}, {{"U1", 0}}, {1, 1});
  for (auto* pin : {&t->pins[0], &t->pins[1], &t->pins[2]}) *pin = {0, 0, 1, 1, 2, true};
  t->pinCount = 2;  // the third pin lies beyond the count
  t->parts[0].marked = t->parts[1].marked = true;
  t->nails[0] = t->nails[1] = {5, 1, 3, 0, 0, 1, true};
  t->nailCount = 1;

  clearAllMarks(*t);

  EXPECT_FALSE(t->pins[1].marked);
  EXPECT_EQ(t->pins[1].markSlot, 0);
  EXPECT_TRUE(t->pins[2].marked);
  EXPECT_EQ(t->pins[2].markSlot, 2);
  EXPECT_FALSE(t->parts[0].marked);
  EXPECT_TRUE(t->parts[1].marked);
  EXPECT_FALSE(t->nails[0].marked);
  EXPECT_EQ(t->nails[0].markSlot, 0);
  EXPECT_TRUE(t->nails[1].marked);
}

TEST(FindPinPart, FindsTheLastPartWhoseRangeHoldsThePin) {
  struct Case {
    const char* why;
    std::vector<std::pair<std::string, int32_t>> parts;
    int32_t pin;
    int32_t part;
    int32_t number;
  };
  const std::vector<Case> cases = {
      {"first pin of the first part", {{"U1", 0}, {"R1", 4}}, 0, 0, 1},
      {"inside the first part", {{"U1", 0}, {"R1", 4}}, 3, 0, 4},
      {"the last part owns up to pinCount", {{"U1", 0}, {"R1", 4}}, 9, 1, 6},
      {"a pin before the first part has no owner", {{"U1", 2}, {"R1", 4}}, 1, -1, 0},
      {"no parts, no owner", {}, 0, -1, 0},
      {"index outside the pins has no owner", {{"U1", 0}}, 10, -1, 0},
      {"negative index has no owner", {{"U1", 0}}, -1, -1, 0},
      // Ranges come from the file unchecked: a later part's range may hold the pin again.
      {"overlapping ranges: the last part wins", {{"U1", 0}, {"R1", 8}, {"R2", 2}}, 5, 2, 4},
      {"a first pin beyond the pins gives an empty range", {{"U1", 0}, {"R1", 50}}, 9, 0, 10},
      {"a negative first pin", {{"U1", -3}, {"R1", 2}}, 0, 0, 4},
      {"a first pin of -2^31 wraps instead of overflowing",
       {{"U1", INT32_MIN}},
       5,
       0,
       static_cast<int32_t>(5u + 2147483648u + 1u)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    auto t = makeTables(std::vector<int32_t>(10, 1), c.parts);
    const PinOwner owner = findPinPart(*t, c.pin);
    EXPECT_EQ(owner.part, c.part);
    if (c.part >= 0) {
      EXPECT_EQ(owner.pinNumber, c.number);
    }
  }
}

TEST(FindFirstPinPart, FindsTheFirstOwnerWhereRangesOverlap) {
  auto t = makeTables(std::vector<int32_t>(10, 1), {{"U1", 0}, {"R1", 8}, {"R2", 2}});
  EXPECT_EQ(findFirstPinPart(*t, 5).part, 0);
  EXPECT_EQ(findFirstPinPart(*t, 5).pinNumber, 6);
  EXPECT_EQ(findFirstPinPart(*t, 9).part, 2);
  EXPECT_EQ(findFirstPinPart(*t, 10).part, -1);
}

TEST(FindPinPart, RangesTooOverlappedForTheIndexGiveTheSameAnswers) {
  // Every other part claims all 100 pins: 500 x 100 owners, more than the index holds.
  std::vector<std::pair<std::string, int32_t>> parts;
  for (int q = 0; q < 1000; ++q) parts.emplace_back("P" + std::to_string(q), q % 2 ? 100 : 0);
  auto t = makeTables(std::vector<int32_t>(100, 1), parts);
  ASSERT_FALSE(t->pinOwners.valid);
  const PinOwner owner = findPinPart(*t, 42);
  EXPECT_EQ(owner.part, 998);
  EXPECT_EQ(owner.pinNumber, 43);
}

TEST(MarkNet, MarksPinsPartsAndNailsAndListsPartPins) {
  // Pins 0-2 belong to U1, 3-4 to R1; net 2 is on pins 1 and 3 and on the second nail.
  auto t = makeTables({1, 2, 1, 2, 1}, {{"U1", 0}, {"R1", 3}}, {1, 2});
  ViewerState state{};
  state.listNet = 2;
  state.currentMarkSlot = 3;
  state.messageLine.assign("$7 ,Net #2 NET2 ");
  RecordingMessages messages;

  markNet(*t, state, messages);

  ASSERT_EQ(messages.lines.size(), 1u);
  EXPECT_EQ(messages.lines[0], "$7 ,Net #2 NET2  %U1.2,R1.1,");
  EXPECT_EQ(state.listCount, 2);
  for (int p : {1, 3}) {
    EXPECT_TRUE(t->pins[p].marked);
    EXPECT_EQ(t->pins[p].markSlot, 3);
  }
  EXPECT_FALSE(t->pins[0].marked);
  EXPECT_TRUE(t->parts[0].marked && t->parts[1].marked);
  EXPECT_FALSE(t->nails[0].marked);
  EXPECT_TRUE(t->nails[1].marked);
  EXPECT_EQ(t->nails[1].markSlot, 3);
}

TEST(MarkNet, EdgeCases) {
  RecordingMessages messages;
  {
    SCOPED_TRACE("no parts: pins and nails are marked, the line still gets its marker");
    auto t = makeTables({4, 4}, {}, {4});
    ViewerState state{};
    state.listNet = 4;
    state.messageLine.assign("x");
    markNet(*t, state, messages);
    EXPECT_EQ(messages.lines.back(), "x %");
    EXPECT_TRUE(t->pins[0].marked && t->pins[1].marked && t->nails[0].marked);
  }
  {
    SCOPED_TRACE("listNet 0 adds the line unchanged and marks nothing");
    auto t = makeTables({0, 0}, {{"U1", 0}});
    ViewerState state{};
    state.messageLine.assign("Search $5 ");
    markNet(*t, state, messages);
    EXPECT_EQ(messages.lines.back(), "Search $5 ");
    EXPECT_FALSE(t->pins[0].marked);
  }
  {
    SCOPED_TRACE("no board loaded: nothing at all");
    auto t = makeTables({1}, {{"U1", 0}});
    t->loaded = false;
    ViewerState state{};
    state.listNet = 1;
    const std::size_t before = messages.lines.size();
    markNet(*t, state, messages);
    EXPECT_EQ(messages.lines.size(), before);
    EXPECT_FALSE(t->pins[0].marked);
  }
}

TEST(MarkNet, ListsTwentyOneEntriesThenDots) {
  struct Case {
    const char* why;
    int pins;
    int listed;
    bool dots;
  };
  for (const Case& c : {Case{"twenty entries fit", 20, 20, false},
                        Case{"the twenty-first entry still fits, then the dots", 21, 21, true},
                        Case{"thirty pins: twenty-one listed", 30, 21, true}}) {
    SCOPED_TRACE(c.why);
    std::vector<std::pair<std::string, int32_t>> parts;
    for (int q = 0; q < c.pins; ++q) parts.emplace_back("R" + std::to_string(q + 1), q);
    auto t = makeTables(std::vector<int32_t>(c.pins, 5), parts);
    ViewerState state{};
    state.listNet = 5;
    RecordingMessages messages;
    markNet(*t, state, messages);
    const std::string& line = messages.lines.at(0);
    EXPECT_EQ(std::count(line.begin(), line.end(), ','), c.listed);
    EXPECT_EQ(line.ends_with("........"), c.dots);
    for (int q = 0; q < c.pins; ++q) EXPECT_TRUE(t->parts[q].marked) << q;
  }
}

TEST(MarkNet, ALineLongerThanItsFieldIsCutAt399Characters) {
  std::vector<std::pair<std::string, int32_t>> parts;
  for (int q = 0; q < 25; ++q) parts.emplace_back("LONG_PART_NAME_" + std::to_string(1000 + q), q);
  auto t = makeTables(std::vector<int32_t>(25, 1), parts);
  ViewerState state{};
  state.listNet = 1;
  state.messageLine.assign("$123 ,Net #1 NET1 ");
  RecordingMessages messages;
  markNet(*t, state, messages);
  EXPECT_EQ(messages.lines.at(0).size(), 399u);
  EXPECT_TRUE(messages.lines[0].starts_with("$123 ,Net #1 NET1  %LONG_PART_NAME_1000.1,"));
  EXPECT_EQ(state.listCount, 21);
}

// What markNet must produce, by the plain pins x parts scan.
struct Marking {
  std::string line;
  std::vector<bool> pins, parts;
  bool operator==(const Marking&) const = default;
};
Marking markByScan(const BoardTables& t, int32_t net) {
  Marking m{" %", std::vector<bool>(t.pinCount), std::vector<bool>(t.partCount)};
  int listed = 0;
  for (int32_t p = 0; p < t.pinCount; ++p) {
    if (t.pins[p].net != net) continue;
    m.pins[p] = true;
    for (int32_t q = 0; q < t.partCount; ++q) {
      const int32_t end = q + 1 < t.partCount ? t.parts[q + 1].firstPin : t.pinCount;
      if (t.parts[q].firstPin <= p && p < end) {
        m.parts[q] = true;
        if (listed++ <= 20) {
          m.line += std::string(t.parts[q].name.view()) + "." +
                    std::to_string(p - t.parts[q].firstPin + 1) + ",";
        }
      }
    }
  }
  if (listed > 20) m.line += "........";
  return m;
}

TEST(MarkNet, IndexedMarkingEqualsThePlainScanOnScrambledRanges) {
  std::mt19937 random{11};
  for (int round = 0; round < 40; ++round) {
    SCOPED_TRACE(round);
    const int pinCount = 1 + static_cast<int>(random() % 60);
    const int partCount = static_cast<int>(random() % 12);
    std::vector<int32_t> nets(pinCount);
    for (auto& n : nets) n = 1 + static_cast<int32_t>(random() % 3);
    std::vector<std::pair<std::string, int32_t>> parts;
    for (int q = 0; q < partCount; ++q) {
      // Mostly ascending ranges, with backward jumps and out-of-range values mixed in.
      parts.emplace_back("P" + std::to_string(q),
                         static_cast<int32_t>(random() % (pinCount + 10)) - 5);
    }
    auto t = makeTables(nets, parts);
    const Marking expected = markByScan(*t, 2);
    ViewerState state{};
    state.listNet = 2;
    RecordingMessages messages;
    markNet(*t, state, messages);
    Marking got{messages.lines.at(0), {}, {}};
    for (int p = 0; p < pinCount; ++p) got.pins.push_back(t->pins[p].marked);
    for (int q = 0; q < partCount; ++q) got.parts.push_back(t->parts[q].marked);
    EXPECT_EQ(got, expected);
  }
}

}  // namespace
}  // namespace plexaro
