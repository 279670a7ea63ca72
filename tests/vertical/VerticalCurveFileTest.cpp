#include "vertical/VerticalCurveFile.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "vertical/VerticalCurveCal.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

class VerticalCurveFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("trazmark-vr-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const char* name) const { return (dir_ / name).string(); }
  void writeBytes(const std::string& file, const std::string& bytes) const {
    std::ofstream(file, std::ios::binary) << bytes;
  }
  static std::string readBytes(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  fs::path dir_;
};

RecordList<CVerticalCurveCal> threePoints() {
  RecordList<CVerticalCurveCal> points(3);
  points[0].Mileage = 0;
  points[0].High = 100;
  points[1].Mileage = 400;
  points[1].High = 108;
  points[1].Radius = 2000;
  points[2].Mileage = 1200;
  points[2].High = 84;
  points[2].CalMode = 2;  // the last point's lengths are written as stored
  points[2].InLength = 12.5;
  points[2].OutLength = 7.25;
  points[2].CurveL = 19.75;
  return points;
}

TEST_F(VerticalCurveFileTest, WritesTheRefreshedGradesAndReadsThemBack) {
  const std::string file = path("VerCurve.VR");
  ASSERT_TRUE(writeVerticalCurveFile(file, threePoints()));
  EXPECT_EQ(readBytes(file),
            "0.000,100.000,0.000,0.000,0.000,0.000,0.000,0.000,0,\r\n"
            "400.000,108.000,2000.000,2.000,-3.000,0.000,0.000,49.988,0,\r\n"
            "1200.000,84.000,0.000,0.000,0.000,19.750,12.500,7.250,2,\r\n");

  RecordList<CVerticalCurveCal> points;
  ASSERT_TRUE(readVerticalCurveFile(file, points));
  ASSERT_EQ(points.size(), 3u);
  EXPECT_DOUBLE_EQ(points[1].Radius, 2000);
  EXPECT_DOUBLE_EQ(points[1].I2, -3);
  EXPECT_EQ(points[2].CalMode, 2);
  EXPECT_DOUBLE_EQ(points[2].InLength, 12.5);
  // Read points are set up: the curve of the middle point spans about 100 m.
  EXPECT_NEAR(points[1].calc3 - points[1].calc1, 100, 0.1);
  EXPECT_EQ(points[1].calcFlag, 1);

  // Writing what was read gives the same bytes.
  const std::string again = path("again.VR");
  ASSERT_TRUE(writeVerticalCurveFile(again, points));
  EXPECT_EQ(readBytes(again), readBytes(file));
}

TEST_F(VerticalCurveFileTest, LineEndsAndTheLastLine) {
  RecordList<CVerticalCurveCal> points;
  // Carriage returns alone end lines; text after the last line end is not a line.
  ASSERT_TRUE(parseVerticalCurveText("10,1,0,0,0,0,0,0,0,\r20,2,0,0,0,0,0,0,0,\r30,3", points));
  ASSERT_EQ(points.size(), 2u);
  EXPECT_DOUBLE_EQ(points[1].Mileage, 20);

  // Line feeds alone, a blank line, and fields that are no numbers (read as 0).
  ASSERT_TRUE(parseVerticalCurveText("5,abc,,1e999,-2.5e1x,0,0,0,7\n\n6,1\n", points));
  ASSERT_EQ(points.size(), 2u);
  EXPECT_DOUBLE_EQ(points[0].Mileage, 5);
  EXPECT_DOUBLE_EQ(points[0].High, 0);
  EXPECT_DOUBLE_EQ(points[0].I1, 0);
  EXPECT_DOUBLE_EQ(points[0].I2, -25);
  EXPECT_EQ(points[0].CalMode, 7);
  EXPECT_DOUBLE_EQ(points[1].Mileage, 6);
  EXPECT_DOUBLE_EQ(points[1].High, 1);
  EXPECT_EQ(points[1].CalMode, 0);
}

TEST_F(VerticalCurveFileTest, NothingReadLeavesThePointsAsTheyWere) {
  RecordList<CVerticalCurveCal> points = threePoints();
  EXPECT_FALSE(readVerticalCurveFile(path("missing.VR"), points));
  EXPECT_FALSE(readVerticalCurveFile("", points));
  writeBytes(path("empty.VR"), "");
  EXPECT_FALSE(readVerticalCurveFile(path("empty.VR"), points));
  writeBytes(path("truncated.VR"), "0.000,100.000,0.000,0.0");
  EXPECT_FALSE(readVerticalCurveFile(path("truncated.VR"), points));
  EXPECT_FALSE(parseVerticalCurveText("\r\n \r\n", points));
  EXPECT_EQ(points.size(), 3u);
  EXPECT_DOUBLE_EQ(points[2].High, 84);
}

TEST_F(VerticalCurveFileTest, HugeAndGarbageFiles) {
  std::string text;
  for (int i = 0; i < 1200; ++i) text += std::to_string(i * 10) + ",1,0,0,0,0,0,0,0,\r";
  const std::string file = path("long.VR");
  writeBytes(file, text);
  RecordList<CVerticalCurveCal> points;
  ASSERT_TRUE(readVerticalCurveFile(file, points));
  ASSERT_EQ(points.size(), 1000u);
  EXPECT_DOUBLE_EQ(points.back().Mileage, 9990);

  // A long file of one huge line without any line end is no line at all.
  EXPECT_FALSE(parseVerticalCurveText(std::string(4 << 20, '7'), points));

  std::mt19937 random(5);
  for (int round = 0; round < 50; ++round) {
    std::string garbage(1 + random() % 5000, '\0');
    for (char& c : garbage) c = static_cast<char>(random());
    RecordList<CVerticalCurveCal> read;
    parseVerticalCurveText(garbage, read);
    EXPECT_LE(read.size(), 1000u);
    double e = 0;
    for (double station : {-1e9, 0.0, 1e9}) elevationOnGradeLine(read, station, e);
  }
}

}  // namespace
}  // namespace trazmark
