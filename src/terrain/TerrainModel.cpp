#include "terrain/TerrainModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace trazmark {
namespace {

// The grid aims at this many triangles per cell: few enough that a query
// tests a handful, many enough that the cell table stays small beside them.
constexpr double kTrianglesPerCell = 1.0;
// A triangle listed in many cells (a long sliver along the hull) costs an
// entry in each; when the entries outgrow this many per triangle the cells
// are made coarser.
constexpr std::size_t kMaxEntriesPerTriangle = 12;
// A point this far outside a triangle (barycentric, a share of the triangle)
// still lies on its edge: what rounding leaves of a point computed to lie on
// an edge shared by two triangles, so that neither misses it.
constexpr double kOnEdgeTolerance = 1e-12;
// A line that runs within this distance (metres) of a triangle edge runs
// along it; crossings closer together than this along a line are one vertex.
// Far below a survey's precision, far above the rounding of coordinates of
// 10^7 m.
constexpr double kLineTolerance = 1e-8;

double orient(double ax, double ay, double bx, double by, double cx, double cy) {
  return (bx - ax) * (cy - ay) - (by - ay) * (cx - ax);
}

// The elevation at barycentric coordinates (la, lb) of triangle a, b, c,
// taken back onto the triangle: a point the tolerances admit a hair outside a
// sliver would otherwise take its elevation from far along the sliver's plane.
double clampedPlane(const TerrainPoint& a, const TerrainPoint& b, const TerrainPoint& c, double la,
                    double lb) {
  la = std::clamp(la, 0.0, 1.0);
  lb = std::clamp(lb, 0.0, 1.0 - la);
  return la * a.z + lb * b.z + (1 - la - lb) * c.z;
}

bool finite(const TerrainPoint& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z);
}

}  // namespace

bool CTerrainModel::build(std::vector<TerrainPoint> points, std::vector<TerrainTriangle> triangles,
                          double maxEdge, std::string& error) {
  *this = CTerrainModel();
  for (std::size_t i = 0; i < points.size(); ++i)
    if (!finite(points[i])) {
      error = "point " + std::to_string(i + 1) + " is not a finite number";
      return false;
    }
  // The index counts its entries in 32 bits: a dozen per triangle at most.
  if (points.size() >= std::numeric_limits<std::uint32_t>::max() ||
      triangles.size() >= std::numeric_limits<std::uint32_t>::max() / (2 * kMaxEntriesPerTriangle)) {
    error = "too many points or triangles";
    return false;
  }
  const bool limitEdges = maxEdge > 0;  // NaN keeps every triangle, as 0 does
  const double maxEdge2 = maxEdge * maxEdge;
  std::size_t kept = 0;
  std::size_t dropped = 0;
  for (std::size_t i = 0; i < triangles.size(); ++i) {
    TerrainTriangle t = triangles[i];
    if (t.a >= points.size() || t.b >= points.size() || t.c >= points.size()) {
      error = "triangle " + std::to_string(i + 1) + " names a point the model does not hold";
      return false;
    }
    const TerrainPoint& a = points[t.a];
    const TerrainPoint& b = points[t.b];
    const TerrainPoint& c = points[t.c];
    const double area2 = orient(a.x, a.y, b.x, b.y, c.x, c.y);
    if (!(area2 != 0)) {
      ++dropped;
      continue;
    }
    if (limitEdges) {
      auto longer = [&](const TerrainPoint& p, const TerrainPoint& q) {
        const double dx = p.x - q.x, dy = p.y - q.y;
        return dx * dx + dy * dy > maxEdge2;
      };
      if (longer(a, b) || longer(b, c) || longer(c, a)) {
        ++dropped;
        continue;
      }
    }
    // Every triangle turns the same way (a, b, c counter-clockwise in x, y),
    // so the queries test one side of each edge.
    if (area2 < 0) std::swap(t.b, t.c);
    triangles[kept++] = t;
  }
  triangles.resize(kept);
  triangles.shrink_to_fit();
  points_ = std::move(points);
  triangles_ = std::move(triangles);

  summary_.points = points_.size();
  summary_.triangles = triangles_.size();
  summary_.droppedTriangles = dropped;
  if (!triangles_.empty()) {
    double minX = std::numeric_limits<double>::infinity(), maxX = -minX;
    double minY = minX, maxY = -minX, minZ = minX, maxZ = -minX;
    for (const TerrainTriangle& t : triangles_)
      for (std::uint32_t v : {t.a, t.b, t.c}) {
        const TerrainPoint& p = points_[v];
        minX = std::min(minX, p.x), maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y), maxY = std::max(maxY, p.y);
        minZ = std::min(minZ, p.z), maxZ = std::max(maxZ, p.z);
      }
    summary_.minX = minX, summary_.maxX = maxX;
    summary_.minY = minY, summary_.maxY = maxY;
    summary_.minZ = minZ, summary_.maxZ = maxZ;
    buildIndex();
  }
  return true;
}

