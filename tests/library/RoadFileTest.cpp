#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "library/InputRoadLibrary.h"
#include "platform/CodePage.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

class RoadFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("trazmark_roadfile_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override {
    fs::remove_all(dir_);
    setAnsiCodePageOverride(0);
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  fs::path dir_;
};

Road_Section_Item section(const std::string& name, int side, double width, double slope) {
  Road_Section_Item s;
  s.setModuleName(name);
  s.LeftOrRight = side;
  s.Width = width;
  s.Slope = slope;
  s.Roadteeth = 0.15;
  return s;
}

// A road with every list filled, in the ANSI code page in force.
void fillRoad(RoadDataSet& road, const std::string& chinese) {
  road.FlatcurveType = kFlatcurveCrossPoints;
  road.scissons.append({1, 12.5, 1000, 1012.5});
  road.scissons.append({0, 20, 2050, 2030});
  Road_CrossPoint p;
  p.point = {chinese + "JD1", 1000.25, 2000.5, 0, ""};
  p.CurveLength_Left = 60;
  p.CurveLength_Right = 120;
  p.Radius = 300;
  p.Mileage = 12.3456;
  road.crossPoints.append(p);
  p.point.Name = "a<b&c>d";
  road.crossPoints.append(p);
  CVerticalCurveCal v;
  v.Mileage = 100;
  v.High = 12.5;
  v.Radius = 3000;
  v.I1 = 1.5;
  v.I2 = -2;
  v.CurveL = 90;
  v.InLength = 30;
  v.OutLength = 60;
  v.CalMode = 2;
  road.verticalCurves.append(v);
  road.leftSections.append(section(chinese, 0, 3.75, 2));
  road.rightSections.append(section("shoulder", 1, 0.75, -1.5));
  Road_Section_Change c;
  c.Mileage = 500;
  c.TypeChange = 3;
  c.items[0] = section("A", 0, 3, 2);
  c.items[1] = section("B", 1, 3, -1.5);
  road.sectionChanges.append(c);
  Road_Slope s;
  s.SlopeName = chinese;
  s.LeftRight = 1;
  s.Type = 1;
  s.StartMileage = 10;
  s.EndMileage = 20;
  s.items.append({chinese, "step1", 0, 8, 1.5, 0});
  s.items.append({chinese, "step2", 1, 0, 2, 2});
  road.slopes.append(s);
  Road_Super_Item sh;
  sh.SectionName = chinese;
  sh.LeftRight = 1;
  sh.InSectionIndex = 2;
  sh.values.append({100, 2, 0, 0});
  sh.values.append({200, 4, 0, 1});
  road.superHighs.append(sh);
  Road_Super_Item wd;
  wd.SectionName = "lane";
  wd.values.append({100, 0, 0.5, 2});
  road.widens.append(wd);
  road.widens.append(Road_Super_Item{});
}

TEST_F(RoadFileTest, NewRoadWritesEveryContainerEmpty) {
  CInputRoadLibrary lib;
  ASSERT_TRUE(lib.writeRoadFile(path("new.REC")));
  EXPECT_EQ(read("new.REC"),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n"
            "<HEAD>\r\n<RoadLibrary>\r\n<Ver>1.0.1.1</Ver>\r\n<Scisson/>\r\n"
            "<Flat_Curve>\r\n<FlatcurveType>-1</FlatcurveType>\r\n</Flat_Curve>\r\n"
            "<Vertical_Curve/>\r\n<Cross_Section/>\r\n<Change_Section/>\r\n<Slope_Data/>\r\n"
            "<SuperHigh/>\r\n<Widen/>\r\n</RoadLibrary>\r\n</HEAD>\r\n");
}

