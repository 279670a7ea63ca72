#include "editors/SurveyImport.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

namespace trazmark {
namespace {

namespace fs = std::filesystem;

class SurveyImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("trazmark-survey-" + std::to_string(::getpid()) + "-" +
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

const char* const kIpHeader =
    "Intersection points\r\n"
    "Project 7\r\n"
    "Name,X,Y,Ls1,R,Ls2,Mileage\r\n";

TEST_F(SurveyImportTest, IpFileWithThreePoints) {
  const std::string ip = path("road.IP");
  writeBytes(ip, std::string(kIpHeader) +
                     "JD0,1000.5,2000.25,0,0,0,0\r\n"
                     "\r\n"  // too short to be a point
                     "JD1,1500,2600,80,300,60,\r\n"
                     "JD2,1800,2100\n");
  std::string rp;
  ASSERT_TRUE(convertIpSurveyFile(ip, rp));
  EXPECT_EQ(rp, path("road.RP"));
  EXPECT_EQ(readBytes(rp),
            "ROADNAME:road.RP,\r\n"
            "CROSSPT :JD0,1000.5000,2000.2500,0.0000,,0.0000,0.0000,0.0000,0.0000,\r\n"
            "CROSSPT :JD1,1500.0000,2600.0000,0.0000,,80.0000,300.0000,60.0000,0.0000,\r\n"
            "CROSSPT :JD2,1800.0000,2100.0000,0.0000,,0.0000,0.0000,0.0000,0.0000,\r\n");
}

TEST_F(SurveyImportTest, IpFileWithTwoPointsWritesNothing) {
  const std::string ip = path("road.IP");
  writeBytes(ip, std::string(kIpHeader) + "JD0,0,0,0,0,0,0\r\nJD1,100,0,0,0,0,0\r\n");
  std::string rp = "unchanged";
  EXPECT_FALSE(convertIpSurveyFile(ip, rp));
  EXPECT_EQ(rp, "unchanged");
  EXPECT_FALSE(fs::exists(path("road.RP")));
  // The last point without a line end is no point either.
  writeBytes(ip, std::string(kIpHeader) + "JD0,0,0,0,0,0,0\r\nJD1,100,0,0,0,0,0\r\nJD2,200,0");
  EXPECT_FALSE(convertIpSurveyFile(ip, rp));
  EXPECT_FALSE(convertIpSurveyFile(path("missing.IP"), rp));
  EXPECT_FALSE(convertIpSurveyFile("P", rp));
}

TEST_F(SurveyImportTest, XyFile) {
  const std::string xy = path("line 2.XY");
  writeBytes(xy,
             "A 1000 2000 1500.5\r\n"
             "B 1400 2300 250 60 70\r\n"
             "C 1200 2800  40\r\n"  // two spaces: an empty field
             "D 1000 3000 0 0 0\r\n");
  std::string rp;
  ASSERT_TRUE(convertXySurveyFile(xy, rp));
  EXPECT_EQ(rp, path("line 2.RP"));
  EXPECT_EQ(readBytes(rp),
            "ROADNAME:line 2.RP,\r\n"
            "CROSSPT :A,1000.0000,2000.0000,0.0000,,0.0000,0.0000,0.0000,1500.5000,\r\n"
            "CROSSPT :B,1400.0000,2300.0000,0.0000,,60.0000,250.0000,70.0000,0.0000,\r\n"
            "CROSSPT :C,1200.0000,2800.0000,0.0000,,40.0000,0.0000,0.0000,0.0000,\r\n"
            "CROSSPT :D,1000.0000,3000.0000,0.0000,,0.0000,0.0000,0.0000,0.0000,\r\n");

  writeBytes(xy, "A 1 2 3\r\nB 4 5 6\r\n");
  EXPECT_FALSE(convertXySurveyFile(xy, rp));
}

TEST_F(SurveyImportTest, CommaInAPointNameDoesNotShiftTheFields) {
  // Fields of an XY file are separated by spaces, so a name may hold a comma;
  // in the intersection-point file it would shift X, Y and the curve values.
  std::string rp;
  ASSERT_TRUE(convertXySurveyText("JD,0 0 0 0\r\nJD,1 1000 0 300 80 80\r\nJD,2 1500 600\r\n",
                                  "road,1.RP", rp));
  EXPECT_NE(rp.find("ROADNAME:road;1.RP,\r\n"), std::string::npos);
  EXPECT_NE(rp.find("CROSSPT :JD;1,1000.0000,0.0000,0.0000,,80.0000,300.0000,80.0000,0.0000,"),
            std::string::npos);
}

TEST_F(SurveyImportTest, LineEndsAndBadInput) {
  std::string rp;
  // Line feeds once no CR LF is left; CR alone ends no line.
  EXPECT_TRUE(convertXySurveyText("A 1 2 3\r\nB 4 5 6\nC 7 8 9\n", "r", rp));
  EXPECT_FALSE(convertXySurveyText("A 1 2 3\rB 4 5 6\rC 7 8 9\r", "r", rp));

  std::string many(kIpHeader);
  for (int i = 0; i < 3000; ++i) many += "P" + std::to_string(i) + ",1,2,3,4,5,6\r\n";
  ASSERT_TRUE(convertIpSurveyText(many, "r", rp));
  EXPECT_EQ(std::count(rp.begin(), rp.end(), '\n'), 3001);

  std::mt19937 random(3);
  for (int round = 0; round < 50; ++round) {
    std::string garbage(1 + random() % 4000, '\0');
    for (char& c : garbage) c = static_cast<char>(random() % 7 ? random() : '\n');
    std::string text;
    convertIpSurveyText(garbage, "r", text);
    convertXySurveyText(garbage, "r", text);
  }
  ASSERT_TRUE(convertIpSurveyText(std::string(kIpHeader) + "a,1e999,x\r\nb\r\nbb,3\r\nc,-0\r\n", "r", rp));
  EXPECT_NE(rp.find("CROSSPT :a,0.0000,0.0000,"), std::string::npos);
  EXPECT_NE(rp.find("CROSSPT :c,-0.0000,"), std::string::npos);
}

}  // namespace
}  // namespace trazmark
