// Metrics, the viewport arithmetic the model needs (scrolling the caret into view,
// scroll ranges, caret placement) and repaint requests to the host.
#include <algorithm>
#include <cmath>

#include "editor/LumEdit.h"
#include "editor/TextCells.h"
#include "store/LumEditSub.h"

namespace zentabo {

namespace {

int CeilDiv(int a, int b) {
    return b <= 0 ? 0 : (a + b - 1) / b;
}

// Rounds halves to even, as every rounded view value does.
int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

}  // namespace

void TLumEdit::TakeMetrics() {
    FontMetrics m = host_.CreateEditorFont(EditorFontDescription());
    charWidth_ = std::max(0, m.tmAveCharWidth);
    fontHeight_ = std::max(0, m.tmHeight);
    TakeViewMetrics();
    UpdateLayout();
}

void TLumEdit::UpdateLayout() {
    if (lineSpaceUnit_ == uPercent)
        lineHeight_ = fontHeight_ + RoundEven(lineSpace_ * fontHeight_ / 100.0);
    else
        lineHeight_ = fontHeight_ + lineSpace_;
    // The gutter keeps what AdaptGutter widened it to, but never less than configured.
    const int minGutter = ShowLineNumber ? std::min(100, digitWidth_ * lineNoColumn_) + 7 : 0;
    gutterWidth_ = ShowLineNumber ? std::max(gutterWidth_, minGutter) : 0;
    minTextLeft_ = leftMargin_ + minGutter;
    textLeft_ = leftMargin_ + gutterWidth_;
    ClientSize size = host_.GetClientSize();
    textAreaWidth_ = size.width - textLeft_;
    textAreaHeight_ = size.height - topMargin_;
    linesPerPage_ = lineHeight_ > 0 ? std::max(0, textAreaHeight_ / lineHeight_) : 0;
    columnsPerPage_ = charWidth_ > 0 ? std::max(0, textAreaWidth_ / charWidth_) : 0;
    vertScrollLines_ = RoundEven(vertScrollLimit_ * linesPerPage_ / 100.0) + 1;
    // At least one pixel, so that the loops that scroll step by step always end.
    horzStep_ = std::max(1, CeilDiv(textAreaWidth_, 5));
    caretEdgeGap_ = curSetMode_ ? 10 : horzStep_;
}

int TLumEdit::MaxTopLine() const {
    return std::max(0, lines_.Count() + vertScrollLines_ - linesPerPage_ - 1);
}

int TLumEdit::ColumnToPixel(int line, int col) {
    if (line < 0 || line >= lines_.Count() || col <= 0) return 0;
    int len = ContentLength(line);
    const std::string_view text = std::string_view(lines_.Get(line)).substr(0, std::min(col, len));
    const bool padded = col > len && freeCaretMode_;
    // Every caret move asks this; the common case measures the stored bytes in place.
    if (!padded && !NeedsExpanding(text)) return host_.TextWidth(text);
    std::string head(text);
    if (padded) head.append(static_cast<size_t>(col - len), ' ');
    return host_.TextWidth(ExpandTabs(head));
}

int TLumEdit::PixelToColumn(int line, int t, bool pad) {
    if (t <= 0) return 0;
    std::string text;
    if (line >= 0 && line < lines_.Count()) text = lines_.Get(line).substr(0, ContentLength(line));
    if (pad) {
        int space = std::max(1, host_.TextWidth(" "));
        text.append(static_cast<size_t>(t / space), ' ');
    }
    int n = static_cast<int>(text.size());
    auto width = [&](int k) {
        return host_.TextWidth(ExpandTabs(std::string_view(text).substr(0, k)));
    };
    if (t >= width(n)) return n;
    // Largest byte position whose prefix ends at or before t.
    int lo = 0, hi = n;
    while (hi - lo > 1) {
        int mid = lo + (hi - lo) / 2;
        if (width(mid) <= t)
            lo = mid;
        else
            hi = mid;
    }
    if (lo > 0 && ByteTypeAt(text, lo + 1, SingleByteMode) == kTrailByte) --lo;
    int charLen = ByteTypeAt(text, lo + 1, SingleByteMode) == kLeadByte && lo + 1 < n ? 2 : 1;
    int left = width(lo);
    int right = width(std::min(n, lo + charLen));
    int cell = right - left;
    return t <= right - cell / 2 ? lo : std::min(n, lo + charLen);
}

void TLumEdit::RepaintLines(int firstLine, int lastLine, int /*fromX*/) {
    // Whole rows: the part left of fromX comes out the same.
    RepaintRange(5, firstLine, lastLine);
}

void TLumEdit::RepaintAll() {
    ClientSize size = host_.GetClientSize();
    host_.Invalidate(Rect{0, 0, size.width, size.height}, true);
}

// After the text or the geometry changed as a whole: ranges, the whole view, the caret.
void TLumEdit::RedrawWholeView() {
    UpdateVertRange();
    UpdateHorzRange();
    RepaintAll();
    PlaceCaret();
}

void TLumEdit::UpdateVertRange() {
    if (AdaptGutter()) RepaintAll();
    int maxTop = MaxTopLine();
    host_.EnableScrollBar(ScrollBarKind::Vertical,
                          linesPerPage_ < lines_.Count() + vertScrollLines_ - 1);
    int scale = std::max(1, CeilDiv(maxTop, 32767));
    int rangeMax = std::max(1, CeilDiv(maxTop, scale));
    if (rangeMax != lastVertRangeMax_) {
        host_.SetScrollRange(ScrollBarKind::Vertical, 0, rangeMax);
        lastVertRangeMax_ = rangeMax;
    }
    host_.SetScrollPos(ScrollBarKind::Vertical, CeilDiv(topLine_, scale));
}

void TLumEdit::UpdateHorzRange() {
    // Only the visible rows count, so this never walks the whole text.
    int widest = 0;
    int last = std::min(lines_.Count() - 1, topLine_ + linesPerPage_);
    for (int i = std::max(0, topLine_); i <= last; ++i) {
        const std::string_view text = std::string_view(lines_.Get(i)).substr(0, ContentLength(i));
        const int width =
            NeedsExpanding(text) ? host_.TextWidth(ExpandTabs(text)) : host_.TextWidth(text);
        widest = std::max(widest, width);
    }
    widestLine_ = widest;
    if (!horzScrollBar_) return;
    host_.EnableScrollBar(ScrollBarKind::Horizontal, textAreaWidth_ < widestLine_ + horzStep_);
    int scale = std::max(1, CeilDiv(widestLine_, 32767));
    host_.SetScrollRange(ScrollBarKind::Horizontal, 0,
                         std::max(1, CeilDiv(widestLine_, scale) - horzStep_));
    host_.SetScrollPos(ScrollBarKind::Horizontal, CeilDiv(horzOffset_, scale));
}

void TLumEdit::PlaceCaret() {
    caretX_ = ColumnToPixel(caretLine_, caretCol_) - horzOffset_;
    if (host_.HasFocus()) {
        int row = caretLine_ - topLine_;
        int x = caretX_ + textLeft_, y = row * lineHeight_ + topMargin_;
        if (row < 0 || row > linesPerPage_) {
            x = -5;
            y = -(lineHeight_ + topMargin_);
        } else if (caretX_ < 0) {
            x = -5;
        }
        host_.SetCaretPos(x, y);
        host_.SetCompositionWindow(x, y);
    }
    if (caretLine_ != findCaretLine_ || caretCol_ != findCaretCol_) ResetFindStart();
    if (caretCol_ != notifiedCol_ || caretLine_ != notifiedLine_ || caretX_ != notifiedX_) {
        notifiedCol_ = caretCol_;
        notifiedLine_ = caretLine_;
        notifiedX_ = caretX_;
        DrawRulerCursor(false);
        if (OnSelectionChange) OnSelectionChange(*this);
        if (OnMoveCaret) OnMoveCaret(*this);
    }
}

bool TLumEdit::ScrollPositionIntoView(int x, int line, int kind, int margin) {
    try {
        int oldTop = topLine_, oldHorz = horzOffset_;
        if (x > textAreaWidth_ - margin)
            horzOffset_ = x + horzOffset_ + horzStep_ - textAreaWidth_;
        else if (x < margin)
            horzOffset_ = std::max(0, x + horzOffset_ - (textAreaWidth_ - horzStep_));
        horzOffset_ = std::max(0, horzOffset_);
        int p = linesPerPage_ - vertScrollLines_;
        int count = lines_.Count();
        if (kind == kScrollKeepMargin) {
            if (line >= topLine_ + vertScrollLines_ - 1 && line > topLine_ + p)
                topLine_ = std::max(0, line - p);
            else if (line <= topLine_)
                topLine_ = std::max(0, line - vertScrollLines_ + 1);
        } else {
            if (kind == kScrollCentre)
                topLine_ = std::max(0, line - linesPerPage_ / 2);
            else
                topLine_ =
                    std::max(0, line + static_cast<int>(0.8 * linesPerPage_) - linesPerPage_);
            topLine_ = std::min(topLine_, std::max(0, count - p));
        }
        if (linesPerPage_ >= count + vertScrollLines_ - 1)
            topLine_ = 0;
        else
            topLine_ = std::min(topLine_, MaxTopLine());
        return topLine_ != oldTop || horzOffset_ != oldHorz;
    } catch (const std::exception&) {
        ShowError("Error:OC005");
        return false;
    }
}

bool TLumEdit::ScrollCaretIntoView(int col, int line, int kind, bool setGoal, bool collapse) {
    try {
        if (col >= 0) {
            caretLine_ = std::clamp(line, 0, LastLine());
            caretCol_ = CaretColumnOn(caretLine_, col);
        }
        int x = ColumnToPixel(caretLine_, caretCol_) - horzOffset_;
        bool moved = ScrollPositionIntoView(x, caretLine_, kind, 3);
        caretX_ = ColumnToPixel(caretLine_, caretCol_) - horzOffset_;
        if (moved) {
            UpdateVertRange();
            UpdateHorzRange();
            RepaintAll();
        }
        PlaceCaret();
        if (!moved) MoveCaretUnderline();
        if (collapse) CollapseSelectionToCaret();
        if (setGoal) goalCol_ = caretCol_;
        return moved;
    } catch (const std::exception&) {
        ShowError("Error:OC006");
        return false;
    }
}

void TLumEdit::KeepCaretVisibleHorizontally() {
    bool moved = false;
    while (caretX_ < 0 && horzOffset_ > 0) {
        int step = std::min(horzStep_, horzOffset_);
        horzOffset_ -= step;
        caretX_ += step;
        moved = true;
    }
    while (textAreaWidth_ - caretX_ < caretEdgeGap_ && textAreaWidth_ > caretEdgeGap_) {
        horzOffset_ += horzStep_;
        caretX_ -= horzStep_;
        moved = true;
    }
    if (moved) {
        UpdateHorzRange();
        RepaintAll();
    }
}

int TLumEdit::FreeCaretLimit() {
    int r = textAreaWidth_ < widestLine_ + horzStep_ ? widestLine_ + textAreaWidth_ - horzStep_
                                                     : textAreaWidth_ + horzOffset_;
    r -= caretEdgeGap_;
    if (wordWrap_) r = std::min(r, column_ * charWidth_);
    int limit = PixelToColumn(caretLine_, r, true);
    if (charWidth_ > 0) limit = std::min(limit, (32767 / charWidth_) / 2);
    return std::max(0, limit);
}

int TLumEdit::CaretDisplayColumn() {
    int len = ContentLength(caretLine_);
    std::string head(lines_.Get(caretLine_).substr(0, std::min(caretCol_, len)));
    if (freeCaretMode_ && caretCol_ > len) head.append(static_cast<size_t>(caretCol_ - len), ' ');
    return static_cast<int>(ExpandTabs(head).size());
}

}  // namespace zentabo
