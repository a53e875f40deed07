#include "app/FindCompare.h"

#include <array>
#include <climits>

namespace zentabo {
namespace {

constexpr bool IsLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr std::array<bool, 256> MakeLeadTable() {
    std::array<bool, 256> t{};
    for (int b = 0; b < 256; ++b) t[b] = IsLead(static_cast<unsigned char>(b));
    return t;
}

constexpr std::array<unsigned char, 256> MakeUpperTable() {
    std::array<unsigned char, 256> t{};
    for (int b = 0; b < 256; ++b)
        t[b] = static_cast<unsigned char>(b >= 'a' && b <= 'z' ? b - 0x20 : b);
    return t;
}

constexpr std::array<bool, 256> kLead = MakeLeadTable();
constexpr std::array<unsigned char, 256> kUpper = MakeUpperTable();

// Keys keep the character's width apart, so a lone lead byte at the end of the
// search text never equals a whole double-byte character of the line.
constexpr std::uint32_t kDoubleKey = 0x10000;
constexpr std::uint32_t kLoneLeadKey = 0x20000;

}  // namespace

std::uint16_t FoldDoubleByte(unsigned char lead, unsigned char trail) {
    unsigned l = lead, t = trail;
    switch (lead) {
        case 0x82:  // Ａ-Ｚ 8260-8279, ａ-ｚ 8281-829A
            if (t >= 0x81 && t <= 0x9A) t -= 0x21;
            break;
        case 0x83:  // Α-Ω 839F-83B6, α-ω 83BF-83D6
            if (t >= 0xBF && t <= 0xD6) t -= 0x20;
            break;
        case 0x84:  // А-Я 8440-8460, а-я 8470-8491 (no 847F)
            if (t >= 0x70 && t <= 0x7E) {
                t -= 0x30;
            } else if (t >= 0x80 && t <= 0x91) {
                t -= 0x31;
            }
            break;
        case 0xEE:  // ⅰ-ⅹ (NEC-selected IBM) EEEF-EEF8 -> Ⅰ-Ⅹ 8754-875D
            if (t >= 0xEF && t <= 0xF8) {
                l = 0x87;
                t = t - 0xEF + 0x54;
            }
            break;
        case 0xFA:  // ⅰ-ⅹ FA40-FA49 and the IBM Ⅰ-Ⅹ FA4A-FA53 -> 8754-875D
            if (t >= 0x40 && t <= 0x49) {
                l = 0x87;
                t = t - 0x40 + 0x54;
            } else if (t >= 0x4A && t <= 0x53) {
                l = 0x87;
                t = t - 0x4A + 0x54;
            }
            break;
        default:
            break;
    }
    return static_cast<std::uint16_t>(l << 8 | t);
}

std::uint32_t FindPattern::KeyAt(const unsigned char* p, std::size_t i, std::size_t n,
                                 std::size_t& width) const {
    const unsigned char b = p[i];
    if (!kLead[b]) {
        width = 1;
        return matchCase_ ? b : kUpper[b];
    }
    if (i + 1 >= n) {
        width = 1;
        return kLoneLeadKey | b;
    }
    width = 2;
    const unsigned char t = p[i + 1];
    return kDoubleKey |
           (matchCase_ ? static_cast<std::uint32_t>(b << 8 | t) : FoldDoubleByte(b, t));
}

void FindPattern::Assign(std::string_view findchr, bool matchCase) {
    assigned_ = true;
    matchCase_ = matchCase;
    text_.assign(findchr);
    keys_.clear();
    const auto* p = reinterpret_cast<const unsigned char*>(text_.data());
    for (std::size_t i = 0, width = 0; i < text_.size(); i += width)
        keys_.push_back(KeyAt(p, i, text_.size(), width));

    // Standard prefix function: how far a partial match can fall back without
    // rereading the line, which keeps long repetitive lines linear.
    fallback_.assign(keys_.size(), 0);
    for (std::size_t q = 1, k = 0; q < keys_.size(); ++q) {
        while (k > 0 && keys_[q] != keys_[k]) k = fallback_[k - 1];
        if (keys_[q] == keys_[k]) ++k;
        fallback_[q] = static_cast<int>(k);
    }
}

int FindPattern::Find(std::string_view str) const {
    const std::size_t m = keys_.size();
    // Positions are ints for the engine; a window that long cannot be addressed.
    const std::size_t n = str.size() < INT_MAX ? str.size() : INT_MAX - 1;
    if (m == 0 || n < text_.size()) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(str.data());
    const std::uint32_t* keys = keys_.data();
    const std::uint32_t first = keys[0];
    std::size_t j = 0;
    std::size_t i = 0;
    while (i < n) {
        std::size_t width;
        const std::uint32_t key = KeyAt(p, i, n, width);
        i += width;
        if (j == 0) {
            if (key != first) continue;
        } else {
            while (j > 0 && keys[j] != key) j = static_cast<std::size_t>(fallback_[j - 1]);
            if (keys[j] != key) continue;
        }
        if (++j == m) return static_cast<int>(i - text_.size()) + 1;
    }
    return 0;
}

int FindCompare(std::string_view str, std::string_view findchr, bool matchCase) {
    // The engine asks once per line with the same search text; preparing it once per
    // text keeps the per-line cost to the scan itself.
    thread_local FindPattern cache;
    if (!cache.Holds(findchr, matchCase)) cache.Assign(findchr, matchCase);
    return cache.Find(str);
}

}  // namespace zentabo
