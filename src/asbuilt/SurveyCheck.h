#pragma once
// What was built, checked against the design: each surveyed point's station
// and offset on the road, the design elevation on the finished surface (or a
// side slope) at that station and offset, and the nearest designed edge.
//
// The points file holds one point a line, "name,x,y,z" (north, east,
// elevation) or "name,code,e,n,z" (the field crews' order); separators, blank
// lines and '#' comments as in the survey point files of the terrain. The
// file is read whole before any point is checked: one bad line refuses it.
//
// A point's code says what the crew shot. A code naming a designed edge (a
// component's name as the section gives it, "centre", "center" or "中线", a
// slope's step by its name or as "slope:<slope>:<step>", "catch" or "catch
// point"; letters in any case) is an edge shot: it is measured against that
// edge, on the point's side when both sides have one of the name. Any other
// code marks a surface point (a level shot mid-lane): its nearest edge is
// shown but only its elevation is judged. A point without a code is measured
// against the nearest edge.

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "alignment/RoadDesign.h"
#include "records/RoadRecords.h"

namespace trazmark {

class CRoadGround;

/// One point as the surveyor measured it.
struct SurveyedPoint {
  std::string name;
  std::string code;  ///< empty when the format has none
  double x = 0;      ///< north, metres
  double y = 0;      ///< east, metres
  double z = 0;      ///< elevation, metres
  std::size_t line = 0;  ///< 1-based line of the points file
};

/// The column order of a points file.
enum class SurveyedPointFormat { kNameXYZ, kNameCodeENZ };

/// "name,x,y,z" or "name,code,e,n,z" (case and spaces ignored).
bool parseSurveyedPointFormat(const std::string& name, SurveyedPointFormat& format);

/// Reads every point of `text`.
/// @return false with one line naming the line ("line N: why"), `points`
///   unchanged; an empty file (no point) is refused too
bool readSurveyedPoints(std::string_view text, SurveyedPointFormat format,
                        std::vector<SurveyedPoint>& points, std::string& error);

/// How far a point may lie from the design and still be accepted, metres.
struct CheckTolerances {
  double vertical = 0.02;
  double horizontal = 0.05;
};

/// What a checked point is.
enum class CheckFlag {
  kWithin,   ///< every difference that could be computed is within tolerance
  kBeyond,   ///< ΔZ or ΔO beyond its tolerance (exactly at it is within)
  kOffRoad,  ///< before the start or beyond the end of the road
  kInvalid,  ///< no station at all (see `note`)
};

/// One surveyed point against the design.
struct CheckedPoint {
  SurveyedPoint point;
  CheckFlag flag = CheckFlag::kInvalid;
  /// Where the point lies: the displayed station with its branch (-1 the only
  /// place, 0 before a long chain's break, 1 after), the continuous mileage,
  /// the offset (right of travel positive); off the road the nearest end and
  /// `location.distance` to it.
  StationLocation location;
  /// The design elevation at the station and offset; none when the road has
  /// no grade line, or the offset lies outside the section (beyond the outer
  /// component and, with ground, beyond the catch point).
  std::optional<double> designZ;
  std::optional<double> dz;  ///< surveyed − design
  /// The edge the point's code names, else the nearest designed edge:
  /// "centre", a component's outer edge by its name, and on a side slope its
  /// steps ("slope:<slope>:<step>") and the "catch point"; empty off the road.
  std::string edge;
  std::optional<double> dOffset;  ///< offset − the edge's offset
  /// Whether ΔO is held to the horizontal tolerance: false for a surface
  /// point and for an edge shot whose edge the section lacks here (then
  /// `edge` is the nearest one and `note` says why).
  bool offsetJudged = true;
  bool beyondZ = false;
  bool beyondOffset = false;  ///< never when ΔO is not judged
  /// Why a figure is missing or not judged, "; " between two reasons ("no
  /// grade line", "outside the section", "outside the section (beyond the
  /// catch point)", "outside the section (right: no fill slope holds the
  /// station)", the inverse query's error; "surface point", "no edge 'CODE'
  /// here").
  std::string note;
};

/// The figures of a whole check.
struct CheckSummary {
  std::size_t checked = 0;
  std::size_t within = 0;
  std::size_t beyond = 0;
  std::size_t offRoad = 0;
  std::size_t invalid = 0;
  std::size_t dzCount = 0;  ///< points with a ΔZ
  double meanDz = 0, rmsDz = 0, maxDz = 0;  ///< maxDz: the largest |ΔZ| with its sign
  std::size_t dOffsetCount = 0;  ///< points whose ΔO is judged (surface points are not)
  double meanDOffset = 0, rmsDOffset = 0, maxDOffset = 0;
};

/// The road prepared once for many points: the design, the grade line, the
/// section's change points and slopes, the ground when there is one. It keeps
/// copies of the road and the design (and shares the ground), so the caller's
/// may change or go; `check` is const and may run on a worker thread.
class CSurveyCheck {
 public:
  CSurveyCheck();
  ~CSurveyCheck();
  CSurveyCheck(const CSurveyCheck&) = delete;
  CSurveyCheck& operator=(const CSurveyCheck&) = delete;

  /// @param ground the road's ground (may be null): with it the design runs
  ///   on over the side slopes to the catch points
  /// @param pavementDepth as the earthwork reads it
  /// @return false with a one-line `error` (the check as it was) when the
  ///   road has no computed alignment, its broken chains, grade points,
  ///   superelevation, widening or slope ranges cannot be placed, or the
  ///   pavement depth is negative
  bool prepare(const RoadDataSet& road, const CRoadDesign& design,
               std::shared_ptr<const CRoadGround> ground, double pavementDepth,
               std::string& error);

  /// True when the road has a grade line (ΔZ can be computed).
  bool hasGradeLine() const;

  /// One point, measured against the edge its code names (see the top of
  /// this file). Within the horizontal tolerance of a kerb's face (a vertical
  /// step of the design) the point is compared with the kerb's foot or its
  /// top, each surface continued to the point, whichever is nearer its
  /// elevation: crews shoot both at one offset.
  CheckedPoint check(const SurveyedPoint& point, const CheckTolerances& tolerances) const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

/// Checks every point in order.
/// @param progress called now and then with the share done; false cancels
/// @return false only when cancelled (`rows` then empty)
bool checkSurveyedPoints(const CSurveyCheck& check, const std::vector<SurveyedPoint>& points,
                         const CheckTolerances& tolerances, std::vector<CheckedPoint>& rows,
                         const std::function<bool(double)>& progress = {});

CheckSummary summarizeCheck(const std::vector<CheckedPoint>& rows);

/// The flag's word in tables: "ok", "BEYOND", "OFF ROAD", "INVALID".
const char* checkFlagName(CheckFlag flag);

/// The station column of a row: the displayed station ("%.4f"), with
/// " (before)" or " (after)" on the two places of a station a long chain
/// repeats; "outside" off the road; "-" for an invalid row.
std::string checkStationText(const CheckedPoint& row);
/// The offset column: metres right of travel ("%.4f"); off the road the
/// distance to the nearer end of the road (as `locate` prints it); "-".
std::string checkOffsetText(const CheckedPoint& row);

/// The table "NAME,STATION,OFFSET,DESIGN_Z,DZ,EDGE,DOFFSET,FLAG,NOTE" (the
/// points on the road in order, then those off it) and the summary, as text
/// columns or CSV ("SUMMARY,KEY,VALUE" lines); figures "%.4f" metres, a
/// missing one "-".
std::string checkReportText(const std::vector<CheckedPoint>& rows, const CheckSummary& summary,
                            bool csv);

}  // namespace trazmark
