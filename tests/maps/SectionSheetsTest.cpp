// Cross-section sheets and the mass-haul diagram: the layout (sections a
// page, page count, the common scale), the regions shaded between design and
// ground, the mass-haul axes, the texts, and the files written.

#include "maps/SectionSheets.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <fstream>
#include <iterator>

#include "maps/CutFillShading.h"
#include "maps/DrawingExport.h"
#include "maps/MassHaulDrawing.h"

namespace trazmark {
namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// A section box: offsets -half..half, elevations low..low+height.
WorldBox box(double half, double low, double height) { return {low, -half, low + height, half}; }

double shadedArea(const std::vector<ShadeRegion>& regions, bool cut) {
  double a = 0;
  for (const ShadeRegion& r : regions)
    if (r.cut == cut) a += polygonArea(r.outline);
  return a;
}

/// A level road 10 m wide at elevation 100 with 1:1.5 fill slopes down to
/// flat ground at 98: catch points at ±8 m.
SheetSection fillTrapezoid(double station) {
  SheetSection s;
  s.station = station;
  s.design = {{-8, 98}, {-5, 100}, {5, 100}, {8, 98}};
  s.ground = {{{-20, 98}, {20, 98}}};
  s.catchPoints = {{-8, 98}, {8, 98}};
  s.designCentre = 100;
  s.groundCentre = 98;
  s.cutArea = 0;
  s.fillArea = 26;
  return s;
}

TEST(SectionSheetLayout, SectionsPerPagePageCountAndScale) {
  struct Case {
    const char* name;
    std::vector<WorldBox> extents;
    int columns;
    double scale;
    int rows;
    int pages;
  };
  // A3 landscape: 1587 x 1123 pixels, cells 2 across of about 749 pixels
  // (729 to draw in); 1:100 is 0.0265 m a pixel.
  const std::vector<Case> cases = {
      // 40 m wide needs 40 / (729 · 0.000264583) = 1:207 -> 1:250; 4 m high
      // is 60 pixels at 1:250 (kept at least 120), so 4 rows fit.
      {"40 m sections, 4 rows", std::vector<WorldBox>(17, box(20, 100, 4)), 2, 250, 4, 3},
      // A narrow lane stays at 1:100, not finer.
      {"narrow lane at the finest scale", std::vector<WorldBox>(3, box(3, 10, 1)), 2, 100, 4, 1},
      // A deep cut: 20 m high (22 m padded) at 1:250 is 333 pixels, 411 with
      // the text band, so 2 rows of the 1039 pixels above the title block.
      {"deep sections, fewer rows", std::vector<WorldBox>(9, box(20, 100, 20)), 2, 250, 2, 3},
      // 30 m high: 499 + 78 pixels, one row.
      {"very deep sections, one row", std::vector<WorldBox>(9, box(20, 100, 30)), 2, 250, 1, 5},
      // One column doubles the drawing width: 44 m padded over 1519 pixels
      // needs 1:109 -> 1:200.
      {"one column", std::vector<WorldBox>(5, box(20, 100, 4)), 1, 200, 4, 2},
      {"no sections", {}, 2, 100, 4, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<SectionSheetLayout> layout =
        layoutSectionSheets(c.extents, kA3LandscapePixels, c.columns);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->scale, c.scale);
    EXPECT_EQ(layout->rows, c.rows);
    EXPECT_EQ(layout->pageCount, c.pages);
    // Every section fits its cell's drawing at the chosen scale.
    const SectionSheetLayout::Cell cell = layout->cell(0);
    for (const WorldBox& b : c.extents) {
      EXPECT_LE((b.maxY - b.minY) / (layout->scale * kSheetPixelMetres), cell.width);
      EXPECT_LE((b.maxX - b.minX) / (layout->scale * kSheetPixelMetres),
                cell.height - kSheetTextBand);
    }
  }
  EXPECT_FALSE(layoutSectionSheets({box(10, 0, 2)}, QSize(200, 150)));
}

TEST(SectionSheetLayout, CellsTileThePageAboveTheTitleBlock) {
  const std::optional<SectionSheetLayout> layout =
      layoutSectionSheets(std::vector<WorldBox>(20, box(20, 100, 4)), kA3LandscapePixels);
  ASSERT_TRUE(layout);
  ASSERT_EQ(layout->perPage(), 8);
  for (int i = 0; i < layout->perPage(); ++i) {
    const SectionSheetLayout::Cell c = layout->cell(i);
    EXPECT_GE(c.x, kSheetMargin);
    EXPECT_LE(c.x + c.width, kA3LandscapePixels.width() - kSheetMargin);
    EXPECT_LE(c.y + c.height, kA3LandscapePixels.height() - kSheetMargin - kSheetTitleHeight);
  }
  EXPECT_EQ(layout->cell(1).x, layout->cell(0).x + layout->cell(0).width);
  EXPECT_EQ(layout->cell(2).y, layout->cell(0).y + layout->cell(0).height);
  EXPECT_EQ(layout->pageOf(7), 0);
  EXPECT_EQ(layout->pageOf(8), 1);
  EXPECT_EQ(layout->pageOf(19), 2);
}

TEST(SectionSheetLayout, GridStepsAndPageFiles) {
  // 36 pixels at 1:100 are 0.95 m -> 1 m; at 1:250 2.4 m -> 5 m; at 1:1000 9.5 m -> 10 m.
  EXPECT_DOUBLE_EQ(sheetGridStep(100), 1);
  EXPECT_DOUBLE_EQ(sheetGridStep(250), 5);
  EXPECT_DOUBLE_EQ(sheetGridStep(1000), 10);
  EXPECT_EQ(sheetPagePath("out/sections.svg", 0, 1), "out/sections.svg");
  EXPECT_EQ(sheetPagePath("out/sections.svg", 0, 12), "out/sections-001.svg");
  EXPECT_EQ(sheetPagePath("out.d/sections", 11, 12), "out.d/sections-012");
  EXPECT_EQ(sheetPagePath("s.png", 1233, 1234), "s-1234.png");
}

TEST(SectionSheetTexts, StationElevationsAreasAndTitle) {
  SheetSection s = fillTrapezoid(1020);
  s.notes = {"left: does not meet the ground"};
  const std::vector<std::string> lines = sheetSectionLines(s);
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0], "K1+020.000");
  EXPECT_EQ(lines[1], "Design 100.000   Ground 98.000");
  EXPECT_EQ(lines[2], "Cut 0.00 m\xC2\xB2   Fill 26.00 m\xC2\xB2");
  EXPECT_EQ(lines[3], "left: does not meet the ground");
  // Unknown areas and ground are "-", never 0.
  s.groundCentre.reset();
  s.cutArea.reset();
  const std::vector<std::string> bare = sheetSectionLines(s);
  EXPECT_EQ(bare[1], "Design 100.000   Ground -");
  EXPECT_EQ(bare[2], "Cut -   Fill 26.00 m\xC2\xB2");
  SectionSheetLayout layout;
  layout.scale = 250;
  layout.pageCount = 9;
  EXPECT_EQ(sheetTitleText("demo", layout, 1), "Road: demo   Scale 1:250   Page 2 of 9");
}

