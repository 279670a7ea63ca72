// The road a line-element list describes: the same road, entered by elements,
// must give the same key points, stakes and length, however the RE file frames
// its spirals; and where no element road exists (spirals that meet, curvature
// that jumps), the chain still names each curve's points once.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "editors/AlignmentLoader.h"
#include "editors/FlatPages.h"
#include "editors/LineElementFile.h"
#include "platform/WarningSink.h"
#include "support/LineElementRecords.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

/// Mileages and coordinates of the two roads agree within this (metres).
constexpr double kSameRoad = 1e-4;

// ---- the road as line elements ----------------------------------------

using test::leArc;
using test::leLine;
using test::leSpiral;
using test::leStart;

// ---- the same road as elements ----------------------------------------

Road_Element reStart(double north, double east) {
  Road_Element e;
  e.Type = 1;
  e.point.X = north;
  e.point.Y = east;
  return e;
}

Road_Element reElement(int type, double length, double radius = 0, double azimuth = 0) {
  Road_Element e;
  e.Type = type;
  e.Length = length;
  e.Radius = radius;
  e.Azimuth = azimuth;
  return e;
}

struct RoadPair {
  const char* name;
  double startMileage;
  std::vector<Road_LineElement> lineElements;
  std::vector<Road_Element> elements;
  double length;                           ///< sum of the element lengths, metres
  std::vector<std::string> keyPointNames;  ///< as the element road names them
};

std::vector<RoadPair> roadPairs() {
  return {
      {"spiral-arc-spiral, right, 1520 m",
       0,
       {leStart(1000, 2000, 45), leLine(500), leSpiral(-1, 600, 120), leArc(600, 280),
        leSpiral(600, -1, 120), leLine(500)},
       {reStart(1000, 2000), reElement(2, 500, 0, 45), reElement(4, 120), reElement(3, 280, 600),
        reElement(4, 120), reElement(2, 500)},
       1520,
       {"QD", "ZH-01", "HY-01", "QZ-01", "YH-01", "HZ-01", "ZD"}},
      {"two curves: a left spiral curve, then a right circular one",
       1234.5,
       {leStart(500, 500, 123.4530), leLine(300), leSpiral(-1, -400, 80), leArc(-400, 150),
        leSpiral(-400, -1, 80), leLine(200), leArc(800, 250), leLine(300)},
       {reStart(500, 500), reElement(2, 300, 0, 123 + 45 / 60.0 + 30 / 3600.0), reElement(4, 80),
        reElement(3, 150, -400), reElement(4, 80), reElement(2, 200), reElement(3, 250, 800),
        reElement(2, 300)},
       1360,
       {"QD", "ZH-01", "HY-01", "QZ-01", "YH-01", "HZ-01", "ZY-01", "QZ-02", "YZ-01", "ZD"}},
      {"egg curve: arc, spiral between two radii, arc, spiral out",
       20,
       {leStart(0, 0, 270), leLine(200), leArc(500, 100), leSpiral(500, 250, 60), leArc(250, 100),
        leSpiral(250, -1, 70), leLine(150)},
       {reStart(0, 0), reElement(2, 200, 0, 270), reElement(3, 100, 500), reElement(4, 60),
        reElement(3, 100, 250), reElement(4, 70), reElement(2, 150)},
       680,
       {"QD", "ZY-01", "QZ-01", "YH-01", "HY-01", "QZ-02", "YH-02", "HZ-01", "ZD"}},
  };
}

/// One key point or stake as the page lists or exports it.
struct Listed {
  std::string name;
  double mileage;
  double north;
  double east;
};

std::vector<Listed> listedRows(const std::vector<FlatStakeRow>& rows) {
  std::vector<Listed> out;
  for (const FlatStakeRow& r : rows)
    out.push_back({r.name, std::stod(r.mileage), std::stod(r.north), std::stod(r.east)});
  return out;
}

