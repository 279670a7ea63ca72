#include "vertical/VerticalCurveCal.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace trazmark {
namespace {

constexpr double kHalfPi = 1.5707963267948966;

enum CurveMode : int32_t { kCircle = 0, kSymmetricParabola = 1, kAsymmetricParabola = 2 };

bool storedFieldsUsable(const CVerticalCurveCal& p) {
  if (p.CalMode != kCircle && p.CalMode != kSymmetricParabola && p.CalMode != kAsymmetricParabola)
    return false;
  for (double v : {p.Mileage, p.High, p.I1, p.I2, p.Radius, p.InLength, p.OutLength, p.CurveL})
    if (!std::isfinite(v)) return false;
  // An asymmetric parabola takes no radius; the other two curves need one >= 0.
  if (p.CalMode != kAsymmetricParabola && !(p.Radius >= 0)) return false;
  return true;
}

bool workingFieldsFinite(const CVerticalCurveCal& p) {
  for (double v : {p.calc1, p.calc2, p.calc3, p.calc4, p.calc5, p.calc6})
    if (!std::isfinite(v)) return false;
  return true;
}

/// Grade (a fraction) from point a to point b over the mileage between them.
double gradeBetween(const CVerticalCurveCal& a, const CVerticalCurveCal& b) {
  const double run = std::fabs(b.Mileage - a.Mileage);
  if (!(run > 0)) return 0;
  const double grade = (b.High - a.High) / run;
  return std::isfinite(grade) ? grade : 0;
}

/// Running maximum of the curve ends: the first point whose curve end is not
/// before a station is the first index where this maximum reaches it, and the
/// maximum is sorted, so it can be searched by bisection.
std::vector<double> runningCurveEnds(const RecordList<CVerticalCurveCal>& points) {
  std::vector<double> ends;
  ends.reserve(points.size());
  double running = -HUGE_VAL;
  for (const auto& p : points) {
    if (p.calc3 > running) running = p.calc3;
    ends.push_back(running);
  }
  return ends;
}

/// The radius of a symmetric parabola: the one that meets both grades at the
/// ends of its length, CurveL / |I1 − I2|; the stored radius where the length
/// or the change of grade gives none.
double symmetricParabolaRadius(const CVerticalCurveCal& p, double i1, double i2) {
  const double gradeChange = std::fabs(i1 - i2);
  if (p.CurveL > 0 && gradeChange > 0) return p.CurveL / gradeChange;
  return p.Radius;
}

/// The points as the grade line runs through them: every grade from the
/// positions of the neighbours, so that the line passes through each grade
/// point whatever grades were stored, the first point taking the grade to the
/// second and the last the grade from the one before it (a list of two points
/// is one grade); then set up.
RecordList<CVerticalCurveCal> lineThroughPoints(const RecordList<CVerticalCurveCal>& stored) {
  RecordList<CVerticalCurveCal> points = stored;
  const std::size_t n = points.size();
  for (std::size_t i = 0; i < n && n >= 2; ++i) {
    const double before = gradeBetween(points[i == 0 ? 0 : i - 1], points[i == 0 ? 1 : i]);
    const double after = i + 1 == n ? gradeBetween(points[n - 2], points[n - 1])
                                    : gradeBetween(points[i], points[i + 1]);
    points[i].I1 = before * 100;
    points[i].I2 = after * 100;
  }
  setupVerticalCurves(points);
  return points;
}

int chooseGradePoint(const RecordList<CVerticalCurveCal>& points,
                     const std::vector<double>& runningEnds, double station) {
  const std::size_t n = points.size();
  if (n == 0 || std::isnan(station)) return -1;
  // The last point has no grade after it (its I2 is 0): past the curve of the
  // point before it, that point carries the last grade on to the end.
  if (n >= 2 && station > points[n - 2].calc3) return static_cast<int>(n - 2);
  const auto it = std::lower_bound(runningEnds.begin(), runningEnds.end(), station);
  if (it == runningEnds.end()) return static_cast<int>(n - 1);
  return static_cast<int>(it - runningEnds.begin());
}

}  // namespace

