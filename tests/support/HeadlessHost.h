#pragma once

// The tests' platform: fixed metrics from FixedMetricsHost, plus a record of what the
// editor asked of the platform (drawing calls, message boxes, caret, scroll bars,
// repaint requests) and a clipboard that can be told to fail.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "editor/FixedMetricsHost.h"

namespace zentabo {

// Every drawing call, as text ("TextOut 10,4 abc" ...), in order.
class RecordingCanvas : public Canvas {
public:
    void SetFont(const FontDescription& font) override;
    void FillRect(const Rect& r, TColor color) override;
    void TextOut(int x, int y, const Rect& clip, std::string_view cp932, TColor textColor,
                 TColor background, bool opaque, int fontStyle) override;
    void Line(int x1, int y1, int x2, int y2, TColor color, int width, PenMode mode) override;
    void SetPixel(int x, int y, TColor color) override;

    std::vector<std::string> calls;
};

struct ScrollBarState {
    int minPos = 0;
    int maxPos = 0;
    int pos = 0;
    bool enabled = true;
    bool shown = true;
};

struct CaretState {
    bool created = false;
    bool visible = false;
    int width = 0;
    int height = 0;
    int x = 0;
    int y = 0;
};

class HeadlessHost : public FixedMetricsHost {
public:
    Canvas& GetCanvas() override { return canvas; }
    void Invalidate(const Rect& r, bool erase) override;
    void ScrollPixels(int dx, int dy, const Rect& clip) override;

    void CreateCaret(int width, int height) override;
    void SetCaretPos(int x, int y) override;
    void ShowCaret() override { caret.visible = true; }
    void HideCaret() override { caret.visible = false; }
    void DestroyCaret() override { caret = CaretState{}; }

    void SetScrollRange(ScrollBarKind bar, int minPos, int maxPos) override;
    void SetScrollPos(ScrollBarKind bar, int pos) override;
    void EnableScrollBar(ScrollBarKind bar, bool enabled) override;
    void ShowScrollBar(ScrollBarKind bar, bool shown) override;

    void SetTimerEnabled(bool enabled) override { timerEnabled = enabled; }
    bool IsKeyDown(int virtualKey) override;
    void ShowMessage(const std::string& text) override { messages.push_back(text); }

    bool GetClipboardText(std::string& text) override;
    ClipboardWrite SetClipboardText(std::string_view text) override;

    void CompleteComposition() override { ++compositionsCompleted; }
    void TakeFocus() override { SetFocus(true); }
    void ShowPopupMenu(int x, int y) override { popupsShown.push_back({x, y}); }
    void SetDragCursor(int cursor) override { dragCursor = cursor; }

    // Puts text on the clipboard as another program would.
    void SetClipboard(const std::string& text);
    std::optional<std::string> Clipboard() const;

    ScrollBarState& Bar(ScrollBarKind bar) {
        return bar == ScrollBarKind::Vertical ? vertical : horizontal;
    }

    RecordingCanvas canvas;
    std::vector<std::string> messages;
    std::vector<Rect> invalidated;
    CaretState caret;
    ScrollBarState vertical;
    ScrollBarState horizontal;
    bool timerEnabled = false;
    std::vector<int> keysDown;
    // The next clipboard write fails this way (Ok: writes work).
    ClipboardWrite clipboardFailure = ClipboardWrite::Ok;
    int compositionsCompleted = 0;
    std::vector<std::pair<int, int>> popupsShown;
    int dragCursor = 0;
};

}  // namespace zentabo
