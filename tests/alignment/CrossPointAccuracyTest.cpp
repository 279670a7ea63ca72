// The curve file of the intersection-point method, laid out element by element
// with an independent integration of the tangent direction, must run through
// every intersection point's straights and end on the last point.

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <unistd.h>

#include "alignment/RoadDesign.h"
#include "alignment/RoadDesign_CrossPoint.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;

struct Pose {
  double x = 0, y = 0, azimuth = 0;  // north, east, radians clockwise from north
};

struct Record {
  std::string key;
  double a = 0, b = 0;
};

std::vector<Record> readRecords(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<Record> records;
  std::size_t pos = 0;
  while (true) {
    std::size_t end = text.find("\r\n", pos);
    if (end == std::string::npos) break;
    std::string line = text.substr(pos, end - pos);
    pos = end + 2;
    std::stringstream ss(line);
    Record r;
    std::string a, b;
    std::getline(ss, r.key, ',');
    std::getline(ss, a, ',');
    std::getline(ss, b, ',');
    if (r.key == "PT" || r.key == "R." || r.key == "CC" || r.key == "CL") {
      r.a = std::stod(a);
      r.b = std::stod(b);
      records.push_back(r);
    } else if (r.key == "START CHAINAGE") {
      r.a = std::stod(a);
      records.push_back(r);
    }
  }
  return records;
}

/// Runs `length` metres from `p` with the curvature (1/m, positive right)
/// changing linearly from k0 to k1, by 10-point Gauss-Legendre quadrature of
/// cos and sin of the heading over short panels.
Pose run(Pose p, double length, double k0, double k1) {
  static const double x[5] = {0.1488743389816312, 0.4333953941292472, 0.6794095682990244,
                              0.8650633666889845, 0.9739065285171717};
  static const double w[5] = {0.2955242247147529, 0.2692667193099963, 0.2190863625159820,
                              0.1494513491505806, 0.0666713443086881};
  const double rate = length > 0 ? (k1 - k0) / length : 0;
  auto heading = [&](double s) { return p.azimuth + k0 * s + rate * s * s / 2; };
  const int panels = 24;
  const double h = length / panels;
  double dx = 0, dy = 0;
  for (int i = 0; i < panels; ++i) {
    const double mid = (i + 0.5) * h;
    for (int k = 0; k < 5; ++k) {
      for (double sign : {-1.0, 1.0}) {
        const double t = heading(mid + sign * x[k] * h / 2);
        dx += w[k] * std::cos(t);
        dy += w[k] * std::sin(t);
      }
    }
  }
  Pose q;
  q.x = p.x + dx * h / 2;
  q.y = p.y + dy * h / 2;
  q.azimuth = heading(length);
  return q;
}

/// Lays the records out from the start point; returns the pose at the start
/// of every element and, last, at the end of the road.
std::vector<Pose> layOut(const std::vector<Record>& records) {
  std::vector<Pose> poses;
  Pose p;
  double curvature = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    const Record& r = records[i];
    if (r.key == "PT") {
      p.x = r.b;
      p.y = r.a;
      continue;
    }
    if (r.key == "START CHAINAGE") continue;
    if (r.key == "R.") {
      p.azimuth = r.b * kPi / 180;
      curvature = 0;
    }
    poses.push_back(p);
    if (r.key == "R.") {
      p = run(p, r.a, 0, 0);
    } else if (r.key == "CC") {
      curvature = 1 / r.b;
      p = run(p, r.a, curvature, curvature);
    } else if (r.key == "CL") {
      // A spiral runs from the curvature before it to that of the next element.
      const double next = i + 1 < records.size() && records[i + 1].key == "CC" ? 1 / records[i + 1].b : 0;
      p = run(p, r.a, curvature, next);
      curvature = next;
    }
  }
  poses.push_back(p);
  return poses;
}

double wrap(double a) {
  while (a > kPi) a -= 2 * kPi;
  while (a < -kPi) a += 2 * kPi;
  return a;
}

