// The four element geometries: known answers, symmetry, and agreement of every
// spiral with an independent numerical integration of its tangent.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

#include "alignment/XHuanQu.h"
#include "alignment/XLine.h"
#include "alignment/XLuoXuan.h"
#include "alignment/XYuan.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;

double angleDiff(double a, double b) {
  double d = std::fmod(a - b, 2 * kPi);
  if (d > kPi) d -= 2 * kPi;
  if (d < -kPi) d += 2 * kPi;
  return std::fabs(d);
}

// Integrates cos and sin of the tangent angle a0 + k0·t + rate·t²/2 by
// composite Simpson with n intervals: the reference for every spiral.
StationPoint simpson(double x0, double y0, double a0, double k0, double rate, double s, double d,
                     int n = 2000) {
  const double h = s / n;
  double sx = 0;
  double sy = 0;
  for (int i = 0; i <= n; ++i) {
    const double t = i * h;
    const double a = a0 + k0 * t + 0.5 * rate * t * t;
    const double w = (i == 0 || i == n) ? 1 : (i % 2 ? 4 : 2);
    sx += w * std::cos(a);
    sy += w * std::sin(a);
  }
  const double a = a0 + k0 * s + 0.5 * rate * s * s;
  return {x0 + sx * h / 3 - d * std::sin(a), y0 + sy * h / 3 + d * std::cos(a), a};
}

TEST(CXYuanTest, QuarterAndFullCircles) {
  struct Case {
    const char* name;
    double radius, length, x, y, azimuth;
  };
  const Case cases[] = {
      {"right quarter", 100, 50 * kPi, 100, 100, kPi / 2},
      {"left quarter", -100, 50 * kPi, 100, -100, 1.5 * kPi},
      {"right full circle reports 2pi", 100, 200 * kPi, 0, 0, 2 * kPi},
      {"left full circle reports 2pi", -100, 200 * kPi, 0, 0, 2 * kPi},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CXYuan arc;
    ASSERT_TRUE(arc.define(0, 0, 0, c.length, c.radius));
    const auto p = arc.pointAt(c.length, 0);
    ASSERT_TRUE(p);
    EXPECT_NEAR(p->x, c.x, 1e-9);
    EXPECT_NEAR(p->y, c.y, 1e-9);
    EXPECT_NEAR(p->azimuth, c.azimuth, 1e-12);
  }
  CXYuan right;
  ASSERT_TRUE(right.define(0, 0, 0, 50 * kPi, 100));
  EXPECT_DOUBLE_EQ(right.centreX, 0);
  EXPECT_DOUBLE_EQ(right.centreY, 100);
  right.pointAt(50 * kPi, 0);
  EXPECT_NEAR(right.startPolarAngle, 1.5 * kPi, 1e-12);
  EXPECT_NEAR(right.endPolarAngle, 0, 1e-12);
  EXPECT_FALSE(right.overHalfCircle);
}

TEST(CXYuanTest, AzimuthZeroIsReportedAsTwoPi) {
  // A left arc starting north-east turning back to north ends on azimuth 0.
  CXYuan arc;
  ASSERT_TRUE(arc.define(0, 0, kPi / 2, 50 * kPi, -100));
  EXPECT_DOUBLE_EQ(arc.pointAt(50 * kPi, 0)->azimuth, 2 * kPi);
  EXPECT_TRUE(arc.overHalfCircle == false);
  CXLine line;
  ASSERT_TRUE(line.define(0, 0, 0, 10));
  EXPECT_EQ(line.pointAt(5, 0)->azimuth, 0.0);
}

TEST(CXYuanTest, RejectsUndefinedArcs) {
  CXYuan arc;
  EXPECT_FALSE(arc.define(0, 0, 0, 10, 0));
  EXPECT_FALSE(arc.define(0, 0, 0, 10, 1e-7));
  EXPECT_FALSE(arc.define(0, 0, 0, 10, std::nan("")));
  EXPECT_FALSE(arc.define(0, 0, std::numeric_limits<double>::infinity(), 10, 100));
  EXPECT_FALSE(arc.pointAt(1, 0));
}

