// File → Export drawing: the shown map written through the save dialog of the
// dialog seam, in the format its name asks for; nothing shown, a cancelled
// dialog and an unwritable file each leave no file and say why.

#include <gtest/gtest.h>

#include <QAction>
#include <QImage>

#include "alignment/RoadDesign_CrossPoint.h"
#include "shell/BottomDockPane.h"
#include "shell/DrawingExportCommand.h"
#include "shell/MainFrame.h"
#include "support/UiTestSupport.h"
#include "support/ExampleRoad.h"

namespace trazmark {
namespace {

using test::ScratchFolder;
using test::ScriptedDialogs;

std::string writeCurve(const ScratchFolder& dir) {
  const std::string path = test::writeExampleCurveFile(dir.root(), "R1");
  EXPECT_FALSE(path.empty());
  return path;
}

TEST(ExportDrawing, ShownMapInEachFormatThroughTheSaveDialog) {
  test::application();
  ScratchFolder dir;
  CBottomDockPane pane;
  ScriptedDialogs dialogs;
  // Nothing shown yet: said, no dialog.
  EXPECT_TRUE(exportShownDrawing(dialogs, pane, "R1", dir.root()).empty());
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_EXPORT_DRAWING_none"});
  EXPECT_TRUE(dialogs.requests.empty());

  pane.showAlignmentFile(writeCurve(dir));
  for (const char* name : {"plan.pdf", "plan.svg", "plan.png", "plan.dxf"}) {
    SCOPED_TRACE(name);
    dialogs.saveNames.push_back(dir.path(name));
    EXPECT_EQ(exportShownDrawing(dialogs, pane, "R1", dir.root()), dir.path(name));
    const std::string bytes = test::readFile(dir.path(name));
    EXPECT_GT(bytes.size(), 1000u);
  }
  EXPECT_EQ(test::readFile(dir.path("plan.pdf")).rfind("%PDF-", 0), 0u);
  EXPECT_NE(test::readFile(dir.path("plan.svg")).find(">Road: R1</text>"), std::string::npos);
  EXPECT_NE(test::readFile(dir.path("plan.dxf")).find("CENTRE_LINE"), std::string::npos);
  // The dialog offers the plan's DXF, starts in the folder with a name.
  ASSERT_FALSE(dialogs.requests.empty());
  EXPECT_NE(dialogs.requests.back().filter.find("*.dxf"), std::string::npos);
  EXPECT_EQ(dialogs.requests.back().startFolder, dir.root());
  EXPECT_EQ(dialogs.requests.back().suggestedName, "R1_plan.pdf");

  // Cancelled: nothing written, nothing said.
  dialogs.warnings.clear();
  EXPECT_TRUE(exportShownDrawing(dialogs, pane, "R1", dir.root()).empty());
  EXPECT_TRUE(dialogs.warnings.empty());
  // A name no drawing is written as, and a missing folder: said with the reason.
  for (const std::string& name : {dir.path("plan.jpg"), dir.path("none/plan.pdf")}) {
    dialogs.saveNames.push_back(name);
    EXPECT_TRUE(exportShownDrawing(dialogs, pane, "R1", dir.root()).empty());
    EXPECT_FALSE(test::fileExists(name));
  }
  EXPECT_EQ(dialogs.warnings,
            (std::vector<std::string>{"IDS_EXPORT_DRAWING_failed", "IDS_EXPORT_DRAWING_failed"}));
  EXPECT_NE(dialogs.details.back().find("cannot write"), std::string::npos)
      << dialogs.details.back();

  // The cross section has no DXF in its dialog.
  RecordList<Road_Section_Item> left, right;
  Road_Section_Item lane;
  lane.setModuleName("lane");
  lane.Width = 3.5;
  lane.Slope = -2;
  left.append(lane);
  right.append(lane);
  pane.showCrossSection(left, right);
  dialogs.saveNames.push_back(dir.path("section.svg"));
  EXPECT_EQ(exportShownDrawing(dialogs, pane, "R1", dir.root()), dir.path("section.svg"));
  EXPECT_EQ(dialogs.requests.back().filter.find("*.dxf"), std::string::npos);
  EXPECT_EQ(dialogs.requests.back().suggestedName, "R1_section.pdf");
}

TEST(ExportDrawing, FileMenuHoldsTheCommand) {
  test::application();
  ScriptedDialogs dialogs;
  CMainFrame frame(&dialogs);
  auto* action = frame.findChild<QAction*>(QStringLiteral("exportDrawingAction"));
  ASSERT_NE(action, nullptr);
  action->trigger();  // no map shown
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_EXPORT_DRAWING_none"});
}

TEST(ExportDrawing, PaperByDefaultScreenColoursWhenChosen) {
  test::application();
  ScratchFolder dir;
  CBottomDockPane pane;
  ScriptedDialogs dialogs;
  pane.showAlignmentFile(writeCurve(dir));
  struct Case {
    const char* name;
    bool screenColours;
    QRgb corner;  // a pixel of the map's background, clear of the drawing
  } cases[] = {{"paper.png", false, 0xFFFFFF}, {"screen.png", true, 0x000000}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    dialogs.saveNames.push_back(dir.path(c.name));
    ASSERT_EQ(exportShownDrawing(dialogs, pane, "R1", dir.root(), c.screenColours),
              dir.path(c.name));
    const QImage image(QString::fromStdString(dir.path(c.name)));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.pixel(image.width() / 2, 3) & 0xFFFFFF, c.corner);
  }
  // The menu's choice is kept by the frame and starts unchecked: paper.
  CMainFrame frame(&dialogs);
  auto* choice = frame.findChild<QAction*>(QStringLiteral("screenColoursAction"));
  ASSERT_NE(choice, nullptr);
  EXPECT_TRUE(choice->isCheckable());
  EXPECT_FALSE(choice->isChecked());
}

}  // namespace
}  // namespace trazmark
