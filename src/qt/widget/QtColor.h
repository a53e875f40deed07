#pragma once

// The editor's colours are 0x00BBGGRR (red in the low byte); Qt's QRgb is 0xAARRGGBB.

#include <QRgb>

#include "platform/FontTypes.h"

namespace zentabo {

// A stored system-colour code drawn in its palette colour (SystemColors.h).
QRgb SystemCodeRgb(TColor code);

inline QRgb ToQRgb(TColor c) {
    if (c & 0xFF000000u) return SystemCodeRgb(c);
    return 0xFF000000u | ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

constexpr TColor FromQRgb(QRgb c) {
    return ((c >> 16) & 0xFFu) | (c & 0xFF00u) | ((c & 0xFFu) << 16);
}

}  // namespace zentabo
