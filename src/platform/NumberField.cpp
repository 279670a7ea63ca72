#include "platform/NumberField.h"

#include <charconv>
#include <cmath>

#include "platform/TextFields.h"

namespace trazmark {

bool parseNumberField(const std::string& text, double& value) {
  const std::string trimmed = trimWhiteSpace(text);
  const char* begin = trimmed.data();
  const char* end = trimmed.data() + trimmed.size();
  if (begin != end && *begin == '+') ++begin;  // from_chars takes no '+'
  if (begin == end) return false;
  double read = 0;
  auto [ptr, ec] = std::from_chars(begin, end, read, std::chars_format::general);
  if (ec != std::errc() || ptr != end || !std::isfinite(read)) return false;
  value = read;
  return true;
}

}  // namespace trazmark
