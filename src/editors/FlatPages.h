#pragma once
// The working copy and rules of each horizontal alignment page: the
// intersection points, the elements and the line elements of the current road,
// with Add, Edit, Delete, Save, reload, import and the page's own `calculate`.
// What the pages share (lists, export, stakes) is CFlatPage.

#include <array>
#include <string>
#include <tuple>
#include <vector>

#include "alignment/RoadDesign_CrossPoint.h"
#include "alignment/RoadDesign_Element.h"
#include "editors/FlatPage.h"
#include "editors/LineElementFile.h"

namespace trazmark {

class CInputRoadLibrary;

/// Intersection-point page: the points of CRoadDesign_CrossPoint.
class CFlatCrossPage : public CFlatPage {
 public:
  CFlatCrossPage() = default;
  explicit CFlatCrossPage(std::string settingsFolder) : method(std::move(settingsFolder)) {}

  /// Holds the working point list.
  CRoadDesign_CrossPoint method;

  static std::vector<FlatColumn> inputColumns();
  int rowCount() const { return method.points.count(); }
  std::string cell(int row, int column) const;

  /// Adds `p` after row `selected` (append when none or the last row is
  /// selected). Returns the new row, or -1 while key points or stakes show.
  int add(const Road_CrossPoint& p, int selected);
  /// Replaces point `row`; false when the row does not exist or the list
  /// shows key points or stakes.
  bool edit(int row, const Road_CrossPoint& p);
  bool remove(int row);

  /// What undo and redo give back: the points and their row numbers.
  using UndoState = std::tuple<RecordList<Road_CrossPoint>, std::vector<int>>;
  UndoState undoState() const { return {method.points, rowNumbers_}; }
  void restoreUndoState(UndoState state);

  /// Copies the road's points and broken chains; Save starts disabled.
  void reload(const RoadDataSet& road, const std::string& title, const std::string& roadFolder);
  /// Stores the points, FlatcurveType 0 and the alignment's extents.
  void store(CInputRoadLibrary& library, const std::string& roadPath);
  /// Reads an RP file into the page; the road name becomes the file's.
  /// False, changing nothing, when the file cannot be read.
  bool import(const std::string& path);

  int filterKind() const override { return 0; }

 protected:
  const char* baseExtension() const override { return "RP"; }
  FlatMessage doCalculate() override;
  bool writeLineFile(const std::string& path) override { return method.writeText(path); }
  void saveStakeSettings(int calculateMode, double interval) override;
  const char* lineWrittenKey() const override { return "IDS_WARN_save_file_successful"; }
  const char* lineFailedKey() const override { return "IDS_WARN_save_file_failed"; }
  const char* stakeFailedKey() const override { return "IDS_WARN_calculate_error"; }
};

/// Element page: the elements of CRoadDesign_Element; after a calculation
/// the list shows the computed chain.
class CFlatElementPage : public CFlatPage {
 public:
  CFlatElementPage() = default;
  explicit CFlatElementPage(std::string settingsFolder) : method(std::move(settingsFolder)) {}

  CRoadDesign_Element method;
  /// Start mileage of the road (the view's start mileage field).
  double startMileage = 0;

  /// One row of the computed chain.
  struct ComputedRow {
    int kind = 0;
    std::array<std::string, 8> cells;
  };

  static std::vector<FlatColumn> inputColumns();
  /// True while the list shows the computed chain of the last calculation.
  bool showsComputed() const { return showsComputed_; }
  const std::vector<ComputedRow>& computedRows() const { return computed_; }
  int rowCount() const;
  std::string cell(int row, int column) const;
  /// Icon of a row: start point 3, line 0, arc 1, spiral 2 (-1 none).
  int icon(int row) const;
  /// The input rows again (after a calculation showed the computed chain).
  void showInput();

  int add(const Road_Element& e, int selected);
  bool edit(int row, const Road_Element& e);
  bool remove(int row);

  /// What undo and redo give back: the elements, their row numbers and the
  /// start mileage. The list shows the input after a restore.
  using UndoState = std::tuple<RecordList<Road_Element>, std::vector<int>, double>;
  UndoState undoState() const { return {method.elements, rowNumbers_, startMileage}; }
  void restoreUndoState(UndoState state);

  void reload(const RoadDataSet& road, const std::string& title, const std::string& roadFolder);
  /// Stores the elements, the first with `startMileage`, and FlatcurveType 1.
  void store(CInputRoadLibrary& library, const std::string& roadPath);
  bool import(const std::string& path);

  /// Turning angle of an arc in degrees: its own turn, whichever side it
  /// turns to.
  static double arcTurnDegrees(const CRoadElement& arc);
  /// The key that refuses an element list for calculation, or empty.
  static std::string refuseElements(const RecordList<Road_Element>& elements);

  int filterKind() const override { return 1; }

 protected:
  void listModeChanged() override { showInput(); }
  const char* baseExtension() const override { return "RE"; }
  FlatMessage doCalculate() override;
  bool writeLineFile(const std::string& path) override { return method.writeText(path); }
  void saveStakeSettings(int calculateMode, double interval) override;
  const char* lineWrittenKey() const override { return "IDS_WARN_save_file_successful"; }
  const char* lineFailedKey() const override { return "IDS_WARN_save_file_failed"; }
  const char* stakeFailedKey() const override { return "IDS_WARN_road_load_error"; }

 private:
  bool showsComputed_ = false;
  std::vector<ComputedRow> computed_;
};

/// Line-element page: a start point and a chain of line elements, written as
/// an LE file and converted to the element method's RE file.
class CFlatLineElementPage : public CFlatPage {
 public:
  CFlatLineElementPage() = default;
  explicit CFlatLineElementPage(std::string settingsFolder) : method(std::move(settingsFolder)) {}

  /// The working list; record 0 is the start point, which has no row.
  LineElementData data;
  CRoadDesign_Element method;

  static std::vector<FlatColumn> inputColumns();
  int rowCount() const { return data.elements.empty() ? 0 : data.elements.count() - 1; }
  std::string cell(int row, int column) const;
  int icon(int row) const;

  /// Adds an element after row `selected` (append when none). With an empty
  /// list `start` is the start point, appended first; its Mileage becomes the
  /// start mileage.
  int add(const Road_LineElement* start, const Road_LineElement& e, int selected);
  /// Replaces the element of `row`; for row 0 also the start point.
  bool edit(int row, const Road_LineElement* start, const Road_LineElement& e);
  /// Removes the element of `row`; when only the start point is left the list
  /// is emptied.
  bool remove(int row);

  /// What undo and redo give back: the records (start point first), their
  /// row numbers and the start mileage.
  using UndoState = std::tuple<RecordList<Road_LineElement>, std::vector<int>, double>;
  UndoState undoState() const { return {data.elements, rowNumbers_, data.startMileage}; }
  void restoreUndoState(UndoState state);

  void reload(const RoadDataSet& road, const std::string& title, const std::string& roadFolder);
  void store(CInputRoadLibrary& library, const std::string& roadPath);

  int filterKind() const override { return 2; }

 protected:
  const char* baseExtension() const override { return "LE"; }
  FlatMessage doCalculate() override;
  bool writeLineFile(const std::string& path) override;
  void saveStakeSettings(int calculateMode, double interval) override;
  const char* lineWrittenKey() const override { return "IDS_WARN_data_export_finish"; }
  const char* lineFailedKey() const override { return "IDS_WARN_road_load_error"; }
  const char* stakeFailedKey() const override { return "IDS_WARN_calculate_error"; }
};

/// The infinity sign of the radius columns.
std::string infinitySign();

}  // namespace trazmark
