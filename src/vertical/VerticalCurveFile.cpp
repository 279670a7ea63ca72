#include "vertical/VerticalCurveFile.h"

#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>
#include <string_view>

#include "platform/TextFile.h"
#include "vertical/VerticalCurveCal.h"

namespace trazmark {
namespace {

constexpr int kMaxLines = 1000;
constexpr int kFieldCount = 9;

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

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

/// A decimal number from the start of `field` (leading blanks and a sign
/// allowed, digits, a point, an exponent); anything else, and a number out of
/// range, reads as 0.
double readDecimal(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && isBlank(field[i])) ++i;
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
  std::size_t from = begin;
  if (field[from] == '+') ++from;  // from_chars takes no plus sign
  double value = 0;
  const auto result = std::from_chars(field.data() + from, field.data() + i, value,
                                      std::chars_format::general);
  if (result.ec != std::errc() || !std::isfinite(value)) return 0;
  return value;
}

/// A base-10 integer from the start of `field`; anything else, and a value
/// beyond 32 bits, reads as 0.
int32_t readInteger(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && isBlank(field[i])) ++i;
  if (i < field.size() && field[i] == '+') ++i;
  long long value = 0;
  const auto result = std::from_chars(field.data() + i, field.data() + field.size(), value);
  if (result.ec != std::errc() || value < std::numeric_limits<int32_t>::min() ||
      value > std::numeric_limits<int32_t>::max())
    return 0;
  return static_cast<int32_t>(value);
}

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
    p.Mileage = readDecimal(fields[0]);
    p.High = readDecimal(fields[1]);
    p.Radius = readDecimal(fields[2]);
    p.I1 = readDecimal(fields[3]);
    p.I2 = readDecimal(fields[4]);
    p.CurveL = readDecimal(fields[5]);
    p.InLength = readDecimal(fields[6]);
    p.OutLength = readDecimal(fields[7]);
    p.CalMode = readInteger(fields[8]);
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
