#pragma once
// Reads a terrain model from a LandXML 1.2 surface.
//
// What the file says and what the model holds:
//  - Surfaces/Surface: the one named, or the first when no name is asked.
//  - Definition/Pnts/P id="N": "north east elevation"; ids are positive
//    integers unique in the surface, not necessarily from 1 nor contiguous.
//  - Definition/Faces/F: three point ids (a grid's four make two triangles);
//    a negative id (a hidden edge to some exporters) is read by its absolute
//    value; a face with i="1" is invisible: a hole or outside the boundary,
//    not ground. The faces are kept as they are, never re-triangulated.
//  - A surface without faces is triangulated from its points:
//    Definition/Pnts, SourceData/DataPoints/PntList3D (a flat list of north
//    east elevation triples), with SourceData/Breaklines/Breakline/PntList3D
//    as constraints (see TerrainTriangulation.h).
//  - Units/Metric or Units/Imperial linearUnit scales coordinates and
//    elevations to metres, as the alignment import reads it.
//  - Anything else (other surfaces, boundaries, watersheds, features,
//    alignments, 2D breaklines without elevations) is skipped, never refused.
//
// A refused file yields nothing; the error names the element and its line
// ("F at line 120: point 17 is not among the surface's points").

#include <functional>
#include <string>

#include "terrain/TerrainModel.h"

namespace trazmark {

/// Reads the surface named `surfaceName` (the first when empty) of the
/// LandXML text `xml` (UTF-8) into `model`.
/// @param maxEdge triangles with a plan edge longer than this (metres) are
///   dropped; 0 or less keeps them all
/// @param progress called with the share done (0 to 1); returning false stops
///   with error "cancelled"
/// @return false with a one-line `error`, `model` unchanged
bool readLandXmlSurface(const std::string& xml, const std::string& surfaceName, double maxEdge,
                        CTerrainModel& model, std::string& error,
                        const std::function<bool(double)>& progress = {});

}  // namespace trazmark
