#pragma once

// The opening and closing texts of the tag commands. Values are inserted exactly as
// entered; each attribute is left out when its value is empty.

#include <string>
#include <string_view>

namespace zentabo {

// ' name="value"', or nothing when value is empty.
std::string AttributeText(std::string_view name, std::string_view value);
// ' class="cls"' or nothing; ' style="style"' or nothing (also what the class and
// style attribute commands insert).
std::string ClassAttribute(std::string_view cls);
std::string StyleAttribute(std::string_view style);

// "<element" + class + ">" and "</element>": the wrap of p, div, pre, h1-h6, span, em,
// strong, cite, blockquote, q.
std::string OpeningTag(std::string_view element, std::string_view cls);
std::string ClosingTag(std::string_view element);

// "<element" + class + " />": the line break.
std::string EmptyTag(std::string_view element, std::string_view cls);

// "<ins" (or "<del") + cite + datetime + class + ">".
std::string InsDelOpeningTag(std::string_view element, std::string_view cite,
                             std::string_view datetime, std::string_view cls);

// "<a" + href + name + target + ">".
std::string AnchorOpeningTag(std::string_view href, std::string_view name, std::string_view target);

// A dropped URL without the bytes up to 32 at its ends.
std::string TrimUrl(std::string_view url);
// A dropped address made safe inside a double-quoted attribute: control bytes, quotes
// and angle brackets become percent escapes (the address stays the same address), an
// ampersand that starts no reference becomes "&amp;".
std::string UrlAttributeValue(std::string_view url);
// '<a href="' + UrlAttributeValue(TrimUrl(url)) + '">': the opening text of a URL drop
// (close with "</a>").
std::string UrlOpeningTag(std::string_view url);

// True when value holds a double quote byte, which would end the attribute early:
// callers may refuse such a value.
bool HoldsDoubleQuote(std::string_view value);

}  // namespace zentabo
