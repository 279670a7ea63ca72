// Feeds arbitrary bytes to the as-built check's points reader (the first byte
// chooses the column order) and checks whatever it accepts against a small
// road of components with a kerb, superelevation and a grade line. A refusal
// must name its line; every checked point must keep the check's promises: a
// flag that agrees with its differences, ΔZ the surveyed elevation less the
// design, a summary whose counts add up, a report of every row.

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "asbuilt/SurveyCheck.h"

using namespace trazmark;

namespace {

// Checking more points than this would only make a run slow.
constexpr std::size_t kMaxPoints = 2000;

void check(bool condition) {
  if (!condition) std::abort();
}

Road_Section_Item component(const char* name, double width, double slope, double kerb) {
  Road_Section_Item c;
  c.setModuleName(name);
  c.Width = width;
  c.Slope = slope;
  c.Roadteeth = kerb;
  return c;
}

// Due north from (0, 0) for 200 m, then east along an arc; level at 50.
const CSurveyCheck& road() {
  static const CSurveyCheck* check = [] {
    RoadDataSet r;
    r.FlatcurveType = kFlatcurveElements;
    Road_Element start, line, arc;
    start.Type = 1;
    line.Type = 2;
    line.Length = 200;
    arc.Type = 3;
    arc.Length = 100;
    arc.Radius = 150;
    r.elements = {start, line, arc};
    for (double m : {0.0, 300.0}) {
      CVerticalCurveCal p;
      p.Mileage = m;
      p.High = 50;
      r.verticalCurves.append(p);
    }
    r.leftSections = {component("lane", 3.5, -2, 0), component("footway", 2, -1, 0.15)};
    r.rightSections = {component("lane", 3.5, -2, 0)};
    Road_Super_Item super;
    super.SectionName = "lane";
    super.LeftRight = 1;
    Road_Super_Value v;
    v.Mileage = 150;
    v.Slope = 4;
    super.values.append(v);
    r.superHighs.append(super);
    CRoadDesign design;
    if (!design.loadFromRoad("fuzz", 0, r.elements)) std::abort();
    auto* c = new CSurveyCheck;
    std::string error;
    if (!c->prepare(r, design, nullptr, 0, error)) std::abort();
    return c;
  }();
  return *check;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const SurveyedPointFormat format =
      data[0] & 1 ? SurveyedPointFormat::kNameCodeENZ : SurveyedPointFormat::kNameXYZ;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::vector<SurveyedPoint> points;
  std::string error;
  if (!readSurveyedPoints(text, format, points, error)) {
    check(points.empty());
    check(error.rfind("line ", 0) == 0 || error.rfind("no points", 0) == 0);
    return 0;
  }
  check(!points.empty());
  if (points.size() > kMaxPoints) return 0;
  CheckTolerances tolerances;
  tolerances.vertical = (data[0] >> 1) * 0.01;
  std::vector<CheckedPoint> rows;
  check(checkSurveyedPoints(road(), points, tolerances, rows));
  check(rows.size() == points.size());
  for (const CheckedPoint& r : rows) {
    check(!r.point.name.empty() && std::isfinite(r.point.x) && std::isfinite(r.point.z));
    if (r.flag == CheckFlag::kOffRoad || r.flag == CheckFlag::kInvalid) {
      check(!r.dz && !r.dOffset);
      continue;
    }
    check(r.dOffset.has_value() && !r.edge.empty());
    check(r.dz.has_value() == r.designZ.has_value());
    if (r.dz) check(std::fabs(*r.dz - (r.point.z - *r.designZ)) <= 1e-9 * (1 + std::fabs(r.point.z)));
    check((r.flag == CheckFlag::kBeyond) == (r.beyondZ || r.beyondOffset));
  }
  const CheckSummary s = summarizeCheck(rows);
  check(s.checked == rows.size() && s.within + s.beyond + s.offRoad + s.invalid == s.checked);
  check(s.rmsDz >= std::fabs(s.meanDz) * (1 - 1e-12) - 1e-12);
  check(!checkReportText(rows, s, true).empty() && !checkReportText(rows, s, false).empty());
  return 0;
}
