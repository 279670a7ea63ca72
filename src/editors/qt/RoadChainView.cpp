#include "editors/qt/RoadChainView.h"

#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "editors/qt/EditorsControlIds.h"
#include "editors/qt/RoadChainNewDlg.h"
#include "library/InputRoadLibrary.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RecordTableModel.h"
#include "platform/qt/ShellIds.h"

namespace trazmark {

namespace {

constexpr auto column = &CRecordTableModel::column;

QString mileageText(double v) { return QString::asprintf("%.4f", v); }

}  // namespace

CRoadChainView::CRoadChainView(CDataViewHost& host, QWidget* parent)
    : CDataView(kKindBrokenChain, host, parent),
      model_(new CRecordTableModel(this)),
      table_(new QTableView(this)),
      undo_(
          this, [this] { return editor_.undoState(); },
          [this](CRoadChainEditor::UndoState s) { editor_.restoreUndoState(std::move(s)); },
          [this](bool modified) {
            editor_.setModified(modified);
            changed();
            this->host().viewEditsChanged();
          }) {
  setObjectName(QStringLiteral("roadChainView"));
  auto chain = [this](int row) -> const Scisson_Data& { return editor_.chains()[static_cast<std::size_t>(row)]; };
  model_->setColumns(
      {
          column("#", 60, [](int row) { return QString::number(row + 1); }),
          column("IDS_DATA_type", 100,
           [chain](int row) {
             return toQt(GetLanguageText(chain(row).Type == 1 ? "IDS_DATA_shortchain" : "IDS_DATA_longchain"));
           }),
          column("IDS_DATA_length", 120, [chain](int row) { return mileageText(chain(row).Length); }),
          column("IDS_DATA_before_mileage", 140, [chain](int row) { return mileageText(chain(row).Before_mileage); }),
          column("IDS_DATA_after_mileage", 140, [chain](int row) { return mileageText(chain(row).After_mileage); }),
      },
      [this] { return editor_.chains().count(); });
  setupRecordTable(table_, model_);
  table_->setShowGrid(true);

  QPushButton* add = commandButton("增加", kCtlChainAdd, this);
  QPushButton* edit = commandButton("编辑", kCtlChainEdit, this);
  QPushButton* del = commandButton("删除", kCtlChainDelete, this);
  save_ = commandButton("保存", kCtlChainSave, this);
  connect(add, &QPushButton::clicked, this, &CRoadChainView::add);
  connect(edit, &QPushButton::clicked, this, &CRoadChainView::edit);
  connect(del, &QPushButton::clicked, this, &CRoadChainView::remove);
  connect(save_, &QPushButton::clicked, this, &CRoadChainView::save);
  connect(table_, &QTableView::doubleClicked, this, &CRoadChainView::edit);

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
  LocalizeDialog(this, kDlgRoadChainView);
  reloadFromRoad();
}

int CRoadChainView::selectedRow() const {
  const QModelIndexList rows = table_->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void CRoadChainView::selectRow(int row) { table_->selectRow(row); }

void CRoadChainView::reloadFromRoad() {
  editor_.load(host().roadLibrary());
  undo_.reset();
}

void CRoadChainView::changed() {
  model_->reset();
  save_->setEnabled(editor_.isModified());
}

void CRoadChainView::add() {
  CRoadChainNewDlg dialog(host().userDialogs(), nullptr, this);
  if (!runDialog_(dialog)) return;
  editor_.add(dialog.chain());
  undo_.record(undoText("IDS_UNDO_add", "IDS_UNDO_chain"));
  selectRow(editor_.chains().count() - 1);
}

void CRoadChainView::edit() {
  const int row = selectedRow();
  if (row < 0) return;
  CRoadChainNewDlg dialog(host().userDialogs(), &editor_.chains()[static_cast<std::size_t>(row)], this);
  if (!runDialog_(dialog)) return;
  editor_.replace(row, dialog.chain());
  undo_.record(undoText("IDS_UNDO_edit", "IDS_UNDO_chain"));
  selectRow(row);
}

void CRoadChainView::remove() {
  const int row = selectedRow();
  if (row < 0) return;
  // Undo brings the chain back: no question first.
  if (editor_.remove(row)) undo_.record(undoText("IDS_UNDO_delete", "IDS_UNDO_chain"));
}

void CRoadChainView::save() {
  editor_.save(host().roadLibrary());
  host().setRoadModified();
  undo_.markSaved();
}

}  // namespace trazmark
