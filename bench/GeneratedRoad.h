#pragma once
// The generated 100 km alignment the benchmarks share, with a grade line.

#include <cstdlib>

#include "alignment/RoadDesign.h"
#include "records/RoadRecords.h"

namespace trazmark::bench {

inline Road_Element generatedElement(int type, double length, double radiusOrAzimuth = 0) {
  Road_Element r;
  r.Type = type;
  r.Length = length;
  if (type == 2) r.Azimuth = radiusOrAzimuth;
  if (type == 3) r.Radius = radiusOrAzimuth;
  return r;
}

// Repeats line, spiral, arc, egg spiral, arc, spiral with alternating hands:
// 560 m and six elements a unit, 179 units, from mileage 1000.
inline const CRoadDesign& generatedRoad() {
  static const CRoadDesign d = [] {
    RecordList<Road_Element> records;
    Road_Element start;
    start.Type = 1;
    start.point.X = 3500000;
    start.point.Y = 500000;
    records.append(start);
    records.append(generatedElement(2, 150, 37.5));
    for (int unit = 0; unit < 179; ++unit) {
      const double hand = unit % 2 ? -1 : 1;
      if (unit > 0) records.append(generatedElement(2, 150, 0));
      records.append(generatedElement(4, 70));
      records.append(generatedElement(3, 120, hand * 600));
      records.append(generatedElement(4, 50));
      records.append(generatedElement(3, 100, hand * 400));
      records.append(generatedElement(4, 70));
    }
    records.append(generatedElement(2, 200, 0));
    CRoadDesign design;
    if (!design.loadFromRoad("bench", 1000, records)) std::abort();
    return design;
  }();
  return d;
}

// A grade point every 400 m over the whole road, alternately 3 m up and down,
// with vertical curves of radius 8000.
inline RecordList<CVerticalCurveCal> generatedGradePoints(const CRoadDesign& d) {
  RecordList<CVerticalCurveCal> points;
  int k = 0;
  for (double m = d.startMileage(); m < d.endMileage() + 400; m += 400, ++k) {
    CVerticalCurveCal p;
    p.Mileage = m;
    p.High = 200 + (k % 2 ? 3 : 0);
    p.Radius = 8000;
    points.append(p);
  }
  return points;
}

}  // namespace trazmark::bench
