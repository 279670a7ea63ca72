// `trazmark-cli table`: each table's CSV read back equals what the other
// commands print for the same road, and the PDFs are whole documents.

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <iterator>
#include <sstream>
#include <map>
#include <string>
#include <vector>

#include "cli/CliTestSupport.h"
#include "alignment/RoadDesign.h"
#include "alignment/RoadDesign_CrossPoint.h"
#include "library/InputRoadLibrary.h"
#include "platform/TextFields.h"

namespace trazmark::test {
namespace {

class TableCli : public CliFixture {};

// North 400 m, a right curve (spirals 60, arc R 300 of 150 m, spiral 60), a
// line; grade points with a crest; a lane and a verge a side, the right lane
// tilting from -2 % to +4 % between 200 and 300; a short broken chain at 500.
std::string writeRoad(const std::string& path) {
  CInputRoadLibrary road;
  road.FlatcurveType = kFlatcurveElements;
  auto element = [&](int type, double length, double radius) {
    Road_Element e;
    e.Type = type;
    e.Length = length;
    e.Radius = radius;
    road.elements.append(e);
  };
  element(1, 0, 0);
  element(2, 400, 0);
  element(4, 60, 0);
  element(3, 150, 300);
  element(4, 60, 0);
  element(2, 330, 0);
  for (auto [m, h, r] : {std::tuple{0.0, 100.0, 0.0}, {500.0, 110.0, 8000.0}, {1050.0, 104.0, 0.0}}) {
    CVerticalCurveCal p;
    p.Mileage = m;
    p.High = h;
    p.Radius = r;
    road.verticalCurves.append(p);
  }
  Scisson_Data chain;
  chain.Type = 1;
  chain.Length = 20;
  chain.Before_mileage = 700;
  chain.After_mileage = 720;
  road.scissons.append(chain);
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

std::vector<std::string> splitCsv(const std::string& line) {
  std::vector<std::string> out(1);
  for (char c : line) {
    if (c == ',') out.emplace_back();
    else out.back() += c;
  }
  return out;
}

// The CSV's rows after its header, cells split (the tables' cells here hold no
// commas or quotes).
std::vector<std::vector<std::string>> readCsv(const std::string& text) {
  EXPECT_EQ(text.rfind("\xEF\xBB\xBF", 0), 0u) << "no byte-order mark";
  std::vector<std::vector<std::string>> rows;
  for (const std::string& line : splitLines(text.substr(3))) rows.push_back(splitCsv(line));
  return rows;
}

double num(const std::string& s) { return parseDecimal(s); }

TEST_F(TableCli, StakesEqualTheStakeListWithElevations) {
  const std::string road = writeRoad(path("r.REC"));
  ASSERT_EQ(run({"table", "stakes", road, "-o", path("s.csv"), "--lang", "en"}).exitCode, 0);
  const auto rows = readCsv(read("s.csv"));
  const CliRun stakes = run({"stakes", road, "--elevations"});
  ASSERT_EQ(stakes.exitCode, 0) << stakes.err;
  const auto lines = splitLines(stakes.out);
  ASSERT_EQ(rows.size(), lines.size() + 1);
  EXPECT_EQ(rows[0][0], "Stake");
  EXPECT_EQ(rows[0][5], "Design elevation");
  for (std::size_t i = 0; i < lines.size(); ++i) {
    // name,X,Y,Z,mileage,kind,azimuth
    const auto f = splitCsv(lines[i]);
    const auto& r = rows[i + 1];
    SCOPED_TRACE(lines[i]);
    EXPECT_EQ(r[0], f[0]);
    EXPECT_NEAR(num(r[1]), num(f[4]), 1e-4);
    EXPECT_NEAR(num(r[2]), num(f[1]), 1e-4);
    EXPECT_NEAR(num(r[3]), num(f[2]), 1e-4);
    EXPECT_NEAR(num(r[5]), num(f[3]), 1e-3);
  }
}

TEST_F(TableCli, CurvesOfARoadOfElementsEqualTheKeyPoints) {
  const std::string road = writeRoad(path("r.REC"));
  ASSERT_EQ(run({"table", "curves", road, "-o", path("c.csv")}).exitCode, 0);
  const auto rows = readCsv(read("c.csv"));
  const auto keys = splitLines(run({"keypoints", road}).out);
  // Each element starts at a key point (QD, ZH, HY, YH, HZ): station, X, Y.
  ASSERT_EQ(rows.size(), 1 + 5u);
  EXPECT_EQ(rows[0][0], "线元类型");  // Chinese unless asked otherwise
  std::vector<std::vector<std::string>> starts;
  for (const std::string& k : keys)
    if (k.rfind("QZ", 0) != 0 && k.rfind("ZD", 0) != 0) starts.push_back(splitCsv(k));
  ASSERT_EQ(starts.size(), 5u);
  for (std::size_t i = 0; i < starts.size(); ++i) {
    EXPECT_NEAR(num(rows[i + 1][1]), num(starts[i][1]), 1e-4) << i;
    EXPECT_NEAR(num(rows[i + 1][8]), num(starts[i][2]), 1e-4) << i;
    EXPECT_NEAR(num(rows[i + 1][9]), num(starts[i][3]), 1e-4) << i;
  }
  EXPECT_EQ(rows[3][0], "圆曲线");
}

TEST_F(TableCli, GradesEqualTheProfile) {
  const std::string road = writeRoad(path("r.REC"));
  ASSERT_EQ(run({"table", "grades", road, "-o", path("g.csv"), "--lang", "en"}).exitCode, 0);
  const auto rows = readCsv(read("g.csv"));
  ASSERT_EQ(rows.size(), 4u);
  // The curve's ends lie on the profile.
  for (int col : {10, 12}) {
    const CliRun p = run({"profile", road, "--station", rows[2][col]});
    ASSERT_EQ(p.exitCode, 0) << p.err;
    const auto f = splitCsv(splitLines(p.out).at(0));
    EXPECT_NEAR(num(rows[2][col + 1]), num(f[1]), 1e-3) << rows[0][col];
  }
  // The grades: (110 − 100)/500 and (104 − 110)/530, the short chain's 20 m
  // of displayed stations not being road.
  const double i2 = -6.0 / 530;
  EXPECT_NEAR(num(rows[2][8]), 2.0, 1e-3);
  EXPECT_NEAR(num(rows[2][9]), i2 * 100, 1e-3);
  EXPECT_EQ(rows[2][3], "Crest (circle)");
  // T = R·tan(|atan i1 − atan i2|/2) along the grade before, in station metres.
  EXPECT_NEAR(num(rows[2][5]), 8000 * std::tan((std::atan(0.02) - std::atan(i2)) / 2) * std::cos(std::atan(0.02)),
              1e-3);
  EXPECT_NEAR(num(rows[2][14]), 530, 1e-3);  // the grade's length
}

TEST_F(TableCli, SubgradeAndSuperelevationEqualTheSection) {
  const std::string road = writeRoad(path("r.REC"));
  ASSERT_EQ(run({"table", "subgrade", road, "-o", path("sub.csv"), "--lang", "en"}).exitCode, 0);
  ASSERT_EQ(run({"table", "superelevation", road, "-o", path("sup.csv"), "--lang", "en"}).exitCode, 0);
  const auto sub = readCsv(read("sub.csv"));
  const auto sup = readCsv(read("sup.csv"));
  // Without ground the ground, fill and cut cells are blank.
  EXPECT_EQ(sub[1][1], "");
  EXPECT_EQ(sub[1][3], "");
  // Station, then per component of the left and the right: width, edge elevation.
  EXPECT_EQ(sub[0][5], "Left width lane");
  int checked = 0;
  for (std::size_t i = 1; i < sub.size(); i += 7) {
    const CliRun s = run({"section", road, sub[i][0], "--csv"});
    ASSERT_EQ(s.exitCode, 0) << s.err;
    std::map<std::string, std::vector<std::string>> edges;
    for (const std::string& line : splitLines(s.out)) {
      const auto f = splitCsv(line);
      if (f.size() >= 6 && (f[0] == "L" || f[0] == "R")) edges[f[0] + f[1]] = f;
    }
    ASSERT_TRUE(edges.count("Llane") && edges.count("Rverge")) << s.out;
    EXPECT_NEAR(num(sub[i][5]), num(edges["Llane"][2]), 1e-3);
    EXPECT_NEAR(num(sub[i][6]), num(edges["Llane"][5]), 1e-3);
    EXPECT_NEAR(num(sub[i][11]), num(edges["Rverge"][2]), 1e-3);
    EXPECT_NEAR(num(sub[i][12]), num(edges["Rverge"][5]), 1e-3);
    ++checked;
  }
  EXPECT_GT(checked, 5);
  // Superelevation: rows only where the right lane is not standard, and at
  // both change points.
  ASSERT_GT(sup.size(), 2u);
  EXPECT_NEAR(num(sup[1][0]), 200, 1e-4);
  EXPECT_EQ(sup[1][1], "*");
  for (std::size_t i = 1; i < sup.size(); ++i) {
    const CliRun s = run({"section", road, sup[i][0], "--csv"});
    for (const std::string& line : splitLines(s.out)) {
      const auto f = splitCsv(line);
      if (f.size() >= 4 && f[0] == "R" && f[1] == "lane") {
        EXPECT_NEAR(num(sup[i][6]), num(f[3]), 1e-3) << sup[i][0];
      }
    }
  }
  EXPECT_NEAR(num(sup.back()[6]), 4, 1e-3);
}

TEST_F(TableCli, SubgradeOverTheGroundGivesTheSectionsCatchPoints) {
  // The road with fill slopes of 1:1.5 on both sides over flat ground at 95 m.
  CInputRoadLibrary road;
  ASSERT_TRUE(road.readRoadFile(writeRoad(path("r.REC"))));
  for (int side = 0; side < 2; ++side) {
    Road_Slope slope;
    slope.LeftRight = side;
    slope.Type = 1;
    slope.SlopeName = side ? "fill-right" : "fill-left";
    slope.StartMileage = 0;
    slope.EndMileage = 1050;
    Road_Slope_Item item;
    item.SlopeName = slope.SlopeName;
    item.ItemName = "1";
    item.Mode = 0;
    item.SlopeH = 30;
    item.SlopeScale = 1.5;
    slope.items.append(item);
    road.slopes.append(slope);
  }
  ASSERT_TRUE(road.writeRoadFile(path("g.REC")));
  std::string points;
  for (int x = -100; x <= 1300; x += 50)
    for (int y = -200; y <= 500; y += 50) points += std::to_string(x) + "," + std::to_string(y) + ",95\n";
  write("ground.xyz", points);
  const CliRun r = run({"table", "subgrade", path("g.REC"), "--terrain", path("ground.xyz"), "--interval", "100",
                        "-o", path("sub.csv"), "--lang", "en"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const auto sub = readCsv(read("sub.csv"));
  ASSERT_GT(sub.size(), 10u);
  const std::size_t catchLeft = sub[0].size() - 2;
  EXPECT_EQ(sub[0][catchLeft], "Left catch offset");
  for (std::size_t i = 1; i < sub.size(); i += 3) {
    SCOPED_TRACE(sub[i][0]);
    EXPECT_NEAR(num(sub[i][1]), 95, 1e-3);
    EXPECT_NEAR(num(sub[i][3]), num(sub[i][2]) - 95, 1e-3);  // fill = design - ground
    const CliRun s = run({"section", path("g.REC"), sub[i][0], "--terrain", path("ground.xyz"), "--csv"});
    ASSERT_EQ(s.exitCode, 0) << s.err;
    int found = 0;
    for (const std::string& line : splitLines(s.out)) {
      const auto f = splitCsv(line);
      if (f.size() >= 3 && f[0] == "CATCH") {
        EXPECT_NEAR(num(sub[i][catchLeft + (f[1] == "L" ? 0 : 1)]), num(f[2]), 1e-3) << line;
        ++found;
      }
    }
    EXPECT_EQ(found, 2) << s.out;
  }
}

TEST_F(TableCli, CurvesOfARoadOfPointsEqualTheKeyPoints) {
  // Right 30° with spirals of 50 and 70 m, then left 50° without spirals.
  CInputRoadLibrary road;
  road.FlatcurveType = kFlatcurveCrossPoints;
  const double deg = 3.141592653589793 / 180;
  const double xs[] = {0, 500, 500 + 600 * std::cos(30 * deg), 500 + 600 * std::cos(30 * deg) + 400 * std::cos(20 * deg)};
  const double ys[] = {0, 0, 600 * std::sin(30 * deg), 600 * std::sin(30 * deg) - 400 * std::sin(20 * deg)};
  const double radii[] = {0, 300, 200, 0}, in[] = {0, 50, 0, 0}, out[] = {0, 70, 0, 0};
  for (int i = 0; i < 4; ++i) {
    Road_CrossPoint p;
    p.point.X = xs[i];
    p.point.Y = ys[i];
    p.Radius = radii[i];
    p.CurveLength_Left = in[i];
    p.CurveLength_Right = out[i];
    road.crossPoints.append(p);
  }
  ASSERT_TRUE(road.writeRoadFile(path("jd.REC")));
  ASSERT_EQ(run({"table", "curves", path("jd.REC"), "-o", path("c.csv"), "--lang", "en"}).exitCode, 0);
  const auto rows = readCsv(read("c.csv"));
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[1][0], "QD");
  EXPECT_EQ(rows[2][0], "JD1");
  EXPECT_EQ(rows[4][0], "ZD");
  EXPECT_EQ(rows[2][4], "");            // not left
  EXPECT_NEAR(num(rows[2][5]), 30, 1e-5);  // right 30° (points kept to 0.1 mm), degrees in CSV
  EXPECT_NEAR(num(rows[3][4]), 50, 1e-5);  // left 50°
  std::map<std::string, double> keys;
  for (const std::string& line : splitLines(run({"keypoints", path("jd.REC")}).out)) {
    const auto f = splitCsv(line);
    keys[f[0]] = num(f[1]);
  }
  const char* spiralNames[] = {"ZH-01", "HY-01", "QZ-01", "YH-01", "HZ-01"};
  for (int k = 0; k < 5; ++k) {
    ASSERT_TRUE(keys.count(spiralNames[k])) << spiralNames[k];
    EXPECT_NEAR(num(rows[2][14 + k]), keys[spiralNames[k]], 1e-4) << spiralNames[k];
  }
  // The second curve without spirals: ZY, QZ, YZ (the engine numbers each name on its own).
  EXPECT_EQ(rows[3][15], "");
  EXPECT_EQ(rows[3][17], "");
  for (const auto& [name, col] : {std::pair{"ZY-01", 14}, {"QZ-02", 16}, {"YZ-01", 18}}) {
    ASSERT_TRUE(keys.count(name)) << name;
    EXPECT_NEAR(num(rows[3][col]), keys[name], 1e-4) << name;
  }
  EXPECT_NEAR(num(rows[4][3]), keys["ZD"], 1e-4);

  // The same points as an intersection-point file give the same table.
  CRoadDesign_CrossPoint method("");
  method.roadName = "jd";
  method.points = road.crossPoints;
  ASSERT_TRUE(method.writeText(path("jd.RP")));
  ASSERT_EQ(run({"table", "curves", path("jd.RP"), "-o", path("rp.csv"), "--lang", "en"}).exitCode, 0);
  EXPECT_EQ(read("rp.csv"), read("c.csv"));

  // And as an XY survey file (name X Y mileage; then name X Y radius Ls1 Ls2).
  std::string xy;
  for (int i = 0; i < 4; ++i) {
    xy += "P" + std::to_string(i) + " " + formatFixed(xs[i], 4) + " " + formatFixed(ys[i], 4) + " ";
    xy += i == 0 ? std::string("0") : formatFixed(radii[i], 4) + " " + formatFixed(in[i], 4) + " " + formatFixed(out[i], 4);
    xy += "\r\n";
  }
  write("jd.XY", xy);
  const CliRun fromXy = run({"table", "curves", path("jd.XY"), "-o", path("xy.csv"), "--lang", "en"});
  ASSERT_EQ(fromXy.exitCode, 0) << fromXy.err;
  EXPECT_EQ(read("xy.csv"), read("c.csv"));
}

TEST_F(TableCli, GradesOfARoadWithoutAnAlignment) {
  CInputRoadLibrary road;
  for (auto [m, h, r] : {std::tuple{0.0, 100.0, 0.0}, {300.0, 106.0, 5000.0}, {600.0, 103.0, 0.0}}) {
    CVerticalCurveCal p;
    p.Mileage = m;
    p.High = h;
    p.Radius = r;
    road.verticalCurves.append(p);
  }
  ASSERT_TRUE(road.writeRoadFile(path("v.REC")));
  ASSERT_EQ(run({"table", "grades", path("v.REC"), "-o", path("g.csv")}).exitCode, 0);
  const auto rows = readCsv(read("g.csv"));
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[1][8], "");  // no grade before the first point
  EXPECT_NEAR(num(rows[1][9]), 2, 1e-3);
  EXPECT_NEAR(num(rows[2][9]), -1, 1e-3);
  EXPECT_EQ(rows[3][9], "");  // nor after the last
  expectOneLineFailure(run({"table", "stakes", path("v.REC"), "-o", path("s.csv")}), "stakes without an alignment");
}

std::string capture(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, p)) > 0;) out.append(buffer, n);
    ::pclose(p);
  }
  return out;
}

