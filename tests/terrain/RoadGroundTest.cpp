// The ground of a road: its settings file beside the road file, and
// CRoadGround choosing the surveyed lines over the TIN.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "terrain/GroundLineFiles.h"
#include "terrain/RoadGround.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

class RoadGroundFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("trazmark_roadground_" + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  void write(const std::string& name, const std::string& bytes) const {
    fs::create_directories((dir_ / name).parent_path());
    std::ofstream(path(name), std::ios::binary) << bytes;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }
  fs::path dir_;
};

bool sameSettings(const RoadTerrainSettings& a, const RoadTerrainSettings& b) {
  return a.terrainPath == b.terrainPath && a.pointFormat == b.pointFormat &&
         a.breaklinePath == b.breaklinePath && a.surfaceName == b.surfaceName &&
         a.maxEdge == b.maxEdge && a.dmxPath == b.dmxPath && a.hdmPath == b.hdmPath &&
         a.pavementDepth == b.pavementDepth;
}

// ------------------------------------------------------------ settings file

TEST_F(RoadGroundFolder, SettingsFileBesideTheRoadRoundTrips) {
  const std::string road = path("road.REC");
  EXPECT_EQ(roadTerrainSettingsPath(road), road + ".ground");

  RoadTerrainSettings s;
  std::string error;
  s.terrainPath = "ground/survey points.csv";
  s.pointFormat = "name,code,e,n,z";
  s.breaklinePath = "/abs/breaks.txt";
  s.surfaceName = "Existing ground";
  s.maxEdge = 150.25;
  s.dmxPath = "road.dmx";
  s.hdmPath = "road.hdm";
  s.pavementDepth = 0.1;  // no exact binary value: must still read back the same
  ASSERT_TRUE(writeRoadTerrainSettings(road, s, error)) << error;
  EXPECT_EQ(read("road.REC.ground"),
            "# the ground of road.REC\n"
            "terrain=ground/survey points.csv\n"
            "format=name,code,e,n,z\n"
            "breaklines=/abs/breaks.txt\n"
            "surface=Existing ground\n"
            "max-edge=150.250000\n"
            "dmx=road.dmx\n"
            "hdm=road.hdm\n"
            "pavement-depth=0.100000\n");
  RoadTerrainSettings back;
  ASSERT_TRUE(readRoadTerrainSettings(road, back, error)) << error;
  EXPECT_TRUE(sameSettings(back, s));

  // Settings that name nothing remove the file; a road without one has the defaults.
  ASSERT_TRUE(writeRoadTerrainSettings(road, RoadTerrainSettings(), error)) << error;
  EXPECT_FALSE(fs::exists(path("road.REC.ground")));
  back.terrainPath = "stale";
  ASSERT_TRUE(readRoadTerrainSettings(road, back, error)) << error;
  EXPECT_TRUE(sameSettings(back, RoadTerrainSettings()));
  EXPECT_TRUE(writeRoadTerrainSettings(road, RoadTerrainSettings(), error)) << "nothing to remove";
}

TEST_F(RoadGroundFolder, SettingsReadTolerantlyButNumbersMustBeNumbers) {
  const std::string road = path("r.REC");
  const struct {
    const char* what;
    const char* text;
    const char* terrain;   // expected; null: refused
    double maxEdge;
    const char* errorHas;
  } cases[] = {
      {"comments, blank lines, CR LF, spaces around", "# note\r\n\r\n  Terrain =  t.xml \r\nMAX-EDGE=20\r\n",
       "t.xml", 20, ""},
      {"unknown keys and lines without '=' skipped", "colour=red\njust words\nterrain=a.csv\n", "a.csv", 0, ""},
      {"the last of a repeated key", "terrain=a\nterrain=b\n", "b", 0, ""},
      {"an '=' inside the value", "terrain=x=y.csv\n", "x=y.csv", 0, ""},
      {"empty file", "", "", 0, ""},
      {"max-edge not a number", "terrain=a\nmax-edge=20m\n", nullptr, 0, "r.REC.ground: line 2: max-edge '20m'"},
      {"pavement-depth NaN", "pavement-depth=nan\n", nullptr, 0, "line 1"},
      {"an unknown point format", "format=x;y;z\n", nullptr, 0, "line 1: format 'x;y;z'"},
  };
  for (const auto& c : cases) {
    write("r.REC.ground", c.text);
    RoadTerrainSettings s;
    s.surfaceName = "untouched";
    std::string error;
    const bool ok = readRoadTerrainSettings(road, s, error);
    if (c.terrain == nullptr) {
      EXPECT_FALSE(ok) << c.what;
      EXPECT_EQ(s.surfaceName, "untouched") << c.what;
      EXPECT_NE(error.find(c.errorHas), std::string::npos) << c.what << ": " << error;
    } else {
      ASSERT_TRUE(ok) << c.what << ": " << error;
      EXPECT_EQ(s.terrainPath, c.terrain) << c.what;
      EXPECT_EQ(s.maxEdge, c.maxEdge) << c.what;
      EXPECT_EQ(s.surfaceName, "") << c.what;
    }
  }
}

