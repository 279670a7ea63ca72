#include "vertical/RoadVerCurveEditor.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>
#include <sys/stat.h>

#include "vertical/VerticalCurveCal.h"

namespace trazmark {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

GradePointInput circle(double mileage, double elevation, double radius = 0) {
  GradePointInput in;
  in.mileage = mileage;
  in.elevation = elevation;
  in.radius = radius;
  return in;
}

class VerCurveEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(editor.add(circle(0, 100)), "");
    ASSERT_EQ(editor.add(circle(500, 110, 2000)), "");
    ASSERT_EQ(editor.add(circle(1000, 95)), "");
  }
  CRoadVerCurveEditor editor;
};

TEST_F(VerCurveEditorTest, RefreshGivesGradesAndTangentAfterEveryChange) {
  const auto& p = editor.points();
  // The ends have no grades; the interior point the grades to its neighbours.
  EXPECT_EQ(p[0].I1, 0);
  EXPECT_EQ(p[0].I2, 0);
  EXPECT_EQ(p[2].I1, 0);
  EXPECT_EQ(p[2].I2, 0);
  EXPECT_NEAR(p[1].I1, 2.0, 1e-12);
  EXPECT_NEAR(p[1].I2, -3.0, 1e-12);
  EXPECT_NEAR(p[1].OutLength, 2000 * std::fabs(std::atan(0.02) - std::atan(-0.03)) / 2, 1e-9);
  EXPECT_TRUE(editor.modified());

  // Moving the last point moves the grade after the middle one.
  ASSERT_EQ(editor.edit(2, circle(1000, 90)), "");
  EXPECT_NEAR(editor.points()[1].I2, -4.0, 1e-12);
  // Deleting the first point makes the old middle point the first.
  ASSERT_TRUE(editor.remove(0));
  EXPECT_EQ(editor.points()[0].I1, 0);
  EXPECT_EQ(editor.points()[0].I2, 0);
}

TEST_F(VerCurveEditorTest, BoundsOfAddEditAndDelete) {
  struct Case {
    const char* what;
    int row;  // -1: add
    GradePointInput input;
    std::string key;
  } cases[] = {
      {"add before the last point", -1, circle(999, 1), "IDS_WARN_last_mileage_less_min"},
      {"add at the last point", -1, circle(1000, 1), "IDS_WARN_last_mileage_less_min"},
      {"add with a negative radius", -1, circle(1200, 1, -1), "IDS_DATA_radius_can_not_be_negative"},
      {"add a mileage that is not a number", -1, circle(kNaN, 1), "IDS_WARN_number_invalid"},
      {"add a radius that is not a number", -1, circle(1200, 1, kNaN), "IDS_WARN_number_invalid"},
      {"edit onto the point before", 1, circle(0, 1), "IDS_WARN_last_mileage_less_min"},
      {"edit onto the next point", 1, circle(1000, 1), "IDS_WARN_mileage_large_nextpoint"},
      {"edit beyond the next point", 1, circle(1500, 1), "IDS_WARN_mileage_large_nextpoint"},
      {"edit with a negative radius", 1, circle(600, 1, -0.001), "IDS_DATA_radius_can_not_be_negative"},
      {"add beyond the sensible stations", -1, circle(1.5e8, 1), "IDS_WARN_range_mileage"},
      {"add an elevation out of range", -1, circle(1200, -2e5), "IDS_WARN_range_elevation"},
      {"add a radius out of range", -1, circle(1200, 1, 2e7), "IDS_WARN_range_radius"},
      {"add a parabola too long", -1, GradePointInput{1200, 1, kVerCurveAsymmetricParabola, 0, 0, 10, 2e6},
       "IDS_WARN_range_curve_length"},
      {"edit the first point below zero", 0, circle(-50, 1), ""},
      {"edit the last point far out", 2, circle(5000, 1), ""},
      {"edit between the neighbours", 1, circle(999.999, 1, 0), ""},
  };
  for (const Case& c : cases) {
    CRoadVerCurveEditor e = editor;
    const auto before = e.points();
    const std::string key = c.row < 0 ? e.add(c.input) : e.edit(c.row, c.input);
    EXPECT_EQ(key, c.key) << c.what;
    if (!c.key.empty()) {
      ASSERT_EQ(e.points().size(), before.size()) << c.what;
      for (std::size_t i = 0; i < before.size(); ++i) EXPECT_EQ(e.points()[i].Mileage, before[i].Mileage) << c.what;
    }
  }
  EXPECT_FALSE(editor.remove(3));
  EXPECT_FALSE(editor.remove(-1));
  EXPECT_EQ(editor.edit(7, circle(1, 1)), "");  // no such row: nothing changes
  EXPECT_EQ(editor.count(), 3);
}

TEST(VerCurveEditor, FirstPointMayLieAtAnyStation) {
  for (double m : {0.0, -120.0, 35.5}) {
    CRoadVerCurveEditor e;
    EXPECT_EQ(e.add(circle(m, 10)), "") << m;
    ASSERT_EQ(e.count(), 1);
    EXPECT_EQ(e.points()[0].Mileage, m);
  }
}

