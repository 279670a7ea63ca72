// The stake coordinate table of the generated 100 km road at 20 m (some 5,000
// stakes and the key points) computed and written as CSV, and, in a build
// with the toolkit, as PDF pages.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

#include "GeneratedRoad.h"
#include "tables/DesignTables.h"

#ifdef TRAZMARK_BENCH_WITH_MAPS
#include <QGuiApplication>

#include "maps/TablePdf.h"
#endif

namespace {

using namespace trazmark;

std::string titleOf(const std::string& key) { return key == "IDS_TABLE_page" ? "page %1 of %2" : key; }

DesignTable stakeCoordinates() {
  const CRoadDesign& design = bench::generatedRoad();
  const RecordList<CVerticalCurveCal> grades = bench::generatedGradePoints(design);
  std::vector<StakeRow> rows;
  std::string error;
  if (!stakeRows(design, &grades, 20, rows, error)) std::abort();
  return stakeTable(rows, true);
}

void BM_StakeTableCsv(benchmark::State& state) {
  const std::string out = (std::filesystem::temp_directory_path() / "trazmark_bench_stakes.csv").string();
  std::size_t rows = 0;
  for (auto _ : state) {
    const DesignTable table = stakeCoordinates();
    std::string error;
    if (!writeTableCsv(out, table, titleOf, error)) state.SkipWithError(error.c_str());
    rows = table.rows.size();
  }
  state.counters["rows"] = static_cast<double>(rows);
  std::filesystem::remove(out);
}
BENCHMARK(BM_StakeTableCsv)->Unit(benchmark::kMillisecond)->Iterations(3);

#ifdef TRAZMARK_BENCH_WITH_MAPS
void BM_StakeTablePdf(benchmark::State& state) {
  const std::string out = (std::filesystem::temp_directory_path() / "trazmark_bench_stakes.pdf").string();
  int pages = 0;
  for (auto _ : state) {
    const DesignTable table = stakeCoordinates();
    TablePdfOptions options;
    options.roadName = "bench";
    options.date = "2026-01-01";
    options.a3 = true;
    std::string error;
    if (!writeTablePdf(out, table, titleOf, options, error)) state.SkipWithError(error.c_str());
    pages = tablePdfPageCount(table, options);
  }
  state.counters["pages"] = pages;
  std::filesystem::remove(out);
}
BENCHMARK(BM_StakeTablePdf)->Unit(benchmark::kMillisecond)->Iterations(1)->Repetitions(3);
#endif

}  // namespace

int main(int argc, char** argv) {
#ifdef TRAZMARK_BENCH_WITH_MAPS
  // Text on the pages needs the font machinery; no window is shown.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
#endif
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