/// The records of a stake file: name, north, east, elevation, mileage, kind, azimuth.
std::vector<Listed> stakeFileRecords(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<Listed> out;
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> f;
    std::stringstream s(line);
    for (std::string field; std::getline(s, field, ',');) f.push_back(field);
    if (f.size() < 5) continue;
    out.push_back({f[0], std::stod(f[4]), std::stod(f[1]), std::stod(f[2])});
  }
  return out;
}

void expectSameList(const std::vector<Listed>& got, const std::vector<Listed>& want) {
  ASSERT_EQ(got.size(), want.size());
  for (std::size_t i = 0; i < got.size(); ++i) {
    SCOPED_TRACE("record " + std::to_string(i) + " " + want[i].name);
    EXPECT_EQ(got[i].name, want[i].name);
    EXPECT_NEAR(got[i].mileage, want[i].mileage, kSameRoad);
    EXPECT_NEAR(got[i].north, want[i].north, kSameRoad);
    EXPECT_NEAR(got[i].east, want[i].east, kSameRoad);
  }
}

class LineElementRoadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("trazmark-leroad-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    previous_ = setWarningSink([this](const std::string& text, const std::string&) { warnings_.push_back(text); });
  }
  void TearDown() override {
    setWarningSink(previous_);
    fs::remove_all(dir_);
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  void fill(CFlatLineElementPage& page, const RoadPair& road) {
    page.roadName = "le";
    page.folder = dir_.string();
    page.data.roadName = "le";
    page.data.startMileage = road.startMileage;
    page.data.elements = {};
    for (const Road_LineElement& r : road.lineElements) page.data.elements.append(r);
    page.data.elements[0].Mileage = road.startMileage;
  }
  void fill(CFlatElementPage& page, const RoadPair& road) {
    page.roadName = "re";
    page.folder = dir_.string();
    page.startMileage = road.startMileage;
    page.method.elements = {};
    for (const Road_Element& e : road.elements) page.method.elements.append(e);
  }

  fs::path dir_;
  WarningSink previous_;
  std::vector<std::string> warnings_;
};

