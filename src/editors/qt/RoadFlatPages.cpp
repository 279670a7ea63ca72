#include "editors/qt/RoadFlatPages.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "editors/qt/RoadFlatDialogs.h"
#include "library/InputRoadLibrary.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RecordTableModel.h"
#include "platform/qt/ShellIds.h"
#include "platform/qt/UserDialogs.h"
#include "platform/qt/ViewUndo.h"

namespace trazmark {
namespace {

QString langText(const char* key) { return languageTextOr(key, QString::fromLatin1(key)); }

// The row icons of the element lists: 0 line, 1 arc, 2 spiral, 3 start point.
QIcon elementIcon(int which) {
  static QIcon icons[4];
  if (which < 0 || which > 3) return QIcon();
  if (icons[which].isNull()) {
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(200, 30, 30), 2));
    QPainterPath path;
    switch (which) {
      case 0:
        p.drawLine(2, 13, 14, 3);
        break;
      case 1:
        p.drawArc(QRectF(2, 3, 20, 20), 90 * 16, 90 * 16);
        break;
      case 2:
        path.moveTo(2, 14);
        path.cubicTo(8, 14, 12, 10, 14, 2);
        p.drawPath(path);
        break;
      default:
        p.setBrush(QColor(200, 30, 30));
        p.drawEllipse(QPointF(8, 8), 4, 4);
        break;
    }
    icons[which] = QIcon(pm);
  }
  return icons[which];
}

// A cell text of the rules: a language key for the type and side columns.
QString cellText(const std::string& text) {
  if (text.rfind("IDS_DATA_", 0) == 0) return langText(text.c_str());
  return toQt(text);
}

QPushButton* button(QWidget* parent, QHBoxLayout* row, const char* key) {
  auto* b = new QPushButton(langText(key), parent);
  b->setMinimumHeight(32);
  row->addWidget(b);
  return b;
}

}  // namespace

CRoadFlatPageBase::CRoadFlatPageBase(CFlatPage& rules, CDataViewHost& host, QWidget* parent)
    : QWidget(parent), host_(host), rules_(rules) {
  table_ = new QTableView(this);
  model_ = new CRecordTableModel(this);
  table_->setShowGrid(true);
  auto* buttons = new QHBoxLayout;
  QPushButton* add = button(this, buttons, "IDS_DATA_add");
  QPushButton* edit = button(this, buttons, "IDS_DATA_edit");
  QPushButton* del = button(this, buttons, "IDS_DATA_delete");
  save_ = button(this, buttons, "IDS_DATA_save");
  QPushButton* map = button(this, buttons, "IDS_DATA_map");
  QPushButton* exp = button(this, buttons, "IDS_DATA_export");
  addStake_ = button(this, buttons, "IDS_DATA_add_stake");
  buttons->addStretch();
  save_->setEnabled(false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(3, 3, 3, 3);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);
  connect(add, &QPushButton::clicked, this, [this] { this->add(); });
  connect(edit, &QPushButton::clicked, this, [this] { this->edit(); });
  connect(del, &QPushButton::clicked, this, [this] { this->remove(); });
  connect(save_, &QPushButton::clicked, this, [this] { save(); });
  connect(map, &QPushButton::clicked, this, [this] { showMap(); });
  connect(exp, &QPushButton::clicked, this, [this] { exportFile(); });
  connect(addStake_, &QPushButton::clicked, this, [this] { addStake(); });
  connect(table_, &QTableView::doubleClicked, this, [this] { this->edit(); });

  exportDialog = [this](int filterKind) -> std::optional<FlatExportRequest> {
    CRoadFlatExportDlg dlg(dialogs(), filterKind, this);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.request();
  };
}

UserDialogs& CRoadFlatPageBase::dialogs() const { return host_.userDialogs(); }

std::string CRoadFlatPageBase::roadTitle() const { return host_.roadFileState().roadTitle; }
std::string CRoadFlatPageBase::roadFolder() const { return host_.roadFileState().roadFolder; }

