#include "maps/SectionSheets.h"

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <QPen>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "maps/CutFillShading.h"
#include "maps/DrawingExport.h"
#include "maps/ProfileDrawing.h"
#include "platform/CodePage.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"

namespace trazmark {
namespace {

/// Room inside a cell around its drawing (pixels).
constexpr int kCellPadding = 10;
/// A section's box is widened by this share of its size on each side, so
/// that the catch points do not sit on the cell's edge.
constexpr double kExtentMargin = 0.05;

const QColor kSheetGridColour(215, 215, 215);
const QColor kSheetGridText(150, 150, 150);
const QColor kSheetDesignColour(200, 0, 0);
const QColor kSheetGroundColour(60, 120, 30);
const QColor kCutShade(230, 150, 60, 110);
const QColor kFillShade(70, 130, 230, 110);

QString qtText(const std::string& ansi) { return QString::fromStdString(ansiToUtf8(ansi)); }

WorldBox padded(WorldBox box) {
  const double dx = std::max(0.5, (box.maxX - box.minX) * kExtentMargin);
  const double dy = std::max(0.5, (box.maxY - box.minY) * kExtentMargin);
  return {box.minX - dx, box.minY - dy, box.maxX + dx, box.maxY + dy};
}

std::vector<ShadePoint> shadeLine(const std::vector<SheetPoint>& line) {
  std::vector<ShadePoint> out;
  out.reserve(line.size());
  for (const SheetPoint& p : line) out.push_back({p.offset, p.elevation});
  return out;
}

/// Maps a section's metres into a cell's drawing: the box centred, one scale.
struct CellTransform {
  double metresPerPixel = 1;
  double centreOffset = 0, centreElevation = 0;
  double cx = 0, cy = 0;
  QPointF at(double offset, double elevation) const {
    return {cx + (offset - centreOffset) / metresPerPixel,
            cy - (elevation - centreElevation) / metresPerPixel};
  }
};

void drawCell(QPainter& painter, const SectionSheetLayout::Cell& cell, const SheetSection& s,
              double scale, const SheetWords& words) {
  const QRect drawing(cell.x + kCellPadding, cell.y + kCellPadding, cell.width - 2 * kCellPadding,
                      cell.height - 2 * kCellPadding - kSheetTextBand);
  painter.save();
  painter.setPen(QPen(QColor(120, 120, 120), 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(QRect(cell.x, cell.y, cell.width, cell.height).adjusted(2, 2, -2, -2));
  const std::optional<WorldBox> box = sheetSectionExtent(s);
  CellTransform t;
  t.metresPerPixel = scale * kSheetPixelMetres;
  t.cx = drawing.center().x();
  t.cy = drawing.center().y();
  if (box) {
    t.centreOffset = (box->minY + box->maxY) / 2;
    t.centreElevation = (box->minX + box->maxX) / 2;
  }
  QFont small(QStringLiteral("Arial"));
  small.setPixelSize(10);
  painter.setFont(small);
  painter.setClipRect(drawing);
  // The grid: whole multiples of one step across and up, labelled at the
  // drawing's left and bottom edges.
  const double step = sheetGridStep(scale);
  const double left = t.centreOffset - drawing.width() / 2.0 * t.metresPerPixel;
  const double right = t.centreOffset + drawing.width() / 2.0 * t.metresPerPixel;
  const double low = t.centreElevation - drawing.height() / 2.0 * t.metresPerPixel;
  const double high = t.centreElevation + drawing.height() / 2.0 * t.metresPerPixel;
  const int decimals = step < 1 ? 1 : 0;
  for (double o = std::ceil(left / step) * step; o <= right; o += step) {
    const double x = t.at(o, 0).x();
    painter.setPen(QPen(kSheetGridColour, std::fabs(o) < step / 2 ? 2 : 1));
    painter.drawLine(QPointF(x, drawing.top()), QPointF(x, drawing.bottom()));
    painter.setPen(kSheetGridText);
    painter.drawText(QPointF(x + 2, drawing.bottom() - 2),
                     QString::fromStdString(formatFixed(o, decimals)));
  }
  for (double e = std::ceil(low / step) * step; e <= high; e += step) {
    const double y = t.at(0, e).y();
    painter.setPen(QPen(kSheetGridColour, 1));
    painter.drawLine(QPointF(drawing.left(), y), QPointF(drawing.right(), y));
    // A label needs its height above its line inside the drawing.
    if (y - drawing.top() < 12) continue;
    painter.setPen(kSheetGridText);
    painter.drawText(QPointF(drawing.left() + 2, y - 2),
                     QString::fromStdString(formatFixed(e, decimals)));
  }
  // The cut and fill between the lines, under them.
  painter.setPen(Qt::NoPen);
  for (const std::vector<SheetPoint>& piece : s.ground) {
    for (const ShadeRegion& r : cutFillRegions(shadeLine(s.design), shadeLine(piece))) {
      QPolygonF polygon;
      for (const ShadePoint& p : r.outline) polygon << t.at(p.offset, p.elevation);
      painter.setBrush(r.cut ? kCutShade : kFillShade);
      painter.drawPolygon(polygon);
    }
  }
  painter.setBrush(Qt::NoBrush);
  auto polyline = [&](const std::vector<SheetPoint>& line) {
    QPolygonF points;
    for (const SheetPoint& p : line) points << t.at(p.offset, p.elevation);
    if (points.size() >= 2) painter.drawPolyline(points);
  };
  painter.setPen(QPen(kSheetGroundColour, 1.2, Qt::DashLine));
  for (const std::vector<SheetPoint>& piece : s.ground) polyline(piece);
  painter.setPen(QPen(kSheetDesignColour, 1.6));
  polyline(s.design);
  painter.setPen(QPen(Qt::black, 1.2));
  painter.setBrush(Qt::white);
  for (const SheetPoint& p : s.catchPoints)
    painter.drawEllipse(t.at(p.offset, p.elevation), 3.5, 3.5);
  painter.setClipping(false);
  // The text under the drawing.
  QFont text(QStringLiteral("Arial"));
  text.setPixelSize(12);
  painter.setFont(text);
  painter.setPen(Qt::black);
  const QFontMetrics metrics(text);
  const std::vector<std::string> lines = sheetSectionLines(s, words);
  int y = drawing.bottom() + 4 + metrics.ascent();
  for (std::size_t i = 0; i < lines.size() && y < cell.y + cell.height - 4;
       ++i, y += metrics.height()) {
    QFont f = text;
    f.setBold(i == 0);
    painter.setFont(f);
    painter.drawText(QPointF(drawing.left() + 4, y),
                     metrics.elidedText(qtText(lines[i]), Qt::ElideRight, drawing.width() - 8));
  }
  painter.restore();
}

bool encodePage(DrawingFormat format, QSize size, const std::function<void(QPainter&)>& paint,
                QByteArray& bytes, const std::string& title) {
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly)) return false;
  if (format == DrawingFormat::Png) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      painter.setRenderHint(QPainter::Antialiasing);
      paint(painter);
    }
    return image.save(&buffer, "PNG");
  }
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(96);
  svg.setTitle(qtText(title));
  QPainter painter;
  if (!painter.begin(&svg)) return false;
  paint(painter);
  return painter.end();
}

}  // namespace

