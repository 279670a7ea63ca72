// Every language key the sources ask for has its text in both shipped
// language files. The keys are found by scanning the sources when the test
// runs, so a key added to the code without its texts fails here.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <set>
#include <string>

#include "platform/qt/LanguageFile.h"
#include "support/UiTestSupport.h"

namespace trazmark {
namespace {

namespace fs = std::filesystem;

// The quoted keys ("IDS_DATA_prompt", "IDS_WARN_...", "IDS_MENU_...") in the
// C++ sources under `folder`. A prefix that code completes ("IDS_DATA_plate_mode_")
// ends in an underscore and is no key.
std::set<std::string> keysUsedIn(const fs::path& folder) {
  static const std::regex kKey("\"(IDS_[A-Z]+_[A-Za-z0-9_]*[A-Za-z0-9])\"");
  std::set<std::string> keys;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) {
    const std::string extension = entry.path().extension().string();
    if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
    std::ifstream in(entry.path(), std::ios::binary);
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (std::sregex_iterator m(text.begin(), text.end(), kKey), end; m != end; ++m)
      keys.insert((*m)[1].str());
  }
  return keys;
}

// The keys of `keys` that the language file at `path` has no text for.
std::set<std::string> missingIn(const std::string& path, const std::set<std::string>& keys) {
  CLanguageFile file;
  file.setPath(path);
  std::set<std::string> missing;
  for (const std::string& key : keys)
    if (file.text(key).empty()) missing.insert(key);
  return missing;
}

std::string joined(const std::set<std::string>& keys) {
  std::string out;
  for (const std::string& key : keys) out += " " + key;
  return out;
}

TEST(LanguageKeys, EveryKeyTheSourcesUseHasATextInBothLanguageFiles) {
  const std::set<std::string> keys = keysUsedIn(fs::path(TRAZMARK_SOURCE_DIR) / "src");
  // The shell alone asks for dozens; a scan that finds few has lost its way.
  ASSERT_GE(keys.size(), 20u);
  EXPECT_TRUE(keys.count("IDS_DATA_prompt"));
  for (const char* name : {"Language.xml", "Language.en.xml"}) {
    const std::string path = std::string(TRAZMARK_SOURCE_DIR) + "/lang/" + name;
    EXPECT_EQ(joined(missingIn(path, keys)), "") << name << " has no text for these keys";
  }
}

TEST(LanguageKeys, TheScanFindsAKeyWithoutItsText) {
  test::ScratchFolder folder;
  fs::create_directories(folder.path("src/editors/qt"));
  test::writeFile(folder.path("src/editors/qt/NewView.cpp"),
                  "// shows \"IDS_WARN_select_element_first\"\n"
                  "dialogs.warn(\"IDS_WARN_brand_new_message\");\n"
                  "text(\"IDS_DATA_plate_mode_\" + n);  // a prefix\n"
                  "\"IDS_DATA_prompt\", \"IDS_WARN_with_digits_2\"\n");
  test::writeFile(folder.path("src/editors/qt/notes.txt"), "\"IDS_WARN_not_a_source\"\n");
  const std::set<std::string> keys = keysUsedIn(folder.path("src"));
  EXPECT_EQ(joined(keys),
            " IDS_DATA_prompt IDS_WARN_brand_new_message IDS_WARN_select_element_first"
            " IDS_WARN_with_digits_2");
  EXPECT_EQ(joined(missingIn(std::string(TRAZMARK_SOURCE_DIR) + "/lang/Language.en.xml", keys)),
            " IDS_WARN_brand_new_message IDS_WARN_with_digits_2");
}

}  // namespace
}  // namespace trazmark
