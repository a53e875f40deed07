#include "qt/widget/QtCanvas.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "qt/widget/LineRaster.h"
#include "qt/widget/MaskBlend.h"
#include "qt/widget/QtCellDraw.h"
#include "qt/widget/QtColor.h"

namespace zentabo {
namespace {

constexpr int kMaxPenWidth = 16;
constexpr double kMinScale = 0.25;
constexpr double kMaxScale = 16;
constexpr int64_t kMaxSlantedSteps = 1 << 16;

// Cuts the span from a towards b (b excluded) to [lo, hi), keeping its direction and
// its pixels. False when nothing of it is left.
bool ClampSpan(int& a, int& b, int lo, int hi) {
    if (a < b) {
        if (b <= lo || a >= hi) return false;
        a = std::max(a, lo);
        b = std::min(b, hi);
    } else {
        if (a < lo || b >= hi - 1) return false;
        a = std::min(a, hi);
        b = std::max(b, lo - 1);
    }
    return a != b;
}

}  // namespace

QtCanvas::QtCanvas(FontCache& fonts, QImage* image) : fonts_(fonts) {
    SetImage(image);
    SetFont(description_);
}

void QtCanvas::SetImage(QImage* image) {
    const bool usable = image && !image->isNull() &&
                        (image->format() == QImage::Format_RGB32 ||
                         image->format() == QImage::Format_ARGB32_Premultiplied ||
                         image->format() == QImage::Format_ARGB32) &&
                        image->devicePixelRatio() >= kMinScale &&
                        image->devicePixelRatio() <= kMaxScale;
    image_ = usable ? image : nullptr;
    if (!image_) return;
    scale_ = image_->devicePixelRatio();
    unitScale_ = scale_ == 1.0;
    width_ = static_cast<int>(std::ceil(image_->width() / scale_));
    height_ = static_cast<int>(std::ceil(image_->height() / scale_));
    glyphs_.SetScale(scale_);
}

int QtCanvas::Dev(int v) const {
    if (unitScale_) return v;
    // Far off the image every coordinate is as good as the image's edge.
    constexpr long kFar = 1L << 30;
    return static_cast<int>(std::clamp(std::lround(v * scale_), -kFar, kFar));
}

void QtCanvas::SetFont(const FontDescription& font) {
    description_ = font;
    font_ = &fonts_.Get(font);
    styledStyle_ = -1;
}

Rect QtCanvas::Clipped(const Rect& r) const {
    return {std::max(Dev(r.left), 0), std::max(Dev(r.top), 0),
            std::min(Dev(r.right), image_->width()), std::min(Dev(r.bottom), image_->height())};
}

void QtCanvas::FillRect(const Rect& r, TColor color) {
    if (image_) Fill(Clipped(r), ToQRgb(color));
}

// The first row is filled and copied down: a copy runs at memory speed.
void QtCanvas::Fill(const Rect& c, QRgb rgb) {
    if (c.left >= c.right || c.top >= c.bottom) return;
    uchar* bits = image_->bits();
    const qsizetype stride = image_->bytesPerLine();
    auto* first = reinterpret_cast<QRgb*>(bits + c.top * stride) + c.left;
    const std::size_t n = static_cast<std::size_t>(c.right - c.left);
    std::fill(first, first + n, rgb);
    for (int y = c.top + 1; y < c.bottom; ++y) {
        std::memcpy(reinterpret_cast<QRgb*>(bits + y * stride) + c.left, first, n * sizeof(QRgb));
    }
}

// Once per call: writing may have to detach the image from a shared copy first.
void QtCanvas::Pixels() {
    bits_ = image_->bits();
    stride_ = image_->bytesPerLine();
}

void QtCanvas::Plot(int x, int y, QRgb rgb, PenMode mode) {
    if (x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) return;
    QRgb& px = reinterpret_cast<QRgb*>(bits_ + y * stride_)[x];
    px = mode == PenMode::Xor ? px ^ (rgb & 0x00FFFFFFu) : rgb;
}

// One device-independent pixel: the block of image pixels it covers.
void QtCanvas::PlotScaled(int x, int y, QRgb rgb, PenMode mode) {
    const Rect c = Clipped({x, y, x + 1, y + 1});
    for (int py = c.top; py < c.bottom; ++py) {
        auto* line = reinterpret_cast<QRgb*>(bits_ + py * stride_);
        for (int px = c.left; px < c.right; ++px)
            line[px] = mode == PenMode::Xor ? line[px] ^ (rgb & 0x00FFFFFFu) : rgb;
    }
}

void QtCanvas::SetPixel(int x, int y, TColor color) {
    if (!image_) return;
    Pixels();
    if (unitScale_)
        Plot(x, y, ToQRgb(color), PenMode::Copy);
    else
        PlotScaled(x, y, ToQRgb(color), PenMode::Copy);
}

void QtCanvas::Line(int x1, int y1, int x2, int y2, TColor color, int width, PenMode mode) {
    if (!image_) return;
    Pixels();
    width = std::clamp(width, 1, kMaxPenWidth);
    const QRgb rgb = ToQRgb(color);
    // Axis-aligned lines (nearly all the editor draws) are cut to the image, keeping
    // their pixels and their excluded end; any other line is bounded in length, so that
    // absurd coordinates cost nothing.
    const int margin = width + 1;
    if (y1 == y2) {
        if (!ClampSpan(x1, x2, -margin, width_ + margin)) return;
    } else if (x1 == x2) {
        if (!ClampSpan(y1, y2, -margin, height_ + margin)) return;
    } else if (std::abs(int64_t{x2} - x1) > kMaxSlantedSteps ||
               std::abs(int64_t{y2} - y1) > kMaxSlantedSteps) {
        return;
    }
    if (width == 1 && unitScale_) {
        RasterLine(x1, y1, x2, y2, [&](int x, int y) { Plot(x, y, rgb, mode); });
    } else if (width == 1) {
        RasterLine(x1, y1, x2, y2, [&](int x, int y) { PlotScaled(x, y, rgb, mode); });
    } else {
        WideLine(x1, y1, x2, y2, rgb, width, mode);
    }
}

// A wide pen is a square of the pen's width moved along the 1-pixel path. The covered
// pixels are collected first so that each is XORed once and a second drawing restores.
void QtCanvas::WideLine(int x1, int y1, int x2, int y2, QRgb rgb, int width, PenMode mode) {
    const int lo = -(width - 1) / 2;
    const int hi = width / 2;
    const int left = std::max(std::min(x1, x2) + lo, 0);
    const int top = std::max(std::min(y1, y2) + lo, 0);
    const int right = std::min(std::max(x1, x2) + hi, width_ - 1);
    const int bottom = std::min(std::max(y1, y2) + hi, height_ - 1);
    if (left > right || top > bottom) return;
    const int w = right - left + 1;
    const int h = bottom - top + 1;
    mask_.assign(static_cast<std::size_t>(w) * h, 0);
    RasterLine(x1, y1, x2, y2, [&](int x, int y) {
        for (int py = std::max(y + lo, top); py <= std::min(y + hi, bottom); ++py) {
            for (int px = std::max(x + lo, left); px <= std::min(x + hi, right); ++px) {
                mask_[static_cast<std::size_t>(py - top) * w + (px - left)] = 1;
            }
        }
    });
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!mask_[static_cast<std::size_t>(y) * w + x]) continue;
            if (unitScale_)
                Plot(left + x, top + y, rgb, mode);
            else
                PlotScaled(left + x, top + y, rgb, mode);
        }
    }
}

