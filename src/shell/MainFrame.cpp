#include "shell/MainFrame.h"

#include <utility>

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QTimer>
#include <QToolButton>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QStackedWidget>
#include <QStatusBar>
#include <QToolBar>
#include <QUndoGroup>
#include <QUndoStack>

#include "shell/AboutDlg.h"
#include "shell/Artwork.h"
#include "shell/BottomDockPane.h"
#include "shell/LeftDockPane.h"
#include "platform/qt/Localization.h"
#include "platform/qt/QtText.h"
#include "platform/qt/QtUserDialogs.h"
#include "editors/AlignmentLoader.h"
#include "maps/GroundViews.h"
#include "platform/qt/UserDialogs.h"
#include "shell/DesignTablesWindow.h"
#include "shell/DrawingExportCommand.h"
#include "shell/EarthworkPane.h"
#include "maps/EarthworkViews.h"
#include "shell/RoadManageView.h"
#include "shell/SurveyCheckPane.h"

namespace trazmark {
namespace {

CMainFrame* g_frame = nullptr;

constexpr int kMinFrameWidth = 900;

/// The map each kind shows in the drawing pane; -1 hides the pane.
int mapOfKind(int kind) {
  switch (kind) {
    case kKindFlatCurve:
      return kPlanMap;
    case kKindVerCurve:
      return kProfileMap;
    case kKindCrossSection:
      return kSectionMap;
    default:
      return -1;
  }
}

QString menuText(const char* key, const char* builtIn) { return languageTextOr(key, QString::fromUtf8(builtIn)); }

// The folder of the last file dialog, kept in the user's settings file in
// the user's config folder (never beside the program).
constexpr const char* kLastFolderSetting = "files/lastFolder";

QString settingsFilePath() {
  return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
         QStringLiteral("/trazmark/trazmark.conf");
}

}  // namespace

CMainFrame* CMainFrame::instance() { return g_frame; }

CMainFrame::CMainFrame(UserDialogs* dialogs, std::array<std::unique_ptr<CMapSlot>, kMapCount> maps,
                       std::unique_ptr<CDataViewRegistry> registry)
    : ownDialogs_(dialogs ? nullptr : std::make_unique<QtUserDialogs>(this)),
      dialogs_(dialogs ? dialogs : ownDialogs_.get()),
      commands_(store_, *dialogs_, *this),
      registry_(std::move(registry)),
      terrainCommands_(*dialogs_),
      surveyCheckCommand_(*dialogs_),
      groundLoader_(std::make_unique<CGroundLoader>()),
      earthworkJob_(std::make_unique<CBackgroundJob<EarthworkTable>>()),
      sheetsJob_(std::make_unique<CBackgroundJob<std::vector<std::string>>>()),
      surveyCheckJob_(std::make_unique<CBackgroundJob<SurveyCheckResult>>()),
      surveyReportJob_(std::make_unique<CBackgroundJob<std::string>>()) {
  g_frame = this;
  if (!registry_) {
    registry_ = std::make_unique<CDataViewRegistry>();
    registerDataViews(*registry_);
  }
  setObjectName(QStringLiteral("mainFrame"));
  setWindowIcon(applicationIcon());
  setDockOptions(QMainWindow::AnimatedDocks);

  viewStack_ = new QStackedWidget(this);
  viewStack_->setObjectName(QStringLiteral("dataViewArea"));
  setCentralWidget(viewStack_);

  navigation_ = new CLeftDockPane(this);
  // The navigation pane runs the window's full height, so the drawing pane of
  // some views never shortens it: its buttons keep their size and place.
  setCorner(Qt::BottomLeftCorner, Qt::LeftDockWidgetArea);
  addDockWidget(Qt::LeftDockWidgetArea, navigation_);
  connect(navigation_, &CLeftDockPane::showDataView, this, &CMainFrame::showDataView);

  drawing_ = new CBottomDockPane(this, std::move(maps));
  addDockWidget(Qt::BottomDockWidgetArea, drawing_);
  resizeDocks({drawing_}, {300}, Qt::Vertical);
  drawing_->hide();
  connect(drawing_, &QDockWidget::visibilityChanged, this, [this] { updateCommandStates(); });

  earthwork_ = new CEarthworkPane(this);
  addDockWidget(Qt::RightDockWidgetArea, earthwork_);
  earthwork_->hide();
  connect(earthwork_, &CEarthworkPane::computeRequested, this, &CMainFrame::computeEarthwork);
  connect(earthwork_, &CEarthworkPane::exportRequested, this, &CMainFrame::exportEarthworkCsv);

  surveyCheck_ = new CSurveyCheckPane(this);
  addDockWidget(Qt::RightDockWidgetArea, surveyCheck_);
  surveyCheck_->hide();
  connect(surveyCheck_, &CSurveyCheckPane::checkRequested, this, [this] { checkSurveyPoints(); });
  connect(surveyCheck_, &CSurveyCheckPane::exportCsvRequested, this, &CMainFrame::exportSurveyCheckCsv);
  connect(surveyCheck_, &CSurveyCheckPane::exportPdfRequested, this, &CMainFrame::exportSurveyCheckPdf);
  connect(surveyCheck_, &CSurveyCheckPane::pointActivated, this, &CMainFrame::showSurveyPoint);

  createActions();
  createMenus();
  createToolBar();
  createStatusBar();

  // The road list view is the first data view.
  roadManage_ = new CRoadManageView(*this, viewStack_);
  connect(roadManage_, &CRoadManageView::newRoadRequested, this, [this] { commands_.newRoad(); });
  connect(roadManage_, &CRoadManageView::openRoadRequested, this, [this] { commands_.openRoad(); });
  connect(roadManage_, &CRoadManageView::roadChosen, this,
          [this](const std::string& path) { commands_.openRoadFromList(path); });
  views_[kKindRoadList] = roadManage_;
  viewStack_->addWidget(roadManage_);
  viewStack_->setCurrentWidget(roadManage_);

  int screenHeight = 768;
  if (QScreen* screen = QApplication::primaryScreen()) screenHeight = screen->geometry().height();
  setMinimumSize(kMinFrameWidth, screenHeight / 2);
  resize(std::max(kMinFrameWidth, 1180), std::max(screenHeight / 2, 760));
  commands_.setLastFolder(pathFromQt(QSettings(settingsFilePath(), QSettings::IniFormat).value(QLatin1String(kLastFolderSetting)).toString()));
  roadStateChanged();
}

CMainFrame::~CMainFrame() {
  if (g_frame == this) g_frame = nullptr;
  // The views go after this frame's members: their stacks' last signals
  // must not reach it.
  for (CDataView* view : views_) {
    if (view != nullptr && view->undoStack() != nullptr) view->undoStack()->disconnect(this);
  }
}

void CMainFrame::createActions() {
  newAction_ = new QAction(toolbarIcon(ToolbarIcon::New), menuText("IDS_MENU_new", "新建(&N)"), this);
  newAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_N));
  connect(newAction_, &QAction::triggered, this, [this] { commands_.newRoad(); });

  openAction_ = new QAction(toolbarIcon(ToolbarIcon::Open), menuText("IDS_MENU_open", "打开(&O)..."), this);
  openAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  connect(openAction_, &QAction::triggered, this, [this] { commands_.openRoad(); });

  saveAction_ = new QAction(toolbarIcon(ToolbarIcon::Save), menuText("IDS_MENU_save", "保存(&S)"), this);
  saveAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  // Wherever the focus is: a list, a field, the drawing or navigation pane.
  saveAction_->setShortcutContext(Qt::ApplicationShortcut);
  connect(saveAction_, &QAction::triggered, this, [this] { commands_.save(); });

  saveAsAction_ = new QAction(menuText("IDS_MENU_save_as", "另存为(&A)..."), this);
  saveAsAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S));
  connect(saveAsAction_, &QAction::triggered, this, [this] { commands_.saveAs(); });

  importLandXmlAction_ = new QAction(menuText("IDS_MENU_import_landxml", "导入 LandXML(&I)..."), this);
  connect(importLandXmlAction_, &QAction::triggered, this, [this] { commands_.importLandXml(); });
  exportLandXmlAction_ = new QAction(menuText("IDS_MENU_export_landxml", "导出 LandXML(&E)..."), this);
  connect(exportLandXmlAction_, &QAction::triggered, this, [this] { commands_.exportLandXml(); });
  exportDrawingAction_ = new QAction(menuText("IDS_MENU_export_drawing", "导出图纸(&D)..."), this);
  exportDrawingAction_->setObjectName(QStringLiteral("exportDrawingAction"));
  connect(exportDrawingAction_, &QAction::triggered, this, &CMainFrame::exportDrawing);
  screenColoursAction_ = new QAction(menuText("IDS_MENU_drawing_screen_colours", "图纸使用屏幕颜色"), this);
  screenColoursAction_->setObjectName(QStringLiteral("screenColoursAction"));
  screenColoursAction_->setCheckable(true);
  tablesAction_ = new QAction(menuText("IDS_MENU_tables", "设计表格(&T)..."), this);
  tablesAction_->setObjectName(QStringLiteral("tablesAction"));
  connect(tablesAction_, &QAction::triggered, this, [this] { showTables(); });

  surveyCheckAction_ = new QAction(menuText("IDS_MENU_check_survey", "检查测量点(&K)..."), this);
  surveyCheckAction_->setObjectName(QStringLiteral("surveyCheckAction"));
  connect(surveyCheckAction_, &QAction::triggered, this, [this] { checkSurveyPoints(); });

  exitAction_ = new QAction(menuText("IDS_MENU_exit", "退出(&X)"), this);
  connect(exitAction_, &QAction::triggered, this, &QWidget::close);

  // Undo and redo follow the view on show: each view's stack is in the group.
  undoGroup_ = new QUndoGroup(this);
  undoAction_ = undoGroup_->createUndoAction(this, menuText("IDS_MENU_undo", "撤销"));
  undoAction_->setObjectName(QStringLiteral("undoAction"));
  undoAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z));
  redoAction_ = undoGroup_->createRedoAction(this, menuText("IDS_MENU_redo", "重做"));
  redoAction_->setObjectName(QStringLiteral("redoAction"));
  redoAction_->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});

  for (int kind = kKindBrokenChain; kind < kDataKindCount; ++kind) {
    auto* a = new QAction(dataKindName(kind), this);
    connect(a, &QAction::triggered, this, [this, kind] {
      navigation_->markSelected(kind);
      showDataView(kind);
    });
    editActions_[static_cast<std::size_t>(kind)] = a;
  }

  struct ViewItem {
    int command;
    ToolbarIcon icon;
    const char* key;
    const char* builtIn;
  };
  const ViewItem items[4] = {{kViewZoomIn, ToolbarIcon::ZoomIn, "IDS_MENU_zoom_in", "放大"},
                             {kViewZoomOut, ToolbarIcon::ZoomOut, "IDS_MENU_zoom_out", "缩小"},
                             {kViewFullExtent, ToolbarIcon::FullExtent, "IDS_MENU_full_extent", "全局"},
                             {kViewMove, ToolbarIcon::Move, "IDS_MENU_move", "移动"}};
  for (int i = 0; i < 4; ++i) {
    auto* a = new QAction(toolbarIcon(items[i].icon), menuText(items[i].key, items[i].builtIn), this);
    int command = items[i].command;
    connect(a, &QAction::triggered, this, [this, command] { viewCommand(command); });
    viewActions_[static_cast<std::size_t>(i)] = a;
  }

  // The profile's labels of grade points and curve ends, on by default.
  profileLabelsAction_ = new QAction(menuText("IDS_MENU_profile_labels", "纵断面标注"), this);
  profileLabelsAction_->setObjectName(QStringLiteral("profileLabelsAction"));
  profileLabelsAction_->setCheckable(true);
  profileLabelsAction_->setChecked(true);
  connect(profileLabelsAction_, &QAction::toggled, this,
          [this](bool on) { drawing_->map(kProfileMap).setLabelsShown(on); });

  // The fill/cut heights at the stakes of the profile, on by default.
  heightLabelsAction_ = new QAction(menuText("IDS_MENU_height_labels", "填挖高度"), this);
  heightLabelsAction_->setObjectName(QStringLiteral("heightLabelsAction"));
  heightLabelsAction_->setCheckable(true);
  heightLabelsAction_->setChecked(true);
  connect(heightLabelsAction_, &QAction::toggled, this,
          [this](bool on) { drawing_->map(kProfileMap).setHeightLabelsShown(on); });
  // The terrain's triangles under the plan, on by default.
  terrainShownAction_ = new QAction(menuText("IDS_MENU_terrain_shown", "地形"), this);
  terrainShownAction_->setObjectName(QStringLiteral("terrainShownAction"));
  terrainShownAction_->setCheckable(true);
  terrainShownAction_->setChecked(true);
  connect(terrainShownAction_, &QAction::toggled, this,
          [this](bool on) { drawing_->map(kPlanMap).setTerrainShown(on); });
  terrainAction_ = new QAction(menuText("IDS_MENU_terrain", "地形(&T)..."), this);
  terrainAction_->setObjectName(QStringLiteral("terrainAction"));
  connect(terrainAction_, &QAction::triggered, this, &CMainFrame::chooseTerrain);
  clearTerrainAction_ = new QAction(menuText("IDS_MENU_clear_terrain", "清除地形"), this);
  clearTerrainAction_->setObjectName(QStringLiteral("clearTerrainAction"));
  connect(clearTerrainAction_, &QAction::triggered, this, &CMainFrame::clearTerrain);

  earthworkAction_ = new QAction(menuText("IDS_MENU_earthwork_list", "土方表(&L)"), this);
  earthworkAction_->setObjectName(QStringLiteral("earthworkAction"));
  connect(earthworkAction_, &QAction::triggered, this, &CMainFrame::computeEarthwork);
  massHaulAction_ = new QAction(menuText("IDS_MENU_mass_haul", "土方调配曲线(&M)"), this);
  massHaulAction_->setObjectName(QStringLiteral("massHaulAction"));
  connect(massHaulAction_, &QAction::triggered, this, &CMainFrame::showMassHaul);
  sectionSheetsAction_ = new QAction(menuText("IDS_MENU_section_sheets", "横断面图(&S)..."), this);
  sectionSheetsAction_->setObjectName(QStringLiteral("sectionSheetsAction"));
  connect(sectionSheetsAction_, &QAction::triggered, this, &CMainFrame::exportSectionSheets);

  aboutAction_ = new QAction(toolbarIcon(ToolbarIcon::About), menuText("IDS_MENU_about", "关于 Trazmark(&A)..."), this);
  connect(aboutAction_, &QAction::triggered, this, &CMainFrame::showAbout);
}

