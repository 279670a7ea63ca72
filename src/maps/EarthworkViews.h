#pragma once
// What the maps and drawings show of the earthwork, worked out without a
// window: a section against the ground as a sheet draws it, the sections of
// a table's stations, and the mass-haul diagram of a table. The window, the
// cross-section map and `trazmark-cli section-sheets` / `mass-haul` share
// these, so that a sheet shows what the map shows.

#include <string>
#include <vector>

#include "earthwork/EarthworkSection.h"
#include "earthwork/EarthworkTable.h"
#include "maps/MassHaulDrawing.h"
#include "maps/SectionDrawing.h"
#include "maps/SectionSheets.h"

namespace trazmark {

/// The words of a side that does not close, in the caller's language.
struct EarthworkSideWords {
  std::string left = "Left";
  std::string right = "Right";
  /// The statuses' names by their number; empty: earthworkSideStatusName.
  std::vector<std::string> statuses;
};

/// One line for each side whose status is not Ok: "Left: does not meet the
/// ground" (the status's name; the core's message is for the command line).
std::vector<std::string> earthworkSideNotes(const EarthworkSection& section,
                                            const EarthworkSideWords& words = {});

/// The section as a sheet draws it. Areas are given only when both sides
/// have them; otherwise the notes say which side and why.
SheetSection sheetSectionOf(const EarthworkSection& section, double station,
                            const EarthworkSideWords& words = {});

/// The side of a long chain's repeated station that a table's row lies on
/// (as pointAtStation takes it): 0 before the break, 1 after.
int rowSide(const CRoadDesign& design, const EarthworkRow& row);

/// The sections at the rows of `table` for the sheets. A station whose
/// section cannot be made fails with a one-line `error` naming it;
/// `progress` is asked at each station (false: "cancelled").
bool sheetSectionsOf(const RoadDataSet& road, const CRoadDesign& design,
                     const CRoadProfile& profile, const CRoadGround& ground, double pavementDepth,
                     const EarthworkTable& table, std::vector<SheetSection>& sections,
                     std::string& error, const SheetProgress& progress = {});

/// The diagram of a table: each row's mass ordinate at its mileage, and the totals.
MassHaulData massHaulOf(const EarthworkTable& table);

/// Adds the earthwork to a station's picture: the designed line from catch
/// point to catch point, the catch points, the shading between design and
/// ground, and the corner lines of the areas ("Cut 12.34 m²", "-" when a
/// side has none) and of each side that does not close. The component
/// surfaces stay; the slope steps the section lists are left out, as the
/// designed line shows the slope that applies, ending at the ground.
void addEarthworkToPicture(StationSectionPicture& picture, const EarthworkSection& section,
                           const SectionCornerWords& words = {});

}  // namespace trazmark
