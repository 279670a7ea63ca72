// The earthwork list without a window: its rows and totals row, the CSV
// export through the dialog seam, and the worker that computes a table with
// progress and cancel; and the frame's refusal without a road to compute.

#include "shell/EarthworkList.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <future>
#include <iterator>
#include <mutex>
#include <thread>

#include <QCoreApplication>
#include <QProgressBar>
#include <QToolButton>
#include "earthwork/EarthworkTestRoad.h"

#include "platform/qt/RecordTableModel.h"
#include "shell/BottomDockPane.h"
#include "shell/EarthworkPane.h"
#include "shell/MainFrame.h"
#include "support/UiTestSupport.h"

namespace trazmark {
namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// A level road at 102 over flat ground at 100 from 0 to 60: 20 m² of fill
/// at every station.
std::shared_ptr<const EarthworkTable> fillTable() {
  test::StraightRoad road{1000, 102, 3.5};
  const test::TinGround flat = test::planeGround(100);
  EarthworkOptions options;
  options.from = 0;
  options.to = 60;
  auto table = std::make_shared<EarthworkTable>();
  std::string error;
  EXPECT_TRUE(
      earthworkTable(road.road, road.design, road.profile, flat.ground, options, *table, error))
      << error;
  return table;
}

TEST(EarthworkList, RowsThenTotals) {
  CEarthworkList list;
  EXPECT_EQ(list.rowCount(), 0);
  EXPECT_EQ(list.cellText(0, CEarthworkList::kStation), "");
  list.setTable(fillTable());
  ASSERT_EQ(list.rowCount(), 5);  // 0, 20, 40, 60 and the totals
  struct Cell {
    int row, column;
    const char* text;
  };
  const Cell cells[] = {
      {0, CEarthworkList::kStation, "K0+000.000"},
      {0, CEarthworkList::kDistance, "0.000"},
      {0, CEarthworkList::kFillVolume, "0.00"},
      {2, CEarthworkList::kStation, "K0+040.000"},
      {2, CEarthworkList::kFillArea, "20.00"},
      {2, CEarthworkList::kCutArea, "0.00"},
      {2, CEarthworkList::kDistance, "20.000"},
      {2, CEarthworkList::kFillVolume, "400.00"},
      {2, CEarthworkList::kCumFill, "800.00"},
      {2, CEarthworkList::kMass, "-800.00"},
      {2, CEarthworkList::kNote, ""},
      {4, CEarthworkList::kStation, "Total"},
      {4, CEarthworkList::kDistance, "60.000"},
      {4, CEarthworkList::kFillVolume, "1200.00"},
      {4, CEarthworkList::kCutVolume, "0.00"},
      {4, CEarthworkList::kMass, "-1200.00"},
      {4, CEarthworkList::kFillArea, ""},
      {5, CEarthworkList::kStation, ""},
      {1, CEarthworkList::kColumnCount, ""},
  };
  for (const Cell& c : cells)
    EXPECT_EQ(list.cellText(c.row, c.column), c.text) << c.row << "," << c.column;
  EXPECT_TRUE(list.isTotalsRow(4));
  EXPECT_FALSE(list.isTotalsRow(3));
  EXPECT_EQ(list.totalsText(),
            "Cut 0.00 m\xC2\xB3  Fill 1200.00 m\xC2\xB3  Mass -1200.00 m\xC2\xB3");
  EXPECT_EQ(
      list.csvText().rfind(
          "STATION,CUT_AREA,FILL_AREA,DISTANCE,CUT_VOLUME,FILL_VOLUME,CUM_CUT,CUM_FILL,MASS", 0),
      0u);
}

TEST(EarthworkList, CsvExportThroughTheDialogSeam) {
  test::application();
  test::ScratchFolder scratch;
  test::ScriptedDialogs dialogs;
  CEarthworkList list;
  // Nothing computed yet: said so, no dialog.
  EXPECT_FALSE(list.exportCsv(dialogs, scratch.path(""), "r_earthwork.csv"));
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_earthwork_none"});
  EXPECT_TRUE(dialogs.requests.empty());

  list.setTable(fillTable());
  const std::string path = scratch.path("out.csv");
  dialogs.saveNames = {path};
  EXPECT_TRUE(list.exportCsv(dialogs, scratch.path(""), "r_earthwork.csv"));
  EXPECT_EQ(readAll(path), list.csvText());
  ASSERT_EQ(dialogs.requests.size(), 1u);
  EXPECT_EQ(dialogs.requests[0].suggestedName, "r_earthwork.csv");
  EXPECT_EQ(dialogs.requests[0].defaultExtension, "csv");

  // Cancelled: nothing written, nothing said.
  dialogs.warnings.clear();
  EXPECT_FALSE(list.exportCsv(dialogs, "", "r.csv"));
  EXPECT_TRUE(dialogs.warnings.empty());
  // A folder that does not exist: one warning naming the file.
  const std::string bad = scratch.path("missing/out.csv");
  dialogs.saveNames = {bad};
  EXPECT_FALSE(list.exportCsv(dialogs, "", "r.csv"));
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_earthwork_csv_failed"});
  EXPECT_EQ(dialogs.details.back(), bad);
}

TEST(EarthworkList, PreparedOnlyWithAlignmentGradeLineAndGround) {
  test::StraightRoad road{1000, 102, 3.5};
  auto flat = std::make_shared<test::TinGround>(test::planeGround(100));
  const std::shared_ptr<const CRoadGround> ground(flat, &flat->ground);
  EarthworkInputs inputs;
  EXPECT_EQ(prepareEarthwork(road.road, "r", nullptr, 0, inputs),
            "IDS_WARN_earthwork_needs_ground");
  RoadDataSet flatOnly = road.road;
  flatOnly.verticalCurves.clear();
  EXPECT_EQ(prepareEarthwork(flatOnly, "r", ground, 0, inputs),
            "IDS_WARN_station_needs_grade_line");
  EXPECT_EQ(prepareEarthwork(RoadDataSet{}, "r", ground, 0, inputs), "IDS_WARN_station_needs_road");
  ASSERT_EQ(prepareEarthwork(road.road, "r", ground, 0.3, inputs), "");
  EXPECT_TRUE(inputs.options.allowIncomplete);
  EXPECT_DOUBLE_EQ(inputs.options.pavementDepth, 0.3);

  // The worker computes the whole road (0 to 1000 every 20 m).
  CBackgroundJob<EarthworkTable> job;
  std::promise<BackgroundResult<EarthworkTable>> done;
  job.start(earthworkWork(std::make_shared<EarthworkInputs>(inputs)),
            [&done](BackgroundResult<EarthworkTable> r) { done.set_value(std::move(r)); });
  const BackgroundResult<EarthworkTable> result = done.get_future().get();
  job.wait();
  ASSERT_TRUE(result.value) << result.error;
  EXPECT_EQ(result.value->rows.size(), 51u);
  EXPECT_DOUBLE_EQ(job.progress(), 1.0);
  EXPECT_FALSE(job.running());
}

TEST(EarthworkSheets, WrittenByTheWorkerWithProgressAndCancel) {
  test::application();
  test::ScratchFolder scratch;
  test::StraightRoad road{200, 102, 3.5};
  auto flat = std::make_shared<test::TinGround>(test::planeGround(100));
  auto inputs = std::make_shared<EarthworkInputs>();
  ASSERT_EQ(prepareEarthwork(road.road, "r",
                             std::shared_ptr<const CRoadGround>(flat, &flat->ground), 0, *inputs),
            "");
  std::vector<double> shares;
  std::vector<std::string> written;
  std::string error;
  const auto work = sectionSheetsWork(inputs, scratch.path("s.svg"), "r", {});
  ASSERT_TRUE(work(written, error, [&shares](double share) {
    shares.push_back(share);
    return true;
  })) << error;
  // 11 stations, 8 a page: two SVG files.
  EXPECT_EQ(written,
            (std::vector<std::string>{scratch.path("s-001.svg"), scratch.path("s-002.svg")}));
  ASSERT_FALSE(shares.empty());
  EXPECT_TRUE(std::is_sorted(shares.begin(), shares.end()));
  EXPECT_DOUBLE_EQ(shares.back(), 1.0);
  // Cancelled once the pages begin: no page written.
  written.clear();
  EXPECT_FALSE(work(written, error, [](double share) { return share < 0.3; }));
  EXPECT_TRUE(written.empty());
}

TEST(BackgroundJob, CancelAndSupersede) {
  CBackgroundJob<int> job;
  std::atomic<bool> started{false};
  // Work that runs until it is told to stop.
  auto endless = [&started](int&, std::string&, const CBackgroundJob<int>::Progress& progress) {
    started = true;
    for (double share = 0;; share = std::min(0.99, share + 0.01)) {
      if (!progress(share)) return false;
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
  };
  std::vector<BackgroundResult<int>> results;
  std::mutex mutex;
  auto record = [&](BackgroundResult<int> r) {
    std::lock_guard<std::mutex> lock(mutex);
    results.push_back(std::move(r));
  };
  const std::uint64_t first = job.start(endless, record);
  while (!started) std::this_thread::yield();
  EXPECT_TRUE(job.running());
  job.cancel();
  job.wait();
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].number, first);
  EXPECT_TRUE(results[0].cancelled);
  EXPECT_FALSE(results[0].value);
  EXPECT_FALSE(job.running());

