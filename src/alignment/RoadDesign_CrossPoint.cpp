#include "alignment/RoadDesign_CrossPoint.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <optional>
#include <utility>

#include "alignment/CurveFile.h"
#include "alignment/StationPoint.h"
#include "alignment/XHuanQu.h"
#include "markup/MarkupDocument.h"
#include "platform/CodePage.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"
#include "platform/WarningSink.h"

namespace trazmark {

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 2.0 * kPi;
/// A radius up to this value means the point has no curve (two straights meet).
constexpr double kNoCurveRadius = 1e-6;
/// Shortest circular arc written: spirals that use up the whole deflection
/// still leave this much arc between them (metres).
constexpr double kMinArcLength = 0.001;
/// A spiral shorter than this is left out of the file (metres).
constexpr double kMinSpiralLength = 1e-8;
/// Smallest deflection (and smallest distance of the deflection from a full
/// reversal) at which the two straights still have a well-defined intersection
/// (radians). Below it the point lies on the straight line of its neighbours,
/// or the road reverses, and no curve can be fitted.
constexpr double kMinDeflection = 1e-7;
/// How far the tangents of two neighbouring curves (or a curve's tangent and
/// its leg) may overlap and still be taken as meeting, with a straight of
/// length 0 between them (metres). Reverse curves designed to touch are stored
/// with coordinates and radii to 4 decimals, which leaves their tangents up to
/// a few tenths of a millimetre apart either way; a millimetre covers that.
/// Beyond it the straight would have to run backwards, which has no layout
/// (the engine refuses a line of negative length), so the point is reported.
constexpr double kLineOverlapTolerance = 1e-3;
/// Shortest leg beside a curve point (metres); a shorter one has no direction.
constexpr double kMinLegLength = 1e-6;

double distance(const Road_CrossPoint& a, const Road_CrossPoint& b) {
  return std::hypot(b.point.X - a.point.X, b.point.Y - a.point.Y);
}

/// Azimuth from a to b, radians in [0, 2π).
double azimuth(const Road_CrossPoint& a, const Road_CrossPoint& b) {
  double az = std::atan2(b.point.Y - a.point.Y, b.point.X - a.point.X);
  if (az < 0) az += kTwoPi;
  if (az >= kTwoPi) az -= kTwoPi;
  return az;
}

/// Azimuth in decimal degrees in [0, 360).
double azimuthDegrees(const Road_CrossPoint& a, const Road_CrossPoint& b) {
  double deg = azimuth(a, b) * 180.0 / kPi;
  if (deg >= 360.0) deg -= 360.0;
  return deg;
}

/// Below this azimuth (degrees) a line after the first one reads back as "no
/// azimuth given": the engine then continues the tangent of the element before
/// it (the engine's 1e-6 rad, with a margin for the printed decimals).
constexpr double kContinuedAzimuthDegrees = 1e-4;

/// The azimuth of the straight from a to b as its record is written. A straight
/// that runs due north after the first one is written as 360 degrees: as 0 it
/// would take the direction of the element before it, which after a point
/// without curve is the other straight.
double recordAzimuthDegrees(const Road_CrossPoint& a, const Road_CrossPoint& b, bool firstLine) {
  const double deg = azimuthDegrees(a, b);
  return !firstLine && deg < kContinuedAzimuthDegrees ? deg + 360.0 : deg;
}

// R·sin(s/R) and R·(1 − cos(s/R)) are summed as their Taylor series in s. Nine
// terms (up to s^17 and s^18) are exact for the turns of ordinary curves; a
// curve that turns close to a half circle needs a few more, so the series runs
// on until its terms no longer change the sum. Cut at nine terms, it would
// leave micrometres at 150 degrees and a tenth of a millimetre at 175 degrees
// of deflection on a 3000 m radius, and the two tangents of a symmetric curve
// would differ.
constexpr int kMinSeriesTerms = 9;
constexpr int kMaxSeriesTerms = 60;

/// R·sin(s/R) by its Taylor series in s.
double radiusSin(double s, double r) {
  const double x = s / r;
  const double x2 = x * x;
  double term = x;  // (-1)^j x^(2j+1) / (2j+1)!
  double sum = 0;
  for (int j = 0; j < kMaxSeriesTerms; ++j) {
    const double before = sum;
    sum += term;
    if (j >= kMinSeriesTerms - 1 && sum == before) break;
    term *= -x2 / ((2.0 * j + 2.0) * (2.0 * j + 3.0));
  }
  return r * sum;
}

/// R·(1 − cos(s/R)) by its Taylor series in s.
double radiusVersine(double s, double r) {
  const double x = s / r;
  const double x2 = x * x;
  double term = x2 / 2.0;  // (-1)^(j+1) x^(2j) / (2j)!
  double sum = 0;
  for (int j = 1; j <= kMaxSeriesTerms; ++j) {
    const double before = sum;
    sum += term;
    if (j >= kMinSeriesTerms && sum == before) break;
    term *= -x2 / ((2.0 * j + 1.0) * (2.0 * j + 2.0));
  }
  return r * sum;
}

struct LocalPoint {
  double x = 0;  ///< along the frame's x axis, metres
  double y = 0;  ///< to the right of it, metres
};

/// The end of an entering spiral of length `length` that reaches the radius
/// `radius` (> 0), laid from the origin along the x axis: (along the start
/// tangent, to the right of it). It is the spiral geometry's own clothoid, so
/// the arc ends computed here are exactly where the engine lays the spiral out.
/// Empty when the spiral cannot be evaluated.
std::optional<LocalPoint> clothoidEnd(double length, double radius) {
  if (!(length > 0)) return LocalPoint{};
  CXHuanQu spiral;
  if (!spiral.define(0, 0, 0, length, radius, true)) return std::nullopt;
  const std::optional<StationPoint> end = spiral.pointAt(length, 0);
  if (!end) return std::nullopt;
  return LocalPoint{end->x, end->y};
}

/// The two ends of the circular arc of a curve, seen from one end of the curve:
/// origin at the outer end of the spiral on that side, x axis along its
/// straight towards the intersection point, y to the right, curve turning
/// right. `nearEnd` is where the spiral meets the arc, `farEnd` where the arc
/// meets the other spiral.
struct ArcEnds {
  LocalPoint nearEnd;
  LocalPoint farEnd;
};

std::optional<ArcEnds> arcEndsFrom(double spiralLength, double radius, double arcAngle) {
  const double beta = spiralLength / (2.0 * radius);
  // The shift of the arc (p) and the distance of its centre along the straight
  // (q') come from the clothoid itself, not from truncated series, so that the
  // arc ends exactly where the laid-out spiral does.
  const std::optional<LocalPoint> clothoid = clothoidEnd(spiralLength, radius);
  if (!clothoid) return std::nullopt;
  const LocalPoint end = *clothoid;
  const double p = end.y - radiusVersine(radius * beta, radius);
  const double q = end.x - radiusSin(radius * beta, radius);
  ArcEnds ends;
  ends.nearEnd = {q + radiusSin(radius * beta, radius), p + radiusVersine(radius * beta, radius)};
  ends.farEnd = {q + radiusSin(radius * (beta + arcAngle), radius),
                 p + radiusVersine(radius * (beta + arcAngle), radius)};
  return ends;
}

/// A straight's length as written: an overlap within kLineOverlapTolerance
/// is rounding, and printed as "-0.000001" it would be a line of negative
/// length that the engine refuses, so it becomes a line of length 0.
double writtenLineLength(double length) { return length < 0 ? 0.0 : length; }

bool allFinite(std::initializer_list<double> values) {
  for (double v : values)
    if (!std::isfinite(v)) return false;
  return true;
}

}  // namespace

