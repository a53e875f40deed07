#pragma once

// Small helpers for code page 932 text and for the line-end markers of display lines.
// Positions handed to these helpers count from 1.

#include <string>
#include <string_view>

namespace zentabo {

// Byte type at a 1-based position: 0 single byte, 1 lead byte, 2 trail byte.
enum ByteType { kSingleByte = 0, kLeadByte = 1, kTrailByte = 2 };

// Line-break style of a file, from its first 1024 bytes.
enum LineBreakStyle { kBreakCrLf = 0, kBreakCr = 1, kBreakLf = 2, kBreakEmpty = 3 };

constexpr bool IsLeadByte(unsigned char b) {
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

int ByteTypeAt(std::string_view s, int pos, bool singleByteMode);
int DetectLineBreakStyle(const std::string& fileName);  // throws FileError
// Markers: an entry ends a logical line when it ends with CR LF; the last entry ends
// with the end-of-text NUL. A lone CR or LF and a NUL elsewhere are ordinary bytes.
bool EndsWithCrLf(std::string_view s);
// The entry without CR LF or, failing that, without a final NUL.
std::string StripLineEnd(std::string_view s);
std::string StripEndMark(std::string_view s);
// CR LF or a final NUL: only for an entry known to be the last, or a logical line.
bool HasLineEnd(std::string_view s);
bool HasEndMark(std::string_view s);
void OrderPair(int& a, int& b);

}  // namespace zentabo
