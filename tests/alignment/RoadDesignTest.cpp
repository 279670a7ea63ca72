// The alignment engine: chaining, key-point names, broken chains, the element
// search and the stake list.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "platform/TextFields.h"
#include "platform/WarningSink.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;

Road_Element startPoint(double x, double y) {
  Road_Element r;
  r.Type = 1;
  r.point.X = x;
  r.point.Y = y;
  return r;
}
Road_Element line(double length, double azimuthDegrees = 0) {
  Road_Element r;
  r.Type = 2;
  r.Length = length;
  r.Azimuth = azimuthDegrees;
  return r;
}
Road_Element arc(double length, double radius) {
  Road_Element r;
  r.Type = 3;
  r.Length = length;
  r.Radius = radius;
  return r;
}
Road_Element spiral(double length) {
  Road_Element r;
  r.Type = 4;
  r.Length = length;
  return r;
}

std::vector<std::string> names(const CRoadDesign& d) {
  std::vector<std::string> out;
  for (const SurveyCoord& p : d.keyPoints()) out.push_back(p.Name);
  return out;
}

// Records warnings while alive.
struct WarningRecorder {
  std::vector<std::string> texts;
  WarningSink previous;
  WarningRecorder() {
    previous = setWarningSink(
        [this](const std::string& t, const std::string& c) { texts.push_back(c + ": " + t); });
  }
  ~WarningRecorder() { setWarningSink(previous); }
};

class StakeListFile : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("trazmark-design-" + std::to_string(::getpid()) + "-" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  static std::vector<std::string> readLines(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::vector<std::string> lines;
    std::string text = ss.str();
    std::size_t pos = 0;
    while (pos < text.size()) {
      const std::size_t end = text.find("\r\n", pos);
      EXPECT_NE(end, std::string::npos) << "every line ends with CR LF";
      if (end == std::string::npos) break;
      lines.push_back(text.substr(pos, end - pos));
      pos = end + 2;
    }
    return lines;
  }
  std::filesystem::path dir_;
};

TEST(CRoadDesignTest, KeyPointSequences) {
  struct Case {
    std::vector<Road_Element> chain;
    std::vector<std::string> names;
  };
  const Case cases[] = {
      {{startPoint(0, 0), line(100, 30), arc(80, 300), line(100)},
       {"QD", "ZY-01", "QZ-01", "YZ-01", "ZD"}},
      {{startPoint(0, 0), line(100, 30), spiral(60), arc(80, -300), spiral(60), line(100)},
       {"QD", "ZH-01", "HY-01", "QZ-01", "YH-01", "HZ-01", "ZD"}},
      {{startPoint(0, 0), line(50, 10), arc(40, 200), line(50), spiral(30), arc(40, -200),
        spiral(30), line(20), arc(30, 500), line(10)},
       {"QD", "ZY-01", "QZ-01", "YZ-01", "ZH-01", "HY-01", "QZ-02", "YH-01", "HZ-01", "ZY-02",
        "QZ-03", "YZ-02", "ZD"}},
      // An arc straight after the start point is the road's start, QD; a line
      // after a line carries the name listed before it.
      {{startPoint(0, 0), arc(40, 200), line(50), line(20)},
       {"QD", "QZ-01", "YZ-01", "YZ-01", "ZD"}},
  };
  for (const Case& c : cases) {
    CRoadDesign d;
    ASSERT_TRUE(
        d.loadFromRoad("road", 100, RecordList<Road_Element>(c.chain.begin(), c.chain.end())));
    EXPECT_TRUE(d.computed());
    EXPECT_EQ(names(d), c.names);
  }
  CRoadDesign d;
  ASSERT_TRUE(d.loadFromRoad("road", 100,
                             {startPoint(10, 20), line(100, 90), arc(50 * kPi, 100), line(10)}));
  const auto& kp = d.keyPoints();
  EXPECT_EQ(kp[0].MileageText, "100.0000");
  // East from (10, 20), then a right quarter circle about (-90, 120) to the south.
  EXPECT_EQ(kp[2].MileageText, "278.5398");  // QZ at the arc's half length
  EXPECT_NEAR(kp[2].X, -90 + 100 * std::sin(kPi / 4), 1e-9);
  EXPECT_NEAR(kp[2].Y, 120 + 100 * std::cos(kPi / 4), 1e-9);
  EXPECT_EQ(kp[2].Z, 0);
  EXPECT_NEAR(d.extents().minX, -100, 1e-9);
  EXPECT_NEAR(d.extents().maxX, 10, 1e-9);
  EXPECT_NEAR(d.extents().minY, 20, 1e-9);
  EXPECT_NEAR(d.extents().maxY, 220, 1e-9);
}

