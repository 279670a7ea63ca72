#pragma once
// Named character references: the five of XML and the character entities of
// HTML 4, told apart by exact letter case (&Agrave; and &agrave; differ).

#include <string_view>

namespace trazmark {

/// The Unicode character of the reference name (without & and ;), or 0 when
/// the name is unknown.
char32_t namedEntityCodePoint(std::string_view name);

}  // namespace trazmark
