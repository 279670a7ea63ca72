#include "alignment/RoadDesign.h"

#include "alignment/ChainageTable.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string_view>

#include "coords/AngleFormat.h"
#include "platform/CodePage.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"
#include "platform/WarningSink.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 2.0 * kPi;
constexpr double kMileageTolerance = 1e-6;
constexpr double kLineZeroAzimuth = 1e-6;
constexpr double kStationAzimuthTolerance = 1e-5;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr const char* kTooFewElementsWarning = "道路元素不能少于2个!";

// Brings an azimuth into [1e-5, 2π + 1e-5]: the same result as adding or
// subtracting 2π until it lies there, without looping on huge values.
double normaliseStationAzimuth(double a) {
  if (!std::isfinite(a)) return a;
  if (a >= kStationAzimuthTolerance && a - kTwoPi <= kStationAzimuthTolerance) return a;
  a = std::fmod(a, kTwoPi);
  while (a < kStationAzimuthTolerance) a += kTwoPi;
  while (a - kTwoPi > kStationAzimuthTolerance) a -= kTwoPi;
  return a;
}

// At a join both elements give the same place: the one that holds the point
// square (not as its clamped end) wins a tie, and between two alike the one
// whose box lies nearer the point (`box`, `bestBox`: squared distances to them).
bool isBetterFoot(const ElementFoot& f, double box, const std::optional<ElementFoot>& best,
                  double bestBox) {
  if (!best) return true;
  const double tolerance = 1e-12 * (1 + best->distanceSquared);
  if (f.distanceSquared < best->distanceSquared - tolerance) return true;
  if (f.distanceSquared > best->distanceSquared + tolerance) return false;
  if ((best->beyond == 0) != (f.beyond == 0)) return f.beyond == 0;
  return box < bestBox;
}

// "%.4f" in the C locale into `out`; to_chars rounds exactly as printf does.
// A whole number of metres (every stake at a whole interval) is written from
// its integer: the same text, in a fraction of the time.
void formatMileageInto(double m, std::string& out) {
  char buf[400];
  if (m >= 0 && m < 1e15 && !std::signbit(m) && m == std::floor(m)) {
    char* end = std::to_chars(buf, buf + 32, static_cast<long long>(m)).ptr;
    std::memcpy(end, ".0000", 5);
    out.assign(buf, end + 5);
    return;
  }
  const auto r = std::to_chars(buf, buf + sizeof buf, m, std::chars_format::fixed, 4);
  if (r.ec == std::errc()) {
    out.assign(buf, r.ptr);
  } else {
    out.assign("0.0000");
  }
}

std::string formatMileage(double m) {
  std::string text;
  formatMileageInto(m, text);
  return text;
}

std::string numberedName(const char* prefix, int n) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%s-%02d", prefix, n);
  return buf;
}

// "%.<precision>f" in the C locale, fast: to_chars rounds exactly as printf.
void appendFixed(std::string& out, double v, int precision) {
  char buf[400];
  const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, precision);
  if (r.ec == std::errc()) {
    out.append(buf, r.ptr);
  } else {
    out += "0";
  }
}

// One line of a stake list: "name,X,Y,Z,mileage,kind,azimuth" and CR LF.
void appendStakeLine(const RoadCoordinate& r, std::string& text) {
  text += r.name;
  text += ',';
  appendFixed(text, r.x, 4);
  text += ',';
  appendFixed(text, r.y, 4);
  text += ',';
  appendFixed(text, r.z, 4);
  text += ',';
  text += r.mileageText;
  text += ',';
  text += std::to_string(r.kind);
  text += ',';
  const double a = r.azimuth < 0.00001 ? r.azimuth + kTwoPi : r.azimuth;
  appendFixed(text, radiansToPackedDms(a, DmsVariant::Stake), 10);
  text += "\r\n";
}

// The first three comma-separated fields of a curve-file line.
struct CurveRecord {
  std::string key, first, second;
};

