#include "terrain/LandXmlSurface.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <map>
#include <string_view>
#include <vector>

#include "library/LandXmlNodes.h"
#include "platform/CodePage.h"
#include "terrain/TerrainNumbers.h"
#include "terrain/TerrainTriangulation.h"

namespace trazmark {
namespace {

constexpr std::uint32_t kNoIndex = std::numeric_limits<std::uint32_t>::max();
// Point ids up to this many times the number of points are looked up in a
// table indexed by the id; sparser ids in a sorted list.
constexpr std::uint64_t kDenseIdFactor = 4;
// The progress is reported every this many points or faces.
constexpr std::size_t kProgressItems = 65536;

using landxml::attributeNamed;
using landxml::childNamed;
using landxml::childrenNamed;
using landxml::localName;
using landxml::unitName;

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// The next white-space separated word of `text` from `position` (empty at the end).
std::string_view nextWord(std::string_view text, std::size_t& position) {
  while (position < text.size() && isSpace(text[position])) ++position;
  const std::size_t start = position;
  while (position < text.size() && !isSpace(text[position])) ++position;
  return text.substr(start, position - start);
}

std::string shown(std::string_view text) {
  return std::string(text.substr(0, 40)) + (text.size() > 40 ? "..." : "");
}

// Where each point id lies in the model's points.
class PointIds {
 public:
  void reserve(std::size_t n) { sorted_.reserve(n); }
  void add(std::uint64_t id, std::uint32_t index) { sorted_.emplace_back(id, index); }
  // Arranges the ids for look-up; false with the first id used twice.
  bool finish(std::uint64_t& repeated) {
    std::uint64_t maxId = 0;
    for (const auto& [id, index] : sorted_) maxId = std::max(maxId, id);
    if (maxId <= kDenseIdFactor * sorted_.size() + 16) {
      dense_.assign(maxId + 1, kNoIndex);
      for (const auto& [id, index] : sorted_) {
        if (dense_[id] != kNoIndex) {
          repeated = id;
          return false;
        }
        dense_[id] = index;
      }
      sorted_.clear();
      sorted_.shrink_to_fit();
      return true;
    }
    std::sort(sorted_.begin(), sorted_.end());
    for (std::size_t i = 1; i < sorted_.size(); ++i)
      if (sorted_[i].first == sorted_[i - 1].first) {
        repeated = sorted_[i].first;
        return false;
      }
    return true;
  }
  std::uint32_t find(std::uint64_t id) const {
    if (!dense_.empty() || sorted_.empty()) return id < dense_.size() ? dense_[id] : kNoIndex;
    auto it = std::lower_bound(sorted_.begin(), sorted_.end(), std::make_pair(id, std::uint32_t{0}));
    return it != sorted_.end() && it->first == id ? it->second : kNoIndex;
  }

 private:
  std::vector<std::pair<std::uint64_t, std::uint32_t>> sorted_;
  std::vector<std::uint32_t> dense_;
};

// A point id as a face or point names it: an integer, its sign dropped.
bool readId(std::string_view text, std::uint64_t& id) {
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) text.remove_prefix(1);
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), id);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty();
}

class SurfaceReader {
 public:
  SurfaceReader(const std::string& text, const std::function<bool(double)>& progress)
      : text_(text), progress_(progress) {}

  bool read(const std::string& surfaceName, double maxEdge, CTerrainModel& model);
  const std::string& error() const { return error_; }

 private:
  int lineOf(const pugi::xml_node& node) const {
    const std::ptrdiff_t offset = node.offset_debug();
    if (offset < 0) return 0;
    if (lineEnds_.empty()) {
      for (std::size_t i = 0; i < text_.size(); ++i)
        if (text_[i] == '\n') lineEnds_.push_back(i);
      lineEnds_.push_back(text_.size());
    }
    auto it = std::lower_bound(lineEnds_.begin(), lineEnds_.end(), static_cast<std::size_t>(offset));
    return 1 + static_cast<int>(it - lineEnds_.begin());
  }
  bool fail(const pugi::xml_node& node, const std::string& message) {
    error_ = std::string(localName(node)) + " at line " + std::to_string(lineOf(node)) + ": " + message;
    return false;
  }
  bool report(double share) {
    if (progress_ && !progress_(share)) {
      error_ = "cancelled";
      return false;
    }
    return true;
  }
  bool readUnits(const pugi::xml_node& root);
  bool coordinate(const pugi::xml_node& node, std::string_view word, const char* what, double& value);
  bool readPoints(const pugi::xml_node& pnts, std::vector<TerrainPoint>& points, PointIds& ids);
  bool readFaces(const pugi::xml_node& faces, const PointIds& ids, std::vector<TerrainTriangle>& triangles);
  bool readPointList(const pugi::xml_node& list, std::vector<TerrainPoint>& points);

  const std::string& text_;
  const std::function<bool(double)>& progress_;
  mutable std::vector<std::size_t> lineEnds_;
  std::string error_;
  double linear_ = 1;  // metres per file length unit
};

