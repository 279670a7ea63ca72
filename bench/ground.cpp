// The ground of the generated 100 km road over a 1,000,000-point TIN: a
// survey corridor of random points within 150 m of the centre line,
// triangulated once (bench_terrain times that), read through the road's
// ground as trazmark-cli does.
//  - BM_GroundProfile1m: the ground, design and height at every stake of the
//    stake list at 1 m (100,000 stakes), as `ground --csv` prints them
//    (target: at most 0.5 s);
//  - BM_GroundAcross5000: the ground across the road at every regular stake
//    at 20 m (5,022 stations), 50 m a side (target: at most 0.5 s).

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "CorridorGround.h"
#include "GeneratedRoad.h"
#include "alignment/RoadDesign.h"
#include "crosssection/RoadProfile.h"
#include "platform/TextFields.h"
#include "terrain/RoadGround.h"

namespace {

using namespace trazmark;
using bench::corridorGround;

void BM_GroundProfile1m(benchmark::State& state) {
  const CRoadDesign& d = bench::generatedRoad();
  const CRoadGround& ground = corridorGround();
  CRoadProfile profile;
  std::string error;
  if (!profile.build(bench::generatedGradePoints(d), d, error)) state.SkipWithError(error.c_str());
  std::vector<RoadCoordinate> stakes;
  std::string out;
  std::size_t withGround = 0;
  for (auto _ : state) {
    if (!d.stakeRecords(0, 1.0, 0, stakes)) state.SkipWithError("stakeRecords failed");
    out.clear();
    withGround = 0;
    for (const RoadCoordinate& s : stakes) {
      const auto z = ground.centreElevation(s.mileage, s.x, s.y);
      const auto design = profile.elevationAt(s.continuousMileage);
      if (z && design) {
        appendFormat(out, "%.3f,%.3f,%.3f,%.3f\n", s.mileage, *z, *design, *design - *z);
        ++withGround;
      } else {
        appendFormat(out, "%.3f,-,-,-\n", s.mileage);
      }
    }
    benchmark::DoNotOptimize(out.data());
  }
  state.counters["stakes"] = static_cast<double>(stakes.size());
  state.counters["with_ground"] = static_cast<double>(withGround);
}
BENCHMARK(BM_GroundProfile1m)->Unit(benchmark::kMillisecond);

void BM_GroundAcross5000(benchmark::State& state) {
  const CRoadDesign& d = bench::generatedRoad();
  const CRoadGround& ground = corridorGround();
  std::vector<RoadCoordinate> stakes;
  std::size_t vertices = 0, gaps = 0, stations = 0;
  for (auto _ : state) {
    if (!d.stakeRecords(0, 20.0, 0, stakes)) state.SkipWithError("stakeRecords failed");
    vertices = gaps = stations = 0;
    for (const RoadCoordinate& s : stakes) {
      // The stations every 20 m; the key points between them are not counted.
      if (s.kind != RoadCoordinate::kRegularStake) continue;
      ++stations;
      const GroundLine line = ground.across(s.mileage, s.x, s.y, s.azimuth, 50);
      for (const auto& piece : line.pieces) vertices += piece.size();
      gaps += line.pieces.size() != 1;
      benchmark::DoNotOptimize(line);
    }
  }
  state.counters["stations"] = static_cast<double>(stations);
  state.counters["vertices_per_line"] =
      static_cast<double>(vertices) / static_cast<double>(std::max<std::size_t>(stations, 1));
  state.counters["lines_with_gaps"] = static_cast<double>(gaps);
}
BENCHMARK(BM_GroundAcross5000)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
