#pragma once
// Survey point files (IP, XY) become intersection-point files on Open.

#include <string>

namespace trazmark {

/// Converts the survey file `input` of type `typeCode` ("IP" or "XY") into the
/// intersection-point file beside it (road.IP becomes road.RP) and gives its
/// path in `output`. False when it cannot be read or holds too few points;
/// nothing is written then.
bool convertSurveyFileToCrossPoints(const std::string& typeCode, const std::string& input,
                                    std::string& output);

/// The intersection-point file that converting the survey file `input` would
/// change: the RP file beside it when it exists and holds something else than
/// the conversion gives; empty otherwise (also for other type codes).
std::string crossPointFileChangedBySurvey(const std::string& typeCode, const std::string& input);

}  // namespace trazmark
