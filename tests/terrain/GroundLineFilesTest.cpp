// The surveyed ground line files: the longitudinal line (.dmx) and the
// cross-section lines (.hdm), read and written.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <limits>
#include <string>
#include <unistd.h>
#include <vector>

#include "terrain/GroundLineFiles.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

class GroundFileFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("trazmark_groundfiles_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path dir_;
};

SurveyedGroundProfile profileOf(std::vector<GroundProfilePoint> points) {
  SurveyedGroundProfile p;
  p.points = std::move(points);
  return p;
}

// ---------------------------------------------------------------- .dmx

TEST(GroundProfileFile, WrittenTextReadsBackIdentical) {
  const SurveyedGroundProfile profile =
      profileOf({{1000, 102.5}, {1020, 101.25}, {1033.333, -0.5}, {1040.001, 0}});
  std::string text, error;
  ASSERT_TRUE(groundProfileText(profile, text, error)) << error;
  EXPECT_EQ(text, "1000.000 102.500\n1020.000 101.250\n1033.333 -0.500\n1040.001 0.000\n");
  SurveyedGroundProfile back;
  ASSERT_TRUE(parseGroundProfileText(text, "p.dmx", back, error)) << error;
  EXPECT_EQ(back, profile);
  std::string again;
  ASSERT_TRUE(groundProfileText(back, again, error));
  EXPECT_EQ(again, text) << "read and written again: byte-identical";
}

struct ProfileCase {
  const char* what;
  const char* text;
  std::vector<GroundProfilePoint> expected;  // empty: refused
  const char* errorHas = "";
};

TEST(GroundProfileFile, ReadsWhatSurveysWriteAndRefusesTheRest) {
  const std::vector<ProfileCase> cases = {
      {"header skipped", "STATION\tGROUND\n0 100\n10 101\n", {{0, 100}, {10, 101}}},
      {"header after blank lines", "\n  \nK GROUND\n0 100\n", {{0, 100}}},
      {"tab, spaces, comma, trailing comma, CR LF",
       "0\t100\r\n10   101.5\r\n20 , 102,\r\n30,103", {{0, 100}, {10, 101.5}, {20, 102}, {30, 103}}},
      {"blank lines anywhere", "0 100\n\n\t\n10 101\n\n", {{0, 100}, {10, 101}}},
      {"plus signs and exponents", "+5 1e2\n", {{5, 100}}},
      {"station out of order", "0 100\n10 101\n5 102\n", {}, "line 3: station 5.000 does not come after 10.000"},
      {"station repeated", "0 100\n0 101\n", {}, "line 2"},
      {"a second header", "0 100\nSTATION GROUND\n", {}, "line 2: the station and the elevation must be numbers"},
      {"text in a number", "0 100\n10 1O1\n", {}, "line 2"},
      {"not a number", "0 nan\n", {}, "line 1"},
      {"infinity", "0 100\n10 inf\n", {}, "line 2"},
      {"three fields", "0 100 5\n", {}, "line 1: expected STATION ELEVATION"},
      {"one field", "0 100\n10\n", {}, "line 2: expected STATION ELEVATION"},
      {"empty field", "0,,100\n", {}, "line 1"},
      {"empty file", "", {}, "no stations"},
      {"header only", "STATION GROUND\n", {}, "no stations"},
  };
  for (const ProfileCase& c : cases) {
    SurveyedGroundProfile read = profileOf({{-1, -1}});
    const SurveyedGroundProfile before = read;
    std::string error;
    const bool ok = parseGroundProfileText(c.text, "g.dmx", read, error);
    if (c.expected.empty()) {
      EXPECT_FALSE(ok) << c.what;
      EXPECT_EQ(read, before) << c.what << ": nothing half-read";
      EXPECT_EQ(error.rfind("g.dmx: ", 0), 0u) << c.what << ": " << error;
      EXPECT_NE(error.find(c.errorHas), std::string::npos) << c.what << ": " << error;
      EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
    } else {
      ASSERT_TRUE(ok) << c.what << ": " << error;
      EXPECT_EQ(read, profileOf(c.expected)) << c.what;
    }
  }
}

TEST(GroundProfileFile, ElevationBetweenStationsNeverBeyond) {
  const SurveyedGroundProfile p = profileOf({{100, 10}, {120, 14}, {130, 12}});
  const double none = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double station, elevation;  // NaN: no ground
  } cases[] = {{100, 10},   {110, 12},  {120, 14},  {125, 13},    {130, 12},
               {99.999, none}, {130.001, none}, {none, none}};
  for (const auto& c : cases) {
    const auto z = p.elevationAt(c.station);
    if (std::isnan(c.elevation)) {
      EXPECT_FALSE(z) << c.station;
    } else {
      ASSERT_TRUE(z) << c.station;
      EXPECT_NEAR(*z, c.elevation, 1e-12) << c.station;
    }
  }
  EXPECT_FALSE(SurveyedGroundProfile().elevationAt(0));
  EXPECT_EQ(profileOf({{5, 7}}).elevationAt(5), 7.0);
}

