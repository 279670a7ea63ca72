// The curve elements table against a hand calculation from the textbook
// formulas of a curve with spirals:
//   p = Ls²/(24R) − Ls⁴/(2688R³)   q = Ls/2 − Ls³/(240R²)
//   T1 = (R + p1)·tan(α/2) + q1 − (p1 − p2)/sin α
//   T2 = (R + p2)·tan(α/2) + q2 + (p1 − p2)/sin α
//   L = R·α + (Ls1 + Ls2)/2      E = (R + p)·sec(α/2) − R (equal spirals)
//   J = T1 + T2 − L, and the stations run JDk = JDk−1 + distance − Jk−1.

#include <gtest/gtest.h>

#include <cmath>

#include "editors/AlignmentLoader.h"
#include "platform/TextFields.h"
#include "tables/DesignTables.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kDeg = kPi / 180;
// The series above are exact to well below a tenth of a millimetre for these
// radii and spiral lengths; the engine integrates the spiral exactly.
constexpr double kTol = 2e-4;  // metres

struct HandCurve {
  double R, ls1, ls2, alpha;  // alpha in radians
  double p(double ls) const { return ls * ls / (24 * R) - std::pow(ls, 4) / (2688 * R * R * R); }
  double q(double ls) const { return ls / 2 - std::pow(ls, 3) / (240 * R * R); }
  double t1() const { return (R + p(ls1)) * std::tan(alpha / 2) + q(ls1) - (p(ls1) - p(ls2)) / std::sin(alpha); }
  double t2() const { return (R + p(ls2)) * std::tan(alpha / 2) + q(ls2) + (p(ls1) - p(ls2)) / std::sin(alpha); }
  double length() const { return R * alpha + (ls1 + ls2) / 2; }
  double external() const { return (R + p(ls1)) / std::cos(alpha / 2) - R; }  // equal spirals only
};

struct Point {
  double x, y;
};

Point ahead(Point from, double azimuthDeg, double distance) {
  return {from.x + distance * std::cos(azimuthDeg * kDeg), from.y + distance * std::sin(azimuthDeg * kDeg)};
}

// A two-lane design: north 1000 m, then right 40° (R 500, spirals 100 and 150
// of different lengths), left 30° without spirals (R 300), and right 50° (R 400,
// spirals 80 and 80) meeting the curve before with no straight between them.
struct Design {
  std::vector<HandCurve> curves{{500, 100, 150, 40 * kDeg}, {300, 0, 0, 30 * kDeg}, {400, 80, 80, 50 * kDeg}};
  std::vector<double> azimuths{0, 40, 10, 60};  // of the straights, degrees
  std::vector<Point> points;
  RoadDataSet road;

  explicit Design(const RecordList<Scisson_Data>& chains = {}) {
    points.push_back({0, 0});
    points.push_back(ahead(points.back(), azimuths[0], 1000));
    points.push_back(ahead(points.back(), azimuths[1], 800));
    // No straight between the second and third curves.
    points.push_back(ahead(points.back(), azimuths[2], curves[1].t2() + curves[2].t1()));
    points.push_back(ahead(points.back(), azimuths[3], 700));
    road.FlatcurveType = kFlatcurveCrossPoints;
    for (std::size_t i = 0; i < points.size(); ++i) {
      Road_CrossPoint p;
      p.point.X = points[i].x;
      p.point.Y = points[i].y;
      if (i > 0 && i + 1 < points.size()) {
        p.Radius = curves[i - 1].R;
        p.CurveLength_Left = curves[i - 1].ls1;
        p.CurveLength_Right = curves[i - 1].ls2;
      }
      road.crossPoints.append(p);
    }
    road.scissons = chains;
  }
};

