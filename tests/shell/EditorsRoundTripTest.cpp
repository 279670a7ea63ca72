// A road entered through the broken chain, slope, superelevation and widening
// views (the other lists filled in the store, as their own views would) is
// saved by the frame, opened again unchanged, counted by `trazmark-cli info`,
// and its broken chains move the stations that `trazmark-cli point` computes.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <cstdio>
#include <deque>
#include <functional>

#include "crosssection/qt/RoadSlopeNewDlg.h"
#include "crosssection/qt/RoadSlopeView.h"
#include "crosssection/qt/RoadSuperHighNewDlg.h"
#include "crosssection/qt/RoadSuperHighView.h"
#include "editors/qt/RoadChainNewDlg.h"
#include "editors/qt/RoadChainView.h"
#include "shell/MainFrame.h"
#include "support/UiTestSupport.h"

namespace trazmark {
namespace {

using test::readFile;
using test::ScratchFolder;
using test::ScriptedDialogs;

std::string run(const std::string& command) {
  std::string out;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return out;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
  pclose(pipe);
  return out;
}

const std::string kCli = std::string(TRAZMARK_BINARY_DIR) + "/src/cli/trazmark-cli";

// Fills what the views of other engineers' kinds would enter: the horizontal
// method `method`, grade points and both sides of the cross section.
void fillOtherLists(CInputRoadLibrary& road, int method) {
  road.FlatcurveType = method;
  if (method == kFlatcurveCrossPoints) {
    const double xy[3][2] = {{0, 0}, {500, 0}, {800, 300}};
    for (int i = 0; i < 3; ++i) {
      Road_CrossPoint p;
      p.point.Name = "JD" + std::to_string(i);
      p.point.X = xy[i][0];
      p.point.Y = xy[i][1];
      p.Radius = i == 1 ? 300 : 0;
      p.CurveLength_Left = p.CurveLength_Right = i == 1 ? 60 : 0;
      road.crossPoints.append(p);
    }
  } else if (method == kFlatcurveElements) {
    Road_Element start;
    start.Type = 1;
    Road_Element line;
    line.Type = 2;
    line.Length = 1000;
    road.elements.append(start);
    road.elements.append(line);
  } else {
    Road_LineElement start;
    start.Type = 1;
    start.Deviation = -1;
    Road_LineElement line;
    line.Type = 2;
    line.Length = 1000;
    line.Deviation = -1;
    line.StartRadius = line.EndRadius = -1;
    road.lineElements.append(start);
    road.lineElements.append(line);
  }
  for (double m : {0.0, 400.0, 1000.0}) {
    CVerticalCurveCal g;
    g.Mileage = m;
    g.High = 100 + m / 100;
    g.Radius = m == 400 ? 5000 : 0;
    road.verticalCurves.append(g);
  }
  for (auto [name, width] : {std::pair{"lane", 3.75}, {"shoulder", 0.75}}) {
    Road_Section_Item c;
    c.setModuleName(name);
    c.Width = width;
    c.Slope = 2;
    c.LeftOrRight = 0;
    road.leftSections.append(c);
    c.LeftOrRight = 1;
    road.rightSections.append(c);
  }
}

class EditorsRoundTripTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    frame = std::make_unique<CMainFrame>(&dialogs);
  }

  template <class View>
  View* show(int kind) {
    frame->showDataView(kind);
    auto* view = dynamic_cast<View*>(frame->dataView(kind));
    EXPECT_NE(view, nullptr);
    view->setDialogRunner([this](QDialog& d) {
      if (fills.empty()) return false;
      auto fill = std::move(fills.front());
      fills.pop_front();
      fill(d);
      return d.result() == QDialog::Accepted;
    });
    return view;
  }

  void chain(const char* before, const char* after) {
    fills.push_back([=](QDialog& d) {
      auto& c = dynamic_cast<CRoadChainNewDlg&>(d);
      c.beforeEdit()->setText(before);
      c.afterEdit()->setText(after);
      c.tryAccept();
    });
  }
  void superPoint(int component, const char* value, const char* mileage, int mode) {
    fills.push_back([=](QDialog& d) {
      auto& s = dynamic_cast<CRoadSuperHighNewDlg&>(d);
      s.nameBox()->setCurrentIndex(component);
      s.modeBox()->setCurrentIndex(mode);
      s.valueEdit()->setText(value);
      s.mileageEdit()->setText(mileage);
      s.tryAccept();
    });
  }

  ScratchFolder dir;
  ScriptedDialogs dialogs;
  std::unique_ptr<CMainFrame> frame;
  std::deque<std::function<void(QDialog&)>> fills;
};

