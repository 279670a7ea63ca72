#pragma once
// Angles in the packed degrees-minutes-seconds form ddd.mmss…: whole degrees
// before the point, then two digits of minutes, two digits of whole seconds and
// further digits for the fraction of a second (12.3405 is 12° 34′ 05″).

#include <string>

namespace trazmark {

/// Reads packed-form text (an empty text gives 0) and returns decimal degrees.
/// The text is read as a decimal number from its start, as far as it parses;
/// text that does not start with a number, and infinities or NaN, give 0.
double parseAngle(const std::string& text);

/// Writes decimal degrees as packed text "%d.%02d%s": degrees, two digits of
/// minutes and eight digits of seconds (two whole, six decimal), e.g.
/// 12.3405500000 for 12° 34′ 5.5″. Seconds within 0.0001 of 60 carry into the
/// minutes, and 60 minutes into the degrees. Values below -1e-6 get a leading
/// "-". A value that is not finite gives an empty text.
std::string formatDms(double degrees);

/// Rounding rules of the two users of the packed number.
enum class DmsVariant {
  Editor,  ///< editors: rounded to 12 decimals, a second fraction ≥ 0.9999 carries
  Stake,   ///< stake lists: rounded to 10 decimals, a fraction ≥ 0.999999 carries
};

/// Converts radians to the packed number ddd.mmss…, keeping the sign. Angles of
/// at most 1e-9 in size, and values that are not finite, give 0.
double radiansToPackedDms(double radians, DmsVariant variant = DmsVariant::Editor);

}  // namespace trazmark
