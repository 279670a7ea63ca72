#include "maps/GroundViews.h"

#include "maps/EarthworkViews.h"

#include <algorithm>
#include <cmath>

namespace trazmark {
namespace {

/// Stakes closer than this (metres along the road) are one.
constexpr double kSameStake = 1e-6;

}  // namespace

std::vector<GroundSample> groundAtStakes(const CRoadDesign& design, const CRoadGround& ground, double interval) {
  std::vector<GroundSample> samples;
  if (!design.computed()) return samples;
  std::vector<RoadCoordinate> stakes;
  // A stake list that stops short (a stake that cannot be evaluated) still
  // gives the ground up to there.
  design.stakeRecords(0, interval, 0.0, stakes);
  samples.reserve(stakes.size());
  double last = -1e300;
  for (const RoadCoordinate& s : stakes) {
    // A key point on a whole station is one stake, not two.
    if (std::fabs(s.continuousMileage - last) < kSameStake) continue;
    last = s.continuousMileage;
    samples.push_back({s.mileage, ground.centreElevation(s.mileage, s.x, s.y)});
  }
  return samples;
}

double groundHalfWidthFor(double outer) {
  if (!std::isfinite(outer)) outer = 0;
  return std::max(kMinGroundHalfWidth, std::fabs(outer) + std::max(kGroundMarginAcross, std::fabs(outer) / 2));
}

bool stationSectionPicture(const RoadDataSet& road, const CRoadDesign& design, const CRoadProfile& profile,
                           const CRoadGround* ground, double station, int side, const SectionCornerWords& words,
                           StationSectionPicture& picture, std::string& error, double pavementDepth) {
  SectionAtStation section;
  if (!sectionAtStation(road, design, profile, station, side, section, error)) return false;
  const std::optional<StationPoint> centre = design.pointAtStation(station, 0, side);
  if (!centre) {
    error = "station " + formatStation(station) + " is not on the road";
    return false;
  }
  picture.segments = buildStationSegments(section);
  picture.left = stationComponents(section, 0);
  picture.right = stationComponents(section, 1);
  picture.ground = GroundLine{};
  picture.earthworkLine.clear();
  picture.catchPoints.clear();
  std::optional<double> groundCentre;
  if (ground != nullptr && !ground->empty()) {
    // The section drawn above was made, so the earthwork's own section can
    // only fail on what it adds (a pavement depth it refuses): the picture
    // is then shown without.
    EarthworkSection earthwork;
    std::string earthworkError;
    const bool withEarthwork =
        earthworkSectionAt(road, design, profile, *ground, pavementDepth, station, side, earthwork, earthworkError);
    // The ground reaches past what is drawn: the components and, with the
    // earthwork, its line to the catch points; else every slope step listed.
    double outer = 0;
    for (const SectionEdge& e : section.edges)
      if (!withEarthwork || e.name.rfind("slope:", 0) != 0) outer = std::max(outer, std::fabs(e.offset));
    if (withEarthwork)
      for (const DesignVertex& v : earthwork.design) outer = std::max(outer, std::fabs(v.offset));
    picture.ground = ground->across(station, centre->x, centre->y, centre->azimuth, groundHalfWidthFor(outer));
    groundCentre = ground->centreElevation(station, centre->x, centre->y);
    picture.corner = sectionCornerLines(station, section.centreElevation, groundCentre, words);
    if (withEarthwork) addEarthworkToPicture(picture, earthwork, words);
    return true;
  }
  picture.corner = sectionCornerLines(station, section.centreElevation, groundCentre, words);
  return true;
}

}  // namespace trazmark
