// Taking a stopped replace run back. The run journals each replacement as it always
// does; while it can still be taken back, none of those records is cut to the undo
// budget, so a stop can apply them in reverse and the text is byte for byte what it
// was. Past a size limit the run commits: the records are cut as usual and the run
// goes on to its end.
#include <algorithm>

#include "editor/LumEdit.h"
#include "store/LumEditSub.h"

namespace zentabo {

namespace {

// What a record costs besides its text: the record itself and the journal's upkeep.
constexpr int64_t kRecordUpkeep = static_cast<int64_t>(sizeof(UndoRecord)) + 16;

}  // namespace

void TLumEdit::BeginRevertibleRun() {
    RunRevert& r = revert_;
    r = RunRevert{};
    // Without a journal there is nothing to take back with: the first change commits.
    r.active = UndoRec && undoBuf_ > 0;
    r.undoCount = undoList_.size();
    r.undoBytes = undoBytes_;
    r.historyTruncated = historyTruncated_;
    r.modified = modified_;
    r.redoAvailable = redoAvailable_;
    r.caretLine = caretLine_;
    r.caretCol = caretCol_;
    r.caretX = caretX_;
    r.goalCol = goalCol_;
    r.topLine = topLine_;
    r.horzOffset = horzOffset_;
    r.selActive = selActive_;
    r.allSelected = allSelected_;
    r.selStartLine = selStartLine_;
    r.selStartCol = selStartCol_;
    r.selEndLine = selEndLine_;
    r.selEndCol = selEndCol_;
    r.prevEndLine = prevEndLine_;
    r.prevEndCol = prevEndCol_;
    r.shiftStartLine = shiftStartLine_;
    r.shiftStartCol = shiftStartCol_;
    r.hitLine = hitLine_;
    r.hitCol = hitCol_;
    r.hitLength = findHighlightLength_;
    r.lastHitLength = lastHitLength_;
}

void TLumEdit::KeepRunRevertible(size_t removed, size_t inserted) {
    if (revert_.committed) return;
    if (revert_.active) {
        const int64_t cost = static_cast<int64_t>(removed + inserted) + 2 * kRecordUpkeep;
        // A record larger than the whole budget is never journalled.
        const bool journalled = static_cast<int64_t>(std::max(removed, inserted)) <= undoBuf_;
        if (journalled && revert_.cost + cost <= runRevertLimit_) {
            revert_.cost += cost;
            return;
        }
    }
    CommitRun();
}

void TLumEdit::CommitRun() {
    if (revert_.committed) return;
    revert_.committed = true;
    EndRevertibleRun();
    if (OnReplaceCommit) OnReplaceCommit(*this);
}

// The run keeps its changes: the journal is cut to its budget now, as each record
// would have cut it, and the redo records the run cleared are gone.
void TLumEdit::EndRevertibleRun() {
    if (!revert_.active) return;
    revert_.active = false;
    while (undoBytes_ > undoBuf_ && !undoList_.empty()) {
        undoBytes_ -= static_cast<int64_t>(undoList_.back().text.size());
        undoList_.pop_back();
        historyTruncated_ = true;
    }
    std::deque<UndoRecord>().swap(revert_.redo);
}

void TLumEdit::RevertRun() {
    RunRevert& r = revert_;
    r.active = false;
    // Newest first, each where the text the later ones left puts it, without re-wrap:
    // the lines they touch are wrapped once at the end. Those lines are counted from
    // the text's end, which the changes above them, made later, do not move.
    std::vector<std::pair<int, int>> touched;  // lines from the end: first, last
    while (undoList_.size() > r.undoCount) {
        const UndoRecord rec = std::move(undoList_.front());
        undoList_.pop_front();
        const int line = rec.kind == kUndoDelete ? ApplyInsertAt(rec, true) : ApplyDeleteAt(rec);
        touched.emplace_back(LastLine() - line, LastLine() - std::max(line, caretLine_));
    }
    selActive_ = allSelected_ = false;
    rewrapDeferred_ = false;
    for (auto it = touched.rbegin(); it != touched.rend(); ++it)
        NoteDeferredRewrap(std::max(0, LastLine() - it->first), LastLine() - it->second);
    FinishDeferredRewrap();

    undoBytes_ = r.undoBytes;
    historyTruncated_ = r.historyTruncated;
    if (r.redoKept) redoList_ = std::move(r.redo);
    if (redoAvailable_ != r.redoAvailable) {
        redoAvailable_ = r.redoAvailable;
        if (OnChangeRedoMode) OnChangeRedoMode(*this, redoAvailable_);
    }
    caretLine_ = r.caretLine;
    caretCol_ = r.caretCol;
    caretX_ = r.caretX;
    goalCol_ = r.goalCol;
    topLine_ = r.topLine;
    horzOffset_ = r.horzOffset;
    selActive_ = r.selActive;
    allSelected_ = r.allSelected;
    selStartLine_ = r.selStartLine;
    selStartCol_ = r.selStartCol;
    selEndLine_ = r.selEndLine;
    selEndCol_ = r.selEndCol;
    prevEndLine_ = r.prevEndLine;
    prevEndCol_ = r.prevEndCol;
    shiftStartLine_ = r.shiftStartLine;
    shiftStartCol_ = r.shiftStartCol;
    hitLine_ = r.hitLine;
    hitCol_ = r.hitCol;
    findHighlightLength_ = r.hitLength;
    lastHitLength_ = r.lastHitLength;
    std::deque<UndoRecord>().swap(r.redo);
    SetModified(r.modified);
    FireChange();
    UpdateVertRange();
    UpdateHorzRange();
    RepaintAll();
}

}  // namespace zentabo
