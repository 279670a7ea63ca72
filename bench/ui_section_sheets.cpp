// The cross-section sheets of 10 km of the generated road at 20 m (about 500
// stations and the cut-to-fill transitions) over a surveyed TIN of the
// corridor, as `trazmark-cli section-sheets` writes them: the earthwork
// table, each station's section run out to the ground, and the PDF of A3
// pages (target: at most 10 s). The TIN's load is not counted.

#include <benchmark/benchmark.h>

#include <unistd.h>

#include <QGuiApplication>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "GeneratedRoad.h"
#include "SectionRecords.h"
#include "earthwork/EarthworkTable.h"
#include "maps/EarthworkViews.h"
#include "maps/SectionSheets.h"
#include "platform/TextFields.h"
#include "terrain/RoadGround.h"

namespace {

using namespace trazmark;

constexpr double kSheetLength = 10000;
constexpr double kCorridor = 120;  // metres surveyed either side of the centre line
constexpr double kSpacing = 10;    // metres between surveyed points, along and across

double groundAt(double x, double y) { return 190 + 12 * std::sin(x / 900) + 8 * std::cos(y / 650); }

using bench::component;
using bench::appendCutAndFill;

struct SheetRoad {
  RoadDataSet road;
  CRoadProfile profile;
  CRoadGround ground;
  double from = 0;
};

// Two lanes with hard shoulders and verges; a cut with a ditch and a bench,
// a fill with a berm; grade points every 400 m alternately above and below
// the ground, so that the sections pass between cut and fill.
const SheetRoad& sheetRoad() {
  static const SheetRoad sheet = [] {
    SheetRoad s;
    const CRoadDesign& d = bench::generatedRoad();
    s.from = d.startMileage() + 10;
    s.road.leftSections = {component("lane", 3.75, -2), component("hard shoulder", 2.5, -2),
                           component("verge", 0.75, -4)};
    s.road.rightSections = s.road.leftSections;
    for (int side : {0, 1}) appendCutAndFill(s.road, side);
    RecordList<CVerticalCurveCal> points = bench::generatedGradePoints(d);
    for (std::size_t k = 0; k < points.size(); ++k) {
      const auto c = d.pointAtStation(std::min(points[k].Mileage, d.endMileage()), 0);
      points[k].High = groundAt(c->x, c->y) + (k % 2 ? 3 : -2);
    }
    std::string error;
    if (!s.profile.build(points, d, error)) std::fprintf(stderr, "%s\n", error.c_str());
    // The corridor of the first 10 km, surveyed on a regular pattern.
    std::string text;
    for (double m = d.startMileage(); m <= s.from + kSheetLength + 20; m += kSpacing)
      for (double o = -kCorridor; o <= kCorridor; o += kSpacing)
        if (const auto p = d.pointAtStation(m, o))
          appendFormat(text, "%.3f,%.3f,%.3f\n", p->x, p->y, groundAt(p->x, p->y));
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("trazmark-bench-sheets-" + std::to_string(getpid()) + ".csv"))
                                 .string();
    std::ofstream(path, std::ios::binary) << text;
    RoadTerrainSettings settings;
    settings.terrainPath = path;
    settings.maxEdge = 40;
    if (!s.ground.load(settings, "", error)) std::fprintf(stderr, "%s\n", error.c_str());
    std::filesystem::remove(path);
    return s;
  }();
  return sheet;
}

void BM_SectionSheets10km(benchmark::State& state) {
  const CRoadDesign& d = bench::generatedRoad();
  const SheetRoad& s = sheetRoad();
  EarthworkOptions options;
  options.from = s.from;
  options.to = s.from + kSheetLength;
  options.allowIncomplete = true;
  const std::string out = (std::filesystem::temp_directory_path() /
                           ("trazmark-bench-sheets-" + std::to_string(getpid()) + ".pdf"))
                              .string();
  EarthworkTable table;
  std::vector<SheetSection> sections;
  std::string error;
  for (auto _ : state) {
    if (!earthworkTable(s.road, d, s.profile, s.ground, options, table, error) ||
        !sheetSectionsOf(s.road, d, s.profile, s.ground, 0, table, sections, error) ||
        !writeSectionSheets(sections, out, "generated", error)) {
      state.SkipWithError(error.c_str());
      break;
    }
  }
  state.counters["stations"] = static_cast<double>(sections.size());
  state.counters["pdf_kB"] = static_cast<double>(std::filesystem::file_size(out)) / 1024;
  std::filesystem::remove(out);
}
BENCHMARK(BM_SectionSheets10km)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);

}  // namespace

int main(int argc, char** argv) {
  // Text on the sheets needs the font machinery; no window is shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
