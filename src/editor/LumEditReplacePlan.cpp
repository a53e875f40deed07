// A replace run without asking in two passes. The first finds every hit on the text as
// it is, each searched behind the end of the one before, as the run would find it
// behind each inserted text; it changes nothing, so a stop here costs nothing. The
// second replaces the hits found, in text order, through the same steps as a run that
// finds them one by one (a stop there takes the changes back).
#include <algorithm>

#include "editor/LumEdit.h"
#include "store/LumEditSub.h"
#include "store/TaskProgress.h"

namespace zentabo {

namespace {

// The search takes about this share of a run's time; the replacements the rest.
constexpr double kScanShare = 0.8;
// A plan beyond this many hits (16 bytes each) is cut there: the run finds the rest
// as it goes.
constexpr size_t kMaxPlannedHits = size_t{1} << 22;

}  // namespace

// Whether the text the run inserts leaves the text behind each hit reading as before:
// no lead byte left open that would pair with the next byte. Its line breaks are all
// CR LF, which pair with nothing around them, and a NUL in it is an ordinary byte.
bool TLumEdit::ReplacementKeepsSeams(std::string_view inserted) const {
    if (SingleByteMode) return true;
    size_t leadRun = 0;
    for (auto it = inserted.rbegin();
         it != inserted.rend() && IsLeadByte(static_cast<unsigned char>(*it)); ++it)
        ++leadRun;
    return leadRun % 2 == 0;
}

// Whether replacing the hit from (line, col) to (endLine, endCol) leaves the bytes
// around it reading as before.
// Line ends: a lone CR before the hit and a lone LF behind it become one line break as
// soon as the hit is out, before anything is put in its place. With nothing put in,
// hits next to each other are taken out in a row: none may follow a CR or precede an LF.
// Double-byte pairs: a byte reads as a trail byte after an odd run of lead-byte values.
// The replacement ends after an even run; so must the text before the hit and the hit
// itself, which a hit at a line's end need not (it is not widened over the line end).
bool TLumEdit::SeamKept(int line, int col, int endLine, int endCol, bool emptyReplacement) const {
    const std::string_view start = lines_.Get(line);
    const std::string_view end = lines_.Get(endLine);
    if (!SingleByteMode && (ByteTypeAt(start, col + 1, false) == kTrailByte ||
                            ByteTypeAt(end, endCol + 1, false) == kTrailByte))
        return false;
    char before = 0;
    if (col > 0)
        before = start[static_cast<size_t>(col) - 1];
    else if (line > 0 && !lines_.Get(line - 1).empty())
        before = lines_.Get(line - 1).back();
    char after = 0;
    if (static_cast<size_t>(endCol) < end.size())
        after = end[static_cast<size_t>(endCol)];
    else if (endLine < LastLine() && !lines_.Get(endLine + 1).empty())
        after = lines_.Get(endLine + 1).front();
    if (emptyReplacement) return before != '\r' && after != '\n';
    return !(before == '\r' && after == '\n');
}

void TLumEdit::PlanReplaceRun(int line, int col, ReplacePlan& plan) {
    plan.lineCount = LineCount();
    replacePhase_ = ReplacePhase::kScan;
    replaceFraction_ = 0;
    replaceScanEnd_ = 1;
    searchLine_ = line;
    searchCol_ = col;
    BuildFindWindow(line, col);
    PollReplaceProgress();
    if (SearchRangeTooShort()) {
        plan.complete = true;
        return;
    }
    const std::string inserted = NormalizeInput(changeText_);
    const bool seamsKept = ReplacementKeepsSeams(inserted);
    const bool emptyReplacement = inserted.empty();
    while (true) {
        int x = 0, len = static_cast<int>(searchText_.size());
        if (!SeekForwardMatch(x, len)) {
            plan.complete = true;
            return;
        }
        int hitCol = searchCol_ + x - 1;
        SnapHitToCharacters(searchLine_, hitCol, len);
        int endLine, endCol;
        WalkForward(searchLine_, hitCol, len, endLine, endCol);
        if (!seamsKept || !SeamKept(searchLine_, hitCol, endLine, endCol, emptyReplacement) ||
            plan.hits.size() >= kMaxPlannedHits)
            break;
        const int tail = static_cast<int>(lines_.Get(searchLine_).size()) - hitCol;
        plan.hits.push_back(PlannedHit{searchLine_, hitCol, len, tail});
        if ((plan.hits.size() & replacePollHits_) == 0) PollReplaceProgress();
        searchLine_ = endLine;
        searchCol_ = endCol;
        BuildFindWindow(endLine, endCol);
    }
    replaceScanEnd_ = static_cast<double>(searchLine_) / (searchEndLine_ + 1);
}

// Replaces the planned hits, each found where the replacements before it moved it: the
// lines behind a replacement only shift, and the bytes behind it in its own line stay.
// The search position is then behind the last one, where a plan cut short goes on.
void TLumEdit::ApplyReplacePlan(const ReplacePlan& plan) {
    if (plan.complete && plan.hits.empty()) {
        searchLine_ = searchEndLine_ + 1;
        return;
    }
    replacePhase_ = ReplacePhase::kApply;
    replacePlanned_ = plan.hits.size();
    replaceApplied_ = 0;
    bool complete = plan.complete;
    for (const PlannedHit& h : plan.hits) {
        const int line = h.line + (LineCount() - plan.lineCount);
        const int col = line >= 0 && line <= LastLine()
                            ? static_cast<int>(lines_.Get(line).size()) - h.tail
                            : -1;
        if (col < 0) {
            // Not where it should be: the run looks for the rest itself.
            complete = false;
            break;
        }
        MarkReplaceHit(line, col, h.len);
        ReplaceHit();
        if ((++replaceApplied_ & replacePollHits_) == 0) PollReplaceProgress();
    }
    replacePhase_ = ReplacePhase::kRest;
    if (complete) searchLine_ = searchEndLine_ + 1;
}

void TLumEdit::PollReplaceProgress() {
    if (!OnReplaceProgress) return;
    double f = 0;
    switch (replacePhase_) {
        case ReplacePhase::kScan:
            f = kScanShare * searchLine_ / (searchEndLine_ + 1.0);
            break;
        case ReplacePhase::kApply:
            f = replaceScanEnd_ *
                (kScanShare + (1 - kScanShare) * static_cast<double>(replaceApplied_) /
                                  static_cast<double>(std::max<size_t>(1, replacePlanned_)));
            break;
        default:
            f = searchLine_ / (LastLine() + 1.0);
            break;
    }
    replaceFraction_ = std::clamp(f, replaceFraction_, 1.0);
    if (!OnReplaceProgress(replaceFraction_) &&
        (replacePhase_ == ReplacePhase::kScan || RunRevertible()))
        throw TaskCancelled();
}

}  // namespace zentabo
