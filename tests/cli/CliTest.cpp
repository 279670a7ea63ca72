// Runs the built trazmark-cli on files made by the program's own writers and
// checks what an engineer or a script sees: the output, one error line on
// standard error and the exit code.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "alignment/CurveFile.h"
#include "cli/CliTestSupport.h"
#include "alignment/RoadDesign_CrossPoint.h"
#include "library/InputRoadLibrary.h"
#include "vertical/VerticalCurveFile.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

using Result = test::CliRun;
constexpr auto quote = &test::shellQuote;
const char* const kProgram = test::kCliProgram;

constexpr auto lines = &test::splitLines;

std::vector<std::string> fields(const std::string& line) {
  std::vector<std::string> out;
  std::istringstream in(line);
  for (std::string f; std::getline(in, f, ',');) out.push_back(f);
  return out;
}

class CliTest : public test::CliFixture {
 protected:
  // Start point, line, spiral, arc (R 300 right), spiral, line.
  std::string writeSCurve(double startChainage) const {
    CCurveFileWriter w(CurveFileKind::RP);
    w.writeHeader(startChainage, "test");
    w.writeStartPoint(1000, 2000);
    w.writeLine(200, 30);
    w.writeSpiral(80, std::sqrt(80.0 * 300));
    w.writeArc(150, 300);
    w.writeSpiral(80, std::sqrt(80.0 * 300));
    w.writeLine(300, 0);
    EXPECT_TRUE(w.save(path("road.TDFE")));
    return path("road.TDFE");
  }

  // A straight of 2 km heading east from (0, 0) at mileage 0.
  std::string writeStraight() const {
    CCurveFileWriter w(CurveFileKind::RP);
    w.writeHeader(0, "straight");
    w.writeStartPoint(0, 0);
    w.writeLine(2000, 90);
    EXPECT_TRUE(w.save(path("straight.TDFE")));
    return path("straight.TDFE");
  }
};

TEST_F(CliTest, UsageAndArgumentErrors) {
  Result help = run({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("usage: trazmark-cli"), std::string::npos);
  EXPECT_NE(run({}).exitCode, 0);

  const std::string curve = writeSCurve(0);
  CCurveFileWriter longRoad(CurveFileKind::RP);
  longRoad.writeHeader(0, "a million kilometres");
  longRoad.writeStartPoint(0, 0);
  longRoad.writeLine(1e9, 90);
  ASSERT_TRUE(longRoad.save(path("long.TDFE")));
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"unknown command", {"frobnicate", curve}},
      {"unknown option", {"keypoints", curve, "--fast"}},
      {"missing file", {"keypoints", path("nothing.TDFE")}},
      {"missing road file", {"info", path("nothing.REC")}},
      {"bad interval", {"stakes", curve, "--interval", "2O"}},
      {"bad offset", {"stakes", curve, "--offset", "1,5"}},
      {"bad station", {"point", curve, "12x"}},
      {"bad chain", {"point", curve, "100", "--chain", "1050-1000"}},
      {"bad side", {"point", curve, "100", "--side", "left"}},
      {"zero interval", {"stakes", curve, "--interval", "0", "--mode", "distance"}},
      {"negative interval", {"stakes", curve, "--interval", "-20"}},
      {"interval below 1 by number", {"stakes", curve, "--interval", "0.5", "--mode", "number"}},
      {"infinite interval", {"stakes", curve, "--interval", "inf"}},
      {"bad mode", {"stakes", curve, "--mode", "both"}},
      {"option without value", {"stakes", curve, "--interval"}},
      {"station off the road", {"point", curve, "99999"}},
      {"stake list too long", {"stakes", path("long.TDFE"), "--interval", "1"}},
      {"stakes into a folder", {"stakes", curve, "-o", dir_.string()}},
  };
  for (const auto& [what, args] : cases) expectOneLineFailure(run(args), what);

  // Output that cannot be written is a failure, not a result.
  const std::string full = quote(kProgram) + " keypoints " + quote(curve) + " >/dev/full 2>" +
                           quote(path("stderr.txt"));
  int status = std::system(full.c_str());
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) != 0);
  EXPECT_NE(read("stderr.txt").find("cannot write to standard output"), std::string::npos);
}