void CTerrainModel::buildIndex() {
  const double width = summary_.maxX - summary_.minX;
  const double height = summary_.maxY - summary_.minY;
  const double cells = std::max(1.0, static_cast<double>(triangles_.size()) / kTrianglesPerCell);
  double size = std::sqrt(width * height / cells);
  // A model along one axis (a corridor) still gets cells along it.
  size = std::max(size, std::max(width, height) / cells);
  if (!(size > 0) || !std::isfinite(size)) size = 1;
  gridX0_ = summary_.minX;
  gridY0_ = summary_.minY;
  for (;;) {
    cellSize_ = size;
    gridRows_ = static_cast<std::size_t>(width / size) + 1;
    gridColumns_ = static_cast<std::size_t>(height / size) + 1;
    const std::size_t cellCount = gridRows_ * gridColumns_;
    cellStart_.assign(cellCount + 1, 0);
    std::size_t entries = 0;
    bool tooMany = false;
    forEachTriangleCell([&](std::size_t, std::size_t cell) {
      ++cellStart_[cell + 1];
      if (++entries > kMaxEntriesPerTriangle * triangles_.size() + cellCount) tooMany = true;
      return !tooMany;
    });
    if (tooMany) {
      size *= 2;
      continue;
    }
    for (std::size_t i = 0; i < cellCount; ++i) cellStart_[i + 1] += cellStart_[i];
    orderTrianglesByCell();
    cellTriangles_.assign(entries, 0);
    std::vector<std::uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
    forEachTriangleCell([&](std::size_t triangle, std::size_t cell) {
      cellTriangles_[fill[cell]++] = static_cast<std::uint32_t>(triangle);
      return true;
    });
    return;
  }
}

// The triangles in the order of the cells that hold their centroids (a
// counting sort), so that the triangles a query tests lie together in memory.
void CTerrainModel::orderTrianglesByCell() {
  const std::size_t cellCount = gridRows_ * gridColumns_;
  std::vector<std::uint32_t> cellOf(triangles_.size());
  std::vector<std::uint32_t> start(cellCount + 1, 0);
  for (std::size_t i = 0; i < triangles_.size(); ++i) {
    const TerrainTriangle& t = triangles_[i];
    const TerrainPoint& a = points_[t.a];
    const TerrainPoint& b = points_[t.b];
    const TerrainPoint& c = points_[t.c];
    cellOf[i] = static_cast<std::uint32_t>(rowOf((a.x + b.x + c.x) / 3) * gridColumns_ +
                                           columnOf((a.y + b.y + c.y) / 3));
    ++start[cellOf[i] + 1];
  }
  for (std::size_t i = 0; i < cellCount; ++i) start[i + 1] += start[i];
  std::vector<TerrainTriangle> ordered(triangles_.size());
  for (std::size_t i = 0; i < triangles_.size(); ++i) ordered[start[cellOf[i]]++] = triangles_[i];
  triangles_ = std::move(ordered);
}

template <class Visit>
void CTerrainModel::forEachTriangleCell(Visit visit) const {
  for (std::size_t i = 0; i < triangles_.size(); ++i) {
    const TerrainTriangle& t = triangles_[i];
    const TerrainPoint& a = points_[t.a];
    const TerrainPoint& b = points_[t.b];
    const TerrainPoint& c = points_[t.c];
    const std::size_t r0 = rowOf(std::min({a.x, b.x, c.x}));
    const std::size_t r1 = rowOf(std::max({a.x, b.x, c.x}));
    const std::size_t c0 = columnOf(std::min({a.y, b.y, c.y}));
    const std::size_t c1 = columnOf(std::max({a.y, b.y, c.y}));
    for (std::size_t r = r0; r <= r1; ++r)
      for (std::size_t col = c0; col <= c1; ++col)
        if (!visit(i, r * gridColumns_ + col)) return;
  }
}

// Row and column of a coordinate inside the grid's extent (clamped to it, so
// that rounding at the far edge stays in the last cell). Clamped before the
// conversion: a coordinate far beyond the grid (a line of a kilometre-wide
// query, or garbage) has no size_t of its own.
std::size_t CTerrainModel::rowOf(double x) const {
  const double f = (x - gridX0_) / cellSize_;
  if (!(f > 0)) return 0;
  if (!(f < static_cast<double>(gridRows_))) return gridRows_ - 1;
  return std::min(gridRows_ - 1, static_cast<std::size_t>(f));
}

