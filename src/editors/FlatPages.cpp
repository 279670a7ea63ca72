#include "editors/FlatPages.h"

#include <cmath>

#include "coords/AngleFormat.h"
#include "library/InputRoadLibrary.h"
#include "platform/CodePage.h"
#include "platform/TextFields.h"
#include "platform/TextFile.h"

namespace trazmark {
namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kRadToDeg = 180.0 / kPi;

FlatMessage failed(const char* key) {
  FlatMessage m;
  m.key = key;
  return m;
}

FlatMessage succeeded() {
  FlatMessage m;
  m.ok = true;
  return m;
}

// Index at which Add puts a new record: after the selected row, or at the end
// when none or the last row is selected.
std::size_t insertIndex(int selected, int count) {
  if (selected < 0 || selected >= count - 1) return static_cast<std::size_t>(count);
  return static_cast<std::size_t>(selected + 1);
}

bool validRow(int row, int count) { return row >= 0 && row < count; }

}  // namespace

std::string infinitySign() { return utf8ToAnsi("\u221E"); }

// ---------------------------------------------------------------------------
// Intersection points

std::vector<FlatColumn> CFlatCrossPage::inputColumns() {
  return {{"#", 58},
          {"IDS_DATA_name", 100},
          {"IDS_DATA_coordinate_north", 120},
          {"IDS_DATA_coordinate_east", 120},
          {"IDS_DATA_left_curve_length", 100},
          {"IDS_DATA_radius", 100},
          {"IDS_DATA_right_curve_length", 100},
          {"IDS_DATA_mileage", 100}};
}

std::string CFlatCrossPage::cell(int row, int column) const {
  if (!validRow(row, rowCount())) return {};
  const Road_CrossPoint& p = method.points[static_cast<std::size_t>(row)];
  switch (column) {
    case 0: return std::to_string(rowNumber(row));
    case 1: return p.point.Name;
    case 2: return fixed4(p.point.X);
    case 3: return fixed4(p.point.Y);
    case 4: return fixed4(p.CurveLength_Left);
    case 5: return fixed4(p.Radius);
    case 6: return fixed4(p.CurveLength_Right);
    case 7: return fixed4(p.Mileage);
    default: return {};
  }
}

int CFlatCrossPage::add(const Road_CrossPoint& p, int selected) {
  if (listMode != kListInput) return -1;
  const std::size_t at = insertIndex(selected, rowCount());
  method.points.insertAt(at, p);
  insertRowNumber(static_cast<int>(at), static_cast<int>(at) + 1);
  dataChanged = true;
  return static_cast<int>(at);
}

bool CFlatCrossPage::edit(int row, const Road_CrossPoint& p) {
  if (listMode != kListInput || !validRow(row, rowCount())) return false;
  method.points[static_cast<std::size_t>(row)] = p;
  dataChanged = true;
  return true;
}

bool CFlatCrossPage::remove(int row) {
  if (listMode != kListInput || !validRow(row, rowCount())) return false;
  method.points.removeAt(static_cast<std::size_t>(row));
  removeRowNumber(row);
  dataChanged = true;
  return true;
}

void CFlatCrossPage::restoreUndoState(UndoState state) {
  method.points = std::move(std::get<0>(state));
  rowNumbers_ = std::move(std::get<1>(state));
}

void CFlatCrossPage::reload(const RoadDataSet& road, const std::string& title, const std::string& roadFolder) {
  roadName = title;
  folder = roadFolder;
  brokenChains = road.scissons;
  method.points = road.crossPoints;
  renumberRows(rowCount());
  dataChanged = false;
}

void CFlatCrossPage::store(CInputRoadLibrary& library, const std::string& roadPath) {
  library.crossPoints = method.points;
  library.FlatcurveType = kFlatcurveCrossPoints;
  storeExtents(library, roadPath);
  dataChanged = false;
}

bool CFlatCrossPage::import(const std::string& path) {
  if (!method.readText(path)) return false;
  // The name read names the road's files; one that would lead out of the
  // folder does not, and the road keeps its own.
  if (isPlainFileName(method.roadName)) roadName = method.roadName;
  renumberRows(rowCount());
  return true;
}

FlatMessage CFlatCrossPage::doCalculate() {
  method.roadName = roadName;
  method.writeText(basePath());
  if (!method.writeCurveFile(curveFilePath())) {
    if (method.failure() == CrossPointFailure::NegativeRadius) {
      // Say which point: in a long list the user would not find it otherwise.
      FlatMessage m = failed("IDS_WARN_crosspoint_radius_negative");
      m.detail = method.pointLabel(method.failedPointIndex());
      return m;
    }
    return failed("IDS_WARN_road_load_error");
  }
  calculatedStart_ = method.startMileage;
  calculatedLength_ = method.runningLength;
  return succeeded();
}

