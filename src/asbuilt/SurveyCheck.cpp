#include "asbuilt/SurveyCheck.h"

#include <algorithm>
#include <cmath>

#include "alignment/ChainageTable.h"
#include "crosssection/RoadProfile.h"
#include "crosssection/SectionAtStation.h"
#include "earthwork/EarthworkSection.h"
#include "platform/TextFields.h"
#include "terrain/PointFileLines.h"
#include "terrain/RoadGround.h"
#include "terrain/SurveyPointFile.h"

namespace trazmark {
namespace {

// A difference exactly at its tolerance is within it: this much (metres) is
// allowed beyond for the noise of the arithmetic that computed it.
constexpr double kToleranceNoise = 1e-9;
// An offset this close (metres) to an edge lies on the component inside it.
constexpr double kEdgeNoise = 1e-9;
// A kerb lower than this adds no step, as the cross section reads it.
constexpr double kKerbTolerance = 0.0001;
// Points checked between two progress reports.
constexpr std::size_t kProgressPoints = 4096;

bool beyond(double difference, double tolerance) {
  return !(std::fabs(difference) <= tolerance + kToleranceNoise);
}

// The columns of a points file: the field of each value and how many fields
// the format has (the code's field is none for name,x,y,z).
struct Columns {
  std::size_t name, code, north, east, elevation, count;
  const char* text;
};

Columns columnsOf(SurveyedPointFormat format) {
  if (format == SurveyedPointFormat::kNameCodeENZ) return {0, 1, 3, 2, 4, 5, "name,code,e,n,z"};
  return {0, kMaxPointFields, 1, 2, 3, 4, "name,x,y,z"};
}

bool readPoint(const PointLineFields& fields, const Columns& columns, std::size_t line,
               SurveyedPoint& p, std::string& error) {
  if (!checkPointFieldCount(fields, columns.count, columns.text, line, error)) return false;
  if (fields.field[columns.name].empty()) {
    error = pointLineError(line, "the point has no name");
    return false;
  }
  p.name = std::string(fields.field[columns.name]);
  if (columns.code < kMaxPointFields) p.code = std::string(fields.field[columns.code]);
  p.line = line;
  return readPointCoordinate(fields, columns.north, "x (north)", p.x, line, error) &&
         readPointCoordinate(fields, columns.east, "y (east)", p.y, line, error) &&
         readPointCoordinate(fields, columns.elevation, "elevation", p.z, line, error);
}

// One designed edge a point may be measured against.
struct Edge {
  enum Kind { kCentre, kComponent, kSlopeStep, kCatch };
  const std::string* name;  ///< as the EDGE column shows it
  double offset;
  int side;  ///< 0 left, 1 right, -1 the centre (both)
  Kind kind;
  const std::string* step = nullptr;  ///< a slope step's own name
};

const std::string kCentre = "centre";
const std::string kCatchPoint = "catch point";
// The codes that name the centre line and the catch point, as codeKey gives them.
constexpr std::string_view kCentreCodes[] = {"centre", "center", "\xE4\xB8\xAD\xE7\xBA\xBF"};  // 中线
constexpr std::string_view kCatchCodes[] = {"catch", "catch point"};

std::string_view trimmed(std::string_view text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// A code or an edge's name as codes are compared: trimmed, ASCII letters in
// lower case (other bytes, such as Chinese names, as they are).
std::string codeKey(std::string_view text) {
  std::string key(trimmed(text));
  for (char& c : key) c = lowerAscii(c);
  return key;
}

bool sameCode(std::string_view name, const std::string& key) {
  name = trimmed(name);
  if (name.size() != key.size()) return false;
  for (std::size_t i = 0; i < key.size(); ++i)
    if (lowerAscii(name[i]) != key[i]) return false;
  return true;
}

template <std::size_t N>
bool oneOf(const std::string& key, const std::string_view (&codes)[N]) {
  return std::find(std::begin(codes), std::end(codes), key) != std::end(codes);
}

bool edgeIsNamed(const Edge& e, const std::string& key) {
  switch (e.kind) {
    case Edge::kCentre: return oneOf(key, kCentreCodes);
    case Edge::kCatch: return oneOf(key, kCatchCodes);
    case Edge::kSlopeStep: return sameCode(*e.name, key) || sameCode(*e.step, key);
    case Edge::kComponent: return sameCode(*e.name, key);
  }
  return false;
}

// The edge nearest offset u (the first of equally near ones).
const Edge& nearestEdge(const std::vector<Edge>& edges, double u) {
  const Edge* nearest = &edges.front();
  for (const Edge& e : edges)
    if (std::fabs(u - e.offset) < std::fabs(u - nearest->offset)) nearest = &e;
  return *nearest;
}

// The edge a code names: a name both sides use (a lane) means the one on the
// point's side; of several on one side, the nearest. Null when none here.
const Edge* namedEdge(const std::vector<Edge>& edges, const std::string& key, int side, double u) {
  const Edge* best = nullptr;
  bool bestOnSide = false;
  for (const Edge& e : edges) {
    if (!edgeIsNamed(e, key)) continue;
    const bool onSide = e.side < 0 || e.side == side;
    if (!best || (onSide && !bestOnSide) ||
        (onSide == bestOnSide && std::fabs(u - e.offset) < std::fabs(u - best->offset))) {
      best = &e;
      bestOnSide = onSide;
    }
  }
  return best;
}

void addNote(std::string& note, const std::string& text) {
  if (!note.empty()) note += "; ";
  note += text;
}

// A figure to 0.1 mm; one that rounds to zero is printed without a sign.
std::string figure(double v) { return formatFixed(std::fabs(v) < 0.00005 ? 0.0 : v, 4); }

void appendNumber(std::string& out, const std::optional<double>& v) {
  if (v) out += figure(*v);
  else out += '-';
}

// A CSV field: quoted when it holds a comma, a quote or a line end.
std::string csvField(const std::string& text) {
  if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
  std::string q = "\"";
  for (char c : text) q += c == '"' ? std::string("\"\"") : std::string(1, c);
  return q + "\"";
}

bool isOnRoad(const CheckedPoint& row) {
  return row.flag == CheckFlag::kWithin || row.flag == CheckFlag::kBeyond;
}

struct Stats {
  std::size_t count = 0;
  double sum = 0, sumSquares = 0, largest = 0;
  void add(double v) {
    ++count;
    sum += v;
    sumSquares += v * v;
    if (std::fabs(v) > std::fabs(largest)) largest = v;
  }
  double mean() const { return count ? sum / static_cast<double>(count) : 0; }
  double rms() const { return count ? std::sqrt(sumSquares / static_cast<double>(count)) : 0; }
};

}  // namespace

bool parseSurveyedPointFormat(const std::string& name, SurveyedPointFormat& format) {
  // The terrain's names, less "x,y,z": a surveyed point has a name.
  PointFormat terrain;
  if (!parsePointFormat(name, terrain) || terrain == PointFormat::kXYZ) return false;
  format = terrain == PointFormat::kNameXYZ ? SurveyedPointFormat::kNameXYZ
                                            : SurveyedPointFormat::kNameCodeENZ;
  return true;
}

bool readSurveyedPoints(std::string_view text, SurveyedPointFormat format,
                        std::vector<SurveyedPoint>& points, std::string& error) {
  const Columns columns = columnsOf(format);
  std::vector<SurveyedPoint> read;
  CPointFileLines lines(text);
  std::string_view line;
  PointLineFields fields;
  while (lines.next(line)) {
    line = trimmedPointLine(line);
    if (isPointFileRemark(line)) continue;
    splitPointLine(line, fields);
    SurveyedPoint p;
    if (!readPoint(fields, columns, lines.number(), p, error)) return false;
    read.push_back(std::move(p));
  }
  if (read.empty()) {
    error = "no points in the file (expected " + std::string(columns.text) + " lines)";
    return false;
  }
  points = std::move(read);
  return true;
}

struct CSurveyCheck::Impl {
  RoadDataSet road;
  CRoadDesign design;
  std::optional<CRoadProfile> profile;
  std::shared_ptr<const CRoadGround> ground;
  double pavementDepth = 0;
  CSectionLayout layout;
  std::vector<std::string> names[2];  // the components' names, left and right
  // Every code that names an edge somewhere on the road, as codeKey gives
  // it, sorted; and those of them that name a slope's edge.
  std::vector<std::string> edgeCodes, slopeCodes;
  bool namesEdge(const std::string& key) const {
    return std::binary_search(edgeCodes.begin(), edgeCodes.end(), key);
  }
  bool namesSlopeEdge(const std::string& key) const {
    return std::binary_search(slopeCodes.begin(), slopeCodes.end(), key);
  }
};

CSurveyCheck::CSurveyCheck() : impl_(std::make_unique<Impl>()) {}
CSurveyCheck::~CSurveyCheck() = default;

bool CSurveyCheck::prepare(const RoadDataSet& road, const CRoadDesign& design,
                           std::shared_ptr<const CRoadGround> ground, double pavementDepth,
                           std::string& error) {
  auto impl = std::make_unique<Impl>();
  if (!design.computed()) {
    error = "the road has no computed alignment";
    return false;
  }
  const CChainageTable chains(design.brokenChains);
  if (!chains.valid()) {
    error = chains.error();
    return false;
  }
  if (!(pavementDepth >= 0) || !std::isfinite(pavementDepth)) {
    error = "the pavement depth must be a number of metres, 0 or more";
    return false;
  }
  if (!impl->layout.prepare(road, chains, error)) return false;
  if (!road.verticalCurves.empty()) {
    impl->profile.emplace();
    if (!impl->profile->build(road.verticalCurves, design, error)) return false;
  }
  impl->road = road;
  for (int s = 0; s < 2; ++s)
    for (const Road_Section_Item& c : s == 0 ? road.leftSections : road.rightSections)
      impl->names[s].push_back(c.moduleName());
  for (std::string_view code : kCatchCodes) impl->slopeCodes.emplace_back(code);
  for (const Road_Slope& r : road.slopes)
    for (const Road_Slope_Item& step : r.items) {
      impl->slopeCodes.push_back(codeKey(step.ItemName));
      impl->slopeCodes.push_back(codeKey("slope:" + r.SlopeName + ":" + step.ItemName));
    }
  impl->edgeCodes = impl->slopeCodes;
  for (std::string_view code : kCentreCodes) impl->edgeCodes.emplace_back(code);
  for (const auto& side : impl->names)
    for (const std::string& name : side) impl->edgeCodes.push_back(codeKey(name));
  for (std::vector<std::string>* codes : {&impl->edgeCodes, &impl->slopeCodes}) {
    std::sort(codes->begin(), codes->end());
    codes->erase(std::unique(codes->begin(), codes->end()), codes->end());
  }
  impl->design = design;
  if (ground && !ground->empty()) impl->ground = std::move(ground);
  impl->pavementDepth = pavementDepth;
  impl_ = std::move(impl);
  return true;
}

bool CSurveyCheck::hasGradeLine() const { return impl_->profile.has_value(); }

CheckedPoint CSurveyCheck::check(const SurveyedPoint& point, const CheckTolerances& tolerances) const {
  const Impl& d = *impl_;
  CheckedPoint row;
  row.point = point;
  row.location = d.design.locate(point.x, point.y);
  const StationLocation& l = row.location;
  if (l.status == StationLocation::kInvalid) {
    row.flag = CheckFlag::kInvalid;
    row.note = l.error;
    return row;
  }
  if (l.status == StationLocation::kOutside) {
    row.flag = CheckFlag::kOffRoad;
    return row;
  }

  const double m = l.continuousMileage;
  const double u = l.offset;
  const int side = u < 0 ? 0 : 1;
  const double sign = side == 0 ? -1.0 : 1.0;
  const double reachU = std::fabs(u);
  std::optional<double> centre;
  if (d.profile) centre = d.profile->elevationAt(m);
  // What the point's code says it marks: no code, an edge (by the name the
  // section gives it), or anything else (the surface, a level shot).
  const std::string key = codeKey(point.code);
  const bool edgeCode = !key.empty() && d.namesEdge(key);
  const bool surfaceCode = !key.empty() && !edgeCode;

  // The components' outer edges of both sides; on the point's side, each
  // component's inner edge, the surface there below any kerb, the kerb and
  // the cross slope.
  std::vector<Edge> edges{{&kCentre, 0.0, -1, Edge::kCentre}};
  std::vector<double> widths, slopes;
  struct Piece {
    double inner, foot, kerb, slope;
  };
  std::vector<Piece> pieces;
  double hinge = 0, hingeZ = 0;
  for (int s = 0; s < 2; ++s) {
    const RecordList<Road_Section_Item>& components =
        s == 0 ? d.road.leftSections : d.road.rightSections;
    d.layout.componentValues(s, m, widths, slopes);
    const double outward = s == 0 ? -1.0 : 1.0;
    double reach = 0;
    double elevation = centre.value_or(0);
    for (std::size_t i = 0; i < components.size(); ++i) {
      const double kerb =
          std::fabs(components[i].Roadteeth) > kKerbTolerance ? components[i].Roadteeth : 0.0;
      if (s == side) pieces.push_back({reach, elevation, kerb, slopes[i]});
      reach += widths[i];
      elevation += kerb + widths[i] * slopes[i] / 100;
      edges.push_back({&d.names[s][i], outward * reach, s, Edge::kComponent});
    }
    if (s == side) {
      hinge = reach;
      hingeZ = elevation;
    }
  }
  const bool inside = !(reachU > hinge + kEdgeNoise);
  if (inside && centre) {
    std::size_t i = 0;
    while (i + 1 < pieces.size() && !(reachU <= pieces[i + 1].inner + kEdgeNoise)) ++i;
    if (pieces.empty()) {
      row.designZ = *centre;
    } else {
      const Piece& p = pieces[i];
      double z = p.foot + p.kerb + (reachU - p.inner) * p.slope / 100;
      // A kerb's face is a vertical step of the design: crews shoot its top
      // and its foot at the same offset, so within the horizontal tolerance
      // of the face (on either side of it) a point is compared with whichever
      // of the two surfaces, each continued to the point, lies nearer its
      // elevation.
      for (std::size_t j = std::max<std::size_t>(i, 1); j <= i + 1 && j < pieces.size(); ++j) {
        const Piece& face = pieces[j];
        if (face.kerb == 0 || !(std::fabs(reachU - face.inner) <= tolerances.horizontal)) continue;
        const double run = reachU - face.inner;
        const double footZ = face.foot + run * pieces[j - 1].slope / 100;
        const double topZ = face.foot + face.kerb + run * face.slope / 100;
        z = std::fabs(point.z - footZ) <= std::fabs(point.z - topZ) ? footZ : topZ;
      }
      row.designZ = z;
    }
  }

  // The slope's steps, named as the EDGE column shows them (edges point here).
  std::vector<std::string> stepNames;
  if (!centre) {
    row.note = d.profile ? "no grade line at the station" : "no grade line";
  } else {
    if (!inside) row.note = "outside the section";
    // Beyond the outer component: the side slope as the earthwork runs it
    // out to the ground, up to its catch point. A point inside coded as a
    // slope's edge is measured against that edge too.
    if (d.ground && (!inside || (edgeCode && d.namesSlopeEdge(key)))) {
      EarthworkSide slope;
      std::vector<DesignVertex> line;
      std::string error;
      if (!earthworkSlopeAt(d.road, d.design, d.layout, *d.ground, l.displayedMileage, l.branch, m,
                            side, {sign * hinge, hingeZ}, u, slope, line, error)) {
        if (!inside) row.note = "outside the section (" + error + ")";
      } else if (!slope.catchPoint) {
        if (!inside) row.note = "outside the section (" + slope.message + ")";
      } else {
        const double catchReach = std::fabs(slope.catchPoint->offset);
        if (inside) {
          // The design there is the component's surface, found above.
        } else if (reachU <= catchReach + kEdgeNoise) {
          for (std::size_t i = 0; i + 1 < line.size(); ++i) {
            const DesignVertex& a = line[i];
            const DesignVertex& b = line[i + 1];
            const double ua = std::fabs(a.offset), ub = std::fabs(b.offset);
            if (ub > ua && reachU >= ua && reachU <= ub) {
              row.designZ = a.elevation + (b.elevation - a.elevation) * (reachU - ua) / (ub - ua);
              break;
            }
          }
          if (row.designZ) row.note.clear();
        } else {
          row.note = "outside the section (beyond the catch point)";
        }
        // The ends of the slope's steps inside the catch point, by name.
        const Road_Slope* chosen = nullptr;
        for (std::size_t k = 0; k < d.road.slopes.size() && !chosen; ++k) {
          const Road_Slope& r = d.road.slopes[k];
          if ((r.LeftRight == 0 ? 0 : 1) == side && (r.Type == 0) == slope.cut &&
              d.layout.slopeHolds(k, m))
            chosen = &r;
        }
        stepNames.reserve(line.size());
        for (std::size_t i = 1; chosen && i + 1 < line.size() && i <= chosen->items.size(); ++i)
          stepNames.push_back("slope:" + chosen->SlopeName + ":" + chosen->items[i - 1].ItemName);
        for (std::size_t i = 0; i < stepNames.size(); ++i)
          edges.push_back({&stepNames[i], line[i + 1].offset, side, Edge::kSlopeStep,
                           &chosen->items[i].ItemName});
        edges.push_back({&kCatchPoint, slope.catchPoint->offset, side, Edge::kCatch});
      }
    }
  }
  // A coded edge shot is measured against its edge; a point coded as
  // anything else shows the nearest edge but only its elevation is judged;
  // a point without a code is measured against the nearest edge.
  const Edge* named = edgeCode ? namedEdge(edges, key, side, u) : nullptr;
  const Edge& edge = named ? *named : nearestEdge(edges, u);
  row.edge = *edge.name;
  row.dOffset = u - edge.offset;
  row.offsetJudged = key.empty() || named;
  if (surfaceCode) addNote(row.note, "surface point");
  else if (edgeCode && !named)
    addNote(row.note, "no edge '" + std::string(trimmed(point.code)) + "' here");
  if (row.designZ) row.dz = point.z - *row.designZ;
  row.beyondZ = row.dz && beyond(*row.dz, tolerances.vertical);
  row.beyondOffset = row.offsetJudged && beyond(*row.dOffset, tolerances.horizontal);
  row.flag = row.beyondZ || row.beyondOffset ? CheckFlag::kBeyond : CheckFlag::kWithin;
  return row;
}

bool checkSurveyedPoints(const CSurveyCheck& check, const std::vector<SurveyedPoint>& points,
                         const CheckTolerances& tolerances, std::vector<CheckedPoint>& rows,
                         const std::function<bool(double)>& progress) {
  rows.clear();
  rows.reserve(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    if (progress && i % kProgressPoints == 0 &&
        !progress(static_cast<double>(i) / static_cast<double>(points.size()))) {
      rows.clear();
      return false;
    }
    rows.push_back(check.check(points[i], tolerances));
  }
  if (progress && !progress(1.0)) {
    rows.clear();
    return false;
  }
  return true;
}

CheckSummary summarizeCheck(const std::vector<CheckedPoint>& rows) {
  CheckSummary s;
  Stats dz, dOffset;
  for (const CheckedPoint& r : rows) {
    ++s.checked;
    switch (r.flag) {
      case CheckFlag::kWithin: ++s.within; break;
      case CheckFlag::kBeyond: ++s.beyond; break;
      case CheckFlag::kOffRoad: ++s.offRoad; break;
      case CheckFlag::kInvalid: ++s.invalid; break;
    }
    if (r.dz) dz.add(*r.dz);
    if (r.dOffset && r.offsetJudged) dOffset.add(*r.dOffset);
  }
  s.dzCount = dz.count;
  s.meanDz = dz.mean();
  s.rmsDz = dz.rms();
  s.maxDz = dz.largest;
  s.dOffsetCount = dOffset.count;
  s.meanDOffset = dOffset.mean();
  s.rmsDOffset = dOffset.rms();
  s.maxDOffset = dOffset.largest;
  return s;
}

const char* checkFlagName(CheckFlag flag) {
  switch (flag) {
    case CheckFlag::kWithin: return "ok";
    case CheckFlag::kBeyond: return "BEYOND";
    case CheckFlag::kOffRoad: return "OFF ROAD";
    case CheckFlag::kInvalid: return "INVALID";
  }
  return "INVALID";
}

std::string checkStationText(const CheckedPoint& row) {
  if (row.flag == CheckFlag::kInvalid) return "-";
  if (row.location.status == StationLocation::kOutside) return "outside";
  std::string text = figure(row.location.displayedMileage);
  if (row.location.branch == 0) text += " (before)";
  else if (row.location.branch == 1) text += " (after)";
  return text;
}

std::string checkOffsetText(const CheckedPoint& row) {
  if (row.flag == CheckFlag::kInvalid) return "-";
  if (row.location.status == StationLocation::kOutside) return figure(row.location.distance);
  return figure(row.location.offset);
}

std::string checkReportText(const std::vector<CheckedPoint>& rows, const CheckSummary& summary,
                            bool csv) {
  std::string out;
  out.reserve(rows.size() * 80 + 512);
  std::vector<const CheckedPoint*> order;
  order.reserve(rows.size());
  for (const CheckedPoint& r : rows)
    if (isOnRoad(r)) order.push_back(&r);
  const std::size_t onRoad = order.size();
  for (const CheckedPoint& r : rows)
    if (!isOnRoad(r)) order.push_back(&r);

  std::string designZ, dz, dOffset;
  auto figures = [&](const CheckedPoint& r) {
    designZ.clear();
    dz.clear();
    dOffset.clear();
    appendNumber(designZ, r.designZ);
    appendNumber(dz, r.dz);
    appendNumber(dOffset, r.dOffset);
  };
  if (csv) {
    out += "NAME,STATION,OFFSET,DESIGN_Z,DZ,EDGE,DOFFSET,FLAG,NOTE\n";
    for (const CheckedPoint* r : order) {
      figures(*r);
      out += csvField(r->point.name) + ',' + checkStationText(*r) + ',' + checkOffsetText(*r) + ',' +
             designZ + ',' + dz + ',' + (r->edge.empty() ? "-" : csvField(r->edge)) + ',' +
             dOffset + ',' + checkFlagName(r->flag) + ',' + csvField(r->note) + '\n';
    }
    auto line = [&out](const char* key, const std::string& value) {
      out += "SUMMARY,";
      out += key;
      out += ',' + value + '\n';
    };
    line("CHECKED", std::to_string(summary.checked));
    line("WITHIN", std::to_string(summary.within));
    line("BEYOND", std::to_string(summary.beyond));
    line("OFF_ROAD", std::to_string(summary.offRoad));
    line("INVALID", std::to_string(summary.invalid));
    auto stats = [&](const char* prefix, std::size_t count, double mean, double rms, double max) {
      const bool any = count > 0;
      line((std::string(prefix) + "_COUNT").c_str(), std::to_string(count));
      line((std::string(prefix) + "_MEAN").c_str(), any ? figure(mean) : "-");
      line((std::string(prefix) + "_RMS").c_str(), any ? figure(rms) : "-");
      line((std::string(prefix) + "_MAX").c_str(), any ? figure(max) : "-");
    };
    stats("DZ", summary.dzCount, summary.meanDz, summary.rmsDz, summary.maxDz);
    stats("DOFFSET", summary.dOffsetCount, summary.meanDOffset, summary.rmsDOffset,
          summary.maxDOffset);
    return out;
  }

  appendFormat(out, "%-12s %-20s %10s %10s %8s %-14s %8s %s\n", "name", "station", "offset",
               "design z", "dz", "edge", "doffset", "flag");
  for (std::size_t k = 0; k < order.size(); ++k) {
    const CheckedPoint& r = *order[k];
    if (k == onRoad) out += "\noff the road:\n";
    figures(r);
    appendFormat(out, "%-12s %-20s %10s %10s %8s %-14s %8s %s", r.point.name.c_str(),
                 checkStationText(r).c_str(), checkOffsetText(r).c_str(), designZ.c_str(),
                 dz.c_str(), r.edge.empty() ? "-" : r.edge.c_str(), dOffset.c_str(),
                 checkFlagName(r.flag));
    if (!r.note.empty()) out += "  (" + r.note + ")";
    out += '\n';
  }
  out += '\n';
  appendFormat(out, "points checked    %zu\n", summary.checked);
  appendFormat(out, "within tolerance  %zu\n", summary.within);
  appendFormat(out, "beyond tolerance  %zu\n", summary.beyond);
  appendFormat(out, "off the road      %zu\n", summary.offRoad);
  if (summary.invalid) appendFormat(out, "invalid           %zu\n", summary.invalid);
  auto stats = [&](const char* what, std::size_t count, double mean, double rms, double max) {
    if (count == 0) {
      appendFormat(out, "%-8s none\n", what);
      return;
    }
    appendFormat(out, "%-8s mean %s  RMS %s  largest %s m  (%zu points)\n", what,
                 figure(mean).c_str(), figure(rms).c_str(), figure(max).c_str(), count);
  };
  stats("dz", summary.dzCount, summary.meanDz, summary.rmsDz, summary.maxDz);
  stats("doffset", summary.dOffsetCount, summary.meanDOffset, summary.rmsDOffset,
        summary.maxDOffset);
  return out;
}

}  // namespace trazmark
