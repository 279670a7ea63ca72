// The plan in the drawing pane reads its stations across the road's broken
// chains, whichever view asks for it.

#include <gtest/gtest.h>

#include "maps/RoadMap.h"
#include "shell/BottomDockPane.h"
#include "shell/MainFrame.h"
#include "support/UiTestSupport.h"

namespace trazmark {
namespace {

TEST(PlanInTheDrawingPane, TakesTheRoadsBrokenChains) {
  test::application();
  test::ScratchFolder dir;
  test::ScriptedDialogs dialogs;
  CMainFrame frame(&dialogs);
  frame.resize(1000, 700);
  frame.show();
  dialogs.saveNames.push_back(dir.path("r.REC"));
  frame.commands().newRoad();

  // A straight of 1000 m with a short chain of 50 m at 400 -> 450.
  const std::string curve = dir.path("r.RE.TDFE");
  test::writeFile(curve,
                  "CURVE FILE(RE) Ver1.0\r\nMETRES\r\nDEGREES\r\nSTART CHAINAGE,0.0000\r\nHORIZ\r\nRN,r\r\n"
                  "PT,0.000000,0.000000,\r\nR.,1000.000000,0.00000000,\r\n");
  Scisson_Data chain;
  chain.Before_mileage = 400;
  chain.After_mileage = 450;
  chain.Type = 1;
  chain.Length = 50;
  frame.roadLibrary().scissons = {chain};
  frame.showAlignmentFile(curve);

  auto* plan = frame.drawingPane()->findChild<CRoadMap*>();
  ASSERT_NE(plan, nullptr);
  ASSERT_EQ(plan->roadDesign().brokenChains.size(), 1u);
  EXPECT_DOUBLE_EQ(plan->roadDesign().displayedFromContinuous(600), 650);
}

}  // namespace
}  // namespace trazmark