const TextMeasurer& QtCanvas::StyledFont(int fontStyle) {
    constexpr int kShape = kStyleBold | kStyleItalic;
    const int style = (description_.style | fontStyle) & kShape;
    if (style == (description_.style & kShape)) return *font_;
    if (style != styledStyle_) {
        FontDescription styled = description_;
        styled.style = description_.style | fontStyle;
        styled_ = &fonts_.Get(styled);
        styledStyle_ = style;
    }
    return *styled_;
}

void QtCanvas::TextOut(int x, int y, const Rect& clip, std::string_view cp932, TColor textColor,
                       TColor background, bool opaque, int fontStyle) {
    if (!image_) return;
    const Rect c = Clipped(clip);
    if (c.left >= c.right || c.top >= c.bottom) return;
    if (opaque) Fill(c, ToQRgb(background));
    // The clip in the editor's pixels, for walking the cells.
    const Rect cells{std::max(clip.left, 0), std::max(clip.top, 0), std::min(clip.right, width_),
                     std::min(clip.bottom, height_)};

    const TextMeasurer& font = StyledFont(fontStyle);
    const QRgb pen = ToQRgb(textColor);
    // Non-premultiplied images take Qt's converting blend, which the masks do not copy.
    const bool cached = useGlyphCache_ && image_->format() != QImage::Format_ARGB32 &&
                        GlyphCache::Supports(font, scale_);
    int end = x;
    if (!cached ||
        !BlendText(x, y, c, cells, cp932, font, TableFor(pen, ToQRgb(background)), opaque, &end)) {
        end = PaintText(x, y, c, cells, cp932, font, pen);
    }
    if ((description_.style | fontStyle) & kStyleUnderline) {
        const int uy =
            std::min(y + font.Font().ascent + font.Font().underlinePos, y + font.CellHeight() - 1);
        // Only the visible part: x may lie far to the left of a scrolled row.
        const int ux = std::max(x, cells.left - 1);
        const int ur = std::min(end, cells.right);
        if (ur > ux) {
            const Rect u = Clipped({ux, uy, ur, uy + font.Font().underlineWidth});
            Fill({std::max(u.left, c.left), std::max(u.top, c.top), std::min(u.right, c.right),
                  std::min(u.bottom, c.bottom)},
                 pen);
        }
    }
}