std::size_t CTerrainModel::columnOf(double y) const {
  const double f = (y - gridY0_) / cellSize_;
  if (!(f > 0)) return 0;
  if (!(f < static_cast<double>(gridColumns_))) return gridColumns_ - 1;
  return std::min(gridColumns_ - 1, static_cast<std::size_t>(f));
}

std::optional<double> CTerrainModel::elevationAt(double x, double y) const {
  if (triangles_.empty()) return std::nullopt;
  // Written so that NaN falls outside.
  if (!(x >= summary_.minX && x <= summary_.maxX && y >= summary_.minY && y <= summary_.maxY))
    return std::nullopt;
  const std::size_t cell = rowOf(x) * gridColumns_ + columnOf(y);
  const std::uint32_t* first = cellTriangles_.data() + cellStart_[cell];
  const std::uint32_t* last = cellTriangles_.data() + cellStart_[cell + 1];
  // The triangle that holds the point: each turns counter-clockwise, so the
  // point lies on the inner side of (or on) its three edges.
  for (const std::uint32_t* k = first; k != last; ++k) {
    const TerrainTriangle& t = triangles_[*k];
    const TerrainPoint& a = points_[t.a];
    const TerrainPoint& b = points_[t.b];
    const TerrainPoint& c = points_[t.c];
    const double wa = orient(x, y, b.x, b.y, c.x, c.y);
    const double wb = orient(a.x, a.y, x, y, c.x, c.y);
    const double wc = orient(a.x, a.y, b.x, b.y, x, y);
    const double area = wa + wb + wc;
    // A sliver whose three parts round to nothing is left to the tolerant test.
    if (wa >= 0 && wb >= 0 && wc >= 0 && area > 0) return (wa * a.z + wb * b.z + wc * c.z) / area;
  }
  // None holds it exactly: a point on an edge that rounding put a hair
  // outside every triangle along it still finds ground, in the triangle it is
  // least outside of.
  double bestShare = -std::numeric_limits<double>::infinity();
  double bestZ = 0;
  for (const std::uint32_t* k = first; k != last; ++k) {
    const TerrainTriangle& t = triangles_[*k];
    const TerrainPoint& a = points_[t.a];
    const TerrainPoint& b = points_[t.b];
    const TerrainPoint& c = points_[t.c];
    const double area = orient(a.x, a.y, b.x, b.y, c.x, c.y);
    const double la = orient(x, y, b.x, b.y, c.x, c.y) / area;
    const double lb = orient(a.x, a.y, x, y, c.x, c.y) / area;
    const double lc = 1 - la - lb;
    const double share = std::min({la, lb, lc});
    if (share > bestShare) {
      bestShare = share;
      bestZ = clampedPlane(a, b, c, la, lb);
    }
  }
  if (!(bestShare >= -kOnEdgeTolerance)) return std::nullopt;
  return bestZ;
}

