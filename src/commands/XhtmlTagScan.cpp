#include "commands/XhtmlTagScan.h"

#include <algorithm>

#include "store/LumEditSub.h"

namespace zentabo {
namespace {

constexpr std::size_t kNpos = std::string_view::npos;
// How far down the open elements an end tag looks for its start tag; deeper ones are
// taken as stray, which keeps junk with many end tags linear.
constexpr std::size_t kEndTagSearchDepth = 64;

bool IsNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsNameEnd(unsigned char c) {
    return c <= '>' &&
           (c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '>' || c == '/' || c == '<');
}

bool StartsWith(std::string_view text, std::size_t at, std::string_view what) {
    return text.substr(at, what.size()) == what;
}

// Position after `what` found in text[from, limit), or npos.
std::size_t EndOf(std::string_view text, std::size_t from, std::size_t limit,
                  std::string_view what) {
    std::size_t hit = text.substr(0, limit).find(what, from);
    return hit == kNpos ? kNpos : hit + what.size();
}

// After the "]]>" that ends a CDATA section whose content starts at `from`: a ']' that
// is the trail byte of a double-byte character does not count.
std::size_t CDataEnd(std::string_view text, std::size_t from, std::size_t limit) {
    for (std::size_t at = from;;) {
        std::size_t hit = text.substr(0, limit).find("]]>", at);
        if (hit == kNpos) return kNpos;
        std::size_t leads = 0;
        while (hit - leads > from && IsLeadByte(static_cast<unsigned char>(text[hit - leads - 1])))
            ++leads;
        if (leads % 2 == 0) return hit + 3;
        at = hit + 1;
    }
}

// After the '>' of a declaration; an internal subset in brackets may hold '>'.
std::size_t DeclarationEnd(std::string_view text, std::size_t from, std::size_t limit) {
    int depth = 0;
    for (std::size_t i = from; i < limit; ++i) {
        char c = text[i];
        if (c == '"' || c == '\'') {
            std::size_t close = text.substr(0, limit).find(c, i + 1);
            if (close == kNpos) return kNpos;
            i = close;
        } else if (c == '[') {
            ++depth;
        } else if (c == ']') {
            depth = std::max(0, depth - 1);
        } else if (c == '>' && depth == 0) {
            return i + 1;
        }
    }
    return kNpos;
}

// After the '>' of a start tag whose attributes begin at `from`; '>' inside quoted
// values does not end it. Sets `broken` where a bare '<' shows the tag never ended.
std::size_t StartTagEnd(std::string_view text, std::size_t from, std::size_t limit, bool& broken) {
    broken = false;
    for (std::size_t i = from; i < limit; ++i) {
        const char c = text[i];
        if (static_cast<unsigned char>(c) > '>') continue;  // all looked for lie below
        if (c == '>') return i + 1;
        if (c == '<') {
            broken = true;
            return kNpos;
        }
        if (c == '"' || c == '\'') {
            std::size_t close = text.substr(0, limit).find(c, i + 1);
            if (close == kNpos) return kNpos;
            i = close;
        }
    }
    return kNpos;
}

std::size_t NameEnd(std::string_view text, std::size_t from, std::size_t limit) {
    std::size_t i = from;
    while (i < limit && !IsNameEnd(static_cast<unsigned char>(text[i]))) ++i;
    return i;
}

std::optional<XhtmlMarkup> ReadTag(std::string_view text, std::size_t at, std::size_t limit) {
    const bool isEnd = at + 1 < limit && text[at + 1] == '/';
    const std::size_t nameStart = at + (isEnd ? 2 : 1);
    if (nameStart >= limit || !IsNameStart(static_cast<unsigned char>(text[nameStart])))
        return std::nullopt;
    const std::size_t nameEnd = NameEnd(text, nameStart, limit);
    XhtmlMarkup m{isEnd ? XhtmlMarkupKind::kEndTag : XhtmlMarkupKind::kStartTag, at, kNpos,
                  text.substr(nameStart, nameEnd - nameStart)};
    bool broken = false;
    if (isEnd) {
        std::size_t i = nameEnd;
        while (i < limit &&
               (text[i] == ' ' || text[i] == '\t' || text[i] == '\r' || text[i] == '\n'))
            ++i;
        if (i < limit && text[i] != '>') return std::nullopt;
        m.end = i < limit ? i + 1 : kNpos;
        return m;
    }
    m.end = StartTagEnd(text, nameEnd, limit, broken);
    if (broken) return std::nullopt;
    if (m.end != kNpos && text[m.end - 2] == '/') m.kind = XhtmlMarkupKind::kEmptyTag;
    return m;
}

// The end of the markup stack entry list below: start tags still open, names as views.
struct OpenEntry {
    std::size_t start, end;
    std::string_view name;
};

void CloseNamed(std::vector<OpenEntry>& open, std::string_view name) {
    const std::size_t lowest =
        open.size() > kEndTagSearchDepth ? open.size() - kEndTagSearchDepth : 0;
    for (std::size_t i = open.size(); i > lowest; --i) {
        if (open[i - 1].name == name) {
            open.resize(i - 1);
            return;
        }
    }
}

void CollectOpen(std::string_view text, std::size_t offset, std::vector<OpenEntry>& open) {
    open.clear();
    ForEachMarkup(text, 0, offset, [&](const XhtmlMarkup& m) {
        if (m.kind == XhtmlMarkupKind::kStartTag)
            open.push_back({m.start, m.end, m.name});
        else if (m.kind == XhtmlMarkupKind::kEndTag)
            CloseNamed(open, m.name);
        return true;
    });
}

// The tag the caret stands in or just before, else the one it stands right after.
std::optional<XhtmlMarkup> MarkupAtCaret(std::string_view text, std::size_t caret) {
    std::optional<XhtmlMarkup> found;
    ForEachMarkup(text, 0, text.size(), [&](const XhtmlMarkup& m) {
        if (m.start > caret) return false;
        if (caret < m.end) {
            found = m;
            return false;
        }
        if (caret == m.end) found = m;
        return true;
    });
    return found;
}

std::optional<XhtmlTagRange> FindEndTagAfter(std::string_view text, const XhtmlMarkup& start) {
    std::optional<XhtmlTagRange> partner;
    int depth = 1;
    ForEachMarkup(text, start.end, text.size(), [&](const XhtmlMarkup& m) {
        if (m.name != start.name) return true;
        if (m.kind == XhtmlMarkupKind::kStartTag) ++depth;
        if (m.kind == XhtmlMarkupKind::kEndTag && --depth == 0) {
            partner = XhtmlTagRange{m.start, m.end};
            return false;
        }
        return true;
    });
    return partner;
}

std::optional<XhtmlTagRange> FindStartTagBefore(std::string_view text, const XhtmlMarkup& end) {
    std::vector<XhtmlTagRange> starts;
    ForEachMarkup(text, 0, end.start, [&](const XhtmlMarkup& m) {
        if (m.name != end.name) return true;
        if (m.kind == XhtmlMarkupKind::kStartTag) starts.push_back({m.start, m.end});
        if (m.kind == XhtmlMarkupKind::kEndTag && !starts.empty()) starts.pop_back();
        return true;
    });
    if (starts.empty()) return std::nullopt;
    return starts.back();
}

}  // namespace

std::optional<XhtmlMarkup> ReadMarkupAt(std::string_view text, std::size_t at, std::size_t limit) {
    if (limit > text.size()) limit = text.size();
    if (at + 1 >= limit || text[at] != '<') return std::nullopt;
    // Tags are nearly all the markup there is: read them without the other tests.
    if (text[at + 1] != '!' && text[at + 1] != '?') return ReadTag(text, at, limit);
    if (StartsWith(text, at, "<!--"))
        return XhtmlMarkup{XhtmlMarkupKind::kComment, at, EndOf(text, at + 4, limit, "-->"), {}};
    if (StartsWith(text, at, "<![CDATA["))
        return XhtmlMarkup{XhtmlMarkupKind::kCData, at, CDataEnd(text, at + 9, limit), {}};
    if (text[at + 1] == '!')
        return XhtmlMarkup{
            XhtmlMarkupKind::kDeclaration, at, DeclarationEnd(text, at + 2, limit), {}};
    return XhtmlMarkup{
        XhtmlMarkupKind::kProcessingInstruction, at, EndOf(text, at + 2, limit, "?>"), {}};
}

std::vector<XhtmlOpenTag> FindOpenElements(std::string_view text, std::size_t offset) {
    std::vector<OpenEntry> open;
    CollectOpen(text, offset, open);
    std::vector<XhtmlOpenTag> out;
    out.reserve(open.size());
    for (const OpenEntry& e : open) out.push_back({std::string(e.name), e.start, e.end});
    return out;
}

std::optional<XhtmlTagRange> FindPartnerTag(std::string_view text, std::size_t caret) {
    std::optional<XhtmlMarkup> tag = MarkupAtCaret(text, caret);
    if (!tag) return std::nullopt;
    if (tag->kind == XhtmlMarkupKind::kStartTag) return FindEndTagAfter(text, *tag);
    if (tag->kind == XhtmlMarkupKind::kEndTag) return FindStartTagBefore(text, *tag);
    return std::nullopt;
}

}  // namespace zentabo
