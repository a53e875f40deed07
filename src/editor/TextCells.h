#pragma once

// Whether a line's bytes measure differently from what the view draws: a TAB widens to
// its tab stop and a NUL takes a blank cell (ExpandTabs). Without either the stored
// bytes can be measured in place.

#include <cstring>
#include <string_view>

namespace zentabo {

inline bool NeedsExpanding(std::string_view s) {
    return std::memchr(s.data(), '\t', s.size()) != nullptr ||
           std::memchr(s.data(), '\0', s.size()) != nullptr;
}

}  // namespace zentabo
