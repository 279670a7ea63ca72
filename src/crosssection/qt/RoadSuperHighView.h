#pragma once
// The superelevation view (kind 6) and, with the value kind kWidth, the
// widening view (kind 7): every change point of every component in one list,
// edited with CRoadSuperHighNewDlg. Every rule lives in CRoadSuperEditor.

#include "crosssection/RoadSuperEditor.h"
#include "platform/qt/DataView.h"
#include "platform/qt/DialogRunner.h"
#include "platform/qt/ViewUndo.h"

class QPushButton;
class QTableView;

namespace trazmark {

class CRecordTableModel;

class CRoadSuperHighView : public CDataView {
  Q_OBJECT
 public:
  CRoadSuperHighView(SuperValueKind kind, CDataViewHost& host, QWidget* parent = nullptr);

  void add();
  void edit();
  void remove();
  void save();

  bool hasPendingInput() const override { return editor_.isModified(); }
  void commitPendingInput() override { save(); }
  void reloadFromRoad() override;
  QUndoStack* undoStack() const override { return undo_.stack(); }

  const CRoadSuperEditor& editor() const { return editor_; }
  QTableView* table() const { return table_; }
  CRecordTableModel* model() const { return model_; }
  QPushButton* saveButton() const { return save_; }
  int selectedRow() const;
  void selectRow(int row);
  void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

 private:
  std::vector<SuperComponentEntry> componentEntries();
  void changed();
  /// The name of an undo step: the verb with this view's kind of point.
  QString stepText(const char* verbKey) const;

  CRoadSuperEditor editor_;
  CRecordTableModel* model_;
  QTableView* table_;
  QPushButton* save_;
  DialogRunner runDialog_ = execDialog;
  CViewUndo<CRoadSuperEditor::UndoState> undo_;
};

}  // namespace trazmark
