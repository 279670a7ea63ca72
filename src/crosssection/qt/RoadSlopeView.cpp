#include "crosssection/qt/RoadSlopeView.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "crosssection/qt/CrossSectionControlIds.h"
#include "crosssection/qt/RoadSlopeNewDlg.h"
#include "library/InputRoadLibrary.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RecordTableModel.h"
#include "platform/qt/ShellIds.h"
#include "platform/qt/TabSheet.h"
#include "platform/qt/UserDialogs.h"

namespace trazmark {

namespace {

constexpr auto column = &CRecordTableModel::column;

QString text(const char* key) { return toQt(GetLanguageText(key)); }
QString number(double v) { return QString::asprintf("%.3f", v); }

// The step list's value columns serve both kinds of step; each header names
// both meanings, "height/width" and "ratio/cross slope".
class CStepTableModel : public CRecordTableModel {
 public:
  using CRecordTableModel::CRecordTableModel;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
      if (section == 3) return text("IDS_DATA_slope_high") + '/' + text("IDS_DATA_width");
      if (section == 4) return text("IDS_DATA_slope_scale") + '/' + text("IDS_DATA_cross_slope");
    }
    return CRecordTableModel::headerData(section, orientation, role);
  }
};

QWidget* pageWith(QWidget* parent, QTableView* table, const std::vector<QPushButton*>& left, QPushButton* right) {
  auto* page = new QWidget(parent);
  table->setParent(page);
  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(20);
  for (QPushButton* b : left) {
    b->setParent(page);
    buttons->addWidget(b);
  }
  buttons->addStretch(1);
  right->setParent(page);
  buttons->addWidget(right);
  auto* layout = new QVBoxLayout(page);
  layout->setContentsMargins(0, 0, 5, 3);
  layout->addWidget(table, 1);
  layout->addLayout(buttons);
  return page;
}

}  // namespace

