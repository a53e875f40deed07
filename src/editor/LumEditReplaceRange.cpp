// Replacing a large range at once: the new display lines are built and wrapped in one
// pass, written over the old entries in one store operation and journalled as one
// record holding only the bytes taken out. Undo and redo swap those bytes back the same
// way, so a whole-text command on a large page costs about as much as loading it.
#include <algorithm>
#include <cstring>
#include <new>

#include "editor/LumEdit.h"
#include "store/LineCutting.h"
#include "store/LumEditSub.h"

namespace zentabo {

namespace {

// Whether text already holds only CR LF line breaks, so it can be used without the copy
// that normalizing makes. A NUL is an ordinary byte that normalizing keeps.
bool IsNormalized(std::string_view text) {
    const char* const data = text.data();
    const char* const end = data + text.size();
    for (const char* p = data; (p = static_cast<const char*>(std::memchr(p, '\r', end - p))); ++p) {
        if (p + 1 == end || p[1] != '\n') return false;
    }
    for (const char* p = data; (p = static_cast<const char*>(std::memchr(p, '\n', end - p))); ++p) {
        if (p == data || p[-1] != '\r') return false;
    }
    return true;
}

// Only CR LF ends a line; a lone CR or LF is an ordinary byte.
size_t CountLineBreaks(std::string_view text) {
    size_t n = 0;
    for (size_t p = 0; (p = text.find("\r\n", p)) != std::string_view::npos; p += 2) ++n;
    return n;
}

// The bytes of a logical line before its CR LF or end-of-text NUL.
size_t ContentBytes(std::string_view s) {
    if (s.size() >= 2 && s[s.size() - 2] == '\r' && s.back() == '\n') return s.size() - 2;
    if (!s.empty() && s.back() == '\0') return s.size() - 1;
    return s.size();
}

}  // namespace

void TLumEdit::ReplaceSelection(std::string text) {
    if (boxSelMode_ && selActive_) {
        InsertString(text);  // a box replaces its own pieces
        return;
    }
    if (!IsNormalized(text)) text = NormalizeInput(text);
    const bool present = selActive_ || allSelected_;
    SelectionRange r = GetSelectionRange();
    if (!present) {
        if (text.empty()) {
            FireChange();
            return;
        }
        PlaceCaretForInsert(text);
        r = {caretCol_, caretLine_, caretLine_, caretCol_, false};
    }
    selActive_ = allSelected_ = false;
    try {
        OrderRange(r.startLine, r.startCol, r.endLine, r.endCol);
        if (present && !text.empty() && LoneLeadPairsAcross(r)) {
            // The text goes in before the lone lead byte, as typing over the selection
            // puts it: the byte is taken out and put back behind the text.
            text += lines_.Get(r.startLine)[static_cast<size_t>(--r.startCol)];
        }
        // The journal keeps the start as a logical position, valid after any re-wrap.
        int recCol = r.startCol, recLine = r.startLine;
        if (wordWrap_) ToLogicalPos(recCol, recLine);
        const int64_t inserted = static_cast<int64_t>(text.size());
        const int oldCaretLine = caretLine_;
        std::string removed = ReplaceRangeInBulk(r.startCol, r.startLine, r.endLine, r.endCol,
                                                 std::move(text), false);
        JournalReplacement(UndoRecord{.kind = kUndoReplace,
                                      .column = recCol,
                                      .line = recLine,
                                      .text = std::move(removed),
                                      .group = undoGroup_,
                                      .replacedLength = inserted});
        ShowReplacedLines(r.startLine, oldCaretLine);
    } catch (const std::bad_alloc&) {
        ShowError("Error:OC001");
        CollapseSelectionToCaret();
    }
    FireChange();
}

// Whether removing the range would leave a lone lead byte before its start paired with
// the byte behind its end, so that the start falls inside a character.
bool TLumEdit::LoneLeadPairsAcross(const SelectionRange& r) const {
    if (r.startCol <= 0) return false;
    const std::string_view startEntry = lines_.Get(r.startLine);
    const std::string_view endEntry = lines_.Get(r.endLine);
    char after;
    if (r.endCol < ContentLength(r.endLine)) {
        after = endEntry[static_cast<size_t>(r.endCol)];
    } else if (r.endLine < LastLine() && r.endCol == static_cast<int>(endEntry.size()) &&
               ContentLength(r.endLine + 1) > 0) {
        after = lines_.Get(r.endLine + 1)[0];  // behind a removed break or a wrapped piece
    } else {
        return false;
    }
    std::string joined(startEntry.substr(0, static_cast<size_t>(r.startCol)));
    joined += after;
    return ByteTypeAt(joined, r.startCol + 1, SingleByteMode) == kTrailByte;
}

std::string TLumEdit::ReplaceRangeInBulk(int startCol, int startLine, int endLine, int endCol,
                                         std::string&& text, bool exact) {
    NormalizePos(startLine, startCol, !exact);
    NormalizePos(endLine, endCol, !exact);
    // The logical lines the range touches, whole, so each is wrapped from its start.
    const int first = wordWrap_ ? LineStartOf(startLine) : startLine;
    int last = wordWrap_ ? LineEndOf(endLine) : endLine;
    std::string head;
    for (int i = first; i < startLine; ++i) head += lines_.Get(i);
    head += lines_.Get(startLine).substr(0, static_cast<size_t>(startCol));
    std::string tail(lines_.Get(endLine).substr(static_cast<size_t>(endCol)));
    for (int i = endLine + 1; i <= last; ++i) tail += lines_.Get(i);
    // A range that took a line break away joins the following logical line. Only CR LF
    // ends a line: a NUL the new text ends with is one of its bytes.
    const std::string_view ending = !tail.empty()   ? std::string_view(tail)
                                    : !text.empty() ? std::string_view(text)
                                                    : std::string_view(head);
    if (!EndsWithCrLf(ending) && last < LastLine()) {
        const int next = wordWrap_ ? LineEndOf(last + 1) : last + 1;
        for (int i = last + 1; i <= next; ++i) tail += lines_.Get(i);
        last = next;
    }

    // The caret's logical offset behind the new text.
    const size_t breaks = CountLineBreaks(text);
    const size_t lastBreak = text.rfind("\r\n");
    size_t caretOffset =
        lastBreak == std::string::npos ? head.size() + text.size() : text.size() - (lastBreak + 2);

    // The new entries share the new text's bytes where they are whole lines of it; the
    // first and the last logical line, which hold the head and the tail, get bytes of
    // their own. A large text thus becomes entries without being copied.
    std::vector<TLumStrings::EntrySource> sources;
    std::vector<uint32_t> lengths;
    lengths.reserve(breaks + text.size() / static_cast<size_t>(std::max(column_, 16)) + 4);
    int caretLine = -1, caretCol = 0;
    size_t logicalIndex = 0;
    auto emit = [&](std::string_view logical) {
        const size_t firstPiece = lengths.size();
        if (wordWrap_)
            CutEntry(logical, lengths);
        else
            lengths.push_back(static_cast<uint32_t>(logical.size()));
        sources.back().pieces += lengths.size() - firstPiece;
        if (logicalIndex++ != breaks) return;
        const size_t content = ContentBytes(logical);
        size_t off = std::min(caretOffset, content);
        // A lone lead byte at the end of the new text pairs with the byte after it;
        // the caret stands before that pair, in free caret mode too.
        if (off > 0 && off < content &&
            ByteTypeAt(logical, static_cast<int>(off) + 1, SingleByteMode) == kTrailByte)
            --off;
        size_t p = firstPiece;
        while (p + 1 < lengths.size() && off >= lengths[p]) {
            off -= lengths[p];
            ++p;
        }
        caretLine = first + static_cast<int>(p);
        caretCol = static_cast<int>(off);
    };
    // Emits the source's bytes as one logical line, unless they are empty: nothing
    // follows a text that ends with a line break where the range ended behind one.
    auto emitSource = [&](std::string bytes) {
        sources.push_back({std::move(bytes), 0, 0});
        if (!sources.back().bytes.empty()) emit(sources.back().bytes);
    };
    const size_t firstBreak = text.find("\r\n");
    if (firstBreak == std::string::npos) {
        emitSource(head + text + tail);
    } else {
        const size_t firstEnd = firstBreak + 2;
        const size_t lastStart = text.rfind("\r\n") + 2;
        emitSource(head + text.substr(0, firstEnd));
        std::string last = text.substr(lastStart) + tail;
        sources.push_back({std::move(text), firstEnd, 0});
        const std::string& middle = sources.back().bytes;
        ForEachLine(std::string_view(middle).substr(firstEnd, lastStart - firstEnd), emit);
        emitSource(std::move(last));
    }
    std::string().swap(text);

    const int newCount = static_cast<int>(lengths.size());
    std::string removed;
    lines_.ReplaceEntries(first, last - first + 1, sources, lengths, removed);
    removed.erase(0, head.size());
    removed.resize(removed.size() - tail.size());
    if (caretLine < 0) caretLine = first + newCount;
    caretLine_ = std::clamp(caretLine, 0, LastLine());
    caretCol_ = caretCol;
    // Head and tail may bring a lone CR and a lone LF together around the new text.
    MendLineEnds(first, std::max(first, first + newCount - 1));
    if (!freeCaretMode_) caretCol_ = ClampCol(caretLine_, caretCol_);
    CollapseSelectionToCaret();
    return removed;
}

// Keeps the step whole: a record too large for the budget still stays, as the only
// one, so the command that made it can be taken back; the next change drops it again.
void TLumEdit::JournalReplacement(UndoRecord record) {
    // Only the bytes the record holds count: the new text is in the store.
    const int64_t size = static_cast<int64_t>(record.text.size());
    if (size == 0 && record.replacedLength == 0) return;
    if (!BeginJournalledChange()) return;
    while (undoBytes_ + size > undoBuf_ && !undoList_.empty()) {
        undoBytes_ -= static_cast<int64_t>(undoList_.back().text.size());
        undoList_.pop_back();
        historyTruncated_ = true;
    }
    if (size > undoBuf_) historyTruncated_ = true;
    undoList_.push_front(std::move(record));
    undoBytes_ += size;
}

void TLumEdit::ApplyReplaceRecord(std::deque<UndoRecord>& from, std::deque<UndoRecord>& to,
                                  bool fromUndo) {
    UndoRecord r = std::move(from.front());
    from.pop_front();
    if (fromUndo) undoBytes_ -= static_cast<int64_t>(r.text.size());
    int col = r.column, line = r.line;
    RecordToDisplay(col, line);
    int endLine, endCol;
    WalkForward(line, col, static_cast<int>(r.replacedLength), endLine, endCol);
    const int64_t held = static_cast<int64_t>(r.text.size());
    const int oldCaretLine = caretLine_;
    std::string taken = ReplaceRangeInBulk(col, line, endLine, endCol, std::move(r.text), true);
    if (!fromUndo) undoBytes_ += static_cast<int64_t>(taken.size());
    to.push_front(UndoRecord{.kind = kUndoReplace,
                             .column = r.column,
                             .line = r.line,
                             .text = std::move(taken),
                             .group = r.group,
                             .replacedLength = held});
    ShowReplacedLines(line, oldCaretLine);
}

void TLumEdit::ShowReplacedLines(int firstLine, int oldCaretLine) {
    topLine_ = std::min(topLine_, MaxTopLine());
    caretX_ = ColumnToPixel(caretLine_, caretCol_) - horzOffset_;
    if (!FollowRewrappedCaret(oldCaretLine))
        RepaintLines(std::min(firstLine, LastLine()), topLine_ + linesPerPage_, 0);
    PlaceCaret();
    CollapseSelectionToCaret();
    goalCol_ = caretCol_;
}

}  // namespace zentabo