int CRoadFlatPageBase::selectedRow() const {
  const QModelIndexList rows = table_->selectionModel() ? table_->selectionModel()->selectedRows() : QModelIndexList();
  return rows.isEmpty() ? -1 : rows.first().row();
}

void CRoadFlatPageBase::selectRow(int row) {
  if (row < 0 || row >= model_->rowCount()) {
    table_->clearSelection();
    return;
  }
  table_->selectRow(row);
  table_->scrollTo(model_->index(row, 0));
}

void CRoadFlatPageBase::report(const FlatMessage& m) {
  if (m.key.empty()) return;
  if (!m.information && !m.detail.empty()) {
    dialogs().warningDetail(m.key, m.detail);
  } else if (!m.information) {
    dialogs().warning(m.key);
  } else if (!m.detail.empty()) {
    dialogs().informationWithDetail(m.key, m.detail);
  } else {
    dialogs().information(m.key);
  }
}

void CRoadFlatPageBase::changed(const QString& step) {
  save_->setEnabled(true);
  emit dataChanged();
  if (!step.isEmpty()) emit edited(step);
}

QString CRoadFlatPageBase::stepText(const char* verbKey) const { return undoText(verbKey, undoNoun()); }

void CRoadFlatPageBase::save() {
  storeInto(host_.roadLibrary(), host_.roadFileState().roadPath);
  host_.setRoadModified();
  save_->setEnabled(false);
  emit dataSaved();
}

void CRoadFlatPageBase::takeBrokenChains() {
  // The broken-chain view stores its edits into the road; a calculation uses
  // the chains as they stand now.
  rules_.brokenChains = host_.roadLibrary().scissons;
}

void CRoadFlatPageBase::showMap() {
  takeBrokenChains();
  std::string path;
  const FlatMessage m = rules_.curveForMap(path);
  refreshList();
  if (!m.ok) {
    report(m);
    return;
  }
  host_.showAlignmentFile(path);
}

void CRoadFlatPageBase::exportFile() {
  takeBrokenChains();
  const FlatMessage calculated = rules_.calculate();
  refreshList();
  if (!calculated.ok) {
    report(calculated);
    return;
  }
  const std::optional<FlatExportRequest> request = exportDialog(rules_.filterKind());
  if (!request) return;
  report(rules_.exportTo(*request));
}

void CRoadFlatPageBase::setListMode(int mode) {
  takeBrokenChains();
  const FlatMessage m = rules_.setListMode(mode);
  refreshList();
  if (!m.ok) report(m);
}

void CRoadFlatPageBase::setListModeFromRoad(int mode) {
  takeBrokenChains();
  const FlatMessage m = rules_.setListModeFromRoad(mode, host_.roadLibrary());
  refreshList();
  if (!m.ok) report(m);
}

void CRoadFlatPageBase::refreshList() {
  const int mode = rules_.listMode;
  if (mode == CFlatPage::kListInput) {
    model_->setColumns(inputColumns(), [this] { return inputRowCount(); });
  } else {
    std::vector<CRecordTableModel::Column> columns;
    const bool keyPoints = mode == CFlatPage::kListKeyPoints;
    CFlatPage* rules = &rules_;
    for (const FlatColumn& c : CFlatPage::stakeColumns(mode)) {
      CRecordTableModel::Column col;
      col.headerKey = c.headerKey;
      col.width = c.width;
      columns.push_back(col);
    }
    // A calculation may show the core's own warning, and the table may paint
    // while the rows are already new but the model not yet reset: a row
    // that is gone reads empty.
    auto row = [rules](int r) -> const FlatStakeRow& {
      static const FlatStakeRow none;
      const std::vector<FlatStakeRow>& rows = rules->stakeRows();
      return r >= 0 && static_cast<std::size_t>(r) < rows.size() ? rows[static_cast<std::size_t>(r)] : none;
    };
    std::size_t i = 0;
    columns[i++].text = [](int r) { return QString::number(r + 1); };
    if (!keyPoints) {
      // The stake list marks its key points, the stakes a crew must not miss.
      const QString keyPoint = langText("IDS_DATA_key_point"), stake = langText("IDS_DATA_regular_stake");
      columns[i++].text = [row, keyPoint, stake](int r) { return row(r).keyPoint ? keyPoint : stake; };
    }
    columns[i++].text = [row](int r) { return toQt(row(r).name); };
    columns[i++].text = [row](int r) { return QString::fromLatin1(row(r).mileage.c_str()); };
    columns[i++].text = [row](int r) { return QString::fromLatin1(row(r).north.c_str()); };
    columns[i++].text = [row](int r) { return QString::fromLatin1(row(r).east.c_str()); };
    model_->setColumns(std::move(columns), [rules] { return static_cast<int>(rules->stakeRows().size()); });
  }
  setupRecordTable(table_, model_);
}

