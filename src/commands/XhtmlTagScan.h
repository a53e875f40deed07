#pragma once

// Scans of XHTML markup in code page 932 text: the element still open at the caret
// (for inserting its end tag) and the partner of the tag under the caret.
// Offsets are 0-based byte offsets into the text; ranges are [start, end).
//
// Every delimiter the scans look for ('<', '>', '&', quotes, '-', '?', '/') lies
// below 0x40 and so can never be the trail byte of a double-byte character; names
// start right after '<' and are therefore compared from character starts. Only the
// ']' of a CDATA end can be a trail byte, and that case is checked.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zentabo {

enum class XhtmlMarkupKind {
    kStartTag,  // <p ...>
    kEndTag,    // </p>
    kEmptyTag,  // <br />
    kComment,   // <!-- -->
    kCData,     // <![CDATA[ ]]>
    kProcessingInstruction,
    kDeclaration,  // <!DOCTYPE ...>
};

struct XhtmlMarkup {
    XhtmlMarkupKind kind;
    std::size_t start = 0;  // the '<'
    std::size_t end = 0;    // after the '>'
    std::string_view name;  // element name of a tag, empty otherwise
};

// The markup starting at text[at] (which must be '<'), with end == npos where it does
// not end before `limit`; nothing for a '<' that starts no markup ("a < b").
std::optional<XhtmlMarkup> ReadMarkupAt(std::string_view text, std::size_t at, std::size_t limit);

// Calls visit(markup) for each piece of markup in [from, limit), in text order; stops
// early when visit returns false. `from` must lie outside markup.
template <typename Visit>
void ForEachMarkup(std::string_view text, std::size_t from, std::size_t limit, Visit&& visit);

struct XhtmlOpenTag {
    std::string name;
    std::size_t start = 0;  // the start tag's range
    std::size_t end = 0;
};

// Elements still open at `offset`, outermost first. An end tag closes the nearest
// open element of its name and every element opened inside it; an end tag whose name
// is not open is ignored.
std::vector<XhtmlOpenTag> FindOpenElements(std::string_view text, std::size_t offset);
// The innermost element still open at `offset`; nothing when every element is closed.
// Scans backwards from `offset` and so usually reads only the last few tags; where
// end tags are left over at the page's start (a stray one) it asks FindOpenElements.
// Unlike that scan it does not look for a comment left open before the caret.
std::optional<XhtmlOpenTag> FindUnclosedElement(std::string_view text, std::size_t offset);
// "</name>" for the innermost open element, or nothing.
std::optional<std::string> ClosingTagText(std::string_view text, std::size_t offset);

struct XhtmlTagRange {
    std::size_t start = 0;
    std::size_t end = 0;
};

// With the caret at `caret` inside a start or end tag (from before its '<' to after
// its '>'), the range of the tag that closes or opens the same element. Nothing for
// an empty tag, for any other markup, or where the partner is missing.
std::optional<XhtmlTagRange> FindPartnerTag(std::string_view text, std::size_t caret);

// ---- implementation of the template ----

template <typename Visit>
void ForEachMarkup(std::string_view text, std::size_t from, std::size_t limit, Visit&& visit) {
    if (limit > text.size()) limit = text.size();
    std::size_t at = from;
    while (at < limit) {
        const char* hit = std::char_traits<char>::find(text.data() + at, limit - at, '<');
        if (!hit) return;
        at = static_cast<std::size_t>(hit - text.data());
        std::optional<XhtmlMarkup> m = ReadMarkupAt(text, at, limit);
        if (!m) {
            ++at;
            continue;
        }
        // Unterminated comments, CDATA sections and tags swallow the rest: nothing
        // after them is markup.
        if (m->end > limit) return;
        if (!visit(*m)) return;
        at = m->end;
    }
}

}  // namespace zentabo
