// Display-line layout: tab expansion, the wrap rule, whole-text wrap and unwrap,
// the incremental re-wrap after an edit and the display/logical conversions.
#include <algorithm>

#include "editor/LumEdit.h"
#include "editor/TextCells.h"
#include "store/LineCutting.h"
#include "store/LumEditSub.h"

namespace zentabo {

namespace {

// Marker bytes at the end of a logical line: CR LF, or the end-of-text NUL of the last.
size_t MarkerLength(std::string_view s) {
    if (EndsWithCrLf(s)) return 2;
    return !s.empty() && s.back() == '\0' ? 1 : 0;
}

// Bytes that read as a marker at the end of an entry, or would split CR LF there.
bool EndsNoPiece(char c) {
    return c == '\r' || c == '\n' || c == '\0';
}

}  // namespace

std::string TLumEdit::ExpandTabs(std::string_view s) const {
    if (!NeedsExpanding(s)) return std::string(s);
    std::string out;
    out.reserve(s.size() + 16);
    const size_t n = s.size();
    for (size_t i = 0; i < n;) {
        size_t j = i;
        while (j < n && s[j] != '\t' && s[j] != '\0') ++j;
        out.append(s.data() + i, j - i);  // the stretch up to the next TAB or NUL at once
        if (j == n) break;
        if (s[j] == '\t')
            out.append(static_cast<size_t>(tabCount_ - static_cast<int>(out.size() % tabCount_)),
                       ' ');
        else
            out += ' ';  // a NUL takes one blank cell (and a mark)
        i = j + 1;
    }
    return out;
}

int TLumEdit::WrapWidth() const {
    int w = charWidth_ * column_;
    if (autoWrap_) w = std::min(w, textAreaWidth_);
    return w;
}

int TLumEdit::WrapBreak(std::string_view s) {
    const int w = WrapWidth();
    const int n = static_cast<int>(s.size());
    const int cw = std::max(1, charWidth_);
    auto rawWidth = [&](int k) { return host_.TextWidth(s.substr(0, static_cast<size_t>(k))); };
    auto expandedWidth = [&](int k) {
        return host_.TextWidth(ExpandTabs(s.substr(0, static_cast<size_t>(k))));
    };
    // Most lines fit whole, and one measurement says so: the search below would end
    // at n as well, since the raw text is never wider than the expanded one.
    if (n <= 2 * (w / cw) + 16) {
        const bool hasTab = s.find('\t') != std::string_view::npos;
        if ((hasTab ? expandedWidth(n) : rawWidth(n)) <= w) return n;
    }
    int k = n;
    if (10 * cw < textAreaWidth_) {
        // A long rest is measured only up to a prefix that surely overflows; widths
        // grow with the byte count, so the answer is the same without measuring the
        // whole rest of a very long logical line for every piece.
        int probe = std::min(n, 2 * (w / cw) + 16);
        bool fits = rawWidth(probe) <= w && (probe == n || rawWidth(n) <= w);
        if (!fits) {
            k = std::min(n, w / cw);
            int step = k / 2;
            bool lastUp = true;
            while (step > 0 && k < n) {
                int width = rawWidth(k);
                if (width < w) {
                    if (!lastUp) step /= 2;
                    k = std::min(n, k + step);
                    lastUp = true;
                } else if (width > w) {
                    if (lastUp) step /= 2;
                    k = std::max(0, k - step);
                    lastUp = false;
                } else {
                    break;
                }
            }
        }
    }
    // The linear correction on the expanded text; after a few steps it finishes by
    // bisection, which finds the same position because widths only grow with k.
    const int floorWidth = 10 * cw;
    if (k == n) {
        // In a narrow window the correction starts from a prefix that surely overflows
        // rather than from the whole rest of a long line, for the same answer.
        const int probe = std::min(n, 2 * (std::max(w, floorWidth) / cw) + 16);
        if (rawWidth(probe) > std::max(w, floorWidth)) k = probe;
    }
    auto tooWide = [&](int kk) {
        int width = expandedWidth(kk);
        return width > w && width > floorWidth;
    };
    for (int steps = 0; k > 0 && tooWide(k); ++steps, --k) {
        if (steps == 8) {
            int lo = 0, hi = k;  // tooWide(hi), !tooWide(lo)
            while (hi - lo > 1) {
                int mid = lo + (hi - lo) / 2;
                if (tooWide(mid))
                    hi = mid;
                else
                    lo = mid;
            }
            return lo;
        }
    }
    return k;
}

std::size_t TLumEdit::FirstPieceLength(std::string_view rest) {
    const int content = static_cast<int>(rest.size() - MarkerLength(rest));
    int k = WrapBreak(rest.substr(0, static_cast<size_t>(content)));
    if (k >= content) return rest.size();
    // A piece never ends with CR, LF or NUL, which would read as a marker or split
    // CR LF, nor on a lead byte. The byte before a lead byte ends a character, so
    // it needs no second look at its type.
    bool mayBeLead = true;
    while (k >= 1) {
        if (EndsNoPiece(rest[k - 1])) {
            --k;
            mayBeLead = true;
        } else if (mayBeLead && ByteTypeAt(rest, k, SingleByteMode) == kLeadByte) {
            --k;
            mayBeLead = false;
        } else {
            break;
        }
    }
    if (k <= 0) {
        // Nothing fits before such bytes: the first character and the run behind it.
        do {
            k += (ByteTypeAt(rest, k + 1, SingleByteMode) == kLeadByte && k + 1 < content) ? 2 : 1;
        } while (k < content && EndsNoPiece(rest[k - 1]));
    }
    return k >= content ? rest.size() : static_cast<std::size_t>(k);
}

void TLumEdit::SplitEntry(std::string_view entry, std::vector<std::string>& out) {
    for (std::size_t pos = 0;;) {
        const std::string_view rest = entry.substr(pos);
        const std::size_t k = FirstPieceLength(rest);
        out.emplace_back(rest.substr(0, k));
        if (k == rest.size()) return;
        pos += k;
    }
}

void TLumEdit::CutEntry(std::string_view entry, std::vector<uint32_t>& lengths) {
    for (std::size_t pos = 0;;) {
        const std::size_t k = FirstPieceLength(entry.substr(pos));
        lengths.push_back(static_cast<uint32_t>(k));
        pos += k;
        if (pos == entry.size()) return;
    }
}

bool TLumEdit::CutWholeText(std::string_view text, bool wrap, bool stoppable,
                            std::vector<uint32_t>& lengths, const TaskProgress& progress) {
    lengths.reserve(text.size() / 48 + 1);
    std::size_t done = 0;
    bool stopped = false;
    ForEachLine(text, [&](std::string_view logical) {
        if (stopped) return;
        if (progress && done % 4096 == 0 &&
            !progress(static_cast<double>(logical.data() - text.data()) /
                      static_cast<double>(text.size())) &&
            stoppable) {
            stopped = true;
            return;
        }
        ++done;
        if (wrap)
            CutEntry(logical, lengths);
        else
            lengths.push_back(static_cast<uint32_t>(logical.size()));
    });
    return !stopped;
}

void TLumEdit::ReplaceStore(std::string&& text, std::vector<uint32_t>& lengths) {
    if (lengths.empty()) {
        text.assign(1, '\0');
        lengths.assign(1, 1);
    }
    lines_.SetEntries(std::move(text), lengths);
    std::vector<uint32_t>().swap(lengths);
}

void TLumEdit::SetWordWrap(bool value) {
    if (wordWrap_ == value) return;
    try {
        if (freeCaretMode_) {
            caretCol_ = std::min(caretCol_, ContentLength(caretLine_));
            if (!selActive_ && !allSelected_) {
                selStartLine_ = caretLine_;
                selStartCol_ = caretCol_;
            }
        }
        std::string text = lines_.GetText();
        std::vector<uint32_t> lengths;
        if (value) {
            wrappedWidth_ = WrapWidth();
            NoteWholeLayout();
            CutWholeText(text, true, false, lengths, OnWrapProgress);
            ReplaceStore(std::move(text), lengths);
            wordWrap_ = true;
            ToDisplayPos(caretCol_, caretLine_);
            ToDisplayPos(selStartCol_, selStartLine_);
        } else {
            ToLogicalPos(caretCol_, caretLine_);
            ToLogicalPos(selStartCol_, selStartLine_);
            CutWholeText(text, false, false, lengths, OnWrapProgress);
            ReplaceStore(std::move(text), lengths);
            wordWrap_ = false;
        }
        caretCol_ = ClampCol(caretLine_, caretCol_);
        selStartLine_ = std::clamp(selStartLine_, 0, LastLine());
        selStartCol_ = ClampCol(selStartLine_, selStartCol_);
        selEndLine_ = prevEndLine_ = caretLine_;
        selEndCol_ = prevEndCol_ = caretCol_;
        horzOffset_ = 0;
        if (!ScrollCaretIntoView(caretCol_, caretLine_, kScrollKeepMargin, true, false)) {
            UpdateVertRange();
            UpdateHorzRange();
            RepaintAll();
        }
    } catch (const std::exception&) {
        ShowError("Error:OC004");
    }
}

// Unwraps and wraps everything again (new width, tab size or font), keeping the caret
// and the anchor at the same logical place. The store changes only at the end, so a
// stop before that leaves the text as it was.
bool TLumEdit::RewrapWholeText() {
    if (holdWraps_) return true;
    ++wholeTextWraps_;
    const int oldWrappedWidth = wrappedWidth_;
    wrappedWidth_ = WrapWidth();
    try {
        int caretCol = caretCol_, caretLine = caretLine_;
        int anchorCol = selStartCol_, anchorLine = selStartLine_;
        ToLogicalPos(caretCol, caretLine);
        ToLogicalPos(anchorCol, anchorLine);
        std::string text = lines_.GetText();
        std::vector<uint32_t> lengths;
        if (!CutWholeText(text, true, wrapStoppable_, lengths, OnWrapProgress)) {
            wrappedWidth_ = oldWrappedWidth;
            --wholeTextWraps_;
            return false;
        }
        ReplaceStore(std::move(text), lengths);
        NoteWholeLayout();
        ToDisplayPos(caretCol, caretLine);
        ToDisplayPos(anchorCol, anchorLine);
        caretLine_ = caretLine;
        caretCol_ = ClampCol(caretLine, caretCol);
        selStartLine_ = anchorLine;
        selStartCol_ = ClampCol(anchorLine, anchorCol);
        selEndLine_ = prevEndLine_ = caretLine_;
        selEndCol_ = prevEndCol_ = caretCol_;
        topLine_ = std::min(topLine_, MaxTopLine());
        RedrawWholeView();
    } catch (const std::exception&) {
        ShowError("Error:OC004");
    }
    return true;
}

// The whole text was just laid out for the current settings.
void TLumEdit::NoteWholeLayout() {
    shapeStale_ = false;
    heldShape_ = CurrentWrapShape();
}

TLumEdit::WrapShape TLumEdit::CurrentWrapShape() const {
    const FontDescription font = EditorFontDescription();
    return WrapShape{WrapWidth(), charWidth_,  textAreaWidth_, tabCount_,
                     font.name,   font.height, font.style,     SingleByteMode};
}

void TLumEdit::Refresh() {
    if (wordWrap_) {
        RewrapWholeText();
        return;
    }
    RedrawWholeView();
}

void TLumEdit::RewrapFrom(int caretPixelX, int firstLine, bool repaint, int lastLine) {
    const int last = LastLine();
    firstLine = std::clamp(firstLine, 0, last);
    lastLine = std::clamp(std::max(lastLine, firstLine), 0, last);
    const int oldCaretLine = caretLine_;
    int start = firstLine;
    if (start > 0 && !EndsLine(start - 1)) --start;
    int end = LineEndOf(lastLine);

    std::vector<std::string> joined;
    int caretJoined = -1;
    size_t caretOffset = 0;
    try {
        std::string cur;
        for (int i = start; i <= end; ++i) {
            const std::string_view s = lines_.Get(i);
            if (i == caretLine_) {
                caretJoined = static_cast<int>(joined.size());
                caretOffset = cur.size() + static_cast<size_t>(std::max(0, caretCol_));
            }
            cur += s;
            if (EndsWithCrLf(s) || i == end) {
                joined.push_back(std::move(cur));
                cur.clear();
            }
        }
    } catch (const std::exception&) {
        ShowError("CLineError");
        return;
    }

    std::vector<std::string> pieces;
    int newCaretLine = caretLine_, newCaretCol = caretCol_;
    for (size_t j = 0; j < joined.size(); ++j) {
        size_t first = pieces.size();
        SplitEntry(joined[j], pieces);
        if (static_cast<int>(j) == caretJoined) {
            size_t off = caretOffset;
            size_t p = first;
            while (p + 1 < pieces.size() && off >= pieces[p].size()) {
                off -= pieces[p].size();
                ++p;
            }
            newCaretLine = start + static_cast<int>(p);
            newCaretCol = static_cast<int>(off);
        }
    }
    const int oldN = end - start + 1;
    const int newN = static_cast<int>(pieces.size());
    if (caretJoined < 0 && caretLine_ > end) newCaretLine = caretLine_ + newN - oldN;

    const int common = std::min(oldN, newN);
    // Rows whose text really changed: a byte typed into the first piece of a wrapped line
    // pushes a byte into every later piece, and those rows must be drawn again too.
    int firstChanged = firstLine;
    int lastChanged = firstLine;
    for (int i = 0; i < common; ++i) {
        if (lines_.Get(start + i) == pieces[i]) continue;
        lines_.Put(start + i, pieces[i]);
        firstChanged = std::min(firstChanged, start + i);
        lastChanged = std::max(lastChanged, start + i);
    }
    for (int i = common; i < newN; ++i) lines_.Insert(start + i, pieces[i]);
    try {
        for (int i = oldN - 1; i >= newN; --i) lines_.Delete(start + i);
    } catch (const std::exception&) {
        ShowError("WrapLineError2");
        return;
    }

    caretLine_ = std::clamp(newCaretLine, 0, LastLine());
    caretCol_ = CaretColumnOn(caretLine_, std::max(0, newCaretCol));
    if (!repaint) {
        caretX_ = ColumnToPixel(caretLine_, caretCol_) - horzOffset_;
        CollapseSelectionToCaret();
        return;
    }
    if (!FollowRewrappedCaret(oldCaretLine)) {
        if (newN == oldN && firstLine == lastLine)
            RepaintLines(firstChanged, lastChanged, firstChanged == lastChanged ? caretPixelX : 0);
        else
            RepaintLines(firstLine, topLine_ + linesPerPage_, 0);
    }
    CollapseSelectionToCaret();
}

// After a re-wrap: brings the caret into view, scrolling down with it when it moved
// down near the bottom, and updates both scroll ranges. True when that already asked
// for the whole view, so the caller draws no rows of its own.
bool TLumEdit::FollowRewrappedCaret(int oldCaretLine) {
    const int oldRange = lastVertRangeMax_;
    // Scrolling to the caret measures the rows it brings into view; measuring them
    // again costs as much as the edit itself in a long series of undo steps.
    const bool measured =
        ScrollCaretIntoView(caretCol_, caretLine_, kScrollKeepMargin, true, false);
    bool scrolled = measured;
    const int movedDown = caretLine_ - oldCaretLine;
    if (!scrolled && movedDown > 0 && caretLine_ - topLine_ + vertScrollLines_ >= linesPerPage_) {
        int top = std::min(MaxTopLine(), topLine_ + movedDown);
        if (top != topLine_) {
            topLine_ = top;
            scrolled = true;
            RepaintAll();
            PlaceCaret();
        }
    }
    UpdateVertRange();
    if (!measured) UpdateHorzRange();
    if (scrolled) return true;
    if (lastVertRangeMax_ == oldRange) return false;
    RepaintAll();
    return true;
}

void TLumEdit::ToLogicalPos(int& col, int& line) const {
    line = std::clamp(line, 0, LastLine());
    const int logical = lines_.CountLineEndsBefore(line);
    for (int i = line - 1; i >= 0; --i) {
        const std::string_view s = lines_.Get(i);
        if (EndsWithCrLf(s)) break;
        col += static_cast<int>(s.size());
    }
    line = logical;
}

void TLumEdit::ToDisplayPos(int& col, int& line, bool insideBreak) const {
    int idx = lines_.IndexAfterLineEnds(std::max(0, line));
    const int last = LastLine();
    idx = std::clamp(idx, 0, last);
    int remaining = col;
    line = idx;
    col = 0;
    // Stops at the end of the logical line, so an offset past it cannot drift into
    // the next logical line.
    while (remaining > 0) {
        const std::string_view s = lines_.Get(idx);
        line = idx;
        col = remaining;
        if (EndsWithCrLf(s) || idx == last) {
            col =
                std::min(remaining, ContentLength(idx) + (insideBreak && EndsWithCrLf(s) ? 1 : 0));
            break;
        }
        remaining -= static_cast<int>(s.size());
        ++idx;
    }
}

int TLumEdit::LineStartOf(int line) const {
    line = std::clamp(line, 0, LastLine());
    while (line > 0 && !EndsLine(line - 1)) --line;
    return line;
}

int TLumEdit::LineEndOf(int line) const {
    const int last = LastLine();
    line = std::clamp(line, 0, last);
    while (line < last && !EndsLine(line)) ++line;
    return line;
}

bool TLumEdit::IsWrappedLine(int line) const {
    if (line < 0 || line > LastLine()) return false;
    if (!EndsLine(line)) return true;
    return line >= 1 && !EndsLine(line - 1);
}

}  // namespace zentabo
