#pragma once
// The road in three dimensions along its centre line: the grade line placed on
// the alignment's continuous mileage, and the stake list with its elevations.
//
// Stations the road's own records give (grade points, change points of
// superelevation and widening, slope ranges) are displayed stations, as the
// engineer reads them on the drawings. Across broken chains they are placed
// along the road in list order: each on the first place of its displayed
// station that is not before the station before it. So in a long chain's
// repeated range a station means the place before the chain, unless the one
// before it already lies after the chain; a station a short chain skips names
// no place and is an error.

#include <optional>
#include <string>
#include <vector>

#include "alignment/ChainageTable.h"
#include "alignment/RoadDesign.h"
#include "records/RoadRecords.h"
#include "vertical/VerticalCurveCal.h"

namespace trazmark {

/// Places displayed stations along the road in list order (see above).
/// @param what names an item in the error ("grade point")
/// @return false with a one-line `error` for a skipped station, a station
///   that lies before the one listed before it, NaN, or chains that cannot be
///   placed.
bool placeStationsInOrder(const CChainageTable& chains, const std::vector<double>& displayed,
                          const char* what, std::vector<double>& continuous, std::string& error);

/// The grade line on continuous mileage.
class CRoadProfile {
 public:
  /// Places the grade points on the alignment, refreshes their grades from
  /// their neighbours (as the grade-point editor shows them) and sets them up.
  /// Fails with a one-line `error` when there are no grade points, or they
  /// cannot be placed, or a point cannot be set up.
  bool build(const RecordList<CVerticalCurveCal>& gradePoints, const CRoadDesign& design,
             std::string& error);
  /// The same with the road's broken chains alone (a road without an alignment).
  bool build(const RecordList<CVerticalCurveCal>& gradePoints,
             const RecordList<Scisson_Data>& brokenChains, std::string& error);
  /// Elevation of the grade line at a continuous mileage.
  std::optional<double> elevationAt(double continuousMileage) const;
  /// The grade points on continuous mileage as the line runs through them
  /// (empty before a successful build).
  const RecordList<CVerticalCurveCal>& placedPoints() const;

 private:
  std::optional<CGradeLine> line_;
};

/// Puts the grade line's elevation at every record's place into its z.
/// Fails with a one-line `error` naming the first record without one.
bool fillStakeElevations(std::vector<RoadCoordinate>& records, const CRoadProfile& profile,
                         std::string& error);

}  // namespace trazmark
