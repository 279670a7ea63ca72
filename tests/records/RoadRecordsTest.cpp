#include "records/RoadRecords.h"

#include <gtest/gtest.h>

#include "platform/CodePage.h"

namespace trazmark {
namespace {

TEST(RoadDataSet, NewAndClearedSetsAreEmptyWithNoMethod) {
  RoadDataSet road;
  EXPECT_EQ(road.FlatcurveType, -1);
  EXPECT_TRUE(road.scissons.empty());
  EXPECT_TRUE(road.sectionChanges.empty());

  road.FlatcurveType = 1;
  road.elements.append(Road_Element{});
  road.slopes.append(Road_Slope{});
  road.sectionChanges.append(Road_Section_Change{});
  road.clear();
  EXPECT_EQ(road.FlatcurveType, -1);
  EXPECT_TRUE(road.elements.empty());
  EXPECT_TRUE(road.slopes.empty());
  EXPECT_TRUE(road.sectionChanges.empty());
}

TEST(RoadRecords, DefaultsThatFilesRelyOn) {
  Road_Section_Change change;
  EXPECT_EQ(change.Mileage, -1.0);
  EXPECT_EQ(change.TypeChange, 0);
  for (const auto& item : change.items) {
    EXPECT_FALSE(item.hasName());
    EXPECT_EQ(item.LeftOrRight, -1);
  }
  EXPECT_EQ(Road_Section_Item{}.LeftOrRight, -1);
}

TEST(RoadRecords, CopiesAreDeep) {
  Road_Slope slope;
  slope.SlopeName = "S1";
  slope.items.append(Road_Slope_Item{"S1", "step", 0, 8, 1.5, 0});
  Road_Slope copy = slope;
  copy.items[0].ItemName = "changed";
  copy.items.append(Road_Slope_Item{});
  EXPECT_EQ(slope.items.size(), 1u);
  EXPECT_EQ(slope.items[0].ItemName, "step");
}

TEST(RecordList, InsertAndRemoveAtIndex) {
  RecordList<RoadLibraryData> list;
  list.append({"", "a", 0, 0});
  list.append({"", "b", 0, 0});
  list.insertAt(0, {"", "new", 0, 0});
  ASSERT_EQ(list.count(), 3);
  EXPECT_EQ(list[0].Name, "new");
  EXPECT_EQ(list[1].Name, "a");
  EXPECT_EQ(list[2].Name, "b");
  EXPECT_TRUE(list.removeAt(1));
  EXPECT_FALSE(list.removeAt(5));
  EXPECT_EQ(list[1].Name, "b");
}

TEST(ModuleName, KeepsTerminatingZeroAndNeverCutsACharacter) {
  Road_Section_Item item;
  item.setModuleName(std::string(49, 'a'));
  EXPECT_EQ(item.moduleName().size(), 49u);
  EXPECT_EQ(item.ModuleName[49], '\0');

  item.setModuleName(std::string(80, 'b'));
  EXPECT_EQ(item.moduleName(), std::string(49, 'b'));

  // The 49 bytes are those of the road file format, code page 936, whatever
  // the page in memory: 17 Chinese characters are 51 bytes of UTF-8 but 34 of
  // code page 936, and fit; 24 fit, a 25th does not.
  auto repeat = [](const std::string& piece, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += piece;
    return out;
  };
  const std::string che = "\xe8\xbd\xa6";          // 车 in UTF-8
  const std::string smile = "\xf0\x9f\x98\x80";   // not in code page 936
  struct Case {
    const char* what;
    std::string name;
    std::string kept;
  } utf8Cases[] = {
      {"17 characters", repeat(che, 17), repeat(che, 17)},
      {"24 characters", repeat(che, 24), repeat(che, 24)},
      {"25 characters", repeat(che, 25), repeat(che, 24)},
      {"a and 24", "a" + repeat(che, 24), "a" + repeat(che, 24)},
      {"ab and 24", "ab" + repeat(che, 24), "ab" + repeat(che, 23)},
      {"not in code page 936", repeat(smile, 13), repeat(smile, 12)},
      {"partly not in code page 936", repeat(che, 16) + smile, repeat(che, 16)},
  };
  setAnsiCodePageOverride(kCodePageUtf8);
  for (const Case& c : utf8Cases) {
    item.setModuleName(c.name);
    EXPECT_EQ(item.moduleName(), c.kept) << c.what;
  }

  // Code page 936: two-byte characters; "a" then 25 of them leaves 1 + 24*2 = 49.
  std::string gbk = "a";
  for (int i = 0; i < 25; ++i) gbk += "\xb3\xb5";  // 车 in GBK
  setAnsiCodePageOverride(kCodePageGbk);
  item.setModuleName(gbk);
  EXPECT_EQ(item.moduleName().size(), 49u);
  gbk = "ab" + gbk.substr(1);
  item.setModuleName(gbk);
  EXPECT_EQ(item.moduleName().size(), 48u);
  setAnsiCodePageOverride(0);
}

}  // namespace
}  // namespace trazmark
