// The main frame's file commands through the dialog seam: New, Open with the
// loader by type code, Save with the road list, the save question, and the
// data views that the frame creates and switches.

#include <gtest/gtest.h>

#include <QAction>

#include "support/UiTestSupport.h"
#include "shell/BottomDockPane.h"
#include "shell/LeftDockPane.h"
#include "shell/MainFrame.h"
#include "shell/MyButton.h"
#include "shell/RoadManageView.h"

namespace trazmark {
namespace {

using test::fileExists;
using test::readFile;
using test::ScratchFolder;
using test::ScriptedDialogs;
using test::writeFile;

// A data view standing in for a real one: counts reloads and, when given
// input, stores a broken chain into the current road on commit.
class FakeChainView : public CDataView {
 public:
  FakeChainView(CDataViewHost& host, QWidget* parent) : CDataView(kKindBrokenChain, host, parent) {}
  bool pending = false;
  int reloads = 0;
  bool hasPendingInput() const override { return pending; }
  void commitPendingInput() override {
    Scisson_Data chain;
    chain.Before_mileage = 1200;
    chain.After_mileage = 1180;
    host().roadLibrary().scissons.append(chain);
    host().setRoadModified();
    pending = false;
  }
  void reloadFromRoad() override { ++reloads; }
};

class MainFrameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    auto registry = std::make_unique<CDataViewRegistry>();
    registry->registerKind(kKindBrokenChain, [this](CDataViewHost& host, QWidget* parent) {
      chainView = new FakeChainView(host, parent);
      return chainView;
    });
    frame = std::make_unique<CMainFrame>(&dialogs, std::array<std::unique_ptr<CMapSlot>, kMapCount>{},
                                         std::move(registry));
  }

  // A road file written by the store itself.
  std::string makeRoadFile(const std::string& name, double firstMileage) {
    CInputRoadLibrary road;
    Scisson_Data chain;
    chain.Before_mileage = firstMileage;
    chain.After_mileage = firstMileage - 10;
    road.scissons.append(chain);
    std::string path = dir.path(name);
    EXPECT_TRUE(road.writeRoadFile(path));
    return path;
  }

  std::string makeRoadList(const std::vector<std::string>& paths) {
    std::string text;
    for (const std::string& p : paths) text += "road," + std::string("0.0000,0.0000,") + p + ",\r\n";
    std::string listPath = dir.path("roads.txt");
    writeFile(listPath, text);
    return listPath;
  }

  const RoadFileState& state() { return frame->commands().state(); }