QAction* CMainFrame::viewAction(int command) const {
  int i = command - kViewZoomIn;
  return i >= 0 && i < 4 ? viewActions_[static_cast<std::size_t>(i)] : nullptr;
}

void CMainFrame::createMenus() {
  QMenu* file = menuBar()->addMenu(menuText("IDS_MENU_file", "文件(&F)"));
  file->addAction(newAction_);
  file->addAction(openAction_);
  file->addAction(saveAction_);
  file->addAction(saveAsAction_);
  file->addAction(exportDrawingAction_);
  file->addAction(screenColoursAction_);
  file->addAction(tablesAction_);
  file->addSeparator();
  file->addAction(importLandXmlAction_);
  file->addAction(exportLandXmlAction_);
  file->addSeparator();
  file->addAction(terrainAction_);
  file->addAction(clearTerrainAction_);
  file->addAction(surveyCheckAction_);
  file->addSeparator();
  file->addAction(exitAction_);

  QMenu* edit = menuBar()->addMenu(menuText("IDS_MENU_edit", "编辑(&E)"));
  edit->setObjectName(QStringLiteral("editMenu"));
  edit->addAction(undoAction_);
  edit->addAction(redoAction_);
  edit->addSeparator();
  for (int kind = kKindBrokenChain; kind < kDataKindCount; ++kind) edit->addAction(editAction(kind));

  QMenu* view = menuBar()->addMenu(menuText("IDS_MENU_view", "视图(&V)"));
  for (QAction* a : viewActions_) view->addAction(a);
  view->addSeparator();
  view->addAction(profileLabelsAction_);
  view->addAction(heightLabelsAction_);
  view->addAction(terrainShownAction_);
  // A closed navigation pane can be brought back from here.
  QAction* paneToggle = navigation_->toggleViewAction();
  paneToggle->setText(menuText("IDS_MENU_navigation_pane", "导航面板"));
  view->addAction(paneToggle);
  // So can a closed drawing pane, while the view has a map to show in it.
  drawingPaneAction_ = drawing_->toggleViewAction();
  drawingPaneAction_->setText(menuText("IDS_MENU_drawing_pane", "图形面板"));
  view->addAction(drawingPaneAction_);

  QMenu* earthwork = menuBar()->addMenu(menuText("IDS_MENU_earthwork", "土方(&W)"));
  earthwork->addAction(earthworkAction_);
  earthwork->addAction(massHaulAction_);
  earthwork->addAction(sectionSheetsAction_);

  QMenu* help = menuBar()->addMenu(menuText("IDS_MENU_help", "帮助(&H)"));
  help->addAction(aboutAction_);
}

