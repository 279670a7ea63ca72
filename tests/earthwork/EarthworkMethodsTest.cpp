// A curved road of each horizontal method, with grade points, a section and
// slopes, over a TIN generated from random points: the table's totals agree
// with a dense numerical integration of the same ground and design, made here
// by marching across each section with the TIN's elevation at points and
// summing thin strips, within 0.5 %.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "EarthworkTestRoad.h"
#include "support/LineElementRecords.h"
#include "earthwork/EarthworkTable.h"
#include "editors/AlignmentLoader.h"

namespace trazmark {
namespace {

using namespace test;

constexpr double kLane = 3.75, kLaneSlope = -0.02, kVerge = 0.75, kVergeSlope = -0.04;
constexpr double kDepth = 0.3;

double groundFunction(double x, double y) {
  return 100 + 5 * std::sin(x / 60) * std::cos(y / 80) + 0.02 * (y - 1000);
}

// The same curve three ways: a line at 30°, a spiral of 60 m into R 300, an arc
// of 150 m, a spiral out and a line of 180 m (600 m from station 0).
RoadDataSet roadOf(int method) {
  RoadDataSet road;
  road.FlatcurveType = method;
  if (method == kFlatcurveElements) {
    Road_Element start;
    start.Type = 1;
    start.point.X = 1000;
    start.point.Y = 1000;
    auto element = [](int type, double length, double value) {
      Road_Element e;
      e.Type = type;
      e.Length = length;
      if (type == 2) e.Azimuth = value;
      if (type == 3) e.Radius = value;
      return e;
    };
    road.elements = {start, element(2, 150, 30), element(4, 60, 0), element(3, 150, 300),
                     element(4, 60, 0), element(2, 180, 0)};
  } else if (method == kFlatcurveLineElements) {
    road.lineElements = {leStart(1000, 1000, 30), leLine(150), leSpiral(-1, 300, 60),
                         leArc(300, 150), leSpiral(300, -1, 60), leLine(180)};
  } else {
    // Intersection points: the tangents of the element road, long enough.
    const double a0 = 30 * M_PI / 180;
    const double a1 = a0 + 0.7;  // radians turned at the middle point
    const double xyr[][3] = {{1000, 1000, 0},
                             {1000 + 400 * std::cos(a0), 1000 + 400 * std::sin(a0), 300},
                             {0, 0, 0}};
    RecordList<Road_CrossPoint> points;
    for (int i = 0; i < 3; ++i) {
      Road_CrossPoint p;
      p.point.Name = "JD" + std::to_string(i);
      p.point.X = i < 2 ? xyr[i][0] : xyr[1][0] + 400 * std::cos(a1);
      p.point.Y = i < 2 ? xyr[i][1] : xyr[1][1] + 400 * std::sin(a1);
      p.Radius = xyr[i][2];
      if (i == 1) p.CurveLength_Left = p.CurveLength_Right = 60;
      points.append(p);
    }
    road.crossPoints = points;
  }
  road.verticalCurves = gradePoints({{0, 99}, {300, 103}, {500, 100}});
  road.verticalCurves[1].Radius = 3000;
  road.leftSections = {component("lane", kLane, kLaneSlope * 100), component("土路肩", kVerge, kVergeSlope * 100)};
  road.rightSections = road.leftSections;
  for (int side : {0, 1}) {
    road.slopes.append(slope(side, 0, "cut", {platform(1, -40), platform(0.4, 0), surface(10, 1)}));
    road.slopes.append(slope(side, 1, "fill", {surface(3, 1.5), platform(1, -2), surface(10, 1.75)}));
  }
  return road;
}

// The designed line of one side at outward distance u, made independently of
// the core: the formation, then the steps and the last surface continued.
struct SideDesign {
  std::vector<std::pair<double, double>> slopeLine;  // (u, z) from the hinge
  double grade = 0;
  double formationAt(double u) const {
    if (u <= kLane) return grade + kLaneSlope * u - kDepth;
    return grade + kLaneSlope * kLane + kVergeSlope * (u - kLane);
  }
  double at(double u) const {
    if (u <= slopeLine.front().first) return formationAt(u);
    for (std::size_t i = 1; i < slopeLine.size(); ++i) {
      const auto [u0, z0] = slopeLine[i - 1];
      const auto [u1, z1] = slopeLine[i];
      if (u <= u1 && u1 > u0) return z0 + (z1 - z0) * (u - u0) / (u1 - u0);
    }
    return slopeLine.back().second;
  }
};

SideDesign sideDesign(double grade, bool cut) {
  SideDesign d;
  d.grade = grade;
  double u = kLane + kVerge, z = grade + kLaneSlope * kLane + kVergeSlope * kVerge;
  d.slopeLine.push_back({u, z});
  auto add = [&](double du, double dz) {
    u += du;
    z += dz;
    d.slopeLine.push_back({u, z});
  };
  if (cut) {
    add(1, -0.4);
    add(0.4, 0);
    add(10, 10);
    add(200, 200);
  } else {
    add(4.5, -3);
    add(1, -0.02);
    add(17.5, -10);
    add(200, -200 / 1.75);
  }
  return d;
}

// Cut and fill of one section by strips of 1 cm, m².
std::pair<double, double> denseArea(const CRoadDesign& design, const CTerrainModel& tin,
                                    double mileage, double grade) {
  const auto c = design.pointAtStation(design.displayedFromContinuous(mileage), 0);
  const double nx = -std::sin(c->azimuth), ny = std::cos(c->azimuth);  // right of travel
  constexpr double du = 0.01;
  double cut = 0, fill = 0;
  for (double sign : {-1.0, 1.0}) {
    auto ground = [&](double u) { return tin.elevationAt(c->x + sign * u * nx, c->y + sign * u * ny); };
    const SideDesign probe = sideDesign(grade, false);
    const double hinge = probe.slopeLine.front().first;
    const bool isCut = *ground(hinge) > probe.slopeLine.front().second;
    const SideDesign d = sideDesign(grade, isCut);
    for (double u = du / 2;; u += du) {
      const auto g = ground(u);
      EXPECT_TRUE(g) << "no ground at " << mileage << " offset " << sign * u;
      if (!g) return {NAN, NAN};
      const double h = *g - d.at(u);
      if (u > hinge && (isCut ? h <= 0 : h >= 0)) break;
      (h > 0 ? cut : fill) += std::fabs(h) * du;
    }
  }
  return {cut, fill};
}

TEST(EarthworkMethods, TotalsAgreeWithADenseIntegrationForEveryHorizontalMethod) {
  for (int method : {kFlatcurveCrossPoints, kFlatcurveElements, kFlatcurveLineElements}) {
    SCOPED_TRACE(method);
    const RoadDataSet road = roadOf(method);
    CRoadDesign design;
    std::string error;
    ASSERT_TRUE(loadRoadAlignment(road, "r", design, error)) << error;
    CRoadProfile profile;
    ASSERT_TRUE(profile.build(road.verticalCurves, design, error)) << error;
    const double start = design.startMileage(), end = std::min(design.endMileage(), 500.0);
    ASSERT_GT(end - start, 400);

    // 30,000 random points within 60 m of the centre line.
    std::mt19937_64 rng(7 + method);
    std::uniform_real_distribution<double> along(start - 70, end + 70), across(-60, 60);
    CRoadGround ground;
    {
      std::string text;
      for (int k = 0; k < 30000;) {
        const auto p = design.pointAtStation(std::clamp(along(rng), start, design.endMileage()), across(rng));
        if (!p) continue;
        appendFormat(text, "%.4f,%.4f,%.5f\n", p->x, p->y, groundFunction(p->x, p->y));
        ++k;
      }
      const auto path = std::filesystem::temp_directory_path() /
                        ("trazmark-earthwork-methods-" + std::to_string(getpid()) + ".csv");
      std::ofstream(path, std::ios::binary) << text;
      RoadTerrainSettings settings;
      settings.terrainPath = path.string();
      ASSERT_TRUE(ground.load(settings, "", error)) << error;
      std::filesystem::remove(path);
    }

    EarthworkOptions options;
    options.to = end;
    options.pavementDepth = kDepth;
    options.prismoidal = true;
    EarthworkTable table;
    ASSERT_TRUE(earthworkTable(road, design, profile, ground, options, table, error)) << error;
    EXPECT_GT(table.totals.cut, 1000);
    EXPECT_GT(table.totals.fill, 1000);
    bool transition = false;
    for (const EarthworkRow& r : table.rows) transition = transition || r.transition;
    EXPECT_TRUE(transition) << "the grade line crosses the ground";

    // Simpson's rule over sections every 1 m.
    double cut = 0, fill = 0;
    const int n = 2 * static_cast<int>(std::round((end - start) / 2));
    const double h = (end - start) / n;
    for (int i = 0; i <= n; ++i) {
      const double m = start + i * h;
      const auto [c, f] = denseArea(design, *ground.terrain(), m, *profile.elevationAt(m));
      const double w = (i == 0 || i == n) ? 1 : (i % 2 ? 4 : 2);
      cut += w * c * h / 3;
      fill += w * f * h / 3;
    }
    // The table at 20 m by the prismoidal formula, and by end areas at 5 m
    // (at 20 m end areas miss this ground's bends along the road by about 1 %).
    EXPECT_NEAR(table.totals.cut, cut, 0.005 * cut);
    EXPECT_NEAR(table.totals.fill, fill, 0.005 * fill);
    options.prismoidal = false;
    options.interval = 5;
    ASSERT_TRUE(earthworkTable(road, design, profile, ground, options, table, error)) << error;
    EXPECT_NEAR(table.totals.cut, cut, 0.005 * cut);
    EXPECT_NEAR(table.totals.fill, fill, 0.005 * fill);
  }
}

}  // namespace
}  // namespace trazmark
