#pragma once

// The page's answer to the editor's search callback: where findchr first occurs in
// str, as a 1-based byte position (0 for none). Only character starts are tried, so a
// match never begins on the second byte of a double-byte character.

#include <string_view>

namespace zentabo {

int FindInWindow(std::string_view str, std::string_view findchr, bool matchCase);

}  // namespace zentabo
