// Side images, the composite refresh and the outline picture: exact colours where picking reads
// them back.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "dravon/render/side_images.h"
#include "dravon/render/view_picture.h"
#include "dravon/tests/render_test_support.h"

namespace dravon {
namespace {

using testing::at;
using testing::CountingFeedback;
using testing::ImageFrame;
using testing::TempFolder;

// The demo card, opened once for all the probes.
class SampleCardImages : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    folder = new TempFolder;
    doc = new CDravonDoc;
    frame = new ImageFrame;
    testing::openSampleCard(*doc, *folder, *frame);
  }
  static void TearDownTestSuite() {
    delete frame;
    delete doc;
    delete folder;
  }

  // Whether a pad or via lies within `distance` plane units of (x, y), other than at it.
  static bool crowded(int x, int y, int distance) {
    const auto near = [&](int px, int py) {
      const int d = std::abs(px - x) + std::abs(py - y);
      return d > 0 && d <= distance;
    };
    for (const CPad& p : doc->pads) {
      if (near(p.x, p.y)) return true;
    }
    for (const CVia& v : doc->vias) {
      if (near(v.x, v.y)) return true;
    }
    return false;
  }
  static bool plainShape(int32_t index) {
    const int i = doc->findShape(index);
    return i >= 0 && doc->shapes[i].type != kShapeComposite;
  }

  static TempFolder* folder;
  static CDravonDoc* doc;
  static ImageFrame* frame;
};
TempFolder* SampleCardImages::folder = nullptr;
CDravonDoc* SampleCardImages::doc = nullptr;
ImageFrame* SampleCardImages::frame = nullptr;

TEST_F(SampleCardImages, BuildingShowsItsProgressAndSizesTheImages) {
  const int w = doc->imageRect.right;
  const int h = doc->imageRect.bottom;
  for (const Surface* s : {&doc->frontImage, &doc->backImage, &doc->compositeImage}) {
    EXPECT_EQ(s->width(), w);
    EXPECT_EQ(s->height(), h);
  }
  EXPECT_EQ(0, std::memcmp(doc->compositeImage.bits(), doc->frontImage.bits(),
                           static_cast<size_t>(doc->frontImage.bytesPerLine()) * h))
      << "the composite starts as the front";
  ASSERT_GE(frame->statusTexts.size(), 2u);
  EXPECT_EQ(frame->statusTexts[frame->statusTexts.size() - 2], kCreatingFrontImage);
  EXPECT_EQ(frame->statusTexts.back(), kCreatingBackImage);
}

TEST_F(SampleCardImages, GroundAndCardFill) {
  for (int side : {1, 0}) {
    SCOPED_TRACE(side);
    const Surface& s = side != 0 ? doc->frontImage : doc->backImage;
    EXPECT_EQ(at(s, 0, 0), kWhite) << "outside the outline";
    EXPECT_EQ(at(s, s.width() - 1, s.height() - 1), kWhite);
    EXPECT_EQ(at(s, s.width() / 2, 25), kCardFillColour);
    const ImageMapping m = imageMapping(*doc, side);
    const CLine& edge = doc->outlineLines.front();
    const int x = m.x((edge.x1 + edge.x2) / 2);
    const int y = m.y((edge.y1 + edge.y2) / 2);
    EXPECT_EQ(at(s, x, y), kOutlineColour);
  }
}

TEST_F(SampleCardImages, PadCentresAreGreyOnBothSides) {
  int probed = 0;
  for (const CPad& p : doc->pads) {
    if (!plainShape(p.shape)) continue;
    for (int side : {1, 0}) {
      const ImageMapping m = imageMapping(*doc, side);
      const Surface& s = side != 0 ? doc->frontImage : doc->backImage;
      EXPECT_EQ(at(s, m.x(p.x), m.y(p.y)), kPadColour) << p.x << "," << p.y << " side " << side;
      ++probed;
    }
  }
  EXPECT_GT(probed, 20);
}

