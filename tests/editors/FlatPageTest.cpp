#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "editors/FlatDialogs.h"
#include "editors/FlatPages.h"
#include "library/InputRoadLibrary.h"
#include "platform/WarningSink.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

Road_Element element(int type, double length = 0, double azimuth = 0, double radius = 0) {
  Road_Element e;
  e.Type = type;
  e.Length = length;
  e.Azimuth = azimuth;
  e.Radius = radius;
  return e;
}

Road_Element startAt(double x, double y) {
  Road_Element e = element(1);
  e.point.Name = "A";
  e.point.X = x;
  e.point.Y = y;
  return e;
}

class FlatPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("trazmark-flat-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
    previous_ = setWarningSink([this](const std::string& text, const std::string&) { coreWarnings_.push_back(text); });
  }
  void TearDown() override {
    setWarningSink(previous_);
    fs::remove_all(dir_);
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  // A 450 m road from `start`: line 100, right arc R 500 of 200, line 150.
  void makeRoad(CFlatElementPage& page, double start = 0) {
    page.roadName = "road";
    page.folder = dir_.string();
    page.startMileage = start;
    page.method = CRoadDesign_Element(path("settings"));
    page.method.elements = {startAt(1000, 2000), element(2, 100, 45), element(3, 200, 0, 500), element(2, 150)};
  }

  fs::path dir_;
  WarningSink previous_;
  std::vector<std::string> coreWarnings_;
};

TEST_F(FlatPageTest, AddInsertsAfterTheSelectedRowAndKeepsRowNumbers) {
  CFlatCrossPage page;
  Road_CrossPoint p;
  for (int i = 0; i < 5; ++i) {
    p.point.Name = "P" + std::to_string(i + 1);
    page.add(p, -1);
  }
  p.point.Name = "NEW";
  EXPECT_EQ(page.add(p, 2), 3);  // third of five selected: fourth place
  EXPECT_EQ(page.method.points[3].point.Name, "NEW");
  EXPECT_EQ(page.cell(3, 0), "4");
  EXPECT_EQ(page.cell(4, 0), "4");  // the old fourth row keeps its number
  EXPECT_EQ(page.add(p, 5), 6);     // last row selected: appended
  EXPECT_EQ(page.rowCount(), 7);

  page.listMode = CFlatPage::kListKeyPoints;  // key points on show: no edits
  EXPECT_EQ(page.add(p, -1), -1);
  EXPECT_FALSE(page.remove(0));
  EXPECT_EQ(page.rowCount(), 7);
}

TEST_F(FlatPageTest, PointDialogNeedsNameAndCoordinates) {
  CrossPointFields f;
  f.name = "JD1";
  f.north = "100.5";
  EXPECT_EQ(f.refuse(), "IDS_WARN_range_east");  // the missing field is named
  f.east = "200";
  EXPECT_EQ(f.refuse(), "");  // no elevation: 0
  f.elevation = "12";
  EXPECT_EQ(f.refuse(), "");
  EXPECT_DOUBLE_EQ(f.record().point.X, 100.5);
}

TEST_F(FlatPageTest, ElementDialogKindsAndAzimuth) {
  EXPECT_EQ(ElementFields::allowedKind(1, true), 0);   // first Add: start point
  EXPECT_EQ(ElementFields::allowedKind(0, false), 1);  // never a second start point
  EXPECT_EQ(ElementFields::allowedKind(3, false), 3);

  ElementFields f;
  f.kind = 1;
  f.text = "45.3000";
  f.first = 120;
  const Road_Element e = f.record();
  EXPECT_EQ(e.Type, 2);
  EXPECT_NEAR(e.Azimuth, 45.5, 1e-9);
  CFlatElementPage page;
  page.add(startAt(0, 0), -1);
  page.add(e, -1);
  EXPECT_EQ(page.cell(1, 3), "45.3000000000");
  EXPECT_EQ(page.icon(0), 3);
  EXPECT_EQ(page.icon(1), 0);
}

