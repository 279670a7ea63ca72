#pragma once
// The alignment engine: the computed horizontal alignment of one road.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "alignment/RoadElement.h"
#include "alignment/StationLocator.h"
#include "alignment/StationPoint.h"
#include "records/RoadRecords.h"

namespace trazmark {

/// One record of a stake list.
struct RoadCoordinate {
  static constexpr int32_t kKeyPoint = 0;
  static constexpr int32_t kRegularStake = 2;

  int32_t kind = kKeyPoint;
  std::string name;              ///< key-point name ("ZH-01") or running number ("17")
  std::string mileageText;       ///< "%.4f" of the displayed mileage
  double mileage = 0;            ///< displayed mileage, metres
  double continuousMileage = 0;  ///< position along the element chain, metres
  double x = 0;                  ///< north, metres (centre line)
  double y = 0;                  ///< east, metres
  double z = 0;                  ///< elevation; 0 unless filled from a grade line
  double azimuth = 0;            ///< tangent, radians in [1e-5, 2π + 1e-5]
};

/// Where a plane point lies relative to the road (see CRoadDesign::locate).
struct StationLocation {
  enum Status {
    kOnRoad,   ///< square to the centre line between its start and its end
    kOutside,  ///< beyond the start or the end of the road
    kInvalid,  ///< no answer: see `error`
  };
  Status status = kInvalid;
  /// On the road: the foot of the perpendicular. Outside: the nearest end.
  double continuousMileage = 0;
  double displayedMileage = 0;  ///< after the broken chains
  /// Which place of a repeated displayed station (a long chain): -1 the only
  /// one, 0 the place before the chain, 1 the place after it. The side that
  /// pointAtStation takes to come back here.
  int branch = -1;
  /// Metres right of travel (negative: left), as pointAtStation's offset.
  double offset = 0;
  /// Outside: the distance to the nearest end (metres); on the road |offset|.
  double distance = 0;
  /// Outside: true when the nearest end is the start of the road.
  bool beforeStart = false;
  std::size_t element = 0;  ///< index of the element that holds the foot
  std::string error;        ///< why there is no answer
};

/// Bounding box of the key points, metres.
struct Extents {
  double minX = 0;
  double maxX = 0;
  double minY = 0;
  double maxY = 0;
};

/// Where the records of a stake list lie: on the centre line (the stake list
/// file, whatever the offset it was gathered at), or at the offset.
enum class StakePositions { CentreLine, AtOffset };

/// The computed horizontal alignment of one road: the chain of elements, the
/// named key points, and the road's broken chains.
///
/// Mileages. The elements carry continuous mileage: the start mileage plus the
/// length run along the chain. The displayed mileage a user reads on the stakes
/// differs from it beyond a broken chain: a short chain skips displayed numbers,
/// a long chain repeats them, so inside a long chain a side (before or after the
/// break) says which of the two places is meant.
///
/// Load with `loadFromRoad` or `loadFromCurveFile`; both build the chain. The
/// queries are const and keep no state between calls.
class CRoadDesign {
 public:
  /// Element-method input: kind 1 start point (point.X, point.Y), 2 line
  /// (Length, Azimuth in decimal degrees), 3 arc (Length, signed Radius), 4 spiral
  /// (Length; its radii come from its neighbours). Records of other kinds and
  /// arcs or spirals of length <= 1e-10 are skipped. Fewer than two elements
  /// show the warning "道路元素不能少于2个!" and fail.
  bool loadFromRoad(const std::string& roadName, double startMileage,
                    const RecordList<Road_Element>& records);

  /// Reads an RP or RE curve file and builds it. Fails without a message when the
  /// file cannot be read (the design is then left as it was); shows the warning
  /// "道路元素不能少于2个!" for fewer than two elements; fails without a message
  /// when the chain cannot be built.
  bool loadFromCurveFile(const std::string& path);

  /// Chains the loaded elements (each starts where the one before ends, a spiral
  /// takes its radii from its neighbours, a line after the second element whose
  /// azimuth is below 1e-6 rad, negative ones included, continues the tangent),
  /// names the key points and refreshes the extents. Fails on a chain that does
  /// not begin with a start point, a spiral with no element after it, a line of
  /// negative length, or an element whose geometry cannot be set up. Called by
  /// both loads.
  bool build();

  /// The point at a displayed mileage, `offset` metres right of travel (negative:
  /// left). `side` chooses the branch inside a long chain: 1 after the break, 0
  /// before it, -1 the default `longChainDefaultAfter`. The azimuth is brought
  /// into [1e-5, 2π + 1e-5]. Empty when no element holds the mileage.
  std::optional<StationPoint> pointAtStation(double displayedMileage, double offset,
                                             int side = -1) const;

  /// Writes the stake list file (CR LF lines "name,X,Y,Z,mileage,kind,azimuth").
  /// `calculateMode` 0 puts the regular stakes on whole multiples of `interval`
  /// (which must then be at least 1), any other mode counts them from the start
  /// mileage. The key points and stakes are gathered at `offset` and written at
  /// the centre line. Fails when the design is not computed, the interval would
  /// never advance, the list would exceed kMaxStakes records, a stake cannot be
  /// evaluated (what was gathered up to it is still written), or the file cannot
  /// be written.
  bool writeStakeList(const std::string& path, int calculateMode, double interval,
                      double offset) const;

  /// The text writeStakeList writes; on failure `text` holds the records gathered
  /// before it. With `StakePositions::AtOffset` each record lies `offset`
  /// metres right of the centre line (negative: left), the side stakes.
  bool stakeListText(int calculateMode, double interval, double offset, std::string& text,
                     StakePositions positions = StakePositions::CentreLine) const;

