#include <gtest/gtest.h>

#include <fstream>

#include <QCheckBox>
#include <QClipboard>
#include <QPlainTextEdit>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>

#include "alignment/RoadDesign.h"
#include "editors/qt/RoadFlatDialogs.h"
#include "editors/qt/RoadFlatView.h"
#include "library/InputRoadLibrary.h"
#include "platform/WarningSink.h"
#include "platform/qt/Localization.h"
#include "platform/qt/RecordTableModel.h"
#include "platform/qt/TabSheet.h"
#include "support/UiTestSupport.h"

namespace trazmark {
namespace {

using test::ScratchFolder;
using test::ScriptedDialogs;

// The frame as the view sees it: a store, a road file, the dialog seam.
class FakeHost : public CDataViewHost {
 public:
  CInputRoadLibrary store;
  ScriptedDialogs dialogs;
  RoadFileState state;
  std::vector<std::string> shownFiles;
  int modifiedCalls = 0;

  void setRoad(const std::string& folder, const std::string& title) {
    state.roadFolder = folder;
    state.roadTitle = title;
    state.roadFileName = title + ".REC";
    state.roadPath = folder + "/" + title + ".REC";
  }

  CInputRoadLibrary& roadLibrary() override { return store; }
  UserDialogs& userDialogs() override { return dialogs; }
  const RoadFileState& roadFileState() const override { return state; }
  void setRoadFilePath(const std::string& path) override {
    state.roadPath = path;
    const std::size_t slash = path.find_last_of('/');
    state.roadFolder = path.substr(0, slash);
    state.roadFileName = path.substr(slash + 1);
    state.roadTitle = state.roadFileName.substr(0, state.roadFileName.find_last_of('.'));
  }
  void setRoadModified() override { ++modifiedCalls; }
  void showAlignmentFile(const std::string& path) override { shownFiles.push_back(path); }
  void showProfileFile(const std::string&) override {}
  void showCrossSection() override {}
};

Road_CrossPoint crossPoint(const std::string& name, double x, double y, double radius = 0) {
  Road_CrossPoint p;
  p.point.Name = name;
  p.point.X = x;
  p.point.Y = y;
  p.Radius = radius;
  return p;
}

class RoadFlatViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::application();
    // These tests read the language keys themselves: no language file, even
    // when a test before them in this process chose one.
    setLanguageFilePath("");
    previous_ = setWarningSink([](const std::string&, const std::string&) {});
    host_.setRoad(scratch_.root(), "road");
  }
  void TearDown() override { setWarningSink(previous_); }

  // A road of three intersection points, 450 m or so.
  void enterCrossPoints(CRoadFlatCrossDlg* page) {
    std::vector<Road_CrossPoint> points = {crossPoint("QD", 0, 0), crossPoint("JD1", 0, 250, 300),
                                           crossPoint("ZD", 200, 450)};
    std::size_t next = 0;
    page->pointDialog = [&](const Road_CrossPoint*) -> std::optional<Road_CrossPoint> { return points[next++]; };
    for (std::size_t i = 0; i < points.size(); ++i) page->add();
  }

  ScratchFolder scratch_;
  FakeHost host_;
  WarningSink previous_;
};

TEST_F(RoadFlatViewTest, MethodInForcePicksAndLocksThePage) {
  host_.store.FlatcurveType = kFlatcurveLineElements;
  CRoadFlatView view(host_);
  EXPECT_EQ(view.currentPage(), 2);
  EXPECT_TRUE(view.tabSheet()->isLocked());
  host_.store.clear();  // a new road: first page, tabs free
  view.reloadFromRoad();
  EXPECT_EQ(view.currentPage(), 0);
  EXPECT_FALSE(view.tabSheet()->isLocked());
  EXPECT_EQ(view.tabSheet()->tabText(1), QStringLiteral("IDS_DATA_element_method"));
}

