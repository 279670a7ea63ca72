#pragma once
// The as-built check's list: a pane with the tolerances, the command that
// checks a points file, the table of the checked points (a model over the
// rows: 100,000 rows scroll as fast as ten), the summary line and the
// exports (CSV, PDF report). What it lists lives in CSurveyCheckList; the
// frame runs the check on its worker thread and hands the result over.

#include <QDockWidget>
#include <memory>

#include "shell/SurveyCheckCommand.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace trazmark {

class CRecordTableModel;

class CSurveyCheckPane : public QDockWidget {
  Q_OBJECT
 public:
  explicit CSurveyCheckPane(QWidget* parent = nullptr);

  /// Shows a finished check (null: none).
  void setResult(std::shared_ptr<const SurveyCheckResult> result);
  const CSurveyCheckList& list() const { return list_; }
  CRecordTableModel* model() const { return model_; }
  QTableView* table() const { return table_; }
  QLineEdit* verticalField() const { return vertical_; }
  QLineEdit* horizontalField() const { return horizontal_; }
  QPushButton* checkButton() const { return check_; }
  QPushButton* csvButton() const { return csv_; }
  QPushButton* pdfButton() const { return pdf_; }
  QLabel* summaryLabel() const { return summary_; }

 signals:
  void checkRequested();
  void exportCsvRequested();
  void exportPdfRequested();
  /// A row double-clicked: its point wanted on the plan.
  void pointActivated(int row);

 private:
  CSurveyCheckList list_;
  CRecordTableModel* model_;
  QTableView* table_;
  QLineEdit* vertical_;
  QLineEdit* horizontal_;
  QPushButton* check_;
  QPushButton* csv_;
  QPushButton* pdf_;
  QLabel* summary_;
};

}  // namespace trazmark
