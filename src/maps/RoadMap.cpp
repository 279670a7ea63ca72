#include "maps/RoadMap.h"

#include <QMainWindow>
#include <QMouseEvent>
#include <QStatusBar>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "maps/MapDecorations.h"
#include "maps/PlanDrawing.h"
#include "maps/SurveyCheckLayer.h"
#include "maps/TerrainLayer.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"

namespace trazmark {

namespace {

/// The engine's colour of the centre line on the plan map: red, 0xRRGGBB.
constexpr uint32_t kPlanCentreLineColour = 0xFF0000;
/// One notch of a mouse wheel; finer wheels and touchpads add up to it.
constexpr int kWheelNotch = 120;

}  // namespace

CRoadMap::CRoadMap(QWidget* parent) : QFrame(parent), manage_(this) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::WheelFocus);
  setMouseTracking(true);  // the status bar follows the mouse without a button held
  manage_.setBackground(kColourBlack);
  manage_.writeSettings();
  design_.penColor = kPlanCentreLineColour;
}

CRoadMap::~CRoadMap() = default;

bool CRoadMap::takeClientRect() {
  const QRect c = contentsRect();
  manage_.setClientRect({0, 0, c.width(), c.height()});
  const ClientRect& r = manage_.params().clientRect;
  return r.width() >= kMinClientSize && r.height() >= kMinClientSize;
}

bool CRoadMap::showAlignmentFile(const std::string& path) {
  const bool loaded = design_.loadFromCurveFile(path);
  fitToRoad();
  return loaded;
}

void CRoadMap::showDesign(const CRoadDesign& design) {
  const uint32_t pen = design_.penColor;
  design_ = design;
  design_.penColor = pen;
  fitToRoad();
}

void CRoadMap::centreOn(double x, double y, double scale) {
  if (!std::isfinite(x) || !std::isfinite(y) || !(scale > 0)) return;
  fullExtentPending_ = false;
  fitFollowsSize_ = false;
  takeClientRect();
  const double wanted = std::min(manage_.view().scale(), scale);
  double originX = 0, originY = 0;
  manage_.view().originFor(x, y, wanted, originX, originY);
  manage_.commitView(originX, originY, wanted);
  update();
}

void CRoadMap::fitToRoad() {
  manage_.invalidateFrame();
  // A map not yet shown has no size of its own; it fits at its first paint.
  // A map in a pane shown just now has a size that its layout is about to
  // change: the fit follows the size until the user changes the view.
  fitFollowsSize_ = true;
  if (isVisible() && takeClientRect())
    manage_.fullExtent(planExtent(design_));
  else
    fullExtentPending_ = true;
}

void CRoadMap::clear() {
  design_ = CRoadDesign();
  design_.penColor = kPlanCentreLineColour;
  outOfDate_ = false;
  manage_.clearCache();
  update();
}

void CRoadMap::setOutOfDate(bool outOfDate) {
  if (outOfDate == outOfDate_) return;
  outOfDate_ = outOfDate;
  update();
}

void CRoadMap::setGround(std::shared_ptr<const CRoadGround> ground) {
  terrainLayer_.reset();
  if (ground && ground->terrain() != nullptr && !ground->terrain()->empty())
    terrainLayer_ = std::make_shared<CTerrainLayer>(std::move(ground));
  updateTerrainLayer();
}

void CRoadMap::setTerrainShown(bool shown) {
  if (shown == terrainShown_) return;
  terrainShown_ = shown;
  updateTerrainLayer();
}

void CRoadMap::setSurveyCheck(std::shared_ptr<const std::vector<CheckedPoint>> rows) {
  checkLayer_.reset();
  if (rows) checkLayer_ = std::make_shared<CSurveyCheckLayer>(std::move(rows));
  updateTerrainLayer();
}

