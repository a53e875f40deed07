// The run scanner behind the URL and tag colouring.
#include "editor/LumEditPaintRuns.h"

#include <algorithm>
#include <string>

#include "store/LumEditSub.h"

namespace zentabo {

namespace {

bool IsUrlTerminator(char c) {
    switch (c) {
        case '\t':
        case ' ':
        case '"':
        case '<':
        case '>':
        case '[':
        case '\\':
        case ']':
        case '`':
        case '{':
        case '|':
        case '}':
            return true;
        default:
            return false;
    }
}

bool IsNameTerminator(char c) {
    switch (c) {
        case '\t':
        case '"':
        case '*':
        case ',':
        case '/':
        case ':':
        case ';':
        case '<':
        case '>':
        case '?':
        case '|':
            return true;
        default:
            return false;
    }
}

// ASCII only: the prefixes are ASCII, and a locale's own case rules must not decide
// whether a double-byte text holds a URL.
char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Whether the text, followed by the next piece, holds prefix at pos (lower-cased
// compare when fold is set).
bool MatchAt(std::string_view text, std::string_view next, size_t pos, std::string_view prefix,
             bool fold) {
    for (size_t k = 0; k < prefix.size(); ++k) {
        size_t i = pos + k;
        char c;
        if (i < text.size())
            c = text[i];
        else if (i - text.size() < next.size())
            c = next[i - text.size()];
        else
            return false;
        if ((fold ? Lower(c) : c) != prefix[k]) return false;
    }
    return true;
}

template <typename Pred>
size_t FindFrom(std::string_view text, size_t from, Pred pred) {
    for (size_t i = from; i < text.size(); ++i)
        if (pred(text[i])) return i;
    return std::string_view::npos;
}

// Carries a run on from pos; answers where it ended (text.size() when still open) and
// sets open to the run left open.
size_t Continue(std::string_view text, size_t pos, OpenRun& open, std::vector<TextRun>& runs) {
    const size_t n = text.size();
    size_t start = pos;
    switch (open) {
        case OpenRun::None:
            return pos;
        case OpenRun::HtmlTag: {
            size_t gt = FindFrom(text, pos, [](char c) { return c == '>'; });
            size_t end = gt == std::string_view::npos ? n : gt + 1;
            runs.push_back({static_cast<int>(start), static_cast<int>(end), false});
            if (gt != std::string_view::npos) open = OpenRun::None;
            return end;
        }
        case OpenRun::Url: {
            size_t t = FindFrom(text, pos, IsUrlTerminator);
            size_t end = t == std::string_view::npos ? n : t;
            if (end > start) runs.push_back({static_cast<int>(start), static_cast<int>(end), true});
            if (t != std::string_view::npos) open = OpenRun::None;
            return end;
        }
        case OpenRun::TagBeforeDot: {
            size_t dot = FindFrom(text, pos, [](char c) { return c == '.'; });
            if (dot == std::string_view::npos) {
                runs.push_back({static_cast<int>(start), static_cast<int>(n), true});
                return n;
            }
            size_t t = FindFrom(text, dot + 1, IsNameTerminator);
            size_t end = t == std::string_view::npos ? n : t;
            runs.push_back({static_cast<int>(start), static_cast<int>(end), true});
            open = t == std::string_view::npos ? OpenRun::TagAfterDot : OpenRun::None;
            return end;
        }
        case OpenRun::TagAfterDot: {
            size_t t = FindFrom(text, pos, IsNameTerminator);
            size_t end = t == std::string_view::npos ? n : t;
            if (end > start) runs.push_back({static_cast<int>(start), static_cast<int>(end), true});
            if (t != std::string_view::npos) open = OpenRun::None;
            return end;
        }
    }
    return pos;
}

}  // namespace

OpenRun ScanRuns(std::string_view text, std::string_view next, OpenRun carried, bool htmlTags,
                 bool singleByteMode, std::vector<TextRun>& runs) {
    OpenRun open = carried;
    size_t i = Continue(text, 0, open, runs);
    const size_t n = text.size();
    while (i < n && open == OpenRun::None) {
        const char c = text[i];
        if (!singleByteMode && IsLeadByte(static_cast<unsigned char>(c)) && i + 1 < n) {
            i += 2;
            continue;
        }
        if (htmlTags && c == '<') {
            open = OpenRun::HtmlTag;
            i = Continue(text, i, open, runs);
            continue;
        }
        // Every URL prefix starts with "h" or "m", so most bytes are passed at a glance.
        const char lc = Lower(c);
        if ((lc == 'h' && (MatchAt(text, next, i, "http://", true) ||
                           MatchAt(text, next, i, "https:/", true))) ||
            (lc == 'm' &&
             (MatchAt(text, next, i, "mailto:", true) || MatchAt(text, next, i, "mail:", true)))) {
            // The prefix itself holds no terminator, so the run starts at i and its end is
            // searched from the end of the five shortest prefix bytes on.
            size_t from = std::min(n, i + 5);
            size_t t = FindFrom(text, from, IsUrlTerminator);
            size_t end = t == std::string_view::npos ? n : t;
            runs.push_back({static_cast<int>(i), static_cast<int>(end), true});
            open = t == std::string_view::npos ? OpenRun::Url : OpenRun::None;
            i = std::max(end, i + 1);
            continue;
        }
        if (c == 't' && MatchAt(text, next, i, "tag:", false)) {
            size_t start = i;
            open = OpenRun::TagBeforeDot;
            size_t end = Continue(text, std::min(n, i + 4), open, runs);
            // Continue recorded the part after the prefix; widen it to cover "tag:".
            if (!runs.empty() && runs.back().start == static_cast<int>(std::min(n, i + 4)))
                runs.back().start = static_cast<int>(start);
            else
                runs.push_back({static_cast<int>(start), static_cast<int>(end), true});
            i = std::max(end, i + 1);
            continue;
        }
        ++i;
    }
    return open;
}

}  // namespace zentabo
