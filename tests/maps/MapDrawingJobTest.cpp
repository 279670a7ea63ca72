// The drawing thread of a map manager: the preview shown before a redraw, a
// storm of view changes from the window thread while it draws, and the
// destruction of a manager in the middle of a drawing.

#include <gtest/gtest.h>

#include <QPainter>
#include <QTemporaryDir>
#include <QWidget>
#include <atomic>
#include <chrono>
#include <thread>

#include "maps/MapManage.h"

namespace trazmark {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

/// Draws a white 3 x 3 dot at world (0, 0); can be held at its next drawing.
class DotLayer : public CMapLayer {
 public:
  explicit DotLayer(std::shared_ptr<std::atomic<bool>> destroyed) : destroyed_(std::move(destroyed)) {}
  ~DotLayer() override { destroyed_->store(true); }

  void draw(QPainter& painter, const MapView& view, int32_t) override {
    drawing.store(true);
    const auto until = Clock::now() + std::chrono::milliseconds(delayMs.load());
    while (Clock::now() < until || held.load()) std::this_thread::sleep_for(1ms);
    const ScreenPoint p = view.worldToScreen(0, 0);
    painter.fillRect(p.x - 1, p.y - 1, 3, 3, Qt::white);
    draws.fetch_add(1);
    drawing.store(false);
  }
  std::optional<WorldBox> extent() const override { return WorldBox{-10, -20, 10, 20}; }

  std::atomic<int> draws{0};
  std::atomic<int> delayMs{0};
  std::atomic<bool> held{false};
  std::atomic<bool> drawing{false};

 private:
  std::shared_ptr<std::atomic<bool>> destroyed_;
};

template <class Predicate>
bool waitUntil(Predicate done, std::chrono::milliseconds limit = 5000ms) {
  const auto until = Clock::now() + limit;
  while (!done()) {
    if (Clock::now() > until) return false;
    std::this_thread::sleep_for(1ms);
  }
  return true;
}

bool isWhite(const std::shared_ptr<const QImage>& cache, int x, int y) {
  if (!cache) return false;
  const QImage& image = *cache;
  return x >= 0 && y >= 0 && x < image.width() && y < image.height() &&
         (image.pixel(x, y) & 0xFFFFFF) == 0xFFFFFFu;
}

class DrawingThread : public ::testing::Test {
 protected:
  void SetUp() override {
    manager = std::make_unique<CMapManage>(&window);
    manager->setSettingsFolder(dir.path().toStdString());
    manager->setBackground(kColourBlack);
    layer = std::make_shared<DotLayer>(layerDestroyed);
    manager->setLayers({layer}, {});
  }
  void TearDown() override { manager.reset(); }

