#include "maps/MapManage.h"

#include <gtest/gtest.h>

#include <cmath>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QTemporaryDir>

#include "maps/MapDecorations.h"
#include "maps/MapSettingsFile.h"

namespace trazmark {
namespace {

TEST(ScaleBar, LabelFormatsByLength) {
  // The bar is a round length, so its label needs no rounding of its own.
  struct Case {
    double scale;  // metres per pixel
    const char* label;
  } cases[] = {{0.01, "1 m"},  {0.004, "0.5 m"}, {1.0 / 60, "1 m"}, {0.05, "5 m"},
               {1, "100 m"},   {2000, "200000 m"}};
  MapView v;
  v.setClientRect({0, 0, 640, 480});
  for (const Case& c : cases) {
    v.commitTarget({0, 0, c.scale});
    EXPECT_EQ(roundScaleBar(v, kScaleBarLeastPixels).label, c.label) << c.scale;
  }
}

TEST(ScaleBar, ShowsTheWorldLengthOfItsPixels) {
  MapView v;
  v.setClientRect({0, 0, 640, 480});
  v.commitView(3.4e6, 5.1e5, 0.25);  // survey coordinates far from the origin
  const ScaleBar bar = roundScaleBar(v, kScaleBarLeastPixels);
  EXPECT_DOUBLE_EQ(bar.metres, 20.0);  // 60 px hold 15 m: the next round length
  EXPECT_DOUBLE_EQ(bar.pixels, 80.0);
  EXPECT_EQ(bar.label, "20 m");
}

TEST(MapSettings, TextAndFileInTheChosenFolder) {
  MapViewParams p;
  p.background = kColourBlack;
  EXPECT_EQ(mapSettingsText(p),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<HEAD>\r\n<MapConfig>\r\n"
            "<Ver>1.0.1.1</Ver>\r\n<StartCor>\r\n<Coorx>0.0000</Coorx>\r\n<Coory>0.0000</Coory>\r\n"
            "<Coorh>0.0000</Coorh>\r\n</StartCor>\r\n<Scale>1.00000000</Scale>\r\n"
            "<BackGround>0</BackGround>\r\n</MapConfig>\r\n</HEAD>\r\n");
  p.centreX = 1234.56789;
  p.scale = 0.123456789;
  p.background = kColourWhite;
  const std::string text = mapSettingsText(p);
  EXPECT_NE(text.find("<Coorx>1234.5679</Coorx>"), std::string::npos);
  EXPECT_NE(text.find("<Scale>0.12345679</Scale>"), std::string::npos);
  EXPECT_NE(text.find("<BackGround>16777215</BackGround>"), std::string::npos);

  QTemporaryDir dir;
  p.settingsFolder = (dir.path() + "/sub").toStdString();
  EXPECT_EQ(mapSettingsPath(p), p.settingsFolder + "/MapConvert.cfg");
  ASSERT_TRUE(writeMapSettings(p));
  QFile file(QString::fromStdString(mapSettingsPath(p)));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll().toStdString(), text);

  // The default folder is the user's configuration folder, never the program's.
  EXPECT_NE(defaultMapSettingsFolder().find("trazmark"), std::string::npos);
  EXPECT_NE(QString::fromStdString(defaultMapSettingsFolder()), QCoreApplication::applicationDirPath());
}

TEST(MapManage, CommitsWriteTheSettingsFile) {
  QTemporaryDir dir;
  CMapManage m;
  m.setSettingsFolder(dir.path().toStdString());
  m.setClientRect({0, 0, 200, 100});
  const QString path = dir.path() + "/MapConvert.cfg";
  EXPECT_FALSE(QFile::exists(path));
  m.pan(0, 0, 0, 10);
  ASSERT_TRUE(QFile::exists(path));
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_TRUE(file.readAll().contains("<Coorx>10.0000</Coorx>"));
}

TEST(RubberBand, DrawingTwiceLeavesNoTrace) {
  QImage image(64, 48, QImage::Format_RGB32);
  image.fill(Qt::black);
  {
    QPainter p(&image);
    p.fillRect(10, 10, 30, 20, QColor(10, 200, 90));
  }
  const QImage before = image.copy();
  const std::vector<QPoint> band = {{5, 5}, {50, 5}, {50, 40}, {5, 40}, {5, 5}};
  drawRubberBand(image, band);
  EXPECT_NE(image, before);
  // NOT-XOR of the red pen on black gives cyan, dotted along the band.
  int cyan = 0;
  for (int x = 5; x <= 50; ++x) cyan += (image.pixel(x, 5) & 0xFFFFFF) == 0x00FFFFu;
  EXPECT_GT(cyan, 10);
  EXPECT_LT(cyan, 40);
  drawRubberBand(image, band);
  EXPECT_EQ(image, before);
}

/// A manager without a window, its back buffer composed once.
class ManagerFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    m.setSettingsFolder(dir.path().toStdString());
    m.setClientRect({0, 0, 200, 100});
    m.present();
    m.finishFrame();
  }
  QTemporaryDir dir;
  CMapManage m;
};

