// Drawings for reports: the three maps written as PNG, SVG and PDF by the
// maps' own drawing code with a title block, checked for size and content;
// and the plan's key-point names that would overlap left out until zoomed in.

#include "maps/DrawingExport.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <regex>

#include "alignment/RoadDesign.h"
#include "alignment/RoadDesign_CrossPoint.h"
#include "maps/PlanDrawing.h"
#include "vertical/VerticalCurveCal.h"
#include "support/ExampleRoad.h"

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
      {"a.png", DrawingFormat::Png},
      {"B.SVG", DrawingFormat::Svg},
      {"dir.x/c.Pdf", DrawingFormat::Pdf},
      {"d.dxf", DrawingFormat::Dxf},
      {"e.jpg", std::nullopt},
      {"dir.png/plan", std::nullopt},
      {"plan", std::nullopt},
      {"f.svgz", std::nullopt}};
  for (const auto& [name, format] : names) EXPECT_EQ(drawingFormatFor(name), format) << name;

  const std::pair<double, double> scales[] = {
      {1000, 1000},  {1001, 2000}, {2100, 2500}, {2600, 5000}, {5000.0000001, 5000},
      {7000, 10000}, {0.3, 0.5},   {0, 0},       {-5, 0},      {INFINITY, 0}};
  for (const auto& [in, out] : scales) EXPECT_DOUBLE_EQ(standardScale(in), out) << in;
}

