#include "coords/RoadConvert.h"

#include <cmath>

namespace trazmark {

namespace {

constexpr double kPi = 3.141592653589793;
// WGS 84 ellipsoid: semi-major axis and first eccentricity squared.
constexpr double kWgs84A = 6378137.0;
constexpr double kWgs84E2 = 0.0066943799901413165;
constexpr double kWgs84OneMinusE2 = 0.9933056200098587;

bool finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

}  // namespace

bool CRoadConvert::fit() {
  if (pairs.empty()) return false;
  const double n = static_cast<double>(pairs.size());
  double meanX = 0, meanY = 0, meanTx = 0, meanTy = 0;
  for (const Road_convertfour& p : pairs) {
    if (!finite(p.sourceX, p.sourceY) || !finite(p.targetX, p.targetY)) return false;
    meanX += p.sourceX;
    meanY += p.sourceY;
    meanTx += p.targetX;
    meanTy += p.targetY;
  }
  meanX /= n;
  meanY /= n;
  meanTx /= n;
  meanTy /= n;

  double sumP = 0, sumQ = 0, sumS = 0;
  for (Road_convertfour& p : pairs) {
    p.sourceDx = p.sourceX - meanX;
    p.sourceDy = p.sourceY - meanY;
    p.targetDx = p.targetX - meanTx;
    p.targetDy = p.targetY - meanTy;
    sumP += p.sourceDx * p.targetDy - p.targetDx * p.sourceDy;
    sumQ += p.sourceDx * p.targetDx + p.sourceDy * p.targetDy;
    sumS += p.sourceDx * p.sourceDx + p.sourceDy * p.sourceDy;
  }
  if (!std::isfinite(sumP) || !std::isfinite(sumQ) || !std::isfinite(sumS)) return false;

  if (sumS == 0.0) {
    // One source point only: no rotation or scale can be seen; the identity.
    scale_ = 1.0;
    rotation_ = 0.0;
    shiftX_ = 0.0;
    shiftY_ = 0.0;
    return true;
  }
  const double theta = std::atan2(sumP, sumQ);
  const double s = std::hypot(sumQ, sumP) / sumS;
  // A zero scale would collapse the plane onto one point and leave no inverse.
  if (!(s > 0.0) || !std::isfinite(s)) return false;
  const double c = std::cos(theta);
  const double sn = std::sin(theta);
  const double tx = meanTx - s * c * meanX + s * sn * meanY;
  const double ty = meanTy - s * sn * meanX - s * c * meanY;
  if (!finite(tx, ty)) return false;
  scale_ = s;
  rotation_ = theta;
  shiftX_ = tx;
  shiftY_ = ty;
  return true;
}

bool CRoadConvert::forward(double& x, double& y) const {
  const double c = std::cos(rotation_);
  const double sn = std::sin(rotation_);
  const double nx = shiftX_ + scale_ * (x * c - y * sn);
  const double ny = shiftY_ + scale_ * (x * sn + y * c);
  if (!finite(nx, ny)) return false;
  x = nx;
  y = ny;
  return true;
}

bool CRoadConvert::inverse(double& x, double& y) const {
  const double c = std::cos(rotation_);
  const double sn = std::sin(rotation_);
  const double nx = (c * (x - shiftX_) + sn * (y - shiftY_)) / scale_;
  const double ny = (c * (y - shiftY_) - sn * (x - shiftX_)) / scale_;
  if (!finite(nx, ny)) return false;
  x = nx;
  y = ny;
  return true;
}

std::optional<GeocentricPoint> geodeticToGeocentric(double latitude, double longitude,
                                                    double height) {
  const double b = latitude * kPi / 180.0;
  const double l = longitude * kPi / 180.0;
  const double sinB = std::sin(b);
  const double n = kWgs84A / std::sqrt(1.0 - kWgs84E2 * sinB * sinB);
  GeocentricPoint p;
  p.X = (n + height) * std::cos(b) * std::cos(l);
  p.Y = (n + height) * std::cos(b) * std::sin(l);
  p.Z = (n * kWgs84OneMinusE2 + height) * sinB;
  if (!std::isfinite(p.X) || !std::isfinite(p.Y) || !std::isfinite(p.Z)) return std::nullopt;
  return p;
}

std::optional<double> chordDistance(double latitude1, double longitude1, double latitude2,
                                    double longitude2, double height) {
  const auto a = geodeticToGeocentric(latitude1, longitude1, height);
  const auto b = geodeticToGeocentric(latitude2, longitude2, height);
  if (!a || !b) return std::nullopt;
  const double d = std::sqrt((a->X - b->X) * (a->X - b->X) + (a->Y - b->Y) * (a->Y - b->Y) +
                             (a->Z - b->Z) * (a->Z - b->Z));
  if (!std::isfinite(d)) return std::nullopt;
  return d;
}

}  // namespace trazmark
