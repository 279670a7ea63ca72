#pragma once
// The common window of the profile and cross-section maps: a sunken frame
// over a map manager with a black background, the mouse tools of the manager,
// and a wheel that zooms about the window's centre (and selects the zoom
// tool). A map derived from it supplies its content and its extent.

#include <QFrame>
#include <optional>

#include "maps/MapManage.h"

namespace trazmark {

class CMapWindow : public QFrame {
  Q_OBJECT

 public:
  explicit CMapWindow(QWidget* parent = nullptr);
  ~CMapWindow() override;

  /// The view commands of the drawing pane (2 zoom in, 3 zoom out, 4 full
  /// extent, 5 move); false for any other code.
  bool viewCommand(int code);
  void zoomIn() { viewCommand(kCommandZoomIn); }
  void zoomOut() { viewCommand(kCommandZoomOut); }
  void fullExtent() { viewCommand(kCommandFullExtent); }
  void move() { viewCommand(kCommandMove); }

  CMapManage& mapManage() { return manage_; }

  /// Whether the drawing no longer shows the road as edited: a note across
  /// the top says so until the map is drawn again.
  void setOutOfDate(bool outOfDate);
  bool outOfDate() const { return outOfDate_; }

 protected:
  /// The box that full extent fits, when the map has content.
  virtual std::optional<WorldBox> contentExtent() const = 0;
  /// Draws the map's content over the presented frame.
  virtual void drawContent(QPainter& painter, const MapView& view) const = 0;
  /// The content changed: compose the frame again and fit it (at the first
  /// paint when the map is not laid out yet).
  void contentChanged(bool fit);

  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  bool takeClientRect();
  QPoint toClient(const QPointF& widgetPoint) const;

  CMapManage manage_;
  bool fullExtentPending_ = false;
  bool outOfDate_ = false;
  int wheelRemainder_ = 0;
};

}  // namespace trazmark
