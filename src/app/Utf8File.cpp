#include "app/Utf8File.h"

namespace zentabo {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF.
bool IsValidUtf8(std::string_view s, bool& anyMultiByte) {
    anyMultiByte = false;
    for (std::size_t i = 0; i < s.size();) {
        const unsigned char c = static_cast<unsigned char>(s[i]);
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t n;
        unsigned char low = 0x80, high = 0xBF;  // the allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            n = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            n = 3;
            if (c == 0xE0) low = 0xA0;
            if (c == 0xED) high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            n = 4;
            if (c == 0xF0) low = 0x90;
            if (c == 0xF4) high = 0x8F;
        } else {
            return false;
        }
        if (s.size() - i < n) return false;
        const unsigned char second = static_cast<unsigned char>(s[i + 1]);
        if (second < low || second > high) return false;
        for (std::size_t k = 2; k < n; ++k) {
            if (!IsContinuation(static_cast<unsigned char>(s[i + k]))) return false;
        }
        anyMultiByte = true;
        i += n;
    }
    return true;
}

}  // namespace

Utf8FileKind DetectUtf8File(std::string_view bytes) {
    Utf8FileKind kind;
    kind.withBom = bytes.substr(0, kBom.size()) == kBom;
    bool anyMultiByte = false;
    if (!IsValidUtf8(bytes, anyMultiByte) || !anyMultiByte) return {};
    kind.utf8 = true;
    return kind;
}

Cp932EncodeResult Utf8FileToCp932(std::string_view bytes) {
    const bool bom = bytes.substr(0, kBom.size()) == kBom;
    Cp932EncodeResult r = Utf8ToCp932(bom ? bytes.substr(kBom.size()) : bytes);
    if (bom) {
        for (UnmappableChar& u : r.unmappable) u.offset += kBom.size();
    }
    return r;
}

}  // namespace zentabo
