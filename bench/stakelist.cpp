// The stake list of the generated 100 km road at 1 m (100,000 records):
//  - BM_StakeListText1m against BM_StakeFormatOnly1m, the same lines formatted
//    from records already gathered (target: at most 1.2 times as long);
//  - BM_StakeListElevations1m against BM_StakeListText1m (target: the list
//    with the grade line's elevations at most 1.5 times as long).

#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "GeneratedRoad.h"
#include "alignment/RoadDesign.h"
#include "crosssection/RoadProfile.h"

namespace {

using namespace trazmark;

void BM_StakeFormatOnly1m(benchmark::State& state) {
  const CRoadDesign& d = bench::generatedRoad();
  std::vector<RoadCoordinate> records;
  if (!d.stakeRecords(0, 1.0, 0, records)) state.SkipWithError("stakeRecords failed");
  std::string text;
  for (auto _ : state) {
    text.clear();
    CRoadDesign::appendStakeLines(records, text);
    benchmark::DoNotOptimize(text.data());
  }
  state.counters["records"] = static_cast<double>(records.size());
}
BENCHMARK(BM_StakeFormatOnly1m)->Unit(benchmark::kMillisecond);

void BM_StakeListText1m(benchmark::State& state) {
  const CRoadDesign& d = bench::generatedRoad();
  std::string text;
  for (auto _ : state) {
    if (!d.stakeListText(0, 1.0, 0, text)) state.SkipWithError("stakeListText failed");
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_StakeListText1m)->Unit(benchmark::kMillisecond);

void BM_StakeListElevations1m(benchmark::State& state) {
  const CRoadDesign& d = bench::generatedRoad();
  CRoadProfile profile;
  std::string error;
  if (!profile.build(bench::generatedGradePoints(d), d, error)) state.SkipWithError(error.c_str());
  std::vector<RoadCoordinate> records;
  std::string text;
  for (auto _ : state) {
    if (!d.stakeRecords(0, 1.0, 0, records) || !fillStakeElevations(records, profile, error))
      state.SkipWithError("stake list with elevations failed");
    text.clear();
    CRoadDesign::appendStakeLines(records, text);
    benchmark::DoNotOptimize(text.data());
  }
}
BENCHMARK(BM_StakeListElevations1m)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
