#include "maps/SurveyCheckLayer.h"

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "maps/MapLabels.h"

namespace trazmark {
namespace {

/// Cells of the quick test for labels: a cell wholly covered by a placed
/// label turns away every later label whose middle falls in it.
constexpr int kCell = 4;

bool isPaper(const DrawingPalette& palette) { return palette.background.lightness() > 128; }

}  // namespace

CheckPointColours checkPointColours(const DrawingPalette& palette) {
  if (isPaper(palette)) return {QColor(0, 140, 40), QColor(210, 0, 0), QColor(110, 110, 150)};
  return {QColor(60, 230, 90), QColor(255, 60, 60), QColor(150, 150, 190)};
}

QColor checkPointColour(const CheckedPoint& row, const CheckPointColours& colours) {
  switch (row.flag) {
    case CheckFlag::kWithin:
      return colours.within;
    case CheckFlag::kBeyond:
      return colours.beyond;
    default:
      return colours.neutral;
  }
}

std::string checkDzLabel(double dz) {
  char buffer[32];
  // A difference that rounds to nought reads without a sign.
  if (std::fabs(dz) < 0.0005) dz = 0;
  std::snprintf(buffer, sizeof buffer, dz == 0 ? "%.3f" : "%+.3f", dz);
  return buffer;
}

std::optional<WorldBox> checkedPointsBox(const std::vector<CheckedPoint>& rows, bool withOffRoad) {
  std::optional<WorldBox> box;
  for (const CheckedPoint& r : rows) {
    if (!withOffRoad && (r.flag == CheckFlag::kOffRoad || r.flag == CheckFlag::kInvalid)) continue;
    const double x = r.point.x, y = r.point.y;
    if (!std::isfinite(x) || !std::isfinite(y)) continue;
    if (!box) {
      box = WorldBox{x, y, x, y};
      continue;
    }
    box->minX = std::min(box->minX, x);
    box->maxX = std::max(box->maxX, x);
    box->minY = std::min(box->minY, y);
    box->maxY = std::max(box->maxY, y);
  }
  return box;
}

CheckPointsDrawn drawCheckedPoints(QPainter& painter, const MapView& view,
                                   const std::vector<CheckedPoint>& rows,
                                   const DrawingPalette& palette, double dotPixels,
                                   int labelPointSize) {
  CheckPointsDrawn drawn;
  if (!(view.scale() > 0) || rows.empty()) return drawn;
  const ClientRect& r = view.clientRect();
  const QRectF window(r.left, r.top, r.width(), r.height());
  const CheckPointColours colours = checkPointColours(palette);

  // The points in the window, by what they are: neutral drawn first, beyond last (on top).
  struct Seen {
    std::size_t row;
    QPointF at;
  };
  std::vector<Seen> seen[3];
  for (std::size_t i = 0; i < rows.size(); ++i) {
    double px = 0, py = 0;
    if (!view.worldToScreenF(rows[i].point.x, rows[i].point.y, px, py)) continue;
    if (!window.contains(px, py)) continue;
    const CheckFlag f = rows[i].flag;
    const int kind = f == CheckFlag::kBeyond ? 2 : f == CheckFlag::kWithin ? 1 : 0;
    seen[kind].push_back({i, QPointF(px, py)});
  }
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  const double half = dotPixels / 2;
  const QColor kindColour[3] = {colours.neutral, colours.within, colours.beyond};
  // A dot on a pixel that already has one of its colour is not drawn again:
  // a zoomed-out view of many points costs the pixels, not the points.
  std::vector<std::uint8_t> dotted(static_cast<std::size_t>(r.width()) * r.height(), 0);
  for (int kind = 0; kind < 3; ++kind) {
    painter.setPen(QPen(isPaper(palette) ? kindColour[kind].darker(140) : palette.background, 1));
    painter.setBrush(kindColour[kind]);
    const std::uint8_t bit = static_cast<std::uint8_t>(1u << kind);
    for (const Seen& s : seen[kind]) {
      const int px = std::clamp(static_cast<int>(s.at.x()) - r.left, 0, r.width() - 1);
      const int py = std::clamp(static_cast<int>(s.at.y()) - r.top, 0, r.height() - 1);
      std::uint8_t& cell = dotted[static_cast<std::size_t>(py) * r.width() + px];
      if (cell & bit) continue;
      cell |= bit;
      painter.drawEllipse(s.at, half, half);
    }
    drawn.points += seen[kind].size();
  }

  if (labelPointSize > 0) {
    QFont font = painter.font();
    font.setPointSize(labelPointSize);
    painter.setFont(font);
    const QFontMetrics metrics(font, painter.device());
    const QRect bounds(r.left, r.top, r.width(), r.height());
    CLabelPlacer placer(bounds);
    const int cellsX = std::max(1, r.width() / kCell + 1), cellsY = std::max(1, r.height() / kCell + 1);
    std::vector<bool> taken(static_cast<std::size_t>(cellsX) * cellsY, false);
    auto cellOf = [&](int x, int y) -> std::size_t {
      const int cx = std::clamp((x - r.left) / kCell, 0, cellsX - 1);
      const int cy = std::clamp((y - r.top) / kCell, 0, cellsY - 1);
      return static_cast<std::size_t>(cy) * cellsX + cx;
    };
    painter.setBrush(Qt::NoBrush);
    // Beyond first: those are the labels the engineer looks for.
    for (int kind : {2, 1}) {
      painter.setPen(kindColour[kind]);
      for (const Seen& s : seen[kind]) {
        const CheckedPoint& row = rows[s.row];
        if (!row.dz) continue;
        const QString text = QString::fromStdString(checkDzLabel(*row.dz));
        const int w = metrics.horizontalAdvance(text) + 2;
        const int h = metrics.height();
        const QRect box(static_cast<int>(s.at.x() + half + 1), static_cast<int>(s.at.y() - h / 2), w, h);
        if (taken[cellOf(box.center().x(), box.center().y())]) continue;
        if (!placer.place(box)) continue;
        // Mark the cells the label wholly covers.
        const int cx0 = (box.left() - r.left + kCell - 1) / kCell, cx1 = (box.right() + 1 - r.left) / kCell;
        const int cy0 = (box.top() - r.top + kCell - 1) / kCell, cy1 = (box.bottom() + 1 - r.top) / kCell;
        for (int cy = std::max(0, cy0); cy < std::min(cy1, cellsY); ++cy)
          for (int cx = std::max(0, cx0); cx < std::min(cx1, cellsX); ++cx)
            taken[static_cast<std::size_t>(cy) * cellsX + cx] = true;
        painter.drawText(box, Qt::AlignLeft | Qt::AlignVCenter, text);
        ++drawn.labels;
      }
    }
  }
  painter.restore();
  return drawn;
}

CSurveyCheckLayer::CSurveyCheckLayer(std::shared_ptr<const std::vector<CheckedPoint>> rows)
    : rows_(rows ? std::move(rows) : std::make_shared<const std::vector<CheckedPoint>>()),
      box_(checkedPointsBox(*rows_, false)) {
  properties_.name = "survey check";
}

void CSurveyCheckLayer::draw(QPainter& painter, const MapView& view, int32_t) {
  lastDrawn_ = drawCheckedPoints(painter, view, *rows_, DrawingPalette::screen());
}

}  // namespace trazmark