std::optional<WorldBox> sheetSectionExtent(const SheetSection& section) {
  std::optional<WorldBox> box;
  double from = -1e300, to = 1e300;
  for (const SheetPoint& p : section.design) {
    if (!std::isfinite(p.offset)) continue;
    from = from == -1e300 ? p.offset : std::min(from, p.offset);
    to = to == 1e300 ? p.offset : std::max(to, p.offset);
  }
  if (from != -1e300) {
    const double beyond = std::max(kSheetGroundBeyond, (to - from) / 5);
    from -= beyond;
    to += beyond;
  }
  auto add = [&box, from, to](const SheetPoint& p) {
    if (!std::isfinite(p.offset) || !std::isfinite(p.elevation)) return;
    if (p.offset < from || p.offset > to) return;
    if (!box) {
      box = WorldBox{p.elevation, p.offset, p.elevation, p.offset};
      return;
    }
    box->minX = std::min(box->minX, p.elevation);
    box->maxX = std::max(box->maxX, p.elevation);
    box->minY = std::min(box->minY, p.offset);
    box->maxY = std::max(box->maxY, p.offset);
  };
  for (const SheetPoint& p : section.design) add(p);
  for (const auto& piece : section.ground)
    for (const SheetPoint& p : piece) add(p);
  if (box && from != -1e300) {
    box->minY = std::min(box->minY, from);
    box->maxY = std::max(box->maxY, to);
  }
  return box;
}

