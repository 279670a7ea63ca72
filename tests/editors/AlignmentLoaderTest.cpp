// Loading an alignment from any of its files: what a failed calculation says.

#include "editors/AlignmentLoader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "alignment/RoadDesign_CrossPoint.h"
#include "library/InputRoadLibrary.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

class AlignmentLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() /
           ("trazmark-loader-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  /// Four points, curves at the two middle ones; `radius` at the third.
  static RecordList<Road_CrossPoint> points(double radius) {
    RecordList<Road_CrossPoint> list;
    const double xyr[][3] = {{0, 0, 0}, {1000, 0, 300}, {1500, 600, radius}, {1500, 1600, 0}};
    for (const auto& v : xyr) {
      Road_CrossPoint p;
      p.point.Name = "JD" + std::to_string(list.size());
      p.point.X = v[0];
      p.point.Y = v[1];
      p.Radius = v[2];
      list.append(p);
    }
    return list;
  }

  fs::path dir_;
};

TEST_F(AlignmentLoaderTest, ANegativeRadiusFailsEveryWayInWithThePointNamed) {
  const std::string named = "the radius of intersection point 3 (JD2) is negative (-250.0000)";

  CRoadDesign_CrossPoint rp(std::string{});
  rp.roadName = "K1";
  rp.points = points(-250);
  ASSERT_TRUE(rp.writeText(path("k1.RP")));

  RoadDataSet road;
  road.FlatcurveType = kFlatcurveCrossPoints;
  road.crossPoints = points(-250);
  CInputRoadLibrary library;
  static_cast<RoadDataSet&>(library) = road;
  ASSERT_TRUE(library.writeRoadFile(path("k1.REC")));

  for (const char* file : {"k1.RP", "k1.REC"}) {
    SCOPED_TRACE(file);
    CRoadDesign design;
    AlignmentSource source;
    std::string error;
    EXPECT_FALSE(loadAlignmentFile(path(file), design, source, error));
    EXPECT_EQ(error.rfind(named, 0), 0u) << error;
    EXPECT_FALSE(design.computed());
    error.clear();
    EXPECT_FALSE(writeCurveFileFor(path(file), path("out.TDFE"), error));
    EXPECT_EQ(error.rfind(named, 0), 0u) << error;
    EXPECT_FALSE(fs::exists(path("out.TDFE")));
  }

  CRoadDesign design;
  std::string error;
  EXPECT_FALSE(loadRoadAlignment(road, "K1", design, error));
  EXPECT_EQ(error.rfind(named, 0), 0u) << error;

  // The same road with the radius given as it should be.
  road.crossPoints = points(250);
  ASSERT_TRUE(loadRoadAlignment(road, "K1", design, error)) << error;
  EXPECT_EQ(design.keyPoints().size(), 8u);
}

}  // namespace
}  // namespace trazmark
