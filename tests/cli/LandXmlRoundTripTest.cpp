// A road of each horizontal method, with broken chains and grade points of
// every kind, exported as LandXML and imported again: the same key points and
// the same grade line within a tenth of a millimetre. Also the two commands.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "alignment/RoadDesign.h"
#include "cli/CliTestSupport.h"
#include "crosssection/RoadProfile.h"
#include "editors/AlignmentLoader.h"
#include "library/InputRoadLibrary.h"
#include "library/LandXmlExport.h"
#include "library/LandXmlImport.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;
constexpr double kTenthMm = 0.0001;

class LandXmlRoundTrip : public test::CliFixture {
 protected:

  int run(const std::string& args) const {
    std::string command = std::string(TRAZMARK_BINARY_DIR "/src/cli/trazmark-cli ") + args +
                          " >" + path("out.txt") + " 2>" + path("err.txt");
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  std::string read(const std::string& name) const {
    std::ifstream in(path(name), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

  // A demo road with two broken chains and five grade points (the ends, a
  // circle, a symmetric and an asymmetric parabola) along it.
  std::string roadWithProfile(const std::string& demo) const {
    CInputRoadLibrary road;
    EXPECT_TRUE(road.readRoadFile(TRAZMARK_SOURCE_DIR "/docs/demo/" + demo));
    CRoadDesign design;
    AlignmentSource source;
    std::string error;
    EXPECT_TRUE(loadAlignmentFile(TRAZMARK_SOURCE_DIR "/docs/demo/" + demo, design, source, error))
        << error;
    const double s = design.startMileage(), length = design.endMileage() - s;
    road.scissons.clear();
    Scisson_Data gap;  // 25 m of stations skipped a fifth of the way
    gap.Type = 1;
    gap.Before_mileage = s + 0.2 * length;
    gap.After_mileage = gap.Before_mileage + 25;
    gap.Length = 25;
    road.scissons.append(gap);
    Scisson_Data overlap;  // 10 m repeated at 60 %
    overlap.Type = 0;
    overlap.Before_mileage = s + 0.6 * length + 25;
    overlap.After_mileage = overlap.Before_mileage - 10;
    overlap.Length = 10;
    road.scissons.append(overlap);
    design.brokenChains = road.scissons;
    road.verticalCurves.clear();
    const double at[] = {0, 0.3, 0.5, 0.7, 1};
    const double high[] = {100, 106, 101, 104, 102};
    for (int i = 0; i < 5; ++i) {
      CVerticalCurveCal p;
      p.Mileage = design.displayedFromContinuous(s + at[i] * length);
      p.High = high[i];
      p.CalMode = i == 2 ? 1 : i == 3 ? 2 : 0;
      p.Radius = i == 1 ? 3000 : 0;
      p.CurveL = i == 2 ? 40 : i == 3 ? 50 : 0;
      p.InLength = i == 3 ? 20 : 0;
      p.OutLength = i == 3 ? 30 : 0;
      road.verticalCurves.append(p);
    }
    EXPECT_TRUE(road.writeRoadFile(path(demo)));
    return path(demo);
  }

  static void expectSameRoad(const std::string& wantPath, const CRoadDesign& got,
                             const RecordList<CVerticalCurveCal>& gotGrades) {
    CRoadDesign want;
    AlignmentSource source;
    std::string error;
    ASSERT_TRUE(loadAlignmentFile(wantPath, want, source, error)) << error;
    ASSERT_EQ(want.keyPoints().size(), got.keyPoints().size());
    for (std::size_t k = 0; k < want.keyPoints().size(); ++k) {
      SCOPED_TRACE(want.keyPoints()[k].Name);
      EXPECT_EQ(want.keyPoints()[k].Name, got.keyPoints()[k].Name);
      EXPECT_NEAR(want.keyPoints()[k].X, got.keyPoints()[k].X, kTenthMm);
      EXPECT_NEAR(want.keyPoints()[k].Y, got.keyPoints()[k].Y, kTenthMm);
      const double m = want.keyPointMileages()[k];
      EXPECT_NEAR(want.displayedFromContinuous(m), got.displayedFromContinuous(m), kTenthMm);
    }
    CRoadProfile wantLine, gotLine;
    ASSERT_TRUE(wantLine.build(source.road.verticalCurves, want, error)) << error;
    ASSERT_TRUE(gotLine.build(gotGrades, got, error)) << error;
    for (double m = want.startMileage(); m <= want.endMileage(); m += 2.5) {
      auto a = wantLine.elevationAt(m), b = gotLine.elevationAt(m);
      ASSERT_TRUE(a && b) << m;
      EXPECT_NEAR(*a, *b, kTenthMm) << m;
    }
  }
};

TEST_F(LandXmlRoundTrip, EachMethodKeepsKeyPointsAndGradeLine) {
  for (const char* demo : {"demo_jd.REC", "demo_element.REC", "demo_line.REC"}) {
    SCOPED_TRACE(demo);
    const std::string road = roadWithProfile(demo);
    CRoadDesign design;
    AlignmentSource source;
    std::string error, xml;
    ASSERT_TRUE(loadAlignmentFile(road, design, source, error)) << error;
    ASSERT_TRUE(exportLandXml(design, source.road.verticalCurves, "road", xml, error)) << error;
    LandXmlAlignment back;
    ASSERT_TRUE(importLandXml(xml, "", back, error)) << error;
    CRoadDesign got;
    got.brokenChains = back.road.scissons;
    ASSERT_TRUE(got.loadFromRoad(back.name, back.startMileage, back.road.elements));
    expectSameRoad(road, got, back.road.verticalCurves);
  }
}

TEST_F(LandXmlRoundTrip, CommandsWriteAndReadTheFile) {
  const std::string road = roadWithProfile("demo_jd.REC");
  ASSERT_EQ(run("export " + road + " -o " + path("road.xml")), 0) << read("err.txt");
  ASSERT_EQ(run("import " + path("road.xml") + " -o " + path("back.REC")), 0) << read("err.txt");
  CInputRoadLibrary back;
  ASSERT_TRUE(back.readRoadFile(path("back.REC")));
  EXPECT_EQ(back.FlatcurveType, kFlatcurveElements);
  EXPECT_EQ(back.scissons.count(), 2);
  EXPECT_EQ(back.verticalCurves.count(), 5);
  CRoadDesign got;
  AlignmentSource source;
  std::string error;
  ASSERT_TRUE(loadAlignmentFile(path("back.REC"), got, source, error)) << error;
  // Through the road file the element lengths keep four decimals.
  CRoadDesign want;
  ASSERT_TRUE(loadAlignmentFile(road, want, source, error));
  const auto& a = want.keyPoints();
  const auto& b = got.keyPoints();
  ASSERT_EQ(a.size(), b.size());
  for (std::size_t k = 0; k < a.size(); ++k) EXPECT_NEAR(std::hypot(a[k].X - b[k].X, a[k].Y - b[k].Y), 0, kTenthMm) << a[k].Name;

  // A refused file: one error line, and no road file written.
  std::ofstream(path("bad.xml")) << "<LandXML><Alignments><Alignment name=\"x\"/></Alignments></LandXML>";
  EXPECT_EQ(run("import " + path("bad.xml") + " -o " + path("bad.REC")), 1);
  EXPECT_NE(read("err.txt").find("Alignment at line 1: has no CoordGeom"), std::string::npos) << read("err.txt");
  EXPECT_FALSE(fs::exists(path("bad.REC")));
  EXPECT_EQ(run("import " + path("road.xml") + " -o " + path("x.REC") + " --alignment nope"), 1);
  EXPECT_NE(read("err.txt").find("no Alignment named 'nope'"), std::string::npos);
}

}  // namespace
}  // namespace trazmark
