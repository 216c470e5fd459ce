#include "plexaro/display/board_renderer.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <string>

#include "plexaro/display/view_transform.h"
#include "plexaro/tests/recording_canvas.h"

namespace plexaro {
namespace {

using testing::DrawCall;
using testing::DrawOp;
using testing::FakeBoardArea;
using testing::RecordingCanvas;
using testing::RecordingStatusBar;

constexpr int kWidth = 200;
constexpr int kHeight = 100;

// A loaded, empty board seen unturned from the top at scale 1 with no offsets, so a board
// point is its own pixel for everything mapped plain, and (x, 100 - y) for everything mirrored.
// The font is 10 points: height -13.
class BoardRendererTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tables->loaded = true;
    view.scale = 1.0f;
    view.currentSide = 1;
    view.extentX = 400;
    view.extentY = 100;
    canvas.setFontSize(10);
  }

  void addOutline(int32_t x, int32_t y) { tables->outline[tables->outlineCount++] = {x, y}; }
  PartEntry& addPart(const char* name, int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                     int32_t side = 1, int32_t firstPin = 0) {
    PartEntry& part = tables->parts[tables->partCount++];
    part = {};
    part.name.assign(name);
    part.x1 = x1;
    part.y1 = y1;
    part.x2 = x2;
    part.y2 = y2;
    part.firstPin = firstPin;
    part.side = side;
    return part;
  }
  PinEntry& addPin(int32_t x, int32_t y, int32_t side = 1) {
    PinEntry& pin = tables->pins[tables->pinCount++];
    pin = {x, y, 1, side, 0, false};
    return pin;
  }
  NailEntry& addNail(int32_t number, int32_t x, int32_t y, int32_t side = 1) {
    NailEntry& nail = tables->nails[tables->nailCount++];
    nail = {number, 1, 0, x, y, side, false};
    return nail;
  }

  std::vector<DrawCall> draw() {
    indexPinOwners(*tables);
    canvas.clear();
    renderer.drawBoard(*tables, view, state);
    return canvas.calls();
  }

  std::unique_ptr<BoardTables> tables = std::make_unique<BoardTables>();
  ViewTransform view{};
  ViewerState state{};
  RecordingCanvas canvas;
  FakeBoardArea area{kWidth, kHeight};
  RecordingStatusBar status;
  BoardRenderer renderer{canvas, area, status};
};

TEST_F(BoardRendererTest, DrawsNothingWithoutABoard) {
  tables->loaded = false;
  addPin(50, 50);
  EXPECT_TRUE(draw().empty());
  EXPECT_TRUE(status.panels.empty());
}

TEST_F(BoardRendererTest, PaintsBackgroundOutlinePartsPinsAndNailsInThatOrder) {
  // Added in reverse, so the order drawn is the renderer's and not the setup's.
  addNail(7, 150, 50);
  addPin(100, 50);
  addPart("U1", 40, 40, 60, 60);
  addOutline(10, 190);
  addOutline(190, 190);
  view.cosA = view.sinA = view.cosB = view.sinB = 0.5f;  // stale: refreshed from the angle

  const auto calls = draw();
  ASSERT_EQ(calls.size(), 5u);
  EXPECT_EQ(calls[0].op, DrawOp::FillRect);
  EXPECT_EQ(calls[0].rect, (PixelRect{0, 0, kWidth, kHeight}));
  EXPECT_EQ(calls[0].brush, kBlack);

  EXPECT_EQ(calls[1].op, DrawOp::Polyline);
  EXPECT_EQ(calls[1].pen, kRed);
  EXPECT_EQ(calls[1].penWidth, 1);
  EXPECT_EQ(calls[1].penStyle, PenStyle::Solid);

  EXPECT_EQ(calls[2].op, DrawOp::FrameRect);
  EXPECT_EQ(calls[2].brush, kTeal);

  EXPECT_EQ(calls[3].op, DrawOp::Ellipse);
  EXPECT_EQ(calls[3].pen, kBlue);
  EXPECT_EQ(calls[3].brush, kBlack);

  EXPECT_EQ(calls[4].op, DrawOp::Ellipse);
  EXPECT_EQ(calls[4].pen, kFuchsia);
  EXPECT_EQ(calls[4].brush, kBlack);

  EXPECT_EQ(status.panels[0], "TOP");
  EXPECT_EQ(view.cosA, 1.0f);
  EXPECT_EQ(view.sinA, 0.0f);
  EXPECT_EQ(view.cosB, -1.0f);
  EXPECT_NEAR(view.sinB, 0.0f, 1e-6);
}