// Positive offsets lie right of the direction of travel for every kind and hand.
TEST(GeometryTest, PositiveOffsetsLieRightOfTravel) {
  const double a0 = 0.4;
  auto checkRight = [](std::optional<StationPoint> centre, std::optional<StationPoint> off) {
    ASSERT_TRUE(centre && off);
    const double dx = off->x - centre->x;
    const double dy = off->y - centre->y;
    // Component along the right normal (-sin A, cos A) must be +2.
    EXPECT_NEAR(-dx * std::sin(centre->azimuth) + dy * std::cos(centre->azimuth), 2.0, 1e-9);
    EXPECT_NEAR(dx * std::cos(centre->azimuth) + dy * std::sin(centre->azimuth), 0.0, 1e-9);
  };
  CXLine line;
  line.define(10, 20, a0, 50);
  checkRight(line.pointAt(30, 0), line.pointAt(30, 2));
  for (double r : {300.0, -300.0}) {
    SCOPED_TRACE(r);
    CXYuan arc;
    ASSERT_TRUE(arc.define(10, 20, a0, 80, r));
    checkRight(arc.pointAt(30, 0), arc.pointAt(30, 2));
    for (bool entering : {true, false}) {
      CXHuanQu spiral;
      ASSERT_TRUE(spiral.define(10, 20, a0, 80, r, entering));
      checkRight(spiral.pointAt(30, 0), spiral.pointAt(30, 2));
    }
    for (double r2 : {r * 0.5, r * 2, -r}) {
      CXLuoXuan egg;
      ASSERT_TRUE(egg.define(10, 20, a0, 80, r, r2));
      checkRight(egg.pointAt(30, 0), egg.pointAt(30, 2));
    }
  }
}

// A left spiral is the right one reflected across the start tangent.
TEST(SpiralTest, LeftSpiralMirrorsRightAcrossStartTangent) {
  const double x0 = 1000, y0 = 2000, a0 = 2.2;
  const double ex = std::cos(a0), ey = std::sin(a0);
  auto reflect = [&](const StationPoint& p) {
    const double vx = p.x - x0, vy = p.y - y0;
    const double along = vx * ex + vy * ey;
    return StationPoint{x0 + 2 * along * ex - vx, y0 + 2 * along * ey - vy, 2 * a0 - p.azimuth};
  };
  auto compare = [&](std::optional<StationPoint> right, std::optional<StationPoint> left) {
    ASSERT_TRUE(right && left);
    const StationPoint m = reflect(*right);
    EXPECT_NEAR(m.x, left->x, 1e-9);
    EXPECT_NEAR(m.y, left->y, 1e-9);
    EXPECT_LT(angleDiff(m.azimuth, left->azimuth), 1e-12);
  };
  for (double s : {0.0, 25.0, 60.0, 120.0}) {
    SCOPED_TRACE(s);
    for (bool entering : {true, false}) {
      CXHuanQu right, left;
      ASSERT_TRUE(right.define(x0, y0, a0, 120, 250, entering));
      ASSERT_TRUE(left.define(x0, y0, a0, 120, -250, entering));
      compare(right.pointAt(s, 0), left.pointAt(s, 0));
      compare(right.pointAt(s, 3), left.pointAt(s, -3));
    }
    for (auto [r1, r2] : {std::pair{1000.0, 500.0}, {500.0, 1000.0}, {200.0, 190.0}}) {
      CXLuoXuan right, left;
      ASSERT_TRUE(right.define(x0, y0, a0, 120, r1, r2));
      ASSERT_TRUE(left.define(x0, y0, a0, 120, -r1, -r2));
      compare(right.pointAt(s, 0), left.pointAt(s, 0));
      compare(right.pointAt(s, 3), left.pointAt(s, -3));
    }
  }
}