TEST_F(SampleCardImages, ViasAreSilverRingsWithBlackHoles) {
  int probed = 0;
  for (const CVia& v : doc->vias) {
    const int r = v.hole / 2;
    if (r < 1 || crowded(v.x, v.y, 12)) continue;
    for (int side : {1, 0}) {
      const ImageMapping m = imageMapping(*doc, side);
      const Surface& s = side != 0 ? doc->frontImage : doc->backImage;
      SCOPED_TRACE(std::to_string(v.x) + "," + std::to_string(v.y));
      EXPECT_EQ(at(s, m.x(v.x), m.y(v.y)), kViaHoleColour);
      EXPECT_EQ(at(s, m.x(v.x) + r, m.y(v.y)), kViaColour) << "just outside the hole";
      ++probed;
    }
  }
  EXPECT_GT(probed, 4);
}

TEST_F(SampleCardImages, DeviceColoursByFirstLetter) {
  int capacitors = 0, connectors = 0, others = 0;
  for (const CDev& d : doc->devices) {
    if (d.notAssembled != 0 || crowded(d.x, d.y, 10)) continue;
    const bool front = d.layer == 1;
    if (!front && d.layer != doc->layerCount) continue;
    const ImageMapping m = imageMapping(*doc, front ? 1 : 0);
    const Surface& s = front ? doc->frontImage : doc->backImage;
    Rgb expected = kDeviceColour;
    if (d.name[0] == 'C') {
      expected = kCapacitorColour;
      ++capacitors;
    } else if (d.name[0] == 'J') {
      expected = kConnectorColour;
      ++connectors;
    } else {
      ++others;
    }
    EXPECT_EQ(at(s, m.x(d.x), m.y(d.y)), expected) << d.name;
  }
  EXPECT_GT(capacitors, 0);
  EXPECT_GT(connectors, 0);
  EXPECT_GT(others, 0);
}

TEST_F(SampleCardImages, RefreshCopiesTheShownSideAndBeeps) {
  CountingFeedback feedback;
  doc->markedNets.clear();
  doc->highlightLayer = -1;
  doc->foundName.clear();
  for (int front : {1, 0}) {
    SCOPED_TRACE(front);
    refreshComposite(*doc, ShownView{front, 0, 1.0}, &feedback);
    const Surface& side = front != 0 ? doc->frontImage : doc->backImage;
    EXPECT_EQ(0, std::memcmp(doc->compositeImage.bits(), side.bits(),
                             static_cast<size_t>(side.bytesPerLine()) * side.height()));
  }
  EXPECT_EQ(feedback.beeps, 2);
  EXPECT_EQ(feedback.waits, 2);
  EXPECT_FALSE(feedback.waiting);
}

// Refreshes one after another must give exactly what a refresh of a fresh copy gives, however
// little of the composite they put back.
TEST_F(SampleCardImages, RefreshPutsBackExactlyWhatTheLastOneDrew) {
  const int ground = doc->findNet("GND");
  const int net = doc->findNet("N1038");
  ASSERT_GE(net, 0);
  struct Step {
    const char* why;
    std::vector<NetMark> marks;
    int32_t layer;
    int found;  // device, or -1
    ShownView view;
  };
  const std::vector<Step> steps = {
      {"one net, fit mode: wide lines", {{net}}, -1, -1, {1, 0, 9.5}},
      {"the same net at 100 %", {{net}}, -1, -1, {1, 100, 1.0}},
      {"a layer highlight instead", {}, 2, -1, {1, 100, 1.0}},
      {"the found marker", {}, -1, 0, {1, 100, 1.0}},
      {"another marker", {}, -1, 5, {1, 100, 1.0}},
      {"the back side", {{net}}, 3, 5, {0, 100, 1.0}},
      {"two nets on the back", {{net}, {ground}}, -1, -1, {0, 0, 4.0}},
      {"nothing at all", {}, -1, -1, {0, 100, 1.0}},
      {"the front again", {{ground}}, 1, 3, {1, 100, 1.0}},
  };
  for (const Step& s : steps) {
    SCOPED_TRACE(s.why);
    doc->markedNets = s.marks;
    doc->highlightLayer = s.layer;
    doc->foundName = s.found < 0 ? std::string() : doc->devices[s.found].name;
    doc->foundIndex = s.found;
    doc->foundPin = -1;
    refreshComposite(*doc, s.view, nullptr);
    const Surface refreshed = doc->compositeImage;
    doc->compositeContent.side = -1;
    refreshComposite(*doc, s.view, nullptr);
    ASSERT_EQ(0, std::memcmp(refreshed.bits(), doc->compositeImage.bits(),
                             static_cast<size_t>(refreshed.bytesPerLine()) * refreshed.height()));
  }
  doc->markedNets.clear();
  doc->highlightLayer = -1;
  doc->foundName.clear();
}

