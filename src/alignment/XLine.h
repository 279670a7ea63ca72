#pragma once
// A straight element.

#include <optional>

#include "alignment/StationPoint.h"

namespace trazmark {

/// A straight from a start point in one direction. Built on the stack for one
/// evaluation: `define`, then `pointAt`.
class CXLine {
 public:
  virtual ~CXLine() = default;

  /// @param startX, startY start point (metres, north and east)
  /// @param azimuth direction (radians, clockwise from north)
  /// @param length length (metres); only recorded, a line has no end of its own
  /// @return false (and `valid` stays false) when an input is not finite
  bool define(double startX, double startY, double azimuth, double length);

  /// The point `s` metres along the line and `d` metres to the right of it
  /// (negative: left); its azimuth is the line's own, unchanged.
  std::optional<StationPoint> pointAt(double s, double d) const;
  /// pointAt with the cosine `c` and sine `sn` of the azimuth worked out once by
  /// the caller, for many points; the same points.
  std::optional<StationPoint> pointAt(double s, double d, double c, double sn) const;

  double startX = 0;
  double startY = 0;
  double azimuth = 0;
  double length = 0;
  bool valid = false;
};

}  // namespace trazmark
