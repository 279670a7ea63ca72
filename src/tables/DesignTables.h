#pragma once
// The design tables a road is handed over with: curve elements, stake
// coordinates, grades and vertical curves, subgrade design, superelevation and
// widening. Each table is computed here as rows of numbers (one row type per
// table) and then formatted into a `DesignTable`, a generic grid of cells the
// window shows as a list model and the outputs (CSV here, PDF in the maps)
// write. Column titles are language keys: the Qt side and the command-line
// tool look up their texts.
//
// Stations. Figures in the rows are displayed stations (after the broken
// chains), metres. A cell shows a station as "K1+234.567" and keeps the plain
// number ("1234.5670") for CSV, so a spreadsheet can compute with it.
//
// Decimals follow the road file: the alignment's figures (coordinates,
// lengths, radii, horizontal stations) four, the grade line's and the cross
// section's three.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "records/RoadRecords.h"

namespace trazmark {

class CRoadGround;

/// Decimals of the road file: alignment figures, grade line and cross section.
constexpr int kAlignmentDecimals = 4;
constexpr int kVerticalDecimals = 3;
constexpr int kSectionDecimals = 3;

// ---------------------------------------------------------------------------
// The generic table

/// One column. Its title is the text of `headerKey` in the interface
/// language, followed by `detail` (a component's name, "L"/"R") when not empty.
struct TableColumn {
  std::string headerKey;
  std::string detail;  ///< literal text appended after the key's text (UTF-8)
};

/// One formatted cell.
struct TableCell {
  std::string text;   ///< as shown: "K1+234.567", "12°34′56.0″", "123.4560"
  std::string plain;  ///< as written to CSV when it differs from text ("1234.5670")
  /// `text` is a language key (an element's kind, a vertical curve's kind):
  /// shown and written as the key's text.
  bool textIsKey = false;
  /// The CSV form: `plain` when set, else `text`.
  const std::string& csv() const { return plain.empty() ? text : plain; }
};

/// A formatted table: what the window's model and every output read.
struct DesignTable {
  std::string titleKey;  ///< language key of the table's title
  std::vector<TableColumn> columns;
  std::vector<std::vector<TableCell>> rows;  ///< each row as many cells as columns
};

/// Language keys of the tables' titles (see lang/Language*.xml).
inline constexpr const char* kCurveElementsTitleKey = "IDS_TABLE_curve_elements";
inline constexpr const char* kElementsTitleKey = "IDS_TABLE_elements";
inline constexpr const char* kStakeCoordinatesTitleKey = "IDS_TABLE_stake_coordinates";
inline constexpr const char* kGradesTitleKey = "IDS_TABLE_grades";
inline constexpr const char* kSubgradeTitleKey = "IDS_TABLE_subgrade";
inline constexpr const char* kSuperelevationTitleKey = "IDS_TABLE_superelevation";

/// "K1+234.567": the displayed station, kilometres and metres, `decimals`
/// after the point ("-K0+012.000" before zero). "" for NaN.
std::string formatChainStation(double displayedStation, int decimals = 3);
/// A station cell: the K form shown, the plain number (`decimals`) for CSV.
TableCell stationCell(double displayedStation, int decimals = kAlignmentDecimals);
/// A number cell with `decimals` after the point; an empty cell for nullopt.
TableCell numberCell(std::optional<double> value, int decimals);
/// An angle cell: radians shown as d°m′s.s″ (UTF-8), CSV as decimal degrees.
TableCell angleCell(double radians);

/// Looks up a language key's text (UTF-8); the caller's language files.
using TableTextLookup = std::function<std::string(const std::string& key)>;

/// The table as CSV: UTF-8 with a byte-order mark, one header row of the
/// columns' texts, then each row's `csv()` cells; CR LF lines, cells with a
/// comma, quote or line break quoted.
std::string tableCsv(const DesignTable& table, const TableTextLookup& text);
/// Writes tableCsv to `path` (atomically). False with a one-line `error`.
bool writeTableCsv(const std::string& path, const DesignTable& table, const TableTextLookup& text,
                   std::string& error);

// ---------------------------------------------------------------------------
// Curve elements: a road of intersection points, one row per point

/// One intersection point, or the road's start or end (first and last rows,
/// which carry only name, X, Y, station, and the distance and azimuth ahead).
struct CurvePointRow {
  std::string name;  ///< "QD", "JD1", "JD2", ..., "ZD"
  double x = 0;      ///< north, metres
  double y = 0;      ///< east, metres
  double station = 0;  ///< displayed station of the point (ZH + T1 for a curve)
  /// The turn at the point: -1 left, +1 right, 0 none (the ends, a point on
  /// a straight line).
  int turn = 0;
  double deflection = 0;  ///< radians, > 0; may exceed π (a hairpin)
  double radius = 0;      ///< 0: two straights meet without a curve
  double spiralIn = 0;    ///< Ls1, metres
  double spiralOut = 0;   ///< Ls2, metres
  double tangentIn = 0;   ///< T1: point to the curve's start, metres
  double tangentOut = 0;  ///< T2: point to the curve's end, metres
  double curveLength = 0;  ///< L: spirals and arc, metres
  double external = 0;     ///< E: point to the arc's mid-point, metres
  double correction = 0;   ///< J = T1 + T2 − L, metres
  /// Displayed stations of the main points: ZH, HY, QZ, YH, HZ (a curve
  /// without spirals: ZY = ZH = HY, QZ, YZ = YH = HZ). Empty without a curve.
  std::optional<double> zh, hy, qz, yh, hz;
  bool hasSpirals = false;  ///< names the main points ZH.. or ZY..
  double distanceToNext = 0;  ///< to the next point (0 on the last row), metres
  double azimuthAhead = 0;    ///< of the straight to the next point, radians
  /// The straight between this curve's end (or the start) and the next
  /// curve's start (or the end): none on the last row.
  std::optional<double> straightToNext;
};

/// The rows of an intersection-point road. `points` are the road's points in
/// order (start and end included), `design` the alignment computed from them
/// with the road's broken chains. False with a one-line `error` when the
/// points do not form a computed curve chain.
bool curvePointRows(const RecordList<Road_CrossPoint>& points, const CRoadDesign& design,
                    std::vector<CurvePointRow>& rows, std::string& error);
DesignTable curvePointTable(const std::vector<CurvePointRow>& rows);

/// One element of a road of elements or line elements (or a curve file).
struct ElementRow {
  int kind = 0;  ///< 2 line, 3 arc, 4 spiral (CRoadElement's kinds)
  double startStation = 0;  ///< displayed
  double endStation = 0;
  double length = 0;
  /// Signed radius at the start and end (positive right); nullopt = infinite.
  std::optional<double> startRadius, endRadius;
  double startAzimuth = 0;  ///< radians
  double endAzimuth = 0;
  double startX = 0;
  double startY = 0;
};

/// The element rows of a computed alignment (start points inside the chain
/// left out).
std::vector<ElementRow> elementRows(const CRoadDesign& design);
DesignTable elementTable(const std::vector<ElementRow>& rows);

// ---------------------------------------------------------------------------
// Stake coordinates

struct StakeRow {
  std::string name;  ///< key-point name ("ZH-01") or running number
  double station = 0;  ///< displayed
  double x = 0;
  double y = 0;
  double azimuth = 0;  ///< radians
  std::optional<double> elevation;  ///< design elevation (road with grade points)
};

/// The stake list (every key point and a stake every `interval` metres on
/// whole stations), with the grade line's elevation when `gradePoints` is
/// given and not empty. False with a one-line `error`.
bool stakeRows(const CRoadDesign& design, const RecordList<CVerticalCurveCal>* gradePoints,
               double interval, std::vector<StakeRow>& rows, std::string& error);
/// `withElevation` adds the elevation column.
DesignTable stakeTable(const std::vector<StakeRow>& rows, bool withElevation);

// ---------------------------------------------------------------------------
// Grades and vertical curves: one row per grade point

struct GradePointRow {
  int number = 0;  ///< 1, 2, ...
  double station = 0;  ///< displayed
  double elevation = 0;
  /// -1 no curve (the ends, a radius of 0), else CalMode: 0 circular,
  /// 1 symmetric parabola, 2 asymmetric parabola.
  int curveKind = -1;
  bool crest = false;  ///< convex
  double radius = 0;
  double lengthIn = 0;   ///< T1 (the parabola's first length), metres
  double lengthOut = 0;  ///< T2
  double external = 0;   ///< E, metres
  double gradeIn = 0;    ///< percent
  double gradeOut = 0;   ///< percent
  std::optional<double> bvcStation, bvcElevation, evcStation, evcElevation;
  /// The grade ahead, to the next point: its length (metres) and grade
  /// (percent, = gradeOut); none on the last row.
  std::optional<double> gradeLength;
};

/// False with a one-line `error` when the grade points cannot be placed or
/// set up.
bool gradePointRows(const RecordList<CVerticalCurveCal>& gradePoints, const CRoadDesign& design,
                    std::vector<GradePointRow>& rows, std::string& error);
DesignTable gradePointTable(const std::vector<GradePointRow>& rows);

// ---------------------------------------------------------------------------
// Subgrade design: one row per stake

/// One component of a side at a stake.
struct ComponentEdge {
  std::string name;  ///< the component's name (ANSI code page as stored)
  double width = 0;  ///< widening applied, metres
  double edgeElevation = 0;  ///< of its outer edge, superelevation applied
};

struct SubgradeRow {
  double station = 0;  ///< displayed
  std::optional<double> ground;  ///< ground at the centre; none without ground
  double design = 0;             ///< design elevation at the centre
  std::optional<double> fill;    ///< design − ground when above
  std::optional<double> cut;     ///< ground − design when below
  std::vector<ComponentEdge> left, right;  ///< from the centre outward
  /// Offset of each side's catch point (metres, left negative) when the
  /// earthwork meets the ground there.
  std::optional<double> catchLeft, catchRight;
};

/// Per stake of the stake list at `interval`. `ground` may be null (ground
/// cells stay blank, no catch points); with ground, each side's side slope is
/// run out to its catch point as the earthwork does, the formation
/// `pavementDepth` metres below the paved components. False with a one-line
/// `error` when the road has no grade points or a section cannot be computed.
bool subgradeRows(const RoadDataSet& road, const CRoadDesign& design, const CRoadGround* ground,
                  double interval, std::vector<SubgradeRow>& rows, std::string& error,
                  double pavementDepth = 0);
/// Columns per component of the widest side seen in `rows`.
DesignTable subgradeTable(const std::vector<SubgradeRow>& rows);

// ---------------------------------------------------------------------------
// Superelevation and widening

struct ComponentState {
  std::string name;
  double slope = 0;  ///< cross slope, percent, as the section uses it
  double width = 0;  ///< metres, widening applied
};

struct SuperelevationRow {
  double station = 0;  ///< displayed
  bool changePoint = false;  ///< a change point of superelevation or widening
  std::vector<ComponentState> left, right;
};

/// Rows at every stake of the stake list at `interval` where a component's
/// slope or width differs from the standard section, and at every change
/// point. False with a one-line `error`.
bool superelevationRows(const RoadDataSet& road, const CRoadDesign& design, double interval,
                        std::vector<SuperelevationRow>& rows, std::string& error);
DesignTable superelevationTable(const std::vector<SuperelevationRow>& rows);

}  // namespace trazmark
