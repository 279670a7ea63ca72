#include "platform/CodePage.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <bit>
#include <cctype>
#include <cerrno>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <iconv.h>
#include <langinfo.h>
#include <map>
#include <mutex>
#include <unordered_map>
#include <vector>

namespace trazmark {
namespace {

std::atomic<int> g_override{0};

int codePageFromEnvironment() {
  if (const char* env = std::getenv("TRAZMARK_CODEPAGE")) {
    char* end = nullptr;
    long value = std::strtol(env, &end, 10);
    if (end != env && value > 0 && value < 100000) return static_cast<int>(value);
  }
  // The locale's character set; anything but a known Chinese page is UTF-8.
  const char* locale = std::setlocale(LC_CTYPE, nullptr);
  std::string name = locale ? locale : "";
  for (auto& c : name) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (name.find("GBK") != std::string::npos || name.find("GB2312") != std::string::npos ||
      name.find("GB18030") != std::string::npos)
    return kCodePageGbk;
  return kCodePageUtf8;
}

bool isDoubleBytePage(int cp) { return cp == 936 || cp == 950 || cp == 949 || cp == 932; }

}  // namespace

int ansiCodePage() {
  int o = g_override.load();
  if (o > 0) return o;
  static const int fromEnv = codePageFromEnvironment();
  return fromEnv;
}

void setAnsiCodePageOverride(int codePage) { g_override.store(codePage > 0 ? codePage : 0); }

std::string cutAtCharBoundary(const std::string& text, std::size_t maxBytes, int codePage) {
  if (text.size() <= maxBytes) return text;
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t end = 0;  // end of the last whole character that fits
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t len = 1;
    unsigned char c = s[i];
    if (codePage == kCodePageUtf8) {
      if (c >= 0xF0) len = 4;
      else if (c >= 0xE0) len = 3;
      else if (c >= 0xC0) len = 2;
    } else if (isDoubleBytePage(codePage)) {
      if (c >= 0x81 && c <= 0xFE) len = 2;
    }
    if (i + len > maxBytes) break;
    i += len;
    end = i;
  }
  return text.substr(0, end);
}

// ---------------------------------------------------------------------------
// Conversion over iconv.

