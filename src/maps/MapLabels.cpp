#include "maps/MapLabels.h"

#include <algorithm>

namespace trazmark {

bool CLabelPlacer::place(const QRect& box) {
  if (!bounds_.contains(box)) return false;
  if (std::any_of(placed_.begin(), placed_.end(), [&](const QRect& r) { return r.intersects(box); }))
    return false;
  placed_.push_back(box);
  return true;
}

}  // namespace trazmark
