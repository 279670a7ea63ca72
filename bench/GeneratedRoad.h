#pragma once
// The generated 100 km alignment the benchmarks share, with a grade line.

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "alignment/CurveFile.h"
#include "alignment/RoadDesign.h"
#include "platform/TextFields.h"
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

// Points within 40 m of the centre line, anywhere along the road.
inline std::vector<StationPoint> pointsNearTheRoad(const CRoadDesign& d, std::size_t count) {
  std::mt19937 rng(14);
  std::uniform_real_distribution<double> station(d.startMileage(), d.endMileage());
  std::uniform_real_distribution<double> offset(-40, 40);
  std::vector<StationPoint> points;
  while (points.size() < count) {
    if (auto p = d.pointAtStation(station(rng), offset(rng))) points.push_back(*p);
  }
  return points;
}

// The generated road as the curve file the program reads.
inline std::string writeRoadCurveFile(const std::filesystem::path& folder) {
  const CRoadDesign& d = bench::generatedRoad();
  CCurveFileWriter w(CurveFileKind::RE);
  w.writeHeader(d.startMileage(), "bench");
  for (const CRoadElement& e : d.elements()) {
    switch (e.type) {
      case kElementStartPoint:
        w.writeStartPoint(e.startX, e.startY);
        break;
      case kElementLine:
        w.writeLine(e.length, e.startAzimuth * 180 / 3.141592653589793);
        break;
      case kElementArc:
        w.writeArc(e.length, e.startRadius);
        break;
      default:
        w.writeSpiral(e.length, 0);
        break;
    }
  }
  const std::string path = (folder / "road.TDFE").string();
  if (!w.save(path)) std::abort();
  return path;
}

// `count` points near the road as a NAME,X,Y file, as `locate --points` reads.
inline void writePointsFile(const std::string& path, std::size_t count) {
  std::string text;
  int n = 0;
  for (const StationPoint& p : pointsNearTheRoad(generatedRoad(), count))
    appendFormat(text, "P%d,%.4f,%.4f\n", ++n, p.x, p.y);
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size()) std::abort();
  std::fclose(f);
}

}  // namespace trazmark::bench
