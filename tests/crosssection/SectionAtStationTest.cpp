// Superelevation and widening between change points, the grade line on the
// alignment, stake elevations and the cross section at a station.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "crosssection/RoadProfile.h"
#include "crosssection/SectionAtStation.h"

namespace trazmark {
namespace {

TEST(GradientFactor, EachModeAtItsEndsAndMiddle) {
  struct Case {
    int mode;
    double k, expected;
  };
  for (const Case& c : {Case{0, 0, 0}, {0, 0.5, 0.5}, {0, 1, 1}, {1, 0, 0}, {1, 0.5, 0.5},
                        {1, 1, 1}, {1, 0.25, 0.15625}, {2, 0, 0}, {2, 0.5, 0.3125}, {2, 1, 1}}) {
    ASSERT_TRUE(gradientFactor(c.mode, c.k)) << c.mode;
    EXPECT_DOUBLE_EQ(*gradientFactor(c.mode, c.k), c.expected) << "mode " << c.mode << " k " << c.k;
  }
  EXPECT_FALSE(gradientFactor(3, 0.5));
  EXPECT_FALSE(gradientFactor(-1, 0.5));
}

Road_Super_Value change(double mileage, double value, int mode) {
  Road_Super_Value v;
  v.Mileage = mileage;
  v.Slope = value;
  v.Width = value;
  v.Mode = mode;
  return v;
}

Road_Super_Item item(const char* name, int side, int index, std::vector<Road_Super_Value> values) {
  Road_Super_Item it;
  it.SectionName = name;
  it.LeftRight = side;
  it.InSectionIndex = index;
  for (const auto& v : values) it.values.append(v);
  return it;
}

// In a long chain's repeated range a station lies before the chain unless the
// station listed before it already lies after it.
TEST(RoadStations, PlacedAlongTheRoadInListOrder) {
  const CChainageTable chains({Scisson_Data{0, 50, 1050, 1000}});
  std::vector<double> placed;
  std::string error;
  ASSERT_TRUE(placeStationsInOrder(chains, {990, 1020, 1040, 1010, 1030, 1100}, "point", placed,
                                   error))
      << error;
  EXPECT_EQ(placed, (std::vector<double>{990, 1020, 1040, 1060, 1080, 1150}));
  EXPECT_FALSE(placeStationsInOrder(chains, {1100, 1020}, "point", placed, error));
  EXPECT_NE(error.find("point 2 (station 1020.000)"), std::string::npos) << error;
  EXPECT_FALSE(placeStationsInOrder(chains, {NAN}, "point", placed, error));
}

TEST(ChangePoints, ValueBeforeBetweenAndAfter) {
  const CChainageTable noChains({});
  std::vector<ChangePoint> points;
  std::string error;
  ASSERT_TRUE(placeChangePoints(item("lane", 1, 0, {change(100, -2, 0), change(200, 4, 0),
                                                     change(300, 2, 1), change(400, 6, 2)}),
                                false, noChains, points, error))
      << error;
  EXPECT_DOUBLE_EQ(valueAtMileage({}, -1.5, 250), -1.5) << "no change points";
  EXPECT_DOUBLE_EQ(valueAtMileage(points, -1.5, 99.9), -1.5) << "before the first: standard";
  EXPECT_DOUBLE_EQ(valueAtMileage(points, -1.5, 100), -2);
  EXPECT_DOUBLE_EQ(valueAtMileage(points, -1.5, 150), 1) << "linear half way";
  EXPECT_DOUBLE_EQ(valueAtMileage(points, -1.5, 250), 3) << "cubic parabola at k = 1/2";
  EXPECT_DOUBLE_EQ(valueAtMileage(points, -1.5, 350), 2 + 4 * 0.3125) << "quartic at k = 1/2";
  EXPECT_DOUBLE_EQ(valueAtMileage(points, -1.5, 400), 6);
  EXPECT_DOUBLE_EQ(valueAtMileage(points, -1.5, 9000), 6) << "after the last: the last value";

  // Two change points at one mileage make a step.
  ASSERT_TRUE(placeChangePoints(item("lane", 1, 0, {change(100, 2, 0), change(100, 8, 0)}), true,
                                noChains, points, error));
  EXPECT_DOUBLE_EQ(valueAtMileage(points, 3.5, 100), 8);

  for (const Road_Super_Item& bad :
       {item("lane", 1, 0, {change(200, 4, 0), change(100, -2, 0)}),
        item("lane", 1, 0, {change(100, 4, 3)}), item("lane", 1, 0, {change(100, NAN, 0)})}) {
    error.clear();
    EXPECT_FALSE(placeChangePoints(bad, false, noChains, points, error));
    EXPECT_FALSE(error.empty());
  }
}

// A straight road due north from (0, 0), mileage 0 to 1000, with a crest:
// grade points at 0 (100 m), 500 (110 m, radius 10000) and 1000 (100 m).
struct StraightRoad {
  CRoadDesign design;
  RoadDataSet road;
  StraightRoad() {
    Road_Element start;
    start.Type = 1;
    Road_Element line;
    line.Type = 2;
    line.Length = 1000;
    EXPECT_TRUE(design.loadFromRoad("r", 0, {start, line}));
    for (auto [m, h, r] : {std::tuple{0.0, 100.0, 0.0}, {500.0, 110.0, 10000.0}, {1000.0, 100.0, 0.0}}) {
      CVerticalCurveCal p;
      p.Mileage = m;
      p.High = h;
      p.Radius = r;
      road.verticalCurves.append(p);
    }
  }
};

TEST(RoadProfile, ElevationsAtTheVerticalCurveEndsAndAcrossAChain) {
  StraightRoad s;
  CRoadProfile profile;
  std::string error;
  ASSERT_TRUE(profile.build(s.road.verticalCurves, s.design, error)) << error;
  // T = R·tan(|atan 0.02 − atan(−0.02)|/2): the curve ends lie on the grades.
  const double t = 10000 * std::tan(std::atan(0.02));
  const double bvc = 500 - t * std::cos(std::atan(0.02));
  EXPECT_NEAR(*profile.elevationAt(bvc), 100 + 0.02 * bvc, 1e-9);
  EXPECT_NEAR(*profile.elevationAt(1000 - bvc), 100 + 0.02 * bvc, 1e-9);
  EXPECT_NEAR(*profile.elevationAt(500), 110 - t * t / 20000, 1e-3);

  std::vector<RoadCoordinate> records;
  ASSERT_TRUE(s.design.stakeRecords(0, 100, 0, records));
  ASSERT_TRUE(fillStakeElevations(records, profile, error));
  EXPECT_NEAR(records[1].z, 102, 1e-9) << records[1].mileageText;

  // A short chain at 400 → 450: the grade point at displayed 500 lies at
  // continuous 450, and the grades run over the real lengths.
  s.design.brokenChains = {Scisson_Data{1, 50, 400, 450}};
  ASSERT_TRUE(profile.build(s.road.verticalCurves, s.design, error)) << error;
  EXPECT_NEAR(*profile.elevationAt(200), 100 + 200 * 10.0 / 450, 1e-9);

  // A grade point among the skipped stations, or none at all.
  s.road.verticalCurves[1].Mileage = 420;
  EXPECT_FALSE(profile.build(s.road.verticalCurves, s.design, error));
  EXPECT_NE(error.find("skips"), std::string::npos) << error;
  EXPECT_FALSE(profile.build({}, s.design, error));
}

Road_Section_Item component(const char* name, double width, double slope, double kerb = 0) {
  Road_Section_Item c;
  c.setModuleName(name);
  c.Width = width;
  c.Slope = slope;
  c.Roadteeth = kerb;
  return c;
}

TEST(Section, KerbsSuperelevationWideningAndSlopes) {
  StraightRoad s;
  s.road.leftSections = {component("lane", 3.5, -2), component("kerb-verge", 1.0, 2, 0.15)};
  s.road.rightSections = {component("lane", 3.5, -2), component("shoulder", 1.5, -3)};
  // Right lane tilts to +4 % by 300 (linear from 200), the left lane widens to
  // 4.5 m by 300 (cubic parabola from 200); the left verge is found by name.
  s.road.superHighs = {item("lane", 1, 0, {change(200, -2, 0), change(300, 4, 0)})};
  s.road.widens = {item("lane", 0, 0, {change(200, 3.5, 0), change(300, 4.5, 1)}),
                   item("kerb", 0, 7, {change(0, 1.25, 0)})};
  Road_Slope fill;
  fill.LeftRight = 1;
  fill.Type = 1;
  fill.SlopeName = "F1";
  fill.StartMileage = 300;
  fill.EndMileage = 100;
  Road_Slope_Item surface;
  surface.ItemName = "s1";
  surface.Mode = 0;
  surface.SlopeH = 2;
  surface.SlopeScale = 1.5;
  Road_Slope_Item bench;
  bench.ItemName = "b1";
  bench.Mode = 1;
  bench.Width = 2;
  bench.SlopeScale = 4;
  fill.items = {surface, bench};
  s.road.slopes = {fill};

  CRoadProfile profile;
  std::string error;
  ASSERT_TRUE(profile.build(s.road.verticalCurves, s.design, error)) << error;
  SectionAtStation section;
  ASSERT_TRUE(sectionAtStation(s.road, s.design, profile, 250, -1, section, error)) << error;
  const double z = 105;  // 100 + 2 % of 250, before the vertical curve
  EXPECT_NEAR(section.centreElevation, z, 1e-9);
  ASSERT_EQ(section.edges.size(), 6u);
  const SectionEdge& lane = section.edges[0];
  EXPECT_EQ(lane.side, 'L');
  EXPECT_NEAR(lane.width, 4.0, 1e-12) << "half way by the cubic parabola";
  EXPECT_NEAR(lane.offset, -4.0, 1e-12);
  EXPECT_NEAR(lane.elevation, z - 0.08, 1e-9);
  EXPECT_NEAR(lane.x, 250, 1e-9);
  EXPECT_NEAR(lane.y, -4.0, 1e-9) << "left of travel northward is west";
  const SectionEdge& verge = section.edges[1];
  EXPECT_EQ(verge.name, "kerb-verge");
  EXPECT_NEAR(verge.width, 1.25, 1e-12);
  EXPECT_NEAR(verge.offset, -5.25, 1e-12);
  EXPECT_NEAR(verge.elevation, z - 0.08 + 0.15 + 0.025, 1e-9) << "the kerb, then the verge";
  const SectionEdge& right = section.edges[2];
  EXPECT_NEAR(right.slope, 1, 1e-12) << "linear half way from -2 to 4";
  EXPECT_NEAR(right.elevation, z + 0.035, 1e-9);
  EXPECT_NEAR(section.edges[3].elevation, z + 0.035 - 0.045, 1e-9);
  EXPECT_NEAR(section.edges[3].offset, 5.0, 1e-12);
  const SectionEdge& s1 = section.edges[4];
  EXPECT_EQ(s1.name, "slope:F1:s1");
  EXPECT_NEAR(s1.offset, 8.0, 1e-12) << "2 m high at 1:1.5 runs 3 m";
  EXPECT_NEAR(s1.elevation, z - 0.01 - 2, 1e-9) << "a fill slope falls";
  EXPECT_NEAR(s1.slope, -100 / 1.5, 1e-9);
  EXPECT_NEAR(section.edges[5].offset, 10.0, 1e-12);
  EXPECT_NEAR(section.edges[5].elevation, z - 2.01 + 0.08, 1e-9);

  // Outside the slope's range no slope steps.
  ASSERT_TRUE(sectionAtStation(s.road, s.design, profile, 350, -1, section, error)) << error;
  EXPECT_EQ(section.edges.size(), 4u);
  EXPECT_NEAR(section.edges[0].width, 4.5, 1e-12);

  // An item that names no component, change points out of order, a station off the road.
  RoadDataSet bad = s.road;
  bad.superHighs = {item("median", 0, 0, {change(0, 1, 0)})};
  EXPECT_FALSE(sectionAtStation(bad, s.design, profile, 250, -1, section, error));
  EXPECT_NE(error.find("median"), std::string::npos) << error;
  bad.superHighs = {item("lane", 1, 0, {change(300, 1, 0), change(200, 2, 0)})};
  EXPECT_FALSE(sectionAtStation(bad, s.design, profile, 250, -1, section, error));
  EXPECT_NE(error.find("order"), std::string::npos) << error;
  EXPECT_FALSE(sectionAtStation(s.road, s.design, profile, 1200, -1, section, error));
}

}  // namespace
}  // namespace trazmark
