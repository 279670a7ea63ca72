// The broken chain dialog's reading of its two texts, the view's working copy,
// and chains saved with a road reaching the alignment engine that every
// consumer of a road file loads (the command-line tool among them).

#include <gtest/gtest.h>

#include <filesystem>

#include "alignment/CurveFile.h"
#include "editors/AlignmentLoader.h"
#include "editors/RoadChainEditor.h"
#include "library/InputRoadLibrary.h"

namespace trazmark {
namespace {

struct ChainCase {
  const char* before;
  const char* after;
  ChainEntryResult::Outcome outcome;
  const char* key;
  int type;
  double length;
};

TEST(RoadChainEntry, ReadsTheTwoMileages) {
  const ChainCase cases[] = {
      {"1000.000", "1050.000", ChainEntryResult::kAccepted, "", 1, 50},
      {"1050", "1000", ChainEntryResult::kAccepted, "", 0, 50},
      {"1000.00005", "1000", ChainEntryResult::kAccepted, "", 1, 0.00005},
      {"1000.0002", "1000", ChainEntryResult::kAccepted, "", 0, 0.0002},
      {"1000", "1000", ChainEntryResult::kAccepted, "", 1, 0},
      {" 12.5 ", "+10", ChainEntryResult::kAccepted, "", 0, 2.5},
      {"", "", ChainEntryResult::kStayOpen, "", 0, 0},
      {"  ", "", ChainEntryResult::kStayOpen, "", 0, 0},
      // One mileage without the other would make a chain hundreds of metres long.
      {"500", "", ChainEntryResult::kRefused, "IDS_WARN_chain_needs_both_mileages", 0, 0},
      {"", "500", ChainEntryResult::kRefused, "IDS_WARN_chain_needs_both_mileages", 0, 0},
      {"1O50", "1000", ChainEntryResult::kRefused, "IDS_WARN_enter_number", 0, 0},
      {"1050", "1000,5", ChainEntryResult::kRefused, "IDS_WARN_enter_number", 0, 0},
      {"inf", "1000", ChainEntryResult::kRefused, "IDS_WARN_enter_number", 0, 0},
      {"nan", "1000", ChainEntryResult::kRefused, "IDS_WARN_enter_number", 0, 0},
      // A number no road reaches is refused with the field it is in.
      {"1e300", "1000", ChainEntryResult::kRefused, "IDS_WARN_range_mileage_before", 0, 0},
      {"1000", "-100000001", ChainEntryResult::kRefused, "IDS_WARN_range_mileage_after", 0, 0},
      {"100000000", "-100000000", ChainEntryResult::kAccepted, "", 0, 2e8},
  };
  for (const ChainCase& c : cases) {
    SCOPED_TRACE(std::string(c.before) + " -> " + c.after);
    ChainEntryResult r = acceptChainEntry(c.before, c.after);
    EXPECT_EQ(r.outcome, c.outcome);
    EXPECT_EQ(r.messageKey, c.key);
    if (c.outcome != ChainEntryResult::kAccepted) continue;
    EXPECT_EQ(r.chain.Type, c.type);
    EXPECT_NEAR(r.chain.Length, c.length, 1e-9);
  }
}

TEST(RoadChainEntry, EditFillsBothTextsWithFourDecimals) {
  std::string before, after;
  chainEntryTexts(makeBrokenChain(1050.123456, 1000), before, after);
  EXPECT_EQ(before, "1050.1235");
  EXPECT_EQ(after, "1000.0000");
}

TEST(RoadChainEditor, WorksOnItsCopyUntilSave) {
  RoadDataSet road;
  road.scissons.append(makeBrokenChain(100, 90));
  CRoadChainEditor editor;
  editor.load(road);
  EXPECT_FALSE(editor.isModified());
  editor.add(makeBrokenChain(500, 520));
  EXPECT_TRUE(editor.replace(0, makeBrokenChain(110, 90)));
  EXPECT_FALSE(editor.replace(2, makeBrokenChain(1, 2)));
  EXPECT_FALSE(editor.remove(-1));
  EXPECT_TRUE(editor.isModified());
  EXPECT_EQ(road.scissons.count(), 1);
  EXPECT_EQ(road.scissons[0].Before_mileage, 100);

  editor.save(road);
  EXPECT_FALSE(editor.isModified());
  ASSERT_EQ(road.scissons.count(), 2);
  EXPECT_EQ(road.scissons[0].Before_mileage, 110);
  EXPECT_EQ(road.scissons[1].Type, 1);

  EXPECT_TRUE(editor.remove(0));
  editor.load(road);  // a reload discards the delete
  EXPECT_EQ(editor.chains().count(), 2);
  EXPECT_FALSE(editor.isModified());
}

// A straight road of 1000 m from (0, 0) due north, entered as elements.
void straightRoad(RoadDataSet& road) {
  Road_Element start;
  start.Type = 1;
  start.point.X = 0;
  start.point.Y = 0;
  start.Azimuth = 0;
  start.Mileage = 0;
  Road_Element line;
  line.Type = 2;
  line.Azimuth = 0;
  line.Length = 1000;
  road.elements.append(start);
  road.elements.append(line);
  road.FlatcurveType = kFlatcurveElements;
}

TEST(RoadChainEditor, SavedChainsReachTheEngineOfTheRoadFile) {
  CInputRoadLibrary road;
  straightRoad(road);
  CRoadChainEditor editor;
  editor.load(road);
  editor.add(acceptChainEntry("400", "450").chain);  // short: stations 400..450 skipped
  editor.save(road);
  auto dir = std::filesystem::temp_directory_path() / "trazmark-chain-engine-test";
  std::filesystem::create_directories(dir);
  std::string path = (dir / "road.REC").string();
  ASSERT_TRUE(road.writeRoadFile(path));

  CRoadDesign design;
  AlignmentSource source;
  std::string error;
  ASSERT_TRUE(loadAlignmentFile(path, design, source, error)) << error;
  ASSERT_EQ(design.brokenChains.count(), 1);
  // Displayed 460 lies 10 m beyond the chain: continuous 410, X 410 due north.
  auto p = design.pointAtStation(460, 0, -1);
  ASSERT_TRUE(p.has_value());
  EXPECT_NEAR(p->x, 410, 1e-6);
  EXPECT_NEAR(design.displayedFromContinuous(design.endMileage()), 1050, 1e-6);
  std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace trazmark
