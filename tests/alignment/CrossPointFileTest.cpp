// The intersection-point method's text file, its failures and its bad input.

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "alignment/RoadDesign.h"
#include "alignment/RoadDesign_CrossPoint.h"
#include "markup/MarkupDocument.h"
#include "platform/CodePage.h"
#include "platform/WarningSink.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;

class CrossPointFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = std::filesystem::path(::testing::TempDir()) /
           ("crosspoint_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
    previous_ = setWarningSink([this](const std::string& text, const std::string& caption) {
      warnings_.push_back(caption + "|" + text);
    });
  }
  void TearDown() override { setWarningSink(previous_); }

  std::string path(const std::string& name) const { return (dir_ / name).string(); }
  static std::string read(const std::string& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void write(const std::string& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
  }

  std::filesystem::path dir_;
  WarningSink previous_;
  std::vector<std::string> warnings_;
};

Road_CrossPoint point(double x, double y, double radius = 0, double ls1 = 0, double ls2 = 0) {
  Road_CrossPoint p;
  p.point.X = x;
  p.point.Y = y;
  p.Radius = radius;
  p.CurveLength_Left = ls1;
  p.CurveLength_Right = ls2;
  return p;
}

TEST_F(CrossPointFile, WriteReadWriteIsByteIdentical) {
  CRoadDesign_CrossPoint d("");
  d.roadName = "S203";
  Road_CrossPoint a = point(3456789.1234, 512345.5678);
  a.point.Name = "QD";
  a.point.Z = 12.5;
  a.point.MileageText = "K0+000";
  Road_CrossPoint b = point(3457789.1, 512345.5, 300, 60, 120);
  b.point.Name = "JD1";
  b.Mileage = 1000;
  d.points = {a, b, point(3458289, 512945, 0)};
  ASSERT_TRUE(d.writeText(path("a.RP")));
  const std::string first = read(path("a.RP"));
  EXPECT_EQ(first.substr(0, first.find("CROSSPT :JD1")),
            "ROADNAME:S203,\r\nCROSSPT :QD,3456789.1234,512345.5678,12.5000,K0+000,0.0000,0.0000,"
            "0.0000,0.0000,\r\n");
  EXPECT_NE(first.find("CROSSPT :JD1,3457789.1000,512345.5000,0.0000,,60.0000,300.0000,120.0000,1000.0000,\r\n"),
            std::string::npos);

  CRoadDesign_CrossPoint e("");
  ASSERT_TRUE(e.readText("  " + path("a.RP") + " "));
  EXPECT_EQ(e.roadName, "S203");
  ASSERT_EQ(e.points.count(), 3);
  EXPECT_EQ(e.points[1].point.Name, "JD1");
  EXPECT_EQ(e.points[1].CurveLength_Left, 60);
  EXPECT_EQ(e.points[1].Radius, 300);
  EXPECT_EQ(e.points[1].CurveLength_Right, 120);
  EXPECT_EQ(e.points[1].Mileage, 1000);
  ASSERT_TRUE(e.writeText(path("b.RP")));
  EXPECT_EQ(read(path("b.RP")), first);
}

TEST_F(CrossPointFile, NamesWithCommasDoNotShiftTheFields) {
  CRoadDesign_CrossPoint d("");
  d.roadName = "a,b";
  Road_CrossPoint p = point(1, 2, 300);
  p.point.Name = "JD,1\r\n";
  d.points = {p};
  ASSERT_TRUE(d.writeText(path("a.RP")));
  CRoadDesign_CrossPoint e("");
  ASSERT_TRUE(e.readText(path("a.RP")));
  EXPECT_EQ(e.roadName, "a;b");
  ASSERT_EQ(e.points.count(), 1);
  EXPECT_EQ(e.points[0].point.Name, "JD;1  ");
  EXPECT_EQ(e.points[0].point.X, 1);
  EXPECT_EQ(e.points[0].Radius, 300);
}

