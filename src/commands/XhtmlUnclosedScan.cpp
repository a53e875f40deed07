// The backward scan for the element open at the caret: at the end of a long page it
// reads only what lies between the caret and that element's start tag.
#include <cstring>

#include "commands/XhtmlTagScan.h"
#include "store/LumEditSub.h"

namespace zentabo {
namespace {

constexpr std::size_t kNpos = std::string_view::npos;

// Going backwards, a comment, CDATA section or processing instruction shows first by
// its end; the '<'s inside it must then be skipped up to its start.
class SectionFinder {
public:
    explicit SectionFinder(std::string_view text) : text_(text) {}

    // The start of the section that ends in text[from, to), where one does.
    std::size_t StartOfSectionEndingIn(std::size_t from, std::size_t to) {
        const char* base = text_.data();
        for (std::size_t at = from; at < to;) {
            const void* hit = std::memchr(base + at, '>', to - at);
            if (!hit) return kNpos;
            const std::size_t gt = static_cast<std::size_t>(static_cast<const char*>(hit) - base);
            at = gt + 1;
            std::size_t start = kNpos;
            if (gt >= from + 2 && text_[gt - 1] == '-' && text_[gt - 2] == '-')
                start = Before("<!--", from, noComment_);
            else if (gt >= from + 2 && text_[gt - 1] == ']' && text_[gt - 2] == ']' &&
                     AtCharStart(gt - 2))
                start = Before("<![CDATA[", from, noCData_);
            else if (gt >= from + 1 && text_[gt - 1] == '?')
                start = Before("<?", from, noPi_);
            if (start != kNpos) return start;
        }
        return kNpos;
    }

private:
    // The last `opener` before `from`; remembers when there is none, since the scan
    // only moves backwards (a page full of "-->" in its text stays linear).
    std::size_t Before(std::string_view opener, std::size_t from, bool& none) {
        if (none) return kNpos;
        std::size_t at = text_.substr(0, from).rfind(opener);
        none = at == kNpos;
        return at;
    }

    bool AtCharStart(std::size_t at) const {
        std::size_t leads = 0;
        while (leads < at && IsLeadByte(static_cast<unsigned char>(text_[at - leads - 1]))) ++leads;
        return leads % 2 == 0;
    }

    std::string_view text_;
    bool noComment_ = false, noCData_ = false, noPi_ = false;
};

std::size_t LastLessThanBefore(std::string_view text, std::size_t end) {
    const void* hit = memrchr(text.data(), '<', end);
    return hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - text.data()) : kNpos;
}

}  // namespace

std::optional<XhtmlOpenTag> FindUnclosedElement(std::string_view text, std::size_t offset) {
    if (offset > text.size()) offset = text.size();
    SectionFinder sections(text);
    // End tags met on the way back whose start tags are still ahead (to the left).
    std::vector<std::string_view> pending;
    std::size_t boundary = offset;  // text[boundary, offset) is done
    while (boundary > 0) {
        const std::size_t q = LastLessThanBefore(text, boundary);
        if (q == kNpos) break;
        std::optional<XhtmlMarkup> m = ReadMarkupAt(text, q, boundary);
        const bool complete = m && m->end != kNpos;
        const std::size_t section =
            sections.StartOfSectionEndingIn(complete ? m->end : q + 1, boundary);
        if (section != kNpos && section < q) {
            boundary = section;  // q stood inside a comment, CDATA section or PI
            continue;
        }
        boundary = q;
        if (!m) continue;
        if (!complete) {
            // A comment or section left open swallows all after it; a tag the caret
            // stands in is not open yet.
            if (m->kind != XhtmlMarkupKind::kStartTag && m->kind != XhtmlMarkupKind::kEndTag)
                pending.clear();
            continue;
        }
        if (m->kind == XhtmlMarkupKind::kEndTag) {
            pending.push_back(m->name);
        } else if (m->kind == XhtmlMarkupKind::kStartTag) {
            if (pending.empty()) return XhtmlOpenTag{std::string(m->name), m->start, m->end};
            // Its own end tag, or one of an element it stands in, closed it.
            if (pending.back() == m->name) pending.pop_back();
        }
    }
    if (pending.empty()) return std::nullopt;
    std::vector<XhtmlOpenTag> open = FindOpenElements(text, offset);
    if (open.empty()) return std::nullopt;
    return open.back();
}

std::optional<std::string> ClosingTagText(std::string_view text, std::size_t offset) {
    std::optional<XhtmlOpenTag> open = FindUnclosedElement(text, offset);
    if (!open) return std::nullopt;
    return "</" + open->name + ">";
}

}  // namespace zentabo
