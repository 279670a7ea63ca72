// The floor of `trazmark-cli stakes`: formats N lines of a stake list through
// the engine's own line formatter and writes them to standard output, with
// records made by plain arithmetic instead of the alignment.
// usage: bench_format_stakes N

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"

int main(int argc, char** argv) {
  using trazmark::RoadCoordinate;
  if (argc != 2) {
    std::fputs("usage: bench_format_stakes N\n", stderr);
    return 2;
  }
  const long count = std::strtol(argv[1], nullptr, 10);
  std::vector<RoadCoordinate> records(4096);
  std::string text;
  for (long first = 0; first < count; first += 4096) {
    const long n = std::min<long>(4096, count - first);
    records.resize(static_cast<std::size_t>(n));
    for (long k = 0; k < n; ++k) {
      const long i = first + k;
      RoadCoordinate& r = records[static_cast<std::size_t>(k)];
      // A gentle curve at survey coordinates, a stake a metre.
      const double a = 0.4 + 1e-5 * static_cast<double>(i);
      r.kind = RoadCoordinate::kRegularStake;
      r.name = std::to_string(i + 1);
      r.mileage = 1000.0 + static_cast<double>(i);
      char buf[64];
      r.mileageText.assign(buf, std::to_chars(buf, buf + sizeof buf, r.mileage,
                                              std::chars_format::fixed, 4).ptr);
      r.x = 3500000.0 + 0.9 * static_cast<double>(i) + 0.123456789;
      r.y = 500000.0 + 0.4 * static_cast<double>(i) + 0.987654321;
      r.azimuth = a;
    }
    text.clear();
    trazmark::CRoadDesign::appendStakeLines(records, text);
    if (std::fwrite(text.data(), 1, text.size(), stdout) != text.size()) return 1;
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}
