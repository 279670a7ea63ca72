#pragma once
// Cross-section sheets: the road's sections at stations drawn several to a
// page, each on its own grid with the ground (dashed), the designed line
// catch point to catch point, the catch points, and beside it the station,
// the design and ground elevations at the centre and the cut and fill areas;
// a title block per page (road, scale, page n of m).
//
// The layout is plain arithmetic (how many sections a page holds, at which
// scale, how many pages) so that it is tested without painting. Every
// section of a set is drawn at one scale, so that sheets compare by eye.
//
// Coordinates of a section: the offset from the centre line (metres, right
// positive) across, the elevation (metres) up.

#include <QSize>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "maps/MapView.h"

class QPainter;

namespace trazmark {

/// A point of a section drawing: offset (m, right positive) and elevation (m).
struct SheetPoint {
  double offset = 0;
  double elevation = 0;
};

/// One section as a sheet shows it.
struct SheetSection {
  double station = 0;              ///< displayed station
  std::vector<SheetPoint> design;  ///< catch point to catch point, left to right
  /// The ground's pieces, left to right, gaps between.
  std::vector<std::vector<SheetPoint>> ground;
  std::vector<SheetPoint> catchPoints;  ///< where the slopes meet the ground
  double designCentre = 0;              ///< design elevation at the centre (m)
  std::optional<double> groundCentre;   ///< the ground's there, none without ground
  std::optional<double> cutArea;        ///< m²; none when the area is not known
  std::optional<double> fillArea;
  std::vector<std::string> notes;  ///< e.g. a side that does not meet the ground
};

/// The ground is drawn this far beyond the designed line's ends, at least
/// (metres), or a fifth of the line's width when that is more.
constexpr double kSheetGroundBeyond = 5;

/// The box a section is drawn in (WorldBox: X the elevation, Y the offset,
/// as the section maps): the designed line, kSheetGroundBeyond (or a fifth
/// of its width) further each way, and the ground inside that; the ground
/// alone when there is no designed line. None when both are empty. The
/// ground across is read wide, and all of it would shrink the scale.
std::optional<WorldBox> sheetSectionExtent(const SheetSection& section);

/// A3 landscape (420 × 297 mm) in 96 dpi sheet pixels.
const QSize kA3LandscapePixels(1587, 1123);

/// Where each section goes and at which scale.
struct SectionSheetLayout {
  QSize page;         ///< the page in 96 dpi pixels
  int columns = 1;    ///< sections across a page
  int rows = 1;       ///< sections down a page
  int pageCount = 0;  ///< 0 without sections
  double scale = 0;   ///< the common scale's denominator (1:scale), a standard scale
  /// Sections a page holds.
  int perPage() const { return columns * rows; }
  /// The page (0-based) and the cell on it (row-major) of section `index`.
  int pageOf(int index) const { return perPage() > 0 ? index / perPage() : 0; }
  /// The rectangle of cell `cell` on a page: x, y, width, height in pixels.
  struct Cell {
    int x = 0, y = 0, width = 0, height = 0;
  };
  Cell cell(int cellIndex) const;
};

/// Page margin, title block and the text band under each section (pixels).
constexpr int kSheetMargin = 24;
constexpr int kSheetTitleHeight = 36;
constexpr int kSheetTextBand = 58;
/// A cell's drawing is never smaller than this many pixels each way, and no
/// finer than 1:kSheetMinScale (a narrow lane is not drawn at 1:20).
constexpr int kSheetMinDrawing = 120;
constexpr double kSheetMinScale = 100;

/// The layout of `count` sections whose boxes are `extents` (X elevation, Y
/// offset, metres) on pages of `page`: `columns` across (at least 1), the
/// scale the smallest standard scale at which the widest and tallest section
/// fits a cell's drawing, and then as many rows as the tallest section leaves
/// room for (at least 1, at most `maxRows`). None for a page too small to
/// hold one cell.
std::optional<SectionSheetLayout> layoutSectionSheets(const std::vector<WorldBox>& extents,
                                                      QSize page, int columns = 2, int maxRows = 4);

/// Grid spacing (metres) for a scale: the smallest of 1, 2, 5 × 10^n that
/// puts grid lines at least `minPixels` apart.
double sheetGridStep(double scaleDenominator, double minPixels = 36);

/// The words of the sheets, in the caller's language.
struct SheetWords {
  std::string road = "Road";
  std::string scale = "Scale";
  std::string page = "Page";
  std::string of = "of";
  std::string design = "Design";
  std::string ground = "Ground";
  std::string cut = "Cut";
  std::string fill = "Fill";
};

/// The text lines written under a section: station; design and ground
/// elevations at the centre ("%.3f", "-" without ground); cut and fill areas
/// ("%.2f m²", "-" when not known); then the notes.
std::vector<std::string> sheetSectionLines(const SheetSection& section,
                                           const SheetWords& words = {});

/// The title block's text: "Road: NAME   Scale 1:200   Page 2 of 9".
std::string sheetTitleText(const std::string& roadName, const SectionSheetLayout& layout, int page,
                           const SheetWords& words = {});

/// Paints page `page` (0-based) of the sheets: a white page, each section
/// of the page in its cell, and the title block.
void paintSectionSheetPage(QPainter& painter, const SectionSheetLayout& layout,
                           const std::vector<SheetSection>& sections, int page,
                           const std::string& roadName, const SheetWords& words = {});

/// Progress of a long drawing: called with the share done (0 to 1); false
/// asks it to stop.
using SheetProgress = std::function<bool(double)>;

/// Writes the sheets by `path`'s extension: PDF one page each; SVG and PNG
/// one file a page, the page number before the extension
/// ("sections-001.svg"), or `path` itself when there is one page. Each file
/// is written whole through a temporary file. False with a one-line `error`
/// (nothing to draw, a file that cannot be written, cancelled).
bool writeSectionSheets(const std::vector<SheetSection>& sections, const std::string& path,
                        const std::string& roadName, std::string& error,
                        const SheetWords& words = {}, const SheetProgress& progress = {},
                        std::vector<std::string>* written = nullptr);

/// The file of page `page` (0-based) of `pageCount` for SVG and PNG sheets.
std::string sheetPagePath(const std::string& path, int page, int pageCount);

}  // namespace trazmark