TEST_F(BoardRendererTest, TheSideFilterAndPinPenFollowTheViewedSide) {
  struct Case {
    int32_t currentSide;
    std::string panel;
    Rgb pinPen;
    std::vector<int32_t> partsShown, pinsShown, nailsShown;  // by their side
  };
  const Case cases[] = {
      {1, "TOP", kBlue, {1}, {0, 1}, {1}},
      {2, "BOTTOM", kGreen, {2}, {0, 2}, {2}},
      // Not reachable by the side change, but a stored value: items of side 0 match it.
      {0, "BOTTOM", kGrey, {0}, {0}, {0}},
  };
  // One of each per side, placed so the x of a pin or nail tells its side.
  for (int32_t side : {0, 1, 2}) {
    addPart("P", 20 + side, 20, 30 + side, 30, side);
    addPin(60 + side, 50, side);
    addNail(side, 80 + side, 50, side);
  }
  for (const Case& c : cases) {
    SCOPED_TRACE(c.currentSide);
    view.currentSide = c.currentSide;
    draw();
    EXPECT_EQ(status.panels[0], c.panel);
    std::vector<int32_t> parts, pins, nails;
    for (const DrawCall& call : canvas.callsOf(DrawOp::FrameRect)) {
      parts.push_back(call.rect.left);  // x1 20 + side, less the margin 20
    }
    for (const DrawCall& call : canvas.callsOf(DrawOp::Ellipse)) {
      const int32_t x = (call.rect.left + call.rect.right) / 2;
      if (x < 80) {
        pins.push_back(x - 60);
        EXPECT_EQ(call.pen, c.pinPen);
      } else {
        nails.push_back(x - 80);
        EXPECT_EQ(call.pen, kFuchsia);
      }
    }
    EXPECT_EQ(parts, c.partsShown);
    EXPECT_EQ(pins, c.pinsShown);
    EXPECT_EQ(nails, c.nailsShown);
  }
}

