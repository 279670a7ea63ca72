#pragma once
// The mouse tools of a map: the listener follows a drag with a rubber band and
// turns the release into a view command of the current tool.
//
// Rubber bands are drawn straight onto the window's back buffer in the raster
// mode NOT-XOR (destination = NOT (pen XOR destination)), so drawing the same
// band a second time restores the pixels under it exactly.

#include <QImage>
#include <QPoint>
#include <Qt>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

namespace trazmark {

class CMapManage;

/// Tool codes of a map window.
enum MapTool : int32_t {
  kToolNone = 0,      ///< button events do nothing
  kToolZoomIn = 11,   ///< zoom in by click or dragged rectangle
  kToolZoomOut = 12,  ///< zoom out by click or dragged rectangle
  kToolMove = 13,     ///< pan by dragging
};

/// The key under which the one listener of a manager is registered.
constexpr int32_t kViewListenerKey = 10;

/// Draws a polyline in NOT-XOR with a dotted red pen of width 1, no fill.
/// Drawing the same points twice leaves the image as it was.
void drawRubberBand(QImage& image, const std::vector<QPoint>& points);

class CMouseListenerView {
 public:
  /// Records the drag start and empties the rubber band.
  void onButtonDown(const QPoint& point, Qt::KeyboardModifiers keys, int32_t tool, CMapManage& manager);
  /// While a drag of tool 11, 12 or 13 is in progress, erases the last rubber
  /// band and draws the new one (a rectangle for the zooms, a line for move).
  void onMouseMove(const QPoint& point, Qt::KeyboardModifiers keys, int32_t tool, CMapManage& manager);
  /// Ends the drag and runs the tool: zoom in (in tenths of a pixel) or zoom
  /// out on the normalised rectangle, move from the drag start to the release.
  void onButtonUp(const QPoint& point, Qt::KeyboardModifiers keys, int32_t tool, CMapManage& manager);

  bool dragging() const { return dragStart_.x() != -1; }
  QPoint dragStart() const { return dragStart_; }
  /// The rubber band now on the back buffer (empty when none).
  const std::vector<QPoint>& rubberBand() const { return band_; }
  /// Puts the current rubber band on a freshly composed back buffer.
  void redrawRubberBand(QImage& frame) const;

 private:
  void forgetDrag();

  QPoint down_{-1, -1};
  QPoint dragStart_{-1, -1};
  std::vector<QPoint> band_;
};

/// The mouse-tool state of a manager: the current listener key (always 10),
/// the current tool, and the listeners by key.
struct MouseToolState {
  MouseToolState();
  int32_t currentKey = kViewListenerKey;
  int32_t tool = kToolNone;
  std::unordered_map<int32_t, std::unique_ptr<CMouseListenerView>> listeners;

  CMouseListenerView* current() const;
};

}  // namespace trazmark
