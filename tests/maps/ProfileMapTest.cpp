// The profile map: its sampling of the grade line, its VR loading, the clipped
// thick line, the labels, and its agreement with `trazmark-cli profile`.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QWheelEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "maps/MapDecorations.h"
#include "maps/MapLabels.h"
#include "maps/ProfileDrawing.h"
#include "maps/VertricalCurveMap.h"
#include "platform/TextFields.h"
#include "vertical/VerticalCurveCal.h"
#include "vertical/VerticalCurveFile.h"

namespace trazmark {
namespace {

const std::string kCli = TRAZMARK_BINARY_DIR "/src/cli/trazmark-cli";

CVerticalCurveCal gradePoint(double mileage, double high, double radius = 0) {
  CVerticalCurveCal p;
  p.Mileage = mileage;
  p.High = high;
  p.Radius = radius;
  return p;
}

/// 0 to 1000 m with a crest of R 4000 at 500 m, refreshed and set up.
RecordList<CVerticalCurveCal> crest() {
  RecordList<CVerticalCurveCal> points;
  points.append(gradePoint(0, 100));
  points.append(gradePoint(500, 110, 4000));
  points.append(gradePoint(1000, 100));
  refreshGradePoints(points);
  setupVerticalCurves(points);
  return points;
}

TEST(ProfileLine, SamplesEvery20MetresAndTheEnd) {
  const std::vector<ProfilePoint> points = profileLinePoints(crest());
  ASSERT_EQ(points.size(), 51u);
  for (std::size_t k = 0; k < 50; ++k) EXPECT_DOUBLE_EQ(points[k].y * kProfileExaggeration, 20.0 * k) << k;
  // World Y is the mileage over 20; the last stretch ends at the last point.
  EXPECT_DOUBLE_EQ(points[49].y, 49);
  EXPECT_DOUBLE_EQ(points[50].y, 50);
  EXPECT_NEAR(points[50].x, 100, 1e-9);
  EXPECT_TRUE(profileLinePoints({}).empty());
}

TEST(ProfileMap, LoadsAVrFileOfAtMost1000Lines) {
  QTemporaryDir dir;
  const std::string vr = dir.filePath("long.VR").toStdString();
  std::string text;
  for (int i = 0; i < 1200; ++i) appendFormat(text, "%d.000,100.000,0.000,0.000,0.000,0.000,0.000,0.000,0,\r\n", i * 10);
  std::ofstream(vr, std::ios::binary) << text;
  CVertricalCurveMap map;
  map.resize(600, 300);
  ASSERT_TRUE(map.showVerticalCurveFile(vr));
  EXPECT_EQ(map.gradePoints().size(), 1000u);
  EXPECT_DOUBLE_EQ(map.profilePoints().back().y * kProfileExaggeration, 9990);

  // A missing file and one without a complete line leave the map as it was.
  EXPECT_FALSE(map.showVerticalCurveFile(dir.filePath("missing.VR").toStdString()));
  const std::string partial = dir.filePath("partial.VR").toStdString();
  std::ofstream(partial, std::ios::binary) << "0.000,1.000,0,0,0,0,0,0,0,";
  EXPECT_FALSE(map.showVerticalCurveFile(partial));
  EXPECT_EQ(map.gradePoints().size(), 1000u);
}

bool isRed(QRgb p) { return qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80; }

TEST(ProfileLine, LeavesTheWindowAtItsEdgeInsteadOfJoiningAcross) {
  MapView view;
  ASSERT_TRUE(view.setClientRect({0, 0, 200, 100}));
  view.commitView(0, 0, 1.0);  // world (x, y) at pixel (y + 50, 150 - x)
  // In at the left, far above the top, back in at the right.
  const std::vector<ProfilePoint> points{{70, -30}, {400, 50}, {70, 130}};
  QImage image(200, 100, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    drawProfileLine(painter, view, points);
  }
  const ScreenPoint left = view.worldToScreen(70, -30);
  const ScreenPoint right = view.worldToScreen(70, 130);
  ASSERT_EQ(left, (ScreenPoint{20, 80}));
  ASSERT_EQ(right, (ScreenPoint{180, 80}));
  EXPECT_TRUE(isRed(image.pixel(left.x, left.y)));
  EXPECT_TRUE(isRed(image.pixel(right.x, right.y)));
  // Nothing straight across between the two visible points...
  EXPECT_FALSE(isRed(image.pixel((left.x + right.x) / 2, left.y)));
  // ...but both parts run up to the top edge.
  bool redAtTop = false;
  for (int x = 0; x < 200; ++x) redAtTop = redAtTop || isRed(image.pixel(x, 0));
  EXPECT_TRUE(redAtTop);

  // A single point draws nothing.
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    drawProfileLine(painter, view, {{70, -30}});
  }
  EXPECT_FALSE(isRed(image.pixel(left.x, left.y)));
}

TEST(ProfileLabels, StationsAndNoOverlap) {
  const struct {
    double mileage;
    const char* text;
  } stations[] = {{0, "K0+000.000"}, {1250.5, "K1+250.500"}, {999.9996, "K1+000.000"},
                  {-20, "-K0+020.000"}, {123456.789, "K123+456.789"}};
  for (const auto& s : stations) EXPECT_EQ(formatStation(s.mileage), s.text) << s.mileage;

  CLabelPlacer placer(QRect(0, 0, 100, 100));
  EXPECT_TRUE(placer.place(QRect(10, 10, 20, 10)));
  EXPECT_FALSE(placer.place(QRect(25, 15, 20, 10)));  // overlaps the first
  EXPECT_FALSE(placer.place(QRect(90, 90, 20, 10)));  // leaves the window
  EXPECT_TRUE(placer.place(QRect(40, 10, 20, 10)));

  // Labels show in the picture and can be switched off.
  QImage with, without;
  ASSERT_TRUE(renderProfileImage(crest(), QSize(800, 400), true, with));
  ASSERT_TRUE(renderProfileImage(crest(), QSize(800, 400), false, without));
  EXPECT_NE(with, without);
}

TEST(ProfileMap, AgreesWithTheCommandLineAtEverySample) {
  QTemporaryDir dir;
  const std::string vr = dir.filePath("road.VR").toStdString();
  RecordList<CVerticalCurveCal> points;
  points.append(gradePoint(-35, 100));
  points.append(gradePoint(420, 112.5, 6000));
  points.append(gradePoint(910, 101, 3000));
  CVerticalCurveCal parabola = gradePoint(1400, 108);
  parabola.CalMode = 1;
  parabola.CurveL = 160;
  points.append(parabola);
  points.append(gradePoint(2013.7, 99.25));
  ASSERT_TRUE(writeVerticalCurveFile(vr, points));

  CVertricalCurveMap map;
  ASSERT_TRUE(map.showVerticalCurveFile(vr));
  const std::string out = dir.filePath("cli.txt").toStdString();
  const std::string command = "'" + kCli + "' profile '" + vr + "' --interval 20 --with-end > '" + out + "'";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  std::ifstream in(out);
  std::string line;
  std::size_t k = 0;
  const auto& drawn = map.profilePoints();
  while (std::getline(in, line)) {
    ASSERT_LT(k, drawn.size()) << line;
    // The same numbers, to the last printed digit.
    EXPECT_EQ(formatFixed(drawn[k].y * kProfileExaggeration, 3) + "," + formatFixed(drawn[k].x, 3), line) << k;
    ++k;
  }
  EXPECT_EQ(k, drawn.size());
  EXPECT_GT(k, 100u);
}

TEST(ProfileMap, WheelZoomsAboutTheCentreAndSelectsTheZoomTool) {
  QTemporaryDir dir;
  const std::string vr = dir.filePath("road.VR").toStdString();
  ASSERT_TRUE(writeVerticalCurveFile(vr, crest()));
  CVertricalCurveMap map;
  map.resize(400, 300);
  map.show();
  ASSERT_TRUE(map.showVerticalCurveFile(vr));
  const MapViewParams fitted = map.mapManage().params();
  // Fitted with the profile's box in the middle of the window.
  EXPECT_NEAR(fitted.centreY, 25, 1e-9);
  const QPoint corner = QPoint(20, 20) + map.contentsRect().topLeft();
  auto wheel = [&](int delta) {
    QWheelEvent event(QPointF(corner), QPointF(map.mapToGlobal(corner)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(&map, &event);
  };
  wheel(120);
  EXPECT_NEAR(map.mapManage().params().scale, fitted.scale * 0.88, 1e-12);
  EXPECT_NEAR(map.mapManage().params().centreY, fitted.centreY, 1e-9);  // not about the cursor
  EXPECT_NEAR(map.mapManage().params().centreX, fitted.centreX, 1e-9);
  EXPECT_EQ(map.mapManage().tool(), 11);
  wheel(-120);
  EXPECT_NEAR(map.mapManage().params().scale, fitted.scale * 0.88 * 1.1, 1e-12);
  EXPECT_EQ(map.mapManage().tool(), 12);
}

TEST(ProfileMap, HasAxesAndAScaleBarButNoNorthArrow) {
  QTemporaryDir dir;
  const std::string vr = dir.filePath("road.VR").toStdString();
  ASSERT_TRUE(writeVerticalCurveFile(vr, crest()));
  CVertricalCurveMap map;
  map.resize(400, 300);
  map.show();
  ASSERT_TRUE(map.showVerticalCurveFile(vr));
  const QImage shown = map.grab().toImage();
  const QPoint origin = map.contentsRect().topLeft();
  const int bottom = map.contentsRect().height();
  // White along the north arrow's stem (15 pixels in from the bottom-left
  // corner) on the plan's frame; nothing white there on the profile.
  auto whiteOnStem = [&](const QImage& image, QPoint at) {
    int white = 0;
    for (int y = bottom - 70; y <= bottom - 20; ++y)
      white += image.pixel(at + QPoint(15, y)) == qRgb(255, 255, 255);
    return white;
  };
  QImage plan;
  presentFrame(plan, map.mapManage().view(), QImage());
  EXPECT_GT(whiteOnStem(plan, QPoint()), 40);
  EXPECT_EQ(whiteOnStem(shown, origin), 0);
  // The scale bar's label, in white at the bottom-right corner, is there.
  int white = 0;
  for (int y = bottom - 35; y < bottom; ++y)
    for (int x = map.contentsRect().width() - 80; x < map.contentsRect().width(); ++x)
      white += shown.pixel(origin + QPoint(x, y)) == qRgb(255, 255, 255);
  EXPECT_GT(white, 20);
}

}  // namespace
}  // namespace trazmark
