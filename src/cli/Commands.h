#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace trazmark {
class CRoadDesign;
class CRoadGround;
}

namespace trazmark::cli {

class CliArgs;

/// Prints "trazmark-cli: MESSAGE" and any pending engine warnings as one line
/// on standard error; returns the exit code 1.
int fail(const std::string& message);

/// Loads FILE into `design` and applies the --chain options (which replace a
/// road file's chains); fails with a one-line reason when the file cannot be
/// loaded or the chains cannot be placed along the road.
bool loadDesign(const std::string& path, const CliArgs& args, CRoadDesign& design,
                std::string& error);

/// The stake list of a road file with the grade line's elevation in the Z
/// column (`stakes ROAD.REC --elevations`); false with a one-line `error`
/// when FILE is not a road file, has no grade points, or a stake has no
/// elevation.
bool stakeTextWithElevations(const std::string& path, const CRoadDesign& design,
                             int calculateMode, double interval, double offset, std::string& text,
                             std::string& error);

/// `section ROAD.REC STATION [--csv]`: the cross section at a station.
int cmdSection(const std::vector<std::string>& args);

/// A point of a points file (`locate --points`, `terrain --points`).
struct NamedPoint {
  std::string name;
  double x = 0;  ///< north, metres
  double y = 0;  ///< east, metres
  std::size_t line = 0;
};

/// Reads "NAME,X,Y" lines (a trailing comma allowed, blank lines skipped).
/// Every line is checked before any point is answered, so a bad file gives
/// one error line ("PATH line N: why") and no partial output.
bool readNamedPoints(const std::string& path, std::vector<NamedPoint>& points, std::string& error);

/// `locate FILE X Y` and `locate FILE --points CSV`: station and offset.
int cmdLocate(const std::vector<std::string>& args);

/// `plan FILE -o PLAN.png|svg|pdf|dxf [--size WxH]`: the plan map drawn offscreen.
int cmdPlan(const std::vector<std::string>& args);
/// `profile-plot ROAD.REC -o OUT.png|svg|pdf [--size WxH] [--terrain T]`: the
/// profile drawn, over the road's ground when it has one.
int cmdProfilePlot(const std::vector<std::string>& args);
/// `section-plot ROAD.REC -o OUT.png|svg|pdf [--size WxH] [--station S [--terrain T]]`:
/// the standard cross section drawn, or the section at a station over the ground.
int cmdSectionPlot(const std::vector<std::string>& args);
/// `section-sheets ROAD.REC -o OUT.pdf|svg|png [--interval N] [--from S --to S] [--terrain T]`:
/// the sections at the earthwork's stations against the ground, several a page.
int cmdSectionSheets(const std::vector<std::string>& args);
/// `mass-haul ROAD.REC -o OUT.png|svg|pdf [--size WxH] [--interval N] [--from S --to S]
/// [--bulking F] [--prismoidal] [--allow-incomplete] [--terrain T]`: the mass ordinate drawn.
int cmdMassHaul(const std::vector<std::string>& args);

/// The options of every command that reads a terrain: --terrain FILE and
/// --format, --breaklines, --max-edge, --surface with it.
extern const std::vector<std::string> kTerrainOptions;
/// The ground of the road at `roadPath`: what --terrain and its options name,
/// else what the road's settings file names (its paths relative to the road's
/// folder). `tinOnly` leaves the surveyed lines out. False with a one-line
/// `error` (a road that names no ground is one).
bool loadGround(CliArgs& args, const std::string& roadPath, bool tinOnly, CRoadGround& ground,
                std::string& error);

/// The pavement depth of a road: --pavement-depth D, else what the road's
/// settings file gives (0 without one). False with a one-line `error` for a
/// negative or unreadable value or a settings file that cannot be read.
bool readPavementDepth(CliArgs& args, const std::string& roadPath, double& depth,
                       std::string& error);
/// `earthwork ROAD.REC [--terrain T] [--interval N] [--from S --to S] [--prismoidal]
/// [--bulking F] [--pavement-depth D] [--csv] [-o OUT]`: the earthwork table.
int cmdEarthwork(const std::vector<std::string>& args);
/// `ground ROAD.REC`: the ground, the design and the fill or cut at every
/// stake; with --dmx/--hdm the TIN's ground written as surveyed-line files.
int cmdGround(const std::vector<std::string>& args);
/// `ground-section ROAD.REC STATION`: the ground across the road at a station.
int cmdGroundSection(const std::vector<std::string>& args);
/// `terrain info FILE` and `terrain FILE --points CSV`.
int cmdTerrain(const std::vector<std::string>& args);

/// `check ROAD.REC --points FILE [--format name,x,y,z|name,code,e,n,z] [--tol-z T]
/// [--tol-offset T] [--csv] [-o OUT]`: surveyed points against the design.
int cmdCheck(const std::vector<std::string>& args);

/// `import FILE.xml -o ROAD.REC [--alignment NAME]`: a LandXML alignment as a road file.
int cmdImport(const std::vector<std::string>& args);
/// `export ROAD.REC -o FILE.xml`: the road's alignment as LandXML.
int cmdExport(const std::vector<std::string>& args);

/// `table curves|stakes|grades|subgrade|superelevation FILE -o OUT.csv|pdf
/// [--interval D] [--lang CODE] [--paper a3|a4] [--terrain T]`: a design table.
int cmdTable(const std::vector<std::string>& args);

}  // namespace trazmark::cli
