#pragma once
// The VR file through which the grade-point editor hands its grade line to the
// profile: one line per grade point,
//   Mileage,High,Radius,I1,I2,CurveL,InLength,OutLength,CalMode,
// each number "%.3f", the mode "%d", every line ending in CR LF.

#include <string>

#include "records/RoadRecords.h"

namespace trazmark {

/// The VR text of a grade-point list. I1, I2 and the OutLength of the points
/// are those of the editor's refresh (refreshGradePoints): the grades to the
/// neighbours in percent, 0 for the first and the last point.
std::string verticalCurveText(const RecordList<CVerticalCurveCal>& points);

/// Writes verticalCurveText(points) to `path` (created or replaced whole).
/// @return false when the file cannot be written.
bool writeVerticalCurveFile(const std::string& path, const RecordList<CVerticalCurveCal>& points);

/// Reads grade points from VR text: lines end at a line feed or, once no line
/// feed is left, at a carriage return; text after the last line end is
/// ignored and at most 1000 lines are taken. Each line is split at commas into
/// eight decimal numbers and one integer (a field that is not a number reads
/// as 0); blank lines are skipped. Every point is set up (setupVerticalCurve).
/// @return false, leaving `points` as they were, when no line is read.
bool parseVerticalCurveText(const std::string& text, RecordList<CVerticalCurveCal>& points);

/// parseVerticalCurveText on the file at `path`; false also when the file
/// does not exist or cannot be read.
bool readVerticalCurveFile(const std::string& path, RecordList<CVerticalCurveCal>& points);

}  // namespace trazmark