TEST_F(RoadFileTest, OnlyTheMethodInForceIsWritten) {
  CInputRoadLibrary lib;
  lib.FlatcurveType = kFlatcurveElements;
  lib.crossPoints.append(Road_CrossPoint{});
  Road_Element e;
  e.Type = 2;
  e.Azimuth = 45.123456789012;
  e.Length = 100;
  lib.elements.append(e);
  ASSERT_TRUE(lib.writeRoadFile(path("e.REC")));
  std::string text = read("e.REC");
  EXPECT_EQ(text.find("CROSSPT"), std::string::npos);
  EXPECT_NE(text.find("<Azimuth>45.123456789012</Azimuth>"), std::string::npos);
  EXPECT_NE(text.find("<Length>100.0000</Length>"), std::string::npos);

  CInputRoadLibrary back;
  back.crossPoints.append(Road_CrossPoint{});
  ASSERT_TRUE(back.readRoadFile(path("e.REC")));
  EXPECT_TRUE(back.crossPoints.empty());
  ASSERT_EQ(back.elements.size(), 1u);
  EXPECT_EQ(back.FlatcurveType, kFlatcurveElements);
}

TEST_F(RoadFileTest, NumberFormatsAndChangeSectionValue) {
  CInputRoadLibrary lib;
  fillRoad(lib, "x");
  ASSERT_TRUE(lib.writeRoadFile(path("f.REC")));
  std::string text = read("f.REC");
  EXPECT_NE(text.find("<Length>12.5000</Length>"), std::string::npos);
  EXPECT_NE(text.find("<Radius>3000.000</Radius>"), std::string::npos);
  EXPECT_NE(text.find("<Value>A|0|2.000;B|1|-1.500;</Value>"), std::string::npos);
  EXPECT_NE(text.find("<Value>200.000|4.000|1</Value>"), std::string::npos);
  EXPECT_NE(text.find("<Name>a&lt;b&amp;c&gt;d</Name>"), std::string::npos);
}

TEST_F(RoadFileTest, EveryListSurvivesWriteReadWriteByteIdentical) {
  for (int cp : {kCodePageUtf8, kCodePageGbk}) {
    setAnsiCodePageOverride(cp);
    // 道路 in the code page in force.
    const std::string chinese = cp == kCodePageUtf8 ? "\xe9\x81\x93\xe8\xb7\xaf" : "\xb5\xc0\xc2\xb7";
    CInputRoadLibrary lib;
    fillRoad(lib, chinese);
    ASSERT_TRUE(lib.writeRoadFile(path("a.REC")));
    CInputRoadLibrary back;
    ASSERT_TRUE(back.readRoadFile(path("a.REC")));
    ASSERT_TRUE(back.writeRoadFile(path("b.REC")));
    EXPECT_EQ(read("a.REC"), read("b.REC")) << "code page " << cp;
    // The file itself is UTF-8 whatever the code page in memory.
    EXPECT_NE(read("a.REC").find("<Name>\xe9\x81\x93\xe8\xb7\xaf" "JD1</Name>"), std::string::npos);

    ASSERT_EQ(back.crossPoints.size(), 2u);
    EXPECT_EQ(back.crossPoints[0].point.Name, chinese + "JD1");
    EXPECT_EQ(back.crossPoints[1].point.Name, "a<b&c>d");
    EXPECT_DOUBLE_EQ(back.crossPoints[0].CurveLength_Right, 120);
    ASSERT_EQ(back.scissons.size(), 2u);
    EXPECT_EQ(back.scissons[1].Type, 0);
    ASSERT_EQ(back.verticalCurves.size(), 1u);
    EXPECT_DOUBLE_EQ(back.verticalCurves[0].InLength, 30);
    EXPECT_DOUBLE_EQ(back.verticalCurves[0].OutLength, 60);
    ASSERT_EQ(back.leftSections.size(), 1u);
    EXPECT_EQ(back.leftSections[0].moduleName(), chinese);
    ASSERT_EQ(back.rightSections.size(), 1u);
    ASSERT_EQ(back.sectionChanges.size(), 1u);
    EXPECT_EQ(back.sectionChanges[0].items[1].moduleName(), "B");
    EXPECT_DOUBLE_EQ(back.sectionChanges[0].items[1].Slope, -1.5);
    EXPECT_FALSE(back.sectionChanges[0].items[2].hasName());
    ASSERT_EQ(back.slopes.size(), 1u);
    ASSERT_EQ(back.slopes[0].items.size(), 2u);
    EXPECT_EQ(back.slopes[0].items[1].ItemName, "step2");
    ASSERT_EQ(back.superHighs.size(), 1u);
    ASSERT_EQ(back.superHighs[0].values.size(), 2u);
    EXPECT_DOUBLE_EQ(back.superHighs[0].values[1].Slope, 4);
    ASSERT_EQ(back.widens.size(), 2u);
    EXPECT_DOUBLE_EQ(back.widens[0].values[0].Width, 0.5);
    EXPECT_EQ(back.widens[0].values[0].Mode, 2);
  }
}

