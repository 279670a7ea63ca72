#include "maps/MassHaulDrawing.h"

#include <QBuffer>
#include <QByteArray>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPen>
#include <QSvgGenerator>
#include <algorithm>
#include <cmath>

#include "maps/DrawingExport.h"
#include "maps/ProfileDrawing.h"
#include "maps/RoundSteps.h"
#include "platform/CodePage.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"

namespace trazmark {
namespace {

constexpr int kAlongTicks = 10;
constexpr int kMassTicks = 8;
/// Room for the axes' labels and the texts above and below (pixels).
constexpr int kPlotLeft = 96, kPlotRight = 56, kPlotTop = 56, kPlotBottom = 70;

QString qtText(const std::string& ansi) { return QString::fromStdString(ansiToUtf8(ansi)); }

std::string volumeText(double v) { return formatFixed(v, 1) + " m\xC2\xB3"; }

/// A tick's station: "K1+200" on a whole metre, else with its millimetres.
std::string tickStation(double station) {
  std::string text = formatStation(station);
  const std::size_t dot = text.rfind(".000");
  if (dot != std::string::npos && dot + 4 == text.size()) text.erase(dot);
  return text;
}

}  // namespace

std::vector<double> MassAxis::ticks() const {
  std::vector<double> out;
  if (!(step > 0) || !(to >= from)) return out;
  const long long n = std::llround((to - from) / step);
  for (long long i = 0; i <= n && i <= 1000; ++i)
    out.push_back(from + static_cast<double>(i) * step);
  return out;
}

double roundStep(double span, int maxTicks) {
  if (!(span > 0) || !std::isfinite(span) || maxTicks < 1) return 1;
  const double step = roundLength(span / maxTicks);
  return step > 0 ? step : 1;
}

MassAxis roundAxis(double low, double high, int maxTicks, bool withZero) {
  if (withZero) {
    low = std::min(low, 0.0);
    high = std::max(high, 0.0);
  }
  MassAxis axis;
  if (!std::isfinite(low) || !std::isfinite(high)) return axis;
  if (!(high > low)) {
    // One value: one round step either side of it.
    const double step = roundStep(std::max(1.0, std::fabs(low)), 1);
    axis.step = step;
    axis.from = std::floor(low / step) * step - (withZero && low == 0 ? 0 : step);
    axis.to = std::ceil(high / step) * step + step;
    return axis;
  }
  axis.step = roundStep(high - low, maxTicks);
  axis.from = std::floor(low / axis.step + 1e-9) * axis.step;
  axis.to = std::ceil(high / axis.step - 1e-9) * axis.step;
  return axis;
}

std::optional<MassHaulAxes> massHaulAxes(const MassHaulData& data) {
  if (data.points.empty()) return std::nullopt;
  double a0 = data.points.front().distance, a1 = a0;
  double m0 = data.points.front().mass, m1 = m0;
  for (const MassPoint& p : data.points) {
    a0 = std::min(a0, p.distance);
    a1 = std::max(a1, p.distance);
    m0 = std::min(m0, p.mass);
    m1 = std::max(m1, p.mass);
  }
  return MassHaulAxes{roundAxis(a0, a1, kAlongTicks), roundAxis(m0, m1, kMassTicks, true)};
}

std::string massHaulTotalsText(const MassHaulData& data, const MassHaulWords& words) {
  return words.cut + " " + volumeText(data.totalCut) + " (" + words.bulking + " " +
         formatFixed(data.bulking, 2) + ")   " + words.fill + " " + volumeText(data.totalFill) +
         "   " + words.balance + " " + volumeText(data.totalCut * data.bulking - data.totalFill);
}

void paintMassHaul(QPainter& painter, QSize size, const MassHaulData& data,
                   const std::string& roadName, const MassHaulWords& words, bool whitePage) {
  const QColor ink = whitePage ? QColor(Qt::black) : QColor(230, 230, 230);
  const QColor grid = whitePage ? QColor(220, 220, 220) : QColor(70, 70, 70);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.fillRect(QRect(QPoint(0, 0), size), whitePage ? QColor(Qt::white) : QColor(Qt::black));
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(12);
  painter.setFont(font);
  const QRectF plot(kPlotLeft, kPlotTop, size.width() - kPlotLeft - kPlotRight,
                    size.height() - kPlotTop - kPlotBottom);
  QFont titleFont = font;
  titleFont.setPixelSize(16);
  titleFont.setBold(true);
  painter.setFont(titleFont);
  painter.setPen(ink);
  painter.drawText(QRectF(kPlotLeft, 8, plot.width(), 24), Qt::AlignLeft | Qt::AlignVCenter,
                   qtText(words.title + " \xE2\x80\x94 " + words.road + ": " + roadName));
  painter.setFont(font);
  painter.drawText(QRectF(kPlotLeft, 30, plot.width(), 20), Qt::AlignLeft | Qt::AlignVCenter,
                   qtText(massHaulTotalsText(data, words)));
  const std::optional<MassHaulAxes> axes = massHaulAxes(data);
  if (!axes || plot.width() < 40 || plot.height() < 40) {
    painter.restore();
    return;
  }
  const MassAxis& ax = axes->along;
  const MassAxis& my = axes->mass;
  auto px = [&](double d) {
    return plot.left() + (d - ax.from) / (ax.to - ax.from) * plot.width();
  };
  auto py = [&](double m) {
    return plot.bottom() - (m - my.from) / (my.to - my.from) * plot.height();
  };
  // Ticks, grid and labels. A distance tick is labelled with the displayed
  // station of the nearest point, so broken chains read as on the road.
  auto stationAt = [&](double d) {
    const MassPoint* best = &data.points.front();
    for (const MassPoint& p : data.points)
      if (std::fabs(p.distance - d) < std::fabs(best->distance - d)) best = &p;
    return best->station + (d - best->distance);
  };
  for (double d : ax.ticks()) {
    const double x = px(d);
    painter.setPen(QPen(grid, 1));
    painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.bottom()));
    painter.setPen(ink);
    const QString label = QString::fromStdString(tickStation(stationAt(d)));
    painter.drawText(QRectF(x - 60, plot.bottom() + 4, 120, 18), Qt::AlignHCenter | Qt::AlignTop,
                     label);
  }
  const int massDecimals = my.step < 1 ? 1 : 0;
  for (double m : my.ticks()) {
    const double y = py(m);
    painter.setPen(QPen(grid, 1));
    painter.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
    painter.setPen(ink);
    painter.drawText(QRectF(0, y - 9, kPlotLeft - 6, 18), Qt::AlignRight | Qt::AlignVCenter,
                     QString::fromStdString(formatFixed(m, massDecimals)));
  }
  painter.setPen(QPen(ink, 1));
  painter.drawRect(plot);
  painter.setPen(QPen(ink, 1.5, Qt::DashLine));
  painter.drawLine(QPointF(plot.left(), py(0)), QPointF(plot.right(), py(0)));
  painter.setPen(ink);
  painter.drawText(QRectF(kPlotLeft, plot.bottom() + 24, plot.width(), 18),
                   Qt::AlignHCenter | Qt::AlignTop, qtText(words.station));
  painter.save();
  painter.translate(14, plot.center().y());
  painter.rotate(-90);
  painter.drawText(QRectF(-plot.height() / 2, -8, plot.height(), 18), Qt::AlignCenter,
                   qtText(words.mass));
  painter.restore();
  // The mass line: blue above zero (cut ahead to carry), red below.
  const QColor above(30, 110, 230), below(220, 50, 40);
  for (std::size_t i = 1; i < data.points.size(); ++i) {
    const MassPoint& a = data.points[i - 1];
    const MassPoint& b = data.points[i];
    auto piece = [&](double d0, double m0, double d1, double m1) {
      painter.setPen(QPen((m0 + m1) / 2 >= 0 ? above : below, 2));
      painter.drawLine(QPointF(px(d0), py(m0)), QPointF(px(d1), py(m1)));
    };
    if ((a.mass > 0 && b.mass < 0) || (a.mass < 0 && b.mass > 0)) {
      const double t = a.mass / (a.mass - b.mass);
      const double d = a.distance + (b.distance - a.distance) * t;
      piece(a.distance, a.mass, d, 0);
      piece(d, 0, b.distance, b.mass);
    } else {
      piece(a.distance, a.mass, b.distance, b.mass);
    }
  }
  painter.restore();
}

