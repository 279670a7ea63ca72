#pragma once
// Superelevation and widening evaluated between their change points, and the
// cross section of the road at a station.

#include <optional>
#include <utility>
#include <string>
#include <vector>

#include "alignment/ChainageTable.h"
#include "alignment/RoadDesign.h"
#include "crosssection/RoadProfile.h"
#include "records/RoadRecords.h"

namespace trazmark {

/// How far (0 to 1) a value has moved from v0 to v1 at k = (m − m0)/(m1 − m0)
/// by a change point's gradient mode: 0 linear k, 1 cubic parabola 3k² − 2k³,
/// 2 quartic parabola 4k³ − 3k⁴. Empty for any other mode.
std::optional<double> gradientFactor(int mode, double k);

/// One change point on continuous mileage.
struct ChangePoint {
  double mileage = 0;  ///< continuous, metres
  double value = 0;    ///< cross slope (percent) or width (metres) from here on
  int mode = 0;        ///< gradient mode towards this point
};

/// The change points of a superelevation (`widening` false: Slope) or widening
/// (Width) item, placed along the road (see RoadProfile.h). Fails with a
/// one-line `error` for an unknown gradient mode, a value that is not a
/// number, or change points that are not in mileage order.
bool placeChangePoints(const Road_Super_Item& item, bool widening, const CChainageTable& chains,
                       std::vector<ChangePoint>& points, std::string& error);

/// A component's value at continuous mileage `m`: the standard value before
/// the first change point, the last value from the last one on, and between
/// two change points m0 < m1 the change from v0 to v1 by the mode of the point
/// at m1. Change points at one mileage make a step.
double valueAtMileage(const std::vector<ChangePoint>& points, double standard, double m);

/// The rules of a road's cross section placed along the road once: each
/// superelevation and widening item's change points on continuous mileage
/// with the component it applies to (see sectionAtStation), and each side
/// slope's range. sectionAtStation prepares one per call; a caller that asks
/// for the section at many stations prepares it once.
class CSectionLayout {
 public:
  /// @return false with a one-line `error` for an item that names no
  ///   component, or change points or a slope's range that cannot be placed
  bool prepare(const RoadDataSet& road, const CChainageTable& chains, std::string& error);
  /// The widths (metres) and cross slopes (percent) of one side's components
  /// (`side` 0 left, 1 right) at continuous mileage m, from the centre
  /// outward, with widening and superelevation applied.
  void componentValues(int side, double m, std::vector<double>& width,
                       std::vector<double>& slope) const;
  /// True when the range of side slope `index` (of the road's slopes) holds
  /// continuous mileage m (within 1e-6 m).
  bool slopeHolds(std::size_t index, double m) const;

  /// One item placed: the component it applies to and its change points.
  struct AppliedItem {
    std::size_t component = 0;
    bool widening = false;
    std::vector<ChangePoint> points;
  };

 private:
  std::vector<AppliedItem> items_[2];  // per side, in the order they apply
  std::vector<double> width_[2], slope_[2];  // the standard values per side
  std::vector<std::pair<double, double>> slopeRanges_;  // continuous, per road slope
};

/// One outer edge of the cross section: a component, or a step of a side slope.
struct SectionEdge {
  char side = 'R';       ///< 'L' or 'R'
  std::string name;      ///< component name, or "slope:<slope name>:<step name>"
  double width = 0;      ///< horizontal width, metres
  double slope = 0;      ///< cross slope, percent (rise = width·slope/100)
  double offset = 0;     ///< of the outer edge, metres right of the centre line (left negative)
  double elevation = 0;  ///< of the outer edge, metres
  double x = 0;          ///< of the outer edge, metres north
  double y = 0;          ///< metres east
};

/// The cross section at one station.
struct SectionAtStation {
  double displayedStation = 0;
  double continuousMileage = 0;
  double centreElevation = 0;
  double centreX = 0;
  double centreY = 0;
  /// Left components from the centre outward, then the steps of the left side
  /// slopes, then the same on the right.
  std::vector<SectionEdge> edges;
};

/// The cross section of `road` at a displayed station (`side` as in
/// pointAtStation): for each component of the standard section its width
/// and cross slope with widening and superelevation applied, and its outer
/// edge, which rises from the inner one by the kerb height and then by
/// width·slope/100; then the steps of the side slopes whose mileage range
/// holds the station, from the road edge outward (a slope surface of height
/// h at 1:N runs h·N and rises h in cut, falls h in fill; a platform runs its
/// width at its cross slope). A superelevation or widening item applies to
/// the component at its side and index when that bears its name (or the name
/// up to a hyphen), otherwise to the first component of that name on its side.
/// Fails with a one-line `error` when the station is not on the road, an
/// item names no component, or change points or slope ranges cannot be used.
bool sectionAtStation(const RoadDataSet& road, const CRoadDesign& design,
                      const CRoadProfile& profile, double displayedStation, int side,
                      SectionAtStation& section, std::string& error);

}  // namespace trazmark
