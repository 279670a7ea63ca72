#pragma once
// Drawing the longitudinal profile: the grade line sampled every 20 m as a
// thick red line, and the labels of its grade points and vertical curves,
// with a map view's transform. Used by the profile map window and, offscreen,
// to render a profile into an image.
//
// World coordinates of the profile: X (up) is the elevation in metres, Y
// (right) the mileage divided by 20, so heights are exaggerated 20 times.

#include <QImage>
#include <QSize>
#include <optional>
#include <string>
#include <vector>

#include "maps/MapView.h"
#include "records/RoadRecords.h"

class QPainter;

namespace trazmark {

/// Mileage metres per world unit along the profile.
constexpr double kProfileExaggeration = 20.0;

/// One point of the drawn grade line in world coordinates.
struct ProfilePoint {
  double x = 0;  ///< elevation, metres
  double y = 0;  ///< mileage / 20
};

/// The grade line of set-up grade points as the map draws it: the samples of
/// sampleProfileLine (every 20 m and the end) in world coordinates. Empty
/// when the points give no line.
std::vector<ProfilePoint> profileLinePoints(const RecordList<CVerticalCurveCal>& gradePoints);

/// The box around the points, or none for no points.
std::optional<WorldBox> profileExtent(const std::vector<ProfilePoint>& points);

/// The grade line: a red polyline of width 3 through the points, clipped at
/// the window's edges, so a part that leaves the window is drawn up to the
/// edge and no straight line is drawn across it. Nothing for fewer than two
/// points.
void drawProfileLine(QPainter& painter, const MapView& view, const std::vector<ProfilePoint>& points);

/// The labels of the grade points: each point marked with its station,
/// elevation and the grades in and out (percent); the begin and end of each
/// vertical curve marked "BVC"/"EVC" with station and elevation. Labels that
/// would overlap one already drawn (grade points first) are left out.
void drawProfileLabels(QPainter& painter, const MapView& view, const RecordList<CVerticalCurveCal>& gradePoints);

/// A station as engineers write it: "K1+250.000" ("-K0+020.000" before 0).
std::string formatStation(double mileage);

/// Renders the profile offscreen as the map shows it at full extent: black
/// background, grade line, labels (when `labels`), north arrow and scale bar.
/// `gradePoints` must be set up. False below 5 by 5 pixels or without a line.
bool renderProfileImage(const RecordList<CVerticalCurveCal>& gradePoints, QSize size, bool labels, QImage& image,
                        MapView* viewOut = nullptr);

}  // namespace trazmark