CurveRecord splitRecord(const std::string& line) {
  CurveRecord r;
  std::string* fields[3] = {&r.key, &r.first, &r.second};
  std::size_t pos = 0;
  for (int f = 0; f < 3 && pos <= line.size(); ++f) {
    std::size_t comma = line.find(',', pos);
    if (comma == std::string::npos) comma = line.size();
    *fields[f] = line.substr(pos, comma - pos);
    pos = comma + 1;
  }
  return r;
}

}  // namespace

bool CRoadDesign::isBetween(double m, double a, double b) {
  return (m - a > kMileageTolerance && m - b < kMileageTolerance) ||
         (m - b > kMileageTolerance && m - a < kMileageTolerance) ||
         std::fabs(m - b) < kMileageTolerance || std::fabs(m - a) < kMileageTolerance;
}

void CRoadDesign::clearComputed() {
  computed_ = false;
  keyPoints_.clear();
  keyPointMileages_.clear();
  elementKeyPoints_.clear();
  searchIndex_.clear();
  searchEnds_.clear();
  locateTree_ = CElementBoxTree();
  locateGrid_ = CElementGrid();
  locateSamples_.clear();
  extents_ = Extents();
}

bool CRoadDesign::finishLoad() {
  if (elements_.size() < 2) {
    showWarning(utf8ToAnsi(kTooFewElementsWarning), "Warning");
    return false;
  }
  elements_[0].startMileage = startMileage_;
  if (!build()) return false;
  computed_ = true;
  return true;
}

bool CRoadDesign::loadFromRoad(const std::string& roadName, double startMileage,
                               const RecordList<Road_Element>& records) {
  clearComputed();
  roadName_ = roadName;
  startMileage_ = startMileage;
  elements_.clear();
  for (const Road_Element& r : records) {
    CRoadElement e;
    bool ok = false;
    switch (r.Type) {
      case kElementStartPoint:
        ok = e.setParameter(r.point.Y, r.point.X, 0);
        break;
      case kElementLine:
        ok = e.setParameter(r.Length, r.Azimuth, 1);
        break;
      case kElementArc:
        ok = e.setParameter(r.Length, r.Radius, 2);
        break;
      case kElementSpiral:
        ok = e.setParameter(r.Length, 0, 3);
        break;
      default:
        break;
    }
    if (ok) elements_.append(e);
  }
  return finishLoad();
}

bool CRoadDesign::loadFromCurveFile(const std::string& path) {
  std::string text;
  if (!readTextFileAsAnsi(path, text)) return false;
  clearComputed();
  elements_.clear();
  roadName_.clear();
  startMileage_ = 0;

  // A line ends at the next line feed or, once no line feed is left, at the next
  // carriage return; text after the last end is an unfinished record and is not
  // read. Each search starts where the last ended, so any file reads in one pass.
  const std::size_t lastLineFeed = text.rfind('\n');
  std::size_t pos = 0;
  while (pos < text.size()) {
    const bool lineFeedLeft = lastLineFeed != std::string::npos && pos <= lastLineFeed;
    const std::size_t end = text.find(lineFeedLeft ? '\n' : '\r', pos);
    if (end == std::string::npos) break;
    std::string line = text.substr(pos, end - pos);
    pos = end + 1;
    const std::size_t cr = line.find('\r');
    if (cr != std::string::npos) line.resize(cr);
    if (line.empty()) continue;

    const CurveRecord r = splitRecord(line);
    if (r.key == "RN") {
      roadName_ = r.first;
      continue;
    }
    if (r.key == "START CHAINAGE") {
      startMileage_ = parseDecimal(r.first);
      continue;
    }
    int mode = -1;
    if (r.key == "PT") {
      mode = 0;
    } else if (r.key == "R.") {
      mode = 1;
    } else if (r.key == "CC") {
      mode = 2;
    } else if (r.key == "CL") {
      mode = 3;  // the parameter is not read: the radii come from the neighbours
    }
    if (mode < 0) continue;
    CRoadElement e;
    const double second = mode == 3 ? 0.0 : parseDecimal(r.second);
    if (e.setParameter(parseDecimal(r.first), second, mode)) elements_.append(e);
  }
  return finishLoad();
}

