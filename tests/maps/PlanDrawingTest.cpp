#include "maps/PlanDrawing.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QPainter>
#include <QWheelEvent>
#include <QTemporaryDir>
#include <cmath>

#include "alignment/RoadDesign_CrossPoint.h"
#include "maps/MapDecorations.h"
#include "maps/RoadMap.h"
#include "support/ExampleRoad.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;

TEST(PlanSampling, StepsOfArcsAndSpirals) {
  struct Case {
    double start, end, scale;
    std::vector<double> samples;
  } cases[] = {
      // 30 m: a tenth of the length, 11 samples.
      {100, 130, 0.1, {100, 103, 106, 109, 112, 115, 118, 121, 124, 127, 130}},
      // 120 m: every 10 m, 13 samples.
      {0, 120, 1, {0, 10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120}},
      // At 20 m per pixel the step becomes the scale.
      {0, 120, 20, {0, 20, 40, 60, 80, 100, 120}},
      // A step equal to the scale is raised too (to the same value).
      {0, 30, 3, {0, 3, 6, 9, 12, 15, 18, 21, 24, 27, 30}},
      // 55 m: no step between 5 and 10 m, the end is not a whole step away.
      {0, 55, 1, {0, 10, 20, 30, 40, 50, 55}},
      // A zero-length arc gives its point twice.
      {42, 42, 1, {42, 42}},
  };
  for (const Case& c : cases) {
    const std::vector<double> got = curveSampleMileages(c.start, c.end, c.scale);
    ASSERT_EQ(got.size(), c.samples.size()) << c.start << "-" << c.end << " at " << c.scale;
    for (std::size_t i = 0; i < got.size(); ++i) EXPECT_NEAR(got[i], c.samples[i], 1e-9);
  }
  // Odd starting chainages do not creep into a repeated end.
  EXPECT_EQ(curveSampleMileages(0.1, 30.1, 0.01).size(), 11u);
  // Absurd lengths stay bounded.
  EXPECT_LE(curveSampleMileages(0, 1e12, 1e-6).size(), 1000002u);
}

/// A 100 x 100 black image and a view of it at centre (0, 0).
struct Canvas {
  explicit Canvas(double scale) : image(100, 100, QImage::Format_RGB32) {
    image.fill(Qt::black);
    view.setClientRect({0, 0, 100, 100});
    view.commitTarget({0, 0, scale});
  }
  int redPixels() const {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) == 0xFF0000u;
    return n;
  }
  bool anyLitNear(int cx, int cy, int r) const {
    for (int y = cy - r; y <= cy + r; ++y)
      for (int x = cx - r; x <= cx + r; ++x)
        if (image.valid(x, y) && (image.pixel(x, y) & 0xFFFFFF) != 0) return true;
    return false;
  }
  QImage image;
  MapView view;
};

CRoadElement element(int type, double x, double y, double azimuth, double length, double radius,
                     double startMileage) {
  CRoadElement e;
  e.type = type;
  e.startX = x;
  e.startY = y;
  e.startAzimuth = azimuth;
  e.length = length;
  e.startRadius = radius;
  e.startMileage = startMileage;
  EXPECT_TRUE(e.computeEnd());
  return e;
}

TEST(PlanCentreLine, CurvesNeedASampleInsideAndStraightsAreAlwaysDrawn) {
  // A 5 m window; a gentle arc northwards through it whose 10 m samples fall at
  // 5 m south and 5 m north of the window centre.
  Canvas c(0.05);
  const CRoadElement arc = element(kElementArc, -65, 0, 0, 130, 1e5, 0);
  {
    QPainter p(&c.image);
    drawCentreLine(p, c.view, {arc}, Qt::red);
  }
  EXPECT_EQ(c.redPixels(), 0);

  const CRoadElement line = element(kElementLine, -65, 0, 0, 130, 0, 0);
  {
    QPainter p(&c.image);
    drawCentreLine(p, c.view, {line}, Qt::red);
  }
  EXPECT_GE(c.redPixels(), 99);  // top to bottom of the window

  // The same arc at a scale where a sample lands inside is drawn.
  Canvas wide(1.0);
  {
    QPainter p(&wide.image);
    drawCentreLine(p, wide.view, {arc}, Qt::red);
  }
  EXPECT_GE(wide.redPixels(), 99);

  // A start point draws nothing; a far straight at a tiny scale is clipped
  // without trouble.
  Canvas tiny(1e-6);
  {
    QPainter p(&tiny.image);
    drawCentreLine(p, tiny.view,
                   {element(kElementStartPoint, 0, 0, 0, 0, 0, 0),
                    element(kElementLine, 1e-5, -5e5, kPi / 2, 1e6, 0, 0)},
                   Qt::red);
  }
  EXPECT_GE(tiny.redPixels(), 99);
}