CRoadDesign_CrossPoint::CRoadDesign_CrossPoint() : folder(userSettingsFolder()) {}

CRoadDesign_CrossPoint::CRoadDesign_CrossPoint(std::string settingsFolder)
    : folder(std::move(settingsFolder)) {}

bool CRoadDesign_CrossPoint::saveSettings() const {
  return writeMethodSettings(folder, kSettingsFileName, "RoadDesign_CrossPoint", CalculateMode, Interval);
}

bool CRoadDesign_CrossPoint::readText(const std::string& path) {
  std::vector<MethodFileLine> lines;
  if (!readMethodFileLines(path, lines)) return false;
  roadName.clear();
  startMileage = 0;
  points.clear();
  for (const auto& [tag, data] : lines) {
    if (tag == "ROADNAME:") {
      roadName = data.substr(0, data.find(','));
    } else if (tag == "CROSSPT :") {
      std::vector<std::string> f = splitCommaFields(data);
      f.resize(std::max<std::size_t>(f.size(), 9));
      Road_CrossPoint p;
      p.point.Name = f[0];
      p.point.X = parseDecimal(f[1]);
      p.point.Y = parseDecimal(f[2]);
      p.point.Z = parseDecimal(f[3]);
      p.point.MileageText = f[4];
      p.CurveLength_Left = parseDecimal(f[5]);
      p.Radius = parseDecimal(f[6]);
      p.CurveLength_Right = parseDecimal(f[7]);
      p.Mileage = parseDecimal(f[8]);
      points.append(p);
    }
  }
  return true;
}

