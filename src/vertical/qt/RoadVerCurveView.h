#pragma once
// The grade-point editor (kind 3): the list of the road's grade points with
// add, edit, delete, save, reload and draw. Its rules live in
// CRoadVerCurveEditor; this page shows the list, opens the point dialog and
// hands the grade line to the profile map.

#include <QDialog>
#include <functional>

#include "platform/qt/DataView.h"
#include "platform/qt/ViewUndo.h"
#include "vertical/RoadVerCurveEditor.h"

class QPushButton;
class QTableView;

namespace trazmark {

class CRecordTableModel;

class CRoadVerCurveView : public CDataView {
  Q_OBJECT

 public:
  CRoadVerCurveView(CDataViewHost& host, QWidget* parent = nullptr);

  // --- the commands, as the buttons run them once the dialog gave its input
  /// Adds a point; a refusal is shown as its message and nothing changes.
  bool addPoint(const GradePointInput& input);
  /// Replaces the point of `row` (the selected row when -1).
  bool editPoint(int row, const GradePointInput& input);
  /// Deletes the point of `row` (the selected row when -1); without a row the
  /// user is asked to select one.
  bool deletePoint(int row = -1);
  /// Stores the working list into the road.
  void save();
  /// The Reload button: the road's points again, as an undoable step.
  void reloadPoints();
  /// Hands the grade line to the profile map through a VR file; when the
  /// file cannot be written the user is told and nothing is drawn.
  bool drawProfile();

  bool hasPendingInput() const override { return editor_.modified(); }
  void commitPendingInput() override { save(); }
  void reloadFromRoad() override;
  QUndoStack* undoStack() const override { return undo_.stack(); }

  const CRoadVerCurveEditor& editor() const { return editor_; }
  QTableView* table() const { return table_; }
  CRecordTableModel* model() const { return model_; }
  QPushButton* saveButton() const { return saveButton_; }
  int selectedRow() const;
  void selectRow(int row);

  /// Tests set this to answer the point dialog: it receives the dialog and
  /// returns its result instead of running it modally.
  using DialogRunner = std::function<int(QDialog&)>;
  void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

 private:
  void onAdd();
  void onEdit();
  void changed();
  void updateSaveButton();

  CRoadVerCurveEditor editor_;
  CRecordTableModel* model_;
  QTableView* table_;
  QPushButton* saveButton_;
  DialogRunner runDialog_;
  CViewUndo<CRoadVerCurveEditor::UndoState> undo_;
};

}  // namespace trazmark
