#include "shell/SurveyCheckPane.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "maps/SurveyCheckLayer.h"
#include "maps/SurveyCheckReport.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RecordTableModel.h"

namespace trazmark {
namespace {

QString text(const char* key, const char* builtIn) { return languageTextOr(key, QString::fromUtf8(builtIn)); }

/// A dot in a flag's colour, as the plan draws the point.
QIcon dotIcon(const QColor& colour) {
  QPixmap pixmap(12, 12);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(colour.darker(140));
  painter.setBrush(colour);
  painter.drawEllipse(QRectF(2, 2, 8, 8));
  return QIcon(pixmap);
}

}  // namespace

CSurveyCheckPane::CSurveyCheckPane(QWidget* parent)
    : QDockWidget(parent),
      model_(new CRecordTableModel(this)),
      table_(new QTableView(this)),
      vertical_(new QLineEdit(QStringLiteral("0.02"), this)),
      horizontal_(new QLineEdit(QStringLiteral("0.05"), this)),
      check_(new QPushButton(this)),
      csv_(new QPushButton(this)),
      pdf_(new QPushButton(this)),
      summary_(new QLabel(this)) {
  setObjectName(QStringLiteral("surveyCheckPane"));
  setWindowTitle(text("IDS_CHECK_pane_title", "检查测量点"));
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  static const int kWidths[kCheckColumnCount] = {80, 120, 70, 76, 64, 110, 64, 76, 160};
  // Light colours of the paper palette read well on the list's white.
  const CheckPointColours colours = checkPointColours(DrawingPalette::paper());
  const QIcon icons[] = {dotIcon(colours.within), dotIcon(colours.beyond), dotIcon(colours.neutral)};
  std::vector<CRecordTableModel::Column> columns;
  for (int c = 0; c < kCheckColumnCount; ++c) {
    CRecordTableModel::Column column = CRecordTableModel::column(
        surveyCheckColumnKey(c), kWidths[c], [this, c](int row) { return toQt(list_.cellText(row, c)); });
    // The header from the language file, else the report's English word.
    if (languageTextOr(surveyCheckColumnKey(c), QString()).isEmpty()) column.headerKey = surveyCheckColumnTitle(c);
    if (c == kCheckOffset || c == kCheckDesignZ || c == kCheckDz || c == kCheckDOffset || c == kCheckStation)
      column.alignment = Qt::AlignRight | Qt::AlignVCenter;
    if (c == kCheckFlag)
      column.icon = [this, icons](int row) {
        const CheckedPoint* point = list_.rowAt(row);
        if (point == nullptr) return QIcon();
        const CheckFlag f = point->flag;
        return f == CheckFlag::kWithin ? icons[0] : f == CheckFlag::kBeyond ? icons[1] : icons[2];
      };
    columns.push_back(std::move(column));
  }
  model_->setColumns(std::move(columns), [this] { return list_.rowCount(); });
  table_->setObjectName(QStringLiteral("surveyCheckTable"));
  setupRecordTable(table_, model_);
  vertical_->setObjectName(QStringLiteral("checkToleranceZ"));
  horizontal_->setObjectName(QStringLiteral("checkToleranceOffset"));
  for (QLineEdit* field : {vertical_, horizontal_}) field->setFixedWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0.0000")) + 16);
  check_->setObjectName(QStringLiteral("surveyCheckButton"));
  check_->setText(text("IDS_CHECK_points_button", "检查测量点..."));
  csv_->setObjectName(QStringLiteral("surveyCheckCsvButton"));
  csv_->setText(text("IDS_CHECK_export_csv", "导出 CSV..."));
  pdf_->setObjectName(QStringLiteral("surveyCheckPdfButton"));
  pdf_->setText(text("IDS_CHECK_export_pdf", "报告 PDF..."));
  summary_->setObjectName(QStringLiteral("surveyCheckSummary"));
  summary_->setWordWrap(true);
  summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
  connect(check_, &QPushButton::clicked, this, &CSurveyCheckPane::checkRequested);
  connect(csv_, &QPushButton::clicked, this, &CSurveyCheckPane::exportCsvRequested);
  connect(pdf_, &QPushButton::clicked, this, &CSurveyCheckPane::exportPdfRequested);
  connect(table_, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
    if (index.isValid()) emit pointActivated(index.row());
  });

  auto* body = new QWidget(this);
  auto* bar = new QHBoxLayout;
  bar->addWidget(new QLabel(text("IDS_CHECK_tolerance_z", "限差 ΔZ m"), body));
  bar->addWidget(vertical_);
  bar->addWidget(new QLabel(text("IDS_CHECK_tolerance_offset", "ΔO m"), body));
  bar->addWidget(horizontal_);
  bar->addWidget(check_);
  bar->addStretch(1);
  bar->addWidget(csv_);
  bar->addWidget(pdf_);
  auto* layout = new QVBoxLayout(body);
  layout->setContentsMargins(4, 4, 4, 4);
  layout->addLayout(bar);
  layout->addWidget(summary_);
  layout->addWidget(table_, 1);
  setWidget(body);
  setResult(nullptr);
}

void CSurveyCheckPane::setResult(std::shared_ptr<const SurveyCheckResult> result) {
  list_.setResult(std::move(result));
  model_->reset();
  csv_->setEnabled(list_.rowCount() > 0);
  pdf_->setEnabled(list_.rowCount() > 0);
  summary_->setText(toQt(list_.summaryText()));
}

}  // namespace trazmark
