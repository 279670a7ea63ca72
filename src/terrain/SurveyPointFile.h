#pragma once
// Survey point files and breakline files: plain text, one point a line.
//
// A line's fields are separated by commas (white space around a field is
// dropped) or, in a line without a comma, by runs of spaces and tabs. Blank
// lines and lines starting with '#' are not points. The formats:
//  - "x,y,z" (the default): north, east, elevation;
//  - "name,x,y,z": a point name, then north, east, elevation;
//  - "name,code,e,n,z": the field crews' format, east before north; the code
//    may be empty ("1,,365760.368,2936912.007,1118.852").
// Names and codes are not kept. Empty fields after the last one the format
// names are allowed (a trailing comma); anything more is refused, since a
// file of another format would otherwise be read with its columns shifted.
//
// A breakline file holds polylines of "x,y,z" lines (north, east, elevation;
// the same separators), one polyline after the other with one or more blank
// lines between them; a polyline has at least two points.
//
// Every coordinate is metres and must lie within ±kMaxTerrainCoordinate. A
// refused file reads nothing; the error is "line N: why".

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "terrain/TerrainModel.h"

namespace trazmark {

/// The column order of a survey point file.
enum class PointFormat { kXYZ, kNameXYZ, kNameCodeENZ };

/// The format named "x,y,z", "name,x,y,z" or "name,code,e,n,z" (case and
/// spaces ignored); false for any other name.
bool parsePointFormat(const std::string& name, PointFormat& format);

/// Reads the points of `text`. Duplicates are kept here; the triangulation
/// keeps the first of each place and counts the others.
/// @param progress called now and then with the share of the text read (0 to
///   1); returning false stops the reading with error "cancelled"
/// @return false with a one-line `error` ("line N: why"), `points` unchanged
bool readSurveyPoints(std::string_view text, PointFormat format, std::vector<TerrainPoint>& points,
                      std::string& error, const std::function<bool(double)>& progress = {});

/// Reads the polylines of a breakline file (see above).
/// @return false with a one-line `error` ("line N: why"), `lines` unchanged
bool readBreaklines(std::string_view text, std::vector<std::vector<TerrainPoint>>& lines,
                    std::string& error);

}  // namespace trazmark
