// trazmark-cli on several broken chains, `locate`, `stakes --elevations` and
// `section`.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "alignment/CurveFile.h"
#include "cli/CliTestSupport.h"
#include "library/InputRoadLibrary.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

using test::CliRun;

using test::splitLines;

class LocateCli : public test::CliFixture {
 protected:
  // 2500 m due east from (0, 0), starting at mileage 12000: Y is the
  // continuous mileage minus 12000.
  std::string writeStraight() const {
    CCurveFileWriter w(CurveFileKind::RP);
    w.writeHeader(12000, "east");
    w.writeStartPoint(0, 0);
    w.writeLine(2500, 90);
    EXPECT_TRUE(w.save(path("east.TDFE")));
    return path("east.TDFE");
  }
};

const std::vector<std::string> kFieldChains = {"--chain", "12916.839:12928.964", "--chain",
                                               "13662.997:13619.247"};

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
  args.insert(args.end(), more.begin(), more.end());
  return args;
}

TEST_F(LocateCli, ShortThenLongChainStakesAndPoints) {
  const std::string road = writeStraight();
  const CliRun stakes = run(with({"stakes", road}, kFieldChains));
  ASSERT_EQ(stakes.exitCode, 0) << stakes.err;
  std::vector<std::string> at13620;
  for (const std::string& line : splitLines(stakes.out))
    if (line.find(",13620.0000,2,") != std::string::npos) at13620.push_back(line);
  ASSERT_EQ(at13620.size(), 2u) << "13620 on both branches of the long chain";
  EXPECT_NE(at13620[0].find(",1607.8750,"), std::string::npos) << at13620[0];
  EXPECT_NE(at13620[1].find(",1651.6250,"), std::string::npos) << at13620[1];

  const CliRun after = run(with({"point", road, "13619.247", "--side", "after"}, kFieldChains));
  const CliRun before = run(with({"point", road, "13662.997", "--side", "before"}, kFieldChains));
  ASSERT_EQ(after.exitCode, 0) << after.err;
  EXPECT_EQ(after.out, before.out) << "both name the chain point";
  EXPECT_NE(after.out.find("Y=1650.8720"), std::string::npos) << after.out;

  const CliRun skipped = run(with({"point", road, "12920"}, kFieldChains));
  expectOneLineFailure(skipped, "a skipped station");
  EXPECT_NE(skipped.err.find("skipped by a short broken chain"), std::string::npos) << skipped.err;

  const CliRun unplaceable =
      run({"point", road, "13000", "--chain", "13000:13050", "--chain", "13020:13010"});
  expectOneLineFailure(unplaceable, "chains that cannot be placed");
}

TEST_F(LocateCli, OnePointAndAFileOfPoints) {
  const std::string road = writeStraight();
  CliRun r = run(with({"locate", road, "-2.5", "1700"}, kFieldChains));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "13668.3750,2.5000,13700.0000\n") << "right of travel east is south";
  r = run({"locate", road, "3", "-4"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "outside,5.0000\n");

  write("points.csv", "P1,0,100\r\nP2,1,1651.625,\r\n\r\nbehind,0,-7\nP4 , 10 , 2400\n");
  r = run(with({"locate", road, "--points", path("points.csv")}, kFieldChains));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(splitLines(r.out), (std::vector<std::string>{
                                   "P1,12100.0000,0.0000,12100.0000",
                                   "P2,13620.0000,-1.0000,13651.6250",
                                   "behind,outside,7.0000",
                                   "P4 ,14368.3750,-10.0000,14400.0000",
                               }));
}

TEST_F(LocateCli, BadInputGivesOneErrorLine) {
  const std::string road = writeStraight();
  write("empty.csv", "");
  write("blank.csv", "\r\n  \n");
  write("short.csv", "P1,0,100\nP2,5\n");
  write("text.csv", "P1,north,100\n");
  write("nan.csv", "P1,nan,100\n");
  write("huge.csv", "P1,0,100\nP2,1e20,100\n");
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"no coordinates", {"locate", road}},
      {"one coordinate", {"locate", road, "5"}},
      {"text coordinate", {"locate", road, "5", "east"}},
      {"NaN coordinate", {"locate", road, "nan", "5"}},
      {"huge coordinate", {"locate", road, "1e300", "5"}},
      {"points and coordinates", {"locate", road, "1", "2", "--points", path("short.csv")}},
      {"missing points file", {"locate", road, "--points", path("none.csv")}},
      {"empty points file", {"locate", road, "--points", path("empty.csv")}},
      {"blank points file", {"locate", road, "--points", path("blank.csv")}},
      {"short line", {"locate", road, "--points", path("short.csv")}},
      {"text in a line", {"locate", road, "--points", path("text.csv")}},
      {"NaN in a line", {"locate", road, "--points", path("nan.csv")}},
      {"huge in a line", {"locate", road, "--points", path("huge.csv")}},
      {"missing road", {"locate", path("none.TDFE"), "1", "2"}},
  };
  for (const auto& [what, args] : cases) expectOneLineFailure(run(args), what);
  EXPECT_NE(run({"locate", road, "--points", path("short.csv")}).err.find("line 2"),
            std::string::npos);
}

