#pragma once
// The map manager of one map window. It composes three parts:
//  - the view (`MapView`): view state, transforms, commits and the rules of the
//    view commands;
//  - the drawing job (`MapDrawingJob`): the drawing thread and the cached image
//    with its immediate stretched or shifted preview;
//  - the mouse tools (`MouseToolState` with its `CMouseListenerView`).
// It also holds the window's back buffer, on which the window draws its own
// content after `present` and on which rubber bands are drawn.
//
// All operations are for the window thread; only the drawing job runs on its
// own thread.

#include <QImage>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "maps/MapDecorations.h"
#include "maps/MapDrawingJob.h"
#include "maps/MapLayer.h"
#include "maps/MapView.h"
#include "maps/MouseListenerView.h"

namespace trazmark {

/// The view commands of the drawing pane (window message 1627).
enum MapViewCommand : int32_t {
  kCommandZoomIn = 2,
  kCommandZoomOut = 3,
  kCommandFullExtent = 4,
  kCommandMove = 5,
};

class CMapManage {
 public:
  /// `window` is the widget the manager presents into; it may be set later. The
  /// window must outlive the manager (or be reset with setWindow(nullptr)).
  explicit CMapManage(QWidget* window = nullptr);
  ~CMapManage();
  CMapManage(const CMapManage&) = delete;
  CMapManage& operator=(const CMapManage&) = delete;

  void setWindow(QWidget* window);
  QWidget* window() const { return window_; }

  // --- view ---------------------------------------------------------------
  const MapView& view() const { return view_; }
  const MapViewParams& params() const { return view_.params(); }
  ScreenPoint worldToScreen(double x, double y) const { return view_.worldToScreen(x, y); }
  WorldPoint screenToWorld(double x, double y) const { return view_.screenToWorld(x, y); }
  /// Ignored below 5 by 5 pixels or when unchanged; otherwise taken, the cache
  /// previewed at the new size and the drawing thread woken.
  void setClientRect(const ClientRect& rect);
  /// Takes a new view (see MapView::commitView); a changed view is previewed at
  /// once and written to the settings file. The drawing thread is always woken.
  bool commitView(double originX, double originY, double newScale);
  void setBackground(uint32_t colour);
  void setSettingsFolder(const std::string& folder);
  /// Writes the settings file; a failure is ignored (returns false).
  bool writeSettings() const;

  // --- view commands --------------------------------------------------------
  /// Zoom in on a rectangle given in tenths of a pixel (a click when small).
  bool zoomIn(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
  /// Zoom out on a rectangle in pixels (a click when small).
  bool zoomOut(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
  /// Move from (x0, y0) to (x1, y1) in pixels.
  bool pan(int32_t x0, int32_t y0, int32_t x1, int32_t y1);
  /// Fits the layers' extents and the optional extra box into the window.
  bool fullExtent(const std::optional<WorldBox>& extra = std::nullopt);
  /// A view command of the drawing pane: 2 zoom in (tool 11 and a click at the
  /// centre), 3 zoom out (tool 12 and a click at the centre), 4 full extent
  /// (with `extra`), 5 move (tool 13 only). Returns false for other codes.
  bool runViewCommand(int32_t code, const std::optional<WorldBox>& extra = std::nullopt);

  // --- mouse tools ----------------------------------------------------------
  /// Selects the tool (0, 11, 12, 13) under listener key 10.
  void setTool(int32_t tool);
  int32_t tool() const { return tools_.tool; }
  int32_t currentListenerKey() const { return tools_.currentKey; }
  CMouseListenerView* currentListener() const { return tools_.current(); }
  /// Mouse entry points of the owning window; points in client pixels.
  void onLeftButtonDown(const QPoint& point, Qt::KeyboardModifiers keys = {});
  void onLeftButtonUp(const QPoint& point, Qt::KeyboardModifiers keys = {});
  void onMouseMove(const QPoint& point, Qt::KeyboardModifiers keys = {});
  /// Wheel at a client point: a positive delta zooms in as a click there, zero
  /// or negative zooms out; the tool does not change.
  void onWheel(const QPoint& clientPoint, int delta);

  // --- layers ---------------------------------------------------------------
  const MapLayerList& layers() const { return layers_; }
  const MapLayerList& overlays() const { return overlays_; }
  /// Replaces both lists; the drawing thread draws them from its next pass.
  void setLayers(MapLayerList layers, MapLayerList overlays);

  // --- presentation ---------------------------------------------------------
  /// Composes the window's back buffer: background, cached image, north arrow,
  /// scale bar. The window then draws its own content on the returned image
  /// with `worldToScreen` and calls `finishFrame`.
  QImage& present();
  /// Puts the rubber band of a drag in progress on the new back buffer.
  void finishFrame();
  /// The back buffer that the window shows.
  QImage& windowFrame() { return frame_; }
  /// True when the back buffer must be composed again before it is shown
  /// (view, size, cache or content changed).
  bool frameStale() const { return frameStale_->load(); }
  /// The window's own content changed: compose again at the next paint.
  void invalidateFrame();
  /// Asks the window to show the back buffer again.
  void requestWindowUpdate();
  /// What `present` draws besides the content (north arrow, the scale bar's
  /// factor); the plan's by default.
  void setDecorations(const MapDecorationStyle& style);
  const MapDecorationStyle& decorations() const { return decorations_; }
  /// Drops the cached image at once (the map shows another road now): the
  /// frame shows the background until the next drawing is in.
  void clearCache();

  /// The drawing job (for tests and benchmarks).
  MapDrawingJob& drawingJob() { return job_; }

 private:
  bool applyTarget(const std::optional<ViewTarget>& target);
  void viewChanged();

  MouseToolState tools_;
  QPointer<QWidget> window_;
  MapDrawingJob job_;
  MapLayerList layers_;
  MapLayerList overlays_;
  MapView view_;
  QImage frame_;
  MapDecorationStyle decorations_;
  std::shared_ptr<std::atomic<bool>> frameStale_;
};

}  // namespace trazmark