TEST_F(CliTest, KeypointsOfSpiralCurve) {
  Result r = run({"keypoints", writeSCurve(100)});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<std::string> names;
  double previous = -1;
  for (const auto& line : lines(r.out)) {
    auto f = fields(line);
    ASSERT_EQ(f.size(), 4u) << line;
    names.push_back(f[0]);
    double mileage = std::stod(f[1]);
    EXPECT_GT(mileage, previous) << line;
    previous = mileage;
  }
  EXPECT_EQ(names, (std::vector<std::string>{"QD", "ZH-01", "HY-01", "QZ-01", "YH-01", "HZ-01", "ZD"}));
  ASSERT_FALSE(r.out.empty());
  EXPECT_EQ(lines(r.out).front(), "QD,100.0000,1000.0000,2000.0000");
  EXPECT_EQ(fields(lines(r.out)[1])[1], "300.0000");       // 100 + 200 of straight
  EXPECT_EQ(fields(lines(r.out).back())[1], "910.0000");  // + 80 + 150 + 80 + 300
}

TEST_F(CliTest, StakesCountFromWholeNumbersOrFromTheStart) {
  const std::string curve = writeSCurve(34.5);
  auto firstRegular = [&](const std::string& mode) {
    Result r = run({"stakes", curve, "--mode", mode, "--interval", "20"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    auto all = lines(r.out);
    EXPECT_FALSE(all.empty());
    if (all.empty()) return std::string();
    EXPECT_EQ(fields(all.front())[0], "QD");
    EXPECT_EQ(fields(all.front())[4], "34.5000");
    for (const auto& line : all) {
      auto f = fields(line);
      EXPECT_EQ(f.size(), 7u) << line;
      if (f.size() == 7 && f[5] == "2") return f[4];
    }
    return std::string();
  };
  EXPECT_EQ(firstRegular("number"), "40.0000");
  EXPECT_EQ(firstRegular("distance"), "54.5000");

  // -o writes the same list as standard output.
  Result toStdout = run({"stakes", curve, "--interval", "20"});
  Result toFile = run({"stakes", curve, "--interval", "20", "-o", path("stakes.txt")});
  EXPECT_EQ(toFile.exitCode, 0) << toFile.err;
  EXPECT_TRUE(toFile.out.empty());
  EXPECT_EQ(read("stakes.txt"), toStdout.out);
}

// --offset D writes the side stakes D metres right of travel: the same
// records as the centre-line list, each moved along the normal by D.
TEST_F(CliTest, StakesAtAnOffsetLieBesideTheCentreLine) {
  const std::string curve = writeSCurve(0);
  const Result centre = run({"stakes", curve, "--interval", "20"});
  ASSERT_EQ(centre.exitCode, 0) << centre.err;
  for (double offset : {2.5, -3.75}) {
    SCOPED_TRACE(offset);
    const Result side =
        run({"stakes", curve, "--interval", "20", "--offset", std::to_string(offset)});
    ASSERT_EQ(side.exitCode, 0) << side.err;
    const auto a = lines(centre.out), b = lines(side.out);
    ASSERT_EQ(a.size(), b.size());
    for (std::size_t k = 0; k < a.size(); ++k) {
      const auto fa = fields(a[k]), fb = fields(b[k]);
      ASSERT_EQ(fa.size(), 7u);
      ASSERT_EQ(fb.size(), 7u);
      EXPECT_EQ(fa[0], fb[0]);
      EXPECT_EQ(fa[4], fb[4]) << "the same stations";
      EXPECT_EQ(fa[6], fb[6]) << "the azimuth of the centre line";
      // Right of travel is azimuth + 90 degrees.
      const double dms = std::stod(fa[6]);
      const double deg = std::floor(dms) + std::floor(std::fmod(dms, 1) * 100 + 1e-9) / 60 +
                         (std::fmod(dms * 100, 1) * 100) / 3600;
      const double az = deg * M_PI / 180;
      EXPECT_NEAR(std::stod(fb[1]), std::stod(fa[1]) - offset * std::sin(az), 2e-4) << b[k];
      EXPECT_NEAR(std::stod(fb[2]), std::stod(fa[2]) + offset * std::cos(az), 2e-4) << b[k];
    }
  }
  // Heading east, right of travel is south: X falls by the offset.
  const Result east = run({"stakes", writeStraight(), "--interval", "500", "--offset", "2.5"});
  ASSERT_EQ(east.exitCode, 0) << east.err;
  for (const auto& line : lines(east.out)) EXPECT_EQ(fields(line)[1], "-2.5000") << line;
}

// plan draws PNG only: any other name is refused before anything is
// written, and a picture of that name stays as it was.
TEST_F(CliTest, PlanRefusesAPictureNameItCannotWrite) {
  const std::string curve = writeStraight();
  // PNG, SVG, PDF and DXF are written; any other name is refused and an
  // existing file of that name is left alone.
  write("old.jpg", "JPEG");
  for (const char* name : {"old.jpg", "plan.jpg", "plan", "plan.png.txt", "plan.svgz"}) {
    SCOPED_TRACE(name);
    const Result r = run({"plan", curve, "-o", path(name)});
    if (r.err.find("without Qt") != std::string::npos)
      GTEST_SKIP() << "no map drawing in this build";
    expectOneLineFailure(r, name);
    EXPECT_NE(r.err.find("PNG"), std::string::npos) << r.err;
  }
  EXPECT_EQ(read("old.jpg"), "JPEG");
  EXPECT_FALSE(fs::exists(path("plan.jpg")));
  EXPECT_FALSE(fs::exists(path("plan")));
  // The profile and section drawings have no DXF.
  for (const char* verb : {"profile-plot", "section-plot"}) {
    const Result r = run({verb, curve, "-o", path("x.dxf")});
    expectOneLineFailure(r, verb);
    EXPECT_FALSE(fs::exists(path("x.dxf")));
  }
}

TEST_F(CliTest, PointOnBothBranchesOfLongChain) {
  const std::string straight = writeStraight();
  // "X=… Y=… azimuth=…" exactly; the packed azimuth carries the stake lists'
  // rounding nudge, so it is checked to 1e-8.
  auto point = [&](std::vector<std::string> extra) {
    std::vector<std::string> args{"point", straight};
    args.insert(args.end(), extra.begin(), extra.end());
    Result r = run(args);
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::size_t dms = r.out.find(" dms=");
    EXPECT_NE(dms, std::string::npos) << r.out;
    if (dms == std::string::npos) return r.out;
    EXPECT_NEAR(std::stod(r.out.substr(dms + 5)), 90.0, 1e-8) << r.out;
    return r.out.substr(0, dms);
  };
  // The road heads east: Y is the continuous mileage, right of travel is south.
  EXPECT_EQ(point({"500"}), "X=0.0000 Y=500.0000 azimuth=90.00000000");
  EXPECT_EQ(point({"500", "--offset", "2.5"}), "X=-2.5000 Y=500.0000 azimuth=90.00000000");
  // A long chain 1050 -> 1000 shows 1020 twice: at 1020 and 50 m further on.
  EXPECT_EQ(point({"1020", "--side", "before", "--chain", "1050:1000"}),
            "X=0.0000 Y=1020.0000 azimuth=90.00000000");
  EXPECT_EQ(point({"1020", "--side", "after", "--chain", "1050:1000"}),
            "X=0.0000 Y=1070.0000 azimuth=90.00000000");
  // A short chain 1000 -> 1050 skips: 1060 lies 10 m after the break.
  EXPECT_EQ(point({"1060", "--chain", "1000:1050"}), "X=0.0000 Y=1010.0000 azimuth=90.00000000");

  // Negative stations are stations, not options; this one lies before the road.
  Result before = run({"point", straight, "-5"});
  expectOneLineFailure(before, "station before the start");
  EXPECT_NE(before.err.find("station -5.0000"), std::string::npos) << before.err;
}

// A road with every list the summary counts, the element method in force.
void fillRoad(RoadDataSet& road) {
  road.FlatcurveType = kFlatcurveElements;
  road.scissons.append({0, 50, 1050, 1000});
  Road_Element e;
  e.Type = 1;
  e.point.X = 100;
  e.point.Y = 200;
  e.Mileage = 10;
  road.elements.append(e);
  e = Road_Element{};
  e.Type = 2;
  e.Azimuth = 45;
  e.Length = 300;
  road.elements.append(e);
  e = Road_Element{};
  e.Type = 3;
  e.Length = 100;
  e.Radius = -500;
  road.elements.append(e);
  road.crossPoints.append(Road_CrossPoint{});  // not written: elements are in force
  CVerticalCurveCal v;
  v.Mileage = 10;
  v.High = 50;
  road.verticalCurves.append(v);
  v.Mileage = 200;
  v.High = 54;
  v.Radius = 2000;
  road.verticalCurves.append(v);
  v.Mileage = 410;
  v.High = 52;
  v.Radius = 0;
  road.verticalCurves.append(v);
  Road_Section_Item s;
  s.setModuleName("\xe8\xa1\x8c\xe8\xbd\xa6\xe9\x81\x93");  // lane, in UTF-8
  s.LeftOrRight = 0;
  s.Width = 3.75;
  road.leftSections.append(s);
  s.LeftOrRight = 1;
  road.rightSections.append(s);
  road.rightSections.append(s);
  Road_Slope slope;
  slope.SlopeName = "cut";
  slope.items.append({"cut", "step", 0, 8, 1.5, 0});
  road.slopes.append(slope);
  Road_Super_Item super;
  super.SectionName = "lane";
  super.values.append({100, 2, 0, 0});
  road.superHighs.append(super);
  road.widens.append(super);
  road.widens.append(super);
}

TEST_F(CliTest, InfoAndResaveOfRoadFile) {
  CInputRoadLibrary road;
  fillRoad(road);
  ASSERT_TRUE(road.writeRoadFile(path("road.REC")));

  Result info = run({"info", path("road.REC")});
  ASSERT_EQ(info.exitCode, 0) << info.err;
  for (const char* expected :
       {"horizontal method  elements (1)\n", "broken chains      1\n", "intersection pts   0\n",
        "elements           3\n", "grade points       3\n", "left sections      1\n",
        "right sections     2\n", "section changes    0\n", "slopes             1\n",
        "superelevation     1\n", "widening           2\n", "start mileage      10.0000\n",
        "end displayed      410.0000\n", "end continuous     410.0000\n"})
    EXPECT_NE(info.out.find(expected), std::string::npos) << expected << "in\n" << info.out;

  Result resave = run({"resave", path("road.REC"), path("again.REC")});
  EXPECT_EQ(resave.exitCode, 0) << resave.err;
  EXPECT_EQ(read("again.REC"), read("road.REC"));

  write("bad.REC", "this is no road file\r\n");
  expectOneLineFailure(run({"info", path("bad.REC")}), "info of a text file");
  write("other.REC", "<?xml version=\"1.0\"?>\r\n<Other/>\r\n");
  expectOneLineFailure(run({"info", path("other.REC")}), "info of another XML file");
  expectOneLineFailure(run({"resave", path("bad.REC"), path("out.REC")}), "resave of a bad file");
  EXPECT_FALSE(fs::exists(path("out.REC")));
  expectOneLineFailure(run({"resave", path("road.REC"), path("no/such/folder/out.REC")}),
                       "resave into a missing folder");
}

// Inputs the road-file fuzzer found: whatever resave reads from them, it
// writes in a form that a second resave leaves byte-identical.
TEST_F(CliTest, ResaveOfFuzzFindingsIsStable) {
  int replayed = 0;
  for (const auto& entry : fs::directory_iterator(TRAZMARK_TEST_DATA "/fuzz")) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("roadfile-", 0) != 0) continue;
    ++replayed;
    Result first = run({"resave", entry.path().string(), path("first.REC")});
    if (first.exitCode != 0) {
      expectOneLineFailure(first, name);
      continue;
    }
    Result second = run({"resave", path("first.REC"), path("second.REC")});
    EXPECT_EQ(second.exitCode, 0) << name << ": " << second.err;
    EXPECT_EQ(read("second.REC"), read("first.REC")) << name;
  }
  EXPECT_GT(replayed, 0);

  // Two slopes of one name share the items of that name, which are stored once.
  Result resave = run({"resave", TRAZMARK_TEST_DATA "/fuzz/roadfile-duplicate-slope-name.REC",
                       path("slopes.REC")});
  ASSERT_EQ(resave.exitCode, 0) << resave.err;
  const std::string text = read("slopes.REC");
  std::size_t items = 0;
  for (std::size_t at = text.find("<Slope_Item_Array>"); at != std::string::npos;
       at = text.find("<Slope_Item_Array>", at + 1))
    ++items;
  EXPECT_EQ(items, 1u) << text;
}