// Due north 1000 m from mileage 0 by elements, a crest (grade points 0 at
// 100 m, 500 at 110 m with radius 10000, 1000 at 100 m), a lane and a kerbed
// verge on each side, the right lane tilting from -2 % to +4 % between 200 and 300.
std::string writeRoad(const std::string& path, bool gradePoints) {
  CInputRoadLibrary road;
  road.FlatcurveType = kFlatcurveElements;
  Road_Element e;
  e.Type = 1;
  road.elements.append(e);
  e.Type = 2;
  e.Length = 1000;
  road.elements.append(e);
  if (gradePoints) {
    for (auto [m, h, r] : {std::tuple{0.0, 100.0, 0.0}, {500.0, 110.0, 10000.0}, {1000.0, 100.0, 0.0}}) {
      CVerticalCurveCal p;
      p.Mileage = m;
      p.High = h;
      p.Radius = r;
      road.verticalCurves.append(p);
    }
  }
  for (int side = 0; side < 2; ++side) {
    Road_Section_Item lane;
    lane.setModuleName("lane");
    lane.Width = 3.5;
    lane.Slope = -2;
    lane.LeftOrRight = side;
    Road_Section_Item verge;
    verge.setModuleName("verge");
    verge.Width = 1;
    verge.Slope = 2;
    verge.Roadteeth = 0.15;
    verge.LeftOrRight = side;
    (side == 0 ? road.leftSections : road.rightSections) = {lane, verge};
  }
  Road_Super_Item tilt;
  tilt.SectionName = "lane";
  tilt.LeftRight = 1;
  tilt.values = {{200, -2, 0, 0}, {300, 4, 0, 0}};
  road.superHighs = {tilt};
  EXPECT_TRUE(road.writeRoadFile(path));
  return path;
}

