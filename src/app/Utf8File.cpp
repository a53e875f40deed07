#include "app/Utf8File.h"

namespace zentabo {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

// Strict UTF-8: no overlong forms, no surrogates, nothing beyond U+10FFFF. Checks s
// from `from` and answers how far it holds whole valid characters; `bad` tells whether
// it stopped at an invalid byte rather than at a character cut by the end of s.
std::size_t ValidUtf8Until(std::string_view s, std::size_t from, bool& anyMultiByte, bool& bad) {
    bad = false;
    for (std::size_t i = from; i < s.size();) {
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
            bad = true;
            return i;
        }
        if (s.size() - i < n) return i;
        const unsigned char second = static_cast<unsigned char>(s[i + 1]);
        bool ok = second >= low && second <= high;
        for (std::size_t k = 2; ok && k < n; ++k)
            ok = IsContinuation(static_cast<unsigned char>(s[i + k]));
        if (!ok) {
            bad = true;
            return i;
        }
        anyMultiByte = true;
        i += n;
    }
    return s.size();
}

bool IsValidUtf8(std::string_view s, bool& anyMultiByte) {
    anyMultiByte = false;
    bool bad = false;
    return ValidUtf8Until(s, 0, anyMultiByte, bad) == s.size();
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

Utf8FileRead ReadIfUtf8File(const std::string& path) {
    std::size_t checked = 0;
    bool anyMultiByte = false;
    Utf8FileRead r;
    r.file = ReadFileWhile(path, [&](std::string_view data) {
        bool bad = false;
        checked = ValidUtf8Until(data, checked, anyMultiByte, bad);
        return !bad;
    });
    if (r.file.complete && r.file.status)
        r.kind = DetectUtf8File(r.file.data);
    else
        std::string().swap(r.file.data);
    return r;
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
