#pragma once
// The file commands of the main frame as a plain class: the current road's file
// identity, New, Open, the loader by type code, Save with the road-list update,
// and the save question before a road is replaced or the window closes. The
// frame's window side (views, panes, title) is reached through FrameHost; every
// message box and file dialog through UserDialogs.

#include <string>

#include "library/InputRoadLibrary.h"
#include "library/RoadFileState.h"

namespace trazmark {

class UserDialogs;

/// What the file commands need from the window.
class FrameHost {
 public:
  virtual ~FrameHost() = default;
  /// Every data view with unsaved input stores it into the current road.
  virtual void commitPendingEdits() = 0;
  /// Message 1624: every existing data view copies the current road again.
  virtual void reloadDataViews() = 0;
  /// The navigation pane selects the broken-chain button and shows its view.
  virtual void refreshNavigation() = 0;
  /// Shows the road list view (kind 0).
  virtual void showRoadListView() = 0;
  /// Message 1630: shows the horizontal alignment view if it does not exist
  /// yet, then hands it the file (`elementFile` 1 for RE, 0 for RP).
  virtual ImportResult importAlignmentFile(const std::string& path, int elementFile) = 0;
  /// Reads the road list file again and rebuilds the road buttons.
  virtual void rebuildRoadList() = 0;
  /// The window title and the enabled state of the commands follow the state.
  virtual void roadStateChanged() = 0;
  /// A message about a passing state (ANSI text) in the status bar; it clears itself.
  virtual void showStatusMessage(const std::string& text) { (void)text; }
  /// A road became current (New, Open, Import): its own data follows it
  /// (the ground named beside its file).
  virtual void roadOpened() {}
  /// Save As wrote the road to `path`; before, Save wrote `previous`. What
  /// the program keeps beside a road file follows it.
  virtual void roadSavedAs(const std::string& previous, const std::string& path) {
    (void)previous;
    (void)path;
  }
  /// A file dialog was answered in `folder`: the next one starts there.
  virtual void rememberFolder(const std::string& folder) { (void)folder; }
};

class CRoadFileCommands {
 public:
  CRoadFileCommands(CInputRoadLibrary& store, UserDialogs& dialogs, FrameHost& host);

  const RoadFileState& state() const { return state_; }
  CInputRoadLibrary& store() { return store_; }

  void setRoadListPath(const std::string& path) { state_.roadListPath = path; }
  /// A data view stored its edits into the current road.
  void setModified() { state_.modified = 1; }
  /// The road's file becomes `path` (an imported alignment names its road).
  void setRoadFilePath(const std::string& path);

  /// New: asks for the file of a new, empty road. The file is written by Save.
  void newRoad();
  /// Open: asks for a road file or an alignment file and loads it by type.
  void openRoad();
  /// A road button of the road list: opens `path` as Open does after its
  /// file dialog, after the pending edits and the save question.
  void openRoadFromList(const std::string& path);
  /// Save: writes the road file and, for a road made with New, puts it at the
  /// top of the road list. An existing file that is not the road being edited
  /// is replaced only when the user says so (or picks another name). False
  /// when nothing was written.
  bool save();
  /// Save As: asks for the road file to write, writes it, and makes it the
  /// file that later Saves write. False when cancelled or not written.
  bool saveAs();
  /// The window is closing: commit the pending edits and ask to save. False
  /// when the window must stay open (the save the user asked for failed or
  /// was cancelled), with the edits kept.
  bool closing();

  /// The road file that Save writes: the road file itself, or for an imported
  /// alignment or survey file the road file beside it under the same title.
  const std::string& saveTarget() const { return saveTarget_; }
  /// The folder the next file dialog starts in.
  const std::string& lastFolder() const { return lastFolder_; }
  void setLastFolder(const std::string& folder) { lastFolder_ = folder; }

  /// Import LandXML: after the save question, asks for a LandXML file and
  /// makes its first alignment the current road (element method, broken
  /// chains, grade points), as Open makes a road of an alignment file: the
  /// road file is the .REC beside it. A file the import refuses is named with
  /// its reason and leaves the current road as it was.
  void importLandXml();
  /// Export LandXML: asks for the file and writes the current road's computed
  /// alignment, broken chains and grade points (the edits of the views
  /// included). False when nothing was written.
  bool exportLandXml();

  /// Loads a file by the type code of its name (the extension, upper-cased):
  /// RE, RP, IP, XY, REC; any other loads nothing. The road is then current.
  void loadFileByType(const std::string& path);

  /// "Trazmark - <roadFileName>", or "Trazmark" before the first road; " *"
  /// after it while the road is modified or `unsavedViews` (a view holds
  /// edits not yet stored into the road).
  std::string windowTitle(bool unsavedViews = false) const;

  /// The upper-cased text after the last '.' of the file name; empty without one.
  static std::string typeCodeOf(const std::string& path);

 private:
  bool beforeReplacingRoad();
  bool askToSavePreviousRoad();
  bool writeTo(const std::string& path);
  bool surveyConversionAllowed(const std::string& path);
  std::string askForRoadFile(const std::string& titleKey, const std::string& suggestedName);
  void answeredInFolder(const std::string& path);
  void reportFileFailure(const std::string& key, const std::string& path, bool writing);
  void takeNamesFromPath(const std::string& path);
  void roadBecameCurrent();
  void setSaveTarget(const std::string& path, bool ownFile);

  CInputRoadLibrary& store_;
  UserDialogs& dialogs_;
  FrameHost& host_;
  RoadFileState state_;
  std::string saveTarget_;
  /// The save target is the road being edited (opened, chosen in New or Save
  /// As, or already written): Save replaces it without asking.
  bool targetIsOwn_ = false;
  std::string lastFolder_;
};

/// A road file's name always ends in ".REC": "G210.5" becomes "G210.5.REC";
/// "a.rec" stays as it is.
std::string withRoadFileExtension(const std::string& path);

/// Why a file could not be read or written, as a language key: missing, a
/// folder, not readable, folder missing or not writable, file not writable,
/// not a road file (read) or the write broke off (write).
std::string fileProblemKey(const std::string& path, bool writing);

}  // namespace trazmark
