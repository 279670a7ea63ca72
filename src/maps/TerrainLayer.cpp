#include "maps/TerrainLayer.h"

#include <QColor>
#include <QImage>
#include <QLineF>
#include <QPainter>
#include <QPen>
#include <algorithm>
#include <cmath>

#include "maps/SegmentClip.h"

namespace trazmark {
namespace {

/// Faint on the black plan: the triangles, and the outline a little brighter.
const QColor kTriangleColour(55, 75, 55);
const QColor kOutlineColour(120, 160, 110);
/// A triangle whose box is smaller than this (pixels) is drawn as one pixel.
constexpr double kPixelTriangle = 2.5;
/// Lines go to the painter in batches of this many.
constexpr std::size_t kLineBatch = 4096;

std::uint64_t edgeKey(std::uint32_t a, std::uint32_t b) {
  if (a > b) std::swap(a, b);
  return (static_cast<std::uint64_t>(a) << 32) | b;
}

}  // namespace

std::vector<std::pair<std::uint32_t, std::uint32_t>> terrainOutline(const std::vector<TerrainTriangle>& triangles) {
  std::vector<std::uint64_t> keys;
  keys.reserve(triangles.size() * 3);
  for (const TerrainTriangle& t : triangles) {
    keys.push_back(edgeKey(t.a, t.b));
    keys.push_back(edgeKey(t.b, t.c));
    keys.push_back(edgeKey(t.c, t.a));
  }
  std::sort(keys.begin(), keys.end());
  std::vector<std::pair<std::uint32_t, std::uint32_t>> outline;
  for (std::size_t i = 0; i < keys.size();) {
    std::size_t j = i + 1;
    while (j < keys.size() && keys[j] == keys[i]) ++j;
    if (j - i == 1) outline.emplace_back(static_cast<std::uint32_t>(keys[i] >> 32), static_cast<std::uint32_t>(keys[i]));
    i = j;
  }
  return outline;
}

CTerrainLayer::CTerrainLayer(std::shared_ptr<const CRoadGround> ground) : ground_(std::move(ground)) {
  properties_.name = "terrain";
}

const std::vector<std::pair<std::uint32_t, std::uint32_t>>& CTerrainLayer::outline() const {
  std::call_once(outlineOnce_, [this] {
    if (ground_ && ground_->terrain() != nullptr) outline_ = terrainOutline(ground_->terrain()->triangles());
  });
  return outline_;
}

void CTerrainLayer::draw(QPainter& painter, const MapView& view, int32_t) {
  lastLines_ = 0;
  lastPixels_ = 0;
  const CTerrainModel* tin = ground_ ? ground_->terrain() : nullptr;
  if (tin == nullptr || tin->empty() || !(view.scale() > 0)) return;
  const std::vector<TerrainPoint>& points = tin->points();
  const ClientRect& r = view.clientRect();
  // The window in world coordinates: X north grows upwards.
  const WorldPoint topLeft = view.screenToWorld(r.left, r.top);
  const WorldPoint bottomRight = view.screenToWorld(r.right, r.bottom);
  const double minX = std::min(topLeft.x, bottomRight.x), maxX = std::max(topLeft.x, bottomRight.x);
  const double minY = std::min(topLeft.y, bottomRight.y), maxY = std::max(topLeft.y, bottomRight.y);
  const double pixelWorld = kPixelTriangle * view.scale();

  // Tiny triangles mark one pixel each in a layer of their own, laid over
  // the picture in one go.
  QImage dots(r.width(), r.height(), QImage::Format_ARGB32_Premultiplied);
  bool anyDot = false;
  const QRgb dot = kTriangleColour.rgba();
  std::vector<QLineF> lines;
  lines.reserve(kLineBatch);
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setPen(QPen(kTriangleColour, 1));
  auto flush = [&] {
    if (!lines.empty()) painter.drawLines(lines.data(), static_cast<int>(lines.size()));
    lines.clear();
  };
  // Clipped first, so that a large triangle seen from close by never hands
  // the rasteriser coordinates far outside the window.
  const QRectF clip(r.left - 2.0, r.top - 2.0, r.width() + 4.0, r.height() + 4.0);
  auto addLine = [&](QPointF p, QPointF q) {
    if (clipSegment(p, q, clip)) lines.emplace_back(p, q);
  };
  auto pixel = [&view](const TerrainPoint& p) {
    double x = 0, y = 0;
    view.worldToScreenF(p.x, p.y, x, y);
    return QPointF(x, y);
  };
  for (const TerrainTriangle& t : tin->triangles()) {
    const TerrainPoint& a = points[t.a];
    const TerrainPoint& b = points[t.b];
    const TerrainPoint& c = points[t.c];
    const double tminX = std::min({a.x, b.x, c.x}), tmaxX = std::max({a.x, b.x, c.x});
    const double tminY = std::min({a.y, b.y, c.y}), tmaxY = std::max({a.y, b.y, c.y});
    if (tmaxX < minX || tminX > maxX || tmaxY < minY || tminY > maxY) continue;
    if (tmaxX - tminX < pixelWorld && tmaxY - tminY < pixelWorld) {
      const QPointF m = pixel(a);
      const int px = static_cast<int>(m.x()) - r.left;
      const int py = static_cast<int>(m.y()) - r.top;
      if (px < 0 || py < 0 || px >= r.width() || py >= r.height()) continue;
      if (!anyDot) {
        dots.fill(Qt::transparent);
        anyDot = true;
      }
      reinterpret_cast<QRgb*>(dots.scanLine(py))[px] = dot;
      ++lastPixels_;
      continue;
    }
    const QPointF pa = pixel(a), pb = pixel(b), pc = pixel(c);
    addLine(pa, pb);
    addLine(pb, pc);
    addLine(pc, pa);
    ++lastLines_;
    if (lines.size() >= kLineBatch) flush();
  }
  flush();
  if (anyDot) painter.drawImage(QPoint(r.left, r.top), dots);

  painter.setPen(QPen(kOutlineColour, 1));
  for (const auto& [i, j] : outline()) {
    const TerrainPoint& a = points[i];
    const TerrainPoint& b = points[j];
    if (std::max(a.x, b.x) < minX || std::min(a.x, b.x) > maxX || std::max(a.y, b.y) < minY ||
        std::min(a.y, b.y) > maxY)
      continue;
    addLine(pixel(a), pixel(b));
    if (lines.size() >= kLineBatch) flush();
  }
  flush();
  painter.restore();
}

}  // namespace trazmark
