#include "terrain/TerrainFile.h"

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/TextFile.h"
#include "terrain/LandXmlSurface.h"
#include "terrain/SurveyPointFile.h"
#include "terrain/TerrainTriangulation.h"

namespace trazmark {
namespace {

bool isLandXmlName(const std::string& path) {
  if (path.size() < 4) return false;
  std::string tail = path.substr(path.size() - 4);
  for (char& c : tail) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return tail == ".xml";
}

// The progress of one step mapped into its share [from, to] of the whole.
std::function<bool(double)> part(const std::function<bool(double)>& progress, double from, double to) {
  if (!progress) return {};
  return [&progress, from, to](double share) { return progress(from + (to - from) * share); };
}

}  // namespace

bool loadTerrainFile(const std::string& path, const TerrainLoadOptions& options, CTerrainModel& model,
                     std::string& error, const std::function<bool(double)>& progress) {
  auto failed = [&](const std::string& file, const std::string& why) {
    error = why == "cancelled" ? why : file + ": " + why;
    return false;
  };
  std::string bytes;
  if (!readFileBytes(path, bytes)) return failed(path, "cannot read the file");
  if (progress && !progress(0)) return failed(path, "cancelled");

  CTerrainModel loaded;
  std::string why;
  if (isLandXmlName(path)) {
    if (!readLandXmlSurface(bytes, options.surfaceName, options.maxEdge, loaded, why, progress))
      return failed(path, why);
  } else {
    PointFormat format;
    if (!parsePointFormat(options.pointFormat, format))
      return failed(path, "'" + options.pointFormat +
                              "' is not a point format (x,y,z, name,x,y,z or name,code,e,n,z)");
    std::vector<TerrainPoint> points;
    if (!readSurveyPoints(bytes, format, points, why, part(progress, 0, 0.3))) return failed(path, why);
    bytes.clear();
    bytes.shrink_to_fit();
    if (points.empty()) return failed(path, "the file holds no points");
    std::vector<std::vector<TerrainPoint>> breaklines;
    if (!options.breaklinePath.empty()) {
      std::string text;
      if (!readFileBytes(options.breaklinePath, text))
        return failed(options.breaklinePath, "cannot read the file");
      if (!readBreaklines(text, breaklines, why)) return failed(options.breaklinePath, why);
    }
    if (!triangulateTerrain(std::move(points), breaklines, options.maxEdge, loaded, why,
                            part(progress, 0.3, 1.0)))
      return failed(path, why);
    if (loaded.empty()) return failed(path, "every triangle is longer than the longest edge allowed");
  }
  model = std::move(loaded);
  return true;
}

}  // namespace trazmark
