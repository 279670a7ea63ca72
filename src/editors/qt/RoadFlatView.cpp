#include "editors/qt/RoadFlatView.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cmath>

#include "editors/qt/RoadFlatDialogs.h"
#include "library/InputRoadLibrary.h"
#include "platform/qt/Localization.h"
#include "platform/qt/ShellIds.h"
#include "platform/qt/TabSheet.h"

namespace trazmark {
namespace {
QString langText(const char* key) { return languageTextOr(key, QString::fromLatin1(key)); }
}  // namespace

CRoadFlatView::CRoadFlatView(CDataViewHost& host, QWidget* parent)
    : CDataView(kKindFlatCurve, host, parent),
      undo_(
          this, [this] { return undoState(); }, [this](UndoState s) { restore(std::move(s)); },
          [this](bool modified) { modifiedChanged(modified); }) {
  tabs_ = new CTabSheet(this);
  listMode_ = new QComboBox(this);
  for (const char* key : {"IDS_DATA_list_road", "IDS_DATA_list_mark", "IDS_DATA_lsit_calculate"})
    listMode_->addItem(langText(key));
  listMode_->setFixedWidth(200);
  startLabel_ = new QLabel(langText("IDS_DATA_start_mileage"), this);
  startLabel_->setFixedWidth(100);
  startLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  startMileage_ = new QLineEdit(this);
  startMileage_->setFixedWidth(150);

  auto* top = new QHBoxLayout;
  top->addStretch();
  top->addWidget(startLabel_);
  top->addWidget(startMileage_);
  top->addWidget(listMode_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(top);
  layout->addWidget(tabs_, 1);

  auto connectPage = [this](CRoadFlatPageBase* p) {
    connect(p, &CRoadFlatPageBase::dataChanged, this, [this] {
      modified_ = true;
      this->host().viewEditsChanged();
    });
    connect(p, &CRoadFlatPageBase::edited, this, [this](const QString& step) { undo_.record(step); });
    connect(p, &CRoadFlatPageBase::dataSaved, this, [this] {
      // Text that is no number was stored as 0: the field shows what was stored.
      // (The store's copy of the start mileage into the first element is no
      // edit of its own: a typed mileage became its step when the field was left.)
      updateStartMileageField();
      // The view is as stored once no page holds edits any more.
      bool pending = false;
      for (int i = 0; i < 3; ++i) pending = pending || (page(i) != nullptr && page(i)->rules().dataChanged);
      if (!pending) undo_.markSaved();
    });
  };
  tabs_->addPage(langText("IDS_DATA_cross_method"), kDlgRoadFlatCross, [this, connectPage](QWidget* parent) {
    cross_ = new CRoadFlatCrossDlg(this->host(), parent);
    connectPage(cross_);
    return cross_;
  });
  tabs_->addPage(langText("IDS_DATA_element_method"), kDlgRoadFlatElement, [this, connectPage](QWidget* parent) {
    element_ = new CRoadFlatElementDlg(this->host(), parent);
    connectPage(element_);
    return element_;
  });
  tabs_->addPage(langText("IDS_DATA_line_element_method"), kDlgRoadFlatLineElement,
                 [this, connectPage](QWidget* parent) {
                   lineElement_ = new CRoadFlatLineElementDlg(this->host(), parent);
                   connectPage(lineElement_);
                   return lineElement_;
                 });
  tabs_->showPages();
  connect(tabs_, &CTabSheet::tabChanged, this, [this](int index) { pageChanged(index); });
  connect(listMode_, &QComboBox::activated, this, [this](int index) { setListMode(index); });
  connect(startMileage_, &QLineEdit::textEdited, this, [this] {
    const double v = fieldNumber(startMileage_);
    element_->page.startMileage = std::isfinite(v) ? v : 0.0;
    element_->page.dataChanged = true;
    element_->changed();
  });
  // Typing makes no step per key: the mileage is one step when the field is left.
  connect(startMileage_, &QLineEdit::editingFinished, this, [this] { recordStartMileage(); });
  LocalizeDialog(this, kDlgRoadFlatView);
  reloadFromRoad();
}

CRoadFlatPageBase* CRoadFlatView::page(int index) const {
  switch (index) {
    case 0: return cross_;
    case 1: return element_;
    case 2: return lineElement_;
    default: return nullptr;
  }
}

int CRoadFlatView::currentPage() const { return tabs_->visiblePage(); }

void CRoadFlatView::updateStartMileageField() {
  const bool shown = currentPage() == 1;
  startLabel_->setVisible(shown);
  startMileage_->setVisible(shown);
  setFieldNumber(startMileage_, element_->page.startMileage);
}

void CRoadFlatView::pageChanged(int index) {
  updateStartMileageField();
  CRoadFlatPageBase* p = page(index);
  if (p != nullptr && p->rules().listMode != mode_) p->setListMode(mode_);
}

void CRoadFlatView::setListMode(int mode) {
  mode_ = mode < 0 || mode > 2 ? 0 : mode;
  listMode_->setCurrentIndex(mode_);
  if (CRoadFlatPageBase* p = page(currentPage())) p->setListMode(mode_);
  updateStartMileageField();
}

CRoadFlatView::UndoState CRoadFlatView::undoState() const {
  return std::tuple_cat(cross_->page.undoState(), element_->page.undoState(), lineElement_->page.undoState());
}

void CRoadFlatView::restore(UndoState s) {
  cross_->page.restoreUndoState({std::move(std::get<0>(s)), std::move(std::get<1>(s))});
  element_->page.restoreUndoState({std::move(std::get<2>(s)), std::move(std::get<3>(s)), std::get<4>(s)});
  lineElement_->page.restoreUndoState({std::move(std::get<5>(s)), std::move(std::get<6>(s)), std::get<7>(s)});
}

void CRoadFlatView::modifiedChanged(bool modified) {
  const auto* delta = undo_.lastDelta();
  const bool touched[3] = {
      delta != nullptr && (delta->changed<0>() || delta->changed<1>()),
      delta != nullptr && (delta->changed<2>() || delta->changed<3>() || delta->changed<4>()),
      delta != nullptr && (delta->changed<5>() || delta->changed<6>() || delta->changed<7>())};
  for (int i = 0; i < 3; ++i) {
    CRoadFlatPageBase* p = page(i);
    if (p == nullptr) return;
    CFlatPage& rules = p->rules();
    // At the stored state no page has edits; otherwise the page the step
    // changed has.
    if (!modified) rules.dataChanged = false;
    if (modified && touched[i]) rules.dataChanged = true;
    p->saveButton()->setEnabled(rules.dataChanged);
    if (touched[i] && !undo_.recording()) {
      // After an undo or redo the list on show follows: the input, or the
      // key points and stakes computed again from it.
      if (rules.listMode == CFlatPage::kListInput) {
        p->refreshList();
      } else {
        p->setListMode(rules.listMode);
      }
    }
  }
  // Leaving the start mileage field records nothing when it kept its value:
  // then neither the title nor the maps have anything new to show.
  const bool changed = delta != nullptr || modified != modified_;
  modified_ = modified;
  updateStartMileageField();
  if (changed) host().viewEditsChanged();
}

void CRoadFlatView::recordStartMileage() { undo_.record(undoText("IDS_UNDO_edit", "IDS_UNDO_start_mileage")); }

void CRoadFlatView::commitPendingInput() {
  recordStartMileage();
  if (!modified_) return;
  // Every page with edits is stored, so no page left with edits behind a
  // free tab loses them; the page on show is stored last, and its method is
  // the road's.
  CRoadFlatPageBase* current = page(currentPage());
  for (int i = 0; i < 3; ++i) {
    if (page(i) != current && page(i)->rules().dataChanged) page(i)->save();
  }
  if (current != nullptr && current->rules().dataChanged) current->save();
  modified_ = false;
}

void CRoadFlatView::reloadFromRoad() {
  // Every page copies the road again, so no page keeps the previous road's
  // input behind a free tab.
  for (int i = 0; i < 3; ++i) page(i)->reloadFromRoad();
  modified_ = false;
  undo_.reset();
  const int type = host().roadLibrary().FlatcurveType;
  const bool methodInForce = type >= 0 && type <= 2;
  tabs_->setLocked(false);
  tabs_->selectPage(methodInForce ? type : 0);
  tabs_->setLocked(methodInForce);
  CRoadFlatPageBase* p = page(currentPage());
  // The list mode stays as chosen; a road without input only shows empty lists.
  const bool hasInput = p->inputRowCount() > 0;
  if (mode_ != 0 && hasInput) {
    p->setListModeFromRoad(mode_);
  } else if (mode_ != 0) {
    p->rules().setListMode(0);
    p->rules().listMode = mode_;
    p->refreshList();
  }
  updateStartMileageField();
}

ImportResult CRoadFlatView::importAlignmentFile(const std::string& path, int elementFile) {
  const int index = elementFile ? 1 : 0;
  CRoadFlatPageBase* p = page(index);
  if (!p->importFile(path)) return ImportResult::kUnreadable;
  tabs_->setLocked(false);
  tabs_->selectPage(index);
  tabs_->setLocked(true);
  modified_ = false;
  // The import is stored: the history starts from it.
  undo_.reset();
  updateStartMileageField();
  return ImportResult::kImported;
}

}  // namespace trazmark