bool setupVerticalCurve(CVerticalCurveCal& p) {
  const double i1 = p.I1 / 100.0;
  const double i2 = p.I2 / 100.0;
  p.calcFlag = i1 > i2 ? 1 : (i1 < i2 ? -1 : 0);
  p.calc5 = p.calc6 = 0;
  if (!storedFieldsUsable(p)) {
    p.calc1 = p.calc3 = p.Mileage;
    p.calc2 = p.calc4 = p.High;
    return false;
  }
  const double theta1 = std::atan(i1);
  const double theta2 = std::atan(i2);
  switch (p.CalMode) {
    case kCircle: {
      const double tangent = p.Radius * std::tan(std::fabs(theta1 - theta2) / 2);
      p.calc1 = p.Mileage - tangent * std::cos(theta1);
      p.calc2 = p.High - tangent * std::sin(theta1);
      p.calc3 = p.Mileage + tangent * std::cos(theta2);
      p.calc4 = p.High + tangent * std::sin(theta2);
      // The centre lies a radius from the curve start, square to the first
      // grade: below it on a crest, above it in a sag.
      const double toCentre = theta1 - p.calcFlag * kHalfPi;
      p.calc5 = p.calc1 + p.Radius * std::cos(toCentre);
      p.calc6 = p.calc2 + p.Radius * std::sin(toCentre);
      break;
    }
    case kSymmetricParabola:
      p.calc1 = p.Mileage - p.CurveL / 2;
      p.calc2 = p.High - i1 * p.CurveL / 2;
      p.calc3 = p.Mileage + p.CurveL / 2;
      p.calc4 = p.High + i2 * p.CurveL / 2;
      break;
    default:  // kAsymmetricParabola
      p.calc1 = p.Mileage - p.InLength;
      p.calc2 = p.High - i1 * p.InLength;
      p.calc3 = p.Mileage + p.OutLength;
      p.calc4 = p.High + i2 * p.OutLength;
      break;
  }
  return workingFieldsFinite(p);
}

bool setupVerticalCurves(RecordList<CVerticalCurveCal>& points) {
  bool allSetUp = true;
  for (auto& p : points) allSetUp = setupVerticalCurve(p) && allSetUp;
  return allSetUp;
}

bool elevationAt(const CVerticalCurveCal& p, double x, double& elevation) {
  if (!storedFieldsUsable(p) || std::isnan(x)) return false;
  const double i1 = p.I1 / 100.0;
  const double i2 = p.I2 / 100.0;
  const int k = p.calcFlag;
  const double bvc = p.calc1;
  const double evc = p.calc3;
  double e = 0;
  if (p.CalMode == kCircle) {
    if (x < bvc) {
      e = p.calc2 - i1 * (bvc - x);
    } else if (x > evc) {
      e = p.calc4 + i2 * (x - evc);
    } else if (k == 0) {
      // No change of grade: the curve is the single point on the grade line
      // (the circle's centre lies along the grade, not beside it).
      e = p.calc2 + i1 * (x - bvc);
    } else {
      const double dx = x - p.calc5;
      // Rounding can put the ends a hair outside the circle.
      e = p.calc6 + k * std::sqrt(std::max(0.0, p.Radius * p.Radius - dx * dx));
    }
  } else if (x < bvc) {
    e = p.High - (p.Mileage - x) * i1;
  } else if (x > evc) {
    e = p.High - (p.Mileage - x) * i2;
  } else if (p.CalMode == kSymmetricParabola) {
    const double d = x - bvc;
    const double radius = symmetricParabolaRadius(p, i1, i2);
    e = p.High + i1 * (x - p.Mileage) - (k == 0 || d == 0 ? 0.0 : k * d * d / (2 * radius));
  } else {
    const double d = x - bvc;
    const double l1 = p.InLength;
    const double l2 = p.OutLength;
    const double length = p.CurveL;
    const double gradeChange = i2 - i1;
    const double start = p.High - i1 * l1;
    if (d <= l1) {
      const double a1 = l2 * gradeChange / (length * l1);
      e = start + i1 * d + (d > 0 ? a1 * d * d / 2 : 0.0);
    } else if (d <= length) {
      const double a1l1 = l2 * gradeChange / length;  // a1·l1, finite also when l1 = 0
      const double a2 = l1 * gradeChange / (length * l2);
      const double u = d - l1;
      e = start + i1 * l1 + a1l1 * l1 / 2 + (i1 + a1l1) * u + a2 * u * u / 2;
    } else {
      // Only rounding (or a stored length shorter than InLength + OutLength)
      // puts a station inside the curve but beyond its length.
      e = p.calc4;
    }
  }
  if (!std::isfinite(e)) return false;
  elevation = e;
  return true;
}