struct FixedScroll : ScrollContainer {
  int scrollX() const override { return 0; }
  int scrollY() const override { return 0; }
  void setDisplaySize(int, int) override {}
  void scrollTo(int, int) override {}
  void repaint() override {}
};

// The kept shrunk picture must show exactly what stretching the visible part shows.
TEST_F(SampleCardImages, KeptPicturesShowTheSamePixels) {
  FixedScroll scroll;
  ViewGeometry view(*doc, scroll, [] {});
  ViewPicture kept;
  Surface direct(300, 200);
  Surface viaKept(300, 200);
  struct Case {
    const char* why;
    int zoom;  // 0 = fit into 300 x 200
    int sx, sy;
    bool markFirst;  // a refresh between the draws: the kept picture must follow it
  };
  for (const Case& c :
       {Case{"fit", 0, 0, 0, false}, Case{"50 %, scrolled", 50, 120, 70, false},
        Case{"50 %, scrolled elsewhere", 50, 10, 90, false},
        Case{"50 % after a refresh", 50, 10, 90, true}, Case{"33 %", 33, 5, 5, false},
        Case{"200 %: not kept", 200, 40, 40, false}, Case{"100 %", 100, 3, 3, false}}) {
    SCOPED_TRACE(c.why);
    view.computeFit(300, 200);
    view.zoomPercent = c.zoom;
    if (c.markFirst) {
      doc->markedNets = {NetMark{doc->findNet("N1038")}};
      refreshComposite(*doc, ShownView{1, c.zoom, 1.0}, nullptr);
    }
    drawViewPicture(direct, doc->compositeImage, view, c.sx, c.sy);
    kept.draw(viaKept, doc->compositeImage, doc->compositeContent.version, view, c.sx, c.sy);
    ASSERT_EQ(0, std::memcmp(direct.bits(), viaKept.bits(),
                             static_cast<size_t>(direct.bytesPerLine()) * direct.height()));
  }
  doc->markedNets.clear();
  refreshComposite(*doc, ShownView{}, nullptr);
}

// Small cards built in the test: an outline square and what each case needs.
class SideImageTest : public ::testing::Test {
 protected:
  SideImageTest() {
    doc.cardName = "T";
    doc.imageRect = {0, 0, 100, 80};
    doc.layerCount = 2;
    doc.resolution = 1;
    const auto segment = [this](int16_t x1, int16_t y1, int16_t x2, int16_t y2) {
      doc.outlineLines.push_back(CLine{-1, 0, 0, x1, y1, x2, y2});
    };
    segment(10, 10, 90, 10);
    segment(90, 10, 90, 70);
    segment(90, 70, 10, 70);
    segment(10, 70, 10, 10);
    doc.shapes.push_back(CShape{1, kShapeRectangle, {{6, 6}}});
    doc.shapes.push_back(CShape{2, kShapeEllipse, {{12, 12}}});
  }
  Surface draw(int topSide) {
    Surface s;
    EXPECT_TRUE(drawSideImage(doc, ShapePainter(doc), s, topSide));
    return s;
  }
  CDev device(std::string name, int16_t x, int16_t y, int8_t layer, int32_t notAssembled = 0) {
    CDev d;
    d.name = padName(name, 5);
    d.x = x;
    d.y = y;
    d.layer = layer;
    d.shape = 1;
    d.notAssembled = notAssembled;
    return d;
  }
  CDravonDoc doc;
};

