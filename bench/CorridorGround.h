#pragma once
// The survey corridor the ground benchmarks share: 1,000,000 random points
// within 150 m of the generated 100 km road, triangulated once and read
// through the road's ground as trazmark-cli does.

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>

#include "GeneratedRoad.h"
#include "platform/TextFields.h"
#include "terrain/RoadGround.h"

namespace trazmark::bench {

constexpr std::size_t kPoints = 1000000;
constexpr double kCorridor = 150;  // metres either side of the centre line
// Triangles longer than this span the inside of the road's bends, where the
// corridor has no points: not ground.
constexpr double kMaxEdge = 60;

inline double groundAt(double x, double y) {
  return 190 + 12 * std::sin(x / 900) + 8 * std::cos(y / 650);
}

// The TIN, written as an x,y,z points file and loaded as a road's ground.
inline const CRoadGround& corridorGround() {
  static const CRoadGround ground = [] {
    const CRoadDesign& d = generatedRoad();
    std::mt19937_64 rng(23);
    std::uniform_real_distribution<double> along(d.startMileage(), d.endMileage());
    std::uniform_real_distribution<double> across(-kCorridor, kCorridor);
    std::string text;
    text.reserve(kPoints * 40);
    for (std::size_t k = 0; k < kPoints;) {
      const auto p = d.pointAtStation(along(rng), across(rng));
      if (!p) continue;
      appendFormat(text, "%.3f,%.3f,%.3f\n", p->x, p->y, groundAt(p->x, p->y));
      ++k;
    }
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("trazmark-bench-ground-" + std::to_string(getpid()) + ".csv"))
                                 .string();
    std::ofstream(path, std::ios::binary) << text;
    RoadTerrainSettings settings;
    settings.terrainPath = path;
    settings.maxEdge = kMaxEdge;
    CRoadGround g;
    std::string error;
    if (!g.load(settings, "", error)) std::fprintf(stderr, "%s\n", error.c_str());
    std::filesystem::remove(path);
    return g;
  }();
  return ground;
}

}  // namespace trazmark::bench
