// trazmark-cli on the earthwork: `earthwork` (the table of areas, volumes and
// the mass ordinate) and `section` against the ground, over flat ground under
// a level road whose answers are trapezoids.

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliTestSupport.h"
#include "library/InputRoadLibrary.h"

namespace trazmark {
namespace {

using test::CliRun;
using test::splitLines;

class EarthworkCli : public test::CliFixture {
 protected:
  void SetUp() override {
    CliFixture::SetUp();
    std::string text;
    for (int x = -20; x <= 220; x += 10)
      for (int y = -60; y <= 60; y += 10) text += std::to_string(x) + "," + std::to_string(y) + ",100\n";
    write("flat.csv", text);
    road_ = writeRoad("road.REC", true, true);
  }

  // Due north from (0, 0), stations 0 to 200, level at 102 over the ground at
  // 100: lanes of 3.5 m at 0 %, fill slopes 1:1.5 and cut slopes 1:1. A
  // section is 20 m² of fill (10 a side: 3.5 × 2 and 3 × 2 / 2).
  std::string writeRoad(const std::string& name, bool gradePoints, bool components) const {
    CInputRoadLibrary road;
    road.FlatcurveType = kFlatcurveElements;
    Road_Element e;
    e.Type = 1;
    road.elements.append(e);
    e.Type = 2;
    e.Length = 200;
    road.elements.append(e);
    if (gradePoints) {
      for (double m : {0.0, 200.0}) {
        CVerticalCurveCal p;
        p.Mileage = m;
        p.High = 102;
        road.verticalCurves.append(p);
      }
    }
    if (components) {
      Road_Section_Item lane;
      lane.setModuleName("lane");
      lane.Width = 3.5;
      road.leftSections.append(lane);
      road.rightSections.append(lane);
    }
    for (int side : {0, 1})
      for (int type : {0, 1}) {
        Road_Slope s;
        s.LeftRight = side;
        s.Type = type;
        s.SlopeName = std::string(side ? "R" : "L") + (type ? "F" : "C");
        s.StartMileage = 0;
        s.EndMileage = 200;
        Road_Slope_Item step;
        step.SlopeName = s.SlopeName;
        step.ItemName = "s1";
        step.SlopeH = 20;
        step.SlopeScale = type ? 1.5 : 1;
        s.items.append(step);
        road.slopes.append(s);
      }
    EXPECT_TRUE(road.writeRoadFile(path(name)));
    return path(name);
  }

  std::vector<std::string> with(std::vector<std::string> args) const {
    args.push_back("--terrain");
    args.push_back(path("flat.csv"));
    return args;
  }