bool CRoadDesign::build() {
  clearComputed();
  const std::size_t n = elements_.size();
  if (n == 0) return false;
  for (std::size_t i = 0; i < n; ++i) {
    CRoadElement& e = elements_[i];
    const CRoadElement* prev = i > 0 ? &elements_[i - 1] : nullptr;
    switch (e.type) {
      case kElementStartPoint:
        // A start point inside the chain jumps to a new place; the mileage runs on
        // so that every mileage names one place.
        if (prev) e.startMileage = prev->endMileage;
        break;
      case kElementLine:
        // A negative length would run the mileage backwards.
        if (!prev || !(e.length >= 0)) return false;
        e.startX = prev->endX;
        e.startY = prev->endY;
        e.startMileage = prev->endMileage;
        // A line given with azimuth 0 continues the tangent, except the first
        // line, whose azimuth sets the road's direction. Element and curve files
        // rely on every azimuth below the threshold meaning "continue", negative
        // ones included; a direction is given in 0-360.
        if (i >= 2 && e.startAzimuth < kLineZeroAzimuth) {
          e.startAzimuth = prev->endAzimuth;
        }
        break;
      case kElementArc:
        if (!prev) return false;
        e.startX = prev->endX;
        e.startY = prev->endY;
        e.startAzimuth = prev->endAzimuth;
        e.startMileage = prev->endMileage;
        break;
      case kElementSpiral:
        // A spiral takes its start radius from the element before it and its end
        // radius from the element after it (0, infinite, after a line).
        if (!prev || i + 1 >= n) return false;
        e.startX = prev->endX;
        e.startY = prev->endY;
        e.startAzimuth = prev->endAzimuth;
        e.startMileage = prev->endMileage;
        e.startRadius = prev->endRadius;
        e.endRadius = elements_[i + 1].startRadius;
        break;
      default:
        continue;
    }
    if (!e.computeEnd() || !std::isfinite(e.startMileage) || !std::isfinite(e.endMileage)) {
      return false;
    }
  }

  // Key points: the start of every element, named by its kind and the kind of
  // the element before it, the mid-point of every arc, and the end of the road.
  enum Counter { kZH, kHY, kYH, kHZ, kZY, kYZ, kCounterCount };
  int counters[kCounterCount] = {};
  int arcs = 0;
  int previousKind = 0;
  elementKeyPoints_.assign(n, KeyPointRef());
  auto addKeyPoint = [this](const std::string& name, double x, double y, double mileage) {
    SurveyCoord p;
    p.Name = name;
    p.X = x;
    p.Y = y;
    p.Z = 0;
    p.MileageText = formatMileage(mileage);
    keyPoints_.append(p);
    keyPointMileages_.push_back(mileage);
    return static_cast<int>(keyPoints_.size()) - 1;
  };
  for (std::size_t i = 0; i < n; ++i) {
    const CRoadElement& e = elements_[i];
    if (e.type != kElementLine && e.type != kElementArc && e.type != kElementSpiral) continue;
    std::string name;
    auto next = [&counters](Counter c, const char* prefix) {
      return numberedName(prefix, ++counters[c]);
    };
    if (previousKind == 0) {
      name = "QD";  // the first element of the road, whatever its kind
    } else if (e.type == kElementLine && previousKind == kElementArc) {
      name = next(kYZ, "YZ");
    } else if (e.type == kElementLine && previousKind == kElementSpiral) {
      name = next(kHZ, "HZ");
    } else if (e.type == kElementArc && previousKind == kElementLine) {
      name = next(kZY, "ZY");
    } else if (e.type == kElementArc && previousKind == kElementSpiral) {
      name = next(kHY, "HY");
    } else if (e.type == kElementSpiral && previousKind == kElementLine) {
      name = next(kZH, "ZH");
    } else if (e.type == kElementSpiral && previousKind == kElementArc) {
      name = next(kYH, "YH");
    } else {
      // Two elements of one kind in a row form no new name: the point carries
      // the name of the point listed before it.
      name = keyPoints_.back().Name;
    }
    const auto start = e.pointAtMileage(e.startMileage, 0);
    elementKeyPoints_[i].startKeyPoint =
        addKeyPoint(name, start ? start->x : e.startX, start ? start->y : e.startY, e.startMileage);
    if (e.type == kElementArc) {
      ++arcs;
      const double mid = e.startMileage + (e.endMileage - e.startMileage) * 0.5;
      const auto p = e.pointAtMileage(mid, 0);
      if (!p) return false;
      elementKeyPoints_[i].midKeyPoint = addKeyPoint(numberedName("QZ", arcs), p->x, p->y, mid);
    }
    previousKind = e.type;
    searchIndex_.push_back(i);
    searchEnds_.push_back(e.endMileage);
  }
  const CRoadElement& last = elements_.back();
  addKeyPoint("ZD", last.endX, last.endY, last.endMileage);

  std::vector<PlaneBox> boxes;
  boxes.reserve(searchIndex_.size());
  locateSamples_.reserve(searchIndex_.size());
  for (std::size_t i : searchIndex_) {
    const CRoadElement& e = elements_[i];
    // An element that cannot be sampled still lies within its length of its start.
    const PlaneBox reach{e.startX - e.length, e.startY - e.length, e.startX + e.length,
                         e.startY + e.length};
    boxes.push_back(elementBox(e).value_or(reach));
    locateSamples_.push_back(sampleElement(e));
  }
  locateTree_.build(boxes);
  locateGrid_.build(boxes);

  extents_.minX = extents_.maxX = keyPoints_[0].X;
  extents_.minY = extents_.maxY = keyPoints_[0].Y;
  for (const SurveyCoord& p : keyPoints_) {
    extents_.minX = std::min(extents_.minX, p.X);
    extents_.maxX = std::max(extents_.maxX, p.X);
    extents_.minY = std::min(extents_.minY, p.Y);
    extents_.maxY = std::max(extents_.maxY, p.Y);
  }
  return true;
}

