#pragma once
// The rules of the standard cross-section view: the working copies of the
// left and right component lists with the modified flag, add, edit, delete
// and mirror, the rows' texts, and saving into the road. The component
// dialog's rules (fields to a component) are here too.

#include <string>
#include <tuple>

#include "records/RoadRecords.h"

namespace trazmark {

/// The two sides of a cross section, as the view's pages and LeftOrRight.
enum SectionSide : int32_t { kSectionLeft = 0, kSectionRight = 1 };

/// The component dialog's fields as typed.
struct SectionComponentFields {
  std::string name;       ///< ANSI text
  std::string width;      ///< "标准宽度", metres
  std::string slope;      ///< "标准横坡", percent
  std::string roadteeth;  ///< "高差(道牙)", kerb height in metres
};

/// The component dialog's rules.
class CSectionComponentForm {
 public:
  /// The key naming the first field OK refuses, top down as the dialog shows
  /// them, or empty: kerb height ("IDS_WARN_range_kerb_height", ±100 m),
  /// cross slope ("IDS_WARN_range_cross_slope", ±1000 %), width
  /// ("IDS_WARN_range_width", 0..1000 m); text that is not a number is
  /// refused with the same key.
  static std::string refusal(const SectionComponentFields& fields);
  /// The component: the name cut to 49 bytes, each number read with a dot
  /// (text that is not a finite number reads as 0).
  static Road_Section_Item toRecord(const SectionComponentFields& fields);
  /// The fields of a stored component, numbers "%.3f".
  static SectionComponentFields fromRecord(const Road_Section_Item& item);
  /// The fields of a new component: every number "0.00".
  static SectionComponentFields empty();
};

class CStandardSectionEditor {
 public:
  /// Components a side holds at most.
  static constexpr int kMaxComponents = 16;
  /// The list columns: "#", name, width, cross slope, kerb height.
  enum Column { kColumnIndex = 0, kColumnName, kColumnWidth, kColumnSlope, kColumnRoadteeth, kColumnCount };

  /// Copies the road's two lists and clears the flag.
  void load(const RecordList<Road_Section_Item>& left, const RecordList<Road_Section_Item>& right);
  const RecordList<Road_Section_Item>& side(int side) const;
  const RecordList<Road_Section_Item>& left() const { return left_; }
  const RecordList<Road_Section_Item>& right() const { return right_; }
  int count(int side) const { return this->side(side).count(); }
  bool modified() const { return modified_; }
  /// The view's undo decides whether the lists differ from the road's.
  void setModified(bool modified) { modified_ = modified; }

  /// What undo and redo give back: both working lists.
  using UndoState = std::tuple<RecordList<Road_Section_Item>, RecordList<Road_Section_Item>>;
  UndoState undoState() const { return {left_, right_}; }
  void restoreUndoState(UndoState state) {
    left_ = std::move(std::get<0>(state));
    right_ = std::move(std::get<1>(state));
  }

  /// Appends to `side` with its LeftOrRight; false (nothing changes) when the
  /// side already holds 16 components.
  bool add(int side, const Road_Section_Item& item);
  /// Replaces the component of `row`, keeping its side; false without such a row.
  bool edit(int side, int row, const Road_Section_Item& item);
  /// Removes the component of `row`; false without such a row.
  bool remove(int side, int row);
  /// Replaces the other side with a copy of `side`; returns the other side.
  int mirror(int side);

  /// Copies the two lists into the road's lists and clears the flag.
  void saveTo(RecordList<Road_Section_Item>& left, RecordList<Road_Section_Item>& right);

  /// The text of a cell. "#" is `sideLetter` (the text of "IDS_DATA_left" or
  /// "IDS_DATA_right"), a hyphen and the 1-based row; numbers "%.3f".
  std::string cellText(int side, int row, int column, const std::string& sideLetter) const;

 private:
  RecordList<Road_Section_Item>& sideList(int side);

  RecordList<Road_Section_Item> left_;
  RecordList<Road_Section_Item> right_;
  bool modified_ = false;
};

}  // namespace trazmark