bool SurfaceReader::readUnits(const pugi::xml_node& root) {
  pugi::xml_node units = childNamed(root, "Units");
  if (!units) return true;  // metres
  pugi::xml_node system = childNamed(units, "Metric");
  if (!system) system = childNamed(units, "Imperial");
  if (!system) return fail(units, "holds neither Metric nor Imperial");
  const std::optional<double> linear = landxml::linearUnitOf(system);
  if (!linear)
    return fail(system, std::string("linearUnit '") + attributeNamed(system, "linearUnit").value() +
                            "' is not a unit the import knows");
  linear_ = *linear;
  return true;
}

bool SurfaceReader::coordinate(const pugi::xml_node& node, std::string_view word, const char* what,
                               double& value) {
  if (word.empty()) return fail(node, std::string("the ") + what + " is missing");
  const std::optional<double> v = readTerrainNumber(word);
  if (!v) return fail(node, std::string("the ") + what + " '" + shown(word) + "' is not a number");
  value = *v * linear_;
  if (!(std::fabs(value) <= kMaxTerrainCoordinate))
    return fail(node, std::string("the ") + what + " " + shown(word) + " lies beyond any survey grid");
  return true;
}

bool SurfaceReader::readPoints(const pugi::xml_node& pnts, std::vector<TerrainPoint>& points,
                               PointIds& ids) {
  std::size_t count = 0;
  for (pugi::xml_node p = pnts.first_child(); p; p = p.next_sibling())
    if (p.type() == pugi::node_element) ++count;
  points.reserve(points.size() + count);
  ids.reserve(count);
  std::size_t done = 0;
  for (pugi::xml_node p = pnts.first_child(); p; p = p.next_sibling()) {
    if (p.type() != pugi::node_element || localName(p) != "P") continue;
    if (++done % kProgressItems == 0 && !report(0.1 + 0.3 * static_cast<double>(done) / static_cast<double>(count)))
      return false;
    const pugi::xml_attribute idAttribute = attributeNamed(p, "id");
    std::uint64_t id = 0;
    if (!idAttribute) return fail(p, "has no id");
    if (!readId(idAttribute.value(), id) || id == 0)
      return fail(p, "id '" + shown(idAttribute.value()) + "' is not a positive whole number");
    const std::string_view text = p.child_value();
    std::size_t position = 0;
    TerrainPoint point;
    if (!coordinate(p, nextWord(text, position), "north", point.x) ||
        !coordinate(p, nextWord(text, position), "east", point.y) ||
        !coordinate(p, nextWord(text, position), "elevation", point.z))
      return false;
    if (!nextWord(text, position).empty()) return fail(p, "holds more than north, east and elevation");
    if (points.size() >= kNoIndex - 1) return fail(p, "too many points");
    ids.add(id, static_cast<std::uint32_t>(points.size()));
    points.push_back(point);
  }
  std::uint64_t repeated = 0;
  if (!ids.finish(repeated)) return fail(pnts, "point id " + std::to_string(repeated) + " is used twice");
  return true;
}

bool SurfaceReader::readFaces(const pugi::xml_node& faces, const PointIds& ids,
                              std::vector<TerrainTriangle>& triangles) {
  std::size_t count = 0;
  for (pugi::xml_node f = faces.first_child(); f; f = f.next_sibling()) ++count;
  triangles.reserve(triangles.size() + count);
  std::size_t done = 0;
  for (pugi::xml_node f = faces.first_child(); f; f = f.next_sibling()) {
    if (f.type() != pugi::node_element || localName(f) != "F") continue;
    if (++done % kProgressItems == 0 &&
        !report(0.4 + 0.4 * static_cast<double>(done) / static_cast<double>(count)))
      return false;
    // An invisible face is read (its points must exist) but is no ground.
    const std::string_view invisible = attributeNamed(f, "i").value();
    const bool visible = !(invisible == "1" || invisible == "true");
    const std::string_view text = f.child_value();
    std::size_t position = 0;
    std::uint32_t corner[4];
    int corners = 0;
    for (std::string_view word = nextWord(text, position); !word.empty(); word = nextWord(text, position)) {
      if (corners == 4) return fail(f, "names more than four points");
      std::uint64_t id = 0;
      if (!readId(word, id)) return fail(f, "point id '" + shown(word) + "' is not a whole number");
      const std::uint32_t index = ids.find(id);
      if (index == kNoIndex)
        return fail(f, "point " + std::to_string(id) + " is not among the surface's points");
      corner[corners++] = index;
    }
    if (corners < 3)
      return fail(f, "names " + std::to_string(corners) + " point" + (corners == 1 ? "" : "s") +
                         " where a face has three");
    if (!visible) continue;
    triangles.push_back({corner[0], corner[1], corner[2]});
    if (corners == 4) triangles.push_back({corner[0], corner[2], corner[3]});
  }
  return true;
}

bool SurfaceReader::readPointList(const pugi::xml_node& list, std::vector<TerrainPoint>& points) {
  const std::string_view text = list.child_value();
  std::size_t position = 0;
  for (;;) {
    const std::string_view north = nextWord(text, position);
    if (north.empty()) return true;
    TerrainPoint p;
    if (!coordinate(list, north, "north", p.x)) return false;
    const std::string_view east = nextWord(text, position);
    const std::string_view elevation = nextWord(text, position);
    if (east.empty() || elevation.empty())
      return fail(list, "its numbers do not make whole north east elevation triples");
    if (!coordinate(list, east, "east", p.y) || !coordinate(list, elevation, "elevation", p.z))
      return false;
    points.push_back(p);
  }
}

