// File → Import LandXML and File → Export LandXML through the dialog seam.

#include <gtest/gtest.h>

#include "support/UiTestSupport.h"
#include "shell/FakeChainView.h"
#include "library/LandXmlImport.h"
#include "shell/MainFrame.h"

namespace trazmark {
namespace {

using test::fileExists;
using test::readFile;
using test::ScratchFolder;
using test::ScriptedDialogs;
using test::writeFile;

using PendingChainView = test::FakeChainView;

class LandXmlMenuTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    auto registry = std::make_unique<CDataViewRegistry>();
    registry->registerKind(kKindBrokenChain, [this](CDataViewHost& host, QWidget* parent) {
      chainView = new PendingChainView(host, parent);
      return chainView;
    });
    frame = std::make_unique<CMainFrame>(&dialogs, std::array<std::unique_ptr<CMapSlot>, kMapCount>{},
                                         std::move(registry));
  }
  const RoadFileState& state() { return frame->commands().state(); }

  ScratchFolder dir;
  ScriptedDialogs dialogs;
  PendingChainView* chainView = nullptr;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(LandXmlMenuTest, ExportThenImportMakesTheCurrentRoad) {
  EXPECT_FALSE(frame->exportLandXmlAction()->isEnabled());
  dialogs.openNames.push_back(TRAZMARK_SOURCE_DIR "/docs/demo/demo_jd.REC");
  frame->commands().openRoad();
  ASSERT_TRUE(frame->exportLandXmlAction()->isEnabled());
  const int chains = frame->roadLibrary().scissons.count();

  dialogs.saveNames.push_back(dir.path("jd.xml"));
  ASSERT_TRUE(frame->commands().exportLandXml());
  ASSERT_EQ(dialogs.requests.back().suggestedName, "demo_jd.xml");
  EXPECT_TRUE(dialogs.warnings.empty());
  LandXmlAlignment check;
  std::string error;
  ASSERT_TRUE(importLandXmlFile(dir.path("jd.xml"), "", check, error)) << error;
  EXPECT_FALSE(frame->commands().exportLandXml());  // cancelled: nothing written

  // Unsaved input is committed and the save question asked first (Cancel:
  // go on without saving); the imported alignment is then the road.
  chainView->pending = true;
  dialogs.answers.push_back(false);
  dialogs.openNames.push_back(dir.path("jd.xml"));
  frame->commands().importLandXml();
  EXPECT_EQ(dialogs.questions, std::vector<std::string>{"IDS_WARN_is_save_last_road"});
  EXPECT_EQ(frame->roadLibrary().FlatcurveType, kFlatcurveElements);
  EXPECT_EQ(frame->roadLibrary().elements.count(), check.road.elements.count());
  EXPECT_EQ(frame->roadLibrary().scissons.count(), chains);
  EXPECT_EQ(state().roadOpen, 1);
  EXPECT_EQ(state().modified, 0);
  EXPECT_EQ(state().roadPath, dir.path("jd.xml"));
  // Save writes the road file beside it, never over the LandXML file.
  EXPECT_EQ(frame->commands().saveTarget(), dir.path("jd.REC"));
  ASSERT_TRUE(frame->commands().save());
  CInputRoadLibrary saved;
  ASSERT_TRUE(saved.readRoadFile(dir.path("jd.REC")));
  EXPECT_EQ(saved.elements.count(), check.road.elements.count());
}

TEST_F(LandXmlMenuTest, ARefusedFileLeavesTheRoadAsItWas) {
  dialogs.openNames.push_back(TRAZMARK_SOURCE_DIR "/docs/demo/demo_element.REC");
  frame->commands().openRoad();
  const auto elements = frame->roadLibrary().elements.count();
  const std::string path = state().roadPath;
  writeFile(dir.path("bad.xml"),
            "<LandXML>\n<Alignments><Alignment><CoordGeom>\n"
            "<Spiral spiType=\"cubic\" length=\"10\"/></CoordGeom></Alignment></Alignments></LandXML>");
  dialogs.openNames.push_back(dir.path("bad.xml"));
  frame->commands().importLandXml();
  ASSERT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_landxml_import_failed"});
  EXPECT_NE(dialogs.details.back().find("Spiral at line 3"), std::string::npos) << dialogs.details.back();
  EXPECT_EQ(frame->roadLibrary().elements.count(), elements);
  EXPECT_EQ(frame->roadLibrary().FlatcurveType, kFlatcurveElements);
  EXPECT_EQ(state().roadPath, path);
  EXPECT_FALSE(fileExists(dir.path("bad.REC")));
}

}  // namespace
}  // namespace trazmark
