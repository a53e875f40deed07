// The editing primitives: every change of the text goes through here, records its
// undo entry and re-wraps or repaints.
#include <algorithm>

#include "editor/LumEdit.h"
#include "store/LumEditSub.h"

namespace zentabo {

namespace {

bool HasCrLf(std::string_view s) {
    return s.find("\r\n") != std::string_view::npos;
}

}  // namespace

// Keeps a range end inside the store, off a trail byte and never between CR and LF.
// A column just behind a CR LF is allowed: it is how a range takes the line break.
void TLumEdit::NormalizePos(int& line, int& col, bool snapToChar) const {
    line = std::clamp(line, 0, LastLine());
    const std::string_view s = lines_.Get(line);
    const int size = static_cast<int>(s.size());
    const int maxCol = line == LastLine() ? size - 1 : size;
    col = std::clamp(col, 0, std::max(0, maxCol));
    // Journal positions are taken byte for byte: a restored byte may go between the CR
    // and the LF that its removal had joined.
    if (snapToChar && size >= 2 && s[size - 2] == '\r' && s[size - 1] == '\n' && col == size - 1)
        col = size - 2;
    // The end of the text is always a position, even after a lone lead byte.
    if (snapToChar && col > 0 && col < ContentLength(line) &&
        ByteTypeAt(s, col + 1, SingleByteMode) == kTrailByte)
        --col;
}

void TLumEdit::CollapseSelectionToCaret() {
    selStartLine_ = selEndLine_ = prevEndLine_ = caretLine_;
    selStartCol_ = selEndCol_ = prevEndCol_ = caretCol_;
}

void TLumEdit::ClearSelection() {
    if (selActive_ || allSelected_) {
        SelectionRange r = GetSelectionRange();
        // A box whose lower end stands at column 0 still covers part of that row, which
        // the stream range leaves out.
        if (boxSelMode_ && selActive_) {
            r.startLine = std::min(selStartLine_, selEndLine_);
            r.endLine = std::max(selStartLine_, selEndLine_);
        }
        selActive_ = allSelected_ = false;
        RepaintLines(r.startLine, r.endLine, 0);
    }
    CollapseSelectionToCaret();
}

SelectionRange TLumEdit::GetSelectionRange() const {
    SelectionRange r;
    if (selActive_) {
        int sl = selStartLine_, sc = selStartCol_, el = selEndLine_, ec = selEndCol_;
        if (el < sl || (el == sl && ec < sc)) {
            std::swap(sl, el);
            std::swap(sc, ec);
        }
        if (ec == 0 && el > sl) {
            --el;
            ec = static_cast<int>(lines_.Get(std::min(el, LastLine())).size());
        }
        r = {sc, sl, el, ec, true};
    } else if (allSelected_) {
        r = {0, 0, LastLine(), ContentLength(LastLine()), true};
    } else {
        r = {caretCol_, caretLine_, caretLine_, caretCol_, false};
    }
    return r;
}

void TLumEdit::OrderRange(int& startLine, int& startCol, int& endLine, int& endCol) const {
    NormalizePos(startLine, startCol);
    NormalizePos(endLine, endCol);
    if (endLine < startLine || (endLine == startLine && endCol < startCol)) {
        std::swap(startLine, endLine);
        std::swap(startCol, endCol);
    }
}

std::string TLumEdit::GetTextRange(int startCol, int startLine, int endLine, int endCol) const {
    OrderRange(startLine, startCol, endLine, endCol);
    if (boxSelMode_ && startLine != endLine) return BoxTextBetween(startLine, endLine);
    return RangeText(startCol, startLine, endLine, endCol);
}

std::string TLumEdit::RangeText(int startCol, int startLine, int endLine, int endCol) const {
    if (startLine == endLine)
        return std::string(lines_.Get(startLine).substr(static_cast<size_t>(startCol),
                                                        static_cast<size_t>(endCol - startCol)));
    // Sized first: a whole-text selection is copied once, not regrown.
    size_t total =
        lines_.Get(startLine).size() - static_cast<size_t>(startCol) + static_cast<size_t>(endCol);
    for (int i = startLine + 1; i < endLine; ++i) total += lines_.Get(i).size();
    std::string out;
    out.reserve(total);
    out.append(lines_.Get(startLine), static_cast<size_t>(startCol));
    for (int i = startLine + 1; i < endLine; ++i) out += lines_.Get(i);
    out += lines_.Get(endLine).substr(0, static_cast<size_t>(endCol));
    return out;
}

void TLumEdit::WalkForward(int line, int col, int length, int& endLine, int& endCol) const {
    const int last = LastLine();
    int l = line, c = col, rem = std::max(0, length);
    while (rem > 0) {
        int size = static_cast<int>(lines_.Get(l).size()) - (l == last ? 1 : 0);
        int avail = size - c;
        if (rem < avail) {
            c += rem;
            break;
        }
        rem -= avail;
        if (l == last) {
            c = size;
            break;
        }
        ++l;
        c = 0;
    }
    endLine = l;
    endCol = c;
}

void TLumEdit::SelectFrom(int length, int col, int line) {
    NormalizePos(line, col);
    selStartLine_ = line;
    selStartCol_ = col;
    int l, c;
    WalkForward(line, col, length, l, c);
    if (l < LastLine() && c == static_cast<int>(lines_.Get(l).size())) {
        ++l;
        c = 0;
    }
    selEndLine_ = prevEndLine_ = caretLine_ = l;
    selEndCol_ = prevEndCol_ = caretCol_ = c;
    selActive_ = true;
}

std::string TLumEdit::DeleteRangeNoRecord(int startCol, int startLine, int endLine, int endCol,
                                          bool& removedLines, bool exact) {
    removedLines = false;
    NormalizePos(startLine, startCol, !exact);
    NormalizePos(endLine, endCol, !exact);
    if (endLine < startLine || (endLine == startLine && endCol < startCol)) {
        std::swap(startLine, endLine);
        std::swap(startCol, endCol);
    }
    std::string text = RangeText(startCol, startLine, endLine, endCol);
    caretLine_ = startLine;
    caretCol_ = startCol;
    if (text.empty()) return text;
    std::string s;
    if (startLine == endLine) {
        s = lines_.Get(startLine);
        s.erase(static_cast<size_t>(startCol), static_cast<size_t>(endCol - startCol));
    } else {
        s = lines_.Get(startLine).substr(0, static_cast<size_t>(startCol));
        s += lines_.Get(endLine).substr(static_cast<size_t>(endCol));
        for (int i = endLine; i > startLine; --i) lines_.Delete(i);
        removedLines = true;
    }
    if (s.empty()) {
        lines_.Delete(startLine);
        removedLines = true;
        caretCol_ = 0;
        caretX_ = 0;
    } else {
        lines_.Put(startLine, s);
    }
    // Without word wrap every entry is a whole logical line: a line that lost its
    // break takes in the next one at once.
    if (!wordWrap_ && !EndsLine(startLine)) {
        std::string joined(lines_.Get(startLine));
        joined += lines_.Get(startLine + 1);
        lines_.Put(startLine, joined);
        lines_.Delete(startLine + 1);
        removedLines = true;
    }
    caretLine_ = std::min(startLine, LastLine());
    const int countBefore = lines_.Count();
    MendLineEnds(caretLine_, caretLine_);
    if (lines_.Count() != countBefore) removedLines = true;
    return text;
}

void TLumEdit::DeleteSelection(bool repaint, bool box) {
    // Callers fire OnChange only after the whole command; the text changes here.
    textGeneration_ = NextTextGeneration();
    if (box && IsBoxSelection()) {
        DeleteBox(repaint);
        return;
    }
    SelectionRange r = GetSelectionRange();
    const bool present = selActive_ || allSelected_;
    selActive_ = allSelected_ = false;
    if (!present) {
        CollapseSelectionToCaret();
        return;
    }
    bool removedLines = false;
    std::string text =
        DeleteRangeNoRecord(r.startCol, r.startLine, r.endLine, r.endCol, removedLines);
    RecordUndo(kUndoDelete, text, caretLine_, caretCol_);
    // Where the removal joined a lone CR and a lone LF, the caret keeps its byte between
    // them, so that text typed over the selection goes where the selection was.
    if (!CaretInsideBreak()) caretCol_ = ClampCol(caretLine_, caretCol_);
    CollapseSelectionToCaret();
    if (repaint)
        UpdateAfterEdit(caretCol_, caretLine_, (removedLines || HasCrLf(text)) ? -1 : caretLine_,
                        caretLine_);
    else if (wordWrap_)
        RewrapFrom(0, caretLine_, false, caretLine_);
}

std::string TLumEdit::PadBlanks(int line, int col) const {
    if (!freeCaretMode_ || line < 0 || line > LastLine()) return {};
    int missing = col - ContentLength(line);
    if (missing <= 0) return {};
    static const std::string kBlanks(20, ' ');
    std::string out;
    while (static_cast<int>(out.size()) + 20 <= missing) out += kBlanks;
    out.append(kBlanks, 0, static_cast<size_t>(missing) - out.size());
    return out;
}

void TLumEdit::InsertNoRecord(const std::string& text, bool caretAfter) {
    const int line = caretLine_;
    const int col = caretCol_;
    const std::string_view s = lines_.Get(line);
    std::string head(s.substr(0, static_cast<size_t>(col)));
    std::string tail(s.substr(static_cast<size_t>(col)));
    lastInsertedLine_ = line;
    if (!HasCrLf(text)) {
        lines_.Put(line, head + text + tail);
        // A lone lead byte at the end of the text pairs with the byte after it; the
        // caret then stands before that pair rather than inside it.
        if (caretAfter) caretCol_ = col + static_cast<int>(text.size());
        MendLineEnds(line, line);
        if (caretAfter) caretCol_ = ClampCol(caretLine_, caretCol_);
        return;
    }
    // Splits after every CR LF (a lone CR or LF stays a byte of its line; MendLineEnds
    // below pairs those that meet the bytes around the text) and writes the first entry
    // in place. The store's InsertText would resize its whole slot array twice, which
    // costs far too much per Enter in a large text.
    const size_t tailSize = tail.size();
    const std::string joined = head + text + tail;
    int32_t index = line;
    size_t pos = 0;
    bool first = true;
    while (pos < joined.size()) {
        size_t cr = joined.find("\r\n", pos);
        size_t end = cr == std::string::npos ? joined.size() : cr + 2;
        std::string entry = joined.substr(pos, end - pos);
        if (first) {
            lines_.Put(index, entry);
            first = false;
        } else {
            lines_.Insert(++index, entry);
        }
        pos = end;
    }
    lastInsertedLine_ = index;
    if (caretAfter) {
        const std::string_view lastEntry = lines_.Get(index);
        if (tailSize == 0 && EndsWithCrLf(lastEntry) && index < LastLine()) {
            caretLine_ = index + 1;
            caretCol_ = 0;
        } else {
            caretLine_ = index;
            caretCol_ = static_cast<int>(lastEntry.size() - tailSize);
        }
    }
    MendLineEnds(line, index);
    if (caretAfter) caretCol_ = ClampCol(caretLine_, caretCol_);
}

void TLumEdit::PlaceCaretForInsert(std::string& text) {
    caretLine_ = std::clamp(caretLine_, 0, LastLine());
    // A free caret beyond the line end inserts there: the gap becomes blanks.
    if (freeCaretMode_ && caretCol_ > ContentLength(caretLine_)) {
        text = PadBlanks(caretLine_, caretCol_) + text;
        caretCol_ = ContentLength(caretLine_);
    }
    if (!CaretInsideBreak()) caretCol_ = ClampCol(caretLine_, caretCol_);
}

bool TLumEdit::CaretInsideBreak() const {
    const std::string_view s = lines_.Get(caretLine_);
    return caretLine_ < LastLine() && EndsWithCrLf(s) &&
           caretCol_ == static_cast<int>(s.size()) - 1;
}

void TLumEdit::InsertAtCaret(const std::string& rawText, bool repaint, bool box) {
    std::string text = NormalizeInput(rawText);
    if (box)
        InsertBox(text, repaint);
    else
        InsertBytesAtCaret(std::move(text), repaint);
}

void TLumEdit::InsertBytesAtCaret(std::string text, bool repaint) {
    if (text.empty()) return;
    PlaceCaretForInsert(text);
    const int recLine = caretLine_, recCol = caretCol_;
    InsertNoRecord(text, true);
    RecordUndo(kUndoInsert, text, recLine, recCol);
    // A lone CR or LF may pair with the bytes beside it and break the line there.
    const bool breaks = text.find_first_of("\r\n") != std::string::npos;
    if (repaint)
        UpdateAfterEdit(recCol, recLine, breaks ? -1 : caretLine_, caretLine_);
    else if (wordWrap_)
        RewrapFrom(0, recLine, false, caretLine_);
}

bool TLumEdit::SelectionOutgrowsUndoBuffer() const {
    const SelectionRange r = GetSelectionRange();
    int64_t bytes = r.endCol - int64_t{r.startCol};
    for (int i = r.startLine; i < r.endLine && bytes <= undoBuf_; ++i)
        bytes += static_cast<int64_t>(lines_.Get(i).size());
    return bytes > undoBuf_;
}

void TLumEdit::TypeText(const std::string& rawText) {
    std::string text = NormalizeInput(rawText);
    if (text.empty()) return;
    if ((selActive_ || allSelected_) && !boxSelMode_ && insertMode_ && UndoRec && undoBuf_ > 0 &&
        SelectionOutgrowsUndoBuffer()) {
        // Recorded as removal and insertion, the removal would not fit and undo could
        // not bring the selection back: one whole replacement keeps the step.
        ReplaceSelection(std::move(text));
        return;
    }
    // Removing the selection and typing are one undo step. Chaining by position alone
    // misses where the caret had to step off a byte that the removal paired with a
    // lone lead byte: undo would then take the typed text and leave the selection gone.
    const bool grouped = (selActive_ || allSelected_) && undoGroup_ == 0;
    if (grouped) undoGroup_ = ++lastUndoGroup_;
    struct GroupEnd {
        uint32_t& group;
        bool active;
        ~GroupEnd() {
            if (active) group = 0;
        }
    } groupEnd{undoGroup_, grouped};
    if (selActive_ || allSelected_) DeleteSelection(true, boxSelMode_);
    caretLine_ = std::clamp(caretLine_, 0, LastLine());
    caretCol_ = CaretColumnOn(caretLine_, caretCol_);
    uint8_t kind = kUndoInsert;
    const bool atTextEnd = caretLine_ == LastLine() && caretCol_ >= ContentLength(caretLine_);
    if (!insertMode_ && !atTextEnd) {
        kind = kUndoOverwriteTyped;
        // The typed text covers bytes of the whole logical line, so its pieces from the
        // caret on are joined into the caret's entry first.
        const int end = LineEndOf(caretLine_);
        if (end > caretLine_) {
            std::string joined;
            for (int i = caretLine_; i <= end; ++i) joined += lines_.Get(i);
            lines_.Put(caretLine_, joined);
            for (int i = end; i > caretLine_; --i) lines_.Delete(i);
        }
        std::string s(lines_.Get(caretLine_));
        const int after = std::max(0, ContentLength(caretLine_) - caretCol_);
        int n = std::min(after, static_cast<int>(text.size()));
        if (n > 0 && ByteTypeAt(s, caretCol_ + n, SingleByteMode) == kLeadByte && n < after) {
            // Covering only the lead byte would leave a stray trail byte: take the whole
            // character and keep the following columns in place with a blank.
            n = std::min(after, static_cast<int>(text.size()) + 1);
            text += ' ';
        }
        if (n > 0) {
            std::string removed = s.substr(static_cast<size_t>(caretCol_), static_cast<size_t>(n));
            s.erase(static_cast<size_t>(caretCol_), static_cast<size_t>(n));
            lines_.Put(caretLine_, s);
            RecordUndo(kUndoOverwritten, removed, caretLine_, caretCol_);
        }
    }
    if (freeCaretMode_ && caretCol_ > ContentLength(caretLine_)) {
        text = PadBlanks(caretLine_, caretCol_) + text;
        caretCol_ = ContentLength(caretLine_);
    }
    const int recLine = caretLine_, recCol = caretCol_;
    RecordUndo(kind, text, recLine, recCol);
    InsertNoRecord(text, true);
    if (wordWrap_) {
        // With a line break the caret ends below recLine, so the re-wrap itself draws
        // from recLine to the bottom of the view.
        RewrapFrom(ColumnToPixel(recLine, recCol) - horzOffset_, recLine, true, caretLine_);
    } else {
        UpdateAfterEdit(recCol, recLine, HasCrLf(text) ? -1 : caretLine_, caretLine_);
    }
    goalCol_ = caretCol_;
    CollapseSelectionToCaret();
    FireChange();
}

void TLumEdit::DeleteForward() {
    if (selActive_ || allSelected_) {
        DeleteSelection(true, boxSelMode_);
        FireChange();
        return;
    }
    caretLine_ = std::clamp(caretLine_, 0, LastLine());
    if (caretCol_ > ContentLength(caretLine_)) {
        if (freeCaretMode_) return;
        caretCol_ = ContentLength(caretLine_);
    }
    caretCol_ = ClampCol(caretLine_, caretCol_);
    int line = caretLine_, col = caretCol_;
    const std::string_view s = lines_.Get(line);
    int endLine = line, endCol;
    if (col < ContentLength(line)) {
        endCol = col + (ByteTypeAt(s, col + 1, SingleByteMode) == kLeadByte ? 2 : 1);
    } else if (line == LastLine()) {
        return;
    } else if (EndsWithCrLf(s)) {
        endCol = static_cast<int>(s.size());  // the CR LF as one unit
    } else {
        endLine = line + 1;  // the next piece's first character
        const std::string_view next = lines_.Get(endLine);
        endCol = ByteTypeAt(next, 1, SingleByteMode) == kLeadByte ? 2 : 1;
    }
    bool removedLines = false;
    std::string text = DeleteRangeNoRecord(col, line, endLine, endCol, removedLines);
    // The record keeps the exact byte position; only the caret steps off a byte that a
    // lone lead byte now pairs with.
    // The caret holds the start's exact byte even where the removal joined a lone CR
    // and a lone LF into a line break.
    RecordUndo(kUndoDeleteKeep, text, caretLine_, caretCol_);
    caretCol_ = ClampCol(caretLine_, caretCol_);
    CollapseSelectionToCaret();
    UpdateAfterEdit(caretCol_, caretLine_, (removedLines || HasCrLf(text)) ? -1 : caretLine_,
                    caretLine_);
    FireChange();
}

void TLumEdit::DeleteBackward() {
    if (selActive_ || allSelected_) {
        DeleteSelection(true, boxSelMode_);
        FireChange();
        return;
    }
    caretLine_ = std::clamp(caretLine_, 0, LastLine());
    if (caretCol_ > ContentLength(caretLine_)) {
        // Beyond the line end there is nothing to delete; the caret steps back.
        if (freeCaretMode_) {
            ScrollCaretIntoView(caretCol_ - 1, caretLine_, kScrollKeepMargin, true, true);
            return;
        }
        caretCol_ = ContentLength(caretLine_);
    }
    caretCol_ = ClampCol(caretLine_, caretCol_);
    int startLine = caretLine_, startCol;
    if (caretCol_ > 0) {
        const std::string_view s = lines_.Get(caretLine_);
        startCol = caretCol_ - (ByteTypeAt(s, caretCol_, SingleByteMode) == kTrailByte ? 2 : 1);
    } else if (caretLine_ == 0) {
        return;
    } else {
        startLine = caretLine_ - 1;
        const std::string_view prev = lines_.Get(startLine);
        int content = ContentLength(startLine);
        if (EndsWithCrLf(prev)) {
            startCol = content;  // joins the two logical lines
        } else {
            startCol =
                content -
                (content >= 2 && ByteTypeAt(prev, content, SingleByteMode) == kTrailByte ? 2 : 1);
        }
    }
    bool removedLines = false;
    std::string text =
        DeleteRangeNoRecord(std::max(0, startCol), startLine, caretLine_, caretCol_, removedLines);
    RecordUndo(kUndoDelete, text, caretLine_, caretCol_);
    caretCol_ = ClampCol(caretLine_, caretCol_);
    CollapseSelectionToCaret();
    UpdateAfterEdit(caretCol_, caretLine_, (removedLines || HasCrLf(text)) ? -1 : caretLine_,
                    caretLine_);
    FireChange();
}

void TLumEdit::ReplaceRange(const std::string& text, int startCol, bool repaint, int endLine,
                            int endCol, int startLine) {
    if (selActive_ || allSelected_) ClearSelection();
    if (startLine >= 0) selStartLine_ = std::min(startLine, LastLine());
    if (startCol >= 0) selStartCol_ = startCol;
    NormalizePos(selStartLine_, selStartCol_);
    if (endLine < 0) {
        caretLine_ = selStartLine_;
        caretCol_ = selStartCol_;
        InsertAtCaret(text, true, false);
        FireChange();
        return;
    }
    const int last = LastLine();
    int el, ec;
    endLine = std::max(0, endLine);
    if (endCol >= 0 && (wordWrap_ || endCol <= ContentLength(std::min(endLine, last)))) {
        el = std::min(endLine, last);
        ec = endCol;
        if (wordWrap_) {
            while (el < last && !EndsLine(el) && ContentLength(el) < ec) {
                ec -= ContentLength(el);
                ++el;
            }
        }
    } else if (endLine < last) {
        el = endLine + 1;
        ec = 0;
    } else {
        el = last;
        ec = ContentLength(last);
    }
    NormalizePos(el, ec);
    if (el == selStartLine_ && ec == selStartCol_) {
        caretLine_ = el;
        caretCol_ = ec;
    } else {
        selEndLine_ = el;
        selEndCol_ = ec;
        selActive_ = true;
        DeleteSelection(text.empty() && repaint, false);
    }
    InsertAtCaret(text, repaint, false);
    if (!repaint)
        CollapseSelectionToCaret();
    else if (wordWrap_ && !text.empty() && !EndsWithCrLf(text))
        RepaintLines(caretLine_, topLine_ + linesPerPage_, 0);
    FireChange();
}

void TLumEdit::UpdateAfterEdit(int caretCol, int firstLine, int lastChangedLine, int lastLine) {
    if (wordWrap_) {
        RewrapFrom(ColumnToPixel(firstLine, caretCol) - horzOffset_, firstLine, true, lastLine);
        if (lastChangedLine == -1) RepaintLines(firstLine, topLine_ + linesPerPage_, 0);
        return;
    }
    caretX_ = ColumnToPixel(caretLine_, caretCol_) - horzOffset_;
    bool moved = ScrollCaretIntoView(-1, caretLine_, kScrollKeepMargin, true, false);
    if (!moved) {
        KeepCaretVisibleHorizontally();
        RepaintLines(firstLine, firstLine, ColumnToPixel(firstLine, caretCol) - horzOffset_);
        RepaintLines(firstLine + 1,
                     lastChangedLine == -1 ? topLine_ + linesPerPage_ : lastChangedLine, 0);
    }
    UpdateVertRange();
    UpdateHorzRange();
    PlaceCaret();
}

void TLumEdit::MoveCaretTo(int col, int line, int scrollKind) {
    col = std::max(0, col);
    if (freeCaretMode_) col = std::min(col, FreeCaretLimit());
    line = std::clamp(line, 0, LastLine());
    col = CaretColumnOn(line, col);
    if (selActive_ || allSelected_) ClearSelection();
    ScrollCaretIntoView(col, line, scrollKind, true, true);
    if (OnSelectionChange) OnSelectionChange(*this);
    if (OnMoveCaret) OnMoveCaret(*this);
}

}  // namespace zentabo
