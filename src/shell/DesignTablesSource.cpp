#include "shell/DesignTablesSource.h"

#include "alignment/RoadDesign.h"
#include "editors/AlignmentLoader.h"

namespace trazmark {

const char* tableTitleKey(TableKind kind) {
  switch (kind) {
    case TableKind::CurveElements:
      return kCurveElementsTitleKey;
    case TableKind::Stakes:
      return kStakeCoordinatesTitleKey;
    case TableKind::Grades:
      return kGradesTitleKey;
    case TableKind::Subgrade:
      return kSubgradeTitleKey;
    case TableKind::Superelevation:
      return kSuperelevationTitleKey;
  }
  return kCurveElementsTitleKey;
}

bool buildDesignTable(TableKind kind, const RoadDataSet& road, const std::string& roadName,
                      const CRoadGround* ground, DesignTable& table, std::string& error) {
  table = DesignTable{};
  table.titleKey = tableTitleKey(kind);
  CRoadDesign design;
  if (!loadRoadAlignment(road, roadName, design, error)) return false;
  switch (kind) {
    case TableKind::CurveElements: {
      // A road of intersection points is handed over by its points; a road
      // of elements by its elements.
      if (road.FlatcurveType == kFlatcurveCrossPoints) {
        std::vector<CurvePointRow> rows;
        if (!curvePointRows(road.crossPoints, design, rows, error)) return false;
        table = curvePointTable(rows);
      } else {
        table = elementTable(elementRows(design));
      }
      break;
    }
    case TableKind::Stakes: {
      std::vector<StakeRow> rows;
      const RecordList<CVerticalCurveCal>* grades =
          road.verticalCurves.empty() ? nullptr : &road.verticalCurves;
      if (!stakeRows(design, grades, kTableStakeInterval, rows, error)) return false;
      table = stakeTable(rows, grades != nullptr);
      break;
    }
    case TableKind::Grades: {
      std::vector<GradePointRow> rows;
      if (!gradePointRows(road.verticalCurves, design, rows, error)) return false;
      table = gradePointTable(rows);
      break;
    }
    case TableKind::Subgrade: {
      std::vector<SubgradeRow> rows;
      if (!subgradeRows(road, design, ground, kTableStakeInterval, rows, error)) return false;
      table = subgradeTable(rows);
      break;
    }
    case TableKind::Superelevation: {
      std::vector<SuperelevationRow> rows;
      if (!superelevationRows(road, design, kTableStakeInterval, rows, error)) return false;
      table = superelevationTable(rows);
      break;
    }
  }
  return true;
}

}  // namespace trazmark
