// The design tables' rows, computed from the engine's alignment, grade line
// and cross sections, and their formatting into cells.

#include "tables/DesignTables.h"

#include <algorithm>
#include <cmath>

#include "crosssection/RoadProfile.h"
#include "earthwork/EarthworkSection.h"
#include "crosssection/SectionAtStation.h"
#include "platform/TextFields.h"
#include "terrain/RoadGround.h"
#include "vertical/VerticalCurveCal.h"

namespace trazmark {

namespace {

constexpr double kPi = 3.141592653589793;
// A point whose radius is at most this has no curve (the method's own rule).
constexpr double kNoCurveRadius = 1e-6;
// How close a line's end must come to a point without a curve to be its end.
constexpr double kPointMatchTolerance = 1e-3;

double normalisedAzimuth(double a) {
  a = std::fmod(a, 2 * kPi);
  if (a < 0) a += 2 * kPi;
  return a;
}

// The signed turn (radians, right positive) of an arc or spiral: its length
// over the mean of its end curvatures.
double elementTurn(const CRoadElement& e) {
  const double k0 = e.startRadius != 0 ? 1.0 / e.startRadius : 0.0;
  const double k1 = e.endRadius != 0 ? 1.0 / e.endRadius : 0.0;
  if (e.type == kElementArc) return e.length * k0;
  if (e.type == kElementSpiral) return e.length * (k0 + k1) / 2;
  return 0;
}

// The elements that hold mileage, in chain order.
std::vector<const CRoadElement*> chainElements(const CRoadDesign& design) {
  std::vector<const CRoadElement*> out;
  for (std::size_t i = 0; i < design.elements().size(); ++i) {
    const CRoadElement& e = design.elements()[i];
    if (e.type != kElementStartPoint) out.push_back(&e);
  }
  return out;
}

}  // namespace

bool curvePointRows(const RecordList<Road_CrossPoint>& points, const CRoadDesign& design,
                    std::vector<CurvePointRow>& rows, std::string& error) {
  rows.clear();
  if (!design.computed()) {
    error = "the alignment is not computed";
    return false;
  }
  const std::size_t n = points.size();
  if (n < 3) {
    error = "fewer than three intersection points";
    return false;
  }
  const std::vector<const CRoadElement*> chain = chainElements(design);
  if (chain.empty()) {
    error = "the alignment has no elements";
    return false;
  }
  auto displayed = [&](double m) { return design.displayedFromContinuous(m); };
  // Continuous mileage where each point's curve starts and ends (a point
  // without a curve and the road's ends: the point itself).
  std::vector<double> curveStart(n), curveEnd(n);
  rows.resize(n);
  curveStart[0] = curveEnd[0] = chain.front()->startMileage;
  curveStart[n - 1] = curveEnd[n - 1] = chain.back()->endMileage;
  std::size_t next = 0;  // the first element not yet given to a point
  for (std::size_t i = 1; i + 1 < n; ++i) {
    const Road_CrossPoint& p = points[i];
    CurvePointRow& row = rows[i];
    if (!(p.Radius > kNoCurveRadius)) {
      // Two straights meet: the point is the end of a line of the chain.
      std::size_t k = next;
      while (k < chain.size() &&
             !(chain[k]->type == kElementLine &&
               std::hypot(chain[k]->endX - p.point.X, chain[k]->endY - p.point.Y) <= kPointMatchTolerance))
        ++k;
      if (k == chain.size()) {
        error = "intersection point " + std::to_string(i) + " is not on the alignment";
        return false;
      }
      next = k + 1;
      curveStart[i] = curveEnd[i] = chain[k]->endMileage;
      continue;
    }
    // The point's curve: the next run of arcs and spirals.
    while (next < chain.size() && chain[next]->type == kElementLine) ++next;
    // The curve ends where the road runs straight again: at a line, after a
    // spiral that ends at an infinite radius, or after an arc that no spiral
    // continues (two curves with no straight between them meet there).
    std::size_t last = next;
    while (last < chain.size() && chain[last]->type != kElementLine) {
      const CRoadElement& e = *chain[last++];
      if (e.type == kElementSpiral && e.endRadius == 0) break;
      if (e.type == kElementArc &&
          !(last < chain.size() && chain[last]->type == kElementSpiral && chain[last]->startRadius != 0))
        break;
    }
    if (next == last) {
      error = "intersection point " + std::to_string(i) + " has no curve on the alignment";
      return false;
    }
    const CRoadElement& first = *chain[next];
    const CRoadElement& end = *chain[last - 1];
    const CRoadElement* arc = nullptr;
    double turn = 0;
    for (std::size_t k = next; k < last; ++k) {
      turn += elementTurn(*chain[k]);
      if (chain[k]->type == kElementArc && !arc) arc = chain[k];
    }
    row.hasSpirals = first.type == kElementSpiral || end.type == kElementSpiral;
    row.spiralIn = first.type == kElementSpiral ? first.length : 0;
    row.spiralOut = end.type == kElementSpiral && last - next > 1 ? end.length : 0;
    row.radius = arc ? std::fabs(arc->startRadius) : p.Radius;
    row.turn = turn < 0 ? -1 : 1;
    // The angle between the straights is exact; the elements' own turning,
    // their lengths kept to the road file's decimals, only counts where the
    // road turns through more than half a round (a hairpin).
    const double inAz = std::atan2(p.point.Y - points[i - 1].point.Y, p.point.X - points[i - 1].point.X);
    const double outAz = std::atan2(points[i + 1].point.Y - p.point.Y, points[i + 1].point.X - p.point.X);
    const double between = std::fabs(std::remainder(outAz - inAz, 2 * kPi));
    row.deflection = std::fabs(turn) > kPi ? std::fabs(turn) : between;
    row.tangentIn = std::hypot(first.startX - p.point.X, first.startY - p.point.Y);
    row.tangentOut = std::hypot(end.endX - p.point.X, end.endY - p.point.Y);
    row.curveLength = end.endMileage - first.startMileage;
    row.correction = row.tangentIn + row.tangentOut - row.curveLength;
    curveStart[i] = first.startMileage;
    curveEnd[i] = end.endMileage;
    row.zh = displayed(first.startMileage);
    row.hz = displayed(end.endMileage);
    const double arcStart = arc ? arc->startMileage : first.startMileage;
    const double arcEnd = arc ? arc->endMileage : end.endMileage;
    row.hy = displayed(arcStart);
    row.yh = displayed(arcEnd);
    const double mid = (arcStart + arcEnd) / 2;
    row.qz = displayed(mid);
    if (auto q = (arc ? arc->pointAtMileage(mid, 0) : std::optional<StationPoint>{}))
      row.external = std::hypot(q->x - p.point.X, q->y - p.point.Y);
    next = last;
  }
  for (std::size_t i = 0; i < n; ++i) {
    CurvePointRow& row = rows[i];
    const Road_CrossPoint& p = points[i];
    row.name = i == 0 ? "QD" : i + 1 == n ? "ZD" : "JD" + std::to_string(i);
    row.x = p.point.X;
    row.y = p.point.Y;
    row.station = displayed(row.zh ? curveStart[i] + row.tangentIn : curveStart[i]);
    if (i + 1 < n) {
      const double dx = points[i + 1].point.X - p.point.X;
      const double dy = points[i + 1].point.Y - p.point.Y;
      row.distanceToNext = std::hypot(dx, dy);
      row.azimuthAhead = normalisedAzimuth(std::atan2(dy, dx));
      row.straightToNext = curveStart[i + 1] - curveEnd[i];
    }
  }
  return true;
}

std::vector<ElementRow> elementRows(const CRoadDesign& design) {
  std::vector<ElementRow> rows;
  for (const CRoadElement* e : chainElements(design)) {
    ElementRow r;
    r.kind = e->type;
    r.startStation = design.displayedFromContinuous(e->startMileage);
    r.endStation = design.displayedFromContinuous(e->endMileage);
    r.length = e->length;
    if (e->type != kElementLine) {
      if (e->startRadius != 0) r.startRadius = e->startRadius;
      if (e->endRadius != 0) r.endRadius = e->endRadius;
    }
    r.startAzimuth = normalisedAzimuth(e->startAzimuth);
    r.endAzimuth = normalisedAzimuth(e->endAzimuth);
    r.startX = e->startX;
    r.startY = e->startY;
    rows.push_back(r);
  }
  return rows;
}

bool stakeRows(const CRoadDesign& design, const RecordList<CVerticalCurveCal>* gradePoints,
               double interval, std::vector<StakeRow>& rows, std::string& error) {
  rows.clear();
  if (!(interval >= 1)) {
    error = "the interval must be at least 1 metre";
    return false;
  }
  std::vector<RoadCoordinate> records;
  if (!design.stakeRecords(0, interval, 0, records)) {
    error = "the stake list cannot be computed (too many stakes at this interval, or a stake off "
            "the alignment)";
    return false;
  }
  const bool withElevation = gradePoints && !gradePoints->empty();
  if (withElevation) {
    CRoadProfile profile;
    if (!profile.build(*gradePoints, design, error)) return false;
    if (!fillStakeElevations(records, profile, error)) return false;
  }
  rows.reserve(records.size());
  for (const RoadCoordinate& r : records) {
    StakeRow row{r.name, r.mileage, r.x, r.y, normalisedAzimuth(r.azimuth), std::nullopt};
    if (withElevation) row.elevation = r.z;
    rows.push_back(std::move(row));
  }
  return true;
}

bool gradePointRows(const RecordList<CVerticalCurveCal>& gradePoints, const CRoadDesign& design,
                    std::vector<GradePointRow>& rows, std::string& error) {
  rows.clear();
  // A road without an alignment yet still has its grade line, placed by its
  // broken chains alone.
  CRoadProfile profile;
  const bool built = design.computed() ? profile.build(gradePoints, design, error)
                                       : profile.build(gradePoints, design.brokenChains, error);
  if (!built) return false;
  const RecordList<CVerticalCurveCal>& placed = profile.placedPoints();
  const CChainageTable chains(design.brokenChains);
  auto displayed = [&](double m) {
    return design.computed() ? design.displayedFromContinuous(m) : chains.displayedFromContinuous(m);
  };
  for (std::size_t i = 0; i < placed.size(); ++i) {
    const CVerticalCurveCal& p = placed[i];
    GradePointRow row;
    row.number = static_cast<int>(i) + 1;
    row.station = gradePoints[i].Mileage;
    row.elevation = p.High;
    row.gradeIn = p.I1;
    row.gradeOut = p.I2;
    const bool interior = i > 0 && i + 1 < placed.size();
    const bool hasCurve = interior && p.calc3 - p.calc1 > 1e-9;
    if (hasCurve) {
      row.curveKind = p.CalMode;
      row.crest = p.calcFlag > 0;
      row.radius = p.Radius;
      if (p.CalMode == 1 && std::fabs(p.I1 - p.I2) > 1e-12) row.radius = p.CurveL / (std::fabs(p.I1 - p.I2) / 100);
      row.lengthIn = p.Mileage - p.calc1;
      row.lengthOut = p.calc3 - p.Mileage;
      double onCurve = 0;
      if (elevationAt(p, p.Mileage, onCurve)) row.external = std::fabs(onCurve - p.High);
      row.bvcStation = displayed(p.calc1);
      row.bvcElevation = p.calc2;
      row.evcStation = displayed(p.calc3);
      row.evcElevation = p.calc4;
    }
    if (i + 1 < placed.size()) row.gradeLength = placed[i + 1].Mileage - p.Mileage;
    rows.push_back(row);
  }
  return true;
}

namespace {

// The stations of the stake list at `interval` with their centre points.
bool stakeStations(const CRoadDesign& design, double interval, std::vector<RoadCoordinate>& records,
                   std::string& error) {
  if (!(interval >= 1)) {
    error = "the interval must be at least 1 metre";
    return false;
  }
  if (!design.stakeRecords(0, interval, 0, records)) {
    error = "the stake list cannot be computed";
    return false;
  }
  return true;
}

// The side a stake's section is computed on: a stake just after a long chain
// lies on the branch after it.
int sideOf(const CRoadDesign& design, const RoadCoordinate& r) {
  const double before = design.continuousFromDisplayed(r.mileage, 0);
  return std::fabs(before - r.continuousMileage) < 1e-6 ? 0 : 1;
}

void splitComponents(const SectionAtStation& s, std::vector<ComponentEdge>& left,
                     std::vector<ComponentEdge>& right) {
  for (const SectionEdge& e : s.edges) {
    if (e.name.rfind("slope:", 0) == 0) continue;
    (e.side == 'L' ? left : right).push_back({e.name, e.width, e.elevation});
  }
}

}  // namespace

bool subgradeRows(const RoadDataSet& road, const CRoadDesign& design, const CRoadGround* ground,
                  double interval, std::vector<SubgradeRow>& rows, std::string& error,
                  double pavementDepth) {
  rows.clear();
  CRoadProfile profile;
  if (!profile.build(road.verticalCurves, design, error)) return false;
  std::vector<RoadCoordinate> records;
  if (!stakeStations(design, interval, records, error)) return false;
  rows.reserve(records.size());
  for (const RoadCoordinate& r : records) {
    SectionAtStation s;
    if (!sectionAtStation(road, design, profile, r.mileage, sideOf(design, r), s, error)) {
      error = "station " + formatFixed(r.mileage, kAlignmentDecimals) + ": " + error;
      return false;
    }
    SubgradeRow row;
    row.station = r.mileage;
    row.design = s.centreElevation;
    if (ground && !ground->empty()) {
      row.ground = ground->centreElevation(r.mileage, s.centreX, s.centreY);
      if (row.ground) {
        const double h = row.design - *row.ground;
        if (h >= 0) row.fill = h;
        else row.cut = -h;
      }
      EarthworkSection earth;
      if (!earthworkSectionAt(road, design, profile, *ground, pavementDepth, r.mileage, sideOf(design, r), earth,
                              error)) {
        error = "station " + formatFixed(r.mileage, kAlignmentDecimals) + ": " + error;
        return false;
      }
      if (earth.left.catchPoint) row.catchLeft = earth.left.catchPoint->offset;
      if (earth.right.catchPoint) row.catchRight = earth.right.catchPoint->offset;
    }
    splitComponents(s, row.left, row.right);
    rows.push_back(std::move(row));
  }
  return true;
}

bool superelevationRows(const RoadDataSet& road, const CRoadDesign& design, double interval,
                        std::vector<SuperelevationRow>& rows, std::string& error) {
  rows.clear();
  CRoadProfile profile;
  if (!profile.build(road.verticalCurves, design, error)) return false;
  std::vector<RoadCoordinate> records;
  if (!stakeStations(design, interval, records, error)) return false;
  // The change points, as displayed stations with their continuous places.
  std::vector<std::pair<double, double>> changes;  // continuous, displayed
  const CChainageTable chains(design.brokenChains);
  auto addChanges = [&](const RecordList<Road_Super_Item>& items, bool widening) {
    for (std::size_t i = 0; i < items.size(); ++i) {
      std::vector<ChangePoint> placed;
      if (!placeChangePoints(items[i], widening, chains, placed, error)) return false;
      for (std::size_t k = 0; k < placed.size(); ++k)
        changes.push_back({placed[k].mileage, items[i].values[k].Mileage});
    }
    return true;
  };
  if (!addChanges(road.superHighs, false) || !addChanges(road.widens, true)) return false;
  // Every station once, in order along the road.
  struct Station {
    double continuous, displayed;
    bool change;
  };
  std::vector<Station> stations;
  for (const RoadCoordinate& r : records) stations.push_back({r.continuousMileage, r.mileage, false});
  for (const auto& [c, d] : changes) stations.push_back({c, d, true});
  std::stable_sort(stations.begin(), stations.end(),
                   [](const Station& a, const Station& b) { return a.continuous < b.continuous; });
  const double start = design.startMileage();  // continuous
  const double end = design.endMileage();
  for (std::size_t i = 0; i < stations.size(); ++i) {
    Station st = stations[i];
    if (st.continuous < start - 1e-6 || st.continuous > end + 1e-6) continue;
    // Repeats at one place merge, a change point marks the row.
    while (i + 1 < stations.size() && std::fabs(stations[i + 1].continuous - st.continuous) < 1e-6)
      st.change = st.change || stations[++i].change;
    const double before = design.continuousFromDisplayed(st.displayed, 0);
    const int side = std::fabs(before - st.continuous) < 1e-6 ? 0 : 1;
    SectionAtStation s;
    if (!sectionAtStation(road, design, profile, st.displayed, side, s, error)) {
      error = "station " + formatFixed(st.displayed, kAlignmentDecimals) + ": " + error;
      return false;
    }
    SuperelevationRow row;
    row.station = st.displayed;
    row.changePoint = st.change;
    for (const SectionEdge& e : s.edges) {
      if (e.name.rfind("slope:", 0) == 0) continue;
      (e.side == 'L' ? row.left : row.right).push_back({e.name, e.slope, e.width});
    }
    // Only where a component differs from the standard section.
    auto standard = [](const RecordList<Road_Section_Item>& items, const std::vector<ComponentState>& now) {
      for (std::size_t k = 0; k < now.size() && k < items.size(); ++k)
        if (std::fabs(items[k].Slope - now[k].slope) > 1e-9 || std::fabs(items[k].Width - now[k].width) > 1e-9)
          return false;
      return true;
    };
    if (!row.changePoint && standard(road.leftSections, row.left) && standard(road.rightSections, row.right))
      continue;
    rows.push_back(std::move(row));
  }
  return true;
}


// ---------------------------------------------------------------------------
// Formatting

namespace {

std::vector<TableColumn> columnsOf(std::initializer_list<const char*> keys) {
  std::vector<TableColumn> out;
  for (const char* k : keys) out.push_back({k, {}});
  return out;
}

TableCell textCell(std::string text) { return {std::move(text), {}, false}; }
TableCell keyCell(std::string key) { return {std::move(key), {}, true}; }

TableCell optionalStation(std::optional<double> s, int decimals) {
  return s ? stationCell(*s, decimals) : TableCell{};
}

// The component columns of a side: as many as the widest row has, named after
// the first row that has each.
template <class Row, class Get>
std::vector<std::string> componentNames(const std::vector<Row>& rows, Get side) {
  std::vector<std::string> names;
  for (const Row& r : rows) {
    const auto& items = side(r);
    for (std::size_t k = names.size(); k < items.size(); ++k) names.push_back(items[k].name);
  }
  return names;
}

}  // namespace

DesignTable curvePointTable(const std::vector<CurvePointRow>& rows) {
  DesignTable t;
  t.titleKey = kCurveElementsTitleKey;
  t.columns = columnsOf({"IDS_TCOL_point", "IDS_TCOL_north", "IDS_TCOL_east", "IDS_TCOL_station",
                         "IDS_TCOL_deflection_left", "IDS_TCOL_deflection_right", "IDS_TCOL_radius",
                         "IDS_TCOL_spiral_in", "IDS_TCOL_spiral_out", "IDS_TCOL_tangent_in",
                         "IDS_TCOL_tangent_out", "IDS_TCOL_curve_length", "IDS_TCOL_external",
                         "IDS_TCOL_correction", "IDS_TCOL_zh", "IDS_TCOL_hy", "IDS_TCOL_qz", "IDS_TCOL_yh",
                         "IDS_TCOL_hz", "IDS_TCOL_distance_next", "IDS_TCOL_azimuth", "IDS_TCOL_straight"});
  constexpr int d = kAlignmentDecimals;
  t.rows.reserve(rows.size());
  for (const CurvePointRow& r : rows) {
    std::vector<TableCell> c;
    c.reserve(t.columns.size());
    const bool curve = r.zh.has_value();
    c.push_back(textCell(r.name));
    c.push_back(numberCell(r.x, d));
    c.push_back(numberCell(r.y, d));
    c.push_back(stationCell(r.station, d));
    c.push_back(r.turn < 0 ? angleCell(r.deflection) : TableCell{});
    c.push_back(r.turn > 0 ? angleCell(r.deflection) : TableCell{});
    auto curveNumber = [&](double v) { return curve ? numberCell(v, d) : TableCell{}; };
    c.push_back(curveNumber(r.radius));
    c.push_back(curveNumber(r.spiralIn));
    c.push_back(curveNumber(r.spiralOut));
    c.push_back(curveNumber(r.tangentIn));
    c.push_back(curveNumber(r.tangentOut));
    c.push_back(curveNumber(r.curveLength));
    c.push_back(curveNumber(r.external));
    c.push_back(curveNumber(r.correction));
    // Without spirals the main points are ZY, QZ, YZ: HY and YH coincide with them.
    c.push_back(optionalStation(r.zh, d));
    c.push_back(r.hasSpirals ? optionalStation(r.hy, d) : TableCell{});
    c.push_back(optionalStation(r.qz, d));
    c.push_back(r.hasSpirals ? optionalStation(r.yh, d) : TableCell{});
    c.push_back(optionalStation(r.hz, d));
    const bool last = !r.straightToNext.has_value();
    c.push_back(last ? TableCell{} : numberCell(r.distanceToNext, d));
    c.push_back(last ? TableCell{} : angleCell(r.azimuthAhead));
    c.push_back(numberCell(r.straightToNext, d));
    t.rows.push_back(std::move(c));
  }
  return t;
}

DesignTable elementTable(const std::vector<ElementRow>& rows) {
  DesignTable t;
  t.titleKey = kElementsTitleKey;
  t.columns = columnsOf({"IDS_TCOL_element_kind", "IDS_TCOL_start_station", "IDS_TCOL_end_station",
                         "IDS_TCOL_length", "IDS_TCOL_start_radius", "IDS_TCOL_end_radius",
                         "IDS_TCOL_start_azimuth", "IDS_TCOL_end_azimuth", "IDS_TCOL_north", "IDS_TCOL_east"});
  constexpr int d = kAlignmentDecimals;
  for (const ElementRow& r : rows) {
    const char* kind = r.kind == kElementLine ? "IDS_TVAL_line" : r.kind == kElementArc ? "IDS_TVAL_arc" : "IDS_TVAL_spiral";
    t.rows.push_back({keyCell(kind), stationCell(r.startStation, d), stationCell(r.endStation, d),
                      numberCell(r.length, d), numberCell(r.startRadius, d), numberCell(r.endRadius, d),
                      angleCell(r.startAzimuth), angleCell(r.endAzimuth), numberCell(r.startX, d),
                      numberCell(r.startY, d)});
  }
  return t;
}

DesignTable stakeTable(const std::vector<StakeRow>& rows, bool withElevation) {
  DesignTable t;
  t.titleKey = kStakeCoordinatesTitleKey;
  t.columns = columnsOf({"IDS_TCOL_stake", "IDS_TCOL_station", "IDS_TCOL_north", "IDS_TCOL_east",
                         "IDS_TCOL_azimuth"});
  if (withElevation) t.columns.push_back({"IDS_TCOL_design_elevation", {}});
  constexpr int d = kAlignmentDecimals;
  t.rows.reserve(rows.size());
  for (const StakeRow& r : rows) {
    std::vector<TableCell> c{textCell(r.name), stationCell(r.station, d), numberCell(r.x, d),
                             numberCell(r.y, d), angleCell(r.azimuth)};
    if (withElevation) c.push_back(numberCell(r.elevation, kVerticalDecimals));
    t.rows.push_back(std::move(c));
  }
  return t;
}

DesignTable gradePointTable(const std::vector<GradePointRow>& rows) {
  DesignTable t;
  t.titleKey = kGradesTitleKey;
  t.columns = columnsOf({"IDS_TCOL_number", "IDS_TCOL_station", "IDS_TCOL_elevation", "IDS_TCOL_curve_kind",
                         "IDS_TCOL_radius", "IDS_TCOL_tangent_in", "IDS_TCOL_tangent_out", "IDS_TCOL_external",
                         "IDS_TCOL_grade_in", "IDS_TCOL_grade_out", "IDS_TCOL_bvc_station",
                         "IDS_TCOL_bvc_elevation", "IDS_TCOL_evc_station", "IDS_TCOL_evc_elevation",
                         "IDS_TCOL_grade_length", "IDS_TCOL_grade"});
  constexpr int d = kVerticalDecimals;
  for (const GradePointRow& r : rows) {
    const bool curve = r.curveKind >= 0;
    std::string kind;
    if (curve)
      kind = r.curveKind == 0 ? (r.crest ? "IDS_TVAL_crest_circle" : "IDS_TVAL_sag_circle")
                              : (r.crest ? "IDS_TVAL_crest_parabola" : "IDS_TVAL_sag_parabola");
    auto curveNumber = [&](double v) { return curve ? numberCell(v, d) : TableCell{}; };
    t.rows.push_back({textCell(formatInt(r.number)), stationCell(r.station, d), numberCell(r.elevation, d),
                      curve ? keyCell(kind) : TableCell{}, curveNumber(r.radius), curveNumber(r.lengthIn), curveNumber(r.lengthOut),
                      curveNumber(r.external), r.number > 1 ? numberCell(r.gradeIn, d) : TableCell{},
                      r.gradeLength ? numberCell(r.gradeOut, d) : TableCell{},
                      optionalStation(r.bvcStation, d), numberCell(r.bvcElevation, d),
                      optionalStation(r.evcStation, d), numberCell(r.evcElevation, d),
                      numberCell(r.gradeLength, d), r.gradeLength ? numberCell(r.gradeOut, d) : TableCell{}});
  }
  return t;
}

DesignTable subgradeTable(const std::vector<SubgradeRow>& rows) {
  DesignTable t;
  t.titleKey = kSubgradeTitleKey;
  t.columns = columnsOf({"IDS_TCOL_station", "IDS_TCOL_ground_elevation", "IDS_TCOL_design_elevation",
                         "IDS_TCOL_fill", "IDS_TCOL_cut"});
  const auto left = componentNames(rows, [](const SubgradeRow& r) -> const auto& { return r.left; });
  const auto right = componentNames(rows, [](const SubgradeRow& r) -> const auto& { return r.right; });
  for (const std::string& n : left) {
    t.columns.push_back({"IDS_TCOL_left_width", n});
    t.columns.push_back({"IDS_TCOL_left_edge", n});
  }
  for (const std::string& n : right) {
    t.columns.push_back({"IDS_TCOL_right_width", n});
    t.columns.push_back({"IDS_TCOL_right_edge", n});
  }
  t.columns.push_back({"IDS_TCOL_catch_left", {}});
  t.columns.push_back({"IDS_TCOL_catch_right", {}});
  constexpr int d = kSectionDecimals;
  for (const SubgradeRow& r : rows) {
    std::vector<TableCell> c{stationCell(r.station, kAlignmentDecimals), numberCell(r.ground, d),
                             numberCell(r.design, d), numberCell(r.fill, d), numberCell(r.cut, d)};
    for (std::size_t k = 0; k < left.size(); ++k) {
      const bool has = k < r.left.size();
      c.push_back(has ? numberCell(r.left[k].width, d) : TableCell{});
      c.push_back(has ? numberCell(r.left[k].edgeElevation, d) : TableCell{});
    }
    for (std::size_t k = 0; k < right.size(); ++k) {
      const bool has = k < r.right.size();
      c.push_back(has ? numberCell(r.right[k].width, d) : TableCell{});
      c.push_back(has ? numberCell(r.right[k].edgeElevation, d) : TableCell{});
    }
    c.push_back(numberCell(r.catchLeft, d));
    c.push_back(numberCell(r.catchRight, d));
    t.rows.push_back(std::move(c));
  }
  return t;
}

DesignTable superelevationTable(const std::vector<SuperelevationRow>& rows) {
  DesignTable t;
  t.titleKey = kSuperelevationTitleKey;
  t.columns = columnsOf({"IDS_TCOL_station", "IDS_TCOL_change_point"});
  const auto left = componentNames(rows, [](const SuperelevationRow& r) -> const auto& { return r.left; });
  const auto right = componentNames(rows, [](const SuperelevationRow& r) -> const auto& { return r.right; });
  for (const std::string& n : left) {
    t.columns.push_back({"IDS_TCOL_left_slope", n});
    t.columns.push_back({"IDS_TCOL_left_width", n});
  }
  for (const std::string& n : right) {
    t.columns.push_back({"IDS_TCOL_right_slope", n});
    t.columns.push_back({"IDS_TCOL_right_width", n});
  }
  constexpr int d = kSectionDecimals;
  for (const SuperelevationRow& r : rows) {
    std::vector<TableCell> c{stationCell(r.station, kAlignmentDecimals), textCell(r.changePoint ? "*" : "")};
    for (std::size_t k = 0; k < left.size(); ++k) {
      const bool has = k < r.left.size();
      c.push_back(has ? numberCell(r.left[k].slope, d) : TableCell{});
      c.push_back(has ? numberCell(r.left[k].width, d) : TableCell{});
    }
    for (std::size_t k = 0; k < right.size(); ++k) {
      const bool has = k < r.right.size();
      c.push_back(has ? numberCell(r.right[k].slope, d) : TableCell{});
      c.push_back(has ? numberCell(r.right[k].width, d) : TableCell{});
    }
    t.rows.push_back(std::move(c));
  }
  return t;
}

}  // namespace trazmark
