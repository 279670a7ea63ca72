#include "alignment/RoadElement.h"

#include <cmath>

#include "alignment/XHuanQu.h"
#include "alignment/XLine.h"
#include "alignment/XLuoXuan.h"
#include "alignment/XYuan.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kMinElementLength = 1e-10;

bool isFinitePoint(const StationPoint& p) {
  return std::isfinite(p.x) && std::isfinite(p.y) && std::isfinite(p.azimuth);
}

}  // namespace

bool CRoadElement::setParameter(double value1, double value2, int mode) {
  if (!std::isfinite(value1) || !std::isfinite(value2)) return false;
  switch (mode) {
    case 0:
      startX = value2;
      startY = value1;
      break;
    case 1:
      length = value1;
      startAzimuth = value2 * kPi / 180.0;
      break;
    case 2:
      if (!(value1 > kMinElementLength)) return false;
      length = value1;
      startRadius = value2;
      break;
    case 3:
      if (!(value1 > kMinElementLength)) return false;
      length = value1;
      break;
    default:
      return false;
  }
  type = mode + 1;
  return true;
}

std::optional<StationPoint> CRoadElement::pointAtDistance(double s, double offset) const {
  switch (type) {
    case kElementLine: {
      CXLine line;
      if (!line.define(startX, startY, startAzimuth, length)) return std::nullopt;
      return line.pointAt(s, offset);
    }
    case kElementArc: {
      CXYuan arc;
      if (!arc.define(startX, startY, startAzimuth, length, startRadius)) return std::nullopt;
      return arc.pointAt(s, offset);
    }
    case kElementSpiral: {
      if (startRadius != 0 && endRadius != 0) {
        CXLuoXuan spiral;
        if (!spiral.define(startX, startY, startAzimuth, length, startRadius, endRadius)) {
          return std::nullopt;
        }
        return spiral.pointAt(s, offset);
      }
      if (startRadius != 0 || endRadius != 0) {
        const bool entering = startRadius == 0;
        CXHuanQu spiral;
        if (!spiral.define(startX, startY, startAzimuth, length, entering ? endRadius : startRadius,
                           entering)) {
          return std::nullopt;
        }
        return spiral.pointAt(s, offset);
      }
      // Both radii infinite: a spiral of no curvature has no clothoid.
      return std::nullopt;
    }
    default:
      return std::nullopt;
  }
}

bool CRoadElement::computeEnd() {
  if (type == kElementStartPoint) {
    endX = startX;
    endY = startY;
    endAzimuth = startAzimuth;
    endMileage = startMileage;
    return true;
  }
  const std::optional<StationPoint> end = pointAtDistance(length, 0.0);
  if (!end || !isFinitePoint(*end) || !std::isfinite(startMileage + length)) return false;
  endX = end->x;
  endY = end->y;
  endAzimuth = type == kElementLine ? startAzimuth : end->azimuth;
  if (type == kElementArc) endRadius = startRadius;
  endMileage = startMileage + length;
  return true;
}

std::optional<StationPoint> CRoadElement::pointAtMileage(double mileage, double offset) const {
  if (type == kElementStartPoint) return std::nullopt;
  std::optional<StationPoint> p = pointAtDistance(mileage - startMileage, offset);
  if (!p || !isFinitePoint(*p)) return std::nullopt;
  return p;
}

namespace {

template <class Curve>
std::size_t evaluateAll(Curve& curve, const double* mileages, std::size_t count,
                        double startMileage, double offset, StationPoint* out) {
  for (std::size_t i = 0; i < count; ++i) {
    const std::optional<StationPoint> p = curve.pointAt(mileages[i] - startMileage, offset);
    if (!p || !isFinitePoint(*p)) return i;
    out[i] = *p;
  }
  return count;
}

}  // namespace

std::size_t CRoadElement::pointsAtMileages(const double* mileages, std::size_t count,
                                           double offset, StationPoint* out) const {
  // The same choice of geometry as pointAtDistance, each set up once.
  switch (type) {
    case kElementLine: {
      CXLine line;
      if (!line.define(startX, startY, startAzimuth, length)) return 0;
      return evaluateAll(line, mileages, count, startMileage, offset, out);
    }
    case kElementArc: {
      CXYuan arc;
      if (!arc.define(startX, startY, startAzimuth, length, startRadius)) return 0;
      return evaluateAll(arc, mileages, count, startMileage, offset, out);
    }
    case kElementSpiral: {
      if (startRadius != 0 && endRadius != 0) {
        CXLuoXuan spiral;
        if (!spiral.define(startX, startY, startAzimuth, length, startRadius, endRadius)) return 0;
        return evaluateAll(spiral, mileages, count, startMileage, offset, out);
      }
      if (startRadius != 0 || endRadius != 0) {
        const bool entering = startRadius == 0;
        CXHuanQu spiral;
        if (!spiral.define(startX, startY, startAzimuth, length,
                           entering ? endRadius : startRadius, entering)) {
          return 0;
        }
        return evaluateAll(spiral, mileages, count, startMileage, offset, out);
      }
      return 0;
    }
    default:
      return 0;
  }
}

}  // namespace trazmark
