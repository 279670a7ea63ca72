// The picture that `trazmark-cli plan` writes is the plan map's own drawing:
// right size, and the red centre line where the alignment runs.

#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>
#include <cstdlib>
#include <fstream>
#include <string>

#include "alignment/RoadDesign.h"
#include "editors/AlignmentLoader.h"
#include "maps/DrawingExport.h"
#include "maps/MapView.h"
#include "maps/PlanDrawing.h"

namespace trazmark {
namespace {

const std::string kCli = TRAZMARK_BINARY_DIR "/src/cli/trazmark-cli";

// The intersection-point example: a right turn of about 50 degrees with R 300
// and 80 m spirals on both sides.
const char* kExample =
    "ROADNAME:example,\r\n"
    "CROSSPT :JD0,0,0,0,,0,0,0,0,\r\n"
    "CROSSPT :JD1,1000,0,0,,80,300,80,0,\r\n"
    "CROSSPT :JD2,1500,600,0,,0,0,0,0,\r\n";

bool isRed(QRgb p) { return qRed(p) > 200 && qGreen(p) < 80 && qBlue(p) < 80; }

// True when a red pixel lies within `radius` pixels of (x, y).
bool redNear(const QImage& image, int x, int y, int radius) {
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx) {
      int px = x + dx, py = y + dy;
      if (px >= 0 && py >= 0 && px < image.width() && py < image.height() &&
          isRed(image.pixel(px, py)))
        return true;
    }
  return false;
}

TEST(PlanCommand, DrawsTheExampleWithItsCentreLine) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string rp = dir.filePath("example.RP").toStdString();
  const std::string png = dir.filePath("plan.png").toStdString();
  std::ofstream(rp, std::ios::binary) << kExample;

  const std::string command = "'" + kCli + "' plan '" + rp + "' -o '" + png + "' --size 640x480";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
  QImage image(QString::fromStdString(png));
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), 640);
  EXPECT_EQ(image.height(), 480);

  // The same view as the picture's, to find where each station must be.
  CRoadDesign design;
  AlignmentSource source;
  std::string error;
  ASSERT_TRUE(loadAlignmentFile(rp, design, source, error)) << error;
  // The drawing's view: the map above the title block at a standard scale.
  const std::optional<DrawingSheet> sheet = planSheet(design, QSize(640, 480), TitleBlock{});
  ASSERT_TRUE(sheet.has_value());
  const std::optional<MapView> sheetMap = sheetView(*sheet);
  ASSERT_TRUE(sheetMap.has_value());
  const MapView& view = *sheetMap;

  int checked = 0;
  for (double station = design.startMileage() + 25; station < design.endMileage() - 25;
       station += 50) {
    auto p = design.pointAtStation(station, 0, -1);
    ASSERT_TRUE(p.has_value());
    ScreenPoint s = view.worldToScreen(p->x, p->y);
    EXPECT_TRUE(redNear(image, s.x, s.y, 1)) << "no centre line at station " << station;
    ++checked;
  }
  EXPECT_GT(checked, 20);
  // Away from the road the map stays black: the corner opposite the curve.
  ScreenPoint far = view.worldToScreen(1400, -100);
  EXPECT_FALSE(redNear(image, far.x, far.y, 3));
}

TEST(PlanCommand, RefusesBadSizesAndMissingFiles) {
  QTemporaryDir dir;
  const std::string png = dir.filePath("plan.png").toStdString();
  const std::string missing = "'" + kCli + "' plan /nonexistent.RP -o '" + png + "' 2>/dev/null";
  EXPECT_NE(std::system(missing.c_str()), 0);
  const std::string rp = dir.filePath("example.RP").toStdString();
  std::ofstream(rp, std::ios::binary) << kExample;
  const std::string badSize =
      "'" + kCli + "' plan '" + rp + "' -o '" + png + "' --size 10x 2>/dev/null";
  EXPECT_NE(std::system(badSize.c_str()), 0);
}

}  // namespace
}  // namespace trazmark
