#include "platform/qt/QtCanvas.h"

#include <QPainter>
#include <QString>
#include <algorithm>

#include "platform/qt/LineRaster.h"
#include "platform/qt/QtColor.h"

namespace zentabo {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

QtCanvas::QtCanvas(FontCache& fonts, QImage* image) : fonts_(fonts) {
    SetImage(image);
    SetFont(description_);
}

void QtCanvas::SetImage(QImage* image) {
    const bool usable = image && !image->isNull() &&
                        (image->format() == QImage::Format_RGB32 ||
                         image->format() == QImage::Format_ARGB32_Premultiplied ||
                         image->format() == QImage::Format_ARGB32);
    image_ = usable ? image : nullptr;
}

void QtCanvas::SetFont(const FontDescription& font) {
    description_ = font;
    font_ = &fonts_.Get(font);
}

Rect QtCanvas::Clipped(const Rect& r) const {
    return {std::max(r.left, 0), std::max(r.top, 0), std::min(r.right, image_->width()),
            std::min(r.bottom, image_->height())};
}

void QtCanvas::FillRect(const Rect& r, TColor color) {
    if (!image_) return;
    const Rect c = Clipped(r);
    const QRgb rgb = ToQRgb(color);
    for (int y = c.top; y < c.bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image_->scanLine(y));
        std::fill(line + c.left, line + std::max(c.left, c.right), rgb);
    }
}

void QtCanvas::Plot(int x, int y, QRgb rgb, PenMode mode) {
    if (x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) return;
    QRgb& px = reinterpret_cast<QRgb*>(image_->scanLine(y))[x];
    px = mode == PenMode::Xor ? px ^ (rgb & 0x00FFFFFFu) : rgb;
}

void QtCanvas::SetPixel(int x, int y, TColor color) {
    if (image_) Plot(x, y, ToQRgb(color), PenMode::Copy);
}

void QtCanvas::Line(int x1, int y1, int x2, int y2, TColor color, int width, PenMode mode) {
    if (!image_) return;
    const QRgb rgb = ToQRgb(color);
    if (width <= 1) {
        RasterLine(x1, y1, x2, y2, [&](int x, int y) { Plot(x, y, rgb, mode); });
    } else {
        WideLine(x1, y1, x2, y2, rgb, width, mode);
    }
}

// A wide pen is a square of the pen's width moved along the 1-pixel path. The covered
// pixels are collected first so that each is XORed once and a second drawing restores.
void QtCanvas::WideLine(int x1, int y1, int x2, int y2, QRgb rgb, int width, PenMode mode) {
    const int lo = -(width - 1) / 2;
    const int hi = width / 2;
    const int left = std::min(x1, x2) + lo;
    const int top = std::min(y1, y2) + lo;
    const int w = std::abs(x2 - x1) + width;
    const int h = std::abs(y2 - y1) + width;
    mask_.assign(static_cast<std::size_t>(w) * h, 0);
    RasterLine(x1, y1, x2, y2, [&](int x, int y) {
        for (int dy = lo; dy <= hi; ++dy) {
            for (int dx = lo; dx <= hi; ++dx) {
                mask_[static_cast<std::size_t>(y + dy - top) * w + (x + dx - left)] = 1;
            }
        }
    });
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (mask_[static_cast<std::size_t>(y) * w + x]) Plot(left + x, top + y, rgb, mode);
        }
    }
}

void QtCanvas::TextOut(int x, int y, const Rect& clip, std::string_view cp932, TColor textColor,
                       TColor background, bool opaque, int fontStyle) {
    if (!image_) return;
    const Rect c = Clipped(clip);
    if (c.left >= c.right || c.top >= c.bottom) return;
    if (opaque) FillRect(c, background);

    FontDescription styled = description_;
    styled.style = description_.style | fontStyle;
    const TextMeasurer& font = fonts_.Get(styled);
    font_ = &fonts_.Get(description_);  // the lookup above moved the cache's last hit

    QPainter p(image_);
    p.setClipRect(QRect(c.left, c.top, c.right - c.left, c.bottom - c.top));
    p.setPen(QColor::fromRgb(ToQRgb(textColor)));
    const QRgb pen = ToQRgb(textColor);
    const int baseline = y + font.Font().ascent;
    const int cell = font.CellWidth();

    glyphs_.clear();
    positions_.clear();
    auto drawSingle = [&](char16_t ch, int cx) {
        // The face lacks this glyph: let Qt find one in another face.
        p.setFont(font.Font().font);
        p.drawText(QPointF(cx, baseline), QString(QChar(ch)));
    };
    // Bytes that do not decode get a hollow box of one cell each, drawn by hand: no
    // face's replacement glyph is guaranteed to fit the cell.
    const int boxTop = y + std::max(1, font.CellHeight() / 4);
    const QRect box(0, boxTop, std::max(1, cell - 3), std::max(1, baseline - boxTop - 1));
    auto drawBox = [&](int cx) { p.drawRect(box.translated(cx + 1, 0)); };
    int cx = x;
    const CellGlyph* g = nullptr;
    for (std::size_t i = 0; i < cp932.size() && cx < c.right;) {
        i += font.CharAt(cp932, i, &g);
        const int next = cx + g->advance;
        if (next > c.left && g->ch != u' ') {
            const int parts = g->perByte ? 2 : 1;
            for (int k = 0; k < parts; ++k) {
                const int gx = cx + k * cell;
                if (g->ch == kReplacement) {
                    drawBox(gx);
                } else if (g->index != 0) {
                    glyphs_.append(g->index);
                    positions_.append(QPointF(gx, baseline));
                } else {
                    drawSingle(g->ch, gx);
                }
            }
        }
        cx = next;
    }
    if (!glyphs_.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(font.RawFont());
        run.setGlyphIndexes(glyphs_);
        run.setPositions(positions_);
        p.drawGlyphRun(QPointF(0, 0), run);
    }
    if (styled.style & kStyleUnderline) {
        const QFontMetrics m(font.Font().font);
        const int uy =
            std::min(baseline + std::max(1, m.underlinePos()), y + font.CellHeight() - 1);
        p.fillRect(QRect(x, uy, cx - x, std::max(1, m.lineWidth())), QColor::fromRgb(pen));
    }
}

}  // namespace zentabo
