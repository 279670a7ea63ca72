#include "platform/CodePage.h"

#include <gtest/gtest.h>

namespace trazmark {
namespace {

// "中文" in the pages that hold it.
const std::string kZhongWenUtf8 = "\xE4\xB8\xAD\xE6\x96\x87";
const std::string kZhongWenGbk = "\xD6\xD0\xCE\xC4";

class AnsiPage {
 public:
  explicit AnsiPage(int page) { setAnsiCodePageOverride(page); }
  ~AnsiPage() { setAnsiCodePageOverride(0); }
};

TEST(EncodingNames, MapToCodePagesWithoutRegardToCase) {
  struct Case {
    const char* name;
    int page;
  };
  const Case cases[] = {
      {"UTF-8", 65001},        {"utf-8", 65001},       {"Utf8", 65001},
      {"UTF-32", 65005},       {"utf-32", 65005},      {"UTF-16", 1200},
      {"UTF-16BE", 1201},      {"GBK", 936},           {"gb2312", 936},
      {"CP936", 936},          {"GB18030", 54936},     {"Big5", 950},
      {"Shift_JIS", 932},      {"EUC-KR", 51949},      {"ks_c_5601-1987", 949},
      {"ISO-8859-1", 28591},   {"latin1", 28591},      {"ISO-8859-15", 28605},
      {"Windows-1252", 1252},  {"cp1250", 1250},       {"US-ASCII", 20127},
      {"IBM437", 437},         {"ebcdic-cp-us", 37},   {"KOI8-R", 20866},
      {"no-such-encoding", -1}, {"", -1},              {"utf-8 ", -1},
  };
  for (const auto& c : cases) EXPECT_EQ(codePageFromEncodingName(c.name), c.page) << c.name;
  EXPECT_EQ(codePageFromEncodingName(std::string(100, 'a')), -1);
}

TEST(CodePageConversion, KnownBytesInEachPageRoundTrip) {
  struct Case {
    int page;
    std::string utf8;
    std::string bytes;
  };
  const Case cases[] = {
      {936, kZhongWenUtf8, kZhongWenGbk},
      {950, "\xE4\xB8\xAD", "\xA4\xA4"},                       // 中 in Big5
      {932, "\xE4\xB8\xAD", "\x92\x86"},                       // 中 in Shift_JIS
      {949, "\xED\x95\x9C", "\xC7\xD1"},                       // 한
      {1252, "caf\xC3\xA9 \xE2\x82\xAC", "caf\xE9 \x80"},      // café €
      {28591, "\xC3\xA9", "\xE9"},
      {20127, "plain", "plain"},
      {1200, "A\xE4\xB8\xAD", std::string("A\0\x2D\x4E", 4)},
      {1201, "A\xE4\xB8\xAD", std::string("\0A\x4E\x2D", 4)},
      {65005, "A", std::string("A\0\0\0", 4)},
      {65001, kZhongWenUtf8, kZhongWenUtf8},
  };
  for (const auto& c : cases) {
    std::string out;
    bool lossy = true;
    ASSERT_TRUE(convertCodePage(c.utf8, kCodePageUtf8, c.page, out, &lossy)) << c.page;
    EXPECT_EQ(out, c.bytes) << c.page;
    EXPECT_FALSE(lossy) << c.page;
    ASSERT_TRUE(convertCodePage(c.bytes, c.page, kCodePageUtf8, out, &lossy)) << c.page;
    EXPECT_EQ(out, c.utf8) << c.page;
  }
}

TEST(CodePageConversion, ReplacesWhatCannotBeConvertedAndSaysSo) {
  std::string out;
  bool lossy = false;
  // 中 has no place in 1252; the rest of the text survives.
  ASSERT_TRUE(convertCodePage("a\xE4\xB8\xAD" "b", kCodePageUtf8, 1252, out, &lossy));
  EXPECT_EQ(out, "a?b");
  EXPECT_TRUE(lossy);
  // A malformed byte becomes U+FFFD in a Unicode page, "?" elsewhere.
  ASSERT_TRUE(convertCodePage("a\xFF" "b", kCodePageUtf8, 1200, out, &lossy));
  EXPECT_EQ(out, std::string("a\0\xFD\xFF" "b\0", 6));
  EXPECT_TRUE(lossy);
  ASSERT_TRUE(convertCodePage("a\xFF" "b", kCodePageUtf8, 936, out, &lossy));
  EXPECT_EQ(out, "a?b");
  // A lead byte cut off at the end.
  ASSERT_TRUE(convertCodePage("a\xD6", 936, kCodePageUtf8, out, &lossy));
  EXPECT_EQ(out, "a\xEF\xBF\xBD");
  EXPECT_TRUE(lossy);
  // Pages iconv does not know fail without output.
  EXPECT_FALSE(convertCodePage("abc", 99999, kCodePageUtf8, out));
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(isCodePageSupported(99999));
  EXPECT_TRUE(isCodePageSupported(936));
}

TEST(CodePageConversion, AnsiHelpersFollowTheOverride) {
  {
    AnsiPage page(936);
    EXPECT_EQ(ansiCodePage(), 936);
    EXPECT_EQ(ansiToUtf8(kZhongWenGbk), kZhongWenUtf8);
    EXPECT_EQ(utf8ToAnsi(kZhongWenUtf8), kZhongWenGbk);
    EXPECT_EQ(ansiToUtf16(kZhongWenGbk), u"中文");
    EXPECT_EQ(utf16ToAnsi(u"中文"), kZhongWenGbk);
  }
  {
    AnsiPage page(kCodePageUtf8);
    EXPECT_EQ(ansiToUtf8(kZhongWenUtf8), kZhongWenUtf8);
    EXPECT_EQ(ansiToUtf16(kZhongWenUtf8), u"中文");
    EXPECT_EQ(utf16ToAnsi(u"中文\U0001F600"), kZhongWenUtf8 + "\xF0\x9F\x98\x80");
  }
  EXPECT_EQ(toUtf16("\xA4\xA4", 950), u"中");
  EXPECT_EQ(fromUtf16(u"中", 932), "\x92\x86");
}

TEST(CodePageConversion, AppendCodePoint) {
  std::string out;
  appendCodePoint(out, U'中', 936);
  appendCodePoint(out, U'A', 936);
  appendCodePoint(out, U'\u00E9', 936);  // not in GBK's single bytes, but in GBK
  appendCodePoint(out, U'\u0E01', 936);  // Thai: not in GBK
  appendCodePoint(out, 0xD800, 65001);   // a surrogate is no character
  EXPECT_EQ(out, "\xD6\xD0" "A\xA8\xA6??");
  out.clear();
  appendCodePoint(out, 0x1F600, 65001);
  EXPECT_EQ(out, "\xF0\x9F\x98\x80");
}

TEST(Utf8Validation, RejectsEveryMalformedForm) {
  struct Case {
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"", true},
      {"plain ascii text longer than eight bytes", true},
      {kZhongWenUtf8, true},
      {"\xF0\x9F\x98\x80", true},
      {"\xF4\x8F\xBF\xBF", true},    // U+10FFFF
      {"\xC0\x80", false},           // overlong NUL
      {"\xE0\x80\xAF", false},       // overlong
      {"\xED\xA0\x80", false},       // surrogate
      {"\xF4\x90\x80\x80", false},   // above U+10FFFF
      {"\xE4\xB8", false},           // cut off
      {"abcdefgh\x80", false},       // lone continuation byte after a long ASCII run
      {kZhongWenGbk, false},
  };
  for (const auto& c : cases) EXPECT_EQ(isValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(CharBoundaries, MultiByteCharactersStayWhole) {
  EXPECT_EQ(charLengthAt(kZhongWenGbk, 0, 936), 2u);
  EXPECT_EQ(charLengthAt("a", 0, 936), 1u);
  EXPECT_EQ(charLengthAt(kZhongWenUtf8, 3, 65001), 3u);
  EXPECT_EQ(charLengthAt("\xD6", 0, 936), 1u);       // clipped at the end
  EXPECT_EQ(charLengthAt("\xB1\xDF", 0, 932), 1u);   // half-width katakana is one byte
  EXPECT_EQ(charLengthAt("\x81\x30\x81\x30", 0, 54936), 4u);
  EXPECT_EQ(cutAtCharBoundary(kZhongWenGbk, 3, 936), "\xD6\xD0");
}

}  // namespace
}  // namespace trazmark