TEST_F(RoadFlatViewTest, StartMileageFieldOnlyWithTheElementPageAndListModeKept) {
  CRoadFlatView view(host_);
  view.show();
  EXPECT_FALSE(view.startMileageField()->isVisible());
  view.setListMode(2);
  view.tabSheet()->setCurrentIndex(1);  // as a click on the tab does
  EXPECT_TRUE(view.startMileageField()->isVisible());
  EXPECT_EQ(view.elementPage()->rules().listMode, 2);
  view.startMileageField()->setText(QStringLiteral("1200.5"));
  emit view.startMileageField()->textEdited(view.startMileageField()->text());
  EXPECT_DOUBLE_EQ(view.elementPage()->page.startMileage, 1200.5);
  EXPECT_TRUE(view.isModified());  // a new start is input to be saved
  view.reloadFromRoad();  // the mode survives a road change
  EXPECT_EQ(view.listMode(), 2);
}

TEST_F(RoadFlatViewTest, StartMileageIsSavedWithoutACalculationAndSurvivesAnEditedStartPoint) {
  Road_Element start;
  start.Type = 1;
  start.Mileage = 500;
  Road_Element line;
  line.Type = 2;
  line.Length = 100;
  host_.store.elements.append(start);
  host_.store.elements.append(line);
  host_.store.FlatcurveType = kFlatcurveElements;
  CRoadFlatView view(host_);
  ASSERT_EQ(view.currentPage(), 1);
  CRoadFlatElementDlg* page = view.elementPage();
  EXPECT_EQ(view.startMileageField()->text(), QStringLiteral("500.0000"));
  auto type = [&](const char* text) {
    view.startMileageField()->setText(QString::fromLatin1(text));
    emit view.startMileageField()->textEdited(view.startMileageField()->text());
  };
  // A new start mileage and Save, no calculation in between.
  type("1200.5");
  ASSERT_TRUE(page->saveButton()->isEnabled());
  page->save();
  EXPECT_EQ(host_.store.elements[0].Mileage, 1200.5);
  view.reloadFromRoad();
  EXPECT_EQ(view.startMileageField()->text(), QStringLiteral("1200.5000"));

  // The element dialog knows no mileage: an edited start point keeps it.
  page->elementDialog = [](const Road_Element* initial, bool) -> std::optional<Road_Element> {
    Road_Element e = *initial;
    e.point.X = 10;
    e.Mileage = 0;
    return e;
  };
  page->selectRow(0);
  page->edit();
  EXPECT_EQ(view.startMileageField()->text(), QStringLiteral("1200.5000"));
  view.commitPendingInput();  // the frame's Save
  EXPECT_EQ(host_.store.elements[0].Mileage, 1200.5);
  view.reloadFromRoad();
  EXPECT_EQ(view.startMileageField()->text(), QStringLiteral("1200.5000"));

  // Text that is no number is stored as 0, and the field says so after Save.
  type("12x");
  page->save();
  EXPECT_EQ(host_.store.elements[0].Mileage, 0);
  EXPECT_EQ(view.startMileageField()->text(), QStringLiteral("0.0000"));
}

TEST_F(RoadFlatViewTest, AddAfterTheSelectionAndEditOrDeleteWithoutOne) {
  CRoadFlatView view(host_);
  CRoadFlatCrossDlg* page = view.crossPage();
  enterCrossPoints(page);
  int opened = 0;
  page->pointDialog = [&](const Road_CrossPoint*) -> std::optional<Road_CrossPoint> {
    return crossPoint("NEW", 5, 5);
  };
  page->add();  // appended: nothing selected
  page->add();
  page->selectRow(2);  // the third of five
  page->add();
  ASSERT_EQ(page->page.rowCount(), 6);
  EXPECT_EQ(page->page.method.points[3].point.Name, "NEW");
  EXPECT_EQ(page->selectedRow(), 3);
  page->pointDialog = [&](const Road_CrossPoint*) -> std::optional<Road_CrossPoint> {
    ++opened;
    return std::nullopt;
  };
  page->selectRow(-1);
  page->edit();
  page->remove();
  EXPECT_EQ(opened, 0);
  EXPECT_EQ(host_.dialogs.warnings,
            (std::vector<std::string>{"IDS_WARN_select_element_first", "IDS_WARN_select_element_first"}));
  EXPECT_TRUE(view.isModified());
  EXPECT_TRUE(page->saveButton()->isEnabled());
}

