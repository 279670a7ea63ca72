#pragma once
// The rules of the slope view and its two dialogs, without a window. The view
// has two pages: the slopes of the road, and the steps of one slope. The step
// page works on its own copy of the slope list, which returns to the slope page
// only when the user is done with the steps; the road itself changes only with
// the slope page's save, or with the frame's commit of pending edits, which
// takes the steps still on the step page too.

#include <string>
#include <tuple>

#include "records/RoadRecords.h"

namespace trazmark {

/// First parameters of the slope view's page message (1626); any other value
/// is the index of the slope whose steps are shown.
enum SlopePageMessage : int {
  kSlopeStepsDone = 100,   ///< the step page's copy returns to the slope page
  kSlopeSetModified = 101, ///< the modified flag takes the second parameter
};

enum SlopeStepMode : int32_t {
  kStepSlopeSurface = 0,  ///< height at a ratio 1:N
  kStepPlatform = 1,      ///< width at a cross slope in percent
};

/// The slope dialog's fields.
struct SlopeEntryFields {
  int32_t leftRight = 0;  ///< 0 left, 1 right
  int32_t type = 0;       ///< 0 cut, 1 fill
  std::string name;
  std::string startText;
  std::string endText;
};

struct SlopeEntryResult {
  enum Outcome { kRefused, kAccepted };
  Outcome outcome = kRefused;
  std::string messageKey;
  bool information = false;  ///< the refusal is shown with an information icon
  Road_Slope slope;          ///< without steps
};

/// OK in the slope dialog. `editedIndex` is the slope being edited (-1 for a
/// new one): its own name may stay; another slope's name is refused with
/// "IDS_WARN_name_has_exist". A mileage that is not a number is refused, one
/// beyond ±1e8 m with the key that names it ("IDS_WARN_range_start_mileage",
/// "IDS_WARN_range_end_mileage").
SlopeEntryResult acceptSlopeEntry(const RecordList<Road_Slope>& slopes, int editedIndex,
                                  const SlopeEntryFields& fields);

/// The step dialog's fields: the first number is the height of a slope surface
/// or the width of a platform, the second its ratio N or cross slope in %.
struct StepEntryFields {
  int32_t mode = kStepSlopeSurface;
  std::string name;
  std::string firstText;
  std::string secondText;
};

struct StepEntryResult {
  enum Outcome { kStayOpen, kRefused, kAccepted };
  Outcome outcome = kStayOpen;
  std::string messageKey;
  Road_Slope_Item step;
};

/// OK in the step dialog: an empty name keeps the dialog open without a
/// message; the value the mode does not use is 0. Out of range, with the key
/// naming the field: a surface's height (0..1000 m) and ratio N (0..1000), a
/// platform's width (0..1000 m) and cross slope (±1000 %).
StepEntryResult acceptStepEntry(const std::string& slopeName, const StepEntryFields& fields);

/// The dialog's fields for an existing step.
StepEntryFields stepEntryFields(const Road_Slope_Item& step);

class CRoadSlopeEditor {
 public:
  enum Page { kSlopePage = 0, kStepPage = 1 };

  /// Copies the road's slopes, shows the slope page; unsaved edits are gone.
  void load(const RoadDataSet& road);
  /// The slope page's list becomes the road's slopes.
  void save(RoadDataSet& road);
  /// The frame's commit before New, Open, Save and closing: steps still on
  /// the step page return to the slope page first (the step page stays
  /// shown), so that the road gets everything the user entered; then save.
  void commit(RoadDataSet& road);

  /// Message 1626.
  void pageMessage(int first, int second = 0);

  // Slope page.
  void addSlope(const Road_Slope& slope);
  /// Replaces slope `index`, keeping its steps; false when there is none.
  bool replaceSlope(int index, const Road_Slope& slope);
  bool removeSlope(int index);
  /// The steps button: shows the steps of slope `index`; false when none.
  bool showSteps(int index);
  /// The user chose a tab. The step tab shows the steps of `selected`, the
  /// slope selected on the slope page (-1: none, and the slope shown before,
  /// if any, stays); the slope tab is Done: the steps return to the slope page.
  void tabChosen(Page page, int selected);
  /// What the step page says above its list: "IDS_DATA_steps_of_slope"
  /// followed by the chosen slope's name, or "IDS_WARN_select_slope_for_steps"
  /// when no slope is chosen.
  const char* stepPageCaptionKey() const {
    return chosen_ >= 0 ? "IDS_DATA_steps_of_slope" : "IDS_WARN_select_slope_for_steps";
  }

  // Step page: false when no slope is chosen or `index` is not a step.
  bool addStep(const Road_Slope_Item& step);
  bool replaceStep(int index, const Road_Slope_Item& step);
  bool removeStep(int index);

  const RecordList<Road_Slope>& slopes() const { return slopes_; }
  /// The steps of the chosen slope in the step page's copy (empty when none).
  const RecordList<Road_Slope_Item>& steps() const;
  int chosenSlope() const { return chosen_; }
  /// The name of the chosen slope, which new steps take ("" when none).
  std::string chosenSlopeName() const {
    return chosen_ >= 0 && chosen_ < stepCopy_.count() ? stepCopy_[static_cast<std::size_t>(chosen_)].SlopeName
                                                       : std::string();
  }
  Page page() const { return page_; }
  /// The view's modified flag: the slope page holds edits the road lacks.
  bool isModified() const { return modified_; }
  /// Steps were added, changed or deleted on the step page since it was
  /// filled or since they last returned to the slope page.
  bool hasStepEdits() const { return stepEdits_; }
  /// Anything entered that the road lacks, on either page.
  bool hasPendingInput() const { return modified_ || stepEdits_; }
  /// The view's undo decides whether the slope page differs from the road.
  void setModified(bool modified) { modified_ = modified; }

  /// What undo and redo give back: both pages' lists, the slope chosen, the
  /// page on show and whether the step page holds edits.
  using UndoState = std::tuple<RecordList<Road_Slope>, RecordList<Road_Slope>, int, int, bool>;
  UndoState undoState() const { return {slopes_, stepCopy_, chosen_, static_cast<int>(page_), stepEdits_}; }
  void restoreUndoState(UndoState state) {
    slopes_ = std::move(std::get<0>(state));
    stepCopy_ = std::move(std::get<1>(state));
    chosen_ = std::get<2>(state);
    page_ = static_cast<Page>(std::get<3>(state));
    stepEdits_ = std::get<4>(state);
  }

 private:
  /// The chosen slope's steps go from the step page's copy to the slope
  /// page's list when they were edited; the slope page is then modified.
  void returnEditedSteps();

  RecordList<Road_Slope> slopes_;
  RecordList<Road_Slope> stepCopy_;
  int chosen_ = -1;
  Page page_ = kSlopePage;
  bool modified_ = false;
  bool stepEdits_ = false;
};

}  // namespace trazmark
