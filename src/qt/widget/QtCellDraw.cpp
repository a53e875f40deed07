#include "qt/widget/QtCellDraw.h"

#include <QGlyphRun>
#include <QRect>
#include <QString>
#include <algorithm>
#include <cmath>

namespace zentabo {
namespace {

constexpr char16_t kReplacement = 0xFFFD;

}  // namespace

CellDrawKind DrawKindOf(const CellGlyph& g) {
    if (g.ch == kReplacement) return CellDrawKind::Box;
    return g.index != 0 ? CellDrawKind::Run : CellDrawKind::Fallback;
}

void DrawSingleCell(QPainter& p, const TextMeasurer& font, const DeviceFace& face,
                    const CellGlyph& g, int x, int y) {
    const int baseline = y + face.ascent;
    if (DrawKindOf(g) == CellDrawKind::Box) {
        // No face's replacement glyph is guaranteed to fit the cell.
        auto scaled = [&](int v) { return static_cast<int>(std::lround(v * face.scale)); };
        const int boxTop = y + scaled(std::max(1, font.CellHeight() / 4));
        p.drawRect(QRect(x + scaled(1), boxTop, std::max(1, scaled(font.CellWidth() - 3)),
                         std::max(1, baseline - boxTop - scaled(1))));
    } else {
        p.setFont(face.font);
        p.drawText(QPointF(x, baseline), QString(QChar(g.ch)));
    }
}

void DrawGlyphRun(QPainter& p, const DeviceFace& face, const QList<quint32>& glyphs,
                  const QList<QPointF>& positions) {
    if (glyphs.isEmpty()) return;
    QGlyphRun run;
    run.setRawFont(face.raw);
    run.setGlyphIndexes(glyphs);
    run.setPositions(positions);
    p.drawGlyphRun(QPointF(0, 0), run);
}

}  // namespace zentabo
