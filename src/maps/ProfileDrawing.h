#pragma once
// Drawing the longitudinal profile: the grade line sampled every 20 m as a
// thick red line, and the labels of its grade points and vertical curves,
// with a map view's transform. Used by the profile map window and, offscreen,
// to render a profile into an image.
//
// World coordinates of the profile: X (up) is the elevation in metres, Y
// (right) the mileage divided by 20, so heights are exaggerated 20 times.

#include <QImage>
#include <QRect>
#include <QSize>
#include <optional>
#include <string>
#include <vector>

#include "maps/DrawingPalette.h"
#include "maps/MapDecorations.h"
#include "maps/MapView.h"
#include "records/RoadRecords.h"

class QPainter;

namespace trazmark {

class CLabelPlacer;

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
void drawProfileLine(QPainter& painter, const MapView& view,
                     const std::vector<ProfilePoint>& points,
                     const DrawingPalette& palette = DrawingPalette::screen());

/// The labels of the grade points: each point marked with its station,
/// elevation and the grades in and out (percent); the begin and end of each
/// vertical curve marked "BVC"/"EVC" with station and elevation. Labels that
/// would overlap one already drawn (grade points first) are left out.
/// `placer`: labels drawn before (or after) these avoid each other; null: their own.
void drawProfileLabels(QPainter& painter, const MapView& view,
                       const RecordList<CVerticalCurveCal>& gradePoints,
                       CLabelPlacer* placer = nullptr,
                       const DrawingPalette& palette = DrawingPalette::screen());

/// The ground under the profile at one stake: the stake's displayed station
/// and the ground's elevation at its centre point, none where there is no
/// ground (off the terrain, or no terrain).
struct GroundSample {
  double station = 0;  ///< displayed station, metres
  std::optional<double> elevation;
};

/// The ground line in world coordinates: one run per stretch of consecutive
/// samples that have ground, so a stake without ground leaves the line open
/// there. A lone sample between two gaps is a run of one point.
std::vector<std::vector<ProfilePoint>> groundProfileRuns(const std::vector<GroundSample>& samples);

/// The box around the grade line's points and the ground's runs; none when
/// both are empty.
std::optional<WorldBox> profileExtent(const std::vector<ProfilePoint>& points,
                                      const std::vector<std::vector<ProfilePoint>>& groundRuns);

/// The ground line: thin (width 1) and green-brown, each run a polyline
/// clipped at the window (a run of one point is a dot); nothing between runs.
void drawGroundProfile(QPainter& painter, const MapView& view,
                       const std::vector<std::vector<ProfilePoint>>& runs,
                       const DrawingPalette& palette = DrawingPalette::screen());

/// The label of a fill or cut height (design − ground, metres): "+1.250"
/// for fill, "-0.730" for cut, "0.000" when level to the millimetre.
std::string fillCutText(double height);

/// The fill/cut height at one stake: design − ground, metres (fill positive).
struct FillCutHeight {
  double station = 0;  ///< displayed station, metres
  double design = 0;   ///< the grade line's elevation there
  double ground = 0;
  double height() const { return design - ground; }
};

/// The stakes that have both ground and a grade line, from the first grade
/// point to the last (`gradePoints` set up): the grade line of the profile
/// at the stake's station, beside the ground.
std::vector<FillCutHeight> fillCutHeights(const RecordList<CVerticalCurveCal>& gradePoints,
                                          const std::vector<GroundSample>& samples);

/// The fill/cut height at each stake of fillCutHeights:
/// the grade line of `gradePoints` (set up) at the stake's station less the
/// ground, written upright just below the lower of the two lines, fill and
/// cut in their own colours, and a thin tick between the lines. A label that
/// would cover one already drawn (in `placer` too, when given) or stand
/// closer than a label's width to the next is left out at this scale.
/// Returns how many labels were drawn.
int drawFillCutLabels(QPainter& painter, const MapView& view,
                      const RecordList<CVerticalCurveCal>& gradePoints,
                      const std::vector<GroundSample>& samples, CLabelPlacer* placer = nullptr,
                      const DrawingPalette& palette = DrawingPalette::screen());

/// The grade points' labels (when `labels`) and then the fill/cut heights of
/// `heights` (when given), the heights kept clear of the grade points' labels.
void drawAllProfileLabels(QPainter& painter, const MapView& view,
                          const RecordList<CVerticalCurveCal>& gradePoints, bool labels,
                          const std::vector<GroundSample>* heights,
                          const DrawingPalette& palette = DrawingPalette::screen());

/// A station as engineers write it: "K1+250.000" ("-K0+020.000" before 0).
std::string formatStation(double mileage);

/// A station of a grid of `step` metres, with the decimals the step needs:
/// (1200, 100) → "K1+200", (1200.5, 0.5) → "K1+200.5" (at most three).
std::string stationGridText(double mileage, double step);

/// The profile map's decorations: a scale bar of stations (the mileage is
/// shrunk 20 times), no north arrow (its axes are station and elevation).
MapDecorationStyle profileDecorations();

/// The profile's grid: elevations at round steps (rows at least 40 pixels
/// apart) labelled at the left edge, stations at round steps of metres
/// (columns at least 100 pixels apart) labelled "K1+200" along the bottom;
/// labels kept inside the window and off `keepClear`.
void drawProfileGrid(QPainter& painter, const MapView& view,
                     const DrawingPalette& palette = DrawingPalette::screen(),
                     const QRect* keepClear = nullptr);

/// Renders the profile offscreen as the map shows it at full extent: black
/// background, grid, grade line, labels (when `labels`) and scale bar.
/// `gradePoints` must be set up. False below 5 by 5 pixels or without a line.
/// With `ground`, the ground line is drawn under the grade line (and its
/// fill/cut heights when `heightLabels`) and full extent covers both lines.
bool renderProfileImage(const RecordList<CVerticalCurveCal>& gradePoints, QSize size, bool labels,
                        QImage& image, MapView* viewOut = nullptr,
                        const std::vector<GroundSample>* ground = nullptr,
                        bool heightLabels = true);

}  // namespace trazmark
