#include "dravon/render/painter.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <type_traits>
#include <utility>
#include <vector>

namespace dravon {

namespace {

constexpr uint32_t kColourBits = 0x00ffffffu;
constexpr int kDashOn = 18;
constexpr int kDashPeriod = 24;
// Admits pixel centres that lie exactly on a figure's edge despite rounding in sqrt and division.
constexpr double kEdgeTolerance = 1e-9;

struct Span {
  int y;
  int x0;  // first pixel
  int x1;  // one past the last pixel
};

// Floor and ceiling of a finite value of less than 2^53 in magnitude, as integers, without the
// library call that std::floor and std::ceil become on the baseline instruction set.
int64_t floorToInt(double v) {
  const auto i = static_cast<int64_t>(v);
  return static_cast<double>(i) > v ? i - 1 : i;
}
int64_t ceilToInt(double v) {
  const auto i = static_cast<int64_t>(v);
  return static_cast<double>(i) < v ? i + 1 : i;
}

bool spanLess(const Span& a, const Span& b) {
  return a.y != b.y ? a.y < b.y : a.x0 < b.x0;
}

// Sorts spans and merges those that overlap or touch, so each pixel is in at most one span.
void normalizeSpans(std::vector<Span>& spans) {
  std::sort(spans.begin(), spans.end(), spanLess);
  size_t out = 0;
  for (const Span& s : spans) {
    if (out > 0 && spans[out - 1].y == s.y && s.x0 <= spans[out - 1].x1) {
      spans[out - 1].x1 = std::max(spans[out - 1].x1, s.x1);
    } else {
      spans[out++] = s;
    }
  }
  spans.resize(out);
}

// The parts of `spans` not covered by `cut`; both normalized.
std::vector<Span> subtractSpans(const std::vector<Span>& spans, const std::vector<Span>& cut) {
  std::vector<Span> result;
  size_t c = 0;
  for (const Span& s : spans) {
    while (c < cut.size() && (cut[c].y < s.y || (cut[c].y == s.y && cut[c].x1 <= s.x0))) ++c;
    int x = s.x0;
    for (size_t k = c; k < cut.size() && cut[k].y == s.y && cut[k].x0 < s.x1; ++k) {
      if (cut[k].x0 > x) result.push_back({s.y, x, cut[k].x0});
      x = std::max(x, cut[k].x1);
    }
    if (x < s.x1) result.push_back({s.y, x, s.x1});
  }
  return result;
}

int penWidth(const Pen& pen) {
  return pen.style == PenStyle::Dash ? 1 : std::max(pen.width, 1);
}

// Collects the pixels of a figure clipped to a surface of width x height.
class SpanSink {
 public:
  SpanSink(int width, int height) : width_(width), height_(height) {}

  void add(int64_t y, int64_t x0, int64_t x1) {
    if (y < 0 || y >= height_) return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, width_);
    if (x0 < x1)
      spans_.push_back({static_cast<int>(y), static_cast<int>(x0), static_cast<int>(x1)});
  }
  std::vector<Span>& spans() { return spans_; }
  int width() const { return width_; }
  int height() const { return height_; }

