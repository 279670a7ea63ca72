#pragma once
// The grade-point calculation: the start and end of each point's vertical
// curve, the elevation at a mileage, the grades the grade-point editor shows,
// and the grade line of a whole list of grade points.
//
// Units: mileages and elevations in metres; the stored grades I1 and I2 of a
// CVerticalCurveCal are percent (2.0 means 2 %), taken as fractions inside.

#include <cstddef>
#include <vector>

#include "records/RoadRecords.h"

namespace trazmark {

/// Fills the working fields of a grade point from its stored fields:
/// calcFlag (+1 crest, -1 sag, 0 no change of grade), calc1/calc2 (mileage
/// and elevation of the curve start), calc3/calc4 (curve end) and, for a
/// circular curve, calc5/calc6 (the circle's centre).
///  - CalMode 0, circle of `Radius`: tangent length T = R tan(|θ1 − θ2|/2).
///  - CalMode 1, symmetric parabola: the curve spans `CurveL` centred on the point.
///  - CalMode 2, asymmetric parabola: `InLength` before and `OutLength` after it.
/// @return false for an unknown CalMode, a stored value that is not a finite
///   number, or a negative radius of a circle or symmetric parabola; the curve
///   then shrinks to the point itself (start = end = (Mileage, High)), so that a
///   grade line over the list still finds its way past the point.
bool setupVerticalCurve(CVerticalCurveCal& point);

/// Sets up every point of the list; false when any point fails.
bool setupVerticalCurves(RecordList<CVerticalCurveCal>& points);

/// The elevation at `mileage` on the curve of one set-up grade point, and on
/// its grade lines before the curve start (grade I1) and after its end (I2).
/// A symmetric parabola bends by the radius CurveL / |I1 − I2|, so that it
/// meets both grades at the ends of its length (the stored radius only where
/// it has no length or no change of grade). A station a hair beyond the length
/// of an asymmetric parabola by rounding gets the curve's end elevation.
/// @return false for a point that fails setupVerticalCurve's checks, or when
///   the formulas give no finite elevation (a parabola of radius or length 0).
bool elevationAt(const CVerticalCurveCal& point, double mileage, double& elevation);

/// The grade-point editor's refresh of its list: the first and last points
/// get I1 = I2 = 0 (as the VR file and the road file keep them); an interior
/// point gets the grades to its neighbours (percent) and, in OutLength, the
/// tangent length R·|atan I1 − atan I2|/2. An asymmetric parabola (CalMode 2)
/// keeps its OutLength, which is the curve's length after the point. Radii are
/// left as stored. Two points at the same mileage give a grade of 0 between
/// them instead of an infinite one.
void refreshGradePoints(RecordList<CVerticalCurveCal>& points);

/// The index of the grade point whose calculation gives the grade line's
/// elevation at `station`: the first point whose curve end is not before the
/// station; a station after the curve end of the second-to-last point takes
/// that point, whose grade after it runs on through the last point. The points
/// must be set up. -1 for an empty list or a station that is not a number.
int gradePointIndexForStation(const RecordList<CVerticalCurveCal>& points, double station);

/// The grade line's elevation at `station` (see CGradeLine).
bool elevationOnGradeLine(const RecordList<CVerticalCurveCal>& points, double station,
                          double& elevation);

/// The grade line of a list of grade points, for many stations. The line
/// passes through every grade point: its grades come from the positions of
/// the points, whatever grades are stored (the first and last points keep 0 in
/// the files), so beyond the curves it is the straight grade joining two
/// points, the first grade runs back before the first point and the last one
/// on past the last point; a list of two points is a single grade. The running
/// curve ends that choose a point are gathered once, so each station costs a
/// bisection (elevationOnGradeLine gathers them per call).
class CGradeLine {
 public:
  /// @param points grade points in mileage order (stored fields; set up here)
  explicit CGradeLine(const RecordList<CVerticalCurveCal>& points);
  bool empty() const { return points_.empty(); }
  /// The elevation at `station` (metres); false for an empty list, NaN, or a
  /// point whose values give no elevation.
  bool elevationAt(double station, double& elevation) const;
  /// The points as the line runs through them: grades from the neighbours, set up.
  const RecordList<CVerticalCurveCal>& points() const { return points_; }
  /// The running maximum of the points' curve ends.
  const std::vector<double>& runningEnds() const { return runningEnds_; }

 private:
  RecordList<CVerticalCurveCal> points_;
  std::vector<double> runningEnds_;
};

/// One sample of the grade line.
struct GradeLineSample {
  double mileage;
  double elevation;
};

/// Samples the grade line as the profile draws it: from the curve start of
/// the first point, every `interval` metres, while below the curve end of the
/// last point. Stations whose elevation cannot be computed are left out.
/// With `withEnd` the curve end of the last point is sampled too (when it is
/// not on the raster already), so that the last stretch is not cut short.
/// @return false (and `samples` empty) for an empty list, an interval that is
///   not positive, or more than `maxSamples` stations.
bool sampleGradeLine(const RecordList<CVerticalCurveCal>& points, double interval,
                     std::vector<GradeLineSample>& samples,
                     std::size_t maxSamples = 1000000, bool withEnd = false);

/// The profile's sampling interval, in metres of mileage.
constexpr double kProfileSampleInterval = 20.0;

/// The grade line as the profile map draws it and `trazmark-cli profile
/// --interval 20 --with-end` prints it: every 20 m and the end.
bool sampleProfileLine(const RecordList<CVerticalCurveCal>& points,
                       std::vector<GradeLineSample>& samples);

}  // namespace trazmark