TEST_F(RoadFlatViewTest, PointDialogNamesTheMissingFieldAndTakesAnEmptyElevationAsZero) {
  CRoadFlatCrossNewDlg dlg(host_.dialogs);
  dlg.name->setText(QStringLiteral("JD1"));
  dlg.north->setText(QStringLiteral("1"));
  EXPECT_FALSE(dlg.tryAccept());
  EXPECT_EQ(host_.dialogs.warnings, std::vector<std::string>{"IDS_WARN_range_east"});
  dlg.east->setText(QStringLiteral("2"));
  EXPECT_TRUE(dlg.tryAccept());
  EXPECT_EQ(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.fields().record().point.Z, 0);
}

TEST_F(RoadFlatViewTest, PointDialogAsksBeforeASecondPointOfOneName) {
  RecordList<Road_CrossPoint> points;
  Road_CrossPoint jd1;
  jd1.point.Name = "JD1";
  points.append(jd1);
  CRoadFlatCrossNewDlg dlg(host_.dialogs);
  dlg.setRoadPoints(&points, nullptr);
  dlg.name->setText(QStringLiteral("JD1"));
  dlg.north->setText(QStringLiteral("1"));
  dlg.east->setText(QStringLiteral("2"));
  EXPECT_FALSE(dlg.tryAccept());  // Cancel: back to the dialog
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  host_.dialogs.answers.push_back(true);
  EXPECT_TRUE(dlg.tryAccept());  // OK: both points keep the name
  EXPECT_EQ(host_.dialogs.questions, (std::vector<std::string>{"IDS_ASK_point_name_exists", "IDS_ASK_point_name_exists"}));
  CRoadFlatCrossNewDlg edit(host_.dialogs);
  edit.setRoadPoints(&points, &points[0]);  // editing JD1 itself asks nothing
  edit.setFields(CrossPointFields::from(jd1));
  EXPECT_TRUE(edit.tryAccept());
  EXPECT_EQ(host_.dialogs.questions.size(), 2u);
}

TEST_F(RoadFlatViewTest, PointDialogRefusesANegativeRadiusAndStaysOpen) {
  CRoadFlatCrossNewDlg dlg(host_.dialogs);
  dlg.name->setText(QStringLiteral("JD1"));
  dlg.north->setText(QStringLiteral("1"));
  dlg.east->setText(QStringLiteral("2"));
  dlg.elevation->setText(QStringLiteral("3"));
  dlg.radius->setText(QStringLiteral("-300"));
  EXPECT_FALSE(dlg.tryAccept());
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(host_.dialogs.warnings, std::vector<std::string>{"IDS_DATA_radius_can_not_be_negative"});
  dlg.radius->setText(QStringLiteral("300"));
  EXPECT_TRUE(dlg.tryAccept());
  EXPECT_EQ(dlg.fields().radius, 300);
}

TEST_F(RoadFlatViewTest, ARoadWithANegativeRadiusIsRefusedNamingThePoint) {
  // The road file brings the value; the dialog never saw it.
  host_.store.FlatcurveType = kFlatcurveCrossPoints;
  host_.store.crossPoints = {crossPoint("QD", 0, 0), crossPoint("JD1", 0, 250, -300), crossPoint("ZD", 200, 450)};
  CRoadFlatView view(host_);
  CRoadFlatCrossDlg* page = view.crossPage();
  page->showMap();
  EXPECT_TRUE(host_.shownFiles.empty());
  view.setListMode(1);
  EXPECT_EQ(page->model()->rowCount(), 0);
  EXPECT_EQ(host_.dialogs.warnings, (std::vector<std::string>{"IDS_WARN_crosspoint_radius_negative",
                                                              "IDS_WARN_crosspoint_radius_negative"}));
  EXPECT_EQ(host_.dialogs.details, (std::vector<std::string>{"2 (JD1)", "2 (JD1)"}));
}