TEST_F(LineElementRoadTest, TheLineElementPageComputesTheRoadItsElementsDescribe) {
  for (const RoadPair& road : roadPairs()) {
    SCOPED_TRACE(road.name);
    CFlatLineElementPage le(path("settings-le"));
    CFlatElementPage re(path("settings-re"));
    fill(le, road);
    fill(re, road);

    ASSERT_TRUE(le.calculate().ok);
    ASSERT_TRUE(re.calculate().ok);
    EXPECT_NEAR(le.calculatedLength(), road.length, kSameRoad);
    EXPECT_NEAR(re.calculatedLength(), road.length, kSameRoad);

    ASSERT_TRUE(le.setListMode(CFlatPage::kListKeyPoints).ok);
    ASSERT_TRUE(re.setListMode(CFlatPage::kListKeyPoints).ok);
    std::vector<std::string> names;
    for (const FlatStakeRow& r : le.stakeRows()) names.push_back(r.name);
    EXPECT_EQ(names, road.keyPointNames);
    expectSameList(listedRows(le.stakeRows()), listedRows(re.stakeRows()));
    EXPECT_NEAR(le.engine().endMileage(), road.startMileage + road.length, kSameRoad);

    ASSERT_TRUE(le.setListMode(CFlatPage::kListStakes).ok);
    ASSERT_TRUE(re.setListMode(CFlatPage::kListStakes).ok);
    expectSameList(listedRows(le.stakeRows()), listedRows(re.stakeRows()));

    FlatExportRequest request;
    request.exportType = 1;
    request.calculateMode = 0;
    request.interval = 25;
    request.path = path("le.dat");
    ASSERT_TRUE(le.exportTo(request).ok);
    request.path = path("re.dat");
    ASSERT_TRUE(re.exportTo(request).ok);
    const std::vector<Listed> exported = stakeFileRecords(path("le.dat"));
    ASSERT_FALSE(exported.empty());
    EXPECT_EQ(exported.back().name, "ZD");
    EXPECT_NEAR(exported.back().mileage, road.startMileage + road.length, kSameRoad);
    expectSameList(exported, stakeFileRecords(path("re.dat")));
  }
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(LineElementRoadTest, ARoadFileOfLineElementsLoadsAsTheElementRoad) {
  for (const RoadPair& road : roadPairs()) {
    SCOPED_TRACE(road.name);
    RoadDataSet le;
    le.FlatcurveType = kFlatcurveLineElements;
    for (const Road_LineElement& r : road.lineElements) le.lineElements.append(r);
    le.lineElements[0].Mileage = road.startMileage;
    RoadDataSet re;
    re.FlatcurveType = kFlatcurveElements;
    for (const Road_Element& e : road.elements) re.elements.append(e);
    re.elements[0].Mileage = road.startMileage;

    CRoadDesign fromLineElements;
    CRoadDesign fromElements;
    std::string error;
    ASSERT_TRUE(loadRoadAlignment(le, "le", fromLineElements, error)) << error;
    ASSERT_TRUE(loadRoadAlignment(re, "re", fromElements, error)) << error;
    ASSERT_EQ(fromLineElements.keyPoints().size(), fromElements.keyPoints().size());
    for (std::size_t i = 0; i < fromElements.keyPoints().size(); ++i) {
      EXPECT_EQ(fromLineElements.keyPoints()[i].Name, fromElements.keyPoints()[i].Name);
      EXPECT_NEAR(fromLineElements.keyPointMileages()[i], fromElements.keyPointMileages()[i], kSameRoad);
    }
    EXPECT_NEAR(fromLineElements.endMileage(), road.startMileage + road.length, kSameRoad);
  }
}

// Chains with no element road of their own: the joints the chain needs, and
// the names of the key points, each once.
TEST_F(LineElementRoadTest, JointsOnlyWhereANeighbourCannotHandOnTheRadius) {
  struct Case {
    const char* name;
    std::vector<Road_LineElement> records;
    std::vector<int> types;                  ///< of the chain
    std::vector<std::string> keyPointNames;  ///< of the computed road
  };
  const std::vector<Case> cases = {
      {"two spirals meeting at a radius (no arc)",
       {leStart(0, 0, 90), leLine(100), leSpiral(-1, 300, 80), leSpiral(300, -1, 80), leLine(100)},
       {1, 2, 4, 3, 4, 2},
       {"QD", "ZH-01", "HY-01", "QZ-01", "YH-01", "HZ-01", "ZD"}},
      {"reverse curves whose spirals meet at the inflection",
       {leStart(0, 0, 90), leLine(100), leArc(300, 50), leSpiral(300, -1, 60), leSpiral(-1, -300, 60),
        leArc(-300, 50), leLine(100)},
       {1, 2, 3, 4, 2, 4, 3, 2},
       {"QD", "ZY-01", "QZ-01", "YH-01", "HZ-01", "ZH-01", "HY-01", "QZ-02", "YZ-01", "ZD"}},
      {"the road begins with an arc",
       {leStart(0, 0, 0), leArc(-200, 100), leLine(50)},
       {1, 2, 3, 2},
       {"QD", "ZY-01", "QZ-01", "YZ-01", "ZD"}},
      {"the road ends on a spiral out of a curve",
       {leStart(0, 0, 0), leLine(50), leArc(200, 60), leSpiral(200, -1, 40)},
       {1, 2, 3, 4, 2},
       {"QD", "ZY-01", "QZ-01", "YH-01", "HZ-01", "ZD"}},
      {"a spiral that starts at a radius right after a straight",
       {leStart(0, 0, 0), leLine(50), leSpiral(600, 300, 40), leArc(300, 30), leLine(50)},
       {1, 2, 3, 4, 3, 2},
       {"QD", "ZY-01", "QZ-01", "YH-01", "HY-01", "QZ-02", "YZ-01", "ZD"}},
      {"an arc and a spiral of length 0 are no elements; straights in a row are one",
       {leStart(0, 0, 0), leLine(50), leArc(200, 0), leSpiral(-1, 200, 0), leLine(50), leLine(20)},
       {1, 2},
       {"QD", "ZD"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    LineElementData data;
    data.roadName = "joints";
    for (const Road_LineElement& r : c.records) data.elements.append(r);
    const RecordList<Road_Element> chain = roadElementsFromLineElements(data);
    std::vector<int> types;
    double joints = 0;
    for (const Road_Element& e : chain) {
      types.push_back(e.Type);
      if (e.Type == 3 && e.Length == kJointArcLength) joints += e.Length;
    }
    EXPECT_EQ(types, c.types);

    double written = 0;
    ASSERT_TRUE(writeLineElementCurveFile(path("joints.TDFE"), data, &written));
    double entered = 0;
    for (std::size_t i = 1; i < c.records.size(); ++i) entered += c.records[i].Length;
    EXPECT_NEAR(written, entered + joints, 1e-9);
    CRoadDesign design;
    ASSERT_TRUE(design.loadFromCurveFile(path("joints.TDFE")));
    EXPECT_NEAR(design.endMileage(), written, 1e-9);
    std::vector<std::string> names;
    for (const SurveyCoord& p : design.keyPoints()) names.push_back(p.Name);
    EXPECT_EQ(names, c.keyPointNames);
  }
}

TEST_F(LineElementRoadTest, TheJointsHandEachSpiralTheRadiiItWasGiven) {
  // Two spirals meeting at 300 m: the first ends and the second starts there,
  // so the curve turns by L/(2R) on each: 80/600 rad twice.
  LineElementData data;
  data.elements.append(leStart(0, 0, 90));
  data.elements.append(leLine(100));
  data.elements.append(leSpiral(-1, 300, 80));
  data.elements.append(leSpiral(300, -1, 80));
  data.elements.append(leLine(100));
  CRoadDesign design;
  ASSERT_TRUE(design.loadFromRoad("joints", 0, roadElementsFromLineElements(data)));
  const RecordList<CRoadElement>& e = design.elements();
  ASSERT_EQ(e.size(), 6u);
  EXPECT_DOUBLE_EQ(e[2].startRadius, 0);
  EXPECT_DOUBLE_EQ(e[2].endRadius, 300);
  EXPECT_DOUBLE_EQ(e[4].startRadius, 300);
  EXPECT_DOUBLE_EQ(e[4].endRadius, 0);
  const double turn = e[5].startAzimuth - e[1].endAzimuth;
  EXPECT_NEAR(turn, 2 * 80.0 / 600.0 + kJointArcLength / 300.0, 1e-12);
}

TEST_F(LineElementRoadTest, GarbageListsGiveAChainTheEngineChecks) {
  LineElementData data;
  EXPECT_TRUE(roadElementsFromLineElements(data).empty());
  data.elements.append(leLine(100));  // no start point: no place for the road
  EXPECT_TRUE(roadElementsFromLineElements(data).empty());
  data.elements.clear();
  data.elements.append(leStart(0, 0, 0));
  EXPECT_EQ(roadElementsFromLineElements(data).size(), 2u);  // start point and its tangent
  Road_LineElement unknown = leLine(10);
  unknown.Type = 9;
  data.elements.append(unknown);
  data.elements.append(leSpiral(-1, 300, 10));
  data.elements.append(leLine(std::nan("")));
  const RecordList<Road_Element> chain = roadElementsFromLineElements(data);
  std::vector<int> types;
  for (const Road_Element& e : chain) types.push_back(e.Type);
  EXPECT_EQ(types, (std::vector<int>{1, 2, 4, 3, 2}));
  // The line that is not a number is dropped: its joint arc ends the road.
  CRoadDesign design;
  EXPECT_TRUE(design.loadFromRoad("garbage", 0, chain));
  EXPECT_NEAR(design.endMileage(), 10 + kJointArcLength, 1e-9);
}

}  // namespace
}  // namespace trazmark