TEST_F(BoardRendererTest, PinsAndNailsMustLieStrictlyInsideTheBoardArea) {
  struct Case {
    const char* why;
    int32_t x, y;
    bool drawn;
  };
  const Case cases[] = {
      {"inside", 100, 50, true},
      {"on the left edge", 0, 50, false},
      {"first column", 1, 50, true},
      {"last column", kWidth - 1, 50, true},
      {"at x = W", kWidth, 50, false},
      {"on the top edge", 100, 0, false},
      {"at y = H", 100, kHeight, false},
      {"last row", 100, kHeight - 1, true},
      {"far off", std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::min(), false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    tables->pinCount = tables->nailCount = 0;
    addPin(c.x, c.y).marked = true;
    addNail(1, c.x, c.y).marked = true;
    draw();
    // A drawn pin and nail each bring a label and a circle.
    EXPECT_EQ(canvas.callsOf(DrawOp::Ellipse).size(), c.drawn ? 2u : 0u);
    EXPECT_EQ(canvas.callsOf(DrawOp::TextOut).size(), c.drawn ? 1u : 0u) << "the pin has no part";
  }
}

TEST_F(BoardRendererTest, PartsAreTestedAgainstTheDoubledWindow) {
  struct Case {
    const char* why;
    int32_t x1, y1, x2, y2;
    bool drawn;
  };
  const Case cases[] = {
      {"inside", 40, 40, 60, 60, true},
      {"both corners at twice the window", 2 * kWidth, 2 * kHeight, 2 * kWidth, 2 * kHeight,
       false},  // although its grown rectangle would reach in
      {"first corner beyond the area but inside the doubled window", kWidth + 10, kHeight + 10,
       kWidth + 30, kHeight + 30, true},
      {"last pixel of the doubled window", 2 * kWidth - 1, 2 * kHeight - 1, 3 * kWidth, 3 * kHeight,
       true},
      {"one corner on the left edge, the other outside", 0, 50, -20, 60, false},
      {"only the second corner inside", -500, -500, 10, 10, true},
      {"corners given in reverse order", 60, 60, 40, 40, true},
      {"x inside, y of both corners above", 40, -10, 60, -5, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    tables->partCount = 0;
    addPart("U1", c.x1, c.y1, c.x2, c.y2);
    draw();
    const auto frames = canvas.callsOf(DrawOp::FrameRect);
    ASSERT_EQ(frames.size(), c.drawn ? 1u : 0u);
    if (c.drawn) {
      const int32_t m = renderer.partMargin();
      EXPECT_EQ(frames[0].rect, (PixelRect{std::min(c.x1, c.x2) - m, std::min(c.y1, c.y2) - m,
                                           std::max(c.x1, c.x2) + m, std::max(c.y1, c.y2) + m}));
    }
  }
}

TEST_F(BoardRendererTest, MarginAndRadiiFollowTheScale) {
  struct Case {
    float scale;
    int32_t margin, pinRadius, nailRadius;
  };
  const Case cases[] = {
      {0.02f, 2, 1, 0},  // both lower bounds hold; the nail radius has none
      {0.05f, 2, 1, 1}, {0.0675f, 2, 1, 1}, {0.15f, 3, 1, 3}, {0.5f, 10, 5, 10}, {1.0f, 20, 10, 20},
  };
  addPart("U1", 0, 0, 1, 1);
  addPin(0, 0);  // places are set per case, at the middle of the area
  addNail(1, 0, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.scale);
    view.scale = c.scale;
    view.offsetX = truncToInt(static_cast<double>(c.scale) * 1000 - kWidth / 2);
    view.offsetY = truncToInt(static_cast<double>(c.scale) * 1000 - kHeight / 2);
    tables->parts[0].x1 = tables->parts[0].y1 = tables->parts[0].x2 = tables->parts[0].y2 = 1000;
    tables->pins[0].x = tables->pins[0].y = 1000;
    tables->nails[0].x = tables->nails[0].y = 1000;
    draw();
    EXPECT_EQ(renderer.partMargin(), c.margin);
    EXPECT_EQ(renderer.markerRadius(), c.nailRadius) << "a redraw leaves the nail radius";
    const Pixel at = mapPoint(view, ItemKind::Pin, 1, 1000, 1000);
    const auto circles = canvas.callsOf(DrawOp::Ellipse);
    ASSERT_EQ(circles.size(), 2u);
    const int32_t r = c.pinRadius;
    const int32_t n = c.nailRadius;
    EXPECT_EQ(circles[0].rect, (PixelRect{at.x - r, at.y - r, at.x + r, at.y + r}));
    EXPECT_EQ(circles[1].rect, (PixelRect{at.x - n, at.y - n, at.x + n, at.y + n}));
  }
}

TEST_F(BoardRendererTest, MarkedPinsAndNailsTakeTheirSlotColour) {
  struct Case {
    int32_t slot;
    Rgb colour;
  };
  const Case cases[] = {
      {0, kWhite},                                      // the ask point marks without a slot
      {1, kWhite}, {2, kRed}, {3, kAqua}, {9, kWhite},  // any other slot
  };
  addPart("R7", 10, 10, 12, 12, 1, 0);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.slot);
    tables->pinCount = tables->nailCount = 0;
    addPin(100, 50);
    PinEntry& marked = addPin(120, 50);
    marked.marked = true;
    marked.markSlot = c.slot;
    addPin(140, 50);  // after the marked pin, with the side pen again
    NailEntry& nail = addNail(345, 160, 70);
    nail.marked = true;
    nail.markSlot = c.slot;
    addNail(346, 180, 70);
    draw();

    const auto texts = canvas.callsOf(DrawOp::TextOut);
    ASSERT_EQ(texts.size(), 2u);
    EXPECT_EQ(texts[0].text, "2") << "the second pin of R7";
    EXPECT_EQ(texts[0].at, (Pixel{120, 50 - 13}));
    EXPECT_EQ(texts[0].font, c.colour);
    EXPECT_EQ(texts[0].brush, kBlack);
    EXPECT_EQ(texts[1].text, "$345");
    EXPECT_EQ(texts[1].at, (Pixel{160, 70 - 26}));
    EXPECT_EQ(texts[1].font, c.colour);
    EXPECT_EQ(texts[1].brush, kBlack);

    const auto circles = canvas.callsOf(DrawOp::Ellipse);
    ASSERT_EQ(circles.size(), 5u);
    const struct {
      Rgb pen;
      Rgb brush;
    } expected[] = {{kBlue, kBlack},
                    {c.colour, c.colour},
                    {kBlue, kBlack},
                    {c.colour, c.colour},
                    {kFuchsia, kBlack}};
    for (std::size_t i = 0; i < circles.size(); ++i) {
      SCOPED_TRACE(i);
      EXPECT_EQ(circles[i].pen, expected[i].pen);
      EXPECT_EQ(circles[i].brush, expected[i].brush);
    }
  }
}

