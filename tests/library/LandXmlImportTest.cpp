// LandXML files written by hand from the element definitions, and files the
// import must refuse. Spiral geometry comes from the road's own chaining
// written out by the export, then edited the way other exporters write it.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "library/LandXmlExport.h"
#include "library/LandXmlImport.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMm = 0.001;
constexpr double kTenthMm = 0.0001;

std::string landXml(const std::string& units, const std::string& alignmentBody,
                    const std::string& alignmentAttributes = "name=\"A1\" staStart=\"1000\"") {
  return "<?xml version=\"1.0\"?>\n"
         "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\">\n"
         "<Units>" + units + "</Units>\n"
         "<Alignments><Alignment " + alignmentAttributes + ">\n" + alignmentBody +
         "</Alignment></Alignments>\n</LandXML>\n";
}

const std::string kMetric = "<Metric linearUnit=\"meter\" angularUnit=\"radians\"/>";

// North 100 m, a quarter circle of radius 200 turning right, east 150 m.
// With rot ccw the same turn goes left: the centre and the rest lie west.
std::string lineArcLine(const char* rot, double side, const std::string& curveExtra = "",
                        const std::string& lengthAttr = "length=\"314.1592653590\"") {
  auto p = [](double n, double e) { return std::to_string(n) + " " + std::to_string(e); };
  return "<CoordGeom>\n"
         "<Line><Start>" + p(1000, 2000) + "</Start><End>" + p(1100, 2000) + "</End></Line>\n"
         "<Curve rot=\"" + std::string(rot) + "\" radius=\"200\" " + lengthAttr + " " + curveExtra + ">"
         "<Start>" + p(1100, 2000) + "</Start><Center>" + p(1100, 2000 + side * 200) +
         "</Center><End>" + p(1300, 2000 + side * 200) + "</End></Curve>\n"
         "<Line><Start>" + p(1300, 2000 + side * 200) + "</Start><End>" +
         p(1300, 2000 + side * 350) + "</End></Line>\n"
         "</CoordGeom>\n";
}

CRoadDesign designOf(const LandXmlAlignment& a) {
  CRoadDesign d;
  d.brokenChains = a.road.scissons;
  EXPECT_TRUE(d.loadFromRoad(a.name, a.startMileage, a.road.elements));
  return d;
}

LandXmlAlignment mustImport(const std::string& xml, const std::string& name = "") {
  LandXmlAlignment a;
  std::string error;
  EXPECT_TRUE(importLandXml(xml, name, a, error)) << error;
  return a;
}