TEST_F(RoadFlatViewTest, ImportNamesTheRoadAfterTheFile) {
  const std::string rp = scratch_.path("survey.RP");
  test::writeFile(rp,
                  "ROADNAME:K1,\r\nCROSSPT :QD,0.0000,0.0000,0.0000,0.0000,0.0000,0.0000,0.0000,\r\n"
                  "CROSSPT :JD1,0.0000,250.0000,0.0000,0.0000,0.0000,300.0000,0.0000,\r\n"
                  "CROSSPT :ZD,200.0000,450.0000,0.0000,0.0000,0.0000,0.0000,0.0000,\r\n");
  host_.store.FlatcurveType = kFlatcurveCrossPoints;
  CRoadFlatView view(host_);
  EXPECT_EQ(view.importAlignmentFile(rp, 0), ImportResult::kImported);
  CRoadFlatCrossDlg* page = view.crossPage();
  EXPECT_EQ(page->page.roadName, "K1");
  EXPECT_EQ(host_.state.roadPath, scratch_.root() + "/K1.rec");
  EXPECT_EQ(host_.store.crossPoints.size(), 3u);  // saved into the road
  EXPECT_FALSE(view.isModified());
  ASSERT_TRUE(page->page.calculate().ok);
  EXPECT_EQ(page->page.curveFilePath(), scratch_.root() + "/K1.RP.TDFE");
  EXPECT_TRUE(test::fileExists(scratch_.root() + "/K1.RP.TDFE"));
}

TEST_F(RoadFlatViewTest, UnreadableImportChangesNothing) {
  host_.store.crossPoints = {crossPoint("A", 1, 2)};
  CRoadFlatView view(host_);
  const RoadFileState before = host_.state;
  EXPECT_EQ(view.importAlignmentFile(scratch_.path("missing.RP"), 0), ImportResult::kUnreadable);
  EXPECT_EQ(host_.state.roadPath, before.roadPath);
  EXPECT_EQ(host_.store.crossPoints.size(), 1u);
  EXPECT_EQ(host_.modifiedCalls, 0);
  EXPECT_FALSE(test::fileExists(scratch_.path("road.RP")));
}

TEST_F(RoadFlatViewTest, ImportAsksBeforeTakingOverAnotherRoadFile) {
  const std::string rp = scratch_.path("survey.RP");
  test::writeFile(rp, "ROADNAME:K2,\r\nCROSSPT :QD,0.0000,0.0000,0.0000,0.0000,0.0000,0.0000,0.0000,\r\n");
  test::writeFile(scratch_.path("K2.rec"), "another road");
  CRoadFlatView view(host_);
  host_.dialogs.answers = {false};
  EXPECT_EQ(view.importAlignmentFile(rp, 0), ImportResult::kImported);
  EXPECT_EQ(host_.dialogs.questions, std::vector<std::string>{"IDS_WARN_road_file_exists_replace"});
  EXPECT_EQ(host_.state.roadPath, scratch_.root() + "/road.REC");  // kept
  EXPECT_EQ(test::readFile(scratch_.path("K2.rec")), "another road");
}

TEST_F(RoadFlatViewTest, ExportDialogReturnsOnCancelAndRefusesBadIntervals) {
  CRoadFlatExportDlg dlg(host_.dialogs, 0);
  EXPECT_FALSE(dlg.interval->isEnabled());
  dlg.exportType->setCurrentIndex(1);
  EXPECT_TRUE(dlg.interval->isEnabled());
  dlg.interval->setText(QStringLiteral("abc"));
  EXPECT_FALSE(dlg.tryAccept());
  dlg.interval->setText(QStringLiteral("0.5"));  // below 1 on whole stations
  EXPECT_FALSE(dlg.tryAccept());
  EXPECT_EQ(host_.dialogs.warnings.size(), 2u);
  EXPECT_TRUE(host_.dialogs.requests.empty());

  dlg.interval->setText(QStringLiteral("20"));
  dlg.offset->setText(QStringLiteral("5"));
  EXPECT_FALSE(dlg.tryAccept());  // save dialog cancelled: back here
  EXPECT_NE(dlg.result(), QDialog::Accepted);
  EXPECT_EQ(dlg.interval->text(), QStringLiteral("20"));
  ASSERT_EQ(host_.dialogs.requests.size(), 1u);
  EXPECT_EQ(host_.dialogs.requests[0].filter, "Files(*.dat)|*.dat|");
  EXPECT_EQ(host_.dialogs.requests[0].defaultExtension, "dat");

  host_.dialogs.saveNames = {scratch_.path("out.dat")};
  EXPECT_TRUE(dlg.tryAccept());
  const FlatExportRequest r = dlg.request();
  EXPECT_EQ(r.path, scratch_.path("out.dat"));
  EXPECT_DOUBLE_EQ(r.interval, 20);
  EXPECT_DOUBLE_EQ(r.offset, 5);
}

