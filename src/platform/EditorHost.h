#pragma once

// What the editor control needs from the platform: measuring, drawing, the system
// caret, scroll bars, its timer, the clipboard and a message box. The Qt editor widget
// implements it; tests use a headless host with fixed metrics.

#include <string>
#include <string_view>

#include "platform/Canvas.h"
#include "platform/FontTypes.h"

namespace zentabo {

enum class ScrollBarKind { Horizontal, Vertical };

// Why a clipboard write failed; the editor shows a different text for each.
enum class ClipboardWrite { Ok, BlockFailed, OtherFailure };

struct ClientSize {
    int width = 0;
    int height = 0;
};

class EditorHost {
public:
    virtual ~EditorHost() = default;

    // Font and measuring. CreateEditorFont makes the font later text calls and
    // TextWidth use and answers its metrics. The text handed to TextWidth is code
    // page 932 with tabs already expanded by the caller.
    virtual FontMetrics CreateEditorFont(const FontDescription& font) = 0;
    virtual int TextWidth(std::string_view cp932) = 0;
    // Whether TextWidth may be called from several threads at once (it then reads
    // nothing that changes): opening a large file wraps it on every core.
    virtual bool MeasuresOnAnyThread() const { return false; }

    // Drawing goes to this canvas; it stays valid for the host's lifetime.
    virtual Canvas& GetCanvas() = 0;

    // Repaint requests: the host calls back into the view to draw (rectangles in
    // client pixels; erase asks for the background to be filled first).
    virtual void Invalidate(const Rect& r, bool erase) = 0;
    // Moves the pixels inside clip by (dx, dy); the uncovered strip is invalidated.
    virtual void ScrollPixels(int dx, int dy, const Rect& clip) = 0;
    // The editor has drawn into the canvas outside a repaint request; the host shows it.
    virtual void PixelsDrawn() {}

    virtual ClientSize GetClientSize() = 0;
    virtual bool HasFocus() = 0;

    // The system caret.
    virtual void CreateCaret(int width, int height) = 0;
    virtual void SetCaretPos(int x, int y) = 0;
    virtual void ShowCaret() = 0;
    virtual void HideCaret() = 0;
    virtual void DestroyCaret() = 0;

    // Scroll bars.
    virtual void SetScrollRange(ScrollBarKind bar, int minPos, int maxPos) = 0;
    virtual void SetScrollPos(ScrollBarKind bar, int pos) = 0;
    virtual void EnableScrollBar(ScrollBarKind bar, bool enabled) = 0;
    virtual void ShowScrollBar(ScrollBarKind bar, bool shown) = 0;
    // Width of a vertical bar or height of a horizontal one, in pixels.
    virtual int ScrollBarSize(ScrollBarKind bar) = 0;

    // The editor's 40 ms timer; the host calls TLumEdit's timer handler on each tick.
    virtual void SetTimerEnabled(bool enabled) = 0;

    // Whether a virtual key (platform/VirtualKeys.h: vk::kShift, vk::kControl ...) is down.
    virtual bool IsKeyDown(int virtualKey) = 0;

    // Where the input method shows its composition window (client pixels).
    virtual void SetCompositionWindow(int x, int y) = 0;

    // A plain message box with an OK button.
    virtual void ShowMessage(const std::string& text) = 0;

    // The clipboard as code page 932 text. GetClipboardText answers false when the
    // clipboard holds no text.
    virtual bool GetClipboardText(std::string& text) = 0;
    virtual ClipboardWrite SetClipboardText(std::string_view text) = 0;

    // ---- mouse support; a host without them leaves the defaults.
    // Completes an open input-method composition, so its text lands before the caret
    // moves (a click).
    virtual void CompleteComposition() {}
    // Gives the editor the keyboard focus (a click).
    virtual void TakeFocus() {}
    // Shows the editor's context menu at a client point, when one is assigned.
    virtual void ShowPopupMenu(int /*clientX*/, int /*clientY*/) {}
    // The pointer shape while a selection is dragged: 0 the normal one, 1 the move
    // cursor ("DragCur1"), 2 the copy cursor ("DragCur2").
    virtual void SetDragCursor(int /*cursor*/) {}
};

}  // namespace zentabo