int selectedTableRow(const QTableView* table) {
  if (table == nullptr || table->selectionModel() == nullptr) return -1;
  const QModelIndexList rows = table->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

CRoadSlopeView::CRoadSlopeView(CDataViewHost& host, QWidget* parent)
    : CDataView(kKindSlope, host, parent),
      tabs_(new CTabSheet(this)),
      slopeModel_(new CRecordTableModel(this)),
      stepModel_(new CStepTableModel(this)),
      undo_(
          this, [this] { return editor_.undoState(); },
          [this](CRoadSlopeEditor::UndoState s) { restore(std::move(s)); },
          [this](bool modified) {
            editor_.setModified(modified);
            refresh();
            this->host().viewEditsChanged();
          }) {
  setObjectName(QStringLiteral("roadSlopeView"));
  auto slope = [this](int row) -> const Road_Slope& { return editor_.slopes()[static_cast<std::size_t>(row)]; };
  slopeModel_->setColumns(
      {
          column("#", 50, [](int row) { return QString::number(row + 1); }),
          column("IDS_DATA_side", 50,
           [slope](int row) { return text(slope(row).LeftRight == 1 ? "IDS_DATA_right" : "IDS_DATA_left"); }),
          column("IDS_DATA_type", 60, [slope](int row) { return text(slope(row).Type == 1 ? "IDS_DATA_fill" : "IDS_DATA_dig"); }),
          column("IDS_DATA_name", 100, [slope](int row) { return toQt(slope(row).SlopeName); }),
          column("IDS_DATA_start_mileage", 100, [slope](int row) { return number(slope(row).StartMileage); }),
          column("IDS_DATA_end_mileage", 100, [slope](int row) { return number(slope(row).EndMileage); }),
      },
      [this] { return editor_.slopes().count(); });
  auto step = [this](int row) -> const Road_Slope_Item& { return editor_.steps()[static_cast<std::size_t>(row)]; };
  stepModel_->setColumns(
      {
          column("#", 50, [](int row) { return QString::number(row + 1); }),
          column("IDS_DATA_type", 90,
           [step](int row) {
             return text(step(row).Mode == kStepPlatform ? "IDS_DATA_platform" : "IDS_DATA_slope_surface");
           }),
          column("IDS_DATA_name", 100, [step](int row) { return toQt(step(row).ItemName); }),
          column("", 100,
           [step](int row) { return number(step(row).Mode == kStepPlatform ? step(row).Width : step(row).SlopeH); }),
          column("", 100, [step](int row) { return number(step(row).SlopeScale); }),
      },
      [this] { return editor_.steps().count(); });

  tabs_->addPage(text("IDS_DATA_slope"), kDlgRoadSlopePage, [this](QWidget* p) { return makeSlopePage(p); });
  tabs_->addPage(text("IDS_DATA_slope_lib"), kDlgRoadSlopeItemPage, [this](QWidget* p) { return makeStepPage(p); });
  tabs_->showPages();
  // A tab chosen by the user: the step tab shows the selected slope's steps.
  connect(tabs_, &CTabSheet::tabChanged, this, [this](int index) {
    editor_.tabChosen(index == 1 ? CRoadSlopeEditor::kStepPage : CRoadSlopeEditor::kSlopePage,
                      selectedTableRow(slopeTable_));
    refresh();
  });
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(3, 5, 3, 5);
  layout->addWidget(tabs_);
  LocalizeDialog(this, kDlgRoadSlopeView);
  reloadFromRoad();
}

QWidget* CRoadSlopeView::makeSlopePage(QWidget* parent) {
  slopeTable_ = new QTableView;
  setupRecordTable(slopeTable_, slopeModel_);
  QPushButton* add = commandButton("新建", kCtlXsNew, nullptr);
  QPushButton* edit = commandButton("编辑", kCtlXsEdit, nullptr);
  QPushButton* del = commandButton("删除", kCtlXsDelete, nullptr);
  QPushButton* steps = commandButton("边坡库", kCtlSlopeSteps, nullptr);
  save_ = commandButton("保存", kCtlXsSave, nullptr);
  connect(add, &QPushButton::clicked, this, &CRoadSlopeView::newSlope);
  connect(edit, &QPushButton::clicked, this, &CRoadSlopeView::editSlope);
  connect(del, &QPushButton::clicked, this, &CRoadSlopeView::deleteSlope);
  connect(steps, &QPushButton::clicked, this, &CRoadSlopeView::showSteps);
  connect(save_, &QPushButton::clicked, this, &CRoadSlopeView::save);
  connect(slopeTable_, &QTableView::doubleClicked, this, &CRoadSlopeView::editSlope);
  QWidget* page = pageWith(parent, slopeTable_, {add, edit, del, steps}, save_);
  page->setObjectName(QStringLiteral("slopePage"));
  return page;
}

QWidget* CRoadSlopeView::makeStepPage(QWidget* parent) {
  stepTable_ = new QTableView;
  setupRecordTable(stepTable_, stepModel_);
  QPushButton* add = commandButton("新建", kCtlXsNew, nullptr);
  QPushButton* edit = commandButton("编辑", kCtlXsEdit, nullptr);
  QPushButton* del = commandButton("删除", kCtlXsDelete, nullptr);
  QPushButton* done = commandButton("确定", kCtlSlopeStepsDone, nullptr);
  connect(add, &QPushButton::clicked, this, &CRoadSlopeView::newStep);
  connect(edit, &QPushButton::clicked, this, &CRoadSlopeView::editStep);
  connect(del, &QPushButton::clicked, this, &CRoadSlopeView::deleteStep);
  connect(done, &QPushButton::clicked, this, &CRoadSlopeView::stepsDone);
  connect(stepTable_, &QTableView::doubleClicked, this, &CRoadSlopeView::editStep);
  QWidget* page = pageWith(parent, stepTable_, {add, edit, del}, done);
  page->setObjectName(QStringLiteral("stepPage"));
  stepCaption_ = new QLabel(page);
  stepCaption_->setObjectName(QStringLiteral("stepCaption"));
  static_cast<QVBoxLayout*>(page->layout())->insertWidget(0, stepCaption_);
  return page;
}

void CRoadSlopeView::refresh() {
  slopeModel_->reset();
  stepModel_->reset();
  save_->setEnabled(editor_.isModified());
  QString caption = text(editor_.stepPageCaptionKey());
  if (editor_.chosenSlope() >= 0) caption = caption.arg(toQt(editor_.chosenSlopeName()));
  stepCaption_->setText(caption);
}

void CRoadSlopeView::pageMessage(int first, int second) {
  // Steps edited on the step page return to their slope when the user is
  // done or chooses another slope: that return is the edit undo takes back.
  const bool returning = editor_.hasStepEdits() && first != kSlopeSetModified;
  editor_.pageMessage(first, second);
  if (returning && !editor_.hasStepEdits()) undo_.record(undoText("IDS_UNDO_edit", "IDS_UNDO_steps"));
  refresh();
  tabs_->selectPage(editor_.page() == CRoadSlopeEditor::kStepPage ? 1 : 0);
}

void CRoadSlopeView::reloadFromRoad() {
  editor_.load(host().roadLibrary());
  undo_.reset();
  tabs_->selectPage(0);
}

void CRoadSlopeView::restore(CRoadSlopeEditor::UndoState state) {
  editor_.restoreUndoState(std::move(state));
  // The page of the step undone or redone is shown with its list.
  tabs_->selectPage(editor_.page() == CRoadSlopeEditor::kStepPage ? 1 : 0);
}

void CRoadSlopeView::newSlope() {
  CRoadSlopeNewDlg dialog(host().userDialogs(), editor_.slopes(), -1, this);
  if (!runDialog_(dialog)) return;
  editor_.addSlope(dialog.slope());
  undo_.record(undoText("IDS_UNDO_add", "IDS_UNDO_slope"));
  slopeTable_->selectRow(editor_.slopes().count() - 1);
}

void CRoadSlopeView::editSlope() {
  const int row = selectedTableRow(slopeTable_);
  if (row < 0) return;
  CRoadSlopeNewDlg dialog(host().userDialogs(), editor_.slopes(), row, this);
  if (!runDialog_(dialog)) return;
  editor_.replaceSlope(row, dialog.slope());
  undo_.record(undoText("IDS_UNDO_edit", "IDS_UNDO_slope"));
  slopeTable_->selectRow(row);
}

void CRoadSlopeView::deleteSlope() {
  const int row = selectedTableRow(slopeTable_);
  if (row < 0) return;
  // Undo brings the slope and its steps back: no question first.
  if (editor_.removeSlope(row)) undo_.record(undoText("IDS_UNDO_delete", "IDS_UNDO_slope"));
}

void CRoadSlopeView::showSteps() {
  const int row = selectedTableRow(slopeTable_);
  if (row < 0) return;
  pageMessage(row);
}

void CRoadSlopeView::save() {
  editor_.save(host().roadLibrary());
  host().setRoadModified();
  undo_.markSaved();
}

void CRoadSlopeView::commitPendingInput() {
  const bool returning = editor_.hasStepEdits();
  editor_.commit(host().roadLibrary());
  if (returning) undo_.record(undoText("IDS_UNDO_edit", "IDS_UNDO_steps"));
  host().setRoadModified();
  undo_.markSaved();
}

void CRoadSlopeView::newStep() {
  if (editor_.chosenSlope() < 0) {
    host().userDialogs().warning(editor_.stepPageCaptionKey());
    return;
  }
  CRoadSlopeItemNewDlg dialog(host().userDialogs(), editor_.chosenSlopeName(), nullptr, this);
  if (!runDialog_(dialog)) return;
  if (editor_.addStep(dialog.step())) undo_.record(undoText("IDS_UNDO_add", "IDS_UNDO_step"));
  stepTable_->selectRow(editor_.steps().count() - 1);
}

void CRoadSlopeView::editStep() {
  const int row = selectedTableRow(stepTable_);
  if (row < 0 || row >= editor_.steps().count()) return;
  CRoadSlopeItemNewDlg dialog(host().userDialogs(), editor_.chosenSlopeName(),
                              &editor_.steps()[static_cast<std::size_t>(row)], this);
  if (!runDialog_(dialog)) return;
  if (editor_.replaceStep(row, dialog.step())) undo_.record(undoText("IDS_UNDO_edit", "IDS_UNDO_step"));
  stepTable_->selectRow(row);
}

void CRoadSlopeView::deleteStep() {
  const int row = selectedTableRow(stepTable_);
  if (row < 0) return;
  if (editor_.removeStep(row)) undo_.record(undoText("IDS_UNDO_delete", "IDS_UNDO_step"));
}

}  // namespace trazmark
