#pragma once
// What the profile and cross-section maps show of the ground, worked out
// without a window: the ground at the road's stakes for the profile, and the
// design section over the ground across the road at one station. The maps,
// the window's frame and `trazmark-cli profile-plot` / `section-plot` share
// these, so a drawing shows what the map shows.

#include <optional>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "crosssection/RoadProfile.h"
#include "maps/ProfileDrawing.h"
#include "maps/SectionDrawing.h"
#include "records/RoadRecords.h"
#include "terrain/RoadGround.h"

namespace trazmark {

/// Stakes of the profile's ground line and labels: on whole multiples of this
/// (metres), with the key points between them, as the stake list computes them.
constexpr double kGroundStakeInterval = 20.0;

/// The road's stakes (every `interval` metres on whole stations and the key
/// points; displayed stations, broken chains included), each with the ground
/// at its centre point (CRoadGround::centreElevation). Empty when the design
/// is not computed or gives no stakes.
std::vector<GroundSample> groundAtStakes(const CRoadDesign& design, const CRoadGround& ground,
                                         double interval = kGroundStakeInterval);

/// The ground across is taken this far beyond the section's outer edge on
/// each side, and at least this far from the centre (metres).
constexpr double kGroundMarginAcross = 10.0;
constexpr double kMinGroundHalfWidth = 20.0;

/// How wide a ground line across a section of outer offset `outer` (metres,
/// the larger side) is taken on each side of the centre.
double groundHalfWidthFor(double outer);

/// The design section at a displayed station (`side` as in pointAtStation)
/// over the ground across the road there (`ground` may be null: no ground),
/// ready to draw, with the corner text in `words`. False with a one-line
/// `error` when the station is not on the road or its section cannot be
/// computed (see sectionAtStation). Over a ground, the earthwork is added
/// (addEarthworkToPicture) with the formation `pavementDepth` metres below
/// the paved components.
bool stationSectionPicture(const RoadDataSet& road, const CRoadDesign& design, const CRoadProfile& profile,
                           const CRoadGround* ground, double station, int side, const SectionCornerWords& words,
                           StationSectionPicture& picture, std::string& error, double pavementDepth = 0);

}  // namespace trazmark
