#pragma once
// Loads any alignment file the program reads into the alignment engine, chosen
// by the file's extension upper-cased, as the main frame's loader chooses:
//   RP   intersection points        RE   elements         LE  line elements
//   IP, XY  survey files, converted to intersection points first
//   REC  a road file: its method in force and its broken chains
//   TDFE (or anything else) a curve file
// The methods' curve files are written to a private temporary folder that is
// removed afterwards, so loading never writes beside the user's files.

#include <string>

#include "alignment/RoadDesign.h"
#include "records/RoadRecords.h"

namespace trazmark {

/// What was loaded, for callers that report it.
struct AlignmentSource {
  std::string kind;      ///< "RP", "RE", "LE", "IP", "XY", "REC" or "CURVE"
  std::string roadName;  ///< the road name the file gives
  RoadDataSet road;      ///< for a road file: the whole road as read
};

/// The upper-cased extension of `path` (the part after its last '.' in the
/// file name), or "" when it has none.
std::string fileTypeCode(const std::string& path);

/// The name a road file gives its road: the file name without its extension.
std::string roadNameOfPath(const std::string& path);

/// Loads `path` into `design` (replacing its elements and, for a road file,
/// its broken chains). On failure returns false with a one-line reason in
/// `error`.
bool loadAlignmentFile(const std::string& path, CRoadDesign& design, AlignmentSource& source,
                       std::string& error);

/// Computes the alignment of the method in force in `road` (and takes its
/// broken chains), as loading its road file would. False with a one-line
/// reason when the road has no alignment or it does not chain.
bool loadRoadAlignment(const RoadDataSet& road, const std::string& roadName, CRoadDesign& design,
                       std::string& error);

/// Writes the curve file of the method that `path` holds (RP, RE, LE, IP, XY
/// or a road file) to `curvePath`. A curve file is copied as it is.
bool writeCurveFileFor(const std::string& path, const std::string& curvePath, std::string& error);

}  // namespace trazmark