TEST_F(RoadGroundFolder, WritingKeepsLinesOfKeysItDoesNotKnow) {
  const std::string road = path("r.REC");
  write("r.REC.ground", "# old comment\nterrain=old.xml\ncolour=red\nlayer = 3\n");
  RoadTerrainSettings s;
  s.terrainPath = "new.xml";
  std::string error;
  ASSERT_TRUE(writeRoadTerrainSettings(road, s, error)) << error;
  EXPECT_EQ(read("r.REC.ground"), "# the ground of r.REC\nterrain=new.xml\ncolour=red\nlayer = 3\n");
  // Settings that name nothing leave a file that still holds another version's keys.
  ASSERT_TRUE(writeRoadTerrainSettings(road, RoadTerrainSettings(), error)) << error;
  EXPECT_EQ(read("r.REC.ground"), "# the ground of r.REC\ncolour=red\nlayer = 3\n");
}

TEST_F(RoadGroundFolder, SettingsTheFileCannotHoldAreRefusedAndTheFileKept) {
  const std::string road = path("r.REC");
  write("r.REC.ground", "terrain=keep.xml\n");
  const struct {
    const char* what;
    void (*set)(RoadTerrainSettings&);
  } cases[] = {
      {"a line break in a path", [](RoadTerrainSettings& s) { s.terrainPath = "a\nb.xml"; }},
      {"white space at a path's end", [](RoadTerrainSettings& s) { s.dmxPath = "road.dmx "; }},
      {"an unknown format", [](RoadTerrainSettings& s) { s.pointFormat = "e,n,z"; }},
      {"max-edge not finite", [](RoadTerrainSettings& s) { s.maxEdge = INFINITY; }},
  };
  for (const auto& c : cases) {
    RoadTerrainSettings settings;
    settings.terrainPath = "t.csv";
    c.set(settings);
    std::string error;
    EXPECT_FALSE(writeRoadTerrainSettings(road, settings, error)) << c.what;
    EXPECT_EQ(error.rfind(path("r.REC.ground") + ": ", 0), 0u) << c.what << ": " << error;
    EXPECT_EQ(read("r.REC.ground"), "terrain=keep.xml\n") << c.what;
  }
  RoadTerrainSettings named;
  named.terrainPath = "t.xml";
  std::string error;
  EXPECT_FALSE(writeRoadTerrainSettings(path("no/folder/r.REC"), named, error));
  EXPECT_EQ(error.rfind(path("no/folder/r.REC.ground") + ": cannot write", 0), 0u) << error;
}

// ------------------------------------------------------------ CRoadGround

// A tilted plane over a 10 m grid from (0, 0) to (200, 100): z = 100 + 0.01 x + 0.02 y.
double plane(double x, double y) { return 100 + 0.01 * x + 0.02 * y; }

std::string planePoints() {
  std::string text;
  for (int x = 0; x <= 200; x += 10)
    for (int y = 0; y <= 100; y += 10)
      text += std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(plane(x, y)) + "\n";
  return text;
}