TEST_F(CrossPointFile, ReaderFollowsTheLineRules) {
  // CR-only line ends; short lines and unknown tags skipped; missing fields 0.
  write(path("cr.RP"),
        "ROADNAME:R1,rest\rjunk\rCROSSPT :P1,10,20\rOTHER    :x\rCROSSPT :P2,30,40,0,K,5,6,7,8\r"
        "CROSSPT :lost,1,1");
  CRoadDesign_CrossPoint d("");
  ASSERT_TRUE(d.readText(path("cr.RP")));
  EXPECT_EQ(d.roadName, "R1");
  ASSERT_EQ(d.points.count(), 2);  // the last line has no line end
  EXPECT_EQ(d.points[0].point.Y, 20);
  EXPECT_EQ(d.points[0].Radius, 0);
  EXPECT_EQ(d.points[0].point.MileageText, "");
  EXPECT_EQ(d.points[1].point.MileageText, "K");
  EXPECT_EQ(d.points[1].CurveLength_Left, 5);
  EXPECT_EQ(d.points[1].Radius, 6);
  EXPECT_EQ(d.points[1].CurveLength_Right, 7);
  EXPECT_EQ(d.points[1].Mileage, 8);

  // Only the first 1000 lines are read.
  std::string many = "ROADNAME:R,\r\n";
  for (int i = 0; i < 1200; ++i) many += "CROSSPT :P," + std::to_string(i) + ",0,\r\n";
  write(path("many.RP"), many);
  ASSERT_TRUE(d.readText(path("many.RP")));
  EXPECT_EQ(d.points.count(), 999);
  EXPECT_EQ(d.points.back().point.X, 998);
}

TEST_F(CrossPointFile, MissingFileOrEmptyPathFailsAndKeepsThePoints) {
  CRoadDesign_CrossPoint d("");
  d.roadName = "keep";
  d.points = {point(1, 1)};
  EXPECT_FALSE(d.readText(path("nope.RP")));
  EXPECT_FALSE(d.readText("   "));
  EXPECT_EQ(d.roadName, "keep");
  EXPECT_EQ(d.points.count(), 1);
  EXPECT_FALSE(d.writeText(" \t"));
  EXPECT_FALSE(d.writeText(path("no/such/folder/x.RP")));
  EXPECT_FALSE(d.writeCurveFile(""));
}

TEST_F(CrossPointFile, FewerThanThreePointsWarnAndLeaveAnEmptyFile) {
  CRoadDesign_CrossPoint d("");
  d.points = {point(0, 0), point(100, 0)};
  write(path("c.TDFE"), "old curve");
  EXPECT_FALSE(d.writeCurveFile(path("c.TDFE")));
  ASSERT_EQ(warnings_.size(), 1u);
  EXPECT_EQ(warnings_[0], "Warning|" + utf8ToAnsi("交点必须大于3个！"));
  EXPECT_EQ(d.failedPointIndex(), -1);
  EXPECT_TRUE(std::filesystem::exists(path("c.TDFE")));
  EXPECT_EQ(read(path("c.TDFE")), "");

  // In code page 936 the warning arrives in its GBK bytes.
  setAnsiCodePageOverride(kCodePageGbk);
  EXPECT_FALSE(d.writeCurveFile(path("c.TDFE")));
  setAnsiCodePageOverride(0);
  ASSERT_EQ(warnings_.size(), 2u);
  EXPECT_EQ(warnings_[1], "Warning|\xbd\xbb\xb5\xe3\xb1\xd8\xd0\xeb\xb4\xf3\xd3\xda" "3\xb8\xf6\xa3\xa1");
}

TEST_F(CrossPointFile, StartChainageFromTheFirstOrTheSecondPoint) {
  struct Case {
    double first, second, expected;
  } cases[] = {
      {0, 700, 0},          // exactly 0 is a given mileage
      {250.5, 700, 250.5},  // a positive mileage is taken
      {-1, 700, 200},       // otherwise carried back from the second point
      {0.00005, 700, 200},  // too small to count as given
  };
  for (const Case& c : cases) {
    CRoadDesign_CrossPoint d("");
    d.points = {point(0, 0), point(300, 400, 0), point(600, 400)};
    d.points[0].Mileage = c.first;
    d.points[1].Mileage = c.second;
    ASSERT_TRUE(d.writeCurveFile(path("c.TDFE")));
    EXPECT_EQ(d.startMileage, c.expected);
    char line[64];
    std::snprintf(line, sizeof line, "START CHAINAGE,%.4f\r\n", c.expected);
    EXPECT_NE(read(path("c.TDFE")).find(line), std::string::npos);
    EXPECT_NEAR(d.runningLength, 800, 1e-9);
  }
}

