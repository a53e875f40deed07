#pragma once

// The editor's Canvas on the widget's backing image. Fills, lines and pixels write the
// image's pixels directly (exact, and XOR really XORs). Text is blended into the image
// from the glyph cache, each character placed at the x of its cell as the measurer
// computes it; QPainter draws it instead wherever the cache cannot promise its pixels.

#include <QImage>
#include <QList>
#include <QPointF>
#include <array>
#include <vector>

#include "platform/Canvas.h"
#include "qt/widget/FontCache.h"
#include "qt/widget/GlyphCache.h"
#include "qt/widget/MaskBlend.h"

namespace zentabo {

class QtCanvas : public Canvas {
public:
    // The image must be 32-bit (RGB32 or ARGB32 premultiplied); the widget hands in a new
    // one after every resize. The editor's geometry is in device-independent pixels: at a
    // device pixel ratio above 1 a pixel covers the image pixels from round(v * ratio) to
    // round((v + 1) * ratio), so that neighbouring fills meet without gaps and XOR still
    // touches each image pixel once, and text is made at the image's own resolution.
    // Without a usable image every call does nothing.
    explicit QtCanvas(FontCache& fonts, QImage* image = nullptr);

    void SetImage(QImage* image);
    const TextMeasurer& CurrentFont() const { return *font_; }

    // Off, all text goes through QPainter: the reference the cached drawing must equal.
    void SetGlyphCacheEnabled(bool on) { useGlyphCache_ = on; }
    const GlyphCache& Glyphs() const { return glyphs_; }

    void SetFont(const FontDescription& font) override;
    void FillRect(const Rect& r, TColor color) override;
    void TextOut(int x, int y, const Rect& clip, std::string_view cp932, TColor textColor,
                 TColor background, bool opaque, int fontStyle = kStyleNone) override;
    void Line(int x1, int y1, int x2, int y2, TColor color, int width = 1,
              PenMode mode = PenMode::Copy) override;
    void SetPixel(int x, int y, TColor color) override;

private:
    struct Cell {
        int mask;
        int x;
        bool run;
    };

    const TextMeasurer& StyledFont(int fontStyle);
    const BlendTable& TableFor(QRgb pen, QRgb background);
    // c: the clip in image pixels; cells: the clip in the editor's pixels.
    bool BlendText(int x, int y, const Rect& c, const Rect& cells, std::string_view cp932,
                   const TextMeasurer& font, const BlendTable& colours, bool opaque, int* end);
    int PaintText(int x, int y, const Rect& c, const Rect& cells, std::string_view cp932,
                  const TextMeasurer& font, QRgb pen);
    void Fill(const Rect& clipped, QRgb rgb);
    void Pixels();
    void Plot(int x, int y, QRgb rgb, PenMode mode);
    void WideLine(int x1, int y1, int x2, int y2, QRgb rgb, int width, PenMode mode);
    // Image pixels of the rectangle, cut to the image.
    Rect Clipped(const Rect& r) const;
    int Dev(int v) const;
    void PlotScaled(int x, int y, QRgb rgb, PenMode mode);

    FontCache& fonts_;
    QImage* image_ = nullptr;
    double scale_ = 1;
    bool unitScale_ = true;
    int width_ = 0;  // of the image in device-independent pixels, rounded up
    int height_ = 0;
    uchar* bits_ = nullptr;  // of image_, taken by Pixels() at the start of a call
    qsizetype stride_ = 0;
    FontDescription description_;
    const TextMeasurer* font_ = nullptr;
    // The last bold or italic variant asked for, so the URL runs need no lookup.
    int styledStyle_ = -1;
    const TextMeasurer* styled_ = nullptr;
    GlyphCache glyphs_;
    bool useGlyphCache_ = true;
    // The editor draws with a handful of colour pairs; a few tables hold them all.
    std::array<BlendTable, 6> tables_;
    std::size_t nextTable_ = 0;
    // Reused between calls so drawing a row does not allocate.
    std::vector<Cell> cells_;
    QList<quint32> runGlyphs_;
    QList<QPointF> runPositions_;
    std::vector<unsigned char> mask_;
};

}  // namespace zentabo
