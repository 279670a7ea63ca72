#include "maps/SurveyCheckReport.h"

#include <QDate>
#include <QFont>
#include <QFontMetricsF>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <algorithm>
#include <cmath>
#include <clocale>
#include <cstdio>
#include <memory>

#include "maps/DrawingExport.h"
#include "maps/PlanDrawing.h"
#include "maps/ProfileDrawing.h"
#include "maps/SurveyCheckLayer.h"
#include "platform/qt/Localization.h"

namespace trazmark {
namespace {

// The page in 96 dpi pixels: A4 portrait.
constexpr int kPageWidth = 794;
constexpr int kPageHeight = 1123;
constexpr double kMargin = 38;         // 10 mm
constexpr double kTitleLine = 24;
constexpr double kTextLine = 15;
constexpr int kHeaderLines = 6;        // road and date, tolerances, up to three summary lines, legend
constexpr double kPlanHeight = 470;
constexpr double kGap = 10;
constexpr double kRow = 15;
constexpr double kHeadRow = 18;
constexpr double kFooter = 18;
constexpr double kFontPt = 7;

constexpr double kPlanTop = kMargin + kTitleLine + kTextLine * kHeaderLines + 4;
constexpr double kFirstTableTop = kPlanTop + kPlanHeight + kGap;
constexpr double kFooterTop = kPageHeight - kMargin - kFooter;

/// The share of the table's width each column takes.
constexpr double kColumnShare[kCheckColumnCount] = {0.11, 0.14, 0.085, 0.09, 0.08, 0.13, 0.08, 0.085, 0.18};

constexpr const char* kColumnKeys[kCheckColumnCount] = {
    "IDS_CHECK_col_name",   "IDS_CHECK_col_station", "IDS_CHECK_col_offset",
    "IDS_CHECK_col_design_z", "IDS_CHECK_col_dz",    "IDS_CHECK_col_edge",
    "IDS_CHECK_col_doffset", "IDS_CHECK_col_flag",   "IDS_CHECK_col_note"};
constexpr const char* kColumnEnglish[kCheckColumnCount] = {
    "Name", "Station", "Offset", "Design Z", "\xCE\x94Z", "Edge", "\xCE\x94O", "Flag", "Note"};

QString qs(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
std::string us(const QString& s) { return s.toUtf8().toStdString(); }
QString word(const char* key, const char* english) { return languageTextOr(key, QString::fromUtf8(english)); }

std::string fixed(double value, bool sign) {
  char buffer[40];
  if (std::fabs(value) < 0.0005) value = 0;  // no "-0.000"
  std::snprintf(buffer, sizeof buffer, sign && value != 0 ? "%+.3f" : "%.3f", value);
  return buffer;
}

std::string optionalFixed(const std::optional<double>& value, bool sign) {
  return value && std::isfinite(*value) ? fixed(*value, sign) : std::string("-");
}

/// Latin text and figures from a plain sans face, Chinese from a CJK face
/// (as the design tables on paper).
QFont reportFont(double points, bool bold = false) {
  QFont f;
  f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")});
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(points);
  f.setBold(bold);
  return f;
}

QString dateText(const std::string& date) {
  return date.empty() ? QDate::currentDate().toString(Qt::ISODate) : qs(date);
}

}  // namespace

const char* surveyCheckColumnKey(int column) {
  return column >= 0 && column < kCheckColumnCount ? kColumnKeys[column] : "";
}

std::string surveyCheckColumnTitle(int column) {
  if (column < 0 || column >= kCheckColumnCount) return {};
  return us(word(kColumnKeys[column], kColumnEnglish[column]));
}

std::string surveyCheckFlagText(CheckFlag flag) {
  switch (flag) {
    case CheckFlag::kWithin:
      return us(word("IDS_CHECK_flag_within", "ok"));
    case CheckFlag::kBeyond:
      return us(word("IDS_CHECK_flag_beyond", "BEYOND"));
    case CheckFlag::kOffRoad:
      return us(word("IDS_CHECK_flag_off_road", "OFF ROAD"));
    default:
      return us(word("IDS_CHECK_flag_invalid", "INVALID"));
  }
}

std::string surveyCheckCell(const CheckedPoint& row, int column) {
  const StationLocation& l = row.location;
  const bool onRoad = l.status == StationLocation::kOnRoad;
  switch (column) {
    case kCheckName:
      return row.point.name;
    case kCheckStation: {
      if (l.status == StationLocation::kOutside) return us(word("IDS_CHECK_outside", "outside"));
      if (!onRoad) return "-";
      std::string s = formatStation(l.displayedMileage);
      if (l.branch == 0) s += " (" + us(word("IDS_CHECK_branch_before", "before")) + ")";
      if (l.branch == 1) s += " (" + us(word("IDS_CHECK_branch_after", "after")) + ")";
      return s;
    }
    case kCheckOffset:
      // Off the road: how far from the nearest end.
      if (l.status == StationLocation::kOutside) return fixed(l.distance, false);
      return onRoad ? fixed(l.offset, false) : std::string("-");
    case kCheckDesignZ:
      return optionalFixed(row.designZ, false);
    case kCheckDz:
      return optionalFixed(row.dz, true);
    case kCheckEdge:
      return row.edge.empty() ? std::string("-") : row.edge;
    case kCheckDOffset:
      return optionalFixed(row.dOffset, true);
    case kCheckFlag:
      return surveyCheckFlagText(row.flag);
    case kCheckNote:
      return row.note == "outside" ? std::string() : row.note;
    default:
      return {};
  }
}

std::vector<std::size_t> surveyCheckListOrder(const std::vector<CheckedPoint>& rows) {
  std::vector<std::size_t> order;
  order.reserve(rows.size());
  for (int pass = 0; pass < 2; ++pass)
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const bool onRoad = rows[i].flag == CheckFlag::kWithin || rows[i].flag == CheckFlag::kBeyond;
      if (onRoad == (pass == 0)) order.push_back(i);
    }
  return order;
}

std::vector<std::string> surveyCheckSummaryLines(const CheckSummary& s) {
  std::vector<std::string> lines;
  QString counts = word("IDS_CHECK_counts", "Points checked %1: within tolerance %2, beyond %3, off the road %4")
                       .arg(s.checked)
                       .arg(s.within)
                       .arg(s.beyond)
                       .arg(s.offRoad);
  if (s.invalid > 0) counts += QStringLiteral(", ") + word("IDS_CHECK_invalid", "without a station %1").arg(s.invalid);
  lines.push_back(us(counts));
  auto figures = [&](const char* key, const char* english, std::size_t n, double mean, double rms, double max) {
    if (n == 0) return;
    lines.push_back(us(word(key, english)
                           .arg(n)
                           .arg(qs(fixed(mean, true)))
                           .arg(qs(fixed(rms, false)))
                           .arg(qs(fixed(max, true)))));
  };
  figures("IDS_CHECK_dz_figures", "\xCE\x94Z (%1 points): mean %2 m, RMS %3 m, largest %4 m", s.dzCount, s.meanDz,
          s.rmsDz, s.maxDz);
  figures("IDS_CHECK_do_figures", "\xCE\x94O (%1 points): mean %2 m, RMS %3 m, largest %4 m", s.dOffsetCount,
          s.meanDOffset, s.rmsDOffset, s.maxDOffset);
  return lines;
}

std::string surveyCheckTolerancesLine(const CheckTolerances& t) {
  return us(word("IDS_CHECK_tolerances", "Tolerances: vertical %1 m, horizontal %2 m")
                .arg(qs(fixed(t.vertical, false)))
                .arg(qs(fixed(t.horizontal, false))));
}

CSurveyCheckReport::CSurveyCheckReport(const CRoadDesign& design, const std::vector<CheckedPoint>& rows,
                                       const CheckSummary& summary, const CheckTolerances& tolerances,
                                       std::string roadName, std::string date)
    : design_(design),
      rows_(rows),
      summary_(summary),
      tolerances_(tolerances),
      roadName_(std::move(roadName)),
      date_(us(dateText(date))),
      order_(surveyCheckListOrder(rows)) {}

QSize CSurveyCheckReport::pageSize() { return {kPageWidth, kPageHeight}; }

int CSurveyCheckReport::firstPageRows() {
  return std::max(0, static_cast<int>((kFooterTop - 4 - kFirstTableTop - kHeadRow) / kRow));
}

int CSurveyCheckReport::rowsPerPage() {
  return std::max(1, static_cast<int>((kFooterTop - 4 - kMargin - kHeadRow) / kRow));
}

int CSurveyCheckReport::pageCount() const {
  const std::size_t first = static_cast<std::size_t>(firstPageRows());
  if (rows_.size() <= first) return 1;
  const std::size_t per = static_cast<std::size_t>(rowsPerPage());
  return 1 + static_cast<int>((rows_.size() - first + per - 1) / per);
}

void CSurveyCheckReport::paintPage(QPainter& painter, int page) const {
  painter.save();
  painter.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), Qt::white);
  painter.setPen(Qt::black);
  const std::size_t first = static_cast<std::size_t>(firstPageRows());
  const std::size_t per = static_cast<std::size_t>(rowsPerPage());
  if (page == 0) {
    paintHeader(painter);
    paintPlan(painter, kPlanTop, kPlanHeight);
    if (!rows_.empty()) paintTable(painter, kFirstTableTop, 0, std::min(rows_.size(), first));
  } else {
    const std::size_t from = first + per * static_cast<std::size_t>(page - 1);
    if (from < rows_.size()) paintTable(painter, kMargin, from, std::min(rows_.size(), from + per));
  }
  paintFooter(painter, page);
  painter.restore();
}

