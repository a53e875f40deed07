#pragma once

// The editor's Canvas on the widget's backing image. Fills, lines and pixels write the
// image's pixels directly (exact, and XOR really XORs); text goes through QPainter,
// each character placed at the x of its cell as the measurer computes it.

#include <QGlyphRun>
#include <QImage>
#include <QList>
#include <QPointF>
#include <vector>

#include "platform/Canvas.h"
#include "platform/qt/FontCache.h"

namespace zentabo {

class QtCanvas : public Canvas {
public:
    // The image must be 32-bit (RGB32 or ARGB32 premultiplied); the widget hands in a new
    // one after every resize. Without an image every call does nothing.
    explicit QtCanvas(FontCache& fonts, QImage* image = nullptr);

    void SetImage(QImage* image);
    const TextMeasurer& CurrentFont() const { return *font_; }

    void SetFont(const FontDescription& font) override;
    void FillRect(const Rect& r, TColor color) override;
    void TextOut(int x, int y, const Rect& clip, std::string_view cp932, TColor textColor,
                 TColor background, bool opaque, int fontStyle = kStyleNone) override;
    void Line(int x1, int y1, int x2, int y2, TColor color, int width = 1,
              PenMode mode = PenMode::Copy) override;
    void SetPixel(int x, int y, TColor color) override;

private:
    void Plot(int x, int y, QRgb rgb, PenMode mode);
    void WideLine(int x1, int y1, int x2, int y2, QRgb rgb, int width, PenMode mode);
    Rect Clipped(const Rect& r) const;

    FontCache& fonts_;
    QImage* image_ = nullptr;
    FontDescription description_;
    const TextMeasurer* font_ = nullptr;
    // Reused between calls so drawing a row does not allocate.
    QList<quint32> glyphs_;
    QList<QPointF> positions_;
    std::vector<unsigned char> mask_;
};

}  // namespace zentabo