  ScratchFolder dir;
  ScriptedDialogs dialogs;
  FakeChainView* chainView = nullptr;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(MainFrameTest, StartsWithTheRoadListAndNoRoad) {
  EXPECT_EQ(frame->activeKind(), kKindRoadList);
  EXPECT_EQ(state().roadOpen, 0);
  EXPECT_FALSE(frame->isDrawingPaneShown());
  EXPECT_FALSE(frame->saveAction()->isEnabled());
  EXPECT_FALSE(frame->editAction(kKindSlope)->isEnabled());
  EXPECT_FALSE(frame->viewAction(kViewZoomIn)->isEnabled());
  EXPECT_TRUE(frame->navigationPane()->button(0)->isEnabled());
  EXPECT_FALSE(frame->navigationPane()->button(1)->isEnabled());
  EXPECT_EQ(frame->windowTitle(), "Trazmark");
  EXPECT_EQ(frame->newAction()->shortcut(), QKeySequence("Ctrl+N"));
  EXPECT_EQ(frame->openAction()->shortcut(), QKeySequence("Ctrl+O"));
  EXPECT_EQ(frame->saveAction()->shortcut(), QKeySequence("Ctrl+S"));
}

TEST_F(MainFrameTest, NewThenSavePutsTheRoadAtTheTopOfTheRoadList) {
  std::string listPath = makeRoadList({dir.path("a.REC"), dir.path("b.REC")});
  frame->setRoadListPath(listPath);
  ASSERT_EQ(frame->roadManageView()->roadButtons().size(), 2u);

  std::string newPath = dir.path("new.REC");
  dialogs.saveNames.push_back(newPath);
  frame->commands().newRoad();
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].filter, "Files(*.REC)|*.REC|");
  EXPECT_EQ(state().roadOpen, 1);
  EXPECT_EQ(state().openedFromFile, 0);
  EXPECT_EQ(frame->windowTitle(), "Trazmark - new.REC");
  EXPECT_EQ(frame->activeKind(), kKindBrokenChain);  // the navigation refresh
  EXPECT_TRUE(frame->navigationPane()->button(7)->isEnabled());
  EXPECT_FALSE(fileExists(newPath));  // written only by Save

  ASSERT_TRUE(frame->commands().save());
  EXPECT_TRUE(fileExists(newPath));
  std::string list = readFile(listPath);
  EXPECT_EQ(list.substr(0, list.find("\r\n") + 2), "new.REC,0.0000,0.0000," + newPath + ",\r\n");
  const auto& buttons = frame->roadManageView()->roadButtons();
  ASSERT_EQ(buttons.size(), 3u);
  EXPECT_EQ(buttons[0]->text().toStdString(), newPath);

  // Saving again keeps one entry for the road, at the top.
  ASSERT_TRUE(frame->commands().save());
  EXPECT_EQ(frame->roadManageView()->roadButtons().size(), 3u);
  EXPECT_EQ(frame->roadManageView()->roadButtons()[0]->text().toStdString(), newPath);
  EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(MainFrameTest, SaveOfAnOpenedRoadLeavesTheRoadListAlone) {
  std::string road = makeRoadFile("opened.REC", 500);
  std::string listPath = makeRoadList({dir.path("a.REC")});
  frame->setRoadListPath(listPath);
  std::string before = readFile(listPath);

  dialogs.openNames.push_back(road);
  frame->commands().openRoad();
  EXPECT_EQ(state().openedFromFile, 1);
  ASSERT_EQ(frame->roadLibrary().scissons.count(), 1);
  EXPECT_DOUBLE_EQ(frame->roadLibrary().scissons[0].Before_mileage, 500);
  EXPECT_EQ(state().savedName, "opened");
  EXPECT_EQ(frame->windowTitle(), "Trazmark - opened.REC");

  ASSERT_TRUE(frame->commands().save());
  EXPECT_EQ(readFile(listPath), before);
  EXPECT_EQ(frame->roadManageView()->roadButtons().size(), 1u);
}

TEST_F(MainFrameTest, PendingEditsAreCommittedBeforeSaveAndViewsReloadAfterNew) {
  dialogs.saveNames.push_back(dir.path("r.REC"));
  frame->commands().newRoad();
  ASSERT_NE(chainView, nullptr);
  EXPECT_EQ(frame->dataView(kKindBrokenChain), chainView);
  int reloads = chainView->reloads;

  chainView->pending = true;
  ASSERT_TRUE(frame->commands().save());
  EXPECT_FALSE(chainView->pending);
  EXPECT_EQ(state().modified, 0);
  CInputRoadLibrary check;
  ASSERT_TRUE(check.readRoadFile(dir.path("r.REC")));
  ASSERT_EQ(check.scissons.count(), 1);
  EXPECT_DOUBLE_EQ(check.scissons[0].Before_mileage, 1200);

  dialogs.saveNames.push_back(dir.path("s.REC"));
  frame->commands().newRoad();
  EXPECT_EQ(chainView->reloads, reloads + 1);  // message 1624
  EXPECT_EQ(frame->roadLibrary().scissons.count(), 0);
}

TEST_F(MainFrameTest, CancelAtTheSaveQuestionStillRunsNewAndOpen) {
  dialogs.saveNames.push_back(dir.path("first.REC"));
  frame->commands().newRoad();
  chainView->pending = true;  // unsaved input: committed, so the road is modified

  dialogs.answers.push_back(false);  // Cancel
  dialogs.saveNames.push_back(dir.path("second.REC"));
  frame->commands().newRoad();
  ASSERT_EQ(dialogs.questions, std::vector<std::string>{"IDS_WARN_is_save_last_road"});
  EXPECT_EQ(state().roadPath, dir.path("second.REC"));
  EXPECT_FALSE(fileExists(dir.path("first.REC")));

  chainView->pending = true;
  std::string road = makeRoadFile("third.REC", 42);
  dialogs.answers.push_back(false);
  dialogs.openNames.push_back(road);
  frame->commands().openRoad();
  EXPECT_EQ(dialogs.questions.size(), 2u);
  EXPECT_EQ(state().roadPath, road);
  EXPECT_EQ(state().roadOpen, 1);
  EXPECT_FALSE(fileExists(dir.path("second.REC")));

  // OK saves the previous road first; a cancelled file dialog then changes nothing else.
  chainView->pending = true;
  dialogs.answers.push_back(true);
  frame->commands().openRoad();
  EXPECT_EQ(dialogs.questions.size(), 3u);
  EXPECT_EQ(state().roadPath, road);
  CInputRoadLibrary check;
  ASSERT_TRUE(check.readRoadFile(road));
  EXPECT_EQ(check.scissons.count(), 2);
}

