#pragma once
// Writes a road's computed alignment as LandXML 1.2: the element chain as
// CoordGeom (every Line, Curve and Spiral with its stations and all of its
// points), the broken chains as StaEquation, the grade points as a ProfAlign.
// Metres and decimal degrees; directions clockwise from north; profile
// stations are the alignment's internal (continuous) stations, as the import
// reads them.

#include <string>

#include "alignment/RoadDesign.h"
#include "records/RoadRecords.h"

namespace trazmark {

/// The LandXML text of `design` (computed, its brokenChains filled) with the
/// grade points `gradePoints` (displayed stations, as the road holds them;
/// may be empty). `name` names the alignment (ANSI code page). On failure
/// returns false with a one-line `error`: the design is not computed, or a
/// grade point's station names no place on the road.
bool exportLandXml(const CRoadDesign& design, const RecordList<CVerticalCurveCal>& gradePoints,
                   const std::string& name, std::string& xml, std::string& error);

/// exportLandXml written to `path` (the previous file stays until the whole
/// text is written).
bool exportLandXmlFile(const CRoadDesign& design,
                       const RecordList<CVerticalCurveCal>& gradePoints, const std::string& name,
                       const std::string& path, std::string& error);

}  // namespace trazmark
