#include "editors/SurveyImport.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <string_view>
#include <vector>

#include "alignment/CurveFile.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"

namespace trazmark {
namespace {

constexpr std::size_t kIpHeaderLines = 3;
constexpr std::size_t kMinimumPoints = 3;


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
  // A comma in a name would shift every field after it when the RP file is
  // read back (an XY file separates its fields by spaces, so names may hold one).
  appendFormat(text, "ROADNAME:%s,\r\n", sanitizeFieldText(roadName).c_str());
  for (const auto& p : points) {
    const std::string name = sanitizeFieldText(std::string(p.name));
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
    points.push_back({f[0], parseDecimal(f[1]), parseDecimal(f[2]), parseDecimal(f[3]),
                      parseDecimal(f[4]), parseDecimal(f[5]), parseDecimal(f[6])});
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
    const double k1 = parseDecimal(f[1]), k2 = parseDecimal(f[2]), k3 = parseDecimal(f[3]);
    const double k4 = parseDecimal(f[4]), k5 = parseDecimal(f[5]);
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
