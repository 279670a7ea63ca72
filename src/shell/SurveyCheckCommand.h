#pragma once
// File → Check survey points… without a window: the tolerances typed in the
// check's pane, the points file chosen through the dialog seam (its format
// by the filter it was chosen under), read whole and refused with the line
// that is wrong; the work the frame's worker thread runs over a copy of the
// road; and the list of the checked points with its summary and exports
// (CSV, the PDF report) through the dialog seam.

#include <memory>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "asbuilt/SurveyCheck.h"
#include "records/RoadRecords.h"
#include "shell/BackgroundJob.h"
#include "terrain/RoadGround.h"

namespace trazmark {

class UserDialogs;

/// Everything one check is computed from: the worker owns it.
struct SurveyCheckInputs {
  RoadDataSet road;
  std::string roadName;
  CRoadDesign design;
  std::shared_ptr<const CRoadGround> ground;
  double pavementDepth = 0;
  std::vector<SurveyedPoint> points;
  std::string pointsPath;
  CheckTolerances tolerances;
};

/// A finished check.
struct SurveyCheckResult {
  std::shared_ptr<const SurveyCheckInputs> inputs;
  std::vector<CheckedPoint> rows;
  CheckSummary summary;
};

class CSurveyCheckCommand {
 public:
  explicit CSurveyCheckCommand(UserDialogs& dialogs) : dialogs_(dialogs) {}

  /// The filters of the points dialog: each point format, then every file
  /// (read as "name,x,y,z").
  static const std::string& fileFilter();
  static SurveyedPointFormat formatOfFilter(int filter);

  /// The tolerances typed in the pane (metres). Returns "" and fills
  /// `tolerances`, or the key of why not: not a number, not above 0.
  static std::string readTolerances(const std::string& vertical, const std::string& horizontal,
                                    CheckTolerances& tolerances);

  /// File → Check survey points…: asks for the points file (starting in
  /// `startFolder`, the filter of the last check offered first), reads it
  /// whole and computes the road's alignment. A road with edits not saved is
  /// checked as the window shows it, after the user agrees; a file refused
  /// is shown with its line ("line 7: ..."). Returns the inputs of the work;
  /// null when cancelled or refused (the user is told why). `presetPath`
  /// given: that file in the last format, without the dialog.
  std::shared_ptr<SurveyCheckInputs> prepare(const RoadDataSet& road, const std::string& roadName,
                                             bool roadModified, std::shared_ptr<const CRoadGround> ground,
                                             double pavementDepth, const CheckTolerances& tolerances,
                                             const std::string& startFolder, const std::string& presetPath = {});

  /// The worker's work: the road prepared once, then every point, with
  /// progress and cancel.
  static CBackgroundJob<SurveyCheckResult>::Work work(std::shared_ptr<const SurveyCheckInputs> inputs);

 private:
  UserDialogs& dialogs_;
  int lastFilter_ = 0;
};

/// The list of a finished check: its rows as the list shows them, the
/// summary line, and the exports.
class CSurveyCheckList {
 public:
  /// The list shows the points on the road first, then those off it.
  void setResult(std::shared_ptr<const SurveyCheckResult> result);
  const std::shared_ptr<const SurveyCheckResult>& result() const { return result_; }
  /// The rows shared with the plan's layer (null without a result).
  std::shared_ptr<const std::vector<CheckedPoint>> rows() const;
  int rowCount() const;
  std::string cellText(int row, int column) const;
  /// The checked point a row of the list shows.
  const CheckedPoint* rowAt(int row) const;
  /// "Points checked 120: within tolerance 112, ...  ΔZ ..." in one line.
  std::string summaryText() const;
  /// Asks for a file and writes the table and summary as CSV (as the
  /// command line writes it). True when written; a cancelled dialog writes
  /// nothing; a failure warns with the file. Without rows: warns
  /// IDS_WARN_check_none.
  bool exportCsv(UserDialogs& dialogs, const std::string& startFolder) const;
  /// The file of the PDF report, asked for through `dialogs` (empty when
  /// cancelled; without rows: warns IDS_WARN_check_none).
  std::string askPdfPath(UserDialogs& dialogs, const std::string& startFolder) const;
  /// The worker's writing of the report of `result` to `path`, with
  /// progress by pages and cancel; its value is the file written.
  static CBackgroundJob<std::string>::Work pdfWork(std::shared_ptr<const SurveyCheckResult> result,
                                                   std::string path);

 private:
  std::string suggestedName(const char* extension) const;
  std::shared_ptr<const SurveyCheckResult> result_;
  std::vector<std::size_t> order_;
};

}  // namespace trazmark
