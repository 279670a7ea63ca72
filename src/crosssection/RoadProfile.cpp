#include "crosssection/RoadProfile.h"

#include <cmath>

#include "platform/TextFields.h"

namespace trazmark {

bool placeStationsInOrder(const CChainageTable& chains, const std::vector<double>& displayed,
                          const char* what, std::vector<double>& continuous, std::string& error) {
  continuous.clear();
  if (!chains.valid()) {
    error = chains.error();
    return false;
  }
  double previous = -HUGE_VAL;
  for (std::size_t i = 0; i < displayed.size(); ++i) {
    const double u = displayed[i];
    const std::string which = std::string(what) + " " + std::to_string(i + 1) + " (station " +
                              formatFixed(u, 3) + ")";
    if (!std::isfinite(u)) {
      error = std::string(what) + " " + std::to_string(i + 1) + ": the station is not a number";
      return false;
    }
    const std::optional<double> first = chains.continuousFromDisplayed(u, false);
    if (!first) {
      error = which + " lies in the stations a short broken chain skips";
      return false;
    }
    double place = *first;
    if (place < previous) {
      const std::optional<double> last = chains.continuousFromDisplayed(u, true);
      if (!last || *last < previous) {
        error = which + " lies before the " + what + " listed before it";
        return false;
      }
      place = *last;
    }
    continuous.push_back(place);
    previous = place;
  }
  return true;
}

bool CRoadProfile::build(const RecordList<CVerticalCurveCal>& gradePoints,
                         const CRoadDesign& design, std::string& error) {
  return build(gradePoints, design.brokenChains, error);
}

bool CRoadProfile::build(const RecordList<CVerticalCurveCal>& gradePoints,
                         const RecordList<Scisson_Data>& brokenChains, std::string& error) {
  line_.reset();
  if (gradePoints.empty()) {
    error = "the road has no grade points";
    return false;
  }
  std::vector<double> displayed;
  for (const CVerticalCurveCal& p : gradePoints) displayed.push_back(p.Mileage);
  std::vector<double> continuous;
  if (!placeStationsInOrder(CChainageTable(brokenChains), displayed, "grade point",
                            continuous, error)) {
    return false;
  }
  RecordList<CVerticalCurveCal> points = gradePoints;
  for (std::size_t i = 0; i < points.size(); ++i) points[i].Mileage = continuous[i];
  refreshGradePoints(points);
  if (!setupVerticalCurves(points)) {
    error = "a grade point has values the vertical curve cannot use";
    return false;
  }
  line_.emplace(points);
  return true;
}

const RecordList<CVerticalCurveCal>& CRoadProfile::placedPoints() const {
  static const RecordList<CVerticalCurveCal> none;
  return line_ ? line_->points() : none;
}

std::optional<double> CRoadProfile::elevationAt(double m) const {
  double e = 0;
  if (!line_ || !line_->elevationAt(m, e)) return std::nullopt;
  return e;
}

bool fillStakeElevations(std::vector<RoadCoordinate>& records, const CRoadProfile& profile,
                         std::string& error) {
  for (RoadCoordinate& r : records) {
    const std::optional<double> z = profile.elevationAt(r.continuousMileage);
    if (!z) {
      error = "no elevation on the grade line at " + r.name + " (station " + r.mileageText + ")";
      return false;
    }
    r.z = *z;
  }
  return true;
}

}  // namespace trazmark