TEST(PlanKeyPoints, RightAndBottomEdgesAreOutside) {
  Canvas c(1.0);
  // Pixels: (99, 50) inside; (100, 50) on the right edge; (50, 100) on the bottom.
  const std::vector<SurveyCoord> points = {{"IN", 0, 49, 0, ""}, {"RIGHT", -30, 50, 0, ""},
                                           {"BOTTOM", -50, -30, 0, ""}};
  {
    QPainter p(&c.image);
    drawKeyPoints(p, c.view, points, Qt::red);
  }
  EXPECT_TRUE(c.anyLitNear(98, 50, 1));
  EXPECT_FALSE(c.anyLitNear(98, 50 + 30, 2));   // the right-edge point at (100, 80)
  EXPECT_FALSE(c.anyLitNear(20, 98, 2));        // the bottom-edge point at (20, 100)
  EXPECT_EQ(c.image.pixel(50, 50) & 0xFFFFFF, 0u);
}

TEST(PlanKeyPoints, NamesAtTheTopRightCornerGoInsideRatherThanBeingCut) {
  Canvas c(1.0);
  {
    QPainter p(&c.image);
    drawKeyPoints(p, c.view, {{"ZD", 45, 40, 0, ""}}, Qt::red);  // pixel (90, 5)
  }
  // The white name box lies left of the point, from the window's top edge.
  int white = 0;
  for (int y = 0; y < 24; ++y)
    for (int x = 30; x < 75; ++x) white += (c.image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFFu;
  EXPECT_GT(white, 20);
  EXPECT_EQ(c.image.pixel(99, 10) & 0xFFFFFF, 0u);  // nothing run up to the right edge
}

TEST(PlanKeyPoints, CircleAndNameBoxBesideTheCircle) {
  Canvas c(1.0);
  {
    QPainter p(&c.image);
    drawKeyPoints(p, c.view, {{"QD", 0, -30, 0, ""}}, Qt::red);  // pixel (20, 50)
  }
  EXPECT_EQ(c.image.pixel(18, 50) & 0xFFFFFF, 0xFF0000u);  // circle outline
  // The name: black text on a white box starting 16 pixels right, 16 up.
  int white = 0;
  for (int y = 34; y < 66; ++y)
    for (int x = 36; x < 100; ++x) white += (c.image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFFu;
  EXPECT_GT(white, 20);
  EXPECT_FALSE(c.anyLitNear(30, 50, 3));  // nothing between the circle and the name
}

/// The intersection-point example: (0, 0), (1000, 0), (1500, 600) with R 300 and
/// 80 m spirals, as the alignment editor writes it.
std::string writeExampleCurveFile(const QTemporaryDir& dir) {
  const std::string path = test::writeExampleCurveFile(dir.path().toStdString(), "EXAMPLE");
  EXPECT_FALSE(path.empty());
  return path;
}

bool redNear(const QImage& image, const ScreenPoint& p) {
  for (int dy = -1; dy <= 1; ++dy)
    for (int dx = -1; dx <= 1; ++dx)
      if (image.valid(p.x + dx, p.y + dy) && (image.pixel(p.x + dx, p.y + dy) & 0xFFFFFF) == 0xFF0000u)
        return true;
  return false;
}

TEST(PlanImage, RendersTheExampleWithSpiralsAtFullExtent) {
  QTemporaryDir dir;
  CRoadDesign design;
  ASSERT_TRUE(design.loadFromCurveFile(writeExampleCurveFile(dir)));
  ASSERT_EQ(design.keyPoints().size(), 7u);  // QD ZH HY QZ YH HZ ZD

  QImage image;
  MapView view;
  ASSERT_TRUE(renderPlanImage(design, QSize(640, 480), image, &view));
  EXPECT_EQ(image.size(), QSize(640, 480));
  const Extents& e = design.extents();
  EXPECT_NEAR(view.scale(), std::max((e.maxY - e.minY) / (0.9 * 640), (e.maxX - e.minX) / (0.9 * 480)),
              1e-9);

  int hits = 0;
  int tries = 0;
  for (double m = design.startMileage() + 25; m < design.endMileage(); m += 37) {
    const auto p = design.pointAtStation(m, 0);
    ASSERT_TRUE(p);
    ++tries;
    hits += redNear(image, view.worldToScreen(p->x, p->y));
  }
  EXPECT_GE(hits, tries * 8 / 10) << hits << " of " << tries;
  // Far from the road the map stays black.
  const ScreenPoint away = view.worldToScreen(100, 500);
  EXPECT_EQ(image.pixel(away.x, away.y) & 0xFFFFFF, 0u);

  EXPECT_FALSE(renderPlanImage(design, QSize(4, 480), image));
  EXPECT_FALSE(renderPlanImage(CRoadDesign(), QSize(640, 480), image));
  EXPECT_FALSE(renderPlanImage((dir.path() + "/missing.TDFE").toStdString(), QSize(64, 48), image));
}

TEST(RoadMapWindow, LoadsFitsAndKeepsTheLastAlignment) {
  QTemporaryDir dir;
  const std::string path = writeExampleCurveFile(dir);
  CRoadMap map;
  map.mapManage().setSettingsFolder(dir.path().toStdString());
  map.resize(500, 400);
  // Loaded while hidden: the fit waits for the first paint.
  ASSERT_TRUE(map.showAlignmentFile(path));
  EXPECT_DOUBLE_EQ(map.mapManage().params().scale, 1.0);
  map.show();
  const QImage shot = map.grab().toImage();
  const ClientRect r = map.mapManage().params().clientRect;
  EXPECT_EQ(r.width(), map.contentsRect().width());
  const Extents e = map.roadDesign().extents();
  const double fitted = std::max((e.maxY - e.minY) / (0.9 * r.width()), (e.maxX - e.minX) / (0.9 * r.height()));
  EXPECT_NEAR(map.mapManage().params().scale, fitted, 1e-9);
  const auto mid = map.roadDesign().pointAtStation(map.roadDesign().startMileage() + 500, 0);
  ASSERT_TRUE(mid);
  const ScreenPoint p = map.mapManage().worldToScreen(mid->x, mid->y);
  const QImage frame = map.mapManage().windowFrame();
  EXPECT_TRUE(redNear(frame, p));
  EXPECT_EQ(shot.size(), map.size());

  // The view commands of the drawing pane.
  EXPECT_TRUE(map.viewCommand(kCommandZoomIn));
  EXPECT_NEAR(map.mapManage().params().scale, fitted * 0.88, 1e-9);
  map.fullExtent();
  EXPECT_NEAR(map.mapManage().params().scale, fitted, 1e-9);
  map.move();
  EXPECT_EQ(map.mapManage().tool(), kToolMove);
  EXPECT_FALSE(map.viewCommand(9));

  // A missing file keeps the alignment, and full extent its box.
  map.zoomOut();
  EXPECT_FALSE(map.showAlignmentFile((dir.path() + "/gone.TDFE").toStdString()));
  EXPECT_EQ(map.roadDesign().keyPoints().size(), 7u);
  EXPECT_NEAR(map.mapManage().params().scale, fitted, 1e-9);
}

TEST(RoadMapWindow, WheelZoomsAtTheCursorByNotches) {
  CRoadMap map;
  QTemporaryDir dir;
  map.mapManage().setSettingsFolder(dir.path().toStdString());
  map.resize(300, 200);
  map.show();
  (void)map.grab();
  const QPoint at = QPoint(40, 30) + map.contentsRect().topLeft();
  const WorldPoint under = map.mapManage().screenToWorld(40, 30);
  auto wheel = [&](int delta) {
    QWheelEvent event(QPointF(at), QPointF(map.mapToGlobal(at)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&map, &event);
  };
  wheel(60);  // half a notch: nothing yet
  EXPECT_DOUBLE_EQ(map.mapManage().params().scale, 1.0);
  wheel(60);
  EXPECT_DOUBLE_EQ(map.mapManage().params().scale, 0.88);
  const WorldPoint still = map.mapManage().screenToWorld(40, 30);
  EXPECT_NEAR(still.x, under.x, 1e-9);
  EXPECT_NEAR(still.y, under.y, 1e-9);
  wheel(-120);
  EXPECT_NEAR(map.mapManage().params().scale, 0.968, 1e-12);
}

}  // namespace
}  // namespace trazmark
