// The superelevation and widening views through the dialog seam: the list
// with its hidden index columns, the component list of the dialog, the
// insert-or-append question, the edit bounds, delete, save and the frame's
// commit of pending edits.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <deque>

#include "crosssection/qt/RoadSuperHighNewDlg.h"
#include "crosssection/qt/RoadSuperHighView.h"
#include "platform/qt/RecordTableModel.h"
#include "support/DataViewTestHost.h"

namespace trazmark {
namespace {

struct Typed {
  int mode = 0;       ///< -1: leave the dialog's choice
  int component = 0;  ///< -1: leave the dialog's choice
  std::string value;
  std::string mileage;
};

class SuperViewTest : public ::testing::Test {
 protected:
  void make(SuperValueKind kind) {
    test::application();
    test::useEnglishTexts();
    for (auto [name, side] : {std::pair{"lane", 0}, {"A-B", 0}}) {
      Road_Section_Item c;
      c.setModuleName(name);
      c.LeftOrRight = side;
      host.road.leftSections.append(c);
    }
    Road_Section_Item kerb;
    kerb.setModuleName("kerb");
    kerb.LeftOrRight = 1;
    host.road.rightSections.append(kerb);
    view = std::make_unique<CRoadSuperHighView>(kind, host);
    view->setDialogRunner([this](QDialog& d) {
      auto& dialog = dynamic_cast<CRoadSuperHighNewDlg&>(d);
      names.clear();
      for (int i = 0; i < dialog.nameBox()->count(); ++i) names.push_back(dialog.nameBox()->itemText(i).toStdString());
      modes = dialog.modeBox()->count();
      shownMileage = dialog.mileageEdit()->text().toStdString();
      shownName = dialog.nameBox()->currentText().toStdString();
      shownComponent = dialog.nameBox()->currentIndex();
      shownMode = dialog.modeBox()->currentText().toStdString();
      while (!typed.empty()) {
        Typed t = typed.front();
        typed.pop_front();
        if (t.mode >= 0) dialog.modeBox()->setCurrentIndex(t.mode);
        if (t.component >= 0) dialog.nameBox()->setCurrentIndex(t.component);
        dialog.valueEdit()->setText(QString::fromStdString(t.value));
        dialog.mileageEdit()->setText(QString::fromStdString(t.mileage));
        dialog.tryAccept();
        if (dialog.QDialog::result() == QDialog::Accepted) return true;
      }
      return false;
    });
  }

  QString cell(int row, int column) { return view->model()->index(row, column).data().toString(); }

