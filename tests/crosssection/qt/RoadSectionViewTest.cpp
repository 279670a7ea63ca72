// The standard cross-section page, driven through its commands and dialog.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableView>

#include "crosssection/qt/RoadSectionItemDlg.h"
#include "crosssection/qt/RoadSectionView.h"
#include "platform/qt/Localization.h"
#include "platform/qt/RecordTableModel.h"
#include "support/FakeDataViewHost.h"

namespace trazmark {
namespace {

using test::FakeDataViewHost;

Road_Section_Item component(const char* name, double width) {
  Road_Section_Item c;
  c.setModuleName(name);
  c.Width = width;
  c.Slope = -2;
  return c;
}

class SectionViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    setLanguageFilePath(TRAZMARK_SOURCE_DIR "/lang/Language.en.xml");
  }
  void TearDown() override { setLanguageFilePath(""); }
  FakeDataViewHost host;
};

TEST_F(SectionViewTest, SidesFillToSixteenAndRowsReadTheirSide) {
  CRoadSectionView view(host);
  EXPECT_EQ(view.currentSide(), kSectionLeft);
  for (int i = 0; i < 17; ++i) view.addComponent(component("Lane", 3.5));
  EXPECT_EQ(view.editor().count(kSectionLeft), 16);
  view.setCurrentSide(kSectionRight);
  EXPECT_TRUE(view.addComponent(component("Lane", 3.5)));
  EXPECT_TRUE(host.dialogs.warnings.empty());  // a full side is ignored quietly
  EXPECT_EQ(view.model(kSectionLeft)->data(view.model(kSectionLeft)->index(2, 0), Qt::DisplayRole).toString(),
            "L-3");
  EXPECT_EQ(view.model(kSectionRight)->data(view.model(kSectionRight)->index(0, 0), Qt::DisplayRole).toString(),
            "R-1");
  EXPECT_TRUE(view.saveButton()->isEnabled());
}

TEST_F(SectionViewTest, MirrorFromTheRightPageShowsTheLeftPage) {
  host.store.leftSections.append(component("old", 1));
  host.store.rightSections.append(component("Carriageway", 3.75));
  host.store.rightSections.append(component("Hard shoulder", 2.5));
  CRoadSectionView view(host);
  view.setCurrentSide(kSectionRight);
  view.findChild<QPushButton*>("mirrorButton")->click();
  EXPECT_EQ(view.currentSide(), kSectionLeft);
  ASSERT_EQ(view.editor().count(kSectionLeft), 2);
  EXPECT_EQ(view.editor().left()[1].moduleName(), "Hard shoulder");
  EXPECT_EQ(view.editor().left()[1].LeftOrRight, kSectionLeft);

  // Graphics shows the unsaved lists; the road still has its old left side.
  view.showGraphics();
  EXPECT_EQ(host.crossSectionsShown, 1);
  EXPECT_EQ(host.shownLeft.size(), 2u);
  EXPECT_EQ(host.store.leftSections.size(), 1u);
  // The frame's commit of pending edits stores them.
  ASSERT_TRUE(view.hasPendingInput());
  view.commitPendingInput();
  EXPECT_EQ(host.store.leftSections.size(), 2u);
  EXPECT_EQ(host.roadModified, 1);

  // Deleting the second right row leaves the left side alone.
  view.setCurrentSide(kSectionRight);
  EXPECT_TRUE(view.deleteComponent(1));
  EXPECT_EQ(view.editor().count(kSectionRight), 1);
  EXPECT_EQ(view.editor().count(kSectionLeft), 2);
  view.reloadFromRoad();  // message 1624
  EXPECT_EQ(view.editor().count(kSectionRight), 2);
  EXPECT_FALSE(view.saveButton()->isEnabled());
}

