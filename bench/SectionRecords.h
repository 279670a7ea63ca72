#pragma once
// Cross-section records the benchmark roads are built from.

#include "records/RoadRecords.h"

namespace trazmark::bench {

inline Road_Section_Item component(const char* name, double width, double slope, double kerb = 0) {
  Road_Section_Item c;
  c.setModuleName(name);
  c.Width = width;
  c.Slope = slope;
  c.Roadteeth = kerb;
  return c;
}

inline Road_Slope_Item step(int mode, double h, double scale, double width = 0) {
  Road_Slope_Item s;
  s.Mode = mode;
  s.SlopeH = h;
  s.SlopeScale = scale;
  s.Width = width;
  return s;
}

// A cut with a ditch and benches and a fill of two surfaces with a berm on
// one side (0 left, 1 right), over the whole road.
inline void appendCutAndFill(RoadDataSet& road, int side) {
  Road_Slope cut;
  cut.LeftRight = side;
  cut.Type = 0;
  cut.SlopeName = side ? "RC" : "LC";
  cut.StartMileage = 0;
  cut.EndMileage = 200000;
  cut.items = {step(1, 0, -50, 1.2), step(1, 0, 0, 0.6), step(0, 6, 1), step(1, 0, 2, 2), step(0, 8, 1.25)};
  Road_Slope fill = cut;
  fill.Type = 1;
  fill.SlopeName = side ? "RF" : "LF";
  fill.items = {step(0, 8, 1.5), step(1, 0, -2, 2), step(0, 10, 1.75)};
  road.slopes.append(cut);
  road.slopes.append(fill);
}

}  // namespace trazmark::bench
