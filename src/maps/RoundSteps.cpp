#include "maps/RoundSteps.h"

#include <cmath>

#include "platform/TextFields.h"

namespace trazmark {

int stepDecimals(double step) {
  if (!(step > 0) || !std::isfinite(step)) return 0;
  double scaled = step;
  for (int d = 0; d < 9; ++d, scaled *= 10) {
    if (std::fabs(scaled - std::round(scaled)) <= 1e-6 * scaled) return d;
  }
  return 9;
}

double roundLength(double least) {
  if (!(least > 0) || !std::isfinite(least)) return 0;
  double power = std::pow(10.0, std::floor(std::log10(least)));
  for (;;) {
    for (double f : {1.0, 2.0, 5.0}) {
      // A hair of tolerance, so that 100 stays 100 and does not become 200.
      if (f * power >= least * (1 - 1e-9)) return f * power;
    }
    power *= 10;
  }
}

std::string roundLengthText(double length) { return formatFixed(length, stepDecimals(length)); }

std::vector<double> gridValues(double low, double high, double step, int maxLines) {
  std::vector<double> values;
  if (!(step > 0) || !std::isfinite(step) || !std::isfinite(low) || !std::isfinite(high) ||
      !(high >= low))
    return values;
  // Whole multiples counted from zero, so that 0.1 + 0.1 + 0.1 never drifts
  // to 0.30000000000000004 and a line at 0 is exactly 0.
  const double first = std::ceil(low / step - 1e-9);
  const double last = std::floor(high / step + 1e-9);
  if (!(last - first < maxLines)) return values;
  for (double i = first; i <= last; ++i) values.push_back(i * step);
  return values;
}

std::string gridValueText(double value, double step) {
  std::string text = formatFixed(value, stepDecimals(step));
  if (text.find_first_not_of("-0.") == std::string::npos && text[0] == '-') text.erase(0, 1);
  return text;
}

int placeInside(int start, int length, int low, int high) {
  if (start + length - 1 > high) start = high - length + 1;
  if (start < low) start = low;
  return start;
}

}  // namespace trazmark