class CRoadGroundTest : public RoadGroundFolder {
 protected:
  void SetUp() override {
    RoadGroundFolder::SetUp();
    write("ground/plane.csv", planePoints());
    // The survey disagrees with the TIN on purpose: 90.000 at 100, 92.000 at 120.
    write("ground/road.dmx", "STATION ELEVATION\n100 90\n120 92\n");
    // At 110: left 5 m down 1, then 60 m level; right 2 m up 0.5, then a 1 m wall.
    // At 200 a section with no centre ground from the line nor from the TIN.
    write("ground/road.hdm", "110\n2 5 -1 60 0\n2 2 0.5 0 1\n\n500\n1 1 1\n0\n");
    settings_.terrainPath = "ground/plane.csv";
    settings_.dmxPath = "ground/road.dmx";
    settings_.hdmPath = "ground/road.hdm";
  }
  RoadTerrainSettings settings_;
};

TEST_F(CRoadGroundTest, SurveyedLinesWinAtTheirStationsTheTinElsewhere) {
  CRoadGround ground;
  std::string error;
  EXPECT_TRUE(ground.empty());
  ASSERT_TRUE(ground.load(settings_, dir_.string(), error)) << error;
  ASSERT_NE(ground.terrain(), nullptr);
  EXPECT_FALSE(ground.empty());

  // The centre point (x, y) is where the TIN is asked; the station where the survey is.
  const struct {
    double station, x, y, expected;
  } centre[] = {
      {100, 50, 50, 90},  {110, 50, 50, 91}, {120, 50, 50, 92},      // the survey
      {99, 50, 50, plane(50, 50)}, {130, 20, 30, plane(20, 30)},     // the TIN beyond it
  };
  for (const auto& c : centre) {
    const auto z = ground.centreElevation(c.station, c.x, c.y);
    ASSERT_TRUE(z) << c.station;
    EXPECT_NEAR(*z, c.expected, 1e-9) << c.station;
  }
  EXPECT_FALSE(ground.centreElevation(130, 500, 500)) << "beyond the survey and off the TIN";

  // At 110 (within 1 mm) the surveyed section, hung from 91.000 and cut at 50 m.
  const GroundLine surveyed = ground.across(110.0008, 50, 50, 0, 50);
  ASSERT_EQ(surveyed.pieces.size(), 1u);
  const std::vector<GroundVertex> expected = {
      {-50, 90}, {-5, 90}, {0, 91}, {2, 91.5}, {2, 92.5}};
  ASSERT_EQ(surveyed.pieces[0].size(), expected.size());
  for (std::size_t k = 0; k < expected.size(); ++k) {
    EXPECT_NEAR(surveyed.pieces[0][k].distance, expected[k].distance, 1e-12) << k;
    EXPECT_NEAR(surveyed.pieces[0][k].elevation, expected[k].elevation, 1e-12) << k;
  }
  // A narrower line cuts the wall's foot side too.
  const GroundLine narrow = ground.across(110, 50, 50, 0, 1);
  ASSERT_EQ(narrow.pieces.size(), 1u);
  ASSERT_EQ(narrow.pieces[0].size(), 3u);
  EXPECT_NEAR(narrow.pieces[0][0].elevation, 90.8, 1e-12);
  EXPECT_NEAR(narrow.pieces[0][2].distance, 1, 1e-12);
  EXPECT_NEAR(narrow.pieces[0][2].elevation, 91.25, 1e-12);

  // Elsewhere the TIN's line on the normal, right of travel positive: heading
  // north-east (45°) from (100, 50), right lies south-east.
  const double azimuth = M_PI / 4;
  const GroundLine tin = ground.across(150, 100, 50, azimuth, 20);
  ASSERT_EQ(tin.pieces.size(), 1u);
  const auto& piece = tin.pieces[0];
  ASSERT_GE(piece.size(), 3u) << "the line crosses the grid's edges";
  EXPECT_NEAR(piece.front().distance, -20, 1e-9);
  EXPECT_NEAR(piece.back().distance, 20, 1e-9);
  for (const GroundVertex& v : piece) {
    const double x = 100 - std::sin(azimuth) * v.distance;
    const double y = 50 + std::cos(azimuth) * v.distance;
    EXPECT_NEAR(v.elevation, plane(x, y), 1e-9) << v.distance;
  }
  // A section whose station has no centre ground cannot hang: the TIN answers (none here).
  EXPECT_TRUE(ground.across(500, 1000, 1000, 0, 50).empty());
  EXPECT_TRUE(ground.across(150, 100, 50, 0, 0).empty()) << "no width";
}

