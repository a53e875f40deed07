#pragma once

// Files written in UTF-8 instead of code page 932: telling them apart, and turning
// their text into code page 932 when the user asks for it.

#include <string_view>

#include "app/FileIo.h"
#include "store/Cp932Codec.h"

namespace zentabo {

struct Utf8FileKind {
    bool utf8 = false;     // the bytes are UTF-8 text with at least one non-ASCII character
    bool withBom = false;  // they start with the UTF-8 byte-order mark
};

// Pure 7-bit text is code page 932 as well and counts as such. Other bytes count as
// UTF-8 when they are valid UTF-8 throughout. Much UTF-8 Japanese also reads as
// (wrong) code page 932 characters, while code page 932 text is almost never valid
// UTF-8: its kana and most of its lead bytes are UTF-8 continuation bytes.
Utf8FileKind DetectUtf8File(std::string_view bytes);

// Reads the file as far as it takes to tell: code page 932 text usually shows by its
// first non-ASCII characters, and its reading stops there (the data is then dropped);
// a UTF-8 file is read whole and its bytes kept. The kind is DetectUtf8File's.
struct Utf8FileRead {
    ReadFileResult file;
    Utf8FileKind kind;
};
Utf8FileRead ReadIfUtf8File(const std::string& path);

// The text without its byte-order mark in code page 932; `unmappable` lists what
// code page 932 cannot hold (the offsets count bytes of `bytes`).
Cp932EncodeResult Utf8FileToCp932(std::string_view bytes);

}  // namespace zentabo
