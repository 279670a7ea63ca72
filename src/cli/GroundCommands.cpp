// The existing ground from the command line: `ground` (the ground profile at
// the stakes, and the TIN's ground written as surveyed-line files),
// `ground-section` (the ground across the road at a station) and `terrain`
// (what a terrain file holds, elevations at points).

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "cli/CliArgs.h"
#include "cli/Commands.h"
#include "crosssection/RoadProfile.h"
#include "editors/AlignmentLoader.h"
#include "library/InputRoadLibrary.h"
#include "platform/TextFields.h"
#include "platform/WarningSink.h"
#include "terrain/GroundLineFiles.h"
#include "terrain/RoadGround.h"
#include "terrain/TerrainFile.h"

namespace trazmark::cli {
namespace {

// The half width of a ground line across the road unless --width says.
constexpr double kDefaultHalfWidth = 50;
// Pieces of a ground line closer than this to the end of the line asked for
// reach it: no gap is printed there (metres).
constexpr double kGapTolerance = 1e-6;

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

// "%.3f" without a minus sign on a value that prints as zero.
std::string millimetres(double value) {
  std::string text = formatFixed(value, 3);
  if (text == "-0.000") text = "0.000";
  return text;
}

// The terrain options other than --terrain itself, checked.
bool terrainOptions(CliArgs& args, TerrainLoadOptions& options, std::string& error) {
  options.pointFormat = args.value("--format").value_or("x,y,z");
  if (options.pointFormat != "x,y,z" && options.pointFormat != "name,x,y,z" &&
      options.pointFormat != "name,code,e,n,z") {
    error = "--format must be x,y,z, name,x,y,z or name,code,e,n,z";
    return false;
  }
  options.breaklinePath = args.value("--breaklines").value_or("");
  options.surfaceName = args.value("--surface").value_or("");
  options.maxEdge = args.number("--max-edge", 0);
  if (!args.ok()) {
    error = args.error();
    return false;
  }
  if (options.maxEdge < 0) {
    error = "--max-edge must not be negative (0: no limit)";
    return false;
  }
  return true;
}

}  // namespace

// The drawings (`profile-plot`, `section-plot`) read the ground as these
// commands do.
const std::vector<std::string> kTerrainOptions = {"--terrain", "--format", "--breaklines",
                                                  "--max-edge", "--surface"};

bool loadGround(CliArgs& args, const std::string& roadPath, bool tinOnly, CRoadGround& ground,
                std::string& error) {
  RoadTerrainSettings settings;
  std::string folder;
  if (auto terrain = args.value("--terrain")) {
    TerrainLoadOptions options;
    if (!terrainOptions(args, options, error)) return false;
    settings.terrainPath = *terrain;
    settings.pointFormat = options.pointFormat;
    settings.breaklinePath = options.breaklinePath;
    settings.surfaceName = options.surfaceName;
    settings.maxEdge = options.maxEdge;
  } else {
    for (const std::string& option : kTerrainOptions) {
      if (args.has(option)) {
        error = option + " goes with --terrain FILE";
        return false;
      }
    }
    if (!readRoadTerrainSettings(roadPath, settings, error)) return false;
    folder = std::filesystem::path(roadPath).parent_path().string();
  }
  if (tinOnly) {
    settings.dmxPath.clear();
    settings.hdmPath.clear();
  }
  if (settings.terrainPath.empty() && settings.dmxPath.empty() && settings.hdmPath.empty()) {
    error = roadPath + ": no ground (give --terrain FILE, or name it in " +
            roadTerrainSettingsPath(roadPath) + ")";
    return false;
  }
  if (!ground.load(settings, folder, error)) return false;
  return true;
}

namespace {

bool readHalfWidth(CliArgs& args, double& halfWidth, std::string& error) {
  halfWidth = args.number("--width", kDefaultHalfWidth);
  if (!args.ok()) {
    error = args.error();
    return false;
  }
  if (!(halfWidth > 0)) {
    error = "--width must be positive";
    return false;
  }
  return true;
}

// The grade line of a road file; none for another alignment file or a road
// without grade points. A grade line that cannot be built is an error.
bool loadGradeLine(const std::string& path, const CRoadDesign& design,
                   std::optional<CRoadProfile>& profile, std::string& error) {
  if (fileTypeCode(path) != "REC") return true;
  CInputRoadLibrary road;
  if (!road.readRoadFile(path)) {
    error = path + ": cannot read the road file";
    return false;
  }
  if (road.verticalCurves.empty()) return true;
  profile.emplace();
  if (!profile->build(road.verticalCurves, design, error)) {
    error = path + ": " + error;
    return false;
  }
  return true;
}

// The .dmx and .hdm of the TIN's ground at the stakes. Stations where the TIN
// has no ground at the centre are left out of both (the files cannot hold a
// gap) and counted; a station the stake list gives twice to the millimetre
// (a key point on a stake) is written once.
bool groundLineFilesAt(const std::vector<RoadCoordinate>& stakes, const CRoadGround& ground,
                       double halfWidth, bool withSections, SurveyedGroundProfile& profile,
                       SurveyedGroundSections& sections, std::size_t& withoutGround,
                       std::string& error) {
  const CTerrainModel& tin = *ground.terrain();
  withoutGround = 0;
  long long lastStation = 0;
  for (const RoadCoordinate& stake : stakes) {
    const long long station = std::llround(stake.mileage * 1000);
    if (!profile.points.empty() && station <= lastStation) {
      if (station == lastStation) continue;
      error = "station " + millimetres(stake.mileage) +
              " comes again after a long broken chain; the .dmx and .hdm files hold each "
              "station once";
      return false;
    }
    const std::optional<double> centre = tin.elevationAt(stake.x, stake.y);
    if (!centre) {
      ++withoutGround;
      continue;
    }
    lastStation = station;
    // Everything in whole millimetres first, so that the steps of a section
    // add up to the points they came from, without a drift of rounding.
    const long long centreMm = std::llround(*centre * 1000);
    profile.points.push_back({station / 1000.0, centreMm / 1000.0});
    if (!withSections) continue;

    SurveyedGroundSection section;
    section.station = station / 1000.0;
    const GroundLine line = ground.across(stake.mileage, stake.x, stake.y, stake.azimuth, halfWidth);
    for (const auto& piece : line.pieces) {
      if (piece.empty() || piece.front().distance > kGapTolerance ||
          piece.back().distance < -kGapTolerance)
        continue;
      // The piece under the centre stake: each side runs outward from it to
      // the width or the first gap.
      for (int side = -1; side <= 1; side += 2) {
        auto& steps = side < 0 ? section.left : section.right;
        long long lastOffset = 0, lastElevation = centreMm;
        auto add = [&](const GroundVertex& v) {
          const long long offset = std::llround(std::fabs(v.distance) * 1000);
          if (offset <= lastOffset) return;
          const long long elevation = std::llround(v.elevation * 1000);
          steps.push_back({(offset - lastOffset) / 1000.0, (elevation - lastElevation) / 1000.0});
          lastOffset = offset;
          lastElevation = elevation;
        };
        if (side < 0) {
          for (auto v = piece.rbegin(); v != piece.rend(); ++v)
            if (v->distance < 0) add(*v);
        } else {
          for (const GroundVertex& v : piece)
            if (v.distance > 0) add(v);
        }
      }
      break;
    }
    sections.sections.push_back(std::move(section));
  }
  return true;
}

}  // namespace

int cmdGround(const std::vector<std::string>& argv) {
  CliArgs args(argv,
               joined({"--interval", "--dmx", "--hdm", "--width", "--chain"}, kTerrainOptions),
               {"--chain"}, {"--csv"});
  const double interval = args.number("--interval", 20);
  if (!args.ok()) return fail(args.error());
  if (args.positional().size() != 1) return fail("ground: expected one ROAD.REC");
  if (!(interval >= 1)) return fail("ground: the interval must be at least 1");
  const bool writeFiles = args.has("--dmx") || args.has("--hdm");
  if (args.has("--width") && !args.has("--hdm")) return fail("ground: --width goes with --hdm");
  if (writeFiles && args.has("--csv")) return fail("ground: --csv prints; --dmx and --hdm write files");
  double halfWidth = kDefaultHalfWidth;
  std::string error;
  if (!readHalfWidth(args, halfWidth, error)) return fail("ground: " + error);
  const std::string& path = args.positional()[0];

  CRoadDesign design;
  if (!loadDesign(path, args, design, error)) return fail(error);
  std::vector<RoadCoordinate> stakes;
  if (!design.stakeRecords(0, interval, 0, stakes))
    return fail("ground: the stake list cannot be computed (more than " +
                std::to_string(CRoadDesign::kMaxStakes) +
                " stakes at this interval, or a stake off the alignment)");
  CRoadGround ground;
  if (!loadGround(args, path, writeFiles, ground, error)) return fail("ground: " + error);

  if (writeFiles) {
    if (ground.terrain() == nullptr) return fail("ground: --dmx and --hdm write a TIN's ground");
    SurveyedGroundProfile profile;
    SurveyedGroundSections sections;
    std::size_t withoutGround = 0;
    if (!groundLineFilesAt(stakes, ground, halfWidth, args.has("--hdm"), profile, sections,
                           withoutGround, error))
      return fail("ground: " + error);
    if (profile.points.empty()) return fail("ground: the TIN has no ground under the road");
    if (auto dmx = args.value("--dmx"))
      if (!writeGroundProfileFile(*dmx, profile, error)) return fail("ground: " + error);
    if (auto hdm = args.value("--hdm"))
      if (!writeGroundSectionsFile(*hdm, sections, error)) return fail("ground: " + error);
    if (withoutGround > 0)
      showWarning(std::to_string(withoutGround) +
                      " stakes without ground under their centre are left out",
                  "ground");
    return 0;
  }

  std::optional<CRoadProfile> gradeLine;
  if (!loadGradeLine(path, design, gradeLine, error)) return fail("ground: " + error);
  const bool csv = args.has("--csv");
  std::string out;
  out.reserve(stakes.size() * 40);
  if (!csv) appendFormat(out, "%12s %10s %10s %9s\n", "station", "ground", "design", "height");
  for (const RoadCoordinate& stake : stakes) {
    std::string fields[4] = {millimetres(stake.mileage), "-", "-", "-"};
    const std::optional<double> z = ground.centreElevation(stake.mileage, stake.x, stake.y);
    if (z) fields[1] = millimetres(*z);
    if (gradeLine) {
      if (const std::optional<double> designZ = gradeLine->elevationAt(stake.continuousMileage)) {
        fields[2] = millimetres(*designZ);
        if (z) fields[3] = millimetres(*designZ - *z);
      }
    }
    if (csv) {
      out += fields[0];
      for (int k = 1; k < 4; ++k) {
        out += ',';
        out += fields[k];
      }
      out += '\n';
    } else {
      appendFormat(out, "%12s %10s %10s %9s\n", fields[0].c_str(), fields[1].c_str(),
                   fields[2].c_str(), fields[3].c_str());
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

int cmdGroundSection(const std::vector<std::string>& argv) {
  CliArgs args(argv, joined({"--width", "--side", "--chain"}, kTerrainOptions), {"--chain"});
  if (!args.ok()) return fail(args.error());
  if (args.positional().size() != 2) return fail("ground-section: expected ROAD.REC and STATION");
  const std::string& path = args.positional()[0];
  double station = 0;
  if (!parseNumber(args.positional()[1], station))
    return fail("ground-section: STATION '" + args.positional()[1] + "' is not a number");
  const std::string sideText = args.value("--side").value_or("default");
  int side = -1;
  if (sideText == "before") side = 0;
  else if (sideText == "after") side = 1;
  else if (sideText != "default")
    return fail("ground-section: --side must be before, after or default");
  double halfWidth = kDefaultHalfWidth;
  std::string error;
  if (!readHalfWidth(args, halfWidth, error)) return fail("ground-section: " + error);

  CRoadDesign design;
  if (!loadDesign(path, args, design, error)) return fail(error);
  const auto centre = design.pointAtStation(station, 0, side);
  if (!centre) {
    const bool skipped = std::isnan(design.continuousFromDisplayed(station, side));
    return fail("ground-section: station " + formatFixed(station, 3) +
                (skipped ? " is skipped by a short broken chain" : " is not on the alignment"));
  }
  CRoadGround ground;
  if (!loadGround(args, path, false, ground, error)) return fail("ground-section: " + error);
  const GroundLine line = ground.across(station, centre->x, centre->y, centre->azimuth, halfWidth);

  // A gap wherever the line has no ground: before the first piece, between
  // pieces and after the last, within ±width.
  std::string out;
  if (line.empty()) out = "gap\n";
  for (std::size_t k = 0; k < line.pieces.size(); ++k) {
    const auto& piece = line.pieces[k];
    if (piece.empty()) continue;
    if (k > 0 || piece.front().distance > -halfWidth + kGapTolerance) out += "gap\n";
    for (const GroundVertex& v : piece) {
      out += millimetres(v.distance);
      out += ',';
      out += millimetres(v.elevation);
      out += '\n';
    }
    if (k + 1 == line.pieces.size() && piece.back().distance < halfWidth - kGapTolerance)
      out += "gap\n";
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

int cmdTerrain(const std::vector<std::string>& argv) {
  CliArgs args(argv, joined({"--points"}, kTerrainOptions));
  if (!args.ok()) return fail(args.error());
  const auto& pos = args.positional();
  const bool info = pos.size() == 2 && pos[0] == "info";
  if (args.has("--terrain")) return fail("terrain: the terrain FILE is the argument, not --terrain");
  if (!info && (pos.size() != 1 || !args.has("--points")))
    return fail("terrain: expected info FILE, or FILE --points CSV");
  if (info && args.has("--points")) return fail("terrain: info takes no --points");
  const std::string& file = info ? pos[1] : pos[0];
  TerrainLoadOptions options;
  std::string error;
  if (!terrainOptions(args, options, error)) return fail("terrain: " + error);

  // The points are checked whole before the terrain is read, as `locate` does.
  std::vector<NamedPoint> points;
  if (!info && !readNamedPoints(*args.value("--points"), points, error))
    return fail("terrain: " + error);
  CTerrainModel model;
  if (!loadTerrainFile(file, options, model, error)) return fail("terrain: " + error);

  std::string out;
  if (info) {
    const TerrainSummary& s = model.summary();
    appendFormat(out, "terrain file        %s\n", file.c_str());
    appendFormat(out, "points              %zu\n", s.points);
    appendFormat(out, "triangles           %zu\n", s.triangles);
    appendFormat(out, "extent X (north)    %.3f .. %.3f\n", s.minX, s.maxX);
    appendFormat(out, "extent Y (east)     %.3f .. %.3f\n", s.minY, s.maxY);
    appendFormat(out, "elevation           %.3f .. %.3f\n", s.minZ, s.maxZ);
    appendFormat(out, "dropped triangles   %zu\n", s.droppedTriangles);
    appendFormat(out, "duplicate points    %zu\n", s.duplicatePoints);
  } else {
    out.reserve(points.size() * 24);
    for (const NamedPoint& p : points) {
      out += p.name;
      if (auto z = model.elevationAt(p.x, p.y)) {
        appendFormat(out, ",%.4f\n", *z);
      } else {
        out += ",outside\n";
      }
    }
  }
  std::fwrite(out.data(), 1, out.size(), stdout);
  return 0;
}

}  // namespace trazmark::cli
