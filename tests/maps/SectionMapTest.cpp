// The cross-section map: the segments built from the components, the clipped
// segments with their end circles, and full extent.

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include "maps/RoadSectionMap.h"
#include "maps/SectionDrawing.h"

namespace trazmark {
namespace {

Road_Section_Item component(double width, double slope, double kerb, const char* name = "c") {
  Road_Section_Item c;
  c.setModuleName(name);
  c.Width = width;
  c.Slope = slope;
  c.Roadteeth = kerb;
  return c;
}

void expectSegment(const SectionSegment& s, double x1, double y1, double x2, double y2) {
  EXPECT_NEAR(s.x1, x1, 1e-12);
  EXPECT_NEAR(s.y1, y1, 1e-12);
  EXPECT_NEAR(s.x2, x2, 1e-12);
  EXPECT_NEAR(s.y2, y2, 1e-12);
}

TEST(SectionSegments, BuiltOutwardFromTheCentre) {
  RecordList<Road_Section_Item> left, right;
  right.append(component(3.5, -2, 0));
  std::vector<SectionSegment> s = buildSectionSegments(left, right);
  ASSERT_EQ(s.size(), 1u);
  expectSegment(s[0], 0, 0, -0.07, 3.5);  // 7 cm lower at 3.5 m to the right

  right.clear();
  left.append(component(2, 0, 0.15));
  s = buildSectionSegments(left, right);
  ASSERT_EQ(s.size(), 2u);
  expectSegment(s[0], 0, 0, 0.15, 0);  // the kerb face
  EXPECT_EQ(s[0].component, -1);
  expectSegment(s[1], 0.15, 0, 0.15, -2);
  EXPECT_EQ(s[1].component, 0);

  // A kerb of 0.00005 m adds no face; the next component starts where the
  // last one ended.
  left.clear();
  left.append(component(3, -2, 0.00005));
  left.append(component(1, 4, 0.2));
  s = buildSectionSegments(left, right);
  ASSERT_EQ(s.size(), 3u);
  expectSegment(s[0], 0, 0, 0.00005 - 0.06, -3);
  expectSegment(s[1], 0.00005 - 0.06, -3, 0.00005 - 0.06 + 0.2, -3);
  expectSegment(s[2], 0.00005 - 0.06 + 0.2, -3, 0.00005 - 0.06 + 0.2 + 0.04, -4);
}

TEST(SectionSegments, ClippedAtTheWindowEdge) {
  const ClientRect rect{0, 0, 100, 80};
  struct Case {
    QPoint a, b;
    bool kept;
    QPoint ca, cb;
  } cases[] = {
      {{50, 40}, {150, 40}, true, {50, 40}, {100, 40}},   // crosses the right edge
      {{-50, 20}, {50, 20}, true, {0, 20}, {50, 20}},     // crosses the left edge
      {{50, -40}, {50, 40}, true, {50, 0}, {50, 40}},     // crosses the top
      {{-10, -10}, {110, 90}, true, {2, 0}, {98, 80}},    // in at the top, out at the bottom
      {{110, 10}, {150, 70}, false, {}, {}},              // both right of the window
      {{10, 10}, {90, 70}, true, {10, 10}, {90, 70}},     // wholly inside
  };
  for (const Case& c : cases) {
    QPoint a = c.a, b = c.b;
    EXPECT_EQ(clipSectionSegment(a, b, rect), c.kept) << c.a.x() << "," << c.a.y();
    if (!c.kept) continue;
    EXPECT_EQ(a, c.ca);
    EXPECT_EQ(b, c.cb);
  }

  // Drawn, the clipped end gets its circle at the edge.
  MapView view;
  ASSERT_TRUE(view.setClientRect(rect));
  view.commitView(-40, -50, 1.0);  // world (0, 0) at the window's centre
  QImage image(100, 80, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    drawSectionSegments(painter, view, {{0, 0, 0, 500, 1, -1}}, {}, {});
  }
  const ScreenPoint centre = view.worldToScreen(0, 0);
  auto blue = [&](int x, int y) { return qBlue(image.pixel(x, y)) > 200 && qRed(image.pixel(x, y)) < 80; };
  EXPECT_TRUE(blue(80, centre.y));
  EXPECT_TRUE(blue(99, centre.y - 4) || blue(99, centre.y + 4) || blue(96, centre.y - 4));  // the edge circle
}

TEST(SectionMap, EmptyComponentsKeepTheView) {
  CRoadSectionMap map;
  map.resize(400, 300);
  map.show();
  map.mapManage().commitView(-150, -200, 1.0);
  const MapViewParams before = map.mapManage().params();
  map.setSections({}, {});
  map.fullExtent();
  EXPECT_EQ(map.mapManage().params().centreX, before.centreX);
  EXPECT_EQ(map.mapManage().params().scale, before.scale);

  RecordList<Road_Section_Item> left, right;
  right.append(component(3.5, -2, 0));
  map.setSections(left, right);
  ASSERT_EQ(map.segments().size(), 1u);
  EXPECT_NEAR(map.mapManage().params().centreY, 1.75, 1e-9);

  QImage image;
  ASSERT_TRUE(renderSectionImage(left, right, QSize(400, 300), image));
  EXPECT_FALSE(renderSectionImage({}, {}, QSize(400, 300), image));
}

}  // namespace
}  // namespace trazmark