namespace {

// iconv names of the pages whose number does not follow from a "CP<n>" rule.
struct PageName {
  int page;
  const char* name;
};
constexpr PageName kPageNames[] = {
    {65001, "UTF-8"},        {1200, "UTF-16LE"},       {1201, "UTF-16BE"},
    {12000, "UTF-32LE"},     {12001, "UTF-32BE"},      {65005, "UTF-32LE"},
    {65000, "UTF-7"},        {20127, "ANSI_X3.4-1968"}, {936, "CP936"},
    {54936, "GB18030"},      {20936, "EUC-CN"},        {52936, "HZ"},
    {950, "CP950"},          {932, "CP932"},           {949, "CP949"},
    {1361, "JOHAB"},         {51932, "EUC-JP"},        {20932, "EUC-JP"},
    {51949, "EUC-KR"},       {51936, "EUC-CN"},        {50220, "ISO-2022-JP"},
    {50221, "ISO-2022-JP"},  {50222, "ISO-2022-JP"},   {50225, "ISO-2022-KR"},
    {20866, "KOI8-R"},       {21866, "KOI8-U"},        {10000, "MACINTOSH"},
    {874, "CP874"},          {28591, "ISO-8859-1"},    {28592, "ISO-8859-2"},
    {28593, "ISO-8859-3"},   {28594, "ISO-8859-4"},    {28595, "ISO-8859-5"},
    {28596, "ISO-8859-6"},   {28597, "ISO-8859-7"},    {28598, "ISO-8859-8"},
    {38598, "ISO-8859-8"},   {28599, "ISO-8859-9"},    {28603, "ISO-8859-13"},
    {28605, "ISO-8859-15"},  {20924, "IBM924"},        {37, "IBM037"},
};

// Candidate iconv names of a page, tried in turn.
std::vector<std::string> iconvNameCandidates(int page) {
  std::vector<std::string> names;
  for (const auto& entry : kPageNames)
    if (entry.page == page) names.emplace_back(entry.name);
  std::string n = std::to_string(page);
  if (page >= 20000 && page < 21000) names.push_back("IBM" + std::to_string(page - 20000));
  if (page >= 1140 && page <= 1149) names.push_back("IBM" + n);
  names.push_back("CP" + n);
  names.push_back("IBM" + n);
  names.push_back("WINDOWS-" + n);
  return names;
}

bool iconvKnows(const std::string& name) {
  iconv_t cd = iconv_open("UTF-8", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  iconv_close(cd);
  return true;
}

// The iconv name of a page, or empty when iconv knows none. Resolved once per page.
std::string iconvName(int page) {
  static std::mutex mutex;
  static std::map<int, std::string> cache;
  std::lock_guard<std::mutex> lock(mutex);
  auto it = cache.find(page);
  if (it != cache.end()) return it->second;
  std::string found;
  if (page > 0) {
    for (const auto& candidate : iconvNameCandidates(page)) {
      if (iconvKnows(candidate)) {
        found = candidate;
        break;
      }
    }
  }
  cache.emplace(page, found);
  return found;
}

bool isUnicodePage(int page) { return page == kCodePageUtf8 || isWideCodePage(page) || page == 65000; }

// iconv descriptors are costly to open: each thread keeps the ones it used.
class IconvCache {
 public:
  ~IconvCache() {
    for (auto& [key, cd] : m_open) iconv_close(cd);
  }
  iconv_t get(const std::string& to, const std::string& from) {
    std::string key = to + '\n' + from;
    auto it = m_open.find(key);
    if (it == m_open.end()) {
      iconv_t cd = iconv_open(to.c_str(), from.c_str());
      if (cd == reinterpret_cast<iconv_t>(-1)) return cd;
      it = m_open.emplace(std::move(key), cd).first;
    }
    iconv(it->second, nullptr, nullptr, nullptr, nullptr);  // back to the initial state
    return it->second;
  }

 private:
  std::unordered_map<std::string, iconv_t> m_open;
};

IconvCache& iconvCache() {
  thread_local IconvCache cache;
  return cache;
}

bool isBadDescriptor(iconv_t cd) { return cd == reinterpret_cast<iconv_t>(-1); }

// Runs one whole conversion with `cd`, growing `out`; stops at the first
// character it cannot handle. Returns the iconv errno (0 when done).
int runIconv(iconv_t cd, const char*& in, std::size_t& inLeft, std::string& out, std::size_t& used) {
  while (true) {
    if (out.size() - used < 16) out.resize(out.size() * 2 + 64);
    char* outPtr = out.data() + used;
    std::size_t outLeft = out.size() - used;
    std::size_t r = iconv(cd, const_cast<char**>(&in), &inLeft, &outPtr, &outLeft);
    used = static_cast<std::size_t>(outPtr - out.data());
    if (r != static_cast<std::size_t>(-1)) return 0;
    if (errno != E2BIG) return errno;
  }
}

// The bytes of `text` (ASCII/UTF-8) in iconv encoding `to`.
std::string encodeLiteral(const std::string& to, std::string_view text) {
  iconv_t cd = iconvCache().get(to, "UTF-8");
  if (isBadDescriptor(cd)) return "?";
  const char* in = text.data();
  std::size_t inLeft = text.size();
  std::string out(16, '\0');
  std::size_t used = 0;
  if (runIconv(cd, in, inLeft, out, used) != 0) return "?";
  char* outPtr = out.data() + used;
  std::size_t outLeft = out.size() - used;
  iconv(cd, nullptr, nullptr, &outPtr, &outLeft);
  out.resize(static_cast<std::size_t>(outPtr - out.data()));
  return out;
}

}  // namespace

bool isWideCodePage(int page) {
  return page == kCodePageUtf16Le || page == kCodePageUtf16Be || page == kCodePageUtf32Le ||
         page == kCodePageUtf32Be || page == kCodePageUtf32;
}

bool isCodePageSupported(int page) { return !iconvName(page).empty(); }

bool convertCodePage(std::string_view text, int fromPage, int toPage, std::string& out, bool* lossy) {
  out.clear();
  if (lossy) *lossy = false;
  std::string fromName = iconvName(fromPage);
  std::string toName = iconvName(toPage);
  if (fromName.empty() || toName.empty()) return false;
  if (fromPage == toPage || fromName == toName) {
    out.assign(text);
    return true;
  }
  iconv_t cd = iconvCache().get(toName, fromName);
  if (isBadDescriptor(cd)) return false;
  out.resize(text.size() + text.size() / 2 + 64);
  std::size_t used = 0;
  const char* in = text.data();
  std::size_t inLeft = text.size();
  std::string question;   // "?" in the target page
  std::string malformed;  // replacement of malformed source bytes
  while (true) {
    int err = runIconv(cd, in, inLeft, out, used);
    if (err == 0) break;
    if (question.empty()) {
      question = encodeLiteral(toName, "?");
      malformed = isUnicodePage(toPage) ? encodeLiteral(toName, "\xEF\xBF\xBD") : question;
    }
    if (lossy) *lossy = true;
    std::size_t skip = 1;
    const std::string* replacement = &malformed;
    if (err == EILSEQ) {
      // Either the source bytes are malformed or the target cannot hold the
      // character: decoding the one character alone tells which.
      iconv_t decode = iconvCache().get("UTF-32LE", fromName);
      if (!isBadDescriptor(decode)) {
        const char* probe = in;
        std::size_t probeLeft = inLeft;
        char buffer[8];
        char* bufferPtr = buffer;
        std::size_t bufferLeft = 4;  // room for exactly one character
        iconv(decode, const_cast<char**>(&probe), &probeLeft, &bufferPtr, &bufferLeft);
        if (bufferLeft == 0 && probe > in) {
          skip = static_cast<std::size_t>(probe - in);
          replacement = &question;
        }
      }
    } else if (err == EINVAL) {
      skip = inLeft;  // an incomplete character at the end
    } else {
      out.clear();
      return false;
    }
    if (out.size() - used < replacement->size() + 16) out.resize(out.size() * 2 + 64);
    std::memcpy(out.data() + used, replacement->data(), replacement->size());
    used += replacement->size();
    skip = std::min(skip, inLeft);
    in += skip;
    inLeft -= skip;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
  }
  char* outPtr = out.data() + used;
  std::size_t outLeft = out.size() - used;
  if (outLeft < 16) {
    out.resize(out.size() + 16);
    outPtr = out.data() + used;
    outLeft = out.size() - used;
  }
  iconv(cd, nullptr, nullptr, &outPtr, &outLeft);  // shift sequences of stateful pages
  out.resize(static_cast<std::size_t>(outPtr - out.data()));
  return true;
}

namespace {

std::string convertOrKeep(std::string_view text, int fromPage, int toPage, bool* lossy) {
  std::string out;
  if (!convertCodePage(text, fromPage, toPage, out, lossy)) out.assign(text);
  return out;
}

constexpr int hostUtf16Page() {
  return std::endian::native == std::endian::little ? kCodePageUtf16Le : kCodePageUtf16Be;
}

}  // namespace

std::string ansiToUtf8(std::string_view text) {
  return convertOrKeep(text, ansiCodePage(), kCodePageUtf8, nullptr);
}

std::string utf8ToAnsi(std::string_view text, bool* lossy) {
  return convertOrKeep(text, kCodePageUtf8, ansiCodePage(), lossy);
}

std::u16string toUtf16(std::string_view text, int codePage, bool* lossy) {
  std::string bytes;
  if (!convertCodePage(text, codePage, hostUtf16Page(), bytes, lossy)) {
    // An unknown page: the bytes are taken one by one.
    if (lossy) *lossy = false;
    return std::u16string(text.begin(), text.end());
  }
  std::u16string out(bytes.size() / 2, u'\0');
  std::memcpy(out.data(), bytes.data(), out.size() * 2);
  return out;
}

std::string fromUtf16(std::u16string_view text, int codePage, bool* lossy) {
  std::string_view bytes(reinterpret_cast<const char*>(text.data()), text.size() * 2);
  std::string out;
  if (!convertCodePage(bytes, hostUtf16Page(), codePage, out, lossy)) {
    out.clear();
    for (char16_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
  }
  return out;
}

std::u16string ansiToUtf16(std::string_view text) { return toUtf16(text, ansiCodePage()); }

std::string utf16ToAnsi(std::u16string_view text, bool* lossy) {
  return fromUtf16(text, ansiCodePage(), lossy);
}

namespace {

void appendUtf8(std::string& out, char32_t c) {
  if (c < 0x80) {
    out.push_back(static_cast<char>(c));
  } else if (c < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (c >> 6)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else if (c < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (c >> 12)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (c >> 18)));
    out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
  }
}

}  // namespace

namespace {

// Pages in which every ASCII character is its own single byte.
bool isAsciiCompatible(int page) {
  return page == kCodePageUtf8 || page == kCodePageAscii || page == 936 || page == 950 ||
         page == 932 || page == 949 || page == 54936 || page == 1361 || page == 874 ||
         (page >= 1250 && page <= 1258) || (page >= 28591 && page <= 28605) ||
         (page >= 437 && page <= 869) || page == 51932 || page == 51949 || page == 10000 ||
         page == 20866 || page == 21866;
}

}  // namespace

void appendCodePoint(std::string& out, char32_t c, int codePage) {
  if (c == 0 || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
    out.push_back('?');
    return;
  }
  if (codePage == kCodePageUtf8 || (c < 0x80 && isAsciiCompatible(codePage))) {
    appendUtf8(out, c);
    return;
  }
  std::string utf8;
  appendUtf8(utf8, c);
  std::string converted;
  bool lossy = false;
  if (convertCodePage(utf8, kCodePageUtf8, codePage, converted, &lossy)) out += converted;
  else out.push_back('?');
}

bool isValidUtf8(std::string_view text) {
  const auto* s = reinterpret_cast<const unsigned char*>(text.data());
  std::size_t n = text.size();
  std::size_t i = 0;
  while (i < n) {
    // ASCII runs go eight bytes at a time.
    while (i + 8 <= n) {
      std::uint64_t word;
      std::memcpy(&word, s + i, 8);
      if (word & 0x8080808080808080ULL) break;
      i += 8;
    }
    if (i >= n) break;
    unsigned char c = s[i];
    if (c < 0x80) {
      ++i;
      continue;
    }
    std::size_t len;
    unsigned char lo = 0x80, hi = 0xBF;  // allowed range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      len = 2;
    } else if (c >= 0xE0 && c <= 0xEF) {
      len = 3;
      if (c == 0xE0) lo = 0xA0;  // overlong
      if (c == 0xED) hi = 0x9F;  // surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      len = 4;
      if (c == 0xF0) lo = 0x90;  // overlong
      if (c == 0xF4) hi = 0x8F;  // above U+10FFFF
    } else {
      return false;
    }
    if (i + len > n) return false;
    if (s[i + 1] < lo || s[i + 1] > hi) return false;
    for (std::size_t k = 2; k < len; ++k)
      if ((s[i + k] & 0xC0) != 0x80) return false;
    i += len;
  }
  return true;
}

