#include "alignment/XYuan.h"

#include <cmath>

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 2.0 * kPi;

double polarAngle(double dx, double dy) {
  double a = std::atan2(dy, dx);
  if (a < 0) a += kTwoPi;
  if (a >= kTwoPi) a -= kTwoPi;
  return a;
}

}  // namespace

bool CXYuan::define(double x0, double y0, double a0, double len, double r) {
  valid = false;
  if (!(std::fabs(r) >= kMinRadius) || !std::isfinite(r) || !std::isfinite(x0) ||
      !std::isfinite(y0) || !std::isfinite(a0) || !std::isfinite(len)) {
    return false;
  }
  startX = x0;
  startY = y0;
  startAzimuth = a0;
  length = len;
  radius = std::fabs(r);
  rightHand = r >= kMinRadius;
  const double sn = std::sin(a0);
  const double c = std::cos(a0);
  if (rightHand) {
    centreX = x0 - radius * sn;
    centreY = y0 + radius * c;
  } else {
    centreX = x0 + radius * sn;
    centreY = y0 - radius * c;
  }
  if (!std::isfinite(centreX) || !std::isfinite(centreY)) return false;
  valid = true;
  return true;
}

std::optional<StationPoint> CXYuan::pointAt(double s, double d) {
  const std::optional<StationPoint> p = evaluate(s, d);
  if (!p) return p;
  startPolarAngle = polarAngle(startX - centreX, startY - centreY);
  endPolarAngle = polarAngle(p->x - centreX, p->y - centreY);
  overHalfCircle = length - radius * kPi > 1e-6;
  return p;
}

std::optional<StationPoint> CXYuan::evaluate(double s, double d) const {
  if (!valid) return std::nullopt;
  const double turned = s / radius;
  StationPoint p;
  if (rightHand) {
    p.azimuth = startAzimuth + turned;
    p.x = centreX + (radius - d) * std::sin(p.azimuth);
    p.y = centreY - (radius - d) * std::cos(p.azimuth);
  } else {
    p.azimuth = startAzimuth - turned;
    p.x = centreX - (radius + d) * std::sin(p.azimuth);
    p.y = centreY + (radius + d) * std::cos(p.azimuth);
  }
  // Into (1e-6, 2π + 1e-6]: an azimuth of 0 reads 2π. One step suffices for arcs
  // of less than a full turn; longer ones are reduced the same way.
  if (p.azimuth - kTwoPi > 1e-6) p.azimuth -= kTwoPi;
  if (p.azimuth < 1e-6) p.azimuth += kTwoPi;
  if (!(p.azimuth >= 1e-6 && p.azimuth - kTwoPi <= 1e-6) && std::isfinite(p.azimuth)) {
    p.azimuth = std::fmod(p.azimuth, kTwoPi);
    if (p.azimuth < 1e-6) p.azimuth += kTwoPi;
  }
  return p;
}

}  // namespace trazmark