bool CRoadDesign_CrossPoint::writeText(const std::string& path) const {
  const std::string trimmed = trimWhiteSpace(path);
  if (trimmed.empty()) return false;
  std::string text = "ROADNAME:" + sanitizeFieldText(roadName) + ",\r\n";
  for (const Road_CrossPoint& p : points) {
    text += "CROSSPT :" + sanitizeFieldText(p.point.Name) +
            formatRecord(",%.4f,%.4f,%.4f,", p.point.X, p.point.Y, p.point.Z) +
            sanitizeFieldText(p.point.MileageText) +
            formatRecord(",%.4f,%.4f,%.4f,%.4f,\r\n", p.CurveLength_Left, p.Radius,
                       p.CurveLength_Right, p.Mileage);
  }
  return writeTextFileAtomically(trimmed, text);
}

std::string CRoadDesign_CrossPoint::pointLabel(int index) const {
  if (index < 0 || index >= points.count()) return {};
  const std::string& name = points[static_cast<std::size_t>(index)].point.Name;
  return std::to_string(index + 1) + (name.empty() ? "" : " (" + name + ")");
}

bool CRoadDesign_CrossPoint::failOverlap(int index, double overlapped, const std::string& path) {
  failAt(index, path);
  failure_ = CrossPointFailure::TangentsOverlap;
  // A NaN leg stays a point where no curve fits.
  if (std::isfinite(overlapped)) {
    overlap_ = -overlapped;
  } else {
    failure_ = CrossPointFailure::NoCurve;
  }
  return false;
}

bool CRoadDesign_CrossPoint::failAt(int index, const std::string& path) {
  failedPointIndex_ = index;
  failure_ = CrossPointFailure::NoCurve;
  overlap_ = 0;
  curves_.clear();
  runningLength = 0;
  // The file is emptied so that no earlier alignment is taken for this one.
  writeTextFileAtomically(path, std::string());
  return false;
}

