#pragma once
// The designed cross section of a road against the existing ground at one
// station: the formation under the pavement, the side slopes run out to the
// ground, the catch points and the cut and fill areas.
//
// Conventions: x north, y east, elevations up, metres; offsets are metres
// right of travel (left negative); stations are displayed stations (read on
// the drawings, see RoadProfile.h for broken chains).
//
// The designed line. The finished surface is the section of sectionAtStation
// (components with superelevation, widening and kerbs). The formation, the
// surface the earthwork reaches, lies `pavementDepth` below the finished
// surface across the paved components (isFormationComponent), and on the
// finished surface across the others (verges, earth shoulders): where a paved
// component meets an unpaved one the line steps vertically at their common
// edge. The side slopes hang from the finished surface at the outer edge of
// the last component (the hinge); when that component is paved the line
// steps up from the formation to the hinge there.
//
// The side slopes. On each side, when the hinge lies below the ground the cut
// slope of that side whose station range holds the station applies, else the
// fill slope (a hinge exactly on the ground counts as fill: the slope falls
// from it, and meets the ground at once on level ground). Its steps run
// outward in order: a slope surface of height h at 1:N runs h·N and rises h in
// cut, falls h in fill; a platform runs its width at its cross slope (percent,
// negative falling outward), so a ditch in cut is a platform falling outward,
// a bottom and the next slope surface. The first step that reaches the ground
// ends where it meets it: the catch point. When the steps end before the
// ground, the last slope surface of the slope (not a platform) continues at
// its ratio, rising in cut and falling in fill, for at most kMaxSlopeExtension
// metres across; if it has not met the ground by then the side does not meet
// the ground.
//
// Areas (m²) lie between the designed line and the ground line from the
// centre line out to the catch point of each side: cut where the ground lies
// above the design, fill where below, split exactly where they cross. A side
// has areas only when its status is Ok; every other status says why, with a
// one-line message, and its areas are left at zero but must not be read as
// such (hasAreas()).

#include <optional>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "crosssection/RoadProfile.h"
#include "crosssection/SectionAtStation.h"
#include "records/RoadRecords.h"
#include "terrain/RoadGround.h"

namespace trazmark {

/// How far a last slope surface is continued beyond the slope's steps to meet
/// the ground, metres across (horizontal).
constexpr double kMaxSlopeExtension = 200;

/// True for a component the pavement covers, so the formation lies a pavement
/// depth below it: every component except verges and slopes, that is except
/// one whose name holds "土路肩" (earth shoulder), "边坡" (slope), or, in any
/// case, "verge" or "slope". Lanes, hard shoulders, medians, kerb strips and
/// footways are paved.
bool isFormationComponent(const std::string& componentName);

/// What became of one side of a section.
enum class EarthworkSideStatus {
  Ok,               ///< catch point found, ground all the way: areas valid
  NoSlope,          ///< no cut (or fill) slope of this side holds the station, or it has no steps
  NoGround,         ///< no ground at the hinge, the ground ends before the slope meets it, or the slope meets it inside a gap of the ground
  NotMeetingGround, ///< the last slope surface runs kMaxSlopeExtension past the steps without meeting the ground
  GroundGap,        ///< the catch point exists, but the ground has a gap between the centre and it
};

/// A short English name of a status: "ok", "no slope", "no ground",
/// "does not meet the ground", "ground gap".
const char* earthworkSideStatusName(EarthworkSideStatus status);

/// One vertex of a designed line: offset (metres right of the centre line)
/// and elevation (metres). Two consecutive vertices at one offset make a
/// vertical step.
struct DesignVertex {
  double offset = 0;
  double elevation = 0;
};

/// Where a side slope meets the ground.
struct CatchPoint {
  double offset = 0;     ///< metres right of the centre line (left negative)
  double elevation = 0;  ///< metres
  double x = 0;          ///< metres north
  double y = 0;          ///< metres east
};

/// One side of an earthwork section.
struct EarthworkSide {
  EarthworkSideStatus status = EarthworkSideStatus::NoGround;
  std::string message;       ///< one line saying why when not Ok; empty when Ok
  bool cut = false;          ///< the cut slope applies (hinge below the ground), else the fill slope
  std::string slopeName;     ///< the slope used; empty when none
  DesignVertex hinge;        ///< outer edge of the last component, finished surface
  std::optional<CatchPoint> catchPoint;  ///< when Ok or GroundGap
  bool extended = false;     ///< the catch point lies on the extension of the last slope surface
  double cutArea = 0;        ///< m², valid only when hasAreas()
  double fillArea = 0;       ///< m², valid only when hasAreas()
  bool hasAreas() const { return status == EarthworkSideStatus::Ok; }
};

/// The designed section against the ground at one station.
struct EarthworkSection {
  /// The finished surface as sectionAtStation gives it (its edges include
  /// the steps of every slope whose range holds the station, cut and fill).
  SectionAtStation finished;
  double pavementDepth = 0;  ///< metres
  /// The formation from the outer edge of the left components to that of the
  /// right ones, left to right (offsets never decrease).
  std::vector<DesignVertex> formation;
  /// The whole designed line, left to right: from the left catch point (or,
  /// on a side without one, the hinge) over the slope, the formation and the
  /// other slope to the right catch point (or hinge). Offsets never decrease.
  std::vector<DesignVertex> design;
  /// The ground across the road as it was read (offsets as vertex distances).
  GroundLine ground;
  /// The ground at the centre, if any.
  std::optional<double> groundCentre;
  EarthworkSide left;
  EarthworkSide right;