TEST(CurveElementsTable, EveryFigureOfEveryPointAgainstTheHandCalculation) {
  Design d;
  CRoadDesign design;
  std::string error;
  ASSERT_TRUE(loadRoadAlignment(d.road, "two-lane", design, error)) << error;
  std::vector<CurvePointRow> rows;
  ASSERT_TRUE(curvePointRows(d.road.crossPoints, design, rows, error)) << error;
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows.front().name, "QD");
  EXPECT_EQ(rows[1].name, "JD1");
  EXPECT_EQ(rows.back().name, "ZD");

  const int turns[] = {+1, -1, +1};
  double jd = 0;  // the station of the point before
  double hzBefore = 0;
  for (std::size_t i = 1; i + 1 < rows.size(); ++i) {
    const HandCurve& c = d.curves[i - 1];
    const CurvePointRow& r = rows[i];
    SCOPED_TRACE(r.name);
    const double distance = std::hypot(d.points[i].x - d.points[i - 1].x, d.points[i].y - d.points[i - 1].y);
    jd += distance - (i > 1 ? rows[i - 1].correction : 0);
    EXPECT_EQ(r.turn, turns[i - 1]);
    EXPECT_NEAR(r.deflection, c.alpha, 1e-9);
    EXPECT_NEAR(r.x, d.points[i].x, 1e-9);
    EXPECT_NEAR(r.radius, c.R, 1e-9);
    EXPECT_NEAR(r.spiralIn, c.ls1, 1e-9);
    EXPECT_NEAR(r.spiralOut, c.ls2, 1e-9);
    EXPECT_NEAR(r.tangentIn, c.t1(), kTol);
    EXPECT_NEAR(r.tangentOut, c.t2(), kTol);
    EXPECT_NEAR(r.curveLength, c.length(), kTol);
    EXPECT_NEAR(r.correction, c.t1() + c.t2() - c.length(), 2 * kTol);
    if (c.ls1 == c.ls2) {
      EXPECT_NEAR(r.external, c.external(), kTol);
    }
    EXPECT_NEAR(r.station, jd, 2 * kTol);
    ASSERT_TRUE(r.zh && r.hy && r.qz && r.yh && r.hz);
    EXPECT_NEAR(*r.zh, jd - c.t1(), 2 * kTol);
    EXPECT_NEAR(*r.hy, *r.zh + c.ls1, 2 * kTol);
    EXPECT_NEAR(*r.yh, *r.hz - c.ls2, 2 * kTol);
    EXPECT_NEAR(*r.hz, *r.zh + c.length(), 2 * kTol);
    EXPECT_NEAR(*r.qz, (*r.hy + *r.yh) / 2, 2 * kTol);
    EXPECT_EQ(r.hasSpirals, c.ls1 > 0);
    // The straight before this curve, as the row before gives it.
    EXPECT_NEAR(*rows[i - 1].straightToNext, *r.zh - hzBefore, 2 * kTol);
    hzBefore = *r.hz;
    const double next = std::hypot(d.points[i + 1].x - d.points[i].x, d.points[i + 1].y - d.points[i].y);
    EXPECT_NEAR(r.distanceToNext, next, 1e-9);
    EXPECT_NEAR(r.azimuthAhead, d.azimuths[i] * kDeg, 1e-12);
  }
  // Two curves with no straight between them.
  EXPECT_NEAR(*rows[2].straightToNext, 0, 1e-3);
  // The end: the road's length.
  EXPECT_NEAR(rows.back().station, design.endMileage(), 1e-9);
  EXPECT_FALSE(rows.back().straightToNext);
}

TEST(CurveElementsTable, CellsShowSidesMainPointsAndBrokenChains) {
  // A short chain after the first curve skips 50 m of displayed stations.
  Scisson_Data chain;
  chain.Type = 1;
  chain.Length = 50;
  chain.Before_mileage = 1600;
  chain.After_mileage = 1650;
  Design d({chain});
  CRoadDesign design;
  std::string error;
  ASSERT_TRUE(loadRoadAlignment(d.road, "two-lane", design, error)) << error;
  Design plain;
  CRoadDesign plainDesign;
  ASSERT_TRUE(loadRoadAlignment(plain.road, "two-lane", plainDesign, error)) << error;
  std::vector<CurvePointRow> rows, plainRows;
  ASSERT_TRUE(curvePointRows(d.road.crossPoints, design, rows, error)) << error;
  ASSERT_TRUE(curvePointRows(plain.road.crossPoints, plainDesign, plainRows, error)) << error;
  EXPECT_NEAR(rows[1].station, plainRows[1].station, 1e-9);  // before the chain
  EXPECT_NEAR(rows[2].station, plainRows[2].station + 50, 1e-9);
  EXPECT_NEAR(*rows[3].hz, *plainRows[3].hz + 50, 1e-9);

  const DesignTable t = curvePointTable(rows);
  ASSERT_EQ(t.rows.size(), 5u);
  ASSERT_EQ(t.columns.size(), 22u);
  for (const auto& row : t.rows) ASSERT_EQ(row.size(), t.columns.size());
  // Left and right deflections in their own columns, in d°m′s″.
  EXPECT_EQ(t.rows[1][5].text, "40°00′00.0″");
  EXPECT_EQ(t.rows[1][4].text, "");
  EXPECT_EQ(t.rows[2][4].text, "30°00′00.0″");
  EXPECT_EQ(t.rows[2][5].text, "");
  // Without spirals: ZY, QZ, YZ only.
  EXPECT_FALSE(t.rows[2][14].text.empty());
  EXPECT_EQ(t.rows[2][15].text, "");
  EXPECT_EQ(t.rows[2][17].text, "");
  // The station shown with the chain, the plain number in CSV.
  EXPECT_EQ(t.rows[2][3].text, formatChainStation(rows[2].station, 4));
  EXPECT_EQ(t.rows[2][3].csv(), formatFixed(rows[2].station, 4));
  // The ends carry no curve figures.
  EXPECT_EQ(t.rows[0][6].text, "");
  EXPECT_EQ(t.rows[4][19].text, "");
}

