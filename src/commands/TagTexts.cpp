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

std::string UrlOpeningTag(std::string_view url) {
    return "<a href=\"" + TrimUrl(url) + "\">";
}

bool HoldsDoubleQuote(std::string_view value) {
    // Every 22 byte counts: no code page 932 character has it as its second byte, so
    // one behind a lead byte is broken text that a reader would still take as a quote.
    return value.find('"') != std::string_view::npos;
}

}  // namespace zentabo