void CRoadMap::updateTerrainLayer() {
  // The layers are built once per ground or check and never changed after
  // they are handed to the drawing thread; showing and hiding swap the lists.
  MapLayerList layers;
  if (terrainShown_ && terrainLayer_) layers.push_back(terrainLayer_);
  MapLayerList overlays;
  if (checkLayer_) overlays.push_back(checkLayer_);
  manage_.setLayers(std::move(layers), std::move(overlays));
  update();
}

bool CRoadMap::viewCommand(int code) {
  if (code == kCommandFullExtent) {
    fullExtentPending_ = false;
    fitFollowsSize_ = true;
  } else if (code == kCommandZoomIn || code == kCommandZoomOut) {
    fitFollowsSize_ = false;
  }
  return manage_.runViewCommand(code, planExtent(design_));
}

void CRoadMap::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  const bool sized = takeClientRect();
  if (!sized) return;  // no drawing surface
  if (fullExtentPending_) {
    fullExtentPending_ = false;
    manage_.fullExtent(planExtent(design_));
  }
  if (manage_.frameStale()) {
    QImage& frame = manage_.present();
    {
      QPainter painter(&frame);
      drawRoadPlan(painter, manage_.view(), design_);
    }
    manage_.finishFrame();
  }
  QPainter painter(this);
  painter.drawImage(contentsRect().topLeft(), manage_.windowFrame());
  if (outOfDate_)
    drawOutOfDateNote(painter, contentsRect(), outOfDateText());
}

QPoint CRoadMap::toClient(const QPointF& widgetPoint) const {
  return widgetPoint.toPoint() - contentsRect().topLeft();
}

void CRoadMap::resizeEvent(QResizeEvent* event) {
  QFrame::resizeEvent(event);
  if (fitFollowsSize_) fullExtentPending_ = true;
}

void CRoadMap::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    fitFollowsSize_ = false;
    manage_.onLeftButtonDown(toClient(event->position()), event->modifiers());
  }
}

void CRoadMap::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton)
    manage_.onLeftButtonUp(toClient(event->position()), event->modifiers());
}

QString stationReadout(const CRoadDesign& design, double x, double y) {
  if (!design.computed()) return QString();
  const StationLocation l = design.locate(x, y);
  switch (l.status) {
    case StationLocation::kOnRoad:
      return toQt(GetLanguageText("IDS_DATA_station_offset_readout"))
          .arg(l.displayedMileage, 0, 'f', 3)
          .arg(l.offset, 0, 'f', 3);
    case StationLocation::kOutside:
      return toQt(GetLanguageText("IDS_DATA_outside_road_readout")).arg(l.distance, 0, 'f', 3);
    default:
      return QString();
  }
}

void CRoadMap::mouseMoveEvent(QMouseEvent* event) {
  const QPoint at = toClient(event->position());
  manage_.onMouseMove(at, event->modifiers());
  // The station and offset under the mouse go to the frame's status bar.
  if (auto* frame = qobject_cast<QMainWindow*>(window())) {
    const WorldPoint w = manage_.screenToWorld(at.x(), at.y());
    const QString text = stationReadout(design_, w.x, w.y);
    if (!text.isEmpty()) frame->statusBar()->showMessage(text);
  }
}

void CRoadMap::wheelEvent(QWheelEvent* event) {
  // Wheel events reach the widget under the cursor, so the map needs no focus
  // for them. A horizontal scroll is not a turn of the wheel.
  const int delta = event->angleDelta().y();
  if (delta == 0) {
    event->ignore();
    return;
  }
  fitFollowsSize_ = false;
  wheelRemainder_ += delta;
  const QPoint at = toClient(event->position());
  while (wheelRemainder_ >= kWheelNotch) {
    wheelRemainder_ -= kWheelNotch;
    manage_.onWheel(at, 1);
  }
  while (wheelRemainder_ <= -kWheelNotch) {
    wheelRemainder_ += kWheelNotch;
    manage_.onWheel(at, -1);
  }
  event->accept();
}

}  // namespace trazmark
