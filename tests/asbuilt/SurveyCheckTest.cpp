// The as-built check: points made from the design at known stations and
// offsets, moved by known amounts, on a straight level road due north from
// (0, 0) (offsets right of travel are y east), so every design elevation is a
// hand sum of cross slopes and kerbs.

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "asbuilt/SurveyCheck.h"
#include "earthwork/EarthworkTestRoad.h"

namespace trazmark {
namespace {

using test::component;

constexpr double kMetre = 1e-9;  // agreement of computed elevations and offsets, metres

TEST(SurveyedPointFile, BothFormatsAndEveryRefusal) {
  std::vector<SurveyedPoint> points;
  std::string error;
  ASSERT_TRUE(readSurveyedPoints("\xEF\xBB\xBF# as built\nK1,10.5,20.25,101.5\n\n  K2 11 21 102\n",
                                 SurveyedPointFormat::kNameXYZ, points, error))
      << error;
  ASSERT_EQ(points.size(), 2u);
  EXPECT_EQ(points[0].name, "K1");
  EXPECT_DOUBLE_EQ(points[0].x, 10.5);
  EXPECT_DOUBLE_EQ(points[0].y, 20.25);
  EXPECT_EQ(points[1].line, 4u);
  // The field crews' order: east before north, a code.
  ASSERT_TRUE(readSurveyedPoints("7,KERB,365760.5,2936912.25,1118.852,\n",
                                 SurveyedPointFormat::kNameCodeENZ, points, error));
  EXPECT_EQ(points[0].code, "KERB");
  EXPECT_DOUBLE_EQ(points[0].x, 2936912.25);
  EXPECT_DOUBLE_EQ(points[0].y, 365760.5);

  struct Bad {
    const char* text;
    const char* why;
  };
  for (const Bad& b : {Bad{"A,1,2,3\nB,1,two,3\n", "line 2: the y (east) 'two' is not a number"},
                       {"A,1,2,nan\n", "line 1: the elevation 'nan' is not a number"},
                       {"A,inf,2,3\n", "line 1: the x (north) 'inf' is not a number"},
                       {"\nA,1,2\n", "line 2: 3 fields where name,x,y,z has 4"},
                       {"A,1,,3\n", "line 1: the y (east) is missing"},
                       {",1,2,3\n", "line 1: the point has no name"},
                       {"A,1,2,3,4\n", "line 1: more fields than name,x,y,z has"},
                       {"", "no points"},
                       {"# nothing\n\n", "no points"}}) {
    const std::vector<SurveyedPoint> before = points;
    EXPECT_FALSE(readSurveyedPoints(b.text, SurveyedPointFormat::kNameXYZ, points, error)) << b.text;
    EXPECT_EQ(error.rfind(b.why, 0), 0u) << error;
    EXPECT_EQ(points.size(), before.size()) << "a refused file reads nothing";
  }
  SurveyedPointFormat format;
  EXPECT_TRUE(parseSurveyedPointFormat(" Name, Code, E, N, Z ", format));
  EXPECT_EQ(format, SurveyedPointFormat::kNameCodeENZ);
  EXPECT_FALSE(parseSurveyedPointFormat("x,y,z", format));
}

// Level at 102 from station 0 to 1000. Left: a lane 3.5 m at -2 % widened to
// 4.5 m between stations 400 and 500, then a footway 1.5 m at -3 % behind a
// kerb of 0.15 m. Right: a lane 3.5 m at -2 % superelevated to +4 % between
// stations 200 and 300, then a hard shoulder 2 m at -2 %. Fill slopes 1:1.5.
struct CheckRoad : test::StraightRoad {
  CheckRoad() {
    road.leftSections = {component("lane", 3.5, -2), component("footway", 1.5, -3, 0.15)};
    road.rightSections = {component("lane", 3.5, -2), component("hard shoulder", 2, -2)};
    road.widens.append(item("lane", 0, {{400, 3.5}, {500, 4.5}}));
    road.superHighs.append(item("lane", 1, {{200, -2}, {300, 4}}));
  }
  static Road_Super_Item item(const char* name, int side, std::vector<std::pair<double, double>> values) {
    Road_Super_Item it;
    it.SectionName = name;
    it.LeftRight = side;
    for (auto [m, v] : values) {
      Road_Super_Value c;
      c.Mileage = m;
      c.Slope = v;
      c.Width = v;
      it.values.append(c);
    }
    return it;
  }
  // A surveyed point at a station and offset, `dz` above `designZ`.
  SurveyedPoint at(double station, double offset, double designZ, double dz, int side = -1) const {
    const auto p = design.pointAtStation(station, offset, side);
    EXPECT_TRUE(p);
    SurveyedPoint s;
    s.name = "P";
    s.x = p->x;
    s.y = p->y;
    s.z = designZ + dz;
    return s;
  }
};

struct Expect {
  const char* what;
  double station, offset, designZ, dz;
  const char* edge;
  double dOffset;
  CheckFlag flag;
};

void expectRow(const CheckedPoint& r, const Expect& e) {
  SCOPED_TRACE(e.what);
  EXPECT_EQ(r.flag, e.flag) << r.note;
  EXPECT_NEAR(r.location.displayedMileage, e.station, 1e-6);
  EXPECT_NEAR(r.location.offset, e.offset, 1e-6);
  ASSERT_TRUE(r.designZ) << r.note;
  EXPECT_NEAR(*r.designZ, e.designZ, 1e-6);
  EXPECT_NEAR(*r.dz, e.dz, 1e-6);
  EXPECT_EQ(r.edge, e.edge);
  ASSERT_TRUE(r.dOffset);
  EXPECT_NEAR(*r.dOffset, e.dOffset, 1e-6);
}

TEST(SurveyCheck, EachComponentSuperelevatedWidenedAndAtTheTolerances) {
  CheckRoad r;
  CSurveyCheck check;
  std::string error;
  ASSERT_TRUE(check.prepare(r.road, r.design, nullptr, 0, error)) << error;
  ASSERT_TRUE(check.hasGradeLine());
  const CheckTolerances tol;  // 0.02 and 0.05
  const std::vector<Expect> cases = {
      {"centre", 100, 0.03, 102 - 0.03 * 0.02, 0.01, "centre", 0.03, CheckFlag::kWithin},
      {"right lane edge, 1 cm inside", 100, 3.49, 102 - 3.49 * 0.02, -0.005, "lane", -0.01,
       CheckFlag::kWithin},
      {"hard shoulder edge", 100, 5.5, 102 - 0.07 - 0.04, 0.005, "hard shoulder", 0, CheckFlag::kWithin},
      {"footway edge on the kerb", 100, -5, 102 - 0.07 + 0.15 - 0.045, 0, "footway", 0,
       CheckFlag::kWithin},
      {"superelevated half way (+1 %): ΔZ exactly the tolerance", 250, 3.5, 102 + 0.035, -0.02,
       "lane", 0, CheckFlag::kWithin},
      {"superelevated, 0.1 mm beyond", 250, 3.5, 102 + 0.035, 0.0201, "lane", 0, CheckFlag::kBeyond},
      {"superelevated to +4 %, then the shoulder", 300, 5.5, 102 + 0.14 - 0.04, 0, "hard shoulder", 0,
       CheckFlag::kWithin},
      {"widened half way (4 m): ΔO exactly the tolerance", 450, -3.95, 102 - 3.95 * 0.02, 0, "lane",
       0.05, CheckFlag::kWithin},
      {"widened, ΔO 0.1 mm beyond", 450, -3.9499, 102 - 3.9499 * 0.02, 0, "lane", 0.0501,
       CheckFlag::kBeyond},
  };
  for (const Expect& e : cases) expectRow(check.check(r.at(e.station, e.offset, e.designZ, e.dz), tol), e);

  // At the kerb's face a point is compared with the kerb's foot or its top,
  // whichever is nearer, on both sides of the face within the tolerance.
  const double foot = 102 - 0.07, top = foot + 0.15;
  for (double offset : {-3.47, -3.5, -3.53}) {
    const double d = std::fabs(offset) - 3.5;  // beyond the face
    const double footZ = foot - d * 0.02, topZ = top - d * 0.03;
    const CheckedPoint low = check.check(r.at(100, offset, footZ, 0.004), tol);
    const CheckedPoint high = check.check(r.at(100, offset, topZ, -0.004), tol);
    EXPECT_NEAR(*low.dz, 0.004, kMetre) << offset;
    EXPECT_NEAR(*high.dz, -0.004, kMetre) << offset;
  }
  // Beyond the tolerance of the face each side keeps its own surface.
  EXPECT_NEAR(*check.check(r.at(100, -3.56, foot, 0), tol).dz, -(0.15 - 0.06 * 0.03), kMetre);

  // Beyond the footway, without ground: no design, ΔO from the road's edge.
  const CheckedPoint out = check.check(r.at(100, -6, 101, 0), tol);
  EXPECT_FALSE(out.designZ);
  EXPECT_EQ(out.note, "outside the section");
  EXPECT_EQ(out.edge, "footway");
  EXPECT_NEAR(*out.dOffset, -1, kMetre);
  EXPECT_EQ(out.flag, CheckFlag::kBeyond);

  // Off the road: before its start, with the distance.
  SurveyedPoint before;
  before.x = -12;
  before.y = 1;
  const CheckedPoint off = check.check(before, tol);
  EXPECT_EQ(off.flag, CheckFlag::kOffRoad);
  EXPECT_NEAR(off.location.distance, std::hypot(12, 1), kMetre);
  EXPECT_EQ(checkStationText(off), "outside");
}

TEST(SurveyCheck, SideSlopeOverTheGroundToItsCatchPoint) {
  CheckRoad r;
  const test::TinGround flat = test::planeGround(100);
  CSurveyCheck check;
  std::string error;
  ASSERT_TRUE(check.prepare(r.road, r.design,
                            std::shared_ptr<const CRoadGround>(&flat.ground, [](const CRoadGround*) {}),
                            0.3, error))
      << error;
  // Right: the hinge at 5.5 m, 101.89; the fill falls 1.89 m at 1:1.5 to the
  // ground at 100, the catch point 2.835 m out.
  const double hinge = 102 - 0.07 - 0.04;
  const CheckedPoint slope = check.check(r.at(100, 7, hinge - 1.5 / 1.5, 0.012), {});
  ASSERT_TRUE(slope.designZ) << slope.note;
  EXPECT_NEAR(*slope.designZ, hinge - 1, 1e-6);
  EXPECT_NEAR(*slope.dz, 0.012, 1e-6);
  EXPECT_EQ(slope.edge, "catch point");
  EXPECT_NEAR(*slope.dOffset, 7 - (5.5 + 1.89 * 1.5), 1e-6);

  // The catch point itself is within; beyond it the section ends.
  const CheckedPoint atCatch = check.check(r.at(100, 5.5 + 1.89 * 1.5, 100, 0), {});
  EXPECT_EQ(atCatch.flag, CheckFlag::kWithin) << atCatch.note;
  const CheckedPoint past = check.check(r.at(100, 9, 100, 0), {});
  EXPECT_FALSE(past.designZ);
  EXPECT_EQ(past.note, "outside the section (beyond the catch point)");
}

// A point's code names the edge it marks: it is measured against that edge
// even where another lies nearer. Any other code is a surface point, judged
// by its elevation alone; a point without a code keeps the nearest edge.
TEST(SurveyCheck, CodedEdgeShotsSurfacePointsAndUncodedPoints) {
  CheckRoad r;
  // Right fill: 1 m down at 1:1.5 to 7 m (100.89), a berm 1 m at -2 % to 8 m
  // (100.87), 1:1.5 to the ground at 100: the catch point at 9.305 m.
  r.road.slopes[3].items = {test::surface(1, 1.5), test::platform(1, -2), test::surface(50, 1.5)};
  const test::TinGround flat = test::planeGround(100);
  CSurveyCheck check;
  std::string error;
  ASSERT_TRUE(check.prepare(r.road, r.design,
                            std::shared_ptr<const CRoadGround>(&flat.ground, [](const CRoadGround*) {}),
                            0, error))
      << error;
  auto coded = [&](const char* code, double offset, double designZ, double dz) {
    SurveyedPoint p = r.at(100, offset, designZ, dz);
    p.code = code;
    return check.check(p, {});
  };
  struct Case {
    const char* code;
    double offset, designZ, dz;
    const char* edge;
    double dOffset;
    bool judged;
    CheckFlag flag;
    const char* note;
  };
  const Case cases[] = {
      {"hard shoulder", 3.52, 102 - 3.52 * 0.02, 0, "hard shoulder", 3.52 - 5.5, true,
       CheckFlag::kBeyond, ""},
      {"", 3.52, 102 - 3.52 * 0.02, 0, "lane", 0.02, true, CheckFlag::kWithin, ""},
      {" LANE ", -3.47, 102 - 3.47 * 0.02, 0, "lane", 0.03, true, CheckFlag::kWithin, ""},
      {"lane", 0.1, 102 - 0.002, 0, "lane", 0.1 - 3.5, true, CheckFlag::kBeyond, ""},
      {"footway", 3.5, 102 - 0.07, 0, "footway", 8.5, true, CheckFlag::kBeyond, ""},
      {"\xE4\xB8\xAD\xE7\xBA\xBF" /* 中线 */, 0.04, 102 - 0.0008, 0, "centre", 0.04, true,
       CheckFlag::kWithin, ""},
      {"TOP", 1.7, 102 - 0.034, 0.01, "centre", 1.7, false, CheckFlag::kWithin, "surface point"},
      {"TOP", 1.7, 102 - 0.034, 0.03, "centre", 1.7, false, CheckFlag::kBeyond, "surface point"},
      {"s", 7.97, 100.89 - 0.97 * 0.02, 0, "slope:RF:s", 0.97, true, CheckFlag::kBeyond, ""},
      {"", 7.97, 100.89 - 0.97 * 0.02, 0, "slope:RF:p", -0.03, true, CheckFlag::kWithin, ""},
      {"catch", 5, 102 - 0.07 - 0.03, 0, "catch point", 5 - 9.305, true, CheckFlag::kBeyond, ""},
  };
  for (const Case& c : cases) {
    const CheckedPoint row = coded(c.code, c.offset, c.designZ, c.dz);
    SCOPED_TRACE(std::string(c.code) + " at " + std::to_string(c.offset));
    ASSERT_TRUE(row.designZ && row.dOffset) << row.note;
    EXPECT_NEAR(*row.designZ, c.designZ, 1e-6);
    EXPECT_EQ(row.edge, c.edge);
    EXPECT_NEAR(*row.dOffset, c.dOffset, 1e-6);
    EXPECT_EQ(row.offsetJudged, c.judged);
    EXPECT_EQ(row.beyondOffset, c.judged && c.flag == CheckFlag::kBeyond);
    EXPECT_EQ(row.flag, c.flag);
    EXPECT_EQ(row.note, c.note);
  }
  EXPECT_EQ(summarizeCheck({coded("TOP", 1.7, 102 - 0.034, 0)}).dOffsetCount, 0u);

  // Without ground the road has no catch point: the nearest edge is shown,
  // not judged, and the note says why.
  ASSERT_TRUE(check.prepare(r.road, r.design, nullptr, 0, error)) << error;
  const CheckedPoint noCatch = coded("Catch", 7, 100.89, 0);
  EXPECT_EQ(noCatch.edge, "hard shoulder");
  EXPECT_FALSE(noCatch.offsetJudged);
  EXPECT_EQ(noCatch.flag, CheckFlag::kWithin);
  EXPECT_EQ(noCatch.note, "outside the section; no edge 'Catch' here");
}

TEST(SurveyCheck, BothBranchesOfALongChainAndARoadWithoutGradePoints) {
  CheckRoad r;
  // A long chain: 600 → 550, so displayed 550 to 600 come twice; the grade
  // line rises 1 % on continuous mileage (1000 m continuous, 950 displayed).
  r.road.verticalCurves = test::gradePoints({{0, 100}, {950, 110}});
  r.design.brokenChains = {Scisson_Data{0, 50, 600, 550}};
  CSurveyCheck check;
  std::string error;
  ASSERT_TRUE(check.prepare(r.road, r.design, nullptr, 0, error)) << error;
  const CheckedPoint before = check.check(r.at(580, -0.01, 105.8 - 0.0002, 0.003, 0), {});
  const CheckedPoint after = check.check(r.at(580, -0.01, 106.3 - 0.0002, -0.003, 1), {});
  EXPECT_EQ(before.location.branch, 0);
  EXPECT_EQ(after.location.branch, 1);
  EXPECT_NEAR(*before.dz, 0.003, 1e-6);
  EXPECT_NEAR(*after.dz, -0.003, 1e-6);
  EXPECT_EQ(checkStationText(before), "580.0000 (before)");
  EXPECT_EQ(checkStationText(after), "580.0000 (after)");

  // Without grade points the horizontal check still runs.
  r.road.verticalCurves.clear();
  ASSERT_TRUE(check.prepare(r.road, r.design, nullptr, 0, error)) << error;
  EXPECT_FALSE(check.hasGradeLine());
  const CheckedPoint flat = check.check(r.at(100, 3.52, 50, 0), {});
  EXPECT_FALSE(flat.dz);
  EXPECT_EQ(flat.note, "no grade line");
  EXPECT_EQ(flat.edge, "lane");
  EXPECT_NEAR(*flat.dOffset, 0.02, 1e-6);
  EXPECT_EQ(flat.flag, CheckFlag::kWithin);
}

TEST(SurveyCheck, SummaryAndReport) {
  std::vector<CheckedPoint> rows(5);
  const double dz[] = {0.01, -0.03, 0.02};
  for (int i = 0; i < 3; ++i) {
    rows[i].point.name = "P" + std::to_string(i + 1);
    rows[i].flag = i == 1 ? CheckFlag::kBeyond : CheckFlag::kWithin;
    rows[i].location.status = StationLocation::kOnRoad;
    rows[i].location.displayedMileage = 100 + i;
    rows[i].designZ = 102;
    rows[i].dz = dz[i];
    rows[i].edge = "lane";
    rows[i].dOffset = 0.01 * (i + 1);
  }
  rows[0].flag = CheckFlag::kOffRoad;  // listed after the others
  rows[0].location.status = StationLocation::kOutside;
  rows[0].location.distance = 12.5;
  rows[0].dz.reset();
  rows[0].designZ.reset();
  rows[0].dOffset.reset();
  rows[0].edge.clear();
  rows[3].point.name = "P4";
  rows[3].flag = CheckFlag::kWithin;
  rows[3].location.status = StationLocation::kOnRoad;
  rows[3].dOffset = -0.04;
  rows[3].edge = "centre";
  rows[3].note = "no grade line";
  rows.pop_back();

  const CheckSummary s = summarizeCheck(rows);
  EXPECT_EQ(s.checked, 4u);
  EXPECT_EQ(s.within, 2u);
  EXPECT_EQ(s.beyond, 1u);
  EXPECT_EQ(s.offRoad, 1u);
  EXPECT_EQ(s.dzCount, 2u);
  EXPECT_NEAR(s.meanDz, -0.005, 1e-12);
  EXPECT_NEAR(s.rmsDz, std::sqrt((0.0009 + 0.0004) / 2), 1e-12);
  EXPECT_DOUBLE_EQ(s.maxDz, -0.03);
  EXPECT_EQ(s.dOffsetCount, 3u);
  EXPECT_NEAR(s.meanDOffset, (0.02 + 0.03 - 0.04) / 3, 1e-12);
  EXPECT_DOUBLE_EQ(s.maxDOffset, -0.04);

  const std::string csv = checkReportText(rows, s, true);
  EXPECT_EQ(csv.substr(0, csv.find("SUMMARY")),
            "NAME,STATION,OFFSET,DESIGN_Z,DZ,EDGE,DOFFSET,FLAG,NOTE\n"
            "P2,101.0000,0.0000,102.0000,-0.0300,lane,0.0200,BEYOND,\n"
            "P3,102.0000,0.0000,102.0000,0.0200,lane,0.0300,ok,\n"
            "P4,0.0000,0.0000,-,-,centre,-0.0400,ok,no grade line\n"
            "P1,outside,12.5000,-,-,-,-,OFF ROAD,\n");
  EXPECT_NE(csv.find("SUMMARY,DZ_MAX,-0.0300\n"), std::string::npos) << csv;
  const std::string text = checkReportText(rows, s, false);
  EXPECT_NE(text.find("\noff the road:\nP1 "), std::string::npos) << text;
  EXPECT_NE(text.find("off the road      1\n"), std::string::npos) << text;
}

}  // namespace
}  // namespace trazmark
