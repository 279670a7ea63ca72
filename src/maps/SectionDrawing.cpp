#include "maps/SectionDrawing.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "maps/MapDecorations.h"
#include "maps/MapLabels.h"
#include "maps/ProfileDrawing.h"
#include "maps/RoundSteps.h"
#include "maps/SegmentClip.h"
#include "platform/CodePage.h"
#include "platform/TextFields.h"

namespace trazmark {
namespace {

constexpr int kEndCircleRadius = 4;

enum Outcode : int { kInside = 0, kLeft = 1, kRight = 2, kTop = 4, kBottom = 8 };

int outcode(double x, double y, const ClientRect& r) {
  int code = kInside;
  if (x < r.left)
    code |= kLeft;
  else if (x > r.right)
    code |= kRight;
  if (y < r.top)
    code |= kTop;
  else if (y > r.bottom)
    code |= kBottom;
  return code;
}

void addSide(const RecordList<Road_Section_Item>& items, int side,
             std::vector<SectionSegment>& segments) {
  const double direction = side == 0 ? -1.0 : 1.0;
  double height = 0;
  double offset = 0;
  double width = 0;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Road_Section_Item& c = items[i];
    const double base = height;
    if (std::fabs(c.Roadteeth) > kMinKerbHeight) {
      segments.push_back({base, offset, base + c.Roadteeth, offset, side, -1});
      height = base + c.Roadteeth;
    }
    width += c.Width;
    const double endHeight = base + c.Roadteeth + c.Width * c.Slope / 100;
    const double endOffset = direction * width;
    segments.push_back({height, offset, endHeight, endOffset, side, static_cast<int>(i)});
    height = endHeight;
    offset = endOffset;
  }
}

}  // namespace

MapDecorationStyle sectionDecorations() {
  MapDecorationStyle style;
  style.northArrow = false;
  return style;
}

std::vector<SectionSegment> buildSectionSegments(const RecordList<Road_Section_Item>& left,
                                                 const RecordList<Road_Section_Item>& right) {
  std::vector<SectionSegment> segments;
  addSide(left, 0, segments);
  addSide(right, 1, segments);
  return segments;
}

std::optional<WorldBox> sectionExtent(const std::vector<SectionSegment>& segments) {
  if (segments.empty()) return std::nullopt;
  WorldBox box{segments.front().x1, segments.front().y1, segments.front().x1, segments.front().y1};
  for (const SectionSegment& s : segments) {
    box.minX = std::min({box.minX, s.x1, s.x2});
    box.maxX = std::max({box.maxX, s.x1, s.x2});
    box.minY = std::min({box.minY, s.y1, s.y2});
    box.maxY = std::max({box.maxY, s.y1, s.y2});
  }
  return box;
}

bool clipSectionSegment(QPoint& a, QPoint& b, const ClientRect& rect) {
  double x0 = a.x(), y0 = a.y(), x1 = b.x(), y1 = b.y();
  int code0 = outcode(x0, y0, rect);
  int code1 = outcode(x1, y1, rect);
  // Each pass moves one end onto an edge, so four passes per end suffice.
  for (int pass = 0; pass < 8; ++pass) {
    if ((code0 | code1) == 0) {
      a = QPoint(static_cast<int>(std::lround(x0)), static_cast<int>(std::lround(y0)));
      b = QPoint(static_cast<int>(std::lround(x1)), static_cast<int>(std::lround(y1)));
      return true;
    }
    if ((code0 & code1) != 0) return false;
    const int out = code0 != 0 ? code0 : code1;
    double x = 0;
    double y = 0;
    if (out & kTop) {
      x = x0 + (x1 - x0) * (rect.top - y0) / (y1 - y0);
      y = rect.top;
    } else if (out & kBottom) {
      x = x0 + (x1 - x0) * (rect.bottom - y0) / (y1 - y0);
      y = rect.bottom;
    } else if (out & kRight) {
      y = y0 + (y1 - y0) * (rect.right - x0) / (x1 - x0);
      x = rect.right;
    } else {
      y = y0 + (y1 - y0) * (rect.left - x0) / (x1 - x0);
      x = rect.left;
    }
    if (out == code0) {
      x0 = x;
      y0 = y;
      code0 = outcode(x0, y0, rect);
    } else {
      x1 = x;
      y1 = y;
      code1 = outcode(x1, y1, rect);
    }
  }
  return false;
}