TEST(VerCurveEditor, ThreeCurveKindsStoreWhatTheCalculationUses) {
  CRoadVerCurveEditor e;
  ASSERT_EQ(e.add(circle(0, 100)), "");
  GradePointInput sym = circle(500, 110);
  sym.kind = kVerCurveSymmetricParabola;
  sym.curveLength = 100;
  ASSERT_EQ(e.add(sym), "");
  GradePointInput asym = circle(1000, 95);
  asym.kind = kVerCurveAsymmetricParabola;
  asym.inLength = 60;
  asym.outLength = 40;
  ASSERT_EQ(e.add(asym), "");
  ASSERT_EQ(e.add(circle(1500, 100)), "");

  RecordList<CVerticalCurveCal> points = e.points();
  setupVerticalCurves(points);
  // The symmetric parabola spans its length and meets both grades (it bends
  // by the length over the change of grade); its stored radius stays as entered.
  EXPECT_EQ(points[1].Radius, sym.radius);
  EXPECT_NEAR(points[1].calc1, 450, 1e-9);
  EXPECT_NEAR(points[1].calc3, 550, 1e-9);
  double before = 0, at = 0, after = 0;
  ASSERT_TRUE(elevationAt(points[1], 550 - 1e-3, before));
  ASSERT_TRUE(elevationAt(points[1], 550, at));
  ASSERT_TRUE(elevationAt(points[1], 550 + 1e-3, after));
  EXPECT_NEAR((after - at) / 1e-3, -0.03, 1e-4);
  EXPECT_NEAR((at - before) / 1e-3, -0.03, 1e-4);
  // The asymmetric parabola keeps its two lengths and spans their sum.
  EXPECT_EQ(points[2].CalMode, kVerCurveAsymmetricParabola);
  EXPECT_EQ(points[2].InLength, 60);
  EXPECT_EQ(points[2].OutLength, 40);
  EXPECT_EQ(points[2].CurveL, 100);
  EXPECT_NEAR(points[2].calc1, 940, 1e-9);
  EXPECT_NEAR(points[2].calc3, 1040, 1e-9);

  // Negative lengths are refused; the dialog reads back what it stored.
  GradePointInput bad = asym;
  bad.mileage = 2000;
  bad.outLength = -1;
  EXPECT_EQ(e.add(bad), "IDS_WARN_length_can_not_be_negative");
  const GradePointInput back = CRoadVerCurveForm::fromRecord(e.points()[2]);
  EXPECT_EQ(back.kind, kVerCurveAsymmetricParabola);
  EXPECT_EQ(back.inLength, 60);
  EXPECT_EQ(back.outLength, 40);
  EXPECT_TRUE(e.isParabola(1));
  EXPECT_FALSE(e.isParabola(0));
}

TEST_F(VerCurveEditorTest, CellTextsAndSave) {
  EXPECT_EQ(editor.cellText(1, CRoadVerCurveEditor::kColumnIndex), "2");
  EXPECT_EQ(editor.cellText(1, CRoadVerCurveEditor::kColumnMileage), "500.000");
  EXPECT_EQ(editor.cellText(1, CRoadVerCurveEditor::kColumnElevation), "110.000");
  EXPECT_EQ(editor.cellText(1, CRoadVerCurveEditor::kColumnRadius), "2000.000");
  RecordList<CVerticalCurveCal> road;
  editor.saveTo(road);
  EXPECT_FALSE(editor.modified());
  ASSERT_EQ(road.size(), 3u);
  EXPECT_EQ(road[1].Radius, 2000);
  CRoadVerCurveEditor reloaded;
  reloaded.load(road);
  EXPECT_FALSE(reloaded.modified());
  EXPECT_NEAR(reloaded.points()[1].I2, -3.0, 1e-12);
}

TEST_F(VerCurveEditorTest, ProfileHandOverWritesVrLinesAndRemovesTheFile) {
  std::string seenPath;
  std::string text;
  mode_t folderMode = 0;
  ASSERT_TRUE(CRoadVerCurveEditor::handOverProfile(editor.points(), [&](const std::string& path) {
    seenPath = path;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    text = s.str();
    struct stat st {};
    const std::string folder = path.substr(0, path.rfind('/'));
    if (::stat(folder.c_str(), &st) == 0) folderMode = st.st_mode & 0777;
  }));
  EXPECT_EQ(seenPath.substr(seenPath.rfind('/') + 1), "VerCurve.VR");
  EXPECT_EQ(folderMode, 0700u);  // a private folder
  EXPECT_EQ(text,
            "0.000,100.000,0.000,0.000,0.000,0.000,0.000,0.000,0,\r\n"
            "500.000,110.000,2000.000,2.000,-3.000,0.000,0.000,49.988,0,\r\n"
            "1000.000,95.000,0.000,0.000,0.000,0.000,0.000,0.000,0,\r\n");
  struct stat st {};
  EXPECT_NE(::stat(seenPath.c_str(), &st), 0) << "the VR file is removed";
  EXPECT_NE(::stat(seenPath.substr(0, seenPath.rfind('/')).c_str(), &st), 0) << "and its folder";
}

}  // namespace
}  // namespace trazmark
