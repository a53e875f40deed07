// The replace run: the range (whole text or the selection), replacing each hit through
// the editing primitives so that it can be undone, asking OnFindChange when told to,
// and re-wrapping once at the end when nobody looks at the single hits.
#include <algorithm>

#include "editor/LumEdit.h"
#include "store/LumEditSub.h"
#include "store/TaskProgress.h"

namespace zentabo {

namespace {

int CountLineBreaks(std::string_view s) {
    int n = 0;
    for (size_t i = 0; i + 1 < s.size(); ++i)
        if (s[i] == '\r' && s[i + 1] == '\n') ++n;
    return n;
}

// Logical lines re-wrapped per batch at the end of a run: the joined text of a batch
// is held twice while it is split again, so batches keep that copy small.
constexpr int kRewrapBatch = 8192;

}  // namespace

bool TLumEdit::FindReplace(const std::string& findText, const std::string& replaceText,
                           bool fromTop, bool confirm, bool wholeText) {
    searchText_ = findText;
    changeText_ = replaceText;
    confirmReplace_ = confirm;
    restartAtCaret_ = true;
    searchForward_ = true;
    reachedEnd_ = false;
    hitCount_ = 0;
    abortReplace_ = false;

    const bool present = selActive_ || allSelected_;
    int line, col;
    SetFindRange(wholeText || !present, fromTop, line, col);
    ReplacePlan plan;
    if (!confirm) {
        // Nothing has changed yet: a stop leaves the text, the selection and the hit
        // highlight as they were.
        struct PhaseScope {
            ReplacePhase& phase;
            ~PhaseScope() { phase = ReplacePhase::kNone; }
        } scope{replacePhase_};
        try {
            PlanReplaceRun(line, col, plan);
        } catch (const TaskCancelled&) {
            return false;
        }
    }
    if (!confirm) BeginRevertibleRun();
    RemoveHitHighlight();
    if (present) ClearSelection();
    searchLine_ = line;
    searchCol_ = col;
    rewrapDeferred_ = false;
    BuildFindWindow(line, col);
    try {
        if (!confirm) ApplyReplacePlan(plan);
        while (searchLine_ <= searchEndLine_ && !abortReplace_) ForwardStep(true);
    } catch (const TaskCancelled&) {
        // Thrown only while the run can be taken back.
        replacePhase_ = ReplacePhase::kNone;
        RevertRun();
        hitCount_ = 0;
        return false;
    } catch (...) {
        replacePhase_ = ReplacePhase::kNone;
        EndRevertibleRun();
        // The text stays as far as it got, but wrapped.
        FinishDeferredRewrap();
        throw;
    }
    replacePhase_ = ReplacePhase::kNone;
    EndRevertibleRun();
    FinishDeferredRewrap();
    // A run over the whole text read all of it anyway; indexing its line ends now
    // keeps that scan from the first key after it. A run in a selection stays small.
    if (rangeIsWholeText_ && hitCount_ > 0) lines_.IndexAllLineEnds();
    if (confirmReplace_) {
        RemoveHitHighlight();
    } else {
        findHighlightLength_ = 0;
        UpdateVertRange();
        UpdateHorzRange();
        RepaintAll();
        ScrollCaretIntoView(caretCol_, caretLine_, kScrollKeepMargin, true, true);
    }
    restartAtCaret_ = true;
    if (OnFindChangeEnd) OnFindChangeEnd(*this, searchText_, changeText_, hitCount_);
    return true;
}

// The range of a replace run (the whole text, or the selection in text order) and the
// position it starts at; the selection itself stays until the run changes the text.
void TLumEdit::SetFindRange(bool wholeText, bool fromTop, int& line, int& col) {
    if (wholeText) {
        searchEndLine_ = LastLine();
        searchEndCut_ = 0;
        rangeIsWholeText_ = true;
        line = fromTop ? 0 : std::clamp(caretLine_, 0, LastLine());
        col = fromTop ? 0 : ClampCol(line, caretCol_);
        return;
    }
    const SelectionRange r = GetSelectionRange();
    line = std::clamp(r.startLine, 0, LastLine());
    col = ClampCol(line, r.startCol);
    searchEndLine_ = std::clamp(r.endLine, 0, LastLine());
    int endCol = r.endCol;
    const std::string_view endEntry = lines_.Get(searchEndLine_);
    if (searchEndLine_ < LastLine() && endCol >= static_cast<int>(endEntry.size()) &&
        EndsWithCrLf(endEntry)) {
        // Behind a line break: kept as the start of the next line, so that replacing
        // that line break does not carry the end on to the next line's end.
        ++searchEndLine_;
        endCol = 0;
    }
    const int size = static_cast<int>(lines_.Get(searchEndLine_).size());
    searchEndCut_ = std::clamp(size - endCol, 0, size);
    rangeIsWholeText_ = false;
    NoteRangeEnd();
}

void TLumEdit::ReplaceHit() {
    int endLine, endCol;
    WalkForward(hitLine_, hitCol_, findHighlightLength_, endLine, endCol);
    const std::string deleted = RangeText(hitCol_, hitLine_, endLine, endCol);
    const std::string inserted = NormalizeInput(changeText_);
    findHighlightLength_ = 0;
    if (confirmReplace_) {
        ReplaceRange(changeText_, hitCol_, true, endLine, endCol, hitLine_);
    } else {
        KeepRunRevertible(deleted.size(), inserted.size());
        std::string unused;
        ReplaceHitDeferred(endLine, endCol, unused);
    }
    ++hitCount_;
    // Hits close together in one long line are no display lines apart.
    if (replacePhase_ == ReplacePhase::kRest &&
        (static_cast<size_t>(hitCount_) & replacePollHits_) == 0)
        PollReplaceProgress();
    restartAtCaret_ = true;
    if (!rangeIsWholeText_)
        rangeEndLogical_ += CountLineBreaks(inserted) - CountLineBreaks(deleted);
    RestoreRangeEnd();
    // Behind the inserted text, wherever the re-wrap put it: the replacement itself is
    // never searched again.
    searchLine_ = caretLine_;
    searchCol_ = caretCol_;
    BuildFindWindow(searchLine_, searchCol_);
}

// The same records and text as ReplaceRange leaves, without the re-wrap and repaint;
// FinishDeferredRewrap wraps all touched lines once.
void TLumEdit::ReplaceHitDeferred(int endLine, int endCol, std::string& deleted) {
    const std::string text = NormalizeInput(changeText_);
    selActive_ = allSelected_ = false;
    bool removedLines = false;
    deleted = DeleteRangeNoRecord(hitCol_, hitLine_, endLine, endCol, removedLines);
    RecordUndo(kUndoDelete, deleted, caretLine_, caretCol_);
    caretCol_ = ClampCol(caretLine_, caretCol_);
    const int recLine = caretLine_, recCol = caretCol_;
    if (!text.empty()) {
        InsertNoRecord(text, true);
        RecordUndo(kUndoInsert, text, recLine, recCol);
    }
    CollapseSelectionToCaret();
    NoteDeferredRewrap(recLine, std::max(recLine, caretLine_));
    FireChange();
}

void TLumEdit::NoteDeferredRewrap(int first, int last) {
    if (!rewrapDeferred_) {
        rewrapDeferred_ = true;
        deferredRanges_.clear();
    }
    // Hits come in text order and each edit moves only the lines from its hit on, so
    // the lines noted for earlier hits stay where they were.
    if (!deferredRanges_.empty() && first <= deferredRanges_.back().second) {
        auto& back = deferredRanges_.back();
        back.first = std::min(back.first, first);
        back.second = std::max(back.second, last);
    } else {
        deferredRanges_.emplace_back(first, last);
    }
}

void TLumEdit::FinishDeferredRewrap() {
    if (!rewrapDeferred_) return;
    rewrapDeferred_ = false;
    std::vector<std::pair<int, int>> ranges;
    ranges.swap(deferredRanges_);
    if (!wordWrap_) return;
    // Bottom first: re-wrapping lines never moves the lines above them. Only the lines
    // a replacement touched are wrapped again; the rest keep their entries untouched.
    for (auto it = ranges.rbegin(); it != ranges.rend(); ++it) {
        const int first = std::clamp(it->first, 0, LastLine());
        int last = std::clamp(it->second, first, LastLine());
        while (last >= first) {
            const int from = LineStartOf(std::max(first, last - kRewrapBatch));
            RewrapFrom(0, from, false, last);
            if (from <= first) break;
            last = from - 1;
        }
    }
}

// Remembers the end of a selection-limited range as its logical line and the bytes
// from the end to that line's end, which replacements before it do not change.
void TLumEdit::NoteRangeEnd() {
    rangeEndLogical_ = lines_.CountLineEndsBefore(searchEndLine_);
    int64_t tail = searchEndCut_;
    const int last = LineEndOf(searchEndLine_);
    for (int l = searchEndLine_ + 1; l <= last; ++l)
        tail += static_cast<int64_t>(lines_.Get(l).size());
    rangeEndTail_ = tail;
}

void TLumEdit::RestoreRangeEnd() {
    if (rangeIsWholeText_) {
        searchEndLine_ = LastLine();
        searchEndCut_ = 0;
        return;
    }
    const int first =
        std::clamp(lines_.IndexAfterLineEnds(std::max(0, rangeEndLogical_)), 0, LastLine());
    int l = LineEndOf(first);
    int64_t rem = rangeEndTail_;
    while (l > first && rem >= static_cast<int64_t>(lines_.Get(l).size())) {
        rem -= static_cast<int64_t>(lines_.Get(l).size());
        --l;
    }
    searchEndLine_ = l;
    searchEndCut_ = static_cast<int>(std::min<int64_t>(rem, lines_.Get(l).size()));
}

}  // namespace zentabo
