#include "shell/RoadFileCommands.h"

#include <algorithm>
#include <cctype>

#include "platform/qt/Localization.h"
#include "shell/SurveyFiles.h"
#include "platform/qt/UserDialogs.h"

namespace trazmark {
namespace {

constexpr const char* kNewRoadFilter = "Files(*.REC)|*.REC|";
// IP and XY survey files are converted on Open, so the dialog offers them too.
constexpr const char* kOpenFilter =
    "Files(*.RE;*.RP;*.IP;*.XY;*.VR;*.REC)|*.RE;*.RP;*.IP;*.XY;*.VR;*.REC|";

std::string fileNamePart(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string folderPart(const std::string& path) {
  std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

std::string withoutExtension(const std::string& name) {
  std::size_t dot = name.find_last_of('.');
  return dot == std::string::npos ? name : name.substr(0, dot);
}

}  // namespace

CRoadFileCommands::CRoadFileCommands(CInputRoadLibrary& store, UserDialogs& dialogs, FrameHost& host)
    : store_(store), dialogs_(dialogs), host_(host) {}

std::string CRoadFileCommands::typeCodeOf(const std::string& path) {
  std::string name = fileNamePart(path);
  std::size_t dot = name.find_last_of('.');
  if (dot == std::string::npos) return {};
  std::string code = name.substr(dot + 1);
  std::transform(code.begin(), code.end(), code.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return code;
}

std::string CRoadFileCommands::windowTitle() const {
  return state_.roadFileName.empty() && !state_.roadOpen ? std::string("Trazmark")
                                                         : "Trazmark - " + state_.roadFileName;
}

void CRoadFileCommands::askToSavePreviousRoad() {
  if (state_.modified && dialogs_.questionOkCancel("IDS_WARN_is_save_last_road")) save();
}

void CRoadFileCommands::beforeReplacingRoad() {
  host_.commitPendingEdits();
  // Cancel goes on without saving: the command that asked still runs.
  askToSavePreviousRoad();
}

void CRoadFileCommands::takeNamesFromPath(const std::string& path) {
  state_.roadPath = path;
  state_.roadFileName = fileNamePart(path);
  state_.roadFolder = folderPart(path);
  state_.roadTitle = withoutExtension(state_.roadFileName);
}

void CRoadFileCommands::roadBecameCurrent() {
  // The edits of the previous road were saved or given up by the question.
  state_.modified = 0;
  state_.roadOpen = 1;
  host_.reloadDataViews();
  host_.refreshNavigation();
  host_.roadStateChanged();
}

void CRoadFileCommands::newRoad() {
  beforeReplacingRoad();
  UserDialogs::FileRequest request;
  request.title = GetLanguageText("IDS_DATA_new_road");
  request.filter = kNewRoadFilter;
  request.defaultExtension = "REC";
  request.confirmOverwrite = true;
  std::string path = dialogs_.saveFileName(request);
  if (path.empty()) return;

  state_.openedFromFile = 0;
  takeNamesFromPath(path);
  store_.clear();
  state_.savedName = state_.roadFileName;
  state_.savedPath = state_.roadPath;
  roadBecameCurrent();
}

void CRoadFileCommands::openRoad() {
  beforeReplacingRoad();
  UserDialogs::FileRequest request;
  request.filter = kOpenFilter;
  request.defaultExtension = "mc";
  std::string path = dialogs_.openFileName(request);
  if (path.empty()) return;

  state_.openedFromFile = 1;
  takeNamesFromPath(path);
  store_.clear();
  loadFileByType(path);
}

void CRoadFileCommands::openRoadFromList(const std::string& path) {
  // Switching roads from the list replaces the current road just as Open
  // does, so its unsaved edits get the same chance to be saved.
  beforeReplacingRoad();
  state_.openedFromFile = 1;
  takeNamesFromPath(path);
  store_.clear();
  loadFileByType(path);
}

void CRoadFileCommands::loadFailed(const std::string& key) {
  dialogs_.warning(key);
}

void CRoadFileCommands::loadFileByType(const std::string& path) {
  std::string code = typeCodeOf(path);
  state_.roadFileName = fileNamePart(path);
  state_.roadFolder = folderPart(path);
  state_.roadTitle = withoutExtension(state_.roadFileName);
  state_.roadPath = state_.savedPath = path;
  state_.savedName = state_.roadTitle;

  auto importAlignment = [&](const std::string& file, int elementFile) {
    // A file that cannot be read leaves the road as it was.
    const int32_t before = store_.FlatcurveType;
    store_.FlatcurveType = elementFile ? kFlatcurveElements : kFlatcurveCrossPoints;
    if (host_.importAlignmentFile(file, elementFile) == ImportResult::kUnreadable) {
      store_.FlatcurveType = before;
      loadFailed("IDS_WARN_import_failed");
    }
  };

  if (code == "RE") {
    importAlignment(path, 1);
  } else if (code == "RP") {
    importAlignment(path, 0);
  } else if (code == "IP" || code == "XY") {
    std::string converted;
    if (convertSurveyFileToCrossPoints(code, path, converted)) {
      importAlignment(converted, 0);
    } else {
      loadFailed("IDS_WARN_import_failed");
    }
  } else if (code == "REC") {
    if (!store_.readRoadFile(path)) {
      // A road file that cannot be read opens no road: the store stays empty
      // and no later Save may write the empty road over the file.
      loadFailed("IDS_WARN_road_load_error");
      store_.clear();
      std::string roadListPath = state_.roadListPath;
      state_ = RoadFileState();
      state_.roadListPath = roadListPath;
      host_.reloadDataViews();
      host_.showRoadListView();
      host_.roadStateChanged();
      return;
    }
  }
  roadBecameCurrent();
}

std::string CRoadFileCommands::roadFilePathForSave() const {
  // An imported alignment or survey file is the user's own text file: the road
  // file is written beside it under the same title, never over it.
  if (typeCodeOf(state_.roadPath) == "REC") return state_.roadPath;
  std::string name = fileNamePart(state_.roadPath);
  std::size_t dot = name.find_last_of('.');
  std::string base = dot == std::string::npos ? state_.roadPath
                                              : state_.roadPath.substr(0, state_.roadPath.size() - (name.size() - dot));
  return base + ".REC";
}

bool CRoadFileCommands::save() {
  if (!state_.roadOpen) return false;
  if (state_.roadPath.empty()) {
    dialogs_.warning("IDS_WARN_name_empty_save_failed");
    return false;
  }
  host_.commitPendingEdits();
  std::string target = roadFilePathForSave();
  if (!store_.writeRoadFile(target)) {
    dialogs_.warning("IDS_WARN_save_file_failed");
    return false;
  }
  state_.modified = 0;

  if (!state_.roadListPath.empty() && state_.openedFromFile == 0) {
    RoadLibraryData entry;
    entry.Path = state_.savedPath;
    entry.Name = state_.savedName;
    // A road saved again moves to the top instead of filling the list (and
    // its ten buttons) with copies of itself.
    for (int i = store_.roadCount() - 1; i >= 0; --i) {
      if (store_.road(i).Path == entry.Path) store_.roadList.removeAt(static_cast<std::size_t>(i));
    }
    store_.insertRoadEntry(0, entry);
    store_.saveRoadList(state_.roadListPath);
    host_.rebuildRoadList();
  }
  host_.roadStateChanged();
  return true;
}

void CRoadFileCommands::setRoadFilePath(const std::string& path) {
  takeNamesFromPath(path);
  state_.savedPath = path;
  state_.savedName = state_.roadTitle;
}

void CRoadFileCommands::closing() { beforeReplacingRoad(); }

}  // namespace trazmark
