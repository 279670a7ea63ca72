#include "maps/SectionStations.h"

#include <algorithm>
#include <cctype>
#include <cmath>

#include "platform/NumberField.h"

namespace trazmark {
namespace {

/// Two stakes closer than this (metres) are one place.
constexpr double kSamePlace = 1e-6;

std::string trimmed(const std::string& text) {
  std::size_t a = 0;
  std::size_t b = text.size();
  while (a < b && std::isspace(static_cast<unsigned char>(text[a]))) ++a;
  while (b > a && std::isspace(static_cast<unsigned char>(text[b - 1]))) --b;
  return text.substr(a, b - a);
}

}  // namespace

std::optional<double> parseStationText(const std::string& typed) {
  std::string text = trimmed(typed);
  if (text.empty()) return std::nullopt;
  bool negative = false;
  if (text[0] == '-' && text.size() > 1 && (text[1] == 'K' || text[1] == 'k')) {
    negative = true;
    text.erase(0, 1);
  }
  double value = 0;
  if (text[0] == 'K' || text[0] == 'k') {
    const std::size_t plus = text.find('+');
    if (plus == std::string::npos || plus == 1) return std::nullopt;
    const std::string km = text.substr(1, plus - 1);
    const std::string metres = text.substr(plus + 1);
    if (km.find_first_not_of("0123456789") != std::string::npos) return std::nullopt;
    double k = 0;
    double m = 0;
    if (!parseNumberField(km, k) || !parseNumberField(metres, m) || !(m >= 0 && m < 1000)) return std::nullopt;
    value = k * 1000 + m;
    if (negative) value = -value;
  } else if (!parseNumberField(text, value)) {
    return std::nullopt;
  }
  if (!std::isfinite(value)) return std::nullopt;
  return value;
}

void CSectionStations::setStakes(const std::vector<RoadCoordinate>& stakes) {
  stakes_.clear();
  current_.reset();
  stakes_.reserve(stakes.size());
  for (const RoadCoordinate& s : stakes) {
    if (!stakes_.empty() && std::fabs(s.continuousMileage - stakes_.back().continuous) < kSamePlace) continue;
    SectionStation place{s.mileage, -1, s.continuousMileage};
    // A displayed station met before, farther back along the road: a long
    // chain repeats it, and this stake stands after the chain.
    for (SectionStation& earlier : stakes_) {
      if (std::fabs(earlier.station - s.mileage) < kSamePlace) {
        earlier.side = 0;
        place.side = 1;
      }
    }
    stakes_.push_back(place);
  }
}

void CSectionStations::setStakesOf(const CRoadDesign& design, double interval) {
  std::vector<RoadCoordinate> records;
  if (design.computed()) design.stakeRecords(0, interval, 0.0, records);
  setStakes(records);
}

std::optional<SectionStation> CSectionStations::next() const {
  if (stakes_.empty()) return std::nullopt;
  if (!current_) return stakes_.front();
  const double at = current_->continuous;
  const auto it = std::find_if(stakes_.begin(), stakes_.end(),
                               [at](const SectionStation& s) { return s.continuous > at + kSamePlace; });
  if (it == stakes_.end()) return std::nullopt;
  return *it;
}

std::optional<SectionStation> CSectionStations::previous() const {
  if (stakes_.empty()) return std::nullopt;
  if (!current_) return stakes_.back();
  const double at = current_->continuous;
  const auto it = std::find_if(stakes_.rbegin(), stakes_.rend(),
                               [at](const SectionStation& s) { return s.continuous < at - kSamePlace; });
  if (it == stakes_.rend()) return std::nullopt;
  return *it;
}

bool CSectionStations::stepNext() {
  const std::optional<SectionStation> n = next();
  if (!n) return false;
  current_ = n;
  return true;
}

bool CSectionStations::stepPrevious() {
  const std::optional<SectionStation> p = previous();
  if (!p) return false;
  current_ = p;
  return true;
}

}  // namespace trazmark
