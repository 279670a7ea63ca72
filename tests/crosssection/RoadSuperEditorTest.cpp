// Superelevation and widening change points: the dialog's component entries
// and its two kinds of OK, the edit bounds, and the view's list with its
// insert-or-append question.

#include <gtest/gtest.h>

#include "crosssection/RoadSuperEditor.h"

namespace trazmark {
namespace {

Road_Section_Item component(const char* name, int side) {
  Road_Section_Item c;
  c.setModuleName(name);
  c.LeftOrRight = side;
  return c;
}

RoadDataSet roadWithComponents() {
  RoadDataSet road;
  road.leftSections.append(component("lane", 0));
  road.leftSections.append(component("A-B", 0));
  road.rightSections.append(component("lane", 1));
  road.rightSections.append(component("kerb", 1));
  return road;
}

SuperEntryFields fields(int component, const char* value, const char* mileage, int mode = 0) {
  SuperEntryFields f;
  f.componentIndex = component;
  f.valueText = value;
  f.mileageText = mileage;
  f.modeIndex = mode;
  return f;
}

TEST(RoadSuperEntry, ComponentEntriesNameSideAndIndex) {
  RoadDataSet road = roadWithComponents();
  auto entries = superComponentEntries(road.leftSections, road.rightSections, "L", "R");
  ASSERT_EQ(entries.size(), 4u);
  EXPECT_EQ(entries[1].text, "L-A-B");
  EXPECT_EQ(entries[3].text, "R-kerb");
  EXPECT_EQ(entries[3].leftRight, 1);
  EXPECT_EQ(entries[3].inSectionIndex, 1);

  // A hyphen inside a component's name stays in the recorded name.
  SuperEntryResult r = acceptNewSuperEntry(SuperValueKind::kSlope, entries, fields(1, "2.5", "120"));
  ASSERT_EQ(r.outcome, SuperEntryResult::kAccepted);
  EXPECT_EQ(r.item.SectionName, "A-B");
  EXPECT_EQ(r.item.LeftRight, 0);
  EXPECT_EQ(r.item.InSectionIndex, 1);
  EXPECT_EQ(r.value.Slope, 2.5);
  EXPECT_EQ(r.value.Mileage, 120);

  // Nothing to choose (a road without components), or nothing chosen: OK does nothing.
  EXPECT_EQ(acceptNewSuperEntry(SuperValueKind::kSlope, {}, fields(0, "1", "1")).outcome, SuperEntryResult::kStayOpen);
  EXPECT_EQ(acceptNewSuperEntry(SuperValueKind::kSlope, entries, fields(-1, "1", "1")).outcome,
            SuperEntryResult::kStayOpen);
  SuperEntryResult bad = acceptNewSuperEntry(SuperValueKind::kSlope, entries, fields(0, "2%", "1"));
  EXPECT_EQ(bad.outcome, SuperEntryResult::kRefused);
  EXPECT_EQ(bad.messageKey, "IDS_WARN_enter_number");
}

TEST(RoadSuperEntry, BothKindsOfferFourParabolaAsModeTwo) {
  EXPECT_EQ(offeredGradientModes(SuperValueKind::kSlope), (std::vector<int32_t>{0, 1, 2}));
  ASSERT_EQ(offeredGradientModes(SuperValueKind::kWidth), (std::vector<int32_t>{0, 1, 2}));
  RoadDataSet road = roadWithComponents();
  auto entries = superComponentEntries(road.leftSections, road.rightSections, "L", "R");
  SuperEntryResult r = acceptNewSuperEntry(SuperValueKind::kWidth, entries, fields(2, "3.5", "120", 2));
  ASSERT_EQ(r.outcome, SuperEntryResult::kAccepted);
  EXPECT_EQ(r.value.Mode, 2);
  EXPECT_EQ(r.value.Width, 3.5);
  EXPECT_EQ(r.value.Slope, 0);
  EXPECT_STREQ(gradientModeKey(r.value.Mode), "IDS_DATA_four_parabola");
  EXPECT_EQ(acceptNewSuperEntry(SuperValueKind::kSlope, entries, fields(2, "3", "1", 2)).value.Mode, 2);
  // An index past the list is linear.
  EXPECT_EQ(acceptNewSuperEntry(SuperValueKind::kSlope, entries, fields(2, "3", "1", 3)).value.Mode, 0);

  // An edited point of a code beyond the three keeps it as the list's last entry.
  Road_Super_Item item;
  Road_Super_Value odd;
  odd.Mode = 7;
  item.values.append(odd);
  EXPECT_EQ(dialogGradientModes(SuperValueKind::kSlope, &item.values[0]), (std::vector<int32_t>{0, 1, 2, 7}));
  EXPECT_EQ(acceptSuperEdit(SuperValueKind::kSlope, item, 0, fields(-1, "1", "0", 3)).value.Mode, 7);
  EXPECT_EQ(acceptSuperEdit(SuperValueKind::kSlope, item, 0, fields(-1, "1", "0", 2)).value.Mode, 2);
}

Road_Super_Item itemAt(std::initializer_list<double> mileages) {
  Road_Super_Item item;
  item.SectionName = "lane";
  for (double m : mileages) {
    Road_Super_Value v;
    v.Mileage = m;
    item.values.append(v);
  }
  return item;
}

TEST(RoadSuperEntry, EditStaysBetweenItsNeighbours) {
  struct Case {
    std::initializer_list<double> mileages;
    int k;
    const char* entered;
    const char* key;  // "" accepted
  };
  const Case cases[] = {
      {{0, 100, 200}, 1, "0", ""},
      {{0, 100, 200}, 1, "150", ""},
      {{0, 100, 200}, 1, "200", ""},
      {{0, 100, 200}, 1, "210", "IDS_WARN_mileage_large_nextpoint"},
      {{0, 100, 200}, 1, "-1", "IDS_WARN_mileage_less_uppoint"},
      {{10, 100}, 0, "5", "IDS_WARN_mileage_less_uppoint"},
      {{10, 100}, 0, "100", ""},
      {{10, 100}, 1, "1e8", ""},  // no upper bound but the stations' range
      {{10, 100}, 1, "9", "IDS_WARN_mileage_less_uppoint"},
      {{50}, 0, "50", ""},
      {{50}, 0, "51", "IDS_WARN_mileage_large_nextpoint"},
      {{50}, 0, "49", "IDS_WARN_mileage_less_uppoint"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("k=") + std::to_string(c.k) + " e=" + c.entered);
    Road_Super_Item item = itemAt(c.mileages);
    SuperEntryResult r = acceptSuperEdit(SuperValueKind::kSlope, item, c.k, fields(-1, "2", c.entered, 1));
    EXPECT_EQ(r.messageKey, c.key);
    EXPECT_EQ(r.outcome, *c.key ? SuperEntryResult::kRefused : SuperEntryResult::kAccepted);
    if (!*c.key) {
      EXPECT_EQ(r.value.Mode, 1);
    }
  }
}

std::vector<double> mileagesOf(const Road_Super_Item& item) {
  std::vector<double> m;
  for (const auto& v : item.values) m.push_back(v.Mileage);
  return m;
}

TEST(RoadSuperEditor, AnEarlierPointIsInsertedOrAppendedAsAnswered) {
  for (bool yes : {true, false}) {
    SCOPED_TRACE(yes ? "Yes" : "No");
    RoadDataSet road = roadWithComponents();
    CRoadSuperEditor editor(SuperValueKind::kSlope);
    editor.load(road);
    auto entries = superComponentEntries(editor.leftSections(), editor.rightSections(), "L", "R");
    std::vector<std::string> asked;
    auto ask = [&](const std::string& key) {
      asked.push_back(key);
      return yes;
    };
    auto r100 = acceptNewSuperEntry(SuperValueKind::kSlope, entries, fields(0, "2", "100"));
    auto r50 = acceptNewSuperEntry(SuperValueKind::kSlope, entries, fields(0, "3", "50"));
    editor.add(r100.item, r100.value, ask);
    EXPECT_TRUE(asked.empty());
    editor.add(r50.item, r50.value, ask);
    ASSERT_EQ(asked, std::vector<std::string>{"IDS_WARN_mileage_less_uppoint_insert"});
    ASSERT_EQ(editor.items().count(), 1);
    EXPECT_EQ(mileagesOf(editor.items()[0]), yes ? std::vector<double>({50, 100}) : std::vector<double>({100, 50}));

    // The same name on the other side is another item; its rows follow.
    auto right = acceptNewSuperEntry(SuperValueKind::kSlope, entries, fields(2, "1", "10"));
    editor.add(right.item, right.value, ask);
    ASSERT_EQ(editor.items().count(), 2);
    ASSERT_EQ(editor.rowCount(), 3);
    EXPECT_EQ(editor.rows()[2].item, 1);
    EXPECT_EQ(editor.rows()[2].value, 0);
    EXPECT_EQ(road.superHighs.count(), 0);  // only Save stores
  }
}

TEST(RoadSuperEditor, ANewPointJoinsTheItemAnOlderSystemRecordedUnderTheShortName) {
  RoadDataSet road;
  road.leftSections.append(component("lane", 0));
  road.leftSections.append(component("A-B", 0));
  Road_Super_Item older;  // "A-B" as older files record it
  older.SectionName = "A";
  older.InSectionIndex = 1;
  older.values.append(Road_Super_Value());
  road.superHighs.append(older);
  CRoadSuperEditor editor(SuperValueKind::kSlope);
  editor.load(road);
  auto entries = superComponentEntries(editor.leftSections(), editor.rightSections(), "L", "R");
  SuperEntryResult r = acceptNewSuperEntry(SuperValueKind::kSlope, entries, fields(1, "2", "20"));
  editor.add(r.item, r.value, nullptr);
  ASSERT_EQ(editor.items().count(), 1);
  EXPECT_EQ(editor.items()[0].values.count(), 2);

  // The dialog's entry of an item: by side and index, else by its text (the
  // cross section changed), else none (the component is gone).
  EXPECT_EQ(superEntryIndexOf(entries, older, "L", "R"), 1);
  Road_Super_Item stale;
  stale.SectionName = "lane";
  stale.InSectionIndex = 9;
  EXPECT_EQ(superEntryIndexOf(entries, stale, "L", "R"), 0);
  stale.SectionName = "verge";
  EXPECT_EQ(superEntryIndexOf(entries, stale, "L", "R"), -1);
}

TEST(RoadSuperEditor, DeletingTheLastPointRemovesItsItem) {
  RoadDataSet road = roadWithComponents();
  road.superHighs.append(itemAt({0, 100}));
  road.superHighs.append(itemAt({300}));
  road.superHighs[1].SectionName = "kerb";
  road.superHighs[1].LeftRight = 1;
  CRoadSuperEditor editor(SuperValueKind::kSlope);
  editor.load(road);
  ASSERT_EQ(editor.rowCount(), 3);
  EXPECT_FALSE(editor.remove(3));
  EXPECT_FALSE(editor.isModified());
  EXPECT_TRUE(editor.remove(2));
  EXPECT_EQ(editor.items().count(), 1);
  EXPECT_TRUE(editor.remove(0));
  ASSERT_EQ(editor.items().count(), 1);
  EXPECT_EQ(mileagesOf(editor.items()[0]), std::vector<double>{100});

  Road_Super_Value v;
  v.Mileage = 90;
  v.Slope = -2;
  EXPECT_TRUE(editor.replace(0, v));
  editor.save(road);
  ASSERT_EQ(road.superHighs.count(), 1);
  EXPECT_EQ(road.superHighs[0].values[0].Slope, -2);
  EXPECT_EQ(road.widens.count(), 0);
  EXPECT_EQ(road.leftSections.count(), 2);  // the components are only read
}

TEST(RoadSuperEditor, WideningWorksOnTheRoadsWidens) {
  RoadDataSet road = roadWithComponents();
  road.superHighs.append(itemAt({1}));
  road.widens.append(itemAt({2, 3}));
  CRoadSuperEditor editor(SuperValueKind::kWidth);
  editor.load(road);
  EXPECT_EQ(editor.rowCount(), 2);
  EXPECT_TRUE(editor.remove(0));
  editor.save(road);
  EXPECT_EQ(road.widens[0].values.count(), 1);
  EXPECT_EQ(road.superHighs[0].values.count(), 1);
}

}  // namespace
}  // namespace trazmark
