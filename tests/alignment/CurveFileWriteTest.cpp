#include "alignment/CurveFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>
#include <unistd.h>

namespace trazmark {
namespace {

std::string readBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(CurveFileWriter, RpAndReFilesDifferOnlyInTitleAndDecimals) {
  struct Case {
    CurveFileKind kind;
    const char* expected;
  } cases[] = {
      {CurveFileKind::RP,
       "CURVE FILE(RP) Ver1.0\r\nMETRES\r\nDEGREES\r\nSTART CHAINAGE,1234.5000\r\nHORIZ\r\n"
       "RN,G205\r\nPT,200.000000,100.000000,\r\nR.,10.500000,45.12345679,\r\n"
       "CL,60.000000,134.16407865,\r\nCC,31.415927,-300.000000,\r\n"},
      {CurveFileKind::RE,
       "CURVE FILE(RE) Ver1.0\r\nMETRES\r\nDEGREES\r\nSTART CHAINAGE,1234.5000\r\nHORIZ\r\n"
       "RN,G205\r\nPT,200.000000,100.000000,\r\nR.,10.500000,45.1234567890,\r\n"
       "CL,60.000000,134.164079,\r\nCC,31.415927,-300.000000,\r\n"},
  };
  for (const Case& c : cases) {
    CCurveFileWriter w(c.kind);
    w.writeHeader(1234.5, "G205");
    w.writeStartPoint(100, 200);  // north 100, east 200: written east first
    w.writeLine(10.5, 45.123456789);
    w.writeSpiral(60, 134.164078649987);
    w.writeArc(31.4159265, -300);
    EXPECT_EQ(w.text(), c.expected);
  }
}

TEST(CurveFileWriter, RoadNameStaysOneFieldOnOneLine) {
  CCurveFileWriter w(CurveFileKind::RP);
  w.writeHeader(0, "A,B\r\nC");
  EXPECT_NE(w.text().find("RN,A;B  C\r\n"), std::string::npos);
}

TEST(CurveFileWriter, HugeValuesAreWrittenWhole) {
  CCurveFileWriter w(CurveFileKind::RE);
  w.writeLine(1e300, -1e300);
  const std::string& t = w.text();
  ASSERT_GT(t.size(), 600u);
  EXPECT_EQ(t.substr(0, 4), "R.,1");
  EXPECT_EQ(t.substr(t.size() - 3), ",\r\n");
}

TEST(CurveFileWriter, SaveWritesTheTextAndFailsWhereNoFileCanBe) {
  const auto dir = std::filesystem::path(::testing::TempDir()) / ("curvefile_write_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string path = (dir / "a.TDFE").string();
  CCurveFileWriter w(CurveFileKind::RP);
  w.writeHeader(0, "r");
  ASSERT_TRUE(w.save(path));
  EXPECT_EQ(readBytes(path), w.text());
  EXPECT_FALSE(w.save((dir / "no" / "such" / "folder.TDFE").string()));
}

TEST(MethodFileText, FieldsSplitAtEveryComma) {
  EXPECT_EQ(splitCommaFields("a,,b,"), (std::vector<std::string>{"a", "", "b", ""}));
  EXPECT_EQ(splitCommaFields(""), (std::vector<std::string>{""}));
  EXPECT_EQ(sanitizeFieldText("x,y\rz\n"), "x;y z ");
}

TEST(MethodFileText, SettingsFolderFollowsXdgConfigHome) {
  const char* oldXdg = std::getenv("XDG_CONFIG_HOME");
  const std::string saved = oldXdg ? oldXdg : "";
  setenv("XDG_CONFIG_HOME", "/cfg/home", 1);
  EXPECT_EQ(userSettingsFolder(), "/cfg/home/trazmark");
  setenv("XDG_CONFIG_HOME", "relative", 1);
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] == '/') {
    EXPECT_EQ(userSettingsFolder(), std::string(home) + "/.config/trazmark");
  }
  if (oldXdg) setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
  else unsetenv("XDG_CONFIG_HOME");
}

}  // namespace
}  // namespace trazmark
