// The mouse: clicks place the caret, Shift+click and dragging extend the selection,
// the gutter selects whole lines, and the 40 ms tick scrolls while the pointer is
// outside the text area.
#include <algorithm>

#include "editor/LumEdit.h"
#include "platform/VirtualKeys.h"
#include "store/LumEditSub.h"

namespace zentabo {

bool TLumEdit::PointToCaret(int x, int y) {
    const int oldHorz = horzOffset_;
    int row = topLine_;
    if (lineHeight_ > 0) row += std::max(0, y - topMargin_) / lineHeight_;
    row = std::min(row, topLine_ + std::max(0, linesPerPage_ - 1));
    caretLine_ = std::clamp(row, 0, LastLine());
    if (x < textLeft_ - 4) {
        caretCol_ = 0;
        caretX_ = 0;
        horzOffset_ = 0;
        return horzOffset_ != oldHorz;
    }
    const int t = x - textLeft_ + horzOffset_;
    int col = PixelToColumn(caretLine_, t, freeCaretMode_);
    if (freeCaretMode_ && col > ContentLength(caretLine_))
        col = std::max(ContentLength(caretLine_), std::min(col, FreeCaretLimit()));
    caretCol_ = col;
    goalCol_ = col;
    const int px = ColumnToPixel(caretLine_, caretCol_);
    const int step = textAreaWidth_ / 3;
    while (step > 0 && px - horzOffset_ > textAreaWidth_) horzOffset_ += step;
    while (px - horzOffset_ < 0 && horzOffset_ > 0) horzOffset_ = std::max(0, horzOffset_ - step);
    if (step <= 0 && px < horzOffset_) horzOffset_ = 0;
    caretX_ = px - horzOffset_;
    return horzOffset_ != oldHorz;
}

bool TLumEdit::InSelection(int line, int col) {
    if (!selActive_ && !allSelected_) return false;
    if (boxSelMode_ && selActive_) {
        if (line < std::min(selStartLine_, selEndLine_) ||
            line > std::max(selStartLine_, selEndLine_))
            return false;
        const BoxSpan span = BoxColumns(line);
        return span.end > span.start && col >= span.start && col <= span.end;
    }
    int sl = 0, sc = 0, el = LastLine(), ec = ContentLength(LastLine());
    if (!allSelected_) {
        sl = selStartLine_, sc = selStartCol_, el = selEndLine_, ec = selEndCol_;
        if (el < sl || (el == sl && ec < sc)) {
            std::swap(sl, el);
            std::swap(sc, ec);
        }
        if (ec == 0 && el > sl) {
            --el;
            ec = static_cast<int>(lines_.Get(el).size());
        }
    }
    if (line < sl || line > el) return false;
    if (sl == el) return col >= sc && col <= ec;
    if (line == sl) return col >= sc;
    if (line == el) return col <= ec;
    return true;
}

void TLumEdit::MouseDown(TMouseButton button, int shift, int x, int y) {
    if (button == mbLeft) {
        if (imeComposing_) host_.CompleteComposition();
        if (dblClickFlag_) {
            dblClickFlag_ = false;
            return;
        }
        LeftButtonDown(shift, x, y);
    } else if (button == mbRight) {
        host_.ShowPopupMenu(x, y);
    }
    if (OnMouseDown) OnMouseDown(*this, button, shift, x, y);
}

void TLumEdit::LeftButtonDown(int shift, int x, int y) {
    const bool altShift = (shift & kShiftAlt) && (shift & kShiftShift);
    host_.TakeFocus();
    host_.HideCaret();
    if (underlineRow_ >= 0) DrawCaretUnderline(underlineRow_, false);
    const int oldHorz = horzOffset_;
    const bool scrolled = PointToCaret(x, y);
    leftPressed_ = true;
    mouseSelecting_ = true;
    savedCaretScrollFix_ = CaretScrollFix;
    scrollRepeat_ = 0;
    bool drag = false;
    if (altShift) {
        // A new box from the click point, whatever was selected before.
        if (selActive_ || allSelected_) ClearSelection();
        BeginTemporaryBox();
        CollapseSelectionToCaret();
    } else if (shift & kShiftShift) {
        if (allSelected_) {
            allSelected_ = false;
            selActive_ = true;
            selStartLine_ = selStartCol_ = 0;
        }
        selActive_ = true;
        SetBoxMouseX(x);
        ExtendSelectionTo(caretCol_, caretLine_, true);
    } else if (x >= textLeft_ - 4 || oldHorz != 0) {
        if (InSelection(caretLine_, caretCol_)) {
            drag = true;
        } else {
            if (selActive_ || allSelected_) ClearSelection();
            EndTemporaryBox();
            CollapseSelectionToCaret();
        }
    } else {
        if (selActive_ || allSelected_) ClearSelection();
        EndTemporaryBox();
        CollapseSelectionToCaret();
        const std::string_view entry = lines_.Get(caretLine_);
        if (entry.size() > 1 || (entry.size() == 1 && entry[0] != '\0')) {
            // The whole display line, its line break included.
            selStartLine_ = caretLine_;
            selStartCol_ = caretLine_ == LastLine() ? ContentLength(caretLine_)
                                                    : static_cast<int>(entry.size());
            selActive_ = true;
            SetBoxMouseX(textLeft_ - horzOffset_);  // a box's moving edge at column 0
            ExtendSelectionTo(0, caretLine_, true);
        }
    }
    if (scrolled) {
        UpdateHorzRange();
        RepaintAll();
    }
    PlaceCaret();
    host_.ShowCaret();
    if (drag) StartSelectionDrag();
}

void TLumEdit::DblClick() {
    if (OnDblclick) OnDblclick(*this);
    dblClickFlag_ = true;
}

void TLumEdit::MouseMove(int shift, int x, int y) {
    if (OnMouseMove) OnMouseMove(*this, shift, x, y);
    autoScrollDir_ = 0;
    if (!mouseSelecting_) return;
    CaretScrollFix = false;
    if (dragActive_) UpdateDragCursor();
    autoScrollDir_ = EdgeDirection(x, y);
    if (autoScrollDir_ == 0) ExtendByMouse(x, y);
}

int TLumEdit::EdgeDirection(int x, int y) const {
    if (y > topMargin_ + linesPerPage_ * lineHeight_) return 1;
    if (y <= topMargin_) return -1;
    if (x > textLeft_ + textAreaWidth_) return 2;
    if (x <= textLeft_ && horzOffset_ > 0) return -2;
    return 0;
}

void TLumEdit::ExtendByMouse(int x, int y) {
    const bool scrolled = PointToCaret(x, y);
    const bool moved = caretCol_ != notifiedCol_ || caretLine_ != notifiedLine_;
    const bool gutterRows = x < textLeft_ && caretLine_ == selStartLine_ + 1;
    if (moved && !dragActive_) {
        if (gutterRows) {
            // Down the gutter whole lines are selected, even in box mode.
            if (boxSelMode_) {
                boxSelMode_ = false;
                temporaryBox_ = false;
                RepaintLines(std::min(selStartLine_, selEndLine_),
                             std::max(selStartLine_, selEndLine_), 0);
            }
            selStartCol_ = 0;
        }
        if (underlineRow_ >= 0) DrawCaretUnderline(underlineRow_, false);
        selActive_ = true;
        SetBoxMouseX(x);
        ExtendSelectionTo(caretCol_, caretLine_, true);
    } else if (moved && dragActive_ && !selActive_ && !allSelected_) {
        CollapseSelectionToCaret();
        MoveCaretUnderline();
    } else if (!moved && boxSelMode_ && selActive_ && !dragActive_ && !gutterRows) {
        SetBoxMouseX(x);
        ExtendSelectionTo(selEndCol_, selEndLine_, true);
    }
    if (scrolled) {
        UpdateHorzRange();
        RepaintAll();
    }
    PlaceCaret();
}

void TLumEdit::TimerTick() {
    switch (autoScrollDir_) {
        case -1:
            LineUp();
            break;
        case 1:
            LineDown();
            break;
        case 2:
            if (caretCol_ < ContentLength(caretLine_)) CharRight(false);
            break;
        case -2:
            if (caretCol_ > 0) CharLeft(false);
            break;
        default:
            break;
    }
}

void TLumEdit::MouseUp(TMouseButton button, int shift, int x, int y) {
    if (OnMouseUp) OnMouseUp(*this, button, shift, x, y);
    if (button != mbLeft) return;
    autoScrollDir_ = 0;
    if (dragActive_) {
        DropOnSource(GetSelText());
    } else if (mouseSelecting_) {
        EndMouseSelection();
        MoveCaretUnderline();
    }
    const bool clicked = leftPressed_;
    leftPressed_ = false;
    const ClientSize size = host_.GetClientSize();
    if (clicked && OnClick && x >= 0 && y >= 0 && x < size.width && y < size.height) OnClick(*this);
}

void TLumEdit::EndMouseSelection() {
    if (mouseSelecting_) CaretScrollFix = savedCaretScrollFix_;
    mouseSelecting_ = false;
    autoScrollDir_ = 0;
    scrollRepeat_ = 0;
}

void TLumEdit::InsertAtPoint(int x, int y, const std::string& text) {
    if (ReadOnly || text.empty()) return;
    if (selActive_ || allSelected_) ClearSelection();
    PointToCaret(x, y);
    if (!freeCaretMode_) caretCol_ = ClampCol(caretLine_, caretCol_);
    CollapseSelectionToCaret();
    InsertString(text);
}

void TLumEdit::BeginTemporaryBox() {
    if (boxSelMode_) return;
    if (selActive_ || allSelected_) ClearSelection();
    boxSelMode_ = true;
    temporaryBox_ = true;
}

void TLumEdit::TemporaryBoxForKey(int key) {
    if (key >= vk::kLeft && key <= vk::kDown && host_.IsKeyDown(vk::kMenu) && ShiftHeld())
        BeginTemporaryBox();
}

void TLumEdit::EndTemporaryBox() {
    if (!temporaryBox_) return;
    if (selActive_ || allSelected_) ClearSelection();
    boxSelMode_ = false;
    temporaryBox_ = false;
}

}  // namespace zentabo