SectionSheetLayout::Cell SectionSheetLayout::cell(int cellIndex) const {
  const int availW = page.width() - 2 * kSheetMargin;
  const int availH = page.height() - 2 * kSheetMargin - kSheetTitleHeight;
  const int w = availW / std::max(1, columns);
  const int h = availH / std::max(1, rows);
  const int row = cellIndex / std::max(1, columns);
  const int col = cellIndex % std::max(1, columns);
  return {kSheetMargin + col * w, kSheetMargin + row * h, w, h};
}

std::optional<SectionSheetLayout> layoutSectionSheets(const std::vector<WorldBox>& extents,
                                                      QSize page, int columns, int maxRows) {
  columns = std::max(1, columns);
  maxRows = std::max(1, maxRows);
  const int availW = page.width() - 2 * kSheetMargin;
  const int availH = page.height() - 2 * kSheetMargin - kSheetTitleHeight;
  const int drawW = availW / columns - 2 * kCellPadding;
  const int drawH1 = availH - 2 * kCellPadding - kSheetTextBand;
  if (drawW < kSheetMinDrawing || drawH1 < kSheetMinDrawing) return std::nullopt;
  double widest = 0, tallest = 0;
  for (const WorldBox& raw : extents) {
    if (!(raw.maxX >= raw.minX) || !(raw.maxY >= raw.minY)) continue;
    const WorldBox b = padded(raw);
    widest = std::max(widest, b.maxY - b.minY);
    tallest = std::max(tallest, b.maxX - b.minX);
  }
  SectionSheetLayout layout;
  layout.page = page;
  layout.columns = columns;
  const double needed = std::max({kSheetMinScale, widest / (drawW * kSheetPixelMetres),
                                  tallest / (drawH1 * kSheetPixelMetres)});
  layout.scale = standardScale(needed);
  // As many rows as the tallest section leaves room for.
  const double tallestPixels =
      std::max<double>(kSheetMinDrawing, tallest / (layout.scale * kSheetPixelMetres));
  const double cellHeight = tallestPixels + 2 * kCellPadding + kSheetTextBand;
  layout.rows = std::clamp(static_cast<int>(availH / cellHeight), 1, maxRows);
  const int count = static_cast<int>(extents.size());
  layout.pageCount = count == 0 ? 0 : (count + layout.perPage() - 1) / layout.perPage();
  return layout;
}

double sheetGridStep(double scaleDenominator, double minPixels) {
  const double metresPerPixel = scaleDenominator * kSheetPixelMetres;
  if (!(metresPerPixel > 0) || !std::isfinite(metresPerPixel)) return 1;
  const double wanted = metresPerPixel * minPixels;
  double power = std::pow(10.0, std::floor(std::log10(wanted)));
  for (;;) {
    for (double m : {1.0, 2.0, 5.0})
      if (m * power >= wanted * (1 - 1e-9)) return m * power;
    power *= 10;
  }
}

std::vector<std::string> sheetSectionLines(const SheetSection& s, const SheetWords& words) {
  auto area = [](const std::optional<double>& a) {
    return a && std::isfinite(*a) ? formatFixed(*a, 2) + " m\xC2\xB2" : std::string("-");
  };
  std::vector<std::string> lines{
      formatStation(s.station),
      words.design + " " + formatFixed(s.designCentre, 3) + "   " + words.ground + " " +
          (s.groundCentre && std::isfinite(*s.groundCentre) ? formatFixed(*s.groundCentre, 3)
                                                            : std::string("-")),
      words.cut + " " + area(s.cutArea) + "   " + words.fill + " " + area(s.fillArea)};
  lines.insert(lines.end(), s.notes.begin(), s.notes.end());
  return lines;
}

std::string sheetTitleText(const std::string& roadName, const SectionSheetLayout& layout, int page,
                           const SheetWords& words) {
  char scale[64];
  std::snprintf(scale, sizeof scale, "1:%.0f", layout.scale);
  return words.road + ": " + roadName + "   " + words.scale + " " + scale + "   " + words.page +
         " " + std::to_string(page + 1) + " " + words.of + " " + std::to_string(layout.pageCount);
}

