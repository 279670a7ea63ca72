#pragma once
// The rules of the superelevation and widening views and their dialog, without
// a window. Both record change points per cross-section component; they differ
// only in the value a change point carries (a cross slope or the width after
// widening), so one implementation takes that kind as its parameter.

#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "records/RoadRecords.h"

namespace trazmark {

/// Which value of a change point the view edits.
enum class SuperValueKind {
  kSlope,  ///< superelevation: `Slope`, the road's `superHighs`
  kWidth,  ///< widening: `Width`, the road's `widens`
};

/// The gradient modes of a change point (`Road_Super_Value::Mode`).
enum SuperGradientMode : int32_t {
  kGradientLinear = 0,
  kGradientThreeParabola = 1,
  kGradientFourParabola = 2,
};

/// The language key of a gradient mode's text; "" for an unknown code.
const char* gradientModeKey(int32_t mode);
/// The modes the dialog offers, in list order: linear, three-parabola and
/// four-parabola, for superelevation and widening alike (the road file holds
/// all three for both, and an edit must not turn one into another).
std::vector<int32_t> offeredGradientModes(SuperValueKind kind);
/// The dialog's mode list: the offered modes, and when `edited` holds a code
/// beyond them (a file of a newer system), that code last, so that editing
/// its mileage or value keeps it.
std::vector<int32_t> dialogGradientModes(SuperValueKind kind, const Road_Super_Value* edited);

double superValue(const Road_Super_Value& value, SuperValueKind kind);
void setSuperValue(Road_Super_Value& value, SuperValueKind kind, double v);

/// One entry of the dialog's component list: "<side text>-<ModuleName>".
struct SuperComponentEntry {
  std::string text;        ///< as shown
  std::string name;        ///< the component's ModuleName, whole
  int32_t leftRight = 0;   ///< 0 left, non-zero right, as the component holds it
  int32_t inSectionIndex = 0;  ///< position within its side's list
};

/// The component entries for every left then every right component. The side
/// text comes from the component's own LeftOrRight (non-zero: `rightText`).
std::vector<SuperComponentEntry> superComponentEntries(const RecordList<Road_Section_Item>& left,
                                                       const RecordList<Road_Section_Item>& right,
                                                       const std::string& leftText,
                                                       const std::string& rightText);

/// The entry text of an item: "<side text>-<SectionName>".
std::string superEntryText(const Road_Super_Item& item, const std::string& leftText,
                           const std::string& rightText);

/// True when an item recorded under `sectionName` names the component called
/// `moduleName`: the same name, or the name up to its first hyphen, which is
/// how older files record a component such as "A-B" ("A").
bool superSectionNameFits(const std::string& sectionName, const std::string& moduleName);
/// True when `item` holds the change points of `component` (an item as the
/// dialog makes it): the same side, the same index within that side, and a
/// fitting name. Two components of one name differ by their index.
bool superItemHoldsComponent(const Road_Super_Item& item, const Road_Super_Item& component);
/// The entry of `entries` that names the component of `item`: the one at its
/// side and index when the name fits, else the first of its entry text; -1
/// when the component is no longer in the cross section.
int superEntryIndexOf(const std::vector<SuperComponentEntry>& entries, const Road_Super_Item& item,
                      const std::string& leftText, const std::string& rightText);

/// The dialog's fields.
struct SuperEntryFields {
  int modeIndex = 0;       ///< index into dialogGradientModes
  int componentIndex = -1; ///< index into the component entries; -1 none
  std::string valueText;   ///< cross slope or width after widening
  std::string mileageText;
};

struct SuperEntryResult {
  enum Outcome { kStayOpen, kRefused, kAccepted };
  Outcome outcome = kStayOpen;
  std::string messageKey;
  Road_Super_Item item;    ///< new change point: the component, no change points
  Road_Super_Value value;
};

/// OK for a new change point. No component chosen (or none to choose): the
/// dialog stays open without a message. The component is recorded whole, so
/// a name holding a hyphen ("A-B") stays "A-B". The value and the mileage
/// keep their ranges (cross slope ±1000 %, width 0..1000 m, mileage ±1e8 m),
/// refused with the key naming the field, when adding and editing alike.
SuperEntryResult acceptNewSuperEntry(SuperValueKind kind, const std::vector<SuperComponentEntry>& entries,
                                     const SuperEntryFields& fields);

/// The mileages between which change point `k` of `values` may move: the
/// neighbours' mileages (its own for an item of one point; no upper bound for
/// the last of several).
void superEditBounds(const RecordList<Road_Super_Value>& values, int k, double& lower, double& upper);

/// OK when editing change point `k` of `item`: refused with
/// "IDS_WARN_mileage_less_uppoint" below the previous point and
/// "IDS_WARN_mileage_large_nextpoint" beyond the next; equal mileages pass.
SuperEntryResult acceptSuperEdit(SuperValueKind kind, const Road_Super_Item& item, int k,
                                 const SuperEntryFields& fields);

/// The view's working copies: the road's component lists (only read) and its
/// superelevation or widening items; one row per change point.
class CRoadSuperEditor {
 public:
  struct Row {
    int item = 0;   ///< the hidden "Index" column
    int value = 0;  ///< the hidden "SubIndex" column
  };
  /// Asked with a language key; true for Yes.
  using YesNoQuestion = std::function<bool(const std::string& key)>;

  explicit CRoadSuperEditor(SuperValueKind kind) : kind_(kind) {}

  SuperValueKind kind() const { return kind_; }
  void load(const RoadDataSet& road);
  /// Takes the road's component lists again, keeping the change points: the
  /// cross section may have been saved since this view loaded the road.
  void refreshComponents(const RoadDataSet& road);
  /// Stores the items as the road's superHighs (or widens); the component
  /// lists are left as they are.
  void save(RoadDataSet& road);

  /// Adds `value` to the item of the same component (side, index and name,
  /// superItemHoldsComponent), or appends a new item. Before a later change point of that item the user is asked whether
  /// to insert it there (Yes) or append it (No).
  void add(const Road_Super_Item& component, const Road_Super_Value& value, const YesNoQuestion& ask);
  /// Replaces the change point of `row`; false when there is no such row.
  bool replace(int row, const Road_Super_Value& value);
  /// Removes the change point of `row`, and its item once it has none left.
  bool remove(int row);

  const RecordList<Road_Super_Item>& items() const { return items_; }
  const std::vector<Row>& rows() const { return rows_; }
  int rowCount() const { return static_cast<int>(rows_.size()); }
  const Road_Super_Item& itemOfRow(int row) const;
  const Road_Super_Value& valueOfRow(int row) const;
  const RecordList<Road_Section_Item>& leftSections() const { return left_; }
  const RecordList<Road_Section_Item>& rightSections() const { return right_; }
  bool isModified() const { return modified_; }
  /// The view's undo decides whether the items differ from the road's.
  void setModified(bool modified) { modified_ = modified; }

  /// What undo and redo give back: the items with their change points (the
  /// component lists are only read and stay as they are).
  using UndoState = std::tuple<RecordList<Road_Super_Item>>;
  UndoState undoState() const { return {items_}; }
  void restoreUndoState(UndoState state);

 private:
  void rebuildRows();
  bool validRow(int row) const { return row >= 0 && row < rowCount(); }

  SuperValueKind kind_;
  RecordList<Road_Section_Item> left_;
  RecordList<Road_Section_Item> right_;
  RecordList<Road_Super_Item> items_;
  std::vector<Row> rows_;
  bool modified_ = false;
};

}  // namespace trazmark