TEST(CRoadDesignTest, LoadFailures) {
  WarningRecorder warnings;
  CRoadDesign d;
  // Arcs and spirals of no length are dropped, so one element is left.
  EXPECT_FALSE(d.loadFromRoad("r", 0, {startPoint(0, 0), arc(0, 100), spiral(1e-11)}));
  ASSERT_EQ(warnings.texts.size(), 1u);
  EXPECT_EQ(warnings.texts[0], "Warning: 道路元素不能少于2个!");
  EXPECT_FALSE(d.computed());

  warnings.texts.clear();
  EXPECT_FALSE(d.loadFromRoad("r", 0, {line(10), line(10)}))
      << "first element must be a start point";
  EXPECT_FALSE(d.loadFromRoad("r", 0, {startPoint(0, 0), line(10), arc(10, 50), spiral(10)}));
  EXPECT_FALSE(d.loadFromRoad("r", 0, {startPoint(0, 0), line(10), line(-5)}));
  EXPECT_FALSE(d.loadFromRoad("r", 0, {startPoint(0, 0), line(10), arc(10, 1e-7), line(5)}));
  EXPECT_TRUE(warnings.texts.empty());
  EXPECT_FALSE(d.computed());
  EXPECT_TRUE(d.keyPoints().empty()) << "a failed build leaves no stale key points";
}

TEST(CRoadDesignTest, LineOfAzimuthZeroContinuesTheTangent) {
  CRoadDesign d;
  ASSERT_TRUE(d.loadFromRoad(
      "r", 0, {startPoint(0, 0), line(100, 0), arc(50, 200), line(30, 0), line(20, 90)}));
  const auto& e = d.elements();
  EXPECT_EQ(e[1].startAzimuth, 0) << "the first line keeps its own azimuth";
  EXPECT_DOUBLE_EQ(e[3].startAzimuth, e[2].endAzimuth);
  EXPECT_NEAR(e[3].startAzimuth, 0.25, 1e-12);
  EXPECT_DOUBLE_EQ(e[4].startAzimuth, kPi / 2) << "a line with its own azimuth keeps it";

  // Element files written elsewhere rely on every azimuth below zero meaning
  // "continue" as well; the first line still keeps its own.
  ASSERT_TRUE(d.loadFromRoad("r", 0, {startPoint(0, 0), line(100, 10), line(50, -30)}));
  EXPECT_DOUBLE_EQ(d.elements()[2].startAzimuth, d.elements()[1].endAzimuth)
      << "a negative azimuth continues the tangent";
  EXPECT_NEAR(d.elements()[2].endY, 150 * std::sin(10 * kPi / 180), 1e-9);
  ASSERT_TRUE(d.loadFromRoad("r", 0, {startPoint(0, 0), line(100, -30), line(50, 10)}));
  EXPECT_DOUBLE_EQ(d.elements()[1].startAzimuth, -30 * kPi / 180);
}