TEST(GroundProfileFile, DataThatWouldNotReadBackIsNotWritten) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* what;
    std::vector<GroundProfilePoint> points;
  } cases[] = {
      {"stations equal to the millimetre", {{100.0001, 1}, {100.0002, 2}}},
      {"stations going back", {{100, 1}, {90, 2}}},
      {"a station not a number", {{nan, 1}}},
      {"an elevation not a number", {{0, nan}}},
  };
  for (const auto& c : cases) {
    std::string text = "untouched", error;
    EXPECT_FALSE(groundProfileText(profileOf(c.points), text, error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

TEST_F(GroundFileFolder, ProfileFileOnDisk) {
  const SurveyedGroundProfile profile = profileOf({{0, 50}, {12.5, 51.125}});
  std::string error;
  ASSERT_TRUE(writeGroundProfileFile(path("road.dmx"), profile, error)) << error;
  SurveyedGroundProfile back;
  ASSERT_TRUE(readGroundProfileFile(path("road.dmx"), back, error)) << error;
  EXPECT_EQ(back, profile);

  // A failed write leaves the file that was there.
  const std::string before = read("road.dmx");
  EXPECT_FALSE(writeGroundProfileFile(path("road.dmx"), profileOf({{1, 1}, {0, 0}}), error));
  EXPECT_EQ(error.rfind(path("road.dmx") + ": ", 0), 0u) << error;
  EXPECT_EQ(read("road.dmx"), before);

  EXPECT_FALSE(readGroundProfileFile(path("missing.dmx"), back, error));
  EXPECT_EQ(error, path("missing.dmx") + ": cannot read the file");
  EXPECT_FALSE(writeGroundProfileFile(path("no/such/folder.dmx"), profile, error));
  EXPECT_EQ(error.rfind(path("no/such/folder.dmx") + ": cannot write", 0), 0u) << error;
}

// ---------------------------------------------------------------- .hdm

SurveyedGroundSections sectionsOf(std::vector<SurveyedGroundSection> list) {
  SurveyedGroundSections s;
  s.sections = std::move(list);
  return s;
}

TEST(GroundSectionsFile, WrittenTextReadsBackIdenticalWithAMissingSide) {
  const SurveyedGroundSections sections = sectionsOf({
      {100, {{5, -0.5}, {10.25, 1.125}}, {{7.5, 0.25}}},
      {120, {}, {{3, 0}, {0, 1.5}, {20, -2}}},  // no ground on the left; a wall on the right
      {140.5, {{50, 0}}, {}},
  });
  std::string text, error;
  ASSERT_TRUE(groundSectionsText(sections, text, error)) << error;
  EXPECT_EQ(text,
            "100.000\n2 5.000 -0.500 10.250 1.125\n1 7.500 0.250\n"
            "\n120.000\n0\n3 3.000 0.000 0.000 1.500 20.000 -2.000\n"
            "\n140.500\n1 50.000 0.000\n0\n");
  SurveyedGroundSections back;
  ASSERT_TRUE(parseGroundSectionsText(text, "s.hdm", back, error)) << error;
  EXPECT_EQ(back, sections);
  std::string again;
  ASSERT_TRUE(groundSectionsText(back, again, error));
  EXPECT_EQ(again, text);
}

struct SectionsCase {
  const char* what;
  const char* text;
  std::vector<SurveyedGroundSection> expected;  // empty: refused
  const char* errorHas = "";
};

TEST(GroundSectionsFile, ReadsWhatSurveysWriteAndRefusesTheRest) {
  const std::vector<SectionsCase> cases = {
      {"header skipped, no blank lines", "HDM file\n10\n1 2 0.5\n0\n20\n0\n1,3,-1\n",
       {{10, {{2, 0.5}}, {}}, {20, {}, {{3, -1}}}}},
      {"tabs, commas, CR LF, blank lines", "\r\n10\r\n2\t1\t0.1\t2\t0.2\r\n0\r\n\r\n\r\n",
       {{10, {{1, 0.1}, {2, 0.2}}, {}}}},
      {"a vertical step", "10\n1 0 2.5\n0\n", {{10, {{0, 2.5}}, {}}}},
      {"station out of order", "10\n0\n0\n5\n0\n0\n", {}, "line 4: station 5.000 does not come after 10.000"},
      {"right side missing at the end", "10\n0\n0\n20\n1 5 1\n", {}, "line 4: station 20.000 has no right side"},
      {"both sides missing at the end", "10\n", {}, "line 1: station 10.000 has no left and right sides"},
      {"a side line missing: the next station read as a count", "10\n1 5 1\n20\n0\n0\n", {},
       "line 3: the right side gives 20 points but has 0 numbers"},
      {"too few pairs", "10\n2 5 1\n0\n", {}, "line 2: the left side gives 2 points"},
      {"a pair cut short", "10\n1 5\n0\n", {}, "line 2"},
      {"too many pairs", "10\n0\n1 5 1 6 1\n", {}, "line 3"},
      {"a negative distance", "10\n1 -5 1\n0\n", {}, "line 2: point 1 of the left side: a negative distance"},
      {"a count with a fraction", "10\n1.0 5 1\n0\n", {}, "line 2: the left side must begin with its count"},
      {"a negative count", "10\n-1\n0\n", {}, "line 2"},
      {"a huge count", "10\n99999999999999999999 1 1\n0\n", {}, "line 2"},
      {"text in a pair", "10\n0\n1 5 x\n", {}, "line 3: point 1 of the right side"},
      {"NaN station", "10\n0\n0\nnan\n0\n0\n", {}, "line 4: expected a station"},
      {"two numbers on a station line", "10 5\n0\n0\n", {}, "line 1: expected a station"},
      {"empty file", "", {}, "no stations"},
  };
  for (const SectionsCase& c : cases) {
    SurveyedGroundSections read = sectionsOf({{-1, {}, {}}});
    const SurveyedGroundSections before = read;
    std::string error;
    const bool ok = parseGroundSectionsText(c.text, "g.hdm", read, error);
    if (c.expected.empty()) {
      EXPECT_FALSE(ok) << c.what;
      EXPECT_EQ(read, before) << c.what << ": nothing half-read";
      EXPECT_EQ(error.rfind("g.hdm: ", 0), 0u) << c.what << ": " << error;
      EXPECT_NE(error.find(c.errorHas), std::string::npos) << c.what << ": " << error;
    } else {
      ASSERT_TRUE(ok) << c.what << ": " << error;
      EXPECT_EQ(read, sectionsOf(c.expected)) << c.what;
    }
  }
}

TEST(GroundSectionsFile, FindsTheSectionWithinTheTolerance) {
  const SurveyedGroundSections s = sectionsOf({{100, {}, {}}, {100.0015, {}, {}}, {200, {}, {}}});
  const struct {
    double station;
    double found;  // -1: none
  } cases[] = {{100, 100},         {100.0009, 100.0015}, {99.9995, 100}, {100.0024, 100.0015},
               {100.0030, -1},     {150, -1},            {200.0009, 200}, {199.998, -1},
               {0, -1}};
  for (const auto& c : cases) {
    const SurveyedGroundSection* found = s.find(c.station, 1e-3);
    if (c.found < 0) {
      EXPECT_EQ(found, nullptr) << c.station;
    } else {
      ASSERT_NE(found, nullptr) << c.station;
      EXPECT_EQ(found->station, c.found) << c.station;
    }
  }
  EXPECT_EQ(SurveyedGroundSections().find(0, 1), nullptr);
}

TEST(GroundSectionsFile, DataThatWouldNotReadBackIsNotWritten) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* what;
    std::vector<SurveyedGroundSection> list;
  } cases[] = {
      {"stations equal to the millimetre", {{10.0001, {}, {}}, {10.0003, {}, {}}}},
      {"a negative distance", {{10, {{-1, 0}}, {}}}},
      {"a rise not a number", {{10, {}, {{1, nan}}}}},
      {"a station not a number", {{nan, {}, {}}}},
  };
  for (const auto& c : cases) {
    std::string text, error;
    EXPECT_FALSE(groundSectionsText(sectionsOf(c.list), text, error)) << c.what;
    EXPECT_FALSE(error.empty()) << c.what;
  }
}

TEST_F(GroundFileFolder, SectionsFileOnDisk) {
  const SurveyedGroundSections sections = sectionsOf({{0, {{1, 1}}, {{2, -2}}}});
  std::string error;
  ASSERT_TRUE(writeGroundSectionsFile(path("road.hdm"), sections, error)) << error;
  SurveyedGroundSections back;
  ASSERT_TRUE(readGroundSectionsFile(path("road.hdm"), back, error)) << error;
  EXPECT_EQ(back, sections);
  EXPECT_FALSE(readGroundSectionsFile(path("missing.hdm"), back, error));
  EXPECT_EQ(error, path("missing.hdm") + ": cannot read the file");
}

}  // namespace
}  // namespace trazmark
