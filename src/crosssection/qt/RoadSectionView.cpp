#include "crosssection/qt/RoadSectionView.h"

#include <QHeaderView>
#include <QPainter>
#include <QPushButton>
#include <QResizeEvent>
#include <QTabWidget>
#include <QTableView>

#include "crosssection/qt/RoadSectionItemDlg.h"
#include "library/InputRoadLibrary.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RecordTableModel.h"
#include "platform/qt/ShellIds.h"
#include "platform/qt/UserDialogs.h"

namespace trazmark {
namespace {

/// Control ids of the view's buttons ("IDD325_<id>" in the language file).
enum SectionControl : int {
  kCtlSectionAdd = 1201,
  kCtlSectionEdit = 1202,
  kCtlSectionDelete = 1203,
  kCtlSectionMirror = 1204,
  kCtlSectionGraphics = 1205,
  kCtlSectionSave = 1206,
};

/// Button geometry: 100 by 40 pixels, 45 above the bottom; the tab control
/// keeps 3 pixels to the sides, 5 to the top and 53 to the bottom.
constexpr int kButtonWidth = 100;
constexpr int kButtonHeight = 40;
constexpr int kButtonBottom = 45;
constexpr int kSaveFromRight = 105;
constexpr int kRowHeight = 24;

QIcon componentIcon() {
  static const QIcon icon = [] {
    QPixmap p(24, 24);
    p.fill(Qt::transparent);
    QPainter g(&p);
    g.setPen(QPen(QColor(30, 60, 200), 2));
    g.drawLine(2, 10, 22, 14);
    g.drawLine(2, 10, 2, 18);
    return QIcon(p);
  }();
  return icon;
}

}  // namespace

CRoadSectionView::CRoadSectionView(CDataViewHost& host, QWidget* parent)
    : CDataView(kKindCrossSection, host, parent),
      tabs_(new QTabWidget(this)),
      undo_(
          this, [this] { return editor_.undoState(); },
          [this](CStandardSectionEditor::UndoState s) { restore(std::move(s)); },
          [this](bool modified) {
            editor_.setModified(modified);
            changed();
            this->host().viewEditsChanged();
          }) {
  setObjectName(QStringLiteral("roadSectionView"));
  tabs_->setObjectName(QStringLiteral("sectionTabs"));
  for (int side : {kSectionLeft, kSectionRight}) {
    auto* model = new CRecordTableModel(this);
    const std::string letterKey = side == kSectionLeft ? "IDS_DATA_left" : "IDS_DATA_right";
    auto cell = [this, side, letterKey](int column) {
      return [this, side, letterKey, column](int row) {
        const QString letter = languageTextOr(letterKey.c_str(), side == kSectionLeft ? QString::fromUtf8("左")
                                                                                      : QString::fromUtf8("右"));
        return toQt(editor_.cellText(side, row, column, fromQt(letter)));
      };
    };
    std::vector<CRecordTableModel::Column> columns;
    columns.push_back({"#", 70, cell(CStandardSectionEditor::kColumnIndex), [](int) { return componentIcon(); }});
    columns.push_back({"IDS_DATA_name", 70, cell(CStandardSectionEditor::kColumnName), {}});
    columns.push_back({"IDS_DATA_width", 70, cell(CStandardSectionEditor::kColumnWidth), {},
                       Qt::AlignRight | Qt::AlignVCenter});
    columns.push_back({"IDS_DATA_cross_slope", 70, cell(CStandardSectionEditor::kColumnSlope), {},
                       Qt::AlignRight | Qt::AlignVCenter});
    columns.push_back({"IDS_DATA_road_teeth", 90, cell(CStandardSectionEditor::kColumnRoadteeth), {},
                       Qt::AlignRight | Qt::AlignVCenter});
    model->setColumns(std::move(columns), [this, side] { return editor_.count(side); });
    auto* table = new QTableView(tabs_);
    table->setObjectName(side == kSectionLeft ? QStringLiteral("leftTable") : QStringLiteral("rightTable"));
    setupRecordTable(table, model);
    table->setShowGrid(true);
    table->setIconSize(QSize(kRowHeight, kRowHeight));
    table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    connect(table, &QTableView::doubleClicked, this, [this] { onEdit(); });
    models_[side] = model;
    tables_[side] = table;
    tabs_->addTab(table, side == kSectionLeft ? languageTextOr("IDS_DATA_left_side", QString::fromUtf8("左侧"))
                                              : languageTextOr("IDS_DATA_right_side", QString::fromUtf8("右侧")));
  }

  const struct {
    const char* name;
    const char* text;
    int id;
  } specs[] = {{"addButton", "增加", kCtlSectionAdd},         {"editButton", "编辑", kCtlSectionEdit},
               {"deleteButton", "删除", kCtlSectionDelete},   {"mirrorButton", "镜像", kCtlSectionMirror},
               {"graphicsButton", "图形", kCtlSectionGraphics}, {"saveButton", "保存", kCtlSectionSave}};
  for (int i = 0; i < 6; ++i) {
    buttons_[i] = new QPushButton(QString::fromUtf8(specs[i].text), this);
    buttons_[i]->setObjectName(QLatin1String(specs[i].name));
    setControlId(buttons_[i], specs[i].id);
  }
  saveButton_ = buttons_[5];
  connect(buttons_[0], &QPushButton::clicked, this, [this] { onAdd(); });
  connect(buttons_[1], &QPushButton::clicked, this, [this] { onEdit(); });
  connect(buttons_[2], &QPushButton::clicked, this, [this] { deleteComponent(); });
  connect(buttons_[3], &QPushButton::clicked, this, [this] { mirror(); });
  connect(buttons_[4], &QPushButton::clicked, this, [this] { showGraphics(); });
  connect(buttons_[5], &QPushButton::clicked, this, [this] { save(); });
  LocalizeDialog(this, kDlgRoadSectionView);
  reloadFromRoad();
}

void CRoadSectionView::resizeEvent(QResizeEvent* event) {
  CDataView::resizeEvent(event);
  const int w = width();
  const int h = height();
  const int y = h - kButtonBottom;
  const int xs[] = {5, 125, 245, 365, 485, w - kSaveFromRight};
  for (int i = 0; i < 6; ++i) buttons_[i]->setGeometry(xs[i], y, kButtonWidth, kButtonHeight);
  tabs_->setGeometry(3, 5, std::max(0, w - 6), std::max(0, h - 5 - 53));
}

int CRoadSectionView::currentSide() const { return tabs_->currentIndex() == 1 ? kSectionRight : kSectionLeft; }

void CRoadSectionView::setCurrentSide(int side) { tabs_->setCurrentIndex(side == kSectionRight ? 1 : 0); }

int CRoadSectionView::selectedRow() const {
  const QModelIndexList rows = table(currentSide())->selectionModel()->selectedRows();
  return rows.isEmpty() ? -1 : rows.front().row();
}

bool CRoadSectionView::addComponent(const Road_Section_Item& item) {
  // A full side takes no more, without a message.
  if (!editor_.add(currentSide(), item)) return false;
  undo_.record(undoText("IDS_UNDO_add", "IDS_UNDO_component"));
  return true;
}

bool CRoadSectionView::editComponent(int row, const Road_Section_Item& item) {
  if (row < 0) row = selectedRow();
  if (!editor_.edit(currentSide(), row, item)) return false;
  undo_.record(undoText("IDS_UNDO_edit", "IDS_UNDO_component"));
  table(currentSide())->selectRow(row);
  return true;
}

bool CRoadSectionView::deleteComponent(int row) {
  if (row < 0) row = selectedRow();
  // Undo brings the component back: no question first.
  if (!editor_.remove(currentSide(), row)) return false;
  undo_.record(undoText("IDS_UNDO_delete", "IDS_UNDO_component"));
  return true;
}

void CRoadSectionView::mirror() {
  const int to = editor_.mirror(currentSide());
  undo_.record(undoText("IDS_UNDO_mirror"));
  setCurrentSide(to);
}

void CRoadSectionView::showGraphics() { host().showSectionComponents(editor_.left(), editor_.right()); }

void CRoadSectionView::save() {
  CInputRoadLibrary& road = host().roadLibrary();
  editor_.saveTo(road.leftSections, road.rightSections);
  host().setRoadModified();
  undo_.markSaved();
}

void CRoadSectionView::restore(CStandardSectionEditor::UndoState state) {
  editor_.restoreUndoState(std::move(state));
  // The side the step changed is shown.
  const auto* delta = undo_.lastDelta();
  if (delta != nullptr && delta->changed<1>() && !delta->changed<0>()) setCurrentSide(kSectionRight);
  if (delta != nullptr && delta->changed<0>() && !delta->changed<1>()) setCurrentSide(kSectionLeft);
}

void CRoadSectionView::reloadFromRoad() {
  const CInputRoadLibrary& road = host().roadLibrary();
  editor_.load(road.leftSections, road.rightSections);
  undo_.reset();
}

void CRoadSectionView::onAdd() {
  CRoadSectionItemDlg dialog(this, &host().userDialogs());
  const int result = runDialog_ ? runDialog_(dialog) : dialog.exec();
  if (result == QDialog::Accepted) addComponent(dialog.component());
}

void CRoadSectionView::onEdit() {
  const int row = selectedRow();
  if (row < 0) return;
  CRoadSectionItemDlg dialog(this, &host().userDialogs());
  dialog.setFields(CSectionComponentForm::fromRecord(editor_.side(currentSide())[static_cast<std::size_t>(row)]));
  const int result = runDialog_ ? runDialog_(dialog) : dialog.exec();
  if (result == QDialog::Accepted) editComponent(row, dialog.component());
}

void CRoadSectionView::changed() {
  models_[0]->reset();
  models_[1]->reset();
  saveButton_->setEnabled(editor_.modified());
}

}  // namespace trazmark
