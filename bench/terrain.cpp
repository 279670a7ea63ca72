// The terrain model at its working size: triangulating 1,000,000 random
// survey points (target: at most 3 s and 400 MB peak), reading a LandXML TIN
// of 1,000,000 faces (target: at most 2 s), and the elevation at a point on
// that TIN and on the triangulated one (target: at most 1 µs median). The
// ground along a 100 m line across a road is there for the ground lines that
// build on it.
//
// The peak memory is measured in a child process that does nothing else:
// generate the points, triangulate them.

#include <benchmark/benchmark.h>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "terrain/TerrainFile.h"
#include "terrain/TerrainTriangulation.h"

namespace {

using namespace trazmark;

constexpr std::size_t kPoints = 1000000;
// A survey grid's coordinates: the TINs lie millions of metres north.
constexpr double kNorth = 2936000, kEast = 365000;
constexpr double kSide = 10000;  // metres: 1,000,000 points 10 m apart on average

double median(const std::vector<double>& v) {
  std::vector<double> s = v;
  std::nth_element(s.begin(), s.begin() + static_cast<std::ptrdiff_t>(s.size() / 2), s.end());
  return s[s.size() / 2];
}

double ground(double x, double y) {
  return 1100 + 30 * std::sin((x - kNorth) / 700) + 20 * std::cos((y - kEast) / 450);
}

std::vector<TerrainPoint> randomPoints(std::size_t count) {
  std::mt19937_64 rng(19);
  std::uniform_real_distribution<double> along(0, kSide);
  std::vector<TerrainPoint> points(count);
  for (TerrainPoint& p : points) {
    p.x = kNorth + along(rng);
    p.y = kEast + along(rng);
    p.z = ground(p.x, p.y);
  }
  return points;
}

const CTerrainModel& randomTin() {
  static const CTerrainModel model = [] {
    CTerrainModel m;
    std::string error;
    if (!triangulateTerrain(randomPoints(kPoints), {}, 0, m, error)) std::fprintf(stderr, "%s\n", error.c_str());
    return m;
  }();
  return model;
}

void BM_TriangulateRandomPoints(benchmark::State& state) {
  const std::vector<TerrainPoint> points = randomPoints(kPoints);
  for (auto _ : state) {
    CTerrainModel model;
    std::string error;
    if (!triangulateTerrain(points, {}, 0, model, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(model);
  }
  state.counters["points"] = static_cast<double>(kPoints);
}
BENCHMARK(BM_TriangulateRandomPoints)->Unit(benchmark::kMillisecond)->Iterations(3);

// Peak resident memory of a process that generates and triangulates the
// points (MB): the child's own high-water mark.
void BM_TriangulatePeakMemory(benchmark::State& state) {
  double peakMb = 0;
  for (auto _ : state) {
    const pid_t child = fork();
    if (child == 0) {
      CTerrainModel model;
      std::string error;
      _exit(triangulateTerrain(randomPoints(kPoints), {}, 0, model, error) ? 0 : 1);
    }
    int status = 0;
    struct rusage usage {};
    wait4(child, &status, 0, &usage);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the child failed");
    peakMb = static_cast<double>(usage.ru_maxrss) / 1024;
  }
  state.counters["peak_MB"] = peakMb;
}
BENCHMARK(BM_TriangulatePeakMemory)->Unit(benchmark::kMillisecond)->Iterations(1);

// The whole load of a survey point file of the 1,000,000 points ("x,y,z",
// millimetres): reading, triangulating, indexing.
void BM_LoadPointFile(benchmark::State& state) {
  const std::string path =
      (std::filesystem::temp_directory_path() / ("trazmark-bench-points-" + std::to_string(getpid()) + ".csv")).string();
  {
    std::string text;
    char line[96];
    for (const TerrainPoint& p : randomPoints(kPoints)) {
      std::snprintf(line, sizeof line, "%.3f,%.3f,%.3f\n", p.x, p.y, p.z);
      text += line;
    }
    std::ofstream(path, std::ios::binary) << text;
  }
  for (auto _ : state) {
    CTerrainModel model;
    std::string error;
    if (!loadTerrainFile(path, {}, model, error)) state.SkipWithError(error.c_str());
    benchmark::DoNotOptimize(model);
  }
  std::filesystem::remove(path);
}
BENCHMARK(BM_LoadPointFile)->Unit(benchmark::kMillisecond)->Iterations(3);

// A LandXML TIN of a 709 × 709 grid of points 2 m apart: 1,002,528 faces.
const std::string& landXmlTinPath() {
  static const std::string path = [] {
    const int n = 709;
    const std::string file =
        (std::filesystem::temp_directory_path() / ("trazmark-bench-tin-" + std::to_string(getpid()) + ".xml")).string();
    std::string xml =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" "
        "version=\"1.2\">\n<Units><Metric linearUnit=\"meter\"/></Units>\n<Surfaces>\n"
        "<Surface name=\"EG\"><Definition surfType=\"TIN\">\n<Pnts>\n";
    char line[128];
    for (int i = 0; i < n; ++i)
      for (int j = 0; j < n; ++j) {
        const double x = kNorth + 2 * i, y = kEast + 2 * j;
        std::snprintf(line, sizeof line, "<P id=\"%d\">%.3f %.3f %.3f</P>\n", i * n + j + 1, x, y, ground(x, y));
        xml += line;
      }
    xml += "</Pnts>\n<Faces>\n";
    for (int i = 0; i + 1 < n; ++i)
      for (int j = 0; j + 1 < n; ++j) {
        const int a = i * n + j + 1, b = a + n, c = b + 1, d = a + 1;
        std::snprintf(line, sizeof line, "<F>%d %d %d</F>\n<F>%d %d %d</F>\n", a, b, c, a, c, d);
        xml += line;
      }
    xml += "</Faces>\n</Definition></Surface>\n</Surfaces>\n</LandXML>\n";
    std::ofstream(file, std::ios::binary) << xml;
    std::atexit([] { std::filesystem::remove(landXmlTinPath()); });
    return file;
  }();
  return path;
}

void BM_ReadLandXmlTin(benchmark::State& state) {
  const std::string& path = landXmlTinPath();
  std::size_t faces = 0;
  for (auto _ : state) {
    CTerrainModel model;
    std::string error;
    if (!loadTerrainFile(path, {}, model, error)) state.SkipWithError(error.c_str());
    faces = model.summary().triangles;
  }
  state.counters["faces"] = static_cast<double>(faces);
  state.counters["MB"] = static_cast<double>(std::filesystem::file_size(path)) / 1e6;
}
BENCHMARK(BM_ReadLandXmlTin)->Unit(benchmark::kMillisecond)->Iterations(3);

std::vector<std::pair<double, double>> queryPoints(std::size_t count) {
  std::mt19937_64 rng(7);
  std::uniform_real_distribution<double> along(0, kSide);
  std::vector<std::pair<double, double>> points(count);
  for (auto& p : points) p = {kNorth + along(rng), kEast + along(rng)};
  return points;
}

// One query at a time at random places over the 1,000,000-point TIN.
void BM_ElevationAt(benchmark::State& state) {
  const CTerrainModel& model = randomTin();
  const auto points = queryPoints(1 << 16);
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& p = points[i++ & 0xFFFF];
    benchmark::DoNotOptimize(model.elevationAt(p.first, p.second));
  }
}
BENCHMARK(BM_ElevationAt)->Repetitions(9)->ComputeStatistics("median", median);

// The same on the LandXML TIN of 1,002,528 faces as read from its file.
void BM_ElevationAtLandXmlTin(benchmark::State& state) {
  static const CTerrainModel model = [] {
    CTerrainModel m;
    std::string error;
    if (!loadTerrainFile(landXmlTinPath(), {}, m, error)) std::fprintf(stderr, "%s\n", error.c_str());
    return m;
  }();
  std::mt19937_64 rng(8);
  std::uniform_real_distribution<double> along(0, 2 * 708);
  std::vector<std::pair<double, double>> points(1 << 16);
  for (auto& p : points) p = {kNorth + along(rng), kEast + along(rng)};
  std::size_t i = 0;
  for (auto _ : state) {
    const auto& p = points[i++ & 0xFFFF];
    benchmark::DoNotOptimize(model.elevationAt(p.first, p.second));
  }
}
BENCHMARK(BM_ElevationAtLandXmlTin)->Repetitions(9)->ComputeStatistics("median", median);

// The ground along a 100 m line in any direction (a ground line across a road
// 50 m a side) over the same TIN.
void BM_GroundAlong100m(benchmark::State& state) {
  const CTerrainModel& model = randomTin();
  const auto points = queryPoints(1 << 12);
  std::size_t i = 0, vertices = 0, lines = 0;
  for (auto _ : state) {
    const auto& p = points[i++ & 0xFFF];
    const double a = static_cast<double>(i) * 2.399963;  // the golden angle: every direction
    const GroundLine line = model.groundAlong(p.first, p.second, p.first + 100 * std::cos(a),
                                              p.second + 100 * std::sin(a));
    for (const auto& piece : line.pieces) vertices += piece.size();
    ++lines;
    benchmark::DoNotOptimize(line);
  }
  state.counters["vertices_per_line"] = static_cast<double>(vertices) / static_cast<double>(std::max<std::size_t>(lines, 1));
}
BENCHMARK(BM_GroundAlong100m);

}  // namespace

BENCHMARK_MAIN();
