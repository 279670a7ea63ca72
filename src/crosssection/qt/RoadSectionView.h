#pragma once
// The standard cross-section view (kind 4): the left and right component
// lists on two pages, with add, edit, delete, mirror, graphics and save. Its
// rules live in CStandardSectionEditor; this page shows the lists, opens the
// component dialog and hands the lists to the cross-section map.

#include <QDialog>
#include <functional>

#include "crosssection/StandardSectionEditor.h"
#include "platform/qt/DataView.h"
#include "platform/qt/ViewUndo.h"

class QPushButton;
class QTabWidget;
class QTableView;

namespace trazmark {

class CRecordTableModel;

class CRoadSectionView : public CDataView {
  Q_OBJECT

 public:
  CRoadSectionView(CDataViewHost& host, QWidget* parent = nullptr);

  /// The page shown: kSectionLeft or kSectionRight.
  int currentSide() const;
  void setCurrentSide(int side);

  // --- the commands, as the buttons run them once the dialog gave its input
  /// Appends to the current page; false on a full side (nothing happens).
  bool addComponent(const Road_Section_Item& item);
  /// Replaces the component of `row` on the current page (-1: the selected row).
  bool editComponent(int row, const Road_Section_Item& item);
  /// Removes the component of `row` on the current page (-1: the selected row).
  bool deleteComponent(int row = -1);
  /// Copies the current page's side onto the other and shows that page.
  void mirror();
  /// Hands both working lists, saved or not, to the cross-section map.
  void showGraphics();
  /// Stores the lists into the road.
  void save();

  bool hasPendingInput() const override { return editor_.modified(); }
  void commitPendingInput() override { save(); }
  void reloadFromRoad() override;
  QUndoStack* undoStack() const override { return undo_.stack(); }

  const CStandardSectionEditor& editor() const { return editor_; }
  CRecordTableModel* model(int side) const { return models_[side == kSectionRight ? 1 : 0]; }
  QTableView* table(int side) const { return tables_[side == kSectionRight ? 1 : 0]; }
  QPushButton* saveButton() const { return saveButton_; }
  int selectedRow() const;

  /// Tests set this to answer the component dialog instead of running it.
  using DialogRunner = std::function<int(QDialog&)>;
  void setDialogRunner(DialogRunner runner) { runDialog_ = std::move(runner); }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void onAdd();
  void onEdit();
  void changed();
  void restore(CStandardSectionEditor::UndoState state);

  CStandardSectionEditor editor_;
  QTabWidget* tabs_;
  CRecordTableModel* models_[2];
  QTableView* tables_[2];
  QPushButton* buttons_[6];
  QPushButton* saveButton_;
  DialogRunner runDialog_;
  CViewUndo<CStandardSectionEditor::UndoState> undo_;
};

}  // namespace trazmark
