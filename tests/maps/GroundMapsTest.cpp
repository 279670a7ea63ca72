// The ground in the maps: the profile's ground line and fill/cut heights, the
// section at a station over the ground across, the station control's rules,
// and the plan's terrain layer; over plane TINs whose ground is known exactly.

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QTemporaryDir>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "editors/AlignmentLoader.h"
#include "maps/GroundViews.h"
#include "maps/ProfileDrawing.h"
#include "maps/SectionMapPanel.h"
#include "maps/SectionStations.h"
#include "maps/StationSectionSource.h"
#include "maps/TerrainLayer.h"
#include "maps/VertricalCurveMap.h"
#include "platform/TextFields.h"
#include "vertical/VerticalCurveCal.h"

namespace trazmark {
namespace {

/// A straight road due north from (0, 0), stations 0 to 200, level at 100 m,
/// with one lane of 3.5 m at −2 % a side.
RoadDataSet straightRoad() {
  RoadDataSet road;
  road.FlatcurveType = kFlatcurveElements;
  Road_Element start;
  start.Type = 1;
  Road_Element line;
  line.Type = 2;
  line.Length = 200;
  road.elements.append(start);
  road.elements.append(line);
  for (double m : {0.0, 200.0}) {
    CVerticalCurveCal p;
    p.Mileage = m;
    p.High = 100;
    road.verticalCurves.append(p);
  }
  Road_Section_Item lane;
  lane.setModuleName("lane");
  lane.Width = 3.5;
  lane.Slope = -2;
  road.leftSections.append(lane);
  road.rightSections.append(lane);
  return road;
}

/// A plane TIN z = z0 + gx·x + gy·y over x, y in [-60, 260] × [-60, 60], as
/// a survey point file loaded through the road's ground.
class PlaneGround {
 public:
  PlaneGround(double z0, double gx, double gy) {
    std::string text;
    for (int x = -60; x <= 260; x += 20)
      for (int y = -60; y <= 60; y += 20) appendFormat(text, "%d,%d,%.6f\n", x, y, z0 + gx * x + gy * y);
    const std::string path = dir_.filePath("plane.csv").toStdString();
    std::ofstream(path, std::ios::binary) << text;
    RoadTerrainSettings settings;
    settings.terrainPath = path;
    auto ground = std::make_shared<CRoadGround>();
    std::string error;
    EXPECT_TRUE(ground->load(settings, dir_.path().toStdString(), error)) << error;
    ground_ = ground;
  }
  const std::shared_ptr<const CRoadGround>& ground() const { return ground_; }

