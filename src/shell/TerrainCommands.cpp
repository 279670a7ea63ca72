#include "shell/TerrainCommands.h"

#include <QDir>
#include <QFileInfo>

#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UserDialogs.h"

namespace trazmark {
namespace {

/// The point formats in the order of the dialog's filters after LandXML.
constexpr const char* kPointFormats[] = {"x,y,z", "name,x,y,z", "name,code,e,n,z"};
constexpr int kFilterLandXml = 0;
constexpr int kFirstPointFilter = 1;
constexpr int kPointFilterCount = 3;

bool isLandXml(const std::string& path) { return QFileInfo(pathToQt(path)).suffix().toLower() == QLatin1String("xml"); }

}  // namespace

const std::string& CTerrainCommands::fileFilter() {
  static const std::string filter =
      "LandXML (*.xml)|*.xml|"
      "Points x,y,z (*.csv;*.txt)|*.csv;*.txt;*.dat|"
      "Points name,x,y,z (*.csv;*.txt)|*.csv;*.txt;*.dat|"
      "Points name,code,e,n,z (*.csv;*.txt)|*.csv;*.txt;*.dat|"
      "All files (*.*)|*|";
  return filter;
}

std::string CTerrainCommands::pointFormatOfFilter(int filter) {
  const int i = filter - kFirstPointFilter;
  return i >= 0 && i < kPointFilterCount ? kPointFormats[i] : kPointFormats[0];
}

int CTerrainCommands::filterOfSettings(const RoadTerrainSettings& settings) {
  if (settings.terrainPath.empty() || isLandXml(settings.terrainPath)) return kFilterLandXml;
  for (int i = 0; i < kPointFilterCount; ++i)
    if (settings.pointFormat == kPointFormats[i]) return kFirstPointFilter + i;
  return kFirstPointFilter;
}

std::string CTerrainCommands::storedPath(const std::string& roadPath, const std::string& terrainPath) {
  const QDir roadFolder = QFileInfo(pathToQt(roadPath)).absoluteDir();
  const QString absolute = QFileInfo(pathToQt(terrainPath)).absoluteFilePath();
  const QString relative = roadFolder.relativeFilePath(absolute);
  if (relative.startsWith(QLatin1String("..")) || QDir::isAbsolutePath(relative)) return pathFromQt(absolute);
  return pathFromQt(relative);
}

bool CTerrainCommands::readSettings(const std::string& roadPath, RoadTerrainSettings& settings) {
  std::string error;
  if (readRoadTerrainSettings(roadPath, settings, error)) return true;
  dialogs_.warningDetail("IDS_WARN_terrain_settings_unreadable", error);
  return false;
}

bool CTerrainCommands::writeSettings(const std::string& roadPath, const RoadTerrainSettings& settings) {
  std::string error;
  if (writeRoadTerrainSettings(roadPath, settings, error)) return true;
  dialogs_.warningDetail("IDS_WARN_terrain_settings_not_written", error);
  return false;
}

std::optional<RoadTerrainSettings> CTerrainCommands::chooseTerrain(const std::string& roadPath,
                                                                  const std::string& startFolder) {
  // The settings live beside the road file: a road with no file yet has
  // nowhere to keep them.
  if (roadPath.empty() || !QFileInfo(pathToQt(roadPath)).isFile()) {
    dialogs_.warning("IDS_WARN_terrain_needs_saved_road");
    return std::nullopt;
  }
  RoadTerrainSettings settings;
  if (!readSettings(roadPath, settings)) return std::nullopt;
  UserDialogs::FileRequest request;
  request.title = GetLanguageText("IDS_DATA_terrain_dialog_title");
  request.filter = fileFilter();
  request.startFolder = startFolder;
  request.selectedFilter = filterOfSettings(settings);
  int filter = request.selectedFilter;
  const std::string chosen = dialogs_.openFileNameAndFilter(request, filter);
  if (chosen.empty()) return std::nullopt;
  settings.terrainPath = storedPath(roadPath, chosen);
  // A surface name or breaklines belonged to the file chosen before.
  settings.surfaceName.clear();
  settings.breaklinePath.clear();
  settings.pointFormat = isLandXml(chosen) ? kPointFormats[0] : pointFormatOfFilter(filter);
  if (!writeSettings(roadPath, settings)) return std::nullopt;
  return settings;
}

bool CTerrainCommands::carryOver(const std::string& from, const std::string& to) {
  if (from.empty() || to.empty() || from == to) return true;
  RoadTerrainSettings settings;
  if (!readSettings(from, settings)) return false;
  const QDir fromFolder = QFileInfo(pathToQt(from)).absoluteDir();
  // Each file named as File → Terrain… names it: relative when it lies in
  // the new road's folder, else by its full path.
  auto moved = [&](std::string& path) {
    if (path.empty()) return;
    path = storedPath(to, pathFromQt(fromFolder.absoluteFilePath(pathToQt(path))));
  };
  for (std::string* path : {&settings.terrainPath, &settings.breaklinePath, &settings.dmxPath, &settings.hdmPath})
    moved(*path);
  return writeSettings(to, settings);
}

std::optional<RoadTerrainSettings> CTerrainCommands::clearTerrain(const std::string& roadPath) {
  if (roadPath.empty() || !QFileInfo(pathToQt(roadPath)).isFile()) return RoadTerrainSettings{};
  RoadTerrainSettings settings;
  if (!readSettings(roadPath, settings)) return std::nullopt;
  settings.terrainPath.clear();
  settings.surfaceName.clear();
  settings.breaklinePath.clear();
  settings.pointFormat = kPointFormats[0];
  if (!writeSettings(roadPath, settings)) return std::nullopt;
  return settings;
}

}  // namespace trazmark
