#include "maps/TablePdf.h"

#include <QFile>
#include <QFont>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>

namespace trazmark {

namespace {

// Paper in millimetres, drawn at 300 dpi.
constexpr int kResolution = 300;
constexpr double kMarginMm = 10;
constexpr double kRowMm = 5.5;       // a body row
constexpr double kHeaderMm = 11;     // the header row: two lines of title
constexpr double kTitleBlockMm = 14;  // the title block at the foot of a page
constexpr double kFontPt = 7;

double pageWidthMm(bool a3) { return a3 ? 420 : 297; }
double pageHeightMm(bool a3) { return a3 ? 297 : 210; }
double dots(double mm) { return mm * kResolution / 25.4; }

int rowsPerPage(const TablePdfOptions& o) {
  const double body = pageHeightMm(o.a3) - 2 * kMarginMm - kHeaderMm - kTitleBlockMm;
  return std::max(1, static_cast<int>(body / kRowMm));
}

QString qs(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Latin text and figures from a plain sans face, Chinese from a CJK face that
// is embedded whatever the system's default is. (Figures set in the CJK face
// next to Latin letters take proportional forms that text extraction cannot
// map back to digits.)
QFont tableFont() {
  QFont f;
  f.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans CJK SC")});
  f.setStyleHint(QFont::SansSerif);
  f.setPointSizeF(kFontPt);
  return f;
}

}  // namespace

int tablePdfPageCount(const DesignTable& table, const TablePdfOptions& options) {
  const int per = rowsPerPage(options);
  return std::max(1, static_cast<int>((table.rows.size() + per - 1) / per));
}

bool writeTablePdf(const std::string& path, const DesignTable& table, const TableTextLookup& text,
                   const TablePdfOptions& options, std::string& error) {
  auto lookup = [&](const std::string& key) { return text ? qs(text(key)) : qs(key); };
  QPdfWriter pdf(qs(path));
  pdf.setResolution(kResolution);
  pdf.setPageSize(QPageSize(options.a3 ? QPageSize::A3 : QPageSize::A4));
  pdf.setPageOrientation(QPageLayout::Landscape);
  pdf.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
  pdf.setTitle(lookup(table.titleKey));
  pdf.setCreator(QStringLiteral("Trazmark"));
  QPainter painter;
  if (!painter.begin(&pdf)) {
    error = path + ": cannot be written";
    return false;
  }
  const QFont font = tableFont();
  QFont bold = font;
  bold.setBold(true);
  QFont title = font;
  title.setPointSizeF(kFontPt * 1.6);
  title.setBold(true);
  painter.setFont(font);

  // Column titles and the key cells' texts, looked up once.
  QStringList headers;
  for (const TableColumn& c : table.columns) {
    QString h = lookup(c.headerKey);
    if (!c.detail.empty()) h += QLatin1Char('\n') + qs(c.detail);
    headers << h;
  }
  const std::size_t columns = table.columns.size();
  // Column widths from the widest text of the header and a sample of rows,
  // scaled to fill the page.
  std::vector<double> width(columns, 0);
  const QFontMetricsF metrics(font, &pdf);
  const QFontMetricsF boldMetrics(bold, &pdf);
  for (std::size_t c = 0; c < columns; ++c)
    for (const QString& line : headers[static_cast<int>(c)].split(QLatin1Char('\n')))
      width[c] = std::max(width[c], boldMetrics.horizontalAdvance(line));
  const std::size_t sampleStep = std::max<std::size_t>(1, table.rows.size() / 200);
  for (std::size_t r = 0; r < table.rows.size(); r += sampleStep)
    for (std::size_t c = 0; c < columns && c < table.rows[r].size(); ++c) {
      const TableCell& cell = table.rows[r][c];
      width[c] = std::max(width[c], metrics.horizontalAdvance(cell.textIsKey ? lookup(cell.text) : qs(cell.text)));
    }
  const double pad = dots(1.2);
  double total = 0;
  for (double& w : width) total += (w += 2 * pad);
  const double left = dots(kMarginMm);
  const double usable = dots(pageWidthMm(options.a3) - 2 * kMarginMm);
  const double scale = total > 0 ? usable / total : 1;
  std::vector<double> x(columns + 1, left);
  for (std::size_t c = 0; c < columns; ++c) x[c + 1] = x[c] + width[c] * scale;
  if (scale < 1) {
    // A very wide table: a smaller face so the widest texts still fit.
    QFont f = font;
    f.setPointSizeF(std::max(3.0, kFontPt * scale));
    painter.setFont(f);
  }
  const QFont bodyFont = painter.font();

  const int per = rowsPerPage(options);
  const int pages = tablePdfPageCount(table, options);
  const double top = dots(kMarginMm);
  const double rowH = dots(kRowMm);
  const double headH = dots(kHeaderMm);
  const QString road = qs(options.roadName);
  const QString tableTitle = lookup(table.titleKey);
  const QString pageText = lookup("IDS_TABLE_page");
  QPen thin(Qt::black, dots(0.15));
  QPen thick(Qt::black, dots(0.35));
  for (int page = 0; page < pages; ++page) {
    if (page > 0 && !pdf.newPage()) {
      error = path + ": cannot be written";
      return false;
    }
    const std::size_t first = static_cast<std::size_t>(page) * per;
    const std::size_t last = std::min(table.rows.size(), first + per);
    const double bottom = top + headH + rowH * static_cast<double>(last - first);
    // The header row.
    painter.setPen(thick);
    painter.drawRect(QRectF(x[0], top, x[columns] - x[0], bottom - top));
    painter.drawLine(QPointF(x[0], top + headH), QPointF(x[columns], top + headH));
    painter.setPen(thin);
    QFont headFont = bodyFont;
    headFont.setBold(true);
    painter.setFont(headFont);
    for (std::size_t c = 0; c < columns; ++c) {
      if (c > 0) painter.drawLine(QPointF(x[c], top), QPointF(x[c], bottom));
      painter.drawText(QRectF(x[c], top, x[c + 1] - x[c], headH), Qt::AlignCenter, headers[static_cast<int>(c)]);
    }
    painter.setFont(bodyFont);
    for (std::size_t r = first; r < last; ++r) {
      const double y = top + headH + rowH * static_cast<double>(r - first);
      if (r > first) painter.drawLine(QPointF(x[0], y), QPointF(x[columns], y));
      const std::vector<TableCell>& row = table.rows[r];
      for (std::size_t c = 0; c < columns && c < row.size(); ++c) {
        const TableCell& cell = row[c];
        if (cell.text.empty()) continue;
        painter.drawText(QRectF(x[c] + pad, y, x[c + 1] - x[c] - 2 * pad, rowH),
                         Qt::AlignVCenter | (c == 0 ? Qt::AlignLeft : Qt::AlignRight),
                         cell.textIsKey ? lookup(cell.text) : qs(cell.text));
      }
    }
    // The title block at the foot of the page.
    const double blockTop = dots(pageHeightMm(options.a3) - kMarginMm - kTitleBlockMm + 2);
    const QRectF block(x[0], blockTop, x[columns] - x[0], dots(kTitleBlockMm - 2));
    painter.setPen(thick);
    painter.drawRect(block);
    const double third = block.width() / 4;
    painter.setPen(thin);
    painter.drawLine(QPointF(block.left() + third, block.top()), QPointF(block.left() + third, block.bottom()));
    painter.drawLine(QPointF(block.right() - third, block.top()), QPointF(block.right() - third, block.bottom()));
    painter.setFont(font);
    painter.drawText(QRectF(block.left() + pad, block.top(), third - 2 * pad, block.height()), Qt::AlignVCenter,
                     lookup("IDS_TABLE_road") + QStringLiteral(": ") + road);
    painter.setFont(title);
    painter.drawText(QRectF(block.left() + third, block.top(), block.width() - 2 * third, block.height()),
                     Qt::AlignCenter, tableTitle);
    painter.setFont(font);
    // A language file without the page text still numbers the pages.
    const QString pageLine = pageText.contains(QLatin1String("%2"))
                                 ? pageText.arg(page + 1).arg(pages)
                                 : QStringLiteral("%1 / %2").arg(page + 1).arg(pages);
    painter.drawText(QRectF(block.right() - third + pad, block.top(), third - 2 * pad, block.height()),
                     Qt::AlignVCenter | Qt::AlignLeft,
                     lookup("IDS_TABLE_date") + QStringLiteral(": ") + qs(options.date) + QStringLiteral("    ") + pageLine);
  }
  if (!painter.end()) {
    error = path + ": cannot be written";
    return false;
  }
  return true;
}

}  // namespace trazmark
