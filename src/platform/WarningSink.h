#pragma once
// The alignment core shows exactly two fixed warnings ("道路元素不能少于2个!" and
// "交点必须大于3个！", caption "Warning"). They pass through this sink so the
// core needs no window: the shell installs a message box, tests a recorder, and
// the command-line tool prints to standard error.

#include <functional>
#include <string>

namespace trazmark {

/// Receives a warning: text and caption are byte strings in the ANSI code page.
using WarningSink = std::function<void(const std::string& text, const std::string& caption)>;

/// Installs a new sink and returns the previous one. An empty sink restores the
/// default, which writes "caption: text" to standard error.
WarningSink setWarningSink(WarningSink sink);

/// Hands a warning to the installed sink.
void showWarning(const std::string& text, const std::string& caption = "Warning");

}  // namespace trazmark
