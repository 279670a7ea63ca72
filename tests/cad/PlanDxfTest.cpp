// The plan's DXF read back through the DXF library: straights as lines, arcs
// as arcs on their curve, every spiral as a polyline within 1 mm of the true
// curve, key points as points with name and station texts, on named layers.

#include "cad/PlanDxf.h"

#include <dl_creationadapter.h>
#include <dl_dxf.h>
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "alignment/RoadDesign.h"
#include "alignment/RoadDesign_Element.h"
#include "platform/CodePage.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

struct Polyline {
  std::string layer;
  std::vector<std::pair<double, double>> vertices;  // DXF x (east), y (north)
};

struct Reader : DL_CreationAdapter {
  std::vector<std::pair<std::string, DL_LineData>> lines;
  std::vector<std::pair<std::string, DL_ArcData>> arcs;
  std::vector<std::pair<std::string, DL_PointData>> points;
  std::vector<std::pair<std::string, std::string>> texts;
  std::vector<std::string> layers;
  std::vector<Polyline> polylines;
  std::string layer() { return getAttributes().getLayer(); }
  void addLayer(const DL_LayerData& d) override { layers.push_back(d.name); }
  void addLine(const DL_LineData& d) override { lines.emplace_back(layer(), d); }
  void addArc(const DL_ArcData& d) override { arcs.emplace_back(layer(), d); }
  void addPoint(const DL_PointData& d) override { points.emplace_back(layer(), d); }
  void addText(const DL_TextData& d) override { texts.emplace_back(layer(), d.text); }
  void addPolyline(const DL_PolylineData&) override { polylines.push_back({layer(), {}}); }
  void addVertex(const DL_VertexData& d) override {
    if (!polylines.empty()) polylines.back().vertices.emplace_back(d.x, d.y);
  }
};

double distanceToSegment(double px, double py, double ax, double ay, double bx, double by) {
  const double dx = bx - ax, dy = by - ay;
  const double l2 = dx * dx + dy * dy;
  double t = l2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / l2 : 0;
  t = std::clamp(t, 0.0, 1.0);
  return std::hypot(px - (ax + t * dx), py - (ay + t * dy));
}

double distanceToPolyline(double px, double py, const std::vector<std::pair<double, double>>& v) {
  double best = INFINITY;
  for (std::size_t i = 1; i < v.size(); ++i)
    best = std::min(best, distanceToSegment(px, py, v[i - 1].first, v[i - 1].second, v[i].first, v[i].second));
  return best;
}

/// The curve of an element sampled every 5 cm, as DXF (east, north) pairs.
std::vector<std::pair<double, double>> denseCurve(const CRoadElement& e) {
  std::vector<std::pair<double, double>> out;
  const int n = std::max(2, static_cast<int>(std::ceil((e.endMileage - e.startMileage) / 0.05)));
  for (int i = 0; i <= n; ++i) {
    const auto p = e.pointAtMileage(e.startMileage + (e.endMileage - e.startMileage) * i / n, 0);
    out.emplace_back(p->y, p->x);
  }
  return out;
}

Road_Element element(int type, double length, double radius = 0, double azimuth = 0) {
  Road_Element e;
  e.Type = type;
  e.Length = length;
  e.Radius = radius;
  e.Azimuth = azimuth;
  return e;
}

