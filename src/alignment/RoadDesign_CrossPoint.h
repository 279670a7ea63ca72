#pragma once
// The intersection-point method: a road described by its start point, the
// points where two straights meet (each with a curve radius and entry and exit
// spiral lengths) and its end point. The class reads and writes the points as
// the RP text file and turns them into an RP curve file of straights, spirals
// and arcs, from which the alignment engine is loaded.

#include <string>
#include <vector>

#include "coords/RoadConvert.h"
#include "records/RoadRecords.h"

namespace trazmark {

/// What the curve computation found at one interior intersection point.
struct CrossPointCurve {
  int pointIndex = 0;        ///< index of the point in the point list
  bool hasCurve = false;     ///< false for a point whose radius is 0 (two straights meet)
  bool rightTurn = false;    ///< the road turns right (clockwise) at the point
  double deflection = 0;     ///< turning angle between the straights, radians, in (0, pi)
  double entryTangent = 0;   ///< T1': point to the start of the entry spiral (or arc), metres
  double exitTangent = 0;    ///< T2': point to the end of the exit spiral (or arc), metres
  double arcLength = 0;      ///< length of the circular arc as written, metres (at least 0.001)
};

/// Why the last curve computation failed at a point.
enum class CrossPointFailure {
  None,             ///< it succeeded, or failed for a reason of no point
  NoCurve,          ///< no curve fits: parallel straights, a repeated point, a bad value
  TangentsOverlap,  ///< the tangents of the point and the one before it overlap
  NegativeRadius,   ///< the point's radius is below 0: the side of a curve comes
                    ///< from the points, so a signed radius has no meaning
};

class CRoadDesign_CrossPoint {
 public:
  /// Warning shown when the computation is asked for fewer than three points
  /// (UTF-8 here; shown in the ANSI code page).
  static constexpr const char* kTooFewPointsWarning = "交点必须大于3个！";
  /// Name of the settings file inside the settings folder.
  static constexpr const char* kSettingsFileName = "RoadDesign_CrossPoint.cfg";

  /// The settings file goes into the user's settings folder
  /// (`userSettingsFolder`, alignment/CurveFile.h).
  CRoadDesign_CrossPoint();
  /// @param settingsFolder folder of the settings file ("" : saveSettings fails)
  explicit CRoadDesign_CrossPoint(std::string settingsFolder);

  std::string roadName;
  /// Start chainage, metres; set by `writeCurveFile`.
  double startMileage = 0;
  /// Sum of every element length written by the last `writeCurveFile`, metres.
  double runningLength = 0;
  /// The intersection points in road order. Of each point the computation uses
  /// X, Y, Radius (0 or up to 1e-6: no curve), CurveLength_Left (entry spiral),
  /// CurveLength_Right (exit spiral) and, of the first two points, Mileage.
  RecordList<Road_CrossPoint> points;
  /// Stake-list mode and interval kept in the settings file.
  int32_t CalculateMode = 0;
  double Interval = 100.0;
  /// Folder of the settings file.
  std::string folder;

  /// Writes the settings file `folder`/RoadDesign_CrossPoint.cfg, creating the
  /// folder when it is missing. Fails when the folder is empty or cannot be
  /// created or written.
  bool saveSettings() const;

  /// Reads the RP text file: "ROADNAME:" and "CROSSPT :" lines, at most 1000
  /// lines. Fails on an empty path or a file that cannot be read; otherwise
  /// the road name, start mileage and points are replaced.
  bool readText(const std::string& path);
  /// Writes the RP text file.
  bool writeText(const std::string& path) const;

  /// Computes the alignment and writes the RP curve file.
  /// Fails with fewer than three points (after the warning "交点必须大于3个！"),
  /// and at the first point where no curve can be fitted: a point whose
  /// straights are parallel (it lies on the straight line of its neighbours,
  /// or the road reverses there), a point that coincides with a neighbour, or
  /// a point or curve value that is not a finite number (or a negative spiral
  /// length); at an interior point whose radius is negative (it would otherwise
  /// read as "no curve" and leave a kink); or where the tangents of the point and the point before it
  /// overlap by more than 1 mm (up to 1 mm they meet, with a straight of
  /// length 0). Such a point is reported by `failedPointIndex` and `failure`.
  /// On every failure the curve file is left empty, so no stale alignment
  /// stands in for it.
  bool writeCurveFile(const std::string& path);

  /// Index of the point at which the last `writeCurveFile` failed, or -1 when
  /// it succeeded or failed for another reason (too few points, empty path,
  /// file not writable).
  int failedPointIndex() const { return failedPointIndex_; }
  /// What went wrong at `failedPointIndex`.
  CrossPointFailure failure() const { return failure_; }
  /// How a point is named to the user: its number counted from 1 and, when it
  /// has one, its name, "3 (JD2)". Empty for an index outside the list.
  std::string pointLabel(int index) const;
  /// For `CrossPointFailure::TangentsOverlap`: by how much the tangent of the
  /// failed point and that of the point before it overlap on the straight
  /// between them (metres, more than 0.001). For the last point: by how much
  /// the tangent of the point before it runs past it.
  double overlap() const { return overlap_; }

  /// Per interior point, what the last successful `writeCurveFile` computed.
  const std::vector<CrossPointCurve>& curves() const { return curves_; }

  /// The working similarity transform of the last curve fitted.
  const CRoadConvert& transform() const { return transform_; }

 private:
  bool failAt(int index, const std::string& path);
  bool failOverlap(int index, double overlapped, const std::string& path);

  CRoadConvert transform_;
  int failedPointIndex_ = -1;
  CrossPointFailure failure_ = CrossPointFailure::None;
  double overlap_ = 0;
  std::vector<CrossPointCurve> curves_;
};

}  // namespace trazmark
