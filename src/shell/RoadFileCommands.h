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
  /// top of the road list. False when nothing was written.
  bool save();
  /// The window is closing: commit the pending edits and ask to save.
  void closing();

  /// Loads a file by the type code of its name (the extension, upper-cased):
  /// RE, RP, IP, XY, REC; any other loads nothing. The road is then current.
  void loadFileByType(const std::string& path);

  /// "Trazmark - <roadFileName>", or "Trazmark" before the first road.
  std::string windowTitle() const;

  /// The upper-cased text after the last '.' of the file name; empty without one.
  static std::string typeCodeOf(const std::string& path);

 private:
  void beforeReplacingRoad();
  void askToSavePreviousRoad();
  void takeNamesFromPath(const std::string& path);
  void roadBecameCurrent();
  void loadFailed(const std::string& key);
  std::string roadFilePathForSave() const;

  CInputRoadLibrary& store_;
  UserDialogs& dialogs_;
  FrameHost& host_;
  RoadFileState state_;
};

}  // namespace trazmark
