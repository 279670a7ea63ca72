#include "platform/TextFields.h"

#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace trazmark {

std::string formatFixed(double value, int decimals) {
  char buf[64];
  int n = std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  if (n >= 0 && n < static_cast<int>(sizeof buf)) return std::string(buf, static_cast<std::size_t>(n));
  // Only huge magnitudes get here; size the buffer to them.
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), "%.*f", decimals, value);
  big.pop_back();
  return big;
}

std::string formatInt(long long value) { return std::to_string(value); }

double parseDecimal(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  double value = 0;
  auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value);
  (void)ptr;
  // Out of range, not a number, infinities and NaN all read as 0: a stored
  // coordinate is always a finite number.
  if (ec != std::errc() || !std::isfinite(value)) return 0;
  return value;
}

int parseInteger(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  if (i < text.size() && text[i] == '+') ++i;
  long long value = 0;
  auto [ptr, ec] = std::from_chars(text.data() + i, text.data() + text.size(), value);
  (void)ptr;
  if (ec != std::errc()) return 0;
  if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min()) return 0;
  return static_cast<int>(value);
}

std::string trimWhiteSpace(const std::string& text) {
  const char* ws = " \t\r\n\f\v";
  std::size_t b = text.find_first_not_of(ws);
  if (b == std::string::npos) return std::string();
  std::size_t e = text.find_last_not_of(ws);
  return text.substr(b, e - b + 1);
}

void forEachLine(const std::string& text, int maxLines,
                 const std::function<void(const std::string&)>& fn) {
  std::size_t pos = 0;
  for (int n = 0; n < maxLines; ++n) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.find('\r', pos);
    if (end == std::string::npos) return;
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    std::size_t cr = line.find('\r');
    if (cr != std::string::npos) line.resize(cr);
    std::size_t lf = line.find('\n');
    if (lf != std::string::npos) line.resize(lf);
    fn(line);
  }
}

}  // namespace trazmark
