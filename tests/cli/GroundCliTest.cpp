// trazmark-cli on the ground: `ground`, `ground-section` and `terrain`, over a
// tilted plane whose ground is known everywhere, with a stretch where the
// road leaves the TIN and comes back.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "cli/CliTestSupport.h"
#include "library/InputRoadLibrary.h"
#include "terrain/GroundLineFiles.h"

namespace trazmark {
namespace {

using test::CliRun;
using test::splitLines;

// The ground: z = 50 + 0.02 x + 0.05 y on a 10 m grid, x (north) from -45 to
// 395 and from 605 to 1055, y (east) from -60 to 60. Between 395 and 605
// there is no ground once --max-edge 20 drops the triangles that bridge it.
double plane(double x, double y) { return 50 + 0.02 * x + 0.05 * y; }

std::string planePoints() {
  std::string text;
  auto row = [&](int x) {
    for (int y = -60; y <= 60; y += 10) {
      char line[64];
      std::snprintf(line, sizeof line, "%d,%d,%.4f\n", x, y, plane(x, y));
      text += line;
    }
  };
  for (int x = -45; x <= 395; x += 10) row(x);
  for (int x = 605; x <= 1055; x += 10) row(x);
  return text;
}

std::vector<std::string> fieldsOf(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t comma = line.find(',', start);
    fields.push_back(line.substr(start, comma == std::string::npos ? comma : comma - start));
    if (comma == std::string::npos) return fields;
    start = comma + 1;
  }
}

class GroundCli : public test::CliFixture {
 protected:
  void SetUp() override {
    CliFixture::SetUp();
    write("plane.csv", planePoints());
    road_ = writeRoad();
  }

  // Due north from (0, 0) for 1000 m by elements from station 0, a short
  // chain at continuous 700 that skips displayed 700 to 720, and a grade line
  // from 100.000 at station 0 to 110.000 at 1020 (the end): the design is
  // 100 + 0.01 × continuous, the ground on the centre 50 + 0.02 × continuous.
  std::string writeRoad() const {
    CInputRoadLibrary road;
    road.FlatcurveType = kFlatcurveElements;
    Road_Element e;
    e.Type = 1;
    road.elements.append(e);
    e.Type = 2;
    e.Length = 1000;
    road.elements.append(e);
    for (auto [m, h] : {std::pair{0.0, 100.0}, {1020.0, 110.0}}) {
      CVerticalCurveCal p;
      p.Mileage = m;
      p.High = h;
      road.verticalCurves.append(p);
    }
    Scisson_Data chain;
    chain.Before_mileage = 700;
    chain.After_mileage = 720;
    chain.Type = 1;
    chain.Length = 20;
    road.scissons.append(chain);
    EXPECT_TRUE(road.writeRoadFile(path("road.REC")));
    return path("road.REC");
  }

  std::vector<std::string> terrain() const {
    return {"--terrain", path("plane.csv"), "--max-edge", "20"};
  }
  std::vector<std::string> with(std::vector<std::string> args) const {
    for (const std::string& a : terrain()) args.push_back(a);
    return args;
  }

