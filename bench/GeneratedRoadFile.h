#pragma once
// The generated road file of the road-file benchmarks: about 10 MB with every
// list filled and Chinese names.

#include <string>

#include "library/InputRoadLibrary.h"

namespace trazmark::bench {

// Names in UTF-8 (the benchmark runs with the UTF-8 code page).
inline const std::string kJunction = "\xe4\xba\xa4\xe7\x82\xb9";   // 交点
inline const std::string kLane = "\xe8\xa1\x8c\xe8\xbd\xa6\xe9\x81\x93";  // 行车道
inline const std::string kSlope = "\xe8\xbe\xb9\xe5\x9d\xa1";      // 边坡

inline Road_Section_Item section(const std::string& name, int side, double width) {
  Road_Section_Item s;
  s.setModuleName(name);
  s.LeftOrRight = side;
  s.Width = width;
  s.Slope = side ? -2.0 : 2.0;
  s.Roadteeth = 0.15;
  return s;
}

// A road with every list filled; about 10 MB once written.
inline void fillRoad(RoadDataSet& road) {
  road.FlatcurveType = kFlatcurveCrossPoints;
  for (int k = 0; k < 1000; ++k) road.scissons.append({k % 2, 12.5, 1000.0 * k + 500, 1000.0 * k + 512.5});
  for (int k = 0; k < 20000; ++k) {
    Road_CrossPoint p;
    p.point = {kJunction + std::to_string(k), 3000000.0 + k * 101.25, 500000.0 - k * 77.5, 0, ""};
    p.CurveLength_Left = 60 + k % 40;
    p.CurveLength_Right = 80 + k % 30;
    p.Radius = 300 + k % 2000;
    p.Mileage = k * 150.25;
    road.crossPoints.append(p);
  }
  // Only the method in force is written; the others are filled all the same.
  for (int k = 0; k < 1000; ++k) {
    Road_Element e;
    e.Type = k == 0 ? 1 : 2 + k % 3;
    e.Azimuth = 12.345678901234;
    e.Length = 100;
    road.elements.append(e);
    Road_LineElement l;
    l.Type = e.Type;
    road.lineElements.append(l);
  }
  for (int k = 0; k < 5000; ++k) {
    CVerticalCurveCal v;
    v.Mileage = k * 400.0;
    v.High = 100 + k % 50;
    v.Radius = 3000 + k;
    v.I1 = 1.5;
    v.I2 = -2.0;
    v.CurveL = 90;
    v.InLength = 45;
    v.OutLength = 45;
    v.CalMode = k % 3;
    road.verticalCurves.append(v);
  }
  for (int k = 0; k < 1000; ++k) {
    road.leftSections.append(section(kLane + std::to_string(k), 0, 3.75));
    road.rightSections.append(section(kLane + std::to_string(k), 1, 3.75));
  }
  for (int k = 0; k < 3000; ++k) {
    Road_Section_Change c;
    c.Mileage = k * 100.0;
    c.TypeChange = k % 4;
    for (int m = 0; m < 6; ++m) c.items[m] = section(kLane + std::to_string(m), m % 2, 3.0);
    road.sectionChanges.append(c);
  }
  for (int k = 0; k < 1500; ++k) {
    Road_Slope s;
    s.SlopeName = kSlope + std::to_string(k);
    s.LeftRight = k % 2;
    s.Type = k % 2;
    s.StartMileage = k * 100.0;
    s.EndMileage = k * 100.0 + 80;
    for (int m = 0; m < 4; ++m) s.items.append({s.SlopeName, kSlope + "step" + std::to_string(m), m % 2, 8, 1.5, 2});
    road.slopes.append(s);
  }
  for (int k = 0; k < 2000; ++k) {
    Road_Super_Item item;
    item.SectionName = kLane + std::to_string(k);
    item.LeftRight = k % 2;
    item.InSectionIndex = k % 5;
    for (int m = 0; m < 12; ++m) item.values.append({k * 100.0 + m * 8, 2.0 + m % 3, 0.5, m % 3});
    road.superHighs.append(item);
    road.widens.append(item);
  }
}

}  // namespace trazmark::bench