bool CRoadDesign_CrossPoint::writeCurveFile(const std::string& path) {
  failedPointIndex_ = -1;
  failure_ = CrossPointFailure::None;
  overlap_ = 0;
  curves_.clear();
  const std::string trimmed = trimWhiteSpace(path);
  if (trimmed.empty()) return false;

  const int n = points.count();
  if (n < 3) {
    showWarning(utf8ToAnsi(kTooFewPointsWarning), "Warning");
    writeTextFileAtomically(trimmed, std::string());
    return false;
  }
  for (int i = 0; i < n; ++i) {
    if (!allFinite({points[i].point.X, points[i].point.Y})) return failAt(i, trimmed);
  }

  // The chainage starts at the first point's mileage when that is given (0 or
  // above 0.0001); otherwise it is carried back from the second point.
  const double firstMileage = points[0].Mileage;
  int chainageSource = 0;
  if (firstMileage > 0.0001 || firstMileage == 0.0) {
    startMileage = firstMileage;
  } else {
    chainageSource = 1;
    startMileage = points[1].Mileage - distance(points[0], points[1]);
  }
  if (!std::isfinite(startMileage)) return failAt(chainageSource, trimmed);
  runningLength = 0;

  CCurveFileWriter out(CurveFileKind::RP);
  out.writeHeader(startMileage, roadName);
  out.writeStartPoint(points[0].point.X, points[0].point.Y);

  double previousExitTangent = 0;
  for (int i = 1; i + 1 < n; ++i) {
    const Road_CrossPoint& back = points[i - 1];
    const Road_CrossPoint& here = points[i];
    const Road_CrossPoint& ahead = points[i + 1];
    const double legIn = distance(back, here);
    const double radius = here.Radius;
    CrossPointCurve curve;
    curve.pointIndex = i;

    if (std::isnan(radius)) return failAt(i, trimmed);
    if (radius < 0) {
      // The turning side follows from the points; a negative radius is a
      // typing slip that would otherwise pass as "no curve".
      failAt(i, trimmed);
      failure_ = CrossPointFailure::NegativeRadius;
      return false;
    }
    if (!(radius > kNoCurveRadius)) {
      // Two straights meet without a curve.
      const double overlapped = legIn - previousExitTangent;
      if (!(overlapped >= -kLineOverlapTolerance)) return failOverlap(i, overlapped, trimmed);
      const double length = writtenLineLength(overlapped);
      out.writeLine(length, recordAzimuthDegrees(back, here, i == 1));
      runningLength += length;
      previousExitTangent = 0;
      curves_.push_back(curve);
      continue;
    }

    const double entrySpiral = here.CurveLength_Left;
    const double exitSpiral = here.CurveLength_Right;
    if (!std::isfinite(radius) || !(entrySpiral >= 0) || !(exitSpiral >= 0) ||
        !std::isfinite(entrySpiral) || !std::isfinite(exitSpiral))
      return failAt(i, trimmed);
    if (!(legIn > kMinLegLength) || !(distance(here, ahead) > kMinLegLength))
      return failAt(i, trimmed);

    // Turning sense and deflection from the angle between the two legs.
    const double azimuthAhead = azimuth(here, ahead);
    const double azimuthBack = azimuth(here, back);
    double v = azimuthBack - azimuthAhead;
    if (v < 0) v += kTwoPi;
    const bool right = v < kPi;
    const double deflection = right ? kPi - v : v - kPi;
    // On a straight line the straights never meet; at a reversal they meet at
    // infinity. Either way no curve fits.
    if (!(deflection > kMinDeflection) || !(kPi - deflection > kMinDeflection))
      return failAt(i, trimmed);

    // A spiral too short to be written is no spiral in the geometry either.
    const double entryLength = entrySpiral > kMinSpiralLength ? entrySpiral : 0.0;
    const double exitLength = exitSpiral > kMinSpiralLength ? exitSpiral : 0.0;
    const double beta1 = entryLength / (2.0 * radius);
    const double beta2 = exitLength / (2.0 * radius);
    const double arcAngle = deflection - beta1 - beta2;
    double arcLength = arcAngle * radius;
    // The geometry is that of the arc actually written: when the spirals use up
    // the whole deflection the file still holds an arc of 0.001, and the two
    // arc ends must not coincide for the fit below.
    double geometryAngle = arcAngle;
    if (!(arcLength >= kMinArcLength)) {
      arcLength = kMinArcLength;
      geometryAngle = kMinArcLength / radius;
    }

    // Entry frame: from the start of the entry spiral along the entry straight.
    // Exit frame: from the end of the exit spiral back along the exit straight;
    // walked backwards the curve turns the other way.
    const double entrySide = right ? 1.0 : -1.0;
    const std::optional<ArcEnds> entryEnds = arcEndsFrom(entryLength, radius, geometryAngle);
    const std::optional<ArcEnds> exitEnds = arcEndsFrom(exitLength, radius, geometryAngle);
    if (!entryEnds || !exitEnds) return failAt(i, trimmed);
    ArcEnds entry = *entryEnds;
    ArcEnds exit = *exitEnds;
    entry.nearEnd.y *= entrySide;
    entry.farEnd.y *= entrySide;
    exit.nearEnd.y *= -entrySide;
    exit.farEnd.y *= -entrySide;

    // The same two arc ends seen from both frames give the exit frame's place
    // in the entry frame.
    transform_ = CRoadConvert();
    transform_.pairs.resize(2);
    transform_.pairs[0].sourceX = exit.farEnd.x;
    transform_.pairs[0].sourceY = exit.farEnd.y;
    transform_.pairs[0].targetX = entry.nearEnd.x;
    transform_.pairs[0].targetY = entry.nearEnd.y;
    transform_.pairs[1].sourceX = exit.nearEnd.x;
    transform_.pairs[1].sourceY = exit.nearEnd.y;
    transform_.pairs[1].targetX = entry.farEnd.x;
    transform_.pairs[1].targetY = entry.farEnd.y;
    double hx = 0, hy = 0;  // end of the exit spiral, in the entry frame
    if (!transform_.fit() || !transform_.forward(hx, hy)) return failAt(i, trimmed);

    // The intersection point is where the entry straight (the x axis) meets
    // the exit straight through H, which runs back towards the point in the
    // direction −v of the entry frame.
    const double dx = std::cos(v);
    const double dy = -std::sin(v);
    if (!(std::fabs(dy) > 1e-15)) return failAt(i, trimmed);
    const double along = -hy / dy;  // from H to the intersection
    const double jx = hx + along * dx;
    const double entryTangent = std::fabs(jx);
    const double exitTangent = std::hypot(jx - hx, hy);

    const double overlapped = legIn - entryTangent - previousExitTangent;
    if (!allFinite({entryTangent, exitTangent, overlapped, arcLength})) return failAt(i, trimmed);
    if (!(overlapped >= -kLineOverlapTolerance)) return failOverlap(i, overlapped, trimmed);
    const double lineLength = writtenLineLength(overlapped);

    out.writeLine(lineLength, recordAzimuthDegrees(back, here, i == 1));
    runningLength += lineLength;
    if (entryLength > 0) {
      out.writeSpiral(entryLength, std::sqrt(entryLength * radius));
      runningLength += entryLength;
    }
    out.writeArc(arcLength, right ? radius : -radius);
    runningLength += arcLength;
    if (exitLength > 0) {
      out.writeSpiral(exitLength, std::sqrt(exitLength * radius));
      runningLength += exitLength;
    }
    previousExitTangent = exitTangent;

    curve.hasCurve = true;
    curve.rightTurn = right;
    curve.deflection = deflection;
    curve.entryTangent = entryTangent;
    curve.exitTangent = exitTangent;
    curve.arcLength = arcLength;
    curves_.push_back(curve);
  }

  // The last straight runs to the end point.
  const double lastOverlapped = distance(points[n - 2], points[n - 1]) - previousExitTangent;
  if (!std::isfinite(lastOverlapped)) return failAt(n - 1, trimmed);
  if (!(lastOverlapped >= -kLineOverlapTolerance))
    return failOverlap(n - 1, lastOverlapped, trimmed);
  const double lastLength = writtenLineLength(lastOverlapped);
  out.writeLine(lastLength, recordAzimuthDegrees(points[n - 2], points[n - 1], false));
  runningLength += lastLength;

  if (!out.save(trimmed)) {
    curves_.clear();
    return false;
  }
  return true;
}

}  // namespace trazmark
