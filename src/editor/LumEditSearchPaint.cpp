// Marking the current search hit: drawn as selected segments, in the colour the page
// chooses instead of SelColor.
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
    const TColor selColor = SelColor;
    SelColor = color;
    for (int line = firstRow; line <= lastRow; ++line) {
        const int from = line == hitLine_ ? hitCol_ : 0;
        // Rows before the last take their line break with them, as a selection does.
        const int to = line == endLine ? endCol : static_cast<int>(lines_.Get(line).size());
        DrawSegment(line, from, true, to);
    }
    SelColor = selColor;
}

}  // namespace zentabo
