#pragma once
// A design table (curve elements, stakes, grades, subgrade, superelevation)
// as a table model: the rows are read where they are shown, so a stake table
// of 100,000 rows costs what is on screen. Column titles are the language
// texts of the table's header keys, with the column's detail after them.

#include <QAbstractTableModel>
#include <QString>
#include <vector>

#include "tables/DesignTables.h"

namespace trazmark {

class CDesignTableModel : public QAbstractTableModel {
 public:
  explicit CDesignTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  /// Shows `table` instead of the one shown (a reset of the whole model).
  void setTable(DesignTable table);
  const DesignTable& table() const { return table_; }

  /// The title of column `column`: the key's text, a space and the detail
  /// (the key itself where the language file has no text for it).
  QString columnTitle(int column) const;
  /// The header texts are looked up again (after the language changed).
  void retranslate();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  /// The cell's shown text; numbers and stations right-aligned, names left.
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  DesignTable table_;
  std::vector<QString> headers_;
};

/// The text of a language key in UTF-8, the key itself where the language
/// file has none: what the tables' outputs write as column titles.
std::string tableText(const std::string& key);

}  // namespace trazmark
