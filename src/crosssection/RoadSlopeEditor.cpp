#include "crosssection/RoadSlopeEditor.h"

#include "platform/FieldRange.h"
#include "platform/NumberField.h"
#include "platform/TextFields.h"

namespace trazmark {

using namespace field_limits;

SlopeEntryResult acceptSlopeEntry(const RecordList<Road_Slope>& slopes, int editedIndex,
                                  const SlopeEntryFields& fields) {
  SlopeEntryResult result;
  Road_Slope& s = result.slope;
  if (!parseNumberField(fields.startText, s.StartMileage) || !parseNumberField(fields.endText, s.EndMileage)) {
    result.messageKey = "IDS_WARN_enter_number";
    return result;
  }
  result.messageKey = firstOutOfRange({{s.StartMileage, {-kStation, kStation, "IDS_WARN_range_start_mileage"}},
                                       {s.EndMileage, {-kStation, kStation, "IDS_WARN_range_end_mileage"}}});
  if (!result.messageKey.empty()) return result;
  for (int i = 0; i < slopes.count(); ++i) {
    if (i != editedIndex && slopes[static_cast<std::size_t>(i)].SlopeName == fields.name) {
      result.messageKey = "IDS_WARN_name_has_exist";
      result.information = true;
      return result;
    }
  }
  s.LeftRight = fields.leftRight;
  s.Type = fields.type;
  s.SlopeName = fields.name;
  result.outcome = SlopeEntryResult::kAccepted;
  return result;
}

StepEntryResult acceptStepEntry(const std::string& slopeName, const StepEntryFields& fields) {
  StepEntryResult result;
  if (fields.name.empty()) return result;
  double first = 0, second = 0;
  if (!parseNumberField(fields.firstText, first) || !parseNumberField(fields.secondText, second)) {
    result.outcome = StepEntryResult::kRefused;
    result.messageKey = "IDS_WARN_enter_number";
    return result;
  }
  result.messageKey =
      fields.mode == kStepPlatform
          ? firstOutOfRange({{first, {0, kWidth, "IDS_WARN_range_step_width"}},
                             {second, {-kPercent, kPercent, "IDS_WARN_range_cross_slope"}}})
          : firstOutOfRange({{first, {0, kWidth, "IDS_WARN_range_step_height"}},
                             {second, {0, kPercent, "IDS_WARN_range_step_ratio"}}});
  if (!result.messageKey.empty()) {
    result.outcome = StepEntryResult::kRefused;
    return result;
  }
  Road_Slope_Item& step = result.step;
  step.SlopeName = slopeName;
  step.ItemName = fields.name;
  step.Mode = fields.mode == kStepPlatform ? kStepPlatform : kStepSlopeSurface;
  (step.Mode == kStepPlatform ? step.Width : step.SlopeH) = first;
  step.SlopeScale = second;
  result.outcome = StepEntryResult::kAccepted;
  return result;
}

StepEntryFields stepEntryFields(const Road_Slope_Item& step) {
  StepEntryFields f;
  f.mode = step.Mode == kStepPlatform ? kStepPlatform : kStepSlopeSurface;
  f.name = step.ItemName;
  f.firstText = formatFixed(f.mode == kStepPlatform ? step.Width : step.SlopeH, 3);
  f.secondText = formatFixed(step.SlopeScale, 3);
  return f;
}

void CRoadSlopeEditor::load(const RoadDataSet& road) {
  slopes_ = road.slopes;
  stepCopy_.clear();
  chosen_ = -1;
  page_ = kSlopePage;
  modified_ = false;
  stepEdits_ = false;
}

void CRoadSlopeEditor::save(RoadDataSet& road) {
  road.slopes = slopes_;
  pageMessage(kSlopeSetModified, 0);
}

void CRoadSlopeEditor::commit(RoadDataSet& road) {
  returnEditedSteps();
  save(road);
}

void CRoadSlopeEditor::returnEditedSteps() {
  if (!stepEdits_) return;
  stepEdits_ = false;
  // Only the chosen slope's steps come back: a slope added or renamed on the
  // slope page meanwhile must not be undone by the older copy.
  if (chosen_ < 0 || chosen_ >= slopes_.count() || chosen_ >= stepCopy_.count()) return;
  Road_Slope& slope = slopes_[static_cast<std::size_t>(chosen_)];
  slope.items = stepCopy_[static_cast<std::size_t>(chosen_)].items;
  for (Road_Slope_Item& step : slope.items) step.SlopeName = slope.SlopeName;
  // The slope page may have been saved while the steps were away: the steps
  // that come back are edits the road does not hold yet.
  modified_ = true;
}

void CRoadSlopeEditor::pageMessage(int first, int second) {
  if (first == kSlopeStepsDone) {
    returnEditedSteps();
    page_ = kSlopePage;
  } else if (first == kSlopeSetModified) {
    modified_ = second != 0;
  } else if (first >= 0 && first < slopes_.count()) {
    // Steps of another slope replace the step page's copy: edits still on it
    // return first, or they would vanish without a word.
    returnEditedSteps();
    stepCopy_ = slopes_;
    chosen_ = first;
    page_ = kStepPage;
  }
}

void CRoadSlopeEditor::tabChosen(Page page, int selected) {
  if (page == kSlopePage) {
    pageMessage(kSlopeStepsDone);
    return;
  }
  // Choosing the slope already shown keeps its copy and the edits on it.
  if (selected >= 0 && selected < slopes_.count() && selected != chosen_) pageMessage(selected);
  page_ = kStepPage;
}

void CRoadSlopeEditor::addSlope(const Road_Slope& slope) {
  Road_Slope s = slope;
  s.items.clear();
  slopes_.append(s);
  if (chosen_ >= 0) stepCopy_.append(s);
  pageMessage(kSlopeSetModified, 1);
}

bool CRoadSlopeEditor::replaceSlope(int index, const Road_Slope& slope) {
  if (index < 0 || index >= slopes_.count()) return false;
  Road_Slope& target = slopes_[static_cast<std::size_t>(index)];
  RecordList<Road_Slope_Item> steps = target.items;
  // The road file ties steps to their slope by name: renamed steps follow the
  // slope, or they would be dropped (or join another slope) on the next open.
  for (Road_Slope_Item& step : steps) {
    if (step.SlopeName == target.SlopeName) step.SlopeName = slope.SlopeName;
  }
  target = slope;
  target.items = std::move(steps);
  pageMessage(kSlopeSetModified, 1);
  return true;
}

bool CRoadSlopeEditor::removeSlope(int index) {
  if (index < 0 || !slopes_.removeAt(static_cast<std::size_t>(index))) return false;
  // The step page's copy follows the list, so that its index keeps naming the
  // same slope; the steps of a deleted chosen slope go with it.
  if (chosen_ >= 0) {
    stepCopy_.removeAt(static_cast<std::size_t>(index));
    if (index == chosen_) {
      chosen_ = -1;
      stepCopy_.clear();
      stepEdits_ = false;
    } else if (index < chosen_) {
      --chosen_;
    }
  }
  pageMessage(kSlopeSetModified, 1);
  return true;
}

bool CRoadSlopeEditor::showSteps(int index) {
  if (index < 0 || index >= slopes_.count()) return false;
  pageMessage(index);
  return true;
}

const RecordList<Road_Slope_Item>& CRoadSlopeEditor::steps() const {
  static const RecordList<Road_Slope_Item> none;
  if (chosen_ < 0 || chosen_ >= stepCopy_.count()) return none;
  return stepCopy_[static_cast<std::size_t>(chosen_)].items;
}

bool CRoadSlopeEditor::addStep(const Road_Slope_Item& step) {
  if (chosen_ < 0 || chosen_ >= stepCopy_.count()) return false;
  stepCopy_[static_cast<std::size_t>(chosen_)].items.append(step);
  stepEdits_ = true;
  pageMessage(kSlopeSetModified, 1);
  return true;
}

bool CRoadSlopeEditor::replaceStep(int index, const Road_Slope_Item& step) {
  if (chosen_ < 0 || chosen_ >= stepCopy_.count()) return false;
  auto& items = stepCopy_[static_cast<std::size_t>(chosen_)].items;
  if (index < 0 || index >= items.count()) return false;
  items[static_cast<std::size_t>(index)] = step;
  stepEdits_ = true;
  pageMessage(kSlopeSetModified, 1);
  return true;
}

bool CRoadSlopeEditor::removeStep(int index) {
  if (chosen_ < 0 || chosen_ >= stepCopy_.count()) return false;
  if (index < 0 || !stepCopy_[static_cast<std::size_t>(chosen_)].items.removeAt(static_cast<std::size_t>(index)))
    return false;
  stepEdits_ = true;
  pageMessage(kSlopeSetModified, 1);
  return true;
}

}  // namespace trazmark
