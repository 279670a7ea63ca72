#include "maps/MapView.h"

#include <algorithm>
#include <cmath>

namespace trazmark {

namespace {

/// Below this scale the transform gives pixel (0, 0) rather than dividing by it.
constexpr double kTinyScale = 1e-7;
/// A commit takes a view only when origin or scale moved at least this much.
constexpr double kCommitTolerance = 1e-7;
/// Origins beyond this are not taken as centres (they come from broken input).
constexpr double kMaxOrigin = 1e11;
/// Pixel results are clamped here so that they always fit an int.
constexpr double kMaxPixel = 1e9;

int32_t toPixel(double v) {
  if (!(v > -kMaxPixel)) return v != v ? 0 : static_cast<int32_t>(-kMaxPixel);
  if (!(v < kMaxPixel)) return static_cast<int32_t>(kMaxPixel);
  return static_cast<int32_t>(v);
}

}  // namespace

bool MapView::worldToScreenF(double x, double y, double& px, double& py) const {
  const MapViewParams& p = params_;
  if (!(p.scale >= kTinyScale)) {
    px = 0;
    py = 0;
    return false;
  }
  const ClientRect& r = p.clientRect;
  // Rounded to the nearest pixel: floor(v + 0.5) rounds the same way on both
  // sides of the window's left and top edges.
  px = std::floor((r.right + r.left) / 2.0 + (y - p.centreY) / p.scale + 0.5);
  py = std::floor((r.bottom + r.top) / 2.0 - (x - p.centreX) / p.scale + 0.5);
  return true;
}

ScreenPoint MapView::worldToScreen(double x, double y) const {
  double px = 0;
  double py = 0;
  if (!worldToScreenF(x, y, px, py)) return {0, 0};
  return {toPixel(px), toPixel(py)};
}

WorldPoint MapView::screenToWorld(double x, double y) const {
  const MapViewParams& p = params_;
  const ClientRect& r = p.clientRect;
  WorldPoint w;
  w.x = ((r.bottom + r.top) / 2.0 - y) * p.scale + p.centreX;
  w.y = (x - (r.right + r.left) / 2.0) * p.scale + p.centreY;
  w.h = 0;
  return w;
}

bool MapView::setClientRect(const ClientRect& rect) {
  if (rect.width() < kMinClientSize || rect.height() < kMinClientSize) return false;
  if (rect == params_.clientRect) return false;
  params_.clientRect = rect;
  return true;
}

void MapView::originFor(double centreX, double centreY, double scale, double& originX,
                        double& originY) const {
  // The origin pairs X with the window width and Y with its height; commitView
  // undoes exactly this, so the pairing only matters for the origin's limits.
  originX = centreX - params_.clientRect.width() * scale / 2;
  originY = centreY - params_.clientRect.height() * scale / 2;
}

bool MapView::commitView(double originX, double originY, double newScale) {
  MapViewParams& p = params_;
  double currentX = 0;
  double currentY = 0;
  originFor(p.centreX, p.centreY, p.scale, currentX, currentY);
  const bool moved = std::fabs(originX - currentX) >= kCommitTolerance ||
                     std::fabs(originY - currentY) >= kCommitTolerance ||
                     std::fabs(newScale - p.scale) >= kCommitTolerance;
  if (!moved) return false;
  if (newScale >= kMinScale && newScale <= kMaxScale) p.scale = newScale;
  if (std::fabs(originX) <= kMaxOrigin) p.centreX = originX + p.clientRect.width() * p.scale / 2;
  if (std::fabs(originY) <= kMaxOrigin) p.centreY = originY + p.clientRect.height() * p.scale / 2;
  p.centreH = 0;
  return true;
}

bool MapView::commitTarget(const ViewTarget& target) {
  double ox = 0;
  double oy = 0;
  originFor(target.centreX, target.centreY, target.scale, ox, oy);
  return commitView(ox, oy, target.scale);
}

std::optional<ViewTarget> MapView::fitBox(const WorldBox& box) const {
  if (!(box.maxX >= box.minX) || !(box.maxY >= box.minY)) return std::nullopt;
  const double w = params_.clientRect.width();
  const double h = params_.clientRect.height();
  if (!(w > 0) || !(h > 0)) return std::nullopt;
  double s = std::max((box.maxY - box.minY) / w, (box.maxX - box.minX) / h);
  if (s < kMinScale) s = kMinScale;
  ViewTarget t;
  t.scale = s * kFitMarginFactor;
  t.centreX = (box.minX + box.maxX) / 2;
  t.centreY = (box.minY + box.maxY) / 2;
  return t;
}

namespace {

WorldBox boxOf(const WorldPoint& a, const WorldPoint& b) {
  return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

}  // namespace

std::optional<ViewTarget> MapView::zoomInTarget(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const {
  const ClientRect& r = params_.clientRect;
  // Integer halving of the tenths, then the division by ten in floating point.
  const double cx = static_cast<int32_t>((static_cast<int64_t>(x0) + x1) / 2) / 10.0;
  const double cy = static_cast<int32_t>((static_cast<int64_t>(y0) + y1) / 2) / 10.0;
  const WorldPoint clicked = screenToWorld(cx, cy);
  const bool click = std::abs(x0 / 10 - x1 / 10) <= kClickTolerancePixels ||
                     std::abs(y0 / 10 - y1 / 10) <= kClickTolerancePixels;
  WorldBox box;
  if (click) {
    const double halfW = r.width() * kZoomInClickShare / 2;
    const double halfH = r.height() * kZoomInClickShare / 2;
    box = boxOf(screenToWorld(cx - halfW, cy - halfH), screenToWorld(cx + halfW, cy + halfH));
  } else {
    box = boxOf(screenToWorld(x0 / 10.0, y0 / 10.0), screenToWorld(x1 / 10.0, y1 / 10.0));
  }
  std::optional<ViewTarget> t = fitBox(box);
  if (!t) return std::nullopt;
  if (click) {
    // The clicked world point stays under the cursor.
    t->centreX = clicked.x - ((r.bottom + r.top) / 2.0 - cy) * t->scale;
    t->centreY = clicked.y - (cx - (r.right + r.left) / 2.0) * t->scale;
  }
  return t;
}

std::optional<ViewTarget> MapView::zoomOutTarget(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const {
  const ClientRect& r = params_.clientRect;
  const double w = r.width();
  const double h = r.height();
  const double s = params_.scale;
  const int64_t rw = std::abs(static_cast<int64_t>(x1) - x0);
  const int64_t rh = std::abs(static_cast<int64_t>(y1) - y0);
  const double cx = (static_cast<double>(x0) + x1) / 2;
  const double cy = (static_cast<double>(y0) + y1) / 2;
  if (rw <= kClickTolerancePixels || rh <= kClickTolerancePixels) {
    // A window-sized box around the clicked point: 1.1 times the scale, the
    // clicked point in the centre.
    const WorldPoint p = screenToWorld(cx, cy);
    return fitBox({p.x - h * s / 2, p.y - w * s / 2, p.x + h * s / 2, p.y + w * s / 2});
  }
  // The window's present content shrinks into the rectangle: the window centre
  // lands on the rectangle's centre at k times the scale (and the fit's 1.1).
  const double k = std::max(w / static_cast<double>(rw), h / static_cast<double>(rh));
  const WorldPoint c = screenToWorld((r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0);
  std::optional<ViewTarget> t =
      fitBox({c.x - h * s * k / 2, c.y - w * s * k / 2, c.x + h * s * k / 2, c.y + w * s * k / 2});
  if (!t) return std::nullopt;
  t->centreX = c.x - ((r.bottom + r.top) / 2.0 - cy) * t->scale;
  t->centreY = c.y - (cx - (r.right + r.left) / 2.0) * t->scale;
  return t;
}

std::optional<ViewTarget> MapView::panTarget(int32_t x0, int32_t y0, int32_t x1, int32_t y1) const {
  if (x0 == x1 && y0 == y1) return std::nullopt;
  const MapViewParams& p = params_;
  return ViewTarget{p.centreX + p.scale * (static_cast<double>(y1) - y0),
                    p.centreY - p.scale * (static_cast<double>(x1) - x0), p.scale};
}

std::optional<ViewTarget> MapView::fullExtentTarget(const std::vector<WorldBox>& boxes) const {
  if (boxes.empty()) return std::nullopt;
  WorldBox u = boxes.front();
  for (const WorldBox& b : boxes) {
    u.minX = std::min(u.minX, b.minX);
    u.minY = std::min(u.minY, b.minY);
    u.maxX = std::max(u.maxX, b.maxX);
    u.maxY = std::max(u.maxY, b.maxY);
  }
  if (!(u.maxX >= u.minX) || !(u.maxY >= u.minY)) return std::nullopt;
  const double w = params_.clientRect.width();
  const double h = params_.clientRect.height();
  if (!(w > 0) || !(h > 0)) return std::nullopt;
  const double spanX = u.maxX - u.minX;
  const double spanY = u.maxY - u.minY;
  ViewTarget t;
  t.scale = params_.scale;
  // A box flat in one direction (a road running due north or due east) is
  // fitted by its other span; only a box that is a point keeps the scale.
  if (spanX >= kMinScale || spanY >= kMinScale)
    t.scale = std::max(spanY / (kFullExtentFill * w), spanX / (kFullExtentFill * h));
  t.centreX = (u.minX + u.maxX) / 2;
  t.centreY = (u.minY + u.maxY) / 2;
  return t;
}

}  // namespace trazmark
