#include "maps/ProfileDrawing.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <climits>
#include <cmath>

#include "maps/MapDecorations.h"
#include "maps/MapLabels.h"
#include "maps/RoundSteps.h"
#include "maps/SegmentClip.h"
#include "platform/TextFields.h"
#include "vertical/VerticalCurveCal.h"

namespace trazmark {
namespace {

/// Fill/cut labels start this far below the lower line.
constexpr int kHeightLabelGap = 6;
/// The leader from a mark to its label.
constexpr int kLeaderPixels = 24;
constexpr int kTickPixels = 6;
/// A curve shorter than this (metres) is no curve worth marking.
constexpr double kMinCurveLength = 1e-3;

QPointF pixelOf(const MapView& view, double x, double y) {
  double px = 0;
  double py = 0;
  view.worldToScreenF(x, y, px, py);
  return {px, py};
}

std::string percent(double grade) {
  std::string s = grade >= 0 ? "+" : "";
  return s + formatFixed(grade * 100, 3) + "%";
}

/// Draws `lines` with their top-left at `topLeft` when the placer takes them.
bool placeText(QPainter& painter, CLabelPlacer& placer, const QFontMetrics& metrics, QPoint topLeft,
               const std::vector<QString>& lines, const QColor& colour) {
  int width = 0;
  for (const QString& l : lines) width = std::max(width, metrics.horizontalAdvance(l));
  const int lineHeight = metrics.height();
  const QRect box(topLeft, QSize(width + 2, lineHeight * static_cast<int>(lines.size())));
  if (!placer.place(box)) return false;
  painter.setPen(colour);
  for (std::size_t i = 0; i < lines.size(); ++i)
    painter.drawText(
        QPoint(box.left() + 1, box.top() + metrics.ascent() + lineHeight * static_cast<int>(i)),
        lines[i]);
  return true;
}

}  // namespace

std::string formatStation(double mileage) {
  if (!std::isfinite(mileage)) return "K?";
  // Rounded to the millimetre first, so 999.9996 reads K1+000.000.
  const double mm = std::round(std::fabs(mileage) * 1000);
  const long long km = static_cast<long long>(mm / 1e6);
  const double metres = (mm - static_cast<double>(km) * 1e6) / 1000;
  std::string s = mileage < 0 && mm > 0 ? "-K" : "K";
  s += formatInt(km) + "+";
  std::string m = formatFixed(metres, 3);
  while (m.size() < 7) m.insert(m.begin(), '0');
  return s + m;
}

std::string stationGridText(double mileage, double step) {
  std::string text = formatStation(mileage);
  const int decimals = std::min(stepDecimals(step), 3);
  // formatStation always writes three decimals; the step needs `decimals`.
  text.erase(text.size() - static_cast<std::size_t>(3 - decimals) - (decimals == 0 ? 1 : 0));
  return text;
}

MapDecorationStyle profileDecorations() {
  MapDecorationStyle style;
  style.northArrow = false;
  style.horizontalFactor = kProfileExaggeration;
  return style;
}

void drawProfileGrid(QPainter& painter, const MapView& view, const DrawingPalette& palette,
                     const QRect* keepClear) {
  /// Station labels ("K12+400") want more room than elevations.
  constexpr double kStationColumnLeastPixels = 100;
  ValueGrid grid;
  grid.rowStep = roundLength(view.scale() * kGridRowLeastPixels);
  grid.columnStep = roundLength(view.scale() * kProfileExaggeration * kStationColumnLeastPixels);
  grid.columnFactor = kProfileExaggeration;
  grid.rowText = [step = grid.rowStep](double v) {
    return QString::fromStdString(gridValueText(v, step));
  };
  grid.columnText = [step = grid.columnStep](double v) {
    return QString::fromStdString(stationGridText(v, step));
  };
  grid.line = palette.sectionGrid;
  grid.text = palette.sectionGridText;
  grid.pointSize = palette.labelPointSize;
  drawValueGrid(painter, view, grid, keepClear);
}

std::vector<ProfilePoint> profileLinePoints(const RecordList<CVerticalCurveCal>& gradePoints) {
  std::vector<GradeLineSample> samples;
  std::vector<ProfilePoint> points;
  if (!sampleProfileLine(gradePoints, samples)) return points;
  points.reserve(samples.size());
  for (const GradeLineSample& s : samples)
    points.push_back({s.elevation, s.mileage / kProfileExaggeration});
  return points;
}

std::optional<WorldBox> profileExtent(const std::vector<ProfilePoint>& points) {
  if (points.empty()) return std::nullopt;
  WorldBox box{points.front().x, points.front().y, points.front().x, points.front().y};
  for (const ProfilePoint& p : points) {
    box.minX = std::min(box.minX, p.x);
    box.maxX = std::max(box.maxX, p.x);
    box.minY = std::min(box.minY, p.y);
    box.maxY = std::max(box.maxY, p.y);
  }
  return box;
}

std::vector<std::vector<ProfilePoint>> groundProfileRuns(const std::vector<GroundSample>& samples) {
  std::vector<std::vector<ProfilePoint>> runs;
  bool open = false;
  for (const GroundSample& s : samples) {
    if (!s.elevation || !std::isfinite(*s.elevation) || !std::isfinite(s.station)) {
      open = false;
      continue;
    }
    if (!open) runs.emplace_back();
    open = true;
    runs.back().push_back({*s.elevation, s.station / kProfileExaggeration});
  }
  return runs;
}

std::optional<WorldBox> profileExtent(const std::vector<ProfilePoint>& points,
                                      const std::vector<std::vector<ProfilePoint>>& groundRuns) {
  std::optional<WorldBox> box = profileExtent(points);
  for (const std::vector<ProfilePoint>& run : groundRuns) {
    const std::optional<WorldBox> b = profileExtent(run);
    if (!b) continue;
    if (!box) {
      box = b;
      continue;
    }
    box->minX = std::min(box->minX, b->minX);
    box->minY = std::min(box->minY, b->minY);
    box->maxX = std::max(box->maxX, b->maxX);
    box->maxY = std::max(box->maxY, b->maxY);
  }
  return box;
}

void drawGroundProfile(QPainter& painter, const MapView& view,
                       const std::vector<std::vector<ProfilePoint>>& runs,
                       const DrawingPalette& palette) {
  const ClientRect& r = view.clientRect();
  const QRectF box(r.left - 1.0, r.top - 1.0, r.width() + 2.0, r.height() + 2.0);
  painter.save();
  painter.setPen(QPen(palette.ground, 1, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  std::vector<QPointF> line;
  auto flush = [&] {
    if (line.size() >= 2) painter.drawPolyline(line.data(), static_cast<int>(line.size()));
    line.clear();
  };
  for (const std::vector<ProfilePoint>& run : runs) {
    if (run.size() == 1) {
      const QPointF p = pixelOf(view, run[0].x, run[0].y);
      if (box.contains(p)) painter.drawPoint(p);
      continue;
    }
    QPointF previous = pixelOf(view, run[0].x, run[0].y);
    for (std::size_t i = 1; i < run.size(); ++i) {
      const QPointF next = pixelOf(view, run[i].x, run[i].y);
      QPointF a = previous;
      QPointF b = next;
      if (clipSegment(a, b, box)) {
        if (line.empty() || line.back() != a) {
          flush();
          line.push_back(a);
        }
        line.push_back(b);
        if (b != next) flush();
      } else {
        flush();
      }
      previous = next;
    }
    flush();  // the next run starts after a gap
  }
  painter.restore();
}

std::string fillCutText(double height) {
  if (!std::isfinite(height)) return "?";
  const double mm = std::round(height * 1000);
  if (mm == 0) return "0.000";
  return (mm > 0 ? "+" : "") + formatFixed(mm / 1000, 3);
}

std::vector<FillCutHeight> fillCutHeights(const RecordList<CVerticalCurveCal>& gradePoints,
                                          const std::vector<GroundSample>& samples) {
  std::vector<FillCutHeight> heights;
  if (samples.empty() || gradePoints.size() < 2) return heights;
  const CGradeLine line(gradePoints);
  if (line.empty()) return heights;
  // The grade line is drawn from the first grade point to the last; a stake
  // beyond them has no design to compare with.
  const double first = gradePoints.front().Mileage;
  const double last = gradePoints.back().Mileage;
  for (const GroundSample& s : samples) {
    if (!s.elevation || !std::isfinite(*s.elevation)) continue;
    if (!(s.station >= first - kMinCurveLength && s.station <= last + kMinCurveLength)) continue;
    double design = 0;
    if (!line.elevationAt(s.station, design)) continue;
    heights.push_back({s.station, design, *s.elevation});
  }
  return heights;
}

int drawFillCutLabels(QPainter& painter, const MapView& view,
                      const RecordList<CVerticalCurveCal>& gradePoints,
                      const std::vector<GroundSample>& samples, CLabelPlacer* sharedPlacer,
                      const DrawingPalette& palette) {
  const std::vector<FillCutHeight> heights = fillCutHeights(gradePoints, samples);
  if (heights.empty()) return 0;
  const ClientRect& r = view.clientRect();
  const QRect window(r.left, r.top, r.width(), r.height());
  painter.save();
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(palette.labelPointSize);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  CLabelPlacer ownPlacer(window);
  CLabelPlacer& placer = sharedPlacer != nullptr ? *sharedPlacer : ownPlacer;
  // A label claims a column as wide again as itself, so the heights read as
  // a row of numbers rather than a solid band.
  const int spacing = metrics.height() / 2;
  auto place = [&](const QRect& box) {
    return placer.place(box.adjusted(-spacing, 0, spacing, 0));
  };
  int drawn = 0;
  for (const FillCutHeight& h : heights) {
    const double y = h.station / kProfileExaggeration;
    const QPointF top = pixelOf(view, std::max(h.design, h.ground), y);
    const QPointF bottom = pixelOf(view, std::min(h.design, h.ground), y);
    if (top.x() < window.left() || top.x() > window.right()) continue;
    const QString text = QString::fromStdString(fillCutText(h.height()));
    const int length = metrics.horizontalAdvance(text) + 2;
    // Upright text reads from the bottom up; its box stands below the lower
    // line, or above the upper one where the window's bottom leaves no room.
    const int x = static_cast<int>(std::lround(bottom.x())) - metrics.height() / 2;
    QRect box(x, static_cast<int>(std::lround(bottom.y())) + kHeightLabelGap, metrics.height(),
              length);
    if (!place(box)) {
      box.moveBottom(static_cast<int>(std::lround(top.y())) - kHeightLabelGap);
      if (!place(box)) {
        // A high fill or deep cut at the window's edge: between the lines,
        // beside the tick.
        box.moveLeft(static_cast<int>(std::lround(bottom.x())) + 2);
        box.moveTop(static_cast<int>(std::lround((top.y() + bottom.y() - length) / 2)));
        if (!(box.top() > top.y() && box.bottom() < bottom.y()) || !place(box)) continue;
      }
    }
    const QColor colour = h.height() >= 0 ? palette.fillText : palette.cutText;
    painter.setPen(QPen(colour, 1, Qt::DotLine));
    painter.drawLine(top, bottom);
    painter.setPen(colour);
    painter.save();
    painter.translate(box.left() + metrics.ascent(), box.bottom());
    painter.rotate(-90);
    painter.drawText(QPoint(1, 0), text);
    painter.restore();
    ++drawn;
  }
  painter.restore();
  return drawn;
}

void drawProfileLine(QPainter& painter, const MapView& view,
                     const std::vector<ProfilePoint>& points, const DrawingPalette& palette) {
  if (points.size() < 2) return;
  const ClientRect& r = view.clientRect();
  // The pen's width beyond the edge, so that the line's end is not cut thin.
  const QRectF box(r.left - palette.gradeLineWidth, r.top - palette.gradeLineWidth,
                   r.width() + 2.0 * palette.gradeLineWidth,
                   r.height() + 2.0 * palette.gradeLineWidth);
  painter.save();
  painter.setPen(QPen(palette.profileLine, palette.gradeLineWidth, Qt::SolidLine, Qt::RoundCap,
                      Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  // Runs of segments that stay inside go to the painter as one polyline.
  std::vector<QPointF> run;
  auto flush = [&] {
    if (run.size() >= 2) painter.drawPolyline(run.data(), static_cast<int>(run.size()));
    run.clear();
  };
  QPointF previous = pixelOf(view, points[0].x, points[0].y);
  for (std::size_t i = 1; i < points.size(); ++i) {
    const QPointF next = pixelOf(view, points[i].x, points[i].y);
    QPointF a = previous;
    QPointF b = next;
    if (clipSegment(a, b, box)) {
      if (run.empty() || run.back() != a) {
        flush();
        run.push_back(a);
      }
      run.push_back(b);
      if (b != next) flush();  // the line leaves the window here
    } else {
      flush();
    }
    previous = next;
  }
  flush();
  painter.restore();
}

void drawProfileLabels(QPainter& painter, const MapView& view,
                       const RecordList<CVerticalCurveCal>& gradePoints, CLabelPlacer* sharedPlacer,
                       const DrawingPalette& palette) {
  const std::size_t n = gradePoints.size();
  if (n == 0) return;
  const ClientRect& r = view.clientRect();
  const QRect window(r.left, r.top, r.width(), r.height());
  painter.save();
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(palette.labelPointSize);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  const int lineHeight = metrics.height();
  // A label's box is first judged by the size of a typical one, so that the
  // texts of labels that cannot be placed are never formatted or measured.
  const int typicalWidth =
      std::max({metrics.horizontalAdvance(QStringLiteral("K000+000.000")),
                metrics.horizontalAdvance(QStringLiteral("i1=+0.000% i2=-0.000%")),
                metrics.horizontalAdvance(QStringLiteral("BVC K000+000.000"))}) +
      2;
  CLabelPlacer ownPlacer(window);
  CLabelPlacer& placer = sharedPlacer != nullptr ? *sharedPlacer : ownPlacer;

  std::vector<QPointF> pixels;
  pixels.reserve(n);
  for (const CVerticalCurveCal& p : gradePoints)
    pixels.push_back(pixelOf(view, p.High, p.Mileage / kProfileExaggeration));

  // The tangents through the grade points, thin and dashed, as the labels
  // refer to them; runs inside the window go out as one polyline.
  painter.setPen(QPen(palette.tangent, 1, Qt::DashLine));
  painter.setBrush(Qt::NoBrush);
  {
    std::vector<QPointF> run;
    auto flush = [&] {
      if (run.size() >= 2) painter.drawPolyline(run.data(), static_cast<int>(run.size()));
      run.clear();
    };
    for (std::size_t i = 1; i < n; ++i) {
      QPointF a = pixels[i - 1];
      QPointF b = pixels[i];
      if (!clipSegment(a, b, QRectF(window))) {
        flush();
        continue;
      }
      if (run.empty() || run.back() != a) {
        flush();
        run.push_back(a);
      }
      run.push_back(b);
      if (b != pixels[i]) flush();
    }
    flush();
  }

  // Grade points first: station, elevation, grades in and out.
  QPoint lastMark(INT_MIN, INT_MIN);
  for (std::size_t i = 0; i < n; ++i) {
    const CVerticalCurveCal& p = gradePoints[i];
    const QPoint anchor = pixels[i].toPoint();
    if (!window.contains(anchor)) continue;
    if (anchor != lastMark) {
      painter.setPen(QPen(palette.gradePoint, 1));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(anchor.x() - 2, anchor.y() - 2, 4, 4);
      lastMark = anchor;
    }
    const bool hasIn = i > 0 && gradePoints[i - 1].Mileage != p.Mileage;
    const bool hasOut = i + 1 < n && gradePoints[i + 1].Mileage != p.Mileage;
    const int height = lineHeight * (hasIn || hasOut ? 3 : 2);
    // Above the point, or below it where the top of the window leaves no
    // room; to the left of the leader where the right edge leaves none.
    const int left = anchor.x() + 3 + typicalWidth <= window.right()
                         ? anchor.x() + 3
                         : anchor.x() - 3 - typicalWidth;
    const QPoint above(left, anchor.y() - kLeaderPixels - height);
    const QPoint below(left, anchor.y() + kLeaderPixels);
    const bool fitsAbove = placer.isFree(QRect(above, QSize(typicalWidth, height)));
    if (!fitsAbove && !placer.isFree(QRect(below, QSize(typicalWidth, height)))) continue;
    std::vector<QString> lines{
        QString::fromStdString(formatStation(p.Mileage)),
        QStringLiteral("H=") + QString::fromStdString(formatFixed(p.High, 3))};
    QString grades;
    if (hasIn)
      grades += QStringLiteral("i1=") +
                QString::fromStdString(percent((p.High - gradePoints[i - 1].High) /
                                               (p.Mileage - gradePoints[i - 1].Mileage)));
    if (hasOut) {
      if (!grades.isEmpty()) grades += QLatin1Char(' ');
      grades += QStringLiteral("i2=") +
                QString::fromStdString(percent((gradePoints[i + 1].High - p.High) /
                                               (gradePoints[i + 1].Mileage - p.Mileage)));
    }
    if (!grades.isEmpty()) lines.push_back(grades);
    const QPoint topLeft = fitsAbove ? above : below;
    if (placeText(painter, placer, metrics, topLeft, lines, palette.gradePoint)) {
      painter.setPen(QPen(palette.gradePoint, 1));
      painter.drawLine(
          anchor, QPoint(anchor.x(), anchor.y() + (fitsAbove ? -kLeaderPixels : kLeaderPixels)));
    }
  }

  // Then the ends of the vertical curves, below the line.
  for (const CVerticalCurveCal& p : gradePoints) {
    if (!(p.calc3 - p.calc1 > kMinCurveLength)) continue;
    const struct {
      const char* tag;
      double mileage;
      double elevation;
    } ends[] = {{"BVC ", p.calc1, p.calc2}, {"EVC ", p.calc3, p.calc4}};
    for (const auto& e : ends) {
      const QPoint anchor = pixelOf(view, e.elevation, e.mileage / kProfileExaggeration).toPoint();
      if (!window.contains(anchor)) continue;
      painter.setPen(QPen(palette.curveEnd, 1));
      painter.drawLine(anchor, QPoint(anchor.x(), anchor.y() + kTickPixels));
      const QPoint topLeft(placeInside(anchor.x() - 2, typicalWidth, window.left(), window.right()),
                           anchor.y() + kTickPixels + 2);
      if (!placer.isFree(QRect(topLeft, QSize(typicalWidth, 2 * lineHeight)))) continue;
      const std::vector<QString> lines{
          QLatin1String(e.tag) + QString::fromStdString(formatStation(e.mileage)),
          QStringLiteral("H=") + QString::fromStdString(formatFixed(e.elevation, 3))};
      placeText(painter, placer, metrics, topLeft, lines, palette.curveEnd);
    }
  }
  painter.restore();
}

void drawAllProfileLabels(QPainter& painter, const MapView& view,
                          const RecordList<CVerticalCurveCal>& gradePoints, bool labels,
                          const std::vector<GroundSample>* heights, const DrawingPalette& palette) {
  const ClientRect& r = view.clientRect();
  CLabelPlacer placer(QRect(r.left, r.top, r.width(), r.height()));
  if (labels) drawProfileLabels(painter, view, gradePoints, &placer, palette);
  if (heights != nullptr) drawFillCutLabels(painter, view, gradePoints, *heights, &placer, palette);
}

bool renderProfileImage(const RecordList<CVerticalCurveCal>& gradePoints, QSize size, bool labels,
                        QImage& image, MapView* viewOut, const std::vector<GroundSample>* ground,
                        bool heightLabels) {
  MapView view;
  view.setBackground(kColourBlack);
  if (!view.setClientRect({0, 0, size.width(), size.height()})) return false;
  const std::vector<ProfilePoint> points = profileLinePoints(gradePoints);
  if (points.empty()) return false;
  const std::vector<std::vector<ProfilePoint>> runs =
      ground != nullptr ? groundProfileRuns(*ground) : std::vector<std::vector<ProfilePoint>>{};
  const std::optional<WorldBox> box = profileExtent(points, runs);
  if (!box) return false;
  if (const std::optional<ViewTarget> target = view.fullExtentTarget({*box}))
    view.commitTarget(*target);
  presentFrame(image, view, QImage(), profileDecorations());
  {
    QPainter painter(&image);
    const QRect bar = scaleBarBox(view, kProfileExaggeration);
    drawProfileGrid(painter, view, DrawingPalette::screen(), &bar);
    drawGroundProfile(painter, view, runs);
    drawProfileLine(painter, view, points);
    drawAllProfileLabels(painter, view, gradePoints, labels, heightLabels ? ground : nullptr);
  }
  if (viewOut != nullptr) *viewOut = view;
  return true;
}

}  // namespace trazmark
