// The picture that `trazmark-cli plan` writes is the plan map's own drawing:
// right size, the centre line where the alignment runs, dark on white paper
// by default and red on black with --screen-colours.

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

bool isDark(QRgb p) { return qRed(p) < 80 && qGreen(p) < 80 && qBlue(p) < 80; }

// True when a pixel passing `test` lies within `radius` pixels of (x, y).
template <typename Test>
bool near(const QImage& image, int x, int y, int radius, Test test) {
  for (int dy = -radius; dy <= radius; ++dy)
    for (int dx = -radius; dx <= radius; ++dx) {
      int px = x + dx, py = y + dy;
      if (px >= 0 && py >= 0 && px < image.width() && py < image.height() &&
          test(image.pixel(px, py)))
        return true;
    }
  return false;
}

int run(const std::string& arguments) {
  const std::string command = "'" + kCli + "' " + arguments + " 2>/dev/null";
  return std::system(command.c_str());
}

TEST(PlanCommand, DrawsThePlanOnWhitePaperByDefault) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string rp = dir.filePath("example.RP").toStdString();
  const std::string png = dir.filePath("plan.png").toStdString();
  std::ofstream(rp, std::ios::binary) << kExample;
  ASSERT_EQ(run("plan '" + rp + "' -o '" + png + "' --size 640x480"), 0);
  QImage image(QString::fromStdString(png));
  ASSERT_FALSE(image.isNull());

  CRoadDesign design;
  AlignmentSource source;
  std::string error;
  ASSERT_TRUE(loadAlignmentFile(rp, design, source, error)) << error;
  const std::optional<DrawingSheet> sheet = planSheet(design, QSize(640, 480), TitleBlock{});
  ASSERT_TRUE(sheet.has_value());
  const std::optional<MapView> view = sheetView(*sheet);
  ASSERT_TRUE(view.has_value());
  for (double station = design.startMileage() + 25; station < design.endMileage() - 25;
       station += 100) {
    auto p = design.pointAtStation(station, 0, -1);
    ASSERT_TRUE(p.has_value());
    const ScreenPoint s = view->worldToScreen(p->x, p->y);
    EXPECT_TRUE(near(image, s.x, s.y, 1, isDark)) << "no dark centre line at station " << station;
    EXPECT_FALSE(near(image, s.x, s.y, 3, isRed)) << "the screen's red at station " << station;
  }
  // Away from the road the paper is white.
  const ScreenPoint far = view->worldToScreen(1400, -100);
  EXPECT_EQ(image.pixel(far.x, far.y) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(PlanCommand, ScreenColoursAreAFlagOfTheSheetVerbsOnly) {
  QTemporaryDir dir;
  const std::string rp = dir.filePath("example.RP").toStdString();
  std::ofstream(rp, std::ios::binary) << kExample;
  // The flag takes no value: a following word is the input, not its value.
  EXPECT_EQ(
      run("plan --screen-colours '" + rp + "' -o '" + dir.filePath("a.png").toStdString() + "'"),
      0);
  EXPECT_NE(run("plan '" + rp + "' -o '" + dir.filePath("b.png").toStdString() +
                "' --screen-colours=yes"),
            0);
  // Verbs whose drawings have no screen colours refuse it rather than ignore it.
  for (const char* verb : {"section-sheets", "mass-haul"})
    EXPECT_NE(run(std::string(verb) + " '" + rp + "' -o '" + dir.filePath("c.pdf").toStdString() +
                  "' --screen-colours"),
              0)
        << verb;
}

TEST(PlanCommand, DrawsTheExampleWithItsCentreLineInScreenColours) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const std::string rp = dir.filePath("example.RP").toStdString();
  const std::string png = dir.filePath("plan.png").toStdString();
  std::ofstream(rp, std::ios::binary) << kExample;

  const std::string command =
      "'" + kCli + "' plan '" + rp + "' -o '" + png + "' --size 640x480 --screen-colours";
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
  EXPECT_EQ(image.pixel(far.x, far.y) & 0xFFFFFF, 0u);
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
