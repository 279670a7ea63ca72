#include "terrain/SurveyPointFile.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "terrain/TerrainNumbers.h"

namespace trazmark {
namespace {

// The progress is reported every this many lines: often enough for a bar,
// rarely enough to cost nothing.
constexpr std::size_t kProgressLines = 65536;
// Most fields a line may have: the longest format's five and a few empty ones.
constexpr std::size_t kMaxFields = 16;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

std::string_view trimmed(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

// The fields of one line, at most kMaxFields (more makes `count` larger than
// kMaxFields, enough to refuse the line).
struct Fields {
  std::array<std::string_view, kMaxFields> field;
  std::size_t count = 0;
  void add(std::string_view f) {
    if (count < kMaxFields) field[count] = f;
    ++count;
  }
};

void splitLine(std::string_view line, Fields& out) {
  out.count = 0;
  if (line.find(',') != std::string_view::npos) {
    std::size_t start = 0;
    for (;;) {
      const std::size_t comma = line.find(',', start);
      out.add(trimmed(line.substr(start, comma == std::string_view::npos ? line.npos : comma - start)));
      if (comma == std::string_view::npos) break;
      start = comma + 1;
    }
    return;
  }
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && isBlank(line[i])) ++i;
    const std::size_t start = i;
    while (i < line.size() && !isBlank(line[i])) ++i;
    if (i > start) out.add(line.substr(start, i - start));
  }
}

// Walks the lines of a text: the line's number (from 1) and its text without
// the line end.
class LineReader {
 public:
  explicit LineReader(std::string_view text) : text_(text) {
    // A UTF-8 byte-order mark is no part of the first line.
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
  }
  bool next(std::string_view& line) {
    if (position_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', position_);
    if (end == std::string_view::npos) end = text_.size();
    line = text_.substr(position_, end - position_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    position_ = end + 1;
    ++number_;
    return true;
  }
  std::size_t number() const { return number_; }
  double share() const {
    return text_.empty() ? 1.0 : static_cast<double>(std::min(position_, text_.size())) /
                                     static_cast<double>(text_.size());
  }

 private:
  std::string_view text_;
  std::size_t position_ = 0;
  std::size_t number_ = 0;
};

bool isComment(std::string_view line) { return !line.empty() && line.front() == '#'; }

std::string lineError(std::size_t line, const std::string& why) {
  return "line " + std::to_string(line) + ": " + why;
}

// Reads the coordinate in field `index` named `what` into `value`.
bool coordinate(const Fields& fields, std::size_t index, const char* what, double& value,
                std::size_t line, std::string& error) {
  const std::string_view text = fields.field[index];
  if (text.empty()) {
    error = lineError(line, std::string("the ") + what + " is missing");
    return false;
  }
  const std::optional<double> v = readTerrainNumber(text);
  if (!v) {
    error = lineError(line, std::string("the ") + what + " '" + std::string(text.substr(0, 40)) +
                                "' is not a number");
    return false;
  }
  if (!(std::fabs(*v) <= kMaxTerrainCoordinate)) {
    error = lineError(line, std::string("the ") + what + " " + std::string(text.substr(0, 40)) +
                                " lies beyond any survey grid");
    return false;
  }
  value = *v;
  return true;
}

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

bool readPoint(const Fields& fields, const Columns& columns, std::size_t line, TerrainPoint& p,
               std::string& error) {
  if (fields.count < columns.count) {
    error = lineError(line, std::to_string(fields.count) + " field" + (fields.count == 1 ? "" : "s") +
                                " where " + columns.name + " has " + std::to_string(columns.count));
    return false;
  }
  for (std::size_t i = columns.count; i < fields.count; ++i)
    if (i >= kMaxFields || !fields.field[i].empty()) {
      error = lineError(line, "more fields than " + std::string(columns.name) + " has");
      return false;
    }
  return coordinate(fields, columns.north, "x (north)", p.x, line, error) &&
         coordinate(fields, columns.east, "y (east)", p.y, line, error) &&
         coordinate(fields, columns.elevation, "elevation", p.z, line, error);
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
  LineReader lines(text);
  std::string_view line;
  Fields fields;
  while (lines.next(line)) {
    if (progress && lines.number() % kProgressLines == 0 && !progress(lines.share())) {
      error = "cancelled";
      return false;
    }
    line = trimmed(line);
    if (line.empty() || isComment(line)) continue;
    splitLine(line, fields);
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
      error = lineError(currentStart, "a breakline needs at least two points");
      return false;
    }
    read.push_back(std::move(current));
    current.clear();
    return true;
  };
  LineReader reader(text);
  std::string_view line;
  Fields fields;
  while (reader.next(line)) {
    line = trimmed(line);
    if (isComment(line)) continue;
    if (line.empty()) {
      if (!close()) return false;
      continue;
    }
    splitLine(line, fields);
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
