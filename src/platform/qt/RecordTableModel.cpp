#include "platform/qt/RecordTableModel.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableView>
#include <algorithm>

#include "platform/qt/Localization.h"

namespace trazmark {

void CRecordTableModel::setColumns(std::vector<Column> columns, std::function<int()> rowCount) {
  beginResetModel();
  columns_ = std::move(columns);
  rowCount_ = std::move(rowCount);
  headers_.clear();
  for (const Column& c : columns_) headers_.push_back(languageTextOr(c.headerKey.c_str(), QString::fromStdString(c.headerKey)));
  endResetModel();
}

void CRecordTableModel::reset() {
  beginResetModel();
  endResetModel();
}

void CRecordTableModel::retranslate() {
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    headers_[i] = languageTextOr(columns_[i].headerKey.c_str(), QString::fromStdString(columns_[i].headerKey));
  }
  if (!columns_.empty()) emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(columns_.size()) - 1);
}

int CRecordTableModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || !rowCount_) return 0;
  return rowCount_();
}

int CRecordTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant CRecordTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.column() >= static_cast<int>(columns_.size())) return {};
  const Column& c = columns_[static_cast<std::size_t>(index.column())];
  switch (role) {
    case Qt::DisplayRole:
      return c.text ? c.text(index.row()) : QString();
    case Qt::DecorationRole:
      if (c.icon) return c.icon(index.row());
      return {};
    case Qt::TextAlignmentRole:
      return static_cast<int>(c.alignment);
    default:
      return {};
  }
}

QVariant CRecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || section >= static_cast<int>(headers_.size())) return {};
  return headers_[static_cast<std::size_t>(section)];
}

namespace {
// The header's margins on both sides of a title, with room for a sort mark.
constexpr int kColumnTitlePadding = 16;
// Rows a column's width is measured over when the list is loaded.
constexpr int kContentRowsMeasured = 200;
}  // namespace

void setupRecordTable(QTableView* table, CRecordTableModel* model) {
  table->setModel(model);
  table->setSelectionBehavior(QAbstractItemView::SelectRows);
  table->setSelectionMode(QAbstractItemView::SingleSelection);
  table->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table->verticalHeader()->setVisible(false);
  // A fixed row height lets the view place rows without asking each one.
  table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 6);
  table->horizontalHeader()->setStretchLastSection(true);
  const auto& columns = model->columns();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    const int section = static_cast<int>(i);
    table->setColumnWidth(section, std::max(columns[i].width, columnTitleWidth(table, section)));
  }
  // Columns widen to what the rows show (a component's English name), never
  // narrower than set above; only the first rows are measured, so a list of
  // 100,000 rows costs no more than a short one.
  table->horizontalHeader()->setResizeContentsPrecision(kContentRowsMeasured);
  QObject::connect(model, &QAbstractItemModel::modelReset, table, [table] {
    const int last = table->model()->columnCount() - 1;
    for (int section = 0; section < last; ++section) {
      const int wanted = static_cast<QAbstractItemView*>(table)->sizeHintForColumn(section);
      if (wanted > table->columnWidth(section)) table->setColumnWidth(section, wanted);
    }
  });
}

int columnTitleWidth(const QTableView* table, int section) {
  const QString title = table->model()->headerData(section, Qt::Horizontal, Qt::DisplayRole).toString();
  return table->horizontalHeader()->fontMetrics().horizontalAdvance(title) + kColumnTitlePadding;
}

namespace {

// A command button 100 by 40 pixels, wider when its caption needs it (the
// English texts), and narrower, never below its caption, only when a row of
// buttons has no room (a view beside the earthwork pane).
class CommandButton : public QPushButton {
 public:
  using QPushButton::QPushButton;
  QSize sizeHint() const override { return QSize(std::max(kCommandWidth, QPushButton::sizeHint().width()), 40); }
  QSize minimumSizeHint() const override { return QSize(QPushButton::sizeHint().width(), 40); }

 private:
  static constexpr int kCommandWidth = 100;
};

}  // namespace

QPushButton* commandButton(const char* builtInText, int controlId, QWidget* parent) {
  auto* b = new CommandButton(QString::fromUtf8(builtInText), parent);
  b->setFixedHeight(40);
  b->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
  setControlId(b, controlId);
  return b;
}

}  // namespace trazmark
