#include "commands/TagTexts.h"

#include "commands/TextLines.h"

namespace zentabo {

std::string AttributeText(std::string_view name, std::string_view value) {
    if (value.empty()) return {};
    std::string out;
    out.reserve(name.size() + value.size() + 4);
    out += ' ';
    out += name;
    out += "=\"";
    out += value;
    out += '"';
    return out;
}

std::string ClassAttribute(std::string_view cls) {
    return AttributeText("class", cls);
}

std::string StyleAttribute(std::string_view style) {
    return AttributeText("style", style);
}

std::string OpeningTag(std::string_view element, std::string_view cls) {
    return "<" + std::string(element) + ClassAttribute(cls) + ">";
}

std::string ClosingTag(std::string_view element) {
    return "</" + std::string(element) + ">";
}

std::string EmptyTag(std::string_view element, std::string_view cls) {
    return "<" + std::string(element) + ClassAttribute(cls) + " />";
}

std::string InsDelOpeningTag(std::string_view element, std::string_view cite,
                             std::string_view datetime, std::string_view cls) {
    return "<" + std::string(element) + AttributeText("cite", cite) +
           AttributeText("datetime", datetime) + ClassAttribute(cls) + ">";
}

std::string AnchorOpeningTag(std::string_view href, std::string_view name,
                             std::string_view target) {
    return "<a" + AttributeText("href", href) + AttributeText("name", name) +
           AttributeText("target", target) + ">";
}

std::string TrimUrl(std::string_view url) {
    return std::string(TrimBlanksRight(TrimBlanksLeft(url)));
}

namespace {

bool IsAsciiAlpha(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool IsAsciiDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
    return IsAsciiDigit(c) || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
}

// True when the text from an ampersand on is a whole character or entity reference.
bool StartsReference(std::string_view s) {
    size_t i = 1;
    if (i < s.size() && s[i] == '#') {
        ++i;
        const bool hex = i < s.size() && (s[i] == 'x' || s[i] == 'X');
        if (hex) ++i;
        const size_t digits = i;
        while (i < s.size() && (hex ? IsHexDigit(s[i]) : IsAsciiDigit(s[i]))) ++i;
        return i > digits && i < s.size() && s[i] == ';';
    }
    if (i >= s.size() || !IsAsciiAlpha(s[i])) return false;
    while (i < s.size() && (IsAsciiAlpha(s[i]) || IsAsciiDigit(s[i]))) ++i;
    return i < s.size() && s[i] == ';';
}

}  // namespace

std::string UrlAttributeValue(std::string_view url) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(url.size());
    // Byte by byte: none of these bytes is the second byte of a double-byte character.
    for (size_t i = 0; i < url.size(); ++i) {
        const auto b = static_cast<unsigned char>(url[i]);
        if (b < 0x20 || b == 0x7F || b == '"' || b == '<' || b == '>') {
            out += '%';
            out += kHex[b >> 4];
            out += kHex[b & 0xF];
        } else if (b == '&' && !StartsReference(url.substr(i))) {
            out += "&amp;";
        } else {
            out += static_cast<char>(b);
        }
    }
    return out;
}

std::string UrlOpeningTag(std::string_view url) {
    return "<a href=\"" + UrlAttributeValue(TrimUrl(url)) + "\">";
}

bool HoldsDoubleQuote(std::string_view value) {
    // Every 22 byte counts: no code page 932 character has it as its second byte, so
    // one behind a lead byte is broken text that a reader would still take as a quote.
    return value.find('"') != std::string_view::npos;
}

}  // namespace zentabo
