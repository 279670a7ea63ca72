// The stake list of a 100 km road in the horizontal alignment view: the list
// file read and shown through the page's table model, at 1 m (100,000 rows,
// the list's cap; target at most 1 s) and at 20 m (5,000 rows; target at most
// 100 ms); and the whole switch to the stake list at 20 m (calculation, list
// file, model) for comparison; and one scroll step of the 1 m list with its
// repaint (smooth scrolling: well under a 16 ms frame).

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QScrollBar>
#include <QTableView>
#include <filesystem>

#include "editors/qt/RoadFlatPages.h"
#include "library/InputRoadLibrary.h"
#include "platform/qt/UserDialogs.h"

namespace {

using namespace trazmark;

class NoDialogs : public UserDialogs {
 public:
  void warning(const std::string&) override {}
  void information(const std::string&) override {}
  bool questionOkCancel(const std::string&) override { return false; }
  bool questionYesNo(const std::string&) override { return false; }
  std::string openFileName(const FileRequest&) override { return {}; }
  std::string saveFileName(const FileRequest&) override { return {}; }
};

class Host : public CDataViewHost {
 public:
  CInputRoadLibrary store;
  NoDialogs dialogs;
  RoadFileState state;
  CInputRoadLibrary& roadLibrary() override { return store; }
  UserDialogs& userDialogs() override { return dialogs; }
  const RoadFileState& roadFileState() const override { return state; }
  void setRoadModified() override {}
  void showAlignmentFile(const std::string&) override {}
  void showProfileFile(const std::string&) override {}
  void showCrossSection() override {}
};

QApplication& app() {
  static int argc = 1;
  static char name[] = "bench_ui_flatview";
  static char* argv[] = {name, nullptr};
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication* a = new QApplication(argc, argv);
  return *a;
}

/// The element page of a meandering 100 km road (straight, spiral, arc,
/// spiral groups of 290 m turning right and left in turn), calculated once.
struct Fixture {
  std::filesystem::path folder;
  Host host;
  CRoadFlatElementDlg* page = nullptr;
  std::string list1m;
  std::string list20m;

  Fixture() {
    app();
    folder = std::filesystem::temp_directory_path() / ("trazmark-bench-flat-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    host.state.roadFolder = folder.string();
    host.state.roadTitle = "road100km";
    RecordList<Road_Element>& e = host.store.elements;
    Road_Element start;
    start.Type = 1;
    start.point.X = 3'500'000;
    start.point.Y = 500'000;
    e.append(start);
    for (int group = 0; group * 290 < 100'000; ++group) {
      Road_Element line;
      line.Type = 2;
      line.Length = 150;
      line.Azimuth = group == 0 ? 45 : 0;
      e.append(line);
      Road_Element spiral;
      spiral.Type = 4;
      spiral.Length = 40;
      e.append(spiral);
      Road_Element arc;
      arc.Type = 3;
      arc.Length = 60;
      arc.Radius = group % 2 == 0 ? 600 : -600;
      e.append(arc);
      e.append(spiral);
    }
    Road_Element last;
    last.Type = 2;
    last.Length = 100;
    e.append(last);
    page = new CRoadFlatElementDlg(host);
    page->reloadFromRoad();
    page->rules().setListMode(CFlatPage::kListStakes);  // calculates and loads the curve file
    list1m = (folder / "stakes1m.txt").string();
    list20m = (folder / "stakes20m.txt").string();
    page->rules().engine().writeStakeList(list1m, 0, 1.0, 0.0);
    page->rules().engine().writeStakeList(list20m, 0, 20.0, 0.0);
  }
  ~Fixture() { std::filesystem::remove_all(folder); }
};

Fixture& fixture() {
  static Fixture f;
  return f;
}

void loadIntoView(benchmark::State& state, const std::string& path) {
  Fixture& f = fixture();
  for (auto _ : state) {
    f.page->rules().loadListFile(path, 2);
    f.page->refreshList();
    benchmark::DoNotOptimize(f.page->model()->rowCount());
  }
  state.counters["rows"] = f.page->model()->rowCount();
}

void BM_StakeList1mInView(benchmark::State& state) { loadIntoView(state, fixture().list1m); }
void BM_StakeList20mInView(benchmark::State& state) { loadIntoView(state, fixture().list20m); }

void BM_SwitchToStakeList20m(benchmark::State& state) {
  Fixture& f = fixture();
  for (auto _ : state) {
    f.page->setListMode(CFlatPage::kListInput);
    f.page->setListMode(CFlatPage::kListStakes);
  }
  state.counters["rows"] = f.page->model()->rowCount();
}

// One scroll step of the 100,000-row list: the table moves to another place
// and paints its viewport (a frame while the user drags the scroll bar).
void BM_ScrollStakeList1m(benchmark::State& state) {
  Fixture& f = fixture();
  f.page->rules().loadListFile(f.list1m, 2);
  f.page->refreshList();
  QTableView* table = f.page->table();
  f.page->resize(900, 500);
  f.page->show();
  QScrollBar* bar = table->verticalScrollBar();
  int step = 0;
  for (auto _ : state) {
    bar->setValue((step++ * 7919) % (bar->maximum() + 1));
    QImage image(table->viewport()->size(), QImage::Format_ARGB32);
    table->viewport()->render(&image);
    benchmark::DoNotOptimize(image.bits());
  }
}

BENCHMARK(BM_StakeList1mInView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StakeList20mInView)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SwitchToStakeList20m)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScrollStakeList1m)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
