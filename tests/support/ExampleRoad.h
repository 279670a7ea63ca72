#pragma once
// The intersection-point example many tests draw and check: (0, 0),
// (1000, 0) with R 300 and 80 m spirals, (1500, 600); its first 800 m run
// straight north from the origin.

#include <string>

#include "alignment/RoadDesign_CrossPoint.h"
#include "records/RoadRecords.h"

namespace trazmark::test {

/// The example's intersection points.
inline RecordList<Road_CrossPoint> exampleCrossPoints() {
  RecordList<Road_CrossPoint> points;
  Road_CrossPoint p;
  points.append(p);
  p.point.X = 1000;
  p.Radius = 300;
  p.CurveLength_Left = 80;
  p.CurveLength_Right = 80;
  points.append(p);
  p = Road_CrossPoint{};
  p.point.X = 1500;
  p.point.Y = 600;
  points.append(p);
  return points;
}

/// Writes the example's curve file "<folder>/<name>.RP.TDFE", as the
/// alignment editor writes it; the path, or empty when it could not be written.
inline std::string writeExampleCurveFile(const std::string& folder, const std::string& name) {
  CRoadDesign_CrossPoint method(folder);
  method.roadName = name;
  method.points = exampleCrossPoints();
  const std::string path = folder + "/" + name + ".RP.TDFE";
  return method.writeCurveFile(path) ? path : std::string();
}

}  // namespace trazmark::test
