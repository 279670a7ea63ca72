#include "maps/MapDrawingJob.h"

#include <QPainter>
#include <atomic>
#include <condition_variable>

#include "maps/AutoResetEvent.h"
#include "maps/MapDecorations.h"

namespace trazmark {

std::mutex& mapDrawMutex() {
  static std::mutex lock;
  return lock;
}

struct MapDrawingJob::Shared {
  // Guarded by `mutex`: what the window thread publishes and what the drawing
  // thread hands back.
  mutable std::mutex mutex;
  MapView view;
  uint64_t viewGeneration = 0;
  bool hasWindow = false;
  MapLayerList layers;
  MapLayerList overlays;
  std::shared_ptr<const QImage> cache;
  MapViewParams cacheView;
  bool cacheReady = false;
  ReadyCallback onReady;
  bool threadFinished = true;
  std::condition_variable finishedCv;

  // The event starts signalled so that the first wait returns at once.
  AutoResetEvent wake{true};
  std::atomic<bool> stop{false};
  std::atomic<uint64_t> finishedDrawings{0};
};

MapDrawingJob::MapDrawingJob() : shared_(std::make_shared<Shared>()) {}

MapDrawingJob::~MapDrawingJob() { stop(); }

void MapDrawingJob::setHasWindow(bool hasWindow) {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->hasWindow = hasWindow;
}

void MapDrawingJob::setReadyCallback(ReadyCallback callback) {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->onReady = std::move(callback);
}

void MapDrawingJob::publishView(const MapView& view) {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->view = view;
  ++shared_->viewGeneration;
}

void MapDrawingJob::publishLayers(const MapLayerList& layers, const MapLayerList& overlays) {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->layers = layers;
  shared_->overlays = overlays;
  ++shared_->viewGeneration;
}

void MapDrawingJob::wake() {
  {
    std::unique_lock<std::mutex> lock(shared_->mutex);
    if (shared_->stop.load()) return;
    if (shared_->threadFinished) {
      if (!shared_->hasWindow) return;
      lock.unlock();
      if (thread_.joinable()) thread_.join();
      lock.lock();
      shared_->threadFinished = false;
      lock.unlock();
      try {
        thread_ = std::thread(&MapDrawingJob::threadMain, shared_);
      } catch (const std::system_error&) {
        // Without a thread the map keeps working: the presented frame shows the
        // background, the decorations and the window's own content.
        std::lock_guard<std::mutex> again(shared_->mutex);
        shared_->threadFinished = true;
        return;
      }
    }
  }
  shared_->wake.set();
}

std::shared_ptr<const QImage> MapDrawingJob::cache() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->cache;
}

bool MapDrawingJob::cacheReady() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return shared_->cacheReady;
}

void MapDrawingJob::previewView(const MapViewParams& to) {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  const std::shared_ptr<const QImage> cached = shared_->cache;
  const MapViewParams& from = shared_->cacheView;
  if (!cached || cached->isNull() || !(from.scale > 0) || !(to.scale > 0)) return;
  const ClientRect& r0 = from.clientRect;
  const ClientRect& r1 = to.clientRect;
  if (r1.width() <= 0 || r1.height() <= 0) return;
  // Old window x = a * new window x + bx (and likewise for y): both pixels show
  // the same world point.
  const double a = to.scale / from.scale;
  const double mid0x = (r0.left + r0.right) / 2.0;
  const double mid0y = (r0.top + r0.bottom) / 2.0;
  const double mid1x = (r1.left + r1.right) / 2.0;
  const double mid1y = (r1.top + r1.bottom) / 2.0;
  const double bx = mid0x + (to.centreY - from.centreY) / from.scale - a * mid1x;
  const double by = mid0y - (to.centreX - from.centreX) / from.scale - a * mid1y;
  // Where the old image lands in the new one.
  const QImage& old = *cached;
  const QRectF target((r0.left - bx) / a - r1.left, (r0.top - by) / a - r1.top, old.width() / a,
                      old.height() / a);
  QImage next(r1.width(), r1.height(), QImage::Format_RGB32);
  next.fill(colourFromRef(to.background));
  {
    QPainter painter(&next);
    if (a == 1.0 && target.topLeft() == target.topLeft().toPoint())
      painter.drawImage(target.topLeft().toPoint(), old);  // a plain shift
    else
      painter.drawImage(target, old);
  }
  shared_->cache = std::make_shared<const QImage>(std::move(next));
  shared_->cacheView = to;
}

