#include "terrain/GroundLineFiles.h"

#include <algorithm>
#include <charconv>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/TextFields.h"
#include "platform/TextFile.h"

namespace trazmark {
namespace {

// Numbers are written to the millimetre, which is what a ground survey holds.
constexpr int kDecimals = 3;

// The lines of a text with their numbers (1-based), CR LF or LF; the last line
// counts even without a line end.
class LineReader {
 public:
  explicit LineReader(const std::string& text) : text_(text) {}
  bool next(std::string_view& line, std::size_t& number) {
    if (pos_ >= text_.size()) return false;
    std::size_t end = text_.find('\n', pos_);
    if (end == std::string::npos) end = text_.size();
    line = std::string_view(text_).substr(pos_, end - pos_);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    pos_ = end + 1;
    number = ++lineNumber_;
    return true;
  }

 private:
  const std::string& text_;
  std::size_t pos_ = 0;
  std::size_t lineNumber_ = 0;
};

bool isBlank(char c) { return c == ' ' || c == '\t'; }

// Splits a line at tabs, spaces or one comma (with white space around it);
// a comma at the end of the line is ignored. False for an empty field
// (",," or a line that begins with a comma).
bool splitFields(std::string_view line, std::vector<std::string_view>& fields) {
  fields.clear();
  std::size_t i = 0;
  const std::size_t n = line.size();
  while (i < n && isBlank(line[i])) ++i;
  while (i < n) {
    if (line[i] == ',') return false;  // nothing before this comma
    std::size_t start = i;
    while (i < n && !isBlank(line[i]) && line[i] != ',') ++i;
    fields.push_back(line.substr(start, i - start));
    while (i < n && isBlank(line[i])) ++i;
    if (i < n && line[i] == ',') {
      ++i;
      while (i < n && isBlank(line[i])) ++i;
      if (i < n && line[i] == ',') return false;
    }
  }
  return true;
}

bool isBlankLine(std::string_view line) {
  return std::all_of(line.begin(), line.end(), [](char c) { return isBlank(c); });
}

// A field that is wholly one finite decimal number.
bool readNumber(std::string_view field, double& value) {
  const char* begin = field.data();
  const char* end = begin + field.size();
  if (begin != end && *begin == '+') ++begin;
  if (begin == end) return false;
  double read = 0;
  auto [ptr, ec] = std::from_chars(begin, end, read, std::chars_format::general);
  if (ec != std::errc() || ptr != end || !std::isfinite(read)) return false;
  value = read;
  return true;
}

// A count of steps: a whole number from 0, written without a fraction.
bool readCount(std::string_view field, std::size_t& value) {
  const char* begin = field.data();
  const char* end = begin + field.size();
  if (begin != end && *begin == '+') ++begin;
  if (begin == end) return false;
  unsigned long long read = 0;
  auto [ptr, ec] = std::from_chars(begin, end, read);
  if (ec != std::errc() || ptr != end) return false;
  value = static_cast<std::size_t>(read);
  return true;
}

std::string at(const std::string& name, std::size_t line) {
  return name + ": line " + std::to_string(line) + ": ";
}

// The file's first line that is not blank is a header when its first field is
// not a number.
bool isHeader(std::string_view line) {
  std::size_t i = 0;
  while (i < line.size() && isBlank(line[i])) ++i;
  std::size_t start = i;
  while (i < line.size() && !isBlank(line[i]) && line[i] != ',') ++i;
  double ignored = 0;
  return i > start && !readNumber(line.substr(start, i - start), ignored);
}

std::string formatted(double value) {
  std::string text = formatFixed(value, kDecimals);
  if (text == "-0.000") text = "0.000";
  return text;
}

// The value a written number reads back as.
double asWritten(double value) {
  double read = 0;
  readNumber(formatted(value), read);
  return read;
}

std::string stationText(double station) { return formatted(station); }

// Stations of the files must rise strictly, as they will read back.
bool checkStations(const std::vector<double>& stations, std::string& error) {
  for (std::size_t k = 0; k < stations.size(); ++k) {
    if (!std::isfinite(stations[k])) {
      error = "station " + std::to_string(k + 1) + " is not a number";
      return false;
    }
    if (k > 0 && !(asWritten(stations[k]) > asWritten(stations[k - 1]))) {
      error = "station " + stationText(stations[k]) + " does not come after " +
              stationText(stations[k - 1]) + " (stations must increase, to the millimetre)";
      return false;
    }
  }
  return true;
}

void appendSide(std::string& text, const std::vector<GroundSectionStep>& side) {
  text += std::to_string(side.size());
  for (const GroundSectionStep& s : side) {
    text += ' ';
    text += formatted(s.distance);
    text += ' ';
    text += formatted(s.rise);
  }
  text += '\n';
}

bool checkSide(const SurveyedGroundSection& s, const std::vector<GroundSectionStep>& side,
               const char* which, std::string& error) {
  for (const GroundSectionStep& step : side) {
    if (!std::isfinite(step.distance) || !std::isfinite(step.rise)) {
      error = "station " + stationText(s.station) + ": a " + which + " step is not a number";
      return false;
    }
    if (asWritten(step.distance) < 0) {
      error = "station " + stationText(s.station) + ": a " + which +
              " step has a negative distance";
      return false;
    }
  }
  return true;
}

bool writeText(const std::string& path, const std::string& text, std::string& error) {
  if (!writeTextFileAtomically(path, text)) {
    error = path + ": cannot write the file (" + std::strerror(errno) + ")";
    return false;
  }
  return true;
}

}  // namespace

std::optional<double> SurveyedGroundProfile::elevationAt(double station) const {
  if (points.empty() || !(station >= points.front().station) ||
      !(station <= points.back().station))
    return std::nullopt;
  auto after = std::lower_bound(points.begin(), points.end(), station,
                                [](const GroundProfilePoint& p, double s) { return p.station < s; });
  if (after->station == station || after == points.begin()) return after->elevation;
  const GroundProfilePoint& before = *(after - 1);
  const double t = (station - before.station) / (after->station - before.station);
  return before.elevation + t * (after->elevation - before.elevation);
}

const SurveyedGroundSection* SurveyedGroundSections::find(double station, double tolerance) const {
  if (sections.empty() || !std::isfinite(station)) return nullptr;
  auto after = std::lower_bound(
      sections.begin(), sections.end(), station,
      [](const SurveyedGroundSection& s, double value) { return s.station < value; });
  const SurveyedGroundSection* best = nullptr;
  double bestDistance = 0;
  auto consider = [&](const SurveyedGroundSection& s) {
    const double d = std::fabs(s.station - station);
    if (d <= tolerance && (best == nullptr || d < bestDistance)) {
      best = &s;
      bestDistance = d;
    }
  };
  if (after != sections.end()) consider(*after);
  if (after != sections.begin()) consider(*(after - 1));
  return best;
}

bool parseGroundProfileText(const std::string& text, const std::string& name,
                            SurveyedGroundProfile& profile, std::string& error) {
  SurveyedGroundProfile read;
  LineReader lines(text);
  std::string_view line;
  std::size_t number = 0;
  std::vector<std::string_view> fields;
  bool sawLine = false;
  while (lines.next(line, number)) {
    if (isBlankLine(line)) continue;
    if (!sawLine && isHeader(line)) {
      sawLine = true;
      continue;
    }
    sawLine = true;
    if (!splitFields(line, fields) || fields.size() != 2) {
      error = at(name, number) + "expected STATION ELEVATION";
      return false;
    }
    GroundProfilePoint p;
    if (!readNumber(fields[0], p.station) || !readNumber(fields[1], p.elevation)) {
      error = at(name, number) + "the station and the elevation must be numbers";
      return false;
    }
    if (!read.points.empty() && !(p.station > read.points.back().station)) {
      error = at(name, number) + "station " + stationText(p.station) +
              " does not come after " + stationText(read.points.back().station) +
              " (stations must increase)";
      return false;
    }
    read.points.push_back(p);
  }
  if (read.points.empty()) {
    error = name + ": no stations (expected STATION ELEVATION lines)";
    return false;
  }
  profile = std::move(read);
  return true;
}

bool readGroundProfileFile(const std::string& path, SurveyedGroundProfile& profile,
                           std::string& error) {
  std::string text;
  if (!readTextFileAsAnsi(path, text)) {
    error = path + ": cannot read the file";
    return false;
  }
  return parseGroundProfileText(text, path, profile, error);
}

bool groundProfileText(const SurveyedGroundProfile& profile, std::string& text,
                       std::string& error) {
  std::vector<double> stations;
  stations.reserve(profile.points.size());
  for (const GroundProfilePoint& p : profile.points) {
    if (!std::isfinite(p.elevation)) {
      error = "station " + stationText(p.station) + ": the elevation is not a number";
      return false;
    }
    stations.push_back(p.station);
  }
  if (!checkStations(stations, error)) return false;
  text.clear();
  text.reserve(profile.points.size() * 24);
  for (const GroundProfilePoint& p : profile.points) {
    text += formatted(p.station);
    text += ' ';
    text += formatted(p.elevation);
    text += '\n';
  }
  return true;
}

bool writeGroundProfileFile(const std::string& path, const SurveyedGroundProfile& profile,
                            std::string& error) {
  std::string text;
  if (!groundProfileText(profile, text, error)) {
    error = path + ": " + error;
    return false;
  }
  return writeText(path, text, error);
}

bool parseGroundSectionsText(const std::string& text, const std::string& name,
                             SurveyedGroundSections& sections, std::string& error) {
  SurveyedGroundSections read;
  LineReader lines(text);
  std::string_view line;
  std::size_t number = 0;
  std::vector<std::string_view> fields;
  bool sawLine = false;
  // Each station is three lines: its station, its left side, its right side.
  enum class Expect { Station, Left, Right } expect = Expect::Station;
  SurveyedGroundSection current;
  std::size_t stationLine = 0;
  while (lines.next(line, number)) {
    if (isBlankLine(line)) continue;
    if (!sawLine && isHeader(line)) {
      sawLine = true;
      continue;
    }
    sawLine = true;
    if (!splitFields(line, fields)) {
      error = at(name, number) + "an empty field";
      return false;
    }
    if (expect == Expect::Station) {
      current = SurveyedGroundSection();
      if (fields.size() != 1 || !readNumber(fields[0], current.station)) {
        error = at(name, number) + "expected a station (one number)";
        return false;
      }
      if (!read.sections.empty() && !(current.station > read.sections.back().station)) {
        error = at(name, number) + "station " + stationText(current.station) +
                " does not come after " + stationText(read.sections.back().station) +
                " (stations must increase)";
        return false;
      }
      stationLine = number;
      expect = Expect::Left;
      continue;
    }
    const char* which = expect == Expect::Left ? "left" : "right";
    std::size_t count = 0;
    if (!readCount(fields[0], count)) {
      error = at(name, number) + "the " + which + " side must begin with its count of points";
      return false;
    }
    // Compared as fields - 1 against 2 * count so that no huge count overflows.
    if ((fields.size() - 1) % 2 != 0 || (fields.size() - 1) / 2 != count) {
      error = at(name, number) + "the " + which + " side gives " + std::to_string(count) +
              " points but has " + std::to_string(fields.size() - 1) +
              " numbers after the count (expected DISTANCE HEIGHT pairs)";
      return false;
    }
    std::vector<GroundSectionStep>& side = expect == Expect::Left ? current.left : current.right;
    side.reserve(count);
    for (std::size_t k = 0; k < count; ++k) {
      GroundSectionStep s;
      if (!readNumber(fields[1 + 2 * k], s.distance) || !readNumber(fields[2 + 2 * k], s.rise)) {
        error = at(name, number) + "point " + std::to_string(k + 1) + " of the " + which +
                " side: the distance and the height difference must be numbers";
        return false;
      }
      if (s.distance < 0) {
        error = at(name, number) + "point " + std::to_string(k + 1) + " of the " + which +
                " side: a negative distance (each is measured outward)";
        return false;
      }
      side.push_back(s);
    }
    if (expect == Expect::Left) {
      expect = Expect::Right;
    } else {
      read.sections.push_back(std::move(current));
      expect = Expect::Station;
    }
  }
  if (expect != Expect::Station) {
    error = at(name, stationLine) + "station " + stationText(current.station) + " has no " +
            (expect == Expect::Left ? "left and right sides" : "right side") +
            " (the file ends)";
    return false;
  }
  if (read.sections.empty()) {
    error = name + ": no stations";
    return false;
  }
  sections = std::move(read);
  return true;
}

bool readGroundSectionsFile(const std::string& path, SurveyedGroundSections& sections,
                            std::string& error) {
  std::string text;
  if (!readTextFileAsAnsi(path, text)) {
    error = path + ": cannot read the file";
    return false;
  }
  return parseGroundSectionsText(text, path, sections, error);
}

bool groundSectionsText(const SurveyedGroundSections& sections, std::string& text,
                        std::string& error) {
  std::vector<double> stations;
  stations.reserve(sections.sections.size());
  for (const SurveyedGroundSection& s : sections.sections) {
    if (!checkSide(s, s.left, "left", error) || !checkSide(s, s.right, "right", error))
      return false;
    stations.push_back(s.station);
  }
  if (!checkStations(stations, error)) return false;
  text.clear();
  for (std::size_t k = 0; k < sections.sections.size(); ++k) {
    const SurveyedGroundSection& s = sections.sections[k];
    if (k > 0) text += '\n';
    text += formatted(s.station);
    text += '\n';
    appendSide(text, s.left);
    appendSide(text, s.right);
  }
  return true;
}

bool writeGroundSectionsFile(const std::string& path, const SurveyedGroundSections& sections,
                             std::string& error) {
  std::string text;
  if (!groundSectionsText(sections, text, error)) {
    error = path + ": " + error;
    return false;
  }
  return writeText(path, text, error);
}

}  // namespace trazmark
