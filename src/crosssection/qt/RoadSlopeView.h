#pragma once
// The slope view (kind 5): a tab sheet with the slope page (the road's slopes)
// and the step page (the steps of one slope, on a copy of its own until the
// user is done). The pages talk to the view through the page message 1626;
// every rule lives in CRoadSlopeEditor.

#include "crosssection/RoadSlopeEditor.h"
#include "platform/qt/DataView.h"
#include "platform/qt/DialogRunner.h"
#include "platform/qt/ViewUndo.h"

class QLabel;
class QPushButton;
class QTableView;

namespace trazmark {

class CRecordTableModel;
class CTabSheet;

class CRoadSlopeView : public CDataView {
  Q_OBJECT
 public:
  explicit CRoadSlopeView(CDataViewHost& host, QWidget* parent = nullptr);

  /// Message 1626: 100 steps done, 101 set the modified flag to `second`, any
  /// other value the steps of that slope.
  void pageMessage(int first, int second = 0);

  // Slope page.
  void newSlope();
  void editSlope();
  void deleteSlope();
  void showSteps();
  void save();
  // Step page.
  void newStep();
  void editStep();
  void deleteStep();
  void stepsDone() { pageMessage(kSlopeStepsDone); }

  /// Also true while edited steps are still on the step page.
  bool hasPendingInput() const override { return editor_.hasPendingInput(); }
  /// The frame's commit: edited steps on the step page are stored too.
  void commitPendingInput() override;
  void reloadFromRoad() override;
  QUndoStack* undoStack() const override { return undo_.stack(); }

  const CRoadSlopeEditor& editor() const { return editor_; }
  CTabSheet* tabSheet() const { return tabs_; }
  QTableView* slopeTable() const { return slopeTable_; }
  QTableView* stepTable() const { return stepTable_; }
  CRecordTableModel* slopeModel() const { return slopeModel_; }
  CRecordTableModel* stepModel() const { return stepModel_; }
  QPushButton* saveButton() const { return save_; }
  /// The line above the step list: which slope's steps it shows.
  QLabel* stepCaption() const { return stepCaption_; }
  void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

 private:
  QWidget* makeSlopePage(QWidget* parent);
  QWidget* makeStepPage(QWidget* parent);
  void refresh();
  void restore(CRoadSlopeEditor::UndoState state);

  CRoadSlopeEditor editor_;
  CTabSheet* tabs_;
  CRecordTableModel* slopeModel_;
  CRecordTableModel* stepModel_;
  QTableView* slopeTable_ = nullptr;
  QTableView* stepTable_ = nullptr;
  QPushButton* save_ = nullptr;
  QLabel* stepCaption_ = nullptr;
  DialogRunner runDialog_ = execDialog;
  CViewUndo<CRoadSlopeEditor::UndoState> undo_;
};

/// The selected row of a list, -1 when none.
int selectedTableRow(const QTableView* table);

}  // namespace trazmark
