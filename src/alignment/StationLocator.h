#pragma once
// The inverse of the station query: from a plane point to the nearest place on
// the centre line. A box tree over the elements finds the candidates, and each
// candidate element is solved for the foot of the perpendicular.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <iterator>
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
  double distanceSquared(double x, double y) const {
    const double dx = x < minX ? minX - x : (x > maxX ? x - maxX : 0.0);
    const double dy = y < minY ? minY - y : (y > maxY ? y - maxY : 0.0);
    return dx * dx + dy * dy;
  }
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
  /// An arc's centre and the direction from it to the start, radians.
  double centreX = 0;
  double centreY = 0;
  double startAngle = 0;
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
  /// boxes. `visit(item, boxDistanceSquared)` returns the squared distance of
  /// the best answer found so far; the walk stops once no box left can be
  /// nearer than that.
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

/// A uniform grid over the same items' boxes, each box widened by a margin and
/// listed in every cell it touches; rows keep only the columns between their
/// first and last listed cell. A point near the road finds its candidates in
/// its own cell, nearly always without looking further.
class CElementGrid {
 public:
  /// Builds the grid; item i has box `boxes[i]`.
  void build(const std::vector<PlaneBox>& boxes);
  bool empty() const { return rows_.empty(); }

  /// Visits items in increasing order of the distance from (x, y) to their
  /// boxes, ring of cells by ring, until no item left can be nearer than the
  /// best answer found (what `visit` returns, m², as for the tree). Returns false, having
  /// perhaps visited some items, when the point lies off the grid or too far
  /// from every item for a few rings: the caller then searches the tree.
  template <class Visit>
  bool nearest(double x, double y, Visit&& visit) const;

 private:
  struct Row {
    int32_t firstColumn = 0;
    int32_t columns = 0;  ///< 0: an empty row
    uint32_t firstCell = 0;  ///< into cellStart_
  };
  static constexpr int kMaxRings = 3;
  static constexpr std::size_t kMaxCandidates = 96;

  double minX_ = 0;
  double minY_ = 0;
  double cell_ = 1;
  double margin_ = 0;
  int32_t columns_ = 0;
  std::vector<Row> rows_;
  std::vector<uint32_t> cellStart_;  ///< per listed cell, into cellItems_, and one past the last
  std::vector<uint32_t> cellItems_;
  std::vector<PlaneBox> items_;
};

template <class Visit>
bool CElementGrid::nearest(double x, double y, Visit&& visit) const {
  if (rows_.empty()) return false;
  const double fx = (x - minX_) / cell_;
  const double fy = (y - minY_) / cell_;
  const auto rowCount = static_cast<int32_t>(rows_.size());
  if (!(fx >= 0 && fx < columns_ && fy >= 0 && fy < rowCount)) return false;
  const auto cx = static_cast<int32_t>(fx);
  const auto cy = static_cast<int32_t>(fy);
  struct Candidate {
    double distanceSquared;
    uint32_t item;
  };
  Candidate candidates[kMaxCandidates];
  uint32_t seen[kMaxCandidates * 2];
  std::size_t seenCount = 0;
  double best = HUGE_VAL;
  for (int32_t r = 0; r <= kMaxRings; ++r) {
    std::size_t count = 0;
    for (int32_t j = cy - r; j <= cy + r; ++j) {
      if (j < 0 || j >= rowCount) continue;
      const Row& row = rows_[static_cast<std::size_t>(j)];
      const bool wholeRow = j == cy - r || j == cy + r;
      for (int32_t i = cx - r; i <= cx + r; i += (wholeRow || r == 0) ? 1 : 2 * r) {
        const int32_t column = i - row.firstColumn;
        if (column < 0 || column >= row.columns) continue;
        const std::size_t c = row.firstCell + static_cast<std::size_t>(column);
        for (uint32_t k = cellStart_[c]; k < cellStart_[c + 1]; ++k) {
          const uint32_t item = cellItems_[k];
          // The one cell of the first ring lists each item once; wider rings
          // meet items already seen in the cells nearer in.
          if (r > 0) {
            if (std::find(seen, seen + seenCount, item) != seen + seenCount) continue;
            if (seenCount == std::size(seen)) return false;
            seen[seenCount++] = item;
          }
          if (count == kMaxCandidates) return false;
          candidates[count++] = {items_[item].distanceSquared(x, y), item};
        }
      }
    }
    if (r == 0) {
      if (count > std::size(seen)) return false;
      for (std::size_t k = 0; k < count; ++k) seen[k] = candidates[k].item;
      seenCount = count;
    }
    // A cell holds a handful of items: an insertion sort suits them.
    for (std::size_t k = 1; k < count; ++k) {
      const Candidate c = candidates[k];
      std::size_t m = k;
      for (; m > 0 && (c.distanceSquared < candidates[m - 1].distanceSquared ||
                       (c.distanceSquared == candidates[m - 1].distanceSquared &&
                        c.item < candidates[m - 1].item));
           --m) {
        candidates[m] = candidates[m - 1];
      }
      candidates[m] = c;
    }
    for (std::size_t k = 0; k < count && !(candidates[k].distanceSquared > best); ++k) {
      best = visit(static_cast<std::size_t>(candidates[k].item), candidates[k].distanceSquared);
    }
    // Every item outside the cells searched so far has its widened box outside
    // them too, so it lies farther than the margin beyond their edge; past the
    // grid's own edge there is nothing.
    double edge = HUGE_VAL;
    if (cx - r > 0) edge = std::min(edge, x - (minX_ + (cx - r) * cell_));
    if (cx + r < columns_ - 1) edge = std::min(edge, minX_ + (cx + r + 1) * cell_ - x);
    if (cy - r > 0) edge = std::min(edge, y - (minY_ + (cy - r) * cell_));
    if (cy + r < rowCount - 1) edge = std::min(edge, minY_ + (cy + r + 1) * cell_ - y);
    if (edge == HUGE_VAL) return true;
    const double reach = std::max(edge, 0.0) + margin_;
    if (best <= reach * reach) return true;
  }
  return false;
}

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
      best = visit(static_cast<std::size_t>(e.id), e.distanceSquared);
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