void CMainFrame::createToolBar() {
  QToolBar* bar = addToolBar(QStringLiteral("Standard"));
  bar->setObjectName(QStringLiteral("standardToolBar"));
  bar->setIconSize(QSize(20, 20));
  bar->setMovable(false);
  bar->addAction(newAction_);
  bar->addAction(openAction_);
  bar->addAction(saveAction_);
  bar->addSeparator();
  for (QAction* a : viewActions_) bar->addAction(a);
  bar->addSeparator();
  bar->addAction(aboutAction_);
}

void CMainFrame::createStatusBar() {
  roadLabel_ = new QLabel(this);
  roadLabel_->setObjectName(QStringLiteral("roadPathLabel"));
  statusBar()->addPermanentWidget(roadLabel_);
  // A ground load in progress: how far it is, and a way to stop it.
  groundProgress_ = new QProgressBar(this);
  groundProgress_->setObjectName(QStringLiteral("groundProgress"));
  groundProgress_->setRange(0, 100);
  groundProgress_->setMaximumWidth(160);
  groundProgress_->setFormat(menuText("IDS_DATA_terrain_loading", "地形 %p%"));
  groundProgress_->hide();
  groundCancel_ = new QToolButton(this);
  groundCancel_->setObjectName(QStringLiteral("groundCancelButton"));
  groundCancel_->setText(menuText("IDS_DATA_cancel", "取消"));
  groundCancel_->hide();
  connect(groundCancel_, &QToolButton::clicked, this, &CMainFrame::cancelGroundLoad);
  statusBar()->addPermanentWidget(groundProgress_);
  statusBar()->addPermanentWidget(groundCancel_);
  groundTimer_ = new QTimer(this);
  groundTimer_->setInterval(100);
  connect(groundTimer_, &QTimer::timeout, this, [this] {
    groundProgress_->setValue(static_cast<int>(groundLoader_->progress() * 100));
  });
  // The earthwork under way, beside it.
  earthworkProgress_ = new QProgressBar(this);
  earthworkProgress_->setObjectName(QStringLiteral("earthworkProgress"));
  earthworkProgress_->setRange(0, 100);
  earthworkProgress_->setMaximumWidth(160);
  earthworkProgress_->setFormat(menuText("IDS_DATA_earthwork_computing", "土方 %p%"));
  earthworkProgress_->hide();
  earthworkCancel_ = new QToolButton(this);
  earthworkCancel_->setObjectName(QStringLiteral("earthworkCancelButton"));
  earthworkCancel_->setText(menuText("IDS_DATA_cancel", "取消"));
  earthworkCancel_->hide();
  // It serves the sheets as well: Cancel stops whichever runs.
  connect(earthworkCancel_, &QToolButton::clicked, this, &CMainFrame::cancelEarthwork);
  statusBar()->addPermanentWidget(earthworkProgress_);
  statusBar()->addPermanentWidget(earthworkCancel_);
  earthworkTimer_ = new QTimer(this);
  earthworkTimer_->setInterval(100);
  connect(earthworkTimer_, &QTimer::timeout, this, [this] {
    const double share = sheetsJob_->running() ? sheetsJob_->progress() : earthworkJob_->progress();
    earthworkProgress_->setValue(static_cast<int>(share * 100));
  });
  // The survey check under way.
  checkProgress_ = new QProgressBar(this);
  checkProgress_->setObjectName(QStringLiteral("surveyCheckProgress"));
  checkProgress_->setRange(0, 100);
  checkProgress_->setMaximumWidth(160);
  checkProgress_->setFormat(menuText("IDS_CHECK_progress", "检查 %p%"));
  checkProgress_->hide();
  checkCancel_ = new QToolButton(this);
  checkCancel_->setObjectName(QStringLiteral("surveyCheckCancelButton"));
  checkCancel_->setText(menuText("IDS_DATA_cancel", "取消"));
  checkCancel_->hide();
  connect(checkCancel_, &QToolButton::clicked, this, &CMainFrame::cancelSurveyCheck);
  statusBar()->addPermanentWidget(checkProgress_);
  statusBar()->addPermanentWidget(checkCancel_);
  checkTimer_ = new QTimer(this);
  checkTimer_->setInterval(100);
  connect(checkTimer_, &QTimer::timeout, this, [this] {
    const double share = surveyReportJob_->running() ? surveyReportJob_->progress() : surveyCheckJob_->progress();
    checkProgress_->setValue(static_cast<int>(share * 100));
  });
  statusBar()->showMessage(menuText("IDS_DATA_ready", "就绪"));
}