 private:
  QTemporaryDir dir_;
  std::shared_ptr<const CRoadGround> ground_;
};

CRoadDesign designOf(const RoadDataSet& road) {
  CRoadDesign design;
  std::string error;
  EXPECT_TRUE(loadRoadAlignment(road, "r", design, error)) << error;
  return design;
}

RecordList<CVerticalCurveCal> setUp(RecordList<CVerticalCurveCal> points) {
  refreshGradePoints(points);
  setupVerticalCurves(points);
  return points;
}

// ------------------------------------------------------------------ profile

TEST(FillCutLabels, TextsOfHeights) {
  const struct {
    double height;
    const char* text;
  } cases[] = {{1.25, "+1.250"}, {-0.73, "-0.730"}, {0.0004, "0.000"}, {-0.0004, "0.000"},
               {12.3456, "+12.346"}, {NAN, "?"}};
  for (const auto& c : cases) EXPECT_EQ(fillCutText(c.height), c.text) << c.height;
}

TEST(GroundProfile, RunsBreakAtStakesWithoutGround) {
  const std::vector<GroundSample> samples{{0, 90.0}, {20, 91.0}, {40, std::nullopt}, {60, 93.0},
                                          {80, std::nullopt}, {100, 95.0}, {120, 96.0}};
  const auto runs = groundProfileRuns(samples);
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(runs[0].size(), 2u);
  EXPECT_EQ(runs[1].size(), 1u);  // a lone stake with ground between two gaps
  EXPECT_EQ(runs[2].size(), 2u);
  EXPECT_DOUBLE_EQ(runs[2][1].x, 96);
  EXPECT_DOUBLE_EQ(runs[2][1].y, 120 / kProfileExaggeration);
  EXPECT_TRUE(groundProfileRuns({{0, std::nullopt}}).empty());
}

TEST(GroundProfile, GroundAtTheStakesOfATiltedPlane) {
  const RoadDataSet road = straightRoad();
  const CRoadDesign design = designOf(road);
  // Falling 5 cm a metre northward: 97 m at the start, 87 m at station 200.
  const PlaneGround plane(97, -0.05, 0.01);
  const std::vector<GroundSample> samples = groundAtStakes(design, *plane.ground());
  ASSERT_EQ(samples.size(), 11u);  // 0, 20, ..., 200
  for (const GroundSample& s : samples) {
    ASSERT_TRUE(s.elevation) << s.station;
    EXPECT_NEAR(*s.elevation, 97 - 0.05 * s.station, 1e-9) << s.station;
  }
  // Design − ground, fill positive; only within the grade line's stations.
  std::vector<GroundSample> withOutside = samples;
  withOutside.push_back({260, 80.0});
  const auto heights = fillCutHeights(setUp(road.verticalCurves), withOutside);
  ASSERT_EQ(heights.size(), 11u);
  EXPECT_NEAR(heights[0].height(), 3, 1e-9);
  EXPECT_NEAR(heights[10].height(), 13, 1e-9);

  // Off the TIN there is no ground: a road beyond it gets none.
  const PlaneGround far(0, 0, 0);
  RoadDataSet east = road;
  east.elements[0].point.Y = 1000;
  for (const GroundSample& s : groundAtStakes(designOf(east), *far.ground())) EXPECT_FALSE(s.elevation);
}

bool isGround(QRgb p) { return qGreen(p) > 150 && qRed(p) > 100 && qRed(p) < 200 && qBlue(p) < 140; }

TEST(GroundProfile, DrawnUnderTheGradeLineAndFittedByFullExtent) {
  const RoadDataSet road = straightRoad();
  const PlaneGround plane(97, -0.05, 0);
  const std::vector<GroundSample> samples = groundAtStakes(designOf(road), *plane.ground());
  const RecordList<CVerticalCurveCal> points = setUp(road.verticalCurves);
  QImage image;
  MapView view;
  ASSERT_TRUE(renderProfileImage(points, QSize(600, 400), false, image, &view, &samples, false));
  // The ground's lowest point (87 m at station 200) is inside the window.
  const ScreenPoint low = view.worldToScreen(87, 200 / kProfileExaggeration);
  EXPECT_TRUE(view.clientRect().contains(low.x, low.y));
  // The ground line passes through its stakes' elevations: a ground pixel at
  // each stake inside the window (or beside it, for the pen's rounding).
  for (double station : {40.0, 100.0, 160.0}) {
    const ScreenPoint p = view.worldToScreen(97 - 0.05 * station, station / kProfileExaggeration);
    bool found = false;
    for (int dy = -1; dy <= 1 && !found; ++dy) found = isGround(image.pixel(p.x, p.y + dy));
    EXPECT_TRUE(found) << station;
  }
  // Without the ground the extent is the grade line's alone: a level line.
  MapView alone;
  ASSERT_TRUE(renderProfileImage(points, QSize(600, 400), false, image, &alone));
  EXPECT_LT(alone.scale(), view.scale());
}

TEST(GroundProfile, MapTakesGroundAndSwitchesHeightLabels) {
  QTemporaryDir dir;
  CVertricalCurveMap map;
  map.resize(600, 300);
  const std::string vr = dir.filePath("p.VR").toStdString();
  std::ofstream(vr, std::ios::binary) << "0.000,100.000,0,0,0,0,0,0,0,\r\n200.000,100.000,0,0,0,0,0,0,0,\r\n";
  ASSERT_TRUE(map.showVerticalCurveFile(vr));
  map.setGroundSamples({{0, 80.0}, {100, 85.0}, {200, 90.0}});
  // Full extent reaches down to the ground 20 m below the grade line.
  map.show();
  map.fullExtent();
  const MapView& view = map.mapManage().view();
  const ScreenPoint low = view.worldToScreen(80, 0);
  EXPECT_TRUE(view.clientRect().contains(low.x, low.y));
  EXPECT_TRUE(map.heightLabelsShown());
  map.setHeightLabelsShown(false);
  EXPECT_FALSE(map.heightLabelsShown());
  // Labels drawn: one per stake with both lines, until space runs out.
  QImage image(600, 300, QImage::Format_RGB32);
  image.fill(Qt::black);
  QPainter painter(&image);
  EXPECT_EQ(drawFillCutLabels(painter, view, map.gradePoints(), map.groundSamples()), 3);
}

// ------------------------------------------------------------------ section

TEST(StationSection, DesignOverATiltedGroundAcross) {
  const RoadDataSet road = straightRoad();
  const CRoadDesign design = designOf(road);
  CRoadProfile profile;
  std::string error;
  ASSERT_TRUE(profile.build(road.verticalCurves, design, error)) << error;
  // Rising 10 cm a metre eastward (to the right of a road due north), 95 m on the centre line.
  const PlaneGround plane(95, 0, 0.1);
  StationSectionPicture picture;
  ASSERT_TRUE(stationSectionPicture(road, design, profile, plane.ground().get(), 100, -1, {}, picture, error))
      << error;
  // The design: 100 m at the centre, 7 cm lower at each lane's edge.
  ASSERT_EQ(picture.segments.size(), 2u);
  EXPECT_NEAR(picture.segments[0].x1, 100, 1e-9);
  EXPECT_NEAR(picture.segments[0].x2, 99.93, 1e-9);
  EXPECT_NEAR(picture.segments[0].y2, -3.5, 1e-9);
  EXPECT_NEAR(picture.segments[1].y2, 3.5, 1e-9);
  // Each surface is labelled with its component at the station.
  ASSERT_EQ(picture.segments[1].component, 0);
  ASSERT_EQ(picture.right.size(), 1u);
  EXPECT_EQ(picture.right[0].moduleName(), "lane");
  EXPECT_DOUBLE_EQ(picture.right[0].Slope, -2);
  // The ground across: every vertex on the plane, from -20 to +20 m.
  ASSERT_FALSE(picture.ground.empty());
  double first = 1e9, last = -1e9;
  for (const auto& piece : picture.ground.pieces) {
    for (const GroundVertex& v : piece) {
      EXPECT_NEAR(v.elevation, 95 + 0.1 * v.distance, 1e-9) << v.distance;
      first = std::min(first, v.distance);
      last = std::max(last, v.distance);
    }
  }
  EXPECT_NEAR(first, -groundHalfWidthFor(3.5), 1e-9);
  EXPECT_NEAR(last, groundHalfWidthFor(3.5), 1e-9);
  // Over the ground the earthwork is added: this road has no side slopes,
  // so neither side closes and no area is given (never a silent 0).
  EXPECT_EQ(picture.corner, (std::vector<std::string>{"K0+100.000", "Design 100.000", "Ground 95.000", "Cut -",
                                                      "Fill -", "Left: no slope", "Right: no slope"}));
  // Full extent covers the ground below the road as well as the road.
  const auto box = stationSectionExtent(picture.segments, picture.ground);
  ASSERT_TRUE(box);
  EXPECT_NEAR(box->minX, 95 - 0.1 * groundHalfWidthFor(3.5), 1e-9);

  // Without ground: the design alone and "-" in the corner.
  ASSERT_TRUE(stationSectionPicture(road, design, profile, nullptr, 100, -1, {}, picture, error));
  EXPECT_TRUE(picture.ground.empty());
  EXPECT_EQ(picture.corner[2], "Ground -");
  // A station off the road is refused.
  EXPECT_FALSE(stationSectionPicture(road, design, profile, nullptr, 500, -1, {}, picture, error));
}

TEST(StationSection, KerbIsAVerticalFaceAtTheInnerEnd) {
  SectionAtStation s;
  s.centreElevation = 50;
  s.edges.push_back({'R', "lane", 3, -2, 3, 49.94 + 0.15, 0, 0});
  const auto segments = buildStationSegments(s);
  ASSERT_EQ(segments.size(), 2u);
  EXPECT_NEAR(segments[0].x2 - segments[0].x1, 0.15, 1e-9);  // the kerb
  EXPECT_EQ(segments[0].y1, segments[0].y2);
  EXPECT_NEAR(segments[1].x2, 50.09, 1e-9);
}

TEST(StationSection, GroundDrawnInItsColourWithGapsOpen) {
  GroundLine ground;
  ground.pieces.push_back({{-20, 90}, {-5, 90}});
  ground.pieces.push_back({{5, 90}, {20, 90}});
  MapView view;
  view.setClientRect({0, 0, 400, 200});
  view.commitTarget(*view.fullExtentTarget({WorldBox{85, -20, 95, 20}}));
  QImage image(400, 200, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    drawGroundAcross(painter, view, ground);
  }
  auto groundAt = [&](double offset) {
    const ScreenPoint p = view.worldToScreen(90, offset);
    return isGround(image.pixel(p.x, p.y)) || isGround(image.pixel(p.x, p.y - 1)) ||
           isGround(image.pixel(p.x, p.y + 1));
  };
  EXPECT_TRUE(groundAt(-10));
  EXPECT_TRUE(groundAt(10));
  EXPECT_FALSE(groundAt(0));  // the gap stays open
}

// --------------------------------------------------------- station control

TEST(SectionStations, TypedStationsRead) {
  const struct {
    const char* text;
    std::optional<double> value;
  } cases[] = {{"1250.5", 1250.5},       {"K1+250.5", 1250.5}, {" k0+020 ", 20.0}, {"-K0+020.000", -20.0},
               {"K12+000.000", 12000.0}, {"K1+1000", {}},      {"K+5", {}},        {"K1-5", {}},
               {"abc", {}},              {"", {}},             {"12O", {}}};
  for (const auto& c : cases) EXPECT_EQ(parseStationText(c.text), c.value) << c.text;
}

RoadCoordinate stake(double displayed, double continuous) {
  RoadCoordinate r;
  r.mileage = displayed;
  r.continuousMileage = continuous;
  return r;
}

TEST(SectionStations, StepsFromStakeToStakeInRoadOrder) {
  CSectionStations stations;
  // A long chain 1050 → 1000: displayed 1000 to 1040 come twice.
  stations.setStakes({stake(980, 980), stake(1000, 1000), stake(1020, 1020), stake(1040, 1040),
                      stake(1000, 1050), stake(1020, 1070), stake(1040, 1090), stake(1060, 1110)});
  // Nothing chosen: the next stake is the first, the previous the last.
  ASSERT_TRUE(stations.next());
  EXPECT_EQ(stations.next()->continuous, 980);
  EXPECT_EQ(stations.previous()->continuous, 1110);

  stations.choose({1030, -1, 1030});  // typed between two stakes
  EXPECT_EQ(stations.next()->continuous, 1040);
  EXPECT_EQ(stations.previous()->continuous, 1020);
  ASSERT_TRUE(stations.stepNext());
  ASSERT_TRUE(stations.stepNext());
  // Past the chain: the same displayed station on the branch after it.
  EXPECT_EQ(stations.current()->station, 1000);
  EXPECT_EQ(stations.current()->side, 1);
  EXPECT_EQ(stations.stakes()[1].side, 0);
  EXPECT_EQ(stations.stakes()[0].side, -1);
  // At the last stake there is no next one, and the station stays.
  stations.choose({1060, -1, 1110});
  EXPECT_FALSE(stations.stepNext());
  EXPECT_EQ(stations.current()->continuous, 1110);
  stations.choose({980, -1, 980});
  EXPECT_FALSE(stations.stepPrevious());
  // No stakes: nowhere to go.
  stations.setStakes({});
  EXPECT_FALSE(stations.current());
  EXPECT_FALSE(stations.stepNext());
}

TEST(SectionStations, SourceRefusesWhatItCannotShow) {
  CStationSectionSource source;
  EXPECT_EQ(source.choose("100"), "IDS_WARN_station_needs_road");  // no road yet
  RoadDataSet road = straightRoad();
  EXPECT_EQ(source.setRoad(road, "r"), "");
  EXPECT_EQ(source.choose("K0+100"), "");
  EXPECT_EQ(source.stations().current()->station, 100);
  EXPECT_EQ(source.choose("K0+500"), "IDS_WARN_station_not_on_road");
  EXPECT_EQ(source.choose("hundred"), "IDS_WARN_station_not_a_station");
  EXPECT_EQ(source.stations().current()->station, 100);  // a refusal keeps the station
  EXPECT_EQ(source.stepNext(), "");
  EXPECT_EQ(source.stations().current()->station, 120);
  ASSERT_EQ(source.choose("200"), "");
  EXPECT_EQ(source.stepNext(), "IDS_WARN_station_last_stake");
  StationSectionPicture picture;
  std::string error;
  EXPECT_TRUE(source.picture({}, picture, error)) << error;
  EXPECT_EQ(picture.corner[0], "K0+200.000");
  // The road again, shorter: a station it still holds stays chosen.
  road.elements[1].Length = 150;
  road.verticalCurves[1].Mileage = 150;
  ASSERT_EQ(source.choose("140"), "");
  EXPECT_EQ(source.setRoad(road, "r"), "");
  ASSERT_TRUE(source.stations().current());
  EXPECT_EQ(source.stations().current()->station, 140);
  // Without grade points there is no design elevation to draw at.
  road.verticalCurves.clear();
  EXPECT_EQ(source.setRoad(road, "r"), "IDS_WARN_station_needs_grade_line");
  EXPECT_EQ(source.stepNext(), "IDS_WARN_station_needs_grade_line");
}

TEST(SectionStations, PanelStepsWithPageKeysAndTypedStations) {
  CSectionMapPanel panel;
  panel.resize(600, 300);
  panel.setRoad(straightRoad(), "r");
  const PlaneGround plane(95, 0, 0.1);
  panel.setGround(plane.ground());
  EXPECT_FALSE(panel.map()->stationShown());  // the standard section until a station is chosen
  panel.stationField()->setText(QStringLiteral("K0+060"));
  emit panel.stationField()->returnPressed();
  ASSERT_TRUE(panel.map()->stationShown());
  EXPECT_EQ(panel.map()->stationPicture().corner[0], "K0+060.000");
  QKeyEvent pageDown(QEvent::KeyPress, Qt::Key_PageDown, Qt::NoModifier);
  QApplication::sendEvent(panel.map(), &pageDown);  // the map passes it on to the panel
  EXPECT_EQ(panel.map()->stationPicture().corner[0], "K0+080.000");
  EXPECT_EQ(panel.stationField()->text(), QStringLiteral("K0+080.000"));
  QKeyEvent pageUp(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
  QApplication::sendEvent(panel.stationField(), &pageUp);
  QApplication::sendEvent(panel.stationField(), &pageUp);
  EXPECT_EQ(panel.map()->stationPicture().corner[0], "K0+040.000");
  // A refusal is shown beside the buttons and keeps the section.
  EXPECT_FALSE(panel.goToStation(QStringLiteral("K9+000")));
  EXPECT_FALSE(panel.message().isEmpty());
  EXPECT_EQ(panel.map()->stationPicture().corner[0], "K0+040.000");
  // A road that no longer reaches the station: the standard section again,
  // not the old picture.
  RoadDataSet shorter = straightRoad();
  shorter.elements[1].Length = 30;
  shorter.verticalCurves[1].Mileage = 30;
  panel.setRoad(shorter, "r");
  EXPECT_FALSE(panel.map()->stationShown());
  ASSERT_TRUE(panel.goToStation(QStringLiteral("20")));
  panel.showStandard();
  EXPECT_FALSE(panel.map()->stationShown());
}

// --------------------------------------------------------------- drawings

int groundPixels(const QImage& image) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) n += isGround(image.pixel(x, y)) ? 1 : 0;
  return n;
}

TEST(GroundDrawings, CliDrawsTheGroundOfTheRoadsSettings) {
  const std::string cli = TRAZMARK_BINARY_DIR "/src/cli/trazmark-cli";
  const std::string road = TRAZMARK_SOURCE_DIR "/docs/demo/terrain-demo.REC";
  QTemporaryDir dir;
  const std::string profile = dir.filePath("profile.png").toStdString();
  const std::string section = dir.filePath("section.png").toStdString();
  auto run = [&](const std::string& arguments) {
    return std::system(("'" + cli + "' " + arguments + " 2>/dev/null").c_str());
  };
  // The road names its terrain beside it: both drawings show the ground, in
  // the maps' earth colour with --screen-colours (paper draws it dark).
  ASSERT_EQ(run("profile-plot '" + road + "' -o '" + profile + "' --size 800x500 --screen-colours"), 0);
  EXPECT_GT(groundPixels(QImage(QString::fromStdString(profile))), 200);
  ASSERT_EQ(run("section-plot '" + road + "' --station 1400 -o '" + section + "' --size 800x500 --screen-colours"),
            0);
  EXPECT_GT(groundPixels(QImage(QString::fromStdString(section))), 200);
  // The standard section has no station and so no ground; a terrain or a
  // side without a station is a mistake, a station off the road another.
  ASSERT_EQ(run("section-plot '" + road + "' -o '" + section + "' --size 800x500 --screen-colours"), 0);
  EXPECT_EQ(groundPixels(QImage(QString::fromStdString(section))), 0);
  EXPECT_NE(run("section-plot '" + road + "' --terrain x.csv -o '" + section + "'"), 0);
  EXPECT_NE(run("section-plot '" + road + "' --station 9000 -o '" + section + "'"), 0);
  EXPECT_NE(run("profile-plot '" + road + "' --terrain '" + dir.filePath("none.csv").toStdString() + "' -o '" +
                profile + "'"),
            0);
}

// -------------------------------------------------------------- plan terrain

TEST(TerrainLayer, OutlineIsTheEdgesOfOneTriangle) {
  // Two triangles sharing the diagonal 0-2 of a square: four outer edges.
  const auto outline = terrainOutline({{0, 1, 2}, {0, 2, 3}});
  EXPECT_EQ(outline, (std::vector<std::pair<std::uint32_t, std::uint32_t>>{{0, 1}, {0, 3}, {1, 2}, {2, 3}}));
  EXPECT_TRUE(terrainOutline({}).empty());
}

TEST(TerrainLayer, DrawsOnlyWhatIsInViewAndThinsOutWhenSmall) {
  const PlaneGround plane(100, 0, 0);  // 16 × 6 cells of 20 m, two triangles each
  CTerrainLayer layer(plane.ground());
  const std::size_t triangles = plane.ground()->terrain()->triangles().size();
  ASSERT_EQ(triangles, 192u);
  QImage image(400, 300, QImage::Format_ARGB32_Premultiplied);
  QPainter painter(&image);
  MapView view;
  view.setClientRect({0, 0, 400, 300});
  // Close by: a window of about 40 × 30 m shows a few triangles, as lines.
  view.commitTarget({100, 0, 0.1});
  layer.draw(painter, view, kLayerList);
  EXPECT_GT(layer.lastDrawnAsLines(), 0u);
  EXPECT_LT(layer.lastDrawnAsLines(), 30u);
  EXPECT_EQ(layer.lastDrawnAsPixels(), 0u);
  // Far away: every triangle is smaller than a pixel and becomes a dot.
  view.commitTarget({100, 0, 50});
  layer.draw(painter, view, kLayerList);
  EXPECT_EQ(layer.lastDrawnAsLines(), 0u);
  EXPECT_EQ(layer.lastDrawnAsPixels(), triangles);
  EXPECT_EQ(layer.outline().size(), 2u * (16 + 6));
  // Out of view: nothing at all.
  view.commitTarget({100000, 0, 0.1});
  layer.draw(painter, view, kLayerList);
  EXPECT_EQ(layer.lastDrawnAsLines() + layer.lastDrawnAsPixels(), 0u);
}

}  // namespace
}  // namespace trazmark
