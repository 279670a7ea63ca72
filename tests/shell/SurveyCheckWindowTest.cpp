// File → Check survey points… through scripted dialogs: tolerances that are
// not numbers and a refused points file stop before any work, a good file
// ends with its rows in the list and its points on the plan, the exports
// write what the list holds, and a new road takes the results away.

#include "shell/SurveyCheckCommand.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <fstream>
#include <iterator>
#include <tuple>

#include "maps/RoadMap.h"
#include "maps/SurveyCheckReport.h"
#include "platform/qt/RecordTableModel.h"
#include "shell/BottomDockPane.h"
#include "shell/MainFrame.h"
#include "shell/SurveyCheckPane.h"
#include "support/UiTestSupport.h"

namespace trazmark {
namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SurveyCheckWindow, RefusalsThenRowsInTheListAndPointsOnThePlan) {
  test::application();
  test::ScratchFolder scratch;
  test::ScriptedDialogs dialogs;
  for (const char* name : {"terrain-demo.REC", "terrain-demo.REC.ground", "terrain-demo.csv", "terrain-demo-survey.csv"}) {
    std::ifstream in(std::string(TRAZMARK_SOURCE_DIR "/docs/demo/") + name, std::ios::binary);
    std::ofstream(scratch.path(name), std::ios::binary) << in.rdbuf();
  }
  CMainFrame frame(&dialogs);
  dialogs.openNames.push_back(scratch.path("terrain-demo.REC"));
  frame.commands().openRoad();
  frame.groundLoader().wait();
  QCoreApplication::processEvents();
  ASSERT_TRUE(frame.ground());
  CSurveyCheckPane* pane = frame.surveyCheckPane();
  auto* plan = dynamic_cast<CRoadMap*>(frame.drawingPane()->map(kPlanMap).widget());
  ASSERT_NE(plan, nullptr);
  const std::size_t requestsAtStart = dialogs.requests.size();

  // A tolerance that is not a number: said before any file is asked for.
  pane->verticalField()->setText(QStringLiteral("0,02"));
  frame.checkSurveyPoints();
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_check_tolerance_number"});
  EXPECT_EQ(dialogs.requests.size(), requestsAtStart);
  pane->verticalField()->setText(QStringLiteral("0.02"));

  // A points file with a bad line is refused whole, naming the line.
  test::writeFile(scratch.path("bad.csv"), "P1,100,120,102\nP2,110,130,102\nP3,120,abc,102\n");
  dialogs.warnings.clear();
  dialogs.openNames.push_back(scratch.path("bad.csv"));
  frame.checkSurveyPoints();
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_check_points_refused"});
  EXPECT_NE(dialogs.details.back().find("line 3"), std::string::npos) << dialogs.details.back();
  EXPECT_FALSE(frame.surveyCheckJob().running());
  EXPECT_EQ(pane->list().rowCount(), 0);

  // The demo survey: checked on the worker, its rows listed (the two off
  // the road last) and its points on the plan.
  dialogs.warnings.clear();
  dialogs.openNames.push_back(scratch.path("terrain-demo-survey.csv"));
  dialogs.chosenFilters.push_back(0);
  frame.checkSurveyPoints();
  EXPECT_TRUE(frame.surveyCheckProgress()->isVisibleTo(&frame));
  frame.surveyCheckJob().wait();
  QCoreApplication::processEvents();
  EXPECT_TRUE(dialogs.warnings.empty());
  EXPECT_FALSE(frame.surveyCheckProgress()->isVisibleTo(&frame));
  const CSurveyCheckList& list = pane->list();
  ASSERT_EQ(list.rowCount(), 457);
  EXPECT_EQ(pane->model()->rowCount(), 457);
  EXPECT_EQ(list.cellText(0, kCheckName), "C20");
  EXPECT_EQ(list.cellText(456, kCheckName), "OFF2");
  EXPECT_EQ(list.rowAt(456)->flag, CheckFlag::kOffRoad);
  EXPECT_NE(pane->summaryLabel()->text().indexOf(QStringLiteral("457")), -1);
  EXPECT_TRUE(plan->drawsSurveyCheck());
  EXPECT_TRUE(frame.drawingPane()->isMapShown(kPlanMap));
  // A row double-clicked: the plan centred on its point, zoomed in.
  frame.showSurveyPoint(100);
  const CheckedPoint& shown = *list.rowAt(100);
  const MapView& view = plan->mapManage().view();
  const ClientRect& r = view.clientRect();
  const WorldPoint centre = view.screenToWorld((r.left + r.right) / 2.0, (r.top + r.bottom) / 2.0);
  EXPECT_NEAR(centre.x, shown.point.x, 2 * view.scale());
  EXPECT_NEAR(centre.y, shown.point.y, 2 * view.scale());
  EXPECT_LE(view.scale(), 0.5);

  // The exports write what the list holds.
  dialogs.saveNames.push_back(scratch.path("check.csv"));
  frame.exportSurveyCheckCsv();
  EXPECT_EQ(readAll(scratch.path("check.csv")),
            checkReportText(list.result()->rows, list.result()->summary, true));
  EXPECT_EQ(dialogs.requests.back().suggestedName, "terrain-demo_check.csv");
  dialogs.saveNames.push_back(scratch.path("check.pdf"));
  frame.exportSurveyCheckPdf();
  frame.surveyReportJob().wait();
  QCoreApplication::processEvents();
  EXPECT_FALSE(frame.surveyCheckProgress()->isVisibleTo(&frame));
  EXPECT_EQ(readAll(scratch.path("check.pdf")).rfind("%PDF", 0), 0u);
  EXPECT_TRUE(dialogs.warnings.empty());

  // The road opened again: the check's results go with the old one.
  dialogs.openNames.push_back(scratch.path("terrain-demo.REC"));
  frame.commands().openRoad();
  EXPECT_EQ(pane->list().rowCount(), 0);
  EXPECT_EQ(pane->model()->rowCount(), 0);
  EXPECT_FALSE(plan->drawsSurveyCheck());
  frame.groundLoader().wait();
  QCoreApplication::processEvents();
  EXPECT_EQ(pane->list().rowCount(), 0);

  // Edits not saved: checked only when the user agrees (here: not).
  frame.setRoadModified();
  const std::size_t requests = dialogs.requests.size();
  frame.checkSurveyPoints();
  EXPECT_EQ(dialogs.questions.back(), "IDS_WARN_check_unsaved_road");
  EXPECT_EQ(dialogs.requests.size(), requests);
  EXPECT_FALSE(frame.surveyCheckJob().running());
}

