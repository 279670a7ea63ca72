#pragma once
// A data view: the page that edits one kind of road data (broken chains,
// horizontal alignment, ...). The frame creates each kind once, through the
// data view registry, and switches between them. Header-only so that views in
// other libraries derive from it without linking the shell.

#include <QWidget>
#include <string>

#include "library/RoadFileState.h"
#include "records/RoadRecords.h"

namespace trazmark {

class CInputRoadLibrary;
class UserDialogs;

/// What a data view may ask of the frame.
class CDataViewHost {
 public:
  virtual ~CDataViewHost() = default;
  /// The road library store; the current road's lists live here.
  virtual CInputRoadLibrary& roadLibrary() = 0;
  /// The message boxes and file dialogs.
  virtual UserDialogs& userDialogs() = 0;
  /// The current road's file identity (folder and title name its files).
  virtual const RoadFileState& roadFileState() const = 0;
  /// The current road's file becomes `path` (an imported alignment names
  /// its road).
  virtual void setRoadFilePath(const std::string& path) { (void)path; }
  /// The view stored its edits into the current road.
  virtual void setRoadModified() = 0;
  /// The view's edits not yet stored changed (made, undone, stored): the
  /// window's unsaved mark follows.
  virtual void viewEditsChanged() {}
  /// The drawing pane shows the plan of an alignment file (curve file).
  virtual void showAlignmentFile(const std::string& path) = 0;
  /// The drawing pane shows the profile map, with the vertical curve file.
  virtual void showProfileFile(const std::string& path) = 0;
  /// The drawing pane shows the standard cross section of the current road.
  virtual void showCrossSection() = 0;
  /// The drawing pane shows the cross-section map with these lists (the
  /// view's working copies, saved or not).
  virtual void showSectionComponents(const RecordList<Road_Section_Item>& left,
                                     const RecordList<Road_Section_Item>& right) {
    (void)left;
    (void)right;
    showCrossSection();
  }
};

class CDataView : public QWidget {
 public:
  CDataView(int kind, CDataViewHost& host, QWidget* parent = nullptr)
      : QWidget(parent), kind_(kind), host_(host) {}

  int kind() const { return kind_; }
  CDataViewHost& host() const { return host_; }

  /// True while the view holds input not yet stored into the current road.
  virtual bool hasPendingInput() const { return false; }
  /// Stores the pending input into the current road (and tells the host).
  virtual void commitPendingInput() {}
  /// Message 1624: copies the current road again, discarding unsaved input.
  virtual void reloadFromRoad() {}
  /// Message 1630: imports an alignment file (`elementFile` 1 for RE, 0 for RP).
  virtual ImportResult importAlignmentFile(const std::string& path, int elementFile) {
    (void)path;
    (void)elementFile;
    return ImportResult::kNoEditor;
  }

 private:
  int kind_;
  CDataViewHost& host_;
};

}  // namespace trazmark
