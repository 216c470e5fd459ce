// The card view's arithmetic against a scroll container that clamps as the platform's does.
#include <gtest/gtest.h>

#include <algorithm>

#include "dravon/render/view_geometry.h"

namespace dravon {
namespace {

struct FakeScroll : ScrollContainer {
  int x = 0, y = 0, extentW = 0, extentH = 0, clientW = 1000, clientH = 1000, repaints = 0;
  int scrollX() const override { return x; }
  int scrollY() const override { return y; }
  void setDisplaySize(int w, int h) override {
    extentW = w;
    extentH = h;
  }
  void scrollTo(int nx, int ny) override {
    x = std::clamp(nx, 0, std::max(extentW - clientW, 0));
    y = std::clamp(ny, 0, std::max(extentH - clientH, 0));
  }
  void repaint() override { ++repaints; }
};

class ViewGeometryTest : public ::testing::Test {
 protected:
  ViewGeometryTest() : view(doc, scroll, [this] { ++refreshes; }) {
    doc.imageRect = {0, 0, 3000, 1500};
  }
  CDravonDoc doc;
  FakeScroll scroll;
  int refreshes = 0;
  ViewGeometry view;
};

TEST_F(ViewGeometryTest, FitTouchesTheClientOnOneAxisAndMapsBothSides) {
  view.computeFit(1000, 1000);
  EXPECT_DOUBLE_EQ(view.viewScale, 3.0);
  EXPECT_EQ(view.fitWidth, 1000);
  EXPECT_EQ(view.fitHeight, 500);
  scroll.x = 400;  // fit mode does not use the scroll position
  EXPECT_EQ(view.windowToPlane(10, 10), (PlanePoint{30, 1470}));
  view.showFront = 0;
  EXPECT_EQ(view.windowToPlane(10, 10), (PlanePoint{2970, 1470}));
}

TEST_F(ViewGeometryTest, FitIgnoresTinyClientsAndEmptyImages) {
  view.computeFit(1000, 1000);
  struct Case {
    const char* why;
    CardRect image;
    int cx, cy;
  };
  for (const Case& c : {Case{"4 pixels wide", {0, 0, 3000, 1500}, 4, 800},
                        Case{"4 pixels high", {0, 0, 3000, 1500}, 800, 4},
                        Case{"an empty image", {0, 0, 0, 1500}, 800, 800}}) {
    SCOPED_TRACE(c.why);
    doc.imageRect = c.image;
    view.computeFit(c.cx, c.cy);
    EXPECT_DOUBLE_EQ(view.viewScale, 3.0);
    EXPECT_EQ(view.clientWidth, 1000);
    EXPECT_EQ(view.fitWidth, 1000);
  }
}

TEST_F(ViewGeometryTest, ZoomModeMapsThroughTheScrollPosition) {
  view.computeFit(1000, 1000);
  view.zoomPercent = 100;
  view.applyZoom();
  EXPECT_EQ(scroll.extentW, 3000);
  EXPECT_EQ(scroll.extentH, 1500);
  scroll.x = 200;
  scroll.y = 50;
  EXPECT_EQ(view.windowToPlane(0, 0), (PlanePoint{200, 1500 - 50}));
  view.showFront = 0;
  EXPECT_EQ(view.windowToPlane(0, 0), (PlanePoint{3000 - 200, 1500 - 50}));
}

TEST_F(ViewGeometryTest, ApplyZoomKeepsThePointUnderThePointer) {
  view.computeFit(1000, 1000);  // scale 3: window (100, 100) shows image (300, 300)
  view.lastPointX = 100;
  view.lastPointY = 100;
  view.zoomPercent = 200;
  view.applyZoom();
  EXPECT_DOUBLE_EQ(view.viewScale, 0.5);
  EXPECT_EQ(scroll.extentW, 6000);
  EXPECT_EQ(scroll.x, 500) << "image 300 at 200 % is 600, less the pointer's 100";
  EXPECT_EQ(scroll.y, 500);
  EXPECT_EQ(view.windowToPlane(100, 100), (PlanePoint{300, 1200}));
  EXPECT_EQ(scroll.repaints, 1);

  view.zoomPercent = 0;
  view.applyZoom();
  EXPECT_DOUBLE_EQ(view.viewScale, 3.0);
  EXPECT_EQ(scroll.extentW, 1000);
  EXPECT_EQ(scroll.extentH, 500);
}

TEST_F(ViewGeometryTest, ZoomToRectangle) {
  struct Case {
    const char* why;
    int zoomPercent;  // before the drag, 0 = fit at scale 3
    int x0, y0, x1, y1;
    int expectedPercent;
    int refreshes;  // leaving fit mode redraws the markup
  };
  for (const Case& c : {Case{"100 x 50 in fit mode", 0, 100, 100, 200, 150, 333, 1},
                        Case{"dragged right to left", 0, 200, 150, 100, 100, 333, 1},
                        Case{"10 x 10 at 100 % is clamped", 100, 0, 0, 10, 10, 400, 0},
                        Case{"a point", 100, 5, 5, 5, 5, 400, 0},
                        Case{"larger than the client zooms out", 100, 0, 0, 2000, 10, 50, 0}}) {
    SCOPED_TRACE(c.why);
    refreshes = 0;
    scroll = FakeScroll{};
    view.computeFit(1000, 1000);
    view.zoomPercent = c.zoomPercent;
    view.applyZoom();
    view.zoomToRectangle(c.x0, c.y0, c.x1, c.y1);
    EXPECT_EQ(view.zoomPercent, c.expectedPercent);
    EXPECT_EQ(refreshes, c.refreshes);
  }
}

TEST_F(ViewGeometryTest, ZoomToRectangleCentresTheRectangle) {
  view.computeFit(1000, 1000);
  view.zoomToRectangle(100, 100, 200, 150);  // middle (150, 125) is image (450, 375), s = 0.3
  EXPECT_DOUBLE_EQ(view.viewScale, 0.3);
  EXPECT_EQ(scroll.extentW, 10000);
  EXPECT_EQ(scroll.extentH, 5000);
  EXPECT_EQ(scroll.x, 1000);  // trunc(450 / 0.3 - 500)
  EXPECT_EQ(scroll.y, 750);   // trunc(375 / 0.3 - 500)
}

TEST_F(ViewGeometryTest, UpsideDownMirrorsTheScrollPosition) {
  struct Case {
    const char* why;
    int32_t imageWidth;
    int expectedX;
  };
  for (const Case& c : {Case{"a wide image", 800, 900}, Case{"narrower than the client", 500, 0}}) {
    SCOPED_TRACE(c.why);
    doc.imageRect = {0, 0, c.imageWidth, 5000};
    view.computeFit(600, 600);
    view.zoomPercent = 200;
    view.applyZoom();
    scroll.extentW = 10000;  // let the position stand unclamped
    scroll.x = 100;
    scroll.y = 70;
    refreshes = 0;
    const int32_t side = view.showFront;
    view.upsideDown();
    EXPECT_EQ(scroll.x, c.expectedX);
    EXPECT_EQ(scroll.y, 70);
    EXPECT_EQ(view.showFront, 1 - side);
    EXPECT_EQ(refreshes, 1);
  }
}

TEST_F(ViewGeometryTest, UpsideDownInFitModeKeepsTheScroll) {
  view.computeFit(1000, 1000);
  scroll.x = 3;
  view.upsideDown();
  EXPECT_EQ(scroll.x, 3);
  EXPECT_EQ(view.showFront, 0);
}

TEST_F(ViewGeometryTest, ReadoutIsInCardUnits) {
  doc.resolution = 9;
  doc.originX = -20;
  doc.originY = 35;
  EXPECT_EQ(view.formatReadout(100, 10), "x=880 y=125");
  EXPECT_EQ(view.formatReadout(-3, 0), "x=-47 y=35");
}

TEST_F(ViewGeometryTest, ResizeFollowsOnlyInFitMode) {
  view.showNewCard(1000, 1000);
  EXPECT_EQ(scroll.extentW, 1000);
  refreshes = 0;
  view.resize(500, 500);
  EXPECT_DOUBLE_EQ(view.viewScale, 6.0);
  EXPECT_EQ(scroll.extentW, 500);
  EXPECT_EQ(refreshes, 1) << "markup widths follow the fit scale";
  view.zoomPercent = 100;
  view.applyZoom();
  view.resize(800, 800);
  EXPECT_DOUBLE_EQ(view.viewScale, 1.0);
  EXPECT_EQ(refreshes, 1);
}

}  // namespace
}  // namespace dravon
