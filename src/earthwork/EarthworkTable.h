#pragma once
// The earthwork of a road along its stations: cut and fill areas, the volumes
// between consecutive stations, their running sums and the mass ordinate.
//
// Stations are displayed stations; distances are continuous mileage, so a
// broken chain adds no length (a long chain's repeated stations are listed
// twice, a short chain's skipped ones not at all). The stations of the table
// are the first station, every displayed station on a whole multiple of the
// interval, each broken chain's place, the last station, and the places where
// the centre passes between cut and fill (see below), in road order.
//
// Volumes between two rows, m³, with L the continuous distance:
//  - average end area: V = L·(A1 + A2)/2;
//  - prismoidal: V = L·(A1 + 4·Am + A2)/6 with Am the area of a section
//    computed at the middle (never the mean of the ends).
// Cut and fill are kept apart. The centre passes between cut and fill where
// the grade line less the pavement depth crosses the ground at the centre;
// that place is found to the micrometre and inserted as a station of its own,
// so that no volume is averaged across the change.
// Mass ordinate, m³: cumulative cut × bulking − cumulative fill; it rises
// where the road is in cut and falls where it is in fill.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "earthwork/EarthworkSection.h"

namespace trazmark {

/// What a table is computed with.
struct EarthworkOptions {
  double interval = 20;                ///< metres of displayed station between regular stations (> 0)
  std::optional<double> from;          ///< first displayed station; empty: the road's start
  std::optional<double> to;            ///< last displayed station; empty: the road's end
  bool prismoidal = false;             ///< volumes by the prismoidal formula with a middle section
  double bulking = 1.0;                ///< cut factor in the mass ordinate (> 0)
  double pavementDepth = 0;            ///< formation below the finished surface, metres (>= 0)
  /// False: a station with a side that has no areas (see EarthworkSideStatus)
  /// fails the table, naming the station and the side. True: that side counts
  /// no area and the row says so in `complete` and `note`.
  bool allowIncomplete = false;
};

/// One station of the table. Volumes, distance and the running sums are
/// those from the row before to this one (0 on the first row).
struct EarthworkRow {
  double station = 0;     ///< displayed station
  double mileage = 0;     ///< continuous mileage
  bool transition = false;  ///< inserted where the centre passes between cut and fill
  double cutArea = 0;     ///< m²
  double fillArea = 0;    ///< m²
  double distance = 0;    ///< continuous metres from the row before
  double cutVolume = 0;   ///< m³ from the row before (not bulked)
  double fillVolume = 0;  ///< m³
  double cumCut = 0;      ///< m³ (not bulked)
  double cumFill = 0;     ///< m³
  double mass = 0;        ///< cumCut × bulking − cumFill, m³
  bool complete = true;   ///< both sides had areas (always true unless allowIncomplete)
  std::string note;       ///< why not complete: "left: no ground; right: ok"
};

/// The sums of a table.
struct EarthworkTotals {
  double length = 0;     ///< continuous metres from the first station to the last
  double cut = 0;        ///< m³, not bulked
  double fill = 0;       ///< m³
  double bulkedCut = 0;  ///< cut × bulking, m³
  double mass = 0;       ///< bulkedCut − fill, m³ (positive: cut to spare)
};

struct EarthworkTable {
  std::vector<EarthworkRow> rows;
  EarthworkTotals totals;
  double bulking = 1.0;
};

/// Reports the share done (0 to 1); returning false cancels.
using EarthworkProgress = std::function<bool(double fraction)>;

/// Computes the table of `road` with `options`.
/// @return false with a one-line `error` and `table` left empty for: an
///   interval that is not positive or not a number (or so small that the table
///   would pass kMaxEarthworkStations), a bulking factor that is not positive,
///   a negative pavement depth, a from or to station not on the road or from
///   after to, a section that cannot be made (earthworkSectionAt), a side
///   without areas unless allowIncomplete ("station 1240.000 left: no fill
///   slope holds the station"), or "cancelled".
bool earthworkTable(const RoadDataSet& road, const CRoadDesign& design,
                    const CRoadProfile& profile, const CRoadGround& ground,
                    const EarthworkOptions& options, EarthworkTable& table, std::string& error,
                    const EarthworkProgress& progress = {});

/// The most stations a table holds, transitions included.
constexpr std::size_t kMaxEarthworkStations = 2000000;

/// The table as text: CSV (`csv` true) with the header line
/// "STATION,CUT_AREA,FILL_AREA,DISTANCE,CUT_VOLUME,FILL_VOLUME,CUM_CUT,CUM_FILL,MASS",
/// one line per row, then "TOTAL" lines; or the same columns aligned for
/// reading. Stations and distances "%.3f", areas and volumes "%.2f".
std::string earthworkTableText(const EarthworkTable& table, bool csv);

}  // namespace trazmark