template <class Page>
void CRoadFlatPageBase::reloadPage(Page& page) {
  page.reload(host_.roadLibrary(), roadTitle(), roadFolder());
  saveButton()->setEnabled(false);
  refreshList();
}

template <class Page>
bool CRoadFlatPageBase::importIntoPage(Page& page, const std::string& path) {
  const std::string previousName = page.roadName;
  page.folder = roadFolder();
  page.roadName = roadTitle();
  if (path.empty() || !page.import(path)) {
    page.roadName = previousName;
    return false;
  }
  takeImportedRoad();
  refreshList();
  return true;
}

void CRoadFlatPageBase::takeImportedRoad() {
  // The road file is named after the road the file names, in the folder of
  // the file; another road's file there is not taken over without asking.
  const std::string target = (rules_.folder.empty() ? std::string() : rules_.folder + "/") + rules_.roadName + ".rec";
  const std::string current = host_.roadFileState().roadPath;
  const bool other = target != current && QFileInfo::exists(pathToQt(target));
  if (!other || dialogs().questionOkCancel("IDS_WARN_road_file_exists_replace")) host_.setRoadFilePath(target);
  save();
}

// ---------------------------------------------------------------------------

namespace {

// Columns of an input list: the rules' headers, widths and cells.
template <class Page>
std::vector<CRecordTableModel::Column> columnsOf(Page* page, bool withIcons) {
  std::vector<CRecordTableModel::Column> columns;
  const std::vector<FlatColumn> specs = Page::inputColumns();
  for (std::size_t i = 0; i < specs.size(); ++i) {
    CRecordTableModel::Column c;
    c.headerKey = specs[i].headerKey;
    c.width = specs[i].width;
    const int column = static_cast<int>(i);
    c.text = [page, column](int row) { return cellText(page->cell(row, column)); };
    if constexpr (!std::is_same_v<Page, CFlatCrossPage>) {
      if (i == (withIcons ? 0u : 99u)) c.icon = [page](int row) { return elementIcon(page->icon(row)); };
    }
    columns.push_back(std::move(c));
  }
  return columns;
}

}  // namespace

CRoadFlatCrossDlg::CRoadFlatCrossDlg(CDataViewHost& host, QWidget* parent) : CRoadFlatPageBase(page, host, parent) {
  pointDialog = [this](const Road_CrossPoint* initial) -> std::optional<Road_CrossPoint> {
    CRoadFlatCrossNewDlg dlg(dialogs(), this);
    if (initial != nullptr) dlg.setFields(CrossPointFields::from(*initial));
    dlg.setRoadPoints(&page.method.points, initial);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.fields().record();
  };
  addStakeDialog = [this]() -> std::optional<AddStakeChoice> {
    CRoadFlatAddStakeDlg dlg(this);
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    AddStakeChoice c;
    c.side = dlg.side->currentIndex();
    c.mileage = fieldNumber(dlg.mileage);
    c.offset = fieldNumber(dlg.offset);
    return c;
  };
  showStakeResult = [this](const std::string& text) {
    CRoadFlatStakeResultDlg dlg(toQt(text), this);
    dlg.exec();
  };
  refreshList();
}

