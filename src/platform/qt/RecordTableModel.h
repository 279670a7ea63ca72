#pragma once
// The list of a data view as a table model over the view's working copy: a
// list of 100,000 stakes costs what is on screen, not one item per cell. The
// view describes its columns once (header key, width, how a row's cell reads)
// and calls `reset()` after it changed the working copy.

#include <QAbstractTableModel>
#include <QIcon>
#include <QString>
#include <functional>
#include <string>
#include <vector>

class QPushButton;
class QTableView;
class QWidget;

namespace trazmark {

class CRecordTableModel : public QAbstractTableModel {
 public:
  struct Column {
    std::string headerKey;   ///< language key of the header ("IDS_DATA_...")
    int width = 80;          ///< initial width in pixels
    std::function<QString(int row)> text;
    /// Optional picture in front of the text (the list's icon column).
    std::function<QIcon(int row)> icon;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
  };

  explicit CRecordTableModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  /// A column of plain text: header key, width and how a row's cell reads.
  static Column column(const char* headerKey, int width, std::function<QString(int row)> text) {
    Column c;
    c.headerKey = headerKey;
    c.width = width;
    c.text = std::move(text);
    return c;
  }

  /// The columns, and the function that counts the rows of the working copy.
  void setColumns(std::vector<Column> columns, std::function<int()> rowCount);
  const std::vector<Column>& columns() const { return columns_; }

  /// The working copy changed: every row is read again.
  void reset();

  /// The header texts are looked up again (after the language changed).
  void retranslate();

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  std::vector<Column> columns_;
  std::vector<QString> headers_;
  std::function<int()> rowCount_;
};

/// Gives a table view the model's column widths, full-row single selection and
/// the fixed row height that keeps long lists fast to scroll.
void setupRecordTable(QTableView* table, CRecordTableModel* model);
/// Pixels column `section` of `table` needs to show its title whole: a
/// column is never narrower, so no title is clipped in a longer language.
int columnTitleWidth(const QTableView* table, int section);

/// A command button of a data view (Add, Edit, ...): its built-in text (UTF-8),
/// the control identifier under which the language file names it, and the
/// common size: 100 by 40 pixels, wider for a longer caption, narrower (never
/// below its caption) only where a row of buttons lacks room.
QPushButton* commandButton(const char* builtInText, int controlId, QWidget* parent);

}  // namespace trazmark
