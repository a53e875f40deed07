// Scrolling the view: the scroll-bar requests, the wheel, a changed client size,
// focus, and the view's messages that reach Perform.
#include <algorithm>
#include <cstdlib>

#include "editor/LumEdit.h"

namespace zentabo {

namespace {

int CeilDiv(int a, int b) {
    return b <= 0 ? 0 : (a + b - 1) / b;
}

int LowWord(uintptr_t v) {
    return static_cast<int>(v & 0xFFFF);
}

int HighWord(uintptr_t v) {
    return static_cast<int>((v >> 16) & 0xFFFF);
}

}  // namespace

int TLumEdit::VertScrollScale() const {
    return std::max(1, CeilDiv(MaxTopLine(), 32767));
}

int TLumEdit::HorzScrollScale() const {
    return std::max(1, CeilDiv(widestLine_, 32767));
}

int TLumEdit::VScroll(int code, int thumbPos) {
    const int page = lineHeight_ > 0 ? textAreaHeight_ / lineHeight_ : 0;
    int request = 0;
    switch (code) {
        case SB_LINEUP:
            request = scrollRepeat_ < -4 ? -ScrollStep : -1;
            break;
        case SB_LINEDOWN:
            request = scrollRepeat_ > 4 ? ScrollStep : 1;
            break;
        case SB_PAGEUP:
            request = std::min(-1, -page);
            break;
        case SB_PAGEDOWN:
            request = std::max(1, page);
            break;
        case SB_THUMBTRACK:
            request = thumbPos * VertScrollScale() - topLine_;
            break;
        case SB_TOP:
            request = -topLine_;
            break;
        case SB_BOTTOM:
            request = MaxTopLine() - topLine_;
            break;
        default:
            break;
    }
    return ScrollView(request, keyHandling_);
}

int TLumEdit::ScrollView(int request, bool fromKey) {
    int follow = request;
    int delta;
    if (request < 0) {
        delta = std::max(-topLine_, request);
    } else {
        delta = std::max(0, std::min(request, MaxTopLine() - topLine_));
        // Near the bottom edge the view comes to the caret instead of taking it along.
        if (caretLine_ + vertScrollLines_ - topLine_ > linesPerPage_) follow = 0;
    }
    lastScrollDelta_ = delta;
    caretFollowCount_ = follow;
    scrolling_ = true;
    try {
        if (delta != 0) {
            if (underlineRow_ >= 0) DrawCaretUnderline(underlineRow_, false);
            topLine_ += delta;
            host_.HideCaret();
            ClientSize size = host_.GetClientSize();
            host_.Invalidate(Rect{0, topMargin_, size.width, size.height}, true);
            if (caretFollow_) {
                if (!CaretScrollFix || fromKey)
                    MoveCaretRows(follow);
                else
                    PlaceCaret();
            }
            host_.ShowCaret();
            UpdateHorzRange();
            if (vertScrollBar_)
                host_.SetScrollPos(ScrollBarKind::Vertical, CeilDiv(topLine_, VertScrollScale()));
        }
    } catch (const std::exception&) {
        ShowError("Error:OC005");
    }
    scrolling_ = false;
    caretFollow_ = true;
    return delta;
}

void TLumEdit::HScroll(int code, int thumbPos) {
    int request = 0;
    switch (code) {
        case SB_LINELEFT:
            request = -horzStep_;
            break;
        case SB_LINERIGHT:
            request = horzStep_;
            break;
        case SB_PAGELEFT:
            request = std::min(-1, -(textAreaWidth_ / 3));
            break;
        case SB_PAGERIGHT:
            request = std::max(1, textAreaWidth_ / 3);
            break;
        case SB_THUMBTRACK:
            request = thumbPos * HorzScrollScale() - horzOffset_;
            break;
        default:
            break;
    }
    int delta;
    if (request < 0) {
        delta = std::max(-horzOffset_, request);
    } else if (textAreaWidth_ >= widestLine_ + horzStep_) {
        delta = 0;  // everything fits
    } else {
        // Never negative: a view already scrolled past the widest visible row must not
        // jump back left on a request to go right.
        delta = std::max(0, std::min(request, widestLine_ - horzOffset_ - horzStep_));
    }
    if (delta == 0) return;
    horzOffset_ += delta;
    if (horzScrollBar_)
        host_.SetScrollPos(ScrollBarKind::Horizontal, CeilDiv(horzOffset_, HorzScrollScale()));
    host_.HideCaret();
    ClientSize size = host_.GetClientSize();
    host_.ScrollPixels(-delta, 0, Rect{textLeft_, 0, size.width, size.height});
    caretX_ -= delta;
    if (showRuler_ || showRulerCur_ || OnUserDraw) DrawTopBand();
    host_.ShowCaret();
    PlaceCaret();
}

void TLumEdit::MouseWheel(int delta) {
    const int n = std::abs(delta / 120) * WheelStep;
    const int code = delta >= 120 ? SB_LINEUP : SB_LINEDOWN;
    if (delta > -120 && delta < 120) return;
    for (int i = 0; i < n; ++i)
        if (VScroll(code, 0) == 0) break;  // the end of the text: the rest would do nothing
}

void TLumEdit::Resize() {
    UpdateLayout();
    if (wordWrap_ && autoWrap_ && WrapWidth() != wrappedWidth_)
        RewrapWholeText();
    else
        ScrollCaretIntoView(-1, caretLine_, kScrollKeepMargin, false, false);
    UpdateVertRange();
    UpdateHorzRange();
}

void TLumEdit::FocusIn() {
    host_.SetTimerEnabled(true);
    host_.CreateCaret(2, fontHeight_);
    PlaceCaret();
    host_.ShowCaret();
}

void TLumEdit::FocusOut() {
    host_.SetTimerEnabled(false);
    host_.HideCaret();
    host_.DestroyCaret();
}

intptr_t TLumEdit::PerformView(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    switch (msg) {
        case WM_VSCROLL:
            return VScroll(LowWord(wParam), HighWord(wParam));
        case WM_HSCROLL:
            HScroll(LowWord(wParam), HighWord(wParam));
            return 0;
        case WM_MOUSEWHEEL:
            MouseWheel(static_cast<int16_t>(HighWord(wParam)));
            return 0;
        case WM_SIZE:
            Resize();
            return 0;
        case WM_SETFOCUS:
            FocusIn();
            return 0;
        case WM_KILLFOCUS:
            FocusOut();
            return 0;
        case WM_KEYDOWN:
            KeyDown(static_cast<int>(wParam));
            return 0;
        case WM_KEYUP:
            KeyUp(static_cast<int>(wParam));
            return 0;
        case WM_CHAR: {
            // A double-byte character comes whole, lead byte in the high byte.
            std::string bytes;
            if (wParam > 0xFF) bytes.push_back(static_cast<char>((wParam >> 8) & 0xFF));
            bytes.push_back(static_cast<char>(wParam & 0xFF));
            TypeChars(bytes);
            return 0;
        }
        case WM_TLUMEDIT_GETCARETPOS:
            return MakeLong(static_cast<uint32_t>(caretCol_),
                            static_cast<uint32_t>(std::min(caretLine_, 32767)));
        case WM_TLUMEDIT_SETCARETPOS: {
            const int col = LowWord(static_cast<uintptr_t>(lParam));
            const int line = HighWord(static_cast<uintptr_t>(lParam));
            if (line > LastLine()) return 0;
            MoveCaretTo(col, line, kScrollKeepMargin);
            return 1;
        }
        default:
            return 0;
    }
}

}  // namespace zentabo
