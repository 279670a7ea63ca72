// Feeds arbitrary numbers as a road's components, grade points, side slopes
// and earthwork options to the earthwork over a tilted plane: the section at a
// station and the table. Nothing may crash or hang, and no side that reports
// areas may report a negative one.

#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "alignment/RoadDesign.h"
#include "crosssection/RoadProfile.h"
#include "earthwork/EarthworkSection.h"
#include "earthwork/EarthworkTable.h"
#include "platform/WarningSink.h"
#include "terrain/RoadGround.h"

using namespace trazmark;

namespace {

struct Reader {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t pos = 0;
  double number() {
    double v = 0;
    if (pos + sizeof v <= size) std::memcpy(&v, data + pos, sizeof v);
    pos += sizeof v;
    return v;
  }
  int small(int n) {
    const int v = pos < size ? data[pos] % n : 0;
    ++pos;
    return v;
  }
};

// Due north from (0, 0) for 200 m.
const CRoadDesign& design() {
  static const CRoadDesign d = [] {
    Road_Element start;
    start.Type = 1;
    Road_Element line;
    line.Type = 2;
    line.Length = 200;
    CRoadDesign r;
    if (!r.loadFromRoad("fuzz", 0, {start, line})) std::abort();
    return r;
  }();
  return d;
}

// z = 100 + 0.05 y on a 10 m grid over the road and 100 m either side.
const CRoadGround& ground() {
  static const CRoadGround g = [] {
    const auto path = std::filesystem::temp_directory_path() /
                      ("trazmark-earthwork-fuzz-" + std::to_string(getpid()) + ".csv");
    {
      std::ofstream out(path, std::ios::binary);
      for (int x = -10; x <= 210; x += 10)
        for (int y = -100; y <= 100; y += 10) out << x << ',' << y << ',' << 100 + 0.05 * y << '\n';
    }
    RoadTerrainSettings settings;
    settings.terrainPath = path.string();
    CRoadGround loaded;
    std::string error;
    if (!loaded.load(settings, "", error)) std::abort();
    std::filesystem::remove(path);
    return loaded;
  }();
  return g;
}

void checkSide(const EarthworkSide& side) {
  if (side.hasAreas() && (side.cutArea < 0 || side.fillArea < 0)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = [] {
    setWarningSink([](const std::string&, const std::string&) {});
    return true;
  }();
  (void)quiet;
  Reader in{data, size};
  RoadDataSet road;
  for (int i = 0, n = 1 + in.small(3); i < n; ++i) {
    CVerticalCurveCal p;
    p.Mileage = i == 0 ? 0 : in.number();
    p.High = in.number();
    p.Radius = in.small(2) ? in.number() : 0;
    road.verticalCurves.append(p);
  }
  static const char* names[] = {"lane", "土路肩", "verge", "hard shoulder"};
  for (int s = 0; s < 2; ++s)
    for (int i = 0, n = in.small(4); i < n; ++i) {
      Road_Section_Item c;
      c.setModuleName(names[in.small(4)]);
      c.Width = in.number();
      c.Slope = in.number();
      c.Roadteeth = in.small(4) == 0 ? in.number() : 0;
      (s ? road.rightSections : road.leftSections).append(c);
    }
  for (int i = 0, n = in.small(5); i < n; ++i) {
    Road_Slope slope;
    slope.LeftRight = in.small(2);
    slope.Type = in.small(2);
    slope.SlopeName = "S" + std::to_string(i);
    slope.StartMileage = in.small(2) ? in.number() : 0;
    slope.EndMileage = in.small(2) ? in.number() : 200;
    for (int k = 0, steps = in.small(6); k < steps; ++k) {
      Road_Slope_Item step;
      step.SlopeName = slope.SlopeName;
      step.Mode = in.small(2);
      step.SlopeH = in.number();
      step.SlopeScale = in.number();
      step.Width = in.number();
      slope.items.append(step);
    }
    road.slopes.append(slope);
  }
  CRoadProfile profile;
  std::string error;
  if (!profile.build(road.verticalCurves, design(), error)) return 0;

  const double depth = in.small(2) ? in.number() : 0.3;
  EarthworkSection section;
  if (earthworkSectionAt(road, design(), profile, ground(), depth, in.number(), -1, section, error)) {
    checkSide(section.left);
    checkSide(section.right);
  }

  EarthworkOptions options;
  options.interval = in.small(2) ? in.number() : 20;
  // A tiny interval is refused only past two million stations: slow, not wrong.
  if (options.interval > 0 && options.interval < 1) options.interval = 1;
  if (in.small(2)) options.from = in.number();
  if (in.small(2)) options.to = in.number();
  options.prismoidal = in.small(2);
  options.bulking = in.small(2) ? in.number() : 1;
  options.pavementDepth = depth;
  options.allowIncomplete = in.small(2);
  EarthworkTable table;
  if (earthworkTable(road, design(), profile, ground(), options, table, error)) {
    for (const EarthworkRow& r : table.rows)
      if (r.cutArea < 0 || r.fillArea < 0 || r.distance < 0) std::abort();
  } else if (!table.rows.empty()) {
    std::abort();
  }
  return 0;
}
