#include "vertical/VerticalCurveFile.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string_view>

#include "platform/TextFields.h"
#include "platform/TextFile.h"
#include "vertical/VerticalCurveCal.h"

namespace trazmark {
namespace {

constexpr int kMaxLines = 1000;
constexpr int kFieldCount = 9;

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }



}  // namespace

std::string verticalCurveText(const RecordList<CVerticalCurveCal>& points) {
  RecordList<CVerticalCurveCal> refreshed = points;
  refreshGradePoints(refreshed);
  std::string text;
  for (const auto& p : refreshed) {
    appendFormat(text, "%.3f,%.3f,%.3f,%.3f,%.3f,%.3f,%.3f,%.3f,%d,\r\n", p.Mileage, p.High,
                 p.Radius, p.I1, p.I2, p.CurveL, p.InLength, p.OutLength, p.CalMode);
  }
  return text;
}

bool writeVerticalCurveFile(const std::string& path, const RecordList<CVerticalCurveCal>& points) {
  if (path.empty()) return false;
  return writeTextFileAtomically(path, verticalCurveText(points));
}

bool parseVerticalCurveText(const std::string& text, RecordList<CVerticalCurveCal>& points) {
  RecordList<CVerticalCurveCal> read;
  std::size_t pos = 0;
  bool lineFeedsLeft = true;
  for (int lines = 0; lines < kMaxLines; ++lines) {
    std::size_t end = std::string::npos;
    if (lineFeedsLeft) {
      end = text.find('\n', pos);
      lineFeedsLeft = end != std::string::npos;
    }
    if (!lineFeedsLeft) end = text.find('\r', pos);
    if (end == std::string::npos) break;
    std::string_view line(text.data() + pos, end - pos);
    pos = end + 1;
    line = line.substr(0, line.find('\r'));
    line = line.substr(0, line.find('\n'));
    bool blank = true;
    for (char c : line) blank = blank && isBlank(c);
    if (blank) continue;

    std::string_view fields[kFieldCount];
    std::size_t start = 0;
    for (int f = 0; f < kFieldCount && start <= line.size(); ++f) {
      const std::size_t comma = line.find(',', start);
      const std::size_t stop = comma == std::string_view::npos ? line.size() : comma;
      fields[f] = line.substr(start, stop - start);
      start = stop + 1;
    }
    CVerticalCurveCal p;
    p.Mileage = parseDecimal(fields[0]);
    p.High = parseDecimal(fields[1]);
    p.Radius = parseDecimal(fields[2]);
    p.I1 = parseDecimal(fields[3]);
    p.I2 = parseDecimal(fields[4]);
    p.CurveL = parseDecimal(fields[5]);
    p.InLength = parseDecimal(fields[6]);
    p.OutLength = parseDecimal(fields[7]);
    p.CalMode = parseInteger(fields[8]);
    setupVerticalCurve(p);
    read.append(p);
  }
  if (read.empty()) return false;
  points = std::move(read);
  return true;
}

bool readVerticalCurveFile(const std::string& path, RecordList<CVerticalCurveCal>& points) {
  std::string text;
  if (path.empty() || !readTextFileAsAnsi(path, text)) return false;
  return parseVerticalCurveText(text, points);
}

}  // namespace trazmark
