// Loading a terrain by its file name: the reader chosen by extension, errors
// that begin with the file's name, progress and cancelling, and a failed load
// that leaves the model as it was.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "terrain/TerrainFile.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

constexpr double kExact = 1e-9;

class TerrainFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("trazmark-terrain-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string write(const std::string& name, const std::string& text) const {
    const std::string path = (dir_ / name).string();
    std::ofstream(path, std::ios::binary) << text;
    return path;
  }
  // A loaded model a failed load must leave alone.
  static CTerrainModel previous() {
    CTerrainModel model;
    std::string error;
    EXPECT_TRUE(model.build({{0, 0, 1}, {1, 0, 1}, {0, 1, 1}}, {{0, 1, 2}}, 0, error));
    return model;
  }

  fs::path dir_;
};

// A 10 m square on a plane z = x + 2y, with its middle point.
const char* const kSquareXyz = "0,0,0\n10,0,10\n10,10,30\n0,10,20\n5,5,15\n";

TEST_F(TerrainFileTest, PointFilesInEachFormat) {
  const struct {
    const char* format;
    std::string text;
  } cases[] = {
      {"x,y,z", kSquareXyz},
      {"name,x,y,z", "A 0 0 0\nB 10 0 10\nC 10 10 30\nD 0 10 20\nE 5 5 15\nA2 0 0 99\n"},
      {"name,code,e,n,z", "1,,0,0,0\n2,,0,10,10\n3,T,10,10,30\n4,,10,0,20\n5,,5,5,15\n"},
  };
  for (const auto& c : cases) {
    CTerrainModel model;
    std::string error;
    TerrainLoadOptions options;
    options.pointFormat = c.format;
    ASSERT_TRUE(loadTerrainFile(write("ground.txt", c.text), options, model, error)) << c.format << ": " << error;
    EXPECT_EQ(model.summary().points, 5u) << c.format;
    EXPECT_EQ(model.summary().triangles, 4u) << c.format;
    EXPECT_NEAR(*model.elevationAt(2, 7), 16, kExact) << c.format;
  }
  CTerrainModel model;
  std::string error;
  TerrainLoadOptions options;
  options.pointFormat = "name,x,y,z";
  ASSERT_TRUE(loadTerrainFile(write("dup.csv", cases[1].text), options, model, error));
  EXPECT_EQ(model.summary().duplicatePoints, 1u);
  EXPECT_NEAR(*model.elevationAt(0, 0), 0, kExact);  // the first of the two
}

TEST_F(TerrainFileTest, BreaklineFileIsKept) {
  // The survey square of the triangulation test, with a ridge at x = 10.
  const std::string points = write("pts.csv", "0,0,0\n20,0,0\n20,20,0\n0,20,0\n1,10,0\n19,10,0\n");
  TerrainLoadOptions options;
  options.breaklinePath = write("ridge.brk", "# the ridge\n10 0 5\n10 20 5\n");
  CTerrainModel model;
  std::string error;
  ASSERT_TRUE(loadTerrainFile(points, options, model, error)) << error;
  EXPECT_NEAR(*model.elevationAt(10, 10), 5, kExact);
  // With a maximum edge the long triangles go, and are counted.
  options.maxEdge = 15;
  ASSERT_TRUE(loadTerrainFile(points, options, model, error)) << error;
  EXPECT_GT(model.summary().droppedTriangles, 0u);
}

TEST_F(TerrainFileTest, LandXmlByExtensionInAnyCase) {
  const std::string xml =
      "<?xml version=\"1.0\"?>\n<LandXML><Surfaces><Surface name=\"EG\"><Definition><Pnts>"
      "<P id=\"1\">0 0 0</P><P id=\"2\">10 0 10</P><P id=\"3\">0 10 20</P></Pnts>"
      "<Faces><F>1 2 3</F></Faces></Definition></Surface></Surfaces></LandXML>\n";
  for (const char* name : {"eg.xml", "EG.XML", "eg.Xml"}) {
    CTerrainModel model;
    std::string error;
    ASSERT_TRUE(loadTerrainFile(write(name, xml), {}, model, error)) << name << ": " << error;
    EXPECT_NEAR(*model.elevationAt(2, 3), 8, kExact);
  }
  // The same text under another name is a point file, and refused as one.
  CTerrainModel model;
  std::string error;
  const std::string path = write("eg.xml.txt", xml);
  EXPECT_FALSE(loadTerrainFile(path, {}, model, error));
  EXPECT_EQ(error.rfind(path + ": line 1: ", 0), 0u) << error;
}