double CRoadDesign::endMileage() const {
  return elements_.empty() ? startMileage_ : elements_.back().endMileage;
}

std::optional<std::size_t> CRoadDesign::findElement(double v) const {
  // The elements are chained end to start with lengths of at least 0, so their
  // end mileages never fall: the first element whose end reaches v (within the
  // tolerance) is the only candidate the first-match rule can find.
  const auto it = std::partition_point(searchEnds_.begin(), searchEnds_.end(),
                                       [v](double end) { return !(v - end < kMileageTolerance); });
  if (it == searchEnds_.end()) return std::nullopt;
  const std::size_t index = searchIndex_[static_cast<std::size_t>(it - searchEnds_.begin())];
  const CRoadElement& e = elements_[index];
  if (!isBetween(v, e.startMileage, e.endMileage)) return std::nullopt;
  return index;
}

double CRoadDesign::continuousFromDisplayed(double u, int side) const {
  const bool after = side == 1 || (side == -1 && longChainDefaultAfter);
  return CChainageTable(brokenChains).continuousFromDisplayed(u, after).value_or(kNaN);
}

double CRoadDesign::displayedFromContinuous(double p) const {
  return CChainageTable(brokenChains).displayedFromContinuous(p);
}

std::string CRoadDesign::brokenChainError() const { return CChainageTable(brokenChains).error(); }