TEST_F(MainFrameTest, IpFileWithTwoPointsIsReportedAndLeavesAnEmptyOpenRoad) {
  std::string ip = dir.path("survey.IP");
  writeFile(ip, "header 1\r\nheader 2\r\nheader 3\r\nJD1,1000,2000,0,0,0,0\r\nJD2,1100,2100,0,0,0,0\r\n");
  dialogs.openNames.push_back(ip);
  frame->commands().openRoad();
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_import_failed"});
  EXPECT_EQ(state().roadOpen, 1);
  EXPECT_FALSE(fileExists(dir.path("survey.RP")));
  EXPECT_EQ(frame->roadLibrary().crossPoints.count(), 0);

  // With three points the RP file is written beside it and handed on.
  writeFile(ip, "name,X,Y\r\nroad A\r\nunits m\r\nJD1,1000,2000,0,0,0,0\r\nJD2,1100,2100,0,300,0,0\r\nJD3,1300,2100,0,0,0,0\r\n");
  dialogs.warnings.clear();
  dialogs.openNames.push_back(ip);
  frame->commands().openRoad();
  EXPECT_TRUE(dialogs.warnings.empty());
  EXPECT_TRUE(fileExists(dir.path("survey.RP")));
  EXPECT_EQ(frame->roadLibrary().FlatcurveType, kFlatcurveCrossPoints);
  auto* flat = dynamic_cast<CPlaceholderView*>(frame->dataView(kKindFlatCurve));
  ASSERT_NE(flat, nullptr);
  EXPECT_EQ(flat->importedFile(), dir.path("survey.RP"));
}

TEST_F(MainFrameTest, LowerCaseRpIsAnIntersectionPointFile) {
  std::string rp = dir.path("road1.rp");
  writeFile(rp, "ROADNAME:road1.rp,\r\n");
  dialogs.openNames.push_back(rp);
  frame->commands().openRoad();
  EXPECT_EQ(frame->windowTitle(), "Trazmark - road1.rp");
  EXPECT_EQ(frame->roadLibrary().FlatcurveType, kFlatcurveCrossPoints);
  EXPECT_EQ(state().roadPath, rp);
  EXPECT_EQ(state().roadTitle, "road1");
  auto* flat = dynamic_cast<CPlaceholderView*>(frame->dataView(kKindFlatCurve));
  ASSERT_NE(flat, nullptr);
  EXPECT_EQ(flat->importedFile(), rp);
  EXPECT_TRUE(flat->message().contains(QString::fromStdString(rp)));
  EXPECT_TRUE(dialogs.warnings.empty());

  // Save writes the road file beside the imported text file, never over it.
  ASSERT_TRUE(frame->commands().save());
  EXPECT_EQ(readFile(rp), "ROADNAME:road1.rp,\r\n");
  EXPECT_TRUE(fileExists(dir.path("road1.REC")));

  std::string re = dir.path("road2.Re");
  writeFile(re, "");
  dialogs.openNames.push_back(re);
  frame->commands().openRoad();
  EXPECT_EQ(frame->roadLibrary().FlatcurveType, kFlatcurveElements);
}

