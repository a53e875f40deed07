// The undo/redo journal: recording with its byte budget, and applying records in
// either direction with at most one chained record.
#include <algorithm>
#include <new>

#include "editor/LumEdit.h"
#include "store/LumEditSub.h"

namespace zentabo {

bool TLumEdit::BeginJournalledChange() {
    SetModified(true);
    // Redo records describe the text before this change: even when nothing is
    // recorded, replaying them now would write old text into the changed document.
    if (!redoList_.empty()) {
        // A replace run that may still be taken back puts them back then.
        if (revert_.active && !revert_.redoKept) {
            revert_.redo.swap(redoList_);
            revert_.redoKept = true;
        }
        redoList_.clear();
        redoAvailable_ = false;
        if (OnChangeRedoMode) OnChangeRedoMode(*this, false);
    }
    if (!UndoRec || undoBuf_ == 0) {
        // The older records no longer match the text either: undoing one would put
        // bytes at positions this change moved.
        if (!undoList_.empty()) {
            undoList_.clear();
            undoBytes_ = 0;
            historyTruncated_ = true;
        }
        return false;
    }
    return true;
}

bool TLumEdit::RecordUndo(uint8_t kind, const std::string& text, int line, int column) {
    if (text.empty()) return true;
    if (!BeginJournalledChange()) return true;
    if (column == -1) {
        SelectionRange r = GetSelectionRange();
        line = r.startLine;
        column = r.startCol;
    }
    const int64_t size = static_cast<int64_t>(text.size());
    const bool fits = size <= undoBuf_;
    // A replace run that may still be taken back keeps every record until it ends.
    while (!revert_.active && undoBytes_ + size > undoBuf_ && !undoList_.empty()) {
        undoBytes_ -= static_cast<int64_t>(undoList_.back().text.size());
        undoList_.pop_back();
        historyTruncated_ = true;
    }
    if (fits) {
        try {
            if (wordWrap_) ToLogicalPos(column, line);
            undoList_.push_front(UndoRecord{kind, column, line, text, undoGroup_});
            undoBytes_ += size;
        } catch (const std::bad_alloc&) {
            historyTruncated_ = true;
            ShowError("Error:OC001");
            // Without this record the run could no longer be taken back.
            if (revert_.active) CommitRun();
        }
    } else {
        historyTruncated_ = true;
    }
    return fits;
}

void TLumEdit::RecordToDisplay(int& col, int& line) const {
    if (wordWrap_) {
        ToDisplayPos(col, line, true);
    } else {
        line = std::clamp(line, 0, LastLine());
    }
    int l = line, c = col;
    NormalizePos(l, c, false);
    line = l;
    col = c;
}

void TLumEdit::MoveRecord(std::deque<UndoRecord>& from, std::deque<UndoRecord>& to, bool fromUndo,
                          uint8_t newKind, std::string text) {
    UndoRecord moved{newKind, from.front().column, from.front().line, std::move(text),
                     from.front().group};
    const int64_t oldSize = static_cast<int64_t>(from.front().text.size());
    const int64_t newSize = static_cast<int64_t>(moved.text.size());
    try {
        to.push_front(std::move(moved));
    } catch (const std::bad_alloc&) {
        ShowError(fromUndo ? "Error:OC001_2" : "Error:OC001_3");
        from.pop_front();
        if (fromUndo) undoBytes_ -= oldSize;
        historyTruncated_ = true;
        return;
    }
    from.pop_front();
    if (fromUndo)
        undoBytes_ -= oldSize;
    else
        undoBytes_ += newSize;
}

// Selects the record's length from its position and deletes it as a selection.
int TLumEdit::ApplyDeleteAt(const UndoRecord& r) {
    int col = r.column, line = r.line;
    RecordToDisplay(col, line);
    int endLine, endCol;
    WalkForward(line, col, static_cast<int>(r.text.size()), endLine, endCol);
    selActive_ = allSelected_ = false;
    bool removedLines = false;
    DeleteRangeNoRecord(col, line, endLine, endCol, removedLines, true);
    CollapseSelectionToCaret();
    return caretLine_;
}

int TLumEdit::ApplyInsertAt(const UndoRecord& r, bool caretAfter) {
    int col = r.column, line = r.line;
    RecordToDisplay(col, line);
    caretLine_ = line;
    caretCol_ = col;
    InsertNoRecord(r.text, caretAfter);
    return line;
}

// Applies every piece of a box payload (insert or delete) and answers the payload
// in reverse order, as the opposite record needs it.
std::string TLumEdit::ApplyBoxPieces(const std::string& payload, bool insert, int& firstLine) {
    std::vector<BoxPiece> pieces;
    const bool ok = ParseBoxPayload(payload, pieces);
    std::string reversed;
    reversed.reserve(payload.size());
    firstLine = LastLine();
    for (const BoxPiece& p : pieces) {
        UndoRecord r{0, p.column, p.line, p.text};
        int col = p.column, line = p.line;
        RecordToDisplay(col, line);
        firstLine = std::min(firstLine, line);
        if (insert) {
            ApplyInsertAt(r, true);
        } else {
            ApplyDeleteAt(r);
        }
        // Keeps every entry within the wrap width before the next piece is placed.
        if (wordWrap_) RewrapFrom(0, std::min(line, caretLine_), false, std::max(line, caretLine_));
        // Appended here and turned round below: putting each piece in front would
        // copy the payload once per piece.
        std::string piece;
        AppendBoxPiece(piece, p.column, p.line, p.text);
        std::reverse(piece.begin(), piece.end());
        reversed += piece;
    }
    if (!ok) {
        ShowError("Error:OC010_BoxUndo");
        caretLine_ = 0;
        caretCol_ = 0;
    }
    std::reverse(reversed.begin(), reversed.end());
    return reversed;
}

void TLumEdit::ApplyFront(std::deque<UndoRecord>& from, std::deque<UndoRecord>& to, bool fromUndo) {
    if (selActive_ || allSelected_) ClearSelection();
    if (from.front().kind == kUndoReplace) return ApplyReplaceRecord(from, to, fromUndo);
    const UndoRecord r = from.front();
    int firstLine = 0;
    int lastLine = 0;
    lastInsertedLine_ = 0;
    auto chain = [&]() {
        if (from.empty()) return;
        const UndoRecord r2 = from.front();
        // A record of a grouped step never takes one from outside its group along.
        if (r2.column != r.column || r2.line != r.line || r2.group != r.group) return;
        if (r2.kind == kUndoDelete) {
            firstLine = std::min(firstLine, ApplyInsertAt(r2, true));
            MoveRecord(from, to, fromUndo, kUndoInsert, r2.text);
        } else if (r2.kind == kUndoOverwritten) {
            firstLine = std::min(firstLine, ApplyInsertAt(r2, false));
            MoveRecord(from, to, fromUndo, kUndoOverwriteTyped, r2.text);
        } else if (r2.kind == kUndoBoxDelete) {
            int chainFirst = 0;
            std::string reversed = ApplyBoxPieces(r2.text, true, chainFirst);
            firstLine = std::min(firstLine, chainFirst);
            MoveRecord(from, to, fromUndo, kUndoBoxInsert, reversed);
        }
    };
    switch (r.kind) {
        case kUndoInsert:
        case kUndoInsertKeep:
        case kUndoOverwriteTyped:
            firstLine = ApplyDeleteAt(r);
            MoveRecord(from, to, fromUndo, OppositeUndoKind(r.kind), r.text);
            chain();
            break;
        case kUndoDelete:
        case kUndoDeleteKeep:
            firstLine = ApplyInsertAt(r, r.kind == kUndoDelete);
            MoveRecord(from, to, fromUndo, OppositeUndoKind(r.kind), r.text);
            break;
        case kUndoBoxInsert: {
            std::string reversed = ApplyBoxPieces(r.text, false, firstLine);
            MoveRecord(from, to, fromUndo, kUndoBoxDelete, reversed);
            chain();
            int col = r.column, line = r.line;
            RecordToDisplay(col, line);
            caretLine_ = line;
            caretCol_ = col;
            break;
        }
        case kUndoBoxDelete: {
            std::string reversed = ApplyBoxPieces(r.text, true, firstLine);
            MoveRecord(from, to, fromUndo, kUndoBoxInsert, reversed);
            break;
        }
        case kUndoOverwritten:
            // Overwrite typing at a line end covers nothing, so its typed text (kind 5)
            // comes back from undo as a kind 4 with no partner: redo re-inserts it.
            firstLine = ApplyInsertAt(r, true);
            MoveRecord(from, to, fromUndo, kUndoOverwriteTyped, r.text);
            break;
        default:
            // No kind 7 is ever written; an unknown kind is dropped rather than
            // blocking the journal.
            MoveRecord(from, to, fromUndo, r.kind, r.text);
            break;
    }
    firstLine = std::clamp(std::min(firstLine, caretLine_), 0, LastLine());
    if (wordWrap_) {
        lastLine = std::max({firstLine, caretLine_, std::min(lastInsertedLine_, LastLine())});
        // Re-wraps without drawing, then draws each changed row once. A removal shows
        // everything from the change to the bottom of the view; text put back within
        // one line shows the rest of that logical line, as the wrap may have pushed
        // bytes into its later pieces.
        const bool restoredOnly =
            r.kind == kUndoDelete || r.kind == kUndoDeleteKeep || r.kind == kUndoOverwritten;
        const int rowsBefore = lines_.Count();
        const int caretBefore = caretLine_;
        RewrapFrom(0, firstLine, false, lastLine);
        if (!FollowRewrappedCaret(caretBefore)) {
            if (restoredOnly && lines_.Count() == rowsBefore && firstLine == lastLine)
                RepaintLines(firstLine, LineEndOf(firstLine), 0);
            else
                RepaintLines(firstLine, topLine_ + linesPerPage_, 0);
        }
    } else {
        caretLine_ = std::clamp(caretLine_, 0, LastLine());
        caretCol_ = ClampCol(caretLine_, caretCol_);
        UpdateAfterEdit(caretCol_, firstLine, -1, lastLine);
    }
    CollapseSelectionToCaret();
    goalCol_ = caretCol_;
}

void TLumEdit::Undo() {
    if (undoList_.empty() || undoBuf_ == 0) return;
    try {
        const uint32_t group = undoList_.front().group;
        do {
            ApplyFront(undoList_, redoList_, true);
        } while (group != 0 && !undoList_.empty() && undoList_.front().group == group);
    } catch (const std::exception&) {
        ShowError("Error:OC001_2");
    }
    if (!redoAvailable_ && !redoList_.empty()) {
        redoAvailable_ = true;
        if (OnChangeRedoMode) OnChangeRedoMode(*this, true);
    }
    SetModified(!undoList_.empty() || historyTruncated_);
    FireChange();
}

void TLumEdit::Redo() {
    if (redoList_.empty()) return;
    try {
        const uint32_t group = redoList_.front().group;
        do {
            ApplyFront(redoList_, undoList_, false);
        } while (group != 0 && !redoList_.empty() && redoList_.front().group == group);
    } catch (const std::exception&) {
        ShowError("Error:OC001_3");
    }
    if (redoList_.empty() && redoAvailable_) {
        redoAvailable_ = false;
        if (OnChangeRedoMode) OnChangeRedoMode(*this, false);
    }
    SetModified(!undoList_.empty() || historyTruncated_);
    FireChange();
}

}  // namespace zentabo