  /// Both sides have areas.
  bool hasAreas() const { return left.hasAreas() && right.hasAreas(); }
  /// Cut and fill of both sides, m² (valid only when hasAreas()).
  double cutArea() const { return left.cutArea + right.cutArea; }
  double fillArea() const { return left.fillArea + right.fillArea; }
};

/// The earthwork section of `road` at a displayed station (`side` as in
/// pointAtStation: 1 after a long chain's break, 0 before, -1 the default).
/// @param pavementDepth formation below the finished surface across the
///   paved components, metres (0 or more)
/// @return false with a one-line `error` when the section itself cannot be
///   made (station not on the road, no elevation on the grade line, a road
///   without components, a pavement depth that is negative or not a number,
///   slopes or change points that cannot be placed). A side that has no slope,
///   no ground or no catch point is not an error: it is reported in its
///   EarthworkSide.
bool earthworkSectionAt(const RoadDataSet& road, const CRoadDesign& design,
                        const CRoadProfile& profile, const CRoadGround& ground,
                        double pavementDepth, double displayedStation, int side,
                        EarthworkSection& section, std::string& error);

/// One side's slope at a station run out to the ground as earthworkSectionAt
/// runs it, for a caller that needs that side alone (the as-built check): the
/// ground across is read from the hinge outward only as far as needed, first
/// to `reach` metres (and a margin), then as far as the slope's steps, then
/// their extension. A gap of the ground between the centre and the hinge is
/// not looked for (a side earthworkSectionAt calls GroundGap is Ok here).
/// @param layout the road's section layout (which slopes hold the station)
/// @param branch as pointAtStation's side
/// @param side 0 left, 1 right
/// @param hinge the finished surface at the outer edge of the side's last
///   component (offset signed, metres right of the centre line)
/// @param out the side as earthworkSectionAt reports it (areas left at zero)
/// @param line the designed line from the hinge out to the catch point, in
///   offset order outward (offsets signed); the hinge alone without one
/// @return false with a one-line `error` when the station is not on the
///   alignment or the catch point cannot be placed
bool earthworkSlopeAt(const RoadDataSet& road, const CRoadDesign& design,
                      const CSectionLayout& layout, const CRoadGround& ground,
                      double displayedStation, int branch, double continuousMileage, int side,
                      const DesignVertex& hinge, double reach, EarthworkSide& out,
                      std::vector<DesignVertex>& line, std::string& error);

/// The cut (positive) and fill (negative sum, returned positive) areas between
/// a designed line and one piece of ground from offset a to b (a < b), m²:
/// the integral of ground − design split at every crossing. Both lines are
/// polylines in offset order; a vertical step of the design counts no area.
/// Outside the design's or the ground's range nothing counts.
struct CutFillArea {
  double cut = 0;
  double fill = 0;
};
CutFillArea cutFillBetween(const std::vector<DesignVertex>& design,
                           const std::vector<GroundVertex>& ground, double a, double b);

}  // namespace trazmark
