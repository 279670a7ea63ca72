#pragma once
// The surveyed points of an as-built check on the plan: each point a dot,
// green within tolerance, red beyond, grey off the road (or without a
// station), labelled with its ΔZ. The same painting serves the plan map (a
// layer drawn on its drawing thread) and the report's plan on paper.
//
// Only the points inside the window are looked at further than their
// position, and labels that would overlap are dropped (points beyond
// tolerance are labelled first), so 100,000 points cost one pass.

#include <QColor>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "asbuilt/SurveyCheck.h"
#include "maps/DrawingPalette.h"
#include "maps/MapLayer.h"

namespace trazmark {

/// The colours of the points on a background: dark shades on paper, bright
/// ones on the black plan.
struct CheckPointColours {
  QColor within;
  QColor beyond;
  QColor neutral;  ///< off the road, no station
};
CheckPointColours checkPointColours(const DrawingPalette& palette);

/// The colour a row is drawn in.
QColor checkPointColour(const CheckedPoint& row, const CheckPointColours& colours);

/// A ΔZ as its label reads: "+0.012", "-0.250" (metres).
std::string checkDzLabel(double dz);

/// The box of the rows' points (none without a row), the off-road ones
/// included only when `withOffRoad`.
std::optional<WorldBox> checkedPointsBox(const std::vector<CheckedPoint>& rows, bool withOffRoad);

/// What one painting drew.
struct CheckPointsDrawn {
  std::size_t points = 0;  ///< inside the window
  std::size_t labels = 0;
};

/// Paints the rows' points that lie inside the view's client rectangle, each
/// a dot of `dotPixels` across, and their ΔZ labels (`labelPointSize`, 0: no
/// labels) where they do not overlap.
CheckPointsDrawn drawCheckedPoints(QPainter& painter, const MapView& view,
                                   const std::vector<CheckedPoint>& rows,
                                   const DrawingPalette& palette, double dotPixels = 6,
                                   int labelPointSize = 8);

/// The points of a check over the plan map. The rows are shared and never
/// changed; a new check is a new layer.
class CSurveyCheckLayer : public CMapLayer {
 public:
  explicit CSurveyCheckLayer(std::shared_ptr<const std::vector<CheckedPoint>> rows);

  /// The checked points' box, so that full extent shows them with the road.
  std::optional<WorldBox> extent() const override { return box_; }
  void draw(QPainter& painter, const MapView& view, int32_t listFlag) override;

  const std::vector<CheckedPoint>& rows() const { return *rows_; }
  /// What the last drawing drew.
  CheckPointsDrawn lastDrawn() const { return lastDrawn_; }

 private:
  std::shared_ptr<const std::vector<CheckedPoint>> rows_;
  std::optional<WorldBox> box_;
  CheckPointsDrawn lastDrawn_;
};

}  // namespace trazmark
