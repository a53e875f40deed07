#pragma once

// An EditorHost without a window: fixed metrics (a single-byte cell 8 pixels wide, a
// double-byte cell 16, cell height 16), an in-memory clipboard and a settable client
// size; drawing, caret and scroll-bar calls go nowhere. The benchmarks run the editor
// on it, and the tests' recording host builds on it.

#include <string>

#include "platform/EditorHost.h"

namespace zentabo {

class NullCanvas : public Canvas {
public:
    void SetFont(const FontDescription&) override {}
    void FillRect(const Rect&, TColor) override {}
    void TextOut(int, int, const Rect&, std::string_view, TColor, TColor, bool, int) override {}
    void Line(int, int, int, int, TColor, int, PenMode) override {}
    void SetPixel(int, int, TColor) override {}
};

class FixedMetricsHost : public EditorHost {
public:
    static constexpr int kCellWidth = 8;
    static constexpr int kCellHeight = 16;

    FontMetrics CreateEditorFont(const FontDescription& font) override;
    // Every byte is half a cell wide, so a double-byte character is a full cell.
    int TextWidth(std::string_view cp932) override;
    bool MeasuresOnAnyThread() const override { return true; }
    Canvas& GetCanvas() override { return canvas_; }

    void Invalidate(const Rect&, bool) override {}
    void ScrollPixels(int, int, const Rect&) override {}

    ClientSize GetClientSize() override { return size_; }
    void SetClientSize(int width, int height) { size_ = {width, height}; }
    bool HasFocus() override { return focus_; }
    void SetFocus(bool focus) { focus_ = focus; }

    void CreateCaret(int, int) override {}
    void SetCaretPos(int, int) override {}
    void ShowCaret() override {}
    void HideCaret() override {}
    void DestroyCaret() override {}

    void SetScrollRange(ScrollBarKind, int, int) override {}
    void SetScrollPos(ScrollBarKind, int) override {}
    void EnableScrollBar(ScrollBarKind, bool) override {}
    void ShowScrollBar(ScrollBarKind, bool) override {}
    int ScrollBarSize(ScrollBarKind) override { return 16; }

    void SetTimerEnabled(bool) override {}
    bool IsKeyDown(int) override { return false; }
    void SetCompositionWindow(int, int) override {}
    void ShowMessage(const std::string&) override {}

    bool GetClipboardText(std::string& text) override;
    ClipboardWrite SetClipboardText(std::string_view text) override;

    FontDescription lastFont;

protected:
    bool clipboardHasText_ = false;
    std::string clipboard_;

private:
    NullCanvas canvas_;
    ClientSize size_{640, 400};
    bool focus_ = false;
};

}  // namespace zentabo
