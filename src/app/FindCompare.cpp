#include "app/FindCompare.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <iterator>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// Whether pos is a character start, given a character start `known` at or before it:
// the lead-byte-valued bytes right before pos pair up from the first of them.
bool IsCharStart(const unsigned char* p, std::size_t known, std::size_t pos) {
    std::size_t k = pos;
    while (k > known && kLead[p[k - 1]]) --k;
    return (pos - k) % 2 == 0;
}

constexpr std::uint64_t kOnes = 0x0101010101010101ULL;

constexpr bool HasZeroByte(std::uint64_t v) {
    return ((v - kOnes) & ~v & (kOnes << 7)) != 0;
}

}  // namespace

std::size_t FindPattern::NextProbe(const unsigned char* p, std::size_t from, std::size_t n) const {
    if (from >= n) return n;
    if (probeCount_ == 1) {
        const void* hit = std::memchr(p + from, static_cast<int>(probeWords_[0] & 0xFF), n - from);
        return hit ? static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - p) : n;
    }
    std::size_t i = from;
#if defined(__SSE2__)
    if (probeCount_ > 0) {
        // Sixteen bytes at a time; the mask tells the first probe byte at once.
        __m128i probes[4];
        for (int k = 0; k < probeCount_; ++k)
            probes[k] = _mm_set1_epi8(static_cast<char>(probeWords_[k] & 0xFF));
        for (; i + 16 <= n; i += 16) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
            __m128i hits = _mm_cmpeq_epi8(v, probes[0]);
            for (int k = 1; k < probeCount_; ++k)
                hits = _mm_or_si128(hits, _mm_cmpeq_epi8(v, probes[k]));
            if (const int mask = _mm_movemask_epi8(hits))
                return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(mask)));
        }
    }
#endif
    if (probeCount_ > 0) {
        // Eight bytes at a time until a word holds one of the probe bytes.
        for (; i + 8 <= n; i += 8) {
            std::uint64_t w;
            std::memcpy(&w, p + i, 8);
            bool hit = false;
            for (int k = 0; k < probeCount_; ++k) hit |= HasZeroByte(w ^ probeWords_[k]);
            if (hit) break;
        }
    }
    while (i < n && !probe_[p[i]]) ++i;
    return i;
}

std::size_t FindPattern::NextFirst(const unsigned char* p, std::size_t from, std::size_t n,
                                   std::size_t& boundary) const {
    const std::uint32_t first = keys_[0];
    if (first & kLoneLeadKey) {
        // A lone lead byte is a character only at the very end of the line.
        if (n == 0 || n - 1 < from || !IsCharStart(p, boundary, n - 1)) return n;
        return p[n - 1] == (first & 0xFF) ? n - 1 : n;
    }
    const std::size_t offset = firstIsDouble_ ? 1 : 0;
    for (std::size_t i = from + offset; (i = NextProbe(p, i, n)) < n; ++i) {
        const std::size_t start = i - offset;
        if (!IsCharStart(p, boundary, start)) {
            boundary = start - 1;  // start is a trail byte; its lead begins a character
            continue;
        }
        boundary = start;
        std::size_t width;
        if (KeyAt(p, start, n, width) == first) return start;
    }
    return n;
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

    firstIsDouble_ = !keys_.empty() && (keys_[0] & kDoubleKey);
    std::fill(std::begin(probe_), std::end(probe_), false);
    if (keys_.empty()) return;
    for (int b = 0; b < 256; ++b) {
        const auto byte = static_cast<unsigned char>(b);
        if (!firstIsDouble_) {
            probe_[b] = !kLead[byte] && (matchCase ? byte : kUpper[byte]) == keys_[0];
            continue;
        }
        // Every trail byte that some lead byte turns into the first key.
        for (int lead = 0x81; lead <= 0xFC && !probe_[b]; ++lead) {
            const auto l = static_cast<unsigned char>(lead);
            if (!kLead[l]) continue;
            const std::uint32_t key =
                matchCase ? static_cast<std::uint32_t>(lead << 8 | b) : FoldDoubleByte(l, byte);
            probe_[b] = (kDoubleKey | key) == keys_[0];
        }
    }
    // Up to four probe bytes are scanned word-wise; more fall back to the table.
    probeCount_ = 0;
    for (int b = 0; b < 256; ++b) {
        if (!probe_[b]) continue;
        if (probeCount_ == 4) {
            probeCount_ = 0;
            break;
        }
        probeWords_[probeCount_++] = kOnes * static_cast<std::uint64_t>(b);
    }
}

int FindPattern::Find(std::string_view str) const {
    const std::size_t m = keys_.size();
    // Positions are ints for the engine; a window that long cannot be addressed.
    const std::size_t n = str.size() < INT_MAX ? str.size() : INT_MAX - 1;
    if (m == 0 || n < text_.size()) return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(str.data());
    const std::uint32_t* keys = keys_.data();
    std::size_t boundary = 0;
    std::size_t j = 0;
    std::size_t i = 0;
    while (i < n) {
        if (j == 0) {
            // Nothing matched so far: skip ahead to the next possible first character.
            i = NextFirst(p, i, n, boundary);
            if (i >= n) return 0;
        }
        std::size_t width;
        const std::uint32_t key = KeyAt(p, i, n, width);
        i += width;
        while (j > 0 && keys[j] != key) j = static_cast<std::size_t>(fallback_[j - 1]);
        if (keys[j] == key) {
            if (++j == m) return static_cast<int>(i - text_.size()) + 1;
        }
        boundary = i;
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
