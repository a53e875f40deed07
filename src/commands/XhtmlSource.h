#pragma once

// The page's code page 932 bytes as UTF-8 for the XML parser, with the way back: a
// UTF-8 offset in the converted text maps to the code page 932 byte offset of the
// character it falls in, and a byte offset to the editor's logical line and byte
// column. Lines end at CR LF, a lone CR or a lone LF, whatever the page mixes.

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentabo {

class XhtmlSource {
public:
    // Converts `cp932`, with `prefix` before and `suffix` after it in the UTF-8 text
    // (the shell a fragment is checked in). Bytes that are no code page 932 character
    // become U+FFFD and are listed in badBytes(). Returns false when cancelled.
    bool Convert(std::string_view cp932, std::string_view prefix, std::string_view suffix,
                 const std::atomic<bool>* cancel);

    const std::string& utf8() const { return utf8_; }
    // Offset of the page's first byte in utf8().
    std::size_t bodyStart() const { return prefixSize_; }
    std::size_t bodyEnd() const { return utf8_.size() - suffixSize_; }
    // Code page 932 offsets of the bytes that are no character (each bad character once).
    const std::vector<std::size_t>& badBytes() const { return badBytes_; }

    // The code page 932 offset of the character holding utf8() offset `u`; the shell's
    // offsets clamp to the start or end of the page.
    std::size_t ToCp932(std::size_t u) const;

private:
    std::string_view text_;
    std::string utf8_;
    std::size_t prefixSize_ = 0, suffixSize_ = 0;
    std::vector<std::size_t> badBytes_;
    // Every kCheckpointBytes of the page: the code page 932 offset of a character
    // start and its UTF-8 offset (relative to the page's start in utf8()).
    std::vector<std::uint32_t> cpAt_, utf8At_;
};

// Logical line and byte column of byte offsets, lines counted from 0.
class XhtmlLineIndex {
public:
    explicit XhtmlLineIndex(std::string_view cp932);
    int LineOf(std::size_t offset) const;
    std::size_t LineStart(int line) const { return starts_[static_cast<std::size_t>(line)]; }

private:
    std::vector<std::size_t> starts_;
};

// Bytes of the character starting at text[i]: a lead byte pairs with a following
// trail byte; a lead byte before anything else is a bad character of its own, so it
// never swallows a line break or a '<'.
inline std::size_t Cp932CharLength(std::string_view text, std::size_t i) {
    auto b = static_cast<unsigned char>(text[i]);
    if (!((b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC)) || i + 1 >= text.size()) return 1;
    auto t = static_cast<unsigned char>(text[i + 1]);
    return (t >= 0x40 && t <= 0xFC && t != 0x7F) ? 2 : 1;
}

}  // namespace zentabo
