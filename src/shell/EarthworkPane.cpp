#include "shell/EarthworkPane.h"

#include <QFont>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RecordTableModel.h"

namespace trazmark {
namespace {

QString text(const char* key, const char* builtIn) {
  return languageTextOr(key, QString::fromUtf8(builtIn));
}

}  // namespace

CEarthworkPane::CEarthworkPane(QWidget* parent)
    : QDockWidget(parent),
      model_(new CRecordTableModel(this)),
      table_(new QTableView(this)),
      compute_(new QPushButton(this)),
      export_(new QPushButton(this)),
      totals_(new QLabel(this)) {
  setObjectName(QStringLiteral("earthworkPane"));
  setWindowTitle(text("IDS_DATA_earthwork_title", "土方"));
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  struct ColumnSpec {
    const char* key;
    int width;
  };
  static const ColumnSpec kColumns[CEarthworkList::kColumnCount] = {
      {"IDS_DATA_earthwork_station", 96},    {"IDS_DATA_earthwork_cut_area", 78},
      {"IDS_DATA_earthwork_fill_area", 78},  {"IDS_DATA_earthwork_distance", 70},
      {"IDS_DATA_earthwork_cut_volume", 78}, {"IDS_DATA_earthwork_fill_volume", 78},
      {"IDS_DATA_earthwork_cum_cut", 90},    {"IDS_DATA_earthwork_cum_fill", 90},
      {"IDS_DATA_earthwork_mass", 84},       {"IDS_DATA_earthwork_note", 240}};
  std::vector<CRecordTableModel::Column> columns;
  for (int c = 0; c < CEarthworkList::kColumnCount; ++c) {
    CRecordTableModel::Column column =
        CRecordTableModel::column(kColumns[c].key, kColumns[c].width, [this, c](int row) {
          return toQt(list_.cellText(row, c, fromQt(text("IDS_DATA_earthwork_total", "合计"))));
        });
    if (c != CEarthworkList::kStation && c != CEarthworkList::kNote)
      column.alignment = Qt::AlignRight | Qt::AlignVCenter;
    columns.push_back(std::move(column));
  }
  model_->setColumns(std::move(columns), [this] { return list_.rowCount(); });
  table_->setObjectName(QStringLiteral("earthworkTable"));
  setupRecordTable(table_, model_);
  compute_->setObjectName(QStringLiteral("earthworkComputeButton"));
  compute_->setText(text("IDS_DATA_earthwork_compute", "计算"));
  export_->setObjectName(QStringLiteral("earthworkExportButton"));
  export_->setText(text("IDS_DATA_earthwork_export_csv", "导出 CSV..."));
  totals_->setObjectName(QStringLiteral("earthworkTotals"));
  connect(compute_, &QPushButton::clicked, this, &CEarthworkPane::computeRequested);
  connect(export_, &QPushButton::clicked, this, &CEarthworkPane::exportRequested);

  auto* body = new QWidget(this);
  auto* bar = new QHBoxLayout;
  bar->addWidget(compute_);
  bar->addWidget(export_);
  bar->addSpacing(12);
  bar->addWidget(totals_, 1);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(bar);
  layout->addWidget(table_, 1);
  setWidget(body);
  setTable(nullptr);
}

void CEarthworkPane::setTable(std::shared_ptr<const EarthworkTable> table) {
  list_.setTable(std::move(table));
  model_->reset();
  export_->setEnabled(list_.rowCount() > 0);
  totals_->setText(toQt(list_.totalsText(fromQt(text("IDS_DATA_cut_area", "挖方")),
                                         fromQt(text("IDS_DATA_fill_area", "填方")),
                                         fromQt(text("IDS_DATA_earthwork_mass", "土方累计")))));
}

}  // namespace trazmark
