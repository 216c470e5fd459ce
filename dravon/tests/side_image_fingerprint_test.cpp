// Fingerprints of whole side images: the demo card and a mid-size generated card must draw exactly
// the pixels they drew when these values were taken. Any change to the rasterizer or the drawing
// order that moves a single pixel shows here, also where no probe of the other tests looks.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "dravon/card/cad_export_reader.h"
#include "dravon/card/card_cache.h"
#include "dravon/card/card_document.h"
#include "dravon/render/side_images.h"
#include "dravon/tests/render_test_support.h"
#include "tools/dravon/card_generator.h"

namespace dravon {
namespace {

using testing::ImageFrame;
using testing::TempFolder;

// FNV-1a over the visible pixels row by row, with the size first, so the padding beyond the width
// does not count and two images of different shapes never share a value by accident.
uint64_t fingerprint(const Surface& s) {
  uint64_t h = 14695981039346656037ull;
  const auto mix = [&h](uint32_t v) {
    for (int i = 0; i < 4; ++i) {
      h ^= (v >> (8 * i)) & 0xffu;
      h *= 1099511628211ull;
    }
  };
  mix(static_cast<uint32_t>(s.width()));
  mix(static_cast<uint32_t>(s.height()));
  for (int y = 0; y < s.height(); ++y) {
    const uint32_t* row = s.row(y);
    for (int x = 0; x < s.width(); ++x) mix(row[x]);
  }
  return h;
}

struct Expected {
  int width;
  int height;
  uint64_t front;
  uint64_t back;
};

void expectImages(const CDravonDoc& doc, const Expected& e) {
  ASSERT_FALSE(doc.frontImage.isEmpty());
  ASSERT_FALSE(doc.backImage.isEmpty());
  EXPECT_EQ(doc.frontImage.width(), e.width);
  EXPECT_EQ(doc.frontImage.height(), e.height);
  EXPECT_EQ(fingerprint(doc.frontImage), e.front) << std::hex << fingerprint(doc.frontImage);
  EXPECT_EQ(fingerprint(doc.backImage), e.back) << std::hex << fingerprint(doc.backImage);
  EXPECT_EQ(fingerprint(doc.compositeImage), e.front) << "the composite starts as the front";
}

TEST(SideImageFingerprint, DemoCard) {
  TempFolder folder;
  CDravonDoc doc;
  ImageFrame frame;
  testing::openSampleCard(doc, folder, frame);
  expectImages(doc, {1020, 686, 0x54e102f3b552a2e5ull, 0xf76c23b18fef4020ull});
}

// Denser than the demo card, with devices and lines on both sides, opened as the program does at
// resolution 3: converted, then read back from its cache.
TEST(SideImageFingerprint, GeneratedMidSizeCard) {
  tools::CardShape shape;
  shape.cardName = "MID SIZE TEST CARD";
  shape.devices = 600;
  shape.pads = 6000;
  shape.nets = 1200;
  shape.lines = 18000;
  shape.vias = 1200;
  shape.testPoints = 300;
  shape.width = 9000;
  shape.height = 6000;
  shape.seed = 7;
  CDravonDoc doc;
  CardHost host;
  readPartsList(doc, tools::makePartsList(shape), host);
  ASSERT_TRUE(readCadExportText(doc, tools::makeCadExport(shape)));
  const std::string cache = encodeCardCache(doc);
  const auto entries = doc.listEntries;
  doc.clearModel();
  doc.listEntries = entries;
  doc.resolution = 3;
  ASSERT_EQ(decodeCardCache(doc, cache), CacheError::kNone);
  const Expected expected{3020, 2020, 0x580b5134c41fe2b8ull, 0x41e2d990f16e598dull};
  buildSideImages(doc, true);
  expectImages(doc, expected);

  // Building again draws over the images' own memory: nothing of what was there may survive.
  for (Surface* s : {&doc.frontImage, &doc.backImage, &doc.compositeImage}) {
    Painter(*s).fillRect(s->bounds(), solidBrush(Rgb{1, 2, 3}));
  }
  const uint8_t* front = doc.frontImage.bits();
  buildSideImages(doc, true);
  EXPECT_EQ(doc.frontImage.bits(), front) << "images of the same size keep their memory";
  expectImages(doc, expected);
}

}  // namespace
}  // namespace dravon
