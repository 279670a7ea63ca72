#include "terrain/SurveyPointFile.h"

#include <algorithm>
#include <cctype>

#include "terrain/PointFileLines.h"

namespace trazmark {
namespace {

// The progress is reported every this many lines: often enough for a bar,
// rarely enough to cost nothing.
constexpr std::size_t kProgressLines = 65536;

// One point line in the given columns: the field index of north, east and
// elevation, and how many fields the format has.
struct Columns {
  std::size_t north, east, elevation, count;
  const char* name;
};

Columns columnsOf(PointFormat format) {
  switch (format) {
    case PointFormat::kNameXYZ: return {1, 2, 3, 4, "name,x,y,z"};
    case PointFormat::kNameCodeENZ: return {3, 2, 4, 5, "name,code,e,n,z"};
    case PointFormat::kXYZ: break;
  }
  return {0, 1, 2, 3, "x,y,z"};
}

bool readPoint(const PointLineFields& fields, const Columns& columns, std::size_t line,
               TerrainPoint& p, std::string& error) {
  if (!checkPointFieldCount(fields, columns.count, columns.name, line, error)) return false;
  return readPointCoordinate(fields, columns.north, "x (north)", p.x, line, error) &&
         readPointCoordinate(fields, columns.east, "y (east)", p.y, line, error) &&
         readPointCoordinate(fields, columns.elevation, "elevation", p.z, line, error);
}

}  // namespace

bool parsePointFormat(const std::string& name, PointFormat& format) {
  std::string key;
  for (char c : name)
    if (!std::isspace(static_cast<unsigned char>(c)))
      key += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (key == "x,y,z") format = PointFormat::kXYZ;
  else if (key == "name,x,y,z") format = PointFormat::kNameXYZ;
  else if (key == "name,code,e,n,z") format = PointFormat::kNameCodeENZ;
  else return false;
  return true;
}

bool readSurveyPoints(std::string_view text, PointFormat format, std::vector<TerrainPoint>& points,
                      std::string& error, const std::function<bool(double)>& progress) {
  const Columns columns = columnsOf(format);
  std::vector<TerrainPoint> read;
  // About one point per 30 bytes; a guess that spares most regrowing.
  read.reserve(std::min<std::size_t>(text.size() / 24 + 1, 1u << 24));
  CPointFileLines lines(text);
  std::string_view line;
  PointLineFields fields;
  while (lines.next(line)) {
    if (progress && lines.number() % kProgressLines == 0 && !progress(lines.share())) {
      error = "cancelled";
      return false;
    }
    line = trimmedPointLine(line);
    if (isPointFileRemark(line)) continue;
    splitPointLine(line, fields);
    TerrainPoint p;
    if (!readPoint(fields, columns, lines.number(), p, error)) return false;
    read.push_back(p);
  }
  points = std::move(read);
  return true;
}

bool readBreaklines(std::string_view text, std::vector<std::vector<TerrainPoint>>& lines,
                    std::string& error) {
  const Columns columns = columnsOf(PointFormat::kXYZ);
  std::vector<std::vector<TerrainPoint>> read;
  std::vector<TerrainPoint> current;
  std::size_t currentStart = 0;
  auto close = [&]() {
    if (current.empty()) return true;
    if (current.size() < 2) {
      error = pointLineError(currentStart, "a breakline needs at least two points");
      return false;
    }
    read.push_back(std::move(current));
    current.clear();
    return true;
  };
  CPointFileLines reader(text);
  std::string_view line;
  PointLineFields fields;
  while (reader.next(line)) {
    line = trimmedPointLine(line);
    if (!line.empty() && isPointFileRemark(line)) continue;
    if (line.empty()) {
      if (!close()) return false;
      continue;
    }
    splitPointLine(line, fields);
    TerrainPoint p;
    if (!readPoint(fields, columns, reader.number(), p, error)) return false;
    if (current.empty()) currentStart = reader.number();
    current.push_back(p);
  }
  if (!close()) return false;
  lines = std::move(read);
  return true;
}

}  // namespace trazmark
