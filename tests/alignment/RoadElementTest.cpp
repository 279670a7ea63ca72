// One element record: filling it, computing its end, evaluating it, and a chain
// of elements that must join without gaps.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "alignment/RoadElement.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;

TEST(CRoadElementTest, SetParameterModes) {
  CRoadElement e;
  ASSERT_TRUE(e.setParameter(200, 100, 0));
  EXPECT_EQ(e.type, kElementStartPoint);
  EXPECT_EQ(e.startX, 100);
  EXPECT_EQ(e.startY, 200);
  ASSERT_TRUE(e.setParameter(0, 90, 1));  // a line of zero length is kept
  EXPECT_EQ(e.type, kElementLine);
  EXPECT_DOUBLE_EQ(e.startAzimuth, kPi / 2);
  EXPECT_TRUE(e.setParameter(10, -300, 2));
  EXPECT_EQ(e.type, kElementArc);
  EXPECT_EQ(e.startRadius, -300);
  EXPECT_TRUE(e.setParameter(10, 0, 3));
  EXPECT_EQ(e.type, kElementSpiral);

  const double nan = std::nan("");
  const double inf = std::numeric_limits<double>::infinity();
  CRoadElement bad;
  EXPECT_FALSE(bad.setParameter(1e-10, 100, 2));
  EXPECT_FALSE(bad.setParameter(0, 0, 3));
  EXPECT_FALSE(bad.setParameter(-5, 0, 3));
  EXPECT_FALSE(bad.setParameter(nan, 0, 0));
  EXPECT_FALSE(bad.setParameter(10, inf, 1));
  EXPECT_FALSE(bad.setParameter(nan, 100, 2));
  EXPECT_FALSE(bad.setParameter(1, 1, 4));
  EXPECT_EQ(bad.type, 0);
  EXPECT_TRUE(bad.setParameter(1e300, 1e300, 1));
  bad.startMileage = 0;
  if (bad.computeEnd()) {
    EXPECT_TRUE(std::isfinite(bad.endX) && std::isfinite(bad.endY));
  }
}

TEST(CRoadElementTest, ComputeEndByKind) {
  CRoadElement arc;
  arc.setParameter(50 * kPi, 100, 2);
  arc.startMileage = 1000;
  ASSERT_TRUE(arc.computeEnd());
  EXPECT_NEAR(arc.endX, 100, 1e-9);
  EXPECT_NEAR(arc.endY, 100, 1e-9);
  EXPECT_NEAR(arc.endAzimuth, kPi / 2, 1e-12);
  EXPECT_EQ(arc.endRadius, 100);
  EXPECT_DOUBLE_EQ(arc.endMileage, 1000 + 50 * kPi);

  CRoadElement spiral;
  spiral.setParameter(100, 0, 3);
  EXPECT_FALSE(spiral.computeEnd()) << "a spiral of two infinite radii has no geometry";
  spiral.startRadius = 300;
  spiral.endRadius = 300;
  EXPECT_FALSE(spiral.computeEnd());
  spiral.endRadius = 0;
  ASSERT_TRUE(spiral.computeEnd());
  EXPECT_NEAR(spiral.endAzimuth, 100.0 / 600.0, 1e-12);

  CRoadElement start;
  start.setParameter(5, 7, 0);
  start.startMileage = 12;
  ASSERT_TRUE(start.computeEnd());
  EXPECT_EQ(start.endX, 7);
  EXPECT_EQ(start.endMileage, 12);
  EXPECT_FALSE(start.pointAtMileage(12, 0));

  CRoadElement unknown;
  unknown.type = 9;
  EXPECT_FALSE(unknown.computeEnd());
  EXPECT_FALSE(unknown.pointAtMileage(0, 0));
}

TEST(CRoadElementTest, MileageOutsideTheElementExtendsIt) {
  CRoadElement line;
  line.setParameter(10, 0, 1);
  line.startMileage = 100;
  ASSERT_TRUE(line.computeEnd());
  const auto p = line.pointAtMileage(130, 0);
  ASSERT_TRUE(p);
  EXPECT_DOUBLE_EQ(p->x, 30);
  EXPECT_EQ(p->azimuth, 0.0);
}

// Builds a chain the way the engine does: each element starts where the last
// ended, a spiral takes its radii from its neighbours.
std::vector<CRoadElement> makeChain() {
  struct Setup {
    int mode;
    double v1, v2;
  };
  const Setup setups[] = {
      {0, 500000, 3500000}, {1, 120, 37.5}, {3, 80, 0},    {2, 150, 400}, {3, 60, 0},
      {2, 200, 250},        {3, 100, 0},    {2, 90, -300}, {3, 70, 0},    {1, 55, 0},
      {3, 90, 0},           {2, 120, -600}, {3, 50, 0},    {2, 80, -200}, {3, 40, 0},
      {2, 100, -190},       {3, 110, 0},    {2, 60, 150},  {3, 75, 0},    {1, 100, 0},
  };
  std::vector<CRoadElement> chain;
  for (const Setup& s : setups) {
    CRoadElement e;
    EXPECT_TRUE(e.setParameter(s.v1, s.v2, s.mode));
    chain.push_back(e);
  }
  chain[0].startMileage = 2500;
  for (std::size_t i = 0; i < chain.size(); ++i) {
    CRoadElement& e = chain[i];
    if (i > 0) {
      const CRoadElement& prev = chain[i - 1];
      e.startX = prev.endX;
      e.startY = prev.endY;
      e.startMileage = prev.endMileage;
      // Every element but the first line continues the previous tangent.
      if (e.type != kElementLine || i >= 2) e.startAzimuth = prev.endAzimuth;
    }
    if (e.type == kElementSpiral) {
      e.startRadius = chain[i - 1].endRadius;
      e.endRadius = chain[i + 1].type == kElementArc ? chain[i + 1].startRadius : 0;
    }
    EXPECT_TRUE(e.computeEnd()) << "element " << i;
  }
  return chain;
}

TEST(CRoadElementTest, ChainIsContinuous) {
  const std::vector<CRoadElement> chain = makeChain();
  for (std::size_t i = 1; i + 1 < chain.size(); ++i) {
    SCOPED_TRACE(i);
    const CRoadElement& a = chain[i];
    const CRoadElement& b = chain[i + 1];
    const auto end = a.pointAtMileage(a.endMileage, 2.5);
    const auto start = b.pointAtMileage(b.startMileage, 2.5);
    ASSERT_TRUE(end && start);
    EXPECT_NEAR(end->x, start->x, 1e-9);
    EXPECT_NEAR(end->y, start->y, 1e-9);
    EXPECT_NEAR(std::remainder(end->azimuth - start->azimuth, 2 * kPi), 0, 1e-12);
    EXPECT_NEAR(a.endX, end->x - 2.5 * -std::sin(end->azimuth), 1e-9);
  }
}

}  // namespace
}  // namespace trazmark
