#pragma once

// The address a browser or file manager drags, read from the bytes of the formats it
// offers on X11, and turned into code page 932 text without losing a character.

#include <string>
#include <string_view>

namespace zentabo {

// text/x-moz-url: UTF-16, little-endian unless a byte-order mark says otherwise; the
// address on the first line, the title on the second.
std::u16string MozUrlAddress(std::string_view bytes);
// text/uri-list: the first line that is no comment ("#"), read as UTF-8.
std::u16string FirstUriListEntry(std::string_view bytes);
// _NETSCAPE_URL: UTF-8, the address on the first line, the title on the second.
std::u16string NetscapeUrlAddress(std::string_view bytes);

// The address as code page 932 text; a character the code page cannot hold becomes
// the percent escapes of its UTF-8 bytes, as a browser would send it.
std::string UrlToCp932(std::u16string_view url);

}  // namespace zentabo
