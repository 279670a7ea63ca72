// `stakes ROAD.REC --elevations`: the stake list with the grade line's
// elevation at every record.

#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "cli/Commands.h"
#include "crosssection/RoadProfile.h"
#include "editors/AlignmentLoader.h"
#include "library/InputRoadLibrary.h"

namespace trazmark::cli {

bool stakeTextWithElevations(const std::string& path, const CRoadDesign& design,
                             int calculateMode, double interval, double offset, std::string& text,
                             std::string& error) {
  if (fileTypeCode(path) != "REC") {
    error = "--elevations needs a road file (.REC) with grade points";
    return false;
  }
  CInputRoadLibrary road;
  if (!road.readRoadFile(path)) {
    error = path + ": cannot read the road file";
    return false;
  }
  CRoadProfile profile;
  if (!profile.build(road.verticalCurves, design, error)) {
    error = path + ": " + error + " (--elevations needs them)";
    return false;
  }
  std::vector<RoadCoordinate> records;
  if (!design.stakeRecords(calculateMode, interval, offset, records, StakePositions::AtOffset)) {
    error = "the stake list cannot be computed (more than " +
            std::to_string(CRoadDesign::kMaxStakes) +
            " stakes at this interval, or a stake off the alignment)";
    return false;
  }
  if (!fillStakeElevations(records, profile, error)) return false;
  text.clear();
  CRoadDesign::appendStakeLines(records, text);
  return true;
}

}  // namespace trazmark::cli