TEST(CXHuanQuTest, ExitingSpiralStartsOnItsStartPoint) {
  for (double r : {400.0, -400.0}) {
    SCOPED_TRACE(r);
    CXHuanQu spiral;
    ASSERT_TRUE(spiral.define(500, 700, 1.1, 90, r, false));
    EXPECT_TRUE(spiral.seriesExact);
    const auto start = spiral.pointAt(0, 0);
    ASSERT_TRUE(start);
    EXPECT_NEAR(start->x, 500, 1e-9);
    EXPECT_NEAR(start->y, 700, 1e-9);
    EXPECT_NEAR(start->azimuth, 1.1, 1e-12);
    const double turn = 90 / (2 * std::fabs(r));
    EXPECT_NEAR(spiral.pointAt(90, 0)->azimuth, r > 0 ? 1.1 + turn : 1.1 - turn, 1e-12);
    if (r < 0) {
      // The end point of an exiting spiral is its clothoid origin (for a right
      // spiral the origin is given in the mirrored frame of the series).
      EXPECT_NEAR(spiral.pointAt(90, 0)->x, spiral.originX, 1e-9);
      EXPECT_NEAR(spiral.pointAt(90, 0)->y, spiral.originY, 1e-9);
    }
  }
}

TEST(CXLuoXuanTest, ParameterAndReverseTraversal) {
  CXLuoXuan forward;
  ASSERT_TRUE(forward.define(0, 0, 0.3, 100, 1000, 500));
  EXPECT_DOUBLE_EQ(forward.clothoidParameterSquared, 100000);
  EXPECT_DOUBLE_EQ(forward.l1, 100);
  EXPECT_TRUE(forward.increasing);
  const auto end = forward.pointAt(100, 0);
  ASSERT_TRUE(end);
  // Swapped radii from the end, facing back: the same clothoid run backwards.
  CXLuoXuan back;
  ASSERT_TRUE(back.define(end->x, end->y, end->azimuth + kPi, 100, -500, -1000));
  EXPECT_DOUBLE_EQ(back.clothoidParameterSquared, 100000);
  EXPECT_DOUBLE_EQ(back.l1, 200);
  EXPECT_FALSE(back.increasing);
  for (double s : {0.0, 30.0, 70.0, 100.0}) {
    const auto p = forward.pointAt(s, 1.5);
    const auto q = back.pointAt(100 - s, -1.5);
    ASSERT_TRUE(p && q);
    EXPECT_NEAR(p->x, q->x, 1e-9);
    EXPECT_NEAR(p->y, q->y, 1e-9);
    EXPECT_LT(angleDiff(p->azimuth + kPi, q->azimuth), 1e-12);
  }
}

// Every spiral agrees with a Simpson integration of its tangent, including egg
// spirals far from their clothoid origin, long sharp spirals and S-bends.
TEST(SpiralTest, AgreesWithNumericalIntegration) {
  struct Case {
    double length, r1, r2;  // 0 = infinite radius
  };
  const Case cases[] = {
      {100, 0, 500},    {100, 500, 0},   {150, 0, -100},    {250, 0, 100},    {250, -100, 0},
      {250, 0, 1000},   {30, 0, 100},    {100, 1000, 500},  {100, 500, 1000}, {100, 200, 190},
      {100, 190, 200},  {150, 250, 200}, {150, -250, -200}, {250, 100, 120},  {120, 300, -300},
      {150, -200, 400}, {200, 1e5, 100}, {250, -100, 101},
  };
  const double x0 = 3.5e6, y0 = 5.0e5, a0 = 5.9;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.length << " m from " << c.r1 << " to " << c.r2);
    const double k1 = c.r1 == 0 ? 0 : 1 / c.r1;
    const double k2 = c.r2 == 0 ? 0 : 1 / c.r2;
    const double rate = (k2 - k1) / c.length;
    CXHuanQu huanQu;
    CXLuoXuan luoXuan;
    if (c.r1 == 0) {
      ASSERT_TRUE(huanQu.define(x0, y0, a0, c.length, c.r2, true));
    } else if (c.r2 == 0) {
      ASSERT_TRUE(huanQu.define(x0, y0, a0, c.length, c.r1, false));
    } else {
      ASSERT_TRUE(luoXuan.define(x0, y0, a0, c.length, c.r1, c.r2));
    }
    for (double f : {0.0, 0.2, 0.5, 0.9, 1.0}) {
      for (double d : {0.0, -7.5}) {
        const double s = f * c.length;
        const auto p = huanQu.valid ? huanQu.pointAt(s, d) : luoXuan.pointAt(s, d);
        ASSERT_TRUE(p);
        const StationPoint ref = simpson(x0, y0, a0, k1, rate, s, d);
        EXPECT_NEAR(p->x, ref.x, 1e-6) << "s=" << s << " d=" << d;
        EXPECT_NEAR(p->y, ref.y, 1e-6) << "s=" << s << " d=" << d;
        EXPECT_LT(angleDiff(p->azimuth, ref.azimuth), 1e-9) << "s=" << s;
        EXPECT_GE(p->azimuth, 0);
        EXPECT_LE(p->azimuth, 2 * kPi);
      }
    }
  }
}

