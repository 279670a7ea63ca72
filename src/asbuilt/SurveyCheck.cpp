#include "asbuilt/SurveyCheck.h"

#include "terrain/RoadGround.h"

namespace trazmark {

// Placeholder bodies: the check is being written.

bool parseSurveyedPointFormat(const std::string&, SurveyedPointFormat&) { return false; }

bool readSurveyedPoints(std::string_view, SurveyedPointFormat, std::vector<SurveyedPoint>&,
                        std::string& error) {
  error = "not available";
  return false;
}

struct CSurveyCheck::Impl {};

CSurveyCheck::CSurveyCheck() : impl_(std::make_unique<Impl>()) {}
CSurveyCheck::~CSurveyCheck() = default;

bool CSurveyCheck::prepare(const RoadDataSet&, const CRoadDesign&, std::shared_ptr<const CRoadGround>,
                           double, std::string& error) {
  error = "not available";
  return false;
}

bool CSurveyCheck::hasGradeLine() const { return false; }

CheckedPoint CSurveyCheck::check(const SurveyedPoint& point, const CheckTolerances&) const {
  CheckedPoint row;
  row.point = point;
  return row;
}

bool checkSurveyedPoints(const CSurveyCheck&, const std::vector<SurveyedPoint>&, const CheckTolerances&,
                         std::vector<CheckedPoint>& rows, const std::function<bool(double)>&) {
  rows.clear();
  return true;
}

CheckSummary summarizeCheck(const std::vector<CheckedPoint>&) { return {}; }

const char* checkFlagName(CheckFlag) { return "INVALID"; }

std::string checkReportText(const std::vector<CheckedPoint>&, const CheckSummary&, bool) { return {}; }

}  // namespace trazmark