  std::string road_;
};

TEST_F(EarthworkCli, TableOfAreasVolumesAndMass) {
  const CliRun r = run(with({"earthwork", road_, "--csv"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(r.err.empty()) << r.err;
  const auto lines = splitLines(r.out);
  ASSERT_EQ(lines.size(), 13u) << r.out;
  EXPECT_EQ(lines[0], "STATION,CUT_AREA,FILL_AREA,DISTANCE,CUT_VOLUME,FILL_VOLUME,CUM_CUT,CUM_FILL,MASS");
  EXPECT_EQ(lines[1], "0.000,0.00,20.00,0.000,0.00,0.00,0.00,0.00,0.00");
  EXPECT_EQ(lines[2], "20.000,0.00,20.00,20.000,0.00,400.00,0.00,400.00,-400.00");
  EXPECT_EQ(lines[11], "200.000,0.00,20.00,20.000,0.00,400.00,0.00,4000.00,-4000.00");
  EXPECT_EQ(lines[12], "TOTAL,,,200.000,0.00,4000.00,0.00,4000.00,-4000.00");

  // A part of the road at 50 m, prismoidal, to a file: nothing on stdout.
  const CliRun part = run(with({"earthwork", road_, "--csv", "--interval", "50", "--from", "25",
                                "--to", "175", "--prismoidal", "--bulking", "1.2", "-o",
                                path("table.csv")}));
  ASSERT_EQ(part.exitCode, 0) << part.err;
  EXPECT_TRUE(part.out.empty());
  EXPECT_EQ(read("table.csv"),
            "STATION,CUT_AREA,FILL_AREA,DISTANCE,CUT_VOLUME,FILL_VOLUME,CUM_CUT,CUM_FILL,MASS\n"
            "25.000,0.00,20.00,0.000,0.00,0.00,0.00,0.00,0.00\n"
            "50.000,0.00,20.00,25.000,0.00,500.00,0.00,500.00,-500.00\n"
            "100.000,0.00,20.00,50.000,0.00,1000.00,0.00,1500.00,-1500.00\n"
            "150.000,0.00,20.00,50.000,0.00,1000.00,0.00,2500.00,-2500.00\n"
            "175.000,0.00,20.00,25.000,0.00,500.00,0.00,3000.00,-3000.00\n"
            "TOTAL,,,150.000,0.00,3000.00,0.00,3000.00,-3000.00\n");

  // Readable columns end with the totals; the pavement depth of 0.5 m takes
  // 3.5 × 0.5 a side off each section: 16.5 m².
  const CliRun text = run(with({"earthwork", road_, "--pavement-depth", "0.5"}));
  ASSERT_EQ(text.exitCode, 0) << text.err;
  EXPECT_NE(text.out.find("fill       3300.00 m3\n"), std::string::npos) << text.out;
  EXPECT_NE(text.out.find("mass       -3300.00 m3\n"), std::string::npos) << text.out;
}

TEST_F(EarthworkCli, SectionAddsCatchPointsFormationAndAreasToTodaysOutput) {
  const CliRun plain = run({"section", road_, "100"});
  ASSERT_EQ(plain.exitCode, 0) << plain.err;
  EXPECT_EQ(plain.out.find("formation"), std::string::npos) << "no ground: as before";

  const CliRun r = run(with({"section", road_, "100"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  ASSERT_EQ(r.out.rfind(plain.out, 0), 0u) << "today's lines come first, unchanged:\n" << r.out;
  const std::string added = r.out.substr(plain.out.size());
  EXPECT_NE(added.find("formation  -3.5000/102.0000  0.0000/102.0000  3.5000/102.0000"), std::string::npos) << added;
  EXPECT_NE(added.find("-6.5000    100.0000       100.0000        -6.5000       0.00      10.00"),
            std::string::npos)
      << added;
  EXPECT_NE(added.find("0.00      20.00"), std::string::npos) << added;

  const CliRun plainCsv = run({"section", road_, "100", "--csv"});
  const CliRun csv = run(with({"section", road_, "100", "--csv"}));
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  ASSERT_EQ(csv.out.rfind(plainCsv.out, 0), 0u) << csv.out;
  EXPECT_EQ(csv.out.substr(plainCsv.out.size()),
            "FORMATION,-3.5000,102.0000\n"
            "FORMATION,0.0000,102.0000\n"
            "FORMATION,3.5000,102.0000\n"
            "CATCH,L,-6.5000,100.0000,100.0000,-6.5000\n"
            "AREA,L,0.00,10.00\n"
            "CATCH,R,6.5000,100.0000,100.0000,6.5000\n"
            "AREA,R,0.00,10.00\n"
            "AREA,TOTAL,0.00,20.00\n");
}

TEST_F(EarthworkCli, TheRoadsSettingsFileNamesTheGroundAndThePavementDepth) {
  write("road.REC.ground", "terrain=flat.csv\npavement-depth=0.5\n");
  const CliRun csv = run({"section", road_, "100", "--csv"});
  ASSERT_EQ(csv.exitCode, 0) << csv.err;
  EXPECT_NE(csv.out.find("FORMATION,-3.5000,102.0000\nFORMATION,-3.5000,101.5000\n"), std::string::npos)
      << csv.out;
  EXPECT_NE(csv.out.find("AREA,TOTAL,0.00,16.50\n"), std::string::npos) << csv.out;
  const CliRun table = run({"earthwork", road_, "--csv", "--interval", "100"});
  ASSERT_EQ(table.exitCode, 0) << table.err;
  EXPECT_NE(table.out.find("TOTAL,,,200.000,0.00,3300.00,0.00,3300.00,-3300.00\n"), std::string::npos)
      << table.out;
  // A side whose slope is gone says so in the section.
  const std::string noSlopes = writeRoad("bare.REC", true, true);
  CInputRoadLibrary bare;
  ASSERT_TRUE(bare.readRoadFile(noSlopes));
  bare.slopes.clear();
  ASSERT_TRUE(bare.writeRoadFile(noSlopes));
  const CliRun noSlope = run(with({"section", noSlopes, "100", "--csv"}));
  ASSERT_EQ(noSlope.exitCode, 0) << noSlope.err;
  EXPECT_NE(noSlope.out.find("STATUS,L,left: no fill slope holds the station\n"), std::string::npos)
      << noSlope.out;
  EXPECT_EQ(noSlope.out.find("AREA,TOTAL"), std::string::npos) << "never a silent 0";
}

TEST_F(EarthworkCli, BadInputFailsWithOneLineAndNoOutput) {
  const std::string noGrade = writeRoad("nograde.REC", false, true);
  const std::string noSection = writeRoad("nosection.REC", true, false);
  struct Case {
    const char* what;
    std::vector<std::string> args;
    const char* expected;
  };
  const Case cases[] = {
      {"interval 0", with({"earthwork", road_, "--interval", "0", "-o", path("t.csv")}), "interval"},
      {"interval NaN", with({"earthwork", road_, "--interval", "nan", "-o", path("t.csv")}), "--interval"},
      {"from before the road", with({"earthwork", road_, "--from", "-50"}), "not on the road"},
      {"to beyond the road", with({"earthwork", road_, "--to", "500"}), "not on the road"},
      {"bulking 0", with({"earthwork", road_, "--bulking", "0"}), "bulking"},
      {"negative depth", with({"earthwork", road_, "--pavement-depth", "-1"}), "pavement-depth"},
      {"no grade points", with({"earthwork", noGrade}), "no grade points"},
      {"no section", with({"earthwork", noSection}), "no cross section"},
      {"no ground", {"earthwork", road_}, "no ground"},
      {"not a road file", with({"earthwork", path("flat.csv")}), "not a road file"},
      {"section beyond the road", with({"section", road_, "900"}), "not on the alignment"},
      {"section without components", with({"section", noSection, "100"}), "no cross section"},
      {"depth without ground", {"section", road_, "100", "--pavement-depth", "0.3"}, "goes with"},
  };
  for (const Case& c : cases) {
    const CliRun r = run(c.args);
    expectOneLineFailure(r, c.what);
    EXPECT_NE(r.err.find(c.expected), std::string::npos) << c.what << ": " << r.err;
  }
  EXPECT_FALSE(std::filesystem::exists(path("t.csv")));
}

}  // namespace
}  // namespace trazmark
