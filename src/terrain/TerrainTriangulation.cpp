#include "terrain/TerrainTriangulation.h"

// CGAL stays in this file: nothing that includes the terrain headers sees it.
#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <utility>

namespace trazmark {
namespace {

constexpr std::uint32_t kNoIndex = std::numeric_limits<std::uint32_t>::max();
// The points are inserted in this many batches, with the progress reported
// (and a cancel heard) between them.
constexpr std::size_t kInsertBatches = 16;
// A crossing of breaklines takes its elevation from the nearest known points
// along the breaklines through it, following at most this many segments of
// further crossings.
constexpr int kMaxCrossingWalk = 10000;

// The index of a triangulation vertex into the model's points; a vertex the
// triangulation makes itself (a crossing of breaklines) has none at first.
struct VertexIndex {
  std::uint32_t value = kNoIndex;
};

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using VertexBase = CGAL::Triangulation_vertex_base_with_info_2<VertexIndex, Kernel>;
using FaceBase = CGAL::Constrained_triangulation_face_base_2<Kernel>;
using Tds = CGAL::Triangulation_data_structure_2<VertexBase, FaceBase>;
// Breaklines may cross: their crossings are computed (inexactly, on exact
// predicates) and become vertices.
using Cdt = CGAL::Constrained_Delaunay_triangulation_2<Kernel, Tds, CGAL::Exact_predicates_tag>;
using Point2 = Kernel::Point_2;

// The place of each input (survey points first, then breakline vertices) in
// the list of distinct places, and how many survey points repeat an earlier
// one's place.
struct Places {
  std::vector<std::uint32_t> of;     // per input, the index of its place
  std::vector<std::uint32_t> first;  // per place, the input that keeps it
  std::size_t duplicatePoints = 0;
};

Places findPlaces(const std::vector<TerrainPoint>& all, std::size_t surveyCount) {
  std::vector<std::uint32_t> order(all.size());
  std::iota(order.begin(), order.end(), 0u);
  std::sort(order.begin(), order.end(), [&](std::uint32_t a, std::uint32_t b) {
    const TerrainPoint& p = all[a];
    const TerrainPoint& q = all[b];
    if (p.x != q.x) return p.x < q.x;
    if (p.y != q.y) return p.y < q.y;
    return a < b;
  });
  // keeper[i]: the lowest input index of i's place (a survey point whenever
  // one is there, since they come first).
  std::vector<std::uint32_t> keeper(all.size());
  Places places;
  for (std::size_t i = 0; i < order.size();) {
    std::size_t j = i;
    std::size_t survey = 0;
    while (j < order.size() && all[order[j]].x == all[order[i]].x &&
           all[order[j]].y == all[order[i]].y) {
      keeper[order[j]] = order[i];
      if (order[j] < surveyCount) ++survey;
      ++j;
    }
    if (survey > 1) places.duplicatePoints += survey - 1;
    i = j;
  }
  places.of.resize(all.size());
  for (std::uint32_t i = 0; i < all.size(); ++i) {
    if (keeper[i] == i) {
      places.of[i] = static_cast<std::uint32_t>(places.first.size());
      places.first.push_back(i);
    } else {
      places.of[i] = places.of[keeper[i]];  // keeper[i] < i: already placed
    }
  }
  return places;
}

Cdt::Vertex_handle otherEnd(const Cdt::Edge& e, const Cdt::Vertex_handle& v) {
  Cdt::Vertex_handle a = e.first->vertex(Cdt::cw(e.second));
  return a == v ? e.first->vertex(Cdt::ccw(e.second)) : a;
}

// The elevation at a crossing of breaklines: along each constrained edge out
// of it, the first point with an elevation (following the breakline straight
// on through further crossings), weighted by the inverse of its distance
// along the line, which on one straight breakline is linear interpolation
// between its two neighbours.
double crossingElevation(const Cdt& cdt, Cdt::Vertex_handle v, const std::vector<TerrainPoint>& points) {
  double weights = 0, sum = 0;
  Cdt::Edge_circulator circulator = cdt.incident_edges(v), done = circulator;
  if (circulator == nullptr) return 0;
  do {
    const Cdt::Edge e = *circulator;
    if (cdt.is_infinite(e) || !cdt.is_constrained(e)) continue;
    Cdt::Vertex_handle previous = v;
    Cdt::Vertex_handle here = otherEnd(e, v);
    double distance = std::sqrt(CGAL::to_double(CGAL::squared_distance(v->point(), here->point())));
    for (int step = 0; here->info().value == kNoIndex && step < kMaxCrossingWalk; ++step) {
      // Straight on: the constrained edge out of `here` closest to the
      // direction we came in.
      const double inX = here->point().x() - previous->point().x();
      const double inY = here->point().y() - previous->point().y();
      double bestCos = -2;
      Cdt::Vertex_handle best;
      Cdt::Edge_circulator c = cdt.incident_edges(here), end = c;
      do {
        if (cdt.is_infinite(*c) || !cdt.is_constrained(*c)) continue;
        Cdt::Vertex_handle next = otherEnd(*c, here);
        if (next == previous) continue;
        const double outX = next->point().x() - here->point().x();
        const double outY = next->point().y() - here->point().y();
        const double cosine = (inX * outX + inY * outY) /
                              (std::hypot(inX, inY) * std::hypot(outX, outY));
        if (cosine > bestCos) bestCos = cosine, best = next;
      } while (++c != end);
      if (best == Cdt::Vertex_handle()) break;
      distance += std::sqrt(CGAL::to_double(CGAL::squared_distance(here->point(), best->point())));
      previous = here;
      here = best;
    }
    if (here->info().value != kNoIndex && distance > 0) {
      weights += 1 / distance;
      sum += points[here->info().value].z / distance;
    }
  } while (++circulator != done);
  return weights > 0 ? sum / weights : 0;
}

}  // namespace

bool triangulateTerrain(std::vector<TerrainPoint> points,
                        const std::vector<std::vector<TerrainPoint>>& breaklines, double maxEdge,
                        CTerrainModel& model, std::string& error,
                        const std::function<bool(double)>& progress) {
  auto report = [&](double share) {
    if (progress && !progress(share)) {
      error = "cancelled";
      return false;
    }
    return true;
  };
  for (const TerrainPoint& p : points)
    if (!(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z))) {
      error = "a point is not a finite number";
      return false;
    }
  const std::size_t surveyCount = points.size();
  for (const auto& line : breaklines) points.insert(points.end(), line.begin(), line.end());
  if (points.size() >= kNoIndex) {
    error = "too many points";
    return false;
  }
  const Places places = findPlaces(points, surveyCount);
  if (!report(0.1)) return false;

