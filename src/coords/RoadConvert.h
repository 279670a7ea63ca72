#pragma once
// The four-parameter plane similarity transform (scale, rotation, shift) fitted
// from control-point pairs, and the WGS 84 helpers of the map's scale bar.

#include <optional>
#include <vector>

namespace trazmark {

/// One control-point pair. The caller fills the source and target points; the
/// fit fills the four centred working values.
struct Road_convertfour {
  double sourceX = 0, sourceY = 0;  ///< point in the source system (metres)
  double targetX = 0, targetY = 0;  ///< the same point in the target system (metres)
  double sourceDx = 0, sourceDy = 0;  ///< source point minus the mean source point
  double targetDx = 0, targetDy = 0;  ///< target point minus the mean target point
};

/// Plane similarity transform from a source to a target system:
///   x' = tx + s (x cos t - y sin t),  y' = ty + s (x sin t + y cos t).
/// A new transform is the identity (s = 1, t = tx = ty = 0) with no pairs. The
/// parameters change only through a successful `fit`, so s is always a finite
/// positive number and `inverse` never divides by zero.
class CRoadConvert {
 public:
  /// Control pairs; set the source and target points, then call `fit`.
  std::vector<Road_convertfour> pairs;

  /// Least-squares fit over all pairs. Fails (leaving the parameters as they
  /// were) with no pairs, with a coordinate that is not finite, and when the
  /// scale would come out 0 (every target point equal while the source points
  /// differ) or not finite. All source points equal (a single pair included)
  /// gives the identity.
  bool fit();

  /// Source to target, in place. Returns false (leaving x, y unchanged) when the
  /// input or the result is not finite.
  bool forward(double& x, double& y) const;
  /// Target to source, in place; the same failure rule as `forward`.
  bool inverse(double& x, double& y) const;

  double scale() const { return scale_; }
  /// Rotation t, radians, counter-clockwise in the (x, y) plane of the formulas.
  double rotation() const { return rotation_; }
  double shiftX() const { return shiftX_; }
  double shiftY() const { return shiftY_; }

 private:
  double scale_ = 1.0;
  double rotation_ = 0.0;
  double shiftX_ = 0.0;
  double shiftY_ = 0.0;
};

/// Geocentric Cartesian coordinates, metres.
struct GeocentricPoint {
  double X = 0, Y = 0, Z = 0;
};

/// WGS 84 latitude, longitude and ellipsoidal height to geocentric coordinates.
/// @param latitude B, decimal degrees
/// @param longitude L, decimal degrees
/// @param height h above the ellipsoid, metres
/// @return nothing when an input or the result is not finite
std::optional<GeocentricPoint> geodeticToGeocentric(double latitude, double longitude,
                                                    double height);

/// Straight-line (chord) distance between two points at the same height.
/// @param latitude1, longitude1, latitude2, longitude2 decimal degrees
/// @param height metres above the ellipsoid, for both points
/// @return metres; nothing when an input or the result is not finite
std::optional<double> chordDistance(double latitude1, double longitude1, double latitude2,
                                    double longitude2, double height);

}  // namespace trazmark
