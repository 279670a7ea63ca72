#pragma once
// File → Tables: one design table at a time, chosen in a list of the five,
// shown as a list over its rows, with Export to CSV and PDF. What is computed and
// written lives in DesignTablesSource and TableExportCommand; this window
// only shows.

#include <QDialog>
#include <string>

#include "platform/qt/UserDialogs.h"
#include "records/RoadRecords.h"
#include "shell/DesignTablesSource.h"

class QComboBox;
class QLabel;
class QTableView;

namespace trazmark {

class CDesignTableModel;
class CRoadGround;

class CDesignTablesWindow : public QDialog {
 public:
  /// `road` and `ground` (may be null) are copied or must outlive the window.
  CDesignTablesWindow(UserDialogs& dialogs, RoadDataSet road, std::string roadName,
                      const CRoadGround* ground, std::string folder, QWidget* parent = nullptr);

  /// Shows the table of `kind` (also what choosing it in the list does).
  void showTable(TableKind kind);
  const CDesignTableModel& model() const { return *model_; }
  /// The reason the shown table could not be computed; empty when it was.
  std::string failure() const { return failure_; }
  /// Export of the shown table; returns the written file or empty.
  std::string exportCsv();
  std::string exportPdf();

 private:
  UserDialogs& dialogs_;
  RoadDataSet road_;
  std::string roadName_;
  const CRoadGround* ground_;
  std::string folder_;
  std::string failure_;
  QComboBox* choice_ = nullptr;
  QLabel* status_ = nullptr;
  QTableView* table_ = nullptr;
  CDesignTableModel* model_ = nullptr;
};

}  // namespace trazmark
