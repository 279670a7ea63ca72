#include "platform/qt/DesignTableModel.h"

#include "platform/CodePage.h"
#include "platform/qt/Localization.h"

namespace trazmark {

namespace {

/// A cell is a figure when it starts like a number or a station ("-12.5",
/// "K1+200.000", "12°34′"); figures line up on the right.
bool isFigure(const std::string& text) {
  if (text.empty()) return false;
  const char c = text[0] == '-' && text.size() > 1 ? text[1] : text[0];
  return (c >= '0' && c <= '9') || c == 'K' || c == '+';
}

}  // namespace

std::string tableText(const std::string& key) {
  const std::string text = GetLanguageText(key);
  // The language texts are in the ANSI code page; the tables' cells in UTF-8.
  return text.empty() ? key : ansiToUtf8(text);
}

void CDesignTableModel::setTable(DesignTable table) {
  beginResetModel();
  table_ = std::move(table);
  headers_.clear();
  for (std::size_t c = 0; c < table_.columns.size(); ++c)
    headers_.push_back(columnTitle(static_cast<int>(c)));
  endResetModel();
}

QString CDesignTableModel::columnTitle(int column) const {
  if (column < 0 || static_cast<std::size_t>(column) >= table_.columns.size()) return {};
  const TableColumn& c = table_.columns[static_cast<std::size_t>(column)];
  std::string title = tableText(c.headerKey);
  if (!c.detail.empty()) title += " " + c.detail;
  return QString::fromStdString(title);
}

void CDesignTableModel::retranslate() {
  for (std::size_t c = 0; c < headers_.size(); ++c) headers_[c] = columnTitle(static_cast<int>(c));
  if (!headers_.empty())
    emit headerDataChanged(Qt::Horizontal, 0, static_cast<int>(headers_.size()) - 1);
}

int CDesignTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.rows.size());
}

int CDesignTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(table_.columns.size());
}

QVariant CDesignTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() < 0 || index.column() < 0) return {};
  const auto row = static_cast<std::size_t>(index.row());
  const auto column = static_cast<std::size_t>(index.column());
  if (row >= table_.rows.size()) return {};
  // A short row (a side with fewer components) shows blank cells.
  const std::vector<TableCell>& cells = table_.rows[row];
  const std::string text = column < cells.size() ? cells[column].text : std::string();
  if (role == Qt::DisplayRole) return QString::fromStdString(text);
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::AlignVCenter |
                               (isFigure(text) ? Qt::AlignRight : Qt::AlignLeft));
  return {};
}

QVariant CDesignTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (role != Qt::DisplayRole) return {};
  if (orientation == Qt::Vertical) return section + 1;
  if (section < 0 || static_cast<std::size_t>(section) >= headers_.size()) return {};
  return headers_[static_cast<std::size_t>(section)];
}

}  // namespace trazmark