std::size_t charLengthAt(std::string_view text, std::size_t pos, int codePage) {
  if (pos >= text.size()) return 0;
  auto c = static_cast<unsigned char>(text[pos]);
  std::size_t len = 1;
  if (codePage == kCodePageUtf8) {
    if (c >= 0xF0) len = 4;
    else if (c >= 0xE0) len = 3;
    else if (c >= 0xC0) len = 2;
  } else if (codePage == 932) {
    if ((c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC)) len = 2;
  } else if (codePage == 54936) {
    if (c >= 0x81 && c <= 0xFE) {
      len = 2;
      if (pos + 1 < text.size() && text[pos + 1] >= '0' && text[pos + 1] <= '9') len = 4;
    }
  } else if (isDoubleBytePage(codePage) || codePage == 1361) {
    if (c >= 0x81 && c <= 0xFE) len = 2;
  }
  return std::min(len, text.size() - pos);
}

// ---------------------------------------------------------------------------
// Encoding names: the usual IANA and Windows aliases of the Windows pages.

namespace {

struct EncodingAlias {
  const char* name;  // lower case
  int page;
};

constexpr EncodingAlias kEncodingAliases[] = {
    // Unicode
    {"utf-8", 65001}, {"utf8", 65001}, {"unicode-1-1-utf-8", 65001}, {"unicode-2-0-utf-8", 65001},
    {"x-unicode20utf8", 65001}, {"x-unicode2-0-utf-8", 65001},
    {"utf-16", 1200}, {"utf16", 1200}, {"utf-16le", 1200}, {"unicode", 1200}, {"ucs-2", 1200},
    {"iso-10646-ucs-2", 1200}, {"csunicode", 1200}, {"unicodefeff", 1200},
    {"utf-16be", 1201}, {"unicodefffe", 1201}, {"ucs-2be", 1201},
    {"utf-32le", 12000}, {"utf-32be", 12001},
    {"utf-7", 65000}, {"unicode-1-1-utf-7", 65000}, {"unicode-2-0-utf-7", 65000},
    {"csunicode11utf7", 65000}, {"x-unicode2-0-utf-7", 65000},
    // ASCII and the ISO 8859 series
    {"us-ascii", 20127}, {"ascii", 20127}, {"us", 20127}, {"ansi_x3.4-1968", 20127},
    {"ansi_x3.4-1986", 20127}, {"iso646-us", 20127}, {"iso_646.irv:1991", 20127},
    {"iso-ir-6", 20127}, {"ibm367", 20127}, {"cp367", 20127}, {"csascii", 20127},
    {"iso-8859-1", 28591}, {"iso8859-1", 28591}, {"iso_8859-1", 28591}, {"iso_8859-1:1987", 28591},
    {"iso-ir-100", 28591}, {"latin1", 28591}, {"l1", 28591}, {"ibm819", 28591}, {"cp819", 28591},
    {"csisolatin1", 28591},
    {"iso-8859-2", 28592}, {"iso8859-2", 28592}, {"iso_8859-2", 28592}, {"iso_8859-2:1987", 28592},
    {"iso-ir-101", 28592}, {"latin2", 28592}, {"l2", 28592}, {"csisolatin2", 28592},
    {"iso-8859-3", 28593}, {"iso_8859-3", 28593}, {"iso_8859-3:1988", 28593}, {"iso-ir-109", 28593},
    {"latin3", 28593}, {"l3", 28593}, {"csisolatin3", 28593},
    {"iso-8859-4", 28594}, {"iso_8859-4", 28594}, {"iso_8859-4:1988", 28594}, {"iso-ir-110", 28594},
    {"latin4", 28594}, {"l4", 28594}, {"csisolatin4", 28594},
    {"iso-8859-5", 28595}, {"iso_8859-5", 28595}, {"iso_8859-5:1988", 28595}, {"iso-ir-144", 28595},
    {"cyrillic", 28595}, {"csisolatincyrillic", 28595},
    {"iso-8859-6", 28596}, {"iso_8859-6", 28596}, {"iso_8859-6:1987", 28596}, {"iso-ir-127", 28596},
    {"arabic", 28596}, {"csisolatinarabic", 28596}, {"ecma-114", 28596}, {"asmo-708", 708},
    {"iso-8859-7", 28597}, {"iso_8859-7", 28597}, {"iso_8859-7:1987", 28597}, {"iso-ir-126", 28597},
    {"greek", 28597}, {"greek8", 28597}, {"csisolatingreek", 28597}, {"ecma-118", 28597},
    {"elot_928", 28597},
    {"iso-8859-8", 28598}, {"iso_8859-8", 28598}, {"iso_8859-8:1988", 28598}, {"iso-ir-138", 28598},
    {"hebrew", 28598}, {"csisolatinhebrew", 28598}, {"iso-8859-8-i", 38598}, {"logical", 38598},
    {"visual", 28598},
    {"iso-8859-9", 28599}, {"iso_8859-9", 28599}, {"iso_8859-9:1989", 28599}, {"iso-ir-148", 28599},
    {"latin5", 28599}, {"l5", 28599}, {"csisolatin5", 28599},
    {"iso-8859-13", 28603}, {"iso-8859-15", 28605}, {"iso_8859-15", 28605}, {"latin-9", 28605},
    {"latin9", 28605}, {"l9", 28605}, {"csisolatin9", 28605},
    // Windows pages
    {"windows-1250", 1250}, {"x-cp1250", 1250}, {"cp1250", 1250},
    {"windows-1251", 1251}, {"x-cp1251", 1251}, {"cp1251", 1251},
    {"windows-1252", 1252}, {"x-ansi", 1252}, {"cp1252", 1252},
    {"windows-1253", 1253}, {"cp1253", 1253}, {"windows-1254", 1254}, {"cp1254", 1254},
    {"windows-1255", 1255}, {"cp1255", 1255}, {"windows-1256", 1256}, {"cp1256", 1256},
    {"windows-1257", 1257}, {"cp1257", 1257}, {"windows-1258", 1258}, {"cp1258", 1258},
    {"windows-874", 874}, {"cp874", 874}, {"tis-620", 874}, {"dos-874", 874}, {"iso-8859-11", 874},
    // DOS pages
    {"ibm437", 437}, {"cp437", 437}, {"437", 437}, {"cspc8codepage437", 437},
    {"ibm737", 737}, {"cp737", 737}, {"ibm775", 775}, {"cp775", 775}, {"cspc775baltic", 775},
    {"ibm850", 850}, {"cp850", 850}, {"850", 850}, {"cspc850multilingual", 850},
    {"ibm852", 852}, {"cp852", 852}, {"852", 852}, {"cspcp852", 852},
    {"ibm855", 855}, {"cp855", 855}, {"ibm857", 857}, {"cp857", 857}, {"csibm857", 857},
    {"ibm00858", 858}, {"cp858", 858}, {"ibm860", 860}, {"cp860", 860}, {"csibm860", 860},
    {"ibm861", 861}, {"cp861", 861}, {"csibm861", 861}, {"ibm862", 862}, {"cp862", 862},
    {"dos-862", 862}, {"ibm863", 863}, {"cp863", 863}, {"csibm863", 863},
    {"ibm864", 864}, {"cp864", 864}, {"csibm864", 864}, {"ibm865", 865}, {"cp865", 865},
    {"csibm865", 865}, {"ibm866", 866}, {"cp866", 866}, {"csibm866", 866},
    {"ibm869", 869}, {"cp869", 869}, {"csibm869", 869}, {"cp-gr", 869},
    {"koi8-r", 20866}, {"koi8", 20866}, {"koi", 20866}, {"cskoi8r", 20866}, {"koi8-u", 21866},
    {"koi8-ru", 21866}, {"macintosh", 10000}, {"mac", 10000}, {"x-mac-roman", 10000},
    {"csmacintosh", 10000},
    // East Asian multi-byte sets
    {"gb2312", 936}, {"gbk", 936}, {"cp936", 936}, {"ms936", 936}, {"windows-936", 936},
    {"csgb2312", 936}, {"gb_2312-80", 936}, {"gb2312-80", 936}, {"iso-ir-58", 936}, {"chinese", 936},
    {"csiso58gb231280", 936}, {"x-gbk", 936}, {"euc-cn", 936}, {"x-euc-cn", 936},
    {"gb18030", 54936}, {"hz-gb-2312", 52936},
    {"big5", 950}, {"big-5", 950}, {"cn-big5", 950}, {"x-x-big5", 950}, {"csbig5", 950},
    {"cp950", 950}, {"ms950", 950}, {"windows-950", 950},
    {"shift_jis", 932}, {"shift-jis", 932}, {"sjis", 932}, {"ms_kanji", 932}, {"csshiftjis", 932},
    {"x-sjis", 932}, {"x-ms-cp932", 932}, {"cp932", 932}, {"ms932", 932}, {"windows-31j", 932},
    {"euc-jp", 51932}, {"x-euc-jp", 51932}, {"x-euc", 51932}, {"cseucpkdfmtjapanese", 51932},
    {"extended_unix_code_packed_format_for_japanese", 51932},
    {"iso-2022-jp", 50220}, {"csiso2022jp", 50221},
    {"ks_c_5601-1987", 949}, {"ks_c_5601-1989", 949}, {"ks_c_5601", 949}, {"ks_c_5601_1987", 949},
    {"ksc_5601", 949}, {"ksc5601", 949}, {"korean", 949}, {"csksc56011987", 949},
    {"iso-ir-149", 949}, {"cp949", 949}, {"ms949", 949}, {"windows-949", 949}, {"uhc", 949},
    {"euc-kr", 51949}, {"cseuckr", 51949}, {"iso-2022-kr", 50225}, {"csiso2022kr", 50225},
    {"johab", 1361},
    // EBCDIC pages
    {"ibm037", 37}, {"cp037", 37}, {"ebcdic-cp-us", 37}, {"ebcdic-cp-ca", 37}, {"ebcdic-cp-wt", 37},
    {"ebcdic-cp-nl", 37}, {"csibm037", 37},
    {"ibm500", 500}, {"cp500", 500}, {"ebcdic-cp-be", 500}, {"ebcdic-cp-ch", 500}, {"csibm500", 500},
    {"ibm1026", 1026}, {"cp1026", 1026}, {"csibm1026", 1026}, {"ibm01047", 1047}, {"ibm1047", 1047},
    {"ibm273", 20273}, {"cp273", 20273}, {"csibm273", 20273}, {"ibm277", 20277}, {"cp277", 20277},
    {"ebcdic-cp-dk", 20277}, {"ebcdic-cp-no", 20277}, {"ibm278", 20278}, {"cp278", 20278},
    {"ebcdic-cp-fi", 20278}, {"ebcdic-cp-se", 20278}, {"ibm280", 20280}, {"cp280", 20280},
    {"ebcdic-cp-it", 20280}, {"ibm284", 20284}, {"cp284", 20284}, {"ebcdic-cp-es", 20284},
    {"ibm285", 20285}, {"cp285", 20285}, {"ebcdic-cp-gb", 20285}, {"ibm290", 20290},
    {"cp290", 20290}, {"ibm297", 20297}, {"cp297", 20297}, {"ebcdic-cp-fr", 20297},
    {"ibm420", 20420}, {"cp420", 20420}, {"ebcdic-cp-ar1", 20420}, {"ibm423", 20423},
    {"cp423", 20423}, {"ibm424", 20424}, {"cp424", 20424}, {"ebcdic-cp-he", 20424},
    {"ibm871", 20871}, {"cp871", 20871}, {"ebcdic-cp-is", 20871}, {"ibm880", 20880},
    {"cp880", 20880}, {"ibm905", 20905}, {"cp905", 20905}, {"ebcdic-cp-tr", 20905},
    {"ibm00924", 20924}, {"ibm01140", 1140}, {"ibm01141", 1141}, {"ibm01142", 1142},
    {"ibm01143", 1143}, {"ibm01144", 1144}, {"ibm01145", 1145}, {"ibm01146", 1146},
    {"ibm01147", 1147}, {"ibm01148", 1148}, {"ibm01149", 1149}, {"cp875", 875}, {"ibm875", 875},
};

}  // namespace

int codePageFromEncodingName(std::string_view name) {
  constexpr std::size_t kMaxNameLength = 99;
  if (name.empty() || name.size() > kMaxNameLength) return -1;
  std::string lower(name);
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (lower == "utf-32") return kCodePageUtf32;
  static const std::unordered_map<std::string_view, int> table = [] {
    std::unordered_map<std::string_view, int> t;
    for (const auto& alias : kEncodingAliases) t.emplace(alias.name, alias.page);
    return t;
  }();
  auto it = table.find(lower);
  return it == table.end() ? -1 : it->second;
}

}  // namespace trazmark
