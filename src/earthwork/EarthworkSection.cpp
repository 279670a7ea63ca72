#include "earthwork/EarthworkSection.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <functional>

#include "alignment/ChainageTable.h"
#include "platform/TextFields.h"

namespace trazmark {
namespace {

// A kerb lower than this adds no step, as sectionAtStation reads it.
constexpr double kKerbTolerance = 0.0001;
// The ground read beyond the farthest step before any extension is needed,
// metres: a slope usually meets the ground within its steps.
constexpr double kGroundMargin = 5;
// Ground pieces that come this close together (metres) leave no gap.
constexpr double kGapTolerance = 1e-6;
// How far beyond the offset a one-side caller asks about the ground is read
// at first (metres): the slope most often meets the ground within it.
constexpr double kReachMargin = 2;
// How far inside the hinge the ground is read for one side's slope alone
// (metres): enough to hold the hinge against rounding.
constexpr double kHingeMargin = 0.01;
// A vertical slope surface (1:0) continued: as far up or down as any ground is.
constexpr double kVerticalReach = 10000;

std::string lowerAscii(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

// The ground at offset u, from the piece that holds it.
std::optional<double> groundAt(const GroundLine& line, double u) {
  for (const auto& piece : line.pieces) {
    if (piece.empty() || u < piece.front().distance - kGapTolerance ||
        u > piece.back().distance + kGapTolerance)
      continue;
    if (piece.size() == 1) return piece.front().elevation;
    auto it = std::lower_bound(piece.begin(), piece.end(), u,
                               [](const GroundVertex& v, double d) { return v.distance < d; });
    if (it == piece.begin()) return it->elevation;
    if (it == piece.end()) return piece.back().elevation;
    const GroundVertex& a = *(it - 1);
    const GroundVertex& b = *it;
    const double w = b.distance - a.distance;
    return w > 0 ? a.elevation + (b.elevation - a.elevation) * (u - a.distance) / w : b.elevation;
  }
  return std::nullopt;
}

// The first gap in the ground between offsets lo and hi (lo < hi), as the
// span [start, end] of offsets with no ground; none when the ground covers it.
std::optional<std::pair<double, double>> firstGap(const GroundLine& line, double lo, double hi) {
  double covered = lo;  // ground known from lo to here
  for (const auto& piece : line.pieces) {
    if (piece.empty()) continue;
    const double a = piece.front().distance, b = piece.back().distance;
    if (b < covered - kGapTolerance) continue;
    if (a > covered + kGapTolerance) return std::make_pair(covered, std::min(a, hi));
    covered = std::max(covered, b);
    if (covered >= hi - kGapTolerance) return std::nullopt;
  }
  return std::make_pair(covered, hi);
}

// One side's slope as a polyline outward from the hinge, in outward distance
// u (metres from the centre line) and elevation.
struct OutwardVertex {
  double u = 0;
  double z = 0;
};

// What walking a slope out to the ground found.
enum class Walk { Caught, GroundEnds, GroundGapAtCatch, NotMeeting };

struct WalkResult {
  Walk walk = Walk::NotMeeting;
  double u = 0;              // catch point, or where the ground ends
  double z = 0;
  double gapEnd = 0;         // GroundGapAtCatch: where the ground resumes
  std::size_t vertices = 0;  // slope vertices before the catch point
  bool extended = false;
};

// Walks the slope polyline `slope` (slope[0] the hinge) outward until the
// design reaches the ground: for cut, the first place where the design is
// not below the ground; for fill, not above it. `sign` turns outward
// distance into offset. `groundReach` is how far out the ground was read.
WalkResult walkToGround(const std::vector<OutwardVertex>& slope, std::size_t stepVertices,
                        bool cut, double sign, const GroundLine& ground) {
  WalkResult r;
  // h = design − ground; cut starts with h < 0 and ends at h >= 0.
  auto reached = [cut](double h) { return cut ? h >= 0 : h <= 0; };
  auto ground_at = [&](double u) { return groundAt(ground, sign * u); };

  bool inGap = false;
  double gapStart = 0;
  double lastU = slope.front().u;
  bool hasLastH = false;
  double lastH = 0;
  for (std::size_t i = 0; i + 1 < slope.size(); ++i) {
    const OutwardVertex& a = slope[i];
    const OutwardVertex& b = slope[i + 1];
    if (!(b.u > a.u)) {
      // A vertical surface: it meets the ground where the ground lies
      // between its ends.
      const auto g = ground_at(a.u);
      if (g && std::min(a.z, b.z) <= *g && *g <= std::max(a.z, b.z) && reached(b.z - *g)) {
        r.walk = Walk::Caught;
        r.u = a.u;
        r.z = *g;
        r.vertices = i + 1;
        r.extended = i + 1 >= stepVertices;
        return r;
      }
      continue;
    }
    // The breakpoints of this segment: its ends and the ground's vertices
    // (and piece ends) between them.
    std::vector<double> us{a.u, b.u};
    for (const auto& piece : ground.pieces)
      for (const GroundVertex& v : piece) {
        const double u = sign * v.distance;
        if (u > a.u && u < b.u) us.push_back(u);
      }
    std::sort(us.begin(), us.end());
    for (double u : us) {
      const double z = a.z + (b.z - a.z) * (u - a.u) / (b.u - a.u);
      // Piece ends are breakpoints, so a gap lies between two of them.
      if (u > lastU && !inGap && !ground_at((lastU + u) / 2)) {
        inGap = true;
        gapStart = lastU;
      }
      const auto g = ground_at(u);
      if (!g) {
        if (!inGap) {
          inGap = true;
          gapStart = lastU;
        }
        hasLastH = false;
        lastU = u;
        continue;
      }
      const double h = z - *g;
      if (reached(h)) {
        if (inGap) {
          r.walk = Walk::GroundGapAtCatch;
          r.u = gapStart;
          r.gapEnd = u;
          return r;
        }
        r.walk = Walk::Caught;
        if (hasLastH && u > lastU && !reached(lastH)) {
          const double t = lastH / (lastH - h);
          r.u = lastU + t * (u - lastU);
        } else {
          r.u = u;
        }
        r.z = a.z + (b.z - a.z) * (r.u - a.u) / (b.u - a.u);
        r.vertices = i + 1;
        r.extended = i + 1 >= stepVertices;
        return r;
      }
      inGap = false;
      hasLastH = true;
      lastH = h;
      lastU = u;
    }
  }
  if (inGap) {
    r.walk = Walk::GroundEnds;
    r.u = gapStart;
    return r;
  }
  r.walk = Walk::NotMeeting;
  return r;
}

// The steps of one slope as a polyline from the hinge, and the number of its
// vertices that are steps (the rest is the extension of the last surface).
std::vector<OutwardVertex> slopePolyline(const Road_Slope& slope, OutwardVertex hinge,
                                         std::size_t& stepVertices) {
  std::vector<OutwardVertex> line{hinge};
  const bool cut = slope.Type == 0;
  std::optional<double> lastRatio;
  for (const Road_Slope_Item& step : slope.items) {
    OutwardVertex v = line.back();
    if (step.Mode == 0) {
      v.u += step.SlopeH * step.SlopeScale;
      v.z += cut ? step.SlopeH : -step.SlopeH;
      lastRatio = step.SlopeScale;
    } else {
      v.u += step.Width;
      v.z += step.Width * step.SlopeScale / 100;
    }
    line.push_back(v);
  }
  stepVertices = line.size();
  if (lastRatio) {
    OutwardVertex end = line.back();
    const double n = std::fabs(*lastRatio);
    if (n > 0) {
      end.u += kMaxSlopeExtension;
      end.z += (cut ? 1 : -1) * kMaxSlopeExtension / n;
    } else {
      end.z += (cut ? 1 : -1) * kVerticalReach;
    }
    line.push_back(end);
  }
  return line;
}

double slopeReach(const Road_Slope& slope) {
  double reach = 0;
  for (const Road_Slope_Item& step : slope.items)
    reach += step.Mode == 0 ? std::fabs(step.SlopeH * step.SlopeScale) : std::fabs(step.Width);
  return reach;
}


// The ground across the road as wide as a slope run has needed so far, and
// how to read it wider.
struct GroundReader {
  const GroundLine* line = nullptr;
  double halfWidth = 0;
  std::function<void(double)> read;  // reads the ground across ±halfWidth into *line
  void widen(double wanted) {
    read(wanted);
    halfWidth = wanted;
  }
};

// Runs the slope of side s (0 left, 1 right) from its hinge out to the ground:
// the cut or fill slope by the hinge against the ground, its steps, then the
// extension of its last surface. Sets out's status, message, cut, slope name,
// hinge and extended, and the catch point's offset and elevation (x and y are
// the caller's to place; the status is then Ok); `slopeLine` runs outward
// from the hinge to the catch point. The ground is read wider when the slope
// needs it: first as far as its steps, then their extension.
void runSlope(const RoadDataSet& road, const std::vector<char>& holds, int s, OutwardVertex hinge,
              GroundReader& ground, EarthworkSide& out, std::vector<OutwardVertex>& slopeLine) {
  const double sign = s == 0 ? -1.0 : 1.0;
  const char* name = s == 0 ? "left" : "right";
  out.hinge = {sign * hinge.u, hinge.z};
  slopeLine.assign(1, hinge);
  const auto gHinge = groundAt(*ground.line, sign * hinge.u);
  if (!gHinge) {
    out.status = EarthworkSideStatus::NoGround;
    out.message = std::string(name) + ": no ground at the outer edge of the road (offset " +
                  formatFixed(out.hinge.offset, 3) + ")";
    return;
  }
  out.cut = *gHinge > hinge.z;
  const Road_Slope* chosen = nullptr;
  for (std::size_t k = 0; k < road.slopes.size(); ++k) {
    const Road_Slope& slope = road.slopes[k];
    if ((slope.LeftRight == 0 ? 0 : 1) != s || (slope.Type == 0) != out.cut || !holds[k]) continue;
    chosen = &slope;
    break;
  }
  if (!chosen || chosen->items.empty()) {
    out.status = EarthworkSideStatus::NoSlope;
    out.message = std::string(name) + ": no " + (out.cut ? "cut" : "fill") + " slope " +
                  (chosen ? "with steps " : "") + "holds the station";
    return;
  }
  out.slopeName = chosen->SlopeName;
  std::size_t stepVertices = 0;
  slopeLine = slopePolyline(*chosen, hinge, stepVertices);
  WalkResult walk = walkToGround(slopeLine, stepVertices, out.cut, sign, *ground.line);
  const double steps = hinge.u + slopeReach(*chosen);
  for (const double wanted : {steps + kGroundMargin, steps + kMaxSlopeExtension + kGroundMargin}) {
    if (walk.walk == Walk::Caught || walk.walk == Walk::GroundGapAtCatch) break;
    if (ground.halfWidth >= wanted - kGroundMargin) continue;
    ground.widen(wanted);
    walk = walkToGround(slopeLine, stepVertices, out.cut, sign, *ground.line);
  }
  switch (walk.walk) {
    case Walk::Caught:
      break;
    case Walk::GroundEnds:
      out.status = EarthworkSideStatus::NoGround;
      out.message = std::string(name) + ": the ground ends at offset " +
                    formatFixed(sign * walk.u, 3) + " before the " + (out.cut ? "cut" : "fill") +
                    " slope meets it";
      slopeLine.resize(1);
      return;
    case Walk::GroundGapAtCatch:
      out.status = EarthworkSideStatus::NoGround;
      out.message = std::string(name) + ": the " + std::string(out.cut ? "cut" : "fill") +
                    " slope meets the ground in a gap of the ground between offsets " +
                    formatFixed(sign * walk.u, 3) + " and " + formatFixed(sign * walk.gapEnd, 3);
      slopeLine.resize(1);
      return;
    case Walk::NotMeeting:
      out.status = EarthworkSideStatus::NotMeetingGround;
      out.message = std::string(name) + ": the " + std::string(out.cut ? "cut" : "fill") +
                    " slope " +
                    (slopeLine.size() > stepVertices
                         ? "does not meet the ground within " + formatFixed(kMaxSlopeExtension, 0) +
                               " m of its last step"
                         : "ends without meeting the ground and has no slope surface to continue");
      slopeLine.resize(1);
      return;
  }
  slopeLine.resize(walk.vertices);
  slopeLine.push_back({walk.u, walk.z});
  out.extended = walk.extended;
  CatchPoint c;
  c.offset = sign * walk.u;
  c.elevation = walk.z;
  out.catchPoint = c;
  out.status = EarthworkSideStatus::Ok;
}

// Places the catch point of a side on the plane and, given the ground from
// the centre, marks a gap of it inside the catch point; false with `error`
// when the catch point cannot be placed.
bool finishCatchPoint(const CRoadDesign& design, double station, int branch, int s,
                      const GroundLine* ground, EarthworkSide& out, std::string& error) {
  if (!out.catchPoint) return true;
  CatchPoint& c = *out.catchPoint;
  const auto p = design.pointAtStation(station, c.offset, branch);
  if (!p) {
    error = "the catch point at offset " + formatFixed(c.offset, 3) + " cannot be placed";
    return false;
  }
  c.x = p->x;
  c.y = p->y;
  if (!ground) return true;
  if (const auto gap = firstGap(*ground, std::min(0.0, c.offset), std::max(0.0, c.offset))) {
    out.status = EarthworkSideStatus::GroundGap;
    out.message = std::string(s == 0 ? "left" : "right") + ": the ground has a gap between offsets " +
                  formatFixed(gap->first, 3) + " and " + formatFixed(gap->second, 3) +
                  ", inside the catch point";
  }
  return true;
}

}  // namespace

bool isFormationComponent(const std::string& name) {
  if (name.find("土路肩") != std::string::npos || name.find("边坡") != std::string::npos)
    return false;
  const std::string lower = lowerAscii(name);
  return lower.find("verge") == std::string::npos && lower.find("slope") == std::string::npos;
}

const char* earthworkSideStatusName(EarthworkSideStatus status) {
  switch (status) {
    case EarthworkSideStatus::Ok:
      return "ok";
    case EarthworkSideStatus::NoSlope:
      return "no slope";
    case EarthworkSideStatus::NoGround:
      return "no ground";
    case EarthworkSideStatus::NotMeetingGround:
      return "does not meet the ground";
    case EarthworkSideStatus::GroundGap:
      return "ground gap";
  }
  return "?";
}

CutFillArea cutFillBetween(const std::vector<DesignVertex>& design,
                           const std::vector<GroundVertex>& ground, double a, double b) {
  CutFillArea area;
  if (!(b > a) || design.size() < 2 || ground.size() < 2) return area;
  auto add = [&area](double h0, double h1, double w) {
    if ((h0 >= 0) == (h1 >= 0) || h0 == 0 || h1 == 0) {
      // No crossing inside: one trapezoid (its sign is that of either end).
      const double s = (h0 + h1) / 2 * w;
      if (s > 0) area.cut += s;
      else area.fill -= s;
      return;
    }
    const double t = h0 / (h0 - h1);
    const double s0 = h0 * t * w / 2, s1 = h1 * (1 - t) * w / 2;
    (s0 > 0 ? area.cut : area.fill) += std::fabs(s0);
    (s1 > 0 ? area.cut : area.fill) += std::fabs(s1);
  };
  std::size_t j = 0;  // ground segment [j, j+1]
  for (std::size_t i = 0; i + 1 < design.size(); ++i) {
    const DesignVertex& d0 = design[i];
    const DesignVertex& d1 = design[i + 1];
    if (!(d1.offset > d0.offset)) continue;
    const double lo = std::max({a, d0.offset, ground.front().distance});
    const double hi = std::min({b, d1.offset, ground.back().distance});
    if (!(hi > lo)) continue;
    auto dz = [&](double u) {
      return d0.elevation + (d1.elevation - d0.elevation) * (u - d0.offset) / (d1.offset - d0.offset);
    };
    while (j + 2 < ground.size() && ground[j + 1].distance <= lo) ++j;
    double u = lo;
    while (u < hi) {
      const GroundVertex& g0 = ground[j];
      const GroundVertex& g1 = ground[j + 1];
      const double next = std::min(hi, g1.distance);
      auto gz = [&](double x) {
        const double w = g1.distance - g0.distance;
        return w > 0 ? g0.elevation + (g1.elevation - g0.elevation) * (x - g0.distance) / w
                     : g1.elevation;
      };
      if (next > u) add(gz(u) - dz(u), gz(next) - dz(next), next - u);
      u = next;
      if (u >= g1.distance) {
        if (j + 2 < ground.size()) ++j;
        else break;
      }
    }
  }
  return area;
}

bool earthworkSectionAt(const RoadDataSet& road, const CRoadDesign& design,
                        const CRoadProfile& profile, const CRoadGround& ground,
                        double pavementDepth, double station, int side,
                        EarthworkSection& section, std::string& error) {
  section = EarthworkSection();
  if (!(pavementDepth >= 0) || !std::isfinite(pavementDepth)) {
    error = "the pavement depth must be a number of metres, 0 or more";
    return false;
  }
  if (road.leftSections.empty() && road.rightSections.empty()) {
    error = "the road has no cross section (no components on either side)";
    return false;
  }
  if (!sectionAtStation(road, design, profile, station, side, section.finished, error))
    return false;
  const SectionAtStation& fin = section.finished;
  section.pavementDepth = pavementDepth;
  section.groundCentre = ground.centreElevation(station, fin.centreX, fin.centreY);
  const CChainageTable chains(design.brokenChains);  // valid: sectionAtStation checked it

  // The formation of each side outward, and the hinge.
  std::vector<OutwardVertex> formation[2];
  OutwardVertex hinge[2];
  double farthest = 0;
  for (const SectionEdge& e : fin.edges) farthest = std::max(farthest, std::fabs(e.offset));
  for (int s = 0; s < 2; ++s) {
    const RecordList<Road_Section_Item>& components = s == 0 ? road.leftSections : road.rightSections;
    const char sideChar = s == 0 ? 'L' : 'R';
    std::vector<const SectionEdge*> edges;
    for (const SectionEdge& e : fin.edges)
      if (e.side == sideChar && edges.size() < components.size()) edges.push_back(&e);
    std::vector<OutwardVertex>& f = formation[s];
    double u = 0, z = fin.centreElevation;
    auto push = [&f](double pu, double pz) {
      if (!f.empty() && f.back().u == pu && f.back().z == pz) return;
      f.push_back({pu, pz});
    };
    for (std::size_t i = 0; i < edges.size(); ++i) {
      const double depth = isFormationComponent(components[i].moduleName()) ? pavementDepth : 0;
      double zInner = z;
      if (std::fabs(components[i].Roadteeth) > kKerbTolerance) zInner += components[i].Roadteeth;
      push(u, zInner - depth);
      u = std::fabs(edges[i]->offset);
      z = edges[i]->elevation;
      push(u, z - depth);
    }
    if (f.empty()) push(0, z);
    hinge[s] = {u, z};
    push(u, z);  // up from the formation to the hinge when the last component is paved
  }

  // The ground: first as far as the steps reach, then, for a side that needs
  // it, out to the extension of its last slope surface.
  // Which slopes hold the station (sectionAtStation placed their ranges).
  std::vector<char> holds(road.slopes.size(), 0);
  for (std::size_t k = 0; k < road.slopes.size(); ++k) {
    const Road_Slope& slope = road.slopes[k];
    const bool rising = slope.StartMileage <= slope.EndMileage;
    std::vector<double> placed;
    const std::string what = "slope '" + slope.SlopeName + "' range";
    if (!placeStationsInOrder(chains,
                              {rising ? slope.StartMileage : slope.EndMileage,
                               rising ? slope.EndMileage : slope.StartMileage},
                              what.c_str(), placed, error))
      return false;
    holds[k] = !(fin.continuousMileage < placed[0] - 1e-6 || fin.continuousMileage > placed[1] + 1e-6);
  }

  // The ground: first as far as the steps reach, then, for a side that needs
  // it, out to the extension of its last slope surface.
  const auto centre = design.pointAtStation(station, 0, side);
  GroundReader reader;
  reader.line = &section.ground;
  reader.read = [&](double halfWidth) {
    section.ground = ground.across(station, centre->x, centre->y, centre->azimuth, halfWidth);
  };
  reader.widen(farthest + kGroundMargin);

  std::vector<OutwardVertex> slopeLine[2];
  for (int s = 0; s < 2; ++s) {
    EarthworkSide& out = s == 0 ? section.left : section.right;
    runSlope(road, holds, s, hinge[s], reader, out, slopeLine[s]);
    if (!finishCatchPoint(design, station, side, s, &section.ground, out, error)) return false;
  }

  // The lines left to right.
  for (auto v = formation[0].rbegin(); v != formation[0].rend(); ++v)
    section.formation.push_back({v->u == 0 ? 0.0 : -v->u, v->z});
  for (const OutwardVertex& v : formation[1]) {
    if (v.u == 0 && !section.formation.empty() && section.formation.back().offset == 0 &&
        section.formation.back().elevation == v.z)
      continue;
    section.formation.push_back({v.u, v.z});
  }
  // The formation ends at the hinges; drop those vertices when a side slope
  // continues from them (the slope line starts there).
  auto hasSlope = [&section](int s) {
    const EarthworkSide& side = s == 0 ? section.left : section.right;
    return side.catchPoint.has_value();
  };
  if (hasSlope(0))
    for (std::size_t i = slopeLine[0].size(); i-- > 1;)
      section.design.push_back({-slopeLine[0][i].u, slopeLine[0][i].z});
  section.design.insert(section.design.end(), section.formation.begin(), section.formation.end());
  if (hasSlope(1))
    for (std::size_t i = 1; i < slopeLine[1].size(); ++i)
      section.design.push_back({slopeLine[1][i].u, slopeLine[1][i].z});

  // Areas of the sides that are whole.
  for (int s = 0; s < 2; ++s) {
    EarthworkSide& out = s == 0 ? section.left : section.right;
    if (!out.hasAreas()) continue;
    const double a = s == 0 ? out.catchPoint->offset : 0.0;
    const double b = s == 0 ? 0.0 : out.catchPoint->offset;
    for (const auto& piece : section.ground.pieces) {
      const CutFillArea area = cutFillBetween(section.design, piece, a, b);
      out.cutArea += area.cut;
      out.fillArea += area.fill;
    }
  }
  return true;
}

bool earthworkSlopeAt(const RoadDataSet& road, const CRoadDesign& design,
                      const CSectionLayout& layout, const CRoadGround& ground,
                      double displayedStation, int branch, double continuousMileage, int side,
                      const DesignVertex& hinge, double reach, EarthworkSide& out,
                      std::vector<DesignVertex>& line, std::string& error) {
  out = EarthworkSide();
  line.clear();
  const int s = side == 0 ? 0 : 1;
  const auto centre = design.pointAtStation(displayedStation, 0, branch);
  if (!centre) {
    error = "station " + formatFixed(displayedStation, 4) + " is not on the alignment";
    return false;
  }
  std::vector<char> holds(road.slopes.size(), 0);
  for (std::size_t k = 0; k < road.slopes.size(); ++k) holds[k] = layout.slopeHolds(k, continuousMileage);
  const OutwardVertex start{std::fabs(hinge.offset), hinge.elevation};
  GroundLine groundLine;
  GroundReader reader;
  reader.line = &groundLine;
  reader.read = [&](double halfWidth) {
    // From just inside the hinge outward: the slope needs no ground nearer
    // the centre.
    const double from = std::max(0.0, start.u - kHingeMargin), to = std::max(halfWidth, from + kHingeMargin);
    groundLine = s == 0 ? ground.acrossBetween(displayedStation, centre->x, centre->y,
                                               centre->azimuth, -to, -from)
                        : ground.acrossBetween(displayedStation, centre->x, centre->y,
                                               centre->azimuth, from, to);
  };
  reader.widen(std::max(std::fabs(reach), start.u) + kReachMargin);
  std::vector<OutwardVertex> outward;
  runSlope(road, holds, s, start, reader, out, outward);
  if (!finishCatchPoint(design, displayedStation, branch, s, nullptr, out, error)) return false;
  const double sign = s == 0 ? -1.0 : 1.0;
  for (const OutwardVertex& v : outward) line.push_back({sign * v.u, v.z});
  return true;
}

}  // namespace trazmark
