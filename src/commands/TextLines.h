#pragma once

// The line model of the markup and text commands, and the one-pass replace they share.
// A text splits into lines at CR LF, at a lone CR and at a lone LF; a break at the very
// end starts no further line and an empty text has no lines. Lines are joined with
// CR LF after every line, the last one included.

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
    std::size_t start = 0;
    const std::size_t n = text.size();
    while (start < n) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            visit(text.substr(start));
            return;
        }
        visit(text.substr(start, end - start));
        start = end + (text[end] == '\r' && end + 1 < n && text[end + 1] == '\n' ? 2 : 1);
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
