// Caret movement for the key table: characters, words, line and text ends, rows and
// pages, the selection that follows Shift, and word deletion.
#include <algorithm>

#include "editor/LumEdit.h"
#include "store/LumEditSub.h"

namespace zentabo {

int TLumEdit::CharClass(int code) {
    if (code >= 0x829F && code <= 0x82FF) return 0;  // hiragana
    if (code >= 0x8340 && code <= 0x8396) return 1;  // katakana
    if (code >= 0x824F && code <= 0x829E) return 3;  // full-width letters and digits
    if ((code >= 0x8140 && code <= 0x824E) || (code >= 0x8397 && code <= 0x889E)) return 4;
    if (code >= 0xA6 && code <= 0xDF) return 5;  // half-width katakana
    if ((code >= 0x30 && code <= 0x39) || (code >= 0x40 && code <= 0x7F)) return 6;
    if ((code >= 0x00 && code <= 0x2F) || (code >= 0x3A && code <= 0x3F) ||
        (code >= 0xE0 && code <= 0xFF))
        return 7;
    return 2;  // kanji and everything else
}

int TLumEdit::CharLenAt(int line, int col) const {
    const std::string_view s = lines_.Get(line);
    return col + 1 < ContentLength(line) && ByteTypeAt(s, col + 1, SingleByteMode) == kLeadByte ? 2
                                                                                                : 1;
}

int TLumEdit::CodeAt(std::string_view s, int col) const {
    const auto b = static_cast<unsigned char>(s[static_cast<size_t>(col)]);
    if (static_cast<size_t>(col) + 1 < s.size() &&
        ByteTypeAt(s, col + 1, SingleByteMode) == kLeadByte)
        return b * 256 + static_cast<unsigned char>(s[static_cast<size_t>(col) + 1]);
    return b;
}

// The end of the run of characters of the class of the one at col (never past a TAB).
int TLumEdit::WordEnd(int line, int col) const {
    const std::string_view s = lines_.Get(line);
    const int len = ContentLength(line);
    const int cls = CharClass(CodeAt(s, col));
    while (col < len) {
        if (s[static_cast<size_t>(col)] == '\t' || CharClass(CodeAt(s, col)) != cls) break;
        col += CharLenAt(line, col);
    }
    return std::min(col, len);
}

// The start of the run of one class that ends at col.
int TLumEdit::WordStart(int line, int col) const {
    const std::string_view s = lines_.Get(line);
    auto charBefore = [&](int c) {
        return c >= 2 && ByteTypeAt(s, c, SingleByteMode) == kTrailByte ? c - 2 : c - 1;
    };
    const int cls = CharClass(CodeAt(s, charBefore(col)));
    while (col > 0) {
        int prev = charBefore(col);
        if (CharClass(CodeAt(s, prev)) != cls) break;
        col = prev;
    }
    return col;
}

int TLumEdit::GoalX() {
    if (goalCol_ != goalXCol_ || caretLine_ != goalXLine_) {
        goalX_ = ColumnToPixel(caretLine_, goalCol_);
        goalXCol_ = goalCol_;
    }
    goalXLine_ = caretLine_;
    return goalX_;
}

void TLumEdit::ExtendSelectionToCaret() {
    if (underlineRow_ >= 0) DrawCaretUnderline(underlineRow_, false);
    selActive_ = true;
    ExtendSelectionTo(caretCol_, caretLine_, false);
}

void TLumEdit::AfterCaretMove(int oldCol, int oldLine) {
    // A dragged selection stays put while auto-scroll moves the drop point.
    if (dragActive_) {
        PlaceCaret();
        return;
    }
    const bool extend = ShiftHeld() || (mouseSelecting_ && !keyHandling_) ||
                        (scrolling_ && allSelected_ && !keyHandling_);
    if (extend) {
        // A whole-text selection stays as it is.
        if (!allSelected_) {
            if (!selActive_) {
                selStartLine_ = prevEndLine_ = oldLine;
                selStartCol_ = prevEndCol_ = oldCol;
            }
            ExtendSelectionToCaret();
        }
        PlaceCaret();
        return;
    }
    if (selActive_ || allSelected_)
        ClearSelection();
    else
        CollapseSelectionToCaret();
    PlaceCaret();
    MoveCaretUnderline();
}

void TLumEdit::MoveCaretRows(int rows) {
    const int oldCol = caretCol_, oldLine = caretLine_;
    const int x = GoalX();
    caretLine_ = std::clamp(caretLine_ + rows, 0, LastLine());
    goalXLine_ = caretLine_;
    caretCol_ = PixelToColumn(caretLine_, x, freeCaretMode_);
    const int newX = ColumnToPixel(caretLine_, caretCol_);
    const int viewX = newX - horzOffset_;
    if (viewX > textAreaWidth_ || (viewX < 0 && horzOffset_ > 0)) {
        horzOffset_ = std::max(0, newX - textAreaWidth_ + horzStep_);
        UpdateHorzRange();
        RepaintAll();
    }
    AfterCaretMove(oldCol, oldLine);
}

// Down one row to column 0: the view scrolls instead when the row nears the bottom.
void TLumEdit::StepToNextLine() {
    if ((caretLine_ - topLine_) + vertScrollLines_ >= linesPerPage_) {
        caretFollow_ = false;
        ScrollView(1, true);
    }
    caretLine_ = std::min(caretLine_ + 1, LastLine());
    caretCol_ = 0;
    if (horzOffset_ != 0) {
        horzOffset_ = 0;
        UpdateHorzRange();
        RepaintAll();
    }
}

void TLumEdit::CharRight(bool word) {
    const int len = ContentLength(caretLine_);
    const bool logicalEnd = EndsLine(caretLine_);
    // The free-caret limit only applies beyond the text: it must never keep the caret
    // from reaching the rest of a long line.
    if (freeCaretMode_ && logicalEnd && caretCol_ >= len && caretCol_ + 1 >= FreeCaretLimit())
        return;
    if (CaretScrollFix) BringCaretBack();
    const int oldCol = caretCol_, oldLine = caretLine_;
    if (caretCol_ < len) {
        const std::string_view s = lines_.Get(caretLine_);
        if (word && s[static_cast<size_t>(caretCol_)] != '\t')
            caretCol_ = WordEnd(caretLine_, caretCol_);
        else
            caretCol_ += CharLenAt(caretLine_, caretCol_);
        if (caretCol_ >= len && !logicalEnd) StepToNextLine();
    } else if (caretLine_ == LastLine() || (freeCaretMode_ && logicalEnd)) {
        if (!freeCaretMode_) return;
        ++caretCol_;
    } else {
        StepToNextLine();
    }
    caretX_ = ColumnToPixel(caretLine_, caretCol_) - horzOffset_;
    KeepCaretVisibleHorizontally();
    AfterCaretMove(oldCol, oldLine);
    goalCol_ = caretCol_;
    goalXCol_ = -1;
}

void TLumEdit::CharLeft(bool word) {
    if (CaretScrollFix) BringCaretBack();
    if (caretCol_ == 0 && caretLine_ == 0) return;
    const int oldCol = caretCol_, oldLine = caretLine_;
    if (caretCol_ == 0) {
        if ((caretLine_ - topLine_) - vertScrollLines_ <= 0) {
            caretFollow_ = false;
            ScrollView(-1, true);
        }
        --caretLine_;
        const std::string_view prev = lines_.Get(caretLine_);
        const int len = ContentLength(caretLine_);
        if (EndsWithCrLf(prev) || len == 0)
            caretCol_ = len;
        else
            caretCol_ =
                len >= 2 && ByteTypeAt(prev, len, SingleByteMode) == kTrailByte ? len - 2 : len - 1;
        const int oldHorz = horzOffset_;
        horzOffset_ =
            std::max(0, ColumnToPixel(caretLine_, caretCol_) - textAreaWidth_ + caretEdgeGap_);
        if (horzOffset_ != 0 || oldHorz != 0) {
            UpdateHorzRange();
            RepaintAll();
        }
    } else if (caretCol_ > ContentLength(caretLine_)) {
        --caretCol_;  // one blank back in the free area
    } else if (word) {
        caretCol_ = WordStart(caretLine_, caretCol_);
    } else {
        const std::string_view s = lines_.Get(caretLine_);
        caretCol_ -=
            caretCol_ >= 2 && ByteTypeAt(s, caretCol_, SingleByteMode) == kTrailByte ? 2 : 1;
    }
    caretX_ = ColumnToPixel(caretLine_, caretCol_) - horzOffset_;
    KeepCaretVisibleHorizontally();
    AfterCaretMove(oldCol, oldLine);
    goalCol_ = caretCol_;
    goalXCol_ = -1;
}

void TLumEdit::LineStart() {
    if (caretCol_ == 0 && caretLine_ == 0) return;
    const int oldCol = caretCol_, oldLine = caretLine_;
    caretCol_ = 0;
    caretX_ = 0;
    if (horzOffset_ != 0) {
        horzOffset_ = 0;
        UpdateHorzRange();
        RepaintAll();
    }
    AfterCaretMove(oldCol, oldLine);
    goalCol_ = 0;
    goalXCol_ = -1;
}

void TLumEdit::LineEnd() {
    const int len = ContentLength(caretLine_);
    if (caretLine_ == LastLine() && caretCol_ == len) return;
    const int oldCol = caretCol_, oldLine = caretLine_;
    caretCol_ = len;
    const int oldHorz = horzOffset_;
    horzOffset_ = std::max(0, ColumnToPixel(caretLine_, len) - textAreaWidth_ + caretEdgeGap_);
    caretX_ = ColumnToPixel(caretLine_, len) - horzOffset_;
    if (horzOffset_ != oldHorz) {
        UpdateHorzRange();
        RepaintAll();
    }
    AfterCaretMove(oldCol, oldLine);
    goalCol_ = caretCol_;
    goalXCol_ = -1;
}

void TLumEdit::TextStart() {
    if (caretLine_ == 0 && caretCol_ == 0) return;
    const bool shift = ShiftHeld();
    if (!selActive_ && !allSelected_ && shift) {
        selStartLine_ = caretLine_;
        selStartCol_ = caretCol_;
        selActive_ = true;
    } else if ((selActive_ || allSelected_) && !shift) {
        ClearSelection();
    }
    horzOffset_ = caretX_ = topLine_ = caretLine_ = caretCol_ = goalCol_ = 0;
    goalXCol_ = -1;
    if (selActive_) {
        selEndLine_ = prevEndLine_ = 0;
        selEndCol_ = prevEndCol_ = 0;
    } else if (!allSelected_) {
        CollapseSelectionToCaret();
    }
    RedrawWholeView();
}

void TLumEdit::TextEnd() {
    const int last = LastLine();
    const int len = ContentLength(last);
    if (caretLine_ == last && caretCol_ == len) return;
    const bool shift = ShiftHeld();
    if (!selActive_ && !allSelected_ && shift) {
        selStartLine_ = caretLine_;
        selStartCol_ = caretCol_;
        selActive_ = true;
    } else if ((selActive_ || allSelected_) && !shift) {
        ClearSelection();
    }
    caretLine_ = last;
    caretCol_ = len;
    horzOffset_ = std::max(0, ColumnToPixel(last, len) - textAreaWidth_ + caretEdgeGap_);
    caretX_ = ColumnToPixel(last, len) - horzOffset_;
    topLine_ = linesPerPage_ >= lines_.Count() + vertScrollLines_ - 1 ? 0 : MaxTopLine();
    goalCol_ = caretCol_;
    goalXCol_ = -1;
    if (selActive_) {
        selEndLine_ = prevEndLine_ = caretLine_;
        selEndCol_ = prevEndCol_ = caretCol_;
    } else if (!allSelected_) {
        CollapseSelectionToCaret();
    }
    RedrawWholeView();
}

void TLumEdit::LineDown() {
    if (CaretScrollFix) BringCaretBack();
    if ((caretLine_ - topLine_) + vertScrollLines_ >= linesPerPage_) {
        if (scrollRepeat_ < 0) scrollRepeat_ = 0;
        VScroll(SB_LINEDOWN, 0);
        // Counted after the step, so the first five steps go one line each.
        if (scrollRepeat_ < INT16_MAX) ++scrollRepeat_;
    } else {
        MoveCaretRows(1);
    }
}

void TLumEdit::LineUp() {
    if (CaretScrollFix) BringCaretBack();
    if ((caretLine_ - topLine_) - vertScrollLines_ < 0) {
        if (scrollRepeat_ > 0) scrollRepeat_ = 0;
        const int moved = VScroll(SB_LINEUP, 0);
        if (scrollRepeat_ > INT16_MIN) --scrollRepeat_;
        if (moved == 0) MoveCaretRows(-1);
    } else {
        MoveCaretRows(-1);
    }
}

void TLumEdit::PageDown() {
    if (CaretScrollFix) BringCaretBack();
    const int rows = std::max(1, lineHeight_ > 0 ? textAreaHeight_ / lineHeight_ : 1);
    if (VScroll(SB_PAGEDOWN, 0) == 0 && (caretLine_ - topLine_) + vertScrollLines_ < linesPerPage_)
        MoveCaretRows(rows);
}

void TLumEdit::PageUp() {
    if (CaretScrollFix) BringCaretBack();
    const int rows = std::max(1, lineHeight_ > 0 ? textAreaHeight_ / lineHeight_ : 1);
    if (VScroll(SB_PAGEUP, 0) == 0) MoveCaretRows(-rows);
}

void TLumEdit::DeleteRangeToCaret(int col, int line) {
    selStartLine_ = caretLine_;
    selStartCol_ = caretCol_;
    selEndLine_ = line;
    selEndCol_ = col;
    selActive_ = true;
    allSelected_ = false;
    DeleteSelection(true, false);
    ScrollCaretIntoView(caretCol_, caretLine_, kScrollKeepMargin, true, true);
    FireChange();
}

void TLumEdit::DeleteWordForward() {
    if (selActive_ || allSelected_) {
        DeleteSelection(true, boxSelMode_);
        FireChange();
        return;
    }
    const int len = ContentLength(caretLine_);
    if (caretCol_ >= len || lines_.Get(caretLine_)[static_cast<size_t>(caretCol_)] == '\t') {
        DeleteForward();
        return;
    }
    DeleteRangeToCaret(WordEnd(caretLine_, caretCol_), caretLine_);
}

void TLumEdit::DeleteWordBackward() {
    if (selActive_ || allSelected_) {
        DeleteSelection(true, boxSelMode_);
        FireChange();
        return;
    }
    if (caretCol_ == 0 && caretLine_ == 0) return;
    const int len = ContentLength(caretLine_);
    if (caretCol_ == 0 || caretCol_ > len ||
        lines_.Get(caretLine_)[static_cast<size_t>(caretCol_) - 1] == '\t') {
        DeleteBackward();
        return;
    }
    DeleteRangeToCaret(WordStart(caretLine_, caretCol_), caretLine_);
}

}  // namespace zentabo
