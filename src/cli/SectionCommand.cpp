// `section`: the cross section of a road file at a station.

#include <cstdio>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "crosssection/RoadProfile.h"
#include "crosssection/SectionAtStation.h"
#include "earthwork/EarthworkSection.h"
#include "editors/AlignmentLoader.h"
#include "library/InputRoadLibrary.h"
#include "platform/TextFields.h"
#include "terrain/RoadGround.h"

namespace trazmark::cli {
namespace {

// The section against the ground: the formation, each side's catch point and
// areas, or why a side has none.
void appendEarthwork(const EarthworkSection& e, bool csv, std::string& out) {
  const EarthworkSide* sides[] = {&e.left, &e.right};
  if (csv) {
    for (const DesignVertex& v : e.formation)
      appendFormat(out, "FORMATION,%.4f,%.4f\n", v.offset, v.elevation);
    for (const EarthworkSide* s : sides) {
      const char name = s == &e.left ? 'L' : 'R';
      if (s->catchPoint)
        appendFormat(out, "CATCH,%c,%.4f,%.4f,%.4f,%.4f\n", name, s->catchPoint->offset,
                     s->catchPoint->elevation, s->catchPoint->x, s->catchPoint->y);
      if (s->hasAreas()) appendFormat(out, "AREA,%c,%.2f,%.2f\n", name, s->cutArea, s->fillArea);
      else appendFormat(out, "STATUS,%c,%s\n", name, s->message.c_str());
    }
    if (e.hasAreas()) appendFormat(out, "AREA,TOTAL,%.2f,%.2f\n", e.cutArea(), e.fillArea());
    return;
  }
  appendFormat(out, "pavement depth %.3f  ground at centre ", e.pavementDepth);
  out += e.groundCentre ? formatFixed(*e.groundCentre, 4) : std::string("-");
  out += "\nformation";
  for (const DesignVertex& v : e.formation) appendFormat(out, "  %.4f/%.4f", v.offset, v.elevation);
  out += '\n';
  appendFormat(out, "%-4s %-4s %-12s %11s %11s %14s %14s %10s %10s\n", "side", "cut", "slope",
               "catch", "elevation", "X", "Y", "cut m2", "fill m2");
  for (const EarthworkSide* s : sides) {
    const char name = s == &e.left ? 'L' : 'R';
    appendFormat(out, "%-4c %-4s %-12s", name, s->cut ? "cut" : "fill",
                 s->slopeName.empty() ? "-" : s->slopeName.c_str());
    if (s->catchPoint)
      appendFormat(out, " %11.4f %11.4f %14.4f %14.4f", s->catchPoint->offset,
                   s->catchPoint->elevation, s->catchPoint->x, s->catchPoint->y);
    else
      appendFormat(out, " %11s %11s %14s %14s", "-", "-", "-", "-");
    if (s->hasAreas()) appendFormat(out, " %10.2f %10.2f\n", s->cutArea, s->fillArea);
    else appendFormat(out, " %10s %10s  %s\n", "-", "-", s->message.c_str());
  }
  if (e.hasAreas())
    appendFormat(out, "total%*s %10.2f %10.2f\n", 80, "", e.cutArea(), e.fillArea());
}

// Whether the section is asked against the ground: --terrain, another terrain
// option (which then fails in loadGround), or a settings file naming ground.
bool wantsGround(const CliArgs& args, const std::string& path, bool& wanted, std::string& error) {
  wanted = false;
  for (const std::string& option : kTerrainOptions) wanted = wanted || args.has(option);
  if (wanted) return true;
  RoadTerrainSettings settings;
  if (!readRoadTerrainSettings(path, settings, error)) return false;
  wanted = !settings.terrainPath.empty() || !settings.dmxPath.empty() || !settings.hdmPath.empty();
  return true;
}

}  // namespace

int cmdSection(const std::vector<std::string>& argv) {
  std::vector<std::string> valueOptions = {"--side", "--chain", "--pavement-depth"};
  valueOptions.insert(valueOptions.end(), kTerrainOptions.begin(), kTerrainOptions.end());
  CliArgs args(argv, valueOptions, {"--chain"}, {"--csv"});
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
  bool withGround = false;
  if (!wantsGround(args, path, withGround, error)) return fail(error);
  if (!withGround && args.has("--pavement-depth"))
    return fail("section: --pavement-depth goes with the ground (--terrain FILE)");
  EarthworkSection earthwork;
  if (withGround) {
    CRoadGround ground;
    double depth = 0;
    if (!readPavementDepth(args, path, depth, error)) return fail("section: " + error);
    if (!loadGround(args, path, false, ground, error)) return fail(error);
    if (!earthworkSectionAt(road, design, profile, ground, depth, station, side, earthwork, error))
      return fail("section: " + error);
  } else if (!sectionAtStation(road, design, profile, station, side, earthwork.finished, error)) {
    return fail("section: " + error);
  }
  const SectionAtStation& section = earthwork.finished;

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
  if (withGround) appendEarthwork(earthwork, args.has("--csv"), out);
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

}  // namespace trazmark::cli
