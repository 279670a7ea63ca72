#include "maps/CutFillShading.h"

#include <algorithm>
#include <cmath>

namespace trazmark {
namespace {

/// Differences of elevation under this (metres) count as the lines touching.
constexpr double kTouching = 1e-9;

/// The line's elevation at `x` on the segment that runs on from `x`
/// (`fromRight`) or that arrives at it: a kerb's vertical face has two.
double elevationAt(const std::vector<ShadePoint>& line, double x, bool fromRight) {
  for (std::size_t i = 1; i < line.size(); ++i) {
    const ShadePoint& a = line[i - 1];
    const ShadePoint& b = line[i];
    if (!(b.offset > a.offset)) continue;
    const bool holds =
        fromRight ? (x >= a.offset && x < b.offset) : (x > a.offset && x <= b.offset);
    if (holds)
      return a.elevation + (b.elevation - a.elevation) * (x - a.offset) / (b.offset - a.offset);
  }
  return std::nan("");
}

/// The part of a line whose offsets increase, from its start.
std::vector<ShadePoint> increasingPart(const std::vector<ShadePoint>& line) {
  std::vector<ShadePoint> out;
  for (const ShadePoint& p : line) {
    if (!std::isfinite(p.offset) || !std::isfinite(p.elevation)) break;
    if (!out.empty() && p.offset < out.back().offset) break;
    out.push_back(p);
  }
  return out;
}

}  // namespace

std::vector<ShadeRegion> cutFillRegions(const std::vector<ShadePoint>& designIn,
                                        const std::vector<ShadePoint>& groundIn) {
  std::vector<ShadeRegion> regions;
  const std::vector<ShadePoint> design = increasingPart(designIn);
  const std::vector<ShadePoint> ground = increasingPart(groundIn);
  if (design.size() < 2 || ground.size() < 2) return regions;
  const double from = std::max(design.front().offset, ground.front().offset);
  const double to = std::min(design.back().offset, ground.back().offset);
  if (!(to > from)) return regions;
  std::vector<double> breaks{from, to};
  for (const auto* line : {&design, &ground})
    for (const ShadePoint& p : *line)
      if (p.offset > from && p.offset < to) breaks.push_back(p.offset);
  std::sort(breaks.begin(), breaks.end());
  breaks.erase(std::unique(breaks.begin(), breaks.end()), breaks.end());

  // A run of slices on one side of the design: its design edge forward, its
  // ground edge kept to be walked back when the run ends.
  std::vector<ShadePoint> top;
  std::vector<ShadePoint> bottom;
  int runSign = 0;
  auto close = [&] {
    if (runSign != 0 && top.size() >= 2) {
      ShadeRegion region;
      region.cut = runSign > 0;
      region.outline = top;
      region.outline.insert(region.outline.end(), bottom.rbegin(), bottom.rend());
      regions.push_back(std::move(region));
    }
    top.clear();
    bottom.clear();
    runSign = 0;
  };
  auto slice = [&](int sign, double a, double da, double ga, double b, double db, double gb) {
    if (sign != runSign) close();
    runSign = sign;
    top.push_back({a, da});
    top.push_back({b, db});
    bottom.push_back({a, ga});
    bottom.push_back({b, gb});
  };
  auto signOf = [](double d) { return d > kTouching ? 1 : (d < -kTouching ? -1 : 0); };
  for (std::size_t i = 1; i < breaks.size(); ++i) {
    const double a = breaks[i - 1];
    const double b = breaks[i];
    const double da = elevationAt(design, a, true), db = elevationAt(design, b, false);
    const double ga = elevationAt(ground, a, true), gb = elevationAt(ground, b, false);
    if (!std::isfinite(da + db + ga + gb)) {
      close();
      continue;
    }
    const double ha = ga - da;
    const double hb = gb - db;
    const int sa = signOf(ha);
    const int sb = signOf(hb);
    if (sa != 0 && sb != 0 && sa != sb) {
      // The lines cross inside the slice: each side of the crossing is its own region.
      const double t = ha / (ha - hb);
      const double x = a + (b - a) * t;
      const double e = da + (db - da) * t;
      slice(sa, a, da, ga, x, e, e);
      slice(sb, x, e, e, b, db, gb);
    } else {
      const int s = sa != 0 ? sa : sb;
      if (s == 0) {
        close();
        continue;
      }
      slice(s, a, da, ga, b, db, gb);
    }
  }
  close();
  return regions;
}

double polygonArea(const std::vector<ShadePoint>& outline) {
  double twice = 0;
  for (std::size_t i = 0; i < outline.size(); ++i) {
    const ShadePoint& p = outline[i];
    const ShadePoint& q = outline[(i + 1) % outline.size()];
    twice += p.offset * q.elevation - q.offset * p.elevation;
  }
  return std::fabs(twice) / 2;
}

}  // namespace trazmark