void CFlatCrossPage::saveStakeSettings(int calculateMode, double interval) {
  method.CalculateMode = calculateMode;
  method.Interval = interval;
  method.saveSettings();
}

// ---------------------------------------------------------------------------
// Elements

std::vector<FlatColumn> CFlatElementPage::inputColumns() {
  return {{"IDS_DATA_element", 60},           {"IDS_DATA_coordinate_north", 100},
          {"IDS_DATA_coordinate_east", 120},  {"IDS_DATA_azimuth", 100},
          {"IDS_DATA_length", 100},           {"IDS_DATA_radius", 100},
          {"IDS_DATA_corner", 100},           {"IDS_DATA_mileage", 100}};
}

int CFlatElementPage::rowCount() const {
  return showsComputed_ ? static_cast<int>(computed_.size()) : method.elements.count();
}

std::string CFlatElementPage::cell(int row, int column) const {
  if (!validRow(row, rowCount()) || column < 0 || column > 7) return {};
  if (showsComputed_) return computed_[static_cast<std::size_t>(row)].cells[static_cast<std::size_t>(column)];
  const Road_Element& e = method.elements[static_cast<std::size_t>(row)];
  if (column == 0) return std::to_string(rowNumber(row));
  switch (e.Type) {
    case 1:
      if (column == 1) return fixed4(e.point.X);
      if (column == 2) return fixed4(e.point.Y);
      break;
    case 2:
      if (column == 3) return formatDms(e.Azimuth);
      if (column == 4) return fixed4(e.Length);
      break;
    case 3:
      if (column == 4) return fixed4(e.Length);
      if (column == 5) return fixed4(e.Radius);
      break;
    case 4:
      if (column == 4) return fixed4(e.Length);
      break;
    default:
      break;
  }
  return {};
}

int CFlatElementPage::icon(int row) const {
  if (!validRow(row, rowCount())) return -1;
  const int kind = showsComputed_ ? computed_[static_cast<std::size_t>(row)].kind
                                  : method.elements[static_cast<std::size_t>(row)].Type;
  switch (kind) {
    case 1: return 3;
    case 2: return 0;
    case 3: return 1;
    case 4: return 2;
    default: return -1;
  }
}

void CFlatElementPage::showInput() {
  showsComputed_ = false;
  computed_.clear();
}

int CFlatElementPage::add(const Road_Element& e, int selected) {
  if (listMode != kListInput) return -1;
  showInput();
  const int before = rowCount();
  const std::size_t at = insertIndex(selected, before);
  method.elements.insertAt(at, e);
  insertRowNumber(static_cast<int>(at), before + 1);
  dataChanged = true;
  return static_cast<int>(at);
}

bool CFlatElementPage::edit(int row, const Road_Element& e) {
  if (listMode != kListInput || showsComputed_ || !validRow(row, rowCount())) return false;
  method.elements[static_cast<std::size_t>(row)] = e;
  dataChanged = true;
  return true;
}

bool CFlatElementPage::remove(int row) {
  if (listMode != kListInput || showsComputed_ || !validRow(row, rowCount())) return false;
  method.elements.removeAt(static_cast<std::size_t>(row));
  removeRowNumber(row);
  dataChanged = true;
  return true;
}

void CFlatElementPage::restoreUndoState(UndoState state) {
  showInput();
  method.elements = std::move(std::get<0>(state));
  rowNumbers_ = std::move(std::get<1>(state));
  startMileage = std::get<2>(state);
}

void CFlatElementPage::reload(const RoadDataSet& road, const std::string& title, const std::string& roadFolder) {
  roadName = title;
  folder = roadFolder;
  brokenChains = road.scissons;
  method.elements = road.elements;
  showInput();
  renumberRows(rowCount());
  startMileage = method.elements.empty() ? 0.0 : method.elements[0].Mileage;
  dataChanged = false;
}

void CFlatElementPage::store(CInputRoadLibrary& library, const std::string& roadPath) {
  // The road keeps its start mileage in the first element: the one typed in
  // the view's field is stored whether or not a calculation ran since, and
  // an edited start point (whose dialog has no mileage) keeps it.
  if (!method.elements.empty()) method.elements[0].Mileage = startMileage;
  library.elements = method.elements;
  library.FlatcurveType = kFlatcurveElements;
  storeExtents(library, roadPath);
  dataChanged = false;
}

bool CFlatElementPage::import(const std::string& path) {
  if (!method.readText(path)) return false;
  // The name read names the road's files; one that would lead out of the
  // folder does not, and the road keeps its own.
  if (isPlainFileName(method.roadName)) roadName = method.roadName;
  startMileage = method.startMileage;
  // The road keeps its start mileage in the first element, where a reload
  // takes it from.
  if (!method.elements.empty()) method.elements[0].Mileage = startMileage;
  showInput();
  renumberRows(rowCount());
  return true;
}