TEST_F(RoadFlatViewTest, ExportOffersTheExtensionOfWhatItWrites) {
  // Stake files are .dat files; a line file is named as Open reads it: the
  // intersection-point text as .RP, the element text of the element and
  // line-element pages as .RE.
  const struct {
    int filterKind;
    int exportType;
    const char* extension;
    const char* filter;
  } cases[] = {
      {0, 0, "RP", "Files(*.RP)|*.RP|"},  {1, 0, "RE", "Files(*.RE)|*.RE|"},  {2, 0, "RE", "Files(*.RE)|*.RE|"},
      {0, 1, "dat", "Files(*.dat)|*.dat|"}, {1, 1, "dat", "Files(*.dat)|*.dat|"}, {2, 1, "dat", "Files(*.dat)|*.dat|"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.filterKind) + "/" + std::to_string(c.exportType));
    host_.dialogs.requests.clear();
    CRoadFlatExportDlg dlg(host_.dialogs, c.filterKind);
    dlg.exportType->setCurrentIndex(c.exportType);
    dlg.interval->setText(QStringLiteral("20"));
    EXPECT_FALSE(dlg.tryAccept());  // the file dialog is cancelled
    ASSERT_EQ(host_.dialogs.requests.size(), 1u);
    EXPECT_EQ(host_.dialogs.requests[0].defaultExtension, c.extension);
    EXPECT_EQ(host_.dialogs.requests[0].filter, c.filter);
  }
}

TEST_F(RoadFlatViewTest, SideStakesReplaceAnExistingSideStakeFileOnlyWhenTheUserSaysSo) {
  using Answer = UserDialogs::ReplaceAnswer;
  CRoadFlatView view(host_);
  CRoadFlatCrossDlg* page = view.crossPage();
  enterCrossPoints(page);
  const std::string stakes = scratch_.path("out.dat");
  const std::string side = scratch_.path("out_side.dat");
  test::writeFile(side, "kept\r\n");
  std::string offset = "5";
  page->exportDialog = [&](int filterKind) -> std::optional<FlatExportRequest> {
    CRoadFlatExportDlg dlg(host_.dialogs, filterKind);
    dlg.exportType->setCurrentIndex(1);
    dlg.interval->setText(QStringLiteral("20"));
    dlg.offset->setText(QString::fromStdString(offset));
    if (!dlg.tryAccept()) return std::nullopt;  // as Cancel in the export dialog after it
    return dlg.request();
  };

  // Cancel: nothing is written, the side stake file is kept.
  host_.dialogs.saveNames = {stakes};
  host_.dialogs.replaceAnswers = {Answer::kCancel};
  page->exportFile();
  EXPECT_EQ(host_.dialogs.replaceQuestions, std::vector<std::string>{side});
  EXPECT_EQ(host_.dialogs.questions, std::vector<std::string>{"IDS_WARN_side_stake_file_exists_replace"});
  EXPECT_FALSE(test::fileExists(stakes));
  EXPECT_EQ(test::readFile(side), "kept\r\n");

  // Another name: the file dialog again, and that name's side file is new.
  host_.dialogs.saveNames = {stakes, scratch_.path("other.dat")};
  host_.dialogs.replaceAnswers = {Answer::kChooseAnotherName};
  page->exportFile();
  EXPECT_EQ(host_.dialogs.replaceQuestions.size(), 2u);
  EXPECT_TRUE(test::fileExists(scratch_.path("other_side.dat")));
  EXPECT_FALSE(test::fileExists(stakes));
  EXPECT_EQ(test::readFile(side), "kept\r\n");

  // Replace: both files are written.
  host_.dialogs.saveNames = {stakes};
  host_.dialogs.replaceAnswers = {Answer::kReplace};
  page->exportFile();
  EXPECT_TRUE(test::fileExists(stakes));
  EXPECT_NE(test::readFile(side), "kept\r\n");

  // Without side stakes nothing asks.
  offset = "0";
  host_.dialogs.saveNames = {stakes};
  page->exportFile();
  EXPECT_EQ(host_.dialogs.replaceQuestions.size(), 3u);
  EXPECT_TRUE(host_.dialogs.warnings.empty());
}

