#pragma once

// Whether a line's bytes measure differently from what the view draws: a TAB widens to
// its tab stop and a NUL takes a blank cell (ExpandTabs). Without either the stored
// bytes can be measured in place.

#include <cstddef>
#include <cstring>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace zentabo {

// One pass for both bytes: every caret placement and every visible row asks this.
inline bool NeedsExpanding(std::string_view s) {
    const char* p = s.data();
    size_t n = s.size();
#if defined(__SSE2__)
    const __m128i tab = _mm_set1_epi8('\t');
    const __m128i nul = _mm_setzero_si128();
    for (; n >= 16; p += 16, n -= 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i hit = _mm_or_si128(_mm_cmpeq_epi8(v, tab), _mm_cmpeq_epi8(v, nul));
        if (_mm_movemask_epi8(hit) != 0) return true;
    }
#endif
    for (; n > 0; ++p, --n)
        if (*p == '\t' || *p == '\0') return true;
    return false;
}

}  // namespace zentabo