TEST_F(MainFrameTest, VrFileMarksARoadOpenAndLoadsNothing) {
  std::string vr = dir.path("profile.VR");
  writeFile(vr, "anything\r\n");
  frame->roadLibrary().scissons.append(Scisson_Data());
  dialogs.openNames.push_back(vr);
  frame->commands().openRoad();
  EXPECT_EQ(state().roadOpen, 1);
  EXPECT_EQ(frame->windowTitle(), "Trazmark - profile.VR");
  EXPECT_EQ(frame->roadLibrary().scissons.count(), 0);
  EXPECT_EQ(frame->roadLibrary().FlatcurveType, kFlatcurveNone);
  EXPECT_EQ(frame->dataView(kKindFlatCurve), nullptr);
  EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(MainFrameTest, UnreadableRoadFileIsReportedAndNeverOverwritten) {
  std::string bad = dir.path("broken.REC");
  writeFile(bad, "not a road file");
  dialogs.openNames.push_back(bad);
  frame->commands().openRoad();
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_road_load_error"});
  EXPECT_EQ(state().roadOpen, 0);
  EXPECT_EQ(frame->activeKind(), kKindRoadList);
  EXPECT_FALSE(frame->commands().save());
  EXPECT_EQ(readFile(bad), "not a road file");
}

TEST_F(MainFrameTest, UnreadableAlignmentFileIsReported) {
  // A road button may name an intersection-point or element file that is gone.
  frame->commands().openRoadFromList(dir.path("gone.RP"));
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_import_failed"});
  EXPECT_EQ(state().roadOpen, 1);

  dialogs.warnings.clear();
  dialogs.openNames.push_back(dir.path("gone.RE"));
  frame->commands().openRoad();
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_import_failed"});
}

TEST_F(MainFrameTest, CancelledFileDialogsChangeNothing) {
  frame->commands().newRoad();
  frame->commands().openRoad();
  EXPECT_EQ(state().roadOpen, 0);
  EXPECT_EQ(dialogs.requests.size(), 2u);
  EXPECT_EQ(frame->windowTitle(), "Trazmark");
}

TEST_F(MainFrameTest, RoadButtonOpensItsRoad) {
  std::vector<std::string> roads = {makeRoadFile("north.REC", 100), makeRoadFile("east.REC", 200),
                                    makeRoadFile("south.REC", 300)};
  frame->setRoadListPath(makeRoadList(roads));
  const auto& buttons = frame->roadManageView()->roadButtons();
  ASSERT_EQ(buttons.size(), 3u);
  buttons[1]->click();
  EXPECT_EQ(state().roadPath, roads[1]);
  EXPECT_EQ(state().openedFromFile, 1);
  EXPECT_EQ(frame->windowTitle(), "Trazmark - east.REC");
  ASSERT_EQ(frame->roadLibrary().scissons.count(), 1);
  EXPECT_DOUBLE_EQ(frame->roadLibrary().scissons[0].Before_mileage, 200);
}

TEST_F(MainFrameTest, DrawingPaneFollowsTheKindOfTheView) {
  dialogs.saveNames.push_back(dir.path("r.REC"));
  frame->commands().newRoad();
  for (int kind = 0; kind < kDataKindCount; ++kind) {
    frame->showDataView(kind);
    bool withMap = kind == kKindFlatCurve || kind == kKindVerCurve || kind == kKindCrossSection;
    EXPECT_EQ(frame->isDrawingPaneShown(), withMap) << kind;
    EXPECT_EQ(frame->viewAction(kViewMove)->isEnabled(), withMap) << kind;
    EXPECT_EQ(frame->activeKind(), kind);
    ASSERT_NE(frame->dataView(kind), nullptr);
  }
  frame->showDataView(kKindVerCurve);
  EXPECT_TRUE(frame->drawingPane()->isMapShown(kProfileMap));
  EXPECT_FALSE(frame->drawingPane()->isMapShown(kPlanMap));
  // A view, once made, is kept.
  CDataView* slope = frame->dataView(kKindSlope);
  frame->showDataView(kKindSlope);
  EXPECT_EQ(frame->dataView(kKindSlope), slope);
}

TEST_F(MainFrameTest, SaveWithoutARoadPathIsRefused) {
  // A road list entry with an empty path opens a road without a file name.
  frame->commands().openRoadFromList("");
  EXPECT_EQ(state().roadOpen, 1);
  EXPECT_FALSE(frame->commands().save());
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_name_empty_save_failed"});
}

}  // namespace
}  // namespace trazmark
