// `earthwork`: the cut and fill areas, volumes and mass ordinate of a road
// file along its stations over its ground.

#include <cstdio>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "crosssection/RoadProfile.h"
#include "earthwork/EarthworkTable.h"
#include "editors/AlignmentLoader.h"
#include "library/InputRoadLibrary.h"
#include "platform/TextFile.h"
#include "terrain/RoadGround.h"

namespace trazmark::cli {

bool readPavementDepth(CliArgs& args, const std::string& roadPath, double& depth,
                       std::string& error) {
  RoadTerrainSettings settings;
  if (!readRoadTerrainSettings(roadPath, settings, error)) return false;
  depth = args.number("--pavement-depth", settings.pavementDepth);
  if (!args.ok()) {
    error = args.error();
    return false;
  }
  if (!(depth >= 0)) {
    error = "--pavement-depth must not be negative";
    return false;
  }
  return true;
}

int cmdEarthwork(const std::vector<std::string>& argv) {
  std::vector<std::string> valueOptions = {"--interval", "--from", "--to", "--bulking",
                                           "--pavement-depth", "-o", "--chain"};
  valueOptions.insert(valueOptions.end(), kTerrainOptions.begin(), kTerrainOptions.end());
  CliArgs args(argv, valueOptions, {"--chain"}, {"--csv", "--prismoidal"});
  if (!args.ok()) return fail("earthwork: " + args.error());
  if (args.positional().size() != 1) return fail("earthwork: expected ROAD.REC");
  const std::string& path = args.positional()[0];
  if (fileTypeCode(path) != "REC") return fail("earthwork: " + path + " is not a road file (.REC)");

  EarthworkOptions options;
  options.interval = args.number("--interval", 20);
  options.bulking = args.number("--bulking", 1.0);
  if (args.has("--from")) options.from = args.number("--from", 0);
  if (args.has("--to")) options.to = args.number("--to", 0);
  options.prismoidal = args.has("--prismoidal");
  if (!args.ok()) return fail("earthwork: " + args.error());
  std::string error;
  if (!readPavementDepth(args, path, options.pavementDepth, error)) return fail("earthwork: " + error);

  CRoadDesign design;
  if (!loadDesign(path, args, design, error)) return fail(error);
  CInputRoadLibrary road;
  if (!road.readRoadFile(path)) return fail(path + ": cannot read the road file");
  if (road.verticalCurves.empty()) return fail(path + ": the road has no grade points");
  CRoadProfile profile;
  if (!profile.build(road.verticalCurves, design, error)) return fail(path + ": " + error);
  CRoadGround ground;
  if (!loadGround(args, path, false, ground, error)) return fail(error);

  EarthworkTable table;
  if (!earthworkTable(road, design, profile, ground, options, table, error))
    return fail("earthwork: " + error);
  const std::string text = earthworkTableText(table, args.has("--csv"));
  if (auto out = args.value("-o")) {
    if (!writeTextFileAtomically(*out, text)) return fail("earthwork: cannot write " + *out);
    return 0;
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  return 0;
}

}  // namespace trazmark::cli
