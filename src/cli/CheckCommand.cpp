// `check`: surveyed points of what was built against the design of a road
// file: station, offset, design elevation, the differences and the flags.

#include <cctype>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "asbuilt/SurveyCheck.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "editors/AlignmentLoader.h"
#include "library/InputRoadLibrary.h"
#include "platform/TextFile.h"
#include "terrain/RoadGround.h"

#if defined(TRAZMARK_WITH_MAPS)
#include "maps/SurveyCheckReport.h"
#define TRAZMARK_CHECK_PDF 1
#endif

namespace trazmark::cli {
namespace {

bool endsWithPdf(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".pdf";
}

bool readTolerance(CliArgs& args, const char* option, double fallback, double& value,
                   std::string& error) {
  value = args.number(option, fallback);
  if (!args.ok()) {
    error = args.error();
    return false;
  }
  if (!(value >= 0)) {
    error = std::string(option) + " must not be negative";
    return false;
  }
  return true;
}

// The road's ground when it has one: --terrain and its options (the terrain
// points file's columns are --terrain-format here, since --format names the
// surveyed points' columns), else what the road's settings file names; no
// ground at all is no error, the slopes are then not checked.
bool loadOptionalGround(const CliArgs& args, const std::string& roadPath,
                        std::shared_ptr<const CRoadGround>& ground, std::string& error) {
  std::vector<std::string> groundArgs;
  for (const char* option : {"--terrain", "--breaklines", "--max-edge", "--surface"})
    if (auto v = args.value(option)) groundArgs.insert(groundArgs.end(), {option, *v});
  if (auto v = args.value("--terrain-format")) groundArgs.insert(groundArgs.end(), {"--format", *v});
  if (!args.has("--terrain")) {
    for (const char* option : {"--terrain-format", "--breaklines", "--max-edge", "--surface"})
      if (args.has(option)) {
        error = std::string(option) + " goes with --terrain FILE";
        return false;
      }
    RoadTerrainSettings settings;
    if (!readRoadTerrainSettings(roadPath, settings, error)) return false;
    if (settings.terrainPath.empty() && settings.dmxPath.empty() && settings.hdmPath.empty())
      return true;
  }
  CliArgs terrainArgs(groundArgs, kTerrainOptions);
  auto loaded = std::make_shared<CRoadGround>();
  if (!loadGround(terrainArgs, roadPath, false, *loaded, error)) return false;
  ground = std::move(loaded);
  return true;
}

}  // namespace

int cmdCheck(const std::vector<std::string>& argv) {
  std::vector<std::string> valueOptions = {"--points", "--format", "--tol-z", "--tol-offset",
                                           "--pavement-depth", "-o", "--chain", "--terrain",
                                           "--terrain-format", "--breaklines", "--max-edge",
                                           "--surface"};
  CliArgs args(argv, valueOptions, {"--chain"}, {"--csv"});
  if (!args.ok()) return fail("check: " + args.error());
  if (args.positional().size() != 1 || !args.has("--points"))
    return fail("check: expected ROAD.REC --points FILE");
  const std::string& path = args.positional()[0];
  if (fileTypeCode(path) != "REC") return fail("check: " + path + " is not a road file (.REC)");

  SurveyedPointFormat format = SurveyedPointFormat::kNameXYZ;
  if (auto f = args.value("--format"); f && !parseSurveyedPointFormat(*f, format))
    return fail("check: --format must be name,x,y,z or name,code,e,n,z");
  CheckTolerances tolerances;
  std::string error;
  if (!readTolerance(args, "--tol-z", 0.02, tolerances.vertical, error) ||
      !readTolerance(args, "--tol-offset", 0.05, tolerances.horizontal, error))
    return fail("check: " + error);
  const std::optional<std::string> output = args.value("-o");
  const bool pdf = output && endsWithPdf(*output);
#ifndef TRAZMARK_CHECK_PDF
  if (pdf) return fail("check: this build writes no PDF report (use a .txt or .csv output)");
#endif

  // The points file whole before anything else, so a bad line is the one answer.
  const std::string pointsPath = *args.value("--points");
  std::string text;
  if (!readTextFileAsAnsi(pointsPath, text)) return fail("check: " + pointsPath + ": cannot read the points file");
  std::vector<SurveyedPoint> points;
  if (!readSurveyedPoints(text, format, points, error)) return fail("check: " + pointsPath + ": " + error);

  double pavementDepth = 0;
  if (!readPavementDepth(args, path, pavementDepth, error)) return fail("check: " + error);
  CRoadDesign design;
  if (!loadDesign(path, args, design, error)) return fail(error);
  CInputRoadLibrary road;
  if (!road.readRoadFile(path)) return fail(path + ": cannot read the road file");
  std::shared_ptr<const CRoadGround> ground;
  if (!loadOptionalGround(args, path, ground, error)) return fail("check: " + error);

  CSurveyCheck check;
  if (!check.prepare(road, design, ground, pavementDepth, error)) return fail("check: " + path + ": " + error);
  std::vector<CheckedPoint> rows;
  checkSurveyedPoints(check, points, tolerances, rows);
  const CheckSummary summary = summarizeCheck(rows);

  if (pdf) {
#ifdef TRAZMARK_CHECK_PDF
    const std::string roadName = design.roadName().empty() ? path : design.roadName();
    if (!writeSurveyCheckReport(*output, design, rows, summary, tolerances, roadName, error))
      return fail("check: " + error);
#endif
    return 0;
  }
  const std::string report = checkReportText(rows, summary, args.has("--csv"));
  if (output) {
    if (!writeTextFileAtomically(*output, report)) return fail("check: cannot write " + *output);
    return 0;
  }
  std::fwrite(report.data(), 1, report.size(), stdout);
  return 0;
}

}  // namespace trazmark::cli
