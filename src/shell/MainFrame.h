#pragma once
// The application's one top-level window: the road library store, the file
// commands, the navigation pane, the drawing pane, the data views, menus,
// toolbar and status bar.

#include <QMainWindow>
#include <array>
#include <memory>

#include "library/InputRoadLibrary.h"
#include "platform/qt/DataView.h"
#include "shell/BackgroundJob.h"
#include "shell/DataViewRegistry.h"
#include "earthwork/EarthworkTable.h"
#include "shell/GroundLoader.h"
#include "shell/TerrainCommands.h"
#include "shell/MapSlot.h"
#include "shell/RoadFileCommands.h"
#include "shell/SurveyCheckCommand.h"
#include "platform/qt/ShellIds.h"

class QAction;
class QLabel;
class QProgressBar;
class QStackedWidget;
class QTimer;
class QToolButton;
class QUndoGroup;

namespace trazmark {

class CBottomDockPane;
class CEarthworkPane;
class CLeftDockPane;
class CRoadManageView;
class CSurveyCheckPane;
class UserDialogs;

class CMainFrame : public QMainWindow, public FrameHost, public CDataViewHost {
  Q_OBJECT
 public:
  /// `dialogs` null: the window's own message boxes and file dialogs. `maps`
  /// as for CBottomDockPane. `registry` null: the program's data views.
  explicit CMainFrame(UserDialogs* dialogs = nullptr, std::array<std::unique_ptr<CMapSlot>, kMapCount> maps = {},
                      std::unique_ptr<CDataViewRegistry> registry = nullptr);
  ~CMainFrame() override;

  /// The one frame of the process (null when none exists).
  static CMainFrame* instance();

  /// The road list file given at start-up; the road list view reads it.
  void setRoadListPath(const std::string& path);

  CRoadFileCommands& commands() { return commands_; }
  CLeftDockPane* navigationPane() const { return navigation_; }
  CBottomDockPane* drawingPane() const { return drawing_; }
  CRoadManageView* roadManageView() const { return roadManage_; }
  /// The data view of `kind`, null when not created yet.
  CDataView* dataView(int kind) const;
  int activeKind() const { return activeKind_; }
  /// Whether the drawing pane is part of the layout now (its own flag, also
  /// while the frame is not on screen).
  bool isDrawingPaneShown() const;

  /// Message 1524: shows the data view of `kind`, creating it on first use.
  void showDataView(int kind);
  /// Message 1627 to the drawing pane.
  void viewCommand(int command);
  void showAbout();
  /// File → Export drawing: the shown map as PNG, SVG, PDF or (plan) DXF.
  void exportDrawing();
  /// File → Tables: the design tables of the open road in a window of their
  /// own, showing table `kind` (an index into kTableKinds) first; the window
  /// is modal, so the road cannot change under it.
  void showTables(int kind = 0);

  QAction* newAction() const { return newAction_; }
  QAction* openAction() const { return openAction_; }
  QAction* saveAction() const { return saveAction_; }
  QAction* saveAsAction() const { return saveAsAction_; }
  QAction* importLandXmlAction() const { return importLandXmlAction_; }
  QAction* exportLandXmlAction() const { return exportLandXmlAction_; }
  /// View menu: shows or hides the drawing pane (while the view has a map).
  QAction* drawingPaneAction() const { return drawingPaneAction_; }
  QAction* editAction(int kind) const { return editActions_[static_cast<std::size_t>(kind)]; }
  /// Edit menu: undo and redo of the view on show, named by its next step.
  QAction* undoAction() const { return undoAction_; }
  QAction* redoAction() const { return redoAction_; }
  QUndoGroup* undoGroup() const { return undoGroup_; }
  /// Anything not in the road file: the road modified since its last Save,
  /// or a view holding edits not yet stored into the road.
  bool hasUnsavedEdits() const;
  /// The title names the road and marks unsaved edits with "*".
  void updateTitle();
  QAction* viewAction(int command) const;
  /// View menu: the profile map's labels shown (checked) or hidden.
  QAction* profileLabelsAction() const { return profileLabelsAction_; }
  /// View menu: the fill/cut heights of the profile, and the plan's terrain.
  QAction* heightLabelsAction() const { return heightLabelsAction_; }
  QAction* terrainShownAction() const { return terrainShownAction_; }
  /// File menu: Terrain… and Clear terrain.
  QAction* terrainAction() const { return terrainAction_; }
  QAction* clearTerrainAction() const { return clearTerrainAction_; }

  /// File → Terrain…: the terrain file of the current road, kept beside it,
  /// then loaded.
  void chooseTerrain();
  /// File → Clear terrain: the road without its terrain file.
  void clearTerrain();
  /// Loads the ground that the current road's settings name, on the worker
  /// thread (a road without any: no ground). The maps get it when it is in.
  void loadRoadGround();
  /// Cancels a ground load under way (the status bar's Cancel).
  void cancelGroundLoad();
  /// The ground the maps show (null: none); shared and never changed.
  const std::shared_ptr<const CRoadGround>& ground() const { return ground_; }
  CGroundLoader& groundLoader() { return *groundLoader_; }
  QProgressBar* groundProgress() const { return groundProgress_; }

