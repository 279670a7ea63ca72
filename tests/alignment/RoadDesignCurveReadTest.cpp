// Reading curve files into the engine, including files that are damaged.

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "platform/WarningSink.h"

namespace trazmark {
namespace {

const char* const kHeader =
    "CURVE FILE(RP) Ver1.0\r\nMETRES\r\nDEGREES\r\nSTART CHAINAGE,1250.5000\r\nHORIZ\r\nRN,Ring "
    "road\r\n";

class CurveRead : public testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           ("trazmark-curveread-" + std::to_string(::getpid()) + "-" +
            testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dir_);
    previous_ = setWarningSink(
        [this](const std::string& t, const std::string&) { warnings_.push_back(t); });
  }
  void TearDown() override {
    setWarningSink(previous_);
    std::filesystem::remove_all(dir_);
  }
  std::string write(const std::string& text, const std::string& name = "road.RP.TDFE") {
    const std::string p = (dir_ / name).string();
    std::ofstream(p, std::ios::binary) << text;
    return p;
  }
  std::filesystem::path dir_;
  std::vector<std::string> warnings_;
  WarningSink previous_;
};

TEST_F(CurveRead, ReadsRecordsIntoTheChain) {
  CRoadDesign d;
  ASSERT_TRUE(d.loadFromCurveFile(write(std::string(kHeader) + "PT,200.000000,100.000000,\r\n"
                                                               "R.,100.000000,45.00000000,\r\n"
                                                               "CL,60.000000,122.47448714,\r\n"
                                                               "CC,80.000000,-250.000000,\r\n"
                                                               "CL,60.000000,122.47448714,\r\n"
                                                               "R.,50.000000,0.00000000,\r\n")));
  EXPECT_TRUE(d.computed());
  EXPECT_EQ(d.roadName(), "Ring road");
  EXPECT_DOUBLE_EQ(d.startMileage(), 1250.5);
  const auto& e = d.elements();
  ASSERT_EQ(e.size(), 6u);
  EXPECT_EQ(e[0].startX, 100);
  EXPECT_EQ(e[0].startY, 200);
  // The spiral between the line and the left arc enters it from the straight.
  EXPECT_EQ(e[2].type, kElementSpiral);
  EXPECT_EQ(e[2].startRadius, 0);
  EXPECT_EQ(e[2].endRadius, -250);
  EXPECT_LT(e[2].endAzimuth, e[2].startAzimuth);
  EXPECT_EQ(e[4].startRadius, -250);
  EXPECT_EQ(e[4].endRadius, 0);
  EXPECT_DOUBLE_EQ(e.back().endMileage, 1250.5 + 350);
  EXPECT_EQ(d.keyPoints().front().Name, "QD");
  EXPECT_EQ(d.keyPoints().back().Name, "ZD");
}

