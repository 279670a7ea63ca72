#pragma once
// A circular arc.

#include <optional>

#include "alignment/StationPoint.h"

namespace trazmark {

/// A circular arc from a start point and tangent. Built on the stack for one
/// evaluation: `define`, then `pointAt`, which also refreshes the polar angles.
class CXYuan {
 public:
  virtual ~CXYuan() = default;

  /// Smallest radius magnitude (metres) an arc may have.
  static constexpr double kMinRadius = 1e-6;

  /// @param startX, startY start point (metres, north and east)
  /// @param startAzimuth tangent at the start (radians, clockwise from north)
  /// @param length arc length (metres)
  /// @param radius signed radius (metres): positive turns right, negative left
  /// @return false (and `valid` stays false) when |radius| < kMinRadius or an
  ///         input is not finite
  bool define(double startX, double startY, double startAzimuth, double length, double radius);

  /// The point `s` metres along the arc and `d` metres right of travel (negative:
  /// left). The azimuth is brought into (1e-6, 2π + 1e-6]: an azimuth of exactly 0
  /// is reported as 2π. Refreshes `startPolarAngle`, `endPolarAngle` and
  /// `overHalfCircle`.
  std::optional<StationPoint> pointAt(double s, double d);
  /// pointAt without refreshing the polar angles, for evaluations in bulk.
  std::optional<StationPoint> evaluate(double s, double d) const;

  double startX = 0;
  double startY = 0;
  double startAzimuth = 0;
  double length = 0;
  double radius = 0;  ///< magnitude R, metres
  bool rightHand = false;
  double centreX = 0;
  double centreY = 0;
  double startPolarAngle = 0;   ///< direction centre -> start point, [0, 2π)
  double endPolarAngle = 0;     ///< direction centre -> last evaluated point, [0, 2π)
  bool overHalfCircle = false;  ///< length exceeds half the circumference by > 1e-6
  bool valid = false;
};

}  // namespace trazmark
