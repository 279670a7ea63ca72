#pragma once
// The horizontal alignment view (kind 2): the intersection-point, element and
// line-element pages in a tab sheet, the list mode (input, key points,
// stakes) kept across page and road changes, the start mileage field of the
// element page, and the modified flag that the frame's Save commits.

#include "editors/qt/RoadFlatPages.h"
#include "platform/qt/DataView.h"
#include "platform/qt/ViewUndo.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace trazmark {

class CTabSheet;

class CRoadFlatView : public CDataView {
  Q_OBJECT
 public:
  explicit CRoadFlatView(CDataViewHost& host, QWidget* parent = nullptr);

  CTabSheet* tabSheet() const { return tabs_; }
  QComboBox* listModeBox() const { return listMode_; }
  QLineEdit* startMileageField() const { return startMileage_; }
  QLabel* startMileageLabel() const { return startLabel_; }
  CRoadFlatCrossDlg* crossPage() const { return cross_; }
  CRoadFlatElementDlg* elementPage() const { return element_; }
  CRoadFlatLineElementDlg* lineElementPage() const { return lineElement_; }
  /// Page `index` (0 to 2), null otherwise.
  CRoadFlatPageBase* page(int index) const;
  /// The page on show.
  int currentPage() const;
  /// True while a page holds edits not stored into the road.
  bool isModified() const { return modified_; }

  bool hasPendingInput() const override { return modified_; }
  void commitPendingInput() override;
  void reloadFromRoad() override;
  ImportResult importAlignmentFile(const std::string& path, int elementFile) override;
  QUndoStack* undoStack() const override { return undo_.stack(); }

  /// What undo and redo give back: the three pages' working copies, one
  /// after the other (points; elements and start mileage; line elements).
  using UndoState = decltype(std::tuple_cat(std::declval<CFlatCrossPage::UndoState>(),
                                            std::declval<CFlatElementPage::UndoState>(),
                                            std::declval<CFlatLineElementPage::UndoState>()));

  /// The list mode of the view, sent to the page on show.
  void setListMode(int mode);
  int listMode() const { return mode_; }

 private:
  /// Message 1629: the user chose page `index` with the tabs.
  void pageChanged(int index);
  void updateStartMileageField();
  UndoState undoState() const;
  void restore(UndoState state);
  /// Undo's verdict on the pages: clean (as stored) or changed.
  void modifiedChanged(bool modified);
  /// A start mileage typed since the last step becomes a step of its own.
  void recordStartMileage();

  CTabSheet* tabs_;
  QComboBox* listMode_;
  QLabel* startLabel_;
  QLineEdit* startMileage_;
  CRoadFlatCrossDlg* cross_ = nullptr;
  CRoadFlatElementDlg* element_ = nullptr;
  CRoadFlatLineElementDlg* lineElement_ = nullptr;
  bool modified_ = false;
  int mode_ = 0;
  CViewUndo<UndoState> undo_;
};

}  // namespace trazmark
