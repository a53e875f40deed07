#pragma once

// Coverage masks of the glyphs the canvas draws, one per font and character, each made
// once by letting QPainter draw the cell on a blank image, in the device pixels of the
// image the canvas draws into. Blending a mask into the
// image then gives QPainter's own pixels without a painter per call. Memory is bounded:
// past a cap on glyphs or bytes the cache starts afresh.

#include <QImage>
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "qt/widget/TextMeasurer.h"

namespace zentabo {

struct GlyphMask {
    int left = 0;  // device pixels from the left edge of the cell
    int top = 0;   // device pixels from the top edge of the cell
    int width = 0;
    int height = 0;
    std::size_t offset = 0;   // of the first coverage byte in the cache
    bool exact = false;       // blending the mask was checked to give QPainter's pixels
    bool withinCell = false;  // no ink outside the glyph's own cells
};

class GlyphCache {
public:
    static constexpr std::size_t kMaxGlyphs = 8192;
    static constexpr std::size_t kMaxBytes = std::size_t{8} << 20;

    explicit GlyphCache(std::size_t maxGlyphs = kMaxGlyphs, std::size_t maxBytes = kMaxBytes);
    ~GlyphCache();

    // Qt fills the outlines of large glyphs as paths instead of blending cached ones.
    static bool Supports(const TextMeasurer& font, double scale);

    // The device pixel ratio the masks are made for; a new one starts afresh.
    void SetScale(double scale);
    double Scale() const { return scale_; }

    // Starts afresh when over the cap. Called only between draw calls, so the indices
    // one call collects stay valid while it draws.
    void Trim();

    // The mask of g in font, made on first use.
    int Find(const TextMeasurer& font, const CellGlyph& g);
    const GlyphMask& Mask(int index) const { return masks_[static_cast<std::size_t>(index)]; }
    const unsigned char* Coverage(const GlyphMask& m) const { return coverage_.data() + m.offset; }

    std::size_t GlyphCount() const { return masks_.size(); }
    std::size_t ByteCount() const { return coverage_.size(); }

private:
    using Page = std::array<int32_t, 256>;  // mask index + 1 by low byte of the character
    struct FontTable {
        const TextMeasurer* font;
        std::array<std::unique_ptr<Page>, 256> pages;  // by high byte
    };

    FontTable& TableFor(const TextMeasurer& font);
    GlyphMask Record(const TextMeasurer& font, const CellGlyph& g);
    bool Reproduces(const TextMeasurer& font, const CellGlyph& g, const GlyphMask& m);
    void PaintCell(QImage& target, const TextMeasurer& font, const CellGlyph& g, QRgb pen);
    void Clear();

    double scale_ = 1;
    std::size_t maxGlyphs_;
    std::size_t maxBytes_;
    std::vector<std::unique_ptr<FontTable>> tables_;
    std::size_t lastTable_ = 0;
    std::vector<GlyphMask> masks_;
    std::vector<unsigned char> coverage_;
    QImage scratch_;
    QImage check_;
    int margin_ = 0;
};

}  // namespace zentabo
