// Survey point and breakline files: each format read to known points, and
// lines that must be refused with their line number.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "terrain/SurveyPointFile.h"

namespace trazmark {
namespace {

TEST(SurveyPointFile, FormatNames) {
  const struct {
    const char* name;
    bool known;
    PointFormat format;
  } cases[] = {
      {"x,y,z", true, PointFormat::kXYZ},
      {"X, Y, Z", true, PointFormat::kXYZ},
      {"name,x,y,z", true, PointFormat::kNameXYZ},
      {"Name,Code,E,N,Z", true, PointFormat::kNameCodeENZ},
      {"", false, PointFormat::kXYZ},
      {"y,x,z", false, PointFormat::kXYZ},
      {"name,code,n,e,z", false, PointFormat::kXYZ},
  };
  for (const auto& c : cases) {
    PointFormat format = PointFormat::kXYZ;
    EXPECT_EQ(parsePointFormat(c.name, format), c.known) << c.name;
    if (c.known) {
      EXPECT_EQ(format, c.format) << c.name;
    }
  }
}

TEST(SurveyPointFile, EachFormatReadsNorthEastElevation) {
  const struct {
    const char* what;
    PointFormat format;
    const char* text;
    std::vector<TerrainPoint> points;
  } cases[] = {
      {"x,y,z with commas", PointFormat::kXYZ, "100.5,200.25,10\n101,201,11.5\n",
       {{100.5, 200.25, 10}, {101, 201, 11.5}}},
      {"x,y,z with spaces and tabs, CRLF, no last line end", PointFormat::kXYZ,
       "  100.5 \t200.25   10\r\n\r\n101\t201\t-11.5e0", {{100.5, 200.25, 10}, {101, 201, -11.5}}},
      {"spaces around commas, a trailing comma, comments", PointFormat::kXYZ,
       "# surveyed 2026\n 1 , 2 , 3 ,\n+4,5,6\n", {{1, 2, 3}, {4, 5, 6}}},
      {"a byte-order mark", PointFormat::kXYZ, "\xEF\xBB\xBF" "1,2,3\n", {{1, 2, 3}}},
      {"name,x,y,z", PointFormat::kNameXYZ, "P1,2936912.007,365760.368,1118.852\nP 2 3 4\n",
       {{2936912.007, 365760.368, 1118.852}, {2, 3, 4}}},
      {"name,code,e,n,z: east first, empty code", PointFormat::kNameCodeENZ,
       "1,,365760.368,2936912.007,1118.852\n2,TOE,365770,2936920,1117.5\n",
       {{2936912.007, 365760.368, 1118.852}, {2936920, 365770, 1117.5}}},
      {"duplicates are all read (the triangulation counts them)", PointFormat::kXYZ,
       "1,2,3\n1,2,4\n", {{1, 2, 3}, {1, 2, 4}}},
      {"only comments and blank lines", PointFormat::kXYZ, "# nothing\n\n  \n", {}},
  };
  for (const auto& c : cases) {
    std::vector<TerrainPoint> points;
    std::string error;
    ASSERT_TRUE(readSurveyPoints(c.text, c.format, points, error)) << c.what << ": " << error;
    ASSERT_EQ(points.size(), c.points.size()) << c.what;
    for (std::size_t i = 0; i < points.size(); ++i) {
      EXPECT_DOUBLE_EQ(points[i].x, c.points[i].x) << c.what << " point " << i;
      EXPECT_DOUBLE_EQ(points[i].y, c.points[i].y) << c.what << " point " << i;
      EXPECT_DOUBLE_EQ(points[i].z, c.points[i].z) << c.what << " point " << i;
    }
  }
}

TEST(SurveyPointFile, BadLinesAreRefusedWithTheirNumberAndNothingIsRead) {
  const struct {
    PointFormat format;
    const char* text;
    const char* error;
  } cases[] = {
      {PointFormat::kXYZ, "1,2,3\n4,5\n", "line 2: 2 fields where x,y,z has 3"},
      {PointFormat::kXYZ, "1,2,3\n\n4,5,nan\n", "line 3: the elevation 'nan' is not a number"},
      {PointFormat::kXYZ, "1,2,3\n4,5,inf\n", "line 2: the elevation 'inf' is not a number"},
      {PointFormat::kXYZ, "1,2,3\n4,5x,6\n", "line 2: the y (east) '5x' is not a number"},
      {PointFormat::kXYZ, "x,y,z\n1,2,3\n", "line 1: the x (north) 'x' is not a number"},
      {PointFormat::kXYZ, "1,2,3\n4,,6\n", "line 2: the y (east) is missing"},
      {PointFormat::kXYZ, "1,2,3\n4,5,6,7\n", "line 2: more fields than x,y,z has"},
      {PointFormat::kXYZ, "1,5,2,3\n", "line 1: more fields than x,y,z has"},
      {PointFormat::kXYZ, "1 2 3\n1e300 2 3\n", "line 2: the x (north) 1e300 lies beyond any survey grid"},
      {PointFormat::kXYZ, "1,2,3\n4,5,6,7,8,9,10,11,12,13,14,15,16,17,18,19\n", "line 2: more fields"},
      {PointFormat::kXYZ, "1,2,3\n4,5,6\n7,8", "line 3: 2 fields"},
      {PointFormat::kXYZ, "1,2,3\n4,5,1.2.3\n", "line 2: the elevation '1.2.3' is not a number"},
      {PointFormat::kXYZ, "1,2,3\n4,5,6,0x10\n", "line 2: more fields"},
      {PointFormat::kNameXYZ, "P1,1,2,3\nP2,1,2\n", "line 2: 3 fields where name,x,y,z has 4"},
      {PointFormat::kNameXYZ, "P1 1 2 3\n1 2 3\n", "line 2: 3 fields where name,x,y,z has 4"},
      {PointFormat::kNameCodeENZ, "1,,2,3,4\n2,,2,3\n", "line 2: 4 fields where name,code,e,n,z has 5"},
      {PointFormat::kNameCodeENZ, "1,,2,3,4\n2,X,,3,4\n", "line 2: the y (east) is missing"},
      {PointFormat::kNameCodeENZ, "1,,2,3,4\n2,X,2,3,4m\n", "line 2: the elevation '4m' is not a number"},
  };
  for (const auto& c : cases) {
    std::vector<TerrainPoint> points = {{9, 9, 9}};
    std::string error;
    EXPECT_FALSE(readSurveyPoints(c.text, c.format, points, error)) << c.text;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << "got: " << error << "\nwant: " << c.error;
    ASSERT_EQ(points.size(), 1u) << c.text;  // untouched
    EXPECT_EQ(points[0].x, 9);
  }
}

TEST(SurveyPointFile, ProgressCanCancel) {
  std::string text;
  for (int i = 0; i < 200000; ++i) text += std::to_string(i) + ",1,2\n";
  std::vector<TerrainPoint> points;
  std::string error;
  double last = -1;
  int calls = 0;
  EXPECT_TRUE(readSurveyPoints(text, PointFormat::kXYZ, points, error, [&](double share) {
    EXPECT_GE(share, last);
    EXPECT_LE(share, 1.0);
    last = share;
    ++calls;
    return true;
  }));
  EXPECT_GT(calls, 0);
  EXPECT_EQ(points.size(), 200000u);
  points.clear();
  EXPECT_FALSE(readSurveyPoints(text, PointFormat::kXYZ, points, error, [](double) { return false; }));
  EXPECT_EQ(error, "cancelled");
  EXPECT_TRUE(points.empty());
}

TEST(SurveyPointFile, BreaklinesArePolylinesBetweenBlankLines) {
  std::vector<std::vector<TerrainPoint>> lines;
  std::string error;
  ASSERT_TRUE(readBreaklines("# kerb\n0,0,1\n10,0,2\n20 0 3\n\n\n# ditch\n0,5,0\n10,5,-1\n", lines, error)) << error;
  ASSERT_EQ(lines.size(), 2u);
  ASSERT_EQ(lines[0].size(), 3u);
  ASSERT_EQ(lines[1].size(), 2u);
  EXPECT_DOUBLE_EQ(lines[0][2].x, 20);
  EXPECT_DOUBLE_EQ(lines[0][2].z, 3);
  EXPECT_DOUBLE_EQ(lines[1][1].z, -1);

  const struct {
    const char* text;
    const char* error;
  } bad[] = {
      {"0,0,1\n10,0,2\n\n5,5,5\n", "line 4: a breakline needs at least two points"},
      {"0,0,1\n\n5,5,5\n6,6,6\n", "line 1: a breakline needs at least two points"},
      {"0,0,1\n10,0\n", "line 2: 2 fields where x,y,z has 3"},
      {"0,0,1\n10,0,NaN\n", "line 2: the elevation 'NaN' is not a number"},
  };
  for (const auto& c : bad) {
    lines.assign(1, {});
    EXPECT_FALSE(readBreaklines(c.text, lines, error)) << c.text;
    EXPECT_EQ(error, c.error);
    EXPECT_EQ(lines.size(), 1u);
  }
}

}  // namespace
}  // namespace trazmark
