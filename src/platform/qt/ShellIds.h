#pragma once
// The numbers that tie the window together: private messages between the
// frame, its panes and the data views, the kinds of road data, the view
// commands of the drawing pane, and the resource numbers under which dialogs
// and their controls find their texts in the language file.

namespace trazmark {

/// The private messages of the shell. Their numbers are fixed because pages,
/// views and older language files refer to them; delivery is by Qt signals and
/// direct calls, each of which names the message it carries.
enum ShellMessage : int {
  kMsgShowDataView = 1524,      ///< frame: show the data view of a kind (first parameter)
  kMsgButtonDown = 1525,        ///< owner-drawn button pressed (picture look)
  kMsgButtonUp = 1526,          ///< owner-drawn button released (text look), with its caption
  kMsgReloadDataViews = 1624,   ///< every data view: copy the current road again
  kMsgSlopePage = 1626,         ///< slope view page protocol
  kMsgViewCommand = 1627,       ///< drawing pane: view command (second parameter)
  kMsgTabChanged = 1629,        ///< tab sheet owner: the user switched to a page
  kMsgImportAlignment = 1630,   ///< horizontal alignment view: import an RE/RP file
};

/// The kinds of road data: the navigation pane's button index and the frame's
/// data view slots.
enum DataKind : int {
  kKindRoadList = 0,
  kKindBrokenChain = 1,
  kKindFlatCurve = 2,
  kKindVerCurve = 3,
  kKindCrossSection = 4,
  kKindSlope = 5,
  kKindSuperHigh = 6,
  kKindSuperWiden = 7,
};
constexpr int kDataKindCount = 8;

/// Second parameter of message 1627.
enum ViewCommand : int {
  kViewZoomIn = 2,
  kViewZoomOut = 3,
  kViewFullExtent = 4,
  kViewMove = 5,
};

/// Dialog resource numbers: the language file's "IDD%d" elements.
enum DialogId : int {
  kDlgAbout = 100,
  kDlgRoadManageView = 311,
  kDlgRoadChainView = 312,
  kDlgRoadChainNew = 313,
  kDlgRoadFlatView = 314,
  kDlgRoadFlatCross = 315,
  kDlgRoadFlatCrossNew = 316,
  kDlgRoadFlatElement = 317,
  kDlgRoadFlatElementNew = 318,
  kDlgRoadFlatLineElement = 319,
  kDlgRoadFlatLineElementNew = 320,
  kDlgRoadFlatExport = 321,
  kDlgRoadFlatAddStake = 322,
  kDlgRoadVerCurveView = 323,
  kDlgRoadVerCurveNew = 324,
  kDlgRoadSectionView = 325,
  kDlgRoadSectionNew = 326,
  kDlgRoadSlopeView = 327,
  kDlgRoadSlopePage = 328,
  kDlgRoadSlopeItemPage = 329,
  kDlgRoadSlopeNew = 330,
  kDlgRoadSlopeItemNew = 331,
  kDlgRoadSuperHighView = 332,
  kDlgRoadSuperHighNew = 333,
  kDlgRoadSuperWidenView = 334,
  kDlgRoadSuperWidenNew = 335,
};

/// Control identifiers shared by every dialog: the language file's
/// "IDD%d_%d" elements name a control by these numbers.
enum ControlId : int {
  kCtlOk = 1,
  kCtlCancel = 2,
  kCtlAboutProgramName = 1010,
  kCtlAboutVersion = 1011,
  kCtlRoadManageNew = 1020,
  kCtlRoadManageOpen = 1021,
  kCtlNotAvailableText = 1030,
};

/// Command identifiers of the navigation buttons: 1000 + kind.
constexpr int kNavigationCommandBase = 1000;
/// Control identifiers of the two docking panes.
constexpr int kNavigationPaneId = 1001;
constexpr int kDrawingPaneId = 1002;

}  // namespace trazmark
