#include "editors/AlignmentLoader.h"

#include <atomic>
#include <cctype>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "alignment/RoadDesign_CrossPoint.h"
#include "alignment/RoadDesign_Element.h"
#include "editors/LineElementFile.h"
#include "editors/SurveyImport.h"
#include "library/InputRoadLibrary.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

// A private folder for the intermediate files of one load, removed with it.
class ScratchFolder {
 public:
  ScratchFolder() {
    static std::atomic<int> counter{0};
    std::error_code ec;
    fs::path base = fs::temp_directory_path(ec);
    if (ec) base = "/tmp";
    path_ = base / ("trazmark-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    fs::create_directories(path_, ec);
    ok_ = !ec;
  }
  ~ScratchFolder() {
    std::error_code ec;
    fs::remove_all(path_, ec);
  }
  bool ok() const { return ok_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }

 private:
  fs::path path_;
  bool ok_ = false;
};

std::string fileNameOf(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool crossPointCurve(CRoadDesign_CrossPoint& method, const std::string& curvePath,
                     std::string& error) {
  if (method.writeCurveFile(curvePath)) return true;
  int bad = method.failedPointIndex();
  if (method.points.size() < 3) {
    error = "fewer than three intersection points";
  } else if (bad >= 0 && method.failure() == CrossPointFailure::NegativeRadius) {
    error = "the radius of intersection point " + method.pointLabel(bad) + " is negative (" +
            formatFixed(method.points[static_cast<std::size_t>(bad)].Radius, 4) +
            "): a radius is given without sign, the side of the curve follows from the points";
  } else if (bad >= 1 && method.failure() == CrossPointFailure::TangentsOverlap) {
    error = "the tangents of intersection points " + method.pointLabel(bad - 1) + " and " +
            method.pointLabel(bad) + " overlap by " + formatFixed(method.overlap(), 4) +
            " m: the straight between them would run backwards";
  } else if (bad >= 0) {
    error = "no curve can be fitted at intersection point " + method.pointLabel(bad) +
            ": its straights are parallel, it repeats a neighbour, or a value is not a number";
  } else {
    error = "cannot write the curve file";
  }
  return false;
}

bool elementCurve(CRoadDesign_Element& method, const std::string& curvePath, std::string& error) {
  if (method.writeCurveFile(curvePath)) return true;
  error = "cannot write the curve file";
  return false;
}

bool crossPointFileCurve(const std::string& rpPath, const std::string& curvePath,
                         std::string& roadName, std::string& error) {
  CRoadDesign_CrossPoint method(std::string{});
  if (!method.readText(rpPath)) {
    error = "cannot read the intersection-point file";
    return false;
  }
  roadName = method.roadName;
  return crossPointCurve(method, curvePath, error);
}

bool elementFileCurve(const std::string& rePath, const std::string& curvePath,
                      std::string& roadName, std::string& error) {
  CRoadDesign_Element method(std::string{});
  if (!method.readText(rePath)) {
    error = "cannot read the element file";
    return false;
  }
  roadName = method.roadName;
  return elementCurve(method, curvePath, error);
}

bool surveyFileCurve(const std::string& path, bool ip, const ScratchFolder& scratch,
                     const std::string& curvePath, std::string& roadName, std::string& error) {
  std::string text;
  if (!readTextFileAsAnsi(path, text)) {
    error = "cannot read the file";
    return false;
  }
  std::string rpName = crossPointPathForSurveyFile(fileNameOf(path));
  std::string rpText;
  bool converted = ip ? convertIpSurveyText(text, rpName, rpText)
                      : convertXySurveyText(text, rpName, rpText);
  if (!converted) {
    error = "the survey file holds fewer than three points";
    return false;
  }
  std::string rpPath = scratch.file("survey.RP");
  if (!writeTextFileAtomically(rpPath, rpText)) {
    error = "cannot write the converted intersection-point file";
    return false;
  }
  return crossPointFileCurve(rpPath, curvePath, roadName, error);
}

bool lineElementCurve(const LineElementData& data, const std::string& curvePath,
                      std::string& roadName, std::string& error) {
  roadName = data.roadName;
  if (writeLineElementCurveFile(curvePath, data)) return true;
  error = "cannot write the curve file";
  return false;
}

// The curve file of the method in force in a road file.
bool roadCurve(const RoadDataSet& road, const std::string& name,
               const std::string& curvePath, std::string& error) {
  switch (road.FlatcurveType) {
    case kFlatcurveCrossPoints: {
      CRoadDesign_CrossPoint method(std::string{});
      method.roadName = name;
      method.points = road.crossPoints;
      return crossPointCurve(method, curvePath, error);
    }
    case kFlatcurveElements: {
      CRoadDesign_Element method(std::string{});
      method.roadName = name;
      method.elements = road.elements;
      method.startMileage = road.elements.empty() ? 0 : road.elements[0].Mileage;
      return elementCurve(method, curvePath, error);
    }
    case kFlatcurveLineElements: {
      LineElementData data;
      data.roadName = name;
      data.elements = road.lineElements;
      data.startMileage = road.lineElements.empty() ? 0 : road.lineElements[0].Mileage;
      std::string ignored;
      return lineElementCurve(data, curvePath, ignored, error);
    }
    default:
      error = "the road file holds no horizontal alignment";
      return false;
  }
}

// Writes the curve file of `path` to `curvePath`; fills the source's kind,
// name and (for a road file) road.
bool curveFileOf(const std::string& path, const ScratchFolder& scratch,
                 const std::string& curvePath, AlignmentSource& source, std::string& error) {
  std::string code = fileTypeCode(path);
  source.kind = code;
  if (code == "RP") return crossPointFileCurve(path, curvePath, source.roadName, error);
  if (code == "RE") return elementFileCurve(path, curvePath, source.roadName, error);
  if (code == "IP" || code == "XY")
    return surveyFileCurve(path, code == "IP", scratch, curvePath, source.roadName, error);
  if (code == "LE") {
    LineElementData data;
    if (!readLineElementFile(path, data)) {
      error = "cannot read the line-element file";
      return false;
    }
    return lineElementCurve(data, curvePath, source.roadName, error);
  }
  if (code == "REC") {
    CInputRoadLibrary library;
    if (!library.readRoadFile(path)) {
      error = "cannot read the road file (missing, unreadable or not a road file)";
      return false;
    }
    source.road = static_cast<const RoadDataSet&>(library);
    source.roadName = roadNameOfPath(path);
    return roadCurve(source.road, source.roadName, curvePath, error);
  }
  source.kind = "CURVE";
  return false;  // the caller reads the file itself as a curve file
}

}  // namespace

std::string roadNameOfPath(const std::string& path) {
  std::string name = fileNameOf(path);
  std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

std::string fileTypeCode(const std::string& path) {
  std::string name = fileNameOf(path);
  std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return std::string();
  std::string code = name.substr(dot + 1);
  for (char& c : code) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return code;
}

bool loadAlignmentFile(const std::string& path, CRoadDesign& design, AlignmentSource& source,
                       std::string& error) {
  source = AlignmentSource{};
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    error = "no such file";
    return false;
  }
  ScratchFolder scratch;
  if (!scratch.ok()) {
    error = "cannot create a temporary folder";
    return false;
  }
  std::string curvePath = scratch.file("alignment.TDFE");
  std::string curve = path;
  if (curveFileOf(path, scratch, curvePath, source, error)) {
    curve = curvePath;
  } else if (source.kind != "CURVE") {
    return false;
  }
  if (!design.loadFromCurveFile(curve)) {
    error = source.kind == "CURVE" ? "not a usable curve file (fewer than two elements, or they do not chain)"
                                   : "the computed alignment does not chain";
    return false;
  }
  if (source.kind == "REC") design.brokenChains = source.road.scissons;
  if (source.roadName.empty()) source.roadName = design.roadName();
  return true;
}

bool loadRoadAlignment(const RoadDataSet& road, const std::string& roadName, CRoadDesign& design,
                       std::string& error) {
  ScratchFolder scratch;
  if (!scratch.ok()) {
    error = "cannot create a temporary folder";
    return false;
  }
  std::string curvePath = scratch.file("alignment.TDFE");
  if (!roadCurve(road, roadName, curvePath, error)) return false;
  if (!design.loadFromCurveFile(curvePath)) {
    error = "the computed alignment does not chain";
    return false;
  }
  design.brokenChains = road.scissons;
  return true;
}

bool writeCurveFileFor(const std::string& path, const std::string& curvePath, std::string& error) {
  std::error_code ec;
  if (!fs::is_regular_file(path, ec)) {
    error = "no such file";
    return false;
  }
  ScratchFolder scratch;
  if (!scratch.ok()) {
    error = "cannot create a temporary folder";
    return false;
  }
  AlignmentSource source;
  std::string tmp = scratch.file("alignment.TDFE");
  if (!curveFileOf(path, scratch, tmp, source, error)) {
    if (source.kind != "CURVE") return false;
    tmp = path;
  }
  std::string text;
  if (!readTextFileAsAnsi(tmp, text) || !writeTextFileAtomically(curvePath, text)) {
    error = "cannot write " + curvePath;
    return false;
  }
  return true;
}

}  // namespace trazmark
