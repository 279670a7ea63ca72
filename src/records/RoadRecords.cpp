#include "records/RoadRecords.h"

#include <cstring>

#include "platform/CodePage.h"

namespace trazmark {

std::string Road_Section_Item::moduleName() const {
  return std::string(ModuleName.data(), strnlen(ModuleName.data(), ModuleName.size()));
}

namespace {

// The longest prefix of `text` (code page `page`) whose code page 936 form
// fits in `maxBytes`; a text that code page 936 cannot hold is cut at
// `maxBytes` of its own page.
std::string cutToGbkBytes(const std::string& text, std::size_t maxBytes, int page) {
  if (page == kCodePageGbk) return cutAtCharBoundary(text, maxBytes, page);
  // A character takes no more bytes in code page 936 than in UTF-8, so a
  // UTF-8 name within the limit fits either way; the common case.
  if (page == kCodePageUtf8 && text.size() <= maxBytes) return text;
  std::string gbk;
  bool lossy = false;
  if (!convertCodePage(text, page, kCodePageGbk, gbk, &lossy) || lossy)
    return cutAtCharBoundary(text, maxBytes, page);
  if (gbk.size() <= maxBytes) return text;
  std::size_t pos = 0, used = 0;
  while (pos < text.size()) {
    const std::size_t length = charLengthAt(text, pos, page);
    if (!convertCodePage(std::string_view(text).substr(pos, length), page, kCodePageGbk, gbk))
      break;
    if (used + gbk.size() > maxBytes) break;
    used += gbk.size();
    pos += length;
  }
  return text.substr(0, pos);
}

}  // namespace

void Road_Section_Item::setModuleName(const std::string& name) {
  // A name stops at its first zero byte, as the stored field does.
  const int page = ansiCodePage();
  std::string text = cutToGbkBytes(name.substr(0, name.find('\0')), kNameBytes - 1, page);
  // Never beyond the field, whatever a code page makes of the bytes.
  text = cutAtCharBoundary(text, kStoredNameBytes - 1, page);
  ModuleName.fill('\0');
  std::memcpy(ModuleName.data(), text.data(), text.size());
}

}  // namespace trazmark
