// The element method's text file and its RE curve file.

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "alignment/RoadDesign.h"
#include "alignment/RoadDesign_Element.h"
#include "markup/MarkupDocument.h"

namespace trazmark {
namespace {

class ElementMethod : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::path(::testing::TempDir()) /
           ("element_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string read(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void write(const std::string& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
  }
  std::filesystem::path dir_;
};

Road_Element element(int type, double length = 0, double radius = 0, double azimuth = 0) {
  Road_Element e;
  e.Type = type;
  e.Length = length;
  e.Radius = radius;
  e.Azimuth = azimuth;
  return e;
}

Road_Element startPoint(double x, double y) {
  Road_Element e;
  e.Type = 1;
  e.point.X = x;
  e.point.Y = y;
  return e;
}

TEST_F(ElementMethod, WriteReadWriteIsByteIdentical) {
  CRoadDesign_Element d("");
  d.roadName = "X101";
  d.startMileage = 1234.5678;
  Road_Element s = startPoint(3456789.123456, 512345.654321);
  s.point.Name = "QD";
  s.point.MileageText = "K1+234";
  d.elements = {s, element(2, 120.5, 0, 45.123456789012), element(4, 60), element(3, 80, -300),
                element(4, 60), element(2, 200)};
  ASSERT_TRUE(d.writeText(path("a.RE")));
  const std::string first = read(path("a.RE"));
  EXPECT_EQ(first.substr(0, first.find("ELEMENT :2")),
            "ROADNAME:X101,\r\nMILEAGE :1234.568,\r\n"
            "ELEMENT :1,QD,3456789.123456,512345.654321,0.000000,K1+234,0.000000000000,0.000000,"
            "0.000000,0.000000,\r\n");
  EXPECT_NE(first.find("ELEMENT :2,,0.000000,0.000000,0.000000,,45.123456789012,120.500000,0.000000,0.000000,\r\n"),
            std::string::npos);

  CRoadDesign_Element e("");
  ASSERT_TRUE(e.readText(path("a.RE")));
  EXPECT_EQ(e.roadName, "X101");
  EXPECT_DOUBLE_EQ(e.startMileage, 1234.568);
  ASSERT_EQ(e.elements.count(), 6);
  EXPECT_EQ(e.elements[3].Type, 3);
  EXPECT_EQ(e.elements[3].Radius, -300);
  EXPECT_EQ(e.elements[0].point.MileageText, "K1+234");
  ASSERT_TRUE(e.writeText(path("b.RE")));
  EXPECT_EQ(read(path("b.RE")), first);
}

TEST_F(ElementMethod, ReaderTakesBothMileageSpellingsAndShortLines) {
  for (const char* tag : {"MILEAGE :", "MELIAGE :"}) {
    write(path("m.RE"), std::string("ROADNAME:R7,x\r\n") + tag + "2500.25,\r\nELEMENT :3,,,,,,,50\r\n"
                            "ELEMENT :4\r\nbad\r\n");
    CRoadDesign_Element d("");
    ASSERT_TRUE(d.readText(path("m.RE")));
    EXPECT_EQ(d.roadName, "R7");
    EXPECT_EQ(d.startMileage, 2500.25) << tag;
    ASSERT_EQ(d.elements.count(), 2);
    EXPECT_EQ(d.elements[0].Length, 50);
    EXPECT_EQ(d.elements[0].Radius, 0);
    EXPECT_EQ(d.elements[1].Type, 4);
    EXPECT_EQ(d.elements[1].point.Name, "");
  }
}

// Older files have no MILEAGE line: the road starts at its first element's
// mileage, and an explicit MILEAGE of 0 still means 0.
TEST_F(ElementMethod, FileWithoutMileageStartsAtItsFirstElement) {
  const std::string elements =
      "ELEMENT :1,QD,1000.000000,2000.000000,0.000000,,0.000000000000,0.000000,0.000000,3250.500000,\r\n"
      "ELEMENT :2,,0,0,0,,45.000000000000,100.000000,0.000000,0.000000,\r\n";
  struct {
    std::string mileageLine;
    double start;
  } const cases[] = {{"", 3250.5}, {"MILEAGE :0.000,\r\n", 0}, {"MILEAGE :12.5,\r\n", 12.5}};
  for (const auto& c : cases) {
    write(path("old.RE"), "ROADNAME:old,\r\n" + c.mileageLine + elements);
    CRoadDesign_Element d("");
    ASSERT_TRUE(d.readText(path("old.RE")));
    EXPECT_EQ(d.startMileage, c.start) << c.mileageLine;
  }
}

TEST_F(ElementMethod, ReaderTakesCrOnlyLinesAndAtMostAThousand) {
  std::string text = "ROADNAME:R,\rMILEAGE :10,\r";
  for (int i = 0; i < 1100; ++i) text += "ELEMENT :2,,0,0,0,," + std::to_string(i) + ",1,\r";
  write(path("cr.RE"), text);
  CRoadDesign_Element d("");
  ASSERT_TRUE(d.readText(path("cr.RE")));
  EXPECT_EQ(d.startMileage, 10);
  ASSERT_EQ(d.elements.count(), 998);
  EXPECT_EQ(d.elements.back().Azimuth, 997);
}

TEST_F(ElementMethod, MissingFileOrEmptyPathFails) {
  CRoadDesign_Element d("");
  d.elements = {startPoint(1, 2)};
  EXPECT_FALSE(d.readText(path("none.RE")));
  EXPECT_FALSE(d.readText(""));
  EXPECT_EQ(d.elements.count(), 1);
  EXPECT_FALSE(d.writeText("  "));
  EXPECT_FALSE(d.writeCurveFile(" "));
  EXPECT_FALSE(d.writeCurveFile(path("no/folder/c.TDFE")));
}

TEST_F(ElementMethod, CurveFileClampsLengthsAndTakesSpiralRadiiFromArcs) {
  CRoadDesign_Element d("");
  d.roadName = "R";
  d.startMileage = 100;
  d.elements = {startPoint(1000, 2000),
                element(2, 0, 0, 30),     // zero length: written 0.0001
                element(4, 60),           // before an arc of -300: A = sqrt(60*300)
                element(3, 80, -300),
                element(4, 40),           // after the arc: A = sqrt(40*300)
                element(2, 100),
                element(4, 50),           // between two lines: A = 0
                element(2, 100),
                element(7, 500),          // unknown kind: nothing written
                startPoint(5, 6)};        // a second start point is written too
  ASSERT_TRUE(d.writeCurveFile(path("c.TDFE")));
  EXPECT_EQ(read(path("c.TDFE")),
            "CURVE FILE(RE) Ver1.0\r\nMETRES\r\nDEGREES\r\nSTART CHAINAGE,100.0000\r\nHORIZ\r\nRN,R\r\n"
            "PT,2000.000000,1000.000000,\r\n"
            "R.,0.000100,30.0000000000,\r\n"
            "CL,60.000000,134.164079,\r\n"
            "CC,80.000000,-300.000000,\r\n"
            "CL,40.000000,109.544512,\r\n"
            "R.,100.000000,0.0000000000,\r\n"
            "CL,50.000000,0.000000,\r\n"
            "R.,100.000000,0.0000000000,\r\n"
            "PT,6.000000,5.000000,\r\n");
  EXPECT_NEAR(d.runningLength, 0.0001 + 60 + 80 + 40 + 100 + 50 + 100, 1e-9);

  // A spiral between two arcs takes the radius of the arc after it; a spiral
  // of length 0 is written 0.0001 long with the parameter of its own length.
  d.elements = {startPoint(0, 0), element(2, 10), element(3, 10, 500), element(4, 0),
                element(3, 10, 200), element(2, 10)};
  ASSERT_TRUE(d.writeCurveFile(path("c.TDFE")));
  EXPECT_NE(read(path("c.TDFE")).find("CL,0.000100,0.000000,\r\n"), std::string::npos);
  d.elements[3].Length = 50;
  ASSERT_TRUE(d.writeCurveFile(path("c.TDFE")));
  EXPECT_NE(read(path("c.TDFE")).find("CL,50.000000,100.000000,\r\n"), std::string::npos);
}

TEST_F(ElementMethod, CurveFileKeepsShortLinesWhenAskedAndStillWidensCurves) {
  struct {
    const char* name;
    CRoadDesign_Element::ShortLines shortLines;
    const char* zeroLine;     // record of the line of length 0
    const char* negativeLine; // record of a line of negative length
    double running;           // metres
  } const cases[] = {
      {"widen", CRoadDesign_Element::ShortLines::Widen, "R.,0.000100,", "R.,0.000100,", 0.0003 + 20},
      {"keep", CRoadDesign_Element::ShortLines::Keep, "R.,0.000000,", "R.,0.000100,", 0.0002 + 20},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CRoadDesign_Element d("");
    d.elements = {startPoint(0, 0), element(2, 0, 0, 30), element(3, 0, 100), element(2, 10),
                  element(2, -5), element(2, 10)};
    ASSERT_TRUE(d.writeCurveFile(path("c.TDFE"), c.shortLines));
    const std::string text = read(path("c.TDFE"));
    EXPECT_NE(text.find(std::string(c.zeroLine) + "30.0000000000,\r\n"), std::string::npos) << text;
    // An arc of length 0 would be dropped by the engine: always widened.
    EXPECT_NE(text.find("CC,0.000100,100.000000,\r\n"), std::string::npos) << text;
    EXPECT_NE(text.find(std::string(c.negativeLine) + "0.0000000000,\r\nR.,10"), std::string::npos) << text;
    EXPECT_NEAR(d.runningLength, c.running, 1e-12);
    CRoadDesign design;
    ASSERT_TRUE(design.loadFromCurveFile(path("c.TDFE")));
    EXPECT_NEAR(design.endMileage(), d.runningLength, 1e-9);
  }
}

TEST_F(ElementMethod, CurveFileLaysOutLikeTheElementList) {
  CRoadDesign_Element d("");
  d.roadName = "R";
  d.startMileage = 500;
  d.elements = {startPoint(3400000.5, 500000.25), element(2, 300, 0, 30.5),
                element(4, 60),  element(3, 80, -300), element(4, 60),
                element(2, 250), element(4, 40),       element(3, 120, 800),
                element(4, 90),  element(3, 100, 400), element(4, 70),
                element(2, 400)};
  ASSERT_TRUE(d.writeCurveFile(path("c.TDFE")));
  CRoadDesign fromList, fromFile;
  ASSERT_TRUE(fromList.loadFromRoad(d.roadName, d.startMileage, d.elements));
  ASSERT_TRUE(fromFile.loadFromCurveFile(path("c.TDFE")));
  ASSERT_EQ(fromList.elements().size(), fromFile.elements().size());
  for (std::size_t i = 0; i < fromList.elements().size(); ++i) {
    EXPECT_NEAR(fromFile.elements()[i].endX, fromList.elements()[i].endX, 1e-5) << i;
    EXPECT_NEAR(fromFile.elements()[i].endY, fromList.elements()[i].endY, 1e-5) << i;
  }
  EXPECT_NEAR(fromFile.endMileage(), 500 + d.runningLength, 1e-6);
}

TEST_F(ElementMethod, GarbageFilesNeverCrash) {
  std::mt19937 rng(11);
  const std::string pieces[] = {"ELEMENT :", "MILEAGE :", "MELIAGE :", "ROADNAME:", ",", ",,",
                                "\r\n",      "\r",        "4",         "3",         "-1e308", "nan",
                                "99999999999", "\x80\x81"};
  for (int round = 0; round < 200; ++round) {
    std::string text;
    const int count = std::uniform_int_distribution<int>(0, 100)(rng);
    for (int i = 0; i < count; ++i) text += pieces[rng() % std::size(pieces)];
    write(path("g.RE"), text);
    CRoadDesign_Element d("");
    ASSERT_TRUE(d.readText(path("g.RE")));
    ASSERT_TRUE(d.writeCurveFile(path("g.TDFE")));
    std::string curve = read(path("g.TDFE"));
    // The road name may hold any text; only the numbers matter here.
    const std::size_t rn = curve.find("\r\nRN,");
    if (rn != std::string::npos) curve.erase(rn, curve.find("\r\n", rn + 2) - rn);
    EXPECT_EQ(curve.find("nan"), std::string::npos);
    EXPECT_EQ(curve.find("inf"), std::string::npos);
  }
}

TEST_F(ElementMethod, SettingsGoIntoTheSettingsFolder) {
  CRoadDesign_Element d(path("cfg"));
  d.CalculateMode = -3;
  d.Interval = 12.34567;
  ASSERT_TRUE(d.saveSettings());
  MarkupDocument doc;
  ASSERT_TRUE(doc.loadFile(path("cfg/RoadDesign_Element.cfg")));
  ASSERT_TRUE(doc.findElement("HEAD") && doc.enterElement());
  ASSERT_TRUE(doc.findElement("RoadDesign_Element") && doc.enterElement());
  ASSERT_TRUE(doc.findElement("Ver"));
  EXPECT_EQ(doc.elementData(), "1.0.1.1");
  ASSERT_TRUE(doc.findElement("Option"));
  ASSERT_TRUE(doc.findChildElement("CalculateMode"));
  EXPECT_EQ(doc.childData(), "-3");
  ASSERT_TRUE(doc.findChildElement("Interval"));
  EXPECT_EQ(doc.childData(), "12.3457");
  EXPECT_FALSE(CRoadDesign_Element("").saveSettings());
}

}  // namespace
}  // namespace trazmark