const BlendTable& QtCanvas::TableFor(QRgb pen, QRgb background) {
    for (const BlendTable& t : tables_) {
        if (t.made && t.src == pen && t.background == background) return t;
    }
    BlendTable& t = tables_[nextTable_];
    nextTable_ = (nextTable_ + 1) % tables_.size();
    t.Make(pen, background);
    return t;
}

// Collects the visible cells first: a glyph the cache cannot reproduce sends the whole
// call to QPainter before anything is drawn.
bool QtCanvas::BlendText(int x, int y, const Rect& c, const Rect& cells, std::string_view cp932,
                         const TextMeasurer& font, const BlendTable& colours, bool opaque,
                         int* end) {
    glyphs_.Trim();
    cells_.clear();
    const int cell = font.CellWidth();
    int cx = x;
    const CellGlyph* g = nullptr;
    for (std::size_t i = 0; i < cp932.size() && cx < cells.right;) {
        i += font.CharAt(cp932, i, &g);
        const int next = cx + g->advance;
        if (next > cells.left && g->ch != u' ') {
            const int mask = glyphs_.Find(font, *g);
            const GlyphMask& m = glyphs_.Mask(mask);
            if (!m.exact) return false;
            // The clip was just filled, so until one glyph's ink reaches into another's
            // cell every pixel under a glyph is still the background.
            opaque = opaque && m.withinCell;
            const bool run = DrawKindOf(*g) == CellDrawKind::Run;
            cells_.push_back({mask, Dev(cx), run});
            if (g->perByte) cells_.push_back({mask, Dev(cx + cell), run});
        }
        cx = next;
    }
    // QPainter draws boxes and fallback characters as it meets them and the glyph run
    // after them all; where ink of neighbours overlaps, the order shows in the pixels.
    uchar* bits = image_->bits();
    const qsizetype stride = image_->bytesPerLine();
    const int top = Dev(y);
    for (const bool runPass : {false, true}) {
        for (const Cell& cl : cells_) {
            if (cl.run != runPass) continue;
            const GlyphMask& m = glyphs_.Mask(cl.mask);
            BlendMask(bits, stride, c, cl.x + m.left, top + m.top, glyphs_.Coverage(m), m.width,
                      m.height, colours, opaque);
        }
    }
    *end = cx;
    return true;
}

int QtCanvas::PaintText(int x, int y, const Rect& c, const Rect& cells, std::string_view cp932,
                        const TextMeasurer& font, QRgb pen) {
    // A scaled image is painted through an unscaled view of its pixels, so that every
    // glyph lands on the image pixel the glyph cache would put it on.
    QImage view;
    if (!unitScale_) {
        view = QImage(image_->bits(), image_->width(), image_->height(), image_->bytesPerLine(),
                      image_->format());
    }
    QPainter p(unitScale_ ? image_ : &view);
    p.setClipRect(QRect(c.left, c.top, c.right - c.left, c.bottom - c.top));
    p.setPen(QColor::fromRgb(pen));
    const DeviceFace& face = font.Face(scale_);
    const int top = Dev(y);
    const int baseline = top + face.ascent;
    const int cell = font.CellWidth();
    runGlyphs_.clear();
    runPositions_.clear();
    int cx = x;
    const CellGlyph* g = nullptr;
    for (std::size_t i = 0; i < cp932.size() && cx < cells.right;) {
        i += font.CharAt(cp932, i, &g);
        const int next = cx + g->advance;
        if (next > cells.left && g->ch != u' ') {
            for (int k = 0, parts = g->perByte ? 2 : 1; k < parts; ++k) {
                const int gx = Dev(cx + k * cell);
                if (DrawKindOf(*g) == CellDrawKind::Run) {
                    runGlyphs_.append(g->index);
                    runPositions_.append(QPointF(gx, baseline));
                } else {
                    DrawSingleCell(p, font, face, *g, gx, top);
                }
            }
        }
        cx = next;
    }
    DrawGlyphRun(p, face, runGlyphs_, runPositions_);
    return cx;
}

}  // namespace zentabo
