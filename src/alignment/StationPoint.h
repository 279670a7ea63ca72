#pragma once
// The result of evaluating the centre line at one place.

namespace trazmark {

/// A point on or beside the centre line with the tangent direction there.
struct StationPoint {
  double x = 0;        ///< north, metres
  double y = 0;        ///< east, metres
  double azimuth = 0;  ///< tangent direction of travel (radians, clockwise from north)
};

}  // namespace trazmark