std::vector<CRecordTableModel::Column> CRoadFlatCrossDlg::inputColumns() {
  auto columns = columnsOf(&page, false);
  // Plain value types are captured; the row count reads the working copy.
  return columns;
}

void CRoadFlatCrossDlg::reloadFromRoad() { reloadPage(page); }

bool CRoadFlatCrossDlg::importFile(const std::string& path) { return importIntoPage(page, path); }

void CRoadFlatCrossDlg::add() {
  if (page.listMode != CFlatPage::kListInput) return;
  const int selected = selectedRow();
  const std::optional<Road_CrossPoint> p = pointDialog(nullptr);
  if (!p) return;
  const int row = page.add(*p, selected);
  refreshList();
  selectRow(row);
  changed(stepText("IDS_UNDO_add"));
}

void CRoadFlatCrossDlg::edit() {
  if (page.listMode != CFlatPage::kListInput) return;
  const int row = selectedRow();
  if (row < 0 || row >= page.rowCount()) {
    dialogs().warning("IDS_WARN_select_element_first");
    return;
  }
  const Road_CrossPoint initial = page.method.points[static_cast<std::size_t>(row)];
  const std::optional<Road_CrossPoint> p = pointDialog(&initial);
  if (!p || !page.edit(row, *p)) return;
  refreshList();
  selectRow(row);
  changed(stepText("IDS_UNDO_edit"));
}

void CRoadFlatCrossDlg::remove() {
  if (page.listMode != CFlatPage::kListInput) return;
  const int row = selectedRow();
  if (row < 0 || !page.remove(row)) {
    dialogs().warning("IDS_WARN_select_element_first");
    return;
  }
  refreshList();
  changed(stepText("IDS_UNDO_delete"));
}

void CRoadFlatCrossDlg::addStake() {
  takeBrokenChains();
  const FlatMessage m = page.calculate();
  if (!m.ok) {
    report(m);
    return;
  }
  const std::optional<AddStakeChoice> choice = addStakeDialog();
  if (!choice) return;
  const std::optional<StationPoint> p = page.stakePoint(choice->side, choice->mileage, choice->offset);
  if (!p) {
    dialogs().warning("IDS_WARN_stake_not_on_road");
    return;
  }
  showStakeResult(CFlatPage::stakePointText(*p, fromQt(langText("IDS_DATA_coordinate_north")),
                                            fromQt(langText("IDS_DATA_coordinate_east")),
                                            fromQt(langText("IDS_DATA_azimuth"))));
}

// ---------------------------------------------------------------------------

CRoadFlatElementDlg::CRoadFlatElementDlg(CDataViewHost& host, QWidget* parent)
    : CRoadFlatPageBase(page, host, parent) {
  elementDialog = [this](const Road_Element* initial, bool firstElement) -> std::optional<Road_Element> {
    CRoadFlatElementNewDlg dlg(firstElement, initial != nullptr, this, &dialogs());
    if (initial != nullptr) dlg.setFields(ElementFields::from(*initial));
    if (dlg.exec() != QDialog::Accepted) return std::nullopt;
    return dlg.fields().record();
  };
  addStake_->setEnabled(false);  // no action on this page
  refreshList();
}

std::vector<CRecordTableModel::Column> CRoadFlatElementDlg::inputColumns() { return columnsOf(&page, true); }

void CRoadFlatElementDlg::reloadFromRoad() { reloadPage(page); }

bool CRoadFlatElementDlg::importFile(const std::string& path) { return importIntoPage(page, path); }

void CRoadFlatElementDlg::add() {
  if (page.listMode != CFlatPage::kListInput) return;
  // Rows of the computed chain are not the input's: Add appends to the input.
  const int selected = page.showsComputed() ? -1 : selectedRow();
  page.showInput();
  refreshList();
  const std::optional<Road_Element> e = elementDialog(nullptr, page.method.elements.empty());
  if (!e) return;
  const int row = page.add(*e, selected);
  refreshList();
  selectRow(row);
  changed(stepText("IDS_UNDO_add"));
}

