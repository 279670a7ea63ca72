// The as-built check on the generated 100 km road: 100,000 surveyed points
// within 25 m of the centre line (on the carriageway, its edges and the side
// slopes), each located, given its design elevation, nearest edge and flags
// (target: at most 2 s):
//  - BM_Check100k: the road without ground (points beyond the carriageway
//    are outside the section);
//  - BM_Check100kOverGround: the same over the 1,000,000-point survey
//    corridor (its TIN loaded once and not counted), the side slopes run out
//    to their catch points.

#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "CorridorGround.h"
#include "GeneratedRoad.h"
#include "SectionRecords.h"
#include "asbuilt/SurveyCheck.h"

namespace {

using namespace trazmark;

constexpr std::size_t kPoints = 100000;

using bench::component;
using bench::appendCutAndFill;

// Two lanes, hard shoulders, a kerbed footway and verges; superelevation on
// the lanes every 560 m; a cut with a ditch and a fill with a berm; the grade
// line 3 m above and 2 m below the corridor's ground in turn.
const RoadDataSet& benchRoad() {
  static const RoadDataSet road = [] {
    const CRoadDesign& d = bench::generatedRoad();
    RoadDataSet r;
    r.leftSections = {component("lane", 3.75, -2), component("hard shoulder", 2.5, -2),
                      component("footway", 1.5, 1.5, 0.15), component("土路肩", 0.75, -4)};
    r.rightSections = r.leftSections;
    for (int side : {0, 1}) {
      Road_Super_Item super;
      super.SectionName = "lane";
      super.LeftRight = side;
      for (double m = d.startMileage() + 100; m < d.endMileage(); m += 560) {
        Road_Super_Value v;
        v.Mileage = m;
        v.Slope = side ? -2 : 2;
        super.values.append(v);
        v.Mileage = m + 200;
        v.Slope = -2;
        super.values.append(v);
      }
      r.superHighs.append(super);
      appendCutAndFill(r, side);
    }
    r.verticalCurves = bench::generatedGradePoints(d);
    for (std::size_t k = 0; k < r.verticalCurves.size(); ++k) {
      const auto c = d.pointAtStation(std::min(r.verticalCurves[k].Mileage, d.endMileage()), 0);
      r.verticalCurves[k].High = bench::groundAt(c->x, c->y) + (k % 2 ? 3 : -2);
    }
    return r;
  }();
  return road;
}

// Points along the whole road, 25 m either side, on the ground (runCheck
// moves those the design reaches onto it).
std::vector<SurveyedPoint> surveyedPoints() {
  const CRoadDesign& d = bench::generatedRoad();
  std::mt19937_64 rng(22);
  std::uniform_real_distribution<double> along(d.startMileage() + 10, d.endMileage() - 10);
  std::uniform_real_distribution<double> across(-25, 25);
  std::vector<SurveyedPoint> points;
  points.reserve(kPoints);
  while (points.size() < kPoints) {
    const auto p = d.pointAtStation(along(rng), across(rng));
    if (!p) continue;
    SurveyedPoint s;
    s.name = "P" + std::to_string(points.size() + 1);
    s.x = p->x;
    s.y = p->y;
    s.z = bench::groundAt(p->x, p->y);
    s.line = points.size() + 1;
    points.push_back(std::move(s));
  }
  return points;
}

void runCheck(benchmark::State& state, std::shared_ptr<const CRoadGround> ground) {
  const CRoadDesign& d = bench::generatedRoad();
  std::vector<SurveyedPoint> points = surveyedPoints();
  CSurveyCheck check;
  std::string error;
  if (!check.prepare(benchRoad(), d, ground, 0.6, error)) {
    state.SkipWithError(error.c_str());
    return;
  }
  // The points as built: 2 cm (one sigma) about the design where there is
  // one, else on the ground.
  std::vector<CheckedPoint> rows;
  checkSurveyedPoints(check, points, CheckTolerances(), rows);
  std::mt19937_64 rng(5);
  std::normal_distribution<double> noise(0, 0.02);
  for (std::size_t i = 0; i < points.size(); ++i)
    if (rows[i].designZ) points[i].z = *rows[i].designZ + noise(rng);
  for (auto _ : state) {
    checkSurveyedPoints(check, points, CheckTolerances(), rows);
    benchmark::DoNotOptimize(rows.data());
  }
  const CheckSummary s = summarizeCheck(rows);
  state.counters["points_per_s"] = benchmark::Counter(static_cast<double>(points.size()),
                                                      benchmark::Counter::kIsIterationInvariantRate);
  state.counters["with_dz"] = static_cast<double>(s.dzCount);
  state.counters["within"] = static_cast<double>(s.within);
}

void BM_Check100k(benchmark::State& state) { runCheck(state, nullptr); }
BENCHMARK(BM_Check100k)->Unit(benchmark::kMillisecond);

void BM_Check100kOverGround(benchmark::State& state) {
  // Shared without ownership: the corridor lives as long as the program.
  runCheck(state, std::shared_ptr<const CRoadGround>(&bench::corridorGround(), [](const CRoadGround*) {}));
}
BENCHMARK(BM_Check100kOverGround)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
