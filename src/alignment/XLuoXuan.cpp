#include "alignment/XLuoXuan.h"

#include <cmath>

#include "alignment/Clothoid.h"

namespace trazmark {

using clothoid::kPi;

bool CXLuoXuan::define(double x0, double y0, double a0, double len, double r1, double r2) {
  valid = false;
  if (!(std::fabs(r1 - r2) >= kMinRadiusDifference) || !(std::fabs(r1) >= kMinRadius) ||
      !(std::fabs(r2) >= kMinRadius) || !std::isfinite(r1) || !std::isfinite(r2) ||
      !(len > 1e-10) || !std::isfinite(len) || !std::isfinite(x0) || !std::isfinite(y0) ||
      !std::isfinite(a0)) {
    return false;
  }
  startX = x0;
  startY = y0;
  startAzimuth = a0;
  length = len;
  startRadius = r1;
  endRadius = r2;
  rightHand = r2 >= 0;
  increasing = std::fabs(r1) > std::fabs(r2);
  sBend = (r1 > 0) != (r2 > 0);
  const double k1 = 1.0 / r1;
  const double k2 = 1.0 / r2;
  if (sBend) {
    clothoidParameterSquared = len / std::fabs(k2 - k1);
  } else {
    clothoidParameterSquared =
        std::fabs(r1) * std::fabs(r2) * len / std::fabs(std::fabs(r1) - std::fabs(r2));
  }
  const double a2 = clothoidParameterSquared;
  if (!std::isfinite(a2) || !(a2 > 0)) return false;
  l1 = a2 / std::fabs(r1);
  const double rate = (k2 - k1) / len;
  const double turn = std::fabs(k1 * len) + 0.5 * std::fabs(rate) * len * len;

  if (sBend) {
    // The series' single-hand clothoid cannot describe a curve that changes
    // hands, so an S-bend is always integrated; its origin is the inflection.
    seriesExact = false;
    if (!(turn <= clothoid::kMaxIntegratedTurn)) return false;
    const double sInflection = -k1 / rate;
    double dx = 0;
    double dy = 0;
    if (!clothoid::integrateTangent(a0, k1, rate, sInflection, dx, dy)) return false;
    originX = x0 + dx;
    originY = y0 + dy;
    originAzimuth = a0 + sInflection * (k1 + 0.5 * rate * sInflection);
    valid = true;
    return true;
  }

  // Running with falling curvature, the series' clothoid is traversed backwards.
  const double working = increasing ? a0 : a0 + kPi;
  const double theta = working - l1 * l1 / (2.0 * a2);
  const clothoid::LocalPoint p = clothoid::seriesPoint(l1, a2, 6);
  originAzimuth = theta;
  originX = x0 - p.u * std::cos(theta) + p.w * std::sin(theta);
  originY = y0 - p.u * std::sin(theta) - p.w * std::cos(theta);
  seriesExact = clothoid::seriesIsExact(increasing ? l1 + len : l1, a2);
  if (!seriesExact && !(turn <= clothoid::kMaxIntegratedTurn)) return false;
  valid = true;
  return true;
}

std::optional<StationPoint> CXLuoXuan::pointAt(double s, double d) const {
  if (!valid) return std::nullopt;
  const double a2 = clothoidParameterSquared;
  const double l = increasing ? l1 + s : l1 - s;
  if (seriesExact && clothoid::seriesIsExact(l, a2)) {
    clothoid::SeriesFrame f;
    f.originX = originX;
    f.originY = originY;
    f.originAzimuth = originAzimuth;
    f.a2 = a2;
    f.lineX = startX;
    f.lineY = startY;
    f.lineAzimuth = startAzimuth;
    f.mirrored = rightHand != increasing;
    f.reversed = !increasing;
    StationPoint p = clothoid::seriesStationPoint(f, l, d);
    if (std::isfinite(p.x) && std::isfinite(p.y)) return p;
    return std::nullopt;
  }
  const double k1 = 1.0 / startRadius;
  const double rate = (1.0 / endRadius - k1) / length;
  return clothoid::integratedStationPoint(startX, startY, startAzimuth, k1, rate, s, d);
}

}  // namespace trazmark
