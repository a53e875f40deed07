// Dragging text to and from other windows: the drop point follows the pointer, the
// dropped text goes in at the caret, and the source gives its selection up only when
// the drop really moved it.
#include "editor/LumEdit.h"

namespace zentabo {

void TLumEdit::OleDragOver(int x, int y) {
    autoScrollDir_ = EdgeDirection(x, y);
    if (autoScrollDir_ != 0) return;
    if (dragActive_) {
        // Over its own source: as the in-editor drag, the selection stays.
        ExtendByMouse(x, y);
        return;
    }
    const bool scrolled = PointToCaret(x, y);
    if (!selActive_ && !allSelected_) CollapseSelectionToCaret();
    MoveCaretUnderline();
    if (scrolled) {
        UpdateHorzRange();
        RepaintAll();
    }
    PlaceCaret();
}

void TLumEdit::OleDragLeave() {
    autoScrollDir_ = 0;
}

bool TLumEdit::OleDropText(const std::string& text, bool ontoSource) {
    autoScrollDir_ = 0;
    bool changed = false;
    if (ontoSource && dragActive_) {
        changed = DropOnSource(text);
    } else {
        if (ReadOnly || text.empty()) return false;
        if (underlineRow_ >= 0) DrawCaretUnderline(underlineRow_, false);
        if ((selActive_ || allSelected_) && !InSelection(caretLine_, caretCol_)) ClearSelection();
        InsertString(text);
        changed = true;
    }
    if (OnOLEDropText) OnOLEDropText(*this);
    return changed;
}

void TLumEdit::EndOleDrag(TOleDragResult result) {
    leftPressed_ = false;
    EndMouseSelection();
    if (!dragActive_) return;  // dropped onto itself: that drop ended the drag
    const bool selected = selActive_ || allSelected_;
    if (result == odMoved && selected) {
        CutToClipboard();
        if (OnSelectionChange) OnSelectionChange(*this);
    } else if (result == odCopied && selected) {
        ClearSelection();
    }
    dragActive_ = false;
    if (dragCursor_ != 0) host_.SetDragCursor(0);
    dragCursor_ = 0;
    PlaceCaret();
    MoveCaretUnderline();
}

}  // namespace zentabo