void CMainFrame::setRoadListPath(const std::string& path) {
  commands_.setRoadListPath(path);
  rebuildRoadList();
}

CDataView* CMainFrame::dataView(int kind) const {
  return kind >= 0 && kind < kDataKindCount ? views_[static_cast<std::size_t>(kind)] : nullptr;
}

bool CMainFrame::isDrawingPaneShown() const { return !drawing_->isHidden(); }

void CMainFrame::showDataView(int kind) {
  if (kind < 0 || kind >= kDataKindCount) return;
  int map = mapOfKind(kind);
  if (map < 0) {
    drawing_->hide();
  } else {
    drawing_->show();
    drawing_->showOnly(map);
  }
  CDataView*& view = views_[static_cast<std::size_t>(kind)];
  if (view == nullptr) {
    // A view loading its working copy from the road makes no edit.
    const bool quiet = std::exchange(loadingViews_, true);
    view = registry_->create(kind, *this, viewStack_);
    loadingViews_ = quiet;
    viewStack_->addWidget(view);
    if (QUndoStack* stack = view->undoStack()) undoGroup_->addStack(stack);
  }
  undoGroup_->setActiveStack(view->undoStack());
  viewStack_->setCurrentWidget(view);
  activeKind_ = kind;
  updateCommandStates();
}

