#include "maps/MouseListenerView.h"

#include <QPainter>
#include <QPen>
#include <algorithm>

#include "maps/MapManage.h"

namespace trazmark {

void drawRubberBand(QImage& image, const std::vector<QPoint>& points) {
  if (points.size() < 2 || image.isNull()) return;
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, false);
  painter.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination);
  painter.setPen(QPen(QColor(255, 0, 0), 1, Qt::DotLine));
  painter.setBrush(Qt::NoBrush);
  painter.setBackgroundMode(Qt::TransparentMode);
  painter.drawPolyline(points.data(), static_cast<int>(points.size()));
}

void CMouseListenerView::onButtonDown(const QPoint& point, Qt::KeyboardModifiers, int32_t,
                                      CMapManage&) {
  down_ = point;
  dragStart_ = point;
  band_.clear();
}

void CMouseListenerView::onMouseMove(const QPoint& point, Qt::KeyboardModifiers, int32_t tool,
                                     CMapManage& manager) {
  if (!dragging()) return;
  if (tool != kToolZoomIn && tool != kToolZoomOut && tool != kToolMove) return;
  QImage& frame = manager.windowFrame();
  drawRubberBand(frame, band_);  // erases the last band
  const QPoint s = dragStart_;
  if (tool == kToolMove)
    band_ = {s, point};
  else
    band_ = {s, QPoint(point.x(), s.y()), point, QPoint(s.x(), point.y()), s};
  drawRubberBand(frame, band_);
  manager.requestWindowUpdate();
}

void CMouseListenerView::onButtonUp(const QPoint& point, Qt::KeyboardModifiers, int32_t tool,
                                    CMapManage& manager) {
  if (!dragging()) return;
  const QPoint start = dragStart_;
  if (!band_.empty()) {
    drawRubberBand(manager.windowFrame(), band_);
    band_.clear();
    manager.requestWindowUpdate();
  }
  forgetDrag();
  const int left = std::min(start.x(), point.x());
  const int right = std::max(start.x(), point.x());
  const int top = std::min(start.y(), point.y());
  const int bottom = std::max(start.y(), point.y());
  switch (tool) {
    case kToolZoomIn:
      manager.zoomIn(left * 10, top * 10, right * 10, bottom * 10);
      break;
    case kToolZoomOut:
      manager.zoomOut(left, top, right, bottom);
      break;
    case kToolMove:
      // The move keeps its direction: it goes from the drag start to the
      // release point, not across the normalised rectangle.
      manager.pan(start.x(), start.y(), point.x(), point.y());
      break;
    default:
      break;
  }
}

void CMouseListenerView::redrawRubberBand(QImage& frame) const { drawRubberBand(frame, band_); }

void CMouseListenerView::forgetDrag() {
  down_ = QPoint(-1, -1);
  dragStart_ = QPoint(-1, -1);
  band_.clear();
}

MouseToolState::MouseToolState() {
  listeners.emplace(kViewListenerKey, std::make_unique<CMouseListenerView>());
}

CMouseListenerView* MouseToolState::current() const {
  const auto it = listeners.find(currentKey);
  return it == listeners.end() ? nullptr : it->second.get();
}

}  // namespace trazmark
