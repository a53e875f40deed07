#pragma once

// Widths of code page 932 byte strings in one resolved font, from cached per-character
// advances: a table for the 256 single bytes, filled at once, and pages of double-byte
// codes filled the first time a lead byte is seen. The same cache tells the canvas which
// glyph to draw in each cell, so measured and drawn columns cannot disagree.

#include <QRawFont>
#include <array>
#include <cstdint>
#include <memory>
#include <string_view>

#include "qt/widget/EditorFont.h"

namespace zentabo {

struct CellGlyph {
    char16_t ch = 0;       // what is drawn; U+FFFD for bytes that do not decode
    uint16_t advance = 0;  // pixels: one cell per byte
    uint32_t index = 0;    // glyph in the raw font, 0 when the face lacks it
    bool perByte = false;  // undecodable pair: one replacement glyph per byte
    bool filled = false;
};

// The font as drawn into an image of a device pixel ratio: measuring stays in
// device-independent pixels, the glyphs are made at the image's own resolution.
struct DeviceFace {
    double scale = 1;
    QRawFont raw;
    QFont font;          // for the characters Qt finds in another face
    int ascent = 0;      // device pixels from the top of the cell to the baseline
    int cellHeight = 0;  // device pixels
};

class TextMeasurer {
public:
    explicit TextMeasurer(const ResolvedFont& font);

    const ResolvedFont& Font() const { return font_; }
    const QRawFont& RawFont() const { return raw_; }
    int CellWidth() const { return font_.metrics.tmAveCharWidth; }
    int CellHeight() const { return font_.metrics.tmHeight; }

    // At scale 1 the measurer's own font; one other scale is kept at a time.
    const DeviceFace& Face(double scale) const;

    // Pixel width of the bytes: the sum of their advances, one cell per byte.
    int Width(std::string_view cp932) const;

    // The character starting at pos: its byte length (1 or 2) and glyph. A lead byte
    // without a valid trail byte is a character of its own.
    int CharAt(std::string_view cp932, std::size_t pos, const CellGlyph** glyph) const;

    static bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

private:
    using Page = std::array<CellGlyph, 256>;

    const CellGlyph& DoubleByte(unsigned char lead, unsigned char trail) const;
    CellGlyph MakeGlyph(std::string_view bytes) const;

    ResolvedFont font_;
    QRawFont raw_;
    DeviceFace unit_;
    mutable DeviceFace scaled_;
    std::array<CellGlyph, 256> single_;
    mutable std::array<std::unique_ptr<Page>, 256> pages_;  // by lead byte
};

}  // namespace zentabo
