#pragma once
// The range a number typed in a dialog may take before a road can use it, and
// the message key that names the field when it does not. A dialog refuses a
// value beyond its range rather than store it: a station of 1e300 or a radius
// of a light year passes every later formula and ruins the lists and maps.

#include <initializer_list>
#include <string>

namespace trazmark {

/// Closed range [lowest, highest]; `messageKey` names the field and its range.
struct FieldRange {
  double lowest;
  double highest;
  const char* messageKey;
};

/// True when `value` lies within `range` (NaN does not).
constexpr bool withinRange(double value, const FieldRange& range) {
  return value >= range.lowest && value <= range.highest;
}

/// One value and the range it must keep.
struct FieldCheck {
  double value;
  FieldRange range;
};

/// The message key of the first check whose value is out of its range, in
/// the order given (the dialog's order, top down); empty when all pass.
inline std::string firstOutOfRange(std::initializer_list<FieldCheck> checks) {
  for (const FieldCheck& c : checks)
    if (!withinRange(c.value, c.range)) return c.range.messageKey;
  return {};
}

/// The limits, in metres unless said. Stations and mileages: a road of a
/// hundred thousand kilometres is beyond any project. Radii: a larger circle
/// is a straight line to the millimetre over any element. Lengths of one
/// element or curve: a thousand kilometres. Elevations: deeper than any
/// trench, higher than any mountain. Widths and step sizes: a kilometre.
/// Cross slopes and ratios: 1000 (%, or 1:N).
namespace field_limits {
inline constexpr double kStation = 1e8;
inline constexpr double kRadius = 1e7;
inline constexpr double kLength = 1e6;
inline constexpr double kElevation = 1e5;
inline constexpr double kWidth = 1e3;
inline constexpr double kPercent = 1e3;
inline constexpr double kKerbHeight = 100;  ///< a kerb or step between components
}  // namespace field_limits

}  // namespace trazmark
