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

void CRoadSectionMap::setStationPicture(const StationSectionPicture& picture) {
  station_ = picture;
  stationShown_ = true;
  contentChanged(true);
}

void CRoadSectionMap::clearStation() {
  if (!stationShown_) return;
  stationShown_ = false;
  station_ = StationSectionPicture{};
  contentChanged(true);
}

std::optional<WorldBox> CRoadSectionMap::contentExtent() const {
  if (stationShown_) return stationSectionExtent(station_.segments, station_.ground);
  return sectionExtent(segments_);
}

void CRoadSectionMap::drawContent(QPainter& painter, const MapView& view) const {
  if (stationShown_) {
    drawStationSection(painter, view, station_);
    return;
  }
  drawSectionGrid(painter, view);
  drawSectionSegments(painter, view, segments_, left_, right_);
}

}  // namespace trazmark
