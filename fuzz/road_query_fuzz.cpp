// Feeds arbitrary numbers as broken chains, grade points, change points and
// query points to the road's queries: the chain conversions, pointAtStation,
// locate, the stake list with elevations and the cross section. Nothing may
// crash or hang, and every answer locate gives must have finite numbers.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "crosssection/RoadProfile.h"
#include "crosssection/SectionAtStation.h"
#include "platform/WarningSink.h"

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

const CRoadDesign& road() {
  static const CRoadDesign d = [] {
    auto element = [](int type, double length, double value) {
      Road_Element r;
      r.Type = type;
      r.Length = length;
      if (type == 2) r.Azimuth = value;
      if (type == 3) r.Radius = value;
      return r;
    };
    Road_Element start;
    start.Type = 1;
    CRoadDesign design;
    design.loadFromRoad("fuzz", 1000,
                        {start, element(2, 200, 30), element(4, 60, 0), element(3, 150, 250),
                         element(4, 60, 0), element(2, 100, 0), element(3, 80 * 3.14159, -40),
                         element(2, 200, 0)});
    return design;
  }();
  return d;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const bool quiet = [] {
    setWarningSink([](const std::string&, const std::string&) {});
    return true;
  }();
  (void)quiet;
  Reader in{data, size};
  CRoadDesign d = road();
  const int chains = in.small(5);
  for (int i = 0; i < chains; ++i) {
    Scisson_Data c;
    c.Type = in.small(2);
    c.Length = in.number();
    c.Before_mileage = in.number();
    c.After_mileage = in.number();
    d.brokenChains.append(c);
  }
  d.longChainDefaultAfter = in.small(2) == 1;
  const std::string chainError = d.brokenChainError();
  const double station = in.number();
  const double offset = in.number();
  const int side = in.small(3) - 1;
  d.continuousFromDisplayed(station, side);
  d.displayedFromContinuous(station);
  d.pointAtStation(station, offset, side);
  const StationLocation l = d.locate(in.number(), in.number());
  if (l.status != StationLocation::kInvalid &&
      (!std::isfinite(l.continuousMileage) || !std::isfinite(l.offset) || !std::isfinite(l.distance)))
    std::abort();
  if (l.status != StationLocation::kInvalid && !chainError.empty()) std::abort();

  RoadDataSet r;
  const int grades = in.small(5);
  for (int i = 0; i < grades; ++i) {
    CVerticalCurveCal p;
    p.Mileage = in.number();
    p.High = in.number();
    p.Radius = in.number();
    p.CalMode = in.small(4);
    r.verticalCurves.append(p);
  }
  Road_Section_Item lane;
  lane.setModuleName("lane");
  lane.Width = in.number();
  lane.Slope = in.number();
  lane.Roadteeth = in.number();
  r.leftSections.append(lane);
  r.rightSections.append(lane);
  Road_Super_Item item;
  item.SectionName = "lane";
  item.LeftRight = in.small(2);
  const int changes = in.small(4);
  for (int i = 0; i < changes; ++i) item.values.append({in.number(), in.number(), in.number(), in.small(4)});
  r.superHighs.append(item);
  r.widens.append(item);
  Road_Slope slope;
  slope.LeftRight = in.small(2);
  slope.Type = in.small(2);
  slope.StartMileage = in.number();
  slope.EndMileage = in.number();
  slope.items.append({"", "s", in.small(2), in.number(), in.number(), in.number()});
  r.slopes.append(slope);

  CRoadProfile profile;
  std::string error;
  if (profile.build(r.verticalCurves, d, error)) {
    std::vector<RoadCoordinate> records;
    if (d.stakeRecords(1, 25, 0, records)) fillStakeElevations(records, profile, error);
    SectionAtStation section;
    sectionAtStation(r, d, profile, station, side, section, error);
  }
  return 0;
}
