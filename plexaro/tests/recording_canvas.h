#pragma once

// Test doubles for the display code: a canvas that keeps every drawing call with the pen,
// brush and font in force, a board area of a fixed size that records pointer moves and
// redraws, and a status bar that keeps its panels' texts.

#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "plexaro/display/canvas.h"
#include "plexaro/platform/board_area.h"
#include "plexaro/platform/status_bar.h"

namespace plexaro::testing {

enum class DrawOp { FillRect, Polyline, FrameRect, Ellipse, Rectangle, TextOut };

struct DrawCall {
  DrawOp op = DrawOp::FillRect;
  PixelRect rect{};           // fill, frame, ellipse, rectangle
  std::vector<Pixel> points;  // polyline
  Pixel at{};                 // text out
  std::string text;           // text out
  Rgb pen{};
  int penWidth = 0;
  PenStyle penStyle = PenStyle::Solid;
  PenMode penMode = PenMode::Copy;
  std::optional<Rgb> brush;  // nullopt: hollow
  Rgb font{};
  int fontSize = 0;
};

class RecordingCanvas final : public Canvas {
 public:
  void setPenColour(Rgb colour) override { state_.pen = colour; }
  void setPenWidth(int width) override { state_.penWidth = width; }
  void setPenStyle(PenStyle style) override { state_.penStyle = style; }
  void setPenMode(PenMode mode) override { state_.penMode = mode; }
  void setBrushColour(Rgb colour) override { state_.brush = colour; }
  void setBrushHollow() override { state_.brush.reset(); }
  void setFontColour(Rgb colour) override { state_.font = colour; }
  void setFontSize(int points) override { state_.fontSize = points; }
  int fontHeight() const override { return fontHeightForPoints(state_.fontSize); }

  void fillRect(PixelRect rect) override { record(DrawOp::FillRect).rect = rect; }
  void polyline(std::span<const Pixel> points) override {
    record(DrawOp::Polyline).points.assign(points.begin(), points.end());
  }
  void frameRect(PixelRect rect) override { record(DrawOp::FrameRect).rect = rect; }
  void ellipse(PixelRect rect) override { record(DrawOp::Ellipse).rect = rect; }
  void rectangle(PixelRect rect) override { record(DrawOp::Rectangle).rect = rect; }
  void textOut(int32_t x, int32_t y, std::string_view text) override {
    DrawCall& call = record(DrawOp::TextOut);
    call.at = {x, y};
    call.text = text;
  }

  const std::vector<DrawCall>& calls() const { return calls_; }
  void clear() { calls_.clear(); }

  std::vector<DrawCall> callsOf(DrawOp op) const {
    std::vector<DrawCall> out;
    for (const DrawCall& c : calls_) {
      if (c.op == op) out.push_back(c);
    }
    return out;
  }

 private:
  DrawCall& record(DrawOp op) {
    calls_.push_back(state_);
    calls_.back().op = op;
    return calls_.back();
  }

  DrawCall state_;
  std::vector<DrawCall> calls_;
};

class FakeBoardArea final : public BoardArea {
 public:
  FakeBoardArea(int width, int height) : width_(width), height_(height) {}
  int width() const override { return width_; }
  int height() const override { return height_; }
  void movePointer(int x, int y) override { pointerMoves.push_back({x, y}); }
  void redraw() override { ++redraws; }

  std::vector<Pixel> pointerMoves;
  int redraws = 0;

 private:
  int width_;
  int height_;
};

class RecordingStatusBar final : public StatusBar {
 public:
  void setPanelText(int panel, std::string_view text) override { panels[panel] = text; }
  std::map<int, std::string> panels;
};

}  // namespace plexaro::testing
