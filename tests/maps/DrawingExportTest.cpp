// Drawings for reports: the three maps written as PNG, SVG and PDF by the
// maps' own drawing code with a title block, checked for size and content;
// and the plan's key-point names that would overlap left out until zoomed in.

#include "maps/DrawingExport.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>
#include <regex>

#include "alignment/RoadDesign.h"
#include "alignment/RoadDesign_CrossPoint.h"
#include "maps/PlanDrawing.h"
#include "vertical/VerticalCurveCal.h"

namespace trazmark {
namespace {

std::string readAll(const QString& path) {
  std::ifstream in(path.toStdString(), std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::size_t count(const std::string& text, const std::string& what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

TEST(DrawingFormats, ByExtensionAndStandardScales) {
  const std::pair<const char*, std::optional<DrawingFormat>> names[] = {
      {"a.png", DrawingFormat::Png}, {"B.SVG", DrawingFormat::Svg}, {"dir.x/c.Pdf", DrawingFormat::Pdf},
      {"d.dxf", DrawingFormat::Dxf}, {"e.jpg", std::nullopt},        {"dir.png/plan", std::nullopt},
      {"plan", std::nullopt},        {"f.svgz", std::nullopt}};
  for (const auto& [name, format] : names) EXPECT_EQ(drawingFormatFor(name), format) << name;

  const std::pair<double, double> scales[] = {{1000, 1000}, {1001, 2000}, {2100, 2500}, {2600, 5000},
                                              {5000.0000001, 5000}, {7000, 10000}, {0.3, 0.5},
                                              {0, 0}, {-5, 0}, {INFINITY, 0}};
  for (const auto& [in, out] : scales) EXPECT_DOUBLE_EQ(standardScale(in), out) << in;
}

/// The intersection-point example (R 300, 80 m spirals) loaded into an engine.
bool loadExample(const QTemporaryDir& dir, CRoadDesign& design) {
  CRoadDesign_CrossPoint method(dir.path().toStdString());
  method.roadName = "EXAMPLE";
  Road_CrossPoint p;
  method.points.append(p);
  p.point.X = 1000;
  p.Radius = 300;
  p.CurveLength_Left = 80;
  p.CurveLength_Right = 80;
  method.points.append(p);
  p = Road_CrossPoint{};
  p.point.X = 1500;
  p.point.Y = 600;
  method.points.append(p);
  const std::string path = (dir.path() + "/EXAMPLE.RP.TDFE").toStdString();
  return method.writeCurveFile(path) && design.loadFromCurveFile(path);
}

CVerticalCurveCal gradePoint(double mileage, double high, double radius = 0) {
  CVerticalCurveCal p;
  p.Mileage = mileage;
  p.High = high;
  p.Radius = radius;
  return p;
}

Road_Section_Item component(double width, double slope, const char* name) {
  Road_Section_Item c;
  c.setModuleName(name);
  c.Width = width;
  c.Slope = slope;
  return c;
}

TEST(Drawings, ThreeMapsInThreeFormatsWithTitleBlock) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  CRoadDesign design;
  ASSERT_TRUE(loadExample(dir, design));
  RecordList<CVerticalCurveCal> grades;
  grades.append(gradePoint(0, 100));
  grades.append(gradePoint(500, 110, 4000));
  grades.append(gradePoint(1000, 100));
  refreshGradePoints(grades);
  setupVerticalCurves(grades);
  RecordList<Road_Section_Item> left, right;
  left.append(component(3.5, -2, "lane"));
  right.append(component(3.5, -2, "lane"));
  right.append(component(1.5, -3, "shoulder"));

  TitleBlock title;
  title.roadName = "G104 east";
  title.date = "2026-12-08";
  const QSize size(1000, 700);
  struct Case {
    const char* name;
    std::optional<DrawingSheet> sheet;
    const char* lineColour;  // the stroke of the map's own line in the SVG
  } cases[] = {{"plan", planSheet(design, size, title), "#ff0000"},
               {"profile", profileSheet(grades, size, title), "#ff0000"},
               {"section", sectionSheet(left, right, size, title), "#0000ff"}};
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.sheet.has_value());
    const QString base = dir.filePath(c.name);
    std::string error;
    MapView view;
    for (const char* ext : {".png", ".svg", ".pdf"})
      ASSERT_TRUE(writeDrawing(*c.sheet, (base + ext).toStdString(), error, &view)) << ext << error;
    // Full extent at a standard scale of the 96 dpi sheet, above the title block.
    EXPECT_EQ(view.clientRect().height(), size.height() - kTitleBlockHeight);
    const double denominator = view.scale() / kSheetPixelMetres;
    EXPECT_NEAR(denominator, standardScale(denominator), 1e-6 * denominator);
    const std::string scale = titleScaleText(c.sheet->title, view);
    if (std::string(c.name) == "profile")
      EXPECT_TRUE(std::regex_match(scale, std::regex("H 1:[0-9]+  V 1:[0-9]+"))) << scale;
    else
      EXPECT_TRUE(std::regex_match(scale, std::regex("1:[0-9.]+"))) << scale;

    const QImage png(base + ".png");
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.size(), size);
    // The title block is the white strip along the bottom edge.
    EXPECT_EQ(png.pixel(size.width() / 3, size.height() - 3) & 0xFFFFFF, 0xFFFFFFu);
    EXPECT_EQ(png.pixel(size.width() / 3, size.height() - kTitleBlockHeight - 5) & 0xFFFFFF, 0u);

    const std::string svg = readAll(base + ".svg");
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("viewBox=\"0 0 1000 700\""), std::string::npos);
    EXPECT_NE(svg.find(">Road: G104 east</text>"), std::string::npos);
    EXPECT_NE(svg.find(">Scale " + scale + "</text>"), std::string::npos);
    EXPECT_NE(svg.find(">Date: 2026-12-08</text>"), std::string::npos);
    // The map's line is vector shapes in its colour (the plan's centre line
    // paths), not a picture.
    const std::size_t group = svg.find(std::string("stroke=\"") + c.lineColour + "\"");
    ASSERT_NE(group, std::string::npos);
    const std::size_t shape = std::min(svg.find("<path", group), svg.find("<polyline", group));
    EXPECT_NE(shape, std::string::npos);
    if (std::string(c.name) == "plan") {
      EXPECT_EQ(shape, svg.find("<path", group));
    }
    EXPECT_EQ(svg.find("<image"), std::string::npos);

