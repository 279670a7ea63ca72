#pragma once
// The map settings file "MapConvert.cfg": the last view of a map (centre,
// scale, background), written whenever a commit changes the view and when a
// map window is constructed. The program never reads it back; a failed write
// is ignored.

#include <string>

#include "maps/MapView.h"

namespace trazmark {

/// The file's XML text: declaration, then HEAD/MapConfig with Ver, StartCor
/// (Coorx, Coory, Coorh as "%.4f"), Scale ("%.8f") and BackGround ("%ld"),
/// one element per line, CR LF line ends.
std::string mapSettingsText(const MapViewParams& params);
/// The user's configuration folder for the program ($XDG_CONFIG_HOME/trazmark
/// or its platform equivalent); never the program's own folder.
std::string defaultMapSettingsFolder();
/// `settingsFolder` (the default folder when empty) + "/MapConvert.cfg".
std::string mapSettingsPath(const MapViewParams& params);
/// Writes the file, creating its folder; returns whether it was written.
bool writeMapSettings(const MapViewParams& params);

}  // namespace trazmark
