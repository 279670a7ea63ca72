#include "maps/DrawingExport.h"

#include <QBuffer>
#include <QByteArray>
#include <QDate>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QSvgGenerator>
#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "alignment/RoadDesign.h"
#include "maps/MapDecorations.h"
#include "maps/PlanDrawing.h"
#include "maps/ProfileDrawing.h"
#include "maps/SectionDrawing.h"
#include "platform/CodePage.h"
#include "platform/TextFile.h"

namespace trazmark {

namespace {

/// The map area must leave room for the north arrow and the scale bar.
constexpr int kMinMapArea = 100;

QString qtText(const std::string& ansi) { return QString::fromStdString(ansiToUtf8(ansi)); }

std::string scaleNumber(double denominator) {
  char text[64];
  std::snprintf(text, sizeof text, "1:%.0f", denominator);
  return text;
}

void drawTitleBlock(QPainter& painter, const DrawingSheet& sheet, const MapView& view) {
  const TitleBlock& t = sheet.title;
  const QRect strip(0, sheet.size.height() - kTitleBlockHeight, sheet.size.width(),
                    kTitleBlockHeight);
  painter.save();
  painter.fillRect(strip, Qt::white);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::NoBrush);
  painter.drawRect(strip.adjusted(0, 0, -1, -1));
  QFont font;
  font.setPixelSize(14);
  painter.setFont(font);
  const std::string date =
      t.date.empty() ? QDate::currentDate().toString(Qt::ISODate).toStdString() : t.date;
  const QString cells[3] = {qtText(t.roadLabel + ": " + t.roadName),
                            qtText(t.scaleLabel + " " + titleScaleText(t, view)),
                            qtText(t.dateLabel + ": " + date)};
  // The name takes half the strip, scale and date a quarter each.
  const int w = strip.width();
  const int edges[4] = {0, w / 2, w * 3 / 4, w};
  for (int i = 0; i < 3; ++i) {
    const QRect cell(edges[i], strip.top(), edges[i + 1] - edges[i], strip.height());
    if (i > 0) painter.drawLine(cell.topLeft(), cell.bottomLeft());
    painter.drawText(cell.adjusted(8, 0, -8, 0),
                     Qt::AlignVCenter | Qt::AlignLeft | Qt::TextSingleLine,
                     QFontMetrics(font).elidedText(cells[i], Qt::ElideRight, cell.width() - 16));
  }
  painter.restore();
}

/// The box the sheet's scale bar takes with its texts (as drawSheetScaleBar
/// draws it), so that a grid's labels keep off it.
QRect sheetScaleBarBox(const MapView& view, double horizontalFactor) {
  const SheetScaleBar bar = sheetScaleBar(view, horizontalFactor);
  const ClientRect& r = view.clientRect();
  const int right = r.right - 14;
  const int left = right - 12 - static_cast<int>(std::ceil(bar.pixels));
  return QRect(QPoint(left, r.bottom - 32), QPoint(right, r.bottom - 1));
}

/// A scale bar of four alternating blocks, with 0 and its length written
/// under its ends, above the title block at the right.
void drawSheetScaleBar(QPainter& painter, const MapView& view, double horizontalFactor,
                       const QColor& ink, const QColor& paper) {
  const SheetScaleBar bar = sheetScaleBar(view, horizontalFactor);
  if (!(bar.pixels > 0)) return;
  const ClientRect& r = view.clientRect();
  const double right = r.right - 20.0;
  const double left = right - bar.pixels;
  const double top = r.bottom - 30.0;
  constexpr double kBarHeight = 5;
  painter.save();
  painter.setPen(QPen(ink, 1));
  for (int i = 0; i < 4; ++i) {
    painter.setBrush(i % 2 == 0 ? ink : paper);
    painter.drawRect(QRectF(left + bar.pixels * i / 4, top, bar.pixels / 4, kBarHeight));
  }
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(12);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  const QString end = QString::fromStdString(bar.label);
  const double baseline = top + kBarHeight + 3 + metrics.ascent();
  painter.drawText(QPointF(left - metrics.horizontalAdvance(QStringLiteral("0")) / 2.0, baseline),
                   QStringLiteral("0"));
  painter.drawText(QPointF(right - metrics.horizontalAdvance(end) + 4, baseline), end);
  painter.restore();
}

}  // namespace

