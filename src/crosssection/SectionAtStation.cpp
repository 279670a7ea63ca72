#include "crosssection/SectionAtStation.h"

#include <cmath>

#include "crosssection/RoadSuperEditor.h"
#include "platform/TextFields.h"

namespace trazmark {
namespace {

// A kerb lower than this adds no step, as the cross-section map draws it.
constexpr double kKerbTolerance = 0.0001;

std::string sideName(int leftRight) { return leftRight == 0 ? "left" : "right"; }

// The component an item applies to: at its index when the name there fits,
// else the first of its name on its side.
int componentFor(const Road_Super_Item& item, const RecordList<Road_Section_Item>& components) {
  auto fits = [&item](const Road_Section_Item& c) { return superSectionNameFits(item.SectionName, c.moduleName()); };
  const int index = item.InSectionIndex;
  if (index >= 0 && index < components.count() && fits(components[static_cast<std::size_t>(index)]))
    return index;
  for (int i = 0; i < components.count(); ++i)
    if (fits(components[static_cast<std::size_t>(i)])) return i;
  return -1;
}

// Places the items of one list (superelevation or widening) of one side.
bool placeItems(const RecordList<Road_Super_Item>& items, bool widening, int side,
                const RecordList<Road_Section_Item>& components, const CChainageTable& chains,
                std::vector<CSectionLayout::AppliedItem>& placed, std::string& error) {
  const char* kind = widening ? "widening" : "superelevation";
  for (const Road_Super_Item& item : items) {
    if ((item.LeftRight == 0 ? 0 : 1) != side) continue;
    const int c = componentFor(item, components);
    if (c < 0) {
      error = std::string(kind) + " of '" + item.SectionName + "' (" + sideName(side) +
              "): no component of that name on that side of the cross section";
      return false;
    }
    CSectionLayout::AppliedItem applied;
    applied.component = static_cast<std::size_t>(c);
    applied.widening = widening;
    if (!placeChangePoints(item, widening, chains, applied.points, error)) {
      error = std::string(kind) + " of '" + item.SectionName + "' (" + sideName(side) + "): " + error;
      return false;
    }
    placed.push_back(std::move(applied));
  }
  return true;
}

}  // namespace

std::optional<double> gradientFactor(int mode, double k) {
  switch (mode) {
    case 0:
      return k;
    case 1:
      return k * k * (3 - 2 * k);
    case 2:
      return k * k * k * (4 - 3 * k);
    default:
      return std::nullopt;
  }
}

bool placeChangePoints(const Road_Super_Item& item, bool widening, const CChainageTable& chains,
                       std::vector<ChangePoint>& points, std::string& error) {
  points.clear();
  std::vector<double> displayed;
  for (const Road_Super_Value& v : item.values) {
    const double value = widening ? v.Width : v.Slope;
    if (!gradientFactor(v.Mode, 0.5)) {
      error = "change point at " + formatFixed(v.Mileage, 3) + " has the unknown gradient mode " +
              std::to_string(v.Mode);
      return false;
    }
    if (!std::isfinite(value)) {
      error = "change point at " + formatFixed(v.Mileage, 3) + " has a value that is not a number";
      return false;
    }
    displayed.push_back(v.Mileage);
  }
  std::vector<double> continuous;
  if (!placeStationsInOrder(chains, displayed, "change point", continuous, error)) {
    error += " (change points must be listed in mileage order)";
    return false;
  }
  for (std::size_t i = 0; i < continuous.size(); ++i) {
    const Road_Super_Value& v = item.values[i];
    points.push_back({continuous[i], widening ? v.Width : v.Slope, v.Mode});
  }
  return true;
}

double valueAtMileage(const std::vector<ChangePoint>& points, double standard, double m) {
  // The last change point at or before m.
  std::size_t passed = 0;
  while (passed < points.size() && points[passed].mileage <= m) ++passed;
  if (passed == 0) return standard;
  const ChangePoint& a = points[passed - 1];
  if (passed == points.size()) return a.value;
  const ChangePoint& b = points[passed];
  const double k = (m - a.mileage) / (b.mileage - a.mileage);
  return a.value + (b.value - a.value) * gradientFactor(b.mode, k).value_or(0);
}

bool CSectionLayout::prepare(const RoadDataSet& road, const CChainageTable& chains,
                             std::string& error) {
  slopeRanges_.assign(road.slopes.size(), {0.0, 0.0});
  for (int s = 0; s < 2; ++s) {
    const RecordList<Road_Section_Item>& components = s == 0 ? road.leftSections : road.rightSections;
    width_[s].clear();
    slope_[s].clear();
    for (const Road_Section_Item& c : components) {
      width_[s].push_back(c.Width);
      slope_[s].push_back(c.Slope);
    }
    items_[s].clear();
    if (!placeItems(road.widens, true, s, components, chains, items_[s], error) ||
        !placeItems(road.superHighs, false, s, components, chains, items_[s], error))
      return false;
    for (std::size_t k = 0; k < road.slopes.size(); ++k) {
      const Road_Slope& slope = road.slopes[k];
      if ((slope.LeftRight == 0 ? 0 : 1) != s) continue;
      const bool rising = slope.StartMileage <= slope.EndMileage;
      const std::vector<double> range{rising ? slope.StartMileage : slope.EndMileage,
                                      rising ? slope.EndMileage : slope.StartMileage};
      std::vector<double> placed;
      const std::string what = "slope '" + slope.SlopeName + "' range";
      if (!placeStationsInOrder(chains, range, what.c_str(), placed, error)) return false;
      slopeRanges_[k] = {placed[0], placed[1]};
    }
  }
  return true;
}

void CSectionLayout::componentValues(int side, double m, std::vector<double>& width,
                                     std::vector<double>& slope) const {
  const int s = side == 0 ? 0 : 1;
  width = width_[s];
  slope = slope_[s];
  for (const AppliedItem& item : items_[s]) {
    double& v = (item.widening ? width : slope)[item.component];
    v = valueAtMileage(item.points, v, m);
  }
}

bool CSectionLayout::slopeHolds(std::size_t index, double m) const {
  if (index >= slopeRanges_.size()) return false;
  const auto& [a, b] = slopeRanges_[index];
  return !(m < a - 1e-6 || m > b + 1e-6);
}

bool sectionAtStation(const RoadDataSet& road, const CRoadDesign& design,
                      const CRoadProfile& profile, double station, int side,
                      SectionAtStation& section, std::string& error) {
  section = SectionAtStation();
  const CChainageTable chains(design.brokenChains);
  if (!chains.valid()) {
    error = chains.error();
    return false;
  }
  const bool after = side == 1 || (side == -1 && design.longChainDefaultAfter);
  const std::optional<double> m = chains.continuousFromDisplayed(station, after);
  const auto centre = design.pointAtStation(station, 0, side);
  if (!m || !centre) {
    error = "station " + formatFixed(station, 4) + " is not on the alignment";
    return false;
  }
  const std::optional<double> z = profile.elevationAt(*m);
  if (!z) {
    error = "no elevation on the grade line at station " + formatFixed(station, 4);
    return false;
  }
  section.displayedStation = station;
  section.continuousMileage = *m;
  section.centreElevation = *z;
  section.centreX = centre->x;
  section.centreY = centre->y;

  auto placeEdge = [&](SectionEdge& e) {
    const auto p = design.pointAtStation(station, e.offset, side);
    if (!p) {
      error = "the edge of '" + e.name + "' cannot be placed";
      return false;
    }
    e.x = p->x;
    e.y = p->y;
    return true;
  };

  CSectionLayout layout;
  if (!layout.prepare(road, chains, error)) return false;
  std::vector<double> widths, crossSlopes;
  for (int s = 0; s < 2; ++s) {
    const RecordList<Road_Section_Item>& components = s == 0 ? road.leftSections : road.rightSections;
    const double outward = s == 0 ? -1.0 : 1.0;
    layout.componentValues(s, *m, widths, crossSlopes);
    double reach = 0;
    double elevation = *z;
    for (std::size_t i = 0; i < components.size(); ++i) {
      SectionEdge e;
      e.side = s == 0 ? 'L' : 'R';
      e.name = components[i].moduleName();
      e.width = widths[i];
      e.slope = crossSlopes[i];
      if (std::fabs(components[i].Roadteeth) > kKerbTolerance) elevation += components[i].Roadteeth;
      elevation += e.width * e.slope / 100;
      reach += e.width;
      e.offset = outward * reach;
      e.elevation = elevation;
      if (!placeEdge(e)) return false;
      section.edges.push_back(e);
    }
    const double roadEdgeReach = reach;
    const double roadEdgeElevation = elevation;
    for (std::size_t k = 0; k < road.slopes.size(); ++k) {
      const Road_Slope& slope = road.slopes[k];
      if ((slope.LeftRight == 0 ? 0 : 1) != s || !layout.slopeHolds(k, *m)) continue;
      reach = roadEdgeReach;
      elevation = roadEdgeElevation;
      for (const Road_Slope_Item& step : slope.items) {
        SectionEdge e;
        e.side = s == 0 ? 'L' : 'R';
        e.name = "slope:" + slope.SlopeName + ":" + step.ItemName;
        if (step.Mode == 0) {
          // A slope surface of height h at 1:N: up in cut, down in fill.
          const double rise = slope.Type == 0 ? step.SlopeH : -step.SlopeH;
          e.width = step.SlopeH * step.SlopeScale;
          // As a cross slope: the rise over the run, in percent (1:N is 100/N %).
          e.slope = e.width != 0 ? rise / e.width * 100 : (rise < 0 ? -HUGE_VAL : HUGE_VAL);
          elevation += rise;
        } else {
          e.width = step.Width;
          e.slope = step.SlopeScale;
          elevation += step.Width * step.SlopeScale / 100;
        }
        reach += e.width;
        e.offset = outward * reach;
        e.elevation = elevation;
        if (!placeEdge(e)) return false;
        section.edges.push_back(e);
      }
    }
  }
  return true;
}

}  // namespace trazmark
