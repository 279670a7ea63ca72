#pragma once
// The fields of the horizontal alignment dialogs turned into records, and the
// message key that refuses them. The windows only show the fields.

#include <array>
#include <string>

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
  /// "IDS_WARN_no_input_coordinate" when the name, north, east or elevation
  /// text is empty; "IDS_DATA_radius_can_not_be_negative" for a radius below
  /// 0 (or not a number); else empty.
  std::string refuse() const;
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
  /// keeps -1 for an infinite radius, so it would come back infinite).
  std::string refuse() const;
  Road_LineElement record() const;
  Road_LineElement startRecord() const;
};

}  // namespace trazmark
