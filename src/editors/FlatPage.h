#pragma once
// The rules the three horizontal alignment pages (intersection points,
// elements, line elements) share once a page can compute its road: the base
// path and the files named from it, the list modes (the page's input, the key
// points, the stakes), the key-point and stake lists read from the list file,
// the export of a line file or a stake file with its side stakes, and the
// add-stake computation. Each page supplies its own input, its `calculate` and
// its line file; nothing here shows a window: every failure is a message key
// the window shows.

#include <optional>
#include <string>
#include <vector>

#include "alignment/RoadDesign.h"
#include "records/RoadRecords.h"

namespace trazmark {

class CInputRoadLibrary;

/// Column of a page's list: header key and width in pixels.
struct FlatColumn {
  const char* headerKey;
  int width;
};

/// One row of the key-point or stake list, as the list file holds it.
struct FlatStakeRow {
  bool keyPoint = false;  ///< a key point (start, curve point, chain point, end), else a regular stake
  std::string name;     ///< key-point name (key points only)
  std::string mileage;  ///< mileage text of the list file
  std::string north;
  std::string east;
};

/// What an export is asked to do.
struct FlatExportRequest {
  int exportType = 0;        ///< 0 line file, 1 stake file
  int calculateMode = 0;     ///< 0 whole multiples of the interval, 1 from the start mileage
  double interval = 0;       ///< metres between stakes
  double offset = 0;         ///< side-stake offset, metres (0: none)
  std::string path;          ///< chosen file
};

/// The outcome of an action: success, and the message to show (empty: none).
struct FlatMessage {
  bool ok = false;
  std::string key;           ///< language key of the message
  bool information = false;  ///< information icon (a completion) instead of warning
  std::string detail;        ///< what the message is about: the side-stake file, the failed point
};

class CFlatPage {
 public:
  enum ListMode : int { kListInput = 0, kListKeyPoints = 1, kListStakes = 2 };
  /// The list file is read up to this many lines.
  static constexpr int kMaxListLines = 100000;
  static constexpr double kKeyPointInterval = 200.0;
  static constexpr double kStakeInterval = 20.0;

  virtual ~CFlatPage() = default;

  /// Road name (the road file's title, or the name an import read) and the
  /// folder of the road file, which name the page's files.
  std::string roadName;
  std::string folder;
  /// The road's broken chains: displayed mileages of every list, stake file
  /// and added stake follow them.
  RecordList<Scisson_Data> brokenChains;
  /// The input changed since the last Save (Save is enabled).
  bool dataChanged = false;
  /// The list shown: kListInput, kListKeyPoints or kListStakes.
  int listMode = kListInput;

  /// "<folder>/<road name>.RP" (.RE, .LE) of the page.
  std::string basePath() const;
  std::string curveFilePath() const { return basePath() + ".TDFE"; }
  std::string listFilePath() const { return basePath() + ".txt"; }

  /// Writes the page's input file, computes the road and writes its curve
  /// file. On failure the message says why, and no later list, map or export
  /// uses a curve file of an earlier calculation.
  FlatMessage calculate();
  /// True when the last `calculate` succeeded: the curve file is this input's.
  bool hasCurrentCurve() const { return curveCurrent_; }
  /// Start mileage and total length of the last successful calculation.
  double calculatedStartMileage() const { return calculatedStart_; }
  double calculatedLength() const { return calculatedLength_; }

  /// The curve file for the map: calculate, then its path (empty and the
  /// message on failure).
  FlatMessage curveForMap(std::string& path);

  /// Switches the list: mode 0 shows the input again; modes 1 and 2
  /// calculate, load the curve file, write the list file at interval 200 or
  /// 20 and read its key points (mode 1) or, as a stake-out crew uses them,
  /// every record of it in station order: the regular stakes and the key
  /// points, each marked (mode 2). On failure the mode is still set and the
  /// rows are empty.
  FlatMessage setListMode(int mode);
  /// The list as setListMode shows it, computed from the road's records
  /// (`road`, the page's input as the road holds it) through a private
  /// temporary folder: nothing is written beside the road. What a road shows
  /// when it is opened or reloaded, since opening a road writes no file.
  FlatMessage setListModeFromRoad(int mode, const RoadDataSet& road);
  /// The key points (mode 1) or stakes (mode 2) on show.
  const std::vector<FlatStakeRow>& stakeRows() const { return stakeRows_; }
  /// Fills the key-point or stake list from a list file (records of `kind`).
  void loadListFile(const std::string& path, int kind) { stakeRows_ = readListFile(path, kind); }
  /// Columns of the key-point or stake list.
  static std::vector<FlatColumn> stakeColumns(int mode);
  /// The `kind` that reads key points and regular stakes alike.
  static constexpr int kKeyPointsAndStakes = -1;
  /// Reads a list file's records of `kind` (0 key points, 2 stakes,
  /// kKeyPointsAndStakes both, in the file's order), at most kMaxListLines
  /// lines. A missing or unreadable file gives no rows.
  static std::vector<FlatStakeRow> readListFile(const std::string& path, int kind);
  static std::vector<FlatStakeRow> parseListText(const std::string& text, int kind);

