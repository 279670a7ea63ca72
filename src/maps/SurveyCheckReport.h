#pragma once
// The as-built check on paper: A4 portrait pages drawn directly with
// QPainter. The first page holds the title (road, date, tolerances), the
// summary, a plan of the road with the points coloured by their flag and
// labelled with their ΔZ, and the first rows of the table; the pages after
// it hold the rest of the table, with the header row on every page and
// "page n of m" at the foot.
//
// Every row is listed: 100,000 points make about 1,600 pages, written page
// by page (the PDF writer streams each finished page to the file, so memory
// stays that of one page). A page is painted by the same code on a PDF or an
// image (one unit is a 96 dpi pixel: 794 by 1123 for the page).
//
// Texts come from the language file when the program has one loaded, else
// in English.

#include <QSize>
#include <functional>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "asbuilt/SurveyCheck.h"

class QPainter;

namespace trazmark {

/// The columns of the check's table, in the window's list and the report.
enum SurveyCheckColumn : int {
  kCheckName,
  kCheckStation,
  kCheckOffset,
  kCheckDesignZ,
  kCheckDz,
  kCheckEdge,
  kCheckDOffset,
  kCheckFlag,
  kCheckNote,
  kCheckColumnCount
};

/// The language key of a column's title.
const char* surveyCheckColumnKey(int column);
/// A column's title (from the language file, else in English).
std::string surveyCheckColumnTitle(int column);
/// A cell as the list and the report show it: stations "K1+234.567" (a long
/// chain's places "K1+234.567 (before)" and "(after)"; off the road
/// "outside" and the distance to the nearest end as the offset), metres to
/// the millimetre, differences signed, "-" where a figure is missing.
std::string surveyCheckCell(const CheckedPoint& row, int column);
/// The order the table lists the rows in: the points on the road in the
/// file's order, then those off the road or without a station (apart).
std::vector<std::size_t> surveyCheckListOrder(const std::vector<CheckedPoint>& rows);
/// The flag in the table's words.
std::string surveyCheckFlagText(CheckFlag flag);
/// The summary in lines: the counts, then ΔZ's and ΔO's mean, RMS and
/// largest (a line only when some point has the figure).
std::vector<std::string> surveyCheckSummaryLines(const CheckSummary& summary);
/// The tolerances in one line.
std::string surveyCheckTolerancesLine(const CheckTolerances& tolerances);

/// The report's pages, painted on demand. It refers to its data (it must not
/// outlive it).
class CSurveyCheckReport {
 public:
  CSurveyCheckReport(const CRoadDesign& design, const std::vector<CheckedPoint>& rows,
                     const CheckSummary& summary, const CheckTolerances& tolerances,
                     std::string roadName, std::string date = {});

  /// A page's size in 96 dpi pixels (A4 portrait).
  static QSize pageSize();
  /// Rows on the first page and on each page after it.
  static int firstPageRows();
  static int rowsPerPage();
  int pageCount() const;
  /// Paints page `page` (0 first) on `painter`, a surface of pageSize() (or
  /// one scaled to it).
  void paintPage(QPainter& painter, int page) const;

 private:
  void paintHeader(QPainter& painter) const;
  void paintPlan(QPainter& painter, double top, double height) const;
  void paintTable(QPainter& painter, double top, std::size_t first, std::size_t last) const;
  void paintFooter(QPainter& painter, int page) const;

  const CRoadDesign& design_;
  const std::vector<CheckedPoint>& rows_;
  const CheckSummary& summary_;
  const CheckTolerances& tolerances_;
  std::string roadName_;
  std::string date_;
  std::vector<std::size_t> order_;
};

/// Writes the report as a PDF, through a temporary file renamed over `path`
/// at the end. False with a one-line `error` when the file cannot be
/// written. Without any application object it runs an offscreen one of its
/// own while it writes (the command-line tool).
bool writeSurveyCheckReport(const std::string& path, const CRoadDesign& design,
                            const std::vector<CheckedPoint>& rows, const CheckSummary& summary,
                            const CheckTolerances& tolerances, const std::string& roadName,
                            std::string& error);
/// The same with progress: `progress` is told the share of pages written
/// and may stop the writing by returning false (false, the file left as it
/// was, `error` "cancelled").
bool writeSurveyCheckReport(const std::string& path, const CRoadDesign& design,
                            const std::vector<CheckedPoint>& rows, const CheckSummary& summary,
                            const CheckTolerances& tolerances, const std::string& roadName,
                            std::string& error, const std::function<bool(double)>& progress);

}  // namespace trazmark
