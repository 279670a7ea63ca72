#pragma once
// The profile map: the grade line of the road sampled every 20 m as a thick
// red line on black, heights exaggerated 20 times (world Y = mileage / 20),
// with the grade points and vertical curves labelled. It lives in the drawing
// pane and is loaded from the VR file that the grade-point editor writes; the
// frame hands it the ground at the road's stakes.

#include <string>
#include <vector>

#include "maps/MapWindow.h"
#include "maps/ProfileDrawing.h"
#include "records/RoadRecords.h"

namespace trazmark {

class CVertricalCurveMap : public CMapWindow {
  Q_OBJECT

 public:
  explicit CVertricalCurveMap(QWidget* parent = nullptr);

  /// Loads a VR file and runs full extent. A file that cannot be read, or
  /// one without a complete line, leaves the map as it was (false).
  bool showVerticalCurveFile(const std::string& path);

  /// Forgets the road's profile and ground (another road is current).
  void clear();

  /// Shows or hides the labels of grade points and curve ends.
  void setLabelsShown(bool shown);
  bool labelsShown() const { return labelsShown_; }

  /// The ground at the road's stakes, drawn under the grade line with the
  /// fill/cut heights among the labels; full extent covers both lines.
  /// Empty: no ground.
  void setGroundSamples(std::vector<GroundSample> samples);
  const std::vector<GroundSample>& groundSamples() const { return ground_; }
  /// Shows or hides the fill/cut heights at the stakes (View menu).
  void setHeightLabelsShown(bool shown);
  bool heightLabelsShown() const { return heightLabelsShown_; }

  const std::vector<ProfilePoint>& profilePoints() const { return points_; }
  const RecordList<CVerticalCurveCal>& gradePoints() const { return gradePoints_; }

 protected:
  std::optional<WorldBox> contentExtent() const override;
  void drawContent(QPainter& painter, const MapView& view) const override;

 private:
  RecordList<CVerticalCurveCal> gradePoints_;
  std::vector<ProfilePoint> points_;
  std::vector<GroundSample> ground_;
  std::vector<std::vector<ProfilePoint>> groundRuns_;
  bool labelsShown_ = true;
  bool heightLabelsShown_ = true;
};

}  // namespace trazmark
