#pragma once
// The broken chains of a road placed on its continuous mileage.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "records/RoadRecords.h"

namespace trazmark {

/// One broken chain placed on the road.
struct ChainBreak {
  double continuous = 0;   ///< continuous mileage of the chain point, metres
  double shiftBefore = 0;  ///< displayed minus continuous mileage just before it
  double shiftAfter = 0;   ///< the same just after it
  bool shortChain = false;  ///< skips displayed stations (else repeats them)
  std::size_t index = 0;   ///< position in the road's list of chains
};

/// The road's broken chains as stretches of continuous mileage, on each of
/// which the displayed mileage is the continuous one plus a constant.
///
/// A chain's back station (`Before_mileage`) is a displayed station, read on
/// the stretch that the chains before it leave: past a long chain the numbers
/// of the repeated range name places on the branch after it. The chain moves
/// the displayed mileage by +|Length| (short) or -|Length| (long). The chains
/// are taken in the order of the list when that places them one after another
/// along the road; a list entered out of road order is taken in the order of
/// its back stations when that does. Otherwise the table is not valid and every
/// conversion gives NaN.
///
/// At the chain point itself a short chain shows its ahead station and a long
/// chain its back station, as the stake list has always written them.
class CChainageTable {
 public:
  explicit CChainageTable(const RecordList<Scisson_Data>& chains);

  bool valid() const { return error_.empty(); }
  /// Why the chains cannot be placed; empty when valid.
  const std::string& error() const { return error_; }
  /// The chains in road order.
  const std::vector<ChainBreak>& breaks() const { return breaks_; }

  /// Index of the stretch that holds a continuous mileage: the number of chains
  /// passed (0 before the first chain).
  std::size_t stretchOf(double continuous) const;
  /// Displayed minus continuous mileage on a stretch.
  double shiftOf(std::size_t stretch) const {
    return stretch == 0 ? 0.0 : breaks_[stretch - 1].shiftAfter;
  }
  /// The displayed mileage of a continuous mileage (NaN when not valid).
  double displayedFromContinuous(double continuous) const;
  /// The continuous mileage of a displayed one. Where the displayed station
  /// occurs more than once (a long chain's repeated range), `after` picks the
  /// last place, otherwise the first. Empty for a station a short chain skips,
  /// for NaN and when the table is not valid.
  std::optional<double> continuousFromDisplayed(double displayed, bool after) const;
  /// Which place of a repeated station a continuous mileage is: -1 when its
  /// displayed station occurs once, 0 the first place (before the chain), 1
  /// the last (after it); a station repeated by two overlapping long chains has
  /// a middle place, given as 1 only when it is the last.
  int branchOf(double continuous) const;

 private:
  bool place(const std::vector<std::size_t>& order, const RecordList<Scisson_Data>& chains);
  bool stretchHolds(std::size_t stretch, double displayed) const;

  std::vector<ChainBreak> breaks_;
  std::string error_;
};

}  // namespace trazmark
