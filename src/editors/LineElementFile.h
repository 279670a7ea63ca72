#pragma once
// The line-element method's files. The LE file holds the start point and the
// chain of line elements as the user typed them:
//   ROADNAME:<road name>,
//   MILEAGE :<start mileage "%.3f">,
//   POINTELEMENT :<Type>,<north>,<east>,<elevation>,<start mileage>,<Length>,<azimuth ddd.mmss>,
//   LINEELEMENT :<Type>,<Deviation>,<StartRadius>,<EndRadius>,<Length>,
// (one LINEELEMENT line per further element, every line ending in CR LF).
// convertLineElementFile reads it back and writes the element method's RE file,
// in which every spiral is framed by a short arc or a zero-length line: a
// spiral takes its start radius from the element before it and its end radius
// from the element after it. The road itself (engine, curve file, length) is
// computed from roadElementsFromLineElements, which frames only where a
// neighbour cannot hand a spiral its radius, so that the frames add neither
// length nor key points.

#include <string>

#include "records/RoadRecords.h"

namespace trazmark {

/// What the line-element editor hands to its files: the road name, the start
/// mileage and the list, whose first record is the start point (Type 1).
struct LineElementData {
  std::string roadName;
  double startMileage = 0;
  RecordList<Road_LineElement> elements;
};

/// The LE text of `data` (empty for an empty list). The start mileage is
/// written on the MILEAGE and POINTELEMENT lines, whatever the first record's
/// own Mileage holds.
std::string lineElementText(const LineElementData& data);

/// Writes the LE file: trims the path (an empty path fails), copies the start
/// mileage into the first record's Mileage and writes lineElementText.
/// @return false on an empty path or a file that cannot be written.
bool writeLineElementFile(const std::string& path, LineElementData& data);

/// Reads LE text into `data`: empties the list, then takes at most 1000 lines
/// (a line ends at a line feed or, once none is left, at a carriage return;
/// text after the last line end is ignored), skips lines of 7 characters or
/// fewer and lines of unknown keys. "ROADNAME:" sets the road name, "MILEAGE :"
/// or "MELIAGE :" the start mileage; "POINTELEMENT :" appends a start point
/// (radii and Deviation -1), "LINEELEMENT :" an element that carries the
/// point, elevation and mileage of the record before it, with Azimuth 0. A
/// field that is not a number, or is missing, reads as 0. The road name and
/// start mileage keep their values when the text has no line for them.
void parseLineElementText(const std::string& text, LineElementData& data);

/// parseLineElementText on the file at the trimmed `path`.
/// @return false, leaving `data` as it was, on an empty path or a file that
///   does not exist or cannot be read.
bool readLineElementFile(const std::string& path, LineElementData& data);

/// The RE path of an LE path: its last two characters replaced by "RE"
/// (empty when the path is shorter than that).
std::string elementPathForLineElementFile(const std::string& lePath);

/// The element text (RE format) of a line-element list: the ROADNAME and
/// MILEAGE lines, then per record: the start point and a zero-length line
/// with the start azimuth in decimal degrees; a line; an arc; a spiral framed
/// by arcs of length 0.00001 (or zero-length lines for an infinite radius);
/// and a closing zero-length line. Records of other types write nothing.
std::string elementTextFromLineElements(const LineElementData& data);

/// The element chain the line elements describe, in the element method's
/// records (Type 1 start point, 2 line, 3 arc, 4 spiral), for the engine and
/// the curve file. Unlike the RE text it frames nothing that needs no frame:
/// the start azimuth goes on the first straight (a line of length 0 carries it
/// when the road begins with a curve); a spiral whose neighbour already has
/// the radius it starts or ends with keeps that neighbour. Where the neighbour
/// does not (a spiral after a spiral, after a line with a finite start radius,
/// at the end of the road), a joint hands the radius over: a line of length 0
/// for an infinite radius, an arc of kJointArcLength otherwise. Two spirals
/// that meet at an infinite radius get a line of length 0 between them, so
/// that one curve ends and the next begins there. Straights in a row become
/// one line; arcs and spirals shorter than 1e-6 m are left out; records of
/// other types write nothing. A list that does not begin with a start point
/// (Type 1) gives an empty chain.
RecordList<Road_Element> roadElementsFromLineElements(const LineElementData& data);

/// Length of the arc that hands a spiral a finite radius where no arc of the
/// road does (metres): the shortest the curve file's six decimals hold.
inline constexpr double kJointArcLength = 1e-6;

/// Writes the RE curve file of roadElementsFromLineElements, every line at its
/// own length, so that the road is as long as its line elements.
/// @param length set to the length of the road written (metres), when given
/// @return false on an empty path or a file that cannot be written.
bool writeLineElementCurveFile(const std::string& path, const LineElementData& data,
                               double* length = nullptr);

/// Reads the LE file at `lePath` into `data` and writes the matching RE file
/// (elementPathForLineElementFile) with elementTextFromLineElements.
/// @return false when the LE file cannot be read or the RE file cannot be written.
bool convertLineElementFile(const std::string& lePath, LineElementData& data);

}  // namespace trazmark
