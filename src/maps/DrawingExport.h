#pragma once
// Drawings of a map for reports: the map's own drawing code painted onto a
// sheet with a title block (road name, scale, date) and written as a PNG
// picture, an SVG or a PDF. The sheet's pixel is a 96 dpi pixel, so the scale
// in the title block holds on paper; the map is drawn at full extent at the
// next standard scale (1, 2, 2.5 or 5 times a power of ten).

#include <QSize>
#include <functional>
#include <optional>
#include <string>

#include "maps/DrawingPalette.h"
#include "maps/MapDecorations.h"
#include "maps/MapView.h"
#include "maps/ProfileDrawing.h"
#include "maps/SectionDrawing.h"
#include "records/RoadRecords.h"

class QPainter;

namespace trazmark {

class CRoadDesign;

enum class DrawingFormat { Png, Svg, Pdf, Dxf };

/// The format a file name asks for by its extension (any case); none for an
/// extension no drawing is written as.
std::optional<DrawingFormat> drawingFormatFor(const std::string& path);

/// Metres on paper per sheet pixel (a 96 dpi pixel).
constexpr double kSheetPixelMetres = 0.0254 / 96;
/// Height in pixels of the title block along the sheet's bottom edge.
constexpr int kTitleBlockHeight = 28;

/// The smallest standard scale denominator (1, 2, 2.5 or 5 times a power of
/// ten) at or above `denominator`; 0 for a value that is not positive and finite.
double standardScale(double denominator);

/// What the title block says. Texts in the ANSI code page.
struct TitleBlock {
  std::string roadName;
  std::string date;  ///< "2026-12-08"; today when empty
  std::string roadLabel = "Road";
  std::string scaleLabel = "Scale";
  std::string dateLabel = "Date";
  /// A profile is drawn with its mileage shrunk: the horizontal scale is this
  /// many times the vertical one, and both are given.
  double horizontalFactor = 1;
  std::string horizontalLabel = "H";
  std::string verticalLabel = "V";
};

/// One drawing: its extent in the map's world and the map's painting of it,
/// in the sheet's palette: white paper unless the screen's colours are asked for.
struct DrawingSheet {
  QSize size{1200, 900};
  WorldBox extent;
  std::function<void(QPainter&, const MapView&, const DrawingPalette&)> content;
  TitleBlock title;
  DrawingPalette palette = DrawingPalette::paper();
  /// Only a plan has a north: a profile's or a section's sheet goes without.
  bool northArrow = true;
};

/// The scale bar of a sheet: the round length of roundScaleBar at least 80
/// pixels long ("50 m", "0.5 m"). A profile's bar runs along its shrunk
/// stations: with a `horizontalFactor` its metres are that many times the
/// view's. A length of 0 for a scale that is not positive.
using SheetScaleBar = ScaleBar;
SheetScaleBar sheetScaleBar(const MapView& view, double horizontalFactor = 1);

/// The scale text of the title block for a view: "1:1000", or for a profile
/// "H 1:20000  V 1:1000".
std::string titleScaleText(const TitleBlock& title, const MapView& view);

/// The view of the sheet's map area (above the title block): the extent
/// centred at the standard scale that fits it as full extent would. None for
/// a sheet too small to hold a map area, or an inverted extent.
std::optional<MapView> sheetView(const DrawingSheet& sheet);

/// Paints the whole sheet onto `painter` (a surface of the sheet's size): the
/// map background of the palette, the content, north arrow, scale bar and
/// title block.
void paintSheet(QPainter& painter, const DrawingSheet& sheet, const MapView& view);

/// Writes the sheet as PNG, SVG or PDF, by `path`'s extension. The file is
/// encoded whole first and then replaces `path` through a temporary file, so
/// a failure leaves an earlier file of that name as it was. False with a
/// one-line `error` (an extension that is not a picture, a sheet that cannot
/// be drawn, a file that cannot be written). DXF is not a picture: see
/// `cad/PlanDxf.h`.
bool writeDrawing(const DrawingSheet& sheet, const std::string& path, std::string& error,
                  MapView* viewOut = nullptr);

/// The sheets of the three maps, drawn by the maps' own code. Each refers to
/// its data (it must not outlive it); none when there is nothing to draw.
/// The plan: centre line and key points.
std::optional<DrawingSheet> planSheet(const CRoadDesign& design, QSize size,
                                      const TitleBlock& title);
/// The profile of set-up grade points: grade line and (when `labels`) the
/// grade points' labels; the title block gives both scales. With `ground`
/// (it must outlive the sheet), the ground line under it as the map draws it,
/// with the fill/cut heights when `heightLabels`, the extent covering both.
std::optional<DrawingSheet> profileSheet(const RecordList<CVerticalCurveCal>& gradePoints,
                                         QSize size, const TitleBlock& title, bool labels = true,
                                         const std::vector<GroundSample>* ground = nullptr,
                                         bool heightLabels = true);
/// The standard cross section: grid, components and their labels.
std::optional<DrawingSheet> sectionSheet(const RecordList<Road_Section_Item>& left,
                                         const RecordList<Road_Section_Item>& right, QSize size,
                                         const TitleBlock& title);
/// The section at a station over the ground, as the map shows it.
std::optional<DrawingSheet> stationSectionSheet(StationSectionPicture picture, QSize size,
                                                const TitleBlock& title);

}  // namespace trazmark
