#pragma once
// The earthwork list of the window, without a window: what a table is
// computed from (copied, so that the worker thread owns it), the work the
// worker runs, the list's rows with a totals row, and its export as CSV
// through the dialog seam.

#include <memory>
#include <string>

#include "alignment/RoadDesign.h"
#include "crosssection/RoadProfile.h"
#include "earthwork/EarthworkTable.h"
#include "maps/SectionSheets.h"
#include "records/RoadRecords.h"
#include "shell/BackgroundJob.h"
#include "terrain/RoadGround.h"

namespace trazmark {

class UserDialogs;

/// Everything a table is computed from.
struct EarthworkInputs {
  RoadDataSet road;
  CRoadDesign design;
  CRoadProfile profile;
  std::shared_ptr<const CRoadGround> ground;
  EarthworkOptions options;
};

/// Computes the road's alignment and grade line into `inputs`, with the
/// window's options: every 20 m, sides without areas listed with a note.
/// Returns "" when the table can be computed, else the language key of why
/// not: no alignment, no grade line, no ground.
std::string prepareEarthwork(const RoadDataSet& road, const std::string& roadName,
                             std::shared_ptr<const CRoadGround> ground, double pavementDepth,
                             EarthworkInputs& inputs);

/// The worker's work over prepared inputs (shared with the worker).
CBackgroundJob<EarthworkTable>::Work earthworkWork(std::shared_ptr<const EarthworkInputs> inputs);

/// The cross-section sheets of prepared inputs written to `path` (as
/// `trazmark-cli section-sheets` writes them), for the worker: the table
/// takes the first tenth of the progress, the sections the next two, the
/// pages the rest. Its value is the files written.
CBackgroundJob<std::vector<std::string>>::Work sectionSheetsWork(
    std::shared_ptr<const EarthworkInputs> inputs, std::string path, std::string roadName,
    SheetWords words);

/// The list: one row per station of the table, then a totals row.
class CEarthworkList {
 public:
  enum Column : int {
    kStation,
    kCutArea,
    kFillArea,
    kDistance,
    kCutVolume,
    kFillVolume,
    kCumCut,
    kCumFill,
    kMass,
    kNote,
    kColumnCount
  };

  void setTable(std::shared_ptr<const EarthworkTable> table) { table_ = std::move(table); }
  const std::shared_ptr<const EarthworkTable>& table() const { return table_; }
  /// The table's rows and, when there are any, the totals row last.
  int rowCount() const;
  bool isTotalsRow(int row) const { return table_ && row == static_cast<int>(table_->rows.size()); }
  /// A cell as the list shows it: stations "K1+020.000", areas and volumes
  /// "%.2f", distances "%.3f"; the totals row gives the length, the volumes
  /// (cut not bulked), the final mass ordinate and "Total" in `totalWord`.
  std::string cellText(int row, int column, const std::string& totalWord = "Total") const;
  /// The totals in one line: "Cut 1234.56 m³  Fill 987.65 m³  Mass 246.91 m³".
  std::string totalsText(const std::string& cut = "Cut", const std::string& fill = "Fill",
                         const std::string& mass = "Mass") const;
  /// The table as the command line's CSV.
  std::string csvText() const;
  /// Asks for a file (CSV filter, `suggestedName`) through `dialogs` and
  /// writes the CSV there atomically. True when written; a cancelled dialog
  /// writes nothing (false, no message); a failure warns
  /// IDS_WARN_earthwork_csv_failed with the file. Without a table: warns
  /// IDS_WARN_earthwork_none.
  bool exportCsv(UserDialogs& dialogs, const std::string& startFolder,
                 const std::string& suggestedName) const;

 private:
  std::shared_ptr<const EarthworkTable> table_;
};

}  // namespace trazmark
