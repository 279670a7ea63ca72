// One full paint of the plan map of a 100 km alignment with more than 1,000
// elements at full extent (target: at most 16 ms), and how long the window
// thread takes to commit a view while the drawing thread is busy (it only hands
// over a small lock, so this stays in the microseconds).

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QPainter>
#include <QWidget>
#include <chrono>
#include <thread>

#include "alignment/RoadDesign.h"
#include "maps/MapManage.h"
#include "maps/PlanDrawing.h"

namespace {

using namespace trazmark;

/// A meandering road: start point, then straight, spiral, arc, spiral groups
/// turning right and left in turn, 290 m per group, about 100 km in all.
const CRoadDesign& longRoad() {
  static CRoadDesign design = [] {
    RecordList<Road_Element> records;
    Road_Element start;
    start.Type = 1;
    start.point.X = 3'500'000;
    start.point.Y = 500'000;
    records.append(start);
    double length = 0;
    for (int group = 0; length < 100'000; ++group) {
      Road_Element line;
      line.Type = 2;
      line.Length = 150;
      line.Azimuth = group == 0 ? 45 : 0;  // later straights continue the tangent
      records.append(line);
      Road_Element spiral;
      spiral.Type = 4;
      spiral.Length = 40;
      records.append(spiral);
      Road_Element arc;
      arc.Type = 3;
      arc.Length = 60;
      arc.Radius = group % 2 == 0 ? 600 : -600;
      records.append(arc);
      records.append(spiral);
      length += 290;
    }
    Road_Element last;
    last.Type = 2;
    last.Length = 150;
    records.append(last);
    CRoadDesign d;
    if (!d.loadFromRoad("BENCH", 0, records)) std::abort();
    d.penColor = 0xFF0000;
    return d;
  }();
  return design;
}

void BM_PlanMapFullPaint(benchmark::State& state) {
  const CRoadDesign& design = longRoad();
  CMapManage manage;
  manage.setBackground(kColourBlack);
  manage.setSettingsFolder("/tmp/trazmark-bench");
  manage.setClientRect({0, 0, 1280, 800});
  manage.fullExtent(planExtent(design));
  for (auto _ : state) {
    QImage& frame = manage.present();
    {
      QPainter painter(&frame);
      drawRoadPlan(painter, manage.view(), design);
    }
    manage.finishFrame();
    benchmark::DoNotOptimize(frame.constBits());
  }
  state.counters["elements"] = static_cast<double>(design.elements().size());
  state.counters["km"] = (design.endMileage() - design.startMileage()) / 1000;
}
BENCHMARK(BM_PlanMapFullPaint)->Unit(benchmark::kMillisecond);

/// Draws for about 5 ms, like a heavy layer.
class SlowLayer : public CMapLayer {
 public:
  void draw(QPainter&, const MapView&, int32_t) override {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
};

void BM_CommitWhileDrawing(benchmark::State& state) {
  QWidget window;
  CMapManage manage(&window);
  manage.setSettingsFolder(state.range(0) ? "/dev/shm/trazmark-bench" : "/tmp/trazmark-bench");
  manage.setLayers({std::make_shared<SlowLayer>()}, {});
  manage.setClientRect({0, 0, 800, 600});
  int i = 0;
  // Each commit also writes the small settings file, which dominates.
  for (auto _ : state) {
    manage.pan(0, 0, (i++ % 2) * 2 - 1, 0);
  }
  state.counters["drawings"] = static_cast<double>(manage.drawingJob().finishedDrawings());
}
// Argument 1 keeps the settings file in memory, leaving only the hand-over.
BENCHMARK(BM_CommitWhileDrawing)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
