// The search engine's walk over the display lines: the window handed to OnFind,
// forward and backward steps, and the hit bookkeeping. Matching itself belongs to the
// OnFind handler.
#include <algorithm>

#include "editor/LumEdit.h"
#include "store/LumEditSub.h"

namespace zentabo {

namespace {

// Beyond this length a search text is first checked against the size of the range,
// so that a text longer than the document does not build a window of the whole rest
// for every line.
constexpr size_t kLongSearchText = 4096;

}  // namespace

void TLumEdit::SetFindText(const std::string& text) {
    searchText_ = text;
    searchEndLine_ = LastLine();
    searchEndCut_ = 0;
    rangeIsWholeText_ = true;
    searchLine_ = 0;
    searchCol_ = 0;
    restartAtCaret_ = true;
    searchForward_ = false;
    reachedEnd_ = false;
    hitCount_ = 0;
    RemoveHitHighlight();
}

void TLumEdit::FindFirst() {
    searchEndLine_ = LastLine();
    // A cut left by a selection-limited replace run must not shorten the last line.
    searchEndCut_ = 0;
    rangeIsWholeText_ = true;
    searchLine_ = 0;
    searchCol_ = 0;
    hitCount_ = 0;
    RemoveHitHighlight();
    searchForward_ = true;
    reachedEnd_ = false;
    BuildFindWindow(0, 0);
    ForwardStep(false);
}

void TLumEdit::FindNext() {
    RemoveHitHighlight();
    if (selActive_ || allSelected_) ClearSelection();
    searchEndLine_ = LastLine();
    searchEndCut_ = 0;
    rangeIsWholeText_ = true;
    if (restartAtCaret_) {
        searchLine_ = std::clamp(caretLine_, 0, LastLine());
        searchCol_ = ClampCol(searchLine_, caretCol_);
        BuildFindWindow(searchLine_, searchCol_);
        restartAtCaret_ = false;
        // The window stands at the caret: the step must neither rebuild it at an old
        // position nor start over at the top.
        searchForward_ = true;
        reachedEnd_ = false;
    }
    ForwardStep(false);
}

void TLumEdit::FindPrev() {
    RemoveHitHighlight();
    if (selActive_ || allSelected_) ClearSelection();
    searchEndLine_ = LastLine();
    searchEndCut_ = 0;
    rangeIsWholeText_ = true;
    if (restartAtCaret_) {
        searchLine_ = std::clamp(caretLine_, 0, LastLine());
        const int col = ClampCol(searchLine_, caretCol_);
        findWindow_.assign(lines_.Get(searchLine_), 0, static_cast<size_t>(col));
        firstLineLength_ = col;
        searchCol_ = 0;
        restartAtCaret_ = false;
        searchForward_ = false;
        reachedEnd_ = false;
    }
    BackwardStep();
}

void TLumEdit::ResetFindStart() {
    restartAtCaret_ = true;
    findCaretLine_ = caretLine_;
    findCaretCol_ = caretCol_;
    if (!selActive_ && !allSelected_) RemoveHitHighlight();
    findHighlightLength_ = 0;
}

void TLumEdit::RemoveHitHighlight() {
    if (findHighlightLength_ > 0 && hitLine_ <= LastLine()) {
        int endLine, endCol;
        WalkForward(hitLine_, std::min(hitCol_, ContentLength(hitLine_)), findHighlightLength_,
                    endLine, endCol);
        RepaintLines(hitLine_, endLine, 0);
    }
    findHighlightLength_ = 0;
}

// Window for a search from (line, col): the entry, the next one, and as many more as
// the search text needs behind col; the end of the range is cut off, and so is the
// end-of-text NUL, which no match may take.
void TLumEdit::BuildFindWindow(int line, int col) {
    findWindow_.clear();
    firstLineLength_ = 0;
    if (line < 0 || line > std::min(searchEndLine_, LastLine())) return;
    const int last = LastLine();
    const int end = std::min(searchEndLine_, last);
    auto append = [&](int l) {
        const std::string_view s = lines_.Get(l);
        size_t n = s.size();
        if (l == last && n > 0 && s.back() == '\0') --n;
        if (l == searchEndLine_)
            n = std::min(n, s.size() - std::min<size_t>(s.size(), searchEndCut_));
        findWindow_.append(s, 0, n);
        return n;
    };
    firstLineLength_ = static_cast<int>(append(line));
    const size_t need = searchText_.size() + static_cast<size_t>(std::max(0, col));
    for (int l = line + 1; l <= end && (l == line + 1 || findWindow_.size() < need); ++l) append(l);
    findWindow_.erase(0, std::min(findWindow_.size(), static_cast<size_t>(std::max(0, col))));
}

// True when the whole range left is shorter than a long search text, so no line can
// hold a match.
bool TLumEdit::SearchRangeTooShort() const {
    if (searchText_.size() <= kLongSearchText) return false;
    size_t total = 0;
    const int end = std::min(searchEndLine_, LastLine());
    for (int l = 0; l <= end && total < searchText_.size(); ++l) total += lines_.Get(l).size();
    return total < searchText_.size();
}

// Asks the handler about the window and checks its answer: a match must start in the
// window's first line and lie inside the window, take at least one byte, and neither
// start nor end between CR and LF.
bool TLumEdit::AskFind(int& x, int& len) {
    // An empty text matches nothing: a handler that reported it everywhere would make
    // a replace run rewrite every byte.
    if (!OnFind || searchText_.empty()) return false;
    OnFind(*this, findWindow_, searchText_, searchLine_, x, len);
    const int size = static_cast<int>(findWindow_.size());
    const int first = firstLineLength_ - searchCol_;
    if (x < 1 || x > size || x > first) return false;
    if (x >= 2 && findWindow_[x - 1] == '\n' && findWindow_[x - 2] == '\r') {
        --x;
        ++len;
    } else if (findWindow_[x - 1] == '\n' && x == 1) {
        return false;
    }
    len = std::clamp(len, 1, size - x + 1);
    const int lastByte = x + len - 2;  // 0-based index of the match's last byte
    if (findWindow_[lastByte] == '\r' && lastByte + 1 < size && findWindow_[lastByte + 1] == '\n')
        ++len;
    return true;
}

// Widens a hit to whole characters: a hit that began or ended inside a double-byte
// character would be replaced by nothing (the editing primitives keep characters
// whole), and a replace run would find it again and again.
void TLumEdit::SnapHitToCharacters(int line, int& col, int& len) const {
    const std::string_view s = lines_.Get(line);
    if (col > 0 && col < ContentLength(line) &&
        ByteTypeAt(s, col + 1, SingleByteMode) == kTrailByte) {
        --col;
        ++len;
    }
    int endLine, endCol;
    WalkForward(line, col, len, endLine, endCol);
    const std::string_view e = lines_.Get(endLine);
    if (endCol > 0 && endCol < ContentLength(endLine) &&
        ByteTypeAt(e, endCol + 1, SingleByteMode) == kTrailByte)
        ++len;
}

// The next forward step starts behind the current hit.
void TLumEdit::SkipBehindHit() {
    const int end = hitCol_ + findHighlightLength_;
    findWindow_.erase(
        0, std::min(findWindow_.size(), static_cast<size_t>(std::max(0, end - searchCol_))));
    searchCol_ = end;
}

// Places the caret on a hit and records it.
void TLumEdit::TakeHit(int line, int col, int len) {
    SnapHitToCharacters(line, col, len);
    MoveCaretTo(col, line, kScrollSearchHit);
    restartAtCaret_ = false;
    findCaretLine_ = caretLine_;
    findCaretCol_ = caretCol_;
    hitLine_ = line;
    hitCol_ = col;
    findHighlightLength_ = len;
    lastHitLength_ = len;
}

// Asks OnFind from the search position on, line by line, until a match or the end of
// the range; x and len as AskFind answers them.
bool TLumEdit::SeekForwardMatch(int& x, int& len) {
    bool found = AskFind(x, len);
    while (!found && searchLine_ < searchEndLine_) {
        // A hit that ran over the line end already used the next line's first bytes.
        const int carry = std::max(0, searchCol_ - firstLineLength_);
        ++searchLine_;
        searchCol_ = carry;
        if (replacePhase_ != ReplacePhase::kNone && (searchLine_ & replacePollLines_) == 0)
            PollReplaceProgress();
        BuildFindWindow(searchLine_, searchCol_);
        x = 0;
        len = static_cast<int>(searchText_.size());
        found = AskFind(x, len);
    }
    return found;
}

// Records a hit of a replace run as the one to replace or to ask about.
void TLumEdit::MarkReplaceHit(int line, int col, int len) {
    if (rewrapDeferred_ && !confirmReplace_) {
        // Nobody looks at each hit: no caret placement and no scrolling per hit.
        SnapHitToCharacters(line, col, len);
        hitLine_ = line;
        hitCol_ = col;
        findHighlightLength_ = len;
        lastHitLength_ = len;
    } else {
        TakeHit(line, col, len);
    }
}

void TLumEdit::ForwardStep(bool replace) {
    if (!searchForward_) {
        // Coming from a backward step: go on behind its hit, not from the line start,
        // which would find that hit or an earlier one again.
        if (!reachedEnd_ && hitLine_ <= LastLine()) {
            int l, c;
            WalkForward(hitLine_, hitCol_, lastHitLength_, l, c);
            searchLine_ = l;
            searchCol_ = c;
        }
        BuildFindWindow(searchLine_, searchCol_);
    } else if (reachedEnd_) {
        searchLine_ = 0;
        searchCol_ = 0;
        hitCount_ = 0;
        BuildFindWindow(0, 0);
    }
    searchForward_ = true;
    reachedEnd_ = false;

    int x = 0, len = static_cast<int>(searchText_.size());
    const bool found = !SearchRangeTooShort() && SeekForwardMatch(x, len);
    if (!found) {
        if (replace) {
            searchLine_ = searchEndLine_ + 1;
        } else {
            if (OnFindNoHit) OnFindNoHit(*this, searchText_);
            reachedEnd_ = true;
        }
        return;
    }

    const int hitCol = searchCol_ + x - 1;
    if (!replace) {
        TakeHit(searchLine_, hitCol, len);
        ++hitCount_;
        if (OnFindHit)
            OnFindHit(*this, searchText_, hitCol_, hitLine_, findHighlightLength_, hitCount_);
        SkipBehindHit();
        return;
    }

    MarkReplaceHit(searchLine_, hitCol, len);
    bool changeF = true;
    if (confirmReplace_) {
        bool abortF = false;
        if (OnFindChange)
            OnFindChange(*this, searchText_, changeText_, hitCol_, hitLine_, findHighlightLength_,
                         hitCount_, changeF, confirmReplace_, abortF);
        if (abortF) {
            abortReplace_ = true;
            RemoveHitHighlight();
            return;
        }
    }
    if (!changeF) {
        SkipBehindHit();
        return;
    }
    ReplaceHit();
}

// The last match that starts in the window's first line, asking again behind each one.
bool TLumEdit::LastMatchInLine(int& x, int& len) {
    if (!AskFind(x, len)) return false;
    int bestX = x, bestLen = len;
    int cut = 0;
    while (true) {
        const int drop = bestX + bestLen - 1 - cut;
        if (drop <= 0 || drop > static_cast<int>(findWindow_.size())) break;
        findWindow_.erase(0, static_cast<size_t>(drop));
        cut += drop;
        searchCol_ = cut;
        int nx = bestX - cut, nlen = bestLen;  // the previous match, as the handler gets it
        if (!AskFind(nx, nlen)) break;
        bestX = cut + nx;
        bestLen = nlen;
    }
    searchCol_ = 0;
    x = bestX;
    len = bestLen;
    return true;
}

void TLumEdit::BackwardStep() {
    if (reachedEnd_) {
        searchLine_ = LastLine();
        searchCol_ = 0;
        hitCount_ = 0;
        BuildFindWindow(searchLine_, 0);
    } else if (searchForward_) {
        // Before the last hit, or before the search column less the text's length.
        searchLine_ = std::clamp(searchLine_, 0, LastLine());
        int col = searchCol_ - static_cast<int>(searchText_.size());
        if (hitLine_ == searchLine_) col = hitCol_;
        col = std::clamp(col, 0, static_cast<int>(lines_.Get(searchLine_).size()));
        findWindow_.assign(lines_.Get(searchLine_), 0, static_cast<size_t>(col));
        firstLineLength_ = col;
    }
    searchForward_ = false;
    reachedEnd_ = false;
    searchCol_ = 0;

    int x = 0, len = static_cast<int>(searchText_.size());
    bool found = false;
    if (!SearchRangeTooShort()) {
        found = LastMatchInLine(x, len);
        while (!found && searchLine_ > 0) {
            --searchLine_;
            BuildFindWindow(searchLine_, 0);
            x = 0;
            len = static_cast<int>(searchText_.size());
            found = LastMatchInLine(x, len);
        }
    }
    if (!found) {
        if (OnFindNoHit) OnFindNoHit(*this, searchText_);
        reachedEnd_ = true;
        return;
    }
    TakeHit(searchLine_, x - 1, len);
    ++hitCount_;
    if (OnFindHit)
        OnFindHit(*this, searchText_, hitCol_, hitLine_, findHighlightLength_, hitCount_);
    findWindow_.assign(lines_.Get(hitLine_), 0, static_cast<size_t>(hitCol_));
    firstLineLength_ = hitCol_;
}

}  // namespace zentabo
