#include "maps/MapDecorations.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <cmath>

#include "maps/MapLabels.h"
#include "maps/RoundSteps.h"
#include "platform/qt/Localization.h"

namespace trazmark {
namespace {

/// The scale bar stands this far from the right and bottom edges.
constexpr int kBarRightGap = 10;
constexpr int kBarBottomGap = 12;
/// Room above the bar for its label.
constexpr int kBarLabelHeight = 17;

QFont scaleBarFont() {
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(9);
  return font;
}

}  // namespace

QColor colourFromRef(uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

ScaleBar roundScaleBar(const MapView& view, double leastPixels, double horizontalFactor) {
  ScaleBar bar;
  const double scale = view.scale() * horizontalFactor;
  if (!(scale > 0) || !std::isfinite(scale)) return bar;
  bar.metres = roundLength(scale * leastPixels);
  bar.pixels = bar.metres / scale;
  bar.label = roundLengthText(bar.metres) + " m";
  return bar;
}

void drawNorthArrow(QPainter& painter, const ClientRect& rect, const QColor& colour) {
  const int l = rect.left;
  const int b = rect.bottom;
  painter.save();
  painter.setPen(QPen(colour, 0, Qt::SolidLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawLine(l + 15, b - 15, l + 15, b - 75);
  painter.drawLine(l + 15, b - 75, l + 11, b - 71);
  painter.drawLine(l + 15, b - 75, l + 19, b - 71);
  painter.drawLine(l + 15, b - 15, l + 75, b - 15);
  painter.drawLine(l + 75, b - 15, l + 71, b - 19);
  painter.drawLine(l + 75, b - 15, l + 71, b - 11);
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(16);
  font.setWeight(QFont::Medium);
  painter.setFont(font);
  painter.setBackgroundMode(Qt::TransparentMode);
  const QFontMetrics metrics(font);
  // The letters' top-left corners are given; drawText takes the baseline.
  painter.drawText(l + 11, b - 95 + metrics.ascent(), QStringLiteral("N"));
  painter.drawText(l + 83, b - 23 + metrics.ascent(), QStringLiteral("E"));
  painter.restore();
}

QRect scaleBarBox(const MapView& view, double horizontalFactor) {
  const ScaleBar bar = roundScaleBar(view, kScaleBarLeastPixels, horizontalFactor);
  const ClientRect& rect = view.clientRect();
  const int right = rect.right - kBarRightGap;
  const int width = static_cast<int>(std::ceil(bar.pixels));
  const int labelWidth = QFontMetrics(scaleBarFont()).horizontalAdvance(QString::fromStdString(bar.label));
  const int left = right - std::max(width, labelWidth);
  const int top = rect.bottom - kBarBottomGap - kBarLabelHeight - 2;
  return QRect(QPoint(left, top), QPoint(right, rect.bottom - kBarBottomGap + 3));
}

void drawScaleBar(QPainter& painter, const MapView& view, double horizontalFactor) {
  const ScaleBar bar = roundScaleBar(view, kScaleBarLeastPixels, horizontalFactor);
  if (!(bar.pixels > 0)) return;
  const ClientRect& rect = view.clientRect();
  const int r = rect.right - kBarRightGap;
  const int l = r - static_cast<int>(std::lround(bar.pixels));
  const int y = rect.bottom - kBarBottomGap;
  const QColor colour = colourFromRef(view.params().background ^ kColourWhite);
  painter.save();
  painter.setPen(QPen(colour, 1, Qt::SolidLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawLine(l, y - 3, l, y + 3);
  painter.drawLine(r, y - 3, r, y + 3);
  painter.drawLine(l, y, r, y);
  const QFont font = scaleBarFont();
  painter.setFont(font);
  painter.setBackgroundMode(Qt::TransparentMode);
  // Centred over the bar, kept inside the window when the label is the wider.
  const QString label = QString::fromStdString(bar.label);
  const int labelWidth = QFontMetrics(font).horizontalAdvance(label) + 2;
  const int labelLeft = placeInside((l + r - labelWidth) / 2, labelWidth, rect.left, r);
  painter.drawText(QRect(labelLeft, y - 2 - kBarLabelHeight, labelWidth, kBarLabelHeight),
                   Qt::AlignCenter, label);
  painter.restore();
}

void drawValueGrid(QPainter& painter, const MapView& view, const ValueGrid& grid,
                   const QRect* keepClear) {
  const ClientRect& r = view.clientRect();
  if (r.width() <= 0 || r.height() <= 0 || !(grid.columnFactor > 0)) return;
  // The world the window shows: X up from the bottom edge, Y right from the left.
  const WorldPoint topLeft = view.screenToWorld(r.left, r.top);
  const WorldPoint bottomRight = view.screenToWorld(r.right, r.bottom);
  const std::vector<double> rows = gridValues(bottomRight.x, topLeft.x, grid.rowStep);
  const std::vector<double> columns = gridValues(topLeft.y * grid.columnFactor,
                                                 bottomRight.y * grid.columnFactor, grid.columnStep);
  painter.save();
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(grid.pointSize);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  const int h = metrics.height();
  const QRect window(r.left, r.top, r.width(), r.height());
  CLabelPlacer placer(window);
  if (keepClear != nullptr) placer.place(keepClear->intersected(window));
  const QPen linePen(grid.line, 1, Qt::DashLine);
  painter.setPen(linePen);
  std::vector<int> rowPixels;
  std::vector<int> columnPixels;
  for (double v : rows) {
    const int y = view.worldToScreen(v, topLeft.y).y;
    rowPixels.push_back(y);
    painter.drawLine(r.left, y, r.right, y);
  }
  for (double v : columns) {
    const int x = view.worldToScreen(topLeft.x, v / grid.columnFactor).x;
    columnPixels.push_back(x);
    painter.drawLine(x, r.top, x, r.bottom);
  }
  painter.setPen(grid.text);
  auto label = [&](const QString& text, int left, int top) {
    const int w = metrics.horizontalAdvance(text) + 2;
    const QRect box(placeInside(left, w, window.left(), window.right()),
                    placeInside(top, h, window.top(), window.bottom()), w, h);
    if (!placer.place(box)) return;
    painter.drawText(QPoint(box.left() + 1, box.top() + metrics.ascent()), text);
  };
  // Columns first along the bottom edge, then rows up the left edge: a row
  // label in the corner gives way.
  for (std::size_t i = 0; i < columns.size(); ++i)
    label(grid.columnText(columns[i]), columnPixels[i] + 2, r.bottom - h);
  for (std::size_t i = 0; i < rows.size(); ++i)
    label(grid.rowText(rows[i]), r.left + 2, rowPixels[i] - h);
  painter.restore();
}

void drawOutOfDateNote(QPainter& painter, const QRect& area, const QString& text) {
  if (text.isEmpty() || area.isEmpty()) return;
  painter.save();
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(9);
  font.setBold(true);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  const int width = std::min(metrics.horizontalAdvance(text) + 16, area.width());
  const QRect box(area.left() + (area.width() - width) / 2, area.top() + 4, width,
                  metrics.height() + 6);
  painter.fillRect(box, QColor(255, 200, 60));
  painter.setPen(QColor(40, 30, 0));
  painter.drawText(box, Qt::AlignCenter,
                   metrics.elidedText(text, Qt::ElideRight, box.width() - 8));
  painter.restore();
}

QString outOfDateText() {
  return languageTextOr("IDS_DATA_map_out_of_date",
                        QStringLiteral("Out of date: the road was edited after this drawing. "
                                       "Draw it again."));
}

void presentFrame(QImage& frame, const MapView& view, const QImage& cache,
                  const MapDecorationStyle& style) {
  const ClientRect& rect = view.clientRect();
  const QSize size(std::max(rect.width(), 1), std::max(rect.height(), 1));
  if (frame.size() != size || frame.format() != QImage::Format_RGB32)
    frame = QImage(size, QImage::Format_RGB32);
  frame.fill(colourFromRef(view.params().background));
  QPainter painter(&frame);
  if (!cache.isNull()) painter.drawImage(QPoint(0, 0), cache);
  painter.translate(-rect.left, -rect.top);
  if (style.northArrow) drawNorthArrow(painter, rect);
  drawScaleBar(painter, view, style.horizontalFactor);
}

}  // namespace trazmark