std::string tempPath(const std::string& name) {
  const auto dir = std::filesystem::path(::testing::TempDir()) / ("crosspoint_accuracy_" + std::to_string(::getpid()) + "_" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
  std::filesystem::create_directories(dir);
  return (dir / name).string();
}

Road_CrossPoint point(double x, double y, double radius = 0, double ls1 = 0, double ls2 = 0) {
  Road_CrossPoint p;
  p.point.X = x;
  p.point.Y = y;
  p.Radius = radius;
  p.CurveLength_Left = ls1;
  p.CurveLength_Right = ls2;
  return p;
}

/// Writes the curve file of `design` and checks its layout: the curve of every
/// point starts on its entry straight T1' before the point and ends on its exit
/// straight T2' after it, heading along it, and the road ends on the last point
/// on the azimuth of the last straight.
void expectLayoutThroughPoints(CRoadDesign_CrossPoint& design, double tolerance = 1e-4) {
  const std::string path = tempPath("layout.TDFE");
  ASSERT_TRUE(design.writeCurveFile(path)) << "failed at point " << design.failedPointIndex();
  const std::vector<Record> records = readRecords(path);
  const std::vector<Pose> poses = layOut(records);
  const auto& pts = design.points;
  const int n = pts.count();
  ASSERT_EQ(design.curves().size(), static_cast<std::size_t>(n - 2));

  // Walk the records: the element after each line record (but the last) is
  // the curve of the next intersection point, or the next line.
  std::size_t pose = 0;
  std::size_t rec = 0;
  double total = 0;
  while (rec < records.size() && records[rec].key != "R.") ++rec;
  for (int i = 1; i + 1 < n; ++i) {
    const CrossPointCurve& c = design.curves()[i - 1];
    ASSERT_EQ(records[rec].key, "R.");
    total += records[rec].a;
    ++rec;
    ++pose;
    const double azIn = std::atan2(pts[i].point.Y - pts[i - 1].point.Y, pts[i].point.X - pts[i - 1].point.X);
    const double azOut = std::atan2(pts[i + 1].point.Y - pts[i].point.Y, pts[i + 1].point.X - pts[i].point.X);
    const Pose& start = poses[pose];
    if (!c.hasCurve) {
      EXPECT_NEAR(start.x, pts[i].point.X, tolerance) << "point " << i;
      EXPECT_NEAR(start.y, pts[i].point.Y, tolerance) << "point " << i;
      continue;
    }
    EXPECT_NEAR(start.x, pts[i].point.X - c.entryTangent * std::cos(azIn), tolerance) << "point " << i;
    EXPECT_NEAR(start.y, pts[i].point.Y - c.entryTangent * std::sin(azIn), tolerance) << "point " << i;
    while (rec < records.size() && records[rec].key != "R.") {
      total += records[rec].a;
      ++rec;
      ++pose;
    }
    const Pose& end = poses[pose];
    EXPECT_NEAR(end.x, pts[i].point.X + c.exitTangent * std::cos(azOut), tolerance) << "point " << i;
    EXPECT_NEAR(end.y, pts[i].point.Y + c.exitTangent * std::sin(azOut), tolerance) << "point " << i;
    if (c.arcLength > 0.001) {
      EXPECT_NEAR(wrap(end.azimuth - azOut), 0, 1e-9) << "point " << i;
    }
  }
  ASSERT_EQ(records[rec].key, "R.");
  total += records[rec].a;
  const Pose& last = poses.back();
  EXPECT_NEAR(last.x, pts[n - 1].point.X, tolerance);
  EXPECT_NEAR(last.y, pts[n - 1].point.Y, tolerance);
  const double azLast = std::atan2(pts[n - 1].point.Y - pts[n - 2].point.Y,
                                   pts[n - 1].point.X - pts[n - 2].point.X);
  EXPECT_NEAR(wrap(last.azimuth - azLast), 0, 1e-9);
  EXPECT_NEAR(design.runningLength, total, 1e-5);

  // The engine lays the same file out the same way.
  CRoadDesign engine;
  ASSERT_TRUE(engine.loadFromCurveFile(path));
  const auto& elements = engine.elements();
  ASSERT_EQ(elements.size(), poses.size());
  for (std::size_t k = 1; k < elements.size(); ++k) {
    EXPECT_NEAR(elements[k].startX, poses[k - 1].x, 1e-6) << "element " << k;
    EXPECT_NEAR(elements[k].startY, poses[k - 1].y, 1e-6) << "element " << k;
  }
  EXPECT_NEAR(elements.back().endX, pts[n - 1].point.X, tolerance);
  EXPECT_NEAR(elements.back().endY, pts[n - 1].point.Y, tolerance);
  EXPECT_NEAR(wrap(elements.back().endAzimuth - azLast), 0, 1e-9);
  EXPECT_NEAR(engine.startMileage(), design.startMileage, 1e-4);
  EXPECT_NEAR(engine.endMileage() - engine.startMileage(), design.runningLength, 1e-5);
}

/// Tangent of a symmetric curve from the clothoid integrated in the test:
/// T = (R + p)·tan(α/2) + q with the exact shift p and distance q of the arc.
double symmetricTangent(double radius, double spiral, double deflection) {
  const Pose end = run(Pose{}, spiral, 0, 1 / radius);
  const double beta = spiral / (2 * radius);
  const double p = end.y - radius * (1 - std::cos(beta));
  const double q = end.x - radius * std::sin(beta);
  return (radius + p) * std::tan(deflection / 2) + q;
}

TEST(CrossPointAccuracy, ExampleCurveTurnsRightWithKnownTangents) {
  struct Case {
    double ls1, ls2, t1, t2;
  } cases[] = {{80, 80, 180.905, 180.905}, {60, 120, 172.686, 199.419}, {0, 0, 0, 0}};
  const double deflection = std::atan2(600.0, 500.0);
  for (const Case& c : cases) {
    for (double side : {1.0, -1.0}) {
      CRoadDesign_CrossPoint d("");
      d.points = {point(0, 0), point(1000, 0, 300, c.ls1, c.ls2), point(1500, 600 * side)};
      expectLayoutThroughPoints(d);
      ASSERT_EQ(d.curves().size(), 1u);
      const CrossPointCurve& curve = d.curves()[0];
      EXPECT_EQ(curve.rightTurn, side > 0);
      EXPECT_NEAR(curve.deflection * 180 / kPi, 50.194, 5e-4);
      if (c.ls1 == c.ls2) {
        const double t = symmetricTangent(300, c.ls1 > 0 ? c.ls1 : 1e-9, deflection);
        EXPECT_NEAR(curve.entryTangent, t, 1e-7);
        EXPECT_NEAR(curve.exitTangent, t, 1e-7);
      }
      if (c.t1 > 0) {
        EXPECT_NEAR(curve.entryTangent, c.t1, 5e-4);
        EXPECT_NEAR(curve.exitTangent, c.t2, 5e-4);
      }
      // The arc carries the signed radius.
      std::ifstream in(tempPath("layout.TDFE"), std::ios::binary);
      std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      EXPECT_NE(text.find(side > 0 ? ",300.000000,\r\n" : ",-300.000000,\r\n"), std::string::npos);
    }
  }
}

TEST(CrossPointAccuracy, RightAngleWithoutSpiralsIsAQuarterCircle) {
  for (double side : {1.0, -1.0}) {
    CRoadDesign_CrossPoint d("");
    d.points = {point(0, 0), point(500, 0, 100), point(500, 400 * side)};
    ASSERT_TRUE(d.writeCurveFile(tempPath("quarter.TDFE")));
    const std::vector<Record> r = readRecords(tempPath("quarter.TDFE"));
    ASSERT_EQ(r.size(), 5u);  // chainage, PT, R., CC, R.
    EXPECT_NEAR(r[2].a, 400, 1e-6);
    EXPECT_NEAR(r[3].a, 50 * kPi, 1e-6);
    EXPECT_EQ(r[3].b, 100 * side);
    EXPECT_NEAR(r[4].a, 300, 1e-6);
  }
}

TEST(CrossPointAccuracy, HairpinWithLongSpirals) {
  // Deflection 120 degrees, R = 150, spirals of 250 m: the spirals alone turn
  // 95.5 degrees and lie far outside the reach of short series.
  for (double side : {1.0, -1.0}) {
    const double out = (180.0 - 120.0) * kPi / 180;
    CRoadDesign_CrossPoint d("");
    d.points = {point(0, 0), point(2000, 0, 150, 250, 250),
                point(2000 - 2000 * std::cos(out), side * 2000 * std::sin(out))};
    expectLayoutThroughPoints(d, 1e-5);
    ASSERT_EQ(d.curves().size(), 1u);
    EXPECT_NEAR(d.curves()[0].deflection, 120 * kPi / 180, 1e-12);
    EXPECT_NEAR(d.curves()[0].entryTangent, symmetricTangent(150, 250, 120 * kPi / 180), 1e-6);
  }
}

TEST(CrossPointAccuracy, SpiralsThatUseUpTheDeflectionLeaveTheShortestArc) {
  // Two spirals of 120 m at R = 300 turn exactly 0.4 rad.
  const double a = 0.4;
  CRoadDesign_CrossPoint d("");
  d.points = {point(0, 0), point(1000, 0, 300, 120, 120),
              point(1000 + 800 * std::cos(a), 800 * std::sin(a))};
  expectLayoutThroughPoints(d, 1e-5);
  EXPECT_EQ(d.curves()[0].arcLength, 0.001);
}

TEST(CrossPointAccuracy, PointWithoutCurveBetweenTwoCurves) {
  // The middle point has no curve: two line records meet exactly at it.
  CRoadDesign_CrossPoint d("");
  d.points = {point(0, 0), point(1000, 0, 400, 70, 90), point(1600, 500, 0),
              point(2400, 500, 250, 40, 0), point(2800, 1200)};
  expectLayoutThroughPoints(d, 1e-5);
  ASSERT_EQ(d.curves().size(), 3u);
  EXPECT_FALSE(d.curves()[1].hasCurve);
  EXPECT_TRUE(d.curves()[2].hasCurve);
  EXPECT_FALSE(d.curves()[1].rightTurn);
}

TEST(CrossPointAccuracy, SymmetricCurvesNearAReversalKeepEqualExactTangents) {
  // Deflections close to a half turn: the arc ends turn nearly pi from the
  // entry straight, where a short series for sin and cos is no longer exact.
  for (double degrees : {150.0, 170.0, 176.0}) {
    const double a = degrees * kPi / 180;
    CRoadDesign_CrossPoint d("");
    d.points = {point(0, 0), point(200000, 0, 3000, 100, 100),
                point(200000 + 200000 * std::cos(a), 200000 * std::sin(a))};
    ASSERT_TRUE(d.writeCurveFile(tempPath("reversal.TDFE")));
    const double t = symmetricTangent(3000, 100, a);
    EXPECT_NEAR(d.curves()[0].entryTangent, t, 1e-9 * t) << degrees;
    EXPECT_NEAR(d.curves()[0].exitTangent, t, 1e-9 * t) << degrees;
  }
}

TEST(CrossPointAccuracy, GeneratedAlignmentsEndOnTheirLastPoint) {
  std::mt19937 rng(20240611);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  auto between = [&](double lo, double hi) { return lo + (hi - lo) * unit(rng); };
  for (int road = 0; road < 240; ++road) {
    const int n = 3 + static_cast<int>(unit(rng) * 10);  // 3..12 points
    CRoadDesign_CrossPoint d("");
    double x = between(3.3e6, 3.5e6), y = between(4.0e5, 6.0e5);
    double azimuth = between(0, 2 * kPi);
    double previousExit = 0;
    d.points.append(point(x, y));
    for (int i = 1; i < n; ++i) {
      Road_CrossPoint p;
      double entryReach = 0, exitReach = 0, deflection = 0;
      if (i + 1 < n) {
        deflection = between(3.0, 150.0) * kPi / 180 * (unit(rng) < 0.5 ? -1 : 1);
        p.Radius = between(150, 3000);
        const double turn = std::fabs(deflection);
        // Spirals 0..250 m that together turn less than the deflection.
        double ls1 = unit(rng) < 0.15 ? 0 : between(0, 250);
        double ls2 = unit(rng) < 0.15 ? 0 : between(0, 250);
        const double spiralTurn = (ls1 + ls2) / (2 * p.Radius);
        if (spiralTurn > 0.95 * turn) {
          const double f = 0.95 * turn / spiralTurn * unit(rng);
          ls1 *= f;
          ls2 *= f;
        }
        p.CurveLength_Left = ls1;
        p.CurveLength_Right = ls2;
        const double t = (p.Radius + 300) * std::tan(turn / 2) + 250;
        entryReach = exitReach = t;
      }
      const double leg = previousExit + entryReach + between(5, 400);
      x += leg * std::cos(azimuth);
      y += leg * std::sin(azimuth);
      p.point.X = x;
      p.point.Y = y;
      d.points.append(p);
      azimuth += deflection;
      previousExit = exitReach;
    }
    SCOPED_TRACE("road " + std::to_string(road) + " with " + std::to_string(n) + " points");
    expectLayoutThroughPoints(d);
    if (HasFatalFailure() || HasNonfatalFailure()) break;
  }
}

}  // namespace
}  // namespace trazmark