double CFlatElementPage::arcTurnDegrees(const CRoadElement& arc) {
  // A right arc turns clockwise, so its azimuth grows; a left arc's shrinks.
  double turn = arc.startRadius < 0 ? arc.startAzimuth - arc.endAzimuth : arc.endAzimuth - arc.startAzimuth;
  turn = std::fmod(turn, 2 * kPi);
  if (turn < 0) turn += 2 * kPi;
  return turn * kRadToDeg;
}

std::string CFlatElementPage::refuseElements(const RecordList<Road_Element>& elements) {
  if (elements.size() < 2) return "IDS_WARN_element_too_less";
  if (elements[0].Type != 1) return "IDS_WARN_element_first_must_pt";
  if (elements[1].Type != 2) return "IDS_WARN_element_second_must_line";
  if (elements.back().Type != 2) return "IDS_WARN_element_last_must_line";
  return {};
}

FlatMessage CFlatElementPage::doCalculate() {
  method.roadName = roadName;
  method.startMileage = startMileage;
  method.writeText(basePath());
  const std::string refused = refuseElements(method.elements);
  if (!refused.empty()) return failed(refused.c_str());
  method.elements[0].Mileage = startMileage;

  engine_.brokenChains = brokenChains;
  if (!engine_.loadFromRoad(roadName, startMileage, method.elements)) {
    // No curve file is written for a chain the engine cannot build, and the
    // calculation fails rather than leave an older curve file to be listed.
    return failed("IDS_WARN_calculate_error");
  }
  if (!method.writeCurveFile(curveFilePath())) return failed("IDS_WARN_road_load_error");

  computed_.clear();
  double total = 0;
  for (const CRoadElement& e : engine_.elements()) {
    ComputedRow row;
    row.kind = e.type;
    std::array<std::string, 8>& c = row.cells;
    c[0] = std::to_string(computed_.size() + 1);
    if (e.type == 1) {
      c[1] = fixed4(e.startX);
      c[2] = fixed4(e.startY);
    } else {
      c[1] = fixed4(e.endX);
      c[2] = fixed4(e.endY);
      c[4] = fixed4(e.length);
      total += e.length;
    }
    if (e.type == 2) c[3] = formatFixed(radiansToPackedDms(e.endAzimuth), 10);
    if (e.type == 3) {
      c[5] = fixed4(e.startRadius);
      c[6] = formatDms(arcTurnDegrees(e));
    }
    c[7] = fixed4(e.endMileage);
    computed_.push_back(std::move(row));
  }
  showsComputed_ = true;
  calculatedStart_ = startMileage;
  calculatedLength_ = total;
  return succeeded();
}

void CFlatElementPage::saveStakeSettings(int calculateMode, double interval) {
  method.CalculateMode = calculateMode;
  method.Interval = interval;
  method.saveSettings();
}

// ---------------------------------------------------------------------------
// Line elements

std::vector<FlatColumn> CFlatLineElementPage::inputColumns() {
  return {{"#", 60},
          {"IDS_DATA_lineelement_linetype", 100},
          {"IDS_DATA_lineelement_direction", 120},
          {"IDS_DATA_lineelement_start_radius", 120},
          {"IDS_DATA_lineelement_end_radius", 100},
          {"IDS_DATA_length", 100}};
}

namespace {
std::string radiusText(double r) {
  if (r == -1.0) return infinitySign();
  return fixed4(std::fabs(r));
}
}  // namespace

std::string CFlatLineElementPage::cell(int row, int column) const {
  if (!validRow(row, rowCount())) return {};
  const Road_LineElement& e = data.elements[static_cast<std::size_t>(row) + 1];
  const bool turns = e.Type == 3 || e.Type == 4;
  switch (column) {
    case 0: return std::to_string(rowNumber(row));
    case 1:
      return e.Type == 2 ? "IDS_DATA_line" : e.Type == 3 ? "IDS_DATA_circle" : e.Type == 4 ? "IDS_DATA_curve" : "";
    case 2:
      if (!turns) return {};
      return e.Deviation == 0 ? "IDS_DATA_left" : e.Deviation == 1 ? "IDS_DATA_right" : "";
    case 3: return turns ? radiusText(e.StartRadius) : std::string();
    case 4: return turns ? radiusText(e.EndRadius) : std::string();
    case 5: return fixed4(e.Length);
    default: return {};
  }
}

int CFlatLineElementPage::icon(int row) const {
  if (!validRow(row, rowCount())) return -1;
  const int type = data.elements[static_cast<std::size_t>(row) + 1].Type;
  return type == 2 ? 0 : type == 3 ? 1 : type == 4 ? 2 : -1;
}

