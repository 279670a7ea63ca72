#pragma once
// The drawing job of one map manager: one drawing thread, woken by an
// automatic-reset event, that draws the map's layers into an off-screen image
// and hands the finished image over as the presentation cache.
//
// The drawing thread works on a copy of the view state taken under the job's
// own small lock, draws while holding the process-wide map lock (one drawing at
// a time over all maps), and swaps the finished image in under the small lock
// again. The window thread therefore never waits for a drawing to finish; it
// only takes the small lock to publish a view or read the cache.
//
// Everything the thread touches lives in a shared state that the thread keeps
// alive itself. A manager destroyed while its thread is still drawing (a layer
// that takes longer than the stop time-out) cancels the drawing and lets the
// thread go; that thread then touches nothing but the shared state and its own
// copies of the layer handles, and ends after the layer returns.

#include <QImage>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "maps/MapLayer.h"
#include "maps/MapView.h"

namespace trazmark {

/// The one lock shared by all map managers, held while a drawing thread draws.
std::mutex& mapDrawMutex();

using MapLayerList = std::vector<std::shared_ptr<CMapLayer>>;

class MapDrawingJob {
 public:
  /// Called on the drawing thread when a new cache image is ready; it must only
  /// post work to the window thread (e.g. ask the window to repaint).
  using ReadyCallback = std::function<void()>;

  /// How long the stop waits for the drawing thread before letting it go.
  static constexpr std::chrono::milliseconds kStopTimeout{1000};

  MapDrawingJob();
  ~MapDrawingJob();
  MapDrawingJob(const MapDrawingJob&) = delete;
  MapDrawingJob& operator=(const MapDrawingJob&) = delete;

  /// Whether there is a window to draw for. Without one the thread is not
  /// started, and a running thread ends at its next wake.
  void setHasWindow(bool hasWindow);
  void setReadyCallback(ReadyCallback callback);
  /// Publishes the view that the next drawing uses. A drawing already under way
  /// for an older view is thrown away when it finishes.
  void publishView(const MapView& view);
  void publishLayers(const MapLayerList& layers, const MapLayerList& overlays);
  /// Wakes the drawing thread, starting it first if it is not running.
  void wake();

  /// The cached image; null before the first drawing. The image is never
  /// changed once handed over (a new drawing or preview replaces it), and it is
  /// shared through shared_ptr rather than QImage's own sharing, so that the
  /// hand-over between the threads stays visible to race checkers.
  std::shared_ptr<const QImage> cache() const;
  bool cacheReady() const;
  /// Replaces the cache at once by the old cache as the new view shows it:
  /// stretched for a zoom, shifted for a move, uncovered parts in the
  /// background colour. The view of the cache is known, so the preview agrees
  /// with the committed view.
  void previewView(const MapViewParams& newView);
  /// Drops the cached image, and any drawing under way with it: what it shows
  /// belongs to what the map showed before.
  void clearCache();

  /// Stops the thread: sets the stop flag, wakes it and waits up to `timeout`.
  /// Returns true when the thread ended in time (or was not running).
  bool stop(std::chrono::milliseconds timeout = kStopTimeout);
  bool running() const;
  /// Number of finished drawings taken into the cache (for tests and benchmarks).
  uint64_t finishedDrawings() const;

 private:
  struct Shared;
  static void threadMain(std::shared_ptr<Shared> shared);

  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace trazmark
