// Several broken chains: each chain's back station is read on the branch the
// chains before it leave, so displayed and continuous mileages convert stretch
// by stretch.

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "alignment/ChainageTable.h"
#include "alignment/RoadDesign.h"

namespace trazmark {
namespace {

Scisson_Data chain(double before, double after) {
  Scisson_Data c;
  c.Before_mileage = before;
  c.After_mileage = after;
  c.Type = before - after <= 1e-4 ? 1 : 0;
  c.Length = std::fabs(before - after);
  return c;
}

// A straight road due north from (0, 0): X is continuous mileage minus `start`.
CRoadDesign straightRoad(double start, double length) {
  Road_Element p;
  p.Type = 1;
  Road_Element l;
  l.Type = 2;
  l.Length = length;
  CRoadDesign d;
  EXPECT_TRUE(d.loadFromRoad("r", start, {p, l}));
  return d;
}

// Continuous mileage of a displayed station on a branch, read off the place.
double continuousAt(const CRoadDesign& d, double start, double displayed, int side) {
  const auto p = d.pointAtStation(displayed, 0, side);
  return p ? p->x + start : std::nan("");
}

// The case reported from the field: a short chain, then a long one.
TEST(BrokenChains, ShortThenLongFromTheField) {
  const double start = 12000;
  CRoadDesign d = straightRoad(start, 2500);
  d.brokenChains = {chain(12916.839, 12928.964), chain(13662.997, 13619.247)};
  // Chain 2 lies where the displayed 13662.997 falls after chain 1.
  const double chainPoint = 13662.997 - 12.125;
  EXPECT_NEAR(continuousAt(d, start, 13619.247, 1), chainPoint, 1e-9);
  EXPECT_NEAR(continuousAt(d, start, 13662.997, 0), chainPoint, 1e-9);
  EXPECT_NEAR(continuousAt(d, start, 13620, 0), 13620 - 12.125, 1e-9);
  EXPECT_NEAR(continuousAt(d, start, 13620, 1), 13620 + 31.625, 1e-9);
  EXPECT_NEAR(d.displayedFromContinuous(14500), 14500 - 31.625, 1e-9);

  std::vector<RoadCoordinate> records;
  ASSERT_TRUE(d.stakeRecords(0, 20, 0, records));
  std::vector<double> at13620;
  for (const RoadCoordinate& r : records)
    if (r.mileageText == "13620.0000") at13620.push_back(r.continuousMileage);
  ASSERT_EQ(at13620.size(), 2u) << "13620 lies on both branches of the long chain";
  EXPECT_NEAR(at13620[0], 13607.875, 1e-9);
  EXPECT_NEAR(at13620[1], 13651.625, 1e-9);
  EXPECT_EQ(records.back().mileageText, "14468.3750");

  // The same chains entered out of road order read the same.
  CRoadDesign reversed = straightRoad(start, 2500);
  reversed.brokenChains = {d.brokenChains[1], d.brokenChains[0]};
  EXPECT_EQ(reversed.brokenChainError(), "");
  EXPECT_NEAR(continuousAt(reversed, start, 13619.247, 1), chainPoint, 1e-9);
}

struct ChainCase {
  const char* name;
  std::vector<Scisson_Data> chains;
  // A displayed station, its branch and the continuous mileage expected.
  struct Probe {
    double displayed;
    int side;
    double continuous;
    bool chainPoint = false;  ///< shows one station on each side; read back as the back one
  };
  std::vector<Probe> probes;
};

class SeveralChains : public ::testing::TestWithParam<ChainCase> {};

// Every record of the stake list sits at the place its displayed station names
// on its branch; stakes are whole multiples; skipped numbers have no stake and
// numbers of a repeated range have one on each branch.
TEST_P(SeveralChains, StationsAndStakeList) {
  const ChainCase& c = GetParam();
  const double start = 900;
  CRoadDesign d = straightRoad(start, 1600);
  d.brokenChains.clear();
  for (const Scisson_Data& s : c.chains) d.brokenChains.append(s);
  ASSERT_EQ(d.brokenChainError(), "");
  for (const auto& p : c.probes) {
    EXPECT_NEAR(continuousAt(d, start, p.displayed, p.side), p.continuous, 1e-9)
        << p.displayed << " side " << p.side;
    if (!p.chainPoint) {
      EXPECT_NEAR(d.displayedFromContinuous(p.continuous), p.displayed, 1e-9) << p.continuous;
    }
  }
  const CChainageTable table(d.brokenChains);
  std::vector<RoadCoordinate> records;
  ASSERT_TRUE(d.stakeRecords(0, 10, 0, records));
  double previous = -1e9;
  for (const RoadCoordinate& r : records) {
    EXPECT_GE(r.continuousMileage, previous - 1e-9);
    previous = r.continuousMileage;
    const int branch = table.branchOf(r.continuousMileage);
    EXPECT_NEAR(continuousAt(d, start, r.mileage, branch), r.continuousMileage, 1e-9)
        << r.name << " at " << r.mileageText << " branch " << branch;
    if (r.kind == RoadCoordinate::kRegularStake) {
      EXPECT_NEAR(std::remainder(r.mileage, 10), 0, 1e-9) << r.mileageText;
    }
  }
  for (double m = 910; m < 2500; m += 10) {
    int expected = 0;
    for (bool after : {false, true}) {
      const auto v = table.continuousFromDisplayed(m, after);
      if (v && (!after || *v != *table.continuousFromDisplayed(m, false)) && *v >= 900 &&
          *v <= 2500)
        ++expected;
    }
    int listed = 0;
    for (const RoadCoordinate& r : records)
      listed += r.kind == RoadCoordinate::kRegularStake && std::fabs(r.mileage - m) < 1e-9;
    // A stake at a chain point is listed once, under the back station.
    bool atChainPoint = false;
    for (const ChainBreak& b : table.breaks())
      atChainPoint = atChainPoint || std::fabs(m - (b.continuous + b.shiftAfter)) < 1e-9;
    if (!atChainPoint) {
      EXPECT_EQ(listed, expected) << "displayed " << m;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    , SeveralChains,
    ::testing::Values(
        ChainCase{"ShortThenLong",
                  {chain(1000, 1050), chain(1500, 1400)},
                  {{1100, -1, 1050}, {1500, 0, 1450}, {1400, 1, 1450, true}, {1420, 0, 1370},
                   {1420, 1, 1470}, {2000, -1, 2000 - 50 + 100}}},
        ChainCase{"LongThenShort",
                  {chain(1050, 1000), chain(1200, 1300)},
                  {{1020, 0, 1020}, {1020, 1, 1070}, {1170, -1, 1220}, {1320, -1, 1270}}},
        ChainCase{"TwoLong",
                  {chain(1050, 1000), chain(1100, 1080)},
                  {{1090, 0, 1140}, {1090, 1, 1160}, {1100, 0, 1150}, {1080, 1, 1150, true},
                   {1200, -1, 1270}}},
        ChainCase{"ThreeChains",
                  {chain(1000, 1030), chain(1600, 1560), chain(1800, 1900)},
                  {{1590, 0, 1560}, {1590, 1, 1600}, {1790, -1, 1800}, {1950, -1, 1860}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BrokenChains, OneLongChainAtItsEnds) {
  CRoadDesign d = straightRoad(900, 1000);
  d.brokenChains = {chain(1050, 1000)};
  EXPECT_NEAR(continuousAt(d, 900, 1050, 0), 1050, 1e-9) << "the back station on its branch";
  EXPECT_NEAR(continuousAt(d, 900, 1000, 1), 1050, 1e-9) << "the ahead station on its branch";
  EXPECT_NEAR(continuousAt(d, 900, 1050, 1), 1100, 1e-9);
  EXPECT_NEAR(continuousAt(d, 900, 1000, 0), 1000, 1e-9);
  EXPECT_EQ(CChainageTable(d.brokenChains).branchOf(1050), 0);
  EXPECT_EQ(CChainageTable(d.brokenChains).branchOf(1100), 1);
  EXPECT_EQ(CChainageTable(d.brokenChains).branchOf(1200), -1);
}

TEST(BrokenChains, SkippedStationsAndChainsThatCannotBePlaced) {
  CRoadDesign d = straightRoad(900, 1000);
  d.brokenChains = {chain(1000, 1050)};
  EXPECT_FALSE(d.pointAtStation(1020, 0)) << "a short chain skips 1020: it names no place";
  EXPECT_TRUE(d.pointAtStation(1050, 0));

  // A second chain whose back station is among the skipped numbers, in either order.
  for (const auto& chains : {RecordList<Scisson_Data>{chain(1000, 1050), chain(1020, 1010)},
                             RecordList<Scisson_Data>{chain(1020, 1010), chain(1000, 1050)},
                             RecordList<Scisson_Data>{chain(1000, 1050), chain(1000, 1060)},
                             RecordList<Scisson_Data>{chain(std::nan(""), 1050)}}) {
    d.brokenChains = chains;
    EXPECT_NE(d.brokenChainError(), "");
    EXPECT_FALSE(d.pointAtStation(1200, 0));
    EXPECT_TRUE(std::isnan(d.displayedFromContinuous(1200)));
    std::vector<RoadCoordinate> records;
    EXPECT_FALSE(d.stakeRecords(0, 20, 0, records));
    EXPECT_EQ(d.locate(100, 0).status, StationLocation::kInvalid);
  }
}

}  // namespace
}  // namespace trazmark
