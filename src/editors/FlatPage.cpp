#include "editors/FlatPage.h"

#include <sys/stat.h>

#include <cmath>

#include "coords/AngleFormat.h"
#include "editors/AlignmentLoader.h"
#include "library/InputRoadLibrary.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"

namespace trazmark {
namespace {

constexpr double kRadToDeg = 57.29577951308232;

FlatMessage failure(const std::string& key) {
  FlatMessage m;
  m.key = key;
  return m;
}

FlatMessage success(const std::string& key = std::string(), bool information = false) {
  FlatMessage m;
  m.ok = true;
  m.key = key;
  m.information = information;
  return m;
}

// The fields of one list-file line, split at commas; at most `count`.
std::vector<std::string> splitFields(const std::string& line, std::size_t count) {
  std::vector<std::string> fields;
  std::size_t pos = 0;
  while (fields.size() < count) {
    std::size_t comma = line.find(',', pos);
    if (comma == std::string::npos) {
      fields.push_back(line.substr(pos));
      break;
    }
    fields.push_back(line.substr(pos, comma - pos));
    pos = comma + 1;
  }
  fields.resize(count);
  return fields;
}

}  // namespace

std::string fixed4(double value) { return formatFixed(value, 4); }

std::string CFlatPage::basePath() const {
  // A road file given without a folder keeps its files in the working folder.
  return (folder.empty() ? std::string() : folder + "/") + roadName + "." + baseExtension();
}

FlatMessage CFlatPage::calculate() {
  // Whatever happens below, the curve file of an earlier calculation no
  // longer describes this input.
  curveCurrent_ = false;
  FlatMessage m = doCalculate();
  curveCurrent_ = m.ok;
  return m;
}

bool CFlatPage::loadCurve() {
  if (!curveCurrent_) return false;
  engine_.brokenChains = brokenChains;
  return engine_.loadFromCurveFile(curveFilePath());
}

FlatMessage CFlatPage::curveForMap(std::string& path) {
  path.clear();
  FlatMessage m = calculate();
  if (m.ok) path = curveFilePath();
  return m;
}

std::vector<FlatColumn> CFlatPage::stakeColumns(int mode) {
  if (mode == kListKeyPoints) {
    return {{"#", 58},
            {"IDS_DATA_pt_name", 100},
            {"IDS_DATA_mileage", 100},
            {"IDS_DATA_coordinate_north", 120},
            {"IDS_DATA_coordinate_east", 120}};
  }
  return {{"#", 58},
          {"IDS_DATA_stake_kind", 90},
          {"IDS_DATA_pt_name", 100},
          {"IDS_DATA_mileage", 100},
          {"IDS_DATA_coordinate_north", 120},
          {"IDS_DATA_coordinate_east", 120}};
}

FlatMessage CFlatPage::setListMode(int mode) {
  if (mode < kListInput || mode > kListStakes) mode = kListInput;
  listModeChanged();
  listMode = mode;
  stakeRows_.clear();
  if (mode == kListInput) return success();
  FlatMessage m = calculate();
  if (!m.ok) return m;
  if (!loadCurve()) return failure("IDS_WARN_road_load_error");
  const double interval = mode == kListKeyPoints ? kKeyPointInterval : kStakeInterval;
  if (!engine_.writeStakeList(listFilePath(), 0, interval, 0.0)) return failure("IDS_WARN_calculate_error");
  loadListFile(listFilePath(), mode == kListKeyPoints ? RoadCoordinate::kKeyPoint : kKeyPointsAndStakes);
  return success();
}

FlatMessage CFlatPage::setListModeFromRoad(int mode, const RoadDataSet& road) {
  if (mode < kListInput || mode > kListStakes) mode = kListInput;
  listModeChanged();
  listMode = mode;
  stakeRows_.clear();
  if (mode == kListInput) return success();
  // The page's own method, whatever the road names (a road without one shows
  // the intersection-point page).
  RoadDataSet input = road;
  input.FlatcurveType = filterKind();
  input.scissons = brokenChains;
  CRoadDesign design;
  std::string error;
  if (!loadRoadAlignment(input, roadName, design, error)) return failure("IDS_WARN_calculate_error");
  const double interval = mode == kListKeyPoints ? kKeyPointInterval : kStakeInterval;
  std::string text;
  if (!design.stakeListText(0, interval, 0.0, text)) return failure("IDS_WARN_calculate_error");
  stakeRows_ = parseListText(text, mode == kListKeyPoints ? RoadCoordinate::kKeyPoint : kKeyPointsAndStakes);
  return success();
}

std::vector<FlatStakeRow> CFlatPage::readListFile(const std::string& path, int kind) {
  const std::string trimmed = trimWhiteSpace(path);
  std::string text;
  if (trimmed.empty() || !readTextFileAsAnsi(trimmed, text)) return {};
  return parseListText(text, kind);
}

std::vector<FlatStakeRow> CFlatPage::parseListText(const std::string& text, int kind) {
  std::vector<FlatStakeRow> rows;
  const std::string keyPoint = std::to_string(RoadCoordinate::kKeyPoint);
  const std::string stake = std::to_string(RoadCoordinate::kRegularStake);
  const std::string wanted = std::to_string(kind);
  forEachLine(text, kMaxListLines, [&](const std::string& line) {
    if (line.size() <= 4) return;
    std::vector<std::string> f = splitFields(line, 6);
    const bool both = kind == kKeyPointsAndStakes && (f[5] == keyPoint || f[5] == stake);
    if (!both && f[5] != wanted) return;
    FlatStakeRow row;
    row.keyPoint = f[5] == keyPoint;
    if (row.keyPoint) row.name = std::move(f[0]);
    row.mileage = std::move(f[4]);
    row.north = std::move(f[1]);
    row.east = std::move(f[2]);
    rows.push_back(std::move(row));
  });
  return rows;
}

bool CFlatPage::isPlainFileName(const std::string& name) {
  return !name.empty() && name != "." && name != ".." && name.find_first_of("/\\") == std::string::npos;
}

std::string CFlatPage::refuseExportFields(int exportType, int calculateMode, double interval) {
  if (exportType != 1) return {};
  // Stakes on whole stations need an interval of at least a metre; counted
  // from the start, any positive interval advances.
  if (!(interval > 0) || !std::isfinite(interval) || (calculateMode == 0 && !(interval >= 1.0))) {
    return "IDS_WARN_stake_interval_error";
  }
  return {};
}

std::string CFlatPage::exportFilter(int exportType, int kind) {
  if (exportType == 1) return "Files(*.dat)|*.dat|";
  return kind == 0 ? "Files(*.RP)|*.RP|" : "Files(*.RE)|*.RE|";
}

std::string CFlatPage::exportExtension(int exportType, int kind) {
  if (exportType == 1) return "dat";
  return kind == 0 ? "RP" : "RE";
}

std::string CFlatPage::sideStakeFileReplaced(const FlatExportRequest& request) {
  // The same test as exportTo's: an offset of 0 (or none) writes no side stakes.
  if (request.exportType != 1 || request.offset == 0 || !std::isfinite(request.offset) || request.path.empty())
    return {};
  const std::string side = sideStakePath(request.path);
  struct stat st {};
  return ::stat(side.c_str(), &st) == 0 ? side : std::string();
}

std::string CFlatPage::sideStakePath(const std::string& stakePath) {
  const std::size_t slash = stakePath.find_last_of('/');
  const std::size_t dot = stakePath.find_last_of('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return stakePath + "_side";
  return stakePath.substr(0, dot) + "_side" + stakePath.substr(dot);
}

FlatMessage CFlatPage::exportTo(const FlatExportRequest& request) {
  if (request.exportType != 1) {
    if (writeLineFile(request.path)) return success(lineWrittenKey(), true);
    return failure(lineFailedKey());
  }
  const std::string refused = refuseExportFields(request.exportType, request.calculateMode, request.interval);
  if (!refused.empty()) return failure(refused);
  if (!loadCurve()) return failure("IDS_WARN_road_load_error");
  saveStakeSettings(request.calculateMode, request.interval);
  // The stake file always holds the centre line; side stakes go to their own
  // file, so a file that goes to the field never changes meaning with the
  // offset typed.
  if (!engine_.writeStakeList(request.path, request.calculateMode, request.interval, 0.0)) {
    return failure(stakeFailedKey());
  }
  FlatMessage done = success("IDS_WARN_data_export_finish", true);
  if (request.offset == 0 || !std::isfinite(request.offset)) return done;

  std::vector<RoadCoordinate> records;
  if (!engine_.stakeRecords(request.calculateMode, request.interval, 0.0, records)) return failure(stakeFailedKey());
  const double d = std::fabs(request.offset);
  std::string text;
  text.reserve(records.size() * 180);
  for (const RoadCoordinate& r : records) {
    for (int side = 0; side < 2; ++side) {
      const double o = side == 0 ? -d : d;  // left first, then right of travel
      text += r.name;
      text += side == 0 ? "-L," : "-R,";
      text += formatFixed(r.x - o * std::sin(r.azimuth), 4);
      text += ',';
      text += formatFixed(r.y + o * std::cos(r.azimuth), 4);
      text += ',';
      text += formatFixed(r.z, 4);
      text += ',';
      text += r.mileageText;
      text += ',';
      text += std::to_string(r.kind);
      text += ',';
      const double a = r.azimuth < 0.00001 ? r.azimuth + 2 * 3.141592653589793 : r.azimuth;
      text += formatFixed(radiansToPackedDms(a, DmsVariant::Stake), 10);
      text += "\r\n";
    }
  }
  const std::string sidePath = sideStakePath(request.path);
  if (!writeTextFileAtomically(sidePath, text)) return failure(stakeFailedKey());
  done.key = "IDS_WARN_side_stake_export_finish";
  done.detail = sidePath;
  return done;
}

std::optional<StationPoint> CFlatPage::stakePoint(int side, double mileage, double offset) {
  if (!loadCurve()) return std::nullopt;
  return engine_.pointAtStation(mileage, offset, side == 1 ? 1 : 0);
}

std::string CFlatPage::stakePointText(const StationPoint& p, const std::string& northLabel,
                                      const std::string& eastLabel, const std::string& azimuthLabel) {
  double degrees = p.azimuth * kRadToDeg;
  if (degrees >= 360.0) degrees -= 360.0;
  std::string text;
  appendFormat(text, "%s: %.4f\n%s: %.4f\n%s: %.8f (%s)", northLabel.c_str(), p.x, eastLabel.c_str(), p.y,
               azimuthLabel.c_str(), degrees, formatDms(degrees).c_str());
  return text;
}

void CFlatPage::storeExtents(CInputRoadLibrary& library, const std::string& roadPath) const {
  if (roadPath.empty()) return;
  for (RoadLibraryData& entry : library.roadList) {
    if (entry.Path == roadPath) {
      entry.extraA = calculatedStart_;
      entry.extraB = calculatedLength_;
    }
  }
}

void CFlatPage::renumberRows(int count) {
  rowNumbers_.resize(static_cast<std::size_t>(count < 0 ? 0 : count));
  for (int i = 0; i < count; ++i) rowNumbers_[static_cast<std::size_t>(i)] = i + 1;
}

void CFlatPage::insertRowNumber(int index, int number) {
  // Only the new row gets a number; the others keep theirs.
  if (index < 0 || index > static_cast<int>(rowNumbers_.size())) index = static_cast<int>(rowNumbers_.size());
  rowNumbers_.insert(rowNumbers_.begin() + index, number);
}

void CFlatPage::removeRowNumber(int index) {
  if (index >= 0 && index < static_cast<int>(rowNumbers_.size())) rowNumbers_.erase(rowNumbers_.begin() + index);
}

}  // namespace trazmark
