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

}  // namespace trazmark::bench
