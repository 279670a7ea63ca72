#pragma once
// The inverse of the station query: from a plane point to the nearest place on
// the centre line. A box tree over the elements finds the candidates, and each
// candidate element is solved for the foot of the perpendicular.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "alignment/RoadElement.h"

namespace trazmark {

/// An axis-aligned box in plane coordinates (metres, X north, Y east).
struct PlaneBox {
  double minX = 0;
  double minY = 0;
  double maxX = 0;
  double maxY = 0;

  /// Squared distance (m²) from a point to the box; 0 inside it.
  double distanceSquared(double x, double y) const;
};

/// The box that holds an element with every point of its centre line, from
/// points sampled along it widened by the most a curve can bulge between two
/// samples. Empty for a start point or an element that cannot be evaluated.
std::optional<PlaneBox> elementBox(const CRoadElement& element);

/// The place on one element nearest to a point.
struct ElementFoot {
  double s = 0;         ///< distance along the element, metres, in [0, length]
  double x = 0;         ///< the centre-line point there, metres north
  double y = 0;         ///< metres east
  double azimuth = 0;   ///< tangent there, radians
  double distanceSquared = 0;  ///< from the point, m²
  /// 0 when the point lies square to the element; otherwise how far (metres,
  /// along the tangent) the point lies before its start (negative) or beyond
  /// its end (positive), where the nearest place is that end.
  double beyond = 0;
};

/// What the foot search needs of an element whatever the point, evaluated once:
/// its two ends, and a spiral's samples, each with the sine and cosine of its
/// tangent.
struct ElementSamples {
  struct Sample {
    double s = 0;  ///< distance along the element, metres
    StationPoint p;
    double cos = 1;  ///< of p.azimuth
    double sin = 0;
  };
  std::vector<Sample> samples;  ///< a spiral's, in order along it
  bool samplesOk = false;       ///< every sample could be evaluated
  std::optional<Sample> start;  ///< at distance 0
  std::optional<Sample> end;    ///< at the length
};
ElementSamples sampleElement(const CRoadElement& element);

/// The nearest place on a line, arc or spiral to (x, y): the foot of the
/// perpendicular where one lies on the element (the nearest one where there
/// are several), else the nearer end. A line and an arc are solved in closed
/// form; a spiral by Newton's method from the nearest of a few samples, kept
/// inside the bracket that holds the minimum. Empty for a start point or an
/// element that cannot be evaluated.
std::optional<ElementFoot> footOnElement(const CRoadElement& element, double x, double y);
/// The same with the element's samples evaluated beforehand (sampleElement).
std::optional<ElementFoot> footOnElement(const CRoadElement& element,
                                         const ElementSamples& samples, double x, double y);

/// A static box tree over items, packed from the items in their given order:
/// consecutive elements of a road lie near each other, so packing them in
/// chain order gives tight nodes without sorting.
class CElementBoxTree {
 public:
  /// Builds the tree; item i has box `boxes[i]`.
  void build(const std::vector<PlaneBox>& boxes);
  bool empty() const { return nodes_.empty(); }

  /// Visits items in increasing order of the distance from (x, y) to their
  /// boxes. `visit(item)` returns the squared distance of the best answer
  /// found so far; the walk stops once no box left can be nearer than that.
  template <class Visit>
  void nearest(double x, double y, Visit&& visit) const;

 private:
  struct Node {
    PlaneBox box;
    uint32_t first = 0;  ///< first child node, or first item of a leaf
    uint32_t count = 0;
    bool leaf = false;
  };
  struct Entry {
    double distanceSquared;
    uint32_t id;
    bool item;
  };
  static constexpr uint32_t kFanOut = 8;

  std::vector<Node> nodes_;  ///< the root is the last node
  std::vector<PlaneBox> items_;
};

template <class Visit>
void CElementBoxTree::nearest(double x, double y, Visit&& visit) const {
  if (nodes_.empty()) return;
  // Best first: a heap of nodes and items keyed by their box distance, on the
  // stack while it fits (it nearly always does), else on the free store.
  constexpr std::size_t kLocal = 128;
  Entry local[kLocal];
  std::vector<Entry> spilled;
  Entry* heap = local;
  std::size_t size = 0;
  auto push = [&](const Entry& entry) {
    if (heap == local && size == kLocal) {
      spilled.assign(local, local + kLocal);
      heap = nullptr;
    }
    if (heap == local) {
      heap[size++] = entry;
    } else {
      spilled.push_back(entry);
      heap = spilled.data();
      ++size;
    }
  };
  auto later = [](const Entry& a, const Entry& b) { return a.distanceSquared > b.distanceSquared; };
  const auto root = static_cast<uint32_t>(nodes_.size() - 1);
  push({nodes_[root].box.distanceSquared(x, y), root, false});
  double best = HUGE_VAL;
  while (size > 0) {
    std::pop_heap(heap, heap + size, later);
    const Entry e = heap[--size];
    if (heap != local) spilled.pop_back();
    if (e.distanceSquared > best) break;
    if (e.item) {
      best = visit(static_cast<std::size_t>(e.id));
      continue;
    }
    const Node& n = nodes_[e.id];
    for (uint32_t c = n.first; c < n.first + n.count; ++c) {
      const PlaneBox& b = n.leaf ? items_[c] : nodes_[c].box;
      const double d = b.distanceSquared(x, y);
      if (d > best) continue;
      push({d, c, n.leaf});
      std::push_heap(heap, heap + size, later);
    }
  }
}

}  // namespace trazmark
