#include "platform/TextFields.h"

#include <cerrno>
#include <cstdarg>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <locale.h>

namespace trazmark {
namespace {

// The window toolkit takes the whole C locale from the user's environment at
// start-up, so on a German or French desktop printf would write "12,5000" and
// every number of a road file or road list would read back wrong. Files always
// take the "C" number format: the calling thread formats in it for the
// duration of one call and then returns to its own locale.
class CNumberFormatScope {
 public:
  CNumberFormatScope() {
    static const locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
    if (c) previous_ = ::uselocale(c);
  }
  ~CNumberFormatScope() {
    if (previous_) ::uselocale(previous_);
  }
  CNumberFormatScope(const CNumberFormatScope&) = delete;
  CNumberFormatScope& operator=(const CNumberFormatScope&) = delete;

 private:
  locale_t previous_ = nullptr;
};

}  // namespace

std::string formatFixed(double value, int decimals) {
  CNumberFormatScope cNumbers;
  char buf[64];
  int n = std::snprintf(buf, sizeof buf, "%.*f", decimals, value);
  if (n >= 0 && n < static_cast<int>(sizeof buf)) return std::string(buf, static_cast<std::size_t>(n));
  // Only huge magnitudes get here; size the buffer to them.
  std::string big(static_cast<std::size_t>(n) + 1, '\0');
  std::snprintf(big.data(), big.size(), "%.*f", decimals, value);
  big.pop_back();
  return big;
}

void appendFormatV(std::string& out, const char* format, va_list args) {
  CNumberFormatScope cNumbers;
  va_list again;
  va_copy(again, args);
  const int size = std::vsnprintf(nullptr, 0, format, args);
  if (size > 0) {
    const std::size_t old = out.size();
    out.resize(old + static_cast<std::size_t>(size) + 1);
    std::vsnprintf(out.data() + old, static_cast<std::size_t>(size) + 1, format, again);
    out.resize(old + static_cast<std::size_t>(size));
  }
  va_end(again);
}

void appendFormat(std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  appendFormatV(out, format, args);
  va_end(args);
}

std::string formatInt(long long value) { return std::to_string(value); }

namespace {

bool isSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}
bool isDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

double parseDecimal(std::string_view field) {
  // Only a sign, digits, a point and an exponent make a number: "inf", "nan"
  // and hexadecimal text are not numbers here, as a stored value is always a
  // finite decimal.
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
  const std::size_t from = field[begin] == '+' ? begin + 1 : begin;  // from_chars takes no '+'
  double value = 0;
  const auto result =
      std::from_chars(field.data() + from, field.data() + i, value, std::chars_format::general);
  if (result.ec != std::errc() || !std::isfinite(value)) return 0;
  return value;
}

int parseInteger(std::string_view field) {
  std::size_t i = 0;
  while (i < field.size() && isSpace(field[i])) ++i;
  if (i < field.size() && field[i] == '+') ++i;
  long long value = 0;
  const auto result = std::from_chars(field.data() + i, field.data() + field.size(), value);
  if (result.ec != std::errc() || value < std::numeric_limits<int>::min() ||
      value > std::numeric_limits<int>::max())
    return 0;
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
