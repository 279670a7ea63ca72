#pragma once
// Small text helpers shared by the program's line-oriented and XML files:
// numbers are always written and read with a dot, whatever the locale.

#include <cstdarg>
#include <functional>
#include <string>
#include <string_view>

namespace trazmark {

/// printf("%.Nf") with a dot as decimal separator.
std::string formatFixed(double value, int decimals);
/// printf into the end of `out`, with a dot as decimal separator.
void appendFormat(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
/// appendFormat with the arguments as a va_list.
void appendFormatV(std::string& out, const char* format, va_list args);

/// printf("%d").
std::string formatInt(long long value);

/// A decimal number at the start of `text` after leading white space, as the
/// C library reads it with a dot; text that is not a number gives 0.
double parseDecimal(std::string_view text);
/// A base-10 integer at the start of `text`; text that is not a number, or a
/// value beyond 32 bits, gives 0.
int parseInteger(std::string_view text);

/// `text` without leading and trailing white space.
std::string trimWhiteSpace(const std::string& text);

/// Calls `fn` for each line of `text`, at most `maxLines` times. A line ends
/// at the next line feed or, when no line feed is left, at the next carriage
/// return, and is cut at its first carriage return; text after the last line
/// end is not a line (a last line without a line end is not read).
void forEachLine(const std::string& text, int maxLines,
                 const std::function<void(const std::string&)>& fn);

}  // namespace trazmark
