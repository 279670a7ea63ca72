#include "alignment/StationLocator.h"

#include <algorithm>
#include <cmath>

namespace trazmark {
namespace {

// Largest turn (radians) between two samples of a curved element: small enough
// that the distance to a point has one minimum between neighbouring samples.
constexpr double kSampleTurn = 0.2;
constexpr int kMaxSamples = 64;
constexpr int kMaxNewtonSteps = 60;
// Newton stops when a step moves the foot less than this (metres).
constexpr double kFootTolerance = 1e-10;
// A Newton step shorter than this (metres) leaves the foot within about κ'·|d|·1e-12
// of the root, far below the tolerance for road curves.
constexpr double kFinalStep = 1e-6;
constexpr double kTwoPi = 6.283185307179586;

double curvatureOf(double radius) { return radius == 0 ? 0.0 : 1.0 / radius; }

// Largest |curvature| along an element (1/m).
double maxCurvature(const CRoadElement& e) {
  switch (e.type) {
    case kElementArc:
      return std::fabs(curvatureOf(e.startRadius));
    case kElementSpiral:
      return std::max(std::fabs(curvatureOf(e.startRadius)), std::fabs(curvatureOf(e.endRadius)));
    default:
      return 0;
  }
}

int sampleCount(const CRoadElement& e) {
  if (e.type == kElementLine) return 2;
  const double turn = e.length * maxCurvature(e);
  // A turn too large to count in samples (or not a number) takes the most;
  // the clamp happens in floating point, before the conversion to int.
  if (!(turn / kSampleTurn < kMaxSamples)) return kMaxSamples;
  return std::clamp(static_cast<int>(std::ceil(turn / kSampleTurn)) + 2, 3, kMaxSamples);
}

// The curvature of a spiral at distance s: it changes linearly along it.
double spiralCurvature(const CRoadElement& e, double s) {
  const double k1 = curvatureOf(e.startRadius);
  const double k2 = curvatureOf(e.endRadius);
  return k1 + (k2 - k1) * (s / e.length);
}

struct Probe {
  StationPoint p;
  double along;   // (P - C)·T: the derivative of -|P - C|²/2 along the element
  double normal;  // (P - C)·N
};

using Sample = ElementSamples::Sample;

std::optional<Sample> sampleAt(const CElementCurve& curve, const CRoadElement& e, double s) {
  const auto p = curve.pointAtMileage(e.startMileage + s, 0);
  if (!p) return std::nullopt;
  return Sample{s, *p, std::cos(p->azimuth), std::sin(p->azimuth)};
}

Probe probeAt(const Sample& q, double x, double y) {
  const double dx = x - q.p.x;
  const double dy = y - q.p.y;
  return Probe{q.p, dx * q.cos + dy * q.sin, -dx * q.sin + dy * q.cos};
}

std::optional<Probe> probe(const CElementCurve& curve, const CRoadElement& e, double s, double x,
                           double y) {
  const auto q = sampleAt(curve, e, s);
  if (!q) return std::nullopt;
  return probeAt(*q, x, y);
}

ElementFoot makeFoot(double s, const StationPoint& p, double x, double y, double beyond) {
  ElementFoot f;
  f.s = s;
  f.x = p.x;
  f.y = p.y;
  f.azimuth = p.azimuth;
  const double dx = x - p.x;
  const double dy = y - p.y;
  f.distanceSquared = dx * dx + dy * dy;
  f.beyond = beyond;
  return f;
}

// The end of an element nearest to (x, y) when no foot lies on it.
std::optional<ElementFoot> nearerEnd(const CRoadElement& e, const ElementSamples& samples, double x,
                                     double y) {
  if (!samples.start || !samples.end) return std::nullopt;
  const Probe a = probeAt(*samples.start, x, y);
  const Probe b = probeAt(*samples.end, x, y);
  const ElementFoot fa = makeFoot(0, a.p, x, y, std::min(a.along, 0.0));
  const ElementFoot fb = makeFoot(e.length, b.p, x, y, std::max(b.along, 0.0));
  return fb.distanceSquared < fa.distanceSquared ? fb : fa;
}

std::optional<ElementFoot> footOnLine(const CRoadElement& e, double x, double y) {
  const double c = std::cos(e.startAzimuth);
  const double sn = std::sin(e.startAzimuth);
  const double t = (x - e.startX) * c + (y - e.startY) * sn;
  const double s = std::clamp(t, 0.0, e.length);
  const auto p = e.pointAtMileage(e.startMileage + s, 0);
  if (!p) return std::nullopt;
  return makeFoot(s, *p, x, y, t < 0 ? t : (t > e.length ? t - e.length : 0.0));
}

std::optional<ElementFoot> footOnArc(const CRoadElement& e, const ElementSamples& samples,
                                     double x, double y) {
  const double r = e.startRadius;
  const double cx = samples.centreX;
  const double cy = samples.centreY;
  const double startAngle = samples.startAngle;
  const double pointAngle = std::atan2(y - cy, x - cx);
  // The radius turns with the tangent: clockwise (azimuth rising) for a right turn.
  double sweep = (pointAngle - startAngle) * (r > 0 ? 1.0 : -1.0);
  sweep = std::fmod(sweep, kTwoPi);
  if (sweep < 0) sweep += kTwoPi;
  const double s = sweep * std::fabs(r);
  if (s <= e.length) {
    const auto p = e.pointAtMileage(e.startMileage + s, 0);
    if (!p) return std::nullopt;
    return makeFoot(s, *p, x, y, 0);
  }
  return nearerEnd(e, samples, x, y);
}

std::optional<ElementFoot> footOnSpiral(const CRoadElement& e, const ElementSamples& samples,
                                        double x, double y) {
  if (!samples.samplesOk || samples.samples.size() < 2) return std::nullopt;
  const int n = static_cast<int>(samples.samples.size());
  // The samples are the element's own, evaluated once; only their distances to
  // the point are new.
  constexpr int kLocal = 64;
  double alongLocal[kLocal];
  std::vector<double> alongSpilled;
  double* along = alongLocal;
  if (n > kLocal) {
    alongSpilled.resize(static_cast<std::size_t>(n));
    along = alongSpilled.data();
  }
  int best = -1;
  double bestD2 = HUGE_VAL;
  double bestNormal = 0;
  for (int j = 0; j < n; ++j) {
    const Probe q = probeAt(samples.samples[static_cast<std::size_t>(j)], x, y);
    along[j] = q.along;
    const double d2 = q.along * q.along + q.normal * q.normal;
    if (d2 < bestD2) {
      bestD2 = d2;
      best = j;
      bestNormal = q.normal;
    }
  }
  // The distance falls while `along` > 0: the minimum lies where it turns
  // negative, next to the nearest sample.
  int lo = best, hi = best;
  if (along[best] > 0) {
    if (best == n - 1) return nearerEnd(e, samples, x, y);
    hi = best + 1;
  } else {
    if (best == 0) return nearerEnd(e, samples, x, y);
    lo = best - 1;
  }
  double a = samples.samples[static_cast<std::size_t>(lo)].s;
  double b = samples.samples[static_cast<std::size_t>(hi)].s;
  double s = best == lo ? a : b;
  const CElementCurve curve(e);
  // Newton starts from the nearest sample, whose probe is already at hand.
  double probeAlong = along[best];
  double probeNormal = bestNormal;
  for (int step = 0; step < kMaxNewtonSteps; ++step) {
    if (step > 0) {
      const auto q = probe(curve, e, s, x, y);
      if (!q) return std::nullopt;
      probeAlong = q->along;
      probeNormal = q->normal;
    }
    if (probeAlong > 0) a = s; else b = s;
    // d(along)/ds = -1 + κ·normal; outside the bracket or on a slope of the
    // wrong sign Newton gives way to bisection.
    const double slope = -1.0 + spiralCurvature(e, s) * probeNormal;
    double next = slope < 0 ? s - probeAlong / slope : 0.5 * (a + b);
    const bool newton = next > a && next < b;
    if (!newton) next = 0.5 * (a + b);
    // A Newton step well clear of the centre of curvature converges
    // quadratically: after one this short the foot is already far finer than
    // the tolerance, and another probe would only confirm it.
    const double moved = std::fabs(next - s);
    const bool done = moved < kFootTolerance || (newton && slope < -0.5 && moved < kFinalStep);
    s = next;
    if (done || b - a < kFootTolerance) break;
  }
  const auto p = curve.pointAtMileage(e.startMileage + s, 0);
  if (!p) return std::nullopt;
  ElementFoot foot = makeFoot(s, *p, x, y, 0);
  // The sampled minimum may sit at an end after all.
  const auto end = nearerEnd(e, samples, x, y);
  if (end && end->distanceSquared < foot.distanceSquared) return end;
  return foot;
}

}  // namespace

std::optional<PlaneBox> elementBox(const CRoadElement& e) {
  if (e.type != kElementLine && e.type != kElementArc && e.type != kElementSpiral) {
    return std::nullopt;
  }
  const int n = sampleCount(e);
  PlaneBox box{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  for (int j = 0; j < n; ++j) {
    const auto p = e.pointAtMileage(e.startMileage + e.length * j / (n - 1), 0);
    if (!p) return std::nullopt;
    box.minX = std::min(box.minX, p->x);
    box.minY = std::min(box.minY, p->y);
    box.maxX = std::max(box.maxX, p->x);
    box.maxY = std::max(box.maxY, p->y);
  }
  // Between two samples h apart a curve of curvature κ bulges at most κh²/8
  // beyond their chord (with room for the turn a sample step allows).
  const double h = e.length / (n - 1);
  const double bulge = maxCurvature(e) * h * h / 4 + 1e-6;
  box.minX -= bulge;
  box.minY -= bulge;
  box.maxX += bulge;
  box.maxY += bulge;
  return box;
}

ElementSamples sampleElement(const CRoadElement& e) {
  ElementSamples r;
  if (e.type != kElementLine && e.type != kElementArc && e.type != kElementSpiral) return r;
  const CElementCurve curve(e);
  r.start = sampleAt(curve, e, 0);
  r.end = sampleAt(curve, e, e.length);
  if (e.type == kElementArc) {
    // The centre lies a radius right of travel for a right turn, left for a left.
    const double radius = e.startRadius;
    r.centreX = e.startX - radius * std::sin(e.startAzimuth);
    r.centreY = e.startY + radius * std::cos(e.startAzimuth);
    r.startAngle = std::atan2(e.startY - r.centreY, e.startX - r.centreX);
  }
  if (e.type == kElementSpiral) {
    const int n = sampleCount(e);
    r.samples.reserve(static_cast<std::size_t>(n));
    for (int j = 0; j < n; ++j) {
      const auto q = sampleAt(curve, e, e.length * j / (n - 1));
      if (!q) return r;
      r.samples.push_back(*q);
    }
    r.samplesOk = true;
  }
  return r;
}

std::optional<ElementFoot> footOnElement(const CRoadElement& e, double x, double y) {
  return footOnElement(e, sampleElement(e), x, y);
}

std::optional<ElementFoot> footOnElement(const CRoadElement& e, const ElementSamples& samples,
                                         double x, double y) {
  switch (e.type) {
    case kElementLine:
      return footOnLine(e, x, y);
    case kElementArc:
      return footOnArc(e, samples, x, y);
    case kElementSpiral:
      return footOnSpiral(e, samples, x, y);
    default:
      return std::nullopt;
  }
}

void CElementBoxTree::build(const std::vector<PlaneBox>& boxes) {
  nodes_.clear();
  items_ = boxes;
  if (boxes.empty()) return;
  auto merge = [](PlaneBox& into, const PlaneBox& b) {
    into.minX = std::min(into.minX, b.minX);
    into.minY = std::min(into.minY, b.minY);
    into.maxX = std::max(into.maxX, b.maxX);
    into.maxY = std::max(into.maxY, b.maxY);
  };
  // Leaves over consecutive items, then parents over consecutive nodes, up to
  // a single root.
  uint32_t levelStart = 0;
  const auto itemCount = static_cast<uint32_t>(boxes.size());
  for (uint32_t i = 0; i < itemCount; i += kFanOut) {
    Node n;
    n.leaf = true;
    n.first = i;
    n.count = std::min(kFanOut, itemCount - i);
    n.box = boxes[i];
    for (uint32_t j = i + 1; j < i + n.count; ++j) merge(n.box, boxes[j]);
    nodes_.push_back(n);
  }
  auto levelEnd = static_cast<uint32_t>(nodes_.size());
  while (levelEnd - levelStart > 1) {
    for (uint32_t i = levelStart; i < levelEnd; i += kFanOut) {
      Node n;
      n.first = i;
      n.count = std::min(kFanOut, levelEnd - i);
      n.box = nodes_[i].box;
      for (uint32_t j = i + 1; j < i + n.count; ++j) merge(n.box, nodes_[j].box);
      nodes_.push_back(n);
    }
    levelStart = levelEnd;
    levelEnd = static_cast<uint32_t>(nodes_.size());
  }
}

void CElementGrid::build(const std::vector<PlaneBox>& boxes) {
  *this = CElementGrid();
  if (boxes.empty() || boxes.size() >= UINT32_MAX / 16) return;
  // Cells about as wide as the items' boxes, widened by half a cell: a point
  // within half a cell of the road finds its nearest item in its own cell.
  double extent = 0;
  PlaneBox all{HUGE_VAL, HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
  for (const PlaneBox& b : boxes) {
    if (!(b.minX <= b.maxX && b.minY <= b.maxY)) return;
    extent += std::max(b.maxX - b.minX, b.maxY - b.minY);
    all.minX = std::min(all.minX, b.minX);
    all.minY = std::min(all.minY, b.minY);
    all.maxX = std::max(all.maxX, b.maxX);
    all.maxY = std::max(all.maxY, b.maxY);
  }
  if (!std::isfinite(all.maxX - all.minX) || !std::isfinite(all.maxY - all.minY)) return;
  double cell = std::max(extent / static_cast<double>(boxes.size()), 1.0);
  // Cells listed and entries kept within a bound: a road of a few long,
  // far-flung elements takes coarser cells.
  const double cellBudget = std::min(64.0 * static_cast<double>(boxes.size()) + 4096, 1e9);
  for (;;) {
    const double margin = cell / 2;
    const double columns = std::floor((all.maxX - all.minX + 2 * margin) / cell) + 1;
    const double rows = std::floor((all.maxY - all.minY + 2 * margin) / cell) + 1;
    double entries = rows;
    if (rows <= cellBudget && columns <= cellBudget) {
      for (const PlaneBox& b : boxes) {
        entries += (std::floor((b.maxX - b.minX + 2 * margin) / cell) + 2) *
                   (std::floor((b.maxY - b.minY + 2 * margin) / cell) + 2);
        if (entries > cellBudget) break;
      }
    }
    if (rows <= cellBudget && columns <= cellBudget && entries <= cellBudget) {
      minX_ = all.minX - margin;
      minY_ = all.minY - margin;
      cell_ = cell;
      margin_ = margin;
      columns_ = static_cast<int32_t>(columns);
      rows_.resize(static_cast<std::size_t>(rows));
      break;
    }
    cell *= 2;
  }
  auto span = [&](const PlaneBox& b, int32_t& i0, int32_t& i1, int32_t& j0, int32_t& j1) {
    const auto clampTo = [](double v, int32_t hi) {
      return static_cast<int32_t>(std::clamp(std::floor(v), 0.0, static_cast<double>(hi - 1)));
    };
    const auto rowCount = static_cast<int32_t>(rows_.size());
    i0 = clampTo((b.minX - margin_ - minX_) / cell_, columns_);
    i1 = clampTo((b.maxX + margin_ - minX_) / cell_, columns_);
    j0 = clampTo((b.minY - margin_ - minY_) / cell_, rowCount);
    j1 = clampTo((b.maxY + margin_ - minY_) / cell_, rowCount);
  };
  // Each row's first and last listed column, then the count of each cell,
  // then the items in place.
  std::vector<int32_t> lastColumn(rows_.size(), -1);
  for (Row& row : rows_) row.firstColumn = columns_;
  int32_t i0 = 0, i1 = 0, j0 = 0, j1 = 0;
  for (const PlaneBox& b : boxes) {
    span(b, i0, i1, j0, j1);
    for (int32_t j = j0; j <= j1; ++j) {
      Row& row = rows_[static_cast<std::size_t>(j)];
      row.firstColumn = std::min(row.firstColumn, i0);
      lastColumn[static_cast<std::size_t>(j)] = std::max(lastColumn[static_cast<std::size_t>(j)], i1);
    }
  }
  uint32_t cells = 0;
  for (std::size_t j = 0; j < rows_.size(); ++j) {
    Row& row = rows_[j];
    row.firstCell = cells;
    row.columns = lastColumn[j] < row.firstColumn ? 0 : lastColumn[j] - row.firstColumn + 1;
    if (row.columns == 0) row.firstColumn = 0;
    cells += static_cast<uint32_t>(row.columns);
  }
  cellStart_.assign(static_cast<std::size_t>(cells) + 1, 0);
  auto cellOf = [&](int32_t i, int32_t j) {
    const Row& row = rows_[static_cast<std::size_t>(j)];
    return static_cast<std::size_t>(row.firstCell) + static_cast<std::size_t>(i - row.firstColumn);
  };
  for (const PlaneBox& b : boxes) {
    span(b, i0, i1, j0, j1);
    for (int32_t j = j0; j <= j1; ++j)
      for (int32_t i = i0; i <= i1; ++i) ++cellStart_[cellOf(i, j) + 1];
  }
  for (std::size_t c = 1; c < cellStart_.size(); ++c) cellStart_[c] += cellStart_[c - 1];
  cellItems_.resize(cellStart_.back());
  std::vector<uint32_t> fill(cellStart_.begin(), cellStart_.end() - 1);
  for (std::size_t k = 0; k < boxes.size(); ++k) {
    span(boxes[k], i0, i1, j0, j1);
    for (int32_t j = j0; j <= j1; ++j)
      for (int32_t i = i0; i <= i1; ++i) cellItems_[fill[cellOf(i, j)]++] = static_cast<uint32_t>(k);
  }
  items_ = boxes;
}

}  // namespace trazmark