TEST_F(RoadFileTest, ForwardOnlySearchesAndStraySlopeItems) {
  // Vertical_Curve stands before Scisson: once Scisson is found, it is not seen.
  // The slope item for "none" matches no slope and is dropped. A missing child
  // keeps the record default.
  write("odd.REC",
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<HEAD>\r\n<RoadLibrary>\r\n"
        "<Vertical_Curve>\r\n<Curve_Item>\r\n<Mileage>5.000</Mileage>\r\n</Curve_Item>\r\n</Vertical_Curve>\r\n"
        "<Scisson>\r\n<Scisson_Item>\r\n<Length>3</Length>\r\n<Type>1</Type>\r\n</Scisson_Item>\r\n</Scisson>\r\n"
        "<Slope_Data>\r\n<Slope_Array>\r\n<SlopeName>s</SlopeName>\r\n</Slope_Array>\r\n"
        "<Slope_Item_Array>\r\n<SlopeName>none</SlopeName>\r\n</Slope_Item_Array>\r\n"
        "<Slope_Item_Array>\r\n<SlopeName>s</SlopeName>\r\n<ItemName>ok</ItemName>\r\n</Slope_Item_Array>\r\n"
        "</Slope_Data>\r\n</RoadLibrary>\r\n</HEAD>\r\n");
  CInputRoadLibrary lib;
  ASSERT_TRUE(lib.readRoadFile(path("odd.REC")));
  EXPECT_TRUE(lib.verticalCurves.empty());
  ASSERT_EQ(lib.scissons.size(), 1u);
  // Type is looked up first and found; Length stands before it and is not seen.
  EXPECT_EQ(lib.scissons[0].Type, 1);
  EXPECT_DOUBLE_EQ(lib.scissons[0].Length, 0);
  EXPECT_EQ(lib.FlatcurveType, -1);
  ASSERT_EQ(lib.slopes.size(), 1u);
  ASSERT_EQ(lib.slopes[0].items.size(), 1u);
  EXPECT_EQ(lib.slopes[0].items[0].ItemName, "ok");
}

// A component name of 24 Chinese characters fills the format's 49 bytes of
// code page 936. Written on a code page 936 desktop and opened on a UTF-8 one
// (72 bytes there), it keeps its end, and the superelevation still names it.
TEST_F(RoadFileTest, LongChineseComponentNamesSurviveAChangeOfCodePage) {
  std::string gbk, utf8;
  for (int i = 0; i < 24; ++i) {
    gbk += "\xb3\xb5";           // 车
    utf8 += "\xe8\xbd\xa6";
  }
  setAnsiCodePageOverride(kCodePageGbk);
  CInputRoadLibrary lib;
  fillRoad(lib, gbk);
  lib.sectionChanges[0].items[0].setModuleName(gbk);
  ASSERT_EQ(lib.leftSections[0].moduleName(), gbk);
  ASSERT_TRUE(lib.writeRoadFile(path("gbk.REC")));

  setAnsiCodePageOverride(kCodePageUtf8);
  CInputRoadLibrary back;
  ASSERT_TRUE(back.readRoadFile(path("gbk.REC")));
  EXPECT_EQ(back.leftSections[0].moduleName(), utf8);
  EXPECT_EQ(back.sectionChanges[0].items[0].moduleName(), utf8);
  EXPECT_EQ(back.superHighs[0].SectionName, back.leftSections[0].moduleName());
  ASSERT_TRUE(back.writeRoadFile(path("utf8.REC")));
  EXPECT_EQ(read("utf8.REC"), read("gbk.REC"));
  setAnsiCodePageOverride(0);
}

