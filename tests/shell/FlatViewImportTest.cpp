// The frame's Open with the real horizontal alignment view: an imported RP or
// RE file names the road, and a file that cannot be read changes nothing.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <tuple>
#include <vector>

#include "editors/qt/RoadFlatPages.h"
#include "editors/qt/RoadFlatView.h"
#include "library/InputRoadLibrary.h"
#include "platform/qt/TabSheet.h"
#include "shell/DataViewRegistry.h"
#include "shell/MainFrame.h"
#include "support/UiTestSupport.h"

namespace trazmark {
namespace {

using test::ScratchFolder;
using test::ScriptedDialogs;

class FlatViewImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    auto registry = std::make_unique<CDataViewRegistry>();
    registerDataViews(*registry);
    frame = std::make_unique<CMainFrame>(&dialogs, std::array<std::unique_ptr<CMapSlot>, kMapCount>{},
                                         std::move(registry));
  }
  ScratchFolder dir;
  ScriptedDialogs dialogs;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(FlatViewImportTest, OpenedRpFileNamesTheRoadAndSaveWritesItsRoadFile) {
  const std::string rp = dir.path("survey.RP");
  const std::string text =
      "ROADNAME:K1,\r\nCROSSPT :QD,0.0000,0.0000,0.0000,0.0000,0.0000,0.0000,0.0000,\r\n"
      "CROSSPT :JD1,0.0000,250.0000,0.0000,0.0000,0.0000,300.0000,0.0000,\r\n"
      "CROSSPT :ZD,200.0000,450.0000,0.0000,0.0000,0.0000,0.0000,0.0000,\r\n";
  test::writeFile(rp, text);
  dialogs.openNames.push_back(rp);
  frame->commands().openRoad();
  EXPECT_TRUE(dialogs.warnings.empty());
  auto* view = dynamic_cast<CRoadFlatView*>(frame->dataView(kKindFlatCurve));
  ASSERT_NE(view, nullptr);
  EXPECT_EQ(view->currentPage(), 0);
  EXPECT_TRUE(view->tabSheet()->isLocked());
  EXPECT_EQ(frame->commands().state().roadPath, dir.path("K1.rec"));
  EXPECT_EQ(view->crossPage()->page.rowCount(), 3);
  ASSERT_TRUE(frame->commands().save());
  EXPECT_TRUE(test::fileExists(dir.path("K1.rec")));
  EXPECT_EQ(test::readFile(rp), text);
}

// Opening a road writes nothing beside it, even while the alignment list
// shows key points or stakes: that list is computed without the page's files.
TEST_F(FlatViewImportTest, OpeningARoadWritesNoFileBesideIt) {
  CInputRoadLibrary road;
  road.FlatcurveType = kFlatcurveCrossPoints;
  for (auto [x, y, r] : {std::tuple{0.0, 0.0, 0.0}, {0.0, 250.0, 300.0}, {200.0, 450.0, 0.0}}) {
    Road_CrossPoint p;
    p.point.X = x;
    p.point.Y = y;
    p.Radius = r;
    road.crossPoints.append(p);
  }
  const std::string roadPath = dir.path("K2.REC");
  ASSERT_TRUE(road.writeRoadFile(roadPath));
  frame->commands().openRoadFromList(roadPath);
  frame->showDataView(kKindFlatCurve);
  auto* view = dynamic_cast<CRoadFlatView*>(frame->dataView(kKindFlatCurve));
  ASSERT_NE(view, nullptr);
  for (int mode : {CFlatPage::kListKeyPoints, CFlatPage::kListStakes}) {
    SCOPED_TRACE(mode);
    view->setListMode(mode);  // the user asks: the page computes and writes its files
    const std::size_t rows = view->crossPage()->page.stakeRows().size();
    ASSERT_GT(rows, 2u);
    for (const auto& entry : std::filesystem::directory_iterator(dir.root()))
      if (entry.path().filename() != "K2.REC") std::filesystem::remove(entry.path());
    frame->commands().openRoadFromList(roadPath);
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir.root()))
      files.push_back(entry.path().filename().string());
    EXPECT_EQ(files, std::vector<std::string>{"K2.REC"});
    EXPECT_EQ(view->crossPage()->page.listMode, mode);
    EXPECT_EQ(view->crossPage()->page.stakeRows().size(), rows) << "the same list, from memory";
  }
  EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(FlatViewImportTest, MissingAlignmentFileLeavesTheMethodAsItWas) {
  frame->commands().openRoadFromList(dir.path("gone.RE"));
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_import_failed"});
  EXPECT_EQ(frame->roadLibrary().FlatcurveType, kFlatcurveNone);
  EXPECT_EQ(frame->commands().state().roadPath, dir.path("gone.RE"));
  EXPECT_FALSE(test::fileExists(dir.path("gone.REC")));
}

}  // namespace
}  // namespace trazmark
