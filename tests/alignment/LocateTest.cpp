// The inverse query: station and offset of a plane point.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "alignment/StationLocator.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTenthMillimetre = 1e-4;

Road_Element element(int type, double length, double radiusOrAzimuth = 0) {
  Road_Element r;
  r.Type = type;
  r.Length = length;
  if (type == 2) r.Azimuth = radiusOrAzimuth;
  if (type == 3) r.Radius = radiusOrAzimuth;
  return r;
}
Road_Element start(double x, double y) {
  Road_Element r;
  r.Type = 1;
  r.point.X = x;
  r.point.Y = y;
  return r;
}

// Line, spiral, right arc, spiral, line, left arc, line: every element kind on
// both hands.
CRoadDesign mixedRoad() {
  CRoadDesign d;
  EXPECT_TRUE(d.loadFromRoad("mixed", 500,
                             {start(1000, 2000), element(2, 100, 30), element(4, 60),
                              element(3, 100, 300), element(4, 60), element(2, 100),
                              element(3, 80, -200), element(2, 100)}));
  return d;
}

// Where a station and offset lie, and what locate says of that place.
void expectRoundTrip(const CRoadDesign& d, double continuous, double offset, const char* what) {
  const auto p = d.pointAtStation(continuous, offset);
  ASSERT_TRUE(p) << what;
  const StationLocation l = d.locate(p->x, p->y);
  ASSERT_EQ(l.status, StationLocation::kOnRoad) << what << " " << l.error;
  EXPECT_NEAR(l.continuousMileage, continuous, kTenthMillimetre) << what;
  EXPECT_NEAR(l.offset, offset, kTenthMillimetre) << what;
}

TEST(Locate, EveryElementKindLeftRightAndOnTheCentreLine) {
  const CRoadDesign d = mixedRoad();
  const auto& e = d.elements();
  for (std::size_t i = 1; i < e.size(); ++i) {
    for (double f : {0.0, 0.37, 0.5, 0.91}) {
      for (double offset : {-12.5, -0.001, 0.0, 0.001, 7.25}) {
        const std::string what = "element " + std::to_string(i) + " at " + std::to_string(f) +
                                 " offset " + std::to_string(offset);
        expectRoundTrip(d, e[i].startMileage + f * e[i].length, offset, what.c_str());
      }
    }
  }
  const StationLocation l = d.locate(e[3].startX, e[3].startY);
  EXPECT_NEAR(l.continuousMileage, e[3].startMileage, 1e-9) << "exactly at a join";
  EXPECT_LT(std::fabs(l.offset), 1e-9);
}

TEST(Locate, NearTheCentreOfAnArcTheNearestFootWins) {
  CRoadDesign d;
  // North 100 m, then a right arc of radius 50 over 90 degrees, then east.
  ASSERT_TRUE(d.loadFromRoad("r", 0,
                             {start(0, 0), element(2, 100, 0), element(3, 25 * kPi, 50),
                              element(2, 100)}));
  // The arc's centre is (100, 50); every arc point is 50 m from it.
  const double qz = 100 + 12.5 * kPi;
  const double c = std::cos(kPi / 4), s = std::sin(kPi / 4);
  const StationLocation l = d.locate(100 + 0.5 * c, 50 - 0.5 * s);
  ASSERT_EQ(l.status, StationLocation::kOnRoad);
  EXPECT_NEAR(l.continuousMileage, qz, 1e-6);
  EXPECT_NEAR(l.offset, 49.5, 1e-9) << "the centre of a right turn lies right of travel";
  const StationLocation centre = d.locate(100, 50);
  ASSERT_EQ(centre.status, StationLocation::kOnRoad);
  EXPECT_NEAR(centre.offset, 50, 1e-9) << "any foot of the arc is as near as another";
}

TEST(Locate, BothSidesOfAHairpin) {
  CRoadDesign d;
  // North 200 m, a right half circle of radius 30, south 200 m: the legs run
  // 60 m apart.
  ASSERT_TRUE(d.loadFromRoad("r", 0,
                             {start(0, 0), element(2, 200, 0), element(3, 30 * kPi, 30),
                              element(2, 200)}));
  StationLocation l = d.locate(100, 20);
  ASSERT_EQ(l.status, StationLocation::kOnRoad);
  EXPECT_NEAR(l.continuousMileage, 100, 1e-9);
  EXPECT_NEAR(l.offset, 20, 1e-9);
  l = d.locate(100, 40);
  ASSERT_EQ(l.status, StationLocation::kOnRoad);
  EXPECT_NEAR(l.continuousMileage, 200 + 30 * kPi + 100, 1e-9);
  EXPECT_NEAR(l.offset, 20, 1e-9) << "right of travel southward is west";
  EXPECT_EQ(l.element, 3u);
}

