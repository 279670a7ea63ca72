#include "maps/MapLabels.h"

#include <algorithm>

namespace trazmark {

bool CLabelPlacer::isFree(const QRect& box) const {
  if (!bounds_.contains(box)) return false;
  return std::none_of(placed_.begin(), placed_.end(), [&](const QRect& r) { return r.intersects(box); });
}

bool CLabelPlacer::place(const QRect& box) {
  if (!isFree(box)) return false;
  placed_.push_back(box);
  return true;
}

}  // namespace trazmark
