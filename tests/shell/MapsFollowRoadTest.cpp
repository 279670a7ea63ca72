// The maps of the drawing pane follow the road in the real frame: New, Open
// and a road button leave nothing of the previous road's drawings, and an
// edit marks the maps drawn from the data it changed as out of date.

#include <gtest/gtest.h>

#include <QFile>
#include <QLineEdit>

#include "crosssection/qt/RoadSectionView.h"
#include "editors/qt/RoadFlatPages.h"
#include "editors/qt/RoadFlatView.h"
#include "maps/PlanDrawing.h"
#include "maps/RoadMap.h"
#include "maps/RoadSectionMap.h"
#include "maps/SectionMapPanel.h"
#include "maps/VertricalCurveMap.h"
#include "shell/BottomDockPane.h"
#include "shell/MainFrame.h"
#include "support/UiTestSupport.h"
#include "vertical/qt/RoadVerCurveView.h"

namespace trazmark {
namespace {

/// A demo road copied into the scratch folder (the views write their method
/// files beside it).
std::string demoRoad(const test::ScratchFolder& dir, const char* name, const char* as) {
  const std::string to = dir.path(as);
  QFile::copy(QStringLiteral(TRAZMARK_SOURCE_DIR "/docs/demo/") + QLatin1String(name),
              QString::fromStdString(to));
  return to;
}

struct Maps {
  CRoadMap* plan;
  CVertricalCurveMap* profile;
  CSectionMapPanel* panel;
  CRoadSectionMap* section;
};

Maps mapsOf(CMainFrame& frame) {
  CBottomDockPane* pane = frame.drawingPane();
  return {pane->findChild<CRoadMap*>(), pane->findChild<CVertricalCurveMap*>(),
          pane->findChild<CSectionMapPanel*>(), pane->findChild<CRoadSectionMap*>()};
}

/// Draws the plan, the profile and the section at a station, as the views'
/// buttons and the station field do.
void drawEveryMap(CMainFrame& frame) {
  frame.showDataView(kKindFlatCurve);
  auto* flat = dynamic_cast<CRoadFlatView*>(frame.dataView(kKindFlatCurve));
  ASSERT_NE(flat, nullptr);
  flat->page(flat->currentPage())->showMap();
  frame.showDataView(kKindVerCurve);
  ASSERT_TRUE(dynamic_cast<CRoadVerCurveView*>(frame.dataView(kKindVerCurve))->drawProfile());
  frame.showDataView(kKindCrossSection);
  dynamic_cast<CRoadSectionView*>(frame.dataView(kKindCrossSection))->showGraphics();
  const Maps m = mapsOf(frame);
  ASSERT_TRUE(m.panel->goToStation(QStringLiteral("K0+100")));
  ASSERT_TRUE(m.plan->roadDesign().computed());
  ASSERT_FALSE(m.profile->profilePoints().empty());
  ASSERT_TRUE(m.section->stationShown());
}

void expectNothingShown(CMainFrame& frame, const char* after) {
  const Maps m = mapsOf(frame);
  EXPECT_FALSE(m.plan->roadDesign().computed()) << after;
  EXPECT_FALSE(planExtent(m.plan->roadDesign()).has_value()) << after;
  EXPECT_TRUE(m.profile->profilePoints().empty()) << after;
  EXPECT_TRUE(m.profile->gradePoints().empty()) << after;
  EXPECT_FALSE(m.section->stationShown()) << after;
  EXPECT_TRUE(m.section->segments().empty()) << after;
  EXPECT_TRUE(m.panel->stationField()->text().isEmpty()) << after;
  // The next station typed finds no road of the old one to cut.
  EXPECT_FALSE(m.panel->goToStation(QStringLiteral("K0+100"))) << after;
  for (int map : {kPlanMap, kProfileMap, kSectionMap})
    EXPECT_FALSE(frame.drawingPane()->map(map).hasDrawing()) << after << " map " << map;
}

TEST(MapsFollowRoad, NewOpenAndARoadButtonLeaveNothingOfThePreviousRoad) {
  test::application();
  test::ScratchFolder dir;
  test::ScriptedDialogs dialogs;
  const std::string road = demoRoad(dir, "terrain-demo.REC", "a.REC");
  const std::string other = demoRoad(dir, "demo_jd.REC", "b.REC");
  CMainFrame frame(&dialogs);
  frame.resize(1200, 800);
  frame.show();

  frame.commands().openRoadFromList(road);
  drawEveryMap(frame);
  dialogs.saveNames.push_back(dir.path("new.REC"));
  frame.commands().newRoad();
  expectNothingShown(frame, "New");

  frame.commands().openRoadFromList(road);
  drawEveryMap(frame);
  dialogs.openNames.push_back(other);
  frame.commands().openRoad();
  expectNothingShown(frame, "Open");

  frame.commands().openRoadFromList(road);
  drawEveryMap(frame);
  frame.commands().openRoadFromList(other);
  expectNothingShown(frame, "road button");
  EXPECT_TRUE(dialogs.warnings.empty());
  frame.close();
}

TEST(MapsFollowRoad, AnEditMarksTheMapsDrawnFromItUntilDrawnAgain) {
  test::application();
  test::ScratchFolder dir;
  test::ScriptedDialogs dialogs;
  CMainFrame frame(&dialogs);
  frame.resize(1200, 800);
  frame.show();
  frame.commands().openRoadFromList(demoRoad(dir, "terrain-demo.REC", "a.REC"));
  drawEveryMap(frame);
  const Maps m = mapsOf(frame);

  // Grade points edited and stored: the section at a station is out of date
  // (it is the whole road there), and so is the profile, by the edit itself
  // (the view reports it); the plan is not.
  frame.showDataView(kKindVerCurve);
  auto* verCurve = dynamic_cast<CRoadVerCurveView*>(frame.dataView(kKindVerCurve));
  GradePointInput in;
  // A point beyond the last, as the Add dialog offers it.
  in.mileage = frame.roadLibrary().verticalCurves.back().Mileage + 100;
  in.elevation = 120;
  ASSERT_TRUE(verCurve->addPoint(in));
  verCurve->save();
  EXPECT_TRUE(m.section->outOfDate());
  EXPECT_FALSE(m.plan->outOfDate());
  EXPECT_TRUE(m.profile->outOfDate());
  frame.viewEditsChanged();  // as the view reports an edit of its own
  EXPECT_TRUE(m.profile->outOfDate());
  EXPECT_FALSE(m.plan->outOfDate());

  // The note is painted across the top of the map on show.
  const QImage shown = m.profile->grab().toImage();
  int note = 0;
  for (int x = 0; x < shown.width(); ++x) note += shown.pixel(x, 10) == qRgb(255, 200, 60);
  EXPECT_GT(note, 100);

  // Drawn again: the mark goes.
  ASSERT_TRUE(verCurve->drawProfile());
  EXPECT_FALSE(m.profile->outOfDate());
  frame.showDataView(kKindCrossSection);
  dynamic_cast<CRoadSectionView*>(frame.dataView(kKindCrossSection))->showGraphics();
  EXPECT_FALSE(m.section->outOfDate());

  // An edit of the alignment marks the plan, which the next road forgets.
  frame.showDataView(kKindFlatCurve);
  frame.viewEditsChanged();
  EXPECT_TRUE(m.plan->outOfDate());
  dialogs.answers.push_back(false);  // the save question: do not save
  dialogs.saveNames.push_back(dir.path("new.REC"));
  frame.commands().newRoad();
  EXPECT_FALSE(m.plan->outOfDate());
  frame.close();
}

}  // namespace
}  // namespace trazmark