StationLocation CRoadDesign::locate(double x, double y) const {
  StationLocation r;
  if (!computed_ || locateTree_.empty()) {
    r.error = "the alignment is not computed";
    return r;
  }
  if (!std::isfinite(x) || !std::isfinite(y)) {
    r.error = "a coordinate is not a number";
    return r;
  }
  if (!(std::fabs(x) <= kMaxLocateCoordinate) || !(std::fabs(y) <= kMaxLocateCoordinate)) {
    r.error = "a coordinate lies farther than 1e9 m from the origin";
    return r;
  }
  const CChainageTable chains(brokenChains);
  if (!chains.valid()) {
    r.error = chains.error();
    return r;
  }
  std::optional<ElementFoot> best;
  std::size_t bestItem = 0;
  double bestBox = HUGE_VAL;
  auto visit = [&](std::size_t item, double box) {
    const std::optional<ElementFoot> f =
        footOnElement(elements_[searchIndex_[item]], locateSamples_[item], x, y);
    if (f && isBetterFoot(*f, box, best, bestBox)) {
      best = f;
      bestBox = box;
      bestItem = item;
    }
    return best ? best->distanceSquared : HUGE_VAL;
  };
  // The grid answers near the road; far from it the tree does.
  if (!locateGrid_.nearest(x, y, visit)) locateTree_.nearest(x, y, visit);
  if (!best) {
    r.error = "no element can be evaluated";
    return r;
  }
  // Beyond an end by more than rounding: the point lies off the road's ends.
  constexpr double kBeyondTolerance = 1e-7;
  const CRoadElement& e = elements_[searchIndex_[bestItem]];
  const bool firstElement = bestItem == 0;
  const bool lastElement = bestItem + 1 == searchIndex_.size();
  r.element = searchIndex_[bestItem];
  r.continuousMileage = e.startMileage + best->s;
  r.displayedMileage = chains.displayedFromContinuous(r.continuousMileage);
  r.branch = chains.branchOf(r.continuousMileage);
  const double dx = x - best->x;
  const double dy = y - best->y;
  const double distance = std::hypot(dx, dy);
  const double normal = -dx * std::sin(best->azimuth) + dy * std::cos(best->azimuth);
  r.offset = normal < 0 ? -distance : distance;
  r.distance = distance;
  if ((firstElement && best->s == 0 && best->beyond < -kBeyondTolerance) ||
      (lastElement && best->s == e.length && best->beyond > kBeyondTolerance)) {
    r.status = StationLocation::kOutside;
    r.beforeStart = best->beyond < 0;
    return r;
  }
  r.status = StationLocation::kOnRoad;
  return r;
}

std::optional<StationPoint> CRoadDesign::pointAtStation(double displayedMileage, double offset,
                                                        int side) const {
  // The element is looked up by the continuous mileage: near a broken chain the
  // displayed number may belong to another element than the place it names.
  const double v = continuousFromDisplayed(displayedMileage, side);
  const std::optional<std::size_t> index = findElement(v);
  if (!index) return std::nullopt;
  std::optional<StationPoint> p = elements_[*index].pointAtMileage(v, offset);
  if (!p) return std::nullopt;
  p->azimuth = normaliseStationAzimuth(p->azimuth);
  return p;
}

