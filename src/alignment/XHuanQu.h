#pragma once
// A spiral between an infinite radius and a finite one.

#include <optional>

#include "alignment/StationPoint.h"

namespace trazmark {

/// A clothoid spiral from a straight into a curve (entering) or from a curve
/// into a straight (exiting). Built on the stack for one evaluation: `define`,
/// then `pointAt`.
class CXHuanQu {
 public:
  virtual ~CXHuanQu() = default;

  /// Smallest radius magnitude (metres) a spiral may reach.
  static constexpr double kMinRadius = 0.0001;

  /// @param startX, startY start point (metres, north and east)
  /// @param startAzimuth tangent at the start (radians, clockwise from north)
  /// @param length spiral length L (metres, > 1e-10)
  /// @param radius signed finite radius R (metres): positive turns right
  /// @param entering true: infinite radius at the start, R at the end;
  ///        false: R at the start, infinite radius at the end
  /// @return false (and `valid` stays false) when |R| < kMinRadius, L is not
  ///         positive, an input is not finite, or the spiral would turn further
  ///         than any evaluation can follow
  bool define(double startX, double startY, double startAzimuth, double length, double radius,
              bool entering);

  /// The point `s` metres along the spiral and `d` metres right of travel
  /// (negative: left); the azimuth is the direction of travel in [0, 2π].
  /// Empty when the instance is invalid or the point cannot be evaluated.
  std::optional<StationPoint> pointAt(double s, double d) const;

  double startX = 0;
  double startY = 0;
  double startAzimuth = 0;
  double length = 0;
  double clothoidParameterSquared = 0;  ///< A² = |R|·L, m²
  bool entering = true;
  bool rightHand = false;
  /// The clothoid origin (infinite radius) and the tangent there, given for the
  /// right-turning clothoid of the series traversed away from the origin; an
  /// exiting spiral's origin is its end point. Used while `seriesExact`.
  double originX = 0;
  double originY = 0;
  double originAzimuth = 0;
  /// True when the series about the origin is exact to 1e-10 m over the whole
  /// spiral; otherwise points are integrated from the start point.
  bool seriesExact = false;
  bool valid = false;
};

}  // namespace trazmark
