// The road list the window starts with: the command line's, the one used
// last, or on the first start the user's own copy of the demo roads.

#include "shell/StartRoadList.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "library/InputRoadLibrary.h"
#include "support/UiTestSupport.h"

namespace trazmark {
namespace {

using test::ScratchFolder;

class StartRoadListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    std::filesystem::create_directories(dir.path("share/demo"));
    test::writeFile(dir.path("share/demo/roads.list"),
                    "jd,0.0000,0.0000,jd.REC,\r\nline,0.0000,1520.0000,line.REC,\r\n");
    test::writeFile(dir.path("share/demo/jd.REC"), "jd road");
    test::writeFile(dir.path("share/demo/line.REC"), "line road");
    places.settingsFile = dir.path("config/trazmark.conf");
    places.userDemoFolder = dir.path("data/demo");
    places.demoSources = {dir.path("build/demo"), dir.path("share/demo")};
  }
  ScratchFolder dir;
  StartRoadListPlaces places;
};

TEST_F(StartRoadListTest, FirstStartOpensTheUsersCopyOfTheDemoRoads) {
  const StartRoadList first = chooseStartRoadList("", places);
  const std::string list = first.path;
  EXPECT_EQ(list, dir.path("data/demo/roads.list"));
  EXPECT_TRUE(first.demo);
  CInputRoadLibrary roads;
  ASSERT_TRUE(roads.loadRoadList(list));
  ASSERT_EQ(roads.roadList.size(), 2u);
  EXPECT_EQ(roads.roadList[0].Name, "jd");
  EXPECT_EQ(roads.roadList[0].Path, dir.path("data/demo/jd.REC"));
  EXPECT_EQ(roads.roadList[1].extraB, 1520);
  EXPECT_EQ(test::readFile(roads.roadList[1].Path), "line road");

  // The next start opens the same list, and a demo road the user changed
  // keeps the change.
  test::writeFile(dir.path("data/demo/jd.REC"), "edited");
  const StartRoadList second = chooseStartRoadList("", places);
  EXPECT_EQ(second.path, list);
  EXPECT_FALSE(second.demo) << "the list used last, not a first start";
  EXPECT_EQ(test::readFile(dir.path("data/demo/jd.REC")), "edited");
}

TEST_F(StartRoadListTest, TheCommandLinesListBecomesTheOneUsedLast) {
  test::writeFile(dir.path("mine.list"), "a,0.0000,0.0000,a.REC,\r\n");
  EXPECT_EQ(chooseStartRoadList(dir.path("mine.list"), places).path, dir.path("mine.list"));
  EXPECT_FALSE(test::fileExists(dir.path("data/demo"))) << "no demo copy when a list is given";
  EXPECT_EQ(chooseStartRoadList("", places).path, dir.path("mine.list"));

  // A list used last that is gone: the demo roads rather than nothing.
  std::filesystem::remove(dir.path("mine.list"));
  EXPECT_EQ(chooseStartRoadList("", places).path, dir.path("data/demo/roads.list"));
}

TEST_F(StartRoadListTest, WithoutDemoRoadsTheWindowStartsWithNoList) {
  places.demoSources = {dir.path("nowhere")};
  EXPECT_EQ(chooseStartRoadList("", places).path, "");
  EXPECT_FALSE(test::fileExists(places.settingsFile));
}

}  // namespace
}  // namespace trazmark
