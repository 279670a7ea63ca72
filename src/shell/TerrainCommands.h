#pragma once
// File → Terrain… and File → Clear terrain as a plain class: which file the
// road's ground comes from, chosen through the dialog seam, and how it is
// kept in the road's terrain settings beside the road file. Loading the
// ground is the frame's (CGroundLoader); this class only decides and writes.

#include <optional>
#include <string>

#include "terrain/RoadGround.h"

namespace trazmark {

class UserDialogs;

class CTerrainCommands {
 public:
  explicit CTerrainCommands(UserDialogs& dialogs) : dialogs_(dialogs) {}

  /// The filters of the terrain dialog, in the program's form: LandXML, then
  /// survey points in each format (the filter chosen is the format), then
  /// every file (points "x,y,z").
  static const std::string& fileFilter();
  /// The point format a filter index stands for; the formats of the file
  /// dialog's filters, "x,y,z" for LandXML and every file.
  static std::string pointFormatOfFilter(int filter);
  /// The filter offered first for the settings in force.
  static int filterOfSettings(const RoadTerrainSettings& settings);
  /// How a terrain file is named in the settings: relative to the road's
  /// folder when it lies inside it (the two move together), else as chosen.
  static std::string storedPath(const std::string& roadPath, const std::string& terrainPath);

  /// File → Terrain…: for the road file `roadPath` (empty, or not on disk:
  /// the road is not saved yet, and the user is told so), asks for the
  /// terrain file starting in `startFolder` and writes the settings beside
  /// the road with it (a LandXML file by its .xml name, any other file as
  /// survey points in the format of the filter it was chosen under). The
  /// settings that name surveyed ground lines keep them. Returns the
  /// settings written; none when cancelled, refused or not written (the
  /// user is told why).
  std::optional<RoadTerrainSettings> chooseTerrain(const std::string& roadPath, const std::string& startFolder);

  /// Save As wrote the road `from` as `to`: the settings beside `to` become
  /// those of `from` (each file named again as storedPath names it; none
  /// beside `from`: none beside `to` either), so the road keeps its ground.
  /// False when they could not be read or written (the user is told).
  bool carryOver(const std::string& from, const std::string& to);

  /// File → Clear terrain: the road's settings without their terrain file
  /// (a settings file that then names nothing is removed). Returns the
  /// settings in force afterwards; none when they could not be written.
  std::optional<RoadTerrainSettings> clearTerrain(const std::string& roadPath);

 private:
  bool readSettings(const std::string& roadPath, RoadTerrainSettings& settings);
  bool writeSettings(const std::string& roadPath, const RoadTerrainSettings& settings);

  UserDialogs& dialogs_;
};

}  // namespace trazmark
