// TINs built by hand whose ground is known exactly: planes, a pyramid, a
// ridge, a hole, two islands. Ground lines must have a vertex at every
// crossing of a triangle edge and nowhere else.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include "terrain/TerrainModel.h"

namespace trazmark {
namespace {

constexpr double kExact = 1e-9;  // metres: what rounding leaves of an exact answer

CTerrainModel modelOf(std::vector<TerrainPoint> points, std::vector<TerrainTriangle> triangles,
                      double maxEdge = 0) {
  CTerrainModel model;
  std::string error;
  EXPECT_TRUE(model.build(std::move(points), std::move(triangles), maxEdge, error)) << error;
  return model;
}

// A square grid of n × n cells of `size` metres from (x0, y0), each cell
// split along its rising diagonal, z from `height`; `skip` cells (row, column)
// are left out.
template <class Height>
CTerrainModel gridModel(double x0, double y0, int n, double size, Height height,
                        std::vector<std::pair<int, int>> skip = {}) {
  std::vector<TerrainPoint> points;
  for (int i = 0; i <= n; ++i)
    for (int j = 0; j <= n; ++j) {
      const double x = x0 + i * size, y = y0 + j * size;
      points.push_back({x, y, height(x, y)});
    }
  std::vector<TerrainTriangle> triangles;
  auto at = [n](int i, int j) { return static_cast<std::uint32_t>(i * (n + 1) + j); };
  for (int i = 0; i < n; ++i)
    for (int j = 0; j < n; ++j) {
      if (std::find(skip.begin(), skip.end(), std::make_pair(i, j)) != skip.end()) continue;
      triangles.push_back({at(i, j), at(i + 1, j), at(i + 1, j + 1)});
      triangles.push_back({at(i, j), at(i + 1, j + 1), at(i, j + 1)});
    }
  return modelOf(std::move(points), std::move(triangles));
}

// A square pyramid: apex (cx, cy) at 10 m, base corners 10 m away at 0.
CTerrainModel pyramid(double cx = 0, double cy = 0) {
  return modelOf({{cx, cy, 10}, {cx - 10, cy - 10, 0}, {cx + 10, cy - 10, 0},
                  {cx + 10, cy + 10, 0}, {cx - 10, cy + 10, 0}},
                 {{0, 1, 2}, {0, 2, 3}, {0, 3, 4}, {0, 4, 1}});
}

double pyramidHeight(double x, double y) { return 10 - std::max(std::fabs(x), std::fabs(y)); }

struct Vertex {
  double distance, elevation;
};

void expectPieces(const GroundLine& line, const std::vector<std::vector<Vertex>>& expected,
                  const std::string& what) {
  SCOPED_TRACE(what);
  ASSERT_EQ(line.pieces.size(), expected.size());
  for (std::size_t p = 0; p < expected.size(); ++p) {
    ASSERT_EQ(line.pieces[p].size(), expected[p].size()) << "piece " << p;
    for (std::size_t k = 0; k < expected[p].size(); ++k) {
      EXPECT_NEAR(line.pieces[p][k].distance, expected[p][k].distance, kExact) << "piece " << p << " vertex " << k;
      EXPECT_NEAR(line.pieces[p][k].elevation, expected[p][k].elevation, kExact) << "piece " << p << " vertex " << k;
    }
  }
}

TEST(TerrainModel, BuildRefusesMissingPointsAndNonFiniteCoordinates) {
  CTerrainModel model = pyramid();
  std::string error;
  EXPECT_FALSE(model.build({{0, 0, 0}, {1, 0, 0}, {0, 1, 0}}, {{0, 1, 3}}, 0, error));
  EXPECT_NE(error.find("triangle 1"), std::string::npos) << error;
  EXPECT_TRUE(model.empty());  // a refused build leaves nothing of the model before
  error.clear();
  EXPECT_FALSE(model.build({{0, 0, 0}, {1, 0, std::nan("")}, {0, 1, 0}}, {{0, 1, 2}}, 0, error));
  EXPECT_FALSE(error.empty());
  EXPECT_FALSE(model.elevationAt(0.1, 0.1));
}

TEST(TerrainModel, DegenerateAndLongTrianglesAreDroppedAndCounted) {
  // Triangle 2 repeats a point, triangle 3 is flat on a line, triangle 4 has
  // a 50 m edge.
  CTerrainModel model = modelOf({{0, 0, 1}, {10, 0, 1}, {0, 10, 1}, {5, 0, 1}, {5, 50, 1}},
                                {{0, 1, 2}, {0, 1, 1}, {0, 3, 1}, {0, 2, 4}, {2, 1, 0}}, 20);
  EXPECT_EQ(model.summary().triangles, 2u);
  EXPECT_EQ(model.summary().droppedTriangles, 3u);
  EXPECT_EQ(model.summary().points, 5u);
  // The extent is that of the triangles kept, not of every point.
  EXPECT_DOUBLE_EQ(model.summary().maxY, 10);
  EXPECT_FALSE(model.elevationAt(2.7, 30));
  // Without a limit the long one stays.
  CTerrainModel all = modelOf({{0, 0, 1}, {10, 0, 1}, {0, 10, 1}, {5, 50, 1}}, {{0, 1, 2}, {0, 2, 3}});
  EXPECT_EQ(all.summary().droppedTriangles, 0u);
  EXPECT_TRUE(all.elevationAt(2.7, 30));
}

TEST(TerrainModel, SummaryHoldsExtentAndElevationRange) {
  const TerrainSummary s = pyramid(100, 200).summary();
  EXPECT_EQ(s.points, 5u);
  EXPECT_EQ(s.triangles, 4u);
  EXPECT_DOUBLE_EQ(s.minX, 90);
  EXPECT_DOUBLE_EQ(s.maxX, 110);
  EXPECT_DOUBLE_EQ(s.minY, 190);
  EXPECT_DOUBLE_EQ(s.maxY, 210);
  EXPECT_DOUBLE_EQ(s.minZ, 0);
  EXPECT_DOUBLE_EQ(s.maxZ, 10);
}

TEST(TerrainModel, ElevationOnATiltedPlaneAtLargeCoordinates) {
  // A survey grid's coordinates: millions of metres north.
  const double x0 = 2936900, y0 = 365700;
  auto plane = [&](double x, double y) { return 1118.5 + 0.02 * (x - x0) - 0.035 * (y - y0); };
  CTerrainModel model = gridModel(x0, y0, 40, 5, plane);
  for (int i = 0; i <= 200; ++i)
    for (int j = 0; j <= 200; j += 7) {
      const double x = x0 + i * 0.9993, y = y0 + j * 0.9989;
      const std::optional<double> z = model.elevationAt(x, y);
      ASSERT_TRUE(z) << x << " " << y;
      EXPECT_NEAR(*z, plane(x, y), kExact);
    }
}

TEST(TerrainModel, ElevationAtVerticesEdgesInsideAndOutside) {
  CTerrainModel model = pyramid();
  struct Case {
    const char* what;
    double x, y;
    std::optional<double> z;
  };
  const Case cases[] = {
      {"apex", 0, 0, 10},
      {"base corner", -10, -10, 0},
      {"base corner", 10, 10, 0},
      {"on an inner edge (diagonal)", 4, 4, 6},
      {"on an inner edge, other side", -2.5, 2.5, 7.5},
      {"on the outline", 10, 3, 0},
      {"on the outline", -4, -10, 0},
      {"inside", 1, -3, 7},
      {"inside", 0.1, 0.05, 9.9},
      {"just outside the outline", 10.000001, 0, std::nullopt},
      {"just outside a corner", -10.000001, -10.000001, std::nullopt},
      {"far outside", 1000, -3000, std::nullopt},
      {"NaN", std::nan(""), 0, std::nullopt},
      {"infinity", 0, INFINITY, std::nullopt},
  };
  for (const Case& c : cases) {
    const std::optional<double> z = model.elevationAt(c.x, c.y);
    ASSERT_EQ(z.has_value(), c.z.has_value()) << c.what << " (" << c.x << ", " << c.y << ")";
    if (z) {
      EXPECT_NEAR(*z, *c.z, kExact) << c.what;
    }
  }
}

TEST(TerrainModel, PointsComputedOnASharedEdgeFindGround) {
  // Points on the diagonals of a fine grid computed by arithmetic that
  // rounds: none may fall through the crack between two triangles.
  auto plane = [](double x, double y) { return 3 * x - 2 * y; };
  CTerrainModel model = gridModel(0.1, 0.3, 30, 0.7, plane);
  for (int k = 0; k <= 3000; ++k) {
    const double s = 0.1 + k * (30 * 0.7) / 3000.0;
    const double x = s, y = s + 0.2;  // on every cell's rising diagonal
    const std::optional<double> z = model.elevationAt(x, y);
    ASSERT_TRUE(z) << k;
    EXPECT_NEAR(*z, plane(x, y), 1e-9);
  }
}

TEST(TerrainModel, GroundAcrossThePyramidBendsAtItsEdges) {
  CTerrainModel model = pyramid();
  // At y = 3 the line crosses the diagonals at x = ±3.
  expectPieces(model.groundAlong(-10, 3, 10, 3), {{{0, 0}, {7, 7}, {13, 7}, {20, 0}}}, "y = 3");
  // Through the apex, across two faces' shared vertex: no vertex twice.
  expectPieces(model.groundAlong(-10, 0, 10, 0), {{{0, 0}, {10, 10}, {20, 0}}}, "through the apex");
  // Along a diagonal edge the whole way.
  const double d = std::sqrt(2.0) * 10;
  expectPieces(model.groundAlong(-10, -10, 10, 10), {{{0, 0}, {d, 10}, {2 * d, 0}}}, "along the edges");
  // Reversed, the same ground from the other end.
  expectPieces(model.groundAlong(10, 3, -10, 3), {{{0, 0}, {7, 7}, {13, 7}, {20, 0}}}, "reversed");
  // Starting and ending inside one face: only the two ends.
  expectPieces(model.groundAlong(1, -6, 4, -8), {{{0, 4}, {std::hypot(3.0, 2.0), 2}}}, "inside one face");
  // Along the outline: ground, with a vertex at the corner it turns around.
  expectPieces(model.groundAlong(-10, -10, 10, -10), {{{0, 0}, {20, 0}}}, "along the outline");
  // From outside through it and out again: the pieces start and end at the outline.
  expectPieces(model.groundAlong(-30, 3, 30, 3), {{{20, 0}, {27, 7}, {33, 7}, {40, 0}}}, "from outside");
  expectPieces(model.groundAlong(30, 3, -30, 3), {{{20, 0}, {27, 7}, {33, 7}, {40, 0}}}, "from outside, back");
  EXPECT_TRUE(model.groundAlong(-30, 30, 30, 30).empty());
  EXPECT_TRUE(model.groundAlong(std::nan(""), 0, 1, 1).empty());
}

TEST(TerrainModel, GroundOfThePyramidAtLargeCoordinatesMatchesItsFormula) {
  const double cx = 2936912.007, cy = 365760.368;
  CTerrainModel model = pyramid(cx, cy);
  for (double offset : {-7.3, -1.0, 0.0, 2.25, 9.99}) {
    const GroundLine line = model.groundAlong(cx - 10, cy + offset, cx + 10, cy + offset);
    ASSERT_EQ(line.pieces.size(), 1u) << offset;
    const double turn = std::fabs(offset);
    std::vector<Vertex> expected = {{0, 0}, {10 - turn, 10 - turn}, {10 + turn, 10 - turn}, {20, 0}};
    if (turn == 0) expected = {{0, 0}, {10, 10}, {20, 0}};
    expectPieces(line, {expected}, "offset " + std::to_string(offset));
  }
  EXPECT_NEAR(*model.elevationAt(cx + 2, cy - 5), pyramidHeight(2, -5), kExact);
  // Along a diagonal edge, where rounding must not put the line outside
  // both triangles beside it, and from a base corner to the apex only.
  const double d = std::sqrt(2.0) * 10;
  expectPieces(model.groundAlong(cx + 10, cy - 10, cx - 10, cy + 10), {{{0, 0}, {d, 10}, {2 * d, 0}}},
               "along the edges");
  expectPieces(model.groundAlong(cx - 10, cy - 10, cx, cy), {{{0, 0}, {d, 10}}}, "corner to apex");
}

TEST(TerrainModel, GroundAcrossARidgeBendsAtTheRidgeAndTheDiagonals) {
  // A ridge along x at y = 0 (5 m), falling to 0 at y = ±10, from x = 0 to 20.
  CTerrainModel model = modelOf({{0, -10, 0}, {20, -10, 0}, {20, 0, 5}, {0, 0, 5}, {20, 10, 0}, {0, 10, 0}},
                                {{0, 1, 2}, {0, 2, 3}, {3, 2, 4}, {3, 4, 5}});
  // At x = 5 the diagonal (0,-10)-(20,0) is crossed at y = -7.5, the ridge at
  // 0, the diagonal (0,0)-(20,10) at y = 2.5.
  expectPieces(model.groundAlong(5, -10, 5, 10), {{{0, 0}, {2.5, 1.25}, {10, 5}, {12.5, 3.75}, {20, 0}}},
               "across");
  // Along the ridge itself: the ridge's elevation throughout.
  expectPieces(model.groundAlong(0, 0, 20, 0), {{{0, 5}, {20, 5}}}, "along the ridge");
}

TEST(TerrainModel, EveryInnerVertexOfAGroundLineLiesOnATriangleEdge) {
  auto surface = [](double x, double y) { return std::sin(x / 7) * 4 + std::cos(y / 5) * 3; };
  CTerrainModel model = gridModel(0, 0, 20, 5, surface);
  const double x0 = 3.3, y0 = -2, x1 = 97.1, y1 = 81.7;
  const GroundLine line = model.groundAlong(x0, y0, x1, y1);
  ASSERT_EQ(line.pieces.size(), 1u);
  const double length = std::hypot(x1 - x0, y1 - y0);
  const auto& piece = line.pieces[0];
  for (std::size_t k = 1; k < piece.size(); ++k) ASSERT_GT(piece[k].distance, piece[k - 1].distance);
  for (std::size_t k = 1; k + 1 < piece.size(); ++k) {
    const double s = piece[k].distance / length;
    const double x = x0 + s * (x1 - x0), y = y0 + s * (y1 - y0);
    // On a grid line or on a cell's diagonal.
    const double u = x / 5, v = y / 5;
    const bool onEdge = std::fabs(u - std::round(u)) < 1e-9 || std::fabs(v - std::round(v)) < 1e-9 ||
                        std::fabs((u - v) - std::round(u - v)) < 1e-9;
    EXPECT_TRUE(onEdge) << "vertex " << k << " at " << x << ", " << y;
    EXPECT_NEAR(piece[k].elevation, *model.elevationAt(x, y), 1e-9);
  }
  // Every crossing is there: 19 vertical grid lines, 16 horizontal ones and
  // the diagonals between, each once.
  int crossings = 0;
  for (int i = 1; i < 20; ++i) crossings += (i * 5 > x0 && i * 5 < x1) + (i * 5 > y0 && i * 5 < y1);
  for (int d = -19; d <= 19; ++d) {  // diagonals x - y = 5d within the grid
    const double s = (5 * d - (x0 - y0)) / ((x1 - x0) - (y1 - y0));
    const double x = x0 + s * (x1 - x0), y = y0 + s * (y1 - y0);
    if (s > 0 && s < 1 && x > 0 && x < 100 && y > 0 && y < 100 && std::fmod(x, 5) != 0) ++crossings;
  }
  const bool startsInside = y0 >= 0;
  EXPECT_EQ(piece.size(), static_cast<std::size_t>(crossings) + 2 - (startsInside ? 0 : 1));
}

TEST(TerrainModel, HoleHasNoGroundAndSplitsTheLine) {
  // 3 × 3 cells of 10 m, the middle one left open (its faces invisible in the file).
  auto plane = [](double x, double y) { return 50 + 0.1 * x + 0.2 * y; };
  CTerrainModel model = gridModel(0, 0, 3, 10, plane, {{1, 1}});
  EXPECT_FALSE(model.elevationAt(15, 15));
  EXPECT_FALSE(model.elevationAt(11, 19));
  // On the hole's rim the ground is there.
  EXPECT_NEAR(*model.elevationAt(10, 15), plane(10, 15), kExact);
  EXPECT_NEAR(*model.elevationAt(20, 20), plane(20, 20), kExact);
  // Across the hole: ground to its rim at x = 10, a gap, ground again from 20.
  const GroundLine line = model.groundAlong(0, 15, 30, 15);
  expectPieces(line,
               {{{0, plane(0, 15)}, {5, plane(5, 15)}, {10, plane(10, 15)}},
                {{20, plane(20, 15)}, {25, plane(25, 15)}, {30, plane(30, 15)}}},
               "across the hole");
  // Along the hole's rim: ground all the way (the faces on the other side).
  expectPieces(model.groundAlong(10, 0, 10, 30),
               {{{0, plane(10, 0)}, {10, plane(10, 10)}, {20, plane(10, 20)}, {30, plane(10, 30)}}},
               "along the rim");
}

TEST(TerrainModel, LineLeavingTheTinAndComingBackHasAGap) {
  // Two islands of ground, 0..10 and 30..40 north, joined by nothing.
  CTerrainModel model = modelOf({{0, 0, 1}, {10, 0, 1}, {10, 10, 1}, {0, 10, 1},
                                 {30, 0, 2}, {40, 0, 2}, {40, 10, 2}, {30, 10, 2}},
                                {{0, 1, 2}, {0, 2, 3}, {4, 5, 6}, {4, 6, 7}});
  expectPieces(model.groundAlong(-5, 4, 45, 4), {{{5, 1}, {9, 1}, {15, 1}}, {{35, 2}, {39, 2}, {45, 2}}},
               "two islands");
  EXPECT_FALSE(model.elevationAt(20, 5));
  // A line that only touches a corner of the ground has none.
  EXPECT_TRUE(model.groundAlong(15, -5, 5, -15).empty());
  EXPECT_TRUE(model.groundAlong(10, 20, 30, 20).empty());
}

// A line reaching far beyond the grid (a road's query with garbage widths)
// takes the grid's cells clamped to it: at 1e280 m the ground it crosses is
// below the line's own rounding, but what it gives is finite (and under the
// sanitizer, no cell index comes from a number too large for one).
TEST(TerrainModel, LineFromFarBeyondTheGridStaysWithinTheGrid) {
  CTerrainModel model = modelOf({{0, 0, 1}, {10, 0, 1}, {10, 10, 1}, {0, 10, 1}},
                                {{0, 1, 2}, {0, 2, 3}});
  for (const GroundLine& line : {model.groundAlong(5, -1e280, 5, 1e280),
                                 model.groundAlong(-1e300, 5, 1e300, 5)})
    for (const auto& piece : line.pieces)
      for (const GroundVertex& v : piece) {
        EXPECT_TRUE(std::isfinite(v.distance));
        EXPECT_NEAR(v.elevation, 1, 1e-9);
      }
  EXPECT_TRUE(model.groundAlong(1e280, 1e280, 2e280, 2e280).empty());
}

TEST(TerrainModel, AQueryFindsItsTriangleAmongLongSlivers) {
  // A fan of long thin triangles around one point: each listed in many cells.
  std::vector<TerrainPoint> points = {{0, 0, 0}};
  std::vector<TerrainTriangle> triangles;
  const int n = 400;
  for (int k = 0; k <= n; ++k) {
    const double a = k * 3.141592653589793 / n;
    points.push_back({1000 * std::cos(a), 1000 * std::sin(a), 1000.0});
    if (k > 0) triangles.push_back({0, static_cast<std::uint32_t>(k), static_cast<std::uint32_t>(k + 1)});
  }
  CTerrainModel model = modelOf(points, triangles);
  for (double r : {1.0, 100.0, 900.0}) {
    const std::optional<double> z = model.elevationAt(r * std::cos(1.0), r * std::sin(1.0));
    ASSERT_TRUE(z) << r;
    EXPECT_NEAR(*z, r, 0.02 * r);  // a cone, flattened between the spokes
  }
  EXPECT_FALSE(model.elevationAt(-10, -1));
}

}  // namespace
}  // namespace trazmark

