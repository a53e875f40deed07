#pragma once

// What the editor draws with. Coordinates are client pixels; the text handed to
// TextOut is code page 932 bytes with tabs already expanded.

#include <cstdint>
#include <string_view>

#include "platform/FontTypes.h"

namespace zentabo {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

enum class PenMode { Copy, Xor };

class Canvas {
public:
    virtual ~Canvas() = default;

    // Selects the font later text calls use (the editor font, or the small ruler font).
    virtual void SetFont(const FontDescription& font) = 0;

    virtual void FillRect(const Rect& r, TColor color) = 0;

    // Draws text with the top-left of its first cell at (x, y), clipped to clip. With
    // opaque set, clip is filled with background first. fontStyle adds bold, italic or
    // underline to the selected font for this call only (the URL and tag runs).
    virtual void TextOut(int x, int y, const Rect& clip, std::string_view cp932, TColor textColor,
                         TColor background, bool opaque, int fontStyle = kStyleNone) = 0;

    // A line from (x1, y1) to (x2, y2), the last point excluded, as the platform's
    // move-to/line-to pair draws it. In Xor mode each pixel is XORed with color.
    virtual void Line(int x1, int y1, int x2, int y2, TColor color, int width = 1,
                      PenMode mode = PenMode::Copy) = 0;

    virtual void SetPixel(int x, int y, TColor color) = 0;
};

}  // namespace zentabo
