#pragma once
// Round numbers for what a map writes beside its drawing: the length of a
// scale bar, the step of a grid and of an axis (1, 2 or 5 times a power of
// ten), the grid's values at whole steps, their text, and where a label that
// would run over the window's edge goes instead. One rule for the maps on
// screen, the drawing sheets and the mass-haul diagram alike.

#include <string>
#include <vector>

namespace trazmark {

/// The smallest length of 1, 2 or 5 × 10^n at or above `least` ("a round
/// length"): 0.37 → 0.5, 12 → 20, 200 → 200. 0 for a value that is not
/// positive and finite.
double roundLength(double least);

/// A round length as text with the decimals it needs and no more: 0.5 →
/// "0.5", 0.02 → "0.02", 20 → "20", 2000 → "2000".
std::string roundLengthText(double length);

/// The values of a grid of `step` inside [low, high]: the whole multiples of
/// the step, lowest first. Empty for a step that is not positive, an empty
/// range, or more than `maxLines` lines.
std::vector<double> gridValues(double low, double high, double step, int maxLines = 1000);

/// The fewest decimals that write `step` exactly: 0 for 20, 1 for 0.5, 2
/// for 0.25 or 0.05 (at most 9).
int stepDecimals(double step);

/// A grid value written with the decimals its step needs: (12.4, 0.2) →
/// "12.4", (120, 20) → "120"; a value that rounds to zero reads "0", never
/// "-0".
std::string gridValueText(double value, double step);

/// The first pixel of a label `length` pixels long that wants to start at
/// `start`, moved inside [low, high] (the window's first and last pixel) so
/// that it is not cut: to `low` when it starts before, back so that it ends at
/// `high` when it runs past. A label longer than the window starts at `low`.
int placeInside(int start, int length, int low, int high);

}  // namespace trazmark
