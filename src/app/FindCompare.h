#pragma once

// The page's compare step for the editor's search engine: where a search text first
// occurs in a window of code page 932 text. Matches start and end on character
// boundaries, so a trail byte that looks like a letter never matches.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zentabo {

// Comparison key of a double-byte character when case does not matter: full-width
// Latin, Greek and Cyrillic lower-case letters become their capitals, and the small
// Roman numerals and the IBM copies of the capital ones become the NEC capitals.
// Every other code is its own key. Keys are lead << 8 | trail.
std::uint16_t FoldDoubleByte(unsigned char lead, unsigned char trail);

// A search text prepared once and then looked for in many lines. The scan is linear in
// the line's length whatever the text holds, and allocates nothing.
class FindPattern {
public:
    void Assign(std::string_view findchr, bool matchCase);
    bool Holds(std::string_view findchr, bool matchCase) const {
        return assigned_ && matchCase_ == matchCase && text_ == findchr;
    }
    // 1-based byte position of the first match in str; 0 when there is none or when the
    // search text is empty.
    int Find(std::string_view str) const;

private:
    std::uint32_t KeyAt(const unsigned char* p, std::size_t i, std::size_t n,
                        std::size_t& width) const;
    // Start of the next character at or after `from` whose key is the first key, or
    // n. `boundary` is a character start at or before `from` and is moved along.
    std::size_t NextProbe(const unsigned char* p, std::size_t from, std::size_t n) const;
    std::size_t NextFirst(const unsigned char* p, std::size_t from, std::size_t n,
                          std::size_t& boundary) const;

    bool assigned_ = false;
    bool matchCase_ = false;
    std::string text_;
    std::vector<std::uint32_t> keys_;  // one per character of text_
    std::vector<int> fallback_;        // prefix function over keys_
    // Byte values that can stand where the first character is looked for: its first
    // byte when it is a single byte, its trail byte when it is a double byte (trail
    // bytes vary more than lead bytes, so fewer false starts).
    bool firstIsDouble_ = false;
    bool probe_[256] = {};
    int probeCount_ = 0;
    std::uint64_t probeWords_[4] = {};  // each probe byte repeated, for word-wise scans
};

// 1-based position of the first match of findchr in str, 0 when absent. Unless
// matchCase is set, letters compare without regard to case (see FoldDoubleByte).
// The prepared text is kept between calls, so repeated calls with one search text
// allocate nothing.
int FindCompare(std::string_view str, std::string_view findchr, bool matchCase);

}  // namespace zentabo
