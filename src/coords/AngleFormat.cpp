#include "coords/AngleFormat.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;

// Reads the longest decimal number at the start of `text` (after blanks and an
// optional '+'), always with a dot whatever the locale; 0 when there is none.
double leadingNumber(const std::string& text) {
  const char* p = text.c_str();
  const char* end = p + text.size();
  while (p < end && (*p == ' ' || *p == '\t' || *p == '\r' || *p == '\n')) ++p;
  if (p < end && *p == '+') ++p;
  double value = 0;
  const auto result = std::from_chars(p, end, value, std::chars_format::general);
  if (result.ec != std::errc()) return 0;
  return value;
}

double wholePart(double v) { return std::floor(v); }

}  // namespace

double parseAngle(const std::string& text) {
  const double v = leadingNumber(text);
  if (!std::isfinite(v)) return 0;
  const bool negative = v < 1e-10;
  const double a = std::fabs(v);
  if (a <= 1e-9) return 0;
  const double dd = a + 1e-12;
  const double d = wholePart(dd);
  const double mm = (dd - d) * 100.0 + 1e-12;
  const double m = wholePart(mm);
  const double ss = (mm - m) * 100.0 + 1e-12;
  const double s = wholePart(ss);
  const double f = ss - s;
  const double result = d + m / 60.0 + s / 3600.0 + f / 3600.0;
  return negative ? -result : result;
}

std::string formatDms(double degrees) {
  if (!std::isfinite(degrees)) return std::string();
  const char* sign = degrees < -1e-6 ? "-" : "";
  const double a = std::fabs(degrees);
  double d = wholePart(a);
  const double minutes = (a - d) * 60.0;
  double m = wholePart(minutes);
  double s = (minutes - m) * 60.0;
  if (m >= 60) {  // a fraction a hair below 1 can round to 60 minutes
    m = 0;
    d += 1;
  }
  if (std::fabs(s - 60.0) < 0.0001) {
    s = 0;
    m += 1;
    if (std::fabs(m - 60.0) < 0.0001) {
      m = 0;
      d += 1;
    }
  }
  char sec[32];
  std::snprintf(sec, sizeof sec, "%09.6f", s);
  std::string digits;
  for (const char* c = sec; *c; ++c) {
    if (*c != '.') digits += *c;
  }
  // The degrees are printed as a whole double so that any size prints exactly.
  char buf[400];
  std::snprintf(buf, sizeof buf, "%s%.0f.%02d%s", sign, d, static_cast<int>(m), digits.c_str());
  return buf;
}

double radiansToPackedDms(double radians, DmsVariant variant) {
  if (!std::isfinite(radians)) return 0;
  const bool negative = radians < 1e-10;
  const double r = std::fabs(radians);
  if (r <= 1e-9) return 0;
  const bool stake = variant == DmsVariant::Stake;
  const double eps = stake ? 1e-8 : 1e-12;
  const double deg = r * 180.0 / kPi + eps;
  double d = wholePart(deg);
  const double minutes = (deg - d) * 60.0 + eps;
  double m = wholePart(minutes);
  const double seconds = (minutes - m) * 60.0 + eps;
  double s = wholePart(seconds);
  double f = seconds - s;
  const bool roundUp = stake ? f * 1000000.0 >= 999999.0 : f * 10000.0 >= 9999.0;
  if (roundUp) {
    s += 1;
    f = 0;
  }
  if (s >= 60) {
    s = 0;
    m += 1;
  }
  if (m >= 60) {
    m = 0;
    d += 1;
  }
  const double packed = d + m / 100.0 + s / 10000.0 + f / 10000.0;
  // Printing and reading back rounds to the variant's decimals (to_chars rounds
  // exactly as printf does). Up to 1e308 the printed number fits the buffer.
  char buf[400];
  const auto printed =
      std::to_chars(buf, buf + sizeof buf, packed, std::chars_format::fixed, stake ? 10 : 12);
  double rounded = 0;
  if (printed.ec == std::errc()) std::from_chars(buf, printed.ptr, rounded);
  return negative ? -rounded : rounded;
}

}  // namespace trazmark
