#include "terrain/PointFileLines.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "terrain/TerrainNumbers.h"

namespace trazmark {
namespace {

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

std::string_view trimmedPointLine(std::string_view text) {
  while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool isPointFileRemark(std::string_view line) { return line.empty() || line.front() == '#'; }

void splitPointLine(std::string_view line, PointLineFields& out) {
  out.count = 0;
  if (line.find(',') != std::string_view::npos) {
    std::size_t start = 0;
    for (;;) {
      const std::size_t comma = line.find(',', start);
      out.add(trimmedPointLine(
          line.substr(start, comma == std::string_view::npos ? line.npos : comma - start)));
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

CPointFileLines::CPointFileLines(std::string_view text) : text_(text) {
  if (text_.substr(0, 3) == "\xEF\xBB\xBF") text_.remove_prefix(3);
}

bool CPointFileLines::next(std::string_view& line) {
  if (position_ >= text_.size()) return false;
  std::size_t end = text_.find('\n', position_);
  if (end == std::string_view::npos) end = text_.size();
  line = text_.substr(position_, end - position_);
  if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
  position_ = end + 1;
  ++number_;
  return true;
}

double CPointFileLines::share() const {
  return text_.empty() ? 1.0
                       : static_cast<double>(std::min(position_, text_.size())) /
                             static_cast<double>(text_.size());
}

std::string pointLineError(std::size_t line, const std::string& why) {
  return "line " + std::to_string(line) + ": " + why;
}

bool checkPointFieldCount(const PointLineFields& fields, std::size_t count, const char* format,
                          std::size_t line, std::string& error) {
  if (fields.count < count) {
    error = pointLineError(line, std::to_string(fields.count) + " field" +
                                     (fields.count == 1 ? "" : "s") + " where " + format + " has " +
                                     std::to_string(count));
    return false;
  }
  for (std::size_t i = count; i < fields.count; ++i)
    if (i >= kMaxPointFields || !fields.field[i].empty()) {
      error = pointLineError(line, "more fields than " + std::string(format) + " has");
      return false;
    }
  return true;
}

bool readPointCoordinate(const PointLineFields& fields, std::size_t index, const char* what,
                         double& value, std::size_t line, std::string& error) {
  const std::string_view text = index < kMaxPointFields ? fields.field[index] : std::string_view();
  if (index >= fields.count || text.empty()) {
    error = pointLineError(line, std::string("the ") + what + " is missing");
    return false;
  }
  const std::optional<double> v = readTerrainNumber(text);
  if (!v) {
    error = pointLineError(line, std::string("the ") + what + " '" +
                                     std::string(text.substr(0, 40)) + "' is not a number");
    return false;
  }
  if (!(std::fabs(*v) <= kMaxTerrainCoordinate)) {
    error = pointLineError(line, std::string("the ") + what + " " +
                                     std::string(text.substr(0, 40)) + " lies beyond any survey grid");
    return false;
  }
  value = *v;
  return true;
}

}  // namespace trazmark
