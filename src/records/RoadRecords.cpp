#include "records/RoadRecords.h"

#include <cstring>

#include "platform/CodePage.h"

namespace trazmark {

std::string Road_Section_Item::moduleName() const {
  return std::string(ModuleName.data(), strnlen(ModuleName.data(), ModuleName.size()));
}

void Road_Section_Item::setModuleName(const std::string& name) {
  // A name stops at its first zero byte, as the stored field does.
  std::string text = name.substr(0, name.find('\0'));
  text = cutAtCharBoundary(text, kNameBytes - 1, ansiCodePage());
  ModuleName.fill('\0');
  std::memcpy(ModuleName.data(), text.data(), text.size());
}

}  // namespace trazmark
