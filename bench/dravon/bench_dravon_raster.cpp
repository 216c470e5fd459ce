// The rasterizer on images of the size of a large card's side image at resolution 3, and the
// stretch of a 1920 x 1080 viewport of such an image at fit, 100 % and 400 %.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <random>
#include <vector>

#include "dravon/render/painter.h"
#include "dravon/render/surface.h"

namespace dravon {
namespace {

constexpr int kImageWidth = 6000;
constexpr int kImageHeight = 4000;
constexpr int kViewWidth = 1920;
constexpr int kViewHeight = 1080;
constexpr Rgb kCardGreen{0, 128, 0};
constexpr Rgb kTraceGreen{0, 255, 0};

// A card-like picture: white ground, green card, a few thousand traces and pads.
const Surface& cardImage() {
  static const Surface image = [] {
    Surface s(kImageWidth, kImageHeight);
    Painter p(s);
    p.fillRect(s.bounds(), kWhiteBrush);
    p.fillRect(Rect{100, 100, kImageWidth - 100, kImageHeight - 100}, solidBrush(kCardGreen));
    std::mt19937 random(7);
    std::uniform_int_distribution<int> x(100, kImageWidth - 100);
    std::uniform_int_distribution<int> y(100, kImageHeight - 100);
    p.selectPen(insideFramePen(3, kTraceGreen));
    for (int i = 0; i < 5000; ++i) {
      const Point a{x(random), y(random)};
      p.line(a, Point{a.x + 150, a.y + (i % 3 - 1) * 150});
    }
    p.selectPen(insideFramePen(1, Rgb{128, 128, 128}));
    p.selectBrush(solidBrush(Rgb{128, 128, 128}));
    for (int i = 0; i < 20000; ++i) {
      const Point c{x(random), y(random)};
      p.ellipse(Rect{c.x - 6, c.y - 6, c.x + 6, c.y + 6});
    }
    return s;
  }();
  return image;
}

void setMemoryCounter(benchmark::State& state, const Surface& s) {
  state.counters["image_MiB"] = static_cast<double>(s.memoryBytes()) / (1024.0 * 1024.0);
}

// Fit: the whole image shrunk into the viewport, as computeFit sizes it (scale 4000 / 1080).
void BM_StretchViewportFit(benchmark::State& state) {
  const Surface& image = cardImage();
  Surface view(kViewWidth, kViewHeight);
  const double scale =
      std::max(double{kImageWidth} / kViewWidth, double{kImageHeight} / kViewHeight);
  const Rect picture{0, 0, static_cast<int>(kImageWidth / scale),
                     static_cast<int>(kImageHeight / scale)};
  for (auto _ : state) {
    stretchBlock(view, picture, image, image.bounds());
    benchmark::DoNotOptimize(view.row(0));
  }
  setMemoryCounter(state, image);
}
BENCHMARK(BM_StretchViewportFit)->Unit(benchmark::kMillisecond);

// 100 %: the viewport scrolled into the middle; the stretch reduces to a copy of the visible rows.
void BM_StretchViewport100(benchmark::State& state) {
  const Surface& image = cardImage();
  Surface view(kViewWidth, kViewHeight);
  const Rect picture{-2000, -1500, kImageWidth - 2000, kImageHeight - 1500};
  for (auto _ : state) {
    stretchBlock(view, picture, image, image.bounds());
    benchmark::DoNotOptimize(view.row(0));
  }
}
BENCHMARK(BM_StretchViewport100)->Unit(benchmark::kMillisecond);

// The same view by block copy, for comparison.
void BM_CopyViewport100(benchmark::State& state) {
  const Surface& image = cardImage();
  Surface view(kViewWidth, kViewHeight);
  for (auto _ : state) {
    copyBlock(view, 0, 0, image, 2000, 1500, kViewWidth, kViewHeight);
    benchmark::DoNotOptimize(view.row(0));
  }
}
BENCHMARK(BM_CopyViewport100)->Unit(benchmark::kMillisecond);

// 400 %: a 24000 x 16000 picture of which only the viewport is computed.
void BM_StretchViewport400(benchmark::State& state) {
  const Surface& image = cardImage();
  Surface view(kViewWidth, kViewHeight);
  const Rect picture{-10000, -7000, 4 * kImageWidth - 10000, 4 * kImageHeight - 7000};
  for (auto _ : state) {
    stretchBlock(view, picture, image, image.bounds());
    benchmark::DoNotOptimize(view.row(0));
  }
}
BENCHMARK(BM_StretchViewport400)->Unit(benchmark::kMillisecond);

void BM_FillWholeImage(benchmark::State& state) {
  Surface s(kImageWidth, kImageHeight);
  Painter p(s);
  for (auto _ : state) {
    p.fillRect(s.bounds(), kWhiteBrush);
    benchmark::DoNotOptimize(s.row(0));
  }
  setMemoryCounter(state, s);
}
BENCHMARK(BM_FillWholeImage)->Unit(benchmark::kMillisecond);

// 3000 traces of width 5, 20 to 400 pixels long, in all directions.
void BM_ThickLines(benchmark::State& state) {
  Surface s(kImageWidth, kImageHeight);
  Painter p(s);
  p.selectPen(insideFramePen(5, kTraceGreen));
  std::mt19937 random(11);
  std::uniform_int_distribution<int> x(0, kImageWidth);
  std::uniform_int_distribution<int> y(0, kImageHeight);
  std::uniform_int_distribution<int> d(-400, 400);
  std::vector<std::array<Point, 2>> lines(3000);
  for (auto& l : lines) {
    l[0] = Point{x(random), y(random)};
    l[1] = Point{l[0].x + d(random), l[0].y + d(random)};
  }
  for (auto _ : state) {
    for (const auto& l : lines) p.line(l[0], l[1]);
    benchmark::DoNotOptimize(s.row(0));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(lines.size()));
}
BENCHMARK(BM_ThickLines)->Unit(benchmark::kMillisecond);

// 3000 pads and drill holes: ellipses of 6 to 60 pixels with a width-1 inside-frame pen.
void BM_Ellipses(benchmark::State& state) {
  Surface s(kImageWidth, kImageHeight);
  Painter p(s);
  p.selectPen(insideFramePen(1, kBlack));
  p.selectBrush(solidBrush(Rgb{192, 192, 192}));
  std::mt19937 random(13);
  std::uniform_int_distribution<int> x(0, kImageWidth);
  std::uniform_int_distribution<int> y(0, kImageHeight);
  std::uniform_int_distribution<int> size(6, 60);
  std::vector<Rect> boxes(3000);
  for (auto& b : boxes) {
    const int cx = x(random);
    const int cy = y(random);
    const int r = size(random) / 2;
    b = Rect{cx - r, cy - r, cx + r, cy + r};
  }
  for (auto _ : state) {
    for (const Rect& b : boxes) p.ellipse(b);
    benchmark::DoNotOptimize(s.row(0));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(boxes.size()));
}
BENCHMARK(BM_Ellipses)->Unit(benchmark::kMillisecond);

// 3000 polygon pads of 8 vertices, 10 to 40 pixels across, outline and fill in one colour.
void BM_Polygons(benchmark::State& state) {
  Surface s(kImageWidth, kImageHeight);
  Painter p(s);
  p.selectPen(insideFramePen(1, Rgb{128, 128, 128}));
  p.selectBrush(solidBrush(Rgb{128, 128, 128}));
  std::mt19937 random(17);
  std::uniform_int_distribution<int> x(0, kImageWidth);
  std::uniform_int_distribution<int> y(0, kImageHeight);
  std::uniform_int_distribution<int> size(5, 20);
  std::vector<std::array<Point, 8>> pads(3000);
  for (auto& pad : pads) {
    const Point c{x(random), y(random)};
    const int r = size(random);
    const int q = r / 2;
    pad = {Point{c.x - q, c.y - r}, Point{c.x + q, c.y - r}, Point{c.x + r, c.y - q},
           Point{c.x + r, c.y + q}, Point{c.x + q, c.y + r}, Point{c.x - q, c.y + r},
           Point{c.x - r, c.y + q}, Point{c.x - r, c.y - q}};
  }
  for (auto _ : state) {
    for (const auto& pad : pads) p.polygon(pad);
    benchmark::DoNotOptimize(s.row(0));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pads.size()));
}
BENCHMARK(BM_Polygons)->Unit(benchmark::kMillisecond);

// 20000 rectangular pads filled with fill rectangle, 4 to 40 pixels.
void BM_FillRectPads(benchmark::State& state) {
  Surface s(kImageWidth, kImageHeight);
  Painter p(s);
  p.selectBrush(solidBrush(Rgb{128, 128, 128}));
  std::mt19937 random(19);
  std::uniform_int_distribution<int> x(0, kImageWidth);
  std::uniform_int_distribution<int> y(0, kImageHeight);
  std::uniform_int_distribution<int> size(4, 40);
  std::vector<Rect> pads(20000);
  for (Rect& r : pads) {
    const int left = x(random);
    const int top = y(random);
    r = Rect{left, top, left + size(random), top + size(random)};
  }
  for (auto _ : state) {
    for (const Rect& r : pads) p.fillRect(r);
    benchmark::DoNotOptimize(s.row(0));
  }
  state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(pads.size()));
}
BENCHMARK(BM_FillRectPads)->Unit(benchmark::kMillisecond);

// The card area fill of a side image: a border fill of nearly the whole image.
void BM_FloodFillCardArea(benchmark::State& state) {
  Surface s(kImageWidth, kImageHeight);
  Painter p(s);
  const std::array<Point, 4> outline{Point{50, 50}, Point{kImageWidth - 50, 50},
                                     Point{kImageWidth - 50, kImageHeight - 50},
                                     Point{50, kImageHeight - 50}};
  bool green = false;
  for (auto _ : state) {
    state.PauseTiming();
    p.fillRect(s.bounds(), kWhiteBrush);
    p.selectPen(insideFramePen(5, kBlack));
    for (size_t i = 0; i < outline.size(); ++i) p.line(outline[i], outline[(i + 1) % 4]);
    green = !green;
    p.selectBrush(solidBrush(green ? kCardGreen : kTraceGreen));
    state.ResumeTiming();
    p.floodFill(Point{kImageWidth / 2, kImageHeight / 2}, kBlack);
    benchmark::DoNotOptimize(s.row(0));
  }
}
BENCHMARK(BM_FloodFillCardArea)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dravon
