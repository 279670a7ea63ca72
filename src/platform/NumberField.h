#pragma once
// A number typed into a dialog field. Unlike the file readers, which take the
// leading number of a field and read anything else as 0, a dialog must refuse
// text that is not a number: a mistyped "1O50" read as 0 would put a chain or
// a change point hundreds of metres away from where the user meant.

#include <string>

namespace trazmark {

/// Reads `text` (surrounding white space allowed) as one finite decimal number
/// with a dot. False, and `value` unchanged, for empty text, text that is not
/// wholly a number, and infinities or NaN.
bool parseNumberField(const std::string& text, double& value);

}  // namespace trazmark
