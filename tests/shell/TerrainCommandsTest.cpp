// File → Terrain… and Clear terrain through the dialog seam, the ground
// loaded on its worker thread (progress, cancel, a newer load replacing an
// older one), and the frame handing the loaded ground to its maps.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QProgressBar>
#include <atomic>
#include <chrono>
#include <thread>

#include "editors/AlignmentLoader.h"
#include "maps/RoadMap.h"
#include "maps/VertricalCurveMap.h"
#include "platform/TextFields.h"
#include "shell/GroundLoader.h"
#include "shell/MainFrame.h"
#include "shell/TerrainCommands.h"
#include "support/UiTestSupport.h"

namespace trazmark {
namespace {

using test::fileExists;
using test::ScratchFolder;
using test::ScriptedDialogs;
using test::writeFile;

RoadTerrainSettings settingsOf(const std::string& road) {
  RoadTerrainSettings s;
  std::string error;
  EXPECT_TRUE(readRoadTerrainSettings(road, s, error)) << error;
  return s;
}

class TerrainCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    road = dir.path("road.REC");
    writeFile(road, "");  // the settings only need the road file to exist
  }
  ScratchFolder dir;
  ScriptedDialogs dialogs;
  std::string road;
};

TEST_F(TerrainCommandsTest, TheFilterChosenIsThePointFormat) {
  CTerrainCommands commands(dialogs);
  const struct {
    const char* file;
    int filter;
    const char* format;
  } cases[] = {{"pts.csv", 1, "x,y,z"},           {"pts.csv", 2, "name,x,y,z"}, {"pts.txt", 3, "name,code,e,n,z"},
               {"pts.dat", 4, "x,y,z"},           {"tin.xml", 3, "x,y,z"},      {"TIN.XML", 0, "x,y,z"}};
  for (const auto& c : cases) {
    dialogs.openNames.push_back(dir.path(c.file));
    dialogs.chosenFilters.push_back(c.filter);
    const auto written = commands.chooseTerrain(road, dir.root());
    ASSERT_TRUE(written) << c.file;
    const RoadTerrainSettings s = settingsOf(road);
    // A file in the road's folder is named relative to it.
    EXPECT_EQ(s.terrainPath, c.file);
    EXPECT_EQ(s.pointFormat, c.format) << c.file << " under filter " << c.filter;
  }
  // The dialog offers the filter of the format in force.
  dialogs.openNames.push_back(dir.path("again.csv"));
  dialogs.chosenFilters.push_back(2);
  ASSERT_TRUE(commands.chooseTerrain(road, dir.root()));
  dialogs.openNames.push_back({});
  EXPECT_FALSE(commands.chooseTerrain(road, dir.root()));  // cancelled
  EXPECT_EQ(dialogs.requests.back().selectedFilter, 2);
  EXPECT_EQ(settingsOf(road).terrainPath, "again.csv");  // nothing written
  EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(TerrainCommandsTest, UnsavedRoadIsToldAndClearKeepsSurveyedLines) {
  CTerrainCommands commands(dialogs);
  EXPECT_FALSE(commands.chooseTerrain(dir.path("not-saved.REC"), dir.root()));
  EXPECT_FALSE(commands.chooseTerrain("", dir.root()));
  EXPECT_EQ(dialogs.warnings, (std::vector<std::string>{"IDS_WARN_terrain_needs_saved_road",
                                                        "IDS_WARN_terrain_needs_saved_road"}));
  EXPECT_TRUE(dialogs.requests.empty());  // no file dialog for a road without a file

  RoadTerrainSettings s;
  s.terrainPath = "/elsewhere/tin.xml";
  s.surfaceName = "EG";
  s.dmxPath = "road.dmx";
  std::string error;
  ASSERT_TRUE(writeRoadTerrainSettings(road, s, error)) << error;
  const auto cleared = commands.clearTerrain(road);
  ASSERT_TRUE(cleared);
  const RoadTerrainSettings after = settingsOf(road);
  EXPECT_TRUE(after.terrainPath.empty());
  EXPECT_TRUE(after.surfaceName.empty());
  EXPECT_EQ(after.dmxPath, "road.dmx");
  // Nothing named any more: the settings file goes.
  s = after;
  s.dmxPath.clear();
  ASSERT_TRUE(writeRoadTerrainSettings(road, s, error));
  EXPECT_FALSE(fileExists(roadTerrainSettingsPath(road)));
}

TEST_F(TerrainCommandsTest, PathsOutsideTheRoadFolderStayAbsolute) {
  EXPECT_EQ(CTerrainCommands::storedPath(road, dir.path("sub/tin.xml")), "sub/tin.xml");
  EXPECT_EQ(CTerrainCommands::storedPath(road, "/data/tin.xml"), "/data/tin.xml");
}

TEST_F(TerrainCommandsTest, SaveAsCarriesTheSettingsToTheNewFile) {
  CTerrainCommands commands(dialogs);
  RoadTerrainSettings s;
  s.terrainPath = "ground/tin.xml";
  s.dmxPath = "/surveys/road.dmx";
  s.maxEdge = 40;
  std::string error;
  ASSERT_TRUE(writeRoadTerrainSettings(road, s, error)) << error;
  // Into a folder beside the road's: the relative path leads to the same file.
  QDir(QString::fromStdString(dir.root())).mkpath(QStringLiteral("copies"));
  const std::string copy = dir.path("copies/road2.REC");
  writeFile(copy, "");
  ASSERT_TRUE(commands.carryOver(road, copy));
  const RoadTerrainSettings carried = settingsOf(copy);
  EXPECT_EQ(carried.terrainPath, dir.path("ground/tin.xml"));  // outside its folder: absolute
  EXPECT_EQ(carried.dmxPath, "/surveys/road.dmx");
  EXPECT_EQ(carried.maxEdge, 40);
  // Back into the first folder under another name: relative again.
  const std::string back = dir.path("road3.REC");
  ASSERT_TRUE(commands.carryOver(copy, back));
  EXPECT_EQ(settingsOf(back).terrainPath, "ground/tin.xml");
  // A road without settings written over one with them: those go.
  ASSERT_TRUE(commands.carryOver(dir.path("bare.REC"), back));
  EXPECT_FALSE(fileExists(roadTerrainSettingsPath(back)));
}

// -------------------------------------------------------------- the loader

/// A load that reports progress until it is cancelled (or `steps` are done).
CGroundLoader::LoadFunction slowLoad(std::atomic<int>& reports, int steps = 1000000) {
  return [&reports, steps](CRoadGround&, const RoadTerrainSettings&, const std::string&, std::string& error,
                           const LoadProgress& progress) {
    for (int i = 0; i < steps; ++i) {
      ++reports;
      if (!progress(static_cast<double>(i) / steps)) {
        error = "cancelled";
        return false;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
  };
}

TEST(GroundLoader, CancelEndsTheLoadAndSaysSo) {
  CGroundLoader loader;
  std::atomic<int> reports{0};
  loader.setLoadFunction(slowLoad(reports));
  std::vector<GroundLoadResult> results;
  std::mutex m;
  const auto number = loader.start({}, "/tmp", [&](GroundLoadResult r) {
    std::lock_guard<std::mutex> lock(m);
    results.push_back(std::move(r));
  });
  while (reports.load() < 3) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  EXPECT_TRUE(loader.running());
  loader.cancel();
  loader.wait();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].number, number);
  EXPECT_TRUE(results[0].cancelled);
  EXPECT_FALSE(results[0].ground);
  EXPECT_FALSE(loader.running());
}

TEST(GroundLoader, NewerLoadReplacesTheOneUnderWay) {
  CGroundLoader loader;
  std::atomic<int> reports{0};
  loader.setLoadFunction(slowLoad(reports));
  std::vector<GroundLoadResult> results;
  std::mutex m;
  auto record = [&](GroundLoadResult r) {
    std::lock_guard<std::mutex> lock(m);
    results.push_back(std::move(r));
  };
  loader.start({}, "/tmp", record);
  while (reports.load() < 2) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  loader.setLoadFunction(slowLoad(reports, 3));
  const auto second = loader.start({}, "/tmp", record);
  loader.wait();
  // The first load said nothing; the second one finished with its ground.
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].number, second);
  EXPECT_TRUE(results[0].ground);
  EXPECT_DOUBLE_EQ(loader.progress(), 1);
}

