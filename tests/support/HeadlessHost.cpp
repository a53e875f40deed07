#include "HeadlessHost.h"

#include <algorithm>

namespace zentabo {

namespace {

std::string RectText(const Rect& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + "-" + std::to_string(r.right) +
           "," + std::to_string(r.bottom);
}

}  // namespace

void RecordingCanvas::SetFont(const FontDescription& font) {
    calls.push_back("SetFont " + font.name + " " + std::to_string(font.height));
}

void RecordingCanvas::FillRect(const Rect& r, TColor color) {
    calls.push_back("FillRect " + RectText(r) + " " + std::to_string(color));
}

void RecordingCanvas::TextOut(int x, int y, const Rect& clip, std::string_view cp932,
                              TColor textColor, TColor background, bool opaque, int fontStyle) {
    calls.push_back("TextOut " + std::to_string(x) + "," + std::to_string(y) + " " +
                    RectText(clip) + " " + std::string(cp932) + " " + std::to_string(textColor) +
                    "/" + std::to_string(background) + (opaque ? " opaque" : "") +
                    (fontStyle ? " style" + std::to_string(fontStyle) : ""));
}

void RecordingCanvas::Line(int x1, int y1, int x2, int y2, TColor color, int width,
                           PenMode mode) {
    calls.push_back("Line " + std::to_string(x1) + "," + std::to_string(y1) + "-" +
                    std::to_string(x2) + "," + std::to_string(y2) + " " + std::to_string(color) +
                    " w" + std::to_string(width) + (mode == PenMode::Xor ? " xor" : ""));
}

void RecordingCanvas::SetPixel(int x, int y, TColor color) {
    calls.push_back("SetPixel " + std::to_string(x) + "," + std::to_string(y) + " " +
                    std::to_string(color));
}

void HeadlessHost::Invalidate(const Rect& r, bool) { invalidated.push_back(r); }

void HeadlessHost::ScrollPixels(int dx, int dy, const Rect& clip) {
    canvas.calls.push_back("ScrollPixels " + std::to_string(dx) + "," + std::to_string(dy) + " " +
                           RectText(clip));
}

void HeadlessHost::CreateCaret(int width, int height) {
    caret.created = true;
    caret.width = width;
    caret.height = height;
}

void HeadlessHost::SetCaretPos(int x, int y) {
    caret.x = x;
    caret.y = y;
}

void HeadlessHost::SetScrollRange(ScrollBarKind bar, int minPos, int maxPos) {
    Bar(bar).minPos = minPos;
    Bar(bar).maxPos = maxPos;
}

void HeadlessHost::SetScrollPos(ScrollBarKind bar, int pos) { Bar(bar).pos = pos; }
void HeadlessHost::EnableScrollBar(ScrollBarKind bar, bool enabled) { Bar(bar).enabled = enabled; }
void HeadlessHost::ShowScrollBar(ScrollBarKind bar, bool shown) { Bar(bar).shown = shown; }

bool HeadlessHost::IsKeyDown(int virtualKey) {
    return std::find(keysDown.begin(), keysDown.end(), virtualKey) != keysDown.end();
}

bool HeadlessHost::GetClipboardText(std::string& text) {
    return FixedMetricsHost::GetClipboardText(text);
}

ClipboardWrite HeadlessHost::SetClipboardText(std::string_view text) {
    if (clipboardFailure != ClipboardWrite::Ok) return clipboardFailure;
    return FixedMetricsHost::SetClipboardText(text);
}

void HeadlessHost::SetClipboard(const std::string& text) {
    clipboard_ = text;
    clipboardHasText_ = true;
}

std::optional<std::string> HeadlessHost::Clipboard() const {
    if (!clipboardHasText_) return std::nullopt;
    return clipboard_;
}

}  // namespace zentabo