void CMainFrame::viewCommand(int command) { drawing_->viewCommand(command); }

void CMainFrame::exportDrawing() {
  const RoadFileState& state = commands_.state();
  const std::string written =
      exportShownDrawing(*dialogs_, *drawing_, state.roadTitle,
                         commands_.lastFolder().empty() ? state.roadFolder : commands_.lastFolder(),
                         screenColoursAction_->isChecked());
  if (!written.empty()) showStatusMessage(written);
}

void CMainFrame::showTables(int kind) {
  const RoadFileState& state = commands_.state();
  CDesignTablesWindow window(*dialogs_, roadForMaps(), state.roadTitle, ground_.get(),
                             commands_.lastFolder().empty() ? state.roadFolder : commands_.lastFolder(), this);
  if (kind >= 0 && static_cast<std::size_t>(kind) < kTableKinds.size())
    window.showTable(kTableKinds[static_cast<std::size_t>(kind)]);
  window.exec();
}

void CMainFrame::showAbout() {
  CAboutDlg dialog(this);
  dialog.exec();
}

void CMainFrame::commitPendingEdits() {
  for (CDataView* view : views_) {
    if (view != nullptr && view->hasPendingInput()) view->commitPendingInput();
  }
}

void CMainFrame::reloadDataViews() {
  const bool quiet = std::exchange(loadingViews_, true);
  for (CDataView* view : views_) {
    if (view != nullptr) view->reloadFromRoad();
  }
  loadingViews_ = quiet;
  updateTitle();
}

void CMainFrame::refreshNavigation() {
  navigation_->setRoadOpen(true);
  navigation_->refresh();
}

void CMainFrame::showRoadListView() {
  navigation_->markSelected(kKindRoadList);
  showDataView(kKindRoadList);
}

ImportResult CMainFrame::importAlignmentFile(const std::string& path, int elementFile) {
  if (views_[kKindFlatCurve] == nullptr) showDataView(kKindFlatCurve);
  ImportResult result = views_[kKindFlatCurve]->importAlignmentFile(path, elementFile);
  if (result == ImportResult::kNoEditor) {
    statusBar()->showMessage(languageTextOr("IDS_DATA_view_not_available", QString::fromUtf8("“%1”的编辑器尚未提供。"))
                                 .replace(QStringLiteral("%s"), QStringLiteral("%1"))
                                 .arg(dataKindName(kKindFlatCurve)),
                             statusMessageTime_);
  }
  return result;
}

void CMainFrame::rebuildRoadList() { roadManage_->rebuild(); }

bool CMainFrame::hasUnsavedEdits() const {
  if (commands_.state().modified) return true;
  for (CDataView* view : views_) {
    if (view != nullptr && view->hasPendingInput()) return true;
  }
  return false;
}

void CMainFrame::updateTitle() { setWindowTitle(toQt(commands_.windowTitle(hasUnsavedEdits()))); }

void CMainFrame::roadStateChanged() {
  updateTitle();
  const RoadFileState& s = commands_.state();
  navigation_->setRoadOpen(s.roadOpen != 0);
  // The permanent field names the file that Save writes.
  roadLabel_->setText(s.roadOpen ? pathToQt(commands_.saveTarget()) : QString());
  updateCommandStates();
}

void CMainFrame::showStatusMessage(const std::string& text) { statusBar()->showMessage(toQt(text), statusMessageTime_); }

void CMainFrame::rememberFolder(const std::string& folder) {
  QSettings(settingsFilePath(), QSettings::IniFormat).setValue(QLatin1String(kLastFolderSetting), pathToQt(folder));
}

void CMainFrame::updateCommandStates() {
  bool open = commands_.state().roadOpen != 0;
  saveAction_->setEnabled(open);
  saveAsAction_->setEnabled(open);
  exportLandXmlAction_->setEnabled(open);
  terrainAction_->setEnabled(open);
  earthworkAction_->setEnabled(open);
  tablesAction_->setEnabled(open);
  massHaulAction_->setEnabled(open);
  sectionSheetsAction_->setEnabled(open);
  clearTerrainAction_->setEnabled(open);
  surveyCheckAction_->setEnabled(open);
  drawingPaneAction_->setEnabled(mapOfKind(activeKind_) >= 0);
  for (int kind = kKindBrokenChain; kind < kDataKindCount; ++kind) editAction(kind)->setEnabled(open);
  bool paneShown = isDrawingPaneShown();
  for (QAction* a : viewActions_) a->setEnabled(paneShown);
}

void CMainFrame::setRoadModified() {
  commands_.setModified();
  updateTitle();
  // The view's own map is drawn from its working copy, which storing leaves
  // as it is; the other maps drawn from this data are out of date.
  drawing_->markOutOfDate(activeKind_, mapOfKind(activeKind_));
}

void CMainFrame::viewEditsChanged() {
  // Marking is cheap, so every edit marks at once: a map is drawn again
  // (the whole road computed) only when the user asks.
  updateTitle();
  // Views that load from the road make no edit; the road they load from is
  // what the maps show, or what they were cleared for.
  if (!loadingViews_) drawing_->markOutOfDate(activeKind_);
}

void CMainFrame::setRoadFilePath(const std::string& path) {
  commands_.setRoadFilePath(path);
  roadStateChanged();
}

void CMainFrame::showAlignmentFile(const std::string& path) {
  drawing_->show();
  drawing_->showAlignmentFile(path, store_.scissons);
  updateCommandStates();
}

void CMainFrame::showProfileFile(const std::string& path) {
  drawing_->show();
  drawing_->map(kProfileMap).setGroundSamples(profileGround());
  drawing_->showProfileFile(path);
  updateCommandStates();
}

void CMainFrame::showCrossSection() { showSectionComponents(store_.leftSections, store_.rightSections); }

