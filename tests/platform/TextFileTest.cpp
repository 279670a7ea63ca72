#include "platform/CodePage.h"
#include "platform/TextFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "support/FolderRights.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

class TextFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "trazmark-textfile-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    setAnsiCodePageOverride(0);
    fs::remove_all(dir);
  }
  std::vector<std::string> entries() const {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  fs::path dir;
};

const std::string kNameUtf8 = "ROADNAME:\xE4\xB8\xAD\xE6\x96\x87\r\n";  // 中文
const std::string kNameGbk = "ROADNAME:\xD6\xD0\xCE\xC4\r\n";

TEST_F(TextFileTest, ReadsUtf8AndGbkFilesIntoTheAnsiPage) {
  struct Case {
    std::string file;
    int ansi;
    std::string text;
  };
  const Case cases[] = {
      {kNameUtf8, 65001, kNameUtf8},
      {kNameGbk, 65001, kNameUtf8},           // an older system's file
      {"\xEF\xBB\xBF" + kNameUtf8, 65001, kNameUtf8},
      {kNameUtf8, 936, kNameGbk},
      {kNameGbk, 936, kNameGbk},              // bytes kept as they are
      {"\xEF\xBB\xBF" + kNameUtf8, 936, kNameGbk},
      {"", 936, ""},
  };
  for (const auto& c : cases) {
    setAnsiCodePageOverride(c.ansi);
    writeBytes(dir / "in.RP", c.file);
    std::string text = "stale";
    ASSERT_TRUE(readTextFileAsAnsi((dir / "in.RP").string(), text));
    EXPECT_EQ(text, c.text) << c.ansi;
  }
  std::string text = "kept";
  EXPECT_FALSE(readTextFileAsAnsi((dir / "missing.RP").string(), text));
  EXPECT_FALSE(readTextFileAsAnsi(dir.string(), text));
  EXPECT_EQ(text, "kept");
}

TEST_F(TextFileTest, WriteReplacesTheFileAndLeavesNoTemporaryFile) {
  const fs::path target = dir / "road.RP";
  setAnsiCodePageOverride(936);
  ASSERT_TRUE(writeTextFileAtomically(target.string(), kNameGbk));
  EXPECT_EQ(readBytes(target), kNameGbk);  // ANSI bytes as they are
  chmod(target.c_str(), 0640);
  ASSERT_TRUE(writeTextFileAtomically(target.string(), "second"));
  EXPECT_EQ(readBytes(target), "second");
  EXPECT_EQ(entries(), std::vector<std::string>{"road.RP"});
  struct stat info {};
  ASSERT_EQ(stat(target.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);
}

TEST_F(TextFileTest, WriteGoesThroughALink) {
  // Saving through a link replaces the file it names; the link stays a link.
  const fs::path real = dir / "real.REC";
  const fs::path link = dir / "link.REC";
  writeBytes(real, "old");
  fs::create_symlink(real, link);
  ASSERT_TRUE(writeTextFileAtomically(link.string(), "new"));
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(readBytes(real), "new");
  EXPECT_EQ(entries(), (std::vector<std::string>{"link.REC", "real.REC"}));
}

TEST_F(TextFileTest, WriteRefusesAReadOnlyFile) {
  // A file the user made read-only is not replaced (the super-user may write
  // any file, so the check means nothing there).
  if (geteuid() == 0) GTEST_SKIP() << "running as root";
  const fs::path locked = dir / "locked.REC";
  writeBytes(locked, "kept");
  chmod(locked.c_str(), 0444);
  EXPECT_FALSE(writeTextFileAtomically(locked.string(), "lost"));
  EXPECT_EQ(readBytes(locked), "kept");
}

TEST_F(TextFileTest, FailedWriteLeavesTheOldFileByteIdentical) {
  // Cannot rename over a folder.
  fs::create_directory(dir / "folder.RP");
  writeBytes(dir / "folder.RP" / "inside", "x");
  EXPECT_FALSE(writeTextFileAtomically((dir / "folder.RP").string(), "text"));
  EXPECT_EQ(readBytes(dir / "folder.RP" / "inside"), "x");
  EXPECT_EQ(entries(), std::vector<std::string>{"folder.RP"});
  // A folder that does not exist.
  EXPECT_FALSE(writeTextFileAtomically((dir / "none" / "x.RP").string(), "text"));

  // The disk fills up half-way through the write.
  const fs::path target = dir / "road.RP";
  const std::string old = "old content\r\n";
  writeBytes(target, old);
  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool written = writeTextFileAtomically(target.string(), std::string(100000, 'n'));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(readBytes(target), old);
  EXPECT_EQ(entries(), (std::vector<std::string>{"folder.RP", "road.RP"}));
}

TEST_F(TextFileTest, AFileTheUserMayWriteIsSavedInAFolderTheUserMayNot) {
  const fs::path mine = dir / "mine.REC";
  const fs::path theirs = dir / "theirs.REC";
  writeBytes(mine, "old mine");
  writeBytes(theirs, "old theirs");
  chmod(mine.c_str(), 0640);
  chmod(theirs.c_str(), 0444);
  struct Case {
    const char* what;
    fs::path target;
    bool ok;
  } cases[] = {
      {"an existing file is written in place", mine, true},
      {"a new file needs the folder", dir / "new.REC", false},
      {"a read-only file stays refused", theirs, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // A refusal says why: the folder or the file may not be written.
    const bool ok = test::runWithoutFolderRights(dir, {mine}, [&] {
      return writeTextFileAtomically(c.target.string(), "new content\r\n") ||
             (errno != EACCES && errno != EPERM);
    });
    EXPECT_EQ(ok, c.ok);
  }
  EXPECT_EQ(readBytes(mine), "new content\r\n");
  EXPECT_EQ(readBytes(theirs), "old theirs");
  EXPECT_EQ(entries(), (std::vector<std::string>{"mine.REC", "theirs.REC"}));
  struct stat info {};
  ASSERT_EQ(stat(mine.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0640u);

  // In place means in place: a folder is no file to write over.
  fs::create_directory(dir / "folder.REC");
  EXPECT_FALSE(writeFileInPlace((dir / "folder.REC").string(), "x"));
  EXPECT_FALSE(writeFileInPlace((dir / "missing.REC").string(), "x"));
  EXPECT_FALSE(fs::exists(dir / "missing.REC"));
}

}  // namespace
}  // namespace trazmark
