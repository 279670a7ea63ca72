// The broken chain view through the dialog seam: its list, the dialog's OK with
// the texts a user types, add, edit, delete, save, reload, and the frame's
// commit of pending edits.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <deque>

#include "editors/qt/RoadChainNewDlg.h"
#include "editors/qt/RoadChainView.h"
#include "platform/qt/RecordTableModel.h"
#include "support/DataViewTestHost.h"

namespace trazmark {
namespace {

class RoadChainViewTest : public ::testing::Test {
 protected:
  // The language file is process-wide: the other views' tests of this
  // program read the bare keys.
  void TearDown() override { setLanguageFilePath(std::string()); }
  void SetUp() override {
    test::application();
    test::useEnglishTexts();
    view = std::make_unique<CRoadChainView>(host);
    // Each dialog the view opens takes the next typed pair and presses OK
    // until it closes or the user would give up (Cancel after the pair).
    view->setDialogRunner([this](QDialog& d) {
      auto& dialog = dynamic_cast<CRoadChainNewDlg&>(d);
      shownBefore.push_back(dialog.beforeEdit()->text().toStdString());
      if (typed.empty()) return false;
      auto [before, after] = typed.front();
      typed.pop_front();
      dialog.beforeEdit()->setText(QString::fromStdString(before));
      dialog.afterEdit()->setText(QString::fromStdString(after));
      dialog.tryAccept();
      return dialog.result() == QDialog::Accepted;
    });
  }

  QString cell(int row, int column) { return view->model()->index(row, column).data().toString(); }

  test::DataViewTestHost host;
  std::unique_ptr<CRoadChainView> view;
  std::deque<std::pair<std::string, std::string>> typed;
  std::vector<std::string> shownBefore;
};

TEST_F(RoadChainViewTest, AddShowsTheChainsInTheirColumns) {
  typed = {{"1000.000", "1050.000"}, {"1050", "1000"}, {"1000.00005", "1000"}};
  for (int i = 0; i < 3; ++i) view->add();
  ASSERT_EQ(view->model()->rowCount(), 3);
  EXPECT_EQ(view->model()->headerData(0, Qt::Horizontal, Qt::DisplayRole).toString(), "#");
  EXPECT_EQ(cell(0, 0), "1");
  EXPECT_EQ(cell(0, 1), "Short chain");
  EXPECT_EQ(cell(0, 2), "50.0000");
  EXPECT_EQ(cell(0, 3), "1000.0000");
  EXPECT_EQ(cell(0, 4), "1050.0000");
  EXPECT_EQ(cell(1, 1), "Long chain");
  EXPECT_EQ(cell(1, 2), "50.0000");
  EXPECT_EQ(cell(2, 1), "Short chain");
  EXPECT_TRUE(view->saveButton()->isEnabled());
  EXPECT_TRUE(view->hasPendingInput());
  EXPECT_TRUE(host.road.scissons.empty());  // only Save stores
}

TEST_F(RoadChainViewTest, RefusedTextsKeepTheDialogOpen) {
  // One mileage alone, and text that is not a number, are told and refused;
  // both empty does nothing at all. Each dialog then is cancelled.
  for (auto pair : {std::pair<std::string, std::string>{"500", ""}, {"", "500"}, {"1O00", "1000"}, {"", ""}}) {
    typed = {pair};
    view->add();
  }
  EXPECT_EQ(host.dialogs.warnings,
            (std::vector<std::string>{"IDS_WARN_chain_needs_both_mileages", "IDS_WARN_chain_needs_both_mileages",
                                      "IDS_WARN_enter_number"}));
  EXPECT_EQ(view->model()->rowCount(), 0);
  EXPECT_FALSE(view->hasPendingInput());
  EXPECT_FALSE(view->saveButton()->isEnabled());
}

TEST_F(RoadChainViewTest, EditAndDeleteActOnTheSelectedRowOnly) {
  host.road.scissons.append(makeBrokenChain(100, 90));
  host.road.scissons.append(makeBrokenChain(200, 250));
  view->reloadFromRoad();
  ASSERT_EQ(view->model()->rowCount(), 2);

  view->edit();
  view->remove();
  EXPECT_TRUE(shownBefore.empty());  // no dialog opened
  EXPECT_EQ(view->model()->rowCount(), 2);
  EXPECT_FALSE(view->hasPendingInput());
  EXPECT_TRUE(host.dialogs.warnings.empty());

  view->selectRow(1);
  typed = {{"260", "250"}};
  view->edit();
  ASSERT_EQ(shownBefore, std::vector<std::string>{"200.0000"});
  EXPECT_EQ(cell(1, 1), "Long chain");
  EXPECT_EQ(cell(1, 2), "10.0000");

  view->selectRow(0);
  view->remove();
  ASSERT_EQ(view->model()->rowCount(), 1);
  EXPECT_EQ(cell(0, 3), "260.0000");

  view->save();
  EXPECT_EQ(host.modifiedNotices, 1);
  EXPECT_FALSE(view->saveButton()->isEnabled());
  ASSERT_EQ(host.road.scissons.count(), 1);
  EXPECT_EQ(host.road.scissons[0].Before_mileage, 260);
}

TEST_F(RoadChainViewTest, ReloadDiscardsAndCommitStores) {
  typed = {{"10", "20"}};
  view->add();
  view->reloadFromRoad();  // message 1624
  EXPECT_EQ(view->model()->rowCount(), 0);
  EXPECT_FALSE(view->hasPendingInput());

  typed = {{"10", "20"}};
  view->add();
  ASSERT_TRUE(view->hasPendingInput());
  view->commitPendingInput();  // the frame before New, Open, Save and closing
  EXPECT_FALSE(view->hasPendingInput());
  EXPECT_EQ(host.road.scissons.count(), 1);
  EXPECT_EQ(host.modifiedNotices, 1);
}

}  // namespace
}  // namespace trazmark
