// trazmark-cli check: surveyed points against a level road due north from
// (0, 0) (offsets right of travel are east), over flat ground 2 m below it.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/CliTestSupport.h"
#include "library/InputRoadLibrary.h"

namespace trazmark {
namespace {

using test::CliRun;
using test::splitLines;

class CheckCli : public test::CliFixture {
 protected:
  // Stations 0 to 200 at 102, lanes of 3.5 m at 0 %, fill slopes 1:1.5 (the
  // catch points 6.5 m out over the ground at 100).
  void SetUp() override {
    CliFixture::SetUp();
    std::string ground;
    for (int x = -20; x <= 220; x += 10)
      for (int y = -60; y <= 60; y += 10) ground += std::to_string(x) + "," + std::to_string(y) + ",100\n";
    write("flat.csv", ground);
    CInputRoadLibrary road;
    road.FlatcurveType = kFlatcurveElements;
    Road_Element e;
    e.Type = 1;
    road.elements.append(e);
    e.Type = 2;
    e.Length = 200;
    road.elements.append(e);
    for (double m : {0.0, 200.0}) {
      CVerticalCurveCal p;
      p.Mileage = m;
      p.High = 102;
      road.verticalCurves.append(p);
    }
    Road_Section_Item lane;
    lane.setModuleName("lane");
    lane.Width = 3.5;
    road.leftSections.append(lane);
    road.rightSections.append(lane);
    for (int side : {0, 1}) {
      Road_Slope s;
      s.LeftRight = side;
      s.Type = 1;
      s.SlopeName = side ? "RF" : "LF";
      s.StartMileage = 0;
      s.EndMileage = 200;
      Road_Slope_Item step;
      step.SlopeName = s.SlopeName;
      step.ItemName = "s1";
      step.SlopeH = 20;
      step.SlopeScale = 1.5;
      s.items.append(step);
      road.slopes.append(s);
    }
    ASSERT_TRUE(road.writeRoadFile(path("road.REC")));
    // On the lane's edge, on the slope 5 cm inside the catch point, off the road.
    write("points.csv", "A,100,3.48,102.005\nB,50,6.45,100.04\n# behind the start\nC,-30,0,102\n");
  }
};

TEST_F(CheckCli, RowsOffRoadApartSummaryAndBadFiles) {
  const CliRun r = run({"check", path("road.REC"), "--points", path("points.csv"), "--terrain",
                        path("flat.csv"), "--csv"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto lines = splitLines(r.out);
  ASSERT_GE(lines.size(), 5u) << r.out;
  EXPECT_EQ(lines[0], "NAME,STATION,OFFSET,DESIGN_Z,DZ,EDGE,DOFFSET,FLAG,NOTE");
  EXPECT_EQ(lines[1], "A,100.0000,3.4800,102.0000,0.0050,lane,-0.0200,ok,");
  EXPECT_EQ(lines[2], "B,50.0000,6.4500,100.0333,0.0067,catch point,-0.0500,ok,");
  EXPECT_EQ(lines[3], "C,outside,30.0000,-,-,-,-,OFF ROAD,");
  EXPECT_EQ(lines[4], "SUMMARY,CHECKED,3");
  EXPECT_NE(r.out.find("SUMMARY,WITHIN,2\nSUMMARY,BEYOND,0\nSUMMARY,OFF_ROAD,1\n"), std::string::npos);

  // Tighter tolerances, no ground: B is beyond the road's edge, outside the
  // section; the text goes to a file.
  const CliRun t = run({"check", path("road.REC"), "--points", path("points.csv"), "--tol-z",
                        "0.001", "--tol-offset", "0.01", "-o", path("check.txt")});
  ASSERT_EQ(t.exitCode, 0) << t.err;
  EXPECT_TRUE(t.out.empty());
  const std::string text = read("check.txt");
  EXPECT_NE(text.find("BEYOND  (outside the section)\n"), std::string::npos) << text;
  EXPECT_NE(text.find("beyond tolerance  2\n"), std::string::npos) << text;

  // The field crews' column order, with codes: an edge shot by its edge's
  // name, a code naming no edge of the road is a surface point (ΔO shown,
  // not judged, nor counted in the summary), an empty code as no code.
  write("enz.csv", "A,KERB,1.2,100,102.005\nB,catch,3.48,100,102\nC,,3.48,100,102\n");
  const CliRun enz = run({"check", path("road.REC"), "--points", path("enz.csv"), "--format",
                          "name,code,e,n,z", "--terrain", path("flat.csv"), "--csv"});
  ASSERT_EQ(enz.exitCode, 0) << enz.err;
  const auto enzLines = splitLines(enz.out);
  ASSERT_GE(enzLines.size(), 4u) << enz.out;
  EXPECT_EQ(enzLines[1], "A,100.0000,1.2000,102.0000,0.0050,centre,1.2000,ok,surface point");
  EXPECT_EQ(enzLines[2], "B,100.0000,3.4800,102.0000,0.0000,catch point,-3.0200,BEYOND,");
  EXPECT_EQ(enzLines[3], "C,100.0000,3.4800,102.0000,0.0000,lane,-0.0200,ok,");
  EXPECT_NE(enz.out.find("SUMMARY,DOFFSET_COUNT,2\n"), std::string::npos) << enz.out;

  // A bad line anywhere: one error naming it, no answer.
  write("bad.csv", "A,100,3.48,102\nB,50,NaN,100\n");
  const CliRun bad = run({"check", path("road.REC"), "--points", path("bad.csv")});
  expectOneLineFailure(bad, "NaN");
  EXPECT_NE(bad.err.find("line 2: the y (east) 'NaN' is not a number"), std::string::npos) << bad.err;
  write("empty.csv", "");
  expectOneLineFailure(run({"check", path("road.REC"), "--points", path("empty.csv")}), "empty");
  expectOneLineFailure(run({"check", path("road.REC"), "--points", path("points.csv"), "--tol-z",
                            "-1"}),
                       "negative tolerance");
}

}  // namespace
}  // namespace trazmark
