// The edits of the data views through the real frame. Undo and redo: in every
// view each kind of edit is a step of the view's stack named in the Edit menu,
// undo walks back to the state as loaded (the view no longer modified, the
// title without its mark), redo forward again, and Save makes the state it
// wrote the clean one. No edit lost: closing, New and Open ask once for the
// edits of every view, and Ctrl+S writes them from wherever the focus is.

#include <gtest/gtest.h>

#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QPushButton>
#include <QUndoGroup>
#include <QUndoStack>
#include <functional>
#include <string>
#include <vector>

#include "crosssection/qt/RoadSectionView.h"
#include "crosssection/qt/RoadSlopeNewDlg.h"
#include "crosssection/qt/RoadSlopeView.h"
#include "crosssection/qt/RoadSuperHighNewDlg.h"
#include "crosssection/qt/RoadSuperHighView.h"
#include "editors/qt/RoadChainNewDlg.h"
#include "editors/qt/RoadChainView.h"
#include "editors/qt/RoadFlatView.h"
#include "platform/qt/Localization.h"
#include "platform/qt/TabSheet.h"
#include "shell/BottomDockPane.h"
#include "shell/MainFrame.h"
#include "support/UiTestSupport.h"
#include "vertical/qt/RoadVerCurveView.h"

namespace trazmark {
namespace {

using test::ScratchFolder;
using test::ScriptedDialogs;

// What a list shows, every cell, so that a step undone must give back
// exactly what the user saw.
std::string shown(const QAbstractItemModel* model) {
  std::string text;
  for (int r = 0; r < model->rowCount(); ++r) {
    for (int c = 0; c < model->columnCount(); ++c) text += model->index(r, c).data().toString().toStdString() + "|";
    text += "\n";
  }
  return text;
}

// One view's script: the edits in order (each one step, named as the Edit
// menu names it) and what the view shows.
struct ViewScript {
  int kind;
  std::function<void(CDataView&)> setUp;
  std::vector<std::pair<std::function<void(CDataView&)>, std::string>> edits;
  std::function<std::string(CDataView&)> shows;
};

template <class View>
View& as(CDataView& v) {
  return dynamic_cast<View&>(v);
}

Road_Section_Item component(const char* name, double width) {
  Road_Section_Item item;
  item.setModuleName(name);
  item.Width = width;
  item.Slope = 2;
  return item;
}

// The superelevation or widening dialog answered with the first component.
void answerSuperDialog(CRoadSuperHighView& view, const char* value, const char* mileage) {
  view.setDialogRunner([=](QDialog& d) {
    auto& dialog = dynamic_cast<CRoadSuperHighNewDlg&>(d);
    if (dialog.nameBox()->isEnabled()) dialog.nameBox()->setCurrentIndex(0);
    dialog.valueEdit()->setText(QString::fromLatin1(value));
    dialog.mileageEdit()->setText(QString::fromLatin1(mileage));
    dialog.tryAccept();
    return dialog.result() == QDialog::Accepted;
  });
}

ViewScript superScript(int kind) {
  auto super = [](CDataView& v) -> CRoadSuperHighView& { return as<CRoadSuperHighView>(v); };
  const std::string point = kind == kKindSuperWiden ? "widening point" : "superelevation point";
  return {kind,
          {},
          {{[=](CDataView& v) {
              answerSuperDialog(super(v), "2", "100");
              super(v).add();
            },
            "Add " + point},
           {[=](CDataView& v) {
              answerSuperDialog(super(v), "4", "300");
              super(v).add();
            },
            "Add " + point},
           {[=](CDataView& v) {
              answerSuperDialog(super(v), "3", "120");
              super(v).selectRow(0);
              super(v).edit();
            },
            "Edit " + point},
           {[=](CDataView& v) {
              super(v).selectRow(1);
              super(v).remove();
            },
            "Delete " + point}},
          [=](CDataView& v) { return shown(super(v).model()); }};
}

std::vector<ViewScript> scripts() {
  std::vector<ViewScript> all;

  auto chain = [](CDataView& v) -> CRoadChainView& { return as<CRoadChainView>(v); };
  auto typeChain = [=](CDataView& v, const char* before, const char* after) {
    chain(v).setDialogRunner([=](QDialog& d) {
      auto& dialog = dynamic_cast<CRoadChainNewDlg&>(d);
      dialog.beforeEdit()->setText(QString::fromLatin1(before));
      dialog.afterEdit()->setText(QString::fromLatin1(after));
      dialog.tryAccept();
      return dialog.result() == QDialog::Accepted;
    });
  };
  all.push_back({kKindBrokenChain,
                 {},
                 {{[=](CDataView& v) { typeChain(v, "500", "480"), chain(v).add(); }, "Add broken chain"},
                  {[=](CDataView& v) { typeChain(v, "900", "910"), chain(v).add(); }, "Add broken chain"},
                  {[=](CDataView& v) {
                     typeChain(v, "520", "480");
                     chain(v).selectRow(0);
                     chain(v).edit();
                   },
                   "Edit broken chain"},
                  {[=](CDataView& v) {
                     chain(v).selectRow(1);
                     chain(v).remove();
                   },
                   "Delete broken chain"}},
                 [=](CDataView& v) { return shown(chain(v).model()); }});

  // The three pages of the horizontal alignment share the view's stack.
  auto flat = [](CDataView& v) -> CRoadFlatView& { return as<CRoadFlatView>(v); };
  auto onPage = [=](CDataView& v, int page) -> CRoadFlatPageBase& {
    flat(v).tabSheet()->selectPage(page);
    return *flat(v).page(page);
  };
  auto point = [](const char* name, double x, double y) {
    Road_CrossPoint p;
    p.point.Name = name;
    p.point.X = x;
    p.point.Y = y;
    return p;
  };
  auto element = [](int type, double length) {
    Road_Element e;
    e.Type = type;
    e.Length = length;
    return e;
  };
  auto lineElement = [](double length, bool withStart) {
    LineElementFields f;
    f.withStart = withStart;
    f.type = 0;
    f.length = length;
    return f;
  };
  auto flatShows = [=](CDataView& v) {
    std::string text;
    for (int i = 0; i < 3; ++i) text += shown(flat(v).page(i)->model()) + "/";
    return text + flat(v).startMileageField()->text().toStdString();
  };
  auto addPoint = [=](CDataView& v, Road_CrossPoint p) {
    CRoadFlatCrossDlg& page = dynamic_cast<CRoadFlatCrossDlg&>(onPage(v, 0));
    page.pointDialog = [p](const Road_CrossPoint*) { return std::optional<Road_CrossPoint>(p); };
    page.selectRow(-1);
  };
  all.push_back(
      {kKindFlatCurve,
       {},
       {{[=](CDataView& v) {
           addPoint(v, point("JD1", 0, 0));
           flat(v).crossPage()->add();
         },
         "Add intersection point"},
        {[=](CDataView& v) {
           addPoint(v, point("JD2", 500, 0));
           flat(v).crossPage()->add();
         },
         "Add intersection point"},
        {[=](CDataView& v) {
           addPoint(v, point("JD1a", 10, 5));
           flat(v).crossPage()->selectRow(0);
           flat(v).crossPage()->edit();
         },
         "Edit intersection point"},
        {[=](CDataView& v) {
           flat(v).crossPage()->selectRow(1);
           flat(v).crossPage()->remove();
         },
         "Delete intersection point"},
        {[=](CDataView& v) {
           auto& page = dynamic_cast<CRoadFlatElementDlg&>(onPage(v, 1));
           page.elementDialog = [=](const Road_Element*, bool) { return std::optional(element(1, 0)); };
           page.add();
         },
         "Add element"},
        {[=](CDataView& v) {
           auto& page = dynamic_cast<CRoadFlatElementDlg&>(onPage(v, 1));
           page.elementDialog = [=](const Road_Element*, bool) { return std::optional(element(2, 300)); };
           page.selectRow(0);
           page.add();
         },
         "Add element"},
        {[=](CDataView& v) {
           auto& page = dynamic_cast<CRoadFlatElementDlg&>(onPage(v, 1));
           page.elementDialog = [=](const Road_Element*, bool) { return std::optional(element(2, 450)); };
           page.selectRow(1);
           page.edit();
         },
         "Edit element"},
        {[=](CDataView& v) {
           onPage(v, 1);
           flat(v).startMileageField()->setText(QStringLiteral("1250"));
           emit flat(v).startMileageField()->textEdited(QStringLiteral("1250"));
           emit flat(v).startMileageField()->editingFinished();
         },
         "Edit start mileage"},
        {[=](CDataView& v) {
           auto& page = dynamic_cast<CRoadFlatElementDlg&>(onPage(v, 1));
           page.selectRow(1);
           page.remove();
         },
         "Delete element"},
        {[=](CDataView& v) {
           auto& page = dynamic_cast<CRoadFlatLineElementDlg&>(onPage(v, 2));
           page.elementDialog = [=](LineElementFields& f) { return f = lineElement(200, f.withStart), true; };
           page.add();
         },
         "Add line element"},
        {[=](CDataView& v) {
           auto& page = dynamic_cast<CRoadFlatLineElementDlg&>(onPage(v, 2));
           page.elementDialog = [=](LineElementFields& f) { return f = lineElement(300, f.withStart), true; };
           page.selectRow(0);
           page.add();
         },
         "Add line element"},
        {[=](CDataView& v) {
           auto& page = dynamic_cast<CRoadFlatLineElementDlg&>(onPage(v, 2));
           page.elementDialog = [=](LineElementFields& f) { return f = lineElement(250, f.withStart), true; };
           page.selectRow(1);
           page.edit();
         },
         "Edit line element"},
        {[=](CDataView& v) {
           auto& page = dynamic_cast<CRoadFlatLineElementDlg&>(onPage(v, 2));
           page.selectRow(0);
           page.remove();
         },
         "Delete line element"}},
       flatShows});

  auto grade = [](CDataView& v) -> CRoadVerCurveView& { return as<CRoadVerCurveView>(v); };
  auto gradePoint = [](double mileage, double elevation) {
    GradePointInput in;
    in.mileage = mileage;
    in.elevation = elevation;
    return in;
  };
  all.push_back({kKindVerCurve,
                 {},
                 {{[=](CDataView& v) { grade(v).addPoint(gradePoint(0, 100)); }, "Add grade point"},
                  {[=](CDataView& v) { grade(v).addPoint(gradePoint(400, 104)); }, "Add grade point"},
                  {[=](CDataView& v) { grade(v).addPoint(gradePoint(900, 101)); }, "Add grade point"},
                  {[=](CDataView& v) { grade(v).editPoint(1, gradePoint(450, 105)); }, "Edit grade point"},
                  {[=](CDataView& v) { grade(v).deletePoint(2); }, "Delete grade point"}},
                 [=](CDataView& v) { return shown(grade(v).model()); }});

  auto section = [](CDataView& v) -> CRoadSectionView& { return as<CRoadSectionView>(v); };
  all.push_back(
      {kKindCrossSection,
       {},
       {{[=](CDataView& v) { section(v).addComponent(component("lane", 3.75)); }, "Add component"},
        {[=](CDataView& v) { section(v).addComponent(component("shoulder", 1.5)); }, "Add component"},
        {[=](CDataView& v) { section(v).editComponent(0, component("lane", 3.5)); }, "Edit component"},
        {[=](CDataView& v) { section(v).mirror(); }, "Mirror components"},
        {[=](CDataView& v) { section(v).deleteComponent(1); }, "Delete component"}},
       [=](CDataView& v) {
         return shown(section(v).model(kSectionLeft)) + "/" + shown(section(v).model(kSectionRight));
       }});

  auto slope = [](CDataView& v) -> CRoadSlopeView& { return as<CRoadSlopeView>(v); };
  auto typeSlope = [=](CDataView& v, const char* name, const char* start) {
    slope(v).setDialogRunner([=](QDialog& d) {
      auto& dialog = dynamic_cast<CRoadSlopeNewDlg&>(d);
      dialog.nameEdit()->setText(QString::fromLatin1(name));
      dialog.rightButton()->setChecked(true);
      dialog.startEdit()->setText(QString::fromLatin1(start));
      dialog.endEdit()->setText(QStringLiteral("800"));
      dialog.tryAccept();
      return dialog.result() == QDialog::Accepted;
    });
  };
  auto typeStep = [=](CDataView& v, const char* name, const char* height) {
    slope(v).setDialogRunner([=](QDialog& d) {
      auto& dialog = dynamic_cast<CRoadSlopeItemNewDlg&>(d);
      dialog.surfaceButton()->setChecked(true);
      dialog.nameEdit()->setText(QString::fromLatin1(name));
      dialog.firstEdit()->setText(QString::fromLatin1(height));
      dialog.secondEdit()->setText(QStringLiteral("1.5"));
      dialog.tryAccept();
      return dialog.result() == QDialog::Accepted;
    });
  };
  all.push_back({kKindSlope,
                 {},
                 {{[=](CDataView& v) { typeSlope(v, "S1", "0"), slope(v).newSlope(); }, "Add slope"},
                  {[=](CDataView& v) { typeSlope(v, "S2", "100"), slope(v).newSlope(); }, "Add slope"},
                  {[=](CDataView& v) {
                     typeSlope(v, "S1", "20");
                     slope(v).slopeTable()->selectRow(0);
                     slope(v).editSlope();
                   },
                   "Edit slope"},
                  {[=](CDataView& v) {
                     slope(v).slopeTable()->selectRow(1);
                     slope(v).deleteSlope();
                   },
                   "Delete slope"},
                  {[=](CDataView& v) {
                     slope(v).slopeTable()->selectRow(0);
                     slope(v).showSteps();
                     typeStep(v, "a", "6");
                     slope(v).newStep();
                   },
                   "Add slope step"},
                  {[=](CDataView& v) { typeStep(v, "b", "8"), slope(v).newStep(); }, "Add slope step"},
                  {[=](CDataView& v) {
                     typeStep(v, "b", "9");
                     slope(v).stepTable()->selectRow(1);
                     slope(v).editStep();
                   },
                   "Edit slope step"},
                  {[=](CDataView& v) {
                     slope(v).stepTable()->selectRow(0);
                     slope(v).deleteStep();
                   },
                   "Delete slope step"},
                  {[=](CDataView& v) { slope(v).stepsDone(); }, "Edit slope steps"}},
                 [=](CDataView& v) {
                   return std::to_string(slope(v).tabSheet()->visiblePage()) + "/" + shown(slope(v).slopeModel()) +
                          "/" + shown(slope(v).stepModel());
                 }});

  all.push_back(superScript(kKindSuperHigh));
  all.push_back(superScript(kKindSuperWiden));
  return all;
}

class ViewEditsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    setLanguageFilePath(std::string(TRAZMARK_SOURCE_DIR) + "/lang/Language.en.xml");
    frame = std::make_unique<CMainFrame>(&dialogs);
    dialogs.saveNames.push_back(dir.path("undo.REC"));
    frame->commands().newRoad();
    // The superelevation and widening views name components of the road.
    frame->roadLibrary().leftSections.append(component("lane", 3.75));
  }
  void TearDown() override {
    frame.reset();
    setLanguageFilePath(std::string());
  }
  // The rows of the view's kind in the road file at `path`.
  static int rowsInFile(const std::string& path, int kind) {
    CInputRoadLibrary road;
    if (!road.readRoadFile(path)) return -1;
    switch (kind) {
      case kKindBrokenChain: return road.scissons.count();
      case kKindFlatCurve: return road.crossPoints.count();
      case kKindVerCurve: return road.verticalCurves.count();
      case kKindCrossSection: return road.leftSections.count();
      case kKindSlope: return road.slopes.count();
      case kKindSuperHigh: return road.superHighs.count();
      case kKindSuperWiden: return road.widens.count();
      default: return -1;
    }
  }
  bool titleMarked() const { return frame->windowTitle().endsWith(QStringLiteral(" *")); }

