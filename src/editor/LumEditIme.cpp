// The input method's side of the editor: composition start and end, committed
// strings, and the text it may read and replace around the caret, through which a
// Linux input method reconverts the selection.
#include <algorithm>
#include <utility>

#include "editor/LumEdit.h"
#include "store/Cp932Codec.h"
#include "store/LumEditSub.h"

namespace zentabo {

namespace {

// Input methods take a few thousand characters around the caret at most (fcitx5
// drops a text of 4096 or more); a byte never gives more than one UTF-16 unit.
constexpr int kImeContextBytes = 4000;

int Units(std::string_view bytes) {
    return static_cast<int>(Cp932ToUtf16(bytes).size());
}

}  // namespace

struct TLumEdit::ImeContext {
    int line = 0;  // offsets count in bytes from this display line's start
    int from = 0;  // where the text starts
    std::string bytes;
    int cursor = 0;  // UTF-16 units into the text
    int anchor = 0;
    bool selection = false;
};

void TLumEdit::ImeResult(std::string_view text) {
    ImeCommit(text, 0, 0);
}

void TLumEdit::ImeStartComposition() {
    imeComposing_ = true;
    if (OnIMEChanging) {
        if (CaretScrollFix) BringCaretBack();
        OnIMEChanging(*this);
    }
}

void TLumEdit::ImeEndComposition() {
    imeComposing_ = false;
    imeReconverting_ = false;
    if (OnIMEChanged) OnIMEChanged(*this);
}

bool TLumEdit::HasStreamSelection() const {
    if (allSelected_) return true;
    return selActive_ && !boxSelMode_ &&
           (selStartLine_ != selEndLine_ || selStartCol_ != selEndCol_);
}

bool TLumEdit::ImeOffersSelection() const {
    return !imeComposing_ && HasStreamSelection();
}

TLumEdit::ImeContext TLumEdit::ImeContextAt(bool offerSelection) const {
    ImeContext c;
    int anchorLine = caretLine_, anchorCol = caretCol_;
    int cursorLine = caretLine_, cursorCol = caretCol_;
    if (offerSelection && allSelected_) {
        // The caret keeps its place under a whole-text selection; the input method
        // sees the selection's ends.
        anchorLine = anchorCol = 0;
        cursorLine = LastLine();
        cursorCol = ContentLength(cursorLine);
        if (caretLine_ == 0 && caretCol_ == 0) {
            std::swap(anchorLine, cursorLine);
            std::swap(anchorCol, cursorCol);
        }
    } else if (offerSelection) {
        anchorLine = selStartLine_;
        anchorCol = selStartCol_;
        cursorLine = selEndLine_;
        cursorCol = selEndCol_;
    }
    NormalizePos(anchorLine, anchorCol);
    NormalizePos(cursorLine, cursorCol);
    c.line = LineStartOf(std::min(anchorLine, cursorLine));
    const int lastLine = LineEndOf(std::max(anchorLine, cursorLine));
    auto offsetOf = [&](int line, int col) {
        int offset = col;
        for (int i = c.line; i < line; ++i) offset += static_cast<int>(lines_.Get(i).size());
        return offset;
    };
    const int anchor = offsetOf(anchorLine, anchorCol);
    const int cursor = offsetOf(cursorLine, cursorCol);
    const int spanFrom = std::min(anchor, cursor), spanTo = std::max(anchor, cursor);
    // Too long to hand over: nothing is offered, only the text at the caret.
    if (spanTo - spanFrom > kImeContextBytes) return ImeContextAt(false);
    const int room = (kImeContextBytes - (spanTo - spanFrom)) / 2;
    int fromLine = c.line, fromCol = std::max(0, spanFrom - room);
    int toLine = c.line,
        toCol = std::min(offsetOf(lastLine, ContentLength(lastLine)), spanTo + room);
    // Offsets to positions; a cut in a double-byte character moves to its start.
    auto toPosition = [&](int& line, int& col) {
        while (line < LastLine() && col >= static_cast<int>(lines_.Get(line).size())) {
            col -= static_cast<int>(lines_.Get(line).size());
            ++line;
        }
        NormalizePos(line, col);
    };
    toPosition(fromLine, fromCol);
    toPosition(toLine, toCol);
    c.from = offsetOf(fromLine, fromCol);
    c.bytes = RangeText(fromCol, fromLine, toLine, toCol);
    c.cursor = Units(std::string_view(c.bytes).substr(0, static_cast<size_t>(cursor - c.from)));
    c.anchor = Units(std::string_view(c.bytes).substr(0, static_cast<size_t>(anchor - c.from)));
    c.selection = offerSelection;
    return c;
}

TLumEdit::ImeSurrounding TLumEdit::ImeSurroundingText() const {
    const ImeContext c = ImeContextAt(ImeOffersSelection());
    return {Cp932ToUtf16(c.bytes), c.cursor, c.anchor};
}

void TLumEdit::ImePositionAt(const ImeContext& c, int units, int& line, int& col) const {
    // Character by character, so that a position never falls inside one.
    const int n = static_cast<int>(c.bytes.size());
    int at = 0;
    for (int counted = 0; at < n && counted < units;) {
        const int len =
            !SingleByteMode && IsLeadByte(static_cast<unsigned char>(c.bytes[at])) && at + 1 < n
                ? 2
                : 1;
        counted += Units(std::string_view(c.bytes).substr(static_cast<size_t>(at), len));
        at += len;
    }
    line = c.line;
    col = c.from + at;
    while (line < LastLine() && col >= static_cast<int>(lines_.Get(line).size())) {
        col -= static_cast<int>(lines_.Get(line).size());
        ++line;
    }
}

void TLumEdit::ImeReconvertRequest() {
    if (!ImeOffersSelection()) {
        if (CaretScrollFix) BringCaretBack();
        return;
    }
    const bool anchorFirst = allSelected_
                                 ? caretLine_ != 0 || caretCol_ != 0
                                 : selStartLine_ < selEndLine_ ||
                                       (selStartLine_ == selEndLine_ && selStartCol_ < selEndCol_);
    if (anchorFirst) {
        // The composition starts where the selection does.
        if (allSelected_) {
            caretLine_ = caretCol_ = 0;
        } else {
            std::swap(selStartLine_, selEndLine_);
            std::swap(selStartCol_, selEndCol_);
            caretLine_ = prevEndLine_ = selEndLine_;
            caretCol_ = prevEndCol_ = selEndCol_;
        }
        BringCaretBack();
        const SelectionRange r = GetSelectionRange();
        RepaintLines(r.startLine, r.endLine, 0);
    } else if (CaretScrollFix) {
        BringCaretBack();
    }
    imeReconverting_ = true;
    if (IMEReconvMode == imrManual && OnIMEReConvert) OnIMEReConvert(*this);
}

void TLumEdit::ImeDeleteSurrounding(int start, int length) {
    bool wholeSelection = length == 0;
    if (!wholeSelection && ImeOffersSelection()) {
        // Counted from the caret with the selection in (the way other toolkits count).
        const ImeSurrounding s = ImeSurroundingText();
        wholeSelection = s.cursor + start == std::min(s.cursor, s.anchor) &&
                         s.cursor + start + length == std::max(s.cursor, s.anchor);
    }
    // The selection stays until the candidate replaces it, so that nothing is lost
    // when the input method gives up, and the replacement is one undo step.
    if (wholeSelection)
        ImeReconvertRequest();
    else
        ImeCommit({}, start, length);
}

void TLumEdit::ImeCommit(std::string_view text, int replaceStart, int replaceLength) {
    if (ReadOnly) return;
    const bool box = boxSelMode_;
    const bool insert = insertMode_;
    if (replaceLength > 0) {
        // A composition over the selection replaces it as well.
        const ImeContext c = ImeContextAt(HasStreamSelection());
        const int a = std::min(c.cursor, c.anchor), b = std::max(c.cursor, c.anchor);
        int from = c.cursor + replaceStart, to = from + replaceLength;
        if (!c.selection || from != a || to != b) {
            // Counted from the selection's start with the selection taken out; what
            // is replaced then joins the selection.
            from = (c.selection ? a : c.cursor) + replaceStart;
            to = from + replaceLength;
            if (c.selection) {
                if (from > a) from += b - a;
                if (to > a) to += b - a;
                from = std::min(from, a);
                to = std::max(to, b);
            }
        }
        const int units = Units(c.bytes);
        if (from >= 0 && to <= units && from < to) {
            int fromLine, fromCol, toLine, toCol;
            ImePositionAt(c, from, fromLine, fromCol);
            ImePositionAt(c, to, toLine, toCol);
            allSelected_ = false;
            selActive_ = true;
            selStartLine_ = fromLine;
            selStartCol_ = fromCol;
            selEndLine_ = prevEndLine_ = caretLine_ = toLine;
            selEndCol_ = prevEndCol_ = caretCol_ = toCol;
            // The range is exact: no box, and the commit takes its place, never more.
            boxSelMode_ = false;
            insertMode_ = true;
            if (text.empty()) {
                DeleteSelection(true, false);
                FireChange();
            } else {
                TypeText(std::string(text));
            }
            boxSelMode_ = box;
            insertMode_ = insert;
            return;
        }
        // A range outside the text: the commit goes in at the caret as it is.
    }
    if (text.empty()) return;
    // A reconverted selection is replaced by its candidate, in overwrite mode too: the
    // text behind it was never part of the composition.
    if (imeReconverting_ && HasStreamSelection()) insertMode_ = true;
    TypeText(std::string(text));
    insertMode_ = insert;
}

}  // namespace zentabo