TEST_F(RoadFileTest, UnreadableFilesLeaveTheRoadAsItWas) {
  write("bad.REC", "<HEAD><RoadLibrary></HEAD>");
  write("other.REC", "<?xml version=\"1.0\"?>\r\n<ROOT>\r\n<RoadLibrary/>\r\n</ROOT>\r\n");
  CInputRoadLibrary lib;
  lib.FlatcurveType = 1;
  lib.elements.append(Road_Element{});
  EXPECT_FALSE(lib.readRoadFile(path("missing.REC")));
  EXPECT_FALSE(lib.readRoadFile(path("bad.REC")));
  EXPECT_FALSE(lib.readRoadFile(path("other.REC")));
  EXPECT_EQ(lib.FlatcurveType, 1);
  EXPECT_EQ(lib.elements.size(), 1u);
}

TEST_F(RoadFileTest, FailedWriteKeepsThePreviousFile) {
  CInputRoadLibrary lib;
  ASSERT_TRUE(lib.writeRoadFile(path("a.REC")));
  std::string before = read("a.REC");
  fs::permissions(dir_, fs::perms::owner_read | fs::perms::owner_exec);
  lib.FlatcurveType = 1;
  bool wrote = lib.writeRoadFile(path("a.REC"));
  fs::permissions(dir_, fs::perms::owner_all);
  if (::geteuid() != 0) {  // root may write anywhere
    EXPECT_FALSE(wrote);
  }
  if (!wrote) {
    EXPECT_EQ(read("a.REC"), before);
  }
}

}  // namespace
}  // namespace trazmark

namespace trazmark {
namespace {

TEST_F(RoadFileTest, SlopesSharingANameDoNotMultiplyTheirItemsOnResave) {
  // Items join every slope of their name when read; written once per name,
  // the road reads back the same however often it is saved.
  CInputRoadLibrary lib;
  Road_Slope a;
  a.SlopeName = "A";
  a.items.append({"A", "step", 0, 8, 1.5, 0});
  lib.slopes.append(a);
  lib.slopes.append(a);
  ASSERT_TRUE(lib.writeRoadFile(path("1.REC")));
  for (int round = 0; round < 3; ++round) {
    CInputRoadLibrary back;
    ASSERT_TRUE(back.readRoadFile(path("1.REC")));
    ASSERT_EQ(back.slopes.size(), 2u);
    EXPECT_EQ(back.slopes[0].items.size(), 1u);
    EXPECT_EQ(back.slopes[1].items.size(), 1u);
    ASSERT_TRUE(back.writeRoadFile(path("1.REC")));
  }
}

TEST_F(RoadFileTest, SlopesSharingANameKeepEveryItemOnSave) {
  // Two slopes of one name that hold different steps: every step reaches the
  // file (both slopes read back with all of them), and saving again keeps the
  // road as it was read.
  CInputRoadLibrary lib;
  Road_Slope a;
  a.SlopeName = "A";
  a.items.append({"A", "cut", 0, 8, 1.5, 0});
  Road_Slope b = a;
  b.items.append({"A", "berm", 1, 0, 2, 1.5});
  lib.slopes.append(a);
  lib.slopes.append(b);
  ASSERT_TRUE(lib.writeRoadFile(path("1.REC")));
  for (int round = 0; round < 3; ++round) {
    CInputRoadLibrary back;
    ASSERT_TRUE(back.readRoadFile(path("1.REC")));
    ASSERT_EQ(back.slopes.size(), 2u);
    for (const auto& slope : back.slopes) {
      ASSERT_EQ(slope.items.size(), 2u);
      EXPECT_EQ(slope.items[0].ItemName, "cut");
      EXPECT_EQ(slope.items[1].ItemName, "berm");
    }
    ASSERT_TRUE(back.writeRoadFile(path("1.REC")));
  }
}

}  // namespace
}  // namespace trazmark