bool SurfaceReader::read(const std::string& surfaceName, double maxEdge, CTerrainModel& model) {
  if (text_.find_first_not_of(" \t\r\n") == std::string::npos) {
    error_ = "the file is empty";
    return false;
  }
  pugi::xml_document doc;
  const pugi::xml_parse_result parsed =
      doc.load_buffer(text_.data(), text_.size(), pugi::parse_default, pugi::encoding_utf8);
  if (!parsed) {
    const std::size_t offset = std::min<std::size_t>(
        static_cast<std::size_t>(std::max<std::ptrdiff_t>(parsed.offset, 0)), text_.size());
    error_ = std::string("not a well-formed XML file: ") + parsed.description() + " at line " +
             std::to_string(1 + std::count(text_.begin(), text_.begin() + static_cast<std::ptrdiff_t>(offset), '\n'));
    return false;
  }
  if (!report(0.1)) return false;
  const pugi::xml_node root = doc.document_element();
  if (localName(root) != "LandXML") {
    error_ = "not a LandXML file (its root element is '" + shown(localName(root)) + "')";
    return false;
  }
  if (!readUnits(root)) return false;

  pugi::xml_node surface;
  std::vector<std::string> names;
  for (const pugi::xml_node& set : childrenNamed(root, "Surfaces"))
    for (const pugi::xml_node& s : childrenNamed(set, "Surface")) {
      std::string name = utf8ToAnsi(attributeNamed(s, "name").value());
      if (!surface && (surfaceName.empty() || name == surfaceName)) surface = s;
      names.push_back(std::move(name));
    }
  if (!surface) {
    if (names.empty()) {
      error_ = "the file holds no Surface";
    } else {
      error_ = "the file holds no Surface named '" + surfaceName + "' (it holds:";
      for (const std::string& n : names) error_ += " '" + n + "'";
      error_ += ")";
    }
    return false;
  }

  std::vector<TerrainPoint> points;
  std::vector<TerrainTriangle> triangles;
  const pugi::xml_node definition = childNamed(surface, "Definition");
  bool hasFaces = false;
  if (definition) {
    PointIds ids;
    for (const pugi::xml_node& pnts : childrenNamed(definition, "Pnts"))
      if (!readPoints(pnts, points, ids)) return false;
    for (const pugi::xml_node& faces : childrenNamed(definition, "Faces")) {
      if (childNamed(faces, "F")) hasFaces = true;
      if (!readFaces(faces, ids, triangles)) return false;
    }
  }
  if (hasFaces) {
    if (triangles.empty()) return fail(surface, "has no visible face: no ground");
    if (!report(0.8)) return false;
    CTerrainModel built;
    std::string why;
    if (!built.build(std::move(points), std::move(triangles), maxEdge, why)) return fail(surface, why);
    if (built.empty()) return fail(surface, "every face is degenerate or longer than the longest edge allowed");
    if (!report(1.0)) return false;
    model = std::move(built);
    return true;
  }

  // Points without faces: the surface is triangulated.
  std::vector<std::vector<TerrainPoint>> breaklines;
  if (const pugi::xml_node source = childNamed(surface, "SourceData")) {
    for (const pugi::xml_node& data : childrenNamed(source, "DataPoints"))
      for (const pugi::xml_node& list : childrenNamed(data, "PntList3D"))
        if (!readPointList(list, points)) return false;
    for (const pugi::xml_node& set : childrenNamed(source, "Breaklines"))
      for (const pugi::xml_node& breakline : childrenNamed(set, "Breakline"))
        for (const pugi::xml_node& list : childrenNamed(breakline, "PntList3D")) {
          std::vector<TerrainPoint> line;
          if (!readPointList(list, line)) return false;
          if (line.size() >= 2) breaklines.push_back(std::move(line));
        }
  }
  if (points.size() + breaklines.size() == 0) return fail(surface, "has neither faces nor points");
  CTerrainModel built;
  std::string why;
  auto triangulationProgress = [&](double share) { return !progress_ || progress_(0.4 + 0.6 * share); };
  if (!triangulateTerrain(std::move(points), breaklines, maxEdge, built, why, triangulationProgress)) {
    if (why == "cancelled") {
      error_ = why;
      return false;
    }
    return fail(surface, why);
  }
  if (built.empty()) return fail(surface, "every triangle is longer than the longest edge allowed");
  model = std::move(built);
  return true;
}

}  // namespace

bool readLandXmlSurface(const std::string& xml, const std::string& surfaceName, double maxEdge,
                        CTerrainModel& model, std::string& error,
                        const std::function<bool(double)>& progress) {
  SurfaceReader reader(xml, progress);
  if (reader.read(surfaceName, maxEdge, model)) return true;
  error = reader.error();
  return false;
}

}  // namespace trazmark
