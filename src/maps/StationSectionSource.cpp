#include "maps/StationSectionSource.h"

#include <cmath>

#include "editors/AlignmentLoader.h"

namespace trazmark {

std::string CStationSectionSource::setRoad(const RoadDataSet& road, const std::string& roadName) {
  const std::optional<SectionStation> chosen = stations_.current();
  road_ = road;
  design_ = CRoadDesign();
  profile_ = CRoadProfile();
  std::string error;
  if (!loadRoadAlignment(road_, roadName, design_, error)) {
    unavailable_ = "IDS_WARN_station_needs_road";
  } else if (!profile_.build(road_.verticalCurves, design_, error)) {
    unavailable_ = "IDS_WARN_station_needs_grade_line";
  } else {
    unavailable_.clear();
  }
  stations_.setStakesOf(design_, kGroundStakeInterval);
  // The station stays where the user put it while the road still holds it.
  if (unavailable_.empty() && chosen && design_.pointAtStation(chosen->station, 0, chosen->side)) {
    SectionStation place = *chosen;
    place.continuous = design_.continuousFromDisplayed(chosen->station, chosen->side);
    stations_.choose(place);
  }
  return unavailable_;
}

std::string CStationSectionSource::choose(const std::string& typed) {
  if (!unavailable_.empty()) return unavailable_;
  const std::optional<double> station = parseStationText(typed);
  if (!station) return "IDS_WARN_station_not_a_station";
  if (!design_.pointAtStation(*station, 0, -1)) return "IDS_WARN_station_not_on_road";
  const double continuous = design_.continuousFromDisplayed(*station, -1);
  if (!std::isfinite(continuous)) return "IDS_WARN_station_not_on_road";
  stations_.choose({*station, -1, continuous});
  return {};
}

std::string CStationSectionSource::step(bool forward) {
  if (!unavailable_.empty()) return unavailable_;
  if (forward ? stations_.stepNext() : stations_.stepPrevious()) return {};
  return forward ? "IDS_WARN_station_last_stake" : "IDS_WARN_station_first_stake";
}

std::string CStationSectionSource::stepNext() { return step(true); }
std::string CStationSectionSource::stepPrevious() { return step(false); }

bool CStationSectionSource::picture(const SectionCornerWords& words, StationSectionPicture& picture,
                                    std::string& error) const {
  const std::optional<SectionStation>& at = stations_.current();
  if (!at || !unavailable_.empty()) {
    error = "no station chosen";
    return false;
  }
  return stationSectionPicture(road_, design_, profile_, ground_.get(), at->station, at->side, words, picture,
                               error, pavementDepth_);
}

}  // namespace trazmark
