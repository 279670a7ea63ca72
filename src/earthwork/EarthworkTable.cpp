#include "earthwork/EarthworkTable.h"

#include <algorithm>
#include <cmath>

#include "alignment/ChainageTable.h"
#include "platform/TextFields.h"

namespace trazmark {
namespace {

// Stations closer than this along the road are one station (metres).
constexpr double kSameStation = 1e-3;
// A transition between cut and fill is found to this (metres along the road):
// a micrometre costs a few more ground look-ups and leaves no sliver of cut
// or fill on the wrong side.
constexpr double kTransitionTolerance = 1e-6;
// Halvings of a transition's interval: 2^-60 of any interval is below the
// tolerance at every mileage a road file can hold to a micrometre.
constexpr int kMaxBisections = 60;
// Stations of the road's ends are on the road within this (metres).
constexpr double kOnRoadTolerance = 1e-6;

// The branch of a place in a long chain's repeated range, as pointAtStation
// takes it.
int sideOf(const CChainageTable& chains, double m) {
  const int branch = chains.branchOf(m);
  return branch < 0 ? -1 : branch;
}

std::string fixed3(double v) { return formatFixed(v, 3); }

// A "%.2f" amount without the minus sign of a value that prints as zero.
void appendAmount(std::string& out, const char* format, double v) {
  if (std::fabs(v) < 0.005) v = 0;
  appendFormat(out, format, v);
}

class TableBuilder {
 public:
  TableBuilder(const RoadDataSet& road, const CRoadDesign& design, const CRoadProfile& profile,
               const CRoadGround& ground, const EarthworkOptions& options,
               const CChainageTable& chains)
      : road_(road), design_(design), profile_(profile), ground_(ground), options_(options),
        chains_(chains) {}

  // The section at continuous mileage m, failing for a side without areas
  // unless incomplete rows are allowed.
  bool section(double m, EarthworkSection& s, std::string& error) const {
    const double station = chains_.displayedFromContinuous(m);
    if (!earthworkSectionAt(road_, design_, profile_, ground_, options_.pavementDepth, station,
                            sideOf(chains_, m), s, error)) {
      error = "station " + fixed3(station) + ": " + error;
      return false;
    }
    if (!options_.allowIncomplete) {
      for (const EarthworkSide* side : {&s.left, &s.right}) {
        if (side->hasAreas()) continue;
        error = "station " + fixed3(station) + " " + side->message;
        return false;
      }
    }
    return true;
  }

  // Grade line less pavement depth minus the ground at the centre.
  std::optional<double> centreHeight(double m) const {
    const double station = chains_.displayedFromContinuous(m);
    const auto p = design_.pointAtStation(station, 0, sideOf(chains_, m));
    const auto z = profile_.elevationAt(m);
    if (!p || !z) return std::nullopt;
    const auto g = ground_.centreElevation(station, p->x, p->y);
    if (!g) return std::nullopt;
    return *z - options_.pavementDepth - *g;
  }

  static std::optional<double> centreHeight(const EarthworkSection& s, double depth) {
    if (!s.groundCentre) return std::nullopt;
    return s.finished.centreElevation - depth - *s.groundCentre;
  }

  // Where the centre height changes sign between m0 and m1 (h0, h1 of
  // opposite signs, neither zero): by bisection to kTransitionTolerance.
  std::optional<double> transition(double m0, double h0, double m1) const {
    double lo = m0, hi = m1;
    // The cap ends the halving where mileages are too large for the tolerance.
    for (int i = 0; i < kMaxBisections && hi - lo > kTransitionTolerance; ++i) {
      const double mid = (lo + hi) / 2;
      const auto h = centreHeight(mid);
      if (!h) return std::nullopt;
      if (*h == 0) return mid;
      if ((*h > 0) == (h0 > 0)) lo = mid;
      else hi = mid;
    }
    return (lo + hi) / 2;
  }

