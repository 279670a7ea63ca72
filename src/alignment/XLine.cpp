#include "alignment/XLine.h"

#include <cmath>

namespace trazmark {

bool CXLine::define(double x0, double y0, double a0, double len) {
  valid = false;
  if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(a0) || !std::isfinite(len)) {
    return false;
  }
  startX = x0;
  startY = y0;
  azimuth = a0;
  length = len;
  valid = true;
  return true;
}

std::optional<StationPoint> CXLine::pointAt(double s, double d) const {
  if (!valid) return std::nullopt;
  const double c = std::cos(azimuth);
  const double sn = std::sin(azimuth);
  return StationPoint{startX + s * c - d * sn, startY + s * sn + d * c, azimuth};
}

std::optional<StationPoint> CXLine::pointAt(double s, double d, double c, double sn) const {
  if (!valid) return std::nullopt;
  return StationPoint{startX + s * c - d * sn, startY + s * sn + d * c, azimuth};
}

}  // namespace trazmark
