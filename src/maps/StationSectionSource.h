#pragma once
// What the cross-section map needs to draw the section at a station: the
// road (its alignment computed, its grade line placed), the ground, and the
// station control's stakes. Plain C++: the station control's rules (what a
// typed station means, which stake is next, why a station cannot be shown)
// are driven without a window; the map's panel only shows their outcome.

#include <memory>
#include <string>

#include "alignment/RoadDesign.h"
#include "crosssection/RoadProfile.h"
#include "maps/GroundViews.h"
#include "maps/SectionStations.h"
#include "records/RoadRecords.h"
#include "terrain/RoadGround.h"

namespace trazmark {

class CStationSectionSource {
 public:
  /// Takes a copy of the road, computes its alignment and places its grade
  /// line; the stakes are the road's every kGroundStakeInterval metres. A
  /// chosen station stays chosen while it is still on the road. Returns the
  /// language key of why no section at a station can be shown (no alignment,
  /// no grade line), or "" when it can.
  std::string setRoad(const RoadDataSet& road, const std::string& roadName);
  /// The ground the sections are drawn over (null: none).
  void setGround(std::shared_ptr<const CRoadGround> ground) { ground_ = std::move(ground); }
  const std::shared_ptr<const CRoadGround>& ground() const { return ground_; }
  /// The formation's depth under the paved components (metres), from the
  /// road's terrain settings, for the earthwork over the ground.
  void setPavementDepth(double depth) { pavementDepth_ = depth; }
  double pavementDepth() const { return pavementDepth_; }

  /// Why sections at stations cannot be shown ("" when they can).
  const std::string& unavailableKey() const { return unavailable_; }
  const CSectionStations& stations() const { return stations_; }
  const CRoadDesign& design() const { return design_; }

  /// A typed station: "" when it is chosen, else the key that refuses it
  /// (not a station, not on the road, or sections unavailable).
  std::string choose(const std::string& typed);
  /// The next or previous stake; "" when moved, else the key saying why not.
  std::string stepNext();
  std::string stepPrevious();
  /// Back to the standard cross section: no station chosen.
  void clear() { stations_.clear(); }

  /// The picture at the chosen station. False with a one-line `error` when
  /// none is chosen or the section cannot be computed there.
  bool picture(const SectionCornerWords& words, StationSectionPicture& picture, std::string& error) const;

 private:
  std::string step(bool forward);

  RoadDataSet road_;
  CRoadDesign design_;
  CRoadProfile profile_;
  std::shared_ptr<const CRoadGround> ground_;
  double pavementDepth_ = 0;
  CSectionStations stations_;
  std::string unavailable_ = "IDS_WARN_station_needs_road";
};

}  // namespace trazmark
