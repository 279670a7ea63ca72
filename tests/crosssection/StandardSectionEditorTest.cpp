#include "crosssection/StandardSectionEditor.h"

#include <gtest/gtest.h>

namespace trazmark {
namespace {

Road_Section_Item component(const std::string& name, double width, double slope = -2, double kerb = 0) {
  Road_Section_Item c;
  c.setModuleName(name);
  c.Width = width;
  c.Slope = slope;
  c.Roadteeth = kerb;
  return c;
}

TEST(StandardSectionEditor, SixteenComponentsPerSide) {
  CStandardSectionEditor e;
  for (int i = 0; i < 16; ++i) ASSERT_TRUE(e.add(kSectionLeft, component("lane", 3.5))) << i;
  EXPECT_FALSE(e.add(kSectionLeft, component("17th", 1)));
  EXPECT_EQ(e.count(kSectionLeft), 16);
  // The other side still takes its own sixteen.
  for (int i = 0; i < 16; ++i) ASSERT_TRUE(e.add(kSectionRight, component("lane", 3.5))) << i;
  EXPECT_FALSE(e.add(kSectionRight, component("17th", 1)));
  EXPECT_EQ(e.left()[15].LeftOrRight, kSectionLeft);
  EXPECT_EQ(e.right()[0].LeftOrRight, kSectionRight);
}

TEST(StandardSectionEditor, EditDeleteAndMirrorKeepTheSidesApart) {
  CStandardSectionEditor e;
  RecordList<Road_Section_Item> left, right;
  left.append(component("L1", 1));
  for (const char* n : {"R1", "R2", "R3"}) right.append(component(n, 2));
  e.load(left, right);
  EXPECT_FALSE(e.modified());

  ASSERT_TRUE(e.remove(kSectionRight, 1));
  ASSERT_EQ(e.count(kSectionRight), 2);
  EXPECT_EQ(e.right()[1].moduleName(), "R3");
  EXPECT_EQ(e.count(kSectionLeft), 1);
  EXPECT_FALSE(e.remove(kSectionLeft, 1));
  EXPECT_FALSE(e.edit(kSectionLeft, -1, component("x", 1)));

  Road_Section_Item wrongSide = component("L1b", 1.5);
  wrongSide.LeftOrRight = kSectionRight;
  ASSERT_TRUE(e.edit(kSectionLeft, 0, wrongSide));
  EXPECT_EQ(e.left()[0].LeftOrRight, kSectionLeft);  // keeps its side
  EXPECT_EQ(e.left()[0].Width, 1.5);

  // Mirroring the right side replaces the whole left list.
  EXPECT_EQ(e.mirror(kSectionRight), kSectionLeft);
  ASSERT_EQ(e.count(kSectionLeft), 2);
  EXPECT_EQ(e.left()[0].moduleName(), "R1");
  EXPECT_EQ(e.left()[1].moduleName(), "R3");
  for (const auto& c : e.left()) EXPECT_EQ(c.LeftOrRight, kSectionLeft);
  EXPECT_TRUE(e.modified());

  RecordList<Road_Section_Item> savedLeft, savedRight;
  e.saveTo(savedLeft, savedRight);
  EXPECT_FALSE(e.modified());
  EXPECT_EQ(savedLeft.size(), 2u);
  EXPECT_EQ(savedRight.size(), 2u);
}

TEST(StandardSectionEditor, RowTexts) {
  CStandardSectionEditor e;
  for (int i = 0; i < 3; ++i) e.add(kSectionLeft, component("Carriageway", 3.75, -2, 0.15));
  EXPECT_EQ(e.cellText(kSectionLeft, 2, CStandardSectionEditor::kColumnIndex, "L"), "L-3");
  EXPECT_EQ(e.cellText(kSectionLeft, 2, CStandardSectionEditor::kColumnName, "L"), "Carriageway");
  EXPECT_EQ(e.cellText(kSectionLeft, 2, CStandardSectionEditor::kColumnWidth, "L"), "3.750");
  EXPECT_EQ(e.cellText(kSectionLeft, 2, CStandardSectionEditor::kColumnSlope, "L"), "-2.000");
  EXPECT_EQ(e.cellText(kSectionLeft, 2, CStandardSectionEditor::kColumnRoadteeth, "L"), "0.150");
  EXPECT_EQ(e.cellText(kSectionLeft, 3, CStandardSectionEditor::kColumnIndex, "L"), "");
}

TEST(SectionComponentForm, FieldsToComponent) {
  struct Case {
    SectionComponentFields fields;
    double width, slope, kerb;
  } cases[] = {
      {{"Lane", "3.5", "-2", "0.15"}, 3.5, -2, 0.15},
      {{"Lane", "abc", "", "  1.25x"}, 0, 0, 1.25},  // not a number reads 0
      {{"Lane", "nan", "inf", "-inf"}, 0, 0, 0},      // nor does a non-finite one
  };
  for (const Case& c : cases) {
    const Road_Section_Item item = CSectionComponentForm::toRecord(c.fields);
    EXPECT_EQ(item.Width, c.width) << c.fields.width;
    EXPECT_EQ(item.Slope, c.slope) << c.fields.slope;
    EXPECT_EQ(item.Roadteeth, c.kerb) << c.fields.roadteeth;
  }
  const Road_Section_Item longName = CSectionComponentForm::toRecord({std::string(80, 'n'), "1", "2", "3"});
  EXPECT_EQ(longName.moduleName().size(), 49u);
  const SectionComponentFields back = CSectionComponentForm::fromRecord(component("Kerb", 0.5, 1, 0.2));
  EXPECT_EQ(back.name, "Kerb");
  EXPECT_EQ(back.width, "0.500");
  EXPECT_EQ(back.slope, "1.000");
  EXPECT_EQ(back.roadteeth, "0.200");
  EXPECT_EQ(CSectionComponentForm::empty().width, "0.00");
}

}  // namespace
}  // namespace trazmark
