// The inverse query on the generated 100 km road: one point at a time (target:
// a median at most 3 times pointAtStation's in bench_alignment), and 100,000
// points through `trazmark-cli locate --points` (target: at most 0.3 s, the
// program's start and the file included).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "GeneratedRoad.h"
#include "alignment/RoadDesign.h"

namespace {

using namespace trazmark;

double median(const std::vector<double>& v) {
  std::vector<double> s = v;
  std::nth_element(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(s.size() / 2), s.end());
  return s[s.size() / 2];
}

void BM_Locate(benchmark::State& state) {
  const CRoadDesign& d = bench::generatedRoad();
  const std::vector<StationPoint> points = bench::pointsNearTheRoad(d, 4096);
  std::size_t i = 0;
  for (auto _ : state) {
    const StationPoint& p = points[i++ & 4095];
    StationLocation l = d.locate(p.x, p.y);
    benchmark::DoNotOptimize(l);
  }
}
BENCHMARK(BM_Locate)->Repetitions(9)->ComputeStatistics("median", median);

void BM_LocatePointsCli100k(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "trazmark-bench-locate";
  std::filesystem::create_directories(folder);
  const std::string road = bench::writeRoadCurveFile(folder);
  const std::string csv = (folder / "points.csv").string();
  bench::writePointsFile(csv, 100000);
  const std::string command = std::string(TRAZMARK_CLI) + " locate '" + road + "' --points '" +
                              csv + "' > '" + (folder / "out.txt").string() + "'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("locate --points failed");
  }
  if (!std::getenv("TRAZMARK_BENCH_KEEP")) std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LocatePointsCli100k)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
