#include "shell/RoadFileCommands.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>

#include "editors/AlignmentLoader.h"
#include "library/LandXmlExport.h"
#include "library/LandXmlImport.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/UserDialogs.h"
#include "shell/SurveyFiles.h"

namespace trazmark {
namespace {

constexpr const char* kNewRoadFilter = "Files(*.REC)|*.REC|";
// IP and XY survey files are converted on Open, so the dialog offers them too.
constexpr const char* kOpenFilter =
    "Files(*.RE;*.RP;*.IP;*.XY;*.VR;*.REC)|*.RE;*.RP;*.IP;*.XY;*.VR;*.REC|";

constexpr const char* kLandXmlFilter = "LandXML(*.xml)|*.xml|";

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

bool pathExists(const std::string& path) {
  struct stat st {};
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

bool isFolder(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

/// A file path as a text to show (paths are in the file system's encoding).
std::string shownPath(const std::string& path) { return fromQt(pathToQt(path)); }

/// The text of `key`, or the key itself when the language file has none, so a
/// message still says something.
std::string textOf(const std::string& key) {
  std::string text = GetLanguageText(key);
  return text.empty() ? key : text;
}

/// `format` with its "%s" replaced by `value`.
std::string withValue(std::string format, const std::string& value) {
  std::size_t at = format.find("%s");
  if (at == std::string::npos) return format + " " + value;
  return format.replace(at, 2, value);
}

constexpr const char* kReplaceQuestion = "IDS_WARN_file_exists_replace";

}  // namespace

std::string withRoadFileExtension(const std::string& path) {
  return CRoadFileCommands::typeCodeOf(path) == "REC" ? path : path + ".REC";
}

std::string fileProblemKey(const std::string& path, bool writing) {
  if (isFolder(path)) return "IDS_WARN_reason_is_folder";
  if (!writing) {
    if (!pathExists(path)) return "IDS_WARN_reason_file_missing";
    if (::access(path.c_str(), R_OK) != 0) return "IDS_WARN_reason_not_readable";
    return {};
  }
  std::string folder = folderPart(path);
  if (folder.empty()) folder = ".";
  if (!isFolder(folder)) return "IDS_WARN_reason_folder_missing";
  if (pathExists(path) && ::access(path.c_str(), W_OK) != 0) return "IDS_WARN_reason_file_not_writable";
  if (::access(folder.c_str(), W_OK) != 0) return "IDS_WARN_reason_folder_not_writable";
  return {};
}

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

std::string CRoadFileCommands::windowTitle(bool unsavedViews) const {
  if (state_.roadFileName.empty() && !state_.roadOpen) return "Trazmark";
  std::string title = "Trazmark - " + shownPath(state_.roadFileName);
  // An imported file is not what Save writes: the title names the road file.
  if (state_.roadOpen && !saveTarget_.empty() && saveTarget_ != state_.roadPath) {
    std::string format = GetLanguageText("IDS_DATA_title_saves_to");
    title += " - " + withValue(format.empty() ? std::string("Save: %s") : format, shownPath(fileNamePart(saveTarget_)));
  }
  if (state_.roadOpen && (state_.modified || unsavedViews)) title += " *";
  return title;
}

void CRoadFileCommands::setSaveTarget(const std::string& path, bool ownFile) {
  saveTarget_ = path;
  targetIsOwn_ = ownFile;
}

void CRoadFileCommands::answeredInFolder(const std::string& path) {
  lastFolder_ = folderPart(path);
  host_.rememberFolder(lastFolder_);
}

void CRoadFileCommands::reportFileFailure(const std::string& key, const std::string& path, bool writing) {
  std::string reason = fileProblemKey(path, writing);
  if (reason.empty()) reason = writing ? "IDS_WARN_reason_write_broke_off" : "IDS_WARN_reason_not_a_road_file";
  dialogs_.warningDetail(key, shownPath(path) + "\n" + textOf(reason));
}

bool CRoadFileCommands::askToSavePreviousRoad() {
  if (!state_.modified) return true;
  // Don't save goes on without saving; Save goes on only when the road was
  // saved; Cancel stays with the edits.
  switch (dialogs_.questionSaveDiscardCancel("IDS_WARN_is_save_last_road")) {
    case UserDialogs::SaveAnswer::kSave:
      return save();
    case UserDialogs::SaveAnswer::kDiscard:
      return true;
    case UserDialogs::SaveAnswer::kCancel:
      break;
  }
  return false;
}

bool CRoadFileCommands::beforeReplacingRoad() {
  host_.commitPendingEdits();
  return askToSavePreviousRoad();
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
  host_.roadOpened();
}

std::string CRoadFileCommands::askForRoadFile(const std::string& titleKey, const std::string& suggestedName) {
  UserDialogs::FileRequest request;
  request.title = GetLanguageText(titleKey);
  request.filter = kNewRoadFilter;
  request.defaultExtension = "REC";
  request.confirmOverwrite = true;
  request.startFolder = lastFolder_;
  request.suggestedName = suggestedName;
  for (;;) {
    std::string chosen = dialogs_.saveFileName(request);
    if (chosen.empty()) return {};
    answeredInFolder(chosen);
    // A road name may hold a dot ("G210.5"); the file still gets ".REC", and
    // the dialog only asked about the name as typed.
    std::string file = withRoadFileExtension(chosen);
    if (file == chosen || !pathExists(file)) return file;
    switch (dialogs_.questionReplaceFile(kReplaceQuestion, file, true)) {
      case UserDialogs::ReplaceAnswer::kReplace:
        return file;
      case UserDialogs::ReplaceAnswer::kChooseAnotherName:
        request.startFolder = lastFolder_;
        continue;
      case UserDialogs::ReplaceAnswer::kCancel:
        return {};
    }
  }
}

void CRoadFileCommands::newRoad() {
  if (!beforeReplacingRoad()) return;
  std::string path = askForRoadFile("IDS_DATA_new_road", {});
  if (path.empty()) return;

  state_.openedFromFile = 0;
  takeNamesFromPath(path);
  store_.clear();
  state_.savedName = state_.roadFileName;
  state_.savedPath = state_.roadPath;
  // Replacing an existing file was confirmed in the dialog.
  setSaveTarget(path, true);
  roadBecameCurrent();
}

bool CRoadFileCommands::surveyConversionAllowed(const std::string& path) {
  // Opening a survey file writes its points as the intersection-point file
  // of the same name; one already there may hold other points.
  std::string rp = crossPointFileChangedBySurvey(typeCodeOf(path), path);
  return rp.empty() ||
         dialogs_.questionReplaceFile("IDS_WARN_survey_replaces_rp", rp, false) == UserDialogs::ReplaceAnswer::kReplace;
}

void CRoadFileCommands::openRoad() {
  if (!beforeReplacingRoad()) return;
  UserDialogs::FileRequest request;
  request.filter = kOpenFilter;
  request.defaultExtension = "mc";
  request.startFolder = lastFolder_;
  std::string path = dialogs_.openFileName(request);
  if (path.empty()) return;
  answeredInFolder(path);
  if (!surveyConversionAllowed(path)) return;

  state_.openedFromFile = 1;
  takeNamesFromPath(path);
  store_.clear();
  loadFileByType(path);
}

void CRoadFileCommands::importLandXml() {
  if (!beforeReplacingRoad()) return;
  UserDialogs::FileRequest request;
  request.filter = kLandXmlFilter;
  request.defaultExtension = "xml";
  request.startFolder = lastFolder_;
  std::string path = dialogs_.openFileName(request);
  if (path.empty()) return;
  answeredInFolder(path);
  LandXmlAlignment alignment;
  std::string error;
  if (!importLandXmlFile(path, "", alignment, error)) {
    dialogs_.warningDetail("IDS_WARN_landxml_import_failed", shownPath(path) + "\n" + error);
    return;
  }
  state_.openedFromFile = 1;
  takeNamesFromPath(path);
  store_.clear();
  static_cast<RoadDataSet&>(store_) = alignment.road;
  // Named and saved as an imported alignment file: the road file beside it.
  loadFileByType(path);
}

bool CRoadFileCommands::exportLandXml() {
  if (!state_.roadOpen) return false;
  host_.commitPendingEdits();
  CRoadDesign design;
  std::string error;
  if (store_.FlatcurveType == kFlatcurveNone) {
    dialogs_.warning("IDS_WARN_landxml_no_alignment");
    return false;
  }
  if (!loadRoadAlignment(store_, state_.roadTitle, design, error)) {
    dialogs_.warningDetail("IDS_WARN_landxml_export_failed", error);
    return false;
  }
  UserDialogs::FileRequest request;
  request.filter = kLandXmlFilter;
  request.defaultExtension = "xml";
  request.confirmOverwrite = true;
  request.startFolder = lastFolder_;
  request.suggestedName = state_.roadTitle + ".xml";
  std::string path = dialogs_.saveFileName(request);
  if (path.empty()) return false;
  answeredInFolder(path);
  if (!exportLandXmlFile(design, store_.verticalCurves, state_.roadTitle, path, error)) {
    dialogs_.warningDetail("IDS_WARN_landxml_export_failed", shownPath(path) + "\n" + error);
    return false;
  }
  std::string format = GetLanguageText("IDS_DATA_landxml_written_to");
  host_.showStatusMessage(withValue(format.empty() ? std::string("LandXML: %s") : format, shownPath(path)));
  return true;
}

void CRoadFileCommands::openRoadFromList(const std::string& listPath) {
  // The caller's text may belong to the road list, which the save question
  // rebuilds: keep a copy.
  const std::string path = listPath;
  // Switching roads from the list replaces the current road just as Open
  // does, so its unsaved edits get the same chance to be saved.
  if (!beforeReplacingRoad() || !surveyConversionAllowed(path)) return;
  state_.openedFromFile = 1;
  takeNamesFromPath(path);
  store_.clear();
  loadFileByType(path);
}

void CRoadFileCommands::loadFileByType(const std::string& filePath) {
  const std::string path = filePath;
  std::string code = typeCodeOf(path);
  state_.roadFileName = fileNamePart(path);
  state_.roadFolder = folderPart(path);
  state_.roadTitle = withoutExtension(state_.roadFileName);
  state_.roadPath = state_.savedPath = path;
  state_.savedName = state_.roadTitle;

  if (code == "REC") {
    setSaveTarget(path, true);
  } else {
    // An imported alignment or survey file is the user's own text file: the
    // road file is written beside it under the same title, never over it, and
    // a road file already there is replaced only when the user says so.
    std::string name = fileNamePart(path);
    std::size_t dot = name.find_last_of('.');
    std::string base = dot == std::string::npos ? path : path.substr(0, path.size() - (name.size() - dot));
    setSaveTarget(path.empty() ? std::string() : base + ".REC", false);
  }

  auto importAlignment = [&](const std::string& file, int elementFile) {
    // A file that cannot be read leaves the road as it was.
    const int32_t before = store_.FlatcurveType;
    store_.FlatcurveType = elementFile ? kFlatcurveElements : kFlatcurveCrossPoints;
    if (host_.importAlignmentFile(file, elementFile) == ImportResult::kUnreadable) {
      store_.FlatcurveType = before;
      reportFileFailure("IDS_WARN_import_failed", file, false);
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
      reportFileFailure("IDS_WARN_import_failed", path, false);
    }
  } else if (code == "REC") {
    if (!store_.readRoadFile(path)) {
      // A road file that cannot be read opens no road: the store stays empty
      // and no later Save may write the empty road over the file.
      reportFileFailure("IDS_WARN_road_load_error", path, false);
      store_.clear();
      std::string roadListPath = state_.roadListPath;
      state_ = RoadFileState();
      state_.roadListPath = roadListPath;
      setSaveTarget({}, false);
      host_.reloadDataViews();
      host_.showRoadListView();
      host_.roadStateChanged();
      return;
    }
  }
  roadBecameCurrent();
}

bool CRoadFileCommands::writeTo(const std::string& path) {
  if (!store_.writeRoadFile(path)) {
    reportFileFailure("IDS_WARN_save_file_failed", path, true);
    return false;
  }
  // The file written is now the road's own: later Saves replace it quietly.
  setSaveTarget(path, true);
  state_.modified = 0;
  std::string format = GetLanguageText("IDS_DATA_road_saved_to");
  host_.showStatusMessage(withValue(format.empty() ? std::string("Saved: %s") : format, shownPath(path)));

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
    // The road itself is saved; a road list that cannot be written is told,
    // and the list shown is the one on disk.
    if (!store_.saveRoadList(state_.roadListPath)) {
      reportFileFailure("IDS_WARN_road_list_save_failed", state_.roadListPath, true);
    }
    host_.rebuildRoadList();
  }
  host_.roadStateChanged();
  return true;
}

bool CRoadFileCommands::save() {
  if (!state_.roadOpen) return false;
  if (state_.roadPath.empty()) {
    dialogs_.warning("IDS_WARN_name_empty_save_failed");
    return false;
  }
  host_.commitPendingEdits();
  if (!targetIsOwn_ && pathExists(saveTarget_)) {
    // A road file of the same name beside an imported file is another road.
    switch (dialogs_.questionReplaceFile(kReplaceQuestion, saveTarget_, true)) {
      case UserDialogs::ReplaceAnswer::kReplace:
        break;
      case UserDialogs::ReplaceAnswer::kChooseAnotherName:
        return saveAs();
      case UserDialogs::ReplaceAnswer::kCancel:
        return false;
    }
  }
  return writeTo(saveTarget_);
}

bool CRoadFileCommands::saveAs() {
  if (!state_.roadOpen) return false;
  host_.commitPendingEdits();
  if (lastFolder_.empty()) lastFolder_ = folderPart(saveTarget_);
  std::string path = askForRoadFile("IDS_DATA_save_road_as", fileNamePart(saveTarget_));
  if (path.empty()) return false;

  // The road becomes the file written; a road made with New is recorded in
  // the road list under that file.
  RoadFileState previous = state_;
  takeNamesFromPath(path);
  state_.savedPath = path;
  state_.savedName = state_.openedFromFile == 0 ? state_.roadFileName : state_.roadTitle;
  std::string previousTarget = saveTarget_;
  bool previousOwn = targetIsOwn_;
  if (writeTo(path)) {
    host_.roadSavedAs(previousTarget, path);
    return true;
  }
  state_ = previous;
  setSaveTarget(previousTarget, previousOwn);
  host_.roadStateChanged();
  return false;
}

bool CRoadFileCommands::closing() { return beforeReplacingRoad(); }

void CRoadFileCommands::setRoadFilePath(const std::string& path) {
  takeNamesFromPath(path);
  state_.savedPath = path;
  state_.savedName = state_.roadTitle;
  // The view asked before it wrote over another road's file; from now on the
  // file is this road's own.
  setSaveTarget(path, true);
}

}  // namespace trazmark