TEST_F(SectionViewTest, ComponentDialogOffersThePlateNames) {
  CRoadSectionView view(host);
  view.setDialogRunner([&](QDialog& d) {
    auto& dialog = static_cast<CRoadSectionItemDlg&>(d);
    QComboBox* names = dialog.nameBox();
    EXPECT_EQ(names->count(), 7);
    EXPECT_EQ(names->itemText(0), "Carriageway");
    EXPECT_EQ(names->itemText(6), "Footway");
    EXPECT_EQ(names->currentText(), "Carriageway");
    EXPECT_EQ(dialog.findChild<QLineEdit*>("widthEdit")->text(), "0.00");
    names->setEditText("Cycle track");
    dialog.findChild<QLineEdit*>("widthEdit")->setText("2.25");
    dialog.findChild<QLineEdit*>("slopeEdit")->setText("x");
    return int(QDialog::Accepted);
  });
  view.findChild<QPushButton*>("addButton")->click();
  ASSERT_EQ(view.editor().count(kSectionLeft), 1);
  EXPECT_EQ(view.editor().left()[0].moduleName(), "Cycle track");
  EXPECT_EQ(view.editor().left()[0].Width, 2.25);
  EXPECT_EQ(view.editor().left()[0].Slope, 0);
}

TEST_F(SectionViewTest, ComponentDialogOkRefusesAFieldOutOfRangeThroughTheSeam) {
  CRoadSectionView view(host);
  view.setDialogRunner([&](QDialog& d) {
    auto& dialog = static_cast<CRoadSectionItemDlg&>(d);
    dialog.findChild<QLineEdit*>("widthEdit")->setText("-3.75");
    dialog.accept();  // OK: stays open
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    dialog.findChild<QLineEdit*>("widthEdit")->setText("3.75");
    dialog.accept();
    return dialog.result();
  });
  view.findChild<QPushButton*>("addButton")->click();
  EXPECT_EQ(host.dialogs.warnings, std::vector<std::string>{"IDS_WARN_range_width"});
  ASSERT_EQ(view.editor().count(kSectionLeft), 1);
  EXPECT_EQ(view.editor().left()[0].Width, 3.75);
}

TEST_F(SectionViewTest, EditingKeepsTheComponentsNameEvenAnEmptyOne) {
  host.store.leftSections.append(component("", 3.5));
  host.store.leftSections.append(component("Verge", 1));
  CRoadSectionView view(host);
  std::vector<QString> shown;
  view.setDialogRunner([&](QDialog& d) {
    auto& dialog = static_cast<CRoadSectionItemDlg&>(d);
    shown.push_back(dialog.nameBox()->currentText());
    dialog.findChild<QLineEdit*>("widthEdit")->setText("3.75");
    return int(QDialog::Accepted);
  });
  for (int row : {0, 1}) {
    view.table(kSectionLeft)->selectRow(row);
    view.findChild<QPushButton*>("editButton")->click();
  }
  EXPECT_EQ(shown, (std::vector<QString>{"", "Verge"}));
  EXPECT_EQ(view.editor().left()[0].moduleName(), "");
  EXPECT_EQ(view.editor().left()[0].Width, 3.75);
  EXPECT_EQ(view.editor().left()[1].moduleName(), "Verge");
  view.findChild<QPushButton*>("addButton")->click();  // a new one still starts named
  EXPECT_EQ(shown.back(), "Carriageway");
}

TEST(SectionViewBuiltIn, NamesWithoutALanguageFile) {
  test::application();
  setLanguageFilePath("");
  FakeDataViewHost host;
  CRoadSectionView view(host);
  auto* tabs = view.findChild<QTabWidget*>("sectionTabs");
  ASSERT_NE(tabs, nullptr);
  EXPECT_EQ(tabs->tabText(0), QString::fromUtf8("左侧"));
  EXPECT_EQ(tabs->tabText(1), QString::fromUtf8("右侧"));
  CRoadSectionItemDlg dialog;
  EXPECT_EQ(dialog.nameBox()->count(), 7);
  EXPECT_EQ(dialog.nameBox()->itemText(0), QString::fromUtf8("行车道"));
  view.addComponent(Road_Section_Item());
  EXPECT_EQ(view.model(kSectionLeft)->data(view.model(kSectionLeft)->index(0, 0), Qt::DisplayRole).toString(),
            QString::fromUtf8("左-1"));
}

}  // namespace
}  // namespace trazmark
