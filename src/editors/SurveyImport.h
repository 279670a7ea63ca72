#pragma once
// Survey point files converted into the intersection-point text file (RP) on
// Open. The RP file beside the survey file holds
//   ROADNAME:<RP file name>,
//   CROSSPT :<name>,<X>,<Y>,<height 0>,<empty mileage text>,
//            <entry spiral>,<radius>,<exit spiral>,<mileage>,
// one CROSSPT line per point ("%.4f" numbers, CR LF line ends).
//
// IP file: a three-line header, then one point a line, fields separated by
// commas: name, X (north), Y (east), entry spiral length, radius, exit spiral
// length, mileage.
// XY file: no header, fields separated by single spaces: the first line is
// name, X, Y, start mileage; every further line name, X, Y, radius, entry
// spiral length, exit spiral length.
// In both, lines end at CR LF (or at LF once no CR LF is left), text after the
// last line end is ignored and lines of 2 characters or fewer are skipped.

#include <string>

namespace trazmark {

/// The RP path beside a survey file: its last two characters replaced by
/// "RP" (road.IP becomes road.RP); empty when the path is shorter than that.
std::string crossPointPathForSurveyFile(const std::string& surveyPath);

/// The RP text of an IP survey text, with `roadName` on the ROADNAME line.
/// @return false, leaving `rpText` as it was, when it holds fewer than three points.
bool convertIpSurveyText(const std::string& ipText, const std::string& roadName,
                         std::string& rpText);

/// The RP text of an XY survey text; false for fewer than three points.
bool convertXySurveyText(const std::string& xyText, const std::string& roadName,
                         std::string& rpText);

/// Converts the IP file at `ipPath` into the RP file beside it, whose name
/// (folder cut off) is the road name, and gives that file's path.
/// @return false, writing nothing, when the file cannot be read or holds
///   fewer than three points, and false when the RP file cannot be written.
bool convertIpSurveyFile(const std::string& ipPath, std::string& rpPath);

/// As convertIpSurveyFile, for an XY file.
bool convertXySurveyFile(const std::string& xyPath, std::string& rpPath);

}  // namespace trazmark
