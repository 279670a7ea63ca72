// The alignment dialogs' checks: each refused field is named by its message
// key, the limits themselves pass, and a second point of one name is found.

#include <gtest/gtest.h>

#include <functional>
#include <limits>

#include "editors/FlatDialogs.h"

namespace trazmark {
namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

CrossPointFields goodPoint() {
  CrossPointFields f;
  f.leftLength = 80;
  f.rightLength = 80;
  f.radius = 500;
  f.mileage = 1000;
  f.name = "JD1";
  f.north = "3000000.5";
  f.east = "500000.25";
  f.elevation = "12.5";
  return f;
}

TEST(FlatDialogChecks, PointDialogNamesTheRefusedField) {
  struct Case {
    const char* what;
    std::function<void(CrossPointFields&)> change;
    const char* key;
  };
  const Case cases[] = {
      {"as typed", [](CrossPointFields&) {}, ""},
      {"empty elevation reads 0", [](CrossPointFields& f) { f.elevation = ""; }, ""},
      {"limits pass", [](CrossPointFields& f) { f.mileage = -1e8; f.radius = 1e7; f.north = "1e9"; }, ""},
      {"straight point", [](CrossPointFields& f) { f.radius = 0; f.leftLength = f.rightLength = 0; }, ""},
      {"negative radius", [](CrossPointFields& f) { f.radius = -300; }, "IDS_DATA_radius_can_not_be_negative"},
      {"entry spiral", [](CrossPointFields& f) { f.leftLength = -1; }, "IDS_WARN_range_entry_spiral"},
      {"exit spiral", [](CrossPointFields& f) { f.rightLength = kNaN; }, "IDS_WARN_range_exit_spiral"},
      {"radius", [](CrossPointFields& f) { f.radius = 1.5e7; }, "IDS_WARN_range_radius"},
      {"mileage", [](CrossPointFields& f) { f.mileage = 1.1e8; }, "IDS_WARN_range_mileage"},
      {"spirals without a circle", [](CrossPointFields& f) { f.radius = 0; f.rightLength = 0; },
       "IDS_WARN_spiral_without_radius"},
      {"name", [](CrossPointFields& f) { f.name = "  "; }, "IDS_WARN_no_point_name"},
      {"north", [](CrossPointFields& f) { f.north = ""; }, "IDS_WARN_range_north"},
      {"east", [](CrossPointFields& f) { f.east = "5OO"; }, "IDS_WARN_range_east"},
      {"elevation", [](CrossPointFields& f) { f.elevation = "1e6"; }, "IDS_WARN_range_elevation"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CrossPointFields f = goodPoint();
    c.change(f);
    EXPECT_EQ(f.refuse(), c.key);
  }
  CrossPointFields noElevation = goodPoint();
  noElevation.elevation = "";
  EXPECT_EQ(noElevation.record().point.Z, 0);
}

TEST(FlatDialogChecks, ElementAndLineElementDialogsNameTheRefusedField) {
  struct ElementCase {
    int kind;
    const char* text;
    double first, second, third;
    const char* key;
  };
  const ElementCase elements[] = {
      {0, "QD", 3e6, 5e5, 10, ""},
      {0, "QD", 2e9, 5e5, 10, "IDS_WARN_range_north"},
      {0, "QD", 3e6, kNaN, 10, "IDS_WARN_range_east"},
      {0, "QD", 3e6, 5e5, -2e5, "IDS_WARN_range_elevation"},
      {1, "45.3000", 100, 0, 0, ""},
      {1, "361", 100, 0, 0, "IDS_WARN_angle_error"},
      {1, "45", 0, 0, 0, "IDS_WARN_range_length"},
      {2, "-300", 50, 0, 0, ""},
      {2, "0", 50, 0, 0, "IDS_WARN_range_arc_radius"},
      {2, "-2e7", 50, 0, 0, "IDS_WARN_range_arc_radius"},
      {2, "300", 2e6, 0, 0, "IDS_WARN_range_length"},
      {3, "1e300", 0, 0, 0, "IDS_WARN_range_length"},
      {3, "60", 0, 0, 0, ""},
  };
  for (const ElementCase& c : elements) {
    SCOPED_TRACE(std::to_string(c.kind) + " " + c.text);
    ElementFields f;
    f.kind = c.kind;
    f.text = c.text;
    f.first = c.first;
    f.second = c.second;
    f.third = c.third;
    EXPECT_EQ(f.refuse(), c.key);
  }

  struct LineCase {
    const char* what;
    std::function<void(LineElementFields&)> change;
    const char* key;
  };
  const LineCase lines[] = {
      {"arc", [](LineElementFields&) {}, ""},
      {"north", [](LineElementFields& f) { f.north = 1e10; }, "IDS_WARN_range_north"},
      {"mileage", [](LineElementFields& f) { f.mileage = kNaN; }, "IDS_WARN_range_mileage"},
      {"start radius", [](LineElementFields& f) { f.startRadius = 0; }, "IDS_WARN_range_start_radius"},
      {"end radius", [](LineElementFields& f) { f.type = 2; f.endRadius = 1e8; }, "IDS_WARN_range_end_radius"},
      {"infinite end", [](LineElementFields& f) { f.type = 2; f.endRadius = 0; f.endInfinite = true; }, ""},
      {"length", [](LineElementFields& f) { f.length = 0; }, "IDS_WARN_range_length"},
  };
  for (const LineCase& c : lines) {
    SCOPED_TRACE(c.what);
    LineElementFields f;
    f.withStart = true;
    f.north = 3e6;
    f.east = 5e5;
    f.mileage = 0;
    f.azimuth = 30;
    f.type = 1;
    f.startRadius = f.endRadius = 400;
    f.length = 120;
    f.direction = 1;
    c.change(f);
    EXPECT_EQ(f.refuse(), c.key);
  }
}

TEST(FlatDialogChecks, NameTakenByAnotherPoint) {
  RecordList<Road_CrossPoint> points;
  for (const char* name : {"QD", "JD1", "JD1", "ZD"}) {
    Road_CrossPoint p;
    p.point.Name = name;
    points.append(p);
  }
  CrossPointFields f = goodPoint();
  f.name = "JD2";
  EXPECT_FALSE(f.nameTaken(points, nullptr));
  f.name = "ZD";
  EXPECT_TRUE(f.nameTaken(points, nullptr));
  EXPECT_FALSE(f.nameTaken(points, &points[3]));  // the edited point keeps its own name
  f.name = "JD1";
  EXPECT_TRUE(f.nameTaken(points, &points[1]));  // the other JD1 still holds it
}

}  // namespace
}  // namespace trazmark
