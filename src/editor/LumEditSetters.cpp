// View settings applied to a running editor, and the setters of the view that repaint.
#include "editor/LumEdit.h"

namespace zentabo {

void TLumEdit::SetColor(TColor value) {
    Color = value & 0xFFFFFF;
    RepaintAll();
}

void TLumEdit::ApplyViewSettings() {
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
        RewrapWholeText();
        PlaceCaret();
        return;
    }
    host_.HideCaret();
    topLine_ = std::min(topLine_, MaxTopLine());
    RedrawWholeView();
    host_.ShowCaret();
}

}  // namespace zentabo
