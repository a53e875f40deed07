// Dragging the selection inside the editor: it moves to the caret where the button
// is released, or is copied there while Ctrl is held.
#include <algorithm>

#include "editor/LumEdit.h"
#include "platform/VirtualKeys.h"
#include "store/LumEditSub.h"

namespace zentabo {

namespace {

bool Before(int line, int col, int otherLine, int otherCol) {
    return line < otherLine || (line == otherLine && col < otherCol);
}

}  // namespace

void TLumEdit::StartSelectionDrag() {
    if (DragMode == dmManual) {
        bool canDrag = true;
        if (OnManualStartDrag) OnManualStartDrag(*this, GetSelText(), canDrag);
        if (!OnManualStartDrag || !canDrag) {
            ClearSelection();
        } else {
            // The handler runs the drag; the press selects nothing more.
            EndMouseSelection();
        }
        return;
    }
    dragActive_ = true;
    dragStartEndLine_ = selEndLine_;
    dragStartEndCol_ = selEndCol_;
    dragCursor_ = 0;
    UpdateDragCursor();
}

void TLumEdit::UpdateDragCursor() {
    if (!dragActive_) return;
    const int cursor = host_.IsKeyDown(vk::kControl) ? 2 : 1;
    if (cursor == dragCursor_) return;
    dragCursor_ = cursor;
    host_.SetDragCursor(cursor);
}

bool TLumEdit::DropOnSource(const std::string& text) {
    const bool changes = !text.empty() && !ReadOnly && !InSelection(caretLine_, caretCol_);
    if (!changes) {
        ClearSelection();
    } else {
        const bool copy = host_.IsKeyDown(vk::kControl);
        const bool box = IsBoxSelection();
        const int length = ContentLength(caretLine_);
        const int spaces = freeCaretMode_ ? std::max(0, caretCol_ - length) : 0;
        DropPoint drop{caretLine_, std::min(caretCol_, length)};
        caretLine_ = dragStartEndLine_;
        caretCol_ = dragStartEndCol_;
        undoGroup_ = ++lastUndoGroup_;
        if (copy) {
            ClearSelection();
        } else if (box) {
            drop = BoxDropAfterDelete(drop.line, drop.col);
            DeleteSelection(true, true);
            if (wordWrap_) ToDisplayPos(drop.col, drop.line);
        } else {
            const SelectionRange r = GetSelectionRange();
            DropPoint s{r.startLine, r.startCol};
            DropPoint e{r.endLine, r.endCol};
            if (e.line < LastLine() && e.col >= static_cast<int>(lines_.Get(e.line).size())) {
                ++e.line;  // behind a line break: the start of the next line
                e.col = 0;
            }
            if (wordWrap_) {
                ToLogicalPos(s.col, s.line);
                ToLogicalPos(e.col, e.line);
                ToLogicalPos(drop.col, drop.line);
            }
            DeleteSelection(true, false);
            if (!Before(drop.line, drop.col, e.line, e.col)) {
                if (drop.line == e.line)
                    drop = {s.line, s.col + drop.col - e.col};
                else
                    drop.line -= e.line - s.line;
            }
            if (wordWrap_) ToDisplayPos(drop.col, drop.line);
        }
        caretLine_ = std::clamp(drop.line, 0, LastLine());
        caretCol_ = ClampCol(caretLine_, drop.col) + spaces;
        // A stream move or copy keeps the editor's own bytes: a lone CR or LF in it
        // stays one, where a paste would make it CR LF. A box goes in row by row, as a
        // pasted box does.
        if (box)
            InsertAtCaret(text, true, true);
        else
            InsertBytesAtCaret(text, true);
        undoGroup_ = 0;
        goalCol_ = caretCol_;
        CollapseSelectionToCaret();
    }
    EndMouseSelection();
    EndTemporaryBox();
    dragActive_ = false;
    if (dragCursor_ != 0) host_.SetDragCursor(0);
    dragCursor_ = 0;
    PlaceCaret();
    MoveCaretUnderline();
    if (changes) FireChange();
    return changes;
}

void TLumEdit::CancelMouse() {
    EndMouseSelection();
    leftPressed_ = false;
    if (!dragActive_) return;
    dragActive_ = false;
    if (dragCursor_ != 0) host_.SetDragCursor(0);
    dragCursor_ = 0;
}

// A box deletion takes bytes out of the rows it covers; a drop behind them on its
// logical line moves left by what went before it. Answered as a logical position
// when wrapping.
TLumEdit::DropPoint TLumEdit::BoxDropAfterDelete(int line, int col) {
    const int top = std::min(selStartLine_, selEndLine_);
    const int bottom = std::max(selStartLine_, selEndLine_);
    const int x0 = BoxColumFix ? 0 : ColumnToPixel(selStartLine_, selStartCol_);
    const int x1 = BoxColumFix ? 0 : BoxEndX();
    int removed = 0;
    const int first = wordWrap_ ? LineStartOf(line) : line;
    for (int i = std::max(first, top); i <= std::min(line, bottom); ++i) {
        const BoxSpan span = BoxColumnsBetween(i, x0, x1);
        if (i < line || col >= span.end) removed += span.end - span.start;
    }
    int logicalCol = col, logicalLine = line;
    if (wordWrap_) ToLogicalPos(logicalCol, logicalLine);
    DropPoint p{logicalLine, logicalCol - removed};
    return p;
}

}  // namespace zentabo
