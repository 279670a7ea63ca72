#pragma once
// One element of a computed horizontal alignment.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <variant>

#include "alignment/StationPoint.h"
#include "alignment/XHuanQu.h"
#include "alignment/XLine.h"
#include "alignment/XLuoXuan.h"
#include "alignment/XYuan.h"

namespace trazmark {

/// Kind of an alignment element.
enum ElementType : int32_t {
  kElementStartPoint = 1,
  kElementLine = 2,
  kElementArc = 3,
  kElementSpiral = 4,
};

/// One element of the chain: a plain record, held by value in the engine's
/// element list. Coordinates are metres (X north, Y east), azimuths radians
/// clockwise from north, radii signed (positive turns right, 0 = infinite).
class CRoadElement {
 public:
  int32_t type = 0;  ///< ElementType
  double startX = 0;
  double startY = 0;
  double endX = 0;  ///< computed
  double endY = 0;  ///< computed
  double startAzimuth = 0;
  double endAzimuth = 0;  ///< computed
  double length = 0;
  double startRadius = 0;  ///< an arc's radius; a spiral's radius at its start
  double endRadius = 0;    ///< a spiral's radius at its end; an arc's is set by computeEnd
  double startMileage = 0;
  double endMileage = 0;  ///< computed: startMileage + length

  /// Fills the element from input values and sets its `type` to mode + 1:
  /// - mode 0, start point: startX = value2, startY = value1;
  /// - mode 1, line: length = value1, startAzimuth = value2 (decimal degrees);
  ///   a zero length is accepted;
  /// - mode 2, arc: length = value1, startRadius = value2; needs length > 1e-10;
  /// - mode 3, spiral: length = value1; needs length > 1e-10 (its radii come
  ///   from its neighbours when the chain is built).
  /// Fails, changing nothing, for any other mode and for values that are not finite.
  bool setParameter(double value1, double value2, int mode);

  /// Computes endX, endY, endAzimuth and endMileage from the start fields (for a
  /// spiral also from both radii; an arc's endRadius becomes its startRadius).
  /// Fails when the geometry cannot be set up: an arc of |R| < 1e-6, a spiral of
  /// radii both infinite (0) or both equal, a spiral reaching a radius below
  /// 0.0001 m, an unknown kind, or a result that is not finite.
  bool computeEnd();

  /// The point at `mileage` and `offset` metres right of travel (negative:
  /// left). The mileage is not checked against the element's range: outside it
  /// the element's own geometry is extended. A line reports its startAzimuth.
  /// Empty for a start point, an unknown kind or an element that cannot be
  /// evaluated.
  std::optional<StationPoint> pointAtMileage(double mileage, double offset) const;

  /// pointAtMileage at `count` mileages, the geometry set up once: `out[i]`
  /// for `mileages[i]`. Returns how many points were evaluated: `count`, or
  /// the index of the first that cannot be (the points before it are filled).
  std::size_t pointsAtMileages(const double* mileages, std::size_t count, double offset,
                        StationPoint* out) const;

 private:
  std::optional<StationPoint> pointAtDistance(double s, double offset) const;
};

/// An element's geometry set up once for many evaluations: the same points as
/// the element's own pointAtMileage, without setting the curve up each time.
/// Holds a reference to the element, which must outlive it.
class CElementCurve {
 public:
  explicit CElementCurve(const CRoadElement& element);
  /// As element.pointAtMileage(mileage, offset).
  std::optional<StationPoint> pointAtMileage(double mileage, double offset) const;
  /// The point `s` metres from the element's start, `offset` right of travel,
  /// unchecked (empty only when the curve could not be set up or evaluated).
  std::optional<StationPoint> pointAtDistance(double s, double offset) const;
  /// As element.pointsAtMileages: the kind of curve chosen once for them all.
  std::size_t pointsAtMileages(const double* mileages, std::size_t count, double offset,
                               StationPoint* out) const;

 private:
  const CRoadElement& element_;
  std::variant<std::monostate, CXLine, CXYuan, CXLuoXuan, CXHuanQu> curve_;
};

}  // namespace trazmark
