#pragma once
// Drawing the standard cross section: the components of both sides as a chain
// of segments outward from the centre line, over a grid fixed in the window,
// with a map view's transform. Used by the cross-section map window and,
// offscreen, to render a section into an image.
//
// World coordinates of the section: X (up) is the height relative to the
// centre line, Y (right) the offset from it, negative to the left; metres.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>
#include <string>
#include <vector>

#include "crosssection/SectionAtStation.h"
#include "maps/CutFillShading.h"
#include "maps/DrawingPalette.h"
#include "maps/MapDecorations.h"
#include "maps/MapView.h"
#include "records/RoadRecords.h"
#include "terrain/TerrainModel.h"

class QPainter;

namespace trazmark {

/// The section map's decorations: a scale bar, no north arrow (its axes are
/// elevation and offset).
MapDecorationStyle sectionDecorations();

/// One segment of the drawn section, from (x1, y1) to (x2, y2) in world
/// coordinates. A component's surface carries the component's index in
/// `component` and its side in `side` (0 left, 1 right); a kerb face has -1.
struct SectionSegment {
  double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
  int side = 0;
  int component = -1;
};

/// Kerb heights whose magnitude is at most this (metres) draw no kerb face.
constexpr double kMinKerbHeight = 0.0001;

/// The segments of both sides: from the centre outward, a component's kerb
/// face (when its height exceeds 0.0001 m) and then its surface rising by
/// Width·Slope/100 over its width; left side first.
std::vector<SectionSegment> buildSectionSegments(const RecordList<Road_Section_Item>& left,
                                                 const RecordList<Road_Section_Item>& right);

/// The box around every segment end, or none without segments.
std::optional<WorldBox> sectionExtent(const std::vector<SectionSegment>& segments);

/// Clips the pixel segment a-b to `rect` with the Cohen–Sutherland outcodes
/// (left 1, right 2, top 4, bottom 8, edges inclusive); false when it lies
/// wholly outside. The ends move onto the edges they cross.
bool clipSectionSegment(QPoint& a, QPoint& b, const ClientRect& rect);

/// The grid: dashed grey lines at round steps of metres (1, 2 or 5 ×
/// 10^n; rows at least 40 pixels apart, columns 80), each labelled in red
/// with its value to the step's decimals, the labels kept inside the window
/// and off `keepClear` (the map's scale bar).
void drawSectionGrid(QPainter& painter, const MapView& view,
                     const DrawingPalette& palette = DrawingPalette::screen(),
                     const QRect* keepClear = nullptr);

/// The segments in blue, clipped to the window, with a 4-pixel circle at
/// each clipped end; and, beside each surface, its component's name, width
/// and slope where they do not cover another label.
void drawSectionSegments(QPainter& painter, const MapView& view,
                         const std::vector<SectionSegment>& segments,
                         const RecordList<Road_Section_Item>& left,
                         const RecordList<Road_Section_Item>& right,
                         const DrawingPalette& palette = DrawingPalette::screen());

// The section at a station is drawn in elevations: world X is the elevation
// itself (not the height over the centre), Y the offset, right positive.

/// The design section at a station as segments: each side from the centre
/// point (offset 0, the centre elevation) through the outer edges of its
/// components and then its slope steps, in the order `section` lists them; a
/// kerb (the rise an edge makes beyond its width·slope/100) is a vertical
/// face at the inner end (component -1). A surface carries its edge's index
/// among the edges of its side in `component`, so that it is labelled from
/// stationComponents.
std::vector<SectionSegment> buildStationSegments(const SectionAtStation& section);

/// The edges of one side (0 left, 1 right) of `section` as components to
/// label the surfaces with: name, width and slope at the station.
RecordList<Road_Section_Item> stationComponents(const SectionAtStation& section, int side);

/// The box around the segments and the ground's vertices; none when both
/// are empty.
std::optional<WorldBox> stationSectionExtent(const std::vector<SectionSegment>& segments,
                                             const GroundLine& ground);

/// The ground across the road: each piece a thin polyline in the ground's
/// colour (offset right positive), clipped at the window; gaps left open.
void drawGroundAcross(QPainter& painter, const MapView& view, const GroundLine& ground,
                      const DrawingPalette& palette = DrawingPalette::screen());

/// The words of the corner text, in the caller's language.
struct SectionCornerWords {
  std::string design = "Design";
  std::string ground = "Ground";
  std::string cut = "Cut";
  std::string fill = "Fill";
  std::string left = "Left";
  std::string right = "Right";
  /// The side statuses' names by their number (see EarthworkSideStatus);
  /// empty: the core's own English names.
  std::vector<std::string> statuses;
};

/// The lines of the corner text: the station ("K0+120.000"), the design
/// elevation at the centre and the ground's there ("-" without ground),
/// each "%.3f".
std::vector<std::string> sectionCornerLines(double station, double design,
                                            std::optional<double> ground,
                                            const SectionCornerWords& words = {});

/// The corner text in the window's top-right corner, white on a dark box.
void drawSectionCorner(QPainter& painter, const MapView& view,
                       const std::vector<std::string>& lines,
                       const DrawingPalette& palette = DrawingPalette::screen());

/// What the map shows at a station: the design section, the ground across
/// and the corner text.
struct StationSectionPicture {
  std::vector<SectionSegment> segments;
  RecordList<Road_Section_Item> left;  ///< the labels of the surfaces (stationComponents)
  RecordList<Road_Section_Item> right;
  GroundLine ground;
  std::vector<std::string> corner;
  /// The earthwork, when the section meets the ground: the designed line
  /// from catch point to catch point (formation and the slopes that apply)
  /// and the catch points; empty without.
  std::vector<ShadePoint> earthworkLine;
  std::vector<ShadePoint> catchPoints;
};

/// The cut (orange) and fill (blue) between the designed line and each
/// piece of the ground, translucent; nothing without an earthwork line.
void drawEarthworkShading(QPainter& painter, const MapView& view,
                          const StationSectionPicture& picture,
                          const DrawingPalette& palette = DrawingPalette::screen());
/// The designed line in yellow and the catch points as white rings.
void drawEarthworkLine(QPainter& painter, const MapView& view, const StationSectionPicture& picture,
                       const DrawingPalette& palette = DrawingPalette::screen());

/// Draws the grid (its labels off `keepClear`), the earthwork's shading, the
/// ground, the design section, the designed line with its catch points and
/// the corner text.
void drawStationSection(QPainter& painter, const MapView& view,
                        const StationSectionPicture& picture,
                        const DrawingPalette& palette = DrawingPalette::screen(),
                        const QRect* keepClear = nullptr);

/// Renders the section offscreen as the map shows it at full extent. False
/// below 5 by 5 pixels or without segments.
bool renderSectionImage(const RecordList<Road_Section_Item>& left,
                        const RecordList<Road_Section_Item>& right, QSize size, QImage& image,
                        MapView* viewOut = nullptr);

}  // namespace trazmark
