#include "alignment/RoadElement.h"

#include <cmath>

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

CElementCurve::CElementCurve(const CRoadElement& e) : element_(e) {
  // Each curve is set up in place; one that cannot be set up leaves none.
  bool ok = false;
  switch (e.type) {
    case kElementLine:
      ok = curve_.emplace<CXLine>().define(e.startX, e.startY, e.startAzimuth, e.length);
      break;
    case kElementArc:
      ok = curve_.emplace<CXYuan>().define(e.startX, e.startY, e.startAzimuth, e.length,
                                           e.startRadius);
      break;
    case kElementSpiral:
      if (e.startRadius != 0 && e.endRadius != 0) {
        CXLuoXuan& spiral = curve_.emplace<CXLuoXuan>();
        ok = spiral.define(e.startX, e.startY, e.startAzimuth, e.length, e.startRadius,
                           e.endRadius);
      } else if (e.startRadius != 0 || e.endRadius != 0) {
        const bool entering = e.startRadius == 0;
        CXHuanQu& spiral = curve_.emplace<CXHuanQu>();
        ok = spiral.define(e.startX, e.startY, e.startAzimuth, e.length,
                           entering ? e.endRadius : e.startRadius, entering);
      }
      // Both radii infinite: a spiral of no curvature has no clothoid.
      break;
    default:
      break;
  }
  if (!ok) curve_.emplace<std::monostate>();
}

std::optional<StationPoint> CElementCurve::pointAtDistance(double s, double offset) const {
  switch (curve_.index()) {
    case 1:
      return std::get<1>(curve_).pointAt(s, offset);
    case 2:
      return std::get<2>(curve_).evaluate(s, offset);
    case 3:
      return std::get<3>(curve_).pointAt(s, offset);
    case 4:
      return std::get<4>(curve_).pointAt(s, offset);
    default:
      return std::nullopt;
  }
}

std::optional<StationPoint> CElementCurve::pointAtMileage(double mileage, double offset) const {
  if (element_.type == kElementStartPoint) return std::nullopt;
  std::optional<StationPoint> p = pointAtDistance(mileage - element_.startMileage, offset);
  if (!p || !isFinitePoint(*p)) return std::nullopt;
  return p;
}

// One evaluation: the curve is set up on the stack for it alone (as
// CElementCurve does once for many).
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
      return arc.evaluate(s, offset);
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

std::optional<StationPoint> CRoadElement::pointAtMileage(double mileage, double offset) const {
  if (type == kElementStartPoint) return std::nullopt;
  std::optional<StationPoint> p = pointAtDistance(mileage - startMileage, offset);
  if (!p || !isFinitePoint(*p)) return std::nullopt;
  return p;
}

std::size_t CRoadElement::pointsAtMileages(const double* mileages, std::size_t count,
                                           double offset, StationPoint* out) const {
  return CElementCurve(*this).pointsAtMileages(mileages, count, offset, out);
}

std::size_t CElementCurve::pointsAtMileages(const double* mileages, std::size_t count,
                                            double offset, StationPoint* out) const {
  const double start = element_.startMileage;
  auto run = [&](auto&& pointAt) {
    for (std::size_t i = 0; i < count; ++i) {
      const std::optional<StationPoint> p = pointAt(mileages[i] - start);
      if (!p || !isFinitePoint(*p)) return i;
      out[i] = *p;
    }
    return count;
  };
  switch (curve_.index()) {
    case 1: {
      // A line's direction is the same at every point.
      const CXLine& line = std::get<1>(curve_);
      const double c = std::cos(line.azimuth);
      const double sn = std::sin(line.azimuth);
      return run([&](double s) { return line.pointAt(s, offset, c, sn); });
    }
    case 2:
      return run([&](double s) { return std::get<2>(curve_).evaluate(s, offset); });
    case 3:
      return run([&](double s) { return std::get<3>(curve_).pointAt(s, offset); });
    case 4:
      return run([&](double s) { return std::get<4>(curve_).pointAt(s, offset); });
    default:
      return 0;
  }
}

}  // namespace trazmark