TEST(CRoadDesignTest, BrokenChains) {
  CRoadDesign d;
  // Due north from (0, 0), continuous 900 to 1900; a key point at 1100.
  ASSERT_TRUE(d.loadFromRoad("r", 900, {startPoint(0, 0), line(200), line(800)}));
  auto x = [&](double displayed, int side) {
    const auto p = d.pointAtStation(displayed, 0, side);
    return p ? p->x + 900 : std::nan("");
  };
  EXPECT_DOUBLE_EQ(x(1100, -1), 1100);

  d.brokenChains = {Scisson_Data{1, 50, 1000, 1050}};  // short chain
  EXPECT_DOUBLE_EQ(x(1100, -1), 1050);
  EXPECT_DOUBLE_EQ(d.displayedFromContinuous(1100), 1150);
  EXPECT_DOUBLE_EQ(x(1150, -1), 1100);
  EXPECT_DOUBLE_EQ(x(1940, -1), 1890) << "displayed mileages past the continuous end exist";

  d.brokenChains = {Scisson_Data{0, -50, 1050, 1000}};  // long chain
  EXPECT_DOUBLE_EQ(x(1020, 0), 1020);
  EXPECT_DOUBLE_EQ(x(1020, 1), 1070);
  EXPECT_DOUBLE_EQ(x(1020, -1), 1020);
  d.longChainDefaultAfter = true;
  EXPECT_DOUBLE_EQ(x(1020, -1), 1070);
  EXPECT_DOUBLE_EQ(x(1060, 0), 1110) << "past the break's back value there is one branch";
  EXPECT_FALSE(d.pointAtStation(2000, 0, 0));
  EXPECT_FALSE(d.pointAtStation(std::nan(""), 0, 0));
}

TEST(CRoadDesignTest, StationAzimuthIsNormalised) {
  CRoadDesign d;
  ASSERT_TRUE(d.loadFromRoad("r", 0, {startPoint(0, 0), line(100, -90), line(10, 720)}));
  EXPECT_NEAR(d.pointAtStation(50, 0)->azimuth, 1.5 * kPi, 1e-12);
  EXPECT_NEAR(d.pointAtStation(105, 0)->azimuth, 2 * kPi, 1e-9);
  const auto right = d.pointAtStation(50, 3);
  EXPECT_NEAR(right->x, 3, 1e-9) << "right of a road running west is north";
}

// The element search must find exactly what a first-match scan finds.
TEST(CRoadDesignTest, ElementSearchMatchesFirstMatchScan) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> len(0, 40);
  std::uniform_int_distribution<int> kind(2, 5);
  for (int round = 0; round < 30; ++round) {
    RecordList<Road_Element> chain{startPoint(0, 0), line(len(rng) + 1, 20)};
    for (int i = 0; i < 40; ++i) {
      switch (kind(rng)) {
        case 2:
          chain.append(line(round % 3 == 0 ? 0 : len(rng)));
          break;
        case 3:
          chain.append(arc(len(rng) + 1e-3, 150));
          break;
        case 4:
          chain.append(spiral(len(rng) + 1e-3));
          chain.append(arc(10, -300 - 10.0 * i));
          break;
        default:
          chain.append(startPoint(i, -i));
          break;
      }
    }
    chain.append(line(10));
    CRoadDesign d;
    ASSERT_TRUE(d.loadFromRoad("r", 12.5, chain));
    const auto& e = d.elements();
    for (int k = 0; k < 400; ++k) {
      double m = 12.5 + std::uniform_real_distribution<double>(-5, d.endMileage() - 12.5 + 5)(rng);
      if (k % 4 == 0) m = e[k % e.size()].endMileage + (k % 8 == 0 ? 5e-7 : -5e-7);
      std::optional<std::size_t> expected;
      for (std::size_t i = 1; i < e.size(); ++i) {
        if (e[i].type != kElementStartPoint &&
            CRoadDesign::isBetween(m, e[i].startMileage, e[i].endMileage)) {
          expected = i;
          break;
        }
      }
      EXPECT_EQ(d.findElement(m), expected) << "mileage " << m;
    }
  }
}

