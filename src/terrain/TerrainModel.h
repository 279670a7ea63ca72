#pragma once
// The existing ground as a triangulated surface (TIN): points with their
// elevations and the triangles between them, with a spatial index so that a
// query looks only at the triangles near it.
//
// Coordinates follow the survey convention: x north, y east, z up, metres.
// Elevations inside a triangle are the plane through its three points; there
// is no ground outside the triangles (nor in a hole that the model leaves
// open): a query there gives none, never an extrapolated value.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace trazmark {

/// One point of the ground, metres (x north, y east, z elevation).
struct TerrainPoint {
  double x = 0;
  double y = 0;
  double z = 0;
};

/// One triangle of the ground: indices into the model's points.
struct TerrainTriangle {
  std::uint32_t a = 0;
  std::uint32_t b = 0;
  std::uint32_t c = 0;
};

/// One vertex of a ground line: the distance from the line's start (metres)
/// and the ground's elevation there.
struct GroundVertex {
  double distance = 0;
  double elevation = 0;
};

/// The ground along a straight line: pieces of polyline where the line runs
/// over the TIN, in order of distance; between two pieces, and before the
/// first or after the last within the line, the line leaves the TIN (a gap).
/// Each piece has a vertex at every crossing of a triangle edge and at the
/// ends of the piece (where the line starts, ends, enters or leaves the TIN).
struct GroundLine {
  std::vector<std::vector<GroundVertex>> pieces;
  bool empty() const { return pieces.empty(); }
};

/// What a model holds, for `trazmark-cli terrain info` and the window.
struct TerrainSummary {
  std::size_t points = 0;
  std::size_t triangles = 0;
  double minX = 0, minY = 0, maxX = 0, maxY = 0;  ///< extent of the triangles' points
  double minZ = 0, maxZ = 0;
  std::size_t droppedTriangles = 0;  ///< left out: longer than the longest edge allowed, or degenerate
  std::size_t duplicatePoints = 0;   ///< points of the same x, y as an earlier one, left out
};

class CTerrainModel {
 public:
  /// Takes the points and triangles; triangles that name a missing point
  /// and points that are not finite fail, degenerate triangles (no area) are
  /// dropped and counted. Builds the index.
  /// @param maxEdge triangles with an edge longer than this (metres, plan
  ///   length) are dropped and counted; 0 or less keeps every triangle
  /// @return false with a one-line `error`, the model left empty
  bool build(std::vector<TerrainPoint> points, std::vector<TerrainTriangle> triangles,
             double maxEdge, std::string& error);

  bool empty() const { return triangles_.empty(); }
  /// The points as given to build (those no triangle uses included).
  const std::vector<TerrainPoint>& points() const { return points_; }
  /// The triangles kept, each turning counter-clockwise in (x, y) (a, b, c
  /// with x north, y east: clockwise on a map), grouped by place rather than
  /// in the order given.
  const std::vector<TerrainTriangle>& triangles() const { return triangles_; }
  /// Counts and extents; `duplicatePoints` is what the reader reported
  /// (setDuplicatePoints), the model itself never sees the duplicates.
  const TerrainSummary& summary() const { return summary_; }
  void setDuplicatePoints(std::size_t count) { summary_.duplicatePoints = count; }

  /// The ground's elevation at (x, y): linear in the triangle that holds the
  /// point (on an edge or a vertex, either triangle gives the same value);
  /// none outside the TIN.
  std::optional<double> elevationAt(double x, double y) const;

  /// The ground along the straight line from (x0, y0) to (x1, y1): exact,
  /// with a vertex at every crossing of a triangle edge (see GroundLine).
  /// A line through a vertex has one vertex there; a line within 10 nm of an
  /// edge runs along it (the ground of the triangles beside it, which agree);
  /// crossings closer than 10 nm along the line are one vertex. A line of no
  /// length has one vertex where it has ground.
  GroundLine groundAlong(double x0, double y0, double x1, double y1) const;

 private:
  void buildIndex();
  void orderTrianglesByCell();
  // Calls visit(triangle, cell) for every cell a triangle's box meets, until
  // it returns false.
  template <class Visit>
  void forEachTriangleCell(Visit visit) const;
  std::size_t rowOf(double x) const;
  std::size_t columnOf(double y) const;

  std::vector<TerrainPoint> points_;
  std::vector<TerrainTriangle> triangles_;
  TerrainSummary summary_;
  // The spatial index: a uniform grid over the extent, each cell listing the
  // triangles whose bounding box meets it.
  double gridX0_ = 0, gridY0_ = 0, cellSize_ = 1;
  std::size_t gridRows_ = 0, gridColumns_ = 0;
  std::vector<std::uint32_t> cellStart_;  // per cell, into cellTriangles_ (size cells + 1)
  std::vector<std::uint32_t> cellTriangles_;
};

}  // namespace trazmark