bool writeMassHaul(const MassHaulData& data, const std::string& path, QSize size,
                   const std::string& roadName, std::string& error, const MassHaulWords& words) {
  const std::optional<DrawingFormat> format = drawingFormatFor(path);
  if (!format || *format == DrawingFormat::Dxf) {
    error = "cannot write " + path +
            ": the diagram is written as PNG, SVG or PDF (name ending in .png, .svg or .pdf)";
    return false;
  }
  if (data.points.size() < 2) {
    error = "no mass ordinate to draw (fewer than two stations)";
    return false;
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  if (!buffer.open(QIODevice::WriteOnly)) {
    error = "cannot encode the diagram";
    return false;
  }
  bool painted = false;
  if (*format == DrawingFormat::Png) {
    QImage image(size, QImage::Format_RGB32);
    {
      QPainter painter(&image);
      paintMassHaul(painter, size, data, roadName, words);
    }
    painted = image.save(&buffer, "PNG");
  } else if (*format == DrawingFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(size);
    svg.setViewBox(QRect(QPoint(0, 0), size));
    svg.setResolution(96);
    svg.setTitle(qtText(roadName));
    QPainter painter;
    if (painter.begin(&svg)) {
      paintMassHaul(painter, size, data, roadName, words);
      painted = painter.end();
    }
  } else {
    QPdfWriter pdf(&buffer);
    pdf.setResolution(96);
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    pdf.setPageSize(QPageSize(QSizeF(size.width() * 25.4 / 96, size.height() * 25.4 / 96),
                              QPageSize::Millimeter, QString(), QPageSize::ExactMatch));
    pdf.setTitle(qtText(roadName));
    pdf.setCreator(QStringLiteral("Trazmark"));
    QPainter painter;
    if (painter.begin(&pdf)) {
      paintMassHaul(painter, size, data, roadName, words);
      painted = painter.end();
    }
  }
  if (!painted || bytes.isEmpty()) {
    error = "cannot encode the diagram";
    return false;
  }
  if (!writeTextFileAtomically(
          path, std::string(bytes.constData(), static_cast<std::size_t>(bytes.size())))) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

}  // namespace trazmark
