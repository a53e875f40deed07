// View settings applied to a running editor, and the setters of the view that repaint.
#include <algorithm>

#include "editor/LumEdit.h"

namespace zentabo {

void TLumEdit::SetColor(TColor value) {
    Color = value & 0xFFFFFF;
    RepaintAll();
}

void TLumEdit::HoldWrapsUntilApply() {
    // A text left in its old shape by a stopped wrap keeps that as the shape to compare.
    if (!holdWraps_ && !shapeStale_) heldShape_ = CurrentWrapShape();
    holdWraps_ = true;
}

bool TLumEdit::ApplyViewSettings() {
    const bool held = holdWraps_;
    holdWraps_ = false;
    TakeMetrics();
    host_.ShowScrollBar(ScrollBarKind::Horizontal, horzScrollBar_);
    host_.ShowScrollBar(ScrollBarKind::Vertical, vertScrollBar_);
    // The bars take client space, so the layout is taken again after showing them.
    UpdateLayout();
    caretX_ = ColumnToPixel(caretLine_, caretCol_) - horzOffset_;
    if (host_.HasFocus()) {
        host_.DestroyCaret();
        host_.CreateCaret(2, fontHeight_);
        host_.ShowCaret();
    }
    if (wordWrap_) {
        bool wrapped = true;
        if (held && CurrentWrapShape() == heldShape_) {
            // Only colours, marks or bars changed: the pieces stay as they are.
            shapeStale_ = false;
            topLine_ = std::min(topLine_, MaxTopLine());
            RedrawWholeView();
        } else {
            wrapStoppable_ = held;
            wrapped = RewrapWholeText();
            wrapStoppable_ = false;
            if (!wrapped) {
                shapeStale_ = true;
                RedrawWholeView();
            }
        }
        PlaceCaret();
        return wrapped;
    }
    host_.HideCaret();
    topLine_ = std::min(topLine_, MaxTopLine());
    RedrawWholeView();
    host_.ShowCaret();
    return true;
}

}  // namespace zentabo
