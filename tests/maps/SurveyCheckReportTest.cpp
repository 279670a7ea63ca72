// The as-built check's report and its points on the plan: pages for the
// rows, and the points painted green within tolerance and red beyond where
// they lie.

#include "maps/SurveyCheckReport.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <fstream>
#include <iterator>

#include "alignment/RoadDesign_CrossPoint.h"
#include "maps/SurveyCheckLayer.h"
#include "support/ExampleRoad.h"

namespace trazmark {
namespace {

/// A road of intersection points whose first 800 m run straight north from (0, 0).
bool loadRoad(const QTemporaryDir& dir, CRoadDesign& design) {
  const std::string path = test::writeExampleCurveFile(dir.path().toStdString(), "CHECK");
  return !path.empty() && design.loadFromCurveFile(path);
}

/// A point on the straight at `north`, 3 m right, checked with `dz`.
CheckedPoint row(double north, CheckFlag flag, double dz) {
  CheckedPoint r;
  r.point.name = "P" + std::to_string(static_cast<int>(north));
  r.point.x = north;
  r.point.y = 3;
  r.flag = flag;
  r.location.status = StationLocation::kOnRoad;
  r.location.displayedMileage = north;
  r.location.offset = 3;
  r.designZ = 100;
  r.dz = dz;
  r.edge = "lane";
  r.dOffset = -0.5;
  return r;
}

std::size_t pdfPages(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::size_t pages = 0;
  for (std::size_t at = text.find("/Type /Page"); at != std::string::npos; at = text.find("/Type /Page", at + 1))
    if (text.compare(at, 12, "/Type /Pages") != 0) ++pages;
  return pages;
}

TEST(SurveyCheckReport, PagesFollowTheRowsAndTheFileIsReplacedWhole) {
  QTemporaryDir dir;
  CRoadDesign design;
  ASSERT_TRUE(loadRoad(dir, design));
  const std::size_t first = static_cast<std::size_t>(CSurveyCheckReport::firstPageRows());
  const std::size_t per = static_cast<std::size_t>(CSurveyCheckReport::rowsPerPage());
  ASSERT_GT(first, 10u);
  ASSERT_GT(per, first);
  const CheckSummary summary;
  const CheckTolerances tolerances;
  const std::pair<std::size_t, int> cases[] = {{0, 1}, {first, 1}, {first + 1, 2}, {first + per, 2}, {first + 2 * per + 1, 4}};
  for (const auto& [n, pages] : cases) {
    SCOPED_TRACE(n);
    std::vector<CheckedPoint> rows;
    for (std::size_t i = 0; i < n; ++i) rows.push_back(row(10 + static_cast<double>(i % 700), CheckFlag::kWithin, 0.01));
    EXPECT_EQ(CSurveyCheckReport(design, rows, summary, tolerances, "CHECK").pageCount(), pages);
    const std::string path = (dir.path() + "/check.pdf").toStdString();
    std::string error;
    ASSERT_TRUE(writeSurveyCheckReport(path, design, rows, summary, tolerances, "CHECK", error)) << error;
    EXPECT_EQ(pdfPages(path), static_cast<std::size_t>(pages));
  }
  // A report that cannot be written says so and names the file.
  std::string error;
  EXPECT_FALSE(writeSurveyCheckReport((dir.path() + "/no/such/folder/r.pdf").toStdString(), design, {}, summary,
                                      tolerances, "CHECK", error));
  EXPECT_NE(error.find("r.pdf"), std::string::npos);
}

TEST(SurveyCheckReport, PointsAreGreenWithinAndRedBeyondWhereTheyLie) {
  QTemporaryDir dir;
  CRoadDesign design;
  ASSERT_TRUE(loadRoad(dir, design));
  // Within tolerance on the south part of the straight, beyond on its north part.
  std::vector<CheckedPoint> rows;
  for (int i = 0; i < 8; ++i) rows.push_back(row(50 + 40 * i, CheckFlag::kWithin, 0.004));
  for (int i = 0; i < 8; ++i) rows.push_back(row(450 + 40 * i, CheckFlag::kBeyond, -0.061));
  CheckedPoint off = row(0, CheckFlag::kOffRoad, 0);
  off.point.x = -500;  // far before the start: left out of the plan's extent
  off.location.status = StationLocation::kOutside;
  off.location.distance = 500;
  off.dz.reset();
  rows.push_back(off);
  const CheckSummary summary;
  const CheckTolerances tolerances;
  const CSurveyCheckReport report(design, rows, summary, tolerances, "CHECK", "2026-12-08");
  QImage page(CSurveyCheckReport::pageSize(), QImage::Format_RGB32);
  {
    QPainter painter(&page);
    report.paintPage(painter, 0);
  }
  // The plan's area: below the summary, above the table.
  double redY = 0, greenY = 0;
  std::size_t red = 0, green = 0;
  for (int y = 170; y < 600; ++y)
    for (int x = 0; x < page.width(); ++x) {
      const QColor c = page.pixelColor(x, y);
      if (c.red() > 180 && c.green() < 60 && c.blue() < 60) {
        ++red;
        redY += y;
      } else if (c.green() > 110 && c.red() < 60 && c.blue() < 90) {
        ++green;
        greenY += y;
      }
    }
  ASSERT_GT(red, 50u);
  ASSERT_GT(green, 50u);
  // North is up: the points beyond (further north) lie above those within.
  EXPECT_LT(redY / red, greenY / green - 50);
  // The off-road point did not shrink the plan to hold it: the road fills it.
  const std::optional<WorldBox> box = checkedPointsBox(rows, false);
  ASSERT_TRUE(box);
  EXPECT_DOUBLE_EQ(box->minX, 50);

  // The table's cells: a missing figure is "-", a long chain's place named.
  EXPECT_EQ(surveyCheckCell(rows[0], kCheckDz), "+0.004");
  EXPECT_EQ(surveyCheckCell(off, kCheckStation), "outside");
  EXPECT_EQ(surveyCheckCell(off, kCheckOffset), "500.000");
  EXPECT_EQ(surveyCheckCell(off, kCheckDz), "-");
  CheckedPoint chain = rows[0];
  chain.location.branch = 0;
  EXPECT_EQ(surveyCheckCell(chain, kCheckStation), "K0+050.000 (before)");
}

TEST(SurveyCheckLayer, OverlappingLabelsAreDroppedAndOnlyTheWindowIsDrawn) {
  // 20,000 points on a 200 m square: all inside a window of 400 by 400
  // pixels at 1 m a pixel, far too many labels to fit.
  auto rows = std::make_shared<std::vector<CheckedPoint>>();
  for (int i = 0; i < 20000; ++i) {
    CheckedPoint r = row(0, i % 3 == 0 ? CheckFlag::kBeyond : CheckFlag::kWithin, 0.01 * (i % 7));
    r.point.x = i % 200;
    r.point.y = (i / 200) * 2;
    rows->push_back(r);
  }
  CSurveyCheckLayer layer(rows);
  MapView view;
  ASSERT_TRUE(view.setClientRect({0, 0, 400, 400}));
  view.commitTarget({100, 100, 1.0});
  QImage image(400, 400, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    layer.draw(painter, view, kLayerList);
  }
  EXPECT_EQ(layer.lastDrawn().points, 20000u);
  EXPECT_GT(layer.lastDrawn().labels, 20u);
  EXPECT_LT(layer.lastDrawn().labels, 800u);
  // Zoomed in on a corner: only what is in view.
  view.commitTarget({0, 0, 0.1});
  {
    QPainter painter(&image);
    layer.draw(painter, view, kLayerList);
  }
  EXPECT_LT(layer.lastDrawn().points, 1000u);
  EXPECT_GT(layer.lastDrawn().points, 0u);
}

}  // namespace
}  // namespace trazmark
