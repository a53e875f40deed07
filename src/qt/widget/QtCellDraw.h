#pragma once

// How QPainter draws the glyph of one cell. The canvas's painter path and the glyph
// cache, which records what these calls leave on a blank image, share them so that the
// cached pixels cannot drift from the painted ones.

#include <QList>
#include <QPainter>
#include <QPointF>

#include "qt/widget/TextMeasurer.h"

namespace zentabo {

// What a cell's glyph is drawn as.
enum class CellDrawKind {
    Run,       // the face's own glyph, drawn with the row's glyph run
    Fallback,  // a character the face lacks: Qt finds it in another face
    Box,       // bytes that do not decode: a hollow box drawn by hand
};

CellDrawKind DrawKindOf(const CellGlyph& g);

// Draws a Fallback or Box cell at once, the cell's top-left at (x, y), in the pen's colour.
// Coordinates are the device pixels of the painter's image, the face at its scale.
void DrawSingleCell(QPainter& p, const TextMeasurer& font, const DeviceFace& face,
                    const CellGlyph& g, int x, int y);

// Draws the collected Run glyphs in one call, each position on its baseline.
void DrawGlyphRun(QPainter& p, const DeviceFace& face, const QList<quint32>& glyphs,
                  const QList<QPointF>& positions);

}  // namespace zentabo
