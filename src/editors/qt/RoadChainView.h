#pragma once
// The broken chain view (kind 1): the road's chains in entry order, edited
// with CRoadChainNewDlg. Every rule lives in CRoadChainEditor; the view shows
// its working copy and passes the buttons on.

#include "editors/RoadChainEditor.h"
#include "platform/qt/DataView.h"
#include "platform/qt/DialogRunner.h"
#include "platform/qt/ViewUndo.h"

class QPushButton;
class QTableView;

namespace trazmark {

class CRecordTableModel;

class CRoadChainView : public CDataView {
  Q_OBJECT
 public:
  explicit CRoadChainView(CDataViewHost& host, QWidget* parent = nullptr);

  // The buttons.
  void add();
  void edit();
  void remove();
  void save();

  bool hasPendingInput() const override { return editor_.isModified(); }
  void commitPendingInput() override { save(); }
  void reloadFromRoad() override;
  QUndoStack* undoStack() const override { return undo_.stack(); }

  const CRoadChainEditor& editor() const { return editor_; }
  QTableView* table() const { return table_; }
  CRecordTableModel* model() const { return model_; }
  QPushButton* saveButton() const { return save_; }
  /// The selected row, -1 when none.
  int selectedRow() const;
  void selectRow(int row);
  /// Tests run the dialogs through their own function.
  void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

 private:
  void changed();

  CRoadChainEditor editor_;
  CRecordTableModel* model_;
  QTableView* table_;
  QPushButton* save_;
  DialogRunner runDialog_ = execDialog;
  CViewUndo<CRoadChainEditor::UndoState> undo_;
};

}  // namespace trazmark
