// The navigation pane, the drawing pane's view commands, the road list view's
// buttons and the tab sheet.

#include <gtest/gtest.h>

#include <QEventLoop>
#include <QKeyEvent>
#include <QTimer>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>
#include <QPushButton>
#include <QMouseEvent>
#include <QTabBar>
#include <memory>

#include "support/UiTestSupport.h"
#include "alignment/RoadDesign_CrossPoint.h"
#include "maps/PlanDrawing.h"
#include "maps/RoadMap.h"
#include "shell/BottomDockPane.h"
#include "shell/LeftDockPane.h"
#include "shell/MainFrame.h"
#include "shell/MyButton.h"
#include "shell/RoadManageView.h"
#include "platform/qt/Localization.h"
#include "platform/qt/TabSheet.h"
#include "support/ExampleRoad.h"

namespace trazmark {
namespace {

using test::ScratchFolder;
using test::ScriptedDialogs;
using test::writeFile;

// Records the arguments of each emission of a one-argument signal.
template <class Sender, class Signal>
std::shared_ptr<std::vector<QVariant>> record(Sender* sender, Signal signal) {
  auto seen = std::make_shared<std::vector<QVariant>>();
  QObject::connect(sender, signal, sender, [seen](const auto& value) { seen->push_back(QVariant::fromValue(value)); });
  return seen;
}

TEST(NavigationPane, ButtonHeightsFollowThePaneHeight) {
  test::application();
  CLeftDockPane pane;
  pane.show();  // a hidden widget gets its resize event only when shown
  pane.buttonArea()->resize(80, 500);
  for (int i = 0; i < kDataKindCount; ++i) EXPECT_EQ(pane.button(i)->geometry(), QRect(0, 60 * i, 80, 60)) << i;
  pane.buttonArea()->resize(80, 700);
  for (int i = 0; i < kDataKindCount; ++i) EXPECT_EQ(pane.button(i)->geometry(), QRect(0, 70 * i, 80, 70)) << i;
  EXPECT_EQ(pane.button(7)->geometry().bottom() + 1, 560);
  EXPECT_EQ(navigationButtonRect(659, 1).height(), (659 - 20) / 8);
  EXPECT_EQ(navigationButtonRect(660, 1).height(), 70);
}

TEST(NavigationPane, ClickSelectsAndAsksForTheKindRefreshGoesToBrokenChains) {
  test::application();
  CLeftDockPane pane;
  auto spy = record(&pane, &CLeftDockPane::showDataView);
  EXPECT_EQ(pane.selectedIndex(), 0);
  EXPECT_TRUE(pane.button(0)->isLatched());
  EXPECT_FALSE(pane.button(3)->isEnabled());
  pane.setRoadOpen(true);
  pane.button(3)->click();
  ASSERT_EQ(spy->size(), 1u);
  EXPECT_EQ(spy->at(0).toInt(), 3);
  EXPECT_TRUE(pane.button(3)->isLatched());
  EXPECT_FALSE(pane.button(0)->isLatched());
  EXPECT_EQ(pane.button(3)->state(), CMyButton::State::Pressed);
  pane.refresh();
  EXPECT_EQ(spy->size(), 2u);
  EXPECT_EQ(spy->at(1).toInt(), 1);
  EXPECT_EQ(pane.selectedIndex(), 1);
  pane.setRoadOpen(false);
  EXPECT_EQ(pane.button(2)->state(), CMyButton::State::Disabled);
}

// A map that counts the commands it receives.
class RecordingMap : public CMapSlot {
 public:
  explicit RecordingMap(QWidget* parent = nullptr) : page(new QWidget(parent)) {}
  QWidget* widget() override { return page; }
  void zoomIn() override { ++zoomIns; }
  void zoomOut() override { ++zoomOuts; }
  void fullExtent() override { ++fullExtents; }
  void selectMoveTool() override { ++moves; }
  void redraw() override { ++redraws; }
  bool showFile(const std::string& path) override {
    file = path;
    return true;
  }
  QWidget* page;
  int zoomIns = 0, zoomOuts = 0, fullExtents = 0, moves = 0, redraws = 0;
  std::string file;
};

TEST(DrawingPane, ViewCommandsActOnlyOnTheShownMap) {
  test::application();
  std::array<std::unique_ptr<CMapSlot>, kMapCount> maps;
  std::array<RecordingMap*, kMapCount> rec{};
  for (int i = 0; i < kMapCount; ++i) {
    auto m = std::make_unique<RecordingMap>();
    rec[static_cast<std::size_t>(i)] = m.get();
    maps[static_cast<std::size_t>(i)] = std::move(m);
  }
  CBottomDockPane pane(nullptr, std::move(maps));
  for (int i = 0; i < kMapCount; ++i) EXPECT_FALSE(pane.isMapShown(i));

  pane.showOnly(kProfileMap);
  pane.viewCommand(kViewMove);
  EXPECT_EQ(rec[kProfileMap]->moves, 1);
  EXPECT_EQ(rec[kPlanMap]->moves, 0);
  EXPECT_EQ(rec[kSectionMap]->moves, 0);
  EXPECT_EQ(rec[kProfileMap]->redraws, 0);

  pane.showOnly(kSectionMap);
  pane.viewCommand(kViewMove);
  EXPECT_EQ(rec[kSectionMap]->moves, 1);
  EXPECT_EQ(rec[kSectionMap]->redraws, 1);  // the cross section redraws at once
  pane.viewCommand(kViewZoomIn);
  pane.viewCommand(kViewZoomOut);
  pane.viewCommand(7);  // not a view command
  EXPECT_EQ(rec[kSectionMap]->zoomIns, 1);
  EXPECT_EQ(rec[kSectionMap]->zoomOuts, 1);
  EXPECT_EQ(rec[kProfileMap]->zoomIns, 0);

  pane.showAlignmentFile("/roads/a.RP.TDFE");
  EXPECT_TRUE(pane.isMapShown(kPlanMap));
  EXPECT_FALSE(pane.isMapShown(kSectionMap));
  EXPECT_EQ(rec[kPlanMap]->file, "/roads/a.RP.TDFE");
  EXPECT_EQ(rec[kPlanMap]->fullExtents, 1);
  pane.viewCommand(kViewFullExtent);
  EXPECT_EQ(rec[kPlanMap]->fullExtents, 2);
  EXPECT_EQ(rec[kSectionMap]->fullExtents, 0);
}

TEST(DrawingPane, MissingMapsAreEmptyPages) {
  test::application();
  CBottomDockPane pane;
  pane.showOnly(kSectionMap);
  pane.viewCommand(kViewZoomIn);  // nothing to do, nothing breaks
  EXPECT_TRUE(pane.isMapShown(kSectionMap));
}

TEST(RoadManageView, ShowsTheFirstTenRoadsAndPlacesItsButtons) {
  test::application();
  ScratchFolder dir;
  std::string text;
  for (int i = 0; i < 12; ++i) text += "r" + std::to_string(i) + ",0.0000,0.0000,/roads/r" + std::to_string(i) + ".REC,\r\n";
  writeFile(dir.path("roads.txt"), text);
  ScriptedDialogs dialogs;
  CMainFrame frame(&dialogs);
  frame.setRoadListPath(dir.path("roads.txt"));
  frame.show();
  CRoadManageView* view = frame.roadManageView();
  const auto& buttons = view->roadButtons();
  ASSERT_EQ(buttons.size(), 10u);
  // The road's name from the list, its path as the tooltip.
  EXPECT_EQ(buttons[0]->text(), "r0");
  EXPECT_EQ(buttons[0]->toolTip(), "/roads/r0.REC");
  EXPECT_EQ(buttons[9]->text(), "r9");
  EXPECT_EQ(buttons[9]->toolTip(), "/roads/r9.REC");
  EXPECT_EQ(frame.roadLibrary().roadCount(), 12);

  view->resize(800, 700);
  EXPECT_EQ(view->newButton()->geometry(), QRect(5, 5, 100, 40));
  EXPECT_EQ(view->openButton()->geometry(), QRect(110, 5, 100, 40));
  EXPECT_EQ(buttons[2]->geometry(), QRect(5, 52 + 104, 400, 50));
  view->resize(600, 500);
  EXPECT_EQ(buttons[2]->geometry(), QRect(5, 52 + 2 * 42, 300, 40));

  // A missing road list file leaves only the two command buttons.
  CMainFrame empty(&dialogs);
  empty.setRoadListPath(dir.path("none.txt"));
  EXPECT_TRUE(empty.roadManageView()->roadButtons().empty());
}

TEST(TextButton, ReportsItsCaptionWhenReleased) {
  test::application();
  CMyButton button(CMyButton::Look::Text);
  button.setText("/roads/a.REC");
  button.resize(200, 40);
  auto up = record(&button, &CMyButton::buttonUp);
  QPoint centre(100, 20);
  QMouseEvent press(QEvent::MouseButtonPress, centre, button.mapToGlobal(centre), Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(&button, &press);
  EXPECT_EQ(button.state(), CMyButton::State::Pressed);
  QMouseEvent release(QEvent::MouseButtonRelease, centre, button.mapToGlobal(centre), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(&button, &release);
  ASSERT_EQ(up->size(), 1u);
  EXPECT_EQ(up->at(0).toString(), "/roads/a.REC");
  EXPECT_NE(button.state(), CMyButton::State::Pressed);
}

void clickTab(CTabSheet& sheet, int index) {
  QTabBar* bar = sheet.tabBar();
  QPoint p = bar->tabRect(index).center();
  QMouseEvent press(QEvent::MouseButtonPress, p, bar->mapToGlobal(p), Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(bar, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, p, bar->mapToGlobal(p), Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(bar, &release);
}

TEST(TabSheet, HoldsSixteenPagesAndIgnoresTabClicksWhileLocked) {
  test::application();
  CTabSheet sheet;
  int made = 0;
  for (int i = 0; i < CTabSheet::kMaxPages; ++i) {
    EXPECT_TRUE(sheet.addPage(QString("P%1").arg(i), 0, [&made](QWidget* parent) {
      ++made;
      return new QLabel("page", parent);
    }));
  }
  EXPECT_FALSE(sheet.addPage("seventeenth", 0, [](QWidget* parent) { return new QWidget(parent); }));
  EXPECT_EQ(sheet.pageCount(), 16);
  EXPECT_EQ(made, 0);  // pages are made when the sheet is shown
  sheet.showPages();
  EXPECT_EQ(made, 16);
  EXPECT_EQ(sheet.count(), 16);
  EXPECT_EQ(sheet.visiblePage(), 0);
  sheet.resize(1600, 300);
  sheet.show();

  auto changed = record(&sheet, &CTabSheet::tabChanged);
  sheet.setLocked(true);
  clickTab(sheet, 1);
  EXPECT_EQ(sheet.currentIndex(), 0);
  EXPECT_EQ(changed->size(), 0u);

  sheet.setLocked(false);
  clickTab(sheet, 1);
  EXPECT_EQ(sheet.currentIndex(), 1);
  EXPECT_EQ(sheet.visiblePage(), 1);
  ASSERT_EQ(changed->size(), 1u);  // message 1629 with the new index
  EXPECT_EQ(changed->at(0).toInt(), 1);

  sheet.selectPage(3);  // the owner's own switch sends no message
  EXPECT_EQ(sheet.visiblePage(), 3);
  EXPECT_EQ(changed->size(), 1u);
  sheet.selectPage(99);
  EXPECT_EQ(sheet.visiblePage(), 3);
}

void pressKey(QWidget* target, int key, Qt::KeyboardModifiers modifiers) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers);
  QApplication::sendEvent(target, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers);
  QApplication::sendEvent(target, &release);
}

TEST(TabSheet, LockHoldsForTheKeyboardAndTabStillLeavesTheTabBar) {
  test::application();
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  auto* sheet = new CTabSheet(&window);
  std::vector<QLineEdit*> fields;
  for (const char* title : {"A", "B", "C"}) {
    sheet->addPage(title, 0, [&fields](QWidget* parent) {
      auto* page = new QWidget(parent);
      fields.push_back(new QLineEdit(page));
      return page;
    });
  }
  auto* after = new QLineEdit(&window);
  layout->addWidget(sheet);
  layout->addWidget(after);
  sheet->showPages();
  window.show();
  QApplication::setActiveWindow(&window);
  auto changed = record(sheet, &CTabSheet::tabChanged);

  sheet->setLocked(true);
  const std::pair<int, Qt::KeyboardModifiers> switchKeys[] = {
      {Qt::Key_Tab, Qt::ControlModifier},
      {Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier},
      {Qt::Key_PageDown, Qt::ControlModifier},
      {Qt::Key_PageUp, Qt::ControlModifier}};
  for (const auto& [key, modifiers] : switchKeys) {
    fields[0]->setFocus();
    pressKey(fields[0], key, modifiers);
    EXPECT_EQ(sheet->currentIndex(), 0) << key;
    pressKey(sheet->tabBar(), key, modifiers);
    EXPECT_EQ(sheet->currentIndex(), 0) << key;
  }
  pressKey(sheet->tabBar(), Qt::Key_Right, Qt::NoModifier);
  sheet->tabBar()->setCurrentIndex(2);  // any other way is turned back too
  EXPECT_EQ(sheet->currentIndex(), 0);
  EXPECT_EQ(sheet->visiblePage(), 0);
  EXPECT_TRUE(changed->empty());

  sheet->tabBar()->setFocus();
  ASSERT_TRUE(sheet->tabBar()->hasFocus());
  pressKey(sheet->tabBar(), Qt::Key_Tab, Qt::NoModifier);
  EXPECT_FALSE(sheet->tabBar()->hasFocus());

  sheet->setLocked(false);
  fields[0]->setFocus();
  pressKey(fields[0], Qt::Key_Tab, Qt::ControlModifier);
  EXPECT_EQ(sheet->visiblePage(), 1);
  ASSERT_EQ(changed->size(), 1u);
}

// An intersection-point road of three points, as the alignment editor writes
// its curve file.
std::string writeCurveFile(const ScratchFolder& dir) {
  std::string path = test::writeExampleCurveFile(dir.root(), "EXAMPLE");
  EXPECT_FALSE(path.empty());
  return path;
}

TEST(DrawingPane, PlanMapFitsTheRoadToItsRealSizeOnTheFirstShowing) {
  test::application();
  ScratchFolder dir;
  std::string curve = writeCurveFile(dir);
  ScriptedDialogs dialogs;
  CMainFrame frame(&dialogs);
  frame.resize(1200, 800);
  frame.show();
  auto settle = [] {
    QEventLoop loop;
    QTimer::singleShot(150, &loop, &QEventLoop::quit);
    loop.exec();
  };
  settle();
  // The drawing pane appears for the first time, docked in the frame.
  frame.showAlignmentFile(curve);
  settle();
  // ... and settles at its own size only afterwards (the window manager
  // placing the window, the dock layout taking its saved size).
  frame.resizeDocks({frame.drawingPane()}, {450}, Qt::Vertical);
  settle();
  auto* map = frame.findChild<CRoadMap*>(QStringLiteral("planMap"));
  ASSERT_NE(map, nullptr);
  ASSERT_TRUE(map->isVisible());
  EXPECT_GT(map->width(), 600);
  EXPECT_GT(map->height(), 400);
  const ClientRect& r = map->mapManage().params().clientRect;
  EXPECT_EQ(r.width(), map->contentsRect().width());
  EXPECT_EQ(r.height(), map->contentsRect().height());

  // Every corner of the road's box is inside the map, and the road fills it.
  std::optional<WorldBox> box = planExtent(map->roadDesign());
  ASSERT_TRUE(box);
  ScreenPoint a = map->mapManage().worldToScreen(box->minX, box->minY);
  ScreenPoint b = map->mapManage().worldToScreen(box->maxX, box->maxY);
  for (const ScreenPoint& p : {a, b}) {
    EXPECT_GE(p.x, 0);
    EXPECT_LE(p.x, r.width());
    EXPECT_GE(p.y, 0);
    EXPECT_LE(p.y, r.height());
  }
  double share = std::max(std::abs(b.x - a.x) / double(r.width()), std::abs(b.y - a.y) / double(r.height()));
  EXPECT_GT(share, 0.85);

  // Once the user zooms, a new size keeps the view.
  map->zoomIn();
  double scale = map->mapManage().params().scale;
  frame.resize(1300, 850);
  settle();
  EXPECT_DOUBLE_EQ(map->mapManage().params().scale, scale);
}

TEST(NavigationPane, ButtonsKeepSizeAndPlaceWhateverViewIsShownAndFitTheirCaptions) {
  test::application();
  setLanguageFilePath(std::string(TRAZMARK_SOURCE_DIR) + "/lang/Language.en.xml");
  ScriptedDialogs dialogs;
  CMainFrame frame(&dialogs);
  frame.resize(1180, 788);
  frame.show();
  CLeftDockPane* pane = frame.navigationPane();
  pane->setRoadOpen(true);
  auto places = [&] {
    QCoreApplication::processEvents();
    std::vector<QRect> rects;
    for (int i = 0; i < kDataKindCount; ++i)
      rects.push_back(QRect(pane->button(i)->mapTo(&frame, QPoint(0, 0)), pane->button(i)->size()));
    return rects;
  };
  const std::vector<QRect> first = places();
  frame.showDataView(kKindFlatCurve);
  frame.drawingPane()->show();  // the alignment view's map below the views
  EXPECT_EQ(places(), first);
  frame.showDataView(kKindSlope);
  frame.drawingPane()->hide();
  EXPECT_EQ(places(), first);

  QFont bold = pane->button(0)->font();
  bold.setBold(true);
  for (int i = 0; i < kDataKindCount; ++i)
    EXPECT_LE(QFontMetrics(bold).horizontalAdvance(pane->button(i)->text()), pane->button(i)->width() - 6)
        << pane->button(i)->text().toStdString();
  setLanguageFilePath("");
}

TEST(NavigationPane, ShortButtonsKeepTheirCaptionsClearOfTheSymbol) {
  for (int textHeight : {13, 17, 22}) {
    for (int height = 30; height <= 90; ++height) {
      PictureButtonLayout layout = pictureButtonLayout(QSize(80, height), textHeight);
      EXPECT_EQ(layout.picture, QRect(0, 0, 80, height));
      EXPECT_LE(layout.symbol.bottom() + 1, layout.caption.top()) << height << " " << textHeight;
      EXPECT_LE(layout.symbol.height(), height * 45 / 70 + 1) << height;
      EXPECT_LE(layout.caption.bottom(), height - 1) << height;
      EXPECT_EQ(layout.caption.height(), textHeight) << height;
    }
  }
  // A full-height button keeps the symbol of the picture's own design.
  EXPECT_EQ(pictureButtonLayout(QSize(80, 70), 17).symbol.height(), 45);
}

}  // namespace
}  // namespace trazmark
