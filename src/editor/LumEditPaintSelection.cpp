// Incremental selection painting and the caret-line underline.
#include <algorithm>

#include "editor/LumEdit.h"

namespace zentabo {

void TLumEdit::ExtendSelectionTo(int col, int line, bool fromMouse) {
    line = std::clamp(line, 0, LastLine());
    col = std::max(0, col);
    if (freeCaretMode_ && !boxSelMode_) {
        // The highlight ends at the text; blanks beyond it are not selectable.
        if (selStartLine_ == selEndLine_ && selStartCol_ == selEndCol_)
            selStartCol_ = std::min(selStartCol_, ContentLength(selStartLine_));
        col = std::min(col, ContentLength(line));
    }
    const int previous = prevEndLine_;
    selEndLine_ = line;
    selEndCol_ = col;
    if (boxSelMode_) {
        ExtendBox(previous, fromMouse);
    } else {
        // Only the rows between the previous and the new end change; DrawLine draws
        // each of them as the selection now stands.
        DrawStep step(*this);
        const int first = std::max({std::min(previous, line), topLine_, 0});
        const int last = std::min(std::max(previous, line), LastVisibleRow());
        for (int i = first; i <= last; ++i) DrawLine(i);
    }
    prevEndLine_ = line;
    prevEndCol_ = col;
}

void TLumEdit::DrawCaretUnderline(int line, bool draw) {
    if (lineHeight_ <= 0 || line < topLine_ || line >= topLine_ + linesPerPage_) return;
    const ClientSize size = host_.GetClientSize();
    const int y = topMargin_ + (line - topLine_) * lineHeight_ + fontHeight_;
    if (y >= size.height) return;
    DrawStep step(*this);
    Canvas& canvas = host_.GetCanvas();
    if (draw) {
        canvas.Line(leftMargin_, y, size.width, y, UlineColor);
        underlineRow_ = line;
        return;
    }
    if (y > topMargin_) {
        canvas.Line(leftMargin_, y, size.width, y, Color);
        if (ShowLineNumber) canvas.SetPixel(textLeft_ - 4, y, CREOFcolor);
    }
    if (underlineRow_ == line) underlineRow_ = -1;
}

void TLumEdit::MoveCaretUnderline() {
    const bool visible = caretLine_ >= topLine_ && caretLine_ < topLine_ + linesPerPage_;
    const int want = ShowUnderLine && !selActive_ && !allSelected_ && visible ? caretLine_ : -1;
    if (underlineRow_ >= 0 && underlineRow_ != want) DrawCaretUnderline(underlineRow_, false);
    underlineRow_ = -1;
    if (want >= 0) DrawCaretUnderline(want, true);
}

}  // namespace zentabo