    const std::string pdf = readAll(base + ".pdf");
    EXPECT_EQ(pdf.rfind("%PDF-", 0), 0u);
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
    // 1000 x 700 pixels at 96 dpi: 750 x 525 points.
    EXPECT_NE(pdf.find("MediaBox [0 0 750"), std::string::npos);
    EXPECT_NE(pdf.find("525"), std::string::npos);
    EXPECT_GT(pdf.size(), 2000u);
    // The road's name as the document title (UTF-16 with its byte-order
    // mark), and a font for the texts of the title block and the labels.
    std::string utf16 = "\xFE\xFF";
    for (char ch : std::string("G104 east")) utf16 += std::string(1, '\0') + ch;
    EXPECT_NE(pdf.find("/Title (" + utf16 + ")"), std::string::npos);
    EXPECT_NE(pdf.find("/BaseFont"), std::string::npos);
  }
  // The profile without its labels (as View hides them) keeps only the texts
  // of the title block (3), the north arrow (2) and the scale bar (1).
  const std::optional<DrawingSheet> bare = profileSheet(grades, size, title, false);
  ASSERT_TRUE(bare.has_value());
  std::string error;
  ASSERT_TRUE(writeDrawing(*bare, dir.filePath("bare.svg").toStdString(), error)) << error;
  EXPECT_EQ(count(readAll(dir.filePath("bare.svg")), "</text>"), 6u);
  EXPECT_GT(count(readAll(dir.filePath("profile.svg")), "</text>"), 6u);
  // The plan's centre line: one path per curve element at least.
  const std::string plan = readAll(dir.filePath("plan.svg"));
  EXPECT_GE(count(plan, "<path"), 5u);
  // Five key points' names besides the title block's three texts.
  EXPECT_GE(count(plan, "</text>"), 8u);
}

TEST(Drawings, RefusedNamesAndEmptySheetsLeaveFilesAlone) {
  QTemporaryDir dir;
  CRoadDesign design;
  ASSERT_TRUE(loadExample(dir, design));
  const std::optional<DrawingSheet> sheet = planSheet(design, QSize(800, 600), TitleBlock{});
  ASSERT_TRUE(sheet.has_value());
  const QString old = dir.filePath("old.jpg");
  std::ofstream(old.toStdString()) << "JPEG";
  std::string error;
  for (const QString& name : {old, dir.filePath("plan.dxf"), dir.filePath("plan")}) {
    EXPECT_FALSE(writeDrawing(*sheet, name.toStdString(), error));
    EXPECT_NE(error.find("PNG, SVG or PDF"), std::string::npos) << error;
  }
  EXPECT_EQ(readAll(old), "JPEG");
  // A sheet too small for a map, a missing folder.
  DrawingSheet tiny = *sheet;
  tiny.size = QSize(60, 60);
  EXPECT_FALSE(writeDrawing(tiny, dir.filePath("tiny.png").toStdString(), error));
  EXPECT_FALSE(writeDrawing(*sheet, dir.filePath("no/such.svg").toStdString(), error));
  // Nothing to draw.
  EXPECT_FALSE(planSheet(CRoadDesign(), QSize(800, 600), TitleBlock{}).has_value());
  EXPECT_FALSE(profileSheet({}, QSize(800, 600), TitleBlock{}).has_value());
  EXPECT_FALSE(sectionSheet({}, {}, QSize(800, 600), TitleBlock{}).has_value());
}

TEST(PlanLabels, OverlappingNamesWaitForTheZoom) {
  // Ten key points 2 m apart along a north-south line.
  std::vector<SurveyCoord> points;
  for (int k = 0; k < 10; ++k) points.push_back({"K" + std::to_string(k), 2.0 * k, 0, 0, ""});
  QImage image(400, 400, QImage::Format_RGB32);
  struct Zoom {
    double scale;
    int expected;
  } zooms[] = {{10, 1}, {0.1, 10}};
  int shown[2] = {0, 0};
  for (int i = 0; i < 2; ++i) {
    MapView view;
    view.setClientRect({0, 0, 400, 400});
    view.commitTarget({9, 0, zooms[i].scale});
    image.fill(Qt::black);
    QPainter painter(&image);
    shown[i] = drawKeyPoints(painter, view, points, Qt::red);
  }
  // At 10 m a pixel all ten lie on one spot: one name; at 10 cm a pixel the
  // names are 20 pixels apart and all are drawn.
  EXPECT_EQ(shown[0], zooms[0].expected);
  EXPECT_EQ(shown[1], zooms[1].expected);
  // In between, fewer names than points but more than one.
  MapView middle;
  middle.setClientRect({0, 0, 400, 400});
  middle.commitTarget({9, 0, 0.25});  // 8 pixels apart, names about 17 high
  QPainter painter(&image);
  const int some = drawKeyPoints(painter, middle, points, Qt::red);
  EXPECT_GT(some, 1);
  EXPECT_LT(some, 10);
}

}  // namespace
}  // namespace trazmark
