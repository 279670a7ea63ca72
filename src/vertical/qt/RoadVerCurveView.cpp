#include "vertical/qt/RoadVerCurveView.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "library/InputRoadLibrary.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RecordTableModel.h"
#include "platform/qt/ShellIds.h"
#include "platform/qt/UserDialogs.h"
#include "vertical/qt/RoadVerCurveNewDlg.h"

namespace trazmark {
namespace {

/// Control ids of the page's buttons ("IDD323_<id>" in the language file).
enum VerCurveControl : int {
  kCtlVerCurveAdd = 1101,
  kCtlVerCurveEdit = 1102,
  kCtlVerCurveDelete = 1103,
  kCtlVerCurveSave = 1104,
  kCtlVerCurveReload = 1105,
  kCtlVerCurveDraw = 1106,
};

/// The list's two icons: a circular arc and a parabola over a grade point.
QIcon curveIcon(bool parabola) {
  static const QIcon icons[2] = {
      [] {
        QPixmap p(24, 24);
        p.fill(Qt::transparent);
        QPainter g(&p);
        g.setRenderHint(QPainter::Antialiasing);
        g.setPen(QPen(QColor(200, 30, 30), 2));
        g.drawArc(QRect(3, 6, 18, 18), 30 * 16, 120 * 16);
        g.setBrush(QColor(40, 40, 40));
        g.drawEllipse(QPoint(12, 8), 2, 2);
        return QIcon(p);
      }(),
      [] {
        QPixmap p(24, 24);
        p.fill(Qt::transparent);
        QPainter g(&p);
        g.setRenderHint(QPainter::Antialiasing);
        g.setPen(QPen(QColor(30, 90, 200), 2));
        QPainterPath path(QPointF(2, 20));
        path.quadTo(QPointF(12, 0), QPointF(22, 20));
        g.drawPath(path);
        g.setBrush(QColor(40, 40, 40));
        g.drawEllipse(QPoint(12, 10), 2, 2);
        return QIcon(p);
      }()};
  return icons[parabola ? 1 : 0];
}

QPushButton* commandButton(QWidget* parent, const char* name, const char* builtIn, int id) {
  // The views' common button (100 pixels wide where there is room, narrowing
  // to its caption beside the earthwork pane), at this view's height.
  QPushButton* b = trazmark::commandButton(builtIn, id, parent);
  b->setObjectName(QLatin1String(name));
  b->setFixedHeight(32);
  return b;
}

}  // namespace

CRoadVerCurveView::CRoadVerCurveView(CDataViewHost& host, QWidget* parent)
    : CDataView(kKindVerCurve, host, parent),
      model_(new CRecordTableModel(this)),
      table_(new QTableView(this)),
      undo_(
          this, [this] { return editor_.undoState(); },
          [this](CRoadVerCurveEditor::UndoState s) { editor_.restoreUndoState(std::move(s)); },
          [this](bool modified) {
            editor_.setModified(modified);
            changed();
            this->host().viewEditsChanged();
          }) {
  setObjectName(QStringLiteral("roadVerCurveView"));
  auto cell = [this](int column) {
    return [this, column](int row) { return toQt(editor_.cellText(row, column)); };
  };
  std::vector<CRecordTableModel::Column> columns;
  columns.push_back({"#", 60, cell(CRoadVerCurveEditor::kColumnIndex),
                     [this](int row) { return curveIcon(editor_.isParabola(row)); }});
  columns.push_back({"IDS_DATA_slop_mileage", 100, cell(CRoadVerCurveEditor::kColumnMileage), {},
                     Qt::AlignRight | Qt::AlignVCenter});
  columns.push_back({"IDS_DATA_coordinate_hight", 100, cell(CRoadVerCurveEditor::kColumnElevation), {},
                     Qt::AlignRight | Qt::AlignVCenter});
  columns.push_back({"IDS_DATA_radius", 100, cell(CRoadVerCurveEditor::kColumnRadius), {},
                     Qt::AlignRight | Qt::AlignVCenter});
  model_->setColumns(std::move(columns), [this] { return editor_.count(); });
  table_->setObjectName(QStringLiteral("verCurveTable"));
  setupRecordTable(table_, model_);
  table_->setIconSize(QSize(24, 24));
  table_->verticalHeader()->setDefaultSectionSize(26);
  connect(table_, &QTableView::doubleClicked, this, [this] { onEdit(); });

  auto* add = commandButton(this, "addButton", "增加", kCtlVerCurveAdd);
  auto* edit = commandButton(this, "editButton", "编辑", kCtlVerCurveEdit);
  auto* remove = commandButton(this, "deleteButton", "删除", kCtlVerCurveDelete);
  saveButton_ = commandButton(this, "saveButton", "保存", kCtlVerCurveSave);
  auto* reload = commandButton(this, "reloadButton", "重新载入", kCtlVerCurveReload);
  auto* draw = commandButton(this, "drawButton", "图形", kCtlVerCurveDraw);
  connect(add, &QPushButton::clicked, this, [this] { onAdd(); });
  connect(edit, &QPushButton::clicked, this, [this] { onEdit(); });
  connect(remove, &QPushButton::clicked, this, [this] { deletePoint(); });
  connect(saveButton_, &QPushButton::clicked, this, [this] { save(); });
  connect(reload, &QPushButton::clicked, this, [this] { reloadPoints(); });
  connect(draw, &QPushButton::clicked, this, [this] { drawProfile(); });

  auto* buttons = new QHBoxLayout;
  for (QPushButton* b : {add, edit, remove, saveButton_, reload, draw}) buttons->addWidget(b);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(3, 5, 3, 5);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);
  LocalizeDialog(this, kDlgRoadVerCurveView);