GroundLine CTerrainModel::groundAlong(double x0, double y0, double x1, double y1) const {
  GroundLine line;
  const double dx = x1 - x0, dy = y1 - y0;
  const double length = std::hypot(dx, dy);
  if (triangles_.empty() || !std::isfinite(length) || !std::isfinite(x0) || !std::isfinite(y0))
    return line;
  if (!(length > 0)) {
    // A line of no length: the ground at its one point, if any.
    if (auto z = elevationAt(x0, y0)) line.pieces.push_back({{0, *z}});
    return line;
  }
  if (std::max(x0, x1) < summary_.minX || std::min(x0, x1) > summary_.maxX ||
      std::max(y0, y1) < summary_.minY || std::min(y0, y1) > summary_.maxY)
    return line;

  // The triangles of the cells the line passes: row by row, the columns the
  // line's stretch in that row covers (widened by a hair against rounding).
  std::vector<std::uint32_t> candidates;
  const double margin = cellSize_ * 1e-9 + kLineTolerance;
  const std::size_t rFirst = rowOf(std::min(x0, x1) - margin);
  const std::size_t rLast = rowOf(std::max(x0, x1) + margin);
  for (std::size_t r = rFirst; r <= rLast; ++r) {
    double lo = 0, hi = 1;  // parameter range of the line within the row
    if (dx != 0) {
      const double xa = gridX0_ + static_cast<double>(r) * cellSize_ - margin;
      const double xb = xa + cellSize_ + 2 * margin;
      double ta = (xa - x0) / dx, tb = (xb - x0) / dx;
      if (ta > tb) std::swap(ta, tb);
      // Every triangle lies within the rows' bands, so the line outside the
      // grid needs no cells.
      lo = std::max(lo, ta);
      hi = std::min(hi, tb);
      if (lo > hi) continue;
    }
    const double ya = y0 + lo * dy, yb = y0 + hi * dy;
    const std::size_t cFirst = columnOf(std::min(ya, yb) - margin);
    const std::size_t cLast = columnOf(std::max(ya, yb) + margin);
    for (std::size_t col = cFirst; col <= cLast; ++col) {
      const std::size_t cell = r * gridColumns_ + col;
      candidates.insert(candidates.end(), cellTriangles_.begin() + cellStart_[cell],
                        cellTriangles_.begin() + cellStart_[cell + 1]);
    }
  }
  std::sort(candidates.begin(), candidates.end());
  candidates.erase(std::unique(candidates.begin(), candidates.end()), candidates.end());

  // Each triangle holds one stretch of the line (the line clipped at its
  // three edges); the ground is linear along the stretch.
  struct Stretch {
    double t0, t1, z0, z1;
  };
  std::vector<Stretch> stretches;
  const double tolerance = kLineTolerance;
  // The line's box, widened by a micrometre (more than the tolerance, which
  // reaches farther only at the tip of a sliver): a triangle whose box lies
  // apart from it holds no stretch, and is passed over before its edges.
  const double boxMargin = std::max(1e-6, 100 * tolerance);
  const double boxX0 = std::min(x0, x1) - boxMargin, boxX1 = std::max(x0, x1) + boxMargin;
  const double boxY0 = std::min(y0, y1) - boxMargin, boxY1 = std::max(y0, y1) + boxMargin;
  for (std::uint32_t index : candidates) {
    const TerrainTriangle& t = triangles_[index];
    const TerrainPoint* v[3] = {&points_[t.a], &points_[t.b], &points_[t.c]};
    if (std::max({v[0]->x, v[1]->x, v[2]->x}) < boxX0 || std::min({v[0]->x, v[1]->x, v[2]->x}) > boxX1 ||
        std::max({v[0]->y, v[1]->y, v[2]->y}) < boxY0 || std::min({v[0]->y, v[1]->y, v[2]->y}) > boxY1)
      continue;
    double lo = 0, hi = 1;
    for (int e = 0; e < 3 && lo <= hi; ++e) {
      const TerrainPoint& p = *v[e];
      const TerrainPoint& q = *v[(e + 1) % 3];
      const double edge = std::hypot(q.x - p.x, q.y - p.y);
      // Distances of the line's ends from the edge's line, positive inside.
      const double d0 = orient(p.x, p.y, q.x, q.y, x0, y0) / edge;
      const double d1 = orient(p.x, p.y, q.x, q.y, x1, y1) / edge;
      if (d0 >= -tolerance && d1 >= -tolerance) continue;  // inside, or along the edge
      if (!(d0 != d1)) {
        hi = -1;  // parallel outside
        break;
      }
      const double at = d0 / (d0 - d1);
      if (d1 > d0) lo = std::max(lo, at);
      else hi = std::min(hi, at);
    }
    if (!(hi - lo > tolerance / length)) continue;  // missed, or touched at a point
    const TerrainPoint& a = *v[0];
    const TerrainPoint& b = *v[1];
    const TerrainPoint& c = *v[2];
    const double area = orient(a.x, a.y, b.x, b.y, c.x, c.y);
    auto z = [&](double s) {
      const double x = x0 + s * dx, y = y0 + s * dy;
      return clampedPlane(a, b, c, orient(x, y, b.x, b.y, c.x, c.y) / area,
                          orient(a.x, a.y, x, y, c.x, c.y) / area);
    };
    stretches.push_back({lo, hi, z(lo), z(hi)});
  }
  std::sort(stretches.begin(), stretches.end(),
            [](const Stretch& a, const Stretch& b) { return a.t0 < b.t0 || (a.t0 == b.t0 && a.t1 > b.t1); });

  // Stretches that meet (within the tolerance) continue one piece; a stretch
  // inside the part already covered (the other triangle of an edge the line
  // runs along) adds nothing; a gap between them starts a new piece.
  const double joinT = tolerance / length;
  double end = -1;
  for (const Stretch& s : stretches) {
    if (line.pieces.empty() || s.t0 > end + joinT) {
      line.pieces.push_back({{s.t0 * length, s.z0}});
      line.pieces.back().push_back({s.t1 * length, s.z1});
      end = s.t1;
      continue;
    }
    if (s.t1 <= end + joinT) continue;
    line.pieces.back().push_back({s.t1 * length, s.z1});
    end = s.t1;
  }
  return line;
}

}  // namespace trazmark