TEST_F(SideImageTest, TheFirstDeviceSeedsTheFill) {
  struct Case {
    const char* why;
    CDev first;
    Rgb inside, outside;
  };
  const Case cases[] = {
      {"inside the outline", device("U1", 50, 40, 1), kCardFillColour, kWhite},
      {"not assembled still seeds", device("U1", 50, 40, 1, 1), kCardFillColour, kWhite},
      {"outside fills the outside", device("U1", 5, 5, 1), kWhite, kCardFillColour},
      {"on the outline fills nothing", device("U1", 10, 40, 1), kWhite, kWhite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.why);
    doc.devices = {c.first};
    const Surface s = draw(1);
    EXPECT_EQ(at(s, 30, 30), c.inside);
    EXPECT_EQ(at(s, 97, 3), c.outside);
  }
  doc.devices = {device("U1", 50, 40, 1, 1)};
  EXPECT_EQ(at(draw(1), 50, 40), kCardFillColour) << "a part not assembled is not drawn";
}

TEST_F(SideImageTest, WithoutDevicesTheCardAreaStaysWhite) {
  const Surface s = draw(1);
  EXPECT_EQ(at(s, 50, 40), kWhite);
  EXPECT_EQ(at(s, 10, 40), kOutlineColour);
}

TEST_F(SideImageTest, LinesAndDevicesOfEachSide) {
  doc.devices = {device("C1", 30, 40, 1), device("J2", 70, 40, 2), device("c3", 50, 20, 1),
                 device("U4", 50, 55, 1)};
  doc.lines = {CLine{0, 1, 0, 20, 30, 80, 30}, CLine{0, 2, 3, 20, 60, 80, 60},
               CLine{0, 1, 9, 20, 50, 40, 50}, CLine{0, 3, 3, 60, 50, 80, 50}};
  const Surface front = draw(1);
  EXPECT_EQ(at(front, 30, 40), kCapacitorColour);
  EXPECT_EQ(at(front, 50, 60), kDeviceColour) << "c3: lower case is not a capacitor";
  EXPECT_EQ(at(front, 70, 40), kCardFillColour) << "J2 is on the back";
  EXPECT_EQ(at(front, 60, 50), kSignalLineColour) << "width 0 draws the thinnest line";
  EXPECT_EQ(at(front, 30, 26), kSignalLineColour) << "width 9 reaches 4 pixels off";
  EXPECT_EQ(at(front, 70, 20), kCardFillColour) << "layer 2 lines are the back's";
  EXPECT_EQ(at(front, 70, 30), kCardFillColour) << "inner layers are not drawn";

  const Surface back = draw(0);
  EXPECT_EQ(at(back, 30, 40), kConnectorColour) << "J2 mirrored";
  EXPECT_EQ(at(back, 70, 40), kCardFillColour);
  EXPECT_EQ(at(back, 50, 20), kSignalLineColour);
  EXPECT_EQ(at(back, 50, 19), kSignalLineColour) << "width 3";
  EXPECT_EQ(at(back, 50, 17), kCardFillColour);
}

TEST_F(SideImageTest, OneLayerCardsShowTheSameItemsOnBothSides) {
  doc.layerCount = 1;
  doc.devices = {device("U1", 30, 40, 1)};
  doc.lines = {CLine{0, 1, 1, 20, 60, 40, 60}};
  const Surface front = draw(1);
  const Surface back = draw(0);
  EXPECT_EQ(at(front, 30, 40), kDeviceColour);
  EXPECT_EQ(at(back, 70, 40), kDeviceColour);
  EXPECT_EQ(at(front, 25, 20), kSignalLineColour);
  EXPECT_EQ(at(back, 75, 20), kSignalLineColour);
}

