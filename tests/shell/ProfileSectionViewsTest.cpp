// The grade-point and cross-section views in the real frame: registered for
// kinds 3 and 4, drawing into the real profile and cross-section maps, with
// the View menu's switch for the profile labels.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>

#include "crosssection/qt/RoadSectionView.h"
#include "maps/RoadSectionMap.h"
#include "maps/VertricalCurveMap.h"
#include "shell/BottomDockPane.h"
#include "shell/MainFrame.h"
#include "support/UiTestSupport.h"
#include "vertical/qt/RoadVerCurveView.h"

namespace trazmark {
namespace {

TEST(ProfileSectionViews, DrawIntoTheirMapsInTheFrame) {
  test::application();
  test::ScratchFolder dir;
  test::ScriptedDialogs dialogs;
  CMainFrame frame(&dialogs);
  frame.resize(1200, 800);
  frame.show();
  dialogs.saveNames.push_back(dir.path("r.REC"));
  frame.commands().newRoad();

  frame.showDataView(kKindVerCurve);
  auto* verCurve = dynamic_cast<CRoadVerCurveView*>(frame.dataView(kKindVerCurve));
  ASSERT_NE(verCurve, nullptr);
  GradePointInput in;
  for (auto [m, h, r] : {std::tuple{0.0, 100.0, 0.0}, {400.0, 108.0, 5000.0}, {900.0, 101.0, 0.0}}) {
    in.mileage = m;
    in.elevation = h;
    in.radius = r;
    ASSERT_TRUE(verCurve->addPoint(in));
  }
  ASSERT_TRUE(verCurve->drawProfile());
  auto* profile = frame.drawingPane()->findChild<CVertricalCurveMap*>();
  ASSERT_NE(profile, nullptr);
  EXPECT_TRUE(frame.drawingPane()->isMapShown(kProfileMap));
  EXPECT_EQ(profile->profilePoints().size(), 46u);  // 0 ... 880 and the end at 900
  EXPECT_TRUE(profile->labelsShown());
  frame.profileLabelsAction()->trigger();
  EXPECT_FALSE(profile->labelsShown());

  frame.showDataView(kKindCrossSection);
  auto* section = dynamic_cast<CRoadSectionView*>(frame.dataView(kKindCrossSection));
  ASSERT_NE(section, nullptr);
  Road_Section_Item lane;
  lane.setModuleName("lane");
  lane.Width = 3.5;
  lane.Slope = -2;
  section->setCurrentSide(kSectionRight);
  ASSERT_TRUE(section->addComponent(lane));
  section->showGraphics();
  auto* sectionMap = frame.drawingPane()->findChild<CRoadSectionMap*>();
  ASSERT_NE(sectionMap, nullptr);
  EXPECT_TRUE(frame.drawingPane()->isMapShown(kSectionMap));
  EXPECT_EQ(sectionMap->segments().size(), 1u);  // the unsaved component
  EXPECT_TRUE(frame.roadLibrary().rightSections.empty());
  frame.close();
}

}  // namespace
}  // namespace trazmark
