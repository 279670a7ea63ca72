#include "crosssection/StandardSectionEditor.h"

#include <cmath>
#include <limits>

#include "platform/FieldRange.h"
#include "platform/NumberField.h"
#include "platform/TextFields.h"

namespace trazmark {
namespace {

double readField(const std::string& text) {
  const double v = parseDecimal(text);
  return std::isfinite(v) ? v : 0.0;
}

}  // namespace

std::string CSectionComponentForm::refusal(const SectionComponentFields& fields) {
  using namespace field_limits;
  auto typed = [](const std::string& text) {
    double v = std::numeric_limits<double>::quiet_NaN();
    return parseNumberField(text, v) ? v : std::numeric_limits<double>::quiet_NaN();
  };
  return firstOutOfRange({{typed(fields.roadteeth), {-kKerbHeight, kKerbHeight, "IDS_WARN_range_kerb_height"}},
                          {typed(fields.slope), {-kPercent, kPercent, "IDS_WARN_range_cross_slope"}},
                          {typed(fields.width), {0, kWidth, "IDS_WARN_range_width"}}});
}

Road_Section_Item CSectionComponentForm::toRecord(const SectionComponentFields& fields) {
  Road_Section_Item item;
  item.setModuleName(fields.name);
  item.Width = readField(fields.width);
  item.Slope = readField(fields.slope);
  item.Roadteeth = readField(fields.roadteeth);
  return item;
}

SectionComponentFields CSectionComponentForm::fromRecord(const Road_Section_Item& item) {
  return {item.moduleName(), formatFixed(item.Width, 3), formatFixed(item.Slope, 3),
          formatFixed(item.Roadteeth, 3)};
}

SectionComponentFields CSectionComponentForm::empty() { return {"", "0.00", "0.00", "0.00"}; }

void CStandardSectionEditor::load(const RecordList<Road_Section_Item>& left,
                                  const RecordList<Road_Section_Item>& right) {
  left_ = left;
  right_ = right;
  modified_ = false;
}

const RecordList<Road_Section_Item>& CStandardSectionEditor::side(int side) const {
  return side == kSectionRight ? right_ : left_;
}

RecordList<Road_Section_Item>& CStandardSectionEditor::sideList(int side) {
  return side == kSectionRight ? right_ : left_;
}

bool CStandardSectionEditor::add(int side, const Road_Section_Item& item) {
  RecordList<Road_Section_Item>& list = sideList(side);
  if (list.count() >= kMaxComponents) return false;
  Road_Section_Item added = item;
  added.LeftOrRight = side == kSectionRight ? kSectionRight : kSectionLeft;
  list.append(added);
  modified_ = true;
  return true;
}

bool CStandardSectionEditor::edit(int side, int row, const Road_Section_Item& item) {
  RecordList<Road_Section_Item>& list = sideList(side);
  if (row < 0 || row >= list.count()) return false;
  // The component stays on the side whose list holds it.
  Road_Section_Item& target = list[static_cast<std::size_t>(row)];
  target = item;
  target.LeftOrRight = side == kSectionRight ? kSectionRight : kSectionLeft;
  modified_ = true;
  return true;
}

bool CStandardSectionEditor::remove(int side, int row) {
  if (row < 0 || !sideList(side).removeAt(static_cast<std::size_t>(row))) return false;
  modified_ = true;
  return true;
}

int CStandardSectionEditor::mirror(int side) {
  const int from = side == kSectionRight ? kSectionRight : kSectionLeft;
  const int to = from == kSectionRight ? kSectionLeft : kSectionRight;
  RecordList<Road_Section_Item> copy = sideList(from);
  for (Road_Section_Item& item : copy) item.LeftOrRight = to;
  sideList(to) = std::move(copy);
  modified_ = true;
  return to;
}

void CStandardSectionEditor::saveTo(RecordList<Road_Section_Item>& left, RecordList<Road_Section_Item>& right) {
  left = left_;
  right = right_;
  modified_ = false;
}

std::string CStandardSectionEditor::cellText(int side, int row, int column, const std::string& sideLetter) const {
  const RecordList<Road_Section_Item>& list = this->side(side);
  if (row < 0 || row >= list.count()) return {};
  const Road_Section_Item& item = list[static_cast<std::size_t>(row)];
  switch (column) {
    case kColumnIndex: return sideLetter + "-" + formatInt(row + 1);
    case kColumnName: return item.moduleName();
    case kColumnWidth: return formatFixed(item.Width, 3);
    case kColumnSlope: return formatFixed(item.Slope, 3);
    case kColumnRoadteeth: return formatFixed(item.Roadteeth, 3);
    default: return {};
  }
}

}  // namespace trazmark