TEST(SpiralTest, TypicalSpiralsUseTheSeries) {
  CXHuanQu spiral;
  ASSERT_TRUE(spiral.define(0, 0, 0, 100, 500, true));
  EXPECT_TRUE(spiral.seriesExact);
  CXLuoXuan egg;
  ASSERT_TRUE(egg.define(0, 0, 0, 100, 1000, 500));
  EXPECT_TRUE(egg.seriesExact);
  ASSERT_TRUE(egg.define(0, 0, 0, 100, 200, 190));
  EXPECT_FALSE(egg.seriesExact);
}

TEST(SpiralTest, RejectsUndefinedSpirals) {
  const double nan = std::nan("");
  const double inf = std::numeric_limits<double>::infinity();
  CXHuanQu h;
  EXPECT_FALSE(h.define(0, 0, 0, 100, 0, true));
  EXPECT_FALSE(h.define(0, 0, 0, 100, 5e-5, true));
  EXPECT_FALSE(h.define(0, 0, 0, 0, 100, true));
  EXPECT_FALSE(h.define(0, 0, 0, nan, 100, true));
  EXPECT_FALSE(h.define(0, 0, 0, 100, inf, false));
  EXPECT_FALSE(h.define(nan, 0, 0, 100, 100, false));
  EXPECT_FALSE(h.define(0, 0, 0, 1e300, 100, false));  // would wind round forever
  EXPECT_FALSE(h.pointAt(10, 0));
  CXLuoXuan e;
  EXPECT_FALSE(e.define(0, 0, 0, 100, 500, 500.0005));
  EXPECT_FALSE(e.define(0, 0, 0, 100, 0, 500));
  EXPECT_FALSE(e.define(0, 0, 0, 100, 500, nan));
  EXPECT_FALSE(e.define(0, 0, 0, 100, 1e308, -1e308));
  EXPECT_FALSE(e.define(0, 0, 0, 1e300, 500, 400));
  EXPECT_FALSE(e.pointAt(10, 0));
  // Equal radii of opposite hands are an S-bend, not a division by zero.
  ASSERT_TRUE(e.define(0, 0, 0, 100, 200, -200));
  EXPECT_TRUE(e.sBend);
  EXPECT_DOUBLE_EQ(e.clothoidParameterSquared, 10000);
  const auto mid = e.pointAt(50, 0);
  ASSERT_TRUE(mid);
  EXPECT_NEAR(mid->x, e.originX, 1e-9);
  EXPECT_NEAR(mid->y, e.originY, 1e-9);
  // Far outside its range a spiral fails rather than loop or return garbage.
  EXPECT_FALSE(e.pointAt(1e9, 0));
  const auto huge = e.pointAt(1e4, 0);
  if (huge) {
    EXPECT_TRUE(std::isfinite(huge->x) && std::isfinite(huge->y));
  }
}

}  // namespace
}  // namespace trazmark
