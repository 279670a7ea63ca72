#pragma once
// The station of the cross-section map: a station typed in, or stepped to
// from stake to stake (the previous and next buttons, PgUp and PgDn). Plain
// C++, so the stepping rules are driven without a window.
//
// Stakes are taken in road order. A long broken chain repeats displayed
// stations; the stake of a repeated station after the chain carries side 1
// (and the one before it side 0), so that the section is taken at the place
// the stake stands.

#include <optional>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"

namespace trazmark {

/// A place on the road the section map can show.
struct SectionStation {
  double station = 0;     ///< displayed station, metres
  int side = -1;          ///< branch inside a long chain (as pointAtStation): -1, 0 before, 1 after
  double continuous = 0;  ///< continuous mileage, metres
};

/// Reads a station as typed: "1250.5", "K1+250.5" or "k1+250.500" (any case,
/// spaces around); none for anything else.
std::optional<double> parseStationText(const std::string& text);

class CSectionStations {
 public:
  /// The stakes in road order (the design's stake list); the chosen station
  /// is forgotten.
  void setStakes(const std::vector<RoadCoordinate>& stakes);
  /// The stakes of `design` every `interval` metres (on whole stations, with
  /// its key points), as the profile's ground line takes them.
  void setStakesOf(const CRoadDesign& design, double interval);
  const std::vector<SectionStation>& stakes() const { return stakes_; }

  /// The chosen station; none until one is typed or stepped to.
  const std::optional<SectionStation>& current() const { return current_; }
  void clear() { current_.reset(); }
  /// Chooses a place (a typed station placed on the road by the caller).
  void choose(const SectionStation& place) { current_ = place; }

  /// The stake after (before) the chosen place, by continuous mileage; with
  /// nothing chosen the first (last) stake. None at the end of the road.
  std::optional<SectionStation> next() const;
  std::optional<SectionStation> previous() const;
  /// Moves to next() / previous(); false (and stays) when there is none.
  bool stepNext();
  bool stepPrevious();

 private:
  std::vector<SectionStation> stakes_;
  std::optional<SectionStation> current_;
};

}  // namespace trazmark
