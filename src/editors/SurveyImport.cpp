#include "editors/SurveyImport.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <string_view>
#include <vector>

#include "platform/TextFile.h"

namespace trazmark {
namespace {

constexpr std::size_t kIpHeaderLines = 3;
constexpr std::size_t kMinimumPoints = 3;

void appendFormat(std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  const int size = std::vsnprintf(nullptr, 0, format, args);
  va_end(args);
  if (size > 0) {
    const std::size_t old = out.size();
    out.resize(old + static_cast<std::size_t>(size) + 1);
    std::vsnprintf(out.data() + old, static_cast<std::size_t>(size) + 1, format, again);
    out.resize(old + static_cast<std::size_t>(size));
  }
  va_end(again);
}

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

/// A decimal number from the start of `field` (leading blanks and a sign
/// allowed); anything else, and a number out of range, reads as 0.
double readDecimal(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && isSpace(field[i])) ++i;
  const std::size_t begin = i;
  if (i < field.size() && (field[i] == '+' || field[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < field.size() && isDigit(field[i])) ++i, ++digits;
  if (i < field.size() && field[i] == '.') {
    ++i;
    while (i < field.size() && isDigit(field[i])) ++i, ++digits;
  }
  if (digits == 0) return 0;
  if (i < field.size() && (field[i] == 'e' || field[i] == 'E')) {
    std::size_t j = i + 1;
    if (j < field.size() && (field[j] == '+' || field[j] == '-')) ++j;
    if (j < field.size() && isDigit(field[j])) {
      while (j < field.size() && isDigit(field[j])) ++j;
      i = j;
    }
  }
  const std::size_t from = field[begin] == '+' ? begin + 1 : begin;
  double value = 0;
  const auto result = std::from_chars(field.data() + from, field.data() + i, value,
                                      std::chars_format::general);
  if (result.ec != std::errc() || !std::isfinite(value)) return 0;
  return value;
}

/// The lines of a survey file longer than 2 characters. A line ends at CR LF,
/// or at LF once no CR LF is left; text after the last line end is no line.
std::vector<std::string_view> surveyLines(const std::string& text) {
  std::vector<std::string_view> lines;
  std::size_t pos = 0;
  bool crLfLeft = true;
  while (true) {
    std::size_t end = std::string::npos;
    std::size_t breakLength = 2;
    if (crLfLeft) {
      end = text.find("\r\n", pos);
      crLfLeft = end != std::string::npos;
    }
    if (!crLfLeft) {
      end = text.find('\n', pos);
      breakLength = 1;
    }
    if (end == std::string::npos) break;
    if (end - pos > 2) lines.emplace_back(text.data() + pos, end - pos);
    pos = end + breakLength;
  }
  return lines;
}

/// `count` fields of `line` split at `separator`; missing fields are empty.
std::vector<std::string_view> splitFields(std::string_view line, char separator,
                                          std::size_t count) {
  std::vector<std::string_view> fields(count);
  std::size_t start = 0;
  for (std::size_t f = 0; f < count && start <= line.size(); ++f) {
    const std::size_t stop = line.find(separator, start);
    const std::size_t end = stop == std::string_view::npos ? line.size() : stop;
    fields[f] = line.substr(start, end - start);
    start = end + 1;
  }
  return fields;
}

struct CrossPointLine {
  std::string_view name;
  double x, y, entrySpiral, radius, exitSpiral, mileage;
};

std::string crossPointText(const std::string& roadName, const std::vector<CrossPointLine>& points) {
  std::string text;
  appendFormat(text, "ROADNAME:%s,\r\n", roadName.c_str());
  for (const auto& p : points) {
    const std::string name(p.name);
    appendFormat(text, "CROSSPT :%s,%.4f,%.4f,%.4f,%s,%.4f,%.4f,%.4f,%.4f,\r\n", name.c_str(), p.x,
                 p.y, 0.0, "", p.entrySpiral, p.radius, p.exitSpiral, p.mileage);
  }
  return text;
}

std::string fileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("\\/");
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

using SurveyConverter = bool (*)(const std::string&, const std::string&, std::string&);

bool convertSurveyFile(const std::string& surveyPath, std::string& rpPath,
                       SurveyConverter convert) {
  const std::string outPath = crossPointPathForSurveyFile(surveyPath);
  std::string text, rpText;
  if (outPath.empty() || !readTextFileAsAnsi(surveyPath, text)) return false;
  if (!convert(text, fileNameOf(outPath), rpText)) return false;
  if (!writeTextFileAtomically(outPath, rpText)) return false;
  rpPath = outPath;
  return true;
}

}  // namespace

std::string crossPointPathForSurveyFile(const std::string& surveyPath) {
  if (surveyPath.size() < 2) return std::string();
  return surveyPath.substr(0, surveyPath.size() - 2) + "RP";
}

bool convertIpSurveyText(const std::string& ipText, const std::string& roadName,
                         std::string& rpText) {
  const std::vector<std::string_view> lines = surveyLines(ipText);
  if (lines.size() < kIpHeaderLines + kMinimumPoints) return false;
  std::vector<CrossPointLine> points;
  for (std::size_t i = kIpHeaderLines; i < lines.size(); ++i) {
    const auto f = splitFields(lines[i], ',', 7);
    points.push_back({f[0], readDecimal(f[1]), readDecimal(f[2]), readDecimal(f[3]),
                      readDecimal(f[4]), readDecimal(f[5]), readDecimal(f[6])});
  }
  rpText = crossPointText(roadName, points);
  return true;
}

bool convertXySurveyText(const std::string& xyText, const std::string& roadName,
                         std::string& rpText) {
  const std::vector<std::string_view> lines = surveyLines(xyText);
  if (lines.size() < kMinimumPoints) return false;
  std::vector<CrossPointLine> points;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const auto f = splitFields(lines[i], ' ', 6);
    const double k1 = readDecimal(f[1]), k2 = readDecimal(f[2]), k3 = readDecimal(f[3]);
    const double k4 = readDecimal(f[4]), k5 = readDecimal(f[5]);
    if (i == 0)
      points.push_back({f[0], k1, k2, 0, 0, 0, k3});  // the start point and its mileage
    else
      points.push_back({f[0], k1, k2, k4, k3, k5, 0});
  }
  rpText = crossPointText(roadName, points);
  return true;
}

bool convertIpSurveyFile(const std::string& ipPath, std::string& rpPath) {
  return convertSurveyFile(ipPath, rpPath, convertIpSurveyText);
}

bool convertXySurveyFile(const std::string& xyPath, std::string& rpPath) {
  return convertSurveyFile(xyPath, rpPath, convertXySurveyText);
}

}  // namespace trazmark
