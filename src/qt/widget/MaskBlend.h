#pragma once

// Blends an 8-bit coverage mask in one colour into 32-bit scan lines with the same
// integer arithmetic as Qt's raster engine uses for grey-antialiased text, so that the
// result matches QPainter's to the bit. The glyph cache checks that match for every
// glyph it records before the canvas relies on it.

#include <QRgb>
#include <QtGlobal>
#include <algorithm>
#include <array>
#include <cstdint>

#include "platform/Canvas.h"

namespace zentabo {

// Each of the four channels of x times a / 255, rounded, two channels per multiply.
constexpr uint32_t ByteMul(uint32_t x, uint32_t a) {
    uint32_t t = (x & 0xFF00FFu) * a;
    t = ((t + ((t >> 8) & 0xFF00FFu) + 0x800080u) >> 8) & 0xFF00FFu;
    uint32_t u = ((x >> 8) & 0xFF00FFu) * a;
    u = (u + ((u >> 8) & 0xFF00FFu) + 0x800080u) & 0xFF00FF00u;
    return u | t;
}

// The opaque colour src over dst at the given coverage.
constexpr uint32_t BlendCoverage(uint32_t dst, uint32_t src, uint32_t coverage) {
    if (coverage == 0) return dst;
    if (coverage == 255) return src;
    const uint32_t s = ByteMul(src, coverage);
    return s + ByteMul(dst, 255u - (s >> 24));
}

// The results of one text colour over one background at every coverage: text is mostly
// drawn over the fill of its own call, where a look-up replaces the arithmetic.
struct BlendTable {
    uint32_t src = 0;
    uint32_t background = 0;
    bool made = false;
    std::array<uint32_t, 256> out{};

    void Make(uint32_t text, uint32_t bg) {
        made = true;
        src = text;
        background = bg;
        for (uint32_t c = 0; c < 256; ++c) out[c] = BlendCoverage(bg, text, c);
    }
};

// The mask's top-left lands at (x, y) of the image whose first scan line is bits; only
// pixels inside clip (already within the image) change. plain promises that every
// pixel there is the table's background.
inline void BlendMask(uchar* bits, qsizetype stride, const Rect& clip, int x, int y,
                      const unsigned char* mask, int width, int height, const BlendTable& t,
                      bool plain = false) {
    const int left = std::max(x, clip.left);
    const int right = std::min(x + width, clip.right);
    const int top = std::max(y, clip.top);
    const int bottom = std::min(y + height, clip.bottom);
    if (left >= right || top >= bottom) return;
    const uint32_t src = t.src;
    const uint32_t bg = t.background;
    const int n = right - left;
    for (int row = top; row < bottom; ++row) {
        const unsigned char* cov = mask + static_cast<std::ptrdiff_t>(row - y) * width + (left - x);
        auto* px = reinterpret_cast<uint32_t*>(bits + row * stride) + left;
        // Over plain background a row is one look-up per pixel (coverage 0 gives the
        // background back), with no branch to mispredict.
        bool plainRow = plain;
        if (!plainRow) {
            plainRow = true;
            for (int i = 0; i < n; ++i) plainRow &= px[i] == bg;
        }
        if (plainRow) {
            for (int i = 0; i < n; ++i) px[i] = t.out[cov[i]];
            continue;
        }
        for (int i = 0; i < n; ++i) {
            const uint32_t c = cov[i];
            if (c == 0) continue;
            const uint32_t p = px[i];
            px[i] = p == bg ? t.out[c] : BlendCoverage(p, src, c);
        }
    }
}

}  // namespace zentabo
