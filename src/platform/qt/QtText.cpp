#include "platform/qt/QtText.h"

#include <QFile>
#include <iconv.h>

#include <cerrno>
#include <vector>

#include "platform/CodePage.h"

namespace trazmark {
namespace {

// iconv between the ANSI page and UTF-8; `fallback` replaces a byte sequence
// that the target cannot hold, so a text is never cut short at a bad byte.
std::string convert(const std::string& in, const char* from, const char* to, const char* fallback) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) return in;
  std::string out;
  std::vector<char> buffer(in.size() * 4 + 16);
  char* src = const_cast<char*>(in.data());
  std::size_t srcLeft = in.size();
  while (srcLeft > 0) {
    char* dst = buffer.data();
    std::size_t dstLeft = buffer.size();
    std::size_t rc = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    out.append(buffer.data(), static_cast<std::size_t>(dst - buffer.data()));
    if (rc == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) continue;
      // An invalid or unconvertible sequence: replace one byte and go on.
      out += fallback;
      ++src;
      --srcLeft;
    }
  }
  iconv_close(cd);
  return out;
}

std::string codePageName(int codePage) {
  if (codePage == kCodePageGbk) return "GBK";
  return "CP" + std::to_string(codePage);
}

}  // namespace

QString toQt(const std::string& ansi) {
  int page = ansiCodePage();
  if (page == kCodePageUtf8) return QString::fromUtf8(ansi.data(), static_cast<qsizetype>(ansi.size()));
  std::string utf8 = convert(ansi, codePageName(page).c_str(), "UTF-8", "\xEF\xBF\xBD");
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

std::string fromQt(const QString& text) {
  QByteArray utf8 = text.toUtf8();
  std::string s(utf8.constData(), static_cast<std::size_t>(utf8.size()));
  int page = ansiCodePage();
  if (page == kCodePageUtf8) return s;
  return convert(s, "UTF-8", codePageName(page).c_str(), "?");
}

std::string pathFromQt(const QString& path) { return QFile::encodeName(path).toStdString(); }

QString pathToQt(const std::string& path) {
  return QFile::decodeName(QByteArray(path.data(), static_cast<qsizetype>(path.size())));
}

}  // namespace trazmark