TEST_F(SideImageTest, ViaHoleOfSevenSpansSixPixels) {
  doc.devices = {device("U1", 20, 20, 1)};
  doc.vias = {CVia{-1, 7, 50, 40, 2}};
  const Surface s = draw(1);
  const int cx = 50, cy = 40;  // image point of plane (50, 40)
  int black = 0;
  for (int x = cx - 6; x < cx + 6; ++x) black += at(s, x, cy) == kViaHoleColour ? 1 : 0;
  EXPECT_EQ(black, 6);
  EXPECT_EQ(at(s, cx - 3, cy), kViaHoleColour);
  EXPECT_EQ(at(s, cx + 2, cy), kViaHoleColour);
  EXPECT_EQ(at(s, cx + 3, cy), kViaColour);
  EXPECT_EQ(at(s, cx - 4, cy), kViaColour);
}

TEST_F(SideImageTest, NoCardOrNoViewBuildsNothing) {
  doc.devices = {device("U1", 20, 20, 1)};
  buildSideImages(doc, true);
  ASSERT_FALSE(doc.compositeImage.isEmpty());
  buildSideImages(doc, false);
  EXPECT_TRUE(doc.frontImage.isEmpty()) << "the old card's images go";
  EXPECT_TRUE(doc.compositeImage.isEmpty());
  doc.cardName.clear();
  buildSideImages(doc, true);
  EXPECT_TRUE(doc.backImage.isEmpty());
}

TEST_F(SideImageTest, RefreshWithoutImagesDrawsAndSoundsNothing) {
  CountingFeedback feedback;
  doc.foundName = "U1   ";
  doc.foundIndex = 0;
  doc.currentNet = 5;
  doc.devices = {device("U1", 20, 20, 1)};
  refreshComposite(doc, ShownView{}, &feedback);
  EXPECT_TRUE(doc.compositeImage.isEmpty());
  EXPECT_EQ(feedback.beeps, 0);
  EXPECT_EQ(doc.currentNet, 5) << "the marker was not drawn";
}

TEST(OutlineImage, ScalesTheCardIntoTheSquare) {
  CDravonDoc doc;
  doc.imageRect = {0, 0, 1000, 500};
  doc.resolution = 1;
  doc.layerCount = 2;
  doc.outlineLines = {CLine{-1, 0, 0, 0, 0, 1000, 0}};
  doc.shapes = {CShape{1, kShapeRectangle, {{60, 40}}}};
  CDev d;
  d.name = "U1   ";
  d.x = 550;
  d.y = 250;
  d.layer = 1;
  d.shape = 1;
  CDev back = d;
  back.layer = 2;
  back.x = 100;
  doc.devices = {d, back};
  Surface s;
  ASSERT_TRUE(drawOutlineImage(doc, s, 1, kOutlineImageSize));
  ASSERT_EQ(s.width(), 200);
  // s = 1000 / 200 * 1.1 = 5.5: (550, 500 - 250) lands at (102, 47); hw 5, hh 3.
  EXPECT_EQ(at(s, 102, 47), kOutlineBodyColour);
  EXPECT_EQ(at(s, 97, 47), kBlack) << "the body's outline";
  EXPECT_EQ(at(s, 106, 47), kBlack);
  EXPECT_EQ(at(s, 107, 47), kWhite);
  EXPECT_EQ(at(s, 50, 92), kBlack) << "outline at y' = 500: trunc(500 / 5.5) + 2";
  EXPECT_EQ(at(s, 20, 47), kWhite) << "the back's device is not on the front";
  EXPECT_EQ(at(s, 199, 199), kWhite) << "a card smaller than the square leaves white";

  ASSERT_TRUE(drawOutlineImage(doc, s, 0, kOutlineImageSize));
  EXPECT_EQ(at(s, static_cast<int>(900 / 5.5) + 2, 47), kOutlineBodyColour)
      << "mirrored on the back";
}

TEST(OutlineImage, AnEmptyCardIsAWhiteSquare) {
  CDravonDoc doc;
  Surface s;
  ASSERT_TRUE(drawOutlineImage(doc, s, 1, kOutlineImageSize));
  EXPECT_EQ(at(s, 0, 0), kWhite);
  EXPECT_EQ(at(s, 199, 199), kWhite);
}

}  // namespace
}  // namespace dravon