void CSurveyCheckReport::paintHeader(QPainter& painter) const {
  const double width = kPageWidth - 2 * kMargin;
  double y = kMargin;
  painter.setFont(reportFont(13, true));
  painter.drawText(QRectF(kMargin, y, width, kTitleLine), Qt::AlignLeft | Qt::AlignVCenter,
                   word("IDS_CHECK_report_title", "As-built check") + QStringLiteral(": ") + qs(roadName_));
  y += kTitleLine;
  painter.setFont(reportFont(8));
  auto line = [&](const QString& text) {
    painter.drawText(QRectF(kMargin, y, width, kTextLine), Qt::AlignLeft | Qt::AlignVCenter, text);
    y += kTextLine;
  };
  line(word("IDS_TABLE_date", "Date") + QStringLiteral(": ") + qs(date_) + QStringLiteral("    ") +
       qs(surveyCheckTolerancesLine(tolerances_)));
  for (const std::string& s : surveyCheckSummaryLines(summary_)) line(qs(s));
  // The legend on the line after the summary.
  const CheckPointColours colours = checkPointColours(DrawingPalette::paper());
  const struct {
    QColor colour;
    QString text;
  } legend[] = {{colours.within, word("IDS_CHECK_legend_within", "within tolerance")},
                {colours.beyond, word("IDS_CHECK_legend_beyond", "beyond tolerance")},
                {colours.neutral, word("IDS_CHECK_legend_off_road", "off the road")}};
  double x = kMargin;
  const QFontMetricsF metrics(painter.font(), painter.device());
  painter.setRenderHint(QPainter::Antialiasing, true);
  for (const auto& item : legend) {
    painter.setPen(QPen(item.colour.darker(140), 1));
    painter.setBrush(item.colour);
    painter.drawEllipse(QPointF(x + 4, y + kTextLine / 2), 3.5, 3.5);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::NoBrush);
    painter.drawText(QRectF(x + 12, y, 200, kTextLine), Qt::AlignLeft | Qt::AlignVCenter, item.text);
    x += 12 + metrics.horizontalAdvance(item.text) + 24;
  }
}

