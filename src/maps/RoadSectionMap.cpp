#include "maps/RoadSectionMap.h"

namespace trazmark {

CRoadSectionMap::CRoadSectionMap(QWidget* parent) : CMapWindow(parent) {}

void CRoadSectionMap::setSections(const RecordList<Road_Section_Item>& left,
                                  const RecordList<Road_Section_Item>& right) {
  left_ = left;
  right_ = right;
  segments_ = buildSectionSegments(left_, right_);
  contentChanged(true);
}

std::optional<WorldBox> CRoadSectionMap::contentExtent() const { return sectionExtent(segments_); }

void CRoadSectionMap::drawContent(QPainter& painter, const MapView& view) const {
  drawSectionGrid(painter, view);
  drawSectionSegments(painter, view, segments_, left_, right_);
}

}  // namespace trazmark