SheetScaleBar sheetScaleBar(const MapView& view, double horizontalFactor) {
  constexpr double kLeastPixels = 80;
  return roundScaleBar(view, kLeastPixels, horizontalFactor);
}

std::optional<DrawingFormat> drawingFormatFor(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::size_t dot = path.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::nullopt;
  std::string ext = path.substr(dot + 1);
  for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (ext == "png") return DrawingFormat::Png;
  if (ext == "svg") return DrawingFormat::Svg;
  if (ext == "pdf") return DrawingFormat::Pdf;
  if (ext == "dxf") return DrawingFormat::Dxf;
  return std::nullopt;
}

double standardScale(double denominator) {
  if (!(denominator > 0) || !std::isfinite(denominator)) return 0;
  double power = std::pow(10.0, std::floor(std::log10(denominator)));
  for (;;) {
    for (double step : {1.0, 2.0, 2.5, 5.0}) {
      // A hair of tolerance, so that 1000 stays 1:1000 and does not become 1:2000.
      if (step * power >= denominator * (1 - 1e-9)) return step * power;
    }
    power *= 10;
  }
}

std::string titleScaleText(const TitleBlock& title, const MapView& view) {
  const double vertical = view.scale() / kSheetPixelMetres;
  if (title.horizontalFactor == 1) return scaleNumber(vertical);
  return title.horizontalLabel + " " + scaleNumber(vertical * title.horizontalFactor) + "  " +
         title.verticalLabel + " " + scaleNumber(vertical);
}

std::optional<MapView> sheetView(const DrawingSheet& sheet) {
  const int mapHeight = sheet.size.height() - kTitleBlockHeight;
  if (sheet.size.width() < kMinMapArea || mapHeight < kMinMapArea) return std::nullopt;
  const WorldBox& box = sheet.extent;
  if (!(box.maxX >= box.minX) || !(box.maxY >= box.minY)) return std::nullopt;
  MapView view;
  view.setBackground(kColourBlack);
  if (!view.setClientRect({0, 0, sheet.size.width(), mapHeight})) return std::nullopt;
  const std::optional<ViewTarget> fit = view.fullExtentTarget({box});
  if (!fit) return std::nullopt;
  ViewTarget target = *fit;
  const double denominator = standardScale(fit->scale / kSheetPixelMetres);
  if (denominator > 0) target.scale = denominator * kSheetPixelMetres;
  view.commitTarget(target);
  return view;
}

void paintSheet(QPainter& painter, const DrawingSheet& sheet, const MapView& view) {
  const ClientRect& r = view.clientRect();
  const DrawingPalette& palette = sheet.palette;
  painter.fillRect(QRect(0, 0, sheet.size.width(), sheet.size.height()), palette.background);
  painter.save();
  painter.setClipRect(QRect(r.left, r.top, r.width(), r.height()));
  if (sheet.content) sheet.content(painter, view, palette);
  painter.restore();
  if (sheet.northArrow) drawNorthArrow(painter, r, palette.ink);
  drawSheetScaleBar(painter, view, sheet.title.horizontalFactor, palette.ink, palette.background);
  drawTitleBlock(painter, sheet, view);
}