TEST_F(RoadFlatViewTest, ElementDialogKinds) {
  CRoadFlatElementNewDlg first(true, false);
  EXPECT_EQ(first.kind->currentIndex(), 0);
  EXPECT_FALSE(first.kind->isEnabled());
  EXPECT_FALSE(first.numbers[2]->isHidden());
  CRoadFlatElementNewDlg second(false, false);
  EXPECT_EQ(second.kind->currentIndex(), 1);
  second.kind->setCurrentIndex(0);  // a start point turns back into a line
  EXPECT_EQ(second.kind->currentIndex(), 1);
  EXPECT_TRUE(second.numbers[1]->isHidden());
  EXPECT_EQ(second.labels[0]->text(), QStringLiteral("IDS_DATA_position:"));
}

TEST_F(RoadFlatViewTest, LineElementDialogInfiniteBoxes) {
  CRoadFlatLineElementNewDlg dlg(host_.dialogs, true);
  EXPECT_TRUE(dlg.azimuth->isEnabled());
  EXPECT_FALSE(dlg.startInfinite->isEnabled());
  dlg.type->setCurrentIndex(2);  // spiral
  EXPECT_TRUE(dlg.startInfinite->isEnabled());
  dlg.startRadius->setText(QStringLiteral("300"));
  dlg.startInfinite->setChecked(true);
  EXPECT_FALSE(dlg.startRadius->isEnabled());
  EXPECT_DOUBLE_EQ(fieldNumber(dlg.startRadius), 0);
  dlg.endInfinite->setChecked(true);
  EXPECT_FALSE(dlg.tryAccept());
  dlg.endInfinite->setChecked(false);
  EXPECT_TRUE(dlg.endRadius->isEnabled());
  dlg.azimuth->setText(QStringLiteral("360.0001"));
  EXPECT_FALSE(dlg.tryAccept());
  EXPECT_EQ(host_.dialogs.warnings, (std::vector<std::string>{"IDS_WARN_same_infinite", "IDS_WARN_angle_error"}));
  CRoadFlatLineElementNewDlg later(host_.dialogs, false);
  EXPECT_FALSE(later.azimuth->isEnabled());
}

TEST_F(RoadFlatViewTest, KeyPointsStakesMapAndAddStakeOnTheCrossPage) {
  CRoadFlatView view(host_);
  CRoadFlatCrossDlg* page = view.crossPage();
  enterCrossPoints(page);
  view.setListMode(1);
  CRecordTableModel* model = page->model();
  ASSERT_GE(model->rowCount(), 5);
  EXPECT_EQ(model->columnCount(), 5);
  EXPECT_EQ(model->data(model->index(0, 1), Qt::DisplayRole).toString(), QStringLiteral("QD"));
  view.setListMode(2);
  EXPECT_EQ(model->columnCount(), 6);  // the stakes with the key points, marked
  EXPECT_EQ(model->data(model->index(0, 2), Qt::DisplayRole).toString(), QStringLiteral("QD"));
  EXPECT_EQ(model->data(model->index(1, 3), Qt::DisplayRole).toString(), QStringLiteral("20.0000"));
  view.setListMode(0);
  EXPECT_EQ(model->columnCount(), 8);
  EXPECT_EQ(model->rowCount(), 3);

  page->showMap();
  EXPECT_EQ(host_.shownFiles, std::vector<std::string>{scratch_.root() + "/road.RP.TDFE"});

  std::string shown;
  page->addStakeDialog = [] { return std::optional<AddStakeChoice>(AddStakeChoice{0, 100, 5}); };
  page->showStakeResult = [&](const std::string& text) { shown = text; };
  page->addStake();
  EXPECT_NE(shown.find("IDS_DATA_coordinate_north"), std::string::npos) << shown;
  EXPECT_EQ(std::count(shown.begin(), shown.end(), '\n'), 2);
  EXPECT_TRUE(host_.dialogs.warnings.empty());
}