 private:
  int width_;
  int height_;
  std::vector<Span> spans_;
};

// Pixels of a width-1 line from (x0, y0) towards (x1, y1), the end point excluded. Along the
// longer axis every pixel is visited once; the other coordinate is rounded to nearest, halves
// away from the start. Only the steps inside the surface are walked; plot gets the step number,
// which is the position in a dash pattern.
template <typename Plot>
void walkThinLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1, int width, int height,
                  Plot&& plot) {
  const int64_t dx = x1 - x0;
  const int64_t dy = y1 - y0;
  const int64_t adx = std::llabs(dx);
  const int64_t ady = std::llabs(dy);
  const int64_t n = std::max(adx, ady);
  if (n == 0) return;
  const bool xMajor = adx >= ady;
  const int64_t major0 = xMajor ? x0 : y0;
  const int64_t majorStep = (xMajor ? dx : dy) < 0 ? -1 : 1;
  const int64_t minorLen = xMajor ? ady : adx;
  const int64_t minorStep = (xMajor ? dy : dx) < 0 ? -1 : 1;
  const int64_t limit = xMajor ? width : height;
  // Steps i in [0, n) whose major coordinate lies in [0, limit).
  int64_t first = 0;
  int64_t last = n - 1;
  if (majorStep > 0) {
    first = std::max(first, -major0);
    last = std::min(last, limit - 1 - major0);
  } else {
    first = std::max(first, major0 - (limit - 1));
    last = std::min(last, major0);
  }
  if (first > last) return;
  // The minor offset of step i is (2 i minorLen + n) div 2n, kept as quotient and remainder so
  // the walk needs no wide products; only the starting step may need more than 64 bits.
  __extension__ using Wide = __int128;
  const Wide start = Wide{2} * first * minorLen + n;
  int64_t offset = static_cast<int64_t>(start / (2 * n));
  int64_t rem = static_cast<int64_t>(start % (2 * n));
  for (int64_t i = first; i <= last; ++i) {
    const int64_t major = major0 + majorStep * i;
    const int64_t minor = (xMajor ? y0 : x0) + minorStep * offset;
    const int64_t x = xMajor ? major : minor;
    const int64_t y = xMajor ? minor : major;
    if (x >= 0 && y >= 0 && x < width && y < height) {
      plot(i, static_cast<int>(x), static_cast<int>(y));
    }
    rem += 2 * minorLen;
    if (rem >= 2 * n) {
      rem -= 2 * n;
      ++offset;
    }
  }
}

// The first x' in [x, limit) whose colour bits are `colour`, or limit. Area fills spend most of
// their time here, so blocks of pixels are compared at once: sixteen with SSE2, which every x86-64
// processor has, eight otherwise, in a loop without early exit that the compiler can widen.
int findColour(const uint32_t* row, int x, int limit, uint32_t colour) {
#if defined(__SSE2__)
  const __m128i mask = _mm_set1_epi32(static_cast<int>(kColourBits));
  const __m128i wanted = _mm_set1_epi32(static_cast<int>(colour));
  const auto matches = [&](int at) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(row + at));
    return _mm_cmpeq_epi32(_mm_and_si128(v, mask), wanted);
  };
  for (; x + 16 <= limit; x += 16) {
    const __m128i any = _mm_or_si128(_mm_or_si128(matches(x), matches(x + 4)),
                                     _mm_or_si128(matches(x + 8), matches(x + 12)));
    if (_mm_movemask_epi8(any) != 0) break;
  }
#else
  constexpr int kBlock = 8;
  for (; x + kBlock <= limit; x += kBlock) {
    unsigned hit = 0;
    for (int k = 0; k < kBlock; ++k) hit |= (row[x + k] & kColourBits) == colour ? 1u : 0u;
    if (hit != 0) break;
  }
#endif
  while (x < limit && (row[x] & kColourBits) != colour) ++x;
  return x;
}

// Writes n >= 1 pixels. The few pixels of a wide line's row, the bulk of a card's lines, go as
// two overlapping stores of fixed size, not as a loop whose length the processor mispredicts.
void fillShort(uint32_t* p, int n, uint32_t value) {
  if (n > 8) {
    std::fill(p, p + n, value);
    return;
  }
  if (n >= 4) {
    const std::array<uint32_t, 4> four{value, value, value, value};
    std::memcpy(p, four.data(), sizeof four);
    std::memcpy(p + n - 4, four.data(), sizeof four);
  } else if (n >= 2) {
    const std::array<uint32_t, 2> two{value, value};
    std::memcpy(p, two.data(), sizeof two);
    std::memcpy(p + n - 2, two.data(), sizeof two);
  } else {
    *p = value;
  }
}

bool dashOn(int64_t position) {
  return position % kDashPeriod < kDashOn;
}

