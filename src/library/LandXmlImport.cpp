#include "library/LandXmlImport.h"

#include "library/LandXmlNodes.h"

#include <pugixml.hpp>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "alignment/ChainageTable.h"
#include "alignment/RoadDesign.h"
#include "platform/CodePage.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"
#include "platform/WarningSink.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.14159265358979323846;
using landxml::kInternationalFoot;
// A broken chain whose back station minus its ahead station is at most this
// is a short chain, as the broken-chain editor decides.
constexpr double kShortChainTolerance = 1e-4;
// Two radii of one joint in the file are the same radius when they differ by
// no more than this (metres), plus kRadiusRelativeTolerance of the radius.
constexpr double kRadiusTolerance = 0.001;
constexpr double kRadiusRelativeTolerance = 1e-6;
// An arc shorter than this (metres) draws nothing.
constexpr double kZeroLength = 1e-9;
// A line shorter than this (metres) takes its direction from its neighbours
// where they give one.
constexpr double kDirectionBase = 1.0;
// A line runs on from the element before it when its direction differs from
// that element's end tangent by no more than kTangentTolerance (radians) plus
// what kPointRounding (metres) of rounding in its points can turn it.
constexpr double kTangentTolerance = 1e-7;
constexpr double kPointRounding = 0.0005;
// Most elements and grade points one alignment may hold: far beyond any road,
// and small enough that a hostile file cannot make the import run for long.
constexpr std::size_t kMaxItems = 200000;

using landxml::attributeNamed;
using landxml::childNamed;
using landxml::childrenNamed;
using landxml::localName;
using landxml::unitName;

// A whole decimal number (white space around it allowed), never a locale's.
std::optional<double> readNumber(std::string_view text) {
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
    text.remove_prefix(1);
  while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
    text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  double value = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
    return std::nullopt;
  return value;
}

std::vector<std::string_view> splitWhiteSpace(std::string_view text) {
  std::vector<std::string_view> parts;
  std::size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    std::size_t start = i;
    while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i > start) parts.push_back(text.substr(start, i - start));
  }
  return parts;
}

