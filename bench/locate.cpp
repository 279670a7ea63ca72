// The inverse query on the generated 100 km road: one point at a time (target:
// at most 2 µs median), and 100,000 points through `trazmark-cli locate
// --points` (target: at most 1 s, the program's start and the file included).

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "GeneratedRoad.h"
#include "alignment/CurveFile.h"
#include "alignment/RoadDesign.h"
#include "platform/TextFields.h"

namespace {

using namespace trazmark;

double median(const std::vector<double>& v) {
  std::vector<double> s = v;
  std::nth_element(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(s.size() / 2), s.end());
  return s[s.size() / 2];
}

// Points within 40 m of the centre line, anywhere along the road.
std::vector<StationPoint> pointsNearTheRoad(const CRoadDesign& d, std::size_t count) {
  std::mt19937 rng(14);
  std::uniform_real_distribution<double> station(d.startMileage(), d.endMileage());
  std::uniform_real_distribution<double> offset(-40, 40);
  std::vector<StationPoint> points;
  while (points.size() < count) {
    if (auto p = d.pointAtStation(station(rng), offset(rng))) points.push_back(*p);
  }
  return points;
}

void BM_Locate(benchmark::State& state) {
  const CRoadDesign& d = bench::generatedRoad();
  const std::vector<StationPoint> points = pointsNearTheRoad(d, 4096);
  std::size_t i = 0;
  for (auto _ : state) {
    const StationPoint& p = points[i++ & 4095];
    StationLocation l = d.locate(p.x, p.y);
    benchmark::DoNotOptimize(l);
  }
}
BENCHMARK(BM_Locate)->Repetitions(9)->ComputeStatistics("median", median);

// The generated road as the curve file the program reads.
std::string writeRoadCurveFile(const std::filesystem::path& folder) {
  const CRoadDesign& d = bench::generatedRoad();
  CCurveFileWriter w(CurveFileKind::RE);
  w.writeHeader(d.startMileage(), "bench");
  for (const CRoadElement& e : d.elements()) {
    switch (e.type) {
      case kElementStartPoint:
        w.writeStartPoint(e.startX, e.startY);
        break;
      case kElementLine:
        w.writeLine(e.length, e.startAzimuth * 180 / 3.141592653589793);
        break;
      case kElementArc:
        w.writeArc(e.length, e.startRadius);
        break;
      default:
        w.writeSpiral(e.length, 0);
        break;
    }
  }
  const std::string path = (folder / "road.TDFE").string();
  if (!w.save(path)) std::abort();
  return path;
}

void BM_LocatePointsCli100k(benchmark::State& state) {
  const auto folder = std::filesystem::temp_directory_path() / "trazmark-bench-locate";
  std::filesystem::create_directories(folder);
  const std::string road = writeRoadCurveFile(folder);
  const std::string csv = (folder / "points.csv").string();
  {
    std::string text;
    int n = 0;
    for (const StationPoint& p : pointsNearTheRoad(bench::generatedRoad(), 100000))
      appendFormat(text, "P%d,%.4f,%.4f\n", ++n, p.x, p.y);
    std::FILE* f = std::fopen(csv.c_str(), "wb");
    if (!f || std::fwrite(text.data(), 1, text.size(), f) != text.size()) std::abort();
    std::fclose(f);
  }
  const std::string command = std::string(TRAZMARK_CLI) + " locate '" + road + "' --points '" +
                              csv + "' > '" + (folder / "out.txt").string() + "'";
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("locate --points failed");
  }
  if (!std::getenv("TRAZMARK_BENCH_KEEP")) std::filesystem::remove_all(folder);
}
BENCHMARK(BM_LocatePointsCli100k)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
