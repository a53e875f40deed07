// Painting of the text rows: the full repaint, the repaint ranges, rows and segments
// with their end marks. DrawLine is the one place that decides how a row looks.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "editor/LumEdit.h"
#include "store/LumEditSub.h"

namespace zentabo {

namespace {

// Pixel sums of very long lines stay inside int.
int ClampX(int64_t x) {
    return static_cast<int>(std::clamp<int64_t>(x, -(1 << 28), 1 << 28));
}

bool IsEmpty(const Rect& r) {
    return r.left >= r.right || r.top >= r.bottom;
}

}  // namespace

TLumEdit::DrawStep::DrawStep(TLumEdit& e) : edit(e) {
    if (edit.drawDepth_++ == 0) {
        edit.host_.HideCaret();
        edit.runCacheLine_ = -1;
        edit.startCacheLine_ = -1;
    }
}

TLumEdit::DrawStep::~DrawStep() {
    if (--edit.drawDepth_ == 0) {
        edit.host_.ShowCaret();
        edit.host_.PixelsDrawn();
    }
}

int TLumEdit::LastVisibleRow() const {
    return std::min(LastLine(), topLine_ + linesPerPage_ - 1);
}

TLumEdit::ExpandedLine TLumEdit::ExpandForDrawing(std::string_view text) const {
    ExpandedLine out;
    out.text.reserve(text.size());
    int64_t width = 0;
    size_t measured = 0;  // bytes of out.text already summed into width
    size_t i = 0;
    for (;;) {
        const size_t tab = text.find('\t', i);
        out.text.append(text.substr(i, tab == std::string_view::npos ? tab : tab - i));
        if (tab == std::string_view::npos) break;
        // Widths add up at a TAB (never part of a double-byte character), so each
        // stretch is measured once.
        width += host_.TextWidth(std::string_view(out.text).substr(measured));
        const size_t blanks = tabCount_ - out.text.size() % tabCount_;
        const int blankWidth = host_.TextWidth(std::string(blanks, ' '));
        out.tabs.push_back({static_cast<int>(tab), ClampX(width), blankWidth});
        out.text.append(blanks, ' ');
        width += blankWidth;
        measured = out.text.size();
        i = tab + 1;
    }
    // A NUL has no glyph: it takes one blank cell, and DrawNulMarks boxes it.
    for (size_t p = out.text.find('\0'); p != std::string::npos; p = out.text.find('\0', p + 1)) {
        out.text[p] = ' ';
        out.nuls.push_back(p);
    }
    return out;
}

int TLumEdit::LogicalStart(int line) {
    const int from = line;
    int j = line - 1;
    while (j >= 0) {
        if (EndsLine(j)) {
            line = j + 1;
            break;
        }
        // A wrapped piece whose logical line is already known.
        if (j == startCacheLine_) {
            line = startCacheValue_;
            break;
        }
        --j;
    }
    if (j < 0) line = 0;
    startCacheLine_ = from;
    startCacheValue_ = line;
    return line;
}

TColor TLumEdit::LineColor(int line) {
    if (!ColorPrintF) return font_.color;
    const int start = LogicalStart(line);
    const std::string_view s = lines_.Get(start);
    const int n = ContentLength(start);
    if (n <= 0) return font_.color;
    const size_t len =
        (!SingleByteMode && IsLeadByte(static_cast<unsigned char>(s[0])) && n >= 2) ? 2 : 1;
    const std::string_view first(s.data(), len);
    // Compared character by character, so a trail byte of the mark string never matches.
    const std::string& marks = QuotMarkStr;
    for (size_t i = 0; i < marks.size();) {
        const size_t k = (!SingleByteMode && IsLeadByte(static_cast<unsigned char>(marks[i])) &&
                          i + 1 < marks.size())
                             ? 2
                             : 1;
        if (std::string_view(marks).substr(i, k) == first) return QuotMarkColor;
        i += k;
    }
    return font_.color;
}

void TLumEdit::Paint() {
    DrawStep step(*this);
    const int last = LastVisibleRow();
    underlineRow_ = -1;
    for (int i = topLine_; i <= last; ++i) DrawLine(i);
    FillBelowText();
    DrawGutter(topLine_, std::max(topLine_, last));
    if (!selActive_ && !allSelected_) MoveCaretUnderline();
    DrawTopBand();
    if (horzScrollBar_) {
        UpdateHorzThumb();
        UpdateHorzRange();
    }
    if (OnPaint) OnPaint(*this);
}

void TLumEdit::RepaintRange(int kind, int a, int b) {
    DrawStep step(*this);
    const int lastVisible = LastVisibleRow();
    int first = topLine_;
    int last = lastVisible;
    switch (kind) {
        case 1:
            first = caretLine_ - 1;
            break;
        case 2:
            first = caretLine_;
            break;
        case 3:
            first = a;
            break;
        case 4:
            first = last = caretLine_;
            break;
        case 5:
            first = a;
            last = b;
            break;
        default:
            break;
    }
    first = std::max(first, topLine_);
    last = std::min(last, lastVisible);
    if (underlineRow_ >= first && underlineRow_ <= last) underlineRow_ = -1;
    for (int i = first; i <= last; ++i) DrawLine(i);
    FillBelowText();
    if (first <= last) DrawGutter(first, last);
    MoveCaretUnderline();
    UpdateHorzThumb();
}

void TLumEdit::FillBelowText() {
    if (lineHeight_ <= 0) return;
    const ClientSize size = host_.GetClientSize();
    const int rows = std::max(0, std::min(linesPerPage_, lines_.Count() - topLine_));
    const int y = topMargin_ + rows * lineHeight_;
    if (y < size.height) host_.GetCanvas().FillRect(Rect{0, y, size.width, size.height}, Color);
}

void TLumEdit::UpdateHorzThumb() {
    if (!horzScrollBar_) return;
    const int scale = std::max(1, (widestLine_ + 32766) / 32767);
    host_.SetScrollPos(ScrollBarKind::Horizontal, (horzOffset_ + scale - 1) / scale);
}

void TLumEdit::DrawLine(int line) {
    if (line < 0 || line > LastLine() || lineHeight_ <= 0) return;
    const int stored = static_cast<int>(lines_.Get(line).size());
    if (allSelected_) {
        DrawSegment(line, 0, true, stored);
        return;
    }
    if (!selActive_) {
        DrawRow(line);
        return;
    }
    if (boxSelMode_) {
        const bool pixels = !BoxColumFix;
        DrawBoxRow(line, pixels ? ColumnToPixel(selStartLine_, selStartCol_) : 0,
                   pixels ? BoxEndX() : 0);
        return;
    }
    const SelectionRange r = GetSelectionRange();
    if (line < r.startLine || line > r.endLine) {
        DrawRow(line);
        return;
    }
    const int from = line == r.startLine ? std::clamp(r.startCol, 0, stored) : 0;
    const int to = line == r.endLine ? std::clamp(r.endCol, from, stored) : stored;
    DrawSegment(line, 0, false, from);
    DrawSegment(line, from, true, to);
    DrawSegment(line, to, false, stored);
}

void TLumEdit::DrawCrArrow(int a, int y, TColor pen, const Rect& clip) {
    const int top = y + crMarkTop_;
    const int bottom = y + crMarkBottom_;
    ClippedLine(a + 4, top, a + 4, bottom, pen, clip);
    ClippedLine(a + 4, bottom, a + 1, bottom - 3, pen, clip);
    ClippedLine(a + 4, bottom, a + 7, bottom - 3, pen, clip);
}

void TLumEdit::DrawRow(int line) {
    DrawStep step(*this);
    Canvas& canvas = host_.GetCanvas();
    const std::string_view raw = lines_.Get(line);
    const int length = ContentLength(line);
    const std::string_view content(raw.data(), length);
    const bool endOfText = line == LastLine();
    const bool lineEnd = !endOfText && static_cast<int>(raw.size()) > length;
    const ExpandedLine ex = ExpandForDrawing(content);
    const int y = RowTop(line);
    const int x0 = textLeft_ - horzOffset_;
    const Rect r{textLeft_ - 1, y, textLeft_ + textAreaWidth_, y + lineHeight_};
    if (IsEmpty(r)) return;
    canvas.TextOut(x0, y, r, ex.text, LineColor(line), Color, true);
    const int xe = ClampX(int64_t{x0} + host_.TextWidth(ex.text));
    const Rect tail{std::max(textLeft_, xe), y, r.right, r.bottom};
    if (endOfText && ShowEOF && !IsEmpty(tail))
        canvas.TextOut(xe, y, tail, "[EOF]", CREOFcolor, Color, true);
    if (lineEnd && ShowCR) DrawCrArrow(xe, y, CREOFcolor, Rect{textLeft_, y, r.right, r.bottom});
    if (OnUserClientDraw) OnUserClientDraw(*this, line, line, r.left, r.top, r.right, r.bottom);
    DrawRuns(line, content, x0, r);
    DrawMarks(ex.text, x0, ex.tabs, 0, length, r, false);
    DrawNulMarks(ex, 0, ex.text.size(), x0, r, false);
}

void TLumEdit::DrawSegment(int line, int from, bool selected, int to) {
    const std::string_view raw = lines_.Get(line);
    const int stored = static_cast<int>(raw.size());
    const int length = ContentLength(line);
    from = std::max(0, from);
    to = std::clamp(to, 0, stored);
    // A segment never starts inside the line-end marker: the one before covers it.
    if (from >= to || from > length || lineHeight_ <= 0) return;
    DrawStep step(*this);
    Canvas& canvas = host_.GetCanvas();
    const int y = RowTop(line);
    const int right = textLeft_ + textAreaWidth_;
    const int rowOrigin = textLeft_ - horzOffset_;
    const bool sel = selected || allSelected_;

    const ExpandedLine prefix = ExpandForDrawing(std::string_view(raw).substr(0, from));
    ExpandedLine full = ExpandForDrawing(std::string_view(raw).substr(0, to));
    std::string_view segment = std::string_view(full.text).substr(prefix.text.size());
    const int x0 = ClampX(int64_t{rowOrigin} + host_.TextWidth(prefix.text));

    // The markers go by position, as a NUL or LF may be the text's own last byte.
    const bool takesMarker = to == stored && to > length && !segment.empty();
    if (takesMarker && line < LastLine()) {
        const size_t strip = 2;  // the CR LF
        segment.remove_suffix(strip);
        to -= static_cast<int>(strip);
        const int xe = ClampX(int64_t{x0} + host_.TextWidth(segment));
        const Rect cell{std::max(textLeft_, xe), y, std::min(right, std::max(textLeft_, xe + 8)),
                        y + lineHeight_};
        if (!IsEmpty(cell)) canvas.FillRect(cell, sel ? SelColor : Color);
        if (ShowCR) DrawCrArrow(xe, y, sel ? CREOFcolor ^ 0xFFFFFF : CREOFcolor, cell);
        const Rect rest{std::max(cell.left, cell.right), y, right, y + lineHeight_};
        if (!IsEmpty(rest)) canvas.FillRect(rest, Color);
    } else if (takesMarker) {
        segment.remove_suffix(1);
        to -= 1;
        const int xe = ClampX(int64_t{x0} + host_.TextWidth(segment));
        // The end-of-text mark is never highlighted.
        const Rect tail{std::max(textLeft_, xe), y, right, y + lineHeight_};
        if (!IsEmpty(tail)) {
            if (ShowEOF)
                canvas.TextOut(xe, y, tail, "[EOF]", CREOFcolor, Color, true);
            else
                canvas.FillRect(tail, Color);
        }
    }

    const int xs = ClampX(int64_t{x0} + host_.TextWidth(segment));
    const Rect r{std::max(textLeft_, x0), y, std::min(right, std::max(textLeft_, xs)),
                 y + lineHeight_};
    if (!IsEmpty(r)) {
        if (sel) {
            canvas.TextOut(x0, y, r, segment, (font_.color ^ 0xFFFFFF) & 0xFFFFFF, SelColor, true);
            DrawMarks(segment, x0, full.tabs, from, to, r, true);
            DrawNulMarks(full, prefix.text.size(), prefix.text.size() + segment.size(), x0, r,
                         true);
        } else {
            canvas.TextOut(x0, y, r, segment, LineColor(line), Color, true);
            if (OnUserClientDraw)
                OnUserClientDraw(*this, line, line, r.left, r.top, r.right, r.bottom);
            DrawRuns(line, std::string_view(raw.data(), length), rowOrigin, r);
            DrawMarks(segment, x0, full.tabs, from, to, r, false);
            DrawNulMarks(full, prefix.text.size(), prefix.text.size() + segment.size(), x0, r,
                         false);
        }
    }
    if (to == stored) {
        const Rect rest{std::max(textLeft_, r.right), y, right, y + lineHeight_};
        if (!IsEmpty(rest)) canvas.FillRect(rest, Color);
    }
}

}  // namespace zentabo