TEST_F(EditorsRoundTripTest, EveryListSurvivesSaveCloseAndOpen) {
  for (int method : {kFlatcurveCrossPoints, kFlatcurveElements, kFlatcurveLineElements}) {
    SCOPED_TRACE(method);
    const std::string path = dir.path("road" + std::to_string(method) + ".REC");
    dialogs.saveNames.push_back(path);
    frame->commands().newRoad();
    fillOtherLists(frame->roadLibrary(), method);

    auto* chains = show<CRoadChainView>(kKindBrokenChain);
    chain("400", "450");
    chain("800.5", "790");
    chains->add();
    chains->add();

    auto* slopes = show<CRoadSlopeView>(kKindSlope);
    fills.push_back([](QDialog& d) {
      auto& s = dynamic_cast<CRoadSlopeNewDlg&>(d);
      s.nameEdit()->setText("K1");
      s.rightButton()->setChecked(true);
      s.fillButton()->setChecked(true);
      s.startEdit()->setText("100");
      s.endEdit()->setText("300.25");
      s.tryAccept();
    });
    slopes->newSlope();
    slopes->slopeTable()->selectRow(0);
    slopes->showSteps();
    for (bool platform : {false, true}) {
      fills.push_back([platform](QDialog& d) {
        auto& s = dynamic_cast<CRoadSlopeItemNewDlg&>(d);
        (platform ? s.platformButton() : s.surfaceButton())->setChecked(true);
        s.nameEdit()->setText(platform ? "P1" : "S1");
        s.firstEdit()->setText(platform ? "2" : "8");
        s.secondEdit()->setText(platform ? "3" : "1.5");
        s.tryAccept();
      });
      slopes->newStep();
    }
    slopes->stepsDone();

    auto* supers = show<CRoadSuperHighView>(kKindSuperHigh);
    superPoint(0, "2", "100", 0);
    superPoint(3, "-4", "150", 1);
    supers->add();
    supers->add();
    auto* widens = show<CRoadSuperHighView>(kKindSuperWiden);
    superPoint(1, "1.25", "200", 2);
    widens->add();

    // Nothing saved in a view: the frame's Save commits every view first.
    ASSERT_TRUE(frame->commands().save());
    EXPECT_FALSE(chains->hasPendingInput());
    EXPECT_FALSE(slopes->hasPendingInput());
    EXPECT_FALSE(widens->hasPendingInput());
    const std::string saved = readFile(path);

    dialogs.saveNames.push_back(dir.path("other.REC"));
    frame->commands().newRoad();  // close: the store is emptied
    EXPECT_TRUE(frame->roadLibrary().scissons.empty());
    dialogs.openNames.push_back(path);
    frame->commands().openRoad();
    const CInputRoadLibrary& road = frame->roadLibrary();
    EXPECT_EQ(road.FlatcurveType, method);
    ASSERT_EQ(road.scissons.count(), 2);
    EXPECT_EQ(road.scissons[1].Before_mileage, 800.5);
    ASSERT_EQ(road.slopes.count(), 1);
    ASSERT_EQ(road.slopes[0].items.count(), 2);
    EXPECT_EQ(road.slopes[0].items[1].Width, 2);
    EXPECT_EQ(road.superHighs.count(), 2);
    ASSERT_EQ(road.widens.count(), 1);
    EXPECT_EQ(road.widens[0].SectionName, "shoulder");
    EXPECT_EQ(road.widens[0].values[0].Mode, 2);
    // The views show the opened road again (message 1624).
    EXPECT_EQ(chains->editor().chains().count(), 2);
    EXPECT_EQ(widens->editor().rowCount(), 1);

    const std::string resaved = dir.path("again.REC");
    ASSERT_TRUE(road.writeRoadFile(resaved));
    EXPECT_EQ(readFile(resaved), saved);

    const std::string info = run("'" + kCli + "' info '" + path + "'");
    for (const char* line : {"broken chains      2", "grade points       3", "left sections      2",
                             "right sections     2", "slopes             1", "superelevation     2",
                             "widening           1"}) {
      EXPECT_NE(info.find(line), std::string::npos) << line << "\n" << info;
    }
    const char* methodLine = method == 0 ? "intersection pts   3" : method == 1 ? "elements           2"
                                                                                : "line elements      2";
    EXPECT_NE(info.find(methodLine), std::string::npos) << info;
  }
}