TEST_F(CurveRead, LineEndsAndUnparsableNumbers) {
  struct Case {
    const char* name;
    std::string text;
    std::size_t elements;
  };
  const Case cases[] = {
      {"CR only", "START CHAINAGE,10\rRN,a\rPT,0,0,\rR.,100,30,\rCC,20,300,\rR.,10,0,\r", 4},
      {"last record without line end is not read",
       "PT,0,0,\r\nR.,100,30,\r\nCC,20,300,\r\nR.,10,0,", 3},
      {"unparsable arc dropped, unparsable line kept",
       "PT,0,0,\r\nR.,100,30,\r\nCC,abc,300,\r\nR.,x,y,\r\n", 3},
      {"keys are case-sensitive", "PT,0,0,\r\nR.,100,30,\r\nr.,50,0,\r\ncc,20,300,\r\n", 2},
      {"empty lines and other keys skipped", "\r\n\r\nPT,0,0,\r\nXX,1,2,\r\n\nR.,100,30,\r\n", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    CRoadDesign d;
    const bool ok = d.loadFromCurveFile(write(c.text));
    EXPECT_EQ(d.elements().size(), c.elements);
    EXPECT_EQ(ok, c.elements >= 2);
  }
  CRoadDesign d;
  ASSERT_TRUE(d.loadFromCurveFile(write("START CHAINAGE,10\rRN,a\rPT,0,0,\rR.,100,30,\r")));
  EXPECT_EQ(d.roadName(), "a") << "the name does not keep its carriage return";
  EXPECT_DOUBLE_EQ(d.startMileage(), 10);
}

TEST_F(CurveRead, Failures) {
  CRoadDesign d;
  ASSERT_TRUE(d.loadFromCurveFile(write("PT,0,0,\r\nR.,100,30,\r\n", "good")));
  // A missing file fails without a message and leaves the design as it was.
  EXPECT_FALSE(d.loadFromCurveFile((dir_ / "missing").string()));
  EXPECT_TRUE(d.computed());
  EXPECT_TRUE(warnings_.empty());
  // A spiral with no element after it cannot take its end radius.
  EXPECT_FALSE(d.loadFromCurveFile(write("PT,0,0,\r\nR.,100,30,\r\nCL,50,100,\r\n")));
  EXPECT_FALSE(d.computed());
  EXPECT_TRUE(warnings_.empty());
  EXPECT_FALSE(d.loadFromCurveFile(write(std::string(kHeader) + "PT,0,0,\r\n")));
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_EQ(warnings_[0], "道路元素不能少于2个!");
}

// Damaged files: truncated, shuffled, mutated and random bytes. Every read
// returns a flag, a computed design answers queries, and all of it is quick.
TEST_F(CurveRead, DamagedFilesReturnAFlagQuickly) {
  const std::string good = std::string(kHeader) +
                           "PT,3500000.000000,500000.000000,\r\n"
                           "R.,120.000000,37.50000000,\r\n"
                           "CL,80.000000,200.00000000,\r\n"
                           "CC,150.000000,500.000000,\r\n"
                           "CL,60.000000,150.00000000,\r\n"
                           "CC,90.000000,-300.000000,\r\n"
                           "CL,70.000000,150.00000000,\r\n"
                           "R.,100.000000,0.00000000,\r\n";
  std::vector<std::string> lines;
  for (std::size_t pos = 0; pos < good.size();) {
    const std::size_t end = good.find("\r\n", pos);
    lines.push_back(good.substr(pos, end + 2 - pos));
    pos = end + 2;
  }
  const char* junk[] = {"nan", "inf", "-1e308",   "1e308",        "",     "-0", "1e-300", ",,,",
                        "\r",  "\n",  "\xff\xfe", "999999999999", "-250", "0"};
  std::mt19937 rng(2024);
  const auto started = std::chrono::steady_clock::now();
  int computed = 0;
  for (int round = 0; round < 800; ++round) {
    std::string text;
    switch (round % 4) {
      case 0:
        text = good.substr(0, rng() % (good.size() + 1));
        break;
      case 1: {
        std::vector<std::string> shuffled = lines;
        std::shuffle(shuffled.begin(), shuffled.end(), rng);
        for (const std::string& l : shuffled) text += l;
        break;
      }
      case 2: {
        for (const std::string& l : lines) {
          std::string m = l;
          if (rng() % 3 == 0) {
            const std::size_t comma = m.find(',');
            if (comma != std::string::npos) m.insert(comma + 1, junk[rng() % std::size(junk)]);
          }
          text += m;
        }
        break;
      }
      default:
        for (int i = 0, n = static_cast<int>(rng() % 400); i < n; ++i) {
          text += static_cast<char>(rng() % 256);
        }
        break;
    }
    CRoadDesign d;
    const bool ok = d.loadFromCurveFile(write(text, "fuzz"));
    EXPECT_EQ(ok, d.computed());
    if (!ok) continue;
    ++computed;
    const double span = d.endMileage() - d.startMileage();
    for (double f : {-0.1, 0.0, 0.37, 1.0, 1.5})
      d.pointAtStation(d.startMileage() + f * span, 2, -1);
    std::vector<RoadCoordinate> records;
    if (std::isfinite(span) && span > 0) d.stakeRecords(1, std::max(span / 200, 1.0), 1, records);
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
  EXPECT_LT(seconds, 60.0);
  EXPECT_GT(computed, 100) << "the damaged files should still include readable ones";
}

}  // namespace
}  // namespace trazmark