TEST_F(LocateCli, StakesWithElevations) {
  const std::string road = writeRoad(path("crest.REC"), true);
  CliRun r = run({"stakes", road, "--interval", "100", "--elevations"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto all = splitLines(r.out);
  ASSERT_GE(all.size(), 3u);
  EXPECT_EQ(all[0].substr(0, all[0].find(",0,")), "QD,0.0000,0.0000,100.0000,0.0000");
  EXPECT_EQ(all[1].substr(0, all[1].find(",2,")), "1,100.0000,0.0000,102.0000,100.0000");
  r = run({"stakes", road, "--interval", "100"});
  EXPECT_EQ(splitLines(r.out)[1].substr(0, splitLines(r.out)[1].find(",2,")),
            "1,100.0000,0.0000,0.0000,100.0000")
      << "without --elevations Z stays 0";

  expectOneLineFailure(run({"stakes", writeRoad(path("flat.REC"), false), "--elevations"}),
                       "a road without grade points");
  expectOneLineFailure(run({"stakes", writeStraight(), "--elevations"}), "not a road file");
}

// One grade line for every command: a road of two grade points (100.000 at
// 100, 108.000 at 900) across a short chain that skips 400 to 420 is one grade
// of 8 m over 780 m of road, read at displayed stations.
TEST_F(LocateCli, TwoGradePointsAcrossABrokenChainGiveOneGradeLine) {
  CInputRoadLibrary road;
  road.readRoadFile(writeRoad(path("crest.REC"), true));
  road.verticalCurves.resize(2);
  road.verticalCurves[0].Mileage = 100;
  road.verticalCurves[0].High = 100;
  road.verticalCurves[0].Radius = 0;
  road.verticalCurves[1].Mileage = 900;
  road.verticalCurves[1].High = 108;
  road.verticalCurves[1].Radius = 0;
  Scisson_Data chain;
  chain.Before_mileage = 400;
  chain.After_mileage = 420;
  chain.Type = 1;
  chain.Length = 20;
  road.scissons.append(chain);
  ASSERT_TRUE(road.writeRoadFile(path("grade.REC")));
  const std::string file = path("grade.REC");

  // Continuous 500 (displayed 520) lies 400 m along the grade from the first point.
  const double at520 = 100 + 8.0 * 400 / 780;
  for (const auto& [station, elevation] : {std::pair{"900", 108.0}, {"100", 100.0}, {"520", at520}}) {
    CliRun r = run({"profile", file, "--station", station});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NEAR(std::stod(r.out.substr(r.out.find(',') + 1)), elevation, 5e-4) << station;
    r = run({"section", file, station});
    ASSERT_EQ(r.exitCode, 0) << r.err;
    const std::size_t at = r.out.find("elevation ");
    ASSERT_NE(at, std::string::npos) << r.out;
    EXPECT_NEAR(std::stod(r.out.substr(at + 10)), elevation, 5e-5) << station;
  }
  CliRun sampled = run({"profile", file, "--interval", "100", "--with-end"});
  ASSERT_EQ(sampled.exitCode, 0) << sampled.err;
  const std::vector<std::string> samples = splitLines(sampled.out);
  ASSERT_FALSE(samples.empty());
  EXPECT_EQ(samples.front(), "100.000,100.000");
  EXPECT_EQ(samples.back(), "900.000,108.000") << "the samples end on the last grade point";
  EXPECT_NE(std::find(samples.begin(), samples.end(), "520.000,104.103"), samples.end())
      << "samples every 100 m of road, shown at displayed stations";

  CliRun stakes = run({"stakes", file, "--interval", "20", "--elevations"});
  ASSERT_EQ(stakes.exitCode, 0) << stakes.err;
  bool found = false;
  for (const std::string& line : splitLines(stakes.out))
    if (line.find(",880.0000,0.0000,") != std::string::npos) {
      found = true;
      EXPECT_NE(line.find(",108.0000,900.0000"), std::string::npos) << line;
    }
  EXPECT_TRUE(found) << stakes.out;
  expectOneLineFailure(run({"profile", file, "--station", "410"}), "a station the chain skips");
}

TEST_F(LocateCli, SectionAtAStation) {
  const std::string road = writeRoad(path("crest.REC"), true);
  CliRun r = run({"section", road, "250", "--csv"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(splitLines(r.out), (std::vector<std::string>{
                                   "L,lane,3.5000,-2.0000,-3.5000,104.9300,250.0000,-3.5000",
                                   "L,verge,1.0000,2.0000,-4.5000,105.1000,250.0000,-4.5000",
                                   "R,lane,3.5000,1.0000,3.5000,105.0350,250.0000,3.5000",
                                   "R,verge,1.0000,2.0000,4.5000,105.2050,250.0000,4.5000",
                               }));
  r = run({"section", road, "250"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out.rfind("station 250.0000", 0), 0u) << r.out;
  EXPECT_EQ(splitLines(r.out).size(), 6u) << r.out;

  expectOneLineFailure(run({"section", road, "1200"}), "station off the road");
  expectOneLineFailure(run({"section", road, "x"}), "station not a number");
  expectOneLineFailure(run({"section", writeRoad(path("flat.REC"), false), "250"}),
                       "no grade points");
  expectOneLineFailure(run({"section", writeStraight(), "250"}), "not a road file");
}

}  // namespace
}  // namespace trazmark

namespace trazmark {
namespace {

TEST_F(LocateCli, DrawingsOfARoadFile) {
  const std::string road = writeRoad(path("crest.REC"), true);
  const std::pair<std::vector<std::string>, std::string> cases[] = {
      {{"plan", road, "-o", path("plan.svg")}, "<?xml"},
      {{"plan", road, "-o", path("plan.dxf"), "--size", "800x600"}, "999\ndxflib"},
      {{"profile-plot", road, "-o", path("profile.pdf")}, "%PDF-"},
      {{"section-plot", road, "-o", path("section.png"), "--size", "640x480"}, "\x89PNG"},
  };
  for (const auto& [args, magic] : cases) {
    CliRun r = run(args);
    if (r.err.find("without Qt") != std::string::npos) GTEST_SKIP() << "no map drawing in this build";
    ASSERT_EQ(r.exitCode, 0) << args[0] << ": " << r.err;
    std::ifstream in(args[3], std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_EQ(bytes.rfind(magic, 0), 0u) << args[3];
    EXPECT_GT(bytes.size(), 1000u) << args[3];
  }
  // The title block names the road after its file.
  std::ifstream svg(path("plan.svg"));
  const std::string text{std::istreambuf_iterator<char>(svg), std::istreambuf_iterator<char>()};
  EXPECT_NE(text.find(">Road: crest</text>"), std::string::npos);

  expectOneLineFailure(run({"profile-plot", writeRoad(path("flat.REC"), false), "-o", path("flat.svg")}),
                       "a road without grade points");
  expectOneLineFailure(run({"section-plot", writeStraight(), "-o", path("s.svg")}), "not a road file");
  expectOneLineFailure(run({"plan", road, "-o", path("p.svg"), "--size", "20x20"}), "a sheet too small");
  expectOneLineFailure(run({"plan", road}), "no output");
}

}  // namespace
}  // namespace trazmark
