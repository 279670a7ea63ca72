// The design tables' rows, computed from the engine's alignment, grade line
// and cross sections.

#include "tables/DesignTables.h"

namespace trazmark {

bool curvePointRows(const RecordList<Road_CrossPoint>&, const CRoadDesign&,
                    std::vector<CurvePointRow>& rows, std::string& error) {
  rows.clear();
  error = "not implemented";
  return false;
}
DesignTable curvePointTable(const std::vector<CurvePointRow>&) { return {kCurveElementsTitleKey, {}, {}}; }
std::vector<ElementRow> elementRows(const CRoadDesign&) { return {}; }
DesignTable elementTable(const std::vector<ElementRow>&) { return {kElementsTitleKey, {}, {}}; }
bool stakeRows(const CRoadDesign&, const RecordList<CVerticalCurveCal>*, double, std::vector<StakeRow>& rows,
               std::string& error) {
  rows.clear();
  error = "not implemented";
  return false;
}
DesignTable stakeTable(const std::vector<StakeRow>&, bool) { return {kStakeCoordinatesTitleKey, {}, {}}; }
bool gradePointRows(const RecordList<CVerticalCurveCal>&, const CRoadDesign&, std::vector<GradePointRow>& rows,
                    std::string& error) {
  rows.clear();
  error = "not implemented";
  return false;
}
DesignTable gradePointTable(const std::vector<GradePointRow>&) { return {kGradesTitleKey, {}, {}}; }
bool subgradeRows(const RoadDataSet&, const CRoadDesign&, const CRoadGround*, double, std::vector<SubgradeRow>& rows,
                  std::string& error) {
  rows.clear();
  error = "not implemented";
  return false;
}
DesignTable subgradeTable(const std::vector<SubgradeRow>&) { return {kSubgradeTitleKey, {}, {}}; }
bool superelevationRows(const RoadDataSet&, const CRoadDesign&, double, std::vector<SuperelevationRow>& rows,
                        std::string& error) {
  rows.clear();
  error = "not implemented";
  return false;
}
DesignTable superelevationTable(const std::vector<SuperelevationRow>&) { return {kSuperelevationTitleKey, {}, {}}; }

}  // namespace trazmark