// Pixels within width / 2 of the segment: a capsule, one span per row. Worked in doubled
// coordinates where pixel centres are odd; odd widths centre the pen on the named pixels, even
// widths on their top-left corners, so a width w covers exactly w rows of a level line.
template <typename Emit>
void thickLineSpans(Point from, Point to, int width, int surfaceWidth, int surfaceHeight,
                    int rowBegin, int rowEnd, Emit&& emit) {
  const int offset = width % 2;
  const double ax = 2.0 * from.x + offset;
  const double ay = 2.0 * from.y + offset;
  const double bx = 2.0 * to.x + offset;
  const double by = 2.0 * to.y + offset;
  const double r = width;
  const double dx = bx - ax;
  const double dy = by - ay;
  const double len = std::sqrt(dx * dx + dy * dy);
  const double yLow = std::max(std::min(ay, by) - r, -3.0);
  const double yHigh = std::min(std::max(ay, by) + r, 2.0 * surfaceHeight + 3.0);
  const int64_t rowFirst = ceilToInt((yLow - 1.0) / 2.0);
  const int64_t rowLast = floorToInt((yHigh - 1.0) / 2.0);
  const double limit = 2.0 * surfaceWidth + 3.0;
  // The band beside the segment: within r of its line (across) and between the perpendiculars
  // through its ends (along). On a row each bound is linear in the row's y, so the slopes and
  // widths are worked out once per line.
  const bool level = dy == 0.0;
  const bool upright = dx == 0.0;
  const double acrossSlope = level ? 0.0 : dx / dy;
  const double acrossHalf = level ? 0.0 : r * len / std::fabs(dy);
  const double alongSlope = upright ? 0.0 : dy / dx;
  const double alongLength = upright ? 0.0 : len * len / dx;
  // The rows each round end can reach, with a row to spare; elsewhere its circle is skipped.
  const auto capRows = [r](double c, int64_t& first, int64_t& last) {
    first = floorToInt((c - r - 1.0) / 2.0) - 1;
    last = ceilToInt((c + r - 1.0) / 2.0) + 1;
  };
  int64_t aFirst = 0, aLast = 0, bFirst = 0, bLast = 0;
  capRows(ay, aFirst, aLast);
  capRows(by, bFirst, bLast);
  // Each row's span depends on that row alone, so a window of rows gets exactly its share. The
  // loop is made once for each kind of segment, so no row tests which kind it is.
  const int64_t rowStop = std::min(surfaceHeight, rowEnd);
  const int64_t rowStart = std::max<int64_t>({rowFirst, rowBegin, 0});
  const auto rows = [&](auto levelKind, auto uprightKind, auto longKind) {
    constexpr bool kLevel = decltype(levelKind)::value;
    constexpr bool kUpright = decltype(uprightKind)::value;
    constexpr bool kLong = decltype(longKind)::value;
    for (int64_t y = rowStart; y <= rowLast && y < rowStop; ++y) {
      const double py = 2.0 * y + 1.0;
      double lo = INFINITY;
      double hi = -INFINITY;
      const auto cap = [&](double cx, double cy) {
        const double h2 = r * r - (py - cy) * (py - cy);
        if (h2 < 0) return;
        const double h = std::sqrt(h2);
        lo = std::min(lo, cx - h);
        hi = std::max(hi, cx + h);
      };
      if (y >= aFirst && y <= aLast) cap(ax, ay);
      if (y >= bFirst && y <= bLast) cap(bx, by);
      if constexpr (kLong) {
        double bandLo = -INFINITY;
        double bandHi = INFINITY;
        bool inBand = true;
        if constexpr (kLevel) {
          inBand = std::fabs(py - ay) <= r;
        } else {
          const double centre = ax + acrossSlope * (py - ay);
          bandLo = centre - acrossHalf;
          bandHi = centre + acrossHalf;
        }
        if constexpr (kUpright) {
          inBand = inBand && (py - ay) * dy >= 0.0 && (py - ay) * dy <= len * len;
        } else {
          const double start = ax - alongSlope * (py - ay);
          const double end = start + alongLength;
          bandLo = std::max(bandLo, std::min(start, end));
          bandHi = std::min(bandHi, std::max(start, end));
        }
        if (inBand && bandLo <= bandHi) {
          lo = std::min(lo, bandLo);
          hi = std::max(hi, bandHi);
        }
      }
      if (lo > hi) continue;
      lo = std::clamp(lo, -3.0, limit);
      hi = std::clamp(hi, -3.0, limit);
      const int64_t x0 = ceilToInt((lo - kEdgeTolerance - 1.0) / 2.0);
      const int64_t x1 = floorToInt((hi + kEdgeTolerance - 1.0) / 2.0) + 1;
      const int64_t left = std::max<int64_t>(x0, 0);
      const int64_t right = std::min<int64_t>(x1, surfaceWidth);
      if (left < right) emit(static_cast<int>(y), static_cast<int>(left), static_cast<int>(right));
    }
  };
  using Yes = std::true_type;
  using No = std::false_type;
  if (!(len > 0)) {
    rows(No{}, No{}, No{});
  } else if (level) {
    rows(Yes{}, No{}, Yes{});
  } else if (upright) {
    rows(No{}, Yes{}, Yes{});
  } else {
    rows(No{}, No{}, Yes{});
  }
}

