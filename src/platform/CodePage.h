#pragma once
// Code pages. Texts live in memory as byte strings in the system's ANSI code
// page: 65001 (UTF-8) on a UTF-8 locale, or the page named by the environment
// variable TRAZMARK_CODEPAGE (936 exchanges byte-identical files with older
// systems). XML is UTF-8 on disk; the Qt boundary converts.

#include <cstddef>
#include <string>
#include <string_view>

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

constexpr int kCodePageUtf16Le = 1200;
constexpr int kCodePageUtf16Be = 1201;
constexpr int kCodePageUtf32Le = 12000;
constexpr int kCodePageUtf32Be = 12001;
constexpr int kCodePageUtf32 = 65005;  // "UTF-32": little-endian, no byte-order mark
constexpr int kCodePageAscii = 20127;

/// Whether iconv can convert to and from code page `codePage`.
bool isCodePageSupported(int codePage);

/// Whether `codePage` is one of the UTF-16 or UTF-32 pages (not 8-bit text).
bool isWideCodePage(int codePage);

/// Converts `text` from code page `fromPage` to code page `toPage` into `out`.
/// Malformed source bytes and characters that the target page cannot hold are
/// replaced ("?" in the target, U+FFFD for malformed bytes into a Unicode page)
/// and set `*lossy`. Returns false, with `out` empty, when iconv does not know
/// one of the two pages. Equal pages copy the bytes unchanged.
bool convertCodePage(std::string_view text, int fromPage, int toPage, std::string& out,
                     bool* lossy = nullptr);

/// Conversions with the ANSI code page in force. When iconv cannot handle a
/// page the bytes are returned unchanged.
std::string ansiToUtf8(std::string_view text);
std::string utf8ToAnsi(std::string_view text, bool* lossy = nullptr);
std::u16string ansiToUtf16(std::string_view text);
std::string utf16ToAnsi(std::u16string_view text, bool* lossy = nullptr);

/// UTF-16 (host byte order) from and to any code page.
std::u16string toUtf16(std::string_view text, int codePage, bool* lossy = nullptr);
std::string fromUtf16(std::u16string_view text, int codePage, bool* lossy = nullptr);

/// Appends Unicode character `codePoint` in code page `codePage` ("?" when the
/// page cannot hold it or it is no character).
void appendCodePoint(std::string& out, char32_t codePoint, int codePage);

/// Whether `text` is well-formed UTF-8 (no overlong forms, no surrogates,
/// nothing above U+10FFFF).
bool isValidUtf8(std::string_view text);

/// Number of bytes (at least 1, at most what is left) of the character that
/// starts at `pos` in code page `codePage`: a lead byte of a double-byte page
/// takes its trail byte with it, a UTF-8 lead byte its continuation bytes.
std::size_t charLengthAt(std::string_view text, std::size_t pos, int codePage);

/// Code page number of an encoding name ("UTF-8", "gb2312", "ISO-8859-1",
/// "windows-1252", "cp936", "Shift_JIS", ...), compared without regard to
/// letter case. "UTF-32" gives 65005; an unknown name gives -1.
int codePageFromEncodingName(std::string_view name);

}  // namespace trazmark
