#include "markup/MarkupDocument.h"
#include "platform/CodePage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/resource.h>

#include "support/FolderRights.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

const std::string kDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n";
const std::string kNameUtf8 = "\xE4\xB8\xAD\xE6\x96\x87\xE8\xB7\xAF";  // 中文路
const std::string kNameGbk = "\xD6\xD0\xCE\xC4\xC2\xB7";

std::string readBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
}

bool hasResult(const MarkupDocument& doc, const std::string& name) {
  return std::any_of(doc.result().begin(), doc.result().end(),
                     [&](const MarkupResultEntry& e) { return e.name == name; });
}

class MarkupFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "trazmark-markup-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    dir = pattern;
  }
  void TearDown() override {
    setAnsiCodePageOverride(0);
    fs::remove_all(dir);
  }
  std::string path(const char* name) const { return (dir / name).string(); }
  // The text of <Name> in a file holding <HEAD><Name>..</Name></HEAD>.
  static std::string nameIn(MarkupDocument& doc) {
    doc.resetPositions();
    if (!doc.findElement("HEAD") || !doc.findChildElement("Name")) return "<missing>";
    return doc.childData();
  }
  fs::path dir;
};

std::string headFile(const std::string& prolog, const std::string& name) {
  return prolog + "<HEAD>\r\n<Name>" + name + "</Name>\r\n</HEAD>\r\n";
}

TEST_F(MarkupFileTest, DetectsTheEncodingOfEachKindOfFile) {
  auto utf16 = [](const std::u16string& text, bool bigEndian) {
    std::string bytes;
    for (char16_t c : text) {
      char hi = static_cast<char>(c >> 8), lo = static_cast<char>(c & 0xFF);
      bytes += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return bytes;
  };
  const std::u16string wide = u"<HEAD><Name>中文路</Name></HEAD>";
  struct Case {
    const char* what;
    std::string file;
  };
  const Case cases[] = {
      {"UTF-8 declared", headFile(kDeclaration, kNameUtf8)},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + headFile(kDeclaration, kNameUtf8)},
      {"UTF-8 BOM, no declaration", "\xEF\xBB\xBF" + headFile("", kNameUtf8)},
      {"GBK declared", headFile("<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n", kNameGbk)},
      {"gb2312 declared, single quotes", headFile("<?xml version='1.0' encoding='gb2312'?>\r\n", kNameGbk)},
      {"nothing declared, UTF-8", headFile("", kNameUtf8)},
      {"nothing declared, GBK bytes", headFile("", kNameGbk)},
      {"HTML meta charset", "<HEAD><meta http-equiv=\"Content-Type\" content=\"text/html; charset=GBK\"/>"
                            "<Name>" + kNameGbk + "</Name></HEAD>"},
      {"UTF-16LE with BOM", "\xFF\xFE" + utf16(wide, false)},
      {"UTF-16BE with BOM", "\xFE\xFF" + utf16(wide, true)},
      {"UTF-16LE without BOM", utf16(wide, false)},
      {"Name reference", headFile(kDeclaration, "&#x4E2D;&#25991;\xE8\xB7\xAF")},
  };
  for (int ansi : {65001, 936}) {
    setAnsiCodePageOverride(ansi);
    for (const auto& c : cases) {
      writeBytes(dir / "in.xml", c.file);
      MarkupDocument doc;
      EXPECT_TRUE(doc.loadFile(path("in.xml"))) << c.what << ": " << doc.resultText();
      EXPECT_EQ(nameIn(doc), ansi == 936 ? kNameGbk : kNameUtf8) << c.what << " in " << ansi;
      EXPECT_EQ(doc.text().find('\xEF'), doc.text().find("\xEF\xBB\xBF")) << c.what;  // no BOM kept
    }
  }
}

TEST_F(MarkupFileTest, BomFileSavesAgainAsUtf8WithoutBom) {
  setAnsiCodePageOverride(936);
  const std::string original = "\xEF\xBB\xBF" + headFile(kDeclaration, kNameUtf8);
  writeBytes(dir / "bom.xml", original);
  MarkupDocument doc;
  ASSERT_TRUE(doc.loadFile(path("bom.xml")));
  EXPECT_TRUE(hasResult(doc, "bom"));
  EXPECT_EQ(doc.text(), headFile(kDeclaration, kNameGbk));  // code page 936 in memory
  ASSERT_TRUE(doc.saveFile(path("bom.xml")));
  EXPECT_EQ(readBytes(dir / "bom.xml"), original.substr(3));
}