TEST_F(TableCli, PdfPagesRepeatTheHeaderAndEmbedAChineseFont) {
  const std::string road = writeRoad(path("r.REC"));
  const CliRun r = run({"table", "stakes", road, "--interval", "1", "-o", path("s.pdf"), "--paper", "a4"});
  if (r.err.find("needs a build with the toolkit") != std::string::npos) GTEST_SKIP() << "no toolkit";
  ASSERT_EQ(r.exitCode, 0) << r.err;
  if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "poppler-utils missing";
  const std::string info = capture("pdfinfo " + shellQuote(path("s.pdf")));
  const std::size_t at = info.find("Pages:");
  ASSERT_NE(at, std::string::npos) << info;
  const int pages = std::atoi(info.c_str() + at + 6);
  // Some 1,060 stakes at 1 m, 27 rows an A4 page.
  EXPECT_GT(pages, 30);
  const std::string fonts = capture("pdffonts " + shellQuote(path("s.pdf")));
  EXPECT_NE(fonts.find("CJK"), std::string::npos) << fonts;
  // Every font embedded: the "emb" column, fifth from the end.
  for (const std::string& line : splitLines(fonts)) {
    std::istringstream in(line);
    std::vector<std::string> words{std::istream_iterator<std::string>(in), {}};
    if (words.size() < 6 || line.rfind("name", 0) == 0 || line[0] == '-') continue;
    EXPECT_EQ(words[words.size() - 5], "yes") << line;
  }
  for (int page : {1, pages}) {
    const std::string text = capture("pdftotext -f " + std::to_string(page) + " -l " + std::to_string(page) +
                                     " " + shellQuote(path("s.pdf")) + " -");
    EXPECT_NE(text.find("逐桩坐标表"), std::string::npos) << page;
    EXPECT_NE(text.find("桩号"), std::string::npos) << page;  // the header row
    // "page n of m" (the text extractor maps 页 to a radical of the same shape).
    EXPECT_NE(text.find("第 " + std::to_string(page) + " "), std::string::npos) << text;
    EXPECT_NE(text.find("共 " + std::to_string(pages) + " "), std::string::npos) << text;
  }
  for (const char* kind : {"curves", "grades", "subgrade", "superelevation"}) {
    ASSERT_EQ(run({"table", kind, road, "-o", path("t.pdf"), "--lang", "en"}).exitCode, 0) << kind;
    const std::string text = capture("pdftotext " + shellQuote(path("t.pdf")) + " -");
    EXPECT_NE(text.find("page 1 of "), std::string::npos) << kind << text;
    EXPECT_NE(text.find("Road: r"), std::string::npos) << kind << text;
    EXPECT_NE(text.find("K0+"), std::string::npos) << kind << text;  // stations with their chains
  }
}

TEST_F(TableCli, BadRequestsGiveOneErrorLine) {
  const std::string road = writeRoad(path("r.REC"));
  write("a.RP", "");
  expectOneLineFailure(run({"table", "bends", road, "-o", path("x.csv")}), "unknown table");
  expectOneLineFailure(run({"table", "stakes", road, "-o", path("x.txt")}), "unknown output");
  expectOneLineFailure(run({"table", "stakes", road}), "no output");
  expectOneLineFailure(run({"table", "grades", path("a.RP"), "-o", path("x.csv")}), "grades of no road file");
  expectOneLineFailure(run({"table", "stakes", road, "--interval", "0", "-o", path("x.csv")}), "interval 0");
}

}  // namespace
}  // namespace trazmark::test
