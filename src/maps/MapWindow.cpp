#include "maps/MapWindow.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>

#include "maps/MapDecorations.h"

namespace trazmark {
namespace {

/// One notch of a mouse wheel; finer wheels and touchpads add up to it.
constexpr int kWheelNotch = 120;

}  // namespace

CMapWindow::CMapWindow(QWidget* parent) : QFrame(parent), manage_(this) {
  setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setFocusPolicy(Qt::WheelFocus);
  setMouseTracking(false);
  manage_.setBackground(kColourBlack);
}

CMapWindow::~CMapWindow() = default;

bool CMapWindow::takeClientRect() {
  const QRect c = contentsRect();
  manage_.setClientRect({0, 0, c.width(), c.height()});
  const ClientRect& r = manage_.params().clientRect;
  return r.width() >= kMinClientSize && r.height() >= kMinClientSize;
}

void CMapWindow::contentChanged(bool fit) {
  manage_.invalidateFrame();
  if (fit) {
    if (isVisible() && takeClientRect())
      manage_.fullExtent(contentExtent());
    else
      fullExtentPending_ = true;
  }
  update();
}

void CMapWindow::setOutOfDate(bool outOfDate) {
  if (outOfDate == outOfDate_) return;
  outOfDate_ = outOfDate;
  update();
}

bool CMapWindow::viewCommand(int code) {
  if (code == kCommandFullExtent) {
    fullExtentPending_ = false;
    if (isVisible()) takeClientRect();
  }
  const bool done = manage_.runViewCommand(code, contentExtent());
  update();
  return done;
}

void CMapWindow::paintEvent(QPaintEvent* event) {
  QFrame::paintEvent(event);
  if (!takeClientRect()) return;  // no drawing surface
  if (fullExtentPending_) {
    fullExtentPending_ = false;
    manage_.fullExtent(contentExtent());
  }
  if (manage_.frameStale()) {
    QImage& frame = manage_.present();
    {
      QPainter painter(&frame);
      drawContent(painter, manage_.view());
    }
    manage_.finishFrame();
  }
  QPainter painter(this);
  painter.drawImage(contentsRect().topLeft(), manage_.windowFrame());
  if (outOfDate_)
    drawOutOfDateNote(painter, contentsRect(), outOfDateText());
}

QPoint CMapWindow::toClient(const QPointF& widgetPoint) const {
  return widgetPoint.toPoint() - contentsRect().topLeft();
}

void CMapWindow::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) manage_.onLeftButtonDown(toClient(event->position()), event->modifiers());
}

void CMapWindow::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) {
    manage_.onLeftButtonUp(toClient(event->position()), event->modifiers());
    update();
  }
}

void CMapWindow::mouseMoveEvent(QMouseEvent* event) {
  // The wheel reaches the map that has the focus.
  setFocus(Qt::MouseFocusReason);
  manage_.onMouseMove(toClient(event->position()), event->modifiers());
}

void CMapWindow::wheelEvent(QWheelEvent* event) {
  // These maps zoom about the window's centre, not the cursor, and the wheel
  // selects the zoom tool as the menu command does.
  const int delta = event->angleDelta().y();
  if (delta == 0) {
    event->ignore();
    return;
  }
  wheelRemainder_ += delta;
  while (wheelRemainder_ >= kWheelNotch) {
    wheelRemainder_ -= kWheelNotch;
    viewCommand(kCommandZoomIn);
  }
  while (wheelRemainder_ <= -kWheelNotch) {
    wheelRemainder_ += kWheelNotch;
    viewCommand(kCommandZoomOut);
  }
  event->accept();
}

}  // namespace trazmark
