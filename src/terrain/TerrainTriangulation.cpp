#include "terrain/TerrainTriangulation.h"

// CGAL stays in this file: nothing that includes the terrain headers sees it.
#include <CGAL/Constrained_Delaunay_triangulation_2.h>
#include <CGAL/Delaunay_triangulation_2.h>
#include <CGAL/Exact_predicates_inexact_constructions_kernel.h>
#include <CGAL/Spatial_sort_traits_adapter_2.h>
#include <CGAL/Triangulation_vertex_base_with_info_2.h>
#include <CGAL/property_map.h>
#include <CGAL/spatial_sort.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <numeric>
#include <utility>

namespace trazmark {
namespace {

constexpr std::uint32_t kNoIndex = std::numeric_limits<std::uint32_t>::max();
// The progress is reported (and a cancel heard) every this many points.
constexpr std::size_t kProgressPoints = 65536;
// A crossing of breaklines takes its elevation from the nearest known points
// along the breaklines through it, following at most this many segments of
// further crossings.
constexpr int kMaxCrossingWalk = 10000;

// While inserting: the input (survey points first, then breakline vertices)
// whose place a vertex is, the lowest when several share it; afterwards the
// index of the vertex in the model's points. A vertex the triangulation makes
// itself (a crossing of breaklines) has none at first.
struct VertexIndex {
  std::uint32_t value = kNoIndex;
};

using Kernel = CGAL::Exact_predicates_inexact_constructions_kernel;
using Point2 = Kernel::Point_2;
using VertexBase = CGAL::Triangulation_vertex_base_with_info_2<VertexIndex, Kernel>;
// Without breaklines the plain Delaunay triangulation, which inserts faster.
using Dt = CGAL::Delaunay_triangulation_2<
    Kernel, CGAL::Triangulation_data_structure_2<VertexBase, CGAL::Triangulation_face_base_2<Kernel>>>;
// Breaklines may cross: their crossings are computed (inexactly, on exact
// predicates) and become vertices.
using Cdt = CGAL::Constrained_Delaunay_triangulation_2<
    Kernel,
    CGAL::Triangulation_data_structure_2<VertexBase, CGAL::Constrained_triangulation_face_base_2<Kernel>>,
    CGAL::Exact_predicates_tag>;

// What inserting the inputs leaves: the vertices in the order they were made
// (along a space-filling curve, so that neighbours in the ground are
// neighbours in memory), and the vertex of each breakline input.
template <class Triangulation>
struct Inserted {
  std::vector<typename Triangulation::Vertex_handle> vertices;
  std::vector<typename Triangulation::Vertex_handle> breaklineVertices;
  std::size_t duplicatePoints = 0;
};

// Inserts every input in the order of a space-filling curve, each located
// from the one before. An input at the place of an existing vertex is that
// vertex; the vertex keeps the lowest input index (a survey point before any
// breakline vertex, the first of several survey points).
template <class Triangulation>
bool insertAll(Triangulation& triangulation, const std::vector<TerrainPoint>& all, std::size_t surveyCount,
               Inserted<Triangulation>& out, const std::function<bool(double)>& report) {
  std::vector<Point2> places;
  places.reserve(all.size());
  for (const TerrainPoint& p : all) places.emplace_back(p.x, p.y);
  std::vector<std::size_t> order(all.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  using Traits = CGAL::Spatial_sort_traits_adapter_2<Kernel, CGAL::Pointer_property_map<Point2>::type>;
  CGAL::spatial_sort(order.begin(), order.end(), Traits(CGAL::make_property_map(places)));
  if (!report(0.1)) return false;

  out.vertices.reserve(all.size());
  out.breaklineVertices.resize(all.size() - surveyCount);
  std::size_t surveyVertices = 0;  // vertices holding at least one survey point
  typename Triangulation::Face_handle hint;
  for (std::size_t k = 0; k < order.size(); ++k) {
    if (k % kProgressPoints == kProgressPoints - 1 &&
        !report(0.1 + 0.6 * static_cast<double>(k) / static_cast<double>(order.size())))
      return false;
    const auto input = static_cast<std::uint32_t>(order[k]);
    typename Triangulation::Vertex_handle v = triangulation.insert(places[input], hint);
    hint = v->face();
    std::uint32_t& held = v->info().value;
    if (held == kNoIndex) {
      out.vertices.push_back(v);
      if (input < surveyCount) ++surveyVertices;
      held = input;
    } else {
      if (input < surveyCount && held >= surveyCount) ++surveyVertices;
      held = std::min(held, input);
    }
    if (input >= surveyCount) out.breaklineVertices[input - surveyCount] = v;
  }
  out.duplicatePoints = surveyCount - surveyVertices;
  return true;
}

// The model's points in the order the vertices were made; each vertex's
// info becomes its index among them.
template <class Triangulation>
std::vector<TerrainPoint> numberVertices(const std::vector<TerrainPoint>& all,
                                         const Inserted<Triangulation>& inserted) {
  std::vector<TerrainPoint> points;
  points.reserve(inserted.vertices.size());
  for (const auto& v : inserted.vertices) {
    points.push_back(all[v->info().value]);
    v->info().value = static_cast<std::uint32_t>(points.size() - 1);
  }
  return points;
}

template <class Triangulation>
std::vector<TerrainTriangle> trianglesOf(const Triangulation& triangulation) {
  std::vector<TerrainTriangle> triangles;
  triangles.reserve(triangulation.number_of_faces());
  for (auto f = triangulation.finite_faces_begin(); f != triangulation.finite_faces_end(); ++f)
    triangles.push_back({f->vertex(0)->info().value, f->vertex(1)->info().value, f->vertex(2)->info().value});
  return triangles;
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
  const std::size_t surveyCount = points.size();
  for (const auto& line : breaklines) points.insert(points.end(), line.begin(), line.end());
  for (const TerrainPoint& p : points)
    if (!(std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.z))) {
      error = "a point is not a finite number";
      return false;
    }
  if (points.size() >= kNoIndex) {
    error = "too many points";
    return false;
  }
  if (!report(0)) return false;

  std::vector<TerrainPoint> modelPoints;
  std::vector<TerrainTriangle> triangles;
  std::size_t duplicatePoints = 0;
  auto tooFew = [&](std::size_t vertices) {
    error = vertices < 3 ? "fewer than three points: no ground to triangulate"
                         : "the points all lie on one line: no ground to triangulate";
    return false;
  };
  if (breaklines.empty()) {
    Dt dt;
    Inserted<Dt> inserted;
    if (!insertAll(dt, points, surveyCount, inserted, report)) return false;
    if (dt.dimension() < 2) return tooFew(inserted.vertices.size());
    duplicatePoints = inserted.duplicatePoints;
    modelPoints = numberVertices(points, inserted);
    triangles = trianglesOf(dt);
  } else {
    Cdt cdt;
    Inserted<Cdt> inserted;
    if (!insertAll(cdt, points, surveyCount, inserted, report)) return false;
    if (cdt.dimension() < 2) return tooFew(inserted.vertices.size());
    duplicatePoints = inserted.duplicatePoints;
    modelPoints = numberVertices(points, inserted);
    std::size_t input = 0;
    for (const auto& line : breaklines) {
      for (std::size_t k = 0; k + 1 < line.size(); ++k) {
        const Cdt::Vertex_handle a = inserted.breaklineVertices[input + k];
        const Cdt::Vertex_handle b = inserted.breaklineVertices[input + k + 1];
        if (a != b) cdt.insert_constraint(a, b);
      }
      input += line.size();
    }
    // Crossings of breaklines are new vertices: they join the model's points.
    std::vector<Cdt::Vertex_handle> crossings;
    for (auto v = cdt.finite_vertices_begin(); v != cdt.finite_vertices_end(); ++v)
      if (v->info().value == kNoIndex) crossings.push_back(v);
    std::vector<TerrainPoint> crossingPoints;
    for (Cdt::Vertex_handle v : crossings)
      crossingPoints.push_back({v->point().x(), v->point().y(), crossingElevation(cdt, v, modelPoints)});
    for (std::size_t k = 0; k < crossings.size(); ++k) {
      crossings[k]->info().value = static_cast<std::uint32_t>(modelPoints.size());
      modelPoints.push_back(crossingPoints[k]);
    }
    triangles = trianglesOf(cdt);
  }
  points.clear();
  points.shrink_to_fit();
  if (!report(0.8)) return false;

  CTerrainModel built;
  if (!built.build(std::move(modelPoints), std::move(triangles), maxEdge, error)) return false;
  built.setDuplicatePoints(duplicatePoints);
  if (!report(1.0)) return false;
  model = std::move(built);
  return true;
}

}  // namespace trazmark
