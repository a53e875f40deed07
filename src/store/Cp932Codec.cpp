#include "store/Cp932Codec.h"

#include <unicode/ucnv.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>

namespace zentabo {
namespace {

constexpr char16_t kReplacement = 0xFFFD;
constexpr std::uint16_t kNoBytes = 0xFFFF;  // no code page 932 code is FFFF

constexpr bool IsLead(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool IsTrail(unsigned char b) {
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}
constexpr int LeadIndex(unsigned char b) {
    return b <= 0x9F ? b - 0x81 : b - 0xE0 + 31;
}
constexpr int kLeadCount = 60;

// Lookup tables taken once from ICU's "windows-31j" converter. Converting through
// tables rather than ICU callbacks keeps the bad-byte rules ours and the speed
// independent of how often a page holds odd bytes.
struct Tables {
    std::array<char16_t, 256> single{};  // U+FFFD for lead and unassigned bytes
    std::array<std::array<char16_t, 256>, kLeadCount> pair{};  // 0: unassigned
    std::array<std::uint16_t, 0x10000> encode{};  // byte or lead<<8|trail, kNoBytes if none
    // The UTF-8 path's view of the same tables, see PackUtf8: one load per character.
    std::array<std::uint32_t, 256> singleUtf8{};
    std::array<std::array<std::uint32_t, 256>, kLeadCount> pairUtf8{};

    Tables() {
        UErrorCode err = U_ZERO_ERROR;
        std::unique_ptr<UConverter, void (*)(UConverter*)> cnv(ucnv_open("windows-31j", &err),
                                                               ucnv_close);
        if (U_FAILURE(err)) throw std::runtime_error("ICU converter windows-31j is missing");
        ucnv_setToUCallBack(cnv.get(), UCNV_TO_U_CALLBACK_STOP, nullptr, nullptr, nullptr, &err);
        ucnv_setFromUCallBack(cnv.get(), UCNV_FROM_U_CALLBACK_STOP, nullptr, nullptr, nullptr,
                              &err);
        encode.fill(kNoBytes);

        auto toUnicode = [&](const char* bytes, int len) -> char16_t {
            UChar out[4];
            UErrorCode e = U_ZERO_ERROR;
            ucnv_resetToUnicode(cnv.get());
            int n = ucnv_toUChars(cnv.get(), out, 4, bytes, len, &e);
            return (U_SUCCESS(e) && n == 1) ? out[0] : 0;
        };
        // The canonical bytes of a character: where several codes decode to one
        // character (NEC and IBM duplicates), ICU's reverse table picks one.
        auto fromUnicode = [&](char16_t u) -> std::uint16_t {
            char out[4];
            UErrorCode e = U_ZERO_ERROR;
            ucnv_resetFromUnicode(cnv.get());
            UChar in = u;
            int n = ucnv_fromUChars(cnv.get(), out, 4, &in, 1, &e);
            if (U_FAILURE(e)) return kNoBytes;
            if (n == 1) return static_cast<unsigned char>(out[0]);
            if (n == 2) {
                return static_cast<std::uint16_t>(static_cast<unsigned char>(out[0]) << 8 |
                                                  static_cast<unsigned char>(out[1]));
            }
            return kNoBytes;
        };

        for (int b = 0; b < 256; ++b) {
            single[b] = kReplacement;
            if (b < 0x80) {
                // Microsoft's table keeps all of ASCII in place; ICU's IBM heritage
                // swaps 1A, 1C and 7F, which would change control bytes on a round trip.
                single[b] = static_cast<char16_t>(b);
                encode[b] = static_cast<std::uint16_t>(b);
                continue;
            }
            if (IsLead(static_cast<unsigned char>(b))) continue;
            char c = static_cast<char>(b);
            char16_t u = toUnicode(&c, 1);
            if (u != 0) {
                single[b] = u;
                encode[u] = fromUnicode(u);
            }
        }
        for (int lead = 0x81; lead <= 0xFC; ++lead) {
            if (!IsLead(static_cast<unsigned char>(lead))) continue;
            auto& row = pair[LeadIndex(static_cast<unsigned char>(lead))];
            for (int trail = 0x40; trail <= 0xFC; ++trail) {
                if (!IsTrail(static_cast<unsigned char>(trail))) continue;
                char two[2] = {static_cast<char>(lead), static_cast<char>(trail)};
                char16_t u = toUnicode(two, 2);
                if (u == 0 || (u >= 0xD800 && u <= 0xDFFF)) continue;
                row[trail] = u;
                if (encode[u] == kNoBytes) encode[u] = fromUnicode(u);
            }
        }
        for (int b = 0x80; b < 256; ++b) {
            if (IsLead(static_cast<unsigned char>(b)) || single[b] == kReplacement) continue;
            singleUtf8[b] = PackUtf8(single[b], encode[single[b]] == b);
        }
        for (int lead = 0; lead < kLeadCount; ++lead) {
            int leadByte = lead < 31 ? lead + 0x81 : lead - 31 + 0xE0;
            for (int trail = 0; trail < 256; ++trail) {
                char16_t u = pair[lead][trail];
                if (u != 0)
                    pairUtf8[lead][trail] = PackUtf8(u, encode[u] == (leadByte << 8 | trail));
            }
        }
    }

    // UTF-8 bytes in the low three bytes (first byte lowest), their count in bits
    // 24-25, bit 26 set when the character encodes back to the same bytes; 0: none.
    static constexpr std::uint32_t kExactBit = 1u << 26;
    static std::uint32_t PackUtf8(char16_t u, bool exact) {
        std::uint32_t v;
        std::uint32_t len;
        if (u < 0x80) {
            v = u, len = 1;
        } else if (u < 0x800) {
            v = (0xC0u | (u >> 6)) | (0x80u | (u & 0x3F)) << 8, len = 2;
        } else {
            v = (0xE0u | (u >> 12)) | (0x80u | ((u >> 6) & 0x3F)) << 8 | (0x80u | (u & 0x3F)) << 16;
            len = 3;
        }
        return v | len << 24 | (exact ? kExactBit : 0);
    }
};

const Tables& GetTables() {
    static const Tables tables;
    return tables;
}

// Decodes the character starting at bytes[i]; sets `used` to the bytes consumed and
// `exact` to whether encoding the result gives these bytes back. Returns 0 with
// used == 2 for an unassigned pair, which stands for two U+FFFD.
inline char16_t DecodeAt(const Tables& t, const unsigned char* p, std::size_t n, std::size_t i,
                         std::size_t& used, bool& exact) {
    unsigned char b = p[i];
    if (b < 0x80) {
        used = 1;
        exact = true;
        return b;
    }
    if (!IsLead(b)) {
        used = 1;
        char16_t u = t.single[b];
        exact = u != kReplacement;
        return u;
    }
    exact = false;
    if (i + 1 < n) {
        unsigned char trail = p[i + 1];
        char16_t u = t.pair[LeadIndex(b)][trail];
        if (u != 0) {
            used = 2;
            exact = t.encode[u] == (b << 8 | trail);
            return u;
        }
        if (IsTrail(trail)) {
            // A well-formed pair the table leaves unassigned: the editor treats it as
            // one double-byte character, so both bytes show as bad, the trail byte
            // never as a character of its own. The caller emits the second U+FFFD.
            used = 2;
            return 0;
        }
    }
    // A lead byte without a trail byte it can pair with is bad on its own; the next
    // byte is decoded as itself, so a stray lead byte never swallows a character.
    used = 1;
    return kReplacement;
}

inline void PutUtf8(char*& o, char16_t u) {
    if (u < 0x80) {
        *o++ = static_cast<char>(u);
    } else if (u < 0x800) {
        *o++ = static_cast<char>(0xC0 | (u >> 6));
        *o++ = static_cast<char>(0x80 | (u & 0x3F));
    } else {
        *o++ = static_cast<char>(0xE0 | (u >> 12));
        *o++ = static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        *o++ = static_cast<char>(0x80 | (u & 0x3F));
    }
}

inline void AppendBytes(std::string& out, std::uint16_t code) {
    if (code > 0xFF) out.push_back(static_cast<char>(code >> 8));
    out.push_back(static_cast<char>(code & 0xFF));
}

// Encodes one code point, or records it as unmappable.
inline void EncodeOne(const Tables& t, char32_t cp, std::size_t offset, Cp932EncodeResult& r) {
    std::uint16_t code = cp < 0x10000 ? t.encode[cp] : kNoBytes;
    if (code == kNoBytes) {
        r.unmappable.push_back({offset, cp});
    } else {
        AppendBytes(r.bytes, code);
    }
}

// Decodes one UTF-8 sequence at s[i]; returns the code point or U+FFFD with used = 1
// for a malformed sequence (overlong, surrogate, beyond U+10FFFF, truncated).
inline char32_t DecodeUtf8At(const unsigned char* s, std::size_t n, std::size_t i,
                             std::size_t& used) {
    unsigned char b = s[i];
    used = 1;
    if (b < 0x80) return b;
    int len;
    char32_t cp;
    char32_t min;
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2, cp = b & 0x1F, min = 0x80;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3, cp = b & 0x0F, min = 0x800;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4, cp = b & 0x07, min = 0x10000;
    } else {
        return kReplacement;
    }
    if (i + len > n) return kReplacement;
    for (int k = 1; k < len; ++k) {
        unsigned char c = s[i + k];
        if ((c & 0xC0) != 0x80) return kReplacement;
        cp = cp << 6 | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return kReplacement;
    used = len;
    return cp;
}

}  // namespace

std::u16string Cp932ToUtf16(std::string_view bytes) {
    const Tables& t = GetTables();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    std::u16string out;
    out.reserve(n);
    std::size_t used;
    bool exact;
    for (std::size_t i = 0; i < n; i += used) {
        char16_t u = DecodeAt(t, p, n, i, used, exact);
        if (u == 0 && used == 2) {
            out.push_back(kReplacement);
            u = kReplacement;
        }
        out.push_back(u);
    }
    return out;
}

std::string Cp932ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    AppendCp932ToUtf8(bytes, out);
    return out;
}

bool Cp932ToUtf8Lossless(std::string_view bytes, std::string& utf8) {
    utf8.clear();
    utf8.reserve(bytes.size() + bytes.size() / 2);
    return AppendCp932ToUtf8(bytes, utf8);
}

bool AppendCp932ToUtf8(std::string_view bytes, std::string& utf8) {
    const Tables& t = GetTables();
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    // Converted in chunks through a local buffer: writing through a pointer is much
    // faster than growing the string a byte at a time. Every input byte gives at most
    // three output bytes, and a chunk may end one byte late on a pair.
    constexpr std::size_t kChunk = 16384;
    char buffer[kChunk * 3 + 64];
    bool allExact = true;
    std::size_t i = 0;
    while (i < n) {
        const std::size_t end = std::min(n, i + kChunk);
        char* o = buffer;
        while (i < end) {
            // Eight ASCII bytes at a time: markup is mostly ASCII.
            if (i + 8 <= n) {
                std::uint64_t eight;
                std::memcpy(&eight, p + i, 8);
                if ((eight & 0x8080808080808080ull) == 0) {
                    std::memcpy(o, &eight, 8);
                    o += 8;
                    i += 8;
                    continue;
                }
            }
            unsigned char b = p[i];
            if (b < 0x80) {
                *o++ = static_cast<char>(b);
                ++i;
                continue;
            }
            std::uint32_t packed = 0;
            std::size_t width = 1;
            if (!IsLead(b)) {
                packed = t.singleUtf8[b];
            } else if (i + 1 < n) {
                packed = t.pairUtf8[LeadIndex(b)][p[i + 1]];
                width = 2;
            }
            if (packed != 0) {
                std::memcpy(o, &packed, 4);  // the buffer has room for the spare byte
                o += packed >> 24 & 3;
                allExact = allExact && (packed & Tables::kExactBit) != 0;
                i += width;
                continue;
            }
            // Bad bytes take the careful path.
            std::size_t used;
            bool exact;
            char16_t u = DecodeAt(t, p, n, i, used, exact);
            allExact = false;
            if (u == 0 && used == 2) {
                PutUtf8(o, kReplacement);
                u = kReplacement;
            }
            PutUtf8(o, u);
            i += used;
        }
        utf8.append(buffer, static_cast<std::size_t>(o - buffer));
    }
    return allExact;
}

Cp932EncodeResult Utf16ToCp932(std::u16string_view text) {
    const Tables& t = GetTables();
    Cp932EncodeResult r;
    r.bytes.reserve(text.size() * 2);
    const std::size_t n = text.size();
    for (std::size_t i = 0; i < n; ++i) {
        char16_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF && i + 1 < n && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF) {
            char32_t cp = 0x10000 + ((char32_t(u) - 0xD800) << 10) + (text[i + 1] - 0xDC00);
            r.unmappable.push_back({i, cp});
            ++i;
            continue;
        }
        EncodeOne(t, u, i, r);  // a lone surrogate has no bytes and is reported as itself
    }
    return r;
}

