#pragma once

// Stored colours may name a system colour instead of a value: 0x80000000 plus the
// index of the Windows system colour, so settings files keep their meaning. Here such
// a code takes its value from the application's palette when it is drawn.

#include <QColor>
#include <QString>
#include <span>

#include "platform/FontTypes.h"

namespace zentabo {

constexpr TColor kSystemColorFlag = 0x80000000u;

struct SystemColor {
    int index;         // the Windows system-colour index
    const char* name;  // readable, UTF-8
};

// Every system colour that can be stored, in index order.
std::span<const SystemColor> SystemColors();

bool IsSystemColorCode(TColor value);
// A direct colour (high byte 0) or a known system code.
bool IsValidColor(TColor value);
// What a stored value means on screen: a system code through the palette, a direct
// colour as it is, anything else by its low three bytes, as it was always drawn.
QColor ResolveColor(TColor value);

}  // namespace zentabo