void CSurveyCheckReport::paintPlan(QPainter& painter, double top, double height) const {
  const double width = kPageWidth - 2 * kMargin;
  TitleBlock title;
  title.roadName = roadName_;
  title.date = date_;
  title.roadLabel = us(word("IDS_TITLE_BLOCK_road", "Road"));
  title.scaleLabel = us(word("IDS_TITLE_BLOCK_scale", "Scale"));
  title.dateLabel = us(word("IDS_TITLE_BLOCK_date", "Date"));
  const QSize size(static_cast<int>(width), static_cast<int>(height));
  std::optional<DrawingSheet> sheet = planSheet(design_, size, title);
  const std::optional<WorldBox> points = checkedPointsBox(rows_, false);
  if (!sheet && !points) return;
  if (!sheet) {
    sheet = DrawingSheet{};
    sheet->size = size;
    sheet->title = title;
    sheet->extent = *points;
  } else if (points) {
    WorldBox& box = sheet->extent;
    box.minX = std::min(box.minX, points->minX);
    box.minY = std::min(box.minY, points->minY);
    box.maxX = std::max(box.maxX, points->maxX);
    box.maxY = std::max(box.maxY, points->maxY);
  }
  // The centre line under the points, the stations and key points over them
  // (their names on opaque boxes, so that they read over the dots).
  const CRoadDesign& design = design_;
  const std::vector<CheckedPoint>& rows = rows_;
  sheet->content = [&design, &rows](QPainter& p, const MapView& view, const DrawingPalette& palette) {
    const QColor line = palette.centreLine.isValid() ? palette.centreLine : palette.ink;
    drawCentreLine(p, view, design.elements(), line, palette.roadLineWidth);
    drawCheckedPoints(p, view, rows, palette, 4, 6);
    DrawingPalette names = palette;
    names.labelBox = palette.background;
    if (palette.planStations) drawStationTicks(p, view, design, names);
    drawKeyPoints(p, view, design.keyPoints(), line, names);
  };
  const std::optional<MapView> view = sheetView(*sheet);
  if (!view) return;
  painter.save();
  painter.translate(kMargin, top);
  painter.setClipRect(QRectF(0, 0, width, height));
  paintSheet(painter, *sheet, *view);
  painter.setClipping(false);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRectF(0, 0, size.width(), size.height()));
  painter.restore();
}

