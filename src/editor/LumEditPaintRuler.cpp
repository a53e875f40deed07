// The top band: the column ruler, the OnUserDraw hook and the XOR ruler cursor.
#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

#include "editor/LumEdit.h"

namespace zentabo {

namespace {

int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

// No "Terminal" face on most hosts; the platform falls back to a small fixed face.
FontDescription RulerFont(TColor color) {
    FontDescription d;
    d.name = "Terminal";
    d.height = 8;  // 6 points at 96 dots per inch
    d.color = color;
    return d;
}

}  // namespace

void TLumEdit::DrawTopBand() {
    DrawStep step(*this);
    const ClientSize size = host_.GetClientSize();
    host_.GetCanvas().FillRect(Rect{0, 0, size.width, topMargin_}, Color);
    if (!showRuler_ && !showRulerCur_ && !OnUserDraw) return;
    const int last = wordWrap_ ? column_ : rulerLimit_;
    if (showRuler_) DrawRuler(last);
    if (OnUserDraw && charWidth_ > 0) {
        const int c1 = std::max(1, RoundEven(static_cast<double>(horzOffset_) / charWidth_));
        const int c2 =
            std::min(RoundEven(static_cast<double>(size.width + horzOffset_) / charWidth_), last);
        OnUserDraw(*this, c1, c2, textLeft_, size.width);
    }
    if (showRulerCur_) DrawRulerCursor(true);
    ResetCanvas();
}

void TLumEdit::DrawRuler(int lastColumn) {
    if (charWidth_ <= 0) return;
    DrawStep step(*this);
    Canvas& canvas = host_.GetCanvas();
    const ClientSize size = host_.GetClientSize();
    const int c1 = std::max(1, RoundEven(static_cast<double>(horzOffset_) / charWidth_));
    const int c2 =
        std::min(RoundEven(static_cast<double>(size.width + horzOffset_) / charWidth_), lastColumn);
    canvas.SetFont(RulerFont(RulerColor));
    auto x = [&](int i) { return (i - 1) * charWidth_ + textLeft_ - horzOffset_; };
    for (int i = c1; i <= c2; ++i) {
        const int xi = x(i);
        if (xi < textLeft_) continue;
        canvas.Line(xi, 10, xi, 5, RulerColor);
        if (i % 10 == 0) {
            canvas.TextOut(xi + 1, 1, Rect{xi + 1, 0, size.width, 10}, std::to_string(i),
                           RulerColor, Color, false);
            canvas.Line(xi, 10, xi, 1, RulerColor);
        }
    }
    if (c2 >= c1 && x(c2) > textLeft_) canvas.Line(textLeft_, 10, x(c2) + 1, 10, RulerColor);
    ResetCanvas();
}

void TLumEdit::DrawRulerCursor(bool first) {
    if (!showRulerCur_) return;
    DrawStep step(*this);
    Canvas& canvas = host_.GetCanvas();
    const TColor pen = (RulerCurColor ^ Color) & 0xFFFFFF;
    const int width = std::max(1, rulerCurWidth_);
    // XOR twice restores, so the old cursor goes only when one was drawn since the
    // band was last filled.
    if (!first && lastRulerX_ != INT_MIN)
        canvas.Line(lastRulerX_, 0, lastRulerX_, 8, pen, width, PenMode::Xor);
    const int x = caretX_ + textLeft_;
    canvas.Line(x, 0, x, 8, pen, width, PenMode::Xor);
    lastRulerX_ = x;
}

}  // namespace zentabo