Cp932EncodeResult Utf8ToCp932(std::string_view utf8) {
    const Tables& t = GetTables();
    const auto* s = reinterpret_cast<const unsigned char*>(utf8.data());
    const std::size_t n = utf8.size();
    Cp932EncodeResult r;
    r.bytes.reserve(n);
    // No UTF-8 sequence is shorter than its code page 932 bytes, so a chunk's output
    // fits a buffer of the chunk's size (plus a sequence running past its end).
    constexpr std::size_t kChunk = 32768;
    char buffer[kChunk + 64];
    std::size_t i = 0;
    while (i < n) {
        const std::size_t end = std::min(n, i + kChunk);
        char* o = buffer;
        while (i < end) {
            if (i + 8 <= n) {
                std::uint64_t eight;
                std::memcpy(&eight, s + i, 8);
                if ((eight & 0x8080808080808080ull) == 0) {
                    std::memcpy(o, &eight, 8);
                    o += 8;
                    i += 8;
                    continue;
                }
            }
            if (s[i] < 0x80) {
                *o++ = static_cast<char>(s[i++]);
                continue;
            }
            std::size_t used;
            char32_t cp = DecodeUtf8At(s, n, i, used);
            std::uint16_t code = cp < 0x10000 ? t.encode[cp] : kNoBytes;
            if (code == kNoBytes) {
                r.unmappable.push_back({i, cp});
            } else {
                if (code > 0xFF) *o++ = static_cast<char>(code >> 8);
                *o++ = static_cast<char>(code & 0xFF);
            }
            i += used;
        }
        r.bytes.append(buffer, static_cast<std::size_t>(o - buffer));
    }
    return r;
}

}  // namespace zentabo