TEST_F(StakeListFile, StakeListFirstStakeAndFormat) {
  CRoadDesign d;
  ASSERT_TRUE(
      d.loadFromRoad("r", 34.5, {startPoint(100, 200), line(100, 45), arc(30, 200), line(50)}));
  ASSERT_TRUE(d.writeStakeList(path("mode0.txt"), 0, 20, 0));
  auto lines = readLines(path("mode0.txt"));
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "QD,100.0000,200.0000,0.0000,34.5000,0,45.0000000037");
  EXPECT_EQ(lines[1].substr(0, 2), "1,");
  EXPECT_NE(lines[1].find(",40.0000,2,"), std::string::npos) << lines[1];
  ASSERT_TRUE(d.writeStakeList(path("mode1.txt"), 1, 20, 0));
  lines = readLines(path("mode1.txt"));
  EXPECT_NE(lines[1].find(",54.5000,2,"), std::string::npos) << lines[1];
  EXPECT_EQ(lines.back().substr(0, 3), "ZD,");
  EXPECT_NE(lines.back().find(",214.5000,0,"), std::string::npos) << lines.back();
}

TEST_F(StakeListFile, StakeListRefusesIntervalsThatNeverAdvance) {
  CRoadDesign d;
  ASSERT_TRUE(d.loadFromRoad("r", 0, {startPoint(0, 0), line(100, 45)}));
  for (auto [mode, interval] :
       {std::pair{0, 0.0}, {1, 0.0}, {1, -5.0}, {0, 0.5}, {1, std::nan("")}, {1, 1e-9}}) {
    EXPECT_FALSE(d.writeStakeList(path("x.txt"), mode, interval, 0)) << mode << " " << interval;
    EXPECT_FALSE(std::filesystem::exists(path("x.txt")));
  }
  EXPECT_TRUE(d.writeStakeList(path("x.txt"), 1, 0.5, 0));
  EXPECT_FALSE(CRoadDesign().writeStakeList(path("y.txt"), 1, 10, 0)) << "not computed";
}

// A road running on a negative azimuth still gets its list, with the azimuth
// brought into range; a stake on an arc's mid-point does not replace its QZ.
TEST(CRoadDesignStakes, NegativeAzimuthAndStakeOnTheMidPoint) {
  CRoadDesign d;
  ASSERT_TRUE(d.loadFromRoad("r", 0, {startPoint(0, 0), line(100, -90), arc(40, 200), line(20)}));
  std::string text;
  ASSERT_TRUE(d.stakeListText(0, 20, 0, text));
  EXPECT_EQ(text.substr(0, text.find("\r\n")), "QD,0.0000,0.0000,0.0000,0.0000,0,270.0000000037");
  std::vector<RoadCoordinate> records;
  ASSERT_TRUE(d.stakeRecords(0, 20, 0, records));
  std::vector<std::string> around;
  for (const RoadCoordinate& r : records) {
    if (r.continuousMileage > 100 - 1e-9 && r.continuousMileage < 140 + 1e-9) {
      around.push_back(r.name + "@" + r.mileageText);
    }
  }
  EXPECT_EQ(around, (std::vector<std::string>{"5@100.0000", "ZY-01@100.0000", "6@120.0000",
                                              "QZ-01@120.0000", "7@140.0000", "YZ-01@140.0000"}));
}

