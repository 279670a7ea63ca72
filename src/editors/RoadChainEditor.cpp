#include "editors/RoadChainEditor.h"

#include <cmath>

#include "platform/FieldRange.h"
#include "platform/NumberField.h"
#include "platform/TextFields.h"

namespace trazmark {

Scisson_Data makeBrokenChain(double before, double after) {
  Scisson_Data chain;
  chain.Type = before - after <= kShortChainTolerance ? 1 : 0;
  chain.Length = std::fabs(before - after);
  chain.Before_mileage = before;
  chain.After_mileage = after;
  return chain;
}

ChainEntryResult acceptChainEntry(const std::string& beforeText, const std::string& afterText) {
  ChainEntryResult result;
  const bool beforeEmpty = trimWhiteSpace(beforeText).empty();
  const bool afterEmpty = trimWhiteSpace(afterText).empty();
  if (beforeEmpty && afterEmpty) return result;
  if (beforeEmpty || afterEmpty) {
    result.outcome = ChainEntryResult::kRefused;
    result.messageKey = "IDS_WARN_chain_needs_both_mileages";
    return result;
  }
  double before = 0, after = 0;
  if (!parseNumberField(beforeText, before) || !parseNumberField(afterText, after)) {
    result.outcome = ChainEntryResult::kRefused;
    result.messageKey = "IDS_WARN_enter_number";
    return result;
  }
  const std::string outOfRange =
      firstOutOfRange({{before, {-field_limits::kStation, field_limits::kStation, "IDS_WARN_range_mileage_before"}},
                       {after, {-field_limits::kStation, field_limits::kStation, "IDS_WARN_range_mileage_after"}}});
  if (!outOfRange.empty()) {
    result.outcome = ChainEntryResult::kRefused;
    result.messageKey = outOfRange;
    return result;
  }
  result.outcome = ChainEntryResult::kAccepted;
  result.chain = makeBrokenChain(before, after);
  return result;
}

void chainEntryTexts(const Scisson_Data& chain, std::string& beforeText, std::string& afterText) {
  beforeText = formatFixed(chain.Before_mileage, 4);
  afterText = formatFixed(chain.After_mileage, 4);
}

void CRoadChainEditor::load(const RoadDataSet& road) {
  chains_ = road.scissons;
  modified_ = false;
}

void CRoadChainEditor::save(RoadDataSet& road) {
  road.scissons = chains_;
  modified_ = false;
}

void CRoadChainEditor::add(const Scisson_Data& chain) {
  chains_.append(chain);
  modified_ = true;
}

bool CRoadChainEditor::replace(int index, const Scisson_Data& chain) {
  if (index < 0 || index >= chains_.count()) return false;
  chains_[static_cast<std::size_t>(index)] = chain;
  modified_ = true;
  return true;
}

bool CRoadChainEditor::remove(int index) {
  if (index < 0 || !chains_.removeAt(static_cast<std::size_t>(index))) return false;
  modified_ = true;
  return true;
}

}  // namespace trazmark