namespace trazmark {
namespace {

TEST(TerrainModel, SliversNeverGiveAnElevationOutsideTheirPoints) {
  // Near-degenerate triangles at survey coordinates: their area is rounding,
  // and queries on and beside them must give none or an elevation between
  // their points', never NaN nor a value from far along a tilted sliver.
  const double x0 = 2936000.1, y0 = 365000.3;
  std::vector<TerrainPoint> points;
  std::vector<TerrainTriangle> triangles;
  for (int k = 0; k < 50; ++k) {
    const auto first = static_cast<std::uint32_t>(points.size());
    const double y = y0 + k;
    points.push_back({x0, y, 0});
    points.push_back({x0 + 10, y + 1e-9 * k, 10});
    points.push_back({x0 + 20, y + 3e-9 * (k % 7), 20});
    triangles.push_back({first, first + 1, first + 2});
  }
  CTerrainModel model;
  std::string error;
  ASSERT_TRUE(model.build(points, triangles, 0, error)) << error;
  for (const TerrainTriangle& t : model.triangles()) {
    const TerrainPoint& a = model.points()[t.a];
    const TerrainPoint& b = model.points()[t.b];
    const TerrainPoint& c = model.points()[t.c];
    for (double s : {0.0, 1.0 / 3, 0.5, 0.999}) {
      const double x = a.x + s * (c.x - a.x), y = (a.y + b.y + c.y) / 3;
      if (const std::optional<double> z = model.elevationAt(x, y)) {
        EXPECT_TRUE(*z >= 0 && *z <= 20) << *z;
      }
    }
    const GroundLine line = model.groundAlong(a.x - 1, (a.y + b.y) / 2, c.x + 1, (b.y + c.y) / 2);
    for (const auto& piece : line.pieces)
      for (const GroundVertex& v : piece) EXPECT_TRUE(v.elevation >= 0 && v.elevation <= 20) << v.elevation;
  }
}

}  // namespace
}  // namespace trazmark