void MapDrawingJob::clearCache() {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  shared_->cache.reset();
  shared_->cacheReady = false;
  ++shared_->viewGeneration;
}

bool MapDrawingJob::stop(std::chrono::milliseconds timeout) {
  bool ended = false;
  {
    std::unique_lock<std::mutex> lock(shared_->mutex);
    shared_->stop.store(true);
    shared_->onReady = nullptr;  // the window may be gone once we return
    shared_->layers.clear();
    shared_->overlays.clear();
    shared_->wake.set();
    // Without a thread object (never started, or already let go) there is
    // nothing to wait for.
    if (!thread_.joinable()) return shared_->threadFinished;
    ended = shared_->finishedCv.wait_for(lock, timeout, [this] { return shared_->threadFinished; });
  }
  if (thread_.joinable()) {
    if (ended)
      thread_.join();
    else
      thread_.detach();  // it holds the shared state and ends after its drawing
  }
  return ended;
}

bool MapDrawingJob::running() const {
  std::lock_guard<std::mutex> lock(shared_->mutex);
  return !shared_->threadFinished;
}

uint64_t MapDrawingJob::finishedDrawings() const { return shared_->finishedDrawings.load(); }

void MapDrawingJob::threadMain(std::shared_ptr<Shared> s) {
  while (!s->stop.load()) {
    s->wake.wait();
    if (s->stop.load()) break;

    MapView view;
    uint64_t generation = 0;
    MapLayerList layers;
    MapLayerList overlays;
    {
      std::lock_guard<std::mutex> lock(s->mutex);
      if (!s->hasWindow) break;
      view = s->view;
      generation = s->viewGeneration;
      layers = s->layers;
      overlays = s->overlays;
    }
    const ClientRect& rect = view.clientRect();
    if (rect.width() <= 0 || rect.height() <= 0) continue;

    std::lock_guard<std::mutex> drawLock(mapDrawMutex());
    QImage image(rect.width(), rect.height(), QImage::Format_RGB32);
    image.fill(colourFromRef(view.params().background));
    {
      QPainter painter(&image);
      painter.translate(-rect.left, -rect.top);
      // Layers from the last to the first, so the first lies on top; then the
      // overlays from the first to the last.
      for (auto it = layers.rbegin(); it != layers.rend() && !s->stop.load(); ++it) {
        if ((*it)->properties().visible == 0) continue;
        painter.save();
        (*it)->draw(painter, view, kLayerList);
        painter.restore();
      }
      for (auto it = overlays.begin(); it != overlays.end() && !s->stop.load(); ++it) {
        if ((*it)->properties().visible == 0) continue;
        painter.save();
        (*it)->draw(painter, view, kOverlayList);
        painter.restore();
      }
    }
    if (s->stop.load()) break;

    std::lock_guard<std::mutex> lock(s->mutex);
    // A drawing for a view that has since changed is thrown away: a redraw for
    // the new view is already pending, and the preview stays until it is done.
    if (generation != s->viewGeneration) continue;
    s->cache = std::make_shared<const QImage>(std::move(image));
    s->cacheView = view.params();
    s->cacheReady = true;
    s->finishedDrawings.fetch_add(1);
    if (s->onReady) s->onReady();
  }
  std::lock_guard<std::mutex> lock(s->mutex);
  s->threadFinished = true;
  s->finishedCv.notify_all();
}

}  // namespace trazmark
