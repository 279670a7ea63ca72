#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <locale.h>

#include "library/InputRoadLibrary.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

class RoadListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("trazmark_roadlist_" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  fs::path dir_;
};

TEST_F(RoadListTest, OneLineReadsAndSavesBackIdentically) {
  const std::string line = "Road A,0.0000,0.0000,D:\\Roads\\Road A.REC,\r\n";
  write("list.txt", line);
  CInputRoadLibrary lib;
  ASSERT_TRUE(lib.loadRoadList("  " + path("list.txt") + "\t"));
  ASSERT_EQ(lib.roadCount(), 1);
  EXPECT_EQ(lib.road(0).Name, "Road A");
  EXPECT_EQ(lib.road(0).Path, "D:\\Roads\\Road A.REC");
  ASSERT_TRUE(lib.saveRoadList(path("out.txt")));
  EXPECT_EQ(read("out.txt"), line);
}

TEST_F(RoadListTest, LineRules) {
  // A middle empty line is an empty entry; the last line without a line end is
  // lost; numbers that do not parse are 0; CR-only line ends split lines.
  write("list.txt", "a,1.5,2.25,/p/a.REC,\r\n\r\nb,x,3,/p/b.REC,\rlast,0,0,/p/c.REC,");
  CInputRoadLibrary lib;
  ASSERT_TRUE(lib.loadRoadList(path("list.txt")));
  ASSERT_EQ(lib.roadCount(), 3);
  EXPECT_DOUBLE_EQ(lib.road(0).extraA, 1.5);
  EXPECT_DOUBLE_EQ(lib.road(0).extraB, 2.25);
  EXPECT_EQ(lib.road(1).Name, "");
  EXPECT_EQ(lib.road(1).Path, "");
  EXPECT_EQ(lib.road(2).Name, "b");
  EXPECT_EQ(lib.road(2).extraA, 0.0);
  EXPECT_EQ(lib.road(2).extraB, 3.0);
}

TEST_F(RoadListTest, FailedLoadKeepsTheListAndMissingFileFails) {
  CInputRoadLibrary lib;
  lib.insertRoadEntry(0, {"/p/x.REC", "x", 0, 0});
  EXPECT_FALSE(lib.loadRoadList(path("missing.txt")));
  EXPECT_FALSE(lib.loadRoadList("   "));
  EXPECT_EQ(lib.roadCount(), 1);
  EXPECT_FALSE(lib.saveRoadList(""));
}

TEST_F(RoadListTest, AtMostAThousandLinesAreRead) {
  std::string text;
  for (int i = 0; i < 1005; ++i) text += "r" + std::to_string(i) + ",0,0,/p,\r\n";
  write("list.txt", text);
  CInputRoadLibrary lib;
  ASSERT_TRUE(lib.loadRoadList(path("list.txt")));
  EXPECT_EQ(lib.roadCount(), 1000);
}

TEST_F(RoadListTest, CommasInNamesAndPathsSurviveTheRoundTrip) {
  CInputRoadLibrary lib;
  lib.insertRoadEntry(0, {"/roads/a,b/Road, North.REC", "Road, North", 10, 2500.5});
  ASSERT_TRUE(lib.saveRoadList(path("list.txt")));
  CInputRoadLibrary back;
  ASSERT_TRUE(back.loadRoadList(path("list.txt")));
  ASSERT_EQ(back.roadCount(), 1);
  EXPECT_EQ(back.road(0).Name, "Road_ North");
  EXPECT_EQ(back.road(0).Path, "/roads/a,b/Road, North.REC");
  EXPECT_DOUBLE_EQ(back.road(0).extraA, 10.0);
  EXPECT_DOUBLE_EQ(back.road(0).extraB, 2500.5);
}

TEST_F(RoadListTest, InsertAtFrontKeepsTheOthersInOrder) {
  CInputRoadLibrary lib;
  lib.insertRoadEntry(0, {"/b", "b", 0, 0});
  lib.insertRoadEntry(1, {"/c", "c", 0, 0});
  lib.insertRoadEntry(0, {"/a", "a", 0, 0});
  ASSERT_EQ(lib.roadCount(), 3);
  EXPECT_EQ(lib.road(0).Name, "a");
  EXPECT_EQ(lib.road(1).Name, "b");
  EXPECT_EQ(lib.road(2).Name, "c");
}

TEST_F(RoadListTest, FailedSaveLeavesThePreviousFile) {
  write("list.txt", "old,0.0000,0.0000,/old,\r\n");
  CInputRoadLibrary lib;
  lib.insertRoadEntry(0, {"/new", "new", 0, 0});
  // A folder that does not exist cannot take the temporary file.
  EXPECT_FALSE(lib.saveRoadList(path("nofolder/list.txt")));
  EXPECT_EQ(read("list.txt"), "old,0.0000,0.0000,/old,\r\n");
}

// The window toolkit sets the C locale from the user's environment, so a
// desktop in a language that writes decimal commas must not change the files.
TEST_F(RoadListTest, NumbersKeepTheirDotUnderADecimalCommaLocale) {
  const std::string saved = setlocale(LC_ALL, nullptr);
  const char* commaLocale = nullptr;
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8", "ru_RU.UTF-8"}) {
    if (setlocale(LC_ALL, name)) {
      commaLocale = name;
      break;
    }
  }
  if (!commaLocale) GTEST_SKIP() << "no locale with a decimal comma is installed";

  CInputRoadLibrary lib;
  lib.insertRoadEntry(0, {"/p/a.REC", "a", 12.5, 2500.25});
  lib.scissons.append({0, 12.5, 100, 87.5});
  const bool listSaved = lib.saveRoadList(path("list.txt"));
  const bool roadSaved = lib.writeRoadFile(path("a.REC"));
  setlocale(LC_ALL, saved.c_str());

  ASSERT_TRUE(listSaved);
  ASSERT_TRUE(roadSaved);
  EXPECT_EQ(read("list.txt"), "a,12.5000,2500.2500,/p/a.REC,\r\n");
  EXPECT_NE(read("a.REC").find("<Length>12.5000</Length>"), std::string::npos);
  CInputRoadLibrary back;
  ASSERT_TRUE(back.loadRoadList(path("list.txt")));
  ASSERT_EQ(back.roadCount(), 1);
  EXPECT_EQ(back.road(0).Path, "/p/a.REC");
  EXPECT_DOUBLE_EQ(back.road(0).extraB, 2500.25);
}

}  // namespace
}  // namespace trazmark
