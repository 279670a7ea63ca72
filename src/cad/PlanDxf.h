#pragma once
// The plan of a road as a DXF drawing for CAD: straights as lines, arcs as
// arcs, spirals as polylines that keep within half a millimetre of the curve,
// and each key point as a point with its name and station as texts, each kind
// on its own layer. DXF x is east (our Y) and y is north (our X).

#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "alignment/RoadElement.h"

namespace trazmark {

/// The layers of the plan drawing.
inline constexpr const char* kDxfLayerCentreLine = "CENTRE_LINE";
inline constexpr const char* kDxfLayerKeyPoints = "KEY_POINTS";
inline constexpr const char* kDxfLayerKeyPointNames = "KEY_POINT_NAMES";
inline constexpr const char* kDxfLayerStations = "KEY_POINT_STATIONS";

/// How far a spiral's polyline may stray from the curve, metres.
constexpr double kDxfChordTolerance = 0.0005;

/// The mileages of a polyline along an arc or spiral whose chords stay within
/// `tolerance` of the curve: the start, the end, and points between halved
/// until each chord's midpoint and quarter points lie within the tolerance
/// (chords of at most 20 m to begin with). An element that cannot be
/// evaluated gives its two ends.
std::vector<double> chordMileages(const CRoadElement& element, double tolerance);

/// A text (ANSI code page) as DXF 2000 holds it: ASCII as it is, every other
/// character as a \U+XXXX escape, which CAD programs show as the character.
std::string dxfText(const std::string& ansi);

/// A displayed station as engineers write it: "K1+250.000", "-K0+020.000".
std::string dxfStationText(double station);

/// Writes the plan of a loaded engine to `path` as DXF (AutoCAD 2000). The
/// file is written whole and then replaces `path` through a temporary file.
/// False with a one-line `error` when the engine holds no alignment or the
/// file cannot be written.
bool writePlanDxf(const CRoadDesign& design, const std::string& path, std::string& error);

}  // namespace trazmark
