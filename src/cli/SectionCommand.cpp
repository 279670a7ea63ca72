// `section`: the cross section of a road file at a station.

#include <cstdio>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "crosssection/RoadProfile.h"
#include "crosssection/SectionAtStation.h"
#include "editors/AlignmentLoader.h"
#include "library/InputRoadLibrary.h"
#include "platform/TextFields.h"

namespace trazmark::cli {

int cmdSection(const std::vector<std::string>& argv) {
  CliArgs args(argv, {"--side", "--chain"}, {"--chain"}, {"--csv"});
  if (!args.ok()) return fail(args.error());
  if (args.positional().size() != 2) return fail("section: expected ROAD.REC and STATION");
  const std::string& path = args.positional()[0];
  double station = 0;
  if (!parseNumber(args.positional()[1], station))
    return fail("section: STATION '" + args.positional()[1] + "' is not a number");
  const std::string sideText = args.value("--side").value_or("default");
  int side = -1;
  if (sideText == "before") side = 0;
  else if (sideText == "after") side = 1;
  else if (sideText != "default") return fail("section: --side must be before, after or default");
  if (fileTypeCode(path) != "REC") return fail("section: " + path + " is not a road file (.REC)");

  CRoadDesign design;
  std::string error;
  if (!loadDesign(path, args, design, error)) return fail(error);
  CInputRoadLibrary road;
  if (!road.readRoadFile(path)) return fail(path + ": cannot read the road file");
  CRoadProfile profile;
  if (!profile.build(road.verticalCurves, design, error))
    return fail(path + ": " + error + " (the section's elevations need them)");
  SectionAtStation section;
  if (!sectionAtStation(road, design, profile, station, side, section, error))
    return fail("section: " + error);

  std::string out;
  if (args.has("--csv")) {
    for (const SectionEdge& e : section.edges) {
      out += e.side;
      out += ',' + e.name;
      appendFormat(out, ",%.4f,%.4f,%.4f,%.4f,%.4f,%.4f\n", e.width, e.slope, e.offset,
                   e.elevation, e.x, e.y);
    }
  } else {
    appendFormat(out, "station %.4f  continuous %.4f  centre X=%.4f Y=%.4f  elevation %.4f\n",
                 section.displayedStation, section.continuousMileage, section.centreX,
                 section.centreY, section.centreElevation);
    appendFormat(out, "%-4s %-24s %10s %10s %11s %11s %14s %14s\n", "side", "name", "width",
                 "slope %", "offset", "elevation", "X", "Y");
    for (const SectionEdge& e : section.edges) {
      appendFormat(out, "%-4c %-24s %10.4f %10.4f %11.4f %11.4f %14.4f %14.4f\n", e.side,
                   e.name.c_str(), e.width, e.slope, e.offset, e.elevation, e.x, e.y);
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

}  // namespace trazmark::cli