  std::vector<TerrainPoint> modelPoints;
  modelPoints.reserve(places.first.size());
  for (std::uint32_t input : places.first) modelPoints.push_back(points[input]);

  Cdt cdt;
  {
    std::vector<std::pair<Point2, VertexIndex>> batch;
    const std::size_t count = modelPoints.size();
    const std::size_t batchSize = count / kInsertBatches + 1;
    batch.reserve(std::min(batchSize, count));
    for (std::size_t start = 0; start < count; start += batchSize) {
      batch.clear();
      for (std::size_t i = start; i < std::min(count, start + batchSize); ++i)
        batch.emplace_back(Point2(modelPoints[i].x, modelPoints[i].y),
                           VertexIndex{static_cast<std::uint32_t>(i)});
      cdt.insert(batch.begin(), batch.end());
      if (!report(0.1 + 0.6 * static_cast<double>(start + batch.size()) / static_cast<double>(count)))
        return false;
    }
  }
  if (cdt.dimension() < 2) {
    error = modelPoints.size() < 3 ? "fewer than three points: no ground to triangulate"
                                   : "the points all lie on one line: no ground to triangulate";
    return false;
  }

  if (!breaklines.empty()) {
    std::vector<Cdt::Vertex_handle> handles(modelPoints.size());
    for (auto v = cdt.finite_vertices_begin(); v != cdt.finite_vertices_end(); ++v)
      handles[v->info().value] = v;
    std::size_t input = surveyCount;
    for (const auto& line : breaklines) {
      for (std::size_t k = 0; k + 1 < line.size(); ++k) {
        Cdt::Vertex_handle a = handles[places.of[input + k]];
        Cdt::Vertex_handle b = handles[places.of[input + k + 1]];
        if (a != b) cdt.insert_constraint(a, b);
      }
      input += line.size();
    }
    // Crossings of breaklines are new vertices: they join the model's points.
    std::vector<Cdt::Vertex_handle> crossings;
    for (auto v = cdt.finite_vertices_begin(); v != cdt.finite_vertices_end(); ++v)
      if (v->info().value == kNoIndex) crossings.push_back(v);
    for (Cdt::Vertex_handle v : crossings)
      modelPoints.push_back({v->point().x(), v->point().y(), crossingElevation(cdt, v, modelPoints)});
    for (std::size_t k = 0; k < crossings.size(); ++k)
      crossings[k]->info().value = static_cast<std::uint32_t>(modelPoints.size() - crossings.size() + k);
    if (!report(0.85)) return false;
  }

  std::vector<TerrainTriangle> triangles;
  triangles.reserve(cdt.number_of_faces());
  for (auto f = cdt.finite_faces_begin(); f != cdt.finite_faces_end(); ++f)
    triangles.push_back({f->vertex(0)->info().value, f->vertex(1)->info().value,
                         f->vertex(2)->info().value});
  cdt.clear();
  if (!report(0.9)) return false;

  CTerrainModel built;
  if (!built.build(std::move(modelPoints), std::move(triangles), maxEdge, error)) return false;
  built.setDuplicatePoints(places.duplicatePoints);
  if (!report(1.0)) return false;
  model = std::move(built);
  return true;
}

}  // namespace trazmark