TEST_F(TerrainFileTest, ErrorsBeginWithTheFileName) {
  const std::string dir = dir_.string() + "/";
  auto options = [](const char* format, std::string breaklines = "", std::string surface = "") {
    TerrainLoadOptions o;
    o.pointFormat = format;
    o.breaklinePath = std::move(breaklines);
    o.surfaceName = std::move(surface);
    return o;
  };
  const std::string good = write("good.csv", kSquareXyz);
  const struct {
    const char* what;
    std::string path;
    TerrainLoadOptions options;
    std::string error;
  } cases[] = {
      {"no such file", dir + "missing.csv", options("x,y,z"), dir + "missing.csv: cannot read the file"},
      {"a folder", dir, options("x,y,z"), dir + ": cannot read the file"},
      {"empty point file", write("empty.csv", ""), options("x,y,z"), dir + "empty.csv: the file holds no points"},
      {"NaN", write("nan.csv", "1,2,3\n4,5,NaN\n"), options("x,y,z"),
       dir + "nan.csv: line 2: the elevation 'NaN' is not a number"},
      {"truncated line", write("cut.csv", "1,2,3\n4,5"), options("x,y,z"),
       dir + "cut.csv: line 2: 2 fields where x,y,z has 3"},
      {"unknown format", good, options("n,e,z"),
       good + ": 'n,e,z' is not a point format (x,y,z, name,x,y,z or name,code,e,n,z)"},
      {"all on a line", write("line.csv", "0,0,0\n1,1,1\n2,2,2\n"), options("x,y,z"),
       dir + "line.csv: the points all lie on one line: no ground to triangulate"},
      {"bad breakline file names itself", good, options("x,y,z", write("bad.brk", "0,0,0\n1,1\n")),
       dir + "bad.brk: line 2: 2 fields where x,y,z has 3"},
      {"missing breakline file", good, options("x,y,z", dir + "none.brk"), dir + "none.brk: cannot read the file"},
      {"empty LandXML", write("empty.xml", ""), options("x,y,z"), dir + "empty.xml: the file is empty"},
      {"truncated LandXML", write("cut.xml", "<?xml version=\"1.0\"?>\n<LandXML>\n<Surfaces>\n<Surf"),
       options("x,y,z"), dir + "cut.xml: not a well-formed XML file: "},
      {"missing surface", write("s.xml", "<LandXML><Surfaces><Surface name=\"A\"/></Surfaces></LandXML>"),
       options("x,y,z", "", "B"), dir + "s.xml: the file holds no Surface named 'B' (it holds: 'A')"},
  };
  for (const auto& c : cases) {
    CTerrainModel model = previous();
    std::string error;
    EXPECT_FALSE(loadTerrainFile(c.path, c.options, model, error)) << c.what;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.what << "\ngot:  " << error << "\nwant: " << c.error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << c.what;
    EXPECT_EQ(model.summary().triangles, 1u) << c.what;
  }
}

TEST_F(TerrainFileTest, ProgressRisesToOneAndCancelStops) {
  // Enough points for the reading and the triangulation to report on their way.
  std::string text;
  std::mt19937 random(3);
  std::uniform_real_distribution<double> coordinate(0, 1000);
  for (int i = 0; i < 70000; ++i)
    text += std::to_string(coordinate(random)) + "," + std::to_string(coordinate(random)) + ",1\n";
  const std::string path = write("big.csv", text);
  std::vector<double> shares;
  CTerrainModel model;
  std::string error;
  ASSERT_TRUE(loadTerrainFile(path, {}, model, error, [&](double share) {
    shares.push_back(share);
    return true;
  })) << error;
  ASSERT_GE(shares.size(), 3u);
  EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
  EXPECT_GE(shares.front(), 0);
  EXPECT_DOUBLE_EQ(shares.back(), 1);

  // Cancelled at the first report, the second, one in the middle and the
  // last: "cancelled", the model untouched.
  for (std::size_t stop : {std::size_t{0}, std::size_t{1}, shares.size() / 2, shares.size() - 1}) {
    CTerrainModel kept = previous();
    std::size_t calls = 0;
    EXPECT_FALSE(loadTerrainFile(path, {}, kept, error, [&](double) { return calls++ < stop; }));
    EXPECT_EQ(error, "cancelled");
    EXPECT_EQ(kept.summary().triangles, 1u);
  }
}

}  // namespace
}  // namespace trazmark