TEST_F(CliTest, CurveOfIntersectionPointFile) {
  CRoadDesign_CrossPoint method(path("settings"));
  method.roadName = "rp";
  auto add = [&](double x, double y, double radius, double spiral) {
    Road_CrossPoint p;
    p.point.X = x;
    p.point.Y = y;
    p.Radius = radius;
    p.CurveLength_Left = p.CurveLength_Right = spiral;
    method.points.append(p);
  };
  add(0, 0, 0, 0);
  add(1000, 0, 300, 80);
  add(1500, 600, 0, 0);
  ASSERT_TRUE(method.writeText(path("road.RP")));

  Result r = run({"curve", path("road.RP"), "-o", path("road.RP.TDFE")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(read("road.RP.TDFE").rfind("CURVE FILE(RP) Ver1.0\r\n", 0), 0u);
  Result keys = run({"keypoints", path("road.RP.TDFE")});
  ASSERT_EQ(keys.exitCode, 0) << keys.err;
  EXPECT_EQ(lines(keys.out).size(), 7u) << keys.out;

  // Two points make no curve: one clear line, and no curve file.
  method.points.removeAt(2);
  ASSERT_TRUE(method.writeText(path("short.RP")));
  Result twoPoints = run({"curve", path("short.RP"), "-o", path("short.TDFE")});
  expectOneLineFailure(twoPoints, "curve of two points");
  EXPECT_NE(twoPoints.err.find("fewer than three"), std::string::npos) << twoPoints.err;
  expectOneLineFailure(run({"curve", path("road.RP")}), "curve without -o");

  // Curves whose tangents overlap: the line names both points and the overlap.
  method.points.clear();
  add(0, 0, 0, 0);
  add(1000, 0, 300, 80);
  add(1000, 300, 300, 80);
  add(2000, 300, 0, 0);
  method.points[1].point.Name = "JD1";
  method.points[2].point.Name = "JD2";
  ASSERT_TRUE(method.writeText(path("overlap.RP")));
  Result overlap = run({"keypoints", path("overlap.RP")});
  expectOneLineFailure(overlap, "overlapping tangents");
  EXPECT_NE(overlap.err.find("the tangents of intersection points 2 (JD1) and 3 (JD2) overlap by "),
            std::string::npos)
      << overlap.err;

  // A negative radius: the line names the point, and no road with a kink is listed.
  method.points[2].point.Y = 1300;
  method.points[2].Radius = -300;
  ASSERT_TRUE(method.writeText(path("negative.RP")));
  Result negative = run({"keypoints", path("negative.RP")});
  expectOneLineFailure(negative, "negative radius");
  EXPECT_NE(negative.err.find("the radius of intersection point 3 (JD2) is negative (-300.0000)"),
            std::string::npos)
      << negative.err;
  EXPECT_EQ(negative.out, "");
}

TEST_F(CliTest, ProfileOfGradeLine) {
  // 100 at 0, up 2 % to 110 at 500, down 2 % to 100 at 1000; a crest of R 5000.
  RecordList<CVerticalCurveCal> points;
  CVerticalCurveCal v;
  v.High = 100;
  points.append(v);
  v.Mileage = 500;
  v.High = 110;
  v.Radius = 5000;
  points.append(v);
  v.Mileage = 1000;
  v.High = 100;
  v.Radius = 0;
  points.append(v);
  ASSERT_TRUE(writeVerticalCurveFile(path("line.VR"), points));

  auto at = [&](const std::string& station) {
    Result r = run({"profile", path("line.VR"), "--station", station});
    EXPECT_EQ(r.exitCode, 0) << station << ": " << r.err;
    return r.out;
  };
  EXPECT_EQ(at("250"), "250.000,105.000\n");
  EXPECT_EQ(at("750"), "750.000,105.000\n");
  // At the grade point the crest lies below it by T^2 / 2R, T = R * 0.04 / 2 = 100.
  EXPECT_EQ(at("500"), "500.000,109.000\n");

  Result sampled = run({"profile", path("line.VR"), "--interval", "250"});
  ASSERT_EQ(sampled.exitCode, 0) << sampled.err;
  // Sampled as the profile draws: from the first point while before the last.
  EXPECT_EQ(lines(sampled.out),
            (std::vector<std::string>{"0.000,100.000", "250.000,105.000", "500.000,109.000",
                                      "750.000,105.000"}));

  expectOneLineFailure(run({"profile", path("line.VR"), "--station", "1", "--interval", "2"}),
                       "profile with both station and interval");
  expectOneLineFailure(run({"profile", path("line.VR"), "--interval", "0"}),
                       "profile at a zero interval");
  write("empty.VR", "");
  expectOneLineFailure(run({"profile", path("empty.VR"), "--station", "1"}), "profile of an empty file");
}

}  // namespace
}  // namespace trazmark
