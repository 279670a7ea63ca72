// One full paint of the profile map of a 100 km road with 500 grade points at
// full extent, labels on and off (target: at most 16 ms).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <cmath>

#include "maps/MapManage.h"
#include "maps/ProfileDrawing.h"
#include "vertical/VerticalCurveCal.h"

namespace {

using namespace trazmark;

/// 500 grade points 200 m apart over 100 km, rolling between crests and sags
/// with circles of R 3000 to 12000.
const RecordList<CVerticalCurveCal>& longProfile() {
  static RecordList<CVerticalCurveCal> points = [] {
    RecordList<CVerticalCurveCal> list;
    for (int i = 0; i < 500; ++i) {
      CVerticalCurveCal p;
      p.Mileage = i * 200.4;
      p.High = 300 + 25 * std::sin(i * 0.37) + 8 * std::sin(i * 1.3);
      p.Radius = 3000 + 1000 * (i % 10);
      list.append(p);
    }
    refreshGradePoints(list);
    setupVerticalCurves(list);
    return list;
  }();
  return points;
}

void BM_ProfileMapFullPaint(benchmark::State& state) {
  const bool labels = state.range(0) != 0;
  const RecordList<CVerticalCurveCal>& gradePoints = longProfile();
  const std::vector<ProfilePoint> line = profileLinePoints(gradePoints);
  CMapManage manage;
  manage.setBackground(kColourBlack);
  manage.setSettingsFolder("/tmp/trazmark-bench");
  manage.setClientRect({0, 0, 1280, 800});
  manage.fullExtent(profileExtent(line));
  for (auto _ : state) {
    QImage& frame = manage.present();
    {
      QPainter painter(&frame);
      drawProfileLine(painter, manage.view(), line);
      if (labels) drawProfileLabels(painter, manage.view(), gradePoints);
    }
    manage.finishFrame();
    benchmark::DoNotOptimize(frame.constBits());
  }
  state.counters["samples"] = static_cast<double>(line.size());
  state.counters["km"] = gradePoints.back().Mileage / 1000;
}
BENCHMARK(BM_ProfileMapFullPaint)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