  /// True for a name that can name the road's files in its folder: not
  /// empty, no folder separator, not "." or "..".
  static bool isPlainFileName(const std::string& name);

  /// Filter kind of the export dialog: 0 intersection points, 1 elements,
  /// 2 line elements.
  virtual int filterKind() const = 0;
  /// Checks the export dialog's fields before a file is asked for; the key
  /// that refuses them, or empty.
  static std::string refuseExportFields(int exportType, int calculateMode, double interval);
  /// File dialog filter of an export.
  static std::string exportFilter(int exportType, int filterKind);
  /// Default extension of an export's file dialog: "dat" for a stake file, as
  /// every stake file of the system; for a line file the extension of the text
  /// written, so that Open reads it again: "RP" on the intersection-point
  /// page, "RE" for the element text of the element and line-element pages.
  static std::string exportExtension(int exportType, int filterKind);
  /// The side stake file that an export would replace: the companion of the
  /// chosen stake file when side stakes are written and that file exists;
  /// empty otherwise. The chosen file itself is asked about by the file dialog.
  static std::string sideStakeFileReplaced(const FlatExportRequest& request);
  /// Writes the export. Run after a successful `calculate`.
  FlatMessage exportTo(const FlatExportRequest& request);
  /// The companion file of side stakes next to a stake file.
  static std::string sideStakePath(const std::string& stakePath);

  /// The point of a stake: loads the curve file and evaluates the displayed
  /// mileage on the chosen side of a broken chain (0 before, 1 after).
  /// Empty when the curve cannot be loaded or holds no such mileage.
  std::optional<StationPoint> stakePoint(int side, double mileage, double offset);
  /// North, east and azimuth of a stake as text for the user and clipboard.
  static std::string stakePointText(const StationPoint& p, const std::string& northLabel,
                                    const std::string& eastLabel, const std::string& azimuthLabel);

  /// Stores the start mileage and length of the last calculation into the
  /// road list entry of `roadPath` (Path or Name match), when there is one.
  void storeExtents(CInputRoadLibrary& library, const std::string& roadPath) const;

  /// The page's engine, as the last list, export or stake loaded it.
  const CRoadDesign& engine() const { return engine_; }

 protected:
  /// The list mode is about to change.
  virtual void listModeChanged() {}
  /// Extension of the base path ("RP", "RE", "LE").
  virtual const char* baseExtension() const = 0;
  /// The page's own calculation (Parts of each page); on success sets
  /// `calculatedStart_` and `calculatedLength_`.
  virtual FlatMessage doCalculate() = 0;
  /// Writes the page's input as its line file.
  virtual bool writeLineFile(const std::string& path) = 0;
  /// Saves the stake mode and interval into the method's settings file.
  virtual void saveStakeSettings(int calculateMode, double interval) = 0;
  /// Messages of the export, per page: line written, line failed, stake failed.
  virtual const char* lineWrittenKey() const = 0;
  virtual const char* lineFailedKey() const = 0;
  virtual const char* stakeFailedKey() const = 0;

  /// Loads the current curve file with the road's broken chains.
  bool loadCurve();
  /// The rows of the input list were rebuilt (a row number per row, kept
  /// when rows are inserted or removed elsewhere).
  void renumberRows(int count);
  void insertRowNumber(int index, int number);
  void removeRowNumber(int index);

  CRoadDesign engine_;
  double calculatedStart_ = 0;
  double calculatedLength_ = 0;
  std::vector<int> rowNumbers_;

 public:
  /// "#" text of input row `row`: its position + 1 when the row was made.
  int rowNumber(int row) const {
    return row >= 0 && row < static_cast<int>(rowNumbers_.size()) ? rowNumbers_[static_cast<std::size_t>(row)]
                                                                   : row + 1;
  }

 private:
  bool curveCurrent_ = false;
  std::vector<FlatStakeRow> stakeRows_;
};

/// "%.4f" of a number.
std::string fixed4(double value);

}  // namespace trazmark
