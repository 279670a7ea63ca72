#pragma once
// The ground of one road: its terrain model (a TIN) and the ground lines the
// field crew surveyed (a longitudinal line along the centre, cross-section
// lines at stations), with the settings that tie them to the road.
//
// The road file stays as it is; the ground is named in a small settings file
// beside it (roadTerrainSettingsPath). Where surveyed lines and a TIN are both
// given, the surveyed lines win at their stations and the TIN serves elsewhere.

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "terrain/TerrainModel.h"

namespace trazmark {

/// What the settings file beside a road names. Paths may be relative to the
/// road file's folder. Empty: not given.
struct RoadTerrainSettings {
  std::string terrainPath;       ///< LandXML (.xml) or a survey point file
  std::string pointFormat = "x,y,z";  ///< "x,y,z", "name,x,y,z" or "name,code,e,n,z"
  std::string breaklinePath;     ///< breaklines for a point file
  std::string surfaceName;       ///< the LandXML surface (empty: the first)
  double maxEdge = 0;            ///< longest triangle edge kept (0: no limit), metres
  std::string dmxPath;           ///< longitudinal ground line
  std::string hdmPath;           ///< cross-section ground lines
  double pavementDepth = 0;      ///< formation below the finished surface, metres
};

/// The settings file of the road file `roadPath`: its name with ".ground"
/// added (road.REC → road.REC.ground), "key=value" lines (terrain, format,
/// breaklines, surface, max-edge, dmx, hdm, pavement-depth; see RoadGround.cpp).
std::string roadTerrainSettingsPath(const std::string& roadPath);
/// Reads the settings of a road; a road without a settings file has the
/// defaults (true). False with a one-line `error` for a file that cannot be read.
bool readRoadTerrainSettings(const std::string& roadPath, RoadTerrainSettings& settings,
                             std::string& error);
/// Writes (or, for settings that name nothing, removes) the settings file,
/// atomically; lines of keys this version does not know are kept. Paths are
/// written as given. False with a one-line `error` (the file as it was) for a
/// value the file cannot hold (a line break, white space at a path's ends,
/// an unknown point format, a number that is not finite) or a failed write.
bool writeRoadTerrainSettings(const std::string& roadPath, const RoadTerrainSettings& settings,
                              std::string& error);

/// Reports the share of a long load done (0 to 1); returning false cancels it.
using LoadProgress = std::function<bool(double fraction)>;

class CRoadGround {
 public:
  /// Loads what `settings` names, paths relative to `roadFolder`.
  /// @return false with a one-line `error` naming the file (and line) that
  ///   could not be read, or "cancelled"; nothing is kept half-read: the
  ///   ground loaded before stays as it was. Settings that name nothing load
  ///   an empty ground.
  bool load(const RoadTerrainSettings& settings, const std::string& roadFolder,
            std::string& error, const LoadProgress& progress = {});

  /// True when neither a TIN nor a surveyed line is loaded.
  bool empty() const;
  /// The TIN, or null.
  const CTerrainModel* terrain() const { return terrain_.get(); }

  /// The ground at the centre of the road at a displayed station whose centre
  /// point is (x, y): the longitudinal line (linear between its stations,
  /// within its range), else the TIN; none where neither has ground.
  std::optional<double> centreElevation(double displayedStation, double x, double y) const;

  /// The ground across the road at a displayed station: from -halfWidth to
  /// +halfWidth on the normal to the centre line through (x, y) with the
  /// centre line's azimuth (radians, clockwise from north). Vertex distances
  /// are offsets, right of travel positive. A surveyed cross-section at the
  /// station (within 1 mm) wins, hanging from centreElevation at its own
  /// station, as one piece as far as the survey reaches (no TIN beyond it);
  /// a side without survey has no ground. Else (no section, or no centre
  /// ground to hang it from) the TIN's exact line with its gaps. Empty for a
  /// width that is not positive.
  GroundLine across(double displayedStation, double x, double y, double azimuth,
                    double halfWidth) const;
  /// The same from offset `from` to `to` alone (from < to), for a caller
  /// that needs no more: the TIN's line is read there only (a surveyed
  /// section is hung whole, as in across, as far as the farther end).
  GroundLine acrossBetween(double displayedStation, double x, double y, double azimuth,
                           double from, double to) const;

 private:
  std::shared_ptr<const CTerrainModel> terrain_;
  struct Surveyed;
  std::shared_ptr<const Surveyed> surveyed_;
};

}  // namespace trazmark
