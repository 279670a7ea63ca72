// Speed of the road file on a generated road of about 10 MB with every list
// filled and Chinese names: reading it (parse plus readRoadFile), the markup
// document's load alone, and writing it back (building the document plus the
// save).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "GeneratedRoadFile.h"
#include "library/InputRoadLibrary.h"
#include "markup/MarkupDocument.h"
#include "platform/CodePage.h"

namespace {

using namespace trazmark;
namespace fs = std::filesystem;

// The generated road and its file, made once per run.
struct Fixture {
  fs::path folder;
  std::string path;
  CInputRoadLibrary road;

  Fixture() {
    setAnsiCodePageOverride(kCodePageUtf8);
    folder = fs::temp_directory_path() / ("trazmark_bench_roadfile_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    path = (folder / "road.REC").string();
    bench::fillRoad(road);
    if (!road.writeRoadFile(path)) std::fprintf(stderr, "bench_roadfile: cannot write %s\n", path.c_str());
  }
  ~Fixture() {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void setBytes(benchmark::State& state, const Fixture& f) {
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                          static_cast<int64_t>(fs::file_size(f.path)));
}

void BM_ReadRoadFile(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    CInputRoadLibrary road;
    if (!road.readRoadFile(f.path)) state.SkipWithError("readRoadFile failed");
    benchmark::DoNotOptimize(road.crossPoints.count());
  }
  setBytes(state, f);
}
BENCHMARK(BM_ReadRoadFile)->Unit(benchmark::kMillisecond);

void BM_MarkupLoadFile(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    MarkupDocument doc;
    if (!doc.loadFile(f.path)) state.SkipWithError("loadFile failed");
    benchmark::DoNotOptimize(doc.elementCount());
  }
  setBytes(state, f);
}
BENCHMARK(BM_MarkupLoadFile)->Unit(benchmark::kMillisecond);

void BM_WriteRoadFile(benchmark::State& state) {
  Fixture& f = fixture();
  const std::string out = (f.folder / "written.REC").string();
  for (auto _ : state) {
    if (!f.road.writeRoadFile(out)) state.SkipWithError("writeRoadFile failed");
  }
  setBytes(state, f);
}
BENCHMARK(BM_WriteRoadFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