void addThickLine(SpanSink& sink, Point from, Point to, int width) {
  thickLineSpans(from, to, width, sink.width(), sink.height(), 0, sink.height(),
                 [&](int y, int x0, int x1) { sink.add(y, x0, x1); });
}

void addThinLine(SpanSink& sink, Point from, Point to) {
  walkThinLine(from.x, from.y, to.x, to.y, sink.width(), sink.height(),
               [&](int64_t, int x, int y) { sink.add(y, x, x + 1); });
}

// The box a pen's outline occupies, and the width of that outline.
struct Frame {
  Rect outer;
  int band;
};

Frame frameFor(Rect box, const Pen& pen) {
  const int w = penWidth(pen);
  if (w == 1 || pen.style == PenStyle::InsideFrame) return {box, w};
  // A wide solid pen is centred on the box edge.
  const int64_t before = w / 2;
  const int64_t after = (w - 1) / 2;
  const auto fit = [](int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
  };
  return {Rect{fit(box.left - before), fit(box.top - before), fit(box.right + after),
               fit(box.bottom + after)},
          w};
}

Rect shrunk(Rect r, int by) {
  const int64_t left = int64_t{r.left} + by;
  const int64_t top = int64_t{r.top} + by;
  const int64_t right = int64_t{r.right} - by;
  const int64_t bottom = int64_t{r.bottom} - by;
  if (right <= left || bottom <= top) return Rect{};
  return Rect{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
              static_cast<int32_t>(bottom)};
}

bool rowIn(Rect r, int64_t y) {
  return !r.isEmpty() && y >= r.top && y < r.bottom;
}

// Pixels of row y whose centre lies in the ellipse inscribed in box, as [x0, x1).
bool ellipseChord(Rect box, int64_t y, int width, int64_t& x0, int64_t& x1) {
  if (!rowIn(box, y)) return false;
  const double cx = (static_cast<double>(box.left) + box.right) / 2.0;
  const double cy = (static_cast<double>(box.top) + box.bottom) / 2.0;
  const double rx = (static_cast<double>(box.right) - box.left) / 2.0;
  const double ry = (static_cast<double>(box.bottom) - box.top) / 2.0;
  const double t = (y + 0.5 - cy) / ry;
  const double q = 1.0 - t * t;
  if (q < -kEdgeTolerance) return false;
  const double half = rx * std::sqrt(std::max(q, 0.0));
  const double limit = width + 2.0;
  const double lo = std::clamp(cx - half - 0.5 - kEdgeTolerance, -2.0, limit);
  const double hi = std::clamp(cx + half - 0.5 + kEdgeTolerance, -2.0, limit);
  x0 = ceilToInt(lo);
  x1 = floorToInt(hi) + 1;
  return x0 < x1;
}