  test::DataViewTestHost host;
  std::unique_ptr<CRoadSuperHighView> view;
  std::deque<Typed> typed;
  std::vector<std::string> names;
  int modes = 0;
  int shownComponent = -1;
  std::string shownMileage, shownName, shownMode;
};

TEST_F(SuperViewTest, AddListsEveryChangePointWithHiddenIndices) {
  make(SuperValueKind::kSlope);
  EXPECT_TRUE(view->table()->isColumnHidden(0));
  EXPECT_TRUE(view->table()->isColumnHidden(1));
  typed = {{1, 1, "2.5", "100"}};
  view->add();
  EXPECT_EQ(names, (std::vector<std::string>{"L-lane", "L-A-B", "R-kerb"}));
  EXPECT_EQ(modes, 3);
  typed = {{0, 2, "-2", "40"}};
  view->add();
  ASSERT_EQ(view->model()->rowCount(), 2);
  // A name holding a hyphen is recorded whole.
  EXPECT_EQ(view->editor().items()[0].SectionName, "A-B");
  EXPECT_EQ(cell(0, 2), "L-A-B");
  EXPECT_EQ(cell(0, 3), "100.000");
  EXPECT_EQ(cell(0, 4), "2.500");
  EXPECT_EQ(cell(0, 5), "Cubic parabola");
  EXPECT_EQ(cell(1, 0), "1");
  EXPECT_EQ(cell(1, 1), "0");
  EXPECT_EQ(cell(1, 2), "R-kerb");
  EXPECT_EQ(view->model()->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(),
            GetLanguageText("IDS_DATA_cross_slope"));
  EXPECT_TRUE(view->saveButton()->isEnabled());
}

TEST_F(SuperViewTest, AnEarlierPointAsksWhetherToInsertIt) {
  for (bool yes : {true, false}) {
    SCOPED_TRACE(yes ? "Yes" : "No");
    make(SuperValueKind::kSlope);
    typed = {{0, 0, "2", "100"}};
    view->add();
    host.dialogs.answers = {yes};
    typed = {{0, 0, "3", "50"}};
    view->add();
    EXPECT_EQ(host.dialogs.questions, std::vector<std::string>{"IDS_WARN_mileage_less_uppoint_insert"});
    EXPECT_EQ(cell(0, 3), yes ? "50.000" : "100.000");
    EXPECT_EQ(cell(1, 3), yes ? "100.000" : "50.000");
    EXPECT_EQ(cell(1, 1), "1");
    host.dialogs.questions.clear();
    host.road.leftSections.clear();
    host.road.rightSections.clear();
  }
}

TEST_F(SuperViewTest, EditKeepsAPointBetweenItsNeighbours) {
  make(SuperValueKind::kSlope);
  Road_Super_Item item;
  item.SectionName = "lane";
  for (double m : {0.0, 100.0, 200.0}) {
    Road_Super_Value v;
    v.Mileage = m;
    item.values.append(v);
  }
  host.road.superHighs.append(item);
  view->reloadFromRoad();
  view->edit();  // no row selected: nothing
  EXPECT_TRUE(shownMileage.empty());

  view->selectRow(1);
  // 210 lies beyond the next point; 150 is then taken.
  typed = {{0, -1, "1", "210"}, {0, -1, "1", "150"}};
  view->edit();
  EXPECT_EQ(shownMileage, "100.000");
  EXPECT_EQ(shownName, "L-lane");
  EXPECT_EQ(host.dialogs.warnings, std::vector<std::string>{"IDS_WARN_mileage_large_nextpoint"});
  EXPECT_EQ(cell(1, 3), "150.000");
  for (const char* m : {"0", "200"}) {
    view->selectRow(1);
    typed = {{0, -1, "1", m}};
    view->edit();
  }
  EXPECT_EQ(host.dialogs.warnings.size(), 1u);
  EXPECT_EQ(cell(1, 3), "200.000");

  view->selectRow(0);
  typed = {{0, -1, "1", "-5"}};
  view->edit();
  EXPECT_EQ(host.dialogs.warnings.back(), "IDS_WARN_mileage_less_uppoint");
}

TEST_F(SuperViewTest, TwoComponentsOfOneNameKeepTheirOwnPoints) {
  for (SuperValueKind kind : {SuperValueKind::kSlope, SuperValueKind::kWidth}) {
    SCOPED_TRACE(kind == SuperValueKind::kWidth ? "widening" : "superelevation");
    host.road.leftSections.clear();
    host.road.rightSections.clear();
    make(kind);
    Road_Section_Item second;
    second.setModuleName("lane");
    host.road.leftSections.append(second);  // left: lane, A-B, lane
    typed = {{0, 2, "2", "100"}};
    view->add();
    typed = {{0, 0, "3", "50"}};  // the first lane: no question, an item of its own
    view->add();
    EXPECT_TRUE(host.dialogs.questions.empty());
    ASSERT_EQ(view->editor().items().count(), 2);
    EXPECT_EQ(view->editor().items()[0].InSectionIndex, 2);
    EXPECT_EQ(view->editor().items()[1].InSectionIndex, 0);
    // Editing shows the component the item belongs to, not the first of its name.
    view->selectRow(0);
    view->edit();
    EXPECT_EQ(shownComponent, 2);
  }
}

TEST_F(SuperViewTest, EveryGradientModeIsOfferedAndKeptByAnEdit) {
  for (SuperValueKind kind : {SuperValueKind::kSlope, SuperValueKind::kWidth}) {
    SCOPED_TRACE(kind == SuperValueKind::kWidth ? "widening" : "superelevation");
    host.road.leftSections.clear();
    host.road.rightSections.clear();
    host.road.superHighs.clear();
    host.road.widens.clear();
    Road_Super_Item item;
    item.SectionName = "lane";
    for (int32_t mode : {2, 7}) {  // quartic, and a code this system does not know
      Road_Super_Value v;
      v.Mileage = 100.0 * (mode == 2 ? 1 : 2);
      v.Mode = mode;
      item.values.append(v);
    }
    (kind == SuperValueKind::kWidth ? host.road.widens : host.road.superHighs).append(item);
    make(kind);
    EXPECT_EQ(cell(0, 5), "Quartic parabola");

    view->selectRow(0);
    typed = {{-1, -1, "1.5", "110"}};
    view->edit();
    EXPECT_EQ(modes, 3);
    EXPECT_EQ(shownMode, "Quartic parabola");
    view->selectRow(1);
    typed = {{-1, -1, "1.5", "250"}};
    view->edit();
    EXPECT_EQ(modes, 4);
    EXPECT_EQ(shownMode, "7");
    view->save();
    const auto& saved = kind == SuperValueKind::kWidth ? host.road.widens : host.road.superHighs;
    ASSERT_EQ(saved.count(), 1);
    EXPECT_EQ(saved[0].values[0].Mode, 2);
    EXPECT_EQ(saved[0].values[0].Mileage, 110);
    EXPECT_EQ(saved[0].values[1].Mode, 7);
    EXPECT_EQ(saved[0].values[1].Mileage, 250);
  }
}

TEST_F(SuperViewTest, DeleteRemovesAnEmptiedItemAndSaveStores) {
  make(SuperValueKind::kSlope);
  typed = {{0, 0, "2", "10"}};
  view->add();
  typed = {{0, 2, "2", "20"}};
  view->add();
  view->remove();  // nothing selected
  EXPECT_EQ(view->model()->rowCount(), 2);
  view->selectRow(0);
  view->remove();
  EXPECT_EQ(view->editor().items().count(), 1);
  EXPECT_EQ(cell(0, 2), "R-kerb");
  EXPECT_EQ(cell(0, 0), "0");

  ASSERT_TRUE(view->hasPendingInput());
  view->commitPendingInput();
  EXPECT_FALSE(view->hasPendingInput());
  EXPECT_EQ(host.modifiedNotices, 1);
  ASSERT_EQ(host.road.superHighs.count(), 1);
  EXPECT_EQ(host.road.superHighs[0].InSectionIndex, 0);
  EXPECT_EQ(host.road.superHighs[0].LeftRight, 1);
  EXPECT_TRUE(host.road.widens.empty());
}

TEST_F(SuperViewTest, WithoutComponentsOnlyCancelCloses) {
  make(SuperValueKind::kSlope);
  host.road.leftSections.clear();
  host.road.rightSections.clear();
  view->reloadFromRoad();
  typed = {{0, -1, "2", "10"}};
  view->add();
  EXPECT_TRUE(names.empty());
  EXPECT_TRUE(host.dialogs.warnings.empty());
  EXPECT_EQ(view->model()->rowCount(), 0);
}

TEST_F(SuperViewTest, ComponentsSavedAfterTheViewLoadedAreOffered) {
  make(SuperValueKind::kSlope);
  Road_Section_Item added;
  added.setModuleName("verge");
  added.LeftOrRight = 1;
  host.road.rightSections.append(added);  // the cross-section view's Save
  typed = {{0, 3, "4", "10"}};
  view->add();
  EXPECT_EQ(names.back(), "R-verge");
  EXPECT_EQ(cell(0, 2), "R-verge");
}

TEST_F(SuperViewTest, WideningStoresWidthAndFourParabola) {
  make(SuperValueKind::kWidth);
  typed = {{2, 0, "3.5", "120"}};
  view->add();
  EXPECT_EQ(modes, 3);
  EXPECT_EQ(cell(0, 3), "120.000");
  EXPECT_EQ(cell(0, 4), "3.500");
  EXPECT_EQ(cell(0, 5), "Quartic parabola");
  EXPECT_EQ(view->model()->headerData(4, Qt::Horizontal, Qt::DisplayRole).toString().toStdString(),
            GetLanguageText("IDS_DATA_width"));
  view->save();
  ASSERT_EQ(host.road.widens.count(), 1);
  EXPECT_EQ(host.road.widens[0].values[0].Mode, 2);
  EXPECT_EQ(host.road.widens[0].values[0].Width, 3.5);
  EXPECT_TRUE(host.road.superHighs.empty());
}

}  // namespace
}  // namespace trazmark
