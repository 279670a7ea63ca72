// `trazmark-cli section-sheets` and `mass-haul` on the demo road with a
// terrain and side slopes: the files they write, and the bad input each
// refuses with one line and no file.

#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

namespace trazmark {
namespace {

const std::string kCli = TRAZMARK_BINARY_DIR "/src/cli/trazmark-cli";
const std::string kRoad = TRAZMARK_SOURCE_DIR "/docs/demo/terrain-demo.REC";

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class EarthworkDrawingsCli : public ::testing::Test {
 protected:
  /// Runs the tool; its standard output and error are kept.
  int run(const std::string& arguments) {
    const int status = std::system(
        ("'" + kCli + "' " + arguments + " >'" + path("out.txt") + "' 2>'" + path("err.txt") + "'")
            .c_str());
    out = readAll(path("out.txt"));
    err = readAll(path("err.txt"));
    return status;
  }
  std::string path(const std::string& name) const {
    return dir.filePath(QString::fromStdString(name)).toStdString();
  }
  bool exists(const std::string& name) const {
    return QFile::exists(QString::fromStdString(path(name)));
  }

  QTemporaryDir dir;
  std::string out, err;
};

TEST_F(EarthworkDrawingsCli, SheetsAsPdfPagesAndSvgFiles) {
  ASSERT_EQ(run("section-sheets '" + kRoad + "' --from 200 --to 600 -o '" + path("s.pdf") + "'"), 0)
      << err;
  EXPECT_EQ(out, "");
  EXPECT_EQ(err, "");
  const std::string pdf = readAll(path("s.pdf"));
  ASSERT_EQ(pdf.rfind("%PDF", 0), 0u);
  std::size_t pages = 0;
  for (std::size_t at = pdf.find("/Type /Page"); at != std::string::npos;
       at = pdf.find("/Type /Page", at + 1))
    if (pdf.compare(at, 12, "/Type /Pages") != 0) ++pages;
  // 21 stations every 20 m and the places where the centre passes between
  // cut and fill, 8 a page.
  EXPECT_GE(pages, 3u);
  EXPECT_LE(pages, 5u);

  ASSERT_EQ(run("section-sheets '" + kRoad + "' --from 200 --to 600 -o '" + path("s.svg") + "'"), 0)
      << err;
  EXPECT_FALSE(exists("s.svg"));
  EXPECT_TRUE(exists("s-001.svg"));
  EXPECT_TRUE(exists("s-00" + std::to_string(pages) + ".svg"));
  EXPECT_FALSE(exists("s-00" + std::to_string(pages + 1) + ".svg"));
  EXPECT_NE(readAll(path("s-001.svg")).find("terrain-demo"), std::string::npos);

  // One page as PNG: an A3 landscape sheet.
  ASSERT_EQ(run("section-sheets '" + kRoad + "' --from 400 --to 420 -o '" + path("one.png") + "'"),
            0)
      << err;
  EXPECT_EQ(QImage(QString::fromStdString(path("one.png"))).size(), QSize(1587, 1123));
}

TEST_F(EarthworkDrawingsCli, MassHaulWithItsTotals) {
  // The pond leaves the right side of K1+180 without ground: refused with
  // the station, unless the side may count no area.
  EXPECT_NE(run("mass-haul '" + kRoad + "' -o '" + path("m.png") + "'"), 0);
  EXPECT_NE(err.find("1180.000 right"), std::string::npos) << err;
  EXPECT_FALSE(exists("m.png"));
  ASSERT_EQ(run("mass-haul '" + kRoad + "' --allow-incomplete --size 1000x600 -o '" +
                path("m.png") + "'"),
            0)
      << err;
  EXPECT_EQ(out, "");
  EXPECT_EQ(QImage(QString::fromStdString(path("m.png"))).size(), QSize(1000, 600));
  ASSERT_EQ(run("mass-haul '" + kRoad + "' --to 1000 --bulking 0.9 -o '" + path("m.svg") + "'"), 0)
      << err;
  EXPECT_NE(readAll(path("m.svg")).find("bulking 0.90"), std::string::npos);
}

TEST_F(EarthworkDrawingsCli, BadInputIsOneLineAndNoFile) {
  // The demo road without the settings file that names its terrain.
  const std::string bare = path("bare.REC");
  ASSERT_TRUE(QFile::copy(QString::fromStdString(kRoad), QString::fromStdString(bare)));
  const struct {
    const char* name;
    std::string arguments;
    const char* says;
  } cases[] = {
      {"interval 0", "section-sheets '" + kRoad + "' --interval 0 -o '" + path("x.pdf") + "'",
       "--interval"},
      {"interval nan", "mass-haul '" + kRoad + "' --interval nan -o '" + path("x.png") + "'",
       "--interval"},
      {"bulking 0", "mass-haul '" + kRoad + "' --bulking 0 -o '" + path("x.png") + "'",
       "--bulking"},
      {"station off the road",
       "section-sheets '" + kRoad + "' --from 9000 -o '" + path("x.pdf") + "'", "9000"},
      {"no ground", "section-sheets '" + bare + "' -o '" + path("x.pdf") + "'", "no ground"},
      {"not a sheet format", "section-sheets '" + kRoad + "' -o '" + path("x.jpg") + "'", ".jpg"},
      {"no size for sheets",
       "section-sheets '" + kRoad + "' --size 800x600 -o '" + path("x.pdf") + "'", "A3"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_NE(run(c.arguments), 0);
    EXPECT_EQ(out, "");
    EXPECT_NE(err.find(c.says), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
    EXPECT_FALSE(exists("x.pdf") || exists("x.png") || exists("x.jpg") || exists("x-001.pdf"));
  }
}

}  // namespace
}  // namespace trazmark
