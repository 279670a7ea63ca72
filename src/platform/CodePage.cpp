#include "platform/CodePage.h"

#include <atomic>
#include <clocale>
#include <cstdlib>
#include <cctype>
#include <cstring>
#include <langinfo.h>

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

}  // namespace trazmark
