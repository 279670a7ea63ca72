#include "terrain/RoadGround.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <system_error>
#include <vector>

#include "platform/NumberField.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"
#include "terrain/GroundLineFiles.h"
#include "terrain/TerrainFile.h"

namespace trazmark {

// The settings file: the road file's own name with ".ground" after it
// (road.REC → road.REC.ground), so that two roads in one folder never share
// one. Text of "key=value" lines:
//
//   # the ground of road.REC
//   terrain=ground/survey.csv
//   format=name,code,e,n,z
//   breaklines=ground/breaklines.txt
//   surface=Existing ground
//   max-edge=150
//   dmx=ground/road.dmx
//   hdm=ground/road.hdm
//   pavement-depth=0.6
//
// Keys are compared ignoring case, white space around keys and values is not
// part of them, blank lines and lines beginning with '#' are comments, a key
// given twice takes its last value. Lines this version does not know (another
// key, no '=') are skipped on reading and kept, in their order, when the file
// is written again, so that a newer version's settings survive an older one.
// Keys at their default are not written.

namespace {

namespace fs = std::filesystem;

constexpr const char* kSettingsSuffix = ".ground";
// A surveyed cross-section serves the stations within this distance of its own.
constexpr double kSectionStationTolerance = 1e-3;

enum class Key { Terrain, Format, Breaklines, Surface, MaxEdge, Dmx, Hdm, PavementDepth, Unknown };

struct KeyName {
  Key key;
  const char* name;
};
constexpr KeyName kKeys[] = {
    {Key::Terrain, "terrain"}, {Key::Format, "format"},   {Key::Breaklines, "breaklines"},
    {Key::Surface, "surface"}, {Key::MaxEdge, "max-edge"}, {Key::Dmx, "dmx"},
    {Key::Hdm, "hdm"},         {Key::PavementDepth, "pavement-depth"},
};

std::string lowerCase(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The key of a settings line, Unknown for a line of no known key (comments
// and lines without '=' included); `value` is the trimmed text after '='.
Key settingsKey(const std::string& line, std::string& value) {
  const std::string trimmed = trimWhiteSpace(line);
  if (trimmed.empty() || trimmed[0] == '#') return Key::Unknown;
  const std::size_t eq = trimmed.find('=');
  if (eq == std::string::npos) return Key::Unknown;
  const std::string name = lowerCase(trimWhiteSpace(trimmed.substr(0, eq)));
  for (const KeyName& k : kKeys) {
    if (name == k.name) {
      value = trimWhiteSpace(trimmed.substr(eq + 1));
      return k.key;
    }
  }
  return Key::Unknown;
}

// Every line of a text with its number; a last line without a line end counts.
template <typename Fn>
void forEachNumberedLine(const std::string& text, Fn fn) {
  std::size_t pos = 0, number = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    pos = end + 1;
    if (!fn(line, ++number)) return;
  }
}

bool isKnownFormat(const std::string& format) {
  return format == "x,y,z" || format == "name,x,y,z" || format == "name,code,e,n,z";
}

bool settingsNameNothing(const RoadTerrainSettings& s) {
  const RoadTerrainSettings defaults;
  return s.terrainPath.empty() && s.pointFormat == defaults.pointFormat &&
         s.breaklinePath.empty() && s.surfaceName.empty() && s.maxEdge == 0 && s.dmxPath.empty() &&
         s.hdmPath.empty() && s.pavementDepth == 0;
}

// A value the file can hold: one line, no white space at its ends.
bool fitsOneLine(const std::string& value) {
  return value.find_first_of("\r\n") == std::string::npos && trimWhiteSpace(value) == value;
}

std::string resolvedPath(const std::string& path, const std::string& folder) {
  if (path.empty() || folder.empty() || fs::path(path).is_absolute()) return path;
  return (fs::path(folder) / path).string();
}

}  // namespace

std::string roadTerrainSettingsPath(const std::string& roadPath) {
  return roadPath + kSettingsSuffix;
}

bool readRoadTerrainSettings(const std::string& roadPath, RoadTerrainSettings& settings,
                             std::string& error) {
  const std::string path = roadTerrainSettingsPath(roadPath);
  std::error_code ec;
  if (!fs::exists(path, ec)) {
    if (ec) {
      error = path + ": cannot read the file (" + ec.message() + ")";
      return false;
    }
    settings = RoadTerrainSettings();
    return true;
  }
  std::string text;
  if (!readTextFileAsAnsi(path, text)) {
    error = path + ": cannot read the file";
    return false;
  }
  RoadTerrainSettings read;
  bool ok = true;
  forEachNumberedLine(text, [&](const std::string& line, std::size_t number) {
    std::string value;
    const Key key = settingsKey(line, value);
    auto readValue = [&](double& out, const char* name) {
      if (!parseNumberField(value, out)) {
        error = path + ": line " + std::to_string(number) + ": " + name + " '" + value +
                "' is not a number";
        ok = false;
      }
    };
    switch (key) {
      case Key::Terrain: read.terrainPath = value; break;
      case Key::Format:
        if (!isKnownFormat(value)) {
          error = path + ": line " + std::to_string(number) + ": format '" + value +
                  "' is none of x,y,z, name,x,y,z and name,code,e,n,z";
          ok = false;
        }
        read.pointFormat = value;
        break;
      case Key::Breaklines: read.breaklinePath = value; break;
      case Key::Surface: read.surfaceName = value; break;
      case Key::MaxEdge: readValue(read.maxEdge, "max-edge"); break;
      case Key::Dmx: read.dmxPath = value; break;
      case Key::Hdm: read.hdmPath = value; break;
      case Key::PavementDepth: readValue(read.pavementDepth, "pavement-depth"); break;
      case Key::Unknown: break;
    }
    return ok;
  });
  if (!ok) return false;
  settings = std::move(read);
  return true;
}

bool writeRoadTerrainSettings(const std::string& roadPath, const RoadTerrainSettings& settings,
                              std::string& error) {
  const std::string path = roadTerrainSettingsPath(roadPath);
  for (const std::string* value : {&settings.terrainPath, &settings.pointFormat,
                                   &settings.breaklinePath, &settings.surfaceName,
                                   &settings.dmxPath, &settings.hdmPath}) {
    if (!fitsOneLine(*value)) {
      error = path + ": cannot hold '" + *value +
              "' (a line break, or white space at its start or end)";
      return false;
    }
  }
  if (!isKnownFormat(settings.pointFormat)) {
    error = path + ": format '" + settings.pointFormat +
            "' is none of x,y,z, name,x,y,z and name,code,e,n,z";
    return false;
  }
  if (!std::isfinite(settings.maxEdge) || !std::isfinite(settings.pavementDepth)) {
    error = path + ": max-edge and pavement-depth must be numbers";
    return false;
  }

  // Lines of the present file that this version does not know are kept.
  std::vector<std::string> kept;
  std::error_code ec;
  if (fs::exists(path, ec)) {
    std::string old;
    if (readTextFileAsAnsi(path, old)) {
      forEachNumberedLine(old, [&](const std::string& line, std::size_t) {
        std::string value;
        const std::string trimmed = trimWhiteSpace(line);
        if (settingsKey(line, value) == Key::Unknown && !trimmed.empty() && trimmed[0] != '#')
          kept.push_back(line);
        return true;
      });
    }
  }

  if (settingsNameNothing(settings) && kept.empty()) {
    if (!fs::exists(path, ec)) return true;
    if (!fs::remove(path, ec)) {
      error = path + ": cannot remove the file (" + ec.message() + ")";
      return false;
    }
    return true;
  }

  const RoadTerrainSettings defaults;
  std::string text = "# the ground of " + fs::path(roadPath).filename().string() + "\n";
  auto put = [&](const char* key, const std::string& value) {
    if (value.empty()) return;
    text += key;
    text += '=';
    text += value;
    text += '\n';
  };
  put("terrain", settings.terrainPath);
  if (settings.pointFormat != defaults.pointFormat) put("format", settings.pointFormat);
  put("breaklines", settings.breaklinePath);
  put("surface", settings.surfaceName);
  // Written so that they read back to the same double.
  if (settings.maxEdge != 0) put("max-edge", formatFixed(settings.maxEdge, 6));
  put("dmx", settings.dmxPath);
  put("hdm", settings.hdmPath);
  if (settings.pavementDepth != 0) put("pavement-depth", formatFixed(settings.pavementDepth, 6));
  for (const std::string& line : kept) text += line + '\n';
  if (!writeTextFileAtomically(path, text)) {
    error = path + ": cannot write the file (" + std::strerror(errno) + ")";
    return false;
  }
  return true;
}

struct CRoadGround::Surveyed {
  std::optional<SurveyedGroundProfile> profile;
  std::optional<SurveyedGroundSections> sections;
};

bool CRoadGround::load(const RoadTerrainSettings& settings, const std::string& roadFolder,
                       std::string& error, const LoadProgress& progress) {
  std::shared_ptr<CTerrainModel> terrain;
  auto surveyed = std::make_shared<Surveyed>();
  const bool hasFiles = !settings.dmxPath.empty() || !settings.hdmPath.empty();
  // The TIN is nearly all of the work; the surveyed lines share the rest.
  const double tinShare = hasFiles ? 0.9 : 1.0;
  bool cancelled = false;
  auto report = [&](double fraction) {
    if (progress && !progress(fraction)) cancelled = true;
    return !cancelled;
  };

  if (!settings.terrainPath.empty()) {
    TerrainLoadOptions options;
    options.pointFormat = settings.pointFormat;
    options.breaklinePath = resolvedPath(settings.breaklinePath, roadFolder);
    options.surfaceName = settings.surfaceName;
    options.maxEdge = settings.maxEdge;
    terrain = std::make_shared<CTerrainModel>();
    std::function<bool(double)> tinProgress;
    if (progress) tinProgress = [&](double f) { return report(f * tinShare); };
    const bool loaded = loadTerrainFile(resolvedPath(settings.terrainPath, roadFolder), options,
                                        *terrain, error, tinProgress);
    if (cancelled) {
      error = "cancelled";
      return false;
    }
    if (!loaded) return false;
  }
  if (!settings.dmxPath.empty()) {
    SurveyedGroundProfile profile;
    if (!readGroundProfileFile(resolvedPath(settings.dmxPath, roadFolder), profile, error))
      return false;
    surveyed->profile = std::move(profile);
  }
  if (!report(tinShare + (1 - tinShare) / 2)) {
    error = "cancelled";
    return false;
  }
  if (!settings.hdmPath.empty()) {
    SurveyedGroundSections sections;
    if (!readGroundSectionsFile(resolvedPath(settings.hdmPath, roadFolder), sections, error))
      return false;
    surveyed->sections = std::move(sections);
  }
  if (!report(1.0)) {
    error = "cancelled";
    return false;
  }
  terrain_ = std::move(terrain);
  surveyed_ = hasFiles ? std::shared_ptr<const Surveyed>(std::move(surveyed)) : nullptr;
  return true;
}

bool CRoadGround::empty() const {
  return (terrain_ == nullptr || terrain_->empty()) && surveyed_ == nullptr;
}

std::optional<double> CRoadGround::centreElevation(double displayedStation, double x,
                                                   double y) const {
  if (surveyed_ && surveyed_->profile) {
    if (auto z = surveyed_->profile->elevationAt(displayedStation)) return z;
  }
  if (terrain_) return terrain_->elevationAt(x, y);
  return std::nullopt;
}

namespace {

// The surveyed section as one piece from its left end to its right end,
// offsets right positive, cut at ±halfWidth.
std::vector<GroundVertex> hangSection(const SurveyedGroundSection& section, double centre,
                                      double halfWidth) {
  std::vector<GroundVertex> line;
  line.reserve(section.left.size() + section.right.size() + 1);
  double offset = 0, elevation = centre;
  for (const GroundSectionStep& s : section.left) {
    offset -= s.distance;
    elevation += s.rise;
    line.push_back({offset, elevation});
  }
  std::reverse(line.begin(), line.end());
  line.push_back({0, centre});
  offset = 0;
  elevation = centre;
  for (const GroundSectionStep& s : section.right) {
    offset += s.distance;
    elevation += s.rise;
    line.push_back({offset, elevation});
  }

  // Cut at the width asked for: the vertices inside, and where a step crosses
  // the limit the point on it there.
  std::vector<GroundVertex> cut;
  cut.reserve(line.size());
  for (std::size_t k = 0; k < line.size(); ++k) {
    const GroundVertex& v = line[k];
    if (std::fabs(v.distance) <= halfWidth) {
      if (k > 0 && line[k - 1].distance < -halfWidth && v.distance > -halfWidth) {
        const GroundVertex& u = line[k - 1];
        const double t = (-halfWidth - u.distance) / (v.distance - u.distance);
        cut.push_back({-halfWidth, u.elevation + t * (v.elevation - u.elevation)});
      }
      cut.push_back(v);
    } else if (v.distance > halfWidth) {
      if (k > 0 && line[k - 1].distance < halfWidth) {
        const GroundVertex& u = line[k - 1];
        const double t = (halfWidth - u.distance) / (v.distance - u.distance);
        cut.push_back({halfWidth, u.elevation + t * (v.elevation - u.elevation)});
      }
      break;
    }
  }
  return cut;
}

}  // namespace

GroundLine CRoadGround::across(double displayedStation, double x, double y, double azimuth,
                               double halfWidth) const {
  return acrossBetween(displayedStation, x, y, azimuth, -halfWidth, halfWidth);
}

GroundLine CRoadGround::acrossBetween(double displayedStation, double x, double y, double azimuth,
                                      double from, double to) const {
  GroundLine ground;
  const double halfWidth = std::max(-from, to);
  if (!(to > from) || !(halfWidth > 0) || !std::isfinite(halfWidth) || !std::isfinite(x) ||
      !std::isfinite(y) || !std::isfinite(azimuth))
    return ground;
  if (surveyed_ && surveyed_->sections) {
    if (const SurveyedGroundSection* section =
            surveyed_->sections->find(displayedStation, kSectionStationTolerance)) {
      // A section hangs from the centre's ground at its own station; without
      // one it cannot be placed, and the TIN (if any) answers instead.
      if (auto centre = centreElevation(section->station, x, y)) {
        ground.pieces.push_back(hangSection(*section, *centre, halfWidth));
        return ground;
      }
    }
  }
  if (!terrain_) return ground;
  // The normal to the right of travel: azimuth + 90° (x north, y east).
  const double rightX = -std::sin(azimuth), rightY = std::cos(azimuth);
  ground = terrain_->groundAlong(x + from * rightX, y + from * rightY, x + to * rightX,
                                 y + to * rightY);
  for (auto& piece : ground.pieces)
    for (GroundVertex& v : piece) v.distance += from;
  return ground;
}

}  // namespace trazmark