void drawSectionGrid(QPainter& painter, const MapView& view, const DrawingPalette& palette,
                     const QRect* keepClear) {
  ValueGrid grid;
  grid.rowStep = roundLength(view.scale() * kGridRowLeastPixels);
  grid.columnStep = roundLength(view.scale() * kGridColumnLeastPixels);
  grid.rowText = [step = grid.rowStep](double v) {
    return QString::fromStdString(gridValueText(v, step));
  };
  grid.columnText = [step = grid.columnStep](double v) {
    return QString::fromStdString(gridValueText(v, step));
  };
  grid.line = palette.sectionGrid;
  grid.text = palette.sectionGridText;
  grid.pointSize = palette.labelPointSize;
  drawValueGrid(painter, view, grid, keepClear);
}

void drawSectionSegments(QPainter& painter, const MapView& view,
                         const std::vector<SectionSegment>& segments,
                         const RecordList<Road_Section_Item>& left,
                         const RecordList<Road_Section_Item>& right,
                         const DrawingPalette& palette) {
  if (segments.empty()) return;
  const ClientRect& r = view.clientRect();
  painter.save();
  painter.setPen(QPen(palette.sectionSegment, palette.roadLineWidth, Qt::SolidLine));
  painter.setBrush(palette.markFill);
  for (const SectionSegment& s : segments) {
    const ScreenPoint p1 = view.worldToScreen(s.x1, s.y1);
    const ScreenPoint p2 = view.worldToScreen(s.x2, s.y2);
    QPoint a(p1.x, p1.y);
    QPoint b(p2.x, p2.y);
    if (!clipSectionSegment(a, b, r)) continue;
    painter.drawLine(a, b);
    painter.drawEllipse(a, kEndCircleRadius, kEndCircleRadius);
    painter.drawEllipse(b, kEndCircleRadius, kEndCircleRadius);
  }

  // Each surface's component: name, width and slope, above its middle.
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(palette.labelPointSize);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  CLabelPlacer placer(QRect(r.left, r.top, r.width(), r.height()));
  painter.setPen(palette.sectionLabel);
  for (const SectionSegment& s : segments) {
    if (s.component < 0) continue;
    const RecordList<Road_Section_Item>& items = s.side == 0 ? left : right;
    if (static_cast<std::size_t>(s.component) >= items.size()) continue;
    const Road_Section_Item& c = items[static_cast<std::size_t>(s.component)];
    const ScreenPoint mid = view.worldToScreen((s.x1 + s.x2) / 2, (s.y1 + s.y2) / 2);
    const QString lines[] = {
        QString::fromStdString(ansiToUtf8(c.moduleName())),
        QString::fromStdString(formatFixed(c.Width, 3) + " m  " + formatFixed(c.Slope, 3) + "%")};
    const int w =
        std::max(metrics.horizontalAdvance(lines[0]), metrics.horizontalAdvance(lines[1])) + 2;
    const int h = metrics.height() * 2;
    // Above the surface, or below it when the space above is taken.
    // Centred on the surface, moved inside where the window's edge would cut it.
    const int left = placeInside(mid.x - w / 2, w, r.left, r.right - 1);
    for (int y : {mid.y - h - 8, mid.y + 8}) {
      const QRect box(left, y, w, h);
      if (!placer.place(box)) continue;
      painter.drawText(QPoint(box.left() + 1, box.top() + metrics.ascent()), lines[0]);
      painter.drawText(QPoint(box.left() + 1, box.top() + metrics.ascent() + metrics.height()),
                       lines[1]);
      break;
    }
  }
  painter.restore();
}