void CSurveyCheckReport::paintTable(QPainter& painter, double top, std::size_t first, std::size_t last) const {
  const double left = kMargin;
  const double width = kPageWidth - 2 * kMargin;
  double x[kCheckColumnCount + 1];
  x[0] = left;
  for (int c = 0; c < kCheckColumnCount; ++c) x[c + 1] = x[c] + width * kColumnShare[c];
  x[kCheckColumnCount] = left + width;
  const double bottom = top + kHeadRow + kRow * static_cast<double>(last - first);
  const double pad = 3;
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setBrush(Qt::NoBrush);
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRect(QRectF(x[0], top, width, bottom - top));
  painter.drawLine(QPointF(x[0], top + kHeadRow), QPointF(x[kCheckColumnCount], top + kHeadRow));
  painter.setPen(QPen(QColor(90, 90, 90), 0.5));
  for (int c = 1; c < kCheckColumnCount; ++c) painter.drawLine(QPointF(x[c], top), QPointF(x[c], bottom));
  for (std::size_t r = first + 1; r < last; ++r) {
    const double y = top + kHeadRow + kRow * static_cast<double>(r - first);
    painter.drawLine(QPointF(x[0], y), QPointF(x[kCheckColumnCount], y));
  }
  painter.setPen(Qt::black);
  painter.setFont(reportFont(kFontPt, true));
  for (int c = 0; c < kCheckColumnCount; ++c)
    painter.drawText(QRectF(x[c] + pad, top, x[c + 1] - x[c] - 2 * pad, kHeadRow), Qt::AlignCenter,
                     qs(surveyCheckColumnTitle(c)));
  painter.setFont(reportFont(kFontPt));
  const CheckPointColours colours = checkPointColours(DrawingPalette::paper());
  for (std::size_t r = first; r < last; ++r) {
    const CheckedPoint& row = rows_[order_[r]];
    const double y = top + kHeadRow + kRow * static_cast<double>(r - first);
    for (int c = 0; c < kCheckColumnCount; ++c) {
      const std::string text = surveyCheckCell(row, c);
      if (text.empty()) continue;
      // The flag in the point's colour, as on the plan.
      painter.setPen(c == kCheckFlag ? checkPointColour(row, colours) : QColor(Qt::black));
      const bool leftAligned = c == kCheckName || c == kCheckEdge || c == kCheckFlag || c == kCheckNote;
      painter.drawText(QRectF(x[c] + pad, y, x[c + 1] - x[c] - 2 * pad, kRow),
                       Qt::AlignVCenter | (leftAligned ? Qt::AlignLeft : Qt::AlignRight), qs(text));
    }
  }
}

