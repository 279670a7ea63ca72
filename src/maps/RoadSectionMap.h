#pragma once
// The cross-section map: the standard cross section being edited, both sides
// as blue segments outward from the centre line over a labelled grid, each
// component named with its width and slope. It lives in the drawing pane and
// is handed the component lists by the cross-section view. At a station it
// shows instead the road's section there, in elevations, over the ground.

#include <vector>

#include "maps/MapWindow.h"
#include "maps/SectionDrawing.h"
#include "records/RoadRecords.h"

namespace trazmark {

class CRoadSectionMap : public CMapWindow {
  Q_OBJECT

 public:
  explicit CRoadSectionMap(QWidget* parent = nullptr);

  /// Takes copies of the two lists, rebuilds the segments and runs full
  /// extent (with no segments the view stays as it was).
  void setSections(const RecordList<Road_Section_Item>& left, const RecordList<Road_Section_Item>& right);

  /// Forgets the sections and the station (another road is current).
  void clear();

  /// Shows the section at a station (and runs full extent).
  void setStationPicture(const StationSectionPicture& picture);
  /// Back to the standard cross section.
  void clearStation();
  bool stationShown() const { return stationShown_; }
  const StationSectionPicture& stationPicture() const { return station_; }

  const std::vector<SectionSegment>& segments() const { return segments_; }
  const RecordList<Road_Section_Item>& leftSections() const { return left_; }
  const RecordList<Road_Section_Item>& rightSections() const { return right_; }

 protected:
  std::optional<WorldBox> contentExtent() const override;
  void drawContent(QPainter& painter, const MapView& view) const override;

 private:
  RecordList<Road_Section_Item> left_;
  RecordList<Road_Section_Item> right_;
  std::vector<SectionSegment> segments_;
  StationSectionPicture station_;
  bool stationShown_ = false;
};

}  // namespace trazmark