bool writeDrawing(const DrawingSheet& sheet, const std::string& path, std::string& error,
                  MapView* viewOut) {
  const std::optional<DrawingFormat> format = drawingFormatFor(path);
  if (!format || *format == DrawingFormat::Dxf) {
    error = "cannot write " + path +
            ": drawings are written as PNG, SVG or PDF (name ending in .png, .svg or .pdf)";
    return false;
  }
  const std::optional<MapView> view = sheetView(sheet);
  if (!view) {
    error = "nothing to draw at " + std::to_string(sheet.size.width()) + "x" +
            std::to_string(sheet.size.height()) + " pixels";
    return false;
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly)) {
    error = "cannot encode the drawing";
    return false;
  }
  bool painted = false;
  if (*format == DrawingFormat::Png) {
    QImage image(sheet.size, QImage::Format_RGB32);
    {
      QPainter painter(&image);
      paintSheet(painter, sheet, *view);
    }
    painted = image.save(&buffer, "PNG");
  } else if (*format == DrawingFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(sheet.size);
    svg.setViewBox(QRect(QPoint(0, 0), sheet.size));
    svg.setResolution(96);
    svg.setTitle(qtText(sheet.title.roadName));
    QPainter painter;
    if (painter.begin(&svg)) {
      paintSheet(painter, sheet, *view);
      painted = painter.end();
    }
  } else {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(96);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(
        QPageSize(QSizeF(sheet.size.width() * 25.4 / 96, sheet.size.height() * 25.4 / 96),
                  QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    pdf.setTitle(qtText(sheet.title.roadName));
    pdf.setCreator(QStringLiteral("Trazmark"));
    QPainter painter;
    if (painter.begin(&pdf)) {
      paintSheet(painter, sheet, *view);
      painted = painter.end();
    }
  }
  if (!painted || bytes.isEmpty()) {
    error = "cannot encode the drawing";
    return false;
  }
  if (!writeTextFileAtomically(
          path, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
    error = "cannot write " + path;
    return false;
  }
  if (viewOut != nullptr) *viewOut = *view;
  return true;
}

std::optional<DrawingSheet> planSheet(const CRoadDesign& design, QSize size,
                                      const TitleBlock& title) {
  const std::optional<WorldBox> box = planExtent(design);
  if (!box) return std::nullopt;
  DrawingSheet sheet;
  sheet.size = size;
  sheet.extent = *box;
  sheet.title = title;
  sheet.content = [&design](QPainter& painter, const MapView& view, const DrawingPalette& palette) {
    drawRoadPlan(painter, view, design, palette);
  };
  return sheet;
}

std::optional<DrawingSheet> profileSheet(const RecordList<CVerticalCurveCal>& gradePoints,
                                         QSize size, const TitleBlock& title, bool labels,
                                         const std::vector<GroundSample>* ground,
                                         bool heightLabels) {
  std::vector<ProfilePoint> points = profileLinePoints(gradePoints);
  std::vector<std::vector<ProfilePoint>> runs =
      ground != nullptr ? groundProfileRuns(*ground) : std::vector<std::vector<ProfilePoint>>{};
  const std::optional<WorldBox> box = profileExtent(points, runs);
  if (!box || points.size() < 2) return std::nullopt;
  DrawingSheet sheet;
  sheet.size = size;
  sheet.extent = *box;
  sheet.title = title;
  sheet.title.horizontalFactor = kProfileExaggeration;
  sheet.northArrow = false;
  sheet.content = [&gradePoints, labels, ground, heightLabels, points = std::move(points),
                   runs = std::move(runs)](QPainter& painter, const MapView& view,
                                           const DrawingPalette& palette) {
    const QRect bar = sheetScaleBarBox(view, kProfileExaggeration);
    drawProfileGrid(painter, view, palette, &bar);
    drawGroundProfile(painter, view, runs, palette);
    drawProfileLine(painter, view, points, palette);
    drawAllProfileLabels(painter, view, gradePoints, labels, heightLabels ? ground : nullptr,
                         palette);
  };
  return sheet;
}

std::optional<DrawingSheet> sectionSheet(const RecordList<Road_Section_Item>& left,
                                         const RecordList<Road_Section_Item>& right, QSize size,
                                         const TitleBlock& title) {
  std::vector<SectionSegment> segments = buildSectionSegments(left, right);
  const std::optional<WorldBox> box = sectionExtent(segments);
  if (!box) return std::nullopt;
  DrawingSheet sheet;
  sheet.size = size;
  sheet.extent = *box;
  sheet.title = title;
  sheet.northArrow = false;
  sheet.content = [&left, &right, segments = std::move(segments)](
                      QPainter& painter, const MapView& view, const DrawingPalette& palette) {
    const QRect bar = sheetScaleBarBox(view, 1);
    drawSectionGrid(painter, view, palette, &bar);
    drawSectionSegments(painter, view, segments, left, right, palette);
  };
  return sheet;
}

std::optional<DrawingSheet> stationSectionSheet(StationSectionPicture picture, QSize size,
                                                const TitleBlock& title) {
  const std::optional<WorldBox> box = stationSectionExtent(picture.segments, picture.ground);
  if (!box) return std::nullopt;
  DrawingSheet sheet;
  sheet.size = size;
  sheet.extent = *box;
  sheet.title = title;
  sheet.northArrow = false;
  sheet.content = [picture = std::move(picture)](QPainter& painter, const MapView& view,
                                                 const DrawingPalette& palette) {
    const QRect bar = sheetScaleBarBox(view, 1);
    drawStationSection(painter, view, picture, palette, &bar);
  };
  return sheet;
}

}  // namespace trazmark