TEST_F(FlatPageTest, ElementChecksInTheirOrder) {
  struct Case {
    RecordList<Road_Element> elements;
    std::string key;
  } cases[] = {
      {{startAt(0, 0)}, "IDS_WARN_element_too_less"},
      {{element(2, 10), element(2, 10)}, "IDS_WARN_element_first_must_pt"},
      {{startAt(0, 0), element(3, 10, 0, 100), element(2, 10)}, "IDS_WARN_element_second_must_line"},
      {{startAt(0, 0), element(2, 10), element(3, 10, 0, 100)}, "IDS_WARN_element_last_must_line"},
      {{startAt(0, 0), element(2, 10)}, ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CFlatElementPage::refuseElements(c.elements), c.key);
}

TEST_F(FlatPageTest, ArcTurningAngleIsItsOwnTurn) {
  const double d = 3.141592653589793 / 180;
  CRoadElement right;
  right.type = 3;
  right.startRadius = 500;
  right.startAzimuth = 350 * d;
  right.endAzimuth = 10 * d;
  EXPECT_NEAR(CFlatElementPage::arcTurnDegrees(right), 20, 1e-9);
  CRoadElement left = right;
  left.startRadius = -500;
  left.startAzimuth = 350 * d;
  left.endAzimuth = 340 * d;
  EXPECT_NEAR(CFlatElementPage::arcTurnDegrees(left), 10, 1e-9);
}

TEST_F(FlatPageTest, ComputedChainShowsTheArcTurnFrom350To10) {
  CFlatElementPage page;
  makeRoad(page);
  const double length = 20 * 3.141592653589793 / 180 * 500;  // 20 degrees of R 500
  page.method.elements = {startAt(0, 0), element(2, 100, 350), element(3, length, 0, 500), element(2, 100)};
  ASSERT_TRUE(page.calculate().ok);
  ASSERT_TRUE(page.showsComputed());
  ASSERT_EQ(page.rowCount(), 4);
  EXPECT_EQ(page.cell(2, 6).substr(0, 8), "20.00000");
  EXPECT_EQ(page.cell(2, 0), "3");
  EXPECT_NEAR(page.calculatedLength(), 200 + length, 1e-6);
}

TEST_F(FlatPageTest, KeyPointsAndStakesOfA450mRoad) {
  CFlatElementPage page;
  makeRoad(page);
  ASSERT_TRUE(page.setListMode(CFlatPage::kListKeyPoints).ok);
  std::vector<std::string> names;
  for (const FlatStakeRow& r : page.stakeRows()) names.push_back(r.name);
  EXPECT_EQ(names, (std::vector<std::string>{"QD", "ZY-01", "QZ-01", "YZ-01", "ZD"}));
  EXPECT_EQ(page.stakeRows().back().mileage, "450.0000");

  // The stake list: the regular stakes every 20 m and the key points among
  // them in station order, each marked.
  ASSERT_TRUE(page.setListMode(CFlatPage::kListStakes).ok);
  std::vector<double> regular;
  std::vector<std::string> keyNames;
  double previous = -1;
  for (const FlatStakeRow& r : page.stakeRows()) {
    const double m = std::stod(r.mileage);
    EXPECT_GE(m, previous);
    previous = m;
    if (r.keyPoint)
      keyNames.push_back(r.name);
    else
      regular.push_back(m);
  }
  EXPECT_EQ(keyNames, names);
  ASSERT_EQ(regular.size(), 22u);
  for (std::size_t i = 0; i < 22; ++i) EXPECT_DOUBLE_EQ(regular[i], 20.0 * static_cast<double>(i + 1));
  EXPECT_EQ(page.setListMode(CFlatPage::kListInput).ok, true);
  EXPECT_FALSE(page.showsComputed());  // the input list again
}

TEST_F(FlatPageTest, ListsFollowTheRoadsBrokenChains) {
  CFlatElementPage page;
  makeRoad(page);
  Scisson_Data chain;
  chain.Type = 1;  // short chain: 200 is followed by 250
  chain.Length = 50;
  chain.Before_mileage = 200;
  chain.After_mileage = 250;
  page.brokenChains = {chain};
  ASSERT_TRUE(page.setListMode(CFlatPage::kListKeyPoints).ok);
  EXPECT_EQ(page.stakeRows().back().mileage, "500.0000");
  const std::optional<StationPoint> after = page.stakePoint(1, 300, 0);
  const std::optional<StationPoint> before = page.stakePoint(0, 250, 0);
  ASSERT_TRUE(after && before);
  EXPECT_NEAR(after->x, before->x, 0.05 + 50);  // on the road either way
}

TEST_F(FlatPageTest, FirstStakeByDistanceAndByNumber) {
  CFlatElementPage page;
  makeRoad(page, 34.5);
  ASSERT_TRUE(page.calculate().ok);
  struct Case {
    int mode;
    double first;
  } cases[] = {{1, 54.5}, {0, 40.0}};
  for (const Case& c : cases) {
    FlatExportRequest r;
    r.exportType = 1;
    r.calculateMode = c.mode;
    r.interval = 20;
    r.path = path("stakes.dat");
    const FlatMessage m = page.exportTo(r);
    ASSERT_TRUE(m.ok) << m.key;
    EXPECT_EQ(m.key, "IDS_WARN_data_export_finish");
    const std::vector<FlatStakeRow> stakes = CFlatPage::readListFile(r.path, RoadCoordinate::kRegularStake);
    ASSERT_FALSE(stakes.empty());
    EXPECT_DOUBLE_EQ(std::stod(stakes.front().mileage), c.first) << "mode " << c.mode;
  }
}

TEST_F(FlatPageTest, SideStakeOffsetKeepsTheCentreLineFileAndWritesSideStakes) {
  CFlatElementPage page;
  makeRoad(page);
  ASSERT_TRUE(page.calculate().ok);
  FlatExportRequest r;
  r.exportType = 1;
  r.interval = 20;
  r.path = path("zero.dat");
  ASSERT_TRUE(page.exportTo(r).ok);
  r.path = path("five.dat");
  r.offset = 5;
  const FlatMessage m = page.exportTo(r);
  ASSERT_TRUE(m.ok);
  EXPECT_EQ(readAll(path("five.dat")), readAll(path("zero.dat")));
  EXPECT_EQ(m.key, "IDS_WARN_side_stake_export_finish");
  EXPECT_EQ(m.detail, path("five_side.dat"));

  const std::vector<FlatStakeRow> centre = CFlatPage::readListFile(path("zero.dat"), 2);
  const std::vector<FlatStakeRow> sides = CFlatPage::readListFile(m.detail, 2);
  ASSERT_EQ(sides.size(), 2 * centre.size());
  for (std::size_t i = 0; i < centre.size(); ++i) {
    const double cx = std::stod(centre[i].north), cy = std::stod(centre[i].east);
    for (int s = 0; s < 2; ++s) {
      const FlatStakeRow& side = sides[2 * i + static_cast<std::size_t>(s)];
      EXPECT_EQ(side.mileage, centre[i].mileage);
      EXPECT_NEAR(std::hypot(std::stod(side.north) - cx, std::stod(side.east) - cy), 5.0, 2e-4);
    }
  }
}

TEST_F(FlatPageTest, ExportIntervalIsChecked) {
  const double nan = std::nan("");
  struct Case {
    int mode;
    double interval;
    bool refused;
  } cases[] = {{0, 20, false}, {0, 1, false}, {0, 0.5, true}, {1, 0.5, false},
               {1, 0, true},   {1, -3, true}, {0, nan, true},  {1, INFINITY, true}};
  for (const Case& c : cases) {
    EXPECT_EQ(!CFlatPage::refuseExportFields(1, c.mode, c.interval).empty(), c.refused)
        << c.mode << " " << c.interval;
  }
  EXPECT_TRUE(CFlatPage::refuseExportFields(0, 0, 0).empty());  // a line file has no interval
  EXPECT_EQ(CFlatPage::exportFilter(0, 0), "Files(*.RP)|*.RP|");
  EXPECT_EQ(CFlatPage::exportFilter(0, 2), "Files(*.RE)|*.RE|");
  EXPECT_EQ(CFlatPage::exportFilter(1, 1), "Files(*.dat)|*.dat|");
}

TEST_F(FlatPageTest, FailedCalculationNeverUsesAnEarlierCurveFile) {
  CFlatElementPage page;
  makeRoad(page);
  ASSERT_TRUE(page.calculate().ok);
  page.method.elements.pop_back();  // ends with an arc now
  EXPECT_EQ(page.setListMode(CFlatPage::kListKeyPoints).key, "IDS_WARN_element_last_must_line");
  EXPECT_TRUE(page.stakeRows().empty());
  EXPECT_FALSE(page.hasCurrentCurve());
  FlatExportRequest r;
  r.exportType = 1;
  r.interval = 20;
  r.path = path("stale.dat");
  EXPECT_FALSE(page.exportTo(r).ok);
  EXPECT_FALSE(fs::exists(r.path));
  EXPECT_FALSE(page.stakePoint(0, 50, 0).has_value());
}

TEST_F(FlatPageTest, EngineThatCannotBeBuiltFailsTheCalculation) {
  CFlatElementPage page;
  makeRoad(page);
  // A spiral between two straights has no radius at either end.
  page.method.elements = {startAt(0, 0), element(2, 100, 10), element(4, 50), element(2, 100)};
  const FlatMessage m = page.calculate();
  EXPECT_FALSE(m.ok);
  EXPECT_EQ(m.key, "IDS_WARN_calculate_error");
  EXPECT_FALSE(page.hasCurrentCurve());
}

TEST_F(FlatPageTest, CrossPointDialogRefusesANegativeRadius) {
  struct {
    const char* what;
    double radius;
    const char* name;
    const char* refused;
  } const cases[] = {
      {"a curve", 300, "JD1", ""},
      {"no curve", 0, "JD1", ""},
      {"minus zero", -0.0, "JD1", ""},
      {"negative", -300, "JD1", "IDS_DATA_radius_can_not_be_negative"},
      {"a hair below 0", -0.00001, "JD1", "IDS_DATA_radius_can_not_be_negative"},
      {"not a number", std::nan(""), "JD1", "IDS_WARN_range_radius"},
      {"the radius is above the name", -300, "", "IDS_DATA_radius_can_not_be_negative"},
      {"missing name", 300, "", "IDS_WARN_no_point_name"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    CrossPointFields f;
    f.name = c.name;
    f.north = "100";
    f.east = "200";
    f.elevation = "0";
    f.radius = c.radius;
    EXPECT_EQ(f.refuse(), c.refused);
  }
}

TEST_F(FlatPageTest, CrossPointPageNamesThePointWithANegativeRadius) {
  // As a road file or an RP file brings it: the dialog never saw the value.
  CFlatCrossPage page(path("settings"));
  page.roadName = "road";
  page.folder = dir_.string();
  RoadDataSet road;
  const double points[][3] = {{0, 0, 0}, {1000, 0, 300}, {1500, 600, -250}, {1500, 1600, 0}};
  for (const auto& xyr : points) {
    Road_CrossPoint p;
    p.point.Name = "JD" + std::to_string(road.crossPoints.size());
    p.point.X = xyr[0];
    p.point.Y = xyr[1];
    p.Radius = xyr[2];
    road.crossPoints.append(p);
  }
  page.reload(road, "road", dir_.string());
  const FlatMessage m = page.calculate();
  EXPECT_FALSE(m.ok);
  EXPECT_EQ(m.key, "IDS_WARN_crosspoint_radius_negative");
  EXPECT_EQ(m.detail, "3 (JD2)");
  EXPECT_FALSE(page.hasCurrentCurve());
  // No list shows a road with a kink in place of the curve.
  const FlatMessage keys = page.setListMode(CFlatPage::kListKeyPoints);
  EXPECT_FALSE(keys.ok);
  EXPECT_EQ(keys.detail, "3 (JD2)");
  EXPECT_TRUE(page.stakeRows().empty());

  page.method.points[2].Radius = 250;
  ASSERT_TRUE(page.calculate().ok);
  ASSERT_TRUE(page.setListMode(CFlatPage::kListKeyPoints).ok);
  std::vector<std::string> names;
  for (const FlatStakeRow& r : page.stakeRows()) names.push_back(r.name);
  EXPECT_EQ(names, (std::vector<std::string>{"QD", "ZY-01", "QZ-01", "YZ-01", "ZY-02", "QZ-02", "YZ-02", "ZD"}));
}

TEST_F(FlatPageTest, LineElementDialogRules) {
  LineElementFields f;
  f.withStart = true;
  f.length = 100;
  f.azimuth = 360.0001;
  EXPECT_EQ(f.refuse(), "IDS_WARN_angle_error");
  f.azimuth = 360;
  EXPECT_EQ(f.refuse(), "");
  f.type = 2;
  f.startInfinite = f.endInfinite = true;
  EXPECT_EQ(f.refuse(), "IDS_WARN_same_infinite");
  f.endInfinite = false;
  f.endRadius = 300;
  f.direction = 1;
  const Road_LineElement s = f.record();
  EXPECT_EQ(s.StartRadius, -1.0);
  EXPECT_EQ(s.EndRadius, 300.0);
  f.type = 1;
  f.direction = 0;
  f.startRadius = 1;
  EXPECT_EQ(f.refuse(), "IDS_WARN_left_radius_one");
  f.direction = 1;  // a right radius of 1 m stays +1
  EXPECT_EQ(f.refuse(), "");
}

TEST_F(FlatPageTest, LineElementPageComputesAndDeletingTheOnlyRowEmptiesTheList) {
  CFlatLineElementPage page(path("settings"));
  page.roadName = "le";
  page.folder = dir_.string();
  LineElementFields f;
  f.withStart = true;
  f.north = 1000;
  f.east = 2000;
  f.azimuth = 90.3015;
  f.length = 100;
  const Road_LineElement start = f.startRecord();
  ASSERT_EQ(page.add(&start, f.record(), -1), 0);
  f.withStart = false;
  f.type = 1;
  f.direction = 0;
  f.startRadius = 500;
  f.length = 200;
  page.add(nullptr, f.record(), -1);
  f.type = 0;
  f.length = 100;
  page.add(nullptr, f.record(), -1);
  EXPECT_EQ(page.cell(1, 3), "500.0000");
  const FlatMessage m = page.calculate();
  ASSERT_TRUE(m.ok) << m.key;
  EXPECT_NEAR(page.calculatedLength(), 400, 1e-9);  // as long as its line elements, no framing added
  EXPECT_TRUE(fs::exists(path("le.LE.TDFE")));

  CFlatLineElementPage single;
  single.add(&start, LineElementFields().record(), -1);
  ASSERT_EQ(single.rowCount(), 1);
  EXPECT_TRUE(single.remove(0));
  EXPECT_TRUE(single.data.elements.empty());
}

TEST_F(FlatPageTest, LineElementConversionFailureFailsTheCalculation) {
  CFlatLineElementPage page(path("settings"));
  page.roadName = "le";
  page.folder = dir_.string();
  LineElementFields f;
  f.withStart = true;
  f.length = 100;
  const Road_LineElement start = f.startRecord();
  page.add(&start, f.record(), -1);
  // An RE file of an earlier road lies in the folder, but this page's RE file
  // cannot be written: the old one must not be computed.
  std::ofstream(path("le.RE.old")) << "x";
  fs::create_directories(path("le.RE"));
  const FlatMessage m = page.calculate();
  EXPECT_FALSE(m.ok);
  EXPECT_EQ(m.key, "IDS_WARN_calculate_error");
}

TEST_F(FlatPageTest, SaveStoresTheListMethodAndExtents) {
  CInputRoadLibrary library;
  RoadLibraryData entry;
  entry.Path = path("road.REC");
  library.roadList = {entry};
  CFlatElementPage page;
  makeRoad(page, 100);
  ASSERT_TRUE(page.calculate().ok);
  page.dataChanged = true;
  page.store(library, path("road.REC"));
  EXPECT_EQ(library.FlatcurveType, kFlatcurveElements);
  EXPECT_EQ(library.elements.size(), 4u);
  EXPECT_DOUBLE_EQ(library.roadList[0].extraA, 100);
  EXPECT_NEAR(library.roadList[0].extraB, 450, 1e-9);
  EXPECT_FALSE(page.dataChanged);
}

TEST_F(FlatPageTest, ImportedElementFileKeepsItsStartMileageAndName) {
  CRoadDesign_Element written(path("settings"));
  written.roadName = "K7";
  written.startMileage = 1200;
  written.elements = {startAt(0, 0), element(2, 100, 30)};
  ASSERT_TRUE(written.writeText(path("in.RE")));
  CFlatElementPage page;
  page.roadName = "road";
  EXPECT_FALSE(page.import(path("missing.RE")));
  EXPECT_EQ(page.roadName, "road");
  ASSERT_TRUE(page.import(path("in.RE")));
  EXPECT_EQ(page.roadName, "K7");
  EXPECT_DOUBLE_EQ(page.startMileage, 1200);
  RoadDataSet road;
  road.elements = page.method.elements;
  page.reload(road, "K7", dir_.string());  // what the road file gives back
  EXPECT_DOUBLE_EQ(page.startMileage, 1200);
}

TEST_F(FlatPageTest, ImportedRoadNameNeverLeadsOutOfTheFolder) {
  for (const char* name : {"../../outside", "a/b", "..", ""}) {
    std::ofstream(path("in.RP"), std::ios::binary) << "ROADNAME:" << name << ",\r\n";
    CFlatCrossPage page;
    page.roadName = "road";
    ASSERT_TRUE(page.import(path("in.RP")));
    EXPECT_EQ(page.roadName, "road") << name;
  }
  EXPECT_TRUE(CFlatPage::isPlainFileName("K1"));
  CFlatCrossPage relative;  // a road file named without a folder
  relative.roadName = "K1";
  EXPECT_EQ(relative.basePath(), "K1.RP");
  relative.folder = "/data";
  EXPECT_EQ(relative.curveFilePath(), "/data/K1.RP.TDFE");
  EXPECT_EQ(relative.listFilePath(), "/data/K1.RP.txt");
}

TEST_F(FlatPageTest, ListFileReadingKeepsToItsKindAndLimit) {
  const std::string text = "QD,1.0,2.0,0.0,0.0000,0,90.0\r\n1,3,4,0,20.0000,2,90\r\nx\r\nZD,5,6,0,40.0000,0,90\r\n";
  const std::vector<FlatStakeRow> keys = CFlatPage::parseListText(text, 0);
  ASSERT_EQ(keys.size(), 2u);
  EXPECT_EQ(keys[1].name, "ZD");
  EXPECT_EQ(keys[1].north, "5");
  const std::vector<FlatStakeRow> stakes = CFlatPage::parseListText(text, 2);
  ASSERT_EQ(stakes.size(), 1u);
  EXPECT_EQ(stakes[0].mileage, "20.0000");
  EXPECT_TRUE(CFlatPage::readListFile(path("missing.txt"), 0).empty());
}

}  // namespace
}  // namespace trazmark
