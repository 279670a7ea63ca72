#include "vertical/VerticalCurveCal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

namespace trazmark {
namespace {

CVerticalCurveCal gradePoint(double mileage, double high, double i1, double i2, double radius,
                             int mode, double curveL = 0, double in = 0, double out = 0) {
  CVerticalCurveCal p;
  p.Mileage = mileage;
  p.High = high;
  p.I1 = i1;
  p.I2 = i2;
  p.Radius = radius;
  p.CalMode = mode;
  p.CurveL = curveL;
  p.InLength = in;
  p.OutLength = out;
  return p;
}

double elevation(const CVerticalCurveCal& p, double x) {
  double e = std::numeric_limits<double>::quiet_NaN();
  EXPECT_TRUE(elevationAt(p, x, e)) << "at " << x;
  return e;
}

double slope(const CVerticalCurveCal& p, double x) {
  const double h = 1e-4;
  return (elevation(p, x + h) - elevation(p, x - h)) / (2 * h);
}

// Every curve must meet its grade lines at both ends without a step or a
// kink, and lie on the right side of both grade lines between them: below on
// a crest, above in a sag.
void expectCurveJoinsGrades(const CVerticalCurveCal& p) {
  const double i1 = p.I1 / 100, i2 = p.I2 / 100;
  const double bvc = p.calc1, evc = p.calc3;
  const double eps = 1e-9;
  EXPECT_NEAR(elevation(p, bvc - eps), elevation(p, bvc + eps), 1e-6);
  EXPECT_NEAR(elevation(p, evc - eps), elevation(p, evc + eps), 1e-6);
  EXPECT_NEAR(elevation(p, bvc), p.High - i1 * (p.Mileage - bvc), 1e-6);
  EXPECT_NEAR(elevation(p, evc), p.High + i2 * (evc - p.Mileage), 1e-6);
  EXPECT_NEAR(slope(p, bvc + 1e-3), i1, 1e-5);
  EXPECT_NEAR(slope(p, evc - 1e-3), i2, 1e-5);
  EXPECT_NEAR(slope(p, bvc - 5), i1, 1e-9);
  EXPECT_NEAR(slope(p, evc + 5), i2, 1e-9);
  for (int k = 1; k < 20; ++k) {
    const double x = bvc + (evc - bvc) * k / 20;
    const double grade1 = p.High + i1 * (x - p.Mileage);
    const double grade2 = p.High + i2 * (x - p.Mileage);
    const double e = elevation(p, x);
    if (p.calcFlag > 0) {
      EXPECT_LT(e, std::min(grade1, grade2) + 1e-9) << x;
    } else {
      EXPECT_GT(e, std::max(grade1, grade2) - 1e-9) << x;
    }
  }
}

struct CurveCase {
  const char* name;
  double i1, i2;  // percent
  int flag;
};

const CurveCase kCrestAndSag[] = {
    {"crest +2% to -3%", 2, -3, +1},
    {"sag -3% to +2%", -3, 2, -1},
    {"crest on a rising road", 4, 1, +1},
};

TEST(VerticalCurve, CircleOfRadius2000) {
  for (const auto& c : kCrestAndSag) {
    SCOPED_TRACE(c.name);
    CVerticalCurveCal p = gradePoint(1000, 100, c.i1, c.i2, 2000, 0);
    ASSERT_TRUE(setupVerticalCurve(p));
    EXPECT_EQ(p.calcFlag, c.flag);
    const double t1 = std::atan(c.i1 / 100), t2 = std::atan(c.i2 / 100);
    const double tangent = 2000 * std::tan(std::fabs(t1 - t2) / 2);
    EXPECT_NEAR(p.calc1, 1000 - tangent * std::cos(t1), 1e-9);
    EXPECT_NEAR(p.calc3, 1000 + tangent * std::cos(t2), 1e-9);
    // The circle is a radius from every point of the curve.
    EXPECT_NEAR(std::hypot(p.calc1 - p.calc5, p.calc2 - p.calc6), 2000, 1e-6);
    EXPECT_NEAR(std::hypot(p.calc3 - p.calc5, p.calc4 - p.calc6), 2000, 1e-6);
    expectCurveJoinsGrades(p);
    // The external distance of a flat curve is close to the parabola's T²/2R.
    EXPECT_NEAR(elevation(p, 1000), 100 - c.flag * tangent * tangent / 4000, 2e-3);
  }
  CVerticalCurveCal crest = gradePoint(1000, 100, 2, -3, 2000, 0);
  setupVerticalCurve(crest);
  // T = 2000·tan(|atan 0.02 − atan(−0.03)|/2) ≈ 50.0, measured along the grades.
  EXPECT_NEAR(std::hypot(crest.calc3 - 1000, crest.calc4 - 100), 50.0, 0.01);
  EXPECT_NEAR(std::hypot(crest.calc1 - 1000, crest.calc2 - 100), 50.0, 0.01);
}

TEST(VerticalCurve, SymmetricParabolaWithLength100) {
  for (const auto& c : kCrestAndSag) {
    SCOPED_TRACE(c.name);
    // A length that matches the radius: L = R·|i1 - i2|.
    const double length = 2000 * std::fabs(c.i1 - c.i2) / 100;
    CVerticalCurveCal p = gradePoint(1000, 100, c.i1, c.i2, 2000, 1, length);
    ASSERT_TRUE(setupVerticalCurve(p));
    EXPECT_EQ(p.calcFlag, c.flag);
    EXPECT_DOUBLE_EQ(p.calc1, 1000 - length / 2);
    EXPECT_DOUBLE_EQ(p.calc3, 1000 + length / 2);
    expectCurveJoinsGrades(p);
    EXPECT_NEAR(elevation(p, 1000), 100 - c.flag * length * length / 4 / 4000, 1e-9);
  }
  CVerticalCurveCal crest = gradePoint(1000, 100, 2, -3, 2000, 1, 100);
  setupVerticalCurve(crest);
  EXPECT_DOUBLE_EQ(crest.calc1, 950);
  EXPECT_NEAR(elevation(crest, 1000), 100 - 50.0 * 50.0 / 4000, 1e-12);
}

// A symmetric parabola is given by its length: whatever radius is stored
// (none, or one another program wrote), it meets both grades at its ends.
TEST(VerticalCurve, SymmetricParabolaTakesItsCurveFromItsLength) {
  for (double storedRadius : {0.0, 500.0, 2000.0, 9000.0}) {
    SCOPED_TRACE(storedRadius);
    CVerticalCurveCal p = gradePoint(1000, 100, 2, -3, storedRadius, 1, 100);
    ASSERT_TRUE(setupVerticalCurve(p));
    expectCurveJoinsGrades(p);
    // R = 100 / 0.05 = 2000: the middle lies T²/2R = 50²/4000 below the point.
    EXPECT_NEAR(elevation(p, 1000), 100 - 50.0 * 50.0 / 4000, 1e-12);
    EXPECT_EQ(p.Radius, storedRadius);
  }
}

TEST(VerticalCurve, AsymmetricParabola) {
  for (const auto& c : kCrestAndSag) {
    SCOPED_TRACE(c.name);
    CVerticalCurveCal p = gradePoint(1000, 100, c.i1, c.i2, 0, 2, 100, 40, 60);
    ASSERT_TRUE(setupVerticalCurve(p));
    EXPECT_EQ(p.calcFlag, c.flag);
    EXPECT_DOUBLE_EQ(p.calc1, 960);
    EXPECT_DOUBLE_EQ(p.calc3, 1060);
    EXPECT_NEAR(p.calc4, 100 + c.i2 / 100 * 60, 1e-12);
    expectCurveJoinsGrades(p);
    // The two parabolas meet at the grade point without a step or a kink.
    EXPECT_NEAR(elevation(p, 1000 - 1e-9), elevation(p, 1000 + 1e-9), 1e-8);
    EXPECT_NEAR(slope(p, 1000 - 1e-3), slope(p, 1000 + 1e-3), 1e-5);
  }
}

TEST(VerticalCurve, AsymmetricParabolaEndBeyondItsLengthByRounding) {
  // 1234.567 + 60.7 - (1234.567 - 12.7) exceeds 12.7 + 60.7 in doubles.
  CVerticalCurveCal p = gradePoint(1234.567, 50, 1.5, -2.5, 0, 2, 12.7 + 60.7, 12.7, 60.7);
  ASSERT_TRUE(setupVerticalCurve(p));
  ASSERT_GT(p.calc3 - p.calc1, p.CurveL);
  double e = -1;
  ASSERT_TRUE(elevationAt(p, p.calc3, e));
  EXPECT_DOUBLE_EQ(e, p.calc4);

  // A stored length a little short of InLength + OutLength: the end elevation too.
  p.CurveL = 73.3;
  ASSERT_TRUE(elevationAt(p, p.calc3 - 0.05, e));
  EXPECT_DOUBLE_EQ(e, p.calc4);
}

TEST(VerticalCurve, NoChangeOfGradeStaysOnTheGrade) {
  for (int mode : {0, 1}) {
    CVerticalCurveCal p = gradePoint(500, 20, 1.5, 1.5, 3000, mode, 0);
    ASSERT_TRUE(setupVerticalCurve(p));
    EXPECT_EQ(p.calcFlag, 0);
    EXPECT_DOUBLE_EQ(p.calc1, 500);
    EXPECT_DOUBLE_EQ(p.calc3, 500);
    EXPECT_NEAR(elevation(p, 500), 20, 1e-12);
    EXPECT_NEAR(elevation(p, 400), 18.5, 1e-12);
    EXPECT_NEAR(elevation(p, 600), 21.5, 1e-12);
  }
}

TEST(VerticalCurve, BadPointsFailInsteadOfGivingNumbers) {
  double e = 0;
  CVerticalCurveCal badMode = gradePoint(100, 10, 1, -1, 1000, 3);
  EXPECT_FALSE(setupVerticalCurve(badMode));
  EXPECT_DOUBLE_EQ(badMode.calc1, 100);
  EXPECT_DOUBLE_EQ(badMode.calc3, 100);
  EXPECT_FALSE(elevationAt(badMode, 100, e));

  CVerticalCurveCal negativeRadius = gradePoint(100, 10, 1, -1, -1000, 0);
  EXPECT_FALSE(setupVerticalCurve(negativeRadius));
  EXPECT_FALSE(elevationAt(negativeRadius, 100, e));

  CVerticalCurveCal nan = gradePoint(100, std::nan(""), 1, -1, 1000, 0);
  EXPECT_FALSE(setupVerticalCurve(nan));
  EXPECT_FALSE(elevationAt(nan, 100, e));

  // A parabola of no length is the grade point itself, whatever its radius.
  CVerticalCurveCal point = gradePoint(100, 10, 1, -1, 0, 1, 0);
  EXPECT_TRUE(setupVerticalCurve(point));
  EXPECT_TRUE(elevationAt(point, 100, e));
  EXPECT_DOUBLE_EQ(e, 10);
  EXPECT_TRUE(elevationAt(point, 50, e));
  EXPECT_NEAR(e, 9.5, 1e-12);

  CVerticalCurveCal good = gradePoint(100, 10, 1, -1, 1000, 0);
  setupVerticalCurve(good);
  EXPECT_FALSE(elevationAt(good, std::nan(""), e));
}

// Grade points (mileage, elevation, radius) as the editor holds them.
RecordList<CVerticalCurveCal> gradeLine() {
  RecordList<CVerticalCurveCal> points;
  points.append(gradePoint(0, 100, 0, 0, 0, 0));
  points.append(gradePoint(400, 108, 0, 0, 2000, 0));
  points.append(gradePoint(800, 96, 0, 0, 3000, 0));
  points.append(gradePoint(1200, 100, 0, 0, 0, 0));
  refreshGradePoints(points);
  setupVerticalCurves(points);
  return points;
}

TEST(GradeLine, RefreshGivesTheGradesToTheNeighbours) {
  RecordList<CVerticalCurveCal> points = gradeLine();
  EXPECT_EQ(points[0].I1, 0);
  EXPECT_EQ(points[0].I2, 0);
  EXPECT_NEAR(points[1].I1, 2, 1e-12);
  EXPECT_NEAR(points[1].I2, -3, 1e-12);
  EXPECT_NEAR(points[2].I1, -3, 1e-12);
  EXPECT_NEAR(points[2].I2, 1, 1e-12);
  EXPECT_EQ(points[3].I1, 0);
  EXPECT_EQ(points[3].I2, 0);
  EXPECT_NEAR(points[1].OutLength, 2000 * (std::atan(0.02) + std::atan(0.03)) / 2, 1e-9);

  // An asymmetric parabola keeps the length after its point; two points at
  // one mileage get a grade of 0 between them rather than an infinite one.
  points[1].CalMode = 2;
  points[1].OutLength = 35;
  points[2].Mileage = 400;
  refreshGradePoints(points);
  EXPECT_EQ(points[1].OutLength, 35);
  EXPECT_EQ(points[1].I2, 0);
  EXPECT_EQ(points[2].I1, 0);
  EXPECT_NEAR(points[2].I2, 0.5, 1e-12);
}

TEST(GradeLine, StationsAlongTheWholeLine) {
  const RecordList<CVerticalCurveCal> points = gradeLine();
  struct {
    double station, elevation;
    int index;
  } const cases[] = {
      {-100, 98, 0},    // the first grade runs back before the first point
      {0, 100, 0},
      {200, 104, 1},    // on the first grade
      {600, 102, 2},    // between the curves, on the second grade
      {1000, 98, 2},    // past the last curve, still on the last grade
      {1200, 100, 2},   // the last point itself
      {1300, 101, 2},   // and the grade runs on beyond it
  };
  for (const auto& c : cases) {
    double e = 0;
    EXPECT_EQ(gradePointIndexForStation(points, c.station), c.index) << c.station;
    ASSERT_TRUE(elevationOnGradeLine(points, c.station, e)) << c.station;
    EXPECT_NEAR(e, c.elevation, 1e-9) << c.station;
  }
  // On a curve the point of that curve answers, also at its very end.
  EXPECT_EQ(gradePointIndexForStation(points, 400), 1);
  EXPECT_EQ(gradePointIndexForStation(points, points[1].calc3), 1);
  EXPECT_EQ(gradePointIndexForStation(points, points[2].calc1), 2);
  // The grade line has no steps where it changes from one point to the next.
  for (double x : {points[1].calc3, points[2].calc3}) {
    double before = 0, after = 0;
    elevationOnGradeLine(points, x - 1e-9, before);
    elevationOnGradeLine(points, x + 1e-9, after);
    EXPECT_NEAR(before, after, 1e-6) << x;
  }
}

// The grade line for many stations answers exactly what the one-station
// query answers, everywhere along the line.
// The grade line passes through every grade point and runs straight between
// two points outside their curves, whatever the list's length; the ends keep
// the grades of 0 that the files hold for them.
TEST(GradeLine, PassesThroughEveryGradePoint) {
  struct Point {
    double mileage, elevation, radius;
    int mode;
    double curveL;
  };
  const std::vector<std::vector<Point>> lines = {
      {{1000, 100, 0, 0, 0}, {1800, 108, 0, 0, 0}},
      {{1000, 100, 0, 0, 0}, {1800, 108, 0, 0, 0}, {2600, 100, 0, 0, 0}},
      {{1000, 100, 0, 0, 0}, {1400, 108, 3000, 0, 0}, {1900, 98, 0, 1, 120}, {2500, 104, 0, 0, 0}},
      {{0, 50, 0, 1, 0}, {300, 56, 4000, 0, 0}, {700, 52, 2500, 0, 0}, {1100, 60, 0, 1, 80},
       {1500, 58, 5000, 0, 0}, {2000, 66, 0, 0, 0}},
  };
  for (const auto& line : lines) {
    SCOPED_TRACE(line.size());
    RecordList<CVerticalCurveCal> points;
    for (const Point& q : line)
      points.append(gradePoint(q.mileage, q.elevation, 0, 0, q.radius, q.mode, q.curveL));
    refreshGradePoints(points);
    setupVerticalCurves(points);
    ASSERT_EQ(points[0].I2, 0);  // as the files keep them
    const CGradeLine gradeLine(points);
    const std::size_t n = line.size();
    for (std::size_t i = 0; i < n; ++i) {
      double e = 0;
      // A point without a curve is on the line; the ends never have one.
      if (i == 0 || i + 1 == n || (line[i].radius == 0 && line[i].curveL == 0)) {
        ASSERT_TRUE(gradeLine.elevationAt(line[i].mileage, e));
        EXPECT_NEAR(e, line[i].elevation, 1e-9) << i;
      }
      if (i + 1 == n) break;
      // Halfway between two points lies outside both curves here: on the
      // straight grade joining them.
      const double mid = (line[i].mileage + line[i + 1].mileage) / 2;
      ASSERT_TRUE(elevationOnGradeLine(points, mid, e));
      EXPECT_NEAR(e, (line[i].elevation + line[i + 1].elevation) / 2, 1e-9) << mid;
    }
    // Beyond the ends the first and last grades run on.
    const double first = (line[1].elevation - line[0].elevation) / (line[1].mileage - line[0].mileage);
    const double last = (line[n - 1].elevation - line[n - 2].elevation) /
                        (line[n - 1].mileage - line[n - 2].mileage);
    double e = 0;
    ASSERT_TRUE(gradeLine.elevationAt(line[0].mileage - 50, e));
    EXPECT_NEAR(e, line[0].elevation - 50 * first, 1e-9);
    ASSERT_TRUE(gradeLine.elevationAt(line[n - 1].mileage + 50, e));
    EXPECT_NEAR(e, line[n - 1].elevation + 50 * last, 1e-9);
    // The profile's samples end on the last point.
    std::vector<GradeLineSample> samples;
    ASSERT_TRUE(sampleProfileLine(points, samples));
    ASSERT_FALSE(samples.empty());
    EXPECT_DOUBLE_EQ(samples.back().mileage, line[n - 1].mileage);
    EXPECT_NEAR(samples.back().elevation, line[n - 1].elevation, 1e-9);
  }
}

TEST(GradeLine, RefreshKeepsTheStoredRadius) {
  RecordList<CVerticalCurveCal> points;
  points.append(gradePoint(0, 100, 0, 0, 0, 0));
  points.append(gradePoint(500, 110, 0, 0, 1234.5, 1, 100));
  points.append(gradePoint(1000, 100, 0, 0, 0, 0));
  refreshGradePoints(points);
  EXPECT_EQ(points[1].Radius, 1234.5);
}

TEST(GradeLine, ManyStationsAgreeWithOneStation) {
  const RecordList<CVerticalCurveCal> points = gradeLine();
  const CGradeLine line(points);
  for (double x = -150; x <= 1350; x += 0.7) {
    double one = 0, many = 0;
    ASSERT_EQ(elevationOnGradeLine(points, x, one), line.elevationAt(x, many)) << x;
    EXPECT_EQ(one, many) << x;
  }
  double e = 0;
  EXPECT_FALSE(line.elevationAt(std::nan(""), e));
  EXPECT_FALSE(CGradeLine({}).elevationAt(10, e));
}

TEST(GradeLine, ShortAndEmptyLists) {
  double e = 0;
  RecordList<CVerticalCurveCal> none;
  EXPECT_FALSE(elevationOnGradeLine(none, 10, e));
  EXPECT_EQ(gradePointIndexForStation(none, 10), -1);

  RecordList<CVerticalCurveCal> one;
  one.append(gradePoint(50, 7, 0, 0, 100, 0));
  refreshGradePoints(one);
  setupVerticalCurves(one);
  for (double x : {-10.0, 50.0, 500.0}) {
    ASSERT_TRUE(elevationOnGradeLine(one, x, e));
    EXPECT_DOUBLE_EQ(e, 7);
  }
  EXPECT_FALSE(elevationOnGradeLine(one, std::nan(""), e));
}

TEST(GradeLine, SamplesEvery20Metres) {
  RecordList<CVerticalCurveCal> points;
  points.append(gradePoint(0, 100, 0, 0, 0, 0));
  points.append(gradePoint(500, 110, 0, 0, 4000, 0));
  points.append(gradePoint(1000, 100, 0, 0, 0, 0));
  refreshGradePoints(points);
  setupVerticalCurves(points);
  std::vector<GradeLineSample> samples;
  ASSERT_TRUE(sampleGradeLine(points, 20, samples));
  ASSERT_EQ(samples.size(), 50u);
  EXPECT_DOUBLE_EQ(samples.front().mileage, 0);
  EXPECT_DOUBLE_EQ(samples.back().mileage, 980);
  EXPECT_NEAR(samples[10].elevation, 104, 1e-9);
  EXPECT_NEAR(samples.back().elevation, 100.4, 1e-9);

  EXPECT_FALSE(sampleGradeLine(points, 0, samples));
  EXPECT_FALSE(sampleGradeLine(points, -20, samples));
  EXPECT_FALSE(sampleGradeLine(points, std::nan(""), samples));
  EXPECT_FALSE(sampleGradeLine(points, 1e-9, samples));  // too many stations
  EXPECT_TRUE(samples.empty());
}

}  // namespace
}  // namespace trazmark