  QTemporaryDir dir;
  QWidget window;
  std::unique_ptr<CMapManage> manager;
  std::shared_ptr<std::atomic<bool>> layerDestroyed = std::make_shared<std::atomic<bool>>(false);
  std::shared_ptr<DotLayer> layer;
};

TEST_F(DrawingThread, MoveShowsTheShiftedImageBeforeTheRedraw) {
  manager->setClientRect({0, 0, 200, 100});
  ASSERT_TRUE(waitUntil([&] { return manager->drawingJob().cacheReady(); }));
  EXPECT_TRUE(isWhite(manager->drawingJob().cache(), 100, 50));

  layer->held.store(true);
  manager->pan(100, 50, 110, 47);
  const auto preview = manager->drawingJob().cache();
  EXPECT_TRUE(isWhite(preview, 110, 47));
  EXPECT_FALSE(isWhite(preview, 100, 50));
  EXPECT_FALSE(isWhite(preview, 5, 5));  // uncovered parts take the background

  // A zoom stretches it: a click at the dot keeps the dot where it is.
  manager->zoomIn(1100, 470, 1100, 470);
  EXPECT_TRUE(isWhite(manager->drawingJob().cache(), 110, 47));
  EXPECT_FALSE(isWhite(manager->drawingJob().cache(), 100, 50));

  const uint64_t before = manager->drawingJob().finishedDrawings();
  layer->held.store(false);
  ASSERT_TRUE(waitUntil([&] { return manager->drawingJob().finishedDrawings() > before; }));
  EXPECT_TRUE(isWhite(manager->drawingJob().cache(), 110, 47));
}

TEST_F(DrawingThread, ClearedCacheGoesAtOnceAndADrawingUnderWayIsDropped) {
  manager->setClientRect({0, 0, 200, 100});
  ASSERT_TRUE(waitUntil([&] { return manager->drawingJob().cacheReady(); }));
  // Another road: the old image must not be shown, nor the one being drawn
  // of the old layers when it comes in.
  layer->held.store(true);
  manager->drawingJob().wake();
  ASSERT_TRUE(waitUntil([&] { return layer->drawing.load(); }));
  manager->setLayers({}, {});
  manager->clearCache();
  EXPECT_EQ(manager->drawingJob().cache(), nullptr);
  layer->held.store(false);
  ASSERT_TRUE(waitUntil([&] { return manager->drawingJob().cacheReady(); }));
  EXPECT_FALSE(isWhite(manager->drawingJob().cache(), 100, 50));
}

TEST_F(DrawingThread, StormOfViewChangesThenDestructionMidDraw) {
  manager->setClientRect({0, 0, 300, 200});
  layer->delayMs.store(2);
  for (int i = 0; i < 400; ++i) {
    switch (i % 5) {
      case 0:
        manager->setClientRect({0, 0, 300 + i % 37, 200 + i % 23});
        break;
      case 1:
        manager->zoomIn(1500, 1000, 1500, 1000);
        break;
      case 2:
        manager->zoomOut(150, 100, 150, 100);
        break;
      case 3:
        manager->pan(10, 10, 10 + i % 7, 10 - i % 5);
        break;
      default:
        manager->drawingJob().wake();
        (void)manager->present();
        break;
    }
    if (i % 50 == 0) std::this_thread::sleep_for(3ms);
  }
  // The last view is drawn in full: the image has the window's size and the
  // dot sits where the view puts world (0, 0).
  ASSERT_TRUE(manager->fullExtent());
  const ClientRect rect = manager->params().clientRect;
  const ScreenPoint dot = manager->worldToScreen(0, 0);
  const uint64_t before = manager->drawingJob().finishedDrawings();
  ASSERT_TRUE(waitUntil([&] { return manager->drawingJob().finishedDrawings() > before; }));
  const auto cache = manager->drawingJob().cache();
  ASSERT_TRUE(cache);
  EXPECT_EQ(cache->size(), QSize(rect.width(), rect.height()));
  EXPECT_TRUE(isWhite(cache, dot.x, dot.y));
  EXPECT_GT(layer->draws.load(), 1);

  // Destruction while a drawing takes longer than the stop waits: the manager
  // goes after about a second, the thread ends once the layer returns, and
  // nothing it touches has been freed.
  layer->delayMs.store(1600);
  manager->pan(0, 0, 3, 3);
  ASSERT_TRUE(waitUntil([&] { return layer->drawing.load(); }));
  const auto start = Clock::now();
  manager.reset();
  const auto took = Clock::now() - start;
  EXPECT_GE(took, 900ms);
  EXPECT_LT(took, 1500ms);
  layer.reset();
  EXPECT_FALSE(layerDestroyed->load());  // the thread still holds it
  EXPECT_TRUE(waitUntil([&] { return layerDestroyed->load(); }));
}

TEST_F(DrawingThread, NoWindowNoThreadAndQuickStopWhenIdle) {
  CMapManage windowless;
  windowless.setClientRect({0, 0, 50, 50});
  EXPECT_FALSE(windowless.drawingJob().running());
  EXPECT_TRUE(windowless.drawingJob().stop());

  manager->setClientRect({0, 0, 50, 50});
  ASSERT_TRUE(waitUntil([&] { return manager->drawingJob().cacheReady(); }));
  const auto start = Clock::now();
  EXPECT_TRUE(manager->drawingJob().stop());
  EXPECT_LT(Clock::now() - start, 500ms);
}

}  // namespace
}  // namespace trazmark