void CRoadFlatElementDlg::edit() {
  if (page.listMode != CFlatPage::kListInput) return;
  const int row = page.showsComputed() ? -1 : selectedRow();
  if (page.showsComputed()) {
    page.showInput();
    refreshList();
  }
  if (row < 0 || row >= page.rowCount()) {
    dialogs().warning("IDS_WARN_select_element_first");
    return;
  }
  const Road_Element initial = page.method.elements[static_cast<std::size_t>(row)];
  const std::optional<Road_Element> e = elementDialog(&initial, false);
  if (!e || !page.edit(row, *e)) return;
  refreshList();
  selectRow(row);
  changed(stepText("IDS_UNDO_edit"));
}

void CRoadFlatElementDlg::remove() {
  if (page.listMode != CFlatPage::kListInput) return;
  const int row = page.showsComputed() ? -1 : selectedRow();
  if (page.showsComputed()) {
    page.showInput();
    refreshList();
  }
  if (row < 0 || !page.remove(row)) {
    dialogs().warning("IDS_WARN_select_element_first");
    return;
  }
  refreshList();
  changed(stepText("IDS_UNDO_delete"));
}

// ---------------------------------------------------------------------------

CRoadFlatLineElementDlg::CRoadFlatLineElementDlg(CDataViewHost& host, QWidget* parent)
    : CRoadFlatPageBase(page, host, parent) {
  elementDialog = [this](LineElementFields& fields) {
    CRoadFlatLineElementNewDlg dlg(dialogs(), fields.withStart, this);
    dlg.setFields(fields);
    if (dlg.exec() != QDialog::Accepted) return false;
    fields = dlg.fields();
    return true;
  };
  addStake_->setEnabled(false);  // no action on this page
  refreshList();
}

std::vector<CRecordTableModel::Column> CRoadFlatLineElementDlg::inputColumns() {
  auto columns = columnsOf(&page, false);
  // The type column carries the icon.
  columns[1].icon = [this](int row) { return elementIcon(page.icon(row)); };
  return columns;
}

void CRoadFlatLineElementDlg::reloadFromRoad() { reloadPage(page); }

void CRoadFlatLineElementDlg::add() {
  if (page.listMode != CFlatPage::kListInput) return;
  const bool empty = page.data.elements.empty();
  const int selected = selectedRow();
  LineElementFields fields;
  fields.withStart = empty;
  fields.mileage = page.data.startMileage;
  if (!elementDialog(fields)) return;
  const Road_LineElement start = fields.startRecord();
  const int row = page.add(empty ? &start : nullptr, fields.record(), selected);
  refreshList();
  selectRow(row);
  changed(stepText("IDS_UNDO_add"));
}

void CRoadFlatLineElementDlg::edit() {
  if (page.listMode != CFlatPage::kListInput) return;
  const int row = selectedRow();
  if (row < 0 || row >= page.rowCount()) {
    dialogs().warning("IDS_WARN_select_element_first");
    return;
  }
  const Road_LineElement initial = page.data.elements[static_cast<std::size_t>(row) + 1];
  const Road_LineElement* start = row == 0 ? &page.data.elements[0] : nullptr;
  LineElementFields fields = LineElementFields::from(initial, start);
  if (!elementDialog(fields)) return;
  const Road_LineElement newStart = fields.startRecord();
  if (!page.edit(row, row == 0 ? &newStart : nullptr, fields.record())) return;
  refreshList();
  selectRow(row);
  changed(stepText("IDS_UNDO_edit"));
}

void CRoadFlatLineElementDlg::remove() {
  if (page.listMode != CFlatPage::kListInput) return;
  const int row = selectedRow();
  if (row < 0 || !page.remove(row)) {
    dialogs().warning("IDS_WARN_select_element_first");
    return;
  }
  refreshList();
  selectRow(std::min(row, page.rowCount() - 1));
  changed(stepText("IDS_UNDO_delete"));
}

}  // namespace trazmark
