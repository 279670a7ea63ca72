#include "crosssection/qt/RoadSuperHighView.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "crosssection/qt/CrossSectionControlIds.h"
#include "crosssection/qt/RoadSuperHighNewDlg.h"
#include "library/InputRoadLibrary.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RecordTableModel.h"
#include "platform/qt/ShellIds.h"
#include "platform/qt/UserDialogs.h"

namespace trazmark {

namespace {

constexpr auto column = &CRecordTableModel::column;

}  // namespace

CRoadSuperHighView::CRoadSuperHighView(SuperValueKind kind, CDataViewHost& host, QWidget* parent)
    : CDataView(kind == SuperValueKind::kWidth ? kKindSuperWiden : kKindSuperHigh, host, parent),
      editor_(kind),
      model_(new CRecordTableModel(this)),
      table_(new QTableView(this)),
      undo_(
          this, [this] { return editor_.undoState(); },
          [this](CRoadSuperEditor::UndoState s) { editor_.restoreUndoState(std::move(s)); },
          [this](bool modified) {
            editor_.setModified(modified);
            changed();
            this->host().viewEditsChanged();
          }) {
  const bool widening = kind == SuperValueKind::kWidth;
  setObjectName(widening ? QStringLiteral("roadSuperWidenView") : QStringLiteral("roadSuperHighView"));
  auto item = [this](int row) -> const Road_Super_Item& { return editor_.itemOfRow(row); };
  auto value = [this](int row) -> const Road_Super_Value& { return editor_.valueOfRow(row); };
  auto number = [](double v) { return QString::asprintf("%.3f", v); };
  model_->setColumns(
      {
          column("Index", 0, [this](int row) { return QString::number(editor_.rows()[static_cast<std::size_t>(row)].item); }),
          column("SubIndex", 0,
           [this](int row) { return QString::number(editor_.rows()[static_cast<std::size_t>(row)].value); }),
          column("IDS_DATA_name", 150,
           [item](int row) {
             return toQt(superEntryText(item(row), GetLanguageText("IDS_DATA_left"), GetLanguageText("IDS_DATA_right")));
           }),
          column("IDS_DATA_mileage", 100, [value, number](int row) { return number(value(row).Mileage); }),
          column(widening ? "IDS_DATA_width" : "IDS_DATA_cross_slope", 100,
           [value, number, kind](int row) { return number(superValue(value(row), kind)); }),
          column("IDS_DATA_gradient_mode", 100,
           [value](int row) {
             const char* key = gradientModeKey(value(row).Mode);
             return *key ? toQt(GetLanguageText(key)) : QString::number(value(row).Mode);
           }),
      },
      [this] { return editor_.rowCount(); });
  setupRecordTable(table_, model_);
  // The two index columns are the row's place in the items; they stay hidden.
  table_->setColumnHidden(0, true);
  table_->setColumnHidden(1, true);

  QPushButton* add = commandButton("增加", kCtlXsNew, this);
  QPushButton* edit = commandButton("编辑", kCtlXsEdit, this);
  QPushButton* del = commandButton("删除", kCtlXsDelete, this);
  save_ = commandButton("保存", kCtlXsSave, this);
  connect(add, &QPushButton::clicked, this, &CRoadSuperHighView::add);
  connect(edit, &QPushButton::clicked, this, &CRoadSuperHighView::edit);
  connect(del, &QPushButton::clicked, this, &CRoadSuperHighView::remove);
  connect(save_, &QPushButton::clicked, this, &CRoadSuperHighView::save);
  connect(table_, &QTableView::doubleClicked, this, &CRoadSuperHighView::edit);

  auto* buttons = new QHBoxLayout;
  buttons->setSpacing(20);
  buttons->addWidget(add);
  buttons->addWidget(edit);
  buttons->addWidget(del);
  buttons->addStretch(1);
  buttons->addWidget(save_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(3, 5, 3, 5);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);
  LocalizeDialog(this, widening ? kDlgRoadSuperWidenView : kDlgRoadSuperHighView);
  reloadFromRoad();
}

int CRoadSuperHighView::selectedRow() const {
  const QModelIndexList rows = table_->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void CRoadSuperHighView::selectRow(int row) { table_->selectRow(row); }

std::vector<SuperComponentEntry> CRoadSuperHighView::componentEntries() {
  // Components saved in the cross-section view since this view loaded the
  // road are offered too.
  editor_.refreshComponents(host().roadLibrary());
  return superComponentEntries(editor_.leftSections(), editor_.rightSections(), GetLanguageText("IDS_DATA_left"),
                               GetLanguageText("IDS_DATA_right"));
}

void CRoadSuperHighView::reloadFromRoad() {
  editor_.load(host().roadLibrary());
  undo_.reset();
}

QString CRoadSuperHighView::stepText(const char* verbKey) const {
  return undoText(verbKey, editor_.kind() == SuperValueKind::kWidth ? "IDS_UNDO_widen_point" : "IDS_UNDO_super_point");
}

void CRoadSuperHighView::changed() {
  // The list is read again whole: rows of one item shift when a point moves.
  model_->reset();
  save_->setEnabled(editor_.isModified());
}

void CRoadSuperHighView::add() {
  CRoadSuperHighNewDlg dialog(editor_.kind(), host().userDialogs(), componentEntries(), this);
  if (!runDialog_(dialog)) return;
  UserDialogs& dialogs = host().userDialogs();
  editor_.add(dialog.entry().item, dialog.entry().value,
              [&dialogs](const std::string& key) { return dialogs.questionYesNo(key); });
  undo_.record(stepText("IDS_UNDO_add"));
}

void CRoadSuperHighView::edit() {
  const int row = selectedRow();
  if (row < 0) return;
  const CRoadSuperEditor::Row r = editor_.rows()[static_cast<std::size_t>(row)];
  CRoadSuperHighNewDlg dialog(editor_.kind(), host().userDialogs(), componentEntries(), editor_.itemOfRow(row),
                              r.value, this);
  if (!runDialog_(dialog)) return;
  editor_.replace(row, dialog.entry().value);
  undo_.record(stepText("IDS_UNDO_edit"));
  selectRow(row);
}

void CRoadSuperHighView::remove() {
  const int row = selectedRow();
  if (row < 0) return;
  // Undo brings the change point back: no question first.
  if (editor_.remove(row)) undo_.record(stepText("IDS_UNDO_delete"));
}

void CRoadSuperHighView::save() {
  editor_.save(host().roadLibrary());
  host().setRoadModified();
  undo_.markSaved();
}

}  // namespace trazmark