void CMainFrame::showSectionComponents(const RecordList<Road_Section_Item>& left,
                                       const RecordList<Road_Section_Item>& right) {
  drawing_->show();
  // The sections at stations are the road's with the components on show.
  RoadDataSet road = roadForMaps();
  road.leftSections = left;
  road.rightSections = right;
  drawing_->map(kSectionMap).setRoad(road, commands_.state().roadTitle);
  drawing_->showCrossSection(left, right);
  updateCommandStates();
}

RoadDataSet CMainFrame::roadForMaps() const { return static_cast<const RoadDataSet&>(store_); }

std::vector<GroundSample> CMainFrame::profileGround() const {
  if (!ground_ || ground_->empty()) return {};
  CRoadDesign design;
  std::string error;
  if (!loadRoadAlignment(roadForMaps(), commands_.state().roadTitle, design, error)) return {};
  return groundAtStakes(design, *ground_);
}

std::string CMainFrame::terrainRoadPath() const {
  return commands_.saveTarget().empty() ? commands_.state().roadPath : commands_.saveTarget();
}

void CMainFrame::roadOpened() {
  // The previous road's drawings and ground go at once (and its earthwork
  // and survey check with them); the new road's follows.
  drawing_->clearMaps();
  clearSurveyCheck();
  ground_.reset();
  handGroundToMaps();
  loadRoadGround();
}

void CMainFrame::roadSavedAs(const std::string& previous, const std::string& path) {
  // The ground shown stays: the settings beside the new file now name it.
  terrainCommands_.carryOver(previous, path);
}

void CMainFrame::chooseTerrain() {
  const std::string road = terrainRoadPath();
  const std::string start = commands_.lastFolder().empty() ? commands_.state().roadFolder : commands_.lastFolder();
  if (terrainCommands_.chooseTerrain(road, start)) loadRoadGround();
}

void CMainFrame::clearTerrain() {
  if (!terrainCommands_.clearTerrain(terrainRoadPath())) return;
  groundLoader_->cancel();
  loadRoadGround();
}

void CMainFrame::loadRoadGround() {
  const std::string road = terrainRoadPath();
  RoadTerrainSettings settings;
  std::string error;
  if (road.empty() || !QFileInfo(pathToQt(road)).isFile() || !readRoadTerrainSettings(road, settings, error)) {
    // A road not saved yet has no settings; one whose settings cannot be read says so.
    if (!error.empty()) dialogs_->warningDetail("IDS_WARN_terrain_settings_unreadable", error);
    settings = RoadTerrainSettings{};
  }
  pavementDepth_ = settings.pavementDepth;
  drawing_->map(kSectionMap).setPavementDepth(pavementDepth_);
  if (settings.terrainPath.empty() && settings.dmxPath.empty() && settings.hdmPath.empty()) {
    groundLoader_->cancel();
    groundTimer_->stop();
    groundProgress_->hide();
    groundCancel_->hide();
    if (ground_) {
      ground_.reset();
      handGroundToMaps();
    }
    return;
  }
  const std::string folder = pathFromQt(QFileInfo(pathToQt(road)).absolutePath());
  // On the worker thread: the result goes to the window thread as a message.
  // The loader ends its thread before the frame goes, and a message still
  // queued for a frame that is gone is dropped with it.
  groundLoader_->start(settings, folder, [this](GroundLoadResult result) {
    QMetaObject::invokeMethod(
        this, [this, result = std::move(result)]() mutable { groundLoaded(std::move(result)); },
        Qt::QueuedConnection);
  });
  groundProgress_->setValue(0);
  groundProgress_->show();
  groundCancel_->show();
  groundTimer_->start();
}

void CMainFrame::cancelGroundLoad() { groundLoader_->cancel(); }

void CMainFrame::groundLoaded(GroundLoadResult result) {
  // Only the latest load counts; one that a newer load replaced is stale.
  if (result.number != groundLoader_->latest()) return;
  groundTimer_->stop();
  groundProgress_->hide();
  groundCancel_->hide();
  if (result.cancelled) {
    showStatusMessage(GetLanguageText("IDS_DATA_terrain_load_cancelled"));
    return;
  }
  if (!result.ground) {
    dialogs_->warningDetail("IDS_WARN_terrain_load_failed", result.error);
    return;
  }
  ground_ = std::move(result.ground);
  handGroundToMaps();
  showStatusMessage(GetLanguageText("IDS_DATA_terrain_loaded"));
}

void CMainFrame::handGroundToMaps() {
  // An earthwork of another ground no longer describes the road.
  earthworkJob_->cancel();
  handEarthworkToViews(nullptr);
  drawing_->map(kPlanMap).setGround(ground_);
  drawing_->map(kProfileMap).setGroundSamples(profileGround());
  drawing_->map(kSectionMap).setGround(ground_);
  // A check over other ground is checked again over this one (the side
  // slopes run to the new ground).
  if (checkInputs_ && checkInputs_->ground != ground_) {
    auto inputs = std::make_shared<SurveyCheckInputs>(*checkInputs_);
    inputs->ground = ground_;
    startSurveyCheck(std::move(inputs));
  }
}

void CMainFrame::checkSurveyPoints(const std::string& pointsPath) {
  if (!commands_.state().roadOpen) return;
  commitPendingEdits();
  CheckTolerances tolerances;
  const std::string refused = CSurveyCheckCommand::readTolerances(
      fromQt(surveyCheck_->verticalField()->text()), fromQt(surveyCheck_->horizontalField()->text()), tolerances);
  if (!refused.empty()) {
    surveyCheck_->show();
    dialogs_->warning(refused);
    return;
  }
  const RoadFileState& state = commands_.state();
  std::shared_ptr<SurveyCheckInputs> inputs = surveyCheckCommand_.prepare(
      roadForMaps(), state.roadTitle, state.modified != 0, ground_, pavementDepth_, tolerances,
      commands_.lastFolder().empty() ? state.roadFolder : commands_.lastFolder(), pointsPath);
  if (!inputs) return;
  if (surveyCheck_->isHidden()) {
    surveyCheck_->show();
    QTimer::singleShot(0, this, [this] { resizeDocks({surveyCheck_}, {width() * 3 / 5}, Qt::Horizontal); });
  }
  startSurveyCheck(std::move(inputs));
}