  /// Earthwork → Earthwork list: shows the list and computes the road's
  /// earthwork over its ground on the worker thread (progress and Cancel in
  /// the status bar). A road without alignment, grade line or ground says
  /// why. Each finished table goes to the list and the mass-haul diagram.
  void computeEarthwork();
  /// Cancels the earthwork under way (the status bar's Cancel).
  void cancelEarthwork();
  /// Earthwork → Mass-haul diagram: the diagram in the drawing pane,
  /// computing the earthwork first when there is none.
  void showMassHaul();
  /// The list's Export CSV, through the dialog seam.
  void exportEarthworkCsv();
  /// Earthwork → Cross-section sheets…: asks for a file (PDF, SVG or PNG)
  /// and writes the sheets of the road's earthwork on the worker thread,
  /// with the same progress and Cancel; says which file it wrote.
  void exportSectionSheets();
  CBackgroundJob<std::vector<std::string>>& sheetsJob() { return *sheetsJob_; }
  QAction* sectionSheetsAction() const { return sectionSheetsAction_; }
  CEarthworkPane* earthworkPane() const { return earthwork_; }
  CBackgroundJob<EarthworkTable>& earthworkJob() { return *earthworkJob_; }
  QProgressBar* earthworkProgress() const { return earthworkProgress_; }
  QToolButton* earthworkCancelButton() const { return earthworkCancel_; }
  QAction* earthworkAction() const { return earthworkAction_; }
  QAction* massHaulAction() const { return massHaulAction_; }
  QToolButton* groundCancelButton() const { return groundCancel_; }

  /// File → Check survey points…: asks for a points file (the format by the
  /// dialog's filter) and checks it against the open road on the worker
  /// thread with the pane's tolerances (progress and Cancel in the status
  /// bar). The points go on the plan, the rows to the check's list; a new
  /// ground checks them again, a new road clears them. `pointsPath` given:
  /// that file ("name,x,y,z") without the dialog.
  void checkSurveyPoints(const std::string& pointsPath = {});
  void cancelSurveyCheck();
  /// The check's results gone (a new road).
  void clearSurveyCheck();
  /// The list's exports through the dialog seam (the PDF report written on
  /// the worker thread, with the check's progress and Cancel).
  void exportSurveyCheckCsv();
  void exportSurveyCheckPdf();
  /// A row of the check's list on the plan: the plan shown, centred on its point.
  void showSurveyPoint(int row);
  CSurveyCheckPane* surveyCheckPane() const { return surveyCheck_; }
  CBackgroundJob<SurveyCheckResult>& surveyCheckJob() { return *surveyCheckJob_; }
  CBackgroundJob<std::string>& surveyReportJob() { return *surveyReportJob_; }
  QAction* surveyCheckAction() const { return surveyCheckAction_; }
  QProgressBar* surveyCheckProgress() const { return checkProgress_; }
  QToolButton* surveyCheckCancelButton() const { return checkCancel_; }

  // FrameHost
  void commitPendingEdits() override;
  void reloadDataViews() override;
  void refreshNavigation() override;
  void showRoadListView() override;
  ImportResult importAlignmentFile(const std::string& path, int elementFile) override;
  void rebuildRoadList() override;
  void roadStateChanged() override;
  void showStatusMessage(const std::string& text) override;
  void rememberFolder(const std::string& folder) override;
  void roadOpened() override;
  void roadSavedAs(const std::string& previous, const std::string& path) override;

  /// How long a status message about a passing state stays, in milliseconds.
  static constexpr int kStatusMessageTime = 8000;
  void setStatusMessageTime(int milliseconds) { statusMessageTime_ = milliseconds; }

