#include "maps/MapDecorations.h"

#include <QFont>
#include <QPainter>
#include <QPen>
#include <cmath>
#include <cstdio>

namespace trazmark {

QColor colourFromRef(uint32_t colour) {
  return QColor(static_cast<int>(colour & 0xFF), static_cast<int>((colour >> 8) & 0xFF),
                static_cast<int>((colour >> 16) & 0xFF));
}

double scaleBarLength(const MapView& view) {
  const ClientRect& r = view.clientRect();
  const WorldPoint a = view.screenToWorld(r.right - 10 - kScaleBarPixels, r.bottom - 15);
  const WorldPoint b = view.screenToWorld(r.right - 10, r.bottom - 15);
  return std::hypot(b.x - a.x, b.y - a.y);
}

std::string scaleBarLabel(double length) {
  char text[64];
  // snprintf formats with a dot: the numeric locale stays "C" after start-up.
  if (length < 1)
    std::snprintf(text, sizeof text, "%.2fm", length);
  else if (length < 5)
    std::snprintf(text, sizeof text, "%.1fm", length);
  else
    std::snprintf(text, sizeof text, "%.0fm", length);
  return text;
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

void drawScaleBar(QPainter& painter, const MapView& view) {
  const ClientRect& rect = view.clientRect();
  const int r = rect.right;
  const int b = rect.bottom;
  const QColor colour = colourFromRef(view.params().background ^ kColourWhite);
  painter.save();
  painter.setPen(QPen(colour, 1, Qt::SolidLine));
  painter.setBrush(Qt::NoBrush);
  painter.drawLine(r - 70, b - 15, r - 70, b - 9);
  painter.drawLine(r - 10, b - 15, r - 10, b - 9);
  painter.drawLine(r - 70, b - 12, r - 10, b - 12);
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(9);
  painter.setFont(font);
  painter.setBackgroundMode(Qt::TransparentMode);
  painter.drawText(QRect(QPoint(r - 70, b - 31), QPoint(r - 11, b - 14)), Qt::AlignCenter,
                   QString::fromStdString(scaleBarLabel(scaleBarLength(view))));
  painter.restore();
}

void presentFrame(QImage& frame, const MapView& view, const QImage& cache) {
  const ClientRect& rect = view.clientRect();
  const QSize size(std::max(rect.width(), 1), std::max(rect.height(), 1));
  if (frame.size() != size || frame.format() != QImage::Format_RGB32)
    frame = QImage(size, QImage::Format_RGB32);
  frame.fill(colourFromRef(view.params().background));
  QPainter painter(&frame);
  if (!cache.isNull()) painter.drawImage(QPoint(0, 0), cache);
  painter.translate(-rect.left, -rect.top);
  drawNorthArrow(painter, rect);
  drawScaleBar(painter, view);
}

}  // namespace trazmark
