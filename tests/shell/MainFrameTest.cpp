// The main frame's file commands through the dialog seam: New, Open with the
// loader by type code, Save with the road list, the save question, and the
// data views that the frame creates and switches.

#include <gtest/gtest.h>

#include <unistd.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QEventLoop>
#include <QPointer>
#include <QStatusBar>
#include <QTimer>

#include "support/UiTestSupport.h"
#include "shell/FakeChainView.h"
#include "shell/BottomDockPane.h"
#include "shell/LeftDockPane.h"
#include "shell/MainFrame.h"
#include "shell/MyButton.h"
#include "shell/RoadManageView.h"

namespace trazmark {
namespace {

using test::FakeChainView;
using test::fileExists;
using test::readFile;
using test::ScratchFolder;
using test::ScriptedDialogs;
using test::writeFile;

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
  EXPECT_EQ(buttons[0]->toolTip().toStdString(), newPath);

  // Saving again keeps one entry for the road, at the top.
  ASSERT_TRUE(frame->commands().save());
  EXPECT_EQ(frame->roadManageView()->roadButtons().size(), 3u);
  EXPECT_EQ(frame->roadManageView()->roadButtons()[0]->toolTip().toStdString(), newPath);
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

TEST_F(MainFrameTest, DontSaveAtTheSaveQuestionStillRunsNewAndOpen) {
  dialogs.saveNames.push_back(dir.path("first.REC"));
  frame->commands().newRoad();
  chainView->pending = true;  // unsaved input: committed, so the road is modified

  dialogs.answers.push_back(false);  // Don't save
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

TEST_F(MainFrameTest, CancelAtTheSaveQuestionStaysWithTheEdits) {
  dialogs.saveNames.push_back(dir.path("first.REC"));
  frame->commands().newRoad();
  chainView->pending = true;
  std::string road = makeRoadFile("other.REC", 42);

  dialogs.saveAnswers.push_back(UserDialogs::SaveAnswer::kCancel);
  dialogs.saveNames.push_back(dir.path("second.REC"));
  frame->commands().newRoad();
  dialogs.saveAnswers.push_back(UserDialogs::SaveAnswer::kCancel);
  dialogs.openNames.push_back(road);
  frame->commands().openRoad();

  EXPECT_EQ(dialogs.questions.size(), 2u);
  EXPECT_EQ(state().roadPath, dir.path("first.REC"));
  EXPECT_EQ(state().modified, 1);
  EXPECT_FALSE(fileExists(dir.path("second.REC")));
  EXPECT_EQ(dialogs.saveNames.size(), 1u);  // no file dialog was shown
  EXPECT_EQ(dialogs.openNames.size(), 1u);
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

TEST_F(MainFrameTest, SurveyFileReplacesAnotherRpFileBesideItOnlyWhenTheUserSaysSo) {
  std::string ip = dir.path("survey.IP");
  writeFile(ip, "head 1\r\nhead 2\r\nhead 3\r\nJD1,1000,2000,0,0,0,0\r\nJD2,1100,2100,0,300,0,0\r\nJD3,1300,2100,0,0,0,0\r\n");
  std::string rp = dir.path("survey.RP");
  const std::string ownPoints = "ROADNAME:survey.RP,\r\nCROSSPT :A,1,2,0,,0,0,0,0,\r\n";
  writeFile(rp, ownPoints);

  dialogs.openNames.push_back(ip);
  frame->commands().openRoad();  // Cancel
  EXPECT_EQ(dialogs.replaceQuestions, std::vector<std::string>{rp});
  EXPECT_EQ(readFile(rp), ownPoints);
  EXPECT_EQ(state().roadOpen, 0);

  dialogs.replaceAnswers.push_back(UserDialogs::ReplaceAnswer::kReplace);
  frame->commands().openRoadFromList(ip);
  EXPECT_NE(readFile(rp), ownPoints);
  EXPECT_EQ(state().roadOpen, 1);
  // The same survey again changes nothing, so nothing is asked.
  frame->commands().openRoadFromList(ip);
  EXPECT_EQ(dialogs.replaceQuestions.size(), 2u);
}

TEST_F(MainFrameTest, LowerCaseRpIsAnIntersectionPointFile) {
  std::string rp = dir.path("road1.rp");
  writeFile(rp, "ROADNAME:road1.rp,\r\n");
  dialogs.openNames.push_back(rp);
  frame->commands().openRoad();
  // The title also names the road file that Save writes.
  EXPECT_EQ(frame->windowTitle(), "Trazmark - road1.rp - Save: road1.REC");
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
  EXPECT_EQ(frame->windowTitle(), "Trazmark - profile.VR - Save: profile.REC");
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

// Lets queued calls, deferred deletions and timers of `milliseconds` run.
void runEventLoop(int milliseconds = 0) {
  QEventLoop loop;
  QTimer::singleShot(milliseconds, &loop, &QEventLoop::quit);
  loop.exec();
}

TEST_F(MainFrameTest, SaveOfAnImportedFileAsksBeforeReplacingTheRoadFileBesideIt) {
  std::string rec = makeRoadFile("road1.REC", 500);
  const std::string recBytes = readFile(rec);
  std::string listPath = makeRoadList({rec});
  frame->setRoadListPath(listPath);
  const std::string listBytes = readFile(listPath);
  std::string rp = dir.path("road1.RP");
  writeFile(rp, "ROADNAME:road1.RP,\r\n");
  dialogs.openNames.push_back(rp);
  frame->commands().openRoad();
  EXPECT_EQ(frame->commands().saveTarget(), rec);
  EXPECT_TRUE(frame->windowTitle().contains("road1.REC"));

  // Cancel: nothing is written.
  EXPECT_FALSE(frame->commands().save());
  EXPECT_EQ(dialogs.replaceQuestions, std::vector<std::string>{rec});
  EXPECT_EQ(readFile(rec), recBytes);

  // Another name: the road becomes that file and Save goes on writing it.
  dialogs.replaceAnswers.push_back(UserDialogs::ReplaceAnswer::kChooseAnotherName);
  dialogs.saveNames.push_back(dir.path("road1-new"));
  ASSERT_TRUE(frame->commands().save());
  EXPECT_EQ(readFile(rec), recBytes);
  EXPECT_TRUE(fileExists(dir.path("road1-new.REC")));
  EXPECT_EQ(dialogs.requests.back().filter, "Files(*.REC)|*.REC|");
  EXPECT_EQ(frame->windowTitle(), "Trazmark - road1-new.REC");
  ASSERT_TRUE(frame->commands().save());
  EXPECT_EQ(dialogs.replaceQuestions.size(), 2u);
  EXPECT_EQ(readFile(rp), "ROADNAME:road1.RP,\r\n");

  // Replace: asked once, then the file is the road's own.
  dialogs.openNames.push_back(rp);
  frame->commands().openRoad();
  dialogs.replaceAnswers.push_back(UserDialogs::ReplaceAnswer::kReplace);
  ASSERT_TRUE(frame->commands().save());
  ASSERT_TRUE(frame->commands().save());
  EXPECT_EQ(dialogs.replaceQuestions.size(), 3u);
  CInputRoadLibrary check;
  ASSERT_TRUE(check.readRoadFile(rec));
  EXPECT_EQ(check.scissons.count(), 0);

  // Without a road file beside it, Save writes one without a question.
  std::string re = dir.path("fresh.RE");
  writeFile(re, "");
  dialogs.openNames.push_back(re);
  frame->commands().openRoad();
  ASSERT_TRUE(frame->commands().save());
  EXPECT_TRUE(fileExists(dir.path("fresh.REC")));
  EXPECT_EQ(dialogs.replaceQuestions.size(), 3u);
  EXPECT_TRUE(dialogs.warnings.empty());
  EXPECT_EQ(readFile(listPath), listBytes);  // opened files are not listed
}

TEST_F(MainFrameTest, SaveAsWritesTheChosenFileAndLaterSavesFollowIt) {
  EXPECT_EQ(frame->saveAsAction()->shortcut(), QKeySequence("Ctrl+Shift+S"));
  EXPECT_FALSE(frame->saveAsAction()->isEnabled());
  std::string listPath = makeRoadList({dir.path("a.REC")});
  frame->setRoadListPath(listPath);
  dialogs.saveNames.push_back(dir.path("first.REC"));
  frame->commands().newRoad();
  ASSERT_TRUE(frame->commands().save());
  EXPECT_TRUE(frame->saveAsAction()->isEnabled());

  // Cancelled: nothing changes.
  EXPECT_FALSE(frame->commands().saveAs());
  EXPECT_EQ(frame->commands().saveTarget(), dir.path("first.REC"));

  dialogs.saveNames.push_back(dir.path("second.REC"));
  chainView->pending = true;
  ASSERT_TRUE(frame->commands().saveAs());
  EXPECT_EQ(dialogs.requests.back().suggestedName, "first.REC");
  EXPECT_EQ(frame->windowTitle(), "Trazmark - second.REC");
  CInputRoadLibrary check;
  ASSERT_TRUE(check.readRoadFile(dir.path("second.REC")));
  EXPECT_EQ(check.scissons.count(), 1);
  ASSERT_TRUE(check.readRoadFile(dir.path("first.REC")));
  EXPECT_EQ(check.scissons.count(), 0);  // the earlier file keeps what it had
  // A road made with New is listed under the file written.
  EXPECT_EQ(frame->roadManageView()->roadButtons()[0]->toolTip().toStdString(), dir.path("second.REC"));
}

TEST_F(MainFrameTest, NewRoadNamedWithADotIsSavedAsARoadFileUnderThatName) {
  std::string other = makeRoadFile("G210.REC", 700);
  const std::string otherBytes = readFile(other);
  std::string listPath = makeRoadList({other});
  frame->setRoadListPath(listPath);

  dialogs.saveNames.push_back(dir.path("G210.5"));
  frame->commands().newRoad();
  EXPECT_EQ(state().roadPath, dir.path("G210.5.REC"));
  EXPECT_EQ(frame->windowTitle(), "Trazmark - G210.5.REC");
  ASSERT_TRUE(frame->commands().save());
  EXPECT_TRUE(fileExists(dir.path("G210.5.REC")));
  EXPECT_EQ(readFile(other), otherBytes);
  std::string list = readFile(listPath);
  EXPECT_EQ(list.substr(0, list.find("\r\n") + 2), "G210.5.REC,0.0000,0.0000," + dir.path("G210.5.REC") + ",\r\n");

  // The dialog asked only about "K1.5"; an existing "K1.5.REC" is asked about here.
  std::string k = makeRoadFile("K1.5.REC", 1);
  const std::string kBytes = readFile(k);
  dialogs.saveNames.push_back(dir.path("K1.5"));
  frame->commands().newRoad();  // Cancel
  EXPECT_EQ(dialogs.replaceQuestions, std::vector<std::string>{k});
  EXPECT_EQ(state().roadPath, dir.path("G210.5.REC"));
  dialogs.saveNames.push_back(dir.path("K1.5"));
  dialogs.replaceAnswers.push_back(UserDialogs::ReplaceAnswer::kChooseAnotherName);
  dialogs.saveNames.push_back(dir.path("K1.6.rec"));
  frame->commands().newRoad();
  EXPECT_EQ(state().roadPath, dir.path("K1.6.rec"));
  EXPECT_EQ(readFile(k), kBytes);
}

TEST_F(MainFrameTest, AFailedSaveInTheSaveQuestionStopsTheCommandAndKeepsTheEdits) {
  std::string other = makeRoadFile("other.REC", 300);
  const std::string otherBytes = readFile(other);
  std::string listPath = makeRoadList({other});
  frame->setRoadListPath(listPath);
  const std::string listBytes = readFile(listPath);
  // A road whose folder has gone: its Save fails.
  dialogs.saveNames.push_back(dir.path("gone/road.REC"));
  frame->commands().newRoad();
  chainView->pending = true;

  auto expectStopped = [&](const char* command) {
    EXPECT_EQ(state().roadPath, dir.path("gone/road.REC")) << command;
    EXPECT_EQ(state().modified, 1) << command;
    EXPECT_EQ(frame->roadLibrary().scissons.count(), 1) << command;
    ASSERT_FALSE(dialogs.warnings.empty()) << command;
    EXPECT_EQ(dialogs.warnings.back(), "IDS_WARN_save_file_failed") << command;
    EXPECT_EQ(dialogs.details.back(), dir.path("gone/road.REC") + "\nIDS_WARN_reason_folder_missing") << command;
  };
  std::size_t fileDialogs = dialogs.requests.size();
  dialogs.answers.push_back(true);
  frame->commands().openRoad();
  expectStopped("open");
  dialogs.answers.push_back(true);
  frame->commands().newRoad();
  expectStopped("new");
  EXPECT_EQ(dialogs.requests.size(), fileDialogs);  // no file dialog was shown
  dialogs.answers.push_back(true);
  frame->commands().openRoadFromList(other);
  expectStopped("road button");
  dialogs.answers.push_back(true);
  EXPECT_FALSE(frame->close());
  expectStopped("close");
  EXPECT_EQ(dialogs.warnings.size(), 4u);
  EXPECT_EQ(readFile(listPath), listBytes);
  EXPECT_EQ(readFile(other), otherBytes);

  // Cancel at the save question still goes on.
  dialogs.answers.push_back(false);
  frame->commands().openRoadFromList(other);
  EXPECT_EQ(state().roadPath, other);
}

TEST_F(MainFrameTest, CancelledReplaceInTheSaveQuestionStopsTheCommand) {
  std::string rec = makeRoadFile("r.REC", 10);
  std::string rp = dir.path("r.RP");
  writeFile(rp, "ROADNAME:r.RP,\r\n");
  dialogs.openNames.push_back(rp);
  frame->commands().openRoad();
  chainView->pending = true;
  dialogs.answers.push_back(true);  // save: the replace question is cancelled
  frame->commands().newRoad();
  EXPECT_EQ(state().roadPath, rp);
  EXPECT_EQ(state().modified, 1);
  EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(MainFrameTest, ARoadListThatCannotBeWrittenIsReported) {
  std::string listPath = dir.path("nowhere/roads.txt");
  frame->setRoadListPath(listPath);
  dialogs.saveNames.push_back(dir.path("n.REC"));
  frame->commands().newRoad();
  EXPECT_TRUE(frame->commands().save());  // the road itself is saved
  EXPECT_TRUE(fileExists(dir.path("n.REC")));
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_road_list_save_failed"});
  EXPECT_EQ(dialogs.details, std::vector<std::string>{listPath + "\nIDS_WARN_reason_folder_missing"});
}

TEST_F(MainFrameTest, RoadButtonThatSavesTheRoadListOpensItsOwnRoad) {
  std::vector<std::string> roads = {makeRoadFile("north.REC", 100), makeRoadFile("east.REC", 200),
                                    makeRoadFile("south.REC", 300)};
  frame->setRoadListPath(makeRoadList(roads));
  dialogs.saveNames.push_back(dir.path("made.REC"));
  frame->commands().newRoad();
  chainView->pending = true;
  dialogs.answers.push_back(true);  // saving the new road puts it at the top of the list

  QPointer<CMyButton> east = frame->roadManageView()->roadButtons()[1];
  east->click();
  EXPECT_EQ(state().roadPath, roads[1]);
  ASSERT_EQ(frame->roadLibrary().scissons.count(), 1);
  EXPECT_DOUBLE_EQ(frame->roadLibrary().scissons[0].Before_mileage, 200);
  EXPECT_FALSE(east.isNull());  // it outlives its own click

  runEventLoop();
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  const auto& buttons = frame->roadManageView()->roadButtons();
  ASSERT_EQ(buttons.size(), 4u);
  EXPECT_EQ(buttons[0]->toolTip().toStdString(), dir.path("made.REC"));
  EXPECT_TRUE(east.isNull());
}

TEST_F(MainFrameTest, FailuresNameTheFileAndTheReason) {
  std::string missing = dir.path("missing.REC");
  std::string junk = dir.path("junk.REC");
  writeFile(junk, "<HEAD>not a road</HEAD>");
  std::string folder = dir.path("folder.REC");
  QDir().mkpath(QString::fromStdString(folder));
  struct Case {
    std::string path;
    const char* reason;
  } cases[] = {{missing, "IDS_WARN_reason_file_missing"},
               {junk, "IDS_WARN_reason_not_a_road_file"},
               {folder, "IDS_WARN_reason_is_folder"}};
  for (const Case& c : cases) {
    dialogs.details.clear();
    dialogs.openNames.push_back(c.path);
    frame->commands().openRoad();
    EXPECT_EQ(dialogs.details, std::vector<std::string>{c.path + "\n" + c.reason}) << c.path;
  }
  EXPECT_EQ(readFile(junk), "<HEAD>not a road</HEAD>");

  dialogs.details.clear();
  frame->commands().openRoadFromList(dir.path("lost.XY"));
  EXPECT_EQ(dialogs.details, std::vector<std::string>{dir.path("lost.XY") + "\nIDS_WARN_reason_file_missing"});
}

TEST(FileProblem, NamesWhatTheSystemRefused) {
  test::application();
  ScratchFolder dir;
  writeFile(dir.path("plain.REC"), "x");
  QDir().mkpath(QString::fromStdString(dir.path("sub")));
  struct Case {
    std::string path;
    bool writing;
    std::string key;
  } cases[] = {
      {dir.path("none.REC"), false, "IDS_WARN_reason_file_missing"},
      {dir.path("plain.REC"), false, ""},  // readable: the content is at fault
      {dir.path("sub"), false, "IDS_WARN_reason_is_folder"},
      {dir.path("sub"), true, "IDS_WARN_reason_is_folder"},
      {dir.path("none/x.REC"), true, "IDS_WARN_reason_folder_missing"},
      {dir.path("plain.REC"), true, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(fileProblemKey(c.path, c.writing), c.key) << c.path << " " << c.writing;

  if (::geteuid() != 0) {  // permissions do not bind the superuser
    writeFile(dir.path("sub/locked.REC"), "x");
    QFile::setPermissions(QString::fromStdString(dir.path("sub/locked.REC")), QFile::ReadOwner);
    EXPECT_EQ(fileProblemKey(dir.path("sub/locked.REC"), true), "IDS_WARN_reason_file_not_writable");
    QFile::setPermissions(QString::fromStdString(dir.path("sub")), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_EQ(fileProblemKey(dir.path("sub/new.REC"), true), "IDS_WARN_reason_folder_not_writable");
    QFile::setPermissions(QString::fromStdString(dir.path("sub")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QFile::setPermissions(QString::fromStdString(dir.path("sub/locked.REC")), QFile::WriteOwner);
    EXPECT_EQ(fileProblemKey(dir.path("sub/locked.REC"), false), "IDS_WARN_reason_not_readable");
  }
}

TEST_F(MainFrameTest, SaveSaysInTheStatusBarWhichFileItWroteAndTheMessageClears) {
  frame->setStatusMessageTime(50);
  dialogs.saveNames.push_back(dir.path("s.REC"));
  frame->commands().newRoad();
  ASSERT_TRUE(frame->commands().save());
  EXPECT_EQ(frame->statusBar()->currentMessage(), QString::fromStdString("Saved: " + dir.path("s.REC")));
  runEventLoop(200);
  EXPECT_TRUE(frame->statusBar()->currentMessage().isEmpty());
}

TEST_F(MainFrameTest, FileDialogsStartInTheFolderLastUsedAlsoAfterARestart) {
  QDir().mkpath(QString::fromStdString(dir.path("sub")));
  std::string road = makeRoadFile("sub/far.REC", 5);
  dialogs.openNames.push_back(road);
  frame->commands().openRoad();
  frame->commands().newRoad();  // cancelled
  EXPECT_EQ(dialogs.requests.back().startFolder, dir.path("sub"));

  ScriptedDialogs again;
  CMainFrame restarted(&again);
  restarted.commands().openRoad();
  ASSERT_EQ(again.requests.size(), 1u);
  EXPECT_EQ(again.requests[0].startFolder, dir.path("sub"));
}

TEST_F(MainFrameTest, AClosedDrawingPaneCanBeShownAgainFromTheViewMenu) {
  EXPECT_FALSE(frame->drawingPaneAction()->isEnabled());  // the road list has no map
  dialogs.saveNames.push_back(dir.path("r.REC"));
  frame->commands().newRoad();
  frame->show();
  frame->showDataView(kKindFlatCurve);
  ASSERT_TRUE(frame->isDrawingPaneShown());
  frame->drawingPane()->close();
  EXPECT_FALSE(frame->isDrawingPaneShown());
  ASSERT_TRUE(frame->drawingPaneAction()->isEnabled());
  frame->drawingPaneAction()->trigger();
  EXPECT_TRUE(frame->isDrawingPaneShown());
  EXPECT_TRUE(frame->drawingPane()->isMapShown(kPlanMap));
}

}  // namespace
}  // namespace trazmark
