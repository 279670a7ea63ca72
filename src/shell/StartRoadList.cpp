#include "shell/StartRoadList.h"

#include <QSettings>
#include <QStandardPaths>
#include <filesystem>
#include <system_error>

#include "library/InputRoadLibrary.h"
#include "platform/qt/QtText.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

// The road list used last, kept in the user's settings file beside the folder
// of the last file dialog.
constexpr const char* kRoadListSetting = "files/roadList";

bool isFile(const std::string& path) {
  std::error_code ec;
  return !path.empty() && fs::is_regular_file(fs::path(path), ec);
}

std::string lastRoadList(const std::string& settingsFile) {
  return pathFromQt(QSettings(pathToQt(settingsFile), QSettings::IniFormat)
                        .value(QLatin1String(kRoadListSetting))
                        .toString());
}

void rememberRoadList(const std::string& settingsFile, const std::string& path) {
  std::error_code ec;
  const fs::path absolute = fs::absolute(fs::path(path), ec);
  QSettings settings(pathToQt(settingsFile), QSettings::IniFormat);
  settings.setValue(QLatin1String(kRoadListSetting), pathToQt(ec ? path : absolute.string()));
  settings.sync();
}

}  // namespace

StartRoadListPlaces defaultStartRoadListPlaces(const std::string& programFolder) {
  StartRoadListPlaces places;
  places.settingsFile =
      pathFromQt(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)) +
      "/trazmark/trazmark.conf";
  places.userDemoFolder =
      pathFromQt(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)) +
      "/trazmark/demo";
  places.demoSources = {programFolder + "demo", programFolder + "../share/trazmark/demo"};
  return places;
}

std::string prepareDemoRoadList(const StartRoadListPlaces& places) {
  for (const std::string& source : places.demoSources) {
    CInputRoadLibrary shipped;
    if (!isFile(source + "/" + kDemoRoadListName) ||
        !shipped.loadRoadList(source + "/" + kDemoRoadListName))
      continue;
    std::error_code ec;
    fs::create_directories(fs::path(places.userDemoFolder), ec);
    if (ec) return "";
    CInputRoadLibrary copy;
    for (RoadLibraryData entry : shipped.roadList) {
      const std::string name = fs::path(entry.Path).filename().string();
      const std::string target = places.userDemoFolder + "/" + name;
      // A demo road the user has already opened and changed stays as it is.
      if (!isFile(target)) {
        fs::copy_file(fs::path(source + "/" + name), fs::path(target), ec);
        if (ec) continue;
        // Installed files are read-only; the user's copy is the user's to edit.
        fs::permissions(fs::path(target), fs::perms::owner_read | fs::perms::owner_write,
                        fs::perm_options::add, ec);
      }
      entry.Path = target;
      copy.roadList.append(entry);
    }
    const std::string list = places.userDemoFolder + "/" + kDemoRoadListName;
    if (copy.roadList.empty() || !copy.saveRoadList(list)) return "";
    return list;
  }
  return "";
}

StartRoadList chooseStartRoadList(const std::string& argument, const StartRoadListPlaces& places) {
  StartRoadList chosen{argument, false};
  if (chosen.path.empty()) {
    chosen.path = lastRoadList(places.settingsFile);
    if (!isFile(chosen.path)) {
      chosen.path = prepareDemoRoadList(places);
      chosen.demo = !chosen.path.empty();
    }
  }
  if (!chosen.path.empty()) rememberRoadList(places.settingsFile, chosen.path);
  return chosen;
}

}  // namespace trazmark