  std::string road_;
};

TEST_F(GroundCli, ProfileAtTheStakesAcrossAChainAndAGap) {
  const CliRun r = run(with({"ground", road_, "--interval", "100", "--csv"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(r.err.empty()) << r.err;
  std::map<std::string, std::vector<std::string>> byStation;
  for (const std::string& line : splitLines(r.out)) {
    const auto f = fieldsOf(line);
    ASSERT_EQ(f.size(), 4u) << line;
    byStation[f[0]] = f;
  }
  // Displayed station → continuous: the chain moves everything after 700 back by 20.
  const struct {
    const char* station;
    double continuous;
    bool ground;
  } cases[] = {
      {"0.000", 0, true},      {"100.000", 100, true}, {"300.000", 300, true},
      {"400.000", 400, false}, {"500.000", 500, false}, {"600.000", 600, false},
      {"800.000", 780, true},  {"1000.000", 980, true}, {"1020.000", 1000, true},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(byStation.count(c.station)) << c.station << "\n" << r.out;
    const auto& f = byStation[c.station];
    const double design = 100 + 0.01 * c.continuous;
    EXPECT_NEAR(std::stod(f[2]), design, 5e-4) << c.station;
    if (c.ground) {
      const double ground = plane(c.continuous, 0);
      EXPECT_NEAR(std::stod(f[1]), ground, 5e-4) << c.station;
      EXPECT_NEAR(std::stod(f[3]), design - ground, 5e-4) << c.station << ": fill positive";
    } else {
      EXPECT_EQ(f[1], "-") << c.station;
      EXPECT_EQ(f[3], "-") << c.station;
    }
  }

  // The table says the same in columns, under a header.
  const CliRun table = run(with({"ground", road_, "--interval", "100"}));
  ASSERT_EQ(table.exitCode, 0) << table.err;
  const auto lines = splitLines(table.out);
  ASSERT_EQ(lines.size(), byStation.size() + 1);
  EXPECT_NE(lines[0].find("station"), std::string::npos);
  EXPECT_NE(table.out.find("  800.000     65.600    107.800    42.200\n"), std::string::npos)
      << table.out;
}

TEST_F(GroundCli, DesignIsADashWithoutAGradeLine) {
  CInputRoadLibrary road;
  ASSERT_TRUE(road.readRoadFile(road_));
  road.verticalCurves.clear();
  ASSERT_TRUE(road.writeRoadFile(path("flat.REC")));
  const CliRun r = run(with({"ground", path("flat.REC"), "--interval", "500", "--csv"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto lines = splitLines(r.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines[0], "0.000,50.000,-,-");
}

TEST_F(GroundCli, TheRoadsSettingsFileNamesTheGround) {
  const CliRun given = run(with({"ground", road_, "--csv"}));
  ASSERT_EQ(given.exitCode, 0) << given.err;

  const CliRun none = run({"ground", road_});
  expectOneLineFailure(none, "no ground at all");
  EXPECT_NE(none.err.find("road.REC.ground"), std::string::npos) << none.err;

  // Relative to the road's folder, whatever the working folder.
  write("road.REC.ground", "# ground\nterrain=plane.csv\nmax-edge=20\nsome-later-key=1\n");
  const CliRun fromSettings = run({"ground", road_, "--csv"});
  ASSERT_EQ(fromSettings.exitCode, 0) << fromSettings.err;
  EXPECT_EQ(fromSettings.out, given.out);

  // Surveyed centre line in the settings: it wins at its stations.
  write("road.dmx", "station ground\n100 10\n200 20\n");
  write("road.REC.ground", "terrain=plane.csv\nmax-edge=20\ndmx=road.dmx\n");
  const CliRun surveyed = run({"ground", road_, "--csv", "--interval", "50"});
  ASSERT_EQ(surveyed.exitCode, 0) << surveyed.err;
  EXPECT_NE(surveyed.out.find("\n150.000,15.000,101.500,86.500\n"), std::string::npos) << surveyed.out;
  EXPECT_NE(surveyed.out.find("\n250.000,55.000,102.500,47.500\n"), std::string::npos) << surveyed.out;

  write("road.REC.ground", "terrain=plane.csv\nmax-edge=wide\n");
  expectOneLineFailure(run({"ground", road_}), "a bad settings file");
  expectOneLineFailure(run({"ground", road_, "--max-edge", "20"}), "--max-edge without --terrain");
}

TEST_F(GroundCli, GroundAcrossAtEveryEdgeAndItsGaps) {
  // At 100 the normal runs east along x = 100, across the grid's north-south
  // edges (every 10 m of offset) and the diagonals between.
  CliRun r = run(with({"ground-section", road_, "100"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  auto lines = splitLines(r.out);
  ASSERT_GE(lines.size(), 11u);
  EXPECT_EQ(lines.front(), "-50.000,49.500");
  EXPECT_EQ(lines.back(), "50.000,54.500");
  double last = -1e9;
  std::vector<double> offsets;
  for (const std::string& line : lines) {
    const auto f = fieldsOf(line);
    ASSERT_EQ(f.size(), 2u) << line;
    const double offset = std::stod(f[0]);
    EXPECT_GE(offset, last) << "offsets in order";
    last = offset;
    offsets.push_back(offset);
    EXPECT_NEAR(std::stod(f[1]), plane(100, offset), 6e-4) << line << ": right of travel is east";
  }
  for (int edge = -40; edge <= 40; edge += 10)
    EXPECT_NE(std::find(offsets.begin(), offsets.end(), double(edge)), offsets.end()) << edge;

  // Wider than the TIN: a gap at each end.
  r = run(with({"ground-section", road_, "100", "--width", "70"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  lines = splitLines(r.out);
  ASSERT_GE(lines.size(), 4u);
  EXPECT_EQ(lines.front(), "gap");
  EXPECT_EQ(lines[1], "-60.000,49.000");
  EXPECT_EQ(lines[lines.size() - 2], "60.000,55.000");
  EXPECT_EQ(lines.back(), "gap");

  // Off the TIN: nothing but a gap.
  r = run(with({"ground-section", road_, "500"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "gap\n");

  // After the chain, displayed 820 is continuous 800.
  r = run(with({"ground-section", road_, "820", "--width", "5"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(splitLines(r.out).front(), "-5.000,65.750");

  const std::vector<std::pair<const char*, std::vector<std::string>>> bad = {
      {"a skipped station", with({"ground-section", road_, "710"})},
      {"beyond the road", with({"ground-section", road_, "2000"})},
      {"no width", with({"ground-section", road_, "100", "--width", "0"})},
      {"a station not a number", with({"ground-section", road_, "1O0"})},
      {"a missing terrain", {"ground-section", road_, "100", "--terrain", path("none.csv")}},
  };
  for (const auto& [what, args] : bad) expectOneLineFailure(run(args), what);
}

TEST_F(GroundCli, TheTinWrittenAsGroundLineFilesReadsBackOnThePlane) {
  const CliRun r = run(with({"ground", road_, "--interval", "100", "--dmx", path("out.dmx"),
                             "--hdm", path("out.hdm"), "--width", "30"}));
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(r.out.empty());
  EXPECT_NE(r.err.find("3 stakes without ground"), std::string::npos) << r.err;

  SurveyedGroundProfile profile;
  SurveyedGroundSections sections;
  std::string error;
  ASSERT_TRUE(readGroundProfileFile(path("out.dmx"), profile, error)) << error;
  ASSERT_TRUE(readGroundSectionsFile(path("out.hdm"), sections, error)) << error;
  ASSERT_EQ(profile.points.size(), sections.sections.size());
  // Displayed station → continuous (north) for this road.
  auto north = [](double station) { return station <= 700 ? station : station - 20; };
  for (const GroundProfilePoint& p : profile.points) {
    EXPECT_FALSE(p.station > 395 && p.station < 605) << p.station << " has no ground";
    EXPECT_NEAR(p.elevation, plane(north(p.station), 0), 5e-4) << p.station;
  }
  for (const SurveyedGroundSection& s : sections.sections) {
    const double centre = *profile.elevationAt(s.station);
    for (int side = -1; side <= 1; side += 2) {
      double offset = 0, z = centre;
      for (const GroundSectionStep& step : side < 0 ? s.left : s.right) {
        offset += step.distance;
        z += step.rise;
        EXPECT_NEAR(z, plane(north(s.station), side * offset), 1e-3) << s.station;
      }
      EXPECT_NEAR(offset, 30, 1e-9) << s.station << " reaches the width";
    }
  }
  expectOneLineFailure(run({"ground", road_, "--dmx", path("x.dmx")}), "no terrain to write");

  // A long chain repeats displayed stations, which the files cannot hold:
  // refused, and nothing written.
  CInputRoadLibrary road;
  ASSERT_TRUE(road.readRoadFile(road_));
  road.scissons[0].Before_mileage = 800;
  road.scissons[0].After_mileage = 780;
  road.scissons[0].Type = 0;
  ASSERT_TRUE(road.writeRoadFile(path("long.REC")));
  const CliRun repeated =
      run(with({"ground", path("long.REC"), "--interval", "10", "--dmx", path("long.dmx")}));
  expectOneLineFailure(repeated, "a long chain's repeated stations");
  EXPECT_NE(repeated.err.find("long broken chain"), std::string::npos) << repeated.err;
  EXPECT_FALSE(std::filesystem::exists(path("long.dmx")));
  expectOneLineFailure(run(with({"ground", road_, "--dmx", path("no/such/x.dmx")})), "unwritable");
  expectOneLineFailure(run(with({"ground", road_, "--width", "20"})), "--width without --hdm");
}

TEST_F(GroundCli, TerrainInfoAndElevationsAtPoints) {
  CliRun r = run({"terrain", "info", path("plane.csv"), "--max-edge", "20"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  for (const char* expected : {"points              1183\n", "triangles           2136\n",
                               "extent X (north)    -45.000 .. 1055.000\n",
                               "extent Y (east)     -60.000 .. 60.000\n",
                               "elevation           46.100 .. 74.100\n",
                               "dropped triangles   24\n", "duplicate points    0\n"})
    EXPECT_NE(r.out.find(expected), std::string::npos) << expected << r.out;

  write("pts.csv", "a,100,0\nb,500,0\n\nc,1000,30,\nd,-100,0\n");
  r = run({"terrain", path("plane.csv"), "--max-edge", "20", "--points", path("pts.csv")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "a,52.0000\nb,outside\nc,71.5000\nd,outside\n");

  // One bad line: one error naming it, and not a single answer.
  write("bad.csv", "a,100,0\nb,500\nc,1000,30\n");
  r = run({"terrain", path("plane.csv"), "--points", path("bad.csv")});
  expectOneLineFailure(r, "a bad points line");
  EXPECT_NE(r.err.find("line 2"), std::string::npos) << r.err;

  const std::vector<std::pair<const char*, std::vector<std::string>>> bad = {
      {"no points option", {"terrain", path("plane.csv")}},
      {"an unknown format", {"terrain", "info", path("plane.csv"), "--format", "e,n"}},
      {"a negative max-edge", {"terrain", "info", path("plane.csv"), "--max-edge", "-1"}},
      {"a missing file", {"terrain", "info", path("none.csv")}},
      {"--terrain instead of FILE", {"terrain", "info", "--terrain", path("plane.csv")}},
  };
  for (const auto& [what, args] : bad) expectOneLineFailure(run(args), what);
}

}  // namespace
}  // namespace trazmark