  // A job replaced by a newer one says nothing; the newer one's value comes.
  started = false;
  job.start(endless, record);
  while (!started) std::this_thread::yield();
  const std::uint64_t second = job.start(
      [](int& value, std::string&, const CBackgroundJob<int>::Progress&) {
        value = 42;
        return true;
      },
      record);
  job.wait();
  ASSERT_EQ(results.size(), 2u);
  EXPECT_EQ(results[1].number, second);
  ASSERT_TRUE(results[1].value);
  EXPECT_EQ(*results[1].value, 42);
  // A failure carries its line.
  job.start(
      [](int&, std::string& error, const CBackgroundJob<int>::Progress&) {
        error = "station 1.000 left: no ground";
        return false;
      },
      record);
  job.wait();
  ASSERT_EQ(results.size(), 3u);
  EXPECT_EQ(results[2].error, "station 1.000 left: no ground");
  EXPECT_FALSE(results[2].cancelled);
}

}  // namespace
}  // namespace trazmark

namespace trazmark {
namespace {

// The frame computes the earthwork of the road it has open over its ground,
// on the worker, and hands the table to the list and the mass-haul map.
TEST(EarthworkFrame, ComputedOnTheWorkerAndHandedToListAndDiagram) {
  test::application();
  test::ScratchFolder scratch;
  test::ScriptedDialogs dialogs;
  for (const char* name : {"terrain-demo.REC", "terrain-demo.REC.ground", "terrain-demo.csv"}) {
    std::ifstream in(std::string(TRAZMARK_SOURCE_DIR "/docs/demo/") + name, std::ios::binary);
    std::ofstream(scratch.path(name), std::ios::binary) << in.rdbuf();
  }
  CMainFrame frame(&dialogs);
  // Nothing open: nothing to compute, said once.
  frame.computeEarthwork();
  EXPECT_EQ(dialogs.warnings, std::vector<std::string>{"IDS_WARN_station_needs_road"});
  EXPECT_FALSE(frame.earthworkProgress()->isVisibleTo(&frame));

  dialogs.warnings.clear();
  dialogs.openNames.push_back(scratch.path("terrain-demo.REC"));
  frame.commands().openRoad();
  frame.groundLoader().wait();
  QCoreApplication::processEvents();
  ASSERT_TRUE(frame.ground());
  frame.computeEarthwork();
  EXPECT_TRUE(frame.earthworkProgress()->isVisibleTo(&frame));
  EXPECT_TRUE(frame.earthworkCancelButton()->isVisibleTo(&frame));
  frame.earthworkJob().wait();
  QCoreApplication::processEvents();
  EXPECT_TRUE(dialogs.warnings.empty());
  EXPECT_FALSE(frame.earthworkProgress()->isVisibleTo(&frame));
  const CEarthworkList& list = frame.earthworkPane()->list();
  // K0+000 to K1+637.991 every 20 m, the last station and the transitions.
  ASSERT_GT(list.rowCount(), 83);
  EXPECT_EQ(list.cellText(list.rowCount() - 1, CEarthworkList::kDistance), "1637.991");
  EXPECT_EQ(frame.earthworkPane()->model()->rowCount(), list.rowCount());
  EXPECT_TRUE(frame.drawingPane()->map(kMassHaulMap).hasDrawing());
  // The pond leaves some stations a side without ground: noted, not failed.
  bool noted = false;
  for (int row = 0; row + 1 < list.rowCount(); ++row)
    noted = noted || !list.cellText(row, CEarthworkList::kNote).empty();
  EXPECT_TRUE(noted);

  // The mass-haul diagram is shown at once now that there is a table.
  frame.showMassHaul();
  EXPECT_TRUE(frame.drawingPane()->isMapShown(kMassHaulMap));

  // Export writes what the list holds.
  dialogs.saveNames.push_back(scratch.path("list.csv"));
  frame.exportEarthworkCsv();
  EXPECT_EQ(readAll(scratch.path("list.csv")), list.csvText());
  EXPECT_EQ(dialogs.requests.back().suggestedName, "terrain-demo_earthwork.csv");

  // The sheets: a file asked for, written on the worker, said where.
  dialogs.saveNames.push_back(scratch.path("sheets.pdf"));
  frame.exportSectionSheets();
  EXPECT_TRUE(frame.earthworkProgress()->isVisibleTo(&frame));
  frame.sheetsJob().wait();
  QCoreApplication::processEvents();
  EXPECT_FALSE(frame.earthworkProgress()->isVisibleTo(&frame));
  EXPECT_EQ(dialogs.informations, std::vector<std::string>{"IDS_DATA_sheets_written"});
  EXPECT_EQ(dialogs.details.back(), scratch.path("sheets.pdf"));
  EXPECT_EQ(readAll(scratch.path("sheets.pdf")).rfind("%PDF", 0), 0u);
  EXPECT_EQ(dialogs.requests.back().suggestedName, "terrain-demo_sections.pdf");
  // A cancelled file dialog starts nothing.
  frame.exportSectionSheets();
  EXPECT_FALSE(frame.sheetsJob().running());

  // Another ground (here: none) leaves no table of the old one behind.
  frame.clearTerrain();
  frame.groundLoader().wait();
  QCoreApplication::processEvents();
  EXPECT_EQ(frame.earthworkPane()->list().rowCount(), 0);
  EXPECT_FALSE(frame.drawingPane()->map(kMassHaulMap).hasDrawing());
}

}  // namespace
}  // namespace trazmark
