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
    char32_t codePoint;  // U+FFFD for a malformed UTF-8 byte, the unit for a lone surrogate
};

struct Cp932EncodeResult {
    std::string bytes;                       // the characters that could be encoded
    std::vector<UnmappableChar> unmappable;  // empty when everything was encoded
    bool ok() const { return unmappable.empty(); }
};

std::u16string Cp932ToUtf16(std::string_view bytes);
std::string Cp932ToUtf8(std::string_view bytes);
// Like Cp932ToUtf8, and tells whether encoding the result gives exactly these bytes
// back: false when they hold bad bytes or a non-canonical duplicate code (an NEC or
// IBM extension that code page 932 stores under another code).
bool Cp932ToUtf8Lossless(std::string_view bytes, std::string& utf8);
// The same, appending to `utf8` instead of replacing it.
bool AppendCp932ToUtf8(std::string_view bytes, std::string& utf8);
Cp932EncodeResult Utf16ToCp932(std::u16string_view text);
Cp932EncodeResult Utf8ToCp932(std::string_view utf8);

}  // namespace zentabo
