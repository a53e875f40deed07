#pragma once

// Qt key events in the terms the editor's key table uses: the platform's virtual-key
// codes with the shift, ctrl and alt state, and typed text as code page 932 bytes.

#include <QString>
#include <string>
#include <vector>

#include "platform/VirtualKeys.h"
#include "store/Cp932Codec.h"

class QKeyEvent;

namespace zentabo {

struct VirtualKeyPress {
    int key = 0;  // virtual-key code, 0 for keys the editor has no code for
    bool shift = false;
    bool ctrl = false;
    bool alt = false;
};

// The virtual-key code of a Qt key; keypad says whether it came from the number pad.
int VirtualKeyOf(int qtKey, bool keypad = false);

VirtualKeyPress MapKeyEvent(const QKeyEvent& event);

struct TypedText {
    std::string bytes;                       // what goes to the editor as typed
    std::vector<UnmappableChar> unmappable;  // left out: code page 932 has no code for them
};

// Typed or committed text (UTF-16) as code page 932. Control characters are left out:
// Enter, Tab, Backspace and Esc reach the editor as keys, not as text.
TypedText EncodeTypedText(const QString& text);

// The text a key press types; none while Ctrl is held without Alt (those are commands).
TypedText TypedTextOf(const QKeyEvent& event);

}  // namespace zentabo
