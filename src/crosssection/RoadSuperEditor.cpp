#include "crosssection/RoadSuperEditor.h"

#include <algorithm>

#include "platform/FieldRange.h"
#include "platform/NumberField.h"

namespace trazmark {

namespace {

// No change point lies beyond this mileage: the upper bound of the last one.
constexpr double kNoUpperBound = 9999999999.0;

}  // namespace

const char* gradientModeKey(int32_t mode) {
  switch (mode) {
    case kGradientLinear: return "IDS_DATA_linear";
    case kGradientThreeParabola: return "IDS_DATA_three_parabola";
    case kGradientFourParabola: return "IDS_DATA_four_parabola";
    default: return "";
  }
}

std::vector<int32_t> offeredGradientModes(SuperValueKind kind) {
  (void)kind;
  return {kGradientLinear, kGradientThreeParabola, kGradientFourParabola};
}

std::vector<int32_t> dialogGradientModes(SuperValueKind kind, const Road_Super_Value* edited) {
  std::vector<int32_t> modes = offeredGradientModes(kind);
  if (edited != nullptr && std::find(modes.begin(), modes.end(), edited->Mode) == modes.end())
    modes.push_back(edited->Mode);
  return modes;
}

double superValue(const Road_Super_Value& value, SuperValueKind kind) {
  return kind == SuperValueKind::kWidth ? value.Width : value.Slope;
}

void setSuperValue(Road_Super_Value& value, SuperValueKind kind, double v) {
  (kind == SuperValueKind::kWidth ? value.Width : value.Slope) = v;
}

std::vector<SuperComponentEntry> superComponentEntries(const RecordList<Road_Section_Item>& left,
                                                       const RecordList<Road_Section_Item>& right,
                                                       const std::string& leftText,
                                                       const std::string& rightText) {
  // The side is the list a component stands in (the road file stores it so),
  // and the index its place there, so an entry always names its component.
  std::vector<SuperComponentEntry> entries;
  auto addSide = [&](const RecordList<Road_Section_Item>& list, int32_t side) {
    for (int i = 0; i < list.count(); ++i) {
      SuperComponentEntry e;
      e.name = list[static_cast<std::size_t>(i)].moduleName();
      e.leftRight = side;
      e.inSectionIndex = i;
      e.text = (side != 0 ? rightText : leftText) + "-" + e.name;
      entries.push_back(std::move(e));
    }
  };
  addSide(left, 0);
  addSide(right, 1);
  return entries;
}

std::string superEntryText(const Road_Super_Item& item, const std::string& leftText,
                           const std::string& rightText) {
  return (item.LeftRight != 0 ? rightText : leftText) + "-" + item.SectionName;
}

bool superSectionNameFits(const std::string& sectionName, const std::string& moduleName) {
  return sectionName == moduleName || sectionName == moduleName.substr(0, moduleName.find('-'));
}

bool superItemHoldsComponent(const Road_Super_Item& item, const Road_Super_Item& component) {
  return (item.LeftRight != 0) == (component.LeftRight != 0) && item.InSectionIndex == component.InSectionIndex &&
         superSectionNameFits(item.SectionName, component.SectionName);
}

int superEntryIndexOf(const std::vector<SuperComponentEntry>& entries, const Road_Super_Item& item,
                      const std::string& leftText, const std::string& rightText) {
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const SuperComponentEntry& e = entries[i];
    if ((e.leftRight != 0) == (item.LeftRight != 0) && e.inSectionIndex == item.InSectionIndex &&
        superSectionNameFits(item.SectionName, e.name))
      return static_cast<int>(i);
  }
  // The cross section changed since the item was recorded: its name decides.
  const std::string text = superEntryText(item, leftText, rightText);
  for (std::size_t i = 0; i < entries.size(); ++i) {
    if (entries[i].text == text) return static_cast<int>(i);
  }
  return -1;
}

namespace {

// Reads the value and mileage fields and the mode into `value`; false with the
// refusing key when a field is not a number. `edited` is the change point
// being edited (null for a new one).
bool readSuperFields(SuperValueKind kind, const SuperEntryFields& fields, const Road_Super_Value* edited,
                     Road_Super_Value& value, SuperEntryResult& result) {
  double v = 0, mileage = 0;
  if (!parseNumberField(fields.valueText, v) || !parseNumberField(fields.mileageText, mileage)) {
    result.outcome = SuperEntryResult::kRefused;
    result.messageKey = "IDS_WARN_enter_number";
    return false;
  }
  using namespace field_limits;
  const FieldRange valueRange = kind == SuperValueKind::kWidth
                                    ? FieldRange{0, kWidth, "IDS_WARN_range_width"}
                                    : FieldRange{-kPercent, kPercent, "IDS_WARN_range_cross_slope"};
  result.messageKey = firstOutOfRange({{v, valueRange}, {mileage, {-kStation, kStation, "IDS_WARN_range_mileage"}}});
  if (!result.messageKey.empty()) {
    result.outcome = SuperEntryResult::kRefused;
    return false;
  }
  const std::vector<int32_t> modes = dialogGradientModes(kind, edited);
  const int modeIndex = fields.modeIndex >= 0 && fields.modeIndex < static_cast<int>(modes.size()) ? fields.modeIndex : 0;
  value.Mileage = mileage;
  value.Mode = modes[static_cast<std::size_t>(modeIndex)];
  setSuperValue(value, kind, v);
  return true;
}

}  // namespace

