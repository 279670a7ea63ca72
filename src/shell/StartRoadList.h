#pragma once
// Which road list the window starts with: the one named on the command line;
// else the one used last; else, on the very first start (or when the one used
// last is gone), the demo roads that ship with the program, copied into the
// user's own data folder so that they can be edited and saved like any road.

#include <string>
#include <vector>

namespace trazmark {

/// Where the choice looks and what it writes.
struct StartRoadListPlaces {
  std::string settingsFile;              ///< the user's settings file (trazmark.conf)
  std::string userDemoFolder;            ///< the user's copy of the demo roads
  std::vector<std::string> demoSources;  ///< shipped demo folders, the first that holds a list wins
};

/// The places of a program in `programFolder` (ending in '/'): the settings
/// file in the user's config folder, the demo copy in the user's data folder,
/// the demo roads beside the program (a build) or in its share folder.
StartRoadListPlaces defaultStartRoadListPlaces(const std::string& programFolder);

/// The name of the shipped demo road list, and of its copy.
inline constexpr const char* kDemoRoadListName = "roads.list";

/// The road list a start opens.
struct StartRoadList {
  std::string path;   ///< "" for none
  bool demo = false;  ///< the demo roads, on a first start: the window opens the first road
};

/// The road list to start with, remembered as the one used last.
/// @param argument the road list named on the command line ("" for none);
///   taken as it is, also when the file does not exist yet.
StartRoadList chooseStartRoadList(const std::string& argument, const StartRoadListPlaces& places);

/// Copies the demo roads of the first source folder that holds a demo road
/// list into `places.userDemoFolder` (a road already there is kept, with the
/// user's edits) and writes the copy's road list with the copied roads' full
/// paths. @return the copy's road list, "" when there is no demo or it cannot
/// be copied.
std::string prepareDemoRoadList(const StartRoadListPlaces& places);

}  // namespace trazmark