TEST_F(ManagerFixture, ZoomDragShowsARubberBandAndZoomsOnRelease) {
  m.setTool(kToolZoomIn);
  const QImage clean = m.windowFrame().copy();
  m.onLeftButtonDown({20, 20});
  m.onMouseMove({60, 50});
  EXPECT_NE(m.windowFrame(), clean);
  EXPECT_EQ(m.currentListener()->rubberBand().size(), 5u);
  m.onMouseMove({100, 80});  // the first band is erased, the second drawn
  m.onMouseMove({60, 50});
  m.onMouseMove({100, 80});
  const WorldPoint mid = m.screenToWorld(60, 50);
  m.onLeftButtonUp({100, 80});
  EXPECT_EQ(m.windowFrame(), clean);  // the band is gone with the drag
  EXPECT_FALSE(m.currentListener()->dragging());
  EXPECT_DOUBLE_EQ(m.params().scale, std::max(80 / 200.0, 60 / 100.0) * 1.1);
  EXPECT_NEAR(m.params().centreX, mid.x, 1e-9);
  EXPECT_NEAR(m.params().centreY, mid.y, 1e-9);
  EXPECT_EQ(m.tool(), kToolZoomIn);  // the tool stays selected
}

TEST_F(ManagerFixture, MoveDragKeepsItsDirection) {
  m.setTool(kToolMove);
  m.onLeftButtonDown({150, 80});
  m.onMouseMove({100, 30});
  EXPECT_EQ(m.currentListener()->rubberBand().size(), 2u);
  m.onLeftButtonUp({100, 30});  // dragged up and to the left
  EXPECT_DOUBLE_EQ(m.params().centreX, -50);  // the map follows: south comes into view
  EXPECT_DOUBLE_EQ(m.params().centreY, 50);
}

TEST_F(ManagerFixture, ToolNoneAndClicksWithoutDrag) {
  m.onLeftButtonDown({10, 10});
  m.onMouseMove({90, 90});
  m.onLeftButtonUp({90, 90});
  EXPECT_DOUBLE_EQ(m.params().scale, 1.0);  // tool 0 does nothing
  m.setTool(kToolZoomOut);
  m.onLeftButtonDown({100, 50});
  m.onLeftButtonUp({100, 50});
  EXPECT_DOUBLE_EQ(m.params().scale, 1.1);
  m.onLeftButtonUp({100, 50});  // a release without a press is ignored
  EXPECT_DOUBLE_EQ(m.params().scale, 1.1);
}

TEST_F(ManagerFixture, ViewCommandsAndWheel) {
  EXPECT_TRUE(m.runViewCommand(kCommandZoomIn));
  EXPECT_EQ(m.tool(), kToolZoomIn);
  EXPECT_DOUBLE_EQ(m.params().scale, 0.88);
  EXPECT_TRUE(m.runViewCommand(kCommandZoomOut));
  EXPECT_EQ(m.tool(), kToolZoomOut);
  EXPECT_NEAR(m.params().scale, 0.968, 1e-12);
  EXPECT_TRUE(m.runViewCommand(kCommandMove));
  EXPECT_EQ(m.tool(), kToolMove);
  EXPECT_NEAR(m.params().scale, 0.968, 1e-12);
  EXPECT_TRUE(m.runViewCommand(kCommandFullExtent, WorldBox{0, 0, 90, 90}));
  EXPECT_DOUBLE_EQ(m.params().scale, 1.0);
  EXPECT_EQ(m.tool(), kToolMove);
  EXPECT_FALSE(m.runViewCommand(7));
  EXPECT_EQ(m.currentListenerKey(), kViewListenerKey);

  const WorldPoint under = m.screenToWorld(30, 70);
  m.onWheel({30, 70}, 120);
  EXPECT_DOUBLE_EQ(m.params().scale, 0.88);
  const WorldPoint still = m.screenToWorld(30, 70);
  EXPECT_NEAR(still.x, under.x, 1e-9);
  EXPECT_NEAR(still.y, under.y, 1e-9);
  m.onWheel({30, 70}, 0);
  EXPECT_NEAR(m.params().scale, 0.968, 1e-12);
  EXPECT_EQ(m.tool(), kToolMove);
}

TEST_F(ManagerFixture, PresentDrawsBackgroundArrowAndScaleBar) {
  m.setBackground(kColourBlack);
  QImage& frame = m.present();
  ASSERT_EQ(frame.size(), QSize(200, 100));
  EXPECT_EQ(frame.pixel(100, 10) & 0xFFFFFF, 0u);            // background
  EXPECT_EQ(frame.pixel(15, 100 - 40) & 0xFFFFFF, 0xFFFFFFu);  // north shaft
  EXPECT_EQ(frame.pixel(40, 100 - 15) & 0xFFFFFF, 0xFFFFFFu);  // east shaft
  EXPECT_EQ(frame.pixel(200 - 40, 100 - 12) & 0xFFFFFF, 0xFFFFFFu);  // scale bar
  // Its left tick, as far left as its round length reaches.
  const int left = 200 - 10 - static_cast<int>(std::lround(roundScaleBar(m.view(), kScaleBarLeastPixels).pixels));
  EXPECT_EQ(frame.pixel(left, 100 - 10) & 0xFFFFFF, 0xFFFFFFu);
}

}  // namespace
}  // namespace trazmark
