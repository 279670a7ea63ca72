// The earthwork table: volumes by average end area and by the prismoidal
// formula on sections whose areas vary along the road as known functions,
// cut-to-fill transitions, broken chains, the mass ordinate and bad input.

#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "EarthworkTestRoad.h"
#include "earthwork/EarthworkTable.h"

namespace trazmark {
namespace {

using namespace test;

EarthworkTable tableOf(const StraightRoad& s, const CRoadGround& ground, EarthworkOptions options) {
  EarthworkTable table;
  std::string error;
  EXPECT_TRUE(earthworkTable(s.road, s.design, s.profile, ground, options, table, error)) << error;
  return table;
}

// Fill from 2 m at station 0 to 6 m at 1000 over flat ground: with vertical
// side walls a section is 7·H (linear along the road), with slopes of 1:1.5
// it is 7·H + 1.5·H² (quadratic).
TEST(EarthworkVolumes, LinearSectionsExactByBothQuadraticExactByPrismoidal) {
  const TinGround flat = planeGround(100);
  // ∫H = 4000, ∫H² = (6³ − 2³)/0.012 over the 1000 m.
  const double linear = 7 * 4000.0;
  const double quadratic = 7 * 4000.0 + 1.5 * (216.0 - 8.0) / 0.012;
  // The trapezoid rule's excess on a quadratic: length·L²/12·A''.
  const double endAreaExcess = 1000 * 20.0 * 20.0 / 12 * (2 * 1.5 * 0.004 * 0.004);
  struct Case {
    const char* what;
    double ratio;  // fill slope 1:N
    bool prismoidal;
    double expected;  // m³
  };
  for (const Case& c : {Case{"walls, end areas", 0, false, linear},
                        {"walls, prismoidal", 0, true, linear},
                        {"1:1.5, end areas", 1.5, false, quadratic + endAreaExcess},
                        {"1:1.5, prismoidal", 1.5, true, quadratic}}) {
    StraightRoad s;
    s.road.verticalCurves = gradePoints({{0, 102}, {1000, 106}});
    for (int side : {0, 1}) s.road.slopes[side * 2 + 1] = slope(side, 1, "F", {surface(50, c.ratio)});
    s.build();
    EarthworkOptions options;
    options.prismoidal = c.prismoidal;
    options.bulking = 1.25;
    const EarthworkTable t = tableOf(s, flat.ground, options);
    ASSERT_EQ(t.rows.size(), 51u) << c.what;
    EXPECT_NEAR(t.totals.fill, c.expected, 1e-6 * c.expected) << c.what;
    EXPECT_NEAR(t.totals.cut, 0, 1e-9) << c.what;
    EXPECT_NEAR(t.totals.length, 1000, 1e-9) << c.what;
    EXPECT_NEAR(t.totals.mass, -t.totals.fill, 1e-9) << c.what;
    // Rows add up: each volume from the row before, the sums and the mass.
    double sum = 0;
    for (std::size_t i = 0; i < t.rows.size(); ++i) {
      const EarthworkRow& r = t.rows[i];
      EXPECT_NEAR(r.station, 20.0 * static_cast<double>(i), 1e-9) << c.what;
      EXPECT_NEAR(r.distance, i ? 20 : 0, 1e-9) << c.what;
      const double h = 2 + 0.004 * r.mileage;
      EXPECT_NEAR(r.fillArea, 7 * h + c.ratio * h * h, 1e-7) << c.what << " at " << r.station;
      sum += r.fillVolume;
      EXPECT_NEAR(r.cumFill, sum, 1e-6) << c.what;
      EXPECT_NEAR(r.mass, r.cumCut * 1.25 - r.cumFill, 1e-6) << c.what;
      EXPECT_FALSE(r.transition);
    }
  }
}

// The grade line from 98 to 102.5 over flat ground at 100 passes from cut to
// fill at 4000/9 m: that place becomes a row of its own, between 440 and 460.
TEST(EarthworkVolumes, CutToFillTransitionInsertedAtItsStation) {
  StraightRoad s;
  s.road.verticalCurves = gradePoints({{0, 98}, {1000, 102.5}});
  s.build();
  const TinGround flat = planeGround(100);
  for (bool prismoidal : {false, true}) {
    EarthworkOptions options;
    options.prismoidal = prismoidal;
    const EarthworkTable t = tableOf(s, flat.ground, options);
    ASSERT_EQ(t.rows.size(), 52u);
    std::size_t transitions = 0;
    for (std::size_t i = 0; i < t.rows.size(); ++i) {
      const EarthworkRow& r = t.rows[i];
      if (!r.transition) continue;
      ++transitions;
      EXPECT_NEAR(r.station, 4000.0 / 9, 1e-6);
      EXPECT_NEAR(t.rows[i - 1].station, 440, 1e-9);
      EXPECT_NEAR(t.rows[i + 1].station, 460, 1e-9);
      EXPECT_NEAR(r.cutArea + r.fillArea, 0, 1e-4) << "the road on the ground";
      EXPECT_NEAR(t.rows[i + 1].cutVolume, 0, 1e-6) << "no cut carried past the change";
    }
    EXPECT_EQ(transitions, 1u);
    // Cut 1:1: A = 7H + H² with H = 2 − 0.0045 m up to the change; fill 1:1.5
    // after it, 7H + 1.5H² with H = 0.0045 (m − 4000/9).
    const double k = 0.0045;
    const double cut = 7 * 4.0 / (2 * k) + 8.0 / (3 * k);
    const double fill = 7 * 2.5 * 2.5 / (2 * k) + 1.5 * 2.5 * 2.5 * 2.5 / (3 * k);
    EXPECT_NEAR(t.totals.cut, cut, prismoidal ? 1e-3 : 0.7) << prismoidal;
    EXPECT_NEAR(t.totals.fill, fill, prismoidal ? 1e-3 : 1.2) << prismoidal;
  }
}

// Constant sections of 14 m² (2 m of fill between vertical walls) along a
// road of 1000 m whose displayed stations jump: the volume follows the real
// length, 14,000 m³, whatever the stations read.
TEST(EarthworkVolumes, BrokenChainsAddNoLength) {
  const TinGround flat = planeGround(100);
  struct Case {
    const char* what;
    Scisson_Data chain;
    double lastStation;
    std::size_t rows;  // 20 m stations on each stretch, the chain's place and the end
  };
  for (const Case& c : {Case{"short chain 400 → 450", {1, 50, 400, 450}, 1050, 52},
                        {"long chain 450 → 400", {0, 50, 450, 400}, 950, 52}}) {
    StraightRoad s;
    s.design.brokenChains = {c.chain};
    s.road.verticalCurves = gradePoints({{0, 102}, {c.lastStation, 102}});
    for (int side : {0, 1}) s.road.slopes[side * 2 + 1] = slope(side, 1, "F", {surface(50, 0)});
    std::string error;
    ASSERT_TRUE(s.profile.build(s.road.verticalCurves, s.design, error)) << error;
    const EarthworkTable t = tableOf(s, flat.ground, {});
    EXPECT_EQ(t.rows.size(), c.rows) << c.what;
    EXPECT_NEAR(t.totals.length, 1000, 1e-9) << c.what;
    EXPECT_NEAR(t.totals.fill, 14000, 1e-6) << c.what;
    EXPECT_NEAR(t.rows.back().station, c.lastStation, 1e-9) << c.what;
    double length = 0;
    for (const EarthworkRow& r : t.rows) {
      length += r.distance;
      EXPECT_NEAR(r.fillArea, 14, 1e-9) << c.what << " at " << r.station;
      EXPECT_NEAR(r.mileage, length, 1e-9) << c.what;
    }
  }
}

TEST(EarthworkTableText, CsvAndReadableColumnsWithTotals) {
  StraightRoad s(40);
  s.road.verticalCurves = gradePoints({{0, 102}, {40, 102}});
  for (int side : {0, 1}) s.road.slopes[side * 2 + 1] = slope(side, 1, "F", {surface(50, 0)});
  s.build();
  const TinGround flat = planeGround(100);
  EarthworkOptions options;
  options.bulking = 1.1;
  const EarthworkTable t = tableOf(s, flat.ground, options);
  EXPECT_EQ(earthworkTableText(t, true),
            "STATION,CUT_AREA,FILL_AREA,DISTANCE,CUT_VOLUME,FILL_VOLUME,CUM_CUT,CUM_FILL,MASS\n"
            "0.000,0.00,14.00,0.000,0.00,0.00,0.00,0.00,0.00\n"
            "20.000,0.00,14.00,20.000,0.00,280.00,0.00,280.00,-280.00\n"
            "40.000,0.00,14.00,20.000,0.00,280.00,0.00,560.00,-560.00\n"
            "TOTAL,,,40.000,0.00,560.00,0.00,560.00,-560.00\n");
  const std::string text = earthworkTableText(t, false);
  EXPECT_NE(text.find("fill       560.00 m3"), std::string::npos) << text;
  EXPECT_NE(text.find("bulking    1.100"), std::string::npos) << text;
  EXPECT_NE(text.find("mass       -560.00 m3"), std::string::npos) << text;
}

TEST(EarthworkTable, BadInputFailsWithOneLineAndNoRows) {
  const TinGround flat = planeGround(100);
  StraightRoad s;
  struct Case {
    const char* what;
    EarthworkOptions options;
    const char* expected;
  };
  auto with = [](auto change) {
    EarthworkOptions o;
    change(o);
    return o;
  };
  const Case cases[] = {
      {"interval 0", with([](EarthworkOptions& o) { o.interval = 0; }), "interval"},
      {"interval NaN", with([](EarthworkOptions& o) { o.interval = NAN; }), "interval"},
      {"interval negative", with([](EarthworkOptions& o) { o.interval = -20; }), "interval"},
      {"interval tiny", with([](EarthworkOptions& o) { o.interval = 1e-5; }), "too small"},
      {"bulking 0", with([](EarthworkOptions& o) { o.bulking = 0; }), "bulking"},
      {"depth negative", with([](EarthworkOptions& o) { o.pavementDepth = -1; }), "pavement depth"},
      {"from before the road", with([](EarthworkOptions& o) { o.from = -10; }),
       "the first station -10.000 is not on the road (0.000 to 1000.000)"},
      {"to beyond the road", with([](EarthworkOptions& o) { o.to = 1000.5; }), "not on the road"},
      {"from NaN", with([](EarthworkOptions& o) { o.from = NAN; }), "NaN is not on the road"},
      {"from after to", with([](EarthworkOptions& o) {
         o.from = 600;
         o.to = 500;
       }),
       "must come before"},
  };
  for (const Case& c : cases) {
    EarthworkTable t;
    t.rows.resize(3);
    std::string error;
    EXPECT_FALSE(earthworkTable(s.road, s.design, s.profile, flat.ground, c.options, t, error))
        << c.what;
    EXPECT_NE(error.find(c.expected), std::string::npos) << c.what << ": " << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
    EXPECT_TRUE(t.rows.empty()) << c.what;
  }

  EarthworkTable t;
  std::string error;
  // A road without grade points: no elevation at the first station.
  CRoadProfile none;
  EXPECT_FALSE(earthworkTable(s.road, s.design, none, flat.ground, {}, t, error));
  EXPECT_NE(error.find("station 0.000: no elevation on the grade line"), std::string::npos) << error;
  // A road without a cross section.
  StraightRoad bare = s;
  bare.road.leftSections.clear();
  bare.road.rightSections.clear();
  EXPECT_FALSE(earthworkTable(bare.road, bare.design, bare.profile, flat.ground, {}, t, error));
  EXPECT_NE(error.find("no cross section"), std::string::npos) << error;
  // A side without areas names its station, unless incomplete rows are allowed.
  StraightRoad noFill = s;
  noFill.road.slopes[1].StartMileage = 100;
  EXPECT_FALSE(earthworkTable(noFill.road, noFill.design, noFill.profile, flat.ground, {}, t, error));
  EXPECT_EQ(error, "station 0.000 left: no fill slope holds the station");
  EXPECT_TRUE(t.rows.empty());
  EarthworkOptions lenient;
  lenient.allowIncomplete = true;
  ASSERT_TRUE(earthworkTable(noFill.road, noFill.design, noFill.profile, flat.ground, lenient, t, error))
      << error;
  EXPECT_FALSE(t.rows[4].complete);
  EXPECT_EQ(t.rows[4].note, "left: no fill slope holds the station");
  EXPECT_NEAR(t.rows[4].fillArea, 10, 1e-9) << "the right side alone";
  EXPECT_TRUE(t.rows[5].complete);
}

TEST(EarthworkTable, ProgressRisesToOneAndCancelLeavesNothing) {
  const TinGround flat = planeGround(100);
  StraightRoad s;
  EarthworkTable t;
  std::string error;
  std::vector<double> seen;
  EarthworkOptions options;
  options.from = 100;
  options.to = 300;
  ASSERT_TRUE(earthworkTable(s.road, s.design, s.profile, flat.ground, options, t, error,
                             [&](double f) {
                               seen.push_back(f);
                               return true;
                             }))
      << error;
  ASSERT_EQ(t.rows.size(), 11u);
  EXPECT_NEAR(t.rows.front().station, 100, 1e-9);
  ASSERT_FALSE(seen.empty());
  for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_GE(seen[i], seen[i - 1]);
  EXPECT_DOUBLE_EQ(seen.back(), 1.0);

  int calls = 0;
  EXPECT_FALSE(earthworkTable(s.road, s.design, s.profile, flat.ground, {}, t, error,
                              [&](double) { return ++calls < 5; }));
  EXPECT_EQ(error, "cancelled");
  EXPECT_TRUE(t.rows.empty());
}

}  // namespace
}  // namespace trazmark