// A polygon's interior: each row sampled at pixel centres, filled between odd and even edge
// crossings. Edges enter a row's active list in order of their first row, so a polygon of many
// vertices costs its edges once plus the crossings per row, not every edge on every row.
void addPolygonInterior(SpanSink& fill, std::span<const Point> vertices) {
  const size_t n = vertices.size();
  struct Edge {
    int64_t first;  // first row whose centre the edge crosses
    int64_t last;   // last such row
    Point a, b;
  };
  std::vector<Edge> edges;
  const int64_t height = fill.height();
  for (size_t i = 0; i < n; ++i) {
    const Point a = vertices[i];
    const Point b = vertices[(i + 1) % n];
    if (a.y == b.y) continue;
    // Row centre y + 0.5 lies in [top, bottom) for rows top ... bottom - 1.
    const int64_t first = std::max<int64_t>(std::min(a.y, b.y), 0);
    const int64_t last = std::min<int64_t>(std::max(a.y, b.y), height) - 1;
    if (first <= last) edges.push_back({first, last, a, b});
  }
  std::sort(edges.begin(), edges.end(),
            [](const Edge& l, const Edge& r) { return l.first < r.first; });
  std::vector<const Edge*> active;
  std::vector<double> crossings;
  const double limit = fill.width() + 2.0;
  size_t next = 0;
  int64_t y = edges.empty() ? height : edges.front().first;
  while (y < height && (next < edges.size() || !active.empty())) {
    if (active.empty() && next < edges.size()) y = std::max(y, edges[next].first);
    while (next < edges.size() && edges[next].first <= y) active.push_back(&edges[next++]);
    std::erase_if(active, [y](const Edge* e) { return e->last < y; });
    const double cy = y + 0.5;
    crossings.clear();
    for (const Edge* e : active) {
      crossings.push_back(e->a.x + (cy - e->a.y) * (static_cast<double>(e->b.x) - e->a.x) /
                                       (static_cast<double>(e->b.y) - e->a.y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (size_t k = 0; k + 1 < crossings.size(); k += 2) {
      // Pixel x is inside when x + 0.5 lies in [left, right).
      const double lo = std::clamp(crossings[k] - 0.5, -2.0, limit);
      const double hi = std::clamp(crossings[k + 1] - 0.5, -2.0, limit);
      fill.add(y, ceilToInt(lo), ceilToInt(hi));
    }
    ++y;
  }
}

void paintSpans(Surface& surface, const std::vector<Span>& spans, Rgb colour, RasterMode mode) {
  const uint32_t value = packPixel(colour);
  for (const Span& s : spans) {
    uint32_t* row = surface.row(s.y);
    if (mode == RasterMode::Copy) {
      std::fill(row + s.x0, row + s.x1, value);
    } else {
      for (int x = s.x0; x < s.x1; ++x) row[x] ^= value & kColourBits;
    }
  }
}

// Writes [x0, x1) of row y, clipped to the surface.
void paintRun(Surface& surface, int64_t y, int64_t x0, int64_t x1, uint32_t value,
              RasterMode mode) {
  if (y < 0 || y >= surface.height()) return;
  x0 = std::max<int64_t>(x0, 0);
  x1 = std::min<int64_t>(x1, surface.width());
  if (x0 >= x1) return;
  uint32_t* row = surface.row(static_cast<int>(y));
  if (mode == RasterMode::Copy) {
    std::fill(row + x0, row + x1, value);
  } else {
    for (int64_t x = x0; x < x1; ++x) row[x] ^= value & kColourBits;
  }
}

// Paints a figure: outline pixels in the pen colour, the interior pixels the outline leaves free in
// the brush colour.
void paintFigure(Surface& surface, std::vector<Span>& pen, Rgb penColour, std::vector<Span>& fill,
                 const Brush& brush, RasterMode mode) {
  normalizeSpans(pen);
  paintSpans(surface, pen, penColour, mode);
  if (brush.style == BrushStyle::Hollow) return;
  normalizeSpans(fill);
  paintSpans(surface, subtractSpans(fill, pen), brush.colour, mode);
}

// The clockwise outline of a box one pixel wide, as runs of pixels: start, direction, length.
struct Run {
  int64_t x, y, dx, dy, length;
};

std::vector<Run> ringRuns(Rect box) {
  const int64_t w = int64_t{box.right} - box.left;
  const int64_t h = int64_t{box.bottom} - box.top;
  const int64_t r = box.right - int64_t{1};
  const int64_t b = box.bottom - int64_t{1};
  std::vector<Run> runs{{box.left, box.top, 1, 0, w}};
  if (h > 1) runs.push_back({r, box.top + int64_t{1}, 0, 1, h - 1});
  if (h > 1 && w > 1) runs.push_back({r - 1, b, -1, 0, w - 1});
  if (h > 2 && w > 1) runs.push_back({box.left, b - 1, 0, -1, h - 2});
  return runs;
}

}  // namespace

void Painter::fillRect(Rect r, const Brush& brush) {
  if (brush.style == BrushStyle::Hollow) return;
  const Rect area = intersected(r, surface_.bounds());
  if (area.isEmpty()) return;
  const uint32_t value = packPixel(brush.colour);
  for (int y = area.top; y < area.bottom; ++y) {
    paintRun(surface_, y, area.left, area.right, value, mode_);
  }
}

void Painter::line(Point from, Point to) {
  lineInRows(from, to, 0, surface_.height());
}

void Painter::lineInRows(Point from, Point to, int rowBegin, int rowEnd) {
  rowBegin = std::max(rowBegin, 0);
  rowEnd = std::min(rowEnd, surface_.height());
  if (surface_.isEmpty() || from == to || rowBegin >= rowEnd) return;
  const int w = penWidth(pen_);
  if (w > 1) {
    // One span per row, so each pixel is written once also in Xor mode.
    const uint32_t value = packPixel(pen_.colour);
    thickLineSpans(from, to, w, surface_.width(), surface_.height(), rowBegin, rowEnd,
                   [&](int y, int x0, int x1) {
                     uint32_t* row = surface_.row(y);
                     if (mode_ == RasterMode::Copy) {
                       fillShort(row + x0, x1 - x0, value);
                     } else {
                       for (int x = x0; x < x1; ++x) row[x] ^= value & kColourBits;
                     }
                   });
    return;
  }
  const uint32_t value = packPixel(pen_.colour);
  const bool dashed = pen_.style == PenStyle::Dash;
  walkThinLine(from.x, from.y, to.x, to.y, surface_.width(), surface_.height(),
               [&](int64_t step, int x, int y) {
                 if (y < rowBegin || y >= rowEnd || (dashed && !dashOn(step))) return;
                 uint32_t& p = surface_.row(y)[x];
                 p = mode_ == RasterMode::Copy ? value : p ^ (value & kColourBits);
               });
}

void Painter::rectangle(Rect box) {
  box = normalized(box);
  if (box.isEmpty() || surface_.isEmpty()) return;
  const Frame frame = frameFor(box, pen_);
  const Rect inner = shrunk(frame.outer, frame.band);
  const Rect& o = frame.outer;
  if (pen_.style != PenStyle::Dash) {
    // Outline and interior split each row into disjoint runs, so they are painted directly.
    const uint32_t penValue = packPixel(pen_.colour);
    const uint32_t brushValue = packPixel(brush_.colour);
    const bool filled = brush_.style == BrushStyle::Solid;
    const int64_t top = std::max<int64_t>(o.top, 0);
    const int64_t bottom = std::min<int64_t>(o.bottom, surface_.height());
    for (int64_t y = top; y < bottom; ++y) {
      if (rowIn(inner, y)) {
        paintRun(surface_, y, o.left, inner.left, penValue, mode_);
        if (filled) paintRun(surface_, y, inner.left, inner.right, brushValue, mode_);
        paintRun(surface_, y, inner.right, o.right, penValue, mode_);
      } else {
        paintRun(surface_, y, o.left, o.right, penValue, mode_);
      }
    }
    return;
  }
  SpanSink pen(surface_.width(), surface_.height());
  SpanSink fill(surface_.width(), surface_.height());
  int64_t position = 0;
  for (const Run& run : ringRuns(o)) {
    // Only the steps that can land on the surface are walked; the pattern keeps its phase.
    int64_t first = 0;
    int64_t last = run.length - 1;
    if (run.dx != 0) {
      const int64_t a = (0 - run.x) * run.dx;
      const int64_t b = (surface_.width() - 1 - run.x) * run.dx;
      first = std::max(first, std::min(a, b));
      last = std::min(last, std::max(a, b));
    } else {
      const int64_t a = (0 - run.y) * run.dy;
      const int64_t b = (surface_.height() - 1 - run.y) * run.dy;
      first = std::max(first, std::min(a, b));
      last = std::min(last, std::max(a, b));
    }
    for (int64_t i = first; i <= last; ++i) {
      if (dashOn(position + i)) {
        pen.add(run.y + run.dy * i, run.x + run.dx * i, run.x + run.dx * i + 1);
      }
    }
    position += run.length;
  }
  const int64_t top = std::max<int64_t>(inner.top, 0);
  const int64_t bottom = std::min<int64_t>(inner.bottom, surface_.height());
  for (int64_t y = top; y < bottom && !inner.isEmpty(); ++y) fill.add(y, inner.left, inner.right);
  paintFigure(surface_, pen.spans(), pen_.colour, fill.spans(), brush_, mode_);
}

void Painter::ellipse(Rect box) {
  box = normalized(box);
  if (box.isEmpty() || surface_.isEmpty()) return;
  // A dashed pen draws the ellipse outline solid.
  const Frame frame = frameFor(box, pen_);
  const Rect inner = shrunk(frame.outer, frame.band);
  const uint32_t penValue = packPixel(pen_.colour);
  const uint32_t brushValue = packPixel(brush_.colour);
  const bool filled = brush_.style == BrushStyle::Solid;
  struct Chord {
    bool present = false;
    int64_t x0 = 0;
    int64_t x1 = 0;
  };
  const auto chordOf = [&](Rect r, int64_t y) {
    Chord c;
    c.present = ellipseChord(r, y, surface_.width(), c.x0, c.x1);
    return c;
  };
  const int64_t top = std::max<int64_t>(frame.outer.top, 0);
  const int64_t bottom = std::min<int64_t>(frame.outer.bottom, surface_.height());
  Chord above = chordOf(frame.outer, top - 1);
  Chord here = chordOf(frame.outer, top);
  for (int64_t y = top; y < bottom; ++y) {
    const Chord below = chordOf(frame.outer, y + 1);
    if (here.present) {
      Chord interior;
      if (frame.band == 1) {
        // A thin outline is the ellipse's own edge: the pixels with a 4-neighbour outside it.
        // Insetting the box instead would leave a doubled outline on the diagonals.
        if (above.present && below.present) {
          interior = {true, std::max({here.x0 + 1, above.x0, below.x0}),
                      std::min({here.x1 - 1, above.x1, below.x1})};
        }
      } else {
        interior = chordOf(inner, y);
      }
      // Outline and interior split the row into disjoint runs, so they are painted directly.
      interior.x0 = std::clamp(interior.x0, here.x0, here.x1);
      interior.x1 = std::clamp(interior.x1, here.x0, here.x1);
      if (interior.present && interior.x0 < interior.x1) {
        paintRun(surface_, y, here.x0, interior.x0, penValue, mode_);
        if (filled) paintRun(surface_, y, interior.x0, interior.x1, brushValue, mode_);
        paintRun(surface_, y, interior.x1, here.x1, penValue, mode_);
      } else {
        paintRun(surface_, y, here.x0, here.x1, penValue, mode_);
      }
    }
    above = here;
    here = below;
  }
}

void Painter::polygon(std::span<const Point> vertices) {
  if (vertices.size() < 2 || surface_.isEmpty()) return;
  const size_t n = vertices.size();
  SpanSink fill(surface_.width(), surface_.height());
  if (brush_.style == BrushStyle::Solid) addPolygonInterior(fill, vertices);
  if (mode_ == RasterMode::Copy) {
    // Painting a pixel twice does no harm here: the interior first, the outline over it.
    paintSpans(surface_, fill.spans(), brush_.colour, mode_);
    for (size_t i = 0; i < n; ++i) {
      if (vertices[i] != vertices[(i + 1) % n]) line(vertices[i], vertices[(i + 1) % n]);
    }
    return;
  }
  SpanSink pen(surface_.width(), surface_.height());
  const int w = penWidth(pen_);
  for (size_t i = 0; i < n; ++i) {
    const Point a = vertices[i];
    const Point b = vertices[(i + 1) % n];
    if (a == b) continue;
    if (w > 1) {
      addThickLine(pen, a, b, w);
    } else {
      addThinLine(pen, a, b);
    }
  }
  paintFigure(surface_, pen.spans(), pen_.colour, fill.spans(), brush_, mode_);
}

void Painter::floodFill(Point seed, Rgb border) {
  if (brush_.style == BrushStyle::Hollow) return;
  floodFillRuns(seed, border, [this](const RowRun& run) { fillRuns({&run, 1}); });
}

void Painter::fillRuns(std::span<const RowRun> runs) {
  if (brush_.style == BrushStyle::Hollow) return;
  const uint32_t value = packPixel(brush_.colour);
  for (const RowRun& run : runs) paintRun(surface_, run.y, run.x0, run.x1, value, mode_);
}

void Painter::floodFillRuns(Point seed, Rgb border,
                            const std::function<void(const RowRun&)>& take) const {
  if (!surface_.contains(seed.x, seed.y)) return;
  const uint32_t borderValue = packPixel(border) & kColourBits;
  const int width = surface_.width();
  const int height = surface_.height();
  // Visited pixels, one bit each, rows padded to whole words; the fill decides on the colours as
  // they were before it started, so a brush of the border colour, Xor mode, or a caller that paints
  // the runs later cannot change which pixels are filled.
  const size_t wordsPerRow = (static_cast<size_t>(width) + 63) / 64;
  std::vector<uint64_t> visited(wordsPerRow * height, 0);
  const auto isVisited = [&](int x, int y) {
    return (visited[y * wordsPerRow + x / 64] >> (x % 64)) & 1u;
  };
  const auto open = [&](int x, int y) {
    return !isVisited(x, y) && (surface_.row(y)[x] & kColourBits) != borderValue;
  };
  // The first x' >= x where the open run starting at x ends.
  const auto runEnd = [&](int x, int y) {
    const uint64_t* bits = visited.data() + y * wordsPerRow;
    int limit = width;
    for (size_t w = static_cast<size_t>(x) / 64; w < wordsPerRow; ++w) {
      uint64_t word = bits[w];
      if (w == static_cast<size_t>(x) / 64) word &= ~uint64_t{0} << (x % 64);
      if (word != 0) {
        limit = std::min(width, static_cast<int>(w * 64) + std::countr_zero(word));
        break;
      }
    }
    return findColour(surface_.row(y), x, limit, borderValue);
  };
  // Hands on [x0, x1) of row y and marks it visited.
  const auto mark = [&](int x0, int x1, int y) {
    take(RowRun{y, x0, x1});
    uint64_t* bits = visited.data() + y * wordsPerRow;
    for (int x = x0; x < x1;) {
      const int bit = x % 64;
      const int count = std::min(64 - bit, x1 - x);
      const uint64_t mask = count == 64 ? ~uint64_t{0} : ((uint64_t{1} << count) - 1) << bit;
      bits[x / 64] |= mask;
      x += count;
    }
  };
  if (!open(seed.x, seed.y)) return;

  // Scanline fill after Heckbert's seed fill: each entry is a run [left, right] of row y that was
  // filled; row y + dy is scanned beside it, and only the overhang beyond the run is scanned back
  // in the other direction. Pixels are tested about once each, with no recursion.
  struct Segment {
    int y, left, right, dy;
  };
  std::vector<Segment> pending;
  const auto push = [&](int y, int left, int right, int dy) {
    if (y + dy >= 0 && y + dy < height) pending.push_back({y, left, right, dy});
  };
  push(seed.y, seed.x, seed.x, 1);
  push(seed.y + 1, seed.x, seed.x, -1);
  while (!pending.empty()) {
    const Segment s = pending.back();
    pending.pop_back();
    const int y = s.y + s.dy;
    int x = s.left;
    int start = x;
    if (open(x, y)) {
      while (start > 0 && open(start - 1, y)) --start;
      if (start < s.left) push(y, start, s.left - 1, -s.dy);
    } else {
      for (++x; x <= s.right && !open(x, y); ++x) {
      }
      start = x;
    }
    while (x <= s.right) {
      x = runEnd(x, y);
      mark(start, x, y);
      push(y, start, x - 1, s.dy);
      if (x > s.right + 1) push(y, s.right + 1, x - 1, -s.dy);
      for (++x; x <= s.right && !open(x, y); ++x) {
      }
      start = x;
    }
  }
}

}  // namespace dravon