class PlanDxf : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("trazmark-dxf-" + std::to_string(::getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  std::string path(const std::string& name) const { return (dir_ / name).string(); }

  /// Far from the origin, as survey coordinates are: a right curve whose
  /// spirals run from a straight to R 300, from R 300 to R 150 (between two
  /// radii) and back, then a left curve of R 200, at a start mileage of 12 km.
  bool load(CRoadDesign& design) {
    CRoadDesign_Element method(dir_.string());
    method.roadName = "DXF";
    method.startMileage = 12000;
    Road_Element start;
    start.Type = 1;
    start.point.X = 3456789.123;
    start.point.Y = 512345.654;
    method.elements = {start,           element(2, 120, 0, 30), element(4, 60),  element(3, 80, 300),
                       element(4, 50),  element(3, 40, 150),    element(4, 40),  element(2, 100),
                       element(4, 70),  element(3, 90, -200),   element(4, 70),  element(2, 150)};
    const std::string curve = path("DXF.RE.TDFE");
    return method.writeCurveFile(curve) && design.loadFromCurveFile(curve);
  }

  fs::path dir_;
};

TEST_F(PlanDxf, ReadBackEveryElementOnItsCurve) {
  CRoadDesign design;
  ASSERT_TRUE(load(design));
  const std::string out = path("plan.dxf");
  std::string error;
  ASSERT_TRUE(writePlanDxf(design, out, error)) << error;

  Reader reader;
  DL_Dxf dxf;
  ASSERT_TRUE(dxf.in(out, &reader));
  for (const char* layer : {kDxfLayerCentreLine, kDxfLayerKeyPoints, kDxfLayerKeyPointNames, kDxfLayerStations})
    EXPECT_NE(std::find(reader.layers.begin(), reader.layers.end(), layer), reader.layers.end()) << layer;

  std::size_t lines = 0, arcs = 0, spirals = 0;
  for (const CRoadElement& e : design.elements()) {
    const auto dense = denseCurve(e);
    if (e.type == kElementLine) {
      ASSERT_LT(lines, reader.lines.size());
      const DL_LineData& l = reader.lines[lines++].second;
      EXPECT_NEAR(l.x1, dense.front().first, 1e-6);
      EXPECT_NEAR(l.y1, dense.front().second, 1e-6);
      EXPECT_NEAR(l.x2, dense.back().first, 1e-6);
      EXPECT_NEAR(l.y2, dense.back().second, 1e-6);
    } else if (e.type == kElementArc) {
      ASSERT_LT(arcs, reader.arcs.size());
      const DL_ArcData& a = reader.arcs[arcs++].second;
      EXPECT_NEAR(a.radius, std::fabs(e.startRadius), 1e-6);
      // Every point of the arc on the circle and inside the counter-clockwise
      // sweep from angle1 to angle2.
      const double sweep = std::fmod(a.angle2 - a.angle1 + 720, 360);
      for (const auto& [x, y] : dense) {
        EXPECT_NEAR(std::hypot(x - a.cx, y - a.cy), a.radius, 1e-6);
        const double angle = std::atan2(y - a.cy, x - a.cx) * 180 / M_PI;
        EXPECT_LE(std::fmod(angle - a.angle1 + 720, 360), sweep + 1e-6);
      }
    } else if (e.type == kElementSpiral) {
      ASSERT_LT(spirals, reader.polylines.size());
      const Polyline& p = reader.polylines[spirals++];
      EXPECT_EQ(p.layer, kDxfLayerCentreLine);
      ASSERT_GE(p.vertices.size(), 2u);
      double worst = 0;
      for (const auto& [x, y] : dense) worst = std::max(worst, distanceToPolyline(x, y, p.vertices));
      for (const auto& [x, y] : p.vertices) worst = std::max(worst, distanceToPolyline(x, y, dense));
      EXPECT_LT(worst, 0.001) << "spiral at " << e.startMileage;
      EXPECT_NEAR(p.vertices.front().first, dense.front().first, 1e-6);
      EXPECT_NEAR(p.vertices.back().second, dense.back().second, 1e-6);
    }
  }
  EXPECT_EQ(lines, 3u);
  EXPECT_EQ(arcs, 3u);
  EXPECT_EQ(spirals, 5u);
  EXPECT_EQ(reader.lines.size(), lines);
  EXPECT_EQ(reader.arcs.size(), arcs);
  EXPECT_EQ(reader.polylines.size(), spirals);

  // Each key point: a point, its name and its station.
  const auto& keys = design.keyPoints();
  ASSERT_EQ(reader.points.size(), keys.size());
  std::size_t names = 0;
  std::vector<std::string> stations;
  for (const auto& [layer, text] : reader.texts) {
    if (layer == kDxfLayerKeyPointNames) ++names;
    if (layer == kDxfLayerStations) stations.push_back(text);
  }
  EXPECT_EQ(names, keys.size());
  ASSERT_EQ(stations.size(), keys.size());
  EXPECT_EQ(stations.front(), "K12+000.000");
  for (std::size_t k = 0; k < keys.size(); ++k) {
    EXPECT_EQ(reader.points[k].first, kDxfLayerKeyPoints);
    EXPECT_NEAR(reader.points[k].second.x, keys[k].Y, 1e-6);
    EXPECT_NEAR(reader.points[k].second.y, keys[k].X, 1e-6);
  }
}

TEST_F(PlanDxf, StationTextsAndRefusals) {
  const std::pair<double, const char*> cases[] = {
      {0, "K0+000.000"}, {1250, "K1+250.000"}, {999.9996, "K1+000.000"}, {-20, "-K0+020.000"},
      {12345.6784, "K12+345.678"}};
  for (const auto& [station, text] : cases) EXPECT_EQ(dxfStationText(station), text) << station;
  // Names beyond ASCII as escapes, from either code page.
  setAnsiCodePageOverride(kCodePageUtf8);
  EXPECT_EQ(dxfText("ZH-01"), "ZH-01");
  EXPECT_EQ(dxfText("\xE4\xBA\xA4\xE7\x82\xB9" "1"), "\\U+4EA4\\U+70B91");  // 交点1
  EXPECT_EQ(dxfText("\xF0\x9F\x98\x80"), "\\U+01F600");
  setAnsiCodePageOverride(kCodePageGbk);
  EXPECT_EQ(dxfText("\xBD\xBB\xB5\xE3" "1"), "\\U+4EA4\\U+70B91");  // 交点1 in 936
  setAnsiCodePageOverride(0);

  // Nothing loaded: refused, and an existing file is left alone.
  CRoadDesign empty;
  const std::string out = path("old.dxf");
  std::ofstream(out) << "OLD";
  std::string error;
  EXPECT_FALSE(writePlanDxf(empty, out, error));
  EXPECT_FALSE(error.empty());
  std::ifstream in(out);
  std::string kept;
  in >> kept;
  EXPECT_EQ(kept, "OLD");
  // A folder that does not exist.
  CRoadDesign design;
  ASSERT_TRUE(load(design));
  EXPECT_FALSE(writePlanDxf(design, path("missing/plan.dxf"), error));
}

}  // namespace
}  // namespace trazmark