TEST(GroundLoader, RealFilesLoadOrFailNamingTheFile) {
  ScratchFolder dir;
  writeFile(dir.path("plane.csv"), "0,0,10\n100,0,10\n0,100,10\n100,100,10\n");
  writeFile(dir.path("bad.csv"), "0,0,10\n100,0,ten\n");
  CGroundLoader loader;
  GroundLoadResult result;
  RoadTerrainSettings settings;
  settings.terrainPath = "plane.csv";
  loader.start(settings, dir.root(), [&](GroundLoadResult r) { result = std::move(r); });
  loader.wait();
  ASSERT_TRUE(result.ground) << result.error;
  EXPECT_DOUBLE_EQ(*result.ground->terrain()->elevationAt(50, 50), 10);
  settings.terrainPath = "bad.csv";
  loader.start(settings, dir.root(), [&](GroundLoadResult r) { result = std::move(r); });
  loader.wait();
  EXPECT_FALSE(result.ground);
  EXPECT_FALSE(result.cancelled);
  EXPECT_NE(result.error.find("bad.csv"), std::string::npos) << result.error;
}

// --------------------------------------------------------------- the frame

class TerrainFrameTest : public TerrainCommandsTest {
 protected:
  void SetUp() override {
    TerrainCommandsTest::SetUp();
    road = dir.path("demo.REC");
    writeFile(road, test::readFile(TRAZMARK_SOURCE_DIR "/docs/demo/demo_jd.REC"));
    // A flat ground at 50 m over the whole road and 100 m around it.
    CRoadDesign design;
    AlignmentSource source;
    std::string error;
    ASSERT_TRUE(loadAlignmentFile(road, design, source, error)) << error;
    const Extents& e = design.extents();
    std::string text;
    for (double x : {e.minX - 100, e.maxX + 100})
      for (double y : {e.minY - 100, e.maxY + 100}) appendFormat(text, "%.3f,%.3f,50\n", x, y);
    writeFile(dir.path("ground.csv"), text);
    frame = std::make_unique<CMainFrame>(&dialogs);
  }
  /// Waits for the ground load and lets its message reach the frame.
  void finishLoad() {
    frame->groundLoader().wait();
    QCoreApplication::processEvents();
  }
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(TerrainFrameTest, TerrainChosenIsLoadedAndHandedToTheMaps) {
  dialogs.openNames.push_back(road);
  frame->commands().openRoad();
  finishLoad();
  EXPECT_FALSE(frame->ground());  // the road names no terrain yet
  ASSERT_TRUE(frame->terrainAction()->isEnabled());

  dialogs.openNames.push_back(dir.path("ground.csv"));
  dialogs.chosenFilters.push_back(1);
  frame->chooseTerrain();
  EXPECT_TRUE(frame->groundProgress()->isVisibleTo(frame.get()));
  finishLoad();
  ASSERT_TRUE(frame->ground());
  EXPECT_FALSE(frame->groundProgress()->isVisibleTo(frame.get()));
  auto* plan = frame->findChild<CRoadMap*>(QStringLiteral("planMap"));
  ASSERT_NE(plan, nullptr);
  EXPECT_TRUE(plan->drawsTerrain());
  frame->terrainShownAction()->setChecked(false);
  EXPECT_FALSE(plan->drawsTerrain());
  auto* profile = frame->findChild<CVertricalCurveMap*>();
  ASSERT_NE(profile, nullptr);
  ASSERT_FALSE(profile->groundSamples().empty());
  EXPECT_DOUBLE_EQ(*profile->groundSamples().front().elevation, 50);
  frame->heightLabelsAction()->setChecked(false);
  EXPECT_FALSE(profile->heightLabelsShown());
  frame->heightLabelsAction()->setChecked(true);

  // Opening the road again loads its ground from the settings beside it.
  dialogs.answers.push_back(false);
  dialogs.openNames.push_back(road);
  frame->commands().openRoad();
  EXPECT_FALSE(frame->ground());  // the old ground goes at once
  finishLoad();
  EXPECT_TRUE(frame->ground());

  frame->clearTerrain();
  finishLoad();
  EXPECT_FALSE(frame->ground());
  EXPECT_TRUE(profile->groundSamples().empty());
  EXPECT_TRUE(dialogs.warnings.empty());
}

TEST_F(TerrainFrameTest, FailedLoadShowsOneMessageNamingTheFile) {
  writeFile(dir.path("broken.csv"), "1,2,3\n4,5\n");
  dialogs.openNames.push_back(road);
  frame->commands().openRoad();
  finishLoad();
  dialogs.openNames.push_back(dir.path("broken.csv"));
  frame->chooseTerrain();
  finishLoad();
  EXPECT_FALSE(frame->ground());
  ASSERT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_terrain_load_failed"});
  EXPECT_NE(dialogs.details.back().find("broken.csv"), std::string::npos) << dialogs.details.back();
}

}  // namespace
}  // namespace trazmark
