#pragma once

// Turns the editor's font description into a real Qt font on the cell grid the
// byte-column geometry needs: a single-byte character takes one cell, a double-byte
// character exactly two.

#include <QFont>
#include <QString>

#include "platform/FontTypes.h"

namespace zentabo {

struct ResolvedFont {
    QFont font;
    FontMetrics metrics;     // tmHeight = cell height, tmAveCharWidth = single-byte cell
    int ascent = 0;          // baseline offset from the top of the cell
    int underlinePos = 1;    // below the baseline
    int underlineWidth = 1;  // line thickness
    bool fellBack = false;
};

// The face used when the asked-for one cannot hold the grid: the first installed
// fixed-pitch Japanese face.
QString FallbackFixedFace();

// Installed and fixed-pitch by measurement (Qt's own flag calls dual-width Japanese
// faces proportional).
bool IsUsableFixedFace(const QString& family);

ResolvedFont ResolveFont(const FontDescription& description);

// The small fixed font the ruler writes its column numbers in.
FontDescription RulerFontDescription();

}  // namespace zentabo