void refreshGradePoints(RecordList<CVerticalCurveCal>& points) {
  const std::size_t n = points.size();
  for (std::size_t i = 0; i < n; ++i) {
    CVerticalCurveCal& p = points[i];
    if (i == 0 || i + 1 == n) {
      p.I1 = p.I2 = 0;
      continue;
    }
    const double i1 = gradeBetween(points[i - 1], p);
    const double i2 = gradeBetween(p, points[i + 1]);
    // A symmetric parabola keeps its stored radius: the calculation takes the
    // curve from its length and the grades.
    if (p.CalMode != kAsymmetricParabola) {
      const double tangent = p.Radius * std::fabs(std::atan(i1) - std::atan(i2)) / 2;
      p.OutLength = tangent;
    }
    p.I1 = i1 * 100;
    p.I2 = i2 * 100;
  }
}

int gradePointIndexForStation(const RecordList<CVerticalCurveCal>& points, double station) {
  return chooseGradePoint(points, runningCurveEnds(points), station);
}

bool elevationOnGradeLine(const RecordList<CVerticalCurveCal>& points, double station,
                          double& elevation) {
  return CGradeLine(points).elevationAt(station, elevation);
}

CGradeLine::CGradeLine(const RecordList<CVerticalCurveCal>& points)
    : points_(lineThroughPoints(points)), runningEnds_(runningCurveEnds(points_)) {}

bool CGradeLine::elevationAt(double station, double& elevation) const {
  const int index = chooseGradePoint(points_, runningEnds_, station);
  if (index < 0) return false;
  return trazmark::elevationAt(points_[static_cast<std::size_t>(index)], station, elevation);
}

bool sampleGradeLine(const RecordList<CVerticalCurveCal>& stored, double interval,
                     std::vector<GradeLineSample>& samples, std::size_t maxSamples,
                     bool withEnd) {
  samples.clear();
  const CGradeLine line(stored);
  const RecordList<CVerticalCurveCal>& points = line.points();
  if (points.empty() || !(interval > 0) || !std::isfinite(interval)) return false;
  const double start = points.front().calc1;
  const double end = points.back().calc3;
  if (!std::isfinite(start) || !std::isfinite(end)) return false;
  if (!(start < end)) return true;
  const double count = std::ceil((end - start) / interval);
  if (!(count <= static_cast<double>(maxSamples))) return false;
  const std::vector<double>& runningEnds = line.runningEnds();
  const auto total = static_cast<std::size_t>(count);
  samples.reserve(total);
  for (std::size_t k = 0; k < total; ++k) {
    // Multiplying rather than adding keeps long profiles on the raster.
    const double m = start + static_cast<double>(k) * interval;
    if (!(m < end)) break;
    const int index = chooseGradePoint(points, runningEnds, m);
    double e = 0;
    if (index >= 0 && elevationAt(points[static_cast<std::size_t>(index)], m, e))
      samples.push_back({m, e});
  }
  if (withEnd) {
    const int index = chooseGradePoint(points, runningEnds, end);
    double e = 0;
    if (index >= 0 && elevationAt(points[static_cast<std::size_t>(index)], end, e))
      samples.push_back({end, e});
  }
  return true;
}

bool sampleProfileLine(const RecordList<CVerticalCurveCal>& points,
                       std::vector<GradeLineSample>& samples) {
  return sampleGradeLine(points, kProfileSampleInterval, samples, 1000000, true);
}

}  // namespace trazmark
