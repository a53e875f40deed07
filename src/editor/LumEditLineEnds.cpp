// Keeps the store's line-end rule after an edit: an entry ends after every CR LF and
// nowhere else inside it. Removing or restoring bytes between a lone CR and a lone LF
// makes or breaks such a pair, which the entries around the edit must follow.
#include <algorithm>
#include <vector>

#include "editor/LumEdit.h"
#include "store/LineSplitter.h"
#include "store/LumEditSub.h"

namespace zentabo {

namespace {

// Entry `before` ends with a lone CR and entry `after` starts with LF: the two bytes
// form a line break that the entries split.
bool SplitsCrLf(std::string_view before, std::string_view after) {
    return !before.empty() && before.back() == '\r' && !after.empty() && after.front() == '\n';
}

// A CR LF anywhere but at the entry's end.
bool HoldsInnerCrLf(std::string_view s) {
    const size_t pos = s.find("\r\n");
    return pos != std::string::npos && pos + 2 != s.size();
}

}  // namespace

bool TLumEdit::LineEndsBroken(int first, int last) const {
    for (int i = first; i <= last; ++i) {
        const std::string_view s = lines_.Get(i);
        if (HoldsInnerCrLf(s)) return true;
        if (i > first && SplitsCrLf(lines_.Get(i - 1), s)) return true;
        if (!wordWrap_ && i < LastLine() && !EndsWithCrLf(s)) return true;
    }
    return false;
}

void TLumEdit::MendLineEnds(int first, int last) {
    first = std::clamp(first, 0, LastLine());
    last = std::clamp(last, first, LastLine());
    if (first > 0 && SplitsCrLf(lines_.Get(first - 1), lines_.Get(first))) --first;
    while (last < LastLine() && (SplitsCrLf(lines_.Get(last), lines_.Get(last + 1)) ||
                                 (!wordWrap_ && !EndsWithCrLf(lines_.Get(last)))))
        ++last;
    if (!LineEndsBroken(first, last)) return;
    if (wordWrap_) {
        // Whole logical lines, so that each is cut from its start as a fresh wrap cuts it.
        first = LineStartOf(first);
        last = LineEndOf(last);
    }

    // Byte offsets into the joined range carry the caret across the new split.
    auto offsetOf = [&](int line, int col) {
        size_t off = static_cast<size_t>(std::max(0, col));
        for (int i = first; i < line; ++i) off += lines_.Get(i).size();
        return off;
    };
    const bool caretInside = caretLine_ >= first && caretLine_ <= last;
    const size_t caretOffset = caretInside ? offsetOf(caretLine_, caretCol_) : 0;
    const bool insertedInside = lastInsertedLine_ >= first && lastInsertedLine_ <= last;
    const size_t insertedOffset = insertedInside ? offsetOf(lastInsertedLine_, 0) : 0;

    std::string joined;
    for (int i = first; i <= last; ++i) joined += lines_.Get(i);
    std::vector<std::string> pieces;
    // With word wrap the new lines are cut to the width at once: not every caller
    // re-wraps the range afterwards.
    SplitLines(joined, false, [&](std::string&& line) {
        if (wordWrap_)
            SplitEntry(line, pieces);
        else
            pieces.push_back(std::move(line));
    });
    const size_t joinedSize = joined.size();
    std::string().swap(joined);

    // The piece holding off; an offset on a boundary goes to the start of the later one.
    auto locate = [&](size_t off, int& line, int& col) {
        size_t p = 0;
        while (p + 1 < pieces.size() && off >= pieces[p].size()) off -= pieces[p++].size();
        line = first + static_cast<int>(p);
        col = static_cast<int>(off);
    };
    int caretLine = caretLine_, caretCol = caretCol_, insertedLine = lastInsertedLine_, unused = 0;
    if (caretInside) locate(caretOffset, caretLine, caretCol);
    if (insertedInside) locate(std::min(insertedOffset, joinedSize), insertedLine, unused);

    const int oldCount = last - first + 1;
    const int newCount = static_cast<int>(pieces.size());
    std::string removed;
    lines_.ReplaceEntries(first, oldCount, pieces, removed);
    const int shift = newCount - oldCount;
    caretLine_ = caretLine > last && !caretInside ? caretLine + shift : caretLine;
    caretCol_ = caretCol;
    lastInsertedLine_ =
        insertedLine > last && !insertedInside ? insertedLine + shift : insertedLine;
}

}  // namespace zentabo