TEST_F(BoardRendererTest, AMarkedPinOfNoPartIsFilledWithoutANumber) {
  addPart("U1", 10, 10, 12, 12, 1, 1);  // its range starts at pin 1: pin 0 has no owner
  PinEntry& orphan = addPin(100, 50);
  orphan.marked = true;
  orphan.markSlot = 2;
  PinEntry& owned = addPin(150, 50);
  owned.marked = true;
  draw();
  const auto texts = canvas.callsOf(DrawOp::TextOut);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "1");
  EXPECT_EQ(texts[0].at.x, 150);
  const auto circles = canvas.callsOf(DrawOp::Ellipse);
  ASSERT_EQ(circles.size(), 2u);
  EXPECT_EQ(circles[0].brush, kRed);
}

TEST_F(BoardRendererTest, PartLabelsAndFramesByMarkAndShowAllNames) {
  struct Case {
    const char* why;
    bool marked, showAll;
    bool labelled;
    Rgb frame;
  };
  const Case cases[] = {
      {"plain part", false, false, false, kTeal},
      {"show all names", false, true, true, kTeal},
      {"marked", true, false, true, kWhite},
      {"marked under show all", true, true, true, kWhite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    tables->partCount = 0;
    addPart("C12", 60, 60, 40, 40).marked = c.marked;
    addPart("C13", 80, 40, 90, 50);  // the next part frames teal again
    state.showAllPartNames = c.showAll;
    draw();
    const auto frames = canvas.callsOf(DrawOp::FrameRect);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0].brush, c.frame);
    EXPECT_EQ(frames[1].brush, kTeal);
    const auto texts = canvas.callsOf(DrawOp::TextOut);
    ASSERT_EQ(texts.size(), (c.labelled ? 1u : 0u) + (c.showAll ? 1u : 0u));
    if (c.labelled) {
      EXPECT_EQ(texts[0].text, "C12");
      EXPECT_EQ(texts[0].at, (Pixel{40 - 20, 40 - 26})) << "x1 - m, y1 + 2 x font height";
      EXPECT_EQ(texts[0].font, kYellow);
      EXPECT_EQ(texts[0].brush, kBlack);
    }
  }
}