void paintSectionSheetPage(QPainter& painter, const SectionSheetLayout& layout,
                           const std::vector<SheetSection>& sections, int page,
                           const std::string& roadName, const SheetWords& words) {
  painter.fillRect(QRect(QPoint(0, 0), layout.page), Qt::white);
  const int first = page * layout.perPage();
  for (int i = 0; i < layout.perPage() && first + i < static_cast<int>(sections.size()); ++i)
    drawCell(painter, layout.cell(i), sections[static_cast<std::size_t>(first + i)], layout.scale,
             words);
  // The title block along the bottom, inside the margin.
  const QRect strip(kSheetMargin, layout.page.height() - kSheetMargin - kSheetTitleHeight + 4,
                    layout.page.width() - 2 * kSheetMargin, kSheetTitleHeight - 4);
  painter.save();
  painter.setPen(QPen(Qt::black, 1.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(strip);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(15);
  painter.setFont(font);
  painter.drawText(strip.adjusted(10, 0, -10, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   qtText(sheetTitleText(roadName, layout, page, words)));
  painter.restore();
}

std::string sheetPagePath(const std::string& path, int page, int pageCount) {
  if (pageCount <= 1) return path;
  const std::size_t slash = path.find_last_of('/');
  std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) dot = path.size();
  const int digits = std::max(3, static_cast<int>(std::to_string(pageCount).size()));
  std::string number = std::to_string(page + 1);
  number.insert(0, static_cast<std::size_t>(std::max(0, digits - static_cast<int>(number.size()))),
                '0');
  return path.substr(0, dot) + "-" + number + path.substr(dot);
}

bool writeSectionSheets(const std::vector<SheetSection>& sections, const std::string& path,
                        const std::string& roadName, std::string& error, const SheetWords& words,
                        const SheetProgress& progress, std::vector<std::string>* written) {
  const std::optional<DrawingFormat> format = drawingFormatFor(path);
  if (!format || *format == DrawingFormat::Dxf) {
    error = "cannot write " + path +
            ": sheets are written as PDF, SVG or PNG (name ending in .pdf, .svg or .png)";
    return false;
  }
  std::vector<WorldBox> extents;
  extents.reserve(sections.size());
  for (const SheetSection& s : sections)
    extents.push_back(sheetSectionExtent(s).value_or(WorldBox{0, -1, 0, 1}));
  const std::optional<SectionSheetLayout> layout = layoutSectionSheets(extents, kA3LandscapePixels);
  if (!layout || layout->pageCount == 0) {
    error = "no sections to draw";
    return false;
  }
  auto cancelled = [&](int page) {
    if (progress && !progress(static_cast<double>(page) / layout->pageCount)) {
      error = "cancelled";
      return true;
    }
    return false;
  };
  if (*format == DrawingFormat::Pdf) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    if (!buffer.open(QIODevice::WriteOnly)) {
      error = "cannot encode the sheets";
      return false;
    }
    {
      QPdfWriter pdf(&buffer);
      pdf.setResolution(96);
      pdf.setPageSize(QPageSize(QPageSize::A3));
      pdf.setPageOrientation(QPageLayout::Landscape);
      pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
      pdf.setTitle(qtText(roadName));
      pdf.setCreator(QStringLiteral("Trazmark"));
      QPainter painter;
      if (!painter.begin(&pdf)) {
        error = "cannot encode the sheets";
        return false;
      }
      for (int page = 0; page < layout->pageCount; ++page) {
        if (cancelled(page)) return false;
        if (page > 0) pdf.newPage();
        paintSectionSheetPage(painter, *layout, sections, page, roadName, words);
      }
      painter.end();
    }
    if (!writeTextFileAtomically(
            path, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
      error = "cannot write " + path;
      return false;
    }
    if (written) written->push_back(path);
  } else {
    for (int page = 0; page < layout->pageCount; ++page) {
      if (cancelled(page)) return false;
      QByteArray bytes;
      const bool ok = encodePage(
          *format, layout->page,
          [&](QPainter& painter) {
            paintSectionSheetPage(painter, *layout, sections, page, roadName, words);
          },
          bytes, roadName);
      const std::string file = sheetPagePath(path, page, layout->pageCount);
      if (!ok || bytes.isEmpty()) {
        error = "cannot encode " + file;
        return false;
      }
      if (!writeTextFileAtomically(
              file, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
        error = "cannot write " + file;
        return false;
      }
      if (written) written->push_back(file);
    }
  }
  if (progress) progress(1.0);
  return true;
}

}  // namespace trazmark
