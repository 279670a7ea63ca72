#include "shell/SurveyCheckCommand.h"

#include "editors/AlignmentLoader.h"
#include "maps/SurveyCheckReport.h"
#include "platform/NumberField.h"
#include "platform/TextFile.h"
#include "platform/qt/UserDialogs.h"
#include "shell/CsvExport.h"

namespace trazmark {
namespace {

constexpr SurveyedPointFormat kFormats[] = {SurveyedPointFormat::kNameXYZ, SurveyedPointFormat::kNameCodeENZ};
constexpr int kFormatCount = 2;
/// A tolerance above this is a typing error (a kilometre for a millimetre).
constexpr double kLargestTolerance = 100;

}  // namespace

const std::string& CSurveyCheckCommand::fileFilter() {
  static const std::string filter =
      "Points name,x,y,z (*.csv;*.txt)|*.csv;*.txt;*.dat|"
      "Points name,code,e,n,z (*.csv;*.txt)|*.csv;*.txt;*.dat|"
      "All files (*.*)|*|";
  return filter;
}

SurveyedPointFormat CSurveyCheckCommand::formatOfFilter(int filter) {
  return filter >= 0 && filter < kFormatCount ? kFormats[filter] : kFormats[0];
}

std::string CSurveyCheckCommand::readTolerances(const std::string& vertical, const std::string& horizontal,
                                                CheckTolerances& tolerances) {
  double v = 0, h = 0;
  if (!parseNumberField(vertical, v) || !parseNumberField(horizontal, h)) return "IDS_WARN_check_tolerance_number";
  if (!(v > 0) || !(h > 0) || v > kLargestTolerance || h > kLargestTolerance)
    return "IDS_WARN_check_tolerance_range";
  tolerances.vertical = v;
  tolerances.horizontal = h;
  return {};
}

std::shared_ptr<SurveyCheckInputs> CSurveyCheckCommand::prepare(const RoadDataSet& road, const std::string& roadName,
                                                                bool roadModified,
                                                                std::shared_ptr<const CRoadGround> ground,
                                                                double pavementDepth,
                                                                const CheckTolerances& tolerances,
                                                                const std::string& startFolder,
                                                                const std::string& presetPath) {
  auto inputs = std::make_shared<SurveyCheckInputs>();
  inputs->road = road;
  inputs->roadName = roadName.empty() ? std::string("road") : roadName;
  std::string error;
  if (!loadRoadAlignment(inputs->road, inputs->roadName, inputs->design, error)) {
    dialogs_.warningDetail("IDS_WARN_check_needs_road", error);
    return nullptr;
  }
  // The figures describe the design as the window shows it: a road with
  // edits not saved is checked only when the user says so.
  if (roadModified && !dialogs_.questionOkCancel("IDS_WARN_check_unsaved_road")) return nullptr;
  UserDialogs::FileRequest request;
  request.filter = fileFilter();
  request.startFolder = startFolder;
  request.selectedFilter = lastFilter_;
  int filter = lastFilter_;
  const std::string path = presetPath.empty() ? dialogs_.openFileNameAndFilter(request, filter) : presetPath;
  if (path.empty()) return nullptr;
  lastFilter_ = filter >= 0 && filter < kFormatCount ? filter : 0;
  std::string text;
  if (!readTextFileAsAnsi(path, text)) {
    dialogs_.warningDetail("IDS_WARN_check_points_refused", path + ": cannot be read");
    return nullptr;
  }
  if (!readSurveyedPoints(text, formatOfFilter(filter), inputs->points, error)) {
    dialogs_.warningDetail("IDS_WARN_check_points_refused", path + ": " + error);
    return nullptr;
  }
  inputs->pointsPath = path;
  inputs->ground = std::move(ground);
  inputs->pavementDepth = pavementDepth;
  inputs->tolerances = tolerances;
  return inputs;
}

CBackgroundJob<SurveyCheckResult>::Work CSurveyCheckCommand::work(std::shared_ptr<const SurveyCheckInputs> inputs) {
  return [inputs](SurveyCheckResult& result, std::string& error,
                  const CBackgroundJob<SurveyCheckResult>::Progress& progress) {
    CSurveyCheck check;
    if (!check.prepare(inputs->road, inputs->design, inputs->ground, inputs->pavementDepth, error)) return false;
    if (!progress(0)) return false;
    if (!checkSurveyedPoints(check, inputs->points, inputs->tolerances, result.rows, progress)) {
      error = "cancelled";
      return false;
    }
    result.summary = summarizeCheck(result.rows);
    result.inputs = inputs;
    return true;
  };
}

std::shared_ptr<const std::vector<CheckedPoint>> CSurveyCheckList::rows() const {
  if (!result_) return nullptr;
  // Shares the result's ownership: the rows live as long as either holds them.
  return std::shared_ptr<const std::vector<CheckedPoint>>(result_, &result_->rows);
}

int CSurveyCheckList::rowCount() const { return result_ ? static_cast<int>(result_->rows.size()) : 0; }

void CSurveyCheckList::setResult(std::shared_ptr<const SurveyCheckResult> result) {
  result_ = std::move(result);
  order_ = result_ ? surveyCheckListOrder(result_->rows) : std::vector<std::size_t>();
}

const CheckedPoint* CSurveyCheckList::rowAt(int row) const {
  if (row < 0 || row >= rowCount()) return nullptr;
  return &result_->rows[order_[static_cast<std::size_t>(row)]];
}

std::string CSurveyCheckList::cellText(int row, int column) const {
  const CheckedPoint* point = rowAt(row);
  return point ? surveyCheckCell(*point, column) : std::string();
}

std::string CSurveyCheckList::summaryText() const {
  if (!result_) return {};
  std::string text;
  for (const std::string& line : surveyCheckSummaryLines(result_->summary)) {
    if (!text.empty()) text += "    ";
    text += line;
  }
  return text;
}

std::string CSurveyCheckList::suggestedName(const char* extension) const {
  return (result_ && result_->inputs ? result_->inputs->roadName : std::string("road")) + "_check." + extension;
}

bool CSurveyCheckList::exportCsv(UserDialogs& dialogs, const std::string& startFolder) const {
  if (rowCount() == 0) {
    dialogs.warning("IDS_WARN_check_none");
    return false;
  }
  return saveCsvAs(dialogs, startFolder, suggestedName("csv"), checkReportText(result_->rows, result_->summary, true),
                   "IDS_WARN_check_export_failed");
}

std::string CSurveyCheckList::askPdfPath(UserDialogs& dialogs, const std::string& startFolder) const {
  if (rowCount() == 0) {
    dialogs.warning("IDS_WARN_check_none");
    return {};
  }
  UserDialogs::FileRequest request;
  request.filter = "PDF(*.pdf)|*.pdf|";
  request.defaultExtension = "pdf";
  request.startFolder = startFolder;
  request.suggestedName = suggestedName("pdf");
  return dialogs.saveFileName(request);
}

CBackgroundJob<std::string>::Work CSurveyCheckList::pdfWork(std::shared_ptr<const SurveyCheckResult> result,
                                                            std::string path) {
  return [result, path = std::move(path)](std::string& written, std::string& error,
                                          const CBackgroundJob<std::string>::Progress& progress) {
    if (!result || !result->inputs) return false;
    if (!writeSurveyCheckReport(path, result->inputs->design, result->rows, result->summary,
                                result->inputs->tolerances, result->inputs->roadName, error, progress))
      return false;
    written = path;
    return true;
  };
}

}  // namespace trazmark