 private:
  const RoadDataSet& road_;
  const CRoadDesign& design_;
  const CRoadProfile& profile_;
  const CRoadGround& ground_;
  const EarthworkOptions& options_;
  const CChainageTable& chains_;
};

std::string sideNote(const EarthworkSection& s) {
  std::string note;
  for (const EarthworkSide* side : {&s.left, &s.right}) {
    if (side->hasAreas()) continue;
    if (!note.empty()) note += "; ";
    note += side->message;
  }
  return note;
}

}  // namespace

bool earthworkTable(const RoadDataSet& road, const CRoadDesign& design,
                    const CRoadProfile& profile, const CRoadGround& ground,
                    const EarthworkOptions& options, EarthworkTable& table, std::string& error,
                    const EarthworkProgress& progress) {
  table = EarthworkTable();
  if (!(options.interval > 0) || !std::isfinite(options.interval)) {
    error = "the interval must be a positive number of metres";
    return false;
  }
  if (!(options.bulking > 0) || !std::isfinite(options.bulking)) {
    error = "the bulking factor must be a positive number";
    return false;
  }
  if (!(options.pavementDepth >= 0) || !std::isfinite(options.pavementDepth)) {
    error = "the pavement depth must be a number of metres, 0 or more";
    return false;
  }
  if (road.leftSections.empty() && road.rightSections.empty()) {
    error = "the road has no cross section (no components on either side)";
    return false;
  }
  const CChainageTable chains(design.brokenChains);
  if (!chains.valid()) {
    error = chains.error();
    return false;
  }
  const double roadStart = design.startMileage();
  const double roadEnd = design.endMileage();
  if (!(roadEnd > roadStart)) {
    error = "the road has no length";
    return false;
  }
  auto place = [&](const std::optional<double>& station, double fallback, const char* what,
                   double& m) {
    if (!station) {
      m = fallback;
      return true;
    }
    const auto c = std::isfinite(*station)
                       ? chains.continuousFromDisplayed(*station, design.longChainDefaultAfter)
                       : std::nullopt;
    if (!c || *c < roadStart - kOnRoadTolerance || *c > roadEnd + kOnRoadTolerance) {
      error = std::string(what) + " station " + (std::isfinite(*station) ? fixed3(*station) : "NaN") +
              " is not on the road (" + fixed3(chains.displayedFromContinuous(roadStart)) + " to " +
              fixed3(chains.displayedFromContinuous(roadEnd)) + ")";
      return false;
    }
    m = std::clamp(*c, roadStart, roadEnd);
    return true;
  };
  double from = 0, to = 0;
  if (!place(options.from, roadStart, "the first", from) || !place(options.to, roadEnd, "the last", to))
    return false;
  if (!(to > from)) {
    error = "the first station must come before the last";
    return false;
  }

  // The stations: the ends, the chains' places, and the whole multiples of
  // the interval on each stretch between chains.
  std::vector<double> bounds{from};
  for (const ChainBreak& b : chains.breaks())
    if (b.continuous > from && b.continuous < to) bounds.push_back(b.continuous);
  bounds.push_back(to);
  std::vector<double> stations;
  for (std::size_t k = 0; k + 1 < bounds.size(); ++k) {
    const double a = bounds[k], b = bounds[k + 1];
    const double shift = chains.shiftOf(chains.stretchOf((a + b) / 2));
    if ((b - a) / options.interval > static_cast<double>(kMaxEarthworkStations)) {
      error = "the interval " + formatFixed(options.interval, 3) + " is too small: more than " +
              std::to_string(kMaxEarthworkStations) + " stations";
      return false;
    }
    stations.push_back(a);
    // Counted, not stepped until past b: at mileages beyond 2^53 intervals a
    // step of one would no longer advance.
    const double first = std::ceil((a + shift) / options.interval);
    const double count = std::floor((b + shift) / options.interval) - first + 1;
    for (double k = 0; k < count && k <= static_cast<double>(kMaxEarthworkStations); k += 1) {
      const double m = (first + k) * options.interval - shift;
      if (m >= b - kSameStation) break;
      if (m > stations.back() + kSameStation) stations.push_back(m);
    }
    if (stations.size() > kMaxEarthworkStations) {
      error = "the interval " + formatFixed(options.interval, 3) + " is too small: more than " +
              std::to_string(kMaxEarthworkStations) + " stations";
      return false;
    }
  }
  if (to > stations.back() + kSameStation) stations.push_back(to);
  else stations.back() = to;

  const TableBuilder builder(road, design, profile, ground, options, chains);
  const double work = static_cast<double>(stations.size()) * (options.prismoidal ? 2.0 : 1.0);
  double done = 0;
  auto tick = [&]() {
    done += 1;
    if (progress && !progress(std::min(1.0, done / work))) {
      error = "cancelled";
      return false;
    }
    return true;
  };

  struct Computed {
    double m;
    bool transition;
    EarthworkSection section;
  };
  std::vector<Computed> computed;
  computed.reserve(stations.size() + 16);
  for (double m : stations) {
    Computed c{m, false, {}};
    if (!builder.section(m, c.section, error)) return false;
    // A change between cut and fill at the centre since the last station
    // becomes a station of its own.
    if (!computed.empty()) {
      const Computed& last = computed.back();
      const auto h0 = TableBuilder::centreHeight(last.section, options.pavementDepth);
      const auto h1 = TableBuilder::centreHeight(c.section, options.pavementDepth);
      if (h0 && h1 && *h0 != 0 && *h1 != 0 && (*h0 > 0) != (*h1 > 0)) {
        const auto t = builder.transition(last.m, *h0, m);
        if (t && *t > last.m + kSameStation && *t < m - kSameStation) {
          Computed tc{*t, true, {}};
          if (!builder.section(*t, tc.section, error)) return false;
          computed.push_back(std::move(tc));
        }
      }
    }
    computed.push_back(std::move(c));
    if (!tick()) return false;
  }

  table.bulking = options.bulking;
  table.rows.reserve(computed.size());
  for (std::size_t i = 0; i < computed.size(); ++i) {
    const Computed& c = computed[i];
    EarthworkRow row;
    row.mileage = c.m;
    row.station = chains.displayedFromContinuous(c.m);
    row.transition = c.transition;
    row.cutArea = c.section.left.cutArea + c.section.right.cutArea;
    row.fillArea = c.section.left.fillArea + c.section.right.fillArea;
    row.complete = c.section.hasAreas();
    if (!row.complete) row.note = sideNote(c.section);
    if (i > 0) {
      const EarthworkRow& prev = table.rows.back();
      row.distance = c.m - prev.mileage;
      if (options.prismoidal) {
        EarthworkSection middle;
        if (!builder.section((prev.mileage + c.m) / 2, middle, error)) {
          table = EarthworkTable();
          return false;
        }
        const double l6 = row.distance / 6;
        row.cutVolume = l6 * (prev.cutArea + 4 * middle.cutArea() + row.cutArea);
        row.fillVolume = l6 * (prev.fillArea + 4 * middle.fillArea() + row.fillArea);
        if (!tick()) {
          table = EarthworkTable();
          return false;
        }
      } else {
        row.cutVolume = row.distance * (prev.cutArea + row.cutArea) / 2;
        row.fillVolume = row.distance * (prev.fillArea + row.fillArea) / 2;
      }
      row.cumCut = prev.cumCut + row.cutVolume;
      row.cumFill = prev.cumFill + row.fillVolume;
    }
    row.mass = row.cumCut * options.bulking - row.cumFill;
    table.rows.push_back(std::move(row));
  }
  const EarthworkRow& last = table.rows.back();
  table.totals.length = last.mileage - table.rows.front().mileage;
  table.totals.cut = last.cumCut;
  table.totals.fill = last.cumFill;
  table.totals.bulkedCut = last.cumCut * options.bulking;
  table.totals.mass = last.mass;
  if (progress && !progress(1.0)) {
    table = EarthworkTable();
    error = "cancelled";
    return false;
  }
  return true;
}

std::string earthworkTableText(const EarthworkTable& table, bool csv) {
  std::string out;
  if (csv) {
    out += "STATION,CUT_AREA,FILL_AREA,DISTANCE,CUT_VOLUME,FILL_VOLUME,CUM_CUT,CUM_FILL,MASS\n";
    for (const EarthworkRow& r : table.rows) {
      appendFormat(out, "%.3f,", r.station);
      appendAmount(out, "%.2f", r.cutArea);
      appendAmount(out, ",%.2f", r.fillArea);
      appendFormat(out, ",%.3f", r.distance);
      appendAmount(out, ",%.2f", r.cutVolume);
      appendAmount(out, ",%.2f", r.fillVolume);
      appendAmount(out, ",%.2f", r.cumCut);
      appendAmount(out, ",%.2f", r.cumFill);
      appendAmount(out, ",%.2f\n", r.mass);
    }
    appendFormat(out, "TOTAL,,,%.3f", table.totals.length);
    appendAmount(out, ",%.2f", table.totals.cut);
    appendAmount(out, ",%.2f", table.totals.fill);
    appendAmount(out, ",%.2f", table.totals.cut);
    appendAmount(out, ",%.2f", table.totals.fill);
    appendAmount(out, ",%.2f\n", table.totals.mass);
    return out;
  }
  appendFormat(out, "%12s %10s %10s %9s %12s %12s %13s %13s %13s\n", "station", "cut m2",
               "fill m2", "distance", "cut m3", "fill m3", "cum cut m3", "cum fill m3", "mass m3");
  for (const EarthworkRow& r : table.rows) {
    appendFormat(out, "%12.3f", r.station);
    appendAmount(out, " %10.2f", r.cutArea);
    appendAmount(out, " %10.2f", r.fillArea);
    appendFormat(out, " %9.3f", r.distance);
    appendAmount(out, " %12.2f", r.cutVolume);
    appendAmount(out, " %12.2f", r.fillVolume);
    appendAmount(out, " %13.2f", r.cumCut);
    appendAmount(out, " %13.2f", r.cumFill);
    appendAmount(out, " %13.2f", r.mass);
    if (r.transition) out += "  cut/fill";
    if (!r.complete) out += "  (" + r.note + ")";
    out += '\n';
  }
  appendFormat(out, "length     %.3f m\n", table.totals.length);
  appendAmount(out, "cut        %.2f m3\n", table.totals.cut);
  appendAmount(out, "fill       %.2f m3\n", table.totals.fill);
  appendFormat(out, "bulking    %.3f\n", table.bulking);
  appendAmount(out, "bulked cut %.2f m3\n", table.totals.bulkedCut);
  appendAmount(out, "mass       %.2f m3\n", table.totals.mass);
  return out;
}

}  // namespace trazmark
