// LandXML surfaces written by hand: TINs of known ground in metres and in US
// survey feet, holes, sparse and negative ids, surfaces to triangulate, and
// files that must be refused with the element and its line.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "terrain/LandXmlSurface.h"

namespace trazmark {
namespace {

constexpr double kExact = 1e-9;
constexpr double kUsSurveyFoot = 1200.0 / 3937.0;

std::string landXml(const std::string& units, const std::string& surfaces) {
  return "<?xml version=\"1.0\"?>\n"
         "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\">\n" + units +
         "<Surfaces>\n" + surfaces + "</Surfaces>\n</LandXML>\n";
}

const std::string kMetres = "<Units><Metric linearUnit=\"meter\" areaUnit=\"squareMeter\"/></Units>\n";

// A 2 × 2 grid of cells of 10 m from (x0, y0), points numbered from `firstId`
// with a step of 7, z on a plane; the face of `hiddenCell` written invisible.
std::string gridSurface(const std::string& name, double x0, double y0, double scale, int firstId,
                        int hiddenCell = -1) {
  auto id = [&](int i, int j) { return firstId + 7 * (i * 3 + j); };
  auto z = [&](double x, double y) { return 100 + 0.5 * x - 0.25 * y; };
  std::string s = "<Surface name=\"" + name + "\"><Definition surfType=\"TIN\">\n<Pnts>\n";
  for (int i = 0; i <= 2; ++i)
    for (int j = 0; j <= 2; ++j) {
      const double x = x0 + 10 * i, y = y0 + 10 * j;
      char line[160];
      std::snprintf(line, sizeof line, "<P id=\"%d\">%.10f %.10f %.10f</P>\n", id(i, j), x / scale,
                    y / scale, z(x, y) / scale);
      s += line;
    }
  s += "</Pnts>\n<Faces>\n";
  for (int i = 0; i < 2; ++i)
    for (int j = 0; j < 2; ++j) {
      const std::string hidden = i * 2 + j == hiddenCell ? " i=\"1\"" : "";
      s += "<F" + hidden + ">" + std::to_string(id(i, j)) + " " + std::to_string(id(i + 1, j)) + " -" +
           std::to_string(id(i + 1, j + 1)) + "</F>\n";
      s += "<F" + hidden + " n=\"1 0 3\">" + std::to_string(id(i, j)) + " " + std::to_string(id(i + 1, j + 1)) +
           " " + std::to_string(id(i, j + 1)) + "</F>\n";
    }
  return s + "</Faces>\n</Definition>\n<Watersheds/></Surface>\n";
}

double gridPlane(double x, double y) { return 100 + 0.5 * x - 0.25 * y; }

CTerrainModel mustRead(const std::string& xml, const std::string& name = "", double maxEdge = 0) {
  CTerrainModel model;
  std::string error;
  EXPECT_TRUE(readLandXmlSurface(xml, name, maxEdge, model, error)) << error;
  return model;
}

TEST(LandXmlSurface, TiltedPlaneInMetresWithSparseAndNegativeIds) {
  CTerrainModel model = mustRead(landXml(kMetres, gridSurface("EG", 1000, 2000, 1, 1001)));
  EXPECT_EQ(model.summary().points, 9u);
  EXPECT_EQ(model.summary().triangles, 8u);
  for (double x : {1000.0, 1003.3, 1010.0, 1019.99})
    for (double y : {2000.0, 2007.5, 2020.0}) EXPECT_NEAR(*model.elevationAt(x, y), gridPlane(x, y), kExact);
  EXPECT_FALSE(model.elevationAt(999.99, 2005));
}

TEST(LandXmlSurface, TiltedPlaneInUsSurveyFeet) {
  const std::string feet = "<Units><Imperial linearUnit=\"USSurveyFoot\" areaUnit=\"squareFoot\"/></Units>\n";
  // Written in feet: the model holds metres.
  CTerrainModel model = mustRead(landXml(feet, gridSurface("EG", 3000, 6000, kUsSurveyFoot, 1)));
  EXPECT_NEAR(model.summary().minX, 3000, 1e-6);
  EXPECT_NEAR(model.summary().maxY, 6020, 1e-6);
  for (double x : {3000.0, 3004.2, 3017.0})
    for (double y : {6001.0, 6013.3}) EXPECT_NEAR(*model.elevationAt(x, y), gridPlane(x, y), 1e-6);
  // An Imperial file without a linear unit is in international feet.
  CTerrainModel international = mustRead(
      landXml("<Units><Imperial/></Units>", gridSurface("EG", 0, 0, 0.3048, 1)));
  EXPECT_NEAR(*international.elevationAt(5, 5), gridPlane(5, 5), 1e-6);
}

TEST(LandXmlSurface, InvisibleFacesAreHoles) {
  // Cell 3 (the one from (10, 10) to (20, 20)) is hidden.
  CTerrainModel model = mustRead(landXml(kMetres, gridSurface("EG", 0, 0, 1, 5, 3)));
  EXPECT_EQ(model.summary().triangles, 6u);
  EXPECT_FALSE(model.elevationAt(15, 15));
  EXPECT_FALSE(model.elevationAt(19, 11));
  EXPECT_NEAR(*model.elevationAt(10, 15), gridPlane(10, 15), kExact);
  // A line through the hole has a gap from its rim to the far corner.
  const GroundLine line = model.groundAlong(5, 15, 25, 15);
  ASSERT_EQ(line.pieces.size(), 1u);
  EXPECT_NEAR(line.pieces[0].front().distance, 0, kExact);
  EXPECT_NEAR(line.pieces[0].back().distance, 5, kExact);
}

TEST(LandXmlSurface, NamedSurfaceOrTheFirst) {
  const std::string xml =
      landXml(kMetres, gridSurface("Existing", 0, 0, 1, 1) + gridSurface("Design", 500, 500, 1, 1));
  EXPECT_NEAR(mustRead(xml).summary().minX, 0, kExact);
  EXPECT_NEAR(mustRead(xml, "Design").summary().minX, 500, kExact);
  CTerrainModel model;
  std::string error;
  EXPECT_FALSE(readLandXmlSurface(xml, "Final", 0, model, error));
  EXPECT_EQ(error, "the file holds no Surface named 'Final' (it holds: 'Existing' 'Design')");
}

TEST(LandXmlSurface, SurfaceWithoutFacesIsTriangulatedFromItsSourceData) {
  // Corners and two low points, and a breakline at 5 m across the middle
  // that the triangulation must keep (see the triangulation's own test).
  const std::string surface =
      "<Surface name=\"Survey\">\n<SourceData>\n"
      "<DataPoints><PntList3D>0 0 0 20 0 0\n 20 20 0 0 20 0 1 10 0 19 10 0</PntList3D></DataPoints>\n"
      "<Boundaries><Boundary bndType=\"outer\"><PntList3D>0 0 0 20 0 0 20 20 0</PntList3D></Boundary></Boundaries>\n"
      "<Breaklines><Breakline brkType=\"standard\"><PntList3D>10 0 5 10 20 5</PntList3D></Breakline>\n"
      "<Breakline><PntList2D>3 3 4 4</PntList2D></Breakline></Breaklines>\n"
      "</SourceData>\n</Surface>\n";
  CTerrainModel model = mustRead(landXml(kMetres, surface));
  EXPECT_EQ(model.summary().points, 8u);
  EXPECT_NEAR(*model.elevationAt(10, 10), 5, kExact);
  EXPECT_NEAR(*model.elevationAt(5.5, 10), 2.5, kExact);
  // The triangles on the 20 m sides go with a maximum edge of 15 m.
  CTerrainModel trimmed = mustRead(landXml(kMetres, surface), "", 15);
  EXPECT_GT(trimmed.summary().droppedTriangles, 0u);
  EXPECT_EQ(trimmed.summary().triangles + trimmed.summary().droppedTriangles, model.summary().triangles);
}

TEST(LandXmlSurface, ElementsNotUsedAreSkipped) {
  const std::string xml =
      "<?xml version=\"1.0\"?>\n<LandXML><Project name=\"p\"/><Units><Metric linearUnit=\"meter\" "
      "angularUnit=\"grads\" volumeUnit=\"cubicMeter\"/></Units>\n"
      "<CgPoints><CgPoint name=\"1\">1 2 3</CgPoint></CgPoints><Alignments/>\n"
      "<lx:Surfaces xmlns:lx=\"x\"><Feature/><lx:Surface name=\"S\" desc=\"d\"><Definition surfType=\"TIN\" elevMin=\"0\">"
      "<Pnts><P id=\"3\" code=\"x\">0 0 1</P><P id=\"9\">10 0 2</P><P id=\"4\">0 10 3</P><Extra/></Pnts>"
      "<Faces><F b=\"1\">3 9 4</F><!-- a comment --></Faces><Feature name=\"f\"/></Definition>"
      "<Watersheds/></lx:Surface></lx:Surfaces></LandXML>";
  CTerrainModel model = mustRead(xml);
  EXPECT_NEAR(*model.elevationAt(0, 0), 1, kExact);
  EXPECT_NEAR(*model.elevationAt(5, 5), 2.5, kExact);
}

TEST(LandXmlSurface, GridFaceOfFourPointsIsTwoTriangles) {
  const std::string xml = landXml(
      kMetres,
      "<Surface name=\"G\"><Definition surfType=\"grid\"><Pnts><P id=\"1\">0 0 0</P><P id=\"2\">10 0 10</P>"
      "<P id=\"3\">10 10 30</P><P id=\"4\">0 10 20</P></Pnts><Faces><F>1 2 3 4</F></Faces></Definition></Surface>");
  CTerrainModel model = mustRead(xml);
  EXPECT_EQ(model.summary().triangles, 2u);
  EXPECT_NEAR(*model.elevationAt(7, 2), 11, kExact);  // below the diagonal 1-3: the plane of 1, 2, 3
  EXPECT_NEAR(*model.elevationAt(2, 7), 16, kExact);  // above it: that of 1, 3, 4
}

TEST(LandXmlSurface, BadFilesAreRefusedWithTheElementAndLine) {
  const std::string points = "<Pnts>\n<P id=\"1\">0 0 0</P>\n<P id=\"2\">10 0 0</P>\n<P id=\"3\">0 10 0</P>\n</Pnts>\n";
  auto surface = [](const std::string& definition) {
    return landXml(kMetres, "<Surface name=\"S\">\n<Definition>\n" + definition + "</Definition>\n</Surface>\n");
  };
  // The units are on line 3, the surface starts at line 5, its Definition
  // at 6, the Pnts at 7 with the points on lines 8 to 10, the Faces at 12.
  const struct {
    const char* what;
    std::string xml;
    const char* error;
  } cases[] = {
      {"empty", "", "the file is empty"},
      {"white space only", " \n\t\n", "the file is empty"},
      {"truncated", surface(points + "<Faces><F>1 2 3</F></Faces>\n").substr(0, 150),
       "not a well-formed XML file: "},
      {"not LandXML", "<?xml version=\"1.0\"?>\n<Road/>\n", "not a LandXML file (its root element is 'Road')"},
      {"no surface", landXml(kMetres, ""), "the file holds no Surface"},
      {"face names a missing point", surface(points + "<Faces>\n<F>1 2 3</F>\n<F>1 3 17</F>\n</Faces>\n"),
       "F at line 14: point 17 is not among the surface's points"},
      {"face with two points", surface(points + "<Faces>\n<F>1 2</F>\n</Faces>\n"),
       "F at line 13: names 2 points where a face has three"},
      {"face with a word", surface(points + "<Faces>\n<F>1 2 x</F>\n</Faces>\n"),
       "F at line 13: point id 'x' is not a whole number"},
      {"face with five points", surface(points + "<Faces>\n<F>1 2 3 1 2</F>\n</Faces>\n"),
       "F at line 13: names more than four points"},
      {"point with a NaN", surface("<Pnts>\n<P id=\"1\">0 0 0</P>\n<P id=\"2\">10 nan 0</P>\n</Pnts>\n"),
       "P at line 9: the east 'nan' is not a number"},
      {"point with text", surface("<Pnts>\n<P id=\"1\">0 0 12,5</P>\n</Pnts>\n"),
       "P at line 8: the elevation '12,5' is not a number"},
      {"point truncated", surface("<Pnts>\n<P id=\"1\">0 0</P>\n</Pnts>\n"),
       "P at line 8: the elevation is missing"},
      {"point with four numbers", surface("<Pnts>\n<P id=\"1\">0 0 0 0</P>\n</Pnts>\n"),
       "P at line 8: holds more than north, east and elevation"},
      {"point without id", surface("<Pnts>\n<P>0 0 0</P>\n</Pnts>\n"), "P at line 8: has no id"},
      {"point id not a number", surface("<Pnts>\n<P id=\"a\">0 0 0</P>\n</Pnts>\n"),
       "P at line 8: id 'a' is not a positive whole number"},
      {"point id twice", surface("<Pnts>\n<P id=\"4\">0 0 0</P>\n<P id=\"4\">1 0 0</P>\n</Pnts>\n"),
       "Pnts at line 7: point id 4 is used twice"},
      {"every face invisible", surface(points + "<Faces>\n<F i=\"1\">1 2 3</F>\n</Faces>\n"),
       "Surface at line 5: has no visible face: no ground"},
      {"nothing to triangulate", surface(""), "Surface at line 5: has neither faces nor points"},
      {"points on a line", surface("<Pnts>\n<P id=\"1\">0 0 0</P>\n<P id=\"2\">1 1 0</P>\n<P id=\"3\">2 2 0</P>\n</Pnts>\n"),
       "Surface at line 5: the points all lie on one line"},
      {"unknown unit", landXml("<Units>\n<Metric linearUnit=\"furlong\"/></Units>\n", ""),
       "Metric at line 4: linearUnit 'furlong' is not a unit the import knows"},
      {"source points not in triples",
       landXml(kMetres, "<Surface>\n<SourceData><DataPoints>\n<PntList3D>0 0 0 1 1</PntList3D></DataPoints></SourceData></Surface>"),
       "PntList3D at line 7: its numbers do not make whole north east elevation triples"},
  };
  for (const auto& c : cases) {
    CTerrainModel model = mustRead(landXml(kMetres, gridSurface("EG", 0, 0, 1, 1)));
    std::string error;
    EXPECT_FALSE(readLandXmlSurface(c.xml, "", 0, model, error)) << c.what;
    EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.what << "\ngot:  " << error << "\nwant: " << c.error;
    EXPECT_EQ(model.summary().triangles, 8u) << c.what;  // the model before is kept
  }
}

}  // namespace
}  // namespace trazmark
