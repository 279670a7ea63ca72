// The frame's Open with the real horizontal alignment view: an imported RP or
// RE file names the road, and a file that cannot be read changes nothing.

#include <gtest/gtest.h>

#include "editors/qt/RoadFlatView.h"
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

TEST_F(FlatViewImportTest, MissingAlignmentFileLeavesTheMethodAsItWas) {
  frame->commands().openRoadFromList(dir.path("gone.RE"));
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_import_failed"});
  EXPECT_EQ(frame->roadLibrary().FlatcurveType, kFlatcurveNone);
  EXPECT_EQ(frame->commands().state().roadPath, dir.path("gone.RE"));
  EXPECT_FALSE(test::fileExists(dir.path("gone.REC")));
}

}  // namespace
}  // namespace trazmark
