#pragma once
// The records of one road as the user enters it. Every record is a plain value:
// copying copies every field, its texts and nested lists, and two records are
// equal when every field is (undo finds the rows an edit changed). Texts are byte strings
// in the ANSI code page. Lengths, widths, mileages and coordinates are metres;
// X is north, Y is east.

#include <array>
#include <cstdint>
#include <string>

#include "records/RecordList.h"

namespace trazmark {

/// A named point.
struct SurveyCoord {
  std::string Name;
  double X = 0;  ///< north (stored as Dx)
  double Y = 0;  ///< east (stored as Dy)
  double Z = 0;  ///< elevation; entered in dialogs, not stored in the road file
  std::string MileageText;  ///< filled for key points; not stored in the road file

  bool operator==(const SurveyCoord&) const = default;
};

/// One broken chain (chainage equation).
struct Scisson_Data {
  int32_t Type = 0;  ///< 1 short chain (skips displayed stations), 0 long chain (repeats them)
  double Length = 0;  ///< length of the break; its absolute value is used
  double Before_mileage = 0;  ///< displayed station reached before the break
  double After_mileage = 0;   ///< displayed station with which the road continues

  bool operator==(const Scisson_Data&) const = default;
};

/// One intersection point of the intersection-point method.
struct Road_CrossPoint {
  SurveyCoord point;
  double CurveLength_Left = 0;   ///< entry spiral length
  double CurveLength_Right = 0;  ///< exit spiral length
  double Radius = 0;
  double Mileage = 0;
  double extra1 = 0;  ///< carried through copies; never stored
  double extra2 = 0;

  bool operator==(const Road_CrossPoint&) const = default;
};

/// One element of the element method.
struct Road_Element {
  int32_t Type = 0;  ///< 1 start point, 2 line, 3 arc, 4 spiral
  SurveyCoord point;  ///< start point only; X and Y are stored
  double Azimuth = 0;  ///< line azimuth, decimal degrees
  double Length = 0;
  double Radius = 0;  ///< signed: positive turns right, negative left
  double Mileage = 0;

  bool operator==(const Road_Element&) const = default;
};

/// One element of the line-element method.
struct Road_LineElement {
  int32_t Type = 0;  ///< 1 start point, 2 line, 3 arc, 4 spiral
  SurveyCoord point;
  double Azimuth = 0;  ///< start point only: packed ddd.mmss as entered
  double Length = 0;
  double spare1 = 0;  ///< working value; not stored
  double Mileage = 0;
  double StartRadius = 0;  ///< signed by the turning side; -1.0 means infinite
  double EndRadius = 0;
  int32_t Deviation = 0;  ///< 0 left, 1 right, -1 start point and lines

  bool operator==(const Road_LineElement&) const = default;
};

/// One grade point with its vertical curve. calcFlag and calc1..calc6 are
/// working values of the vertical curve calculation and are not stored.
struct CVerticalCurveCal {
  int32_t calcFlag = 0;  ///< sign of I1 - I2: +1 crest, -1 sag, 0 none
  double calc1 = 0, calc2 = 0;  ///< mileage, elevation of the curve start
  double calc3 = 0, calc4 = 0;  ///< mileage, elevation of the curve end
  double calc5 = 0, calc6 = 0;  ///< mileage, elevation of the circle's centre
  double Mileage = 0;
  double High = 0;
  double I1 = 0;  ///< grade before the point, percent
  double I2 = 0;  ///< grade after the point, percent
  double Radius = 0;
  double InLength = 0;
  double OutLength = 0;
  double CurveL = 0;
  int32_t CalMode = 0;  ///< 0 circular, 1 symmetric parabola, 2 asymmetric parabola

  bool operator==(const CVerticalCurveCal&) const = default;
};

/// One component (lane, shoulder, kerb...) of a cross section.
struct Road_Section_Item {
  /// The road file format's name field: 49 bytes of code page 936 text and a
  /// terminating zero, whatever the code page in memory.
  static constexpr std::size_t kNameBytes = 50;
  /// Room for those 49 bytes in the ANSI code page: a character of one or two
  /// bytes in code page 936 takes up to three in UTF-8, and a terminating zero.
  static constexpr std::size_t kStoredNameBytes = 3 * (kNameBytes - 1) + 1;

