#pragma once
// The rules of the broken chain view and its dialog, without a window: the
// view's working copy of the road's chains with its modified flag, and how the
// dialog turns its two mileage texts into a chain.

#include <string>
#include <tuple>

#include "records/RoadRecords.h"

namespace trazmark {

/// Mileages within this distance of each other make a short chain: a chain
/// whose "before" does not exceed its "after" by more than this skips
/// displayed stations (or none), otherwise it repeats them.
constexpr double kShortChainTolerance = 1e-4;

/// The chain from the displayed mileage before the break `before` and the one
/// after it `after`: short (Type 1) when before - after <= 0.0001, else long
/// (Type 0); Length |before - after|.
Scisson_Data makeBrokenChain(double before, double after);

/// What OK in the chain dialog does with the two texts.
struct ChainEntryResult {
  enum Outcome {
    kStayOpen,  ///< both texts empty: nothing happens, no message
    kRefused,   ///< `messageKey` names the warning; the dialog stays open
    kAccepted,  ///< `chain` is the new record
  };
  Outcome outcome = kStayOpen;
  std::string messageKey;
  Scisson_Data chain;
};

/// The dialog's OK. A text that is not a number, or one mileage given without
/// the other, is refused rather than read as 0: a chain from 500 to 0 would
/// shift every displayed station beyond it by 500 m. A mileage beyond ±1e8 m
/// is refused with the key naming it ("IDS_WARN_range_mileage_before" or
/// "_after").
ChainEntryResult acceptChainEntry(const std::string& beforeText, const std::string& afterText);

/// The dialog's fields for an existing chain ("%.4f" of its two mileages).
void chainEntryTexts(const Scisson_Data& chain, std::string& beforeText, std::string& afterText);

/// The broken chain view's working copy. The road changes only on save().
class CRoadChainEditor {
 public:
  /// Copies the road's chains; discards unsaved edits.
  void load(const RoadDataSet& road);
  /// Copies the working list into the road and clears the modified flag.
  void save(RoadDataSet& road);

  void add(const Scisson_Data& chain);
  /// False, and nothing changed, when `index` is not a row.
  bool replace(int index, const Scisson_Data& chain);
  bool remove(int index);

  const RecordList<Scisson_Data>& chains() const { return chains_; }
  bool isModified() const { return modified_; }
  /// The view's undo decides whether the chains differ from the road's.
  void setModified(bool modified) { modified_ = modified; }

  /// What undo and redo give back: the working list.
  using UndoState = std::tuple<RecordList<Scisson_Data>>;
  UndoState undoState() const { return {chains_}; }
  void restoreUndoState(UndoState state) { chains_ = std::move(std::get<0>(state)); }

 private:
  RecordList<Scisson_Data> chains_;
  bool modified_ = false;
};

}  // namespace trazmark
