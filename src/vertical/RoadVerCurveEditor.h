#pragma once
// The rules of the grade-point editor: its working copy of the road's grade
// points with the modified flag, add, edit and delete with their bounds, the
// list's texts, saving into the road, and the hand-off of the grade line to
// the profile through a VR file in a private temporary folder.
//
// No window here: the view shows what these rules decide, and names the
// message key they return when they refuse an input.

#include <functional>
#include <optional>
#include <string>
#include <tuple>

#include "records/RoadRecords.h"

namespace trazmark {

/// The kinds of vertical curve a grade point can carry (its CalMode).
enum VerCurveKind : int32_t {
  kVerCurveCircle = 0,              ///< a circle of the given radius
  kVerCurveSymmetricParabola = 1,   ///< a parabola of the given length, centred on the point
  kVerCurveAsymmetricParabola = 2,  ///< a parabola with its lengths before and after the point
};

/// What the point dialog gives: every number in metres.
struct GradePointInput {
  double mileage = 0;
  double elevation = 0;
  int32_t kind = kVerCurveCircle;
  double radius = 0;        ///< circle
  double curveLength = 0;   ///< symmetric parabola: whole length
  double inLength = 0;      ///< asymmetric parabola: length before the point
  double outLength = 0;     ///< asymmetric parabola: length after the point
};

/// The rules of the point dialog (the bounds come from the editor).
class CRoadVerCurveForm {
 public:
  /// The message key that refuses `input`, or empty when it is accepted.
  /// Beyond the order and signs, each number keeps its range and its key
  /// names the field: mileage ±1e8 m, elevation ±1e5 m, radius up to 1e7 m,
  /// parabola lengths up to 1e6 m (fields of the other kinds are 0).
  /// @param lowest the mileage the point must lie beyond (the point before
  ///   it); none for a first point, which may lie at any station.
  /// @param highest the mileage the point must stay before (the point after
  ///   it, when editing); none for the last point.
  static std::string refusal(const GradePointInput& input, std::optional<double> lowest,
                             std::optional<double> highest);
  /// The grade point the calculation uses: the curve fields of the chosen
  /// kind, the others 0. An asymmetric parabola's CurveL is the sum of its
  /// two lengths; a symmetric parabola's radius follows from its length when
  /// the list is refreshed (refreshGradePoints).
  static CVerticalCurveCal toRecord(const GradePointInput& input);
  /// The dialog's fields for a stored point.
  static GradePointInput fromRecord(const CVerticalCurveCal& point);
};

/// The working copy of the grade-point editor.
class CRoadVerCurveEditor {
 public:
  /// The list columns: "#", mileage, elevation, radius.
  enum Column { kColumnIndex = 0, kColumnMileage, kColumnElevation, kColumnRadius, kColumnCount };

  /// Copies the road's grade points, refreshes them and clears the flag.
  void load(const RecordList<CVerticalCurveCal>& roadPoints);
  const RecordList<CVerticalCurveCal>& points() const { return points_; }
  int count() const { return points_.count(); }
  bool modified() const { return modified_; }
  /// The view's undo decides whether the points differ from the road's.
  void setModified(bool modified) { modified_ = modified; }

  /// What undo and redo give back: the working list, grades as refreshed.
  using UndoState = std::tuple<RecordList<CVerticalCurveCal>>;
  UndoState undoState() const { return {points_}; }
  void restoreUndoState(UndoState state) { points_ = std::move(std::get<0>(state)); }

  /// Bounds of a new point: beyond the last point (none for an empty list).
  std::optional<double> lowestForAdd() const;
  /// Bounds of an edited point: between its neighbours.
  std::optional<double> lowestForEdit(int row) const;
  std::optional<double> highestForEdit(int row) const;

  /// Appends a point; returns the refusing message key, or empty when added.
  std::string add(const GradePointInput& input);
  /// Replaces the point of `row`; returns the refusing key, or empty. A row
  /// out of range changes nothing and returns empty.
  std::string edit(int row, const GradePointInput& input);
  /// Removes the point of `row`; false when there is no such row.
  bool remove(int row);

  /// Copies the working list into the road's list and clears the flag.
  void saveTo(RecordList<CVerticalCurveCal>& roadPoints);

  /// The text of a cell: "%d" (1-based) and the numbers "%.3f".
  std::string cellText(int row, int column) const;
  /// True when the row's curve is a parabola (the list's second icon).
  bool isParabola(int row) const;

  /// Writes the grade line as "VerCurve.VR" into a new private temporary
  /// folder, calls `show` with its path and removes the file and the folder
  /// afterwards. Returns false (and does not call `show`) when the file
  /// cannot be written.
  static bool handOverProfile(const RecordList<CVerticalCurveCal>& points,
                              const std::function<void(const std::string& path)>& show);

 private:
  void changed();

  RecordList<CVerticalCurveCal> points_;
  bool modified_ = false;
};

}  // namespace trazmark
