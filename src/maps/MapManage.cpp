#include "maps/MapManage.h"

#include <QMetaObject>

#include "maps/MapDecorations.h"
#include "maps/MapSettingsFile.h"

namespace trazmark {

CMapManage::CMapManage(QWidget* window)
    : frameStale_(std::make_shared<std::atomic<bool>>(true)) {
  setWindow(window);
}

CMapManage::~CMapManage() {
  // Stop the thread before anything it was told about goes away.
  job_.stop();
}

void CMapManage::setWindow(QWidget* window) {
  window_ = window;
  job_.setHasWindow(window != nullptr);
  if (window == nullptr) {
    job_.setReadyCallback(nullptr);
    return;
  }
  // Runs on the drawing thread, which clears it under its lock before the
  // manager goes, so the window (which outlives its manager) is alive here. It
  // only posts to the window's thread; the stale flag is shared so that a call
  // still queued when the manager is gone touches nothing freed.
  std::shared_ptr<std::atomic<bool>> stale = frameStale_;
  QWidget* raw = window;
  job_.setReadyCallback([raw, stale] {
    QMetaObject::invokeMethod(
        raw,
        [raw, stale] {
          stale->store(true);
          raw->update();
        },
        Qt::QueuedConnection);
  });
}

void CMapManage::setClientRect(const ClientRect& rect) {
  if (!view_.setClientRect(rect)) return;
  viewChanged();
}

bool CMapManage::commitView(double originX, double originY, double newScale) {
  const bool changed = view_.commitView(originX, originY, newScale);
  if (changed) {
    writeSettings();
    viewChanged();
  } else {
    job_.wake();
  }
  return changed;
}

void CMapManage::viewChanged() {
  job_.previewView(view_.params());
  job_.publishView(view_);
  frameStale_->store(true);
  job_.wake();
  requestWindowUpdate();
}

void CMapManage::setBackground(uint32_t colour) {
  if (colour == view_.params().background) return;
  view_.setBackground(colour);
  viewChanged();
}

void CMapManage::setSettingsFolder(const std::string& folder) { view_.setSettingsFolder(folder); }

bool CMapManage::writeSettings() const { return writeMapSettings(view_.params()); }

bool CMapManage::applyTarget(const std::optional<ViewTarget>& target) {
  if (!target) return false;
  double ox = 0;
  double oy = 0;
  view_.originFor(target->centreX, target->centreY, target->scale, ox, oy);
  return commitView(ox, oy, target->scale);
}

bool CMapManage::zoomIn(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  return applyTarget(view_.zoomInTarget(x0, y0, x1, y1));
}

bool CMapManage::zoomOut(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  return applyTarget(view_.zoomOutTarget(x0, y0, x1, y1));
}

bool CMapManage::pan(int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
  return applyTarget(view_.panTarget(x0, y0, x1, y1));
}

bool CMapManage::fullExtent(const std::optional<WorldBox>& extra) {
  std::vector<WorldBox> boxes;
  // Layers change only on this thread (under the map lock), and the drawing
  // thread only reads them, so the extents are read without waiting for it.
  for (const MapLayerList* list : {&layers_, &overlays_}) {
    for (const auto& layer : *list)
      if (std::optional<WorldBox> box = layer->extent()) boxes.push_back(*box);
  }
  if (extra) boxes.push_back(*extra);
  return applyTarget(view_.fullExtentTarget(boxes));
}

bool CMapManage::runViewCommand(int32_t code, const std::optional<WorldBox>& extra) {
  const ClientRect& r = view_.clientRect();
  const int32_t cx = (r.left + r.right) / 2;
  const int32_t cy = (r.top + r.bottom) / 2;
  switch (code) {
    case kCommandZoomIn:
      setTool(kToolZoomIn);
      zoomIn(cx * 10, cy * 10, cx * 10, cy * 10);
      return true;
    case kCommandZoomOut:
      setTool(kToolZoomOut);
      zoomOut(cx, cy, cx, cy);
      return true;
    case kCommandFullExtent:
      fullExtent(extra);
      return true;
    case kCommandMove:
      setTool(kToolMove);
      return true;
    default:
      return false;
  }
}

void CMapManage::setTool(int32_t tool) {
  tools_.currentKey = kViewListenerKey;
  tools_.tool = tool;
}

void CMapManage::onLeftButtonDown(const QPoint& point, Qt::KeyboardModifiers keys) {
  if (CMouseListenerView* listener = tools_.current()) listener->onButtonDown(point, keys, tools_.tool, *this);
}

void CMapManage::onLeftButtonUp(const QPoint& point, Qt::KeyboardModifiers keys) {
  if (CMouseListenerView* listener = tools_.current()) listener->onButtonUp(point, keys, tools_.tool, *this);
}

void CMapManage::onMouseMove(const QPoint& point, Qt::KeyboardModifiers keys) {
  if (CMouseListenerView* listener = tools_.current()) listener->onMouseMove(point, keys, tools_.tool, *this);
}

void CMapManage::onWheel(const QPoint& p, int delta) {
  if (delta > 0)
    zoomIn(p.x() * 10, p.y() * 10, p.x() * 10, p.y() * 10);
  else
    zoomOut(p.x(), p.y(), p.x(), p.y());
}

void CMapManage::setLayers(MapLayerList layers, MapLayerList overlays) {
  layers_ = std::move(layers);
  overlays_ = std::move(overlays);
  job_.publishLayers(layers_, overlays_);
  frameStale_->store(true);
  job_.wake();
}

QImage& CMapManage::present() {
  frameStale_->store(false);
  const std::shared_ptr<const QImage> cache = job_.cache();
  static const QImage kNoCache;
  presentFrame(frame_, view_, cache ? *cache : kNoCache, decorations_);  // no QImage copy
  return frame_;
}

void CMapManage::finishFrame() {
  if (CMouseListenerView* listener = tools_.current()) listener->redrawRubberBand(frame_);
}

void CMapManage::invalidateFrame() {
  frameStale_->store(true);
  requestWindowUpdate();
}

void CMapManage::setDecorations(const MapDecorationStyle& style) {
  decorations_ = style;
  invalidateFrame();
}

void CMapManage::clearCache() {
  job_.clearCache();
  job_.wake();
  invalidateFrame();
}

void CMapManage::requestWindowUpdate() {
  if (window_) window_->update();
}

}  // namespace trazmark
