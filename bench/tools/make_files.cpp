// Writes the inputs of the whole-process comparisons into a folder:
//   road.REC    the generated road file of bench_roadfile (about 10 MB)
//   road.TDFE   the generated 100 km road as a curve file
//   points.csv  100,000 named points within 40 m of that road
// usage: bench_make_files FOLDER

#include <cstdio>
#include <filesystem>
#include <string>

#include "GeneratedRoad.h"
#include "GeneratedRoadFile.h"
#include "library/InputRoadLibrary.h"
#include "platform/CodePage.h"

int main(int argc, char** argv) {
  using namespace trazmark;
  if (argc != 2) {
    std::fputs("usage: bench_make_files FOLDER\n", stderr);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  // The names are UTF-8 whatever the locale.
  setAnsiCodePageOverride(kCodePageUtf8);
  CInputRoadLibrary road;
  bench::fillRoad(road);
  if (!road.writeRoadFile((folder / "road.REC").string())) {
    std::fprintf(stderr, "bench_make_files: cannot write %s\n", (folder / "road.REC").c_str());
    return 1;
  }
  bench::writeRoadCurveFile(folder);
  bench::writePointsFile((folder / "points.csv").string(), 100000);
  return 0;
}
