#pragma once
// How the terrain readers read a coordinate: a whole decimal number with a
// dot, never a locale's, never NaN or infinity, and within the reach of any
// survey grid.

#include <charconv>
#include <cmath>
#include <optional>
#include <string_view>
#include <system_error>

namespace trazmark {

/// Largest coordinate or elevation a terrain file may hold (metres): far
/// beyond any projected grid (the earth's circumference is 4·10^7 m), small
/// enough that differences of coordinates keep their precision in doubles.
constexpr double kMaxTerrainCoordinate = 1e8;

/// The number `text` holds as a whole (a leading '+' allowed, no white space
/// around it); none for anything else and for NaN or infinity.
inline std::optional<double> readTerrainNumber(std::string_view text) {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

}  // namespace trazmark
