#pragma once
// The open road's file identity, as the file commands keep it and the data
// views read it (the folder and title name a road's method files), and how a
// view took an alignment file handed to it.

#include <cstdint>
#include <string>

namespace trazmark {

/// How a data view took an alignment file handed to it (message 1630).
enum class ImportResult {
  kImported,       ///< the view read the file
  kUnreadable,     ///< the view could not read it: the user is told
  kNoEditor,       ///< no view of that kind yet; the view page says so
};

/// The current road's file identity.
struct RoadFileState {
  std::string roadFileName;  ///< file name with extension; shown in the title
  std::string roadTitle;     ///< file name without folder and extension
  std::string roadFolder;    ///< folder of the road file, without a trailing '/'
  std::string roadPath;      ///< full path; empty when no file is chosen
  std::string savedPath;     ///< path recorded in the road list by Save
  std::string savedName;     ///< name recorded in the road list by Save
  int32_t openedFromFile = 0;  ///< 0 after New, 1 after Open
  int32_t roadOpen = 0;        ///< a road is current: Save and the data commands act
  int32_t modified = 0;        ///< a data view stored edits since the last Save
  std::string roadListPath;    ///< the road list file; empty means no road list
};

}  // namespace trazmark
