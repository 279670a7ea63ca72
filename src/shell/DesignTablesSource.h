#pragma once
// Which design tables File → Tables offers and how each is computed from the
// open road: the alignment loaded from the road's own method, the stakes at
// a fixed interval, the ground when the road has one.

#include <array>
#include <string>

#include "records/RoadRecords.h"
#include "tables/DesignTables.h"

namespace trazmark {

class CRoadGround;

enum class TableKind { CurveElements, Stakes, Grades, Subgrade, Superelevation };
constexpr std::array<TableKind, 5> kTableKinds = {TableKind::CurveElements, TableKind::Stakes,
                                                  TableKind::Grades, TableKind::Subgrade,
                                                  TableKind::Superelevation};

/// Stakes of the stake, subgrade and superelevation tables every this many
/// metres of displayed station (the stake list's usual interval).
constexpr double kTableStakeInterval = 20;

/// The language key of a table's title.
const char* tableTitleKey(TableKind kind);

/// Computes one table of `road`. The curve elements are one row per
/// intersection point for a road of intersection points, one per element
/// otherwise. `ground` may be null. False with a one-line `error` when the
/// road's alignment (or grade line, or section) cannot be computed; `table`
/// then holds the title and no rows.
bool buildDesignTable(TableKind kind, const RoadDataSet& road, const std::string& roadName,
                      const CRoadGround* ground, DesignTable& table, std::string& error);

}  // namespace trazmark