TEST_F(RoadFlatViewTest, StakeListHoldsEveryRecordOfTheListFileMarked) {
  CRoadFlatView view(host_);
  CRoadFlatCrossDlg* page = view.crossPage();
  enterCrossPoints(page);
  view.setListMode(2);
  // The list file read line by line: name, x, y, z, mileage, kind.
  std::ifstream in(page->rules().listFilePath());
  ASSERT_TRUE(in.good());
  std::vector<std::vector<QString>> fileRows;
  int keyPoints = 0;
  for (std::string line; std::getline(in, line);) {
    const QStringList f = QString::fromStdString(line).trimmed().split(',');
    ASSERT_GE(f.size(), 6) << line;
    const bool key = f[5] == "0";
    keyPoints += key ? 1 : 0;
    fileRows.push_back({key ? "IDS_DATA_key_point" : "IDS_DATA_regular_stake", key ? f[0] : QString(), f[4], f[1], f[2]});
  }
  EXPECT_GE(keyPoints, 5);  // QD, the curve's points, ZD
  CRecordTableModel* model = page->model();
  ASSERT_EQ(model->rowCount(), static_cast<int>(fileRows.size()));
  ASSERT_EQ(model->columnCount(), 6);
  double previous = -1e300;
  for (int r = 0; r < model->rowCount(); ++r) {
    for (int c = 1; c < 6; ++c)
      EXPECT_EQ(model->index(r, c).data().toString(), fileRows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c - 1)])
          << "row " << r << " column " << c;
    const double m = model->index(r, 3).data().toString().toDouble();
    EXPECT_GE(m, previous - 1e-9) << "station order at row " << r;
    previous = m;
  }
}

TEST_F(RoadFlatViewTest, ListsTakeTheRoadsBrokenChainsAsTheyStand) {
  CRoadFlatView view(host_);
  CRoadFlatCrossDlg* page = view.crossPage();
  enterCrossPoints(page);
  view.setListMode(1);
  const double plain = std::stod(page->rules().stakeRows().back().mileage);
  Scisson_Data chain;  // stored by the broken-chain view after this view opened
  chain.Type = 1;
  chain.Length = 50;
  chain.Before_mileage = 100;
  chain.After_mileage = 150;
  host_.store.scissons = {chain};
  view.setListMode(1);
  EXPECT_NEAR(std::stod(page->rules().stakeRows().back().mileage), plain + 50, 1e-4);
  view.setListMode(2);
  for (const FlatStakeRow& r : page->rules().stakeRows()) {
    const double m = std::stod(r.mileage);
    EXPECT_FALSE(m > 100 + 1e-6 && m < 150 - 1e-6) << m;  // skipped by the short chain
  }
}

TEST_F(RoadFlatViewTest, AfterAFailedCalculationNothingUsesTheEarlierCurve) {
  CRoadFlatView view(host_);
  CRoadFlatCrossDlg* page = view.crossPage();
  enterCrossPoints(page);
  page->showMap();
  ASSERT_EQ(host_.shownFiles.size(), 1u);
  page->selectRow(1);
  page->remove();  // two points are no road
  page->showMap();
  EXPECT_EQ(host_.shownFiles.size(), 1u);
  EXPECT_EQ(host_.dialogs.warnings, std::vector<std::string>{"IDS_WARN_road_load_error"});
  view.setListMode(2);
  EXPECT_EQ(page->model()->rowCount(), 0);
  int asked = 0;
  page->exportDialog = [&](int) -> std::optional<FlatExportRequest> {
    ++asked;
    return std::nullopt;
  };
  page->exportFile();
  EXPECT_EQ(asked, 0);
}

