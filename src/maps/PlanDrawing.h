#pragma once
// Drawing the plan of a road: the centre line element by element and the key
// points with their circles and names, with a map view's transform. Used by the
// plan map window and, offscreen, to render a plan into an image.

#include <QColor>
#include <QImage>
#include <QSize>
#include <vector>

#include "alignment/RoadDesign.h"
#include "alignment/RoadElement.h"
#include "maps/DrawingPalette.h"
#include "maps/MapView.h"
#include "records/RoadRecords.h"

class QPainter;

namespace trazmark {

/// Mileages at which an arc or spiral is sampled: the step is a tenth of the
/// length while that is below 5 m and 10 m otherwise, raised to the scale
/// (metres per pixel) when not above it, so no two samples fall closer than a
/// pixel. Samples run from the start while below the end, then the end itself;
/// a zero-length element gives its point twice.
std::vector<double> curveSampleMileages(double startMileage, double endMileage, double scale);

/// Draws the centre line: nothing for a start point, one segment for a
/// straight (always), and for an arc or a spiral a polyline through its
/// samples, drawn only when at least one sample lies inside the client
/// rectangle. Pen: solid, `width` pixels, `colour`.
void drawCentreLine(QPainter& painter, const MapView& view,
                    const std::vector<CRoadElement>& elements, const QColor& colour,
                    double width = 1);

/// Draws every key point inside the client rectangle (right and bottom edges
/// excluded) as a small circle in `colour` filled with the palette's mark
/// fill, and its name to the right of it in the palette's label colours
/// (black on an opaque white box). A name whose box would
/// overlap a name already drawn (earlier key points first) is left out, so a
/// zoomed-out plan shows fewer names instead of a solid band. Returns how
/// many names were drawn.
int drawKeyPoints(QPainter& painter, const MapView& view, const std::vector<SurveyCoord>& keyPoints,
                  const QColor& colour, const DrawingPalette& palette = DrawingPalette::screen());

/// The mileages of the station ticks along a road from `start` to `end`: the
/// multiples of the smallest step of 1, 2 or 5 times a power of ten that puts
/// at least `minPixels` between ticks at `scale` (metres per pixel). Empty
/// for an empty or inverted range, or a scale that is not positive.
std::vector<double> stationTickMileages(double start, double end, double scale,
                                        double minPixels = 80);

/// Short ticks across the centre line at `stationTickMileages`, each with its
/// station ("K0+200") beside it, in the palette's ink. Returns how many
/// ticks were drawn inside the client rectangle.
int drawStationTicks(QPainter& painter, const MapView& view, const CRoadDesign& design,
                     const DrawingPalette& palette);

/// A world box around the key points, or none when there are none.
std::optional<WorldBox> keyPointBox(const std::vector<SurveyCoord>& keyPoints);

/// The engine's bounding box of its key points, when it has any.
std::optional<WorldBox> planExtent(const CRoadDesign& design);

/// The plan of a loaded engine: centre line and key points in the palette's
/// centre-line colour, or the engine's pen colour (0xRRGGBB) when the palette
/// has none; the station ticks when the palette asks for them.
void drawRoadPlan(QPainter& painter, const MapView& view, const CRoadDesign& design,
                  const DrawingPalette& palette = DrawingPalette::screen());

/// Renders the plan offscreen as the plan map shows it at full extent: black
/// background, centre line, key points, north arrow and scale bar, in an image
/// of `size`. Fails when the size is below 5 by 5 pixels or the engine has no
/// extent. `viewOut`, when given, receives the view used.
bool renderPlanImage(const CRoadDesign& design, QSize size, QImage& image,
                     MapView* viewOut = nullptr);
/// The same for a curve file (".TDFE"), loaded into a fresh engine.
bool renderPlanImage(const std::string& curveFilePath, QSize size, QImage& image);

}  // namespace trazmark