TEST(ElementTable, AHairpinTurnsMoreThanHalfARound) {
  // A line north, then an arc of R 50 turning left through 200°, then a line.
  RoadDataSet road;
  road.FlatcurveType = kFlatcurveElements;
  Road_Element e;
  e.Type = 1;
  road.elements.append(e);
  e.Type = 2;
  e.Length = 100;
  road.elements.append(e);
  e.Type = 3;
  e.Length = 50 * 200 * kDeg;
  e.Radius = -50;
  road.elements.append(e);
  e.Type = 2;
  e.Length = 100;
  e.Radius = 0;
  road.elements.append(e);
  CRoadDesign design;
  std::string error;
  ASSERT_TRUE(loadRoadAlignment(road, "hairpin", design, error)) << error;
  const std::vector<ElementRow> rows = elementRows(design);
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[1].kind, 3);
  ASSERT_TRUE(rows[1].startRadius);
  EXPECT_NEAR(*rows[1].startRadius, -50, 1e-9);
  EXPECT_NEAR(rows[1].startStation, 100, 1e-9);
  EXPECT_NEAR(rows[1].endStation, 100 + 50 * 200 * kDeg, 1e-6);  // lengths kept to 4 decimals
  // 200° left of north is 160° east of north.
  EXPECT_NEAR(rows[1].endAzimuth, 160 * kDeg, 1e-8);
  const DesignTable t = elementTable(rows);
  EXPECT_EQ(t.rows[1][7].text, "160°00′00.0″");
  EXPECT_EQ(t.rows[0][5].text, "");  // a line's radius is infinite
}

struct StationCase {
  double station;
  int decimals;
  const char* text;
};

TEST(TableCells, StationsAnglesAndNumbers) {
  const StationCase cases[] = {
      {1234.5678, 3, "K1+234.568"}, {999.9996, 3, "K1+000.000"}, {-12, 3, "-K0+012.000"},
      {0, 4, "K0+000.0000"},        {12345.6, 1, "K12+345.6"},  {5.25, 0, "K0+005"},
  };
  for (const StationCase& c : cases) EXPECT_EQ(formatChainStation(c.station, c.decimals), c.text) << c.station;
  EXPECT_EQ(formatChainStation(std::nan(""), 3), "");
  EXPECT_EQ(stationCell(1234.5, 4).csv(), "1234.5000");
  // Seconds that round to 60 carry into the minute and the degree.
  EXPECT_EQ(angleCell((59 + 59.0 / 60 + 59.97 / 3600) * kDeg).text, "60°00′00.0″");
  EXPECT_EQ(angleCell(12.5 * kDeg).text, "12°30′00.0″");
  EXPECT_EQ(angleCell(12.5 * kDeg).csv(), "12.50000000");
  EXPECT_EQ(numberCell(-0.00001, 3).text, "0.000");
  EXPECT_EQ(numberCell(std::nullopt, 3).text, "");
}

TEST(TableCsv, ByteOrderMarkHeaderQuotingAndKeys) {
  DesignTable t;
  t.columns = {{"A", {}}, {"B", "lane"}};
  t.rows = {{{"1,5", {}, false}, {"K0+001.000", "1.000", false}}, {{"say \"x\"", {}, false}, {"IDS_TVAL_arc", {}, true}}};
  const std::string csv = tableCsv(t, [](const std::string& k) { return k == "IDS_TVAL_arc" ? "Arc" : "t" + k; });
  EXPECT_EQ(csv, "\xEF\xBB\xBFtA,tB lane\r\n\"1,5\",1.000\r\n\"say \"\"x\"\"\",Arc\r\n");
}

}  // namespace
}  // namespace trazmark