TEST(SurveyCheckWindow, TolerancesAndCancel) {
  CheckTolerances t;
  EXPECT_EQ(CSurveyCheckCommand::readTolerances(" 0.015 ", "0.04", t), "");
  EXPECT_DOUBLE_EQ(t.vertical, 0.015);
  EXPECT_DOUBLE_EQ(t.horizontal, 0.04);
  for (const auto& [v, h, key] : {std::tuple{"", "0.05", "IDS_WARN_check_tolerance_number"},
                                  {"0.02", "5cm", "IDS_WARN_check_tolerance_number"},
                                  {"0", "0.05", "IDS_WARN_check_tolerance_range"},
                                  {"0.02", "-0.05", "IDS_WARN_check_tolerance_range"},
                                  {"0.02", "1000", "IDS_WARN_check_tolerance_range"}})
    EXPECT_EQ(CSurveyCheckCommand::readTolerances(v, h, t), key) << v << " " << h;
  EXPECT_DOUBLE_EQ(t.vertical, 0.015);  // unchanged by a refusal
  EXPECT_EQ(CSurveyCheckCommand::formatOfFilter(1), SurveyedPointFormat::kNameCodeENZ);
  EXPECT_EQ(CSurveyCheckCommand::formatOfFilter(2), SurveyedPointFormat::kNameXYZ);

  // The work stops at the first progress report that asks it to.
  test::application();
  test::ScratchFolder scratch;
  test::ScriptedDialogs dialogs;
  std::ifstream in(TRAZMARK_SOURCE_DIR "/docs/demo/terrain-demo.REC", std::ios::binary);
  std::ofstream(scratch.path("road.REC"), std::ios::binary) << in.rdbuf();
  CMainFrame frame(&dialogs);
  dialogs.openNames.push_back(scratch.path("road.REC"));
  frame.commands().openRoad();
  CSurveyCheckCommand command(dialogs);
  dialogs.openNames.push_back(TRAZMARK_SOURCE_DIR "/docs/demo/terrain-demo-survey.csv");
  auto inputs = command.prepare(*static_cast<const RoadDataSet*>(&frame.roadLibrary()), "road", false, nullptr, 0,
                                CheckTolerances{}, scratch.root());
  ASSERT_TRUE(inputs);
  EXPECT_EQ(inputs->points.size(), 457u);
  SurveyCheckResult result;
  std::string error;
  EXPECT_FALSE(CSurveyCheckCommand::work(inputs)(result, error, [](double) { return false; }));
  EXPECT_TRUE(result.rows.empty());
}

}  // namespace
}  // namespace trazmark
