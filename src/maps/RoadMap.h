#pragma once
// The plan map: the road's horizontal alignment in plan, the centre line in red
// on black with every key point circled and named. It lives in the drawing
// pane, owns its map manager and its alignment engine, and is loaded from the
// curve file that an alignment editor writes.

#include <QFrame>
#include <QString>
#include <memory>
#include <string>

#include "alignment/RoadDesign.h"
#include "asbuilt/SurveyCheck.h"
#include "maps/MapManage.h"
#include "terrain/RoadGround.h"

namespace trazmark {

/// The status-bar text for a plan point (x north, y east, metres): the
/// displayed station and the offset (right of travel positive) of its foot on
/// the centre line, or how far beyond the road's end it lies. Empty when the
/// design is not computed or the point has no answer.
QString stationReadout(const CRoadDesign& design, double x, double y);

class CRoadMap : public QFrame {
  Q_OBJECT

 public:
  explicit CRoadMap(QWidget* parent = nullptr);
  ~CRoadMap() override;

  /// Loads the curve file (".TDFE") into the engine and runs full extent. When
  /// the file cannot be loaded the engine keeps what it had, and full extent
  /// uses its previous box. While the map has not been laid out yet, full
  /// extent runs at its first paint; until the user zooms or drags, a full
  /// extent follows the map's size. Returns whether the file was loaded.
  bool showAlignmentFile(const std::string& path);

  /// Forgets the road (another road is current): nothing is drawn until the
  /// next file, and the cached image goes at once.
  void clear();
  /// Whether the drawing no longer shows the road as edited: a note across
  /// the top says so until the map is drawn again.
  void setOutOfDate(bool outOfDate);
  bool outOfDate() const { return outOfDate_; }

  /// The view commands of the drawing pane (codes 2 zoom in, 3 zoom out,
  /// 4 full extent, 5 move); false for any other code.
  bool viewCommand(int code);
  void zoomIn() { viewCommand(kCommandZoomIn); }
  void zoomOut() { viewCommand(kCommandZoomOut); }
  void fullExtent() { viewCommand(kCommandFullExtent); }
  void move() { viewCommand(kCommandMove); }

  /// The road's broken chains, for the displayed stations of the readout.
  void setBrokenChains(const RecordList<Scisson_Data>& chains) { design_.brokenChains = chains; }

  /// The road's ground; its TIN is drawn faintly under the road, with its
  /// outline, while the terrain is shown (null: none).
  void setGround(std::shared_ptr<const CRoadGround> ground);
  void setTerrainShown(bool shown);
  bool terrainShown() const { return terrainShown_; }
  /// Whether the drawing thread has a terrain layer to draw.
  bool drawsTerrain() const { return !manage_.layers().empty(); }

  /// The points of an as-built check over the road (null: none), drawn on
  /// the drawing thread above the terrain; full extent takes them in.
  void setSurveyCheck(std::shared_ptr<const std::vector<CheckedPoint>> rows);
  /// Whether the drawing thread has the check's points to draw.
  bool drawsSurveyCheck() const { return !manage_.overlays().empty(); }
  /// Shows a computed alignment (the road the check ran on) at full extent.
  void showDesign(const CRoadDesign& design);
  /// Centres the view on a plan point (x north, y east), zoomed in to at
  /// least `scale` metres a pixel.
  void centreOn(double x, double y, double scale = 0.5);

  CMapManage& mapManage() { return manage_; }
  const CRoadDesign& roadDesign() const { return design_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  /// Takes the current contents size as the client rectangle; false while the
  /// map has no usable size.
  bool takeClientRect();
  QPoint toClient(const QPointF& widgetPoint) const;

  void updateTerrainLayer();
  /// Full extent over the road now, or at the first paint of a map not laid out yet.
  void fitToRoad();

  CMapManage manage_;
  CRoadDesign design_;
  std::shared_ptr<CMapLayer> terrainLayer_;
  std::shared_ptr<CMapLayer> checkLayer_;
  bool terrainShown_ = true;
  bool fullExtentPending_ = false;
  bool outOfDate_ = false;
  /// The view is a full extent the user has not changed: a new size fits again.
  bool fitFollowsSize_ = false;
  int wheelRemainder_ = 0;
};

}  // namespace trazmark
