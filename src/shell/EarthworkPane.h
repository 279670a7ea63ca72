#pragma once
// The earthwork list: a pane with the table of the road's earthwork (one row
// per station, a totals row last), its totals, and the commands Compute and
// Export CSV. What it lists and how it exports live in CEarthworkList; the
// frame computes the table on its worker thread and hands it over.

#include <QDockWidget>
#include <memory>

#include "shell/EarthworkList.h"

class QLabel;
class QPushButton;
class QTableView;

namespace trazmark {

class CRecordTableModel;

class CEarthworkPane : public QDockWidget {
  Q_OBJECT
 public:
  explicit CEarthworkPane(QWidget* parent = nullptr);

  /// Shows a computed table (null: none).
  void setTable(std::shared_ptr<const EarthworkTable> table);
  const CEarthworkList& list() const { return list_; }
  CRecordTableModel* model() const { return model_; }
  QTableView* table() const { return table_; }
  QPushButton* computeButton() const { return compute_; }
  QPushButton* exportButton() const { return export_; }
  QLabel* totalsLabel() const { return totals_; }

 signals:
  void computeRequested();
  void exportRequested();

 private:
  CEarthworkList list_;
  CRecordTableModel* model_;
  QTableView* table_;
  QPushButton* compute_;
  QPushButton* export_;
  QLabel* totals_;
};

}  // namespace trazmark