TEST_F(CRoadGroundTest, SurveyedLinesAloneAndTheirSidesWithoutGround) {
  settings_.terrainPath.clear();
  CRoadGround ground;
  std::string error;
  ASSERT_TRUE(ground.load(settings_, dir_.string(), error)) << error;
  EXPECT_EQ(ground.terrain(), nullptr);
  EXPECT_FALSE(ground.empty());
  EXPECT_FALSE(ground.centreElevation(99, 50, 50));
  // No left side at 115 and a right side of one step.
  write("ground/road.hdm", "115\n0\n1 4 -2\n");
  ASSERT_TRUE(ground.load(settings_, dir_.string(), error)) << error;
  const GroundLine line = ground.across(115, 0, 0, 1, 50);
  ASSERT_EQ(line.pieces.size(), 1u);
  ASSERT_EQ(line.pieces[0].size(), 2u);
  EXPECT_EQ(line.pieces[0][0].distance, 0);
  EXPECT_NEAR(line.pieces[0][0].elevation, 91.5, 1e-12);
  EXPECT_EQ(line.pieces[0][1].distance, 4);
  EXPECT_NEAR(line.pieces[0][1].elevation, 89.5, 1e-12);
  EXPECT_TRUE(ground.across(116, 0, 0, 1, 50).empty()) << "no section, no TIN";
}

TEST_F(CRoadGroundTest, AFailedLoadKeepsWhatWasLoaded) {
  CRoadGround ground;
  std::string error;
  ASSERT_TRUE(ground.load(settings_, dir_.string(), error)) << error;
  const struct {
    const char* what;
    void (*spoil)(RoadTerrainSettings&);
    const char* errorHas;
  } cases[] = {
      {"a missing terrain", [](RoadTerrainSettings& s) { s.terrainPath = "none.csv"; }, "none.csv"},
      {"a missing dmx", [](RoadTerrainSettings& s) { s.dmxPath = "none.dmx"; }, "none.dmx"},
      {"a bad hdm", [](RoadTerrainSettings& s) { s.hdmPath = "ground/road.dmx"; }, "road.dmx: line"},
  };
  for (const auto& c : cases) {
    RoadTerrainSettings spoilt = settings_;
    c.spoil(spoilt);
    EXPECT_FALSE(ground.load(spoilt, dir_.string(), error)) << c.what;
    EXPECT_NE(error.find(c.errorHas), std::string::npos) << c.what << ": " << error;
    auto z = ground.centreElevation(110, 50, 50);
    ASSERT_TRUE(z) << c.what;
    EXPECT_NEAR(*z, 91, 1e-12) << c.what << ": the ground loaded before stays";
    EXPECT_NE(ground.terrain(), nullptr) << c.what;
  }

  // Cancelled part way: "cancelled", and the ground before stays.
  int calls = 0;
  EXPECT_FALSE(ground.load(settings_, dir_.string(), error, [&](double f) {
    EXPECT_GE(f, 0);
    EXPECT_LE(f, 1);
    return ++calls < 2;
  }));
  EXPECT_EQ(error, "cancelled");
  EXPECT_TRUE(ground.centreElevation(110, 50, 50));

  // Settings that name nothing load an empty ground.
  ASSERT_TRUE(ground.load(RoadTerrainSettings(), dir_.string(), error)) << error;
  EXPECT_TRUE(ground.empty());
}

TEST_F(CRoadGroundTest, AbsolutePathsStandRelativeOnesFollowTheRoadFolder) {
  RoadTerrainSettings s = settings_;
  s.terrainPath = path("ground/plane.csv");
  s.dmxPath = path("ground/road.dmx");
  s.hdmPath = path("ground/road.hdm");
  CRoadGround ground;
  std::string error;
  ASSERT_TRUE(ground.load(s, "/no/such/folder", error)) << "absolute terrain path: " << error;
  EXPECT_FALSE(ground.load(settings_, "/no/such/folder", error));
  EXPECT_NE(error.find("/no/such/folder/ground/"), std::string::npos) << error;
}

}  // namespace
}  // namespace trazmark
