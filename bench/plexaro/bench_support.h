#pragma once

// What Plexaro's drawing benchmarks share: the Qt application a canvas needs, and a canvas
// that draws nothing, to tell the renderer's own cost from the pixels'.

#include <QGuiApplication>
#include <cstdint>

#include "plexaro/display/canvas.h"

namespace plexaro::bench {

// Benchmarks run without a display.
inline void ensureApplication() {
  static int argc = 1;
  static char name[] = "plexaro_bench";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QGuiApplication app(argc, argv);
}

class NullCanvas final : public Canvas {
 public:
  void setPenColour(Rgb) override {}
  void setPenWidth(int) override {}
  void setPenStyle(PenStyle) override {}
  void setPenMode(PenMode) override {}
  void setBrushColour(Rgb) override {}
  void setBrushHollow() override {}
  void setFontColour(Rgb) override {}
  void setFontSize(int) override {}
  int fontHeight() const override { return -9; }
  void fillRect(PixelRect) override { ++calls; }
  void polyline(std::span<const Pixel>) override { ++calls; }
  void frameRect(PixelRect) override { ++calls; }
  void ellipse(PixelRect) override { ++calls; }
  void rectangle(PixelRect) override { ++calls; }
  void textOut(int32_t, int32_t, std::string_view) override { ++calls; }
  int64_t calls = 0;
};

}  // namespace plexaro::bench