TEST(CutFillRegions, KnownAreasSplitAtCrossings) {
  // The fill trapezoid: (10 + 16) / 2 · 2 = 26 m².
  const std::vector<ShadePoint> trapezoid = {{-8, 98}, {-5, 100}, {5, 100}, {8, 98}};
  std::vector<ShadeRegion> r = cutFillRegions(trapezoid, {{-20, 98}, {20, 98}});
  ASSERT_EQ(r.size(), 1u);
  EXPECT_FALSE(r[0].cut);
  EXPECT_NEAR(polygonArea(r[0].outline), 26, 1e-9);
  // Ground tilted 1:10 through the centre under a level road at 0: cut on
  // the right, fill on the left, split at the centre, each 0.5 · 10 · 1 = 5 m².
  r = cutFillRegions({{-10, 0}, {10, 0}}, {{-10, -1}, {10, 1}});
  ASSERT_EQ(r.size(), 2u);
  EXPECT_FALSE(r[0].cut);
  EXPECT_TRUE(r[1].cut);
  EXPECT_NEAR(shadedArea(r, true), 5, 1e-9);
  EXPECT_NEAR(shadedArea(r, false), 5, 1e-9);
  EXPECT_NEAR(r[0].outline.back().offset, -10, 1e-12);
  // A kerb (a vertical face at offset 2) stays inside one region: design
  // 0 then 0.2 above ground at -1: 2·1 + 3·1.2 = 5.6 m².
  r = cutFillRegions({{0, 0}, {2, 0}, {2, 0.2}, {5, 0.2}}, {{0, -1}, {5, -1}});
  ASSERT_EQ(r.size(), 1u);
  EXPECT_NEAR(polygonArea(r[0].outline), 5.6, 1e-9);
  // Lines that only touch, or do not overlap, shade nothing.
  EXPECT_TRUE(cutFillRegions({{0, 0}, {5, 0}}, {{0, 0}, {5, 0}}).empty());
  EXPECT_TRUE(cutFillRegions({{0, 0}, {5, 0}}, {{6, 1}, {9, 1}}).empty());
  EXPECT_TRUE(cutFillRegions({{0, 0}}, {{0, 1}, {9, 1}}).empty());
}

