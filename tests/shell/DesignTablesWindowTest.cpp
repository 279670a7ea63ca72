// File → Tables: the window shows the table chosen, titled by its key, says
// why a road without an alignment has no table, and refuses to export an
// empty one through the dialog seam.

#include "shell/DesignTablesWindow.h"

#include <gtest/gtest.h>

#include <QComboBox>

#include "platform/qt/DesignTableModel.h"
#include "support/UiTestSupport.h"
#include "support/ExampleRoad.h"

namespace trazmark {
namespace {

using test::ScriptedDialogs;

RoadDataSet crossPointRoad() {
  RoadDataSet road;
  road.FlatcurveType = kFlatcurveCrossPoints;
  road.crossPoints = test::exampleCrossPoints();
  return road;
}

TEST(DesignTablesWindow, EachTableChosenShowsUnderItsTitle) {
  test::application();
  ScriptedDialogs dialogs;
  CDesignTablesWindow window(dialogs, crossPointRoad(), "R1", nullptr, "");
  auto* choice = window.findChild<QComboBox*>(QStringLiteral("tableChoice"));
  ASSERT_NE(choice, nullptr);
  ASSERT_EQ(choice->count(), static_cast<int>(kTableKinds.size()));
  EXPECT_EQ(window.model().table().titleKey, kCurveElementsTitleKey);
  for (std::size_t i = 0; i < kTableKinds.size(); ++i) {
    SCOPED_TRACE(i);
    // Through the list, as the user chooses, and back through the call.
    choice->setCurrentIndex(static_cast<int>(i));
    EXPECT_EQ(window.model().table().titleKey, tableTitleKey(kTableKinds[i]));
    window.showTable(kTableKinds[0]);
    EXPECT_EQ(choice->currentIndex(), 0);
    window.showTable(kTableKinds[i]);
    EXPECT_EQ(choice->currentIndex(), static_cast<int>(i));
    EXPECT_EQ(window.model().table().titleKey, tableTitleKey(kTableKinds[i]));
    // Every row as wide as the columns: the model reads nothing past them.
    for (const auto& row : window.model().table().rows)
      EXPECT_LE(row.size(), window.model().table().columns.size());
  }
  EXPECT_TRUE(
      dialogs.warnings.empty());  // a table that fails says so in the window, not in a message box
}

TEST(DesignTablesWindow, ARoadWithoutAlignmentHasNothingToExport) {
  test::application();
  ScriptedDialogs dialogs;
  CDesignTablesWindow window(dialogs, RoadDataSet{}, "R1", nullptr, "");
  EXPECT_FALSE(window.failure().empty());
  EXPECT_EQ(window.model().rowCount(), 0);
  EXPECT_TRUE(window.exportCsv().empty());
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_TABLES_empty"});
  EXPECT_TRUE(dialogs.requests.empty());
}

}  // namespace
}  // namespace trazmark