TEST(Locate, BeyondBothEnds) {
  const CRoadDesign d = mixedRoad();
  const auto& first = d.elements()[1];
  const double a = first.startAzimuth;
  // 10 m behind the start, 3 m to its right.
  StationLocation l = d.locate(first.startX - 10 * std::cos(a) - 3 * std::sin(a),
                               first.startY - 10 * std::sin(a) + 3 * std::cos(a));
  ASSERT_EQ(l.status, StationLocation::kOutside);
  EXPECT_TRUE(l.beforeStart);
  EXPECT_NEAR(l.distance, std::hypot(10, 3), 1e-9);
  EXPECT_NEAR(l.continuousMileage, 500, 1e-12);

  const auto& last = d.elements().back();
  l = d.locate(last.endX + 5 * std::cos(last.endAzimuth), last.endY + 5 * std::sin(last.endAzimuth));
  ASSERT_EQ(l.status, StationLocation::kOutside);
  EXPECT_FALSE(l.beforeStart);
  EXPECT_NEAR(l.distance, 5, 1e-9);
  EXPECT_NEAR(l.continuousMileage, d.endMileage(), 1e-12);

  // Square to an end is still on the road.
  l = d.locate(first.startX - 4 * std::sin(a), first.startY + 4 * std::cos(a));
  EXPECT_EQ(l.status, StationLocation::kOnRoad);
}

TEST(Locate, BranchesOfALongChainAndTheGapOfAShortOne) {
  CRoadDesign d;
  ASSERT_TRUE(d.loadFromRoad("r", 900, {start(0, 0), element(2, 1000, 0)}));
  // A long chain at continuous 1250, then a short one at continuous 1550 (its
  // back station 1500 is read on the branch after the long chain).
  d.brokenChains = {Scisson_Data{0, 50, 1250, 1200}, Scisson_Data{1, 30, 1500, 1530}};
  // Displayed 1220 lies at continuous 1220 (before) and 1270 (after).
  for (auto [x, displayed, branch] : {std::tuple{320.0, 1220.0, 0}, {370.0, 1220.0, 1},
                                      {420.0, 1270.0, -1}, {650.0, 1530.0, -1},
                                      {660.0, 1540.0, -1}, {649.0, 1499.0, -1}}) {
    const StationLocation l = d.locate(x, -2);
    ASSERT_EQ(l.status, StationLocation::kOnRoad);
    EXPECT_NEAR(l.continuousMileage, 900 + x, 1e-9);
    EXPECT_NEAR(l.displayedMileage, displayed, 1e-9) << x;
    EXPECT_EQ(l.branch, branch) << x;
    EXPECT_NEAR(l.offset, -2, 1e-12);
    const auto back = d.pointAtStation(l.displayedMileage, l.offset, l.branch);
    ASSERT_TRUE(back);
    EXPECT_NEAR(back->x, x, 1e-9) << "the branch leads back to the place";
  }
}

TEST(Locate, BadInput) {
  const CRoadDesign d = mixedRoad();
  for (auto [x, y] : {std::pair{std::nan(""), 0.0}, {0.0, std::nan("")}, {HUGE_VAL, 0.0},
                      {1e300, 1e300}, {0.0, -2e9}}) {
    const StationLocation l = d.locate(x, y);
    EXPECT_EQ(l.status, StationLocation::kInvalid);
    EXPECT_FALSE(l.error.empty());
  }
  EXPECT_EQ(CRoadDesign().locate(0, 0).status, StationLocation::kInvalid);
  // Far away but a number: an answer, with its distance.
  const StationLocation far = d.locate(9e8, -9e8);
  EXPECT_NE(far.status, StationLocation::kInvalid);
  EXPECT_GT(far.distance, 1e9);
}