std::string lowered(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

struct Point {
  double x = 0;  // north, metres
  double y = 0;  // east, metres
};

double distance(const Point& a, const Point& b) { return std::hypot(a.x - b.x, a.y - b.y); }

// One element as the file draws it.
struct FileItem {
  enum Kind { kLine, kArc, kSpiral } kind = kLine;
  int line = 0;             // line of the element in the file
  const char* what = "";    // its element name
  std::optional<Point> start, end;
  double length = 0;        // metres
  double startRadius = 0;   // signed (positive turns right), 0 infinite
  double endRadius = 0;
  bool inserted = false;    // an arc the import puts between two spirals
  std::optional<double> startAzimuth;  // tangent at the start where the points give it
};

double azimuthOf(double north, double east) {
  double a = std::atan2(east, north);
  return a < 0 ? a + 2 * kPi : a;
}

class Reader {
 public:
  explicit Reader(const std::string& text) : text_(text) {}

  bool read(const std::string& alignmentName, LandXmlAlignment& out);
  const std::string& error() const { return error_; }

 private:
  // Line of a node in the file, from the offsets of the line ends (found
  // once: a file of many elements must not be counted through per element).
  int lineOf(const pugi::xml_node& node) const {
    std::ptrdiff_t offset = node.offset_debug();
    if (offset < 0) return 0;
    if (lineEnds_.empty() && !text_.empty()) {
      for (std::size_t i = 0; i < text_.size(); ++i)
        if (text_[i] == '\n') lineEnds_.push_back(i);
      lineEnds_.push_back(text_.size());
    }
    auto it = std::lower_bound(lineEnds_.begin(), lineEnds_.end(), static_cast<std::size_t>(offset));
    return 1 + static_cast<int>(it - lineEnds_.begin());
  }
  std::string at(const pugi::xml_node& node) const {
    return std::string(localName(node)) + " at line " + std::to_string(lineOf(node));
  }
  bool fail(const pugi::xml_node& node, const std::string& message) {
    error_ = at(node) + ": " + message;
    return false;
  }

  bool readUnits(const pugi::xml_node& root);
  void readAngleUnit(const pugi::xml_node& units);
  std::optional<double> angle(const pugi::xml_node& node, const char* attribute) const;
  bool number(const pugi::xml_node& node, const char* attribute, std::optional<double>& value);
  bool radius(const pugi::xml_node& node, const char* attribute, int rot, double& value);
  bool rotation(const pugi::xml_node& node, int& rot);
  bool point(const pugi::xml_node& element, const char* childName, std::optional<Point>& p);
  bool readGeometry(const pugi::xml_node& coordGeom, std::vector<FileItem>& items);
  bool readLine(const pugi::xml_node& node, FileItem& item);
  bool readCurve(const pugi::xml_node& node, FileItem& item);
  bool readSpiral(const pugi::xml_node& node, FileItem& item);
  bool arrange(std::vector<FileItem>& items, const pugi::xml_node& coordGeom);
  bool readEquations(const pugi::xml_node& alignment, const CRoadDesign& design,
                     RecordList<Scisson_Data>& chains);
  bool readProfile(const pugi::xml_node& alignment, const CRoadDesign& design,
                   RecordList<CVerticalCurveCal>& points);

  const std::string& text_;
  mutable std::vector<std::size_t> lineEnds_;
  std::string error_;
  double linear_ = 1;        // metres per file length unit
  double angular_ = 1;       // radians per file angle unit
  bool angularDms_ = false;  // angles written as packed dd.mmss
  bool angularKnown_ = true;  // false: angles are not read, the points stand in
  std::map<std::string, std::string> cgPoints_;
};

void Reader::readAngleUnit(const pugi::xml_node& units) {
  pugi::xml_attribute a = attributeNamed(units, "angularUnit");
  angular_ = 1;
  angularDms_ = false;
  angularKnown_ = true;
  if (!a) return;
  const std::string unit = unitName(a.value());
  if (unit == "radians" || unit == "radian") return;
  if (unit == "grads" || unit == "gradians" || unit == "gons") {
    angular_ = kPi / 200;
  } else if (unit == "decimal degrees" || unit == "degrees") {
    angular_ = kPi / 180;
  } else if (unit == "decimal dd.mm.ss") {
    angular_ = kPi / 180;
    angularDms_ = true;
  } else {
    // Angles only stand in for what the coordinates also give: an arc without
    // a length is measured from its points instead.
    angularKnown_ = false;
  }
}

bool Reader::readUnits(const pugi::xml_node& root) {
  pugi::xml_node units = childNamed(root, "Units");
  if (!units) return true;  // metres and radians
  pugi::xml_node system = childNamed(units, "Metric");
  if (!system) system = childNamed(units, "Imperial");
  if (!system) return fail(units, "holds neither Metric nor Imperial");
  const std::optional<double> linear = landxml::linearUnitOf(system);
  if (!linear)
    return fail(system, std::string("linearUnit '") + attributeNamed(system, "linearUnit").value() +
                            "' is not a unit the import knows");
  linear_ = *linear;
  // Directions, areas, volumes and the rest are not read: their units never
  // refuse a file.
  readAngleUnit(system);
  return true;
}

std::optional<double> Reader::angle(const pugi::xml_node& node, const char* attribute) const {
  pugi::xml_attribute a = attributeNamed(node, attribute);
  if (!a || !angularKnown_) return std::nullopt;
  auto v = readNumber(a.value());
  if (!v) return std::nullopt;
  double value = *v;
  if (angularDms_) {
    // Packed degrees: 12.3045 is 12° 30' 45".
    double sign = value < 0 ? -1 : 1;
    double a0 = std::fabs(value);
    double degrees = std::floor(a0);
    double minutes = std::floor((a0 - degrees) * 100 + 1e-9);
    double seconds = ((a0 - degrees) * 100 - minutes) * 100;
    value = sign * (degrees + minutes / 60 + seconds / 3600);
  }
  return value * angular_;
}

bool Reader::number(const pugi::xml_node& node, const char* attribute,
                    std::optional<double>& value) {
  value.reset();
  pugi::xml_attribute a = attributeNamed(node, attribute);
  if (!a) return true;
  value = readNumber(a.value());
  if (!value) return fail(node, std::string(attribute) + " '" + a.value() + "' is not a number");
  return true;
}

bool Reader::rotation(const pugi::xml_node& node, int& rot) {
  rot = 0;
  pugi::xml_attribute a = attributeNamed(node, "rot");
  if (!a || trimWhiteSpace(a.value()).empty()) return true;
  std::string r = lowered(a.value());
  if (r == "cw") rot = 1;
  else if (r == "ccw") rot = -1;
  else return fail(node, std::string("rot '") + a.value() + "' is neither cw nor ccw");
  return true;
}

// A spiral's radius: "INF" (a straight end) gives 0; a number is signed by `rot`.
bool Reader::radius(const pugi::xml_node& node, const char* attribute, int rot, double& value) {
  pugi::xml_attribute a = attributeNamed(node, attribute);
  if (!a) return fail(node, std::string("has no ") + attribute);
  std::string text = lowered(trimWhiteSpace(a.value()));
  if (text == "inf" || text == "infinity") {
    value = 0;
    return true;
  }
  auto v = readNumber(a.value());
  if (!v) return fail(node, std::string(attribute) + " '" + a.value() + "' is neither INF nor a number");
  if (*v == 0) {  // some files write 0 for a straight end
    value = 0;
    return true;
  }
  if (rot == 0) return fail(node, "has a finite radius but no rot (cw or ccw)");
  value = rot * std::fabs(*v) * linear_;
  return true;
}

bool Reader::point(const pugi::xml_node& element, const char* childName,
                   std::optional<Point>& p) {
  p.reset();
  pugi::xml_node node = childNamed(element, childName);
  if (!node) return true;
  std::string text = node.child_value();
  if (trimWhiteSpace(text).empty()) {
    pugi::xml_attribute ref = attributeNamed(node, "pntRef");
    if (!ref) return fail(node, "holds no coordinates and no pntRef");
    auto it = cgPoints_.find(ref.value());
    if (it == cgPoints_.end())
      return fail(node, std::string("pntRef '") + ref.value() + "' names no CgPoint");
    text = it->second;
  }
  auto parts = splitWhiteSpace(text);
  if (parts.size() < 2) return fail(node, "needs \"northing easting\"");
  auto north = readNumber(parts[0]);
  auto east = readNumber(parts[1]);
  if (!north || !east) return fail(node, "'" + trimWhiteSpace(text) + "' is not \"northing easting\"");
  p = Point{*north * linear_, *east * linear_};
  return true;
}

bool Reader::readLine(const pugi::xml_node& node, FileItem& item) {
  item.kind = FileItem::kLine;
  if (!point(node, "Start", item.start) || !point(node, "End", item.end)) return false;
  if (!item.start || !item.end) return fail(node, "needs both its Start and its End point");
  item.length = distance(*item.start, *item.end);
  return true;
}

bool Reader::readCurve(const pugi::xml_node& node, FileItem& item) {
  item.kind = FileItem::kArc;
  std::optional<Point> center, pi;
  if (!point(node, "Start", item.start) || !point(node, "End", item.end) ||
      !point(node, "Center", center) || !point(node, "PI", pi))
    return false;
  if (!center) return fail(node, "has no Center");
  if (!item.start || !item.end) return fail(node, "needs both its Start and its End point");
  int rot = 0;
  if (!rotation(node, rot)) return false;
  // Without rot the side of the centre tells the turn: from the PI the
  // tangent at the start, else the chord (an arc under a half circle).
  const Point toward = pi ? *pi : *item.end;
  const double cross = (toward.x - item.start->x) * (center->y - item.start->y) -
                       (toward.y - item.start->y) * (center->x - item.start->x);
  if (rot == 0) {
    if (!(std::fabs(cross) > 1e-12)) return fail(node, "has no rot and its turn cannot be told");
    rot = cross > 0 ? 1 : -1;  // centre right of the tangent: a right turn
  }
  std::optional<double> r, length;
  if (!number(node, "radius", r) || !number(node, "length", length)) return false;
  double radiusMetres = r ? std::fabs(*r) * linear_ : distance(*item.start, *center);
  if (!(radiusMetres > 1e-6)) return fail(node, "has no radius");
  if (length) {
    item.length = *length * linear_;
  } else if (auto delta = angle(node, "delta")) {
    item.length = std::fabs(*delta) * radiusMetres;
  } else {
    // The angle swept from Start to End about the centre, in the sense of rot.
    double a0 = std::atan2(item.start->y - center->y, item.start->x - center->x);
    double a1 = std::atan2(item.end->y - center->y, item.end->x - center->x);
    double sweep = rot > 0 ? a1 - a0 : a0 - a1;  // azimuths grow clockwise
    while (sweep < 0) sweep += 2 * kPi;
    item.length = sweep * radiusMetres;
  }
  if (!(item.length >= 0)) return fail(node, "has a negative length");
  item.startRadius = item.endRadius = rot * radiusMetres;
  // The centre lies to the right of travel on a right turn.
  const double cx = (center->x - item.start->x) * rot, cy = (center->y - item.start->y) * rot;
  if (std::hypot(cx, cy) > 1e-6) item.startAzimuth = azimuthOf(-cx, cy);
  return true;
}

bool Reader::readSpiral(const pugi::xml_node& node, FileItem& item) {
  item.kind = FileItem::kSpiral;
  pugi::xml_attribute type = attributeNamed(node, "spiType");
  if (type && lowered(type.value()) != "clothoid")
    return fail(node, std::string("spiType '") + type.value() +
                          "': the road holds clothoid spirals only");
  std::optional<Point> pi;
  if (!point(node, "Start", item.start) || !point(node, "End", item.end) ||
      !point(node, "PI", pi))
    return false;
  int rot = 0;
  if (!rotation(node, rot)) return false;
  std::optional<double> length;
  if (!number(node, "length", length)) return false;
  if (!length) return fail(node, "has no length");
  item.length = *length * linear_;
  if (!(item.length > 1e-10)) return fail(node, "has no length");
  if (!radius(node, "radiusStart", rot, item.startRadius) ||
      !radius(node, "radiusEnd", rot, item.endRadius))
    return false;
  if (item.startRadius == 0 && item.endRadius == 0)
    return fail(node, "has two infinite radii: that is a line");
  if (std::fabs(item.startRadius - item.endRadius) <= kRadiusTolerance)
    return fail(node, "has equal radii at both ends: that is an arc");
  if (pi && item.start && distance(*pi, *item.start) > 1e-3)
    item.startAzimuth = azimuthOf(pi->x - item.start->x, pi->y - item.start->y);
  return true;
}

bool sameRadius(double a, double b) {
  if (a == 0 || b == 0) return a == b;
  return std::fabs(a - b) <= kRadiusTolerance + kRadiusRelativeTolerance * std::fabs(a);
}

std::string radiusText(double r) { return r == 0 ? "INF" : formatFixed(r, 4); }

bool Reader::readGeometry(const pugi::xml_node& coordGeom, std::vector<FileItem>& items) {
  for (pugi::xml_node c = coordGeom.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    std::string_view name = localName(c);
    FileItem item;
    item.line = lineOf(c);
    bool ok = false;
    if (name == "Line") {
      item.what = "Line";
      ok = readLine(c, item);
    } else if (name == "Curve") {
      item.what = "Curve";
      ok = readCurve(c, item);
    } else if (name == "Spiral") {
      item.what = "Spiral";
      ok = readSpiral(c, item);
    } else if (name == "IrregularLine" || name == "Chain" || name == "CurveSpiral") {
      return fail(c, "the road holds lines, arcs and clothoid spirals only");
    } else {
      continue;  // features, properties and what else the road does not use
    }
    if (!ok) return false;
    if (items.size() >= kMaxItems) return fail(c, "the alignment has too many elements");
    items.push_back(item);
  }
  if (items.empty()) return fail(coordGeom, "holds no Line, Curve or Spiral");
  return true;
}

// The radius the road gives the start of an element (a spiral's comes from
// the element before it, so it is that element's end radius).
double engineStartRadius(const FileItem& item) {
  return item.kind == FileItem::kArc ? item.startRadius : 0;
}

// Puts the file's elements in the shape the road holds: the road takes a
// spiral's radii from its neighbours, so two spirals meeting at a finite
// radius need an arc between them, an arc of zero length elsewhere draws
// nothing, and a spiral at the end of the road needs an element after it.
bool Reader::arrange(std::vector<FileItem>& items, const pugi::xml_node& coordGeom) {
  std::vector<FileItem> road;
  auto shortArc = [](double r, int line) {
    FileItem arc;
    arc.kind = FileItem::kArc;
    arc.what = "Curve";
    arc.line = line;
    arc.length = kShortestArc;
    arc.startRadius = arc.endRadius = r;
    arc.inserted = true;
    return arc;
  };
  for (std::size_t i = 0; i < items.size(); ++i) {
    FileItem& item = items[i];
    const bool afterSpiral = !road.empty() && road.back().kind == FileItem::kSpiral;
    if (item.kind == FileItem::kArc && item.length <= kZeroLength) {
      const bool beforeSpiral = i + 1 < items.size() && items[i + 1].kind == FileItem::kSpiral;
      if (afterSpiral && beforeSpiral) {
        FileItem arc = shortArc(item.startRadius, item.line);
        arc.end = item.end;
        arc.inserted = false;
        road.push_back(arc);
      }
      continue;
    }
    if (item.kind == FileItem::kSpiral && afterSpiral && item.startRadius != 0)
      road.push_back(shortArc(item.startRadius, item.line));
    road.push_back(item);
  }
  if (road.back().kind == FileItem::kSpiral) {
    if (road.back().endRadius != 0) {
      road.push_back(shortArc(road.back().endRadius, road.back().line));
    } else {
      FileItem line;  // zero length, continuing the spiral's tangent
      line.what = "Line";
      line.line = road.back().line;
      line.inserted = true;
      road.push_back(line);
    }
  }
  for (std::size_t k = 0; k < road.size(); ++k) {
    const FileItem& s = road[k];
    if (s.kind != FileItem::kSpiral) continue;
    const double before = k == 0 ? 0 : road[k - 1].kind == FileItem::kArc ? road[k - 1].endRadius : 0;
    const double after = engineStartRadius(road[k + 1]);
    const std::string where = std::string("Spiral at line ") + std::to_string(s.line) + ": ";
    if (!sameRadius(before, s.startRadius)) {
      error_ = where + "radiusStart " + radiusText(s.startRadius) +
               " does not meet the element before it (radius " + radiusText(before) +
               "); the road takes a spiral's radii from its neighbours";
      return false;
    }
    if (!sameRadius(after, s.endRadius)) {
      error_ = where + "radiusEnd " + radiusText(s.endRadius) +
               " does not meet the element after it (radius " + radiusText(after) +
               "); the road takes a spiral's radii from its neighbours";
      return false;
    }
  }
  if (!road.front().start) return fail(coordGeom, "its first element has no Start point");
  items = std::move(road);
  return true;
}

bool Reader::readEquations(const pugi::xml_node& alignment, const CRoadDesign& design,
                           RecordList<Scisson_Data>& chains) {
  struct Equation {
    pugi::xml_node node;
    double back, ahead;
    std::optional<double> internal;
  };
  std::vector<Equation> equations;
  for (const pugi::xml_node& e : childrenNamed(alignment, "StaEquation")) {
    std::optional<double> back, ahead, internal;
    if (!number(e, "staBack", back) || !number(e, "staAhead", ahead) ||
        !number(e, "staInternal", internal))
      return false;
    if (!back || !ahead) return fail(e, "needs staBack and staAhead");
    // Stationing that counts down after the equation is not a broken chain:
    // the road's stations always grow along it.
    pugi::xml_attribute desc = attributeNamed(e, "desc");
    if (desc && lowered(desc.value()).find("decreas") != std::string::npos)
      return fail(e, "stations decreasing ahead of the equation cannot be held by the road");
    Equation q{e, *back * linear_, *ahead * linear_, std::nullopt};
    if (internal) q.internal = *internal * linear_;
    equations.push_back(q);
  }
  if (equations.size() > kMaxItems) return fail(alignment, "has too many StaEquation");
  // Files list equations in road order, or give their internal stations.
  if (std::all_of(equations.begin(), equations.end(), [](const Equation& q) { return q.internal.has_value(); }))
    std::stable_sort(equations.begin(), equations.end(),
                     [](const Equation& a, const Equation& b) { return *a.internal < *b.internal; });
  for (const Equation& q : equations) {
    Scisson_Data chain;
    chain.Before_mileage = q.back;
    chain.After_mileage = q.ahead;
    chain.Type = q.back - q.ahead <= kShortChainTolerance ? 1 : 0;
    chain.Length = std::fabs(q.back - q.ahead);
    chains.append(chain);
  }
  CChainageTable table(chains);
  if (!table.valid()) {
    error_ = "the station equations cannot be placed along the alignment: " + table.error();
    return false;
  }
  // Where an equation gives its internal station, it must be where its back
  // station lies on the road.
  for (const ChainBreak& b : table.breaks()) {
    const Equation& q = equations[b.index];
    if (q.internal && std::fabs(*q.internal - b.continuous) > kLandXmlPointTolerance)
      return fail(q.node, "staInternal " + formatFixed(*q.internal, 4) +
                              " is not where its staBack lies on the alignment (" +
                              formatFixed(b.continuous, 4) + ")");
    if (b.continuous < design.startMileage() - kLandXmlPointTolerance ||
        b.continuous > design.endMileage() + kLandXmlPointTolerance)
      return fail(q.node, "lies beyond the ends of the alignment");
  }
  return true;
}

bool Reader::readProfile(const pugi::xml_node& alignment, const CRoadDesign& design,
                         RecordList<CVerticalCurveCal>& points) {
  pugi::xml_node prof;
  for (const pugi::xml_node& profile : childrenNamed(alignment, "Profile"))
    if ((prof = childNamed(profile, "ProfAlign"))) break;
  if (!prof) return true;  // a road without a grade line
  struct Entry {
    pugi::xml_node node;
    double station, elevation;
    CVerticalCurveCal point;
  };
  std::vector<Entry> entries;
  for (pugi::xml_node c = prof.first_child(); c; c = c.next_sibling()) {
    if (c.type() != pugi::node_element) continue;
    std::string_view name = localName(c);
    // Features, properties and what else the grade line does not use are skipped.
    if (name != "PVI" && name != "ParaCurve" && name != "UnsymParaCurve" && name != "CircCurve")
      continue;
    auto parts = splitWhiteSpace(c.child_value());
    std::optional<double> station, elevation;
    if (parts.size() >= 2) {
      station = readNumber(parts[0]);
      elevation = readNumber(parts[1]);
    }
    if (!station || !elevation) return fail(c, "needs \"station elevation\"");
    Entry e{c, *station * linear_, *elevation * linear_, CVerticalCurveCal()};
    e.point.High = e.elevation;
    if (name == "ParaCurve") {
      std::optional<double> length;
      if (!number(c, "length", length)) return false;
      if (!length || !(*length >= 0)) return fail(c, "needs a length");
      e.point.CalMode = 1;
      e.point.CurveL = *length * linear_;
    } else if (name == "UnsymParaCurve") {
      std::optional<double> in, outLength;
      if (!number(c, "lengthIn", in) || !number(c, "lengthOut", outLength)) return false;
      if (!in || !outLength || !(*in >= 0) || !(*outLength >= 0))
        return fail(c, "needs lengthIn and lengthOut");
      e.point.CalMode = 2;
      e.point.InLength = *in * linear_;
      e.point.OutLength = *outLength * linear_;
      e.point.CurveL = e.point.InLength + e.point.OutLength;
    } else if (name == "CircCurve") {
      std::optional<double> length, r;
      if (!number(c, "length", length) || !number(c, "radius", r)) return false;
      if (!length && !r) return fail(c, "needs a radius or a length");
      e.point.CalMode = 0;
      // Exporters disagree on the sign of the radius; crest or sag comes from
      // the grades. The length (the arc) stands in where the radius is missing.
      e.point.Radius = r ? std::fabs(*r) * linear_ : -1;
      e.point.CurveL = length ? *length * linear_ : 0;
    }
    if (entries.size() >= kMaxItems) return fail(c, "the grade line has too many points");
    if (!entries.empty() && !(e.station > entries.back().station))
      return fail(c, "its station does not lie after the one before it");
    entries.push_back(e);
  }
  // Grades from the neighbours settle what the file leaves to them.
  for (std::size_t i = 0; i < entries.size(); ++i) {
    CVerticalCurveCal& p = entries[i].point;
    if (i == 0 || i + 1 == entries.size()) {
      if (p.CalMode != 0 || p.Radius != 0)
        return fail(entries[i].node, "a vertical curve needs a grade on both sides of it");
      continue;
    }
    const double g1 = (entries[i].elevation - entries[i - 1].elevation) /
                      (entries[i].station - entries[i - 1].station);
    const double g2 = (entries[i + 1].elevation - entries[i].elevation) /
                      (entries[i + 1].station - entries[i].station);
    const double change = std::fabs(g2 - g1);
    if (p.CalMode == 1) {
      p.Radius = change > 0 ? p.CurveL / change : 0;
    } else if (p.CalMode == 0 && p.Radius < 0) {
      const double turn = std::fabs(std::atan(g2) - std::atan(g1));
      p.Radius = turn > 0 ? p.CurveL / turn : 0;
    }
    if (p.CalMode == 0 && p.Radius > 0)
      p.CurveL = p.Radius * std::fabs(std::atan(g2) - std::atan(g1));
  }
  // Internal stations become displayed ones; each must come back to its own
  // place when the road places its grade points in order.
  CChainageTable table(design.brokenChains);
  double previous = -HUGE_VAL;
  for (Entry& e : entries) {
    // A grade line may run on past the ends of the alignment, as the road's
    // own grade points may.
    const double shown = table.displayedFromContinuous(e.station);
    std::optional<double> place = table.continuousFromDisplayed(shown, false);
    if (place && *place < previous) place = table.continuousFromDisplayed(shown, true);
    if (!place || std::fabs(*place - e.station) > 1e-6)
      return fail(e.node, "its station cannot be told apart from another with the same displayed station");
    previous = *place;
    e.point.Mileage = shown;
    points.append(e.point);
  }
  return true;
}

bool Reader::read(const std::string& alignmentName, LandXmlAlignment& out) {
  pugi::xml_document doc;
  pugi::xml_parse_result parsed = doc.load_buffer(text_.data(), text_.size(),
                                                  pugi::parse_default, pugi::encoding_utf8);
  if (!parsed) {
    std::size_t offset = std::min<std::size_t>(static_cast<std::size_t>(std::max<std::ptrdiff_t>(parsed.offset, 0)), text_.size());
    error_ = std::string("not a well-formed XML file: ") + parsed.description() + " at line " +
             std::to_string(1 + std::count(text_.begin(), text_.begin() + offset, '\n'));
    return false;
  }
  pugi::xml_node root = doc.document_element();
  if (localName(root) != "LandXML") {
    error_ = "not a LandXML file (its root element is '" + std::string(localName(root)) + "')";
    return false;
  }
  if (!readUnits(root)) return false;
  for (const pugi::xml_node& set : childrenNamed(root, "CgPoints"))
    for (const pugi::xml_node& p : childrenNamed(set, "CgPoint"))
      if (pugi::xml_attribute name = attributeNamed(p, "name")) cgPoints_[name.value()] = p.child_value();

  pugi::xml_node alignment;
  std::vector<std::string> names;
  for (const pugi::xml_node& set : childrenNamed(root, "Alignments"))
    for (const pugi::xml_node& a : childrenNamed(set, "Alignment")) {
      std::string name = utf8ToAnsi(attributeNamed(a, "name").value());
      names.push_back(name);
      if (!alignment && (alignmentName.empty() || name == alignmentName)) alignment = a;
    }
  if (!alignment) {
    if (names.empty()) {
      error_ = "the file holds no Alignment";
    } else {
      error_ = "the file holds no Alignment named '" + alignmentName + "' (it holds:";
      for (const std::string& n : names) error_ += " '" + n + "'";
      error_ += ")";
    }
    return false;
  }
  pugi::xml_node coordGeom = childNamed(alignment, "CoordGeom");
  if (!coordGeom) return fail(alignment, "has no CoordGeom");
  std::vector<FileItem> items;
  if (!readGeometry(coordGeom, items) || !arrange(items, coordGeom)) return false;

  std::optional<double> staStart;
  if (!number(alignment, "staStart", staStart)) return false;
  // Without its own, the alignment starts at the station of its first element.
  for (pugi::xml_node c = coordGeom.first_child(); !staStart && c; c = c.next_sibling())
    if (c.type() == pugi::node_element && !number(c, "staStart", staStart)) return false;
    else if (c.type() == pugi::node_element) break;
  const double startMileage = staStart ? *staStart * linear_ : 0;

  LandXmlAlignment result;
  result.name = utf8ToAnsi(attributeNamed(alignment, "name").value());
  result.startMileage = startMileage;
  RoadDataSet& road = result.road;
  road.FlatcurveType = kFlatcurveElements;
  Road_Element start;
  start.Type = kElementStartPoint;
  start.point.X = items.front().start->x;
  start.point.Y = items.front().start->y;
  start.Mileage = startMileage;
  road.elements.append(start);
  for (const FileItem& item : items) {
    Road_Element e;
    e.Length = item.length;
    switch (item.kind) {
      case FileItem::kLine: {
        e.Type = kElementLine;
        if (item.start && item.end) {
          double azimuth = std::atan2(item.end->y - item.start->y, item.end->x - item.start->x);
          if (azimuth < 0) azimuth += 2 * kPi;
          e.Azimuth = azimuth * 180 / kPi;
          if (e.Azimuth >= 360) e.Azimuth -= 360;
        }
        break;
      }
      case FileItem::kArc:
        e.Type = kElementArc;
        e.Radius = item.startRadius;
        break;
      case FileItem::kSpiral:
        e.Type = kElementSpiral;
        break;
    }
    road.elements.append(e);
  }

  // Chain the elements as the road will, and hold the result against the
  // file's own points: a file whose elements do not join up as it draws them
  // is refused rather than staked out elsewhere.
  CRoadDesign design;
  auto chain = [&]() {
    WarningSink previous = setWarningSink([](const std::string&, const std::string&) {});
    bool built = design.loadFromRoad(result.name, startMileage, road.elements);
    setWarningSink(previous);
    return built && design.elements().size() == road.elements.size();
  };
  // A short line's points give its direction poorly (a tenth of a millimetre
  // of rounding over a tenth of a millimetre of line is a radian): the first
  // line takes the direction the element after it starts with, and a line
  // that runs on from the element before it within what its points can tell
  // takes that element's end tangent exactly.
  if (items.size() > 1 && items[0].kind == FileItem::kLine && items[0].length < kDirectionBase &&
      items[1].startAzimuth)
    road.elements[1].Azimuth = *items[1].startAzimuth * 180 / kPi;
  if (!chain()) {
    error_ = "the alignment's elements cannot be chained into a road";
    return false;
  }
  bool continued = false;
  for (std::size_t k = 1; k < items.size(); ++k) {
    if (items[k].kind != FileItem::kLine) continue;
    const double before = design.elements()[k].endAzimuth;
    double turn = std::fabs(road.elements[k + 1].Azimuth * kPi / 180 - before);
    turn = std::min(turn, std::fabs(2 * kPi - turn));
    if (turn <= kTangentTolerance + kPointRounding / std::max(items[k].length, kPointRounding)) {
      double degrees = before * 180 / kPi;
      degrees = std::fmod(degrees, 360.0);
      if (degrees < 0) degrees += 360;
      road.elements[k + 1].Azimuth = degrees;
      continued = true;
    }
  }
  if (continued && !chain()) {
    error_ = "the alignment's elements cannot be chained into a road";
    return false;
  }
  double mileage = startMileage;
  for (std::size_t k = 0; k < items.size(); ++k) {
    const CRoadElement& e = design.elements()[k + 1];
    road.elements[k + 1].Mileage = mileage;
    mileage = e.endMileage;
    const FileItem& item = items[k];
    if (item.inserted) continue;
    const double dStart = item.start ? std::hypot(item.start->x - e.startX, item.start->y - e.startY) : 0;
    const double dEnd = item.end ? std::hypot(item.end->x - e.endX, item.end->y - e.endY) : 0;
    if (dStart > kLandXmlPointTolerance || dEnd > kLandXmlPointTolerance) {
      error_ = std::string(item.what) + " at line " + std::to_string(item.line) + ": its " +
               (dStart > kLandXmlPointTolerance ? "Start" : "End") +
               " point lies " + formatFixed(std::max(dStart, dEnd), 4) +
               " m from where the elements before it lead (the elements do not join up)";
      return false;
    }
  }
  if (!readEquations(alignment, design, road.scissons)) return false;
  design.brokenChains = road.scissons;
  if (!readProfile(alignment, design, road.verticalCurves)) return false;
  out = std::move(result);
  return true;
}

}  // namespace

bool importLandXml(const std::string& xml, const std::string& alignmentName,
                   LandXmlAlignment& out, std::string& error) {
  Reader reader(xml);
  if (reader.read(alignmentName, out)) return true;
  error = reader.error();
  return false;
}

bool importLandXmlFile(const std::string& path, const std::string& alignmentName,
                       LandXmlAlignment& out, std::string& error) {
  std::string bytes;
  if (!readFileBytes(path, bytes)) {
    error = "cannot read the file";
    return false;
  }
  return importLandXml(bytes, alignmentName, out, error);
}

}  // namespace trazmark