// Every record sits where its displayed mileage says, on the branch it lies on;
// regular stakes are whole multiples, QZ is listed for every arc.
TEST(CRoadDesignStakes, RecordsMatchTheirStations) {
  CRoadDesign d;
  ASSERT_TRUE(d.loadFromRoad("r", 900,
                             {startPoint(0, 0), line(180, 10), spiral(40), arc(60, 350), spiral(40),
                              line(100), arc(8, -500), line(600)}));
  struct Chains {
    const char* name;
    RecordList<Scisson_Data> chains;
  };
  const Chains sets[] = {
      {"none", {}},
      {"short", {Scisson_Data{1, 50, 1000, 1050}}},
      {"long", {Scisson_Data{0, 50, 1050, 1000}}},
  };
  for (const Chains& s : sets) {
    SCOPED_TRACE(s.name);
    d.brokenChains = s.chains;
    std::vector<RoadCoordinate> records;
    ASSERT_TRUE(d.stakeRecords(0, 20, 2.5, records));
    int qz = 0;
    double previousContinuous = -1e9;
    for (const RoadCoordinate& r : records) {
      EXPECT_GE(r.continuousMileage, previousContinuous - 1e-9) << r.name;
      previousContinuous = r.continuousMileage;
      if (r.name.rfind("QZ", 0) == 0) ++qz;
      const int side = r.continuousMileage > 1050 ? 1 : 0;
      const auto p = d.pointAtStation(r.mileage, 0, side);
      ASSERT_TRUE(p) << r.name;
      EXPECT_NEAR(p->x, r.x, 1e-9) << r.name << " at " << r.mileageText;
      EXPECT_NEAR(p->y, r.y, 1e-9) << r.name;
      if (r.kind == RoadCoordinate::kRegularStake) {
        EXPECT_NEAR(std::remainder(r.mileage, 20), 0, 1e-9) << r.mileageText;
        if (s.chains.size() && s.chains[0].Type == 1) {
          EXPECT_FALSE(r.mileage > 1000 + 1e-6 && r.mileage < 1050 - 1e-6) << "skipped numbers";
        }
      }
    }
    EXPECT_EQ(qz, 2) << "the short arc keeps its mid-point";
    int at1020 = 0;
    for (const RoadCoordinate& r : records) at1020 += r.mileageText == "1020.0000";
    EXPECT_EQ(at1020, s.chains.size() && s.chains[0].Type == 0 ? 2 : (s.chains.empty() ? 1 : 0));
  }
}

}  // namespace
}  // namespace trazmark

namespace trazmark {
namespace {

// The stake list evaluates each element's stakes with the geometry set up once
// and writes whole mileages from their integer: the same bits and texts as one
// point at a time and printf.
TEST(CRoadDesignStakes, BatchedPointsAndMileageTextsMatchTheSingleOnes) {
  CRoadDesign d;
  ASSERT_TRUE(d.loadFromRoad("r", 900,
                             {startPoint(0, 0), line(180, 10), spiral(40), arc(60, 350), spiral(40),
                              arc(70, 200), spiral(30), line(100), arc(8, -500), line(600)}));
  for (const CRoadElement& e : d.elements()) {
    if (e.type == kElementStartPoint) continue;
    std::vector<double> mileages;
    for (int k = 0; k <= 40; ++k) mileages.push_back(e.startMileage + e.length * k / 40.0);
    std::vector<StationPoint> batch(mileages.size());
    for (double offset : {0.0, -3.5}) {
      ASSERT_EQ(e.pointsAtMileages(mileages.data(), mileages.size(), offset, batch.data()),
                mileages.size());
      for (std::size_t k = 0; k < mileages.size(); ++k) {
        const auto one = e.pointAtMileage(mileages[k], offset);
        ASSERT_TRUE(one);
        EXPECT_EQ(batch[k].x, one->x) << e.type << " at " << mileages[k];
        EXPECT_EQ(batch[k].y, one->y);
        EXPECT_EQ(batch[k].azimuth, one->azimuth);
      }
    }
  }
  for (auto [mode, interval] : {std::pair{0, 1.0}, std::pair{1, 0.37}, std::pair{1, 2.5}}) {
    std::vector<RoadCoordinate> records;
    ASSERT_TRUE(d.stakeRecords(mode, interval, 0, records));
    for (const RoadCoordinate& r : records) EXPECT_EQ(r.mileageText, formatFixed(r.mileage, 4));
  }
}

}  // namespace
}  // namespace trazmark
