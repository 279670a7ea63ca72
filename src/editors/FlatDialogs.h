#pragma once
// The fields of the horizontal alignment dialogs turned into records, and the
// message key that refuses them. The windows only show the fields.

#include <array>
#include <string>
#include <vector>

#include "records/RoadRecords.h"

namespace trazmark {

/// Point dialog of the intersection-point page.
struct CrossPointFields {
  double leftLength = 0;   ///< entry spiral
  double rightLength = 0;  ///< exit spiral
  double radius = 0;
  double mileage = 0;
  std::string name;
  std::string north;
  std::string east;
  std::string elevation;

  static CrossPointFields from(const Road_CrossPoint& p);
  /// The key naming the first field that cannot be taken, top down, or empty:
  /// "IDS_DATA_radius_can_not_be_negative" for a radius below 0; a key of
  /// FieldRange.h for a number out of its range or not a number (spirals
  /// 0..1e6 m, radius 0..1e7 m, mileage ±1e8 m, north and east ±1e9 m as the
  /// alignment takes them, elevation ±1e5 m); "IDS_WARN_spiral_without_radius"
  /// for spiral lengths at a point without a curve (radius 0), which the
  /// alignment would drop; "IDS_WARN_no_point_name" for an empty name. An
  /// empty elevation is 0 (the horizontal alignment does not use it).
  std::string refuse() const;
  /// True when another point of `points` has this name; `edited` is the
  /// point being edited (its own name does not count once), null for a new one.
  bool nameTaken(const RecordList<Road_CrossPoint>& points, const Road_CrossPoint* edited) const;
  Road_CrossPoint record() const;
};

/// Element dialog of the element page. `kind` is the index in the kind list:
/// 0 start point, 1 line, 2 arc, 3 spiral (element Type kind + 1).
struct ElementFields {
  int kind = 1;
  std::string text;
  double first = 0;
  double second = 0;
  double third = 0;

  /// Label keys of the text field and the three numbers; nullptr: hidden.
  static std::array<const char*, 4> labelKeys(int kind);
  /// The kind the list may show: a start point only for the first element.
  static int allowedKind(int kind, bool firstElement);
  static ElementFields from(const Road_Element& e);
  /// The key naming the first field out of its range, or empty: the start
  /// point's coordinates (north and east ±1e9 m, elevation ±1e5 m), a line's
  /// azimuth (0..360, "IDS_WARN_angle_error") and length, an arc's radius (its
  /// size 0.001..1e7 m, the sign giving the side) and length, a spiral's
  /// length (lengths 0.001..1e6 m).
  std::string refuse() const;
  Road_Element record() const;
};

/// Element dialog of the line-element page. `type` is the index in the type
/// list: 0 line, 1 arc, 2 spiral (Type type + 2); `direction` 0 left, 1 right.
struct LineElementFields {
  bool withStart = false;  ///< the start point is entered too
  double north = 0;
  double east = 0;
  double mileage = 0;
  double azimuth = 0;  ///< ddd.mmss as typed
  int type = 0;
  double startRadius = 0;
  double endRadius = 0;
  double length = 0;
  bool startInfinite = false;
  bool endInfinite = false;
  int direction = 0;

  /// Which fields the type enables: start radius, end radius, the infinite
  /// boxes, direction.
  static bool startRadiusEnabled(int type) { return type == 1 || type == 2; }
  static bool endRadiusEnabled(int type) { return type == 2; }
  static bool infiniteEnabled(int type) { return type == 2; }
  static bool directionEnabled(int type) { return type == 1 || type == 2; }

  static LineElementFields from(const Road_LineElement& e, const Road_LineElement* start);
  /// "IDS_WARN_angle_error" for a start azimuth outside 0..360,
  /// "IDS_WARN_same_infinite" for a spiral infinite at both ends,
  /// "IDS_WARN_left_radius_one" for a left radius of exactly 1 m (the LE file
  /// keeps -1 for an infinite radius, so it would come back infinite); a key
  /// of FieldRange.h for a number out of its range or not a number (north and
  /// east ±1e9 m, mileage ±1e8 m, radii that are not infinite 0.001..1e7 m,
  /// the length's size 0.001..1e6 m).
  std::string refuse() const;
  Road_LineElement record() const;
  Road_LineElement startRecord() const;
};

}  // namespace trazmark
