#include "maps/VertricalCurveMap.h"

#include "vertical/VerticalCurveFile.h"

namespace trazmark {

CVertricalCurveMap::CVertricalCurveMap(QWidget* parent) : CMapWindow(parent) {}

bool CVertricalCurveMap::showVerticalCurveFile(const std::string& path) {
  RecordList<CVerticalCurveCal> read;
  if (!readVerticalCurveFile(path, read)) return false;
  std::vector<ProfilePoint> points = profileLinePoints(read);
  // A list whose line cannot be sampled (absurdly long) keeps the old profile.
  if (points.empty() && read.size() > 1) return false;
  gradePoints_ = std::move(read);
  points_ = std::move(points);
  box_ = profileExtent(points_);
  contentChanged(true);
  return true;
}

void CVertricalCurveMap::setLabelsShown(bool shown) {
  if (shown == labelsShown_) return;
  labelsShown_ = shown;
  contentChanged(false);
}

std::optional<WorldBox> CVertricalCurveMap::contentExtent() const { return box_; }

void CVertricalCurveMap::drawContent(QPainter& painter, const MapView& view) const {
  drawProfileLine(painter, view, points_);
  if (labelsShown_) drawProfileLabels(painter, view, gradePoints_);
}

}  // namespace trazmark
