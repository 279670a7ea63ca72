// Start-up: the toolkit's own texts follow the chosen language.

#include <gtest/gtest.h>

#include "shell/TrazmarkApp.h"
#include "support/UiTestSupport.h"

namespace trazmark {
namespace {

TEST(TrazmarkApp, ToolkitTextsFollowTheChosenLanguage) {
  test::application();
  for (const char* chinese : {"", "zh"}) {
    std::unique_ptr<QTranslator> translator = CTrazmarkApp::loadToolkitTranslation(chinese);
    ASSERT_NE(translator, nullptr) << "the toolkit's translations are not installed";
    EXPECT_EQ(translator->translate("QPlatformTheme", "Cancel"), QString::fromUtf8("取消"));
    EXPECT_FALSE(translator->translate("QFileDialog", "File &name:").isEmpty());
  }
  // English is the toolkit's own; an unknown language keeps it too.
  EXPECT_EQ(CTrazmarkApp::loadToolkitTranslation("en"), nullptr);
  EXPECT_EQ(CTrazmarkApp::loadToolkitTranslation("xx"), nullptr);
}

}  // namespace
}  // namespace trazmark