std::vector<SectionSegment> buildStationSegments(const SectionAtStation& section) {
  std::vector<SectionSegment> segments;
  for (char sideLetter : {'L', 'R'}) {
    const int side = sideLetter == 'L' ? 0 : 1;
    double elevation = section.centreElevation;
    double offset = 0;
    int index = -1;
    for (const SectionEdge& e : section.edges) {
      if (e.side != sideLetter) continue;
      ++index;
      if (!std::isfinite(e.elevation) || !std::isfinite(e.offset)) break;
      const double kerb = e.elevation - elevation - e.width * e.slope / 100;
      if (std::fabs(kerb) > kMinKerbHeight) {
        segments.push_back({elevation, offset, elevation + kerb, offset, side, -1});
        elevation += kerb;
      }
      segments.push_back({elevation, offset, e.elevation, e.offset, side, index});
      elevation = e.elevation;
      offset = e.offset;
    }
  }
  return segments;
}

RecordList<Road_Section_Item> stationComponents(const SectionAtStation& section, int side) {
  RecordList<Road_Section_Item> items;
  const char letter = side == 0 ? 'L' : 'R';
  for (const SectionEdge& e : section.edges) {
    if (e.side != letter) continue;
    Road_Section_Item item;
    // A slope step is named "slope:<slope>:<step>": the step's own name reads best.
    const std::size_t colon = e.name.rfind(':');
    item.setModuleName(e.name.rfind("slope:", 0) == 0 && colon != std::string::npos
                           ? e.name.substr(colon + 1)
                           : e.name);
    item.Width = e.width;
    item.Slope = e.slope;
    items.append(item);
  }
  return items;
}

std::optional<WorldBox> stationSectionExtent(const std::vector<SectionSegment>& segments,
                                             const GroundLine& ground) {
  std::optional<WorldBox> box = sectionExtent(segments);
  for (const std::vector<GroundVertex>& piece : ground.pieces) {
    for (const GroundVertex& v : piece) {
      if (!std::isfinite(v.elevation) || !std::isfinite(v.distance)) continue;
      if (!box) {
        box = WorldBox{v.elevation, v.distance, v.elevation, v.distance};
        continue;
      }
      box->minX = std::min(box->minX, v.elevation);
      box->maxX = std::max(box->maxX, v.elevation);
      box->minY = std::min(box->minY, v.distance);
      box->maxY = std::max(box->maxY, v.distance);
    }
  }
  return box;
}

void drawGroundAcross(QPainter& painter, const MapView& view, const GroundLine& ground,
                      const DrawingPalette& palette) {
  const ClientRect& r = view.clientRect();
  const QRectF box(r.left - 1.0, r.top - 1.0, r.width() + 2.0, r.height() + 2.0);
  painter.save();
  painter.setPen(QPen(palette.ground, 1, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin));
  painter.setBrush(Qt::NoBrush);
  for (const std::vector<GroundVertex>& piece : ground.pieces) {
    std::vector<QPointF> line;
    auto flush = [&] {
      if (line.size() >= 2) painter.drawPolyline(line.data(), static_cast<int>(line.size()));
      line.clear();
    };
    for (std::size_t i = 1; i < piece.size(); ++i) {
      double ax = 0, ay = 0, bx = 0, by = 0;
      view.worldToScreenF(piece[i - 1].elevation, piece[i - 1].distance, ax, ay);
      view.worldToScreenF(piece[i].elevation, piece[i].distance, bx, by);
      QPointF a(ax, ay);
      QPointF b(bx, by);
      const QPointF end = b;
      if (!clipSegment(a, b, box)) {
        flush();
        continue;
      }
      if (line.empty() || line.back() != a) {
        flush();
        line.push_back(a);
      }
      line.push_back(b);
      if (b != end) flush();
    }
    flush();
  }
  painter.restore();
}

std::vector<std::string> sectionCornerLines(double station, double design,
                                            std::optional<double> ground,
                                            const SectionCornerWords& words) {
  return {formatStation(station), words.design + " " + formatFixed(design, 3),
          words.ground + " " +
              (ground && std::isfinite(*ground) ? formatFixed(*ground, 3) : std::string("-"))};
}

