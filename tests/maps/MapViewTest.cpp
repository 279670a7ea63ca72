#include "maps/MapView.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace trazmark {
namespace {

MapView viewOf(int width, int height, double centreX = 0, double centreY = 0, double scale = 1.0) {
  MapView v;
  EXPECT_TRUE(v.setClientRect({0, 0, width, height}));
  double ox = 0;
  double oy = 0;
  v.originFor(centreX, centreY, scale, ox, oy);
  v.commitView(ox, oy, scale);
  return v;
}

TEST(MapViewTransform, WorldToScreenAndBackInTheSurveyConvention) {
  struct Case {
    double x, y;   // world, X north, Y east
    int px, py;    // pixel in a 100 x 100 window at centre (0, 0), scale 1
  } cases[] = {
      {10, 20, 70, 40},    // north is up, east is right
      {0, 0, 50, 50},
      {-10, -20, 30, 60},
      {0.4, 0.4, 50, 50},  // rounded to the nearest pixel
      {60, -70, -20, -10}, // beyond the left and top edges, rounded the same way
  };
  const MapView v = viewOf(100, 100);
  for (const Case& c : cases) {
    const ScreenPoint p = v.worldToScreen(c.x, c.y);
    EXPECT_EQ(p, (ScreenPoint{c.px, c.py})) << c.x << "," << c.y;
  }
  const WorldPoint w = v.screenToWorld(70, 40);
  EXPECT_DOUBLE_EQ(w.x, 10);
  EXPECT_DOUBLE_EQ(w.y, 20);
  EXPECT_EQ(w.h, 0);

  // Round trip at another centre and scale, odd window size.
  const MapView moved = viewOf(101, 77, 3.5e5, 4.2e6, 0.25);
  const ScreenPoint p = moved.worldToScreen(3.5e5 + 5, 4.2e6 - 7.5);
  const WorldPoint back = moved.screenToWorld(p.x, p.y);
  EXPECT_NEAR(back.x, 3.5e5 + 5, 0.25);
  EXPECT_NEAR(back.y, 4.2e6 - 7.5, 0.25);
}

TEST(MapViewTransform, FarPointsAreClampedNotOverflowed) {
  const MapView v = viewOf(100, 100, 0, 0, 1e-6);
  const ScreenPoint p = v.worldToScreen(1e9, -1e9);
  EXPECT_EQ(p.x, -1000000000);
  EXPECT_EQ(p.y, -1000000000);
  const ScreenPoint nan = v.worldToScreen(std::nan(""), 0);
  EXPECT_EQ(nan.y, 0);
}

TEST(MapViewClientRect, SmallOrUnchangedRectanglesAreIgnored) {
  MapView v;
  EXPECT_FALSE(v.setClientRect({0, 0, 4, 100}));
  EXPECT_FALSE(v.setClientRect({0, 0, 100, 4}));
  EXPECT_TRUE(v.setClientRect({0, 0, 5, 5}));
  EXPECT_FALSE(v.setClientRect({0, 0, 5, 5}));
  EXPECT_FALSE(v.setClientRect({0, 0, 0, 0}));  // a minimised window keeps its view
  EXPECT_EQ(v.clientRect(), (ClientRect{0, 0, 5, 5}));
}

TEST(MapViewCommit, ScaleLimitsAndTheCentreFollowingTheOrigin) {
  MapView v = viewOf(400, 200, 100, 200, 2.0);
  // Refused scale: the centre still follows the origin, with the old scale.
  EXPECT_TRUE(v.commitView(1000, 2000, 2e6));
  EXPECT_DOUBLE_EQ(v.scale(), 2.0);
  EXPECT_DOUBLE_EQ(v.params().centreX, 1000 + 400 * 2.0 / 2);
  EXPECT_DOUBLE_EQ(v.params().centreY, 2000 + 200 * 2.0 / 2);

  EXPECT_TRUE(v.commitView(0, 0, 1e-7));  // below 1e-6: refused too
  EXPECT_DOUBLE_EQ(v.scale(), 2.0);
  EXPECT_TRUE(v.commitView(0, 0, 1e6));   // the limits themselves are taken
  EXPECT_DOUBLE_EQ(v.scale(), 1e6);

  // Origins beyond 1e11 leave the centre; NaN is never taken.
  const MapViewParams before = v.params();
  EXPECT_TRUE(v.commitView(2e11, -2e11, 5.0));
  EXPECT_DOUBLE_EQ(v.params().centreX, before.centreX);
  EXPECT_DOUBLE_EQ(v.params().centreY, before.centreY);
  EXPECT_DOUBLE_EQ(v.scale(), 5.0);
  v.commitView(std::nan(""), 0, std::nan(""));
  EXPECT_DOUBLE_EQ(v.scale(), 5.0);
  EXPECT_FALSE(std::isnan(v.params().centreX));

  // A change below 1e-7 is no change.
  double ox = 0;
  double oy = 0;
  v.originFor(v.params().centreX, v.params().centreY, v.scale(), ox, oy);
  EXPECT_FALSE(v.commitView(ox + 5e-8, oy, v.scale() + 5e-8));
}

TEST(MapViewZoom, ClicksAndDragsOfZoomIn) {
  // Click at the centre (tenths of a pixel): centre kept, 0.88 times the scale.
  MapView v = viewOf(100, 100, 10, 20, 2.0);
  auto t = v.zoomInTarget(500, 500, 500, 500);
  ASSERT_TRUE(t);
  EXPECT_DOUBLE_EQ(t->scale, 2.0 * 0.88);
  EXPECT_NEAR(t->centreX, 10, 1e-9);
  EXPECT_NEAR(t->centreY, 20, 1e-9);

  // A drag of 5 pixels or less in either direction is a click; the clicked
  // world point stays under the cursor.
  for (auto [x1, y1] : {std::pair{250, 350}, std::pair{800, 350}, std::pair{250, 900}}) {
    t = v.zoomInTarget(200, 300, x1, y1);
    ASSERT_TRUE(t);
    EXPECT_DOUBLE_EQ(t->scale, 2.0 * 0.88) << x1 << "," << y1;
    const double cx = ((200 + x1) / 2) / 10.0;
    const double cy = ((300 + y1) / 2) / 10.0;
    const WorldPoint before = v.screenToWorld(cx, cy);
    MapView after = v;
    ASSERT_TRUE(after.commitTarget(*t));
    const WorldPoint now = after.screenToWorld(cx, cy);
    EXPECT_NEAR(now.x, before.x, 1e-9);
    EXPECT_NEAR(now.y, before.y, 1e-9);
  }

  // A dragged rectangle of 60 x 30 pixels is fitted with the factor 1.1 and
  // becomes the centre.
  t = v.zoomInTarget(100, 200, 700, 500);
  ASSERT_TRUE(t);
  EXPECT_DOUBLE_EQ(t->scale, std::max(60 * 2.0 / 100, 30 * 2.0 / 100) * 1.1);
  const WorldPoint mid = v.screenToWorld(40, 35);
  EXPECT_NEAR(t->centreX, mid.x, 1e-9);
  EXPECT_NEAR(t->centreY, mid.y, 1e-9);
}

TEST(MapViewZoom, ZoomOutClicksAndDrags) {
  MapView v = viewOf(100, 100, 10, 20, 2.0);
  auto t = v.zoomOutTarget(50, 50, 50, 50);
  ASSERT_TRUE(t);
  EXPECT_DOUBLE_EQ(t->scale, 2.2);
  EXPECT_NEAR(t->centreX, 10, 1e-9);
  EXPECT_NEAR(t->centreY, 20, 1e-9);

  // Elsewhere the clicked world point moves to the centre.
  const WorldPoint clicked = v.screenToWorld(80, 30);
  t = v.zoomOutTarget(80, 30, 82, 33);
  ASSERT_TRUE(t);
  EXPECT_NEAR(t->scale, 2.2, 1e-12);
  const WorldPoint c = v.screenToWorld(81, 31.5);
  EXPECT_NEAR(t->centreX, c.x, 1e-9);
  EXPECT_NEAR(t->centreY, c.y, 1e-9);
  EXPECT_NEAR(t->centreX, clicked.x, 2 * 2.0);

  // A dragged rectangle: the old window lands inside it.
  t = v.zoomOutTarget(10, 60, 50, 80);  // 40 x 20 pixels
  ASSERT_TRUE(t);
  EXPECT_DOUBLE_EQ(t->scale, 2.0 * std::max(100 / 40.0, 100 / 20.0) * 1.1);
  MapView after = v;
  after.commitTarget(*t);
  for (auto [px, py] : {std::pair{0, 0}, std::pair{100, 0}, std::pair{0, 100}, std::pair{100, 100}}) {
    const WorldPoint corner = v.screenToWorld(px, py);
    const ScreenPoint s = after.worldToScreen(corner.x, corner.y);
    EXPECT_GE(s.x, 10);
    EXPECT_LE(s.x, 50);
    EXPECT_GE(s.y, 60);
    EXPECT_LE(s.y, 80);
  }
}

TEST(MapViewZoom, MoveKeepsTheGrabbedPointUnderTheCursor) {
  MapView v = viewOf(100, 100, 10, 20, 2.0);
  EXPECT_FALSE(v.panTarget(30, 40, 30, 40));
  const WorldPoint grabbed = v.screenToWorld(30, 40);
  auto t = v.panTarget(30, 40, 45, 25);
  ASSERT_TRUE(t);
  EXPECT_DOUBLE_EQ(t->scale, 2.0);
  MapView after = v;
  after.commitTarget(*t);
  const WorldPoint now = after.screenToWorld(45, 25);
  EXPECT_NEAR(now.x, grabbed.x, 1e-9);
  EXPECT_NEAR(now.y, grabbed.y, 1e-9);
}

TEST(MapViewFullExtent, FitsTheUnionIntoNineTenthsOfTheWindow) {
  const MapView v = viewOf(400, 200, 0, 0, 3.0);
  // 100 m north-south, 50 m east-west: max(50 / 360, 100 / 180).
  auto t = v.fullExtentTarget({{1000, 500, 1100, 550}});
  ASSERT_TRUE(t);
  EXPECT_NEAR(t->scale, 0.5556, 5e-5);
  EXPECT_DOUBLE_EQ(t->centreX, 1050);
  EXPECT_DOUBLE_EQ(t->centreY, 525);

  // Union of two boxes.
  t = v.fullExtentTarget({{0, 0, 10, 10}, {90, -30, 100, 5}});
  ASSERT_TRUE(t);
  EXPECT_DOUBLE_EQ(t->centreX, 50);
  EXPECT_DOUBLE_EQ(t->centreY, -10);

  // A road running due north has no east-west span: fitted by its length.
  t = v.fullExtentTarget({{0, 7, 180, 7}});
  ASSERT_TRUE(t);
  EXPECT_DOUBLE_EQ(t->scale, 1.0);
  // A single point keeps the scale and centres on it.
  t = v.fullExtentTarget({{5, 6, 5, 6}});
  ASSERT_TRUE(t);
  EXPECT_DOUBLE_EQ(t->scale, 3.0);
  EXPECT_DOUBLE_EQ(t->centreX, 5);

  EXPECT_FALSE(v.fullExtentTarget({}));                 // no extent at all
  EXPECT_FALSE(v.fullExtentTarget({{10, 0, 0, 10}}));   // inverted
  EXPECT_FALSE(MapView().fullExtentTarget({{0, 0, 1, 1}}));  // window without size
}

}  // namespace
}  // namespace trazmark
