#include "app/DroppedUrl.h"

#include <unicode/unistr.h>

#include "store/Cp932Codec.h"

namespace zentabo {

namespace {

std::u16string FromUtf8(std::string_view bytes) {
    const icu::UnicodeString s = icu::UnicodeString::fromUTF8(
        icu::StringPiece(bytes.data(), static_cast<int32_t>(bytes.size())));
    return std::u16string(s.getBuffer(), static_cast<size_t>(s.length()));
}

template <typename S>
S FirstLine(S text) {
    text = text.substr(0, text.find(static_cast<typename S::value_type>('\n')));
    if (!text.empty() && text.back() == '\r') text = text.substr(0, text.size() - 1);
    return text;
}

void AppendPercentEscapes(char32_t c, std::string& out) {
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;  // no UTF-8 for these
    unsigned char utf8[4];
    int n = 0;
    if (c < 0x80) {
        utf8[n++] = static_cast<unsigned char>(c);
    } else if (c < 0x800) {
        utf8[n++] = static_cast<unsigned char>(0xC0 | (c >> 6));
        utf8[n++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        utf8[n++] = static_cast<unsigned char>(0xE0 | (c >> 12));
        utf8[n++] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        utf8[n++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    } else {
        utf8[n++] = static_cast<unsigned char>(0xF0 | (c >> 18));
        utf8[n++] = static_cast<unsigned char>(0x80 | ((c >> 12) & 0x3F));
        utf8[n++] = static_cast<unsigned char>(0x80 | ((c >> 6) & 0x3F));
        utf8[n++] = static_cast<unsigned char>(0x80 | (c & 0x3F));
    }
    static const char kHex[] = "0123456789ABCDEF";
    for (int i = 0; i < n; ++i) {
        out += '%';
        out += kHex[utf8[i] >> 4];
        out += kHex[utf8[i] & 0xF];
    }
}

}  // namespace

std::u16string MozUrlAddress(std::string_view bytes) {
    bool bigEndian = false;
    if (bytes.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(bytes[0]);
        const auto b1 = static_cast<unsigned char>(bytes[1]);
        if ((b0 == 0xFF && b1 == 0xFE) || (b0 == 0xFE && b1 == 0xFF)) {
            bigEndian = b0 == 0xFE;
            bytes.remove_prefix(2);
        }
    }
    std::u16string text;
    text.reserve(bytes.size() / 2);
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto lo = static_cast<unsigned char>(bytes[i + (bigEndian ? 1 : 0)]);
        const auto hi = static_cast<unsigned char>(bytes[i + (bigEndian ? 0 : 1)]);
        const char16_t unit = static_cast<char16_t>(lo | (hi << 8));
        if (unit == u'\n') break;
        text += unit;
    }
    return FirstLine(text);
}

std::u16string FirstUriListEntry(std::string_view bytes) {
    while (!bytes.empty()) {
        const size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes = end == std::string_view::npos ? std::string_view() : bytes.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (!line.empty() && line[0] != '#') return FromUtf8(line);
    }
    return {};
}

std::u16string NetscapeUrlAddress(std::string_view bytes) {
    return FromUtf8(FirstLine(bytes));
}

std::string UrlToCp932(std::u16string_view url) {
    const Cp932EncodeResult encoded = Utf16ToCp932(url);
    if (encoded.ok()) return encoded.bytes;
    // Encode the runs between the characters the code page cannot hold one by one.
    std::string out;
    size_t from = 0;
    for (const UnmappableChar& u : encoded.unmappable) {
        if (u.offset < from) continue;
        out += Utf16ToCp932(url.substr(from, u.offset - from)).bytes;
        AppendPercentEscapes(u.codePoint, out);
        from = u.offset + (u.codePoint > 0xFFFF ? 2 : 1);
    }
    if (from < url.size()) out += Utf16ToCp932(url.substr(from)).bytes;
    return out;
}

}  // namespace zentabo
