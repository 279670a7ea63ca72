#pragma once
// Loads a terrain model from a file, whatever its kind: a LandXML surface
// (a name ending in ".xml", any case; see LandXmlSurface.h) or a survey point
// file (any other name; see SurveyPointFile.h), triangulated with an optional
// breakline file (see TerrainTriangulation.h).

#include <functional>
#include <string>

#include "terrain/TerrainModel.h"

namespace trazmark {

/// How to read a terrain file.
struct TerrainLoadOptions {
  std::string pointFormat = "x,y,z";  ///< a point file's columns: "x,y,z", "name,x,y,z" or "name,code,e,n,z"
  std::string breaklinePath;          ///< breaklines for a point file (empty: none)
  std::string surfaceName;            ///< the LandXML surface (empty: the first)
  double maxEdge = 0;                 ///< longest plan edge of a triangle kept (metres; 0: no limit)
};

/// Loads the terrain at `path` into `model`.
/// @param progress called now and then with the share done (0 to 1) while
///   reading and triangulating; returning false cancels the load with error
///   "cancelled"
/// @return false with a one-line `error` starting with the file's name
///   ("ground.csv: line 12: the elevation 'x' is not a number"), or
///   "cancelled"; `model` is then unchanged
bool loadTerrainFile(const std::string& path, const TerrainLoadOptions& options, CTerrainModel& model,
                     std::string& error, const std::function<bool(double)>& progress = {});

}  // namespace trazmark
