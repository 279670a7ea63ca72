#pragma once
// A spiral between two finite radii.

#include <optional>

#include "alignment/StationPoint.h"

namespace trazmark {

/// A clothoid spiral from radius R1 to radius R2: an egg spiral between two
/// curves of one hand, or an S-bend between curves of opposite hands, whose
/// curvature passes through zero on the way. Built on the stack for one
/// evaluation: `define`, then `pointAt`.
class CXLuoXuan {
 public:
  virtual ~CXLuoXuan() = default;

  /// Smallest difference of the two radii (metres) that makes a spiral.
  static constexpr double kMinRadiusDifference = 0.001;
  /// Smallest radius magnitude (metres) a spiral may reach.
  static constexpr double kMinRadius = 0.0001;

  /// @param startX, startY start point (metres, north and east)
  /// @param startAzimuth tangent at the start (radians, clockwise from north)
  /// @param length spiral length L (metres, > 1e-10)
  /// @param startRadius signed radius R1 at the start (metres, positive right)
  /// @param endRadius signed radius R2 at the end (metres, positive right)
  /// @return false (and `valid` stays false) when |R1 - R2| < 0.001, a radius is
  ///         below kMinRadius in size, L is not positive, an input is not finite,
  ///         or the spiral would turn further than any evaluation can follow
  bool define(double startX, double startY, double startAzimuth, double length, double startRadius,
              double endRadius);

  /// The point `s` metres along the spiral and `d` metres right of travel
  /// (negative: left); the azimuth is the direction of travel in [0, 2π].
  /// Empty when the instance is invalid or the point cannot be evaluated.
  std::optional<StationPoint> pointAt(double s, double d) const;

  double startX = 0;
  double startY = 0;
  double startAzimuth = 0;
  double length = 0;
  double startRadius = 0;
  double endRadius = 0;
  /// A² = L / |1/R2 - 1/R1| (m²); for radii of one hand |R1|·|R2|·L / ||R1| - |R2||.
  double clothoidParameterSquared = 0;
  /// Distance (metres) from the clothoid origin to the start point: A²/|R1|.
  double l1 = 0;
  bool increasing = false;  ///< |R1| > |R2|: the curvature grows along the road
  bool rightHand = false;   ///< the end radius turns right
  bool sBend = false;       ///< the radii have opposite hands
  /// The clothoid origin and its tangent, for the right-turning clothoid of the
  /// series traversed away from the origin. For an S-bend: the inflection point
  /// and the direction of travel there. Used by the series while `seriesExact`.
  double originX = 0;
  double originY = 0;
  double originAzimuth = 0;
  /// True when the series about the origin is exact to 1e-10 m over the whole
  /// spiral; otherwise points are integrated from the start point.
  bool seriesExact = false;
  bool valid = false;
};

}  // namespace trazmark
