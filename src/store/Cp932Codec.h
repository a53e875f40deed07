#pragma once

// Code page 932 (Microsoft's Shift-JIS table) to and from Unicode.
// Decoding never fails: a byte that does not start a valid character becomes one
// U+FFFD, so the same bytes always show the same way and the stored bytes are never
// touched. Encoding reports what code page 932 cannot hold instead of substituting.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zentabo {

struct UnmappableChar {
    std::size_t offset;  // index in the input (UTF-16 units or UTF-8 bytes)
    char32_t codePoint;
};

struct Cp932EncodeResult {
    std::string bytes;                       // the characters that could be encoded
    std::vector<UnmappableChar> unmappable;  // empty when everything was encoded
    bool ok() const { return unmappable.empty(); }
};

std::u16string Cp932ToUtf16(std::string_view bytes);
std::string Cp932ToUtf8(std::string_view bytes);
Cp932EncodeResult Utf16ToCp932(std::u16string_view text);
Cp932EncodeResult Utf8ToCp932(std::string_view utf8);

}  // namespace zentabo