void CSurveyCheckReport::paintFooter(QPainter& painter, int page) const {
  const int pages = pageCount();
  const QString pageText = word("IDS_TABLE_page", "page %1 of %2");
  const QString pageLine = pageText.contains(QLatin1String("%2")) ? pageText.arg(page + 1).arg(pages)
                                                                   : QStringLiteral("%1 / %2").arg(page + 1).arg(pages);
  const double width = kPageWidth - 2 * kMargin;
  painter.setPen(QPen(Qt::black, 0.5));
  painter.drawLine(QPointF(kMargin, kFooterTop), QPointF(kMargin + width, kFooterTop));
  painter.setFont(reportFont(kFontPt));
  const QRectF box(kMargin, kFooterTop, width, kFooter);
  painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter,
                   word("IDS_CHECK_report_title", "As-built check") + QStringLiteral(" \u00B7 ") + qs(roadName_) +
                       QStringLiteral(" \u00B7 ") + qs(date_));
  painter.drawText(box, Qt::AlignRight | Qt::AlignVCenter, pageLine);
}

bool writeSurveyCheckReport(const std::string& path, const CRoadDesign& design,
                            const std::vector<CheckedPoint>& rows, const CheckSummary& summary,
                            const CheckTolerances& tolerances, const std::string& roadName,
                            std::string& error) {
  return writeSurveyCheckReport(path, design, rows, summary, tolerances, roadName, error, {});
}

bool writeSurveyCheckReport(const std::string& path, const CRoadDesign& design,
                            const std::vector<CheckedPoint>& rows, const CheckSummary& summary,
                            const CheckTolerances& tolerances, const std::string& roadName,
                            std::string& error, const std::function<bool(double)>& progress) {
  // Text needs the font machinery of a GUI application: a caller without one
  // (the command-line tool) gets an offscreen one for the writing.
  // Its notes (a missing runtime folder, font fallbacks) are not the caller's
  // output; the previous handler is back when the writing ends.
  struct QuietToolkit {
    QtMessageHandler previous = nullptr;
    bool installed = false;
    ~QuietToolkit() {
      if (installed) qInstallMessageHandler(previous);
    }
  } quiet;
  int argc = 1;
  char name[] = "trazmark";
  char* argv[] = {name, nullptr};
  std::unique_ptr<QGuiApplication> ownApp;
  if (QCoreApplication::instance() == nullptr) {
    quiet.previous = qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    quiet.installed = true;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ownApp = std::make_unique<QGuiApplication>(argc, argv);
    std::setlocale(LC_NUMERIC, "C");  // the toolkit took the user's locale; numbers keep a dot
  } else if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr) {
    error = path + ": cannot be written without a graphical application";
    return false;
  }
  // Through a temporary file renamed over `path` at the end: a report that
  // fails half-way leaves an earlier file of that name as it was.
  QSaveFile file(qs(path));
  file.setDirectWriteFallback(true);
  if (!file.open(QIODevice::WriteOnly)) {
    error = path + ": cannot be written: " + us(file.errorString());
    return false;
  }
  const CSurveyCheckReport report(design, rows, summary, tolerances, roadName);
  {
    QPdfWriter pdf(&file);
    pdf.setResolution(96);
    pdf.setPageSize(QPageSize(QPageSize::A4));
    pdf.setPageOrientation(QPageLayout::Portrait);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    pdf.setTitle(word("IDS_CHECK_report_title", "As-built check") + QStringLiteral(": ") + qs(roadName));
    pdf.setCreator(QStringLiteral("Trazmark"));
    QPainter painter;
    if (!painter.begin(&pdf)) {
      error = path + ": cannot be written";
      return false;
    }
    const int pages = report.pageCount();
    for (int page = 0; page < pages; ++page) {
      if (page > 0 && !pdf.newPage()) {
        error = path + ": cannot be written";
        return false;
      }
      report.paintPage(painter, page);
      if (progress && !progress(static_cast<double>(page + 1) / pages)) {
        painter.end();
        error = "cancelled";
        return false;
      }
    }
    if (!painter.end()) {
      error = path + ": cannot be written";
      return false;
    }
  }
  if (!file.commit()) {
    error = path + ": cannot be written: " + us(file.errorString());
    return false;
  }
  return true;
}

}  // namespace trazmark