void CMainFrame::startSurveyCheck(std::shared_ptr<const SurveyCheckInputs> inputs) {
  checkInputs_ = inputs;
  // The worker owns its copy of the road; the result comes back as a message.
  surveyCheckJob_->start(CSurveyCheckCommand::work(std::move(inputs)),
                         [this](BackgroundResult<SurveyCheckResult> result) {
                           QMetaObject::invokeMethod(
                               this,
                               [this, result = std::move(result)]() mutable {
                                 surveyCheckFinished(std::move(result));
                               },
                               Qt::QueuedConnection);
                         });
  showCheckProgress(true);
}

void CMainFrame::showCheckProgress(bool shown) {
  if (shown) {
    checkProgress_->setValue(0);
    checkProgress_->show();
    checkCancel_->show();
    checkTimer_->start();
    return;
  }
  // The bar stays while the other job still runs.
  if (surveyCheckJob_->running() || surveyReportJob_->running()) return;
  checkTimer_->stop();
  checkProgress_->hide();
  checkCancel_->hide();
}

void CMainFrame::cancelSurveyCheck() {
  surveyCheckJob_->cancel();
  surveyReportJob_->cancel();
}

void CMainFrame::surveyCheckFinished(BackgroundResult<SurveyCheckResult> result) {
  if (result.number != surveyCheckJob_->latest()) return;
  showCheckProgress(false);
  if (result.cancelled) {
    // A check cleared with its road ends silently.
    if (!checkInputs_) return;
    // The check on show, if any, stays; a cancelled one is not checked again.
    if (!surveyCheck_->list().result())
      checkInputs_.reset();
    else
      checkInputs_ = surveyCheck_->list().result()->inputs;
    showStatusMessage(GetLanguageText("IDS_CHECK_cancelled"));
    return;
  }
  if (!result.value) {
    checkInputs_.reset();
    dialogs_->warningDetail("IDS_WARN_check_failed", result.error);
    return;
  }
  showSurveyCheck(result.value);
}

void CMainFrame::showSurveyCheck(std::shared_ptr<const SurveyCheckResult> result) {
  surveyCheck_->setResult(result);
  drawing_->map(kPlanMap).setSurveyCheck(surveyCheck_->list().rows(), result ? &result->inputs->design : nullptr);
  if (result) {
    drawing_->show();
    drawing_->showOnly(kPlanMap);
    updateCommandStates();
  }
}

void CMainFrame::showSurveyPoint(int row) {
  const CheckedPoint* point = surveyCheck_->list().rowAt(row);
  if (point == nullptr) return;
  drawing_->show();
  drawing_->showOnly(kPlanMap);
  drawing_->map(kPlanMap).showPoint(point->point.x, point->point.y);
  updateCommandStates();
}

void CMainFrame::clearSurveyCheck() {
  surveyCheckJob_->cancel();
  checkInputs_.reset();
  showCheckProgress(false);
  showSurveyCheck(nullptr);
}

void CMainFrame::exportSurveyCheckCsv() {
  surveyCheck_->list().exportCsv(*dialogs_, commands_.lastFolder());
}

void CMainFrame::exportSurveyCheckPdf() {
  const std::string path = surveyCheck_->list().askPdfPath(*dialogs_, commands_.lastFolder());
  if (path.empty()) return;
  // A long check makes a report of many pages: written on the worker.
  surveyReportJob_->start(CSurveyCheckList::pdfWork(surveyCheck_->list().result(), path),
                          [this](BackgroundResult<std::string> result) {
                            QMetaObject::invokeMethod(
                                this,
                                [this, result = std::move(result)]() mutable {
                                  surveyReportFinished(std::move(result));
                                },
                                Qt::QueuedConnection);
                          });
  showCheckProgress(true);
}

void CMainFrame::surveyReportFinished(BackgroundResult<std::string> result) {
  if (result.number != surveyReportJob_->latest()) return;
  showCheckProgress(false);
  if (result.cancelled) {
    showStatusMessage(GetLanguageText("IDS_CHECK_report_cancelled"));
    return;
  }
  if (!result.value) {
    dialogs_->warningDetail("IDS_WARN_check_export_failed", result.error);
    return;
  }
  showStatusMessage(GetLanguageText("IDS_CHECK_report_written") + " " + *result.value);
}

void CMainFrame::computeEarthwork() {
  if (earthwork_->isHidden()) {
    // Ten columns want room: the list takes most of the width beside the view.
    earthwork_->show();
    // Once the layout has taken the pane in.
    QTimer::singleShot(0, this, [this] { resizeDocks({earthwork_}, {width() * 3 / 5}, Qt::Horizontal); });
  }
  commitPendingEdits();
  auto inputs = std::make_shared<EarthworkInputs>();
  const std::string why = prepareEarthwork(roadForMaps(), commands_.state().roadTitle, ground_, pavementDepth_, *inputs);
  if (!why.empty()) {
    massHaulWanted_ = false;
    dialogs_->warning(why);
    return;
  }
  // The worker owns its copy of the road; the result comes back as a message.
  earthworkJob_->start(earthworkWork(inputs), [this](BackgroundResult<EarthworkTable> result) {
    QMetaObject::invokeMethod(
        this, [this, result = std::move(result)]() mutable { earthworkFinished(std::move(result)); },
        Qt::QueuedConnection);
  });
  showJobProgress(true);
}