  reloadFromRoad();
}

int CRoadVerCurveView::selectedRow() const {
  const QModelIndexList rows = table_->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

void CRoadVerCurveView::selectRow(int row) {
  if (row < 0 || row >= editor_.count())
    table_->clearSelection();
  else
    table_->selectRow(row);
}

bool CRoadVerCurveView::addPoint(const GradePointInput& input) {
  const std::string key = editor_.add(input);
  if (!key.empty()) {
    host().userDialogs().warning(key);
    return false;
  }
  undo_.record(undoText("IDS_UNDO_add", "IDS_UNDO_grade_point"));
  selectRow(editor_.count() - 1);
  return true;
}

bool CRoadVerCurveView::editPoint(int row, const GradePointInput& input) {
  if (row < 0) row = selectedRow();
  if (row < 0 || row >= editor_.count()) {
    host().userDialogs().warning("IDS_WARN_select_element_first");
    return false;
  }
  const std::string key = editor_.edit(row, input);
  if (!key.empty()) {
    host().userDialogs().warning(key);
    return false;
  }
  undo_.record(undoText("IDS_UNDO_edit", "IDS_UNDO_grade_point"));
  selectRow(row);
  return true;
}

bool CRoadVerCurveView::deletePoint(int row) {
  if (row < 0) row = selectedRow();
  if (!editor_.remove(row)) {
    host().userDialogs().warning("IDS_WARN_select_element_first");
    return false;
  }
  // Undo brings the point back: no question first.
  undo_.record(undoText("IDS_UNDO_delete", "IDS_UNDO_grade_point"));
  selectRow(std::min(row, editor_.count() - 1));
  return true;
}

void CRoadVerCurveView::save() {
  editor_.saveTo(host().roadLibrary().verticalCurves);
  host().setRoadModified();
  undo_.markSaved();
}

void CRoadVerCurveView::reloadFromRoad() {
  editor_.load(host().roadLibrary().verticalCurves);
  undo_.reset();
}

void CRoadVerCurveView::reloadPoints() {
  // The user's own reload is a step like any edit: undo brings back what it
  // replaced, so it asks nothing.
  editor_.load(host().roadLibrary().verticalCurves);
  undo_.record(undoText("IDS_UNDO_reload"));
}

bool CRoadVerCurveView::drawProfile() {
  const bool drawn = CRoadVerCurveEditor::handOverProfile(
      editor_.points(), [this](const std::string& path) { host().showProfileFile(path); });
  // Without its file the profile cannot be drawn; the user is told rather
  // than left looking at the old drawing.
  if (!drawn) host().userDialogs().warning("IDS_WARN_save_file_failed");
  return drawn;
}

void CRoadVerCurveView::onAdd() {
  CRoadVerCurveNewDlg dialog(
      host().userDialogs(),
      [this](const GradePointInput& in) { return CRoadVerCurveForm::refusal(in, editor_.lowestForAdd(), std::nullopt); },
      this);
  GradePointInput start;
  if (editor_.count() > 0) start.mileage = editor_.points().back().Mileage;
  dialog.setInput(start);
  const int result = runDialog_ ? runDialog_(dialog) : dialog.exec();
  if (result == QDialog::Accepted) addPoint(dialog.input());
}

void CRoadVerCurveView::onEdit() {
  const int row = selectedRow();
  if (row < 0) {
    host().userDialogs().warning("IDS_WARN_select_element_first");
    return;
  }
  CRoadVerCurveNewDlg dialog(
      host().userDialogs(),
      [this, row](const GradePointInput& in) {
        return CRoadVerCurveForm::refusal(in, editor_.lowestForEdit(row), editor_.highestForEdit(row));
      },
      this);
  dialog.setInput(CRoadVerCurveForm::fromRecord(editor_.points()[static_cast<std::size_t>(row)]));
  const int result = runDialog_ ? runDialog_(dialog) : dialog.exec();
  if (result == QDialog::Accepted) editPoint(row, dialog.input());
}

void CRoadVerCurveView::changed() {
  model_->reset();
  updateSaveButton();
}

void CRoadVerCurveView::updateSaveButton() { saveButton_->setEnabled(editor_.modified()); }

}  // namespace trazmark