  // CDataViewHost
  CInputRoadLibrary& roadLibrary() override { return store_; }
  UserDialogs& userDialogs() override { return *dialogs_; }
  const RoadFileState& roadFileState() const override { return commands_.state(); }
  void setRoadFilePath(const std::string& path) override;
  void setRoadModified() override;
  void viewEditsChanged() override;
  void showAlignmentFile(const std::string& path) override;
  void showProfileFile(const std::string& path) override;
  void showCrossSection() override;
  void showSectionComponents(const RecordList<Road_Section_Item>& left,
                             const RecordList<Road_Section_Item>& right) override;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void createActions();
  void createMenus();
  void createToolBar();
  void createStatusBar();
  void updateCommandStates();
  void groundLoaded(GroundLoadResult result);
  void earthworkFinished(BackgroundResult<EarthworkTable> result);
  void handEarthworkToViews(std::shared_ptr<const EarthworkTable> table);
  void sheetsFinished(BackgroundResult<std::vector<std::string>> result);
  /// Shows or hides the status bar's progress and Cancel as a job runs.
  void showJobProgress(bool shown);
  void handGroundToMaps();
  void startSurveyCheck(std::shared_ptr<const SurveyCheckInputs> inputs);
  void surveyCheckFinished(BackgroundResult<SurveyCheckResult> result);
  void showSurveyCheck(std::shared_ptr<const SurveyCheckResult> result);
  void surveyReportFinished(BackgroundResult<std::string> result);
  /// Shows or hides the check's progress and Cancel as its jobs run.
  void showCheckProgress(bool shown);
  /// The road data the maps work on: the store, with the cross-section
  /// view's working lists when given.
  RoadDataSet roadForMaps() const;
  std::vector<GroundSample> profileGround() const;
  /// The road file the terrain settings sit beside (the file Save writes).
  std::string terrainRoadPath() const;

  std::unique_ptr<UserDialogs> ownDialogs_;
  UserDialogs* dialogs_;
  CInputRoadLibrary store_;
  CRoadFileCommands commands_;
  std::unique_ptr<CDataViewRegistry> registry_;

  QStackedWidget* viewStack_ = nullptr;
  CLeftDockPane* navigation_ = nullptr;
  CBottomDockPane* drawing_ = nullptr;
  CRoadManageView* roadManage_ = nullptr;
  std::array<CDataView*, kDataKindCount> views_{};
  int activeKind_ = kKindRoadList;
  bool loadingViews_ = false;  ///< views are loading from the road: no edit to report

  QAction* newAction_ = nullptr;
  QAction* openAction_ = nullptr;
  QAction* saveAction_ = nullptr;
  QAction* saveAsAction_ = nullptr;
  QAction* importLandXmlAction_ = nullptr;
  QAction* exportLandXmlAction_ = nullptr;
  QAction* exportDrawingAction_ = nullptr;
  QAction* tablesAction_ = nullptr;
  /// File → Drawings in screen colours: Export drawing keeps the maps' colours.
  QAction* screenColoursAction_ = nullptr;
  QAction* drawingPaneAction_ = nullptr;
  int statusMessageTime_ = kStatusMessageTime;
  QAction* exitAction_ = nullptr;
  QAction* aboutAction_ = nullptr;
  QAction* profileLabelsAction_ = nullptr;
  QAction* heightLabelsAction_ = nullptr;
  QAction* terrainShownAction_ = nullptr;
  QAction* terrainAction_ = nullptr;
  QAction* clearTerrainAction_ = nullptr;
  QProgressBar* groundProgress_ = nullptr;
  QToolButton* groundCancel_ = nullptr;
  QTimer* groundTimer_ = nullptr;
  CEarthworkPane* earthwork_ = nullptr;
  QAction* earthworkAction_ = nullptr;
  QAction* massHaulAction_ = nullptr;
  QAction* sectionSheetsAction_ = nullptr;
  QProgressBar* earthworkProgress_ = nullptr;
  QToolButton* earthworkCancel_ = nullptr;
  QTimer* earthworkTimer_ = nullptr;
  /// The mass-haul diagram is shown when the table being computed is in.
  bool massHaulWanted_ = false;
  /// The formation's depth from the road's terrain settings, metres.
  double pavementDepth_ = 0;
  CTerrainCommands terrainCommands_;
  CSurveyCheckPane* surveyCheck_ = nullptr;
  QAction* surveyCheckAction_ = nullptr;
  QProgressBar* checkProgress_ = nullptr;
  QToolButton* checkCancel_ = nullptr;
  QTimer* checkTimer_ = nullptr;
  CSurveyCheckCommand surveyCheckCommand_;
  /// What the check on show (or under way) was computed from: a new ground checks it again.
  std::shared_ptr<const SurveyCheckInputs> checkInputs_;
  std::shared_ptr<const CRoadGround> ground_;
  // Last, so that it is gone (its thread ended) before what it reports to.
  std::unique_ptr<CGroundLoader> groundLoader_;
  std::unique_ptr<CBackgroundJob<EarthworkTable>> earthworkJob_;
  std::unique_ptr<CBackgroundJob<std::vector<std::string>>> sheetsJob_;
  std::unique_ptr<CBackgroundJob<SurveyCheckResult>> surveyCheckJob_;
  std::unique_ptr<CBackgroundJob<std::string>> surveyReportJob_;
  std::array<QAction*, kDataKindCount> editActions_{};
  QUndoGroup* undoGroup_ = nullptr;
  QAction* undoAction_ = nullptr;
  QAction* redoAction_ = nullptr;
  std::array<QAction*, 4> viewActions_{};
  QLabel* roadLabel_ = nullptr;
};

}  // namespace trazmark
