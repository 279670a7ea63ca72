#include "alignment/XHuanQu.h"

#include <cmath>

#include "alignment/Clothoid.h"

namespace trazmark {

using clothoid::kPi;

bool CXHuanQu::define(double x0, double y0, double a0, double len, double r, bool enter) {
  valid = false;
  if (!(std::fabs(r) >= kMinRadius) || !std::isfinite(r) || !(len > 1e-10) || !std::isfinite(len) ||
      !std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(a0)) {
    return false;
  }
  startX = x0;
  startY = y0;
  startAzimuth = a0;
  length = len;
  entering = enter;
  rightHand = r >= 1e-6;
  const double absR = std::fabs(r);
  clothoidParameterSquared = absR * len;
  if (!std::isfinite(clothoidParameterSquared)) return false;
  if (entering) {
    originX = x0;
    originY = y0;
    originAzimuth = a0;
  } else {
    // The origin is the end point; the series' clothoid runs back from it to the
    // start, so the start tangent reversed is its tangent at arc length L. Seven
    // terms here keep the end point of a long exiting spiral on its start.
    const double theta = a0 + kPi - len / (2.0 * absR);
    const clothoid::LocalPoint p = clothoid::seriesPoint(len, clothoidParameterSquared, 7);
    originAzimuth = theta;
    originX = x0 - p.u * std::cos(theta) + p.w * std::sin(theta);
    originY = y0 - p.u * std::sin(theta) - p.w * std::cos(theta);
  }
  seriesExact = clothoid::seriesIsExact(len, clothoidParameterSquared);
  if (!seriesExact && !(len / (2.0 * absR) <= clothoid::kMaxIntegratedTurn)) return false;
  valid = true;
  return true;
}

std::optional<StationPoint> CXHuanQu::pointAt(double s, double d) const {
  if (!valid) return std::nullopt;
  const double a2 = clothoidParameterSquared;
  const double l = entering ? s : length - s;
  if (seriesExact && clothoid::seriesIsExact(l, a2)) {
    clothoid::SeriesFrame f;
    f.originX = originX;
    f.originY = originY;
    f.originAzimuth = originAzimuth;
    f.a2 = a2;
    f.lineX = startX;
    f.lineY = startY;
    f.lineAzimuth = entering ? startAzimuth : startAzimuth + kPi;
    f.mirrored = rightHand != entering;
    f.reversed = !entering;
    StationPoint p = clothoid::seriesStationPoint(f, l, d);
    if (std::isfinite(p.x) && std::isfinite(p.y)) return p;
    return std::nullopt;
  }
  // Curvature runs linearly from 0 to ±1/R (entering) or from ±1/R to 0.
  const double sign = rightHand ? 1.0 : -1.0;
  const double curvature = entering ? 0.0 : sign * length / a2;
  const double rate = entering ? sign / a2 : -sign / a2;
  return clothoid::integratedStationPoint(startX, startY, startAzimuth, curvature, rate, s, d);
}

}  // namespace trazmark