bool CRoadDesign::gatherStakes(int calculateMode, double interval, double offset,
                               StakePositions positions, StakeSink& sink) const {
  sink.clear();
  if (!computed_ || !std::isfinite(offset)) return false;
  // An interval that does not advance would list stakes for ever.
  if (!(interval > 0) || !std::isfinite(interval)) return false;
  if (calculateMode == 0 && !(interval >= 1)) return false;
  const CChainageTable chains(brokenChains);
  if (!chains.valid()) return false;
  const double roadStart = elements_.front().startMileage;
  const double roadEnd = endMileage();
  double span = roadEnd - roadStart;
  for (const Scisson_Data& c : brokenChains) span += std::fabs(c.Length);
  if (!(span / interval < static_cast<double>(kMaxStakes))) return false;

  // First regular stake position t0: the start mileage, or in mode 0 the whole
  // multiple of the interval's whole part at or below it, so that stakes fall on
  // round numbers.
  double t0 = roadStart;
  if (calculateMode == 0) {
    constexpr double kLargestWhole = 9.0e15;
    const double whole = std::floor(roadStart + 1e-12);
    const double step = std::floor(interval);
    if (!(std::fabs(whole) < kLargestWhole) || !(step < kLargestWhole)) return false;
    const auto w = static_cast<long long>(whole);
    const auto st = static_cast<long long>(step);
    long long rem = w % st;
    if (rem < 0) rem += st;
    t0 = static_cast<double>(w - rem);
  }

  // Chain points in continuous mileage: there the displayed mileage jumps.
  std::vector<double> breaks;
  for (const ChainBreak& b : chains.breaks()) breaks.push_back(b.continuous);

  // The records of one element (-1: the end of a chain that ends on a start
  // point) are gathered into a batch that is evaluated, its geometry set up
  // once, and handed to the sink before the next element's. A record that
  // cannot be evaluated ends what the sink receives and fails the list; the
  // gathering still runs to its end, since a list that would grow too long
  // fails whole.
  const std::size_t expected =
      static_cast<std::size_t>(span / interval) + 3 * searchIndex_.size() + 2;
  sink.reserve(expected);
  const CRoadElement& roadLast = elements_.back();
  const bool atOffset = positions == StakePositions::AtOffset;
  std::vector<RoadCoordinate> batch;
  std::size_t batchSize = 0;
  std::ptrdiff_t batchElement = -1;
  std::size_t gathered = 0;
  std::vector<double> mileages;
  std::vector<StationPoint> points;
  bool ok = true;
  // Evaluates the batch at the offset; the stake list file holds the centre
  // line whatever the offset it was checked at (the same evaluation when the
  // offset is 0), side stakes keep the points at the offset. Azimuths are
  // brought into range rather than refused: a road whose first line was given
  // a negative azimuth is a valid road, and its list is written like any other.
  auto flush = [&] {
    const std::size_t count = batchSize;
    batchSize = 0;
    if (count == 0 || !ok) return;
    points.resize(count);
    std::size_t evaluated = count;
    if (batchElement < 0) {
      const double d = atOffset ? offset : 0.0;
      const StationPoint endPoint{roadLast.endX - d * std::sin(roadLast.endAzimuth),
                                  roadLast.endY + d * std::cos(roadLast.endAzimuth),
                                  roadLast.endAzimuth};
      for (StationPoint& p : points) p = endPoint;
    } else {
      const CRoadElement& e = elements_[static_cast<std::size_t>(batchElement)];
      mileages.resize(count);
      for (std::size_t k = 0; k < count; ++k) mileages[k] = batch[k].continuousMileage;
      if (offset != 0) evaluated = e.pointsAtMileages(mileages.data(), count, offset, points.data());
      if (!atOffset || offset == 0)
        evaluated = e.pointsAtMileages(mileages.data(), evaluated, 0, points.data());
    }
    for (std::size_t k = 0; k < evaluated; ++k) {
      RoadCoordinate& rc = batch[k];
      formatMileageInto(rc.mileage, rc.mileageText);
      rc.x = points[k].x;
      rc.y = points[k].y;
      rc.azimuth = normaliseStationAzimuth(points[k].azimuth);
    }
    sink.add(batch.data(), evaluated);
    ok = evaluated == count;
  };
  // The batch's records are reused from one element to the next.
  auto add = [&](int32_t kind, std::string_view name, double displayed, double continuous,
                 std::ptrdiff_t element) {
    if (element != batchElement) flush();
    batchElement = element;
    if (batchSize == batch.size()) batch.emplace_back();
    RoadCoordinate& r = batch[batchSize++];
    r.kind = kind;
    r.name.assign(name);
    r.z = 0;
    r.mileage = displayed;
    r.continuousMileage = continuous;
    ++gathered;
  };
  int running = 0;
  long long next = 1;  // t = t0 + next·interval is the next regular stake
  bool firstPiece = true;
  double lastShift = 0;

  for (std::size_t idx : searchIndex_) {
    const CRoadElement& e = elements_[idx];
    const KeyPointRef& ref = elementKeyPoints_[idx];
    const auto element = static_cast<std::ptrdiff_t>(idx);
    add(RoadCoordinate::kKeyPoint, keyPoints_[ref.startKeyPoint].Name,
        chains.displayedFromContinuous(e.startMileage), e.startMileage, element);
    bool midPending = ref.midKeyPoint >= 0;
    const double mid = midPending ? keyPointMileages_[ref.midKeyPoint] : 0.0;
    auto addMid = [&] {
      add(RoadCoordinate::kKeyPoint, keyPoints_[ref.midKeyPoint].Name,
          chains.displayedFromContinuous(mid), mid, element);
      midPending = false;
    };
    // The element is cut at the chain breaks inside it; on each piece the
    // displayed mileage is the continuous one shifted by a constant.
    double a = e.startMileage;
    auto cut = std::upper_bound(breaks.begin(), breaks.end(), a);
    while (true) {
      const bool lastPiece = cut == breaks.end() || !(*cut < e.endMileage);
      const double b = lastPiece ? e.endMileage : *cut;
      const double centre = 0.5 * (a + b);
      const double shift = chains.shiftOf(chains.stretchOf(centre));
      const double da = a + shift;
      const double db = b + shift;
      if (!firstPiece && shift != lastShift) {
        // Across a break the stakes restart at the first multiple past the new
        // displayed mileage: a short chain skips numbers, a long one repeats them.
        const double k = std::ceil((da - t0) / interval);
        if (!(std::fabs(k) < 9.0e15)) {
          sink.clear();
          return false;
        }
        next = static_cast<long long>(k);
        while (t0 + static_cast<double>(next) * interval - da < kMileageTolerance) ++next;
        while (t0 + static_cast<double>(next - 1) * interval - da >= kMileageTolerance) --next;
      }
      firstPiece = false;
      lastShift = shift;
      while (true) {
        const double t = t0 + static_cast<double>(next) * interval;
        if (!(t - db < kMileageTolerance)) break;
        const double c = t - shift;
        // QZ goes before the first stake past the mid-point; a stake that falls
        // on the mid-point itself does not replace it.
        if (midPending && c - mid > kMileageTolerance) addMid();
        char number[16];
        const char* numberEnd = std::to_chars(number, number + sizeof number, ++running).ptr;
        add(RoadCoordinate::kRegularStake, std::string_view(number, static_cast<std::size_t>(numberEnd - number)), t, c,
            element);
        ++next;
        if (gathered > kMaxStakes) {
          sink.clear();
          return false;
        }
      }
      if (lastPiece) break;
      a = b;
      ++cut;
    }
    // An arc too short for a stake beyond its mid-point still lists its QZ.
    if (midPending) addMid();
  }
  {
    const std::ptrdiff_t lastElement =
        searchIndex_.empty() ? -1 : static_cast<std::ptrdiff_t>(searchIndex_.back());
    const bool endsOnElement = lastElement == static_cast<std::ptrdiff_t>(elements_.size()) - 1;
    add(RoadCoordinate::kKeyPoint, "ZD", chains.displayedFromContinuous(roadEnd), roadEnd,
        endsOnElement ? lastElement : -1);
  }

  flush();
  return ok;
}