TEST_F(CrossPointFile, PointWhereNoCurveFitsFailsAtThatPoint) {
  const double c = std::cos(0.3), s = std::sin(0.3);
  const std::vector<Road_CrossPoint> good = {point(0, 0), point(1000, 0, 300, 50, 50),
                                             point(1000 + 800 * c, 800 * s, 200),
                                             point(1000 + 800 * c + 900, 800 * s), point(5000, 800 * s)};
  struct Case {
    const char* what;
    int index;
    Road_CrossPoint replacement;
  } cases[] = {
      {"on the straight line of its neighbours", 3, point(1000 + 800 * c + 900, 800 * s, 300)},
      {"reversal", 3, point(1000 + 800 * c + 900, 800 * s, 300)},
      {"coincides with its neighbour", 2, point(1000 + 800 * c + 900, 800 * s, 200)},
      {"radius not a number", 2, point(1000 + 800 * c, 800 * s, NAN)},
      {"infinite radius", 2, point(1000 + 800 * c, 800 * s, INFINITY)},
      {"negative spiral", 2, point(1000 + 800 * c, 800 * s, 200, -10, 0)},
      {"coordinate not a number", 4, point(5000, NAN)},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    CRoadDesign_CrossPoint d("");
    d.points = RecordList<Road_CrossPoint>(good.begin(), good.end());
    ASSERT_TRUE(d.writeCurveFile(path("c.TDFE")));
    ASSERT_NE(read(path("c.TDFE")), "");
    d.points[k.index] = k.replacement;
    if (std::string(k.what) == "reversal") d.points[4] = point(0, 800 * s);
    EXPECT_FALSE(d.writeCurveFile(path("c.TDFE")));
    EXPECT_EQ(d.failedPointIndex(), k.index);
    EXPECT_EQ(read(path("c.TDFE")), "");
    EXPECT_TRUE(d.curves().empty());
  }
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(CrossPointFile, NegativeRadiusFailsAtItsPointInsteadOfLeavingAKink) {
  // A negative radius used to read as "no curve": the road broke at the point
  // and the key points named its next straight "QD" again.
  struct Case {
    const char* what;
    int index;        ///< point given the radius
    double radius;
    bool fails;
  } const cases[] = {
      {"first curve, -300", 1, -300, true},
      {"second curve, -200", 2, -200, true},
      {"the smallest the file holds, -0.0001", 2, -0.0001, true},
      {"minus zero is no curve", 2, -0.0, false},
      {"0 is no curve", 2, 0, false},
      {"the start point's radius is not used", 0, -300, false},
      {"the end point's radius is not used", 4, -300, false},
  };
  const double c = std::cos(0.3), s = std::sin(0.3);
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    CRoadDesign_CrossPoint d("");
    d.points = {point(0, 0), point(1000, 0, 300, 50, 50), point(1000 + 800 * c, 800 * s, 200),
                point(1000 + 800 * c + 900, 800 * s), point(5000, 800 * s)};
    d.points[1].point.Name = "JD1";
    d.points[2].point.Name = "JD2";
    d.points[static_cast<std::size_t>(k.index)].Radius = k.radius;
    // Through the RP file, as a road or an imported file brings it.
    ASSERT_TRUE(d.writeText(path("road.RP")));
    CRoadDesign_CrossPoint fromFile("");
    ASSERT_TRUE(fromFile.readText(path("road.RP")));
    EXPECT_EQ(fromFile.writeCurveFile(path("c.TDFE")), !k.fails);
    if (!k.fails) {
      EXPECT_EQ(fromFile.failure(), CrossPointFailure::None);
      continue;
    }
    EXPECT_EQ(fromFile.failedPointIndex(), k.index);
    EXPECT_EQ(fromFile.failure(), CrossPointFailure::NegativeRadius);
    EXPECT_EQ(fromFile.pointLabel(k.index), std::to_string(k.index + 1) + " (JD" + std::to_string(k.index) + ")");
    EXPECT_EQ(read(path("c.TDFE")), "");  // no older road stands in for it
  }
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(CrossPointFile, PointLabelsCountFromOneAndNameThePoint) {
  CRoadDesign_CrossPoint d("");
  d.points = {point(0, 0), point(1, 1)};
  d.points[1].point.Name = "JD1";
  EXPECT_EQ(d.pointLabel(0), "1");
  EXPECT_EQ(d.pointLabel(1), "2 (JD1)");
  EXPECT_EQ(d.pointLabel(2), "");
  EXPECT_EQ(d.pointLabel(-1), "");
}

TEST_F(CrossPointFile, OverlappingTangentsFailAtThePointWhoseStraightWouldRunBackwards) {
  // Each curve needs about 170 m of its legs; the middle leg has 300 m.
  CRoadDesign_CrossPoint d("");
  d.points = {point(0, 0), point(1000, 0, 300, 80, 80), point(1000, 300, 300, 80, 80),
              point(2000, 300)};
  EXPECT_FALSE(d.writeCurveFile(path("c.TDFE")));
  EXPECT_EQ(d.failedPointIndex(), 2);
  EXPECT_EQ(d.failure(), CrossPointFailure::TangentsOverlap);
  EXPECT_GT(d.overlap(), 30);
  // A tangent longer than the last leg.
  d.points = {point(0, 0), point(1000, 0, 300, 80, 80), point(1000, 100)};
  EXPECT_FALSE(d.writeCurveFile(path("c.TDFE")));
  EXPECT_EQ(d.failedPointIndex(), 2);
  d.points[2].point.Y = 400;
  EXPECT_TRUE(d.writeCurveFile(path("c.TDFE")));
  EXPECT_EQ(d.failedPointIndex(), -1);
}

TEST_F(CrossPointFile, TangentsThatJustTouchLeaveALineTheEngineLoads) {
  // Two quarter circles of R = 300 (tangents of 300 m each) on a middle leg a
  // hair shorter than 600 m: within the tolerance the straight between them
  // is written with length 0, never as a negative length the engine refuses.
  for (double overlap : {8e-7, 3e-7}) {
    SCOPED_TRACE(overlap);
    const double leg = 600 - overlap;
    CRoadDesign_CrossPoint d("");
    d.points = {point(0, 0), point(1000, 0, 300), point(1000, leg, 300), point(0, leg)};
    ASSERT_TRUE(d.writeCurveFile(path("c.TDFE")));
    EXPECT_EQ(read(path("c.TDFE")).find(",-"), std::string::npos) << read(path("c.TDFE"));
    CRoadDesign engine;
    EXPECT_TRUE(engine.loadFromCurveFile(path("c.TDFE")));
  }
}

// Reverse curves of 30 degrees on a middle leg of 400 m touch at R = 746.4102
// (to 4 decimals, as the RP file stores it). Their tangents overlap by
// 2 R tan 15° − 400; up to a millimetre they meet with a straight of length 0.
TEST_F(CrossPointFile, ReverseCurvesThatTouchWithinAMillimetreMeet) {
  const double tan15 = std::tan(kPi / 12);
  const double c = std::cos(kPi / 6), s = std::sin(kPi / 6);
  struct Case {
    const char* what;
    double radius;
    bool roundedPoints;  // the third point as the RP file holds it
    bool ok;
  } cases[] = {
      {"touching, as stored", 746.4102, true, true},
      {"a tenth of a millimetre more radius", 746.4103, true, true},
      {"0.9 mm overlap", (400 + 0.0009) / (2 * tan15), false, true},
      {"1.1 mm overlap", (400 + 0.0011) / (2 * tan15), false, false},
      {"half a metre overlap", (400 + 0.5) / (2 * tan15), false, false},
  };
  for (const Case& k : cases) {
    SCOPED_TRACE(k.what);
    double x2 = 1000 + 400 * c, y2 = 400 * s;
    if (k.roundedPoints) {
      x2 = std::round(x2 * 1e4) / 1e4;
      y2 = std::round(y2 * 1e4) / 1e4;
    }
    CRoadDesign_CrossPoint d("");
    d.points = {point(0, 0), point(1000, 0, k.radius), point(x2, y2, k.radius),
                point(x2 + 1000, y2)};
    EXPECT_EQ(d.writeCurveFile(path("c.TDFE")), k.ok);
    if (k.ok) {
      EXPECT_EQ(d.failure(), CrossPointFailure::None);
      EXPECT_EQ(read(path("c.TDFE")).find(",-0.0"), std::string::npos) << read(path("c.TDFE"));
      CRoadDesign engine;
      ASSERT_TRUE(engine.loadFromCurveFile(path("c.TDFE")));
      // The road still ends on the last straight, within the overlap taken up.
      const CRoadElement& last = engine.elements().back();
      EXPECT_NEAR(last.endY, y2, 2e-3);
      EXPECT_NEAR(std::sin(last.endAzimuth), 0, 1e-8);
      EXPECT_GT(std::cos(last.endAzimuth), 0);
    } else {
      EXPECT_EQ(d.failedPointIndex(), 2);
      EXPECT_EQ(d.failure(), CrossPointFailure::TangentsOverlap);
      EXPECT_NEAR(d.overlap(), 2 * k.radius * tan15 - 400, 1e-6);
    }
  }
  EXPECT_TRUE(warnings_.empty());
}

TEST_F(CrossPointFile, GarbageAndHugeFilesNeverCrashOrWriteNonNumbers) {
  std::mt19937 rng(7);
  const std::vector<std::string> pieces = {"CROSSPT :", "ROADNAME:", ",", ",", "\r\n", "\r", "\n",
                                           "1e308",     "-1e308",    "0", "300", "nan", "inf",
                                           "-0.0001",   "\xff\xfe",  "JD", "1e-320", "   "};
  for (int round = 0; round < 300; ++round) {
    std::string text;
    const int count = std::uniform_int_distribution<int>(0, 120)(rng);
    for (int i = 0; i < count; ++i) {
      if (rng() % 5 == 0) {
        text.push_back(static_cast<char>(rng() % 256));
      } else {
        text += pieces[rng() % pieces.size()];
      }
    }
    write(path("g.RP"), text);
    CRoadDesign_CrossPoint d("");
    ASSERT_TRUE(d.readText(path("g.RP")));
    const bool ok = d.writeCurveFile(path("g.TDFE"));
    std::string curve = read(path("g.TDFE"));
    // The road name may hold any text; only the numbers matter here.
    const std::size_t rn = curve.find("\r\nRN,");
    if (rn != std::string::npos) curve.erase(rn, curve.find("\r\n", rn + 2) - rn);
    EXPECT_EQ(curve.find("nan"), std::string::npos) << ok;
    EXPECT_EQ(curve.find("inf"), std::string::npos) << ok;
  }
  // One line of several megabytes without a line end, and many short lines.
  write(path("huge.RP"), std::string(8 << 20, 'x'));
  CRoadDesign_CrossPoint d("");
  EXPECT_TRUE(d.readText(path("huge.RP")));
  EXPECT_TRUE(d.points.empty());
  std::string lines;
  for (int i = 0; i < 200000; ++i) lines += "CROSSPT :,1,2,3,,4,5,6,7,\r\n";
  write(path("lines.RP"), lines);
  EXPECT_TRUE(d.readText(path("lines.RP")));
  EXPECT_EQ(d.points.count(), 1000);
}

TEST_F(CrossPointFile, SettingsGoIntoTheSettingsFolder) {
  CRoadDesign_CrossPoint d(path("config/trazmark"));  // created when missing
  d.CalculateMode = 1;
  d.Interval = 20;
  ASSERT_TRUE(d.saveSettings());
  const std::string file = path("config/trazmark/RoadDesign_CrossPoint.cfg");
  const std::string text = read(file);
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n", 0), 0u) << text;
  MarkupDocument doc;
  ASSERT_TRUE(doc.loadFile(file));
  ASSERT_TRUE(doc.findElement("HEAD") && doc.enterElement());
  ASSERT_TRUE(doc.findElement("RoadDesign_CrossPoint") && doc.enterElement());
  ASSERT_TRUE(doc.findElement("Ver"));
  EXPECT_EQ(doc.elementData(), "1.0.1.1");
  ASSERT_TRUE(doc.findElement("Option"));
  ASSERT_TRUE(doc.findChildElement("CalculateMode"));
  EXPECT_EQ(doc.childData(), "1");
  ASSERT_TRUE(doc.findChildElement("Interval"));
  EXPECT_EQ(doc.childData(), "20.0000");

  EXPECT_FALSE(CRoadDesign_CrossPoint("").saveSettings());
  write(path("plain"), "a file, not a folder");
  EXPECT_FALSE(CRoadDesign_CrossPoint(path("plain/sub")).saveSettings());
}

}  // namespace
}  // namespace trazmark
