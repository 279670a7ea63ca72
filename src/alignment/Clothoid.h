#pragma once
// Clothoid evaluation shared by the two spiral classes.
//
// A clothoid is evaluated in two ways. Near its origin (the point of infinite
// radius) the classical power series of the local coordinates is used; it
// converges quickly while the angle turned since the origin is small. Far from
// the origin (a spiral between two close radii starts kilometres down its
// clothoid) the series loses its accuracy, so the same curve is evaluated by
// integrating the tangent direction from the spiral's own start point with
// Gauss-Legendre quadrature, which is exact to rounding for every road spiral.

#include <optional>

#include "alignment/StationPoint.h"

namespace trazmark::clothoid {

constexpr double kPi = 3.141592653589793;

/// Largest error (metres) the six-term series may have for it to be used; beyond
/// that the tangent is integrated. Far below any survey accuracy, so the two ways
/// agree wherever the series is used.
constexpr double kSeriesTolerance = 1e-10;

/// Largest change of tangent direction (radians) that one evaluation integrates;
/// beyond it the evaluation fails instead of running for a long time. No road
/// spiral turns anywhere near this far.
constexpr double kMaxIntegratedTurn = 2000.0;

/// Local coordinates of a right-turning clothoid, measured from its origin.
struct LocalPoint {
  double u = 0;  ///< along the origin tangent, metres
  double w = 0;  ///< to the right of the origin tangent, metres
};

/// The series of the point at arc length `l` from the origin of a clothoid with
/// parameter squared `a2` (A² = R·L, m²), summed to `terms` terms (1..7).
LocalPoint seriesPoint(double l, double a2, int terms = 6);

/// An upper bound (metres) of the error of the six-term series at arc length
/// `l`: the first omitted terms, which bound an alternating series once its
/// terms decrease. Returns infinity where the series does not converge fast.
double seriesErrorBound(double l, double a2);

/// True when the six-term series is exact to kSeriesTolerance at arc length `l`.
inline bool seriesIsExact(double l, double a2) {
  return seriesErrorBound(l, a2) < kSeriesTolerance;
}

/// Displacement (metres, north and east) after running `s` metres from a point
/// with tangent azimuth `azimuth` (radians, clockwise from north) along a curve
/// whose curvature is `curvature` + `curvatureRate`·t at distance t (1/m and
/// 1/m², positive turning right). Returns false (outputs unchanged) when the
/// tangent would turn more than kMaxIntegratedTurn or an input is not finite.
bool integrateTangent(double azimuth, double curvature, double curvatureRate, double s, double& dx,
                      double& dy);

/// How a series evaluation places the right-turning clothoid of the series on
/// the road: its origin, and whether it is mirrored and traversed backwards.
struct SeriesFrame {
  double originX = 0;        ///< origin (infinite radius), metres north
  double originY = 0;        ///< metres east
  double originAzimuth = 0;  ///< tangent at the origin of the right-turning clothoid, radians
  double a2 = 0;             ///< clothoid parameter squared, m²
  double lineX = 0;          ///< a point of the reflection line (the spiral's start point)
  double lineY = 0;
  double lineAzimuth = 0;  ///< direction of the reflection line, radians
  bool mirrored = false;   ///< the road turns the other way than the series' clothoid
  bool reversed = false;   ///< the road runs towards the origin
};

/// The point at arc length `l` from the origin and `d` metres right of the
/// road's direction of travel, by the six-term series. The azimuth is the road's
/// direction of travel, brought once into [0, 2π].
StationPoint seriesStationPoint(const SeriesFrame& frame, double l, double d);

/// The point `s` metres from a start point (x0, y0) with tangent `azimuth`, along
/// a curve of curvature `curvature` + `curvatureRate`·t, and `d` metres right of
/// travel, by integration of the tangent. The azimuth is brought once into
/// [0, 2π]. Empty when integrateTangent fails or the result is not finite.
std::optional<StationPoint> integratedStationPoint(double x0, double y0, double azimuth,
                                                   double curvature, double curvatureRate, double s,
                                                   double d);

}  // namespace trazmark::clothoid
