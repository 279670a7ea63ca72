// Time of one pointAtMileage per element kind (nanoseconds per point).

#include <benchmark/benchmark.h>

#include "alignment/RoadElement.h"

namespace {

using trazmark::CRoadElement;

CRoadElement makeElement(int mode, double length, double r1, double r2) {
  CRoadElement e;
  e.setParameter(length, mode == 1 ? 30.0 : r1, mode);
  e.startX = 3500000;
  e.startY = 500000;
  e.startAzimuth = 0.6;
  e.startMileage = 1000;
  if (mode == 3) {
    e.startRadius = r1;
    e.endRadius = r2;
  }
  e.computeEnd();
  return e;
}

void evaluate(benchmark::State& state, const CRoadElement& e) {
  double m = e.startMileage;
  const double step = e.length / 997.0;
  for (auto _ : state) {
    auto p = e.pointAtMileage(m, 3.5);
    benchmark::DoNotOptimize(p);
    m += step;
    if (m > e.endMileage) m = e.startMileage;
  }
}

void BM_Line(benchmark::State& state) { evaluate(state, makeElement(1, 200, 0, 0)); }
void BM_Arc(benchmark::State& state) { evaluate(state, makeElement(2, 200, 450, 0)); }
// Spirals inside the series' range, and beyond it where the tangent is integrated.
void BM_SpiralEntering(benchmark::State& state) { evaluate(state, makeElement(3, 100, 0, 500)); }
void BM_SpiralExiting(benchmark::State& state) { evaluate(state, makeElement(3, 100, -500, 0)); }
void BM_SpiralBetweenRadii(benchmark::State& state) {
  evaluate(state, makeElement(3, 100, 1000, 500));
}
void BM_SpiralLongSharp(benchmark::State& state) { evaluate(state, makeElement(3, 250, 0, 100)); }
void BM_SpiralCloseRadii(benchmark::State& state) {
  evaluate(state, makeElement(3, 100, 200, 190));
}
void BM_SpiralSBend(benchmark::State& state) { evaluate(state, makeElement(3, 120, 300, -300)); }

BENCHMARK(BM_Line);
BENCHMARK(BM_Arc);
BENCHMARK(BM_SpiralEntering);
BENCHMARK(BM_SpiralExiting);
BENCHMARK(BM_SpiralBetweenRadii);
BENCHMARK(BM_SpiralLongSharp);
BENCHMARK(BM_SpiralCloseRadii);
BENCHMARK(BM_SpiralSBend);

}  // namespace

BENCHMARK_MAIN();
