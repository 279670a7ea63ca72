// The earthwork of the generated 100 km road over the 1,000,000-point survey
// corridor (see CorridorGround.h), its TIN loaded once and not counted:
//  - BM_EarthworkTable20m: the table at 20 m (about 5,000 stations and the
//    cut-to-fill transitions), each station's section run out to its catch
//    points with its areas (target: at most 1 s);
//  - BM_EarthworkTable20mPrismoidal: the same with a middle section between
//    every two stations.

#include <benchmark/benchmark.h>

#include <string>

#include "CorridorGround.h"
#include "GeneratedRoad.h"
#include "SectionRecords.h"
#include "earthwork/EarthworkTable.h"

namespace {

using namespace trazmark;

using bench::component;
using bench::appendCutAndFill;

// A two-lane road with hard shoulders and verges; a cut with a ditch and
// benches, a fill of two surfaces with a berm, over the whole road.
const RoadDataSet& benchRoad() {
  static const RoadDataSet road = [] {
    RoadDataSet r;
    r.leftSections = {component("lane", 3.75, -2), component("hard shoulder", 2.5, -2),
                      component("土路肩", 0.75, -4)};
    r.rightSections = r.leftSections;
    for (int side : {0, 1}) appendCutAndFill(r, side);
    return r;
  }();
  return road;
}

// Grade points every 400 m alternately 3 m above and 2 m below the ground at
// the centre, so the road passes between cut and fill all along.
const CRoadProfile& benchProfile() {
  static const CRoadProfile profile = [] {
    const CRoadDesign& d = bench::generatedRoad();
    RecordList<CVerticalCurveCal> points = bench::generatedGradePoints(d);
    for (std::size_t k = 0; k < points.size(); ++k) {
      const auto c = d.pointAtStation(std::min(points[k].Mileage, d.endMileage()), 0);
      points[k].High = bench::groundAt(c->x, c->y) + (k % 2 ? 3 : -2);
    }
    CRoadProfile p;
    std::string error;
    if (!p.build(points, d, error)) std::fprintf(stderr, "%s\n", error.c_str());
    return p;
  }();
  return profile;
}

void runTable(benchmark::State& state, bool prismoidal) {
  const CRoadDesign& d = bench::generatedRoad();
  const CRoadGround& ground = bench::corridorGround();
  EarthworkOptions options;
  options.prismoidal = prismoidal;
  options.pavementDepth = 0.6;
  // The corridor's points start at the road's ends: its edge there is ragged.
  options.from = d.startMileage() + 10;
  options.to = d.endMileage() - 10;
  EarthworkTable table;
  std::string error;
  for (auto _ : state) {
    if (!earthworkTable(benchRoad(), d, benchProfile(), ground, options, table, error)) {
      state.SkipWithError(error.c_str());
      break;
    }
    benchmark::DoNotOptimize(table.rows.data());
  }
  std::size_t transitions = 0;
  for (const EarthworkRow& r : table.rows) transitions += r.transition;
  state.counters["rows"] = static_cast<double>(table.rows.size());
  state.counters["transitions"] = static_cast<double>(transitions);
  state.counters["cut_m3"] = table.totals.cut;
  state.counters["fill_m3"] = table.totals.fill;
}

void BM_EarthworkTable20m(benchmark::State& state) { runTable(state, false); }
BENCHMARK(BM_EarthworkTable20m)->Unit(benchmark::kMillisecond);

void BM_EarthworkTable20mPrismoidal(benchmark::State& state) { runTable(state, true); }
BENCHMARK(BM_EarthworkTable20mPrismoidal)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