  /// Appends the lines of a stake list for `records` (the format of
  /// writeStakeList, with each record's z).
  static void appendStakeLines(const std::vector<RoadCoordinate>& records, std::string& text);

  /// The records of the stake list in order, as writeStakeList writes them; on
  /// failure `records` holds those gathered before it. `positions` as in
  /// stakeListText.
  bool stakeRecords(int calculateMode, double interval, double offset,
                    std::vector<RoadCoordinate>& records,
                    StakePositions positions = StakePositions::CentreLine) const;

  /// True when m lies between a and b in either order, or within 1e-6 of either.
  static bool isBetween(double m, double a, double b);

  /// Continuous mileage of a displayed mileage on the branch `side` (as in
  /// pointAtStation).
  double continuousFromDisplayed(double displayedMileage, int side = -1) const;
  /// Displayed mileage of a continuous mileage (NaN when the broken chains
  /// cannot be placed along the road, see brokenChainError).
  double displayedFromContinuous(double continuousMileage) const;
  /// Why the broken chains cannot be placed along the road; empty when they
  /// can. A chain's back station is read on the branch the chains before it
  /// leave, so chain k+1 must lie past chain k; with chains that cannot be
  /// placed, pointAtStation, the stake list and locate fail.
  std::string brokenChainError() const;

  /// The place on the centre line nearest to the plane point (x north, y east,
  /// metres): the foot of the perpendicular, the nearest one where there are
  /// several (a hairpin, a point near the centre of a curve). A point whose
  /// nearest place is an end of the road and lies beyond it is outside, with
  /// the distance to that end. Candidates come from a box tree over the
  /// elements; no query scans the road. Invalid when the design is not
  /// computed, a coordinate is not a number or lies farther than
  /// kMaxLocateCoordinate from the origin, or the chains cannot be placed.
  StationLocation locate(double x, double y) const;
  /// Largest coordinate magnitude locate accepts (metres): far beyond any
  /// survey grid, and small enough that squared distances stay exact enough.
  static constexpr double kMaxLocateCoordinate = 1e9;

  /// Index of the element that holds the continuous mileage: the first element
  /// after the leading start point whose range contains it within 1e-6. Start
  /// points inside the chain hold no mileage. Empty when none does.
  std::optional<std::size_t> findElement(double continuousMileage) const;

  /// True after a successful load and build.
  bool computed() const { return computed_; }
  const std::string& roadName() const { return roadName_; }
  /// Mileage of the road's start point.
  double startMileage() const { return startMileage_; }
  /// Mileage of the end of the last element (continuous).
  double endMileage() const;
  /// The element chain (kinds, start and end points, azimuths, radii, mileages).
  const RecordList<CRoadElement>& elements() const { return elements_; }
  /// Named key points in mileage order: Name, X, Y, Z (0), MileageText ("%.4f"
  /// of the continuous mileage). Names: "QD" the start of the first element,
  /// "ZH-nn", "HY-nn", "QZ-nn" (arc mid-point), "YH-nn", "HZ-nn", "ZY-nn",
  /// "YZ-nn", "ZD" the end of the road.
  const RecordList<SurveyCoord>& keyPoints() const { return keyPoints_; }
  /// Continuous mileage of each key point, parallel to keyPoints().
  const std::vector<double>& keyPointMileages() const { return keyPointMileages_; }
  /// Bounding box of the key points (all 0 before a build).
  const Extents& extents() const { return extents_; }

  /// Most records a stake list may hold; a longer one is refused. Two million
  /// stakes are 2000 km at one a metre, and keep the list's memory (records
  /// and text) to a few hundred megabytes.
  static constexpr std::size_t kMaxStakes = 2'000'000;

  /// Broken chains of the road; the owner fills them with a copy of the road's.
  /// While empty, displayed and continuous mileages coincide.
  RecordList<Scisson_Data> brokenChains;
  /// Branch taken inside a long chain when the caller gives side -1.
  bool longChainDefaultAfter = false;
  /// Colour of the centre line on the plan map, 0xRRGGBB.
  uint32_t penColor = 0xFF0000;

  /// Receives a stake list's records as they are gathered and evaluated, a
  /// batch at a time; `clear` drops all received when the list fails whole.
  class StakeSink {
   public:
    virtual ~StakeSink() = default;
    virtual void clear() = 0;
    virtual void reserve(std::size_t count) = 0;
    virtual void add(const RoadCoordinate* records, std::size_t count) = 0;
  };

 private:
  struct KeyPointRef {
    int startKeyPoint = -1;  ///< index in keyPoints_ of the element's start
    int midKeyPoint = -1;    ///< index of an arc's QZ
  };

  // The stake list of stakeRecords, handed to `sink` element by element.
  bool gatherStakes(int calculateMode, double interval, double offset, StakePositions positions,
                    StakeSink& sink) const;
  void clearComputed();
  bool finishLoad();

  RecordList<SurveyCoord> keyPoints_;
  std::vector<double> keyPointMileages_;
  Extents extents_;
  bool computed_ = false;
  RecordList<CRoadElement> elements_;
  std::string roadName_;
  double startMileage_ = 0;
  // Per element: its key points; the search index over the elements that hold
  // mileage: their element indices and end mileages, both in chain order.
  std::vector<KeyPointRef> elementKeyPoints_;
  std::vector<std::size_t> searchIndex_;
  std::vector<double> searchEnds_;
  // Boxes of the elements of searchIndex_, in the same order, for locate.
  CElementBoxTree locateTree_;
  // The same boxes on a grid: the quick search near the road.
  CElementGrid locateGrid_;
  // What locate's foot search needs of each of them, evaluated once.
  std::vector<ElementSamples> locateSamples_;
};

}  // namespace trazmark
