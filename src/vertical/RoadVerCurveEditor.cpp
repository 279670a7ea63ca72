#include "vertical/RoadVerCurveEditor.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "platform/FieldRange.h"
#include "platform/TextFields.h"
#include "vertical/VerticalCurveCal.h"
#include "vertical/VerticalCurveFile.h"

namespace trazmark {
namespace {

constexpr const char* kVrFileName = "VerCurve.VR";

bool finite(double v) { return std::isfinite(v); }

}  // namespace

std::string CRoadVerCurveForm::refusal(const GradePointInput& in, std::optional<double> lowest,
                                       std::optional<double> highest) {
  using namespace field_limits;
  if (!finite(in.mileage) || !finite(in.elevation)) return "IDS_WARN_number_invalid";
  std::string key = firstOutOfRange({{in.mileage, {-kStation, kStation, "IDS_WARN_range_mileage"}},
                                     {in.elevation, {-kElevation, kElevation, "IDS_WARN_range_elevation"}}});
  if (!key.empty()) return key;
  // The grade line runs forward only: each point beyond the one before it and,
  // when editing, before the one after it, so that it never folds back.
  if (lowest && !(in.mileage > *lowest)) return "IDS_WARN_last_mileage_less_min";
  if (highest && !(in.mileage < *highest)) return "IDS_WARN_mileage_large_nextpoint";
  switch (in.kind) {
    case kVerCurveCircle:
      if (!finite(in.radius)) return "IDS_WARN_number_invalid";
      if (!(in.radius >= 0)) return "IDS_DATA_radius_can_not_be_negative";
      break;
    case kVerCurveSymmetricParabola:
      if (!finite(in.curveLength)) return "IDS_WARN_number_invalid";
      if (!(in.curveLength >= 0)) return "IDS_WARN_length_can_not_be_negative";
      break;
    case kVerCurveAsymmetricParabola:
      if (!finite(in.inLength) || !finite(in.outLength)) return "IDS_WARN_number_invalid";
      if (!(in.inLength >= 0) || !(in.outLength >= 0)) return "IDS_WARN_length_can_not_be_negative";
      break;
    default:
      return "IDS_WARN_number_invalid";
  }
  const FieldRange curveLength{0, kLength, "IDS_WARN_range_curve_length"};
  return firstOutOfRange({{in.radius, {0, kRadius, "IDS_WARN_range_radius"}},
                          {in.curveLength, curveLength},
                          {in.inLength, curveLength},
                          {in.outLength, curveLength}});
}

CVerticalCurveCal CRoadVerCurveForm::toRecord(const GradePointInput& in) {
  CVerticalCurveCal p;
  p.Mileage = in.mileage;
  p.High = in.elevation;
  p.CalMode = in.kind;
  switch (in.kind) {
    case kVerCurveSymmetricParabola:
      p.CurveL = in.curveLength;
      break;
    case kVerCurveAsymmetricParabola:
      p.InLength = in.inLength;
      p.OutLength = in.outLength;
      p.CurveL = in.inLength + in.outLength;
      break;
    default:
      p.Radius = in.radius;
      break;
  }
  return p;
}

GradePointInput CRoadVerCurveForm::fromRecord(const CVerticalCurveCal& p) {
  GradePointInput in;
  in.mileage = p.Mileage;
  in.elevation = p.High;
  in.kind = p.CalMode;
  switch (p.CalMode) {
    case kVerCurveSymmetricParabola:
      in.curveLength = p.CurveL;
      break;
    case kVerCurveAsymmetricParabola:
      in.inLength = p.InLength;
      in.outLength = p.OutLength;
      break;
    default:
      in.kind = kVerCurveCircle;
      in.radius = p.Radius;
      break;
  }
  return in;
}

void CRoadVerCurveEditor::load(const RecordList<CVerticalCurveCal>& roadPoints) {
  points_ = roadPoints;
  refreshGradePoints(points_);
  modified_ = false;
}

std::optional<double> CRoadVerCurveEditor::lowestForAdd() const {
  if (points_.empty()) return std::nullopt;
  return points_.back().Mileage;
}

std::optional<double> CRoadVerCurveEditor::lowestForEdit(int row) const {
  if (row <= 0 || row >= count()) return std::nullopt;
  return points_[static_cast<std::size_t>(row - 1)].Mileage;
}

std::optional<double> CRoadVerCurveEditor::highestForEdit(int row) const {
  if (row < 0 || row + 1 >= count()) return std::nullopt;
  return points_[static_cast<std::size_t>(row + 1)].Mileage;
}

std::string CRoadVerCurveEditor::add(const GradePointInput& input) {
  std::string key = CRoadVerCurveForm::refusal(input, lowestForAdd(), std::nullopt);
  if (!key.empty()) return key;
  points_.append(CRoadVerCurveForm::toRecord(input));
  changed();
  return {};
}

std::string CRoadVerCurveEditor::edit(int row, const GradePointInput& input) {
  if (row < 0 || row >= count()) return {};
  std::string key = CRoadVerCurveForm::refusal(input, lowestForEdit(row), highestForEdit(row));
  if (!key.empty()) return key;
  points_[static_cast<std::size_t>(row)] = CRoadVerCurveForm::toRecord(input);
  changed();
  return {};
}

bool CRoadVerCurveEditor::remove(int row) {
  if (row < 0 || !points_.removeAt(static_cast<std::size_t>(row))) return false;
  changed();
  return true;
}

void CRoadVerCurveEditor::saveTo(RecordList<CVerticalCurveCal>& roadPoints) {
  roadPoints = points_;
  modified_ = false;
}

void CRoadVerCurveEditor::changed() {
  // Every change moves the grades of the neighbours, so the whole list is
  // refreshed.
  refreshGradePoints(points_);
  modified_ = true;
}

std::string CRoadVerCurveEditor::cellText(int row, int column) const {
  if (row < 0 || row >= count()) return {};
  const CVerticalCurveCal& p = points_[static_cast<std::size_t>(row)];
  switch (column) {
    case kColumnIndex: return formatInt(row + 1);
    case kColumnMileage: return formatFixed(p.Mileage, 3);
    case kColumnElevation: return formatFixed(p.High, 3);
    case kColumnRadius: return formatFixed(p.Radius, 3);
    default: return {};
  }
}

bool CRoadVerCurveEditor::isParabola(int row) const {
  return row >= 0 && row < count() && points_[static_cast<std::size_t>(row)].CalMode != kVerCurveCircle;
}

bool CRoadVerCurveEditor::handOverProfile(const RecordList<CVerticalCurveCal>& points,
                                          const std::function<void(const std::string&)>& show) {
  // A folder of our own (mode 0700) rather than a fixed name in a shared
  // place: no other user can read, replace or race for the file.
  const char* base = std::getenv("TMPDIR");
  std::string pattern = std::string(base != nullptr && *base != '\0' ? base : "/tmp") + "/trazmark-XXXXXX";
  if (::mkdtemp(pattern.data()) == nullptr) return false;
  const std::string path = pattern + "/" + kVrFileName;
  const bool written = writeVerticalCurveFile(path, points);
  if (written && show) show(path);
  std::remove(path.c_str());
  ::rmdir(pattern.c_str());
  return written;
}

}  // namespace trazmark