// Generated roads with spirals between radii of one hand (egg spirals) and of
// opposite hands (S-bends): 10,000 random stations and offsets up to ±50 m
// come back within a tenth of a millimetre. The radii stay above 150 m and the
// curves alternate, so no other part of the road comes within 50 m.
TEST(Locate, RoundTripOnGeneratedRoads) {
  std::mt19937 rng(20261208);
  std::uniform_real_distribution<double> unit(0, 1);
  int checked = 0;
  for (int road = 0; road < 10; ++road) {
    RecordList<Road_Element> records{start(3.5e6 * unit(rng), 5e5 * unit(rng)),
                                     element(2, 100 + 100 * unit(rng), 360 * unit(rng))};
    double hand = unit(rng) < 0.5 ? -1 : 1;
    for (int curve = 0; curve < 12; ++curve) {
      const double r1 = 150 + 1000 * unit(rng);
      const double r2 = 150 + 1000 * unit(rng);
      records.append(element(4, 40 + 60 * unit(rng)));
      records.append(element(3, 30 + 70 * unit(rng), hand * r1));
      records.append(element(4, 30 + 40 * unit(rng)));  // egg spiral
      records.append(element(3, 30 + 70 * unit(rng), hand * r2));
      if (curve % 3 == 2) {
        records.append(element(4, 50 + 30 * unit(rng)));  // S-bend
        hand = -hand;
        records.append(element(3, 30 + 50 * unit(rng), hand * (200 + 800 * unit(rng))));
      }
      records.append(element(4, 40 + 60 * unit(rng)));
      records.append(element(2, 80 + 150 * unit(rng)));
      hand = -hand;
    }
    CRoadDesign d;
    ASSERT_TRUE(d.loadFromRoad("generated", 1000 * unit(rng), records));
    for (int k = 0; k < 1000; ++k) {
      const double m = d.startMileage() + (d.endMileage() - d.startMileage()) * unit(rng);
      const double offset = -50 + 100 * unit(rng);
      const auto p = d.pointAtStation(m, offset);
      ASSERT_TRUE(p);
      const StationLocation l = d.locate(p->x, p->y);
      ASSERT_EQ(l.status, StationLocation::kOnRoad) << "road " << road << " at " << m;
      ASSERT_NEAR(l.continuousMileage, m, kTenthMillimetre) << "road " << road << " offset " << offset;
      ASSERT_NEAR(l.offset, offset, kTenthMillimetre) << "road " << road << " at " << m;
      ++checked;
    }
  }
  EXPECT_EQ(checked, 10000);
}

// A road that winds back across itself, so that a point lies near several
// stretches: the nearest place locate finds is no farther than the nearest
// foot over every element, for points anywhere around it, at its joins and
// far beyond it.
TEST(Locate, NearestOverEveryElementOnARoadThatCrossesItself) {
  RecordList<Road_Element> records{start(3.5e6, 5e5), element(2, 120, 10)};
  for (int k = 0; k < 12; ++k) {
    records.append(element(4, 30 + 5 * k));
    records.append(element(3, 140 + 10 * k, k % 4 == 3 ? -60 : 45));
    records.append(element(4, 25));
    records.append(element(2, 40 + 20 * (k % 3)));
  }
  CRoadDesign d;
  ASSERT_TRUE(d.loadFromRoad("winding", 0, records));
  const auto& e = d.elements();
  auto nearestSquared = [&](double x, double y) {
    double best = HUGE_VAL;
    for (std::size_t i = 1; i < e.size(); ++i) {
      if (const auto f = footOnElement(e[i], x, y)) best = std::min(best, f->distanceSquared);
    }
    return best;
  };
  double minX = HUGE_VAL, minY = HUGE_VAL, maxX = -HUGE_VAL, maxY = -HUGE_VAL;
  for (std::size_t i = 1; i < e.size(); ++i) {
    minX = std::min(minX, e[i].startX);
    maxX = std::max(maxX, e[i].startX);
    minY = std::min(minY, e[i].startY);
    maxY = std::max(maxY, e[i].startY);
  }
  std::vector<std::pair<double, double>> points;
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> px(minX - 300, maxX + 300), py(minY - 300, maxY + 300);
  for (int k = 0; k < 3000; ++k) points.emplace_back(px(rng), py(rng));
  for (std::size_t i = 1; i < e.size(); ++i) {
    points.emplace_back(e[i].startX, e[i].startY);
    points.emplace_back(e[i].startX + 0.3, e[i].startY - 0.2);
  }
  points.emplace_back(minX - 2e4, minY - 1e4);
  points.emplace_back(maxX + 5e3, 0.5 * (minY + maxY));
  for (const auto& [x, y] : points) {
    const StationLocation l = d.locate(x, y);
    ASSERT_NE(l.status, StationLocation::kInvalid);
    const double expected = std::sqrt(nearestSquared(x, y));
    ASSERT_NEAR(l.distance, expected, 1e-9 * (1 + expected)) << "at " << x << ", " << y;
  }
}

}  // namespace
}  // namespace trazmark
