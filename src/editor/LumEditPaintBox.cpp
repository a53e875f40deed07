// Box selection painting: which bytes of each row a box covers, and its rows drawn for
// the full repaint and while the box is dragged or extended by keys.
#include <algorithm>
#include <cstdint>
#include <string>

#include "editor/LumEdit.h"
#include "store/LumEditSub.h"

namespace zentabo {

namespace {

// The byte column of text (marker stripped) at pixel t from its origin: before the
// character whose cell holds t when t is in the cell's left half, else after it. The
// same rule as PixelToColumn, but one walk that stops at t: a box near the left of
// very long rows costs no more than its width.
int ColumnAtPixel(EditorHost& host, std::string_view text, int tabCount, bool singleByte, int t) {
    if (t <= 0) return 0;
    const int n = static_cast<int>(text.size());
    int64_t x = 0;
    int64_t expanded = 0;  // bytes of the tab-expanded text so far, for the tab stops
    for (int pos = 0; pos < n;) {
        int len = 1;
        int cell;
        if (text[pos] == '\t') {
            const int blanks = tabCount - static_cast<int>(expanded % tabCount);
            cell = host.TextWidth(std::string(blanks, ' '));
            expanded += blanks;
        } else {
            if (!singleByte && IsLeadByte(static_cast<unsigned char>(text[pos])) && pos + 1 < n)
                len = 2;
            cell = host.TextWidth(text.substr(pos, len));
            expanded += len;
        }
        if (t < x + cell) return t <= x + cell - cell / 2 ? pos : pos + len;
        x += cell;
        pos += len;
    }
    return n;
}

}  // namespace

int TLumEdit::BoxEndX() {
    if (boxEndLine_ == selEndLine_ && boxEndCol_ == selEndCol_) return boxEndX_;
    return ColumnToPixel(selEndLine_, selEndCol_);
}

TLumEdit::BoxSpan TLumEdit::BoxColumns(int line) {
    if (BoxColumFix) return BoxColumnsBetween(line, 0, 0);
    return BoxColumnsBetween(line, ColumnToPixel(selStartLine_, selStartCol_), BoxEndX());
}

int TLumEdit::ColumnAtRowPixel(int line, int x) {
    if (line < 0 || line > LastLine()) return 0;
    const std::string_view text(lines_.Get(line).data(), static_cast<size_t>(ContentLength(line)));
    return ColumnAtPixel(host_, text, std::max(1, tabCount_), SingleByteMode, x);
}

TLumEdit::BoxSpan TLumEdit::BoxColumnsBetween(int line, int x0, int x1) {
    if (line < 0 || line > LastLine()) return {};
    const int length = ContentLength(line);
    const std::string_view text(lines_.Get(line).data(), static_cast<size_t>(length));
    int start;
    int end;
    if (BoxColumFix) {
        start = std::max(0, std::min(selStartCol_, selEndCol_));
        end = std::min(std::max(selStartCol_, selEndCol_), length);
        // An edge on the second byte of a character would cut it: the box leaves such
        // a character out on either side.
        if (start < length && ByteTypeAt(text, start + 1, SingleByteMode) == kTrailByte) ++start;
        if (end > 0 && end < length && ByteTypeAt(text, end + 1, SingleByteMode) == kTrailByte)
            --end;
    } else {
        const int tabs = std::max(1, tabCount_);
        start = ColumnAtPixel(host_, text, tabs, SingleByteMode, std::min(x0, x1));
        end = ColumnAtPixel(host_, text, tabs, SingleByteMode, std::max(x0, x1));
    }
    return {std::min(start, end), end};
}

void TLumEdit::DrawBoxRow(int line, int x0, int x1) {
    const int top = std::min(selStartLine_, selEndLine_);
    const int bottom = std::max(selStartLine_, selEndLine_);
    if (line < top || line > bottom) {
        DrawRow(line);
        return;
    }
    const BoxSpan span = BoxColumnsBetween(line, x0, x1);
    const int stored = static_cast<int>(lines_.Get(line).size());
    DrawSegment(line, 0, false, span.start);
    DrawSegment(line, span.start, true, span.end);
    DrawSegment(line, span.end, false, stored);
}

void TLumEdit::ExtendBox(int previousLine, bool fromMouse) {
    const int line = selEndLine_;
    const int col = selEndCol_;
    if (fromMouse)
        boxEndX_ = boxMouseX_ - textLeft_ + horzOffset_;
    else if (line == caretLine_ && col == caretCol_)
        boxEndX_ = caretX_ + horzOffset_;
    else
        boxEndX_ = ColumnToPixel(line, col);
    boxEndLine_ = line;
    boxEndCol_ = col;

    DrawStep step(*this);
    const int firstVisible = std::max(topLine_, 0);
    const int lastVisible = LastVisibleRow();
    const int top = std::min(selStartLine_, line);
    const int bottom = std::max(selStartLine_, line);
    // Every row the end passed over that the box no longer holds loses its highlight,
    // not only the previous end row: a drag may jump several rows at once.
    const int passedFirst = std::max(std::min(previousLine, line), firstVisible);
    const int passedLast = std::min(std::max(previousLine, line), lastVisible);
    for (int i = passedFirst; i <= passedLast; ++i)
        if (i < top || i > bottom) DrawLine(i);
    // The moving edge may have changed every row's columns, so all box rows follow.
    const bool boxed = selActive_ && !allSelected_;
    const int x0 = boxed && !BoxColumFix ? ColumnToPixel(selStartLine_, selStartCol_) : 0;
    const int x1 = boxed && !BoxColumFix ? BoxEndX() : 0;
    for (int i = std::max(top, firstVisible); i <= std::min(bottom, lastVisible); ++i) {
        if (boxed)
            DrawBoxRow(i, x0, x1);
        else
            DrawLine(i);
    }
}

}  // namespace zentabo
