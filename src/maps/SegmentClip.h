#pragma once
// Clipping a map's straight segments to the window, so a line that leaves the
// window ends at its edge instead of being drawn far outside it.

#include <QPointF>
#include <QRectF>
#include <algorithm>

namespace trazmark {

/// Clips the segment a-b to `box` (Liang-Barsky); false when nothing remains.
inline bool clipSegment(QPointF& a, QPointF& b, const QRectF& box) {
  double t0 = 0;
  double t1 = 1;
  const double dx = b.x() - a.x();
  const double dy = b.y() - a.y();
  const double p[4] = {-dx, dx, -dy, dy};
  const double q[4] = {a.x() - box.left(), box.right() - a.x(), a.y() - box.top(), box.bottom() - a.y()};
  for (int i = 0; i < 4; ++i) {
    if (p[i] == 0) {
      if (q[i] < 0) return false;
      continue;
    }
    const double t = q[i] / p[i];
    if (p[i] < 0)
      t0 = std::max(t0, t);
    else
      t1 = std::min(t1, t);
    if (t0 > t1) return false;
  }
  const QPointF start = a;
  a = QPointF(start.x() + t0 * dx, start.y() + t0 * dy);
  b = QPointF(start.x() + t1 * dx, start.y() + t1 * dy);
  return true;
}

}  // namespace trazmark
