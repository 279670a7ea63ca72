// Slopes and their steps: the name check, the step dialog's fields by mode,
// the page message, and the step page's own copy.

#include <gtest/gtest.h>

#include "crosssection/RoadSlopeEditor.h"

namespace trazmark {
namespace {

SlopeEntryFields slopeFields(const char* name, const char* start = "0", const char* end = "100") {
  SlopeEntryFields f;
  f.name = name;
  f.startText = start;
  f.endText = end;
  return f;
}

Road_Slope slope(const char* name) {
  Road_Slope s;
  s.SlopeName = name;
  return s;
}

TEST(RoadSlopeEntry, NamesAreUniqueExceptForTheSlopeItself) {
  RecordList<Road_Slope> slopes;
  slopes.append(slope("K1"));
  slopes.append(slope("K2"));
  struct Case {
    int edited;
    const char* name;
    bool accepted;
  } cases[] = {
      {-1, "K3", true}, {-1, "K1", false}, {-1, "k1", true},  // exact, case-sensitive
      {0, "K1", true},  {0, "K2", false},  {1, "K9", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.edited) + " " + c.name);
    SlopeEntryResult r = acceptSlopeEntry(slopes, c.edited, slopeFields(c.name));
    EXPECT_EQ(r.outcome == SlopeEntryResult::kAccepted, c.accepted);
    if (!c.accepted) {
      EXPECT_EQ(r.messageKey, "IDS_WARN_name_has_exist");
      EXPECT_TRUE(r.information);
    }
  }
  // Start beyond end is taken as entered; a mileage that is not a number is not.
  SlopeEntryResult reversed = acceptSlopeEntry(slopes, -1, slopeFields("K3", "200", "100"));
  ASSERT_EQ(reversed.outcome, SlopeEntryResult::kAccepted);
  EXPECT_EQ(reversed.slope.StartMileage, 200);
  SlopeEntryResult bad = acceptSlopeEntry(slopes, -1, slopeFields("K3", "abc", "100"));
  EXPECT_EQ(bad.outcome, SlopeEntryResult::kRefused);
  EXPECT_EQ(bad.messageKey, "IDS_WARN_enter_number");
}

TEST(RoadSlopeEntry, StepValuesFollowTheMode) {
  StepEntryFields f;
  f.mode = kStepPlatform;
  f.name = "P1";
  f.firstText = "2";
  f.secondText = "3";
  StepEntryResult platform = acceptStepEntry("K1", f);
  ASSERT_EQ(platform.outcome, StepEntryResult::kAccepted);
  EXPECT_EQ(platform.step.SlopeName, "K1");
  EXPECT_EQ(platform.step.Width, 2);
  EXPECT_EQ(platform.step.SlopeScale, 3);
  EXPECT_EQ(platform.step.SlopeH, 0);
  StepEntryFields back = stepEntryFields(platform.step);
  EXPECT_EQ(back.mode, kStepPlatform);
  EXPECT_EQ(back.firstText, "2.000");

  f.mode = kStepSlopeSurface;
  StepEntryResult surface = acceptStepEntry("K1", f);
  EXPECT_EQ(surface.step.SlopeH, 2);
  EXPECT_EQ(surface.step.Width, 0);

  f.name = "";
  EXPECT_EQ(acceptStepEntry("K1", f).outcome, StepEntryResult::kStayOpen);
  f.name = "S";
  f.secondText = "1:1.5";
  EXPECT_EQ(acceptStepEntry("K1", f).outcome, StepEntryResult::kRefused);
}

Road_Slope_Item step(const char* slopeName, const char* name) {
  Road_Slope_Item s;
  s.SlopeName = slopeName;
  s.ItemName = name;
  return s;
}

TEST(RoadSlopeEditor, StepsReachTheRoadOnlyWithDoneAndSave) {
  RoadDataSet road;
  road.slopes.append(slope("K1"));
  CRoadSlopeEditor editor;
  editor.load(road);
  EXPECT_FALSE(editor.addStep(step("K1", "x")));  // no slope chosen
  EXPECT_FALSE(editor.showSteps(1));
  ASSERT_TRUE(editor.showSteps(0));
  EXPECT_EQ(editor.page(), CRoadSlopeEditor::kStepPage);
  EXPECT_EQ(editor.chosenSlopeName(), "K1");
  EXPECT_TRUE(editor.addStep(step("K1", "S1")));
  EXPECT_TRUE(editor.addStep(step("K1", "S2")));
  EXPECT_TRUE(editor.removeStep(0));
  EXPECT_TRUE(editor.isModified());
  EXPECT_TRUE(editor.slopes()[0].items.empty());  // the step page's own copy

  editor.pageMessage(kSlopeStepsDone);
  EXPECT_EQ(editor.page(), CRoadSlopeEditor::kSlopePage);
  ASSERT_EQ(editor.slopes()[0].items.count(), 1);
  EXPECT_TRUE(road.slopes[0].items.empty());  // done is not save

  editor.save(road);
  EXPECT_FALSE(editor.isModified());
  ASSERT_EQ(road.slopes[0].items.count(), 1);
  EXPECT_EQ(road.slopes[0].items[0].ItemName, "S2");

  editor.pageMessage(kSlopeSetModified, 1);
  EXPECT_TRUE(editor.isModified());
  editor.load(road);
  EXPECT_FALSE(editor.isModified());
}

TEST(RoadSlopeEditor, RenamedStepsFollowTheirSlope) {
  // The road file joins steps to slopes by name: steps left with the old name
  // would be dropped on the next open.
  RoadDataSet road;
  road.slopes.append(slope("K1"));
  road.slopes[0].items.append(step("K1", "S1"));
  CRoadSlopeEditor editor;
  editor.load(road);
  Road_Slope renamed = slope("K7");
  renamed.LeftRight = 1;
  ASSERT_TRUE(editor.replaceSlope(0, renamed));
  ASSERT_EQ(editor.slopes()[0].items.count(), 1);
  EXPECT_EQ(editor.slopes()[0].items[0].SlopeName, "K7");
  EXPECT_EQ(editor.slopes()[0].LeftRight, 1);
}

TEST(RoadSlopeEditor, DoneKeepsSlopePageEditsMadeMeanwhile) {
  RoadDataSet road;
  road.slopes.append(slope("K1"));
  CRoadSlopeEditor editor;
  editor.load(road);
  editor.showSteps(0);
  editor.addStep(step("K1", "S1"));
  editor.addSlope(slope("K2"));  // the user went back to the slope page
  editor.pageMessage(kSlopeStepsDone);
  ASSERT_EQ(editor.slopes().count(), 2);
  EXPECT_EQ(editor.slopes()[0].items.count(), 1);

  editor.showSteps(1);
  editor.addStep(step("K2", "S2"));
  editor.removeSlope(0);  // the chosen slope moves up; its steps stay chosen
  EXPECT_EQ(editor.chosenSlope(), 0);
  EXPECT_EQ(editor.chosenSlopeName(), "K2");
  editor.pageMessage(kSlopeStepsDone);
  ASSERT_EQ(editor.slopes().count(), 1);
  EXPECT_EQ(editor.slopes()[0].SlopeName, "K2");
  ASSERT_EQ(editor.slopes()[0].items.count(), 1);

  editor.showSteps(0);
  editor.removeSlope(0);  // deleting the chosen slope ends its steps
  EXPECT_EQ(editor.chosenSlope(), -1);
  EXPECT_FALSE(editor.addStep(step("K2", "S3")));
  editor.pageMessage(kSlopeStepsDone);
  EXPECT_TRUE(editor.slopes().empty());
}

}  // namespace
}  // namespace trazmark
