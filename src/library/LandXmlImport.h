#pragma once
// Reads a road alignment from a LandXML 1.2 file: the horizontal geometry
// (CoordGeom), the stationing (staStart, StaEquation) and the grade line
// (Profile/ProfAlign) of one Alignment become a road of the element method.
//
// What the file says and what the road holds:
//  - Line, Curve and Spiral (clothoid only) become elements in road order; a
//    line takes its azimuth from its own Start and End points, an arc and a
//    spiral continue from the element before them, so directions always come
//    from the coordinates whatever the file's direction convention. A spiral
//    takes its radii from its neighbours in the road, so the file's radii must
//    meet theirs; two spirals meeting at a finite radius (with no arc, or with
//    an arc of zero length, between them) get an arc of kShortestArc between
//    them, the shortest element the road file's curve file holds.
//  - staStart is the start mileage; each StaEquation a broken chain, staBack
//    its back station and staAhead its ahead station.
//  - PVI stations are the alignment's internal stations (continuous mileage),
//    the only stationing that names one place on a road with broken chains;
//    they become displayed stations in the grade points.
//  - Lengths, stations, coordinates and elevations are converted to metres.
//
// Anything the road cannot hold is refused with a message naming the element
// and its line in the file; a refused file imports nothing.

#include <string>

#include "records/RoadRecords.h"

namespace trazmark {

/// One alignment read from a LandXML file.
struct LandXmlAlignment {
  std::string name;      ///< the Alignment's name attribute (may be empty)
  double startMileage = 0;  ///< staStart, metres
  /// FlatcurveType 1 with elements, scissons (broken chains) and
  /// verticalCurves (grade points, when the alignment has a ProfAlign).
  RoadDataSet road;
};

/// Arc put between two spirals that meet at a finite radius (metres).
constexpr double kShortestArc = 0.0001;
/// Largest distance between a point of the file and the same point of the
/// chained road before the file is refused (metres).
constexpr double kLandXmlPointTolerance = 0.01;

/// Reads the alignment named `alignmentName` (the first one when empty) from
/// the LandXML text `xml` (UTF-8). On failure returns false with a one-line
/// `error` and leaves `out` unchanged.
bool importLandXml(const std::string& xml, const std::string& alignmentName,
                   LandXmlAlignment& out, std::string& error);

/// importLandXml on the file at `path`.
bool importLandXmlFile(const std::string& path, const std::string& alignmentName,
                       LandXmlAlignment& out, std::string& error);

}  // namespace trazmark