/// The intersection-point example (R 300, 80 m spirals) loaded into an engine.
bool loadExample(const QTemporaryDir& dir, CRoadDesign& design) {
  const std::string path = test::writeExampleCurveFile(dir.path().toStdString(), "EXAMPLE");
  return !path.empty() && design.loadFromCurveFile(path);
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
    // In the screen's colours each map's own line has a colour of its own to
    // find in the SVG; paper is checked in DrawingPalettes below.
    c.sheet->palette = DrawingPalette::screen();
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
  // The profile without its labels (as View hides them) keeps the title
  // block, the scale bar and its grid's elevations and stations, but no
  // grade point's text; and a profile has no north arrow.
  const std::optional<DrawingSheet> bare = profileSheet(grades, size, title, false);
  ASSERT_TRUE(bare.has_value());
  std::string error;
  ASSERT_TRUE(writeDrawing(*bare, dir.filePath("bare.svg").toStdString(), error)) << error;
  const std::string bareSvg = readAll(dir.filePath("bare.svg"));
  EXPECT_EQ(bareSvg.find("H="), std::string::npos);
  EXPECT_EQ(bareSvg.find(">N</text>"), std::string::npos);
  EXPECT_NE(bareSvg.find(">K0+"), std::string::npos);  // a station of the grid
  EXPECT_NE(readAll(dir.filePath("profile.svg")).find("H="), std::string::npos);
  // The plan's centre line: one path per curve element at least.
  const std::string plan = readAll(dir.filePath("plan.svg"));
  EXPECT_GE(count(plan, "<path"), 5u);
  // Five key points' names besides the title block's three texts.
  EXPECT_GE(count(plan, "</text>"), 8u);
  // The plan's north arrow: its "N" and "E".
  EXPECT_NE(plan.find(">N</text>"), std::string::npos);
  EXPECT_NE(plan.find(">E</text>"), std::string::npos);
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

bool isDark(QRgb p) { return qRed(p) < 110 && qGreen(p) < 110 && qBlue(p) < 110; }
bool isWhite(QRgb p) { return (p & 0xFFFFFF) == 0xFFFFFFu; }
/// A saturated colour: the screen's red, blue, green or yellow lines.
bool isBright(QRgb p) {
  return std::max({qRed(p), qGreen(p), qBlue(p)}) - std::min({qRed(p), qGreen(p), qBlue(p)}) > 120;
}

/// How many pixels of the map area (above the title block) pass `test`.
template <typename Test>
int countPixels(const QImage& image, Test test) {
  int n = 0;
  for (int y = 0; y < image.height() - kTitleBlockHeight; ++y)
    for (int x = 0; x < image.width(); ++x) n += test(image.pixel(x, y)) ? 1 : 0;
  return n;
}

TEST(DrawingPalettes, SheetsArePaperUnlessTheScreenColoursAreAsked) {
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
  const QSize size(800, 600);
  struct Case {
    const char* name;
    std::optional<DrawingSheet> sheet;
  } cases[] = {{"plan", planSheet(design, size, TitleBlock{})},
               {"profile", profileSheet(grades, size, TitleBlock{})},
               {"section", sectionSheet(left, right, size, TitleBlock{})}};
  for (Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(c.sheet.has_value());
    const std::string paper = dir.filePath(QString(c.name) + "-paper.png").toStdString();
    const std::string screen = dir.filePath(QString(c.name) + "-screen.png").toStdString();
    std::string error;
    ASSERT_TRUE(writeDrawing(*c.sheet, paper, error)) << error;
    DrawingSheet onScreen = *c.sheet;
    onScreen.palette = DrawingPalette::screen();
    ASSERT_TRUE(writeDrawing(onScreen, screen, error)) << error;

    const QImage p(QString::fromStdString(paper));
    const QImage s(QString::fromStdString(screen));
    ASSERT_FALSE(p.isNull());
    ASSERT_FALSE(s.isNull());
    const int area = size.width() * (size.height() - kTitleBlockHeight);
    // Paper: the background is white (a corner of the map area and most of
    // it), the drawing is dark ink and none of the screen's bright colours.
    // (30, 3): clear of the section's grid lines and the profile's labels.
    EXPECT_TRUE(isWhite(p.pixel(30, 3)));
    EXPECT_GT(countPixels(p, isWhite), area * 8 / 10);
    EXPECT_GT(countPixels(p, isDark), 300);
    EXPECT_EQ(countPixels(p, isBright), 0);
    // The screen's colours: black background, the lines in their colours.
    EXPECT_EQ(s.pixel(30, 3) & 0xFFFFFF, 0u);
    EXPECT_LT(countPixels(s, isWhite), area / 10);
    EXPECT_GT(countPixels(s, isBright), 300);
  }
}

TEST(DrawingPalettes, ThePlanOnPaperCarriesStationsAlongTheRoad) {
  // Ticks at the first round step that keeps 80 pixels between them.
  struct Case {
    double start, end, scale;
    std::vector<double> ticks;
  } cases[] = {
      {0, 1000, 2.5, {0, 200, 400, 600, 800, 1000}},  // 200 m steps: 80 px at 2.5 m a pixel
      {30, 250, 1, {100, 200}},                       // 100 m steps, from the first multiple
      {-150, 60, 1, {-100, 0}},                       // before zero too
      {0, 10, 0.01, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10}},
      {5, 5, 1, {}},    // an empty road
      {10, 0, 1, {}},   // inverted
      {0, 100, 0, {}},  // no scale
      {0, 100, NAN, {}},
  };
  for (const Case& c : cases) {
    const std::vector<double> ticks = stationTickMileages(c.start, c.end, c.scale);
    ASSERT_EQ(ticks.size(), c.ticks.size()) << c.start << ".." << c.end << " at " << c.scale;
    for (std::size_t i = 0; i < ticks.size(); ++i) EXPECT_NEAR(ticks[i], c.ticks[i], 1e-9);
  }

  QTemporaryDir dir;
  CRoadDesign design;
  ASSERT_TRUE(loadExample(dir, design));
  const std::optional<DrawingSheet> sheet = planSheet(design, QSize(800, 600), TitleBlock{});
  ASSERT_TRUE(sheet.has_value());
  const std::string svg = dir.filePath("plan.svg").toStdString();
  std::string error;
  MapView view;
  ASSERT_TRUE(writeDrawing(*sheet, svg, error, &view)) << error;
  const std::string text = readAll(QString::fromStdString(svg));
  // The example runs about 1.5 km: stations every 200 or 500 m on the sheet,
  // the start "K0+000" among them; none on the screen's map.
  EXPECT_NE(text.find(">K0+000</text>"), std::string::npos);
  EXPECT_GE(count(text, ">K"), 3u);
  QImage image(800, 572, QImage::Format_RGB32);
  QPainter painter(&image);
  EXPECT_GE(drawStationTicks(painter, view, design, DrawingPalette::paper()), 3);
}

TEST(DrawingPalettes, TheSheetScaleBarIsARoundLength) {
  struct Case {
    double scale;   // metres per pixel
    double factor;  // a profile's horizontal exaggeration
    double metres;
    const char* label;
  } cases[] = {
      {1, 1, 100, "100 m"},   {0.25, 1, 20, "20 m"},
      {2.6, 1, 500, "500 m"}, {0.005, 1, 0.5, "0.5 m"},
      {0.0125, 1, 1, "1 m"},  {0.05, 20, 100, "100 m"}};  // V 1:200 is H 1:4000: 80 px hold 80 m
  for (const Case& c : cases) {
    MapView view;
    view.setClientRect({0, 0, 800, 600});
    view.commitTarget({0, 0, c.scale});
    ASSERT_DOUBLE_EQ(view.scale(), c.scale);
    const SheetScaleBar bar = sheetScaleBar(view, c.factor);
    EXPECT_DOUBLE_EQ(bar.metres, c.metres) << c.scale;
    EXPECT_EQ(bar.label, c.label) << c.scale;
    EXPECT_GE(bar.pixels, 80 - 1e-9) << c.scale;
    EXPECT_LT(bar.pixels, 200) << c.scale;
  }
}

}  // namespace
}  // namespace trazmark
