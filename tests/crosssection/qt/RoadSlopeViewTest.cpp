// The slope view through the dialog seam: the name check of the slope dialog,
// the step dialog's labels and values by kind of step, the page message 1626,
// the step page's own copy, save and the frame's commit of pending edits.

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <functional>

#include "crosssection/qt/RoadSlopeNewDlg.h"
#include "crosssection/qt/RoadSlopeView.h"
#include "platform/qt/RecordTableModel.h"
#include "platform/qt/TabSheet.h"
#include "support/DataViewTestHost.h"

namespace trazmark {
namespace {

class SlopeViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    test::useEnglishTexts();
    view = std::make_unique<CRoadSlopeView>(host);
    view->setDialogRunner([this](QDialog& d) {
      ++dialogsShown;
      if (!fill) return false;
      auto next = std::move(fill);
      fill = nullptr;
      next(d);
      if (d.result() != QDialog::Accepted) {
        if (auto* s = dynamic_cast<CRoadSlopeNewDlg*>(&d)) s->tryAccept();
        if (auto* s = dynamic_cast<CRoadSlopeItemNewDlg*>(&d)) s->tryAccept();
      }
      return d.result() == QDialog::Accepted;
    });
  }

  // The next dialog gets these slope fields (and OK).
  void typeSlope(const char* name, bool right = false, bool fillType = false) {
    fill = [=, this](QDialog& d) {
      auto& s = dynamic_cast<CRoadSlopeNewDlg&>(d);
      shownName = s.nameEdit()->text().toStdString();
      s.nameEdit()->setText(name);
      (right ? s.rightButton() : s.leftButton())->setChecked(true);
      (fillType ? s.fillButton() : s.cutButton())->setChecked(true);
      s.startEdit()->setText("10");
      s.endEdit()->setText("250.5");
    };
  }
  void typeStep(const char* name, bool platform, const char* a, const char* b) {
    fill = [=, this](QDialog& d) {
      auto& s = dynamic_cast<CRoadSlopeItemNewDlg&>(d);
      (platform ? s.platformButton() : s.surfaceButton())->setChecked(true);
      firstLabel = s.firstLabel()->text().toStdString();
      secondLabel = s.secondLabel()->text().toStdString();
      s.nameEdit()->setText(name);
      s.firstEdit()->setText(a);
      s.secondEdit()->setText(b);
    };
  }

  QString slopeCell(int row, int column) { return view->slopeModel()->index(row, column).data().toString(); }
  QString stepCell(int row, int column) { return view->stepModel()->index(row, column).data().toString(); }

  test::DataViewTestHost host;
  std::unique_ptr<CRoadSlopeView> view;
  std::function<void(QDialog&)> fill;
  int dialogsShown = 0;
  std::string shownName, firstLabel, secondLabel;
};

TEST_F(SlopeViewTest, NewSlopeRowsAndTheNameCheck) {
  typeSlope("K1");
  view->newSlope();
  typeSlope("K2", true, true);
  view->newSlope();
  ASSERT_EQ(view->slopeModel()->rowCount(), 2);
  EXPECT_EQ(slopeCell(1, 0), "2");
  EXPECT_EQ(slopeCell(1, 1), "R");
  EXPECT_EQ(slopeCell(1, 2).toStdString(), GetLanguageText("IDS_DATA_fill"));
  EXPECT_EQ(slopeCell(1, 3), "K2");
  EXPECT_EQ(slopeCell(1, 4), "10.000");
  EXPECT_EQ(slopeCell(1, 5), "250.500");
  EXPECT_TRUE(view->saveButton()->isEnabled());

  typeSlope("K1");  // a third slope named like the first
  view->newSlope();
  EXPECT_EQ(host.dialogs.informations, std::vector<std::string>{"IDS_WARN_name_has_exist"});
  EXPECT_EQ(view->slopeModel()->rowCount(), 2);

  view->slopeTable()->selectRow(0);
  typeSlope("K1");  // its own name
  view->editSlope();
  EXPECT_EQ(shownName, "K1");
  EXPECT_EQ(host.dialogs.informations.size(), 1u);
  view->slopeTable()->selectRow(0);
  typeSlope("K2");  // the other's
  view->editSlope();
  EXPECT_EQ(host.dialogs.informations.size(), 2u);
  EXPECT_EQ(slopeCell(0, 3), "K1");
}

TEST_F(SlopeViewTest, WithoutASelectionNothingOpens) {
  typeSlope("K1");
  view->newSlope();
  view->slopeTable()->clearSelection();
  view->editSlope();
  view->deleteSlope();
  view->showSteps();
  EXPECT_EQ(dialogsShown, 1);
  EXPECT_EQ(view->tabSheet()->visiblePage(), 0);
  view->newStep();  // no slope chosen
  EXPECT_EQ(dialogsShown, 1);
}

