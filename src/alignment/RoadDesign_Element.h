#pragma once
// The element method: a road described directly as its chain of elements (a
// start point, then lines, circular arcs and spirals in road order). The class
// reads and writes the list as the RE text file and writes it as an RE curve
// file; the alignment engine is loaded from the list itself.

#include <string>

#include "records/RoadRecords.h"

namespace trazmark {

class CRoadDesign_Element {
 public:
  /// Name of the settings file inside the settings folder.
  static constexpr const char* kSettingsFileName = "RoadDesign_Element.cfg";

  /// By default the settings folder is the user's (see `userSettingsFolder`).
  CRoadDesign_Element();
  explicit CRoadDesign_Element(std::string settingsFolder);

  std::string roadName;
  /// Mileage of the start point, metres.
  double startMileage = 0;
  /// Sum of the (clamped) lengths written by the last `writeCurveFile`, metres.
  double runningLength = 0;
  /// The elements in road order. Type 1 start point (X, Y), 2 line (Azimuth in
  /// decimal degrees, Length), 3 arc (Length, signed Radius), 4 spiral (Length;
  /// its radii come from its neighbours).
  RecordList<Road_Element> elements;
  /// Stake-list mode and interval kept in the settings file.
  int32_t CalculateMode = 0;
  double Interval = 100.0;
  /// Folder of the settings file.
  std::string folder;

  /// Writes `folder`/RoadDesign_Element.cfg, creating the folder when it is
  /// missing. Fails when the folder is empty or cannot be written.
  bool saveSettings() const;

  /// Reads the RE text file: "ROADNAME:", "MILEAGE :" (also the old spelling
  /// "MELIAGE :") and "ELEMENT :" lines, at most 1000 lines. Fails on an empty
  /// path or a file that cannot be read; otherwise replaces the road name,
  /// start mileage and elements.
  bool readText(const std::string& path);
  /// Writes the RE text file.
  bool writeText(const std::string& path) const;

  /// How `writeCurveFile` writes a line shorter than 1e-6.
  enum class ShortLines {
    Widen,  ///< 0.0001 long, as arcs and spirals
    Keep,   ///< at its own length: a line of length 0 only marks a point of the
            ///< chain (where curvature changes) and adds nothing to the road
  };

  /// Writes the RE curve file of the element list. An arc or spiral shorter
  /// than 1e-6 is written with the length 0.0001 (the engine drops arcs and
  /// spirals of length 0), and so is such a line unless `shortLines` keeps
  /// it. A spiral's parameter takes the radius of the arc after it, else of
  /// the arc before it, else 0. Fails on an empty path or a file that cannot
  /// be written.
  bool writeCurveFile(const std::string& path, ShortLines shortLines = ShortLines::Widen);
};

}  // namespace trazmark
