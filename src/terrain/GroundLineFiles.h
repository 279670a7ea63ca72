#pragma once
// The ground lines a field crew surveys along a road, in the two text files
// that design tools exchange:
//
//  - the longitudinal ground line (.dmx): the ground's elevation on the centre
//    line at stations, one "STATION ELEVATION" per line;
//  - the cross-section ground lines (.hdm): at each station, the ground left
//    and right of the centre stake as a chain of steps, each a horizontal
//    distance and a height difference from the point before it, the first
//    from the centre stake, outward.
//
// Stations are displayed stations (as read on the stakes, across broken
// chains), metres; elevations, distances and height differences are metres.
// A file's stations must increase strictly from one station to the next: the
// files name every station once, so a long broken chain's repeated range
// cannot be held in one file.
//
// Reading. The first line that is not blank is a header, and skipped, when
// its first field is not a number (a header some tools write); blank lines are
// skipped everywhere. Fields are separated by tabs, spaces or a comma (white
// space around the comma allowed; a comma at the end of a line is ignored).
// Every number must be wholly a finite decimal number with a dot. A file that
// breaks a rule is refused whole, with the reason "FILE: line N: why", and the
// caller's data left as it was.
//
// Writing. Numbers are written "%.3f" (millimetres), fields separated by one
// space, lines ended by LF, no header: data given in whole millimetres read
// back identical, and a file read and written again is byte-identical. The
// file is replaced atomically (writeTextFileAtomically).

#include <optional>
#include <string>
#include <vector>

namespace trazmark {

/// One station of a longitudinal ground line.
struct GroundProfilePoint {
  double station = 0;    ///< displayed station, metres
  double elevation = 0;  ///< ground elevation on the centre line, metres
  bool operator==(const GroundProfilePoint&) const = default;
};

/// The longitudinal ground line (.dmx): stations in strictly increasing order.
struct SurveyedGroundProfile {
  std::vector<GroundProfilePoint> points;

  /// The ground elevation at a displayed station: linear between the two
  /// stations around it, the station's own at a station; none before the
  /// first station or after the last (never extrapolated) or when empty.
  std::optional<double> elevationAt(double station) const;
  bool operator==(const SurveyedGroundProfile&) const = default;
};

/// One step of a cross-section ground line, outward from the point before it.
struct GroundSectionStep {
  double distance = 0;  ///< horizontal distance from the point before (metres, >= 0)
  double rise = 0;      ///< height difference from the point before (metres, up positive)
  bool operator==(const GroundSectionStep&) const = default;
};

/// The surveyed ground across the road at one station; a side without steps
/// has no ground.
struct SurveyedGroundSection {
  double station = 0;  ///< displayed station, metres
  std::vector<GroundSectionStep> left;   ///< from the centre stake outward to the left
  std::vector<GroundSectionStep> right;  ///< from the centre stake outward to the right
  bool operator==(const SurveyedGroundSection&) const = default;
};

/// The cross-section ground lines (.hdm): stations in strictly increasing order.
struct SurveyedGroundSections {
  std::vector<SurveyedGroundSection> sections;

  /// The section whose station lies within `tolerance` metres of `station`
  /// (the nearest when two do), or null. A binary search.
  const SurveyedGroundSection* find(double station, double tolerance) const;
  bool operator==(const SurveyedGroundSections&) const = default;
};

/// Reads the text of a .dmx file; `name` (the file's path) begins every error.
/// At least one station is needed. False with a one-line `error`, `profile`
/// untouched.
bool parseGroundProfileText(const std::string& text, const std::string& name,
                            SurveyedGroundProfile& profile, std::string& error);
/// Reads a .dmx file (UTF-8 or code page 936, as every text file).
bool readGroundProfileFile(const std::string& path, SurveyedGroundProfile& profile,
                           std::string& error);
/// The text of a .dmx file. False with a one-line `error` (no text) for a
/// number that is not finite or stations that do not increase as written.
bool groundProfileText(const SurveyedGroundProfile& profile, std::string& text,
                       std::string& error);
/// Writes a .dmx file; false with "PATH: why" when the data or the write fails.
bool writeGroundProfileFile(const std::string& path, const SurveyedGroundProfile& profile,
                            std::string& error);

/// Reads the text of a .hdm file (see the top of this header); at least one
/// station is needed. A side's line is a count N and then exactly N pairs
/// "DISTANCE RISE", distances not negative. False with a one-line `error`,
/// `sections` untouched.
bool parseGroundSectionsText(const std::string& text, const std::string& name,
                             SurveyedGroundSections& sections, std::string& error);
/// Reads a .hdm file.
bool readGroundSectionsFile(const std::string& path, SurveyedGroundSections& sections,
                            std::string& error);
/// The text of a .hdm file: per station its line, the left line and the right
/// line, a blank line between stations. False with a one-line `error` for a
/// number that is not finite, a negative distance or stations that do not
/// increase as written.
bool groundSectionsText(const SurveyedGroundSections& sections, std::string& text,
                        std::string& error);
/// Writes a .hdm file; false with "PATH: why" when the data or the write fails.
bool writeGroundSectionsFile(const std::string& path, const SurveyedGroundSections& sections,
                             std::string& error);

}  // namespace trazmark
