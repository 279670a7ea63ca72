#pragma once
// The regions between a designed line and the ground line of a section, for
// shading them: cut where the ground lies above the design, fill where below,
// split where the two lines cross. Plain geometry; the section drawings of
// the map and of the sheets shade what this returns.

#include <vector>

namespace trazmark {

/// A point across a section: offset (m, right positive), elevation (m).
struct ShadePoint {
  double offset = 0;
  double elevation = 0;
};

struct ShadeRegion {
  bool cut = false;                 ///< true: ground above the design
  std::vector<ShadePoint> outline;  ///< closed polygon (the last point joins the first)
};

/// The regions between `design` and `ground` (each a polyline of increasing
/// offset) over the offsets both cover. Where the lines cross, a region ends
/// at the crossing and the next begins there; stretches where they coincide
/// give no region. Lines that do not increase in offset are taken as far as
/// they do.
std::vector<ShadeRegion> cutFillRegions(const std::vector<ShadePoint>& design,
                                        const std::vector<ShadePoint>& ground);

/// The area of a closed polygon (m², always positive).
double polygonArea(const std::vector<ShadePoint>& outline);

}  // namespace trazmark