namespace {

// The records of a stake list as they come.
class RecordSink : public CRoadDesign::StakeSink {
 public:
  explicit RecordSink(std::vector<RoadCoordinate>& records) : records_(records) {}
  void clear() override { records_.clear(); }
  void reserve(std::size_t count) override { records_.reserve(count); }
  void add(const RoadCoordinate* records, std::size_t count) override {
    records_.insert(records_.end(), records, records + count);
  }

 private:
  std::vector<RoadCoordinate>& records_;
};

// The lines of a stake list as its records come, without keeping them.
class LineSink : public CRoadDesign::StakeSink {
 public:
  explicit LineSink(std::string& text) : text_(text) {}
  void clear() override { text_.clear(); }
  void reserve(std::size_t count) override { text_.reserve(count * 80); }
  void add(const RoadCoordinate* records, std::size_t count) override {
    for (std::size_t k = 0; k < count; ++k) appendStakeLine(records[k], text_);
  }

 private:
  std::string& text_;
};

}  // namespace

bool CRoadDesign::stakeRecords(int calculateMode, double interval, double offset,
                               std::vector<RoadCoordinate>& records,
                               StakePositions positions) const {
  RecordSink sink(records);
  return gatherStakes(calculateMode, interval, offset, positions, sink);
}

void CRoadDesign::appendStakeLines(const std::vector<RoadCoordinate>& records, std::string& text) {
  text.reserve(text.size() + records.size() * 80);
  for (const RoadCoordinate& r : records) appendStakeLine(r, text);
}

bool CRoadDesign::stakeListText(int calculateMode, double interval, double offset,
                                std::string& text, StakePositions positions) const {
  LineSink sink(text);
  return gatherStakes(calculateMode, interval, offset, positions, sink);
}

bool CRoadDesign::writeStakeList(const std::string& path, int calculateMode, double interval,
                                 double offset) const {
  std::string text;
  const bool ok = stakeListText(calculateMode, interval, offset, text);
  // Records gathered before a failure are still written, as the list stood.
  if (!ok && text.empty()) return false;
  if (!writeTextFileAtomically(path, text)) return false;
  return ok;
}

}  // namespace trazmark
