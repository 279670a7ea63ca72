#pragma once
// The in-memory home of the road data: the list of known roads and the whole
// data set of the one open road. The main frame owns exactly one.

#include <string>

#include "records/RoadRecords.h"

namespace trazmark {

class CInputRoadLibrary : public RoadDataSet {
 public:
  CInputRoadLibrary() = default;
  virtual ~CInputRoadLibrary() = default;

  /// The known roads, most recently added first.
  RecordList<RoadLibraryData> roadList;

  /// Empties the open road (every list, FlatcurveType -1); the road list stays.
  void clear() { RoadDataSet::clear(); }

  /// Writes the open road as an XML road file; false when it cannot be written
  /// (the previous file then stays as it was).
  bool writeRoadFile(const std::string& path) const;
  /// Replaces the open road by the content of a road file; false (and the road
  /// unchanged) when the file is missing, unreadable or not a road file.
  bool readRoadFile(const std::string& path);

  /// Replaces roadList by the road list file; false leaves it unchanged.
  bool loadRoadList(const std::string& path);
  /// Writes roadList as the road list file.
  bool saveRoadList(const std::string& path) const;
  /// Inserts a copy of `entry` at `index`, shifting the others back.
  void insertRoadEntry(int index, const RoadLibraryData& entry);

  int roadCount() const { return roadList.count(); }
  const RoadLibraryData& road(int index) const { return roadList[static_cast<std::size_t>(index)]; }
};

}  // namespace trazmark
