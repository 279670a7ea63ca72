#pragma once
// Roads and grounds for the earthwork tests: a straight road due north from
// (0, 0) (so offsets right of travel are y east) and TINs of known surfaces.

#include <gtest/gtest.h>

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "alignment/RoadDesign.h"
#include "crosssection/RoadProfile.h"
#include "earthwork/EarthworkSection.h"
#include "platform/TextFields.h"
#include "records/RoadRecords.h"
#include "terrain/RoadGround.h"

namespace trazmark::test {

inline Road_Section_Item component(const char* name, double width, double slopePercent,
                                   double kerb = 0) {
  Road_Section_Item c;
  c.setModuleName(name);
  c.Width = width;
  c.Slope = slopePercent;
  c.Roadteeth = kerb;
  return c;
}

/// A slope surface of height h at 1:n.
inline Road_Slope_Item surface(double h, double n) {
  Road_Slope_Item s;
  s.ItemName = "s";
  s.Mode = 0;
  s.SlopeH = h;
  s.SlopeScale = n;
  return s;
}

/// A platform of width w at a cross slope (percent, negative falls outward).
inline Road_Slope_Item platform(double w, double percent) {
  Road_Slope_Item s;
  s.ItemName = "p";
  s.Mode = 1;
  s.Width = w;
  s.SlopeScale = percent;
  return s;
}

/// side 0 left, 1 right; type 0 cut, 1 fill.
inline Road_Slope slope(int side, int type, const char* name, std::vector<Road_Slope_Item> steps,
                        double from = 0, double to = 1e6) {
  Road_Slope s;
  s.LeftRight = side;
  s.Type = type;
  s.SlopeName = name;
  s.StartMileage = from;
  s.EndMileage = to;
  for (const auto& step : steps) s.items.append(step);
  return s;
}

/// Grade points (station, elevation) without vertical curves.
inline RecordList<CVerticalCurveCal> gradePoints(std::vector<std::pair<double, double>> points) {
  RecordList<CVerticalCurveCal> list;
  for (auto [m, z] : points) {
    CVerticalCurveCal p;
    p.Mileage = m;
    p.High = z;
    list.append(p);
  }
  return list;
}

/// A straight road due north from (0, 0), stations 0 to `length`, level at
/// `elevation`, one lane of `lane` metres at 0 % a side, and a cut slope 1:1
/// and fill slope 1:1.5 (one surface of 50 m) on each side.
struct StraightRoad {
  RoadDataSet road;
  CRoadDesign design;
  CRoadProfile profile;

  explicit StraightRoad(double length = 1000, double elevation = 102, double lane = 3.5) {
    road.FlatcurveType = kFlatcurveElements;
    Road_Element start;
    start.Type = 1;
    Road_Element line;
    line.Type = 2;
    line.Length = length;
    road.elements = {start, line};
    road.verticalCurves = gradePoints({{0, elevation}, {length, elevation}});
    road.leftSections = {component("lane", lane, 0)};
    road.rightSections = {component("lane", lane, 0)};
    for (int side : {0, 1}) {
      road.slopes.append(slope(side, 0, side ? "RC" : "LC", {surface(50, 1)}));
      road.slopes.append(slope(side, 1, side ? "RF" : "LF", {surface(50, 1.5)}));
    }
    build();
  }
  /// Rebuilds the alignment and grade line after a change to `road`.
  void build() {
    EXPECT_TRUE(design.loadFromRoad("r", 0, road.elements));
    std::string error;
    EXPECT_TRUE(profile.build(road.verticalCurves, design, error)) << error;
  }
};

/// A TIN of the surface z(x, y) sampled on a square grid over [x0, x1] ×
/// [y0, y1], loaded through a road's ground; points for which `leaveOut`
/// holds are not surveyed, and triangles longer than `maxEdge` are dropped
/// (so a left-out point opens a hole). A plane is exact on any grid.
class TinGround {
 public:
  TinGround(std::function<double(double, double)> z, double x0, double x1, double y0, double y1,
            double spacing, double maxEdge = 0,
            std::function<bool(double, double)> leaveOut = {}) {
    static std::atomic<int> serial{0};
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("trazmark-earthwork-" + std::to_string(getpid()) + "-" + std::to_string(serial++) + ".csv");
    std::string text;
    for (double x = x0; x <= x1 + 1e-9; x += spacing)
      for (double y = y0; y <= y1 + 1e-9; y += spacing)
        if (!leaveOut || !leaveOut(x, y)) appendFormat(text, "%.6f,%.6f,%.9f\n", x, y, z(x, y));
    std::ofstream(path, std::ios::binary) << text;
    RoadTerrainSettings settings;
    settings.terrainPath = path.string();
    settings.maxEdge = maxEdge;
    std::string error;
    EXPECT_TRUE(ground.load(settings, "", error)) << error;
    std::filesystem::remove(path);
  }
  CRoadGround ground;
};

/// A plane z = z0 + gx·x + gy·y under the straight road, wide enough for the
/// slope extensions.
inline TinGround planeGround(double z0, double gx = 0, double gy = 0) {
  return TinGround([=](double x, double y) { return z0 + gx * x + gy * y; }, -20, 1040, -300, 300, 20);
}

}  // namespace trazmark::test