TEST(MassHaulAxes, RoundTicksHoldingZero) {
  EXPECT_DOUBLE_EQ(roundStep(1000, 10), 100);
  EXPECT_DOUBLE_EQ(roundStep(1234, 10), 200);
  EXPECT_DOUBLE_EQ(roundStep(0.3, 8), 0.05);
  EXPECT_DOUBLE_EQ(roundStep(0, 8), 1);
  EXPECT_DOUBLE_EQ(roundStep(std::nan(""), 8), 1);

  MassHaulData data;
  data.points = {{0, 1000, 0}, {500, 1500, 2300}, {1000, 2000, -700}, {1480, 2480, 150}};
  const std::optional<MassHaulAxes> axes = massHaulAxes(data);
  ASSERT_TRUE(axes);
  EXPECT_DOUBLE_EQ(axes->along.from, 0);
  EXPECT_DOUBLE_EQ(axes->along.to, 1600);
  EXPECT_DOUBLE_EQ(axes->along.step, 200);
  EXPECT_DOUBLE_EQ(axes->mass.step, 500);
  EXPECT_DOUBLE_EQ(axes->mass.from, -1000);
  EXPECT_DOUBLE_EQ(axes->mass.to, 2500);
  const std::vector<double> ticks = axes->mass.ticks();
  EXPECT_EQ(ticks.size(), 8u);
  EXPECT_NE(std::find(ticks.begin(), ticks.end(), 0.0), ticks.end());
  // All fill: the axis still reaches up to zero.
  data.points = {{0, 0, -100}, {20, 20, -400}};
  EXPECT_DOUBLE_EQ(massHaulAxes(data)->mass.to, 0);
  EXPECT_DOUBLE_EQ(massHaulAxes(data)->mass.from, -400);
  // One value: widened so the line has room.
  data.points = {{0, 0, 0}, {20, 20, 0}};
  EXPECT_LT(massHaulAxes(data)->mass.from, massHaulAxes(data)->mass.to);
  EXPECT_FALSE(massHaulAxes(MassHaulData{}));
}

TEST(MassHaulAxes, TotalsText) {
  MassHaulData data;
  data.totalCut = 1200;
  data.totalFill = 1000.05;
  data.bulking = 0.9;
  EXPECT_EQ(massHaulTotalsText(data),
            "Cut 1200.0 m\xC2\xB3 (bulking 0.90)   Fill 1000.0 m\xC2\xB3   Balance 80.0 m\xC2\xB3");
}

TEST(SectionSheetDrawing, KnownSectionPixels) {
  // One fill trapezoid on a page: the designed line is red, the ground green
  // and dashed, the fill shaded blue between them.
  const std::vector<SheetSection> sections{fillTrapezoid(1000)};
  const std::optional<SectionSheetLayout> layout =
      layoutSectionSheets({*sheetSectionExtent(sections[0])}, kA3LandscapePixels);
  ASSERT_TRUE(layout);
  QImage image(layout->page, QImage::Format_RGB32);
  {
    QPainter painter(&image);
    paintSectionSheetPage(painter, *layout, sections, 0, "demo");
  }
  // The section is centred in its drawing: the box's middle (offset 0,
  // elevation 99) at the drawing's centre; the road's top at 100 lies
  // 1 m / (scale · pixel metres) above it.
  const SectionSheetLayout::Cell cell = layout->cell(0);
  const double mpp = layout->scale * kSheetPixelMetres;
  const int cx = cell.x + cell.width / 2;
  const int cy = cell.y + 10 + (cell.height - 20 - kSheetTextBand) / 2;
  const int roadY = static_cast<int>(std::lround(cy - 1 / mpp));
  auto reddish = [&](int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
      const QColor c = image.pixelColor(x, y + dy);
      if (c.red() > 150 && c.green() < 100 && c.blue() < 100) return true;
    }
    return false;
  };
  EXPECT_TRUE(reddish(cx + 20, roadY));
  EXPECT_TRUE(reddish(cx - 20, roadY));
  // Inside the fill (offset 0, elevation 99): the blue shade.
  const QColor fill = image.pixelColor(cx + 3, cy);
  EXPECT_GT(fill.blue(), fill.red() + 30);
  // Above the road: no shade.
  const QColor above = image.pixelColor(cx + 3, static_cast<int>(cy - 1.5 / mpp));
  EXPECT_GT(above.red(), 200);
  EXPECT_GT(above.blue(), 200);
}

