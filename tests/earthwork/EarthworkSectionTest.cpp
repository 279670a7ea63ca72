// The designed section against the ground: the formation, the side slopes run
// out to the catch points, the statuses of the sides and the areas, on
// grounds whose answers are known exactly.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "EarthworkTestRoad.h"
#include "earthwork/EarthworkSection.h"

namespace trazmark {
namespace {

using namespace test;

constexpr double kExact = 1e-7;  // metres, square metres

EarthworkSection sectionOf(const StraightRoad& s, const CRoadGround& ground, double station,
                           double depth = 0) {
  EarthworkSection section;
  std::string error;
  EXPECT_TRUE(earthworkSectionAt(s.road, s.design, s.profile, ground, depth, station, -1, section,
                                 error))
      << error;
  return section;
}

TEST(CutFillBetween, TrapezoidsTrianglesAndCrossingsSplitExactly) {
  struct Case {
    const char* what;
    std::vector<DesignVertex> design;
    std::vector<GroundVertex> ground;
    double a, b;
    double cut, fill;  // m²
  };
  const std::vector<DesignVertex> level{{-10, 0}, {10, 0}};
  const Case cases[] = {
      {"ground 1 m above over 4 m", level, {{-10, 1}, {10, 1}}, 0, 4, 4, 0},
      {"ground 2 m below over 3 m", level, {{-10, -2}, {10, -2}}, -3, 0, 0, 6},
      {"crossing at 0: two triangles", level, {{-10, -1}, {10, 1}}, -10, 10, 5, 5},
      {"crossing off centre", level, {{-10, -1}, {10, 3}}, -10, 10, 0.5 * 15 * 3 / 1, 0.5 * 5 * 1},
      {"vertical step counts nothing", {{-10, 0}, {0, 0}, {0, 2}, {10, 2}}, {{-10, 1}, {10, 1}}, -10,
       10, 10, 10},
      {"ground vertex inside", level, {{-10, 0}, {0, 2}, {10, 0}}, -10, 10, 20, 0},
      {"outside the ground: nothing", level, {{0, 1}, {5, 1}}, -10, 10, 5, 0},
      {"empty range", level, {{-10, 1}, {10, 1}}, 3, 3, 0, 0},
  };
  for (const Case& c : cases) {
    const CutFillArea area = cutFillBetween(c.design, c.ground, c.a, c.b);
    EXPECT_NEAR(area.cut, c.cut, 1e-12) << c.what;
    EXPECT_NEAR(area.fill, c.fill, 1e-12) << c.what;
  }
}

TEST(FormationComponents, VergesAndSlopesAreNotPaved) {
  for (const char* paved : {"lane", "行车道", "硬路肩", "中央分隔带", "kerb strip", "footway"})
    EXPECT_TRUE(isFormationComponent(paved)) << paved;
  for (const char* unpaved : {"土路肩", "Verge", "left verge", "边坡平台", "SLOPE"})
    EXPECT_FALSE(isFormationComponent(unpaved)) << unpaved;
}

// Level road at 102 over flat ground at 100, lanes of 3.5 m: fill slopes 1:1.5
// meet the ground 3 m beyond the hinge; each side a rectangle 3.5 × 2 and a
// triangle 3 × 2 / 2. A pavement of 0.5 m lowers the lanes, not the verge.
TEST(EarthworkSection, FlatGroundUnderALevelRoadGivesTrapezoids) {
  const TinGround flat = planeGround(100);
  struct Case {
    const char* what;
    double verge;  // width of an earth shoulder outside the lane, 0 none
    double depth;
    double catchOffset, sideFill;
  };
  const Case cases[] = {
      {"no pavement", 0, 0, 6.5, 3.5 * 2 + 3},
      {"pavement 0.5 m", 0, 0.5, 6.5, 3.5 * 1.5 + 3},
      {"verge 1 m, pavement 0.5 m", 1, 0.5, 7.5, 3.5 * 1.5 + 1 * 2 + 3},
  };
  for (const Case& c : cases) {
    StraightRoad s;
    if (c.verge > 0) {
      s.road.leftSections.append(component("土路肩", c.verge, 0));
      s.road.rightSections.append(component("土路肩", c.verge, 0));
    }
    const EarthworkSection e = sectionOf(s, flat.ground, 500, c.depth);
    ASSERT_TRUE(e.hasAreas()) << c.what << ": " << e.left.message << e.right.message;
    for (const EarthworkSide* side : {&e.left, &e.right}) {
      const double sign = side == &e.left ? -1 : 1;
      EXPECT_FALSE(side->cut) << c.what;
      EXPECT_EQ(side->slopeName, sign < 0 ? "LF" : "RF") << c.what;
      ASSERT_TRUE(side->catchPoint) << c.what;
      EXPECT_NEAR(side->catchPoint->offset, sign * c.catchOffset, kExact) << c.what;
      EXPECT_NEAR(side->catchPoint->elevation, 100, kExact) << c.what;
      EXPECT_NEAR(side->catchPoint->x, 500, kExact) << c.what << ": north along the road";
      EXPECT_NEAR(side->catchPoint->y, sign * c.catchOffset, kExact) << c.what << ": east";
      EXPECT_NEAR(side->fillArea, c.sideFill, kExact) << c.what;
      EXPECT_NEAR(side->cutArea, 0, kExact) << c.what;
      EXPECT_FALSE(side->extended) << c.what;
    }
    EXPECT_NEAR(e.fillArea(), 2 * c.sideFill, kExact) << c.what;
    EXPECT_NEAR(*e.groundCentre, 100, kExact);
    // The formation under the lane, then the verge on the finished surface.
    EXPECT_NEAR(e.formation.front().offset, -(3.5 + c.verge), kExact) << c.what;
    EXPECT_NEAR(e.formation.back().offset, 3.5 + c.verge, kExact) << c.what;
    ASSERT_FALSE(e.design.empty());
    EXPECT_NEAR(e.design.front().offset, -c.catchOffset, kExact) << c.what;
    EXPECT_NEAR(e.design.back().offset, c.catchOffset, kExact) << c.what;
    for (std::size_t i = 1; i < e.design.size(); ++i)
      EXPECT_GE(e.design[i].offset, e.design[i - 1].offset) << c.what << " vertex " << i;
  }
}

// Level road at 100 over ground rising 0.1 m per metre to the east (right):
// the right hinge lies below the ground (cut 1:1), the left above it (fill
// 1:1.5).
TEST(EarthworkSection, TiltedGroundPutsOneSideInCutTheOtherInFill) {
  StraightRoad s(1000, 100);
  const TinGround tilted = planeGround(100, 0, 0.1);
  const EarthworkSection e = sectionOf(s, tilted.ground, 500);
  ASSERT_TRUE(e.hasAreas()) << e.left.message << e.right.message;
  EXPECT_TRUE(e.right.cut);
  EXPECT_FALSE(e.left.cut);
  // Right: design − ground goes from −0.35 at the hinge at 0.9 per metre.
  const double ur = 0.35 / 0.9;
  EXPECT_NEAR(e.right.catchPoint->offset, 3.5 + ur, kExact);
  EXPECT_NEAR(e.right.catchPoint->elevation, 100 + ur, kExact);
  EXPECT_NEAR(e.right.cutArea, 0.1 * 3.5 * 3.5 / 2 + 0.35 * ur / 2, kExact);
  EXPECT_NEAR(e.right.fillArea, 0, kExact);
  // Left: from +0.35 at 1/1.5 − 0.1 per metre.
  const double ul = 0.35 / (1 / 1.5 - 0.1);
  EXPECT_NEAR(e.left.catchPoint->offset, -(3.5 + ul), kExact);
  EXPECT_NEAR(e.left.catchPoint->elevation, 100 - ul / 1.5, kExact);
  EXPECT_NEAR(e.left.fillArea, 0.1 * 3.5 * 3.5 / 2 + 0.35 * ul / 2, kExact);
  EXPECT_NEAR(e.left.cutArea, 0, kExact);
}

// One side alone, reading the ground from the hinge only as far as needed,
// finds the catch points the whole section finds: near (tilted ground), and
// beyond the steps on the extension (high fill over flat ground).
TEST(EarthworkSection, OneSideAloneMeetsTheGroundWhereTheWholeSectionDoes) {
  StraightRoad s(1000, 100);
  const TinGround tilted = planeGround(100, 0, 0.1);
  StraightRoad high(1000, 110);
  high.road.slopes[3] = slope(1, 1, "high fill", {surface(2, 1.5), platform(1, 0), surface(2, 2)});
  const TinGround flat = planeGround(100);
  for (auto [road, ground] : {std::pair{&s, &tilted.ground}, std::pair{&high, &flat.ground}}) {
    const EarthworkSection whole = sectionOf(*road, *ground, 500);
    CSectionLayout layout;
    std::string error;
    ASSERT_TRUE(layout.prepare(road->road, CChainageTable(road->design.brokenChains), error));
    for (int side : {0, 1}) {
      const EarthworkSide& expected = side ? whole.right : whole.left;
      EarthworkSide alone;
      std::vector<DesignVertex> line;
      ASSERT_TRUE(earthworkSlopeAt(road->road, road->design, layout, *ground, 500, -1, 500, side,
                                   expected.hinge, expected.hinge.offset, alone, line, error))
          << error;
      ASSERT_TRUE(alone.catchPoint) << alone.message;
      EXPECT_NEAR(alone.catchPoint->offset, expected.catchPoint->offset, kExact);
      EXPECT_NEAR(alone.catchPoint->elevation, expected.catchPoint->elevation, kExact);
      EXPECT_EQ(alone.extended, expected.extended);
      EXPECT_NEAR(line.back().offset, expected.catchPoint->offset, kExact);
    }
  }
}

// Ground z = 100.2 + 0.1·y under a level road at 100 with lanes of 5 m: it
// crosses the lane at offset −2, so the left side holds fill (−5 to −2) and
// cut (−2 to 0), split exactly there.
TEST(EarthworkSection, GroundCrossingTheCarriagewaySplitsCutAndFillThere) {
  StraightRoad s(1000, 100, 5);
  const TinGround tilted = planeGround(100.2, 0, 0.1);
  const EarthworkSection e = sectionOf(s, tilted.ground, 300);
  ASSERT_TRUE(e.hasAreas()) << e.left.message << e.right.message;
  const double ul = 0.3 / (1 / 1.5 - 0.1);  // fill slope from the left hinge, 0.3 m above ground
  EXPECT_NEAR(e.left.cutArea, 0.2 * 2 / 2, kExact);
  EXPECT_NEAR(e.left.fillArea, 0.3 * 3 / 2 + 0.3 * ul / 2, kExact);
  const double ur = 0.7 / 0.9;  // cut slope from the right hinge, 0.7 m below ground
  EXPECT_NEAR(e.right.cutArea, (0.2 + 0.7) / 2 * 5 + 0.7 * ur / 2, kExact);
  EXPECT_NEAR(e.right.fillArea, 0, kExact);
  EXPECT_NEAR(e.cutArea(), e.left.cutArea + e.right.cutArea, 1e-12);
}

// A road 2 m into flat ground: the right cut slope is a ditch (a platform of
// 1 m falling 50 %, a level bottom of 0.5 m) and a surface of 3 m at 1:1 that
// meets the ground 2.5 m up.
TEST(EarthworkSection, DitchOfPlatformsInCut) {
  StraightRoad s(1000, 98);
  s.road.slopes[2] = slope(1, 0, "ditch", {platform(1, -50), platform(0.5, 0), surface(3, 1)});
  const TinGround flat = planeGround(100);
  const EarthworkSection e = sectionOf(s, flat.ground, 500);
  ASSERT_TRUE(e.hasAreas()) << e.left.message << e.right.message;
  EXPECT_TRUE(e.right.cut);
  EXPECT_EQ(e.right.slopeName, "ditch");
  EXPECT_NEAR(e.right.catchPoint->offset, 3.5 + 1 + 0.5 + 2.5, kExact);
  EXPECT_FALSE(e.right.extended);
  EXPECT_NEAR(e.right.cutArea, 3.5 * 2 + (2 + 2.5) / 2 * 1 + 0.5 * 2.5 + 2.5 * 2.5 / 2, kExact);
  // The design line runs through the ditch bottom.
  bool bottom = false;
  for (const DesignVertex& v : e.design)
    bottom = bottom || (std::fabs(v.offset - 5) < kExact && std::fabs(v.elevation - 97.5) < kExact);
  EXPECT_TRUE(bottom);
  // The left side, 1:1 from the hinge: a rectangle and a triangle.
  EXPECT_NEAR(e.left.cutArea, 3.5 * 2 + 2, kExact);
}

// Fill 10 m high; the steps (2 m at 1:1.5, a 1 m berm, 2 m at 1:2) end 6 m
// above the ground, and the last surface goes on at 1:2 for 12 m.
TEST(EarthworkSection, StepsEndingBeforeTheGroundAreExtendedAtTheLastRatio) {
  StraightRoad s(1000, 110);
  s.road.slopes[3] = slope(1, 1, "high fill", {surface(2, 1.5), platform(1, 0), surface(2, 2)});
  const TinGround flat = planeGround(100);
  const EarthworkSection e = sectionOf(s, flat.ground, 500);
  ASSERT_TRUE(e.hasAreas()) << e.left.message << e.right.message;
  EXPECT_TRUE(e.right.extended);
  EXPECT_NEAR(e.right.catchPoint->offset, 3.5 + 3 + 1 + 4 + 12, kExact);
  EXPECT_NEAR(e.right.fillArea, 35 + 27 + 8 + 28 + 36, kExact);
}

TEST(EarthworkSection, SidesWithoutAreasSayWhy) {
  // Ground falling 0.8 m a metre to the east: the right fill slope (1:1.5
  // falls 0.67) never meets it; the left side rises into cut.
  {
    StraightRoad s(1000, 100);
    const TinGround steep = planeGround(100, 0, -0.8);
    const EarthworkSection e = sectionOf(s, steep.ground, 500);
    EXPECT_EQ(e.right.status, EarthworkSideStatus::NotMeetingGround);
    EXPECT_NE(e.right.message.find("does not meet the ground within 200 m"), std::string::npos)
        << e.right.message;
    EXPECT_FALSE(e.right.catchPoint);
    EXPECT_FALSE(e.hasAreas());
    EXPECT_EQ(e.left.status, EarthworkSideStatus::Ok) << e.left.message;
    EXPECT_TRUE(e.left.cut);
  }
  // No fill slope on the left.
  {
    StraightRoad s;
    s.road.slopes.erase(s.road.slopes.begin() + 1);
    const TinGround flat = planeGround(100);
    const EarthworkSection e = sectionOf(s, flat.ground, 500);
    EXPECT_EQ(e.left.status, EarthworkSideStatus::NoSlope);
    EXPECT_EQ(e.left.message, "left: no fill slope holds the station");
    EXPECT_EQ(e.right.status, EarthworkSideStatus::Ok);
    // A slope whose range does not hold the station is none either.
    s.road.slopes[2].StartMileage = 600;
    const EarthworkSection later = sectionOf(s, flat.ground, 500);
    EXPECT_EQ(later.right.status, EarthworkSideStatus::NoSlope);
    EXPECT_EQ(std::string(earthworkSideStatusName(later.right.status)), "no slope");
  }
  // No ground at all under the road.
  {
    StraightRoad s;
    const TinGround elsewhere([](double, double) { return 100; }, 2000, 2100, 0, 100, 20);
    const EarthworkSection e = sectionOf(s, elsewhere.ground, 500);
    EXPECT_EQ(e.left.status, EarthworkSideStatus::NoGround);
    EXPECT_EQ(e.right.status, EarthworkSideStatus::NoGround);
    EXPECT_NE(e.right.message.find("no ground at the outer edge"), std::string::npos);
    EXPECT_FALSE(e.groundCentre);
  }
  // Ground that ends before the slope meets it: a TIN 20 m wide falling
  // 0.7 m a metre to the left, faster than the fill slope.
  {
    StraightRoad s(1000, 100);
    const TinGround narrow([](double, double y) { return 100 + 0.7 * y; }, -20, 1040, -10, 10, 10);
    const EarthworkSection e = sectionOf(s, narrow.ground, 500);
    EXPECT_EQ(e.left.status, EarthworkSideStatus::NoGround);
    EXPECT_NE(e.left.message.find("the ground ends at offset -10.000"), std::string::npos)
        << e.left.message;
  }
}

// A row of points left out 20 m right of the centre opens a gap from offset
// 10 to 30 where the right fill slope of a road 8 m wide would meet the flat
// ground (at 11): no catch point is made up in the gap.
TEST(EarthworkSection, SlopeMeetingTheGroundInAGapHasNoCatchPoint) {
  StraightRoad s(1000, 102, 8);
  const TinGround holed([](double, double) { return 100; }, -20, 1040, -300, 300, 10, 15,
                        [](double x, double y) { return y == 20 && x >= 400 && x <= 600; });
  const EarthworkSection e = sectionOf(s, holed.ground, 500);
  EXPECT_EQ(e.right.status, EarthworkSideStatus::NoGround);
  EXPECT_EQ(e.right.message,
            "right: the fill slope meets the ground in a gap of the ground between offsets 10.000 "
            "and 30.000");
  EXPECT_FALSE(e.right.catchPoint);
  EXPECT_EQ(e.left.status, EarthworkSideStatus::Ok);
  EXPECT_NEAR(e.left.catchPoint->offset, -11, kExact);
}

// A TIN with a row of points left out along the centre: a gap from offset −10
// to 10 between 400 and 600, inside catch points at ±15 of lanes 12 m wide.
TEST(EarthworkSection, GroundGapInsideTheCatchPointsIsReported) {
  StraightRoad s(1000, 102, 12);
  const TinGround holed([](double, double) { return 100; }, -20, 1040, -300, 300, 10, 15,
                        [](double x, double y) { return y == 0 && x >= 400 && x <= 600; });
  const EarthworkSection e = sectionOf(s, holed.ground, 500);
  for (const EarthworkSide* side : {&e.left, &e.right}) {
    EXPECT_EQ(side->status, EarthworkSideStatus::GroundGap) << side->message;
    ASSERT_TRUE(side->catchPoint);
    EXPECT_NEAR(std::fabs(side->catchPoint->offset), 15, kExact);
    EXPECT_NE(side->message.find("gap"), std::string::npos);
  }
  EXPECT_FALSE(e.hasAreas());
  // Elsewhere the same road is whole.
  EXPECT_TRUE(sectionOf(s, holed.ground, 200).hasAreas());
}

// Superelevation tilting the right lane from −2 % to +4 % between 200 and 300
// raises its hinge by 0.21 m, and the fill slope reaches 0.315 m further.
TEST(EarthworkSection, SuperelevationMovesTheCatchPoints) {
  StraightRoad s;
  s.road.rightSections = {component("lane", 3.5, -2)};
  Road_Super_Item tilt;
  tilt.SectionName = "lane";
  tilt.LeftRight = 1;
  for (auto [m, v] : {std::pair{200.0, -2.0}, {300.0, 4.0}}) {
    Road_Super_Value p;
    p.Mileage = m;
    p.Slope = v;
    tilt.values.append(p);
  }
  s.road.superHighs = {tilt};
  const TinGround flat = planeGround(100);
  struct Case {
    double station, hinge;
  };
  for (const Case& c : {Case{100, 102 - 0.07}, {250, 102 + 0.035}, {400, 102 + 0.14}}) {
    const EarthworkSection e = sectionOf(s, flat.ground, c.station);
    ASSERT_TRUE(e.hasAreas()) << c.station;
    EXPECT_NEAR(e.right.hinge.elevation, c.hinge, kExact) << c.station;
    EXPECT_NEAR(e.right.catchPoint->offset, 3.5 + (c.hinge - 100) * 1.5, kExact) << c.station;
    EXPECT_NEAR(e.right.fillArea, (2 + c.hinge - 100) / 2 * 3.5 + (c.hinge - 100) * (c.hinge - 100) * 0.75,
                kExact)
        << c.station;
    EXPECT_NEAR(e.left.catchPoint->offset, -6.5, kExact) << c.station << ": the left stays";
  }
}

TEST(EarthworkSection, SectionsThatCannotBeMadeFailWithOneLine) {
  StraightRoad s;
  const TinGround flat = planeGround(100);
  EarthworkSection e;
  std::string error;
  struct Case {
    const char* what;
    double station, depth;
    bool noComponents;
    const char* expected;
  };
  for (const Case& c : {Case{"beyond the road", 1200, 0, false, "not on the alignment"},
                        {"NaN station", NAN, 0, false, "not on the alignment"},
                        {"negative depth", 500, -0.1, false, "pavement depth"},
                        {"NaN depth", 500, NAN, false, "pavement depth"},
                        {"no components", 500, 0, true, "no cross section"}}) {
    StraightRoad r = s;
    if (c.noComponents) {
      r.road.leftSections.clear();
      r.road.rightSections.clear();
    }
    error.clear();
    EXPECT_FALSE(earthworkSectionAt(r.road, r.design, r.profile, flat.ground, c.depth, c.station,
                                    -1, e, error))
        << c.what;
    EXPECT_NE(error.find(c.expected), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
  }
}

}  // namespace
}  // namespace trazmark
