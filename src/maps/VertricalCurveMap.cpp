#include "maps/VertricalCurveMap.h"

#include "vertical/VerticalCurveFile.h"

namespace trazmark {

CVertricalCurveMap::CVertricalCurveMap(QWidget* parent) : CMapWindow(parent) {
  mapManage().setDecorations(profileDecorations());
}

bool CVertricalCurveMap::showVerticalCurveFile(const std::string& path) {
  RecordList<CVerticalCurveCal> read;
  if (!readVerticalCurveFile(path, read)) return false;
  std::vector<ProfilePoint> points = profileLinePoints(read);
  // A list whose line cannot be sampled (absurdly long) keeps the old profile.
  if (points.empty() && read.size() > 1) return false;
  gradePoints_ = std::move(read);
  points_ = std::move(points);
  contentChanged(true);
  return true;
}

void CVertricalCurveMap::clear() {
  gradePoints_.clear();
  points_.clear();
  ground_.clear();
  groundRuns_.clear();
  setOutOfDate(false);
  contentChanged(false);
}

void CVertricalCurveMap::setGroundSamples(std::vector<GroundSample> samples) {
  ground_ = std::move(samples);
  groundRuns_ = groundProfileRuns(ground_);
  contentChanged(true);
}

void CVertricalCurveMap::setLabelsShown(bool shown) {
  if (shown == labelsShown_) return;
  labelsShown_ = shown;
  contentChanged(false);
}

void CVertricalCurveMap::setHeightLabelsShown(bool shown) {
  if (shown == heightLabelsShown_) return;
  heightLabelsShown_ = shown;
  contentChanged(false);
}

std::optional<WorldBox> CVertricalCurveMap::contentExtent() const {
  // Ground alone is no profile: without a grade line there is nothing to fit.
  if (points_.empty()) return std::nullopt;
  return profileExtent(points_, groundRuns_);
}

void CVertricalCurveMap::drawContent(QPainter& painter, const MapView& view) const {
  // The grid under everything, its labels off the scale bar; the ground
  // next, so the grade line stays on top where they meet. A map with
  // nothing to show has no axes either.
  if (points_.empty() && groundRuns_.empty()) return;
  const QRect bar = scaleBarBox(view, kProfileExaggeration);
  drawProfileGrid(painter, view, DrawingPalette::screen(), &bar);
  drawGroundProfile(painter, view, groundRuns_);
  drawProfileLine(painter, view, points_);
  drawAllProfileLabels(painter, view, gradePoints_, labelsShown_, heightLabelsShown_ ? &ground_ : nullptr);
}

}  // namespace trazmark
