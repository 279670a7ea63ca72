#include "editors/LineElementFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <vector>

#include "support/LineElementRecords.h"

#if __has_include("alignment/RoadDesign_Element.h")
#include "alignment/RoadDesign_Element.h"
#define TRAZMARK_HAVE_ELEMENT_METHOD 1
#endif

namespace trazmark {
namespace {

namespace fs = std::filesystem;

using test::leArc;
using test::leLine;
using test::leSpiral;
using test::leStart;

/// One ELEMENT line of RE text, split into its ten fields.
struct ElementLine {
  int type;
  std::vector<std::string> fields;
  double number(int index) const { return std::stod(fields[static_cast<std::size_t>(index)]); }
};

/// The ELEMENT lines of RE text, checking the line format on the way: the
/// tag, ten fields and a comma before CR LF.
std::vector<ElementLine> elementLines(const std::string& text) {
  std::vector<ElementLine> lines;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find("\r\n", pos);
    EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
    if (end == std::string::npos) break;
    const std::string line = text.substr(pos, end - pos);
    pos = end + 2;
    EXPECT_EQ(line.back(), ',') << line;
    if (line.rfind("ELEMENT :", 0) != 0) continue;
    ElementLine e;
    std::size_t start = 9;
    for (std::size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
      e.fields.push_back(line.substr(start, comma - start));
    EXPECT_EQ(e.fields.size(), 10u) << line;
    if (e.fields.size() != 10u) continue;
    e.type = std::stoi(e.fields[0]);
    lines.push_back(e);
  }
  return lines;
}

// Field indexes of an ELEMENT line.
enum { kType, kName, kX, kY, kZ, kMileageText, kAzimuth, kLength, kRadius, kMileage };

class LineElementFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("trazmark-le-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  static std::string readBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  static void writeBytes(const std::string& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary) << bytes;
  }
  fs::path dir_;
};

LineElementData leftCurveRoad() {
  LineElementData data;
  data.roadName = "G105";
  data.startMileage = 1200;
  data.elements.append(leStart(3000.5, 500.25, 90.3015, 0));
  data.elements.append(leLine(100));
  data.elements.append(leArc(-500, 200));
  data.elements.append(leLine(100));
  return data;
}

TEST_F(LineElementFileTest, WritesTheLineElementFile) {
  LineElementData data = leftCurveRoad();
  const std::string file = path("G105.LE");
  ASSERT_TRUE(writeLineElementFile("  " + file + " ", data));
  EXPECT_EQ(readBytes(file),
            "ROADNAME:G105,\r\n"
            "MILEAGE :1200.000,\r\n"
            "POINTELEMENT :1,3000.5000,500.2500,0.0000,1200.0000,0.0000,90.30150000,\r\n"
            "LINEELEMENT :2,-1,-1.0000,-1.0000,100.0000,\r\n"
            "LINEELEMENT :3,0,-500.0000,-500.0000,200.0000,\r\n"
            "LINEELEMENT :2,-1,-1.0000,-1.0000,100.0000,\r\n");
  EXPECT_EQ(data.elements[0].Mileage, 1200);  // the start mileage goes into the start point

  LineElementData empty;
  ASSERT_TRUE(writeLineElementFile(file, empty));
  EXPECT_EQ(readBytes(file), "");
  EXPECT_FALSE(writeLineElementFile("   ", data));
  EXPECT_FALSE(writeLineElementFile(path("no/such/folder/x.LE"), data));
}

TEST_F(LineElementFileTest, ReadsBackWhatItWrote) {
  LineElementData data = leftCurveRoad();
  data.elements.append(leSpiral(-1, 300, 80, 1));
  data.elements.append(leLine(20));
  const std::string file = path("G105.LE");
  ASSERT_TRUE(writeLineElementFile(file, data));

  LineElementData read;
  read.elements.append(leLine(5));  // emptied first
  ASSERT_TRUE(readLineElementFile(file, read));
  EXPECT_EQ(read.roadName, "G105");
  EXPECT_EQ(read.startMileage, 1200);
  ASSERT_EQ(read.elements.size(), 6u);
  const Road_LineElement& start = read.elements[0];
  EXPECT_EQ(start.Type, 1);
  EXPECT_DOUBLE_EQ(start.Azimuth, 90.3015);
  EXPECT_EQ(start.StartRadius, -1);
  EXPECT_EQ(start.EndRadius, -1);
  EXPECT_EQ(start.Deviation, -1);
  const Road_LineElement& left = read.elements[2];
  EXPECT_EQ(left.Type, 3);
  EXPECT_EQ(left.Deviation, 0);
  EXPECT_EQ(left.StartRadius, -500);
  EXPECT_EQ(left.Length, 200);
  EXPECT_EQ(left.Azimuth, 0);
  // Every element carries the start point's position and mileage.
  EXPECT_EQ(left.point.X, 3000.5);
  EXPECT_EQ(left.Mileage, 1200);
  EXPECT_EQ(read.elements[4].StartRadius, -1);
  EXPECT_EQ(read.elements[4].EndRadius, 300);

  const std::string again = path("again.LE");
  ASSERT_TRUE(writeLineElementFile(again, read));
  EXPECT_EQ(readBytes(again), readBytes(file));
}

TEST_F(LineElementFileTest, ReadingRules) {
  LineElementData data;
  data.roadName = "kept";
  parseLineElementText(
      "MELIAGE :1200.000,\r\n"
      "NOTE :whatever,\r\n"                            // unknown key: skipped
      "no colon at all, 1, 2\r\n"
      "POINTELEMENT :1,10,x20,,+5e1,7,180.0000\r\n"    // missing and bad fields read 0
      "LINEELEMENT :4,1,300,-1,60\r\n"
      "LINEELEMENT :3,1,1e999,0x10,99999999999,\r\n"
      "LINEELEMENT :2,-1",                             // no line end: not read
      data);
  EXPECT_EQ(data.roadName, "kept");
  EXPECT_EQ(data.startMileage, 1200);
  ASSERT_EQ(data.elements.size(), 3u);
  EXPECT_EQ(data.elements[0].point.X, 10);
  EXPECT_EQ(data.elements[0].point.Y, 0);
  EXPECT_EQ(data.elements[0].Mileage, 50);
  EXPECT_EQ(data.elements[0].Azimuth, 180);
  EXPECT_EQ(data.elements[1].Type, 4);
  EXPECT_EQ(data.elements[1].EndRadius, -1);
  EXPECT_EQ(data.elements[2].StartRadius, 0);
  EXPECT_EQ(data.elements[2].EndRadius, 0);
  EXPECT_EQ(data.elements[2].Length, 99999999999.0);

  // Carriage returns alone end lines too.
  parseLineElementText("ROADNAME:R1,\rMILEAGE :5,\rPOINTELEMENT :1,1,2,3,4,5,6,\r", data);
  EXPECT_EQ(data.roadName, "R1");
  EXPECT_EQ(data.startMileage, 5);
  ASSERT_EQ(data.elements.size(), 1u);
}

TEST_F(LineElementFileTest, MissingHugeAndGarbageFiles) {
  LineElementData data = leftCurveRoad();
  EXPECT_FALSE(readLineElementFile(path("missing.LE"), data));
  EXPECT_FALSE(readLineElementFile("  ", data));
  EXPECT_FALSE(convertLineElementFile(path("missing.LE"), data));
  EXPECT_EQ(data.elements.size(), 4u);  // a failed read changes nothing
  EXPECT_FALSE(fs::exists(path("missing.RE")));

  std::string text = "POINTELEMENT :1,0,0,0,0,0,0,\r\n";
  for (int i = 0; i < 1500; ++i) text += "LINEELEMENT :2,-1,-1,-1,1,\r\n";
  parseLineElementText(text, data);
  EXPECT_EQ(data.elements.size(), 1000u);
  text = "POINTELEMENT :1,0,0,0,0,0,0,\r";
  for (int i = 0; i < 1500; ++i) text += "LINEELEMENT :2,-1,-1,-1,1,\r";
  parseLineElementText(text, data);
  EXPECT_EQ(data.elements.size(), 1000u);

  std::mt19937 random(11);
  for (int round = 0; round < 50; ++round) {
    std::string garbage = round % 2 ? "LINEELEMENT :" : "";
    garbage.resize(garbage.size() + 1 + random() % 4000);
    for (std::size_t i = 13; i < garbage.size(); ++i) garbage[i] = static_cast<char>(random());
    parseLineElementText(garbage, data);
    EXPECT_LE(data.elements.size(), 1000u);
    elementLines(elementTextFromLineElements(data));
  }
}

TEST_F(LineElementFileTest, ConvertsToTheElementFile) {
  LineElementData data = leftCurveRoad();
  const std::string file = path("G105.LE");
  ASSERT_TRUE(writeLineElementFile(file, data));
  LineElementData read;
  ASSERT_TRUE(convertLineElementFile(file, read));
  EXPECT_EQ(elementPathForLineElementFile(file), path("G105.RE"));
  const std::string re = readBytes(path("G105.RE"));
  EXPECT_EQ(re.substr(0, 36), "ROADNAME:G105,\r\nMILEAGE :1200.000,\r\n");
  const std::vector<ElementLine> lines = elementLines(re);
  std::vector<int> types;
  for (const auto& e : lines) types.push_back(e.type);
  EXPECT_EQ(types, (std::vector<int>{1, 2, 2, 3, 2, 2}));
  ASSERT_EQ(lines.size(), 6u);
  // The start point, then a line of length 0 with the start azimuth in degrees.
  EXPECT_EQ(lines[0].fields[kX], "3000.500000");
  EXPECT_EQ(lines[0].fields[kY], "500.250000");
  EXPECT_EQ(lines[1].number(kLength), 0);
  EXPECT_NEAR(lines[1].number(kAzimuth), 90 + 30 / 60.0 + 15 / 3600.0, 1e-11);
  EXPECT_EQ(lines[1].fields[kAzimuth].size(), std::string("90.504166666667").size());
  EXPECT_EQ(lines[2].number(kLength), 100);
  EXPECT_EQ(lines[2].number(kAzimuth), 0);
  EXPECT_EQ(lines[3].number(kRadius), -500);
  EXPECT_EQ(lines[3].number(kLength), 200);
  EXPECT_EQ(lines[5].number(kLength), 0);
  for (const auto& e : lines) {
    EXPECT_EQ(e.fields[kName], "");
    EXPECT_EQ(e.fields[kMileageText], "");
    EXPECT_EQ(e.number(kMileage), 0);
  }
}

TEST_F(LineElementFileTest, SpiralsAreFramedByTheirEndRadii) {
  struct {
    const char* name;
    double startRadius, endRadius;
    std::vector<int> types;  // of the three lines written for the spiral
    double frameBefore, frameAfter;  // radius of the framing arcs (0: a zero line)
  } const cases[] = {
      {"from infinity to 300 right", -1, 300, {2, 4, 3}, 0, 300},
      {"from 300 left to infinity", -300, -1, {3, 4, 2}, -300, 0},
      {"from 600 to 200 right", 600, 200, {3, 4, 3}, 600, 200},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    LineElementData data;
    data.elements.append(leStart(0, 0, 45, 0));
    data.elements.append(leLine(50));
    data.elements.append(leSpiral(c.startRadius, c.endRadius, 75, c.endRadius > 0));
    data.elements.append(leLine(50));
    const std::vector<ElementLine> lines = elementLines(elementTextFromLineElements(data));
    // Start point, zero line, line 50, the framed spiral, line 50, closing line.
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[3].type, c.types[0]);
    EXPECT_EQ(lines[4].type, c.types[1]);
    EXPECT_EQ(lines[5].type, c.types[2]);
    EXPECT_EQ(lines[4].number(kLength), 75);
    EXPECT_EQ(lines[4].number(kRadius), c.startRadius);
    EXPECT_EQ(lines[3].number(kLength), c.frameBefore ? 0.00001 : 0);
    EXPECT_EQ(lines[3].number(kRadius), c.frameBefore);
    EXPECT_EQ(lines[5].number(kLength), c.frameAfter ? 0.00001 : 0);
    EXPECT_EQ(lines[5].number(kRadius), c.frameAfter);
    EXPECT_EQ(lines[6].number(kLength), 50);
    EXPECT_EQ(lines[7].type, 2);
    EXPECT_EQ(lines[7].number(kLength), 0);
  }
}

