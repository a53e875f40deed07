// The editor's font description and the metrics taken from it, and the line-number
// gutter with its automatic widening.
#include <algorithm>
#include <cmath>
#include <string>

#include "editor/LumEdit.h"

namespace zentabo {

namespace {

int RoundEven(double v) {
    return static_cast<int>(std::nearbyint(v));
}

}  // namespace

FontDescription TLumEdit::EditorFontDescription() const {
    // Styles stay off: a bold or italic cell would no longer match the byte grid.
    FontDescription d;
    d.name = font_.name;
    d.height = font_.height;
    d.color = font_.color;
    d.style = kStyleNone;
    return d;
}

void TLumEdit::ResetCanvas() {
    host_.GetCanvas().SetFont(EditorFontDescription());
}

void TLumEdit::TakeViewMetrics() {
    ResetCanvas();
    digitWidth_ = host_.TextWidth("0");
    crMarkTop_ = std::clamp(RoundEven(0.2 * fontHeight_), 0, 255);
    crMarkBottom_ = std::clamp(RoundEven(0.8 * fontHeight_), 0, 255);
    rulerLimit_ = charWidth_ > 0 ? (32767 / charWidth_) / 2 : 0;
    dblSpaceWidth_ = host_.TextWidth("\x81\x40");
    dblSpaceHeight_ = fontHeight_;
    spaceWidth_ = host_.TextWidth(" ");
}

void TLumEdit::SetGutterWidth() {
    gutterWidth_ = ShowLineNumber ? std::min(100, digitWidth_ * lineNoColumn_) + 7 : 0;
    UpdateLayout();
}

bool TLumEdit::AdaptGutter() {
    if (!ShowLineNumber) return false;
    const int needed = host_.TextWidth(std::to_string(lines_.Count())) + leftMargin_ + 7;
    int left = textLeft_;
    while (left < needed) left += 10;
    // Narrow only as far as the numbers still fit and never below the configured
    // width (a text that shrank from 100,000 lines to a few gets its gutter back).
    while (needed < left - 1.5 * digitWidth_ && left - 10 >= needed && left - 10 >= minTextLeft_)
        left -= 10;
    if (left == textLeft_) return false;
    gutterWidth_ = left - leftMargin_;
    UpdateLayout();
    return true;
}

void TLumEdit::DrawGutter(int firstLine, int lastLine) {
    if (lastLine < firstLine || lineHeight_ <= 0) return;
    DrawStep step(*this);
    Canvas& canvas = host_.GetCanvas();
    const ClientSize size = host_.GetClientSize();
    const int y1 = std::max(topMargin_, RowTop(firstLine));
    const int y2 = std::min(size.height, RowTop(lastLine) + lineHeight_);
    if (y2 <= y1) return;
    canvas.FillRect(Rect{0, y1, textLeft_, y2}, Color);
    if (!ShowLineNumber) return;
    canvas.Line(textLeft_ - 4, topMargin_, textLeft_ - 4, y2, CREOFcolor);
    const int last = std::min(lastLine, LastLine());
    for (int i = std::max(firstLine, topLine_); i <= last; ++i) {
        const int y = RowTop(i);
        if (y >= y2) break;
        const std::string number = std::to_string(i + 1);
        const int x = textLeft_ - 7 - host_.TextWidth(number);
        const Rect clip{std::max(0, x), y, std::max(0, textLeft_ - 7),
                        std::min(y + lineHeight_, y2)};
        if (clip.left < clip.right) canvas.TextOut(x, y, clip, number, CREOFcolor, Color, true);
    }
}

}  // namespace zentabo