TEST_F(BoardRendererTest, ShowAllNailNumbersLabelsInLime) {
  addNail(12, 100, 50);
  addNail(13, 120, 50).marked = true;
  state.showAllNailNumbers = true;
  draw();
  const auto texts = canvas.callsOf(DrawOp::TextOut);
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_EQ(texts[0].text, "$12");
  EXPECT_EQ(texts[0].font, kLime);
  EXPECT_EQ(texts[0].at, (Pixel{100, 50 - 26}));
  EXPECT_EQ(texts[1].font, kWhite) << "a mark outranks show all";
  const auto circles = canvas.callsOf(DrawOp::Ellipse);
  ASSERT_EQ(circles.size(), 2u);
  EXPECT_EQ(circles[0].pen, kFuchsia);
  EXPECT_EQ(circles[0].brush, kBlack);
}

TEST_F(BoardRendererTest, TheOutlineIsOnePolylineOfAtMostFiveHundredPoints) {
  struct Case {
    const char* why;
    int32_t count;
    std::size_t drawn;
  };
  const Case cases[] = {
      {"no outline", 0, 0},
      {"one point draws nothing", 1, 0},
      {"two points", 2, 2},
      {"the drawing list's capacity", 500, 500},
      {"a longer outline keeps its first 500 points", 1000, 500},
      {"a count beyond the table", 5000, 500},
      {"a negative count", -4, 0},
  };
  for (int i = 0; i < kOutlineCapacity; ++i) tables->outline[i] = {i, 10 + i % 7};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    tables->outlineCount = c.count;
    draw();
    const auto lines = canvas.callsOf(DrawOp::Polyline);
    ASSERT_EQ(lines.size(), c.drawn ? 1u : 0u);
    if (c.drawn == 0) continue;
    ASSERT_EQ(lines[0].points.size(), c.drawn);
    // Mirrored on the top view: y becomes 100 - y.
    if (c.drawn > 3) {
      EXPECT_EQ(lines[0].points[3], (Pixel{3, 100 - 13}));
    }
    EXPECT_EQ(lines[0].points.back().x, static_cast<int32_t>(c.drawn) - 1);
  }
}

TEST_F(BoardRendererTest, TheBottomViewDrawsTheOutlinePlain) {
  view.currentSide = 2;
  addOutline(5, 10);
  addOutline(7, 90);
  draw();
  const auto lines = canvas.callsOf(DrawOp::Polyline);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].points, (std::vector<Pixel>{{5, 10}, {7, 90}}));
}

TEST_F(BoardRendererTest, CountsAndNamesCannotLeadOutsideTheTables) {
  tables->outlineCount = kOutlineCapacity + 1;
  tables->pinCount = std::numeric_limits<int32_t>::max();
  tables->partCount = kPartCapacity + 3;
  tables->nailCount = -1;
  tables->pins[kPinCapacity - 1] = {100, 50, 1, 1, 0, false};  // the last pin there is
  PartEntry& part = tables->parts[1];
  std::memset(part.name.text, 'A', sizeof part.name.text);  // a name that lost its terminator
  part.side = 1;
  part.x1 = part.x2 = 100;
  part.y1 = part.y2 = 50;
  part.marked = true;
  renderer.drawBoard(*tables, view, state);
  const auto texts = canvas.callsOf(DrawOp::TextOut);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, std::string(sizeof part.name.text, 'A'));
  EXPECT_EQ(canvas.callsOf(DrawOp::Ellipse).size(), 1u);
  EXPECT_EQ(canvas.callsOf(DrawOp::Polyline)[0].points.size(), 500u);
}

TEST_F(BoardRendererTest, FarOffPartsAndHugeScalesDoNotWrap) {
  view.scale = 1e9f;
  addPart("U1", 0, 0, 0, 0);
  tables->parts[0].x2 = std::numeric_limits<int32_t>::max();
  view.offsetX = -100;
  view.offsetY = -50;
  // The first corner maps inside, the second saturates; the margin saturates too.
  draw();
  const auto frames = canvas.callsOf(DrawOp::FrameRect);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_EQ(frames[0].rect.right, std::numeric_limits<int32_t>::max());
  EXPECT_EQ(frames[0].rect.left, 100 - std::numeric_limits<int32_t>::max());
}

}  // namespace
}  // namespace plexaro