int CFlatLineElementPage::add(const Road_LineElement* start, const Road_LineElement& e, int selected) {
  if (listMode != kListInput) return -1;
  Road_LineElement element = e;
  if (element.Type == 2) element.Azimuth = 0;
  const int before = rowCount();
  if (data.elements.empty()) {
    if (start == nullptr) return -1;
    Road_LineElement s = *start;
    s.Type = 1;
    data.elements.append(s);
    data.startMileage = s.Mileage;
    selected = -1;
  }
  // Rows are the records after the start point.
  const std::size_t atRow = selected < 0 ? static_cast<std::size_t>(before) : static_cast<std::size_t>(selected + 1);
  data.elements.insertAt(atRow + 1, element);
  insertRowNumber(static_cast<int>(atRow), before + 1);
  dataChanged = true;
  return static_cast<int>(atRow);
}

bool CFlatLineElementPage::edit(int row, const Road_LineElement* start, const Road_LineElement& e) {
  if (listMode != kListInput || !validRow(row, rowCount())) return false;
  Road_LineElement element = e;
  if (element.Type == 2) element.Azimuth = 0;
  data.elements[static_cast<std::size_t>(row) + 1] = element;
  if (row == 0 && start != nullptr) {
    Road_LineElement s = *start;
    s.Type = 1;
    data.elements[0] = s;
    data.startMileage = s.Mileage;
  }
  dataChanged = true;
  return true;
}

bool CFlatLineElementPage::remove(int row) {
  if (listMode != kListInput || !validRow(row, rowCount())) return false;
  data.elements.removeAt(static_cast<std::size_t>(row) + 1);
  removeRowNumber(row);
  // A start point alone is no road: the list starts again from scratch.
  if (data.elements.count() == 1) {
    data.elements.clear();
    renumberRows(0);
  }
  dataChanged = true;
  return true;
}

void CFlatLineElementPage::restoreUndoState(UndoState state) {
  data.elements = std::move(std::get<0>(state));
  rowNumbers_ = std::move(std::get<1>(state));
  data.startMileage = std::get<2>(state);
}

void CFlatLineElementPage::reload(const RoadDataSet& road, const std::string& title, const std::string& roadFolder) {
  roadName = title;
  folder = roadFolder;
  brokenChains = road.scissons;
  data.roadName = title;
  data.elements = road.lineElements;
  data.startMileage = data.elements.empty() ? 0.0 : data.elements[0].Mileage;
  renumberRows(rowCount());
  dataChanged = false;
}

void CFlatLineElementPage::store(CInputRoadLibrary& library, const std::string& roadPath) {
  library.lineElements = data.elements;
  library.FlatcurveType = kFlatcurveLineElements;
  storeExtents(library, roadPath);
  dataChanged = false;
}

bool CFlatLineElementPage::writeLineFile(const std::string& path) {
  // The line file of this page is the element text its conversion writes.
  LineElementData copy = data;
  copy.roadName = roadName;
  return writeTextFileAtomically(path, elementTextFromLineElements(copy));
}

FlatMessage CFlatLineElementPage::doCalculate() {
  data.roadName = roadName;
  const std::string lePath = basePath();
  if (!writeLineElementFile(lePath, data)) return failed("IDS_WARN_save_file_failed");
  // Without its own conversion the page would compute whatever RE file lies
  // in the folder: a failed conversion fails the calculation.
  LineElementData readBack = data;
  if (!convertLineElementFile(lePath, readBack)) return failed("IDS_WARN_calculate_error");
  data.elements = readBack.elements;
  data.startMileage = readBack.startMileage;
  renumberRows(rowCount());

  method.roadName = roadName;
  method.startMileage = data.startMileage;
  if (!method.readText(elementPathForLineElementFile(lePath))) return failed("IDS_WARN_calculate_error");
  const std::string refused = CFlatElementPage::refuseElements(method.elements);
  if (!refused.empty()) return failed(refused.c_str());

  // The RE file frames every spiral for the element page; the road is the
  // chain the line elements describe, whose frames add no length and no key
  // points.
  method.elements = roadElementsFromLineElements(data);
  engine_.brokenChains = brokenChains;
  if (!engine_.loadFromRoad(roadName, data.startMileage, method.elements)) return failed("IDS_WARN_calculate_error");
  if (!method.writeCurveFile(curveFilePath(), CRoadDesign_Element::ShortLines::Keep))
    return failed("IDS_WARN_road_load_error");
  calculatedStart_ = data.startMileage;
  calculatedLength_ = method.runningLength;
  return succeeded();
}

void CFlatLineElementPage::saveStakeSettings(int calculateMode, double interval) {
  method.CalculateMode = calculateMode;
  method.Interval = interval;
  method.saveSettings();
}

}  // namespace trazmark
