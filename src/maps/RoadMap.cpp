#include "maps/RoadMap.h"

#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include "maps/PlanDrawing.h"

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
  manage_.invalidateFrame();
  // A map not yet shown has no size of its own; it fits at its first paint.
  // A map in a pane shown just now has a size that its layout is about to
  // change: the fit follows the size until the user changes the view.
  fitFollowsSize_ = true;
  if (isVisible() && takeClientRect())
    manage_.fullExtent(planExtent(design_));
  else
    fullExtentPending_ = true;
  return loaded;
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

void CRoadMap::mouseMoveEvent(QMouseEvent* event) {
  manage_.onMouseMove(toClient(event->position()), event->modifiers());
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
