// What the maps and drawings show of the earthwork: the section at a
// station with its catch points, shading and areas (drawn and in the
// corner), a section as the sheets take it, the sections of a table and its
// mass-haul diagram.

#include "maps/EarthworkViews.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>

#include "earthwork/EarthworkTestRoad.h"
#include "maps/GroundViews.h"

namespace trazmark {
namespace {

using test::StraightRoad;

/// Flat ground at 100 under the level road at 102 with 3.5 m lanes: fill
/// slopes 1:1.5 fall 2 m over 3 m, so the catch points lie at ±6.5 m and
/// each side fills (3.5 + 6.5) / 2 · 2 = 10 m².
class FillOnFlatGround : public ::testing::Test {
 protected:
  StraightRoad road{1000, 102, 3.5};
  test::TinGround flat = test::planeGround(100);
};

TEST_F(FillOnFlatGround, PictureHasCatchPointsAreasAndOnlyTheSlopeThatApplies) {
  StationSectionPicture picture;
  std::string error;
  ASSERT_TRUE(stationSectionPicture(road.road, road.design, road.profile, &flat.ground, 100, -1, {},
                                    picture, error))
      << error;
  ASSERT_EQ(picture.catchPoints.size(), 2u);
  EXPECT_NEAR(picture.catchPoints[0].offset, -6.5, 1e-6);
  EXPECT_NEAR(picture.catchPoints[1].offset, 6.5, 1e-6);
  EXPECT_NEAR(picture.catchPoints[1].elevation, 100, 1e-6);
  ASSERT_GE(picture.earthworkLine.size(), 4u);
  EXPECT_NEAR(picture.earthworkLine.front().offset, -6.5, 1e-6);
  EXPECT_NEAR(picture.earthworkLine.back().offset, 6.5, 1e-6);
  // The section lists both slopes' 50 m steps; only the lanes stay drawn as
  // components, the slope that applies is the designed line.
  for (const SectionSegment& s : picture.segments) {
    EXPECT_LE(std::fabs(s.y1), 3.5 + 1e-9);
    EXPECT_LE(std::fabs(s.y2), 3.5 + 1e-9);
  }
  EXPECT_EQ(picture.corner,
            (std::vector<std::string>{"K0+100.000", "Design 102.000", "Ground 100.000",
                                      "Cut 0.00 m\xC2\xB2", "Fill 20.00 m\xC2\xB2"}));
  // The pavement depth lowers the formation under the paved lanes: 0.5 m
  // less fill across 7 m.
  ASSERT_TRUE(stationSectionPicture(road.road, road.design, road.profile, &flat.ground, 100, -1, {},
                                    picture, error, 0.5));
  EXPECT_EQ(picture.corner[4], "Fill 16.50 m\xC2\xB2");
}

TEST_F(FillOnFlatGround, DrawnWithFillShadedAndCatchRings) {
  StationSectionPicture picture;
  std::string error;
  ASSERT_TRUE(stationSectionPicture(road.road, road.design, road.profile, &flat.ground, 100, -1, {},
                                    picture, error));
  MapView view;
  view.setBackground(kColourBlack);
  ASSERT_TRUE(view.setClientRect({0, 0, 800, 400}));
  // 5 cm a pixel, centred on offset 0 at elevation 101.
  view.commitTarget({101, 0, 0.05});
  QImage image(800, 400, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    drawEarthworkShading(painter, view, picture);
    drawEarthworkLine(painter, view, picture);
  }
  auto pixel = [&](double offset, double elevation) {
    const ScreenPoint p = view.worldToScreen(elevation, offset);
    return image.pixelColor(p.x, p.y);
  };
  // Inside the fill (under the lane, above the ground): blue.
  const QColor fill = pixel(1, 101);
  EXPECT_GT(fill.blue(), 80);
  EXPECT_GT(fill.blue(), fill.red() + 40);
  // Outside the catch points and above the road: nothing.
  EXPECT_EQ(pixel(8, 101), QColor(Qt::black));
  EXPECT_EQ(pixel(0, 102.5), QColor(Qt::black));
  // The designed line (yellow) along the lane's top.
  const QColor line = pixel(2, 102);
  EXPECT_GT(line.red(), 200);
  EXPECT_GT(line.green(), 180);
  EXPECT_LT(line.blue(), 100);
  // A white ring 5 pixels around the right catch point.
  const ScreenPoint c = view.worldToScreen(100, 6.5);
  bool ring = false;
  for (int dx = 3; dx <= 7; ++dx)
    if (image.pixelColor(c.x + dx, c.y).lightness() > 200) ring = true;
  EXPECT_TRUE(ring);
}

TEST_F(FillOnFlatGround, SheetSectionsAndMassHaulOfATable) {
  EarthworkOptions options;
  options.from = 0;
  options.to = 100;
  EarthworkTable table;
  std::string error;
  ASSERT_TRUE(
      earthworkTable(road.road, road.design, road.profile, flat.ground, options, table, error))
      << error;
  ASSERT_EQ(table.rows.size(), 6u);
  std::vector<SheetSection> sections;
  ASSERT_TRUE(
      sheetSectionsOf(road.road, road.design, road.profile, flat.ground, 0, table, sections, error))
      << error;
  ASSERT_EQ(sections.size(), 6u);
  EXPECT_DOUBLE_EQ(sections[3].station, 60);
  ASSERT_TRUE(sections[3].fillArea);
  EXPECT_NEAR(*sections[3].fillArea, 20, 1e-6);
  EXPECT_NEAR(*sections[3].cutArea, 0, 1e-9);
  EXPECT_EQ(sections[3].catchPoints.size(), 2u);
  EXPECT_TRUE(sections[3].notes.empty());
  EXPECT_NEAR(*sections[3].groundCentre, 100, 1e-9);
  // Cancelled part way: no sections.
  int asked = 0;
  EXPECT_FALSE(sheetSectionsOf(road.road, road.design, road.profile, flat.ground, 0, table,
                               sections, error, [&asked](double) { return ++asked < 3; }));
  EXPECT_EQ(error, "cancelled");
  EXPECT_TRUE(sections.empty());

  // All fill: the mass ordinate falls 20 m² · 20 m = 400 m³ a station.
  const MassHaulData data = massHaulOf(table);
  ASSERT_EQ(data.points.size(), 6u);
  for (std::size_t i = 0; i < data.points.size(); ++i) {
    EXPECT_NEAR(data.points[i].distance, 20.0 * static_cast<double>(i), 1e-9);
    EXPECT_NEAR(data.points[i].mass, -400.0 * static_cast<double>(i), 1e-6);
  }
  EXPECT_NEAR(data.totalFill, 2000, 1e-6);
  EXPECT_NEAR(data.totalCut, 0, 1e-9);
}

TEST(EarthworkSheetSection, SidesWithoutAreasSayWhy) {
  StraightRoad road{1000, 102, 3.5};
  road.road.slopes.clear();
  const test::TinGround flat = test::planeGround(100);
  EarthworkSection section;
  std::string error;
  ASSERT_TRUE(earthworkSectionAt(road.road, road.design, road.profile, flat.ground, 0, 40, -1,
                                 section, error));
  const SheetSection sheet = sheetSectionOf(section, 40);
  EXPECT_FALSE(sheet.cutArea);
  EXPECT_FALSE(sheet.fillArea);
  EXPECT_TRUE(sheet.catchPoints.empty());
  EXPECT_EQ(sheet.notes, (std::vector<std::string>{"Left: no slope", "Right: no slope"}));
  EXPECT_EQ(sheetSectionLines(sheet)[2], "Cut -   Fill -");
}

}  // namespace
}  // namespace trazmark
