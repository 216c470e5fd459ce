// Dravon's rendering on the large generated card at resolution 3: building both side images
// (again over the images of the same size, and afresh as on a first open),
// refreshing the composite with one marked net of about 1000 items, and the view's picture of a
// 1920 x 1080 client area at fit, 100 % and 400 %.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <string>

#include "dravon/card/cad_export_reader.h"
#include "dravon/card/card_cache.h"
#include "dravon/card/card_document.h"
#include "dravon/render/side_images.h"
#include "dravon/render/view_picture.h"
#include "tools/dravon/card_generator.h"

namespace {

constexpr int kMarkedLines = 700;
constexpr int kMarkedPads = 250;
constexpr int kMarkedVias = 50;

// The large card as the open sequence leaves it: converted, read back at resolution 3.
dravon::CDravonDoc& largeCard() {
  static dravon::CDravonDoc* doc = [] {
    auto* d = new dravon::CDravonDoc;
    const auto shape = dravon::tools::largeCard();  // the generator's card description
    dravon::CardHost host;
    dravon::readPartsList(*d, dravon::tools::makePartsList(shape), host);
    if (!dravon::readCadExportText(*d, dravon::tools::makeCadExport(shape))) return d;
    const std::string cache = dravon::encodeCardCache(*d);
    const auto entries = d->listEntries;
    d->clearModel();
    d->listEntries = entries;
    d->resolution = 3;
    if (dravon::decodeCardCache(*d, cache) != dravon::CacheError::kNone) d->clearModel();
    return d;
  }();
  return *doc;
}

double imagesMegabytes(const dravon::CDravonDoc& doc) {
  return static_cast<double>(doc.frontImage.memoryBytes() + doc.backImage.memoryBytes() +
                             doc.compositeImage.memoryBytes()) /
         (1024.0 * 1024.0);
}

void BM_BuildSideImages(benchmark::State& state) {
  dravon::CDravonDoc& doc = largeCard();
  if (doc.devices.empty()) {
    state.SkipWithError("the large card did not load");
    return;
  }
  for (auto _ : state) {
    dravon::buildSideImages(doc, true);
    benchmark::DoNotOptimize(doc.frontImage.bits());
  }
  state.counters["width"] = doc.imageRect.right;
  state.counters["height"] = doc.imageRect.bottom;
  state.counters["imagesMiB"] = imagesMegabytes(doc);
}
BENCHMARK(BM_BuildSideImages)->Unit(benchmark::kMillisecond);

// The first open of a card: no images of its size are held, so all three are had afresh from the
// system. BM_BuildSideImages above rebuilds over the images of the previous round.
void BM_BuildSideImagesFresh(benchmark::State& state) {
  dravon::CDravonDoc& doc = largeCard();
  if (doc.devices.empty()) {
    state.SkipWithError("the large card did not load");
    return;
  }
  for (auto _ : state) {
    state.PauseTiming();
    dravon::buildSideImages(doc, false);  // releases the images
    state.ResumeTiming();
    dravon::buildSideImages(doc, true);
    benchmark::DoNotOptimize(doc.frontImage.bits());
  }
}
BENCHMARK(BM_BuildSideImagesFresh)->Unit(benchmark::kMillisecond);

// The large card with its side images built once; nullptr, with the benchmark skipped, when
// they could not be made.
dravon::CDravonDoc* largeCardWithImages(benchmark::State& state) {
  dravon::CDravonDoc& doc = largeCard();
  if (doc.compositeImage.isEmpty()) dravon::buildSideImages(doc, true);
  if (doc.compositeImage.isEmpty()) {
    state.SkipWithError("no images");
    return nullptr;
  }
  return &doc;
}

void BM_RefreshCompositeOneNet(benchmark::State& state) {
  dravon::CDravonDoc* card = largeCardWithImages(state);
  if (card == nullptr) return;
  dravon::CDravonDoc& doc = *card;
  // One net of about 1000 items spread over the card: lines, pads and vias taken at even steps.
  const int16_t net = 0;
  int items = 0;
  const auto spread = [&items](auto& records, int count, auto setNet) {
    const std::size_t step = std::max<std::size_t>(1, records.size() / count);
    for (std::size_t i = 0; i < records.size() && count > 0; i += step, --count) {
      setNet(records[i]);
      ++items;
    }
  };
  spread(doc.lines, kMarkedLines, [net](dravon::CLine& l) { l.net = net; });
  spread(doc.pads, kMarkedPads, [net](dravon::CPad& p) { p.net = net; });
  spread(doc.vias, kMarkedVias, [net](dravon::CVia& v) { v.net = net; });
  doc.markedNets = {dravon::NetMark{net}};
  // range(0) 1: every refresh changes the side, so the whole side image is copied each time.
  const bool changeSide = state.range(0) != 0;
  int32_t front = 1;
  for (auto _ : state) {
    if (changeSide) front = 1 - front;
    dravon::refreshComposite(doc, dravon::ShownView{front, 0, 3.0}, nullptr);
    benchmark::DoNotOptimize(doc.compositeImage.bits());
  }
  doc.markedNets.clear();
  state.counters["markedItems"] = items;
}
BENCHMARK(BM_RefreshCompositeOneNet)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

struct StillScroll : dravon::ScrollContainer {
  int x = 0, y = 0;
  int scrollX() const override { return x; }
  int scrollY() const override { return y; }
  void setDisplaySize(int, int) override {}
  void scrollTo(int nx, int ny) override {
    x = nx;
    y = ny;
  }
  void repaint() override {}
};

// range(0): the zoom percentage, 0 = fit. Zoomed views look at the middle of the card.
void BM_ViewportPicture(benchmark::State& state) {
  dravon::CDravonDoc* card = largeCardWithImages(state);
  if (card == nullptr) return;
  dravon::CDravonDoc& doc = *card;
  dravon::refreshComposite(doc, dravon::ShownView{}, nullptr);
  StillScroll scroll;
  dravon::ViewGeometry view(doc, scroll, [] {});
  view.showNewCard(1920, 1080);
  view.zoomPercent = static_cast<int32_t>(state.range(0));
  if (view.zoomPercent != 0) {
    view.viewScale = 100.0 / view.zoomPercent;
    scroll.x = doc.imageRect.right * view.zoomPercent / 200 - 960;
    scroll.y = doc.imageRect.bottom * view.zoomPercent / 200 - 540;
  }
  dravon::Surface client(1920, 1080);
  for (auto _ : state) {
    dravon::drawViewPicture(client, doc.compositeImage, view, scroll.x, scroll.y);
    benchmark::DoNotOptimize(client.bits());
  }
}
BENCHMARK(BM_ViewportPicture)->Arg(0)->Arg(100)->Arg(400)->Unit(benchmark::kMillisecond);

// Repaints of the fit picture while the composite stays the same: the kept shrunk picture is
// copied. The first paint after a refresh costs one BM_ViewportPicture/0 more.
void BM_ViewportRepaintFit(benchmark::State& state) {
  dravon::CDravonDoc* card = largeCardWithImages(state);
  if (card == nullptr) return;
  dravon::CDravonDoc& doc = *card;
  dravon::refreshComposite(doc, dravon::ShownView{}, nullptr);
  StillScroll scroll;
  dravon::ViewGeometry view(doc, scroll, [] {});
  view.showNewCard(1920, 1080);
  dravon::Surface client(1920, 1080);
  dravon::ViewPicture picture;
  picture.draw(client, doc.compositeImage, doc.compositeContent.version, view, 0, 0);
  for (auto _ : state) {
    picture.draw(client, doc.compositeImage, doc.compositeContent.version, view, 0, 0);
    benchmark::DoNotOptimize(client.bits());
  }
}
BENCHMARK(BM_ViewportRepaintFit)->Unit(benchmark::kMillisecond);

}  // namespace
