#include "shell/DesignTablesWindow.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/qt/DesignTableModel.h"
#include "platform/qt/Localization.h"
#include "shell/TableExportCommand.h"

namespace trazmark {

CDesignTablesWindow::CDesignTablesWindow(UserDialogs& dialogs, RoadDataSet road,
                                         std::string roadName, const CRoadGround* ground,
                                         std::string folder, QWidget* parent)
    : QDialog(parent),
      dialogs_(dialogs),
      road_(std::move(road)),
      roadName_(std::move(roadName)),
      ground_(ground),
      folder_(std::move(folder)) {
  setObjectName(QStringLiteral("designTablesWindow"));
  setWindowTitle(languageTextOr("IDS_TABLES_title", QStringLiteral("Design tables")));
  choice_ = new QComboBox(this);
  choice_->setObjectName(QStringLiteral("tableChoice"));
  for (TableKind kind : kTableKinds)
    choice_->addItem(QString::fromStdString(tableText(tableTitleKey(kind))),
                     static_cast<int>(kind));
  status_ = new QLabel(this);
  status_->setObjectName(QStringLiteral("tableStatus"));
  model_ = new CDesignTableModel(this);
  table_ = new QTableView(this);
  table_->setObjectName(QStringLiteral("tableView"));
  table_->setModel(model_);
  table_->setSelectionBehavior(QAbstractItemView::SelectRows);
  table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  table_->setAlternatingRowColors(true);
  // A fixed row height keeps a list of 100,000 stakes fast to scroll.
  table_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
  table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
  auto* exportCsvButton = new QPushButton(QStringLiteral("CSV..."), this);
  exportCsvButton->setToolTip(
      languageTextOr("IDS_TABLES_export_title", QStringLiteral("Export table")));
  auto* exportPdfButton = new QPushButton(QStringLiteral("PDF..."), this);
  exportPdfButton->setObjectName(QStringLiteral("exportPdfButton"));
  exportPdfButton->setToolTip(exportCsvButton->toolTip());
  auto* exportLabel = new QLabel(exportCsvButton->toolTip() + ":", this);
  exportCsvButton->setObjectName(QStringLiteral("exportCsvButton"));
  auto* close = new QPushButton(languageTextOr("IDS_TABLES_close", QStringLiteral("Close")), this);
  connect(close, &QPushButton::clicked, this, &QDialog::accept);
  connect(exportCsvButton, &QPushButton::clicked, this, [this] { exportCsv(); });
  connect(exportPdfButton, &QPushButton::clicked, this, [this] { exportPdf(); });
  connect(choice_, &QComboBox::currentIndexChanged, this, [this](int index) {
    showTable(kTableKinds[static_cast<std::size_t>(std::max(index, 0))]);
  });

  auto* top = new QHBoxLayout;
  top->addWidget(choice_);
  top->addWidget(status_, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(exportLabel);
  buttons->addWidget(exportCsvButton);
  buttons->addWidget(exportPdfButton);
  buttons->addWidget(close);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(table_, 1);
  layout->addLayout(buttons);
  resize(1100, 650);
  showTable(TableKind::CurveElements);
}

void CDesignTablesWindow::showTable(TableKind kind) {
  const int index = static_cast<int>(kind);
  if (choice_->currentIndex() != index) {
    choice_->setCurrentIndex(index);  // comes back here through the signal
    return;
  }
  DesignTable table;
  failure_.clear();
  if (!buildDesignTable(kind, road_, roadName_, ground_, table, failure_) && failure_.empty())
    failure_ = "cannot be computed";
  model_->setTable(std::move(table));
  status_->setText(QString::fromStdString(failure_));
  table_->resizeColumnsToContents();
}

std::string CDesignTablesWindow::exportPdf() {
  const std::string written = exportTablePdf(dialogs_, model_->table(), roadName_, folder_);
  if (!written.empty()) folder_ = written.substr(0, written.find_last_of('/'));
  return written;
}

std::string CDesignTablesWindow::exportCsv() {
  const std::string written = exportTableCsv(dialogs_, model_->table(), roadName_, folder_);
  if (!written.empty()) folder_ = written.substr(0, written.find_last_of('/'));
  return written;
}

}  // namespace trazmark
