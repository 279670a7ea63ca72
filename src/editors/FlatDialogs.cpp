#include "editors/FlatDialogs.h"

#include <cmath>
#include <limits>

#include "alignment/RoadDesign.h"
#include "coords/AngleFormat.h"
#include "platform/FieldRange.h"
#include "platform/NumberField.h"
#include "platform/TextFields.h"

namespace trazmark {

CrossPointFields CrossPointFields::from(const Road_CrossPoint& p) {
  CrossPointFields f;
  f.leftLength = p.CurveLength_Left;
  f.rightLength = p.CurveLength_Right;
  f.radius = p.Radius;
  f.mileage = p.Mileage;
  f.name = p.point.Name;
  f.north = formatFixed(p.point.X, 4);
  f.east = formatFixed(p.point.Y, 4);
  f.elevation = formatFixed(p.point.Z, 4);
  return f;
}

namespace {

using namespace field_limits;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kCoordinate = CRoadDesign::kMaxLocateCoordinate;
constexpr double kShortest = 1e-3;  // one millimetre: a shorter element is a typing error

constexpr FieldRange kNorthRange{-kCoordinate, kCoordinate, "IDS_WARN_range_north"};
constexpr FieldRange kEastRange{-kCoordinate, kCoordinate, "IDS_WARN_range_east"};
constexpr FieldRange kElevationRange{-kElevation, kElevation, "IDS_WARN_range_elevation"};
constexpr FieldRange kMileageRange{-kStation, kStation, "IDS_WARN_range_mileage"};
constexpr FieldRange kLengthRange{kShortest, kLength, "IDS_WARN_range_length"};
constexpr FieldRange kArcRadiusRange{kShortest, kRadius, "IDS_WARN_range_arc_radius"};

// A typed number; NaN (refused by every range) when the text is not one.
double typedNumber(const std::string& text) {
  double v = kNaN;
  return parseNumberField(text, v) ? v : kNaN;
}

}  // namespace

std::string CrossPointFields::refuse() const {
  // The curve turns to the side the points give; a signed radius would be
  // taken as no curve at all.
  if (radius < 0) return "IDS_DATA_radius_can_not_be_negative";
  std::string key = firstOutOfRange({{leftLength, {0, kLength, "IDS_WARN_range_entry_spiral"}},
                                     {rightLength, {0, kLength, "IDS_WARN_range_exit_spiral"}},
                                     {radius, {0, kRadius, "IDS_WARN_range_radius"}},
                                     {mileage, kMileageRange}});
  if (!key.empty()) return key;
  if (radius == 0 && (leftLength > 0 || rightLength > 0)) return "IDS_WARN_spiral_without_radius";
  if (trimWhiteSpace(name).empty()) return "IDS_WARN_no_point_name";
  const double z = trimWhiteSpace(elevation).empty() ? 0.0 : typedNumber(elevation);
  return firstOutOfRange({{typedNumber(north), kNorthRange}, {typedNumber(east), kEastRange}, {z, kElevationRange}});
}

bool CrossPointFields::nameTaken(const RecordList<Road_CrossPoint>& points, const Road_CrossPoint* edited) const {
  bool ownSkipped = edited == nullptr;
  for (const Road_CrossPoint& p : points) {
    if (p.point.Name != name) continue;
    if (!ownSkipped && edited->point.Name == name) {
      ownSkipped = true;
      continue;
    }
    return true;
  }
  return false;
}

Road_CrossPoint CrossPointFields::record() const {
  Road_CrossPoint p;
  p.CurveLength_Left = leftLength;
  p.CurveLength_Right = rightLength;
  p.Radius = radius;
  p.Mileage = mileage;
  p.point.Name = name;
  p.point.X = parseDecimal(north);
  p.point.Y = parseDecimal(east);
  p.point.Z = parseDecimal(elevation);
  return p;
}

std::array<const char*, 4> ElementFields::labelKeys(int kind) {
  switch (kind) {
    case 0: return {"IDS_DATA_pt_name", "IDS_DATA_coordinate_north", "IDS_DATA_coordinate_east", "IDS_DATA_coordinate_hight"};
    case 1: return {"IDS_DATA_position", "IDS_DATA_length", nullptr, nullptr};
    case 2: return {"IDS_DATA_radius", "IDS_DATA_length", nullptr, nullptr};
    default: return {"IDS_DATA_length", nullptr, nullptr, nullptr};
  }
}

int ElementFields::allowedKind(int kind, bool firstElement) {
  if (firstElement) return 0;
  if (kind <= 0 || kind > 3) return 1;
  return kind;
}

ElementFields ElementFields::from(const Road_Element& e) {
  ElementFields f;
  f.kind = e.Type >= 1 && e.Type <= 4 ? e.Type - 1 : 1;
  switch (e.Type) {
    case 1:
      f.text = e.point.Name;
      f.first = e.point.X;
      f.second = e.point.Y;
      f.third = e.point.Z;
      break;
    case 2:
      f.text = formatDms(e.Azimuth);
      f.first = e.Length;
      break;
    case 3:
      f.text = formatFixed(e.Radius, 6);
      f.first = e.Length;
      break;
    default:
      f.text = formatFixed(e.Length, 6);
      break;
  }
  return f;
}

std::string ElementFields::refuse() const {
  switch (kind) {
    case 0:
      return firstOutOfRange({{first, kNorthRange}, {second, kEastRange}, {third, kElevationRange}});
    case 1: {
      const double azimuth = typedNumber(text);
      if (!(azimuth >= 0 && azimuth <= 360)) return "IDS_WARN_angle_error";
      return firstOutOfRange({{first, kLengthRange}});
    }
    case 2:
      return firstOutOfRange({{std::fabs(typedNumber(text)), kArcRadiusRange}, {first, kLengthRange}});
    default:
      return firstOutOfRange({{typedNumber(text), kLengthRange}});
  }
}

Road_Element ElementFields::record() const {
  Road_Element e;
  e.Type = kind + 1;
  switch (kind) {
    case 0:
      e.point.Name = text;
      e.point.X = first;
      e.point.Y = second;
      e.point.Z = third;
      break;
    case 1:
      e.Azimuth = parseAngle(text);
      e.Length = first;
      break;
    case 2:
      e.Radius = parseDecimal(text);  // its sign gives the side
      e.Length = first;
      break;
    default:
      e.Length = parseDecimal(text);
      break;
  }
  return e;
}

LineElementFields LineElementFields::from(const Road_LineElement& e, const Road_LineElement* start) {
  LineElementFields f;
  f.type = e.Type == 2 ? 0 : e.Type == 3 ? 1 : 2;
  f.startInfinite = e.StartRadius == -1.0;
  f.endInfinite = e.EndRadius == -1.0;
  f.startRadius = f.startInfinite ? 0 : std::fabs(e.StartRadius);
  f.endRadius = f.endInfinite ? 0 : std::fabs(e.EndRadius);
  f.length = e.Length;
  f.direction = e.Deviation == 1 ? 1 : 0;
  if (start != nullptr) {
    f.withStart = true;
    f.north = start->point.X;
    f.east = start->point.Y;
    f.mileage = start->Mileage;
    f.azimuth = start->Azimuth;
  }
  return f;
}

std::string LineElementFields::refuse() const {
  if (withStart && !(azimuth >= 0 && azimuth <= 360)) return "IDS_WARN_angle_error";
  if (type == 2 && startInfinite && endInfinite) return "IDS_WARN_same_infinite";
  if (direction == 0) {
    const bool startOne = startRadiusEnabled(type) && !(type == 2 && startInfinite) && std::fabs(startRadius) == 1.0;
    const bool endOne = endRadiusEnabled(type) && !endInfinite && std::fabs(endRadius) == 1.0;
    if (startOne || endOne) return "IDS_WARN_left_radius_one";
  }
  if (withStart) {
    const std::string key = firstOutOfRange({{north, kNorthRange}, {east, kEastRange}, {mileage, kMileageRange}});
    if (!key.empty()) return key;
  }
  if (startRadiusEnabled(type) && !(type == 2 && startInfinite) &&
      !withinRange(std::fabs(startRadius), {kShortest, kRadius, ""}))
    return "IDS_WARN_range_start_radius";
  if (endRadiusEnabled(type) && !endInfinite && !withinRange(std::fabs(endRadius), {kShortest, kRadius, ""}))
    return "IDS_WARN_range_end_radius";
  return firstOutOfRange({{std::fabs(length), kLengthRange}});
}

Road_LineElement LineElementFields::record() const {
  Road_LineElement e;
  e.Type = type + 2;
  e.Length = std::fabs(length);
  e.Azimuth = 0;
  const double sign = direction == 0 ? -1.0 : 1.0;
  if (e.Type == 2) {
    e.StartRadius = -1;
    e.EndRadius = -1;
    e.Deviation = -1;
  } else if (e.Type == 3) {
    e.StartRadius = e.EndRadius = e.spare1 = sign * std::fabs(startRadius);
    e.Deviation = direction;
  } else {
    e.StartRadius = startInfinite ? -1.0 : sign * std::fabs(startRadius);
    e.EndRadius = endInfinite ? -1.0 : sign * std::fabs(endRadius);
    e.Deviation = direction;
  }
  return e;
}

Road_LineElement LineElementFields::startRecord() const {
  Road_LineElement s;
  s.Type = 1;
  s.point.X = north;
  s.point.Y = east;
  s.Mileage = mileage;
  s.Azimuth = azimuth;
  s.Length = std::fabs(length);
  s.StartRadius = -1;
  s.EndRadius = -1;
  s.Deviation = -1;
  return s;
}

}  // namespace trazmark