TEST_F(EditorsRoundTripTest, NewCommitsTheUnsavedEditsOfEveryViewFirst) {
  const std::string path = dir.path("pending.REC");
  dialogs.saveNames.push_back(path);
  frame->commands().newRoad();
  fillOtherLists(frame->roadLibrary(), kFlatcurveElements);
  auto* chains = show<CRoadChainView>(kKindBrokenChain);
  chain("100", "90");
  chains->add();
  auto* slopes = show<CRoadSlopeView>(kKindSlope);
  fills.push_back([](QDialog& d) {
    auto& s = dynamic_cast<CRoadSlopeNewDlg&>(d);
    s.nameEdit()->setText("K1");
    s.tryAccept();
  });
  slopes->newSlope();
  auto* supers = show<CRoadSuperHighView>(kKindSuperHigh);
  superPoint(0, "2", "100", 0);
  supers->add();
  auto* widens = show<CRoadSuperHighView>(kKindSuperWiden);
  superPoint(0, "4", "100", 0);
  widens->add();

  // New: the views' edits reach the road, so the road counts as modified and
  // the save question (answered OK) writes them before the store is emptied.
  dialogs.answers = {true};
  dialogs.saveNames.push_back(dir.path("next.REC"));
  frame->commands().newRoad();
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{"IDS_WARN_is_save_last_road"});
  for (CDataView* view : {static_cast<CDataView*>(chains), static_cast<CDataView*>(slopes),
                          static_cast<CDataView*>(supers), static_cast<CDataView*>(widens)})
    EXPECT_FALSE(view->hasPendingInput());
  CInputRoadLibrary saved;
  ASSERT_TRUE(saved.readRoadFile(path));
  EXPECT_EQ(saved.scissons.count(), 1);
  EXPECT_EQ(saved.slopes.count(), 1);
  EXPECT_EQ(saved.superHighs.count(), 1);
  EXPECT_EQ(saved.widens.count(), 1);
  EXPECT_TRUE(frame->roadLibrary().scissons.empty());
}

TEST_F(EditorsRoundTripTest, SlopeStepsLeftOnTheStepPageAreSavedOrAskedAbout) {
  const std::string path = dir.path("steps.REC");
  dialogs.saveNames.push_back(path);
  frame->commands().newRoad();
  auto* slopes = show<CRoadSlopeView>(kKindSlope);
  auto step = [this](const char* name) {
    fills.push_back([name](QDialog& d) {
      auto& s = dynamic_cast<CRoadSlopeItemNewDlg&>(d);
      s.nameEdit()->setText(name);
      s.firstEdit()->setText("8");
      s.secondEdit()->setText("1.5");
      s.tryAccept();
    });
  };
  fills.push_back([](QDialog& d) {
    auto& s = dynamic_cast<CRoadSlopeNewDlg&>(d);
    s.nameEdit()->setText("K1");
    s.tryAccept();
  });
  slopes->newSlope();
  slopes->slopeTable()->selectRow(0);
  slopes->showSteps();
  step("S1");
  slopes->newStep();

  // File -> Save with the step page shown writes the step.
  ASSERT_TRUE(frame->commands().save());
  CInputRoadLibrary saved;
  ASSERT_TRUE(saved.readRoadFile(path));
  ASSERT_EQ(saved.slopes.count(), 1);
  ASSERT_EQ(saved.slopes[0].items.count(), 1);
  EXPECT_EQ(saved.slopes[0].items[0].ItemName, "S1");
  slopes->stepsDone();
  EXPECT_FALSE(slopes->hasPendingInput());

  // A step added later and left on the step page: New asks before it goes.
  slopes->showSteps();
  step("S2");
  slopes->newStep();
  dialogs.answers = {true};
  dialogs.saveNames.push_back(dir.path("next.REC"));
  frame->commands().newRoad();
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{"IDS_WARN_is_save_last_road"});
  CInputRoadLibrary again;
  ASSERT_TRUE(again.readRoadFile(path));
  ASSERT_EQ(again.slopes.count(), 1);
  EXPECT_EQ(again.slopes[0].items.count(), 2);
}

TEST_F(EditorsRoundTripTest, ChainsSavedInTheViewMoveTheCommandLineStations) {
  const std::string path = dir.path("straight.REC");
  dialogs.saveNames.push_back(path);
  frame->commands().newRoad();
  fillOtherLists(frame->roadLibrary(), kFlatcurveElements);  // 1000 m due north
  auto* chains = show<CRoadChainView>(kKindBrokenChain);
  chain("400", "450");  // a short chain: stations 400 to 450 are skipped
  chains->add();
  chains->save();
  ASSERT_TRUE(frame->commands().save());

  // Displayed 460 is 10 m beyond the chain, 410 m along the road.
  const std::string point = run("'" + kCli + "' point '" + path + "' 460");
  EXPECT_EQ(point.rfind("X=410.0000 Y=0.0000", 0), 0u) << point;
  const std::string keys = run("'" + kCli + "' keypoints '" + path + "'");
  EXPECT_NE(keys.find("ZD,1050.0000,1000.0000"), std::string::npos) << keys;
}

}  // namespace
}  // namespace trazmark