  /// Zero-filled name field in the ANSI code page, with a terminating zero.
  std::array<char, kStoredNameBytes> ModuleName{};
  double Width = 0;
  double Slope = 0;
  double Roadteeth = 0;
  int32_t LeftOrRight = -1;  ///< 0 left, 1 right, -1 unset

  std::string moduleName() const;
  /// Stores `name` (ANSI code page), cut at a character boundary to what
  /// the road file format holds: 49 bytes counted in code page 936 (24 Chinese
  /// characters, whatever the code page in memory). A name that code page 936
  /// cannot hold is cut at 49 bytes of the ANSI code page. No half character
  /// is ever stored.
  void setModuleName(const std::string& name);
  bool hasName() const { return ModuleName[0] != '\0'; }
  bool operator==(const Road_Section_Item&) const = default;
  void reset() { *this = Road_Section_Item(); }
};

/// A change of the cross section at a mileage.
struct Road_Section_Change {
  static constexpr int kItemCount = 30;
  double Mileage = -1.0;  ///< -1.0 means unset
  int32_t TypeChange = 0;
  /// Used items first; the first item with an empty name ends the list.
  std::array<Road_Section_Item, kItemCount> items{};
};

/// One step of a side slope.
struct Road_Slope_Item {
  std::string SlopeName;  ///< name of the owning slope
  std::string ItemName;
  int32_t Mode = 0;  ///< 0 slope surface, 1 platform
  double SlopeH = 0;
  double SlopeScale = 0;  ///< surface: N of 1:N; platform: cross slope in percent
  double Width = 0;

  bool operator==(const Road_Slope_Item&) const = default;
};

/// A side slope over a mileage range.
struct Road_Slope {
  int32_t LeftRight = 0;  ///< 0 left, 1 right
  int32_t Type = 0;       ///< 0 cut, 1 fill
  std::string SlopeName;  ///< unique among the road's slopes
  double StartMileage = 0;
  double EndMileage = 0;
  RecordList<Road_Slope_Item> items;

  bool operator==(const Road_Slope&) const = default;
};

/// One change point of superelevation or widening.
struct Road_Super_Value {
  double Mileage = 0;
  double Slope = 0;  ///< superelevation
  double Width = 0;  ///< widening
  int32_t Mode = 0;  ///< 0 linear, 1 three-parabola, 2 four-parabola

  bool operator==(const Road_Super_Value&) const = default;
};

/// Superelevation or widening of one cross-section component.
struct Road_Super_Item {
  std::string SectionName;
  int32_t LeftRight = 0;  ///< 0 left, any other value right
  int32_t InSectionIndex = 0;
  RecordList<Road_Super_Value> values;

  bool operator==(const Road_Super_Item&) const = default;
};

/// One entry of the list of known roads.
struct RoadLibraryData {
  std::string Path;
  std::string Name;
  double extraA = 0;  ///< start mileage of the saved alignment
  double extraB = 0;  ///< total length of that alignment
};

/// The horizontal method in force.
enum FlatcurveKind : int32_t {
  kFlatcurveNone = -1,
  kFlatcurveCrossPoints = 0,
  kFlatcurveElements = 1,
  kFlatcurveLineElements = 2,
};

/// The data set of one road, in the order the road file stores it.
struct RoadDataSet {
  RecordList<Scisson_Data> scissons;
  RecordList<Road_CrossPoint> crossPoints;
  RecordList<Road_Element> elements;
  RecordList<Road_LineElement> lineElements;
  RecordList<CVerticalCurveCal> verticalCurves;
  RecordList<Road_Section_Item> leftSections;
  RecordList<Road_Section_Item> rightSections;
  RecordList<Road_Section_Change> sectionChanges;
  RecordList<Road_Slope> slopes;
  RecordList<Road_Super_Item> superHighs;
  RecordList<Road_Super_Item> widens;
  int32_t FlatcurveType = kFlatcurveNone;

  /// Empties every list and sets FlatcurveType to -1.
  void clear() { *this = RoadDataSet(); }
};

}  // namespace trazmark
