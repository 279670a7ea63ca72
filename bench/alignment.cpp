// The engine on a generated 100 km alignment of more than 1000 elements: the
// stake list at a 1 m interval, and single station queries.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "GeneratedRoad.h"
#include "alignment/RoadDesign.h"

namespace {

using namespace trazmark;

const CRoadDesign& design() { return trazmark::bench::generatedRoad(); }

void BM_WriteStakeList1m(benchmark::State& state) {
  const CRoadDesign& d = design();
  const std::string path =
      (std::filesystem::temp_directory_path() / "trazmark-bench-stakes.txt").string();
  for (auto _ : state) {
    if (!d.writeStakeList(path, 0, 1.0, 0)) state.SkipWithError("writeStakeList failed");
  }
  state.counters["elements"] = static_cast<double>(d.elements().size());
  state.counters["km"] = (d.endMileage() - d.startMileage()) / 1000;
  std::filesystem::remove(path);
}
BENCHMARK(BM_WriteStakeList1m)->Unit(benchmark::kMillisecond);

// The same list gathered and formatted in memory, without the file.
void BM_StakeListText1m(benchmark::State& state) {
  const CRoadDesign& d = design();
  std::string text;
  for (auto _ : state) {
    if (!d.stakeListText(0, 1.0, 0, text)) state.SkipWithError("stakeListText failed");
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_StakeListText1m)->Unit(benchmark::kMillisecond);

void BM_PointAtStation(benchmark::State& state) {
  const CRoadDesign& d = design();
  std::mt19937 rng(1);
  std::uniform_real_distribution<double> station(d.startMileage(), d.endMileage());
  std::vector<double> stations(4096);
  for (double& s : stations) s = station(rng);
  std::size_t i = 0;
  for (auto _ : state) {
    auto p = d.pointAtStation(stations[i++ & 4095], 3.0, -1);
    benchmark::DoNotOptimize(p);
  }
}
BENCHMARK(BM_PointAtStation)->ComputeStatistics("median", [](const std::vector<double>& v) {
  std::vector<double> s = v;
  std::nth_element(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(s.size() / 2), s.end());
  return s[s.size() / 2];
});

}  // namespace

BENCHMARK_MAIN();