TEST_F(RoadFlatViewTest, StakeResultCopiesItsText) {
  CRoadFlatStakeResultDlg dlg(QStringLiteral("N: 1.0000\nE: 2.0000\nA: 3.00000000 (3.0000000000)"));
  QPushButton* copy = nullptr;
  for (QPushButton* b : dlg.findChildren<QPushButton*>()) {
    if (b->text() == QStringLiteral("IDS_DATA_copy")) copy = b;
  }
  ASSERT_NE(copy, nullptr);
  copy->click();
  EXPECT_EQ(QApplication::clipboard()->text(), dlg.result->toPlainText());
}

TEST_F(RoadFlatViewTest, EachPageSavedAndReopenedGivesTheKeyPointsOfItsCurveFile) {
  CRoadFlatView view(host_);
  std::vector<Road_Element> chain(4);
  chain[0].Type = 1;
  chain[0].point.X = 100;
  chain[1].Type = 2;
  chain[1].Length = 100;
  chain[1].Azimuth = 30;
  chain[2].Type = 3;
  chain[2].Length = 150;
  chain[2].Radius = -400;
  chain[3].Type = 2;
  chain[3].Length = 80;
  std::size_t next = 0;
  view.elementPage()->elementDialog = [&](const Road_Element*, bool) -> std::optional<Road_Element> {
    return chain[next++];
  };
  int step = 0;
  view.lineElementPage()->elementDialog = [&](LineElementFields& f) {
    f.length = 100;
    if (step == 0) f.azimuth = 45;
    if (step == 1) {
      f.type = 1;
      f.startRadius = 600;
      f.direction = 1;
    }
    ++step;
    return true;
  };

  for (int index = 0; index < 3; ++index) {
    CRoadFlatPageBase* p = view.page(index);
    if (index == 0) enterCrossPoints(view.crossPage());
    for (int i = 0; index == 1 && i < 4; ++i) p->add();
    for (int i = 0; index == 2 && i < 3; ++i) p->add();
    ASSERT_TRUE(p->rules().setListMode(1).ok) << index;
    const std::vector<FlatStakeRow> before = p->rules().stakeRows();
    p->rules().setListMode(0);
    p->save();
    const std::string roadFile = scratch_.path("road" + std::to_string(index) + ".REC");
    ASSERT_TRUE(host_.store.writeRoadFile(roadFile));
    host_.store.clear();
    ASSERT_TRUE(host_.store.readRoadFile(roadFile));
    EXPECT_EQ(host_.store.FlatcurveType, index);
    view.reloadFromRoad();
    EXPECT_EQ(view.currentPage(), index);
    ASSERT_TRUE(p->rules().setListMode(1).ok) << index;
    const std::vector<FlatStakeRow>& after = p->rules().stakeRows();
    CRoadDesign cli;  // what trazmark-cli keypoints reads
    ASSERT_TRUE(cli.loadFromCurveFile(p->rules().curveFilePath()));
    ASSERT_EQ(after.size(), cli.keyPoints().size()) << index;
    ASSERT_EQ(after.size(), before.size()) << index;
    ASSERT_GE(after.size(), 4u) << index;
    for (std::size_t i = 0; i < after.size(); ++i) {
      EXPECT_EQ(after[i].name, cli.keyPoints()[i].Name);
      EXPECT_EQ(after[i].name, before[i].name);
      EXPECT_EQ(after[i].north, before[i].north);
      EXPECT_NEAR(std::stod(after[i].north), cli.keyPoints()[i].X, 1e-4);
    }
    p->rules().setListMode(0);
    host_.store.clear();
    view.reloadFromRoad();
  }
}

}  // namespace
}  // namespace trazmark
