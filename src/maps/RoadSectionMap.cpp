#include "maps/RoadSectionMap.h"

namespace trazmark {

CRoadSectionMap::CRoadSectionMap(QWidget* parent) : CMapWindow(parent) {
  mapManage().setDecorations(sectionDecorations());
}

void CRoadSectionMap::setSections(const RecordList<Road_Section_Item>& left,
                                  const RecordList<Road_Section_Item>& right) {
  left_ = left;
  right_ = right;
  segments_ = buildSectionSegments(left_, right_);
  contentChanged(true);
}

void CRoadSectionMap::clear() {
  left_.clear();
  right_.clear();
  segments_.clear();
  station_ = StationSectionPicture{};
  stationShown_ = false;
  setOutOfDate(false);
  contentChanged(false);
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
  // The grid's labels keep off the scale bar in the corner.
  const QRect bar = scaleBarBox(view);
  if (stationShown_) {
    drawStationSection(painter, view, station_, DrawingPalette::screen(), &bar);
    return;
  }
  if (segments_.empty()) return;  // nothing to show: no axes either
  drawSectionGrid(painter, view, DrawingPalette::screen(), &bar);
  drawSectionSegments(painter, view, segments_, left_, right_);
}

}  // namespace trazmark