TEST_F(MarkupFileTest, ChineseNamesRoundTripInBothAnsiPages) {
  for (int ansi : {65001, 936}) {
    setAnsiCodePageOverride(ansi);
    const std::string name = (ansi == 936 ? kNameGbk : kNameUtf8) + " & <1>";
    MarkupDocument doc;
    doc.setText(kDeclaration);
    doc.addElement("HEAD");
    doc.addChildElement("Name", name);
    ASSERT_TRUE(doc.saveFile(path("road.REC")));
    // UTF-8 on disk whatever the ANSI page.
    EXPECT_EQ(readBytes(dir / "road.REC"), headFile(kDeclaration, kNameUtf8 + " &amp; &lt;1&gt;"));
    MarkupDocument back;
    ASSERT_TRUE(back.loadFile(path("road.REC")));
    EXPECT_EQ(nameIn(back), name) << ansi;
    ASSERT_TRUE(back.saveFile(path("again.REC")));
    EXPECT_EQ(readBytes(dir / "again.REC"), readBytes(dir / "road.REC"));
  }
}

TEST_F(MarkupFileTest, SavesInTheDeclaredEncoding) {
  MarkupDocument doc;
  doc.setText("<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n");
  doc.addElement("HEAD");
  doc.addChildElement("Name", kNameUtf8);
  ASSERT_TRUE(doc.saveFile(path("gbk.xml")));
  EXPECT_EQ(readBytes(dir / "gbk.xml"), headFile("<?xml version=\"1.0\" encoding=\"GBK\"?>\r\n", kNameGbk));

  doc.setText("<?xml version=\"1.0\" encoding=\"no-such\"?>\r\n<HEAD>" + kNameUtf8 + "</HEAD>");
  ASSERT_TRUE(doc.saveFile(path("unknown.xml")));  // an unknown name: the ANSI bytes as they are
  EXPECT_EQ(readBytes(dir / "unknown.xml"), doc.text());

  doc.setText("<?xml version=\"1.0\" encoding=\"UTF-16\"?><HEAD>" + kNameUtf8 + "</HEAD>");
  ASSERT_TRUE(doc.saveFile(path("wide.xml")));
  const std::string wide = readBytes(dir / "wide.xml");
  EXPECT_EQ(wide.substr(0, 4), std::string("<\0?\0", 4));  // no byte-order mark
  MarkupDocument back;
  ASSERT_TRUE(back.loadFile(path("wide.xml")));
  EXPECT_EQ(back.text(), doc.text());
}

TEST_F(MarkupFileTest, MissingIllFormedAndNullFiles) {
  MarkupDocument doc;
  doc.setText("<old/>");
  EXPECT_FALSE(doc.loadFile(path("missing.xml")));
  EXPECT_EQ(doc.text(), "");
  EXPECT_TRUE(hasResult(doc, "file_error"));

  writeBytes(dir / "two.xml", kDeclaration + "<a/>\r\n<b/>\r\n");
  EXPECT_FALSE(doc.loadFile(path("two.xml")));
  EXPECT_EQ(doc.text(), kDeclaration + "<a/>\r\n<b/>\r\n");  // the text stays loaded
  EXPECT_TRUE(hasResult(doc, "root_has_sibling"));

  writeBytes(dir / "nul.xml", std::string("<a>x\0y</a>", 10));
  EXPECT_TRUE(doc.loadFile(path("nul.xml")));
  EXPECT_EQ(doc.text(), "<a>xy</a>");
  EXPECT_TRUE(hasResult(doc, "nulls_removed"));

  writeBytes(dir / "latin.xml", "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><a>\xF0\xFE</a>");
  setAnsiCodePageOverride(936);
  EXPECT_TRUE(doc.loadFile(path("latin.xml")));
  EXPECT_TRUE(hasResult(doc, "converted_to"));
  EXPECT_TRUE(hasResult(doc, "conversion_loss"));  // GBK has no eth or thorn
  EXPECT_EQ(doc.text().substr(doc.text().size() - 9), "<a>?" "?</a>");
}

TEST_F(MarkupFileTest, FailedSaveLeavesTheOldFileByteIdentical) {
  const std::string old = headFile(kDeclaration, "old");
  writeBytes(dir / "road.REC", old);
  MarkupDocument doc;
  doc.setText(kDeclaration);
  doc.addElement("HEAD");
  doc.addChildElement("Name", std::string(200000, 'x'));

  struct rlimit saved {};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 8192;  // the disk fills up half-way through the save
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  bool saved1 = doc.saveFile(path("road.REC"));
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(saved1);
  EXPECT_EQ(readBytes(dir / "road.REC"), old);

  EXPECT_FALSE(doc.saveFile(path("nofolder/road.REC")));
  fs::create_directory(dir / "folder.REC");
  EXPECT_FALSE(doc.saveFile(path("folder.REC")));
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"folder.REC", "road.REC"}));  // no temporary file left
}

TEST_F(MarkupFileTest, SavesARoadFileInAFolderTheUserMayNotWrite) {
  writeBytes(dir / "road.REC", headFile(kDeclaration, "old"));
  MarkupDocument doc;
  doc.setText(headFile(kDeclaration, kNameUtf8));
  setAnsiCodePageOverride(65001);
  EXPECT_TRUE(test::runWithoutFolderRights(dir, {dir / "road.REC"},
                                           [&] { return doc.saveFile(path("road.REC")); }));
  EXPECT_EQ(readBytes(dir / "road.REC"), headFile(kDeclaration, kNameUtf8));
}

}  // namespace
}  // namespace trazmark
