// Compares the compare step with a slow reference that folds both texts through
// Unicode and tries every character boundary.
#include <unicode/uchar.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "app/FindCompare.h"
#include "store/Cp932Codec.h"

namespace {

bool IsLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

// Start offsets of the characters of s, plus s.size().
std::vector<std::size_t> Boundaries(const std::string& s) {
    std::vector<std::size_t> out;
    std::size_t i = 0;
    while (i < s.size()) {
        out.push_back(i);
        i += (IsLead(static_cast<unsigned char>(s[i])) && i + 1 < s.size()) ? 2 : 1;
    }
    out.push_back(s.size());
    return out;
}

// Each cased character replaced by the code of its capital, width kept.
std::string Fold(const std::string& s) {
    std::string out = s;
    const std::vector<std::size_t> b = Boundaries(s);
    for (std::size_t k = 0; k + 1 < b.size(); ++k) {
        const std::size_t at = b[k], width = b[k + 1] - at;
        if (width == 1) {
            if (out[at] >= 'a' && out[at] <= 'z') out[at] = static_cast<char>(out[at] - 0x20);
            continue;
        }
        const std::u16string u = zentabo::Cp932ToUtf16(s.substr(at, 2));
        if (u.size() != 1 || u[0] == 0xFFFD) continue;
        if (u_toupper(u[0]) == u[0] && u_tolower(u[0]) == u[0]) continue;
        const auto up = zentabo::Utf16ToCp932(std::u16string(1, char16_t(u_toupper(u[0]))));
        if (up.ok() && up.bytes.size() == 2) out.replace(at, 2, up.bytes);
    }
    return out;
}

int Reference(const std::string& str, const std::string& pat, bool matchCase) {
    if (pat.empty()) return 0;
    const std::string s = matchCase ? str : Fold(str);
    const std::string p = matchCase ? pat : Fold(pat);
    const std::vector<std::size_t> b = Boundaries(str);
    for (std::size_t start : b) {
        if (start + p.size() > s.size()) break;
        if (s.compare(start, p.size(), p) != 0) continue;
        bool endsOnBoundary = false;
        for (std::size_t e : b) endsOnBoundary |= (e == start + p.size());
        if (endsOnBoundary) return static_cast<int>(start) + 1;
    }
    return 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const bool matchCase = data[0] & 1;
    std::size_t patLen = data[1];
    if (patLen > size - 2) patLen = size - 2;
    const std::string pat(reinterpret_cast<const char*>(data + 2), patLen);
    const std::string str(reinterpret_cast<const char*>(data + 2 + patLen), size - 2 - patLen);
    const int got = zentabo::FindCompare(str, pat, matchCase);
    if (got != Reference(str, pat, matchCase)) std::abort();
    // A second search text between two calls must not leave anything behind.
    zentabo::FindCompare(pat, str, !matchCase);
    if (zentabo::FindCompare(str, pat, matchCase) != got) std::abort();
    return 0;
}
