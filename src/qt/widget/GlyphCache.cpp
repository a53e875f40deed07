#include "qt/widget/GlyphCache.h"

#include <QColor>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "platform/Canvas.h"
#include "qt/widget/MaskBlend.h"
#include "qt/widget/QtCellDraw.h"

namespace zentabo {
namespace {

// Qt caches and blends glyphs below 64 pixels; larger ones it fills as outlines.
constexpr int kMaxCachedHeight = 48;

constexpr QRgb kWhite = 0xFFFFFFFFu;
constexpr QRgb kBlack = 0xFF000000u;

// Colour pairs with every channel between the extremes: a blend that is not the
// plain integer mix (gamma-corrected text, say) cannot match them by chance.
struct CheckColours {
    QRgb pen;
    QRgb background;
};
constexpr CheckColours kChecks[] = {{0xFFE06A21u, 0xFF1F5A9Cu}, {0xFF203040u, 0xFFF0E8D0u}};

}  // namespace

GlyphCache::GlyphCache(std::size_t maxGlyphs, std::size_t maxBytes)
    : maxGlyphs_(maxGlyphs), maxBytes_(maxBytes) {}
GlyphCache::~GlyphCache() = default;

bool GlyphCache::Supports(const TextMeasurer& font, double scale) {
    return font.Face(scale).cellHeight <= kMaxCachedHeight;
}

void GlyphCache::SetScale(double scale) {
    if (scale == scale_) return;
    scale_ = scale;
    Clear();
}

void GlyphCache::Trim() {
    if (masks_.size() <= maxGlyphs_ && coverage_.size() <= maxBytes_) return;
    Clear();
}

void GlyphCache::Clear() {
    tables_.clear();
    lastTable_ = 0;
    masks_.clear();
    coverage_.clear();
}

GlyphCache::FontTable& GlyphCache::TableFor(const TextMeasurer& font) {
    if (lastTable_ < tables_.size() && tables_[lastTable_]->font == &font) {
        return *tables_[lastTable_];
    }
    for (std::size_t i = 0; i < tables_.size(); ++i) {
        if (tables_[i]->font == &font) {
            lastTable_ = i;
            return *tables_[i];
        }
    }
    tables_.push_back(std::make_unique<FontTable>());
    tables_.back()->font = &font;
    lastTable_ = tables_.size() - 1;
    return *tables_.back();
}

int GlyphCache::Find(const TextMeasurer& font, const CellGlyph& g) {
    FontTable& table = TableFor(font);
    std::unique_ptr<Page>& page = table.pages[g.ch >> 8];
    if (!page) {
        page = std::make_unique<Page>();
        page->fill(0);
    }
    int32_t& slot = (*page)[g.ch & 0xFF];
    if (slot == 0) {
        masks_.push_back(Record(font, g));
        slot = static_cast<int32_t>(masks_.size());
    }
    return slot - 1;
}

// The cell sits at (margin_, margin_) of an image wide enough for glyphs that reach
// well into their neighbours' cells.
void GlyphCache::PaintCell(QImage& target, const TextMeasurer& font, const CellGlyph& g, QRgb pen) {
    const DeviceFace& face = font.Face(scale_);
    QPainter p(&target);
    p.setPen(QColor::fromRgb(pen));
    if (DrawKindOf(g) == CellDrawKind::Run) {
        const QList<quint32> glyphs{g.index};
        const QList<QPointF> positions{QPointF(margin_, margin_ + face.ascent)};
        DrawGlyphRun(p, face, glyphs, positions);
    } else {
        DrawSingleCell(p, font, face, g, margin_, margin_);
    }
}

GlyphMask GlyphCache::Record(const TextMeasurer& font, const CellGlyph& g) {
    const int cellWidth = static_cast<int>(std::ceil(font.CellWidth() * scale_));
    margin_ = font.Face(scale_).cellHeight;
    const QSize size(2 * margin_ + 2 * cellWidth, 2 * margin_ + margin_);
    if (scratch_.size() != size) scratch_ = QImage(size, QImage::Format_RGB32);
    scratch_.fill(kWhite);
    PaintCell(scratch_, font, g, kBlack);

    // Black on white leaves each pixel at white less the coverage, in every channel.
    int left = size.width(), top = size.height(), right = -1, bottom = -1;
    bool grey = true;
    for (int y = 0; y < size.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(scratch_.constScanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            const QRgb px = line[x];
            if (px == kWhite) continue;
            grey = grey && qRed(px) == qBlue(px) && qGreen(px) == qBlue(px);
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = std::max(bottom, y);
        }
    }
    GlyphMask m;
    m.offset = coverage_.size();
    if (right >= 0) {
        m.left = left - margin_;
        m.top = top - margin_;
        m.width = right - left + 1;
        m.height = bottom - top + 1;
        for (int y = top; y <= bottom; ++y) {
            const auto* line = reinterpret_cast<const QRgb*>(scratch_.constScanLine(y));
            for (int x = left; x <= right; ++x) coverage_.push_back(255 - qBlue(line[x]));
        }
    }
    // Ink on the image's edge may have been cut off; coloured ink is not a coverage.
    const bool inside = right < 0 || (left > 0 && top > 0 && right < size.width() - 1 &&
                                      bottom < size.height() - 1);
    m.exact = grey && inside && Reproduces(font, g, m);
    // The narrowest the glyph's cells come out in device pixels, wherever they stand.
    const int cells = static_cast<int>((g.perByte ? font.CellWidth() : g.advance) * scale_);
    m.withinCell = m.width == 0 || (m.left >= 0 && m.left + m.width <= cells);
    return m;
}

bool GlyphCache::Reproduces(const TextMeasurer& font, const CellGlyph& g, const GlyphMask& m) {
    const Rect all{0, 0, scratch_.width(), scratch_.height()};
    for (const CheckColours& c : kChecks) {
        if (check_.size() != scratch_.size()) {
            check_ = QImage(scratch_.size(), QImage::Format_RGB32);
        }
        check_.fill(c.background);
        PaintCell(check_, font, g, c.pen);
        scratch_.fill(c.background);
        // A table for another background: every pixel goes through the arithmetic.
        BlendTable plain;
        plain.Make(c.pen, ~c.background);
        BlendMask(scratch_.bits(), scratch_.bytesPerLine(), all, margin_ + m.left, margin_ + m.top,
                  Coverage(m), m.width, m.height, plain);
        if (scratch_ != check_) return false;
    }
    return true;
}

}  // namespace zentabo
