// Survey points triangulated: breaklines kept as edges (the ground bends
// exactly on them), duplicates counted, long triangles dropped.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "terrain/TerrainTriangulation.h"

namespace trazmark {
namespace {

constexpr double kExact = 1e-9;

CTerrainModel triangulated(std::vector<TerrainPoint> points,
                           const std::vector<std::vector<TerrainPoint>>& breaklines = {},
                           double maxEdge = 0) {
  CTerrainModel model;
  std::string error;
  EXPECT_TRUE(triangulateTerrain(std::move(points), breaklines, maxEdge, model, error)) << error;
  return model;
}

// A 20 m square at 0 with two low points near the middle of two sides whose
// join (18 m) is shorter than that of the middles of the other two (20 m): the
// unconstrained triangulation joins the low points across the middle.
const std::vector<TerrainPoint> kSquare = {{0, 0, 0}, {20, 0, 0}, {20, 20, 0}, {0, 20, 0},
                                           {1, 10, 0}, {19, 10, 0}};

TEST(TerrainTriangulation, PlaneIsReproducedEverywhereInsideTheHull) {
  auto plane = [](double x, double y) { return 250 - 0.04 * x + 0.015 * y; };
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(0, 500);
  std::vector<TerrainPoint> points = {{0, 0, plane(0, 0)}, {500, 0, plane(500, 0)},
                                      {500, 500, plane(500, 500)}, {0, 500, plane(0, 500)}};
  for (int i = 0; i < 2000; ++i) {
    const double x = coordinate(random), y = coordinate(random);
    points.push_back({x, y, plane(x, y)});
  }
  CTerrainModel model = triangulated(points);
  EXPECT_EQ(model.summary().points, points.size());
  // Euler: a triangulation of n points with h on the hull has 2n - 2 - h triangles.
  EXPECT_EQ(model.summary().triangles, 2 * points.size() - 2 - 4);
  for (int i = 0; i < 1000; ++i) {
    const double x = coordinate(random), y = coordinate(random);
    EXPECT_NEAR(*model.elevationAt(x, y), plane(x, y), 1e-9);
  }
  EXPECT_FALSE(model.elevationAt(-0.001, 100));
}

TEST(TerrainTriangulation, GroundLinesAgreeWithElevationsAcrossHoles) {
  // Random points on a bumpy ground, none within 100 m of the middle: with a
  // longest edge of 40 m the middle is a hole. Along any line the ground is
  // linear between its vertices (no crossing missed), its vertices lie on the
  // ground, and the gaps have none.
  auto height = [](double x, double y) { return 300 + 20 * std::sin(x / 37) * std::cos(y / 23); };
  std::mt19937 random(11);
  std::uniform_real_distribution<double> coordinate(0, 500);
  std::vector<TerrainPoint> points;
  while (points.size() < 3000) {
    const double x = coordinate(random), y = coordinate(random);
    if (std::hypot(x - 250, y - 250) > 100) points.push_back({x, y, height(x, y)});
  }
  CTerrainModel model = triangulated(points, {}, 40);
  ASSERT_FALSE(model.elevationAt(250, 250));
  std::uniform_real_distribution<double> anywhere(-50, 550);
  for (int n = 0; n < 200; ++n) {
    const double x0 = anywhere(random), y0 = anywhere(random);
    const double x1 = n % 3 ? anywhere(random) : x0;  // some lines along y
    const double y1 = anywhere(random);
    const double length = std::hypot(x1 - x0, y1 - y0);
    auto at = [&](double d) {
      return std::make_pair(x0 + (x1 - x0) * d / length, y0 + (y1 - y0) * d / length);
    };
    const GroundLine line = model.groundAlong(x0, y0, x1, y1);
    double previousEnd = 0;
    for (std::size_t p = 0; p < line.pieces.size(); ++p) {
      const auto& piece = line.pieces[p];
      // Before the piece (from the line's start or the last piece): no ground.
      const double gapStart = p == 0 ? 0 : previousEnd;
      if (piece.front().distance - gapStart > 1e-6) {
        const auto [gx, gy] = at((gapStart + piece.front().distance) / 2);
        EXPECT_FALSE(model.elevationAt(gx, gy)) << "line " << n << " gap before piece " << p;
      }
      for (std::size_t k = 0; k < piece.size(); ++k) {
        const auto [vx, vy] = at(piece[k].distance);
        const std::optional<double> z = model.elevationAt(vx, vy);
        ASSERT_TRUE(z) << "line " << n << " vertex " << k;
        EXPECT_NEAR(piece[k].elevation, *z, 1e-7);
        if (k == 0) continue;
        for (double share : {0.25, 0.5, 0.75}) {
          const double d = piece[k - 1].distance + share * (piece[k].distance - piece[k - 1].distance);
          const auto [mx, my] = at(d);
          const std::optional<double> zm = model.elevationAt(mx, my);
          ASSERT_TRUE(zm) << "line " << n << " between vertices " << k - 1 << " and " << k;
          EXPECT_NEAR(*zm, piece[k - 1].elevation + share * (piece[k].elevation - piece[k - 1].elevation), 1e-7)
              << "line " << n << " between vertices " << k - 1 << " and " << k;
        }
      }
      previousEnd = piece.back().distance;
    }
    if (length - previousEnd > 1e-6) {
      const auto [gx, gy] = at((previousEnd + length) / 2);
      EXPECT_FALSE(model.elevationAt(gx, gy)) << "line " << n << " after the last piece";
    }
  }
}

TEST(TerrainTriangulation, BreaklineIsKeptAndTheGroundBendsOnIt) {
  // Without the breakline the low points are joined and the middle lies at 0.
  CTerrainModel plain = triangulated(kSquare, {{{10, 0, 5}, {10, 20, 5}}});
  CTerrainModel unconstrained = triangulated([] {
    auto p = kSquare;
    p.push_back({10, 0, 5});
    p.push_back({10, 20, 5});
    return p;
  }());
  EXPECT_NEAR(*unconstrained.elevationAt(10, 10), 0, kExact);

  // With it, the ridge at x = 10 stands at 5 along its whole length.
  for (double y : {0.0, 3.0, 10.0, 17.5, 20.0}) EXPECT_NEAR(*plain.elevationAt(10, y), 5, kExact) << y;
  // The line across it climbs straight to the ridge and falls from it: a
  // vertex exactly on the breakline, at 5 m.
  const GroundLine line = plain.groundAlong(0, 10, 20, 10);
  ASSERT_EQ(line.pieces.size(), 1u);
  const auto& piece = line.pieces[0];
  std::size_t ridge = piece.size();
  for (std::size_t k = 0; k < piece.size(); ++k)
    if (std::fabs(piece[k].distance - 10) < kExact) ridge = k;
  ASSERT_LT(ridge, piece.size());
  EXPECT_NEAR(piece[ridge].elevation, 5, kExact);
  // Straight on each side: the slope from (1,10) at 0 to the ridge is 5/9.
  for (const auto& v : piece)
    if (v.distance >= 1 && v.distance <= 19) {
      EXPECT_NEAR(v.elevation, 5 - std::fabs(v.distance - 10) * 5 / 9, kExact) << v.distance;
    }
}

TEST(TerrainTriangulation, CrossingBreaklinesMeetAtAPointOnBoth) {
  // One breakline rises from 0 to 10 across the square, the other is level at
  // 5: they cross at (10, 10), where both say 5.
  CTerrainModel model = triangulated(kSquare, {{{0, 5, 0}, {20, 15, 10}}, {{10, 0, 5}, {10, 20, 5}}});
  EXPECT_EQ(model.summary().points, kSquare.size() + 5);  // four ends and the crossing
  EXPECT_NEAR(*model.elevationAt(10, 10), 5, kExact);
  EXPECT_NEAR(*model.elevationAt(5, 7.5), 2.5, kExact);
  EXPECT_NEAR(*model.elevationAt(15, 12.5), 7.5, kExact);
  EXPECT_NEAR(*model.elevationAt(10, 15), 5, kExact);
}

TEST(TerrainTriangulation, BreaklineVertexOnASurveyPointIsThatPoint) {
  // The breakline starts on survey point (0,0) at 0: the point keeps its
  // elevation, the breakline's 7 is a second survey of it, not a duplicate.
  CTerrainModel model = triangulated(kSquare, {{{0, 0, 7}, {20, 20, 0}}});
  EXPECT_EQ(model.summary().points, kSquare.size());
  EXPECT_EQ(model.summary().duplicatePoints, 0u);
  EXPECT_NEAR(*model.elevationAt(0, 0), 0, kExact);
}

TEST(TerrainTriangulation, DuplicatesKeepTheFirstAndAreCounted) {
  std::vector<TerrainPoint> points = kSquare;
  points.push_back({20, 0, 99});   // a second survey of a corner
  points.push_back({1, 10, -3});
  points.push_back({20, 0, 98});
  points.push_back({20.0000001, 0, 4});  // near, not the same: a point of its own
  CTerrainModel model = triangulated(points);
  EXPECT_EQ(model.summary().duplicatePoints, 3u);
  EXPECT_EQ(model.summary().points, kSquare.size() + 1);
  EXPECT_NEAR(*model.elevationAt(20, 0), 0, kExact);
  EXPECT_NEAR(*model.elevationAt(1, 10), 0, kExact);
}

TEST(TerrainTriangulation, LongTrianglesAreDroppedSoTheHullInventsNoGround) {
  // A 3 × 3 grid of points 10 m apart and one lone point 80 m away.
  std::vector<TerrainPoint> points;
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 2; ++j) points.push_back({i * 10.0, j * 10.0, 1});
  points.push_back({100, 10, 1});
  CTerrainModel all = triangulated(points);
  EXPECT_TRUE(all.elevationAt(50, 10));
  CTerrainModel kept = triangulated(points, {}, 15);
  EXPECT_EQ(kept.summary().triangles, 8u);
  EXPECT_EQ(kept.summary().droppedTriangles, all.summary().triangles - 8);
  EXPECT_FALSE(kept.elevationAt(50, 10));
  EXPECT_TRUE(kept.elevationAt(5, 5));
  EXPECT_DOUBLE_EQ(kept.summary().maxX, 20);
}

TEST(TerrainTriangulation, TooFewOrCollinearPointsAreRefused) {
  const struct {
    std::vector<TerrainPoint> points;
    const char* error;
  } cases[] = {
      {{}, "fewer than three points"},
      {{{0, 0, 0}, {1, 1, 1}}, "fewer than three points"},
      {{{0, 0, 0}, {0, 0, 1}, {0, 0, 2}}, "fewer than three points"},
      {{{0, 0, 0}, {1, 1, 1}, {2, 2, 2}, {5, 5, 5}}, "the points all lie on one line"},
      {{{0, 0, 0}, {1, 0, 1}, {0, 1, std::nan("")}}, "a point is not a finite number"},
  };
  for (const auto& c : cases) {
    CTerrainModel model = triangulated(kSquare);
    const std::size_t before = model.summary().triangles;
    std::string error;
    EXPECT_FALSE(triangulateTerrain(c.points, {}, 0, model, error));
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << error;
    EXPECT_EQ(model.summary().triangles, before);  // the model before is kept
  }
}

TEST(TerrainTriangulation, CancelledTriangulationKeepsTheModel) {
  CTerrainModel model = triangulated(kSquare);
  std::string error;
  int calls = 0;
  EXPECT_FALSE(triangulateTerrain(kSquare, {}, 0, model, error, [&](double share) {
    EXPECT_GE(share, 0);
    EXPECT_LE(share, 1);
    return ++calls < 3;
  }));
  EXPECT_EQ(error, "cancelled");
  EXPECT_EQ(model.summary().points, kSquare.size());
}

}  // namespace
}  // namespace trazmark
