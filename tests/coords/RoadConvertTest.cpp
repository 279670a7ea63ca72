#include "coords/RoadConvert.h"

#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

void addPair(CRoadConvert& t, double x, double y, double tx, double ty) {
  Road_convertfour p;
  p.sourceX = x;
  p.sourceY = y;
  p.targetX = tx;
  p.targetY = ty;
  t.pairs.push_back(p);
}

TEST(RoadConvert, TwoPairsGiveQuarterTurnAndShift) {
  CRoadConvert t;
  addPair(t, 0, 0, 10, 20);
  addPair(t, 1, 0, 10, 21);
  ASSERT_TRUE(t.fit());
  EXPECT_NEAR(t.rotation(), kPi / 2, 1e-12);
  EXPECT_NEAR(t.scale(), 1.0, 1e-12);
  double x = 2, y = 0;
  ASSERT_TRUE(t.forward(x, y));
  EXPECT_NEAR(x, 10, 1e-12);
  EXPECT_NEAR(y, 22, 1e-12);
  ASSERT_TRUE(t.inverse(x, y));
  EXPECT_NEAR(x, 2, 1e-12);
  EXPECT_NEAR(y, 0, 1e-12);
  // The fit leaves the centred working values in the pairs.
  EXPECT_DOUBLE_EQ(t.pairs[0].sourceDx, -0.5);
  EXPECT_DOUBLE_EQ(t.pairs[1].targetDy, 0.5);
}

TEST(RoadConvert, LeastSquaresRecoversScaleRotationAndShiftOfManyPairs) {
  const double s = 1.25, theta = 0.7, tx = -300.5, ty = 4200.25;
  CRoadConvert t;
  for (int i = 0; i < 7; ++i) {
    const double x = 37.0 * i - 80, y = 11.0 * i * i - 5;
    addPair(t, x, y, tx + s * (x * std::cos(theta) - y * std::sin(theta)),
            ty + s * (x * std::sin(theta) + y * std::cos(theta)));
  }
  ASSERT_TRUE(t.fit());
  EXPECT_NEAR(t.scale(), s, 1e-12);
  EXPECT_NEAR(t.rotation(), theta, 1e-12);
  EXPECT_NEAR(t.shiftX(), tx, 1e-9);
  EXPECT_NEAR(t.shiftY(), ty, 1e-9);
}

TEST(RoadConvert, SingleSourcePointGivesIdentityNotShift) {
  CRoadConvert t;
  addPair(t, 5, 6, 100, 200);
  ASSERT_TRUE(t.fit());
  EXPECT_EQ(t.scale(), 1.0);
  EXPECT_EQ(t.rotation(), 0.0);
  EXPECT_EQ(t.shiftX(), 0.0);
  EXPECT_EQ(t.shiftY(), 0.0);
}

TEST(RoadConvert, FitsThatCannotBeInvertedFailAndKeepTheTransform) {
  CRoadConvert none;
  EXPECT_FALSE(none.fit());

  CRoadConvert t;
  addPair(t, 0, 0, 10, 20);
  addPair(t, 1, 0, 10, 21);
  ASSERT_TRUE(t.fit());
  // Every target point equal: the scale would be 0 and inverse divide by it.
  t.pairs.clear();
  addPair(t, 0, 0, 7, 7);
  addPair(t, 3, 4, 7, 7);
  EXPECT_FALSE(t.fit());
  EXPECT_NEAR(t.rotation(), kPi / 2, 1e-12);
  double x = 10, y = 22;
  ASSERT_TRUE(t.inverse(x, y));
  EXPECT_NEAR(x, 2, 1e-12);

  for (double bad : {kNaN, kInf, -kInf}) {
    CRoadConvert u;
    addPair(u, 0, 0, 10, 20);
    addPair(u, bad, 0, 10, 21);
    EXPECT_FALSE(u.fit());
    CRoadConvert w;
    addPair(w, 0, 0, 10, 20);
    addPair(w, 1, 0, 10, bad);
    EXPECT_FALSE(w.fit());
  }
  // Coordinates whose products overflow.
  CRoadConvert huge;
  addPair(huge, 0, 0, 0, 0);
  addPair(huge, 1e300, 0, 1e300, 0);
  EXPECT_FALSE(huge.fit());
}

TEST(RoadConvert, ANewTransformIsTheIdentityAndNeverMakesNonFiniteValues) {
  CRoadConvert t;
  double x = 3, y = 4;
  ASSERT_TRUE(t.inverse(x, y));
  EXPECT_EQ(x, 3);
  EXPECT_EQ(y, 4);
  for (double bad : {kNaN, kInf}) {
    x = bad;
    y = 1;
    EXPECT_FALSE(t.forward(x, y));
    EXPECT_FALSE(t.inverse(x, y));
    EXPECT_EQ(y, 1);
  }
}

TEST(Geodetic, EquatorAndPoleGiveTheEllipsoidsRadii) {
  auto equator = geodeticToGeocentric(0, 0, 0);
  ASSERT_TRUE(equator);
  EXPECT_DOUBLE_EQ(equator->X, 6378137.0);
  EXPECT_DOUBLE_EQ(equator->Y, 0.0);
  EXPECT_DOUBLE_EQ(equator->Z, 0.0);
  auto pole = geodeticToGeocentric(90, 0, 0);
  ASSERT_TRUE(pole);
  EXPECT_NEAR(pole->Z, 6356752.314245, 1e-6);
  EXPECT_NEAR(pole->X, 0.0, 1e-6);
  auto raised = geodeticToGeocentric(0, 90, 100);
  ASSERT_TRUE(raised);
  EXPECT_NEAR(raised->Y, 6378237.0, 1e-6);
}

TEST(Geodetic, ChordDistanceOfNearbyPointsMatchesTheArc) {
  // One arc second of longitude on the equator is about 30.92 m.
  auto d = chordDistance(0, 0, 0, 1.0 / 3600.0, 0);
  ASSERT_TRUE(d);
  EXPECT_NEAR(*d, 6378137.0 * kPi / 180.0 / 3600.0, 1e-6);
  auto same = chordDistance(30, 120, 30, 120, 50);
  ASSERT_TRUE(same);
  EXPECT_EQ(*same, 0.0);
  // Opposite points on the equator: twice the radius.
  auto across = chordDistance(0, 0, 0, 180, 0);
  ASSERT_TRUE(across);
  EXPECT_NEAR(*across, 2 * 6378137.0, 1e-6);
}

TEST(Geodetic, NonFiniteInputGivesNoResult) {
  EXPECT_FALSE(geodeticToGeocentric(kNaN, 0, 0));
  EXPECT_FALSE(geodeticToGeocentric(0, kInf, 0));
  EXPECT_FALSE(geodeticToGeocentric(0, 0, -kInf));
  EXPECT_FALSE(chordDistance(0, 0, kNaN, 0, 0));
  EXPECT_FALSE(chordDistance(0, 0, 0, 0, kInf));
  // Huge but finite angles still give finite points.
  EXPECT_TRUE(geodeticToGeocentric(1e300, -1e300, 0));
}

}  // namespace
}  // namespace trazmark
