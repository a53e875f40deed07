#pragma once

// The line model of the markup and text commands, and the one-pass replace they share.
// A text splits into lines at CR LF, at a lone CR and at a lone LF; a break at the very
// end starts no further line and an empty text has no lines. Lines are joined with
// CR LF after every line, the last one included.

#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zentabo {

// The lines of text, without their breaks. The views point into text.
std::vector<std::string_view> SplitTextLines(std::string_view text);

// Every line followed by CR LF.
std::string JoinTextLines(const std::vector<std::string_view>& lines);
std::string JoinTextLines(const std::vector<std::string>& lines);

// Calls visit(std::string_view line) for every line of text, in order, allocating nothing.
template <class Visit>
void ForEachTextLine(std::string_view text, Visit&& visit) {
    const char* data = text.data();
    const std::size_t n = text.size();
    // The next CR and LF, each found once by memchr and reused until passed.
    std::size_t nextCr = 0, nextLf = 0;
    bool crKnown = false, lfKnown = false;
    auto next = [&](char c, std::size_t from) {
        const void* hit = from < n ? std::memchr(data + from, c, n - from) : nullptr;
        return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - data) : n;
    };
    std::size_t start = 0;
    while (start < n) {
        if (!crKnown || nextCr < start) nextCr = next('\r', start), crKnown = true;
        if (!lfKnown || nextLf < start) nextLf = next('\n', start), lfKnown = true;
        const std::size_t end = nextCr < nextLf ? nextCr : nextLf;
        visit(text.substr(start, end - start));
        if (end == n) return;
        start = end + (data[end] == '\r' && end + 1 < n && data[end + 1] == '\n' ? 2 : 1);
    }
}

// line without its leading, trailing blanks (bytes up to 32). The full-width space is
// no blank, and a trail byte up to 32 stays with its lead byte.
std::string_view TrimBlanksLeft(std::string_view line);
std::string_view TrimBlanksRight(std::string_view line);

// One left-to-right pass over text replacing every occurrence of from by to, never
// rescanning what was put in. A match starts only where a character starts: never on
// the second byte of a double-byte character (a lead byte takes the byte after it,
// whatever that is). An empty `from` matches nothing.
std::string ReplaceEvery(std::string_view text, std::string_view from, std::string_view to);

// The same pass with several patterns at once: at each character start the first pair
// whose `first` matches there is replaced. Equal to running the passes one after
// another when no replacement can create or break a match of a later pattern.
std::string ReplaceEveryOf(std::string_view text,
                           const std::vector<std::pair<std::string_view, std::string_view>>& pairs);

}  // namespace zentabo
