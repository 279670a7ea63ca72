#pragma once
// Code pages. Texts live in memory as byte strings in the system's ANSI code
// page: 65001 (UTF-8) on a UTF-8 locale, or the page named by the environment
// variable TRAZMARK_CODEPAGE (936 exchanges byte-identical files with older
// systems). XML is UTF-8 on disk; the Qt boundary converts.

#include <cstddef>
#include <string>

namespace trazmark {

constexpr int kCodePageUtf8 = 65001;
constexpr int kCodePageGbk = 936;

/// The ANSI code page in force: TRAZMARK_CODEPAGE when set to a number,
/// else 65001 on a UTF-8 locale (and wherever the locale names no other page).
int ansiCodePage();

/// Overrides the ANSI code page for this process (tests, tools); 0 restores
/// the environment's choice.
void setAnsiCodePageOverride(int codePage);

/// The longest prefix of `text` of at most `maxBytes` bytes that does not end
/// inside a character of code page `codePage` (UTF-8 or a double-byte page).
std::string cutAtCharBoundary(const std::string& text, std::size_t maxBytes, int codePage);

}  // namespace trazmark