TEST(LandXmlImport, LineCurveLineInEachRotationAndUnit) {
  const double usFoot = 1200.0 / 3937.0;
  struct Case {
    const char* what;
    std::string xml;
    double scale;   // metres per file unit
    double side;    // +1 right turn, -1 left
  } cases[] = {
      {"cw, metres", landXml(kMetric, lineArcLine("cw", 1)), 1, 1},
      {"ccw, metres", landXml(kMetric, lineArcLine("ccw", -1)), 1, -1},
      {"US survey feet",
       landXml("<Imperial linearUnit=\"USSurveyFoot\" angularUnit=\"decimal degrees\"/>",
               lineArcLine("cw", 1)), usFoot, 1},
      {"international feet", landXml("<Imperial linearUnit=\"foot\"/>", lineArcLine("ccw", -1)),
       0.3048, -1},
      {"grads, length from delta",
       landXml("<Metric linearUnit=\"meter\" angularUnit=\"grads\"/>",
               lineArcLine("cw", 1, "delta=\"100\"", "")), 1, 1},
      {"no length, no delta: swept from the points", landXml(kMetric, lineArcLine("ccw", -1, "", "")), 1, -1},
      {"no rot: the centre tells", landXml(kMetric, lineArcLine("", 1)), 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LandXmlAlignment a = mustImport(c.xml);
    EXPECT_EQ(a.road.FlatcurveType, kFlatcurveElements);
    EXPECT_EQ(a.name, "A1");
    ASSERT_EQ(a.road.elements.size(), 4u);
    EXPECT_NEAR(a.startMileage, 1000 * c.scale, 1e-9);
    EXPECT_EQ(a.road.elements[0].Type, 1);
    EXPECT_NEAR(a.road.elements[0].point.X, 1000 * c.scale, 1e-9);
    EXPECT_NEAR(a.road.elements[1].Length, 100 * c.scale, 1e-9);
    EXPECT_NEAR(a.road.elements[2].Radius, c.side * 200 * c.scale, 1e-9);
    EXPECT_NEAR(a.road.elements[2].Length, 100 * kPi * c.scale, 1e-6);
    EXPECT_NEAR(a.road.elements[3].Azimuth, c.side > 0 ? 90 : 270, 1e-9);
    CRoadDesign d = designOf(a);
    const SurveyCoord& end = d.keyPoints()[d.keyPoints().size() - 1];
    EXPECT_EQ(end.Name, "ZD");
    EXPECT_NEAR(end.X, 1300 * c.scale, kTenthMm);
    EXPECT_NEAR(end.Y, (2000 + c.side * 350) * c.scale, kTenthMm);
  }
}

TEST(LandXmlImport, PrefixedNamesAndPointReferences) {
  const std::string xml =
      "<lx:LandXML xmlns:lx=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\">"
      "<lx:CgPoints><lx:CgPoint name=\"P1\">1000 2000</lx:CgPoint>"
      "<lx:CgPoint name=\"P2\">1100 2000</lx:CgPoint></lx:CgPoints>"
      "<lx:Alignments><lx:Alignment name=\"first\"><lx:CoordGeom><lx:Line>"
      "<lx:Start>0 0</lx:Start><lx:End>1 0</lx:End></lx:Line></lx:CoordGeom></lx:Alignment>"
      "<lx:Alignment name=\"second\" staStart=\"5\"><lx:CoordGeom><lx:Line>"
      "<lx:Start pntRef=\"P1\"/><lx:End pntRef=\"P2\"/></lx:Line></lx:CoordGeom></lx:Alignment>"
      "</lx:Alignments></lx:LandXML>";
  LandXmlAlignment a = mustImport(xml, "second");
  EXPECT_EQ(a.name, "second");
  EXPECT_NEAR(a.startMileage, 5, 1e-12);
  ASSERT_EQ(a.road.elements.size(), 2u);
  EXPECT_NEAR(a.road.elements[0].point.X, 1000, 1e-12);
  EXPECT_NEAR(a.road.elements[1].Length, 100, 1e-12);
  EXPECT_EQ(mustImport(xml).name, "first");
}

// Element records of a road, chained by the road itself.
RecordList<Road_Element> elementRoad(const std::vector<std::pair<int, std::pair<double, double>>>& items) {
  RecordList<Road_Element> list;
  Road_Element start;
  start.Type = 1;
  start.point.X = 5000;
  start.point.Y = 8000;
  list.append(start);
  for (const auto& [type, values] : items) {
    Road_Element e;
    e.Type = type;
    e.Length = values.first;
    if (type == 2) e.Azimuth = values.second;
    if (type == 3) e.Radius = values.second;
    list.append(e);
  }
  return list;
}

std::string exported(const RecordList<Road_Element>& list) {
  CRoadDesign d;
  EXPECT_TRUE(d.loadFromRoad("R", 100, list));
  std::string xml, error;
  EXPECT_TRUE(exportLandXml(d, {}, "R", xml, error)) << error;
  return xml;
}

void expectSameKeyPoints(const CRoadDesign& want, const CRoadDesign& got, double tolerance) {
  ASSERT_EQ(want.keyPoints().size(), got.keyPoints().size());
  for (std::size_t k = 0; k < want.keyPoints().size(); ++k) {
    SCOPED_TRACE(want.keyPoints()[k].Name);
    EXPECT_EQ(want.keyPoints()[k].Name, got.keyPoints()[k].Name);
    EXPECT_NEAR(want.keyPoints()[k].X, got.keyPoints()[k].X, tolerance);
    EXPECT_NEAR(want.keyPoints()[k].Y, got.keyPoints()[k].Y, tolerance);
    EXPECT_NEAR(want.keyPointMileages()[k], got.keyPointMileages()[k], tolerance);
  }
}

TEST(LandXmlImport, SpiralsComeOutAsTheFileDrawsThem) {
  struct Case {
    const char* what;
    RecordList<Road_Element> road;
  } cases[] = {
      {"spiral, arc, spiral",
       elementRoad({{2, {200, 30}}, {4, {60, 0}}, {3, {150, 400}}, {4, {60, 0}}, {2, {300, 0}}})},
      {"reverse transition: spiral after spiral at INF",
       elementRoad({{2, {200, 30}}, {4, {60, 0}}, {3, {100, 300}}, {4, {50, 0}}, {4, {70, 0}},
                    {3, {120, -250}}, {4, {70, 0}}, {2, {100, 0}}})},
      {"spiral between two radii",
       elementRoad({{2, {200, 300}}, {4, {80, 0}}, {3, {100, -500}}, {4, {40, 0}},
                    {3, {90, -200}}, {4, {50, 0}}, {2, {100, 0}}})},
      {"ends in an arc", elementRoad({{2, {100, 10}}, {4, {40, 0}}, {3, {90, 300}}})},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CRoadDesign want;
    ASSERT_TRUE(want.loadFromRoad("R", 100, c.road));
    LandXmlAlignment a = mustImport(exported(c.road));
    expectSameKeyPoints(want, designOf(a), kTenthMm);
  }
}

TEST(LandXmlImport, SpiralsInUsSurveyFeet) {
  // The same numbers read as US survey feet draw the same road scaled.
  RecordList<Road_Element> road =
      elementRoad({{2, {200, 30}}, {4, {60, 0}}, {3, {150, 400}}, {4, {60, 0}}, {2, {300, 0}}});
  CRoadDesign want;
  ASSERT_TRUE(want.loadFromRoad("R", 100, road));
  std::string xml = exported(road);
  const std::string metric = "<Metric linearUnit=\"meter\"";
  xml.replace(xml.find(metric), metric.size(), "<Imperial linearUnit=\"USSurveyFoot\"");
  const double foot = 1200.0 / 3937.0;
  LandXmlAlignment a = mustImport(xml);
  CRoadDesign got = designOf(a);
  ASSERT_EQ(want.keyPoints().size(), got.keyPoints().size());
  for (std::size_t k = 0; k < want.keyPoints().size(); ++k) {
    EXPECT_NEAR(want.keyPoints()[k].X * foot, got.keyPoints()[k].X, kTenthMm);
    EXPECT_NEAR(want.keyPoints()[k].Y * foot, got.keyPoints()[k].Y, kTenthMm);
  }
  EXPECT_NEAR(a.road.elements[3].Radius, 400 * foot, 1e-9);
}

std::string without(std::string text, const std::string& from, const std::string& to) {
  std::size_t a = text.find(from);
  std::size_t b = text.find(to, a);
  EXPECT_NE(a, std::string::npos);
  EXPECT_NE(b, std::string::npos);
  return text.erase(a, b + to.size() - a);
}

TEST(LandXmlImport, SpiralsMeetingAtAFiniteRadiusGetTheShortestArc) {
  // Spiral into spiral with no arc between them, as some designs run a curve.
  RecordList<Road_Element> road =
      elementRoad({{2, {200, 30}}, {4, {60, 0}}, {3, {kShortestArc, 300}}, {4, {60, 0}}, {2, {200, 0}}});
  CRoadDesign want;
  ASSERT_TRUE(want.loadFromRoad("R", 100, road));
  const std::string xml = exported(road);
  const std::string noArc = without(xml, "<Curve", "</Curve>");
  std::string zeroArc = xml;
  zeroArc.replace(zeroArc.find("length=\"0.00010000\""), 19, "length=\"0\"");
  for (const std::string& file : {noArc, zeroArc}) {
    LandXmlAlignment a = mustImport(file);
    ASSERT_EQ(a.road.elements.size(), 6u);
    EXPECT_EQ(a.road.elements[3].Type, 3);
    EXPECT_NEAR(a.road.elements[3].Length, kShortestArc, 1e-12);
    EXPECT_NEAR(a.road.elements[3].Radius, 300, 1e-6);
    expectSameKeyPoints(want, designOf(a), kTenthMm);
  }
}

TEST(LandXmlImport, StationEquationsBothWays) {
  // The road runs from internal station 1000 to 1564.159. A gap of 20 at
  // 1050, then (on the displayed stations 20 ahead) an overlap of 20 at 1200.
  const std::string eq =
      "<StaEquation staBack=\"1050\" staAhead=\"1070\" staInternal=\"1050\" desc=\"increasing\"/>"
      "<StaEquation staBack=\"1220\" staAhead=\"1200\" desc=\"Increasing\"/>";
  LandXmlAlignment a = mustImport(landXml(kMetric, lineArcLine("cw", 1) + eq));
  ASSERT_EQ(a.road.scissons.size(), 2u);
  EXPECT_EQ(a.road.scissons[0].Type, 1);
  EXPECT_NEAR(a.road.scissons[0].Length, 20, 1e-12);
  EXPECT_EQ(a.road.scissons[1].Type, 0);
  EXPECT_NEAR(a.road.scissons[1].Before_mileage, 1220, 1e-12);
  EXPECT_NEAR(a.road.scissons[1].After_mileage, 1200, 1e-12);
  CRoadDesign d = designOf(a);
  EXPECT_NEAR(d.displayedFromContinuous(1300), 1300, 1e-9);
  EXPECT_NEAR(d.displayedFromContinuous(1100), 1120, 1e-9);
  EXPECT_NEAR(d.continuousFromDisplayed(1210, 1), 1210, 1e-9);
}

TEST(LandXmlImport, GradeLineOfEveryCurveKind) {
  const std::string profile =
      "<Profile><ProfAlign name=\"P\">"
      "<PVI>1000 50</PVI>"
      "<ParaCurve length=\"80\">1200 54</ParaCurve>"
      "<UnsymParaCurve lengthIn=\"40\" lengthOut=\"60\">1350 51</UnsymParaCurve>"
      "<CircCurve length=\"20\" radius=\"-3000\">1450 53</CircCurve>"
      "<CircCurve length=\"20\">1500 52</CircCurve>"
      "<PVI>1564 54</PVI>"
      "</ProfAlign></Profile>";
  const std::string eq = "<StaEquation staBack=\"1050\" staAhead=\"1070\" staInternal=\"1050\"/>";
  LandXmlAlignment a = mustImport(landXml(kMetric, lineArcLine("cw", 1) + eq + profile));
  const auto& v = a.road.verticalCurves;
  ASSERT_EQ(v.size(), 6u);
  // Internal stations become displayed ones: 20 ahead past the gap.
  EXPECT_NEAR(v[0].Mileage, 1000, 1e-9);
  EXPECT_NEAR(v[1].Mileage, 1220, 1e-9);
  EXPECT_NEAR(v[1].High, 54, 1e-12);
  EXPECT_EQ(v[1].CalMode, 1);
  EXPECT_NEAR(v[1].CurveL, 80, 1e-12);
  const double g1 = 4.0 / 200, g2 = -3.0 / 150;
  EXPECT_NEAR(v[1].Radius, 80 / std::fabs(g2 - g1), 1e-6);
  EXPECT_EQ(v[2].CalMode, 2);
  EXPECT_NEAR(v[2].InLength, 40, 1e-12);
  EXPECT_NEAR(v[2].OutLength, 60, 1e-12);
  EXPECT_EQ(v[3].CalMode, 0);
  EXPECT_NEAR(v[3].Radius, 3000, 1e-12);  // the sign says nothing
  EXPECT_EQ(v[4].CalMode, 0);
  const double turn = std::fabs(std::atan(2.0 / 64) - std::atan(-1.0 / 50));
  EXPECT_NEAR(v[4].Radius, 20 / turn, 1e-6);  // from the arc length
  EXPECT_EQ(v[5].CalMode, 0);
  EXPECT_EQ(v[5].Radius, 0);
}

TEST(LandXmlImport, GradeLineMayRunPastTheEnds) {
  LandXmlAlignment a = mustImport(landXml(
      kMetric, lineArcLine("cw", 1) +
                   "<Profile><ProfAlign><PVI>950 50</PVI><PVI>1600 53</PVI></ProfAlign></Profile>"));
  ASSERT_EQ(a.road.verticalCurves.size(), 2u);
  EXPECT_NEAR(a.road.verticalCurves[0].Mileage, 950, 1e-9);
}

// What exporters add around the road: a byte-order mark, comments, features
// with properties on every element, points with a feature list, a ground
// profile, and units with every attribute spelt their way. None of it changes
// the road, and none of it refuses the file.
TEST(LandXmlImport, FilesAsExportersWriteThem) {
  const std::string profile =
      "<Profile><ProfAlign name=\"P\"><PVI>1000 50</PVI>"
      "<ParaCurve length=\"80\">1200 54</ParaCurve><PVI>1400 51</PVI></ProfAlign></Profile>";
  const std::string plain = landXml(kMetric, lineArcLine("cw", 1) + profile);
  const std::string feature =
      "<Feature code=\"exporter\"><Property label=\"style\" value=\"x\"/></Feature><!-- note -->";
  const std::string richProfile =
      "<Profile><ProfSurf name=\"ground\"><PntList2D>1000 49 1400 50</PntList2D></ProfSurf>"
      "<ProfAlign name=\"P\">" + feature + "<PVI>1000 50" + feature + "</PVI>" + feature +
      "<ParaCurve length=\"80\">1200 54" + feature + "</ParaCurve><PVI>1400 51</PVI>" + feature +
      "</ProfAlign>" + feature + "</Profile>";
  // Features after the opening tag of every element of the geometry.
  auto decorated = [&](std::string xml) {
    for (const char* open : {"<Line>", "<Curve ", "<CoordGeom>", "<Alignment "})
      for (std::size_t at = xml.find(open); at != std::string::npos; at = xml.find(open, at + 1))
        xml.insert(xml.find('>', at) + 1, feature);
    xml.insert(xml.find("</CoordGeom>"), feature);
    return xml;
  };
  const std::string units =
      "<Metric areaUnit=\"squareMeter\" linearUnit=\" Meter \" volumeUnit=\"cubicMeter\" "
      "temperatureUnit=\"celsius\" pressureUnit=\"milliBars\" diameterUnit=\"millimeter\" "
      "angularUnit=\"Decimal  Degrees\" directionUnit=\"decimal  dd.mm.ss\" "
      "elevationUnit=\"meter\"/>";
  std::string rich = decorated(landXml(units, lineArcLine("cw", 1)));
  rich.insert(rich.find("</Alignment>"), richProfile);
  rich.insert(rich.find("<Alignments>"),
              "<CgPoints><CgPoint name=\"1\" code=\"TREE\">10 20<Feature code=\"f\"/></CgPoint>"
              "<CgPoint name=\"2\">11 21</CgPoint></CgPoints>"
              "<Surfaces><Surface name=\"ground\"/></Surfaces>");
  rich = "\xEF\xBB\xBF" + rich;

  const LandXmlAlignment expected = mustImport(plain);
  for (const auto& [what, xml] :
       {std::pair<const char*, std::string>{"decorated", rich},
        {"an angle unit the import does not know, the points give the arc",
         landXml("<Metric linearUnit=\"meter\" angularUnit=\"mils\" directionUnit=\"azimuth\"/>",
                 lineArcLine("cw", 1, "delta=\"1600\"", "") + profile)}}) {
    SCOPED_TRACE(what);
    const LandXmlAlignment a = mustImport(xml);
    ASSERT_EQ(a.road.elements.size(), expected.road.elements.size());
    for (std::size_t i = 0; i < a.road.elements.size(); ++i) {
      EXPECT_EQ(a.road.elements[i].Type, expected.road.elements[i].Type) << i;
      EXPECT_NEAR(a.road.elements[i].Length, expected.road.elements[i].Length, 1e-6) << i;
      EXPECT_NEAR(a.road.elements[i].Radius, expected.road.elements[i].Radius, 1e-9) << i;
    }
    ASSERT_EQ(a.road.verticalCurves.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
      EXPECT_NEAR(a.road.verticalCurves[i].Mileage, expected.road.verticalCurves[i].Mileage, 1e-9);
      EXPECT_NEAR(a.road.verticalCurves[i].High, expected.road.verticalCurves[i].High, 1e-9);
      EXPECT_EQ(a.road.verticalCurves[i].CalMode, expected.road.verticalCurves[i].CalMode);
    }
  }
}

TEST(LandXmlImport, RefusesWhatTheRoadCannotHold) {
  const std::string good = landXml(kMetric, lineArcLine("cw", 1));
  std::string spiral = exported(elementRoad({{2, {200, 30}}, {4, {60, 0}}, {3, {150, 400}}, {4, {60, 0}}, {2, {300, 0}}}));
  auto replaced = [](std::string text, const std::string& from, const std::string& to) {
    std::size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    return text.replace(at, from.size(), to);
  };
  struct Case {
    const char* what;
    std::string xml;
    std::string name;
    std::string message;  // a part of the error
  } cases[] = {
      {"unknown spiral type", replaced(spiral, "clothoid", "bloss"), "", "Spiral at line"},
      {"truncated", good.substr(0, good.size() / 2), "", "not a well-formed XML file"},
      {"Curve without Center", without(good, "<Center>", "</Center>"), "", "Curve at line 7: has no Center"},
      {"no CoordGeom", landXml(kMetric, ""), "", "Alignment at line 4: has no CoordGeom"},
      {"no such alignment", good, "B7", "no Alignment named 'B7' (it holds: 'A1')"},
      {"not LandXML", "<Road/>", "", "not a LandXML file"},
      {"unknown length unit", landXml("<Metric linearUnit=\"furlong\"/>", lineArcLine("cw", 1)), "", "furlong"},
      {"Line without End", without(good, "<End>1100", "</End>"), "", "Line at line 6: needs both its Start and its End"},
      {"spiral radius that does not meet the arc", replaced(spiral, "radiusEnd=\"400.00000000\"", "radiusEnd=\"350\""), "",
       "does not meet the element after it"},
      {"elements that do not join", replaced(good, "2200.000000</End></Curve>", "2200.500000</End></Curve>"), "", "Curve at line 7: its End point lies 0.5000 m"},
      {"other geometry", replaced(replaced(good, "<Line>", "<IrregularLine>"), "</Line>", "</IrregularLine>"), "", "IrregularLine at line 6"},
      {"decreasing stations", landXml(kMetric, lineArcLine("cw", 1) + "<StaEquation staBack=\"1050\" staAhead=\"1000\" desc=\"decreasing\"/>"), "", "StaEquation"},
      {"staInternal elsewhere", landXml(kMetric, lineArcLine("cw", 1) + "<StaEquation staBack=\"1050\" staAhead=\"1070\" staInternal=\"1049\"/>"), "", "staInternal"},
      {"grade points out of order", landXml(kMetric, lineArcLine("cw", 1) + "<Profile><ProfAlign><PVI>1100 5</PVI><PVI>1050 6</PVI></ProfAlign></Profile>"), "", "PVI at line"},
      {"a number that is not one", replaced(good, "radius=\"200\"", "radius=\"2OO\""), "", "'2OO' is not a number"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LandXmlAlignment a;
    a.name = "untouched";
    std::string error;
    EXPECT_FALSE(importLandXml(c.xml, c.name, a, error));
    EXPECT_NE(error.find(c.message), std::string::npos) << error;
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(a.name, "untouched");
    EXPECT_TRUE(a.road.elements.empty());
  }
}

}  // namespace
}  // namespace trazmark