SuperEntryResult acceptNewSuperEntry(SuperValueKind kind, const std::vector<SuperComponentEntry>& entries,
                                     const SuperEntryFields& fields) {
  SuperEntryResult result;
  if (fields.componentIndex < 0 || fields.componentIndex >= static_cast<int>(entries.size())) return result;
  const SuperComponentEntry& entry = entries[static_cast<std::size_t>(fields.componentIndex)];
  if (entry.text.empty()) return result;
  if (!readSuperFields(kind, fields, nullptr, result.value, result)) return result;
  result.item.SectionName = entry.name;
  result.item.LeftRight = entry.leftRight;
  result.item.InSectionIndex = entry.inSectionIndex;
  result.outcome = SuperEntryResult::kAccepted;
  return result;
}

void superEditBounds(const RecordList<Road_Super_Value>& values, int k, double& lower, double& upper) {
  const int n = values.count();
  auto m = [&](int i) { return values[static_cast<std::size_t>(i)].Mileage; };
  if (n <= 1) {
    lower = upper = n == 1 ? m(0) : 0;
  } else if (k <= 0) {
    lower = m(0);
    upper = m(1);
  } else if (k < n - 1) {
    lower = m(k - 1);
    upper = m(k + 1);
  } else {
    lower = m(k - 1);
    upper = kNoUpperBound;
  }
}

SuperEntryResult acceptSuperEdit(SuperValueKind kind, const Road_Super_Item& item, int k,
                                 const SuperEntryFields& fields) {
  SuperEntryResult result;
  result.item = item;
  result.item.values.clear();
  const Road_Super_Value* edited =
      k >= 0 && k < item.values.count() ? &item.values[static_cast<std::size_t>(k)] : nullptr;
  if (!readSuperFields(kind, fields, edited, result.value, result)) return result;
  double lower = 0, upper = 0;
  superEditBounds(item.values, k, lower, upper);
  const double e = result.value.Mileage;
  if (lower > e) {
    result.outcome = SuperEntryResult::kRefused;
    result.messageKey = "IDS_WARN_mileage_less_uppoint";
  } else if (e > upper) {
    result.outcome = SuperEntryResult::kRefused;
    result.messageKey = "IDS_WARN_mileage_large_nextpoint";
  } else {
    result.outcome = SuperEntryResult::kAccepted;
  }
  return result;
}

void CRoadSuperEditor::load(const RoadDataSet& road) {
  left_ = road.leftSections;
  right_ = road.rightSections;
  items_ = kind_ == SuperValueKind::kWidth ? road.widens : road.superHighs;
  modified_ = false;
  rebuildRows();
}

void CRoadSuperEditor::refreshComponents(const RoadDataSet& road) {
  left_ = road.leftSections;
  right_ = road.rightSections;
}

void CRoadSuperEditor::save(RoadDataSet& road) {
  (kind_ == SuperValueKind::kWidth ? road.widens : road.superHighs) = items_;
  modified_ = false;
}

void CRoadSuperEditor::add(const Road_Super_Item& component, const Road_Super_Value& value,
                           const YesNoQuestion& ask) {
  Road_Super_Item* owner = nullptr;
  for (Road_Super_Item& item : items_) {
    if (superItemHoldsComponent(item, component)) {
      owner = &item;
      break;
    }
  }
  if (owner == nullptr) {
    Road_Super_Item item = component;
    item.values.clear();
    item.values.append(value);
    items_.append(item);
  } else {
    std::size_t later = 0;
    while (later < owner->values.size() && !(owner->values[later].Mileage > value.Mileage)) ++later;
    if (later < owner->values.size() && ask && ask("IDS_WARN_mileage_less_uppoint_insert")) {
      owner->values.insertAt(later, value);
    } else {
      owner->values.append(value);
    }
  }
  modified_ = true;
  rebuildRows();
}

void CRoadSuperEditor::restoreUndoState(UndoState state) {
  items_ = std::move(std::get<0>(state));
  rebuildRows();
}

bool CRoadSuperEditor::replace(int row, const Road_Super_Value& value) {
  if (!validRow(row)) return false;
  const Row r = rows_[static_cast<std::size_t>(row)];
  items_[static_cast<std::size_t>(r.item)].values[static_cast<std::size_t>(r.value)] = value;
  modified_ = true;
  rebuildRows();
  return true;
}

bool CRoadSuperEditor::remove(int row) {
  if (!validRow(row)) return false;
  const Row r = rows_[static_cast<std::size_t>(row)];
  Road_Super_Item& item = items_[static_cast<std::size_t>(r.item)];
  item.values.removeAt(static_cast<std::size_t>(r.value));
  if (item.values.empty()) items_.removeAt(static_cast<std::size_t>(r.item));
  modified_ = true;
  rebuildRows();
  return true;
}

const Road_Super_Item& CRoadSuperEditor::itemOfRow(int row) const {
  return items_[static_cast<std::size_t>(rows_[static_cast<std::size_t>(row)].item)];
}

const Road_Super_Value& CRoadSuperEditor::valueOfRow(int row) const {
  const Row r = rows_[static_cast<std::size_t>(row)];
  return items_[static_cast<std::size_t>(r.item)].values[static_cast<std::size_t>(r.value)];
}

void CRoadSuperEditor::rebuildRows() {
  rows_.clear();
  for (int i = 0; i < items_.count(); ++i) {
    const int n = items_[static_cast<std::size_t>(i)].values.count();
    for (int j = 0; j < n; ++j) rows_.push_back(Row{i, j});
  }
}

}  // namespace trazmark