TEST_F(SlopeViewTest, PlatformStepLabelsAndValues) {
  typeSlope("K1");
  view->newSlope();
  view->slopeTable()->selectRow(0);
  view->showSteps();
  EXPECT_EQ(view->tabSheet()->visiblePage(), 1);

  typeStep("P1", true, "2", "3");
  view->newStep();
  EXPECT_EQ(firstLabel, GetLanguageText("IDS_DATA_width") + "(m):");
  EXPECT_EQ(secondLabel, GetLanguageText("IDS_DATA_cross_slope") + "(%):");
  typeStep("S1", false, "8", "1.5");
  view->newStep();
  EXPECT_EQ(firstLabel, GetLanguageText("IDS_DATA_slope_high") + "(m):");
  EXPECT_EQ(secondLabel, GetLanguageText("IDS_DATA_slope_scale") + "(1:N):");
  ASSERT_EQ(view->stepModel()->rowCount(), 2);
  EXPECT_EQ(stepCell(0, 1), "Berm");
  EXPECT_EQ(stepCell(0, 3), "2.000");
  EXPECT_EQ(stepCell(0, 4), "3.000");
  EXPECT_EQ(stepCell(1, 3), "8.000");
  EXPECT_EQ(view->stepModel()->headerData(3, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(),
            GetLanguageText("IDS_DATA_slope_high") + "/" + GetLanguageText("IDS_DATA_width"));

  typeStep("", false, "1", "1");  // no name: the dialog stays open
  view->newStep();
  EXPECT_EQ(view->stepModel()->rowCount(), 2);

  view->stepsDone();
  EXPECT_EQ(view->tabSheet()->visiblePage(), 0);
  view->save();
  ASSERT_EQ(host.road.slopes[0].items.count(), 2);
  const Road_Slope_Item& p = host.road.slopes[0].items[0];
  EXPECT_EQ(p.Mode, 1);
  EXPECT_EQ(p.Width, 2);
  EXPECT_EQ(p.SlopeScale, 3);
  EXPECT_EQ(p.SlopeH, 0);
  EXPECT_EQ(p.SlopeName, "K1");
}

TEST_F(SlopeViewTest, StepsDoneWithoutSaveLeaveTheRoadUnchanged) {
  Road_Slope s;
  s.SlopeName = "K1";
  host.road.slopes.append(s);
  view->reloadFromRoad();
  view->pageMessage(0);  // message 1626 with the index
  typeStep("S1", false, "5", "1");
  view->newStep();
  view->pageMessage(kSlopeStepsDone);
  EXPECT_TRUE(host.road.slopes[0].items.empty());
  EXPECT_EQ(host.modifiedNotices, 0);
  EXPECT_TRUE(view->hasPendingInput());

  view->pageMessage(kSlopeSetModified, 0);
  EXPECT_FALSE(view->hasPendingInput());
  view->pageMessage(kSlopeSetModified, 1);
  view->commitPendingInput();  // the frame before New, Open, Save and closing
  EXPECT_EQ(host.road.slopes[0].items.count(), 1);
  EXPECT_EQ(host.modifiedNotices, 1);
  EXPECT_FALSE(view->hasPendingInput());
  EXPECT_FALSE(view->saveButton()->isEnabled());
}

TEST_F(SlopeViewTest, StepsStillOnTheStepPageAreNeverDroppedUnasked) {
  for (const char* name : {"K1", "K2"}) {
    Road_Slope s;
    s.SlopeName = name;
    host.road.slopes.append(s);
  }
  view->reloadFromRoad();
  // The slope page saved while a step waits on the step page: Done brings
  // back an edit the road lacks, so the view is modified again.
  view->pageMessage(0);
  typeStep("S1", false, "5", "1");
  view->newStep();
  view->save();
  EXPECT_TRUE(view->hasPendingInput());
  view->stepsDone();
  EXPECT_TRUE(view->saveButton()->isEnabled());
  view->save();
  // Showing another slope's steps brings back those of the first one.
  view->pageMessage(0);
  typeStep("S2", false, "5", "1");
  view->newStep();
  view->save();
  view->pageMessage(1);
  EXPECT_TRUE(view->saveButton()->isEnabled());
  view->save();
  EXPECT_EQ(host.road.slopes[0].items.count(), 2);
}

TEST_F(SlopeViewTest, TheStepTabShowsTheSelectedSlopeAndNamesIt) {
  for (const char* name : {"K1", "K2"}) {
    Road_Slope s;
    s.SlopeName = name;
    Road_Slope_Item step;
    step.ItemName = std::string("S-") + name;
    s.items.append(step);
    host.road.slopes.append(s);
  }
  view->reloadFromRoad();
  view->tabSheet()->setCurrentIndex(1);  // the user's click, nothing selected
  EXPECT_EQ(view->stepModel()->rowCount(), 0);
  EXPECT_EQ(view->stepCaption()->text(), "Select a slope on the slope page to see its steps.");
  view->newStep();
  EXPECT_EQ(host.dialogs.warnings, std::vector<std::string>{"IDS_WARN_select_slope_for_steps"});
  EXPECT_EQ(dialogsShown, 0);

  view->tabSheet()->setCurrentIndex(0);
  view->slopeTable()->selectRow(1);
  view->tabSheet()->setCurrentIndex(1);
  ASSERT_EQ(view->stepModel()->rowCount(), 1);
  EXPECT_EQ(stepCell(0, 2), "S-K2");
  EXPECT_EQ(view->stepCaption()->text(), "Steps of slope K2");
  // Back on the slope page the shown slope's edits return, as with Done.
  typeStep("S2", false, "5", "1");
  view->newStep();
  view->tabSheet()->setCurrentIndex(0);
  EXPECT_EQ(view->editor().page(), CRoadSlopeEditor::kSlopePage);
  EXPECT_EQ(view->editor().slopes()[1].items.count(), 2);
  EXPECT_TRUE(view->saveButton()->isEnabled());
}

TEST_F(SlopeViewTest, ReloadShowsTheSlopePageAndDiscards) {
  typeSlope("K1");
  view->newSlope();
  view->pageMessage(0);
  ASSERT_EQ(view->tabSheet()->visiblePage(), 1);
  view->reloadFromRoad();  // message 1624
  EXPECT_EQ(view->tabSheet()->visiblePage(), 0);
  EXPECT_EQ(view->slopeModel()->rowCount(), 0);
  EXPECT_FALSE(view->hasPendingInput());
}

}  // namespace
}  // namespace trazmark