void CMainFrame::showJobProgress(bool shown) {
  if (shown) {
    earthworkProgress_->setValue(0);
    earthworkProgress_->show();
    earthworkCancel_->show();
    earthworkTimer_->start();
    return;
  }
  // The bar stays while the other job still runs.
  if (earthworkJob_->running() || sheetsJob_->running()) return;
  earthworkTimer_->stop();
  earthworkProgress_->hide();
  earthworkCancel_->hide();
}

void CMainFrame::cancelEarthwork() {
  earthworkJob_->cancel();
  sheetsJob_->cancel();
}

void CMainFrame::exportSectionSheets() {
  commitPendingEdits();
  auto inputs = std::make_shared<EarthworkInputs>();
  const std::string roadName = commands_.state().roadTitle.empty() ? std::string("road") : commands_.state().roadTitle;
  const std::string why = prepareEarthwork(roadForMaps(), roadName, ground_, pavementDepth_, *inputs);
  if (!why.empty()) {
    dialogs_->warning(why);
    return;
  }
  UserDialogs::FileRequest request;
  request.title = fromQt(menuText("IDS_MENU_section_sheets_title", "横断面图"));
  request.filter = "PDF (*.pdf)|*.pdf|SVG (*.svg)|*.svg|PNG (*.png)|*.png|";
  request.defaultExtension = "pdf";
  request.startFolder = commands_.lastFolder();
  request.suggestedName = roadName + "_sections.pdf";
  const std::string path = dialogs_->saveFileName(request);
  if (path.empty()) return;
  SheetWords words;
  words.road = fromQt(menuText("IDS_TITLE_BLOCK_road", "道路"));
  words.scale = fromQt(menuText("IDS_TITLE_BLOCK_scale", "比例"));
  words.page = fromQt(menuText("IDS_DATA_sheet_page", "第"));
  words.of = fromQt(menuText("IDS_DATA_sheet_of", "/"));
  words.design = fromQt(menuText("IDS_DATA_design_elevation", "设计"));
  words.ground = fromQt(menuText("IDS_DATA_ground_elevation", "地面"));
  words.cut = fromQt(menuText("IDS_DATA_cut_area", "挖方"));
  words.fill = fromQt(menuText("IDS_DATA_fill_area", "填方"));
  sheetsJob_->start(sectionSheetsWork(inputs, path, roadName, words),
                    [this](BackgroundResult<std::vector<std::string>> result) {
                      QMetaObject::invokeMethod(
                          this, [this, result = std::move(result)]() mutable { sheetsFinished(std::move(result)); },
                          Qt::QueuedConnection);
                    });
  showJobProgress(true);
}

void CMainFrame::sheetsFinished(BackgroundResult<std::vector<std::string>> result) {
  if (result.number != sheetsJob_->latest()) return;
  showJobProgress(false);
  if (result.cancelled) {
    showStatusMessage(GetLanguageText("IDS_DATA_sheets_cancelled"));
    return;
  }
  if (!result.value || result.value->empty()) {
    dialogs_->warningDetail("IDS_WARN_sheets_failed", result.error);
    return;
  }
  // One file, or the first and last page's files.
  const std::vector<std::string>& files = *result.value;
  dialogs_->informationWithDetail("IDS_DATA_sheets_written",
                                  files.size() == 1 ? files.front() : files.front() + " ... " + files.back());
}

void CMainFrame::earthworkFinished(BackgroundResult<EarthworkTable> result) {
  if (result.number != earthworkJob_->latest()) return;
  showJobProgress(false);
  if (result.cancelled) {
    massHaulWanted_ = false;
    showStatusMessage(GetLanguageText("IDS_DATA_earthwork_cancelled"));
    return;
  }
  if (!result.value) {
    massHaulWanted_ = false;
    dialogs_->warningDetail("IDS_WARN_earthwork_failed", result.error);
    return;
  }
  handEarthworkToViews(result.value);
  if (massHaulWanted_) {
    massHaulWanted_ = false;
    drawing_->show();
    drawing_->showOnly(kMassHaulMap);
    updateCommandStates();
  }
}

void CMainFrame::handEarthworkToViews(std::shared_ptr<const EarthworkTable> table) {
  MassHaulData data;
  if (table) data = massHaulOf(*table);
  MassHaulWords words;
  words.title = fromQt(menuText("IDS_MENU_mass_haul_title", "土方调配曲线"));
  words.road = fromQt(menuText("IDS_TITLE_BLOCK_road", "道路"));
  words.station = fromQt(menuText("IDS_DATA_earthwork_station", "桩号"));
  words.mass = fromQt(menuText("IDS_DATA_earthwork_mass_axis", "土方累计 (m³)"));
  words.cut = fromQt(menuText("IDS_DATA_cut_area", "挖方"));
  words.fill = fromQt(menuText("IDS_DATA_fill_area", "填方"));
  words.bulking = fromQt(menuText("IDS_DATA_earthwork_bulking", "松方系数"));
  words.balance = fromQt(menuText("IDS_DATA_earthwork_balance", "余方"));
  drawing_->map(kMassHaulMap).setMassHaul(std::move(data), commands_.state().roadTitle, words);
  earthwork_->setTable(std::move(table));
}

void CMainFrame::showMassHaul() {
  if (earthwork_->list().rowCount() > 0) {
    drawing_->show();
    drawing_->showOnly(kMassHaulMap);
    updateCommandStates();
    return;
  }
  massHaulWanted_ = true;
  computeEarthwork();
}

void CMainFrame::exportEarthworkCsv() {
  const std::string name = commands_.state().roadTitle.empty() ? std::string("road") : commands_.state().roadTitle;
  earthwork_->list().exportCsv(*dialogs_, commands_.lastFolder(), name + "_earthwork.csv");
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  // The save question offers to save; Cancel closes without saving. A save
  // that was asked for and failed keeps the window open with the edits.
  if (commands_.closing()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace trazmark