TEST(SectionSheetFiles, PdfPagesSvgFilesAndRefusals) {
  QTemporaryDir dir;
  std::vector<SheetSection> sections;
  for (int i = 0; i < 20; ++i) sections.push_back(fillTrapezoid(1000 + 20 * i));
  std::string error;
  std::vector<std::string> written;
  const std::string pdf = (dir.path() + "/sections.pdf").toStdString();
  ASSERT_TRUE(writeSectionSheets(sections, pdf, "demo", error, {}, {}, &written)) << error;
  const std::optional<SectionSheetLayout> layout = layoutSectionSheets(
      std::vector<WorldBox>(20, *sheetSectionExtent(sections[0])), kA3LandscapePixels);
  ASSERT_TRUE(layout);
  ASSERT_GT(layout->pageCount, 1);
  const std::string bytes = readAll(pdf);
  std::size_t pages = 0;
  for (std::size_t at = bytes.find("/Type /Page\n"); at != std::string::npos;
       at = bytes.find("/Type /Page\n", at + 1))
    ++pages;
  std::size_t pagesAlt = 0;
  for (std::size_t at = bytes.find("/Type /Page"); at != std::string::npos;
       at = bytes.find("/Type /Page", at + 1))
    if (bytes.compare(at, 12, "/Type /Pages") != 0) ++pagesAlt;
  EXPECT_EQ(std::max(pages, pagesAlt), static_cast<std::size_t>(layout->pageCount));
  EXPECT_EQ(written, std::vector<std::string>{pdf});

  written.clear();
  const std::string svg = (dir.path() + "/sections.svg").toStdString();
  ASSERT_TRUE(writeSectionSheets(sections, svg, "demo", error, {}, {}, &written)) << error;
  ASSERT_EQ(written.size(), static_cast<std::size_t>(layout->pageCount));
  EXPECT_EQ(written.front(), (dir.path() + "/sections-001.svg").toStdString());
  EXPECT_NE(readAll(written.back()).find("<svg"), std::string::npos);

  // Cancelled at the first page: nothing written.
  const std::string cancelled = (dir.path() + "/cancelled.pdf").toStdString();
  EXPECT_FALSE(
      writeSectionSheets(sections, cancelled, "demo", error, {}, [](double) { return false; }));
  EXPECT_EQ(error, "cancelled");
  EXPECT_FALSE(QFile::exists(QString::fromStdString(cancelled)));
  EXPECT_FALSE(writeSectionSheets({}, (dir.path() + "/none.pdf").toStdString(), "demo", error));
  EXPECT_EQ(error, "no sections to draw");
  EXPECT_FALSE(writeSectionSheets(sections, (dir.path() + "/s.jpg").toStdString(), "demo", error));
}

TEST(MassHaulFiles, WrittenInEachFormat) {
  QTemporaryDir dir;
  MassHaulData data;
  data.points = {{0, 0, 0}, {100, 100, 500}, {200, 200, -300}};
  data.totalCut = 800;
  data.totalFill = 1100;
  std::string error;
  for (const char* name : {"/m.png", "/m.svg", "/m.pdf"}) {
    const std::string path = (dir.path() + name).toStdString();
    ASSERT_TRUE(writeMassHaul(data, path, QSize(1200, 700), "demo", error)) << error;
    EXPECT_GT(readAll(path).size(), 200u);
  }
  QImage image((dir.path() + "/m.png"));
  EXPECT_EQ(image.size(), QSize(1200, 700));
  EXPECT_FALSE(writeMassHaul(MassHaulData{}, (dir.path() + "/e.png").toStdString(), QSize(800, 600),
                             "d", error));
  EXPECT_FALSE(
      writeMassHaul(data, (dir.path() + "/e.bmp").toStdString(), QSize(800, 600), "d", error));
}

}  // namespace
}  // namespace trazmark
