#include "alignment/ChainageTable.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numeric>

namespace trazmark {
namespace {

// Displayed stations are compared with this tolerance (metres), as the engine
// compares mileages with element ends.
constexpr double kStationTolerance = 1e-6;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

}  // namespace

CChainageTable::CChainageTable(const RecordList<Scisson_Data>& chains) {
  if (chains.empty()) return;
  for (std::size_t i = 0; i < chains.size(); ++i) {
    const Scisson_Data& c = chains[i];
    if (!std::isfinite(c.Before_mileage) || !std::isfinite(c.Length)) {
      error_ = "broken chain " + std::to_string(i + 1) + " has a value that is not a number";
      return;
    }
  }
  std::vector<std::size_t> order(chains.size());
  std::iota(order.begin(), order.end(), std::size_t{0});
  if (place(order, chains)) return;
  // A list entered out of road order: its back stations give the order.
  std::stable_sort(order.begin(), order.end(), [&chains](std::size_t a, std::size_t b) {
    return chains[a].Before_mileage < chains[b].Before_mileage;
  });
  if (place(order, chains)) return;
  breaks_.clear();
  error_ = "the broken chains cannot be placed along the road: a chain's back station lies "
           "before the place of the chain ahead of it, or in the numbers a short chain skips";
}

bool CChainageTable::place(const std::vector<std::size_t>& order,
                           const RecordList<Scisson_Data>& chains) {
  breaks_.clear();
  double shift = 0;
  for (std::size_t i : order) {
    const Scisson_Data& c = chains[i];
    ChainBreak b;
    b.index = i;
    b.shortChain = c.Type == 1;
    b.continuous = c.Before_mileage - shift;
    b.shiftBefore = shift;
    shift += b.shortChain ? std::fabs(c.Length) : -std::fabs(c.Length);
    b.shiftAfter = shift;
    if (!breaks_.empty() && !(b.continuous > breaks_.back().continuous)) return false;
    breaks_.push_back(b);
  }
  return true;
}

std::size_t CChainageTable::stretchOf(double p) const {
  // A short chain's point shows its ahead station, a long chain's its back one.
  std::size_t k = 0;
  while (k < breaks_.size()) {
    const ChainBreak& b = breaks_[k];
    if (b.shortChain ? !(p >= b.continuous) : !(p > b.continuous)) break;
    ++k;
  }
  return k;
}

double CChainageTable::displayedFromContinuous(double p) const {
  if (!valid()) return kNaN;
  return p + shiftOf(stretchOf(p));
}

bool CChainageTable::stretchHolds(std::size_t k, double u) const {
  const double shift = shiftOf(k);
  if (k > 0 && u < breaks_[k - 1].continuous + shift - kStationTolerance) return false;
  if (k < breaks_.size() && u > breaks_[k].continuous + shift + kStationTolerance) return false;
  return true;
}

std::optional<double> CChainageTable::continuousFromDisplayed(double u, bool after) const {
  if (!valid() || std::isnan(u)) return std::nullopt;
  std::optional<std::size_t> found;
  for (std::size_t k = 0; k <= breaks_.size(); ++k) {
    if (!stretchHolds(k, u)) continue;
    found = k;
    if (!after) break;
  }
  if (!found) return std::nullopt;
  return u - shiftOf(*found);
}

int CChainageTable::branchOf(double p) const {
  if (!valid() || breaks_.empty()) return -1;
  const std::size_t k = stretchOf(p);
  const double u = p + shiftOf(k);
  bool earlier = false, later = false;
  for (std::size_t j = 0; j <= breaks_.size(); ++j) {
    if (j == k || !stretchHolds(j, u)) continue;
    (j < k ? earlier : later) = true;
  }
  if (!earlier && !later) return -1;
  return later ? 0 : 1;
}

}  // namespace trazmark