void drawSectionCorner(QPainter& painter, const MapView& view,
                       const std::vector<std::string>& lines, const DrawingPalette& palette) {
  if (lines.empty()) return;
  const ClientRect& r = view.clientRect();
  painter.save();
  QFont font(QStringLiteral("Arial"));
  font.setPointSize(9);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  std::vector<QString> texts;
  int width = 0;
  for (const std::string& l : lines) {
    texts.push_back(QString::fromStdString(ansiToUtf8(l)));
    width = std::max(width, metrics.horizontalAdvance(texts.back()));
  }
  // Top right: the grid's labels run down the left edge and along the bottom.
  const int boxWidth = width + 12;
  const QRect box(r.right - 6 - boxWidth, r.top + 6, boxWidth,
                  metrics.height() * static_cast<int>(texts.size()) + 8);
  painter.fillRect(box, palette.cornerBox);
  painter.setPen(palette.cornerText);
  for (std::size_t i = 0; i < texts.size(); ++i)
    painter.drawText(QPoint(box.left() + 6, box.top() + 4 + metrics.ascent() +
                                                metrics.height() * static_cast<int>(i)),
                     texts[i]);
  painter.restore();
}

namespace {

QPointF earthworkScreen(const MapView& view, const ShadePoint& p) {
  double x = 0, y = 0;
  view.worldToScreenF(p.elevation, p.offset, x, y);
  return {x, y};
}

}  // namespace

void drawEarthworkShading(QPainter& painter, const MapView& view,
                          const StationSectionPicture& picture, const DrawingPalette& palette) {
  if (picture.earthworkLine.size() < 2) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(Qt::NoPen);
  for (const std::vector<GroundVertex>& piece : picture.ground.pieces) {
    std::vector<ShadePoint> ground;
    ground.reserve(piece.size());
    for (const GroundVertex& v : piece) ground.push_back({v.distance, v.elevation});
    for (const ShadeRegion& region : cutFillRegions(picture.earthworkLine, ground)) {
      QPolygonF polygon;
      for (const ShadePoint& p : region.outline) polygon << earthworkScreen(view, p);
      painter.setBrush(region.cut ? palette.cutShade : palette.fillShade);
      painter.drawPolygon(polygon);
    }
  }
  painter.restore();
}

void drawEarthworkLine(QPainter& painter, const MapView& view, const StationSectionPicture& picture,
                       const DrawingPalette& palette) {
  if (picture.earthworkLine.size() < 2) return;
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  QPolygonF line;
  for (const ShadePoint& p : picture.earthworkLine) line << earthworkScreen(view, p);
  painter.setPen(QPen(palette.earthworkLine, 2));
  painter.setBrush(Qt::NoBrush);
  painter.drawPolyline(line);
  painter.setPen(QPen(palette.earthworkPoint, 2));
  for (const ShadePoint& p : picture.catchPoints)
    painter.drawEllipse(earthworkScreen(view, p), 5.0, 5.0);
  painter.restore();
}

void drawStationSection(QPainter& painter, const MapView& view,
                        const StationSectionPicture& picture, const DrawingPalette& palette,
                        const QRect* keepClear) {
  drawSectionGrid(painter, view, palette, keepClear);
  drawEarthworkShading(painter, view, picture, palette);
  drawGroundAcross(painter, view, picture.ground, palette);
  drawSectionSegments(painter, view, picture.segments, picture.left, picture.right, palette);
  drawEarthworkLine(painter, view, picture, palette);
  drawSectionCorner(painter, view, picture.corner, palette);
}

bool renderSectionImage(const RecordList<Road_Section_Item>& left,
                        const RecordList<Road_Section_Item>& right, QSize size, QImage& image,
                        MapView* viewOut) {
  MapView view;
  view.setBackground(kColourBlack);
  if (!view.setClientRect({0, 0, size.width(), size.height()})) return false;
  const std::vector<SectionSegment> segments = buildSectionSegments(left, right);
  const std::optional<WorldBox> box = sectionExtent(segments);
  if (!box) return false;
  if (const std::optional<ViewTarget> target = view.fullExtentTarget({*box}))
    view.commitTarget(*target);
  presentFrame(image, view, QImage(), sectionDecorations());
  {
    QPainter painter(&image);
    const QRect bar = scaleBarBox(view);
    drawSectionGrid(painter, view, DrawingPalette::screen(), &bar);
    drawSectionSegments(painter, view, segments, left, right);
  }
  if (viewOut != nullptr) *viewOut = view;
  return true;
}

}  // namespace trazmark