#ifdef TRAZMARK_HAVE_ELEMENT_METHOD
TEST_F(LineElementFileTest, TheElementMethodReadsTheConvertedFile) {
  LineElementData data = leftCurveRoad();
  data.elements.insertAt(2, leSpiral(-1, -500, 60, 0));
  data.elements.insertAt(4, leSpiral(-500, -1, 60, 0));
  const std::string file = path("G105.LE");
  ASSERT_TRUE(writeLineElementFile(file, data));
  LineElementData read;
  ASSERT_TRUE(convertLineElementFile(file, read));
  CRoadDesign_Element method(dir_.string());
  ASSERT_TRUE(method.readText(path("G105.RE")));
  EXPECT_EQ(method.roadName, "G105");
  EXPECT_EQ(method.startMileage, 1200);
  std::vector<int> types;
  for (const auto& e : method.elements) types.push_back(e.Type);
  EXPECT_EQ(types, (std::vector<int>{1, 2, 2, 2, 4, 3, 3, 3, 4, 2, 2, 2}));
  EXPECT_NEAR(method.elements[1].Azimuth, 90.50416666666667, 1e-11);
  EXPECT_EQ(method.elements[5].Radius, -500);
  EXPECT_EQ(method.elements[6].Length, 200);
}
#endif

}  // namespace
}  // namespace trazmark
