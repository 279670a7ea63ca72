// Feeds arbitrary bytes to the horizontal alignment pages: as a list file
// (key points and stakes, at most 100,000 lines) and as a line-element file
// that the line-element page converts and calculates. Nothing may crash or
// hang, and every row read must have come from a line of its kind.

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "editors/FlatPages.h"
#include "platform/WarningSink.h"

using namespace trazmark;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::string folder = [] {
    setWarningSink([](const std::string&, const std::string&) {});
    std::string f = "/tmp/trazmark-fuzz-flat-" + std::to_string(::getpid());
    std::filesystem::create_directories(f);
    return f;
  }();
  const std::string text(reinterpret_cast<const char*>(data), size);

  for (int kind : {0, 2}) {
    const std::vector<FlatStakeRow> rows = CFlatPage::parseListText(text, kind);
    if (rows.size() > static_cast<std::size_t>(CFlatPage::kMaxListLines)) std::abort();
  }

  CFlatLineElementPage page{std::string()};
  page.roadName = "fuzz";
  page.folder = folder;
  parseLineElementText(text, page.data);
  if (page.data.elements.size() > 200) return 0;
  for (Road_LineElement& e : page.data.elements) {
    // Keep roads short enough that a calculation stays quick.
    if (!(e.Length >= 0 && e.Length < 1e5)) e.Length = 1;
  }
  page.calculate();
  return 0;
}
