#pragma once
// Line-element records as the line-element dialog stores them: radii signed
// (negative turns left), -1 for an infinite radius, and the turn in Deviation
// (1 right, 0 left, -1 none).

#include "records/RoadRecords.h"

namespace trazmark::test {

inline Road_LineElement leStart(double north, double east, double azimuth, double mileage = 0) {
  Road_LineElement r;
  r.Type = 1;
  r.point.X = north;
  r.point.Y = east;
  r.Mileage = mileage;
  r.Azimuth = azimuth;
  r.StartRadius = r.EndRadius = -1;
  r.Deviation = -1;
  return r;
}

inline Road_LineElement leLine(double length) {
  Road_LineElement r;
  r.Type = 2;
  r.Length = length;
  r.StartRadius = r.EndRadius = -1;
  r.Deviation = -1;
  return r;
}

inline Road_LineElement leArc(double radius, double length) {
  Road_LineElement r;
  r.Type = 3;
  r.Length = length;
  r.StartRadius = r.EndRadius = r.spare1 = radius;
  r.Deviation = radius < 0 ? 0 : 1;
  return r;
}

inline Road_LineElement leSpiral(double startRadius, double endRadius, double length, int deviation) {
  Road_LineElement r;
  r.Type = 4;
  r.Length = length;
  r.StartRadius = startRadius;
  r.EndRadius = endRadius;
  r.Deviation = deviation;
  return r;
}

/// A spiral turning the way its finite radius says.
inline Road_LineElement leSpiral(double startRadius, double endRadius, double length) {
  return leSpiral(startRadius, endRadius, length,
                  (startRadius == -1 ? endRadius : startRadius) < 0 ? 0 : 1);
}

}  // namespace trazmark::test