  ScratchFolder dir;
  ScriptedDialogs dialogs;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(ViewEditsTest, EveryEditOfEveryViewUndoesToTheStateLoadedAndRedoesAgain) {
  for (const ViewScript& script : scripts()) {
    SCOPED_TRACE(dataKindName(script.kind).toStdString());
    frame->showDataView(script.kind);
    CDataView& view = *frame->dataView(script.kind);
    QUndoStack* stack = view.undoStack();
    ASSERT_NE(stack, nullptr);
    EXPECT_EQ(frame->undoGroup()->activeStack(), stack);
    EXPECT_FALSE(frame->undoAction()->isEnabled());

    std::vector<std::string> states{script.shows(view)};
    for (const auto& [edit, name] : script.edits) {
      edit(view);
      states.push_back(script.shows(view));
      EXPECT_NE(states.back(), states[states.size() - 2]) << name;
      EXPECT_EQ(frame->undoAction()->text().toStdString(), "Undo " + name);
    }
    ASSERT_EQ(stack->count(), static_cast<int>(script.edits.size()));
    EXPECT_TRUE(view.hasPendingInput());
    EXPECT_TRUE(titleMarked());

    for (std::size_t i = script.edits.size(); i > 0; --i) {
      frame->undoAction()->trigger();
      EXPECT_EQ(script.shows(view), states[i - 1]) << "undo of " << script.edits[i - 1].second;
    }
    EXPECT_TRUE(stack->isClean());
    EXPECT_FALSE(view.hasPendingInput());
    EXPECT_FALSE(titleMarked());
    EXPECT_EQ(frame->redoAction()->text().toStdString(), "Redo " + script.edits.front().second);

    for (std::size_t i = 1; i <= script.edits.size(); ++i) {
      frame->redoAction()->trigger();
      EXPECT_EQ(script.shows(view), states[i]) << "redo of " << script.edits[i - 1].second;
    }
    EXPECT_TRUE(view.hasPendingInput());

    // Save stores the view and writes the road: that state is now the clean one.
    ASSERT_TRUE(frame->commands().save());
    EXPECT_FALSE(view.hasPendingInput());
    EXPECT_FALSE(titleMarked());
    frame->undoAction()->trigger();
    EXPECT_TRUE(view.hasPendingInput());
    EXPECT_TRUE(titleMarked());
    frame->redoAction()->trigger();
    EXPECT_FALSE(view.hasPendingInput());
    EXPECT_FALSE(titleMarked());
  }
  EXPECT_TRUE(dialogs.warnings.empty()) << dialogs.warnings.front();
}

TEST_F(ViewEditsTest, OpeningAnotherRoadClearsEveryHistory) {
  frame->showDataView(kKindBrokenChain);
  CDataView& view = *frame->dataView(kKindBrokenChain);
  Road_Section_Item lane = component("kerb", 0.5);
  frame->showDataView(kKindCrossSection);
  auto& section = dynamic_cast<CRoadSectionView&>(*frame->dataView(kKindCrossSection));
  section.addComponent(lane);
  ASSERT_EQ(section.undoStack()->count(), 1);
  // New: the save question is answered Cancel, the edits go with the road.
  dialogs.saveNames.push_back(dir.path("other.REC"));
  frame->commands().newRoad();
  EXPECT_EQ(section.undoStack()->count(), 0);
  EXPECT_EQ(view.undoStack()->count(), 0);
  EXPECT_FALSE(frame->undoAction()->isEnabled());
  EXPECT_FALSE(titleMarked());
}

TEST_F(ViewEditsTest, CtrlSFromEveryViewWritesTheRoadWithTheViewsEdits) {
  frame->show();
  frame->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
  const std::string road = dir.path("undo.REC");
  int pressed = 0;
  for (const ViewScript& script : scripts()) {
    SCOPED_TRACE(dataKindName(script.kind).toStdString());
    frame->showDataView(script.kind);
    CDataView& view = *frame->dataView(script.kind);
    const int before = rowsInFile(road, script.kind);
    script.edits.front().first(view);
    if (++pressed % 2 == 0) {
      // The view's own Save first, clicked: the button gives up the focus
      // as it goes grey; Ctrl+S still writes the road.
      QList<QPushButton*> saves;
      for (QPushButton* b : view.findChildren<QPushButton*>()) {
        if (b->isVisible() && b->isEnabled() && (b->objectName() == QLatin1String("saveButton") || b->text() == QLatin1String("Save")))
          saves.push_back(b);
      }
      ASSERT_FALSE(saves.isEmpty());
      QTest::mouseClick(saves.front(), Qt::LeftButton);
      EXPECT_FALSE(view.hasPendingInput());
    } else {
      // The focus in the view's list.
      QTableView* list = nullptr;
      for (QTableView* t : view.findChildren<QTableView*>()) {
        if (t->isVisible()) list = t;
      }
      ASSERT_NE(list, nullptr);
      list->setFocus();
    }
    QWidget* focus = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : frame.get();
    QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(rowsInFile(road, script.kind), std::max(before, 0) + 1) << "focus on " << focus->metaObject()->className();
    EXPECT_FALSE(view.hasPendingInput());
    EXPECT_FALSE(titleMarked());
  }

  // With the focus in the drawing pane beside the alignment view.
  frame->showDataView(kKindFlatCurve);
  CDataView& flat = *frame->dataView(kKindFlatCurve);
  scripts()[1].edits[1].first(flat);
  frame->drawingPane()->widget()->setFocus();
  QWidget* focus = QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : static_cast<QWidget*>(frame->drawingPane());
  QTest::keyClick(focus, Qt::Key_S, Qt::ControlModifier);
  EXPECT_EQ(rowsInFile(road, kKindFlatCurve), 2);
}

TEST_F(ViewEditsTest, CloseNewAndOpenAskOnceForTheEditsOfTwoViews) {
  ViewScript chain = scripts()[0];
  ViewScript grade = scripts()[2];
  std::string road = dir.path("undo.REC");
  auto editTwoViews = [&](int step) {
    frame->showDataView(kKindBrokenChain);
    chain.edits[step].first(*frame->dataView(kKindBrokenChain));
    frame->showDataView(kKindVerCurve);
    grade.edits[step].first(*frame->dataView(kKindVerCurve));
    EXPECT_TRUE(titleMarked());
  };
  const std::vector<std::string> once{"IDS_WARN_is_save_last_road"};

  // New: asked once, OK saves both views' edits into the road left.
  editTwoViews(0);
  dialogs.answers.push_back(true);
  dialogs.saveNames.push_back(dir.path("second.REC"));
  frame->commands().newRoad();
  EXPECT_EQ(dialogs.questions, once);
  EXPECT_EQ(rowsInFile(road, kKindBrokenChain), 1);
  EXPECT_EQ(rowsInFile(road, kKindVerCurve), 1);

  // Open: the same.
  road = dir.path("second.REC");
  dialogs.questions.clear();
  editTwoViews(0);
  dialogs.answers.push_back(true);
  dialogs.openNames.push_back(dir.path("undo.REC"));
  frame->commands().openRoad();
  EXPECT_EQ(dialogs.questions, once);
  EXPECT_EQ(rowsInFile(road, kKindBrokenChain), 1);
  EXPECT_EQ(rowsInFile(road, kKindVerCurve), 1);

  // Closing the window: the same, and the window goes.
  road = dir.path("undo.REC");
  dialogs.questions.clear();
  editTwoViews(1);
  dialogs.answers.push_back(true);
  frame->show();
  EXPECT_TRUE(frame->close());
  EXPECT_EQ(dialogs.questions, once);
  EXPECT_EQ(rowsInFile(road, kKindBrokenChain), 2);
  EXPECT_EQ(rowsInFile(road, kKindVerCurve), 2);
  EXPECT_TRUE(dialogs.warnings.empty());
}

}  // namespace
}  // namespace trazmark
