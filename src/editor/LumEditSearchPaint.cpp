// Marking the current search hit: drawn like a selected segment, in the colour the
// page chooses instead of SelColor.
#include <algorithm>

#include "editor/LumEdit.h"

namespace zentabo {

void TLumEdit::HighlightHit(TColor color) {
    if (findHighlightLength_ <= 0 || hitLine_ > LastLine() || lineHeight_ <= 0) return;
    int endLine, endCol;
    WalkForward(hitLine_, std::min(hitCol_, ContentLength(hitLine_)), findHighlightLength_, endLine,
                endCol);
    const int firstRow = std::max(hitLine_, topLine_);
    const int lastRow = std::min(endLine, topLine_ + linesPerPage_);
    if (firstRow > lastRow) return;
    Canvas& canvas = host_.GetCanvas();
    canvas.SetFont(font_);
    const TColor textColor = font_.color ^ 0xFFFFFF;
    const int right = textLeft_ + textAreaWidth_;
    host_.HideCaret();
    for (int line = firstRow; line <= lastRow; ++line) {
        const std::string& s = lines_.Get(line);
        const int content = ContentLength(line);
        const int from = line == hitLine_ ? std::min(hitCol_, content) : 0;
        const int to = line == endLine ? std::min(endCol, content) : content;
        // The hit takes the line break when it runs on into the next line.
        const bool takesBreak = line<endLine&& static_cast<int>(s.size())> content;
        const std::string prefix = ExpandTabs(std::string_view(s).substr(0, from));
        const std::string upto = ExpandTabs(std::string_view(s).substr(0, to));
        const std::string segment = upto.substr(std::min(prefix.size(), upto.size()));
        const int x0 = textLeft_ - horzOffset_ + host_.TextWidth(prefix);
        const int xe = x0 + host_.TextWidth(segment);
        const int y = topMargin_ + (line - topLine_) * lineHeight_;
        Rect clip{std::max(textLeft_, x0), y, std::min(right, std::max(textLeft_, xe)),
                  y + lineHeight_};
        if (!segment.empty() && clip.left < clip.right)
            canvas.TextOut(x0, y, clip, segment, textColor, color, true);
        if (takesBreak) {
            Rect cell{std::max(textLeft_, xe), y, std::min(right, std::max(textLeft_, xe + 8)),
                      y + lineHeight_};
            if (cell.left < cell.right) canvas.FillRect(cell, color);
        }
    }
    host_.ShowCaret();
}

}  // namespace zentabo
