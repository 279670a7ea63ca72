#include "maps/PlanDrawing.h"

#include <QFont>
#include <QFontMetrics>
#include <QPaintEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPen>
#include <QStaticText>
#include <algorithm>
#include <cmath>
#include <unordered_map>

#include "maps/MapDecorations.h"
#include "maps/MapLabels.h"
#include "maps/RoundSteps.h"
#include "maps/ProfileDrawing.h"
#include "maps/SegmentClip.h"
#include "platform/CodePage.h"

namespace trazmark {

namespace {

/// Samples finer than this share of an element's length are not taken, which
/// bounds the work for absurd lengths.
constexpr double kMaxSamplesPerElement = 1e6;
/// Pixel coordinates inside this range go straight to the painter; beyond it
/// segments are clipped first so that the rasteriser never sees huge numbers.
constexpr double kSafePixelRange = 1 << 20;
/// The key-point circle sprite: the 4-pixel circle with room for its outline.
constexpr int kCircleMargin = 2;
constexpr int kCircleSprite = 4 + 2 * kCircleMargin + 1;

/// The box of a key point's name: from 16 pixels right of and 16 above the point.
constexpr int kLabelWidth = 400;
constexpr int kLabelHeight = 32;
/// Distinct names whose laid-out text is kept; laying out the text is what a
/// label costs, and a road repeats its labels at every paint.
constexpr std::size_t kMaxCachedLabels = 100000;
/// Half the length of a station tick across the centre line.
constexpr double kStationTickPixels = 5;

const QStaticText& labelText(const std::string& name) {
  thread_local std::unordered_map<std::string, QStaticText> cache;
  thread_local QString fontKey;
  const QString key = QFont().key();
  if (key != fontKey || cache.size() >= kMaxCachedLabels) {
    cache.clear();
    fontKey = key;
  }
  auto it = cache.find(name);
  if (it == cache.end()) {
    QStaticText text(QString::fromStdString(ansiToUtf8(name)));
    text.setTextFormat(Qt::PlainText);
    text.prepare(QTransform(), QFont());
    it = cache.emplace(name, std::move(text)).first;
  }
  return it->second;
}

/// A vector surface (SVG, PDF) gets the shapes themselves; a picture gets the
/// faster raster forms (the circle sprite, polylines).
bool isVectorSurface(const QPainter& painter) {
  const QPaintEngine* engine = painter.paintEngine();
  return engine != nullptr && engine->type() != QPaintEngine::Raster;
}

bool withinSafeRange(const QPointF& p) {
  return std::fabs(p.x()) < kSafePixelRange && std::fabs(p.y()) < kSafePixelRange;
}

void drawPolylineClipped(QPainter& painter, const std::vector<QPointF>& points,
                         const ClientRect& rect) {
  if (points.size() < 2) return;
  if (std::all_of(points.begin(), points.end(), withinSafeRange)) {
    if (isVectorSurface(painter)) {
      // One path per element, so the centre line stays whole in a drawing.
      QPainterPath path(points.front());
      for (std::size_t i = 1; i < points.size(); ++i) path.lineTo(points[i]);
      painter.drawPath(path);
    } else {
      painter.drawPolyline(points.data(), static_cast<int>(points.size()));
    }
    return;
  }
  const QRectF box(rect.left - 2.0, rect.top - 2.0, rect.width() + 4.0, rect.height() + 4.0);
  for (std::size_t i = 1; i < points.size(); ++i) {
    QPointF a = points[i - 1];
    QPointF b = points[i];
    if (clipSegment(a, b, box)) painter.drawLine(a, b);
  }
}

bool pixelOf(const MapView& view, const CRoadElement& element, double mileage, QPointF& pixel,
             ScreenPoint* whole = nullptr) {
  const std::optional<StationPoint> p = element.pointAtMileage(mileage, 0);
  if (!p) return false;
  double x = 0;
  double y = 0;
  view.worldToScreenF(p->x, p->y, x, y);
  pixel = QPointF(x, y);
  if (whole != nullptr) *whole = view.worldToScreen(p->x, p->y);
  return true;
}

}  // namespace

std::vector<double> curveSampleMileages(double startMileage, double endMileage, double scale) {
  const double length = endMileage - startMileage;
  if (!std::isfinite(length) || length < 0) return {startMileage, endMileage};
  double step = length / 10 < 5 ? length / 10 : 10;
  if (!(step > scale)) step = scale;
  if (!(step >= length / kMaxSamplesPerElement)) step = length / kMaxSamplesPerElement;
  std::vector<double> samples;
  samples.push_back(startMileage);
  if (step > 0) {
    // Multiplied rather than summed, so that 30 m in steps of 3 ends at 27 and
    // does not creep to 29.99999 and repeat the end.
    const double tolerance = 1e-9 * std::max(1.0, std::fabs(endMileage));
    for (long k = 1;; ++k) {
      const double m = startMileage + static_cast<double>(k) * step;
      if (!(m < endMileage - tolerance)) break;
      samples.push_back(m);
    }
  }
  samples.push_back(endMileage);
  return samples;
}

void drawCentreLine(QPainter& painter, const MapView& view,
                    const std::vector<CRoadElement>& elements, const QColor& colour, double width) {
  const ClientRect& rect = view.clientRect();
  painter.save();
  painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  std::vector<QPointF> points;
  for (const CRoadElement& e : elements) {
    if (e.type == kElementLine) {
      QPointF a;
      QPointF b;
      if (pixelOf(view, e, e.startMileage, a) && pixelOf(view, e, e.endMileage, b))
        drawPolylineClipped(painter, {a, b}, rect);
    } else if (e.type == kElementArc || e.type == kElementSpiral) {
      points.clear();
      bool inside = false;
      for (double m : curveSampleMileages(e.startMileage, e.endMileage, view.scale())) {
        QPointF p;
        ScreenPoint whole;
        if (!pixelOf(view, e, m, p, &whole)) continue;
        inside = inside || rect.contains(whole.x, whole.y);
        points.push_back(p);
      }
      // A curve none of whose samples is in the window is skipped, even when
      // it crosses the window between two samples.
      if (inside) drawPolylineClipped(painter, points, rect);
    }
  }
  painter.restore();
}

int drawKeyPoints(QPainter& painter, const MapView& view, const std::vector<SurveyCoord>& keyPoints,
                  const QColor& colour, const DrawingPalette& palette) {
  const ClientRect& rect = view.clientRect();
  const bool vector = isVectorSurface(painter);
  painter.save();
  // The circle is drawn once into a small sprite and then copied: a path per
  // key point would cost more than the whole centre line.
  QImage circle(kCircleSprite, kCircleSprite, QImage::Format_ARGB32_Premultiplied);
  circle.fill(Qt::transparent);
  {
    QPainter sprite(&circle);
    sprite.setPen(QPen(colour, 1, Qt::SolidLine));
    sprite.setBrush(palette.markFill);
    sprite.drawEllipse(QRect(kCircleMargin, kCircleMargin, 4, 4));
  }
  // Labels stay inside the window (a name at its right edge goes to the
  // left of its point, one at its top edge moves down) and may not cover
  // each other.
  CLabelPlacer placer(QRect(rect.left, rect.top, rect.width(), rect.height()));
  int shown = 0;
  // Names in black on an opaque white box, the default of a fresh drawing
  // surface, in the default font.
  painter.setFont(QFont());
  for (const SurveyCoord& k : keyPoints) {
    const ScreenPoint p = view.worldToScreen(k.X, k.Y);  // (0, 0) below a scale of 1e-7
    if (!rect.contains(p.x, p.y)) continue;
    // The circle through (x-2, y-2, x+2, y+2).
    if (vector) {
      painter.setPen(QPen(colour, 1, Qt::SolidLine));
      painter.setBrush(palette.markFill);
      painter.drawEllipse(QRect(p.x - 2, p.y - 2, 4, 4));
    } else {
      painter.drawImage(QPoint(p.x - 2 - kCircleMargin, p.y - 2 - kCircleMargin), circle);
    }
    const QStaticText& label = labelText(k.Name);
    const QSize size = label.size().toSize();
    const int shownWidth = std::min(size.width(), kLabelWidth);
    int left = p.x + 16;
    if (left + shownWidth > rect.right) left = p.x - 16 - shownWidth;
    left = placeInside(left, shownWidth, rect.left, rect.right - 1);
    const int top =
        placeInside(p.y - 16, std::min(size.height(), kLabelHeight), rect.top, rect.bottom - 1);
    const QRect box(QPoint(left, top), size);
    const QRect limit(left, top, kLabelWidth, kLabelHeight);
    // A label that would cover one already drawn is left out at this scale;
    // zooming in spreads the points and brings it back.
    if (!placer.place(box.intersected(limit))) continue;
    ++shown;
    const bool clip = !limit.contains(box);
    if (clip) {
      painter.save();
      painter.setClipRect(limit, Qt::IntersectClip);
    }
    painter.setPen(palette.labelText);
    painter.fillRect(box, palette.labelBox);
    painter.drawStaticText(box.topLeft(), label);
    if (clip) painter.restore();
  }
  painter.restore();
  return shown;
}

std::vector<double> stationTickMileages(double start, double end, double scale, double minPixels) {
  std::vector<double> ticks;
  if (!(end > start) || !(scale > 0) || !(minPixels > 0) || !std::isfinite(end - start))
    return ticks;
  const double least = scale * minPixels;
  double power = std::pow(10.0, std::floor(std::log10(least)));
  double step = 0;
  while (step == 0) {
    for (double f : {1.0, 2.0, 5.0}) {
      if (f * power >= least) {
        step = f * power;
        break;
      }
    }
    power *= 10;
  }
  // A road of a few kilometres at a sheet's scale has tens of ticks; the cap
  // only guards against a scale that makes no sense for the road.
  if ((end - start) / step > 10000) return ticks;
  for (double k = std::ceil(start / step - 1e-9); k * step <= end + 1e-9; k += 1)
    ticks.push_back(k * step);
  return ticks;
}

int drawStationTicks(QPainter& painter, const MapView& view, const CRoadDesign& design,
                     const DrawingPalette& palette) {
  const ClientRect& rect = view.clientRect();
  const double half = kStationTickPixels * view.scale();
  painter.save();
  painter.setPen(QPen(palette.ink, 1, Qt::SolidLine));
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(palette.labelPointSize);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  int drawn = 0;
  for (double m : stationTickMileages(design.startMileage(), design.endMileage(), view.scale())) {
    const std::optional<std::size_t> index = design.findElement(m);
    if (!index) continue;
    const CRoadElement& e = design.elements()[*index];
    const std::optional<StationPoint> left = e.pointAtMileage(m, -half);
    const std::optional<StationPoint> right = e.pointAtMileage(m, half);
    if (!left || !right) continue;
    double ax = 0, ay = 0, bx = 0, by = 0;
    view.worldToScreenF(left->x, left->y, ax, ay);
    view.worldToScreenF(right->x, right->y, bx, by);
    if (!rect.contains(static_cast<int>(std::lround((ax + bx) / 2)),
                       static_cast<int>(std::lround((ay + by) / 2))))
      continue;
    painter.drawLine(QPointF(ax, ay), QPointF(bx, by));
    // The station on the left of travel, written from the tick outwards, so
    // the key points' names (to the right of their circles) keep their room.
    std::string text = formatStation(design.displayedFromContinuous(m));
    if (text.size() > 4 && text.compare(text.size() - 4, 4, ".000") == 0)
      text.resize(text.size() - 4);
    const QString label = QString::fromStdString(text);
    const double dx = ax - bx;
    const double dy = ay - by;
    const double length = std::hypot(dx, dy);
    if (!(length > 0)) continue;
    const QPointF tip(ax + dx / length * 3, ay + dy / length * 3);
    const int w = metrics.horizontalAdvance(label);
    // Left of the tip when the tick points left, right of it otherwise.
    const QPointF corner(dx < 0 ? tip.x() - w : tip.x(),
                         dy < 0 ? tip.y() : tip.y() + metrics.ascent());
    painter.drawText(corner, label);
    ++drawn;
  }
  painter.restore();
  return drawn;
}

std::optional<WorldBox> keyPointBox(const std::vector<SurveyCoord>& keyPoints) {
  if (keyPoints.empty()) return std::nullopt;
  WorldBox box{keyPoints.front().X, keyPoints.front().Y, keyPoints.front().X, keyPoints.front().Y};
  for (const SurveyCoord& k : keyPoints) {
    box.minX = std::min(box.minX, k.X);
    box.minY = std::min(box.minY, k.Y);
    box.maxX = std::max(box.maxX, k.X);
    box.maxY = std::max(box.maxY, k.Y);
  }
  return box;
}

std::optional<WorldBox> planExtent(const CRoadDesign& design) {
  if (design.keyPoints().empty()) return std::nullopt;
  const Extents& e = design.extents();
  return WorldBox{e.minX, e.minY, e.maxX, e.maxY};
}

void drawRoadPlan(QPainter& painter, const MapView& view, const CRoadDesign& design,
                  const DrawingPalette& palette) {
  const uint32_t c = design.penColor;
  const QColor colour = palette.centreLine.isValid()
                            ? palette.centreLine
                            : QColor(static_cast<int>((c >> 16) & 0xFF),
                                     static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF));
  drawCentreLine(painter, view, design.elements(), colour, palette.roadLineWidth);
  if (palette.planStations) drawStationTicks(painter, view, design, palette);
  drawKeyPoints(painter, view, design.keyPoints(), colour, palette);
}

bool renderPlanImage(const CRoadDesign& design, QSize size, QImage& image, MapView* viewOut) {
  MapView view;
  view.setBackground(kColourBlack);
  if (!view.setClientRect({0, 0, size.width(), size.height()})) return false;
  const std::optional<WorldBox> box = planExtent(design);
  if (!box) return false;
  if (const std::optional<ViewTarget> target = view.fullExtentTarget({*box}))
    view.commitTarget(*target);
  presentFrame(image, view, QImage());
  {
    QPainter painter(&image);
    drawRoadPlan(painter, view, design);
  }
  if (viewOut != nullptr) *viewOut = view;
  return true;
}

bool renderPlanImage(const std::string& curveFilePath, QSize size, QImage& image) {
  CRoadDesign design;
  if (!design.loadFromCurveFile(curveFilePath)) return false;
  return renderPlanImage(design, size, image);
}

}  // namespace trazmark
